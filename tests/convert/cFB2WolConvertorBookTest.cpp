// Whole books through the driver as the main window runs them (LoadBook, ConvertBook,
// SaveWolf) at the default scheme and variants, read back by the independent Wolf reader:
// tests/data/convert/book.fb2 (made by make_books.py) has a cover, titles on four levels,
// an internal link, a note, a table and JPEG and PNG pictures.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "convert/ConvertTestBooks.h"
#include "convert/cFB2WolConvertor.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/table/RPTableItem.h"
#include "unicode/UniSysUtils.h"
#include "unicode/WideException.h"
#include "wolf/WolfFileReader.h"

namespace {

struct TBookCase {
  const char* Name;
  bool Zipped;
  int32_t BookColors;
  uint8_t PageRotate;
  int32_t TOCLevels;
};

const std::string BookPath = QF_TEST_DATA_DIR "/convert/book.fb2";

}  // namespace

TEST(FB2WolConvertorBook, BooksConvertEndToEnd) {
  const std::vector<TBookCase> cases = {
      {"default scheme", false, 2, 0, 3},
      {"1 bit, contents to level 2", false, 1, 0, 2},
      {"2 bits turned clockwise", false, 2, 1, 3},
      {"zipped, 1 bit turned counter-clockwise", true, 1, 2, 1},
  };
  for (const TBookCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSchemeTestFolder folder;
    const std::string name = c.Zipped ? "harbour.zip" : "harbour.fb2";
    if (c.Zipped)
      ASSERT_TRUE(WriteTestZip(folder / name, {{"notes.txt", "x", false}, {"Harbour.FB2", ReadBytes(BookPath), true}}));
    else
      folder.Write(name, ReadBytes(BookPath));

    TFB2WolConvertor driver;
    driver.Scheme.BookColors = c.BookColors;
    driver.Scheme.PageRotate = c.PageRotate;
    driver.Scheme.TOCLevels = c.TOCLevels;
    std::vector<std::pair<WideString, int32_t>> reports;
    driver.OnProgress = [&reports](const WideString& message, int32_t percent, bool&) {
      reports.emplace_back(message, percent);
    };
    driver.LoadBook(folder.Wide(name));
    driver.ConvertBook();
    driver.SaveWolf(u"");
    EXPECT_EQ(driver.FileName, folder.Wide(c.Zipped ? "Harbour.FB2" : name));
    const std::string wol = c.Zipped ? "Harbour.wol" : "harbour.wol";
    const TReadWolfBook book = ReadWolfFile(folder, wol);

    // Pages: as many images as pages, the page size (turned), the colour depth.
    ASSERT_GE(driver.PageCount, 3);
    const bool turned = c.PageRotate != 0;
    ASSERT_NO_FATAL_FAILURE(
        ExpectPageImages(book, driver.PageCount, c.BookColors, turned ? 800 : 600, turned ? 600 : 800));
    // The cover at the scheme's depth (2), turned with the pages (RotateCover).
    ASSERT_TRUE(book.HasCover);
    EXPECT_EQ(book.Cover.BitCount, 2);
    EXPECT_EQ(book.Cover.Width, turned ? 800 : 600);
    EXPECT_EQ(book.Cover.Height, turned ? 600 : 800);

    // Contents: the titles up to TOCLevels; the title four levels down never.
    std::set<std::string> titles;
    for (const TReadSubcatalogRecord& record : book.Records) titles.insert(record.Name);
    std::set<std::string> expected = {"Part One", "Part Two"};
    if (c.TOCLevels >= 2) expected.insert({"Chapter 1", "Chapter 2"});
    if (c.TOCLevels >= 3) expected.insert("Scene 1.1");
    EXPECT_EQ(titles, expected);

    // The internal link shows the page of its target, a later page.
    ASSERT_EQ(driver.Links.Sources.size(), 1u);
    const TSrcLinkItem& link = driver.Links.Sources[0];
    EXPECT_GT(link.Target->Page, 1);
    const TCustomRPData& document = link.Document ? *link.Document : driver.Report.RichPane().RPData();
    EXPECT_EQ(document.GetItemTextW(link.Key),
              TFB2WolConvertor::ExpandLinkTemplate(driver.Scheme.InternalLinksText, link.Target->Page));
    EXPECT_GE(driver.LinkPasses(), 2);

    // The book's table and the note's table; the JPEG and the PNG picture.
    const TCustomRPData& main = driver.Report.RichPane().RPData();
    int32_t tables = 0, pictures = 0;
    for (int32_t i = 0; i < main.GetItemCount(); ++i) {
      if (dynamic_cast<const TRPTableItemInfo*>(main.GetItem(i))) ++tables;
      if (dynamic_cast<const TRPGraphicItemInfo*>(main.GetItem(i))) ++pictures;
    }
    EXPECT_EQ(tables, 2);
    EXPECT_EQ(pictures, 2);

    // Stages in order, each at least once, ending with the saving stage at 100 %.
    std::vector<WideString> stages;
    for (const auto& [message, percent] : reports)
      if (stages.empty() || stages.back() != message) stages.push_back(message);
    EXPECT_EQ(stages, (std::vector<WideString>{u"Loading...", u"Converting...", u"Format pages...", u"Save WOL..."}));
    EXPECT_EQ(reports.back().second, 100);
  }
}

TEST(FB2WolConvertorBook, ABookWithoutABodyConvertsToNothing) {
  TSchemeTestFolder folder;
  folder.Write("empty.fb2", "<FictionBook><description/></FictionBook>");
  TFB2WolConvertor driver;
  driver.LoadBook(folder.Wide("empty.fb2"));
  EXPECT_FALSE(driver.HasBook());
  driver.ConvertBook();
  EXPECT_EQ(driver.PageCount, 0);
  // Saving it is this book's own error, which the batch logs before going on; no file.
  try {
    driver.SaveWolf(folder.Wide("empty.wol"));
    ADD_FAILURE() << "a book without pages was saved";
  } catch (const WideException& e) {
    EXPECT_EQ(e.WideMessage(), u"This book has nothing to put on pages.");
  }
  EXPECT_FALSE(WideFileExists(folder.Wide("empty.wol")));
}

TEST(FB2WolConvertorBook, BuildingReportsEachFinishedSection) {
  TSchemeTestFolder folder;
  folder.Write("four.fb2", TestFB2("Four",
                                   "<section><p>1</p></section><section><p>2</p></section>"
                                   "<section><p>3</p></section><section><p>4</p></section>"));
  TFB2WolConvertor driver;
  driver.LoadBook(folder.Wide("four.fb2"));
  std::vector<int32_t> percents;
  driver.OnProgress = [&percents](const WideString& message, int32_t percent, bool&) {
    if (message == u"Converting...") percents.push_back(percent);
  };
  driver.ConvertBook();
  // The stage, then 25 % per section; the builder's last report repeats the count.
  EXPECT_EQ(percents, (std::vector<int32_t>{0, 25, 50, 75, 100, 100}));
  EXPECT_EQ(driver.PageCount, 1);
}
