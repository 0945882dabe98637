#include "cli/CaseCommands.h"

#include <filesystem>

#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "cli/TCommandCase.h"
#include "model/TAiA.h"
#include "model/TPerception.h"
#ifdef KAVO_CLI_DRAWS
#include "cli/qt/ResaveWithQt.h"
#endif

namespace kavo {

namespace {

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

// The messages of check are its report, so they go to standard output with the summary.
TExitStatus RunCheck(const TArguments& arguments, std::ostream& out, std::ostream&) {
    TCommandCase command(out);
    if (!command.Read(arguments.Positional[0])) {
        return TExitStatus::esFailed;
    }
    out << Summary(command.Case) << "\n";
    return command.Outcome();
}

TExitStatus RunResave(const TArguments& arguments, std::ostream& out, std::ostream& err) {
    const std::string& outFolder = arguments.Positional[1];
    if (!MayWriteInto(outFolder, arguments, "resave", err)) {
        return TExitStatus::esFailed;
    }
    return WriteCaseFolder(FolderSource(arguments.Positional[0]), outFolder, out, err);
}

}  // namespace

const TCommand kCheckCommand{
    .Name = "check",
    .Synopsis = "FOLDER",
    .Summary = "read the case in FOLDER, print the reader's messages and a summary",
    .Help =
        "Prints each message of the reader on a line of its own (\"KAVO warning: ...\") and\n"
        "then a summary line: the case's name and its numbers of arenas, actors, factors,\n"
        "perceptions and links. Exit status 0 when the case read without messages, 1 when\n"
        "it read with messages, 2 when it could not be read.\n",
    .Rules = {.MinPositional = 1, .MaxPositional = 1, .Options = {}},
    .Run = RunCheck,
};

const TCommand kResaveCommand{
    .Name = "resave",
    .Synopsis = "FOLDER OUTFOLDER [--force]",
    .Summary = "read the case in FOLDER and write it into OUTFOLDER",
#ifdef KAVO_CLI_DRAWS
    .Help =
        "  --force   replace the case document that OUTFOLDER already holds\n"
        "\n"
        "Writes the case document and its pictures (OUTFOLDER/gif), laid out in the desktop\n"
        "program's fonts, and prints the summary line of check. Messages go to standard\n"
        "error. Exit status 0 when written, 1 when written but the case read with messages\n"
        "or a picture could not be written, 2 when the case could not be read or written or\n"
        "OUTFOLDER holds a case document and --force was not given.\n",
#else
    .Help =
        "  --force   replace the case document that OUTFOLDER already holds\n"
        "\n"
        "Writes the case document (this build draws no pictures) and prints the summary line\n"
        "of check. Messages go to standard error. Exit status 0 when written, 1 when written\n"
        "but the case read with messages, 2 when the case could not be read or written or\n"
        "OUTFOLDER holds a case document and --force was not given.\n",
#endif
    .Rules = {.MinPositional = 2,
              .MaxPositional = 2,
              .Options = {{"--force", TOptionKind::okFlag}}},
    .Run = RunResave,
};

TExitStatus WriteCaseFolder(const TCaseSource& source, const std::string& outFolder,
                            std::ostream& out, std::ostream& err) {
#ifdef KAVO_CLI_DRAWS
    return ResaveWithImages(source, outFolder, out, err);
#else
    TApproximateTextMeasure measure;
    return ResaveCase(source, outFolder, out, err, measure,
                      [](TMessages&) { return std::make_unique<TImageWriter>(); });
#endif
}

TCaseSource FolderSource(const std::string& folder) {
    return [folder](TCommandCase& command) { return command.Read(folder); };
}

bool MayWriteInto(const std::string& outFolder, const TArguments& arguments,
                  std::string_view command, std::ostream& err) {
    std::error_code error;
    if (!arguments.Has("--force") &&
        std::filesystem::exists(std::filesystem::path(outFolder) / "KAVO case.htm", error)) {
        err << "kavo-cli " << command << ": " << outFolder
            << " already holds a case document; give --force to replace it\n";
        return false;
    }
    return true;
}

TExitStatus ResaveCase(const TCaseSource& source, const std::string& outFolder, std::ostream& out,
                       std::ostream& err, const TTextMeasure& measure,
                       const TImageWriterFactory& makeImageWriter) {
    TCommandCase command(err, measure);
    if (!source(command)) {
        return TExitStatus::esFailed;
    }
    const std::unique_ptr<TImageWriter> images = makeImageWriter(command.Console);
    if (!TCaseWriter(command.Case, *images).Save(outFolder)) {
        return TExitStatus::esFailed;
    }
    out << Summary(command.Case) << "\n";
    return command.Outcome();
}

}  // namespace kavo
