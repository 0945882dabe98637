#pragma once

#include <string_view>

namespace kavo {

class TProVal;

// Watches distribution operations while the program's MonitorChanges switch is on; it only reads.
class TProValMonitor {
  public:
    virtual ~TProValMonitor() = default;
    virtual void Observe(std::string_view operation, const TProVal& distribution) = 0;
};

}  // namespace kavo
