#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QUrlQuery>
#include <QtTest>

#include "ProgramVersion.h"
#include "app/ModalAnswers.h"
#include "app/TErrorDlg.h"
#include "app/TKAVO.h"
#include "app/TProblemReportDlg.h"
#include "support/TestPlatform.h"

using kavo::TErrorDlg;
using kavo::TProblemReportDlg;
using kavo::test::TModalAnswers;

class TProblemReportTest : public QObject {
    Q_OBJECT

  public slots:
    // Stands in for the system's mail program.
    void OpenMail(const QUrl& url) { Mails << url; }

  private slots:
    void initTestCase();
    void messageDialogKeepsTheLastMessages();
    void reportNamesVersionsPlatformAndMessages();
    void reportIsCopiedAndMailedAsEdited();
    void helpMenuOpensTheReportWithTheMessagesShown();

  private:
    QTemporaryDir Settings;
    QList<QUrl> Mails;
};

void TProblemReportTest::initTestCase() {
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, Settings.path());
    QDesktopServices::setUrlHandler(QStringLiteral("mailto"), this, "OpenMail");
}

void TProblemReportTest::messageDialogKeepsTheLastMessages() {
    TErrorDlg dialog;
    TModalAnswers answers;
    dialog.ShowWarning("first");
    dialog.ShowError("second\nwith two lines");
    QCOMPARE(dialog.RecentMessages(),
             QStringList({"KAVO warning: first", "KAVO error: second\nwith two lines"}));
    for (int i = 0; i < 10; ++i) {
        dialog.ShowInformation(std::to_string(i));
    }
    QCOMPARE(dialog.RecentMessages().size(), 10);
    QCOMPARE(dialog.RecentMessages().front(), QStringLiteral("KAVO information: 0"));
    QCOMPARE(dialog.RecentMessages().back(), QStringLiteral("KAVO information: 9"));
}

void TProblemReportTest::reportNamesVersionsPlatformAndMessages() {
    const QString report = TProblemReportDlg::FirstReport(
        {"KAVO warning: Could not open file", "KAVO error: Invalid case file\nsecond line"});
    QVERIFY(report.startsWith(QStringLiteral("KAVO version ") + kavo::kProgramVersion + "\n"));
    QVERIFY(report.contains(QStringLiteral("Qt ") + qVersion()));
    QVERIFY(report.contains(QStringLiteral("Platform: ") + QSysInfo::prettyProductName()));
    QVERIFY(report.contains(QGuiApplication::platformName()));
    QVERIFY(
        report.contains(QStringLiteral("Last messages:\n  KAVO warning: Could not open file\n"
                                       "  KAVO error: Invalid case file\n    second line\n")));
    QVERIFY(
        TProblemReportDlg::FirstReport({}).contains(QStringLiteral("Last messages:\n  (none)")));
}

void TProblemReportTest::reportIsCopiedAndMailedAsEdited() {
    kavo::test::TRecordingMessages messages;
    TProblemReportDlg dialog({QStringLiteral("KAVO error: boom")}, messages);
    auto* box = dialog.findChild<QPlainTextEdit*>(QStringLiteral("reportBox"));
    QTest::keyClicks(box, QStringLiteral("Saving & closing failed."));
    QVERIFY(dialog.Report().endsWith(QStringLiteral("Saving & closing failed.")));

    dialog.findChild<QPushButton*>(QStringLiteral("copyButton"))->click();
    QCOMPARE(QGuiApplication::clipboard()->text(), dialog.Report());

    Mails.clear();
    dialog.findChild<QPushButton*>(QStringLiteral("mailButton"))->click();
    QCOMPARE(Mails.size(), 1);
    QCOMPARE(Mails.front().scheme(), QStringLiteral("mailto"));
    QCOMPARE(Mails.front().path(), QString());
    const QUrlQuery query(Mails.front());
    QCOMPARE(query.queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded),
             QStringLiteral("KAVO %1: problem report").arg(kavo::kProgramVersion));
    QCOMPARE(query.queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded),
             QString(dialog.Report()).replace("\n", "\r\n"));
    QVERIFY(messages.Log.empty());
}

void TProblemReportTest::helpMenuOpensTheReportWithTheMessagesShown() {
    kavo::TKAVO mainWindow;
    QString reported;
    TModalAnswers answers({[](QWidget* modal) { qobject_cast<QDialog*>(modal)->accept(); },
                           [&](QWidget* modal) {
                               reported =
                                   modal->findChild<QPlainTextEdit*>("reportBox")->toPlainText();
                               qobject_cast<QDialog*>(modal)->reject();
                           }});
    mainWindow.MessageDialog().ShowError("Something went wrong");
    mainWindow.findChild<QAction*>(QStringLiteral("actionReportProblem"))->trigger();
    QCOMPARE(answers.Seen.size(), 2);
    QCOMPARE(answers.Seen.back().Caption, QStringLiteral("Report a problem"));
    QVERIFY(reported.contains(QStringLiteral("  KAVO error: Something went wrong\n")));
}

QTEST_MAIN(TProblemReportTest)
#include "tst_problemreport.moc"
