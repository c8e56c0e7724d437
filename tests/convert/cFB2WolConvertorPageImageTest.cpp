// Pages as a device shows them: books written by the driver, read back by the independent
// Wolf reader, their page images decoded and compared pixel for pixel with expected
// images (PNG files under tests/data/convert/pages, written only by
// scripts/regenerate-book-page-goldens.sh and checked by eye).
#include <cstdlib>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "convert/ConvertTestBooks.h"
#include "convert/cFB2WolConvertor.h"
#include "imaging/png/PngCodec.h"
#include "platform/base/Streams.h"
#include "wolf/WolfFileReader.h"

namespace {

struct TPageCase {
  const char* Name;
  int32_t PageNo;
  std::function<void(TVoDaziScheme&)> Scheme;
  // Else six paragraphs put into the document by the test.
  bool FromBook = false;
  // Else (and not FromBook) a book of this body (TestFB2).
  std::string Body = {};
};

// A row of count cells of the element tag ("td", "th"), the cell c holding text(c).
std::string TableRow(const char* tag, int32_t count, const std::function<std::string(int32_t)>& text) {
  std::string row = "<tr>";
  for (int32_t c = 1; c <= count; ++c) row += std::string("<") + tag + ">" + text(c) + "</" + tag + ">";
  return row + "</tr>";
}

// A page 280 by 180 pixels without a header, the tables' text at 9 points.
void SmallTablePage(TVoDaziScheme& s) {
  s.PageWidth = 280;
  s.PageHeight = 180;
  s.MarginLeft = s.MarginRight = 8;
  s.ShowHeader = false;
  s.Styles(vsTableHead).BaseFontSize = 9;
  s.Styles(vsTableText).BaseFontSize = 9;
}

std::string SpanningTableBook() {
  std::string words;
  for (int32_t i = 1; i <= 40; ++i) words += "Line" + std::to_string(i) + " of the spanning cell. ";
  std::string table = "<table><tr><td rowspan=\"8\">" + words + "</td><td>Row 1</td></tr>";
  for (int32_t r = 2; r <= 8; ++r) table += "<tr><td>Row " + std::to_string(r) + "</td></tr>";
  return "<section><p>Before.</p>" + table + "</table><p>After.</p></section>";
}

// A note of 16 lines, longer than the small page, after a page of text.
std::string LongNotePagesBook() {
  std::string note;
  for (int32_t i = 1; i <= 16; ++i) note += "<p>Note line " + std::to_string(i) + ".</p>";
  return "<section><p>A word with a note<a l:href=\"#n1\" type=\"note\">1</a>.</p></section></body>"
         "<body name=\"notes\"><section id=\"n1\"><title><p>1</p></title>" +
         note + "</section>";
}

// A table of one row whose second cell's text (30 lines) is taller than the small page.
std::string TallRowPagesBook() {
  std::string words;
  for (int32_t i = 1; i <= 30; ++i) words += "Word" + std::to_string(i) + " of the tall cell. ";
  return "<section><p>Before.</p><table><tr><td>Short</td><td>" + words + "</td></tr></table><p>After.</p></section>";
}

const TPageCase PageCases[] = {
    // Header with the title left and "%P/%C" right, one rule; footer; four grays.
    {"header_footer_2bit", 2,
     [](TVoDaziScheme& s) {
       s.ShowFooter = true;
       s.FooterLeftOddText = u"%A";
       s.FooterLineSize = 2;
     }},
    // A 1-bit book turned clockwise: the header runs down the right edge.
    {"turned_1bit", 2,
     [](TVoDaziScheme& s) {
       s.BookColors = 1;
       s.PageRotate = 1;
     }},
    // tests/data/convert/book.fb2 at the default scheme, page 4: even header, text, the PNG
    // picture enlarged to the width, the title of Part Two.
    {"book_default_scheme", 4, [](TVoDaziScheme&) {}, true},
    // A table of six columns on a page 280 pixels wide: it shrinks to the page and each
    // cell's words wrap, or break, inside the cell.
    {"shrunk_table", 1, SmallTablePage, false,
     "<section><table>" + TableRow("th", 6, [](int32_t c) { return "Head" + std::to_string(c); }) +
         TableRow("td", 6, [](int32_t) { return std::string("Значение"); }) +
         TableRow("td", 6, [](int32_t c) { return "R1C" + std::to_string(c); }) + "</table><p>After.</p></section>"},
    // A cell spanning the eight rows of a table taller than a page, its own text taller
    // than a page too: the rows go on over pages, and the cell's lines go on from the top
    // of its piece on each page, none cut at a page's bottom. Pages 2 and 3 of 4.
    {"spanning_table_page2", 2, SmallTablePage, false, SpanningTableBook()},
    {"spanning_table_page3", 3, SmallTablePage, false, SpanningTableBook()},
    // A note longer than a page, and a table of one row whose cell's text is taller than
    // a page: each starts the next page and goes on over pages between the lines of its
    // row, every page showing the next lines from the top of the cell; the short cell
    // beside the tall one ends on the first of them, the text after the table follows the
    // last. The first and the last page of each.
    {"long_note_page2", 2, SmallTablePage, false, LongNotePagesBook()},
    {"long_note_page4", 4, SmallTablePage, false, LongNotePagesBook()},
    {"tall_row_page2", 2, SmallTablePage, false, TallRowPagesBook()},
    {"tall_row_page4", 4, SmallTablePage, false, TallRowPagesBook()},
};

void PrintTo(const TPageCase& c, std::ostream* os) { *os << c.Name; }

std::string GoldenPath(const std::string& name) { return QF_TEST_DATA_DIR "/convert/pages/" + name; }

class FB2WolConvertorPageImage : public testing::TestWithParam<TPageCase> {};

TEST_P(FB2WolConvertorPageImage, DecodedPageMatchesTheExpectedImage) {
  const TPageCase& c = GetParam();
  TSchemeTestFolder folder;
  TFB2WolConvertor driver;
  TVoDaziScheme& s = driver.Scheme;
  if (c.FromBook || !c.Body.empty()) {
    c.Scheme(s);
    folder.Write("book.fb2",
                 c.FromBook ? ReadBytes(QF_TEST_DATA_DIR "/convert/book.fb2") : TestFB2("Golden pages", c.Body));
    driver.LoadBook(folder.Wide("book.fb2"));
    driver.ConvertBook();
  } else {
    s.PageWidth = 200;
    s.PageHeight = 150;
    s.MarginLeft = s.MarginRight = 8;
    s.Styles(vsHeader).BaseFontSize = 9;
    s.Styles(vsFooter).BaseFontSize = 9;
    c.Scheme(s);
    driver.Description.Title = u"Golden pages";
    driver.Description.Authors = u"A. Writer";
    driver.Style.TextStyles()[0]->Unicode = true;
    for (int32_t i = 0; i < 6; ++i)
      driver.Report.RichPane().RPData().AddTextW(
          u"Страница " + WideString(1, u'1' + i) + u": words that wrap over the narrow page.", 0, TRPTag(), 0);
    driver.FormatPages();
  }
  ASSERT_GE(driver.PageCount, c.PageNo);
  driver.SaveWolf(folder.Wide("book.wol"));
  const TReadWolfBook book = ReadWolfFile(folder, "book.wol");
  const TReadWolfImage& image = book.PageImage(static_cast<size_t>(c.PageNo - 1));
  const std::vector<uint8_t> levels = DecodeWolfImagePixels(image.Encoded, image.Width, image.Height, image.BitCount);

  // Gray of a stored level: 1 bit: 1 black; 2 bits: 0 darkest .. 3 white.
  auto grayOf = [&image](uint8_t level) -> uint8_t {
    return image.BitCount == 1 ? (level ? 0 : 255) : static_cast<uint8_t>(level * 85);
  };
  const std::string name = std::string(c.Name) + ".png";
  if (std::getenv("QF_REGENERATE_GOLDEN")) {
    TBitmap page;
    page.SetPixelFormat(pf24bit);
    page.SetSize(image.Width, image.Height);
    for (int32_t y = 0; y < image.Height; ++y)
      for (int32_t x = 0; x < image.Width; ++x) {
        const uint8_t g = grayOf(levels[static_cast<size_t>(y * image.Width + x)]);
        page.SetPixelColor(x, y, RGB(g, g, g));
      }
    TPNGObject png;
    png.Assign(page);
    TMemoryStream stream;
    png.SaveToStream(stream);
    stream.SaveToFile(GoldenPath(name));
  }
  TMemoryStream stream;
  stream.LoadFromFile(GoldenPath(name));
  TPNGObject expected;
  expected.LoadFromStream(stream);
  ASSERT_EQ(expected.Width(), image.Width);
  ASSERT_EQ(expected.Height(), image.Height);
  int32_t differing = 0;
  for (int32_t y = 0; y < image.Height; ++y)
    for (int32_t x = 0; x < image.Width; ++x) {
      const uint8_t g = grayOf(levels[static_cast<size_t>(y * image.Width + x)]);
      if (expected.GetPixel(x, y) != static_cast<TColor>(RGB(g, g, g))) ++differing;
    }
  EXPECT_EQ(differing, 0);
}

INSTANTIATE_TEST_SUITE_P(Pages, FB2WolConvertorPageImage, testing::ValuesIn(PageCases),
                         [](const testing::TestParamInfo<TPageCase>& param) { return param.param.Name; });

}  // namespace
