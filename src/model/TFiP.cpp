#include "model/TFiP.h"

#include <memory>

#include "model/TPerception.h"

namespace kavo {

TFiP::TFiP(TFactor* factor) : Factor(factor) {
    for (int level = kMinLevel; level <= kMaxLevel; ++level) {
        LevelUtility[level].Kind = TProValKind::pvUtility;
        LevelSatisfaction[level].Kind = TProValKind::pvSatisfaction;
        LevelFrustration[level].Kind = TProValKind::pvFrustration;
    }
    UpdateFeasibleLevels();
}

void TFiP::UpdateFeasibleLevels() {
    FeasibleCount = 0;
    const auto append = [this](int level) {
        if (ActionRange[level]) {
            FeasibleLevels[static_cast<std::size_t>(FeasibleCount++)] =
                static_cast<std::int8_t>(level);
        }
    };
    append(0);
    for (int i = 1; i <= kMaxLevel; ++i) {
        append(i);
        append(-i);
    }
}

TFiP* TFiP::CopyTo(TPerception& other) const {
    auto copy = std::make_unique<TFiP>(Factor);
    copy->Operator = Operator;
    copy->Comment = Comment;
    copy->ActionRange = ActionRange;
    copy->ChosenLevel = ChosenLevel;
    copy->FeasibleLevels = FeasibleLevels;
    copy->FeasibleCount = FeasibleCount;
    copy->Change = Change;
    copy->RoundValue = RoundValue;
    copy->PendingChange = PendingChange;
    copy->X = X;
    copy->Y = Y;
    const int index = other.Add(std::move(copy));
    return index >= 0 ? other.FiPs[static_cast<std::size_t>(index)].get() : nullptr;
}

}  // namespace kavo
