// Multi-volume zip sets: split sets made by Debian's `zip -s`, read back through the
// unzipper byte for byte; the same volumes named by the request-image event, opened at
// their first volume, or put one at a time under one name on a removable drive; and
// refused, missing and damaged volumes.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "archive/ArMediaPrompts.h"
#include "archive/ArUnzper.h"
#include "archive/ArZipDefs.h"
#include "archive/ArZipExtract.h"
#include "archive/ArchiveTestSupport.h"

namespace {

class SpannedZip : public testing::Test {
protected:
  SpannedZip() : Zip(nullptr) {
    Files["r.bin"] = RandomBytes(200000, 7);
    Files["t.txt"] = BookLikeText(170000, 8);
    Files["small.txt"] = BookLikeText(300, 9);
    for (const auto& [name, bytes] : Files) WriteFileBytes(Folder / name, bytes);
    Zip.OnProcessItemFailure = [this](TObject*, TArArchiveItem* item, TArProcessType type, TArErrorClass c,
                                      int32_t code) {
      Failures.push_back({item->FileName(), type, c, code});
    };
  }
  // Makes set.zip and its volumes set.z01, set.z02, ... of 64 KiB with Debian's zip.
  void MakeSet(const std::string& options = "") {
    RunIn(Folder, "rm -f set.* && zip -X -q -s 64k " + options + " set.zip r.bin t.txt small.txt");
  }
  int32_t VolumeCount() const {
    int32_t n = 1;
    while (!ReadFileBytes(Folder / ("set.z0" + std::to_string(n))).empty()) ++n;
    return n;
  }
  Bytes Extract(const AnsiString& name) {
    TMemoryStream out;
    Zip.ExtractItemToStream(name, out);
    return StreamBytes(out);
  }
  // Every entry extracted equals the file it was made of.
  void ExpectAllExtracted() {
    ASSERT_EQ(Zip.GetItemCount(), static_cast<int32_t>(Files.size()));
    // Backwards too, so that volumes are asked for in both directions.
    for (bool backwards : {false, true})
      for (int32_t i = 0; i < Zip.GetItemCount(); ++i) {
        AnsiString name = Zip.GetItem(backwards ? Zip.GetItemCount() - 1 - i : i)->FileName();
        SCOPED_TRACE(name);
        EXPECT_EQ(Extract(name), Files.at(name));
      }
    EXPECT_TRUE(Failures.empty());
  }
  TArZipArchive& Archive() { return *Zip.ZipArchive(); }

  TTempFolder Folder;
  std::map<std::string, Bytes> Files;
  TArUnZipper Zip;
  std::vector<TFailure> Failures;
};

TEST_F(SpannedZip, ReadsSplitSetsOfDebiansZipByteForByte) {
  struct TCase {
    const char* Options;
    bool Spanned;
    TArArchiveType Type;
  };
  const TCase cases[] = {
      {"", true, atZip},               // deflated; the last volume is opened
      {"-0", true, atZip},             // stored
      {"-s 1m", false, atSpannedZip},  // one volume, which still starts with the span marker
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Options);
    MakeSet(c.Options);
    ASSERT_EQ(VolumeCount() > 1, c.Spanned);
    Zip.OpenArchive(Folder / "set.zip");
    EXPECT_EQ(Zip.ArchiveType(), c.Type);
    EXPECT_EQ(Archive().IsSpanned(), c.Spanned);
    // The names in the order Debian's unzip lists the joined set.
    RunIn(Folder, "rm -f joined.zip && zip -s 0 set.zip --out joined.zip && unzip -Z1 joined.zip > names.txt");
    Bytes listed = ReadFileBytes(Folder / "names.txt");
    AnsiString ours;
    for (int32_t i = 0; i < Zip.GetItemCount(); ++i) ours += Zip.GetItem(i)->FileName() + "\n";
    EXPECT_EQ(ours, AnsiString(listed.begin(), listed.end()));
    ExpectAllExtracted();
    // Testing goes to each entry's volume too and reads it through the bit bucket.
    for (int32_t i = 0; i < Zip.GetItemCount(); ++i) EXPECT_NO_THROW(Archive().TestEntry(i));
    Zip.CloseArchive();
  }
}

