// Shapes real books hold that the builder once skipped without a word: verses, dates and
// authors straight in a body or a section, a poem's subtitles and a block of code. Each
// small book goes through the driver end to end (LoadBook, ConvertBook, SaveWolf), its
// file is read back by the independent Wolf reader, and its text must stand on a laid-out
// page in the look of its scheme style.
#include <cctype>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/ConvertTestBooks.h"
#include "convert/PageConservation.h"
#include "convert/cFB2WolConvertor.h"
#include "platform/base/CodePages.h"
#include "richtext/layout/print/RPReportData.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"
#include "wolf/WolfFileReader.h"

namespace {

// The style a text must show: a scheme style's base font, or the section text's code font.
constexpr int32_t CodeLook = -1;

struct TExpectedText {
  const char16_t* Text;
  int32_t Look;
};

struct TLostShapeCase {
  const char* Name;
  std::string Body;
  std::vector<TExpectedText> Texts;
};

const std::vector<TLostShapeCase> LostShapeCases{
    {"lines straight in the body and nothing else",
     "<v>Only a verse</v><date>1 May 1900</date><text-author>Some Author</text-author>",
     {{u"Only a verse", vsVerse}, {u"1 May 1900", vsDate}, {u"Some Author", vsTextAuthor}}},
    {"lines straight in a section",
     "<section><p>Before.</p><v>A verse in the section</v><date>Spring</date><text-author>A. Poet</text-author>"
     "<p>After.</p></section>",
     {{u"A verse in the section", vsVerse}, {u"Spring", vsDate}, {u"A. Poet", vsTextAuthor}}},
    {"subtitles among a poem's stanzas",
     "<section><poem><stanza><v>Line one</v></stanza><subtitle>The second part</subtitle>"
     "<stanza><v>Line two</v></stanza></poem></section>",
     {{u"Line one", vsVerse}, {u"The second part", vsSubtitle}, {u"Line two", vsVerse}}},
    {"a block of code in a section",
     "<section><p>The formula:</p><code>x = 1\n  y = <emphasis>2</emphasis>\r\n\nz</code><p>After.</p></section>",
     {{u"x = 1", CodeLook}, {u"  y = ", CodeLook}, {u"z", CodeLook}}},
};

class FB2WolConvertorLostShapes : public testing::TestWithParam<TLostShapeCase> {
protected:
  FB2WolConvertorLostShapes() {
    // Every style its own size, so a text shows which style it was laid out with.
    for (int32_t style : {vsSectionText, vsVerse, vsDate, vsTextAuthor, vsSubtitle})
      Driver.Scheme.Styles(style).BaseFontSize = 10 + style;
    Driver.Scheme.Styles(vsSectionText).CodeFontName = u"Courier New";
    Driver.Scheme.Styles(vsSectionText).CodeFontSize = 9;
  }
  TSchemeTestFolder Folder;
  TFB2WolConvertor Driver;
};

// The main document's text item holding exactly that text; -1 when none does.
int32_t FindTextItem(const TCustomRPData& main, WideStringView text) {
  for (int32_t i = 0; i < main.GetItemCount(); ++i)
    if (main.IsTextItem(i) && main.GetItemTextW(i) == text) return i;
  return -1;
}

// The page (from 1) whose draw items include one of the item; 0 when no page shows it.
int32_t PageOfItem(TFB2WolConvertor& driver, int32_t itemNo) {
  TReportRPData& data = driver.Report.ReportData();
  for (int32_t page = 1; page <= driver.PageCount; ++page) {
    int32_t first = 0, part = 0, last = 0;
    data.GetPageDrawItems(page, first, part, last);
    for (int32_t d = first; d <= last; ++d)
      if (data.DrawItems[d]->ItemNo == itemNo) return page;
  }
  return 0;
}

TEST_P(FB2WolConvertorLostShapes, TheTextStandsOnAPageInItsStyle) {
  const TLostShapeCase& c = GetParam();
  Folder.Write("book.fb2", TestFB2("Lost shapes", c.Body));
  Driver.LoadBook(Folder.Wide("book.fb2"));
  Driver.ConvertBook();
  Driver.SaveWolf(Folder.Wide("book.wol"));
  ASSERT_GE(Driver.PageCount, 1);
  const TReadWolfBook wol = ReadWolfFile(Folder, "book.wol");
  ASSERT_NO_FATAL_FAILURE(ExpectPageImages(wol, Driver.PageCount, 2, 600, 800));
  ExpectEveryCharacterOnSomePage(Driver);

  const TCustomRPData& main = Driver.Report.RichPane().RPData();
  const TVoDaziStyle& sectionText = Driver.Scheme.Styles(vsSectionText);
  for (const TExpectedText& expected : c.Texts) {
    SCOPED_TRACE(WideToAnsi(expected.Text, CP_UTF8));
    const int32_t itemNo = FindTextItem(main, expected.Text);
    ASSERT_GE(itemNo, 0);
    EXPECT_GE(PageOfItem(Driver, itemNo), 1);
    const TFontInfo& font = *Driver.Style.TextStyles()[main.GetItem(itemNo)->StyleNo];
    if (expected.Look == CodeLook) {
      EXPECT_EQ(font.FontName, "Courier New");
      EXPECT_EQ(font.Size, sectionText.CodeFontSize);
    } else {
      EXPECT_EQ(font.Size, Driver.Scheme.Styles(expected.Look).BaseFontSize);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Books, FB2WolConvertorLostShapes, testing::ValuesIn(LostShapeCases),
                         [](const testing::TestParamInfo<TLostShapeCase>& info) {
                           std::string name;
                           for (const char* p = info.param.Name; *p; ++p)
                             if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
                           return name;
                         });

class FB2WolConvertorTables : public testing::Test {
protected:
  // Converts the book, keeps its Wolf file read back.
  void ConvertAndSave(const std::string& book) {
    Folder.Write("book.fb2", book);
    Driver.LoadBook(Folder.Wide("book.fb2"));
    Driver.ConvertBook();
    Driver.SaveWolf(Folder.Wide("book.wol"));
    ASSERT_GE(Driver.PageCount, 1);
    Wol = ReadWolfFile(Folder, "book.wol");
    ASSERT_NO_FATAL_FAILURE(ExpectPageImages(Wol, Driver.PageCount, 2, Driver.Scheme.PageWidth, 800));
    ExpectEveryCharacterOnSomePage(Driver);
  }
  // The main document's tables, in order.
  std::vector<TRPTableItemInfo*> MainTables() const {
    std::vector<TRPTableItemInfo*> tables;
    const TCustomRPData& main = Driver.Report.RichPane().RPData();
    for (int32_t i = 0; i < main.GetItemCount(); ++i)
      if (auto* table = dynamic_cast<TRPTableItemInfo*>(main.GetItem(i))) tables.push_back(table);
    return tables;
  }
  TSchemeTestFolder Folder;
  TFB2WolConvertor Driver;
  TReadWolfBook Wol;
};

// The texts of a document's text items, joined.
WideString TextOf(const TCustomRPData& data) {
  WideString text;
  for (int32_t i = 0; i < data.GetItemCount(); ++i)
    if (data.IsTextItem(i)) text += data.GetItemTextW(i) + u"|";
  return text;
}

// Before: the note's table stood above the note's box, as main text.
TEST_F(FB2WolConvertorTables, ATableInANoteSitsInTheNotesBox) {
  ASSERT_NO_FATAL_FAILURE(ConvertAndSave(
      TestFB2("Note table",
              "<section><p>A word with a note<a l:href=\"#n1\" type=\"note\">1</a>.</p><p>After.</p></section></body>"
              "<body name=\"notes\"><section id=\"n1\"><title><p>1</p></title><p>Before the table.</p>"
              "<table><tr><td>Cell of the note</td></tr></table><p>After the table.</p></section>")));
  const std::vector<TRPTableItemInfo*> tables = MainTables();
  ASSERT_EQ(tables.size(), 1u);  // the note's box, nothing else
  const TRPTableItemInfo& box = *tables[0];
  const TRPTableCellData& content = *box.GetCell(0, box.Rows().GetColCount() - 1);
  EXPECT_EQ(TextOf(content), u"Before the table.|After the table.|");
  int32_t inner = -1;
  for (int32_t i = 0; i < content.GetItemCount(); ++i)
    if (dynamic_cast<const TRPTableItemInfo*>(content.GetItem(i))) inner = i;
  ASSERT_GE(inner, 0);
  const auto& table = static_cast<const TRPTableItemInfo&>(*content.GetItem(inner));
  EXPECT_EQ(TextOf(*table.GetCell(0, 0)), u"Cell of the note|");
  // In its place among the note's paragraphs, inside the box's width.
  EXPECT_EQ(content.GetItemTextW(inner - 1), u"Before the table.");
  EXPECT_EQ(content.GetItemTextW(inner + 1), u"After the table.");
  EXPECT_LE(table.GetWidth(), content.Width);
}

// Before: a table wider than the text area was cut at the page's right edge, its last
// columns lost. Now the columns share the text width and long words break in their cells.
TEST_F(FB2WolConvertorTables, AWideTableStaysInsideTheTextArea) {
  Driver.Scheme.MarginLeft = 20;
  Driver.Scheme.MarginRight = 40;
  Driver.Scheme.ShowHeader = false;
  Driver.Scheme.ShowFooter = false;
  std::string head, row;
  for (int32_t c = 0; c < 10; ++c) {
    head += "<th>Heading-number-" + std::to_string(c) + "</th>";
    row += "<td>Value" + std::to_string(c) + "_withalongtail</td>";
  }
  ASSERT_NO_FATAL_FAILURE(ConvertAndSave(TestFB2(
      "Wide table", "<section><p>Before.</p><table><tr>" + head + "</tr><tr>" + row + "</tr></table></section>")));
  const int32_t textRight = Driver.Scheme.PageWidth - Driver.Scheme.MarginRight;

  // Every draw item of the main document (the table's among them) ends inside the text area.
  const TCustomRPData& main = Driver.Report.RichPane().RPData();
  const TRPDrawLines& lines = Driver.Report.ReportData().DrawItems;
  bool tableDrawn = false;
  for (int32_t i = 0; i < lines.Count(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_LE(lines[i]->Left + lines[i]->Width, textRight);
    tableDrawn = tableDrawn || dynamic_cast<const TRPTableItemInfo*>(main.GetItem(lines[i]->ItemNo));
  }
  EXPECT_TRUE(tableDrawn);
  // Every column kept its text.
  const std::vector<TRPTableItemInfo*> tables = MainTables();
  ASSERT_EQ(tables.size(), 1u);
  for (int32_t r = 0; r < 2; ++r)
    for (int32_t c = 0; c < 10; ++c) {
      SCOPED_TRACE(testing::Message() << "cell " << r << "," << c);
      const TRPTableCellData& cell = *tables[0]->GetCell(r, c);
      EXPECT_NE(TextOf(cell).find(r == 0 ? u"Heading-number-" : u"Value"), WideString::npos);
      // Its lines wrap inside it, long words broken.
      for (int32_t d = 0; d < cell.DrawItems.Count(); ++d)
        EXPECT_LE(cell.DrawItems[d]->Left + cell.DrawItems[d]->Width, cell.Width);
    }
  // And nothing is inked right of the text area on the stored pages.
  for (size_t page = 0; page < Wol.Images.size(); ++page) {
    SCOPED_TRACE(page);
    const TReadWolfImage& image = Wol.Images[page];
    const std::vector<uint8_t> pixels = DecodeWolfImagePixels(image.Encoded, image.Width, image.Height, image.BitCount);
    int32_t inked = 0;
    for (int32_t y = 0; y < image.Height; ++y)
      for (int32_t x = textRight; x < image.Width; ++x) inked += pixels[static_cast<size_t>(y * image.Width + x)] < 3;
    EXPECT_EQ(inked, 0);
  }
}

// A block of code keeps its lines: each starts a new line of one paragraph, an empty
// line holds a blank, and the breaks around the block's text are dropped.
TEST(FB2WolConvertorCodeBlock, KeepsItsLinesInOneParagraph) {
  TSchemeTestFolder folder;
  TFB2WolConvertor driver;
  folder.Write("code.fb2",
               TestFB2("Code", "<section><code>\nx = 1\n  y = <emphasis>2</emphasis>\r\n\nz\n</code></section>"));
  driver.LoadBook(folder.Wide("code.fb2"));
  driver.ConvertBook();
  const TCustomRPData& main = driver.Report.RichPane().RPData();
  const int32_t first = FindTextItem(main, u"x = 1");
  ASSERT_GE(first, 0);
  ASSERT_GE(main.GetItemCount(), first + 5);
  struct TLine {
    const char16_t* Text;
    bool NewLine;
  };
  const TLine lines[] = {{u"x = 1", false}, {u"  y = ", true}, {u"2", false}, {u" ", true}, {u"z", true}};
  for (int32_t i = 0; i < 5; ++i) {
    SCOPED_TRACE(i);
    const TCustomRPItemInfo& item = *main.GetItem(first + i);
    EXPECT_EQ(main.GetItemTextW(first + i), lines[i].Text);
    EXPECT_EQ(item.GetLineBreakBefore(), lines[i].NewLine);
    EXPECT_EQ(item.StartsParagraph(), i == 0);
  }
  // Nothing of the block after its last line.
  EXPECT_TRUE(main.GetItemCount() == first + 5 || main.GetItem(first + 5)->StartsParagraph());
}

}  // namespace
