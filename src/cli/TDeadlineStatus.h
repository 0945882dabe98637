#pragma once

#include <chrono>
#include <optional>
#include <ostream>
#include <string>

#include "model/TStatus.h"

namespace kavo {

class TContext;

// The status of a command: texts are shown only when asked for; once a time limit has passed, the
// event pump cancels the computation that runs, as the desktop program's cancel button does.
class TDeadlineStatus : public TStatus {
  public:
    void SetStatusText(const std::string& text) override;
    void PumpEvents() override;

    // From now on each status text that is not empty goes as a line to the stream: the progress
    // of a long command.
    void ShowTexts(std::ostream& progress) { Progress = &progress; }

    // From now on, long computations of the context stop once the seconds have passed.
    void Limit(TContext& context, double seconds);

  private:
    using TClock = std::chrono::steady_clock;

    TContext* Context = nullptr;
    std::optional<TClock::time_point> Deadline;
    std::ostream* Progress = nullptr;
};

}  // namespace kavo
