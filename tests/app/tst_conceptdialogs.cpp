#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDropEvent>
#include <QLabel>
#include <QLineEdit>
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
#include "app/TDiagramView.h"
#include "app/TEditUtilityDlg.h"
#include "app/TKAVO.h"
#include "app/TreeNodes.h"
#include "editing/EditFixture.h"
#include "model/TActor.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TPerception.h"

using kavo::TCaseView;
using kavo::TKAVO;
using kavo::test::NodeByPath;
using kavo::test::TModalAnswers;

// The dialogs that name arenas, actors and factors, driven through their keys from the case
// window's commands.
class TConceptDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void newArenaRefusesAStarAndTrims();
    void newActorFillsInTheShortName();
    void renameActorThroughItsDialog();
    void changeFactorIntoAnActionAndBack();
    void changeFactorOfADiagramBox();
    void droppingAFactor_data();
    void droppingAFactor();
    void mergeBySimilarFactorsIsOneUndoStep();
    void draggingNearTheTreeEdgeScrollsByOneNode();
    void utilityEditorChangesOnlyOnOK();

  private:
    TCaseView& OpenFixture();
    QToolButton* Button(const char* name) const {
        return View->findChild<QToolButton*>(QString::fromLatin1(name));
    }
    QAction* Action(const char* name) const {
        return Window->findChild<QAction*>(QString::fromLatin1(name));
    }
    static void Type(QWidget* field, const QString& text) {
        if (auto* line = qobject_cast<QLineEdit*>(field)) {
            line->clear();
        }
        QTest::keyClicks(field, text);
    }

    // Drags the node onto the other in the dictionary; whether the tree took the drop.
    static bool Drop(kavo::TCaseTree& tree, const QString& from, const QString& to);

    QTemporaryDir SettingsFolder;
    std::unique_ptr<TKAVO> Window;
    TCaseView* View = nullptr;
};

void TConceptDialogsTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TConceptDialogsTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
}

void TConceptDialogsTest::cleanup() {
    View = nullptr;
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
    }
    Window.reset();
}

TCaseView& TConceptDialogsTest::OpenFixture() {
    View = Window->NewCase();
    kavo::test::FillWaterCase(View->Case());
    View->BuildTree();
    return *View;
}

void TConceptDialogsTest::newArenaRefusesAStarAndTrims() {
    TCaseView& view = OpenFixture();
    bool stayedOpen = false;
    QPoint placed;
    TModalAnswers answers({[&stayedOpen, &placed](QWidget* dialog) {
        placed = dialog->pos();
        auto* edit = dialog->findChild<QLineEdit*>("Edit");
        Type(edit, "*Round 5");
        QTest::keyClick(edit, Qt::Key_Return);
        stayedOpen = dialog->isVisible();
        Type(edit, "  Floods  ");
        QTest::keyClick(edit, Qt::Key_Return);
    }});
    Button("ArenaBtn")->click();
    QVERIFY(stayedOpen);
    QCOMPARE(answers.Seen.value(0).Caption, QStringLiteral("Name of new arena"));
    // Right of its button.
    QToolButton* button = Button("ArenaBtn");
    QCOMPARE(placed, button->mapToGlobal(QPoint(button->width(), 0)));
    QVERIFY(view.Case().ArenaList.FindByName("Floods") >= 0);
    QCOMPARE(view.Tree()->currentItem()->text(0), QStringLiteral("Floods"));
    Action("actionUndo")->trigger();
    QVERIFY(view.Case().ArenaList.FindByName("Floods") < 0);
}

void TConceptDialogsTest::newActorFillsInTheShortName() {
    TCaseView& view = OpenFixture();
    view.Tree()->setCurrentItem(NodeByPath(*view.Tree(), "Drinking water"));
    QString filledIn;
    TModalAnswers answers({
        [&filledIn](QWidget* dialog) {
            auto* name = dialog->findChild<QComboBox*>("ActorBox")->lineEdit();
            Type(name, "Farmers");
            filledIn = dialog->findChild<QLineEdit*>("ShortEdit")->text();
            QTest::keyClick(name, Qt::Key_Return);
        },
        [](QWidget* dialog) {
            auto* name = dialog->findChild<QComboBox*>("ActorBox")->lineEdit();
            Type(name, "Regional water management authority");
            // Enter moves on to the empty short name; Enter there is OK.
            QTest::keyClick(name, Qt::Key_Return);
            QTest::keyClick(dialog->findChild<QLineEdit*>("ShortEdit"), Qt::Key_Return);
        },
    });
    Button("ActorBtn")->click();
    QCOMPARE(answers.Seen.value(0).Caption, QStringLiteral("Name of (new) actor"));
    QCOMPARE(filledIn, QStringLiteral("Farm"));
    QVERIFY(NodeByPath(*view.Tree(), "Drinking water/Farmers") != nullptr);
    view.Tree()->setCurrentItem(NodeByPath(*view.Tree(), "Drinking water"));
    Button("ActorBtn")->click();
    const kavo::TActor* added = view.Case().ActorList.Find("Regional water management authority");
    QVERIFY(added != nullptr);
    QCOMPARE(QString::fromStdString(added->ShortName), QStringLiteral("Regional water manag"));
}

