#include "model/TUtilityVectors.h"

namespace kavo {

TLevels<std::int8_t> TUtilityVectors::Row(int priority, int goalLevel) const {
    TLevels<std::int8_t> row;
    for (int change = kMinLevel; change <= kMaxLevel; ++change) {
        row[change] = At(priority, goalLevel, change);
    }
    return row;
}

const TUtilityVectors& TUtilityVectors::DefaultStandard() {
    static const TUtilityVectors table{{
        // priority 1, goal levels -3..+3
        1, 0, 0, -1, -3, -3, -3,    //
        0, 1, 0, -1, -3, -3, -3,    //
        0, 0, 1, 0, -2, -3, -3,     //
        -3, -2, -1, 1, -1, -2, -3,  //
        -3, -3, -2, 0, 1, 0, 0,     //
        -3, -3, -3, -1, 0, 1, 0,    //
        -3, -3, -3, -1, 0, 0, 1,    //
        // priority 2
        2, 1, 0, -2, -3, -3, -3,    //
        1, 2, 1, -1, -3, -3, -3,    //
        0, 1, 2, -1, -2, -3, -3,    //
        -3, -3, -2, 2, -2, -3, -3,  //
        -3, -3, -2, -1, 2, 1, 0,    //
        -3, -3, -3, -1, 1, 2, 1,    //
        -3, -3, -3, -2, 0, 1, 2,    //
        // priority 3
        3, 2, 1, -3, -3, -3, -3,    //
        2, 3, 1, -2, -3, -3, -3,    //
        1, 2, 3, -2, -3, -3, -3,    //
        -3, -3, -2, 3, -2, -3, -3,  //
        -3, -3, -3, -2, 3, 2, 1,    //
        -3, -3, -3, -2, 1, 3, 2,    //
        -3, -3, -3, -3, 1, 2, 3,    //
    }};
    return table;
}

const TUtilityVectors& TUtilityVectors::DefaultNegative() {
    static const TUtilityVectors table{{
        // priority 1, goal levels -3..+3
        -1, 0, 0, 0, 0, 0, 0,    //
        -2, -1, 0, 0, 0, 0, 0,   //
        -3, -2, -1, 0, 0, 0, 0,  //
        0, 0, 0, -1, 0, 0, 0,    //
        0, 0, 0, 0, -1, -2, -3,  //
        0, 0, 0, 0, 0, -1, -2,   //
        0, 0, 0, 0, 0, 0, -1,    //
        // priority 2
        -2, 0, 0, 0, 0, 0, 0,    //
        -3, -2, 0, 0, 0, 0, 0,   //
        -3, -3, -2, 0, 0, 0, 0,  //
        0, 0, 0, -2, 0, 0, 0,    //
        0, 0, 0, 0, -2, -3, -3,  //
        0, 0, 0, 0, 0, -2, -3,   //
        0, 0, 0, 0, 0, 0, -2,    //
        // priority 3
        -3, 0, 0, 0, 0, 0, 0,    //
        -3, -3, 0, 0, 0, 0, 0,   //
        -3, -3, -3, 0, 0, 0, 0,  //
        0, 0, 0, -3, 0, 0, 0,    //
        0, 0, 0, 0, -3, -3, -3,  //
        0, 0, 0, 0, 0, -3, -3,   //
        0, 0, 0, 0, 0, 0, -3,    //
    }};
    return table;
}

}  // namespace kavo
