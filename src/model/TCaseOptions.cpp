#include "model/TCaseOptions.h"

#include <algorithm>

#include "model/TCase.h"
#include "model/TContext.h"
#include "model/TFiP.h"
#include "model/TPerception.h"

namespace kavo {

TCaseOptions OptionsOf(const TCase& c) {
    TCaseOptions options;
    options.ChangeLevel1 = c.ChangeLevels[1];
    options.ChangeLevel2 = c.ChangeLevels[2];
    options.ChangeLevel3 = c.ChangeLevels[3];
    options.LinkMultiplier = c.LinkMultipliers[3];
    options.UtilityLevel1 = c.UtilityLevels[1];
    options.UtilityLevel2 = c.UtilityLevels[2];
    options.UtilityLevel3 = c.UtilityLevels[3];
    options.AutofocusThreshold = c.AutofocusThreshold;
    options.AutofocusResolution = c.AutofocusResolution;
    options.Evaluations = c.Evaluations;
    options.MaxWidth = c.MaxWidth;
    options.MaxHeight = c.MaxHeight;
    options.DefaultActionRange = c.DefaultActionRange;
    options.RangeBarShown = c.RangeBarShown;
    options.DefaultRationality = c.DefaultRationality;
    options.Font = c.Font;
    options.SampleFromDistributions = c.SampleFromDistributions;
    options.AdaptGoals = c.AdaptGoals;
    options.MaintainActionRange = c.MaintainActionRange;
    options.RandomSeed = c.RandomSeed;
    options.BaseLevel = c.BaseLevel;
    return options;
}

void WriteOptions(TCase& c, const TCaseOptions& options) {
    c.SetChangeLevels(options.ChangeLevel1, options.ChangeLevel2, options.ChangeLevel3);
    // Level +2 of the multipliers stays as it is.
    c.SetLinkMultiplier(options.LinkMultiplier);
    c.SetUtilityLevels(options.UtilityLevel1, options.UtilityLevel2, options.UtilityLevel3);
    c.AutofocusThreshold = options.AutofocusThreshold;
    c.AutofocusResolution = options.AutofocusResolution;
    c.Evaluations = options.Evaluations;
    c.MaxWidth = std::min(options.MaxWidth, kMaxDiagramWidth);
    c.MaxHeight = std::min(options.MaxHeight, kMaxDiagramHeight);
    c.DefaultActionRange = options.DefaultActionRange;
    if (options.ApplyActionRange) {
        c.ApplyDefaultActionRange();
        // A level chosen for a round cannot lie outside the action's new range.
        c.ForEachPerception([](TPerception& perception) {
            for (const auto& fip : perception.FiPs) {
                if (IsLevel(fip->ChosenLevel) && !fip->ActionRange[fip->ChosenLevel]) {
                    fip->ChosenLevel = kNoLevel;
                }
            }
        });
    }
    c.RangeBarShown = options.RangeBarShown;
    c.DefaultRationality = options.DefaultRationality;
    c.Font = options.Font;
    c.SampleFromDistributions = options.SampleFromDistributions;
    c.AdaptGoals = options.AdaptGoals;
    c.MaintainActionRange = options.MaintainActionRange;
    c.RandomSeed = options.RandomSeed;
    c.Context().Random.Seed(static_cast<std::uint32_t>(options.RandomSeed));
    c.BaseLevel = options.BaseLevel;
    if (options.StdUtilityVectors) {
        c.StdUtilityVectors = *options.StdUtilityVectors;
    }
    if (options.NegUtilityVectors) {
        c.NegUtilityVectors = *options.NegUtilityVectors;
    }
    c.Modified = true;
    c.ApplyCaseFont();
}

}  // namespace kavo
