#include "cli/TCommandCase.h"

#include "casefile/TCaseReader.h"

namespace kavo {

TCommandCase::TCommandCase(std::ostream& messages) : TCommandCase(messages, Estimate) {}

TCommandCase::TCommandCase(std::ostream& messages, const TTextMeasure& measure)
    : Console(messages), Measure(measure), Context(Console, Status, Measure), Case(Context) {}

bool TCommandCase::Read(const std::string& folder) {
    return ReadCase(Case, folder) == TReadOutcome::roRead;
}

TExitStatus TCommandCase::Outcome(bool stoppedEarly) const {
    return stoppedEarly || Console.Count() > 0 ? TExitStatus::esWithMessages : TExitStatus::esDone;
}

}  // namespace kavo
