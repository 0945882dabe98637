#include "reasoning/TLevelledDistribution.h"

namespace kavo {

namespace {

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
        return kavo::LevelDistance(Vector, other.Vector);
    }
    return Distribution->LevelDistance(current, *other.Distribution);
}

double TLevelledDistribution::JointIntensity(const TCase& current,
                                             const TLevelledDistribution& other) const {
    if (Levelled && other.Levelled) {
        return kavo::JointIntensity(Vector, other.Vector);
    }
    return Distribution->JointIntensity(current, *other.Distribution);
}

}  // namespace kavo
