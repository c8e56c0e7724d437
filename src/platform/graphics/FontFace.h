// Faces and sized faces over FreeType (used inside the graphics library only: it names
// FreeType types).
//
// TFontFace holds one face of one font file and the table values the metrics need;
// TSizedFont is that face at one pixel size with the synthesis the resolver asked for:
// its metrics, its advances per character and its rendered glyphs, each computed once.
// Both are cached for the life of the process and used from one thread.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/graphics/FontResolver.h"

// Scales a value in font units: value * num / den, halves away from zero.
int32_t ScaleFontUnits(int64_t value, int64_t num, int64_t den) noexcept;

// True for the characters that take no room and draw nothing, whatever the font says:
// U+200B, U+200D, U+2060 and the other invisible format controls (U+200C, U+200E,
// U+200F, U+202A-U+202E, U+2061-U+2064, U+2066-U+2069, U+FEFF).
bool IsZeroWidthChar(char32_t c) noexcept;

class TFontFace {
public:
  static TFontFace& Get(const std::string& fileName, int32_t faceIndex);
  ~TFontFace();
  TFontFace(const TFontFace&) = delete;
  TFontFace& operator=(const TFontFace&) = delete;

  FT_Face Face() const noexcept { return FFace; }
  // The face for shaping, its scale one unit per font unit (made on first use).
  hb_font_t* ShapingFont();
  int32_t UnitsPerEm = 2048;
  int32_t WinAscent = 0;
  int32_t WinDescent = 0;
  int32_t HheaAscender = 0;
  int32_t HheaDescender = 0;
  int32_t HheaLineGap = 0;
  int32_t XAvgCharWidth = 0;
  int32_t MaxAdvance = 0;
  int32_t UnderlinePosition = 0;  // top of the underline, above the baseline (negative: below)
  int32_t UnderlineThickness = 0;
  int32_t StrikeoutPosition = 0;  // top of the stroke above the baseline
  int32_t StrikeoutSize = 0;
  bool FixedPitch = false;
  // The face has no Unicode characters, only a symbol font's codes (U+F020 - U+F0FF).
  bool SymbolEncoded = false;

private:
  explicit TFontFace(FT_Face face);
  FT_Face FFace;
  hb_font_t* FShapingFont = nullptr;
};

struct TFontMetrics {
  int32_t Ppem = 0;
  int32_t Height = 0;
  int32_t Ascent = 0;
  int32_t Descent = 0;
  int32_t InternalLeading = 0;
  int32_t ExternalLeading = 0;
  int32_t AveCharWidth = 0;
  int32_t MaxCharWidth = 0;
  int32_t UnderscoreSize = 0;
  int32_t UnderscorePosition = 0;
  int32_t StrikeoutSize = 0;
  int32_t StrikeoutPosition = 0;
  int32_t LineGap = 0;
  bool FixedPitch = false;
};

// A rendered glyph: coverage 0..255 per pixel, row by row; Left and Top place its
// top-left pixel relative to the pen position on the baseline (Top grows upwards).
struct TGlyphImage {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Coverage;
};

class TSizedFont {
public:
  // The face of `face` at the size a logical height and width give (Font.h).
  static TSizedFont& Get(const TResolvedFontFace& face, int32_t logicalHeight, int32_t logicalWidth);
  ~TSizedFont();
  TSizedFont(const TSizedFont&) = delete;
  TSizedFont& operator=(const TSizedFont&) = delete;

  const TFontMetrics& Metrics() const noexcept { return FMetrics; }
  TFontFace& Face() const noexcept { return FFace; }
  const TResolvedFontFace& Resolved() const noexcept { return FResolved; }
  // The face's glyph index of a character (0: the face lacks it).
  uint32_t GlyphIndex(char32_t c) const { return FT_Get_Char_Index(FFace.Face(), c); }
  // Whole-pixel advance of a character (0 for the zero-width ones).
  int32_t Advance(char32_t c) { return Info(c) >> 2; }
  // True when this face maps the character (the zero-width ones and the C0 and C1
  // controls count as mapped: they never ask for another face).
  bool Maps(char32_t c) { return (Info(c) & MappedBit) != 0; }
  // The advance of a character that the face maps and whose script is drawn glyph by
  // glyph; -1 for any other character.
  int32_t PlainAdvance(char32_t c) {
    const int32_t info = Info(c);
    return (info & (MappedBit | ShapedBit)) == MappedBit ? info >> 2 : -1;
  }
  // This face when it maps the character, else the face fontconfig offers for it (of
  // the same class, weight and slant where one has it, at the same pixel size), chosen
  // once per script and kept; this face when no installed face maps it.
  TSizedFont& FaceFor(char32_t c);
  // Font units to whole pixels along the line.
  int32_t ScaleX(int64_t units) const noexcept { return ScaleFontUnits(units, FXNum, FXDen); }
  int32_t ScaleY(int64_t units) const noexcept { return ScaleFontUnits(units, FMetrics.Ppem, FFace.UnitsPerEm); }
  bool SyntheticBold() const noexcept { return FSyntheticBold; }
  // The glyph of a character, monochrome or antialiased; valid until the next call.
  const TGlyphImage& Glyph(char32_t c, bool mono);
  // The same for a glyph index of the face (as shaping gives them).
  const TGlyphImage& GlyphById(uint32_t glyph, bool mono);

private:
  static constexpr int32_t MappedBit = 2;
  static constexpr int32_t ShapedBit = 1;
  TSizedFont(TFontFace& face, const TResolvedFontFace& resolved, int32_t ppem, int32_t logicalWidth);
  // Advance << 2 | MappedBit | ShapedBit, computed once per character.
  int32_t Info(char32_t c);
  int32_t ComputeInfo(char32_t c);
  TSizedFont* FindFallback(char32_t c);
  const TGlyphImage& Render(uint64_t key, uint32_t glyph, bool mono);

  TFontFace& FFace;
  TResolvedFontFace FResolved;
  bool FSyntheticBold;
  bool FSyntheticItalic;
  FT_Size FSize = nullptr;
  int64_t FXNum = 1;  // horizontal scale: pixels = units * FXNum / FXDen
  int64_t FXDen = 1;
  TFontMetrics FMetrics;
  std::array<std::unique_ptr<std::array<int32_t, 256>>, 256> FBmpInfo;
  std::unordered_map<char32_t, int32_t> FOtherInfo;
  std::unordered_map<uint32_t, TSizedFont*> FScriptFallbacks;  // null: no face has the script
  std::unordered_map<char32_t, TSizedFont*> FCharFallbacks;    // characters the script's face lacks
  std::unordered_map<uint64_t, TGlyphImage> FGlyphs;
  TGlyphImage FScratchGlyph;  // the last glyph of a size too large to keep
};
