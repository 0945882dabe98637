#include "cli/CaseCommands.h"

#include "casefile/TCaseReader.h"
#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "cli/TApproximateTextMeasure.h"
#include "cli/TConsole.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TContext.h"
#include "model/TPerception.h"

namespace kavo {

namespace {

// A context for one command, with its case; text is measured by the given measure or estimated.
struct TCommandCase {
    explicit TCommandCase(std::ostream& out) : Console(out) {}
    TCommandCase(std::ostream& out, const TTextMeasure& measure) : Console(out), Measure(measure) {}

    TConsole Console;
    TApproximateTextMeasure Estimate;
    const TTextMeasure& Measure = Estimate;
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
    TApproximateTextMeasure measure;
    return ResaveCase(folder, outFolder, out, measure,
                      [](TMessages&) { return std::make_unique<TImageWriter>(); });
}

int ResaveCase(const std::string& folder, const std::string& outFolder, std::ostream& out,
               const TTextMeasure& measure, const TImageWriterFactory& makeImageWriter) {
    TCommandCase command(out, measure);
    if (ReadCase(command.Case, folder) != TReadOutcome::roRead) {
        return 2;
    }
    const int readMessages = command.Console.Count();
    const std::unique_ptr<TImageWriter> images = makeImageWriter(command.Console);
    if (!TCaseWriter(command.Case, *images).Save(outFolder)) {
        return 2;
    }
    out << Summary(command.Case) << "\n";
    return readMessages == 0 ? 0 : 1;
}

}  // namespace kavo
