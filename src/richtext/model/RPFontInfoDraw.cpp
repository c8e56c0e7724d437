// Text styles on a canvas: selecting the font, colouring for a draw state and colour
// mode, and the default drawing of a run.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/base/Numbers.h"
#include "platform/base/TextUtils.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/PenBrush.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"
#include "richtext/model/RPFontInfo.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

void TCustomRPFontInfo::GetLogFont(LOGFONTA& logFont, TCanvas& canvas, bool useCollectionPixelsPerInch) const {
  logFont = LOGFONTA{};
  const int32_t collectionPpi = CollectionPixelsPerInch();
  const int32_t ppi = useCollectionPixelsPerInch && collectionPpi != 0 ? collectionPpi : canvas.Font().PixelsPerInch();
  logFont.lfHeight = -MulDiv(Size, ppi, 72);
  logFont.lfWeight = Style.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
  logFont.lfItalic = Style.Contains(fsItalic) ? 1 : 0;
  logFont.lfUnderline = Style.Contains(fsUnderline) ? 1 : 0;
  logFont.lfStrikeOut = Style.Contains(fsStrikeOut) ? 1 : 0;
  logFont.lfCharSet = Charset;
  const size_t length = std::min(FontName.size(), static_cast<size_t>(LF_FACESIZE - 1));
  std::memcpy(logFont.lfFaceName, FontName.data(), length);
}

void TCustomRPFontInfo::Apply(TCanvas& canvas, TRPBiDiMode defBiDiMode, bool useCollectionPixelsPerInch) const {
  TFont& font = canvas.Font();
  if (CharScale == 100) {
    font.SetStyle(Style);
    const int32_t collectionPpi = CollectionPixelsPerInch();
    if (useCollectionPixelsPerInch && collectionPpi != 0) {
      const int32_t height = -MulDiv(Size, collectionPpi, 72);
      if (font.Height() != height) font.SetHeight(height);
    } else if (font.Size() != Size) {
      font.SetSize(Size);
    }
    if (!AnsiSameText(font.Name(), FontName)) font.SetName(FontName);
    if (font.Charset() != Charset) font.SetCharset(Charset);
  } else {
    LOGFONTA logFont;
    GetLogFont(logFont, canvas, useCollectionPixelsPerInch);
    font.SetHandle(CreateFontIndirectA(&logFont));
    TEXTMETRICA metrics;
    int32_t averageWidth = 0;
    if (GetTextMetricsA(canvas.Handle(), &metrics))
      averageWidth = metrics.tmAveCharWidth;
    else
      averageWidth = canvas.TextWidth("x");
    logFont.lfWidth = averageWidth * CharScale / 100;
    font.SetHandle(CreateFontIndirectA(&logFont));
  }
  ApplyBiDiMode(canvas, defBiDiMode);
}

void TCustomRPFontInfo::ApplyBiDiMode(TCanvas& canvas, TRPBiDiMode defBiDiMode) const {
  HDC dc = canvas.Handle();
  switch (BiDiMode == rpbdUnspecified ? defBiDiMode : BiDiMode) {
    case rpbdLeftToRight:
      SetTextCharacterExtra(dc, 0);
      SetTextAlign(dc, TA_LEFT);
      break;
    case rpbdRightToLeft:
      SetTextCharacterExtra(dc, 0);
      SetTextAlign(dc, TA_RTLREADING);
      break;
    case rpbdUnspecified:
      SetTextCharacterExtra(dc, CharSpacing);
      break;
  }
}

