#include "cli/GraphCommand.h"

#include <fstream>
#include <sstream>

#include "analyses/PajekNetwork.h"
#include "analyses/TActorActorAnalysis.h"
#include "analyses/TAnalysisCatalog.h"
#include "analyses/TAnalysisReport.h"
#include "analyses/TAnalysisRun.h"
#include "analyses/TArenaAnalysis.h"
#include "analyses/TGraphModel.h"
#include "casefile/TImageWriter.h"
#include "cli/AnalyseCommand.h"
#include "cli/TCommandCase.h"
#ifdef KAVO_CLI_DRAWS
#include "cli/qt/GraphWithQt.h"
#endif

namespace kavo {

namespace {

constexpr const char* kPrefix = "kavo-cli graph: ";

// Only the tables of actor pairs and of arena pairs fill a graph.
bool HasGraph(const TAnalysis& analysis) {
    if (dynamic_cast<const TActorActorAnalysis*>(&analysis) == nullptr &&
        dynamic_cast<const TArenaAnalysis*>(&analysis) == nullptr) {
        return false;
    }
    for (const auto& field : analysis.Fields) {
        if (field->Kind == TFieldKind::fkPlot) {
            return true;
        }
    }
    return false;
}

// The indicators of the graph as a list for a message.
std::string IndicatorList(const TGraphModel& graph) {
    std::string list;
    for (std::size_t i = 0; i < graph.Indicators.size(); ++i) {
        list += "\n  " + std::to_string(i + 1) + " " + graph.Indicators[i].Name;
    }
    return list;
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    return !file.fail();
}

TExitStatus RunGraph(const TArguments& arguments, std::ostream& out, std::ostream& err) {
#ifdef KAVO_CLI_DRAWS
    return WriteGraphWithQt(arguments, out, err);
#else
    return WriteGraph(arguments, out, err, nullptr);
#endif
}

}  // namespace

const TCommand kGraphCommand{
    .Name = "graph",
    .Synopsis =
        "FOLDER --analysis TITLE [--field N] [--all-fields] [--arena NAME] [--actor NAME]\n"
        "        [--arena-grouping N] [--actor-grouping N] [--factor-grouping N]\n"
        "        [--mentioned-only 0|1] [--symmetric] --format pajek|svg|png --out FILE",
    .Summary = "write the dependency graph of an actor-actor or arena table",
    .Help =
        "  --analysis TITLE      the analysis (exact title): an actor-actor or arena analysis\n"
        "                        with a graph switch\n"
        "  --field N             the indicator to write, numbered from 1 among the table's\n"
        "                        plotted columns; the first by default\n"
        "  --all-fields          every column of the analysis, not only the case's selection\n"
        "  --arena, --actor, --arena-grouping, --actor-grouping, --factor-grouping,\n"
        "  --mentioned-only      the grouping and selection, as for analyse\n"
        "  --symmetric           the indicator's scale symmetric around 0, as the graph\n"
        "                        window's \"Symmetric around 0\": negative values count as\n"
        "                        negative levels\n"
        "  --format FORMAT       pajek: the network of the indicator as Pajek text; svg or png:\n"
        "                        the picture the desktop program's graph window shows, with the\n"
        "                        indicator's lines\n"
        "  --out FILE            the file to write\n"
        "\n"
        "The Pajek network names its vertices in double quotes, numbered from 1, and lists the\n"
        "table's cells as directed arcs \"from to weight\": the weight is the cell's level on the\n"
        "indicator's scale (1..5), negative for a negative value on a symmetric scale; a cell at\n"
        "level 0 gives no arc. A node whose name holds a double quote or a backslash cannot be\n"
        "written: the command says which and writes nothing. Exit status 2 also for an analysis "
        "that has no\n"
        "graph and for an indicator the table does not plot.\n",
    .Rules = {.MinPositional = 1,
              .MaxPositional = 1,
              .Options = {{"--analysis", TOptionKind::okText},
                          {"--field", TOptionKind::okInteger},
                          {"--all-fields", TOptionKind::okFlag},
                          {"--arena", TOptionKind::okText},
                          {"--actor", TOptionKind::okText},
                          {"--arena-grouping", TOptionKind::okInteger},
                          {"--actor-grouping", TOptionKind::okInteger},
                          {"--factor-grouping", TOptionKind::okInteger},
                          {"--mentioned-only", TOptionKind::okText},
                          {"--symmetric", TOptionKind::okFlag},
                          {"--format", TOptionKind::okText},
                          {"--out", TOptionKind::okText}}},
    .Run = RunGraph,
};

TExitStatus WriteGraph(const TArguments& arguments, std::ostream& out, std::ostream& err,
                       const TGraphPictureWriter& writePicture) {
    const std::string format = arguments.Text("--format").value_or("");
    const std::string path = arguments.Text("--out").value_or("");
    const std::vector<std::string> titles = arguments.Texts("--analysis");
    std::string problem;
    if (titles.size() != 1) {
        problem = "name one analysis with --analysis TITLE";
    } else if (format != "pajek" && format != "svg" && format != "png") {
        problem = "--format takes pajek, svg or png";
    } else if (path.empty()) {
        problem = "no file given (--out FILE)";
    } else if (format != "pajek" && !writePicture) {
        problem = "this build cannot draw; configure with KAVO_BUILD_GUI=ON";
    }
    if (!problem.empty()) {
        err << kPrefix << problem << '\n';
        return TExitStatus::esFailed;
    }
    TCommandCase command(err);
    if (!command.Read(arguments.Positional[0])) {
        return TExitStatus::esFailed;
    }
    TAnalysisCatalog catalog;
    catalog.ApplySelectionLines(command.Case.AnalysisLines);
    const TGroupingSettings grouping = CommandGrouping(command.Case, arguments, problem);
    if (problem.empty()) {
        SelectAnalyses(catalog, arguments, problem);
    }
    TAnalysis* analysis = problem.empty() ? catalog.Find(titles.front()) : nullptr;
    if (problem.empty() && !HasGraph(*analysis)) {
        problem = "the analysis \"" + analysis->Title +
                  "\" has no graph: only actor-actor and arena analyses draw one";
    }
    if (!problem.empty()) {
        err << kPrefix << problem << '\n';
        return TExitStatus::esFailed;
    }
    for (const auto& field : analysis->Fields) {
        field->Selected = field->Selected || field->Kind == TFieldKind::fkPlot;
    }
    TGraphModel graph;
    TImageWriter noImages;
    TAnalysisRun run(command.Case, grouping, noImages, "", &graph);
    std::ostringstream table;
    TAnalysisReport(catalog, run, [] { return std::string(); }).RunAnalysis(*analysis, table);
    if (graph.Indicators.empty()) {
        err << kPrefix << "the table of \"" << analysis->Title
            << "\" plots no column: select one of its fields (or give --all-fields)\n";
        return TExitStatus::esFailed;
    }
    std::size_t indicator = 0;
    if (const std::optional<double> field = arguments.Number("--field")) {
        if (*field < 1 || *field > static_cast<double>(graph.Indicators.size())) {
            err << kPrefix << "--field takes 1 to " << graph.Indicators.size()
                << "; the plotted columns are:" << IndicatorList(graph) << '\n';
            return TExitStatus::esFailed;
        }
        indicator = static_cast<std::size_t>(*field) - 1;
    }
    graph.CheckOnly(indicator);
    if (arguments.Has("--symmetric")) {
        graph.MakeSymmetric(indicator);
    }
    bool complete = true;
    if (format == "pajek") {
        const TPajekText network = PajekNetwork(graph, indicator);
        if (!network.Text) {
            err << kPrefix << network.Refusal << '\n';
            return TExitStatus::esFailed;
        }
        if (network.ArcsLeftOut > 0) {
            err << kPrefix << network.ArcsLeftOut
                << " cells left out: their row is no column of the table\n";
            complete = false;
        }
        if (!WriteText(path, *network.Text)) {
            err << kPrefix << "could not write " << path << '\n';
            return TExitStatus::esFailed;
        }
    } else if (!writePicture(graph, path, format == "svg")) {
        err << kPrefix << "could not write " << path << '\n';
        return TExitStatus::esFailed;
    }
    out << path << '\n';
    return command.Outcome(!complete);
}

}  // namespace kavo
