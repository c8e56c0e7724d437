#include "fb2/FB2Images.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "imaging/png/PngErrors.h"
#include "platform/base/TempFolder.h"
#include "platform/graphics/JpegImage.h"
#include "platform/graphics/PilPeer.h"

namespace {

std::unique_ptr<TMemoryStream> StreamOf(const std::vector<uint8_t>& bytes) {
  auto stream = std::make_unique<TMemoryStream>();
  if (!bytes.empty()) stream->WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  return stream;  // left at its end: decoding rewinds first
}

std::vector<uint8_t> PeerPicture(const TempFolder& folder, const std::string& format, int32_t width, int32_t height) {
  const std::string path = folder / ("picture." + format);
  EXPECT_TRUE(
      RunPeerScript("fb2/book_image_peer.py", {"write", format, path, std::to_string(width), std::to_string(height)}));
  return ReadFileBytes(path);
}

// A bitmap of one colour.
void Fill(TBitmap& bitmap, TPixelFormat format, int32_t width, int32_t height, TColor color) {
  bitmap.SetPixelFormat(format);
  bitmap.SetSize(width, height);
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x) bitmap.SetPixelColor(x, y, color);
}

}  // namespace

TEST(BookImages, FittedSizesKeepTheAspectRatio) {
  const struct {
    int32_t Width, Height, MaxWidth, MaxHeight;
    bool Enlarge;
    bool Fitted;
    int32_t NewWidth, NewHeight;
  } cases[] = {
      {400, 300, 600, 800, false, false, 0, 0},  // fits: kept
      {400, 300, 600, 800, true, true, 600, 450},
      {1000, 500, 600, 800, false, true, 600, 300},
      {500, 1000, 600, 800, false, true, 400, 800},
      {601, 10, 600, 800, false, true, 600, 10},  // 9.98 rounds to 10
      {4, 3, 2, 100, false, true, 2, 2},          // 1.5 rounds away from zero
      {1, 1000, 600, 800, false, false, 0, 0},    // one pixel wide: never fitted
      {1000, 1, 600, 800, false, false, 0, 0},
      {1000, 500, 0, 800, true, false, 0, 0},  // no box
      {1000, 500, 600, -1, true, false, 0, 0},
      {600, 800, 600, 800, true, true, 600, 800},  // enlarging to the same size still fits
      {2, 60000, 600, 800, false, true, 1, 800},   // the short side keeps one pixel
      {60000, 2, 600, 800, false, true, 600, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Width) + "x" + std::to_string(c.Height) + " in " + std::to_string(c.MaxWidth) + "x" +
                 std::to_string(c.MaxHeight));
    const auto size = FittedImageSize(c.Width, c.Height, c.MaxWidth, c.MaxHeight, c.Enlarge);
    ASSERT_EQ(size.has_value(), c.Fitted);
    if (size) {
      EXPECT_EQ(*size, (TSize{c.NewWidth, c.NewHeight}));
    }
  }
}

TEST(BookImages, FittingResamplesIntoA24BitBitmap) {
  TBitmap bitmap;
  Fill(bitmap, pf8bit, 100, 50, 0x00808080);
  FitImageToBox(bitmap, 30, 30, false);
  EXPECT_EQ(bitmap.Width(), 30);
  EXPECT_EQ(bitmap.Height(), 15);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  for (int32_t y = 0; y < 15; ++y)
    for (int32_t x = 0; x < 30; ++x) ASSERT_EQ(bitmap.PixelColor(x, y), 0x00808080) << x << "," << y;

  Fill(bitmap, pf8bit, 10, 5, 0x00808080);
  FitImageToBox(bitmap, 30, 30, false);  // fits: not touched, not even its format
  EXPECT_EQ(bitmap.Width(), 10);
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
}

TEST(BookImages, ReductionGivesTheDepthsFormatAndLevels) {
  for (int32_t depth : {0, 1, 2, 3, -1}) {
    SCOPED_TRACE(depth);
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(40, 20);
    for (int32_t y = 0; y < 20; ++y)
      for (int32_t x = 0; x < 40; ++x) {
        const uint32_t v = static_cast<uint32_t>(x * 255 / 39);
        bitmap.SetPixelColor(x, y, static_cast<TColor>(v | (v << 8) | (v << 16)));
      }
    ReduceImageDepth(bitmap, depth);
    ASSERT_EQ(bitmap.Width(), 40);
    std::set<TColor> colors;
    for (int32_t y = 0; y < 20; ++y)
      for (int32_t x = 0; x < 40; ++x) colors.insert(bitmap.PixelColor(x, y));
    if (depth == 1) {
      EXPECT_EQ(bitmap.PixelFormat(), pf1bit);
      EXPECT_EQ(colors, (std::set<TColor>{0x000000, 0xFFFFFF}));
    } else if (depth == 2) {
      EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
      EXPECT_EQ(colors, (std::set<TColor>{0x000000, 0x808080, 0xC0C0C0, 0xFFFFFF}));
    } else {
      EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
      EXPECT_EQ(colors.size(), 40u);  // untouched gradient
    }
  }
}

