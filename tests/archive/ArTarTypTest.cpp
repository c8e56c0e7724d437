// Tar archives: read from GNU tar's output in its formats, and damaged ones built here.
#include <gtest/gtest.h>

#include <cstring>

#include "archive/ArTarTyp.h"
#include "archive/ArchiveTestSupport.h"

namespace {

struct TOpenedTar {
  explicit TOpenedTar(const Bytes& bytes) : Archive(Stream, "test.tar") { LoadBytes(Stream, bytes); }
  TMemoryStream Stream;
  TArTarArchive Archive;
};

Bytes Extract(TArTarArchive& archive, int32_t index) {
  TMemoryStream out;
  archive.ExtractItem(*archive.Items(index), out);
  return StreamBytes(out);
}

// A header block built here: name, size, type; the checksum filled in.
Bytes HeaderBlock(const std::string& name, uint64_t size, char type = '0') {
  TArTarItem item;
  item.SetFileName(name);
  item.SetCompressedSize(static_cast<int64_t>(size));
  TArTarHeader header = item.Header();
  header[ArTar::TypeFlag.Offset] = static_cast<uint8_t>(type);
  SetTarOctal(header, ArTar::Checksum, TarChecksum(header));
  Bytes block(header.begin(), header.end());
  block.resize(ArTar::BlockBytes, 0);
  return block;
}

void Append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

Bytes Padded(Bytes data) {
  data.resize((data.size() + 511) / 512 * 512, 0);
  return data;
}

TEST(TarArchive, ReadsWhatGnuTarWritesInItsFormats) {
  TTempFolder folder;
  Bytes book = BookLikeText(70000, 1);
  Bytes small = RandomBytes(513, 2);
  RunIn(folder, "mkdir -p in/sub && ln -s ../book.fb2 in/sub/link");
  WriteFileBytes(folder / "in/book.fb2", book);
  WriteFileBytes(folder / "in/sub/small.bin", small);
  WriteFileBytes(folder / "in/empty", {});
  for (const char* format : {"gnu", "oldgnu", "ustar", "posix"}) {
    SCOPED_TRACE(format);
    RunIn(folder, std::string("tar --format=") + format + " --sort=name -cf out.tar -C in .");
    TOpenedTar t(ReadFileBytes(folder / "out.tar"));
    ASSERT_EQ(CheckTarContent(t.Stream), atTar);
    t.Archive.LoadContents();
    // Folders and the symbolic link are skipped; posix's extended headers too.
    ASSERT_EQ(t.Archive.Count(), 3);
    EXPECT_EQ(t.Archive.Items(0)->FileName(), "./book.fb2");
    EXPECT_EQ(t.Archive.Items(1)->FileName(), "./empty");
    EXPECT_EQ(t.Archive.Items(2)->FileName(), "./sub/small.bin");
    EXPECT_EQ(t.Archive.Items(0)->UncompressedSize(), 70000);
    EXPECT_EQ(t.Archive.Items(0)->CompressedSize(), 70000);
    EXPECT_EQ(Extract(t.Archive, 0), book);
    EXPECT_TRUE(Extract(t.Archive, 1).empty());
    EXPECT_EQ(Extract(t.Archive, 2), small);
    EXPECT_NO_THROW(t.Archive.TestEntry(2));
  }
}

TEST(TarArchive, EntriesWithNamesLongerThanTheFieldAreNotListedUnderACutName) {
  TTempFolder folder;
  std::string longDir(120, 'd');
  RunIn(folder, "mkdir -p in/" + longDir);
  WriteFileBytes(folder / ("in/" + longDir + "/book.fb2"), BookLikeText(100, 3));
  WriteFileBytes(folder / "in/short.txt", Bytes{'h', 'i'});
  for (const char* format : {"gnu", "ustar"}) {
    SCOPED_TRACE(format);
    RunIn(folder, std::string("tar --format=") + format + " -cf out.tar -C in ./" + longDir + "/book.fb2 ./short.txt");
    TOpenedTar t(ReadFileBytes(folder / "out.tar"));
    std::vector<TArProcessType> unhandled;
    t.Archive.OnConfirmProcessItem = [&](TObject*, TArArchiveItem*, TArProcessType type, bool&) {
      unhandled.push_back(type);
    };
    t.Archive.LoadContents();
    ASSERT_EQ(t.Archive.Count(), 1);
    EXPECT_EQ(t.Archive.Items(0)->FileName(), "./short.txt");
    EXPECT_EQ(Extract(t.Archive, 0), (Bytes{'h', 'i'}));
    EXPECT_NE(std::find(unhandled.begin(), unhandled.end(), ptFoundUnhandled), unhandled.end());
  }
}

TEST(TarArchive, NumbersAreWrittenRightAlignedWithOneSpace) {
  struct TCase {
    ArTar::Field Field;
    uint64_t Value;
    const char* Text;
    bool Fits;
  } cases[] = {
      {ArTar::Mode, 0744, "    744 ", true},  // mode 484
      {ArTar::Mode, 0, "      0 ", true},         {ArTar::Mode, 07777777, "7777777 ", true},
      {ArTar::Mode, 077777777, "77777777", true},  // digits fill the field: no space
      {ArTar::Mode, 0777777777, "", false},        // too wide: refused, nothing written
      {ArTar::Size, 70000, "     210560 ", true}, {ArTar::Size, 077777777777ull, "77777777777 ", true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TArTarHeader header{};
    EXPECT_EQ(SetTarOctal(header, c.Field, c.Value), c.Fits);
    std::string field(reinterpret_cast<const char*>(header.data() + c.Field.Offset), c.Field.Width);
    if (c.Fits) {
      EXPECT_EQ(field, c.Text);
      EXPECT_EQ(TarOctal(header, c.Field), static_cast<int64_t>(c.Value));
    } else {
      EXPECT_EQ(field, std::string(c.Field.Width, '\0'));
    }
  }
}

TEST(TarArchive, NumberFieldsAreReadWithinTheirWidth) {
  struct TCase {
    const char* Text;  // the 12-byte size field
    int64_t Value;
  } cases[] = {
      {"            ", 0},              // only spaces
      {"  17 3      ", 15},             // digits end at the first other character
      {"777777777777", 0777777777777},  // all twelve digits, no terminator: the field ends
      {"9           ", 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Text);
    TArTarHeader header{};
    std::memcpy(header.data() + ArTar::Size.Offset, c.Text, 12);
    header[ArTar::Size.Offset + 12] = '7';  // the next field does not join in
    EXPECT_EQ(TarOctal(header, ArTar::Size), c.Value);
  }
}

TEST(TarArchive, ChecksumOrMagicMakesATar) {
  Bytes good = HeaderBlock("a.txt", 0);
  TMemoryStream s;
  LoadBytes(s, good);
  EXPECT_EQ(CheckTarContent(s), atTar);
  Bytes noMagic = good;
  std::memset(noMagic.data() + ArTar::Magic.Offset, 0, 8);  // the checksum still matches? no: recompute
  TArTarHeader h;
  std::copy_n(noMagic.begin(), 345, h.begin());
  SetTarOctal(h, ArTar::Checksum, TarChecksum(h));
  std::copy(h.begin(), h.end(), noMagic.begin());
  LoadBytes(s, noMagic);
  EXPECT_EQ(CheckTarContent(s), atTar);  // checksum alone
  noMagic[0] ^= 1;
  LoadBytes(s, noMagic);
  EXPECT_EQ(CheckTarContent(s), atUnknown);  // neither
  LoadBytes(s, Bytes(100, 0));
  EXPECT_EQ(CheckTarContent(s), atUnknown);  // too short
}

TEST(TarArchive, ZeroFirstBlockHasNoItemsAndOtherEntriesAreSkippedWithTheirData) {
  TOpenedTar empty(Bytes(1024, 0));
  empty.Archive.LoadContents();
  EXPECT_EQ(empty.Archive.Count(), 0);

  Bytes tar = HeaderBlock("dir/", 0, '5');
  Append(tar, HeaderBlock("dir/link", 700, '2'));  // a size on a link: its blocks are skipped
  Append(tar, Padded(Bytes(700, 'L')));
  Append(tar, HeaderBlock("dir/a.txt", 3));
  Append(tar, Padded(Bytes{'a', 'b', 'c'}));
  Append(tar, Bytes(1024, 0));
  TOpenedTar t(tar);
  t.Archive.LoadContents();
  ASSERT_EQ(t.Archive.Count(), 1);
  EXPECT_EQ(t.Archive.Items(0)->FileName(), "dir/a.txt");
  EXPECT_EQ(Extract(t.Archive, 0), (Bytes{'a', 'b', 'c'}));
}

TEST(TarArchive, DamagedEntriesAreReportedNotReadPastTheEnd) {
  // Data cut short: the entry claims 5000 bytes, 100 follow.
  Bytes cut = HeaderBlock("big.bin", 5000);
  Append(cut, Bytes(100, 'x'));
  TOpenedTar t(cut);
  t.Archive.LoadContents();
  ASSERT_EQ(t.Archive.Count(), 1);
  std::vector<int32_t> codes;
  t.Archive.OnProcessItemFailure = [&](TObject*, TArArchiveItem*, TArProcessType type, TArErrorClass c, int32_t code) {
    EXPECT_EQ(type, ptExtract);
    EXPECT_EQ(c, ecArchiver);
    codes.push_back(code);
  };
  TMemoryStream out;
  t.Archive.ExtractItem(*t.Archive.Items(0), out);
  EXPECT_EQ(codes, std::vector<int32_t>{0});  // "Invalid Item"
  EXPECT_EQ(out.Size(), 0);

  // A size beyond the expansion limit is refused before anything is copied.
  Bytes huge = HeaderBlock("huge.bin", 077777777777ull);
  TOpenedTar h(huge);
  h.Archive.LoadContents();
  ASSERT_EQ(h.Archive.Count(), 1);
  try {
    TMemoryStream sink;
    h.Archive.ExtractItem(*h.Archive.Items(0), sink);
  } catch (...) {
    FAIL() << "failures go to the event";
  }
}

TEST(TarArchive, ExtractsToAFileWithTheItemsDate) {
  TTempFolder folder;
  WriteFileBytes(folder / "a.txt", Bytes{'o', 'k'});
  WriteFileBytes(folder / "b.txt", Bytes{'r', 'o'});
  RunIn(folder,
        "touch -d '2021-03-04 05:06:08' a.txt && chmod 444 b.txt && tar --format=gnu -cf t.tar a.txt b.txt && "
        "rm -f a.txt b.txt && mkdir out");
  TArTarArchive archive(folder / "t.tar", fmOpenRead);
  archive.LoadContents();
  archive.SetBaseDirectory(folder / "out");
  archive.ExtractEntry(0, "");
  EXPECT_EQ(ReadFileBytes(folder / "out/a.txt"), (Bytes{'o', 'k'}));
  struct stat info {};
  ASSERT_EQ(stat((folder / "out/a.txt").c_str(), &info), 0);
  struct tm local {};
  time_t when = info.st_mtime;
  localtime_r(&when, &local);
  EXPECT_EQ(local.tm_year, 121);
  EXPECT_EQ(local.tm_hour, 5);
  EXPECT_EQ(local.tm_sec, 8);  // DOS times keep even seconds
  EXPECT_NE(info.st_mode & 0200, 0u);
  archive.ExtractEntry(1, "");  // mode 0444: read-only
  ASSERT_EQ(stat((folder / "out/b.txt").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0200, 0u);
}

}  // namespace
