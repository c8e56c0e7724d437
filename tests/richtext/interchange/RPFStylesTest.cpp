// Style collections in the native format: written through the component stream, read
// with the load flag (they replace the style sheet's), merged or mapped when inserting
// (every later style number going through the map), ignored, and damaged.
#include <gtest/gtest.h>

#include "richtext/interchange/RPFLimits.h"
#include "richtext/interchange/RPFStyleCollections.h"
#include "richtext/interchange/RPFTestData.h"

namespace {

void AddRed(TRPStyle& style) {
  TFontInfo& red = *style.TextStyles().Add();
  red.StyleName = "Red";
  red.Color = clRed;
  red.Style = TFontStyles{fsBold};
}

void AddGreen(TRPStyle& style) {
  TFontInfo& green = *style.TextStyles().Add();
  green.StyleName = "Green";
  green.Color = clGreen;
  green.Style = TFontStyles{fsItalic};
  green.Size = 14;
}

void AddIndented(TRPStyle& style) {
  TParaInfo& indented = *style.ParaStyles().Add();
  indented.StyleName = "Indented";
  indented.LeftIndent = 20;
  indented.Tabs.AddTab(40, rptaRight, ".");
}

TEST(RPFStyles, ACollectionIsItsNameLineAndOneHexadecimalLineStartingWithTheCollectionMarker) {
  TRPFPane pane(rpfoSaveTextStyles);
  pane.Style.SetName("Sheet");
  pane.Style.TextStyles().Clear();
  pane.Style.TextStyles().Add()->Size = 12;
  pane.Data().AddAnsiText("x", 0, TRPTag(), 0);
  const AnsiString collection =
      HexBytes(AnsiString("\x0E"  // vaCollection
                          "\x01"  // the first item's properties
                          "\x09StyleName\x06\x0A"
                          "Font Style"  // StyleName = "Font Style" (a string)
                          "\x08"
                          "FontName\x06\x05"
                          "Arial"             // FontName = "Arial"
                          "\x04Size\x02\x0C"  // Size = 12 (vaInt8); the others are defaults
                          "\x00"              // end of the item
                          "\x00",             // end of the items
                          49));
  EXPECT_EQ(pane.Save(), "-8 1 3\r\n-9 2 0 0 0 0 1\r\nSheet\r\n" + collection + "\r\n0 1 0 0 0 0\r\nx\r\n");
}

TEST(RPFStyles, LoadingReplacesTheStyleSheetsCollections) {
  TRPFPane source(SaveStyles);
  AddRed(source.Style);
  AddIndented(source.Style);
  source.Style.TextStyles()[1]->Unicode = true;
  source.Data().AddAnsiText("red", 6, TRPTag(), 2);
  const AnsiString bytes = source.Save();

  TRPFPane target(SaveStyles);
  target.Style.TextStyles().Delete(5);
  ASSERT_TRUE(target.Load(bytes));
  ASSERT_EQ(target.Style.TextStyles().Count(), 7);
  ASSERT_EQ(target.Style.ParaStyles().Count(), 3);
  EXPECT_EQ(target.Style.TextStyles()[6]->StyleName, "Red");
  EXPECT_EQ(target.Style.TextStyles()[6]->Color, clRed);
  EXPECT_TRUE(target.Style.TextStyles()[6]->Style.Contains(fsBold));
  EXPECT_TRUE(target.Style.TextStyles()[1]->Unicode);
  const TParaInfo& indented = *target.Style.ParaStyles()[2];
  EXPECT_EQ(indented.LeftIndent, 20);
  ASSERT_EQ(indented.Tabs.Count(), 1);
  EXPECT_EQ(indented.Tabs.Tab(0)->Position(), 40);
  EXPECT_EQ(indented.Tabs.Tab(0)->Align, rptaRight);
  EXPECT_EQ(indented.Tabs.Tab(0)->Leader, ".");
  EXPECT_EQ(Dump(target.Data()), "0 style 6 para 2 options 0 tag 0 text 726564\n");
  EXPECT_EQ(target.Save(), bytes);
}

// A stream with its styles, inserted between the two paragraphs of a document, for each
// way of taking them.
TEST(RPFStyles, InsertingTakesTheStreamsStylesAsTheReadModeSays) {
  TRPFPane source(SaveStyles);
  AddGreen(source.Style);  // 6
  AddRed(source.Style);    // 7
  AddIndented(source.Style);
  source.Data().AddAnsiText("red", 7, TRPTag(), 2);
  source.Data().AddAnsiText("green", 6, TRPTag(), -1);
  source.Data().AddAnsiText("plain", 0, TRPTag(), 0);
  const AnsiString bytes = source.Save();

  struct Case {
    const char* Trace;
    TRPFReaderStyleMode Mode;
    uint32_t Options;
    bool Read;
    int32_t TextStyles;  // after the read
    const char* Dump;
    uint32_t Warnings;
  };
  const Case cases[] = {
      // Merging: Red is the document's 6, Green is new (7).
      {"merge", rpf_sInsertMerge, 0, true, 8,
       "0 style 0 para 0 options 0 tag 0 text 6669727374\n"
       "1 style 6 para 2 options 0 tag 0 text 726564\n"
       "2 style 7 para 2 options 1 tag 0 text 677265656E\n"
       "3 style 0 para 0 options 0 tag 0 text 706C61696E\n"
       "4 style 0 para 0 options 0 tag 0 text 7365636F6E64\n",
       0},
      // Mapping: nothing added; Red to the equal 6, Green to the closest ("Keywords",
      // italic too).
      {"map", rpf_sInsertMap, 0, true, 7,
       "0 style 0 para 0 options 0 tag 0 text 6669727374\n"
       "1 style 6 para 2 options 0 tag 0 text 726564\n"
       "2 style 3 para 2 options 1 tag 0 text 677265656E\n"
       "3 style 0 para 0 options 0 tag 0 text 706C61696E\n"
       "4 style 0 para 0 options 0 tag 0 text 7365636F6E64\n",
       0},
      // Ignoring: the numbers stand, and 7 is beyond the document's text styles.
      {"ignore", rpf_sIgnore, 0, false, 7,
       "0 style 0 para 0 options 0 tag 0 text 6669727374\n"
       "1 style 0 para 0 options 0 tag 0 text 7365636F6E64\n",
       rpfwConvUnknownStyles},
      {"ignore, to zero", rpf_sIgnore, rpfoConvUnknownStylesToZero, true, 7,
       "0 style 0 para 0 options 0 tag 0 text 6669727374\n"
       "1 style 0 para 2 options 0 tag 0 text 726564\n"
       "2 style 6 para 2 options 1 tag 0 text 677265656E\n"
       "3 style 0 para 0 options 0 tag 0 text 706C61696E\n"
       "4 style 0 para 0 options 0 tag 0 text 7365636F6E64\n",
       rpfwConvUnknownStyles},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Trace);
    TRPFPane target(c.Options);
    AddRed(target.Style);  // 6
    AddIndented(target.Style);
    target.Pane.RPFTextStylesReadMode = c.Mode;
    target.Pane.RPFParaStylesReadMode = c.Mode;
    target.Data().AddAnsiText("first", 0, TRPTag(), 0);
    target.Data().AddAnsiText("second", 0, TRPTag(), 0);
    EXPECT_EQ(target.Insert(bytes, 1), c.Read);
    EXPECT_EQ(target.Style.TextStyles().Count(), c.TextStyles);
    EXPECT_EQ(target.Style.ParaStyles().Count(), 3);
    EXPECT_EQ(Dump(target.Data()), c.Dump);
    EXPECT_EQ(target.Data().GetRPFWarnings(), c.Warnings);
  }
}

