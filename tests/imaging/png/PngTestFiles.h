// PNG files put together chunk by chunk for the tests, with zlib (the peer) for the CRCs
// and the compressed image data; and loading and saving through streams.
#pragma once

#include <zlib.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "imaging/png/PngCodec.h"
#include "platform/base/Streams.h"

using TBytes = std::vector<uint8_t>;

inline void AppendBE32(TBytes& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// Length, type, data and the CRC over type and data (one wrong bit with breakCrc).
inline TBytes ChunkBytes(std::string_view type, const TBytes& data, bool breakCrc = false) {
  TBytes out;
  AppendBE32(out, static_cast<uint32_t>(data.size()));
  out.insert(out.end(), type.begin(), type.end());
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0, reinterpret_cast<const Bytef*>(type.data()), 4);
  if (!data.empty()) crc = crc32(crc, data.data(), static_cast<uInt>(data.size()));  // null data restarts
  AppendBE32(out, static_cast<uint32_t>(crc) ^ (breakCrc ? 1u : 0u));
  return out;
}

inline TBytes IhdrData(uint32_t width, uint32_t height, uint8_t depth, uint8_t colorType, uint8_t interlace = 0) {
  TBytes out;
  AppendBE32(out, width);
  AppendBE32(out, height);
  out.insert(out.end(), {depth, colorType, 0 /* deflate */, 0 /* filters */, interlace});
  return out;
}

inline TBytes Deflated(const TBytes& raw) {
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  TBytes out(size);
  compress2(out.data(), &size, raw.data(), static_cast<uLong>(raw.size()), 9);
  out.resize(size);
  return out;
}

// The signature followed by the chunks given.
inline TBytes PngFile(std::initializer_list<TBytes> chunks) {
  TBytes out{137, 80, 78, 71, 13, 10, 26, 10};
  for (const TBytes& chunk : chunks) out.insert(out.end(), chunk.begin(), chunk.end());
  return out;
}

inline void LoadPng(TPNGObject& image, const TBytes& file) {
  TMemoryStream stream;
  if (!file.empty()) stream.WriteBuffer(file.data(), static_cast<int32_t>(file.size()));
  stream.SetPosition(0);
  image.LoadFromStream(stream);
}

inline TBytes SavePng(const TPNGObject& image) {
  TMemoryStream stream;
  image.SaveToStream(stream);
  const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
  return TBytes(bytes, bytes + stream.Size());
}

// A small gray 8-bit image (rows filtered None) with one IDAT chunk.
inline TBytes SmallGrayPng(uint32_t width, uint32_t height, uint8_t seed = 0) {
  TBytes raw;
  for (uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);  // filter None
    for (uint32_t x = 0; x < width; ++x) raw.push_back(static_cast<uint8_t>(seed + x * 16 + y));
  }
  return PngFile(
      {ChunkBytes("IHDR", IhdrData(width, height, 8, 0)), ChunkBytes("IDAT", Deflated(raw)), ChunkBytes("IEND", {})});
}
