#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseTree.h"
#include "app/TCaseView.h"
#include "app/TDiagramEditor.h"
#include "app/TDiagramView.h"
#include "app/TEditFactorDlg.h"
#include "app/TKAVO.h"
#include "app/TreeNodes.h"
#include "model/TActor.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "model/TProspect.h"

using kavo::TCaseView;
using kavo::TFiP;
using kavo::TKAVO;
using kavo::TLink;
using kavo::TPerception;
using kavo::test::NodeByPath;
using kavo::test::TModalAnswers;

// The pointer gestures and the commands of the diagram, each on the real drawing area of a case
// window, as undoable steps.
class TDiagramEditingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pressSelects_data();
    void pressSelects();
    void dragIsOneUndoStep();
    void drawingALinkAddsItThroughTheEditor_data();
    void drawingALinkAddsItThroughTheEditor();
    void linkGestureOverItsSourceAddsNothing();
    void rangeCellPresses_data();
    void rangeCellPresses();
    void addBoxesThroughTheirDialogs();
    void doubleClickOpensTheGoalOrProspectEditor();
    void goalOnAnActionIsRefused();
    void cutAndPasteBringBackTheLinks();
    void commandStatesFollowTheSelection();
    void gesturesScrollNearTheVisibleEdge_data();
    void gesturesScrollNearTheVisibleEdge();

  private:
    TPerception& OpenFarmers();
    TFiP* FiPNamed(const char* name) const;
    QWidget* Area() const { return View->DrawingArea(); }
    QToolButton* Button(const char* name) const {
        return View->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    QAction* Action(const char* name) const {
        return Window->findChild<QAction*>(QString::fromLatin1(name));
    }
    static QPoint At(const TFiP* fip) { return {fip->X, fip->Y}; }
    // Where the dialogs of the diagram open: the top-left corner of its visible part.
    QPoint DiagramCorner() const { return Area()->parentWidget()->mapToGlobal(QPoint(0, 0)); }

    QTemporaryDir SettingsFolder;
    std::unique_ptr<TKAVO> Window;
    TCaseView* View = nullptr;
    TPerception* Shown = nullptr;
};

void TDiagramEditingTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TDiagramEditingTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
}

void TDiagramEditingTest::cleanup() {
    View = nullptr;
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
    }
    Window.reset();
}

TPerception& TDiagramEditingTest::OpenFarmers() {
    View = Window->NewCase();
    kavo::test::FillWaterCase(View->Case());
    View->BuildTree();
    View->Tree()->setCurrentItem(NodeByPath(*View->Tree(), "Irrigation/Farmers"));
    Shown = View->CurrentPerception();
    return *Shown;
}

TFiP* TDiagramEditingTest::FiPNamed(const char* name) const {
    for (const auto& fip : Shown->FiPs) {
        if (fip->Factor->Name == name) {
            return fip.get();
        }
    }
    return nullptr;
}

void TDiagramEditingTest::pressSelects_data() {
    QTest::addColumn<QStringList>("presses");
    QTest::addColumn<QStringList>("selected");
    // A press names a box, "link" (Pumping -> Crop yield) or "space"; "+" before it holds Shift.
    QTest::newRow("box") << QStringList{"Crop yield"} << QStringList{"Crop yield"};
    QTest::newRow("another box replaces it")
        << QStringList{"Crop yield", "Income [Farm]"} << QStringList{"Income [Farm]"};
    QTest::newRow("shift adds") << QStringList{"Crop yield", "+Income [Farm]"}
                                << QStringList{"Crop yield", "Income [Farm]"};
    QTest::newRow("shift on a selected box takes it out")
        << QStringList{"Crop yield", "+Income [Farm]", "+Crop yield"}
        << QStringList{"Income [Farm]"};
    QTest::newRow("link") << QStringList{"link"} << QStringList{"link"};
    QTest::newRow("space clears") << QStringList{"Crop yield", "+Income [Farm]", "+space"}
                                  << QStringList{};
}

