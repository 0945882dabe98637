#include "simulation/TRoundPlot.h"

#include <algorithm>
#include <cmath>

#include "model/Names.h"
#include "model/TActor.h"
#include "model/TAiA.h"
#include "model/TArena.h"
#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TGoal.h"
#include "model/TGroup.h"
#include "model/TPerception.h"
#include "reasoning/GoalEvaluation.h"
#include "simulation/Rounds.h"

namespace kavo {

namespace {

// Descending order of names under the case's name comparison.
bool Descending(const std::string& a, const std::string& b) {
    return CompareNames(a, b) > 0;
}

std::optional<std::set<const TConcept*>> MembersOf(const TGroup* group) {
    if (group == nullptr) {
        return std::nullopt;
    }
    const std::vector<TConcept*> list = group->MemberList();
    return std::set<const TConcept*>(list.begin(), list.end());
}

// The k-th goal (from 0) on the factor in the perception, or null.
const TGoal* NthGoalOn(const TPerception& perception, const TFactor* factor, int k) {
    for (const auto& goal : perception.Goals) {
        if (goal->FiP->Factor == factor && k-- == 0) {
            return goal.get();
        }
    }
    return nullptr;
}

const TAiA* RecordOf(const TArena& arena, const TActor* actor) {
    for (const auto& record : arena.Actors) {
        if (record->Actor == actor) {
            return record.get();
        }
    }
    return nullptr;
}

}  // namespace

const TGroup* CheckedGroup(const TCase& owningCase, const std::string& name, TGroupKind kind) {
    const TGroup* group = name.empty() ? nullptr : owningCase.GroupList.Find(name);
    return group != nullptr && group->Checked && group->GroupKind == kind ? group : nullptr;
}

TRoundPlot::TRoundPlot(const TCase& owningCase, std::string actorGroup, std::string factorGroup,
                       TGroupFilter filter)
    : Case(owningCase),
      Filter(filter),
      Actors(MembersOf(CheckedGroup(owningCase, actorGroup, TGroupKind::gkActor))),
      Factors(MembersOf(CheckedGroup(owningCase, factorGroup, TGroupKind::gkFactor))),
      RoundZero(FindRound(owningCase, 0)),
      Rounds(PlottedRounds(owningCase)) {}

bool TRoundPlot::ActorPasses(const TActor* actor) const {
    return !Actors || Actors->contains(actor);
}

bool TRoundPlot::FactorPasses(const TFactor* factor) const {
    if (Actors && Filter != TGroupFilter::gfPerceptions &&
        (factor->Owner == nullptr || !Actors->contains(factor->Owner))) {
        return false;
    }
    if (Actors && Filter != TGroupFilter::gfFactors) {
        const bool perceived =
            RoundZero != nullptr &&
            std::any_of(RoundZero->Actors.begin(), RoundZero->Actors.end(), [&](const auto& r) {
                return Actors->contains(r->Actor) && r->Perception->FindFiP(factor) != nullptr;
            });
        if (!perceived) {
            return false;
        }
    }
    return !Factors || Factors->contains(factor);
}

TPlotData TRoundPlot::Compute(TPlotType type) const {
    if (RoundZero == nullptr) {
        TPlotData none;
        none.Error = "*Round 0 is missing";
        return none;
    }
    switch (type) {
        case TPlotType::ptTactics:
            return Tactics();
        case TPlotType::ptChanges:
            return Changes();
        case TPlotType::ptGoals:
            return Goals();
        case TPlotType::ptUtilities:
        case TPlotType::ptSatisfaction:
        case TPlotType::ptFrustration:
            break;
    }
    return Outcomes(type);
}

// One stair line per action around a base of its own, 7 apart: the level each round fixed.
TPlotData TRoundPlot::Tactics() const {
    std::vector<const TFactor*> actions;
    for (const auto& fip : RoundZero->AnalystView->FiPs) {
        if (fip->Factor->IsAction && FactorPasses(fip->Factor)) {
            actions.push_back(fip->Factor);
        }
    }
    const auto shortName = [](const TFactor* f) {
        return f->Owner != nullptr ? f->Owner->ShortName : std::string();
    };
    std::stable_sort(actions.begin(), actions.end(), [&](const TFactor* a, const TFactor* b) {
        const int owners = CompareNames(shortName(a), shortName(b));
        return owners != 0 ? owners > 0 : Descending(BareName(a->Name), BareName(b->Name));
    });
    TPlotData data;
    data.Title = "Actions taken over time";
    const double count = static_cast<double>(actions.size());
    data.Axis = TPlotAxis{3, 7 * count + 4, 7, true};
    for (std::size_t i = 0; i < actions.size(); ++i) {
        const double base = 7.0 * static_cast<double>(i) + 7;
        TPlotSeries series{ShownName(actions[i]->Name), {{0, base}}, true};
        for (std::size_t k = 0; k < Rounds.size(); ++k) {
            const TFiP* fip = Rounds[k]->AnalystView->FindFiP(actions[i]);
            double y = base;
            for (int level = kMinLevel; fip != nullptr && level <= kMaxLevel; ++level) {
                if (fip->ActionRange[level]) {
                    y = base + level;
                    break;
                }
            }
            series.Points.push_back({static_cast<double>(k + 1), y});
        }
        data.Series.push_back(std::move(series));
    }
    return data;
}

// One line per factor: its accumulated change, in percent of the base level when the rounds draw
// single values, and as a level of the change scale when they keep the uncertainty.
TPlotData TRoundPlot::Changes() const {
    std::vector<const TFactor*> factors;
    for (const auto& fip : RoundZero->AnalystView->FiPs) {
        if (!fip->Factor->IsAction && FactorPasses(fip->Factor)) {
            factors.push_back(fip->Factor);
        }
    }
    std::stable_sort(factors.begin(), factors.end(), [](const TFactor* a, const TFactor* b) {
        return Descending(a->Name, b->Name);
    });
    TPlotData data;
    const bool percent = Case.SampleFromDistributions;
    if (percent) {
        data.Title = "Changes in factors over time (in % relative to base level)";
    } else {
        data.Title = "Changes in factors over time (on 7-point change scale)";
        data.Axis = TPlotAxis{-3.5, 3.5, 1, false};
    }
    for (const TFactor* factor : factors) {
        TPlotSeries series{ShownName(factor->Name), {{0, 0}}};
        double variation = 0;
        for (std::size_t k = 0; k < Rounds.size(); ++k) {
            const TFiP* fip = Rounds[k]->AnalystView->FindFiP(factor);
            if (fip == nullptr) {
                continue;
            }
            const double y = percent ? fip->RoundValue * 100 / Case.BaseLevel
                                     : Case.ChangeLevelOf(fip->RoundValue);
            variation += std::abs(y - series.Points.back().Y);
            series.Points.push_back({static_cast<double>(k + 1), y});
        }
        if (variation != 0) {
            data.Series.push_back(std::move(series));
        }
    }
    return data;
}

TPlotData TRoundPlot::Goals() const {
    struct TRowKey {
        const TAiA* Record;
        const TFactor* Factor;
        int Occurrence;
    };
    std::vector<TRowKey> keys;
    for (const auto& record : RoundZero->Actors) {
        if (!ActorPasses(record->Actor)) {
            continue;
        }
        for (const auto& goal : record->Perception->Goals) {
            const TFactor* factor = goal->FiP->Factor;
            if (!FactorPasses(factor)) {
                continue;
            }
            int occurrence = 0;
            for (const TRowKey& key : keys) {
                occurrence += key.Record == record.get() && key.Factor == factor ? 1 : 0;
            }
            keys.push_back({record.get(), factor, occurrence});
        }
    }
    std::stable_sort(keys.begin(), keys.end(), [](const TRowKey& a, const TRowKey& b) {
        const int actors = CompareNames(a.Record->Actor->Name, b.Record->Actor->Name);
        return actors != 0 ? actors > 0 : Descending(a.Factor->Name, b.Factor->Name);
    });
    std::vector<const TArena*> columns{RoundZero};
    columns.insert(columns.end(), Rounds.begin(), Rounds.end());
    TPlotData data;
    data.Title = "Actor goals over time";
    for (const TArena* round : columns) {
        data.Columns.push_back(Trim(std::string_view(round->Name).substr(7)));
    }
    for (const TRowKey& key : keys) {
        TGoalRow row{key.Record->Actor->ShortName + ": " + ShownName(key.Factor->Name), {}};
        for (const TArena* round : columns) {
            const TAiA* record = RecordOf(*round, key.Record->Actor);
            row.Goals.push_back(record != nullptr
                                    ? NthGoalOn(*record->Perception, key.Factor, key.Occurrence)
                                    : nullptr);
        }
        data.Rows.push_back(std::move(row));
    }
    return data;
}

// One line per actor: the utility its round-0 goals draw from the factors' accumulated changes,
// summed, or their satisfaction or frustration, averaged, in percent.
TPlotData TRoundPlot::Outcomes(TPlotType type) const {
    std::vector<const TAiA*> records;
    for (const auto& record : RoundZero->Actors) {
        if (ActorPasses(record->Actor)) {
            records.push_back(record.get());
        }
    }
    std::stable_sort(records.begin(), records.end(), [](const TAiA* a, const TAiA* b) {
        return Descending(a->Actor->Name, b->Actor->Name);
    });
    TPlotData data;
    const bool utility = type == TPlotType::ptUtilities;
    data.Title = utility                             ? "Total utility per actor (in U)"
                 : type == TPlotType::ptSatisfaction ? "Total satisfaction per actor (in %)"
                                                     : "Total frustration per actor (in %)";
    std::size_t mostGoals = 1;
    for (const TAiA* record : records) {
        mostGoals = std::max(mostGoals, record->Perception->Goals.size());
        TPlotSeries series{record->Actor->Name, {{0, 0}}};
        for (std::size_t k = 0; k < Rounds.size(); ++k) {
            const TPerception& state = *Rounds[k]->AnalystView;
            TProVal total(utility                             ? TProValKind::pvUtility
                          : type == TPlotType::ptSatisfaction ? TProValKind::pvSatisfaction
                                                              : TProValKind::pvFrustration);
            int cumulated = 0;
            for (const auto& goal : record->Perception->Goals) {
                const TFiP* fip = state.FindFiP(goal->FiP->Factor);
                if (fip == nullptr || !FactorPasses(fip->Factor)) {
                    continue;
                }
                ++cumulated;
                TProVal change(TProValKind::pvChange);
                change.Add(Case, 1, fip->RoundValue);
                change.Cumulation = 1;
                total.Cumulate(Case, utility ? Utility(*goal, change)
                                     : type == TPlotType::ptSatisfaction
                                         ? Satisfaction(*goal, change)
                                         : Frustration(*goal, change));
            }
            double y = 0;
            if (cumulated > 0) {
                y = utility ? total.RawMean(Case) : total.Mean(Case) * 100;
            }
            series.Points.push_back({static_cast<double>(k + 1), y});
        }
        data.Series.push_back(std::move(series));
    }
    const double g = static_cast<double>(mostGoals);
    data.Axis = utility ? TPlotAxis{-g, g, 0.5, false} : TPlotAxis{0, 100, 20, false};
    return data;
}

}  // namespace kavo
