#include <gtest/gtest.h>

#include <unistd.h>

#include <cstring>
#include <vector>

#include "platform/base/TempFolder.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/BitmapTestImages.h"
#include "platform/graphics/PilPeer.h"

namespace {

std::vector<uint8_t> Save(const TBitmap& bitmap) {
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  const auto* p = static_cast<const uint8_t*>(stream.Memory());
  return std::vector<uint8_t>(p, p + stream.Size());
}

std::unique_ptr<TBitmap> Load(const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->LoadFromStream(stream);
  return bitmap;
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

// A 3 x 2 image, 1 bit per pixel, written field by field; rows is the data as stored.
std::vector<uint8_t> HandMadeMonochrome(int32_t height, const std::vector<uint8_t>& rows) {
  std::vector<uint8_t> bmp{'B', 'M'};
  Put32(bmp, 14 + 40 + 8 + static_cast<uint32_t>(rows.size()));  // file size
  Put32(bmp, 0);                                                 // two reserved words
  Put32(bmp, 14 + 40 + 8);                                       // offset of the rows
  Put32(bmp, 40);                                                // header size
  Put32(bmp, 3);                                                 // width
  Put32(bmp, static_cast<uint32_t>(height));                     // height (negative: top row first)
  bmp.insert(bmp.end(), {1, 0, 1, 0});                           // planes 1, 1 bit per pixel
  Put32(bmp, 0);                                                 // no compression
  Put32(bmp, 0);                                                 // image size (may be 0 uncompressed)
  Put32(bmp, 2835);                                              // 72 dpi across
  Put32(bmp, 2835);                                              // 72 dpi down
  Put32(bmp, 2);                                                 // colours used
  Put32(bmp, 0);                                                 // important colours
  bmp.insert(bmp.end(), {0x00, 0x00, 0xFF, 0});                  // entry 0: red (blue, green, red, 0)
  bmp.insert(bmp.end(), {0xFF, 0x00, 0x00, 0});                  // entry 1: blue
  bmp.insert(bmp.end(), rows.begin(), rows.end());
  return bmp;
}

template <typename E>
void ExpectLoadFails(const std::vector<uint8_t>& bytes, const char* message) {
  TBitmap bitmap;
  bitmap.SetSize(1, 1);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
  try {
    bitmap.LoadFromStream(stream);
    FAIL() << "no exception";
  } catch (const E& e) {
    EXPECT_STREQ(e.what(), message);
  }
  EXPECT_EQ(bitmap.Width(), 1);  // a failed load leaves the bitmap as it was
}

}  // namespace

TEST(BmpFormat, EveryFormatSurvivesARoundTrip) {
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
    SCOPED_TRACE(format);
    const auto originalOwner = NoiseBitmap(format, 13, 5, 7);
    const TBitmap& original = *originalOwner;
    const auto loadedOwner = Load(Save(original));
    const TBitmap& loaded = *loadedOwner;
    EXPECT_EQ(loaded.PixelFormat(), format);
    ASSERT_EQ(loaded.Width(), 13);
    ASSERT_EQ(loaded.Height(), 5);
    EXPECT_TRUE(std::equal(original.ColorTable().begin(), original.ColorTable().end(), loaded.ColorTable().begin(),
                           loaded.ColorTable().end()));
    for (int32_t y = 0; y < 5; ++y)
      EXPECT_EQ(std::memcmp(original.ScanLine(y), loaded.ScanLine(y), static_cast<size_t>(original.BytesPerScanLine())),
                0);
  }
}

TEST(BmpFormat, TheWrittenHeaderHasTheExpectedFields) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf4bit);
  bitmap.SetSize(3, 2);
  const auto bytes = Save(bitmap);
  ASSERT_EQ(bytes.size(), 14u + 40 + 16 * 4 + 2 * 4);
  EXPECT_EQ(bytes[0], 'B');
  EXPECT_EQ(bytes[1], 'M');
  EXPECT_EQ(bytes[2], bytes.size());   // file size, low byte
  EXPECT_EQ(bytes[10], 14 + 40 + 64);  // offset of the rows
  EXPECT_EQ(bytes[28], 4);             // bits per pixel
  EXPECT_EQ(bytes[46], 16);            // colours used
  EXPECT_EQ(bytes[54 + 7 * 4], 0x80);  // entry 7: gray, blue first
}

