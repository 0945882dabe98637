#pragma once

#include <ostream>
#include <string>
#include <utility>
#include <vector>

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
    int Count() const { return static_cast<int>(Shown.size()); }
    // The messages shown so far, each as its kind ("error", "warning", "information") and text.
    const std::vector<std::pair<std::string, std::string>>& Log() const { return Shown; }

  private:
    void Show(const char* kind, const std::string& text);

    std::ostream& Out;
    std::vector<std::pair<std::string, std::string>> Shown;
};

}  // namespace kavo
