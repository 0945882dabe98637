#include <QAbstractItemDelegate>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseStatusBar.h"
#include "app/TCaseTree.h"
#include "app/TCaseView.h"
#include "app/TDiagramView.h"
#include "app/TKAVO.h"
#include "app/TUserSettings.h"
#include "app/TreeNodes.h"
#include "model/TFactor.h"

using kavo::TCaseStatusBar;
using kavo::TCaseTree;
using kavo::TCaseView;
using kavo::TKAVO;
using kavo::TNodeKind;
using kavo::TTreeMode;
using kavo::test::NodeByPath;
using kavo::test::Press;
using kavo::test::TModalAnswers;
using kavo::test::TreeLines;

namespace {

// The editor of an in-place edit under way; one that was closed may wait for its deletion.
QLineEdit* OpenEditor(const QTreeWidget& tree) {
    for (QLineEdit* editor : tree.viewport()->findChildren<QLineEdit*>()) {
        if (editor->isVisible()) {
            return editor;
        }
    }
    return nullptr;
}

QToolButton* Button(const TCaseView& view, const char* name) {
    return view.findChild<QToolButton*>(QString::fromLatin1(name));
}

}  // namespace

class TCaseWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void layoutHasItsPartsAndHints();
    void arenasViewListsArenasAnalystViewsAndActors();
    void dictionaryViewListsFactorsAndActorsWithTheirFactors();
    void roundArenasListActorsByPriorityAndKeepTheirNames();
    void selectionChoosesArenaActorAndDiagram_data();
    void selectionChoosesArenaActorAndDiagram();
    void diagramDrawsTheSelectedPerception();
    void renameInPlace_data();
    void renameInPlace();
    void renameConceptStartsEditingTheSelectedNode();
    void dictionaryShowsBlanksButRenamesTheStoredName();
    void deleteAsksAndRemoves_data();
    void deleteAsksAndRemoves();
    void deleteBeepsOnAnalystView();
    void commentEditAcceptAndCancel();
    void leavingAChangedCommentAsks_data();
    void leavingAChangedCommentAsks();
    void commentTargetDescriptions_data();
    void commentTargetDescriptions();
    void zoomPressRanges_data();
    void zoomPressRanges();
    void priorityCommandsSwapActorsInARound();
    void lookForCyclesSelectsTheFirstCycle();
    void reportCommandsWarnWhenNothingIsShown();

  private:
    TCaseView& OpenFixture();
    void Select(const QString& path);
    // Edits the node in place as the user would and waits until the window has handled the edit.
    void TypeInto(const QString& path, const QString& text);

    QTemporaryDir SettingsFolder;
    std::unique_ptr<TKAVO> Window;
    TCaseView* View = nullptr;
};

void TCaseWindowTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TCaseWindowTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
}

void TCaseWindowTest::cleanup() {
    View = nullptr;
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
    }
    Window.reset();
}

TCaseView& TCaseWindowTest::OpenFixture() {
    View = Window->NewCase();
    kavo::test::FillWaterCase(View->Case());
    View->setWindowTitle(QString::fromStdString(View->Case().Name));
    View->BuildTree();
    return *View;
}

void TCaseWindowTest::Select(const QString& path) {
    QTreeWidgetItem* node = NodeByPath(*View->Tree(), path);
    QVERIFY2(node != nullptr, qPrintable(path));
    View->Tree()->setCurrentItem(node);
}

void TCaseWindowTest::TypeInto(const QString& path, const QString& text) {
    Select(path);
    TCaseTree* tree = View->Tree();
    QVERIFY(tree->EditSelected());
    QLineEdit* editor = OpenEditor(*tree);
    QVERIFY(editor != nullptr);
    editor->setText(text);
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(20);
}