void TCustomRPFontInfo::ApplyColor(TCanvas& canvas, const TRPStyle& rpStyle, TRPTextDrawStates drawState, bool printing,
                                   TRPColorMode colorMode) const {
  TColor textColor = Color, backColor = BackColor;
  if (drawState.Contains(rptsSelected)) {
    const bool focused = drawState.Contains(rptsControlFocused);
    backColor = focused ? rpStyle.SelColor : rpStyle.InactiveSelColor;
    textColor = focused ? rpStyle.SelTextColor : rpStyle.InactiveSelTextColor;
    if (textColor == clNone) textColor = Color;
  } else if (drawState.Contains(rptsHover)) {
    textColor = rpStyle.GetHoverColorByColor(HoverColor);
    if (textColor == clNone) textColor = Color;
    backColor = HoverBackColor;
  } else if (printing) {
    switch (colorMode) {
      case rpcmColor:
        break;
      case rpcmPrinterColor:
        textColor = ResolveSystemColorForPrinting(Color);
        backColor = ResolveSystemColorForPrinting(BackColor);
        break;
      case rpcmGrayScale:
        textColor = ColorToGray(ResolveSystemColorForPrinting(Color));
        backColor = ColorToGray(ResolveSystemColorForPrinting(BackColor));
        break;
      case rpcmBlackAndWhite:
        if (BackColor == clNone) {
          textColor = ResolveSystemColorForPrinting(Color) == clWhite ? clWhite : clBlack;
        } else if (ColorLuminance(ResolveSystemColorForPrinting(Color)) <
                   ColorLuminance(ResolveSystemColorForPrinting(BackColor))) {
          backColor = clWhite;
          textColor = clBlack;
        } else {
          backColor = clBlack;
          textColor = clWhite;
        }
        break;
      case rpcmBlackOnWhite:
        textColor = clBlack;
        backColor = clNone;
        break;
    }
  }
  canvas.Font().SetColor(textColor);
  canvas.Brush().SetColor(backColor);
  canvas.Brush().SetStyle(backColor == clNone ? bsClear : bsSolid);
}

namespace {

// The run's text in the form the wide or 8-bit calls take.
struct TRunText {
  TRunText(const AnsiString& text, bool unicode) : Unicode(unicode) {
    if (unicode)
      Wide = RawUnicodeToWide(text);
    else
      Narrow = text;
  }
  int32_t Count() const { return static_cast<int32_t>(Unicode ? Wide.size() : Narrow.size()); }
  uint32_t CharAt(int32_t i) const {
    return Unicode ? Wide[static_cast<size_t>(i)] : static_cast<uint8_t>(Narrow[static_cast<size_t>(i)]);
  }
  void TextOut(HDC dc, int32_t x, int32_t y) const {
    if (Unicode)
      TextOutW(dc, x, y, Wide.data(), Count());
    else
      TextOutA(dc, x, y, Narrow.data(), Count());
  }
  void ExtTextOut(HDC dc, int32_t x, int32_t y, const int32_t* dx) const {
    if (Unicode)
      ExtTextOutW(dc, x, y, 0, nullptr, Wide.data(), static_cast<uint32_t>(Count()), dx);
    else
      ExtTextOutA(dc, x, y, 0, nullptr, Narrow.data(), static_cast<uint32_t>(Count()), dx);
  }
  // Width of one character (code) in the run's form.
  int32_t CharWidth(HDC dc, uint32_t code) const {
    TSize size{};
    if (Unicode) {
      const auto ch = static_cast<WideChar>(code);
      GetTextExtentPoint32W(dc, &ch, 1, &size);
    } else {
      const auto ch = static_cast<char>(code);
      GetTextExtentPoint32A(dc, &ch, 1, &size);
    }
    return size.cx;
  }
  void DrawChar(HDC dc, int32_t x, int32_t y, uint32_t code) const {
    if (Unicode) {
      const auto ch = static_cast<WideChar>(code);
      TextOutW(dc, x, y, &ch, 1);
    } else {
      const auto ch = static_cast<char>(code);
      TextOutA(dc, x, y, &ch, 1);
    }
  }
  // Visual order and advances from character placement; false when it fails.
  bool Place(HDC dc, std::vector<uint32_t>& order, std::vector<int32_t>& dx) const {
    const int32_t n = Count();
    order.assign(static_cast<size_t>(n), 0);
    dx.assign(static_cast<size_t>(n), 0);
    const uint32_t flags = GCP_REORDER | GCP_DIACRITIC | GCP_GLYPHSHAPE;
    if (Unicode) {
      GCP_RESULTSW results;
      results.lpOrder = order.data();
      results.lpDx = dx.data();
      results.nGlyphs = static_cast<uint32_t>(n);
      return GetCharacterPlacementW(dc, Wide.data(), n, 0, &results, flags) != 0;
    }
    GCP_RESULTSA results;
    results.lpOrder = order.data();
    results.lpDx = dx.data();
    results.nGlyphs = static_cast<uint32_t>(n);
    return GetCharacterPlacementA(dc, Narrow.data(), n, 0, &results, flags) != 0;
  }

