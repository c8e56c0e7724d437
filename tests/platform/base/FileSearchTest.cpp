#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include <gtest/gtest.h>

#include "platform/base/FileSearch.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/TempFolder.h"

namespace {

void WriteRaw(const std::string& path, size_t size) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(fd, 0) << path;
  ASSERT_EQ(ftruncate(fd, static_cast<off_t>(size)), 0);
  close(fd);
}

// Every name a search finds, in order.
std::vector<WideString> Found(const WideString& pattern) {
  std::vector<WideString> names;
  WIN32_FIND_DATAW data;
  const THandle handle = FindFirstFileW(pattern.c_str(), &data);
  if (handle == INVALID_HANDLE_VALUE) return names;
  do names.emplace_back(data.cFileName);
  while (FindNextFileW(handle, &data));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  EXPECT_TRUE(FindClose(handle));
  return names;
}

}  // namespace

TEST(FileSearch, MasksMatchWithoutRegardToCase) {
  const struct {
    const char16_t* Name;
    const char16_t* Mask;
    bool Matches;
  } cases[] = {
      {u"QuirefoldB_Russian.lng", u"quirefoldb_*.LNG", true},
      {u"scheme.gws", u"*.gws", true},
      {u"scheme.gws.bak", u"*.gws", false},
      {u"noext", u"*.*", true},
      {u"\x041A\x043D\x0438\x0433\x0430.fb2", u"\x043A\x041D*.FB2", true},
      {u"\x00E9t\x00E9", u"\x00C9T?", true},
      {u"abc", u"a?c", true},
      {u"ac", u"a?c", false},
      {u"aXbYc", u"a*b*c", true},
      {u"abcb", u"a*b", true},
      {u"abcd", u"a*b", false},
      {u"", u"*", true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(WideString(c.Mask)));
    EXPECT_EQ(MatchesFileMask(c.Name, c.Mask), c.Matches);
  }
}

TEST(FileSearch, ListsMatchingEntriesInNameOrderWithTheirData) {
  TempFolder folder;
  WriteRaw(folder / "b.FB2", 5);
  WriteRaw(folder / "A.fb2", 3);
  WriteRaw(folder / "c.txt", 1);
  mkdir((folder / "d.fb2").c_str(), 0755);
  EXPECT_EQ(Found(FileSystemNameToWide(folder / "*.fb2")), (std::vector<WideString>{u"A.fb2", u"b.FB2", u"d.fb2"}));
  EXPECT_EQ(Found(FileSystemNameToWide(folder / "*")),
            (std::vector<WideString>{u".", u"..", u"A.fb2", u"b.FB2", u"c.txt", u"d.fb2"}));
  WIN32_FIND_DATAW data;
  const THandle handle = FindFirstFileW(FileSystemNameToWide(folder / "b.*").c_str(), &data);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_ARCHIVE);
  EXPECT_EQ(data.nFileSizeLow, 5u);
  EXPECT_EQ(data.nFileSizeHigh, 0u);
  EXPECT_EQ(data.cAlternateFileName[0], 0);
  struct stat info {};
  stat((folder / "b.FB2").c_str(), &info);
  EXPECT_EQ(FileTimeValue(data.ftLastWriteTime), FileTimeValue(FileTimeFromUnixTime(info.st_mtim)));
  FindClose(handle);
}

TEST(FileSearch, APlainNameMatchesExactly) {
  TempFolder folder;
  WriteRaw(folder / "Book.fb2", 0);
  EXPECT_EQ(Found(FileSystemNameToWide(folder / "Book.fb2")), std::vector<WideString>{u"Book.fb2"});
  EXPECT_TRUE(Found(FileSystemNameToWide(folder / "book.fb2")).empty());
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST(FileSearch, MissingFoldersAndEmptyResultsSetTheWindowsCodes) {
  TempFolder folder;
  WIN32_FIND_DATAW data;
  const struct {
    WideString Pattern;
    uint32_t Error;
  } cases[] = {
      {FileSystemNameToWide(folder / "*.none"), ERROR_FILE_NOT_FOUND},
      {FileSystemNameToWide(folder / "missing/*"), ERROR_PATH_NOT_FOUND},
      {u"", ERROR_PATH_NOT_FOUND},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindFirstFileW(c.Pattern.c_str(), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), c.Error);
  }
  EXPECT_FALSE(FindNextFileW(12345678, &data));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_FALSE(FindClose(12345678));
}

TEST(FileSearch, NamesWithBytesThatAreNotUtf8AreFoundAndKept) {
  TempFolder folder;
  WriteRaw(folder / "\xFE\xFF.txt", 0);
  const std::vector<WideString> names = Found(FileSystemNameToWide(folder / "*.txt"));
  ASSERT_EQ(names.size(), 1u);
  EXPECT_EQ(names[0], u"\xDCFE\xDCFF.txt");
  std::string bytes;
  ASSERT_TRUE(WideToFileSystemName(names[0], bytes));
  EXPECT_EQ(bytes, "\xFE\xFF.txt");
}

TEST(FileSearch, TheAnsiFormGivesNamesInTheAnsiCodePage) {
  TempFolder folder;
  WriteRaw(folder / "\xD0\xAF.txt", 0);      // "Я"
  WriteRaw(folder / "\xE2\x82\xAC.txt", 0);  // "€" is in 1251 as 0x88
  WriteRaw(folder / "\xE4\xB8\x80.txt", 0);  // "一" is not
  WIN32_FIND_DATAA data;
  std::vector<std::string> names;
  const THandle handle = FindFirstFileA((folder.Path() + "/*.txt").c_str(), &data);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  do names.emplace_back(data.cFileName);
  while (FindNextFileA(handle, &data));
  FindClose(handle);
  EXPECT_EQ(names, (std::vector<std::string>{"\xDF.txt", "\x88.txt", "?.txt"}));
}
