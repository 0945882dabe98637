#include "cli/SensitivityCommand.h"

#include <optional>
#include <string>

#include "analyses/Sensitivity.h"
#include "cli/TCommandCase.h"
#include "cli/TJson.h"
#include "model/TAiA.h"
#include "model/TCase.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TProspect.h"
#include "reasoning/Inference.h"

namespace kavo {

namespace {

void Best(TJson& json, const TSensitivity& result, const TBestFound& best) {
    json.Key("bestStrategy").Open('[');
    for (std::size_t i = 0; i < result.Actions.size(); ++i) {
        json.Open('{').Key("action").Text(result.Actions[i]->Factor->Name);
        json.Key("level").Integer(best.Levels[i]).Close('}');
    }
    json.Close(']');
    json.Key("bestScore").Number(best.Score);
    json.Key("ties").Integer(static_cast<long long>(best.Ties));
    json.Key("strategyCount").Number(static_cast<double>(best.StrategyCount));
    json.Key("evaluations").Integer(best.Evaluations);
    json.Key("sampledCombinations").Number(static_cast<double>(best.SampledCombinations));
}

void Item(TJson& json, const TSensitivity& result, const TSensitivityItem& item) {
    json.Open('{');
    if (const auto* prospect = std::get_if<TProspect*>(&item.Item)) {
        json.Key("kind").Text("prospect").Key("factor").Text((*prospect)->FiP->Factor->Name);
        json.Key("level").Integer((*prospect)->Level);
        json.Key("uncertainty").Integer((*prospect)->Uncertainty);
    } else {
        const TLink* link = std::get<TLink*>(item.Item);
        json.Key("kind").Text("link").Key("from").Text(link->FromFiP->Factor->Name);
        json.Key("to").Text(link->ToFiP->Factor->Name);
        json.Key("level").Integer(link->Level);
        json.Key("uncertainty").Integer(link->Uncertainty);
    }
    json.Key("swing").Number(item.Swing);
    json.Key("changesStrategy").Bool(item.ChangesStrategy);
    json.Key("values").Open('[');
    for (const TSensitivityValue& value : item.Values) {
        json.Open('{').Key("value").Number(value.Value);
        json.Key("valueLevel").Integer(value.Level);
        json.Key("probability").Number(value.Probability);
        Best(json, result, value.Best);
        json.Key("keepsBaseStrategy").Bool(value.KeepsBaseStrategy);
        json.Close('}');
    }
    json.Close(']').Close('}');
}

TPerception* Selected(const TCase& current, const std::string& arenaName,
                      const std::optional<std::string>& actorName) {
    const TArena* arena = current.ArenaList.Find(arenaName);
    if (arena == nullptr || arena->Name != arenaName) {
        return nullptr;
    }
    if (!actorName) {
        return arena->AnalystView.get();
    }
    const TAiA* record = arena->FindActor(*actorName);
    return record != nullptr ? record->Perception.get() : nullptr;
}

TExitStatus RunSensitivity(const TArguments& arguments, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> arena = arguments.Text("--arena");
    if (!arena) {
        err << "kavo-cli sensitivity: --arena is required\n";
        return TExitStatus::esFailed;
    }
    TCommandCase command(err);
    if (!command.Read(arguments.Positional[0])) {
        return TExitStatus::esFailed;
    }
    TPerception* perception = Selected(command.Case, *arena, arguments.Text("--actor"));
    if (perception == nullptr) {
        err << "kavo-cli sensitivity: no perception matches the selection\n";
        return TExitStatus::esFailed;
    }
    if (const std::optional<double> rationality = arguments.Number("--rationality")) {
        if (*rationality < 0 || *rationality > 8) {
            err << "kavo-cli sensitivity: the rationality must be a whole number from 0 to 8\n";
            return TExitStatus::esFailed;
        }
        perception->Rationality = static_cast<std::uint8_t>(*rationality);
    }
    if (const std::optional<double> seconds = arguments.Number("--time-limit")) {
        command.LimitTime(*seconds);
    }
    const TSensitivity result = FindSensitivity(*perception);
    TJson json(out);
    json.Open('{').Key("case").Text(command.Case.Name);
    json.Key("arena").Text(*arena).Key("perception").Text(perception->OwnerName());
    json.Key("rationality").Integer(perception->Rationality);
    json.Key("uncertainCombinations")
        .Number(static_cast<double>(UncertainCombinations(*perception)));
    json.Key("base").Open('{');
    Best(json, result, result.Base);
    json.Close('}');
    json.Key("items").Open('[');
    for (const TSensitivityItem& item : result.Items) {
        Item(json, result, item);
    }
    json.Close(']');
    json.Key("stoppedEarly").Bool(!result.Complete);
    json.Key("messages").Open('[');
    for (const auto& [kind, text] : command.Console.Log()) {
        json.Open('{').Key("kind").Text(kind).Key("text").Text(text).Close('}');
    }
    json.Close(']').Close('}');
    out << "\n";
    return command.Outcome(!result.Complete);
}

}  // namespace

const TCommand kSensitivityCommand{
    .Name = "sensitivity",
    .Synopsis = "FOLDER --arena NAME [--actor NAME] [--rationality N] [--time-limit SECONDS]",
    .Summary =
        "print how each uncertain prospect or link moves a perception's best strategy, as "
        "JSON",
    .Help =
        "  --arena NAME            the arena (exact name); required\n"
        "  --actor NAME            that actor's perception (exact name); otherwise the\n"
        "                          analyst view\n"
        "  --rationality N         search under rationality N (0..8) instead of the\n"
        "                          perception's own\n"
        "  --time-limit SECONDS    stop once that much time has passed; the items done so\n"
        "                          far are printed\n"
        "\n"
        "Searches the best strategy with every uncertain item as it is, then with each\n"
        "uncertain prospect and link held at each of its values in turn, and prints for each\n"
        "item the best strategy and score at each value and the swing of the score, the\n"
        "items that move the score most first. Ties, sampled strategies and estimated\n"
        "evaluations are reported (docs/cli.md describes the document). Exit status 0 when\n"
        "done, 1 when the case read with messages or the time limit stopped the work, 2 for\n"
        "bad arguments, an unreadable case or no matching perception.\n",
    .Rules = {.MinPositional = 1,
              .MaxPositional = 1,
              .Options = {{"--arena", TOptionKind::okText},
                          {"--actor", TOptionKind::okText},
                          {"--rationality", TOptionKind::okInteger},
                          {"--time-limit", TOptionKind::okNumber}}},
    .Run = RunSensitivity,
};

}  // namespace kavo
