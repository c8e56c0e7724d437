// Backgrounds drawn into small pages: a 4 x 4 picture, blue with a red top-left pixel,
// shows where each style puts it.
#include "richtext/layout/RPBackground.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

#include "../model/RPTestCanvas.h"
#include "RPLayoutTestData.h"

namespace {

// Where the red marks of the page are.
std::set<std::pair<int, int>> RedPixels(const TBitmap& page) {
  std::set<std::pair<int, int>> out;
  for (int32_t y = 0; y < page.Height(); ++y)
    for (int32_t x = 0; x < page.Width(); ++x)
      if (page.PixelColor(x, y) == clRed) out.insert({x, y});
  return out;
}

TEST(RPBackgroundTest, StylesPlaceThePictureOnScreen) {
  struct TCase {
    TBackgroundStyle Style;
    int ScrollX;
    std::set<std::pair<int, int>> Marks;
  };
  const TCase cases[] = {
      {bsTiled, 0, {{0, 0}, {4, 0}, {8, 0}, {0, 4}, {4, 4}, {8, 4}, {0, 8}, {4, 8}, {8, 8}}},
      {bsTiled, 1, {{0, 0}, {4, 0}, {8, 0}, {0, 4}, {4, 4}, {8, 4}, {0, 8}, {4, 8}, {8, 8}}},  // fixed to the area
      {bsTiledAndScrolled, 1, {{3, 0}, {7, 0}, {3, 4}, {7, 4}, {3, 8}, {7, 8}}},               // moves with the text
      {bsCentered, 0, {{3, 3}}},
      {bsTopLeft, 0, {{0, 0}}},
      {bsTopRight, 0, {{6, 0}}},
      {bsBottomLeft, 0, {{0, 6}}},
      {bsBottomRight, 0, {{6, 6}}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::to_string(c.Style) + " scrolled " + std::to_string(c.ScrollX));
    TRPBackground background(false);
    background.SetImage(MarkedPicture(), rppaDoNothing, nullptr);
    background.Style = c.Style;
    auto page = WhitePage(10, 10);
    background.Draw(*page->Canvas(), TRect{0, 0, 10, 10}, c.ScrollX, 0, 0, 0, 10, 10, clLime, false);
    EXPECT_EQ(RedPixels(*page), c.Marks);
    // Positioned styles are drawn on the colour; tiles cover the page.
    const bool positioned = c.Style >= bsCentered;
    EXPECT_EQ(page->PixelColor(9, 9) == clLime, positioned && c.Style != bsBottomRight);
  }
}

TEST(RPBackgroundTest, StretchedCoversTheClientArea) {
  TRPBackground background(false);
  background.SetImage(MarkedPicture(), rppaDoNothing, nullptr);
  background.Style = bsStretched;
  auto page = WhitePage(10, 10);
  background.Draw(*page->Canvas(), TRect{0, 0, 10, 10}, 0, 0, 0, 0, 8, 8, clNone, false);
  EXPECT_EQ(RedPixels(*page), (std::set<std::pair<int, int>>{{0, 0}, {1, 0}, {0, 1}, {1, 1}}));
  EXPECT_EQ(page->PixelColor(7, 7), clBlue);
  EXPECT_EQ(page->PixelColor(8, 8), clWhite);
}

TEST(RPBackgroundTest, AColourAloneFillsAndNoneDrawsNothing) {
  TRPBackground background(true);
  EXPECT_TRUE(background.IsEmpty());
  auto page = WhitePage(6, 6);
  background.Draw(*page->Canvas(), TRect{1, 1, 5, 5}, 0, 0, 0, 0, 6, 6, clNone, false);
  EXPECT_EQ(Art(*page, clLime), std::vector<std::string>(6, "......"));
  background.Draw(*page->Canvas(), TRect{1, 1, 5, 5}, 0, 0, 0, 0, 6, 6, clLime, false);
  EXPECT_EQ(Art(*page, clLime), (std::vector<std::string>{"......", ".####.", ".####.", ".####.", ".####.", "......"}));
}

// A centred picture larger than its area is drawn at a negative offset, cut by the clip;
// the shift makes the clipped rectangle's own corner the working origin.
TEST(RPBackgroundTest, ACentredPictureLargerThanTheAreaIsClipped) {
  TRPBackground background(false);
  background.SetImage(MarkedPicture(), rppaDoNothing, nullptr);
  background.Style = bsCentered;
  auto page = WhitePage(6, 6);
  background.Draw(*page->Canvas(), TRect{2, 2, 4, 4}, 0, 0, 2, 2, 2, 2, clNone, true);
  EXPECT_EQ(Art(*page, clBlue), (std::vector<std::string>{"......", "......", "..##..", "..##..", "......", "......"}));
  // The canvas state came back: drawing at the origin lands at the origin again.
  page->Canvas()->Brush().SetStyle(bsSolid);
  page->Canvas()->Brush().SetColor(clRed);
  page->Canvas()->FillRect(TRect{0, 0, 1, 1});
  EXPECT_EQ(page->PixelColor(0, 0), clRed);
}

// Printing at twice the screen resolution: tiles of 8 x 8 device pixels from the part's
// own grid; the scrolled tiling prints the same.
TEST(RPBackgroundTest, PrintedTilesAreScaledToTheDevice) {
  TRPResolution resolution;
  resolution.DevicePpiX = resolution.DevicePpiY = 192;
  std::set<std::pair<int, int>> marks[2];
  int n = 0;
  for (TBackgroundStyle style : {bsTiled, bsTiledAndScrolled}) {
    TRPBackground background(false);
    background.SetImage(MarkedPicture(), rppaDoNothing, nullptr);
    background.Style = style;
    auto page = WhitePage(12, 12);
    background.Print(*page->Canvas(), TRect{0, 0, 12, 12}, TRect{0, 0, 12, 12}, resolution, clNone, false, nullptr,
                     nullptr, false);
    marks[n++] = RedPixels(*page);
  }
  EXPECT_EQ(marks[0], (std::set<std::pair<int, int>>{{0, 0},
                                                     {1, 0},
                                                     {0, 1},
                                                     {1, 1},
                                                     {8, 0},
                                                     {9, 0},
                                                     {8, 1},
                                                     {9, 1},
                                                     {0, 8},
                                                     {1, 8},
                                                     {0, 9},
                                                     {1, 9},
                                                     {8, 8},
                                                     {9, 8},
                                                     {8, 9},
                                                     {9, 9}}));
  EXPECT_EQ(marks[1], marks[0]);
}

TEST(RPBackgroundTest, PrintedCornerPictureIsPlacedInTheFullArea) {
  TRPResolution resolution;
  TRPBackground background(false);
  background.SetImage(MarkedPicture(), rppaDoNothing, nullptr);
  background.Style = bsBottomRight;
  auto page = WhitePage(10, 10);
  // The part drawn now is the lower half of a 10 x 10 area.
  background.Print(*page->Canvas(), TRect{0, 5, 10, 10}, TRect{0, 0, 10, 10}, resolution, clLime, false, nullptr,
                   nullptr, false);
  EXPECT_EQ(RedPixels(*page), (std::set<std::pair<int, int>>{{6, 6}}));
  EXPECT_EQ(page->PixelColor(0, 4), clWhite);
  EXPECT_EQ(page->PixelColor(0, 5), clLime);
}

TEST(RPBackgroundTest, ItemStylesMapBothWays) {
  TRPBackground background(false);
  const std::pair<TBackgroundStyle, TRPItemBackgroundStyle> table[] = {
      {bsNoBitmap, rpbsColor},         {bsStretched, rpbsStretched}, {bsTiled, rpbsTiled},
      {bsTiledAndScrolled, rpbsTiled}, {bsCentered, rpbsCentered},   {bsTopLeft, rpbsCentered},
      {bsTopRight, rpbsCentered},      {bsBottomLeft, rpbsCentered}, {bsBottomRight, rpbsCentered}};
  for (const auto& [style, item] : table) {
    background.Style = style;
    EXPECT_EQ(background.GetItemBackgroundStyle(), item);
  }
  const std::pair<TRPItemBackgroundStyle, TBackgroundStyle> back[] = {
      {rpbsColor, bsNoBitmap}, {rpbsStretched, bsStretched}, {rpbsTiled, bsTiled}, {rpbsCentered, bsCentered}};
  for (const auto& [item, style] : back) {
    background.SetItemBackgroundStyle(item);
    EXPECT_EQ(background.Style, style);
  }
}

TEST(RPBackgroundTest, Queries) {
  TRPBackground background(false);
  background.SetImage(MarkedPicture(), rppaDoNothing, nullptr);
  background.Style = bsTiledAndScrolled;
  EXPECT_FALSE(background.IsEmpty());
  EXPECT_TRUE(background.HasVisibleImage());
  EXPECT_FALSE(background.ScrollRequiresFullRedraw());
  EXPECT_FALSE(background.NeedsColorFill());
  background.Style = bsCentered;
  EXPECT_TRUE(background.ScrollRequiresFullRedraw());
  EXPECT_TRUE(background.NeedsColorFill());
  background.FreeImage();
  EXPECT_FALSE(background.HasVisibleImage());
}

}  // namespace
