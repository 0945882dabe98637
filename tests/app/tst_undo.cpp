#include <QAction>
#include <QLineEdit>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QUndoStack>
#include <QtTest>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseTree.h"
#include "app/TCaseView.h"
#include "app/TKAVO.h"
#include "app/TreeNodes.h"
#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TPerception.h"

using kavo::TCaseView;
using kavo::TKAVO;
using kavo::test::NodeByPath;
using kavo::test::Press;
using kavo::test::TModalAnswers;
using kavo::test::TreeLines;

// The Edit menu's Undo and Redo on the case window's edits.
class TUndoTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();
    void cleanup();

    void stepsAreNamedAndFollowTheSavedState();
    void undoAcrossADeletionBringsEverythingBack_data();
    void undoAcrossADeletionBringsEverythingBack();
    void commentEditIsOneStep();
    void undoShowsThePerceptionItChanges();
    void mergeIntoAnalystViewAsksAndUndoes();

  private:
    TCaseView& OpenFixture();
    void Select(const QString& path);
    QAction* Action(const char* name) const {
        return Window->findChild<QAction*>(QString::fromLatin1(name));
    }

    QTemporaryDir SettingsFolder;
    std::unique_ptr<TKAVO> Window;
    TCaseView* View = nullptr;
};

void TUndoTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
}

void TUndoTest::init() {
    Window = std::make_unique<TKAVO>();
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window.get()));
}

void TUndoTest::cleanup() {
    View = nullptr;
    for (TCaseView* view : Window->CaseViews()) {
        view->Case().Modified = false;
    }
    Window.reset();
}

TCaseView& TUndoTest::OpenFixture() {
    View = Window->NewCase();
    kavo::test::FillWaterCase(View->Case());
    View->BuildTree();
    return *View;
}

void TUndoTest::Select(const QString& path) {
    QTreeWidgetItem* node = NodeByPath(*View->Tree(), path);
    QVERIFY2(node != nullptr, qPrintable(path));
    View->Tree()->setCurrentItem(node);
}

void TUndoTest::stepsAreNamedAndFollowTheSavedState() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    QAction* undo = Action("actionUndo");
    QAction* redo = Action("actionRedo");
    QVERIFY(!undo->isEnabled());

    Select("Irrigation");
    view.Tree()->currentItem()->setText(0, QStringLiteral("Wells"));
    QTRY_VERIFY(NodeByPath(*view.Tree(), "Wells") != nullptr);
    QVERIFY(view.Case().Modified);
    // The caption marks unsaved changes where its "[*]" stands.
    QVERIFY(view.windowTitle().endsWith(QStringLiteral("[*]")));
    QWidget& frame = *view.parentWidget();
    QVERIFY(frame.isWindowModified());
    QVERIFY(undo->isEnabled());
    QCOMPARE(undo->text(), QStringLiteral("&Undo Rename arena"));

    undo->trigger();
    QVERIFY(NodeByPath(*view.Tree(), "Irrigation") != nullptr);
    QCOMPARE(view.Tree()->currentItem()->text(0), QStringLiteral("Irrigation"));
    QVERIFY(!view.Case().Modified);
    QVERIFY(!frame.isWindowModified());
    QCOMPARE(redo->text(), QStringLiteral("&Redo Rename arena"));
    QCOMPARE(undo->text(), QStringLiteral("&Undo"));

    redo->trigger();
    QVERIFY(NodeByPath(*view.Tree(), "Wells") != nullptr);
    QVERIFY(view.Case().Modified);

    // After a save, undoing leaves the saved state and redoing returns to it.
    QTemporaryDir folder;
    view.SetFolderChooser([&folder] { return folder.path(); });
    QVERIFY(view.Save());
    QVERIFY(!view.Case().Modified);
    QVERIFY(!frame.isWindowModified());
    undo->trigger();
    QVERIFY(view.Case().Modified);
    QVERIFY(frame.isWindowModified());
    redo->trigger();
    QVERIFY(!view.Case().Modified);
    QVERIFY(!frame.isWindowModified());
}

void TUndoTest::undoAcrossADeletionBringsEverythingBack_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("dictionary");
    QTest::addColumn<QString>("step");
    QTest::newRow("actor from arena") << "Irrigation/Farmers" << false << "Delete actor from arena";
    QTest::newRow("arena") << "Irrigation" << false << "Delete arena";
    QTest::newRow("factor") << "Crop yield" << true << "Delete factor";
    QTest::newRow("actor with its factors") << "Farmers" << true << "Delete actor";
    QTest::newRow("action") << "Farmers/Pumping" << true << "Delete action";
}