void TConceptDialogsTest::renameActorThroughItsDialog() {
    TCaseView& view = OpenFixture();
    view.Tree()->setCurrentItem(NodeByPath(*view.Tree(), "Irrigation/Farmers"));
    TModalAnswers answers({[](QWidget* dialog) {
        Type(dialog->findChild<QLineEdit*>("ShortEdit"), "Agri");
        QTest::keyClick(dialog->findChild<QLineEdit*>("ShortEdit"), Qt::Key_Return);
    }});
    Action("actionRenameConcept")->trigger();
    QCOMPARE(answers.Seen.value(0).Caption, QStringLiteral("Rename actor in ALL arenas"));
    QVERIFY(view.Case().FactorList.FindByName("Pumping [Agri]") >= 0);
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Rename actor"));
}

void TConceptDialogsTest::changeFactorIntoAnActionAndBack() {
    TCaseView& view = OpenFixture();
    view.SwitchTreeMode();
    view.Tree()->setCurrentItem(NodeByPath(*view.Tree(), "Crop yield"));
    bool aggregationOff = false;
    TModalAnswers answers({
        [&aggregationOff](QWidget* dialog) {
            // The dictionary has no box whose aggregation the dialog could set.
            auto* aggregation = dialog->findChild<QComboBox*>("FiPTypeBox");
            aggregationOff = !aggregation->isEnabled() && aggregation->currentIndex() == -1;
            dialog->findChild<QToolButton*>("ActionBtn")->click();
            auto* actors = dialog->findChild<QComboBox*>("ActorBox");
            actors->setCurrentIndex(actors->findText(QStringLiteral("Water board")));
            QTest::keyClick(actors, Qt::Key_Return);
        },
    });
    Action("actionRenameConcept")->trigger();
    QCOMPARE(answers.Seen.value(0).Caption,
             QStringLiteral("Change factor name/actor/type in ALL perceptions"));
    kavo::TCase& c = view.Case();
    const int index = c.FactorList.FindByName("Crop yield [Board]");
    QVERIFY(index >= 0);
    QVERIFY(c.FactorList.At(index)->IsAction);
    QVERIFY(aggregationOff);
    Action("actionUndo")->trigger();
    QVERIFY(c.FactorList.FindByName("Crop yield") >= 0);
    QVERIFY(!c.Modified);
}

void TConceptDialogsTest::changeFactorOfADiagramBox() {
    TCaseView& view = OpenFixture();
    kavo::TCase& c = view.Case();
    view.Tree()->setCurrentItem(NodeByPath(*view.Tree(), "Irrigation/Farmers"));
    kavo::TPerception& farmers = *view.CurrentPerception();
    kavo::TFiP* income = farmers.FindFiP(c.FactorList.Find("Income [Farm]"));
    // The command asks about the box only while the diagram has the focus.
    Window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(Window.get()));
    QTest::mouseClick(view.DrawingArea(), Qt::LeftButton, Qt::NoModifier,
                      QPoint(income->X, income->Y));
    QTRY_VERIFY(view.DrawingArea()->hasFocus());
    QVERIFY(Action("actionRenameConcept")->isEnabled());
    QPoint placed;
    int shownMode = -1;
    TModalAnswers answers({[&](QWidget* dialog) {
        placed = dialog->pos();
        auto* aggregation = dialog->findChild<QComboBox*>("FiPTypeBox");
        shownMode = aggregation->isEnabled() ? aggregation->currentIndex() : -1;
        aggregation->setCurrentIndex(3);
        dialog->findChild<QToolButton*>("ActionBtn")->click();
        auto* actors = dialog->findChild<QComboBox*>("ActorBox");
        actors->setCurrentIndex(actors->findText(QStringLiteral("Farmers")));
        QTest::keyClick(actors, Qt::Key_Return);
    }});
    Action("actionRenameConcept")->trigger();
    QCOMPARE(answers.Seen.size(), 2);
    QCOMPARE(answers.Seen[1].Text, QStringLiteral("Actions can never be goals: 1 goal removed"));
    QCOMPARE(shownMode, 0);
    // Right of the diagram's tool bar, level with its top.
    auto* bar = view.findChild<QWidget*>(QStringLiteral("diagramBar"));
    QCOMPARE(placed, bar->mapToGlobal(QPoint(bar->width(), 0)));
    QCOMPARE(income->Operator, kavo::TOperator::opMax);
    QVERIFY(income->Factor->IsAction);
    // An action carries no goal: the farmers' goal on Income went.
    QVERIFY(farmers.GoalOf(income) == nullptr);
    Action("actionUndo")->trigger();
    QCOMPARE(income->Operator, kavo::TOperator::opAdd);
    QVERIFY(farmers.GoalOf(income) != nullptr);
    QVERIFY(!income->Factor->IsAction);
    QVERIFY(!c.Modified);
}

