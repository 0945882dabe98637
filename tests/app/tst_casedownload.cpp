#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QNetworkProxy>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "app/FolderLocation.h"
#include "app/ModalAnswers.h"
#include "app/PublishedCase.h"
#include "app/TCaseDownload.h"
#include "app/TCaseView.h"
#include "app/TErrorDlg.h"
#include "app/TFindFolderDlg.h"
#include "app/TKAVO.h"
#include "app/TUserSettings.h"
#include "support/TestPlatform.h"

using kavo::TCaseDownload;
using kavo::test::TMessage;
using kavo::test::TModalAnswers;
using kavo::test::TRecordingMessages;

namespace {

const QString kExample = QStringLiteral(KAVO_EXAMPLES "/Water/");
const QString kDocument = QStringLiteral("KAVO case.htm");

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

void CopyFolder(const QString& from, const QString& to) {
    QDirIterator files(from, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        WriteAll(to + QDir(from).relativeFilePath(path), ReadAll(path));
    }
}

// Everything in the folder, hidden entries included, as paths relative to it.
QStringList Contents(const QString& folder) {
    QStringList found;
    QDirIterator entries(folder, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                         QDirIterator::Subdirectories);
    while (entries.hasNext()) {
        found << QDir(folder).relativeFilePath(entries.next());
    }
    found.sort();
    return found;
}

// Python's web server on a free port of the loopback address, serving a folder.
class TWebServer {
  public:
    bool Start(const QString& folder) {
        const QString python = QStandardPaths::findExecutable(QStringLiteral("python3"));
        if (python.isEmpty()) {
            return false;
        }
        Process.setProcessChannelMode(QProcess::MergedChannels);
        Process.start(python,
                      {QStringLiteral("-u"), QStringLiteral("-m"), QStringLiteral("http.server"),
                       QStringLiteral("0"), QStringLiteral("--bind"), QStringLiteral("127.0.0.1"),
                       QStringLiteral("--directory"), folder});
        static const QRegularExpression announced(QStringLiteral("port (\\d+)"));
        QByteArray said;
        while (Port == 0 && Process.waitForReadyRead(20000)) {
            said += Process.readAll();
            const QRegularExpressionMatch match = announced.match(QString::fromUtf8(said));
            if (match.hasMatch()) {
                Port = match.captured(1).toInt();
            }
        }
        return Port != 0;
    }
    ~TWebServer() {
        Process.kill();
        Process.waitForFinished(5000);
    }
    QString Address(const QString& path) const {
        return QStringLiteral("http://127.0.0.1:%1/%2").arg(Port).arg(path);
    }

  private:
    QProcess Process;
    int Port = 0;
};

}  // namespace

class TCaseDownloadTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase();
    void init();

    void caseDocumentUrl_data();
    void caseDocumentUrl();
    void localImagePath_data();
    void localImagePath();
    void downloadFolderName_data();
    void downloadFolderName();

    void downloadsThePublishedCase_data();
    void downloadsThePublishedCase();
    void failedDownloadsSayWhyAndLeaveNothing_data();
    void failedDownloadsSayWhyAndLeaveNothing();
    void cancelStopsWithoutAMessage();
    void missingImagesOpenTheCaseWithAWarning();
    void newDownloadReplacesTheEarlierCopy();
    void chooserConfirmsAWebAddressOnlyForOpening();
    void openedCopyIsSavedElsewhere();

  private:
    TRecordingMessages Messages;
    std::unique_ptr<TCaseDownload> Download;
    std::unique_ptr<QTemporaryDir> Scratch;
    QTemporaryDir Served;
    TWebServer Server;
    bool Serving = false;
};

void TCaseDownloadTest::initTestCase() {
    QNetworkProxy::setApplicationProxy(QNetworkProxy::NoProxy);
    QVERIFY(Served.isValid());
    const QString root = Served.path() + "/";
    CopyFolder(kExample, root + "Water/");
    CopyFolder(kExample, root + "Copy/");
    WriteAll(root + "NotCase/" + kDocument, "<html><head><title>Hello</title></head></html>\r\n");
    const QByteArray document = ReadAll(kExample + kDocument);
    QByteArray escaping = document;
    escaping.replace("src=\"gif/actor.gif\"", "src=\"gif/../../actor.gif\"");
    WriteAll(root + "Escaping/" + kDocument, escaping);
    QByteArray absolute = document;
    absolute.replace("src=\"gif/actor.gif\"", "src=\"/etc/hostname\"");
    WriteAll(root + "Absolute/" + kDocument, absolute);
    WriteAll(root + "NoImages/" + kDocument, document);
    Serving = Server.Start(root);
}

