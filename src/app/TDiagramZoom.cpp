#include "app/TDiagramZoom.h"

#include <QAction>
#include <QKeySequence>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cmath>

#include "app/TCaseStatusBar.h"
#include "app/TDiagramView.h"
#include "model/TPerception.h"

namespace kavo {

namespace {

constexpr std::array kLadder{0.2, 0.3,  0.4, 0.5, 0.6, 0.7, 0.8, 0.9,
                             1.0, 1.25, 1.5, 2.0, 2.5, 3.0, 4.0};
// Zooms closer than this to a rung count as that rung.
constexpr double kSameZoom = 0.005;

QAction* AddShortcut(QWidget& window, const QString& text, const QList<QKeySequence>& keys,
                     const char* name) {
    auto* action = new QAction(text, &window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcuts(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    window.addAction(action);
    return action;
}

}  // namespace

TDiagramZoom::TDiagramZoom(TDiagramView& diagram, QScrollArea& scroller, TCaseStatusBar& status,
                           QWidget& window)
    : QObject(&window), Diagram(diagram), Scroller(scroller), Status(status) {
    // Ctrl++ needs Shift on many keyboards; Ctrl+= is the same key without it.
    ZoomIn =
        AddShortcut(window, tr("Zoom in"),
                    {QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)}, "actionZoomIn");
    ZoomOut = AddShortcut(window, tr("Zoom out"), {QKeySequence::ZoomOut}, "actionZoomOut");
    FitToView = AddShortcut(window, tr("Fit to window"), {QKeySequence(Qt::CTRL | Qt::Key_0)},
                            "actionZoomFit");
    connect(ZoomIn, &QAction::triggered, this, [this] { Step(1); });
    connect(ZoomOut, &QAction::triggered, this, [this] { Step(-1); });
    connect(FitToView, &QAction::triggered, this, &TDiagramZoom::Fit);
    connect(&Status, &TCaseStatusBar::ZoomStepRequested, this, &TDiagramZoom::Step);
    // The diagram sees the wheel first, the viewport around it when the diagram lets it pass or
    // the pointer is beside the diagram.
    Diagram.installEventFilter(this);
    Scroller.viewport()->installEventFilter(this);
    Status.SetZoom(Diagram.Zoom());
}

double TDiagramZoom::Zoom() const {
    return Diagram.Zoom();
}

double TDiagramZoom::SteppedZoom(double zoom, int steps) {
    for (; steps > 0; --steps) {
        const auto next = std::find_if(kLadder.begin(), kLadder.end(),
                                       [zoom](double rung) { return rung > zoom + kSameZoom; });
        zoom = next != kLadder.end() ? *next : std::max(zoom, kMaxZoom);
    }
    for (; steps < 0; ++steps) {
        const auto next = std::find_if(kLadder.rbegin(), kLadder.rend(),
                                       [zoom](double rung) { return rung < zoom - kSameZoom; });
        zoom = next != kLadder.rend() ? *next : std::min(zoom, kMinZoom);
    }
    return zoom;
}

double TDiagramZoom::FittingZoom(QSize drawing, QSize room) {
    if (drawing.width() <= 0 || drawing.height() <= 0) {
        return 1.0;
    }
    const double zoom = std::min(static_cast<double>(room.width()) / drawing.width(),
                                 static_cast<double>(room.height()) / drawing.height());
    return std::clamp(zoom, kMinZoom, kMaxZoom);
}

QPoint TDiagramZoom::ViewCentre() const {
    return Scroller.viewport()->rect().center();
}

void TDiagramZoom::Step(int steps) {
    SetZoom(SteppedZoom(Zoom(), steps), ViewCentre());
}

void TDiagramZoom::Fit() {
    const TPerception* shown = Diagram.Perception();
    if (shown == nullptr || shown->FiPs.empty()) {
        return;
    }
    const QSize drawing(shown->Extent.Right, shown->Extent.Bottom);
    SetZoom(FittingZoom(drawing, Scroller.viewport()->size()), QPoint());
    Scroller.horizontalScrollBar()->setValue(0);
    Scroller.verticalScrollBar()->setValue(0);
}

void TDiagramZoom::SetZoom(double zoom, QPoint anchor) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    const double old = Zoom();
    if (std::abs(zoom - old) < 1e-9) {
        return;
    }
    QScrollBar* horizontal = Scroller.horizontalScrollBar();
    QScrollBar* vertical = Scroller.verticalScrollBar();
    const double x = (horizontal->value() + anchor.x()) / old;
    const double y = (vertical->value() + anchor.y()) / old;
    Diagram.SetZoom(zoom);
    Status.SetZoom(zoom);
    horizontal->setValue(static_cast<int>(std::lround(x * zoom)) - anchor.x());
    vertical->setValue(static_cast<int>(std::lround(y * zoom)) - anchor.y());
}

bool TDiagramZoom::eventFilter(QObject* watched, QEvent* event) {
    QWidget* viewport = Scroller.viewport();
    if (event->type() != QEvent::Wheel || (watched != viewport && watched != &Diagram)) {
        return QObject::eventFilter(watched, event);
    }
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (!wheel->modifiers().testFlag(Qt::ControlModifier)) {
        return false;
    }
    const QPoint pointer = watched == viewport
                               ? wheel->position().toPoint()
                               : Diagram.mapTo(viewport, wheel->position().toPoint());
    // One notch of a wheel turns it by 120.
    static constexpr int kNotch = 120;
    WheelTurn += wheel->angleDelta().y();
    const int steps = WheelTurn / kNotch;
    WheelTurn -= steps * kNotch;
    if (steps != 0) {
        SetZoom(SteppedZoom(Zoom(), steps), pointer);
    }
    wheel->accept();
    return true;
}

}  // namespace kavo
