#include <cstdlib>
#include <cstring>

#include <atomic>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "platform/kernel.h"

namespace {

// Blocks escape here, so the compiler cannot drop an allocation it sees unused.
void* volatile escaped;

// A sequence of allocation calls of each kind; returns the 1-based index of the
// first one that returned null, or 0 when all succeeded. Frees what it got.
int FirstFailingCall(int calls) {
  int failed = 0;
  for (int i = 1; i <= calls; ++i) {
    void* block = nullptr;
    switch (i % 3) {
      case 0: block = std::malloc(16); break;
      case 1: block = std::calloc(4, 8); break;
      case 2: block = std::realloc(nullptr, 24); break;
    }
    escaped = block;
    if (block == nullptr && failed == 0) failed = i;
    std::free(block);
  }
  return failed;
}

TEST(Heap, FailsExactlyTheNthAllocation) {
  for (unsigned n : {1u, 2u, 3u, 7u}) {
    HeapFailAllocation(n);
    EXPECT_EQ(FirstFailingCall(10), static_cast<int>(n)) << "n = " << n;
    // Only that one: the trap is spent, the next allocations succeed.
    EXPECT_EQ(FirstFailingCall(10), 0) << "n = " << n;
  }
}

TEST(Heap, ThreadsAllocatingAtOnceSeeExactlyOneFailure) {
  constexpr int kThreads = 4;
  constexpr int kEach = 2000;
  std::atomic<int> failures{0};
  HeapFailAllocation(kThreads * kEach / 2);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&failures] {
      for (int i = 0; i < kEach; ++i) {
        void* block = std::malloc(32);
        escaped = block;
        if (block == nullptr) ++failures;
        std::free(block);
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(failures.load(), 1);
}

TEST(Heap, ZeroDisarms) {
  HeapFailAllocation(2);
  HeapFailAllocation(0);
  EXPECT_EQ(FirstFailingCall(5), 0);
}

TEST(Heap, CountsProgramAllocationsButNotOperatorNew) {
  unsigned long before = HeapAllocationCount();
  void* block = std::malloc(8);
  escaped = block;
  block = std::realloc(block, 64);
  escaped = block;
  std::free(block);
  escaped = std::calloc(2, 2);
  std::free(escaped);
  EXPECT_EQ(HeapAllocationCount() - before, 3u);

  // C++ allocations go to the C library directly and are never made to fail.
  HeapFailAllocation(1);
  unsigned long beforeNew = HeapAllocationCount();
  auto* numbers = new int[100];
  escaped = numbers;
  delete[] numbers;
  EXPECT_EQ(HeapAllocationCount(), beforeNew);
  HeapFailAllocation(0);
}

TEST(Heap, FailedReallocLeavesTheBlockIntact) {
  char* block = static_cast<char*>(std::malloc(4));
  ASSERT_NE(block, nullptr);
  std::memcpy(block, "abc", 4);
  // Called through a pointer the compiler cannot see through, so it does not take the
  // block for freed.
  void* (*volatile reallocate)(void*, size_t) = std::realloc;
  HeapFailAllocation(1);
  EXPECT_EQ(reallocate(block, 1 << 20), nullptr);
  EXPECT_STREQ(block, "abc");
  std::free(block);
}

}  // namespace
