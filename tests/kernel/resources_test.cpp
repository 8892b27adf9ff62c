// Resources: the test program's own (kernel_test.rc, embedded by the build), string
// tables, and .res bytes that are cut off or lie about their sizes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "kernel/resources.h"
#include "platform/kernel.h"

extern "C" {
extern const unsigned char vintrel_module_resources[];
extern const unsigned char vintrel_module_resources_end[];
}

namespace {

std::vector<uint8_t> Bytes(std::span<const uint8_t> span) { return {span.begin(), span.end()}; }

std::vector<uint8_t> ProgramResFile() {
  return {vintrel_module_resources, vintrel_module_resources_end};
}

TEST(Resources, FoundByTypeAndNumberInPlace) {
  HMODULE self = GetModuleHandleW(nullptr);
  HRSRC found = FindResourceW(self, MAKEINTRESOURCEW(201), RT_RCDATA);
  ASSERT_NE(found, nullptr);
  EXPECT_EQ(SizeofResource(self, found), 9u);
  HGLOBAL loaded = LoadResource(self, found);
  ASSERT_NE(loaded, nullptr);
  const void* data = LockResource(loaded);
  EXPECT_EQ(std::memcmp(data, "raw\0data\xFF", 9), 0);
  // In place: the bytes are those embedded in the program.
  EXPECT_GE(static_cast<const unsigned char*>(data), vintrel_module_resources);
  EXPECT_LT(static_cast<const unsigned char*>(data), vintrel_module_resources_end);

  // A null module is the program's.
  HRSRC numbers = FindResourceW(nullptr, MAKEINTRESOURCEW(200), RT_RCDATA);
  ASSERT_NE(numbers, nullptr);
  const uint8_t expected[] = {1, 0, 2, 0, 3, 0, 0, 0};
  ASSERT_EQ(SizeofResource(nullptr, numbers), sizeof expected);
  EXPECT_EQ(std::memcmp(LockResource(LoadResource(nullptr, numbers)), expected, sizeof expected), 0);
}

TEST(Resources, NamesByTextNumberTextAndMissingOnes) {
  const struct {
    LPCWSTR type;
    LPCWSTR name;
    std::vector<uint8_t> expected;  // empty with found false: missing
    bool found;
  } cases[] = {
      {RT_RCDATA, u"Toolbar", {'n', 'a', 'm', 'e', 'd'}, true},
      {RT_RCDATA, u"TOOLBAR", {'n', 'a', 'm', 'e', 'd'}, true},
      {RT_RCDATA, u"#200", {1, 0, 2, 0, 3, 0, 0, 0}, true},
      {u"#10", MAKEINTRESOURCEW(200), {1, 0, 2, 0, 3, 0, 0, 0}, true},
      {RT_RCDATA, MAKEINTRESOURCEW(202), {}, true},  // present, with no bytes
      {RT_RCDATA, MAKEINTRESOURCEW(203), {}, false},
      {RT_BITMAP, MAKEINTRESOURCEW(200), {}, false},
      {RT_RCDATA, u"Toolbars", {}, false},
      {RT_RCDATA, u"#", {}, false},
      {RT_RCDATA, u"#99999", {}, false},
      {u"RCDATA", MAKEINTRESOURCEW(200), {}, false},  // a text type is not the number
  };
  for (const auto& c : cases) {
    std::span<const uint8_t> bytes = kernel::FindResourceBytes(nullptr, c.type, c.name);
    EXPECT_EQ(bytes.data() != nullptr, c.found);
    EXPECT_EQ(Bytes(bytes), c.expected);
    EXPECT_EQ(FindResourceW(nullptr, c.name, c.type) != nullptr, c.found);
  }
  EXPECT_EQ(kernel::FindResourceBytes(nullptr, 10, 201).size(), 9u);
}

TEST(Resources, HandlesFromElsewhereAreRefused) {
  HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(201), RT_RCDATA);
  HMODULE other = kernel::LoadModuleFromBytes(ProgramResFile());
  ASSERT_NE(other, nullptr);
  EXPECT_EQ(LoadResource(other, found), nullptr);
  EXPECT_EQ(SizeofResource(other, found), 0u);
  EXPECT_EQ(LoadResource(nullptr, nullptr), nullptr);
  EXPECT_EQ(FindResourceW(reinterpret_cast<HMODULE>(0x1000), MAKEINTRESOURCEW(201), RT_RCDATA),
            nullptr);
}

std::u16string Load(HMODULE module, UINT id, int size) {
  std::vector<WCHAR> buffer(size > 0 ? size : 1, u'#');
  int length = LoadStringW(module, id, buffer.data(), size);
  EXPECT_EQ(static_cast<size_t>(length), std::u16string(buffer.data()).size());
  return buffer.data();
}

TEST(Resources, StringTables) {
  const struct {
    UINT id;
    int size;
    std::u16string expected;
  } cases[] = {
      {1, 64, u"One"},
      {15, 64, u"Fifteen"},
      {16, 64, u"Sixteen"},  // the first of the second block
      {302, 64, u"Go"},
      {303, 64, u"\u05E9\u05DC\u05D5\u05DD"},
      {4000, 64, u"Quote \"q\" and tab\tend"},
      {302, 3, u"Go"},
      {302, 2, u"G"},  // cut to fit with its terminator
      {302, 1, u""},
      {0, 64, u""},    // missing in a block that exists
      {2, 64, u""},
      {304, 64, u""},  // missing block
      {65535, 64, u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Load(nullptr, c.id, c.size), c.expected) << c.id << " in " << c.size;
  }
}

