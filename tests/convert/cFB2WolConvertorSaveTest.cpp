// Rendering and saving: templates, bands, whole books written and read back by the
// independent Wolf reader, progress, Break, and encoding on worker threads.
#include <dirent.h>
#include <unistd.h>

#include <set>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "convert/ConvertTestBooks.h"
#include "convert/cFB2WolConvertor.h"
#include "platform/base/CodePages.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/table/RPTableItem.h"
#include "unicode/WideException.h"
#include "wolf/WolfFileReader.h"

namespace {

// A document of `paragraphs` paragraphs; every tenth starts a chapter with a checkpoint
// whose tag is its level (1, 2, 3 in turn) and whose name is its title.
void FillDocument(TFB2WolConvertor& driver, int32_t paragraphs) {
  TReportRichPane& pane = driver.Report.RichPane();
  for (int32_t i = 0; i < paragraphs; ++i) {
    if (i % 10 == 0) {
      const int32_t level = i / 10 % 3 + 1;
      pane.AddNamedCheckpoint("Chapter " + std::to_string(i / 10), false, TRPTag::FromNumber(level));
    }
    pane.AddTextNL("Paragraph " + std::to_string(i) +
                       " holds enough words to fill a few lines of the page, so that the pages break "
                       "between lines as a book's pages do, again and again and again.",
                   0, 0, 0);
  }
}

std::vector<std::string> FolderFiles(const TempFolder& folder) {
  std::vector<std::string> names;
  DIR* dir = opendir(folder.Path().c_str());
  while (dirent* entry = readdir(dir))
    if (entry->d_name[0] != '.') names.emplace_back(entry->d_name);
  closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

TEST(FB2WolConvertorSave, TemplatesExpandTheirPlaceholders) {
  TFB2WolConvertor driver;
  driver.PageCount = 120;
  driver.Description.Authors = u"Ann Writer";
  const std::vector<std::pair<WideString, WideString>> cases = {
      {u"%P/%C", u"7/120"}, {u"%A: %T", u"Ann Writer: (no title)"},
      {u"100%%", u"100%"},  {u"%x %p %", u"%x %p %"},
      {u"", u""},           {u"%%P", u"%P"},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(WideToAnsi(text));
    EXPECT_EQ(driver.ExpandPageTemplate(text, 7), expected);
  }
  EXPECT_EQ(TFB2WolConvertor::ExpandLinkTemplate(u" (p.%P, %C %T %%)", 12), u" (p.12, %C %T %)");
  driver.Description.Authors.clear();
  driver.Description.Title = u"Title";
  EXPECT_EQ(driver.ExpandPageTemplate(u"%A|%T", 1), u"(no author)|Title");
}

struct TSchemeCase {
  const char* Name;
  int32_t BookColors;
  uint8_t PageRotate;
  int32_t TOCLevels;
};

TEST(FB2WolConvertorSave, BooksOfEachSchemeAreReadBackWhole) {
  const std::vector<TSchemeCase> cases = {
      {"2 bits", 2, 0, 3},
      {"1 bit", 1, 0, 3},
      {"2 bits turned clockwise", 2, 1, 2},
      {"1 bit turned counter-clockwise, no contents", 1, 2, 0},
  };
  for (const TSchemeCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSchemeTestFolder folder;
    TFB2WolConvertor driver;
    driver.Scheme.PageWidth = 300;
    driver.Scheme.PageHeight = 400;
    driver.Scheme.MarginLeft = driver.Scheme.MarginRight = 10;
    driver.Scheme.BookColors = c.BookColors;
    driver.Scheme.PageRotate = c.PageRotate;
    driver.Scheme.TOCLevels = c.TOCLevels;
    driver.Scheme.ShowFooter = true;
    driver.Scheme.Styles(vsHeader).BaseFontSize = 10;
    driver.Scheme.Styles(vsFooter).BaseFontSize = 10;
    driver.Description.Title = u"Книга";
    FillDocument(driver, 40);
    driver.FormatPages();
    ASSERT_GT(driver.PageCount, 2);
    driver.SaveWolf(folder.Wide("book.wol"));
    EXPECT_EQ(FolderFiles(folder), std::vector<std::string>{"book.wol"});

    const TReadWolfBook book = ReadWolfFile(folder, "book.wol");
    const bool turned = c.PageRotate != 0;
    ASSERT_NO_FATAL_FAILURE(
        ExpectPageImages(book, driver.PageCount, c.BookColors, turned ? 400 : 300, turned ? 300 : 400));
    // The title in Windows-1251, the missing author replaced.
    EXPECT_NE(book.Description.find(WideToAnsi(u"Книга", 1251)), std::string::npos);
    EXPECT_NE(book.Description.find("(no author)"), std::string::npos);
    // Four chapters at levels 1, 2, 3, 1: the builder keeps titles to TOCLevels, the
    // driver enters every checkpoint it finds.
    if (c.TOCLevels > 0) {
      ASSERT_EQ(book.Records.size(), 4u);
      EXPECT_EQ(book.Records[0].Name, "Chapter 0");
    } else {
      EXPECT_TRUE(book.Records.empty());
    }
    // Every page decodes; page 1 has ink (text), and no page is blank.
    for (size_t i = 0; i < book.Images.size(); ++i) {
      const TReadWolfImage& image = book.Images[i];
      const std::vector<uint8_t> pixels =
          DecodeWolfImagePixels(image.Encoded, image.Width, image.Height, image.BitCount);
      const uint8_t paper = c.BookColors == 1 ? 0 : 3;
      EXPECT_TRUE(std::any_of(pixels.begin(), pixels.end(), [paper](uint8_t p) { return p != paper; })) << i;
    }
  }
}

TEST(FB2WolConvertorSave, EncoderThreadsWriteTheSameFile) {
  TSchemeTestFolder folder;
  std::string files[2];
  for (int32_t threads : {0, 3}) {
    TFB2WolConvertor driver;
    driver.EncoderThreads = threads;
    driver.Scheme.PageWidth = 300;
    driver.Scheme.PageHeight = 300;
    FillDocument(driver, 60);
    driver.FormatPages();
    std::vector<int32_t> percents;
    driver.OnProgress = [&percents](const WideString&, int32_t percent, bool&) { percents.push_back(percent); };
    driver.SaveWolf(folder.Wide("book.wol"));
    EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
    EXPECT_EQ(percents.back(), 100);
    files[threads ? 1 : 0] = folder.Read("book.wol");
  }
  EXPECT_GT(files[0].size(), 1000u);
  EXPECT_TRUE(files[0] == files[1]);
  const TReadWolfBook book = ReadWolfFile(folder, "book.wol");
  EXPECT_GT(book.Images.size(), 8u);  // more pages than the pool's window of 2 x 3
}

TEST(FB2WolConvertorSave, AStreamReceivesTheFilesBytes) {
  TSchemeTestFolder folder;
  TFB2WolConvertor driver;
  EXPECT_THROW(
      {
        TMemoryStream none;
        driver.SaveWolfToStream(none);
      },
      WideException);  // no pages yet
  driver.Scheme.PageWidth = 200;
  driver.Scheme.PageHeight = 200;
  FillDocument(driver, 20);
  driver.FormatPages();
  driver.SaveWolf(folder.Wide("book.wol"));
  std::vector<WideString> stages;
  driver.OnProgress = [&stages](const WideString& message, int32_t, bool&) { stages.push_back(message); };
  TMemoryStream stream;
  driver.SaveWolfToStream(stream);
  const std::string file = folder.Read("book.wol");
  ASSERT_EQ(stream.Size(), static_cast<int64_t>(file.size()));
  EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), file.size()), file);
  ASSERT_FALSE(stages.empty());
  EXPECT_EQ(stages.front(), u"Save WOL...");
}

