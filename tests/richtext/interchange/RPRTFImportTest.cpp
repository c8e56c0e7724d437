// RTF imported into a document: text runs and where they stand, the Unicode modes, tabs,
// hidden text and page breaks; the text and paragraph styles of the three modes; borders;
// pictures, hyperlinks, headers and footers; the document's insertion request and a
// failed import.
#include <gtest/gtest.h>

#include <functional>

#include "richtext/interchange/RPRTFImportFixture.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyleSimilarity.h"

namespace {

// A document with three fonts (Arial, Times New Roman, Courier New) and two colours (red,
// blue) around body.
std::string Doc(const std::string& body) {
  return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}"
         "{\\f2\\fmodern Courier New;}{\\f3\\fnil\\fcharset204 Arial Cyr;}}"
         "{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}" +
         body + "}";
}

std::string JoinedLines(std::initializer_list<const char*> lines) {
  std::string text;
  for (const char* line : lines) text += std::string(line) + "\n";
  return text;
}

class RPRTFImport : public ::testing::Test {
protected:
  TImportFixture F;
  TReportRPData& Data() { return F.Data(); }
  std::string Dump() { return TImportFixture::Dump(Data()); }
  TFontInfo& Text(int32_t i) { return *F.Style.TextStyles()[i]; }
  TParaInfo& Para(int32_t i) { return *F.Style.ParaStyles()[i]; }
  int32_t AddTextStyle(const char* font, int32_t size, TFontStyles style = {}, TColor color = clWindowText) {
    TFontInfo& s = *F.Style.TextStyles().Add();
    s.FontName = font;
    s.Size = size;
    s.Style = style;
    s.Color = color;
    return F.Style.TextStyles().Count() - 1;
  }
};

// --- Runs, paragraphs and lines -----------------------------------------------------------

TEST_F(RPRTFImport, ParagraphsLinesAndRunsKeepTheirPlaces) {
  F.Props.TextStyleMode = rprsAddIfNeeded;
  ASSERT_EQ(F.Import(Doc("One \\b bold\\b0\\par Two\\line three\\par\\par Four")), rtf_ec_OK);
  EXPECT_EQ(TImportFixture::PlainText(Data()), "One bold\nTwo\nthree\n\nFour");
  EXPECT_EQ(Dump(), JoinedLines({"text s=6 p=0 N 'One '", "text s=7 p=0 C 'bold'", "text s=6 p=0 N 'Two'",
                                 "text s=6 p=0 L 'three'",  // \line: a new line of the paragraph
                                 "text s=6 p=0 N ''",       // an empty paragraph
                                 "text s=6 p=0 N 'Four'"}));
  EXPECT_TRUE(Text(Data().GetItemStyle(1)).Style.Contains(fsBold));
  EXPECT_FALSE(Text(Data().GetItemStyle(0)).Style.Contains(fsBold));
}

// An import adds at most its limit of text styles; past it, a run takes the closest.
TEST_F(RPRTFImport, AddedTextStylesStopAtTheLimitAndTheRestTakeTheClosest) {
  F.Props.TextStyleMode = rprsAddIfNeeded;
  F.Props.Limits.MaxAddedTextStyles = 2;
  const int32_t before = F.Style.TextStyles().Count();
  ASSERT_EQ(F.Import(Doc("\\fs40 a\\fs60 b\\fs80 c\\fs40 d\\par")), rtf_ec_OK);
  ASSERT_EQ(F.Style.TextStyles().Count(), before + 2);
  ASSERT_EQ(Data().GetItemCount(), 4);
  EXPECT_EQ(TImportFixture::PlainText(Data()), "abcd");
  EXPECT_EQ(Text(Data().GetItemStyle(0)).Size, 20);
  EXPECT_EQ(Text(Data().GetItemStyle(1)).Size, 30);
  EXPECT_EQ(Data().GetItemStyle(2), Data().GetItemStyle(1));  // the closest to 40 points
  EXPECT_EQ(Data().GetItemStyle(3), Data().GetItemStyle(0));  // an equal one
}

// A long document of many formattings, each with a sentence of text, keeps every one of
// them: the styles it may add grow with its size.
TEST_F(RPRTFImport, ALongDocumentKeepsItsManyFormattings) {
  F.Props.TextStyleMode = rprsAddIfNeeded;
  const int32_t before = F.Style.TextStyles().Count();
  std::string body;
  for (int i = 0; i < 2000; ++i)
    body += "{\\fs" + std::to_string(2 * i + 2) + " A sentence in its own size, as a catalogue of type sizes has.}";
  ASSERT_EQ(F.Import(Doc(body + "\\par")), rtf_ec_OK);
  // Every run keeps its size; one of them, 10 points, is that of a style there already.
  EXPECT_EQ(F.Style.TextStyles().Count(), before + 1999);
  ASSERT_EQ(Data().GetItemCount(), 2000);
  for (int32_t i = 0; i < Data().GetItemCount(); ++i) ASSERT_EQ(Text(Data().GetItemStyle(i)).Size, i + 1) << i;
}

// Runs of no font share the style made for the first of them.
TEST_F(RPRTFImport, RunsWithoutAFontShareOneAddedStyle) {
  F.Props.TextStyleMode = rprsAddIfNeeded;
  const int32_t before = F.Style.TextStyles().Count();
  ASSERT_EQ(F.Import("{\\rtf1\\fs40 a\\b b\\b0 c\\par}"), rtf_ec_OK);
  EXPECT_EQ(F.Style.TextStyles().Count(), before + 2);
  ASSERT_EQ(Data().GetItemCount(), 3);
  EXPECT_EQ(Data().GetItemStyle(2), Data().GetItemStyle(0));
}

