#pragma once

#include <string>

namespace kavo {

// Where the core reports to the user: errors, warnings and information. The desktop program shows
// a modal message dialog; the command-line program and the tests record or print the texts.
class TMessages {
  public:
    virtual ~TMessages() = default;
    virtual void ShowError(const std::string& text) = 0;
    virtual void ShowWarning(const std::string& text) = 0;
    virtual void ShowInformation(const std::string& text) = 0;
};

}  // namespace kavo
