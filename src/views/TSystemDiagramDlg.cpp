#include "views/TSystemDiagramDlg.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollArea>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <functional>

#include "diagram/DiagramColors.h"
#include "diagram/DiagramGeometry.h"
#include "diagram/TCanvas.h"
#include "diagram/TSystemDiagram.h"
#include "model/TArena.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "qtgui/QtConversions.h"
#include "qtgui/TQtCanvas.h"
#include "views/ViewPictures.h"

namespace kavo {

namespace {

constexpr int kStartWidth = 696;
constexpr int kStartHeight = 375;
constexpr int kUnhideWidth = 267;
const QString kNoneHidden = QStringLiteral("No factors to unhide");
const QString kChooseHidden = QStringLiteral("Select factor to unhide");
const QString kArrowsHint =
    QStringLiteral("Show impacts with colored arrows without internal factors");
const QString kInsideHint = QStringLiteral("Show impacts with signed arrows via internal factors");

// The scrolled picture: draws the diagram and passes the pointer on.
class TPicture : public QWidget {
  public:
    TPicture(const TSystemDiagram& diagram, QWidget* parent) : QWidget(parent), Diagram(diagram) {
        setObjectName(QStringLiteral("systemDiagramPicture"));
        setMouseTracking(true);
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

    std::function<void(QPoint)> Moved;
    std::function<void(QPoint, bool)> Pressed;
    std::function<void(QPoint)> Released;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        TQtCanvas canvas(painter, TCanvasQuality::cqSmooth);
        Diagram.Draw(canvas);
    }
    void mouseMoveEvent(QMouseEvent* event) override { Moved(event->position().toPoint()); }
    void mousePressEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            Pressed(event->position().toPoint(), event->modifiers() & Qt::ControlModifier);
        }
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        if (event->button() == Qt::LeftButton) {
            Released(event->position().toPoint());
        }
    }

  private:
    const TSystemDiagram& Diagram;
};

QIcon ArrowsIcon() {
    return DrawnIcon({16, 16}, [](TCanvas& canvas) {
        canvas.SetPen(kGray);
        canvas.SetBrush(kWhite);
        canvas.Rectangle({0, 5, 5, 11});
        canvas.Rectangle({11, 5, 16, 11});
        const TColor orange{0xF0, 0x40, 0x00};
        canvas.SetPen(orange, 2);
        canvas.Line({5, 8}, {8, 8});
        const TArrowHead head = ArrowHead({5, 8}, {11, 8}, 5);
        canvas.SetPen(orange);
        canvas.SetBrush(orange);
        canvas.Polygon({head.Points.begin(), head.Points.end()});
    });
}

Qt::CursorShape CursorFor(TSystemPointer pointer) {
    switch (pointer) {
        case TSystemPointer::spHand:
            return Qt::PointingHandCursor;
        case TSystemPointer::spSizeHorizontal:
            return Qt::SizeHorCursor;
        case TSystemPointer::spSizeVertical:
            return Qt::SizeVerCursor;
        case TSystemPointer::spSizeDiagonal:
            return Qt::SizeFDiagCursor;
        case TSystemPointer::spArrow:
            break;
    }
    return Qt::ArrowCursor;
}

}  // namespace

