#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

#include "app/FolderLocation.h"
#include "app/ModalAnswers.h"
#include "app/TFindFolderDlg.h"
#include "app/TUserSettings.h"

using kavo::TFindFolderDlg;
using kavo::TUserSettings;
using kavo::test::TModalAnswers;

namespace {

void MakeCase(const QString& folder) {
    QVERIFY(QDir().mkpath(folder));
    QFile file(folder + "/KAVO case.htm");
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("<html>\r\n<head>\r\n<title>Dam case</title>\r\n");
}

}  // namespace

class TFolderChooserTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();

    void locationToPath_data();
    void locationToPath();
    void trailingSlash_data();
    void trailingSlash();
    void parentFolder_data();
    void parentFolder();

    void startsAtTheLastLocationOrTheDefaultFolder_data();
    void startsAtTheLastLocationOrTheDefaultFolder();
    void folderWithACaseShowsItsDocument();
    void backForwardAndUp();
    void defaultFolderCanBeMadeAndVisited();
    void confirmReturnsTheFolder_data();
    void confirmReturnsTheFolder();
    void webAddressIsNotConfirmed();
    void cancelReturnsNothing();
    void nextUseStartsInTheFolderLastConfirmed_data();
    void nextUseStartsInTheFolderLastConfirmed();
    void rememberedFolderIsWhereTheNextUseStarts();
    void caseImageFolderIsNotListed();

  private:
    QTemporaryDir SettingsFolder;
    QTemporaryDir Root;
    TUserSettings Settings;
};

void TFolderChooserTest::initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QVERIFY(SettingsFolder.isValid());
    QVERIFY(Root.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, SettingsFolder.path());
    MakeCase(Root.filePath(QStringLiteral("cases/dam")));
    QVERIFY(QDir().mkpath(Root.filePath(QStringLiteral("cases/dam/gif"))));
    QVERIFY(QDir().mkpath(Root.filePath(QStringLiteral("cases/empty"))));
    QVERIFY(QDir().mkpath(Root.filePath(QStringLiteral("cases/empty/gif"))));
}

void TFolderChooserTest::init() {
    Settings = TUserSettings{};
    Settings.DefaultFolder = Root.path() + "/";
}

void TFolderChooserTest::locationToPath_data() {
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain folder") << "/srv/cases/dam/"
                                  << "/srv/cases/dam/";
    QTest::newRow("blanks trimmed") << "  /srv/cases/dam  "
                                    << "/srv/cases/dam";
    QTest::newRow("file location decoded")
        << "file:///srv/my%20cases/d%C3%A4m/" << QString::fromUtf8("/srv/my cases/däm/");
    QTest::newRow("file location of the document") << "file:///srv/cases/dam/KAVO%20case.htm"
                                                   << "/srv/cases/dam/";
    QTest::newRow("path of the document") << "/srv/cases/dam/KAVO case.htm"
                                          << "/srv/cases/dam/";
    QTest::newRow("another document stays") << "/srv/cases/dam/Analysis.htm"
                                            << "/srv/cases/dam/Analysis.htm";
    QTest::newRow("backslash is a character") << "/srv/cases\\dam"
                                              << "/srv/cases\\dam";
    QTest::newRow("web address unchanged") << "https://example.org/cases/KAVO case.htm"
                                           << "https://example.org/cases/KAVO case.htm";
}

void TFolderChooserTest::locationToPath() {
    QFETCH(QString, location);
    QFETCH(QString, path);
    QCOMPARE(kavo::LocationToPath(location), path);
}

void TFolderChooserTest::trailingSlash_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("folder");
    QTest::newRow("added") << "/srv/dam"
                           << "/srv/dam/";
    QTest::newRow("kept") << "/srv/dam/"
                          << "/srv/dam/";
    QTest::newRow("after a backslash too") << "/srv/dam\\"
                                           << "/srv/dam\\/";
}

void TFolderChooserTest::trailingSlash() {
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QCOMPARE(kavo::WithTrailingSlash(path), folder);
}

void TFolderChooserTest::parentFolder_data() {
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("parent");
    QTest::newRow("with slash") << "/srv/cases/dam/"
                                << "/srv/cases/";
    QTest::newRow("without slash") << "/srv/cases/dam"
                                   << "/srv/cases/";
    QTest::newRow("root stays") << "/"
                                << "/";
}

void TFolderChooserTest::parentFolder() {
    QFETCH(QString, folder);
    QFETCH(QString, parent);
    QCOMPARE(kavo::ParentFolder(folder), parent);
}

void TFolderChooserTest::startsAtTheLastLocationOrTheDefaultFolder_data() {
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("shown");
    const QString root = Root.path() + "/";
    QTest::newRow("local folder") << root + "cases/empty" << root + "cases/empty/";
    QTest::newRow("file location of a case")
        << QUrl::fromLocalFile(root + "cases/dam/KAVO case.htm").toString() << root + "cases/dam/";
    QTest::newRow("web page") << QString::fromLatin1(kavo::kPublishedCasesPage) << root;
    QTest::newRow("missing folder") << root + "gone/" << root;
}