void TCaseWindowTest::layoutHasItsPartsAndHints() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    QVERIFY(view.parentWidget()->isMaximized());
    QCOMPARE(view.Zoom(), 1.0);
    const struct {
        const char* Name;
        const char* Hint;
        bool Enabled;
    } buttons[] = {
        {"TreeTypeBtn", "Switch to dictionary view", true},
        {"ArenaBtn", "Add arena", true},
        {"ActorBtn", "Add actor to arena", false},
        {"TagBtn", "Tag item", false},
        {"DeleteBtn", "Delete item", false},
        {"InfoBtn", "Show quick analysis", false},
        {"CommentBtn", "Edit comment", true},
        {"SaveEditBtn", "Accept changes", false},
        {"CancelEditBtn", "Cancel editing", false},
        {"LayoutBtn", "Automatic layout", false},
        {"TagSelectBtn", "Define groups", true},
        {"SetAnalysisBtn", "Configure analysis", true},
        {"AnalyzeBtn", "Perform analysis", true},
        {"SaveBtn", "Save report to file", true},
        {"PrintBtn", "Print report", true},
        {"ExplorerBtn", "View report in the system browser", true},
    };
    for (const auto& expected : buttons) {
        QToolButton* button = Button(view, expected.Name);
        QVERIFY2(button != nullptr, expected.Name);
        QCOMPARE(button->toolTip(), QString::fromLatin1(expected.Hint));
        QVERIFY2(button->isEnabled() == expected.Enabled, expected.Name);
        QCOMPARE(button->size(), QSize(25, 24));
    }
    QVERIFY(!Button(view, "Cancelbtn")->isVisible());
    QVERIFY(view.CommentBox()->isReadOnly());
    QCOMPARE(view.CommentBox()->toPlainText(),
             QStringLiteral("A small case for the window tests."));
    QCOMPARE(view.DrawingArea()->size(), QSize(view.Case().MaxWidth, view.Case().MaxHeight));
    QVERIFY(answers.Seen.isEmpty());
}

void TCaseWindowTest::arenasViewListsArenasAnalystViewsAndActors() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    QCOMPARE(TreeLines(*view.Tree()), QStringList({
                                          "Water test",
                                          "  Drinking water",
                                          "    *Analyst view",
                                          "    Citizens",
                                          "    Water board",
                                          "  Irrigation",
                                          "    *Analyst view",
                                          "    Farmers",
                                          "    Water board",
                                      }));
    QCOMPARE(view.Tree()->currentItem(), view.Tree()->topLevelItem(0));
    QVERIFY(view.Tree()->topLevelItem(0)->child(0)->isExpanded());
}

void TCaseWindowTest::dictionaryViewListsFactorsAndActorsWithTheirFactors() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    Button(view, "TreeTypeBtn")->click();
    QCOMPARE(view.Tree()->Mode(), TTreeMode::tmDictionary);
    QCOMPARE(Button(view, "TreeTypeBtn")->toolTip(),
             QStringLiteral("Switch to arenas and actors view"));
    // Attributes before actions; owned factors without their actor's short name.
    QCOMPARE(TreeLines(*view.Tree()), QStringList({
                                          "Water test",
                                          "  Crop yield",
                                          "  Groundwater level",
                                          "  Water price",
                                          "  Citizens",
                                          "  Farmers",
                                          "    Income",
                                          "    Pumping",
                                          "  Water board",
                                          "    Levy",
                                      }));
    QCOMPARE(TCaseTree::KindOf(NodeByPath(*view.Tree(), "Farmers/Income")), TNodeKind::nkAttribute);
    QCOMPARE(TCaseTree::KindOf(NodeByPath(*view.Tree(), "Farmers/Pumping")), TNodeKind::nkAction);

    Select("Groundwater level");
    QVERIFY(view.SelectedArena() == nullptr);
    QVERIFY(view.CurrentPerception() == nullptr);
    QVERIFY(Button(view, "DeleteBtn")->isEnabled());

    Button(view, "TreeTypeBtn")->click();
    QCOMPARE(view.Tree()->Mode(), TTreeMode::tmArenas);
    QCOMPARE(Button(view, "TreeTypeBtn")->toolTip(), QStringLiteral("Switch to dictionary view"));
}