void TDiagramEditingTest::pressSelects() {
    QFETCH(QStringList, presses);
    QFETCH(QStringList, selected);
    TPerception& perception = OpenFarmers();
    for (QString press : presses) {
        const bool shift = press.startsWith(QLatin1Char('+'));
        press.remove(0, shift ? 1 : 0);
        QPoint at(700, 400);
        if (press == QStringLiteral("link")) {
            at = (At(FiPNamed("Pumping [Farm]")) + At(FiPNamed("Crop yield"))) / 2;
        } else if (press != QStringLiteral("space")) {
            at = At(FiPNamed(qPrintable(press)));
        }
        QTest::mouseClick(Area(), Qt::LeftButton, shift ? Qt::ShiftModifier : Qt::NoModifier, at);
    }
    QStringList names;
    for (const kavo::TPerceptionItem& item : perception.Selection) {
        if (TFiP* const* fip = std::get_if<TFiP*>(&item)) {
            names << QString::fromStdString((*fip)->Factor->Name);
        } else {
            names << QStringLiteral("link");
        }
    }
    QCOMPARE(names, selected);
    // Selecting changes nothing of the case.
    QCOMPARE(View->UndoStack()->count(), 0);
}

void TDiagramEditingTest::dragIsOneUndoStep() {
    OpenFarmers();
    TFiP* yield = FiPNamed("Crop yield");
    TFiP* income = FiPNamed("Income [Farm]");
    const QPoint yieldAt = At(yield);
    const QPoint incomeAt = At(income);
    // The press that adds the second box with Shift starts the move of both.
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, yieldAt);
    QTest::mousePress(Area(), Qt::LeftButton, Qt::ShiftModifier, incomeAt);
    for (int step = 1; step <= 5; ++step) {
        QTest::mouseMove(Area(), incomeAt + QPoint(10 * step, 4 * step));
    }
    QTest::mouseRelease(Area(), Qt::LeftButton, Qt::NoModifier, incomeAt + QPoint(50, 20));
    QCOMPARE(At(yield), yieldAt + QPoint(50, 20));
    QCOMPARE(At(income), incomeAt + QPoint(50, 20));
    QCOMPARE(View->UndoStack()->count(), 1);
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Move 2 factors"));
    QVERIFY(View->Case().Modified);
    Action("actionUndo")->trigger();
    QCOMPARE(At(yield), yieldAt);
    QCOMPARE(At(income), incomeAt);
    QVERIFY(!View->Case().Modified);
}

void TDiagramEditingTest::drawingALinkAddsItThroughTheEditor_data() {
    QTest::addColumn<bool>("withAlt");
    QTest::newRow("link mode") << false;
    QTest::newRow("alt") << true;
}

void TDiagramEditingTest::drawingALinkAddsItThroughTheEditor() {
    QFETCH(bool, withAlt);
    TPerception& perception = OpenFarmers();
    TFiP* level = FiPNamed("Groundwater level");
    TFiP* income = FiPNamed("Income [Farm]");
    const std::size_t links = perception.Links.size();
    if (!withAlt) {
        Button("LinkBtn")->click();
        QVERIFY(Button("LinkBtn")->isChecked());
    }
    // The editor opens on a new link of level +2; Left makes it +1.
    QPoint placed;
    TModalAnswers answers({[&placed](QWidget* editor) {
        placed = editor->pos();
        QTest::keyClick(editor, Qt::Key_Left);
        QTest::keyClick(editor, Qt::Key_Return);
    }});
    QTest::mousePress(Area(), Qt::LeftButton, withAlt ? Qt::AltModifier : Qt::NoModifier,
                      At(level));
    QVERIFY(Button("LinkBtn")->isChecked());
    QTest::mouseMove(Area(), At(income));
    QTest::mouseRelease(Area(), Qt::LeftButton, Qt::NoModifier, At(income));
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen[0].Caption, QStringLiteral("Link"));
    QCOMPARE(placed, DiagramCorner());
    QCOMPARE(perception.Links.size(), links + 1);
    const TLink* added = perception.Links.back().get();
    QCOMPARE(added->FromFiP, level);
    QCOMPARE(added->ToFiP, income);
    QCOMPARE(int(added->Level), 1);
    QVERIFY(Button("CursorBtn")->isChecked());
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Add link"));
    Action("actionUndo")->trigger();
    QCOMPARE(perception.Links.size(), links);
    QVERIFY(income->InLinks.size() == 1);
}

