#include <QCheckBox>
#include <QComboBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTabBar>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>
#include <QtTest>
#include <memory>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseView.h"
#include "app/TKAVO.h"
#include "model/TCase.h"
#include "model/TGroup.h"
#include "views/TGroupingDlg.h"

using kavo::TCaseView;
using kavo::TGroup;
using kavo::TGroupingDlg;
using kavo::TGroupKind;
using kavo::TKAVO;
using kavo::TTag;
using kavo::test::Press;
using kavo::test::TModalAnswers;

// The window "Grouping for analysis" on the active case, its changes undoable in the case window.
class TGroupingDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void defineGroupsShowsTheActiveCase();
    void modesAreUndoableSteps();
    void groupsAreAddedCheckedRenamedAndDeleted();
    void tagsOfAGroupChange();

  private:
    TCaseView& OpenFixture();
    QStringList RootNames() const;
    QTreeWidgetItem* Root(const QString& name) const;
    QToolButton* Button(TCaseView& view, const char* name) const {
        return view.findChild<QToolButton*>(QString::fromLatin1(name));
    }

    QTemporaryDir SettingsFolder;
    std::unique_ptr<TKAVO> Window;
    TGroupingDlg* Dialog = nullptr;
    TTag* Blue = nullptr;
    TTag* Green = nullptr;
};

void TGroupingDialogTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TGroupingDialogTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
    Dialog = &Window->GroupingDialog();
}

void TGroupingDialogTest::cleanup() {
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
        view->UndoStack()->setClean();
    }
    Dialog = nullptr;
    Window.reset();
}

TCaseView& TGroupingDialogTest::OpenFixture() {
    TCaseView* view = Window->NewCase();
    kavo::TCase& c = view->Case();
    kavo::test::FillWaterCase(c);
    Blue = c.FindOrCreateTag("Blue");
    Green = c.FindOrCreateTag("Green");
    TGroup* wet = c.FindOrCreateGroup("Wet", "arenas");
    wet->Tags = {Blue};
    wet->UpdateDescription();
    wet->Checked = true;
    c.FindOrCreateGroup("Dry", "arenas");
    c.FindOrCreateGroup("Users", "actors");
    view->BuildTree();
    return *view;
}

QStringList TGroupingDialogTest::RootNames() const {
    QStringList names;
    for (int i = 0; i < Dialog->GroupTree()->topLevelItemCount(); ++i) {
        names << Dialog->GroupTree()->topLevelItem(i)->text(0);
    }
    return names;
}

QTreeWidgetItem* TGroupingDialogTest::Root(const QString& name) const {
    for (int i = 0; i < Dialog->GroupTree()->topLevelItemCount(); ++i) {
        if (Dialog->GroupTree()->topLevelItem(i)->text(0) == name) {
            return Dialog->GroupTree()->topLevelItem(i);
        }
    }
    return nullptr;
}