TEST_F(RPRTFImport, LineBreaksCanStartParagraphs) {
  F.Props.LineBreaksAsParagraphs = true;
  ASSERT_EQ(F.Import(Doc("Two\\line three\\par")), rtf_ec_OK);
  ASSERT_EQ(Data().GetItemCount(), 2);
  EXPECT_TRUE(Data().StartsParagraph(1));
}

TEST_F(RPRTFImport, HiddenTextIsDroppedOrKept) {
  ASSERT_EQ(F.Import(Doc("shown {\\v hidden} shown\\par")), rtf_ec_OK);
  EXPECT_EQ(TImportFixture::PlainText(Data()), "shown  shown");
  TImportFixture g;
  g.Props.SkipHiddenText = false;
  ASSERT_EQ(g.Import(Doc("shown {\\v hidden} shown\\par")), rtf_ec_OK);
  EXPECT_EQ(TImportFixture::PlainText(g.Data()), "shown hidden shown");
}

TEST_F(RPRTFImport, TabsBecomeTabItemsOrSpaces) {
  ASSERT_EQ(F.Import(Doc("a\\tab b\\par")), rtf_ec_OK);
  EXPECT_EQ(Dump(), JoinedLines({"text s=0 p=0 N 'a'", "tab s=0 p=0 C", "text s=0 p=0 C 'b'"}));
  TImportFixture g;
  g.Style.SpacesInTab = 3;
  ASSERT_EQ(g.Import(Doc("a\\tab b\\par")), rtf_ec_OK);
  EXPECT_EQ(TImportFixture::Dump(g.Data()), JoinedLines({"text s=0 p=0 N 'a   b'"}));
}

TEST_F(RPRTFImport, APageBreakGoesToTheNextItem) {
  ASSERT_EQ(F.Import(Doc("a\\par\\page b\\par")), rtf_ec_OK);
  EXPECT_EQ(Dump(), JoinedLines({"text s=0 p=0 N 'a'", "text s=0 p=0 N+page 'b'"}));
}

// --- Unicode modes ------------------------------------------------------------------------

TEST_F(RPRTFImport, UnicodeModesDecideHowTextIsStored) {
  // "Да" as \u, then 8-bit text; the 8-bit run in a Cyrillic font.
  const std::string rtf = Doc("\\f3 \\u1044?\\u1072?\\f0  ok\\par");
  const struct {
    TRPReaderUnicode Mode;
    std::vector<bool> Unicode;  // per item
    std::string Text;
  } cases[] = {
      {rpruNoUnicode, {false, false}, "?? ok"},  // \u is not read: its fallback stays
      {rpruMixed, {true, false}, "Да ok"},
      {rpruOnlyUnicode, {true, true}, "Да ok"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Mode));
    TImportFixture f;
    f.Props.UnicodeMode = c.Mode;
    f.Props.TextStyleMode = rprsAddIfNeeded;
    ASSERT_EQ(f.Import(rtf), rtf_ec_OK);
    ASSERT_EQ(f.Data().GetItemCount(), static_cast<int32_t>(c.Unicode.size())) << TImportFixture::Dump(f.Data());
    for (int32_t i = 0; i < f.Data().GetItemCount(); ++i) {
      EXPECT_EQ(f.Data().GetItem(i)->IsUnicode(), c.Unicode[static_cast<size_t>(i)]) << i;
      EXPECT_EQ(f.Style.TextStyles()[f.Data().GetItemStyle(i)]->Unicode, c.Unicode[static_cast<size_t>(i)]) << i;
    }
    EXPECT_EQ(TImportFixture::PlainText(f.Data()), c.Text);
  }
}

TEST_F(RPRTFImport, OnlyUnicodeReadsEightBitTextInItsFontsCodePage) {
  F.Props.UnicodeMode = rpruOnlyUnicode;
  F.Props.TextStyleMode = rprsAddIfNeeded;
  ASSERT_EQ(F.Import(Doc("\\f3 \\'c4\\'e0\\par")), rtf_ec_OK);  // "Да" in code page 1251
  EXPECT_EQ(TImportFixture::PlainText(Data()), "Да");
  EXPECT_TRUE(Data().GetItem(0)->IsUnicode());
}

TEST_F(RPRTFImport, TextTakesTheFormOfTheSpecifiedStyle) {
  // A Unicode style for 8-bit text and an 8-bit style for UTF-16 text.
  const int32_t unicodeStyle = AddTextStyle("Arial", 10);
  Text(unicodeStyle).Unicode = true;
  F.Props.TextStyleMode = rprsUseSpecified;
  F.Props.SetTextStyleNo(unicodeStyle);
  ASSERT_EQ(F.Import(Doc("\\'e9t\\'e9\\par")), rtf_ec_OK);
  EXPECT_TRUE(Data().GetItem(0)->IsUnicode());
  EXPECT_EQ(TImportFixture::PlainText(Data()), "été");
  // The 8-bit style keeps its text in the code page of its charset (Western here, so
  // that "é" has a byte).
  TImportFixture g;
  g.Style.TextStyles()[0]->Charset = 0;
  g.Props.UnicodeMode = rpruMixed;
  g.Props.TextStyleMode = rprsUseSpecified;
  ASSERT_EQ(g.Import(Doc("\\u233?t\\u233?\\par")), rtf_ec_OK);
  EXPECT_FALSE(g.Data().GetItem(0)->IsUnicode());
  EXPECT_EQ(TImportFixture::PlainText(g.Data()), "été");
}

