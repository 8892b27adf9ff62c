// The bars' font and labels, shared by the shell's windows (plain fills and frames are the
// window layer's: user/system.h).
#pragma once

#include <string>

#include "platform.h"

namespace shell {

// The bars' font at the current scale; made once per scale and kept.
HFONT BarFont(bool bold);
// Text in one line, centred vertically, in the rectangle.
void DrawLabel(HDC dc, const std::u16string& text, RECT r, COLORREF colour, UINT align,
               bool bold);
int LabelWidth(HDC dc, const std::u16string& text, bool bold);

}  // namespace shell
