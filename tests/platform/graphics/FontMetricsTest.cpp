// Font metrics and extents against the font tables read by fontTools (font_metrics_peer.py).
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/Font.h"
#include "platform/graphics/FontResolver.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"

namespace {

struct TPeerMetrics {
  int Ppem, Ascent, Descent, Height, InternalLeading, ExternalLeading, AveCharWidth;
  int UnderscorePosition, UnderscoreSize, StrikeoutPosition, StrikeoutSize, SampleExtent;
};

// Runs the fontTools peer over one font file for several logical heights.
std::vector<TPeerMetrics> PeerMetrics(const std::string& file, WideStringView sample, const std::vector<int>& heights) {
  std::string command = "/usr/bin/python3 " QF_TEST_SOURCE_DIR "/platform/graphics/font_metrics_peer.py '" + file +
                        "' '" + WideToAnsi(sample, CP_UTF8) + "'";
  for (int h : heights) command += " " + std::to_string(h);
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::vector<TPeerMetrics> out;
  if (!pipe) return out;
  char line[512];
  while (fgets(line, sizeof line, pipe.get())) {
    std::istringstream in(line);
    TPeerMetrics m{};
    in >> m.Ppem >> m.Ascent >> m.Descent >> m.Height >> m.InternalLeading >> m.ExternalLeading >> m.AveCharWidth >>
        m.UnderscorePosition >> m.UnderscoreSize >> m.StrikeoutPosition >> m.StrikeoutSize >> m.SampleExtent;
    out.push_back(m);
  }
  return out;
}

HFONT MakeFont(WideStringView name, int32_t height, bool bold = false, bool italic = false,
               uint8_t charset = DEFAULT_CHARSET) {
  LOGFONTW lf;
  lf.lfHeight = height;
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic;
  lf.lfCharSet = charset;
  std::copy(name.begin(), name.end(), lf.lfFaceName);
  return CreateFontIndirectW(&lf);
}

// A measuring context with a font selected, released with the fixture.
class FontTest : public ::testing::Test {
protected:
  void Select(HFONT font) {
    SelectObject(Dc, font);
    DeleteObject(font);
  }
  TSize Extent(WideStringView text) {
    TSize size;
    EXPECT_TRUE(GetTextExtentPoint32W(Dc, text.data(), static_cast<int32_t>(text.size()), &size));
    return size;
  }
  void TearDown() override { DeleteDC(Dc); }
  HDC Dc = CreateCompatibleDC(nullptr);
};

const WideStringView SampleText = u"The quick brown fox, Съешь же ещё этих мягких булок!";

TEST_F(FontTest, MetricsOfEveryLiberationFaceEqualTheFontTables) {
  const std::vector<int> heights = {-8, -11, -13, -16, -21, -27, -37, -53, 15, 24};
  for (WideStringView name : {u"Times New Roman", u"Arial", u"Courier New"}) {
    for (int style = 0; style < 4; ++style) {
      const bool bold = style & 1, italic = style & 2;
      const TResolvedFontFace& face = ResolveFontFace(name, bold, italic);
      SCOPED_TRACE(face.FileName);
      EXPECT_NE(face.FileName.find("Liberation"), std::string::npos);
      EXPECT_FALSE(face.SyntheticBold || face.SyntheticItalic);
      std::vector<TPeerMetrics> peer = PeerMetrics(face.FileName, SampleText, heights);
      ASSERT_EQ(peer.size(), heights.size());
      for (size_t i = 0; i < heights.size(); ++i) {
        SCOPED_TRACE(heights[i]);
        Select(MakeFont(name, heights[i], bold, italic));
        TEXTMETRICW tm;
        ASSERT_TRUE(GetTextMetricsW(Dc, &tm));
        EXPECT_EQ(tm.tmAscent, peer[i].Ascent);
        EXPECT_EQ(tm.tmDescent, peer[i].Descent);
        EXPECT_EQ(tm.tmHeight, peer[i].Height);
        EXPECT_EQ(tm.tmInternalLeading, peer[i].InternalLeading);
        EXPECT_EQ(tm.tmExternalLeading, peer[i].ExternalLeading);
        EXPECT_EQ(tm.tmAveCharWidth, peer[i].AveCharWidth);
        EXPECT_EQ(tm.tmWeight, bold ? FW_BOLD : FW_NORMAL);
        OUTLINETEXTMETRICW otm;
        ASSERT_EQ(GetOutlineTextMetricsW(Dc, sizeof otm, &otm), sizeof otm);
        EXPECT_EQ(otm.otmsUnderscorePosition, peer[i].UnderscorePosition);
        EXPECT_EQ(otm.otmsUnderscoreSize, peer[i].UnderscoreSize);
        EXPECT_EQ(otm.otmsStrikeoutPosition, peer[i].StrikeoutPosition);
        EXPECT_EQ(static_cast<int>(otm.otmsStrikeoutSize), peer[i].StrikeoutSize);
        EXPECT_EQ(Extent(SampleText).cx, peer[i].SampleExtent);
        EXPECT_EQ(Extent(SampleText).cy, peer[i].Height);
      }
    }
  }
}

TEST_F(FontTest, PointSizesGiveTheirPixelHeights) {
  // 10 points at 96 pixels per inch is a 13-pixel em.
  TFont font;
  font.SetName("Arial");
  font.SetSize(10);
  EXPECT_EQ(font.Height(), -13);
  EXPECT_EQ(font.Size(), 10);
  Select(MakeFont(u"Arial", -13));
  TEXTMETRICW tm;
  GetTextMetricsW(Dc, &tm);
  EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 13);
  EXPECT_EQ(GetDeviceCaps(Dc, LOGPIXELSY), 96);
}

