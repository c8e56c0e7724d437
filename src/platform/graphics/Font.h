// Logical fonts and font handles.
//
// A logical font names a face, a height, a weight, italic, underline, strike-out, a
// character set, an average character width for character scaling and a quality. Its
// height is in pixels of a 96 pixels-per-inch device: a negative height is the character
// (em) height, a positive one the cell height (ascent + descent), 0 the default of 16
// pixels (12 points). The face is resolved through fontconfig (FontResolver.h).
//
// Metrics come from the font's own tables, each value in font units scaled to pixels by
// one rule: MulDiv(value, ppem, unitsPerEm), halves away from zero, where ppem is the em
// height in pixels (for a positive height: MulDiv(height, unitsPerEm, usWinAscent +
// usWinDescent)). Thus tmAscent = scaled usWinAscent, tmDescent = scaled usWinDescent,
// tmHeight = their sum, tmInternalLeading = tmHeight - ppem, tmExternalLeading = the
// scaled max(0, hhea lineGap - ((usWinAscent + usWinDescent) - (hhea ascender -
// hhea descender))), tmAveCharWidth = scaled xAvgCharWidth (or the width asked for). Horizontal values use the
// horizontal scale: ppem, or with a width w given ppem * w / (scaled xAvgCharWidth).
// A character's advance is its hmtx advance scaled the same way, a whole number of
// pixels; a synthetically emboldened face adds 1 pixel to each non-zero advance.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>

#include "platform/base/Types.h"
#include "platform/graphics/Colors.h"
#include "platform/graphics/GdiObject.h"

constexpr int32_t LF_FACESIZE = 32;

constexpr int32_t FW_DONTCARE = 0;
constexpr int32_t FW_NORMAL = 400;
constexpr int32_t FW_SEMIBOLD = 600;
constexpr int32_t FW_BOLD = 700;

constexpr uint8_t ANSI_CHARSET = 0;
constexpr uint8_t DEFAULT_CHARSET = 1;
constexpr uint8_t SYMBOL_CHARSET = 2;
constexpr uint8_t MAC_CHARSET = 77;
constexpr uint8_t SHIFTJIS_CHARSET = 128;
constexpr uint8_t HANGEUL_CHARSET = 129;
constexpr uint8_t JOHAB_CHARSET = 130;
constexpr uint8_t GB2312_CHARSET = 134;
constexpr uint8_t CHINESEBIG5_CHARSET = 136;
constexpr uint8_t GREEK_CHARSET = 161;
constexpr uint8_t TURKISH_CHARSET = 162;
constexpr uint8_t VIETNAMESE_CHARSET = 163;
constexpr uint8_t HEBREW_CHARSET = 177;
constexpr uint8_t ARABIC_CHARSET = 178;
constexpr uint8_t BALTIC_CHARSET = 186;
constexpr uint8_t RUSSIAN_CHARSET = 204;
constexpr uint8_t THAI_CHARSET = 222;
constexpr uint8_t EASTEUROPE_CHARSET = 238;
constexpr uint8_t OEM_CHARSET = 255;

constexpr uint8_t DEFAULT_QUALITY = 0;
constexpr uint8_t DRAFT_QUALITY = 1;
constexpr uint8_t PROOF_QUALITY = 2;
constexpr uint8_t NONANTIALIASED_QUALITY = 3;
constexpr uint8_t ANTIALIASED_QUALITY = 4;
constexpr uint8_t CLEARTYPE_QUALITY = 5;

constexpr uint8_t DEFAULT_PITCH = 0;
constexpr uint8_t FIXED_PITCH = 1;
constexpr uint8_t VARIABLE_PITCH = 2;

// A logical font; the "W" form names the face in UTF-16, the "A" form in the ANSI code page.
template <typename Char>
struct TLogFontOf {
  int32_t lfHeight = 0;
  int32_t lfWidth = 0;
  int32_t lfEscapement = 0;
  int32_t lfOrientation = 0;
  int32_t lfWeight = 0;
  uint8_t lfItalic = 0;
  uint8_t lfUnderline = 0;
  uint8_t lfStrikeOut = 0;
  uint8_t lfCharSet = 0;
  uint8_t lfOutPrecision = 0;
  uint8_t lfClipPrecision = 0;
  uint8_t lfQuality = 0;
  uint8_t lfPitchAndFamily = 0;
  Char lfFaceName[LF_FACESIZE] = {};
};
using LOGFONTW = TLogFontOf<WideChar>;
using LOGFONTA = TLogFontOf<char>;
using TLogFont = LOGFONTA;

class TSizedFont;  // the resolved face at its pixel size (FontFace.h)

