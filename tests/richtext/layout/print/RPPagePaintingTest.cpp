// Painting laid-out pages: placement on the canvas and its window origin, the page
// background and the report's height, colour modes, split parts, notifications.
#include <gtest/gtest.h>

#include <algorithm>

#include "../../model/RPTestCanvas.h"
#include "RPPrintTestData.h"
#include "platform/graphics/DeviceContext.h"
#include "richtext/model/RPException.h"

namespace {

// Text, a paragraph with a background and a border, a block painted through a bitmap,
// a page background picture and a coloured document.
void BuildMixedDocument(TReportFixture& f) {
  f.Pane().Color = clYellow;
  const int32_t framed = f.AddParaStyle();
  f.Para(framed).Background.Color = clAqua;
  f.Para(framed).Border.Style = rpbSingle;
  f.Para(framed).Border.Color = clNavy;
  f.Data().AddAnsiText("Page painting", 0, TRPTag(), framed);
  auto block = std::make_unique<TBlockItem>(&f.Data(), 20, 12, clRed);
  block->ParaNo = 0;
  f.Data().AddItemAsIs("", std::move(block));
  f.Data().AddAnsiText("after the block", 0, TRPTag(), 0);
}

std::unique_ptr<TBitmap> Canvas24(int32_t width, int32_t height) { return WhitePage(width, height); }

// A white page of 1 bit per pixel.
std::unique_ptr<TBitmap> Canvas1(int32_t width, int32_t height) {
  auto page = std::make_unique<TBitmap>();
  page->SetPixelFormat(pf1bit);
  page->SetSize(width, height);
  return page;
}

// shifted holds direct moved by (dx, dy), white elsewhere.
void ExpectShifted(const TBitmap& direct, const TBitmap& shifted, int32_t dx, int32_t dy) {
  for (int32_t y = 0; y < shifted.Height(); ++y)
    for (int32_t x = 0; x < shifted.Width(); ++x) {
      const bool inside = x >= dx && y >= dy && x - dx < direct.Width() && y - dy < direct.Height();
      const TColor expected = inside ? direct.PixelColor(x - dx, y - dy) : clWhite;
      ASSERT_EQ(shifted.PixelColor(x, y), expected) << x << "," << y;
    }
}

TEST(RPPagePaintingTest, PaintingAtAPositionMovesEverythingAndRestoresTheOrigin) {
  TReportFixture f(120);
  BuildMixedDocument(f);
  auto tile = std::make_unique<TBitmap>();
  tile->SetPixelFormat(pf24bit);
  tile->SetSize(3, 3);
  tile->Canvas()->Brush().SetColor(clGreen);
  tile->Canvas()->FillRect(TRect{0, 0, 1, 3});
  f.Pane().Background().SetImageCopy(*tile, rppaDoNothing, nullptr);
  f.Pane().SetBackgroundStyle(bsTiled);
  f.Paginate({60});
  ASSERT_EQ(f.Helper.GetPagesCount(), 1);
  auto direct = Canvas24(120, 60);
  f.Helper.PaintPage(1, *direct->Canvas(), false, 60);
  // Every layer shows: the tiled picture, the document colour, the paragraph's
  // background and border, the block, the text.
  const auto pixels = Pixels(*direct);
  for (TColor c : {clGreen, clAqua, clNavy, clRed, clBlack})
    EXPECT_NE(std::find(pixels.begin(), pixels.end(), c), pixels.end()) << std::hex << c;
  auto shifted = Canvas24(130, 100);
  f.Helper.PaintPageAt(10, 40, 1, *shifted->Canvas(), false, 60);
  ExpectShifted(*direct, *shifted, 10, 40);
  // The same on 1-bit pages in black on white, as a 1-bit book's pages are painted.
  f.Helper.SetColorMode(rpcmBlackOnWhite);
  auto direct1 = Canvas1(120, 60);
  f.Helper.PaintPage(1, *direct1->Canvas(), false, 60);
  auto shifted1 = Canvas1(130, 100);
  f.Helper.PaintPageAt(10, 40, 1, *shifted1->Canvas(), false, 60);
  ExpectShifted(*direct1, *shifted1, 10, 40);
  TPoint origin{-1, -1};
  GetWindowOrgEx(shifted->Canvas()->Handle(), &origin);
  EXPECT_EQ(origin, (TPoint{0, 0}));
  // Also when the painting raises.
  f.Pane().SetStyle(nullptr);
  EXPECT_THROW(f.Helper.PaintPageAt(10, 40, 1, *shifted->Canvas(), false, 60), ERichPaneError);
  GetWindowOrgEx(shifted->Canvas()->Handle(), &origin);
  EXPECT_EQ(origin, (TPoint{0, 0}));
}

// The report is as high as the page being painted: the document colour fills exactly
// that height, whatever the control's client height.
TEST(RPPagePaintingTest, TheReportsHeightIsThePaintHeight) {
  TReportFixture f(50);
  f.Pane().Color = clYellow;
  f.Pane().SetClientHeight(5);
  f.AddBlocks(0, {10});
  f.Paginate({100});
  auto page = Canvas24(50, 100);
  f.Helper.PaintPage(1, *page->Canvas(), false, 70);
  EXPECT_EQ(f.Data().GetHeight(), 70);
  EXPECT_EQ(page->PixelColor(25, 69), clYellow);
  EXPECT_EQ(page->PixelColor(25, 70), clWhite);
}

TEST(RPPagePaintingTest, ColourModesMapTheDocumentColour) {
  struct TCase {
    TRPColorMode Mode;
    TColor Expected;
  } cases[] = {{rpcmColor, clYellow},
               {rpcmBlackOnWhite, clWhite},
               {rpcmBlackAndWhite, clWhite},
               {rpcmGrayScale, ColorToGray(clYellow)}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Mode));
    TReportFixture f(20);
    f.Pane().Color = clYellow;
    f.AddBlocks(0, {5});
    f.Helper.SetColorMode(c.Mode);
    f.Paginate({20});
    auto page = WhitePage(20, 20);
    page->Canvas()->Brush().SetStyle(bsSolid);
    page->Canvas()->Brush().SetColor(clBlack);
    page->Canvas()->FillRect(TRect{0, 0, 20, 20});
    f.Helper.PaintPage(1, *page->Canvas(), false, 20);
    EXPECT_EQ(page->PixelColor(10, 15), c.Expected);
  }
}