TEST_F(RPRTFImport, EightBitTextIsKeptInItsStylesCodePage) {
  // The RTF's code page is Western; style 0 has the document's (Cyrillic, the system's)
  // and a Western style holds the same bytes as the RTF.
  const int32_t western = AddTextStyle("Arial", 10);
  Text(western).Charset = 0;
  F.Props.TextStyleMode = rprsUseSpecified;
  ASSERT_EQ(F.Import(Doc("caf\\'e9 \\'a3\\par")), rtf_ec_OK);
  EXPECT_EQ(TImportFixture::PlainText(Data()), "caf? ?");  // no é and no £ in code page 1251
  TImportFixture g;
  const int32_t westernG = g.Style.TextStyles().Count();
  g.Style.TextStyles().Add()->Charset = 0;
  g.Props.TextStyleMode = rprsUseSpecified;
  g.Props.SetTextStyleNo(westernG);
  ASSERT_EQ(g.Import(Doc("caf\\'e9 \\'a3\\par")), rtf_ec_OK);
  EXPECT_EQ(g.Data().GetItemTextRaw(0), "caf\xe9 \xa3");
  EXPECT_EQ(TImportFixture::PlainText(g.Data()), "café £");
}

// --- Text styles ----------------------------------------------------------------------------

TEST_F(RPRTFImport, UseSpecifiedPutsEverythingInTheGivenStyles) {
  F.Props.TextStyleMode = rprsUseSpecified;
  F.Props.ParaStyleMode = rprsUseSpecified;
  F.Props.SetTextStyleNo(3);
  F.Props.SetParaStyleNo(1);
  ASSERT_EQ(F.Import(Doc("\\qj\\li720 a {\\b\\fs40 b}\\par\\pard c\\par")), rtf_ec_OK);
  EXPECT_EQ(Dump(), JoinedLines({"text s=3 p=1 N 'a '", "text s=3 p=1 C 'b'", "text s=3 p=1 N 'c'"}));
  EXPECT_EQ(F.Style.TextStyles().Count(), 6);
  EXPECT_EQ(F.Style.ParaStyles().Count(), 2);
}

TEST_F(RPRTFImport, UseClosestWeighsTheFontNameAgainstTheSize) {
  // Times New Roman at 10 points against Arial 10 (style 0) and Times of another size:
  // the same name counts 10000, the size's similarity 10000 * (1 - |10 - s| / 10).
  const struct {
    int32_t TimesSize;
    bool TimesWins;
  } cases[] = {{18, true}, {20, false}, {21, false}};  // 12000, 10000 (a tie: the first wins), 9000
  for (const auto& c : cases) {
    SCOPED_TRACE(c.TimesSize);
    TImportFixture f;
    TFontInfo& times = *f.Style.TextStyles().Add();
    times.FontName = "Times New Roman";
    times.Size = c.TimesSize;
    ASSERT_EQ(f.Import(Doc("\\f1\\fs20 text\\par")), rtf_ec_OK);
    EXPECT_EQ(f.Data().GetItemStyle(0), c.TimesWins ? 6 : 0);
  }
}

TEST_F(RPRTFImport, UseClosestFindsTheStyleOfEachRun) {
  const int32_t boldRed = AddTextStyle("Arial", 12, {fsBold}, clRed);
  const int32_t timesItalic = AddTextStyle("Times New Roman", 12, {fsItalic});
  const int32_t lowered = AddTextStyle("Arial", 6);
  Text(lowered).VShift = -25;
  const int32_t unicodeCourier = AddTextStyle("Courier New", 10);
  Text(unicodeCourier).Unicode = true;
  F.Props.UnicodeMode = rpruMixed;
  ASSERT_EQ(F.Import(Doc("{\\b\\cf1\\fs24 bold red}{\\f1\\i\\fs24 italic}{\\sub\\fs24 low}"
                         "{\\f1 \\u1044?}{\\ul underlined}"
                         "{\\field{\\*\\fldinst HYPERLINK \"http://x\"}{\\fldrslt{\\ul\\cf2 link}}}\\par")),
            rtf_ec_OK);
  ASSERT_EQ(Data().GetItemCount(), 6) << Dump();
  EXPECT_EQ(Data().GetItemStyle(0), boldRed);
  EXPECT_EQ(Data().GetItemStyle(1), timesItalic);
  EXPECT_EQ(Data().GetItemStyle(2), lowered);         // 12 points lowered: half the size, shifted down
  EXPECT_EQ(Data().GetItemStyle(3), unicodeCourier);  // the only Unicode style
  EXPECT_FALSE(Text(Data().GetItemStyle(4)).Jump);    // text outside links takes no hypertext style
  EXPECT_TRUE(Text(Data().GetItemStyle(5)).Jump);
}

TEST_F(RPRTFImport, UseClosestAsksTheStyleFilter) {
  const int32_t boldRed = AddTextStyle("Arial", 12, {fsBold}, clRed);
  const int32_t bold = AddTextStyle("Arial", 12, {fsBold});
  F.Props.OnAllowUseStyle = [boldRed](int32_t styleNo, bool textStyle) { return !textStyle || styleNo != boldRed; };
  ASSERT_EQ(F.Import(Doc("{\\b\\cf1\\fs24 bold red}\\par")), rtf_ec_OK);
  EXPECT_EQ(Data().GetItemStyle(0), bold);
}

