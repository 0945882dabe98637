#pragma once

#include <functional>
#include <ostream>
#include <string>

namespace kavo {

class TAnalysis;
class TAnalysisCatalog;
class TAnalysisRun;

// The analysis report of a case: a head, the grouping section and the table (or tables) of every
// analysis the catalog runs, in family order and within a family in catalog order.
class TAnalysisReport {
  public:
    using TClock = std::function<std::string()>;

    // The date and time of writing come from the clock.
    TAnalysisReport(TAnalysisCatalog& catalog, TAnalysisRun& run, TClock clock);

    // Writes the report into the file: first beside it, then in its place once complete, so that
    // a failure leaves an earlier report as it was. False after the error "Could not create report
    // file". The analyses' icons go into the run's image folder.
    bool Write(const std::string& path);
    // The whole report.
    void WriteTo(std::ostream& out);
    // The output of one analysis for the run's groups: one table, or one per arena group or per
    // factor group when those are clustered, each under its heading.
    void RunAnalysis(TAnalysis& analysis, std::ostream& out);

    // The report was cut short by the user or a time limit.
    bool Cancelled() const { return WasCancelled; }

  private:
    void WriteHead(std::ostream& out);

    TAnalysisCatalog& Catalog;
    TAnalysisRun& Run;
    TClock Clock;
    bool WasCancelled = false;
};

}  // namespace kavo
