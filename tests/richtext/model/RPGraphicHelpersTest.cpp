#include "richtext/model/RPGraphicHelpers.h"

#include <gtest/gtest.h>

#include "RPTestCanvas.h"
#include "platform/graphics/Palette.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPWordPainters.h"

namespace {

// A graphic of another class (neither bitmap nor JPEG image) that only counts what it is given.
class TFakeGraphic : public TGraphic {
public:
  static const TGraphicClassInfo ClassInfo;
  TGraphicClass ClassType() const override { return &ClassInfo; }
  bool Empty() const override { return false; }
  int32_t Width() const override { return 4; }
  int32_t Height() const override { return 2; }
  void SetWidth(int32_t) override {}
  void SetHeight(int32_t) override {}
  void Clear() override {}
  void LoadFromStream(TStream&) override {}
  void SaveToStream(TStream&) const override {}
  HPALETTE Palette() const override { return FPalette; }
  void SetPalette(HPALETTE palette) override { FPalette = palette; }

private:
  HPALETTE FPalette;
};
const TGraphicClassInfo TFakeGraphic::ClassInfo{"TFakeGraphic",
                                                [] { return std::unique_ptr<TGraphic>(new TFakeGraphic); }};

class TJpegLike : public TFakeGraphic {
public:
  static const TGraphicClassInfo ClassInfo;
  TGraphicClass ClassType() const override { return &ClassInfo; }
};
const TGraphicClassInfo TJpegLike::ClassInfo{"TJPEGImage", [] { return std::unique_ptr<TGraphic>(new TJpegLike); }};

std::unique_ptr<TBitmap> Checker() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(2, 2);
  bitmap->SetPixelColor(0, 0, clRed);
  bitmap->SetPixelColor(1, 0, clLime);
  bitmap->SetPixelColor(0, 1, clBlue);
  bitmap->SetPixelColor(1, 1, clBlack);
  return bitmap;
}

TEST(RPGraphicHelpersTest, TransparencyOfGraphics) {
  TBitmap bitmap;
  EXPECT_FALSE(GraphicMayBeTransparent(bitmap));
  bitmap.SetTransparent(true);
  EXPECT_TRUE(GraphicMayBeTransparent(bitmap));
  EXPECT_FALSE(GraphicMayBeTransparent(TJpegLike()));
  EXPECT_TRUE(GraphicMayBeTransparent(TFakeGraphic()));
}

TEST(RPGraphicHelpersTest, PalettesGivenToGraphics) {
  TFakeGraphic graphic;
  ApplyPaletteToGraphic(graphic, nullptr);
  EXPECT_FALSE(graphic.Palette());
  TLogPalette palette;
  palette.palPalEntry = {TPaletteEntry{10, 20, 30, 0}, TPaletteEntry{1, 2, 3, 0}};
  ApplyPaletteToGraphic(graphic, &palette);
  ASSERT_TRUE(graphic.Palette());
  TPaletteEntry entries[2];
  EXPECT_EQ(GetPaletteEntries(graphic.Palette(), 0, 2, entries), 2u);
  EXPECT_EQ(entries[1].peRed, 1);
}

TEST(RPGraphicHelpersTest, BitmapAsDibIsScaledLikeTheCanvasDrawsIt) {
  auto source = Checker();
  auto page = WhitePage(6, 6);
  DrawBitmapAsDIB(page->Canvas()->Handle(), 1, 1, *source, 4, 4);
  auto reference = WhitePage(6, 6);
  reference->Canvas()->StretchDraw(TRect{1, 1, 5, 5}, source.get());
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 6; ++x) EXPECT_EQ(page->PixelColor(x, y), reference->PixelColor(x, y)) << x << "," << y;
  EXPECT_EQ(page->PixelColor(2, 2), clRed);
  EXPECT_EQ(page->PixelColor(4, 4), clBlack);
}

