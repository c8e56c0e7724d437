#include "richtext/model/RPFontInfo.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "RPTestCanvas.h"
#include "platform/base/Numbers.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/FontResolver.h"
#include "platform/graphics/TextDraw.h"
#include "platform/graphics/TextMetrics.h"
#include "richtext/model/RPStyle.h"

namespace {

// --- Comparing styles -------------------------------------------------------------------

struct TPropertyCase {
  const char* Name;
  TRPFontInfoProperty Property;
  std::function<void(TFontInfo&)> Change;
};

const TPropertyCase PropertyCases[] = {
    {"size", rpfiSize, [](TFontInfo& f) { f.Size = 12; }},
    {"charset", rpfiCharset, [](TFontInfo& f) { f.Charset = RUSSIAN_CHARSET; }},
    {"bold", rpfiBold, [](TFontInfo& f) { f.Style = {fsBold}; }},
    {"italic", rpfiItalic, [](TFontInfo& f) { f.Style = {fsItalic}; }},
    {"underline", rpfiUnderline, [](TFontInfo& f) { f.Style = {fsUnderline}; }},
    {"strike-out", rpfiStrikeout, [](TFontInfo& f) { f.Style = {fsStrikeOut}; }},
    {"overline", rpfiOverline, [](TFontInfo& f) { f.StyleEx = {rpfsOverline}; }},
    {"all caps", rpfiAllCaps, [](TFontInfo& f) { f.StyleEx = {rpfsAllCaps}; }},
    {"font name", rpfiFontName, [](TFontInfo& f) { f.FontName = "Times New Roman"; }},
    {"vertical shift", rpfiVShift, [](TFontInfo& f) { f.VShift = 30; }},
    {"colour", rpfiColor, [](TFontInfo& f) { f.Color = clRed; }},
    {"back colour", rpfiBackColor, [](TFontInfo& f) { f.BackColor = clRed; }},
    {"jump", rpfiJump, [](TFontInfo& f) { f.Jump = true; }},
    {"protection", rpfiProtection, [](TFontInfo& f) { f.Protection = {rpprModifyProtect}; }},
    {"RTF code", rpfiRTFCode, [](TFontInfo& f) { f.Options = {rpteoRTFCode}; }},
    {"HTML code", rpfiHTMLCode, [](TFontInfo& f) { f.Options = {rpteoHTMLCode}; }},
    {"character scale", rpfiCharScale, [](TFontInfo& f) { f.CharScale = 80; }},
    {"character spacing", rpfiCharSpacing, [](TFontInfo& f) { f.CharSpacing = 2; }},
    {"direction", rpfiBiDiMode, [](TFontInfo& f) { f.BiDiMode = rpbdRightToLeft; }},
    {"base style", rpfiBaseStyleNo, [](TFontInfo& f) { f.BaseStyleNo = 3; }},
    {"Unicode", rpfiUnicode, [](TFontInfo& f) { f.Unicode = true; }},
    {"next style", rpfiNextStyleNo, [](TFontInfo& f) { f.NextStyleNo = 2; }},
};

TEST(RPFontInfoTest, Defaults) {
  TFontInfo f(nullptr);
  EXPECT_EQ(f.StyleName, "Font Style");
  EXPECT_EQ(f.FontName, "Arial");
  EXPECT_EQ(f.Size, 10);
  EXPECT_EQ(f.Charset, DEFAULT_CHARSET);
  EXPECT_EQ(f.Color, clWindowText);
  EXPECT_EQ(f.BackColor, clNone);
  EXPECT_EQ(f.JumpCursor, 101);
  EXPECT_EQ(f.CharScale, 100);
  EXPECT_EQ(f.BaseStyleNo, -1);
  EXPECT_EQ(f.NextStyleNo, -1);
  EXPECT_EQ(f.StyleTemplateId, -1);
  EXPECT_TRUE(f.Standard);
  EXPECT_FALSE(f.Unicode);
}

TEST(RPFontInfoTest, EveryComparedPropertyDiffersUnlessIgnored) {
  const TFontInfo stored(nullptr);
  for (const TPropertyCase& c : PropertyCases) {
    SCOPED_TRACE(c.Name);
    TFontInfo wanted(nullptr);
    c.Change(wanted);
    EXPECT_FALSE(wanted.IsEqual(stored, {}));
    EXPECT_TRUE(wanted.IsEqual(stored, {c.Property}));
    EXPECT_FALSE(wanted.IsEqual(stored, RPAllFontInfoProperties - TRPFontInfoProperties{c.Property}));
  }
}

TEST(RPFontInfoTest, HoverPropertiesCountOnlyForHyperlinks) {
  for (bool jump : {false, true}) {
    SCOPED_TRACE(jump);
    TFontInfo wanted(nullptr), stored(nullptr);
    wanted.Jump = stored.Jump = jump;
    wanted.HoverColor = clRed;
    EXPECT_EQ(wanted.IsEqual(stored, {}), !jump);
    wanted.HoverColor = clNone;
    wanted.HoverBackColor = clRed;
    EXPECT_EQ(wanted.IsEqual(stored, {}), !jump);
    EXPECT_TRUE(wanted.IsEqual(stored, {rpfiHoverBackColor}));
    wanted.HoverBackColor = clNone;
    wanted.JumpCursor = 5;
    EXPECT_EQ(wanted.IsEqual(stored, {}), !jump);
  }
}

TEST(RPFontInfoTest, NamesAreNeverComparedTemplatesAlways) {
  TFontInfo wanted(nullptr), stored(nullptr);
  wanted.StyleName = "Other";
  wanted.Standard = false;
  wanted.FontName = "ARIAL";  // names of fonts compare without case
  EXPECT_TRUE(wanted.IsEqual(stored, {}));
  wanted.StyleTemplateId = 7;
  EXPECT_FALSE(wanted.IsEqual(stored, RPAllFontInfoProperties));
  wanted.StyleTemplateId = -1;
  wanted.ModifiedProperties = {rpfiSize};
  EXPECT_FALSE(wanted.IsEqual(stored, RPAllFontInfoProperties));
}

TEST(RPFontInfoTest, SimpleEqualityForMerging) {
  TFontInfo a(nullptr), b(nullptr);
  a.BaseStyleNo = 4;  // never compared
  EXPECT_TRUE(a.IsSimpleEqual(b, false, false));
  a.NextStyleNo = 2;
  EXPECT_FALSE(a.IsSimpleEqual(b, false, false));
  EXPECT_TRUE(a.IsSimpleEqual(b, true, false));
  a.Unicode = true;
  EXPECT_FALSE(a.IsSimpleEqual(b, true, false));
}

TEST(RPFontInfoTest, SimpleEqualityThroughAMap) {
  const TRPIntegerList map = [] {
    TRPIntegerList m;
    for (int32_t v : {5, 6, 7}) m.Add(v);
    return m;
  }();
  TFontInfo self(nullptr), value(nullptr);
  self.NextStyleNo = 6;
  EXPECT_TRUE(self.IsSimpleEqualEx(value, map));  // value has no next style
  value.NextStyleNo = 1;                          // maps to 6
  EXPECT_TRUE(self.IsSimpleEqualEx(value, map));
  value.NextStyleNo = 2;  // maps to 7
  EXPECT_FALSE(self.IsSimpleEqualEx(value, map));
  value.NextStyleNo = 3;  // past the map: cleared
  EXPECT_TRUE(self.IsSimpleEqualEx(value, map));
  EXPECT_EQ(value.NextStyleNo, -1);
}

TEST(RPFontInfoTest, SimilarityOfAStyleWithItselfIsTheLargest) {
  TFontInfo plain(nullptr);
  // Summed by hand from the weights: size 10000, shift 1000, scale 300, spacing 1000,
  // colour 3000 (neither bright), back colour none with none 80000, direction and name
  // 10000 each, six styles 300000, neither styled 50000, HTML, RTF 100000, charset 50000.
  EXPECT_EQ(plain.SimilarityValue(plain), 615300);
  TFontInfo link(nullptr);
  link.Jump = true;
  // Both hyperlinks: cursor 5000, half of 12999 and of 80000.
  EXPECT_EQ(link.SimilarityValue(link), 615300 + 5000 + 6499 + 40000);
  for (const TPropertyCase& c : PropertyCases) {
    SCOPED_TRACE(c.Name);
    TFontInfo other(nullptr);
    c.Change(other);
    if (c.Property == rpfiBaseStyleNo || c.Property == rpfiUnicode || c.Property == rpfiNextStyleNo ||
        c.Property == rpfiJump)
      continue;  // not scored
    EXPECT_LT(plain.SimilarityValue(other), plain.SimilarityValue(plain));
  }
  TFontInfo protectedStyle(nullptr);
  protectedStyle.Protection = {rpprDeleteProtect};
  EXPECT_EQ(plain.SimilarityValue(protectedStyle), 615300 - 100000);
  TFontInfo russian(nullptr);
  russian.Charset = RUSSIAN_CHARSET;
  EXPECT_EQ(plain.SimilarityValue(russian), 615300 - 50000 + 12500);  // one side is DEFAULT_CHARSET
}

TEST(RPFontInfoTest, AssignCopiesEverythingOfAStyleAndFiveFieldsOfAFont) {
  TFontInfo source(nullptr);
  for (const TPropertyCase& c : PropertyCases) c.Change(source);
  source.StyleName = "Source";
  source.ModifiedProperties = {rpfiColor};
  TFontInfo target(nullptr);
  target.Assign(source);
  EXPECT_TRUE(target.IsEqual(source, {}));
  EXPECT_EQ(target.StyleName, "Source");
  TFont font;
  font.SetName("Courier New");
  font.SetSize(14);
  font.SetStyle({fsItalic});
  font.SetCharset(GREEK_CHARSET);
  font.SetColor(clMaroon);
  TFontInfo fromFont(nullptr);
  fromFont.AssignFont(font);
  EXPECT_EQ(fromFont.FontName, "Courier New");
  EXPECT_EQ(fromFont.Size, 14);
  EXPECT_EQ(fromFont.Style, TFontStyles{fsItalic});
  EXPECT_EQ(fromFont.Charset, GREEK_CHARSET);
  EXPECT_EQ(fromFont.Color, clMaroon);
  TFont back;
  fromFont.AssignToFont(back);
  EXPECT_EQ(back.Name(), "Courier New");
  EXPECT_EQ(back.Size(), 14);
}

// --- On a canvas ------------------------------------------------------------------------

TEST(RPFontInfoTest, LogFont) {
  auto page = WhitePage(120, 24);
  TFontInfo f(nullptr);
  f.Style = {fsBold, fsUnderline};
  f.Charset = RUSSIAN_CHARSET;
  f.FontName = AnsiString(40, 'n');
  LOGFONTA lf;
  f.GetLogFont(lf, *page->Canvas(), false);
  EXPECT_EQ(lf.lfHeight, -13);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfUnderline, 1);
  EXPECT_EQ(lf.lfCharSet, RUSSIAN_CHARSET);
  EXPECT_EQ(AnsiString(lf.lfFaceName), AnsiString(31, 'n'));  // cut to 31 characters
  TRPStyle sheet(nullptr);
  sheet.TextStyles().PixelsPerInch = 120;
  sheet.TextStyles()[0]->GetLogFont(lf, *page->Canvas(), true);
  EXPECT_EQ(lf.lfHeight, -17);  // MulDiv(10, 120, 72) = 16.67
  sheet.TextStyles()[0]->GetLogFont(lf, *page->Canvas(), false);
  EXPECT_EQ(lf.lfHeight, -13);
}

