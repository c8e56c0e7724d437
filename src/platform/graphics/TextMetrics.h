// Measuring text on a device context: font metrics, extents and fit, character
// placement in visual order, and the font's language information.
//
// Extents are strictly additive: each character advances by its whole-pixel advance
// (Font.h) plus the context's character extra, with no kerning or ligatures, and a
// surrogate pair advances once (on its first unit, 0 on the second). A character the
// selected face lacks is measured in the face fallback finds for it, and the scripts
// that join or reorder their letters advance by shaped clusters (TextShaping.h). The
// zero-width characters (U+200B, U+200D, U+2060 and the invisible format controls)
// advance by 0 and take no extra. "A" forms take 8-bit text in the code page of the
// selected font's character set (CharsetCodePage); their per-character results are per
// byte, a double-byte character's first byte carrying the extent before it.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Geometry.h"

template <typename Char>
struct TTextMetricOf {
  int32_t tmHeight = 0;
  int32_t tmAscent = 0;
  int32_t tmDescent = 0;
  int32_t tmInternalLeading = 0;
  int32_t tmExternalLeading = 0;
  int32_t tmAveCharWidth = 0;
  int32_t tmMaxCharWidth = 0;
  int32_t tmWeight = 0;
  int32_t tmOverhang = 0;
  int32_t tmDigitizedAspectX = 0;
  int32_t tmDigitizedAspectY = 0;
  Char tmFirstChar = 0;
  Char tmLastChar = 0;
  Char tmDefaultChar = 0;
  Char tmBreakChar = 0;
  uint8_t tmItalic = 0;
  uint8_t tmUnderlined = 0;
  uint8_t tmStruckOut = 0;
  uint8_t tmPitchAndFamily = 0;
  uint8_t tmCharSet = 0;
};
using TEXTMETRICW = TTextMetricOf<WideChar>;
using TEXTMETRICA = TTextMetricOf<char>;
using TTextMetric = TEXTMETRICA;

// tmPitchAndFamily bits: set for variable pitch (the name is historical), TrueType.
constexpr uint8_t TMPF_FIXED_PITCH = 0x01;
constexpr uint8_t TMPF_VECTOR = 0x02;
constexpr uint8_t TMPF_TRUETYPE = 0x04;

// The outline metrics the drawing code uses: em square, underline and strike-out bands
// (positions are the bands' top edges above the baseline; negative is below).
struct OUTLINETEXTMETRICW {
  uint32_t otmSize = 0;
  TEXTMETRICW otmTextMetrics;
  uint32_t otmEMSquare = 0;
  int32_t otmAscent = 0;
  int32_t otmDescent = 0;
  uint32_t otmLineGap = 0;
  uint32_t otmsStrikeoutSize = 0;
  int32_t otmsStrikeoutPosition = 0;
  int32_t otmsUnderscoreSize = 0;
  int32_t otmsUnderscorePosition = 0;
};
using OUTLINETEXTMETRICA = OUTLINETEXTMETRICW;
using TOutlineTextmetric = OUTLINETEXTMETRICW;

bool GetTextMetricsW(HDC dc, TEXTMETRICW* metrics);
bool GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
// Returns the structure's size when filled; with a null buffer the size needed; 0 when
// the buffer is too small.
uint32_t GetOutlineTextMetricsW(HDC dc, uint32_t bytes, OUTLINETEXTMETRICW* metrics);
uint32_t GetOutlineTextMetricsA(HDC dc, uint32_t bytes, OUTLINETEXTMETRICA* metrics);

// cx: the sum of the advances; cy: the font's tmHeight, or the height of a taller face
// that fallback drew some of the text with. False for a negative count.
bool GetTextExtentPoint32W(HDC dc, const WideChar* text, int32_t count, TSize* size);
bool GetTextExtentPoint32A(HDC dc, const char* text, int32_t count, TSize* size);
bool GetTextExtentPointW(HDC dc, const WideChar* text, int32_t count, TSize* size);
bool GetTextExtentPointA(HDC dc, const char* text, int32_t count, TSize* size);

// The ascent and descent of the text as drawn: the largest of the faces that draw it,
// the selected font's included (a face fallback takes may reach higher or lower than
// it). So a line holding such text can be made as tall as its glyphs. False for a
// negative count.
bool GetTextFaceExtentW(HDC dc, const WideChar* text, int32_t count, int32_t* ascent, int32_t* descent);
bool GetTextFaceExtentA(HDC dc, const char* text, int32_t count, int32_t* ascent, int32_t* descent);

