// Encoding: bitmaps built into images, the filter chosen for each row, the size of the
// IDAT chunks; every written file is read back by libpng.
#include <gtest/gtest.h>
#include <zlib.h>

#include "LibpngPeer.h"
#include "PngTestFiles.h"
#include "imaging/png/PngRowFilters.h"

namespace {

struct TChunkView {
  std::string Type;
  TBytes Data;
};

// The chunks of a file as a test-side reader sees them.
std::vector<TChunkView> ChunksOf(const TBytes& file) {
  std::vector<TChunkView> chunks;
  for (size_t at = 8; at + 12 <= file.size();) {
    const uint32_t length = LoadBE32(file.data() + at);
    chunks.push_back(
        {std::string(file.begin() + static_cast<ptrdiff_t>(at) + 4, file.begin() + static_cast<ptrdiff_t>(at) + 8),
         TBytes(file.begin() + static_cast<ptrdiff_t>(at) + 8,
                file.begin() + static_cast<ptrdiff_t>(at + 8 + length))});
    at += 12 + length;
  }
  return chunks;
}

// The inflated image data of a file: filter bytes and rows.
TBytes InflatedImageData(const TBytes& file) {
  TBytes packed;
  for (const auto& chunk : ChunksOf(file))
    if (chunk.Type == "IDAT") packed.insert(packed.end(), chunk.Data.begin(), chunk.Data.end());
  TBytes out(1 << 24);
  uLongf size = static_cast<uLongf>(out.size());
  EXPECT_EQ(uncompress(out.data(), &size, packed.data(), static_cast<uLong>(packed.size())), Z_OK);
  out.resize(size);
  return out;
}

std::unique_ptr<TBitmap> NoisyBitmap(TPixelFormat format, int32_t width, int32_t height) {
  auto made = std::make_unique<TBitmap>();
  TBitmap& bitmap = *made;
  bitmap.SetPixelFormat(format);
  bitmap.SetSize(width, height);
  uint32_t seed = 5;
  for (int32_t y = 0; y < height; ++y)
    for (int32_t x = 0; x < bitmap.BytesPerScanLine(); ++x) {
      seed = seed * 1103515245u + 12345u;
      // Smooth with noise, so the filters score differently.
      bitmap.ScanLine(y)[x] = static_cast<uint8_t>(x * 3 + y * 2 + ((seed >> 16) & 7));
    }
  return made;
}

void ExpectLibpngSeesTheBitmap(const TBytes& file, const TBitmap& bitmap) {
  const TPeerRgba peer = LibpngReadRgba(file);
  ASSERT_EQ(peer.Error, "");
  ASSERT_EQ(peer.Width, static_cast<uint32_t>(bitmap.Width()));
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    for (int32_t x = 0; x < bitmap.Width(); ++x) {
      const uint8_t* p = peer.Pixels.data() + (static_cast<size_t>(y) * peer.Width + static_cast<size_t>(x)) * 4;
      ASSERT_EQ(static_cast<TColor>(RGB(p[0], p[1], p[2])), bitmap.PixelColor(x, y)) << x << "," << y;
    }
}

}  // namespace

TEST(PngEncode, BitmapsBecomeRgbOrPaletteImages) {
  const struct {
    TPixelFormat Format;
    int ColorType, BitDepth;
    size_t PaletteEntries;
  } cases[] = {{pf24bit, 2, 8, 0}, {pf32bit, 2, 8, 0}, {pf8bit, 3, 8, 256}, {pf4bit, 3, 4, 16}, {pf1bit, 3, 1, 2}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Format);
    const auto made = NoisyBitmap(c.Format, 37, 23);
    const TBitmap& bitmap = *made;
    TPNGObject image;
    image.Assign(bitmap);
    const TBytes file = SavePng(image);
    const TPeerRaw raw = LibpngReadRaw(file);
    ASSERT_EQ(raw.Error, "");
    EXPECT_EQ(raw.ColorType, c.ColorType);
    EXPECT_EQ(raw.BitDepth, c.BitDepth);
    const auto chunks = ChunksOf(file);
    ASSERT_GE(chunks.size(), 3u);
    EXPECT_EQ(chunks.front().Type, "IHDR");
    EXPECT_EQ(chunks.back().Type, "IEND");
    if (c.PaletteEntries != 0) {
      EXPECT_EQ(chunks[1].Type, "PLTE");
      EXPECT_EQ(chunks[1].Data.size(), 3 * c.PaletteEntries);
    }
    ExpectLibpngSeesTheBitmap(file, bitmap);
  }
}

