#include "app/TErrorDlg.h"

#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextOption>
#include <algorithm>
#include <cmath>

#include "app/DialogFrame.h"
#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

constexpr int kMinTextWidth = 300;
constexpr int kMaxTextWidth = 560;
constexpr int kSymbolSize = 32;
constexpr qsizetype kRecentMessages = 10;
constexpr int kMinimumHeight = 85;

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
    // A message is read and closed: it has nothing to minimise or maximise.
    UseDialogFrame(*this);
    setWindowTitle(tr("Message"));

    SymbolLabel->setFixedSize(kSymbolSize, kSymbolSize);

    TextBox->setReadOnly(true);
    TextBox->setAcceptRichText(false);
    TextBox->setFrameShape(QFrame::NoFrame);
    TextBox->viewport()->setAutoFillBackground(false);
    TextBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QTextOption option(Qt::AlignHCenter);
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    TextBox->document()->setDefaultTextOption(option);

    auto* okButton = new QPushButton(tr("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(SymbolLabel, 0, 0, Qt::AlignTop);
    layout->addWidget(TextBox, 0, 1);
    layout->addWidget(okButton, 1, 0, 1, 2, Qt::AlignHCenter);
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

    const int width = TextBoxWidth(text);
    // Laid out apart from the text box, which lays out its own document only once it shows.
    QTextDocument layout;
    layout.setDefaultFont(TextBox->font());
    layout.setDefaultTextOption(TextBox->document()->defaultTextOption());
    layout.setDocumentMargin(TextBox->document()->documentMargin());
    layout.setPlainText(text);
    layout.setTextWidth(width);
    const int textHeight = static_cast<int>(std::ceil(layout.size().height()));
    int height = textHeight;
    // A text taller than the screen scrolls in its box, which leaves room for the button.
    if (const QScreen* screen = this->screen()) {
        height = std::min(height, screen->availableGeometry().height() * 2 / 3);
    }
    TextBox->setVerticalScrollBarPolicy(height < textHeight ? Qt::ScrollBarAlwaysOn
                                                            : Qt::ScrollBarAlwaysOff);
    TextBox->setFixedSize(width, std::max(height, kSymbolSize));
    this->layout()->activate();
    if (this->height() < kMinimumHeight) {
        TextBox->setFixedHeight(TextBox->height() + kMinimumHeight - this->height());
        this->layout()->activate();
    }
}

QString TErrorDlg::Message() const {
    return TextBox->toPlainText();
}

int TErrorDlg::TextBoxWidth(const QString& text) const {
    const QFontMetrics metrics(TextBox->font());
    const int margins = 2 * static_cast<int>(std::ceil(TextBox->document()->documentMargin())) +
                        2 * TextBox->frameWidth();
    int widest = 0;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        widest = std::max(widest, metrics.horizontalAdvance(paragraph));
    }
    return std::clamp(widest + margins + 1, kMinTextWidth, kMaxTextWidth);
}

}  // namespace kavo
