// The colours the article view draws in, as COLORREF values (0x00BBGGRR). The page
// and the rules take the white and black stock brushes.
#pragma once

#include "platform.h"

constexpr COLORREF Black = 0x000000;
constexpr COLORREF Navy = 0x800000;
constexpr COLORREF Blue = 0xFF0000;
constexpr COLORREF Yellow = 0x00FFFF;
constexpr COLORREF Red = 0x0000FF;
constexpr COLORREF White = 0xFFFFFF;

// The search highlight: blue text on yellow.
constexpr COLORREF HighlightText = Blue;
constexpr COLORREF HighlightBackground = Yellow;

// The title banner: red text on yellow inside frames of red, white and blue, from the
// outside in.
constexpr COLORREF BannerText = Red;
constexpr COLORREF BannerBackground = Yellow;
constexpr COLORREF BannerOuterFrame = Red;
constexpr COLORREF BannerMiddleFrame = White;
constexpr COLORREF BannerInnerFrame = Blue;
