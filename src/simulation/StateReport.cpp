#include "simulation/StateReport.h"

#include "model/Formats.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TLink.h"
#include "model/TPerception.h"
#include "reasoning/Inference.h"
#include "reasoning/TStrategy.h"

namespace kavo {

std::vector<std::string> PerceptionStateReport(TPerception& perception) {
    const TCase& current = *perception.Case();
    FindOrder(perception);
    TStrategy& chosen = *perception.ChosenStrategy;
    chosen.Tactics.clear();
    for (const auto& fip : perception.FiPs) {
        if (perception.IsFreeAction(fip.get()) && fip->FeasibleCount > 0) {
            const int level = IsLevel(fip->ChosenLevel) ? fip->ChosenLevel : 0;
            chosen.Tactics.push_back({fip.get(), static_cast<std::int8_t>(level), true});
        }
    }
    CollectUncertainItems(perception);
    chosen.Evaluate();

    std::vector<std::string> lines{"State of factors:"};
    for (const TFiP* fip : perception.Order) {
        lines.push_back(fip->Factor->Name + " = " + fip->Change.AsText(current));
    }
    lines.emplace_back();
    lines.push_back(std::to_string(perception.DelayedLinks.size()) + " delayed links:");
    for (const TLink* link : perception.DelayedLinks) {
        lines.push_back(link->FromFiP->Factor->Name + "-->" + link->ToFiP->Factor->Name + "  " +
                        link->Distribution.AsText(current));
    }
    lines.emplace_back();
    lines.emplace_back("Pending changes after processing delayed links:");
    const char separator = current.Context().DecimalSeparator;
    for (const TFiP* fip : perception.Order) {
        lines.push_back(fip->Factor->Name + " = " +
                        FormatProbability(fip->PendingChange, separator));
    }
    return lines;
}

}  // namespace kavo
