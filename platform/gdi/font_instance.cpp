// FreeType faces at a size: metrics in whole pixels and the glyph cache.
#include "gdi/font_instance.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SIZES_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <tuple>

namespace gdi {
namespace {

unsigned long rasterCount = 0;

FT_Library Library() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    return lib;
  }();
  return library;
}

// One face file, opened once and shared by the instances of every size and style made
// from it; its range of characters is found once too.
struct OpenFace {
  FT_Face face = nullptr;
  char16_t firstChar = 0;
  char16_t lastChar = 0;
  ~OpenFace() {
    if (face) FT_Done_Face(face);
  }
};

// First and last code point of the face's character map in the 16-bit range.
void FindCharacterRange(OpenFace& open) {
  FT_ULong first = 0, last = 0;
  FT_UInt index = 0;
  for (FT_ULong c = FT_Get_First_Char(open.face, &index); index != 0;
       c = FT_Get_Next_Char(open.face, c, &index)) {
    if (c > 0xFFFF) break;
    if (first == 0 && last == 0) first = c;
    last = c;
  }
  open.firstChar = char16_t(first);
  open.lastChar = char16_t(last);
}

// The open face of the file while any instance uses it; null when the file is no
// scalable face.
std::shared_ptr<OpenFace> OpenFaceFile(const FaceFile& file) {
  static std::map<std::pair<std::string, int>, std::weak_ptr<OpenFace>> faces;
  const std::pair<std::string, int> key{file.path, file.index};
  if (auto it = faces.find(key); it != faces.end()) {
    if (auto live = it->second.lock()) return live;
  }
  if (!Library()) return nullptr;
  auto open = std::make_shared<OpenFace>();
  if (FT_New_Face(Library(), file.path.c_str(), file.index, &open->face) != 0) {
    open->face = nullptr;
    return nullptr;
  }
  if (!FT_IS_SCALABLE(open->face) || open->face->units_per_EM == 0) return nullptr;
  FT_Select_Charmap(open->face, FT_ENCODING_UNICODE);
  FindCharacterRange(*open);
  faces[key] = open;
  return open;
}

using InstanceKey = std::tuple<std::string, int, int, bool, bool>;

InstanceKey KeyOf(const InstanceRequest& r) {
  return {r.face.path, r.face.index, r.height, r.emboldened, r.slanted};
}

// Instances live while a font uses them; the last few released stay open, so deleting a
// font and creating it again (as a font change does) keeps the glyph cache warm.
std::map<InstanceKey, std::weak_ptr<FontInstance>>& Instances() {
  static std::map<InstanceKey, std::weak_ptr<FontInstance>> instances;
  return instances;
}

void KeepRecent(const std::shared_ptr<FontInstance>& instance) {
  static std::deque<std::shared_ptr<FontInstance>> recent;
  constexpr size_t kKept = 16;
  recent.erase(std::remove(recent.begin(), recent.end(), instance), recent.end());
  recent.push_back(instance);
  if (recent.size() > kKept) recent.pop_front();
}

int RoundDiv(long long a, long long b) {
  return int(a >= 0 ? (a + b / 2) / b : -((-a + b / 2) / b));
}

// A hollow box for fonts whose missing glyph draws nothing, so a lacking character
// still shows.
Glyph BoxGlyph(int advance, int ascent) {
  Glyph box;
  box.advance = std::max(advance, std::max(3, ascent / 2));
  box.width = std::max(2, box.advance - 2);
  box.rows = std::max(3, ascent * 2 / 3);
  box.left = 1;
  box.top = box.rows;
  box.coverage.assign(size_t(box.width) * box.rows, 0);
  for (int y = 0; y < box.rows; ++y) {
    for (int x = 0; x < box.width; ++x) {
      if (y == 0 || y == box.rows - 1 || x == 0 || x == box.width - 1)
        box.coverage[size_t(y) * box.width + x] = 255;
    }
  }
  return box;
}

}  // namespace

// The shared face with this instance's own size.
struct FontInstance::Face {
  std::shared_ptr<OpenFace> file;
  FT_Size size = nullptr;
  long emboldenStrength = 0;  // 26.6
  ~Face() {
    if (size) FT_Done_Size(size);
  }
  // The face, set to this instance's size.
  FT_Face sized() {
    FT_Activate_Size(size);
    return file->face;
  }
};

unsigned long GlyphRasterCount() { return rasterCount; }

FontInstance::FontInstance(const InstanceRequest& request)
    : request_(request), face_(std::make_unique<Face>()) {}

FontInstance::~FontInstance() = default;

std::shared_ptr<FontInstance> FontInstance::Open(const InstanceRequest& request) {
  const InstanceKey key = KeyOf(request);
  auto& instances = Instances();
  if (auto it = instances.find(key); it != instances.end()) {
    if (auto live = it->second.lock()) {
      KeepRecent(live);
      return live;
    }
  }
  std::shared_ptr<FontInstance> instance(new FontInstance(request));
  if (!instance->load()) return nullptr;
  instances[key] = instance;
  KeepRecent(instance);
  return instance;
}