TEST_F(RPRTFImport, UseClosestTakesHypertextStylesForOtherTextWhenAllowed) {
  const int32_t greenUnderline = AddTextStyle("Arial", 10, {fsUnderline}, clGreen);
  F.Props.UseHypertextStyles = true;
  ASSERT_EQ(F.Import(Doc("{\\ul underlined}\\par")), rtf_ec_OK);
  // Jump 1 (4) is an underlined Arial 10 as well, and comes first.
  EXPECT_EQ(Data().GetItemStyle(0), 4);
  (void)greenUnderline;
}

TEST_F(RPRTFImport, AddIfNeededAddsEachStyleOnceOverTwoImports) {
  F.Props.TextStyleMode = rprsAddIfNeeded;
  F.Props.ParaStyleMode = rprsAddIfNeeded;
  const std::string rtf =
      Doc("\\qc\\sb120 {\\f1\\fs28\\b\\i\\cf1 big}{\\f2\\fs18\\ul\\strike small}\\par\\pard x\\par");
  ASSERT_EQ(F.Import(rtf), rtf_ec_OK);
  const int32_t textStyles = F.Style.TextStyles().Count();
  const int32_t paraStyles = F.Style.ParaStyles().Count();
  EXPECT_EQ(textStyles, 6 + 3);
  EXPECT_EQ(paraStyles, 2 + 1);  // the second paragraph is style 0's
  ASSERT_EQ(F.Import(rtf), rtf_ec_OK);
  EXPECT_EQ(F.Style.TextStyles().Count(), textStyles);
  EXPECT_EQ(F.Style.ParaStyles().Count(), paraStyles);
  EXPECT_EQ(Data().GetItemPara(2), 0);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(Data().GetItemStyle(i), Data().GetItemStyle(i + 3));
    EXPECT_EQ(Data().GetItemPara(i), Data().GetItemPara(i + 3));
  }
  const TFontInfo& big = Text(Data().GetItemStyle(0));
  EXPECT_EQ(big.FontName, "Times New Roman");
  EXPECT_EQ(big.Size, 14);
  EXPECT_EQ(big.Style, TFontStyles({fsBold, fsItalic}));
  EXPECT_EQ(big.Color, clRed);
  const TFontInfo& small = Text(Data().GetItemStyle(1));
  EXPECT_EQ(small.FontName, "Courier New");
  EXPECT_EQ(small.Size, 9);
  EXPECT_EQ(small.Style, TFontStyles({fsUnderline, fsStrikeOut}));
  EXPECT_EQ(small.Color, clWindowText);  // automatic
  const TParaInfo& centred = Para(Data().GetItemPara(0));
  EXPECT_EQ(centred.Alignment, rpaCenter);
  EXPECT_EQ(centred.SpaceBefore, 8);  // 120 twips at 96 pixels per inch
}

TEST_F(RPRTFImport, AddIfNeededStylesCarryScaleSpacingShiftCapsAndCharset) {
  F.Props.TextStyleMode = rprsAddIfNeeded;
  ASSERT_EQ(F.Import(Doc("{\\charscalex150\\expndtw30\\super\\caps\\fs20 a}{\\f3 b}{\\highlight2 c}\\par")), rtf_ec_OK);
  const TFontInfo& a = Text(Data().GetItemStyle(0));
  EXPECT_EQ(a.CharScale, 150);
  EXPECT_EQ(a.CharSpacing, 2);  // 30 twips
  EXPECT_EQ(a.VShift, 45);
  EXPECT_EQ(a.Size, 5);  // superscript: half the size
  EXPECT_TRUE(a.StyleEx.Contains(rpfsAllCaps));
  const TFontInfo& b = Text(Data().GetItemStyle(1));
  EXPECT_EQ(b.FontName, "Arial");  // "Arial Cyr" without its charset suffix
  EXPECT_EQ(b.Charset, 204);
  EXPECT_EQ(Text(Data().GetItemStyle(2)).BackColor, clBlue);  // the colour table's second entry
}

// --- Paragraph styles ------------------------------------------------------------------------

TEST_F(RPRTFImport, UseClosestParagraphStylesByAlignmentIndentsAndSpacing) {
  TParaInfo& indented = *F.Style.ParaStyles().Add();  // 2
  indented.LeftIndent = 48;
  indented.FirstIndent = -24;
  TParaInfo& spaced = *F.Style.ParaStyles().Add();  // 3
  spaced.LineSpacing = 150;
  ASSERT_EQ(F.Import(Doc("\\qc a\\par\\pard\\li720\\fi-360 b\\par\\pard\\sl360\\slmult1 c\\par\\pard d\\par")),
            rtf_ec_OK);
  EXPECT_EQ(Data().GetItemPara(0), 1);
  EXPECT_EQ(Data().GetItemPara(1), 2);
  EXPECT_EQ(Data().GetItemPara(2), 3);
  EXPECT_EQ(Data().GetItemPara(3), 0);
}

