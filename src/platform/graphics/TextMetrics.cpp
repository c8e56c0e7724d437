#include "platform/graphics/TextMetrics.h"

#include <fribidi.h>

#include <algorithm>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/graphics/FontFace.h"
#include "platform/graphics/TextLayout.h"
#include "platform/graphics/TextShaping.h"

namespace {

template <typename Metric>
void FillTextMetrics(HDC dc, Metric* tm) {
  const TFontObject& font = dc->SelectedFont();
  const LOGFONTW& lf = font.LogFont();
  const TFontMetrics& m = font.Sized().Metrics();
  *tm = Metric{};
  tm->tmHeight = m.Height;
  tm->tmAscent = m.Ascent;
  tm->tmDescent = m.Descent;
  tm->tmInternalLeading = m.InternalLeading;
  tm->tmExternalLeading = m.ExternalLeading;
  tm->tmAveCharWidth = m.AveCharWidth;
  tm->tmMaxCharWidth = m.MaxCharWidth;
  tm->tmWeight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
  tm->tmDigitizedAspectX = ScreenPixelsPerInch;
  tm->tmDigitizedAspectY = ScreenPixelsPerInch;
  tm->tmFirstChar = 0x20;
  tm->tmLastChar = static_cast<decltype(tm->tmLastChar)>(sizeof(tm->tmLastChar) == 1 ? 0xFF : 0xFFFC);
  tm->tmDefaultChar = 0x1F;
  tm->tmBreakChar = 0x20;
  tm->tmItalic = lf.lfItalic ? 0xFF : 0;
  tm->tmUnderlined = lf.lfUnderline ? 0xFF : 0;
  tm->tmStruckOut = lf.lfStrikeOut ? 0xFF : 0;
  tm->tmPitchAndFamily = static_cast<uint8_t>(TMPF_VECTOR | TMPF_TRUETYPE | (m.FixedPitch ? 0 : TMPF_FIXED_PITCH));
  tm->tmCharSet = lf.lfCharSet;
}

bool ExtentEx(HDC dc, WideStringView text, int32_t maxExtent, int32_t* fit, int32_t* dx, TSize* size) {
  std::vector<int32_t> advances(text.size());
  int32_t height = 0;
  UnitAdvances(dc, text, advances.data(), &height);
  const int64_t width = ExtentsOfAdvances(advances.data(), advances.size(), maxExtent, dx, fit);
  if (size) *size = TSize{static_cast<int32_t>(width), height};
  return true;
}

bool ExtentExAnsi(HDC dc, const char* text, int32_t count, int32_t maxExtent, int32_t* fit, int32_t* dx, TSize* size) {
  TAnsiText wide = DecodeAnsiForFont(dc, text, count);
  std::vector<int32_t> unitDx(wide.Text.size());
  int32_t unitFit = 0;
  ExtentEx(dc, wide.Text, maxExtent, &unitFit, unitDx.data(), size);
  int32_t previous = 0;
  int32_t byteFit = 0;
  for (int32_t i = 0; i < count; ++i) {
    int32_t unit = wide.ByteUnit[static_cast<size_t>(i)];
    int32_t extent = unit < 0 ? previous : unitDx[static_cast<size_t>(unit)];
    if (dx) dx[i] = extent;
    if (unit >= 0 && unit < unitFit) byteFit = i + 1;
    previous = extent;
  }
  if (fit) *fit = byteFit;
  return true;
}

}  // namespace

bool GetTextMetricsW(HDC dc, TEXTMETRICW* metrics) {
  if (!dc || !metrics) return false;
  FillTextMetrics(dc, metrics);
  return true;
}

bool GetTextMetricsA(HDC dc, TEXTMETRICA* metrics) {
  if (!dc || !metrics) return false;
  FillTextMetrics(dc, metrics);
  return true;
}

