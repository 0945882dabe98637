#include "cli/InferCommand.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string_view>

#include "casefile/TCaseReader.h"
#include "cli/TApproximateTextMeasure.h"
#include "cli/TConsole.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "reasoning/Inference.h"
#include "reasoning/TImpact.h"
#include "reasoning/TPath.h"
#include "reasoning/TStrategy.h"
#include "reasoning/Tactics.h"

namespace kavo {

namespace {

using TClock = std::chrono::steady_clock;

struct TInferOptions {
    std::string Folder;
    std::optional<std::string> Arena;
    std::optional<std::string> Actor;
    bool AnalystOnly = false;
    bool Search = true;
    std::optional<double> TimeLimit;
};

// Status of the command: nothing is shown; past the deadline the event pump cancels the work, as
// the desktop program's cancel button does.
class TDeadlineStatus : public TStatus {
  public:
    void SetStatusText(const std::string&) override {}
    void PumpEvents() override {
        if (Deadline && TClock::now() >= *Deadline) {
            Context->AnalysisCancelled = true;
        }
    }

    TContext* Context = nullptr;
    std::optional<TClock::time_point> Deadline;
};

std::optional<TInferOptions> Parse(const std::vector<std::string>& arguments, std::ostream& err) {
    TInferOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (argument == "--arena" && hasValue) {
            options.Arena = arguments[++i];
        } else if (argument == "--actor" && hasValue) {
            options.Actor = arguments[++i];
        } else if (argument == "--analyst") {
            options.AnalystOnly = true;
        } else if (argument == "--no-search") {
            options.Search = false;
        } else if (argument == "--time-limit" && hasValue) {
            char* end = nullptr;
            const double seconds = std::strtod(arguments[++i].c_str(), &end);
            if (end == arguments[i].c_str() || *end != '\0' || !(seconds >= 0)) {
                err << "kavo-cli infer: the time limit must be a number of seconds\n";
                return std::nullopt;
            }
            options.TimeLimit = seconds;
        } else if (!argument.starts_with("--") && options.Folder.empty()) {
            options.Folder = argument;
        } else {
            err << "kavo-cli infer: unexpected argument \"" << argument << "\"\n";
            return std::nullopt;
        }
    }
    if (options.Folder.empty() || (options.Actor && options.AnalystOnly)) {
        err << "usage: kavo-cli infer FOLDER [--arena NAME] [--actor NAME | --analyst] "
               "[--no-search] [--time-limit SECONDS]\n";
        return std::nullopt;
    }
    return options;
}

// A JSON writer just large enough for the document: values are appended with the separators
// they need.
class TJson {
  public:
    explicit TJson(std::ostream& out) : Out(out) {}

    TJson& Open(char bracket) {
        Separate();
        Out << bracket;
        First = true;
        return *this;
    }
    TJson& Close(char bracket) {
        Out << bracket;
        First = false;
        return *this;
    }
    TJson& Key(std::string_view key) {
        Separate();
        String(key);
        Out << ':';
        First = true;
        return *this;
    }
    TJson& Text(std::string_view text) {
        Separate();
        String(text);
        return *this;
    }
    TJson& Number(double x) {
        Separate();
        if (!std::isfinite(x)) {
            Out << "null";
            return *this;
        }
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%.17g", x);
        Out << buffer;
        return *this;
    }
    TJson& Integer(long long n) {
        Separate();
        Out << n;
        return *this;
    }
    TJson& Bool(bool b) {
        Separate();
        Out << (b ? "true" : "false");
        return *this;
    }

  private:
    void Separate() {
        if (!First) {
            Out << ',';
        }
        First = false;
    }
    void String(std::string_view text) {
        Out << '"';
        for (const char c : text) {
            if (c == '"' || c == '\\') {
                Out << '\\' << c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char buffer[8];
                std::snprintf(buffer, sizeof buffer, "\\u%04x", c);
                Out << buffer;
            } else {
                Out << c;
            }
        }
        Out << '"';
    }

    std::ostream& Out;
    bool First = true;
};

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
    json.Open('[');
    for (const TTactic& tactic : strategy.Tactics) {
        json.Open('{').Key("action").Text(tactic.FiP->Factor->Name);
        json.Key("level").Integer(tactic.Level).Close('}');
    }
    json.Close(']');
}