TEST(FB2WolConvertorSave, ProgressComesInOrderAndABreakLeavesTheOlderFile) {
  for (int32_t threads : {0, 2}) {
    SCOPED_TRACE(threads);
    TSchemeTestFolder folder;
    folder.Write("book.wol", "older book");
    TFB2WolConvertor driver;
    driver.EncoderThreads = threads;
    driver.Scheme.PageWidth = 300;
    driver.Scheme.PageHeight = 300;
    FillDocument(driver, 40);
    std::vector<std::pair<WideString, int32_t>> reports;
    driver.OnProgress = [&reports](const WideString& message, int32_t percent, bool& cancel) {
      reports.emplace_back(message, percent);
      cancel = message == u"Save WOL..." && percent >= 50;
    };
    driver.FormatPages();
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.front(), std::make_pair(WideString(u"Format pages..."), 0));
    try {
      driver.SaveWolf(folder.Wide("book.wol"));
      ADD_FAILURE() << "saved";
    } catch (const WideException& e) {
      EXPECT_EQ(e.WideMessage(), u"User break!");
    }
    EXPECT_EQ(FolderFiles(folder), std::vector<std::string>{"book.wol"});
    EXPECT_EQ(folder.Read("book.wol"), "older book");
    // Stages in order; within the saving stage, percents rise.
    size_t saving = 0;
    while (saving < reports.size() && reports[saving].first != u"Save WOL...") ++saving;
    ASSERT_LT(saving, reports.size());
    for (size_t i = saving + 1; i < reports.size(); ++i) {
      EXPECT_EQ(reports[i].first, u"Save WOL...");
      EXPECT_GE(reports[i].second, reports[i - 1].second);
    }
  }
}