TEST(RPFontInfoTest, ApplyingTwiceWritesNothingTheSecondTime) {
  auto page = WhitePage(120, 24);
  TCanvas& canvas = *page->Canvas();
  int changes = 0;
  canvas.Font().OnChange = [&] { ++changes; };
  TFontInfo f(nullptr);
  f.Style = {fsBold};
  f.Charset = RUSSIAN_CHARSET;
  f.Apply(canvas, rpbdUnspecified, false);
  EXPECT_EQ(changes, 4);  // style, size, name, charset
  EXPECT_EQ(canvas.Font().Name(), "Arial");
  EXPECT_EQ(canvas.Font().Size(), 10);
  changes = 0;
  f.Apply(canvas, rpbdUnspecified, false);
  EXPECT_EQ(changes, 0);
  f.Style = {fsItalic};
  f.FontName = "ARIAL";  // the same name in other case is not written
  f.Apply(canvas, rpbdUnspecified, false);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(canvas.Font().Style(), TFontStyles{fsItalic});
}

struct TPeerMetrics {
  int Height = 0, Ascent = 0, Descent = 0, AveCharWidth = 0;
};

// The metrics of a font file at a logical height, from its own tables (fontTools).
TPeerMetrics FontTableMetrics(const std::string& file, int height) {
  const std::string command = "/usr/bin/python3 " QF_TEST_SOURCE_DIR "/platform/graphics/font_metrics_peer.py '" +
                              file + "' x " + std::to_string(height);
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  TPeerMetrics m;
  char line[512];
  if (pipe && fgets(line, sizeof line, pipe.get())) {
    std::istringstream in(line);
    int ppem = 0, height2 = 0, internal = 0, external = 0;
    in >> ppem >> m.Ascent >> m.Descent >> height2 >> internal >> external >> m.AveCharWidth;
    m.Height = height2;
  }
  return m;
}

