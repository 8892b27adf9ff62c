// Fonts from LOGFONTW descriptions, shared by CreateFontIndirectW and the stock fonts.
#pragma once

#include <memory>

#include "gdi/objects.h"

namespace gdi {

// Cell height used for lfHeight 0.
constexpr int kDefaultCellHeight = 12;
// Heights beyond this many pixels (either sign) are cut to it.
constexpr int kMaxFontHeight = 512;

// A font for the description (its face name read up to 32 units); null when no installed
// face can serve it.
std::shared_ptr<Font> MakeFont(const LOGFONTW& log);

}  // namespace gdi
