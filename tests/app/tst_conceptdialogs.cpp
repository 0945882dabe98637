#include <QAction>
#include <QComboBox>
#include <QLineEdit>
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
#include "app/TEditUtilityDlg.h"
#include "app/TKAVO.h"
#include "app/TreeNodes.h"
#include "model/TActor.h"
#include "model/TCase.h"
#include "model/TFactor.h"

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
    TModalAnswers answers({[&stayedOpen](QWidget* dialog) {
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
    TModalAnswers answers({
        [](QWidget* dialog) {
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
    Action("actionUndo")->trigger();
    QVERIFY(c.FactorList.FindByName("Crop yield") >= 0);
    QVERIFY(!c.Modified);
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