TEST_F(SpannedZip, EncryptedEntriesOfASplitSetTakeTheirPasswordAcrossVolumes) {
  MakeSet("-P secret");
  Zip.SetPassword("wrong");
  int32_t asked = 0;
  Zip.OnNeedPassword = [&](TObject*, AnsiString& password) {
    ++asked;
    password = "secret";
  };
  Zip.OpenArchive(Folder / "set.zip");
  ExpectAllExtracted();
  EXPECT_EQ(asked, 1);
}

TEST_F(SpannedZip, ReadsADirectoryThatBeginsOnAnEarlierVolume) {
  // 400 entries with names of 150 bytes: a directory of about 78 KB, more than a volume.
  std::string names;
  for (int i = 0; i < 400; ++i) {
    std::string name = "entry" + std::to_string(1000 + i) + std::string(141, 'n');
    WriteFileBytes(Folder / name, Bytes{static_cast<uint8_t>(i)});
    names += " " + name;
  }
  RunIn(Folder, "zip -X -q -s 64k many.zip" + names);
  Zip.OpenArchive(Folder / "many.zip");
  TArZipDirectoryFileFooter end = Archive().EndRecord();
  ASSERT_LT(end.StartDiskNumber, end.DiskNumber);
  ASSERT_EQ(Zip.GetItemCount(), 400);
  for (int i : {0, 199, 399}) {
    AnsiString name = "entry" + std::to_string(1000 + i) + std::string(141, 'n');
    EXPECT_EQ(Zip.GetItem(i)->FileName(), name);
    EXPECT_EQ(Extract(name), Bytes{static_cast<uint8_t>(i)});
  }
  // Without the volume where the directory begins the set cannot be opened.
  Zip.CloseArchive();
  std::remove((Folder / ("many.z0" + std::to_string(end.StartDiskNumber + 1))).c_str());
  EXPECT_THROW(Zip.OpenArchive(Folder / "many.zip"), EArFileNotFound);
  EXPECT_EQ(Zip.Archive(), nullptr);
}

TEST_F(SpannedZip, TheRequestImageEventNamesEveryVolume) {
  MakeSet();
  int32_t last = VolumeCount() - 1;
  for (int32_t n = 1; n <= last; ++n)
    std::rename((Folder / ("set.z0" + std::to_string(n))).c_str(), (Folder / ("part-" + std::to_string(n))).c_str());
  std::vector<int32_t> asked;
  Zip.SetOnRequestImage([&](TObject*, int32_t imageNumber, AnsiString& name, bool&) {
    asked.push_back(imageNumber);
    name = imageNumber == last ? Folder / "set.zip" : Folder / ("part-" + std::to_string(imageNumber + 1));
  });
  Zip.OpenArchive(Folder / "set.zip");
  ExpectAllExtracted();
  EXPECT_FALSE(asked.empty());
  // Loading again, with another volume open, starts from the archive's own file.
  Archive().LoadContents();
  EXPECT_EQ(Zip.GetItemCount(), static_cast<int32_t>(Files.size()));
  EXPECT_TRUE(std::all_of(asked.begin(), asked.end(), [&](int32_t n) { return n >= 0 && n <= last; }));
}

TEST_F(SpannedZip, ARefusedVolumeAbortsAndWritesNothing) {
  MakeSet();
  Zip.SetOnRequestImage([](TObject*, int32_t, AnsiString&, bool& abort) { abort = true; });
  Zip.OpenArchive(Folder / "set.zip");  // the directory lies on the last volume
  ASSERT_EQ(Archive().EndRecord().StartDiskNumber, Archive().EndRecord().DiskNumber);
  std::string outFolder = Folder / "out";
  RunIn(Folder, "mkdir out");
  Zip.SetBaseDirectory(outFolder);
  int32_t index = Archive().FindName("r.bin");  // from the first volume on
  EXPECT_THROW(Archive().ExtractEntry(index, "r.bin"), EArUserAbort);
  EXPECT_TRUE(ReadFileBytes(outFolder + "/r.bin").empty());
  RunIn(Folder, "test -z \"$(ls -A out)\"");
  // Through the unzipper the refusal is reported as the failure of the entry.
  Zip.OpenArchive(Folder / "set.zip");
  Extract("r.bin");
  ASSERT_EQ(Failures.size(), 1u);
  EXPECT_EQ(Failures[0].Name, "r.bin");
  EXPECT_EQ(Failures[0].Code, EArUserAbort().ErrorCode());
}