void TCaseDownloadTest::init() {
    Messages.Log.clear();
    Scratch = std::make_unique<QTemporaryDir>();
    QVERIFY(Scratch->isValid());
    Download = std::make_unique<TCaseDownload>(Scratch->path(), Messages);
    // A loaded machine may be slow, but not this slow.
    Download->TimeoutMs = 20000;
    const QString test = QString::fromLatin1(QTest::currentTestFunction());
    if (test.startsWith(QStringLiteral("download")) || test.startsWith(QStringLiteral("failed")) ||
        test.startsWith(QStringLiteral("missing")) || test.startsWith(QStringLiteral("new")) ||
        test.startsWith(QStringLiteral("opened"))) {
        if (!Serving) {
            QSKIP("python3 is needed for the local web server");
        }
    }
}

void TCaseDownloadTest::caseDocumentUrl_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("document");
    const QString water = QStringLiteral("http://example.org/cases/Water/KAVO case.htm");
    QTest::newRow("folder") << "http://example.org/cases/Water" << water;
    QTest::newRow("folder with slash") << "http://example.org/cases/Water/" << water;
    QTest::newRow("document") << "http://example.org/cases/Water/KAVO%20case.htm" << water;
    QTest::newRow("blanks around") << "  http://example.org/cases/Water/  " << water;
    QTest::newRow("other page") << "https://example.org/a/report.html"
                                << "https://example.org/a/report.html";
    QTest::newRow("fragment dropped") << "http://example.org/x/#top"
                                      << "http://example.org/x/KAVO case.htm";
    QTest::newRow("ftp") << "ftp://example.org/cases/Water/" << QString();
    QTest::newRow("no host") << "http:///cases/Water/" << QString();
    QTest::newRow("local path") << "/home/me/cases/Water/" << QString();
    QTest::newRow("empty") << "" << QString();
}

void TCaseDownloadTest::caseDocumentUrl() {
    QFETCH(QString, address);
    QFETCH(QString, document);
    const QUrl url = kavo::CaseDocumentUrl(address);
    QCOMPARE(url.isValid() ? url : QUrl(), document.isEmpty() ? QUrl() : QUrl(document));
}

void TCaseDownloadTest::localImagePath_data() {
    QTest::addColumn<QString>("reference");
    QTest::addColumn<QString>("path");
    QTest::newRow("image") << "gif/actor.gif"
                           << "gif/actor.gif";
    QTest::newRow("encoded blank") << "gif/tag%20one.gif"
                                   << "gif/tag one.gif";
    QTest::newRow("beside the document") << "logo.gif"
                                         << "logo.gif";
    QTest::newRow("up") << "../secret.gif" << QString();
    QTest::newRow("up inside") << "gif/../../secret.gif" << QString();
    QTest::newRow("encoded up") << "gif/%2e%2e/%2E%2E/secret.gif" << QString();
    QTest::newRow("encoded slash up") << "gif%2f..%2f..%2fsecret.gif" << QString();
    QTest::newRow("absolute") << "/etc/hostname" << QString();
    QTest::newRow("host") << "//example.org/a.gif" << QString();
    QTest::newRow("web") << "http://example.org/a.gif" << QString();
    QTest::newRow("file") << "file:///etc/hostname" << QString();
    QTest::newRow("backslash") << "gif\\..\\..\\secret.gif" << QString();
    QTest::newRow("dot step") << "./gif/a.gif" << QString();
    QTest::newRow("empty") << "" << QString();
}

void TCaseDownloadTest::localImagePath() {
    QFETCH(QString, reference);
    QFETCH(QString, path);
    QCOMPARE(kavo::LocalImagePath(reference), path);
}

void TCaseDownloadTest::downloadFolderName_data() {
    QTest::addColumn<QString>("document");
    QTest::addColumn<QString>("name");
    QTest::newRow("folder") << "http://h/cases/Water/KAVO%20case.htm"
                            << "Water";
    QTest::newRow("blanks") << "http://h/cases/Green%20Valley/KAVO%20case.htm"
                            << "Green Valley";
    QTest::newRow("top") << "http://h/KAVO%20case.htm"
                         << "Published case";
    QTest::newRow("dots") << "http://h/..%2F../KAVO%20case.htm"
                          << "Published case";
    QTest::newRow("hidden") << "http://h/.cases/KAVO%20case.htm"
                            << "cases";
}

void TCaseDownloadTest::downloadFolderName() {
    QFETCH(QString, document);
    QFETCH(QString, name);
    QCOMPARE(kavo::DownloadFolderName(QUrl(document)), name);
}

