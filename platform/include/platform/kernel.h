// Core services: heap, time, version, module, wide strings, code pages, registry,
// resources.
#pragma once

#include <cstdarg>
#include <cstdlib>

#include "platform/types.h"

// ---- Heap -------------------------------------------------------------------------
// The program allocates with malloc, realloc, calloc and free. Every executable that
// links the platform routes its own calls to them through the platform heap, which
// can be told to fail one allocation for tests of out-of-memory paths.

// Makes the n-th allocation from now (1 = the next one) return null; 0 disarms.
void HeapFailAllocation(unsigned n);
// Number of allocations made through the platform heap since start.
unsigned long HeapAllocationCount();

// ---- Time, version, module ----------------------------------------------------------
void GetLocalTime(LPSYSTEMTIME time);

typedef struct _OSVERSIONINFOW {
  DWORD dwOSVersionInfoSize;
  DWORD dwMajorVersion;
  DWORD dwMinorVersion;
  DWORD dwBuildNumber;
  DWORD dwPlatformId;
  WCHAR szCSDVersion[128];
} OSVERSIONINFOW, *LPOSVERSIONINFOW, OSVERSIONINFO, *LPOSVERSIONINFO;
#define VER_PLATFORM_WIN32_CE 3
// Reports version 5.0 unless VINTREL_OS_VERSION (for instance "4.20") asks for another.
BOOL GetVersionExW(LPOSVERSIONINFOW info);

#define ERROR_MOD_NOT_FOUND 126L
// The program's own module for a null name; named modules are not found.
HMODULE GetModuleHandleW(LPCWSTR name);
// The real path of the executable; truncated with a terminator when it does not fit,
// returning size and ERROR_INSUFFICIENT_BUFFER.
DWORD GetModuleFileNameW(HMODULE module, LPWSTR path, DWORD size);
DWORD GetLastError();
void SetLastError(DWORD error);

// ---- Wide strings (UTF-16 units) ---------------------------------------------------------
size_t wcslen(const WCHAR* s);
WCHAR* wcscpy(WCHAR* dst, const WCHAR* src);
WCHAR* wcsncpy(WCHAR* dst, const WCHAR* src, size_t n);
WCHAR* wcscat(WCHAR* dst, const WCHAR* src);
int wcscmp(const WCHAR* a, const WCHAR* b);
int wcsncmp(const WCHAR* a, const WCHAR* b, size_t n);
// Compares without regard to ASCII letter case.
int _wcsicmp(const WCHAR* a, const WCHAR* b);
int _wcsnicmp(const WCHAR* a, const WCHAR* b, size_t n);
// Formats %d, %u, %x, %X, %c, %s (a UTF-16 string), %% with flags, width and precision.
int swprintf(WCHAR* buffer, const WCHAR* format, ...);
int wsprintfW(WCHAR* buffer, const WCHAR* format, ...);
int vswprintf(WCHAR* buffer, const WCHAR* format, va_list args);

// ---- Code pages ------------------------------------------------------------------------
// UTF-8 (CP_UTF8) to UTF-16 and back, the one code page there is. Counts are in bytes
// and in units; an input count of -1 takes a zero-terminated input, terminator included.
// With an output count of 0 the call returns the count the output needs and writes
// nothing. A malformed sequence (or an unpaired surrogate) becomes U+FFFD, or, with
// MB_ERR_INVALID_CHARS (WC_ERR_INVALID_CHARS), fails the call. On failure the result is 0,
// nothing is written and GetLastError tells why: ERROR_INVALID_PARAMETER (another code
// page, no or an empty input, an output count without an output, a default character for
// UTF-8), ERROR_INVALID_FLAGS, ERROR_INSUFFICIENT_BUFFER or ERROR_NO_UNICODE_TRANSLATION.
#define CP_UTF8 65001
#define MB_ERR_INVALID_CHARS 0x00000008
#define WC_ERR_INVALID_CHARS 0x00000080
#define ERROR_INVALID_FLAGS 1004L
#define ERROR_NO_UNICODE_TRANSLATION 1113L
int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR multiByte, int multiByteCount,
                        LPWSTR wide, int wideCount);
int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR wide, int wideCount,
                        LPSTR multiByte, int multiByteCount, LPCSTR defaultChar,
                        BOOL* usedDefaultChar);

// ---- Registry ------------------------------------------------------------------------
// HKEY_CURRENT_USER, kept in $XDG_CONFIG_HOME/vintrel/registry.reg (a .reg text file).
// Key and value names compare without regard to ASCII case. Changes (RegSetValueExW,
// RegCreateKeyExW for a new key) hold at once and are written together, replacing the
// file atomically in one save, when the last open key is closed (RegCloseKey), at
// RegFlushKey or at the end of the process; a change made while no key is open is
// written at once. When a save fails, the call that saved says so in its result and on
// stderr, and the changes hold in this process and go with the next save.
typedef HKEY* PHKEY;
typedef struct _SECURITY_ATTRIBUTES* LPSECURITY_ATTRIBUTES;
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)0x80000000)
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)0x80000001)
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)0x80000002)
#define KEY_QUERY_VALUE 0x0001
#define KEY_SET_VALUE 0x0002
#define KEY_READ 0x20019
#define KEY_WRITE 0x20006
#define KEY_ALL_ACCESS 0xF003F
#define REG_OPTION_NON_VOLATILE 0
#define REG_CREATED_NEW_KEY 1
#define REG_OPENED_EXISTING_KEY 2
#define REG_NONE 0
#define REG_SZ 1
#define REG_EXPAND_SZ 2
#define REG_BINARY 3
#define REG_DWORD 4
#define REG_MULTI_SZ 7

LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR className, DWORD options,
                     REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result, LPDWORD disposition);
LONG RegQueryValueExW(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                      LPDWORD size);
LONG RegSetValueExW(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data,
                    DWORD size);
LONG RegCloseKey(HKEY key);
LONG RegFlushKey(HKEY key);

// ---- Resources ------------------------------------------------------------------------
// The resources compiled into the program (a null module means the program's). Names
// and types are numbers (MAKEINTRESOURCEW), "#number" or texts. Data is read-only and
// used in place; LockResource gives the address LoadResource returned.
#define RT_CURSOR MAKEINTRESOURCEW(1)
#define RT_BITMAP MAKEINTRESOURCEW(2)
#define RT_ICON MAKEINTRESOURCEW(3)
#define RT_MENU MAKEINTRESOURCEW(4)
#define RT_DIALOG MAKEINTRESOURCEW(5)
#define RT_STRING MAKEINTRESOURCEW(6)
#define RT_ACCELERATOR MAKEINTRESOURCEW(9)
#define RT_RCDATA MAKEINTRESOURCEW(10)
#define RT_GROUP_CURSOR MAKEINTRESOURCEW(12)
#define RT_GROUP_ICON MAKEINTRESOURCEW(14)

HRSRC FindResourceW(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
DWORD SizeofResource(HMODULE module, HRSRC resource);
LPVOID LockResource(HGLOBAL data);
// Copies string id, cut to size - 1 units and terminated, and returns the units copied;
// with size 0 it stores the address of the read-only, unterminated text in buffer and
// returns its length. 0 when there is no such string.
int LoadStringW(HINSTANCE instance, UINT id, LPWSTR buffer, int size);
