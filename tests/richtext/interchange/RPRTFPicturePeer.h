// Pictures made and decoded by PIL for the RTF reader's tests. A missing PIL fails the
// test that asks, with the package to install.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/graphics/Bitmap.h"

inline constexpr char kRtfPeerPython[] = "/usr/bin/python3";

// Runs rtf_picture_peer.py; a failure (PIL missing included) is a test failure.
inline bool RunPicturePeer(const std::vector<std::string>& args) {
  std::string command =
      std::string(kRtfPeerPython) + " '" QF_TEST_SOURCE_DIR "/richtext/interchange/rtf_picture_peer.py'";
  for (const auto& arg : args) command += " '" + arg + "'";
  const int status = std::system((command + " 2>&1").c_str());
  if (status != 0)
    ADD_FAILURE() << "the picture peer failed: " << command << " (it needs python3-pil; run scripts/setup.sh)";
  return status == 0;
}

inline std::vector<uint8_t> ReadBytesOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteBytesTo(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

struct TRgbImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Rgb;  // rows from the top
};

// The pixels of an image file as PIL decodes them.
inline TRgbImage PeerPixels(const std::string& imagePath, const std::string& scratch) {
  TRgbImage image;
  const std::string raw = scratch + ".raw";
  if (!RunPicturePeer({"pixels", imagePath, raw})) return image;
  const std::vector<uint8_t> all = ReadBytesOf(raw);
  if (all.size() < 8) return image;
  auto get = [&](size_t at) {
    return static_cast<int32_t>(all[at] | (all[at + 1] << 8) | (all[at + 2] << 16) | (uint32_t{all[at + 3]} << 24));
  };
  image.Width = get(0);
  image.Height = get(4);
  image.Rgb.assign(all.begin() + 8, all.end());
  return image;
}

// The pixels of a bitmap as RGB rows from the top.
inline TRgbImage BitmapPixels(const TBitmap& bitmap) {
  TRgbImage image;
  image.Width = bitmap.Width();
  image.Height = bitmap.Height();
  for (int32_t y = 0; y < image.Height; ++y)
    for (int32_t x = 0; x < image.Width; ++x) {
      const TColor c = bitmap.PixelColor(x, y);
      image.Rgb.push_back(static_cast<uint8_t>(c & 0xFF));
      image.Rgb.push_back(static_cast<uint8_t>((c >> 8) & 0xFF));
      image.Rgb.push_back(static_cast<uint8_t>((c >> 16) & 0xFF));
    }
  return image;
}

// The largest difference of one channel; -1 when the sizes differ.
inline int MaxChannelDifference(const TRgbImage& a, const TRgbImage& b) {
  if (a.Width != b.Width || a.Height != b.Height || a.Rgb.size() != b.Rgb.size()) return -1;
  int worst = 0;
  for (size_t i = 0; i < a.Rgb.size(); ++i) worst = std::max(worst, std::abs(int{a.Rgb[i]} - int{b.Rgb[i]}));
  return worst;
}

inline std::string HexOf(const std::vector<uint8_t>& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (size_t i = 0; i < bytes.size(); ++i) {
    hex += digits[bytes[i] >> 4];
    hex += digits[bytes[i] & 15];
    if (i % 64 == 63) hex += "\r\n";
  }
  return hex;
}
