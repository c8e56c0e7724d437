// The reader's scanner, groups, destinations, text runs and events, as traces.
#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

#include "richtext/interchange/RPRTFTestProbe.h"

namespace {

using Lines = std::vector<std::string>;

TEST(RPRTFReader, ReportsTextRunsWithTheirPositions) {
  const struct {
    const char* Rtf;
    Lines Trace;
  } cases[] = {
      {"{\\rtf1 abc}", {"text N 'abc'"}},
      {"{\\rtf1 a\\par b\\line c\\par\\par}", {"text N 'a'", "text N 'b'", "text L 'c'", "text N ''"}},
      {"{\\rtf1 a{\\b b}c}", {"text N 'a'", "text C 'b'", "text C 'c'"}},
      {"{\\rtf1 x\\tab y\\~z}", {"text N 'x\ty\xC2\xA0z'"}},
      {"{\\rtf1 \\{\\}\\\\}", {"text N '{}\\'"}},
      {"{\\rtf1 \\'e9t\\'e9}", {"text N '\xC3\xA9t\xC3\xA9'"}},
      {"{\\rtf1 a\r\nb}", {"text N 'ab'"}},
      {"{\\rtf1 \\PAR x}", {"text N 'x'"}},  // control words are case-sensitive: \PAR is unknown
      {"{\\rtf1 a\\unknownword b}", {"text N 'ab'"}},
      {"{\\rtf1 a{\\*\\unknownword {x}y}b}", {"text N 'ab'"}},
      {"{\\rtf1 a{\\*\\b c}d}", {"text N 'a'", "text C 'c'", "text C 'd'"}},  // a known word after \* is read
      {"{\\rtf1 a{\\info{\\title T}}b}", {"text N 'ab'"}},
      {"{\\rtf1 a\\ldblquote b\\rdblquote\\emdash}",
       {"text N 'a'", "utext C '\xE2\x80\x9C'", "text C 'b'", "utext C '\xE2\x80\x9D\xE2\x80\x94'"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rtf);
    TReaderProbe probe;
    probe.Reader.DefCodePage = 1252;
    EXPECT_EQ(probe.Parse(c.Rtf), rtf_ec_OK);
    EXPECT_EQ(probe.TextTrace(), c.Trace);
  }
}

TEST(RPRTFReader, UnicodeCharactersAndTheirFallbacks) {
  const struct {
    const char* Rtf;
    bool Unicode;
    Lines Trace;
  } cases[] = {
      {"{\\rtf1\\uc1 \\u1040?}", true, {"utext N '\xD0\x90'"}},
      {"{\\rtf1\\uc1 \\u1040?}", false, {"text N '?'"}},  // without the event \u is not read
      {"{\\rtf1\\uc2 \\u1040\\'c0\\'c0b}", true, {"utext N '\xD0\x90'", "text C 'b'"}},
      {"{\\rtf1\\uc0 \\u1040 b}", true, {"utext N '\xD0\x90'", "text C 'b'"}},
      {"{\\rtf1\\u-4064 ?}", true, {"utext N '\xEF\x80\xA0'"}},  // read as unsigned 16 bits: U+F020
      {"{\\rtf1 a\\u1040?{b}}", true, {"text N 'a'", "utext C '\xD0\x90'", "text C 'b'"}},
      {"{\\rtf1\\u55357?\\u56832?}", true, {"utext N '\xF0\x9F\x98\x80'"}},  // a surrogate pair
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rtf);
    TReaderProbe probe(c.Unicode);
    EXPECT_EQ(probe.Parse(c.Rtf), rtf_ec_OK);
    EXPECT_EQ(probe.TextTrace(), c.Trace);
  }
}

TEST(RPRTFReader, ResultCodes) {
  const struct {
    const char* Rtf;
    TRPRTFErrorCode Code;
  } cases[] = {
      {"{\\rtf1 abc}", rtf_ec_OK},
      {"{\\rtf1 abc", rtf_ec_UnmatchedBrace},
      {"{\\rtf1 {abc}", rtf_ec_UnmatchedBrace},
      {"}", rtf_ec_StackUnderflow},
      {"{\\rtf1 \\'4g}", rtf_ec_InvalidHex},
      {"{\\rtf1 \\'4", rtf_ec_UnmatchedBrace},
      {"{\\rtf1 abc\\", rtf_ec_EndOfFile},
      {"{\\rtf1 {\\pict{\\pict 00}}}", rtf_ec_InvalidPicture},
      {"{\\rtf1 {\\pict\\bin-1 }}", rtf_ec_InvalidPicture},
      {"{\\rtf1 {\\pict\\bin99999999999 }}", rtf_ec_InvalidPicture},
      {"{\\rtf1 {\\pict\\bin10 abc}}", rtf_ec_InvalidPicture},  // more than the data holds
      {"{\\rtf1 {\\pict\\wmetafile8 0102}}", rtf_ec_InvalidPicture},
      {"{\\rtf1 {\\pict\\emfblip 0102}}", rtf_ec_InvalidPicture},
      {"{\\rtf1 {\\pict\\pngblip 0102}}", rtf_ec_InvalidPicture},
      {"{\\rtf1 {\\pict\\dibitmap0 0102}}", rtf_ec_InvalidPicture},
      {"{\\rtf1 {\\pict\\macpict 0102}}", rtf_ec_OK},
      {"abc", rtf_ec_OK},
      {"", rtf_ec_OK},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rtf);
    TReaderProbe probe;
    EXPECT_EQ(probe.Parse(c.Rtf), c.Code);
  }
}

