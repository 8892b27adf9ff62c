// The program's only way to the registry: numbers, text and bytes under the product
// key (and numbers under any key), with the read rules the settings rely on.
#pragma once

#include "platform.h"

extern const WCHAR ProductKey[];    // Software\Norvane\Vintrel - 5765 (heb)
extern const WCHAR PublisherKey[];  // software\Karsolet (read only)

// The value as a number: REG_DWORD as stored, any other type as decimal UTF-16 text
// (wrapping 32-bit arithmetic, no sign, no digit check). The default on any failure.
DWORD ReadNumber(LPCWSTR keyPath, LPCWSTR name, DWORD fallback);
// A new copy of the value's data as UTF-16 (caller frees), or null; a zero unit follows
// the data inside the buffer, also when the data ends in half a unit.
WCHAR* ReadText(LPCWSTR name);
// A new buffer of exactly the value's size with its data (caller frees), or null.
BYTE* ReadBytes(LPCWSTR name);
// As ReadBytes; on success stores the size through sizeOut when given, on failure
// returns the fallback and leaves sizeOut alone.
BYTE* ReadBytesSized(LPCWSTR name, BYTE* fallback, DWORD* sizeOut);

// Writers of the product key; 1 on success, 0 on failure.
int WriteNumber(LPCWSTR name, DWORD value);
int WriteText(LPCWSTR name, LPCWSTR text);
int WriteByteString(LPCWSTR name, const char* text);
int WriteBytes(LPCWSTR name, const BYTE* data, DWORD length);

// The writes between these two reach the settings file in one save: the product key
// stays open meanwhile, and the registry saves when the last open key is closed.
// Begin gives null when the key cannot be had; End takes what Begin gave.
HKEY BeginSettingsSave();
void EndSettingsSave(HKEY save);
