// Painting formatted documents onto pages, compared with the canvas's own text drawing
// at the positions the layout gives, and with pictures of backgrounds and breaks.
#include <gtest/gtest.h>

#include <algorithm>

#include "../model/RPTestCanvas.h"
#include "RPLayoutPeer.h"
#include "RPLayoutTestData.h"
#include "platform/graphics/TextDraw.h"

namespace {

// The reference: the texts drawn by the canvas itself in the style's font at (x, y).
std::unique_ptr<TBitmap> Reference(TTestFormattedData& data, int32_t width, int32_t height,
                                   const std::vector<std::tuple<int, int, std::u16string>>& runs) {
  auto page = WhitePage(width, height);
  data.Style.ApplyStyle(*page->Canvas(), 0, rpbdUnspecified, false);
  data.Style.ApplyStyleColor(*page->Canvas(), 0, TRPTextDrawStates{}, false, rpcmColor);
  for (const auto& [x, y, text] : runs)
    ExtTextOutW(page->Canvas()->Handle(), x, y, 0, nullptr, text.data(), static_cast<int32_t>(text.size()), nullptr);
  return page;
}

TEST(RPPaintTest, WrappedLinesAreDrawnWhereTheyWereLaidOut) {
  TTestFormattedData data;
  data.Width = 60;
  data.AddW(u"Жук ест мёд", 0, 0);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 2);
  auto page = WhitePage(60, 30);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 60, 30});
  const auto expected = Reference(data, 60, 30, {{0, 0, u"Жук ест"}, {0, 15, u"мёд"}});
  EXPECT_EQ(Pixels(*page), Pixels(*expected));
}

// A line that a taller fallback face draws some of is taller, and its text still stands
// on the line's baseline: the canvas's own drawing of it with the style font's top that
// far below the line's top (the fallback face's ascent, from its own tables, over the
// style's), and the next line below the taller face's descent.
TEST(RPPaintTest, TextWithATallerFallbackFaceStandsOnTheBaseline) {
  const TPeerText style = PeerText(u"Arial", 10, {});
  const TPeerText cjk = PeerFallbackText(u"Arial", 10, U'日');
  ASSERT_GT(cjk.Height, style.Height) << "fonts-droid-fallback is missing (scripts/setup.sh installs it)";
  const int ascent = std::max(style.Ascent, cjk.Ascent), descent = std::max(style.Descent, cjk.Descent);
  TTestFormattedData data;
  data.Width = 120;
  data.AddW(u"Lit 日本語 x", 0, 0);
  data.AddW(u"Жук", 0, 0);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 2);
  auto page = WhitePage(120, 40);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 120, 40});
  const auto expected =
      Reference(data, 120, 40, {{0, ascent - style.Ascent, u"Lit 日本語 x"}, {0, ascent + descent, u"Жук"}});
  EXPECT_EQ(Pixels(*page), Pixels(*expected));
}

// Justified words carry their extra pixels before them: each word is drawn at its draw
// item's left plus that extra.
TEST(RPPaintTest, JustifiedWordsAreDrawnAfterTheirExtra) {
  TTestFormattedData data;
  data.Width = 60;
  data.Style.ParaStyles()[0]->Alignment = rpaJustify;
  data.AddAnsiText("aa bb cc dd", 0, TRPTag(), 0);
  data.FormatAll();
  ASSERT_GE(data.DrawItems.Count(), 3);
  ASSERT_GT(data.DrawItems[1]->JustifyExtra, 0);
  auto page = WhitePage(60, 30);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 60, 30});
  std::vector<std::tuple<int, int, std::u16string>> runs;
  for (int32_t i = 0; i < data.DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *data.DrawItems[i];
    AnsiString s;
    data.DrawItems.GetSubString(i, data, s);
    runs.emplace_back(d.Left + d.JustifyExtra, d.Top, std::u16string(s.begin(), s.end()));
  }
  EXPECT_EQ(Pixels(*page), Pixels(*Reference(data, 60, 30, runs)));
}

// The document point at the rectangle's top-left lands at the canvas's origin: the
// second line painted through a rectangle that starts at it.
TEST(RPPaintTest, ARectangleShowsItsPartOfTheDocument) {
  TTestFormattedData data;
  data.Width = 60;
  data.AddW(u"Жук ест мёд", 0, 0);
  data.FormatAll();
  auto page = WhitePage(60, 15);
  data.DrawRect(*page->Canvas(), TRect{0, 15, 60, 30});
  // The line above also overlaps the band; it is painted too, at -15.
  EXPECT_EQ(Pixels(*page), Pixels(*Reference(data, 60, 15, {{0, -15, u"Жук ест"}, {0, 0, u"мёд"}})));
}

// A paragraph's background spans its text area from its first line's top to its last
// line's bottom (a background rectangle is filled without its pen).
TEST(RPPaintTest, ParagraphBackgroundCoversItsLines) {
  TTestFormattedData data;
  data.Width = 20;
  data.Style.ParaStyles()[0]->Background.Color = clYellow;
  data.Style.ParaStyles()[0]->LeftIndent = 2;
  data.AddAnsiText("", 0, TRPTag(), 0);
  data.AddAnsiText("", 0, TRPTag(), 0);
  const int32_t plain = data.AddParaStyle();
  data.AddAnsiText("", 0, TRPTag(), plain);
  data.FormatAll();
  auto page = WhitePage(24, 50);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 24, 50});
  const auto art = Art(*page, clYellow);
  for (int32_t y = 0; y < 50; ++y) {
    SCOPED_TRACE(y);
    // Two empty paragraphs of 15 pixels each: rows 0..15 and 15..30 filled.
    const std::string row = y < 30 ? ".." + std::string(18, '#') + "...." : std::string(24, '.');
    EXPECT_EQ(art[static_cast<size_t>(y)], row);
  }
}

TEST(RPPaintTest, ABreakDrawsItsLineAcrossTheWidth) {
  TTestFormattedData data;
  data.Width = 30;
  data.AddItem("", CreateItemByStyleNo(rpkindBreak, &data));
  data.FormatAll();
  auto page = WhitePage(30, 11);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 30, 11});
  const auto art = Art(*page, clBlack);
  // 5 pixels below the top, from left + 5 to right - 5.
  EXPECT_EQ(art[5], ".....####################.....");
  EXPECT_EQ(art[4], std::string(30, '.'));
}

}  // namespace