void TGroupingDialogTest::defineGroupsShowsTheActiveCase() {
    TCaseView& view = OpenFixture();
    QToolButton* define = Button(view, "TagSelectBtn");
    QVERIFY(define->isEnabled());
    define->click();
    QVERIFY(Dialog->isVisible());
    QCOMPARE(Dialog->ShownCase(), &view.Case());
    QCOMPARE(Dialog->windowTitle(), QStringLiteral("Grouping for analysis"));

    // Arena tab: five modes, "selected arena only" chosen, the groups greyed out.
    QCOMPARE(Dialog->ModeChoice()->count(), 5);
    QCOMPARE(Dialog->ModeChoice()->currentText(), QStringLiteral("selected arena only"));
    QVERIFY(!Dialog->GroupTree()->isEnabled());
    QVERIFY(Dialog->MentionedOnlyBox()->isHidden());
    QCOMPARE(RootNames(), (QStringList{"Dry", "Wet"}));
    QTreeWidgetItem* wet = Root(QStringLiteral("Wet"));
    QCOMPARE(wet->checkState(0), Qt::Checked);
    QCOMPARE(Root(QStringLiteral("Dry"))->checkState(0), Qt::Unchecked);
    QCOMPARE(wet->child(0)->text(0), QStringLiteral("{Blue}"));
    QCOMPARE(Root(QStringLiteral("Dry"))->child(0)->text(0), QStringLiteral("{}"));
    QVERIFY(!Dialog->TagButton()->isEnabled());
    // A tag node stands for its group.
    Dialog->GroupTree()->setCurrentItem(wet->child(0));
    QVERIFY(Dialog->TagButton()->isEnabled());
    QCOMPARE(Dialog->SelectedGroup()->Name, std::string("Wet"));

    Dialog->Tabs()->setCurrentIndex(1);
    QCOMPARE(Dialog->ModeChoice()->count(), 6);
    QCOMPARE(Dialog->ModeChoice()->itemText(5), QStringLiteral("analysts view(s)"));
    QCOMPARE(RootNames(), QStringList{"Users"});
    Dialog->Tabs()->setCurrentIndex(2);
    QCOMPARE(Dialog->ModeChoice()->count(), 4);
    QCOMPARE(Dialog->ModeChoice()->currentText(), QStringLiteral("no grouping"));
    QVERIFY(!Dialog->MentionedOnlyBox()->isHidden());
    QVERIFY(Dialog->MentionedOnlyBox()->isChecked());
    QVERIFY(RootNames().isEmpty());

    // Another case window made active takes the window along.
    TCaseView* other = Window->NewCase();
    QTRY_COMPARE(Dialog->ShownCase(), &other->Case());
    QVERIFY(Dialog->isVisible());
    // Its own button hides it; the other window's shows it with that window's case.
    Button(*other, "TagSelectBtn")->click();
    QVERIFY(!Dialog->isVisible());
    define->click();
    QVERIFY(Dialog->isVisible());
    QCOMPARE(Dialog->ShownCase(), &view.Case());
    // A case window that closes takes its case out of the window.
    view.Case().Modified = false;
    view.UndoStack()->setClean();
    QVERIFY(view.close());
    QVERIFY(Dialog->ShownCase() == nullptr || Dialog->ShownCase() == &other->Case());
}

void TGroupingDialogTest::modesAreUndoableSteps() {
    TCaseView& view = OpenFixture();
    Button(view, "TagSelectBtn")->click();
    kavo::TCase& c = view.Case();

    Dialog->ModeChoice()->setCurrentIndex(2);
    QCOMPARE(c.ArenaGrouping, 2);
    QCOMPARE(view.UndoStack()->undoText(), QStringLiteral("Change grouping of arenas"));
    QVERIFY(c.Modified || !view.UndoStack()->isClean());
    QTRY_VERIFY(Dialog->GroupTree()->isEnabled());
    view.UndoStep();
    QCOMPARE(c.ArenaGrouping, 4);
    QTRY_COMPARE(Dialog->ModeChoice()->currentIndex(), 4);
    QVERIFY(!Dialog->GroupTree()->isEnabled());

    Dialog->Tabs()->setCurrentIndex(2);
    Dialog->MentionedOnlyBox()->setChecked(false);
    QVERIFY(!c.MentionedOnly);
    Dialog->ModeChoice()->setCurrentIndex(1);
    QCOMPARE(c.FactorGrouping, 1);
    view.UndoStep();
    view.UndoStep();
    QVERIFY(c.MentionedOnly);
    QCOMPARE(c.FactorGrouping, 3);
    QTRY_VERIFY(Dialog->MentionedOnlyBox()->isChecked());
    QCOMPARE(Dialog->ModeChoice()->currentIndex(), 3);
    QVERIFY(view.UndoStack()->isClean());
}

