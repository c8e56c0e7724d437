// The property model through the reader: what each word leaves in the current state and
// the document tables.
#include <gtest/gtest.h>

#include "richtext/interchange/RPRTFProperties.h"
#include "richtext/interchange/RPRTFTestProbe.h"

namespace {

TEST(RPRTFProperties, ColourTableStartsAutomaticAndIgnoresIndexesOutside) {
  TReaderProbe probe;
  ASSERT_EQ(probe.Parse("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}{\\cf1 a}{\\cf5 b}}"), rtf_ec_OK);
  ASSERT_EQ(probe.Reader.ColorTable().Count(), 2);  // the unused entry after the last ";" is gone
  EXPECT_EQ(probe.Reader.ColorTable().GetItem(0), clWindowText);
  EXPECT_EQ(probe.Reader.ColorTable().GetItem(1), 0x0000FF);
  ASSERT_EQ(probe.Runs.size(), 2u);
  EXPECT_EQ(probe.Runs[0].Char.Color, 0x0000FF);
  EXPECT_EQ(probe.Runs[1].Char.Color, clWindowText);
}

TEST(RPRTFProperties, ColourComponentsStayInTheirChannel) {
  TReaderProbe probe;
  ASSERT_EQ(probe.Parse("{\\rtf1{\\colortbl;\\red511\\green16\\blue32;}}"), rtf_ec_OK);
  EXPECT_EQ(probe.Reader.ColorTable().GetItem(1), 0x2010FF);
}

TEST(RPRTFProperties, FontSizesRoundHalvesToEven) {
  const struct {
    const char* Word;
    int32_t Points;
  } cases[] = {{"\\fs", 12}, {"\\fs25", 12}, {"\\fs27", 14}, {"\\fs20", 10}, {"\\fs1", 0}, {"\\fs3", 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Word);
    TReaderProbe probe;
    ASSERT_EQ(probe.Parse(std::string("{\\rtf1\\fs40") + c.Word + " x}"), rtf_ec_OK);
    ASSERT_EQ(probe.Runs.size(), 1u);
    EXPECT_EQ(probe.Runs[0].Char.Size, c.Points);
  }
}

TEST(RPRTFProperties, CharsetSuffixesLeaveFontNamesOfTheirCharset) {
  TReaderProbe probe;
  ASSERT_EQ(probe.Parse("{\\rtf1{\\fonttbl{\\f0\\fswiss\\fcharset204 Arial Cyr;}{\\f1\\fcharset238 Times CE;}"
                        "{\\f2\\fcharset0 Courier Cyr;}{\\f3\\fcharset161 Greek;}{\\f4\\fcharset186 X BALTIC;}"
                        "{\\f5\\fcharset300 Big;}}}"),
            rtf_ec_OK);
  const TRPRTFFontList& fonts = probe.Reader.FontTable();
  ASSERT_EQ(fonts.Count(), 6);
  EXPECT_EQ(fonts.Items(0)->Name, "Arial");
  EXPECT_EQ(fonts.Items(0)->Family, 2);
  EXPECT_EQ(fonts.Items(0)->Charset, 204);
  EXPECT_EQ(fonts.Items(1)->Name, "Times");
  EXPECT_EQ(fonts.Items(2)->Name, "Courier Cyr");  // not of the Cyrillic charset
  EXPECT_EQ(fonts.Items(3)->Name, "Greek");        // no longer than its suffix
  EXPECT_EQ(fonts.Items(4)->Name, "X");
  EXPECT_EQ(fonts.Items(5)->Charset, 77);  // charsets of 256 and more
}

TEST(RPRTFProperties, FontLookupFallsBackToTheDefaultFont) {
  TReaderProbe probe;
  ASSERT_EQ(probe.Parse("{\\rtf1\\deff3{\\fonttbl{\\f1 One;}{\\f3 Three;}}\\plain a\\f1 b\\f9 c}"), rtf_ec_OK);
  ASSERT_EQ(probe.Runs.size(), 3u);
  EXPECT_EQ(probe.Runs[0].FontName, "Three");  // \plain takes \deff
  EXPECT_EQ(probe.Runs[1].FontName, "One");
  EXPECT_EQ(probe.Runs[2].FontName, "Three");  // unknown number: the default font
}

TEST(RPRTFProperties, RowAndCellWords) {
  TReaderProbe probe;
  std::unique_ptr<TRPRTFRowProperties> rowCopy;
  probe.Reader.OnTable = [&](TRPRTFReader* r, TRPRTFTableEventKind kind) {
    if (kind == rpf_tbl_RowEnd) rowCopy = std::make_unique<TRPRTFRowProperties>(*r->RTFState().GetRowProps());
  };
  ASSERT_EQ(probe.Parse("{\\rtf1{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;}"
                        "\\trowd\\trgaph108\\trleft-10\\trrh-300\\trhdr\\trpaddl55\\trpaddfl3\\trspdt20\\trspdft3"
                        "\\trftsWidth2\\trwWidth2500"
                        "\\clvmgf\\clvmrg\\clcbpat2\\clshdng5000\\clcfpat1\\clvertalc\\clftsWidth3\\clwWidth1000"
                        "\\cellx1000\\clmrg\\cellx2000"
                        "\\pard\\intbl a\\cell b\\cell\\row}"),
            rtf_ec_OK);
  ASSERT_NE(rowCopy, nullptr);
  const TRPRTFRowProperties& row = *rowCopy;
  EXPECT_EQ(row.GapH, 108);
  EXPECT_EQ(row.Left, -10);
  EXPECT_EQ(row.Height, 300);  // \trrh-300
  EXPECT_TRUE(row.Heading);
  EXPECT_EQ(row.Padding[rtf_side_Left], 55);
  EXPECT_TRUE(row.PaddingInTwips[rtf_side_Left]);
  EXPECT_EQ(row.Spacing[rtf_side_Top], 20);
  EXPECT_TRUE(row.SpacingInTwips[rtf_side_Top]);
  EXPECT_TRUE(row.PercentWidth);
  EXPECT_EQ(row.BestWidth, -2500);
  ASSERT_EQ(row.Cells.Count(), 2);  // the spare cell is gone
  const TRPRTFCellProperties& first = *row.Cells.Items(0);
  EXPECT_EQ(first.VMerge, 1);  // \clvmgf\clvmrg keeps the first-cell mark
  EXPECT_EQ(first.VAlign, 2);
  EXPECT_EQ(first.BestWidth, 1000);
  EXPECT_EQ(first.RightBoundary, 1000);
  EXPECT_EQ(first.Color, 0x7F7F7F);  // white shaded 50% with black
  EXPECT_EQ(row.Cells.Items(1)->HMerge, 2);
  EXPECT_EQ(row.Cells.Items(1)->RightBoundary, 2000);
}

TEST(RPRTFProperties, ParagraphShadingBlendsBeforeTheRun) {
  TReaderProbe probe;
  ASSERT_EQ(probe.Parse("{\\rtf1\\pard\\shading5000 x\\par}"), rtf_ec_OK);
  ASSERT_FALSE(probe.Runs.empty());
  EXPECT_EQ(probe.Runs[0].Para.Color, 0x7F7F7F);  // (255 * 5000) / 10000 per channel
  EXPECT_EQ(probe.Runs[0].Para.Shading, 0);
  EXPECT_EQ(BlendRTFShading(0x0000FF, 0xFF0000, 2500), 0x3F00BF);
  EXPECT_EQ(BlendRTFShading(clNone, clBlack, 20000), 0x000000);  // clamped to 100%
}

TEST(RPRTFProperties, TabsKeepTheirKindAndLeaderAndLoseTheSpareAndListTabs) {
  TReaderProbe probe;
  ASSERT_EQ(probe.Parse("{\\rtf1\\pard\\tqr\\tldot\\tx2000\\jclisttab\\tx500\\tqc\\tlth\\tx3000 a\\tab b\\par}"),
            rtf_ec_OK);
  ASSERT_FALSE(probe.Runs.empty());
  const TRPRTFTabList& tabs = probe.Runs[0].Para.Tabs();
  ASSERT_EQ(tabs.size(), 2u);
  EXPECT_EQ(tabs[0].Position, 2000);
  EXPECT_EQ(tabs[0].Kind, 1);
  EXPECT_EQ(tabs[0].Leader, 1);
  EXPECT_EQ(tabs[1].Position, 3000);
  EXPECT_EQ(tabs[1].Kind, 2);
  EXPECT_EQ(tabs[1].Leader, 4);
}

TEST(RPRTFProperties, BordersGoToTheCurrentSideOnlyWhileItHasNoStyle) {
  TReaderProbe probe;
  ASSERT_EQ(probe.Parse("{\\rtf1{\\colortbl;\\red0\\green128\\blue0;}\\pard\\brdrb\\brdrdb\\brdrs\\brdrw30\\brdrcf1"
                        "\\brsp40\\brdrt\\brdrnone x\\par}"),
            rtf_ec_OK);
  ASSERT_FALSE(probe.Runs.empty());
  const TRPRTFParaBorder* border = probe.Runs[0].Para.GetBorder();
  ASSERT_NE(border, nullptr);
  ASSERT_NE(border->GetSide(rtf_side_Bottom), nullptr);
  EXPECT_EQ(border->GetSide(rtf_side_Bottom)->BorderType, 4);  // the first style stays
  EXPECT_EQ(border->GetSide(rtf_side_Bottom)->Width, 30);
  EXPECT_EQ(border->GetSide(rtf_side_Bottom)->Color, 0x008000);
  EXPECT_EQ(border->GetSide(rtf_side_Bottom)->Spacing, 40);
  EXPECT_EQ(border->GetSide(rtf_side_Top)->BorderType, 0);
  EXPECT_EQ(border->GetSide(rtf_side_Left), nullptr);
  EXPECT_TRUE(border->IsPresent());
}

TEST(RPRTFProperties, ResetsRestoreDefaults) {
  TReaderProbe probe;
  ASSERT_EQ(
      probe.Parse(
          "{\\rtf1\\b\\i\\ul\\strike\\fs40\\caps\\super\\expndtw20\\charscalex80 a"
          "\\plain b\\par\\pard\\qj\\li100\\ri200\\fi-50\\sb10\\sa20\\sl360\\slmult0\\keep\\keepn c\\par\\pard d}"),
      rtf_ec_OK);
  ASSERT_EQ(probe.Runs.size(), 4u);
  const TRPRTFCharProperties& a = probe.Runs[0].Char;
  EXPECT_TRUE(a.Style.Contains(fsBold) && a.Style.Contains(fsItalic) && a.Style.Contains(fsUnderline) &&
              a.Style.Contains(fsStrikeOut));
  EXPECT_EQ(a.Size, 20);
  EXPECT_TRUE(a.AllCaps);
  EXPECT_EQ(a.SubSuperScript, 2);
  EXPECT_EQ(a.CharSpacing, 20);
  EXPECT_EQ(a.CharScaleX, 80);
  const TRPRTFCharProperties& b = probe.Runs[1].Char;
  EXPECT_TRUE(b.Style.Empty());
  EXPECT_EQ(b.Size, 12);
  EXPECT_FALSE(b.AllCaps);
  EXPECT_EQ(b.SubSuperScript, 0);
  const TRPRTFParaProperties& c = probe.Runs[2].Para;
  EXPECT_EQ(c.Alignment, 3);
  EXPECT_EQ(c.LeftIndent, 100);
  EXPECT_EQ(c.RightIndent, 200);
  EXPECT_EQ(c.FirstIndent, -50);
  EXPECT_EQ(c.SpaceBefore, 10);
  EXPECT_EQ(c.SpaceAfter, 20);
  EXPECT_EQ(c.LineSpacing, 360);
  EXPECT_FALSE(c.LineSpacingMulti);
  EXPECT_TRUE(c.KeepLinesTogether && c.KeepWithNext);
  const TRPRTFParaProperties& d = probe.Runs[3].Para;
  EXPECT_EQ(d.Alignment, 0);
  EXPECT_EQ(d.LeftIndent, 0);
  EXPECT_EQ(d.LineSpacing, 240);
  EXPECT_TRUE(d.LineSpacingMulti);
}

TEST(RPRTFProperties, GroupsRestoreFormattingButSectionDistancesStay) {
  TReaderProbe probe;
  ASSERT_EQ(probe.Parse("{\\rtf1 a{\\b\\headery100\\cols3 b}c}"), rtf_ec_OK);
  ASSERT_EQ(probe.Runs.size(), 3u);
  EXPECT_FALSE(probe.Runs[0].Char.Style.Contains(fsBold));
  EXPECT_TRUE(probe.Runs[1].Char.Style.Contains(fsBold));
  EXPECT_FALSE(probe.Runs[2].Char.Style.Contains(fsBold));
  EXPECT_EQ(probe.Reader.RTFState().SectProps.HeaderY, 100);
  EXPECT_EQ(probe.Reader.RTFState().SectProps.ColumnCount, 1);
}

TEST(RPRTFProperties, DocumentAndSectionWords) {
  TReaderProbe probe;
  TRPRTFReaderState state;
  int32_t footerY = 0;
  probe.Reader.OnNewText = [&](TRPRTFReader* r, const AnsiString&, TRPRTFPosition) {
    state.Assign(r->RTFState());  // a group's copy: without the header and footer distances
    footerY = r->RTFState().SectProps.FooterY;
  };
  ASSERT_EQ(probe.Parse("{\\rtf1\\paperw11906\\paperh16838\\margl1134\\margr1135\\margt1136\\margb1137\\pgnstart5"
                        "\\facingp\\landscape\\sectd\\sbkodd\\pgnlcrm\\pgnx100\\pgny200\\footery300 x}"),
            rtf_ec_OK);
  EXPECT_EQ(state.DocProps.PaperWidth, 11906);
  EXPECT_EQ(state.DocProps.PaperHeight, 16838);
  EXPECT_EQ(state.DocProps.LeftMargin, 1134);
  EXPECT_EQ(state.DocProps.RightMargin, 1135);
  EXPECT_EQ(state.DocProps.TopMargin, 1136);
  EXPECT_EQ(state.DocProps.BottomMargin, 1137);
  EXPECT_EQ(state.DocProps.PageNumberStart, 5);
  EXPECT_TRUE(state.DocProps.FacingPages && state.DocProps.Landscape);
  EXPECT_EQ(state.SectProps.SectionBreak, 3);
  EXPECT_EQ(state.SectProps.PageNumberFormat, 2);
  EXPECT_EQ(state.SectProps.PageNumberX, 100);
  EXPECT_EQ(state.SectProps.PageNumberY, 200);
  EXPECT_EQ(footerY, 300);
}

TEST(RPRTFProperties, HighlightByConversionMode) {
  const struct {
    TRPRTFHighlightConvert Mode;
    TColor Expected;
  } cases[] = {{rtf_hl_FixedColors, 0x00FFFF}, {rtf_hl_ColorTable, 0x00FF00}, {rtf_hl_Ignore, clNone}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Mode));
    TReaderProbe probe;
    probe.Reader.ConvertHighlight = c.Mode;
    ASSERT_EQ(probe.Parse("{\\rtf1{\\colortbl;\\red0\\green0\\blue0;\\red0\\green255\\blue0;"
                          "\\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue0;\\red0\\green0\\blue0;"
                          "\\red0\\green255\\blue0;}\\highlight7 x}"),
              rtf_ec_OK);
    ASSERT_EQ(probe.Runs.size(), 1u);
    EXPECT_EQ(probe.Runs[0].Char.BackColor, c.Expected);
  }
}