uint32_t GetOutlineTextMetricsW(HDC dc, uint32_t bytes, OUTLINETEXTMETRICW* metrics) {
  if (!dc) return 0;
  if (!metrics) return sizeof(OUTLINETEXTMETRICW);
  if (bytes < sizeof(OUTLINETEXTMETRICW)) return 0;
  const TFontMetrics& m = dc->SelectedFont().Sized().Metrics();
  *metrics = OUTLINETEXTMETRICW{};
  metrics->otmSize = sizeof(OUTLINETEXTMETRICW);
  FillTextMetrics(dc, &metrics->otmTextMetrics);
  metrics->otmEMSquare = static_cast<uint32_t>(m.Ppem);
  metrics->otmAscent = m.Ascent;
  metrics->otmDescent = -m.Descent;
  metrics->otmLineGap = static_cast<uint32_t>(std::max(m.LineGap, 0));
  metrics->otmsStrikeoutSize = static_cast<uint32_t>(m.StrikeoutSize);
  metrics->otmsStrikeoutPosition = m.StrikeoutPosition;
  metrics->otmsUnderscoreSize = m.UnderscoreSize;
  metrics->otmsUnderscorePosition = m.UnderscorePosition;
  return sizeof(OUTLINETEXTMETRICW);
}

uint32_t GetOutlineTextMetricsA(HDC dc, uint32_t bytes, OUTLINETEXTMETRICA* metrics) {
  return GetOutlineTextMetricsW(dc, bytes, metrics);
}

bool GetTextExtentPoint32W(HDC dc, const WideChar* text, int32_t count, TSize* size) {
  return GetTextExtentExPointW(dc, text, count, 0, nullptr, nullptr, size);
}

bool GetTextExtentPoint32A(HDC dc, const char* text, int32_t count, TSize* size) {
  return GetTextExtentExPointA(dc, text, count, 0, nullptr, nullptr, size);
}

bool GetTextExtentPointW(HDC dc, const WideChar* text, int32_t count, TSize* size) {
  return GetTextExtentPoint32W(dc, text, count, size);
}

bool GetTextExtentPointA(HDC dc, const char* text, int32_t count, TSize* size) {
  return GetTextExtentPoint32A(dc, text, count, size);
}

bool GetTextFaceExtentW(HDC dc, const WideChar* text, int32_t count, int32_t* ascent, int32_t* descent) {
  if (!dc || count < 0 || (count > 0 && !text)) return false;
  WideString faceText;
  const TShapedText shaped =
      ShapeText(dc, FaceText(dc, WideStringView(text ? text : u"", static_cast<size_t>(count)), faceText));
  if (ascent) *ascent = shaped.Ascent;
  if (descent) *descent = shaped.Descent;
  return true;
}

bool GetTextFaceExtentA(HDC dc, const char* text, int32_t count, int32_t* ascent, int32_t* descent) {
  if (!dc || count < 0 || (count > 0 && !text)) return false;
  const TAnsiText wide = DecodeAnsiForFont(dc, text, count);
  return GetTextFaceExtentW(dc, wide.Text.data(), static_cast<int32_t>(wide.Text.size()), ascent, descent);
}

bool GetTextExtentExPointW(HDC dc, const WideChar* text, int32_t count, int32_t maxExtent, int32_t* fit, int32_t* dx,
                           TSize* size) {
  if (!dc || count < 0 || (count > 0 && !text)) return false;
  return ExtentEx(dc, WideStringView(text ? text : u"", static_cast<size_t>(count)), maxExtent, fit, dx, size);
}

bool GetTextExtentExPointA(HDC dc, const char* text, int32_t count, int32_t maxExtent, int32_t* fit, int32_t* dx,
                           TSize* size) {
  if (!dc || count < 0 || (count > 0 && !text)) return false;
  return ExtentExAnsi(dc, text, count, maxExtent, fit, dx, size);
}