TEST_F(RPRTFImport, AddIfNeededParagraphStylesHoldEverythingTheParagraphSays) {
  F.Props.ParaStyleMode = rprsAddIfNeeded;
  ASSERT_EQ(F.Import(Doc("\\qr\\li300\\ri150\\fi-150\\sb60\\sa90\\sl480\\slmult1\\keep\\keepn\\cbpat1"
                         "\\tqr\\tldot\\tx2880\\tqc\\tx4320\\tqdec\\tleq\\tx5760\\tlmdot\\tx7200 x\\par")),
            rtf_ec_OK);
  const TParaInfo& p = Para(Data().GetItemPara(0));
  EXPECT_EQ(p.Alignment, rpaRight);
  EXPECT_EQ(p.LeftIndent, 20);
  EXPECT_EQ(p.RightIndent, 10);
  EXPECT_EQ(p.FirstIndent, -10);
  EXPECT_EQ(p.SpaceBefore, 4);
  EXPECT_EQ(p.SpaceAfter, 6);
  EXPECT_EQ(p.LineSpacingType, rplsPercent);
  EXPECT_EQ(p.LineSpacing, 200);
  EXPECT_TRUE(p.Options.Contains(rppaoKeepLinesTogether));
  EXPECT_TRUE(p.Options.Contains(rppaoKeepWithNext));
  EXPECT_EQ(p.Background.Color, clRed);
  ASSERT_EQ(p.Tabs.Count(), 4);
  const struct {
    int32_t Position;
    TRPTabAlign Align;
    AnsiString Leader;
  } tabs[] = {{192, rptaRight, "."}, {288, rptaCenter, ""}, {384, rptaRight, "="}, {480, rptaLeft, "\xB7"}};
  for (int32_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(p.Tabs.Tab(i)->Position(), tabs[i].Position);
    EXPECT_EQ(p.Tabs.Tab(i)->Align, tabs[i].Align);
    EXPECT_EQ(p.Tabs.Tab(i)->Leader, tabs[i].Leader);
  }
}

// --- Borders -----------------------------------------------------------------------------------

TEST_F(RPRTFImport, BordersOfEveryKindConvert) {
  // Width 45 twips is 3 pixels (w); the kind and colour come from the top side.
  const struct {
    const char* Kind;
    TRPBorderStyle Style;
    int32_t Width;
    int32_t Internal;
  } cases[] = {
      {"brdrs", rpbSingle, 3, 1},           {"brdrth", rpbSingle, 6, 1},
      {"brdrhair", rpbSingle, 1, 1},        {"brdrdb", rpbDouble, 3, 5},
      {"brdrwavydb", rpbDouble, 3, 5},      {"brdrtriple", rpbTriple, 3, 5},
      {"brdrtnthtnsg", rpbTriple, 1, 1},    {"brdrtnthtnmg", rpbTriple, 2, 5},
      {"brdrtnthtnlg", rpbTriple, 1, 3},    {"brdrtnthsg", rpbThickOutside, 2, 3},
      {"brdrthtnsg", rpbThickInside, 2, 3}, {"brdrtnthmg", rpbThickOutside, 2, 5},
      {"brdrthtnmg", rpbThickInside, 2, 5}, {"brdrtnthlg", rpbThickOutside, 1, 4},
      {"brdrthtnlg", rpbThickInside, 1, 4}, {"brdrdot", rpbSingle, 3, 1},
      {"brdroutset", rpbSingle, 3, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Kind);
    TImportFixture f;
    f.Props.ParaStyleMode = rprsAddIfNeeded;
    ASSERT_EQ(f.Import(Doc(std::string("\\brdrt\\") + c.Kind + "\\brdrw45\\brdrcf2 x\\par")), rtf_ec_OK);
    const TRPBorder& border = f.Style.ParaStyles()[f.Data().GetItemPara(0)]->Border;
    EXPECT_EQ(border.Style, c.Style);
    EXPECT_EQ(border.Width, c.Width);
    EXPECT_EQ(border.InternalWidth, c.Internal);
    EXPECT_EQ(border.Color, clBlue);
    EXPECT_TRUE(border.VisibleBorders.IsEqualToValues(false, true, false, false));
  }
}

TEST_F(RPRTFImport, AThinThickBorderTurnsOnTheBottomAndRight) {
  F.Props.ParaStyleMode = rprsAddIfNeeded;
  ASSERT_EQ(F.Import(Doc("\\brdrb\\brdrtnthsg\\brdrw45 x\\par")), rtf_ec_OK);
  EXPECT_EQ(Para(Data().GetItemPara(0)).Border.Style, rpbThickInside);
}

TEST_F(RPRTFImport, ABorderMakesRoomForItselfInTheIndents) {
  F.Props.ParaStyleMode = rprsAddIfNeeded;
  // Single, 1 pixel (15 twips): 2 * 1 + 1 = 3 pixels of lines; spacing 45 twips: 3.
  ASSERT_EQ(F.Import(Doc("\\brdrl\\brdrs\\brdrw15\\brsp45\\brdrb\\brdrs\\brdrw15\\brsp45 x\\par")), rtf_ec_OK);
  const TParaInfo& p = Para(Data().GetItemPara(0));
  EXPECT_EQ(p.Border.Style, rpbSingle);
  EXPECT_EQ(p.Border.Color, clWindowText);  // no \brdrcf: automatic
  EXPECT_EQ(p.Border.BorderOffsets.Left, 3);
  EXPECT_EQ(p.Border.BorderOffsets.Bottom, 3);
  EXPECT_EQ(p.Border.BorderOffsets.Top, 0);
  EXPECT_EQ(p.LeftIndent, 5);  // 3 + 3 - 1
  EXPECT_EQ(p.SpaceAfter, 5);
  EXPECT_EQ(p.SpaceBefore, 0);  // the top has no line
  EXPECT_TRUE(p.Border.VisibleBorders.IsEqualToValues(true, false, false, true));
}