TEST(FB2WolConvertorSave, AnErrorWhileSavingLeavesNoFile) {
  TSchemeTestFolder folder;
  folder.Write("book.wol", "older book");
  TFB2WolConvertor driver;
  // An empty document lays out into no page; a stage that counts nothing reports 0 %.
  std::vector<int32_t> percents;
  driver.OnProgress = [&percents](const WideString&, int32_t percent, bool&) { percents.push_back(percent); };
  driver.FormatPages();
  EXPECT_EQ(driver.PageCount, 0);
  EXPECT_EQ(driver.ProgressTotal, 0);
  // A book without pages is refused before anything is written.
  EXPECT_THROW(driver.SaveWolf(folder.Wide("book.wol")), WideException);
  EXPECT_TRUE(std::all_of(percents.begin(), percents.end(), [](int32_t p) { return p == 0; }));
  EXPECT_GE(percents.size(), 4u);
  EXPECT_EQ(FolderFiles(folder), std::vector<std::string>{"book.wol"});
  EXPECT_EQ(folder.Read("book.wol"), "older book");
}

TEST(FB2WolConvertorSave, HeaderLinesFillTheBandsLastRows) {
  TFB2WolConvertor driver;
  driver.Scheme.PageWidth = 200;
  driver.Scheme.PageHeight = 300;
  driver.Scheme.MarginLeft = 20;
  driver.Scheme.MarginRight = 30;
  driver.Scheme.BookColors = 1;
  driver.Scheme.HeaderLineSize = 3;
  driver.Scheme.Styles(vsHeader).BaseFontSize = 10;
  FillDocument(driver, 30);
  driver.FormatPages();
  ASSERT_GT(driver.PageCount, 1);
  EXPECT_EQ(driver.HeaderHeight(1), 0);  // not on the first page
  const int32_t h = driver.HeaderHeight(2);
  ASSERT_GT(h, 3);
  driver.RenderPage(2);
  const TBitmap& page = driver.PageBitmap;
  for (int32_t y = h - 3; y < h; ++y) {
    SCOPED_TRACE(y);
    EXPECT_EQ(page.PixelColor(19, y), clWhite);
    EXPECT_EQ(page.PixelColor(20, y), clBlack);
    EXPECT_EQ(page.PixelColor(169, y), clBlack);
    EXPECT_EQ(page.PixelColor(170, y), clWhite);
  }
  EXPECT_EQ(page.PixelColor(100, h - 4), clWhite);
}

TEST(FB2WolConvertorSave, LinkPageNumbersSettleAndTheFixPointIsCapped) {
  for (int32_t cap : {50, 1}) {
    SCOPED_TRACE(cap);
    TFB2WolConvertor driver;
    driver.MaxLinkPasses = cap;
    driver.Scheme.PageWidth = 300;
    driver.Scheme.PageHeight = 300;
    driver.Scheme.InternalLinksText = u" [p.%P]";
    FillDocument(driver, 40);
    TCustomRPData& document = driver.Report.RichPane().RPData();
    // Item 0 refers to the last paragraph.
    const int32_t target = document.GetItemCount() - 1;
    driver.Links.AddSource(u"end", 0);
    driver.Links.SetTarget(u"END", target);
    driver.FormatPages();
    EXPECT_EQ(driver.LinkPasses(), cap == 1 ? 1 : 2);
    EXPECT_EQ(document.GetItemTextW(0), u" [p." + WideString(1, u'0' + driver.PageCount) + u"]");
    EXPECT_EQ(driver.Links.Targets.Find(u"end")->Page, driver.PageCount);
  }
}

