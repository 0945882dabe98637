#include <QAction>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>
#include <algorithm>
#include <cmath>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseStatusBar.h"
#include "app/TCaseTree.h"
#include "app/TCaseView.h"
#include "app/TDiagramView.h"
#include "app/TDiagramZoom.h"
#include "app/TKAVO.h"
#include "diagram/DiagramGeometry.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"

using kavo::TCaseStatusBar;
using kavo::TCaseView;
using kavo::TDiagramZoom;
using kavo::TKAVO;
using kavo::test::TModalAnswers;

namespace {

// The pixel of the zoomed picture that holds the middle of the diagram's pixel (x, y).
QPoint ZoomedPixel(double x, double y, double zoom) {
    return {static_cast<int>(std::floor((x + 0.5) * zoom)),
            static_cast<int>(std::floor((y + 0.5) * zoom))};
}

// Whether the pixel or one of its eight neighbours is painted.
bool PaintedNear(const QImage& image, QPoint at) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            const QPoint near = at + QPoint(dx, dy);
            if (image.valid(near) && image.pixel(near) != qRgb(255, 255, 255)) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

class TDiagramViewTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void linksStayVisibleAtEveryZoom_data();
    void linksStayVisibleAtEveryZoom();
    void zoomStepsFromTwentyToFourHundredPercent();
    void shortcutsZoomAndFit();
    void controlWheelZoomsAboutThePointer();
    void plainWheelScrolls();
    void exampleLinksRunClearOfOtherBoxes();

  private:
    TCaseView& OpenFixture();

    QTemporaryDir SettingsFolder;
    std::unique_ptr<TKAVO> Window;
    TCaseView* View = nullptr;
};

void TDiagramViewTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TDiagramViewTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
}

void TDiagramViewTest::cleanup() {
    View = nullptr;
    Window.reset();
}

// The water case with the farmers' perception shown: links run level, downwards and aslant.
TCaseView& TDiagramViewTest::OpenFixture() {
    View = Window->NewCase();
    kavo::TCase& c = View->Case();
    kavo::test::FillWaterCase(c);
    kavo::TFactor* price = c.FactorList.Find("Water price");
    kavo::TPerception& seen = *c.ArenaList.Find("Irrigation")->Actors.front()->Perception;
    kavo::test::DrawChain(c, seen,
                          {{c.FactorList.Find("Groundwater level"), 160, 180}, {price, 160, 330}});
    c.Modified = false;
    View->BuildTree();
    View->Tree()->setCurrentItem(View->Tree()->topLevelItem(0)->child(1)->child(1));
    return *View;
}

void TDiagramViewTest::linksStayVisibleAtEveryZoom_data() {
    QTest::addColumn<double>("zoom");
    for (const double zoom : {0.2, 0.5, 0.7, 0.9, 1.0, 1.5, 4.0}) {
        QTest::addRow("%d %%", static_cast<int>(std::lround(zoom * 100))) << zoom;
    }
}

void TDiagramViewTest::linksStayVisibleAtEveryZoom() {
    QFETCH(double, zoom);
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    const kavo::TPerception* shown = view.DrawingArea()->Perception();
    QVERIFY(shown != nullptr && shown->Links.size() == 4);
    view.ZoomControl()->SetZoom(zoom, QPoint());
    QCOMPARE(view.Zoom(), zoom);

    const QImage image = view.DrawingArea()->grab().toImage();
    for (const auto& link : shown->Links) {
        const double dx = link->EndPoint.X - link->StartPoint.X;
        const double dy = link->EndPoint.Y - link->StartPoint.Y;
        const double length = std::hypot(dx, dy);
        // The circled sign near the tip is white inside.
        const int a = std::abs(link->Level);
        const double signAt = 1 - (3 * a + 12) / length;
        const double signRadius = (2 * a + 3) / length;
        // Every screen pixel along the line, between the two boxes' outlines.
        const int samples = static_cast<int>(length * zoom);
        for (int i = 1; i < samples; ++i) {
            const double t = static_cast<double>(i) / samples;
            if (std::abs(t - signAt) <= signRadius) {
                continue;
            }
            const QPoint at =
                ZoomedPixel(link->StartPoint.X + t * dx, link->StartPoint.Y + t * dy, zoom);
            QVERIFY2(PaintedNear(image, at),
                     qPrintable(QStringLiteral("%1 -> %2 at (%3, %4)")
                                    .arg(QString::fromStdString(link->FromFiP->Factor->Name),
                                         QString::fromStdString(link->ToFiP->Factor->Name))
                                    .arg(at.x())
                                    .arg(at.y())));
        }
    }
}

