#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "app/ModalAnswers.h"
#include "app/TCaseView.h"
#include "app/TDiagramView.h"
#include "app/TErrorDlg.h"
#include "app/TKAVO.h"
#include "app/TUserSettings.h"

using kavo::TCaseView;
using kavo::TErrorDlg;
using kavo::TKAVO;
using kavo::TUserSettings;
using kavo::test::ClickOk;
using kavo::test::Press;
using kavo::test::TModalAnswers;

Q_DECLARE_METATYPE(std::function<void(kavo::TMessages&, const std::string&)>)

namespace {

struct TMenuEntry {
    const char* Menu;
    const char* Action;
    const char* Caption;
    const char* Shortcut;
    bool EnabledAtStart;
    bool EnabledWithCase;
};

// The menus as the user sees them, in order; entries of a disabled menu count as disabled. With a
// new case its root is selected, which can be renamed but not deleted; entries whose commands the
// program does not have yet stay disabled.
constexpr TMenuEntry kMenuEntries[] = {
    {"menuFile", "actionNew", "&New", "Ctrl+N", true, true},
    {"menuFile", "actionOpen", "&Open", "Ctrl+O", true, true},
    {"menuFile", "actionOpenFromWeb", "Open from &web address...", "", true, true},
    {"menuFile", "actionSave", "&Save", "Ctrl+S", false, true},
    {"menuFile", "actionSaveAs", "Save &as", "", false, true},
    {"menuFile", "actionClose", "&Close", "", false, true},
    {"menuCase", "actionRenameConcept", "&Rename concept", "Ctrl+R", false, true},
    {"menuCase", "actionTagConcept", "&Tag concept", "Ctrl+T", false, false},
    {"menuCase", "actionDeleteConcept", "&Delete concept", "Ctrl+Del", false, false},
    {"menuCase", "actionColorCodes", "Dra&w with color codes", "Ctrl+Alt+C", false, true},
    {"menuCase", "actionSystemDiagram", "Show as &System diagram", "Ctrl+Alt+S", false, false},
    {"menuCase", "actionActorRelations", "Define &actor relations", "Ctrl+Alt+R", false, true},
    {"menuCase", "actionInitializeRound", "&Initialize round 0", "Ctrl+Alt+I", false, true},
    {"menuCase", "actionNextRound", "&Next round", "F10", false, false},
    {"menuCase", "actionPlotRounds", "&Plot simulation results", "", false, true},
    {"menuCase", "actionMonitorChanges", "&Monitor distributions", "", false, true},
    {"menuCase", "actionOptions", "&Options", "", false, true},
    {"menuCase", "actionSubmit", "Submit for &Publication", "", false, false},
    {"menuEdit", "actionUndo", "&Undo", "Ctrl+Z", false, false},
    {"menuEdit", "actionRedo", "&Redo", "Ctrl+Shift+Z", false, false},
    {"menuEdit", "actionCut", "Cu&t", "Ctrl+X", false, true},
    {"menuEdit", "actionCopy", "&Copy", "Ctrl+C", false, true},
    {"menuEdit", "actionPaste", "&Paste", "Ctrl+V", false, true},
    {"menuEdit", "actionSelectAll", "Select A&ll", "Ctrl+A", false, true},
    {"menuEdit", "actionLookForCycles", "Look for C&ycles", "Ctrl+Alt+Y", false, false},
    {"menuEdit", "actionSelectNextCycle", "&Select Next Cycle", "Ctrl+Y", false, false},
    {"menuEdit", "actionDefineGoal", "Define &Goal", "Ctrl+G", false, false},
    {"menuEdit", "actionDefineProspect", "Define P&rospect", "Ctrl+P", false, false},
    {"menuEdit", "actionEraseGoals", "&Erase Goals and Prospects", "Ctrl+E", false, true},
    {"menuEdit", "actionHigherPriority", "&Higher priority", "Ctrl+Alt+H", false, false},
    {"menuEdit", "actionLowerPriority", "&Lower priority", "Ctrl+Alt+L", false, false},
    {"menuEdit", "actionMergeAnalystView", "&Merge into analyst view", "Ctrl+M", false, false},
    {"menuEdit", "actionCopyQuickAnalysis", "Copy &Quick Analysis", "Ins", false, false},
    {"menuEdit", "actionCopyQuickAnalysisText", "Copy Quick &Analysis as Text", "Shift+Ins", false,
     false},
    {"menuHelp", "actionReportProblem", "&Report a problem...", "", true, true},
};

struct TMenuState {
    const char* Menu;
    const char* Caption;
    bool EnabledAtStart;
};

constexpr TMenuState kMenus[] = {
    {"menuFile", "&File", true},
    {"menuCase", "&Case", false},
    {"menuEdit", "&Edit", false},
    {"menuHelp", "&Help", true},
};

QMenu* Menu(const TKAVO& window, const char* name) {
    return window.findChild<QMenu*>(QString::fromLatin1(name));
}

QAction* Action(const TKAVO& window, const char* name) {
    return window.findChild<QAction*>(QString::fromLatin1(name));
}

// Whether the commands that need an open case are available, as the menus show it.
bool CaseCommandsEnabled(const TKAVO& window) {
    const bool save = Action(window, "actionSave")->isEnabled();
    const bool saveAs = Action(window, "actionSaveAs")->isEnabled();
    const bool close = Action(window, "actionClose")->isEnabled();
    const bool caseMenu = Menu(window, "menuCase")->menuAction()->isEnabled();
    const bool editMenu = Menu(window, "menuEdit")->menuAction()->isEnabled();
    if (save != saveAs || save != close || save != caseMenu || save != editMenu) {
        qWarning("case commands disagree: save %d, save as %d, close %d, case %d, edit %d", save,
                 saveAs, close, caseMenu, editMenu);
    }
    return save && saveAs && close && caseMenu && editMenu;
}

bool CaseCommandsDisabled(const TKAVO& window) {
    return !Action(window, "actionSave")->isEnabled() &&
           !Action(window, "actionSaveAs")->isEnabled() &&
           !Action(window, "actionClose")->isEnabled() &&
           !Menu(window, "menuCase")->menuAction()->isEnabled() &&
           !Menu(window, "menuEdit")->menuAction()->isEnabled();
}

TCaseView* NewModifiedCase(TKAVO& window) {
    TCaseView* view = window.NewCase();
    view->Case().Modified = true;
    return view;
}

}  // namespace

class TMainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();

    void startsWithCaptionContextAndEmptyStatus();
    void menuEntry_data();
    void menuEntry();
    void menusListTheirEntriesInOrder();
    void colorCodesEntrySetsTheContext();
    void statusTextShowsAndClears();

    void newOpensACaseWindowAndEnablesCaseCommands();
    void closingTheLastCaseWindowDisablesCaseCommands();
    void closeAsksForAModifiedCase_data();
    void closeAsksForAModifiedCase();
    void closingTheMainWindowAsksEachModifiedCase_data();
    void closingTheMainWindowAsksEachModifiedCase();

    void settingsAreCompletedAndStored_data();
    void settingsAreCompletedAndStored();
    void settingsThatCannotBeStoredAreReported();

    void messageDialogShowsEachKind_data();
    void messageDialogShowsEachKind();
    void messageTextBoxIsReadOnlyWithCaretAtStart();
    void messageDialogFitsItsText_data();
    void messageDialogFitsItsText();
    void veryLongMessageScrollsAndKeepsItsButton();
    void messageButtonLeavesTheTextUncovered();

  private:
    QTemporaryDir SettingsFolder;
};

void TMainWindowTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QApplication::setQuitOnLastWindowClosed(false);
    QVERIFY(SettingsFolder.isValid());
}

void TMainWindowTest::init() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
    const auto store = TUserSettings::OpenStore();
    store->clear();
    store->sync();
}

void TMainWindowTest::startsWithCaptionContextAndEmptyStatus() {
    TModalAnswers answers;
    TKAVO window;
    QCOMPARE(window.windowTitle(), QStringLiteral("KAVO  (KAVO version 1.3.3)"));
    QVERIFY(window.CaseViews().isEmpty());
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("statusPanel"))->text(), QString());
    QCOMPARE(window.MessageDialog().windowTitle(), QStringLiteral("Message"));

    const kavo::TContext& context = window.Context();
    QCOMPARE(context.DefaultFont, (kavo::TFont{"MS Sans Serif", 8}));
    QCOMPARE(context.ScreenWidth, QGuiApplication::primaryScreen()->size().width());
    QCOMPARE(context.ScreenHeight, QGuiApplication::primaryScreen()->size().height());
    QVERIFY(!context.MonitorChanges);
    QVERIFY(!context.ShowColorCodes);
    QVERIFY(answers.Seen.isEmpty());
}

