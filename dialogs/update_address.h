// The publisher's two addresses and the way they reach the browser: the home page,
// opened unchanged, and the update address, which carries the product's path and
// version to the update server.
#pragma once

#include "platform.h"

// The update address is composed in this many UTF-16 units, terminator included.
constexpr int UpdateAddressUnits = 200;

// The product's path as the update server knows it.
inline constexpr WCHAR ProductPath[] = u"Norvane/Vintrel - 5765 (heb)";

// Writes `text` percent-encoded at `end`: a blank as "+", digits, ASCII letters, "."
// and "/" as they are, every other unit as "%" and its value in at least two upper-case
// hexadecimal digits. Returns the new end, for the caller to go on or terminate.
WCHAR* AppendEncoded(WCHAR* end, const WCHAR* text);
// The update address: the server's base, ProductPath encoded, then "&v=" and the
// version; the rest of the buffer 0.
void ComposeUpdateAddress(WCHAR (&address)[UpdateAddressUnits]);
// Opens the update address for `owner`.
void CheckForUpdates(HWND owner);
// Opens the maker's home page for `owner` (the link button).
void OpenHomePage(HWND owner);
// Hands the address to the shell's launcher, asking for no error interface; what
// became of it is not looked at.
void OpenAddress(HWND owner, LPCWSTR address);
