#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "archive/ArExcept.h"
#include "convert/ConvertTestBooks.h"
#include "convert/cFB2WolConvertor.h"
#include "unicode/UniSystem.h"
#include "unicode/WideException.h"

namespace {

const WideString ReadError = u"Can't read FB2 file!\r\nMake sure that file is correct.";
const std::string Book = TestFB2("Zip Book", "<section><title><p>One</p></title><p>Text</p></section>");

struct TLoadCase {
  const char* Name;
  std::string FileName;            // in the test folder
  std::vector<TZipEntry> Entries;  // a zip archive when not empty, else the file is Data
  std::string Data;
  WideString Error;  // empty: loads
  std::string EntryLoaded;
};

using TReports = std::vector<std::pair<WideString, int32_t>>;

void Watch(TFB2WolConvertor& driver, TReports& reports) {
  driver.OnProgress = [&reports](const WideString& message, int32_t percent, bool&) {
    reports.emplace_back(message, percent);
  };
}

}  // namespace

TEST(FB2WolConvertorLoad, BooksAndArchivesLoadOrFailWithTheirMessages) {
  // A CRC-damaged entry: the stored book with one byte of its text changed after zipping.
  const std::vector<TLoadCase> cases = {
      {"fb2 file", "book.fb2", {}, Book, u"", ""},
      {"not XML", "bad.fb2", {}, "this is no XML <", ReadError, ""},
      {"XML but no FictionBook", "other.fb2", {}, "<?xml version=\"1.0\"?><html><body/></html>", ReadError, ""},
      {"zip in capitals, second entry in capitals",
       "BOOK.ZIP",
       {{"readme.txt", "hello", false}, {"dir/Book.FB2", Book, true}},
       "",
       u"",
       "dir/Book.FB2"},
      {"fb2 then zip", "book.fb2.zip", {{"a.fb2", Book, true}, {"b.fb2", "not a book", false}}, "", u"", "a.fb2"},
      {"zip without fb2",
       "none.zip",
       {{"a.txt", "x", false}, {"fb2", "y", false}},
       "",
       u"Can't found FB2-file in this ZIP.",
       ""},
      {"zip entry not FB2", "junk.zip", {{"a.fb2", "<p>", true}}, "", ReadError, ""},
  };
  for (const TLoadCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TSchemeTestFolder folder;
    if (c.Entries.empty())
      folder.Write(c.FileName, c.Data);
    else
      ASSERT_TRUE(WriteTestZip(folder / c.FileName, c.Entries));
    folder.Write("older.wol", "older book");
    TFB2WolConvertor driver;
    TReports reports;
    Watch(driver, reports);
    if (c.Error.empty()) {
      driver.LoadBook(folder.Wide(c.FileName));
      EXPECT_TRUE(driver.HasBook());
      EXPECT_EQ(driver.FileName, folder.Wide(c.EntryLoaded.empty() ? c.FileName : c.EntryLoaded));
      EXPECT_EQ(driver.Description.Title, u"Zip Book");
      EXPECT_EQ(driver.Description.Authors, u"Ann Writer");
    } else {
      try {
        driver.LoadBook(folder.Wide(c.FileName));
        ADD_FAILURE() << "loaded";
      } catch (const WideException& e) {
        EXPECT_EQ(e.WideMessage(), c.Error);
      }
      EXPECT_FALSE(driver.HasBook());
      EXPECT_TRUE(driver.FileName.empty());
      // A bad book writes nothing; the older ".wol" stays as it was.
      EXPECT_EQ(folder.Read("older.wol"), "older book");
    }
    // A failed load stops where it failed: it never reports 100 %.
    EXPECT_EQ(reports,
              c.Error.empty() ? (TReports{{u"Loading...", 0}, {u"Loading...", 100}}) : (TReports{{u"Loading...", 0}}));
  }
}