TEST(RPPagePaintingTest, ABackgroundThatScrollsIsTiledOnPages) {
  TReportFixture f(20);
  f.AddBlocks(0, {5});
  f.Pane().Background().SetImageCopy(*WhitePage(4, 4), rppaDoNothing, nullptr);
  f.Pane().SetBackgroundStyle(bsTiledAndScrolled);
  f.Paginate({20});
  auto page = WhitePage(20, 20);
  f.Helper.PaintPage(1, *page->Canvas(), false, 20);
  EXPECT_EQ(f.Pane().BackgroundStyle(), bsTiled);
}

// A block 230 high after a 30-pixel line, cut into 70, 100 and 60 on pages of 100, then
// a 30-pixel line: each page shows its part at the right place, in the part's colour.
TEST(RPPagePaintingTest, SplitPartsAreDrawnWhereTheirPagesShowThem) {
  TReportFixture f(20);
  f.AddBlocks(0, {30}, clBlack);
  f.AddSplitBlock(0, 230, 20);
  f.AddBlocks(0, {30}, clBlue);
  f.Paginate({100});
  ASSERT_EQ(f.Helper.GetPagesCount(), 3);
  const std::vector<std::string> expected[] = {
      // page 1: the line, then the first part (red) from 30 to 100
      {std::string(30, 'k') + std::string(70, 'r')},
      // page 2: the second part (lime) over the whole page
      {std::string(100, 'g')},
      // page 3: the third part (blue... the colour of part index 2) 60 high, the blue line
      // below it at 60 (document 260 - continued top 200)
      {std::string(60, 'b') + std::string(30, 'b') + std::string(10, '.')},
  };
  for (int32_t p = 1; p <= 3; ++p) {
    SCOPED_TRACE(p);
    auto page = WhitePage(20, 100);
    f.Helper.PaintPage(p, *page->Canvas(), false, 100);
    std::string column;
    for (int32_t y = 0; y < 100; ++y) {
      const TColor c = page->PixelColor(10, y);
      column += c == clBlack   ? 'k'
                : c == clRed   ? 'r'
                : c == clLime  ? 'g'
                : c == clBlue  ? 'b'
                : c == clWhite ? '.'
                               : '?';
    }
    EXPECT_EQ(column, expected[p - 1][0]);
  }
}

