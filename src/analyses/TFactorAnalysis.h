#pragma once

#include "analyses/TAnalysis.h"

namespace kavo {

// An analysis with a row per factor group and a column per actor group (or perception, when actors
// are clustered) of every arena group.
class TFactorAnalysis : public TAnalysis {
  public:
    TFactorAnalysis(std::string title, TAnalysisFamily family);

    void WriteTable(std::ostream& out) override;
};

}  // namespace kavo