  bool Unicode;
  WideString Wide;
  AnsiString Narrow;
};

constexpr uint32_t SpaceSign = 0xB7;  // middle dot
constexpr uint32_t NbspSign = 0xB0;   // degree sign
constexpr uint32_t NonBreakingSpace = 0xA0;

// Signs over spaces (and, when placement works, non-breaking spaces), centred on the
// character they stand for; the canvas brush is clear.
void DrawVisibleSpaces(const TRunText& run, TCanvas& canvas, int32_t x, int32_t y) {
  HDC dc = canvas.Handle();
  const TRPSpecialCharacters visible = GetRPVisibleSpecialCharacters();
  std::vector<uint32_t> order;
  std::vector<int32_t> dx;
  const int32_t n = run.Count();
  if (run.Place(dc, order, dx)) {
    std::vector<int32_t> logicalAt(static_cast<size_t>(n), 0);
    for (int32_t i = 0; i < n; ++i)
      if (order[static_cast<size_t>(i)] < static_cast<uint32_t>(n)) logicalAt[order[static_cast<size_t>(i)]] = i;
    const int32_t extra = GetTextCharacterExtra(dc);
    for (int32_t v = 0; v < n; ++v) {
      const uint32_t ch = run.CharAt(logicalAt[static_cast<size_t>(v)]);
      uint32_t sign = 0;
      if (ch == 0x20 && visible.Contains(rpscSpace))
        sign = SpaceSign;
      else if (ch == NonBreakingSpace && visible.Contains(rpscNBSP))
        sign = NbspSign;
      if (sign) {
        const int32_t shift = static_cast<int32_t>(Round((run.CharWidth(dc, ch) - run.CharWidth(dc, sign)) / 2.0));
        run.DrawChar(dc, x + shift, y, sign);
      }
      x += dx[static_cast<size_t>(v)] + extra;
    }
    return;
  }
  if (!visible.Contains(rpscSpace)) return;
  std::vector<int32_t> extents(static_cast<size_t>(n), 0);
  int32_t fit = 0;
  TSize size{};
  if (run.Unicode)
    GetTextExtentExPointW(dc, run.Wide.data(), n, 0, &fit, extents.data(), &size);
  else
    GetTextExtentExPointA(dc, run.Narrow.data(), n, 0, &fit, extents.data(), &size);
  for (int32_t i = 0; i < n; ++i)
    if (run.CharAt(i) == 0x20) run.DrawChar(dc, x + (i > 0 ? extents[static_cast<size_t>(i - 1)] : 0), y, SpaceSign);
}

// Draws the run with explicit advances: stretched to width - spaceBefore, or each
// advance grown by addEach. False (nothing drawn) for one character or less, or when
// stretching has nothing to do.
bool DrawFitted(const AnsiString& text, const TRunText& run, TCanvas& canvas, int32_t x, int32_t y, int32_t width,
                int32_t spaceBefore, bool stretch, int32_t addEach) {
  const int32_t n = run.Count();
  if (n <= 1) return false;
  const TRPItemOptions options = run.Unicode ? rpioUnicode : TRPItemOptions{0};
  std::vector<int32_t> dx(static_cast<size_t>(n), 0);
  int32_t fit = 0;
  MeasureItemTextFit(&canvas, text, 2 * width, options, dx.data(), fit);
  for (int32_t i = n - 1; i > 0; --i) dx[static_cast<size_t>(i)] -= dx[static_cast<size_t>(i - 1)];
  if (stretch) {
    int32_t rest = width - spaceBefore - GetItemTextWidth(text, &canvas, options);
    if (rest == 0) return false;
    for (int32_t i = 0; i < n && rest != 0; ++i) {
      const int32_t share = rest / (n - i);
      dx[static_cast<size_t>(i)] += share;
      rest -= share;
    }
  } else {
    for (int32_t& advance : dx) advance += addEach;
  }
  run.ExtTextOut(canvas.Handle(), x, y, dx.data());
  return true;
}

}  // namespace

