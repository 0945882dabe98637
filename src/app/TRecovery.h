#pragma once

#include <QDateTime>
#include <QList>
#include <QLockFile>
#include <QString>
#include <memory>

namespace kavo {

class TCase;

// The recovery copy of one case window: the case document written now and then into a folder of
// its own under the per-user data folder, never over the user's document, beside a note of the
// case's own folder. The window's lock on the folder tells a later start whether the window that
// wrote it is still open.
class TRecovery {
  public:
    // A recovery copy that a start finds: of a window no longer open, newer than its case's
    // document (or of a case never saved).
    struct TFound {
        QString Slot;
        // The case's own folder, ending in "/"; empty for a case never saved.
        QString Folder;
        QString Name;
        QDateTime Written;
    };

    TRecovery();
    ~TRecovery();
    TRecovery(const TRecovery&) = delete;
    TRecovery& operator=(const TRecovery&) = delete;

    // Takes over the folder of a copy found at start (its case is open again).
    void Adopt(const QString& slot);
    // Writes the case document into the recovery folder, through a temporary file renamed into
    // place; the case itself is not changed. False with the reason.
    bool Write(TCase& owningCase, QString& reason);
    // Removes the copy: the case was saved or closed on purpose.
    void Remove();
    const QString& Slot() const { return Folder; }

    // Where every window's recovery folder lies.
    static QString RootFolder();
    // The copies of windows no longer open that are newer than their case's document; older
    // ones are removed.
    static QList<TFound> Pending();
    // Removes a copy found at start.
    static void Discard(const QString& slot);

  private:
    bool Lock();

    QString Folder;
    std::unique_ptr<QLockFile> Held;
};

}  // namespace kavo
