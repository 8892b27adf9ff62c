#include "dialogs/update_address.h"

#include <cstring>

#include "resources/publisher.h"

namespace {

constexpr WCHAR UpdateBase[] = u"" PUBLISHER_UPDATE_BASE;
constexpr WCHAR VersionQuery[] = u"&v=1.84a";
constexpr WCHAR HomePage[] = u"" PUBLISHER_HOME_PAGE;
constexpr DWORD HandheldExecuteInfoSize = 60;

constexpr bool KeptAsItIs(WCHAR unit) {
  return (unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'Z') ||
         (unit >= u'a' && unit <= u'z') || unit == u'.' || unit == u'/';
}

constexpr size_t EncodedLength(const WCHAR* text) {
  size_t length = 0;
  for (; *text; ++text) {
    WCHAR unit = *text;
    length += unit == u' ' || KeptAsItIs(unit) ? 1 : unit > 0xFFF ? 5 : unit > 0xFF ? 4 : 3;
  }
  return length;
}

constexpr size_t Length(const WCHAR* text) {
  size_t length = 0;
  while (text[length]) ++length;
  return length;
}

static_assert(Length(UpdateBase) + EncodedLength(ProductPath) +
                      Length(VersionQuery) < UpdateAddressUnits,
              "the update address does not fit its buffer: choose a shorter update host");

}  // namespace

WCHAR* AppendEncoded(WCHAR* end, const WCHAR* text) {
  for (const WCHAR* unit = text; *unit; ++unit) {
    if (*unit == u' ')
      *end++ = u'+';
    else if (KeptAsItIs(*unit))
      *end++ = *unit;
    else
      end += swprintf(end, u"%%%.2X", unsigned(*unit));
  }
  return end;
}

void ComposeUpdateAddress(WCHAR (&address)[UpdateAddressUnits]) {
  std::memset(address, 0, sizeof address);
  wcscpy(address, UpdateBase);
  WCHAR* end = AppendEncoded(address + wcslen(address), ProductPath);
  wcscpy(end, VersionQuery);
}

void CheckForUpdates(HWND owner) {
  WCHAR address[UpdateAddressUnits];
  ComposeUpdateAddress(address);
  OpenAddress(owner, address);
}

void OpenHomePage(HWND owner) { OpenAddress(owner, HomePage); }

void OpenAddress(HWND owner, LPCWSTR address) {
  SHELLEXECUTEINFO info;
  std::memset(&info, 0, sizeof info);
  info.cbSize = HandheldExecuteInfoSize;
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.hwnd = owner;
  info.lpVerb = u"Open";
  info.lpFile = address;
  ShellExecuteEx(&info);
}
