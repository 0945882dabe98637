#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;

namespace kavo {

class TFactor;

// "Similar factors": asks whether every occurrence of one factor is to become an occurrence of
// another, and whether the signs of the prospects, goals and links that move along change. The
// caller merges the factors.
class TSimFactorDlg : public QDialog {
    Q_OBJECT

  public:
    explicit TSimFactorDlg(QWidget* parent = nullptr);

    // Shows the two factors with the sign box cleared; true after OK.
    bool Ask(const TFactor& from, const TFactor& into);
    bool Invert() const;

    QLabel* FromLabel() const { return FromFLbl; }
    QLabel* ToLabel() const { return ToFLbl; }
    QCheckBox* InvertBox() const { return Signs; }

  private:
    QLabel* FromFLbl;
    QLabel* ToFLbl;
    QCheckBox* Signs;
};

}  // namespace kavo
