// Pictures and bullets painted as part of a document.
#include <gtest/gtest.h>

#include <memory>

#include "../model/RPTestCanvas.h"
#include "RPLayoutTestData.h"
#include "imaging/png/PngCodec.h"
#include "platform/base/Streams.h"
#include "platform/graphics/ImageList.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"

namespace {

std::unique_ptr<TPNGObject> LoadTestPng(const char* name) {
  TFileStream file(AnsiString(QF_TEST_DATA_DIR "/fuzz/png_image/") + name, fmOpenRead);
  auto png = std::make_unique<TPNGObject>();
  png->LoadFromStream(file);
  return png;
}

std::unique_ptr<TBitmap> FilledPage(int32_t width, int32_t height, TColor color) {
  auto page = WhitePage(width, height);
  page->Canvas()->Brush().SetColor(color);
  page->Canvas()->FillRect(TRect{0, 0, width, height});
  return page;
}

// A picture holding a partly transparent PNG shows what lies under it, as the image
// draws itself over the same page.
TEST(RPPaintPicturesTest, APicturesTransparentPixelsShowThePageBelow) {
  for (const char* name : {"palette4_trns.png", "gray2_key.png"}) {
    SCOPED_TRACE(name);
    const auto reference = LoadTestPng(name);
    const int32_t w = reference->Width(), h = reference->Height();
    TTestFormattedData data;
    data.Width = w + 20;
    data.LeftMargin = 3;
    data.AddItem("", std::make_unique<TRPGraphicItemInfo>(&data, LoadTestPng(name), rpvaBaseline));
    data.FormatAll();
    const TRPDrawLineInfo& d = *data.DrawItems[0];
    const int32_t s = static_cast<const TRPRectItemInfo*>(data.GetItem(0))->Spacing;
    const int32_t pageHeight = d.Top + d.Height + 2;
    auto page = FilledPage(data.Width, pageHeight, clYellow);
    data.DrawRect(*page->Canvas(), TRect{0, 0, data.Width, pageHeight});
    auto want = FilledPage(data.Width, pageHeight, clYellow);
    reference->Draw(*want->Canvas(), Bounds(d.Left + s, d.Top + s, w, h));
    EXPECT_EQ(Pixels(*page), Pixels(*want));
    // The image has pixels that the page shows through.
    auto overBlue = FilledPage(data.Width, pageHeight, clBlue);
    reference->Draw(*overBlue->Canvas(), Bounds(d.Left + s, d.Top + s, w, h));
    EXPECT_NE(Pixels(*overBlue), Pixels(*want));
  }
}

// A bullet's image from its list, over the page where the list's mask leaves it out.
TEST(RPPaintPicturesTest, ABulletShowsItsImage) {
  TBitmap strip;
  strip.SetPixelFormat(pf24bit);
  strip.SetSize(2, 2);
  strip.SetPixelColor(0, 0, clBlack);
  strip.SetPixelColor(1, 1, clBlack);  // the white pixels are outside the mask
  TCustomImageList list(nullptr, 2, 2);
  ASSERT_EQ(list.AddMasked(strip, clWhite), 0);
  TTestFormattedData data;
  data.LeftMargin = 3;
  auto bullet = std::make_unique<TRPBulletItemInfo>(&data);
  bullet->ImageList = &list;
  data.AddItem("", std::move(bullet));
  data.FormatAll();
  const TRPDrawLineInfo& d = *data.DrawItems[0];
  const int32_t s = static_cast<const TRPRectItemInfo*>(data.GetItem(0))->Spacing;
  auto page = FilledPage(data.Width, d.Top + d.Height, clYellow);
  data.DrawRect(*page->Canvas(), TRect{0, 0, data.Width, d.Top + d.Height});
  const int32_t x = d.Left + s, y = d.Top + s;
  EXPECT_EQ(page->PixelColor(x, y), clBlack);
  EXPECT_EQ(page->PixelColor(x + 1, y), clYellow);
  EXPECT_EQ(page->PixelColor(x, y + 1), clYellow);
  EXPECT_EQ(page->PixelColor(x + 1, y + 1), clBlack);
}

}  // namespace
