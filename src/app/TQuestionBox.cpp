#include "app/TQuestionBox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QScreen>
#include <QSpacerItem>
#include <algorithm>

#include "app/DialogFrame.h"

namespace kavo {

namespace {

// Title bars show an icon and buttons beside the caption, and often a bold face.
constexpr int kTitleBarExtra = 140;

}  // namespace

TQuestionBox::TQuestionBox(QMessageBox::Icon symbol, const QString& caption, const QString& text,
                           QMessageBox::StandardButtons buttons, QWidget* parent)
    : QMessageBox(symbol, caption, text, buttons, parent) {
    setObjectName(QStringLiteral("questionBox"));
    UseDialogFrame(*this);
    // The message box sizes itself to its layout; a row of this width keeps the caption whole.
    if (auto* grid = qobject_cast<QGridLayout*>(layout())) {
        grid->addItem(new QSpacerItem(CaptionWidth(caption), 0, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
    }
}

int TQuestionBox::CaptionWidth(const QString& caption) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    int width = QFontMetrics(font).horizontalAdvance(caption) + kTitleBarExtra;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        width = std::min(width, screen->availableGeometry().width() * 4 / 5);
    }
    return width;
}

QMessageBox::StandardButton TQuestionBox::Ask(QWidget* parent, QMessageBox::Icon symbol,
                                              const QString& caption, const QString& text,
                                              QMessageBox::StandardButtons buttons,
                                              QMessageBox::StandardButton defaultButton) {
    TQuestionBox box(symbol, caption, text, buttons, parent);
    box.setDefaultButton(defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace kavo
