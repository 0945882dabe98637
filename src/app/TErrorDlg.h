#pragma once

#include <QDialog>
#include <QMessageBox>
#include <QString>
#include <QStringList>

#include "model/TMessages.h"

class QLabel;
class QTextEdit;

namespace kavo {

// The one message dialog of the run: the core's errors, warnings and information are shown in it
// modally, each with a beep. Caption, symbol and text stay readable after the dialog has closed.
class TErrorDlg : public QDialog, public TMessages {
    Q_OBJECT

  public:
    explicit TErrorDlg(QWidget* parent = nullptr);

    void ShowError(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    void ShowInformation(const std::string& text) override;

    // Puts the text into the text box, caret at its start, and sizes the box to show the whole
    // text (wider for long lines, up to a limit; a text taller than the screen scrolls). The
    // dialog takes the size of its contents: the text box above, the OK button below it.
    void SetMessage(const QString& text);
    QString Message() const;
    QMessageBox::Icon Symbol() const { return CurrentSymbol; }
    // The last messages shown, oldest first, each as its caption, ": " and its text; a problem
    // report quotes them.
    const QStringList& RecentMessages() const { return Recent; }

  private:
    void ShowMessage(const QString& caption, QMessageBox::Icon symbol, const std::string& text);
    void SetSymbol(QMessageBox::Icon symbol);
    // The width of the text box: the widest paragraph's, within the narrowest and widest box.
    int TextBoxWidth(const QString& text) const;

    QLabel* SymbolLabel;
    QTextEdit* TextBox;
    QMessageBox::Icon CurrentSymbol = QMessageBox::NoIcon;
    QStringList Recent;
};

}  // namespace kavo
