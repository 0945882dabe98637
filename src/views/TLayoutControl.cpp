#include "views/TLayoutControl.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QSlider>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>

#include "diagram/TCanvas.h"
#include "editing/PerceptionEdits.h"
#include "editing/TEdit.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "views/ViewPictures.h"

namespace kavo {

namespace {

constexpr int kPictureHeight = 40;

// A small picture painted by a function of the painter and the picture's size.
class TSketch : public QWidget {
  public:
    TSketch(std::function<void(QPainter&, QSize)> paint, QWidget* parent)
        : QWidget(parent), Paint(std::move(paint)) {
        setMinimumSize(120, kPictureHeight);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        Paint(painter, size());
    }

  private:
    std::function<void(QPainter&, QSize)> Paint;
};

QToolButton* Button(QWidget* parent, const QIcon& icon, const QString& hint, const char* name,
                    bool toggle) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setIcon(icon);
    button->setToolTip(hint);
    button->setCheckable(toggle);
    button->setAutoRaise(true);
    return button;
}

QIcon RecordIcon() {
    return DrawnIcon({16, 16}, [](TCanvas& canvas) {
        canvas.SetPen(TColor{160, 0, 0});
        canvas.SetBrush(TColor{220, 0, 0});
        canvas.Ellipse({3, 3, 13, 13});
    });
}

QSlider* Slider(QWidget* parent, const char* name, const QString& hint) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setObjectName(QString::fromLatin1(name));
    slider->setToolTip(hint);
    slider->setSingleStep(10);
    slider->setPageStep(10);
    return slider;
}

// A horizontal arrow from a to b (in x) at height y, with heads at both ends.
void DoubleArrow(QPainter& painter, QPointF a, QPointF b) {
    painter.drawLine(a, b);
    const QPointF along = (b - a) / std::max(1.0, QLineF(a, b).length()) * 5;
    const QPointF across(-along.y(), along.x());
    for (const auto& [tip, back] : {std::pair{a, along}, std::pair{b, -along}}) {
        painter.drawLine(tip, tip + back + across);
        painter.drawLine(tip, tip + back - across);
    }
}

}  // namespace

TLayoutControl::TLayoutControl(TRandom& random, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint), Random(random) {
    setObjectName(QStringLiteral("layoutControl"));
    setWindowTitle(tr("Layout"));
    Ticks.setInterval(kTickMilliseconds);
    connect(&Ticks, &QTimer::timeout, this, &TLayoutControl::Tick);

    PlayBtn =
        Button(this, style()->standardIcon(QStyle::SP_MediaPlay), tr("Start"), "PlayBtn", true);
    StopBtn =
        Button(this, style()->standardIcon(QStyle::SP_MediaStop), tr("Stop"), "StopBtn", false);
    RewindBtn = Button(this, style()->standardIcon(QStyle::SP_MediaSkipBackward), tr("Reset"),
                       "RewindBtn", true);
    RecordBtn = Button(this, RecordIcon(), tr("Save layout"), "RecordBtn", true);
    connect(PlayBtn, &QToolButton::toggled, this, &TLayoutControl::Started);
    connect(StopBtn, &QToolButton::clicked, this, &TLayoutControl::Stop);
    connect(RecordBtn, &QToolButton::toggled, this, [this](bool down) {
        // The boxes as they are become one step of their own; a run goes on from there.
        if (down) {
            NewRun();
        }
    });
    auto* buttons = new QHBoxLayout;
    for (QToolButton* button : {PlayBtn, StopBtn, RewindBtn, RecordBtn}) {
        buttons->addWidget(button);
    }
    buttons->addStretch(1);

    EdgeLength = Slider(this, "edgeLength", tr("Edge length"));
    EdgeLength->setRange(TLayout::kEdgeLengthMin, TLayout::kEdgeLengthMax);
    EdgeLength->setValue(Layout.EdgeLength);
    connect(EdgeLength, &QSlider::valueChanged, this, &TLayoutControl::EdgeLengthChanged);
    EdgePicture = new TSketch(
        [this](QPainter& painter, QSize size) {
            const int w = size.width();
            const int free =
                (w - (Layout.EdgeLength - TLayout::kEdgeLengthMin) * (w - 40) / 200 - 40) / 2;
            const int y = size.height() / 2;
            painter.setPen(QPen(Qt::black, 1));
            painter.setBrush(Qt::white);
            painter.drawEllipse(QRect(free, y - 8, 16, 16));
            painter.drawEllipse(QRect(w - free - 16, y - 8, 16, 16));
            painter.drawLine(free + 16, y, w - free - 16, y);
        },
        this);
    RectWidth = Slider(this, "rectangleWidth", tr("Width"));
    RectHeight = Slider(this, "rectangleHeight", tr("Height"));
    for (QSlider* slider : {RectWidth, RectHeight}) {
        slider->setRange(TLayout::kMinSizeTens, TLayout::kMinSizeTens);
        connect(slider, &QSlider::valueChanged, this, &TLayoutControl::SizeChanged);
    }
    SizePicture = new TSketch(
        [this](QPainter& painter, QSize size) {
            painter.setPen(QPen(Qt::darkBlue, 1));
            const int h = size.height();
            DoubleArrow(painter, QPointF(30, h - 8), QPointF(size.width() - 8, h - 8));
            DoubleArrow(painter, QPointF(12, 4), QPointF(12, h - 4));
            painter.setPen(Qt::black);
            painter.drawText(QRect(30, 0, size.width() - 38, h - 10), Qt::AlignCenter,
                             QString::number(Layout.MaxX));
            painter.drawText(QRect(16, 0, 40, h), Qt::AlignVCenter | Qt::AlignLeft,
                             QString::number(Layout.MaxY));
        },
        this);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(tr("Edge length"), this), 0, 0);
    grid->addWidget(EdgeLength, 0, 1);
    grid->addWidget(EdgePicture, 1, 0, 1, 2);
    grid->addWidget(new QLabel(tr("Width"), this), 2, 0);
    grid->addWidget(RectWidth, 2, 1);
    grid->addWidget(new QLabel(tr("Height"), this), 3, 0);
    grid->addWidget(RectHeight, 3, 1);
    grid->addWidget(SizePicture, 4, 0, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(grid);
    PlayBtn->setEnabled(false);
    RecordBtn->setEnabled(false);
}