uint32_t GetCharacterPlacementW(HDC dc, const WideChar* text, int32_t count, int32_t maxExtent, GCP_RESULTSW* results,
                                uint32_t flags) {
  if (!dc || count < 0 || (count > 0 && !text)) return 0;
  if (results && results->lStructSize < sizeof(GCP_RESULTSW)) return 0;
  WideStringView view(text ? text : u"", static_cast<size_t>(count));
  const size_t n = view.size();
  std::vector<int32_t> advances(n);
  int32_t height = 0;
  int64_t width = UnitAdvances(dc, view, advances.data(), &height);
  std::vector<int32_t> visualToLogical;
  std::vector<uint8_t> levels;
  VisualOrder(view, (dc->State.TextAlign & TA_RTLREADING) != 0, visualToLogical, levels);
  if (results) {
    std::vector<int32_t> leftOf(n);  // x of each logical unit's left edge
    int64_t x = 0;
    for (size_t v = 0; v < n; ++v) {
      size_t logical = static_cast<size_t>(visualToLogical[v]);
      leftOf[logical] = static_cast<int32_t>(x);
      WideChar c = view[logical];
      if (levels[logical] & 1) {
        FriBidiChar mirrored = c;
        if (fribidi_get_mirror_char(c, &mirrored)) c = static_cast<WideChar>(mirrored);
      }
      if (results->lpOutString) results->lpOutString[v] = c;
      if (results->lpGlyphs) results->lpGlyphs[v] = c;
      if (results->lpDx) results->lpDx[v] = advances[logical];
      if (results->lpOrder) results->lpOrder[logical] = static_cast<uint32_t>(v);
      x += advances[logical];
    }
    int32_t fitting = 0;
    int64_t logicalX = 0;
    for (size_t i = 0; i < n; ++i) {
      if (results->lpCaretPos) results->lpCaretPos[i] = (levels[i] & 1) ? leftOf[i] + advances[i] : leftOf[i];
      if (results->lpClass) {
        FriBidiCharType type = fribidi_get_bidi_type(view[i]);
        results->lpClass[i] = static_cast<char>(FRIBIDI_IS_RTL(type)      ? GCPCLASS_HEBREW
                                                : FRIBIDI_IS_NUMBER(type) ? GCPCLASS_LATINNUMBER
                                                : FRIBIDI_IS_LETTER(type) ? GCPCLASS_LATIN
                                                                          : GCPCLASS_NEUTRAL);
      }
      logicalX += advances[i];
      if (logicalX <= maxExtent && fitting == static_cast<int32_t>(i)) fitting = static_cast<int32_t>(i) + 1;
    }
    results->nGlyphs = static_cast<uint32_t>(n);
    results->nMaxFit = (flags & GCP_MAXEXTENT) ? fitting : static_cast<int32_t>(n);
  }
  return (static_cast<uint32_t>(width) & 0xFFFF) | (static_cast<uint32_t>(height) << 16);
}

uint32_t GetCharacterPlacementA(HDC dc, const char* text, int32_t count, int32_t maxExtent, GCP_RESULTSA* results,
                                uint32_t flags) {
  if (!dc || count < 0 || (count > 0 && !text)) return 0;
  if (results && results->lStructSize < sizeof(GCP_RESULTSA)) return 0;
  TAnsiText wide = DecodeAnsiForFont(dc, text, count);
  const size_t units = wide.Text.size();
  std::vector<uint32_t> order(units);
  std::vector<int32_t> dx(units), caret(units);
  std::vector<char> classes(units);
  std::vector<WideChar> visual(units);
  GCP_RESULTSW w;
  w.lpOrder = order.data();
  w.lpDx = dx.data();
  w.lpCaretPos = caret.data();
  w.lpClass = classes.data();
  w.lpOutString = visual.data();
  const uint32_t size = GetCharacterPlacementW(dc, wide.Text.data(), static_cast<int32_t>(units), maxExtent, &w, flags);
  if (!results) return size;
  const uint32_t codePage = CharsetCodePage(dc->SelectedFont().LogFont().lfCharSet);
  int32_t fitBytes = 0;
  for (int32_t i = 0; i < count; ++i) {
    // A lead byte takes the character its trail byte ends.
    int32_t unit = wide.ByteUnit[static_cast<size_t>(i)];
    if (unit < 0) unit = wide.ByteUnit[static_cast<size_t>(i) + 1];
    const size_t u = static_cast<size_t>(unit);
    if (results->lpOrder) results->lpOrder[i] = order[u];
    if (results->lpCaretPos) results->lpCaretPos[i] = caret[u];
    if (results->lpClass) results->lpClass[i] = classes[u];
    if (unit < w.nMaxFit) fitBytes = i + 1;
  }
  for (size_t v = 0; v < units; ++v) {
    const AnsiString bytes = WideToAnsi(WideStringView(&visual[v], 1), codePage);
    const char byte = bytes.size() == 1 ? bytes[0] : '?';
    if (results->lpOutString) results->lpOutString[v] = byte;
    if (results->lpGlyphs) results->lpGlyphs[v] = byte;
    if (results->lpDx) results->lpDx[v] = dx[v];
  }
  results->nGlyphs = static_cast<uint32_t>(units);
  results->nMaxFit = fitBytes;
  return size;
}

uint32_t GetFontLanguageInfo(HDC dc) {
  if (!dc) return GCP_ERROR;
  uint8_t charset = dc->SelectedFont().LogFont().lfCharSet;
  return charset == HEBREW_CHARSET || charset == ARABIC_CHARSET ? GCP_REORDER : 0;
}