TEST_F(SpannedZip, ASetOpenedAtItsFirstVolumeFindsTheLastByItsEndRecord) {
  // The volumes as a spanning writer leaves them before renaming: the first under the
  // archive's name (it starts with the span marker), then .z02, .z03, ...
  MakeSet();
  int32_t count = VolumeCount();
  std::rename((Folder / "set.z01").c_str(), (Folder / "first.zip").c_str());
  for (int32_t n = 2; n < count; ++n)
    std::rename((Folder / ("set.z0" + std::to_string(n))).c_str(), (Folder / ("first.z0" + std::to_string(n))).c_str());
  std::rename((Folder / "set.zip").c_str(), (Folder / ("FIRST.Z0" + std::to_string(count))).c_str());
  Zip.OpenArchive(Folder / "first.zip");
  EXPECT_EQ(Zip.ArchiveType(), atSpannedZip);
  EXPECT_TRUE(Archive().IsSpanned());
  ExpectAllExtracted();
  // Without the volume holding the end record: each name is tried until one is missing.
  Zip.CloseArchive();
  std::remove((Folder / ("FIRST.Z0" + std::to_string(count))).c_str());
  EXPECT_THROW(Zip.OpenArchive(Folder / "first.zip"), EArFileNotFound);
}

// A zip archive that takes its drive for a removable one.
class TRemovableZip : public TArZipArchive {
public:
  using TArZipArchive::TArZipArchive;

protected:
  bool QueryRemovableDrive() const override { return true; }
};

TEST_F(SpannedZip, OnARemovableDriveEachDiskIsAskedForAndReadUnderOneName) {
  MakeSet();
  int32_t count = VolumeCount();
  std::vector<Bytes> disks;
  for (int32_t n = 1; n < count; ++n) disks.push_back(ReadFileBytes(Folder / ("set.z0" + std::to_string(n))));
  disks.push_back(ReadFileBytes(Folder / "set.zip"));
  std::string drive = Folder / "disk.zip";
  WriteFileBytes(drive, disks[0]);
  TRemovableZip zip(drive, fmShareDenyNone);
  zip.ExtractToStreamHelper = [](TArZipArchive& a, TArZipItem& item, TStream& stream) {
    ExtractZipItemToStream(a, item, &stream);
  };
  std::vector<int32_t> asked;  // disk numbers from 1; 0 for the last disk
  zip.OnRequestLastDisk = [&](TObject*, bool&) {
    asked.push_back(0);
    WriteFileBytes(drive, disks.back());
  };
  zip.OnRequestNthDisk = [&](TObject*, uint8_t disk, bool&) {
    asked.push_back(disk);
    WriteFileBytes(drive, disks.at(disk - 1u));
  };
  zip.LoadContents();
  EXPECT_TRUE(zip.DriveIsRemovable());
  EXPECT_TRUE(zip.IsSpanned());
  ASSERT_EQ(zip.Count(), 3);
  EXPECT_EQ(asked.front(), 0);
  for (int32_t i = 0; i < zip.Count(); ++i) {
    SCOPED_TRACE(zip.Items(i)->FileName());
    TMemoryStream out;
    zip.ExtractItem(*zip.Items(i), out);
    EXPECT_EQ(StreamBytes(out), Files.at(zip.Items(i)->FileName()));
  }
  // r.bin runs from the first disk over the next ones.
  EXPECT_NE(std::find(asked.begin(), asked.end(), 1), asked.end());
  EXPECT_NE(std::find(asked.begin(), asked.end(), 2), asked.end());

  // Refused: the entry fails with the abort and its stream gets nothing.
  zip.OnRequestNthDisk = [](TObject*, uint8_t, bool& abort) { abort = true; };
  std::vector<int32_t> codes;
  zip.OnProcessItemFailure = [&](TObject*, TArArchiveItem*, TArProcessType, TArErrorClass, int32_t code) {
    codes.push_back(code);
  };
  TMemoryStream out;
  WriteFileBytes(drive, disks.back());
  zip.ExtractItem(*zip.Items(zip.FindName("r.bin")), out);
  EXPECT_EQ(codes, (std::vector<int32_t>{EArUserAbort().ErrorCode()}));
  EXPECT_EQ(out.Size(), 0);
}

