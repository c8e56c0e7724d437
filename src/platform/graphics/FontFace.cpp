#include "platform/graphics/FontFace.h"

#include FT_TRUETYPE_TABLES_H
#include FT_SIZES_H
#include FT_SYNTHESIS_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H

#include <hb-ft.h>

#include <algorithm>
#include <map>
#include <tuple>

#include "platform/base/Exception.h"
#include "platform/graphics/TextScripts.h"

namespace {

// Sizes beyond this many pixels per em are drawn at it: no page needs more, and a
// glyph's bitmap grows with the square of the size.
constexpr int32_t MaxPpem = 4096;
// Glyphs of sizes up to this many pixels per em are kept once rendered; larger ones
// (rare, and each as large as the square of its size) are rendered for each use.
constexpr int32_t MaxCachedGlyphPpem = 256;
// The em height of a logical font of height 0 (12 points at 96 pixels per inch).
constexpr int32_t DefaultPpem = 16;

// The engine and every face and sized face, released in that order's reverse at exit.
struct TFontCache {
  TFontCache() {
    if (FT_Init_FreeType(&Library) != 0) throw Exception("Cannot initialise the font engine");
  }
  ~TFontCache() {
    Sizes.clear();
    Faces.clear();
    FT_Done_FreeType(Library);
  }
  FT_Library Library = nullptr;
  std::map<std::pair<std::string, int32_t>, std::unique_ptr<TFontFace>> Faces;
  std::map<std::tuple<std::string, int32_t, bool, bool, int32_t, int32_t>, std::unique_ptr<TSizedFont>> Sizes;
};

TFontCache& Cache() {
  static TFontCache cache;
  return cache;
}

}  // namespace

int32_t ScaleFontUnits(int64_t value, int64_t num, int64_t den) noexcept {
  if (den == 0) return -1;
  bool negative = (value < 0) != (num < 0);
  if (den < 0) {
    den = -den;
    negative = !negative;
  }
  int64_t product = (value < 0 ? -value : value) * (num < 0 ? -num : num);
  int64_t result = (2 * product + den) / (2 * den);
  return static_cast<int32_t>(negative ? -result : result);
}

bool IsZeroWidthChar(char32_t c) noexcept {
  return (c >= 0x200B && c <= 0x200F) || (c >= 0x202A && c <= 0x202E) || (c >= 0x2060 && c <= 0x2064) ||
         (c >= 0x2066 && c <= 0x2069) || c == 0xFEFF;
}

TFontFace& TFontFace::Get(const std::string& fileName, int32_t faceIndex) {
  auto& faces = Cache().Faces;
  auto key = std::make_pair(fileName, faceIndex);
  auto it = faces.find(key);
  if (it != faces.end()) return *it->second;
  FT_Face face = nullptr;
  if (FT_New_Face(Cache().Library, fileName.c_str(), faceIndex, &face) != 0)
    throw Exception("Cannot open the font file " + fileName);
  std::unique_ptr<TFontFace> owned(new TFontFace(face));
  return *faces.emplace(key, std::move(owned)).first->second;
}

TFontFace::TFontFace(FT_Face face) : FFace(face) {
  // A symbol font without Unicode characters is read by its own codes.
  SymbolEncoded =
      FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 && FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0;
  UnitsPerEm = face->units_per_EM > 0 ? face->units_per_EM : 2048;
  HheaAscender = face->ascender;
  HheaDescender = face->descender;
  HheaLineGap = face->height - (face->ascender - face->descender);
  MaxAdvance = face->max_advance_width;
  UnderlinePosition = face->underline_position;
  UnderlineThickness = face->underline_thickness;
  WinAscent = face->ascender;
  WinDescent = -face->descender;
  XAvgCharWidth = UnitsPerEm / 2;
  StrikeoutSize = UnderlineThickness;
  StrikeoutPosition = UnitsPerEm / 4;
  FixedPitch = FT_IS_FIXED_WIDTH(face);
  if (auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA))) {
    HheaAscender = hhea->Ascender;
    HheaDescender = hhea->Descender;
    HheaLineGap = hhea->Line_Gap;
    MaxAdvance = hhea->advance_Width_Max;
  }
  if (auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST))) {
    UnderlinePosition = static_cast<int16_t>(post->underlinePosition);
    UnderlineThickness = static_cast<int16_t>(post->underlineThickness);
  }
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF) {
    WinAscent = os2->usWinAscent;
    WinDescent = os2->usWinDescent;
    XAvgCharWidth = os2->xAvgCharWidth;
    StrikeoutSize = os2->yStrikeoutSize;
    StrikeoutPosition = os2->yStrikeoutPosition;
  }
}

TFontFace::~TFontFace() {
  if (FShapingFont) hb_font_destroy(FShapingFont);
  FT_Done_Face(FFace);
}

hb_font_t* TFontFace::ShapingFont() {
  if (!FShapingFont) {
    hb_face_t* face = hb_ft_face_create_referenced(FFace);
    FShapingFont = hb_font_create(face);
    hb_face_destroy(face);
    hb_font_set_scale(FShapingFont, UnitsPerEm, UnitsPerEm);
  }
  return FShapingFont;
}

