#include "cli/ExchangeCommands.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>

#include "casefile/CaseJson.h"
#include "casefile/TCaseJsonReader.h"
#include "casefile/TFileReplacement.h"
#include "cli/CaseCommands.h"
#include "cli/TCommandCase.h"

namespace kavo {

namespace {

TExitStatus RunExport(const TArguments& arguments, std::ostream& out, std::ostream& err) {
    const std::string format = arguments.Text("--format").value_or("json");
    if (format != "json") {
        err << "kavo-cli export: unknown format \"" << format << "\"; the format is json\n";
        return TExitStatus::esFailed;
    }
    TCommandCase command(err);
    if (!command.Read(arguments.Positional[0])) {
        return TExitStatus::esFailed;
    }
    const std::string json = CaseJson(command.Case);
    const std::string file = arguments.Text("--out").value_or("-");
    if (file == "-") {
        out << json;
    } else if (std::string reason; !TFileReplacement::Replace(file, json, true, reason)) {
        err << "kavo-cli export: could not write " << file << ": " << reason << "\n";
        return TExitStatus::esFailed;
    }
    return command.Outcome();
}

// The bytes of the file, or of standard input for "-"; false after saying why not.
bool ReadInput(const std::string& file, std::string& bytes, std::ostream& err) {
    if (file == "-") {
        bytes.assign(std::istreambuf_iterator<char>(std::cin), std::istreambuf_iterator<char>());
        return true;
    }
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (!in || !(text << in.rdbuf())) {
        err << "kavo-cli import: could not read " << file << "\n";
        return false;
    }
    bytes = std::move(text).str();
    return true;
}

TExitStatus RunImport(const TArguments& arguments, std::ostream& out, std::ostream& err) {
    const std::string& file = arguments.Positional[0];
    const std::string& outFolder = arguments.Positional[1];
    std::string bytes;
    if (!MayWriteInto(outFolder, arguments, "import", err) || !ReadInput(file, bytes, err)) {
        return TExitStatus::esFailed;
    }
    const TCaseSource source = [&](TCommandCase& command) {
        const std::optional<TJsonProblem> problem = TCaseJsonReader(command.Case).Read(bytes);
        if (problem) {
            err << "kavo-cli import: " << file << ": " << problem->Describe() << "\n";
        }
        return !problem;
    };
    return WriteCaseFolder(source, outFolder, out, err);
}

}  // namespace

const TCommand kExportCommand{
    .Name = "export",
    .Synopsis = "FOLDER [--format json] [--out FILE]",
    .Summary = "write the case in FOLDER as one JSON document",
    .Help =
        "  --format json   the exchange format (the only one, and the default)\n"
        "  --out FILE      write the document into FILE (replaced whole, never half written)\n"
        "                  instead of standard output\n"
        "\n"
        "The document holds the whole case: options, dictionary, groups, relations, arenas\n"
        "and every perception with positions, goals, prospects, links and comments.\n"
        "docs/case.schema.json describes it. Messages of the reader go to standard error.\n",
    .Rules = {.MinPositional = 1,
              .MaxPositional = 1,
              .Options = {{"--format", TOptionKind::okText}, {"--out", TOptionKind::okText}}},
    .Run = RunExport,
};

const TCommand kImportCommand{
    .Name = "import",
    .Synopsis = "FILE OUTFOLDER [--force]",
    .Summary = "read a case from a JSON document and write it as a case folder",
    .Help =
        "  --force   replace the case document that OUTFOLDER already holds\n"
        "\n"
        "FILE is a document of the exchange format that export writes (\"-\" reads standard\n"
        "input). A document that is no JSON, breaks docs/case.schema.json or names what the\n"
        "case does not hold is refused with one line that gives the place as a JSON pointer\n"
        "(\"at /arenas/0/actors/1/actor: no actor of that name\"); nothing is written then.\n"
        "Otherwise prints the summary line of check. Exit status 0 when written, 1 when\n"
        "written but a picture could not be written, 2 when refused or not written.\n",
    .Rules = {.MinPositional = 2,
              .MaxPositional = 2,
              .Options = {{"--force", TOptionKind::okFlag}}},
    .Run = RunImport,
};

}  // namespace kavo
