// Text as faces draw it: each character from a face that maps it (the selected face, or
// the face fallback finds), and the runs of scripts that join or reorder their letters,
// as well as every run in a fallback face, shaped by HarfBuzz.
//
// A shaped cluster advances by whole pixels: its edges are the shaper's positions along
// its run rounded to pixels, so the clusters of a run add up to its rounded width and no
// rounding gathers along the line. The cluster's advance belongs to its first UTF-16
// unit and its other units advance by 0, so extents, caret positions and drawing all
// step from cluster to cluster. Characters outside shaped runs advance as their face's
// whole-pixel advance, with no kerning or ligatures (Font.h).
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Types.h"
#include "platform/graphics/DeviceContext.h"

class TSizedFont;

// A glyph of a shaped cluster: X from the cluster's left edge, Y above the baseline.
struct TShapedGlyph {
  TSizedFont* Font = nullptr;
  uint32_t Glyph = 0;
  int32_t X = 0;
  int32_t Y = 0;
};

struct TShapedText {
  std::vector<int32_t> Advances;  // per UTF-16 unit, the context's character extra included
  // Per unit: the face that draws its character glyph by glyph; null for the units of
  // shaped clusters and the second unit of a surrogate pair.
  std::vector<TSizedFont*> Faces;
  // Per unit and one more: the glyphs of the shaped cluster that starts at unit i are
  // Glyphs[GlyphStart[i], GlyphStart[i + 1]).
  std::vector<uint32_t> GlyphStart;
  std::vector<TShapedGlyph> Glyphs;
  int64_t Width = 0;
  int32_t Ascent = 0;  // the largest of the faces used (the selected face's when empty)
  int32_t Descent = 0;
};

TShapedText ShapeText(HDC dc, WideStringView text);

// The quick road for the text that the selected face draws glyph by glyph (all Latin,
// Cyrillic and Greek text): the advances into advances[0..size) and their sum; -1 when
// some character needs another face or shaping.
int64_t PlainAdvances(HDC dc, WideStringView text, int32_t* advances);

// The UTF-16 units whose advances measuring has worked out, glyph by glyph or shaped,
// since the process started: the work that tests of growth bound.
uint64_t TextUnitsMeasured() noexcept;

// A glyph as drawn: X from the line's left edge, Y above the baseline; drawn by its
// character when Char is not 0, else by its glyph index in Font. Unit: the UTF-16 unit
// it stands for (a shaped cluster's first unit).
struct TPlacedGlyph {
  TSizedFont* Font = nullptr;
  char32_t Char = 0;
  uint32_t Glyph = 0;
  int32_t X = 0;
  int32_t Y = 0;
  uint32_t Unit = 0;
};

// The glyphs of a line in visual order (visualToLogical as VisualOrder gives it, in
// TextLayout.h), each unit advancing by advances[unit]: what ExtTextOutW draws.
std::vector<TPlacedGlyph> PlaceGlyphs(const TShapedText& shaped, WideStringView text,
                                      const std::vector<int32_t>& visualToLogical, const int32_t* advances);
