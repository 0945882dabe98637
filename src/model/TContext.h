#pragma once

#include <set>
#include <string>
#include <vector>

#include "model/TFont.h"
#include "model/TMessages.h"
#include "model/TRandom.h"
#include "model/TStatus.h"
#include "model/TTextMeasure.h"

namespace kavo {

class TProValMonitor;

// The state that the whole program shares across its cases, and its links to the outside. The
// desktop program keeps one for its run; tests and the command-line program make their own, so
// several can live side by side. The interfaces are references: the context owns none of them.
class TContext {
  public:
    TContext(TMessages& messages, TStatus& status, const TTextMeasure& measure)
        : Messages(messages), Status(status), Measure(measure) {}
    TContext(const TContext&) = delete;
    TContext& operator=(const TContext&) = delete;

    TMessages& Messages;
    TStatus& Status;
    const TTextMeasure& Measure;

    TRandom Random;
    // Generated icons already written in this run, as folder + "gif/" + name.
    std::set<std::string> WrittenImages;
    // Case-file rows of the perception items last copied.
    std::vector<std::string> CopyBuffer;
    // Set by the user to stop a long computation; the computation's loops test it.
    bool AnalysisCancelled = false;
    bool ShowColorCodes = false;
    bool MonitorChanges = false;
    bool SystemDiagramStyle = false;
    // Observer of distribution operations while MonitorChanges is set; not owned.
    TProValMonitor* Monitor = nullptr;

    // The font of a new case and the size of a new case's drawing area.
    TFont DefaultFont;
    int ScreenWidth = 1920;
    int ScreenHeight = 1080;
    // Decimal separator of distribution texts, as the user's locale has it.
    char DecimalSeparator = '.';
};

}  // namespace kavo
