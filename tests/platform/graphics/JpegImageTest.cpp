#include "platform/graphics/JpegImage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/base/Streams.h"
#include "platform/base/TempFolder.h"
#include "platform/graphics/PilPeer.h"

namespace {

// A picture with smooth gradients, hard edges and a little deterministic noise, so that
// every stage of the decoder (upsampling, the inverse transform, clamping) shows.
TRawImage TestPicture(int32_t width, int32_t height, int32_t channels) {
  TRawImage image{width, height, {}};
  uint32_t noise = 12345;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < width; ++x)
      for (int32_t c = 0; c < channels; ++c) {
        noise = noise * 1103515245u + 12345u;
        const int32_t edge = ((x / 5 + y / 3) % 2) * 90;
        const int32_t value =
            (x * 255 / (width > 1 ? width - 1 : 1) + y * 7 * (c + 1) + edge + int32_t(noise >> 28)) % 256;
        image.Bytes.push_back(static_cast<uint8_t>(value));
      }
  return image;
}

struct TJpegCase {
  const char* Name;
  const char* Mode;  // "RGB" or "L"
  int32_t Width, Height;
  int32_t Quality, Subsampling;
  bool Progressive;
};

// Writes the picture as a JPEG file through the peer and answers its bytes.
std::vector<uint8_t> PeerJpeg(const TempFolder& folder, const TJpegCase& c) {
  WriteRawImage(folder / "in.raw", TestPicture(c.Width, c.Height, std::string(c.Mode) == "L" ? 1 : 3));
  EXPECT_TRUE(RunPeerScript("platform/graphics/jpeg_peer.py",
                            {"encode", c.Mode, folder / "in.raw", folder / "in.jpg", std::to_string(c.Quality),
                             std::to_string(c.Subsampling), c.Progressive ? "1" : "0"}));
  return ReadFileBytes(folder / "in.jpg");
}

void LoadBytes(TJPEGImage& image, const std::vector<uint8_t>& bytes) {
  TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  stream.SetPosition(0);
  image.LoadFromStream(stream);
}

std::string LoadError(TJPEGImage& image, const std::vector<uint8_t>& bytes) {
  try {
    LoadBytes(image, bytes);
  } catch (const EJPEG& e) {
    return e.what();
  }
  return "(loaded)";
}

}  // namespace

TEST(JpegImage, DecodesEveryLayoutToThePeersPixels) {
  QF_REQUIRE_PIL();
  const TJpegCase cases[] = {
      {"colour 4:2:0", "RGB", 37, 23, 90, 2, false},
      {"colour 4:2:2", "RGB", 40, 17, 75, 1, false},
      {"colour 4:4:4 best quality", "RGB", 16, 16, 100, 0, false},
      {"colour progressive", "RGB", 33, 50, 85, 2, true},
      {"gray", "L", 21, 13, 90, 0, false},
      {"gray progressive", "L", 9, 30, 60, 0, true},
      {"one pixel", "RGB", 1, 1, 90, 2, false},
      {"one row", "RGB", 70, 1, 90, 2, false},
      {"one column", "L", 1, 45, 90, 0, false},
  };
  for (const TJpegCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TempFolder folder;
    const std::vector<uint8_t> bytes = PeerJpeg(folder, c);
    ASSERT_TRUE(RunPeerScript("platform/graphics/jpeg_peer.py", {"decode", folder / "in.jpg", folder / "out.raw"}));
    const TRawImage expected = ReadRawImage(folder / "out.raw");

    TJPEGImage image;
    LoadBytes(image, bytes);
    ASSERT_EQ(image.Width(), expected.Width);
    ASSERT_EQ(image.Height(), expected.Height);
    const TBitmap& bitmap = image.Bitmap();
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    int32_t differing = 0;
    for (int32_t y = 0; y < bitmap.Height(); ++y)
      for (int32_t x = 0; x < bitmap.Width(); ++x) {
        const uint8_t* ours = bitmap.ScanLine(y) + x * 3;  // blue, green, red
        const uint8_t* peer = expected.Bytes.data() + (static_cast<size_t>(y) * expected.Width + x) * 3;
        if (ours[2] != peer[0] || ours[1] != peer[1] || ours[0] != peer[2]) ++differing;
      }
    EXPECT_EQ(differing, 0);
  }
}

TEST(JpegImage, SavesTheBytesItLoadedAndCopiesIntoBitmaps) {
  QF_REQUIRE_PIL();
  TempFolder folder;
  const std::vector<uint8_t> bytes = PeerJpeg(folder, {"", "RGB", 12, 8, 90, 2, false});
  TJPEGImage image;
  LoadBytes(image, bytes);

  TMemoryStream saved;
  image.SaveToStream(saved);
  ASSERT_EQ(saved.Size(), static_cast<int64_t>(bytes.size()));
  EXPECT_EQ(std::memcmp(saved.Memory(), bytes.data(), bytes.size()), 0);

  TBitmap bitmap;
  bitmap.Assign(image);
  ASSERT_EQ(bitmap.Width(), 12);
  ASSERT_EQ(bitmap.Height(), 8);
  EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
  for (int32_t y = 0; y < 8; ++y) EXPECT_EQ(std::memcmp(bitmap.ScanLine(y), image.Bitmap().ScanLine(y), 36), 0);

  TJPEGImage copy;
  copy.Assign(image);
  EXPECT_EQ(copy.Width(), 12);
  EXPECT_TRUE(std::equal(copy.Data().begin(), copy.Data().end(), bytes.begin(), bytes.end()));
  copy.Clear();
  EXPECT_TRUE(copy.Empty());
  EXPECT_FALSE(image.Empty());  // the copy owned its own pixels
}