TEST(PngEncode, DefaultSettingsFilterEveryRowSubInChunksOf65535Bytes) {
  const auto made = NoisyBitmap(pf24bit, 300, 200);
  TBitmap& bitmap = *made;
  uint32_t seed = 99;
  for (int32_t y = 0; y < 200; ++y)  // noise that deflate cannot shrink below the chunk size
    for (int32_t x = 0; x < bitmap.BytesPerScanLine(); ++x) {
      seed = seed * 1103515245u + 12345u;
      bitmap.ScanLine(y)[x] = static_cast<uint8_t>(seed >> 16);
    }
  TPNGObject image;
  image.SetIdatLimit(1000);
  EXPECT_EQ(image.IdatLimit(), 65535u);
  image.Assign(bitmap);
  const TBytes file = SavePng(image);
  std::vector<size_t> sizes;
  for (const auto& chunk : ChunksOf(file))
    if (chunk.Type == "IDAT") sizes.push_back(chunk.Data.size());
  ASSERT_GE(sizes.size(), 2u);
  for (size_t i = 0; i + 1 < sizes.size(); ++i) EXPECT_EQ(sizes[i], 65535u);
  EXPECT_LE(sizes.back(), 65535u);
  const TBytes data = InflatedImageData(file);
  ASSERT_EQ(data.size(), 200u * (1 + 900));
  for (size_t row = 0; row < 200; ++row) ASSERT_EQ(data[row * 901], PngFilterSub) << row;
  ExpectLibpngSeesTheBitmap(file, bitmap);
}

TEST(PngEncode, ChoosesTheFilterWithTheMostRepeatsAndReadsBackExactly) {
  const auto made = NoisyBitmap(pf24bit, 41, 29);
  const TBitmap& bitmap = *made;
  const TFilterSet sets[] = {
      0, pfNone, pfUp, pfAverage, pfPaeth, pfSub | pfUp, pfNone | pfSub | pfUp | pfAverage | pfPaeth};
  for (TFilterSet set : sets)
    for (uint8_t interlace : {0, 1}) {
      SCOPED_TRACE(testing::Message() << int(set) << " interlace " << int(interlace));
      TPNGObject image;
      image.Assign(bitmap);
      image.RowFilterSet = set;
      image.InterlaceMode = interlace;
      const TBytes file = SavePng(image);
      EXPECT_EQ(LibpngReadRaw(file).Interlace, interlace);
      ExpectLibpngSeesTheBitmap(file, bitmap);
      if (interlace) continue;
      // Each row's filter is the one the rule picks, recomputed here from the raw rows.
      const TBytes data = InflatedImageData(file);
      const size_t rowBytes = 41 * 3;
      std::vector<uint8_t> previous(rowBytes, 0), filtered(rowBytes);
      for (size_t y = 0; y < 29; ++y) {
        std::vector<uint8_t> raw(rowBytes);
        for (size_t x = 0; x < 41; ++x) {
          const TColor c = bitmap.PixelColor(static_cast<int32_t>(x), static_cast<int32_t>(y));
          raw[3 * x] = GetRValue(static_cast<COLORREF>(c));
          raw[3 * x + 1] = GetGValue(static_cast<COLORREF>(c));
          raw[3 * x + 2] = GetBValue(static_cast<COLORREF>(c));
        }
        int expected = 0, best = 0, members = __builtin_popcount(set & ~pfNone);
        if (members == 1 && !(set & pfNone)) expected = __builtin_ctz(set);
        if (members >= 1 && (set & (set - 1)) != 0) {
          for (int f = 0; f < 5; ++f) {
            if (!(set & (1 << f))) continue;
            for (size_t i = 0; i < rowBytes; ++i) {
              const int a = i >= 3 ? raw[i - 3] : 0, b = previous[i], c = i >= 3 ? previous[i - 3] : 0;
              const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
              const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
              const int predicted[] = {0, a, b, (a + b) / 2, paeth};
              filtered[i] = static_cast<uint8_t>(raw[i] - predicted[f]);
            }
            int score = 0;
            for (size_t j = 2; j < rowBytes; ++j)
              score += filtered[j] == filtered[j - 1] || filtered[j] == filtered[j - 2];
            if (score > best) {
              best = score;
              expected = f;
            }
          }
        }
        ASSERT_EQ(data[y * (rowBytes + 1)], expected) << "row " << y;
        previous = raw;
      }
    }
}