bool TConceptDialogsTest::Drop(kavo::TCaseTree& tree, const QString& from, const QString& to) {
    QTreeWidgetItem* dragged = NodeByPath(tree, from);
    QTreeWidgetItem* target = NodeByPath(tree, to);
    if (dragged == nullptr || target == nullptr) {
        return false;
    }
    tree.setCurrentItem(dragged);
    std::unique_ptr<QMimeData> data(tree.NodeDragData(dragged));
    const QPoint at = tree.visualItemRect(target).center();
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &enter);
    QDragMoveEvent move(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &move);
    if (!move.isAccepted()) {
        return false;
    }
    QDropEvent drop(at, actions, data.get(), Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &drop);
    // Only a copy leaves the dragged node where it is.
    return drop.isAccepted() && drop.dropAction() == Qt::CopyAction;
}

void TConceptDialogsTest::droppingAFactor_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("taken");
    // Whether "Similar factors" opens.
    QTest::addColumn<bool>("asks");
    // A factor of that name afterwards, and one that is gone.
    QTest::addColumn<QString>("present");
    QTest::addColumn<QString>("gone");
    QTest::newRow("factor on factor") << "Crop yield"
                                      << "Water price" << true << true << "Water price"
                                      << "Crop yield";
    QTest::newRow("action on a factor") << "Farmers/Pumping"
                                        << "Crop yield" << true << true << "Crop yield"
                                        << "Pumping [Farm]";
    QTest::newRow("attribute on another actor")
        << "Farmers/Income"
        << "Water board" << true << false << "Income [Board]"
        << "Income [Farm]";
    QTest::newRow("attribute on its own actor") << "Farmers/Income"
                                                << "Farmers" << false << false << "Income [Farm]"
                                                << "";
    QTest::newRow("plain factor on an actor") << "Crop yield"
                                              << "Farmers" << false << false << "Crop yield"
                                              << "";
    QTest::newRow("actor on a factor") << "Farmers"
                                       << "Crop yield" << false << false << "Crop yield"
                                       << "";
}

void TConceptDialogsTest::droppingAFactor() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, taken);
    QFETCH(bool, asks);
    QFETCH(QString, present);
    QFETCH(QString, gone);
    TCaseView& view = OpenFixture();
    view.SwitchTreeMode();
    TModalAnswers answers({kavo::test::ClickOk()});
    QCOMPARE(Drop(*view.Tree(), from, to), taken);
    const kavo::TCase& c = view.Case();
    if (!gone.isEmpty()) {
        QTRY_VERIFY(c.FactorList.FindByName(gone.toStdString()) < 0);
    }
    QTest::qWait(20);
    QVERIFY(c.FactorList.FindByName(present.toStdString()) >= 0);
    QCOMPARE(view.Case().Modified, taken);
    QCOMPARE(answers.Seen.size(), asks ? 1 : 0);
    if (asks) {
        QCOMPARE(answers.Seen[0].Caption, QStringLiteral("Similar factors"));
    }
    // Drops are for the dictionary only.
    view.SwitchTreeMode();
    QVERIFY(!Drop(*view.Tree(), QStringLiteral("Irrigation/Farmers"),
                  QStringLiteral("Irrigation/Water board")));
}

