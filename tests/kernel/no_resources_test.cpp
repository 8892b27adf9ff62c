// A program built without resources: the kernel finds none, and nothing breaks.
#include <gtest/gtest.h>

#include "kernel/resources.h"
#include "platform/kernel.h"

namespace {

TEST(NoResources, NothingIsFound) {
  EXPECT_EQ(FindResourceW(nullptr, MAKEINTRESOURCEW(1), RT_RCDATA), nullptr);
  EXPECT_EQ(kernel::FindResourceBytes(nullptr, RT_STRING, MAKEINTRESOURCEW(1)).data(), nullptr);
  WCHAR text[8] = u"x";
  EXPECT_EQ(LoadStringW(GetModuleHandleW(nullptr), 1, text, 8), 0);
  EXPECT_EQ(text[0], 0);
}

}  // namespace
