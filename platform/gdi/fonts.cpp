// Font creation, text metrics and the enumeration of installed families.
#include "gdi/fonts.h"

#include <algorithm>
#include <cstring>

#include "gdi/dc.h"
#include "gdi/font_instance.h"
#include "gdi/font_match.h"
#include "kernel/out_of_memory.h"

namespace gdi {
namespace {

std::u16string FaceName(const LOGFONTW& log) {
  size_t n = 0;
  while (n < LF_FACESIZE - 1 && log.lfFaceName[n] != 0) ++n;
  return std::u16string(log.lfFaceName, n);
}

int EffectiveHeight(LONG height) {
  if (height == 0) return kDefaultCellHeight;
  const long long h = std::clamp<long long>(height, -kMaxFontHeight, kMaxFontHeight);
  return int(h);
}

int EffectiveWeight(const LOGFONTW& log) { return log.lfWeight > 0 ? log.lfWeight : FW_NORMAL; }

bool WantsBold(const LOGFONTW& log) { return log.lfWeight >= FW_SEMIBOLD; }

std::shared_ptr<FontInstance> InstanceFor(const FaceFile& face, int height, bool bold,
                                          bool italic) {
  InstanceRequest request;
  request.face = face;
  request.height = height;
  request.emboldened = bold && !face.bold;
  request.slanted = italic && !face.italic;
  return FontInstance::Open(request);
}

TEXTMETRICW MetricsOf(FontInstance& instance, const LOGFONTW& log) {
  const FontMetrics& m = instance.metrics();
  TEXTMETRICW tm{};
  tm.tmHeight = m.height;
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmInternalLeading = m.internalLeading;
  tm.tmExternalLeading = m.externalLeading;
  tm.tmAveCharWidth = m.aveCharWidth;
  tm.tmMaxCharWidth = m.maxCharWidth;
  tm.tmWeight = EffectiveWeight(log);
  tm.tmOverhang = 0;
  tm.tmDigitizedAspectX = 96;
  tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = instance.firstChar();
  tm.tmLastChar = instance.lastChar();
  tm.tmDefaultChar = 0;
  tm.tmBreakChar = u' ';
  tm.tmItalic = (instance.face().italic || instance.slanted()) ? 1 : 0;
  tm.tmUnderlined = log.lfUnderline ? 1 : 0;
  tm.tmStruckOut = log.lfStrikeOut ? 1 : 0;
  // Low bits: 1 variable pitch, 2 outline font, 4 TrueType-style outlines.
  tm.tmPitchAndFamily = BYTE((instance.face().fixedPitch ? 0 : 1) | 2 | 4);
  tm.tmCharSet = instance.face().hebrew ? HEBREW_CHARSET : ANSI_CHARSET;
  return tm;
}

}  // namespace

std::shared_ptr<Font> MakeFont(const LOGFONTW& log) {
  const bool bold = WantsBold(log);
  const bool italic = log.lfItalic != 0;
  auto face = MatchFace(FaceName(log), bold, italic, log.lfCharSet == HEBREW_CHARSET);
  if (!face) return nullptr;
  auto instance = InstanceFor(*face, EffectiveHeight(log.lfHeight), bold, italic);
  if (!instance) return nullptr;
  auto font = std::make_shared<Font>();
  font->log = log;
  std::fill(std::begin(font->log.lfFaceName), std::end(font->log.lfFaceName), 0);
  const std::u16string name = FaceName(log);
  std::copy(name.begin(), name.end(), font->log.lfFaceName);
  font->instance = std::move(instance);
  return font;
}

}  // namespace gdi

using namespace gdi;

HFONT CreateFontIndirectW(const LOGFONTW* log) try {
  if (!log) return nullptr;
  auto font = MakeFont(*log);
  if (!font) return nullptr;
  return static_cast<HFONT>(Register(font));
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(nullptr);
}

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics) try {
  auto context = FindDc(dc);
  if (!context || !metrics || !context->font.object) return FALSE;
  const Font& font = *context->font.object;
  *metrics = MetricsOf(*font.instance, font.log);
  return TRUE;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(FALSE);
}

int EnumFontFamiliesW(HDC dc, LPCWSTR family, FONTENUMPROCW callback, LPARAM param) try {
  if (!FindDc(dc) || !callback) return 0;
  std::u16string wanted;
  if (family) wanted = family;
  int result = 1;
  for (const FaceFile& face : InstalledFamilies()) {
    if (family && face.family != wanted) continue;
    auto instance = InstanceFor(face, kDefaultCellHeight, false, false);
    if (!instance) continue;
    LOGFONTW log{};
    log.lfHeight = instance->metrics().height;
    log.lfWeight = face.bold ? FW_BOLD : FW_NORMAL;
    log.lfItalic = face.italic ? 1 : 0;
    log.lfCharSet = face.hebrew ? HEBREW_CHARSET : ANSI_CHARSET;
    log.lfPitchAndFamily = face.fixedPitch ? 1 : 2;
    const size_t n = std::min<size_t>(face.family.size(), LF_FACESIZE - 1);
    std::copy_n(face.family.begin(), n, log.lfFaceName);
    const TEXTMETRICW tm = MetricsOf(*instance, log);
    // An exception escaping the callback would unwind its caller: noexcept ends there.
    result = [&]() noexcept { return callback(&log, &tm, TRUETYPE_FONTTYPE, param); }();
    if (result == 0) break;
  }
  return result;
} catch (const std::bad_alloc&) {
  return kernel::OutOfMemory(0);
}
