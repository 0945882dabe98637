#include "cli/SimulateCommand.h"

#include <optional>
#include <string_view>
#include <utility>

#include "casefile/TCaseWriter.h"
#include "cli/TCommandCase.h"
#include "cli/TJson.h"
#include "editing/CaseEdits.h"
#include "editing/TEdit.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TPerception.h"
#include "simulation/RoundZero.h"
#include "simulation/Rounds.h"
#include "simulation/TRoundExecution.h"

namespace kavo {

namespace {

struct TPriorityCommand {
    bool Raise = true;
    std::string Actor;
    bool Moved = false;
};

struct TSimulateOptions {
    std::string Folder;
    int Rounds = 0;
    std::optional<int> From;
    std::vector<TPriorityCommand> Priorities;
    std::optional<std::string> OutFolder;
    std::optional<double> TimeLimit;
};

// A count of rounds or a round number, 0 to 999.
std::optional<int> RoundCount(const TArguments& arguments, std::string_view option,
                              std::ostream& err) {
    const std::optional<double> n = arguments.Number(option);
    if (!n) {
        return std::nullopt;
    }
    if (*n < 0 || *n > kMaxRound) {
        err << "kavo-cli simulate: " << option << " takes a number from 0 to " << kMaxRound << "\n";
        return std::nullopt;
    }
    return static_cast<int>(*n);
}

std::optional<TSimulateOptions> Options(const TArguments& arguments, std::ostream& err) {
    TSimulateOptions options;
    options.Folder = arguments.Positional.front();
    const std::optional<int> rounds = RoundCount(arguments, "--rounds", err);
    if (!rounds) {
        if (!arguments.Has("--rounds")) {
            err << "kavo-cli simulate: --rounds is required\n";
        }
        return std::nullopt;
    }
    options.Rounds = *rounds;
    if (arguments.Has("--from")) {
        options.From = RoundCount(arguments, "--from", err);
        if (!options.From) {
            return std::nullopt;
        }
    }
    for (const auto& [option, value] : arguments.InOrder()) {
        if (option == "--raise" || option == "--lower") {
            options.Priorities.push_back({option == "--raise", value});
        }
    }
    options.OutFolder = arguments.Text("--out");
    options.TimeLimit = arguments.Number("--time-limit");
    return options;
}

// One message or question of the run.
struct TEvent {
    std::string Kind;
    std::string Text;
};

// The questions and messages of one part of the run.
struct TEvents {
    std::vector<TEvent> Questions;
    std::vector<TEvent> Messages;
};

// Gathers the questions, which the command line answers Yes, and the messages of the console, part
// by part.
class TEventLog {
  public:
    explicit TEventLog(const TConsole& console) : Console(console) {}

    void Ask(const std::string& question) { Questions.push_back({"Yes", question}); }
    // What came since the last call.
    TEvents Take() {
        TEvents events{std::exchange(Questions, {}), {}};
        const auto& log = Console.Log();
        for (; Seen < log.size(); ++Seen) {
            events.Messages.push_back({log[Seen].first, log[Seen].second});
        }
        return events;
    }