TEST_F(RPRTFImport, UseClosestPrefersABorderedStyleForABorderedParagraph) {
  TParaInfo& boxed = *F.Style.ParaStyles().Add();  // 2
  boxed.Border.Style = rpbSingle;
  boxed.Border.Width = 1;
  ASSERT_EQ(F.Import(Doc("\\brdrt\\brdrs\\brdrw15\\brdrl\\brdrs\\brdrw15\\brdrb\\brdrs\\brdrw15\\brdrr\\brdrs\\brdrw15"
                         " boxed\\par\\pard plain\\par")),
            rtf_ec_OK);
  EXPECT_EQ(Data().GetItemPara(0), 2);
  EXPECT_EQ(Data().GetItemPara(1), 0);
}

// --- Pictures --------------------------------------------------------------------------------

TEST_F(RPRTFImport, PicturesKeepTheirSizeUnlessScaled) {
  const std::string dib = DibHex(30, 20);
  ASSERT_EQ(F.Import(Doc("a{\\pict\\dibitmap0\\picwgoal900\\pichgoal600 " + dib +
                         "}"  // natural size
                         "{\\pict\\dibitmap0\\picscalex50\\picscaley200\\picwgoal900\\pichgoal600 " +
                         dib +
                         "}"
                         "{\\pict\\dibitmap0\\picscalex150 " +
                         dib + "}b\\par")),
            rtf_ec_OK);
  // Goal sizes 60 x 40 pixels: scaled to 50% x 200%; without goals the picture's own.
  EXPECT_EQ(Dump(), JoinedLines({"text s=0 p=0 N 'a'", "pict 30x20 p=0 C", "pict 30x80 p=0 C", "pict 45x20 p=0 C",
                                 "text s=0 p=0 C 'b'"}));
}

TEST_F(RPRTFImport, APictureWithoutGraphicShowsTheInvalidPicture) {
  const TGraphic* invalid = F.Style.GetInvalidPicture();
  ASSERT_NE(invalid, nullptr);
  ASSERT_EQ(F.Import(Doc("{\\pict\\macpict 0011}\\par")), rtf_ec_OK);
  ASSERT_EQ(Data().GetItemCount(), 1);
  const auto& picture = dynamic_cast<const TRPGraphicItemInfo&>(*Data().GetItem(0));
  ASSERT_NE(picture.Image, nullptr);
  EXPECT_NE(picture.Image.get(), invalid);  // a copy
  EXPECT_EQ(picture.Image->Width(), invalid->Width());
  EXPECT_EQ(picture.Image->Height(), invalid->Height());
}

TEST_F(RPRTFImport, AShapePictureAndItsAlternative) {
  const std::string dib = DibHex(4, 3);
  // Without a graphic the shape picture leaves its place to the alternative ...
  ASSERT_EQ(F.Import(Doc("{\\*\\shppict{\\pict\\macpict 0011}}{\\nonshppict{\\pict\\dibitmap0 " + dib + "}}\\par")),
            rtf_ec_OK);
  EXPECT_EQ(Dump(), JoinedLines({"pict 4x3 p=0 N"}));
  // ... and an inserted shape picture suppresses it.
  TImportFixture g;
  ASSERT_EQ(g.Import(Doc("{\\*\\shppict{\\pict\\dibitmap0 " + dib + "}}{\\nonshppict{\\pict\\dibitmap0 " +
                         DibHex(8, 8) + "}}\\par")),
            rtf_ec_OK);
  EXPECT_EQ(TImportFixture::Dump(g.Data()), JoinedLines({"pict 4x3 p=0 N"}));
}

TEST_F(RPRTFImport, PicturesCanBeIgnored) {
  F.Props.IgnorePictures = true;
  ASSERT_EQ(F.Import(Doc("a{\\pict\\dibitmap0 " + DibHex(4, 3) + "}b\\par")), rtf_ec_OK);
  EXPECT_EQ(TImportFixture::PlainText(Data()), "ab");
}

TEST_F(RPRTFImport, FieldPicturesComeFromTheControlAndKeepTheirNames) {
  F.Helper.RichPane().OnImportPicture = [](TCustomRichPane*, const AnsiString& location,
                                           std::unique_ptr<TGraphic>& graphic) {
    if (location != "pictures/cat.bmp") return;
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetSize(7, 5);
    graphic = std::move(bitmap);
  };
  F.Props.StoreImagesFileNames = true;
  ASSERT_EQ(F.Import(Doc("{\\field{\\*\\fldinst INCLUDEPICTURE \"pictures/cat.bmp\"}{\\fldrslt}}\\par")), rtf_ec_OK);
  ASSERT_EQ(Dump(), JoinedLines({"pict 7x5 p=0 N"}));
  EXPECT_EQ(dynamic_cast<const TRPGraphicItemInfo&>(*Data().GetItem(0)).ImageFileName, "pictures/cat.bmp");
}

