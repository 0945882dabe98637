#pragma once

#include <cstdint>

namespace kavo::bench {

// Number of heap allocations made through operator new since the program started.
std::uint64_t AllocationCount();

}  // namespace kavo::bench