TEST(RPRTFProperties, StyleSheetEntriesTakeTheirGroupsFormatting) {
  TReaderProbe probe;
  ASSERT_EQ(probe.Parse("{\\rtf1{\\stylesheet{\\ql\\fs20 Normal;}{\\s1\\qc\\b\\sbasedon0\\snext0 heading 1;}"
                        "{\\*\\cs10\\additive\\shidden Default Font;}}x}"),
            rtf_ec_OK);
  const TRPRTFStyleSheet& sheet = probe.Reader.StyleSheet();
  ASSERT_EQ(sheet.Count(), 3);
  EXPECT_EQ(sheet.Items(0)->Name, "Normal");
  EXPECT_EQ(sheet.Items(0)->Number, 0);
  EXPECT_EQ(sheet.Items(0)->CharProps.Size, 10);
  EXPECT_EQ(sheet.Items(1)->Name, "heading 1");
  EXPECT_EQ(sheet.Items(1)->Number, 1);
  EXPECT_EQ(sheet.Items(1)->StyleSheetType, 1);
  EXPECT_EQ(sheet.Items(1)->ParaProps.Alignment, 2);
  EXPECT_TRUE(sheet.Items(1)->CharProps.Style.Contains(fsBold));
  EXPECT_EQ(sheet.Items(1)->BasedOn, sheet.Items(0));
  EXPECT_EQ(sheet.Items(1)->Next, sheet.Items(0));
  EXPECT_EQ(sheet.Items(2)->StyleSheetType, 0);
  EXPECT_EQ(sheet.Items(2)->Number, 10);
  EXPECT_TRUE(sheet.Items(2)->Additive && sheet.Items(2)->Hidden);
  EXPECT_EQ(sheet.Items(2)->Next, sheet.Items(2));
  ASSERT_EQ(probe.Runs.size(), 1u);
  EXPECT_EQ(probe.Runs[0].Para.Alignment, 0);  // the entries' words stay in their groups
}

