// Books as public collections hold them, beside the schema, through the driver end to end
// (LoadBook, ConvertBook, SaveWolf) and read back by the independent Wolf reader: text
// straight in the body, pictures whose declared type lies, damaged covers, and a book in
// a ".zip" whose name the 8-bit code page cannot hold. The books are
// tests/data/convert/shapes, written by tests/data/convert/make_books.py. And the hyphens
// of a hyphenated word on the stored pages.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "archive/ArExcept.h"
#include "convert/ConvertTestBooks.h"
#include "convert/cFB2WolConvertor.h"
#include "platform/base/CodePages.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/table/RPTableItem.h"
#include "unicode/UniSysUtils.h"
#include "wolf/WolfFileReader.h"

namespace {

std::string ShapeBook(const std::string& name) { return ReadBytes(QF_TEST_DATA_DIR "/convert/shapes/" + name); }

struct TConverted {
  TReadWolfBook Wol;
  int32_t Pictures = 0;
  int32_t Tables = 0;
  // The texts of the main document's text items, joined.
  WideString Text;
};

// The book (the file `source` of the folder) loaded, converted and saved as `target`,
// with what the document holds; converting the same driver's next book must not care.
void Convert(TFB2WolConvertor& driver, const TSchemeTestFolder& folder, const std::string& source,
             const std::string& target, TConverted& out) {
  driver.LoadBook(folder.Wide(source));
  driver.ConvertBook();
  driver.SaveWolf(folder.Wide(target));
  out.Wol = ReadWolfFile(folder, target);
  const TCustomRPData& main = driver.Report.RichPane().RPData();
  for (int32_t i = 0; i < main.GetItemCount(); ++i) {
    if (main.IsTextItem(i)) out.Text += main.GetItemTextW(i) + u"|";
    if (dynamic_cast<const TRPGraphicItemInfo*>(main.GetItem(i))) ++out.Pictures;
    if (dynamic_cast<const TRPTableItemInfo*>(main.GetItem(i))) ++out.Tables;
  }
  ASSERT_GE(driver.PageCount, 1);
  ASSERT_NO_FATAL_FAILURE(ExpectPageImages(out.Wol, driver.PageCount, 2, 600, 800));
}

class FB2WolConvertorShapes : public testing::Test {
protected:
  TSchemeTestFolder Folder;
  TFB2WolConvertor Driver;
};

// Before: "This book has nothing to put on pages." for a body without sections, and the
// text around a section lost.
TEST_F(FB2WolConvertorShapes, TextStraightInTheBodyIsConverted) {
  Folder.Write("paragraphs.fb2", ShapeBook("body_paragraphs.fb2"));
  TConverted paragraphs;
  ASSERT_NO_FATAL_FAILURE(Convert(Driver, Folder, "paragraphs.fb2", "paragraphs.wol", paragraphs));
  EXPECT_EQ(paragraphs.Text.find(u"Body Paragraphs|First words of the body.|"), 0u);
  EXPECT_NE(paragraphs.Text.find(u"|Last words of the body.|"), WideString::npos);
  EXPECT_GE(paragraphs.Wol.Images.size(), 2u);

  Folder.Write("mixed.fb2", ShapeBook("body_mixed.fb2"));
  TConverted mixed;
  ASSERT_NO_FATAL_FAILURE(Convert(Driver, Folder, "mixed.fb2", "mixed.wol", mixed));
  // Everything in its place: the body's text, the note after its paragraph, the section,
  // and the text after it.
  size_t at = 0;
  for (const WideString text : {u"First words of the body.|", u"A verse in the body,|", u"and another one.|",
                                u"Evening|", u"A paragraph with a note|1|.|", u"The only section|",
                                u"Words quoted in the body.|", u"Someone|", u"Last words of the body.|"}) {
    SCOPED_TRACE(WideToAnsi(text, CP_UTF8));
    const size_t found = mixed.Text.find(text, at);
    ASSERT_NE(found, WideString::npos);
    at = found + text.size();
  }
  EXPECT_EQ(mixed.Tables, 2);  // the note's table and the body's table
  EXPECT_FALSE(mixed.Wol.Records.empty());
}

// Before: "Not a JPEG file: starts with 0x89 0x50" for the cover, and the whole book failed.
TEST_F(FB2WolConvertorShapes, PicturesWhoseDeclaredTypeLiesAreDecodedByTheirBytes) {
  Folder.Write("mislabelled.fb2", ShapeBook("mislabelled_pictures.fb2"));
  TConverted book;
  ASSERT_NO_FATAL_FAILURE(Convert(Driver, Folder, "mislabelled.fb2", "mislabelled.wol", book));
  ASSERT_TRUE(book.Wol.HasCover);
  EXPECT_EQ(book.Wol.Cover.Width, 600);
  EXPECT_EQ(book.Wol.Cover.Height, 800);
  EXPECT_EQ(book.Pictures, 2);
}

// Before: the decoder's exception ended the book. Now it is written as a book without a
// cover; the damaged picture in the text is skipped and the good one kept.
TEST_F(FB2WolConvertorShapes, ABookWithADamagedCoverIsWrittenWithoutOne) {
  for (const char* name : {"damaged_cover_pasted.fb2", "damaged_cover_cut.fb2"}) {
    SCOPED_TRACE(name);
    Folder.Write("damaged.fb2", ShapeBook(name));
    TConverted book;
    ASSERT_NO_FATAL_FAILURE(Convert(Driver, Folder, "damaged.fb2", "damaged.wol", book));
    EXPECT_FALSE(book.Wol.HasCover);
    EXPECT_FALSE(Driver.CoverBitmap);
    EXPECT_EQ(book.Pictures, 1);
    // The cover really is one no decoder takes.
    TBitmap cover;
    EXPECT_ANY_THROW(Driver.Book.LoadCoverImage(cover, 100, 100, false, 2));
  }
  // The same driver then writes the next book with its cover.
  Folder.Write("good.fb2", ShapeBook("mislabelled_pictures.fb2"));
  TConverted good;
  ASSERT_NO_FATAL_FAILURE(Convert(Driver, Folder, "good.fb2", "good.wol", good));
  EXPECT_TRUE(good.Wol.HasCover);
}

// Before: "File not found", the name having passed through code page 1251.
TEST_F(FB2WolConvertorShapes, AZipWhoseNameTheCodePageCannotHoldIsRead) {
  ASSERT_TRUE(WriteTestZip(Folder / "书.zip", {{"readme.txt", "x", false},
                                               {"book.fb2", ReadBytes(QF_TEST_DATA_DIR "/convert/book.fb2"), true}}));
  TConverted book;
  ASSERT_NO_FATAL_FAILURE(Convert(Driver, Folder, "书.zip", "书.wol", book));
  EXPECT_EQ(Driver.FileName, Folder.Wide("book.fb2"));
  EXPECT_EQ(Driver.Description.Title, u"Harbour Lights");
  EXPECT_TRUE(book.Wol.HasCover);
  // A missing archive of such a name is still the archive's own error.
  EXPECT_THROW(Driver.LoadBook(Folder.Wide("书书.zip")), EArFileNotFound);
  EXPECT_FALSE(Driver.HasBook());
}

// A book is opened by what its bytes are: a zip archive (".fbz" as FB2 tools write it, or
// any other name) and an XML book under any extension. Before: a ".fbz" was read as XML
// and refused, and only a ".zip" was opened as an archive.
TEST_F(FB2WolConvertorShapes, ABookIsOpenedByItsBytesWhateverItsExtension) {
  const std::string book = TestFB2("By Its Bytes", "<section><p>Opened by its bytes.</p></section>");
  struct TCase {
    const char* Name;
    bool Zip;
  };
  for (const TCase& c :
       {TCase{"book.fbz", true}, TCase{"book.FBZ", true}, TCase{"book.bin", true}, TCase{"book.fb2", true},
        TCase{"book.zip", false}, TCase{"book.txt", false}, TCase{"book", false}}) {
    SCOPED_TRACE(c.Name);
    if (c.Zip)
      ASSERT_TRUE(WriteTestZip(Folder / c.Name, {{"inner.fb2", book, true}}));
    else
      Folder.Write(c.Name, book);
    TConverted converted;
    ASSERT_NO_FATAL_FAILURE(Convert(Driver, Folder, c.Name, "book.wol", converted));
    EXPECT_EQ(Driver.Description.Title, u"By Its Bytes");
    EXPECT_NE(converted.Text.find(u"Opened by its bytes.|"), WideString::npos);
    EXPECT_EQ(Driver.FileName, Folder.Wide(c.Zip ? "inner.fb2" : c.Name));
  }
  // A missing file still fails as before: the archive's error for a ".zip", else the file's.
  EXPECT_THROW(Driver.LoadBook(Folder.Wide("missing.zip")), EArFileNotFound);
  EXPECT_THROW(Driver.LoadBook(Folder.Wide("missing.fbz")), EWideFOpenError);
  EXPECT_FALSE(Driver.HasBook());
}

// A hyphenated word on a narrow page: every line that breaks after a soft hyphen shows
// the hyphen on the stored page. Before: the line ended without it ("тиши" / "на").
TEST_F(FB2WolConvertorShapes, HyphenatedWordsShowTheirHyphenOnThePages) {
  Driver.Scheme.PageWidth = 90;
  Driver.Scheme.PageHeight = 300;
  Driver.Scheme.BookColors = 1;
  Driver.Scheme.Styles(vsSectionText).Hyphenation = true;
  Folder.Write("word.fb2", TestFB2("Word", "<section><p>Высокопревосходительство тишина</p></section>"));
  Driver.LoadBook(Folder.Wide("word.fb2"));
  Driver.ConvertBook();
  Driver.SaveWolf(Folder.Wide("word.wol"));
  ASSERT_EQ(Driver.PageCount, 1);
  const TReadWolfBook wol = ReadWolfFile(Folder, "word.wol");
  const TReadWolfImage& image = wol.PageImage(0);
  const std::vector<uint8_t> ink = DecodeWolfImagePixels(image.Encoded, image.Width, image.Height, image.BitCount);

  const TCustomRPData& main = Driver.Report.RichPane().RPData();
  const TRPDrawLines& lines = Driver.Report.ReportData().DrawItems;
  TBitmap measure;
  measure.SetPixelFormat(pf1bit);
  measure.SetSize(1, 1);
  int32_t hyphens = 0;
  for (int32_t i = 0; i < lines.Count(); ++i) {
    const TRPDrawLineInfo& d = *lines[i];
    if (!main.IsTextItem(d.ItemNo)) continue;
    const WideString text = main.GetItemTextW(d.ItemNo);
    if (text[static_cast<size_t>(d.Offs + d.Length - 2)] != u'\u00AD') continue;
    SCOPED_TRACE(i);
    ++hyphens;
    Driver.Style.ApplyStyle(*measure.Canvas(), main.GetItem(d.ItemNo)->StyleNo, rpbdUnspecified, false);
    const int32_t hyphenWidth = measure.Canvas()->TextWidth("-");
    int32_t dots = 0;
    for (int32_t y = d.Top; y < d.Top + d.Height; ++y)
      for (int32_t x = d.Left + d.Width - hyphenWidth; x < d.Left + d.Width; ++x)
        dots += ink[static_cast<size_t>(y * image.Width + x)];
    EXPECT_GT(dots, 0);
  }
  EXPECT_GE(hyphens, 2);
}

}  // namespace
