#include "wolf/uWolfImages.h"

#include <gtest/gtest.h>

#include "wolf/WolfFileReader.h"
#include "wolf/WolfTestSupport.h"

namespace {

using Bytes = std::vector<uint8_t>;

// Encodes and returns the stream's bytes, checking the returned length against them.
Bytes Encode(const TBitmap& bitmap, int32_t bitCount) {
  TMemoryStream stream;
  const int32_t length = EncodeWolfImage(stream, bitmap, bitCount);
  EXPECT_EQ(static_cast<int64_t>(length), stream.Size());
  return StreamBytes(stream);
}

// The packed rows, decoded back from an encoded image.
Bytes PackedRows(const TBitmap& bitmap, int32_t bitCount) {
  const Bytes encoded = Encode(bitmap, bitCount);
  const size_t rowBytes = (static_cast<size_t>(bitmap.Width()) * static_cast<size_t>(bitCount) + 7) / 8;
  return DecodeWolfLZSS(encoded, rowBytes * static_cast<size_t>(bitmap.Height()), 0);
}

TEST(QuantizeGray, SplitsIntensitiesAtTheFormatsThresholds) {
  const struct {
    uint8_t Value, Level;
  } cases[] = {{0, 0}, {64, 0}, {65, 1}, {160, 1}, {161, 2}, {224, 2}, {225, 3}, {255, 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Value));
    EXPECT_EQ(QuantizeGray(c.Value), c.Level);
  }
}

TEST(EncodeWolfImage, InvertsOneBitRowsAndPacksEachRowOnItsOwn) {
  // 10 pixels wide: 2 bytes per row; pixel x of row y is white (index 1) when x == y.
  const auto bitmap = MakeBitmap(pf1bit, 10, 3, [](int32_t x, int32_t y) { return x == y ? 1u : 0u; });
  const Bytes rows = PackedRows(*bitmap, 1);
  ASSERT_EQ(rows.size(), 6u);
  // Stored 1 = black; the filler bits after pixel 9 are the source's filler, inverted.
  const auto filler = [&](int32_t y) { return static_cast<uint8_t>(~bitmap->ScanLine(y)[1] & 0x3F); };
  EXPECT_EQ(rows[0], 0x7F);
  EXPECT_EQ(rows[1], 0xC0 | filler(0));
  EXPECT_EQ(rows[2], 0xBF);
  EXPECT_EQ(rows[4], 0xDF);
}

TEST(EncodeWolfImage, PacksTwentyFourBitPixelsFourToAByteLeftmostHigh) {
  // 10 pixels wide: 3 bytes per row, the last holding two pixels in bits 7-4.
  const uint8_t grays[10] = {0, 100, 200, 255, 255, 200, 100, 0, 225, 65};
  const auto bitmap = MakeBitmap(pf24bit, 10, 2, [&](int32_t x, int32_t) { return grays[x]; });
  EXPECT_EQ(PackedRows(*bitmap, 2), (Bytes{0x1B, 0xE4, 0xD0, 0x1B, 0xE4, 0xD0}));
}

TEST(EncodeWolfImage, TakesTheHighBitsOfFourBitIndicesTheStandardGraysGiveTheFourLevels) {
  // Indices 0, 7, 8, 15 (black, dark gray, light gray, white) give 0, 1, 2, 3; width 5 is
  // odd, so the second byte's first pair is the filler nibble's high bits.
  const uint32_t indices[5] = {0, 7, 8, 15, 8};
  const auto bitmap = MakeBitmap(pf4bit, 5, 1, [&](int32_t x, int32_t) { return indices[x]; });
  const Bytes rows = PackedRows(*bitmap, 2);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], 0x1B);
  EXPECT_EQ(rows[1], 0x80 | ((bitmap->ScanLine(0)[2] & 0x0C) << 2));
}

TEST(EncodeWolfImage, EndsTheStreamWithOneZeroByteAndRoundTripsPixels) {
  const auto bitmap =
      MakeBitmap(pf24bit, 37, 23, [](int32_t x, int32_t y) { return static_cast<uint32_t>((x * 7 + y * 13) % 256); });
  const Bytes encoded = Encode(*bitmap, 2);
  ASSERT_FALSE(encoded.empty());
  EXPECT_EQ(encoded.back(), 0);
  const Bytes pixels = DecodeWolfImagePixels(encoded, 37, 23, 2);
  for (int32_t y = 0; y < 23; ++y)
    for (int32_t x = 0; x < 37; ++x)
      ASSERT_EQ(pixels[static_cast<size_t>(y * 37 + x)], QuantizeGray(static_cast<uint8_t>((x * 7 + y * 13) % 256)));
}

TEST(EncodeWolfImage, RefusesUnsupportedCombinationsAndWritesNothing) {
  const struct {
    const char* Name;
    TPixelFormat Format;
    int32_t BitCount;
  } cases[] = {{"1-bit bitmap at 2 bits", pf1bit, 2},   {"24-bit bitmap at 1 bit", pf24bit, 1},
               {"4-bit bitmap at 1 bit", pf4bit, 1},    {"8-bit bitmap at 2 bits", pf8bit, 2},
               {"32-bit bitmap at 2 bits", pf32bit, 2}, {"bit count 4", pf4bit, 4}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TBitmap bitmap;
    bitmap.SetPixelFormat(c.Format);
    bitmap.SetSize(4, 4);
    TMemoryStream stream;
    EXPECT_EQ(EncodeWolfImage(stream, bitmap, c.BitCount), 0);
    EXPECT_EQ(stream.Size(), 0);
  }
}

}  // namespace
