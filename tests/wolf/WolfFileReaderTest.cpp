// The test reader must catch what it claims to check, or its passing says nothing.
#include "wolf/WolfFileReader.h"

#include <gtest/gtest.h>

#include "wolf/WolfTestSupport.h"
#include "wolf/cWolfWriter.h"

namespace {

using Bytes = std::vector<uint8_t>;

// A two-page book with a two-entry table of contents.
Bytes GoodBook() {
  TMemoryStream stream;
  TWolfWriter writer(stream);
  writer.WriteDescription();
  writer.AddTOCItem(1, "One", 1);
  writer.AddTOCItem(2, "Two", 2);
  writer.BeginBook();
  writer.BeginPage();
  for (int32_t page = 1; page <= 2; ++page) {
    writer.AddPageImage(*MakeBitmap(pf1bit, 16, 4, [](int32_t x, int32_t y) { return (x + y) % 2u; }), 1);
    writer.SetTOCPage(page);
  }
  writer.EndPage();
  writer.EndBook();
  writer.Finish();
  return StreamBytes(stream);
}

size_t Find(const Bytes& file, const std::string& text, size_t from = 0) {
  const auto at = std::search(file.begin() + static_cast<std::ptrdiff_t>(from), file.end(), text.begin(), text.end());
  return static_cast<size_t>(at - file.begin());
}

TEST(WolfFileReader, AcceptsAGoodBookAndRejectsEachDamage) {
  const Bytes good = GoodBook();
  const TReadWolfBook book = ReadWolfBook(good);
  ASSERT_EQ(book.Images.size(), 2u);
  const size_t firstImage = book.Images[0].Offset;
  const struct {
    const char* Name;
    std::function<void(Bytes&)> Damage;
  } cases[] = {
      {"signature", [](Bytes& f) { f[3] = 'F'; }},
      {"last byte of the terminator", [](Bytes& f) { f.back() = 0xFE; }},
      {"file one byte longer", [](Bytes& f) { f.push_back(0xFF); }},
      {"body length", [](Bytes& f) { ++f[0x26]; }},
      {"catalog length", [](Bytes& f) { ++f[0x1E]; }},
      {"first page list count", [](Bytes& f) { ++f[0x42]; }},
      {"fifth page list count", [](Bytes& f) { ++f[0x4B]; }},
      {"image length field", [&](Bytes& f) { f[Find(f, "length=", firstImage) + 7] = '9'; }},
      {"image attribute order", [&](Bytes& f) { f[Find(f, "compact", firstImage)] = 'k'; }},
      {"page-table entry", [&](Bytes& f) { ++f[f.size() - 8]; }},
      {"catalog item position", [&](Bytes& f) { ++f[Find(f, "</item>", book.CatalogStart) + 7]; }},
      {"record link", [&](Bytes& f) { ++f[book.SubcatalogStart + 12 + 16]; }},
      {"subcatalog position", [](Bytes& f) { ++f[0x61]; }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Bytes damaged = good;
    c.Damage(damaged);
    EXPECT_THROW(ReadWolfBook(damaged), std::runtime_error);
  }
}

TEST(WolfFileReader, RejectsImageStreamsThatDependOnTheRingOrEndWrongly) {
  // 01 'a' then a match of 3 at ring position 0, which the stream never wrote.
  const Bytes unwritten = {0x01, 'a', 0x00, 0x00, 0x00};
  EXPECT_THROW(DecodeWolfImagePixels(unwritten, 16, 1, 2), std::runtime_error);
  // Two literal rows bytes, then a stray non-zero byte instead of the final 0x00.
  const Bytes stray = {0x03, 0xFF, 0xFF, 0x07};
  EXPECT_THROW(DecodeWolfImagePixels(stray, 8, 1, 2), std::runtime_error);
  const Bytes good = {0x03, 0xFF, 0xFF, 0x00};
  EXPECT_EQ(DecodeWolfImagePixels(good, 8, 1, 2), Bytes(8, 3));
}

}  // namespace
