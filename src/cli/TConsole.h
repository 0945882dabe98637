#pragma once

#include <ostream>
#include <string>

#include "model/TMessages.h"
#include "model/TStatus.h"

namespace kavo {

// The command-line program's messages and status: messages go to a stream as lines of their own,
// status texts are not shown.
class TConsole : public TMessages, public TStatus {
  public:
    explicit TConsole(std::ostream& out) : Out(out) {}

    void ShowError(const std::string& text) override;
    void ShowWarning(const std::string& text) override;
    void ShowInformation(const std::string& text) override;
    void SetStatusText(const std::string&) override {}
    void PumpEvents() override {}

    // Number of messages shown so far.
    int Count() const { return Shown; }

  private:
    void Show(const char* kind, const std::string& text);

    std::ostream& Out;
    int Shown = 0;
};

}  // namespace kavo
