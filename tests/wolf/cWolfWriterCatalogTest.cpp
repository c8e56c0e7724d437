#include <gtest/gtest.h>

#include "wolf/WolfFileReader.h"
#include "wolf/WolfTestSupport.h"
#include "wolf/cWolfWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

struct Entry {
  int32_t Level;
  AnsiString Name;
  int32_t Page;  // 1-based
};

// The driver's call order: entries first (page key = page number), then the pages, each
// bound right after its image.
Bytes WriteBook(const std::vector<Entry>& entries, int32_t pageCount, const AnsiString& title = "Book") {
  TMemoryStream stream;
  {
    TWolfWriter writer(stream);
    writer.Description().SetField(0, title);
    writer.WriteDescription();
    for (const Entry& e : entries) writer.AddTOCItem(e.Level, e.Name, e.Page);
    writer.BeginBook();
    writer.BeginPage();
    for (int32_t page = 1; page <= pageCount; ++page) {
      writer.AddPageImage(*MakeBitmap(pf1bit, 8, page, [](int32_t, int32_t) { return 1u; }), 1);
      writer.SetTOCPage(page);
    }
    writer.EndPage();
    writer.EndBook();
    writer.Finish();
  }
  return StreamBytes(stream);
}

// The page (1-based) a relative position points at, by its image's height.
int32_t PageAt(const TReadWolfBook& book, uint32_t relative) {
  const auto& pages = book.PageLists[0];
  const auto found = std::find(pages.begin(), pages.end(), book.BookStart + relative);
  EXPECT_NE(found, pages.end());
  return book.PageImage(static_cast<size_t>(found - pages.begin())).Height;
}

TEST(TWolfTOCItem, DerivesLevelAndRelatedNumbersFromItsCounters) {
  const struct {
    uint8_t L1, L2, L3;
    int32_t Level;
    uint32_t Parent, Prev, Next, FirstChild;
  } cases[] = {
      {1, 0, 0, 1, 0, 0, 0x020000, 0x010100},
      {3, 0, 0, 1, 0, 0x020000, 0x040000, 0x030100},
      {2, 5, 0, 2, 0x020000, 0x020400, 0x020600, 0x020501},
      {2, 5, 7, 3, 0x020500, 0x020506, 0x020508, 0},
      {1, 0, 1, 3, 0x010000, 0, 0x010002, 0},  // level 3 straight under level 1
      {255, 0, 0, 1, 0, 0xFE0000, 0, 0xFF0100},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int{c.L1} << "." << int{c.L2} << "." << int{c.L3});
    const TWolfTOCItem item(c.L1, c.L2, c.L3, 0, 0, "x");
    EXPECT_EQ(item.Number(), uint32_t{c.L1} << 16 | uint32_t{c.L2} << 8 | c.L3);
    EXPECT_EQ(item.Level(), c.Level);
    EXPECT_EQ(item.ParentNumber(), c.Parent);
    EXPECT_EQ(item.PrevSiblingNumber(), c.Prev);
    EXPECT_EQ(item.NextSiblingNumber(), c.Next);
    EXPECT_EQ(item.FirstChildNumber(), c.FirstChild);
    EXPECT_EQ(item.GetLevelCounter(1), c.L1);
    EXPECT_EQ(item.GetLevelCounter(3), c.L3);
    EXPECT_EQ(item.GetLevelCounter(4), 0);
  }
  EXPECT_EQ(TWolfTOCItem(1, 0, 0, 0, 0, AnsiString(300, 'n')).Name().size(), 254u);
}

