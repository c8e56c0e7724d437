#include "platform/base/FileReplace.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <iterator>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/base/Exception.h"
#include "platform/base/LastError.h"

namespace {

mode_t Mode(const std::string& path) {
  struct stat info {};
  stat(path.c_str(), &info);
  return info.st_mode & 07777;
}

}  // namespace

TEST(FileReplace, CreatesANewFileWithTheUsualMode) {
  TempFolder folder;
  const mode_t mask = umask(022);
  ASSERT_TRUE(ReplaceFileContents(folder / "new.ini", "fresh"));
  umask(mask);
  EXPECT_EQ(ReadBytes(folder / "new.ini"), "fresh");
  EXPECT_EQ(Mode(folder / "new.ini"), 0644u);
  EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

TEST(FileReplace, ReplacesAnExistingFileKeepingItsModeAndLinks) {
  TempFolder folder;
  WriteBytes(folder / "scheme.gws", "old text that is longer than the new");
  chmod((folder / "scheme.gws").c_str(), 0640);
  symlink((folder / "scheme.gws").c_str(), (folder / "link.gws").c_str());
  ASSERT_TRUE(ReplaceFileContents(folder / "link.gws", "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "link.gws"));
  EXPECT_EQ(ReadBytes(folder / "scheme.gws"), "new");
  EXPECT_EQ(Mode(folder / "scheme.gws"), 0640u);
  EXPECT_EQ(EntryCount(folder.Path()), 2u);
}

TEST(FileReplace, AnUncommittedStreamLeavesTheFileAsItWas) {
  TempFolder folder;
  WriteBytes(folder / "book.wol", "complete old book");
  {
    TFileReplaceStream stream(folder / "book.wol");
    stream.WriteBuffer("half", 4);
  }
  EXPECT_EQ(ReadBytes(folder / "book.wol"), "complete old book");
  EXPECT_EQ(EntryCount(folder.Path()), 1u);
}

TEST(FileReplace, RefusesWhatItMustNotReplace) {
  TempFolder folder;
  WriteBytes(folder / "readonly.ini", "keep");
  chmod((folder / "readonly.ini").c_str(), 0444);
  EXPECT_FALSE(ReplaceFileContents(folder / "readonly.ini", "lost"));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadBytes(folder / "readonly.ini"), "keep");

  EXPECT_FALSE(ReplaceFileContents(folder.Path(), "a folder"));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);

  EXPECT_FALSE(ReplaceFileContents(folder / "missing/x.ini", "nowhere"));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_THROW(TFileReplaceStream(folder / "missing/x.ini"), EFCreateError);
  EXPECT_EQ(EntryCount(folder.Path()), 1u);
}
