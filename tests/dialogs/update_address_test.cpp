// The publisher's addresses: the update address with the encoded product path and the
// version, and both addresses handed to the desktop's opener as they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "dialogs/update_address.h"
#include "fake_opener.h"
#include "resources/publisher.h"

namespace dialogs_test {
namespace {

std::u16string Encoded(const char16_t* text) {
  WCHAR out[64] = {};
  *AppendEncoded(out, text) = 0;
  return out;
}

TEST(UpdateAddress, PercentEncodingKeepsLettersDigitsDotsAndSlashes) {
  struct Case {
    const char16_t* text;
    const char16_t* encoded;
  } cases[] = {
      {u"Norvane/Vintrel - 5765 (heb)", u"Norvane/Vintrel+%2D+5765+%28heb%29"},
      {u"AZaz09./", u"AZaz09./"},
      {u" ", u"+"},
      {u"&=?%+", u"%26%3D%3F%25%2B"},
      {u"\x01\x7F", u"%01%7F"},
      {u"\u00E9", u"%E9"},
      {u"\u05D0\u20AC", u"%5D0%20AC"},  // units, not UTF-8 sequences
      {u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(Encoded(c.text), c.encoded);
}

TEST(UpdateAddress, CarriesTheServersBaseTheProductPathAndTheVersion) {
  WCHAR address[UpdateAddressUnits];
  for (WCHAR& unit : address) unit = u'#';
  ComposeUpdateAddress(address);
  const std::u16string expected =
      u"" PUBLISHER_UPDATE_BASE u"Norvane/Vintrel+%2D+5765+%28heb%29&v=1.84a";
  EXPECT_EQ(std::u16string(address), expected);
  EXPECT_EQ(expected.substr(expected.size() - 65),
            u"/cgi-bin/upgrade?p=arm/Norvane/Vintrel+%2D+5765+%28heb%29&v=1.84a");
  for (size_t i = expected.size(); i < UpdateAddressUnits; ++i) EXPECT_EQ(address[i], 0) << i;
}

TEST(UpdateAddress, BothAddressesReachTheOpenerAndAMissingOneChangesNothing) {
  FakeOpener opener;
  CheckForUpdates(nullptr);
  OpenHomePage(nullptr);
  // Each opener runs detached, so the two may record in either order.
  std::vector<std::string> opened = opener.Opened(2);
  std::sort(opened.begin(), opened.end());
  std::vector<std::string> expected = {
      PUBLISHER_UPDATE_BASE "Norvane/Vintrel+%2D+5765+%28heb%29&v=1.84a", PUBLISHER_HOME_PAGE};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(opened, expected);
  opener.Remove();
  CheckForUpdates(nullptr);  // no opener: nothing shown, nothing stops
  OpenHomePage(nullptr);
  EXPECT_EQ(opener.Opened(2).size(), 2u);
}

}  // namespace
}  // namespace dialogs_test