TEST(TWolfTOCList, SortsByLevelThenNumberAndFindsNumbers) {
  TWolfTOCList list;
  list.AddItem(2, 1, 0, 0, 0, "b1");
  list.AddItem(1, 0, 0, 0, 0, "a");
  list.AddItem(1, 1, 1, 0, 0, "a11");
  list.AddItem(2, 0, 0, 0, 0, "b");
  list.AddItem(1, 1, 0, 0, 0, "a1");
  EXPECT_EQ(list.IndexOfNumber(0x010100), 4);
  list.SortItems();
  std::vector<AnsiString> names;
  for (int32_t i = 0; i < list.Count(); ++i) names.push_back(list.GetItem(i).Name());
  EXPECT_EQ(names, (std::vector<AnsiString>{"a", "b", "a1", "b1", "a11"}));
  EXPECT_EQ(list.IndexOfNumber(0x020100), 3);
  EXPECT_EQ(list.IndexOfNumber(0x010101), 4);
  EXPECT_EQ(list.IndexOfNumber(0x030000), -1);
  EXPECT_EQ(list.IndexOfNumber(0), -1);
}

TEST(TWolfTOCList, RaisesTheListIndexErrorForABadIndex) {
  TWolfTOCList list;
  list.AddItem(1, 0, 0, 0, 0, "a");
  const TWolfTOCList& constList = list;
  for (const int32_t index : {-1, 1, 1000}) {
    SCOPED_TRACE(index);
    const std::string expected = "List index out of bounds (" + std::to_string(index) + ")";
    EXPECT_EQ(RaisedMessage<EListError>([&] { list.GetItem(index); }), expected);
    EXPECT_EQ(RaisedMessage<EListError>([&] { constList.GetItem(index); }), expected);
  }
}

TEST(TWolfWriter, WritesTheCatalogAndItsTreeRecords) {
  const Bytes file = WriteBook({{1, "Part A", 1},
                                {2, "Chapter A.1", 2},
                                {2, "Chapter A.2", 2},
                                {3, "Section A.2.a", 3},
                                {1, "Part B", 3},
                                {7, "ignored level", 3}},
                               4);
  const TReadWolfBook book = ReadWolfBook(file);
  // The flat catalog: the level-1 entries with their pages.
  ASSERT_EQ(book.CatalogItems.size(), 2u);
  EXPECT_EQ(book.CatalogItems[0].Name, "Part A");
  EXPECT_EQ(PageAt(book, book.CatalogItems[0].RelativePosition), 1);
  EXPECT_EQ(book.CatalogItems[1].Name, "Part B");
  EXPECT_EQ(PageAt(book, book.CatalogItems[1].RelativePosition), 3);
  EXPECT_EQ(book.Header16(0x22), 2);
  EXPECT_EQ(book.Header16(0x5F), 3);
  EXPECT_EQ(book.Header32(0x61), book.SubcatalogStart);

  // Records sorted by level, then number: A, B, A.1, A.2, A.2.a.
  ASSERT_EQ(book.Records.size(), 5u);
  const auto at = [&](size_t j) { return book.SubcatalogStart + 12 + 80 * static_cast<uint32_t>(j); };
  const struct {
    const char* Name;
    int32_t Page;
    uint16_t Children;
    uint32_t Prev, Next, FirstChild, Parent;
    uint8_t L1, L2, L3;
  } expected[] = {
      {"Part A", 1, 2, 0, at(1), at(2), 0, 1, 0, 0},      {"Part B", 3, 0, at(0), 0, 0, 0, 2, 0, 0},
      {"Chapter A.1", 2, 0, 0, at(3), 0, at(0), 1, 1, 0}, {"Chapter A.2", 2, 1, at(2), 0, at(4), at(0), 1, 2, 0},
      {"Section A.2.a", 3, 0, 0, 0, 0, at(3), 1, 2, 1},
  };
  for (size_t j = 0; j < 5; ++j) {
    const TReadSubcatalogRecord& r = book.Records[j];
    SCOPED_TRACE(expected[j].Name);
    EXPECT_EQ(r.Offset, at(j));
    EXPECT_EQ(r.Name, expected[j].Name);
    EXPECT_EQ(r.NameBytes, r.Name.size());
    EXPECT_EQ(PageAt(book, r.RelativePosition), expected[j].Page);
    EXPECT_EQ(r.ChildCount, expected[j].Children);
    EXPECT_EQ(r.PrevSibling, expected[j].Prev);
    EXPECT_EQ(r.NextSibling, expected[j].Next);
    EXPECT_EQ(r.FirstChild, expected[j].FirstChild);
    EXPECT_EQ(r.Parent, expected[j].Parent);
    EXPECT_EQ(r.Level1, expected[j].L1);
    EXPECT_EQ(r.Level2, expected[j].L2);
    EXPECT_EQ(r.Level3, expected[j].L3);
  }
  EXPECT_EQ(book.Records[0].NamePosition, at(5));
}