TEST(FB2WolConvertorSave, ACoverIsCentredInItsBoxAndWritten) {
  TSchemeTestFolder folder;
  TFB2WolConvertor driver;
  driver.LoadBook(Utf8ToWide(QF_TEST_DATA_DIR "/fb2/book-utf8-bom.fb2"));
  driver.Scheme.PageWidth = 300;
  driver.Scheme.PageHeight = 400;
  driver.Scheme.CoverTop = 50;
  driver.Scheme.EnlargeCover = false;
  driver.PrepareCover();
  ASSERT_TRUE(driver.CoverBitmap);
  EXPECT_EQ(driver.CoverBitmap->Width(), 300);
  EXPECT_EQ(driver.CoverBitmap->Height(), 400);
  // The image, not enlarged, stands centred in the box below CoverTop.
  TBitmap image;
  ASSERT_TRUE(driver.Book.LoadCoverImage(image, 300, 350, false, 2));
  const int32_t left = (300 - image.Width()) / 2, top = 50 + (350 - image.Height()) / 2;
  for (int32_t y = 0; y < 400; ++y)
    for (int32_t x = 0; x < 300; ++x) {
      const bool inside = x >= left && x < left + image.Width() && y >= top && y < top + image.Height();
      const TColor expected = inside ? image.PixelColor(x - left, y - top) : clWhite;
      if (driver.CoverBitmap->PixelColor(x, y) != expected) {
        ADD_FAILURE() << "cover pixel " << x << "," << y;
        y = 400;
        break;
      }
    }
  FillDocument(driver, 5);
  driver.FormatPages();
  driver.SaveWolf(folder.Wide("cover.wol"));
  const TReadWolfBook book = ReadWolfFile(folder, "cover.wol");
  ASSERT_TRUE(book.HasCover);
  EXPECT_EQ(book.Cover.Width, 300);
  EXPECT_EQ(book.Cover.Height, 400);
  driver.ResetLayout();
  driver.Scheme.CoverPage = 0;
  driver.PrepareCover();
  EXPECT_FALSE(driver.CoverBitmap);
}

TEST(FB2WolConvertorSave, AWindows1251BookKeepsItsTextInTheDescription) {
  TSchemeTestFolder folder;
  TFB2WolConvertor driver;
  folder.Write("war.fb2", ReadBytes(QF_TEST_DATA_DIR "/fb2/book-cp1251.fb2"));
  driver.LoadBook(folder.Wide("war.fb2"));
  EXPECT_EQ(driver.Description.Title, u"Война и мир");
  driver.Scheme.PageWidth = 200;
  driver.Scheme.PageHeight = 200;
  driver.Scheme.CoverPage = 1;
  driver.PrepareCover();  // the book's PNG cover, at 1 bit
  ASSERT_TRUE(driver.CoverBitmap);
  EXPECT_EQ(driver.CoverBitmap->PixelFormat(), pf1bit);
  FillDocument(driver, 3);
  driver.FormatPages();
  driver.SaveWolf(u"");  // beside the book: its name with ".wol"
  EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"war.fb2", "war.wol"}));
  const TReadWolfBook book = ReadWolfFile(folder, "war.wol");
  EXPECT_TRUE(book.HasCover);
  EXPECT_EQ(book.Cover.BitCount, 1);
  // Title, then the author, the publisher and the annotation, each in Windows-1251.
  size_t at = 0;
  for (const WideString& text :
       {WideString(u"Война и мир"), WideString(u"Лев Николаевич Толстой"), WideString(u"Издательство «Ёлка»"),
        WideString(u"1869"), WideString(u"Роман-эпопея")}) {
    SCOPED_TRACE(WideToAnsi(text, CP_UTF8));
    const size_t found = book.Description.find(WideToAnsi(text, 1251), at);
    ASSERT_NE(found, std::string::npos);
    at = found;
  }
}

TEST(FB2WolConvertorSave, CancelDuringTheLinkPassStopsAtItsFirstPage) {
  TFB2WolConvertor driver;
  driver.Scheme.PageWidth = 300;
  driver.Scheme.PageHeight = 300;
  FillDocument(driver, 40);
  driver.Links.AddSource(u"end", 0);
  driver.Links.SetTarget(u"end", driver.Report.RichPane().GetItemCount() - 1);
  std::vector<int32_t> percents;
  driver.OnProgress = [&percents](const WideString& message, int32_t percent, bool& cancel) {
    EXPECT_EQ(message, u"Format pages...");
    percents.push_back(percent);
    cancel = percent > 0;
  };
  try {
    driver.FormatPages();
    ADD_FAILURE() << "formatted";
  } catch (const WideException& e) {
    EXPECT_EQ(e.WideMessage(), u"User break!");
  }
  // Stage, pass start, pages laid out, then the first page of the link pass.
  EXPECT_EQ(percents, (std::vector<int32_t>{0, 0, 0, percents.back()}));
  EXPECT_GT(percents.back(), 0);
  EXPECT_EQ(driver.PageCount, 0);
  EXPECT_EQ(driver.Report.RichPane().GetItemCount(), 0);  // the layout is reset
}

