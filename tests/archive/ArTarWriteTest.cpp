// Writing tar archives: new ones and changed ones, listed and extracted by GNU tar.
#include <gtest/gtest.h>

#include <map>

#include "archive/ArTarTyp.h"
#include "archive/ArchiveTestSupport.h"

namespace {

class TarWriting : public testing::Test {
protected:
  TarWriting() {
    RunIn(Folder, "mkdir -p in x");
    Files = {{"book.fb2", BookLikeText(70000, 3)}, {"noise.bin", RandomBytes(513, 4)}, {"empty.txt", {}}};
    for (const auto& [name, bytes] : Files) WriteFileBytes(In(name), bytes);
    RunIn(Folder, "touch -d '2024-05-06 07:08:09' in/book.fb2");
  }
  std::string In(const std::string& name) const { return Folder / ("in/" + name); }
  std::string TarPath() const { return Folder / "out.tar"; }
  // GNU tar's listing; any warning on its error output fails.
  std::string TarList(const std::string& options = "-tf") {
    RunIn(Folder, "tar " + options + " out.tar > list.txt 2> err.txt && test ! -s err.txt");
    Bytes text = ReadFileBytes(Folder / "list.txt");
    return std::string(text.begin(), text.end());
  }
  Bytes TarBytes(const std::string& name) {
    RunIn(Folder, "tar -xOf out.tar '" + name + "' > x/entry");
    return ReadFileBytes(Folder / "x/entry");
  }
  void Add(TArTarArchive& archive, const std::string& file, const AnsiString& name) {
    auto item = archive.NewItem(In(file));
    item->SetFileName(name);
    archive.AddItem(std::move(item));
  }

