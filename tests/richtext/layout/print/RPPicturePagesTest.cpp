// Pictures and bullets in page layout and painting: a picture taller than a page is cut
// into parts over pages and each page paints its own rows; on screen both kinds paint
// themselves where the layout placed them.
#include <gtest/gtest.h>

#include "../../model/RPTestCanvas.h"
#include "../RPLayoutTestData.h"
#include "RPPrintTestData.h"
#include "platform/graphics/ImageList.h"
#include "richtext/layout/print/RPMultiImagePrintInfo.h"

namespace {

// A 20 x 230 picture: rows 0..99 red, 100..199 lime, 200..229 blue.
std::unique_ptr<TBitmap> StripedPicture() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(20, 230);
  const std::pair<TColor, TRect> stripes[] = {
      {clRed, {0, 0, 20, 100}}, {clLime, {0, 100, 20, 200}}, {clBlue, {0, 200, 20, 230}}};
  for (const auto& [color, rect] : stripes) {
    bitmap->Canvas()->Brush().SetColor(color);
    bitmap->Canvas()->FillRect(rect);
  }
  return bitmap;
}

char ColourLetter(TColor c) {
  return c == clBlack ? 'k' : c == clRed ? 'r' : c == clLime ? 'g' : c == clBlue ? 'b' : c == clWhite ? '.' : '?';
}

std::string Column(const TBitmap& page, int32_t x) {
  std::string column;
  for (int32_t y = 0; y < page.Height(); ++y) column += ColourLetter(page.PixelColor(x, y));
  return column;
}

// Adds the striped picture without spacing to paragraph 0 of data.
void AddStripedPicture(TCustomRPData& data, int32_t minHeightOnPage = 0) {
  auto picture = std::make_unique<TRPGraphicItemInfo>(&data, StripedPicture(), rpvaBaseline);
  picture->Spacing = 0;
  picture->MinHeightOnPage = minHeightOnPage;
  picture->ParaNo = 0;
  data.AddItemAsIs("", std::move(picture));
}

TEST(RPPicturePagesTest, APictureTallerThanAPageIsSplitAndEachPagePaintsItsRows) {
  TReportFixture f(20);
  f.AddBlocks(0, {30}, clBlack);
  AddStripedPicture(f.Data(), 20);
  f.Paginate({100});
  ASSERT_EQ(f.Helper.GetPagesCount(), 3);
  const auto* multi = dynamic_cast<const TRPMultiImagePrintInfo*>(f.Data().DrawItems[1]);
  ASSERT_NE(multi, nullptr);
  ASSERT_EQ(multi->PartsList.Count(), 3);
  // Parts: picture rows 0..69 after the 30-pixel block, 70..169, then 170..229.
  const std::pair<int32_t, int32_t> parts[] = {{0, 70}, {70, 100}, {170, 60}};
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(multi->Part(i).ImgTop, parts[i].first);
    EXPECT_EQ(multi->Part(i).ImgHeight, parts[i].second);
    EXPECT_EQ(multi->Part(i).Height, parts[i].second);
  }
  const std::string expected[] = {
      std::string(30, 'k') + std::string(70, 'r'),
      std::string(30, 'r') + std::string(70, 'g'),
      std::string(30, 'g') + std::string(30, 'b') + std::string(40, '.'),
  };
  for (int32_t p = 1; p <= 3; ++p) {
    SCOPED_TRACE(p);
    auto page = WhitePage(20, 100);
    f.Helper.PaintPage(p, *page->Canvas(), false, 100);
    EXPECT_EQ(Column(*page, 10), expected[p - 1]);
  }
}

// Without a MinHeightOnPage a picture is one plain draw item that moves to the next page
// whole and is painted there.
TEST(RPPicturePagesTest, APictureWithoutAMinimumHeightMovesWhole) {
  TReportFixture f(20);
  f.AddBlocks(0, {30}, clBlack);
  AddStripedPicture(f.Data());
  f.Paginate({250});
  ASSERT_EQ(f.Helper.GetPagesCount(), 2);
  EXPECT_EQ(dynamic_cast<const TRPMultiDrawItemInfo*>(f.Data().DrawItems[1]), nullptr);
  auto page = WhitePage(20, 250);
  f.Helper.PaintPage(2, *page->Canvas(), false, 250);
  EXPECT_EQ(Column(*page, 10),
            std::string(100, 'r') + std::string(100, 'g') + std::string(30, 'b') + std::string(20, '.'));
}

// A 4 x 4 list of one red image.
std::unique_ptr<TCustomImageList> RedList() {
  auto list = std::make_unique<TCustomImageList>(nullptr, 4, 4);
  TBitmap image;
  image.SetPixelFormat(pf24bit);
  image.SetSize(4, 4);
  image.Canvas()->Brush().SetColor(clRed);
  image.Canvas()->FillRect(TRect{0, 0, 4, 4});
  list->AddMasked(image, clFuchsia);
  return list;
}

// Adds a bullet of list's first image without spacing to paragraph 0 of data.
void AddBullet(TCustomRPData& data, TCustomImageList* list, bool lineBreakBefore = false) {
  auto bullet = std::make_unique<TRPBulletItemInfo>(&data);
  bullet->ImageList = list;
  bullet->Spacing = 0;
  bullet->ParaNo = 0;
  bullet->SetLineBreakBefore(lineBreakBefore);
  data.AddItemAsIs("", std::move(bullet));
}

TEST(RPPicturePagesTest, ABulletIsPrintedOnItsPage) {
  TReportFixture f(20);
  auto list = RedList();
  AddBullet(f.Data(), list.get());
  f.Paginate({10});
  ASSERT_EQ(f.Helper.GetPagesCount(), 1);
  auto page = WhitePage(20, 10);
  f.Helper.PaintPage(1, *page->Canvas(), false, 10);
  EXPECT_EQ(Column(*page, 2), std::string(4, 'r') + std::string(6, '.'));
  EXPECT_EQ(ColourLetter(page->PixelColor(5, 2)), '.');
}

TEST(RPPicturePagesTest, PicturesAndBulletsPaintThemselvesOnScreen) {
  TTestFormattedData data;
  data.Width = 40;
  auto list = RedList();
  AddStripedPicture(data);
  AddBullet(data, list.get(), true);
  data.FormatAll();
  ASSERT_EQ(data.DrawItems.Count(), 2);
  auto page = WhitePage(40, 240);
  data.DrawRect(*page->Canvas(), TRect{0, 0, 40, 240});
  EXPECT_EQ(Column(*page, 10).substr(0, 230), std::string(100, 'r') + std::string(100, 'g') + std::string(30, 'b'));
  const TRPDrawLineInfo& b = *data.DrawItems[1];
  EXPECT_EQ(ColourLetter(page->PixelColor(b.Left + 1, b.Top + 1)), 'r');
}

}  // namespace
