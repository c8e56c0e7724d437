// Page rendering: text templates, style fonts and font quality, header and footer bands.
#include <cstring>

#include "convert/ConvertResStrings.h"
#include "convert/cFB2WolConvertor.h"
#include "imaging/uGrayBitmap.h"
#include "platform/base/CodePages.h"
#include "platform/base/Numbers.h"
#include "platform/graphics/TextDraw.h"
#include "unicode/UniGraphics.h"
#include "unicode/UniSystem.h"
#include "unicode/UniWindows.h"

namespace {

// Copies text with each "%" and its next character replaced by expand(letter), which
// answers false to keep the pair as written.
template <typename Expand>
WideString ExpandTemplate(WideStringView text, Expand expand) {
  WideString result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'%' && i + 1 < text.size()) {
      ++i;
      if (text[i] == u'%')
        result += u'%';
      else if (!expand(text[i], result))
        result.append({u'%', text[i]});
    } else {
      result += text[i];
    }
  }
  return result;
}

WideString Decimal(int32_t n) {
  const std::string digits = std::to_string(n);
  return WideString(digits.begin(), digits.end());
}

}  // namespace

WideString TFB2WolConvertor::AuthorOrMissing() const {
  return Description.Authors.empty() ? LoadWideResString(&STxtMissingAuthor) : Description.Authors;
}

WideString TFB2WolConvertor::TitleOrMissing() const {
  return Description.Title.empty() ? LoadWideResString(&STxtMissingTitle) : Description.Title;
}

WideString TFB2WolConvertor::ExpandPageTemplate(WideStringView text, int32_t page) const {
  return ExpandTemplate(text, [&](WideChar letter, WideString& out) {
    switch (letter) {
      case u'A':
        out += AuthorOrMissing();
        return true;
      case u'T':
        out += TitleOrMissing();
        return true;
      case u'P':
        out += Decimal(page);
        return true;
      case u'C':
        out += Decimal(PageCount);
        return true;
      default:
        return false;
    }
  });
}

WideString TFB2WolConvertor::ExpandLinkTemplate(WideStringView text, int32_t page) {
  return ExpandTemplate(text, [page](WideChar letter, WideString& out) {
    if (letter != u'P') return false;
    out += Decimal(page);
    return true;
  });
}

void TFB2WolConvertor::ApplyStyleFont(const TVoDaziStyle& style, TCanvas& canvas) const {
  TFont& font = canvas.Font();
  font.SetName(WideToAnsi(style.BaseFontName));
  font.SetSize(style.BaseFontSize);
  TFontStyles styles = font.Style() - TFontStyles{fsBold, fsItalic};
  if (style.BaseFontBold) styles = styles + TFontStyles{fsBold};
  if (style.BaseFontItalic) styles = styles + TFontStyles{fsItalic};
  font.SetStyle(styles);
  if (Scheme.BookColors == 2) ApplyFontQuality(canvas);
}

void TFB2WolConvertor::ApplyFontQuality(TCanvas& canvas) const {
  LOGFONTW logFont;
  GetObjectW(canvas.Font().Handle(), sizeof(logFont), &logFont);
  logFont.lfQuality = Scheme.UseClearType ? CLEARTYPE_QUALITY : ANTIALIASED_QUALITY;
  canvas.Font().SetHandle(CreateFontIndirectW(&logFont));
}

void TFB2WolConvertor::DrawBand(int32_t n, bool header, int32_t height) {
  const bool oddTexts = n % 2 == 1 || !(header ? Scheme.HeaderDiffEvenPages : Scheme.FooterDiffEvenPages);
  const WideString left = ExpandPageTemplate(header ? (oddTexts ? Scheme.HeaderLeftOddText : Scheme.HeaderLeftEvenText)
                                                    : (oddTexts ? Scheme.FooterLeftOddText : Scheme.FooterLeftEvenText),
                                             n);
  const WideString right =
      ExpandPageTemplate(header ? (oddTexts ? Scheme.HeaderRightOddText : Scheme.HeaderRightEvenText)
                                : (oddTexts ? Scheme.FooterRightOddText : Scheme.FooterRightEvenText),
                         n);
  const TVoDaziStyle& style = Scheme.Styles(header ? vsHeader : vsFooter);
  TCanvas& canvas = *PageBitmap.Canvas();
  ApplyStyleFont(style, canvas);

  // The band is split between the texts in proportion to their widths; a text that fits
  // keeps its whole width when both do not.
  const int32_t avail = Scheme.PageWidth - Scheme.MarginLeft - Scheme.MarginRight;
  const int32_t wl = WideCanvasTextWidth(&canvas, left) + 5;
  const int32_t wr = WideCanvasTextWidth(&canvas, right) + 5;
  auto split = static_cast<int32_t>(Round(static_cast<double>(avail) * wl / (wl + wr)));
  if (wl + wr > avail) {
    if (wl < wr && wl <= avail)
      split = wl;
    else if (wl >= wr && wr <= avail)
      split = avail - wr;
  }

  const int32_t x0 = Scheme.MarginLeft;
  const int32_t x1 = Scheme.PageWidth - Scheme.MarginRight;
  const int32_t top = header ? style.SpaceBefore : Scheme.PageHeight - height;
  const int32_t bottom = header ? height : Scheme.PageHeight - style.SpaceAfter;
  // No "&" prefixes: a title's ampersand is shown as it is.
  const uint32_t format = DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | (header ? DT_TOP : DT_BOTTOM);
  TRect leftRect{x0, top, x0 + split, bottom};
  TRect rightRect{x0 + split, top, x1, bottom};
  WideDrawText(canvas.Handle(), left.c_str(), -1, format, &leftRect);
  WideDrawText(canvas.Handle(), right.c_str(), -1, format | DT_RIGHT, &rightRect);

  const int32_t lines = header ? Scheme.HeaderLineSize : Scheme.FooterLineSize;
  for (int32_t g = 1; g <= lines; ++g) {
    const int32_t y = header ? height - g : Scheme.PageHeight - height + g;
    canvas.MoveTo(x0, y);
    canvas.LineTo(x1, y);
  }
}

void TFB2WolConvertor::RenderPage(int32_t n) {
  PaintPage(n);
  if (GraysPages()) GrayscaleBitmap(PageBitmap);
}

void TFB2WolConvertor::PaintPage(int32_t n) {
  TCanvas& canvas = *PageBitmap.Canvas();
  // The page white: one row filled by the canvas, copied into every other row (a solid
  // brush gives every row the same bytes; the canvas fills pixel by pixel).
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(TRect{0, 0, Scheme.PageWidth, 1});
  const auto rowBytes = static_cast<size_t>(PageBitmap.BytesPerScanLine());
  for (int32_t y = 1; y < PageBitmap.Height(); ++y)
    std::memcpy(PageBitmap.ScanLine(y), PageBitmap.ScanLine(0), rowBytes);
  if (PageCount == 0) return;
  const int32_t h = HeaderHeight(n);
  const int32_t f = FooterHeight(n);
  canvas.Pen().SetColor(clBlack);
  if (h > 0) DrawBand(n, true, h);
  if (f > 0) DrawBand(n, false, f);
  Report.PaintPageAt(0, h, n, canvas, false, Scheme.PageHeight - h - f);
}
