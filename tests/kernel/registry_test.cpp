// The registry calls: values of each type, the query protocol, names without case,
// handles and access.
#include <gtest/gtest.h>

#include <filesystem>

#include "kernel/registry.h"
#include "registry_fixture.h"

namespace {

using namespace test_support;

constexpr const WCHAR* kProduct = u"Software\\Norvane\\Vintrel - 5765 (heb)";

std::vector<uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<uint8_t> bytes;
  for (int v : values) bytes.push_back(static_cast<uint8_t>(v));
  return bytes;
}

std::vector<uint8_t> Counting(size_t count) {
  std::vector<uint8_t> bytes(count);
  for (size_t i = 0; i < count; ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  return bytes;
}

struct TypedCase {
  const WCHAR* name;
  DWORD type;
  std::vector<uint8_t> data;
};

TEST_F(RegistryTest, EveryTypeComesBackExactlyFromTheFile) {
  const TypedCase cases[] = {
      {u"FontName", REG_SZ, TextBytes(u"Frank Ruehl")},
      {u"Hebrew", REG_SZ, TextBytes(u"\u05E9\u05DC\u05D5\u05DD")},
      {u"Quoted", REG_SZ, TextBytes(u"C:\\Program Files\\\"x\"\\")},
      {u"Empty", REG_SZ, TextBytes(u"")},
      {u"Astral", REG_SZ, TextBytes(u"\U0001F4D6")},
      {u"NoTerminator", REG_SZ, Bytes({'a', 0, 'b', 0})},
      {u"TwoLines", REG_SZ, TextBytes(u"one\r\ntwo")},
      {u"OddSize", REG_SZ, Bytes({'a', 0, 0})},
      {u"LoneSurrogate", REG_SZ, TextBytes(u"\xD800")},
      {u"NoBytes", REG_SZ, {}},
      {u"Flags", REG_DWORD, NumberBytes(0xD1140040)},
      {u"Zero", REG_DWORD, NumberBytes(0)},
      {u"ShortNumber", REG_DWORD, Bytes({1, 2})},
      {u"SearchString", REG_BINARY, Bytes({0x0c, 0x00, 0x03, 0x00})},
      {u"NoData", REG_BINARY, {}},
      {u"Bookmarks", REG_BINARY, Counting(300)},
      {u"Expandable", REG_EXPAND_SZ, TextBytes(u"%HOME%\\x")},
      {u"Several", REG_MULTI_SZ, Bytes({'a', 0, 0, 0, 'b', 0, 0, 0, 0, 0})},
      {u"Quad", 11, Counting(8)},
      {u"None", REG_NONE, {}},
      {u"LargeType", 0x12345678, Bytes({9})},
      {u"", REG_SZ, TextBytes(u"the default value")},
  };
  for (const TypedCase& c : cases) {
    ASSERT_EQ(SetValue(kProduct, c.name, c.type, c.data), ERROR_SUCCESS);
  }
  kernel::ForgetRegistry();  // read everything back from the file
  for (const TypedCase& c : cases) {
    std::string name(c.name, c.name + std::char_traits<char16_t>::length(c.name));
    std::optional<StoredValue> stored = GetValue(kProduct, c.name);
    ASSERT_TRUE(stored.has_value()) << name;
    EXPECT_EQ(stored->type, c.type) << name;
    EXPECT_EQ(stored->data, c.data) << name;
  }
}

TEST_F(RegistryTest, ValuesReplaceEachOtherAndTheirType) {
  ASSERT_EQ(SetNumber(kProduct, u"FontSize", 12), ERROR_SUCCESS);
  ASSERT_EQ(SetText(kProduct, u"FontSize", u"14"), ERROR_SUCCESS);
  EXPECT_EQ(GetValue(kProduct, u"FontSize"), (StoredValue{REG_SZ, TextBytes(u"14")}));
  kernel::ForgetRegistry();
  EXPECT_EQ(GetValue(kProduct, u"FontSize"), (StoredValue{REG_SZ, TextBytes(u"14")}));
}

TEST_F(RegistryTest, QueryReportsTypeSizeAndShortBuffers) {
  ASSERT_EQ(SetText(kProduct, u"FontName", u"Tahoma"), ERROR_SUCCESS);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kProduct, 0, KEY_READ, &key), ERROR_SUCCESS);

  DWORD type = 0;
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"FontName", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, 14u);  // six units and the terminator

  BYTE buffer[32];
  size = 13;
  EXPECT_EQ(RegQueryValueExW(key, u"FontName", nullptr, nullptr, buffer, &size), ERROR_MORE_DATA);
  EXPECT_EQ(size, 14u);

  size = sizeof buffer;
  type = 0;
  EXPECT_EQ(RegQueryValueExW(key, u"FontName", nullptr, &type, buffer, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 14u);
  EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(buffer)), u"Tahoma");

  EXPECT_EQ(RegQueryValueExW(key, u"Missing", nullptr, &type, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(key, u"FontName", nullptr, &type, buffer, nullptr),
            ERROR_INVALID_PARAMETER);
  EXPECT_EQ(RegQueryValueExW(key, u"FontName", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
}

TEST_F(RegistryTest, MissingKeysAreNotFoundAndNotCreatedByReading) {
  HKEY key = reinterpret_cast<HKEY>(1);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"software\\Karsolet", 0, KEY_READ, &key),
            ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_FALSE(GetValue(u"software\\Karsolet", u"FullScreen").has_value());
  EXPECT_FALSE(std::filesystem::exists(FilePath()));
}

TEST_F(RegistryTest, NamesCompareWithoutCaseAndKeepTheirFirstSpelling) {
  ASSERT_EQ(SetNumber(u"Software\\Karsolet", u"FullScreen", 1), ERROR_SUCCESS);
  ASSERT_EQ(SetNumber(u"software\\KARSOLET", u"FULLSCREEN", 2), ERROR_SUCCESS);
  ASSERT_EQ(SetNumber(u"SOFTWARE\\Other", u"x", 3), ERROR_SUCCESS);
  for (const WCHAR* key : {u"software\\Karsolet", u"SOFTWARE\\karsolet", u"Software\\Karsolet\\"}) {
    EXPECT_EQ(GetValue(key, u"fullscreen"), (StoredValue{REG_DWORD, NumberBytes(2)}));
  }
  EXPECT_EQ(FileText(),
            "Windows Registry Editor Version 5.00\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Karsolet]\n"
            "\"FullScreen\"=dword:00000002\n"
            "\n"
            "[HKEY_CURRENT_USER\\Software\\Other]\n"
            "\"x\"=dword:00000003\n"
            "\n");
}

TEST_F(RegistryTest, KeysOpenRelativeToOpenKeys) {
  ASSERT_EQ(SetNumber(kProduct, u"Lesson", 12), ERROR_SUCCESS);
  HKEY software = nullptr;
  HKEY product = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software", 0, KEY_READ, &software), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExW(software, u"Norvane\\Vintrel - 5765 (heb)", 0, KEY_READ, &product),
            ERROR_SUCCESS);
  DWORD lesson = 0;
  DWORD size = sizeof lesson;
  EXPECT_EQ(RegQueryValueExW(product, u"Lesson", nullptr, nullptr, reinterpret_cast<BYTE*>(&lesson),
                             &size),
            ERROR_SUCCESS);
  EXPECT_EQ(lesson, 12u);
  EXPECT_EQ(RegCloseKey(product), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(software), ERROR_SUCCESS);
}