TEST(BmpFormat, RowsAreReadBottomUpOrTopDownByTheSignOfTheHeight) {
  // Stored rows: 101 then 011 (padded to 4 bytes each).
  const std::vector<uint8_t> rows{0xA0, 0, 0, 0, 0x60, 0, 0, 0};
  const auto bottomUpOwner = Load(HandMadeMonochrome(2, rows));
  const TBitmap& bottomUp = *bottomUpOwner;
  const auto topDownOwner = Load(HandMadeMonochrome(-2, rows));
  const TBitmap& topDown = *topDownOwner;
  EXPECT_EQ(bottomUp.PixelFormat(), pf1bit);
  EXPECT_EQ(bottomUp.ScanLine(0)[0], 0x60);  // the last stored row is the top one
  EXPECT_EQ(bottomUp.PixelColor(0, 1), clBlue);
  EXPECT_EQ(bottomUp.PixelColor(1, 1), clRed);
  EXPECT_EQ(topDown.ScanLine(0)[0], 0xA0);
  EXPECT_EQ(topDown.Height(), 2);
}

TEST(BmpFormat, BadImagesRaiseTheBitmapError) {
  const std::vector<uint8_t> rows{0xA0, 0, 0, 0, 0x60, 0, 0, 0};
  auto good = HandMadeMonochrome(2, rows);

  auto badSignature = good;
  badSignature[0] = 'X';
  ExpectLoadFails<EInvalidGraphic>(badSignature, "Bitmap image is not valid");

  auto badHeader = good;
  badHeader[14] = 41;  // no header is 41 bytes long
  ExpectLoadFails<EInvalidGraphic>(badHeader, "Bitmap image is not valid");

  auto runLength = good;
  runLength[30] = 2;  // RLE4 compression
  ExpectLoadFails<EInvalidGraphic>(runLength, "Bitmap image is not valid");

  auto sixteen = good;
  sixteen[28] = 16;
  ExpectLoadFails<EInvalidGraphic>(sixteen, "Invalid pixel format");

  auto huge = good;
  huge[21] = 0x7F;  // width 0x7F000003
  huge[25] = 0x7F;  // height 0x7F000002
  ExpectLoadFails<EInvalidGraphic>(huge, "Bitmap image is not valid");

  auto endless = good;
  endless[18] = 0;     // width 0
  endless[25] = 0x7F;  // height 0x7F000002: no pixels, but rows without end
  ExpectLoadFails<EInvalidGraphic>(endless, "Bitmap image is not valid");

  auto tooManyColours = good;
  tooManyColours[46] = 0;
  tooManyColours[47] = 2;  // 512 colours
  ExpectLoadFails<EInvalidGraphic>(tooManyColours, "Bitmap image is not valid");

  // Rows or a pixel offset beyond the end are refused before the image is allocated.
  const std::vector<uint8_t> truncated(good.begin(), good.end() - 1);
  ExpectLoadFails<EInvalidGraphic>(truncated, "Bitmap image is not valid");

  auto offsetBeyondEnd = good;
  offsetBeyondEnd[10] = 0xFF;
  offsetBeyondEnd[11] = 0xFF;  // the rows at 65535 in a 70-byte file
  ExpectLoadFails<EInvalidGraphic>(offsetBeyondEnd, "Bitmap image is not valid");
}

namespace {

// The header alone (14 + 40 bytes) claiming 16384 x 16384 at 32 bits, 1 GiB of rows.
std::vector<uint8_t> HugeHeaderOnly() {
  std::vector<uint8_t> bmp{'B', 'M'};
  Put32(bmp, 54);                             // file size
  Put32(bmp, 0);                              // two reserved words
  Put32(bmp, 54);                             // offset of the rows
  Put32(bmp, 40);                             // header size
  Put32(bmp, 16384);                          // width
  Put32(bmp, 16384);                          // height
  bmp.insert(bmp.end(), {1, 0, 32, 0});       // planes 1, 32 bits per pixel
  for (int i = 0; i < 6; ++i) Put32(bmp, 0);  // no compression, sizes, resolutions, colours
  return bmp;
}

}  // namespace

TEST(BmpFormat, AHeaderClaimingMoreRowsThanTheFileHoldsIsRefusedBeforeAllocating) {
  const std::vector<uint8_t> bmp = HugeHeaderOnly();
  ASSERT_EQ(bmp.size(), 54u);
  // Allocating first would take 1 GiB and then fail reading with "Stream read error".
  ExpectLoadFails<EInvalidGraphic>(bmp, "Bitmap image is not valid");
}

TEST(BmpFormat, AnImageWithoutColumnsHasRowsThatAreNoNullPointers) {
  const std::vector<uint8_t> rows;
  auto bmp = HandMadeMonochrome(2, rows);
  bmp[18] = 0;  // width 0: two rows of no bytes
  const auto bitmap = Load(bmp);
  EXPECT_TRUE(bitmap->Empty());
  EXPECT_EQ(bitmap->Height(), 2);
  EXPECT_EQ(bitmap->BytesPerScanLine(), 0);
  EXPECT_NE(bitmap->ScanLine(0), nullptr);
  EXPECT_NE(bitmap->ScanLine(1), nullptr);
  EXPECT_EQ(Load(Save(*bitmap))->Height(), 2);
}

