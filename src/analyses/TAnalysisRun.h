#pragma once

#include <string>

#include "analyses/TGroupingSettings.h"

namespace kavo {

class TCase;
class TDependencyGraph;
class TGoal;
class TImageWriter;
class TPerception;
class TProVal;

// What one report gives the analyses it runs: the case, its grouping, where the report's images go
// and the dependency graph, if there is one to fill.
class TAnalysisRun {
  public:
    // imageFolder is the report's "gif/" folder, ending in "/"; empty writes no icons. The graph
    // may be null.
    TAnalysisRun(TCase& owningCase, const TGroupingSettings& grouping, TImageWriter& images,
                 std::string imageFolder, TDependencyGraph* graph = nullptr);

    TCase& Case;
    TGroupingSettings Grouping;
    TImageWriter& Images;
    std::string ImageFolder;
    TDependencyGraph* Graph;

    // Set when a table used results that were evaluated on a sample of the combinations of
    // uncertain values rather than on every combination; the report notes it under the table.
    bool Estimated = false;

    // Notes whether the evaluations of the perception, whose results a cell just used, are
    // estimated on a sample.
    void NoteSampling(const TPerception& perception);
    // Whether the user has cancelled the analysis.
    bool Cancelled() const;
    // Lets the user's events run; true while the analysis is not cancelled.
    bool KeepGoing();
    // The name of the histogram icon of the normalised distribution, written once into the image
    // folder.
    std::string HistogramImage(const TProVal& distribution);
    // The name of the goal's utility icon, written once into the image folder.
    std::string UtilityImage(const TGoal& goal);
};

}  // namespace kavo