TEST_F(SpannedZip, WithoutDiskEventsARemovableSetCannotBeRead) {
  MakeSet();
  std::string drive = Folder / "disk.zip";
  WriteFileBytes(drive, ReadFileBytes(Folder / "set.z01"));
  TRemovableZip zip(drive, fmShareDenyNone);
  EXPECT_THROW(zip.LoadContents(), EArUserAbort);
  EXPECT_EQ(zip.Count(), 0);
}

TEST_F(SpannedZip, MissingAndDamagedVolumesFailTheirEntries) {
  MakeSet("-0");
  ASSERT_GE(VolumeCount(), 4);
  Bytes second = ReadFileBytes(Folder / "set.z02");
  {
    SCOPED_TRACE("a missing volume");
    std::remove((Folder / "set.z02").c_str());
    Zip.OpenArchive(Folder / "set.zip");
    for (const auto& [name, bytes] : Files) {
      SCOPED_TRACE(name);
      Bytes got = Extract(name);
      const auto* item = static_cast<const TArZipItem*>(Zip.GetItem(Archive().FindName(name)));
      if (item->DiskNumberStart() > 1) {
        EXPECT_EQ(got, bytes);
      }
    }
    // Stored r.bin runs from the first volume over the missing second one.
    ASSERT_EQ(Failures.size(), 1u);
    EXPECT_EQ(Failures[0].Name, "r.bin");
    EXPECT_EQ(Failures[0].Code, EArFileNotFound().ErrorCode());
    Zip.CloseArchive();
  }
  Failures.clear();
  {
    SCOPED_TRACE("a volume cut short");
    WriteFileBytes(Folder / "set.z02", Bytes(second.begin(), second.end() - 100));
    Zip.OpenArchive(Folder / "set.zip");
    Extract("r.bin");
    ASSERT_EQ(Failures.size(), 1u);
    EXPECT_EQ(Failures[0].Code, EArZipBadCRC().ErrorCode());
    Zip.CloseArchive();
  }
  {
    SCOPED_TRACE("an end record whose directory starts on a later volume");
    WriteFileBytes(Folder / "set.z02", second);
    Bytes last = ReadFileBytes(Folder / "set.zip");
    StoreLE16(&last[last.size() - ZipEndBytes + ZipEndDirectoryDisk], 9);
    WriteFileBytes(Folder / "set.zip", last);
    EXPECT_THROW(Zip.OpenArchive(Folder / "set.zip"), EArZipInvalid);
  }
}

// Prompts installed for one scope that answer from a script and record what they were
// asked.
class TScriptedPrompts : public IArMediaPrompts {
public:
  explicit TScriptedPrompts(std::function<bool(const AnsiString& text)> answer) : FAnswer(std::move(answer)) {
    SetArMediaPrompts(this);
  }
  ~TScriptedPrompts() override { SetArMediaPrompts(nullptr); }
  bool ConfirmMedia(const AnsiString& text, const AnsiString& caption) override {
    Asked.push_back(caption + ": " + text);
    return FAnswer(text);
  }
  std::vector<AnsiString> Asked;

private:
  std::function<bool(const AnsiString&)> FAnswer;
};

