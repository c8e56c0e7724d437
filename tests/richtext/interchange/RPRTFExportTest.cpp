// The RTF writer: header, tables, formatting of styles, the body and selections, the
// host's hooks, and what is escaped.
#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/graphics/Bitmap.h"
#include "richtext/interchange/RPExportTestData.h"
#include "richtext/model/RPScaling.h"

namespace {

// The 16 explicit colours that every colour table starts with.
const char kFixedColors[] =
    "\\red0\\green0\\blue0;\\red0\\green0\\blue255;\\red0\\green255\\blue255;\\red0\\green255\\blue0;"
    "\\red255\\green0\\blue255;\\red255\\green0\\blue0;\\red255\\green255\\blue0;\\red255\\green255\\blue255;"
    "\\red0\\green0\\blue128;\\red0\\green128\\blue128;\\red0\\green128\\blue0;\\red128\\green0\\blue128;"
    "\\red128\\green0\\blue0;\\red128\\green128\\blue0;\\red128\\green128\\blue128;\\red192\\green192\\blue192;";

TEST(RPRTFExportTest, ADefaultDocumentWholly) {
  // The standard styles use only fixed colours, clWindowText and clNone: the colour table
  // holds the 16 explicit fixed colours after its empty entry, and nothing else.
  TExportView view;
  view.Pane.AddTextNL("x", 0, 0, 0);
  EXPECT_EQ(view.Rtf(), std::string("{\\rtf1\\ansi\\ansicpg1251\\uc1\\deff0\\deflang0\\deflangfe0"
                                    "{\\fonttbl{\\f0\\fnil\\fcharset204 Arial;}}{\\colortbl;") +
                            kFixedColors +
                            "}\r\n{\\*\\listoverridetable\r\n}\r\n\r\n\\uc1\r\n"
                            "\\pard\\fi0\\li0\\ql\\ri0\\sb0\\sa0\\itap0 \\plain \\f0\\fs20 x}");
}

TEST(RPRTFExportTest, HeaderWordsFromTheStyleSheetAndOptions) {
  TExportView view;
  view.Style.DefCodePage = 1253;
  view.Style.TextStyles()[0]->Charset = 204;  // Russian: language 1049
  view.Pane.RTFOptions = 0;
  view.Pane.SetBiDiMode(rpbdRightToLeft);
  view.Pane.AddTextNL("x", 0, 0, 0);
  const std::string rtf = view.Rtf();
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1253\\uc1\\deff0\\deflang1049\\deflangfe1049\\rtldoc{\\fonttbl", 0), 0u)
      << rtf;
  EXPECT_NE(rtf.find("{\\f0\\fnil\\fcharset204 Arial;}"), std::string::npos);
  // Without duplicated Unicode the body skips no fallback characters.
  EXPECT_NE(rtf.find("\r\n\\uc0\r\n\\pard"), std::string::npos);
}

TEST(RPRTFExportTest, TheDefaultCharsetIsTheDocumentsCodePage) {
  // Fonts of the default charset are written with the charset of the style sheet's code
  // page, so that readers decode their 8-bit text with it.
  struct TCase {
    uint32_t CodePage;
    const char* Charset;
  } cases[] = {{1251, "\\fcharset204 "}, {1252, "\\fcharset0 "}, {1250, "\\fcharset238 "}, {932, "\\fcharset128 "}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.CodePage);
    TExportView view;
    view.Style.DefCodePage = c.CodePage;
    view.Pane.AddTextNL("x", 0, 0, 0);
    EXPECT_NE(view.Rtf().find(c.Charset), std::string::npos);
  }
}

TEST(RPRTFExportTest, TwipsFactorFollowsTheScreensPixelsPerInch) {
  EXPECT_DOUBLE_EQ(GetRTFTwipsFactor(), 15.0);
  SetScreenResolutionOverride(120);
  EXPECT_DOUBLE_EQ(GetRTFTwipsFactor(), 12.0);
  TExportView view;
  const int32_t para = view.AddParaStyle([](TParaInfo& p) { p.LeftIndent = 10; });
  view.Pane.AddTextNL("x", 0, para, para);
  const std::string rtf = view.Rtf();
  SetScreenResolutionOverride(0);
  EXPECT_NE(rtf.find("\\li120"), std::string::npos) << rtf;
}

TEST(RPRTFExportTest, FontTableNamesAreFoundIgnoringCaseAndEscaped) {
  TRPRTFFontTable table;
  EXPECT_EQ(table.Add("Arial", 1), 0);
  EXPECT_EQ(table.Add("ARIAL", 1), 0);
  EXPECT_EQ(table.Add("Arial", 204), 1);
  EXPECT_EQ(table.Find("arial", 204), 1);
  EXPECT_EQ(table.Find("Times", 1), -1);

  // A name cannot end its entry or the table early.
  TExportView view;
  const int32_t odd = view.AddTextStyle([](TFontInfo& s) { s.FontName = "A{b}\\c;d\xE9"; });
  view.Pane.AddTextNL("x", odd, 0, 0);
  const std::string rtf = view.Rtf();
  EXPECT_NE(rtf.find("{\\f1\\fnil\\fcharset204 A\\{b\\}\\\\c\\'3bd\\'e9;}"), std::string::npos) << rtf;
}

TEST(RPRTFExportTest, CharacterFormattingInItsOrder) {
  TExportView view;
  const int32_t styleNo = view.AddTextStyle([](TFontInfo& s) {
    s.FontName = "Times New Roman";
    s.Charset = 161;  // Greek: language 1032
    s.Style = TFontStyles{fsBold, fsItalic, fsUnderline, fsStrikeOut};
    s.VShift = -30;
    s.CharScale = 80;
    s.CharSpacing = 2;
    s.StyleEx.Include(rpfsAllCaps);
    s.BiDiMode = rpbdRightToLeft;
    s.Size = 12;
    s.BackColor = clYellow;
    s.Color = clRed;
  });
  view.Pane.AddTextNL("x", styleNo, 0, 0);
  EXPECT_NE(view.Rtf().find("\\plain \\f1\\b\\i\\ul\\strike\\sub\\charscalex80\\expndtw30\\caps\\rtlch\\lang1032"
                            "\\fs48\\chcbpat7\\cf6 x"),
            std::string::npos);
}

TEST(RPRTFExportTest, AShiftedRunIsWrittenAtTwiceItsSize) {
  TExportView view;
  const int32_t superscript = view.AddTextStyle([](TFontInfo& s) { s.VShift = 50; });
  view.Pane.AddTextNL("x", superscript, 0, 0);
  view.Data().AddTextW(u"y", 0, TRPTag(), -1);
  view.Pane.AddTextNL("z", superscript, 0, 0);
  view.Pane.AddTextNL("w", 0, 0, 0);
  // The shift is ended explicitly wherever the run ends: a reader may lose a raised run
  // that reaches the paragraph mark.
  EXPECT_NE(view.Rtf().find("\\plain \\f0\\super\\fs40 x\\nosupersub\\plain \\f0\\fs20 y"), std::string::npos);
  EXPECT_NE(view.Rtf().find("\\fs40 z\r\n\\nosupersub\\par "), std::string::npos);
}

TEST(RPRTFExportTest, ParagraphFormattingInItsOrder) {
  TExportView view;
  const int32_t para = view.AddParaStyle([](TParaInfo& p) {
    p.LineSpacing = 150;
    p.Options = TRPParaOptions{rppaoKeepLinesTogether, rppaoKeepWithNext};
    p.FirstIndent = 10;
    p.LeftIndent = 20;
    p.Tabs.AddTab(100, rptaRight, "-");
    p.Tabs.AddTab(200, rptaCenter, "=");
    p.Tabs.AddTab(300, rptaLeft, "_");
    p.Tabs.AddTab(400, rptaLeft, "\xB7");
    p.Tabs.AddTab(500, rptaLeft, "x");
    p.Tabs.AddTab(600, rptaLeft, "");
    p.Alignment = rpaJustify;
    p.RightIndent = 5;
    p.SpaceBefore = 2;
    p.SpaceAfter = 3;
    p.BiDiMode = rpbdRightToLeft;
    p.Background.Color = clYellow;
    p.Border.Style = rpbDouble;
    p.Border.Color = clRed;
    p.Border.BorderOffsets.Left = 1;
    p.Border.BorderOffsets.Bottom = 4;
    p.Border.VisibleBorders.SetValues(true, false, false, true);
  });
  view.Pane.AddTextNL("x", 0, para, para);
  EXPECT_NE(
      view.Rtf().find("\\pard\\sl360\\slmult1\\keep\\keepn\\fi150\\li300\\tqr\\tlhyph\\tx1500\\tqc\\tleq\\tx3000"
                      "\\tlul\\tx4500\\tlmdot\\tx6000\\tldot\\tx7500\\tx9000\\qj\\ri75\\sb30\\sa45\\rtlpar\\cbpat7"
                      "\\brdrbtw\\brdrl\\brsp15\\brdrdb\\brdrcf6\\brdrw15\\brdrb\\brsp60\\brdrdb\\brdrcf6\\brdrw15"
                      "\\itap0 "),
      std::string::npos);
}

TEST(RPRTFExportTest, BorderKindsAndWidths) {
  struct TCase {
    TRPBorderStyle Style;
    const char* Words;
  } cases[] = {
      {rpbSingle,
       "\\brdrbtw\\brdrl\\brsp0\\brdrs\\brdrcf0\\brdrw30\\brdrt\\brsp0\\brdrs\\brdrcf0\\brdrw30"
       "\\brdrr\\brsp0\\brdrs\\brdrcf0\\brdrw30\\brdrb\\brsp0\\brdrs\\brdrcf0\\brdrw30"},
      {rpbTriple, "\\brdrl\\brsp0\\brdrtriple\\brdrcf0\\brdrw30"},
      // The thick kinds mirror left and top against right and bottom, at twice the width.
      {rpbThickInside,
       "\\brdrl\\brsp0\\brdrthtnmg\\brdrcf0\\brdrw60\\brdrt\\brsp0\\brdrthtnmg\\brdrcf0\\brdrw60"
       "\\brdrr\\brsp0\\brdrtnthmg\\brdrcf0\\brdrw60\\brdrb\\brsp0\\brdrtnthmg"},
      {rpbThickOutside,
       "\\brdrl\\brsp0\\brdrtnthmg\\brdrcf0\\brdrw60\\brdrt\\brsp0\\brdrtnthmg\\brdrcf0\\brdrw60"
       "\\brdrr\\brsp0\\brdrthtnmg\\brdrcf0\\brdrw60\\brdrb\\brsp0\\brdrthtnmg"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Words);
    TExportView view;
    const int32_t para = view.AddParaStyle([&](TParaInfo& p) {
      p.Border.Style = c.Style;
      p.Border.Width = 2;
    });
    view.Pane.AddTextNL("x", 0, para, para);
    EXPECT_NE(view.Rtf().find(c.Words), std::string::npos);
  }
  // No border without a colour.
  TExportView view;
  const int32_t para = view.AddParaStyle([](TParaInfo& p) {
    p.Border.Style = rpbSingle;
    p.Border.Color = clNone;
  });
  view.Pane.AddTextNL("x", 0, para, para);
  EXPECT_EQ(view.Rtf().find("\\brdr"), std::string::npos);
}

TEST(RPRTFExportTest, ParagraphsLinesAndPageBreaks) {
  TExportView view;
  TRichPaneRPData& data = view.Data();
  data.AddTextW(u"a", 0, TRPTag(), 0);
  data.SetAddParagraphs(false);
  data.AddTextW(u"b", 0, TRPTag(), 0);  // a new line in the same paragraph
  data.SetAddParagraphs(true);
  data.AddTextW(u"c", 0, TRPTag(), 1);
  data.SetPageBreakBefore(2, true);
  data.AddTextW(u"d", 3, TRPTag(), -1);  // continues the line
  auto line = std::make_unique<TRPBreakItemInfo>(&data);
  line->Color = clRed;
  data.AddItem("", std::move(line));
  data.AddTextW(u"e", 0, TRPTag(), 0);
  EXPECT_EQ(RtfBody(view.Rtf()),
            "\\pard\\fi0\\li0\\ql\\ri0\\sb0\\sa0\\itap0 \\plain \\f0\\fs20 a\r\n"
            "\\line b\r\n"
            "\\par \\page \\pard\\fi0\\li0\\qc\\ri0\\sb0\\sa0\\itap0 c\\plain \\f0\\i\\fs20\\cf13 d\r\n"
            // The paragraph before a line ends, and the line ends its own paragraph.
            "\\par \\pard\\plain\\fs6\\brdrb\\brdrs\\brdrw15\\brdrcf6\\par\\pard\r\n"
            "\\pard\\fi0\\li0\\ql\\ri0\\sb0\\sa0\\itap0 \\plain \\f0\\fs20 e}");
}

TEST(RPRTFExportTest, UnicodeTextWithAndWithoutFallbacks) {
  for (const bool duplicate : {true, false}) {
    SCOPED_TRACE(duplicate);
    TExportView view;
    const int32_t unicode = view.AddTextStyle([](TFontInfo& s) { s.Unicode = true; });
    view.Pane.RTFOptions = duplicate ? rprtfDuplicateUnicode : 0;
    view.Data().AddTextW(u"\u0416{\u03A9}\u2014", unicode, TRPTag(), 0);
    EXPECT_NE(view.Rtf().find(duplicate ? "\\u1046 \\'c6\\{\\u937 ?\\}\\emdash " : "\\u1046 \\{\\u937 \\}\\emdash "),
              std::string::npos);
  }
}

TEST(RPRTFExportTest, CodeStyles) {
  // RTF code goes out as it is; HTML code only is left out of RTF.
  TExportView view;
  const int32_t rtfCode = view.AddTextStyle([](TFontInfo& s) { s.Options.Include(rpteoRTFCode); });
  const int32_t htmlCode = view.AddTextStyle([](TFontInfo& s) { s.Options.Include(rpteoHTMLCode); });
  view.Pane.AddTextNL("{\\b raw}", rtfCode, 0, 0);
  view.Data().AddTextW(u"<b>html</b>", htmlCode, TRPTag(), -1);
  view.Data().AddTextW(u"{plain}", 0, TRPTag(), -1);
  const std::string body = RtfBody(view.Rtf());
  EXPECT_NE(body.find("{\\b raw}"), std::string::npos);
  EXPECT_EQ(body.find("html"), std::string::npos);
  EXPECT_NE(body.find("\\{plain\\}"), std::string::npos);
}

TEST(RPRTFExportTest, HyperlinksAsFields) {
  TExportView view;
  view.Pane.AddTextNL("before ", 0, 0, 0);
  view.Data().AddTextW(u"link", 4, TRPTag(), -1);
  view.Data().GetItem(1)->Hint = "a \"hint\"";
  view.Data().AddTextW(u"bare", 4, TRPTag(), -1);
  view.Data().AddTextW(u" after", 0, TRPTag(), -1);
  view.Pane.OnWriteHyperlink = [](TCustomRichPane*, int32_t, TCustomRPData&, int32_t itemNo, TRPSaveFormat format,
                                  AnsiString& target, AnsiString&) {
    EXPECT_EQ(format, rpsfRTF);
    if (itemNo == 1) target = "http://x/?a=\"b\"&c=\\d{e}";
  };
  const std::string body = RtfBody(view.Rtf());
  // The target cannot end its argument, its group or the field; the hint is the
  // field's tooltip switch.
  EXPECT_NE(body.find("{\\field{\\*\\fldinst HYPERLINK \"http://x/?a=\\\\\"b\\\\\"&c=\\\\\\\\d\\{e\\}\" "
                      "\\o \"a 'hint'\"}{\\fldrslt \\plain \\f0\\ul\\fs20\\cf11 link}}"),
            std::string::npos)
      << body;
  // Without a target the run is plain text; the formatting inside the field ended with
  // it, so the next run states its formatting again.
  EXPECT_NE(body.find("}}\\plain \\f0\\ul\\fs20\\cf11 bare\\plain \\f0\\fs20  after"), std::string::npos) << body;
}

TEST(RPRTFExportTest, BookmarksCountEveryCheckpoint) {
  TExportView view;
  view.Pane.AddNamedCheckpoint("", false, TRPTag());
  view.Pane.AddTextNL("a", 0, 0, 0);
  view.Pane.AddNamedCheckpoint("\xC3\xEB\xE0\xE2\xE0 1.2", false, TRPTag());
  view.Pane.AddTextNL("b", 0, 0, 0);
  view.Pane.AddNamedCheckpoint("", false, TRPTag());
  view.Pane.AddTextNL("c", 0, 0, 0);
  view.Pane.AddNamedCheckpoint("end", false, TRPTag());  // after the last item
  const std::string body = RtfBody(view.Rtf());
  EXPECT_NE(body.find("{\\*\\bkmkstart RichPaneCheckpoint0}{\\*\\bkmkend RichPaneCheckpoint0}"), std::string::npos);
  EXPECT_NE(body.find("{\\*\\bkmkstart \\'c3\\'eb\\'e0\\'e2\\'e0_1_2}"), std::string::npos);
  EXPECT_NE(body.find("{\\*\\bkmkstart RichPaneCheckpoint2}"), std::string::npos);
  EXPECT_NE(body.find("c{\\*\\bkmkstart end}{\\*\\bkmkend end}}"), std::string::npos) << body;
}

TEST(RPRTFExportTest, StyleSheetAndItsNumbers) {
  TExportView view;
  view.Pane.RTFOptions |= rprtfSaveStyleSheet;
  view.Style.ParaStyles()[1]->StyleName = "Cen{ter}\\ed;";
  const int32_t merged = view.AddTextStyle([](TFontInfo& s) { s.Standard = false; });
  view.Pane.AddTextNL("a", 1, 1, 1);
  view.Data().AddTextW(u"b", merged, TRPTag(), -1);
  const std::string rtf = view.Rtf();
  EXPECT_NE(rtf.find("{\\stylesheet{\\s0\\fi0\\li0\\ql\\ri0\\sb0\\sa0 Paragraph Style;}"
                     "{\\s1\\fi0\\li0\\qc\\ri0\\sb0\\sa0 Cen_ter__ed\\'3b;}"
                     "{\\*\\cs2\\f0\\fs20 Normal text;}{\\*\\cs3\\f0\\b\\fs20\\cf2 Heading;}"),
            std::string::npos)
      << rtf;
  EXPECT_EQ(CountOf(rtf, "{\\*\\cs"), 6);  // the merged style is not in the sheet
  const std::string body = RtfBody(rtf);
  EXPECT_NE(body.find("\\pard\\s1\\fi0"), std::string::npos);
  EXPECT_NE(body.find("\\plain \\cs3\\f0\\b\\fs20\\cf2 a"), std::string::npos);
  EXPECT_NE(body.find("\\plain \\f0\\fs20 b"), std::string::npos);
}

TEST(RPRTFExportTest, TheHostsExtraTextsStandInTheirAreas) {
  TExportView view;
  view.Pane.RTFOptions |= rprtfSaveStyleSheet;
  view.Pane.AddTextNL("a", 1, 0, 0);
  int inStyleSheet = 0;
  view.Pane.OnSaveRTFExtra = [&](TCustomRichPane*, TRPRTFSaveArea area, TObject* object, int32_t, int32_t, bool sheet,
                                 AnsiString& code) {
    inStyleSheet += sheet;
    switch (area) {
      case rp_rtfs_TextStyle:
        code = "\\TEXT" + dynamic_cast<TFontInfo*>(object)->StyleName.substr(0, 1);
        break;
      case rp_rtfs_ParaStyle:
        code = "\\PARA";
        break;
      case rp_rtfs_Doc:
        code = "{\\DOC}";
        EXPECT_EQ(object, nullptr);
        break;
      default:
        break;
    }
  };
  const std::string rtf = view.Rtf();
  EXPECT_NE(rtf.find("{\\*\\cs3\\f0\\b\\fs20\\cf2\\TEXTH Heading;}"), std::string::npos);
  EXPECT_NE(rtf.find("\\sa0\\PARA Paragraph Style;}"), std::string::npos);
  EXPECT_NE(rtf.find("}\r\n{\\DOC}\r\n\\uc1\r\n"), std::string::npos);
  EXPECT_NE(rtf.find("\\itap0\\PARA \\plain \\cs3\\f0\\b\\fs20\\cf2\\TEXTH a"), std::string::npos);
  EXPECT_EQ(inStyleSheet, 8);  // two paragraph styles and six text styles
}

TEST(RPRTFExportTest, TheHostWritesItemsItself) {
  TExportView view;
  view.Pane.AddTextNL("text", 0, 0, 0);
  view.Data().AddItem("", std::make_unique<TRPBreakItemInfo>(&view.Data()));
  view.Pane.OnSaveItemToFile = [](TCustomRichPane*, const WideString&, TCustomRPData&, int32_t itemNo,
                                  TRPSaveFormat format, bool, AnsiString& text, bool& doDefault) {
    EXPECT_EQ(format, rpsfRTF);
    text = "{\\HOST" + std::to_string(itemNo) + "}";
    doDefault = false;
  };
  const std::string body = RtfBody(view.Rtf());
  EXPECT_NE(body.find("\\f0\\fs20 {\\HOST0}"), std::string::npos);
  EXPECT_NE(body.find("{\\HOST1}"), std::string::npos);
  EXPECT_EQ(body.find("\\brdrb"), std::string::npos);
}

TEST(RPRTFExportTest, APictureInARightToLeftParagraphStandsLeftToRight) {
  TExportView view;
  const int32_t para = view.AddParaStyle([](TParaInfo& p) { p.BiDiMode = rpbdRightToLeft; });
  view.Pane.AddTextNL("x", 0, para, para);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(2, 2);
  auto picture = std::make_unique<TRPGraphicItemInfo>(&view.Data());
  picture->Image = std::move(bitmap);
  picture->ParaNo = -1;  // continues the paragraph
  view.Data().AddItem("", std::move(picture));
  view.Data().AddTextW(u"y", 0, TRPTag(), -1);
  const std::string body = RtfBody(view.Rtf());
  EXPECT_NE(body.find("x\\ltrpar{\\pict"), std::string::npos) << body;
  // The text style is forgotten after the picture.
  EXPECT_NE(body.find("}\\rtlpar\\plain \\f0\\fs20 y"), std::string::npos) << body;
}

TEST(RPRTFExportTest, AnEmptyLastParagraphKeepsItsMark) {
  TExportView view;
  view.Pane.AddTextNL("a", 0, 0, 0);
  view.Pane.AddTextNL("", 0, 0, 0);
  EXPECT_TRUE(RtfBody(view.Rtf()).ends_with("\\sa0\\itap0 \\par}"));
  TExportView single;
  single.Pane.AddTextNL("", 0, 0, 0);
  EXPECT_EQ(RtfBody(single.Rtf()).find("\\par"), std::string::npos);
}

TEST(RPRTFExportTest, TheSelectionAndItsEdges) {
  TExportView view;
  view.Pane.AddTextNL("abc", 0, 0, 0);
  view.Pane.AddTextNL("def", 0, 0, 0);
  view.Pane.AddTextNL("ghi", 0, 0, 0);
  view.Pane.Format();
  // From inside "abc" to inside "ghi".
  view.Pane.SetSelectionBounds(0, 2, 2, 2);
  std::string body = RtfBody(view.Rtf(true));
  EXPECT_NE(body.find(" bc\r\n\\par \\pard"), std::string::npos) << body;
  EXPECT_NE(body.find(" def\r\n\\par \\pard"), std::string::npos);
  EXPECT_NE(body.find(" g}"), std::string::npos);
  // A selection that starts at the end of its first item leaves that item out, and the
  // next item opens the first paragraph.
  view.Pane.SetSelectionBounds(0, 4, 1, 3);
  body = RtfBody(view.Rtf(true));
  EXPECT_EQ(body, "\\pard\\fi0\\li0\\ql\\ri0\\sb0\\sa0\\itap0 \\plain \\f0\\fs20 de}");
}

TEST(RPRTFExportTest, FailuresAnswerFalse) {
  TExportView view;
  view.Pane.AddTextNL("a", 0, 0, 0);
  // No style sheet.
  TCustomRichPane bare(nullptr);
  bare.AddTextNL("a", 0, 0, 0);
  TMemoryStream stream;
  EXPECT_FALSE(SaveRTFToStream(bare, stream, false));
  EXPECT_EQ(stream.Size(), 0);
  // A hook that raises ends the export; what was written stays.
  view.Pane.OnSaveRTFExtra = [](TCustomRichPane*, TRPRTFSaveArea area, TObject*, int32_t, int32_t, bool, AnsiString&) {
    if (area == rp_rtfs_Doc) throw std::runtime_error("host");
  };
  EXPECT_FALSE(SaveRTFToStream(view.Pane, stream, false));
  EXPECT_EQ(TExportView::Bytes(stream).rfind("{\\rtf1", 0), 0u);
  // Cells need the tables of an export.
  EXPECT_FALSE(SaveRTFToStream(view.Data(), stream, {}, 15, nullptr, clNone, 1, false));
}

}  // namespace
