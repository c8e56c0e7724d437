// Pagination with the band heights and the internal-link fix-point, and the cover page.
#include <algorithm>
#include <exception>

#include "convert/ConvertResStrings.h"
#include "convert/cFB2WolConvertor.h"
#include "unicode/UniGraphics.h"
#include "unicode/UniSystem.h"

namespace {

// The height of a band whose texts are not all empty, else 0.
int32_t BandHeight(bool shown, const WideString& left, const WideString& right, int32_t lineHeight) {
  return shown && (!left.empty() || !right.empty()) ? lineHeight : 0;
}

}  // namespace

int32_t TFB2WolConvertor::HeaderHeight(int32_t n) const {
  if (!Scheme.ShowHeader || (n == 1 && !Scheme.HeaderOnFirstPage)) return 0;
  return n % 2 == 1 ? HeaderHeightOdd : HeaderHeightEven;
}

int32_t TFB2WolConvertor::FooterHeight(int32_t n) const {
  if (!Scheme.ShowFooter || (n == 1 && !Scheme.FooterOnFirstPage)) return 0;
  return n % 2 == 1 ? FooterHeightOdd : FooterHeightEven;
}

void TFB2WolConvertor::PreparePage() {
  PageBitmap.SetWidth(1);
  PageBitmap.SetPixelFormat(Scheme.BookColors == 1 ? pf1bit : pf24bit);
  PageBitmap.SetSize(Scheme.PageWidth, Scheme.PageHeight);
  MeasureBands();
}

int32_t TFB2WolConvertor::PageTextHeight() const {
  return Scheme.PageHeight - Scheme.MarginTop - Scheme.MarginBottom - std::max(HeaderHeightOdd, HeaderHeightEven) -
         std::max(FooterHeightOdd, FooterHeightEven);
}

void TFB2WolConvertor::MeasureBands() {
  TCanvas& canvas = *PageBitmap.Canvas();
  const TVoDaziStyle& header = Scheme.Styles(vsHeader);
  ApplyStyleFont(header, canvas);
  const int32_t headerLine =
      WideCanvasTextHeight(&canvas, u"Abfgy") + header.SpaceBefore + header.SpaceAfter + Scheme.HeaderLineSize;
  const TVoDaziStyle& footer = Scheme.Styles(vsFooter);
  ApplyStyleFont(footer, canvas);
  const int32_t footerLine =
      WideCanvasTextHeight(&canvas, u"Abfgy") + footer.SpaceBefore + footer.SpaceAfter + Scheme.FooterLineSize;

  HeaderHeightOdd = BandHeight(Scheme.ShowHeader, Scheme.HeaderLeftOddText, Scheme.HeaderRightOddText, headerLine);
  HeaderHeightEven = Scheme.HeaderDiffEvenPages ? BandHeight(Scheme.ShowHeader, Scheme.HeaderLeftEvenText,
                                                             Scheme.HeaderRightEvenText, headerLine)
                                                : HeaderHeightOdd;
  FooterHeightOdd = BandHeight(Scheme.ShowFooter, Scheme.FooterLeftOddText, Scheme.FooterRightOddText, footerLine);
  FooterHeightEven = Scheme.FooterDiffEvenPages ? BandHeight(Scheme.ShowFooter, Scheme.FooterLeftEvenText,
                                                             Scheme.FooterRightEvenText, footerLine)
                                                : FooterHeightOdd;
}

int32_t TFB2WolConvertor::LayoutPages() {
  TReportRichPane& pane = Report.RichPane();
  pane.TopMargin = Scheme.MarginTop;
  pane.BottomMargin = Scheme.MarginBottom;
  pane.LeftMargin = Scheme.MarginLeft;
  pane.RightMargin = Scheme.MarginRight;
  Report.BeginLayout(*PageBitmap.Canvas(), Scheme.PageWidth);
  // A layout gives the tables' cells their widths; the pictures of cells wider than
  // their cells are loaded again to fit, which may narrow the cells of the next layout.
  for (int32_t pass = 0; pass < MaxPictureFitPasses && Builder.FitPicturesToCells(); ++pass)
    Report.BeginLayout(*PageBitmap.Canvas(), Scheme.PageWidth);
  for (int32_t n = 1;; ++n)
    if (!Report.LayoutNextPage(Scheme.PageHeight - HeaderHeight(n) - FooterHeight(n))) break;
  return Report.GetPagesCount();
}