void TUndoTest::undoAcrossADeletionBringsEverythingBack() {
    QFETCH(QString, path);
    QFETCH(bool, dictionary);
    QFETCH(QString, step);

    TModalAnswers answers({Press(QMessageBox::Yes)});
    TCaseView& view = OpenFixture();
    if (dictionary) {
        view.SwitchTreeMode();
    }
    const QStringList before = TreeLines(*view.Tree());
    const std::size_t links = view.Case().ArenaList[1]->Actors[0]->Perception->Links.size();
    Select(path);
    view.DeleteItem();
    QCOMPARE(answers.Seen.size(), 1);
    QVERIFY(NodeByPath(*view.Tree(), path) == nullptr);
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo ") + step);

    Action("actionUndo")->trigger();
    QCOMPARE(TreeLines(*view.Tree()), before);
    QCOMPARE(view.Case().ArenaList[1]->Actors[0]->Perception->Links.size(), links);
    QVERIFY(!view.Case().Modified);
    Action("actionRedo")->trigger();
    QVERIFY(NodeByPath(*view.Tree(), path) == nullptr);
}

void TUndoTest::commentEditIsOneStep() {
    TModalAnswers answers;
    TCaseView& view = OpenFixture();
    Select("Irrigation/Farmers");
    const QString original = view.CommentBox()->toPlainText();
    view.StartCommentEdit();
    view.CommentBox()->setPlainText(QStringLiteral("Pump less."));
    view.AcceptCommentEdit();
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Edit comment"));
    Action("actionUndo")->trigger();
    QCOMPARE(view.CommentBox()->toPlainText(), original);
    QCOMPARE(view.SelectedAiA()->Comment, std::vector<std::string>{original.toStdString()});
    Action("actionRedo")->trigger();
    QCOMPARE(view.CommentBox()->toPlainText(), QStringLiteral("Pump less."));
}

void TUndoTest::undoShowsThePerceptionItChanges() {
    TModalAnswers answers({Press(QMessageBox::Yes)});
    TCaseView& view = OpenFixture();
    view.SwitchTreeMode();
    Select("Crop yield");
    view.DeleteItem();
    view.SwitchTreeMode();
    Select("Drinking water/Citizens");
    // The deletion touched two perceptions; undo shows the last of them.
    Action("actionUndo")->trigger();
    QVERIFY(view.CurrentPerception() != nullptr);
    QVERIFY(view.CurrentPerception()->FindFiP(view.Case().FactorList.Find("Crop yield")) !=
            nullptr);
}

namespace {

// The case document as a save would write it, at a fixed time and without images.
QStringList Document(kavo::TCase& c) {
    kavo::TImageWriter noImages;
    kavo::TCaseWriter writer(c, noImages, [] { return std::string("2024-05-06 07:08:09"); });
    QStringList lines;
    for (const std::string& line : writer.Document("")) {
        lines << QString::fromStdString(line);
    }
    return lines;
}

QStringList FactorsOf(const kavo::TPerception& perception) {
    QStringList names;
    for (const auto& fip : perception.FiPs) {
        names << QString::fromStdString(fip->Factor->Name);
    }
    return names;
}

}  // namespace

void TUndoTest::mergeIntoAnalystViewAsksAndUndoes() {
    TModalAnswers answers({Press(QMessageBox::No), Press(QMessageBox::Yes)});
    TCaseView& view = OpenFixture();
    QAction* merge = Action("actionMergeAnalystView");
    // Only with a perception of an arena shown for editing: not on the root, nor on an arena
    // whose view is shown greyed.
    for (const QString& path : {QString(), QStringLiteral("Irrigation")}) {
        Select(path);
        QVERIFY2(!merge->isEnabled(), qPrintable(path));
    }
    Select("Irrigation/*Analyst view");
    QVERIFY(merge->isEnabled());
    const kavo::TPerception& analystView = *view.Case().ArenaList.Find("Irrigation")->AnalystView;
    const QStringList before = Document(view.Case());

    merge->trigger();
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen[0].Text, QStringLiteral("Overwrite current analyst view?"));
    QCOMPARE(answers.Seen[0].Symbol, QMessageBox::Warning);
    QCOMPARE(Document(view.Case()), before);
    QVERIFY(!view.Case().Modified);

    merge->trigger();
    QCOMPARE(answers.Seen.size(), 2);
    // The water board draws nothing in this arena: the view shows what the farmers see.
    const kavo::TAiA& farmers = *view.Case().ArenaList.Find("Irrigation")->FindActor("Farmers");
    QCOMPARE(FactorsOf(analystView), FactorsOf(*farmers.Perception));
    QVERIFY(analystView.Goals.empty());
    QCOMPARE(analystView.Prospects.size(), std::size_t{1});
    QCOMPARE(analystView.Links.size(), std::size_t{3});
    QVERIFY(view.Case().Modified);
    const QStringList after = Document(view.Case());
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Merge into analyst view"));

    Action("actionUndo")->trigger();
    QCOMPARE(Document(view.Case()), before);
    QVERIFY(!view.Case().Modified);
    Action("actionRedo")->trigger();
    QCOMPARE(Document(view.Case()), after);

    // An empty view is filled without a question.
    Select("Drinking water/Citizens");
    merge->trigger();
    QCOMPARE(answers.Seen.size(), 2);
    QCOMPARE(Action("actionUndo")->text(), QStringLiteral("&Undo Merge into analyst view"));
}

QTEST_MAIN(TUndoTest)
#include "tst_undo.moc"
