#include "analyses/TSingleGoalStrategies.h"

#include "analyses/TAnalysisRun.h"
#include "model/Formats.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TPerception.h"
#include "model/TPseudoGroup.h"
#include "reasoning/Inference.h"
#include "reasoning/TImpact.h"
#include "reasoning/TStrategy.h"
#include "reasoning/Tactics.h"

namespace kavo {

TSingleGoalStrategies::TSingleGoalStrategies(std::string title, TAnalysisFamily family)
    : TAnalysis(std::move(title), 14, family) {
    RowHeaderColumns = 2;
    RowHeaderCells =
        "<th width=16><img src=\"gif/factor.gif\"></th><th align=\"left\">Goal factor</th>";
}

TSingleGoalStrategies::~TSingleGoalStrategies() = default;

void TSingleGoalStrategies::Compute() {
    TacticImpacts.clear();
    NoGoal = true;
    if (ColumnPerceptions.empty() || RowFactors.empty()) {
        return;
    }
    TPerception& perception = *ColumnPerceptions.front();
    if (!perception.ResultsValid[TPerception::Inferred]) {
        InferInfluences(perception);
    }
    const TFiP* goalFiP = perception.FindFiP(RowFactors.front());
    CurrentGoal = goalFiP != nullptr ? perception.GoalOf(goalFiP) : nullptr;
    if (CurrentGoal == nullptr) {
        return;
    }
    NoGoal = false;
    GoalStrategy = SingleGoalStrategy(perception, CurrentGoal);
    // The cells show the levels of the best strategies and the results of the first.
    GoalStrategy->FirstBestResultsOnly = true;
    bool shown = false;
    for (const int field : {fGoal, fTactics, fUtility, fSatisfaction, fFrustration}) {
        shown = shown || FieldSelected(field);
    }
    if (!shown) {
        return;
    }
    // Uncertain prospects and links count in the search only once collected.
    CollectUncertainItems(perception);
    std::vector<TFiP*> excluded;
    for (TTactic& tactic : GoalStrategy->Tactics) {
        tactic.Level = 0;
        const TImpact* impact = ImpactBetween(perception, tactic.FiP, goalFiP);
        TacticImpacts.push_back(impact);
        // An action that certainly does not reach the goal, or that has no level to take, stays
        // at 0.
        if (impact->Vector[0] >= 1 || tactic.FiP->FeasibleCount == 0) {
            excluded.push_back(tactic.FiP);
        }
    }
    if (GoalStrategy->Tactics.empty()) {
        if (const auto found = Unacted.find(&perception); found != Unacted.end()) {
            const TStrategy& earlier = *found->second;
            GoalStrategy->UtilityDist = earlier.UtilityDist;
            GoalStrategy->SatisfactionDist = earlier.SatisfactionDist;
            GoalStrategy->FrustrationDist = earlier.FrustrationDist;
            GoalStrategy->Outcomes = earlier.Outcomes;
            GoalStrategy->SampledCombinations = earlier.SampledCombinations;
            GoalStrategy->BestScore = earlier.BestScore;
            GoalStrategy->WorstScore = earlier.WorstScore;
            GoalStrategy->StrategyCount = 1;
            GoalStrategy->Complete = true;
            Run->Estimated = Run->Estimated || GoalStrategy->SampledCombinations > 0;
            return;
        }
    }
    GoalStrategy->Search(excluded);
    EvaluationsRun += GoalStrategy->EvaluationCount;
    // A search without tactics evaluates the perception without any; one with tactics leaves the
    // working values of its own.
    Unacted.erase(&perception);
    if (GoalStrategy->Tactics.empty() && GoalStrategy->Complete && !Run->Cancelled()) {
        Unacted.emplace(&perception, GoalStrategy->Clone());
    }
    Run->Estimated = Run->Estimated || GoalStrategy->SampledCombinations > 0;
}

std::string TSingleGoalStrategies::ValueCells() {
    int shown = 0;
    for (const int field : {fGoal, fTactics, fUtility, fSatisfaction, fFrustration}) {
        shown += FieldSelected(field) ? 1 : 0;
    }
    if (shown == 0) {
        return {};
    }
    if (NoGoal) {
        return "<td colspan=\"" + std::to_string(shown) + "\">NO GOAL</td>";
    }
    const TCase& current = Run->Case;
    std::string tactics;
    if (FieldSelected(fTactics)) {
        tactics = "<td><table border=\"0\">";
        const bool full = FieldSelected(fFullSet);
        for (std::size_t i = 0; i < GoalStrategy->Tactics.size(); ++i) {
            const TFiP* action = GoalStrategy->Tactics[i].FiP;
            tactics += "<tr><th width=16><img src=\"gif/action.gif\"></th><td>" +
                       FactorDisplayName(action->Factor->Name) + "</td><td><img src=\"gif/" +
                       Run->HistogramImage(TacticImpacts[i]->Multiplier) +
                       ".gif\"></td><td class=\"sn\">" +
                       GoalStrategy->TacticCell(true, full, static_cast<int>(i)) + "</td></tr>";
        }
        tactics += "</table></td>";
    }
    const auto& best = GoalStrategy->BestStrategies;
    const std::string none = GoalStrategy->Complete ? DashCell() : "<td align=\"center\">?</td>";
    const auto result = [&](int field, const TProVal TStrategy::*distribution, bool percent) {
        if (!FieldSelected(field)) {
            return std::string();
        }
        if (best.empty()) {
            return none;
        }
        const double x = (best.front().get()->*distribution).RawMean(current);
        return percent ? PercentCell(field, x) : NumberCell(field, x);
    };
    return SelectedCells({
        {fGoal, FieldSelected(fGoal) ? "<td width=21><img src=\"gif/" +
                                           Run->UtilityImage(*CurrentGoal) + ".gif\"></td>"
                                     : ""},
        {fTactics, tactics},
        {fUtility, result(fUtility, &TStrategy::UtilityDist, false)},
        {fSatisfaction, result(fSatisfaction, &TStrategy::SatisfactionDist, true)},
        {fFrustration, result(fFrustration, &TStrategy::FrustrationDist, true)},
    });
}

void TSingleGoalStrategies::WriteTable(std::ostream& out) {
    const TGroupingSettings& grouping = Run->Grouping;
    for (const TGroupingMode mode :
         {grouping.ArenaMode(), grouping.ActorMode(), grouping.FactorMode()}) {
        if (mode < TGroupingMode::gmClusterByGroup) {
            WriteLine(out,
                      "<p class=err>Cannot display strategies for aggregated arenas, actors or "
                      "factors.</p>");
            return;
        }
    }
    EvaluationsRun = 0;
    Unacted.clear();
    WriteLine(out, "<table border=\"1\">");
    for (const std::string& line : HeaderRows(false)) {
        WriteLine(out, line);
    }
    for (const TPseudoGroup* factorGroup : FactorGroups) {
        if (!Run->KeepGoing()) {
            break;
        }
        const std::vector<TFactor*> factors = FactorsOf(*factorGroup);
        if (factors.empty() || factors.front()->IsAction) {
            continue;
        }
        std::string row = "  <tr><th>" + factorGroup->Icon + "</th><th align=\"left\">" +
                          factorGroup->Caption + "</th>";
        bool allNoGoal = true;
        ForEachColumn([&](TPseudoGroup&, std::vector<TPerception*> perceptions) {
            RowFactors = factors;
            ColumnPerceptions = std::move(perceptions);
            Compute();
            allNoGoal = allNoGoal && NoGoal;
            row += ValueCells();
        });
        // Factors that are nobody's goal get no row.
        if (!allNoGoal) {
            WriteLine(out, row + "</tr>");
        }
    }
    WriteLine(out, "</table>");
    Unacted.clear();
}

}  // namespace kavo