TEST_F(RegistryTest, CreateReportsWhetherTheKeyIsNew) {
  HKEY key = nullptr;
  DWORD disposition = 0;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kProduct, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                            &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  RegCloseKey(key);
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"SOFTWARE\\norvane", 0, nullptr, 0,
                            KEY_ALL_ACCESS, nullptr, &key, &disposition),
            ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  RegCloseKey(key);
  // The new key is in the file, and opens from there.
  kernel::ForgetRegistry();
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kProduct, 0, KEY_READ, &key), ERROR_SUCCESS);
  RegCloseKey(key);
}

TEST_F(RegistryTest, HandlesAndAccessAreChecked) {
  HKEY reader = nullptr;
  ASSERT_EQ(SetNumber(kProduct, u"Lesson", 1), ERROR_SUCCESS);
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kProduct, 0, KEY_READ, &reader), ERROR_SUCCESS);
  DWORD one = 1;
  EXPECT_EQ(RegSetValueExW(reader, u"Lesson", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4),
            ERROR_ACCESS_DENIED);
  HKEY writer = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kProduct, 0, KEY_SET_VALUE, &writer), ERROR_SUCCESS);
  EXPECT_EQ(RegQueryValueExW(writer, u"Lesson", nullptr, nullptr, nullptr, nullptr),
            ERROR_ACCESS_DENIED);
  RegCloseKey(writer);
  EXPECT_EQ(RegCloseKey(reader), ERROR_SUCCESS);

  // A closed handle, one that never was, and other hives are refused.
  for (HKEY bad : {reader, reinterpret_cast<HKEY>(0x1234), HKEY_LOCAL_MACHINE}) {
    HKEY sub = nullptr;
    EXPECT_EQ(RegOpenKeyExW(bad, u"x", 0, KEY_READ, &sub), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExW(bad, u"Lesson", nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegSetValueExW(bad, u"Lesson", 0, REG_DWORD, reinterpret_cast<BYTE*>(&one), 4),
              ERROR_INVALID_HANDLE);
  }
  EXPECT_EQ(RegCloseKey(reader), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CURRENT_USER), ERROR_SUCCESS);
}

TEST_F(RegistryTest, NamesTheFileCannotHoldAreRefused) {
  EXPECT_EQ(SetNumber(kProduct, u"two\nlines", 1), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SetNumber(kProduct, u"lone\xDC00", 1), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SetNumber(u"Software\\bad\rkey", u"x", 1), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(SetValue(kProduct, u"x", REG_BINARY, {}), ERROR_SUCCESS);
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, kProduct, 0, KEY_ALL_ACCESS, &key), ERROR_SUCCESS);
  EXPECT_EQ(RegSetValueExW(key, u"x", 0, REG_BINARY, nullptr, 4), ERROR_INVALID_PARAMETER);
  RegCloseKey(key);
}

}  // namespace