TEST_F(FontTest, ExtentsAreStrictlyAdditive) {
  const WideString text = u"Ab, Жж fi fl ffi AV To Wa — ёЁ «»";
  for (int extra : {0, 2}) {
    SCOPED_TRACE(extra);
    Select(MakeFont(u"Times New Roman", -17, false, true));
    SetTextCharacterExtra(Dc, extra);
    std::vector<int32_t> dx(text.size());
    TSize whole;
    ASSERT_TRUE(
        GetTextExtentExPointW(Dc, text.data(), static_cast<int32_t>(text.size()), 0, nullptr, dx.data(), &whole));
    int32_t sum = 0;
    for (size_t i = 0; i < text.size(); ++i) {
      sum += Extent(text.substr(i, 1)).cx;
      EXPECT_EQ(dx[i], sum);
      EXPECT_EQ(Extent(text.substr(0, i)).cx + Extent(text.substr(i)).cx, whole.cx);
    }
    EXPECT_EQ(whole.cx, sum);
  }
}

TEST_F(FontTest, FitCountsStopExactlyAtTheBoundary) {
  const WideString text = u"Fitting words at the edge";
  Select(MakeFont(u"Arial", -13));
  std::vector<int32_t> dx(text.size());
  GetTextExtentExPointW(Dc, text.data(), static_cast<int32_t>(text.size()), 0, nullptr, dx.data(), nullptr);
  for (size_t k = 1; k <= text.size(); ++k) {
    SCOPED_TRACE(k);
    int32_t fit = -1;
    GetTextExtentExPointW(Dc, text.data(), static_cast<int32_t>(text.size()), dx[k - 1], &fit, nullptr, nullptr);
    EXPECT_EQ(fit, static_cast<int32_t>(k));
    GetTextExtentExPointW(Dc, text.data(), static_cast<int32_t>(text.size()), dx[k - 1] - 1, &fit, nullptr, nullptr);
    EXPECT_EQ(fit, static_cast<int32_t>(k - 1));
  }
  int32_t fit = -1;
  GetTextExtentExPointW(Dc, text.data(), static_cast<int32_t>(text.size()), -1, &fit, nullptr, nullptr);
  EXPECT_EQ(fit, 0);
}

TEST_F(FontTest, ZeroWidthCharactersMeasureZero) {
  Select(MakeFont(u"Arial", -16));
  SetTextCharacterExtra(Dc, 3);
  EXPECT_EQ(Extent(u"\u200B\u200D\u2060").cx, 0);
  EXPECT_EQ(Extent(u"a\u200Bb\u2060c\u200D").cx, Extent(u"abc").cx);
  std::vector<int32_t> dx(3);
  GetTextExtentExPointW(Dc, u"a\u200Bb", 3, 0, nullptr, dx.data(), nullptr);
  EXPECT_EQ(dx[0], dx[1]);
}

TEST_F(FontTest, CharacterExtraIsAddedAfterEveryCharacter) {
  Select(MakeFont(u"Courier New", -13));
  const int32_t plain = Extent(u"abcd").cx;
  SetTextCharacterExtra(Dc, 2);
  EXPECT_EQ(Extent(u"abcd").cx, plain + 8);
  EXPECT_EQ(GetTextCharacterExtra(Dc), 2);
}

TEST_F(FontTest, AnsiTextIsInTheCodePageOfTheFontCharset) {
  // "Привет" in Windows-1251 and "café" in Windows-1252.
  Select(MakeFont(u"Arial", -15, false, false, RUSSIAN_CHARSET));
  TSize ansi;
  ASSERT_TRUE(GetTextExtentPoint32A(Dc, "\xCF\xF0\xE8\xE2\xE5\xF2", 6, &ansi));
  EXPECT_EQ(ansi.cx, Extent(u"Привет").cx);
  Select(MakeFont(u"Arial", -15, false, false, ANSI_CHARSET));
  int32_t dx[4];
  int32_t fit = 0;
  GetTextExtentExPointA(Dc, "caf\xE9", 4, 1000, &fit, dx, &ansi);
  EXPECT_EQ(ansi.cx, Extent(u"café").cx);
  EXPECT_EQ(fit, 4);
  EXPECT_EQ(dx[3], ansi.cx);
}