TEST(RPRTFProperties, ListTableAndOverrides) {
  TReaderProbe probe;
  const std::string rtf =
      "{\\rtf1{\\fonttbl{\\f0 Times;}{\\f2 Symbol;}}"
      "{\\*\\listtable{\\list\\listtemplateid1\\listsimple"
      "{\\listlevel\\levelnfc23\\leveljc2\\levelfollow1\\levelstartat3\\levellegal\\levelnorestart"
      "{\\leveltext\\'01\\u-3913 ?;}{\\levelnumbers;}\\f2\\fs18\\b\\fi-360\\li720\\jclisttab\\tx720}"
      "{\\listlevel\\levelnfc4{\\leveltext\\'03(\\'00);}{\\levelnumbers\\'01\\'02;}}"
      "{\\listname Bullets;}\\listid77}}"
      "{\\*\\listoverridetable{\\listoverride\\listid77\\listoverridecount1{\\lfolevel\\listoverridestartat"
      "\\levelstartat4}\\ls2}}"
      "\\pard\\ls2\\ilvl1 item\\par}";
  ASSERT_EQ(probe.Parse(rtf), rtf_ec_OK);
  const TRPRTFListTable97& lists = probe.Reader.ListTable();
  ASSERT_EQ(lists.Count(), 1);
  const TRPRTFList97& list = *lists.Items(0);
  EXPECT_EQ(list.Id, 77);
  EXPECT_TRUE(list.Simple);
  EXPECT_EQ(list.Name, "Bullets");
  ASSERT_EQ(list.Count(), 2);
  const TRPRTFListLevel97& bullet = *list.Items(0);
  EXPECT_EQ(bullet.ListType, 6);
  EXPECT_EQ(bullet.Alignment, 1);  // \leveljc2: right
  EXPECT_EQ(bullet.Follow, 1);
  EXPECT_EQ(bullet.Start, 3);
  EXPECT_TRUE(bullet.Legal && bullet.NoRestart);
  EXPECT_EQ(bullet.FontIndex, 1);
  EXPECT_EQ(bullet.FontSize, 9);
  EXPECT_TRUE(bullet.FontSizeDefined);
  EXPECT_TRUE(bullet.FontStyle.Contains(fsBold));
  EXPECT_EQ(bullet.FirstIndent, -360);
  EXPECT_EQ(bullet.LeftIndent, 720);
  EXPECT_EQ(bullet.TabPosition, 720);
  EXPECT_EQ(bullet.Text, std::string("\x01?", 2));  // the fallback "?" is dropped, ";" cut
  EXPECT_EQ(bullet.TextW, (WideString{0x01, 0xF0B7}));
  const TRPRTFListLevel97& numbered = *list.Items(1);
  EXPECT_EQ(numbered.ListType, 2);
  EXPECT_EQ(numbered.Text, std::string("\x03(\x00)", 4));
  EXPECT_EQ(numbered.Numbers, std::string("\x01\x02", 2));
  const TRPRTFListOverrideTable97& overrides = probe.Reader.ListOverrideTable();
  ASSERT_EQ(overrides.Count(), 1);
  EXPECT_EQ(overrides.Items(0)->ListIndex, 0);
  EXPECT_EQ(overrides.Items(0)->Number, 2);
  EXPECT_EQ(overrides.Items(0)->OverrideCount, 1);
  ASSERT_EQ(overrides.Items(0)->Count(), 1);
  EXPECT_TRUE(overrides.Items(0)->Items(0)->UseStart);
  EXPECT_EQ(overrides.Items(0)->Items(0)->Start, 4);
  ASSERT_FALSE(probe.Runs.empty());
  EXPECT_EQ(probe.Runs[0].Para.ListOverrideIndex, 0);
  EXPECT_EQ(probe.Runs[0].Para.ListLevel, 1);
}

