#include "app/TPathViewer.h"

#include <QFontDialog>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace kavo {

namespace {

constexpr int kStartWidth = 520;
constexpr int kStartHeight = 420;

}  // namespace

TPathViewer::TPathViewer(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("pathViewer"));
    setWindowTitle(tr("Path list"));
    setSizeGripEnabled(true);
    Text = new QPlainTextEdit(this);
    Text->setObjectName(QStringLiteral("pathText"));
    Text->setReadOnly(true);
    Text->setLineWrapMode(QPlainTextEdit::NoWrap);
    Text->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Text);
    resize(kStartWidth, kStartHeight);
}

bool TPathViewer::ShowLines(const QStringList& lines) {
    Text->setPlainText(lines.join(QLatin1Char('\n')));
    Text->moveCursor(QTextCursor::Start);
    Text->setFocus();
    return exec() == QDialog::Accepted;
}

QStringList TPathViewer::CharacterTable() {
    QStringList lines;
    for (int code = 32; code <= 255; ++code) {
        lines << QLatin1Char('"') + QChar(code) + QStringLiteral("\" = ") + QString::number(code);
    }
    return lines;
}

void TPathViewer::ShowCharacterTable() {
    bool chosen = false;
    const QFont font = QFontDialog::getFont(&chosen, Text->font(), this);
    if (!chosen) {
        return;
    }
    Text->setFont(font);
    Text->setPlainText(CharacterTable().join(QLatin1Char('\n')));
}

bool TPathViewer::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text && event->type() == QEvent::KeyPress) {
        const QString typed = static_cast<QKeyEvent*>(event)->text();
        if (typed.compare(QStringLiteral("t"), Qt::CaseInsensitive) == 0) {
            accept();
            return true;
        }
        if (typed.compare(QStringLiteral("c"), Qt::CaseInsensitive) == 0) {
            reject();
            return true;
        }
        if (typed == QStringLiteral("#")) {
            ShowCharacterTable();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace kavo