void TMainWindowTest::menuEntry_data() {
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<bool>("enabledAtStart");
    QTest::addColumn<bool>("enabledWithCase");
    for (const TMenuEntry& entry : kMenuEntries) {
        QTest::newRow(entry.Action) << entry.Menu << entry.Action << entry.Caption << entry.Shortcut
                                    << entry.EnabledAtStart << entry.EnabledWithCase;
    }
}

void TMainWindowTest::menuEntry() {
    QFETCH(QString, menu);
    QFETCH(QString, action);
    QFETCH(QString, caption);
    QFETCH(QString, shortcut);
    QFETCH(bool, enabledAtStart);
    QFETCH(bool, enabledWithCase);

    TModalAnswers answers;
    TKAVO window;
    window.show();
    auto* entry = window.findChild<QAction*>(action);
    QVERIFY(entry != nullptr);
    QVERIFY(window.findChild<QMenu*>(menu)->actions().contains(entry));
    QCOMPARE(entry->text(), caption);
    QCOMPARE(entry->shortcut().toString(QKeySequence::PortableText), shortcut);
    QCOMPARE(entry->isEnabled(), enabledAtStart);

    window.NewCase();
    QCOMPARE(entry->isEnabled(), enabledWithCase);
}

void TMainWindowTest::menusListTheirEntriesInOrder() {
    TModalAnswers answers;
    TKAVO window;
    QStringList menuCaptions;
    for (QAction* menuAction : window.menuBar()->actions()) {
        menuCaptions << menuAction->text();
    }
    QStringList expectedMenus;
    for (const TMenuState& state : kMenus) {
        expectedMenus << state.Caption;
        QMenu* menu = Menu(window, state.Menu);
        QVERIFY2(menu != nullptr, state.Menu);
        QCOMPARE(menu->menuAction()->isEnabled(), state.EnabledAtStart);

        QStringList captions;
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                captions << action->text();
            }
        }
        QStringList expected;
        for (const TMenuEntry& entry : kMenuEntries) {
            if (QString::fromLatin1(entry.Menu) == state.Menu) {
                expected << entry.Caption;
            }
        }
        QCOMPARE(captions, expected);
    }
    QCOMPARE(menuCaptions, expectedMenus);
}

void TMainWindowTest::colorCodesEntrySetsTheContext() {
    TModalAnswers answers;
    TKAVO window;
    window.show();
    window.NewCase();
    QAction* colorCodes = Action(window, "actionColorCodes");
    QVERIFY(colorCodes->isCheckable());
    QVERIFY(!colorCodes->isChecked());

    colorCodes->trigger();
    QVERIFY(window.Context().ShowColorCodes);
    colorCodes->trigger();
    QVERIFY(!window.Context().ShowColorCodes);
}

void TMainWindowTest::statusTextShowsAndClears() {
    TModalAnswers answers;
    TKAVO window;
    window.show();
    const auto* panel = window.findChild<QLabel*>(QStringLiteral("statusPanel"));
    kavo::TStatus& status = window.Context().Status;

    status.SetStatusText("Reading the case");
    QCOMPARE(panel->text(), QStringLiteral("Reading the case"));
    status.PumpEvents();
    status.SetStatusText("");
    QCOMPARE(panel->text(), QString());
}

void TMainWindowTest::newOpensACaseWindowAndEnablesCaseCommands() {
    TModalAnswers answers;
    TKAVO window;
    window.show();
    QVERIFY(CaseCommandsDisabled(window));

    Action(window, "actionNew")->trigger();
    QCOMPARE(window.CaseViews().size(), 1);
    TCaseView* view = window.CaseViews().front();
    QCOMPARE(view->windowTitle(), QStringLiteral("New case[*]"));
    QCOMPARE(qobject_cast<QMdiSubWindow*>(view->parentWidget())->windowTitle(),
             QStringLiteral("New case[*]"));
    QCOMPARE(view->DrawingArea()->size(), QSize(view->Case().MaxWidth, view->Case().MaxHeight));
    QCOMPARE(view->DrawingArea()->width(), window.Context().ScreenWidth);
    QVERIFY(CaseCommandsEnabled(window));
    QVERIFY(answers.Seen.isEmpty());
}