TEST(RPFontInfoTest, AppliedStylesMeasureAsTheFontTablesSay) {
  const struct {
    const char* Name;
    int32_t Size;
    TFontStyles Style;
    int32_t CharScale;
  } cases[] = {
      {"Arial", 10, {}, 100},
      {"Times New Roman", 12, {fsBold}, 100},
      {"Arial", 10, {}, 200},
      {"Courier New", 9, {fsItalic}, 50},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Name << " " << c.Size << " scale " << c.CharScale);
    auto page = WhitePage(120, 24);
    TFontInfo f(nullptr);
    f.FontName = c.Name;
    f.Size = c.Size;
    f.Style = c.Style;
    f.CharScale = c.CharScale;
    f.Apply(*page->Canvas(), rpbdUnspecified, false);
    TEXTMETRICA tm;
    ASSERT_TRUE(GetTextMetricsA(page->Canvas()->Handle(), &tm));
    const WideString name(c.Name, c.Name + std::char_traits<char>::length(c.Name));
    const TResolvedFontFace& face = ResolveFontFace(name, c.Style.Contains(fsBold), c.Style.Contains(fsItalic));
    const TPeerMetrics peer = FontTableMetrics(face.FileName, -MulDiv(c.Size, 96, 72));
    EXPECT_EQ(tm.tmHeight, peer.Height);
    EXPECT_EQ(tm.tmAscent, peer.Ascent);
    EXPECT_EQ(tm.tmDescent, peer.Descent);
    EXPECT_EQ(tm.tmAveCharWidth, peer.AveCharWidth * c.CharScale / 100);
  }
}

