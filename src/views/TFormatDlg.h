#pragma once

#include <QDialog>
#include <array>
#include <optional>

#include "analyses/TFieldFormat.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace kavo {

// The modal window "Conditional format": the colour, the text style and the relation with its
// one or two values of one conditional format of an analysis field. It works on a copy; Format()
// gives the result after OK. A value that is no number between -999 and 999 is refused: the window
// beeps, says so, selects the value and keeps OK disabled until the value is mended.
class TFormatDlg : public QDialog {
    Q_OBJECT

  public:
    explicit TFormatDlg(const TFieldFormat& format, QWidget* parent = nullptr);

    // The format as given, or after OK what the user chose.
    const TFieldFormat& Format() const { return Edited; }

    // The twenty colours, left to right, top row first, as red in the low byte.
    static const std::array<std::uint32_t, 20>& Colors();

    QComboBox* RelationList() const { return Relations; }
    QLineEdit* LowerEdit() const { return Lower; }
    QLineEdit* UpperEdit() const { return Upper; }
    QPushButton* OkButton() const { return OkBtn; }
    QPushButton* CancelButton() const { return CancelBtn; }
    QToolButton* Swatch(int index) const { return Swatches[static_cast<std::size_t>(index)]; }
    QToolButton* BoldButton() const { return BoldBtn; }
    QToolButton* ItalicButton() const { return ItalicBtn; }
    QToolButton* UnderlineButton() const { return UnderlineBtn; }
    // Says why a value was refused; empty otherwise.
    QLabel* MessageLabel() const { return Message; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    void ChooseColor(std::uint32_t color);
    void RelationChosen(int index);
    // Reads the edit's value; refuses it (false) when it is no number in range.
    bool LeaveValue(QLineEdit* edit);
    std::optional<double> ValueOf(const QLineEdit* edit) const;
    void Refuse(QLineEdit* edit);
    bool& RefusedFlag(const QLineEdit* edit);
    void UpdateOk();
    void AcceptFormat();
    bool TwoValues() const;

    TFieldFormat Edited;
    // The outlined swatch's colour; the format takes it on OK.
    std::uint32_t ChosenColor = 0;
    QComboBox* Relations = nullptr;
    QLineEdit* Lower = nullptr;
    QLineEdit* Upper = nullptr;
    QLabel* AndLabel = nullptr;
    QLabel* Message = nullptr;
    QPushButton* OkBtn = nullptr;
    QPushButton* CancelBtn = nullptr;
    QToolButton* BoldBtn = nullptr;
    QToolButton* ItalicBtn = nullptr;
    QToolButton* UnderlineBtn = nullptr;
    std::array<QToolButton*, 20> Swatches{};
    // Set while the edit holds a refused text.
    bool LowerRefused = false;
    bool UpperRefused = false;
};

// A value as the value edits show it: the shortest text that reads back to the same number.
QString FormatValueText(double value);

}  // namespace kavo
