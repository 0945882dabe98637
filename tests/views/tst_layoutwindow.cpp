#include <QApplication>
#include <QSettings>
#include <QSlider>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseTree.h"
#include "app/TCaseView.h"
#include "app/TKAVO.h"
#include "editing/CaseEdits.h"
#include "editing/TEdit.h"
#include "views/TLayoutControl.h"

using kavo::TCaseView;
using kavo::TKAVO;
using kavo::TLayoutControl;
using kavo::TNodeKind;
using kavo::TPerception;

namespace {

// Where the boxes of a perception are.
QList<QPoint> Places(const TPerception& perception) {
    QList<QPoint> places;
    for (const auto& fip : perception.FiPs) {
        places << QPoint(fip->X, fip->Y);
    }
    return places;
}

}  // namespace

class TLayoutWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void windowHasItsControls();
    void startMovesTheBoxesEveryTickAndStopEndsTheRun();
    void theTimerDrivesTheAnimation();
    void aRunIsOneUndoableStep();
    void selectingAnotherNodeStopsTheLayout();
    void closingTheWindowReleasesStart();
    void deletingThePerceptionClosesTheWindow();
    void closingTheCaseClosesTheWindow();
    void undoingTheCreationOfItsPerceptionClosesTheWindow();

  private:
    // Shows the farmers' perception, with its boxes piled up, and opens the layout window on it.
    TPerception& OpenOnFarmers();
    void Select(TNodeKind kind, const void* object) { View->Tree()->SelectNode(kind, object); }

    QTemporaryDir SettingsFolder;
    std::unique_ptr<TKAVO> Window;
    TCaseView* View = nullptr;
    TLayoutControl* Layout = nullptr;
};

void TLayoutWindowTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TLayoutWindowTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    Layout = &Window->LayoutControl();
    View = Window->NewCase();
    kavo::test::FillWaterCase(View->Case());
    View->BuildTree();
}

void TLayoutWindowTest::cleanup() {
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
    }
    Window.reset();
    View = nullptr;
}

TPerception& TLayoutWindowTest::OpenOnFarmers() {
    kavo::TAiA* farmers = View->Case().ArenaList.Find("Irrigation")->FindActor("Farmers");
    for (const auto& fip : farmers->Perception->FiPs) {
        fip->X = 200 + static_cast<int>(fip->Factor->Name.size());
        fip->Y = 150;
    }
    Select(TNodeKind::nkAiA, farmers);
    QToolButton* button = View->findChild<QToolButton*>(QStringLiteral("LayoutBtn"));
    [&] { QVERIFY(button->isEnabled()); }();
    QTest::mouseClick(button, Qt::LeftButton);
    return *farmers->Perception;
}

void TLayoutWindowTest::windowHasItsControls() {
    OpenOnFarmers();
    QVERIFY(Layout->isVisible());
    QCOMPARE(Layout->windowTitle(), QStringLiteral("Layout"));
    QCOMPARE(Layout->PlayButton()->toolTip(), QStringLiteral("Start"));
    QCOMPARE(Layout->StopButton()->toolTip(), QStringLiteral("Stop"));
    QCOMPARE(Layout->RewindButton()->toolTip(), QStringLiteral("Reset"));
    QCOMPARE(Layout->RecordButton()->toolTip(), QStringLiteral("Save layout"));
    QVERIFY(Layout->RecordButton()->isEnabled());
    QCOMPARE(Layout->EdgeLengthControl()->minimum(), 50);
    QCOMPARE(Layout->EdgeLengthControl()->maximum(), 250);
    QCOMPARE(Layout->EdgeLengthControl()->value(), 100);
    // The rectangle is the whole drawing area, in tens of pixels.
    QCOMPARE(Layout->WidthControl()->minimum(), 20);
    QCOMPARE(Layout->WidthControl()->value(), View->Case().MaxWidth / 10);
    QCOMPARE(Layout->HeightControl()->value(), View->Case().MaxHeight / 10);
    QCOMPARE(Layout->Settings().MaxX, View->Case().MaxWidth / 10 * 10);
    Layout->WidthControl()->setValue(40);
    QCOMPARE(Layout->Settings().MaxX, 400);
    Layout->EdgeLengthControl()->setValue(147);
    QCOMPARE(Layout->Settings().EdgeLength, 150);
    QVERIFY(Layout->Timer().isActive());
    QCOMPARE(Layout->Timer().interval(), 100);
}

void TLayoutWindowTest::startMovesTheBoxesEveryTickAndStopEndsTheRun() {
    TPerception& farmers = OpenOnFarmers();
    const QList<QPoint> before = Places(farmers);
    QVERIFY(!View->Case().Modified);
    QTest::mouseClick(Layout->PlayButton(), Qt::LeftButton);
    QVERIFY(Layout->PlayButton()->isChecked());
    for (int tick = 0; tick < 20; ++tick) {
        Layout->Tick();
    }
    QVERIFY(Places(farmers) != before);
    for (const QPoint& place : Places(farmers)) {
        QVERIFY(place.x() >= Layout->Settings().MinX && place.x() <= Layout->Settings().MaxX);
        QVERIFY(place.y() >= Layout->Settings().MinY && place.y() <= Layout->Settings().MaxY);
    }
    QTest::mouseClick(Layout->StopButton(), Qt::LeftButton);
    QVERIFY(!Layout->PlayButton()->isChecked());
    for (const auto& fip : farmers.FiPs) {
        QCOMPARE(fip->LayoutVX, 0.0);
        QCOMPARE(fip->LayoutVY, 0.0);
    }
    // A run that moved boxes is a change of the case.
    QVERIFY(View->Case().Modified);
    const QList<QPoint> stopped = Places(farmers);
    Layout->Tick();
    QCOMPARE(Places(farmers), stopped);
}

