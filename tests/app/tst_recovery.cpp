#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>
#include <cstring>

#include "app/CaseFixture.h"
#include "app/ModalAnswers.h"
#include "app/TCaseFiles.h"
#include "app/TCaseView.h"
#include "app/TKAVO.h"
#include "app/TRecovery.h"
#include "editing/CaseEdits.h"
#include "editing/TEdit.h"

namespace {

constexpr const char* kEditAndDie = "--edit-and-die";
constexpr const char* kEditedName = "Water test, edited before the crash";

// Presses the button of that text in the message box.
kavo::test::TModalAnswers::TReply Press(const QString& text) {
    return [text](QWidget* modal) {
        for (QPushButton* button : modal->findChildren<QPushButton*>()) {
            if (button->text() == text) {
                button->click();
                return;
            }
        }
    };
}

// The water case saved into the folder, in a new window of the main window.
kavo::TCaseView* SavedCase(kavo::TKAVO& main, const QString& folder) {
    kavo::TCaseView* view = main.NewCase();
    kavo::test::FillWaterCase(view->Case());
    view->BuildTree();
    view->SetFolderChooser([folder] { return folder; });
    view->Save();
    return view;
}

void Rename(kavo::TCaseView* view, const char* name = kEditedName) {
    kavo::TEdit edit;
    kavo::RenameCase(edit, view->Case(), name);
    view->Perform(std::move(edit));
}

// The process the crash test kills: saves the case, edits it, lets the timer write the recovery
// copy and dies without a word.
int EditAndDie(const QString& folder) {
    kavo::TKAVO main;
    kavo::TCaseView* view = SavedCase(main, folder);
    Rename(view);
    main.SetAutosaveInterval(10);
    QTest::qWait(200);
    std::raise(SIGKILL);
    return 1;
}

}  // namespace

class TRecoveryTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { QDir(kavo::TRecovery::RootFolder()).removeRecursively(); }
    void killedRunLeavesACopyTheNextStartOffers();
    void saveAndCloseRemoveTheCopy();
    void discardedCopyIsGone();
    void copyOfAnOpenWindowIsNotOffered();
};

void TRecoveryTest::killedRunLeavesACopyTheNextStartOffers() {
    QTemporaryDir scratch;
    const QString folder = scratch.filePath(QStringLiteral("water"));
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QString::fromLatin1(kEditAndDie), folder});
    QVERIFY(child.waitForFinished(30000));
    QCOMPARE(child.exitStatus(), QProcess::CrashExit);
    QCOMPARE(kavo::TRecovery::Pending().size(), 1);

    kavo::TKAVO main;
    kavo::test::TModalAnswers answers({Press(QStringLiteral("Open"))});
    main.OfferRecovery();
    QCOMPARE(answers.Seen.size(), 1);
    QVERIFY(answers.Seen[0].Text.contains(QStringLiteral("Water test, edited")));
    QCOMPARE(main.CaseViews().size(), 1);
    kavo::TCaseView* view = main.CaseViews().front();
    QCOMPARE(QString::fromStdString(view->Case().Name), QString::fromLatin1(kEditedName));
    QCOMPARE(QString::fromStdString(view->Case().Folder), folder + QStringLiteral("/"));
    QVERIFY(view->Case().Modified);
    QVERIFY(view->Case().ArenaList.Find("Irrigation") != nullptr);

    // Save writes it where it belongs, and the copy goes.
    QVERIFY(view->Save());
    kavo::TCase read(main.Context());
    QCOMPARE(kavo::TCaseFiles::Read(read, folder), kavo::TReadOutcome::roRead);
    QCOMPARE(QString::fromStdString(read.Name), QString::fromLatin1(kEditedName));
    QVERIFY(kavo::TRecovery::Pending().isEmpty());
    QVERIFY(QDir(kavo::TRecovery::RootFolder()).isEmpty());
}

void TRecoveryTest::saveAndCloseRemoveTheCopy() {
    QTemporaryDir scratch;
    kavo::TKAVO main;
    kavo::TCaseView* view = SavedCase(main, scratch.filePath(QStringLiteral("water")));
    view->Autosave();
    QVERIFY(view->RecoveryCopy().Slot().isEmpty());
    Rename(view);
    view->Autosave();
    const QString slot = view->RecoveryCopy().Slot();
    QVERIFY(QFileInfo::exists(slot + QStringLiteral("/KAVO case.htm")));
    QVERIFY(view->Save());
    QVERIFY(!QFileInfo::exists(slot));

    Rename(view, "Water test, edited again");
    view->Autosave();
    QVERIFY(!view->RecoveryCopy().Slot().isEmpty());
    kavo::test::TModalAnswers answers({Press(QStringLiteral("&No"))});
    QVERIFY(view->parentWidget()->close());
    QVERIFY(QDir(kavo::TRecovery::RootFolder()).isEmpty());
}

void TRecoveryTest::discardedCopyIsGone() {
    {
        kavo::TKAVO main;
        kavo::TCaseView* view = main.NewCase();
        kavo::test::FillWaterCase(view->Case());
        Rename(view);
        view->Autosave();
        QVERIFY(!view->RecoveryCopy().Slot().isEmpty());
        // The program goes without closing its windows, as in a crash.
    }
    const QList<kavo::TRecovery::TFound> pending = kavo::TRecovery::Pending();
    QCOMPARE(pending.size(), 1);
    QVERIFY(pending[0].Folder.isEmpty());
    kavo::TKAVO main;
    kavo::test::TModalAnswers answers({Press(QStringLiteral("Discard"))});
    main.OfferRecovery();
    QCOMPARE(answers.Seen.size(), 1);
    QVERIFY(answers.Seen[0].Text.contains(QStringLiteral("never saved")));
    QVERIFY(main.CaseViews().isEmpty());
    QVERIFY(kavo::TRecovery::Pending().isEmpty());
}

void TRecoveryTest::copyOfAnOpenWindowIsNotOffered() {
    kavo::TKAVO main;
    kavo::TCaseView* view = main.NewCase();
    kavo::test::FillWaterCase(view->Case());
    Rename(view);
    view->Autosave();
    QVERIFY(!view->RecoveryCopy().Slot().isEmpty());
    QVERIFY(kavo::TRecovery::Pending().isEmpty());
}

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QStandardPaths::setTestModeEnabled(true);
    if (argc == 3 && std::strcmp(argv[1], kEditAndDie) == 0) {
        return EditAndDie(QString::fromLocal8Bit(argv[2]));
    }
    TRecoveryTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_recovery.moc"