TEST(RPFStyles, ParagraphStylesDefaultTextStylesGoThroughTheTextStyleMap) {
  TRPFPane source(SaveStyles);
  AddGreen(source.Style);  // 6
  TParaInfo& para = *source.Style.ParaStyles().Add();
  para.StyleName = "With green";
  para.SpaceBefore = 9;
  para.DefStyleNo = 6;
  source.Data().AddAnsiText("x", 0, TRPTag(), 2);
  TRPFPane target;
  target.Style.TextStyles().Delete(5);  // Green becomes 5 here
  target.Data().AddAnsiText("y", 0, TRPTag(), 0);
  ASSERT_TRUE(target.Insert(source.Save(), 1));
  ASSERT_EQ(target.Style.ParaStyles().Count(), 3);
  EXPECT_EQ(target.Style.TextStyles()[5]->StyleName, "Green");
  EXPECT_EQ(target.Style.ParaStyles()[2]->DefStyleNo, 5);
  EXPECT_FALSE(target.Style.ParaStyles()[2]->Standard);
}

TEST(RPFStyles, AnUnknownStylePropertyIsPassedOverWithAWarning) {
  const AnsiString collection = HexBytes(AnsiString("\x0E\x01\x04Sixe\x02\x0C\x04Size\x02\x0D\x00\x00", 18));
  TRPFPane target;
  ASSERT_TRUE(target.Insert("-8 1 3\r\n-9 2 0 0 0 0 1\r\n\r\n" + collection + "\r\n0 1 0 0 0 0\r\nx\r\n", 0));
  EXPECT_EQ(target.Data().GetRPFWarnings(), rpfwUnknownStyleProperties);
  ASSERT_EQ(target.Style.TextStyles().Count(), 7);  // a 13-point style merged in
  EXPECT_EQ(target.Style.TextStyles()[6]->Size, 13);
}

