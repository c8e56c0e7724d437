// Drawing text: glyphs where measuring put them, colours, backgrounds, clipping, DrawText.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"

namespace {

std::unique_ptr<TBitmap> WhiteBitmap(int32_t width, int32_t height, TPixelFormat format = pf24bit) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(format);
  bitmap->SetSize(width, height);
  return bitmap;
}

// A bitmap with a canvas whose context draws black Arial text on a clear background.
struct TTextSurface {
  explicit TTextSurface(int32_t width = 240, int32_t height = 40, TPixelFormat format = pf24bit, int32_t size = 14)
      : Bitmap(WhiteBitmap(width, height, format)) {
    TCanvas& canvas = *Bitmap->Canvas();
    canvas.Font().SetName("Arial");
    canvas.Font().SetHeight(-size);
    canvas.Brush().SetStyle(bsClear);
    Dc = canvas.Handle();
  }
  int32_t Width(WideStringView text) const {
    TSize size;
    GetTextExtentPoint32W(Dc, text.data(), static_cast<int32_t>(text.size()), &size);
    return size.cx;
  }
  void Out(int32_t x, int32_t y, WideStringView text) const {
    ExtTextOutW(Dc, x, y, 0, nullptr, text.data(), static_cast<uint32_t>(text.size()), nullptr);
  }
  std::vector<TColor> Pixels() const {
    std::vector<TColor> out;
    for (int32_t y = 0; y < Bitmap->Height(); ++y)
      for (int32_t x = 0; x < Bitmap->Width(); ++x) out.push_back(Bitmap->PixelColor(x, y));
    return out;
  }
  // Leftmost and rightmost columns holding a pixel that is not white (-1 when none).
  std::pair<int32_t, int32_t> InkColumns() const {
    int32_t left = -1, right = -1;
    for (int32_t x = 0; x < Bitmap->Width(); ++x)
      for (int32_t y = 0; y < Bitmap->Height(); ++y)
        if (Bitmap->PixelColor(x, y) != clWhite) {
          if (left < 0) left = x;
          right = x;
        }
    return {left, right};
  }
  std::unique_ptr<TBitmap> Bitmap;
  HDC Dc;
};

TEST(TextDrawTest, LastGlyphStandsWhereTheExtentSaid) {
  for (const TPixelFormat format : {pf24bit, pf1bit})
    for (WideStringView text : {WideStringView(u"Measured, then drawn"), WideStringView(u"Съешь ещё мягких булок")}) {
      SCOPED_TRACE(format == pf1bit ? "1 bit" : "24 bits");
      TTextSurface whole(240, 40, format), pieces(240, 40, format);
      whole.Out(3, 5, text);
      const WideStringView prefix = text.substr(0, text.size() - 1);
      pieces.Out(3, 5, prefix);
      pieces.Out(3 + pieces.Width(prefix), 5, text.substr(text.size() - 1));
      EXPECT_EQ(whole.Pixels(), pieces.Pixels());
      EXPECT_GT(whole.InkColumns().second, 3 + whole.Width(prefix));
    }
}