// A font handle's object: the logical font and the sized face that measures and draws it.
class TFontObject : public TGdiObject {
public:
  TFontObject(const LOGFONTW& logFont, TSizedFont& sized) : FLogFont(logFont), FSized(&sized) {}
  const LOGFONTW& LogFont() const noexcept { return FLogFont; }
  TSizedFont& Sized() const noexcept { return *FSized; }

private:
  LOGFONTW FLogFont;
  TSizedFont* FSized;  // cached for the process, not owned
};

using HFONT = TFontObject*;

// Never fail for a face name: one that is not installed falls back to the default face.
HFONT CreateFontIndirectW(const LOGFONTW* logFont);
HFONT CreateFontIndirectA(const LOGFONTA* logFont);

// Copies a font handle's logical font; returns the bytes copied, 0 for a handle that is
// not a font or a buffer smaller than the structure.
int32_t GetObjectW(HGDIOBJ handle, int32_t bytes, void* buffer);
int32_t GetObjectA(HGDIOBJ handle, int32_t bytes, void* buffer);

// Conversions between the two forms (the face name through the ANSI code page).
LOGFONTW LogFontAToW(const LOGFONTA& logFont);
LOGFONTA LogFontWToA(const LOGFONTW& logFont);

// The code page of 8-bit text in a font of this character set: ANSI 1252, Russian 1251,
// Greek 1253 ..., OEM the OEM code page, SYMBOL_CHARSET SymbolFontCodePage; DEFAULT_CHARSET
// and unknown sets the ANSI code page.
uint32_t CharsetCodePage(uint8_t charset);

// 8-bit text in a font of the symbol character set holds the font's own codes, so it is
// taken byte for byte: ISO 8859-1 turns each byte into the character of its value, which
// text drawing then shows as the symbol font's character (TextLayout.h).
inline constexpr uint32_t SymbolFontCodePage = 28591;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };

// A set of font styles.
class TFontStyles {
public:
  constexpr TFontStyles() = default;
  constexpr TFontStyles(std::initializer_list<TFontStyle> styles) {
    for (TFontStyle s : styles) FBits = static_cast<uint8_t>(FBits | (1u << s));
  }
  constexpr bool Contains(TFontStyle s) const noexcept { return (FBits >> s) & 1u; }
  constexpr bool Empty() const noexcept { return FBits == 0; }
  constexpr TFontStyles operator+(TFontStyles o) const noexcept { return FromBits(FBits | o.FBits); }
  constexpr TFontStyles operator-(TFontStyles o) const noexcept { return FromBits(FBits & ~o.FBits); }
  constexpr TFontStyles operator*(TFontStyles o) const noexcept { return FromBits(FBits & o.FBits); }
  constexpr uint8_t Bits() const noexcept { return FBits; }
  static constexpr TFontStyles FromBits(uint32_t bits) noexcept {
    TFontStyles s;
    s.FBits = static_cast<uint8_t>(bits & 0x0F);
    return s;
  }
  friend constexpr bool operator==(TFontStyles, TFontStyles) = default;

private:
  uint8_t FBits = 0;
};

// The font of a canvas as the class library offers it: name, size in points or height
// in pixels (Size = -MulDiv(Height, 72, PixelsPerInch), PixelsPerInch always 96),
// styles, character set and colour. Its handle is made on demand and remade after a
// change; SetHandle adopts a handle made elsewhere (its logical font becomes the
// properties, and the handle is used as it is, quality included, until the next change).
class TFont {
public:
  TFont() = default;
  ~TFont();
  TFont(const TFont&) = delete;
  TFont& operator=(const TFont&) = delete;

  const AnsiString& Name() const noexcept { return FName; }
  void SetName(const AnsiString& value);
  int32_t Size() const;
  void SetSize(int32_t value);
  int32_t Height() const noexcept { return FHeight; }
  void SetHeight(int32_t value);
  TFontStyles Style() const noexcept { return FStyle; }
  void SetStyle(TFontStyles value);
  uint8_t Charset() const noexcept { return FCharset; }
  void SetCharset(uint8_t value);
  TColor Color() const noexcept { return FColor; }
  void SetColor(TColor value);
  int32_t PixelsPerInch() const noexcept { return 96; }
  void Assign(const TFont& source);

  HFONT Handle();
  void SetHandle(HFONT value);

  std::function<void()> OnChange;

private:
  void Changed();
  void ReleaseHandle();
  AnsiString FName = "MS Sans Serif";
  int32_t FHeight = -11;
  TFontStyles FStyle;
  uint8_t FCharset = DEFAULT_CHARSET;
  TColor FColor = clBlack;
  HFONT FHandle = nullptr;
};
