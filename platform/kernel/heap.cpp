// The platform heap: a pass-through to the C library's allocator that counts every
// allocation and can fail exactly one of them on request. Executables that link the
// kernel are built with --wrap for malloc, calloc, realloc and free, so the linker
// sends the program's calls here and the C library's functions become __real_*.
#include <cerrno>
#include <cstddef>

#include <atomic>

#include "platform/kernel.h"

extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* block, size_t size);
void __real_free(void* block);
void* __wrap_malloc(size_t size);
void* __wrap_calloc(size_t count, size_t size);
void* __wrap_realloc(void* block, size_t size);
void __wrap_free(void* block);
}

namespace {

std::atomic<unsigned long> allocationCount{0};
// The ordinal (in allocationCount terms) of the allocation to fail; 0 when disarmed.
std::atomic<unsigned long> failingAllocation{0};

// Counts one allocation; true when it is the one that must fail.
bool CountAllocation() {
  unsigned long ordinal = allocationCount.fetch_add(1, std::memory_order_relaxed) + 1;
  unsigned long expected = ordinal;
  if (failingAllocation.load(std::memory_order_relaxed) != ordinal) return false;
  // Only one thread can disarm the trap, so exactly one allocation fails.
  if (!failingAllocation.compare_exchange_strong(expected, 0)) return false;
  errno = ENOMEM;
  return true;
}

}  // namespace

void HeapFailAllocation(unsigned n) {
  if (n == 0) {
    failingAllocation.store(0);
    return;
  }
  failingAllocation.store(allocationCount.load() + n);
}

unsigned long HeapAllocationCount() { return allocationCount.load(); }

extern "C" void* __wrap_malloc(size_t size) {
  if (CountAllocation()) return nullptr;
  return __real_malloc(size);
}

extern "C" void* __wrap_calloc(size_t count, size_t size) {
  if (CountAllocation()) return nullptr;
  return __real_calloc(count, size);
}

// A failed reallocation leaves the block as it was, as realloc does.
extern "C" void* __wrap_realloc(void* block, size_t size) {
  if (CountAllocation()) return nullptr;
  return __real_realloc(block, size);
}

extern "C" void __wrap_free(void* block) { __real_free(block); }