TEST(RPRTFReader, TextAfterTheOutermostGroupIsNotRead) {
  TReaderProbe probe;
  EXPECT_EQ(probe.Parse("{\\rtf1 a}}}b"), rtf_ec_OK);
  EXPECT_EQ(probe.TextTrace(), Lines({"text N 'a'"}));
  EXPECT_EQ(probe.EndParsing, 1);
}

TEST(RPRTFReader, HandlerExceptionsAbortTheParse) {
  TReaderProbe probe;
  probe.Reader.OnNewText = [](TRPRTFReader*, const AnsiString&, TRPRTFPosition) { throw std::runtime_error("no"); };
  EXPECT_EQ(probe.Parse("{\\rtf1 a\\par b}"), rtf_ec_Aborted);
  TReaderProbe tables;
  tables.Reader.OnTable = [](TRPRTFReader*, TRPRTFTableEventKind) { throw std::runtime_error("no"); };
  EXPECT_EQ(tables.Parse("{\\rtf1\\intbl a\\cell\\row}"), rtf_ec_Aborted);
}

TEST(RPRTFReader, AReaderReadsAgainAfterAFailure) {
  TReaderProbe probe;
  EXPECT_EQ(probe.Parse("{\\rtf1{\\fonttbl{\\f0 Broken;}}{\\colortbl;\\red9;} \\'zz"), rtf_ec_InvalidHex);
  probe.Runs.clear();
  probe.Trace.clear();
  EXPECT_EQ(probe.Parse("{\\rtf1{\\fonttbl{\\f0 Fine;}}\\f0 ok}"), rtf_ec_OK);
  EXPECT_EQ(probe.TextTrace(), Lines({"text N 'ok'"}));
  EXPECT_EQ(probe.Reader.FontTable().Count(), 1);
  EXPECT_EQ(probe.Reader.ColorTable().Count(), 0);
  EXPECT_EQ(probe.Runs[0].FontName, "Fine");
}

TEST(RPRTFReader, BinaryDataInAPictureIsCopiedUnchanged) {
  TReaderProbe probe;
  probe.Reader.OnNewPicture = [&](TRPRTFReader*, TRPRTFPicture* picture, std::unique_ptr<TGraphic>&, TRPRTFPosition,
                                  const AnsiString&, bool&) {
    const auto* bytes = static_cast<const char*>(picture->Data.Memory());
    probe.Trace.push_back(std::string(bytes, static_cast<size_t>(picture->Data.Size())));
  };
  const std::string rtf = std::string("{\\rtf1{\\pict\\macpict\\bin5 ") + std::string("{}\\\0}", 5) + "}a}";
  ASSERT_EQ(probe.Parse(rtf), rtf_ec_OK);
  ASSERT_EQ(probe.Trace.size(), 2u);
  EXPECT_EQ(probe.Trace[0], std::string("{}\\\0}", 5));
  EXPECT_EQ(probe.Trace[1], "text N 'a'");  // nothing was inserted
}