// Stem widths of a letter drawn alone on a 1-bit bitmap with its baseline at Baseline.
struct TStemProbe : TTextSurface {
  static constexpr int32_t Baseline = 40;
  TStemProbe(const char* face, int32_t px, bool bold) : TTextSurface(60, 60, pf1bit, px) {
    TFont& font = Bitmap->Canvas()->Font();
    font.SetName(face);
    if (bold) font.SetStyle({fsBold});
    Dc = Bitmap->Canvas()->Handle();
    SetTextAlign(Dc, TA_BASELINE);
  }
  // Height above the baseline of the top of "x".
  int32_t XHeight() {
    Draw(u'x');
    int32_t top = Baseline;
    for (int32_t y = 0; y < Baseline; ++y)
      for (int32_t x = 0; x < Bitmap->Width(); ++x)
        if (Bitmap->PixelColor(x, y) == clBlack) top = std::min(top, y);
    return Baseline - top;
  }
  // The most common length of the letter's leftmost (or rightmost) run of black pixels in
  // the rows between a quarter and a half of the x-height above the baseline: below
  // crossbars and arches, above serifs, where such a run is a vertical stem.
  int32_t StemWidth(WideChar letter, bool leftmost, int32_t xHeight) {
    Draw(letter);
    std::map<int32_t, int32_t> lengths;
    for (int32_t above = xHeight / 4 + 1; above <= xHeight / 2; ++above) {
      const int32_t y = Baseline - above;
      std::vector<int32_t> runs;
      for (int32_t x = 0; x < Bitmap->Width();) {
        int32_t end = x;
        while (end < Bitmap->Width() && Bitmap->PixelColor(end, y) == clBlack) ++end;
        if (end > x) runs.push_back(end - x);
        x = end + 1;
      }
      if (!runs.empty()) ++lengths[leftmost ? runs.front() : runs.back()];
    }
    const auto common = std::max_element(lengths.begin(), lengths.end(),
                                         [](const auto& a, const auto& b) { return a.second < b.second; });
    return common == lengths.end() ? 0 : common->first;
  }
  void Draw(WideChar letter) {
    Bitmap->Canvas()->Brush().SetStyle(bsSolid);
    Bitmap->Canvas()->FillRect(Rect(0, 0, Bitmap->Width(), Bitmap->Height()));
    Bitmap->Canvas()->Brush().SetStyle(bsClear);
    Out(10, Baseline, WideStringView(&letter, 1));
  }
};

TEST(TextDrawTest, OneBitStemsAreAsWideInCyrillicAsInLatin) {
  // Letters whose leftmost and rightmost runs in the probed rows are vertical stems.
  const std::u16string_view leftStems = u"nhlmu\u043D\u043F\u0446\u0448\u0449\u044B\u044C";  // нпцшщыь
  const std::u16string_view rightStems = u"nh\u043D\u043F\u0438\u0447\u0439\u043B";          // нпичйл
  const struct {
    const char* Face;  // Liberation Serif and Sans by metric compatibility
    int32_t Px;
    bool Bold;
    int32_t Width;
  } cases[] = {
      {"Times New Roman", 16, false, 1}, {"Arial", 16, false, 1},
      {"Times New Roman", 13, false, 1}, {"Arial", 13, false, 1},
      {"Times New Roman", 20, false, 2}, {"Arial", 20, false, 2},
      {"Times New Roman", 16, true, 2},  {"Arial", 16, true, 2},
  };
  for (const auto& c : cases) {
    TStemProbe probe(c.Face, c.Px, c.Bold);
    const int32_t xHeight = probe.XHeight();
    for (const bool leftmost : {true, false})
      for (const WideChar letter : leftmost ? leftStems : rightStems) {
        SCOPED_TRACE(testing::Message() << c.Face << " " << c.Px << " px" << (c.Bold ? " bold" : "") << ", U+"
                                        << std::hex << static_cast<int>(letter) << (leftmost ? " left" : " right"));
        EXPECT_EQ(probe.StemWidth(letter, leftmost, xHeight), c.Width);
      }
  }
}

TEST(TextDrawTest, MissingFaceDrawsWithTheDefaultFace) {
  TTextSurface missing, arial;
  missing.Bitmap->Canvas()->Font().SetName("No Such Face Anywhere");
  missing.Dc = missing.Bitmap->Canvas()->Handle();
  missing.Out(2, 2, u"Still readable");
  arial.Out(2, 2, u"Still readable");
  EXPECT_EQ(missing.Pixels(), arial.Pixels());
  EXPECT_NE(missing.InkColumns().first, -1);
}