void TCustomRPFontInfo::DrawStyleText(const AnsiString& text, bool unicode, TCanvas& canvas, int32_t styleNo,
                                      int32_t spaceBefore, int32_t left, int32_t top, int32_t width, int32_t height,
                                      TRPStyle& rpStyle, TRPTextDrawStates drawState, bool printing,
                                      bool previewCorrection, TRPColorMode colorMode, TRPBiDiMode defBiDiMode) const {
  const TRunText run(text, unicode);
  const int32_t textX = left + spaceBefore;
  bool drawn = false;
  canvas.Changing();
  if (printing && (BiDiMode == rpbdUnspecified ? defBiDiMode : BiDiMode) == rpbdUnspecified) {
    if (canvas.Brush().Style() != bsClear) {
      canvas.Pen().SetStyle(psClear);
      canvas.FillRect(TRect{left, top, left + width, top + height});
      canvas.Pen().SetStyle(psSolid);
      canvas.Brush().SetStyle(bsClear);
    }
    HDC dc = canvas.Handle();
    const int32_t extra = GetTextCharacterExtra(dc);
    if (previewCorrection || extra != 0) {
      SetTextCharacterExtra(dc, 0);
      drawn = DrawFitted(text, run, canvas, textX, top, width, spaceBefore, previewCorrection, extra);
      SetTextCharacterExtra(dc, extra);
    }
  }
  if (!drawn) {
    run.TextOut(canvas.Handle(), textX, top);
    const TRPSpecialCharacters visible = GetRPVisibleSpecialCharacters();
    if (drawState.Contains(rptsSpecialCharacters) && (visible.Contains(rpscSpace) || visible.Contains(rpscNBSP))) {
      canvas.Brush().SetStyle(bsClear);
      DrawVisibleSpaces(run, canvas, textX, top);
    }
  }
  if (spaceBefore != 0 && !printing) {
    if (drawState.Contains(rptsSelected) && text.empty()) {
      TRPTextDrawStates unselected = drawState;
      unselected.Exclude(rptsSelected);
      rpStyle.ApplyStyleColor(canvas, styleNo, unselected, printing, colorMode);
    }
    if (canvas.Brush().Style() != bsClear) canvas.FillRect(TRect{left, top, left + spaceBefore, top + height});
  }
  canvas.Brush().SetStyle(bsClear);
  OUTLINETEXTMETRICA outline;
  const bool haveOutline = GetOutlineTextMetricsA(canvas.Handle(), sizeof outline, &outline) != 0;
  if (spaceBefore != 0 && canvas.Font().Style().Contains(fsUnderline) && haveOutline) {
    canvas.Pen().SetColor(canvas.Font().Color());
    canvas.Pen().SetWidth(outline.otmsUnderscoreSize);
    canvas.Pen().SetStyle(psInsideFrame);
    const int32_t y =
        top + outline.otmTextMetrics.tmAscent + outline.otmsUnderscoreSize / 2 - outline.otmsUnderscorePosition;
    canvas.MoveTo(left, y);
    canvas.LineTo(left + spaceBefore + 1, y);
    canvas.Pen().SetStyle(psSolid);
  }
  if (StyleEx.Contains(rpfsOverline)) {
    canvas.Pen().SetWidth(haveOutline ? outline.otmsUnderscoreSize : 1);
    canvas.Pen().SetColor(canvas.Font().Color());
    canvas.MoveTo(left, top);
    canvas.LineTo(left + width, top);
  }
  canvas.Changed();
}
