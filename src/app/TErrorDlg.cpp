#include "app/TErrorDlg.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextLayout>
#include <QTextOption>
#include <algorithm>

#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

constexpr int kDialogWidth = 420;
constexpr int kTextBoxWidth = 300;
constexpr int kMinimumHeight = 85;
constexpr int kSymbolSize = 32;
constexpr qsizetype kRecentMessages = 10;

QStyle::StandardPixmap PixmapOf(QMessageBox::Icon symbol) {
    switch (symbol) {
        case QMessageBox::Critical:
            return QStyle::SP_MessageBoxCritical;
        case QMessageBox::Warning:
            return QStyle::SP_MessageBoxWarning;
        case QMessageBox::Question:
            return QStyle::SP_MessageBoxQuestion;
        case QMessageBox::Information:
        case QMessageBox::NoIcon:
            break;
    }
    return QStyle::SP_MessageBoxInformation;
}

}  // namespace

TErrorDlg::TErrorDlg(QWidget* parent)
    : QDialog(parent), SymbolLabel(new QLabel(this)), TextBox(new QTextEdit(this)) {
    setWindowTitle(tr("Message"));

    SymbolLabel->setFixedSize(kSymbolSize, kSymbolSize);

    TextBox->setReadOnly(true);
    TextBox->setAcceptRichText(false);
    TextBox->setFixedWidth(kTextBoxWidth);
    TextBox->setMinimumHeight(QFontMetrics(TextBox->font()).height());
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    TextBox->document()->setDefaultTextOption(option);

    auto* okButton = new QPushButton(tr("OK"), this);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QHBoxLayout(this);
    layout->addWidget(SymbolLabel, 0, Qt::AlignTop);
    layout->addWidget(TextBox, 1);
    layout->addWidget(okButton, 0, Qt::AlignTop);
    okButton->setFocus();
}

void TErrorDlg::ShowError(const std::string& text) {
    ShowMessage(tr("KAVO error"), QMessageBox::Critical, text);
}

void TErrorDlg::ShowWarning(const std::string& text) {
    ShowMessage(tr("KAVO warning"), QMessageBox::Warning, text);
}

void TErrorDlg::ShowInformation(const std::string& text) {
    ShowMessage(tr("KAVO information"), QMessageBox::Information, text);
}

void TErrorDlg::ShowMessage(const QString& caption, QMessageBox::Icon symbol,
                            const std::string& text) {
    setWindowTitle(caption);
    SetSymbol(symbol);
    SetMessage(ToQString(text));
    Recent << caption + QStringLiteral(": ") + ToQString(text);
    if (Recent.size() > kRecentMessages) {
        Recent.removeFirst();
    }
    QApplication::beep();
    exec();
}

void TErrorDlg::SetSymbol(QMessageBox::Icon symbol) {
    CurrentSymbol = symbol;
    SymbolLabel->setPixmap(
        style()->standardIcon(PixmapOf(symbol), nullptr, this).pixmap(kSymbolSize, kSymbolSize));
}

void TErrorDlg::SetMessage(const QString& text) {
    TextBox->setPlainText(text);
    TextBox->moveCursor(QTextCursor::Start);

    const int lineHeight = QFontMetrics(TextBox->font()).height() + 4;
    const int frameHeight = frameGeometry().height() - geometry().height();
    int height = std::max(kMinimumHeight, LineCount(text) * lineHeight + frameHeight + 15);
    // A very long text scrolls in its box rather than pushing the button off the screen.
    if (const QScreen* screen = this->screen()) {
        height = std::min(height, screen->availableGeometry().height());
    }
    // Wider only where the style's button would not fit beside the text box and cover its text.
    const int width = std::max(kDialogWidth, layout()->minimumSize().width());
    setFixedSize(width, height - frameHeight);
}

QString TErrorDlg::Message() const {
    return TextBox->toPlainText();
}

int TErrorDlg::LineCount(const QString& text) const {
    // Laid out apart from the text box, whose own width is only known once the dialog shows.
    const QTextDocument* document = TextBox->document();
    const qreal width = kTextBoxWidth - 2 * TextBox->frameWidth() - 2 * document->documentMargin();
    int lines = 0;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QTextLayout layout(paragraph, TextBox->font());
        layout.setTextOption(document->defaultTextOption());
        layout.beginLayout();
        int paragraphLines = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(width);
            ++paragraphLines;
        }
        layout.endLayout();
        lines += std::max(1, paragraphLines);
    }
    return lines;
}

}  // namespace kavo