  private:
    const TConsole& Console;
    std::vector<TEvent> Questions;
    std::size_t Seen = 0;
};

void Events(TJson& json, const TEvents& events) {
    json.Key("questions").Open('[');
    for (const TEvent& question : events.Questions) {
        json.Open('{').Key("question").Text(question.Text);
        json.Key("answer").Text(question.Kind).Close('}');
    }
    json.Close(']');
    json.Key("messages").Open('[');
    for (const TEvent& message : events.Messages) {
        json.Open('{').Key("kind").Text(message.Kind);
        json.Key("text").Text(message.Text).Close('}');
    }
    json.Close(']');
}

void ActionLevels(TJson& json, std::string_view key, const std::vector<TActionLevel>& list) {
    json.Key(key).Open('[');
    for (const TActionLevel& item : list) {
        json.Open('[').Text(item.Action->Name).Integer(item.Level).Close(']');
    }
    json.Close(']');
}

const char* GoalTypeWord(TGoalType type) {
    switch (type) {
        case TGoalType::gtStandard:
            return "standard";
        case TGoalType::gtNegative:
            return "negative";
        case TGoalType::gtCustom:
            break;
    }
    return "custom";
}

void Goals(TJson& json, const TPerception& perception) {
    json.Key("goals").Open('[');
    for (const auto& goal : perception.Goals) {
        json.Open('{').Key("factor").Text(goal->FiP->Factor->Name);
        json.Key("type").Text(GoalTypeWord(goal->GoalType));
        json.Key("level").Integer(goal->Level);
        json.Key("priority").Integer(goal->Priority).Close('}');
    }
    json.Close(']');
}

void Settings(TJson& json, const TSimulateOptions& options, const TCase& current) {
    json.Key("settings").Open('{');
    json.Key("rounds").Integer(options.Rounds);
    json.Key("from");
    options.From ? json.Integer(*options.From) : json.Null();
    json.Key("priorityCommands").Open('[');
    for (const TPriorityCommand& command : options.Priorities) {
        json.Open('{').Key("command").Text(command.Raise ? "raise" : "lower");
        json.Key("actor").Text(command.Actor);
        json.Key("moved").Bool(command.Moved).Close('}');
    }
    json.Close(']');
    json.Key("sampleFromDistributions").Bool(current.SampleFromDistributions);
    json.Key("adaptGoals").Bool(current.AdaptGoals);
    json.Key("maintainActionRange").Bool(current.MaintainActionRange);
    json.Key("baseLevel").Number(current.BaseLevel);
    json.Key("randomSeed").Integer(current.RandomSeed);
    json.Key("evaluations").Integer(current.Evaluations);
    json.Key("changeLevels").Open('[');
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        json.Number(current.ChangeLevels[level]);
    }
    json.Close(']');
    json.Key("timeLimit");
    options.TimeLimit ? json.Number(*options.TimeLimit) : json.Null();
    json.Close('}');
}

void Factors(TJson& json, const TArena& round, const TCase& current) {
    json.Key("factors").Open('[');
    for (const auto& fip : round.AnalystView->FiPs) {
        json.Open('{').Key("name").Text(fip->Factor->Name);
        json.Key("change").Open('[');
        for (const TPVPair& pair : fip->Change.Pairs()) {
            json.Open('[').Number(pair.Prob).Number(pair.Value).Close(']');
        }
        json.Close(']');
        json.Key("roundValue").Number(fip->RoundValue);
        json.Key("pendingChange").Number(fip->PendingChange);
        json.Key("plotPercent").Number(fip->RoundValue * 100 / current.BaseLevel);
        json.Key("plotLevel").Integer(current.ChangeLevelOf(fip->RoundValue)).Close('}');
    }
    json.Close(']');
}

void Round(TJson& json, const TRoundReport& report, TEventLog& log, const TCase& current) {
    json.Open('{').Key("round").Integer(report.Number);
    json.Key("arena").Text(report.Round->Name);
    Events(json, log.Take());
    json.Key("actors").Open('[');
    for (const TActorTurn& turn : report.Turns) {
        json.Open('{').Key("actor").Text(turn.Actor->Actor->Name);
        json.Key("priority").Integer(turn.Priority);
        ActionLevels(json, "fixed", turn.Fixed);
        json.Key("bestScore").Number(turn.BestScore);
        ActionLevels(json, "best", turn.Best);
        json.Key("evaluations").Integer(turn.Evaluations);
        json.Key("complete").Bool(turn.Complete);
        if (turn.SampledCombinations > 0) {
            json.Key("sampledCombinations")
                .Integer(static_cast<long long>(turn.SampledCombinations));
        }
        Goals(json, *turn.Actor->Perception);
        json.Close('}');
    }
    json.Close(']');
    ActionLevels(json, "chosenActions", report.ChosenActions);
    Factors(json, *report.Round, current);
    if (report.SampledCombinations > 0) {
        json.Key("sampledCombinations").Integer(static_cast<long long>(report.SampledCombinations));
    }
    json.Close('}');
}

void StartRound(TJson& json, const TArena& start) {
    json.Key("start").Open('{');
    json.Key("round").Integer(RoundNumber(start).value_or(0));
    json.Key("arena").Text(start.Name);
    json.Key("actors").Open('[');
    for (const auto& record : start.Actors) {
        json.Open('{').Key("actor").Text(record->Actor->Name);
        json.Key("priority").Integer(record->Priority).Close('}');
    }
    json.Close(']').Close('}');
}

// Compiles round 0, or finds round K; null after a message to err when the start is missing.
TArena* Start(TCase& current, const TSimulateOptions& options, TEventLog& log, std::ostream& err) {
    if (!options.From) {
        if (HasSimulationArenas(current)) {
            log.Ask("Delete all simulation rounds?");
            TakeSimulationArenas(current);
        }
        return CompileRound0(current);
    }
    for (const int n : {0, *options.From}) {
        if (FindRound(current, n) == nullptr) {
            err << "kavo-cli simulate: the case has no arena \"" << RoundName(n) << "\"\n";
            return nullptr;
        }
    }
    return FindRound(current, *options.From);
}

// Applies the priority commands to the starting round; false after a message to err when an actor
// is not in it.
bool ApplyPriorities(TArena& start, TSimulateOptions& options, std::ostream& err) {
    for (TPriorityCommand& command : options.Priorities) {
        TAiA* record = start.FindActor(command.Actor);
        if (record == nullptr) {
            err << "kavo-cli simulate: no actor \"" << command.Actor << "\" in " << start.Name
                << "\n";
            return false;
        }
        TEdit edit;
        command.Moved =
            IsRoundArena(start) && MovePriority(edit, start, *record, command.Raise ? -1 : 1);
    }
    return true;
}

TExitStatus RunSimulate(const TArguments& arguments, std::ostream& out, std::ostream& err) {
    std::optional<TSimulateOptions> options = Options(arguments, err);
    if (!options) {
        return TExitStatus::esFailed;
    }
    TCommandCase command(err);
    TCase& current = command.Case;
    if (!command.Read(options->Folder)) {
        return TExitStatus::esFailed;
    }
    if (options->TimeLimit) {
        command.LimitTime(*options->TimeLimit);
    }
    TEventLog log(command.Console);
    TArena* round = Start(current, *options, log, err);
    if (round == nullptr || !ApplyPriorities(*round, *options, err)) {
        return TExitStatus::esFailed;
    }

    TJson json(out);
    json.Open('{').Key("case").Text(current.Name);
    Settings(json, *options, current);
    StartRound(json, *round);
    TEvents events = log.Take();
    json.Key("rounds").Open('[');
    bool failed = false;
    bool stopped = false;
    TRoundExecution execution(current);
    for (int i = 0; i < options->Rounds && !failed && !stopped; ++i) {
        const int n = TRoundExecution::NextNumber(*round);
        if (FindRound(current, n) != nullptr) {
            log.Ask("Delete round " + std::to_string(n) + " and later?");
        }
        const std::optional<TRoundReport> report = execution.Run(round);
        failed = !report;
        stopped = report && report->Cancelled;
        if (report && !stopped) {
            Round(json, *report, log, current);
            round = report->Round;
        }
    }
    json.Close(']');
    json.Key("stoppedEarly").Bool(stopped);
    const bool written = options->OutFolder && WriteCase(current, *options->OutFolder);
    failed = failed || (options->OutFolder && !written);
    json.Key("written");
    written ? json.Text(*options->OutFolder) : json.Null();
    // What reading, compiling and writing reported, and an unfinished round's questions.
    TEvents last = log.Take();
    events.Questions.insert(events.Questions.end(), last.Questions.begin(), last.Questions.end());
    events.Messages.insert(events.Messages.end(), last.Messages.begin(), last.Messages.end());
    Events(json, events);
    json.Close('}');
    out << "\n";
    return failed ? TExitStatus::esFailed : command.Outcome(stopped);
}

}  // namespace