void TCaseDownloadTest::downloadsThePublishedCase_data() {
    QTest::addColumn<QString>("path");
    QTest::newRow("folder") << "Water";
    QTest::newRow("folder with slash") << "Water/";
    QTest::newRow("document") << "Water/KAVO%20case.htm";
    QTest::newRow("document as typed") << "Water/KAVO case.htm";
}

void TCaseDownloadTest::downloadsThePublishedCase() {
    QFETCH(QString, path);
    const QString folder = Download->Fetch(Server.Address(path));
    QCOMPARE(folder, Scratch->path() + "/Water/");
    QVERIFY(Messages.Log.empty());
    // The document and the images it shows, which are not all of the example's pictures.
    QStringList expected{QStringLiteral("Water"), "Water/" + kDocument};
    for (const QString& image : kavo::ImageReferences(ReadAll(kExample + kDocument))) {
        expected << "Water/" + image;
        QCOMPARE(ReadAll(folder + image), ReadAll(kExample + image));
    }
    expected << QStringLiteral("Water/gif");
    expected.sort();
    QCOMPARE(Contents(Scratch->path()), expected);
    QCOMPARE(ReadAll(folder + kDocument), ReadAll(kExample + kDocument));
}

void TCaseDownloadTest::failedDownloadsSayWhyAndLeaveNothing_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<qint64>("maxBytes");
    QTest::addColumn<QString>("message");
    const qint64 enough = 100LL * 1024 * 1024;
    QTest::newRow("no such case") << "Nowhere/" << enough << "There is no published case at";
    QTest::newRow("not a case") << "NotCase/" << enough << "is not a KAVO case";
    QTest::newRow("image outside") << "Escaping/" << enough
                                   << "refers to the file \"gif/../../actor.gif\", which lies "
                                      "outside the case's folder";
    QTest::newRow("absolute image")
        << "Absolute/" << enough << "refers to the file \"/etc/hostname\"";
    QTest::newRow("document too large") << "Water/" << qint64(20000) << "is larger than 19 kB";
    QTest::newRow("images too large") << "Water/" << qint64(60000) << "is larger than 58 kB";
    QTest::newRow("not a web address") << "ftp" << enough << "is not the web address";
}

void TCaseDownloadTest::failedDownloadsSayWhyAndLeaveNothing() {
    QFETCH(QString, path);
    QFETCH(qint64, maxBytes);
    QFETCH(QString, message);
    Download->MaxBytes = maxBytes;
    const QString address = path == QStringLiteral("ftp") ? QStringLiteral("ftp://127.0.0.1/Water/")
                                                          : Server.Address(path);
    QCOMPARE(Download->Fetch(address), QString());
    QCOMPARE(Messages.Log.size(), std::size_t{1});
    QCOMPARE(Messages.Log.front().Kind, TMessage::Kind::Error);
    QVERIFY2(QString::fromStdString(Messages.Log.front().Text).contains(message),
             Messages.Log.front().Text.c_str());
    QCOMPARE(Contents(Scratch->path()), QStringList());
}

void TCaseDownloadTest::cancelStopsWithoutAMessage() {
    // A server that takes the connection and never answers.
    QTcpServer silent;
    QVERIFY(silent.listen(QHostAddress::LocalHost));
    Download->ProgressDelayMs = 0;
    bool cancelled = false;
    QTimer::singleShot(200, this, [&] {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* progress = qobject_cast<QProgressDialog*>(window);
                progress != nullptr && progress->isVisible()) {
                cancelled = true;
                progress->findChild<QPushButton*>()->click();
            }
        }
    });
    QCOMPARE(Download->Fetch(QStringLiteral("http://127.0.0.1:%1/Water/").arg(silent.serverPort())),
             QString());
    QVERIFY(cancelled);
    QVERIFY2(Messages.Log.empty(), Messages.Log.front().Text.c_str());
    QCOMPARE(Contents(Scratch->path()), QStringList());

    // The same server, waited for: a time-out.
    Download->TimeoutMs = 300;
    Download->ProgressDelayMs = 60000;
    QCOMPARE(Download->Fetch(QStringLiteral("http://127.0.0.1:%1/Water/").arg(silent.serverPort())),
             QString());
    QCOMPARE(Messages.Log.size(), std::size_t{1});
    QVERIFY(QString::fromStdString(Messages.Log.front().Text)
                .contains("did not answer within 0.3 seconds"));

    // A port where nobody listens: the server cannot be reached.
    Messages.Log.clear();
    const quint16 port = silent.serverPort();
    silent.close();
    QCOMPARE(Download->Fetch(QStringLiteral("http://127.0.0.1:%1/Water/").arg(port)), QString());
    QCOMPARE(Messages.Log.size(), std::size_t{1});
    QVERIFY(
        QString::fromStdString(Messages.Log.front().Text).startsWith("Could not reach the server"));
    QCOMPARE(Contents(Scratch->path()), QStringList());
}