TEST(TextDrawTest, HugeFontsDrawLikeSmallOnes) {
  // Glyphs this large are not kept; drawing them twice gives the same pixels.
  TTextSurface first(400, 420, pf1bit, 400), second(400, 420, pf1bit, 400);
  first.Out(0, 0, u"Wg");
  second.Out(0, 0, u"W");
  second.Out(second.Width(u"W"), 0, u"g");
  EXPECT_EQ(first.Pixels(), second.Pixels());
  EXPECT_NE(first.InkColumns().first, -1);
}

TEST(TextDrawTest, GlyphsAreAntialiasedExceptOnOneBitBitmaps) {
  TTextSurface colour;
  colour.Out(2, 2, u"Grey edges");
  const std::vector<TColor> colourPixels = colour.Pixels();
  std::set<TColor> colours(colourPixels.begin(), colourPixels.end());
  EXPECT_GT(colours.size(), 4u);
  TTextSurface mono(240, 40, pf1bit);
  mono.Out(2, 2, u"Grey edges");
  const std::vector<TColor> monoPixels = mono.Pixels();
  std::set<TColor> two(monoPixels.begin(), monoPixels.end());
  EXPECT_EQ(two, (std::set<TColor>{clBlack, clWhite}));
  TTextSurface sharp;
  LOGFONTW lf;
  GetObjectW(sharp.Bitmap->Canvas()->Font().Handle(), sizeof lf, &lf);
  lf.lfQuality = NONANTIALIASED_QUALITY;
  sharp.Bitmap->Canvas()->Font().SetHandle(CreateFontIndirectW(&lf));
  sharp.Dc = sharp.Bitmap->Canvas()->Handle();
  sharp.Out(2, 2, u"Grey edges");
  const std::vector<TColor> sharpPixels = sharp.Pixels();
  std::set<TColor> sharpColours(sharpPixels.begin(), sharpPixels.end());
  EXPECT_EQ(sharpColours, (std::set<TColor>{clBlack, clWhite}));
}

TEST(TextDrawTest, PaletteBitmapsTakeTheNearestBlendedColour) {
  TTextSurface surface(240, 40, pf4bit, 20);
  surface.Out(2, 2, u"Grey edges");
  const std::vector<TColor> pixels = surface.Pixels();
  const std::set<TColor> colours(pixels.begin(), pixels.end());
  // Edges fall between black and white: the 16-colour table's greys.
  EXPECT_TRUE(colours.count(clBlack) && colours.count(clWhite));
  EXPECT_TRUE(colours.count(clGray) || colours.count(clSilver));
  for (TColor c : colours) EXPECT_TRUE(c == clBlack || c == clWhite || c == clGray || c == clSilver) << c;
}

TEST(TextDrawTest, GlyphsBlendInTheTextColour) {
  TTextSurface surface(240, 40, pf24bit, 24);
  SetTextColor(surface.Dc, RGB(255, 0, 0));
  surface.Out(2, 2, u"Red");
  for (TColor c : surface.Pixels()) {
    EXPECT_EQ(GetRValue(static_cast<COLORREF>(c)), 255);
    EXPECT_EQ(GetGValue(static_cast<COLORREF>(c)), GetBValue(static_cast<COLORREF>(c)));
  }
  std::vector<TColor> pixels = surface.Pixels();
  EXPECT_NE(std::find(pixels.begin(), pixels.end(), clRed), pixels.end());
}

TEST(TextDrawTest, OpaqueBackgroundFillsTheTextCell) {
  TTextSurface surface;
  TEXTMETRICW tm;
  GetTextMetricsW(surface.Dc, &tm);
  SetBkMode(surface.Dc, OPAQUE);
  SetBkColor(surface.Dc, RGB(0, 0, 255));
  surface.Out(10, 5, u"Cell");
  const int32_t right = 10 + surface.Width(u"Cell");
  EXPECT_EQ(surface.Bitmap->PixelColor(10, 5), clBlue);
  EXPECT_EQ(surface.Bitmap->PixelColor(right - 1, 5 + tm.tmHeight - 1), clBlue);
  EXPECT_EQ(surface.Bitmap->PixelColor(right, 5), clWhite);
  EXPECT_EQ(surface.Bitmap->PixelColor(10, 5 + tm.tmHeight), clWhite);
  SetBkMode(surface.Dc, TRANSPARENT);
  surface.Out(100, 5, u"Cell");
  EXPECT_EQ(surface.Bitmap->PixelColor(100, 5), clWhite);
}

