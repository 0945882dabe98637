#include "cli/InferCommand.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "cli/TCommandCase.h"
#include "cli/TJson.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "reasoning/Inference.h"
#include "reasoning/TImpact.h"
#include "reasoning/TPath.h"
#include "reasoning/TStrategy.h"
#include "reasoning/Tactics.h"

namespace kavo {

namespace {

void Pairs(TJson& json, const TProVal& distribution) {
    json.Open('[');
    for (const TPVPair& pair : distribution.Pairs()) {
        json.Open('[').Number(pair.Prob).Number(pair.Value).Close(']');
    }
    json.Close(']');
}

void Distribution(TJson& json, std::string_view key, const TProVal& distribution,
                  const TCase& current) {
    json.Key(key);
    Pairs(json, distribution);
    json.Key(std::string(key) + "Mean").Number(distribution.Mean(current));
}

void Tactics(TJson& json, const TStrategy& strategy) {
    json.Key("tactics").Open('[');
    for (const TTactic& tactic : strategy.Tactics) {
        json.Open('{').Key("action").Text(tactic.FiP->Factor->Name);
        json.Key("level").Integer(tactic.Level).Close('}');
    }
    json.Close(']');
}

// What the strategy's last evaluation gave; nothing when it was not evaluated.
void Results(TJson& json, const TStrategy& strategy, const TCase& current) {
    if (strategy.Outcomes.empty() && strategy.UtilityDist.Empty()) {
        return;
    }
    Distribution(json, "utility", strategy.UtilityDist, current);
    Distribution(json, "satisfaction", strategy.SatisfactionDist, current);
    Distribution(json, "frustration", strategy.FrustrationDist, current);
    json.Key("outcomes").Open('[');
    for (const TOutcome& outcome : strategy.Outcomes) {
        json.Open('{').Key("goal").Text(outcome.Goal->FiP->Factor->Name);
        Distribution(json, "change", outcome.Change, current);
        json.Close('}');
    }
    json.Close(']');
}

void Found(TJson& json, std::string_view key,
           const std::vector<std::unique_ptr<TStrategy>>& strategies, const TCase& current) {
    json.Key(key).Open('[');
    for (const auto& found : strategies) {
        json.Open('{');
        Tactics(json, *found);
        Results(json, *found, current);
        json.Close('}');
    }
    json.Close(']');
}

// A searched strategy shows the first of its best strategies, the search having moved its own
// levels through every combination.
void Strategy(TJson& json, std::string_view key, const TStrategy& strategy, bool searched) {
    const TCase& current = *strategy.Perception->Case();
    json.Key(key).Open('{');
    const TStrategy* shown = &strategy;
    if (searched && !strategy.BestStrategies.empty()) {
        shown = strategy.BestStrategies.front().get();
    }
    Tactics(json, *shown);
    if (searched) {
        json.Key("bestScore").Number(strategy.BestScore);
        json.Key("worstScore").Number(strategy.WorstScore);
        json.Key("strategyCount").Number(static_cast<double>(strategy.StrategyCount));
        json.Key("evaluations").Integer(strategy.EvaluationCount);
        json.Key("complete").Bool(strategy.Complete);
    } else if (!strategy.Outcomes.empty()) {
        json.Key("score").Number(strategy.Score());
    }
    Results(json, *shown, current);
    if (searched) {
        Found(json, "bestStrategies", strategy.BestStrategies, current);
        Found(json, "worstStrategies", strategy.WorstStrategies, current);
    }
    json.Close('}');
}

void Inference(TJson& json, const TPerception& perception, const TCase& current) {
    json.Key("paths").Integer(static_cast<long long>(perception.Paths.size()));
    json.Key("pathsComplete").Bool(perception.InferenceComplete);
    json.Key("cycles").Open('[');
    for (const TPath& cycle : perception.Cycles) {
        json.Open('[').Text(cycle.StartFactor()->Name);
        for (const TLink* link : cycle.Links()) {
            json.Text(link->ToFiP->Factor->Name);
        }
        json.Close(']');
    }
    json.Close(']');
    json.Key("order").Open('[');
    for (const TFiP* fip : perception.Order) {
        json.Text(fip->Factor->Name);
    }
    json.Close(']');
    json.Key("delayedLinks").Open('[');
    for (const TLink* link : perception.DelayedLinks) {
        json.Open('{').Key("from").Text(link->FromFiP->Factor->Name);
        json.Key("to").Text(link->ToFiP->Factor->Name).Close('}');
    }
    json.Close(']');
    json.Key("impacts").Open('[');
    for (const auto& impact : perception.Impacts) {
        json.Open('{').Key("from").Text(impact->FromFactor->Name);
        json.Key("to").Text(impact->ToFactor->Name);
        json.Key("paths").Integer(static_cast<long long>(impact->Paths.size()));
        if (impact->Approximate) {
            json.Key("approximate").Bool(true);
        }
        json.Key("multiplier");
        Pairs(json, impact->Multiplier);
        json.Key("levels").Open('[');
        for (int level = kMinLevel; level <= kMaxLevel; ++level) {
            json.Number(impact->Vector[level]);
        }
        json.Close(']').Close('}');
    }
    json.Close(']');
    static_cast<void>(current);
}

void ExpectedChanges(TJson& json, const TPerception& perception, const TCase& current) {
    json.Key("expectedChanges").Open('[');
    for (const auto& fip : perception.FiPs) {
        json.Open('{').Key("factor").Text(fip->Factor->Name);
        Distribution(json, "change", fip->AutonomousChange, current);
        json.Key("influencingProspects").Integer(fip->InfluencingProspects).Close('}');
    }
    json.Close(']');
}

void Actions(TJson& json, const TPerception& perception, const TCase& current) {
    json.Key("actions").Open('[');
    for (const auto& fip : perception.FiPs) {
        if (!fip->Factor->IsAction) {
            continue;
        }
        json.Open('{').Key("action").Text(fip->Factor->Name);
        json.Key("feasibleLevels").Open('[');
        for (int f = 0; f < fip->FeasibleCount; ++f) {
            json.Integer(fip->FeasibleLevels[static_cast<std::size_t>(f)]);
        }
        json.Close(']');
        json.Key("affectedGoals").Integer(fip->AffectedGoals);
        json.Key("levels").Open('[');
        for (int level = kMinLevel; level <= kMaxLevel; ++level) {
            json.Open('{').Key("level").Integer(level);
            Distribution(json, "utility", fip->LevelUtility[level], current);
            Distribution(json, "satisfaction", fip->LevelSatisfaction[level], current);
            Distribution(json, "frustration", fip->LevelFrustration[level], current);
            json.Close('}');
        }
        json.Close(']').Close('}');
    }
    json.Close(']');
}

// The messages shown from the first one on.
void Messages(TJson& json, const TConsole& console, std::size_t first) {
    json.Key("messages").Open('[');
    const auto& shown = console.Log();
    for (std::size_t i = first; i < shown.size(); ++i) {
        json.Open('{').Key("kind").Text(shown[i].first);
        json.Key("text").Text(shown[i].second).Close('}');
    }
    json.Close(']');
}

// Computes and writes one perception; false when the time limit stopped it.
bool Perception(TJson& json, TPerception& perception, bool search, const TConsole& console) {
    TCase& current = *perception.Case();
    const TContext& context = current.Context();
    const std::size_t firstMessage = console.Log().size();
    json.Open('{').Key("owner").Text(perception.OwnerName());
    json.Key("rationality").Integer(perception.Rationality);
    InferInfluences(perception);
    const bool inferred = perception.ResultsValid[TPerception::Inferred];
    if (inferred) {
        ExpectChanges(perception);
    }
    if (inferred && !context.AnalysisCancelled) {
        EvaluateAllTactics(perception);
    }
    if (inferred && !context.AnalysisCancelled) {
        FindStrategies(perception, search);
    }
    const bool stopped = context.AnalysisCancelled;
    json.Key("stoppedEarly").Bool(stopped);
    json.Key("uncertainCombinations")
        .Number(static_cast<double>(UncertainCombinations(perception)));
    json.Key("sampledCombinations").Number(static_cast<double>(SampledCombinations(perception)));
    Messages(json, console, firstMessage);
    Inference(json, perception, current);
    if (perception.ResultsValid[TPerception::ChangesExpected]) {
        ExpectedChanges(json, perception, current);
    }
    if (perception.ResultsValid[TPerception::TacticsEvaluated]) {
        Actions(json, perception, current);
    }
    if (!perception.DefaultStrategy->Outcomes.empty() || !perception.Goals.empty()) {
        json.Key("strategies").Open('{');
        Strategy(json, "default", *perception.DefaultStrategy, false);
        Strategy(json, "chosen", *perception.ChosenStrategy, false);
        Strategy(json, "best", *perception.BestStrategy, search);
        json.Close('}');
    }
    json.Close('}');
    return !stopped;
}

// The perceptions the arguments select, in case order: each arena's analyst view, then its
// actors' perceptions in arena order.
std::vector<TPerception*> Selected(const TCase& current, const TArguments& arguments) {
    const std::optional<std::string> arenaName = arguments.Text("--arena");
    const std::optional<std::string> actorName = arguments.Text("--actor");
    const bool analystOnly = arguments.Has("--analyst");
    std::vector<TPerception*> selected;
    for (const auto& arena : current.ArenaList) {
        if (arenaName && arena->Name != *arenaName) {
            continue;
        }
        if (!actorName) {
            selected.push_back(arena->AnalystView.get());
        }
        for (const auto& record : arena->Actors) {
            if (!analystOnly && (!actorName || record->Actor->Name == *actorName)) {
                selected.push_back(record->Perception.get());
            }
        }
    }
    return selected;
}

TExitStatus RunInfer(const TArguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.Has("--actor") && arguments.Has("--analyst")) {
        err << "kavo-cli infer: --actor and --analyst exclude each other\n";
        return TExitStatus::esFailed;
    }
    const std::optional<double> rationality = arguments.Number("--rationality");
    if (rationality && (*rationality < 0 || *rationality > 8)) {
        err << "kavo-cli infer: --rationality must be a whole number from 0 to 8, not "
            << arguments.Text("--rationality").value_or("") << "\n";
        return TExitStatus::esFailed;
    }
    TCommandCase command(err);
    if (!command.Read(arguments.Positional[0])) {
        return TExitStatus::esFailed;
    }
    const std::vector<TPerception*> selected = Selected(command.Case, arguments);
    if (selected.empty()) {
        err << "kavo-cli infer: no perception matches the selection\n";
        return TExitStatus::esFailed;
    }
    if (const std::optional<double> seconds = arguments.Number("--time-limit")) {
        command.LimitTime(*seconds);
    }
    if (rationality) {
        for (TPerception* perception : selected) {
            perception->Rationality = static_cast<std::uint8_t>(*rationality);
        }
    }
    const bool search = !arguments.Has("--no-search");
    TJson json(out);
    json.Open('{').Key("case").Text(command.Case.Name);
    Messages(json, command.Console, 0);
    json.Key("perceptions").Open('[');
    bool complete = true;
    for (TPerception* perception : selected) {
        json.Open('{').Key("arena").Text(perception->ArenaOwner() != nullptr
                                             ? perception->ArenaOwner()->Name
                                             : perception->AiAOwner()->Arena->Name);
        json.Key("perception");
        complete = Perception(json, *perception, search, command.Console) && complete;
        json.Close('}');
    }
    json.Close(']');
    json.Key("stoppedEarly").Bool(!complete);
    json.Close('}');
    out << "\n";
    return command.Outcome(!complete);
}

}  // namespace

