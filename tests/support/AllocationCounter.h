#pragma once

#include <cstddef>

// Counts the allocations that the calling thread makes while counting, through a
// replacement of the global operator new for the whole test binary.
namespace allocationCounter {

void start();
// The allocations since start(); counting stops.
size_t stop();

}  // namespace allocationCounter