TEST_F(RPRTFImport, TheOwnerMaySupplyPictureItemsOrTakeThePictures) {
  int32_t asked = 0;
  F.Props.OnCustomImageItem = [&](TCustomRPData& rpData, std::unique_ptr<TGraphic>& graphic, TRPRTFPosition,
                                  const TRPRTFPicture* picture, bool, std::unique_ptr<TCustomRPItemInfo>& item) {
    ++asked;
    EXPECT_NE(picture, nullptr);
    if (asked == 1) {
      item = std::make_unique<TRPHotGraphicItemInfo>(&rpData, std::move(graphic), rpvaBaseline);
    } else {
      graphic.reset();  // taken: nothing is added
    }
  };
  ASSERT_EQ(F.Import(Doc("{\\pict\\dibitmap0 " + DibHex(4, 3) + "}{\\pict\\dibitmap0 " + DibHex(4, 3) + "}\\par")),
            rtf_ec_OK);
  EXPECT_EQ(asked, 2);
  EXPECT_EQ(Dump(), JoinedLines({"hotpict 4x3 p=0 N"}));
}

// --- Hyperlinks -------------------------------------------------------------------------------

TEST_F(RPRTFImport, HyperlinksGiveTheirTargetsAndHints) {
  F.Helper.RichPane().Options |= rpoTagsArePChars;
  F.Props.BasePath = "/docs/";
  ASSERT_EQ(F.Import(Doc("{\\field{\\*\\fldinst HYPERLINK \"http://x.org/a%20b\" \\\\o \"The tip\"}"
                         "{\\fldrslt{\\ul\\cf2 one}}} "
                         "{\\field{\\*\\fldinst HYPERLINK \"notes\\\\\\\\n1.rtf\"}{\\fldrslt two}} "
                         "{\\field{\\*\\fldinst HYPERLINK \\\\l \"top\"}{\\fldrslt three}}\\par")),
            rtf_ec_OK);
  ASSERT_EQ(Data().GetItemCount(), 5) << Dump();
  const struct {
    int32_t Item;
    const char* Target;
    const char* Hint;
  } links[] = {{0, "http://x.org/a b", "The tip"}, {2, "/docs/notes\\n1.rtf", ""}, {4, "#top", ""}};
  for (const auto& link : links) {
    SCOPED_TRACE(link.Target);
    const TCustomRPItemInfo& item = *Data().GetItem(link.Item);
    EXPECT_TRUE(Text(item.StyleNo).Jump);
    EXPECT_EQ(item.Tag.Text(), link.Target);
    EXPECT_EQ(item.Hint, link.Hint);
  }
  EXPECT_FALSE(Text(Data().GetItemStyle(1)).Jump);  // the blank between the links
}

TEST_F(RPRTFImport, RelativeTargetsStayRelativeWithoutBasePathLinks) {
  F.Helper.RichPane().Options |= rpoTagsArePChars;
  F.Props.BasePath = "/docs/";
  F.Props.BasePathLinks = false;
  ASSERT_EQ(F.Import(Doc("{\\field{\\*\\fldinst HYPERLINK \"n1.rtf\"}{\\fldrslt two}}\\par")), rtf_ec_OK);
  EXPECT_EQ(Data().GetItem(0)->Tag.Text(), "n1.rtf");
}

TEST_F(RPRTFImport, TheControlGivesHyperlinksTheirTagsAndStyles) {
  std::vector<std::string> asked;
  F.Helper.RichPane().OnReadHyperlink = [&](TCustomRichPane*, const AnsiString& target, const AnsiString&,
                                            TRPLoadFormat format, int32_t& styleNo, TRPTag& tag, AnsiString&) {
    EXPECT_EQ(format, rplfRTF);
    asked.push_back(target + " " + std::to_string(styleNo));
    tag = TRPTag::FromNumber(static_cast<int32_t>(asked.size()) * 10);
    if (styleNo >= 0) styleNo = 5;
  };
  ASSERT_EQ(F.Import(Doc("{\\field{\\*\\fldinst HYPERLINK \"http://a\"}{\\fldrslt{\\ul\\cf2 text}}}"
                         "{\\field{\\*\\fldinst HYPERLINK \"http://b\"}{\\fldrslt{\\pict\\dibitmap0 " +
                         DibHex(4, 3) + "}}}\\par")),
            rtf_ec_OK);
  EXPECT_EQ(asked, std::vector<std::string>({"http://a 4", "http://b -10"}));  // a picture link is hot
  EXPECT_EQ(Dump(), JoinedLines({"text s=5 p=0 N 'text'", "hotpict 4x3 p=0 C"}));
  EXPECT_EQ(Data().GetItem(0)->Tag.Number(), 10);
  EXPECT_EQ(Data().GetItem(1)->Tag.Number(), 20);
}

// --- Headers and footers ----------------------------------------------------------------------

TEST_F(RPRTFImport, HeadersAndFootersGoToTheirDocumentsWithTheirDistances) {
  F.Props.SetHeaderFooters(&F.Header, &F.Footer);
  ASSERT_EQ(F.Import(Doc("\\headery720\\footery1440{\\header\\pard top\\par}{\\footer\\pard bottom\\par}"
                         "{\\headerf first only\\par}body\\par")),
            rtf_ec_OK);
  EXPECT_EQ(TImportFixture::PlainText(Data()), "body");
  EXPECT_EQ(TImportFixture::PlainText(F.Header), "top");
  EXPECT_EQ(TImportFixture::PlainText(F.Footer), "bottom");
  EXPECT_EQ(F.Props.HeaderY(), 13);  // 720 twips: 12.7 millimetres
  EXPECT_EQ(F.Props.FooterY(), 25);  // 25.4
}

TEST_F(RPRTFImport, WithoutHeaderDocumentsHeadersAreSkipped) {
  ASSERT_EQ(F.Import(Doc("{\\header top\\par}{\\footer bottom\\par}body\\par")), rtf_ec_OK);
  EXPECT_EQ(TImportFixture::PlainText(Data()), "body");
}

