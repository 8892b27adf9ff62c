// The platform heap: a pass-through to the C library's allocator that counts every
// allocation and can fail exactly one of them on request. Executables that link the
// kernel are built with --wrap for malloc, calloc, realloc and free, so the linker
// sends the program's calls here and the C library's functions become __real_*. The
// global operator new and delete are replaced here as well, so the C++ allocations of
// the platform (new, containers, strings, in the C++ library too) are counted and fail
// the same way: where malloc returns null, new throws std::bad_alloc, which every public
// call of the platform turns into its failure result (kernel/out_of_memory.h).
//
// VINTREL_FAIL_ALLOCATION=N fails the N-th allocation of the process, counted from its
// start, and says so on stderr when it happens; a process that ends without reaching it
// says how many allocations it made instead, the range a sweep over N covers.
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>

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
// The trap was set from the environment (and its springing is reported).
std::atomic<bool> armedByEnvironment{false};
std::atomic<bool> environmentRead{false};

// Writes text, the number and more to stderr without allocating.
void WriteLine(const char* text, unsigned long number, const char* more) {
  char digits[24];
  char* p = digits + sizeof digits;
  do *--p = char('0' + number % 10);
  while ((number /= 10) != 0);
  ssize_t ignored = write(STDERR_FILENO, text, std::strlen(text));
  ignored = write(STDERR_FILENO, p, size_t(digits + sizeof digits - p));
  ignored = write(STDERR_FILENO, more, std::strlen(more));
  (void)ignored;
}

// "vintrel: allocation N failed (VINTREL_FAIL_ALLOCATION)"
void ReportFailure(unsigned long ordinal) {
  WriteLine("vintrel: allocation ", ordinal, " failed (VINTREL_FAIL_ALLOCATION)\n");
}

// At the end of a process whose trap from the environment never sprang, how many
// allocations it made: the range a sweep over N has to cover.
void ReportUnreached() {
  if (!armedByEnvironment.load()) return;
  WriteLine("vintrel: ", allocationCount.load(),
            " allocations, the one to fail not reached (VINTREL_FAIL_ALLOCATION)\n");
}

// Reads VINTREL_FAIL_ALLOCATION once, at the process's first allocation (getenv does
// not allocate).
void ArmFromEnvironment() {
  if (environmentRead.exchange(true)) return;
  const char* text = std::getenv("VINTREL_FAIL_ALLOCATION");
  if (text == nullptr || *text < '1' || *text > '9') return;
  char* end = nullptr;
  unsigned long n = std::strtoul(text, &end, 10);
  if (*end != 0) return;
  armedByEnvironment.store(true);
  failingAllocation.store(n);
  std::atexit(ReportUnreached);
}

// Counts one allocation; true when it is the one that must fail.
bool CountAllocation() {
  if (!environmentRead.load(std::memory_order_relaxed)) ArmFromEnvironment();
  unsigned long ordinal = allocationCount.fetch_add(1, std::memory_order_relaxed) + 1;
  unsigned long expected = ordinal;
  if (failingAllocation.load(std::memory_order_relaxed) != ordinal) return false;
  // Only one thread can disarm the trap, so exactly one allocation fails.
  if (!failingAllocation.compare_exchange_strong(expected, 0)) return false;
  if (armedByEnvironment.exchange(false)) ReportFailure(ordinal);
  errno = ENOMEM;
  return true;
}

// A block for operator new; null when the allocation is the one that fails.
void* NewBlock(size_t size) {
  if (CountAllocation()) return nullptr;
  return __real_malloc(size == 0 ? 1 : size);
}

void* NewBlockOrThrow(size_t size) {
  void* block = NewBlock(size);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

void* AlignedBlock(size_t size, std::align_val_t alignment) {
  if (CountAllocation()) return nullptr;
  size_t align = static_cast<size_t>(alignment);
  size_t rounded = (size + align - 1) / align * align;
  return std::aligned_alloc(align, rounded == 0 ? align : rounded);
}

void* AlignedBlockOrThrow(size_t size, std::align_val_t alignment) {
  void* block = AlignedBlock(size, alignment);
  if (block == nullptr) throw std::bad_alloc();
  return block;
}

}  // namespace

void HeapFailAllocation(unsigned n) {
  armedByEnvironment.store(false);
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

// ---- operator new and delete -------------------------------------------------------------

void* operator new(size_t size) { return NewBlockOrThrow(size); }
void* operator new[](size_t size) { return NewBlockOrThrow(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return NewBlock(size); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return NewBlock(size); }
void* operator new(size_t size, std::align_val_t alignment) {
  return AlignedBlockOrThrow(size, alignment);
}
void* operator new[](size_t size, std::align_val_t alignment) {
  return AlignedBlockOrThrow(size, alignment);
}
void* operator new(size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AlignedBlock(size, alignment);
}
void* operator new[](size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
  return AlignedBlock(size, alignment);
}

void operator delete(void* block) noexcept { __real_free(block); }
void operator delete[](void* block) noexcept { __real_free(block); }
void operator delete(void* block, size_t) noexcept { __real_free(block); }
void operator delete[](void* block, size_t) noexcept { __real_free(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { __real_free(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { __real_free(block); }
void operator delete(void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, std::align_val_t) noexcept { std::free(block); }
void operator delete(void* block, size_t, std::align_val_t) noexcept { std::free(block); }
void operator delete[](void* block, size_t, std::align_val_t) noexcept { std::free(block); }