TEST(TWolfWriter, LevelThreeUnderLevelOneHasAParentButIsNoChild) {
  const TReadWolfBook book = ReadWolfBook(WriteBook({{1, "One", 1}, {3, "Deep", 1}}, 1));
  ASSERT_EQ(book.Records.size(), 2u);
  const TReadSubcatalogRecord &one = book.Records[0], &deep = book.Records[1];
  EXPECT_EQ(deep.Level1, 1);
  EXPECT_EQ(deep.Level2, 0);
  EXPECT_EQ(deep.Level3, 1);
  EXPECT_EQ(deep.Parent, one.Offset);
  EXPECT_EQ(one.ChildCount, 0);
  EXPECT_EQ(one.FirstChild, 0u);
}

TEST(TWolfWriter, CutsLongNamesInTheRecordOnlyAndWritesNoNameForEmptyOnes) {
  const AnsiString longName(300, 'L');
  const TReadWolfBook book = ReadWolfBook(WriteBook({{1, longName, 1}, {1, "", 2}}, 2));
  ASSERT_EQ(book.CatalogItems.size(), 2u);
  EXPECT_EQ(book.CatalogItems[0].Name, AnsiString(254, 'L'));
  EXPECT_EQ(book.CatalogItems[1].Name, "NoName");
  ASSERT_EQ(book.Records.size(), 2u);
  EXPECT_EQ(book.Records[0].NameBytes, 254);
  EXPECT_EQ(book.Records[0].ShortName, AnsiString(40, 'L'));
  EXPECT_EQ(book.Records[0].Name, AnsiString(254, 'L'));
  EXPECT_EQ(book.Records[1].NameBytes, 0);
  EXPECT_EQ(book.Records[1].Name, "");
}

TEST(TWolfWriter, AnEmptyTableOfContentsGivesOneTitleItem) {
  // The title as stored, without escaping.
  const TReadWolfBook book = ReadWolfBook(WriteBook({}, 2, "Q&A <1>"));
  ASSERT_EQ(book.CatalogItems.size(), 1u);
  EXPECT_EQ(book.CatalogItems[0].Name, "Q&A <1>");
  EXPECT_EQ(book.CatalogItems[0].RelativePosition, 8u);  // the first page's "<catalog>"
  EXPECT_EQ(book.Header16(0x22), 1);
  EXPECT_EQ(book.Header16(0x5F), 0);
  EXPECT_EQ(book.Header32(0x61), 0u);
  EXPECT_TRUE(book.Records.empty());
  EXPECT_EQ(book.Header32(0x1E), 9 + 6 + 7 + 7 + 4 + 10u);
}

TEST(TWolfWriter, EntriesCarryTheStreamPositionUntilTheirPageIsBound) {
  TMemoryStream stream;
  TWolfWriter writer(stream);
  writer.WriteDescription();
  writer.AddTOCItem(1, "early", 2);
  EXPECT_EQ(writer.TOC().GetItem(0).Position(), 128u + 107);
  writer.BeginBook();
  writer.BeginPage();
  writer.AddPageImage(*MakeBitmap(pf1bit, 8, 1, [](int32_t, int32_t) { return 1u; }), 1);
  writer.AddTOCItem(1, "open page", 0);  // a page is open: its position
  EXPECT_EQ(writer.TOC().GetItem(1).Position(), writer.PageTable().GetGroup(0).GetPosition(0));
  writer.SetTOCPage(1);
  EXPECT_EQ(writer.TOC().GetItem(0).Position(), 128u + 107);
  writer.AddPageImage(*MakeBitmap(pf1bit, 8, 2, [](int32_t, int32_t) { return 1u; }), 1);
  writer.SetTOCPage(2);
  EXPECT_EQ(writer.TOC().GetItem(0).Position(), writer.PageTable().GetGroup(0).GetPosition(1));
}

