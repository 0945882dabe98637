#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;

namespace kavo {

// "Path list": a resizable window of plain text lines prepared by its caller. The keys T and C
// close it (as OK and Cancel); "#" asks for a font, shows the text in it and replaces the text by
// the table of the characters 32 to 255, to see which the font can show.
class TPathViewer : public QDialog {
    Q_OBJECT

  public:
    explicit TPathViewer(QWidget* parent = nullptr);

    // Shows the lines modally; true when closed with T (OK).
    bool ShowLines(const QStringList& lines);
    QPlainTextEdit* TextBox() const { return Text; }

    // One line per character code 32..255: the character in double quotes, " = " and the code.
    static QStringList CharacterTable();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void ShowCharacterTable();

    QPlainTextEdit* Text;
};

}  // namespace kavo
