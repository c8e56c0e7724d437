// Opening zip files with the unzipper and extracting their entries: archives made in
// the test by Debian's zip, 7-Zip and Python's zipfile, and damaged ones.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include "archive/ArDfCryS.h"
#include "archive/ArUnzper.h"
#include "archive/ArZipDefs.h"
#include "archive/ArZipExtract.h"
#include "archive/ArchiveTestSupport.h"

namespace {

class Unzipper : public testing::Test {
protected:
  Unzipper() : Zip(nullptr) {
    Zip.OnProcessItemFailure = [this](TObject*, TArArchiveItem* item, TArProcessType type, TArErrorClass c,
                                      int32_t code) {
      Failures.push_back({item->FileName(), type, c, code});
    };
  }
  void MakeFile(const std::string& name, const Bytes& bytes) { WriteFileBytes(Folder / name, bytes); }
  std::string ZipPath() const { return Folder / "book.zip"; }
  // Extracts the named entry into memory.
  Bytes Extract(const AnsiString& name) {
    TMemoryStream out;
    Zip.ExtractItemToStream(name, out);
    return StreamBytes(out);
  }

  TTempFolder Folder;
  TArUnZipper Zip;
  std::vector<TFailure> Failures;
};

size_t FindCentralHeader(const Bytes& zip) {
  for (size_t i = 0; i + 4 <= zip.size(); ++i)
    if (LoadLE32(&zip[i]) == ZipCentralSignature) return i;
  throw std::runtime_error("no central header");
}

TEST_F(Unzipper, ExtractsWhatDebiansZipStoredAndDeflated) {
  Bytes text = BookLikeText(200000, 1), noise = RandomBytes(5000, 2);
  MakeFile("book.fb2", text);
  MakeFile("noise.bin", noise);
  MakeFile("empty.txt", Bytes{});
  for (const char* level : {"-0", "-6", "-9"}) {
    SCOPED_TRACE(level);
    RunIn(Folder, std::string("rm -f book.zip && zip -X ") + level + " book.zip book.fb2 noise.bin empty.txt");
    Zip.OpenArchive(ZipPath());
    ASSERT_EQ(Zip.GetItemCount(), 3);
    EXPECT_EQ(Zip.ArchiveType(), atZip);
    EXPECT_EQ(Extract("book.fb2"), text);
    EXPECT_EQ(Extract("NOISE.BIN"), noise);
    EXPECT_EQ(Extract("empty.txt"), Bytes{});
    Zip.CloseArchive();
  }
  EXPECT_TRUE(Failures.empty());
}

TEST_F(Unzipper, ExtractsByItemAndAppendsAtTheStreamsPosition) {
  MakeFile("a.txt", Bytes{'a', 'b'});
  RunIn(Folder, "zip -X book.zip a.txt");
  Zip.OpenArchive(ZipPath());
  TMemoryStream out;
  out.WriteBuffer("xy", 2);
  Zip.ExtractItemToStream(*Zip.GetItem(0), out);
  EXPECT_EQ(StreamBytes(out), (Bytes{'x', 'y', 'a', 'b'}));
  EXPECT_EQ(out.Position(), 4);
}

TEST_F(Unzipper, ExtractsDeflateAndDeflate64MadeBy7Zip) {
  // 50 KB of noise twice: the second half is one match 50 KB back, beyond deflate's reach.
  Bytes half = RandomBytes(50000, 3), data = half;
  data.insert(data.end(), half.begin(), half.end());
  MakeFile("far.bin", data);
  MakeFile("book.fb2", BookLikeText(300000, 4));
  for (const char* method : {"Deflate", "Deflate64"}) {
    SCOPED_TRACE(method);
    RunIn(Folder, std::string("rm -f book.zip && 7z a -tzip -mm=") + method + " -mx=9 book.zip far.bin book.fb2");
    Zip.OpenArchive(ZipPath());
    ASSERT_EQ(Zip.GetItemCount(), 2);
    auto* item = static_cast<TArZipItem*>(Zip.GetItem(0));
    EXPECT_EQ(item->CompressionMethod(), std::string(method) == "Deflate" ? 8 : 9);
    if (item->CompressionMethod() == 9) {
      EXPECT_LT(item->CompressedSize(), 60000);
    }
    EXPECT_EQ(Extract("far.bin"), data);
    EXPECT_EQ(Extract("book.fb2"), BookLikeText(300000, 4));
  }
  EXPECT_TRUE(Failures.empty());
}

TEST_F(Unzipper, DecryptsTraditionalEncryptionWithThePassword) {
  Bytes text = BookLikeText(40000, 5);
  MakeFile("book.fb2", text);
  MakeFile("small.txt", Bytes{'s', 'e', 'c', 'r', 'e', 't'});
  const std::string makers[] = {"zip -X -P pass book.zip book.fb2 small.txt",
                                "zip -X -0 -P pass book.zip book.fb2 small.txt",
                                "7z a -tzip -mem=ZipCrypto -ppass book.zip book.fb2 small.txt"};
  for (const std::string& maker : makers) {
    SCOPED_TRACE(maker);
    RunIn(Folder, "rm -f book.zip && " + maker);
    Zip.OpenArchive(ZipPath());
    ASSERT_TRUE(Zip.GetItem(0)->IsEncrypted());
    Zip.SetPassword("pass");
    EXPECT_EQ(Extract("book.fb2"), text);
    EXPECT_EQ(Extract("small.txt"), (Bytes{'s', 'e', 'c', 'r', 'e', 't'}));
    EXPECT_TRUE(Failures.empty());
    Zip.SetPassword("");
    Zip.CloseArchive();
  }
}

// Whether password passes the one-byte header check of the first entry of zip.
bool PassesHeaderCheck(const Bytes& zip, const AnsiString& password) {
  size_t dataStart = ZipLocalBytes + LoadLE16(&zip[ZipLocNameBytes]) + LoadLE16(&zip[ZipLocExtraBytes]);
  uint32_t check = (LoadLE16(&zip[ZipLocFlags]) & ZipFlagDataDescriptor)
                       ? static_cast<uint32_t>(LoadLE16(&zip[ZipLocTime])) << 16
                       : LoadLE32(&zip[ZipLocCrc]);
  TMemoryStream source;
  LoadBytes(source, zip);
  source.SetPosition(static_cast<int64_t>(dataStart));
  return TArDfDecryptStream(source, password, check).CheckHeader();
}

TEST_F(Unzipper, AsksForAPasswordAndGivesUpAfterTheRetries) {
  Bytes text = BookLikeText(10000, 6);
  MakeFile("book.fb2", text);
  // zip's encryption header is random, and a wrong password passes its one-byte check
  // once in 256: the archive is made again until the wrong passwords below fail it.
  do {
    RunIn(Folder, "rm -f book.zip && zip -X -P right book.zip book.fb2");
  } while (PassesHeaderCheck(ReadFileBytes(ZipPath()), "wrong") || PassesHeaderCheck(ReadFileBytes(ZipPath()), "nope"));
  Zip.OpenArchive(ZipPath());
  {
    SCOPED_TRACE("no password and no handler");
    EXPECT_TRUE(Extract("book.fb2").empty());
    ASSERT_EQ(Failures.size(), 1u);
    EXPECT_EQ(Failures[0].Code, 4);
    EXPECT_EQ(Failures[0].Class, ecArchiver);
    EXPECT_EQ(Failures[0].Type, ptExtract);
  }
  Failures.clear();
  {
    SCOPED_TRACE("a wrong password, then the right one on request");
    std::vector<AnsiString> answers{"right"};
    int asked = 0;
    Zip.OnNeedPassword = [&](TObject*, AnsiString& password) { password = answers.at(static_cast<size_t>(asked++)); };
    Zip.SetPassword("wrong");
    EXPECT_EQ(Extract("book.fb2"), text);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(Zip.Password(), "right");
    EXPECT_TRUE(Failures.empty());
  }
  {
    SCOPED_TRACE("wrong answers until the retries are used up");
    int asked = 0;
    Zip.OnNeedPassword = [&](TObject*, AnsiString& password) {
      ++asked;
      password = "nope";
    };
    Zip.SetPassword("wrong");
    EXPECT_TRUE(Extract("book.fb2").empty());
    EXPECT_EQ(asked, 3);
    ASSERT_EQ(Failures.size(), 1u);
    EXPECT_EQ(Failures[0].Code, 4);
  }
}

TEST_F(Unzipper, ExtractsAnEntryWrittenWithADataDescriptor) {
  Bytes text = BookLikeText(20000, 7);
  MakeFile("book.fb2", text);
  // Written to a pipe, zip cannot go back to the header: the sizes follow the data.
  RunIn(Folder, "cat book.fb2 | zip -X -fz- - - | cat > book.zip");
  Zip.OpenArchive(ZipPath());
  auto* item = static_cast<TArZipItem*>(Zip.GetItem(0));
  ASSERT_TRUE(item->GeneralPurposeBitFlag() & ZipFlagDataDescriptor);
  EXPECT_EQ(Extract("-"), text);
  EXPECT_TRUE(Failures.empty());
  // Its local header carries no sizes: the test compares it with the directory.
  EXPECT_THROW(Zip.ZipArchive()->TestEntry(0), EArZipInvalidLFH);
}

TEST_F(Unzipper, TestsAnEntryWithoutKeepingItsData) {
  MakeFile("book.fb2", BookLikeText(20000, 8));
  RunIn(Folder, "zip -X book.zip book.fb2");
  Zip.OpenArchive(ZipPath());
  EXPECT_NO_FATAL_FAILURE(Zip.ZipArchive()->TestEntry(0));
  Bytes zip = ReadFileBytes(ZipPath());
  zip[FindCentralHeader(zip) + ZipCenCrc] ^= 1;  // the directory's CRC no longer matches
  WriteFileBytes(ZipPath(), zip);
  Zip.OpenArchive(ZipPath());
  EXPECT_THROW(Zip.ZipArchive()->TestEntry(0), EArZipInvalidLFH);
}

// Damage, each reported once through the item-failure event with the class and code,
// the input file unchanged.
TEST_F(Unzipper, ReportsDamagedEntriesThroughTheFailureEvent) {
  Bytes text = BookLikeText(100000, 9);
  MakeFile("book.fb2", text);
  RunIn(Folder, "zip -X -0 stored.zip book.fb2 && zip -X -9 deflated.zip book.fb2");
  const Bytes stored = ReadFileBytes(Folder / "stored.zip"), deflated = ReadFileBytes(Folder / "deflated.zip");
  struct Case {
    const char* Name;
    Bytes Zip;
    TArErrorClass Class;
    int32_t Code;
    size_t KeptBytes;  // bytes left in the stream, all of them the entry's own
  };
  std::vector<Case> cases;
  {
    Bytes z = stored;
    z[30 + 8 + 5000] ^= 0xFF;  // one byte of the stored data (after the 30 + 8 byte header)
    cases.push_back({"bad CRC of a stored entry", z, ecArchiver, 23, text.size()});
  }
  {
    Bytes z = deflated;
    StoreLE32(&z[FindCentralHeader(z) + ZipCenCrc], 0x12345678);
    cases.push_back({"bad CRC of a deflated entry", z, ecArchiver, 23, text.size()});
  }
  {
    Bytes z = stored;
    z[2] = 9;  // local header signature
    cases.push_back({"bad local header", z, ecArchiver, 28, 0});
  }
  {
    Bytes z = deflated;
    StoreLE32(&z[FindCentralHeader(z) + ZipCenUncompressed], 1000);  // claims less than it inflates to
    cases.push_back({"more data than announced", z, ecOther, 0, 1000});
  }
  {
    Bytes z = deflated;
    StoreLE32(&z[FindCentralHeader(z) + ZipCenUncompressed], 200000);  // claims more
    cases.push_back({"less data than announced", z, ecArchiver, 29, text.size()});
  }
  {
    Bytes z = deflated;
    StoreLE32(&z[FindCentralHeader(z) + ZipCenUncompressed], 0xF0000000);  // a bomb by its claim
    cases.push_back({"an entry claiming gigabytes", z, ecArchiver, 28, 0});
  }
  {
    Bytes z = deflated;
    StoreLE16(&z[ZipLocMethod], 12);  // the local header's method picks the decoder
    cases.push_back({"unsupported method", z, ecArchiver, 2, 0});
  }
  {
    Bytes z = deflated;
    StoreLE16(&z[FindCentralHeader(z) + ZipCenVersionNeeded], 45);
    cases.push_back({"newer version needed", z, ecArchiver, 1, 0});
  }
  {
    Bytes z = deflated;
    for (size_t i = 30 + 8 + 100; i < 30 + 8 + 200; ++i) z[i] = 0xFF;  // corrupt the compressed data
    // What inflates before the damage is found may already be garbage: only the report counts.
    cases.push_back({"corrupt deflate data", z, ecOther, 0, SIZE_MAX});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    Failures.clear();
    WriteFileBytes(ZipPath(), c.Zip);
    Zip.OpenArchive(ZipPath());
    Bytes out = Extract("book.fb2");
    ASSERT_EQ(Failures.size(), 1u);
    EXPECT_EQ(Failures[0].Class, c.Class);
    EXPECT_EQ(Failures[0].Code, c.Code);
    if (c.KeptBytes != SIZE_MAX) {
      EXPECT_EQ(out.size(), c.KeptBytes);
      if (c.Code != 23) {
        EXPECT_TRUE(std::equal(out.begin(), out.end(), text.begin()));
      }
    }
    Zip.CloseArchive();
    EXPECT_EQ(ReadFileBytes(ZipPath()), c.Zip);
  }
}

TEST_F(Unzipper, ABombIsRefusedBeforeAnythingIsInflated) {
  // 2 MB of zeros deflated to about 2 KB: a ratio above the limit.
  MakeFile("zeros.bin", Bytes(2 << 20, 0));
  RunIn(Folder, "zip -X -9 book.zip zeros.bin");
  Zip.OpenArchive(ZipPath());
  auto& item = static_cast<TArZipItem&>(*Zip.GetItem(0));
  TMemoryStream out;
  TArLimits small;
  small.RatioFreeBytes = 1 << 20;
  small.MaxRatio = 100;
  Zip.ZipArchive()->Limits = small;
  try {
    ExtractZipItemToStream(*Zip.ZipArchive(), item, &out);
    FAIL();
  } catch (const EArZipInvalid& e) {
    EXPECT_EQ(e.LimitFault(), TArLimitFault::Ratio);
  }
  small.MaxExpandedBytes = 1 << 20;
  Zip.ZipArchive()->Limits = small;
  try {
    ExtractZipItemToStream(*Zip.ZipArchive(), item, &out);
    FAIL();
  } catch (const EArZipInvalid& e) {
    EXPECT_EQ(e.LimitFault(), TArLimitFault::ExpandedSize);
  }
  EXPECT_EQ(out.Size(), 0);
  // With the default limits it extracts.
  Zip.ZipArchive()->Limits = TArLimits();
  ExtractZipItemToStream(*Zip.ZipArchive(), item, &out);
  EXPECT_EQ(out.Size(), 2 << 20);
}

TEST_F(Unzipper, NamesNeverLeadOutOfTheTargetFolder) {
  RunIn(Folder,
        "mkdir target && python3 -c \"import zipfile; z=zipfile.ZipFile('book.zip','w'); "
        "[z.writestr(n, n) for n in ['../evil.txt', '/abs.txt', 'a/../../up.txt', 'ok/./in.txt', 'dir/']]; "
        "z.close()\"");
  Zip.OpenArchive(ZipPath());
  Zip.SetBaseDirectory(Folder / "target");
  Zip.SetExtractOptions(eoCreateDirs | eoRestorePath);
  ASSERT_EQ(Zip.GetItemCount(), 5);
  for (int32_t i = 0; i < 5; ++i) Zip.ZipArchive()->ExtractEntry(i, Zip.GetItem(i)->FileName());
  // Root, "." and ".." components are dropped: everything lands below target.
  EXPECT_EQ(ReadFileBytes(Folder / "target/evil.txt"), (Bytes{'.', '.', '/', 'e', 'v', 'i', 'l', '.', 't', 'x', 't'}));
  EXPECT_FALSE(ReadFileBytes(Folder / "target/abs.txt").empty());
  EXPECT_FALSE(ReadFileBytes(Folder / "target/a/up.txt").empty());
  EXPECT_FALSE(ReadFileBytes(Folder / "target/ok/in.txt").empty());
  struct stat info;
  EXPECT_EQ(stat((Folder / "target/dir").c_str(), &info), 0);
  EXPECT_NE(stat((Folder / "evil.txt").c_str(), &info), 0);
  EXPECT_NE(stat((Folder / "up.txt").c_str(), &info), 0);
  EXPECT_NE(stat("/abs.txt", &info), 0);
}

TEST_F(Unzipper, ExtractingToAFileKeepsTheOldFileWhenTheEntryFails) {
  MakeFile("book.fb2", BookLikeText(10000, 10));
  RunIn(Folder, "mkdir target && zip -X book.zip book.fb2");
  Bytes zip = ReadFileBytes(ZipPath());
  StoreLE32(&zip[FindCentralHeader(zip) + ZipCenUncompressed], 10);
  WriteFileBytes(ZipPath(), zip);
  MakeFile("target/book.fb2", Bytes{'o', 'l', 'd'});
  Zip.OpenArchive(ZipPath());
  Zip.SetBaseDirectory(Folder / "target");
  EXPECT_THROW(Zip.ZipArchive()->ExtractEntry(0, "book.fb2"), EArInflateError);
  EXPECT_EQ(ReadFileBytes(Folder / "target/book.fb2"), (Bytes{'o', 'l', 'd'}));
}

TEST_F(Unzipper, RecognisesFilesByExtensionAndContent) {
  MakeFile("a.txt", Bytes{'a'});
  RunIn(Folder,
        "zip -X book.zip a.txt && cp book.zip LOWER.ZIP && gzip -c a.txt > fake.zip && "
        "cp fake.zip x.gz && cp book.zip book.dat");
  EXPECT_EQ(DetectArchiveType(Folder / "LOWER.ZIP"), atZip);
  EXPECT_EQ(DetectArchiveType(Folder / "fake.zip"), atUnknown);
  EXPECT_EQ(DetectArchiveType(Folder / "book.dat"), atUnknown);
  EXPECT_EQ(DetectArchiveType(Folder / "missing.tgz"), atGzippedTar);
  EXPECT_EQ(DetectArchiveType(Folder / "missing.exe"), atUnknown);
  EXPECT_EQ(DetectArchiveType(Folder / "book.dat", atZip), atZip);
  EXPECT_THROW(Zip.OpenArchive(Folder / "fake.zip"), EArUnhandledType);
  // The same gzip under its own extension opens: one item.
  Zip.OpenArchive(Folder / "x.gz");
  EXPECT_EQ(Zip.ArchiveType(), atGzip);
  EXPECT_EQ(Zip.GetItemCount(), 1);
}

TEST_F(Unzipper, OpeningFailuresLeaveTheOpenArchiveAsItWas) {
  MakeFile("a.txt", Bytes{'a'});
  RunIn(Folder, "zip -X book.zip a.txt && touch empty.zip");
  Zip.OpenArchive(ZipPath());
  try {
    Zip.OpenArchive(Folder / "missing.zip");
    FAIL();
  } catch (const EArFileNotFound& e) {
    EXPECT_EQ(e.Message(), "File not found");
  }
  try {
    Zip.OpenArchive(Folder / "empty.zip");
    FAIL();
  } catch (const EArBadStream& e) {
    EXPECT_EQ(e.Message(), "Invalid Stream");
  }
  EXPECT_EQ(Zip.FileName(), ZipPath());
  EXPECT_EQ(Zip.GetItemCount(), 1);
}

TEST_F(Unzipper, ClosingFiresOnChangeAndNeverWritesTheArchive) {
  RunIn(Folder, "python3 -c \"import zipfile; zipfile.ZipFile('book.zip','w').close()\"");
  Bytes before = ReadFileBytes(ZipPath());
  int changes = 0;
  Zip.OnChange = [&](TObject*) { ++changes; };
  Zip.OpenArchive(ZipPath());
  EXPECT_EQ(Zip.GetItemCount(), 0);
  Zip.CloseArchive();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(Zip.Archive(), nullptr);
  EXPECT_EQ(ReadFileBytes(ZipPath()), before);
  TMemoryStream out;
  EXPECT_THROW(Zip.ExtractItemToStream("a", out), EArNoArchive);
}

TEST_F(Unzipper, AnUnknownNameOrAVetoExtractsNothing) {
  MakeFile("a.txt", Bytes{'a'});
  RunIn(Folder, "zip -X book.zip a.txt");
  Zip.OpenArchive(ZipPath());
  EXPECT_TRUE(Extract("b.txt").empty());
  Zip.OnConfirmProcessItem = [](TObject*, TArArchiveItem*, TArProcessType type, bool& confirm) {
    EXPECT_EQ(type, ptExtract);
    confirm = false;
  };
  EXPECT_TRUE(Extract("a.txt").empty());
  EXPECT_TRUE(Failures.empty());
}

TEST_F(Unzipper, ReportsItemProgressUpTo100AndStopsOnAbort) {
  MakeFile("book.fb2", BookLikeText(500000, 11));
  RunIn(Folder, "zip -X -0 stored.zip book.fb2 && zip -X -6 book.zip book.fb2");
  for (const char* name : {"stored.zip", "book.zip"}) {
    SCOPED_TRACE(name);
    Failures.clear();
    Zip.OpenArchive(Folder / name);
    std::vector<int32_t> seen;
    Zip.OnArchiveItemProgress = [&](TObject*, TArArchiveItem*, int32_t progress, bool&) { seen.push_back(progress); };
    EXPECT_EQ(Extract("book.fb2").size(), 500000u);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.back(), 100);
    Zip.OnArchiveItemProgress = [&](TObject*, TArArchiveItem*, int32_t, bool& abort) { abort = true; };
    Extract("book.fb2");
    ASSERT_EQ(Failures.size(), 1u);
    EXPECT_EQ(Failures[0].Code, 9);
    Zip.OnArchiveItemProgress = nullptr;
  }
}

}  // namespace

