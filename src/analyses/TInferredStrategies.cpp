#include "analyses/TInferredStrategies.h"

#include "analyses/Grouping.h"
#include "analyses/TAnalysisRun.h"
#include "model/Formats.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TLevels.h"
#include "model/TPerception.h"
#include "model/TPseudoGroup.h"
#include "reasoning/TStrategy.h"
#include "reasoning/Tactics.h"

namespace kavo {

namespace {

std::string NoBreak(const std::string& text) {
    return text.find('-') != std::string::npos ? "<nobr>" + text + "</nobr>" : text;
}

std::string RangeImage(int level, int kind) {
    return "<td><img src=\"gif/r" + std::to_string(level) + "-" + std::to_string(kind) +
           ".gif\"></td>";
}

// The position of the first tactic on the FiP, or -1.
int TacticIndex(const TStrategy& strategy, const TFiP* fip) {
    for (std::size_t i = 0; i < strategy.Tactics.size(); ++i) {
        if (strategy.Tactics[i].FiP == fip) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

const char* const kNoTactic = "<td align=\"center\">no tactic</td>";

}  // namespace

TInferredStrategies::TInferredStrategies(std::string title, TAnalysisFamily family)
    : TFactorAnalysis(std::move(title), family) {}

TInferredStrategies::~TInferredStrategies() = default;

void TInferredStrategies::FindStrategiesOf(TPerception& perception) {
    if (!perception.ResultsValid[TPerception::StrategiesFound]) {
        const bool search = FieldSelected(fBase) || FieldSelected(fIdeal) || FieldSelected(fWorst);
        FindStrategies(perception, search);
        EvaluationsRun += search ? perception.BestStrategy->EvaluationCount : 0;
    }
    Run->NoteSampling(perception);
}

void TInferredStrategies::Compute() {
    if (!ColumnPerceptions.empty()) {
        FindStrategiesOf(*ColumnPerceptions.front());
    }
}

std::string TInferredStrategies::ValueCells() {
    if (ColumnPerceptions.empty()) {
        return {};
    }
    const TPerception& perception = *ColumnPerceptions.front();
    const TFiP* fip = RowFactors.empty() ? nullptr : perception.FindFiP(RowFactors.front());
    const bool full = FieldSelected(fFullSet);
    const auto searched = [&](bool best) {
        if (fip == nullptr) {
            return DashCell();
        }
        const TStrategy& strategy = *perception.BestStrategy;
        const int t = TacticIndex(strategy, fip);
        if (t < 0) {
            return std::string(kNoTactic);
        }
        return "<td class=\"sn\">" + strategy.TacticCell(best, full, t) + "</td>";
    };
    std::string chosen;
    if (FieldSelected(fChosen)) {
        if (fip == nullptr) {
            chosen = DashCell();
        } else if (IsLevel(fip->ChosenLevel)) {
            chosen = RangeImage(fip->ChosenLevel, 2);
        } else {
            const TStrategy& strategy = *perception.ChosenStrategy;
            const int t = TacticIndex(strategy, fip);
            chosen = t < 0 ? kNoTactic
                           : RangeImage(strategy.Tactics[static_cast<std::size_t>(t)].Level, 1);
        }
    }
    // The base case shows the levels its strategy was evaluated with: an action's least action.
    int baseLevel = 0;
    if (fip != nullptr) {
        const int t = TacticIndex(*perception.DefaultStrategy, fip);
        baseLevel =
            t < 0 ? 0 : perception.DefaultStrategy->Tactics[static_cast<std::size_t>(t)].Level;
    }
    return SelectedCells({
        {fBase, RangeImage(baseLevel, 1)},
        {fIdeal, FieldSelected(fIdeal) ? searched(true) : ""},
        {fWorst, FieldSelected(fWorst) ? searched(false) : ""},
        {fChosen, chosen},
    });
}

std::string TInferredStrategies::OutcomeTable(const TStrategy& strategy, bool& showGoals) {
    for (const TOutcome& outcome : strategy.Outcomes) {
        Run->HistogramImage(outcome.Change);
        if (showGoals) {
            Run->UtilityImage(*outcome.Goal);
        }
    }
    return strategy.OutcomeTable(showGoals);
}

void TInferredStrategies::TotalCells(TPerception& perception, std::vector<std::string>& rows) {
    const TCase& current = Run->Case;
    const bool details = FieldSelected(fDetails);
    bool showGoals = true;
    const auto strategyCells = [&](const TStrategy& strategy) {
        rows[0] += "<td align=\"right\">" +
                   NoBreak(FormatNumber(strategy.UtilityDist.RawMean(current))) + "</td>";
        rows[1] += "<td align=\"right\">" + FormatPercent(strategy.SatisfactionDist.Mean(current)) +
                   "</td>";
        rows[2] += "<td align=\"right\">" + FormatPercent(strategy.FrustrationDist.Mean(current)) +
                   "</td>";
    };
    const auto listCells = [&](const std::vector<std::unique_ptr<TStrategy>>& list) {
        if (list.empty()) {
            for (std::size_t i = 0; i < rows.size(); ++i) {
                rows[i] += DashCell();
            }
            return;
        }
        strategyCells(*list.front());
        if (!details) {
            return;
        }
        if (list.size() > 1 && FieldSelected(fFullSet)) {
            rows[3] += "<td valign=\"bottom\"><table border=\"0\"><tr>";
            for (std::size_t k = 0; k < list.size(); ++k) {
                rows[3] += "<td class=\"sn\">" + std::to_string(k + 1) + "</td><td>" +
                           OutcomeTable(*list[k], showGoals) + "</td>";
            }
            rows[3] += "</tr></table></td>";
        } else {
            rows[3] += OutcomeTable(*list.front(), showGoals);
        }
    };
    FindStrategiesOf(perception);
    if (FieldSelected(fBase)) {
        perception.DefaultStrategy->Evaluate();
        strategyCells(*perception.DefaultStrategy);
        if (details) {
            rows[3] += OutcomeTable(*perception.DefaultStrategy, showGoals);
        }
    }
    if (FieldSelected(fIdeal)) {
        listCells(perception.BestStrategy->BestStrategies);
    }
    if (FieldSelected(fWorst)) {
        listCells(perception.BestStrategy->WorstStrategies);
    }
    if (FieldSelected(fChosen)) {
        strategyCells(*perception.ChosenStrategy);
        if (details) {
            rows[3] += OutcomeTable(*perception.ChosenStrategy, showGoals);
        }
    }
}

void TInferredStrategies::WriteTable(std::ostream& out) {
    const TGroupingSettings& grouping = Run->Grouping;
    if (grouping.FactorMode() < TGroupingMode::gmClusterByGroup) {
        WriteLine(out, "<p class=err>Cannot infer strategies for aggregated factors.</p>");
        return;
    }
    Merged.clear();
    EvaluationsRun = 0;
    // Without clustering, each actor group's column is the merged perception of its members.
    const bool useMerged =
        !grouping.ActorsClustered() && (grouping.ArenaMode() < TGroupingMode::gmClusterByGroup ||
                                        grouping.ActorMode() < TGroupingMode::gmClusterByGroup);
    if (useMerged) {
        for (TPseudoGroup* arenaGroup : ArenaGroups) {
            for (const auto& actorGroup : arenaGroup->SubGroups) {
                Merged.push_back(MergedPerception(*actorGroup));
            }
        }
    }
    const auto forEachColumn = [&](const std::function<void()>& visit) {
        std::size_t next = 0;
        ForEachColumn([&](TPseudoGroup&, std::vector<TPerception*> perceptions) {
            ColumnPerceptions = useMerged ? std::vector<TPerception*>{Merged[next++].get()}
                                          : std::move(perceptions);
            visit();
        });
    };

    WriteLine(out, "<table border=\"1\">");
    for (const std::string& line : HeaderRows(false)) {
        WriteLine(out, line);
    }
    for (const TPseudoGroup* factorGroup : FactorGroups) {
        if (!Run->KeepGoing()) {
            break;
        }
        RowFactors = FactorsOf(*factorGroup);
        if (RowFactors.empty() || !RowFactors.front()->IsAction) {
            continue;
        }
        std::string row = "  <tr><th>" + factorGroup->Icon + "</th><th align=\"left\">" +
                          factorGroup->Caption + "</th>";
        forEachColumn([&] {
            Compute();
            row += ValueCells();
        });
        WriteLine(out, row + "</tr>");
    }

    const bool details = FieldSelected(fDetails);
    std::vector<std::string> rows = {
        "  <tr><th align=\"left\" colspan=\"2\">Utility</th>",
        "  <tr><th align=\"left\" colspan=\"2\">Satisfaction</th>",
        "  <tr><th align=\"left\" colspan=\"2\">Frustration</th>",
    };
    if (details) {
        rows.push_back("  <tr><th align=\"left\" colspan=\"2\">Detailed analysis</th>");
    }
    // Every column's perception counts, not only the first of an actor group's.
    std::size_t next = 0;
    ForEachColumn([&](TPseudoGroup&, std::vector<TPerception*> perceptions) {
        if (useMerged) {
            TotalCells(*Merged[next++], rows);
            return;
        }
        for (TPerception* perception : perceptions) {
            TotalCells(*perception, rows);
        }
    });
    for (const std::string& row : rows) {
        WriteLine(out, row + "</tr>");
    }
    WriteLine(out, "</table>");
}

}  // namespace kavo