void TDiagramEditingTest::linkGestureOverItsSourceAddsNothing() {
    TPerception& perception = OpenFarmers();
    TFiP* level = FiPNamed("Groundwater level");
    TModalAnswers answers;
    QTest::mousePress(Area(), Qt::LeftButton, Qt::AltModifier, At(level));
    QTest::mouseRelease(Area(), Qt::LeftButton, Qt::NoModifier, At(level) + QPoint(2, 0));
    QTest::mousePress(Area(), Qt::LeftButton, Qt::AltModifier, At(level));
    QTest::mouseRelease(Area(), Qt::LeftButton, Qt::NoModifier, QPoint(700, 400));
    QVERIFY(answers.Seen.isEmpty());
    QCOMPARE(View->UndoStack()->count(), 0);
    QCOMPARE(perception.Links.size(), std::size_t(3));
}

void TDiagramEditingTest::rangeCellPresses_data() {
    QTest::addColumn<int>("keys");
    QTest::addColumn<int>("level");
    QTest::addColumn<bool>("inRange");
    QTest::addColumn<int>("chosen");
    QTest::newRow("plain press toggles")
        << int(Qt::NoModifier) << 1 << false << int(kavo::kNoLevel);
    QTest::newRow("ctrl chooses") << int(Qt::ControlModifier) << 1 << true << 1;
    QTest::newRow("ctrl on level 0 chooses it") << int(Qt::ControlModifier) << 0 << true << 0;
}

void TDiagramEditingTest::rangeCellPresses() {
    QFETCH(int, keys);
    QFETCH(int, level);
    QFETCH(bool, inRange);
    QFETCH(int, chosen);
    OpenFarmers();
    TFiP* pumping = FiPNamed("Pumping [Farm]");
    const int top = pumping->Y - pumping->Factor->BoxHeight / 2;
    const QPoint cell(pumping->X - 39 + 11 * (level + 3) + 5, top + 5);
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::KeyboardModifiers(keys), cell);
    QCOMPARE(pumping->ActionRange[level], inRange);
    QCOMPARE(int(pumping->ChosenLevel), chosen);
    QVERIFY(View->Case().Modified);
    Action("actionUndo")->trigger();
    QVERIFY(pumping->ActionRange[level]);
    QCOMPARE(int(pumping->ChosenLevel), int(kavo::kNoLevel));
}

void TDiagramEditingTest::addBoxesThroughTheirDialogs() {
    TPerception& perception = OpenFarmers();
    kavo::TCase& c = View->Case();
    const std::size_t boxes = perception.FiPs.size();
    const int actors = c.ActorList.Size();
    // A factor typed with blanks around it; an action of an actor typed by its short name; an
    // attribute of an actor the case does not know yet.
    QPoint placed;
    TModalAnswers answers({
        [&placed](QWidget* dialog) {
            placed = dialog->pos();
            QTest::keyClicks(dialog->findChild<QComboBox*>("NameBox")->lineEdit(), "  Rainfall ");
            QTest::keyClick(dialog->findChild<QComboBox*>("NameBox")->lineEdit(), Qt::Key_Return);
        },
        [](QWidget* dialog) {
            auto* name = dialog->findChild<QComboBox*>("NameBox")->lineEdit();
            QTest::keyClicks(name, "Subsidy");
            QTest::keyClick(name, Qt::Key_Return);
            auto* actor = dialog->findChild<QComboBox*>("ActorNameBox")->lineEdit();
            QTest::keyClicks(actor, "Board");
            QTest::keyClick(actor, Qt::Key_Return);
        },
        [](QWidget* dialog) {
            auto* name = dialog->findChild<QComboBox*>("NameBox")->lineEdit();
            QTest::keyClicks(name, "Savings");
            QTest::keyClick(name, Qt::Key_Return);
            auto* actor = dialog->findChild<QComboBox*>("ActorNameBox")->lineEdit();
            QTest::keyClicks(actor, "Bank");
            QTest::keyClick(actor, Qt::Key_Return);
        },
    });
    Button("FiPBtn")->click();
    Button("ActionBtn")->click();
    Button("AttributeBtn")->click();
    QCOMPARE(answers.Seen.size(), 3);
    QCOMPARE(answers.Seen[0].Caption, QStringLiteral("Factor"));
    QCOMPARE(placed, DiagramCorner());
    QCOMPARE(perception.FiPs.size(), boxes + 3);
    QVERIFY(FiPNamed("Rainfall") != nullptr);
    QVERIFY(FiPNamed("Subsidy [Board]") != nullptr);
    QVERIFY(FiPNamed("Subsidy [Board]")->Factor->IsAction);
    QVERIFY(FiPNamed("Savings [Bank]") != nullptr);
    QCOMPARE(c.ActorList.Size(), actors + 1);
    // Each new box comes 10 pixels further down and right.
    QCOMPARE(FiPNamed("Subsidy [Board]")->X - FiPNamed("Subsidy [Board]")->Factor->BoxWidth,
             FiPNamed("Rainfall")->X - FiPNamed("Rainfall")->Factor->BoxWidth + 10);
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Add attribute"));
    Action("actionUndo")->trigger();
    QCOMPARE(c.ActorList.Size(), actors);
    QVERIFY(c.FactorList.FindByName("Savings [Bank]") < 0);
    Action("actionUndo")->trigger();
    Action("actionUndo")->trigger();
    QCOMPARE(perception.FiPs.size(), boxes);
    QVERIFY(!c.Modified);
}

