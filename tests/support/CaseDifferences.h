#pragma once

#include <string>
#include <vector>

namespace kavo {
class TCase;
}

namespace kavo::test {

// What differs between two cases in everything the case document stores, one text per
// difference, empty when they are equal. Perception items are compared in name order; comments
// as their text trimmed as a whole.
std::vector<std::string> CaseDifferences(const TCase& expected, const TCase& actual);

}  // namespace kavo::test