void TCaseWindowTest::roundArenasListActorsByPriorityAndKeepTheirNames() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    kavo::TCase& c = view.Case();
    // Round arenas are made by the simulation, which names them itself.
    kavo::TArena* round = c.FindOrCreateArena("Round");
    round->Name = "*Round  1";
    c.ArenaList.Sort();
    c.AddActorToArena(*round, "Water board", "Board")->Priority = 1;
    c.AddActorToArena(*round, "Farmers", "Farm")->Priority = 3;
    c.AddActorToArena(*round, "Citizens", "Cit")->Priority = 2;
    view.BuildTree();

    QTreeWidgetItem* arenaNode = NodeByPath(*view.Tree(), "*Round  1");
    QVERIFY(arenaNode != nullptr);
    QCOMPARE(arenaNode->child(1)->text(0), QStringLiteral("Water board"));
    QCOMPARE(arenaNode->child(2)->text(0), QStringLiteral("Citizens"));
    QCOMPARE(arenaNode->child(3)->text(0), QStringLiteral("Farmers"));
    QVERIFY(!(arenaNode->flags() & Qt::ItemIsEditable));
    QVERIFY(NodeByPath(*view.Tree(), "Irrigation")->flags() & Qt::ItemIsEditable);
    QVERIFY(!(NodeByPath(*view.Tree(), "Irrigation/*Analyst view")->flags() & Qt::ItemIsEditable));
}

void TCaseWindowTest::selectionChoosesArenaActorAndDiagram_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("arena");
    QTest::addColumn<QString>("actor");
    QTest::addColumn<bool>("diagramEnabled");
    QTest::addColumn<bool>("deletable");
    QTest::newRow("root") << ""
                          << ""
                          << "" << false << false;
    QTest::newRow("arena shows its analyst view greyed") << "Irrigation"
                                                         << "Irrigation"
                                                         << "" << false << true;
    QTest::newRow("analyst view") << "Irrigation/*Analyst view"
                                  << "Irrigation"
                                  << "" << true << false;
    QTest::newRow("actor") << "Irrigation/Farmers"
                           << "Irrigation"
                           << "Farmers" << true << true;
}

void TCaseWindowTest::selectionChoosesArenaActorAndDiagram() {
    QFETCH(QString, path);
    QFETCH(QString, arena);
    QFETCH(QString, actor);
    QFETCH(bool, diagramEnabled);
    QFETCH(bool, deletable);

    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    Select(path);
    QCOMPARE(view.SelectedArena() ? QString::fromStdString(view.SelectedArena()->Name) : QString(),
             arena);
    QCOMPARE(
        view.SelectedAiA() ? QString::fromStdString(view.SelectedAiA()->Actor->Name) : QString(),
        actor);
    kavo::TPerception* expected = view.SelectedAiA()     ? view.SelectedAiA()->Perception.get()
                                  : view.SelectedArena() ? view.SelectedArena()->AnalystView.get()
                                                         : nullptr;
    QCOMPARE(view.DrawingArea()->Perception(), expected);
    QCOMPARE(view.DrawingArea()->DiagramEnabled(), diagramEnabled);
    QCOMPARE(Button(view, "DeleteBtn")->isEnabled(), deletable);

    const auto* del = Window->findChild<QAction*>(QStringLiteral("actionDeleteConcept"));
    const auto* rename = Window->findChild<QAction*>(QStringLiteral("actionRenameConcept"));
    const auto* cycles = Window->findChild<QAction*>(QStringLiteral("actionLookForCycles"));
    QCOMPARE(del->isEnabled(), deletable);
    QCOMPARE(rename->isEnabled(), deletable || path.isEmpty());
    QCOMPARE(cycles->isEnabled(), diagramEnabled);
}

void TCaseWindowTest::diagramDrawsTheSelectedPerception() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    Select("");
    QVERIFY(view.DrawingArea()->Picture().boundingRect().isEmpty());

    Select("Irrigation/Farmers");
    const QRect drawn = view.DrawingArea()->Picture().boundingRect();
    // The boxes of the three factors in a row and the one below them.
    QVERIFY(drawn.contains(QPoint(80, 60)));
    QVERIFY(drawn.contains(QPoint(400, 60)));
    QVERIFY(drawn.contains(QPoint(160, 180)));

    Select("Drinking water/Citizens");
    QVERIFY(view.DrawingArea()->Picture().boundingRect().isEmpty());
}