// A block that is a hyperlink.
class THotBlockItem : public TBlockItem {
public:
  using TBlockItem::TBlockItem;
  bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const override {
    return query == rpibqxJump || TBlockItem::GetBoolValueEx(query, rpStyle);
  }
};

// Checkpoints are reported once per item at its first draw item, never for a continued
// part; hyperlinks with their rectangle on the canvas.
TEST(RPPagePaintingTest, NotificationsOfCheckpointsAndHyperlinks) {
  TReportFixture f(20);
  f.Data().AddCheckpoint("first", false, TRPTag());
  f.AddBlocks(0, {30});
  f.Data().AddCheckpoint("split", false, TRPTag());
  f.AddSplitBlock(0, 230, 20);
  f.Data().AddItemAsIs("", std::make_unique<THotBlockItem>(&f.Data(), 8, 10, clBlue));
  f.Paginate({100});
  std::vector<std::pair<int32_t, TRect>> links;
  f.Helper.OnDrawHyperlink = [&](TRPReportHelper*, TCustomRPData*, int32_t itemNo, const TRect& rect) {
    links.emplace_back(itemNo, rect);
  };
  std::vector<std::tuple<int32_t, int32_t, int32_t>> checkpoints;  // page, item, y
  int32_t page = 0;
  f.Helper.OnDrawCheckpoint = [&](TRPReportHelper* sender, TCustomRPData*, int32_t itemNo, int32_t, int32_t y) {
    EXPECT_EQ(sender, &f.Helper);
    checkpoints.emplace_back(page, itemNo, y);
  };
  for (page = 1; page <= f.Helper.GetPagesCount(); ++page) {
    auto canvas = WhitePage(20, 100);
    f.Helper.PaintPage(page, *canvas->Canvas(), false, 100);
  }
  EXPECT_EQ(checkpoints, (std::vector<std::tuple<int32_t, int32_t, int32_t>>{{1, 0, 0}, {1, 1, 30}}));
  // The hot block (document top 260) on page 3, below the last part: 260 - 200.
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].first, 2);
  EXPECT_EQ(links[0].second, (TRect{0, 60, 8, 70}));
}

}  // namespace

namespace {

// A page that ends with the first part of a split block: the block's paragraph
// background ends with that part, not with the whole block.
TEST(RPPagePaintingTest, ParagraphBackgroundEndsWithTheSplitPart) {
  TReportFixture f(60);
  const int32_t shaded = f.AddParaStyle();
  f.Para(shaded).Background.Color = clAqua;
  f.AddBlocks(0, {30});
  TSplitBlockItem& split = f.AddSplitBlock(shaded, 230, 20);
  split.BlockWidth = 30;
  f.Paginate({100});
  auto page = WhitePage(60, 120);
  f.Helper.PaintPage(1, *page->Canvas(), false, 100);
  std::string column;
  for (int32_t y = 0; y < 120; ++y) column += page->PixelColor(45, y) == clAqua ? 'a' : '.';
  EXPECT_EQ(column, std::string(30, '.') + std::string(70, 'a') + std::string(20, '.'));
}

}  // namespace