void TFolderChooserTest::startsAtTheLastLocationOrTheDefaultFolder() {
    QFETCH(QString, last);
    QFETCH(QString, shown);
    Settings.LastLocation = last;
    TFindFolderDlg chooser(Settings);
    TModalAnswers answers({kavo::test::Cancel()});
    QCOMPARE(chooser.ChooseFolder(), QString());
    QCOMPARE(chooser.CurrentFolder(), shown);
    QCOMPARE(Settings.LastLocation, shown);
    QCOMPARE(TUserSettings::OpenStore()->value(TUserSettings::kLastLocationKey).toString(), shown);
}

void TFolderChooserTest::folderWithACaseShowsItsDocument() {
    TFindFolderDlg chooser(Settings);
    QVERIFY(chooser.GoTo(Root.filePath(QStringLiteral("cases"))));
    auto* list = chooser.findChild<QListWidget*>(QStringLiteral("subfolderList"));
    QCOMPARE(list->count(), 2);
    QCOMPARE(list->item(0)->text(), QStringLiteral("dam"));
    QCOMPARE(chooser.findChild<QLabel*>(QStringLiteral("caseNote"))->text(), QString());

    emit list->itemActivated(list->item(0));
    QCOMPARE(chooser.CurrentFolder(), Root.path() + "/cases/dam/");
    QCOMPARE(chooser.findChild<QLineEdit*>(QStringLiteral("locationEdit"))->text(),
             Root.path() + "/cases/dam/KAVO case.htm");
    QCOMPARE(chooser.findChild<QLabel*>(QStringLiteral("caseNote"))->text(),
             QStringLiteral("This folder holds the case \"Dam case\"."));
}

void TFolderChooserTest::backForwardAndUp() {
    TFindFolderDlg chooser(Settings);
    auto button = [&](const char* name) {
        return chooser.findChild<QToolButton*>(QString::fromLatin1(name));
    };
    const QString root = Root.path() + "/";
    QVERIFY(chooser.GoTo(root + "cases/dam"));
    QVERIFY(!button("backButton")->isEnabled());
    QVERIFY(chooser.GoTo(root + "cases/empty"));
    QVERIFY(!chooser.GoTo(root + "cases/missing"));
    QCOMPARE(chooser.CurrentFolder(), root + "cases/empty/");

    button("upButton")->click();
    QCOMPARE(chooser.CurrentFolder(), root + "cases/");
    button("backButton")->click();
    QCOMPARE(chooser.CurrentFolder(), root + "cases/empty/");
    button("backButton")->click();
    QCOMPARE(chooser.CurrentFolder(), root + "cases/dam/");
    QVERIFY(!button("backButton")->isEnabled());
    button("forwardButton")->click();
    button("forwardButton")->click();
    QCOMPARE(chooser.CurrentFolder(), root + "cases/");
    QVERIFY(!button("forwardButton")->isEnabled());

    // Refresh goes to a typed folder.
    chooser.findChild<QLineEdit*>(QStringLiteral("locationEdit"))->setText(root + "cases/dam/");
    button("refreshButton")->click();
    QCOMPARE(chooser.CurrentFolder(), root + "cases/dam/");
    button("backButton")->click();
    QCOMPARE(chooser.CurrentFolder(), root + "cases/");

    // Going somewhere new drops the way forward.
    button("backButton")->click();
    QVERIFY(chooser.GoTo(root));
    QVERIFY(!button("forwardButton")->isEnabled());
    QVERIFY(!button("publishedButton")->isEnabled());
}

void TFolderChooserTest::defaultFolderCanBeMadeAndVisited() {
    TFindFolderDlg chooser(Settings);
    const QString dam = Root.path() + "/cases/dam/";
    QVERIFY(chooser.GoTo(dam));
    chooser.findChild<QToolButton*>(QStringLiteral("makeDefaultButton"))->click();
    QCOMPARE(Settings.DefaultFolder, dam);
    QCOMPARE(TUserSettings::OpenStore()->value(TUserSettings::kDefaultFolderKey).toString(), dam);

    QVERIFY(chooser.GoTo(Root.path()));
    chooser.findChild<QToolButton*>(QStringLiteral("defaultButton"))->click();
    QCOMPARE(chooser.CurrentFolder(), dam);
}

void TFolderChooserTest::confirmReturnsTheFolder_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("chosen");
    const QString root = Root.path() + "/";
    QTest::newRow("shown document") << "" << root + "cases/dam/";
    QTest::newRow("folder typed") << root + "cases/empty" << root + "cases/empty/";
    QTest::newRow("new folder beside the others") << "new case" << root + "cases/dam/new case/";
    QTest::newRow("file location")
        << QUrl::fromLocalFile(root + "cases/empty/").toString() << root + "cases/empty/";
}

