// Cabinet archives: read from what gcab writes (stored and MSZIP), written and checked by
// cabextract and gcab, and damaged or hostile ones built here.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>

#include "archive/ArBrowse.h"
#include "archive/ArCabTyp.h"
#include "archive/CabinetTestSupport.h"
#include "platform/base/FileSystem.h"

namespace {

struct TFailure {
  TArArchiveItem* Item;
  TArProcessType Process;
  TArErrorClass Class;
  int32_t Code;
};

// A reader of path whose item failures are kept.
struct TCabReader {
  explicit TCabReader(const std::string& path) : Archive(path, fmShareDenyNone) {
    Archive.OnProcessItemFailure = [this](TObject*, TArArchiveItem* item, TArProcessType process,
                                          TArErrorClass errorClass, int32_t code) {
      Failures.push_back({item, process, errorClass, code});
    };
  }
  Bytes Extract(int32_t index) {
    TMemoryStream out;
    Archive.ExtractItem(*Archive.Items(index), out);
    return StreamBytes(out);
  }
  TArCabArchive Archive;
  std::vector<TFailure> Failures;
};

// "YYYY-MM-DD HH:MM:SS" of a DOS date and time, as gcab lists it.
std::string DosStamp(uint16_t date, uint16_t time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", 1980 + (date >> 9), (date >> 5) & 15, date & 31,
                time >> 11, (time >> 5) & 63, (time & 31) * 2);
  return text;
}

// gcab's detailed listing: name -> "size stamp attributes".
std::map<std::string, std::string> GcabDetails(const TTempFolder& folder, const std::string& cab) {
  RunIn(folder, "gcab -l " + cab + " > listing.txt");
  std::map<std::string, std::string> details;
  char name[512], date[32], time[32], attributes[32];
  long long size;
  FILE* f = std::fopen((folder / "listing.txt").c_str(), "r");
  while (f && std::fscanf(f, "%511s %lld %31s %31s %31s", name, &size, date, time, attributes) == 5)
    details[name] = std::to_string(size) + " " + date + " " + time + " " + attributes;
  if (f) std::fclose(f);
  return details;
}