const TCommand kSimulateCommand{
    .Name = "simulate",
    .Synopsis =
        "FOLDER --rounds N [--from K] [--raise ACTOR]... [--lower ACTOR]... [--out OUTFOLDER] "
        "[--time-limit SECONDS]",
    .Summary = "compile round 0 (or start from round K), execute rounds and print them as JSON",
    .Help =
        "  --rounds N              execute N rounds (0 to 999), each from the one before\n"
        "  --from K                start from the case's round K instead of compiling round 0;\n"
        "                          round K+1 and later are replaced\n"
        "  --raise ACTOR           move the actor one place up in the starting round's order of\n"
        "                          play; --raise and --lower apply in the order given\n"
        "  --lower ACTOR           move the actor one place down\n"
        "  --out OUTFOLDER         write the case with its rounds into OUTFOLDER (the document\n"
        "                          alone); without it nothing is written\n"
        "  --time-limit SECONDS    stop the work once that much time has passed; the rounds done\n"
        "                          are printed and written\n"
        "\n"
        "Questions (\"Delete all simulation rounds?\", \"Delete round N and later?\") are\n"
        "answered Yes. Prints one JSON document (docs/cli.md describes it) on standard output;\n"
        "the case's messages go to standard error as well. Exit status 0 when every round was\n"
        "executed, 1 when there were messages or the time limit stopped the work, 2 for bad\n"
        "arguments, an unreadable case, a missing round K or round 0, an actor that the\n"
        "starting round does not hold, or a case that could not be written.\n",
    .Rules = {.MinPositional = 1,
              .MaxPositional = 1,
              .Options = {{"--rounds", TOptionKind::okInteger},
                          {"--from", TOptionKind::okInteger},
                          {"--raise", TOptionKind::okText},
                          {"--lower", TOptionKind::okText},
                          {"--out", TOptionKind::okText},
                          {"--time-limit", TOptionKind::okNumber}}},
    .Run = RunSimulate,
};

}  // namespace kavo
