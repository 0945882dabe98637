#include "app/TUserSettings.h"

#include <QDir>
#include <QStandardPaths>

namespace kavo {

namespace {

// The web page of published cases has moved to a secure address; an old plain one is dropped.
bool IsOutdatedLocation(const QString& location) {
    return location.isEmpty() || location.contains(QStringLiteral("http://"), Qt::CaseInsensitive);
}

QString MakeScratchFolder() {
    const QString folder =
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) + "/KAVO/";
    // Without it only the files made on the way are lost, so a failure is not reported.
    QDir().mkpath(folder);
    return folder;
}

}  // namespace

std::unique_ptr<QSettings> TUserSettings::OpenStore() {
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QStringLiteral("KAVO"), QStringLiteral("KAVO"));
}

TUserSettings TUserSettings::Load(TMessages& messages) {
    TUserSettings result;
    const std::unique_ptr<QSettings> store = OpenStore();
    result.DefaultFolder = store->value(kDefaultFolderKey).toString();
    if (result.DefaultFolder.isEmpty()) {
        result.DefaultFolder = QDir::homePath() + "/";
    }
    result.LastLocation = store->value(kLastLocationKey).toString();
    if (IsOutdatedLocation(result.LastLocation)) {
        result.LastLocation = QString::fromLatin1(kPublishedCasesPage);
    }
    store->setValue(kDefaultFolderKey, result.DefaultFolder);
    store->setValue(kLastLocationKey, result.LastLocation);
    store->sync();
    if (store->status() != QSettings::NoError || !store->isWritable()) {
        messages.ShowError("Failed to store the KAVO settings");
        result.DefaultFolder.clear();
        result.LastLocation.clear();
    }
    result.ScratchFolder = MakeScratchFolder();
    return result;
}

void TUserSettings::StoreDefaultFolder(const QString& folder) {
    DefaultFolder = folder;
    OpenStore()->setValue(kDefaultFolderKey, folder);
}

void TUserSettings::StoreLastLocation(const QString& location) {
    LastLocation = location;
    OpenStore()->setValue(kLastLocationKey, location);
}

}  // namespace kavo