void TGroupingDialogTest::groupsAreAddedCheckedRenamedAndDeleted() {
    TCaseView& view = OpenFixture();
    kavo::TCase& c = view.Case();
    Button(view, "TagSelectBtn")->click();
    Dialog->Tabs()->setCurrentIndex(1);
    Dialog->ModeChoice()->setCurrentIndex(1);

    // Added: the first free name, selected.
    c.FindOrCreateGroup("actor GROUP", "arenas");
    Dialog->AddButton()->click();
    QCOMPARE(RootNames(), (QStringList{"Actor group 1", "Users"}));
    QCOMPARE(Dialog->SelectedGroup()->Name, std::string("Actor group 1"));
    QCOMPARE(Dialog->SelectedGroup()->GroupKind, TGroupKind::gkActor);
    QCOMPARE(view.UndoStack()->undoText(), QStringLiteral("New group"));
    view.UndoStep();
    QTRY_COMPARE(RootNames(), QStringList{"Users"});
    view.RedoStep();
    QTRY_COMPARE(RootNames(), (QStringList{"Actor group 1", "Users"}));

    // Checked by its box.
    TGroup* users = c.GroupList[c.GroupList.FindByName("Users")];
    Root(QStringLiteral("Users"))->setCheckState(0, Qt::Checked);
    QVERIFY(users->Checked);
    view.UndoStep();
    QVERIFY(!users->Checked);
    QTRY_COMPARE(Root(QStringLiteral("Users"))->checkState(0), Qt::Unchecked);

    // Renamed in place: trimmed; an empty or taken name keeps the old one.
    Root(QStringLiteral("Users"))->setText(0, QStringLiteral("  Water users "));
    QCOMPARE(users->Name, std::string("Water users"));
    QTRY_COMPARE(RootNames(), (QStringList{"Actor group 1", "Water users"}));
    QCOMPARE(Dialog->SelectedGroup(), users);
    Root(QStringLiteral("Water users"))->setText(0, QStringLiteral("  "));
    QTRY_COMPARE(RootNames(), (QStringList{"Actor group 1", "Water users"}));
    {
        TModalAnswers answers;
        Root(QStringLiteral("Water users"))->setText(0, QStringLiteral("actor group 1"));
        QTRY_COMPARE(RootNames(), (QStringList{"Actor group 1", "Water users"}));
    }
    QCOMPARE(users->Name, std::string("Water users"));

    // Deleted after Yes; No keeps it.
    Dialog->SelectGroup(users);
    {
        TModalAnswers answers({Press(QMessageBox::No)});
        Dialog->DeleteButton()->click();
        QCOMPARE(answers.Seen.size(), 1);
        QCOMPARE(answers.Seen[0].Text, QStringLiteral("Really delete group \"Water users\"?"));
    }
    QCOMPARE(RootNames(), (QStringList{"Actor group 1", "Water users"}));
    {
        TModalAnswers answers({Press(QMessageBox::Yes)});
        Dialog->DeleteButton()->click();
    }
    QCOMPARE(RootNames(), QStringList{"Actor group 1"});
    QVERIFY(c.GroupList.FindByName("Water users") < 0);
    view.UndoStep();
    QTRY_COMPARE(RootNames(), (QStringList{"Actor group 1", "Water users"}));
}

void TGroupingDialogTest::tagsOfAGroupChange() {
    TCaseView& view = OpenFixture();
    kavo::TCase& c = view.Case();
    Button(view, "TagSelectBtn")->click();
    Dialog->SetTagChooser([this](kavo::TEdit&, kavo::TCase&, const TGroup& group) {
        return group.Name == "Dry" ? std::optional(std::vector<TTag*>{Green, Blue}) : std::nullopt;
    });
    TGroup* dry = c.GroupList[c.GroupList.FindByName("Dry")];
    Dialog->SelectGroup(dry);
    Dialog->TagButton()->click();
    QCOMPARE(dry->Tags, (std::vector<TTag*>{Blue, Green}));
    QCOMPARE(Root(QStringLiteral("Dry"))->child(0)->text(0), QStringLiteral("{Blue, Green}"));
    QCOMPARE(Dialog->SelectedGroup(), dry);
    view.UndoStep();
    QVERIFY(dry->Tags.empty());
    QTRY_COMPARE(Root(QStringLiteral("Dry"))->child(0)->text(0), QStringLiteral("{}"));
    // Cancelled, nothing changes.
    TGroup* wet = c.GroupList[c.GroupList.FindByName("Wet")];
    Dialog->SelectGroup(wet);
    const int steps = view.UndoStack()->count();
    Dialog->TagButton()->click();
    QCOMPARE(view.UndoStack()->count(), steps);
    QCOMPARE(wet->Tags, std::vector<TTag*>{Blue});
}

QTEST_MAIN(TGroupingDialogTest)
#include "tst_groupingdialog.moc"