// A searched strategy shows the first of its best strategies, the search having moved its own
// levels through every combination.
void Strategy(TJson& json, std::string_view key, const TStrategy& strategy, bool searched) {
    json.Key(key).Open('{');
    json.Key("tactics");
    const bool found = searched && !strategy.BestStrategies.empty();
    Tactics(json, found ? *strategy.BestStrategies.front() : strategy);
    if (searched) {
        json.Key("bestScore").Number(strategy.BestScore);
        json.Key("worstScore").Number(strategy.WorstScore);
        for (const bool best : {true, false}) {
            json.Key(best ? "bestStrategies" : "worstStrategies").Open('[');
            for (const auto& found : best ? strategy.BestStrategies : strategy.WorstStrategies) {
                Tactics(json, *found);
            }
            json.Close(']');
        }
        json.Key("evaluations").Integer(strategy.EvaluationCount);
        json.Key("complete").Bool(strategy.Complete);
    } else if (!strategy.Outcomes.empty()) {
        json.Key("score").Number(strategy.Score());
    }
    json.Close('}');
}

void Inference(TJson& json, const TPerception& perception, const TCase& current) {
    json.Key("paths").Integer(static_cast<long long>(perception.Paths.size()));
    json.Key("pathsComplete").Bool(perception.InferenceComplete);
    json.Key("cycles").Open('[');
    for (const TPath* cycle : perception.Cycles) {
        json.Open('[').Text(cycle->StartFactor->Name);
        for (const TLink* link : cycle->Links) {
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

// Computes and writes one perception; false when the time limit stopped it.
bool Perception(TJson& json, TPerception& perception, const TInferOptions& options) {
    TCase& current = *perception.Case();
    const TContext& context = current.Context();
    json.Open('{').Key("owner").Text(perception.OwnerName());
    InferInfluences(perception);
    const bool inferred = perception.ResultsValid[TPerception::Inferred];
    if (inferred) {
        ExpectChanges(perception);
    }
    if (inferred && !context.AnalysisCancelled) {
        EvaluateAllTactics(perception);
    }
    if (inferred && !context.AnalysisCancelled) {
        FindStrategies(perception, options.Search);
    }
    const bool stopped = context.AnalysisCancelled;
    json.Key("stoppedEarly").Bool(stopped);
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
        Strategy(json, "best", *perception.BestStrategy, options.Search);
        json.Close('}');
    }
    json.Close('}');
    return !stopped;
}

}  // namespace

int RunInfer(const std::vector<std::string>& arguments, std::ostream& out, std::ostream& err) {
    const std::optional<TInferOptions> options = Parse(arguments, err);
    if (!options) {
        return 2;
    }
    TConsole console(err);
    TDeadlineStatus status;
    TApproximateTextMeasure measure;
    TContext context(console, status, measure);
    status.Context = &context;
    TCase current(context);
    if (ReadCase(current, options->Folder) != TReadOutcome::roRead) {
        return 2;
    }
    std::vector<TPerception*> selected;
    for (const auto& arena : current.ArenaList) {
        if (options->Arena && arena->Name != *options->Arena) {
            continue;
        }
        if (!options->Actor) {
            selected.push_back(arena->AnalystView.get());
        }
        for (const auto& record : arena->Actors) {
            if (!options->AnalystOnly &&
                (!options->Actor || record->Actor->Name == *options->Actor)) {
                selected.push_back(record->Perception.get());
            }
        }
    }
    if (selected.empty()) {
        err << "kavo-cli infer: no perception matches the selection\n";
        return 2;
    }
    if (options->TimeLimit) {
        status.Deadline = TClock::now() + std::chrono::duration_cast<TClock::duration>(
                                              std::chrono::duration<double>(*options->TimeLimit));
    }
    TJson json(out);
    json.Open('{').Key("case").Text(current.Name);
    json.Key("perceptions").Open('[');
    bool complete = true;
    for (TPerception* perception : selected) {
        json.Open('{').Key("arena").Text(perception->ArenaOwner() != nullptr
                                             ? perception->ArenaOwner()->Name
                                             : perception->AiAOwner()->Arena->Name);
        json.Key("perception");
        complete = Perception(json, *perception, *options) && complete;
        json.Close('}');
    }
    json.Close(']');
    json.Key("stoppedEarly").Bool(!complete);
    json.Close('}');
    out << "\n";
    return complete ? 0 : 1;
}

}  // namespace kavo