void TConceptDialogsTest::mergeBySimilarFactorsIsOneUndoStep() {
    TCaseView& view = OpenFixture();
    kavo::TCase& c = view.Case();
    kavo::TPerception& farmers = *c.ArenaList[1]->Actors[0]->Perception;
    const kavo::TFiP* pumping = farmers.FindFiP(c.FactorList.Find("Pumping [Farm]"));
    const int level = pumping->OutLinks.front()->Level;
    const std::string before = kavo::test::DocumentOf(c);
    view.SwitchTreeMode();
    QString fromLabel;
    QString toLabel;
    bool cleared = false;
    TModalAnswers answers({[&](QWidget* dialog) {
        fromLabel = dialog->findChild<QLabel*>("FromFLbl")->text();
        toLabel = dialog->findChild<QLabel*>("ToFLbl")->text();
        auto* signs = dialog->findChild<QCheckBox*>("InvertBox");
        cleared = !signs->isChecked();
        signs->setChecked(true);
        QTest::keyClick(dialog, Qt::Key_Return);
    }});
    QVERIFY(Drop(*view.Tree(), QStringLiteral("Crop yield"), QStringLiteral("Water price")));
    QTRY_VERIFY(c.FactorList.FindByName("Crop yield") < 0);
    QCOMPARE(fromLabel, QStringLiteral("\"Crop yield\""));
    QCOMPARE(toLabel, QStringLiteral("\"Water price\""));
    QVERIFY(cleared);
    // The tree shows the factor merged into, selected.
    QCOMPARE(view.Tree()->currentItem()->text(0), QStringLiteral("Water price"));
    // The farmers' perception draws Water price in place of Crop yield, with the signs changed.
    const kavo::TFiP* price = farmers.FindFiP(c.FactorList.Find("Water price"));
    QVERIFY(price != nullptr);
    QCOMPARE(int(price->InLinks.size()), 1);
    QCOMPARE(int(price->InLinks.front()->Level), -level);
    const std::string after = kavo::test::DocumentOf(c);
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Merge factors"));

    Action("actionUndo")->trigger();
    QVERIFY(kavo::test::DocumentOf(c) == before);
    QVERIFY(NodeByPath(*view.Tree(), "Crop yield") != nullptr);
    QVERIFY(!c.Modified);
    Action("actionRedo")->trigger();
    QVERIFY(kavo::test::DocumentOf(c) == after);
}

void TConceptDialogsTest::draggingNearTheTreeEdgeScrollsByOneNode() {
    TCaseView& view = OpenFixture();
    view.SwitchTreeMode();
    kavo::TCaseTree& tree = *view.Tree();
    // Room for a few nodes only.
    tree.setFixedHeight(80);
    QTRY_VERIFY(tree.verticalScrollBar()->maximum() >= 2);
    std::unique_ptr<QMimeData> data(tree.NodeDragData(NodeByPath(tree, "Crop yield")));
    const int bottom = tree.viewport()->height();
    const auto dragTo = [&](int y) {
        QDragMoveEvent move(QPoint(20, y), Qt::CopyAction, data.get(), Qt::LeftButton,
                            Qt::NoModifier);
        QApplication::sendEvent(tree.viewport(), &move);
        return tree.verticalScrollBar()->value();
    };
    QDragEnterEvent enter(QPoint(20, bottom / 2), Qt::CopyAction, data.get(), Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(tree.viewport(), &enter);
    QCOMPARE(dragTo(bottom - 3), 1);
    QCOMPARE(dragTo(bottom - 3), 2);
    QCOMPARE(dragTo(bottom / 2), 2);
    QCOMPARE(dragTo(3), 1);
    QDragLeaveEvent leave;
    QApplication::sendEvent(tree.viewport(), &leave);
}

void TConceptDialogsTest::utilityEditorChangesOnlyOnOK() {
    kavo::TEditUtilityDlg editor;
    kavo::TUtilityVectors standard = kavo::TUtilityVectors::DefaultStandard();
    kavo::TUtilityVectors negative = kavo::TUtilityVectors::DefaultNegative();
    const kavo::TUtilityVectors original = standard;
    // Shift+press on level +1 shows the row of priority 3; a press on the face of change -3
    // raises it; Esc cancels, Enter confirms.
    const auto edit = [](QWidget* dialog) {
        auto* utility = static_cast<kavo::TEditUtilityDlg*>(dialog);
        utility->PressAt(QPoint(26 * 4 + 5, 5), Qt::LeftButton, Qt::ShiftModifier);
        utility->PressAt(QPoint(5, 30), Qt::LeftButton, Qt::NoModifier);
    };
    TModalAnswers answers({
        [&edit](QWidget* dialog) {
            edit(dialog);
            QTest::keyClick(dialog, Qt::Key_Escape);
        },
        [&edit](QWidget* dialog) {
            edit(dialog);
            QTest::keyClick(dialog, Qt::Key_Return);
        },
    });
    QVERIFY(!editor.Edit(standard, negative));
    QCOMPARE(standard, original);
    QVERIFY(editor.Edit(standard, negative));
    QCOMPARE(int(standard.At(3, 1, -3)), std::min(3, original.At(3, 1, -3) + 1));
    QCOMPARE(editor.ShownPriority, 3);
    QCOMPARE(editor.ShownLevel, 1);
}

QTEST_MAIN(TConceptDialogsTest)
#include "tst_conceptdialogs.moc"