TEST(JpegImage, IsAGraphicClassByNameOfFixedSize) {
  RegisterGraphicClass(&TJPEGImage::ClassInfo);
  ASSERT_EQ(FindGraphicClass("TJPEGImage"), &TJPEGImage::ClassInfo);
  const std::unique_ptr<TGraphic> made = TJPEGImage::ClassInfo.Create();
  EXPECT_NE(dynamic_cast<TJPEGImage*>(made.get()), nullptr);
  EXPECT_TRUE(made->Empty());
  try {
    made->SetWidth(10);
    FAIL() << "a JPEG image was resized";
  } catch (const EInvalidGraphicOperation& e) {
    EXPECT_STREQ(e.what(), "Cannot change the size of a JPEG image");
  }
  TBitmap bitmap;
  try {
    made->Assign(bitmap);
    FAIL() << "a bitmap was taken as a JPEG image";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "Cannot assign a TBitmap to a TJPEGImage");
  }
}

TEST(JpegImage, RefusesDamagedFilesWithLibjpegsMessageAndKeepsTheImage) {
  QF_REQUIRE_PIL();
  TempFolder folder;
  const std::vector<uint8_t> good = PeerJpeg(folder, {"", "RGB", 20, 20, 90, 2, false});
  std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
  WriteFileBytes(folder / "cut.jpg", cut);
  // The peer refuses the same cut file.
  EXPECT_FALSE(RunPeerScript("platform/graphics/jpeg_peer.py", {"decode", folder / "cut.jpg", folder / "cut.raw"}));

  // The frame header (SOF0: FF C0, length, then the sample precision) says 12 bits.
  std::vector<uint8_t> twelveBits = good;
  for (size_t i = 0; i + 4 < twelveBits.size(); ++i)
    if (twelveBits[i] == 0xFF && twelveBits[i + 1] == 0xC0) {
      twelveBits[i + 4] = 12;
      break;
    }
  // Four-channel images have no conversion to the bitmap's colours.
  const std::vector<uint8_t> cmyk = PeerJpeg(folder, {"", "CMYK", 8, 8, 90, 0, false});
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
    const char* Message;
  } cases[] = {
      {"CMYK", cmyk, "Unsupported color conversion request"},
      {"no bytes", {}, "Empty input file"},
      {"a bitmap file", {'B', 'M', 0, 0, 0, 0}, "Not a JPEG file: starts with 0x42 0x4d"},
      {"SOI alone", {0xFF, 0xD8}, "Premature end of JPEG file"},
      {"cut in half", cut, "Premature end of JPEG file"},
      {"12-bit samples", twelveBits, "Unsupported JPEG data precision 12"},
  };
  TJPEGImage image;
  LoadBytes(image, good);
  TBitmap before;
  before.Assign(image.Bitmap());
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(LoadError(image, c.Bytes), c.Message);
    ASSERT_EQ(image.Width(), 20);
    EXPECT_EQ(std::memcmp(image.Bitmap().ScanLine(7), before.ScanLine(7), 60), 0);
    EXPECT_EQ(image.Data().size(), good.size());
  }
}

TEST(JpegImage, LimitsRefuseLargeImagesFilesAndEndlessScans) {
  QF_REQUIRE_PIL();
  TempFolder folder;
  const std::vector<uint8_t> progressive = PeerJpeg(folder, {"", "RGB", 64, 48, 90, 2, true});
  struct TLimitCase {
    const char* Name;
    void (*Narrow)(TJpegLimits&);
    const char* Message;
  };
  const TLimitCase cases[] = {
      {"width", [](TJpegLimits& l) { l.MaxWidthPx = 63; }, "JPEG image is too large"},
      {"height", [](TJpegLimits& l) { l.MaxHeightPx = 47; }, "JPEG image is too large"},
      {"raster bytes", [](TJpegLimits& l) { l.MaxImageBytes = 64 * 3 * 48 - 1; }, "JPEG image is too large"},
      {"file bytes", [](TJpegLimits& l) { l.MaxFileBytes = 100; }, "JPEG file is too large"},
      {"scans", [](TJpegLimits& l) { l.MaxScans = 2; }, "JPEG image has too many scans"},
  };
  for (const TLimitCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TJPEGImage image;
    c.Narrow(image.Limits);
    EXPECT_EQ(LoadError(image, progressive), c.Message);
    EXPECT_TRUE(image.Empty());
  }
  TJPEGImage exact;
  exact.Limits.MaxWidthPx = 64;
  exact.Limits.MaxHeightPx = 48;
  exact.Limits.MaxImageBytes = 64 * 3 * 48;
  LoadBytes(exact, progressive);
  EXPECT_EQ(exact.Width(), 64);
}
