// Books converted by the driver end to end keep every character on their pages, inside the
// page's text area and inside its cell (ExpectEveryCharacterOnSomePage): small books of the
// shapes that lost text on their way to the pages, and the books other tests read. And the
// check itself finds what a page leaves out.
#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "convert/ConvertTestBooks.h"
#include "convert/PageConservation.h"
#include "convert/cFB2WolConvertor.h"
#include "platform/base/Streams.h"

namespace {

// count repetitions of make(i), i from 1.
std::string Repeated(int32_t count, const std::function<std::string(int32_t)>& make) {
  std::string out;
  for (int32_t i = 1; i <= count; ++i) out += make(i);
  return out;
}

std::string Number(int32_t i) { return std::to_string(i); }

// A test name made of the letters and digits of text.
std::string ConservationTestName(const char* text) {
  std::string name;
  for (const char* p = text; *p; ++p)
    if (std::isalnum(static_cast<unsigned char>(*p))) name += *p;
  return name;
}

// A table of rows rows whose first cell spans all of them and holds spanText; each row
// has a cell of its own beside it.
std::string SpanningTable(int32_t rows, const std::string& spanText) {
  return "<table><tr><td rowspan=\"" + Number(rows) + "\">" + spanText + "</td><td>Row 1 of " + Number(rows) +
         "</td></tr>" +
         Repeated(rows - 1,
                  [rows](int32_t i) { return "<tr><td>Row " + Number(i + 1) + " of " + Number(rows) + "</td></tr>"; }) +
         "</table>";
}

// A word with a note of 40 lines, longer than a page.
std::string ConservationLongNoteBook() {
  return "<section><p>A word with a note<a l:href=\"#n1\" type=\"note\">1</a>.</p><p>After the word.</p></section>"
         "</body><body name=\"notes\"><section id=\"n1\"><title><p>1</p></title>" +
         Repeated(40, [](int32_t i) { return "<p>Note line " + Number(i) + " goes on and on.</p>"; }) + "</section>";
}

struct TConservationCase {
  const char* Name;
  std::string Body;
  std::string Binaries = "";
  std::function<void(TVoDaziScheme&)> Scheme = [](TVoDaziScheme&) {};
};

const std::vector<TConservationCase> ConservationCases{
    // More columns than the page's width holds at their words' widths: the table shrinks
    // to the page and the words wrap or break inside their cells.
    {"a table shrunk to the page width",
     "<section><p>Before the table.</p><table><tr>" +
         Repeated(12, [](int32_t c) { return "<th>Head" + Number(c) + "</th>"; }) + "</tr><tr>" +
         Repeated(12, [](int32_t c) { return "<td>Значение" + Number(c) + "</td>"; }) + "</tr>" +
         Repeated(3,
                  [](int32_t r) {
                    return "<tr>" +
                           Repeated(12, [r](int32_t c) { return "<td>R" + Number(r) + "C" + Number(c) + "</td>"; }) +
                           "</tr>";
                  }) +
         "</table><p>After the table.</p></section>"},
    // A picture enlarged to the width of the note's box, not to the page's: the note's
    // text wraps inside the box.
    {"a note holding a picture",
     "<section><p>A word with a note<a l:href=\"#n1\" type=\"note\">1</a>.</p><p>After the note.</p></section>"
     "</body><body name=\"notes\"><section id=\"n1\"><title><p>1</p></title><p>The note before its picture.</p>"
     "<image l:href=\"#wide.png\"/><p>The note after its picture, long enough to wrap over the width of the "
     "note's box on the page.</p></section>",
     BlackPngBinaries()},
    // Taller than the page: the picture fits the height between the header and the footer.
    {"a tall picture between a header and a footer",
     "<section><p>Above the picture.</p><image l:href=\"#tall.png\"/><p>Below the picture.</p></section>",
     BlackPngBinaries(),
     [](TVoDaziScheme& s) {
       s.HeaderOnFirstPage = true;
       s.ShowFooter = true;
       s.FooterOnFirstPage = true;
       s.FooterLineSize = 1;
     }},
    // Justified lines holding Hebrew and Arabic words: each word a draw item, the words
    // laid out in the order the line reads.
    {"justified lines of Latin, Hebrew and Arabic words",
     "<section><p>" +
         Repeated(6,
                  [](int32_t i) {
                    return "Latin" + Number(i) +
                           " \u05E9\u05B8\u05C1\u05DC\u05D5\u05B9\u05DD \u05E2\u05D5\u05DC\u05DD "
                           "\u0645\u0631\u062D\u0628\u0627 12 \u0628\u0627\u0644\u0639\u0627\u0644\u0645 "
                           "words run on. ";
                  }) +
         "</p></section>",
     "", [](TVoDaziScheme& s) { s.Styles(vsSectionText).Alignment = rpaJustify; }},
    // Wider than the page: the picture fits its cell, whose columns share the page's width.
    {"a picture in a table's cell",
     "<section><table><tr><td>Left words</td><td><image l:href=\"#wide.png\"/></td><td>Right words</td></tr>"
     "</table></section>",
     BlackPngBinaries()},
    // A cell spanning the 30 rows of a table taller than its page (rows 25 to 30 were on
    // no page).
    {"a cell spanning every row of a table taller than a page",
     "<section><p>Before the table.</p>" + SpanningTable(30, "Spanning cell") + "<p>After the table.</p></section>", "",
     [](TVoDaziScheme& s) { s.PageHeight = 480; }},
    // The same after rows of their own: the spanning rows go on from the next page.
    {"a table taller than a page spanned below plain rows",
     "<section><table><tr><td>Plain A</td><td>Plain B</td></tr><tr><td>Plain C</td><td>Plain D</td></tr>"
     "<tr><td rowspan=\"60\">Spanning cell</td><td>Row 1</td></tr>" +
         Repeated(59, [](int32_t i) { return "<tr><td>Row " + Number(i + 1) + "</td></tr>"; }) +
         "</table><p>After the table.</p></section>"},
    // The spanning cell's own text is taller than a page: it goes on across the pieces.
    {"a spanning cell whose text is taller than a page",
     "<section><p>Before the table.</p>" +
         SpanningTable(12, Repeated(90,
                                    [](int32_t i) {
                                      return "Word" + Number(i) + " runs on and on through the spanning cell. ";
                                    })) +
         "<p>After the table.</p></section>"},
    // A note longer than a page: its table is one row, cut between the lines of its cell.
    {"a note longer than a page", ConservationLongNoteBook()},
    // The same with space before the note's block, a paragraph kept with the note: it goes
    // to the next page with the note, which starts its pieces afresh there.
    {"a note longer than a page after the space kept with it", ConservationLongNoteBook(), "",
     [](TVoDaziScheme& s) { s.Styles(vsFootnote).SpaceBefBlock = 10; }},
    // A table of one row whose cell's text is taller than a page; its short neighbour ends
    // in the first piece.
    {"a one-row table whose cell is taller than a page",
     "<section><p>Before the table.</p><table><tr><td>Short</td><td>" +
         Repeated(120, [](int32_t i) { return "Word" + Number(i) + " of the tall cell. "; }) +
         "</td></tr></table><p>After the table.</p></section>"},
};

void PrintTo(const TConservationCase& c, std::ostream* os) { *os << c.Name; }

class FB2WolConvertorConservation : public testing::TestWithParam<TConservationCase> {
protected:
  TSchemeTestFolder Folder;
  TFB2WolConvertor Driver;
};

TEST_P(FB2WolConvertorConservation, EveryCharacterStandsOnAPage) {
  const TConservationCase& c = GetParam();
  c.Scheme(Driver.Scheme);
  TReadWolfBook wol;
  ASSERT_NO_FATAL_FAILURE(
      ConvertBookAndReadBack(Driver, Folder, TestFB2("Conservation", c.Body, "UTF-8", c.Binaries), wol));
  ExpectEveryCharacterOnSomePage(Driver);
}

INSTANTIATE_TEST_SUITE_P(Books, FB2WolConvertorConservation, testing::ValuesIn(ConservationCases),
                         [](const testing::TestParamInfo<TConservationCase>& param) {
                           return ConservationTestName(param.param.Name);
                         });

// The books the other tests read, at the default scheme.
const char* const FixtureBooks[] = {"book.fb2",
                                    "shapes/body_mixed.fb2",
                                    "shapes/body_paragraphs.fb2",
                                    "shapes/damaged_cover_cut.fb2",
                                    "shapes/damaged_cover_pasted.fb2",
                                    "shapes/mislabelled_pictures.fb2",
                                    "builder/small_book.fb2"};

class FB2WolConvertorFixtureConservation : public testing::TestWithParam<const char*> {};

TEST_P(FB2WolConvertorFixtureConservation, EveryCharacterStandsOnAPage) {
  TSchemeTestFolder folder;
  TFB2WolConvertor driver;
  folder.Write("book.fb2", ReadBytes(std::string(QF_TEST_DATA_DIR "/convert/") + GetParam()));
  driver.LoadBook(folder.Wide("book.fb2"));
  driver.ConvertBook();
  ExpectEveryCharacterOnSomePage(driver);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FB2WolConvertorFixtureConservation, testing::ValuesIn(FixtureBooks),
                         [](const testing::TestParamInfo<const char*>& param) {
                           return ConservationTestName(param.param);
                         });

// The failures check() reports, caught.
std::vector<std::string> FailuresOfCheck(const std::function<void()>& check) {
  testing::TestPartResultArray results;
  {
    testing::ScopedFakeTestPartResultReporter reporter(
        testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
    check();
  }
  std::vector<std::string> messages;
  for (int i = 0; i < results.size(); ++i) messages.push_back(results.GetTestPartResult(i).message());
  return messages;
}

bool AnyHolds(const std::vector<std::string>& messages, const std::string& text) {
  for (const std::string& message : messages)
    if (message.find(text) != std::string::npos) return true;
  return false;
}

// The check finds a page left out, a text area narrower than the text, and text the
// document never got.
TEST(PageConservationCheck, FindsWhatThePagesLeaveOut) {
  TSchemeTestFolder folder;
  TFB2WolConvertor driver;
  driver.Scheme.PageHeight = 120;
  folder.Write("book.fb2", TestFB2("Check",
                                   "<section><p>First page words.</p><empty-line/><empty-line/><empty-line/>"
                                   "<empty-line/><empty-line/><empty-line/><p>Last page words.</p></section>"));
  driver.LoadBook(folder.Wide("book.fb2"));
  driver.ConvertBook();
  ASSERT_GE(driver.PageCount, 2);
  ExpectEveryCharacterOnSomePage(driver);

  const auto check = [&driver] { ExpectEveryCharacterOnSomePage(driver); };
  --driver.PageCount;
  EXPECT_TRUE(AnyHolds(FailuresOfCheck(check), "(\"Last page words.\") is on no page"));
  ++driver.PageCount;

  driver.Scheme.MarginRight = driver.Scheme.PageWidth - 40;
  EXPECT_TRUE(AnyHolds(FailuresOfCheck(check), "(\"First page words.\") at (0,"));
  driver.Scheme.MarginRight = 0;

  // The book gains a paragraph the document does not have.
  TMemoryStream more;
  const std::string bytes = TestFB2("Check", "<section><p>First page words.</p><p>\xC3\x9C</p></section>");
  more.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  more.SetPosition(0);
  driver.Book.LoadFromStream(more);
  const std::vector<std::string> failures = FailuresOfCheck(check);
  EXPECT_EQ(failures.size(), 1u);
  EXPECT_TRUE(AnyHolds(failures, "the book has 1 of \"\xC3\x9C\" (U+DC), the document 0"));
}

}  // namespace
