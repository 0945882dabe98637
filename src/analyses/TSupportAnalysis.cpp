#include "analyses/TSupportAnalysis.h"

#include <algorithm>

#include "analyses/TAnalysisRun.h"
#include "model/Formats.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TPerception.h"
#include "reasoning/TStrategy.h"
#include "reasoning/Tactics.h"

namespace kavo {

namespace {

void EnsureStrategiesFound(TPerception& perception) {
    if (!perception.ResultsValid[TPerception::StrategiesFound]) {
        FindStrategies(perception, true);
    }
}

// The levels the adapted strategy gives A's actions: those of the best strategy A's search found,
// or its own when A did not search.
const TStrategy& AdaptedLevels(const TStrategy& adaptation) {
    return adaptation.BestStrategies.empty() ? adaptation : *adaptation.BestStrategies.front();
}

std::string LevelImage(int level) {
    return "<img src=\"gif/r" + std::to_string(level) + "-1.gif\"> ";
}

}  // namespace

TSupportAnalysis::TSupportAnalysis(std::string title, TAnalysisFamily family)
    : TActorActorAnalysis(std::move(title), family) {}

TSupportAnalysis::~TSupportAnalysis() = default;

const TStrategy& TSupportAnalysis::Rate(TStrategy& t) {
    if (FieldSelected(fLetAOptimize)) {
        t.Search(FixedActions);
        if (!t.BestStrategies.empty()) {
            return *t.BestStrategies.front();
        }
    }
    // Without a free action of A the search records nothing: T as it stands is the outcome.
    t.Evaluate();
    return t;
}

void TSupportAnalysis::Compute() {
    FixedActions.clear();
    Adaptations.clear();
    StrategyCount = 0;
    if (RowPerceptions.empty() || ColumnPerceptions.empty()) {
        return;
    }
    TPerception& b = *RowPerceptions.front();
    TPerception& a = *ColumnPerceptions.front();
    EnsureStrategiesFound(b);
    EnsureStrategiesFound(a);
    if (b.BestStrategy == nullptr || b.BestStrategy->Tactics.empty() ||
        a.DefaultStrategy == nullptr) {
        return;
    }
    const auto& ideal = b.BestStrategy->BestStrategies;
    StrategyCount = static_cast<int>(std::min<std::size_t>(ideal.size(), kMaxStrategies));
    for (int k = 1; k <= StrategyCount; ++k) {
        std::unique_ptr<TStrategy> t = a.DefaultStrategy->Clone();
        for (const TTactic& tactic : ideal[static_cast<std::size_t>(k - 1)]->Tactics) {
            const auto u = std::ranges::find_if(t->Tactics, [&](const TTactic& candidate) {
                return candidate.FiP->Factor == tactic.FiP->Factor;
            });
            if (u == t->Tactics.end()) {
                continue;
            }
            u->Level = tactic.Level;
            if (k == 1) {
                FixedActions.push_back(u->FiP);
            }
        }
        const TStrategy& outcome = Rate(*t);
        const auto at = static_cast<std::size_t>(k - 1);
        SupportUtility[at] = outcome.UtilityDist.RawMean(Run->Case);
        SupportSatisfaction[at] = outcome.SatisfactionDist.RawMean(Run->Case);
        SupportFrustration[at] = outcome.FrustrationDist.RawMean(Run->Case);
        if (FieldSelected(fAdaptation)) {
            Adaptations.push_back(std::move(t));
        }
    }
    Run->NoteSampling(a);
    Run->NoteSampling(b);
}

std::string TSupportAnalysis::ValuesCell(int field,
                                         const std::array<double, kMaxStrategies>& v) const {
    if (StrategyCount == 0) {
        return DashCell();
    }
    const bool asPercent = field != fUtility;
    const auto valueCell = [&](int i) {
        return FieldAt(field).FormatCell(asPercent, v[static_cast<std::size_t>(i)]);
    };
    double max = v[0];
    double min = v[0];
    int best = 1;
    for (int i = 2; i <= StrategyCount; ++i) {
        const double x = v[static_cast<std::size_t>(i - 1)];
        if (x < min) {
            min = x;
        } else if (x > max) {
            max = x;
            best = i;
        }
    }
    std::string cell = "<td><table class=\"" + FormatProbability(asPercent ? max * 100 : max) +
                       "\" width=\"100%\">";
    const std::string n = std::to_string(StrategyCount);
    if (StrategyCount < 2) {
        cell += "<tr>" + valueCell(0) + "</tr>";
    } else if (max - min > 0.001 && FieldSelected(fFullStrategySet)) {
        for (int i = 1; i <= StrategyCount; ++i) {
            cell +=
                "<tr><td class=\"sn\">" + std::to_string(i) + "</td>" + valueCell(i - 1) + "</tr>";
        }
    } else if (max - min <= 0.001) {
        cell += "<tr><td class=\"sn\">all&nbsp;" + n + "</td>" + valueCell(0) + "</tr>";
    } else {
        cell += "<tr><td class=\"sn\">" + std::to_string(best) + "</td>" + valueCell(best - 1) +
                "</tr>";
    }
    return cell + "</table></td>";
}

std::string TSupportAnalysis::AdaptationCell() const {
    if (Adaptations.empty()) {
        return "<td></td>";
    }
    const TStrategy& first = *Adaptations.front();
    std::string rows;
    for (std::size_t i = 0; i < first.Tactics.size(); ++i) {
        const TFiP* fip = first.Tactics[i].FiP;
        if (std::ranges::find(FixedActions, fip) != FixedActions.end()) {
            continue;
        }
        std::string levels;
        for (std::size_t j = 0; j < Adaptations.size(); ++j) {
            const TStrategy& adapted = AdaptedLevels(*Adaptations[j]);
            const int level = i < adapted.Tactics.size() ? adapted.Tactics[i].Level : 0;
            levels += (Adaptations.size() > 1 ? std::to_string(j + 1) : "") + LevelImage(level);
        }
        rows += "<tr><td><img src=\"gif/" + KindWord(fip->Factor) + ".gif\">" +
                FactorDisplayName(fip->Factor->Name) + "</td><td class=\"sn\">" + levels +
                "</td></tr>";
    }
    return "<td><table>" + rows + "</table></td>";
}

std::string TSupportAnalysis::ValueCells() {
    std::string cells;
    cells += FieldSelected(fUtility) ? ValuesCell(fUtility, SupportUtility) : "";
    cells += FieldSelected(fSatisfaction) ? ValuesCell(fSatisfaction, SupportSatisfaction) : "";
    cells += FieldSelected(fFrustration) ? ValuesCell(fFrustration, SupportFrustration) : "";
    cells += FieldSelected(fAdaptation) ? AdaptationCell() : "";
    return cells;
}

}  // namespace kavo