TEST(Resources, StringWithSizeZeroGivesTheTextInPlace) {
  const WCHAR* text = nullptr;
  int length = LoadStringW(nullptr, 302, reinterpret_cast<LPWSTR>(&text), 0);
  ASSERT_EQ(length, 2);
  EXPECT_EQ(std::u16string(text, length), u"Go");
  EXPECT_GE(reinterpret_cast<const unsigned char*>(text), vintrel_module_resources);
  EXPECT_LT(reinterpret_cast<const unsigned char*>(text), vintrel_module_resources_end);
  EXPECT_EQ(LoadStringW(nullptr, 302, nullptr, 10), 0);
}

// The ranges of lengths at which a .res file holds whole entries: from where an
// entry's data ends to the end of the padding after it.
std::vector<std::pair<size_t, size_t>> WholeEntryLengths(const std::vector<uint8_t>& res) {
  std::vector<std::pair<size_t, size_t>> ranges;
  size_t offset = 0;
  while (offset < res.size()) {
    uint32_t dataSize, headerSize;
    std::memcpy(&dataSize, &res[offset], 4);
    std::memcpy(&headerSize, &res[offset + 4], 4);
    size_t dataEnd = offset + headerSize + dataSize;
    offset = (dataEnd + 3) & ~size_t{3};
    ranges.emplace_back(dataEnd, offset);
  }
  return ranges;
}

TEST(Resources, AFileCutAnywhereButBetweenEntriesIsRefused) {
  std::vector<uint8_t> res = ProgramResFile();
  std::vector<std::pair<size_t, size_t>> wholeLengths = WholeEntryLengths(res);
  ASSERT_GT(wholeLengths.size(), 5u);
  for (size_t length = 0; length <= res.size(); ++length) {
    std::vector<uint8_t> cut(res.begin(), res.begin() + length);
    bool atBoundary = std::any_of(wholeLengths.begin(), wholeLengths.end(), [length](const auto& range) {
      return length >= range.first && length <= range.second;
    });
    HMODULE module = kernel::LoadModuleFromBytes(cut);
    ASSERT_EQ(module != nullptr, atBoundary) << "cut at " << length;
  }
  HMODULE whole = kernel::LoadModuleFromBytes(res);
  ASSERT_NE(whole, nullptr);
  WCHAR go[8];
  EXPECT_EQ(LoadStringW(whole, 302, go, 8), 2);
}

void PutDword(std::vector<uint8_t>& bytes, size_t offset, uint32_t value) {
  std::memcpy(&bytes[offset], &value, 4);
}

// A .res file of the marker and one RCDATA entry 7 with four data bytes.
std::vector<uint8_t> SmallRes() {
  std::vector<uint8_t> res(32 + 32 + 4, 0);
  PutDword(res, 4, 32);
  PutDword(res, 8, 0x0000FFFF);
  PutDword(res, 12, 0x0000FFFF);
  PutDword(res, 32, 4);           // DataSize
  PutDword(res, 36, 32);          // HeaderSize
  PutDword(res, 40, 0x000AFFFF);  // type RCDATA
  PutDword(res, 44, 0x0007FFFF);  // name 7
  PutDword(res, 64, 0x04030201);
  return res;
}

TEST(Resources, HeadersThatLieAboutSizesAreRefused) {
  ASSERT_NE(kernel::LoadModuleFromBytes(SmallRes()), nullptr);
  const struct {
    const char* what;
    size_t offset;
    uint32_t value;
  } lies[] = {
      {"data past the end", 32, 5},
      {"huge data size", 32, 0xFFFFFFFF},
      {"header past the end", 36, 40},
      {"huge header size", 36, 0xFFFFFFF0},
      {"header too short for its fields", 36, 28},
      {"header too short for its size fields", 36, 4},
      {"name text without an end", 44, 0x00410041},
      {"marker with data", 0, 4},
      {"marker with a type", 8, 0x0005FFFF},
  };
  for (const auto& lie : lies) {
    std::vector<uint8_t> res = SmallRes();
    PutDword(res, lie.offset, lie.value);
    EXPECT_EQ(kernel::LoadModuleFromBytes(res), nullptr) << lie.what;
  }
  // Texts for type and name, with the header grown to hold them.
  std::vector<uint8_t> named = SmallRes();
  const uint8_t texts[] = {'A', 0, 'b', 0, 0, 0, 'X', 0, 0, 0, 0, 0};  // "Ab", "X", padding
  named.insert(named.begin() + 40, texts, texts + sizeof texts);
  named.erase(named.begin() + 40 + sizeof texts, named.begin() + 40 + sizeof texts + 8);
  PutDword(named, 36, 32 + sizeof texts - 8);
  HMODULE module = kernel::LoadModuleFromBytes(named);
  ASSERT_NE(module, nullptr);
  EXPECT_EQ(Bytes(kernel::FindResourceBytes(module, u"ab", u"x")), (std::vector<uint8_t>{1, 2, 3, 4}));
}

}  // namespace