TEST(RPFontInfoTest, DirectionAndCharacterSpacing) {
  auto page = WhitePage(120, 24);
  TCanvas& canvas = *page->Canvas();
  TFontInfo f(nullptr);
  f.CharSpacing = 3;
  f.ApplyBiDiMode(canvas, rpbdUnspecified);
  EXPECT_EQ(GetTextCharacterExtra(canvas.Handle()), 3);
  f.ApplyBiDiMode(canvas, rpbdRightToLeft);  // an explicit direction drops the spacing
  EXPECT_EQ(GetTextCharacterExtra(canvas.Handle()), 0);
  EXPECT_EQ(GetTextAlign(canvas.Handle()) & TA_RTLREADING, TA_RTLREADING);
  f.BiDiMode = rpbdLeftToRight;
  f.ApplyBiDiMode(canvas, rpbdRightToLeft);  // the style's own direction wins
  EXPECT_EQ(GetTextAlign(canvas.Handle()), TA_LEFT);
}

TEST(RPFontInfoTest, ColoursForDrawStatesAndColourModes) {
  TRPStyle sheet(nullptr);
  sheet.SelColor = 0x111111;
  sheet.SelTextColor = 0x222222;
  sheet.InactiveSelColor = 0x333333;
  sheet.InactiveSelTextColor = clNone;
  sheet.HoverColor = 0x444444;
  const struct {
    const char* Name;
    TColor Color, Back, Hover, HoverBack;
    TRPTextDrawStates State;
    bool Printing;
    TRPColorMode Mode;
    TColor FontColor, BrushColor;
    TBrushStyle BrushStyle;
  } cases[] = {
      {"selected, focused",
       clRed,
       clNone,
       clNone,
       clNone,
       {rptsSelected, rptsControlFocused},
       false,
       rpcmColor,
       0x222222,
       0x111111,
       bsSolid},
      {"selected, inactive text none",
       clRed,
       clNone,
       clNone,
       clNone,
       {rptsSelected},
       false,
       rpcmColor,
       clRed,
       0x333333,
       bsSolid},
      {"hover, sheet colour",
       clRed,
       clNone,
       clNone,
       0x555555,
       {rptsHover},
       false,
       rpcmColor,
       0x444444,
       0x555555,
       bsSolid},
      {"hover, own colour", clRed, clNone, clBlue, clNone, {rptsHover}, false, rpcmColor, clBlue, clNone, bsClear},
      {"screen", clRed, clYellow, clNone, clNone, {}, false, rpcmBlackAndWhite, clRed, clYellow, bsSolid},
      {"printer colours",
       clWindowText,
       clBtnFace,
       clNone,
       clNone,
       {},
       true,
       rpcmPrinterColor,
       clBlack,
       0xC0C0C0,
       bsSolid},
      {"grey", clRed, clBtnFace, clNone, clNone, {}, true, rpcmGrayScale, 0x4C4C4C, 0xC0C0C0, bsSolid},
      {"b&w dark on light", clNavy, clYellow, clNone, clNone, {}, true, rpcmBlackAndWhite, clBlack, clWhite, bsSolid},
      {"b&w light on dark", clYellow, clNavy, clNone, clNone, {}, true, rpcmBlackAndWhite, clWhite, clBlack, bsSolid},
      {"b&w no back, white", clWhite, clNone, clNone, clNone, {}, true, rpcmBlackAndWhite, clWhite, clNone, bsClear},
      {"b&w no back, grey", clGray, clNone, clNone, clNone, {}, true, rpcmBlackAndWhite, clBlack, clNone, bsClear},
      {"black on white", clRed, clYellow, clNone, clNone, {}, true, rpcmBlackOnWhite, clBlack, clNone, bsClear},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    auto page = WhitePage(120, 24);
    TFontInfo f(nullptr);
    f.Color = c.Color;
    f.BackColor = c.Back;
    f.HoverColor = c.Hover;
    f.HoverBackColor = c.HoverBack;
    f.ApplyColor(*page->Canvas(), sheet, c.State, c.Printing, c.Mode);
    EXPECT_EQ(page->Canvas()->Font().Color(), c.FontColor);
    EXPECT_EQ(page->Canvas()->Brush().Style(), c.BrushStyle);
    if (c.BrushStyle == bsSolid) {
      EXPECT_EQ(page->Canvas()->Brush().Color(), c.BrushColor);
    }
  }
}

