#include "wolf/uWolfImages.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "wolf/uLZSS32.h"

namespace {

enum class TPacker { Mono, Nibbles, Rgb };

// Packs a bitmap's rows one at a time and hands them to the compressor in pieces of any
// size; state: the next row to pack and the unread rest of the packed current row.
class TRowSource {
public:
  TRowSource(const TBitmap& bitmap, TPacker packer, int32_t bitCount)
      : FBitmap(bitmap),
        FPacker(packer),
        FRow(static_cast<size_t>((int64_t{bitmap.Width()} * bitCount + 7) / 8)),
        FRowOffset(FRow.size()) {}

  int32_t Read(uint8_t* buffer, int32_t availBytes) {
    int32_t produced = 0;
    while (produced < availBytes) {
      if (FRowOffset == FRow.size()) {
        if (FNextRow >= FBitmap.Height() || FRow.empty()) break;
        PackRow(FBitmap.ScanLine(FNextRow++));
        FRowOffset = 0;
      }
      const size_t n = std::min(FRow.size() - FRowOffset, static_cast<size_t>(availBytes - produced));
      std::memcpy(buffer + produced, FRow.data() + FRowOffset, n);
      FRowOffset += n;
      produced += static_cast<int32_t>(n);
    }
    return produced;
  }

private:
  void PackRow(const uint8_t* source) {
    uint8_t* out = FRow.data();
    const size_t outBytes = FRow.size();
    switch (FPacker) {
      case TPacker::Mono:
        for (size_t i = 0; i < outBytes; ++i) out[i] = static_cast<uint8_t>(~source[i]);
        break;
      case TPacker::Nibbles: {
        // Each source byte holds two pixels; a level is the high two bits of a nibble.
        const size_t sourceBytes = static_cast<size_t>(FBitmap.Width() + 1) / 2;
        for (size_t i = 0; i < outBytes; ++i) {
          const uint8_t first = source[2 * i];
          const uint8_t second = 2 * i + 1 < sourceBytes ? source[2 * i + 1] : 0;
          out[i] =
              static_cast<uint8_t>((first & 0xC0) | (first & 0x0C) << 2 | (second & 0xC0) >> 4 | (second & 0x0C) >> 2);
        }
        break;
      }
      case TPacker::Rgb: {
        const auto width = static_cast<size_t>(FBitmap.Width());
        for (size_t i = 0; i < outBytes; ++i) {
          uint8_t packed = 0;
          for (size_t k = 0; k < 4; ++k) {
            const size_t x = 4 * i + k;
            if (x < width) packed = static_cast<uint8_t>(packed | QuantizeGray(source[3 * x]) << (6 - 2 * k));
          }
          out[i] = packed;
        }
        break;
      }
    }
  }

  const TBitmap& FBitmap;
  TPacker FPacker;
  std::vector<uint8_t> FRow;
  size_t FRowOffset;  // == FRow.size(): the next row is due
  int32_t FNextRow = 0;
};

bool SelectPacker(const TBitmap& bitmap, int32_t bitCount, TPacker& packer) {
  if (bitCount == 1 && bitmap.PixelFormat() == pf1bit) {
    packer = TPacker::Mono;
    return true;
  }
  if (bitCount == 2 && bitmap.PixelFormat() == pf4bit) {
    packer = TPacker::Nibbles;
    return true;
  }
  if (bitCount == 2 && bitmap.PixelFormat() == pf24bit) {
    packer = TPacker::Rgb;
    return true;
  }
  return false;
}

}  // namespace

uint8_t QuantizeGray(uint8_t value) {
  if (value > 224) return 3;
  if (value > 160) return 2;
  if (value > 64) return 1;
  return 0;
}

int32_t EncodeWolfImage(TStream& stream, const TBitmap& bitmap, int32_t bitCount, TLZSSCompressor& compressor) {
  TPacker packer;
  if (!SelectPacker(bitmap, bitCount, packer)) return 0;
  TRowSource rows(bitmap, packer, bitCount);
  int64_t written = 0;
  compressor.LZSSCompress([&](uint8_t* buffer, int32_t availBytes) { return rows.Read(buffer, availBytes); },
                          [&](const uint8_t* buffer, int32_t countBytes) {
                            stream.WriteBuffer(buffer, countBytes);
                            written += countBytes;
                          });
  const uint8_t end = 0;
  stream.WriteBuffer(&end, 1);
  return static_cast<int32_t>(written + 1);
}

int32_t EncodeWolfImage(TStream& stream, const TBitmap& bitmap, int32_t bitCount) {
  TLZSSCompressor compressor;
  return EncodeWolfImage(stream, bitmap, bitCount, compressor);
}