// Until the builder fills documents from books, the book's own JPEG and PNG pictures (as
// the book model decodes them) and a table are put into the document here.
TEST(FB2WolConvertorSave, PicturesAndTablesGoOnPagesOfTheBook) {
  TSchemeTestFolder folder;
  TFB2WolConvertor driver;
  driver.LoadBook(Utf8ToWide(QF_TEST_DATA_DIR "/fb2/book-utf8-bom.fb2"));
  driver.Scheme.PageWidth = 240;
  driver.Scheme.PageHeight = 320;
  TCustomRPData& document = driver.Report.RichPane().RPData();
  document.AddAnsiText("Pictures and a table", 0, TRPTag(), 0);
  for (const char16_t* id : {u"cover.jpg", u"pic.png"}) {
    auto bitmap = std::make_unique<TBitmap>();
    ASSERT_TRUE(driver.Book.LoadBinaryImage(id, *bitmap, 200, 150, true, 2));
    document.AddItem("", std::make_unique<TRPGraphicItemInfo>(&document, std::move(bitmap), rpvaBaseline));
  }
  auto item = std::make_unique<TRPTableItemInfo>(40, 2, &document);
  TRPTableItemInfo& table = *item;
  document.AddItem("", std::move(item));
  table.SetCellBorderWidth(1);
  table.SetCellBorderStyle(rptbColor);
  table.SetBorderStyle(rptbColor);
  table.SetBestWidth(-100);
  for (int32_t r = 0; r < 40; ++r)
    for (int32_t c = 0; c < 2; ++c) {
      table.GetCell(r, c)->Clear();
      table.GetCell(r, c)->AddRawText("cell " + std::to_string(r), 0, 0);
    }
  document.AddAnsiText("After the table", 0, TRPTag(), 0);
  driver.FormatPages();
  ASSERT_GE(driver.PageCount, 3);  // the table alone is taller than a page
  driver.SaveWolf(folder.Wide("pictures.wol"));
  const TReadWolfBook book = ReadWolfFile(folder, "pictures.wol");
  ASSERT_EQ(static_cast<int32_t>(book.Images.size()), driver.PageCount);
  // Page 1 shows the pictures: many pixels of the middle grays, which text alone lacks.
  const TReadWolfImage& first = book.Images[0];
  const std::vector<uint8_t> pixels = DecodeWolfImagePixels(first.Encoded, first.Width, first.Height, 2);
  EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](uint8_t p) { return p == 1 || p == 2; }), 2000);
}

// A book named ".wol" (or a zip archive so named) converted into its own folder: the Wolf
// file would take the book's place. The driver refuses before anything is written, by
// whatever name reaches the book; another hard link to it is another file.
TEST(FB2WolConvertorSave, TheBookItselfIsNeverWrittenOver) {
  const std::string book = TestFB2("Own", "<section><p>A book that was named as its Wolf file.</p></section>");
  struct TCase {
    const char* Name;
    bool Zipped;
    std::string Target;  // "" for the default name
    bool Refused;
  } cases[] = {
      {"its own name", false, "own.wol", true},
      {"the default name", false, "", true},
      {"another spelling", false, "./own.wol", true},
      {"a symbolic link to it", false, "link.wol", true},
      {"the default name of a zipped book", true, "", true},
      {"a hard link to it", false, "hard.wol", false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSchemeTestFolder folder;
    const std::string source = "own.wol";
    if (c.Zipped)
      ASSERT_TRUE(WriteTestZip(folder / source, {{"own.fb2", book, true}}));
    else
      folder.Write(source, book);
    ASSERT_EQ(symlink(source.c_str(), (folder / "link.wol").c_str()), 0);
    ASSERT_EQ(link((folder / source).c_str(), (folder / "hard.wol").c_str()), 0);
    const std::string before = folder.Read(source);
    TFB2WolConvertor driver;
    driver.LoadBook(folder.Wide(source));
    driver.ConvertBook();
    const WideString target = c.Target.empty() ? WideString() : folder.Wide(c.Target);
    if (!c.Refused) {
      driver.SaveWolf(target);
      EXPECT_EQ(folder.Read(source), before);
      EXPECT_EQ(folder.Read(c.Target).substr(0, 13), "WolfEbook1.11");
      continue;
    }
    try {
      driver.SaveWolf(target);
      ADD_FAILURE() << "written";
    } catch (const WideException& e) {
      const WideString shown = target.empty() ? folder.Wide(source) : target;
      EXPECT_EQ(e.WideMessage(), u"Can't write \"" + shown + u"\": it is the book being converted.");
    }
    EXPECT_EQ(folder.Read(source), before);
    EXPECT_EQ(FolderFiles(folder), (std::vector<std::string>{"hard.wol", "link.wol", "own.wol"}));
  }
}
