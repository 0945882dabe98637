#include "cli/AnalyseCommand.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "analyses/TAnalysisCatalog.h"
#include "analyses/TAnalysisReport.h"
#include "analyses/TAnalysisRun.h"
#include "casefile/TCaseWriter.h"
#include "casefile/TImageWriter.h"
#include "cli/TCommandCase.h"
#include "model/Names.h"
#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#ifdef KAVO_CLI_DRAWS
#include "cli/qt/AnalyseWithQt.h"
#endif

namespace kavo {

namespace {

// The mode an option sets, 0 up to highest, or a problem.
std::optional<std::uint8_t> Mode(const TArguments& arguments, std::string_view option, int highest,
                                 std::string& problem) {
    const std::optional<double> value = arguments.Number(option);
    if (!value) {
        return std::nullopt;
    }
    if (*value != static_cast<int>(*value) || *value > highest) {
        problem = std::string(option) + " takes a mode from 0 to " + std::to_string(highest);
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(*value);
}

TExitStatus RunAnalyse(const TArguments& arguments, std::ostream& out, std::ostream& err) {
#ifdef KAVO_CLI_DRAWS
    return AnalyseWithImages(arguments, out, err);
#else
    return Analyse(arguments, out, err,
                   [](TMessages&) { return std::make_unique<TImageWriter>(); });
#endif
}

}  // namespace

const TCommand kAnalyseCommand{
    .Name = "analyse",
    .Synopsis =
        "FOLDER [--out FILE] [--analysis TITLE]... [--all-fields] [--arena NAME]\n"
        "        [--actor NAME] [--arena-grouping N] [--actor-grouping N] [--factor-grouping N]\n"
        "        [--mentioned-only 0|1] [--time-limit SECONDS]",
    .Summary = "write the analysis report of the case",
    .Help =
        "  --out FILE            the report; FOLDER/Analysis.htm by default. Its icons go into\n"
        "                        the gif folder beside it\n"
        "  --analysis TITLE      run this analysis (exact title; may be given again) instead of\n"
        "                        the case's selection; one whose stored fields make no column\n"
        "                        shows all its columns\n"
        "  --all-fields          every column of the analyses that run\n"
        "  --arena NAME          the selected arena (grouping \"selected arena only\")\n"
        "  --actor NAME          the selected actor in that arena, by name or short name\n"
        "  --arena-grouping N    0 total, 1 aggregate by group, 2 cluster by group, 3 none,\n"
        "                        4 selected arena only\n"
        "  --actor-grouping N    0 to 4 as for arenas, 5 the analyst views\n"
        "  --factor-grouping N   0 to 3 as for arenas\n"
        "  --mentioned-only 0|1  take only factors that the perceptions mention\n"
        "  --time-limit SECONDS  stop the analysis after this long; the report says it is\n"
        "                        incomplete\n"
        "\n"
        "Writes the report as the desktop program's Analyze command does, with the case's\n"
        "selection of analyses and its grouping unless the options change them, and prints the\n"
        "report's path. Progress goes to standard error. Exit status 0 when the report is\n"
        "complete, 1 when it was stopped by the time limit or the case read with messages, 2 for\n"
        "bad arguments, an unreadable case or a report that could not be written.\n",
    .Rules = {.MinPositional = 1,
              .MaxPositional = 1,
              .Options = {{"--out", TOptionKind::okText},
                          {"--analysis", TOptionKind::okText},
                          {"--all-fields", TOptionKind::okFlag},
                          {"--arena", TOptionKind::okText},
                          {"--actor", TOptionKind::okText},
                          {"--arena-grouping", TOptionKind::okInteger},
                          {"--actor-grouping", TOptionKind::okInteger},
                          {"--factor-grouping", TOptionKind::okInteger},
                          {"--mentioned-only", TOptionKind::okText},
                          {"--time-limit", TOptionKind::okNumber}}},
    .Run = RunAnalyse,
};

TGroupingSettings CommandGrouping(const TCase& current, const TArguments& arguments,
                                  std::string& problem) {
    TGroupingSettings grouping = TGroupingSettings::Of(current);
    for (const auto& [option, highest, mode] :
         {std::tuple{"--arena-grouping", 4, &grouping.ArenaGrouping},
          std::tuple{"--actor-grouping", 5, &grouping.ActorGrouping},
          std::tuple{"--factor-grouping", 3, &grouping.FactorGrouping}}) {
        *mode = Mode(arguments, option, highest, problem).value_or(*mode);
    }
    if (const std::optional<std::string> mentioned = arguments.Text("--mentioned-only")) {
        if (*mentioned != "0" && *mentioned != "1") {
            problem = "--mentioned-only takes 0 or 1";
        }
        grouping.MentionedOnly = *mentioned == "1";
    }
    const std::optional<std::string> arena = arguments.Text("--arena");
    const std::optional<std::string> actor = arguments.Text("--actor");
    if (actor && !arena) {
        problem = "--actor needs --arena: an actor is selected in an arena";
    }
    if (!arena || !problem.empty()) {
        return grouping;
    }
    grouping.SelectedArena = current.ArenaList.Find(*arena);
    if (grouping.SelectedArena == nullptr) {
        problem = "no arena \"" + *arena + "\" in the case";
        return grouping;
    }
    if (actor) {
        for (const auto& record : grouping.SelectedArena->Actors) {
            if (SameName(record->Actor->Name, *actor) ||
                SameName(record->Actor->ShortName, *actor)) {
                grouping.SelectedAiA = record.get();
            }
        }
        if (grouping.SelectedAiA == nullptr) {
            problem = "no actor \"" + *actor + "\" in the arena \"" + *arena + "\"";
        }
    }
    return grouping;
}

bool SelectAnalyses(TAnalysisCatalog& catalog, const TArguments& arguments, std::string& problem) {
    const std::vector<std::string> titles = arguments.Texts("--analysis");
    if (!titles.empty()) {
        for (const auto& analysis : catalog.Analyses) {
            analysis->Selected = false;
        }
        catalog.FamilySelected.fill(true);
    }
    for (const std::string& title : titles) {
        TAnalysis* analysis = catalog.Find(title);
        if (analysis == nullptr) {
            problem = "no analysis \"" + title + "\"; the analyses are:";
            for (const auto& entry : catalog.Analyses) {
                problem += "\n  " + entry->Title;
            }
            return false;
        }
        analysis->Selected = true;
        // A case keeps field choices only for the analyses it runs; one asked for by name
        // without any would otherwise give a table of row and column heads alone.
        const auto& fields = analysis->Fields;
        if (std::none_of(fields.begin(), fields.end(),
                         [](const auto& field) { return field->Selected && field->HasColumn(); })) {
            for (const auto& field : fields) {
                field->Selected = field->Selected || field->HasColumn();
            }
        }
    }
    if (arguments.Has("--all-fields")) {
        for (const auto& analysis : catalog.Analyses) {
            for (const auto& field : analysis->Fields) {
                field->Selected = field->Selected || field->HasColumn();
            }
        }
    }
    return true;
}

TExitStatus Analyse(const TArguments& arguments, std::ostream& out, std::ostream& err,
                    const TImageWriterFactory& makeImageWriter) {
    TCommandCase command(err);
    if (!command.Read(arguments.Positional[0])) {
        return TExitStatus::esFailed;
    }
    command.Status.ShowTexts(err);
    TAnalysisCatalog catalog;
    catalog.ApplySelectionLines(command.Case.AnalysisLines);
    std::string problem;
    const TGroupingSettings grouping = CommandGrouping(command.Case, arguments, problem);
    if (problem.empty()) {
        SelectAnalyses(catalog, arguments, problem);
    }
    if (!problem.empty()) {
        err << "kavo-cli analyse: " << problem << '\n';
        return TExitStatus::esFailed;
    }
    namespace fs = std::filesystem;
    const fs::path report =
        arguments.Text("--out").value_or((fs::path(command.Case.Folder) / "Analysis.htm").string());
    const fs::path folder = report.has_parent_path() ? report.parent_path() : fs::path(".");
    const std::unique_ptr<TImageWriter> images = makeImageWriter(command.Console);
    TAnalysisRun run(command.Case, grouping, *images, (folder / "gif").string() + "/");
    TAnalysisReport writer(catalog, run, LocalDateTime);
    if (const std::optional<double> seconds = arguments.Number("--time-limit")) {
        command.LimitTime(*seconds);
    }
    if (!writer.Write(report.string())) {
        return TExitStatus::esFailed;
    }
    out << report.string() << '\n';
    return command.Outcome(writer.Cancelled());
}

}  // namespace kavo
