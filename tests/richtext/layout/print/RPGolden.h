// Expected outputs kept as files under tests/data/richtext/pages. A test compares with
// its file; only scripts/regenerate-page-goldens.sh (which sets QF_REGENERATE_GOLDEN)
// writes them, and every file it writes must be checked by hand before it is committed.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "imaging/png/PngCodec.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"

inline std::string GoldenPath(const std::string& name) { return QF_TEST_DATA_DIR "/richtext/pages/" + name; }

inline bool RegeneratingGoldens() { return std::getenv("QF_REGENERATE_GOLDEN") != nullptr; }

inline std::string ReadGolden(const std::string& name) {
  std::ifstream in(GoldenPath(name), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteGolden(const std::string& name, const std::string& content) {
  std::ofstream(GoldenPath(name), std::ios::binary) << content;
}

// A painted page compared pixel for pixel with the PNG file name (written from the page
// first when regenerating).
inline void ExpectMatchesGoldenImage(const TBitmap& page, const std::string& name) {
  if (RegeneratingGoldens()) {
    TPNGObject png;
    png.Assign(page);
    TMemoryStream stream;
    png.SaveToStream(stream);
    stream.SaveToFile(GoldenPath(name));
  }
  TMemoryStream stream;
  stream.LoadFromFile(GoldenPath(name));
  TPNGObject expected;
  expected.LoadFromStream(stream);
  ASSERT_EQ(expected.Width(), page.Width());
  ASSERT_EQ(expected.Height(), page.Height());
  int32_t differing = 0;
  for (int32_t y = 0; y < page.Height(); ++y)
    for (int32_t x = 0; x < page.Width(); ++x)
      if (expected.GetPixel(x, y) != page.PixelColor(x, y)) ++differing;
  EXPECT_EQ(differing, 0) << name;
}