TSizedFont& TSizedFont::Get(const TResolvedFontFace& resolved, int32_t logicalHeight, int32_t logicalWidth) {
  auto& fonts = Cache().Sizes;
  TFontFace& face = TFontFace::Get(resolved.FileName, resolved.FaceIndex);
  int32_t ppem = DefaultPpem;
  if (logicalHeight < 0) {
    ppem = logicalHeight < -MaxPpem ? MaxPpem : -logicalHeight;
  } else if (logicalHeight > 0) {
    int32_t cell = face.WinAscent + face.WinDescent;
    ppem = cell > 0 ? ScaleFontUnits(std::min(logicalHeight, MaxPpem * 4), face.UnitsPerEm, cell) : logicalHeight;
  }
  ppem = std::clamp(ppem, 1, MaxPpem);
  int32_t width = std::clamp(logicalWidth < 0 ? -logicalWidth : logicalWidth, 0, MaxPpem * 4);
  auto key = std::make_tuple(resolved.FileName, resolved.FaceIndex, resolved.SyntheticBold, resolved.SyntheticItalic,
                             ppem, width);
  auto it = fonts.find(key);
  if (it != fonts.end()) return *it->second;
  std::unique_ptr<TSizedFont> owned(new TSizedFont(face, resolved, ppem, width));
  return *fonts.emplace(key, std::move(owned)).first->second;
}

TSizedFont::TSizedFont(TFontFace& face, const TResolvedFontFace& resolved, int32_t ppem, int32_t logicalWidth)
    : FFace(face),
      FResolved(resolved),
      FSyntheticBold(resolved.SyntheticBold),
      FSyntheticItalic(resolved.SyntheticItalic) {
  const int32_t upem = face.UnitsPerEm;
  FXNum = ppem;
  FXDen = upem;
  int32_t naturalAverage = ScaleFontUnits(face.XAvgCharWidth, ppem, upem);
  const bool widthScaled = logicalWidth > 0 && naturalAverage > 0;
  if (widthScaled) {
    FXNum = int64_t{ppem} * logicalWidth;
    FXDen = int64_t{upem} * naturalAverage;
  }
  TFontMetrics& m = FMetrics;
  m.Ppem = ppem;
  m.Ascent = ScaleFontUnits(face.WinAscent, ppem, upem);
  m.Descent = ScaleFontUnits(face.WinDescent, ppem, upem);
  m.Height = m.Ascent + m.Descent;
  m.InternalLeading = m.Height - ppem;
  int32_t gap = face.HheaLineGap - ((face.WinAscent + face.WinDescent) - (face.HheaAscender - face.HheaDescender));
  m.ExternalLeading = ScaleFontUnits(std::max(gap, 0), ppem, upem);
  m.LineGap = ScaleFontUnits(face.HheaLineGap, ppem, upem);
  // A requested width is the average width, exactly.
  m.AveCharWidth = widthScaled ? logicalWidth : naturalAverage;
  m.MaxCharWidth = ScaleFontUnits(face.MaxAdvance, FXNum, FXDen) + (FSyntheticBold ? 1 : 0);
  m.UnderscoreSize = std::max(ScaleFontUnits(face.UnderlineThickness, ppem, upem), 1);
  m.UnderscorePosition = ScaleFontUnits(face.UnderlinePosition, ppem, upem);
  m.StrikeoutSize = std::max(ScaleFontUnits(face.StrikeoutSize, ppem, upem), 1);
  m.StrikeoutPosition = ScaleFontUnits(face.StrikeoutPosition, ppem, upem);
  m.FixedPitch = face.FixedPitch;

  if (FT_New_Size(face.Face(), &FSize) != 0) throw Exception("Cannot size the font");
  FT_Activate_Size(FSize);
  FT_F26Dot6 widthDots = static_cast<FT_F26Dot6>(FXNum * upem * 64 / FXDen);
  FT_Set_Char_Size(face.Face(), widthDots, FT_F26Dot6{ppem} * 64, 72, 72);
}

TSizedFont::~TSizedFont() {
  if (FSize) FT_Done_Size(FSize);
}

int32_t TSizedFont::ComputeInfo(char32_t c) {
  if (IsZeroWidthChar(c)) return MappedBit;
  FT_UInt glyph = FT_Get_Char_Index(FFace.Face(), c);
  // Controls keep the face's missing glyph: no face draws them.
  const bool mapped = glyph != 0 || c < 0x20 || (c >= 0x7F && c < 0xA0);
  const int32_t flags = (mapped ? MappedBit : 0) | (NeedsShaping(c) ? ShapedBit : 0);
  FT_Fixed units = 0;
  if (FT_Get_Advance(FFace.Face(), glyph, FT_LOAD_NO_SCALE, &units) != 0) return flags;
  int32_t px = ScaleFontUnits(units, FXNum, FXDen);
  if (px > 0 && FSyntheticBold) ++px;
  return px * 4 | flags;
}