// --- Drawing a run ------------------------------------------------------------------------

class RPDrawStyleTextTest : public ::testing::Test {
protected:
  RPDrawStyleTextTest() {
    Style = Sheet.TextStyles()[0];
    Style->Color = clBlack;
  }
  void Prepare(TBitmap& page) {
    Style->Apply(*page.Canvas(), rpbdUnspecified, false);
    Style->ApplyColor(*page.Canvas(), Sheet, {}, false, rpcmColor);
  }
  TRPStyle Sheet{nullptr};
  TFontInfo* Style;
};

TEST_F(RPDrawStyleTextTest, PlainRunIsTheCanvasTextAfterTheSpaceBefore) {
  auto drawn = WhitePage(120, 24), reference = WhitePage(120, 24);
  Prepare(*drawn);
  Style->DrawStyleText("Run", false, *drawn->Canvas(), 0, 5, 2, 3, 40, 16, Sheet, {}, false, false, rpcmColor,
                       rpbdUnspecified);
  Prepare(*reference);
  TextOutA(reference->Canvas()->Handle(), 7, 3, "Run", 3);
  EXPECT_EQ(Pixels(*drawn), Pixels(*reference));
  // The same text stored as UTF-16.
  auto wide = WhitePage(120, 24);
  Prepare(*wide);
  Style->DrawStyleText(AnsiString("R\0u\0n\0", 6), true, *wide->Canvas(), 0, 5, 2, 3, 40, 16, Sheet, {}, false, false,
                       rpcmColor, rpbdUnspecified);
  EXPECT_EQ(Pixels(*wide), Pixels(*reference));
}

