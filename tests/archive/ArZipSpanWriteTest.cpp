// Saving a zip archive as a spanned set: the volumes 7-Zip tests and extracts, read back
// by our reader, and saves that fail without leaving volumes behind.
#include <gtest/gtest.h>

#include <map>

#include "archive/ArUnzper.h"
#include "archive/ArZipDefs.h"
#include "archive/ArZipExtract.h"
#include "archive/ArZipInsert.h"
#include "archive/ArchiveTestSupport.h"

namespace {

class SpannedSave : public testing::Test {
protected:
  SpannedSave() {
    Files = {{"noise.bin", RandomBytes(150000, 21)}, {"book.fb2", BookLikeText(90000, 22)}, {"small.txt", {}}};
    for (const auto& [name, bytes] : Files) WriteFileBytes(Folder / name, bytes);
  }
  // A new archive of every file, saved with the threshold.
  std::unique_ptr<TArZipArchive> Save(int32_t threshold) {
    auto zip = std::make_unique<TArZipArchive>(Folder / "set.zip", fmShareDenyNone);
    zip->InsertHelper = InsertZipItem;
    zip->ExtractToStreamHelper = [](TArZipArchive& a, TArZipItem& item, TStream& stream) {
      ExtractZipItemToStream(a, item, &stream);
    };
    zip->LoadContents();
    zip->SpanningThreshold = threshold;
    for (const auto& [name, bytes] : Files) {
      auto item = zip->NewItem(Folder / name);
      item->SetFileName(name);
      zip->AddItem(std::move(item));
    }
    zip->SaveChanges();
    return zip;
  }
  void ExpectEntries(TArZipArchive& zip) {
    ASSERT_EQ(zip.Count(), static_cast<int32_t>(Files.size()));
    for (int32_t i = 0; i < zip.Count(); ++i) {
      SCOPED_TRACE(zip.Items(i)->FileName());
      TMemoryStream out;
      zip.ExtractItem(*zip.Items(i), out);
      EXPECT_EQ(StreamBytes(out), Files.at(zip.Items(i)->FileName()));
    }
  }
  TTempFolder Folder;
  std::map<std::string, Bytes> Files;
};

TEST_F(SpannedSave, VolumesAreReadBy7ZipAndByOurs) {
  auto zip = Save(65536);
  EXPECT_TRUE(zip->IsSpanned());
  // The volumes: set.z01 (starting with the marker), set.z02, ..., set.zip the last.
  Bytes first = ReadFileBytes(Folder / "set.z01");
  ASSERT_EQ(first.size(), 65536u);
  EXPECT_EQ(LoadLE32(first.data()), ZipSpannedMarker);
  EXPECT_EQ(ReadFileBytes(Folder / "set.z02").size(), 65536u);
  EXPECT_TRUE(ReadFileBytes(Folder / "set.zip.partial").empty());
  // 7-Zip reads split sets (Debian's zip 3.0 joins with -s 0 wrongly when an entry
  // crosses more than one volume end, its own sets included).
  RunIn(Folder, "7z t set.zip");
  for (const auto& [name, bytes] : Files) {
    SCOPED_TRACE(name);
    RunIn(Folder, "7z e -so set.zip '" + name + "' > peer.bin");
    EXPECT_EQ(ReadFileBytes(Folder / "peer.bin"), bytes);
  }
  // The archive just saved reads its new volumes, and so does an unzipper.
  ExpectEntries(*zip);
  TArUnZipper unzipper(nullptr);
  unzipper.OpenArchive(Folder / "set.zip");
  ExpectEntries(*unzipper.ZipArchive());
}

TEST_F(SpannedSave, ASetThatFitsOneVolumeIsOneFileWithTheOneVolumeMarker) {
  auto zip = Save(1 << 20);
  EXPECT_FALSE(zip->IsSpanned());
  Bytes only = ReadFileBytes(Folder / "set.zip");
  EXPECT_EQ(LoadLE32(only.data()), ZipOneVolumeSpanMarker);
  EXPECT_TRUE(ReadFileBytes(Folder / "set.z01").empty());
  RunIn(Folder, "unzip -tq set.zip && 7z t set.zip");
  TArUnZipper unzipper(nullptr);
  unzipper.OpenArchive(Folder / "set.zip");
  EXPECT_EQ(unzipper.ArchiveType(), atSpannedZip);
  ExpectEntries(*unzipper.ZipArchive());
}

TEST_F(SpannedSave, ADirectoryMovedToTheNextVolumeStartsAtItsOffsetZero) {
  // One stored entry leaves its volume less room than the directory and the end record.
  Files = {{"a.txt", RandomBytes(900, 23)}};
  WriteFileBytes(Folder / "a.txt", Files["a.txt"]);
  TArZipArchive zip(Folder / "set.zip", fmShareDenyNone);
  zip.InsertHelper = InsertZipItem;
  zip.ExtractToStreamHelper = [](TArZipArchive& a, TArZipItem& item, TStream& stream) {
    ExtractZipItemToStream(a, item, &stream);
  };
  zip.LoadContents();
  zip.SpanningThreshold = 1000;
  auto item = zip.NewItem(Folder / "a.txt");
  item->SetFileName("a.txt");
  static_cast<TArZipItem&>(*item).SetCompressionMethod(0);
  zip.AddItem(std::move(item));
  zip.SaveChanges();
  ASSERT_EQ(ReadFileBytes(Folder / "set.z01").size(), 1000u);
  Bytes last = ReadFileBytes(Folder / "set.zip");
  ASSERT_GE(last.size(), 4u);
  EXPECT_EQ(LoadLE32(last.data()), ZipCentralSignature);
  TMemoryStream stream;
  LoadBytes(stream, last);
  stream.SetPosition(FindEndRecord(stream));
  TArZipDirectoryFileFooter footer;
  ReadEndRecord(stream, footer);
  EXPECT_EQ(footer.StartDiskNumber, 1);
  EXPECT_EQ(footer.DirectoryOffset, 0u);
  RunIn(Folder, "7z t set.zip");
  ExpectEntries(zip);
}

TEST_F(SpannedSave, AThresholdThatCannotHoldTheDirectoryIsRefused) {
  // The entry fits 60 bytes; its directory header and the end record (77 bytes) do not.
  Files = {{"small.txt", Bytes{'x'}}};
  try {
    Save(60);
    FAIL();
  } catch (const EArException& e) {
    EXPECT_EQ(e.ErrorCode(), 31);  // "Invalid archive size threshold"
  }
  RunIn(Folder, "test ! -e set.zip && test ! -e set.z01 && test -z \"$(ls set.zip.* 2>/dev/null)\"");
}

TEST_F(SpannedSave, AVolumeNameTakenByAnotherFileFailsTheSaveAndLeavesNothing) {
  WriteFileBytes(Folder / "set.z01", Bytes{'k', 'e', 'e', 'p'});
  try {
    Save(65536);
    FAIL();
  } catch (const EArBadStream& e) {
    EXPECT_EQ(e.ErrorCode(), 21);
  }
  EXPECT_EQ(ReadFileBytes(Folder / "set.z01"), (Bytes{'k', 'e', 'e', 'p'}));
  RunIn(Folder, "test ! -e set.zip && test ! -e set.z02 && test -z \"$(ls set.zip.* 2>/dev/null)\"");
}

}  // namespace