namespace {

// An archive read from a caller's stream extracts as one opened by name; its name only
// labels it. The opening failures are those of a file, and leave the open archive as it
// was.
TEST_F(Unzipper, OpensAZipHeldByAStream) {
  Bytes text = BookLikeText(30000, 11);
  MakeFile("book.fb2", text);
  RunIn(Folder, "zip -X -9 book.zip book.fb2 && gzip -c book.fb2 > fake.zip");
  int changes = 0;
  Zip.OnChange = [&](TObject*) { ++changes; };
  TMemoryStream zip;
  LoadBytes(zip, ReadFileBytes(ZipPath()));
  zip.SetPosition(7);  // read from its start whatever its position
  Zip.OpenStream(zip, "label.zip");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(Zip.FileName(), "label.zip");
  EXPECT_EQ(Zip.ArchiveType(), atZip);
  ASSERT_EQ(Zip.GetItemCount(), 1);
  EXPECT_EQ(Extract("book.fb2"), text);
  EXPECT_TRUE(Failures.empty());

  TMemoryStream empty, gzip, cut;
  LoadBytes(gzip, ReadFileBytes(Folder / "fake.zip"));
  const Bytes whole = ReadFileBytes(ZipPath());
  LoadBytes(cut, Bytes(whole.begin(), whole.begin() + static_cast<ptrdiff_t>(whole.size() / 2)));
  EXPECT_THROW(Zip.OpenStream(empty, "empty.zip"), EArBadStream);
  EXPECT_THROW(Zip.OpenStream(gzip, "fake.zip"), EArUnhandledType);
  EXPECT_THROW(Zip.OpenStream(cut, "cut.zip"), EArException);
  EXPECT_EQ(Zip.FileName(), "label.zip");
  EXPECT_EQ(Zip.GetItemCount(), 1);
  EXPECT_EQ(changes, 1);

  // Closing lets go of the stream, which it never wrote.
  Zip.CloseArchive();
  EXPECT_EQ(Zip.Archive(), nullptr);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(StreamBytes(zip), whole);
  // Closed even without a name.
  Zip.OpenStream(zip, "");
  ASSERT_NE(Zip.Archive(), nullptr);
  Zip.CloseArchive();
  EXPECT_EQ(Zip.Archive(), nullptr);
}

}  // namespace
