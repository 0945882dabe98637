#pragma once

#include <cstdint>
#include <optional>

#include "model/TFont.h"
#include "model/TLevels.h"
#include "model/TUtilityVectors.h"

namespace kavo {

class TCase;

// The options of a case that the options dialog edits, as one value: what the dialog loads, and
// what its OK writes into the case in one step.
struct TCaseOptions {
    // Levels +1..+3; the negative levels mirror them and level 0 is 0.
    double ChangeLevel1 = 1;
    double ChangeLevel2 = 2;
    double ChangeLevel3 = 4;
    // The link multiplier m: LinkMultipliers[+3] = m and LinkMultipliers[+1] = 1 / m.
    double LinkMultiplier = 2;
    double UtilityLevel1 = 1;
    double UtilityLevel2 = 2;
    double UtilityLevel3 = 4;
    int AutofocusThreshold = 30;
    int AutofocusResolution = 5;
    std::int64_t Evaluations = 100;
    // Cut to kMaxDiagramWidth and kMaxDiagramHeight when written.
    int MaxWidth = 0;
    int MaxHeight = 0;
    TActionRange DefaultActionRange = kFullActionRange;
    // Whether writing the options also gives every action of every perception the default range
    // (free actions) or the full range (the others); a chosen level outside the new range is no
    // longer chosen.
    bool ApplyActionRange = false;
    bool RangeBarShown = true;
    // 0..8; the "least regret" entries 2, 5 and 8 are not available.
    std::uint8_t DefaultRationality = 0;
    TFont Font;
    bool SampleFromDistributions = true;
    bool AdaptGoals = true;
    bool MaintainActionRange = false;
    std::int32_t RandomSeed = 123456789;
    double BaseLevel = 10;
    // The two utility tables, when they are to replace the case's.
    std::optional<TUtilityVectors> StdUtilityVectors;
    std::optional<TUtilityVectors> NegUtilityVectors;

    friend bool operator==(const TCaseOptions&, const TCaseOptions&) = default;
};

inline constexpr int kMaxDiagramWidth = 4000;
inline constexpr int kMaxDiagramHeight = 2000;

// The case's options as the dialog loads them (without utility tables).
TCaseOptions OptionsOf(const TCase& owningCase);

// Writes the options into the case, reseeds the random generator with the seed, and applies the
// font and the settings to every perception (boxes laid out again, positions rescaled when the
// font's size changed, goal utilities, prospect and link distributions and rationalities taken
// from the new options, results invalidated). Marks the case modified.
void WriteOptions(TCase& owningCase, const TCaseOptions& options);

}  // namespace kavo
