#include "app/TStartHint.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QPushButton>
#include <QVBoxLayout>

namespace kavo {

namespace {

QPushButton* CommandButton(const QString& text, QAction& action, const char* name,
                           QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    QObject::connect(button, &QPushButton::clicked, &action, &QAction::trigger);
    return button;
}

}  // namespace

TStartHint::TStartHint(QMdiArea& area, QAction& newCase, QAction& openCase)
    : QWidget(area.viewport()), Area(area) {
    setObjectName(QStringLiteral("startHint"));
    auto* text = new QLabel(tr("No case is open.\nStart a new case (Ctrl+N), or open a case "
                               "folder (Ctrl+O): a folder that holds \"KAVO case.htm\"."),
                            this);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignCenter);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CommandButton(tr("New case"), newCase, "startNewButton", this));
    buttons->addWidget(CommandButton(tr("Open case..."), openCase, "startOpenButton", this));
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addLayout(buttons);
    setFixedWidth(360);
    setAutoFillBackground(true);

    Area.viewport()->installEventFilter(this);
    Centre();
}

bool TStartHint::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Area.viewport() && event->type() == QEvent::Resize) {
        Centre();
    }
    return QWidget::eventFilter(watched, event);
}

void TStartHint::Centre() {
    adjustSize();
    const QRect room = Area.viewport()->rect();
    move(room.center() - rect().center());
}

}  // namespace kavo
