// Writing zip archives through the framework's save road: archives checked by Debian's
// unzip and zipinfo and by 7-Zip, round trips of every entry action, encryption, and
// saves that fail without touching the old archive.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstring>
#include <map>

#include "archive/ArZipDefs.h"
#include "archive/ArZipExtract.h"
#include "archive/ArZipInsert.h"
#include "archive/ArchiveTestSupport.h"
#include "platform/base/FileSizeLimit.h"

namespace {

// A zip archive on a file with the insertion and extraction hooks installed, as a zipper
// component would install them.
struct TZip {
  explicit TZip(const std::string& path) : Archive(path, fmShareDenyNone) {
    Archive.InsertHelper = InsertZipItem;
    Archive.InsertFromStreamHelper = InsertZipItemFromStream;
    Archive.ExtractToStreamHelper = [](TArZipArchive& archive, TArZipItem& item, TStream& stream) {
      ExtractZipItemToStream(archive, item, &stream);
    };
    Archive.OnProcessItemFailure = [this](TObject*, TArArchiveItem* item, TArProcessType type, TArErrorClass c,
                                          int32_t code) {
      Failures.push_back({item->FileName(), type, c, code});
    };
    Archive.LoadContents();
  }
  // A new entry for a file, stored under name.
  void Add(const std::string& path, const AnsiString& name, uint8_t method = 8) {
    auto item = Archive.NewItem(path);
    item->SetFileName(name);
    static_cast<TArZipItem&>(*item).SetCompressionMethod(method);
    Archive.AddItem(std::move(item));
  }
  Bytes Extract(const AnsiString& name) {
    TMemoryStream out;
    int32_t index = Archive.FindName(name);
    if (index < 0) throw std::runtime_error("no entry " + name);
    Archive.ExtractItem(*Archive.Items(index), out);
    return StreamBytes(out);
  }
  std::vector<AnsiString> Names() const {
    std::vector<AnsiString> names;
    for (int32_t i = 0; i < Archive.Count(); ++i) names.push_back(Archive.Items(i)->FileName());
    return names;
  }
  TArZipArchive Archive;
  std::vector<TFailure> Failures;
};

class ZipWriting : public testing::Test {
protected:
  ZipWriting() {
    RunIn(Folder, "mkdir -p in/sub x");
    Files = {{"book.fb2", BookLikeText(70000, 3)},
             {"noise.bin", RandomBytes(5000, 4)},
             {"empty.txt", {}},
             {"sub/small.txt", BookLikeText(300, 5)}};
    for (const auto& [name, bytes] : Files) WriteFileBytes(In(name), bytes);
    // An even second: DOS times count in two seconds, and Debian's zip rounds odd ones up.
    RunIn(Folder, "find in -type f -exec touch -d '2024-05-06 07:08:10' {} +");
  }
  std::string In(const std::string& name) const { return Folder / ("in/" + name); }
  std::string ZipPath() const { return Folder / "out.zip"; }
  // Debian's unzip lists the names in archive order.
  std::vector<std::string> UnzipNames() {
    RunIn(Folder, "unzip -Z1 out.zip > names.txt");
    Bytes text = ReadFileBytes(Folder / "names.txt");
    std::vector<std::string> names;
    std::string line;
    for (uint8_t c : text)
      if (c == '\n')
        names.push_back(std::exchange(line, {}));
      else
        line += static_cast<char>(c);
    return names;
  }
  // What Debian's unzip extracts for an entry.
  Bytes UnzipBytes(const std::string& name, const std::string& password = "") {
    std::string option = password.empty() ? "" : "-P " + password + " ";
    RunIn(Folder, "unzip -p " + option + "out.zip '" + name + "' > x/entry");
    return ReadFileBytes(Folder / "x/entry");
  }

