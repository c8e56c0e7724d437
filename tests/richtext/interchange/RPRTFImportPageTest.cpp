// An imported document laid out on a report page and painted, compared pixel for pixel
// with its expected image (tests/data/richtext/pages, written only by
// scripts/regenerate-page-goldens.sh and checked by eye).
//
// The document is RTF that LibreOffice wrote from tests/data/richtext/interchange/
// import-page.fodt (kept beside it, so that the page does not move with LibreOffice's
// versions): a title, character and paragraph formatting, a link, a bordered paragraph
// with a background, a tab with a leader, bulleted and numbered lists of two levels and a
// table with merged cells.
#include <gtest/gtest.h>

#include "richtext/interchange/RPRTFImportFixture.h"
#include "richtext/interchange/RPRTFPicturePeer.h"
#include "richtext/layout/print/RPGolden.h"

namespace {

constexpr int32_t PageWidth = 680, PageHeight = 420;

TEST(RPRTFImportPage, AnImportedDocumentOnAReportPageMatchesItsImage) {
  TImportFixture f;
  f.Props.UnicodeMode = rpruMixed;
  f.Props.TextStyleMode = rprsAddIfNeeded;
  f.Props.ParaStyleMode = rprsAddIfNeeded;
  const std::vector<uint8_t> rtf = ReadBytesOf(QF_TEST_DATA_DIR "/richtext/interchange/import-page.rtf");
  ASSERT_FALSE(rtf.empty());
  ASSERT_EQ(f.Import(std::string(rtf.begin(), rtf.end())), rtf_ec_OK);
  TRPStyle& style = f.Style;
  style.TextStyles()[0]->FontName = "Liberation Serif";
  f.Helper.RichPane().LeftMargin = f.Helper.RichPane().RightMargin = 10;
  f.Helper.RichPane().TopMargin = f.Helper.RichPane().BottomMargin = 10;
  TBitmap page;
  page.SetPixelFormat(pf24bit);
  page.SetSize(PageWidth, PageHeight);
  page.Canvas()->Brush().SetColor(clWhite);
  page.Canvas()->FillRect(TRect{0, 0, PageWidth, PageHeight});
  f.Helper.BeginLayout(*page.Canvas(), PageWidth);
  for (int32_t calls = 0; f.Helper.LayoutNextPage(PageHeight); ++calls) ASSERT_LT(calls, 10);
  ASSERT_EQ(f.Helper.GetPagesCount(), 1);
  f.Helper.PaintPage(1, *page.Canvas(), false, PageHeight);
  ExpectMatchesGoldenImage(page, "rtf_import_page.png");
}

}  // namespace