void TMainWindowTest::closingTheLastCaseWindowDisablesCaseCommands() {
    TModalAnswers answers;
    TKAVO window;
    window.show();
    window.NewCase();
    window.NewCase();
    QAction* close = Action(window, "actionClose");

    close->trigger();
    QTRY_COMPARE(window.CaseViews().size(), 1);
    QVERIFY(CaseCommandsEnabled(window));

    close->trigger();
    QTRY_COMPARE(window.CaseViews().size(), 0);
    QVERIFY(CaseCommandsDisabled(window));
    QVERIFY(answers.Seen.isEmpty());

    Action(window, "actionNew")->trigger();
    QVERIFY(CaseCommandsEnabled(window));
}

void TMainWindowTest::closeAsksForAModifiedCase_data() {
    QTest::addColumn<int>("reply");
    QTest::addColumn<bool>("chooseFolder");
    QTest::addColumn<bool>("closes");
    QTest::newRow("cancel keeps it") << int(QMessageBox::Cancel) << false << false;
    QTest::newRow("no closes it") << int(QMessageBox::No) << false << true;
    QTest::newRow("yes with the folder chooser cancelled keeps it")
        << int(QMessageBox::Yes) << false << false;
    QTest::newRow("yes saved into a folder closes it") << int(QMessageBox::Yes) << true << true;
}

void TMainWindowTest::closeAsksForAModifiedCase() {
    QFETCH(int, reply);
    QFETCH(bool, chooseFolder);
    QFETCH(bool, closes);

    QTemporaryDir folders;
    const QString folder = folders.filePath(QStringLiteral("Saved case"));
    TKAVO window;
    window.show();
    TCaseView* view = NewModifiedCase(window);
    const auto button = static_cast<QMessageBox::StandardButton>(reply);
    const bool asksForFolder = button == QMessageBox::Yes;
    TModalAnswers answers(
        {Press(button), chooseFolder ? kavo::test::ChooseFolder(folder) : kavo::test::Cancel()});

    Action(window, "actionClose")->trigger();
    QCOMPARE(answers.Seen.size(), asksForFolder ? 2 : 1);
    QCOMPARE(answers.Seen.front().Text,
             QStringLiteral("Do you want to save the changes you made?"));
    QCOMPARE(answers.Seen.front().Symbol, QMessageBox::Warning);
    if (asksForFolder) {
        QCOMPARE(answers.Seen.back().Caption, QStringLiteral("Select folder"));
    }
    QTRY_COMPARE(window.CaseViews().size(), closes ? 0 : 1);
    QCOMPARE(CaseCommandsEnabled(window), !closes);
    if (!closes) {
        QVERIFY(view->Case().Modified);
    }
    QCOMPARE(QFile::exists(folder + QStringLiteral("/KAVO case.htm")), chooseFolder);
}

void TMainWindowTest::closingTheMainWindowAsksEachModifiedCase_data() {
    QTest::addColumn<QList<int>>("replies");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("closes");
    QTest::newRow("cancel on the first asks no further")
        << QList<int>{QMessageBox::Cancel} << 1 << false;
    QTest::newRow("cancel on the second keeps the first too")
        << QList<int>{QMessageBox::No, QMessageBox::Cancel} << 2 << false;
    QTest::newRow("no to both closes") << QList<int>{QMessageBox::No, QMessageBox::No} << 2 << true;
}

void TMainWindowTest::closingTheMainWindowAsksEachModifiedCase() {
    QFETCH(QList<int>, replies);
    QFETCH(int, questions);
    QFETCH(bool, closes);

    QList<TModalAnswers::TReply> answerList;
    for (int reply : replies) {
        answerList << Press(static_cast<QMessageBox::StandardButton>(reply));
    }
    TModalAnswers answers(answerList);
    TKAVO window;
    window.show();
    window.NewCase();  // unmodified, never asked
    NewModifiedCase(window);
    NewModifiedCase(window);

    QCOMPARE(window.close(), closes);
    QCOMPARE(answers.Seen.size(), questions);
    QCOMPARE(window.isVisible(), !closes);
    if (!closes) {
        QTest::qWait(20);
        QCOMPARE(window.CaseViews().size(), 3);
    }
}

