// Item text measured and drawn on a real canvas (Liberation Sans for "Arial", 10 pt):
// widths, fit counts at their exact boundaries, caret positions and bidirectional
// drawing, always against the canvas's own calls on the same text.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "RPTestCanvas.h"
#include "platform/base/CodePages.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"
#include "richtext/model/RPUnicode.h"
#include "richtext/model/RPUnicodeCanvas.h"

namespace {

std::unique_ptr<TBitmap> Page() {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(240, 24);
  bitmap->Canvas()->Font().SetName("Arial");
  bitmap->Canvas()->Font().SetSize(10);
  return bitmap;
}

int32_t WideWidth(TCanvas* canvas, WideStringView text) {
  TSize size{};
  GetTextExtentPoint32W(canvas->Handle(), text.data(), static_cast<int32_t>(text.size()), &size);
  return size.cx;
}

std::vector<int32_t> WideExtents(TCanvas* canvas, WideStringView text) {
  std::vector<int32_t> extents(text.size());
  TSize size{};
  int32_t fit = 0;
  GetTextExtentExPointW(canvas->Handle(), text.data(), static_cast<int32_t>(text.size()), 0, &fit, extents.data(),
                        &size);
  return extents;
}

class RPUnicodeCanvasTest : public ::testing::Test {
protected:
  std::unique_ptr<TBitmap> Bitmap = Page();
  TCanvas* Canvas = Bitmap->Canvas();
};

TEST_F(RPUnicodeCanvasTest, WidthsOfBothFormsAgree) {
  const WideString text = u"Съешь же ещё these soft rolls";
  const AnsiString ansi = WideToAnsi(text, 1251);
  const int32_t expected = WideWidth(Canvas, text);
  EXPECT_GT(expected, 100);
  EXPECT_EQ(GetItemTextWidth(WideToRawUnicode(text), Canvas, rpioUnicode), expected);
  EXPECT_EQ(GetItemTextWidth(ansi, Canvas, 0), expected);
}

TEST_F(RPUnicodeCanvasTest, ZeroWidthCharactersTakeNoWidth) {
  const WideString text = u"ab\u200Bc\u200B\u200Dd\u2060";
  EXPECT_EQ(MeasureWideText(Canvas, text.data(), static_cast<int32_t>(text.size())).cx, WideWidth(Canvas, u"abcd"));
  EXPECT_EQ(GetItemTextWidth(WideToRawUnicode(text), Canvas, rpioUnicode), WideWidth(Canvas, u"abcd"));
}

TEST_F(RPUnicodeCanvasTest, FitCountsAtTheirExactBoundaries) {
  struct Case {
    WideStringView Text;
    bool Ansi;
  };
  const Case cases[] = {{u"Привет, мир", false},
                        {u"Привет, мир", true},
                        {u"hyphen\u00ADated", false},
                        {u"no\u00A0break", false},
                        {u"zero\u200Bwidth\u200Dchars", false}};
  for (const Case& c : cases) {
    const std::vector<int32_t> expectedExtents = WideExtents(Canvas, c.Text);
    const AnsiString text = c.Ansi ? WideToAnsi(c.Text, 1251) : WideToRawUnicode(c.Text);
    const TRPItemOptions options = c.Ansi ? 0 : rpioUnicode;
    for (int32_t k = 1; k <= static_cast<int32_t>(c.Text.size()); ++k) {
      const int32_t edge = expectedExtents[static_cast<size_t>(k - 1)];
      // Characters up to k - 1 end at or before edge; a zero-width one after k - 1 ends
      // there too.
      int32_t expectedFit = k;
      while (expectedFit < static_cast<int32_t>(c.Text.size()) &&
             expectedExtents[static_cast<size_t>(expectedFit)] == edge)
        ++expectedFit;
      std::vector<int32_t> extents(c.Text.size());
      int32_t fit = -1;
      MeasureItemTextFit(Canvas, text, edge, options, extents.data(), fit);
      EXPECT_EQ(fit, expectedFit) << "edge at character " << k;
      EXPECT_EQ(extents, expectedExtents);
      MeasureItemTextFit(Canvas, text, edge - 1, options, nullptr, fit);
      int32_t shorterFit = 0;
      while (shorterFit < static_cast<int32_t>(c.Text.size()) &&
             expectedExtents[static_cast<size_t>(shorterFit)] <= edge - 1)
        ++shorterFit;
      EXPECT_EQ(fit, shorterFit) << "edge - 1 at character " << k;
    }
  }
}

TEST_F(RPUnicodeCanvasTest, EmptyTextFitsNothing) {
  int32_t fit = -1;
  TSize size{};
  MeasureTextFit(Canvas, "", 0, size, rpioUnicode, nullptr, fit, 100);
  EXPECT_EQ(fit, 0);
}

TEST(RPZeroWidthExtentsTest, RemovesTheirStepsAndRefits) {
  struct Case {
    WideStringView Text;
    std::vector<int32_t> Extents;  // as a font that draws zero-width characters gives them
    int32_t Fit;
    int32_t MaxExtent;
    bool Removed;
    std::vector<int32_t> Expected;
    int32_t ExpectedFit;
  };
  const Case cases[] = {
      // A zero-width space of 3 pixels inside: later edges move left, the fit grows
      // while the next edge is strictly below the maximum.
      {u"ab\u200Bcd", {5, 10, 13, 18, 23}, 3, 15, true, {5, 10, 10, 15, 20}, 3},
      {u"ab\u200Bcd", {5, 10, 13, 18, 23}, 3, 16, true, {5, 10, 10, 15, 20}, 4},
      // The first character: its extent alone is its step.
      {u"\u2060ab", {4, 9, 14}, 2, 12, true, {0, 5, 10}, 3},
      // Two of them, each measured once.
      {u"a\u200Db\u200D", {5, 7, 12, 14}, 3, 13, true, {5, 5, 10, 10}, 4},
      // Already zero wide: nothing changes, not even the fit.
      {u"a\u200Bb", {5, 5, 10}, 1, 10, false, {5, 5, 10}, 1},
  };
  for (const Case& c : cases) {
    std::vector<int32_t> extents = c.Extents;
    int32_t fit = c.Fit;
    EXPECT_EQ(
        RemoveZeroWidthExtents(c.Text.data(), static_cast<int32_t>(c.Text.size()), extents.data(), fit, c.MaxExtent),
        c.Removed);
    EXPECT_EQ(extents, c.Expected);
    EXPECT_EQ(fit, c.ExpectedFit);
  }
}

TEST_F(RPUnicodeCanvasTest, CaretPositionsOfLeftToRightText) {
  const WideString text = u"Ёжик";
  const std::vector<int32_t> extents = WideExtents(Canvas, text);
  const int32_t width = extents.back();
  std::vector<int32_t> positions(text.size() + 1);
  ASSERT_TRUE(GetCaretPositionsBiDi(Canvas, WideToRawUnicode(text), positions.data(), width, rpioUnicode));
  EXPECT_EQ(positions[0], 0);
  for (size_t i = 0; i < text.size(); ++i) EXPECT_EQ(positions[i + 1], extents[i] + 1) << i;
  int32_t left = 0, right = 0;
  ASSERT_TRUE(GetCharRangeXBiDi(Canvas, WideToRawUnicode(text), 2, 2, rpioUnicode, width, left, right));
  EXPECT_EQ(left, extents[0] + 1);
  EXPECT_EQ(right, extents[2] + 1);
  // The placement must agree with the expected width within one pixel.
  EXPECT_TRUE(GetCaretPositionsBiDi(Canvas, WideToRawUnicode(text), positions.data(), width + 1, rpioUnicode));
  EXPECT_FALSE(GetCaretPositionsBiDi(Canvas, WideToRawUnicode(text), positions.data(), width + 2, rpioUnicode));
  EXPECT_FALSE(GetCharRangeXBiDi(Canvas, WideToRawUnicode(text), 2, 2, rpioUnicode, width - 2, left, right));
}

TEST_F(RPUnicodeCanvasTest, CaretPositionsOfRightToLeftText) {
  const WideString text = u"\u05D0\u05D1";  // alef bet, shown bet first
  const int32_t alef = WideWidth(Canvas, u"\u05D0"), bet = WideWidth(Canvas, u"\u05D1");
  std::vector<int32_t> positions(3);
  ASSERT_TRUE(GetCaretPositionsBiDi(Canvas, WideToRawUnicode(text), positions.data(), alef + bet, rpioUnicode));
  EXPECT_EQ(positions, (std::vector<int32_t>{alef + bet, bet, 0}));
  int32_t left = 0, right = 0;
  ASSERT_TRUE(GetCharRangeXBiDi(Canvas, WideToRawUnicode(text), 1, 1, rpioUnicode, alef + bet, left, right));
  EXPECT_EQ(left, bet);  // ordered left <= right
  EXPECT_EQ(right, alef + bet);
}

// Draws text with the canvas's own call, clipped to the cells [fromX, toX).
std::vector<TColor> Reference(WideStringView text, int32_t x, int32_t y, int32_t fromX, int32_t toX, int32_t height) {
  auto bitmap = Page();
  const TRect clip{fromX, y, toX, y + height};
  ExtTextOutW(bitmap->Canvas()->Handle(), x, y, ETO_CLIPPED | ETO_OPAQUE, &clip, text.data(),
              static_cast<uint32_t>(text.size()), nullptr);
  return Pixels(*bitmap);
}

TEST_F(RPUnicodeCanvasTest, DrawsARangeInItsOwnCells) {
  const WideString text = u"Текст line";
  const std::vector<int32_t> extents = WideExtents(Canvas, text);
  const int32_t width = extents.back(), height = 16;
  ASSERT_TRUE(DrawTextRangeBiDi(4, 3, width, rpioUnicode, static_cast<int32_t>(text.size()), 1, Canvas,
                                WideToRawUnicode(text), height));
  EXPECT_EQ(Pixels(*Bitmap), Reference(text, 4, 3, 4, 4 + width, height));
  // Characters 2 .. 4 only.
  auto part = Page();
  ASSERT_TRUE(DrawTextRangeBiDi(4, 3, width, rpioUnicode, 4, 2, part->Canvas(), WideToRawUnicode(text), height));
  EXPECT_EQ(Pixels(*part), Reference(text, 4, 3, 4 + extents[0], 4 + extents[3], height));
  EXPECT_NE(Pixels(*part), Pixels(*Bitmap));
  EXPECT_NE(Pixels(*part), Pixels(*Page()));
}

TEST_F(RPUnicodeCanvasTest, Draws8BitTextLikeItsUnicodeForm) {
  const WideString text = u"Ёлка";
  const int32_t width = WideWidth(Canvas, text);
  ASSERT_TRUE(DrawTextRangeBiDi(2, 2, width, 0, 4, 1, Canvas, WideToAnsi(text, 1251), 16));
  EXPECT_EQ(Pixels(*Bitmap), Reference(text, 2, 2, 2, 2 + width, 16));
}

TEST_F(RPUnicodeCanvasTest, DrawsARightToLeftCharacterWhereItStands) {
  const WideString text = u"a\u05D0\u05D1";  // a, then bet, alef from left to right
  const int32_t a = WideWidth(Canvas, u"a"), bet = WideWidth(Canvas, u"\u05D1");
  const int32_t width = WideWidth(Canvas, text);
  // Alef alone (logical 2) stands right of bet.
  ASSERT_TRUE(DrawTextRangeBiDi(0, 2, width, rpioUnicode, 2, 2, Canvas, WideToRawUnicode(text), 16));
  EXPECT_EQ(Pixels(*Bitmap), Reference(text, 0, 2, a + bet, width, 16));
  EXPECT_NE(Pixels(*Bitmap), Pixels(*Page()));
}

TEST_F(RPUnicodeCanvasTest, FailedPlacementDrawsNothing) {
  const std::vector<TColor> before = Pixels(*Bitmap);
  EXPECT_FALSE(DrawTextRangeBiDi(0, 0, 999, rpioUnicode, 1, 1, Canvas, WideToRawUnicode(u"ab"), 16));
  EXPECT_FALSE(TryDrawTextRangeBiDi(0, 0, WideWidth(Canvas, u"ab"), rpioUnicode, 2, 1, Canvas, WideToRawUnicode(u"ab"),
                                    16, false));
  EXPECT_EQ(Pixels(*Bitmap), before);
}

}  // namespace