TEST(PngEncode, TransparentBitmapsGetAKey) {
  const auto made = NoisyBitmap(pf24bit, 6, 4);
  TBitmap& bitmap = *made;
  bitmap.SetPixelColor(2, 1, static_cast<TColor>(RGB(1, 2, 3)));
  bitmap.SetTransparentColor(static_cast<TColor>(RGB(1, 2, 3)));
  bitmap.SetTransparent(true);
  TPNGObject image;
  image.Assign(bitmap);
  const auto chunks = ChunksOf(SavePng(image));
  ASSERT_EQ(chunks[1].Type, "tRNS");
  EXPECT_EQ(chunks[1].Data, (TBytes{0, 1, 0, 2, 0, 3}));
  const TPeerRgba peer = LibpngReadRgba(SavePng(image));
  EXPECT_EQ(peer.Pixels[(1 * 6 + 2) * 4 + 3], 0);
  EXPECT_EQ(peer.Pixels[3], 255);

  TBitmap indexed;
  indexed.SetPixelFormat(pf4bit);
  indexed.SetSize(3, 1);
  indexed.SetPixelColor(1, 0, clRed);
  indexed.SetTransparentColor(clRed);
  indexed.SetTransparent(true);
  TPNGObject palette;
  palette.Assign(indexed);
  EXPECT_EQ(palette.TransparencyKind(), ptmBit);
  EXPECT_EQ(palette.TransparentKey(), clRed);
  EXPECT_EQ(palette.PixelAlpha(1, 0), 0);
  EXPECT_EQ(palette.PixelAlpha(0, 0), 255);
  EXPECT_EQ(LibpngReadRgba(SavePng(palette)).Pixels[4 + 3], 0);
}

TEST(PngEncode, CompressedTextIsWrittenDeflated) {
  TPNGObject image;
  LoadPng(image, SmallGrayPng(3, 3));
  auto text = std::make_unique<TChunkzTXt>(image);
  text->Keyword = "Comment";
  image.AddChunk(std::move(text));
  const auto chunks = ChunksOf(SavePng(image));
  ASSERT_EQ(chunks.back().Type, "zTXt");
  EXPECT_EQ(std::string(chunks.back().Data.begin(), chunks.back().Data.begin() + 8), std::string("Comment\0", 8));
  EXPECT_EQ(chunks.back().Data[8], 0);  // compression method: deflate
  TBytes inflated(16);
  uLongf size = 16;
  ASSERT_EQ(uncompress(inflated.data(), &size, chunks.back().Data.data() + 9,
                       static_cast<uLong>(chunks.back().Data.size() - 9)),
            Z_OK);
  // An empty text is written as one blank.
  EXPECT_EQ(std::string(inflated.begin(), inflated.begin() + static_cast<ptrdiff_t>(size)), " ");
}