TSystemDiagramDlg::TSystemDiagramDlg(TArena& arena, QWidget* parent)
    : QDialog(parent), Shown(std::make_unique<TSystemDiagram>(arena)) {
    setWindowTitle(tr("System diagram"));
    resize(kStartWidth, kStartHeight);

    auto* bar = new QToolBar(this);
    bar->setIconSize(QSize(16, 16));
    CopyBtn = new QToolButton(bar);
    CopyBtn->setObjectName(QStringLiteral("copyButton"));
    CopyBtn->setIcon(CopyIcon());
    CopyBtn->setToolTip(tr("Copy diagram to clipboard"));
    bar->addWidget(CopyBtn);
    ModeBtn = new QToolButton(bar);
    ModeBtn->setObjectName(QStringLiteral("modeButton"));
    ModeBtn->setIcon(ArrowsIcon());
    ModeBtn->setCheckable(true);
    ModeBtn->setToolTip(kArrowsHint);
    bar->addWidget(ModeBtn);
    Unhide = new QComboBox(bar);
    Unhide->setObjectName(QStringLiteral("unhideList"));
    Unhide->setFixedWidth(kUnhideWidth);
    bar->addWidget(Unhide);
    connect(CopyBtn, &QToolButton::clicked, this, &TSystemDiagramDlg::CopyToClipboard);
    connect(ModeBtn, &QToolButton::clicked, this, &TSystemDiagramDlg::SwitchMode);
    connect(Unhide, &QComboBox::activated, this, &TSystemDiagramDlg::ChooseUnhide);

    auto* picture = new TPicture(*Shown, this);
    picture->Moved = [this](QPoint at) { PointerMoved(at); };
    picture->Pressed = [this](QPoint at, bool ctrl) { PointerPressed(at, ctrl); };
    picture->Released = [this](QPoint at) { PointerReleased(at); };
    PictureArea = picture;
    Scroller = new QScrollArea(this);
    Scroller->setWidget(PictureArea);
    Scroller->setBackgroundRole(QPalette::Dark);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(true);
    Position = new QLabel(status);
    Position->setObjectName(QStringLiteral("positionPanel"));
    Position->setFixedWidth(100);
    Name = new QLabel(status);
    Name->setObjectName(QStringLiteral("namePanel"));
    Name->setFixedWidth(500);
    status->addWidget(Position);
    status->addWidget(Name);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(Scroller, 1);
    layout->addWidget(status);

    FillUnhideList();
    Redraw();
}

TSystemDiagramDlg::~TSystemDiagramDlg() = default;

void TSystemDiagramDlg::Redraw() {
    PictureArea->setFixedSize(Shown->PictureWidth, Shown->PictureHeight);
    PictureArea->update();
}

void TSystemDiagramDlg::CopyToClipboard() {
    CopyDrawing(
        {Shown->PictureWidth, Shown->PictureHeight},
        [this](TCanvas& canvas) { Shown->Draw(canvas); }, QStringLiteral("System diagram"));
}

void TSystemDiagramDlg::SwitchMode() {
    if (!Shown->ArrowsMode && !Shown->ImpactsKnown()) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        Shown->InferImpacts();
        QApplication::restoreOverrideCursor();
    }
    Shown->ArrowsMode = !Shown->ArrowsMode;
    ModeBtn->setChecked(Shown->ArrowsMode);
    ModeBtn->setToolTip(Shown->ArrowsMode ? kInsideHint : kArrowsHint);
    Redraw();
}

void TSystemDiagramDlg::FillUnhideList() {
    Unhide->clear();
    Unhide->addItem(Shown->Hidden.empty() ? kNoneHidden : kChooseHidden);
    for (const std::string& name : Shown->HiddenNames()) {
        Unhide->addItem(ToQString(name));
    }
    Unhide->setCurrentIndex(0);
}

void TSystemDiagramDlg::ChooseUnhide(int index) {
    if (index < 1) {
        return;
    }
    Shown->Unhide(static_cast<std::size_t>(index - 1));
    FillUnhideList();
    Redraw();
}

void TSystemDiagramDlg::PointerMoved(QPoint at) {
    const bool busy = Shown->DragFiP != nullptr || Shown->ResizeEdges > 0;
    const TSystemPointer pointer = Shown->PointerMoved(at.x(), at.y());
    Position->setText(QStringLiteral("X = %1  Y = %2").arg(at.x()).arg(at.y()));
    Name->setText(Shown->HoverFiP != nullptr ? ToQString(Shown->HoverFiP->Factor->Name)
                                             : QString());
    PictureArea->setCursor(CursorFor(pointer));
    if (busy) {
        Redraw();
    }
}

void TSystemDiagramDlg::PointerPressed(QPoint at, bool ctrl) {
    const std::size_t hidden = Shown->Hidden.size();
    Shown->PointerPressed(at.x(), at.y(), ctrl);
    if (Shown->Hidden.size() != hidden) {
        FillUnhideList();
        Redraw();
    }
}

void TSystemDiagramDlg::PointerReleased(QPoint at) {
    const bool busy = Shown->DragFiP != nullptr || Shown->ResizeEdges > 0;
    Shown->PointerReleased(at.x(), at.y());
    if (busy) {
        Redraw();
    }
}

}  // namespace kavo
