#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/base/FileMoves.h"
#include "platform/base/FileSystem.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/TempFolder.h"

namespace {

void Touch(const std::string& path) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT, 0644);
  ASSERT_GE(fd, 0) << path;
  close(fd);
}

bool Exists(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0;
}

}  // namespace

TEST(FileSystem, AttributesComeFromTheFileStatus) {
  TempFolder folder;
  Touch(folder / "plain.txt");
  Touch(folder / ".hidden");
  Touch(folder / "ro.txt");
  chmod((folder / "ro.txt").c_str(), 0444);
  mkdir((folder / "sub").c_str(), 0755);
  mkfifo((folder / "pipe").c_str(), 0644);
  symlink("nowhere", (folder / "dangling").c_str());
  const struct {
    std::string Name;
    uint32_t Attributes;
  } cases[] = {
      {"plain.txt", FILE_ATTRIBUTE_ARCHIVE},
      {".hidden", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN},
      {"ro.txt", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY},
      {"sub", FILE_ATTRIBUTE_DIRECTORY},
      {"pipe", FILE_ATTRIBUTE_SYSTEM},
      {"dangling", FILE_ATTRIBUTE_SYSTEM},
      {"sub/..", FILE_ATTRIBUTE_DIRECTORY},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(GetFileAttributesW(FileSystemNameToWide(folder / c.Name).c_str()), c.Attributes);
    EXPECT_EQ(GetFileAttributesA((folder / c.Name).c_str()), c.Attributes);
  }
  EXPECT_EQ(GetFileAttributesW(FileSystemNameToWide(folder / "none").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetFileAttributesW(FileSystemNameToWide(folder / "none/x").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(FileSystem, ReadOnlyTogglesTheOwnerWriteBit) {
  TempFolder folder;
  const WideString name = FileSystemNameToWide(folder / "f.txt");
  Touch(folder / "f.txt");
  ASSERT_TRUE(SetFileAttributesW(name.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE));
  struct stat info {};
  stat((folder / "f.txt").c_str(), &info);
  EXPECT_EQ(info.st_mode & S_IWUSR, 0u);
  EXPECT_NE(GetFileAttributesW(name.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
  EXPECT_FALSE(DeleteFileW(name.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  ASSERT_TRUE(SetFileAttributesA((folder / "f.txt").c_str(), FILE_ATTRIBUTE_NORMAL));
  stat((folder / "f.txt").c_str(), &info);
  EXPECT_NE(info.st_mode & S_IWUSR, 0u);
  EXPECT_TRUE(DeleteFileW(name.c_str()));
  EXPECT_FALSE(Exists(folder / "f.txt"));
}

TEST(FileSystem, FoldersAreCreatedAndRemovedOneAtATime) {
  TempFolder folder;
  const WideString sub = FileSystemNameToWide(folder / "sub");
  EXPECT_FALSE(CreateDirectoryW(FileSystemNameToWide(folder / "a/b").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(CreateDirectoryW(sub.c_str()));
  EXPECT_FALSE(CreateDirectoryA((folder / "sub").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  Touch(folder / "sub/file");
  EXPECT_FALSE(RemoveDirectoryW(sub.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIR_NOT_EMPTY);
  EXPECT_FALSE(RemoveDirectoryW(FileSystemNameToWide(folder / "sub/file").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  EXPECT_FALSE(CreateDirectoryW(FileSystemNameToWide(folder / "sub/file/new").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  EXPECT_FALSE(DeleteFileW(sub.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(DeleteFileA((folder / "sub/file").c_str()));
  EXPECT_TRUE(RemoveDirectoryA((folder / "sub").c_str()));
  EXPECT_FALSE(RemoveDirectoryW(sub.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(DeleteFileW(FileSystemNameToWide(folder / "gone/file").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(FileSystem, MoveNeverReplacesAnExistingTarget) {
  TempFolder folder;
  Touch(folder / "a");
  Touch(folder / "b");
  mkdir((folder / "dir").c_str(), 0755);
  EXPECT_FALSE(MoveFileW(FileSystemNameToWide(folder / "a").c_str(), FileSystemNameToWide(folder / "b").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(MoveFileW(FileSystemNameToWide(folder / "a").c_str(), FileSystemNameToWide(folder / "dir").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_TRUE(Exists(folder / "a"));
  EXPECT_FALSE(MoveFileW(FileSystemNameToWide(folder / "missing").c_str(), FileSystemNameToWide(folder / "c").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(MoveFileW(FileSystemNameToWide(folder / "a").c_str(), FileSystemNameToWide(folder / "no/c").c_str()));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_TRUE(MoveFileA((folder / "a").c_str(), (folder / "dir/c").c_str()));
  EXPECT_FALSE(Exists(folder / "a"));
  EXPECT_TRUE(Exists(folder / "dir/c"));
  EXPECT_TRUE(MoveFileW(FileSystemNameToWide(folder / "dir").c_str(), FileSystemNameToWide(folder / "moved").c_str()));
  EXPECT_TRUE(Exists(folder / "moved/c"));
}

TEST(FileSystem, NamesWithBytesThatAreNotUtf8CanBeRenamedAndDeleted) {
  TempFolder folder;
  const std::string raw = folder / "\xE9t\xE9.fb2";  // Latin-1 bytes, not UTF-8
  Touch(raw);
  const WideString wide = FileSystemNameToWide(raw);
  EXPECT_EQ(GetFileAttributesW(wide.c_str()), FILE_ATTRIBUTE_ARCHIVE);
  const WideString renamed = FileSystemNameToWide(folder / "\xFF.fb2");
  ASSERT_TRUE(MoveFileW(wide.c_str(), renamed.c_str()));
  EXPECT_TRUE(Exists(folder / "\xFF.fb2"));
  EXPECT_TRUE(DeleteFileW(renamed.c_str()));
  EXPECT_FALSE(Exists(folder / "\xFF.fb2"));
}

TEST(FileSystem, TheLinkingMoveNeverReplacesEither) {
  TempFolder folder;
  Touch(folder / "a");
  Touch(folder / "b");
  mkdir((folder / "dir").c_str(), 0755);
  EXPECT_FALSE(MoveByLinking(folder / "a", folder / "b"));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(MoveByLinking(folder / "dir", folder / "b"));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_FALSE(MoveByLinking(folder / "none", folder / "c"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(MoveByLinking(folder / "a", folder / "c"));
  EXPECT_FALSE(Exists(folder / "a"));
  EXPECT_TRUE(Exists(folder / "c"));
  EXPECT_TRUE(MoveByLinking(folder / "dir", folder / "moved"));
  EXPECT_TRUE(Exists(folder / "moved"));
}
