#include "analyses/TRoundsOverview.h"

#include "analyses/TAnalysisRun.h"
#include "model/Formats.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TPerception.h"
#include "model/TPseudoGroup.h"
#include "reasoning/GoalEvaluation.h"

namespace kavo {

namespace {

// The name the simulation gives its round 0 (two blanks before the 0).
constexpr const char* kRoundZero = "*Round  0";

}  // namespace

void TRoundsOverview::Compute() {
    AffectedGoals = 0;
    UtilitySum = 0;
    SatisfactionSum = 0;
    FrustrationSum = 0;
    RoundChange = 0;
    RoundPending = 0;
    for (const TPerception* perception : ColumnPerceptions) {
        for (const auto& fip : perception->FiPs) {
            for (const TFactor* factor : RowFactors) {
                if (fip->Factor != factor) {
                    continue;
                }
                // Without the factor in the round, a goal sees what the cell found so far.
                if (const TFiP* reference =
                        RoundReference != nullptr ? RoundReference->FindFiP(factor) : nullptr) {
                    RoundChange = reference->RoundValue;
                    RoundPending = reference->PendingChange;
                }
                if (const TGoal* goal = perception->GoalOf(fip.get())) {
                    ++AffectedGoals;
                    UtilitySum += UtilityOf(*goal, RoundChange);
                    SatisfactionSum += SatisfactionOf(*goal, RoundChange);
                    FrustrationSum += FrustrationOf(*goal, RoundChange);
                }
            }
        }
    }
}

std::string TRoundsOverview::ValueCells() {
    const auto changeCell = [this](double change) {
        return RowFactors.size() < 2
                   ? "<td align=right>" + FormatPercent(change / Run->Case.BaseLevel) + "</td>"
                   : DashCell();
    };
    std::string utility = FormatNumber(UtilitySum);
    if (utility.find('-') != std::string::npos) {
        utility = "<nobr>" + utility + "</nobr>";
    }
    const double goals = AffectedGoals;
    return SelectedCells({
        {fChange, changeCell(RoundChange)},
        {fPendingChange, changeCell(RoundPending)},
        {fAffectedGoals, NumberCell(fAffectedGoals, AffectedGoals)},
        {fUtility, "<td align=\"right\">" + utility + "</td>"},
        {fSatisfaction, QuotientCell(fSatisfaction, SatisfactionSum, goals, true)},
        {fFrustration, QuotientCell(fFrustration, FrustrationSum, goals, true)},
    });
}

void TRoundsOverview::WriteTable(std::ostream& out) {
    const TGroupingMode arenas = Run->Grouping.ArenaMode();
    if (arenas != TGroupingMode::gmNone && arenas != TGroupingMode::gmSelected) {
        WriteLine(out, "<p class=err>Arenas must be ungrouped for this overview.</p>");
        return;
    }
    if (Run->Case.ArenaList.Find(kRoundZero) == nullptr) {
        WriteLine(out,
                  "<p class=err>At least one simulation round is needed for this overview.</p>");
        return;
    }
    WriteLine(out, "<table border=\"1\">");
    for (const std::string& line : HeaderRows(false)) {
        WriteLine(out, line);
    }
    const bool clustered = Run->Grouping.ActorsClustered();
    for (const TPseudoGroup* factorGroup : FactorGroups) {
        RowFactors = FactorsOf(*factorGroup);
        if (RowFactors.empty() || RowFactors.front()->IsAction || !Run->KeepGoing()) {
            continue;
        }
        std::string row = "  <tr><th>" + factorGroup->Icon + "</th><th align=\"left\">" +
                          factorGroup->Caption + "</th>";
        for (const TPseudoGroup* arenaGroup : ArenaGroups) {
            const auto* arena = arenaGroup->Members.empty()
                                    ? nullptr
                                    : static_cast<const TArena*>(arenaGroup->Members.front());
            RoundReference = arena != nullptr ? arena->AnalystView.get() : nullptr;
            for (const auto& actorGroup : arenaGroup->SubGroups) {
                if (!clustered) {
                    ColumnPerceptions = actorGroup->Perceptions;
                    Compute();
                    row += ValueCells();
                    continue;
                }
                for (TPerception* perception : actorGroup->Perceptions) {
                    ColumnPerceptions = {perception};
                    Compute();
                    row += ValueCells();
                }
            }
        }
        WriteLine(out, row + "</tr>");
    }
    WriteLine(out, "</table>");
    PlotRequested = PlotRequested || FieldSelected(fPlotResults);
}

}  // namespace kavo
