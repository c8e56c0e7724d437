// Reading zip directories: archives made by Debian's zip, 7-Zip and Python's zipfile,
// and damaged ones patched by hand.
#include <gtest/gtest.h>

#include <memory>

#include "archive/ArZipDefs.h"
#include "archive/ArZipTyp.h"
#include "archive/ArchiveTestSupport.h"
#include "platform/base/CodePages.h"

namespace {

// Opens a zip archive over bytes in memory.
struct TOpened {
  explicit TOpened(const Bytes& bytes) : Archive(Stream, "test.zip") { LoadBytes(Stream, bytes); }
  TMemoryStream Stream;
  TArZipArchive Archive;
};

size_t FindCentralHeader(const Bytes& zip, size_t from = 0) {
  for (size_t i = from; i + 4 <= zip.size(); ++i)
    if (LoadLE32(&zip[i]) == ZipCentralSignature) return i;
  throw std::runtime_error("no central header");
}

void ExpectInvalid(const Bytes& bytes, TArLimitFault fault = TArLimitFault::None, TArLimits limits = {}) {
  TOpened z(bytes);
  z.Archive.Limits = limits;
  try {
    z.Archive.LoadContents();
    ADD_FAILURE() << "accepted";
  } catch (const EArZipInvalid& e) {
    EXPECT_EQ(e.Message(), "Invalid file - not a PKZip file");
    EXPECT_EQ(e.LimitFault(), fault);
  }
  EXPECT_EQ(z.Archive.Count(), 0);
}

class ZipDirectory : public testing::Test {
protected:
  Bytes MakeZip(const std::string& command) {
    RunIn(Folder, command);
    return ReadFileBytes(Folder / "out.zip");
  }
  void MakeFile(const std::string& name, const Bytes& bytes) { WriteFileBytes(Folder / name, bytes); }
  TTempFolder Folder;
};

TEST_F(ZipDirectory, ListsWhatDebiansZipStored) {
  MakeFile("a.txt", BookLikeText(3000, 1));
  MakeFile("b.bin", RandomBytes(500, 2));
  RunIn(Folder, "mkdir -p sub/deep && printf 'x' > sub/deep/c.fb2");
  TOpened z(MakeZip("zip -r -X out.zip a.txt b.bin sub"));
  z.Archive.LoadContents();
  ASSERT_EQ(z.Archive.Count(), 5);
  const char* names[] = {"a.txt", "b.bin", "sub/", "sub/deep/", "sub/deep/c.fb2"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(z.Archive.Items(i)->FileName(), names[i]);
  EXPECT_EQ(z.Archive.Items(0)->UncompressedSize(), 3000);
  EXPECT_EQ(z.Archive.Items(0)->Crc32(), ZlibCrc(BookLikeText(3000, 1)));
  EXPECT_LT(z.Archive.Items(0)->CompressedSize(), 3000);
  EXPECT_EQ(z.Archive.FindName("SUB/DEEP/C.FB2"), 4);
  // Debian's unzip lists the same names in the same order.
  RunIn(Folder, "unzip -Z1 out.zip > names.txt");
  Bytes listed = ReadFileBytes(Folder / "names.txt");
  std::string ours;
  for (int i = 0; i < 5; ++i) ours += z.Archive.Items(i)->FileName() + "\n";
  EXPECT_EQ(std::string(listed.begin(), listed.end()), ours);
  EXPECT_EQ(z.Archive.EndRecord().TotalEntries, 5);
}

TEST_F(ZipDirectory, AZipWithoutCommentIsFoundInTheLast22Bytes) {
  MakeFile("a.txt", Bytes{'a'});
  TOpened z(MakeZip("zip -X out.zip a.txt"));
  EXPECT_EQ(FindEndRecord(z.Stream), z.Stream.Size() - 22);
  EXPECT_EQ(z.Stream.Position(), z.Stream.Size() - 22);
}

TEST_F(ZipDirectory, ACommentHidingAFalseEndSignatureIsPassedOver) {
  MakeFile("a.txt", Bytes{'a'});
  Bytes zip = MakeZip("zip -X out.zip a.txt");
  size_t endAt = zip.size() - 22;
  // A 1000-byte comment; 100 bytes before its end it holds "PK\5\6" whose comment length
  // (65535) is longer than the bytes after it.
  Bytes comment(1000, 'c');
  Bytes fake(22, 0);
  StoreLE32(fake.data(), ZipEndSignature);
  StoreLE16(fake.data() + ZipEndCommentBytes, 0xFFFF);
  std::copy(fake.begin(), fake.end(), comment.end() - 100);
  StoreLE16(&zip[endAt + ZipEndCommentBytes], 1000);
  zip.insert(zip.end(), comment.begin(), comment.end());
  TOpened z(zip);
  EXPECT_EQ(FindEndRecord(z.Stream), static_cast<int64_t>(endAt));
  EXPECT_EQ(CheckZip(z.Stream), atZip);
  z.Archive.LoadContents();
  EXPECT_EQ(z.Archive.Count(), 1);
  EXPECT_EQ(z.Archive.EndRecord().ZipfileComment.size(), 1000u);
}

TEST_F(ZipDirectory, AnEmptyFileIsAnEmptyArchiveAndAShortOneIsNoZip) {
  TOpened empty(Bytes{});
  empty.Archive.LoadContents();
  EXPECT_EQ(empty.Archive.Count(), 0);
  ExpectInvalid(Bytes{'P', 'K', 5, 6, 0, 0});
}

TEST_F(ZipDirectory, ReadsPythonsEmptyArchiveAndUtf8Names) {
  RunIn(Folder, "python3 -c \"import zipfile; zipfile.ZipFile('out.zip','w').close()\"");
  TOpened empty(ReadFileBytes(Folder / "out.zip"));
  empty.Archive.LoadContents();
  EXPECT_EQ(empty.Archive.Count(), 0);

  RunIn(Folder,
        "python3 -c \"import zipfile; z=zipfile.ZipFile('out.zip','w',zipfile.ZIP_DEFLATED); "
        "z.writestr('\\u043a\\u043d\\u0438\\u0433\\u0430.fb2', 'text'*100); z.close()\"");
  TOpened named(ReadFileBytes(Folder / "out.zip"));
  named.Archive.LoadContents();
  ASSERT_EQ(named.Archive.Count(), 1);
  // Not an MS-DOS host: the UTF-8 bytes stay as they are.
  EXPECT_EQ(named.Archive.Items(0)->FileName(), "\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0.fb2");
}

TEST_F(ZipDirectory, DosNamesComeInTheAnsiCodePage) {
  ASSERT_EQ(GetOEMCP(), 866u);
  ASSERT_EQ(GetACP(), 1251u);
  MakeFile("\x8E.fb2", Bytes{'x'});
  Bytes zip = MakeZip("zip -X out.zip \"$(printf '\\216.fb2')\"");
  size_t central = FindCentralHeader(zip);
  {
    TOpened z(zip);
    z.Archive.LoadContents();
    EXPECT_EQ(z.Archive.Items(0)->FileName(), "\x8E.fb2");  // Unix host: unchanged
  }
  zip[central + ZipCenVersionMadeBy + 1] = 0;  // host MS-DOS
  TOpened z(zip);
  z.Archive.LoadContents();
  EXPECT_EQ(z.Archive.Items(0)->FileName(), "\xCE.fb2");  // CP866 0x8E is CP1251 0xCE
}

TEST_F(ZipDirectory, NamesDifferingInCaseAreBothKeptAndTheLastIsFound) {
  RunIn(Folder,
        "python3 -c \"import zipfile; z=zipfile.ZipFile('out.zip','w'); "
        "z.writestr('a.txt','1'); z.writestr('A.TXT','2'); z.close()\" 2>/dev/null");
  TOpened z(ReadFileBytes(Folder / "out.zip"));
  z.Archive.LoadContents();
  ASSERT_EQ(z.Archive.Count(), 2);
  EXPECT_EQ(z.Archive.FindName("a.txt"), 1);
}

TEST_F(ZipDirectory, ASelfExtractorKnowsItsExecutablePrefix) {
  MakeFile("a.txt", BookLikeText(100, 3));
  Bytes zip = MakeZip("zip -X out.zip a.txt");
  Bytes exe{'M', 'Z'};
  exe.resize(700, 0x90);
  exe.insert(exe.end(), zip.begin(), zip.end());
  WriteFileBytes(Folder / "out.zip", exe);
  RunIn(Folder, "zip -A out.zip");  // the offsets now count from the start of the executable prefix
  TOpened z(ReadFileBytes(Folder / "out.zip"));
  EXPECT_EQ(CheckSelfExtractor(z.Stream), atSelfExtZip);
  z.Archive.LoadContents();
  EXPECT_TRUE(z.Archive.IsExecutable());
  EXPECT_EQ(z.Archive.ExecutablePrefixSize(), 700u);
  EXPECT_EQ(z.Archive.Count(), 1);
}

TEST_F(ZipDirectory, RefusesDamagedDirectories) {
  MakeFile("a.txt", BookLikeText(2000, 4));
  MakeFile("b.txt", BookLikeText(2000, 5));
  Bytes zip = MakeZip("zip -X out.zip a.txt b.txt");
  size_t endAt = zip.size() - 22;
  {
    SCOPED_TRACE("directory past the end");
    Bytes bad = zip;
    StoreLE32(&bad[endAt + ZipEndDirectoryOffset], static_cast<uint32_t>(zip.size() + 100));
    ExpectInvalid(bad);
  }
  {
    SCOPED_TRACE("central header signature");
    Bytes bad = zip;
    bad[FindCentralHeader(bad) + 3] = 9;
    ExpectInvalid(bad);
  }
  {
    SCOPED_TRACE("name running past the directory");
    Bytes bad = zip;
    StoreLE16(&bad[FindCentralHeader(bad) + ZipCenNameBytes], 0xFFFF);
    ExpectInvalid(bad);
  }
  {
    SCOPED_TRACE("no end record");
    ExpectInvalid(Bytes(zip.begin(), zip.begin() + static_cast<std::ptrdiff_t>(endAt)));
  }
  {
    SCOPED_TRACE("a volume of a set, read from a stream that cannot reach the others");
    Bytes bad = zip;
    StoreLE16(&bad[endAt + ZipEndDisk], 1);
    TOpened z(bad);
    EXPECT_THROW(z.Archive.LoadContents(), EArZipBadSpanStream);
    EXPECT_EQ(z.Archive.Count(), 0);
  }
}

TEST_F(ZipDirectory, LimitsRefuseTooManyEntriesAndLongNames) {
  MakeFile("a.txt", Bytes{'1'});
  MakeFile("a_rather_long_name.txt", Bytes{'2'});
  Bytes zip = MakeZip("zip -X out.zip a.txt a_rather_long_name.txt");
  TArLimits oneEntry;
  oneEntry.MaxEntries = 1;
  ExpectInvalid(zip, TArLimitFault::EntryCount, oneEntry);
  TArLimits shortNames;
  shortNames.MaxNameBytes = 10;
  ExpectInvalid(zip, TArLimitFault::NameLength, shortNames);
}

TEST_F(ZipDirectory, LoadingAnotherArchiveWithTheSameObjectStartsAfresh) {
  MakeFile("a.txt", Bytes{'1'});
  Bytes good = MakeZip("zip -X out.zip a.txt");
  TOpened z(Bytes{'P', 'K', 3, 4});
  EXPECT_THROW(z.Archive.LoadContents(), EArZipInvalid);
  LoadBytes(z.Stream, good);
  z.Archive.LoadContents();
  EXPECT_EQ(z.Archive.Count(), 1);
  LoadBytes(z.Stream, good);
  z.Archive.LoadContents();
  EXPECT_EQ(z.Archive.Count(), 1);
}

TEST_F(ZipDirectory, AnAbortFromTheProgressHandlerLeavesTheArchiveInvalid) {
  MakeFile("a.txt", Bytes{'1'});
  TOpened z(MakeZip("zip -X out.zip a.txt"));
  z.Archive.OnArchiveProgress = [](TObject*, int32_t, bool& abort) { abort = true; };
  try {
    z.Archive.LoadContents();
    FAIL();
  } catch (const EArUserAbort& e) {
    EXPECT_EQ(e.Message(), "Process aborted by user");
  }
  EXPECT_EQ(z.Archive.Status(), asInvalid);
  EXPECT_THROW(z.Archive.LoadContents(), EArNoArchive);
}

}  // namespace