TEST(BmpFormat, AStreamThatCannotTellItsSizeStillLoads) {
  const std::vector<uint8_t> bmp = HandMadeMonochrome(-2, {0xA0, 0, 0, 0, 0x60, 0, 0, 0});
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  ASSERT_EQ(write(fds[1], bmp.data(), bmp.size()), static_cast<ssize_t>(bmp.size()));
  close(fds[1]);
  THandleStream pipeStream(fds[0]);
  ASSERT_LT(pipeStream.Size(), 0);
  TBitmap bitmap;
  bitmap.LoadFromStream(pipeStream);
  close(fds[0]);
  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.ScanLine(0)[0], 0xA0);
  EXPECT_EQ(bitmap.ScanLine(1)[0], 0x60);
}

TEST(BmpFormat, PilReadsWhatWeWrite) {
  QF_REQUIRE_PIL();
  TempFolder folder;
  for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
    SCOPED_TRACE(format);
    const auto originalOwner = NoiseBitmap(format, 11, 4, 99);
    const TBitmap& original = *originalOwner;
    WriteFileBytes(folder / "ours.bmp", Save(original));
    ASSERT_TRUE(RunPeerScript("platform/graphics/bmp_peer.py", {"decode", folder / "ours.bmp", folder / "pil.raw"}));
    const TRawImage decoded = ReadRawImage(folder / "pil.raw");
    EXPECT_EQ(decoded.Width, 11);
    EXPECT_EQ(decoded.Height, 4);
    EXPECT_EQ(decoded.Bytes, RgbBytes(original));
  }
}

TEST(BmpFormat, WeReadWhatPilWrites) {
  QF_REQUIRE_PIL();
  TempFolder folder;
  const auto noiseOwner = NoiseBitmap(pf24bit, 9, 3, 5);
  const TBitmap& noise = *noiseOwner;
  const std::vector<uint8_t> rgb = RgbBytes(noise);
  struct Case {
    const char* Mode;
    std::vector<uint8_t> Raw;
    TPixelFormat Format;
    std::vector<uint8_t> Expected;
  };
  std::vector<uint8_t> rgba, onebit, onebitRgb, indexed(768), indexedRgb;
  for (size_t i = 0; i < rgb.size(); i += 3) {
    rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
    const uint8_t level = rgb[i] & 0x80 ? 255 : 0;
    onebit.push_back(level);
    onebitRgb.insert(onebitRgb.end(), {level, level, level});
  }
  for (int i = 0; i < 256; ++i) {
    indexed[3 * i] = static_cast<uint8_t>(i);
    indexed[3 * i + 1] = static_cast<uint8_t>(255 - i);
    indexed[3 * i + 2] = static_cast<uint8_t>(i * 7);
  }
  for (size_t i = 0; i < rgb.size(); i += 3) {
    indexed.push_back(rgb[i]);
    indexedRgb.insert(indexedRgb.end(), {rgb[i], static_cast<uint8_t>(255 - rgb[i]), static_cast<uint8_t>(rgb[i] * 7)});
  }
  const Case cases[] = {{"RGB", rgb, pf24bit, rgb},
                        {"RGBA", rgba, pf32bit, rgb},
                        {"1", onebit, pf1bit, onebitRgb},
                        {"P", indexed, pf8bit, indexedRgb}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mode);
    WriteRawImage(folder / "in.raw", TRawImage{9, 3, c.Raw});
    ASSERT_TRUE(
        RunPeerScript("platform/graphics/bmp_peer.py", {"encode", c.Mode, folder / "in.raw", folder / "pil.bmp"}));
    const auto bitmap = Load(ReadFileBytes(folder / "pil.bmp"));
    EXPECT_EQ(bitmap->PixelFormat(), c.Format);
    EXPECT_EQ(RgbBytes(*bitmap), c.Expected);
  }
}

TEST(BmpFormat, BitmapResourcesLoadByName) {
  // The resource is palette3x2.bmp without its file header: its rows follow its colour
  // table.
  TBitmap bitmap;
  bitmap.LoadFromResourceName(u"test_palette");  // names ignore case
  ASSERT_EQ(bitmap.Width(), 3);
  ASSERT_EQ(bitmap.Height(), 2);
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
  EXPECT_EQ(bitmap.PixelColor(0, 0), clRed);
  EXPECT_EQ(bitmap.PixelColor(2, 0), clBlue);
  EXPECT_EQ(bitmap.PixelColor(0, 1), clBlue);
  EXPECT_EQ(bitmap.PixelColor(2, 1), clLime);
  try {
    bitmap.LoadFromResourceName(u"NOPE");
    FAIL() << "no exception";
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource NOPE not found");
  }
  EXPECT_EQ(bitmap.Width(), 3);
}