void TMainWindowTest::settingsAreCompletedAndStored_data() {
    QTest::addColumn<QVariant>("storedFolder");
    QTest::addColumn<QVariant>("storedLocation");
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("location");
    const QString home = QDir::homePath() + "/";
    const QString published = QString::fromLatin1(kavo::kPublishedCasesPage);
    QTest::newRow("first run") << QVariant() << QVariant() << home << published;
    QTest::newRow("empty values") << QVariant("") << QVariant("") << home << published;
    QTest::newRow("old web page replaced")
        << QVariant() << QVariant("http://www.example.org/cases/") << home << published;
    QTest::newRow("local location kept")
        << QVariant("/srv/cases/") << QVariant("/srv/cases/budget/") << "/srv/cases/"
        << "/srv/cases/budget/";
    QTest::newRow("secure web address kept") << QVariant() << QVariant("https://cases.example.org/")
                                             << home << "https://cases.example.org/";
}

void TMainWindowTest::settingsAreCompletedAndStored() {
    QFETCH(QVariant, storedFolder);
    QFETCH(QVariant, storedLocation);
    QFETCH(QString, folder);
    QFETCH(QString, location);
    {
        const auto store = TUserSettings::OpenStore();
        if (storedFolder.isValid()) {
            store->setValue(TUserSettings::kDefaultFolderKey, storedFolder);
        }
        if (storedLocation.isValid()) {
            store->setValue(TUserSettings::kLastLocationKey, storedLocation);
        }
    }

    TModalAnswers answers;
    TKAVO window;
    QVERIFY(answers.Seen.isEmpty());
    QCOMPARE(window.DefaultFolder(), folder);
    QCOMPARE(window.LastLocation(), location);
    const auto store = TUserSettings::OpenStore();
    QCOMPARE(store->value(TUserSettings::kDefaultFolderKey).toString(), folder);
    QCOMPARE(store->value(TUserSettings::kLastLocationKey).toString(), location);
    QVERIFY(QFileInfo(store->fileName()).absoluteFilePath().startsWith(SettingsFolder.path()));

    QVERIFY(window.ScratchFolder().endsWith(QStringLiteral("/KAVO/")));
    QVERIFY(QDir(window.ScratchFolder()).exists());
}

void TMainWindowTest::settingsThatCannotBeStoredAreReported() {
    // A plain file where the settings folder would have to be.
    const QString blocker = SettingsFolder.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, blocker);

    TModalAnswers answers({ClickOk()});
    TKAVO window;
    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen.front().Caption, QStringLiteral("KAVO error"));
    QCOMPARE(answers.Seen.front().Text, QStringLiteral("Failed to store the KAVO settings"));
    QCOMPARE(answers.Seen.front().Symbol, QMessageBox::Critical);
    QCOMPARE(window.DefaultFolder(), QString());
    QCOMPARE(window.LastLocation(), QString());
    QVERIFY(!window.MessageDialog().isVisible());
}

void TMainWindowTest::messageDialogShowsEachKind_data() {
    using Show = std::function<void(kavo::TMessages&, const std::string&)>;
    QTest::addColumn<Show>("show");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("symbol");
    QTest::newRow("error") << Show([](kavo::TMessages& m, const std::string& t) { m.ShowError(t); })
                           << "KAVO error" << int(QMessageBox::Critical);
    QTest::newRow("warning") << Show([](kavo::TMessages& m, const std::string& t) {
        m.ShowWarning(t);
    }) << "KAVO warning" << int(QMessageBox::Warning);
    QTest::newRow("information") << Show([](kavo::TMessages& m, const std::string& t) {
        m.ShowInformation(t);
    }) << "KAVO information" << int(QMessageBox::Information);
}

