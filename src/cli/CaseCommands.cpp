#include "cli/CaseCommands.h"

#include "casefile/TCaseReader.h"
#include "casefile/TCaseWriter.h"
#include "cli/TApproximateTextMeasure.h"
#include "cli/TConsole.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TContext.h"
#include "model/TPerception.h"

namespace kavo {

namespace {

// A context for one command, with its case.
struct TCommandCase {
    explicit TCommandCase(std::ostream& out) : Console(out) {}

    TConsole Console;
    TApproximateTextMeasure Measure;
    TContext Context{Console, Console, Measure};
    TCase Case{Context};
};

std::string Summary(const TCase& read) {
    int perceptions = 0;
    std::size_t links = 0;
    read.ForEachPerception([&](TPerception& perception) {
        ++perceptions;
        links += perception.Links.size();
    });
    return read.Name + ": " + std::to_string(read.ArenaList.Size()) + " arenas, " +
           std::to_string(read.ActorList.Size()) + " actors, " +
           std::to_string(read.FactorList.Size()) + " factors, " + std::to_string(perceptions) +
           " perceptions, " + std::to_string(links) + " links";
}

}  // namespace

int CheckCase(const std::string& folder, std::ostream& out) {
    TCommandCase command(out);
    if (ReadCase(command.Case, folder) != TReadOutcome::roRead) {
        return 2;
    }
    out << Summary(command.Case) << "\n";
    return command.Console.Count() == 0 ? 0 : 1;
}

int ResaveCase(const std::string& folder, const std::string& outFolder, std::ostream& out) {
    TCommandCase command(out);
    if (ReadCase(command.Case, folder) != TReadOutcome::roRead) {
        return 2;
    }
    const int readMessages = command.Console.Count();
    if (!WriteCase(command.Case, outFolder)) {
        return 2;
    }
    out << Summary(command.Case) << "\n";
    return readMessages == 0 ? 0 : 1;
}

}  // namespace kavo
