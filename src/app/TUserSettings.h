#pragma once

#include <QSettings>
#include <QString>
#include <memory>

#include "model/TMessages.h"

namespace kavo {

// Where the user is pointed for published cases until a case location of his own is stored.
inline constexpr const char* kPublishedCasesPage = "https://kavo.invalid/cases/";

// The user's choices that outlive a run, read once when the main window is made. Folders end in
// "/".
class TUserSettings {
  public:
    // Reads the settings, fills in what is missing and stores them back. When they cannot be
    // stored, reports an error and leaves DefaultFolder and LastLocation empty.
    static TUserSettings Load(TMessages& messages);
    // The per-user store under the key "KAVO".
    static std::unique_ptr<QSettings> OpenStore();

    // Change a setting and store it at once. A failure to store goes unreported: the value still
    // holds for this run.
    void StoreDefaultFolder(const QString& folder);
    void StoreLastLocation(const QString& location);

    static constexpr const char* kDefaultFolderKey = "DEFAULTDIR";
    static constexpr const char* kLastLocationKey = "LAST_URL";

    // Where case folders are looked for first.
    QString DefaultFolder;
    // The case location opened last: a local folder or a web address.
    QString LastLocation;
    // Per-user folder for files made on the way; it may be missing when it could not be created.
    QString ScratchFolder;
};

}  // namespace kavo
