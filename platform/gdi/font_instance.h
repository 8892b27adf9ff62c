// A font face opened at one size and style, with its metrics and its glyph cache. Fonts
// (HFONT) that ask for the same face, size and synthetic style share one instance.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi.h"

namespace gdi {

// A rendered glyph: coverage 0..255 per pixel, placed relative to the pen on the baseline.
struct Glyph {
  int advance = 0;  // whole pixels: what measuring adds and what drawing moves by
  int left = 0;     // from the pen to the bitmap's left column
  int top = 0;      // from the baseline up to the bitmap's top row
  int width = 0;
  int rows = 0;
  std::vector<uint8_t> coverage;
};

struct FontMetrics {
  int height = 0;  // ascent + descent: the cell
  int ascent = 0;
  int descent = 0;
  int internalLeading = 0;
  int externalLeading = 0;
  int aveCharWidth = 0;
  int maxCharWidth = 0;
  int underlineTop = 0;  // rows below the baseline
  int underlineThickness = 1;
  int strikeoutTop = 0;  // rows above the baseline
  int strikeoutThickness = 1;
};

// What the face lookup found for a request.
struct FaceFile {
  std::string path;
  int index = 0;
  std::u16string family;
  bool bold = false;    // the face itself is bold
  bool italic = false;  // the face itself is italic or oblique
  bool hebrew = false;  // has the letters U+05D0..U+05EA
  bool fixedPitch = false;
};

// How an instance is made: a face file at a height with synthetic styles.
struct InstanceRequest {
  FaceFile face;
  int height = 0;  // > 0 cell height, < 0 em height, in pixels; never 0 here
  bool emboldened = false;
  bool slanted = false;
};

class FontInstance {
 public:
  ~FontInstance();
  FontInstance(const FontInstance&) = delete;
  FontInstance& operator=(const FontInstance&) = delete;

  // The glyph drawn for a code point: the font's own, or its missing-glyph box.
  const Glyph& glyphFor(char32_t ch);
  const FontMetrics& metrics() const { return metrics_; }
  const FaceFile& face() const { return request_.face; }
  bool emboldened() const { return request_.emboldened; }
  bool slanted() const { return request_.slanted; }
  // First and last code point of the face in the 16-bit range.
  char16_t firstChar() const { return firstChar_; }
  char16_t lastChar() const { return lastChar_; }

  // The shared instance for the request; null when the face cannot be opened.
  static std::shared_ptr<FontInstance> Open(const InstanceRequest& request);

 private:
  struct Face;
  explicit FontInstance(const InstanceRequest& request);
  bool load();
  void measure();
  Glyph render(uint32_t glyphIndex);

  InstanceRequest request_;
  std::unique_ptr<Face> face_;
  FontMetrics metrics_;
  char16_t firstChar_ = 0;
  char16_t lastChar_ = 0;
  std::unordered_map<uint32_t, Glyph> byGlyph_;
  std::unordered_map<char32_t, const Glyph*> byChar_;
};

// How many glyphs FreeType has rasterised since start (the glyph cache's misses).
unsigned long GlyphRasterCount();

}  // namespace gdi
