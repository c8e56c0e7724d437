#include "wolf/cWolfWriter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>

#include "unicode/WideException.h"
#include "wolf/WolfFileReader.h"
#include "wolf/WolfTestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Builds expected file bytes field by field.
struct ByteBuilder {
  Bytes Data;
  ByteBuilder& Text(std::string_view s) {
    Data.insert(Data.end(), s.begin(), s.end());
    return *this;
  }
  ByteBuilder& U16(uint16_t v) {
    Data.push_back(static_cast<uint8_t>(v));
    Data.push_back(static_cast<uint8_t>(v >> 8));
    return *this;
  }
  ByteBuilder& U32(uint32_t v) {
    for (int i = 0; i < 4; ++i) Data.push_back(static_cast<uint8_t>(v >> (8 * i)));
    return *this;
  }
  ByteBuilder& Raw(const Bytes& b) {
    Data.insert(Data.end(), b.begin(), b.end());
    return *this;
  }
  void Put16(size_t at, uint16_t v) {
    Data[at] = static_cast<uint8_t>(v);
    Data[at + 1] = static_cast<uint8_t>(v >> 8);
  }
  void Put32(size_t at, uint32_t v) {
    for (size_t i = 0; i < 4; ++i) Data[at + i] = static_cast<uint8_t>(v >> (8 * i));
  }
};

// The 2-bit level of a gray byte, from the format's thresholds.
uint32_t GrayLevel(int32_t v) { return v > 224 ? 3 : v > 160 ? 2 : v > 64 ? 1 : 0; }

std::unique_ptr<TBitmap> WhiteMono(int32_t width, int32_t height) {
  return MakeBitmap(pf1bit, width, height, [](int32_t, int32_t) { return 1u; });
}

// The driver's call order for a book of the given pages, without table of contents.
void WriteBook(TStream& stream, const std::vector<const TBitmap*>& pages, int32_t bitCount,
               const TBitmap* cover = nullptr) {
  TWolfWriter writer(stream);
  writer.Description().SetField(0, "Title");
  writer.WriteDescription();
  if (cover) writer.WriteCover(*cover, bitCount);
  writer.BeginBook();
  writer.BeginPage();
  for (size_t i = 0; i < pages.size(); ++i) {
    writer.AddPageImage(*pages[i], bitCount);
    writer.SetTOCPage(static_cast<int32_t>(i + 1));
  }
  writer.EndPage();
  writer.EndBook();
  writer.Finish();
}

TEST(TWolfWriter, WritesAOnePageBookByteForByte) {
  TMemoryStream stream;
  {
    TWolfWriter writer(stream);
    writer.WriteDescription();
    writer.BeginBook();
    writer.BeginPage();
    writer.AddPageImage(*WhiteMono(8, 1), 1);
    writer.SetTOCPage(1);
    writer.EndPage();
    writer.EndBook();
    writer.Finish();
    EXPECT_EQ(stream.Position(), 128);
  }
  const std::string imgTag = "<img bitcount=1 compact=1 width=8 height=1 length=3>";
  // One white row: packed 00 (stored 1 = black); LZSS: flags 01, literal 00; then 00.
  const Bytes image = {0x01, 0x00, 0x00};
  const uint32_t bookStart = 128 + 107;
  const uint32_t bodyBytes = static_cast<uint32_t>(8 + 9 + imgTag.size() + image.size() + 6 + 10 + 7);
  const uint32_t catalogBytes = 9 + 6 + 6 + 7 + 4 + 10;
  const uint32_t tableStart = bookStart + bodyBytes + catalogBytes;

  ByteBuilder expected;
  expected.Text("WolfEbook1.11").U16(0);  // signature, terminator and one more zero
  expected.Data.resize(128, 0);
  expected.Put16(0x11, 0x0201);
  expected.Put16(0x17, 107);  // empty description
  expected.Put32(0x19, 0);    // no cover
  expected.Put32(0x1E, catalogBytes);
  expected.Put16(0x22, 1);  // the one title item
  expected.Put32(0x26, bodyBytes);
  expected.Put32(0x3C, 133);  // 101 + 32 * 1
  expected.Put16(0x40, 1);
  expected.Put32(0x42, 1);
  expected.Put32(0x4B, 1);
  expected.Text(
      "<title>\r\n<subject>\r\n<author>\r\n<adpter>\r\n<translator>\r\n<publisher>\r\n<time_publish>\r\n"
      "<introduction>\r\n<ISBN>\r\n");
  expected.Text("<wolf>\r\n")
      .Text("<catalog>")
      .Text(imgTag)
      .Raw(image)
      .Text("</img>")
      .Text("</catalog>")
      .Text("</wolf>");
  // Catalog: the title item ("NoName": the title is empty) at the page's relative position.
  expected.Text("<catalog><item>NoName</item>").U32(8).Text("</catalog>");
  // Page table: thirteen positions, then eight lists holding the position of "<catalog>".
  expected.Text("<pagetable ver=\"001\">");
  const uint32_t lists = tableStart + 21 + 52 + 12;
  for (uint32_t k = 0; k < 4; ++k) expected.U32(lists + 12 * k).U32(lists + 12 * k + 4).U32(lists + 12 * k + 8);
  expected.U32(lists + 48);
  expected.Text("</pagetable>");
  for (int k = 0; k < 4; ++k) expected.U32(bookStart + 8).U32(bookStart + 8).U32(0xFFFFFFFF);

  EXPECT_EQ(StreamBytes(stream), expected.Data);
  EXPECT_NO_THROW(ReadWolfBook(StreamBytes(stream)));
}

