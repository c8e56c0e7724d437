// Saving gzip archives through the framework: gzip files checked by gzip -t and zcat,
// gzipped tars by GNU tar.
#include <gtest/gtest.h>

#include "archive/ArGzTyp.h"
#include "archive/ArchiveTestSupport.h"

namespace {

class GzipWriting : public testing::Test {
protected:
  GzipWriting() : Book(BookLikeText(90000, 11)) {
    RunIn(Folder, "mkdir -p in");
    WriteFileBytes(Folder / "in/book.fb2", Book);
  }
  Bytes Zcat(const std::string& file) {
    RunIn(Folder, "gzip -t " + file + " && zcat " + file + " > unpacked");
    return ReadFileBytes(Folder / "unpacked");
  }

  TTempFolder Folder;
  Bytes Book;
};

TEST_F(GzipWriting, NewGzipHoldsTheFileUnderItsName) {
  {
    TArGzipArchive gzip(Folder / "book.fb2.gz", fmShareDenyNone);
    gzip.LoadContents();
    gzip.AddItem(gzip.NewItem(Folder / "in/book.fb2"));
    EXPECT_EQ(gzip.Items(0)->FileName(), "book.fb2");  // the path goes
    gzip.SaveChanges();
  }
  EXPECT_EQ(Zcat("book.fb2.gz"), Book);
  // gzip -N takes the stored name back.
  RunIn(Folder, "mkdir n && cp book.fb2.gz n/x.gz && cd n && gzip -dN x.gz && cmp book.fb2 ../in/book.fb2");

  // Renaming keeps the deflated data and changes the header only.
  TArGzipArchive gzip(Folder / "book.fb2.gz", fmShareDenyNone);
  gzip.LoadContents();
  ASSERT_EQ(gzip.Count(), 1);
  gzip.MoveItem(*gzip.Items(0), "novel.fb2");
  gzip.SaveChanges();
  EXPECT_EQ(Zcat("book.fb2.gz"), Book);
  RunIn(Folder, "gzip -lN book.fb2.gz | grep -q novel.fb2");
}

TEST_F(GzipWriting, AnExistingGzipIsRenamedWithoutRecompressing) {
  RunIn(Folder, "gzip -9 -c in/book.fb2 > old.gz");
  Bytes old = ReadFileBytes(Folder / "old.gz");
  TArGzipArchive gzip(Folder / "old.gz", fmShareDenyNone);
  gzip.LoadContents();
  gzip.MoveItem(*gzip.Items(0), "b.fb2");
  gzip.SaveChanges();
  Bytes saved = ReadFileBytes(Folder / "old.gz");
  // gzip's deflate data and trailer follow the new header unchanged.
  ASSERT_GE(saved.size(), 30u);
  EXPECT_TRUE(std::equal(old.end() - 30, old.end(), saved.end() - 30));
  EXPECT_EQ(Zcat("old.gz"), Book);
}

TEST_F(GzipWriting, GzippedTarTakesNewEntriesInItsTar) {
  Bytes notes = BookLikeText(3000, 12);
  WriteFileBytes(Folder / "in/notes.txt", notes);
  RunIn(Folder, "cd in && tar --format=gnu -czf ../books.tgz book.fb2");
  TArGzipArchive gzip(Folder / "books.tgz", fmShareDenyNone);
  gzip.HoldsTar = gzip.TarAutoHandle = true;
  gzip.LoadContents();
  ASSERT_EQ(gzip.Count(), 1);
  auto item = gzip.NewItem(Folder / "in/notes.txt");
  item->SetFileName("notes.txt");
  gzip.AddItem(std::move(item));
  gzip.SaveChanges();
  RunIn(Folder, "gzip -t books.tgz && tar -tzf books.tgz > list.txt 2> err.txt && test ! -s err.txt");
  Bytes list = ReadFileBytes(Folder / "list.txt");
  EXPECT_EQ(std::string(list.begin(), list.end()), "book.fb2\nnotes.txt\n");
  RunIn(Folder,
        "mkdir out && tar -xzf books.tgz -C out && cmp out/book.fb2 in/book.fb2 && cmp out/notes.txt in/notes.txt");
  // The tar view now reads the new tar.
  TMemoryStream out;
  gzip.ExtractItem(*gzip.Items(1), out);
  EXPECT_EQ(StreamBytes(out), notes);
}

}  // namespace
