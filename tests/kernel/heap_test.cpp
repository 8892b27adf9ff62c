#include <cstdlib>
#include <cstring>

#include <atomic>
#include <new>
#include <string>
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

TEST(Heap, CountsEveryKindOfAllocation) {
  unsigned long before = HeapAllocationCount();
  void* block = std::malloc(8);
  escaped = block;
  block = std::realloc(block, 64);
  escaped = block;
  std::free(block);
  escaped = std::calloc(2, 2);
  std::free(escaped);
  auto* numbers = new int[100];
  escaped = numbers;
  delete[] numbers;
  auto* number = new (std::nothrow) long(1);
  escaped = number;
  delete number;
  EXPECT_EQ(HeapAllocationCount() - before, 5u);
}

// C++ allocations fail where malloc does: new throws, the nothrow form gives null, a
// container that cannot grow throws and keeps what it held.
TEST(Heap, OperatorNewFailsAsTheHeapDoes) {
  HeapFailAllocation(1);
  EXPECT_THROW(escaped = new int[4], std::bad_alloc);
  HeapFailAllocation(1);
  int* none = new (std::nothrow) int[4];
  EXPECT_EQ(none, nullptr);
  HeapFailAllocation(1);
  EXPECT_THROW(escaped = new (std::align_val_t(64)) char[10], std::bad_alloc);

  std::vector<int> values(4, 7);
  HeapFailAllocation(1);
  EXPECT_THROW(values.resize(1000), std::bad_alloc);
  EXPECT_EQ(values, std::vector<int>(4, 7));
  std::u16string text(100, u'x');
  HeapFailAllocation(1);
  EXPECT_THROW(text += text, std::bad_alloc);
  EXPECT_EQ(text.size(), 100u);
  // Spent: the next ones succeed.
  values.resize(1000);
  EXPECT_EQ(values.size(), 1000u);
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