TEST(RPFStyles, ADamagedCollectionLeavesTheStyleSheetAndTheDocumentAsTheyWere) {
  TRPFPane source(SaveStyles);
  AddRed(source.Style);
  source.Data().AddAnsiText("red", 6, TRPTag(), 0);
  AnsiString bytes = source.Save();
  // The text styles' collection cut short: its hexadecimal line loses its last item.
  const size_t line = bytes.find("\r\n", bytes.find("-9 2 0 0 0 0 1") + 16) + 2;
  bytes.erase(line + 10, bytes.find("\r\n", line) - line - 10);
  TRPFPane target;
  target.Data().AddAnsiText("kept", 0, TRPTag(), 0);
  EXPECT_FALSE(target.Load(bytes));
  EXPECT_FALSE(target.Insert(bytes, 0));
  EXPECT_EQ(target.Style.TextStyles().Count(), 6);
  EXPECT_EQ(Dump(target.Data()), "0 style 0 para 0 options 0 tag 0 text 6B657074\n");
}

TEST(RPFStyles, TheStyleClassesPublishedPropertiesRoundTrip) {
  TRPStyle source(nullptr);
  TFontInfo& font = *source.TextStyles()[2];
  font.Charset = 204;
  font.VShift = -30;
  font.HoverColor = clBlue;
  font.StyleEx = TRPFontStyles{rpfsAllCaps};
  font.Protection = TRPProtectOptions{rpprDeleteProtect, rpprStickToBottom};
  font.Options = TRPTextOptions{rpteoRTFCode};
  font.BiDiMode = rpbdRightToLeft;
  font.NextStyleNo = 4;
  font.ModifiedProperties = TRPFontInfoProperties{rpfiSize, rpfiCustom};
  font.StyleTemplateId = 77;
  font.Standard = false;
  TParaInfo& para = *source.ParaStyles()[1];
  para.Border.Style = rpbDouble;
  para.Border.VisibleBorders.Top = false;
  para.Border.BorderOffsets.Bottom = 3;
  para.Background.Color = clAqua;
  para.Background.BorderOffsets.Left = 2;
  para.Options = TRPParaOptions{rppaoKeepWithNext};
  para.LineSpacingType = rplsSpaceBetween;
  para.ModifiedProperties2 = TRPParaInfoProperties2{rppiKeepWithNext, rppiCustom};
  TRPStyle target(nullptr);
  ReadStyleCollection(WriteStyleCollection(source.TextStyles()), target.TextStyles(), nullptr);
  ReadStyleCollection(WriteStyleCollection(source.ParaStyles()), target.ParaStyles(), nullptr);
  const TFontInfo& f = *target.TextStyles()[2];
  EXPECT_EQ(f.Charset, 204);
  EXPECT_EQ(f.VShift, -30);
  EXPECT_EQ(f.HoverColor, clBlue);
  EXPECT_TRUE(f.StyleEx == TRPFontStyles{rpfsAllCaps});
  EXPECT_TRUE((f.Protection == TRPProtectOptions{rpprDeleteProtect, rpprStickToBottom}));
  EXPECT_TRUE(f.Options == TRPTextOptions{rpteoRTFCode});
  EXPECT_EQ(f.BiDiMode, rpbdRightToLeft);
  EXPECT_EQ(f.NextStyleNo, 4);
  EXPECT_TRUE((f.ModifiedProperties == TRPFontInfoProperties{rpfiSize, rpfiCustom}));
  EXPECT_EQ(f.StyleTemplateId, 77);
  EXPECT_FALSE(f.Standard);
  EXPECT_EQ(f.StyleName, "Subheading");
  const TParaInfo& p = *target.ParaStyles()[1];
  EXPECT_EQ(p.Border.Style, rpbDouble);
  EXPECT_FALSE(p.Border.VisibleBorders.Top);
  EXPECT_TRUE(p.Border.VisibleBorders.Left);
  EXPECT_EQ(p.Border.BorderOffsets.Bottom, 3);
  EXPECT_EQ(p.Background.Color, clAqua);
  EXPECT_EQ(p.Background.BorderOffsets.Left, 2);
  EXPECT_TRUE(p.Options == TRPParaOptions{rppaoKeepWithNext});
  EXPECT_EQ(p.LineSpacingType, rplsSpaceBetween);
  EXPECT_TRUE((p.ModifiedProperties2 == TRPParaInfoProperties2{rppiKeepWithNext, rppiCustom}));
  EXPECT_EQ(p.Alignment, rpaCenter);
}

}  // namespace

namespace {

TEST(RPFStyles, ACollectionOfMoreStylesThanTheLimitIsRefused) {
  TRPFPane source(rpfoSaveTextStyles);
  source.Data().AddAnsiText("x", 0, TRPTag(), 0);
  const AnsiString bytes = source.Save();  // six styles
  TRPFLimits limits;
  limits.MaxStylesPerCollection = 5;
  const TRPFLimitsOverride narrow(limits);
  TRPFPane target;
  EXPECT_FALSE(target.Insert(bytes, 0));
  limits.MaxStylesPerCollection = 6;
  const TRPFLimitsOverride enough(limits);
  EXPECT_TRUE(target.Insert(bytes, 0));
}

}  // namespace