void TFolderChooserTest::confirmReturnsTheFolder() {
    QFETCH(QString, typed);
    QFETCH(QString, chosen);
    Settings.LastLocation = Root.path() + "/cases/dam/";
    TFindFolderDlg chooser(Settings);
    TModalAnswers answers({[&](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("locationEdit"));
        if (!typed.isEmpty()) {
            edit->setText(typed);
        }
        QTest::keyClick(edit, Qt::Key_Return);
    }});
    QCOMPARE(chooser.ChooseFolder(), chosen);
}

void TFolderChooserTest::webAddressIsNotConfirmed() {
    TFindFolderDlg chooser(Settings);
    TModalAnswers answers({[&](QWidget* modal) {
        auto* dialog = qobject_cast<QDialog*>(modal);
        modal->findChild<QLineEdit*>(QStringLiteral("locationEdit"))
            ->setText(QStringLiteral("https://example.org/cases/dam/"));
        dialog->accept();
        QVERIFY(dialog->isVisible());
        dialog->reject();
    }});
    QCOMPARE(chooser.ChooseFolder(), QString());
    QCOMPARE(answers.Seen.size(), 1);
}

void TFolderChooserTest::cancelReturnsNothing() {
    TFindFolderDlg chooser(Settings);
    TModalAnswers answers({[](QWidget* modal) { QTest::keyClick(modal, Qt::Key_Escape); }});
    QCOMPARE(chooser.ChooseFolder(), QString());
    QCOMPARE(answers.Seen.front().Caption, QStringLiteral("Select folder"));
}

void TFolderChooserTest::nextUseStartsInTheFolderLastConfirmed_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("next");
    const QString root = Root.path() + "/";
    QTest::newRow("folder typed") << root + "cases/empty" << root + "cases/empty/";
    QTest::newRow("case document typed") << root + "cases/dam/KAVO case.htm" << root + "cases/dam/";
    // Save as into a new folder that was not made after all: the folder it would have been in.
    QTest::newRow("folder not made") << root + "cases/empty/never/made" << root + "cases/empty/";
}

void TFolderChooserTest::nextUseStartsInTheFolderLastConfirmed() {
    QFETCH(QString, typed);
    QFETCH(QString, next);
    Settings.LastLocation = Root.path() + "/cases/";
    TFindFolderDlg chooser(Settings);
    {
        TModalAnswers answers({kavo::test::ChooseFolder(typed)});
        QVERIFY(!chooser.ChooseFolder().isEmpty());
    }
    TModalAnswers answers({kavo::test::Cancel()});
    chooser.ChooseFolder();
    QCOMPARE(chooser.CurrentFolder(), next);
    QCOMPARE(TUserSettings::OpenStore()->value(TUserSettings::kLastLocationKey).toString(), next);
    // A program started anew begins there too.
    TUserSettings later;
    later.LastLocation =
        TUserSettings::OpenStore()->value(TUserSettings::kLastLocationKey).toString();
    later.DefaultFolder = Root.path() + "/";
    TFindFolderDlg another(later);
    another.ChooseFolder();
    QCOMPARE(another.CurrentFolder(), next);

    // Back leads to where the chooser was before.
    chooser.findChild<QToolButton*>(QStringLiteral("backButton"))->click();
    QCOMPARE(chooser.CurrentFolder(), Root.path() + "/cases/");
}

void TFolderChooserTest::rememberedFolderIsWhereTheNextUseStarts() {
    Settings.LastLocation = Root.path() + "/cases/";
    TFindFolderDlg chooser(Settings);
    chooser.Remember(Root.path() + "/cases/dam");
    TModalAnswers answers({kavo::test::Cancel()});
    chooser.ChooseFolder();
    QCOMPARE(chooser.CurrentFolder(), Root.path() + "/cases/dam/");
    QCOMPARE(Settings.LastLocation, Root.path() + "/cases/dam/");
}

void TFolderChooserTest::caseImageFolderIsNotListed() {
    TFindFolderDlg chooser(Settings);
    auto* list = chooser.findChild<QListWidget*>(QStringLiteral("subfolderList"));
    QVERIFY(chooser.GoTo(Root.filePath(QStringLiteral("cases/dam"))));
    QCOMPARE(list->count(), 0);
    // A folder of that name where there is no case is a folder like any other.
    QVERIFY(chooser.GoTo(Root.filePath(QStringLiteral("cases/empty"))));
    QCOMPARE(list->count(), 1);
    QCOMPARE(list->item(0)->text(), QStringLiteral("gif"));
}

QTEST_MAIN(TFolderChooserTest)
#include "tst_folderchooser.moc"
