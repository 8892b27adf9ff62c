// The .reg text: the encodings and line ends it is read in, what it keeps of lines it
// cannot read, and trees too deep or too wide for naive walks.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "kernel/registry_tree.h"
#include "kernel/utf.h"

namespace {

using kernel::registry::FindKey;
using kernel::registry::FormatRegText;
using kernel::registry::Key;
using kernel::registry::kMaxKeyDepth;
using kernel::registry::ParseRegText;
using kernel::registry::Value;

const kernel::registry::KeyPath kProduct{u"HKEY_CURRENT_USER", u"Software", u"Norvane",
                                         u"Vintrel - 5765 (heb)"};

std::string Utf16LittleEndian(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

DWORD NumberOf(const Value* value) {
  return value->data[0] | value->data[1] << 8 | value->data[2] << 16 |
         static_cast<DWORD>(value->data[3]) << 24;
}

TEST(RegistryText, ReadsEveryEncodingAndLineEnd) {
  const std::u16string lines[] = {u"Windows Registry Editor Version 5.00",
                                  u"",
                                  u"[HKEY_CURRENT_USER\\Software\\Norvane\\Vintrel - 5765 (heb)]",
                                  u"\"Lesson\"=dword:00000005",
                                  u"\"FontName\"=\"\u05D3\u05D5\u05D3\"",
                                  u"\"Bookmarks\"=hex:05,00,\\",
                                  u"  00,00"};
  const struct {
    const char* name;
    std::u16string lineEnd;
    bool utf16;
  } encodings[] = {
      {"UTF-8, LF", u"\n", false},       {"UTF-8, CR LF", u"\r\n", false},
      {"UTF-8, CR", u"\r", false},       {"UTF-16LE, CR LF", u"\r\n", true},
      {"UTF-16LE, CR", u"\r", true},
  };
  for (const auto& encoding : encodings) {
    std::u16string text;
    for (const std::u16string& line : lines) text += line + encoding.lineEnd;
    Key root;
    EXPECT_EQ(ParseRegText(encoding.utf16 ? Utf16LittleEndian(text) : kernel::Utf16ToUtf8(text),
                           root)
                  .badLines,
              0)
        << encoding.name;
    const Key* product = FindKey(root, kProduct);
    ASSERT_NE(product, nullptr) << encoding.name;
    EXPECT_EQ(NumberOf(product->FindValue(u"Lesson")), 5u) << encoding.name;
    EXPECT_EQ(product->FindValue(u"FontName")->data,
              (std::vector<uint8_t>{0xD3, 0x05, 0xD5, 0x05, 0xD3, 0x05, 0, 0}))
        << encoding.name;
    EXPECT_EQ(product->FindValue(u"Bookmarks")->data, (std::vector<uint8_t>{5, 0, 0, 0}))
        << encoding.name;
  }
}

// Lines that cannot be read and comments stay with the section they stand in, and the
// text they make is written back unchanged however often it is read and written.
TEST(RegistryText, KeepsWhatItCannotReadThroughEveryRewrite) {
  const char text[] =
      "REGEDIT4\r"
      "; before any key\r"
      "\"Orphan\"=dword:00000001\r"
      "[HKEY_CURRENT_USER\\A]\r"
      "\"Good\"=dword:00000002\r"
      "   garbage with blanks   \r"
      "unreadable, and continued by a blank line\\\r"
      "   \r"
      "\\\\\r"
      "\r"
      "\"Broken\"=hex:zz,\\\r"
      "  01\r"
      "[Not a hive]\r"
      "\"AfterTheBadKey\"=dword:00000003\r"
      "[HKEY_CURRENT_USER\\B]\r"
      "; a comment in B\r"
      "\"Open\"=hex:\\\r";
  Key root;
  EXPECT_EQ(ParseRegText(text, root).badLines, 8);
  EXPECT_EQ(root.keptLines, (std::vector<std::string>{"REGEDIT4", "; before any key",
                                                      "\"Orphan\"=dword:00000001"}));
  const Key* a = FindKey(root, {u"HKEY_CURRENT_USER", u"A"});
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->keptLines,
            (std::vector<std::string>{"   garbage with blanks",
                                      "unreadable, and continued by a blank line\\", "\\\\",
                                      "\"Broken\"=hex:zz,\\\n  01",
                                      "[Not a hive]", "\"AfterTheBadKey\"=dword:00000003"}));
  EXPECT_EQ(a->values.size(), 1u);
  const Key* b = FindKey(root, {u"HKEY_CURRENT_USER", u"B"});
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(b->keptLines, (std::vector<std::string>{"; a comment in B"}));
  EXPECT_EQ(b->FindValue(u"Open")->data, std::vector<uint8_t>{});

  std::string written = FormatRegText(root);
  for (int round = 0; round < 3; ++round) {
    Key again;
    EXPECT_EQ(ParseRegText(written, again).badLines, 8);
    EXPECT_EQ(FormatRegText(again), written) << "round " << round;
  }
}

TEST(RegistryText, AKeyDeeperThanTheLimitIsAKeptLine) {
  for (size_t depth : {kMaxKeyDepth, kMaxKeyDepth + 1, size_t{200000}}) {
    std::string line = "[HKEY_CURRENT_USER";
    for (size_t level = 1; level < depth; ++level) line += "\\k";
    line += "]";
    Key root;
    bool readable = depth <= kMaxKeyDepth;
    EXPECT_EQ(ParseRegText(line + "\n\"v\"=dword:00000001\n", root).badLines, readable ? 0 : 2)
        << depth;
    std::string written = FormatRegText(root);
    EXPECT_NE(written.find(line + "\n"), std::string::npos) << depth;
    Key again;
    ParseRegText(written, again);
    EXPECT_EQ(FormatRegText(again), written) << depth;
  }
}

TEST(RegistryText, ManyValuesAndKeysKeepTheirOrderAndFindEachOther) {
  constexpr int kCount = 40000;
  std::string text = "[HKEY_CURRENT_USER\\Wide]\n";
  for (int i = 0; i < kCount; ++i) text += "\"V" + std::to_string(i) + "\"=dword:00000001\n";
  for (int i = 0; i < kCount; ++i) text += "[HKEY_CURRENT_USER\\Wide\\K" + std::to_string(i) + "]\n";
  text += "\"v39999\"=dword:00000002\n";  // the same name in another letter case
  Key root;
  ASSERT_EQ(ParseRegText(text, root).badLines, 0);
  const Key* wide = FindKey(root, {u"HKEY_CURRENT_USER", u"wide"});
  ASSERT_NE(wide, nullptr);
  ASSERT_EQ(wide->values.size(), static_cast<size_t>(kCount));
  ASSERT_EQ(wide->children.size(), static_cast<size_t>(kCount));
  EXPECT_EQ(wide->values[123].name, u"V123");
  EXPECT_EQ(wide->children[123]->name, u"K123");
  EXPECT_NE(FindKey(root, {u"HKEY_CURRENT_USER", u"WIDE", u"k39999"}), nullptr);
  const Key* last = FindKey(root, {u"HKEY_CURRENT_USER", u"Wide", u"K39999"});
  EXPECT_EQ(NumberOf(last->FindValue(u"V39999")), 2u);
  EXPECT_EQ(last->values[0].name, u"v39999");
  Key again;
  ParseRegText(FormatRegText(root), again);
  EXPECT_EQ(FormatRegText(again), FormatRegText(root));
}

// An allocation that fails at any point of adding a value or a key leaves the key as it
// was: what it held is found as before, and the name being added is absent, not found at
// a position that holds nothing.
TEST(RegistryText, AnAdditionThatRunsOutOfMemoryLeavesTheKeyAsItWas) {
  const std::vector<uint8_t> data = {2, 0, 0, 0};
  for (bool addsValue : {true, false}) {
    bool added = false;
    for (unsigned n = 1; !added; ++n) {
      SCOPED_TRACE(n);
      Key copy;
      copy.SetValue(u"Kept", REG_DWORD, {1, 0, 0, 0});
      copy.Child(u"Below");
      HeapFailAllocation(n);
      try {
        if (addsValue) copy.SetValue(u"New", REG_DWORD, data);
        else copy.Child(u"New");
        added = true;
      } catch (const std::bad_alloc&) {
      }
      HeapFailAllocation(0);
      ASSERT_NE(copy.FindValue(u"kept"), nullptr);
      EXPECT_EQ(NumberOf(copy.FindValue(u"kept")), 1u);
      ASSERT_NE(copy.FindChild(u"below"), nullptr);
      EXPECT_EQ(copy.FindChild(u"below")->name, u"Below");
      EXPECT_EQ(copy.values.size(), addsValue && added ? 2u : 1u);
      EXPECT_EQ(copy.children.size(), !addsValue && added ? 2u : 1u);
      if (addsValue) {
        EXPECT_EQ(copy.FindValue(u"new") != nullptr, added);
        if (added) {
          EXPECT_EQ(copy.FindValue(u"new")->data, data);
        }
      } else {
        EXPECT_EQ(copy.FindChild(u"new") != nullptr, added);
        if (added) {
          EXPECT_EQ(copy.FindChild(u"new")->name, u"New");
        }
      }
    }
  }
}

}  // namespace
