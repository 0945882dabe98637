#include "app/TCaseDownload.h"

#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QProgressDialog>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <optional>

#include "app/FolderLocation.h"
#include "app/PublishedCase.h"

namespace kavo {

namespace {

constexpr int kMaxRedirects = 5;

QString SizeText(qint64 bytes) {
    constexpr qint64 kMegabyte = 1024 * 1024;
    return bytes >= kMegabyte ? QStringLiteral("%1 MB").arg(bytes / kMegabyte)
                              : QStringLiteral("%1 kB").arg(std::max<qint64>(1, bytes / 1024));
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        return false;
    }
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

}  // namespace

TCaseDownload::TCaseDownload(QString scratchFolder, TMessages& messages, QWidget* parent)
    : QObject(parent),
      ScratchFolder(WithTrailingSlash(std::move(scratchFolder))),
      Messages(messages),
      ParentWindow(parent) {}

TCaseDownload::~TCaseDownload() = default;

QString TCaseDownload::Fetch(const QString& address) {
    const QUrl document = CaseDocumentUrl(address);
    if (!document.isValid()) {
        Messages.ShowError("\"" + address.trimmed().toStdString() +
                           "\" is not the web address of a published case");
        return {};
    }
    QDir().mkpath(ScratchFolder);
    // Removed with everything in it unless the download completes.
    QTemporaryDir staging(ScratchFolder + QStringLiteral(".download-XXXXXX"));
    if (!staging.isValid()) {
        Report({TFetchResult::frWriteFailed, document, {}}, ScratchFolder);
        return {};
    }
    TOutcome outcome;
    {
        QProgressDialog progress(
            tr("Downloading the case document from %1...").arg(document.host()), tr("Cancel"), 0, 0,
            ParentWindow);
        progress.setObjectName(QStringLiteral("downloadProgress"));
        progress.setWindowTitle(tr("Downloading a published case"));
        progress.setWindowModality(Qt::ApplicationModal);
        progress.setAutoReset(false);
        progress.setAutoClose(false);
        progress.setMinimumDuration(ProgressDelayMs);
        // Starts the delay from now rather than from the window's making.
        progress.setValue(0);
        // The Cancel button, closing the window and Escape all cancel.
        const auto cancel = [this] {
            Cancelled = true;
            emit CancelRequested();
        };
        connect(&progress, &QProgressDialog::canceled, this, cancel);
        connect(&progress, &QDialog::rejected, this, cancel);
        Progress = &progress;
        Cancelled = false;
        Received = 0;
        MissingImages = 0;
        outcome = FetchInto(document, staging.path() + QLatin1Char('/'));
        Progress = nullptr;
    }
    const QString folder = ScratchFolder + DownloadFolderName(document);
    if (outcome.Result == TFetchResult::frDone) {
        // The new copy takes the place of an earlier download of the same case.
        QDir(folder).removeRecursively();
        if (!QDir().rename(staging.path(), folder)) {
            outcome = {TFetchResult::frWriteFailed, document, {}};
        }
    }
    if (outcome.Result != TFetchResult::frDone) {
        Report(outcome, folder);
        return {};
    }
    staging.setAutoRemove(false);
    if (MissingImages > 0) {
        Messages.ShowWarning(
            tr("%n of the case's images could not be found on the server; the case opens "
               "without them.",
               nullptr, MissingImages)
                .toStdString());
    }
    return WithTrailingSlash(folder);
}

TCaseDownload::TOutcome TCaseDownload::FetchInto(const QUrl& document, const QString& staging) {
    QByteArray bytes;
    if (TOutcome got = Get(document, bytes); got.Result != TFetchResult::frDone) {
        return got;
    }
    if (!IsCaseDocument(bytes)) {
        return {TFetchResult::frNotCase, document, {}};
    }
    // Every name is checked before anything is written.
    const QStringList references = ImageReferences(bytes);
    QStringList paths;
    for (const QString& reference : references) {
        paths << LocalImagePath(reference);
        if (paths.last().isEmpty()) {
            return {TFetchResult::frUnsafeName, document, reference};
        }
    }
    if (!WriteFile(staging + QString::fromLatin1(kCaseDocumentName), bytes)) {
        return {TFetchResult::frWriteFailed, document, {}};
    }
    Progress->setRange(0, static_cast<int>(references.size()));
    for (qsizetype i = 0; i < references.size(); ++i) {
        Progress->setLabelText(
            tr("Downloading image %1 of %2...").arg(i + 1).arg(references.size()));
        Progress->setValue(static_cast<int>(i));
        QByteArray image;
        const TOutcome got = Get(document.resolved(QUrl(references[i])), image);
        if (got.Result == TFetchResult::frMissing) {
            ++MissingImages;
            continue;
        }
        if (got.Result != TFetchResult::frDone) {
            return got;
        }
        if (!WriteFile(staging + paths[i], image)) {
            return {TFetchResult::frWriteFailed, document, {}};
        }
    }
    return {};
}

TCaseDownload::TOutcome TCaseDownload::Get(const QUrl& url, QByteArray& body) {
    if (Cancelled) {
        return {TFetchResult::frCancelled, url, {}};
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                         QNetworkRequest::NoLessSafeRedirectPolicy);
    request.setMaximumRedirectsAllowed(kMaxRedirects);
    QNetworkReply* reply = Network.get(request);
    std::optional<TFetchResult> stopped;
    const auto stop = [&stopped, reply](TFetchResult why) {
        if (!stopped) {
            stopped = why;
            reply->abort();
        }
    };
    QEventLoop loop;
    QTimer silence;
    silence.setSingleShot(true);
    connect(&silence, &QTimer::timeout, &loop, [&stop] { stop(TFetchResult::frTimeout); });
    connect(this, &TCaseDownload::CancelRequested, &loop,
            [&stop] { stop(TFetchResult::frCancelled); });
    connect(reply, &QNetworkReply::downloadProgress, &loop, [&](qint64 got, qint64 total) {
        silence.start(TimeoutMs);
        // The announced size stops a large file before it arrives; the count, one that lies.
        if (Received + std::max(got, total) > MaxBytes) {
            stop(TFetchResult::frTooLarge);
        }
    });
    connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
    silence.start(TimeoutMs);
    if (!reply->isFinished()) {
        loop.exec();
    }
    silence.stop();
    const QNetworkReply::NetworkError error = reply->error();
    const QString problem = reply->errorString();
    if (!stopped && error == QNetworkReply::NoError) {
        body = reply->readAll();
        Received += body.size();
    }
    reply->deleteLater();
    if (stopped) {
        return {*stopped, url, problem};
    }
    switch (error) {
        case QNetworkReply::NoError:
            return {TFetchResult::frDone, url, {}};
        case QNetworkReply::ContentNotFoundError:
        case QNetworkReply::ContentGoneError:
            return {TFetchResult::frMissing, url, problem};
        case QNetworkReply::ConnectionRefusedError:
        case QNetworkReply::HostNotFoundError:
        case QNetworkReply::RemoteHostClosedError:
        case QNetworkReply::NetworkSessionFailedError:
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::UnknownNetworkError:
        case QNetworkReply::ProxyConnectionRefusedError:
        case QNetworkReply::ProxyNotFoundError:
            return {TFetchResult::frUnreachable, url, problem};
        case QNetworkReply::TimeoutError:
        case QNetworkReply::ProxyTimeoutError:
            return {TFetchResult::frTimeout, url, problem};
        default:
            return {TFetchResult::frFailed, url, problem};
    }
}

void TCaseDownload::Report(const TOutcome& outcome, const QString& folder) {
    const QString address = outcome.Url.toDisplayString();
    QString text;
    switch (outcome.Result) {
        case TFetchResult::frDone:
        case TFetchResult::frCancelled:
            return;
        case TFetchResult::frUnreachable:
            text = tr("Could not reach the server of \"%1\": %2").arg(address, outcome.Problem);
            break;
        case TFetchResult::frMissing:
            text = tr("There is no published case at \"%1\": the server does not have that "
                      "document.")
                       .arg(address);
            break;
        case TFetchResult::frTimeout:
            text = tr("The server of \"%1\" did not answer within %2 seconds.")
                       .arg(address)
                       .arg(TimeoutMs / 1000.0);
            break;
        case TFetchResult::frTooLarge:
            text = tr("The published case at \"%1\" is larger than %2; it was not downloaded.")
                       .arg(address, SizeText(MaxBytes));
            break;
        case TFetchResult::frFailed:
            text = tr("Could not download \"%1\": %2").arg(address, outcome.Problem);
            break;
        case TFetchResult::frNotCase:
            text = tr("The document at \"%1\" is not a KAVO case.").arg(address);
            break;
        case TFetchResult::frUnsafeName:
            text = tr("The published case at \"%1\" refers to the file \"%2\", which lies outside "
                      "the case's folder; it was not opened.")
                       .arg(address, outcome.Problem);
            break;
        case TFetchResult::frWriteFailed:
            text = tr("Could not write the downloaded case into \"%1\".").arg(folder);
            break;
    }
    Messages.ShowError(text.toStdString());
}

}  // namespace kavo
