// Gzip files: read from Debian's gzip, written here and checked by gzip -t and zcat,
// gzipped tars in both views, and damaged members.
#include <gtest/gtest.h>

#include "archive/ArBrowse.h"
#include "archive/ArGzTyp.h"
#include "archive/ArchiveTestSupport.h"

namespace {

struct TOpened {
  explicit TOpened(const Bytes& bytes, bool tarView = false) : Archive(Stream, "test.gz") {
    LoadBytes(Stream, bytes);
    Archive.HoldsTar = Archive.TarAutoHandle = tarView;
  }
  TMemoryStream Stream;
  TArGzipArchive Archive;
};

Bytes Extract(TArArchive& archive, int32_t index) {
  TMemoryStream out;
  archive.ExtractItem(*archive.Items(index), out);
  return StreamBytes(out);
}

Bytes OurGzip(const Bytes& data, TArGzipItem& item) {
  TMemoryStream source, target;
  LoadBytes(source, data);
  WriteGzipMember(source, target, item);
  return StreamBytes(target);
}

TEST(GzipArchive, ReadsWhatGzipWrites) {
  TTempFolder folder;
  Bytes book = BookLikeText(200000, 1);
  WriteFileBytes(folder / "book.fb2", book);
  struct TCase {
    const char* Command;
    const char* Name;
  } cases[] = {{"gzip -c book.fb2 > out.gz", "book.fb2"},      // FNAME and MTIME
               {"gzip -n -c book.fb2 > out.gz", "unknown"},    // neither
               {"gzip -9 -c < book.fb2 > out.gz", "unknown"},  // from a pipe
               {"gzip -1 -c book.fb2 > out.gz", "book.fb2"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Command);
    RunIn(folder, c.Command);
    Bytes file = ReadFileBytes(folder / "out.gz");
    TOpened g(file);
    EXPECT_EQ(CheckGzipContent(g.Stream), atGzip);
    g.Archive.LoadContents();
    ASSERT_EQ(g.Archive.Count(), 1);
    TArArchiveItem& item = *g.Archive.Items(0);
    EXPECT_EQ(item.FileName(), c.Name);
    EXPECT_EQ(item.UncompressedSize(), 200000);
    EXPECT_EQ(item.Crc32(), ZlibCrc(book));
    EXPECT_EQ(Extract(g.Archive, 0), book);
    EXPECT_NO_THROW(g.Archive.TestEntry(0));
  }
}

TEST(GzipArchive, MembersWeWriteAreAcceptedByGzipAndZcat) {
  TTempFolder folder;
  struct TCase {
    const char* Name;
    Bytes Data;
    AnsiString FileName;
    AnsiString Comment;
    Bytes Extra;
    bool HeaderCrc;
  } cases[] = {{"text with a name", BookLikeText(150000, 2), "book.fb2", "", {}, false},
               {"random, every field", RandomBytes(70000, 3), "r.bin", "a comment", {'A', 'B', 2, 0, 'x', 'y'}, true},
               {"empty", {}, "", "", {}, false},
               {"header CRC alone", Bytes(1000, 'z'), "", "", {}, true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TArGzipItem item;
    item.SetFileName(c.FileName);
    item.Comment = c.Comment;
    item.ExtraField = c.Extra;
    item.HeaderCrc = c.HeaderCrc;
    item.SetMTime(1600000000);
    Bytes gz = OurGzip(c.Data, item);
    EXPECT_EQ(item.Crc32(), ZlibCrc(c.Data));
    EXPECT_EQ(item.UncompressedSize(), static_cast<int64_t>(c.Data.size()));
    WriteFileBytes(folder / "ours.gz", gz);
    RunIn(folder, "gzip -t ours.gz && zcat ours.gz > back.bin");
    EXPECT_EQ(ReadFileBytes(folder / "back.bin"), c.Data);
    // And read back here, header fields included.
    TOpened g(gz);
    g.Archive.LoadContents();
    ASSERT_EQ(g.Archive.Count(), 1);
    auto& read = static_cast<TArGzipItem&>(*g.Archive.Items(0));
    EXPECT_EQ(read.FileName(), c.FileName.empty() ? "unknown" : c.FileName);
    EXPECT_EQ(read.Comment, c.Comment);
    EXPECT_EQ(Bytes(read.ExtraField.begin(), read.ExtraField.end()), c.Extra);
    EXPECT_EQ(read.HeaderCrc, c.HeaderCrc);
    EXPECT_EQ(read.MTime(), 1600000000u);
    EXPECT_EQ(Extract(g.Archive, 0), c.Data);
  }
}

TEST(GzipArchive, AHeaderCrcThatDoesNotMatchIsRefusedAsGzipRefusesIt) {
  TTempFolder folder;
  TArGzipItem item;
  item.SetFileName("a.txt");
  item.HeaderCrc = true;
  Bytes gz = OurGzip(Bytes{'a', 'b', 'c'}, item);
  gz[10 + 6] ^= 0xFF;  // the first byte of the CRC16, after "a.txt" and its zero
  WriteFileBytes(folder / "bad.gz", gz);
  EXPECT_THROW(RunIn(folder, "gzip -t bad.gz"), std::runtime_error);
  TOpened g(gz);
  try {
    g.Archive.LoadContents();
    FAIL() << "no exception";
  } catch (const EArGzipInvalid& e) {
    EXPECT_EQ(e.ErrorCode(), 400);
    EXPECT_STREQ(e.what(), "Invalid Gzip");
  }
}

TEST(GzipArchive, DamagedMembersAreReportedWithTheGzipErrors) {
  Bytes data = BookLikeText(5000, 4);
  TArGzipItem item;
  Bytes good = OurGzip(data, item);
  struct TCase {
    const char* Name;
    size_t Offset;  // from the end
    int32_t Code;
  } cases[] = {{"CRC", 8, 401}, {"ISIZE", 4, 402}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Bytes bad = good;
    bad[bad.size() - c.Offset] ^= 1;
    TOpened g(bad);
    g.Archive.LoadContents();
    std::vector<int32_t> codes;
    g.Archive.OnProcessItemFailure = [&](TObject*, TArArchiveItem*, TArProcessType, TArErrorClass, int32_t code) {
      codes.push_back(code);
    };
    EXPECT_EQ(Extract(g.Archive, 0), data);  // the data is written, then judged
    EXPECT_EQ(codes, std::vector<int32_t>{c.Code});
    try {
      g.Archive.TestEntry(0);
      FAIL() << "no exception";
    } catch (const EArGzipException& e) {
      EXPECT_EQ(e.ErrorCode(), c.Code);
    }
  }
  // A member cut inside its data: the inflate error, and a trailer too short to read.
  Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
  TOpened g(cut);
  g.Archive.LoadContents();
  EXPECT_THROW(g.Archive.TestEntry(0), EArInflateError);
  TOpened tiny(Bytes(good.begin(), good.begin() + 12));
  EXPECT_THROW(tiny.Archive.LoadContents(), EArGzipInvalid);
}

TEST(GzipArchive, AGzippedTarShowsTheTarsItemsWhenAskedTo) {
  TTempFolder folder;
  Bytes book = BookLikeText(30000, 5);
  RunIn(folder, "mkdir in");
  WriteFileBytes(folder / "in/book.fb2", book);
  WriteFileBytes(folder / "in/note.txt", Bytes{'n', 'o', 't', 'e'});
  RunIn(folder, "tar --format=gnu --sort=name -czf out.tgz -C in . && gzip -c in/note.txt > plain.tgz");
  Bytes tgz = ReadFileBytes(folder / "out.tgz");
  TOpened g(tgz, true);
  EXPECT_EQ(CheckGzipContent(g.Stream), atGzippedTar);
  g.Archive.LoadContents();
  ASSERT_EQ(g.Archive.Count(), 2);
  EXPECT_EQ(g.Archive.Items(0)->FileName(), "./book.fb2");
  EXPECT_EQ(Extract(g.Archive, 0), book);
  EXPECT_EQ(Extract(g.Archive, 1), (Bytes{'n', 'o', 't', 'e'}));
  EXPECT_NO_THROW(g.Archive.TestEntry(1));

  TOpened whole(tgz, false);  // without tar handling: one gzip item, the tar itself
  whole.Archive.LoadContents();
  ASSERT_EQ(whole.Archive.Count(), 1);
  EXPECT_EQ(whole.Archive.Items(0)->UncompressedSize() % 512, 0);

  // Its first 512 unpacked bytes are no tar header: a plain gzip.
  TMemoryStream plain;
  LoadBytes(plain, ReadFileBytes(folder / "plain.tgz"));
  EXPECT_EQ(CheckGzipContent(plain), atGzip);
}

TEST(GzipArchive, TheBrowserOpensTarGzipAndGzippedTarByKind) {
  TTempFolder folder;
  RunIn(folder,
        "mkdir in && echo hello > in/a.txt && tar -cf t.tar -C in a.txt && gzip -c t.tar > t.tgz && "
        "gzip -c in/a.txt > a.gz && cp a.gz fake.zip && cp t.tar fake.gz");
  struct TCase {
    const char* File;
    TArArchiveType Kind;
    int32_t Items;
    bool TarAutoHandle;
  } cases[] = {{"t.tar", atTar, 1, false},
               {"a.gz", atGzip, 1, false},
               {"t.tgz", atGzippedTar, 1, true},
               {"t.tgz", atGzippedTar, 1, false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.File);
    EXPECT_EQ(DetectArchiveType(folder / c.File), c.Kind);
    TArBaseBrowser browser(nullptr);
    browser.TarAutoHandle = c.TarAutoHandle;
    browser.SetFileName(folder / c.File);
    EXPECT_EQ(browser.ArchiveType(), c.Kind);
    ASSERT_EQ(browser.GetItemCount(), c.Items);
    TMemoryStream out;
    browser.Archive()->ExtractItem(*browser.Archive()->Items(0), out);
    Bytes hello{'h', 'e', 'l', 'l', 'o', '\n'};
    if (c.Kind == atGzippedTar && !c.TarAutoHandle)
      EXPECT_EQ(StreamBytes(out), ReadFileBytes(folder / "t.tar"));
    else
      EXPECT_EQ(StreamBytes(out), hello);
  }
  // The extension picks the check: a gzip named .zip, a tar named .gz.
  for (const char* fake : {"fake.zip", "fake.gz"}) {
    SCOPED_TRACE(fake);
    EXPECT_EQ(DetectArchiveType(folder / fake), atUnknown);
    TArBaseBrowser browser(nullptr);
    EXPECT_THROW(browser.SetFileName(folder / fake), EArUnhandledType);
  }
  // An asserted kind is checked by its own content check.
  EXPECT_EQ(DetectArchiveType(folder / "fake.gz", atTar), atTar);
  EXPECT_EQ(DetectArchiveType(folder / "a.gz", atTar), atUnknown);
  EXPECT_EQ(DetectArchiveType(folder / "fake.zip", atGzip), atGzip);
}

}  // namespace
