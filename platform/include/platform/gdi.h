// Graphics: device contexts, pens, brushes, bitmaps, fonts and text.
//
// A device context (HDC) draws either into a window's surface (handed out by the window
// layer) or into the bitmap selected into a memory DC. Every handle is checked against
// the table of live objects: a null, deleted or foreign handle draws nothing and gives
// null, 0 or FALSE.
#pragma once

#include "platform/types.h"

// ---- Records -------------------------------------------------------------------------
#define LF_FACESIZE 32

// 92 bytes, as the handheld defines it.
typedef struct tagLOGFONTW {
  LONG lfHeight;  // > 0: cell height; < 0: character (em) height; 0: the default (12 px cell)
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;  // 600 and above draw bold
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  WCHAR lfFaceName[LF_FACESIZE];
} LOGFONTW, *LPLOGFONTW, LOGFONT, *LPLOGFONT;

typedef struct tagTEXTMETRICW {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  WCHAR tmFirstChar;
  WCHAR tmLastChar;
  WCHAR tmDefaultChar;
  WCHAR tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
} TEXTMETRICW, *LPTEXTMETRICW, TEXTMETRIC, *LPTEXTMETRIC;

// 24 bytes, as the handheld defines it: the bits pointer is a 32-bit field, always 0 here.
typedef struct tagBITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  DWORD bmBits;
} BITMAP, *LPBITMAP;

typedef struct tagLOGPEN {
  UINT lopnStyle;
  POINT lopnWidth;
  COLORREF lopnColor;
} LOGPEN;

typedef struct tagLOGBRUSH {
  UINT lbStyle;
  COLORREF lbColor;
  LONG lbHatch;
} LOGBRUSH;

// ---- Constants -----------------------------------------------------------------------
// Stock objects.
#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

// Object kinds (GetObjectType, GetCurrentObject).
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_MEMDC 10

// Pens and brushes.
#define PS_SOLID 0
#define PS_NULL 5
#define BS_SOLID 0
#define BS_NULL 1

// Background modes.
#define TRANSPARENT 1
#define OPAQUE 2

// Raster operations for BitBlt and StretchBlt.
#define SRCCOPY 0x00CC0020
#define SRCPAINT 0x00EE0086
#define SRCAND 0x008800C6
#define SRCINVERT 0x00660046
#define NOTSRCCOPY 0x00330008
#define DSTINVERT 0x00550009
#define PATCOPY 0x00F00021
#define BLACKNESS 0x00000042
#define WHITENESS 0x00FF0062

// Device capabilities.
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMCOLORS 24
#define LOGPIXELSX 88
#define LOGPIXELSY 90

// Font weights and character sets.
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_EXTRABOLD 800
#define FW_HEAVY 900
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define SYMBOL_CHARSET 2
#define HEBREW_CHARSET 177

// Font types reported by EnumFontFamiliesW.
#define RASTER_FONTTYPE 0x0001
#define DEVICE_FONTTYPE 0x0002
#define TRUETYPE_FONTTYPE 0x0004

// DrawTextW formats.
#define DT_TOP 0x0000
#define DT_LEFT 0x0000
#define DT_CENTER 0x0001
#define DT_RIGHT 0x0002
#define DT_VCENTER 0x0004
#define DT_BOTTOM 0x0008
#define DT_WORDBREAK 0x0010
#define DT_SINGLELINE 0x0020
#define DT_NOCLIP 0x0100
#define DT_CALCRECT 0x0400
#define DT_NOPREFIX 0x0800

// ExtTextOutW options.
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

#define CLR_INVALID 0xFFFFFFFF

typedef int(CALLBACK* FONTENUMPROCW)(const LOGFONTW* font, const TEXTMETRICW* metrics,
                                     DWORD fontType, LPARAM param);
typedef FONTENUMPROCW FONTENUMPROC;

// ---- Device contexts -------------------------------------------------------------------
// A memory DC starts with a 1x1 monochrome bitmap selected; select another to draw into it.
HDC CreateCompatibleDC(HDC dc);
BOOL DeleteDC(HDC dc);
int GetDeviceCaps(HDC dc, int index);

// ---- Objects ----------------------------------------------------------------------------
HGDIOBJ GetStockObject(int index);
// Returns the object of the same kind selected before, or null when dc or object is not live.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Stock objects are never destroyed. An object still selected into a DC stays usable by
// that DC until it is replaced there; its handle is no longer valid.
BOOL DeleteObject(HGDIOBJ object);
// Fills a BITMAP (24 bytes), LOGFONTW (92), LOGPEN or LOGBRUSH; copies at most size bytes.
// With a null buffer returns the record's full size.
int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
DWORD GetObjectType(HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC dc, UINT kind);

// PS_SOLID or PS_NULL; other styles give null. Widths below 1 draw 1 pixel wide.
HPEN CreatePen(int style, int width, COLORREF colour);
HBRUSH CreateSolidBrush(COLORREF colour);
// A bitmap of the DC's kind: monochrome for a memory DC holding a monochrome bitmap,
// 32-bit colour otherwise (also for a null DC). Pixels start black.
HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
// planes must be 1; bitsPerPixel 1 (rows padded to 16 bits, bit 1 = white) or 32
// (0x00RRGGBB words); bits may be null for a black bitmap.
HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
// An RT_BITMAP resource: a device-independent bitmap of 1, 4, 8 or 24 bits per pixel.
// A 1-bit bitmap whose colours are black then white becomes a monochrome bitmap.
HBITMAP LoadBitmapW(HINSTANCE instance, LPCWSTR name);

// ---- Colours and modes --------------------------------------------------------------------
COLORREF SetTextColor(HDC dc, COLORREF colour);
COLORREF GetTextColor(HDC dc);
COLORREF SetBkColor(HDC dc, COLORREF colour);
COLORREF GetBkColor(HDC dc);
int SetBkMode(HDC dc, int mode);
int GetBkMode(HDC dc);

// ---- Drawing -------------------------------------------------------------------------------
// Right and bottom edges are excluded.
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
// Outlines with the pen, fills the inside with the brush; right and bottom excluded.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
// Draws from the current position up to, not including, (x, y).
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour);
// CLR_INVALID outside the surface.
COLORREF GetPixel(HDC dc, int x, int y);
BOOL BitBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
            DWORD rop);
BOOL StretchBlt(HDC dst, int x, int y, int width, int height, HDC src, int srcX, int srcY,
                int srcWidth, int srcHeight, DWORD rop);

// ---- Fonts and text --------------------------------------------------------------------------
// The face is matched through the installed fonts (an unknown face gets the closest one);
// heights beyond 512 pixels are cut to 512; lfWidth, lfEscapement and lfOrientation are
// not used. Weight 600 and up is bold, emboldened when the family has no bold face;
// lfItalic slants a family without an italic face. Null only when no font is installed.
HFONT CreateFontIndirectW(const LOGFONTW* font);
BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);
// fit: the number of leading units whose running extent stays within maxExtent (only when
// fit is given); extents: the running extent after each of those units; size: the extent
// of the whole string. Any pointer may be null.
BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit,
                           LPINT extents, LPSIZE size);
BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);
// family null: one call per installed family; else one call for that family when it is
// installed. Returns the last value of the callback (0 when it stopped the enumeration).
int EnumFontFamiliesW(HDC dc, LPCWSTR family, FONTENUMPROCW callback, LPARAM param);
// count -1: up to the terminator. Returns the height of the text drawn (or measured).
int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);
BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text,
                 UINT count, const INT* dx);
BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count);