// Without disk events the installed prompts ask for each disk, and their OK or Cancel is
// the answer; without prompts every request is refused.
TEST_F(SpannedZip, WithoutDiskEventsThePromptsAskForEachDisk) {
  MakeSet();
  std::string drive = Folder / "disk.zip";
  WriteFileBytes(drive, {});
  TRemovableZip zip(drive, fmShareDenyNone);
  const struct {
    const char* Name;
    std::function<void(bool&)> Request;
    const char* Asked;
  } cases[] = {
      {"the last disk", [&](bool& abort) { zip.RequestLastDisk(abort); },
       "Insert floppy: Insert the last disk in the spanned disk set"},
      {"disk 3", [&](bool& abort) { zip.RequestNthDisk(3, abort); },
       "Insert floppy: Insert disk number 3 of the spanned disk set"},
      {"a blank disk", [&](bool& abort) { zip.RequestEmptyDisk(abort); }, "Insert floppy: Insert a blank floppy disk"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    bool abort = false;
    c.Request(abort);
    EXPECT_TRUE(abort);  // no prompts, no one to ask
    for (bool ok : {true, false}) {
      TScriptedPrompts prompts([ok](const AnsiString&) { return ok; });
      abort = !ok;
      c.Request(abort);
      EXPECT_EQ(abort, !ok);
      EXPECT_EQ(prompts.Asked, std::vector<AnsiString>{c.Asked});
    }
  }
  EXPECT_TRUE(zip.IsSpanned());  // a blank disk was asked for
}

// A volume file missing while an entry is read on is asked for: brought and confirmed it
// is read, refused the entry fails with the abort.
TEST_F(SpannedZip, AMissingVolumeFileIsAskedForByItsSpanNumber) {
  MakeSet("-0");
  ASSERT_GE(VolumeCount(), 4);
  const Bytes second = ReadFileBytes(Folder / "set.z02");
  std::remove((Folder / "set.z02").c_str());
  {
    TScriptedPrompts prompts([&](const AnsiString&) {
      WriteFileBytes(Folder / "set.z02", second);
      return true;
    });
    Zip.OpenArchive(Folder / "set.zip");
    EXPECT_EQ(Extract("r.bin"), Files.at("r.bin"));
    EXPECT_TRUE(Failures.empty());
    EXPECT_EQ(prompts.Asked, std::vector<AnsiString>{"Image file name: Insert span number 2 of the spanned file set"});
    Zip.CloseArchive();
  }
  std::remove((Folder / "set.z02").c_str());
  TScriptedPrompts refusing([](const AnsiString&) { return false; });
  Zip.OpenArchive(Folder / "set.zip");
  Extract("r.bin");
  ASSERT_EQ(Failures.size(), 1u);
  EXPECT_EQ(Failures[0].Code, EArUserAbort().ErrorCode());
  Zip.CloseArchive();
}

TEST_F(SpannedZip, ASetReadFromACallersStreamIsRefused) {
  MakeSet();
  TMemoryStream stream;
  LoadBytes(stream, ReadFileBytes(Folder / "set.zip"));
  TArZipArchive zip(stream, "set.zip");
  EXPECT_THROW(zip.LoadContents(), EArZipBadSpanStream);
  EXPECT_EQ(zip.Count(), 0);
}

// The archive's answers to a writing spanning stream: OnRequestImage's name, else the
// name the stream proposes; a blank disk on removable media.
TEST_F(SpannedZip, WritingVolumesAreNamedByTheEventOrTheStream) {
  MakeSet();
  TArZipArchive zip(Folder / "set.zip", fmShareDenyNone);
  Bytes data = RandomBytes(250, 12);
  auto write = [&](const std::string& name, TArMediaType media) {
    TArSpanStream stream(Folder / name, 100, media, fmCreate);
    stream.OnRequestMedia = [&](TArSpanStream& s, int32_t image, bool& abort, AnsiString& imageName) {
      zip.RequestSpanMedia(s, image, abort, imageName);
    };
    stream.WriteBuffer(data.data(), 250);
  };
  write("plain.zip", mtLocal);
  EXPECT_EQ(ReadFileBytes(Folder / "plain.z03"), Bytes(data.begin() + 200, data.end()));
  zip.OnRequestImage = [&](TObject*, int32_t image, AnsiString& name, bool&) {
    name = Folder / ("named-" + std::to_string(image));
  };
  write("named.zip", mtLocal);
  EXPECT_EQ(ReadFileBytes(Folder / "named-1"), Bytes(data.begin() + 100, data.begin() + 200));
  EXPECT_EQ(ReadFileBytes(Folder / "named-2"), Bytes(data.begin() + 200, data.end()));
  int32_t blanks = 0;
  zip.OnRequestEmptyDisk = [&](TObject*, bool&) { ++blanks; };
  write("floppy.zip", mtRemoveable);
  EXPECT_EQ(blanks, 2);
  EXPECT_TRUE(zip.IsSpanned());
  EXPECT_EQ(ReadFileBytes(Folder / "floppy.zip"), Bytes(data.begin() + 200, data.end()));  // the last disk
}

}  // namespace
