// Runs peer scripts under Debian's python3, which has PIL (python3-pil), and exchanges
// raw images with them through files.
//
// Raw image file: width and height as 32-bit little-endian numbers, then the pixel bytes
// row by row from the top (the script's meaning: RGB triples, indices, ...).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

inline constexpr char kPeerPython[] = "/usr/bin/python3";

inline bool PilAvailable() {
  static const bool available =
      std::system((std::string(kPeerPython) + " -c 'import PIL' >/dev/null 2>&1").c_str()) == 0;
  return available;
}

// A missing peer fails the test: the check must never pass by not running.
#define QF_REQUIRE_PIL() \
  if (!PilAvailable())   \
  GTEST_FAIL() << kPeerPython << " cannot import PIL: install python3-pil (scripts/setup.sh installs it)"

// Runs a script of the test tree (path relative to tests/) with arguments; true when it
// exits with 0.
inline bool RunPeerScript(const std::string& script, const std::vector<std::string>& args) {
  std::string command = std::string(kPeerPython) + " '" + QF_TEST_SOURCE_DIR + "/" + script + "'";
  for (const auto& arg : args) command += " '" + arg + "'";
  return std::system(command.c_str()) == 0;
}

struct TRawImage {
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<uint8_t> Bytes;
};

inline void WriteRawImage(const std::string& path, const TRawImage& image) {
  std::ofstream out(path, std::ios::binary);
  for (int32_t v : {image.Width, image.Height})
    for (int shift = 0; shift < 32; shift += 8) out.put(static_cast<char>((static_cast<uint32_t>(v) >> shift) & 0xFF));
  out.write(reinterpret_cast<const char*>(image.Bytes.data()), static_cast<std::streamsize>(image.Bytes.size()));
}

inline TRawImage ReadRawImage(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<uint8_t> all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  TRawImage image;
  if (all.size() < 8) return image;
  auto get = [&](size_t at) {
    return static_cast<int32_t>(all[at] | (all[at + 1] << 8) | (all[at + 2] << 16) |
                                (static_cast<uint32_t>(all[at + 3]) << 24));
  };
  image.Width = get(0);
  image.Height = get(4);
  image.Bytes.assign(all.begin() + 8, all.end());
  return image;
}

inline std::vector<uint8_t> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline void WriteFileBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}