TEST(RPRTFReader, HexPictureDataPairsDigitsAcrossLines) {
  TReaderProbe probe;
  std::string data;
  probe.Reader.OnNewPicture = [&](TRPRTFReader*, TRPRTFPicture* picture, std::unique_ptr<TGraphic>&, TRPRTFPosition,
                                  const AnsiString&, bool&) {
    data.assign(static_cast<const char*>(picture->Data.Memory()), static_cast<size_t>(picture->Data.Size()));
  };
  ASSERT_EQ(probe.Parse("{\\rtf1{\\pict\\macpict 0a1\r\nB2c 3d\r\n4}}"), rtf_ec_OK);
  EXPECT_EQ(data, "\x0a\x1b\x2c\x3d");  // the odd digit at the end is dropped
}

TEST(RPRTFReader, HeadersAndFooters) {
  const std::string rtf = "{\\rtf1 {\\header head\\par}{\\footer foot}{\\headerf first}body\\par}";
  TReaderProbe skipped;
  ASSERT_EQ(skipped.Parse(rtf), rtf_ec_OK);
  EXPECT_EQ(skipped.Trace, Lines({"text N 'body'"}));
  TReaderProbe read;
  read.AcceptHeadersAndFooters();
  ASSERT_EQ(read.Parse(rtf), rtf_ec_OK);
  EXPECT_EQ(read.Trace, Lines({"header on", "text N 'head'", "header off", "footer on", "text N 'foot'", "footer off",
                               "text N 'body'"}));
  EXPECT_EQ(read.PlainText(rtf_hf_Header), "head");
  EXPECT_EQ(read.PlainText(rtf_hf_Footer), "foot");
  EXPECT_EQ(read.PlainText(), "body");
}

TEST(RPRTFReader, PageBreaksAndHiddenText) {
  TReaderProbe probe;
  probe.Reader.OnNewText = [&](TRPRTFReader* r, const AnsiString& text, TRPRTFPosition position) {
    probe.Trace.push_back(std::string(r->RTFState().CharProps.Hidden ? "hidden " : "text ") + PositionName(position) +
                          " '" + text + "'");
  };
  ASSERT_EQ(probe.Parse("{\\rtf1 a\\page b{\\v c}d\\v0 e}"), rtf_ec_OK);
  EXPECT_EQ(probe.Trace,
            Lines({"text N 'a'", "page", "text C 'b'", "hidden C ''", "hidden C 'c'", "text C 'd'", "text C 'e'"}));
  TReaderProbe noPages(false);
  noPages.Reader.OnRequiredPageBreak = nullptr;
  ASSERT_EQ(noPages.Parse("{\\rtf1 a\\page b}"), rtf_ec_OK);
  EXPECT_EQ(noPages.TextTrace(), Lines({"text N 'ab'"}));
}

