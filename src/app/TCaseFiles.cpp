#include "app/TCaseFiles.h"

#include <QApplication>
#include <QCursor>

#include "app/FolderLocation.h"
#include "casefile/TCaseReader.h"
#include "casefile/TCaseWriter.h"
#include "model/TCase.h"
#include "model/TContext.h"
#include "qtgui/QtConversions.h"
#include "qtgui/TQtImageWriter.h"

namespace kavo {

namespace {

class TBusyPointer {
  public:
    TBusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TBusyPointer() { QApplication::restoreOverrideCursor(); }
    TBusyPointer(const TBusyPointer&) = delete;
    TBusyPointer& operator=(const TBusyPointer&) = delete;
};

}  // namespace

TReadOutcome TCaseFiles::Read(TCase& emptyCase, const QString& folder) {
    TBusyPointer busy;
    const TReadOutcome outcome = ReadCase(emptyCase, WithTrailingSlash(folder).toStdString());
    if (outcome != TReadOutcome::roRead) {
        emptyCase.Folder.clear();
    }
    emptyCase.Modified = false;
    return outcome;
}

bool TCaseFiles::Write(TCase& owningCase, const QString& folder) {
    TBusyPointer busy;
    TQtImageWriter images(owningCase.Messages());
    if (!TCaseWriter(owningCase, images).Save(WithTrailingSlash(folder).toStdString())) {
        return false;
    }
    // The save confirms itself where its progress showed.
    owningCase.Context().Status.SetStatusText("Saved \"" + owningCase.Name + "\" in " +
                                              owningCase.Folder);
    return true;
}

QString TCaseFiles::DocumentPath(const TCase& owningCase) {
    if (owningCase.Folder.empty()) {
        return {};
    }
    return ToQString(owningCase.Folder) + QString::fromLatin1(kCaseDocumentName);
}

}  // namespace kavo
