#pragma once

#include <QString>

#include "casefile/TCaseReader.h"

namespace kavo {

class TCase;

// How the desktop program reads a case folder into a case and writes a case into a folder. Both
// report their problems to the user through the case's messages and show the busy pointer.
class TCaseFiles {
  public:
    // Fills the new, empty case from the folder. The case keeps whatever could be read; when the
    // document could not be read to its end it forgets the folder, so that saving the partial case
    // asks for a folder instead of overwriting the document.
    static TReadOutcome Read(TCase& emptyCase, const QString& folder);
    // Writes the case into the folder, which is created when needed. On success the folder is the
    // case's and the case is no longer modified; on failure the case and any earlier document
    // stay as they were.
    static bool Write(TCase& owningCase, const QString& folder);

    // The case document of the case's folder; empty for a case without a folder.
    static QString DocumentPath(const TCase& owningCase);
};

}  // namespace kavo
