#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace kavo {

// The rules by which a published case on a web server becomes a local copy. They look at texts
// only; TCaseDownload does the fetching.

// The address of the case document that a typed web address stands for: the address itself when
// it names an HTML document, else the folder's "KAVO case.htm". Invalid for anything but an http
// or https address with a host.
QUrl CaseDocumentUrl(const QString& address);

// Whether the downloaded bytes are a case document written by this program (its head names the
// program or holds its option lines).
bool IsCaseDocument(const QByteArray& document);

// The images the document shows: the values of its src attributes, each once, in the order of
// their first appearance.
QStringList ImageReferences(const QByteArray& document);

// Where an image of the document goes inside the copy's folder: its path relative to that
// folder. Empty for a reference that would leave the folder (an absolute path, a scheme or host,
// a ".." step, a backslash) or that names nothing.
QString LocalImagePath(const QString& reference);

// The name of the local copy's folder: the name of the folder the document lies in on the
// server, made safe as a single folder name; "Published case" when there is none.
QString DownloadFolderName(const QUrl& document);

}  // namespace kavo