// As GetTextExtentPoint32, and: dx (when given) receives count cumulative extents (the
// right edge of each character); fit (when given) the number of leading characters
// whose right edge is at most maxExtent.
bool GetTextExtentExPointW(HDC dc, const WideChar* text, int32_t count, int32_t maxExtent, int32_t* fit, int32_t* dx,
                           TSize* size);
bool GetTextExtentExPointA(HDC dc, const char* text, int32_t count, int32_t maxExtent, int32_t* fit, int32_t* dx,
                           TSize* size);

// Character placement.
constexpr uint32_t GCP_DBCS = 0x0001;
constexpr uint32_t GCP_REORDER = 0x0002;
constexpr uint32_t GCP_USEKERNING = 0x0008;
constexpr uint32_t GCP_GLYPHSHAPE = 0x0010;
constexpr uint32_t GCP_LIGATE = 0x0020;
constexpr uint32_t GCP_DIACRITIC = 0x0100;
constexpr uint32_t GCP_KASHIDA = 0x0400;
constexpr uint32_t GCP_ERROR = 0x8000;
constexpr uint32_t GCP_CLASSIN = 0x00080000;
constexpr uint32_t GCP_MAXEXTENT = 0x00100000;
constexpr uint32_t GCP_JUSTIFYIN = 0x00200000;

constexpr uint8_t GCPCLASS_LATIN = 1;
constexpr uint8_t GCPCLASS_HEBREW = 2;
constexpr uint8_t GCPCLASS_ARABIC = 2;
constexpr uint8_t GCPCLASS_NEUTRAL = 3;
constexpr uint8_t GCPCLASS_LOCALNUMBER = 4;
constexpr uint8_t GCPCLASS_LATINNUMBER = 5;
constexpr uint8_t GCPCLASS_LATINNUMERICTERMINATOR = 6;
constexpr uint8_t GCPCLASS_LATINNUMERICSEPARATOR = 7;
constexpr uint8_t GCPCLASS_NUMERICSEPARATOR = 8;

// Every array is optional and, when given, holds at least `count` entries (nGlyphs is
// set to count: one glyph per UTF-16 unit).
struct GCP_RESULTSW {
  uint32_t lStructSize = sizeof(GCP_RESULTSW);
  WideChar* lpOutString = nullptr;  // the text in visual order, mirrored where right-to-left
  uint32_t* lpOrder = nullptr;      // per logical character: its visual position
  int32_t* lpDx = nullptr;          // per visual position: the advance there
  int32_t* lpCaretPos = nullptr;    // per logical character: x of its leading edge
  char* lpClass = nullptr;          // per logical character: GCPCLASS_...
  WideChar* lpGlyphs = nullptr;     // per visual position: the glyph's character
  uint32_t nGlyphs = 0;
  int32_t nMaxFit = 0;  // with GCP_MAXEXTENT: characters fitting maxExtent
};

// Places `count` characters: visual order by the Unicode bidirectional algorithm
// (FriBidi; the paragraph is right-to-left when the context's alignment has
// TA_RTLREADING), advances as GetTextExtentExPointW gives them: the scripts that need it
// are shaped whatever the flags ask, and a shaped cluster's advance and caret belong to
// its first character while its other characters advance by 0 (so carets fall on
// cluster edges). Returns the width in the low 16 bits and the height (as
// GetTextExtentPoint32W's) in the high 16 bits; 0 on failure (a negative count or a
// short structure).
uint32_t GetCharacterPlacementW(HDC dc, const WideChar* text, int32_t count, int32_t maxExtent, GCP_RESULTSW* results,
                                uint32_t flags);

// The 8-bit form: text in the code page of the font's character set. lpOutString and
// lpGlyphs hold one byte per visual position ("?" for a character that needs two); the
// two bytes of a double-byte character share its order, caret and class, and nGlyphs
// counts characters.
struct GCP_RESULTSA {
  uint32_t lStructSize = sizeof(GCP_RESULTSA);
  char* lpOutString = nullptr;
  uint32_t* lpOrder = nullptr;
  int32_t* lpDx = nullptr;
  int32_t* lpCaretPos = nullptr;
  char* lpClass = nullptr;
  char* lpGlyphs = nullptr;
  uint32_t nGlyphs = 0;
  int32_t nMaxFit = 0;
};
uint32_t GetCharacterPlacementA(HDC dc, const char* text, int32_t count, int32_t maxExtent, GCP_RESULTSA* results,
                                uint32_t flags);

// GCP_REORDER for fonts of the Hebrew and Arabic character sets, else 0: this layer
// never ligates, shapes or kerns.
uint32_t GetFontLanguageInfo(HDC dc);