TEST(TWolfWriter, KeepsTheHeadersFixedAndUnalignedFieldsAtTheirOffsets) {
  TMemoryStream stream;
  const auto a = WhiteMono(16, 4), b = WhiteMono(16, 4), c = WhiteMono(16, 4);
  WriteBook(stream, {a.get(), b.get(), c.get()}, 1);
  const Bytes file = StreamBytes(stream);
  EXPECT_EQ(std::memcmp(file.data(), "WolfEbook1.11", 13), 0);
  EXPECT_EQ(file[0x0D], 0);
  EXPECT_EQ(file[0x0E], 0);
  EXPECT_EQ(file[0x11], 0x01);
  EXPECT_EQ(file[0x12], 0x02);
  const TReadWolfBook book = ReadWolfBook(file);
  EXPECT_EQ(book.Header32(0x42), 3u);
  EXPECT_EQ(book.Header32(0x4B), 3u);
  EXPECT_EQ(book.Header32(0x3C), 101u + 32 * 3);
  EXPECT_EQ(book.Header16(0x17), book.Description.size());
  // A single "<catalog>" around all image blocks: the first entry points at it, the
  // others at the "<img" of pages 2 and 3.
  ASSERT_EQ(book.PageLists[0].size(), 3u);
  EXPECT_EQ(book.PageLists[0][0], book.BookStart + 8);
  EXPECT_EQ(book.PageLists[0][1], book.Images[1].Offset);
  EXPECT_EQ(book.PageLists[0][2], book.Images[2].Offset);
  for (const auto& list : book.PageLists) EXPECT_EQ(list, book.PageLists[0]);
  // Every byte not listed in the header is 0.
  for (size_t i = 0; i < 128; ++i) {
    static const std::vector<std::pair<size_t, size_t>> fields = {
        {0x00, 13}, {0x11, 2}, {0x17, 2}, {0x19, 4}, {0x1E, 4}, {0x22, 2}, {0x26, 4},
        {0x3C, 4},  {0x40, 2}, {0x42, 4}, {0x4B, 4}, {0x5F, 2}, {0x61, 4}};
    const bool listed =
        std::any_of(fields.begin(), fields.end(), [&](auto f) { return i >= f.first && i < f.first + f.second; });
    if (!listed) {
      EXPECT_EQ(file[i], 0) << "header byte " << i;
    }
  }
}

TEST(TWolfWriter, WritesACoverRecordWithItsBytesPerRowRoundedDown) {
  // 601 pixels at 2 bits: the record says 150 (1202 >> 3) while the rows hold 151 bytes.
  const auto cover =
      MakeBitmap(pf24bit, 601, 9, [](int32_t x, int32_t y) { return static_cast<uint32_t>((x + y) % 256); });
  const auto page = MakeBitmap(pf24bit, 20, 20, [](int32_t, int32_t) { return 255u; });
  TMemoryStream stream;
  WriteBook(stream, {page.get()}, 2, cover.get());
  const TReadWolfBook book = ReadWolfBook(StreamBytes(stream));
  ASSERT_TRUE(book.HasCover);
  EXPECT_EQ(book.Cover.Width, 601);
  EXPECT_EQ(book.Cover.BitCount, 2);
  EXPECT_EQ(book.Cover.RowBytesField, 150);
  EXPECT_EQ(book.Cover.Height, 9);
  EXPECT_EQ(book.Header32(0x19), 10 + book.Cover.Encoded.size());
  const Bytes rows = DecodeWolfLZSS(book.Cover.Encoded, 151 * 9, 0);
  EXPECT_EQ(rows.size(), 151u * 9);
  const Bytes pixels = DecodeWolfImagePixels(book.Cover.Encoded, 601, 9, 2);
  for (int32_t y = 0; y < 9; ++y)
    for (int32_t x = 0; x < 601; ++x)
      ASSERT_EQ(pixels[static_cast<size_t>(y * 601 + x)], GrayLevel((x + y) % 256)) << x << "," << y;
}