bool TLayoutControl::Running() const {
    return PlayBtn->isChecked() && isVisible();
}

void TLayoutControl::Open(TCase& owningCase, TPerception* perception) {
    if (&owningCase != ShownCase) {
        // A case of its own: the rectangle is its whole drawing area.
        Stop();
        ShownCase = &owningCase;
        const QSignalBlocker width(RectWidth);
        const QSignalBlocker height(RectHeight);
        RectWidth->setRange(TLayout::kMinSizeTens,
                            std::max(TLayout::kMinSizeTens, owningCase.MaxWidth / 10));
        RectHeight->setRange(TLayout::kMinSizeTens,
                             std::max(TLayout::kMinSizeTens, owningCase.MaxHeight / 10));
        RectWidth->setValue(RectWidth->maximum());
        RectHeight->setValue(RectHeight->maximum());
        SizeChanged();
    }
    Retarget(perception);
    RecordBtn->setEnabled(true);
    show();
    raise();
    Ticks.start();
}

void TLayoutControl::Retarget(TPerception* perception) {
    Stop();
    Shown = perception;
    if (Shown != nullptr) {
        // The least x depends on the boxes; the rest of the rectangle is the user's.
        const int maxX = Layout.MaxX;
        const int maxY = Layout.MaxY;
        Layout.Fit(*Shown);
        Layout.MaxX = maxX;
        Layout.MaxY = maxY;
    }
    PlayBtn->setEnabled(Shown != nullptr);
}

void TLayoutControl::Detach() {
    // The perception may be freed already: nothing of it is touched any more.
    Shown = nullptr;
    ShownCase = nullptr;
    Stop();
    hide();
}

void TLayoutControl::Tick() {
    if (!isVisible()) {
        Ticks.stop();
        if (Shown != nullptr) {
            emit Stepped(Shown);
        }
        return;
    }
    Ticks.stop();
    if (PlayBtn->isChecked() && Shown != nullptr) {
        emit StepDue(Shown);
    } else if (RewindBtn->isChecked()) {
        if (Shown != nullptr) {
            emit Stepped(Shown);
        }
        RewindBtn->setChecked(false);
    } else if (RecordBtn->isChecked()) {
        RecordBtn->setChecked(false);
    }
    Ticks.start();
}

void TLayoutControl::StepInto(TEdit& edit) {
    if (Shown != nullptr) {
        LayOutStep(edit, *Shown, Layout, Random);
        edit.MergeKey = RunKey;
    }
}

void TLayoutControl::Stop() {
    for (QToolButton* button : {PlayBtn, RewindBtn, RecordBtn}) {
        const QSignalBlocker quiet(button);
        button->setChecked(false);
    }
    if (Shown != nullptr) {
        TLayout::Stop(*Shown);
    }
    NewRun();
}

void TLayoutControl::Started(bool down) {
    NewRun();
    if (down) {
        Ticks.start();
    }
}

void TLayoutControl::NewRun() {
    RunKey = TEdit::NewMergeKey();
}

void TLayoutControl::EdgeLengthChanged(int value) {
    // The control moves in steps of 10.
    const int snapped = (value + 5) / 10 * 10;
    if (snapped != value) {
        EdgeLength->setValue(snapped);
        return;
    }
    Layout.EdgeLength = snapped;
    EdgePicture->update();
}

void TLayoutControl::SizeChanged() {
    Layout.MaxX = 10 * RectWidth->value();
    Layout.MaxY = 10 * RectHeight->value();
    SizePicture->update();
}

void TLayoutControl::closeEvent(QCloseEvent* event) {
    PlayBtn->setChecked(false);
    QWidget::closeEvent(event);
}

void TLayoutControl::hideEvent(QHideEvent* event) {
    PlayBtn->setChecked(false);
    QWidget::hideEvent(event);
}

}  // namespace kavo
