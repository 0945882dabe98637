#include "reasoning/TLevelledDistribution.h"

#include <cmath>
#include <cstdlib>

namespace kavo {

namespace {

// The sums of TProVal's LevelDistance and JointIntensity, in the same order, over vectors worked
// out once.
double LevelsApart(const TProbVector& a, const TProbVector& b) {
    double sum = 0;
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        for (int j = kMinLevel; j <= kMaxLevel; ++j) {
            sum += a[i] * b[j] * std::abs(i - j);
        }
    }
    return sum / 6;
}

double LevelsTogether(const TProbVector& a, const TProbVector& b) {
    double sum = 0;
    for (int i = kMinLevel; i <= kMaxLevel; ++i) {
        for (int j = kMinLevel; j <= kMaxLevel; ++j) {
            sum += std::abs(i * a[i] * j * b[j]);
        }
    }
    return sum / 9;
}

bool HasLevels(const TProVal& distribution) {
    return distribution.Kind == TProValKind::pvChange ||
           distribution.Kind == TProValKind::pvMultiplier;
}

}  // namespace

TLevelledDistribution::TLevelledDistribution(const TCase& current, const TProVal& distribution)
    : Distribution(&distribution),
      Vector(HasLevels(distribution) ? distribution.ToVector(current) : TProbVector{}),
      Levelled(HasLevels(distribution)) {}

double TLevelledDistribution::LevelDistance(const TCase& current,
                                            const TLevelledDistribution& other) const {
    if (Levelled && other.Levelled) {
        return LevelsApart(Vector, other.Vector);
    }
    return Distribution->LevelDistance(current, *other.Distribution);
}

double TLevelledDistribution::JointIntensity(const TCase& current,
                                             const TLevelledDistribution& other) const {
    if (Levelled && other.Levelled) {
        return LevelsTogether(Vector, other.Vector);
    }
    return Distribution->JointIntensity(current, *other.Distribution);
}

}  // namespace kavo
