#pragma once

#include <string>

namespace kavo {

// The status line and the event pump of a long computation. A computation calls PumpEvents in its
// loops so that a window stays responsive and the user can set the cancel flag of the context.
class TStatus {
  public:
    virtual ~TStatus() = default;
    // Shows the text at once; an empty text clears the status line.
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void PumpEvents() = 0;
};

}  // namespace kavo
