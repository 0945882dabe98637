#pragma once

#include <ostream>
#include <string>

#include "cli/TApproximateTextMeasure.h"
#include "cli/TCommand.h"
#include "cli/TConsole.h"
#include "cli/TDeadlineStatus.h"
#include "model/TCase.h"
#include "model/TContext.h"

namespace kavo {

// The case of one command with the context it needs: messages go as lines ("KAVO warning: ...")
// to a stream, status texts are not shown, text is measured by the given measure (the desktop
// program's, where a command draws) or estimated, and a time limit can stop long computations.
class TCommandCase {
  public:
    explicit TCommandCase(std::ostream& messages);
    TCommandCase(std::ostream& messages, const TTextMeasure& measure);

    // Reads the case document in the folder. False when there is none or it ended early; the
    // reader's message says why.
    bool Read(const std::string& folder);
    // Long computations stop once the seconds have passed (the desktop program's cancel).
    void LimitTime(double seconds) { Status.Limit(Context, seconds); }
    // The exit status of a command that did its work: esWithMessages when a message was shown or
    // the work stopped early, esDone otherwise.
    TExitStatus Outcome(bool stoppedEarly = false) const;

    TConsole Console;
    TDeadlineStatus Status;
    TApproximateTextMeasure Estimate;
    const TTextMeasure& Measure;
    TContext Context;
    TCase Case;
};

}  // namespace kavo