TEST(TWolfWriter, WithoutCoverTheBodyFollowsTheDescription) {
  const auto page = WhiteMono(8, 8);
  TMemoryStream stream;
  WriteBook(stream, {page.get()}, 1);
  const TReadWolfBook book = ReadWolfBook(StreamBytes(stream));
  EXPECT_FALSE(book.HasCover);
  EXPECT_EQ(book.Header32(0x19), 0u);
  EXPECT_EQ(book.BookStart, 128 + book.Description.size());
  EXPECT_EQ(book.Description.substr(0, 14), "<title>Title\r\n");
}

TEST(TWolfWriter, BooksDecodeBackToTheirPixelsInEveryFormat) {
  const struct {
    const char* Name;
    TPixelFormat Format;
    int32_t BitCount;
  } cases[] = {{"1 bit", pf1bit, 1}, {"4 bits", pf4bit, 2}, {"24 bits", pf24bit, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::unique_ptr<TBitmap>> pages;
    for (uint32_t seed = 1; seed <= 4; ++seed)
      pages.push_back(MakeBitmap(c.Format, 50 + static_cast<int32_t>(seed), 30, [&](int32_t x, int32_t y) {
        const uint32_t v = (static_cast<uint32_t>(x * x + 3 * y) * seed) % 97;
        return c.Format == pf1bit ? v % 2 : c.Format == pf4bit ? v % 16 : v * 2;
      }));
    TMemoryStream stream;
    WriteBook(stream, {pages[0].get(), pages[1].get(), pages[2].get(), pages[3].get()}, c.BitCount);
    const TReadWolfBook book = ReadWolfBook(StreamBytes(stream));
    ASSERT_EQ(book.Images.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
      const TBitmap& original = *pages[i];
      const TReadWolfImage& image = book.PageImage(i);
      ASSERT_EQ(image.Width, original.Width());
      ASSERT_EQ(image.Height, 30);
      ASSERT_EQ(image.BitCount, c.BitCount);
      const Bytes pixels = DecodeWolfImagePixels(image.Encoded, image.Width, image.Height, image.BitCount);
      for (int32_t y = 0; y < 30; ++y)
        for (int32_t x = 0; x < original.Width(); ++x) {
          const uint8_t* row = original.ScanLine(y);
          uint32_t expected;
          if (c.Format == pf1bit)
            expected = 1 - ((row[x / 8] >> (7 - x % 8)) & 1);  // stored 1 = black = index 0
          else if (c.Format == pf4bit)
            expected = ((x % 2 ? row[x / 2] : row[x / 2] >> 4) & 0x0F) >> 2;
          else
            expected = GrayLevel(row[3 * x]);
          ASSERT_EQ(pixels[static_cast<size_t>(y * original.Width() + x)], expected)
              << "page " << i << " " << x << "," << y;
        }
    }
  }
}

TEST(TWolfWriter, RefusesAPageBitmapItCannotEncodeAndWritesNothing) {
  TMemoryStream stream;
  TWolfWriter writer(stream);
  writer.BeginBook();
  writer.BeginPage();
  const int64_t before = stream.Size();
  const auto page = MakeBitmap(pf24bit, 8, 8, [](int32_t, int32_t) { return 0u; });
  EXPECT_EQ(RaisedMessage<WideException>([&] { writer.AddPageImage(*page, 1); }), "Bad input image!");
  EXPECT_EQ(stream.Size(), before);
  EXPECT_EQ(writer.PageTable().GetGroup(0).Count(), 1);
  writer.EndBook();
  EXPECT_EQ(RaisedMessage<EWolfWriterError>([&] { writer.Finish(); }), "Wolf book has no pages");
}

TEST(TWolfWriter, RefusesACoverBitmapItCannotEncodeAfterTheRecord) {
  TMemoryStream stream;
  TWolfWriter writer(stream);
  const auto cover = MakeBitmap(pf4bit, 8, 8, [](int32_t, int32_t) { return 0u; });
  try {
    writer.WriteCover(*cover, 1);
    ADD_FAILURE() << "no exception";
  } catch (const WideException& e) {
    EXPECT_EQ(e.WideMessage(), u"Bad input image!");
  }
  EXPECT_EQ(stream.Size(), 128 + 10);
  EXPECT_EQ(writer.Header()[0x19], 0);
}

TEST(TWolfWriter, FinishingAnIncompleteBookRaisesAndWritesNothing) {
  const auto image = [](TWolfWriter& w) { w.AddPageImage(*WhiteMono(8, 8), 1); };
  const struct {
    const char* Name;
    std::function<void(TWolfWriter&)> Calls;  // after WriteDescription
    const char* Message;
  } cases[] = {
      {"no page opened",
       [](TWolfWriter& w) {
         w.BeginBook();
         w.EndBook();
       },
       "Wolf book has no pages"},
      {"a page opened without image",
       [](TWolfWriter& w) {
         w.BeginBook();
         w.BeginPage();
         w.EndBook();
       },
       "Wolf book has no pages"},
      {"book never begun", [](TWolfWriter&) {}, "Wolf book was not ended before Finish"},
      {"book with a page, not ended",
       [&](TWolfWriter& w) {
         w.BeginBook();
         w.BeginPage();
         image(w);
       },
       "Wolf book was not ended before Finish"},
      {"book ended, then begun again",
       [&](TWolfWriter& w) {
         w.BeginBook();
         image(w);
         w.EndBook();
         w.BeginBook();
       },
       "Wolf book was not ended before Finish"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TMemoryStream stream;
    TWolfWriter writer(stream);
    writer.WriteDescription();
    c.Calls(writer);
    const Bytes before = StreamBytes(stream);
    EXPECT_EQ(RaisedMessage<EWolfWriterError>([&] { writer.Finish(); }), c.Message);
    EXPECT_EQ(StreamBytes(stream), before);
  }
}

TEST(TWolfWriter, DestroyingAnUnfinishedWriterWritesNothing) {
  TMemoryStream stream;
  Bytes before;
  {
    TWolfWriter writer(stream);
    writer.WriteDescription();
    writer.BeginBook();
    writer.AddPageImage(*WhiteMono(8, 8), 1);
    writer.EndBook();
    before = StreamBytes(stream);
  }
  EXPECT_EQ(StreamBytes(stream), before);
  EXPECT_EQ(before[0x26], 0);  // the header is still the placeholder
  EXPECT_THROW(ReadWolfBook(before), std::runtime_error);
}

TEST(TWolfWriter, ImagesAddedToAnOpenPageBecomePagesOfTheirOwn) {
  TMemoryStream stream;
  TWolfWriter writer(stream);
  writer.WriteDescription();
  writer.BeginBook();
  writer.NewPage();  // state 0: opens a page
  writer.AddPageImage(*WhiteMono(8, 2), 1);
  writer.AddPageImage(*WhiteMono(8, 3), 1);  // state 3: a new page-table entry at "<img"
  writer.NewPage();                          // closes the page, opens a second "<catalog>"
  writer.AddPageImage(*WhiteMono(8, 4), 1);
  writer.EndBook();
  writer.Finish();
  const TReadWolfBook book = ReadWolfBook(StreamBytes(stream));
  ASSERT_EQ(book.Images.size(), 3u);
  ASSERT_EQ(book.PageLists[0].size(), 3u);
  EXPECT_EQ(book.PageLists[0][0], book.BookStart + 8);
  EXPECT_EQ(book.PageLists[0][1], book.Images[1].Offset);
  EXPECT_EQ(book.PageLists[0][2], book.Images[2].Offset - 9);  // its "<catalog>"
  EXPECT_EQ(book.PageImage(2).Height, 4);
}

TEST(TWolfWriter, NewPageOnAPageWithoutImageOpensAnotherWithoutClosingIt) {
  // Kept as the format's writers behave: "<catalog><catalog>".
  TMemoryStream stream;
  TWolfWriter writer(stream);
  writer.BeginBook();
  writer.BeginPage();
  writer.NewPage();
  const Bytes bytes = StreamBytes(stream);
  EXPECT_EQ(std::string(bytes.begin() + 128, bytes.end()), "<wolf>\r\n<catalog><catalog>");
  EXPECT_EQ(writer.PageTable().GetGroup(0).Count(), 2);
}

TEST(TWolfPageTable, AddsEachNewPositionToEveryGroupAndWrapsGroupIndices) {
  TWolfPageTable table(2);
  EXPECT_EQ(table.LastPosition(), -1);
  table.AddPosition(10);
  table.AddPosition(10);  // the same as the last: ignored
  table.AddPosition(20);
  EXPECT_EQ(table.LastPosition(), 20);
  EXPECT_EQ(&table.GetGroup(3), &table.GetGroup(1));
  EXPECT_EQ(table.GetGroup(0).Count(), 2);
  EXPECT_EQ(table.GetGroup(1).ByteSize(), 8);
  EXPECT_EQ(table.GetGroup(1).GetPosition(1), 20u);
  EXPECT_EQ(RaisedMessage<EListError>([&] { table.GetGroup(0).GetPosition(2); }), "List index out of bounds (2)");
}

}  // namespace