TEST_F(RPDrawStyleTextTest, SpaceBeforeIsFilledAndUnderlinedOnScreenOnly) {
  Style->BackColor = clYellow;
  Style->Style = {fsUnderline};
  auto page = WhitePage(120, 24);
  Prepare(*page);
  Style->DrawStyleText("a", false, *page->Canvas(), 0, 6, 0, 0, 20, 16, Sheet, {}, false, false, rpcmColor,
                       rpbdUnspecified);
  EXPECT_EQ(page->PixelColor(1, 1), clYellow);  // the space before, filled
  EXPECT_EQ(page->Canvas()->Brush().Style(), bsClear);
  OUTLINETEXTMETRICA otm;
  ASSERT_NE(GetOutlineTextMetricsA(page->Canvas()->Handle(), sizeof otm, &otm), 0u);
  const int32_t y = otm.otmTextMetrics.tmAscent + otm.otmsUnderscoreSize / 2 - otm.otmsUnderscorePosition;
  EXPECT_EQ(page->PixelColor(0, y), clBlack);  // the underline reaches into the space before
  EXPECT_EQ(page->PixelColor(6, y), clBlack);
  EXPECT_EQ(page->PixelColor(0, y - static_cast<int32_t>(otm.otmsUnderscoreSize) - 1), clYellow);
}

TEST_F(RPDrawStyleTextTest, OverlineAcrossTheWholeBox) {
  Style->StyleEx = {rpfsOverline};
  auto page = WhitePage(120, 24);
  Prepare(*page);
  Style->DrawStyleText("ab", false, *page->Canvas(), 0, 0, 4, 2, 30, 16, Sheet, {}, false, false, rpcmColor,
                       rpbdUnspecified);
  for (int32_t x = 4; x < 34; ++x) EXPECT_EQ(page->PixelColor(x, 2), clBlack) << x;
  EXPECT_EQ(page->PixelColor(3, 2), clWhite);
  EXPECT_EQ(page->PixelColor(34, 2), clWhite);
}