  TTempFolder Folder;
  std::map<std::string, Bytes> Files;
  std::vector<TFailure> Failures;
};

TEST_F(TarWriting, NewArchiveIsListedAndExtractedByGnuTar) {
  {
    TArTarArchive tar(TarPath(), fmShareDenyNone);
    tar.LoadContents();
    for (const auto& [name, bytes] : Files) Add(tar, name, name);
    tar.SaveChanges();
  }
  EXPECT_EQ(TarList(), "book.fb2\nempty.txt\nnoise.bin\n");
  for (const auto& [name, bytes] : Files) {
    SCOPED_TRACE(name);
    EXPECT_EQ(TarBytes(name), bytes);
  }
  // The file's time and the mode of a writable file (0744).
  std::string verbose = TarList("--utc -tvf");
  EXPECT_NE(verbose.find("-rwxr--r-- 0/0           70000 2024-05-06 07:08 book.fb2"), std::string::npos) << verbose;
  Bytes bytes = ReadFileBytes(TarPath());
  // Three headers, 137, 0 and 2 data blocks, then two zero blocks.
  EXPECT_EQ(bytes.size(), (3 + 137 + 0 + 2 + 2) * 512u);
}

TEST_F(TarWriting, ChangesToAGnuTarArchiveRoundTrip) {
  RunIn(Folder, "cd in && tar --format=gnu -cf ../out.tar book.fb2 noise.bin empty.txt");
  TArTarArchive tar(TarPath(), fmShareDenyNone);
  tar.OnProcessItemFailure = [this](TObject*, TArArchiveItem* item, TArProcessType type, TArErrorClass c,
                                    int32_t code) {
    Failures.push_back({item->FileName(), type, c, code});
  };
  tar.LoadContents();
  ASSERT_EQ(tar.Count(), 3);
  tar.MoveItem(*tar.Items(0), "books/renamed.fb2");
  tar.DeleteAt(2);
  Bytes added = BookLikeText(1234, 7);
  WriteFileBytes(In("added.txt"), added);
  Add(tar, "added.txt", "added.txt");
  tar.SaveChanges();
  EXPECT_EQ(TarList(), "books/renamed.fb2\nnoise.bin\nadded.txt\n");
  EXPECT_EQ(TarBytes("books/renamed.fb2"), Files["book.fb2"]);
  EXPECT_EQ(TarBytes("added.txt"), added);

  // Replacing from the disk file, and adding from a stream.
  tar.SetBaseDirectory(Folder / "in");
  Bytes newNoise = RandomBytes(2000, 8);
  WriteFileBytes(In("noise.bin"), newNoise);
  tar.ReplaceAt(tar.FindName("noise.bin"));
  TMemoryStream input;
  LoadBytes(input, Files["book.fb2"]);
  tar.InputStream = &input;
  auto item = std::make_unique<TArTarItem>();
  item->SetFileName("streamed.fb2");
  tar.AddItem(std::move(item));
  tar.Items(tar.FindName("streamed.fb2"))->Action = aaStreamAdd;
  tar.SaveChanges();
  EXPECT_EQ(TarList(), "books/renamed.fb2\nnoise.bin\nadded.txt\nstreamed.fb2\n");
  EXPECT_EQ(TarBytes("noise.bin"), newNoise);
  EXPECT_EQ(TarBytes("streamed.fb2"), Files["book.fb2"]);
  EXPECT_TRUE(Failures.empty());
  // Our reader finds the entries again at their new places.
  TMemoryStream out;
  tar.ExtractItem(*tar.Items(3), out);
  EXPECT_EQ(StreamBytes(out), Files["book.fb2"]);
}

TEST_F(TarWriting, FoldersLinksAndLongNamesOutliveASave) {
  std::string longName = "folder/" + std::string(120, 'l') + ".txt";
  RunIn(Folder, "cd in && mkdir folder && ln -s book.fb2 link && cp noise.bin " + longName +
                    " && tar --format=gnu -cf ../out.tar book.fb2 folder link empty.txt");
  std::string before = TarList();
  TArTarArchive tar(TarPath(), fmShareDenyNone);
  tar.LoadContents();
  // Only the regular files with whole names are items.
  ASSERT_EQ(tar.Count(), 2);
  tar.DeleteAt(tar.FindName("empty.txt"));
  Add(tar, "noise.bin", "added.bin");
  tar.SaveChanges();
  EXPECT_EQ(TarList(), "book.fb2\nfolder/\nfolder/" + longName.substr(7) + "\nlink\nadded.bin\n");
  EXPECT_EQ(before, "book.fb2\nfolder/\nfolder/" + longName.substr(7) + "\nlink\nempty.txt\n");
  EXPECT_EQ(TarBytes(longName), Files["noise.bin"]);
  RunIn(Folder, "tar -tvf out.tar | grep -q '^lrwxrwxrwx .* link -> book.fb2$'");
}

TEST_F(TarWriting, LogNamesAnEntryThatIsNoItemAnUnhandledEntity) {
  // A file whose name the header cuts short is found but not listed.
  std::string longName = "folder/" + std::string(120, 'l');
  RunIn(Folder, "cd in && mkdir folder && touch " + longName + " && tar --format=gnu -cf ../out.tar " + longName);
  TArTarArchive tar(TarPath(), fmShareDenyNone);
  tar.SetLogFile(Folder / "tar.log");
  tar.SetLogging(true);
  tar.LoadContents();
  tar.SetLogging(false);
  Bytes log = ReadFileBytes(Folder / "tar.log");
  std::string text(log.begin(), log.end());
  // The cut name, then the text with no blanks around it.
  EXPECT_NE(text.find("\r\nfolder/lll"), std::string::npos) << text;
  EXPECT_NE(text.find("lllUnhandled Entity"), std::string::npos) << text;
  EXPECT_EQ(text.find(" logging "), text.rfind(" logging "));  // only the archive's own line
}

TEST_F(TarWriting, ExtendedHeadersGoOnlyWithUnchangedEntries) {
  RunIn(Folder, "cd in && tar --format=posix -cf ../out.tar book.fb2 noise.bin");
  TArTarArchive tar(TarPath(), fmShareDenyNone);
  tar.LoadContents();
  ASSERT_EQ(tar.Count(), 2);
  tar.MoveItem(*tar.Items(1), "moved.bin");
  tar.SaveChanges();
  EXPECT_EQ(TarList(), "book.fb2\nmoved.bin\n");
  // book.fb2 keeps its extended header (GNU tar names it PaxHeaders), moved.bin lost its own.
  Bytes bytes = ReadFileBytes(TarPath());
  std::string text(bytes.begin(), bytes.end());
  size_t first = text.find("PaxHeaders");
  EXPECT_NE(first, std::string::npos);
  EXPECT_EQ(text.find("PaxHeaders", first + 1), std::string::npos);
  EXPECT_EQ(TarBytes("moved.bin"), Files["noise.bin"]);
}

TEST_F(TarWriting, NamesThatDoNotFitAreRefused) {
  TArTarArchive tar(TarPath(), fmShareDenyNone);
  tar.StoreOptions = soStripPath;
  std::string longName(100, 'n');
  WriteFileBytes(In(longName), {1});
  try {
    tar.NewItem(In(longName));
    FAIL();
  } catch (const EArException& e) {
    EXPECT_STREQ(e.what(), "Invalid Item");
  }
  std::string fits(99, 'n');
  WriteFileBytes(In(fits), {1});
  EXPECT_EQ(tar.NewItem(In(fits))->FileName(), fits);
}

TEST_F(TarWriting, MissingFileIsReportedAndTheRestSaved) {
  TArTarArchive tar(TarPath(), fmShareDenyNone);
  tar.OnProcessItemFailure = [this](TObject*, TArArchiveItem* item, TArProcessType type, TArErrorClass c,
                                    int32_t code) {
    Failures.push_back({item->FileName(), type, c, code});
  };
  Add(tar, "book.fb2", "book.fb2");
  Add(tar, "noise.bin", "noise.bin");
  RunIn(Folder, "rm in/book.fb2");
  tar.SaveChanges();
  ASSERT_EQ(Failures.size(), 1u);
  EXPECT_EQ(Failures[0].Name, "book.fb2");
  EXPECT_EQ(Failures[0].Type, ptAdd);
  EXPECT_EQ(Failures[0].Class, ecFileOpenError);
  EXPECT_EQ(tar.Count(), 1);
  EXPECT_EQ(TarList(), "noise.bin\n");
}

}  // namespace
