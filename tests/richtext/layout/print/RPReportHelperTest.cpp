// The report helper's layout: calls and page counts, page heights that differ, device
// margins, the page bound, and the page-record queries.
#include <gtest/gtest.h>

#include "RPPrintTestData.h"
#include "richtext/model/RPException.h"

namespace {

TEST(RPReportHelperTest, ConstructionSetsTheReportControlUp) {
  TReportFixture f;
  TReportRichPane& pane = f.Pane();
  EXPECT_EQ(pane.Name(), "RichPane");
  EXPECT_EQ(pane.Owner(), &f.Helper);
  EXPECT_EQ(pane.RPPrint, &f.Helper);
  EXPECT_EQ(pane.DocumentFlags, 0x0562);
  EXPECT_FALSE(pane.Visible);
  EXPECT_EQ(pane.BorderStyle, bsNone);
  EXPECT_TRUE(pane.UsesStylePixelsPerInch());
  EXPECT_EQ(f.Helper.GetColorMode(), rpcmColor);
  EXPECT_TRUE(f.Helper.PreviewCorrection);
  EXPECT_TRUE(f.Data().IsPrintable());
  f.Helper.SetTransparentBackground(true);
  EXPECT_EQ(f.Data().GetColor(), clNone);
}

TEST(RPReportHelperTest, AnEmptyDocumentHasNoPages) {
  TReportFixture f;
  f.Helper.BeginLayout(*f.Page.Canvas(), 200);
  EXPECT_FALSE(f.Helper.LayoutNextPage(100));
  EXPECT_EQ(f.Helper.GetPagesCount(), 0);
}

TEST(RPReportHelperTest, ADocumentThatFitsTakesOneCallAndOnePage) {
  TReportFixture f;
  f.AddBlocks(0, {30, 30});
  f.Helper.BeginLayout(*f.Page.Canvas(), 200);
  EXPECT_TRUE(f.Helper.LayoutNextPage(100));
  EXPECT_FALSE(f.Helper.LayoutNextPage(100));
  EXPECT_FALSE(f.Helper.LayoutNextPage(100));
  EXPECT_EQ(f.Helper.GetPagesCount(), 1);
  // A new layout starts over.
  f.Helper.BeginLayout(*f.Page.Canvas(), 200);
  EXPECT_EQ(f.Helper.GetPagesCount(), 0);
  EXPECT_TRUE(f.Helper.LayoutNextPage(40));
  EXPECT_TRUE(f.Helper.LayoutNextPage(40));
  EXPECT_FALSE(f.Helper.LayoutNextPage(40));
  EXPECT_EQ(f.Helper.GetPagesCount(), 2);
}

// The room of a split item's next part follows the height of the page it lands on:
// pages of 100, 50, 100, 100 cut a 300-pixel block into 100, 50, 100, 50.
TEST(RPReportHelperTest, ASplitItemGetsTheRoomOfEachPagesHeight) {
  TReportFixture f;
  f.AddSplitBlock(0, 300, 20);
  EXPECT_EQ(f.Paginate({100, 50, 100}), 4);
  const auto& split = static_cast<TRPMultiDrawItemInfo&>(*f.Data().DrawItems[0]);
  ASSERT_EQ(split.PartsList.Count(), 4);
  const int32_t expected[] = {100, 50, 100, 50};
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(split.PartsList.Part(i)->Height, expected[i]);
  ASSERT_EQ(f.Helper.GetPagesCount(), 4);
  for (int32_t p = 1; p <= 4; ++p) {
    SCOPED_TRACE(p);
    int32_t first = -2, part = -2, last = -2;
    f.Data().GetPageDrawItems(p, first, part, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(part, p - 1);
    EXPECT_EQ(last, 0);
  }
  // A new layout empties the parts.
  f.Helper.BeginLayout(*f.Page.Canvas(), 200);
  EXPECT_EQ(static_cast<TRPMultiDrawItemInfo&>(*f.Data().DrawItems[0]).PartsList.Count(), 0);
}

// With a screen of 16 pixels per inch and a 96-pixel page, every screen pixel is 6
// device pixels: 5-pixel margins take 30 device pixels at the top and bottom of each page.
TEST(RPReportHelperTest, MarginsAreConvertedToTheDevice) {
  struct TOverride {
    TOverride() { SetScreenResolutionOverride(16); }
    ~TOverride() { SetScreenResolutionOverride(0); }
  } screen;
  TReportFixture f;
  f.Pane().TopMargin = 5;
  f.Pane().BottomMargin = 5;
  f.AddBlocks(0, {5, 5, 5, 5});  // 30 device pixels each
  f.Paginate({150});
  EXPECT_EQ(f.Data().TopMarginDevice, 30);
  EXPECT_EQ(f.Data().BottomMarginDevice, 30);
  // The control keeps its margins; 150 - 60 leaves room for three blocks.
  EXPECT_EQ(f.Pane().TopMargin, 5);
  ASSERT_EQ(f.Helper.GetPagesCount(), 2);
  EXPECT_EQ(f.Data().Pages.GetItem(1).FirstDrawItem, 3);
  EXPECT_EQ(f.Data().GetPageTop(2), 90 - 30);
  // The text width is the page's, converted to the screen.
  EXPECT_EQ(f.Pane().MaxTextWidth, 200 / 6);
}

// A split item that claims to continue but never cuts anything would make pages for
// ever; the bound (draw items + split parts + 1) turns that into an error.
class TStuckDrawItem : public TSplitDrawItem {
public:
  bool SplitLastPart(int32_t) override { return true; }
};
class TStuckBlockItem : public TSplitBlockItem {
public:
  using TSplitBlockItem::TSplitBlockItem;
  std::unique_ptr<TRPDrawLineInfo> CreatePrintingDrawItem(TCustomRPFormattedData&, const TRPResolution&) override {
    return std::make_unique<TStuckDrawItem>();
  }
};

TEST(RPReportHelperTest, APaginationThatDoesNotEndIsAnError) {
  TReportFixture f;
  f.AddBlocks(0, {30});
  f.Data().AddItemAsIs("", std::make_unique<TStuckBlockItem>(&f.Data(), 200, 300, clRed));
  f.Helper.BeginLayout(*f.Page.Canvas(), 200);
  int32_t calls = 0;
  try {
    while (f.Helper.LayoutNextPage(100) && ++calls < 1000) {
    }
    FAIL() << "no error after " << calls << " calls";
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), errRPPageBound);
  }
  EXPECT_LE(f.Helper.GetPagesCount(), f.Data().DrawItems.Count() + 1 + 1);
  // The control's margins came back although the call raised.
  EXPECT_EQ(f.Pane().TopMargin, 0);
}