TEST(TWolfWriter, FinishRaisesForAnEntryBoundToNoPageAndWritesNothing) {
  TMemoryStream stream;
  TWolfWriter writer(stream);
  writer.WriteDescription();
  writer.AddTOCItem(1, "Lost", 5);  // page 5 never comes
  writer.BeginBook();
  writer.BeginPage();
  writer.AddPageImage(*MakeBitmap(pf1bit, 8, 1, [](int32_t, int32_t) { return 1u; }), 1);
  writer.SetTOCPage(1);
  writer.EndBook();
  const Bytes before = StreamBytes(stream);
  EXPECT_EQ(RaisedMessage<EWolfWriterError>([&] { writer.Finish(); }),
            "Table of contents entry \"Lost\" is bound to no page");
  EXPECT_EQ(StreamBytes(stream), before);
}

TEST(TWolfWriter, AFullLevelTakesNoMoreEntriesNorTheirChildren) {
  std::vector<Entry> entries;
  for (int i = 1; i <= 255; ++i) entries.push_back({1, "p" + std::to_string(i), 1});
  entries.push_back({1, "p256", 1});        // level 1 is full: left out
  entries.push_back({2, "under p256", 1});  // and what follows under it
  entries.push_back({3, "deeper", 1});
  const TReadWolfBook book = ReadWolfBook(WriteBook(entries, 1));
  EXPECT_EQ(book.CatalogItems.size(), 255u);
  EXPECT_EQ(book.CatalogItems.back().Name, "p255");
  EXPECT_EQ(book.Records.size(), 255u);
  EXPECT_EQ(book.Records.back().NextSibling, 0u);

  // A full level 2 recovers at the next level-1 entry.
  entries = {{1, "a", 1}};
  for (int i = 1; i <= 256; ++i) entries.push_back({2, "a" + std::to_string(i), 1});
  entries.push_back({3, "lost", 1});
  entries.push_back({1, "b", 1});
  entries.push_back({2, "b1", 1});
  const TReadWolfBook second = ReadWolfBook(WriteBook(entries, 1));
  EXPECT_EQ(second.CatalogItems.size(), 2u);
  ASSERT_EQ(second.Records.size(), 2u + 255 + 1);
  EXPECT_EQ(second.Records[0].ChildCount, 255);
  EXPECT_EQ(second.Records.back().Name, "b1");
  EXPECT_EQ(second.Records.back().Level1, 2);
  EXPECT_EQ(second.Records.back().Level2, 1);
}

TEST(TWolfWriter, KeepsNoMoreSubEntriesThanTheHeaderCounts) {
  // 1 + 255 + 255 * 255 entries under the first part, then 255 more chapters under the
  // second: 65535 entries of levels 2 and 3, the most a 16-bit header field counts.
  std::vector<Entry> entries{{1, "one", 1}};
  for (int chapter = 0; chapter < 255; ++chapter) {
    entries.push_back({2, "c", 1});
    for (int section = 0; section < 255; ++section) entries.push_back({3, "s", 1});
  }
  entries.push_back({1, "two", 1});
  for (int chapter = 0; chapter < 255; ++chapter) entries.push_back({2, "c", 1});
  entries.push_back({3, "left out", 1});
  entries.push_back({1, "three", 1});
  entries.push_back({2, "left out", 1});
  const TReadWolfBook book = ReadWolfBook(WriteBook(entries, 1));
  EXPECT_EQ(book.Header16(0x5F), 65535);
  EXPECT_EQ(book.Records.size(), 3u + 65535);
  EXPECT_EQ(book.CatalogItems.size(), 3u);
  EXPECT_EQ(book.Records[0].ChildCount, 255);  // "one", children counted in the sorted list
  EXPECT_EQ(book.Records[3].ChildCount, 255);  // its first chapter
}

}  // namespace
