#include "platform/graphics/ImageList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

constexpr TColor Mask = clFuchsia;

// A strip of two 3 x 2 images: image 0 red with a masked top-left pixel, image 1 blue.
std::unique_ptr<TBitmap> Strip() {
  auto strip = std::make_unique<TBitmap>();
  strip->SetPixelFormat(pf24bit);
  strip->SetSize(7, 2);  // one column too many: dropped
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 7; ++x) strip->SetPixelColor(x, y, x < 3 ? clRed : clBlue);
  strip->SetPixelColor(0, 0, Mask);
  return strip;
}

std::unique_ptr<TBitmap> Page(TPixelFormat format) {
  auto page = std::make_unique<TBitmap>();
  page->SetPixelFormat(format);
  page->SetSize(6, 4);
  page->Canvas()->Brush().SetColor(clWhite);
  page->Canvas()->FillRect(TRect{0, 0, 6, 4});
  return page;
}

std::vector<std::string> Rows(const TBitmap& page) {
  std::vector<std::string> rows;
  for (int32_t y = 0; y < page.Height(); ++y) {
    std::string row;
    for (int32_t x = 0; x < page.Width(); ++x) {
      const TColor c = page.PixelColor(x, y);
      row += c == clWhite ? '.' : c == clRed ? 'R' : c == clBlue ? 'B' : c == clBlack ? '#' : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(ImageListTest, AddMaskedCutsTheStripIntoImages) {
  TCustomImageList list(nullptr, 3, 2);
  EXPECT_EQ(list.AddMasked(*Strip(), Mask), 0);
  ASSERT_EQ(list.Count(), 2);
  EXPECT_FALSE(list.PixelOf(0, 0, 0).has_value());  // masked
  EXPECT_EQ(list.PixelOf(0, 1, 0), clRed);
  EXPECT_EQ(list.PixelOf(1, 0, 0), clBlue);
  EXPECT_FALSE(list.PixelOf(2, 0, 0).has_value());
  EXPECT_FALSE(list.PixelOf(0, 3, 0).has_value());
  EXPECT_EQ(list.AddMasked(*Strip(), clNone), 2);  // nothing masked
  EXPECT_EQ(list.PixelOf(2, 0, 0), Mask);
  TBitmap narrow;
  narrow.SetSize(2, 2);
  EXPECT_EQ(list.AddMasked(narrow, Mask), -1);
  EXPECT_EQ(list.Count(), 4);
}

TEST(ImageListTest, DrawLeavesMaskedPixelsAndClipsAtTheEdges) {
  TCustomImageList list(nullptr, 3, 2);
  list.AddMasked(*Strip(), Mask);
  auto page = Page(pf24bit);
  list.Draw(*page->Canvas(), 1, 1, 0);
  list.Draw(*page->Canvas(), 4, 3, 1);  // cut by the right and bottom edges
  list.Draw(*page->Canvas(), 0, 0, 7);  // no such image
  list.Draw(*page->Canvas(), 0, 0, -1);
  EXPECT_EQ(Rows(*page), (std::vector<std::string>{"......", "..RR..", ".RRR..", "....BB"}));
}

TEST(ImageListTest, DrawOnOneBitPageTakesTheNearestColour) {
  TCustomImageList list(nullptr, 3, 2);
  list.AddMasked(*Strip(), Mask);
  auto page = Page(pf1bit);
  list.Draw(*page->Canvas(), 2, 1, 1);  // blue is nearer black than white
  EXPECT_EQ(Rows(*page), (std::vector<std::string>{"......", "..###.", "..###.", "......"}));
}

TEST(ImageListTest, DrawBlendedMixesAQuarterOfTheColour) {
  TCustomImageList list(nullptr, 3, 2);
  list.AddMasked(*Strip(), Mask);
  auto page = Page(pf24bit);
  list.DrawBlended(*page->Canvas(), 0, 0, 0, clBlue);
  // red (255, 0, 0) with blue (0, 0, 255): (3 * 255 + 0 + 2) / 4 = 191, (0 + 255 + 2) / 4 = 64
  EXPECT_EQ(page->PixelColor(1, 0), RGB(191, 0, 64));
  EXPECT_EQ(page->PixelColor(0, 0), clWhite);               // masked
  list.DrawBlended(*page->Canvas(), 3, 0, 1, clHighlight);  // a system colour blends as its scheme colour
  // blue (0, 0, 255) with navy (0, 0, 128): (765 + 128 + 2) / 4 = 223
  EXPECT_EQ(page->PixelColor(3, 0), RGB(0, 0, 223));
}

TEST(ImageListTest, DrawHonoursTheWindowOrigin) {
  TCustomImageList list(nullptr, 3, 2);
  list.AddMasked(*Strip(), Mask);
  auto page = Page(pf24bit);
  SetWindowOrgEx(page->Canvas()->Handle(), 10, 0, nullptr);
  list.Draw(*page->Canvas(), 11, 2, 1);
  EXPECT_EQ(Rows(*page), (std::vector<std::string>{"......", "......", ".BBB..", ".BBB.."}));
}

}  // namespace
