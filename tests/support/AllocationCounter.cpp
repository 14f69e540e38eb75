#include "support/AllocationCounter.h"

#include <cstdlib>
#include <new>

// These replacements pair malloc with free, which the compiler cannot see through inlining.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {
thread_local bool counting = false;
thread_local size_t allocations = 0;
}  // namespace

// The standard library's array forms forward to these.
void* operator new(std::size_t size) {
    if (counting) ++allocations;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace allocationCounter {

void start() {
    allocations = 0;
    counting = true;
}

size_t stop() {
    counting = false;
    return allocations;
}

}  // namespace allocationCounter
