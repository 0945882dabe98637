#pragma once

#include <ostream>

#include "model/TMessages.h"
#include "model/TStatus.h"

namespace kavo {

// Messages of the core for a command-line program: each is one line on the stream, after its
// kind. A console has no status line and no events to pump.
class TConsoleMessages : public TMessages, public TStatus {
  public:
    explicit TConsoleMessages(std::ostream& stream) : Stream(stream) {}

    void ShowError(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    void SetStatusText(const std::string&) override {}
    void PumpEvents() override {}

  private:
    std::ostream& Stream;
};

}  // namespace kavo
