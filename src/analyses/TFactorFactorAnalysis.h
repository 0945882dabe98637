#pragma once

#include "analyses/TAnalysis.h"

namespace kavo {

// An analysis with a row per pair of factor groups (cause, effect), every effect group under every
// cause group, and the columns of a factor analysis.
class TFactorFactorAnalysis : public TAnalysis {
  public:
    TFactorFactorAnalysis(std::string title, TAnalysisFamily family);

    // The factors of the effect group of the current row; not owned.
    std::vector<TFactor*> EffectFactors;

    void WriteTable(std::ostream& out) override;
};

}  // namespace kavo
