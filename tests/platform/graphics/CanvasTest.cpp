// Pixel rules of the canvas: end points, pen bands, fills, clipping under moved origins.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/CanvasBlit.h"
#include "platform/graphics/CanvasShapes.h"

namespace {

class CanvasTest : public ::testing::Test {
protected:
  void SetUp() override {
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(12, 12);
    Canvas = Bitmap.Canvas();
    Canvas->Pen().SetColor(clBlack);
  }
  // The bitmap as rows of "#" (black), "." (white) and "?" (anything else).
  std::vector<std::string> Picture() {
    std::vector<std::string> rows;
    for (int32_t y = 0; y < Bitmap.Height(); ++y) {
      std::string row;
      for (int32_t x = 0; x < Bitmap.Width(); ++x) {
        TColor c = Bitmap.PixelColor(x, y);
        row += c == clBlack ? '#' : c == clWhite ? '.' : '?';
      }
      rows.push_back(row);
    }
    return rows;
  }
  // Checks the listed rows of Picture(): pairs of row number and expected row.
  void ExpectRows(std::initializer_list<std::pair<int32_t, const char*>> rows) {
    const std::vector<std::string> picture = Picture();
    for (const auto& [y, row] : rows) {
      SCOPED_TRACE("row " + std::to_string(y));
      EXPECT_EQ(picture[static_cast<size_t>(y)], row);
    }
  }
  TBitmap Bitmap;
  TCanvas* Canvas = nullptr;
};

TEST_F(CanvasTest, LinesLeaveOutTheirEndPoint) {
  Canvas->MoveTo(1, 1);
  Canvas->LineTo(5, 1);  // right
  Canvas->LineTo(5, 4);  // down
  Canvas->MoveTo(10, 10);
  Canvas->LineTo(7, 7);  // up and left, diagonal
  const TPoint zigzag[] = {{1, 8}, {3, 8}, {3, 10}};
  Canvas->Polyline(zigzag);
  EXPECT_EQ(Picture(), (std::vector<std::string>{
                           "............",
                           ".#####......",
                           ".....#......",
                           ".....#......",
                           "............",
                           "............",
                           "............",
                           "............",
                           ".###....#...",
                           "...#.....#..",
                           "..........#.",
                           "............",
                       }));
  EXPECT_EQ(Canvas->PenPos(), Point(7, 7));
}

TEST_F(CanvasTest, WidePensPaintABandAcrossTheLine) {
  Canvas->Pen().SetWidth(3);
  Canvas->MoveTo(2, 5);
  Canvas->LineTo(8, 5);
  Canvas->Pen().SetWidth(2);
  Canvas->MoveTo(10, 1);
  Canvas->LineTo(10, 3);
  ExpectRows({{0, "............"},
              {1, ".........##."},
              {2, ".........##."},
              {3, "............"},
              {4, "..######...."},
              {5, "..######...."},
              {6, "..######...."},
              {7, "............"}});
}

TEST_F(CanvasTest, InsideFramePensKeepTheOutlineInTheBounds) {
  Canvas->Brush().SetColor(clWhite);
  Canvas->Pen().SetWidth(2);
  Canvas->Pen().SetStyle(psInsideFrame);
  Canvas->Rectangle(1, 1, 7, 7);
  Canvas->Pen().SetStyle(psSolid);
  Canvas->Pen().SetWidth(1);
  Canvas->Rectangle(8, 8, 11, 11);
  EXPECT_EQ(Picture(), (std::vector<std::string>{
                           "............",
                           ".######.....",
                           ".######.....",
                           ".##..##.....",
                           ".##..##.....",
                           ".######.....",
                           ".######.....",
                           "............",
                           "........###.",
                           "........#.#.",
                           "........###.",
                           "............",
                       }));
}

TEST_F(CanvasTest, SolidWidePensCentreTheOutlineOnTheEdges) {
  Canvas->Brush().SetStyle(bsClear);
  Canvas->Pen().SetWidth(3);
  Canvas->Rectangle(3, 3, 9, 9);
  ExpectRows(
      {{1, "............"}, {2, "..########.."}, {5, "..###..###.."}, {9, "..########.."}, {10, "............"}});
}

TEST_F(CanvasTest, ClearPenRectangleFillsOnePixelLess) {
  Canvas->Pen().SetStyle(psClear);
  Canvas->Brush().SetColor(clBlack);
  Canvas->Rectangle(1, 1, 4, 4);
  Canvas->FillRect(Rect(6, 1, 9, 4));
  Canvas->FrameRect(Rect(1, 6, 5, 10));
  ExpectRows({{1, ".##...###..."},
              {3, "......###..."},
              {4, "............"},
              {6, ".####......."},
              {7, ".#..#......."},
              {9, ".####......."}});
}

TEST_F(CanvasTest, DottedAndInvertingPens) {
  Canvas->Pen().SetStyle(psDot);
  Canvas->Brush().SetStyle(bsClear);
  Canvas->MoveTo(0, 0);
  Canvas->LineTo(12, 0);
  Canvas->Pen().SetStyle(psSolid);
  Canvas->Pen().SetMode(pmNot);
  Canvas->MoveTo(0, 2);
  Canvas->LineTo(12, 2);
  Canvas->MoveTo(4, 2);
  Canvas->LineTo(8, 2);
  ExpectRows({{0, "###...###..."}, {2, "####....####"}});
}

TEST_F(CanvasTest, ClippingFollowsTheOriginInForceWhenItWasSet) {
  HDC dc = Canvas->Handle();
  Canvas->Brush().SetColor(clBlack);
  SetViewportOrgEx(dc, 5, 5, nullptr);
  const int32_t saved = SaveDC(dc);
  EXPECT_EQ(IntersectClipRect(dc, -1, -1, 2, 2), SIMPLEREGION);  // device 4..6
  EXPECT_EQ(Canvas->ClipRect(), Rect(-1, -1, 2, 2));
  SetViewportOrgEx(dc, 0, 0, nullptr);  // the clip stays where it was made
  Canvas->FillRect(Rect(0, 0, 12, 12));
  RestoreDC(dc, saved);
  EXPECT_EQ(Canvas->ClipRect(), Rect(-5, -5, 7, 7));
  SetViewportOrgEx(dc, 0, 0, nullptr);
  SetWindowOrgEx(dc, 5, 5, nullptr);  // logical (5, 5) is device (0, 0)
  Canvas->Pen().SetColor(clBlack);
  Canvas->MoveTo(5, 15);
  Canvas->LineTo(8, 15);
  ExpectRows(
      {{3, "............"}, {4, "....###....."}, {6, "....###....."}, {7, "............"}, {10, "###........."}});
  EXPECT_EQ(IntersectClipRect(dc, 20, 20, 30, 30), SIMPLEREGION);
  EXPECT_EQ(IntersectClipRect(dc, 0, 0, 1, 1), NULLREGION);
}

TEST_F(CanvasTest, DeviceClipAndCapabilities) {
  HDC dc = Canvas->Handle();
  const TRect device = Rect(2, 3, 4, 5);
  EXPECT_EQ(SelectClipRect(dc, &device), SIMPLEREGION);
  SetWindowOrgEx(dc, 1, 1, nullptr);
  EXPECT_EQ(Canvas->ClipRect(), Rect(3, 4, 5, 6));
  SelectClipRect(dc, nullptr);
  EXPECT_EQ(Canvas->ClipRect(), Rect(1, 1, 13, 13));
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 12);
  EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 24);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
  EXPECT_EQ(GetDeviceCaps(dc, RASTERCAPS) & RC_PALETTE, 0);
}