TEST(TextDrawTest, ClippedAndOpaqueRectangles) {
  TTextSurface surface;
  SetBkColor(surface.Dc, RGB(0, 255, 0));
  const TRect box = Rect(20, 0, 40, 30);
  ExtTextOutW(surface.Dc, 10, 5, ETO_CLIPPED | ETO_OPAQUE, &box, u"WWWWWWWW", 8, nullptr);
  EXPECT_EQ(surface.Bitmap->PixelColor(20, 0), clLime);
  EXPECT_EQ(surface.Bitmap->PixelColor(39, 29), clLime);
  const auto [left, right] = surface.InkColumns();
  EXPECT_EQ(left, 20);
  EXPECT_EQ(right, 39);
}

TEST(TextDrawTest, AlignmentMovesTheReferencePoint) {
  TTextSurface surface;
  TEXTMETRICW tm;
  GetTextMetricsW(surface.Dc, &tm);
  SetTextAlign(surface.Dc, TA_RIGHT | TA_BASELINE);
  surface.Out(100, 20, u"Right");
  TTextSurface plain;
  plain.Out(100 - plain.Width(u"Right"), 20 - tm.tmAscent, u"Right");
  EXPECT_EQ(surface.Pixels(), plain.Pixels());
  TTextSurface current;
  SetTextAlign(current.Dc, TA_UPDATECP);
  current.Bitmap->Canvas()->MoveTo(4, 3);
  current.Out(0, 0, u"ab");
  EXPECT_EQ(current.Bitmap->Canvas()->PenPos(), Point(4 + current.Width(u"ab"), 3));
}

TEST(TextDrawTest, UnderlineRunsUnderTheWholeText) {
  TTextSurface surface;
  TFont& font = surface.Bitmap->Canvas()->Font();
  font.SetStyle({fsUnderline});
  surface.Dc = surface.Bitmap->Canvas()->Handle();
  OUTLINETEXTMETRICW otm;
  GetOutlineTextMetricsW(surface.Dc, sizeof otm, &otm);
  surface.Out(5, 2, u"a b");
  const int32_t row = 2 + otm.otmTextMetrics.tmAscent - otm.otmsUnderscorePosition;
  for (int32_t x = 5; x < 5 + surface.Width(u"a b"); ++x) EXPECT_EQ(surface.Bitmap->PixelColor(x, row), clBlack);
  EXPECT_EQ(surface.Bitmap->PixelColor(5 + surface.Width(u"a b"), row), clWhite);
}

TEST(TextDrawTest, RightToLeftRunsAreDrawnInVisualOrder) {
  TTextSurface surface;
  surface.Bitmap->Canvas()->Font().SetName("DejaVu Sans");
  surface.Dc = surface.Bitmap->Canvas()->Handle();
  surface.Out(10, 5, u"\u05D0\u05D1\u05D2");
  TTextSurface pieces;
  pieces.Bitmap->Canvas()->Font().SetName("DejaVu Sans");
  pieces.Dc = pieces.Bitmap->Canvas()->Handle();
  int32_t x = 10;
  for (WideStringView c : {u"\u05D2", u"\u05D1", u"\u05D0"}) {
    pieces.Out(x, 5, c);
    x += pieces.Width(c);
  }
  EXPECT_EQ(surface.Pixels(), pieces.Pixels());
}

