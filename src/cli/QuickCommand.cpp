#include "cli/QuickCommand.h"

#include <string>
#include <vector>

#include "analyses/TQuickAnalysis.h"
#include "cli/RenderCommand.h"
#include "cli/TCommandCase.h"
#include "model/Names.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "reasoning/Inference.h"
#include "reasoning/TImpact.h"

namespace kavo {

namespace {

// The FiP of the factor of this name, without regard to letter case and with "_" as a blank; an
// action or attribute may also be named without its actor's short name when that names one FiP
// only.
TFiP* FindFiPNamed(const TPerception& perception, const std::string& typed) {
    const std::string name = ShownName(typed);
    TFiP* bare = nullptr;
    int bareMatches = 0;
    for (const auto& fip : perception.FiPs) {
        if (SameName(ShownName(fip->Factor->Name), name)) {
            return fip.get();
        }
        if (SameName(ShownName(BareName(fip->Factor->Name)), name)) {
            bare = fip.get();
            ++bareMatches;
        }
    }
    return bareMatches == 1 ? bare : nullptr;
}

// "A -> B": the link from A to B.
TLink* FindLinkNamed(const TPerception& perception, const std::string& item) {
    const std::size_t arrow = item.find("->");
    if (arrow == std::string::npos) {
        return nullptr;
    }
    const TFiP* from = FindFiPNamed(perception, Trim(item.substr(0, arrow)));
    const TFiP* to = FindFiPNamed(perception, Trim(item.substr(arrow + 2)));
    if (from == nullptr || to == nullptr) {
        return nullptr;
    }
    for (TLink* link : from->OutLinks) {
        if (link->ToFiP == to) {
            return link;
        }
    }
    return nullptr;
}

// The factors with a goal; in a perception without goals, every factor the item influences.
void SelectDefaultTargets(TPerception& perception, const TFiP& item) {
    for (const auto& goal : perception.Goals) {
        perception.Selection.emplace_back(goal->FiP);
    }
    if (!perception.Goals.empty()) {
        return;
    }
    if (!perception.ResultsValid[TPerception::Inferred]) {
        InferInfluences(perception);
    }
    for (const auto& fip : perception.FiPs) {
        const TImpact* impact = ImpactBetween(perception, &item, fip.get());
        if (fip.get() != &item && impact != nullptr && impact->HasPaths()) {
            perception.Selection.emplace_back(fip.get());
        }
    }
}

TExitStatus Refuse(std::ostream& err, const std::string& problem) {
    err << "kavo-cli quick: " << problem << '\n';
    return TExitStatus::esFailed;
}

TExitStatus RunQuick(const TArguments& arguments, std::ostream& out, std::ostream& err) {
    const std::string item = Trim(arguments.Text("--item").value_or(""));
    const std::optional<double> level = arguments.Number("--level");
    TRenderRequest request{.Folder = arguments.Positional[0],
                           .Arena = arguments.Text("--arena").value_or(""),
                           .Actor = arguments.Text("--actor").value_or(""),
                           .Out = {}};
    if (request.Arena.empty()) {
        return Refuse(err, "no arena given (--arena NAME)");
    }
    if (item.empty()) {
        return Refuse(err, "no item given (--item FACTOR or --item \"CAUSE -> EFFECT\")");
    }
    if (level && (*level < kMinLevel || *level > kMaxLevel)) {
        return Refuse(err, "--level needs a level from -3 to 3");
    }
    TCommandCase command(err);
    if (!command.Read(request.Folder)) {
        return TExitStatus::esFailed;
    }
    std::string error;
    TPerception* perception = PerceptionToRender(command.Case, request, error);
    if (perception == nullptr) {
        return Refuse(err, error);
    }
    TLink* link = FindLinkNamed(*perception, item);
    TFiP* fip = link == nullptr ? FindFiPNamed(*perception, item) : nullptr;
    if (link == nullptr && fip == nullptr) {
        return Refuse(err, "no factor or link \"" + item + "\" in the " +
                               (request.Actor.empty() ? "analyst view" : "perception"));
    }
    // The factors whose influence is shown stand for the selection in the diagram.
    perception->Selection.clear();
    for (const std::string& name : arguments.Texts("--to")) {
        TFiP* target = FindFiPNamed(*perception, Trim(name));
        if (target == nullptr) {
            return Refuse(err, "no factor \"" + name + "\" in the perception");
        }
        perception->Selection.emplace_back(target);
    }
    if (!arguments.Has("--to") && fip != nullptr) {
        SelectDefaultTargets(*perception, *fip);
    }
    TQuickAnalysis quick(command.Measure, command.Case.Font);
    quick.Influence = quick.Noise = quick.USF = true;
    quick.Strategies = arguments.Has("--strategies");
    quick.Explain(*perception, fip, level ? static_cast<int>(*level) : kNoLevel, link);
    out << quick.Text();
    return command.Outcome();
}

}  // namespace

const TCommand kQuickCommand{
    .Name = "quick",
    .Synopsis =
        "FOLDER --arena NAME [--actor NAME] --item NAME [--to NAME]... [--level LEVEL] "
        "[--strategies]",
    .Summary = "print what the quick-analysis pane shows for a factor or a link",
    .Help =
        "  --arena NAME     the arena (names compare without regard to letter case)\n"
        "  --actor NAME     the actor, by name or short name; without it the arena's analyst\n"
        "                   view\n"
        "  --item NAME      a factor, or a link as \"CAUSE -> EFFECT\"; an action or attribute\n"
        "                   may be named without its actor's short name\n"
        "  --to NAME        a factor whose inferred influence from the item is shown, as for\n"
        "                   the factors selected in the diagram; may be repeated; without it\n"
        "                   the factors with a goal, or where there are none every factor\n"
        "                   the item influences\n"
        "  --level LEVEL    for an action, the level -3..3 whose effect on the goals is shown,\n"
        "                   as with the pointer on that cell of the range bar\n"
        "  --strategies     also the best and worst strategies (searched when needed)\n"
        "\n"
        "Prints the pane's text: for a factor the inferred influence on each factor, the\n"
        "noise the prospects cause at it and the effect of the level; for a link its\n"
        "multiplier; each distribution as a vector of level probabilities and as pairs.\n"
        "Exit status 0 when printed, 1 when the case read with messages, 2 for bad arguments,\n"
        "an unreadable case, or an arena, actor, item or factor the case lacks.\n",
    .Rules = {.MinPositional = 1,
              .MaxPositional = 1,
              .Options = {{"--arena", TOptionKind::okText},
                          {"--actor", TOptionKind::okText},
                          {"--item", TOptionKind::okText},
                          {"--to", TOptionKind::okText},
                          {"--level", TOptionKind::okInteger},
                          {"--strategies", TOptionKind::okFlag}}},
    .Run = RunQuick,
};

}  // namespace kavo
