// The colours the article view draws in, as COLORREF values (0x00BBGGRR). The page
// and the rules take the white and black stock brushes.
#pragma once

#include "platform.h"

constexpr COLORREF Black = 0x000000;
constexpr COLORREF Navy = 0x800000;
constexpr COLORREF Blue = 0xFF0000;
constexpr COLORREF Yellow = 0x00FFFF;

// The search highlight: blue text on yellow.
constexpr COLORREF HighlightText = Blue;
constexpr COLORREF HighlightBackground = Yellow;