void TDiagramEditingTest::doubleClickOpensTheGoalOrProspectEditor() {
    TPerception& perception = OpenFarmers();
    TFiP* income = FiPNamed("Income [Farm]");
    TFiP* level = FiPNamed("Groundwater level");
    // Income has a goal (level +2, priority 3): Left, then Down; Groundwater level has only a
    // prospect: Shift+Right makes it level 0 with uncertainty 1... Right keeps the uncertainty.
    TModalAnswers answers({
        [](QWidget* editor) {
            QTest::keyClick(editor, Qt::Key_Left);
            QTest::keyClick(editor, Qt::Key_Down);
            QTest::keyClick(editor, Qt::Key_Return);
        },
        [](QWidget* editor) {
            QTest::keyClick(editor, Qt::Key_Right);
            QTest::keyClick(editor, Qt::Key_Up);
            QTest::keyClick(editor, Qt::Key_Return);
        },
        [](QWidget* editor) { QTest::keyClick(editor, Qt::Key_Escape); },
    });
    QTest::mouseDClick(Area(), Qt::LeftButton, Qt::NoModifier, At(income));
    QTest::mouseDClick(Area(), Qt::LeftButton, Qt::NoModifier, At(level));
    QTest::mouseDClick(Area(), Qt::LeftButton, Qt::NoModifier, At(FiPNamed("Crop yield")));
    QCOMPARE(answers.Seen.size(), 3);
    QCOMPARE(answers.Seen[0].Caption, QStringLiteral("Goal"));
    QCOMPARE(answers.Seen[1].Caption, QStringLiteral("Prospect"));
    QCOMPARE(answers.Seen[2].Caption, QStringLiteral("Goal"));
    const kavo::TGoal* goal = perception.GoalOf(income);
    QCOMPARE(int(goal->Level), 1);
    QCOMPARE(int(goal->Priority), 2);
    QCOMPARE(goal->Utilities, View->Case().StdUtilityVectors.Row(2, 1));
    const kavo::TProspect* prospect = perception.ProspectOf(level);
    QCOMPARE(int(prospect->Level), 0);
    QCOMPARE(int(prospect->Uncertainty), 2);
    QVERIFY(perception.GoalOf(FiPNamed("Crop yield")) == nullptr);
    QCOMPARE(View->UndoStack()->count(), 2);
    Action("actionUndo")->trigger();
    Action("actionUndo")->trigger();
    QCOMPARE(int(perception.GoalOf(income)->Level), 2);
    QCOMPARE(int(perception.ProspectOf(level)->Level), -1);
}

void TDiagramEditingTest::goalOnAnActionIsRefused() {
    TPerception& perception = OpenFarmers();
    TModalAnswers answers;
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, At(FiPNamed("Pumping [Farm]")));
    Action("actionDefineGoal")->trigger();
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen[0].Text, QStringLiteral("Actions can never be goals"));
    QCOMPARE(perception.Goals.size(), std::size_t(1));
}

