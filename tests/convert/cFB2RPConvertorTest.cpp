// The builder: text runs and their styles, spacer paragraphs and page breaks, element
// handlers, images, tables, links and notes, each on a small book written for the case.
#include <gtest/gtest.h>

#include "BuilderTestData.h"

namespace {

TEST(FB2RPConvertorTest, ParagraphsOfBlanksAndLineBreaksAddNothingAndInnerBlanksStay) {
  TBuilderFixture f;
  f.Build(MakeBook("<section><p> \r\n\t </p><p><emphasis>a</emphasis> <strong>b</strong></p></section>"));
  EXPECT_EQ(TBuilderFixture::Text(f.Main()), "a b");
}

// Line breaks inside text are blanks: "a\nb" stays two words, and a pretty-printed book
// gives the same items (and so the same pages) as its one-line twin.
TEST(FB2RPConvertorTest, APrettyPrintedBookLaysOutLikeItsOneLineTwin) {
  const std::string oneLine =
      "<section><p>Hello <strong>big</strong> world</p><p>a b</p><p>x <emphasis>y</emphasis></p></section>";
  const std::string pretty =
      "<section>\n  <p>\n    Hello\n    <strong>big</strong>\n    world\n  </p>\n  <p>a\nb</p>\n"
      "  <p>x\n\t<emphasis>y</emphasis>\n  </p>\n</section>";
  TBuilderFixture a, b;
  a.Build(MakeBook(oneLine));
  b.Build(MakeBook(pretty));
  EXPECT_EQ(a.Dump(), b.Dump());
  EXPECT_EQ(TBuilderFixture::Text(b.Main()), "Hello big world\na b\nx y");
  TBitmap page;
  page.SetPixelFormat(pf24bit);
  page.SetSize(8, 8);
  for (TBuilderFixture* fx : {&a, &b}) {
    fx->Helper.BeginLayout(*page.Canvas(), 200);
    while (fx->Helper.LayoutNextPage(30)) {
    }
  }
  ASSERT_EQ(a.Helper.GetPagesCount(), b.Helper.GetPagesCount());
  TRPDrawLines& da = a.Helper.ReportData().DrawItems;
  TRPDrawLines& db = b.Helper.ReportData().DrawItems;
  ASSERT_EQ(da.Count(), db.Count());
  for (int32_t i = 0; i < da.Count(); ++i) {
    EXPECT_EQ(da[i]->Left, db[i]->Left);
    EXPECT_EQ(da[i]->Top, db[i]->Top);
    EXPECT_EQ(da[i]->Width, db[i]->Width);
    EXPECT_EQ(da[i]->ItemNo, db[i]->ItemNo);
  }
}

TEST(FB2RPConvertorTest, ParagraphsOfOneLookShareTheirStyles) {
  TBuilderFixture f;
  f.Build(MakeBook("<section><p>one</p><p>two</p></section>"));
  ASSERT_EQ(f.Main().GetItemCount(), 2);
  EXPECT_EQ(f.Main().GetItem(0)->ParaNo, f.Main().GetItem(1)->ParaNo);
  EXPECT_EQ(f.Main().GetItem(0)->StyleNo, f.Main().GetItem(1)->StyleNo);
  EXPECT_EQ(f.Style.ParaStyles().Count(), 1);
  EXPECT_EQ(f.Style.TextStyles().Count(), 1);
}

struct TSpacerCase {
  const char* Name;
  int32_t SpaceBefBlock;
  bool PageBreak;
  // Texts of the items and whether each has a page break.
  std::string Items;
  int32_t SpacerSpaceBefore;
};

TEST(FB2RPConvertorTest, SpacersAndPageBreaksOfASectionStyle) {
  const TSpacerCase cases[] = {
      {"page break, no spacer", 0, true, "[pb]a|b|", -1},
      {"page break goes to the spacer", 10, true, "[pb] |a| |b|", 8},
      {"spacer 2 has no space before", 2, false, " |a| |b|", 0},
      {"spacer 10 keeps 8", 10, false, " |a| |b|", 8},
  };
  for (const TSpacerCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TBuilderFixture f;
    f.Scheme.Styles(vsSection).SpaceBefBlock = c.SpaceBefBlock;
    f.Scheme.Styles(vsSection).PageBreak = c.PageBreak;
    f.Build(MakeBook("<section><p>a</p></section><section><p>b</p></section>"));
    std::string items;
    for (int32_t i = 0; i < f.Main().GetItemCount(); ++i) {
      // The first section's break stands at the document's first item.
      if (f.Main().GetPageBreakBefore(i)) items += "[pb]";
      items += Utf8(f.Main().GetItemTextW(i)) + "|";
    }
    std::string expected = c.Items;
    if (c.PageBreak) {
      // the second section breaks too
      const size_t second = expected.find(c.SpaceBefBlock > 0 ? " |b" : "b|");
      expected.insert(second, "[pb]");
    }
    EXPECT_EQ(items, expected);
    if (c.SpacerSpaceBefore >= 0) {
      const TParaInfo& spacer = *f.Style.ParaStyles()[f.Main().GetItem(0)->ParaNo];
      EXPECT_EQ(spacer.SpaceBefore, c.SpacerSpaceBefore);
      EXPECT_TRUE(spacer.Options.Contains(rppaoKeepWithNext));
      EXPECT_EQ(f.Style.TextStyles()[f.Main().GetItem(0)->StyleNo]->Size, -1);
    }
  }
}

// A section that starts a page and begins with a picture: the break goes to the picture,
// not to the text after it.
TEST(FB2RPConvertorTest, APageBreakGoesToAPictureOrATableToo) {
  TBuilderFixture f;
  f.Scheme.Styles(vsSection).PageBreak = true;
  f.Build(
      MakeBook("<section><p>a</p></section><section><image l:href=\"#pic.png\"/><p>b</p></section>"
               "<section><table><tr><td>c</td></tr></table></section>"));
  ASSERT_EQ(f.Main().GetItemCount(), 4);
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(f.Main().GetPageBreakBefore(i), i != 2) << i;
}

// The spacer font of size -1 is one pixel high: a spacer line is a few pixels, not a
// font of size 0 or less.
TEST(FB2RPConvertorTest, ASpacerLineIsAboutOnePixelHigh) {
  TBuilderFixture f;
  f.Scheme.Styles(vsSection).SpaceBefBlock = 2;
  f.Build(MakeBook("<section><p>a</p></section>"));
  TBitmap page;
  page.SetPixelFormat(pf24bit);
  page.SetSize(8, 8);
  f.Helper.BeginLayout(*page.Canvas(), 200);
  while (f.Helper.LayoutNextPage(800)) {
  }
  const TRPDrawLines& draws = f.Helper.ReportData().DrawItems;
  ASSERT_GE(draws.Count(), 2);
  EXPECT_EQ(draws[0]->ItemNo, 0);
  EXPECT_GE(draws[0]->Height, 1);
  EXPECT_LE(draws[0]->Height, 3);
}

TEST(FB2RPConvertorTest, RunStylesChangeTheLookAsTheSchemeSays) {
  struct TCase {
    const char* Name;
    std::string Body;
    int32_t Size;
    int32_t Shift;
    const char* FontName;
  };
  const TCase cases[] = {
      {"sub", "<sub>x</sub>", 14, -20, "Arial"},
      {"sup", "<sup>x</sup>", 14, 20, "Arial"},
      {"code takes its size", "<code>x</code>", 16, 0, "Courier New"},
      {"code in sup keeps the sup size", "<sup><code>x</code></sup>", 14, 20, "Courier New"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TBuilderFixture f;
    f.Scheme.Styles(vsSectionText).CodeFontSize = 16;
    f.Build(MakeBook("<section><p>" + c.Body + "</p></section>"));
    ASSERT_EQ(f.Main().GetItemCount(), 1);
    const TFontInfo& font = *f.Style.TextStyles()[f.Main().GetItem(0)->StyleNo];
    EXPECT_EQ(font.Size, c.Size);
    EXPECT_EQ(font.VShift, c.Shift);
    EXPECT_EQ(font.FontName, c.FontName);
  }
  TBuilderFixture f;
  f.Scheme.Styles(vsSectionText).SubSize = 100;
  f.Scheme.Styles(vsSectionText).SubOffset = 0;
  f.Build(MakeBook("<section><p>a<sub>b</sub></p></section>"));
  ASSERT_EQ(f.Main().GetItemCount(), 2);
  EXPECT_EQ(f.Main().GetItem(0)->StyleNo, f.Main().GetItem(1)->StyleNo);
}

const char NoteBody[] = "<section id=\"n1\"><title><p>1</p></title><p>Note one</p></section>";

TEST(FB2RPConvertorTest, UnknownElementsDisappearWithTheirContent) {
  TBuilderFixture f;
  f.Build(MakeBook("<foo><p>hidden</p></foo><section><foo><p>hidden</p></foo><p>shown</p></section><bar/>"));
  EXPECT_EQ(TBuilderFixture::Text(f.Main()), "shown");
}

// Many books put a section's text straight in the body: it is laid out as a section's
// text (the SectionText style, the notes after each element), in its place among the
// sections.
TEST(FB2RPConvertorTest, TextStraightInABodyIsLaidOutAsASectionsText) {
  TBuilderFixture f;
  f.Build(
      MakeBook("<p>first</p><poem><stanza><v>verse</v></stanza></poem><section><p>in a section</p></section>"
               "<subtitle>sub</subtitle><p>note<a l:href=\"#n1\">1</a></p><empty-line/><cite><p>cited</p></cite>"
               "<table><tr><td>cell</td></tr></table><annotation><p>about</p></annotation><foo><p>hidden</p></foo>",
               NoteBody));
  std::string texts;
  for (int32_t i = 0; i < f.Main().GetItemCount(); ++i) {
    if (auto* table = dynamic_cast<TRPTableItemInfo*>(f.Main().GetItem(i)))
      texts += "[" + TBuilderFixture::Text(*table->GetCell(0, table->Rows().GetColCount() - 1)) + "]|";
    else
      texts += Utf8(f.Main().GetItemTextW(i)) + "|";
  }
  ASSERT_EQ(texts, "first|verse|in a section|sub|note|1|[Note one]| |cited|[cell]|about|");
  // A paragraph in the body looks like one in a section.
  EXPECT_EQ(f.Main().GetItem(0)->ParaNo, f.Main().GetItem(2)->ParaNo);
  EXPECT_EQ(f.Main().GetItem(0)->StyleNo, f.Main().GetItem(2)->StyleNo);
  // Only sections count as sections.
  EXPECT_EQ(f.Progress, (std::vector<int32_t>{1, 1}));
}

// A run of text in the body takes the SectionText style once: one spacer before the run,
// as a section has one before its text.
TEST(FB2RPConvertorTest, ARunOfTextInABodyIsOneBlock) {
  TBuilderFixture f;
  f.Scheme.Styles(vsSectionText).SpaceBefBlock = 10;
  f.Build(MakeBook("<p>a</p><p>b</p><section><p>c</p></section><p>d</p><image l:href=\"#pic.png\"/><p>e</p>"));
  EXPECT_EQ(TBuilderFixture::Text(f.Main()), " \na\nb\n \nc\n \nd\n[-3]\ne");
}

TEST(FB2RPConvertorTest, BlockImagesAreCentredAndEnlargedInlineImagesAreNot) {
  TBuilderFixture f;
  f.Scheme.PageWidth = 60;
  f.Scheme.PageHeight = 90;
  f.Build(
      MakeBook("<image l:href=\"#pic.png\"/><section><image l:href=\"#pic.png\"/>"
               "<p>a<image l:href=\"#pic.png\"/></p><p><image l:href=\"#missing\"/>b</p></section>"));
  // Blocks fit 60 x 90 with the pixel of spacing on each side of a picture (4 x 6 grows
  // to 58 x 87); the inline one keeps 4 x 6 and continues its paragraph; a missing binary
  // is skipped.
  EXPECT_EQ(f.Items(),
            "0 para 0 picture 58x87\n"
            "1 para 0 picture 58x87\n"
            "2 para 1 text 0 \"a\"\n"
            "3 cont picture 4x6\n"
            "4 para 1 text 0 \"b\"\n");
  EXPECT_EQ(f.Style.ParaStyles()[0]->Alignment, rpaCenter);
}

// A picture fits the box it stands in, a pixel of spacing clear of each edge: the
// height a page leaves for text, the width of its paragraph less the indents, the width
// of a table's cell less the cell's frame (border spacing 2, cell border 1 and padding 2
// on both sides).
TEST(FB2RPConvertorTest, PicturesFitTheBoxTheyStandIn) {
  struct TBoxCase {
    const char* Name;
    int32_t PageWidth;
    int32_t PageTextHeight;
    int32_t LeftIndent;
    std::string Body;
    std::string Items;
  };
  const TBoxCase cases[] = {
      {"a block picture under a header", 60, 45, 0, "<image l:href=\"#pic.png\"/>", "0 para 0 picture 29x43\n"},
      {"an inline picture of an indented paragraph", 10, 0, 5,
       "<section><p>a<image l:href=\"#pic.png\"/></p></section>", "0 para 0 text 0 \"a\"\n1 cont picture 3x5\n"},
      {"an inline picture in a table's cell", 14, 0, 0,
       "<section><table><tr><td><image l:href=\"#pic.png\"/></td></tr></table></section>",
       "0 para 0 table 1x1 width -100\n  cell 0,0 span 1x1 width 0\n    0 para 1 picture 2x3\n"},
  };
  for (const TBoxCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TBuilderFixture f;
    f.Scheme.PageWidth = c.PageWidth;
    f.Scheme.PageHeight = 90;
    f.Scheme.Styles(vsSectionText).LeftIndent = c.LeftIndent;
    f.Builder.PageTextHeight = c.PageTextHeight;
    f.Build(MakeBook(c.Body));
    EXPECT_EQ(f.Items(), c.Items);
  }
}

TEST(FB2RPConvertorTest, AnInlineImageAtTheStartOfAParagraphOpensIt) {
  TBuilderFixture f;
  f.Build(MakeBook("<section><p>a</p><p><image l:href=\"#pic.png\"/> b</p></section>"));
  ASSERT_EQ(f.Main().GetItemCount(), 3);
  EXPECT_TRUE(f.Main().StartsParagraph(1));
  EXPECT_FALSE(f.Main().StartsParagraph(2));
}

TEST(FB2RPConvertorTest, ANoteLinkGivesASuperscriptAndANoteTableAfterTheParagraph) {
  TBuilderFixture f;
  f.Build(MakeBook("<section><p>Text<a l:href=\"#n1\">1</a> more</p><p>next</p></section>", NoteBody));
  EXPECT_EQ(f.Items(),
            "0 para 0 text 0 \"Text\"\n"
            "1 cont text 1 \"1\"\n"
            "2 cont text 0 \" more\"\n"
            "3 para 1 table 1x2 width -100\n"
            "  cell 0,0 span 1x1 width -1\n"
            "    0 para 2 text 1 \"1\"\n"
            "  cell 0,1 span 1x1 width -99\n"
            "    0 para 0 text 0 \"Note one\"\n"
            "4 para 0 text 0 \"next\"\n");
  EXPECT_EQ(f.Style.TextStyles()[1]->VShift, 20);
  // The footnote style looks like the section text, so they share styles 0; the number's
  // paragraph is that one without wrapping.
  EXPECT_TRUE(f.Style.ParaStyles()[2]->Options.Contains(rppaoNoWrap));
}

TEST(FB2RPConvertorTest, NoteTablesWithoutTheLinkColumnAndOnePerLink) {
  TBuilderFixture f;
  f.Scheme.CopyHRefLink = false;
  f.Build(MakeBook("<section><p>a<a l:href=\"#n1\">1</a>b<a l:href=\"#N1\">1</a></p></section>", NoteBody));
  ASSERT_EQ(f.Main().GetItemCount(), 6);
  for (int32_t i : {4, 5}) {
    auto* table = dynamic_cast<TRPTableItemInfo*>(f.Main().GetItem(i));
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->Rows().GetColCount(), 1);
    EXPECT_EQ(TBuilderFixture::Text(*table->GetCell(0, 0)), "Note one");
  }
}

// Two notes that link to each other: each note table is built once per chain, never in
// a loop.
TEST(FB2RPConvertorTest, NotesLinkingToEachOtherDoNotLoop) {
  TBuilderFixture f;
  f.Build(MakeBook("<section><p>a<a l:href=\"#n1\">1</a></p></section>",
                   "<section id=\"n1\"><p>one, see<a l:href=\"#n2\">2</a></p></section>"
                   "<section id=\"n2\"><p>two, see<a l:href=\"#n1\">1</a> and <a l:href=\"#n2\">me</a></p></section>"));
  // a, sup; note 1 table; note 2 table (its links back are not queued again).
  ASSERT_EQ(f.Main().GetItemCount(), 4);
  auto* second = dynamic_cast<TRPTableItemInfo*>(f.Main().GetItem(3));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(TBuilderFixture::Text(*second->GetCell(0, 1)), "two, see1 and me");
}

// Progress counts the book's own sections: sections of a note, built again for every
// link to it, never take it past the book's section count.
TEST(FB2RPConvertorTest, ProgressCountsTheBooksOwnSectionsOnly) {
  TBuilderFixture f;
  f.Build(
      MakeBook("<section><p>a<a l:href=\"#n1\">1</a><a l:href=\"#n1\">1</a></p><section><p>b</p></section>"
               "</section><section><p>c<a l:href=\"#n1\">1</a></p></section>",
               "<section id=\"n1\"><section><p>x</p><section><p>y</p></section></section></section>"));
  ASSERT_EQ(f.Book.SectionCount(), 3);
  EXPECT_EQ(f.Progress, (std::vector<int32_t>{1, 2, 3, 3}));
}

TEST(FB2RPConvertorTest, InternalLinksByMode) {
  struct TCase {
    int32_t Mode;
    std::string Text;
    bool Underlined;
  };
  const TCase cases[] = {{0, "see there ", true}, {1, "see   ", false}, {2, "see there  ", false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Mode);
    TBuilderFixture f;
    f.Scheme.InternalLinksMode = c.Mode;
    f.Build(
        MakeBook("<section><p>see <a l:href=\"#t\">there</a> </p><p id=\"t\">target</p>"
                 "<p><a l:href=\"#nowhere\">x</a></p></section>"));
    std::string first;
    for (int32_t i = 0; i < f.Main().GetItemCount() && (i == 0 || !f.Main().StartsParagraph(i)); ++i)
      first += Utf8(f.Main().GetItemTextW(i));
    EXPECT_EQ(first, c.Text);
    EXPECT_EQ(f.Style.TextStyles()[f.Main().GetItem(1)->StyleNo]->Style.Contains(fsUnderline), c.Underlined);
    if (c.Mode > 0) {
      ASSERT_EQ(f.Links.Sources.size(), 2u);
      EXPECT_EQ(f.Main().GetItemTextW(f.Links.Sources[0].Key), u" ");
      const TDstLinkItem* target = f.Links.Sources[0].Target;
      EXPECT_EQ(Utf8(f.Main().GetItemTextW(target->Key)), "target");
      EXPECT_EQ(f.Links.Sources[1].Target->Key, -1);
    }
  }
}

TEST(FB2RPConvertorTest, TableSpansMergesAndAlignment) {
  TBuilderFixture f;
  f.Build(
      MakeBook("<section><table>"
               "<tr><th colspan=\"2\">ab</th><td>c</td></tr>"
               "<tr align=\"right\"><td rowspan=\"2\">d</td><td align=\"CENTER\">e</td><td>f</td></tr>"
               "<tr><td>g</td><td colspan=\"0\">h</td></tr>"
               "<tr><td colspan=\"-5\">i</td><td>j</td><td>k</td></tr>"
               "</table></section>"));
  auto* table = dynamic_cast<TRPTableItemInfo*>(f.Main().GetItem(0));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(table->Rows().GetRowCount(), 4);
  EXPECT_EQ(table->Rows().GetColCount(), 3);
  const std::pair<std::pair<int, int>, const char*> cells[] = {
      {{0, 0}, "ab"}, {{0, 2}, "c"}, {{1, 0}, "d"}, {{1, 1}, "e"}, {{1, 2}, "f"},
      {{2, 1}, "g"},  {{2, 2}, "h"}, {{3, 0}, "i"}, {{3, 1}, "j"}, {{3, 2}, "k"}};
  for (const auto& [pos, text] : cells) {
    SCOPED_TRACE(text);
    TRPTableCellData* cell = table->GetCell(pos.first, pos.second);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(TBuilderFixture::Text(*cell), text);
  }
  EXPECT_EQ(table->GetCell(0, 1), nullptr);
  EXPECT_EQ(table->GetCell(2, 0), nullptr);
  auto align = [&](int r, int c) { return f.Style.ParaStyles()[table->GetCell(r, c)->GetItem(0)->ParaNo]->Alignment; };
  EXPECT_EQ(align(1, 0), rpaRight);
  EXPECT_EQ(align(1, 1), rpaCenter);
  EXPECT_EQ(align(0, 2), rpaLeft);
  EXPECT_EQ(table->GetCellPadding(), 2);
  EXPECT_EQ(table->GetBestWidth(), -100);
}

// An alignment override makes a style of its own and leaves the cached one alone.
TEST(FB2RPConvertorTest, ACellAlignmentDoesNotDisturbTheCachedStyle) {
  TBuilderFixture f;
  f.Build(
      MakeBook("<section><table><tr><td align=\"center\">a</td><td>b</td></tr></table>"
               "<table><tr><td>c</td></tr></table></section>"));
  auto* t1 = dynamic_cast<TRPTableItemInfo*>(f.Main().GetItem(0));
  auto* t2 = dynamic_cast<TRPTableItemInfo*>(f.Main().GetItem(1));
  ASSERT_TRUE(t1 && t2);
  const int32_t centred = t1->GetCell(0, 0)->GetItem(0)->ParaNo;
  EXPECT_NE(centred, t1->GetCell(0, 1)->GetItem(0)->ParaNo);
  EXPECT_EQ(t1->GetCell(0, 1)->GetItem(0)->ParaNo, t2->GetCell(0, 0)->GetItem(0)->ParaNo);
}

TEST(FB2RPConvertorTest, LinksInCellsAreRegisteredWithTheirCell) {
  TBuilderFixture f;
  f.Scheme.InternalLinksMode = 1;
  f.Build(MakeBook("<section><p id=\"t\">t</p><table><tr><td>x<a l:href=\"#t\">y</a></td></tr></table></section>"));
  ASSERT_EQ(f.Links.Sources.size(), 1u);
  auto* table = dynamic_cast<TRPTableItemInfo*>(f.Main().GetItem(1));
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(f.Links.Sources[0].Document, table->GetCell(0, 0));
  EXPECT_EQ(f.Links.Sources[0].Key, 1);
}

TEST(FB2RPConvertorTest, SectionTitlesBecomeCheckpointsUpToTheLevels) {
  TBuilderFixture f;
  f.Build(
      MakeBook("<section><title><p>One</p></title><section><title><p>Two</p><p>b</p></title>"
               "<section><title><p>Три</p></title><section><title><p>Four</p></title><p>x</p>"
               "</section></section></section></section>"));
  std::vector<std::string> checkpoints;
  for (int32_t i = 0; i < f.Main().GetItemCount(); ++i)
    if (TRPCPInfo* cp = f.Main().GetItem(i)->Checkpoint.get())
      checkpoints.push_back(Utf8(Win1251ToWide(cp->Name)) + "@" + std::to_string(cp->Tag.Number()) + ":" +
                            Utf8(f.Main().GetItemTextW(i)));
  EXPECT_EQ(checkpoints, (std::vector<std::string>{"One@1:One", "Two b@2:Two", "Три@3:Три"}));
  EXPECT_EQ(f.Progress, (std::vector<int32_t>{1, 2, 3, 4, 4}));
}

TEST(FB2RPConvertorTest, TheFirstParagraphOfAStyleFixesItsIndents) {
  TBuilderFixture f;
  f.Scheme.Styles(vsCite).LeftIndent = 10;
  f.Scheme.Styles(vsEpigraph).LeftIndent = 5;
  f.Build(MakeBook("<section><cite><p>c</p></cite><epigraph><cite><p>ec</p></cite></epigraph></section>"));
  ASSERT_EQ(f.Main().GetItemCount(), 2);
  // Kept on purpose: the nested cite shares the first cite's indent of 10, not 15.
  EXPECT_EQ(f.Main().GetItem(0)->ParaNo, f.Main().GetItem(1)->ParaNo);
  EXPECT_EQ(f.Style.ParaStyles()[f.Main().GetItem(1)->ParaNo]->LeftIndent, 10);
}

TEST(FB2RPConvertorTest, HyphenationFollowsTheStyle) {
  TBuilderFixture f;
  f.Scheme.Styles(vsSectionText).Hyphenation = true;
  f.Build(MakeBook("<section><p>молоко</p><subtitle>молоко</subtitle></section>"));
  EXPECT_EQ(TBuilderFixture::Text(f.Main()), "мо~ло~ко\nмолоко");
}

TEST(FB2RPConvertorTest, ABookNestedTooDeepIsRefusedClearly) {
  TBuilderFixture f;
  f.Builder.Limits.MaxNesting = 50;
  std::string body;
  for (int i = 0; i < 60; ++i) body += "<section>";
  body += "<p>x</p>";
  for (int i = 0; i < 60; ++i) body += "</section>";
  try {
    f.Build(MakeBook(body));
    FAIL() << "no error";
  } catch (const EFB2RPConvertError& e) {
    EXPECT_STREQ(e.what(), "The book nests its elements more levels deep than 50");
  }
  // The builder is reusable afterwards.
  f.Build(MakeBook("<section><p>ok</p></section>"));
  EXPECT_EQ(TBuilderFixture::Text(f.Main()), "ok");
}

}  // namespace
