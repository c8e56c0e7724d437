// Pictures on the pages of converted books: a picture taller than the page keeps its last
// rows between the header and the footer, and a picture in a note or a table's cell
// stays inside its box. Each book goes through the driver end to end and its pages are
// read back by the independent Wolf reader and looked at pixel by pixel: the pictures
// are black, so a picture's row is a run of black pixels exactly as wide as the picture.
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/ConvertTestBooks.h"
#include "convert/cFB2WolConvertor.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"
#include "wolf/WolfFileReader.h"

namespace {

// Where a black picture of a given width shows on a page: its rows, the first and the
// last, and the left edge of its first row.
struct TPictureRows {
  int32_t Count = 0;
  int32_t First = -1;
  int32_t Last = -1;
  int32_t Left = -1;
};

TPictureRows FindPictureRows(const std::vector<uint8_t>& levels, int32_t width, int32_t height, int32_t pictureWidth) {
  TPictureRows rows;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width;) {
      int32_t run = 0;
      while (x + run < width && levels[static_cast<size_t>(y * width + x + run)] == 0) ++run;
      if (run == pictureWidth) {
        if (rows.Count++ == 0) {
          rows.First = y;
          rows.Left = x;
        }
        rows.Last = y;
        break;
      }
      x += run + 1;
    }
  return rows;
}

class FB2WolConvertorPictures : public testing::Test {
protected:
  // Converts the book (body as TestFB2 takes it, with the black pictures) and reads back
  // the levels of its pages.
  void ConvertAndRead(const std::string& body) {
    TReadWolfBook wol;
    ASSERT_NO_FATAL_FAILURE(
        ConvertBookAndReadBack(Driver, Folder, TestFB2("Pictures", body, "UTF-8", BlackPngBinaries()), wol));
    Pages.clear();
    for (const TReadWolfImage& image : wol.Images)
      Pages.push_back(DecodeWolfImagePixels(image.Encoded, image.Width, image.Height, image.BitCount));
  }
  // The one picture of a document.
  static const TGraphic& PictureOf(const TCustomRPData& data) {
    for (int32_t i = 0; i < data.GetItemCount(); ++i)
      if (const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(data.GetItem(i))) return *picture->Image;
    throw std::runtime_error("no picture in the document");
  }
  // The one table of the main document.
  const TRPTableItemInfo& MainTable() const {
    const TCustomRPData& main = Driver.Report.RichPane().RPData();
    for (int32_t i = 0; i < main.GetItemCount(); ++i)
      if (const auto* table = dynamic_cast<const TRPTableItemInfo*>(main.GetItem(i))) return *table;
    throw std::runtime_error("no table in the main document");
  }
  // Pixels of any page inked at or right of x.
  int32_t InkFrom(int32_t x) const {
    const int32_t width = Driver.Scheme.PageWidth;
    int32_t inked = 0;
    for (const std::vector<uint8_t>& page : Pages)
      for (size_t i = 0; i < page.size(); ++i)
        inked += static_cast<int32_t>(i % static_cast<size_t>(width)) >= x && page[i] < 3;
    return inked;
  }
  TSchemeTestFolder Folder;
  TFB2WolConvertor Driver;
  std::vector<std::vector<uint8_t>> Pages;
};

// Before: the picture was as tall as the page less its margins and stood below the
// header, so its last rows were cut off at the bottom.
TEST_F(FB2WolConvertorPictures, ATallPictureKeepsItsLastRowsOnItsPage) {
  TVoDaziScheme& s = Driver.Scheme;
  s.HeaderOnFirstPage = true;
  s.ShowFooter = true;
  s.FooterOnFirstPage = true;
  s.FooterLineSize = 1;
  s.MarginTop = 6;
  s.MarginBottom = 10;
  ASSERT_NO_FATAL_FAILURE(ConvertAndRead("<section><image l:href=\"#tall.png\"/><p>Below.</p></section>"));
  const TGraphic& picture = PictureOf(Driver.Report.RichPane().RPData());
  TPictureRows rows;
  int32_t pageNo = 0;
  while (rows.Count == 0 && pageNo < static_cast<int32_t>(Pages.size()))
    rows = FindPictureRows(Pages[static_cast<size_t>(pageNo++)], s.PageWidth, s.PageHeight, picture.Width());
  // Enlarged to the height the page leaves for text, a pixel of spacing above and below.
  ASSERT_GT(Driver.HeaderHeight(pageNo), 0);
  ASSERT_GT(Driver.FooterHeight(pageNo), 0);
  const int32_t textTop = s.MarginTop + Driver.HeaderHeight(pageNo);
  const int32_t textBottom = s.PageHeight - s.MarginBottom - Driver.FooterHeight(pageNo);
  EXPECT_EQ(picture.Height(), textBottom - textTop - 2);
  EXPECT_EQ(rows.Count, picture.Height());
  EXPECT_EQ(rows.First, textTop + 1);
  EXPECT_EQ(rows.Last, textBottom - 2);
}

