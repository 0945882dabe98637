#pragma once

#include <memory>

#include "analyses/TAnalysis.h"

namespace kavo {

// An analysis of pairs of actors: a row per actor group B (or perception, when actors are
// clustered) and a column per actor group A. When arenas or actors are aggregated, each actor
// group's perceptions are merged into one for the run.
class TActorActorAnalysis : public TAnalysis {
  public:
    TActorActorAnalysis(std::string title, TAnalysisFamily family);
    ~TActorActorAnalysis() override;

    // The perceptions of the current row; not owned.
    std::vector<TPerception*> RowPerceptions;
    // The merged perception of every actor group, in table order, while a table is written.
    std::vector<std::unique_ptr<TPerception>> Aggregated;

    void WriteTable(std::ostream& out) override;

  protected:
    // Around the cells of one table: what an analysis learns of the perceptions while it writes a
    // table may serve the table's other cells, and must not outlive it.
    virtual void TableStarted() {}
    virtual void TableFinished() {}

  private:
    void Aggregate();
    // Appends the row header and the cells of one row to the row's text.
    void WriteRow(std::string& row, const TPseudoGroup& rowGroup, const std::string& name,
                  std::vector<TPerception*> perceptions);
};

}  // namespace kavo