TEST_F(CanvasTest, SavedStatesRestoreByLevel) {
  HDC dc = Canvas->Handle();
  EXPECT_EQ(SaveDC(dc), 1);
  SetTextColor(dc, RGB(1, 2, 3));
  IntersectClipRect(dc, 0, 0, 5, 5);
  EXPECT_EQ(SaveDC(dc), 2);
  SetViewportOrgEx(dc, 3, 3, nullptr);
  EXPECT_EQ(SaveDC(dc), 3);
  EXPECT_TRUE(RestoreDC(dc, 2));  // back to the state saved second, dropping the third
  TPoint origin;
  GetViewportOrgEx(dc, &origin);
  EXPECT_EQ(origin, Point(0, 0));
  EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
  EXPECT_TRUE(RestoreDC(dc, -1));
  EXPECT_EQ(Canvas->ClipRect(), Rect(0, 0, 12, 12));
  EXPECT_FALSE(RestoreDC(dc, -1));
}

// A restored context holds the font it had when it was saved; the canvas selects its
// own again after Refresh.
TEST_F(CanvasTest, RefreshSelectsTheCanvasObjectsAgainAfterARestore) {
  Canvas->Font().SetName("Arial");
  Canvas->Font().SetSize(8);
  HDC dc = Canvas->Handle();
  const int32_t small = Canvas->TextHeight("W");
  const int32_t saved = SaveDC(dc);
  Canvas->Font().SetSize(30);
  const int32_t large = Canvas->TextHeight("W");
  ASSERT_GT(large, small);
  RestoreDC(dc, saved);
  EXPECT_EQ(Canvas->TextHeight("W"), small);  // the font of the saved state
  Canvas->Refresh();
  EXPECT_EQ(Canvas->TextHeight("W"), large);
}

