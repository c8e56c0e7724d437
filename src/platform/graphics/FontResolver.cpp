#include "platform/graphics/FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <cstdlib>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/TextUtils.h"

namespace {

struct TFcPatternDeleter {
  void operator()(FcPattern* p) const noexcept { FcPatternDestroy(p); }
};
struct TFcFontSetDeleter {
  void operator()(FcFontSet* s) const noexcept { FcFontSetDestroy(s); }
};
struct TFcObjectSetDeleter {
  void operator()(FcObjectSet* s) const noexcept { FcObjectSetDestroy(s); }
};
struct TFcCharSetDeleter {
  void operator()(FcCharSet* s) const noexcept { FcCharSetDestroy(s); }
};
using TFcPatternPtr = std::unique_ptr<FcPattern, TFcPatternDeleter>;

// Faces the documents name, mapped to the metric-compatible families we install.
std::string MetricAlias(const std::string& lowerName) {
  static const std::map<std::string, std::string> aliases = {
      {"times new roman", "Liberation Serif"},
      {"times", "Liberation Serif"},
      {"arial", "Liberation Sans"},
      {"helvetica", "Liberation Sans"},
      {"ms sans serif", "Liberation Sans"},
      {"courier new", "Liberation Mono"},
      {"courier", "Liberation Mono"},
      // Not of its metrics, but of its letters: the Symbol font's Greek is drawn as Times's.
      {"symbol", "Liberation Serif"},
  };
  auto it = aliases.find(lowerName);
  return it == aliases.end() ? std::string() : it->second;
}

// fontconfig, initialised on first use and finished at exit (so its caches are freed).
struct TFontconfig {
  TFontconfig() {
    if (!FcInit()) throw Exception("No font is installed");
  }
  ~TFontconfig() { FcFini(); }
};

FcConfig* Config() {
  static TFontconfig fontconfig;
  return FcConfigGetCurrent();
}

struct TCandidate {
  std::string File;
  int Index = 0;
  std::string Family;
  int Weight = FC_WEIGHT_REGULAR;
  int Slant = FC_SLANT_ROMAN;
  int Width = FC_WIDTH_NORMAL;
};

std::vector<TCandidate> ListFamily(const std::string& family) {
  TFcPatternPtr pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  std::unique_ptr<FcObjectSet, TFcObjectSetDeleter> objects(
      FcObjectSetBuild(FC_FILE, FC_INDEX, FC_FAMILY, FC_WEIGHT, FC_SLANT, FC_WIDTH, nullptr));
  std::unique_ptr<FcFontSet, TFcFontSetDeleter> set(FcFontList(Config(), pattern.get(), objects.get()));
  std::vector<TCandidate> out;
  if (!set) return out;
  for (int i = 0; i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    TCandidate c;
    FcChar8* text = nullptr;
    if (FcPatternGetString(font, FC_FILE, 0, &text) != FcResultMatch) continue;
    c.File = reinterpret_cast<const char*>(text);
    if (FcPatternGetString(font, FC_FAMILY, 0, &text) == FcResultMatch) c.Family = reinterpret_cast<const char*>(text);
    FcPatternGetInteger(font, FC_INDEX, 0, &c.Index);
    FcPatternGetInteger(font, FC_WEIGHT, 0, &c.Weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &c.Slant);
    FcPatternGetInteger(font, FC_WIDTH, 0, &c.Width);
    out.push_back(std::move(c));
  }
  return out;
}

// fontconfig's own answer for a generic family, the last resort.
std::vector<TCandidate> MatchGeneric(const char* generic) {
  TFcPatternPtr pattern(FcNameParse(reinterpret_cast<const FcChar8*>(generic)));
  FcConfigSubstitute(Config(), pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  TFcPatternPtr match(FcFontMatch(Config(), pattern.get(), &result));
  if (!match) return {};
  FcChar8* family = nullptr;
  if (FcPatternGetString(match.get(), FC_FAMILY, 0, &family) != FcResultMatch) return {};
  return ListFamily(reinterpret_cast<const char*>(family));
}

// Lower is better: an unusual width costs more than a synthesised slant, the wrong slant
// more than any weight difference. Ties go to the file name that sorts first.
int Distance(const TCandidate& c, bool bold, bool italic) {
  int wantWeight = bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR;
  bool isItalic = c.Slant != FC_SLANT_ROMAN;
  return std::abs(c.Width - FC_WIDTH_NORMAL) * 100000 + (isItalic != italic ? 10000 : 0) +
         std::abs(c.Weight - wantWeight);
}

TResolvedFontFace Resolve(const std::string& family, bool bold, bool italic) {
  std::vector<TCandidate> candidates = ListFamily(family);
  if (candidates.empty()) candidates = ListFamily(DefaultFontFamily);
  if (candidates.empty()) candidates = MatchGeneric("sans-serif");
  if (candidates.empty()) throw Exception("No font is installed");
  const TCandidate* best = &candidates.front();
  for (const TCandidate& c : candidates)
    if (Distance(c, bold, italic) < Distance(*best, bold, italic) ||
        (Distance(c, bold, italic) == Distance(*best, bold, italic) && c.File < best->File))
      best = &c;
  TResolvedFontFace face;
  face.FileName = best->File;
  face.FaceIndex = best->Index;
  face.FamilyName = best->Family;
  face.SyntheticBold = bold && best->Weight < FC_WEIGHT_DEMIBOLD;
  face.SyntheticItalic = italic && best->Slant == FC_SLANT_ROMAN;
  return face;
}

}  // namespace

const TResolvedFontFace& ResolveFontFace(WideStringView faceName, bool bold, bool italic) {
  static std::map<std::tuple<std::string, bool, bool>, TResolvedFontFace> cache;
  std::string name = WideToAnsi(faceName.substr(0, 31), CP_UTF8);  // a lone surrogate becomes U+FFFD
  auto key = std::make_tuple(LowerCase(name), bold, italic);
  auto it = cache.find(key);
  if (it != cache.end()) return it->second;
  std::string alias = MetricAlias(std::get<0>(key));
  TResolvedFontFace face = Resolve(alias.empty() ? name : alias, bold, italic);
  return cache.emplace(std::move(key), std::move(face)).first->second;
}

std::optional<TResolvedFontFace> FindFallbackFace(const std::string& family, bool bold, bool italic, char32_t c) {
  TFcPatternPtr pattern(FcPatternCreate());
  FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pattern.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
  std::unique_ptr<FcCharSet, TFcCharSetDeleter> wanted(FcCharSetCreate());
  FcCharSetAddChar(wanted.get(), c);
  FcPatternAddCharSet(pattern.get(), FC_CHARSET, wanted.get());
  // The substitutions add the family's generic class and its usual members after it.
  FcConfigSubstitute(Config(), pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  std::unique_ptr<FcFontSet, TFcFontSetDeleter> set(FcFontSort(Config(), pattern.get(), FcFalse, nullptr, &result));
  if (!set) return std::nullopt;
  for (int i = 0; i < set->nfont; ++i) {
    FcPattern* font = set->fonts[i];
    FcCharSet* charset = nullptr;
    FcBool scalable = FcFalse;
    FcChar8* file = nullptr;
    if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch || !FcCharSetHasChar(charset, c) ||
        FcPatternGetBool(font, FC_SCALABLE, 0, &scalable) != FcResultMatch || !scalable ||
        FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch)
      continue;
    TResolvedFontFace face;
    face.FileName = reinterpret_cast<const char*>(file);
    FcChar8* name = nullptr;
    if (FcPatternGetString(font, FC_FAMILY, 0, &name) == FcResultMatch)
      face.FamilyName = reinterpret_cast<const char*>(name);
    int weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
    FcPatternGetInteger(font, FC_INDEX, 0, &face.FaceIndex);
    FcPatternGetInteger(font, FC_WEIGHT, 0, &weight);
    FcPatternGetInteger(font, FC_SLANT, 0, &slant);
    face.SyntheticBold = bold && weight < FC_WEIGHT_DEMIBOLD;
    face.SyntheticItalic = italic && slant == FC_SLANT_ROMAN;
    return face;
  }
  return std::nullopt;
}
