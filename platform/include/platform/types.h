// Basic types of the handheld platform: integer widths, handles, records shared by
// every layer. The program's records are the handheld's 32-bit ones; where they hold
// pointers they are larger here, and the platform reads only what the caller has.
#pragma once

#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
#define APIENTRY

typedef int BOOL;
typedef uint8_t BYTE;
typedef uint16_t WORD;
typedef uint32_t DWORD;
typedef int32_t LONG;
typedef uint32_t ULONG;
typedef int16_t SHORT;
typedef uint16_t USHORT;
typedef int32_t INT;
typedef uint32_t UINT;
typedef char CHAR;
typedef char16_t WCHAR;
typedef WCHAR TCHAR;
typedef void VOID;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef BYTE* LPBYTE;
typedef DWORD* LPDWORD;
typedef LONG* LPLONG;
typedef INT* LPINT;
typedef WCHAR* LPWSTR;
typedef const WCHAR* LPCWSTR;
typedef WCHAR* LPTSTR;
typedef const WCHAR* LPCTSTR;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t ULONG_PTR;
typedef DWORD COLORREF;
typedef LONG LSTATUS;
typedef DWORD ACCESS_MASK;
typedef ACCESS_MASK REGSAM;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

#define TEXT(s) u##s
#define MAX_PATH 260

// Opaque handles: distinct types for the program, plain pointers underneath.
#define VINTREL_DECLARE_HANDLE(name) \
  struct name##__;                    \
  typedef struct name##__* name
typedef void* HANDLE;
typedef void* HGDIOBJ;
VINTREL_DECLARE_HANDLE(HINSTANCE);
VINTREL_DECLARE_HANDLE(HWND);
VINTREL_DECLARE_HANDLE(HDC);
VINTREL_DECLARE_HANDLE(HFONT);
VINTREL_DECLARE_HANDLE(HPEN);
VINTREL_DECLARE_HANDLE(HBRUSH);
VINTREL_DECLARE_HANDLE(HBITMAP);
VINTREL_DECLARE_HANDLE(HICON);
VINTREL_DECLARE_HANDLE(HMENU);
VINTREL_DECLARE_HANDLE(HKEY);
VINTREL_DECLARE_HANDLE(HRSRC);
VINTREL_DECLARE_HANDLE(HACCEL);
VINTREL_DECLARE_HANDLE(HRGN);
typedef HINSTANCE HMODULE;
typedef HICON HCURSOR;
typedef HANDLE HGLOBAL;

#define MAKEWORD(lo, hi) ((WORD)(((BYTE)((lo) & 0xff)) | ((WORD)((BYTE)((hi) & 0xff))) << 8))
#define MAKELONG(lo, hi) ((LONG)(((WORD)((lo) & 0xffff)) | ((DWORD)((WORD)((hi) & 0xffff))) << 16))
#define LOWORD(l) ((WORD)(((DWORD_PTR_)(l)) & 0xffff))
#define HIWORD(l) ((WORD)((((DWORD_PTR_)(l)) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)(((DWORD_PTR_)(w)) & 0xff))
#define HIBYTE(w) ((BYTE)((((DWORD_PTR_)(w)) >> 8) & 0xff))
typedef uintptr_t DWORD_PTR_;
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define MAKELRESULT(l, h) ((LRESULT)(DWORD)MAKELONG(l, h))
#define MAKEINTRESOURCEW(i) ((LPWSTR)((ULONG_PTR)((WORD)(i))))
#define MAKEINTRESOURCE MAKEINTRESOURCEW
#define IS_INTRESOURCE(r) ((((ULONG_PTR)(r)) >> 16) == 0)
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(rgb) ((BYTE)(rgb))
#define GetGValue(rgb) ((BYTE)(((WORD)(rgb)) >> 8))
#define GetBValue(rgb) ((BYTE)((rgb) >> 16))

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT, *LPPOINT;

typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE, *LPSIZE;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *LPRECT;
typedef const RECT* LPCRECT;

typedef struct _SYSTEMTIME {
  WORD wYear;
  WORD wMonth;
  WORD wDayOfWeek;
  WORD wDay;
  WORD wHour;
  WORD wMinute;
  WORD wSecond;
  WORD wMilliseconds;
} SYSTEMTIME, *LPSYSTEMTIME;

// Error codes as the registry and other calls report them.
#define ERROR_SUCCESS 0L
#define ERROR_FILE_NOT_FOUND 2L
#define ERROR_ACCESS_DENIED 5L
#define ERROR_INVALID_HANDLE 6L
#define ERROR_NOT_ENOUGH_MEMORY 8L
#define ERROR_INVALID_DATA 13L
#define ERROR_OUTOFMEMORY 14L
#define ERROR_WRITE_FAULT 29L
#define ERROR_INVALID_PARAMETER 87L
#define ERROR_INSUFFICIENT_BUFFER 122L
#define ERROR_MORE_DATA 234L
#define ERROR_RESOURCE_DATA_NOT_FOUND 1812L
#define ERROR_RESOURCE_TYPE_NOT_FOUND 1813L
#define ERROR_RESOURCE_NAME_NOT_FOUND 1814L