TEST(RPRTFReader, TablesAndTheirLevels) {
  const struct {
    const char* Rtf;
    Lines Trace;
  } cases[] = {
      {"{\\rtf1\\trowd\\cellx1000\\cellx2000\\pard\\intbl a\\cell b\\cell\\row\\pard after\\par}",
       {"table start", "text N 'a'", "table cell", "text N 'b'", "table cell", "table row", "table end",
        "text N 'after'"}},
      {"{\\rtf1\\pard\\intbl a\\cell\\row}", {"table start", "text N 'a'", "table cell", "table row", "table end"}},
      // A nested table: its cells at level 2, its row in \nesttableprops.
      {"{\\rtf1\\pard\\intbl\\itap1 o\\par\\pard\\intbl\\itap2 i\\nestcell{\\*\\nesttableprops\\trowd\\cellx500"
       "\\nestrow}{\\nonesttables\\par}\\pard\\intbl\\itap1 \\cell\\row\\pard x}",
       {"table start", "text N 'o'", "table start", "text N 'i'", "table cell", "table row", "table end", "table cell",
        "table row", "table end", "text N 'x'"}},
      // \cell outside a table opens one.
      {"{\\rtf1 a\\cell}", {"text N 'a'", "table start", "table cell", "table end"}},
      // \absnoovrlp keeps the table open.
      {"{\\rtf1\\pard\\intbl a\\cell\\row\\pard\\absnoovrlp1 b\\pard c}",
       {"table start", "text N 'a'", "table cell", "table row", "text N 'b'", "table end", "text C 'c'"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rtf);
    TReaderProbe probe;
    EXPECT_EQ(probe.Parse(c.Rtf), rtf_ec_OK);
    EXPECT_EQ(probe.Trace, c.Trace);
  }
}

TEST(RPRTFReader, NumberingUpdatesComeAroundParagraphEndsAndTableEvents) {
  TReaderProbe probe;
  ASSERT_EQ(probe.Parse("{\\rtf1 a\\par b\\line c}"), rtf_ec_OK);
  // Before and after each \par and \line, at the outermost "}" and at the end.
  EXPECT_EQ(probe.MarkerUpdates, 6);
  TReaderProbe tables;
  ASSERT_EQ(tables.Parse("{\\rtf1\\intbl a\\cell\\row}"), rtf_ec_OK);
  EXPECT_EQ(tables.MarkerUpdates, 2 + 4);  // the end and "}"; table start, cell, row, end
}

TEST(RPRTFReader, TranslateKeywordReplacesWords) {
  TReaderProbe probe;
  probe.Reader.OnTranslateKeyword = [](TRPRTFReader*, const AnsiString& keyword, int32_t param, bool fParam,
                                       AnsiString& text, bool& doDefault) {
    if (keyword == "chdate") {
      text = "DATE";
      doDefault = false;
    } else if (keyword == "b" && fParam && param == 0) {
      text = "!";
    }
  };
  ASSERT_EQ(probe.Parse("{\\rtf1 a\\chdate b\\b x\\b0 y}"), rtf_ec_OK);
  EXPECT_EQ(probe.TextTrace(), Lines({"text N 'aDATEb'", "text C 'x!'", "text C 'y'"}));
}

TEST(RPRTFReader, CodePages) {
  const struct {
    uint32_t DefCodePage;
    const char* Rtf;
    const char* Utf8;
  } cases[] = {
      {1252, "{\\rtf1 \\'e9}", "\xC3\xA9"},
      {1251, "{\\rtf1 \\'e9}", "\xD0\xB9"},
      {1252, "{\\rtf1\\ansicpg1251 \\'e9}", "\xD0\xB9"},
      {1252, "{\\rtf1\\ansicpg1253 \\'e1}", "\xCE\xB1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Rtf);
    TReaderProbe probe;
    probe.Reader.DefCodePage = c.DefCodePage;
    ASSERT_EQ(probe.Parse(c.Rtf), rtf_ec_OK);
    ASSERT_EQ(probe.Runs.size(), 1u);
    EXPECT_EQ(probe.Runs[0].Text, c.Utf8);
  }
  // \u outside normal text is converted to the code page.
  TReaderProbe fonts;
  ASSERT_EQ(fonts.Parse("{\\rtf1\\ansicpg1251{\\fonttbl{\\f0 \\u1040?b;}}}"), rtf_ec_OK);
  EXPECT_EQ(fonts.Reader.FontTable().Items(0)->Name,
            "\xC0"
            "b");
}

TEST(RPRTFReader, TabsAsTheirOwnRuns) {
  TReaderProbe probe;
  probe.Reader.TabAsSeparateChar = true;
  ASSERT_EQ(probe.Parse("{\\rtf1 a\\tab b}"), rtf_ec_OK);
  EXPECT_EQ(probe.TextTrace(), Lines({"text N 'a'", "text C '\t'", "text C 'b'"}));
}

TEST(RPRTFReader, ProgressOnlyForLargeStreams) {
  std::vector<int> stages;
  std::vector<int> percents;
  auto run = [&](const std::string& rtf) {
    stages.clear();
    percents.clear();
    TReaderProbe probe;
    probe.Reader.OnProgress = [&](TRPRTFReader*, TRPRTFProgressStage stage, uint8_t percent) {
      stages.push_back(stage);
      percents.push_back(percent);
    };
    return probe.Parse(rtf);
  };
  ASSERT_EQ(run("{\\rtf1 small}"), rtf_ec_OK);
  EXPECT_TRUE(stages.empty());
  ASSERT_EQ(run("{\\rtf1 " + std::string(30000, 'x') + "}"), rtf_ec_OK);
  ASSERT_GE(stages.size(), 3u);
  EXPECT_EQ(stages.front(), rpprtfprStarting);
  EXPECT_EQ(stages.back(), rpprtfprEnding);
  // One report per 4096-byte block, rising to 100.
  EXPECT_EQ(stages.size(), 2u + (30008 + 4095) / 4096);
  EXPECT_EQ(percents[percents.size() - 2], 100);
  EXPECT_TRUE(std::is_sorted(percents.begin() + 1, percents.end() - 1));
}

TEST(RPRTFReader, ObjectsReportTheirDataAndResults) {
  const std::string rtf =
      "{\\rtf1 a{\\object\\objemb\\objw100\\objh200{\\*\\objclass Paint}{\\*\\objdata 0102ff}{\\result r}}b}";
  TReaderProbe without;
  ASSERT_EQ(without.Parse(rtf), rtf_ec_OK);
  EXPECT_EQ(without.TextTrace(), Lines({"text N 'ar'", "text C 'b'"}));
  for (bool insert : {false, true}) {
    SCOPED_TRACE(insert);
    TReaderProbe probe;
    probe.Reader.OnNewObject = [&](TRPRTFReader*, TRPRTFObject* object, TRPRTFPosition position, bool& inserted) {
      std::string line = std::string("object ") + PositionName(position) + " " + std::to_string(object->ObjType) + " " +
                         std::to_string(object->Width) + "x" + std::to_string(object->Height) + " ";
      const auto* bytes = static_cast<const uint8_t*>(object->Data.Memory());
      for (int64_t i = 0; i < object->Data.Size(); ++i) line += std::to_string(bytes[i]) + ",";
      probe.Trace.push_back(line);
      inserted = insert;
    };
    ASSERT_EQ(probe.Parse(rtf), rtf_ec_OK);
    if (insert)
      EXPECT_EQ(probe.Trace, Lines({"text N 'a'", "object C 0 100x200 1,2,255,", "text C 'b'"}));
    else
      EXPECT_EQ(probe.Trace, Lines({"text N 'a'", "object C 0 100x200 1,2,255,", "text C 'r'", "text C 'b'"}));
  }
  TReaderProbe bad;
  bad.Reader.OnNewObject = [](TRPRTFReader*, TRPRTFObject*, TRPRTFPosition, bool&) {};
  EXPECT_EQ(bad.Parse("{\\rtf1{\\object{\\*\\objdata 01 02}}}"), rtf_ec_InvalidPicture);
}

TEST(RPRTFReader, LimitsEndOrBoundTheParse) {
  {
    // Three plain saved states fit the ceiling; the proportional bound of a short input
    // is lower than the ceiling.
    const int64_t state = TRPRTFReaderState().SavedBytes();
    TReaderProbe probe;
    probe.Reader.Limits.MaxGroupStateBytes = 3 * state;
    EXPECT_EQ(probe.Parse("{{{x}}}"), rtf_ec_OK);
    EXPECT_EQ(probe.Parse("{{{{x}}}}"), rtf_ec_StackOverflow);
    probe.Reader.Limits.MaxGroupStateBytes = 100 * state;
    probe.Reader.Limits.GroupStateBytesPerInputByte = (state + 2) / 3;  // a state per 3 bytes
    EXPECT_EQ(probe.Parse("{x}"), rtf_ec_OK);
    EXPECT_EQ(probe.Parse("{{x}}"), rtf_ec_StackOverflow);  // 5 bytes: less than 2 states
  }
  {
    TReaderProbe probe;
    probe.Reader.Limits.MaxBinBytes = 4;
    EXPECT_EQ(probe.Parse("{\\rtf1{\\pict\\macpict\\bin4 abcd}}"), rtf_ec_OK);
    EXPECT_EQ(probe.Parse("{\\rtf1{\\pict\\macpict\\bin5 abcde}}"), rtf_ec_InvalidPicture);
  }
  {
    TReaderProbe probe;
    probe.Reader.Limits.MaxPictureBytes = 3;
    EXPECT_EQ(probe.Parse("{\\rtf1{\\pict\\macpict 010203}}"), rtf_ec_OK);
    EXPECT_EQ(probe.Parse("{\\rtf1{\\pict\\macpict 01020304}}"), rtf_ec_InvalidPicture);
  }
  {
    TReaderProbe probe;
    probe.Reader.OnNewObject = [](TRPRTFReader*, TRPRTFObject*, TRPRTFPosition, bool&) {};
    probe.Reader.Limits.MaxObjectBytes = 2;
    EXPECT_EQ(probe.Parse("{\\rtf1{\\object{\\*\\objdata 0102}}}"), rtf_ec_OK);
    EXPECT_EQ(probe.Parse("{\\rtf1{\\object{\\*\\objdata 010203}}}"), rtf_ec_InvalidPicture);
  }
  {
    TReaderProbe probe;
    probe.Reader.Limits.MaxFonts = 2;
    probe.Reader.Limits.MaxColors = 2;
    probe.Reader.Limits.MaxStyles = 1;
    probe.Reader.Limits.MaxTabsPerParagraph = 2;
    ASSERT_EQ(probe.Parse("{\\rtf1{\\fonttbl{\\f0 A;}{\\f1 B;}{\\f2 C;}}{\\colortbl;\\red1;\\red2;\\red3;}"
                          "{\\stylesheet{\\s1 one;}{\\s2 two;}}\\f2\\cf2\\tx1\\tx2\\tx3\\tx4 x\\par}"),
              rtf_ec_OK);
    EXPECT_EQ(probe.Reader.FontTable().Count(), 2);
    EXPECT_EQ(probe.Reader.FontTable().Items(1)->Name, "B");
    EXPECT_EQ(probe.Reader.ColorTable().Count(), 1);  // the entry after the last ";" is removed at the end
    EXPECT_EQ(probe.Reader.StyleSheet().Count(), 1);
    ASSERT_EQ(probe.Runs.size(), 1u);
    EXPECT_EQ(probe.Runs[0].FontName, "A");  // \f2 is not there: the default font
    EXPECT_EQ(probe.Runs[0].Char.Color, clWindowText);
    EXPECT_EQ(probe.Runs[0].Para.Tabs().size(), 1u);  // one stop (the second \tx is past the limit); the spare goes
  }
  {
    TReaderProbe probe;
    probe.Reader.Limits.MaxCellsPerRow = 2;
    std::unique_ptr<TRPRTFRowProperties> rowCopy;
    probe.Reader.OnTable = [&](TRPRTFReader* r, TRPRTFTableEventKind kind) {
      if (kind == rpf_tbl_RowEnd) rowCopy = std::make_unique<TRPRTFRowProperties>(*r->RTFState().GetRowProps());
    };
    ASSERT_EQ(probe.Parse("{\\rtf1\\trowd\\cellx1\\cellx2\\cellx3\\intbl a\\cell\\row}"), rtf_ec_OK);
    ASSERT_NE(rowCopy, nullptr);
    const TRPRTFRowProperties& row = *rowCopy;
    ASSERT_EQ(row.Cells.Count(), 2);
    EXPECT_EQ(row.Cells.Items(1)->RightBoundary, 3);
  }
  {
    TReaderProbe probe;
    probe.Reader.Limits.MaxTableNesting = 3;
    ASSERT_EQ(probe.Parse("{\\rtf1\\itap2000000000 a}"), rtf_ec_OK);
    EXPECT_EQ(std::count(probe.Trace.begin(), probe.Trace.end(), "table start"), 3);
    EXPECT_EQ(std::count(probe.Trace.begin(), probe.Trace.end(), "table end"), 3);
  }
  {
    TReaderProbe probe;
    probe.Reader.Limits.MaxFieldInstructionBytes = 4;
    probe.Reader.OnNewText = [&](TRPRTFReader* r, const AnsiString&, TRPRTFPosition) {
      probe.Trace.push_back(r->FieldInstruction());
    };
    ASSERT_EQ(probe.Parse("{\\rtf1{\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt t}}}"), rtf_ec_OK);
    EXPECT_EQ(probe.Trace, Lines({"HYPE"}));
  }
}

TEST(RPRTFReader, FieldInstructionIsKnownInTheResultOnly) {
  TReaderProbe probe;
  ASSERT_EQ(probe.Parse("{\\rtf1 a{\\field{\\*\\fldinst {HYPERLINK \"http://x.org/\"}}{\\fldrslt {\\ul link}}}b}"),
            rtf_ec_OK);
  ASSERT_EQ(probe.Runs.size(), 3u);
  EXPECT_EQ(probe.Runs[0].Field, "");
  EXPECT_EQ(probe.Runs[1].Text, "link");
  EXPECT_EQ(probe.Runs[1].Field, "HYPERLINK \"http://x.org/\"");
  EXPECT_EQ(probe.Runs[2].Field, "");
}

}  // namespace
