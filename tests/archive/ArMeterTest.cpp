// The browser's progress meters and the log and temporary-folder settings it hands to
// the archives it opens.
#include <gtest/gtest.h>

#include "archive/ArUnzper.h"
#include "archive/ArchiveTestSupport.h"

namespace {

// Records what it is asked to show: a progress value, or -1 for a reset.
class TRecordingMeter : public TArMeterLink {
public:
  using TArMeterLink::TArMeterLink;
  void DoProgress(int32_t progress) override { Shown.push_back(progress); }
  void Reset() override { Shown.push_back(-1); }
  std::vector<int32_t> Shown;
};

class BrowserSettings : public testing::Test {
protected:
  BrowserSettings() : Zip(nullptr) {
    WriteFileBytes(Folder / "book.fb2", BookLikeText(200000, 1));
    RunIn(Folder, "zip -q book.zip book.fb2");
  }
  TTempFolder Folder;
  TArUnZipper Zip;
};

TEST_F(BrowserSettings, MetersShowProgressAndAreResetBeforeEachEntry) {
  TRecordingMeter itemMeter(nullptr), archiveMeter(nullptr);
  Zip.SetItemProgressMeter(&itemMeter);
  Zip.SetArchiveProgressMeter(&archiveMeter);
  Zip.OpenArchive(Folder / "book.zip");
  // Opening resets both; loading the one entry shows 100 (per entry, then the end).
  EXPECT_EQ(archiveMeter.Shown, (std::vector<int32_t>{-1, 100, 100}));
  EXPECT_EQ(itemMeter.Shown, std::vector<int32_t>{-1});
  itemMeter.Shown.clear();
  TMemoryStream out;
  Zip.ExtractItemToStream("book.fb2", out);
  ASSERT_GE(itemMeter.Shown.size(), 3u);
  EXPECT_EQ(itemMeter.Shown.front(), -1);  // reset when the entry is confirmed
  EXPECT_EQ(itemMeter.Shown.back(), 100);
  EXPECT_TRUE(std::is_sorted(itemMeter.Shown.begin() + 1, itemMeter.Shown.end()));
}

TEST_F(BrowserSettings, DestroyedMeterIsForgotten) {
  {
    TRecordingMeter meter(nullptr);
    Zip.SetArchiveProgressMeter(&meter);
    EXPECT_EQ(Zip.ArchiveProgressMeter(), &meter);
  }
  EXPECT_EQ(Zip.ArchiveProgressMeter(), nullptr);
  Zip.OpenArchive(Folder / "book.zip");  // would use the freed meter
  EXPECT_EQ(Zip.GetItemCount(), 1);
}

TEST_F(BrowserSettings, ClosingSavesChangesOnly) {
  WriteFileBytes(Folder / "notes.txt", BookLikeText(100, 2));
  RunIn(Folder, "zip -q book.zip notes.txt");
  Bytes before = ReadFileBytes(Folder / "book.zip");
  Zip.OpenArchive(Folder / "book.zip");
  Zip.CloseArchive();
  EXPECT_EQ(ReadFileBytes(Folder / "book.zip"), before);
  Zip.OpenArchive(Folder / "book.zip");
  Zip.Archive()->DeleteAt(Zip.Archive()->FindName("notes.txt"));
  Zip.CloseArchive();
  RunIn(Folder, "test \"$(unzip -Z1 book.zip)\" = book.fb2 && unzip -tq book.zip");
}

TEST_F(BrowserSettings, LogAndTemporaryFolderReachTheArchive) {
  Zip.SetTempDirectory(Folder.Path());
  Zip.SetLogFile(Folder / "zip.log");
  EXPECT_TRUE(Zip.Logging());
  Zip.OpenArchive(Folder / "book.zip");
  EXPECT_EQ(Zip.Archive()->TempDirectory, Folder.Path());
  EXPECT_TRUE(Zip.Archive()->Logging());
  TMemoryStream out;
  Zip.ExtractItemToStream("book.fb2", out);
  Zip.SetLogging(false);
  Bytes log = ReadFileBytes(Folder / "zip.log");
  std::string text(log.begin(), log.end());
  EXPECT_EQ(text.rfind(Folder / "book.zip logging ", 0), 0u);
  EXPECT_NE(text.find("\r\nbook.fb2 extracted "), std::string::npos);
  // An empty log file name switches logging off.
  Zip.SetLogFile("");
  EXPECT_FALSE(Zip.Archive()->Logging());
}

}  // namespace