  TTempFolder Folder;
  std::map<std::string, Bytes> Files;
};

TEST_F(ZipWriting, NewArchiveIsReadByUnzipZipinfoAnd7Zip) {
  {
    TZip zip(ZipPath());
    zip.Add(In("book.fb2"), "book.fb2");
    zip.Add(In("noise.bin"), "noise.bin", 0);
    zip.Add(In("empty.txt"), "empty.txt");
    zip.Add(In("sub/small.txt"), "sub/small.txt", 0);
    zip.Archive.SaveChanges();
    EXPECT_TRUE(zip.Failures.empty());
    EXPECT_FALSE(zip.Archive.IsDirty());
    // The saved entries are loaded ones now: they extract from the new file.
    EXPECT_EQ(zip.Extract("book.fb2"), Files["book.fb2"]);
  }
  RunIn(Folder, "unzip -t out.zip");
  RunIn(Folder, "zipinfo -v out.zip");
  RunIn(Folder, "7z t out.zip");
  EXPECT_EQ(UnzipNames(), (std::vector<std::string>{"book.fb2", "noise.bin", "empty.txt", "sub/small.txt"}));
  for (const auto& [name, bytes] : Files) {
    SCOPED_TRACE(name);
    EXPECT_EQ(UnzipBytes(name), bytes);
  }
  // zipinfo reports the methods asked for.
  RunIn(Folder, "zipinfo out.zip book.fb2 | grep -q defN && zipinfo out.zip noise.bin | grep -q stor");
  TZip reread(ZipPath());
  ASSERT_EQ(reread.Archive.Count(), 4);
  for (const auto& [name, bytes] : Files) EXPECT_EQ(reread.Extract(name), bytes);
}

TEST_F(ZipWriting, EncryptedEntriesOpenWithTheirPasswordOnly) {
  {
    TZip zip(ZipPath());
    zip.Archive.Password = "s3cret";
    zip.Add(In("book.fb2"), "book.fb2");
    zip.Add(In("noise.bin"), "noise.bin", 0);
    zip.Archive.SaveChanges();
    EXPECT_TRUE(zip.Failures.empty());
  }
  RunIn(Folder, "unzip -P s3cret -t out.zip");
  RunIn(Folder, "7z t -ps3cret out.zip");
  EXPECT_THROW(RunIn(Folder, "unzip -P wrong -t out.zip"), std::runtime_error);
  EXPECT_EQ(UnzipBytes("book.fb2", "s3cret"), Files["book.fb2"]);
  EXPECT_EQ(UnzipBytes("noise.bin", "s3cret"), Files["noise.bin"]);
  // zipinfo shows both as encrypted (a capital letter for the text/binary flag).
  RunIn(Folder, "zipinfo out.zip | grep -cE ' [BT][-lxX] (defN|stor) ' | grep -qx 2");
  TZip reread(ZipPath());
  reread.Archive.Password = "s3cret";
  EXPECT_EQ(reread.Extract("book.fb2"), Files["book.fb2"]);
}

TEST_F(ZipWriting, EveryEntryActionRoundTripsThroughUnzip) {
  // An archive made by Debian's zip, then changed by us step by step.
  RunIn(Folder, "cd in && zip -q ../out.zip book.fb2 noise.bin empty.txt sub/small.txt");
  TZip zip(ZipPath());
  zip.Archive.SetBaseDirectory(Folder / "in");
  ASSERT_EQ(zip.Archive.Count(), 4);

  // Move and delete.
  zip.Archive.MoveItem(*zip.Archive.Items(1), "moved/noise.dat");
  zip.Archive.DeleteAt(2);
  zip.Archive.SaveChanges();
  EXPECT_EQ(UnzipNames(), (std::vector<std::string>{"book.fb2", "moved/noise.dat", "sub/small.txt"}));
  RunIn(Folder, "unzip -t out.zip");
  EXPECT_EQ(UnzipBytes("moved/noise.dat"), Files["noise.bin"]);

  // Freshen: only a file that changed on disk is taken again.
  Bytes newBook = BookLikeText(50000, 9);
  WriteFileBytes(In("book.fb2"), newBook);
  RunIn(Folder, "touch -d '2030-01-02 03:04:06' in/book.fb2");
  // (Each operation first saves what is pending, so the unchanged file goes first.)
  zip.Archive.FreshenAt(zip.Archive.FindName("sub/small.txt"));
  zip.Archive.FreshenAt(zip.Archive.FindName("book.fb2"));
  EXPECT_EQ(zip.Archive.Items(zip.Archive.FindName("book.fb2"))->Action, aaFreshen);
  EXPECT_EQ(zip.Archive.Items(zip.Archive.FindName("sub/small.txt"))->Action, aaNone);
  zip.Archive.SaveChanges();
  RunIn(Folder, "unzip -t out.zip");
  EXPECT_EQ(UnzipBytes("book.fb2"), newBook);
  RunIn(Folder, "zipinfo -l out.zip book.fb2 | grep -q '30-Jan-02 03:04'");
  RunIn(Folder, "zipinfo out.zip book.fb2 | grep -q '^-rwx'");  // the mode of a Unix entry

  // Replace without a test, and add from a stream.
  Bytes newSmall = RandomBytes(777, 6);
  WriteFileBytes(In("sub/small.txt"), newSmall);
  zip.Archive.ReplaceAt(zip.Archive.FindName("sub/small.txt"));
  TMemoryStream input;
  Bytes streamed = BookLikeText(4000, 8);
  LoadBytes(input, streamed);
  zip.Archive.InputStream = &input;
  auto item = std::make_unique<TArZipItem>();
  item->SetFileName("from-stream.txt");
  item->SetCompressionMethod(8);
  zip.Archive.AddItem(std::move(item));
  zip.Archive.Items(zip.Archive.FindName("from-stream.txt"))->Action = aaStreamAdd;
  zip.Archive.SaveChanges();
  RunIn(Folder, "unzip -t out.zip && 7z t out.zip");
  EXPECT_EQ(UnzipBytes("sub/small.txt"), newSmall);
  EXPECT_EQ(UnzipBytes("from-stream.txt"), streamed);
  EXPECT_EQ(UnzipNames(),
            (std::vector<std::string>{"book.fb2", "moved/noise.dat", "sub/small.txt", "from-stream.txt"}));
  EXPECT_TRUE(zip.Failures.empty());
}

TEST_F(ZipWriting, RecurseFindsTheDiskFileOfAPathlessEntryInSubfolders) {
  RunIn(Folder, "cd in/sub && zip -q ../../out.zip small.txt");
  TZip zip(ZipPath());
  zip.Archive.SetBaseDirectory(Folder / "in");
  zip.Archive.StoreOptions = soRecurse;
  Bytes changed = BookLikeText(999, 10);
  WriteFileBytes(In("sub/small.txt"), changed);
  zip.Archive.FreshenAt(0);
  EXPECT_EQ(zip.Archive.Items(0)->DiskFileName, In("sub/small.txt"));
  zip.Archive.SaveChanges();
  EXPECT_EQ(UnzipBytes("small.txt"), changed);
}

TEST_F(ZipWriting, MovedEntryIsFoundUnderItsNewNameOnly) {
  RunIn(Folder, "cd in && zip -q ../out.zip book.fb2 noise.bin");
  TZip zip(ZipPath());
  TArArchiveItem* noise = zip.Archive.Items(1);
  zip.Archive.MoveItem(*noise, "Other.bin");
  EXPECT_EQ(zip.Archive.FindName("OTHER.BIN"), 1);
  EXPECT_EQ(zip.Archive.FindName("noise.bin"), -1);
  // Deleting the renamed entry unhooks it from its new bucket (a stale link would be
  // used after it is freed).
  zip.Archive.DeleteAt(1);
  zip.Archive.SaveChanges();
  EXPECT_EQ(zip.Archive.Count(), 1);
  EXPECT_EQ(zip.Archive.FindName("other.bin"), -1);
  EXPECT_EQ(UnzipNames(), std::vector<std::string>{"book.fb2"});
}

TEST_F(ZipWriting, DuplicateNamesAreRefusedUnlessFresheningOrReplacing) {
  RunIn(Folder, "cd in && zip -q ../out.zip book.fb2 noise.bin");
  TZip zip(ZipPath());
  zip.Add(In("noise.bin"), "BOOK.FB2");
  zip.Archive.MoveItem(*zip.Archive.Items(1), "book.fb2");
  ASSERT_EQ(zip.Failures.size(), 2u);
  EXPECT_EQ(zip.Failures[0].Type, ptAdd);
  EXPECT_EQ(zip.Failures[1].Type, ptMove);
  for (const TFailure& f : zip.Failures) {
    EXPECT_EQ(f.Class, ecArchiver);
    EXPECT_EQ(f.Code, 7);  // "Cannot insert file - duplicates stored name"
  }
  EXPECT_EQ(zip.Archive.Count(), 2);
  EXPECT_FALSE(zip.Archive.IsDirty());

  // With soReplaceExisting the entry of that name takes the new file's data: the file the
  // new item names, not one under the base directory (the program's folder here).
  zip.Archive.StoreOptions = soReplaceExisting;
  zip.Add(In("noise.bin"), "book.fb2");
  EXPECT_EQ(zip.Archive.Count(), 2);
  EXPECT_EQ(zip.Archive.Items(0)->Action, aaReplace);
  zip.Archive.SaveChanges();
  EXPECT_EQ(UnzipBytes("book.fb2"), Files["noise.bin"]);
  // soFreshenExisting: only a file that differs from the entry is taken.
  zip.Archive.StoreOptions = soFreshenExisting;
  zip.Add(In("noise.bin"), "book.fb2");
  EXPECT_EQ(zip.Archive.Items(0)->Action, aaNone);
  zip.Add(In("empty.txt"), "noise.bin");
  EXPECT_EQ(zip.Archive.Items(1)->Action, aaFreshen);
  zip.Archive.SaveChanges();
  EXPECT_EQ(UnzipBytes("noise.bin"), Bytes{});
  EXPECT_EQ(zip.Failures.size(), 2u);
}

TEST_F(ZipWriting, StoredNamesFollowTheStoreOptions) {
  TZip zip(ZipPath());
  zip.Archive.SetBaseDirectory(Folder / "in");
  struct TCase {
    TArStoreOptions Options;
    bool DosMode;
    AnsiString Spec, Stored;
  } cases[] = {
      {0, false, "/a/b/c.txt", "a/b/c.txt"},  // the root's "/" goes
      {soStripPath, false, "/a/b/c.txt", "c.txt"},
      {soRemoveDots, false, "../../c.txt", "c.txt"},
      {0, false, "../c.txt", "../c.txt"},
      {0, false, "/", "/"},
      // DOS mode puts a relative name under the base directory and checks that it exists.
      {0, true, "sub/small.txt", (Folder / "in/sub/small.txt").substr(1)},
      {soStripPath, true, "sub/small.txt", "small.txt"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Spec);
    zip.Archive.StoreOptions = c.Options;
    zip.Archive.DOSMode = c.DosMode;
    EXPECT_EQ(zip.Archive.NormalizeName(c.Spec), c.Stored);
  }
  zip.Archive.DOSMode = true;
  try {
    zip.Archive.NormalizeName("nowhere/c.txt");
    FAIL();
  } catch (const EArException& e) {
    EXPECT_STREQ(e.what(), "Path not found");
  }
  EXPECT_THROW(zip.Archive.NormalizeName("sub/none.txt"), EArFileNotFound);
}

TEST_F(ZipWriting, EntryWithoutInsertionHookIsReportedAndLeftOut) {
  TZip zip(ZipPath());
  zip.Archive.InsertHelper = nullptr;
  zip.Add(In("book.fb2"), "book.fb2");
  zip.Archive.SaveChanges();
  ASSERT_EQ(zip.Failures.size(), 1u);
  EXPECT_EQ(zip.Failures[0].Type, ptAdd);
  EXPECT_EQ(zip.Failures[0].Code, 5);  // "Cannot insert file - no insertion support provided"
  EXPECT_EQ(zip.Archive.Count(), 0);
  EXPECT_EQ(ReadFileBytes(ZipPath()).size(), 22u);  // an empty archive: the end record alone
}

TEST_F(ZipWriting, ReplacedEntryWhoseFileIsGoneKeepsItsOldData) {
  RunIn(Folder, "cd in && zip -q ../out.zip book.fb2 noise.bin");
  TZip zip(ZipPath());
  zip.Archive.SetBaseDirectory(Folder / "in");
  RunIn(Folder, "rm in/book.fb2");
  zip.Archive.ReplaceAt(0);
  zip.Archive.SaveChanges();
  ASSERT_EQ(zip.Failures.size(), 1u);
  EXPECT_EQ(zip.Failures[0].Type, ptReplace);
  EXPECT_EQ(zip.Failures[0].Class, ecFileOpenError);
  // The entry is not lost: its old data is written again.
  EXPECT_EQ(UnzipNames(), (std::vector<std::string>{"book.fb2", "noise.bin"}));
  EXPECT_EQ(UnzipBytes("book.fb2"), Files["book.fb2"]);
}

TEST_F(ZipWriting, FailedSaveLeavesTheOldArchiveAndItsEntries) {
  RunIn(Folder, "cd in && zip -q ../out.zip book.fb2 noise.bin");
  Bytes old = ReadFileBytes(ZipPath());
  WriteFileBytes(In("big.bin"), RandomBytes(200000, 7));
  // A full disk: writes past 100000 bytes fail.
  std::string outcome = RunWithFileSizeLimit(100000, [&] {
    TZip zip(ZipPath());
    zip.Archive.MoveItem(*zip.Archive.Items(0), "renamed.fb2");
    zip.Add(In("big.bin"), "big.bin", 0);
    auto offsetOf = [&](int32_t i) { return static_cast<TArZipItem*>(zip.Archive.Items(i))->RelativeOffset(); };
    uint32_t noiseOffset = offsetOf(1);
    try {
      zip.Archive.SaveChanges();
    } catch (const EArBadStream& e) {
      // The entries still describe the old file, and their actions wait.
      bool same = offsetOf(0) == 0 && offsetOf(1) == noiseOffset && zip.Archive.Items(0)->Action == aaMove &&
                  zip.Archive.Items(2)->Action == aaAdd && zip.Archive.IsDirty() && zip.Archive.Status() == asIdle;
      return std::string(e.what()).substr(0, 14) + (same ? " same" : " changed");
    }
    return std::string("saved");
  });
  EXPECT_EQ(outcome, "Invalid Stream same");
  EXPECT_EQ(ReadFileBytes(ZipPath()), old);
  RunIn(Folder, "test $(ls | wc -l) -eq 3");  // no temporary file left beside it

  // An abort from the progress event: EArUserAbort, the file as it was.
  TZip zip(ZipPath());
  zip.Add(In("big.bin"), "big.bin");
  zip.Archive.OnArchiveProgress = [](TObject*, int32_t progress, bool& abort) { abort = progress > 50; };
  EXPECT_THROW(zip.Archive.SaveChanges(), EArUserAbort);
  EXPECT_EQ(ReadFileBytes(ZipPath()), old);
  EXPECT_EQ(zip.Archive.Count(), 3);
  EXPECT_EQ(zip.Archive.Items(2)->Action, aaAdd);
  EXPECT_EQ(zip.Archive.Status(), asIdle);
}

TEST_F(ZipWriting, CopiedEntriesKeepTheirStoredNameAndWholeExtraField) {
  // An entry from an MS-DOS host with an OEM name, and Debian's extra fields (their
  // lengths hold zero bytes).
  WriteFileBytes(Folder / "in/\x8E.fb2", {'x'});
  RunIn(Folder, "cd in && zip -q ../out.zip \"$(printf '\\216.fb2')\" book.fb2");
  Bytes zipBytes = ReadFileBytes(ZipPath());
  {
    TMemoryStream stream;
    LoadBytes(stream, zipBytes);
    stream.SetPosition(static_cast<int64_t>(FindEndRecord(stream)));
    TArZipDirectoryFileFooter footer;
    ReadEndRecord(stream, footer);
    zipBytes[footer.DirectoryOffset + ZipCenVersionMadeBy + 1] = 0;  // host MS-DOS
    WriteFileBytes(ZipPath(), zipBytes);
  }
  {
    TZip zip(ZipPath());
    ASSERT_EQ(zip.Archive.Items(0)->FileName(), "\xCE.fb2");  // CP866 0x8E is CP1251 0xCE
    zip.Add(In("noise.bin"), "noise.bin");
    zip.Archive.SaveChanges();
  }
  RunIn(Folder, "unzip -t out.zip > test.txt 2>&1 && ! grep -qi warning test.txt");
  // Every local header agrees with its central one: the stored name bytes, and the extra
  // field whole.
  TMemoryStream stream;
  LoadBytes(stream, ReadFileBytes(ZipPath()));
  stream.SetPosition(static_cast<int64_t>(FindEndRecord(stream)));
  TArZipDirectoryFileFooter footer;
  ReadEndRecord(stream, footer);
  ASSERT_EQ(footer.TotalEntries, 3);
  int64_t at = footer.DirectoryOffset;
  for (int i = 0; i < 3; ++i) {
    TArZipDirectoryFileHeader central, local;
    stream.SetPosition(at);
    ReadCentralHeader(stream, central);
    at = stream.Position();
    stream.SetPosition(central.RelativeOffset);
    ReadLocalHeader(stream, local);
    SCOPED_TRACE(central.FileName);
    EXPECT_EQ(local.FileName, central.FileName);
    EXPECT_EQ(local.ExtraField, central.ExtraField);
    EXPECT_EQ(local.Crc32, central.Crc32);
  }
  TZip reread(ZipPath());
  EXPECT_EQ(reread.Names(), (std::vector<AnsiString>{"\xCE.fb2", "book.fb2", "noise.bin"}));
}

TEST_F(ZipWriting, SelfExtractorKeepsItsExecutablePrefix) {
  RunIn(Folder, "cd in && zip -q ../plain.zip book.fb2");
  Bytes executablePrefix = {'M', 'Z', 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  RunIn(Folder,
        "printf 'MZ\\001\\002\\003\\004\\005\\006\\007\\010\\011\\012' | cat - plain.zip > out.zip && zip -qA out.zip");
  TZip zip(ZipPath());
  ASSERT_TRUE(zip.Archive.IsExecutable());
  zip.Add(In("noise.bin"), "noise.bin");
  zip.Archive.SaveChanges();
  Bytes saved = ReadFileBytes(ZipPath());
  EXPECT_EQ(Bytes(saved.begin(), saved.begin() + 12), executablePrefix);
  RunIn(Folder, "unzip -t out.zip");
  EXPECT_EQ(UnzipBytes("noise.bin"), Files["noise.bin"]);
}

TEST_F(ZipWriting, SaveOfANewEmptyArchiveWritesItsEndRecord) {
  TZip zip(ZipPath());
  bool saved = false;
  zip.Archive.OnSaved = [&](TObject*) { saved = true; };
  zip.Archive.SaveChanges();
  EXPECT_TRUE(saved);
  Bytes bytes = ReadFileBytes(ZipPath());
  EXPECT_EQ(bytes, (Bytes{0x50, 0x4B, 5, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  // A loaded archive with entries and no changes is not written again.
  RunIn(Folder, "cd in && zip -q ../other.zip book.fb2");
  TZip other(Folder / "other.zip");
  saved = false;
  other.Archive.OnSaved = [&](TObject*) { saved = true; };
  other.Archive.SaveChanges();
  EXPECT_FALSE(saved);
}

TEST_F(ZipWriting, ConfirmationsCanRefuseEachStep) {
  RunIn(Folder, "cd in && zip -q ../out.zip book.fb2");
  Bytes old = ReadFileBytes(ZipPath());
  TZip zip(ZipPath());
  std::vector<TArProcessType> asked;
  zip.Archive.OnConfirmProcessItem = [&](TObject*, TArArchiveItem*, TArProcessType type, bool& confirm) {
    asked.push_back(type);
    confirm = false;
  };
  zip.Add(In("noise.bin"), "noise.bin");
  zip.Archive.MoveItem(*zip.Archive.Items(0), "x.fb2");
  zip.Archive.DeleteAt(0);
  zip.Archive.ReplaceAt(0);
  EXPECT_EQ(asked, (std::vector<TArProcessType>{ptAdd, ptMove, ptDelete, ptReplace}));
  EXPECT_FALSE(zip.Archive.IsDirty());
  zip.Archive.OnConfirmProcessItem = nullptr;
  zip.Archive.DeleteAt(0);
  zip.Archive.OnConfirmSaving = [](TObject*, bool& confirm) { confirm = false; };
  zip.Archive.SaveChanges();
  EXPECT_EQ(ReadFileBytes(ZipPath()), old);
  EXPECT_TRUE(zip.Archive.IsDirty());
}

TEST_F(ZipWriting, AutoSaveWritesAfterEveryChange) {
  TZip zip(ZipPath());
  zip.Archive.AutoSave = true;
  zip.Add(In("book.fb2"), "book.fb2");
  EXPECT_FALSE(zip.Archive.IsDirty());
  EXPECT_EQ(UnzipNames(), std::vector<std::string>{"book.fb2"});
  zip.Archive.MoveItem(*zip.Archive.Items(0), "b.fb2");
  EXPECT_EQ(UnzipNames(), std::vector<std::string>{"b.fb2"});
}

TEST_F(ZipWriting, LogRecordsEveryConfirmedOperation) {
  RunIn(Folder, "cd in && zip -q ../out.zip book.fb2");
  TZip zip(ZipPath());
  zip.Archive.SetLogFile(Folder / "archive.log");
  zip.Archive.SetLogging(true);
  zip.Add(In("noise.bin"), "noise.bin");
  zip.Archive.SaveChanges();
  zip.Extract("book.fb2");
  zip.Archive.MoveItem(*zip.Archive.Items(0), "b.fb2");
  zip.Archive.SetLogging(false);  // closes the log
  Bytes log = ReadFileBytes(Folder / "archive.log");
  std::string text(log.begin(), log.end());
  // Each line: the name, the process text, the date and time, CR LF.
  std::vector<std::string> lines;
  for (size_t start = 0, end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(text.substr(start, end - start));
  ASSERT_EQ(lines.size(), 4u);
  const char* expected[] = {" logging ", " added ", " extracted ", " moved "};
  const std::string names[] = {ZipPath(), "noise.bin", "book.fb2", "book.fb2"};
  for (size_t i = 0; i < 4; ++i) {
    SCOPED_TRACE(lines[i]);
    EXPECT_EQ(lines[i].rfind(names[i] + expected[i], 0), 0u);
    // A date such as 12/10/2026 and a time such as 3:04:05 AM follow.
    std::string when = lines[i].substr(names[i].size() + std::strlen(expected[i]));
    EXPECT_NE(when.find('/'), std::string::npos);
    EXPECT_NE(when.find(':'), std::string::npos);
  }

  zip.Archive.SetLogFile(Folder / "missing/archive.log");
  try {
    zip.Archive.SetLogging(true);
    FAIL();
  } catch (const EArException& e) {
    EXPECT_EQ(e.ErrorCode(), 38);
    EXPECT_STREQ(e.what(), "Error creating Log File");
  }
}

TEST_F(ZipWriting, ThresholdSplitsTheArchiveIntoVolumes) {
  {
    TZip zip(ZipPath());
    zip.Archive.SpanningThreshold = 20000;
    zip.Add(In("book.fb2"), "book.fb2", 0);  // 70000 bytes stored: across four volumes
    zip.Add(In("noise.bin"), "noise.bin");
    zip.Add(In("sub/small.txt"), "sub/small.txt");
    zip.Archive.SaveChanges();
    EXPECT_TRUE(zip.Failures.empty());
    // The saved set is read again as a set.
    EXPECT_TRUE(zip.Archive.IsSpanned());
    EXPECT_EQ(zip.Extract("noise.bin"), Files["noise.bin"]);
  }
  for (const char* volume : {"out.z01", "out.z02", "out.z03"}) {
    SCOPED_TRACE(volume);
    EXPECT_EQ(ReadFileBytes(Folder / volume).size(), 20000u);
  }
  Bytes first = ReadFileBytes(Folder / "out.z01");
  EXPECT_EQ(Bytes(first.begin(), first.begin() + 4), (Bytes{0x50, 0x4B, 7, 8}));
  // 7-Zip reads the set; Debian's zip joins it into one archive that unzip tests.
  RunIn(Folder, "7z t out.zip");
  RunIn(Folder, "zip -q -s 0 out.zip --out joined.zip && unzip -t joined.zip");
  RunIn(Folder, "unzip -p joined.zip book.fb2 > x/entry");
  EXPECT_EQ(ReadFileBytes(Folder / "x/entry"), Files["book.fb2"]);
  TZip reread(ZipPath());
  ASSERT_TRUE(reread.Archive.IsSpanned());
  for (const auto& [name, bytes] : Files)
    if (name != "empty.txt") {
      EXPECT_EQ(reread.Extract(name), bytes);
    }

  // A loaded set is not rewritten: its pending changes are given up.
  Bytes last = ReadFileBytes(ZipPath());
  reread.Add(In("empty.txt"), "empty.txt");
  reread.Archive.DeleteAt(reread.Archive.FindName("noise.bin"));
  EXPECT_THROW(reread.Archive.SaveChanges(), EArZipSpanOverwrite);
  EXPECT_EQ(reread.Archive.Count(), 3);
  EXPECT_EQ(reread.Archive.Items(reread.Archive.FindName("noise.bin"))->Action, aaNone);
  EXPECT_FALSE(reread.Archive.IsDirty());
  EXPECT_EQ(ReadFileBytes(ZipPath()), last);
}

TEST_F(ZipWriting, StreamArchiveIsRewrittenInPlace) {
  TMemoryStream memory;
  TArZipArchive archive(memory, "memory.zip");
  archive.InsertHelper = InsertZipItem;
  archive.SpanningThreshold = 100;  // a caller's stream is never cut into volumes
  archive.AddItem(archive.NewItem(In("book.fb2")));
  archive.SaveChanges();
  Bytes bytes = StreamBytes(memory);
  WriteFileBytes(ZipPath(), bytes);
  RunIn(Folder, "unzip -t out.zip");
  std::string stored = In("book.fb2").substr(1);
  EXPECT_EQ(UnzipNames(), std::vector<std::string>{stored});
}

}  // namespace