// --- Insertion ---------------------------------------------------------------------------------

TEST_F(RPRTFImport, ItemsGoInWhereAsked) {
  Data().AddTextW(u"before", 0, TRPTag(), 0);
  Data().AddTextW(u"after", 0, TRPTag(), 0);
  int32_t position = 1;
  ASSERT_EQ(F.Import(Doc("one\\par two\\par"), &position), rtf_ec_OK);
  EXPECT_EQ(position, 1);
  EXPECT_EQ(TImportFixture::PlainText(Data()), "before\none\ntwo\nafter");
}

// A document that refuses, or joins into its own text, the first item of an import.
class TRefusingData : public TStyledData {
public:
  using TStyledData::TStyledData;
  enum { Refuse, Join } Mode = Refuse;
  bool InsertFirstImportedItem(int32_t& index, AnsiString text, std::unique_ptr<TCustomRPItemInfo> item,
                               bool& joined) override {
    if (Mode == Refuse) return false;
    if (!Joined) {
      // The first time: joins the text to the item before the insertion point.
      SetItemTextRaw(index - 1, GetItemTextRaw(index - 1) + text);
      Joined = joined = true;
      return true;
    }
    return TStyledData::InsertFirstImportedItem(index, std::move(text), std::move(item), joined);
  }
  bool Joined = false;
};

TEST_F(RPRTFImport, ARefusedFirstItemAbortsAndChangesNothing) {
  TRefusingData data(F.Style);
  data.AddTextW(u"kept", 0, TRPTag(), 0);
  F.Props.TextStyleMode = rprsAddIfNeeded;
  F.Props.ParaStyleMode = rprsAddIfNeeded;
  int32_t position = 1;
  EXPECT_EQ(F.Import(Doc("\\qc{\\b one}\\par two\\par"), &position, &data), rtf_ec_Aborted);
  EXPECT_TRUE(F.Props.Aborted());
  EXPECT_EQ(position, -1);
  EXPECT_EQ(TImportFixture::PlainText(data), "kept");
  EXPECT_EQ(F.Style.TextStyles().Count(), 6);
  EXPECT_EQ(F.Style.ParaStyles().Count(), 2);
}

TEST_F(RPRTFImport, AJoinedFirstItemLeavesTheNextOneFirst) {
  TRefusingData data(F.Style);
  data.Mode = TRefusingData::Join;
  data.AddTextW(u"kept ", 0, TRPTag(), 0);
  int32_t position = 1;
  ASSERT_EQ(F.Import(Doc("one{\\b  two}\\par three\\par"), &position, &data), rtf_ec_OK);
  EXPECT_FALSE(F.Props.Aborted());
  EXPECT_EQ(position, 1);  // " two": "one" joined the document's text
  EXPECT_EQ(TImportFixture::PlainText(data), "kept one two\nthree");
}

TEST_F(RPRTFImport, AFailedImportLeavesTheDocumentAsItWas) {
  F.Props.SetHeaderFooters(&F.Header, &F.Footer);
  F.Props.TextStyleMode = rprsAddIfNeeded;
  F.Props.ParaStyleMode = rprsAddIfNeeded;
  Data().AddTextW(u"first", 0, TRPTag(), 0);
  Data().AddTextW(u"last", 0, TRPTag(), 0);
  F.Header.AddTextW(u"header", 0, TRPTag(), 0);
  const std::string before = Dump();
  int32_t position = 1;
  // The closing brace is missing: the reader ends with "unmatched brace".
  const std::string rtf = Doc("{\\header\\b new header\\par}\\qc{\\f1 one}\\par{\\pict\\dibitmap0 " + DibHex(2, 2) +
                              "}\\trowd\\cellx1000 a\\cell\\row text");
  EXPECT_EQ(F.Import(rtf.substr(0, rtf.size() - 1), &position), rtf_ec_UnmatchedBrace);
  EXPECT_EQ(position, -1);
  EXPECT_EQ(Dump(), before);
  EXPECT_EQ(TImportFixture::PlainText(F.Header), "header");
  EXPECT_EQ(F.Style.TextStyles().Count(), 6);
  EXPECT_EQ(F.Style.ParaStyles().Count(), 2);
  // The same import whole goes in.
  position = 1;
  EXPECT_EQ(F.Import(rtf, &position), rtf_ec_OK);
  EXPECT_EQ(position, 1);
  EXPECT_EQ(TImportFixture::PlainText(F.Header), "header\nnew header");
}

TEST_F(RPRTFImport, ProgressReachesTheControl) {
  std::vector<TRPProgressStage> stages;
  F.Helper.RichPane().OnProgress = [&](TCustomRichPane*, TRPLongOperation operation, TRPProgressStage stage,
                                       int32_t percent) {
    EXPECT_EQ(operation, rploReadRTF);
    EXPECT_GE(percent, 0);
    EXPECT_LE(percent, 100);
    stages.push_back(stage);
  };
  std::string body;
  for (int i = 0; i < 2000; ++i) body += "paragraph of text\\par ";
  ASSERT_EQ(F.Import(Doc(body)), rtf_ec_OK);
  ASSERT_GE(stages.size(), 3u);
  EXPECT_EQ(stages.front(), rpprStarting);
  EXPECT_EQ(stages[1], rpprRunning);
  EXPECT_EQ(stages.back(), rpprEnding);
}

}  // namespace
