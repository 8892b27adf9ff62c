// Face lookup through fontconfig.
#include "gdi/font_match.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <tuple>

#include "kernel/utf.h"

namespace gdi {
namespace {

// Narrow enough that dialogs laid out in dialog units keep the handheld's proportions.
constexpr char kInterfaceFamily[] = "DejaVu Sans Condensed";

bool EnsureFontconfig() {
  static const bool ready = FcInit() == FcTrue;
  return ready;
}

// Names the program may ask for that stand for the user-interface font here.
bool IsInterfaceAlias(const std::u16string& family) {
  std::u16string lower;
  for (char16_t c : family) lower.push_back(c >= u'A' && c <= u'Z' ? c + 32 : c);
  return lower.empty() || lower == u"system" || lower == u"tahoma";
}

bool HasHebrewLetters(FcPattern* pattern) {
  FcCharSet* chars = nullptr;
  if (FcPatternGetCharSet(pattern, FC_CHARSET, 0, &chars) != FcResultMatch) return false;
  for (FcChar32 c = 0x05D0; c <= 0x05EA; ++c) {
    if (!FcCharSetHasChar(chars, c)) return false;
  }
  return true;
}

// The name a program knows the family by: a face lists its typographic family first
// and its own family (the one that tells "Condensed" or "Light" apart) after it, then
// names in other languages; the last English name is the face's own.
std::u16string FamilyName(FcPattern* pattern) {
  FcChar8* name = nullptr;
  FcChar8* chosen = nullptr;
  for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    FcChar8* lang = nullptr;
    bool english = FcPatternGetString(pattern, FC_FAMILYLANG, i, &lang) != FcResultMatch ||
                   std::strcmp(reinterpret_cast<const char*>(lang), "en") == 0;
    if (!chosen || english) chosen = name;
  }
  return chosen ? kernel::Utf8ToUtf16(reinterpret_cast<const char*>(chosen)) : std::u16string();
}

int IntegerOf(FcPattern* pattern, const char* object, int fallback) {
  int value = fallback;
  FcPatternGetInteger(pattern, object, 0, &value);
  return value;
}

std::optional<FaceFile> FaceOf(FcPattern* pattern) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(pattern, FC_FILE, 0, &file) != FcResultMatch) return std::nullopt;
  FaceFile face;
  face.path = reinterpret_cast<const char*>(file);
  face.index = IntegerOf(pattern, FC_INDEX, 0);
  face.family = FamilyName(pattern);
  face.bold = IntegerOf(pattern, FC_WEIGHT, FC_WEIGHT_REGULAR) >= FC_WEIGHT_DEMIBOLD;
  face.italic = IntegerOf(pattern, FC_SLANT, FC_SLANT_ROMAN) != FC_SLANT_ROMAN;
  face.fixedPitch = IntegerOf(pattern, FC_SPACING, FC_PROPORTIONAL) >= FC_MONO;
  face.hebrew = HasHebrewLetters(pattern);
  return face;
}

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

std::optional<FaceFile> FindFace(const std::u16string& family, bool bold, bool italic,
                                 bool hebrew) {
  if (!EnsureFontconfig()) return std::nullopt;
  const std::string name =
      IsInterfaceAlias(family) ? std::string(kInterfaceFamily) : kernel::Utf16ToUtf8(family);
  PatternPtr pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  if (hebrew) FcPatternAddString(pattern.get(), FC_LANG, reinterpret_cast<const FcChar8*>("he"));
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  PatternPtr match(FcFontMatch(nullptr, pattern.get(), &result));
  if (!match) return std::nullopt;
  std::optional<FaceFile> face = FaceOf(match.get());
  // The configuration may promise synthetic bold or slant for a face that lacks them and
  // report the requested style; the face itself is what counts here.
  FcBool embolden = FcFalse;
  if (face && FcPatternGetBool(match.get(), FC_EMBOLDEN, 0, &embolden) == FcResultMatch &&
      embolden) {
    face->bold = false;
  }
  FcMatrix* matrix = nullptr;
  if (face && FcPatternGetMatrix(match.get(), FC_MATRIX, 0, &matrix) == FcResultMatch) {
    face->italic = false;
  }
  return face;
}

}  // namespace

// The configuration is read once, so a request always finds the same face: it is looked
// up only the first time.
std::optional<FaceFile> MatchFace(const std::u16string& family, bool bold, bool italic,
                                  bool hebrew) {
  static std::map<std::tuple<std::u16string, bool, bool, bool>, std::optional<FaceFile>> found;
  const auto key = std::make_tuple(family, bold, italic, hebrew);
  if (auto it = found.find(key); it != found.end()) return it->second;
  return found[key] = FindFace(family, bold, italic, hebrew);
}

std::vector<FaceFile> InstalledFamilies() {
  if (!EnsureFontconfig()) return {};
  PatternPtr pattern(FcPatternCreate());
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_FAMILYLANG, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT,
                                          FC_SPACING, FC_CHARSET, nullptr);
  FcFontSet* set = FcFontList(nullptr, pattern.get(), objects);
  FcObjectSetDestroy(objects);
  std::map<std::u16string, FaceFile> families;
  auto plainness = [](const FaceFile& f) { return int(f.bold) + int(f.italic); };
  for (int i = 0; set && i < set->nfont; ++i) {
    std::optional<FaceFile> face = FaceOf(set->fonts[i]);
    if (!face || face->family.empty()) continue;
    auto [it, added] = families.try_emplace(face->family, *face);
    if (added) continue;
    FaceFile& known = it->second;
    const bool hebrew = known.hebrew || face->hebrew;
    if (plainness(*face) < plainness(known)) known = *face;
    known.hebrew = hebrew;
  }
  if (set) FcFontSetDestroy(set);
  std::vector<FaceFile> list;
  for (auto& [name, face] : families) list.push_back(std::move(face));
  return list;
}

}  // namespace gdi