TEST(RPGraphicHelpersTest, GraphicsOnADevice) {
  auto source = Checker();
  const TRPResolution twice{96, 96, 192, 192};
  for (bool stretch : {false, true}) {
    SCOPED_TRACE(stretch);
    auto page = WhitePage(8, 8);
    DrawGraphicOnDevice(*page->Canvas(), 2, 2, stretch, *source, twice, -1, -1);  // 2 x 2 becomes 4 x 4
    EXPECT_EQ(page->PixelColor(2, 2), clRed);
    EXPECT_EQ(page->PixelColor(3, 3), clRed);
    EXPECT_EQ(page->PixelColor(4, 2), clLime);
    EXPECT_EQ(page->PixelColor(5, 5), clBlack);
    EXPECT_EQ(page->PixelColor(6, 6), clWhite);
  }
  // Without stretching, a graphic that is no bitmap is not drawn.
  auto page = WhitePage(8, 8);
  int changes = 0;
  page->Canvas()->OnChange = [&] { ++changes; };
  DrawGraphicOnDevice(*page->Canvas(), 0, 0, false, TFakeGraphic(), twice, 3, 3);
  EXPECT_EQ(changes, 0);
}

TEST(RPGraphicHelpersTest, CreationHooks) {
  auto made = RPCreateGraphic(&TBitmap::ClassInfo);
  EXPECT_NE(dynamic_cast<TBitmap*>(made.get()), nullptr);
  SetRPGraphicCreator([](TGraphicClass) { return std::unique_ptr<TGraphic>(new TFakeGraphic); });
  EXPECT_NE(dynamic_cast<TFakeGraphic*>(RPCreateGraphic(&TBitmap::ClassInfo).get()), nullptr);
  SetRPGraphicCreator(nullptr);
  TFakeGraphic imported;
  ASSERT_TRUE(ImportedGraphicHook);  // an empty procedure by default
  RPAfterGraphicImport(imported);
  int told = 0;
  const TRPImportedGraphicHook saved = std::exchange(ImportedGraphicHook, [&](TGraphic&) { ++told; });
  RPAfterGraphicImport(imported);
  ImportedGraphicHook = nullptr;
  RPAfterGraphicImport(imported);  // cleared: nothing
  ImportedGraphicHook = saved;
  EXPECT_EQ(told, 1);
}

TEST(RPMisspellPainterTest, ZigzagUnderTheWord) {
  TRPStyle sheet(nullptr);
  sheet.LiveSpellingColor = clRed;
  auto page = WhitePage(12, 6);
  page->Canvas()->Pen().SetColor(clBlue);
  page->Canvas()->Pen().SetWidth(3);
  TRPWordMisspellPainter(1, 3).Draw(*page->Canvas(), TRect{1, 0, 9, 5}, sheet);
  EXPECT_EQ(page->Canvas()->Pen().Color(), clBlue);  // restored
  EXPECT_EQ(page->Canvas()->Pen().Width(), 3);
  // Points (1,3) (3,5) (5,3) (9,5): the last one moved to the right edge.
  EXPECT_EQ(page->PixelColor(1, 3), clRed);
  EXPECT_EQ(page->PixelColor(2, 4), clRed);
  EXPECT_EQ(page->PixelColor(3, 5), clRed);
  EXPECT_EQ(page->PixelColor(5, 3), clRed);
  EXPECT_EQ(page->PixelColor(7, 4), clRed);
  EXPECT_EQ(page->PixelColor(9, 5), clWhite);  // a line leaves out its end point
  // Narrower than 2 pixels: one point, nothing drawn.
  auto narrow = WhitePage(4, 6);
  TRPWordMisspellPainter(1, 1).Draw(*narrow->Canvas(), TRect{1, 0, 2, 5}, sheet);
  for (int32_t y = 0; y < 6; ++y)
    for (int32_t x = 0; x < 4; ++x) EXPECT_EQ(narrow->PixelColor(x, y), clWhite);
}

TEST(RPMisspellPainterTest, LongWordsStopAt1024Points) {
  TRPStyle sheet(nullptr);
  sheet.LiveSpellingColor = clRed;
  auto page = WhitePage(5010, 4);
  TRPWordMisspellPainter(1, 900).Draw(*page->Canvas(), TRect{0, 0, 5000, 3}, sheet);
  // Points at x 0, 2, ... 2046 (y 1, 3, 1, ...); the last one moves to (5000, 3), so one
  // long line runs from (2044, 1) to the right edge instead of the zigzag going on.
  EXPECT_EQ(page->PixelColor(2040, 1), clRed);
  EXPECT_EQ(page->PixelColor(2042, 3), clRed);
  EXPECT_EQ(page->PixelColor(2102, 1), clRed);    // on the long line
  EXPECT_EQ(page->PixelColor(2102, 3), clWhite);  // where the zigzag would have been
  EXPECT_EQ(page->PixelColor(4999, 3), clRed);
  EXPECT_EQ(page->PixelColor(5000, 3), clWhite);
}

}  // namespace
