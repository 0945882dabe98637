#include "app/FolderLocation.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace kavo {

namespace {

const QString kCaseSuffix = QStringLiteral("/") + QString::fromLatin1(kCaseDocumentName);

}  // namespace

bool IsWebAddress(const QString& location) {
    return location.startsWith(QStringLiteral("http://"), Qt::CaseInsensitive) ||
           location.startsWith(QStringLiteral("https://"), Qt::CaseInsensitive);
}

QString LocationToPath(const QString& location) {
    QString path = location.trimmed();
    if (IsWebAddress(path)) {
        return path;
    }
    if (path.startsWith(QStringLiteral("file:///"), Qt::CaseInsensitive)) {
        path = QUrl(path).toLocalFile();
    }
    if (path.endsWith(kCaseSuffix, Qt::CaseInsensitive)) {
        path.chop(kCaseSuffix.size() - 1);
    }
    return path;
}

QString WithTrailingSlash(const QString& path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

bool FolderHoldsCase(const QString& folder) {
    return QFileInfo(WithTrailingSlash(folder) + QString::fromLatin1(kCaseDocumentName)).isFile();
}

QString ShownLocation(const QString& folder) {
    return FolderHoldsCase(folder)
               ? WithTrailingSlash(folder) + QString::fromLatin1(kCaseDocumentName)
               : folder;
}

QString ParentFolder(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    return WithTrailingSlash(clean == QStringLiteral("/") ? clean : QFileInfo(clean).path());
}

QString NearestFolder(const QString& folder) {
    QString nearest = WithTrailingSlash(QDir::cleanPath(QDir(folder).absolutePath()));
    while (!QFileInfo(nearest).isDir() && nearest != ParentFolder(nearest)) {
        nearest = ParentFolder(nearest);
    }
    return nearest;
}

}  // namespace kavo