void TCaseDownloadTest::missingImagesOpenTheCaseWithAWarning() {
    const QString folder = Download->Fetch(Server.Address(QStringLiteral("NoImages/")));
    QCOMPARE(folder, Scratch->path() + "/NoImages/");
    QCOMPARE(Contents(folder), QStringList{kDocument});
    QCOMPARE(Messages.Log.size(), std::size_t{1});
    QCOMPARE(Messages.Log.front().Kind, TMessage::Kind::Warning);
    QVERIFY(QString::fromStdString(Messages.Log.front().Text).contains("could not be found"));
}

void TCaseDownloadTest::newDownloadReplacesTheEarlierCopy() {
    const QString stale = Scratch->path() + "/Water/stale.txt";
    WriteAll(stale, "from an earlier download");
    QCOMPARE(Download->Fetch(Server.Address(QStringLiteral("Water/"))),
             Scratch->path() + "/Water/");
    QVERIFY(!QFile::exists(stale));
    // A failed download keeps the earlier copy.
    Download->MaxBytes = 1000;
    QCOMPARE(Download->Fetch(Server.Address(QStringLiteral("Water/"))), QString());
    QVERIFY(QFile::exists(Scratch->path() + "/Water/" + kDocument));
}

void TCaseDownloadTest::chooserConfirmsAWebAddressOnlyForOpening() {
    kavo::TUserSettings settings;
    settings.DefaultFolder = Scratch->path() + "/";
    kavo::TFindFolderDlg chooser(settings);
    const QString address = QStringLiteral("https://example.org/cases/Water/");
    const auto typeAddress = [&](QWidget* modal) {
        modal->findChild<QLineEdit*>(QStringLiteral("locationEdit"))->setText(address);
        QTest::keyClick(modal->findChild<QLineEdit*>(QStringLiteral("locationEdit")),
                        Qt::Key_Return);
        // For saving the chooser stays open; answer it.
        if (modal->isVisible()) {
            qobject_cast<QDialog*>(modal)->reject();
        }
    };
    {
        TModalAnswers answers({typeAddress});
        QCOMPARE(chooser.ChooseLocation(), address);
    }
    TModalAnswers answers({typeAddress});
    QCOMPARE(chooser.ChooseFolder(), QString());
}

void TCaseDownloadTest::openedCopyIsSavedElsewhere() {
    kavo::TKAVO mainWindow;
    // A message would wait for an answer: it is recorded and closed, so that the test fails.
    QStringList shown;
    QTimer answer;
    connect(&answer, &QTimer::timeout, this, [&] {
        if (auto* message = qobject_cast<kavo::TErrorDlg*>(QApplication::activeModalWidget())) {
            shown << message->Message();
            message->reject();
        }
    });
    answer.start(10);
    kavo::TCaseView* view = mainWindow.OpenFromWeb(Server.Address(QStringLiteral("Copy/")));
    QCOMPARE(shown, QStringList());
    QVERIFY(view != nullptr);
    QCOMPARE(QString::fromStdString(view->Case().Name),
             QStringLiteral("Water for the Green Valley"));
    QVERIFY(view->Case().Folder.empty());
    QCOMPARE(view->windowTitle(),
             QStringLiteral("Water for the Green Valley (downloaded copy)[*]"));
    const QString copy = mainWindow.ScratchFolder() + "Copy/" + kDocument;
    const QByteArray downloaded = ReadAll(copy);
    QVERIFY(!downloaded.isEmpty());

    // Save asks for a folder; cancelled, nothing is written anywhere.
    bool asked = false;
    view->SetFolderChooser([&] {
        asked = true;
        return QString();
    });
    view->Case().Modified = true;
    QVERIFY(!view->Save());
    QVERIFY(asked);
    QCOMPARE(ReadAll(copy), downloaded);

    // Saved into a folder of the user's, it is an ordinary case.
    QTemporaryDir own;
    view->SetFolderChooser([&] { return own.path() + "/Mine/"; });
    QVERIFY(view->Save());
    QCOMPARE(QString::fromStdString(view->Case().Folder), own.path() + "/Mine/");
    QCOMPARE(view->windowTitle(), QStringLiteral("Water for the Green Valley[*]"));
    QVERIFY(QFile::exists(own.path() + "/Mine/" + kDocument));
    QCOMPARE(ReadAll(copy), downloaded);
}

int main(int argc, char** argv) {
    // The main window's scratch folder lies in the cache folder: a private one for the test.
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KAVO"));
    QTemporaryDir settings;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
    TCaseDownloadTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_casedownload.moc"
