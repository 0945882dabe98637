#include "analyses/TFieldFormat.h"

#include <cmath>

namespace kavo {

namespace {

constexpr double kEqualWithin = 0.005;

}  // namespace

bool TFieldFormat::Matches(double x) const {
    const double u = UpperValue;
    switch (Relation) {
        case TFormatRelation::frEqual:
            return std::abs(x - u) < kEqualWithin;
        case TFormatRelation::frApproxEqual:
            return std::abs(u) > kEqualWithin ? std::abs(x - u) < 0.1 * std::abs(u)
                                              : std::abs(x - u) < 0.1;
        case TFormatRelation::frNotEqual:
            return std::abs(x - u) >= kEqualWithin;
        case TFormatRelation::frLess:
            return x < u;
        case TFormatRelation::frLessOrEqual:
            return x <= u;
        case TFormatRelation::frGreater:
            return x > u;
        case TFormatRelation::frGreaterOrEqual:
            return x >= u;
        case TFormatRelation::frBetween:
            return LowerValue <= x && x <= u;
        case TFormatRelation::frNotBetween:
            return x < LowerValue || x > u;
        case TFormatRelation::frUnset:
            return false;
    }
    return false;
}

}  // namespace kavo