void TCaseWindowTest::renameInPlace_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("dictionary");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("selectedAfter");
    QTest::addColumn<QString>("warning");
    QTest::newRow("arena") << "Irrigation" << false << "  Wells "
                           << "Wells"
                           << "";
    QTest::newRow("arena to a name in use") << "Irrigation" << false << "drinking WATER"
                                            << "Irrigation"
                                            << "Names must be unique: \"Drinking water\" is "
                                               "in use already";
    QTest::newRow("empty text keeps the name") << "Irrigation" << false << "   "
                                               << "Irrigation"
                                               << "";
    QTest::newRow("arena name for the simulation")
        << "Irrigation" << false << "*Round  2"
        << "Irrigation"
        << "Names beginning with \"*\" are reserved for simulation rounds";
    QTest::newRow("actor in an arena") << "Irrigation/Farmers" << false << "Growers"
                                       << "Growers"
                                       << "";
    QTest::newRow("factor") << "Crop yield" << true << "Harvest"
                            << "Harvest"
                            << "";
    QTest::newRow("factor with an actor's mark") << "Crop yield" << true << "Harvest [X]"
                                                 << "Crop yield"
                                                 << "Names may not contain \" [\"";
    QTest::newRow("attribute keeps its actor") << "Farmers/Income" << true << "Earnings"
                                               << "Earnings"
                                               << "";
    QTest::newRow("actor in the dictionary") << "Water board" << true << "Authority"
                                             << "Authority"
                                             << "";
}

void TCaseWindowTest::renameInPlace() {
    QFETCH(QString, path);
    QFETCH(bool, dictionary);
    QFETCH(QString, typed);
    QFETCH(QString, selectedAfter);
    QFETCH(QString, warning);

    TModalAnswers answers({kavo::test::ClickOk()});
    TCaseView& view = OpenFixture();
    if (dictionary) {
        view.SwitchTreeMode();
    }
    TypeInto(path, typed);
    // A refused name leaves the node as it was: the warning is what to wait for.
    QTRY_COMPARE(answers.Seen.size(), warning.isEmpty() ? 0 : 1);
    QTRY_COMPARE(view.Tree()->currentItem()->text(0), selectedAfter);
    if (!warning.isEmpty()) {
        QCOMPARE(answers.Seen.front().Caption, QStringLiteral("KAVO warning"));
        QCOMPARE(answers.Seen.front().Text, warning);
    }
    QCOMPARE(view.Case().Modified, warning.isEmpty() && selectedAfter != path.split('/').last());
}

void TCaseWindowTest::renameConceptStartsEditingTheSelectedNode() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    // An arena is renamed in place (actors and factors through their dialogs).
    Select("Irrigation");
    Window->findChild<QAction*>(QStringLiteral("actionRenameConcept"))->trigger();
    QLineEdit* editor = OpenEditor(*view.Tree());
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->text(), QStringLiteral("Irrigation"));

    // The root renames the case and the window's caption.
    QTest::keyClick(editor, Qt::Key_Escape);
    QCOMPARE(view.Case().Modified, false);
    TypeInto("", QStringLiteral("Water 2030"));
    QTRY_COMPARE(view.windowTitle(), QStringLiteral("Water 2030[*]"));
    QCOMPARE(view.Case().Name, std::string("Water 2030"));
    QCOMPARE(qobject_cast<QMdiSubWindow*>(view.parentWidget())->windowTitle(),
             QStringLiteral("Water 2030[*]"));
    QVERIFY(view.Case().Modified);
    QVERIFY(view.parentWidget()->isWindowModified());
}