void TMainWindowTest::messageDialogShowsEachKind() {
    QFETCH(std::function<void(kavo::TMessages&, const std::string&)>, show);
    QFETCH(QString, caption);
    QFETCH(int, symbol);

    TModalAnswers answers({ClickOk()});
    TKAVO window;
    show(window.Context().Messages, "The factor \"Taxes\" already exists.");

    QCOMPARE(answers.Seen.size(), 1);
    QCOMPARE(answers.Seen.front().Caption, caption);
    QCOMPARE(answers.Seen.front().Text, QStringLiteral("The factor \"Taxes\" already exists."));
    QCOMPARE(int(answers.Seen.front().Symbol), symbol);
    const TErrorDlg& dialog = window.MessageDialog();
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.windowTitle(), caption);
    QCOMPARE(dialog.Message(), QStringLiteral("The factor \"Taxes\" already exists."));
}

void TMainWindowTest::messageTextBoxIsReadOnlyWithCaretAtStart() {
    TErrorDlg dialog;
    dialog.SetMessage(QStringLiteral("First line\nSecond line"));
    const auto* box = dialog.findChild<QTextEdit*>();
    QVERIFY(box->isReadOnly());
    QCOMPARE(box->toPlainText(), QStringLiteral("First line\nSecond line"));
    QCOMPARE(box->textCursor().position(), 0);
    QVERIFY(!box->textCursor().hasSelection());
    QVERIFY(box->document()->defaultTextOption().alignment() & Qt::AlignHCenter);
}

void TMainWindowTest::messageDialogFitsItsText_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("one line") << "Short.";
    QTest::newRow("ten lines") << QStringList(10, QStringLiteral("line")).join('\n');
    QTest::newRow("empty line between") << "Above\n\nBelow";
    QTest::newRow("eighty words") << QStringList(80, QStringLiteral("word")).join(' ');
    QTest::newRow("a long path") << "Could not open file \"/home/someone/cases/Water for the Green "
                                    "Valley, second draft/KAVO case.htm\"";
    QTest::newRow("one long word") << QString(300, QLatin1Char('x'));
}

void TMainWindowTest::messageDialogFitsItsText() {
    QFETCH(QString, text);
    TErrorDlg dialog;
    dialog.SetMessage(text);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto* box = dialog.findChild<QTextEdit*>();
    const auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"));
    QVERIFY(ok != nullptr);
    // The whole text shows, and the button lies below it, inside the dialog.
    QCOMPARE(box->verticalScrollBar()->maximum(), 0);
    QVERIFY(box->document()->size().height() <= box->viewport()->height());
    QVERIFY(ok->geometry().top() >= box->geometry().bottom());
    QVERIFY(dialog.rect().contains(ok->geometry()));
    QVERIFY(dialog.rect().contains(box->geometry()));
    QVERIFY(dialog.height() >= 85);
    // Its size is its own: the user cannot resize, minimise or maximise it.
    QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(dialog.windowFlags().testFlag(Qt::WindowCloseButtonHint));

    // A longer text makes the dialog grow, a shorter one shrink.
    const QSize size = dialog.size();
    dialog.SetMessage(text + QStringLiteral("\nOne more line"));
    QVERIFY(dialog.height() > size.height());
    dialog.SetMessage(text);
    QCOMPARE(dialog.size(), size);
}

void TMainWindowTest::veryLongMessageScrollsAndKeepsItsButton() {
    TErrorDlg dialog;
    dialog.SetMessage(QStringList(400, QStringLiteral("line")).join('\n'));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto* box = dialog.findChild<QTextEdit*>();
    const auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("okButton"));
    QVERIFY(box->verticalScrollBar()->maximum() > 0);
    QVERIFY(dialog.height() <= dialog.screen()->availableGeometry().height());
    QVERIFY(ok->geometry().top() >= box->geometry().bottom());
    QVERIFY(dialog.rect().contains(ok->geometry()));
}

void TMainWindowTest::messageButtonLeavesTheTextUncovered() {
    TErrorDlg dialog;
    dialog.SetMessage(QStringLiteral(
        "Error while writing to file \"/home/analyst/cases/Water/gif/notag.gif\": Is a directory"));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const auto* box = dialog.findChild<QTextEdit*>();
    const auto* ok = dialog.findChild<QPushButton*>();
    QVERIFY2(!ok->geometry().intersects(box->geometry()),
             qPrintable(QStringLiteral("button at %1, text box up to %2")
                            .arg(ok->geometry().left())
                            .arg(box->geometry().right())));
}

QTEST_MAIN(TMainWindowTest)
#include "tst_mainwindow.moc"