std::string OurDetails(const TArArchiveItem& item) {
  char attributes[16];
  std::snprintf(attributes, sizeof attributes, "0x%x", item.ExternalFileAttributes());
  return std::to_string(item.UncompressedSize()) + " " + DosStamp(item.LastModFileDate(), item.LastModFileTime()) +
         " " + attributes;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

struct TSourceFile {
  std::string Name;
  Bytes Data;
};

std::vector<TSourceFile> SampleFiles() {
  return {{"book.fb2", BookLikeText(70000, 1)},       // several MSZIP blocks
          {"sub/noise.bin", RandomBytes(100000, 2)},  // blocks that do not compress
          {"empty", {}},
          {"small.txt", Bytes{'h', 'i', '\n'}}};
}

void WriteSources(const TTempFolder& folder, const std::vector<TSourceFile>& files) {
  RunIn(folder, "mkdir -p in/sub");
  for (const TSourceFile& f : files) WriteFileBytes(folder / ("in/" + f.Name), f.Data);
}

TEST(CabArchive, ReadsWhatGcabWritesStoredAndCompressed) {
  TTempFolder folder;
  std::vector<TSourceFile> files = SampleFiles();
  WriteSources(folder, files);
  for (const char* option : {"", "-z"}) {
    SCOPED_TRACE(option);
    RunIn(folder, std::string("cd in && gcab -c ") + option + " ../out.cab book.fb2 sub/noise.bin empty small.txt");
    std::map<std::string, std::string> peer = GcabDetails(folder, "out.cab");
    TCabReader r(folder / "out.cab");
    r.Archive.LoadContents();
    ASSERT_EQ(r.Archive.Count(), 4);
    EXPECT_EQ(r.Archive.FileCount(), 4);
    EXPECT_EQ(r.Archive.FolderCount(), 1);
    EXPECT_EQ(r.Archive.CabSize(), static_cast<int64_t>(ReadFileBytes(folder / "out.cab").size()));
    for (int32_t i = 0; i < 4; ++i) {
      const TArArchiveItem& item = *r.Archive.Items(i);
      // The cabinet's "\" separates folders as "/" does here.
      EXPECT_EQ(item.FileName(), files[static_cast<size_t>(i)].Name);
      std::string peerName = files[static_cast<size_t>(i)].Name;
      if (peerName == "sub/noise.bin") peerName = "sub\\noise.bin";
      EXPECT_EQ(OurDetails(item), peer[peerName]);
      EXPECT_EQ(r.Extract(i), files[static_cast<size_t>(i)].Data);
      EXPECT_NO_THROW(r.Archive.TestEntry(i));
    }
    EXPECT_TRUE(r.Failures.empty());
    // Loading again lists the same entries once.
    r.Archive.LoadContents();
    EXPECT_EQ(r.Archive.Count(), 4);
  }
}

TEST(CabArchive, ExtractsToFilesBelowTheBaseDirectoryWithTheCabinetsDate) {
  TTempFolder folder;
  std::vector<TSourceFile> files = SampleFiles();
  WriteSources(folder, files);
  RunIn(folder, "cd in && gcab -c -z ../out.cab book.fb2 sub/noise.bin && mkdir ../flat ../tree");
  TCabReader r(folder / "out.cab");
  r.Archive.LoadContents();
  r.Archive.SetBaseDirectory(folder / "flat");
  r.Archive.ExtractEntry(0, "");
  r.Archive.ExtractEntry(1, "");
  EXPECT_EQ(ReadFileBytes(folder / "flat/book.fb2"), files[0].Data);
  EXPECT_EQ(ReadFileBytes(folder / "flat/noise.bin"), files[1].Data);  // the file name alone
  r.Archive.ExtractOptions = eoCreateDirs | eoRestorePath;
  r.Archive.SetBaseDirectory(folder / "tree");
  r.Archive.ExtractEntry(1, "");
  r.Archive.ExtractEntry(0, "renamed.fb2");
  EXPECT_EQ(ReadFileBytes(folder / "tree/sub/noise.bin"), files[1].Data);
  EXPECT_EQ(ReadFileBytes(folder / "tree/renamed.fb2"), files[0].Data);
  // The file's time is the cabinet's: gcab's listing of a cabinet of the extracted file
  // shows the same stamp.
  RunIn(folder, "cd tree && gcab -c ../again.cab renamed.fb2");
  EXPECT_EQ(GcabDetails(folder, "again.cab")["renamed.fb2"], OurDetails(*r.Archive.Items(0)));
  EXPECT_TRUE(r.Failures.empty());
}

TEST(CabArchive, AnExistingFileWhoseOverwriteIsRefusedIsLeftAlone) {
  TTempFolder folder;
  WriteSources(folder, SampleFiles());
  RunIn(folder, "cd in && gcab -c ../out.cab small.txt && mkdir ../target");
  WriteFileBytes(folder / "target/small.txt", Bytes{'o', 'l', 'd'});
  TCabReader r(folder / "out.cab");
  r.Archive.LoadContents();
  r.Archive.SetBaseDirectory(folder / "target");
  int asked = 0;
  r.Archive.OnConfirmOverwrite = [&](AnsiString&, bool& confirm) {
    ++asked;
    confirm = false;
  };
  r.Archive.ExtractEntry(0, "");
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(ReadFileBytes(folder / "target/small.txt"), (Bytes{'o', 'l', 'd'}));
  EXPECT_TRUE(r.Failures.empty());
  RunIn(folder, "test $(ls target | wc -l) -eq 1");  // no temporary file left behind
}

// --- Writing -----------------------------------------------------------------------

std::unique_ptr<TArArchiveItem> DiskItem(const std::string& diskFile, const std::string& storedName) {
  auto item = std::make_unique<TArCabItem>();
  item->DiskFileName = diskFile;
  item->SetFileName(storedName);
  return item;
}

// A writer whose item failures are kept.
struct TCabWriter {
  TCabWriter(const std::string& path, TArCabCompressionType kind) : Archive(path, fmCreate) {
    Archive.CompressionType = kind;
    Archive.OnProcessItemFailure = [this](TObject*, TArArchiveItem* item, TArProcessType process,
                                          TArErrorClass errorClass, int32_t code) {
      Failures.push_back({item, process, errorClass, code});
    };
    Archive.LoadContents();
  }
  TArCabArchive Archive;
  std::vector<TFailure> Failures;
};

TEST(CabArchive, WritesCabinetsThatCabextractAndGcabRead) {
  TTempFolder folder;
  std::vector<TSourceFile> files = SampleFiles();
  WriteSources(folder, files);
  for (TArCabCompressionType kind : {ctNone, ctMSZip}) {
    SCOPED_TRACE(static_cast<int>(kind));
    std::string cab = folder / "ours.cab";
    {
      TCabWriter w(cab, kind);
      for (const TSourceFile& f : files) w.Archive.AddItem(w.Archive.NewItem(folder / ("in/" + f.Name)));
      // NewItem's stored name is the path without its leading "/".
      EXPECT_EQ(w.Archive.Items(1)->FileName(), (folder / "in/sub/noise.bin").substr(1));
      w.Archive.SaveChanges();
      EXPECT_TRUE(w.Failures.empty());
      EXPECT_FALSE(w.Archive.IsDirty());
    }
    RunIn(folder, "cabextract -t ours.cab");
    RunIn(folder, "rm -rf x && mkdir x && cabextract -q -d x ours.cab");
    std::map<std::string, std::string> peer = GcabDetails(folder, "ours.cab");
    TCabReader r(cab);
    r.Archive.LoadContents();
    ASSERT_EQ(r.Archive.Count(), 4);
    for (int32_t i = 0; i < 4; ++i) {
      // Stored under the file part of the name.
      std::string name = files[static_cast<size_t>(i)].Name;
      name = name.substr(name.rfind('/') + 1);
      EXPECT_EQ(r.Archive.Items(i)->FileName(), name);
      EXPECT_EQ(ReadFileBytes(folder / ("x/" + name)), files[static_cast<size_t>(i)].Data);
      EXPECT_EQ(r.Extract(i), files[static_cast<size_t>(i)].Data);
      EXPECT_EQ(peer[name], OurDetails(*r.Archive.Items(i)));
    }
  }
}

TEST(CabArchive, StoredNamesAreInTheOemCodePage) {
  TTempFolder folder;
  // "Книга.txt": Windows-1251 in the name given, code page 866 in the cabinet.
  const std::string ansiName = "\xCA\xED\xE8\xE3\xE0.txt", oemName = "\x8A\xAD\xA8\xA3\xA0.txt";
  WriteFileBytes(folder / "\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0.txt", Bytes{'k'});
  {
    TCabWriter w(folder / "ours.cab", ctMSZip);
    w.Archive.StoreOptions = soStripPath;
    w.Archive.AddItem(w.Archive.NewItem(folder.Path() + "/" + ansiName));
    EXPECT_EQ(w.Archive.Items(0)->FileName(), oemName);
    w.Archive.SaveChanges();
    EXPECT_TRUE(w.Failures.empty());
  }
  TCabReader r(folder / "ours.cab");
  r.Archive.LoadContents();
  ASSERT_EQ(r.Archive.Count(), 1);
  EXPECT_EQ(r.Archive.Items(0)->FileName(), oemName);
  EXPECT_EQ(r.Extract(0), Bytes{'k'});
}

TEST(CabArchive, SavingAgainWritesEveryEntryOnceAndLeavesOutDeletedOnes) {
  TTempFolder folder;
  std::vector<TSourceFile> files = SampleFiles();
  WriteSources(folder, files);
  TCabWriter w(folder / "ours.cab", ctMSZip);
  w.Archive.AddItem(DiskItem(folder / "in/book.fb2", "book.fb2"));
  w.Archive.SaveChanges();
  w.Archive.AddItem(DiskItem(folder / "in/small.txt", "small.txt"));
  w.Archive.AddItem(DiskItem(folder / "in/empty", "empty"));
  w.Archive.DeleteAt(0);
  w.Archive.SaveChanges();
  RunIn(folder, "cabextract -t ours.cab && test \"$(gcab -t ours.cab | tr '\\n' ' ')\" = 'small.txt empty '");
  EXPECT_EQ(w.Archive.Count(), 2);
}

TEST(CabArchive, AnEmptyWriterWritesAnEmptyCabinet) {
  TTempFolder folder;
  {
    TCabWriter w(folder / "empty.cab", ctNone);
    w.Archive.SaveChanges();
  }
  TCabReader r(folder / "empty.cab");
  r.Archive.LoadContents();
  EXPECT_EQ(r.Archive.Count(), 0);
}

TEST(CabArchive, EntriesThatCannotBeAddedAreReportedAndLeftOut) {
  struct TCase {
    const char* Name;
    const char* Stored;
    const char* Disk;
    TArCabCompressionType Kind;
    int32_t Code;
  } cases[] = {
      {"duplicate name, in another case", "SMALL.TXT", "in/small.txt", ctNone, 7},  // refused when added
      {"missing disk file", "other.txt", "in/missing.txt", ctNone, 25},
      {"LZX, read but never written", "book.fb2", "in/book.fb2", ctLzx, 57},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTempFolder folder;
    WriteSources(folder, SampleFiles());
    TCabWriter w(folder / "ours.cab", c.Kind);
    w.Archive.AddItem(DiskItem(folder / "in/small.txt", "small.txt"));
    w.Archive.AddItem(DiskItem(folder / c.Disk, c.Stored));
    w.Archive.SaveChanges();
    ASSERT_FALSE(w.Failures.empty());
    EXPECT_EQ(w.Failures.back().Process, ptAdd);
    EXPECT_EQ(w.Failures.back().Class, ecArchiver);
    EXPECT_EQ(w.Failures.back().Code, c.Code);
    int32_t kept = c.Kind == ctLzx ? 0 : 1;
    EXPECT_EQ(w.Archive.Count(), kept);
    if (kept) RunIn(folder, "cabextract -t ours.cab && test \"$(gcab -t ours.cab)\" = small.txt");
    TCabReader r(folder / "ours.cab");
    r.Archive.LoadContents();
    EXPECT_EQ(r.Archive.Count(), kept);
  }
}

TEST(CabArchive, AFailedSaveLeavesTheFileAndTheEntriesAsTheyWere) {
  TTempFolder folder;
  WriteSources(folder, SampleFiles());
  WriteFileBytes(folder / "ours.cab", Bytes{'o', 'l', 'd'});
  TCabWriter w(folder / "ours.cab", ctNone);
  w.Archive.SpanningThreshold = 1000;
  w.Archive.AddItem(DiskItem(folder / "in/sub/noise.bin", "noise.bin"));
  try {
    w.Archive.SaveChanges();
    ADD_FAILURE() << "saved";
  } catch (const EArCabException& e) {
    EXPECT_EQ(e.ErrorCode(), 59);
    EXPECT_STREQ(e.what(), "FCI cannot flush cabinet");
  }
  EXPECT_EQ(ReadFileBytes(folder / "ours.cab"), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(w.Archive.Items(0)->Action, aaAdd);
  // Aborting the item progress stops the save the same way.
  w.Archive.SpanningThreshold = -5;  // none
  w.Archive.OnArchiveItemProgress = [](TObject*, TArArchiveItem*, int32_t, bool& abort) { abort = true; };
  EXPECT_THROW(w.Archive.SaveChanges(), EArUserAbort);
  EXPECT_EQ(ReadFileBytes(folder / "ours.cab"), (Bytes{'o', 'l', 'd'}));
  EXPECT_EQ(w.Archive.Items(0)->Action, aaAdd);
  w.Archive.OnArchiveItemProgress = nullptr;
  w.Archive.SaveChanges();
  RunIn(folder, "cabextract -t ours.cab");
}

TEST(CabArchive, AReaderReportsAdditionsAsFailuresAndWritesNothing) {
  TTempFolder folder;
  WriteSources(folder, SampleFiles());
  RunIn(folder, "cd in && gcab -c ../out.cab small.txt book.fb2");
  Bytes before = ReadFileBytes(folder / "out.cab");
  TCabReader r(folder / "out.cab");
  r.Archive.LoadContents();
  r.Archive.AddItem(DiskItem(folder / "in/empty", "empty"));
  ASSERT_EQ(r.Failures.size(), 1u);
  EXPECT_EQ(r.Failures[0].Process, ptAdd);
  EXPECT_EQ(r.Failures[0].Class, ecCabError);
  EXPECT_EQ(r.Failures[0].Code, 0);
  EXPECT_EQ(r.Archive.Count(), 2);
  r.Archive.DeleteAt(1);
  EXPECT_THROW(r.Archive.SaveChanges(), EArCabException);
  EXPECT_EQ(ReadFileBytes(folder / "out.cab"), before);
}

// --- Hand-built and damaged cabinets -----------------------------------------------

TEST(CabArchive, HandBuiltFixturesAreSoundForThePeer) {
  TTempFolder folder;
  TCabContents contents;
  contents.Files = {{"a.txt", BookLikeText(40000, 5)}, {"b.txt", Bytes{'b'}}};
  WriteFileBytes(folder / "hand.cab", StoredCabinet(contents));
  RunIn(folder, "cabextract -t hand.cab");
  TCabReader r(folder / "hand.cab");
  r.Archive.LoadContents();
  ASSERT_EQ(r.Archive.Count(), 2);
  EXPECT_EQ(r.Archive.SetID(), 0x1234);
  EXPECT_EQ(DosStamp(r.Archive.Items(0)->LastModFileDate(), r.Archive.Items(0)->LastModFileTime()),
            "2025-12-10 13:17:30");
  EXPECT_EQ(r.Extract(0), contents.Files[0].Data);
}

TEST(CabArchive, ReadsLzxFolders) {
  // One LZX block of the uncompressed kind, its header in 16-bit little-endian words read
  // from the most significant bit: no E8 translation (1 bit), block type 3 (3 bits), block
  // size 5 (24 bits), 4 bits to the word's end; then R0, R1 and R2, the bytes, and a pad
  // byte for the odd size.
  TCabContents contents;
  contents.Compression = 0x1203;  // LZX, 2^18-byte window
  contents.Files = {{"lzx.txt", Bytes{'h', 'e', 'l', 'l', 'o'}}};
  contents.Payload = {0x00, 0x30, 0x50, 0x00, 1, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 'h', 'e', 'l', 'l', 'o', 0};
  TTempFolder folder;
  WriteFileBytes(folder / "lzx.cab", StoredCabinet(contents));
  RunIn(folder, "cabextract -t lzx.cab");
  TCabReader r(folder / "lzx.cab");
  r.Archive.LoadContents();
  ASSERT_EQ(r.Archive.Count(), 1);
  EXPECT_EQ(r.Extract(0), contents.Files[0].Data);
  EXPECT_TRUE(r.Failures.empty());
}

TEST(CabArchive, EntriesSplitFromAPreviousCabinetAreListedAsPartialAndNotExtracted) {
  TTempFolder folder;
  TCabContents contents;
  contents.PreviousCabinet = "first.cab";
  contents.CabinetNumber = 1;
  contents.Files = {{"tail.bin", RandomBytes(300, 1), 0xFFFD}, {"whole.txt", Bytes{'w'}}};
  WriteFileBytes(folder / "second.cab", StoredCabinet(contents));
  TCabReader r(folder / "second.cab");
  r.Archive.LoadContents();
  ASSERT_EQ(r.Archive.Count(), 2);
  EXPECT_TRUE(r.Archive.HasPrev());
  EXPECT_EQ(r.Archive.CurrentCab(), 1);
  EXPECT_TRUE(static_cast<TArCabItem*>(r.Archive.Items(0))->PartialFile);
  EXPECT_FALSE(static_cast<TArCabItem*>(r.Archive.Items(1))->PartialFile);
  EXPECT_THROW(r.Archive.TestEntry(0), EArFDICopyError);
  r.Archive.SetBaseDirectory(folder.Path());
  r.Archive.ExtractEntry(0, "");
  ASSERT_EQ(r.Failures.size(), 1u);
  EXPECT_EQ(r.Failures[0].Process, ptExtract);
  EXPECT_EQ(r.Failures[0].Class, ecCabError);
  EXPECT_FALSE(Exists(folder / "tail.bin"));
  // The rest of the folder the partial entry starts is not decompressed without the
  // previous cabinet either.
  r.Archive.ExtractEntry(1, "");
  EXPECT_EQ(r.Failures.size(), 2u);
  EXPECT_FALSE(Exists(folder / "whole.txt"));
}

// Every entry of a hand-built cabinet extracted with its path below folder/target.
std::unique_ptr<TCabReader> ExtractAllWithPaths(const TTempFolder& folder, const TCabContents& contents,
                                                const std::string& target) {
  WriteFileBytes(folder / "hand.cab", StoredCabinet(contents));
  RunIn(folder, "mkdir -p " + target);
  auto r = std::make_unique<TCabReader>(folder / "hand.cab");
  r->Archive.LoadContents();
  r->Archive.ExtractOptions = eoCreateDirs | eoRestorePath;
  r->Archive.SetBaseDirectory(folder / target);
  for (int32_t i = 0; i < r->Archive.Count(); ++i) r->Archive.ExtractEntry(i, "");
  return r;
}

TEST(CabArchive, HostileNamesStayInsideTheTarget) {
  TTempFolder folder;
  TCabContents contents;
  contents.Files = {{"..\\..\\up.txt", Bytes{'1'}}, {"/abs.txt", Bytes{'2'}}, {"a\\..\\..\\b.txt", Bytes{'3'}}};
  auto r = ExtractAllWithPaths(folder, contents, "deep/target");
  EXPECT_TRUE(r->Failures.empty());
  EXPECT_EQ(ReadFileBytes(folder / "deep/target/up.txt"), Bytes{'1'});
  EXPECT_EQ(ReadFileBytes(folder / "deep/target/abs.txt"), Bytes{'2'});
  EXPECT_EQ(ReadFileBytes(folder / "deep/target/a/b.txt"), Bytes{'3'});
  RunIn(folder, "test $(find . -type f | wc -l) -eq 4");  // the cabinet and the three
}

TEST(CabArchive, AnOutputThatCannotBeMadeIsTheEntrysFailure) {
  TTempFolder folder;
  TCabContents contents;
  contents.Files = {{"a", Bytes{'1'}}, {"a\\b.txt", Bytes{'2'}}};  // the second one's folder is a file
  auto r = ExtractAllWithPaths(folder, contents, "target");
  ASSERT_EQ(r->Failures.size(), 1u);
  EXPECT_EQ(r->Failures[0].Item, r->Archive.Items(1));
  EXPECT_EQ(r->Failures[0].Class, ecArchiver);
  EXPECT_EQ(r->Failures[0].Code, 19);
  EXPECT_EQ(ReadFileBytes(folder / "target/a"), Bytes{'1'});
}

Bytes GcabCabinet(const TTempFolder& folder, const char* option) {
  WriteSources(folder, SampleFiles());
  RunIn(folder, std::string("cd in && gcab -c ") + option + " ../out.cab small.txt book.fb2");
  return ReadFileBytes(folder / "out.cab");
}

TEST(CabArchive, DamagedDirectoriesAreRefusedWithTheLoadErrors) {
  struct TCase {
    const char* Name;
    size_t Offset;  // 0xFFFF..: cut the file to this length instead
    uint8_t Value;
    const char* Message;
  };
  const size_t Cut = 1u << 30;
  TCase cases[] = {
      {"signature", 0, 'X', "Invalid file - not a cabinet file"},
      {"cut inside the header", Cut + 20, 0, "Invalid file - not a cabinet file"},
      {"cut inside the file records", Cut + 50, 0, "FDI cannot enumerate files"},
      {"file record's folder index beyond the folders", 44 + 8, 7, "FDI cannot enumerate files"},
      {"first file record beyond the end", 16 + 2, 0x7F, "FDI cannot enumerate files"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TTempFolder folder;
    Bytes cab = GcabCabinet(folder, "");
    if (c.Offset >= Cut)
      cab.resize(c.Offset - Cut);
    else
      cab[c.Offset] = c.Value;
    WriteFileBytes(folder / "bad.cab", cab);
    TCabReader r(folder / "bad.cab");
    try {
      r.Archive.LoadContents();
      ADD_FAILURE() << "loaded";
    } catch (const EArCabException& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
    EXPECT_EQ(r.Archive.Count(), 0);
  }
}

TEST(CabArchive, DamagedDataFailsTheEntryAndWritesNothing) {
  struct TCase {
    const char* Option;
    const char* Damage;
  } cases[] = {{"", "cut short"}, {"-z", "cut short"}, {"", "flipped"}, {"-z", "flipped"}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Option) + " " + c.Damage);
    TTempFolder folder;
    // The damage lies far beyond the first entry's blocks, whatever the reader reads ahead.
    WriteSources(folder, SampleFiles());
    WriteFileBytes(folder / "in/big.fb2", BookLikeText(400000, 9));
    RunIn(folder, std::string("cd in && gcab -c ") + c.Option + " ../out.cab small.txt big.fb2");
    Bytes cab = ReadFileBytes(folder / "out.cab");
    if (std::string(c.Damage) == "cut short")
      cab.resize(cab.size() - 2000);
    else
      cab[cab.size() - 5000] ^= 0x40;  // inside big.fb2's data; the block checksum no longer holds
    WriteFileBytes(folder / "bad.cab", cab);
    RunIn(folder, "! cabextract -q -t bad.cab");  // the peer refuses it too
    RunIn(folder, "mkdir target");
    TCabReader r(folder / "bad.cab");
    r.Archive.LoadContents();
    ASSERT_EQ(r.Archive.Count(), 2);
    EXPECT_THROW(r.Archive.TestEntry(1), EArFDICopyError);
    r.Extract(1);
    ASSERT_EQ(r.Failures.size(), 1u);
    EXPECT_EQ(r.Failures[0].Class, ecArchiver);
    EXPECT_EQ(r.Failures[0].Code, 61);
    r.Archive.SetBaseDirectory(folder / "target");
    r.Archive.ExtractEntry(1, "");
    ASSERT_EQ(r.Failures.size(), 2u);
    EXPECT_EQ(r.Failures[1].Class, ecCabError);
    RunIn(folder, "test -z \"$(ls -A target)\"");
    // The entry before the damage is whole.
    EXPECT_EQ(r.Extract(0), (Bytes{'h', 'i', '\n'}));
  }
}

TEST(CabArchive, LimitsRefuseTooManyEntriesAndTooLargeEntries) {
  TTempFolder folder;
  GcabCabinet(folder, "-z");
  {
    TCabReader r(folder / "out.cab");
    r.Archive.Limits.MaxEntries = 1;
    try {
      r.Archive.LoadContents();
      ADD_FAILURE() << "loaded";
    } catch (const EArException& e) {
      EXPECT_EQ(e.LimitFault(), TArLimitFault::EntryCount);
    }
  }
  TCabReader r(folder / "out.cab");
  r.Archive.Limits.MaxExpandedBytes = 1000;
  r.Archive.LoadContents();
  EXPECT_TRUE(r.Extract(1).empty());
  ASSERT_EQ(r.Failures.size(), 1u);
  EXPECT_EQ(r.Failures[0].Code, 61);
  EXPECT_EQ(r.Extract(0), (Bytes{'h', 'i', '\n'}));
}

// --- Detection, the browser and the library ----------------------------------------

TEST(CabArchive, TheBrowserOpensCabinetsByTheirExtension) {
  TTempFolder folder;
  GcabCabinet(folder, "-z");
  RunIn(folder, "mv out.cab Out.CAB && printf 'not a cabinet' > fake.cab && : > empty.cab");
  EXPECT_EQ(DetectArchiveType(folder / "Out.CAB"), atCab);
  EXPECT_EQ(DetectArchiveType(folder / "Out.CAB", atCab), atCab);
  EXPECT_EQ(DetectArchiveType(folder / "empty.cab"), atCab);
  EXPECT_EQ(DetectArchiveType(folder / "missing.cab"), atCab);
  try {
    DetectArchiveType(folder / "fake.cab");
    ADD_FAILURE() << "detected";
  } catch (const EArInvalidCabFile& e) {
    EXPECT_STREQ(e.what(), "Invalid file - not a cabinet file");
  }
  TArBaseBrowser browser(nullptr);
  browser.SetFileName(folder / "Out.CAB");
  EXPECT_EQ(browser.ArchiveType(), atCab);
  ASSERT_EQ(browser.GetItemCount(), 2);
  TMemoryStream out;
  browser.Archive()->ExtractByName("SMALL.TXT", out);
  EXPECT_EQ(StreamBytes(out), (Bytes{'h', 'i', '\n'}));
}

TEST(CabArchive, CheckCabAnswersCabOrRaises) {
  TTempFolder folder;
  GcabCabinet(folder, "");
  WriteFileBytes(folder / "text.cab", Bytes{'M', 'S', 'C'});
  EXPECT_EQ(CheckCab(folder / "out.cab"), atCab);
  EXPECT_THROW(CheckCab(folder / "text.cab"), EArInvalidCabFile);
  EXPECT_THROW(CheckCab(folder / "missing.cab"), EArReadError);
}

// Rebinds the usual libraries however the test ends.
struct TUsualCabinetLibrary {
  ~TUsualCabinetLibrary() { BindCabinetLibrary("libmspack.so.0", "libgcab-1.0.so.0"); }
};

TEST(CabArchive, AMissingLibraryIsThePartsCannotLoadError) {
  TTempFolder folder;
  GcabCabinet(folder, "");
  TUsualCabinetLibrary restore;
  BindCabinetLibrary("libqf-no-such-reader.so", "libqf-no-such-writer.so");
  TCabReader r(folder / "out.cab");
  try {
    r.Archive.LoadContents();
    ADD_FAILURE() << "loaded";
  } catch (const EArNoCabinetDll& e) {
    EXPECT_STREQ(e.what(), "Cannot load cabinet.dll");
  }
  // With only the reader, reading works and a writer cannot be created.
  BindCabinetLibrary("libmspack.so.0", "");
  TCabReader again(folder / "out.cab");
  again.Archive.LoadContents();
  EXPECT_EQ(again.Archive.Count(), 2);
  TArCabArchive writer(folder / "new.cab", fmCreate);
  EXPECT_THROW(writer.LoadContents(), EArFCICreateError);
  // With only the writer, no reader.
  BindCabinetLibrary("", "libgcab-1.0.so.0");
  EXPECT_EQ(CheckCab(folder / "out.cab"), atUnknown);
}

}  // namespace
