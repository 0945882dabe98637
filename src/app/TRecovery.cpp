#include "app/TRecovery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUuid>

#include "casefile/CaseFileText.h"
#include "casefile/TCaseWriter.h"
#include "casefile/TFileReplacement.h"
#include "casefile/TImageWriter.h"
#include "model/TCase.h"
#include "qtgui/QtConversions.h"

namespace kavo {

namespace {

constexpr const char* kOriginFile = "origin.txt";
constexpr const char* kLockFile = "window.lock";

QString DocumentIn(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(kCaseFileName));
}

}  // namespace

TRecovery::TRecovery() = default;

TRecovery::~TRecovery() = default;

QString TRecovery::RootFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/recovery");
}

void TRecovery::Adopt(const QString& slot) {
    Remove();
    Folder = slot;
    Lock();
}

bool TRecovery::Lock() {
    Held = std::make_unique<QLockFile>(QDir(Folder).filePath(QString::fromLatin1(kLockFile)));
    Held->setStaleLockTime(0);
    return Held->tryLock(0);
}

bool TRecovery::Write(TCase& owningCase, QString& reason) {
    if (Folder.isEmpty()) {
        Folder = QDir(RootFolder()).filePath(QUuid::createUuid().toString(QUuid::WithoutBraces));
    }
    if (!QDir().mkpath(Folder)) {
        reason = QStringLiteral("could not create \"%1\"").arg(Folder);
        return false;
    }
    if (!Held && !Lock()) {
        reason = QStringLiteral("could not lock \"%1\"").arg(Folder);
        return false;
    }
    // Without a folder the writer makes no pictures: the document alone is the case.
    TImageWriter noImages;
    std::string text;
    for (const std::string& line : TCaseWriter(owningCase, noImages).Document("")) {
        text += line + "\r\n";
    }
    const std::string origin = owningCase.Folder + "\n" + owningCase.Name + "\n";
    std::string error;
    if (!TFileReplacement::Replace(DocumentIn(Folder).toStdString(), text, true, error) ||
        !TFileReplacement::Replace(
            QDir(Folder).filePath(QString::fromLatin1(kOriginFile)).toStdString(), origin, true,
            error)) {
        reason = ToQString(error);
        return false;
    }
    return true;
}

void TRecovery::Remove() {
    if (Folder.isEmpty()) {
        return;
    }
    Held.reset();
    QDir(Folder).removeRecursively();
    Folder.clear();
}

QList<TRecovery::TFound> TRecovery::Pending() {
    QList<TFound> found;
    const QDir root(RootFolder());
    for (const QFileInfo& entry :
         root.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Time | QDir::Reversed)) {
        const QString slot = entry.absoluteFilePath();
        QLockFile lock(QDir(slot).filePath(QString::fromLatin1(kLockFile)));
        lock.setStaleLockTime(0);
        // A window that is still open (in this run or another) keeps its copy locked.
        if (!lock.tryLock(0)) {
            continue;
        }
        lock.unlock();
        QFile originFile(QDir(slot).filePath(QString::fromLatin1(kOriginFile)));
        const QFileInfo copy(DocumentIn(slot));
        if (!copy.exists() || !originFile.open(QIODevice::ReadOnly)) {
            QDir(slot).removeRecursively();
            continue;
        }
        const QStringList lines = QString::fromUtf8(originFile.readAll()).split(QLatin1Char('\n'));
        TFound item{slot, lines.value(0), lines.value(1), copy.lastModified()};
        const QFileInfo document(DocumentIn(item.Folder));
        if (!item.Folder.isEmpty() && document.exists() &&
            document.lastModified() >= item.Written) {
            // Saved after the copy was written: the copy holds nothing the document lacks.
            QDir(slot).removeRecursively();
            continue;
        }
        found << item;
    }
    return found;
}

void TRecovery::Discard(const QString& slot) {
    QDir(slot).removeRecursively();
}

}  // namespace kavo