void TCaseWindowTest::dictionaryShowsBlanksButRenamesTheStoredName() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    kavo::TFactor* factor = nullptr;
    for (const auto& candidate : view.Case().FactorList) {
        if (candidate->Name == "Crop yield") {
            factor = candidate.get();
        }
    }
    QVERIFY(factor != nullptr);
    factor->Name = "Crop_yield";
    view.SwitchTreeMode();
    Select("Crop yield");

    // The editor offers the stored name; confirming it unchanged is no rename.
    QVERIFY(view.Tree()->EditSelected());
    QLineEdit* editor = OpenEditor(*view.Tree());
    QVERIFY(editor != nullptr);
    QCOMPARE(editor->text(), QStringLiteral("Crop_yield"));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::qWait(20);
    QCOMPARE(view.Tree()->currentItem()->text(0), QStringLiteral("Crop yield"));
    QCOMPARE(factor->Name, std::string("Crop_yield"));
    QVERIFY(!view.Case().Modified);

    TypeInto("Crop yield", QStringLiteral("Crop_yield_2030"));
    QTRY_COMPARE(factor->Name, std::string("Crop_yield_2030"));
    QTRY_COMPARE(view.Tree()->currentItem()->text(0), QStringLiteral("Crop yield 2030"));
}

void TCaseWindowTest::deleteAsksAndRemoves_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("dictionary");
    QTest::addColumn<int>("reply");
    QTest::addColumn<QString>("question");
    QTest::addColumn<bool>("gone");
    QTest::newRow("actor from arena") << "Irrigation/Farmers" << false << int(QMessageBox::Yes)
                                      << "Really delete \"Farmers\" from arena?" << true;
    QTest::newRow("actor from arena, no") << "Irrigation/Farmers" << false << int(QMessageBox::No)
                                          << "Really delete \"Farmers\" from arena?" << false;
    QTest::newRow("arena") << "Irrigation" << false << int(QMessageBox::Yes)
                           << "Really delete arena \"Irrigation\" from case?" << true;
    QTest::newRow("factor") << "Water price" << true << int(QMessageBox::Yes)
                            << "Really delete \"Water price\" from case?" << true;
    QTest::newRow("attribute") << "Farmers/Income" << true << int(QMessageBox::Yes)
                               << "Really delete \"Income\" from actor?" << true;
    QTest::newRow("actor with actions") << "Farmers" << true << int(QMessageBox::Yes)
                                        << "Really delete \"Farmers\" from case?" << true;
}

void TCaseWindowTest::deleteAsksAndRemoves() {
    QFETCH(QString, path);
    QFETCH(bool, dictionary);
    QFETCH(int, reply);
    QFETCH(QString, question);
    QFETCH(bool, gone);

    TModalAnswers answers({Press(static_cast<QMessageBox::StandardButton>(reply))});
    TCaseView& view = OpenFixture();
    if (dictionary) {
        view.SwitchTreeMode();
    }
    Select(path);
    Button(view, "DeleteBtn")->click();
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen.front().Text, question);
    QCOMPARE(answers.Seen.front().Symbol, QMessageBox::Warning);
    QCOMPARE(NodeByPath(*view.Tree(), path) == nullptr, gone);
    QCOMPARE(view.Case().Modified, gone);
    if (gone) {
        QCOMPARE(view.Tree()->currentItem(), view.Tree()->topLevelItem(0));
    }
}

void TCaseWindowTest::deleteBeepsOnAnalystView() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    Select("Irrigation/*Analyst view");
    view.DeleteItem();
    QVERIFY(answers.Seen.isEmpty());
    QVERIFY(NodeByPath(*view.Tree(), "Irrigation/*Analyst view") != nullptr);
}

void TCaseWindowTest::commentEditAcceptAndCancel() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    Select("Irrigation/Farmers");
    QTextEdit* box = view.CommentBox();
    QCOMPARE(box->toPlainText(), QStringLiteral("They depend on the wells."));

    Button(view, "CommentBtn")->click();
    QVERIFY(view.EditingComment());
    QVERIFY(!box->isReadOnly());
    QVERIFY(!Button(view, "CommentBtn")->isEnabled());
    QVERIFY(Button(view, "SaveEditBtn")->isEnabled());
    QCOMPARE(box->textCursor().position(), 0);
    QCOMPARE(view.StatusBar()->StatusText(),
             QStringLiteral("Editing comment for actor Farmers in arena Irrigation"));

    box->setPlainText(QStringLiteral("  They own the wells.\nAnd the pumps.  \n"));
    Button(view, "SaveEditBtn")->click();
    QVERIFY(!view.EditingComment());
    QVERIFY(box->isReadOnly());
    QCOMPARE(view.SelectedAiA()->Comment,
             std::vector<std::string>({"They own the wells.", "And the pumps."}));
    QVERIFY(view.Case().Modified);
    QCOMPARE(view.StatusBar()->StatusText(), QString());
    QVERIFY(Button(view, "CommentBtn")->isEnabled());

    Button(view, "CommentBtn")->click();
    box->setPlainText(QStringLiteral("Dropped"));
    Button(view, "CancelEditBtn")->click();
    QCOMPARE(box->toPlainText(), QStringLiteral("They own the wells.\nAnd the pumps."));
    QCOMPARE(view.SelectedAiA()->Comment.size(), std::size_t(2));
    QVERIFY(answers.Seen.isEmpty());
}

