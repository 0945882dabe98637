#include "app/TStripEditor.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ShellIcons.h"

namespace kavo {

// The two strips, drawn and pressed through their editor.
class TStripArea : public QWidget {
  public:
    TStripArea(TStripEditor& editor, int height) : QWidget(&editor), Editor(editor) {
        setFixedSize(TStripEditor::kStripWidth, height);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), palette().window());
        painter.save();
        Editor.DrawUpper(painter);
        painter.restore();
        painter.save();
        painter.translate(0, Editor.UpperHeight);
        Editor.DrawLower(painter);
        painter.restore();
    }
    void mousePressEvent(QMouseEvent* event) override {
        Editor.PressAt(event->position().toPoint(), event->button(), event->modifiers());
    }

  private:
    TStripEditor& Editor;
};

TStripEditor::TStripEditor(const QString& caption, int upperHeight, QWidget* parent)
    : QDialog(parent, Qt::Tool), UpperHeight(upperHeight) {
    setWindowTitle(caption);
    Strips = new TStripArea(*this, upperHeight + kLowerTop);
    Strips->setObjectName(QStringLiteral("strips"));
    auto* ok = new QToolButton(this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setIcon(ShellIcon(TShellIcon::siAccept));
    ok->setToolTip(tr("OK"));
    auto* cancel = new QToolButton(this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    cancel->setIcon(ShellIcon(TShellIcon::siCancel));
    cancel->setToolTip(tr("Cancel"));
    for (QToolButton* button : {ok, cancel}) {
        button->setFixedSize(25, 25);
        button->setAutoRaise(true);
        button->setFocusPolicy(Qt::NoFocus);
    }
    connect(ok, &QToolButton::clicked, this, &QDialog::accept);
    connect(cancel, &QToolButton::clicked, this, &QDialog::reject);
    auto* buttons = new QVBoxLayout;
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->setSpacing(0);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(Strips, 0, Qt::AlignTop);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    setFocusPolicy(Qt::StrongFocus);
}

int TStripEditor::LevelAt(int x) {
    return std::clamp(x / kCellPitch, 0, 6) - 3;
}

void TStripEditor::PressAt(QPoint at, Qt::MouseButton button, Qt::KeyboardModifiers modifiers) {
    if (at.y() < UpperHeight) {
        UpperPressed(LevelAt(at.x()), button, modifiers);
    } else {
        LowerPressed(LevelAt(at.x()), button);
    }
    Redraw();
}

void TStripEditor::LowerPressed(int /*level*/, Qt::MouseButton /*button*/) {}

void TStripEditor::Redraw() {
    Strips->update();
}

void TStripEditor::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            accept();
            return;
        case Qt::Key_Escape:
            reject();
            return;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (ArrowKey(event->key())) {
                Redraw();
                return;
            }
            break;
        default:
            break;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace kavo