TEST_F(CanvasTest, FocusRectanglesInvertAndEraseThemselves) {
  Canvas->DrawFocusRect(Rect(1, 1, 6, 4));
  ExpectRows({{1, ".#.#.#......"}, {2, "............"}, {3, ".#.#.#......"}});
  Canvas->DrawFocusRect(Rect(1, 1, 6, 4));
  EXPECT_EQ(Picture(), std::vector<std::string>(12, "............"));
}

TEST_F(CanvasTest, EllipseStaysInItsCells) {
  Canvas->Brush().SetColor(clBlack);
  Canvas->Ellipse(2, 2, 10, 10);
  const std::vector<std::string> picture = Picture();
  EXPECT_EQ(picture[1], "............");
  EXPECT_EQ(picture[6][1], '.');
  EXPECT_EQ(picture[6].substr(2, 8), "########");
  EXPECT_EQ(picture[6][10], '.');
  EXPECT_EQ(picture[2][2], '.');  // the corner cell is outside the ellipse
  EXPECT_EQ(picture[10], "............");
}

TEST_F(CanvasTest, PaletteBitmapsTakeTheNearestColour) {
  TBitmap mono;
  mono.SetPixelFormat(pf1bit);
  mono.SetSize(8, 2);
  mono.Canvas()->Brush().SetColor(0x202020);  // dark grey: black in two colours
  mono.Canvas()->FillRect(Rect(0, 0, 4, 2));
  EXPECT_EQ(mono.PixelColor(0, 0), clBlack);
  EXPECT_EQ(mono.PixelColor(4, 0), clWhite);
  mono.Canvas()->Pen().SetMode(pmNot);
  mono.Canvas()->MoveTo(0, 1);
  mono.Canvas()->LineTo(8, 1);
  EXPECT_EQ(mono.PixelColor(0, 1), clWhite);
  EXPECT_EQ(mono.PixelColor(7, 1), clBlack);
}

TEST_F(CanvasTest, DrawAndStretchDrawCopyBitmaps) {
  TBitmap source;
  source.SetPixelFormat(pf24bit);
  source.SetSize(2, 2);
  source.SetPixelColor(0, 0, clBlack);
  source.SetPixelColor(1, 1, clBlack);
  Canvas->Draw(1, 1, &source);
  Canvas->StretchDraw(Rect(4, 4, 8, 8), &source);
  source.SetTransparent(true);
  source.SetTransparentColor(clWhite);
  Canvas->Brush().SetColor(clBlack);
  Canvas->FillRect(Rect(9, 0, 11, 2));
  Canvas->Draw(9, 0, &source);  // white pixels stay undrawn
  ExpectRows({{0, ".........##."},
              {1, ".#.......##."},
              {2, "..#........."},
              {4, "....##......"},
              {5, "....##......"},
              {6, "......##...."},
              {7, "......##...."}});
}

namespace {

// A graphic that is no bitmap and cannot become one: it paints its rectangle black.
class TSelfDrawnGraphic : public TGraphic {
public:
  static const TGraphicClassInfo ClassInfo;
  TGraphicClass ClassType() const override { return &ClassInfo; }
  bool Empty() const override { return false; }
  int32_t Width() const override { return 2; }
  int32_t Height() const override { return 3; }
  void SetWidth(int32_t) override {}
  void SetHeight(int32_t) override {}
  void Clear() override {}
  void LoadFromStream(TStream&) override {}
  void SaveToStream(TStream&) const override {}
  void Draw(TCanvas& canvas, const TRect& rect) const override {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(clBlack);
    canvas.FillRect(rect);
  }
};
const TGraphicClassInfo TSelfDrawnGraphic::ClassInfo{"TSelfDrawnGraphic", nullptr};

}  // namespace