int32_t TFB2WolConvertor::LastDrawItemOfPage(int32_t j, int32_t pageCount) const {
  const TReportRPData& data = Report.ReportData();
  if (j == pageCount) return data.DrawItems.Count() - 1;
  const TRPPageInfo& next = data.Pages.GetItem(j);  // page j + 1
  return next.FirstDrawItem - 1 + (next.FirstPart > 1 ? 1 : 0);
}

bool TFB2WolConvertor::UpdateLinkPages(int32_t pageCount) {
  const TReportRPData& data = Report.ReportData();
  int32_t last = -1;
  for (int32_t j = 1; j <= pageCount; ++j) {
    const TRPPageInfo& page = data.Pages.GetItem(j - 1);
    const int32_t lastDraw = LastDrawItemOfPage(j, pageCount);
    // A page that begins inside an item leaves that item to the page before.
    const int32_t firstDraw = page.FirstPart > 1 ? page.FirstDrawItem + 1 : page.FirstDrawItem;
    if (firstDraw <= lastDraw && lastDraw < data.DrawItems.Count()) {
      const int32_t firstItem = data.DrawItems[firstDraw]->ItemNo;
      const int32_t lastItem = data.DrawItems[lastDraw]->ItemNo;
      for (int32_t k = std::max(firstItem, last + 1); k <= lastItem; ++k) Links.Targets.SetPageForKey(k, j);
      last = std::max(last, lastItem);
    }
    Progress(j);
  }
  if (!Links.Targets.AnyChanged()) return false;
  for (const TSrcLinkItem& source : Links.Sources) {
    if (!source.Target->Changed) continue;
    TCustomRPData& document = source.Document ? *source.Document : Report.RichPane().RPData();
    document.SetItemTextW(source.Key, ExpandLinkTemplate(Scheme.InternalLinksText, source.Target->Page));
  }
  Links.Targets.ResetChanged();
  return true;
}

void TFB2WolConvertor::FormatPages() {
  try {
    ProgressTotal = 100;
    SetStage(LoadWideResString(&SMsgFormatting));
    Links.RemoveUnreferenced();
    PreparePage();

    const bool linkPass = Scheme.InternalLinksMode > 0 && Links.HasLinks();
    int32_t pageCount = 0;
    FLinkPasses = 0;
    for (;;) {
      Progress(0);
      pageCount = LayoutPages();
      ++FLinkPasses;
      ProgressTotal = pageCount;
      Progress(0);
      if (!linkPass || !UpdateLinkPages(pageCount)) break;
      // The page references of a book can push their targets back and forth for ever:
      // after the last allowed pass the rewritten texts are laid out once more and stay.
      if (FLinkPasses == MaxLinkPasses) {
        pageCount = LayoutPages();
        break;
      }
    }
    PageCount = pageCount;
    Progress(0);
    ProgressTotal = PageCount;
  } catch (...) {
    ResetLayout();
    throw;
  }
}

void TFB2WolConvertor::PrepareCover() {
  if (Scheme.CoverPage == 0) return;
  const bool turned = Scheme.PageRotate != 0 && Scheme.RotateCover;
  const int32_t width = turned ? Scheme.PageHeight : Scheme.PageWidth;
  const int32_t height = turned ? Scheme.PageWidth : Scheme.PageHeight;
  const int32_t boxWidth = width - Scheme.CoverLeft - Scheme.CoverRight;
  const int32_t boxHeight = height - Scheme.CoverTop - Scheme.CoverBottom;
  TBitmap image;
  try {
    if (!Book.LoadCoverImage(image, boxWidth, boxHeight, Scheme.EnlargeCover, Scheme.CoverPage)) return;
  } catch (const std::exception&) {
    // A cover no decoder takes is left out, as a broken picture in the text is: the book
    // is written as one without a cover.
    return;
  }
  auto cover = std::make_unique<TBitmap>();
  cover->SetPixelFormat(Scheme.CoverPage == 1 ? pf1bit : pf24bit);
  cover->SetSize(width, height);
  TCanvas& canvas = *cover->Canvas();
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(TRect{0, 0, width, height});
  canvas.Draw(Scheme.CoverLeft + (boxWidth - image.Width()) / 2, Scheme.CoverTop + (boxHeight - image.Height()) / 2,
              &image);
  CoverBitmap = std::move(cover);
}
