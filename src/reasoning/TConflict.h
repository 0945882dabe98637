#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kavo {

class TPerception;

enum class TConflictKind : std::uint8_t {
    ckGoals = 0,
    ckInfluences = 1,
    ckProspects = 2,
    ckTactics = 3,
};

// How far two perceptions differ on one aspect: the total of the item measures, the number of
// items compared and a line "name=value" per item that differs.
class TConflict {
  public:
    explicit TConflict(TConflictKind kind) : Kind(kind) {}

    TConflictKind Kind;
    // Not owned.
    TPerception* Perception1 = nullptr;
    TPerception* Perception2 = nullptr;
    double Total = 0;
    std::int32_t Count = 0;
    std::vector<std::string> Details;

    void Clear();
    // Total per item compared, 0 when nothing was.
    double Mean() const;
    // Adds the other's counts and details; a detail of a name already listed adds its value to
    // that line. Values are read with "." or "," as decimal separator.
    void AddConflict(const TConflict& other);
};

}  // namespace kavo
