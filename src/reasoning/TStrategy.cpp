#include "reasoning/TStrategy.h"

#include <algorithm>

#include <cstdlib>

#include "model/Formats.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TPerception.h"
#include "reasoning/GoalEvaluation.h"
#include "reasoning/TPropagator.h"
#include "reasoning/TStrategySearch.h"

namespace kavo {

namespace {

std::string RatingIcon(int level) {
    return "<img src=\"gif/r" + std::to_string(level) + "-1.gif\"> ";
}

double ScoreOf(const TProVal& distribution, const TCase& current, bool expected) {
    return expected ? distribution.RawMean(current) : distribution.Worst();
}

}  // namespace

TStrategy::TStrategy(TPerception* perception, int rationality)
    : Perception(perception), Rationality(static_cast<std::uint8_t>(rationality)) {}

void TStrategy::Reset() {
    BestScore = -std::numeric_limits<double>::infinity();
    WorstScore = std::numeric_limits<double>::infinity();
    Outcomes.clear();
    BestStrategies.clear();
    WorstStrategies.clear();
    BestTies = 0;
    WorstTies = 0;
    Complete = false;
}

TTactic* TStrategy::TacticOf(const TFiP* fip) {
    for (TTactic& tactic : Tactics) {
        if (tactic.FiP == fip) {
            return &tactic;
        }
    }
    return nullptr;
}

std::unique_ptr<TStrategy> TStrategy::Clone() const {
    auto clone = std::make_unique<TStrategy>(Perception, Rationality);
    clone->SingleGoal = SingleGoal;
    clone->Tactics = Tactics;
    for (TTactic& tactic : clone->Tactics) {
        if (SingleGoal == nullptr) {
            tactic.IsVaried = true;
        }
        clone->TotalAction += std::abs(tactic.Level);
    }
    clone->UtilityDist = UtilityDist;
    clone->SatisfactionDist = SatisfactionDist;
    clone->FrustrationDist = FrustrationDist;
    clone->Outcomes = Outcomes;
    clone->SampledCombinations = SampledCombinations;
    clone->BestScore = BestScore;
    clone->WorstScore = WorstScore;
    return clone;
}

void TStrategy::Evaluate() {
    TPropagator propagator(*Perception, Tactics);
    EvaluateWith(propagator);
}

void TStrategy::EvaluateWith(TPropagator& propagator) {
    propagator.Observer = Observer;
    propagator.Evaluate(UtilityDist, SatisfactionDist, FrustrationDist, Outcomes);
    SampledCombinations = propagator.SampledCombinations();
}

void TStrategy::EvaluateResults() {
    TPropagator propagator(*Perception, Tactics);
    propagator.RecordResultsOnly();
    EvaluateWith(propagator);
}

TProVal TStrategy::OutcomeOf(const TGoal* goal) const {
    for (const TOutcome& outcome : Outcomes) {
        if (outcome.Goal == goal) {
            return outcome.Change;
        }
    }
    TProVal none(TProValKind::pvChange);
    none.SetChange(*Perception->Case(), 0, 0);
    return none;
}

double TStrategy::ScoreUnder(int rationality) const {
    const TCase& current = *Perception->Case();
    switch (rationality) {
        case 0:
        case 1:
            return ScoreOf(UtilityDist, current, rationality == 0);
        case 3:
        case 4:
            return ScoreOf(SatisfactionDist, current, rationality == 3);
        case 6:
        case 7:
            return -ScoreOf(FrustrationDist, current, rationality == 6);
        default:
            return 0;
    }
}

double TStrategy::ScoreForGoal(const TGoal* goal, int rationality) const {
    const TCase& current = *Perception->Case();
    const TProVal outcome = OutcomeOf(goal);
    switch (rationality) {
        case 0:
        case 1:
            return ScoreOf(Utility(*goal, outcome), current, rationality == 0);
        case 3:
        case 4:
            return ScoreOf(Satisfaction(*goal, outcome), current, rationality == 3);
        case 6:
        case 7:
            return -ScoreOf(Frustration(*goal, outcome), current, rationality == 6);
        default:
            return 0;
    }
}

bool TStrategy::Search(const std::vector<TFiP*>& exclude) {
    return TStrategySearch(*this, exclude).Run();
}

std::vector<TScoreBounds> TStrategy::SearchScores(const std::vector<int>& rationalities,
                                                  const std::vector<TFiP*>& exclude) {
    return TStrategySearch(*this, exclude).RunScores(rationalities);
}

std::string TStrategy::TacticCell(bool best, bool complete, int t) const {
    const auto& list = best ? BestStrategies : WorstStrategies;
    if (list.empty()) {
        return {};
    }
    // Ties beyond the kept ones count too.
    const std::uint64_t ties = std::max<std::uint64_t>(best ? BestTies : WorstTies, list.size());
    const auto levelOf = [t](const TStrategy& strategy) {
        return t >= 0 && t < static_cast<int>(strategy.Tactics.size())
                   ? static_cast<int>(strategy.Tactics[static_cast<std::size_t>(t)].Level)
                   : 0;
    };
    const int first = levelOf(*list.front());
    if (ties == 1) {
        return RatingIcon(first);
    }
    bool same = true;
    for (const auto& strategy : list) {
        same = same && levelOf(*strategy) == first;
    }
    if (same) {
        return "all&nbsp;" + std::to_string(ties) + "&nbsp;" + RatingIcon(first);
    }
    std::string text;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!complete && list[i]->TotalAction > list.front()->TotalAction) {
            return text + "(+" + std::to_string(ties - i) + ")";
        }
        text += std::to_string(i + 1) + RatingIcon(levelOf(*list[i]));
    }
    return ties > list.size() ? text + "(+" + std::to_string(ties - list.size()) + ")" : text;
}