TEST(BookImages, TheSignatureChoosesTheDecoderAndTheContentTypeOnlyWithoutOne) {
  QF_REQUIRE_PIL();
  TempFolder folder;
  const TFB2Limits limits;
  const std::vector<uint8_t> jpeg = PeerPicture(folder, "JPEG", 30, 20);
  const std::vector<uint8_t> png = PeerPicture(folder, "PNG", 12, 7);
  const std::vector<uint8_t> palette = PeerPicture(folder, "PNG-P", 9, 5);
  const std::vector<uint8_t> gif = PeerPicture(folder, "GIF", 6, 4);
  const struct {
    const char* Name;
    const std::vector<uint8_t>& Bytes;
    const char16_t* ContentType;
    int32_t Width, Height;
    TPixelFormat Format;
  } cases[] = {
      {"jpeg", jpeg, u"image/jpeg", 30, 20, pf24bit},
      {"JPEG in capitals", jpeg, u"IMAGE/JPEG", 30, 20, pf24bit},
      {"png", png, u"image/png", 12, 7, pf24bit},
      {"png in capitals", png, u"IMAGE/PNG", 12, 7, pf24bit},
      {"palette png keeps its format", palette, u"image/png", 9, 5, pf4bit},
      // Books that declare the other type, or none: the bytes tell.
      {"png declared as jpeg", png, u"image/jpeg", 12, 7, pf24bit},
      {"palette png declared as jpeg", palette, u"image/jpeg", 9, 5, pf4bit},
      {"jpeg declared as png", jpeg, u"image/png", 30, 20, pf24bit},
      {"png declared as gif", png, u"image/gif", 12, 7, pf24bit},
      {"jpeg without a type", jpeg, u"", 30, 20, pf24bit},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto stream = StreamOf(c.Bytes);
    TBitmap bitmap;
    ASSERT_TRUE(DecodeBookImage(*stream, c.ContentType, limits, bitmap));
    EXPECT_EQ(bitmap.Width(), c.Width);
    EXPECT_EQ(bitmap.Height(), c.Height);
    EXPECT_EQ(bitmap.PixelFormat(), c.Format);
  }
  // Bytes of neither signature under a type of neither kind are refused without touching
  // the bitmap; so is an empty binary.
  const std::vector<uint8_t> none;
  for (const std::vector<uint8_t>* bytes : {&gif, &none})
    for (const char16_t* type : {u"image/gif", u"", u"image/jpg", u"image/jpeg "}) {
      const auto stream = StreamOf(*bytes);
      TBitmap bitmap;
      Fill(bitmap, pf8bit, 3, 3, 0x00112233);
      EXPECT_FALSE(DecodeBookImage(*stream, type, limits, bitmap));
      EXPECT_EQ(bitmap.Width(), 3);
      EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
    }
}

TEST(BookImages, DamagedDataRaisesTheDecodersErrorAndKeepsTheBitmap) {
  QF_REQUIRE_PIL();
  TempFolder folder;
  TFB2Limits limits;
  std::vector<uint8_t> jpeg = PeerPicture(folder, "JPEG", 30, 20);
  jpeg.resize(jpeg.size() / 2);
  std::vector<uint8_t> png = PeerPicture(folder, "PNG", 12, 7);
  png[0] = 'X';
  TBitmap bitmap;
  Fill(bitmap, pf8bit, 3, 3, 0x00112233);
  const TColor before = bitmap.PixelColor(1, 1);

  const auto cutJpeg = StreamOf(jpeg);
  EXPECT_THROW(DecodeBookImage(*cutJpeg, u"image/jpeg", limits, bitmap), EJPEG);
  const auto badPng = StreamOf(png);
  EXPECT_THROW(DecodeBookImage(*badPng, u"image/png", limits, bitmap), EPNGInvalidFileHeader);
  // Without a signature the declared type picks the decoder, which refuses what it is not.
  const auto gifAsJpeg = StreamOf(PeerPicture(folder, "GIF", 6, 4));
  EXPECT_THROW(DecodeBookImage(*gifAsJpeg, u"image/jpeg", limits, bitmap), EJPEG);
  // The book's limits reach the decoders.
  limits.Png.MaxWidthPx = 11;
  const auto widePng = StreamOf(PeerPicture(folder, "PNG", 12, 7));
  EXPECT_THROW(DecodeBookImage(*widePng, u"image/png", limits, bitmap), EPngError);
  limits.Jpeg.MaxWidthPx = 29;
  const auto wideJpeg = StreamOf(PeerPicture(folder, "JPEG", 30, 20));
  EXPECT_THROW(DecodeBookImage(*wideJpeg, u"image/jpeg", limits, bitmap), EJPEG);

  EXPECT_EQ(bitmap.Width(), 3);
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
  EXPECT_EQ(bitmap.PixelColor(1, 1), before);
}
