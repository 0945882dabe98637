#include "model/TGoal.h"

#include <cstdlib>
#include <memory>

#include "model/TCase.h"
#include "model/TFactor.h"
#include "model/TFiP.h"
#include "model/TPerception.h"

namespace kavo {

TGoal::TGoal(const TCase& current, TFiP* fip, TGoalType type, int level, int priority)
    : FiP(fip),
      GoalType(type),
      Level(static_cast<std::int8_t>(level)),
      Priority(static_cast<std::uint8_t>(priority)) {
    TakeUtilitiesFromTable(current);
}

TGoal::TGoal(TFiP* fip, const TLevels<std::int8_t>& utilities)
    : FiP(fip), GoalType(TGoalType::gtCustom), Utilities(utilities) {
    UpdateSummary();
}

void TGoal::TakeUtilitiesFromTable(const TCase& current) {
    if (GoalType != TGoalType::gtCustom && Priority >= 1 && Priority <= 3 && IsLevel(Level)) {
        const TUtilityVectors& table = GoalType == TGoalType::gtStandard
                                           ? current.StdUtilityVectors
                                           : current.NegUtilityVectors;
        Utilities = table.Row(Priority, Level);
    }
    UpdateSummary();
}

void TGoal::UpdateSummary() {
    const bool custom = GoalType == TGoalType::gtCustom;
    HighUtility = -3;
    LowUtility = 3;
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        if (Utilities[i] > HighUtility) {
            HighUtility = Utilities[i];
            if (custom) {
                Level = static_cast<std::int8_t>(i);
            }
        }
        if (Utilities[i] < LowUtility) {
            LowUtility = Utilities[i];
        }
    }
    if (!custom) {
        return;
    }
    if (HighUtility > 0) {
        Priority = static_cast<std::uint8_t>(HighUtility);
        return;
    }
    int best = -3;
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        if (Utilities[i] < 0 && Utilities[i] > best) {
            best = Utilities[i];
            Level = static_cast<std::int8_t>(i);
        }
    }
    Priority = static_cast<std::uint8_t>(std::abs(best));
}

TGoal* TGoal::CopyTo(TPerception& other) const {
    TFiP* target = other.FindFiP(FiP->Factor);
    if (target == nullptr) {
        return nullptr;
    }
    auto copy = std::make_unique<TGoal>(*this);
    copy->FiP = target;
    const int index = other.Add(std::move(copy));
    return index >= 0 ? other.Goals[static_cast<std::size_t>(index)].get() : nullptr;
}

}  // namespace kavo