// Before: the note's picture was enlarged to the page's text width and placed after the
// note's number, so the note stuck out of the text area and its text wrapped at that
// wider measure. Now the picture is as wide as the note's text, and the note's box and
// everything in it stay left of the right margin.
TEST_F(FB2WolConvertorPictures, ANotesPictureIsAsWideAsTheNotesText) {
  for (const bool numberColumn : {false, true}) {
    SCOPED_TRACE(numberColumn ? "the note's number in a column of its own" : "the note alone");
    Driver.Scheme.CopyHRefLink = numberColumn;
    Driver.Scheme.MarginLeft = 20;
    Driver.Scheme.MarginRight = 40;
    Driver.Scheme.ShowHeader = false;
    ASSERT_NO_FATAL_FAILURE(ConvertAndRead(
        "<section><p>A word with a note<a l:href=\"#n1\" type=\"note\">1</a>.</p><p>After the note.</p></section>"
        "</body><body name=\"notes\"><section id=\"n1\"><title><p>1</p></title><p>Before the picture.</p>"
        "<image l:href=\"#wide.png\"/><p>After the picture, long enough to wrap over the width of the note's box "
        "on the page more than once or twice.</p></section>"));
    const TRPTableItemInfo& note = MainTable();
    const TRPTableCellData& content = *note.GetCell(0, note.Rows().GetColCount() - 1);
    const TGraphic& picture = PictureOf(content);
    EXPECT_EQ(picture.Width() + 2, content.GetWidth());
    const int32_t textRight = Driver.Scheme.PageWidth - Driver.Scheme.MarginRight;
    EXPECT_EQ(InkFrom(textRight), 0);
    TPictureRows rows;
    for (const std::vector<uint8_t>& page : Pages)
      if (rows.Count == 0)
        rows = FindPictureRows(page, Driver.Scheme.PageWidth, Driver.Scheme.PageHeight, picture.Width());
    EXPECT_EQ(rows.Count, picture.Height());
    EXPECT_GT(rows.Left, Driver.Scheme.MarginLeft);
    EXPECT_LE(rows.Left + picture.Width(), textRight);
  }
}

// A picture wider than the page in a table's cell fits the width its cell gets when the
// table's columns share the page.
TEST_F(FB2WolConvertorPictures, ACellsPictureIsNoWiderThanItsCell) {
  Driver.Scheme.MarginRight = 40;
  ASSERT_NO_FATAL_FAILURE(ConvertAndRead(
      "<section><table><tr><td>Left words</td><td><image l:href=\"#wide.png\"/></td><td>Right words</td></tr>"
      "</table></section>"));
  const TRPTableCellData& cell = *MainTable().GetCell(0, 1);
  const TGraphic& picture = PictureOf(cell);
  EXPECT_LE(picture.Width() + 2, cell.GetWidth());
  EXPECT_EQ(InkFrom(Driver.Scheme.PageWidth - Driver.Scheme.MarginRight), 0);
  const TPictureRows rows =
      FindPictureRows(Pages[0], Driver.Scheme.PageWidth, Driver.Scheme.PageHeight, picture.Width());
  EXPECT_EQ(rows.Count, picture.Height());
}

// The pictures of a book's cells are forgotten with its layout: a document filled by
// hand afterwards is laid out without them.
TEST_F(FB2WolConvertorPictures, ALayoutAfterAResetFitsNoPicturesOfTheBookBefore) {
  ASSERT_NO_FATAL_FAILURE(ConvertAndRead(
      "<section><table><tr><td>Left words</td><td><image l:href=\"#wide.png\"/></td></tr></table></section>"));
  Driver.ResetLayout();
  Driver.Style.TextStyles()[0]->Unicode = true;
  Driver.Report.RichPane().RPData().AddTextW(u"Text put in by hand.", 0, TRPTag(), 0);
  Driver.FormatPages();
  EXPECT_EQ(Driver.PageCount, 1);
}

}  // namespace
