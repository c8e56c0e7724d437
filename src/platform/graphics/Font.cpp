#include "platform/graphics/Font.h"

#include <algorithm>
#include <cstring>

#include "platform/base/CodePages.h"
#include "platform/base/Numbers.h"
#include "platform/graphics/FontFace.h"
#include "platform/graphics/FontResolver.h"

HFONT CreateFontIndirectW(const LOGFONTW* logFont) {
  if (!logFont) return nullptr;
  LOGFONTW lf = *logFont;
  lf.lfFaceName[LF_FACESIZE - 1] = 0;
  WideStringView name(lf.lfFaceName);
  const TResolvedFontFace& face = ResolveFontFace(name, lf.lfWeight >= FW_SEMIBOLD, lf.lfItalic != 0);
  TSizedFont& sized = TSizedFont::Get(face, lf.lfHeight, lf.lfWidth);
  return static_cast<HFONT>(RegisterGdiObject(std::make_shared<TFontObject>(lf, sized)));
}

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
  if (!logFont) return nullptr;
  LOGFONTW lf = LogFontAToW(*logFont);
  return CreateFontIndirectW(&lf);
}

namespace {

// Copies every field but the face name.
template <typename To, typename From>
void CopyLogFontFields(To& to, const From& from) {
  to.lfHeight = from.lfHeight;
  to.lfWidth = from.lfWidth;
  to.lfEscapement = from.lfEscapement;
  to.lfOrientation = from.lfOrientation;
  to.lfWeight = from.lfWeight;
  to.lfItalic = from.lfItalic;
  to.lfUnderline = from.lfUnderline;
  to.lfStrikeOut = from.lfStrikeOut;
  to.lfCharSet = from.lfCharSet;
  to.lfOutPrecision = from.lfOutPrecision;
  to.lfClipPrecision = from.lfClipPrecision;
  to.lfQuality = from.lfQuality;
  to.lfPitchAndFamily = from.lfPitchAndFamily;
}

}  // namespace

LOGFONTW LogFontAToW(const LOGFONTA& a) {
  LOGFONTW w;
  CopyLogFontFields(w, a);
  WideString name = AnsiToWide(AnsiStringView(a.lfFaceName, strnlen(a.lfFaceName, LF_FACESIZE - 1)));
  std::copy_n(name.begin(), std::min<size_t>(name.size(), LF_FACESIZE - 1), w.lfFaceName);
  return w;
}

LOGFONTA LogFontWToA(const LOGFONTW& w) {
  LOGFONTA a;
  CopyLogFontFields(a, w);
  AnsiString name = WideToAnsi(WideStringView(w.lfFaceName));
  std::copy_n(name.begin(), std::min<size_t>(name.size(), LF_FACESIZE - 1), a.lfFaceName);
  return a;
}

int32_t GetObjectW(HGDIOBJ handle, int32_t bytes, void* buffer) {
  auto* font = IsGdiObject(handle) ? dynamic_cast<TFontObject*>(handle) : nullptr;
  if (!font || !buffer || bytes < static_cast<int32_t>(sizeof(LOGFONTW))) return 0;
  *static_cast<LOGFONTW*>(buffer) = font->LogFont();
  return sizeof(LOGFONTW);
}

int32_t GetObjectA(HGDIOBJ handle, int32_t bytes, void* buffer) {
  auto* font = IsGdiObject(handle) ? dynamic_cast<TFontObject*>(handle) : nullptr;
  if (!font || !buffer || bytes < static_cast<int32_t>(sizeof(LOGFONTA))) return 0;
  *static_cast<LOGFONTA*>(buffer) = LogFontWToA(font->LogFont());
  return sizeof(LOGFONTA);
}

uint32_t CharsetCodePage(uint8_t charset) {
  switch (charset) {
    case ANSI_CHARSET:
      return 1252;
    case SYMBOL_CHARSET:
      return SymbolFontCodePage;
    case MAC_CHARSET:
      return 10000;  // Mac Roman
    case SHIFTJIS_CHARSET:
      return 932;
    case HANGEUL_CHARSET:
      return 949;
    case JOHAB_CHARSET:
      return 1361;
    case GB2312_CHARSET:
      return 936;
    case CHINESEBIG5_CHARSET:
      return 950;
    case GREEK_CHARSET:
      return 1253;
    case TURKISH_CHARSET:
      return 1254;
    case VIETNAMESE_CHARSET:
      return 1258;
    case HEBREW_CHARSET:
      return 1255;
    case ARABIC_CHARSET:
      return 1256;
    case BALTIC_CHARSET:
      return 1257;
    case RUSSIAN_CHARSET:
      return 1251;
    case THAI_CHARSET:
      return 874;
    case EASTEUROPE_CHARSET:
      return 1250;
    case OEM_CHARSET:
      return CP_OEMCP;
    default:
      return CP_ACP;
  }
}

TFont::~TFont() { ReleaseHandle(); }

void TFont::ReleaseHandle() {
  DeleteObject(FHandle);
  FHandle = nullptr;
}

void TFont::Changed() {
  ReleaseHandle();
  if (OnChange) OnChange();
}

void TFont::SetName(const AnsiString& value) {
  if (!value.empty() && ChangeProperty(FName, value)) Changed();
}

int32_t TFont::Size() const { return -MulDiv(FHeight, 72, PixelsPerInch()); }

void TFont::SetSize(int32_t value) { SetHeight(-MulDiv(value, PixelsPerInch(), 72)); }

void TFont::SetHeight(int32_t value) {
  if (ChangeProperty(FHeight, value)) Changed();
}

void TFont::SetStyle(TFontStyles value) {
  if (ChangeProperty(FStyle, value)) Changed();
}

void TFont::SetCharset(uint8_t value) {
  if (ChangeProperty(FCharset, value)) Changed();
}

void TFont::SetColor(TColor value) {
  if (ChangeProperty(FColor, value) && OnChange) OnChange();
}

void TFont::Assign(const TFont& source) {
  FName = source.FName;
  FHeight = source.FHeight;
  FStyle = source.FStyle;
  FCharset = source.FCharset;
  FColor = source.FColor;
  Changed();
}

HFONT TFont::Handle() {
  if (!FHandle) {
    LOGFONTA lf;
    lf.lfHeight = FHeight;
    lf.lfWeight = FStyle.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = FStyle.Contains(fsItalic);
    lf.lfUnderline = FStyle.Contains(fsUnderline);
    lf.lfStrikeOut = FStyle.Contains(fsStrikeOut);
    lf.lfCharSet = FCharset;
    std::copy_n(FName.begin(), std::min<size_t>(FName.size(), LF_FACESIZE - 1), lf.lfFaceName);
    FHandle = CreateFontIndirectA(&lf);
  }
  return FHandle;
}

void TFont::SetHandle(HFONT value) {
  if (value == FHandle) return;
  ReleaseHandle();
  FHandle = value;
  if (value) {
    LOGFONTA lf = LogFontWToA(value->LogFont());
    FName = lf.lfFaceName;
    FHeight = lf.lfHeight;
    FStyle =
        TFontStyles::FromBits((lf.lfWeight >= FW_SEMIBOLD ? 1u << fsBold : 0u) | (lf.lfItalic ? 1u << fsItalic : 0u) |
                              (lf.lfUnderline ? 1u << fsUnderline : 0u) | (lf.lfStrikeOut ? 1u << fsStrikeOut : 0u));
    FCharset = lf.lfCharSet;
  }
  if (OnChange) OnChange();
}