TEST(RPRTFProperties, OldStyleNumberingReachesTheParagraph) {
  TReaderProbe probe;
  const std::string rtf =
      "{\\rtf1{\\fonttbl{\\f0 Times;}{\\f1 Symbol;}}{\\colortbl;\\red255\\green0\\blue0;}"
      "\\sectd{\\*\\pnseclvl3\\pnlcrm\\pnstart2\\pnindent720\\pnhang{\\pntxta )}}"
      "\\pard{\\*\\pn\\pnlvl3\\pnf1\\pnfs30\\pncf1\\pnb\\pnqc{\\pntxtb (}}\\b\\fs20 first\\par}";
  ASSERT_EQ(probe.Parse(rtf), rtf_ec_OK);
  ASSERT_FALSE(probe.Runs.empty());
  const TRPRTFMarkerProperties* marker = probe.Runs[0].Para.GetMarkerProps();
  ASSERT_NE(marker, nullptr);
  EXPECT_EQ(marker->Level, 3);
  EXPECT_EQ(marker->ListType, 4);  // from the section's level 3
  EXPECT_EQ(marker->Start, 2);
  EXPECT_EQ(marker->Indent, 720);
  EXPECT_TRUE(marker->Hanging);
  EXPECT_EQ(marker->TextAfter, ")");
  EXPECT_EQ(marker->TextBefore, "(");
  EXPECT_EQ(marker->FontIndex, 1);
  EXPECT_EQ(marker->FontSize, 15);
  EXPECT_EQ(marker->Color, 0x0000FF);
  EXPECT_EQ(marker->Alignment, 2);
  EXPECT_EQ(marker->FixedProperties & (rtf_mf_Font | rtf_mf_Size | rtf_mf_Color | rtf_mf_Bold),
            rtf_mf_Font | rtf_mf_Size | rtf_mf_Color | rtf_mf_Bold);
}

TEST(RPRTFProperties, MarkersFollowTheTextExceptWhatTheyFixed) {
  TReaderProbe probe;
  TRPRTFMarkerProperties seen;
  probe.Reader.OnUpdateMarker = [&](TObject* sender) {
    const auto* marker = static_cast<TRPRTFReader*>(sender)->RTFState().ParaProps.GetMarkerProps();
    if (marker) seen = *marker;
  };
  ASSERT_EQ(probe.Parse("{\\rtf1{\\colortbl;\\red255\\green0\\blue0;}\\pard{\\*\\pn\\pnlvlblt\\pnfs16}"
                        "\\i\\cf1\\fs30 item\\par}"),
            rtf_ec_OK);
  EXPECT_EQ(seen.Level, 11);
  EXPECT_EQ(seen.FontSize, 8);  // fixed by \pnfs
  EXPECT_EQ(seen.Color, 0x0000FF);
  EXPECT_TRUE(seen.FontStyle.Contains(fsItalic));
}

}  // namespace