void TLayoutWindowTest::theTimerDrivesTheAnimation() {
    TPerception& farmers = OpenOnFarmers();
    const QList<QPoint> before = Places(farmers);
    QTest::mouseClick(Layout->PlayButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(Places(farmers) != before, 5000);
}

void TLayoutWindowTest::aRunIsOneUndoableStep() {
    TPerception& farmers = OpenOnFarmers();
    const QList<QPoint> before = Places(farmers);
    QUndoStack* stack = View->UndoStack();
    const int steps = stack->count();
    QAction* undo = Window->findChild<QAction*>(QStringLiteral("actionUndo"));
    QAction* redo = Window->findChild<QAction*>(QStringLiteral("actionRedo"));
    QTest::mouseClick(Layout->PlayButton(), Qt::LeftButton);
    for (int tick = 0; tick < 10; ++tick) {
        Layout->Tick();
    }
    QCOMPARE(stack->count(), steps + 1);
    QCOMPARE(undo->text(), QStringLiteral("&Undo Automatic layout"));
    // "Save layout" keeps the boxes as they are as a step of their own; the run goes on.
    const QList<QPoint> saved = Places(farmers);
    QTest::mouseClick(Layout->RecordButton(), Qt::LeftButton);
    for (int tick = 0; tick < 5; ++tick) {
        Layout->Tick();
    }
    QCOMPARE(stack->count(), steps + 2);
    const QList<QPoint> last = Places(farmers);
    QVERIFY(last != saved);
    // Undo ends the run, so that the next tick does not move the boxes again.
    undo->trigger();
    QVERIFY(!Layout->PlayButton()->isChecked());
    QCOMPARE(Places(farmers), saved);
    Layout->Tick();
    QCOMPARE(Places(farmers), saved);
    undo->trigger();
    QCOMPARE(Places(farmers), before);
    QVERIFY(!View->Case().Modified);
    redo->trigger();
    redo->trigger();
    QCOMPARE(Places(farmers), last);
    QVERIFY(View->Case().Modified);
}

void TLayoutWindowTest::selectingAnotherNodeStopsTheLayout() {
    TPerception& farmers = OpenOnFarmers();
    QTest::mouseClick(Layout->PlayButton(), Qt::LeftButton);
    Layout->Tick();
    kavo::TAiA* board = View->Case().ArenaList.Find("Irrigation")->FindActor("Water board");
    Select(TNodeKind::nkAiA, board);
    QVERIFY(!Layout->PlayButton()->isChecked());
    QCOMPARE(Layout->Target(), board->Perception.get());
    const QList<QPoint> left = Places(farmers);
    Layout->Tick();
    QCOMPARE(Places(farmers), left);
    // On the arena itself the diagram is greyed: nothing to lay out.
    Select(TNodeKind::nkArena, View->Case().ArenaList.Find("Irrigation"));
    QVERIFY(Layout->Target() == nullptr);
    QVERIFY(!Layout->PlayButton()->isEnabled());
}

void TLayoutWindowTest::closingTheWindowReleasesStart() {
    OpenOnFarmers();
    QTest::mouseClick(Layout->PlayButton(), Qt::LeftButton);
    Layout->Tick();
    Layout->close();
    QVERIFY(!Layout->isVisible());
    QVERIFY(!Layout->PlayButton()->isChecked());
    QVERIFY(View->Case().Modified);
}

void TLayoutWindowTest::deletingThePerceptionClosesTheWindow() {
    OpenOnFarmers();
    QTest::mouseClick(Layout->PlayButton(), Qt::LeftButton);
    Layout->Tick();
    kavo::test::TModalAnswers answers({kavo::test::Press(QMessageBox::Yes)});
    View->DeleteItem();
    QCOMPARE(answers.Seen.size(), 1);
    QVERIFY(!Layout->isVisible());
    QVERIFY(Layout->Target() == nullptr);
    Layout->Tick();
}

void TLayoutWindowTest::closingTheCaseClosesTheWindow() {
    OpenOnFarmers();
    View->Case().Modified = false;
    Window->findChild<QAction*>(QStringLiteral("actionClose"))->trigger();
    QVERIFY(Window->CaseViews().isEmpty());
    QVERIFY(!Layout->isVisible());
    QVERIFY(Layout->Target() == nullptr);
}

void TLayoutWindowTest::undoingTheCreationOfItsPerceptionClosesTheWindow() {
    kavo::TEdit edit;
    kavo::TAiA* added = kavo::AddActorToArena(
        edit, View->Case(), *View->Case().ArenaList.Find("Irrigation"), "Anglers", "Anglers");
    QVERIFY(added != nullptr);
    QVERIFY(View->Perform(std::move(edit)));
    Select(TNodeKind::nkAiA, added);
    QTest::mouseClick(View->findChild<QToolButton*>(QStringLiteral("LayoutBtn")), Qt::LeftButton);
    QCOMPARE(Layout->Target(), added->Perception.get());
    QTest::mouseClick(Layout->PlayButton(), Qt::LeftButton);
    Window->findChild<QAction*>(QStringLiteral("actionUndo"))->trigger();
    QVERIFY(View->Case().ArenaList.Find("Irrigation")->FindActor("Anglers") == nullptr);
    QVERIFY(!Layout->isVisible());
    QVERIFY(Layout->Target() == nullptr);
    Layout->Tick();
}

QTEST_MAIN(TLayoutWindowTest)
#include "tst_layoutwindow.moc"