TEST(FB2WolConvertorLoad, DamagedZipEntriesAreNeverLoaded) {
  TSchemeTestFolder folder;
  // Stored: the book's bytes stand in the file as they are. One changed byte of text
  // keeps the XML well formed, so only the CRC tells.
  ASSERT_TRUE(WriteTestZip(folder / "crc.zip", {{"book.fb2", Book, false}}));
  std::string zip = folder.Read("crc.zip");
  const size_t text = zip.find("Text");
  ASSERT_NE(text, std::string::npos);
  zip[text] = 'N';
  folder.Write("crc.zip", zip);
  // Deflated, with the compressed data cut inside: the inflater fails.
  ASSERT_TRUE(WriteTestZip(folder / "inflate.zip", {{"book.fb2", Book + std::string(4000, ' '), true}}));
  std::string inflate = folder.Read("inflate.zip");
  const size_t data = inflate.find("book.fb2") + 8;
  for (size_t i = data + 4; i < data + 24; ++i) inflate[i] = static_cast<char>(0xFF);
  folder.Write("inflate.zip", inflate);

  const std::pair<const char*, WideString> cases[] = {
      {"crc.zip", u"The ZIP archive is damaged: \"book.fb2\" fails its checksum (CRC)."},
      {"inflate.zip", u"\"book.fb2\" can't be extracted from the ZIP archive."},
  };
  for (const auto& [name, message] : cases) {
    SCOPED_TRACE(name);
    TFB2WolConvertor driver;
    try {
      driver.LoadBook(folder.Wide(name));
      ADD_FAILURE() << "loaded";
    } catch (const WideException& e) {
      EXPECT_EQ(e.WideMessage(), message);
    }
    EXPECT_FALSE(driver.HasBook());
  }
}

// An archive that the reader refuses says what is wrong with it, as a message for the
// user; only a missing one raises the archive's own exception.
TEST(FB2WolConvertorLoad, ArchivesThatCannotBeOpenedSayWhy) {
  TSchemeTestFolder folder;
  ASSERT_TRUE(WriteTestZip(folder / "whole.zip", {{"book.fb2", Book, true}}));
  const std::string zip = folder.Read("whole.zip");
  std::string directory = zip;
  const size_t entry = directory.rfind("PK\x01\x02");
  ASSERT_NE(entry, std::string::npos);
  directory.replace(entry, 4, "QQQQ");
  const std::pair<std::string, WideString> cases[] = {
      {zip.substr(0, zip.size() / 2), u"The ZIP archive is damaged: it is cut short."},
      {zip.substr(0, zip.size() - 3), u"The ZIP archive is damaged: it is cut short."},
      {directory, u"The ZIP archive is damaged: its list of files can't be read."},
      {"", u"The ZIP file is empty."},
      {std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03", 10) + "data", u"This file is not a ZIP archive."},
      {"PK", u"This file is not a ZIP archive."},
  };
  for (const auto& [bytes, message] : cases) {
    SCOPED_TRACE(WideToUtf8(message));
    folder.Write("refused.zip", bytes);
    TFB2WolConvertor driver;
    try {
      driver.LoadBook(folder.Wide("refused.zip"));
      ADD_FAILURE() << "loaded";
    } catch (const WideException& e) {
      EXPECT_EQ(e.WideMessage(), message);
    }
    EXPECT_FALSE(driver.HasBook());
  }
  TFB2WolConvertor driver;
  EXPECT_THROW(driver.LoadBook(folder.Wide("missing.zip")), EArException);
}

TEST(FB2WolConvertorLoad, AFailedLoadEmptiesTheDriverAndAGoodOneLoadsAfter) {
  TSchemeTestFolder folder;
  folder.Write("good.fb2", Book);
  folder.Write("bad.fb2", "<FictionBook><body>");
  TFB2WolConvertor driver;
  driver.LoadBook(folder.Wide("good.fb2"));
  EXPECT_THROW(driver.LoadBook(folder.Wide("bad.fb2")), WideException);
  EXPECT_FALSE(driver.HasBook());
  EXPECT_TRUE(driver.Description.Title.empty());
  driver.LoadBook(folder.Wide("good.fb2"));
  EXPECT_TRUE(driver.HasBook());
  EXPECT_EQ(driver.Description.Title, u"Zip Book");
  // An archive or a file that cannot be opened leaves the driver empty too.
  folder.Write("empty.zip", "");
  EXPECT_THROW(driver.LoadBook(folder.Wide("empty.zip")), WideException);
  EXPECT_FALSE(driver.HasBook());
  driver.LoadBook(folder.Wide("good.fb2"));
  EXPECT_ANY_THROW(driver.LoadBook(folder.Wide("missing.fb2")));
  EXPECT_FALSE(driver.HasBook());
  EXPECT_TRUE(driver.FileName.empty());
}

TEST(FB2WolConvertorLoad, CancelWhileLoadingRaisesUserBreak) {
  TSchemeTestFolder folder;
  folder.Write("good.fb2", Book);
  TFB2WolConvertor driver;
  driver.OnProgress = [](const WideString&, int32_t, bool& cancel) { cancel = true; };
  try {
    driver.LoadBook(folder.Wide("good.fb2"));
    ADD_FAILURE() << "loaded";
  } catch (const WideException& e) {
    EXPECT_EQ(e.WideMessage(), u"User break!");
  }
}
