#pragma once

#include <QByteArray>
#include <QNetworkAccessManager>
#include <QObject>
#include <QString>
#include <QUrl>

#include "model/TMessages.h"

class QProgressDialog;
class QWidget;

namespace kavo {

// Fetches a published case from a web server, its case document and the images the document
// shows, into a folder of its own inside the user's scratch folder. The download goes into a
// hidden folder first and takes the place of an earlier copy only when complete, so a failed or
// cancelled download leaves nothing behind. A progress window with a Cancel button shows while it
// runs; every failure is reported through the messages once the window has gone.
class TCaseDownload : public QObject {
    Q_OBJECT

  public:
    // The copies go into scratchFolder; the progress window belongs to the parent.
    TCaseDownload(QString scratchFolder, TMessages& messages, QWidget* parent = nullptr);
    ~TCaseDownload() override;

    // Downloads the case at the web address (a folder or its case document). Returns the folder
    // of the local copy, ending in "/", or an empty text when the download failed (with a
    // message) or was cancelled (without one).
    QString Fetch(const QString& address);

    // What a download may take: bytes in all, and milliseconds of silence from the server.
    qint64 MaxBytes = 100LL * 1024 * 1024;
    int TimeoutMs = 30000;
    // How long a download runs before the progress window shows, in milliseconds.
    int ProgressDelayMs = 400;

  signals:
    // The user cancelled the download under way.
    void CancelRequested();

  private:
    enum class TFetchResult {
        frDone,
        frCancelled,
        frUnreachable,
        frMissing,
        frTimeout,
        frTooLarge,
        frFailed,
        frNotCase,
        frUnsafeName,
        frWriteFailed,
    };
    struct TOutcome {
        TFetchResult Result = TFetchResult::frDone;
        // The file that failed, and what the network or the name check said of it.
        QUrl Url;
        QString Problem;
    };

    TOutcome FetchInto(const QUrl& document, const QString& staging);
    // Fetches one file into the body and adds its size to the bytes received so far.
    TOutcome Get(const QUrl& url, QByteArray& body);
    void Report(const TOutcome& outcome, const QString& folder);

    QString ScratchFolder;
    TMessages& Messages;
    QWidget* ParentWindow;
    QNetworkAccessManager Network;
    QProgressDialog* Progress = nullptr;
    qint64 Received = 0;
    bool Cancelled = false;
    // Images of the document that the server does not have.
    int MissingImages = 0;
};

}  // namespace kavo