TEST_F(CanvasTest, OtherGraphicsDrawThemselves) {
  const TSelfDrawnGraphic graphic;
  Canvas->Draw(1, 1, &graphic);                     // at its own size, 2 x 3
  Canvas->StretchDraw(Rect(5, 2, 9, 3), &graphic);  // into 4 x 1
  ExpectRows({{0, "............"}, {1, ".##........."}, {2, ".##..####..."}, {3, ".##........."}, {4, "............"}});
}

TEST_F(CanvasTest, BitBltAndCopyRectCopyBetweenCanvases) {
  TBitmap source;
  source.SetPixelFormat(pf4bit);
  source.SetSize(3, 3);
  source.SetPixelColor(1, 1, clBlack);
  EXPECT_TRUE(BitBlt(Canvas->Handle(), 0, 0, 3, 3, source.Canvas()->Handle(), 0, 0, SRCCOPY));
  Canvas->CopyRect(Rect(6, 0, 12, 6), source.Canvas(), Rect(1, 1, 3, 3));
  EXPECT_FALSE(BitBlt(Canvas->Handle(), 0, 0, 3, 3, source.Canvas()->Handle(), 0, 0, 0));
  ExpectRows({{0, "......###..."}, {1, ".#....###..."}, {2, "......###..."}, {3, "............"}});
}

TEST_F(CanvasTest, MeasuringCanvasHasNoPixelsButMeasures) {
  TCanvas measuring;
  measuring.Font().SetName("Arial");
  measuring.Font().SetSize(10);
  Canvas->Font().SetName("Arial");
  Canvas->Font().SetSize(10);
  EXPECT_EQ(measuring.TextExtent("Layout"), Canvas->TextExtent("Layout"));
  measuring.TextOut(3, 4, "Layout");
  measuring.Rectangle(0, 0, 5, 5);
  EXPECT_EQ(measuring.PenPos(), Point(3 + measuring.TextWidth("Layout"), 4));
}

}  // namespace

TEST(ColorToRGBTest, SystemColoursDrawInTheClassicScheme) {
  const struct {
    TColor Color;
    COLORREF Expected;
  } cases[] = {
      {0x123456, 0x123456},
      {clWindow, 0xFFFFFF},
      {clWindowText, 0x000000},
      {clHighlight, 0x800000},
      {clBtnFace, 0xC0C0C0},
      {clBtnShadow, 0x808080},
      {clNone, 0},
      {clDefault, 0},
      {clSystemColor | 0x7F, 0},  // no such system colour
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Color);
    EXPECT_EQ(ColorToRGB(c.Color), c.Expected);
  }
}

TEST(PolygonTest, FillsTheCellsInsideAndOutlinesEveryVertex) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(8, 7);
  TCanvas& canvas = *bitmap.Canvas();
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(TRect{0, 0, 8, 7});
  canvas.Brush().SetColor(clRed);
  canvas.Pen().SetColor(clBlack);
  const TPoint triangle[] = {{1, 1}, {6, 6}, {1, 6}};
  canvas.Polygon(triangle);
  const char* const expected[] = {
      "........", ".#......", ".##.....", ".#r#....", ".#rr#...", ".#rrr#..", ".######.",
  };
  for (int32_t y = 0; y < 7; ++y) {
    std::string row;
    for (int32_t x = 0; x < 8; ++x) {
      const TColor c = bitmap.PixelColor(x, y);
      row += c == clBlack ? '#' : c == clRed ? 'r' : c == clWhite ? '.' : '?';
    }
    EXPECT_EQ(row, expected[y]) << y;
  }
  // With a clear pen only the inside cells are filled.
  canvas.Brush().SetColor(clWhite);
  canvas.FillRect(TRect{0, 0, 8, 7});
  canvas.Brush().SetColor(clRed);
  canvas.Pen().SetStyle(psClear);
  const TPoint square[] = {{2, 2}, {5, 2}, {5, 5}, {2, 5}};
  canvas.Polygon(square);
  EXPECT_EQ(bitmap.PixelColor(2, 2), clRed);
  EXPECT_EQ(bitmap.PixelColor(4, 4), clRed);
  EXPECT_EQ(bitmap.PixelColor(5, 4), clWhite);
  EXPECT_EQ(bitmap.PixelColor(4, 5), clWhite);
}