TEST_F(RPDrawStyleTextTest, PrintingWithCharacterSpacingDrawsEachAdvanceWider) {
  Style->CharSpacing = 2;
  auto drawn = WhitePage(120, 24), reference = WhitePage(120, 24);
  Prepare(*drawn);
  EXPECT_EQ(GetTextCharacterExtra(drawn->Canvas()->Handle()), 2);
  Style->DrawStyleText("Wide", false, *drawn->Canvas(), 0, 0, 1, 1, 60, 16, Sheet, {}, true, false, rpcmColor,
                       rpbdUnspecified);
  EXPECT_EQ(GetTextCharacterExtra(drawn->Canvas()->Handle()), 2);  // switched back on
  Prepare(*reference);
  SetTextCharacterExtra(reference->Canvas()->Handle(), 0);
  int32_t dx[4];
  for (int i = 0; i < 4; ++i) {
    TSize size;
    GetTextExtentPoint32A(reference->Canvas()->Handle(), "Wide" + i, 1, &size);
    dx[i] = size.cx + 2;
  }
  ExtTextOutA(reference->Canvas()->Handle(), 1, 1, 0, nullptr, "Wide", 4, dx);
  EXPECT_EQ(Pixels(*drawn), Pixels(*reference));
}

TEST_F(RPDrawStyleTextTest, PreviewCorrectionStretchesTheRunToItsBox) {
  auto drawn = WhitePage(120, 24);
  Prepare(*drawn);
  const int32_t natural = drawn->Canvas()->TextWidth("iiii");
  Style->DrawStyleText("iiii", false, *drawn->Canvas(), 0, 0, 0, 0, natural + 7, 16, Sheet, {}, true, true, rpcmColor,
                       rpbdUnspecified);
  // 7 pixels spread from the first character: 1, 2, 2, 2 (7 div 4, 6 div 3, 4 div 2, 2).
  auto reference = WhitePage(120, 24);
  Prepare(*reference);
  TSize i;
  GetTextExtentPoint32A(reference->Canvas()->Handle(), "i", 1, &i);
  const int32_t dx[4] = {i.cx + 1, i.cx + 2, i.cx + 2, i.cx + 2};
  ExtTextOutA(reference->Canvas()->Handle(), 0, 0, 0, nullptr, "iiii", 4, dx);
  EXPECT_EQ(Pixels(*drawn), Pixels(*reference));
}

TEST_F(RPDrawStyleTextTest, VisibleSpacesGetAMiddleDot) {
  auto withSigns = WhitePage(120, 24), plain = WhitePage(120, 24);
  Prepare(*withSigns);
  Style->DrawStyleText("a b", false, *withSigns->Canvas(), 0, 0, 0, 0, 60, 16, Sheet, {rptsSpecialCharacters}, false,
                       false, rpcmColor, rpbdUnspecified);
  Prepare(*plain);
  Style->DrawStyleText("a b", false, *plain->Canvas(), 0, 0, 0, 0, 60, 16, Sheet, {}, false, false, rpcmColor,
                       rpbdUnspecified);
  // The sign, centred on the space, as the canvas draws a middle dot there.
  HDC dc = plain->Canvas()->Handle();
  TSize a, space, dot;
  GetTextExtentPoint32A(dc, "a", 1, &a);
  GetTextExtentPoint32A(dc, " ", 1, &space);
  GetTextExtentPoint32A(dc, "\xB7", 1, &dot);
  plain->Canvas()->Brush().SetStyle(bsClear);
  TextOutA(plain->Canvas()->Handle(), a.cx + static_cast<int32_t>(Round((space.cx - dot.cx) / 2.0)), 0, "\xB7", 1);
  EXPECT_EQ(Pixels(*withSigns), Pixels(*plain));
  SetRPVisibleSpecialCharacters({rpscParagraph});
  auto none = WhitePage(120, 24);
  Prepare(*none);
  Style->DrawStyleText("a b", false, *none->Canvas(), 0, 0, 0, 0, 60, 16, Sheet, {rptsSpecialCharacters}, false, false,
                       rpcmColor, rpbdUnspecified);
  SetRPVisibleSpecialCharacters(TRPSpecialCharacters::All());
  auto unsigned_ = WhitePage(120, 24);
  Prepare(*unsigned_);
  TextOutA(unsigned_->Canvas()->Handle(), 0, 0, "a b", 3);
  EXPECT_EQ(Pixels(*none), Pixels(*unsigned_));
}

}  // namespace