TEST(TextDrawTest, DrawTextCutsWithAnEllipsisAndAligns) {
  TTextSurface surface;
  TRect rect = Rect(10, 2, 90, 30);
  const WideString text = u"A header much too long";
  TRect calc = rect;
  const int32_t height =
      DrawTextW(surface.Dc, text.data(), -1, &calc, DT_CALCRECT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  TEXTMETRICW tm;
  GetTextMetricsW(surface.Dc, &tm);
  EXPECT_EQ(height, tm.tmHeight);
  EXPECT_LE(calc.Width(), rect.Width());
  // The cut text is the longest prefix that fits with "...".
  WideString cut;
  for (size_t k = text.size(); k-- > 0;)
    if (surface.Width(text.substr(0, k) + u"...") <= rect.Width()) {
      cut = text.substr(0, k) + u"...";
      break;
    }
  EXPECT_EQ(calc.Width(), surface.Width(cut));
  DrawTextW(surface.Dc, text.data(), -1, &rect, DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX | DT_RIGHT | DT_BOTTOM);
  TTextSurface expected;
  expected.Out(rect.Right - expected.Width(cut), rect.Bottom - tm.tmHeight, cut);
  EXPECT_EQ(surface.Pixels(), expected.Pixels());
}

TEST(TextDrawTest, DrawTextBreaksWordsAndLines) {
  TTextSurface surface(240, 120);
  TEXTMETRICW tm;
  GetTextMetricsW(surface.Dc, &tm);
  TRect rect = Rect(0, 0, 70, 120);
  const int32_t height = DrawTextW(surface.Dc, u"one two three four\r\nfive", -1, &rect, DT_CALCRECT | DT_WORDBREAK);
  EXPECT_EQ(height % tm.tmHeight, 0);
  EXPECT_GE(height / tm.tmHeight, 3);
  EXPECT_LE(rect.Width(), 70);
  EXPECT_EQ(rect.Bottom, height);
  TRect one = Rect(0, 0, 200, 20);
  EXPECT_EQ(DrawTextW(surface.Dc, u"", 0, &one, DT_CALCRECT), tm.tmHeight);
  EXPECT_EQ(one.Width(), 0);
  TRect centred = Rect(0, 0, 100, 41);
  EXPECT_EQ(DrawTextW(surface.Dc, u"x", 1, &centred, DT_SINGLELINE | DT_VCENTER), (41 - tm.tmHeight) / 2 + tm.tmHeight);
}

TEST(TextDrawTest, PrefixesAndTabs) {
  TTextSurface surface;
  TEXTMETRICW tm;
  GetTextMetricsW(surface.Dc, &tm);
  TRect rect = Rect(0, 0, 240, 40);
  DrawTextW(surface.Dc, u"&File && more", -1, &rect, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(rect.Width(), surface.Width(u"File & more"));
  rect = Rect(0, 0, 240, 40);
  DrawTextW(surface.Dc, u"&File", -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  EXPECT_EQ(rect.Width(), surface.Width(u"&File"));
  rect = Rect(0, 0, 240, 40);
  DrawTextW(surface.Dc, u"a\tb", -1, &rect, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
  EXPECT_EQ(rect.Width(), 8 * tm.tmAveCharWidth + surface.Width(u"b"));
  rect = Rect(0, 0, 240, 40);
  DrawTextW(surface.Dc, u"&File", -1, &rect, DT_SINGLELINE);
  const int32_t row = tm.tmAscent - [&] {
    OUTLINETEXTMETRICW otm;
    GetOutlineTextMetricsW(surface.Dc, sizeof otm, &otm);
    return otm.otmsUnderscorePosition;
  }();
  EXPECT_EQ(surface.Bitmap->PixelColor(1, row), clBlack);
  EXPECT_EQ(surface.Bitmap->PixelColor(surface.Width(u"F") + 2, row), clWhite);
}

}  // namespace