void TCaseWindowTest::leavingAChangedCommentAsks_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("reply");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("kept");
    QTest::newRow("unchanged text asks nothing")
        << "Who pumps how much.  " << int(QMessageBox::No) << false << "Who pumps how much.";
    QTest::newRow("changed text kept on yes")
        << "Who pays." << int(QMessageBox::Yes) << true << "Who pays.";
    QTest::newRow("changed text dropped on no")
        << "Who pays." << int(QMessageBox::No) << true << "Who pumps how much.";
}

void TCaseWindowTest::leavingAChangedCommentAsks() {
    QFETCH(QString, typed);
    QFETCH(int, reply);
    QFETCH(bool, asked);
    QFETCH(QString, kept);

    TModalAnswers answers({Press(static_cast<QMessageBox::StandardButton>(reply))});
    TCaseView& view = OpenFixture();
    Select("Irrigation");
    kavo::TArena* arena = view.SelectedArena();
    view.StartCommentEdit();
    view.CommentBox()->setPlainText(typed);
    Select("Drinking water");

    QCOMPARE(answers.Seen.size(), asked ? 1 : 0);
    if (asked) {
        QCOMPARE(answers.Seen.front().Text, QStringLiteral("Save comment?"));
    }
    QVERIFY(!view.EditingComment());
    QCOMPARE(QString::fromStdString(arena->Comment.front()), kept);
    QCOMPARE(view.SelectedArena()->Name, std::string("Drinking water"));
}

void TCaseWindowTest::commentTargetDescriptions_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("dictionary");
    QTest::addColumn<QString>("description");
    QTest::newRow("case") << "" << false << "case Water test";
    QTest::newRow("arena") << "Irrigation" << false << "arena Irrigation";
    QTest::newRow("analyst view edits its arena")
        << "Irrigation/*Analyst view" << false << "arena Irrigation";
    QTest::newRow("actor in arena")
        << "Drinking water/Citizens" << false << "actor Citizens in arena Drinking water";
    QTest::newRow("factor") << "Water price" << true << "factor Water price";
    QTest::newRow("action") << "Farmers/Pumping" << true << "factor Pumping [Farm]";
    QTest::newRow("actor") << "Citizens" << true << "actor Citizens";
}

void TCaseWindowTest::commentTargetDescriptions() {
    QFETCH(QString, path);
    QFETCH(bool, dictionary);
    QFETCH(QString, description);

    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    if (dictionary) {
        view.SwitchTreeMode();
    }
    Select(path);
    view.StartCommentEdit();
    QCOMPARE(view.StatusBar()->StatusText(), QStringLiteral("Editing comment for ") + description);
    view.CancelCommentEdit();
}

void TCaseWindowTest::zoomPressRanges_data() {
    QTest::addColumn<int>("x");
    QTest::addColumn<double>("zoom");
    QTest::addColumn<int>("step");
    const int w = TCaseStatusBar::kCoordinatesWidth;
    QTest::newRow("left of zoom out") << w + 5 << 0.5 << 0;
    QTest::newRow("zoom out") << w + 6 << 0.5 << -1;
    QTest::newRow("zoom out, right end") << w + 18 << 0.5 << -1;
    QTest::newRow("zoom out at 20 %") << w + 10 << 0.2 << 0;
    QTest::newRow("between the symbols") << w + 33 << 0.5 << 0;
    QTest::newRow("zoom in") << w + 56 << 0.5 << 1;
    QTest::newRow("zoom in, right end") << w + 68 << 0.5 << 1;
    QTest::newRow("right of zoom in") << w + 69 << 0.5 << 0;
    QTest::newRow("zoom in at 400 %") << w + 60 << 4.0 << 0;
}

