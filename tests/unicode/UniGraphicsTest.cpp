// UTF-16 text on a canvas and the wide DrawText wrapper.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"
#include "unicode/PlatformFamily.h"
#include "unicode/UniGraphics.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniWindows.h"

namespace {

// A white 24-bit bitmap whose canvas has a 10-point Arial font and a clear brush.
std::unique_ptr<TBitmap> TextBitmap() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(200, 30);
  bitmap->Canvas()->Font().SetName("Arial");
  bitmap->Canvas()->Font().SetSize(10);
  bitmap->Canvas()->Brush().SetStyle(bsClear);
  return bitmap;
}

std::vector<TColor> Pixels(const TBitmap& bitmap) {
  std::vector<TColor> out;
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x) out.push_back(bitmap.PixelColor(x, y));
  return out;
}

const WideString Text = u"Стр. 12 из 340";

TEST(UniGraphicsTest, TextOutDrawsAndMovesThePen) {
  auto drawn = TextBitmap();
  WideCanvasTextOut(drawn->Canvas(), 5, 4, Text);
  auto expected = TextBitmap();
  HDC dc = expected->Canvas()->Handle();
  ExtTextOutW(dc, 5, 4, 0, nullptr, Text.data(), static_cast<uint32_t>(Text.size()), nullptr);
  EXPECT_EQ(Pixels(*drawn), Pixels(*expected));
  EXPECT_EQ(drawn->Canvas()->PenPos(), Point(5 + WideCanvasTextWidth(drawn->Canvas(), Text), 4));
}

TEST(UniGraphicsTest, EmptyTextDrawsNothingAndKeepsThePen) {
  auto bitmap = TextBitmap();
  const std::vector<TColor> before = Pixels(*bitmap);
  WideCanvasTextOut(bitmap->Canvas(), 7, 9, u"");
  EXPECT_EQ(Pixels(*bitmap), before);
  EXPECT_EQ(bitmap->Canvas()->PenPos(), Point(7, 9));
  EXPECT_EQ(WideCanvasTextWidth(bitmap->Canvas(), u""), 0);
}

TEST(UniGraphicsTest, RightToLeftOrientationMovesTheTextRight) {
  auto drawn = TextBitmap();
  SetTextAlign(drawn->Canvas()->Handle(), TA_RTLREADING);
  ASSERT_EQ(drawn->Canvas()->CanvasOrientation(), coRightToLeft);
  WideCanvasTextOut(drawn->Canvas(), 5, 4, u"abc");
  const int32_t width = WideCanvasTextWidth(drawn->Canvas(), u"abc");
  auto expected = TextBitmap();
  WideCanvasTextOut(expected->Canvas(), 5 + width + 1, 4, u"abc");
  EXPECT_EQ(Pixels(*drawn), Pixels(*expected));
  EXPECT_EQ(drawn->Canvas()->PenPos(), Point(5 + width + 1 + width, 4));
}

TEST(UniGraphicsTest, ExtentIsTheSumOfAdvancesAndTheFontHeight) {
  auto bitmap = TextBitmap();
  TCanvas* canvas = bitmap->Canvas();
  TEXTMETRICW tm;
  GetTextMetricsW(canvas->Handle(), &tm);
  int32_t sum = 0;
  for (WideChar c : Text) sum += WideCanvasTextWidth(canvas, WideString(1, c));
  EXPECT_EQ(WideCanvasTextExtent(canvas, Text), (TSize{sum, tm.tmHeight}));
  EXPECT_EQ(WideCanvasTextHeight(canvas, Text), canvas->TextHeight("Abfgy"));
  EXPECT_EQ(WideDCTextExtent(canvas->Handle(), Text), WideCanvasTextExtent(canvas, Text));
}

TEST(UniGraphicsTest, WideDrawTextDrawsTheSameOnBothPlatformFamilies) {
  const uint32_t format = DT_SINGLELINE | DT_END_ELLIPSIS | DT_RIGHT | DT_NOPREFIX;
  auto wide = TextBitmap();
  TRect rect = Rect(10, 2, 150, 28);
  const int32_t height = WideDrawText(wide->Canvas()->Handle(), Text.data(), 7, format, &rect);
  UseEightBitPlatform();
  auto ansi = TextBitmap();
  rect = Rect(10, 2, 150, 28);
  const int32_t ansiHeight = WideDrawText(ansi->Canvas()->Handle(), Text.data(), 7, format, &rect);
  UseUnicodePlatform();
  EXPECT_EQ(height, ansiHeight);
  EXPECT_EQ(Pixels(*wide), Pixels(*ansi));
  auto whole = TextBitmap();
  rect = Rect(10, 2, 150, 28);
  DrawTextW(whole->Canvas()->Handle(), Text.data(), 7, &rect, format);
  EXPECT_EQ(Pixels(*wide), Pixels(*whole));
}

}  // namespace