namespace {

// One long word with soft hyphens, laid out narrow: every line but the last breaks after
// a soft hyphen, whose draw item is widened by a hyphen, and the page shows that hyphen
// in the widened part; the last line has none.
TEST(RPPagePaintingTest, ASoftHyphenWhereTheLineBreaksIsDrawnAsAHyphen) {
  for (const TPixelFormat format : {pf24bit, pf1bit}) {
    SCOPED_TRACE(format == pf1bit ? "1 bit" : "24 bits");
    TReportFixture f(40);
    f.Style.TextStyles()[0]->Unicode = true;
    f.Data().AddTextW(u"пе\u00ADре\u00ADно\u00ADси\u00ADмо\u00ADсть\u00ADна\u00ADши\u00ADрин\u00ADку", 0, TRPTag(), 0);
    if (format == pf1bit) f.Helper.SetColorMode(rpcmBlackOnWhite);
    f.Paginate({200});
    ASSERT_EQ(f.Helper.GetPagesCount(), 1);
    auto page = format == pf1bit ? std::make_unique<TBitmap>() : WhitePage(40, 200);
    if (format == pf1bit) {
      page->SetPixelFormat(pf1bit);
      page->SetSize(40, 200);
    }
    f.Style.ApplyStyle(*page->Canvas(), 0, rpbdUnspecified, false);
    const int32_t hyphenWidth = page->Canvas()->TextWidth("-");
    ASSERT_GT(hyphenWidth, 0);
    f.Helper.PaintPage(1, *page->Canvas(), false, 200);

    const TRPDrawLines& lines = f.Data().DrawItems;
    ASSERT_GE(lines.Count(), 3);
    const WideString text = f.Data().GetItemTextW(0);
    for (int32_t i = 0; i < lines.Count(); ++i) {
      SCOPED_TRACE(i);
      const TRPDrawLineInfo& d = *lines[i];
      const bool last = i + 1 == lines.Count();
      EXPECT_EQ(text[static_cast<size_t>(d.Offs + d.Length - 2)] == u'\u00AD', !last);
      // The widened part of a line (the hyphen's width), or as much right of the last
      // line's text: ink there is a hyphen.
      const int32_t from = last ? d.Left + d.Width : d.Left + d.Width - hyphenWidth;
      int32_t ink = 0;
      for (int32_t y = d.Top; y < d.Top + d.Height; ++y)
        for (int32_t x = from; x < from + hyphenWidth && x < 40; ++x)
          if (page->PixelColor(x, y) != clWhite) ++ink;
      if (last)
        EXPECT_EQ(ink, 0);
      else
        EXPECT_GT(ink, 0);
    }
  }
}

// A block printed through a bitmap that leaves the bitmap as the page painter filled it
// and paints its own background (the left half lime) under itself.
class TBackgroundBlockItem : public TBlockItem {
public:
  using TBlockItem::TBlockItem;
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  int32_t Mode = 0;
  TRect Area{};
  bool PrintToBitmap(TBitmap&, bool, TRPColorMode, int32_t, TRPDrawLineInfo&, TCustomRPFormattedData&) override {
    return true;
  }
  void DrawBackground(TCanvas& canvas, const TRect&, int32_t mode, TRPColorMode, const TRect& area) override {
    Mode = mode;
    Area = area;
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clLime);
    canvas.FillRect(TRect{area.Left, area.Top, area.Left + area.Width() / 2, area.Bottom});
  }
};
inline const TRPItemClassInfo TBackgroundBlockItem::ClassInfo{"TBackgroundBlockItem",
                                                              &CreateRPItem<TBackgroundBlockItem>};

// Under an item painted through a bitmap lies the paragraph's colour, then what the item
// paints behind itself, aligned to its box.
TEST(RPPagePaintingTest, AnItemsOwnBackgroundLiesUnderIt) {
  TReportFixture f(40);
  const int32_t para = f.AddParaStyle();
  f.Para(para).Background.Color = clAqua;
  auto owned = std::make_unique<TBackgroundBlockItem>(&f.Data(), 20, 6, clRed);
  TBackgroundBlockItem& block = *owned;
  owned->ParaNo = para;
  f.Data().AddItemAsIs("", std::move(owned));
  f.Paginate({20});
  auto page = WhitePage(40, 20);
  f.Helper.PaintPage(1, *page->Canvas(), false, 20);
  EXPECT_EQ(block.Mode, -1);
  EXPECT_EQ(block.Area, (TRect{0, 0, 20, 6}));
  EXPECT_EQ(page->PixelColor(block.Area.Left + 2, 3), ColorToRGB(clLime));
  EXPECT_EQ(page->PixelColor(block.Area.Left + 15, 3), ColorToRGB(clAqua));
}

}  // namespace