const TCommand kInferCommand{
    .Name = "infer",
    .Synopsis =
        "FOLDER [--arena NAME] [--actor NAME | --analyst] [--rationality N] [--no-search] "
        "[--time-limit SECONDS]",
    .Summary = "print the inference, tactic ratings and strategies of perceptions as JSON",
    .Help =
        "  --arena NAME            only that arena (exact name); otherwise every arena\n"
        "  --actor NAME            only that actor's perceptions (exact name)\n"
        "  --analyst               only the analyst views\n"
        "  --rationality N         evaluate and search under rationality N (0..8) instead\n"
        "                          of each perception's own (the case's default)\n"
        "  --no-search             build and evaluate the default and chosen strategies, but\n"
        "                          do not search for the best\n"
        "  --time-limit SECONDS    stop the work once that much time has passed; what was\n"
        "                          computed so far is printed\n"
        "\n"
        "Prints one JSON document (docs/cli.md describes it) on standard output; the case's\n"
        "messages go to standard error. Exit status 0 when everything was computed, 1 when\n"
        "the case read with messages or the time limit stopped the work, 2 for bad\n"
        "arguments, an unreadable case or a selection that matches no perception.\n",
    .Rules = {.MinPositional = 1,
              .MaxPositional = 1,
              .Options = {{"--arena", TOptionKind::okText},
                          {"--actor", TOptionKind::okText},
                          {"--analyst", TOptionKind::okFlag},
                          {"--rationality", TOptionKind::okInteger},
                          {"--no-search", TOptionKind::okFlag},
                          {"--time-limit", TOptionKind::okNumber}}},
    .Run = RunInfer,
};

}  // namespace kavo