TEST_F(FontTest, PositiveHeightIsTheCellHeight) {
  for (int h : {12, 15, 20, 33}) {
    SCOPED_TRACE(h);
    Select(MakeFont(u"Arial", h));
    TEXTMETRICW tm;
    GetTextMetricsW(Dc, &tm);
    EXPECT_LE(std::abs(tm.tmHeight - h), 1);
  }
}

TEST_F(FontTest, CharacterWidthScalesTheAdvances) {
  Select(MakeFont(u"Arial", -20));
  TEXTMETRICW natural;
  GetTextMetricsW(Dc, &natural);
  LOGFONTW lf;
  lf.lfHeight = -20;
  lf.lfWidth = natural.tmAveCharWidth * 2;
  std::u16string_view name = u"Arial";
  std::copy(name.begin(), name.end(), lf.lfFaceName);
  const int32_t plain = Extent(u"Scaling").cx;
  Select(CreateFontIndirectW(&lf));
  TEXTMETRICW wide;
  GetTextMetricsW(Dc, &wide);
  EXPECT_EQ(wide.tmAveCharWidth, natural.tmAveCharWidth * 2);
  EXPECT_EQ(wide.tmHeight, natural.tmHeight);
  EXPECT_NEAR(Extent(u"Scaling").cx, plain * 2, 7);
}

TEST_F(FontTest, BoldAndItalicFacesArePreferredOverSynthesis) {
  EXPECT_NE(ResolveFontFace(u"Arial", true, false).FileName.find("LiberationSans-Bold."), std::string::npos);
  EXPECT_NE(ResolveFontFace(u"arial", false, true).FileName.find("LiberationSans-Italic."), std::string::npos);
  EXPECT_NE(ResolveFontFace(u"Times New Roman", true, true).FileName.find("LiberationSerif-BoldItalic."),
            std::string::npos);
  // A family with one face: emboldening and slant are made up.
  const TResolvedFontFace& math = ResolveFontFace(u"DejaVu Math TeX Gyre", true, true);
  EXPECT_NE(math.FileName.find("DejaVuMathTeXGyre"), std::string::npos);
  EXPECT_TRUE(math.SyntheticBold);
  EXPECT_TRUE(math.SyntheticItalic);
  Select(MakeFont(u"DejaVu Math TeX Gyre", -16));
  const int32_t regular = Extent(u"abc").cx;
  Select(MakeFont(u"DejaVu Math TeX Gyre", -16, true));
  EXPECT_EQ(Extent(u"abc").cx, regular + 3);
}

TEST_F(FontTest, MissingFaceFallsBackToTheDefaultFace) {
  const TResolvedFontFace& face = ResolveFontFace(u"No Such Face Anywhere", false, false);
  EXPECT_EQ(face.FileName, ResolveFontFace(u"Arial", false, false).FileName);
  EXPECT_EQ(ResolveFontFace(u"", false, false).FileName, face.FileName);
  Select(MakeFont(u"No Such Face Anywhere", -13));
  const TSize missing = Extent(u"Fallback");
  Select(MakeFont(u"Arial", -13));
  EXPECT_EQ(missing, Extent(u"Fallback"));
  EXPECT_GT(missing.cx, 0);
}