int32_t TSizedFont::Info(char32_t c) {
  if (c < 0x10000) {
    auto& page = FBmpInfo[c >> 8];
    if (!page) {
      page = std::make_unique<std::array<int32_t, 256>>();
      page->fill(-1);
    }
    int32_t& slot = (*page)[c & 0xFF];
    if (slot < 0) slot = ComputeInfo(c);
    return slot;
  }
  auto it = FOtherInfo.find(c);
  if (it != FOtherInfo.end()) return it->second;
  return FOtherInfo[c] = ComputeInfo(c);
}

TSizedFont* TSizedFont::FindFallback(char32_t c) {
  const bool bold = FResolved.SyntheticBold || (FFace.Face()->style_flags & FT_STYLE_FLAG_BOLD);
  const bool italic = FResolved.SyntheticItalic || (FFace.Face()->style_flags & FT_STYLE_FLAG_ITALIC);
  std::optional<TResolvedFontFace> face = FindFallbackFace(FResolved.FamilyName, bold, italic, c);
  if (!face) return nullptr;
  TSizedFont& fallback = Get(*face, -FMetrics.Ppem, 0);
  return &fallback != this && fallback.Maps(c) ? &fallback : nullptr;
}

TSizedFont& TSizedFont::FaceFor(char32_t c) {
  if (Maps(c)) return *this;
  const hb_script_t script = ScriptOf(c);
  auto [byScript, fresh] = FScriptFallbacks.try_emplace(script, nullptr);
  if (fresh) byScript->second = FindFallback(c);
  if (byScript->second && byScript->second->Maps(c)) return *byScript->second;
  auto [byChar, freshChar] = FCharFallbacks.try_emplace(c, nullptr);
  if (freshChar) byChar->second = FindFallback(c);
  return byChar->second ? *byChar->second : *this;
}

const TGlyphImage& TSizedFont::Glyph(char32_t c, bool mono) {
  const uint64_t key = (uint64_t{c} << 2) | (mono ? 1 : 0);
  auto it = FGlyphs.find(key);
  if (it != FGlyphs.end()) return it->second;
  if (IsZeroWidthChar(c)) {
    TGlyphImage& image = FMetrics.Ppem <= MaxCachedGlyphPpem ? FGlyphs[key] : FScratchGlyph;
    image = TGlyphImage{};
    return image;
  }
  return Render(key, FT_Get_Char_Index(FFace.Face(), c), mono);
}

const TGlyphImage& TSizedFont::GlyphById(uint32_t glyph, bool mono) {
  const uint64_t key = (uint64_t{glyph} << 2) | 2 | (mono ? 1 : 0);
  auto it = FGlyphs.find(key);
  if (it != FGlyphs.end()) return it->second;
  return Render(key, glyph, mono);
}

const TGlyphImage& TSizedFont::Render(uint64_t key, uint32_t glyph, bool mono) {
  TGlyphImage& image = FMetrics.Ppem <= MaxCachedGlyphPpem ? FGlyphs[key] : FScratchGlyph;
  image = TGlyphImage{};
  FT_Face face = FFace.Face();
  FT_Activate_Size(FSize);
  // Monochrome glyphs are hinted by the auto-hinter, not by the font's own instructions:
  // those give the Liberation faces 2-pixel stems in many Cyrillic letters beside 1-pixel
  // Latin ones at text sizes, while the auto-hinter fits stems alike in every script. Its
  // normal mode keeps serifs and letter gaps better than its mono mode; smart dropout
  // control keeps the thin serifs and diagonals that it thins below a pixel. Advances
  // never come from the hinted outline, so measuring is unchanged.
  const FT_Int32 flags =
      FT_LOAD_NO_BITMAP | (mono ? FT_LOAD_FORCE_AUTOHINT | FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_LIGHT);
  if (FT_Load_Glyph(face, glyph, flags) != 0) return image;
  if (mono) face->glyph->outline.flags |= FT_OUTLINE_SMART_DROPOUTS | FT_OUTLINE_INCLUDE_STUBS;
  if (FSyntheticItalic) FT_GlyphSlot_Oblique(face->glyph);
  if (FSyntheticBold) FT_GlyphSlot_Embolden(face->glyph);
  if (FT_Render_Glyph(face->glyph, mono ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return image;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  image.Left = face->glyph->bitmap_left;
  image.Top = face->glyph->bitmap_top;
  image.Width = static_cast<int32_t>(bitmap.width);
  image.Height = static_cast<int32_t>(bitmap.rows);
  image.Coverage.assign(static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height), 0);
  for (int32_t y = 0; y < image.Height; ++y) {
    const unsigned char* row = bitmap.buffer + static_cast<ptrdiff_t>(y) * bitmap.pitch;
    uint8_t* out = image.Coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(image.Width);
    for (int32_t x = 0; x < image.Width; ++x) {
      if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO)
        out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
      else
        out[x] = row[x];
    }
  }
  return image;
}