std::string TStrategy::OutcomeTable(bool& showGoals) const {
    const TCase& current = *Perception->Case();
    std::string html = "<td valign=\"bottom\"><table width=\"100%\">";
    double total = 0;
    double positive = 0;
    double negative = 0;
    for (const TOutcome& outcome : Outcomes) {
        html += "<tr>";
        if (showGoals) {
            const TFactor* factor = outcome.Goal->FiP->Factor;
            html += "<td width=16><img src=\"gif/" + KindWord(factor) + ".gif\"></td><td>" +
                    FactorDisplayName(factor->Name) + "</td><td><img src=\"gif/" +
                    UtilityIconName(*outcome.Goal) + ".gif\"></td>";
        }
        const double u = Utility(*outcome.Goal, outcome.Change).RawMean(current);
        std::string text = FormatNumber(u);
        if (text.find('-') != std::string::npos) {
            text = "<nobr>" + text + "</nobr>";
        }
        html += "<td><img src=\"gif/" + outcome.Change.HistogramName(current) +
                ".gif\"></td><td align=\"right\">" + text + "</td></tr>";
        total += u;
        (u > 0 ? positive : negative) += u;
    }
    if (!Outcomes.empty()) {
        const char* colour = total > 0 ? "lime" : total == 0 ? "silver" : "red";
        html += std::string("<tr><td colspan=\"") + (showGoals ? "5" : "2") +
                "\" align=\"right\"><table border=\"0\" width=\"100%\"><tr><td align=\"right\" "
                "bgcolor=\"" +
                colour + "\"><b>Utility: " + FormatNumber(total) + "</b>";
        if (total != positive && total != negative) {
            const char* direction = total > 0 ? "pos" : total == 0 ? "zero" : "neg";
            html += "</td><td bgcolor=\"yellow\" align=\"right\">+" + FormatNumber(positive) +
                    "&nbsp;<img src=\"gif/to" + direction + ".gif\" align=\"absbottom\">&nbsp;" +
                    FormatNumber(negative);
        }
        html += "</td></tr></table></td></tr>";
    }
    showGoals = false;
    return html + "</table></td>";
}

}  // namespace kavo