TEST(RPReportHelperTest, PageNumbersAreChecked) {
  TReportFixture f;
  f.AddBlocks(0, {30});
  f.Paginate({100});
  EXPECT_NO_THROW(f.Data().CheckPageNo(1));
  for (int32_t bad : {0, 2}) {
    try {
      f.Data().CheckPageNo(bad);
      FAIL() << bad;
    } catch (const ERichPaneError& e) {
      EXPECT_STREQ(e.what(), "Invalid page number is specified for printing");
    }
  }
  // Painting a page that does not exist paints nothing.
  TBitmap page;
  page.SetPixelFormat(pf24bit);
  page.SetSize(10, 10);
  f.Helper.PaintPage(2, *page.Canvas(), false, 10);
  EXPECT_EQ(page.PixelColor(5, 5), clWhite);
}

TEST(RPReportHelperTest, PaintingWithoutAStyleSheetRaises) {
  TReportFixture f;
  f.AddBlocks(0, {30});
  f.Paginate({100});
  f.Pane().SetStyle(nullptr);
  try {
    f.Helper.PaintPage(1, *f.Page.Canvas(), false, 100);
    FAIL();
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "Style of printable TRichPane component is not assigned");
  }
  EXPECT_EQ(f.Data().CurrentDrawItem, nullptr);
}

TEST(RPReportHelperTest, ClearEmptiesTheDocument) {
  TReportFixture f;
  f.AddBlocks(0, {30});
  f.Helper.Clear();
  EXPECT_EQ(f.Pane().GetItemCount(), 0);
}

}  // namespace

namespace {

// Pages too low for any line (even of no height at all) still take one line each, so
// the layout ends.
TEST(RPReportHelperTest, PagesTooLowForAnyLineTakeOneLineEach) {
  for (int32_t height : {0, -50, 10}) {
    SCOPED_TRACE(height);
    TReportFixture f;
    f.AddBlocks(0, {30, 30});
    f.AddBlocks(0, {30});
    EXPECT_EQ(f.Paginate({height}), 3);
    EXPECT_EQ(f.Helper.GetPagesCount(), 3);
  }
}

}  // namespace
