// Running the LZSS compressor over a byte string, shared by the LZSS tests.
#pragma once

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "wolf/uLZSS32.h"

// Compresses input delivered in read blocks of at most chunkBytes; returns the output
// and, when blocks is given, the sizes of the blocks passed to writeBlock.
inline std::vector<uint8_t> CompressLZSS(TLZSSCompressor& compressor, const std::vector<uint8_t>& input,
                                         std::vector<int32_t>* blocks = nullptr, size_t chunkBytes = LZSSBlockBytes) {
  size_t taken = 0;
  std::vector<uint8_t> out;
  compressor.LZSSCompress(
      [&](uint8_t* buffer, int32_t availBytes) {
        const size_t n = std::min({input.size() - taken, static_cast<size_t>(availBytes), chunkBytes});
        std::copy_n(input.begin() + static_cast<std::ptrdiff_t>(taken), n, buffer);
        taken += n;
        return static_cast<int32_t>(n);
      },
      [&](const uint8_t* buffer, int32_t countBytes) {
        out.insert(out.end(), buffer, buffer + countBytes);
        if (blocks) blocks->push_back(countBytes);
      });
  return out;
}

// A file of tests/data/wolf/.
inline std::vector<uint8_t> ReadLZSSFixture(const std::string& name) {
  std::ifstream file(std::string(QF_TEST_DATA_DIR) + "/wolf/" + name, std::ios::binary);
  EXPECT_TRUE(file) << name;
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