void TDiagramViewTest::zoomStepsFromTwentyToFourHundredPercent() {
    QCOMPARE(TDiagramZoom::SteppedZoom(1.0, -1), 0.9);
    QCOMPARE(TDiagramZoom::SteppedZoom(1.0, 1), 1.25);
    QCOMPARE(TDiagramZoom::SteppedZoom(0.2, -1), 0.2);
    QCOMPARE(TDiagramZoom::SteppedZoom(4.0, 1), 4.0);
    // A zoom between two rungs, as fitting leaves it, goes to the next rung either way.
    QCOMPARE(TDiagramZoom::SteppedZoom(0.63, 1), 0.7);
    QCOMPARE(TDiagramZoom::SteppedZoom(0.63, -1), 0.6);
    QCOMPARE(TDiagramZoom::FittingZoom(QSize(600, 300), QSize(300, 300)), 0.5);
    QCOMPARE(TDiagramZoom::FittingZoom(QSize(10, 10), QSize(300, 300)), TDiagramZoom::kMaxZoom);
    QCOMPARE(TDiagramZoom::FittingZoom(QSize(9000, 10), QSize(300, 300)), TDiagramZoom::kMinZoom);

    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    const kavo::TCase& c = view.Case();
    for (int i = 0; i < 20; ++i) {
        view.StepZoom(-1);
    }
    QCOMPARE(view.Zoom(), TDiagramZoom::kMinZoom);
    QCOMPARE(view.DrawingArea()->size(),
             QSize(qRound(c.MaxWidth * view.Zoom()), qRound(c.MaxHeight * view.Zoom())));
    QCOMPARE(TCaseStatusBar::ZoomStepAt(TCaseStatusBar::kCoordinatesWidth + 10, view.Zoom()), 0);
    for (int i = 0; i < 20; ++i) {
        view.StepZoom(1);
    }
    QCOMPARE(view.Zoom(), TDiagramZoom::kMaxZoom);
    QCOMPARE(view.StatusBar()->Zoom(), TDiagramZoom::kMaxZoom);
    QCOMPARE(view.DrawingArea()->size(), QSize(c.MaxWidth * 4, c.MaxHeight * 4));
    QCOMPARE(TCaseStatusBar::ZoomStepAt(TCaseStatusBar::kCoordinatesWidth + 60, view.Zoom()), 0);

    // A press on the zoom-out symbol of the status bar.
    QTest::mouseClick(view.StatusBar(), Qt::LeftButton, {},
                      QPoint(TCaseStatusBar::kCoordinatesWidth + 10, 8));
    QCOMPARE(view.Zoom(), 3.0);
}

