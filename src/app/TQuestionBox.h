#pragma once

#include <QMessageBox>
#include <QString>

namespace kavo {

// A question to the user, answered with one of its buttons. The box is made wide enough for its
// whole caption: a window manager cuts a caption short to the width of the window, and the caption
// may be a long case name that tells which case is asked about.
class TQuestionBox : public QMessageBox {
    Q_OBJECT

  public:
    TQuestionBox(QMessageBox::Icon symbol, const QString& caption, const QString& text,
                 QMessageBox::StandardButtons buttons, QWidget* parent = nullptr);

    // The width the box needs for its caption on a window manager's title bar.
    static int CaptionWidth(const QString& caption);

    // Shows the box modally and returns the button pressed.
    static QMessageBox::StandardButton Ask(QWidget* parent, QMessageBox::Icon symbol,
                                           const QString& caption, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton);
};

}  // namespace kavo