TEST_F(FontTest, CharacterPlacementGivesHebrewAndArabicInVisualOrder) {
  Select(MakeFont(u"DejaVu Sans", -14));
  struct TCase {
    WideString Text;
    std::vector<uint32_t> Order;  // visual position of each logical character
  };
  const TCase cases[] = {
      {u"ab \u05D0\u05D1\u05D2", {0, 1, 2, 5, 4, 3}},
      {u"\u0633\u0644\u0627\u0645 x", {3, 2, 1, 0, 4, 5}},
      // Digits after a right-to-left word join its run: they come first, still left to right.
      {u"\u05E9\u05DC\u05D5\u05DD 12", {6, 5, 4, 3, 2, 0, 1}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(WideToAnsi(c.Text, CP_UTF8));
    const size_t n = c.Text.size();
    std::vector<uint32_t> order(n);
    std::vector<int32_t> dx(n);
    std::vector<char> classes(n);
    std::vector<WideChar> visual(n);
    GCP_RESULTSW results;
    results.lpOrder = order.data();
    results.lpDx = dx.data();
    results.lpClass = classes.data();
    results.lpOutString = visual.data();
    uint32_t size = GetCharacterPlacementW(Dc, c.Text.data(), static_cast<int32_t>(n), 0, &results,
                                           GCP_REORDER | GCP_GLYPHSHAPE | GCP_DIACRITIC);
    ASSERT_NE(size, 0u);
    EXPECT_EQ(size & 0xFFFF, static_cast<uint32_t>(Extent(c.Text).cx));
    EXPECT_EQ(order, c.Order);
    // Each character advances as the extents step there (shaped clusters advance on
    // their first character).
    std::vector<int32_t> extents(n);
    int32_t fit = 0;
    TSize whole{};
    ASSERT_TRUE(GetTextExtentExPointW(Dc, c.Text.data(), static_cast<int32_t>(n), 0, &fit, extents.data(), &whole));
    for (size_t i = 0; i < n; ++i) {
      EXPECT_EQ(visual[order[i]], c.Text[i]);
      EXPECT_EQ(dx[order[i]], extents[i] - (i > 0 ? extents[i - 1] : 0));
    }
    EXPECT_EQ(classes[0], static_cast<char>(c.Text[0] < 0x0590 ? GCPCLASS_LATIN : GCPCLASS_HEBREW));
  }
}

TEST_F(FontTest, AnsiCharacterPlacementUsesTheFontCodePage) {
  // "ab " and alef, bet in Windows-1255.
  Select(MakeFont(u"DejaVu Sans", -14, false, false, HEBREW_CHARSET));
  uint32_t order[5];
  char visual[5];
  int32_t dx[5];
  GCP_RESULTSA results;
  results.lpOrder = order;
  results.lpOutString = visual;
  results.lpDx = dx;
  ASSERT_NE(GetCharacterPlacementA(Dc, "ab \xE0\xE1", 5, 0, &results, GCP_REORDER), 0u);
  EXPECT_EQ(std::vector<uint32_t>(order, order + 5), (std::vector<uint32_t>{0, 1, 2, 4, 3}));
  EXPECT_EQ(std::string(visual, 5), "ab \xE1\xE0");
  EXPECT_EQ(dx[3], Extent(u"\u05D1").cx);
  EXPECT_EQ(results.nGlyphs, 5u);
}

TEST_F(FontTest, LanguageInfoNeverAsksForLigatures) {
  Select(MakeFont(u"Arial", -13));
  EXPECT_EQ(GetFontLanguageInfo(Dc) & (GCP_LIGATE | GCP_GLYPHSHAPE | GCP_USEKERNING), 0u);
  Select(MakeFont(u"Arial", -13, false, false, HEBREW_CHARSET));
  EXPECT_EQ(GetFontLanguageInfo(Dc), GCP_REORDER);
}

TEST_F(FontTest, ScreenContextMeasuresLikeAnyOther) {
  HDC screen = ScreenDC();
  HFONT font = MakeFont(u"Times New Roman", -13);
  HGDIOBJ old = SelectObject(screen, font);
  Select(MakeFont(u"Times New Roman", -13));
  TSize onScreen;
  GetTextExtentPoint32W(screen, u"Layout", 6, &onScreen);
  EXPECT_EQ(onScreen, Extent(u"Layout"));
  EXPECT_TRUE(TextOutW(screen, 0, 0, u"Layout", 6));
  EXPECT_EQ(GetDeviceCaps(screen, LOGPIXELSX), 96);
  SelectObject(screen, old);
  DeleteObject(font);
}

TEST_F(FontTest, LogicalFontRoundTripsThroughItsHandle) {
  HFONT font = MakeFont(u"Courier New", -19, true, true, RUSSIAN_CHARSET);
  LOGFONTA lf;
  ASSERT_EQ(GetObjectA(font, sizeof lf, &lf), static_cast<int32_t>(sizeof lf));
  EXPECT_STREQ(lf.lfFaceName, "Courier New");
  EXPECT_EQ(lf.lfHeight, -19);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfCharSet, RUSSIAN_CHARSET);
  lf.lfQuality = ANTIALIASED_QUALITY;
  TFont canvasFont;
  canvasFont.SetHandle(CreateFontIndirectA(&lf));
  EXPECT_EQ(canvasFont.Name(), "Courier New");
  EXPECT_EQ(canvasFont.Style(), (TFontStyles{fsBold, fsItalic}));
  EXPECT_EQ(canvasFont.Handle()->LogFont().lfQuality, ANTIALIASED_QUALITY);
  EXPECT_TRUE(DeleteObject(font));
  EXPECT_FALSE(DeleteObject(font));
  // The object is gone: its stale handle is refused, not followed.
  EXPECT_EQ(SelectObject(Dc, font), nullptr);
  EXPECT_EQ(GetObjectA(font, sizeof lf, &lf), 0);
}

}  // namespace
