#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "analyses/TFactorAnalysis.h"

namespace kavo {

class TStrategy;

// "Inferred Strategies": per action and column, the tactic of the base case, of the ideal and
// worst strategies and of the chosen strategy, with rows of their utility, satisfaction and
// frustration and, on request, their outcome per goal.
class TInferredStrategies : public TFactorAnalysis {
  public:
    // Positions of the fields.
    enum Field { fBase, fIdeal, fWorst, fChosen, fDetails, fFullSet };

    TInferredStrategies(std::string title, TAnalysisFamily family);
    ~TInferredStrategies() override;

    // The perceptions merged for each actor group of the last run when actors are not clustered,
    // in column order.
    std::vector<std::unique_ptr<TPerception>> Merged;
    // Strategy evaluations of the searches since the table was started.
    std::int64_t EvaluationsRun = 0;

    void Compute() override;
    std::string ValueCells() override;
    void WriteTable(std::ostream& out) override;

  private:
    // Finds the column perception's strategies unless they are still valid.
    void FindStrategiesOf(TPerception& perception);
    // The cells of the total rows for one column perception.
    void TotalCells(TPerception& perception, std::vector<std::string>& rows);
    std::string OutcomeTable(const TStrategy& strategy, bool& showGoals);
};

}  // namespace kavo
