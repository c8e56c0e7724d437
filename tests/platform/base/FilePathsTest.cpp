#include <sys/stat.h>
#include <unistd.h>
#include <cstdlib>

#include <filesystem>

#include <gtest/gtest.h>

#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/TempFolder.h"

namespace {

// Runs the body in `folder` as the current folder, then goes back.
class InFolder {
public:
  explicit InFolder(const std::string& folder) : FSaved(getcwd(nullptr, 0)) { EXPECT_EQ(chdir(folder.c_str()), 0); }
  InFolder(const InFolder&) = delete;
  InFolder& operator=(const InFolder&) = delete;
  ~InFolder() {
    if (chdir(FSaved) != 0) ADD_FAILURE() << "cannot go back";
    free(FSaved);
  }

private:
  char* FSaved;
};

}  // namespace

TEST(FilePaths, FullPathsCollapseDotsRelativeToTheCurrentFolder) {
  TempFolder folder;
  InFolder here(folder.Path());
  const WideString base = FileSystemNameToWide(folder.Path());
  const struct {
    WideString Name;
    WideString Full;
    WideString FilePart;  // empty: none
  } cases[] = {
      {u"book.fb2", base + u"/book.fb2", u"book.fb2"},
      {u"./a/../b//c.txt", base + u"/b/c.txt", u"c.txt"},
      {u"sub/", base + u"/sub/", u""},
      {u"/x/./y/..", u"/x", u"x"},
      {u"/../..", u"/", u""},
      {u"/a:b/c", u"/a:b/c", u"c"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.Name));
    WideChar buffer[512];
    WideChar* filePart = buffer;
    const uint32_t length = GetFullPathNameW(c.Name.c_str(), 512, buffer, &filePart);
    EXPECT_EQ(length, c.Full.size());
    EXPECT_EQ(WideString(buffer), c.Full);
    EXPECT_EQ(filePart == nullptr ? WideString() : WideString(filePart), c.FilePart);
  }
}

TEST(FilePaths, ShortBuffersGetTheSizeNeeded) {
  WideChar buffer[4] = {u'x', u'x', u'x', u'x'};
  EXPECT_EQ(GetFullPathNameW(u"/abcd", 4, buffer, nullptr), 6u);
  EXPECT_EQ(buffer[0], u'x');
  EXPECT_EQ(GetFullPathNameW(u"/abcd", 0, nullptr, nullptr), 6u);
  EXPECT_EQ(GetFullPathNameW(u"", 4, buffer, nullptr), 0u);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  char bytes[16];
  char* filePart = nullptr;
  // "/Папка/файл" in 1251.
  EXPECT_EQ(GetFullPathNameA("/\xCF\xE0\xEF\xEA\xE0/\xF4\xE0\xE9\xEB", 16, bytes, &filePart), 11u);
  EXPECT_STREQ(filePart, "\xF4\xE0\xE9\xEB");
}

TEST(FilePaths, CurrentAndTemporaryFolders) {
  TempFolder folder;
  InFolder here(folder.Path());
  WideChar buffer[512];
  const uint32_t length = GetCurrentDirectoryW(512, buffer);
  EXPECT_EQ(WideString(buffer, length), FileSystemNameToWide(folder.Path()));
  EXPECT_EQ(GetCurrentDirectoryW(2, buffer), length + 1);
  const char* saved = std::getenv("TMPDIR");
  const std::string savedValue = saved != nullptr ? saved : "";
  setenv("TMPDIR", folder.Path().c_str(), 1);
  char temp[512];
  EXPECT_EQ(std::string(temp, GetTempPathA(512, temp)), folder.Path() + "/");
  if (saved != nullptr)
    setenv("TMPDIR", savedValue.c_str(), 1);
  else
    unsetenv("TMPDIR");
}

TEST(FilePaths, TemporaryFileNamesAreCreatedAndNeverReused) {
  TempFolder folder;
  const WideString path = FileSystemNameToWide(folder.Path());
  WideChar first[MAX_PATH], second[MAX_PATH];
  const uint32_t a = GetTempFileNameW(path.c_str(), u"wolfbook", 0, first);
  const uint32_t b = GetTempFileNameW(path.c_str(), u"wolfbook", 0, second);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_NE(WideString(first), WideString(second));
  EXPECT_EQ(WideString(first).substr(0, path.size() + 4), path + u"/wol");
  EXPECT_EQ(WideString(first).substr(path.size() + 8), u".TMP");
  EXPECT_NE(GetFileAttributesW(first), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetTempFileNameW(path.c_str(), u"x", 0x1A2B, first), 0x1A2Bu);
  EXPECT_EQ(WideString(first), path + u"/x1A2B.TMP");
  EXPECT_EQ(GetFileAttributesW(first), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetTempFileNameW((path + u"/missing").c_str(), u"x", 0, first), 0u);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(FilePaths, ATemporaryFileNameTooLongForTheBufferCreatesNoFile) {
  TempFolder folder;
  // The folder's path and the 10 characters of "/x1234.TMP" pass MAX_PATH.
  const std::string deep = folder / std::string(MAX_PATH - folder.Path().size() - 8, 'd');
  ASSERT_EQ(mkdir(deep.c_str(), 0755), 0);
  WideChar name[MAX_PATH];
  EXPECT_EQ(GetTempFileNameW(FileSystemNameToWide(deep).c_str(), u"x", 0, name), 0u);
  EXPECT_EQ(GetLastError(), ERROR_BUFFER_OVERFLOW);
  char ansiName[MAX_PATH];
  EXPECT_EQ(GetTempFileNameA(deep.c_str(), "x", 0, ansiName), 0u);
  EXPECT_EQ(GetLastError(), ERROR_BUFFER_OVERFLOW);
  EXPECT_TRUE(std::filesystem::is_empty(deep));
}