void TDiagramEditingTest::cutAndPasteBringBackTheLinks() {
    TPerception& perception = OpenFarmers();
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, At(FiPNamed("Crop yield")));
    Action("actionCut")->trigger();
    QVERIFY(FiPNamed("Crop yield") == nullptr);
    QCOMPARE(perception.Links.size(), std::size_t(1));
    QVERIFY(perception.Selection.empty());
    QVERIFY(Button("PasteBtn")->isEnabled());
    Action("actionPaste")->trigger();
    QVERIFY(FiPNamed("Crop yield") != nullptr);
    QCOMPARE(perception.Links.size(), std::size_t(3));
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Paste"));
    Action("actionUndo")->trigger();
    Action("actionUndo")->trigger();
    QCOMPARE(perception.Links.size(), std::size_t(3));
    QVERIFY(!View->Case().Modified);
}

void TDiagramEditingTest::commandStatesFollowTheSelection() {
    OpenFarmers();
    QVERIFY(!Button("GoalBtn")->isEnabled());
    QVERIFY(!Button("CutBtn")->isEnabled());
    QVERIFY(Button("FiPBtn")->isEnabled());
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, At(FiPNamed("Income [Farm]")));
    QVERIFY(Button("GoalBtn")->isEnabled());
    QVERIFY(Button("ClearGPBtn")->isEnabled());
    QVERIFY(Button("CutBtn")->isEnabled());
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::ShiftModifier, At(FiPNamed("Crop yield")));
    QVERIFY(!Button("GoalBtn")->isEnabled());
    QVERIFY(Button("ClearGPBtn")->isEnabled());
    Button("ClearGPBtn")->click();
    QVERIFY(Shown->Goals.empty());
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Erase goals and prospects"));
    // An arena shows its analyst view greyed: nothing can be edited.
    View->Tree()->setCurrentItem(NodeByPath(*View->Tree(), "Irrigation"));
    QVERIFY(!Button("FiPBtn")->isEnabled());
    QVERIFY(!Button("CutBtn")->isEnabled());
}

void TDiagramEditingTest::gesturesScrollNearTheVisibleEdge_data() {
    QTest::addColumn<bool>("linking");
    QTest::addColumn<QPoint>("towards");
    QTest::newRow("moving to the right") << false << QPoint(1, 0);
    QTest::newRow("moving down") << false << QPoint(0, 1);
    QTest::newRow("linking to the right") << true << QPoint(1, 0);
    QTest::newRow("linking down") << true << QPoint(0, 1);
}

void TDiagramEditingTest::gesturesScrollNearTheVisibleEdge() {
    QFETCH(bool, linking);
    QFETCH(QPoint, towards);
    // A link released on a box would open the link editor: it is cancelled.
    TModalAnswers answers;
    OpenFarmers();
    auto* area = View->findChild<QScrollArea*>(QStringLiteral("diagramScroller"));
    QScrollBar* bar = towards.x() != 0 ? area->horizontalScrollBar() : area->verticalScrollBar();
    QVERIFY(bar->maximum() > 16);
    if (linking) {
        Button("LinkBtn")->click();
    }
    const QPoint start = At(FiPNamed("Pumping [Farm]"));
    const QSize visible = area->viewport()->size();
    // 5 pixels inside the right or the lower edge, then further on by as much as it scrolled.
    const QPoint nearEdge(towards.x() != 0 ? visible.width() - 5 : start.x(),
                          towards.y() != 0 ? visible.height() - 5 : start.y());
    QTest::mousePress(Area(), Qt::LeftButton, Qt::NoModifier, start);
    QTest::mouseMove(Area(), nearEdge);
    QCOMPARE(bar->value(), 8);
    QTest::mouseMove(Area(), nearEdge + towards * 8);
    QCOMPARE(bar->value(), 16);
    // Away from the edge nothing scrolls.
    QTest::mouseMove(Area(), nearEdge - towards * 60);
    QCOMPARE(bar->value(), 16);
    QTest::mouseRelease(Area(), Qt::LeftButton, Qt::NoModifier, nearEdge - towards * 60);
    // A plain pointer move near the edge, with no gesture under way, leaves the view.
    QTest::mouseMove(Area(), nearEdge + towards * 16);
    QCOMPARE(bar->value(), 16);
}

QTEST_MAIN(TDiagramEditingTest)
#include "tst_diagramediting.moc"