bool FontInstance::load() {
  face_->file = OpenFaceFile(request_.face);
  if (!face_->file || FT_New_Size(face_->file->face, &face_->size) != 0) return false;
  firstChar_ = face_->file->firstChar;
  lastChar_ = face_->file->lastChar;
  measure();
  return true;
}

// Sets the size so the cell (the font's Windows ascent plus descent) is the requested
// height, or so the em is, and derives the metrics in whole pixels from it.
void FontInstance::measure() {
  FT_Face face = face_->sized();
  const long upem = face->units_per_EM;
  const TT_OS2* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const TT_HoriHeader* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
  long ascUnits = face->ascender;
  long descUnits = -face->descender;
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    ascUnits = os2->usWinAscent;
    descUnits = os2->usWinDescent;
  }
  if (ascUnits + descUnits <= 0) {
    ascUnits = upem * 4 / 5;
    descUnits = upem - ascUnits;
  }
  const long cellUnits = ascUnits + descUnits;
  FontMetrics& m = metrics_;
  long ppem64 = 0;  // pixels per em, 26.6
  if (request_.height > 0) {
    ppem64 = std::max<long>(1, (long long)request_.height * upem * 64 / cellUnits);
    m.height = request_.height;
    m.ascent = RoundDiv((long long)ascUnits * request_.height, cellUnits);
    m.descent = m.height - m.ascent;
  } else {
    ppem64 = (long)-request_.height * 64;
    m.ascent = RoundDiv((long long)ascUnits * ppem64, upem * 64);
    m.descent = RoundDiv((long long)descUnits * ppem64, upem * 64);
    m.height = m.ascent + m.descent;
  }
  FT_Set_Char_Size(face, 0, ppem64, 72, 72);
  auto px = [&](long units) { return RoundDiv((long long)units * ppem64, upem * 64); };
  face_->emboldenStrength =
      request_.emboldened ? std::max<long>(64, (ppem64 / 24 + 32) & ~63L) : 0;
  const int bolder = int(face_->emboldenStrength / 64);

  m.internalLeading = std::max(0, m.height - int((ppem64 + 32) / 64));
  if (hhea) {
    const long hheaCell = hhea->Ascender - hhea->Descender;
    m.externalLeading = std::max(0, px(hhea->Line_Gap - (cellUnits - hheaCell)));
  }
  m.aveCharWidth = os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0
                       ? px(os2->xAvgCharWidth) + bolder
                       : glyphFor(U'x').advance;
  // Never 0, even for a font a pixel high: callers divide by it (dialog units).
  m.aveCharWidth = std::max(1, m.aveCharWidth);
  m.maxCharWidth = std::max(m.aveCharWidth, px(face->max_advance_width) + bolder);

  m.underlineThickness = std::max(1, px(face->underline_thickness));
  m.underlineTop = std::clamp(px(-face->underline_position) - m.underlineThickness / 2, 1,
                              std::max(1, m.descent - m.underlineThickness));
  const bool strike = os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0;
  m.strikeoutThickness = strike ? std::max(1, px(os2->yStrikeoutSize)) : m.underlineThickness;
  m.strikeoutTop = strike ? px(os2->yStrikeoutPosition) : m.ascent / 3;
}

const Glyph& FontInstance::glyphFor(char32_t ch) {
  if (auto it = byChar_.find(ch); it != byChar_.end()) return *it->second;
  const uint32_t index = FT_Get_Char_Index(face_->file->face, ch);
  auto it = byGlyph_.find(index);
  if (it == byGlyph_.end()) it = byGlyph_.emplace(index, render(index)).first;
  byChar_.emplace(ch, &it->second);
  return it->second;
}

Glyph FontInstance::render(uint32_t glyphIndex) {
  FT_Face face = face_->sized();
  Glyph glyph;
  if (FT_Load_Glyph(face, glyphIndex, FT_LOAD_DEFAULT | FT_LOAD_NO_BITMAP) != 0) {
    return glyphIndex == 0 ? BoxGlyph(0, metrics_.ascent) : glyph;
  }
  FT_GlyphSlot slot = face->glyph;
  long advance = slot->advance.x;
  if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
    if (face_->emboldenStrength > 0) {
      FT_Outline_Embolden(&slot->outline, face_->emboldenStrength);
      advance += face_->emboldenStrength;
    }
    if (request_.slanted) {
      FT_Matrix shear{0x10000, 0x0366A, 0, 0x10000};
      FT_Outline_Transform(&slot->outline, &shear);
    }
  }
  glyph.advance = int((advance + 32) >> 6);
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) == 0) {
    ++rasterCount;
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int(bitmap.width);
    glyph.rows = int(bitmap.rows);
    glyph.coverage.resize(size_t(glyph.width) * glyph.rows);
    for (int y = 0; y < glyph.rows; ++y) {
      const unsigned char* row = bitmap.buffer + (long)y * bitmap.pitch;
      std::copy(row, row + glyph.width, glyph.coverage.begin() + (long)y * glyph.width);
    }
  }
  const bool inked = std::any_of(glyph.coverage.begin(), glyph.coverage.end(),
                                 [](uint8_t c) { return c != 0; });
  if (glyphIndex == 0 && !inked) return BoxGlyph(glyph.advance, metrics_.ascent);
  return glyph;
}

}  // namespace gdi
