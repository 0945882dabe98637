#include "views/TInfoPane.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHBoxLayout>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

#include "analyses/TQuickAnalysis.h"
#include "qtgui/TQtCanvas.h"
#include "views/ViewPictures.h"

namespace kavo {

namespace {

constexpr int kStartWidth = 557;
constexpr int kStartHeight = 158;
constexpr int kPictureWidth = 1200;
constexpr int kPictureHeight = 600;
// The text keeps this far from the picture's left and top edges on the screen.
const QPoint kScreenMargin(4, 2);

TFont PaneFont(const QFont& font) {
    return {font.family().toStdString(), font.pointSize() > 0 ? font.pointSize() : 9, false, false};
}

// The picture the text is drawn on, in the window's face colour.
class TPicture : public QWidget {
  public:
    TPicture(const TQuickAnalysis& analysis, QWidget* parent)
        : QWidget(parent), Analysis(analysis) {
        setObjectName(QStringLiteral("quickAnalysisPicture"));
        setFixedSize(kPictureWidth, kPictureHeight);
        setAutoFillBackground(true);
        setBackgroundRole(QPalette::Window);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.translate(kScreenMargin);
        TQtCanvas canvas(painter);
        Analysis.Draw(canvas);
    }

  private:
    const TQuickAnalysis& Analysis;
};

QCheckBox* Switch(QWidget* parent, const QString& caption, const QString& hint, const char* name) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setToolTip(hint);
    return box;
}

}  // namespace

TInfoPane::TInfoPane(QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint),
      Quick(std::make_unique<TQuickAnalysis>(Measure, PaneFont(font()))) {
    setObjectName(QStringLiteral("quickAnalysisPane"));
    setWindowTitle(tr("Quick analysis"));
    resize(kStartWidth, kStartHeight);
    setMinimumSize(120, 40);

    auto* bar = new QWidget(this);
    Influence = Switch(bar, tr("Inferred influence"),
                       tr("Show inferred influence of factor under cursor on selected factor(s)"),
                       "influenceSwitch");
    USF = Switch(bar, tr("USF"),
                 tr("Show utility, satisfaction and frustration for selected goals as result of "
                    "tactic under cursor"),
                 "usfSwitch");
    Noise = Switch(bar, tr("Noise"),
                   tr("Show noise for factor under cursor due to prospects reaching it"),
                   "noiseSwitch");
    Strategies =
        Switch(bar, tr("Strategies"), tr("Show inferred strategies for selected actor perception"),
               "strategiesSwitch");
    Conflicts = Switch(bar, tr("Conflicts"),
                       tr("Show conflicts between selected perception and perception under cursor"),
                       "conflictsSwitch");
    auto* switches = new QHBoxLayout(bar);
    switches->setContentsMargins(4, 2, 4, 2);
    for (QCheckBox* box : {Influence, USF, Noise, Strategies, Conflicts}) {
        switches->addWidget(box);
        connect(box, &QCheckBox::toggled, this, &TInfoPane::SwitchesChanged);
    }
    switches->addStretch(1);

    PictureArea = new TPicture(*Quick, this);
    auto* scroller = new QScrollArea(this);
    scroller->setWidget(PictureArea);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(scroller, 1);
}

TInfoPane::~TInfoPane() = default;

void TInfoPane::SwitchesChanged() {
    Quick->Influence = Influence->isChecked();
    Quick->USF = USF->isChecked();
    Quick->Noise = Noise->isChecked();
    Quick->Strategies = Strategies->isChecked();
    Quick->Conflicts = Conflicts->isChecked();
}

void TInfoPane::Explain(TPerception& perception, const TFiP* fip, int rangeLevel,
                        const TLink* link) {
    if (Filling) {
        return;
    }
    Filling = true;
    Quick->Explain(perception, fip, rangeLevel, link);
    Filling = false;
    Repaint();
}

void TInfoPane::ExplainConflicts(TPerception& shown, TPerception& other) {
    if (Filling) {
        return;
    }
    Filling = true;
    Quick->ExplainConflicts(shown, other);
    Filling = false;
    Repaint();
}

void TInfoPane::Clear() {
    Quick->Clear();
    Repaint();
}

void TInfoPane::Repaint() {
    PictureArea->update();
}

void TInfoPane::CopyPicture() {
    const TQuickAnalysis& quick = *Quick;
    CopyDrawing(
        {quick.Right() + 10, quick.Bottom() + 10},
        [&quick](TCanvas& canvas) { quick.Draw(canvas); }, QStringLiteral("Quick analysis"));
}

void TInfoPane::CopyText() {
    QApplication::clipboard()->setText(QString::fromStdString(Quick->Text()));
}

void TInfoPane::ShowBeside(const QWidget& window) {
    const QScreen* screen = window.screen();
    const int top = screen != nullptr ? screen->availableGeometry().top() : 0;
    const QPointer<const QWidget> beside(&window);
    const auto place = [this, beside, top] {
        if (beside) {
            move(beside->frameGeometry().right() + 1 - frameGeometry().width(), top);
        }
    };
    show();
    place();
    raise();
    // The window manager frames a new window after it is shown; its frame is known only then.
    QTimer::singleShot(100, this, place);
}

void TInfoPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    emit Shown(true);
}

void TInfoPane::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    emit Shown(false);
}

}  // namespace kavo