void TDiagramViewTest::shortcutsZoomAndFit() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    view.Tree()->setFocus();
    QTest::keyClick(view.Tree(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(view.Zoom(), 1.25);
    QTest::keyClick(view.Tree(), Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(view.Tree(), Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(view.Zoom(), 0.9);

    // Fitting shows the whole drawing, as large as the view allows.
    QTest::keyClick(view.Tree(), Qt::Key_0, Qt::ControlModifier);
    const kavo::TRect extent = view.DrawingArea()->Perception()->Extent;
    const QSize room =
        view.findChild<QScrollArea*>(QStringLiteral("diagramScroller"))->viewport()->size();
    QCOMPARE(view.Zoom(), TDiagramZoom::FittingZoom({extent.Right, extent.Bottom}, room));
    QVERIFY(extent.Right * view.Zoom() <= room.width() + 0.5);
    QVERIFY(extent.Bottom * view.Zoom() <= room.height() + 0.5);
}

void TDiagramViewTest::controlWheelZoomsAboutThePointer() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    view.ZoomControl()->SetZoom(2.0, QPoint());
    auto* scroller = view.findChild<QScrollArea*>(QStringLiteral("diagramScroller"));
    scroller->horizontalScrollBar()->setValue(100);
    scroller->verticalScrollBar()->setValue(60);
    // The diagram point (100, 50) lies under the pointer.
    const QPoint pointer(100, 40);
    QWidget* diagram = view.DrawingArea();
    const QPoint onDiagram = diagram->mapFrom(scroller->viewport(), pointer);
    QCOMPARE(onDiagram, QPoint(200, 100));

    QWheelEvent notch(onDiagram, diagram->mapToGlobal(onDiagram), {}, QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(diagram, &notch);
    QCOMPARE(view.Zoom(), 2.5);
    QCOMPARE(diagram->mapFrom(scroller->viewport(), pointer), QPoint(250, 125));
}

void TDiagramViewTest::plainWheelScrolls() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    view.ZoomControl()->SetZoom(2.0, QPoint());
    auto* scroller = view.findChild<QScrollArea*>(QStringLiteral("diagramScroller"));
    // The diagram lets a plain wheel pass to the viewport around it, where it scrolls; an event
    // sent by hand does not pass on, so it goes there directly.
    QWidget* viewport = scroller->viewport();
    QWheelEvent notch(QPointF(50, 50), viewport->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, -120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(viewport, &notch);
    QCOMPARE(view.Zoom(), 2.0);
    QVERIFY(scroller->verticalScrollBar()->value() > 0);
}

// A link that runs under a box it does not join hides which box it comes from or goes to.
void TDiagramViewTest::exampleLinksRunClearOfOtherBoxes() {
    TModalAnswers answers;
    TCaseView* view = Window->OpenFolder(QStringLiteral(KAVO_EXAMPLES "/Water/"));
    QVERIFY(view != nullptr);
    int links = 0;
    QStringList hidden;
    view->Case().ForEachPerception([&](kavo::TPerception& perception) {
        const kavo::TArena* arena = perception.AiAOwner() != nullptr ? perception.AiAOwner()->Arena
                                                                     : perception.ArenaOwner();
        for (const auto& link : perception.Links) {
            ++links;
            const kavo::TLinkEnds ends = kavo::LinkEndpoints(*link);
            const double dx = ends.End.X - ends.Start.X;
            const double dy = ends.End.Y - ends.Start.Y;
            const int steps = std::max(1, static_cast<int>(std::hypot(dx, dy)));
            for (const auto& box : perception.FiPs) {
                if (box.get() == link->FromFiP || box.get() == link->ToFiP) {
                    continue;
                }
                const double halfWidth = box->Factor->BoxWidth / 2.0;
                const double halfHeight = kavo::DrawnBoxHeight(*box) / 2.0;
                for (int i = 0; i <= steps; ++i) {
                    const double x = ends.Start.X + dx * i / steps;
                    const double y = ends.Start.Y + dy * i / steps;
                    if (std::abs(x - box->X) < halfWidth && std::abs(y - box->Y) < halfHeight) {
                        hidden << QStringLiteral("%1 in %2: %3 -> %4 under %5")
                                      .arg(QString::fromStdString(perception.OwnerName()),
                                           QString::fromStdString(arena->Name),
                                           QString::fromStdString(link->FromFiP->Factor->Name),
                                           QString::fromStdString(link->ToFiP->Factor->Name),
                                           QString::fromStdString(box->Factor->Name));
                        break;
                    }
                }
            }
        }
    });
    QVERIFY2(hidden.isEmpty(), qPrintable(hidden.join(QStringLiteral("; "))));
    QVERIFY(links > 0);
}

QTEST_MAIN(TDiagramViewTest)
#include "tst_diagramview.moc"