void TCaseWindowTest::zoomPressRanges() {
    QFETCH(int, x);
    QFETCH(double, zoom);
    QFETCH(int, step);
    QCOMPARE(TCaseStatusBar::ZoomStepAt(x, zoom), step);
    QCOMPARE(TCaseStatusBar::OverZoomButton(x, 8, zoom), step != 0);
    QVERIFY(!TCaseStatusBar::OverZoomButton(x, 15, zoom));
}

void TCaseWindowTest::priorityCommandsSwapActorsInARound() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    kavo::TCase& c = view.Case();
    kavo::TArena* round = c.FindOrCreateArena("Round");
    round->Name = "*Round  1";
    c.ArenaList.Sort();
    c.AddActorToArena(*round, "Water board", "Board")->Priority = 1;
    c.AddActorToArena(*round, "Farmers", "Farm")->Priority = 2;
    view.BuildTree();
    auto* higher = Window->findChild<QAction*>(QStringLiteral("actionHigherPriority"));
    auto* lower = Window->findChild<QAction*>(QStringLiteral("actionLowerPriority"));

    Select("*Round  1/Farmers");
    QVERIFY(higher->isEnabled());
    QVERIFY(!lower->isEnabled());
    higher->trigger();
    QCOMPARE(view.SelectedAiA()->Actor->Name, std::string("Farmers"));
    QCOMPARE(view.SelectedAiA()->Priority, 1);
    QCOMPARE(NodeByPath(*view.Tree(), "*Round  1")->child(1)->text(0), QStringLiteral("Farmers"));
    QVERIFY(!higher->isEnabled());
    QVERIFY(lower->isEnabled());

    Select("Irrigation/Farmers");
    QVERIFY(!higher->isEnabled());
    QVERIFY(!lower->isEnabled());
}

void TCaseWindowTest::lookForCyclesSelectsTheFirstCycle() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    auto* look = Window->findChild<QAction*>(QStringLiteral("actionLookForCycles"));
    auto* next = Window->findChild<QAction*>(QStringLiteral("actionSelectNextCycle"));
    Select("Irrigation/Farmers");
    kavo::TPerception& perception = *view.SelectedAiA()->Perception;
    QVERIFY(look->isEnabled());
    QVERIFY(!next->isEnabled());

    look->trigger();
    QVERIFY(!next->isEnabled());
    QVERIFY(perception.Selection.empty());

    // A link back from the income to the pumping closes a cycle.
    kavo::TFiP* income = perception.FiPs[2].get();
    kavo::TFiP* pumping = perception.FiPs[0].get();
    perception.Add(std::make_unique<kavo::TLink>(view.Case(), income, pumping));
    perception.Selection.clear();
    look->trigger();
    QVERIFY(next->isEnabled());
    QCOMPARE(perception.Selection.size(), std::size_t(7));
    QVERIFY(std::holds_alternative<kavo::TFiP*>(perception.Selection.front()));
    next->trigger();
    QCOMPARE(perception.Selection.size(), std::size_t(7));
    QVERIFY(answers.Seen.isEmpty());
}

void TCaseWindowTest::reportCommandsWarnWhenNothingIsShown() {
    TModalAnswers answers({kavo::test::ClickOk(), kavo::test::ClickOk()});
    TCaseView& view = OpenFixture();
    Button(view, "SaveBtn")->click();
    Button(view, "PrintBtn")->click();
    QCOMPARE(answers.Seen.size(), 2);
    QCOMPARE(answers.Seen[0].Text, QStringLiteral("Could not save report - possibly empty?"));
    QCOMPARE(answers.Seen[1].Text, QStringLiteral("Could not print report - possibly empty?"));
    QCOMPARE(answers.Seen[1].Caption, QStringLiteral("KAVO warning"));
}

QTEST_MAIN(TCaseWindowTest)
#include "tst_casewindow.moc"
