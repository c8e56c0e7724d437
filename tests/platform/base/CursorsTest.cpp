// Cursor files and the screen's table of cursors.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/base/Cursors.h"
#include "platform/base/LittleEndian.h"

namespace {

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A cursor file of one 8 x 8 image: black top row, white second row, the rest showing
// the screen through; the fields can be spoilt afterwards.
std::vector<uint8_t> SmallCursorFile() {
  std::vector<uint8_t> bytes;
  AppendLE16(bytes, 0);                                       // reserved
  AppendLE16(bytes, 2);                                       // type: cursor
  AppendLE16(bytes, 1);                                       // one image
  bytes.insert(bytes.end(), {8, 8, 2, 0});                    // width, height, colours, reserved
  AppendLE16(bytes, 3);                                       // hot spot x
  AppendLE16(bytes, 1);                                       // hot spot y
  AppendLE32(bytes, 40 + 8 + 2 * 8 * 4);                      // image bytes
  AppendLE32(bytes, 6 + 16);                                  // image offset
  AppendLE32(bytes, 40);                                      // bitmap header size
  AppendLE32(bytes, 8);                                       // width
  AppendLE32(bytes, 16);                                      // height of both planes
  AppendLE16(bytes, 1);                                       // planes
  AppendLE16(bytes, 1);                                       // bits per pixel
  for (int i = 0; i < 6; ++i) AppendLE32(bytes, 0);           // compression .. important colours
  bytes.insert(bytes.end(), {0, 0, 0, 0, 255, 255, 255, 0});  // black, white
  // XOR plane, bottom-up, rows of 4 bytes: the second row from the top white.
  for (int row = 7; row >= 0; --row) bytes.insert(bytes.end(), {uint8_t(row == 1 ? 0xFF : 0), 0, 0, 0});
  // AND plane: the top two rows opaque.
  for (int row = 7; row >= 0; --row) bytes.insert(bytes.end(), {uint8_t(row < 2 ? 0 : 0xFF), 0, 0, 0});
  return bytes;
}

TEST(CursorsTest, ACursorFileReadsIntoPlanesTopDown) {
  const auto image = ReadCursorFile(SmallCursorFile());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->Width, 8);
  EXPECT_EQ(image->Height, 8);
  EXPECT_EQ(image->HotX, 3);
  EXPECT_EQ(image->HotY, 1);
  for (int32_t x = 0; x < 8; ++x) {
    EXPECT_FALSE(image->AndBit(x, 0));
    EXPECT_FALSE(image->XorBit(x, 0));  // black
    EXPECT_FALSE(image->AndBit(x, 1));
    EXPECT_TRUE(image->XorBit(x, 1));  // white
    EXPECT_TRUE(image->AndBit(x, 2));  // the screen
  }
}

TEST(CursorsTest, FilesThatAreNoOneBitCursorsAreRefused) {
  struct TCase {
    const char* What;
    size_t Offset;
    uint8_t Value;
  } cases[] = {
      {"an icon", 2, 1},
      {"no image", 4, 0},
      {"4 bits per pixel", 6 + 16 + 14, 4},
      {"compressed", 6 + 16 + 16, 1},
      {"hot spot outside", 10, 8},
      {"another width in the header", 6 + 16 + 4, 16},
      {"image offset past the end", 6 + 12 + 1, 2},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.What);
    std::vector<uint8_t> bytes = SmallCursorFile();
    bytes[c.Offset] = c.Value;
    EXPECT_EQ(ReadCursorFile(bytes), nullptr);
  }
  std::vector<uint8_t> bytes = SmallCursorFile();
  for (size_t cut : {size_t{0}, size_t{21}, bytes.size() - 1}) {
    SCOPED_TRACE(cut);
    EXPECT_EQ(ReadCursorFile(std::span<const uint8_t>(bytes.data(), cut)), nullptr);
  }
}

// The rich-text engine's cursor resources, as scripts/make_cursors.py writes them.
TEST(CursorsTest, TheEnginesCursorFilesRead) {
  const std::string folder = QF_TEST_SOURCE_DIR "/../src/richtext/model/resources/";
  const auto arrow = ReadCursorFile(ReadFile(folder + "RP_FLIPARROW_CURSOR.cur"));
  ASSERT_NE(arrow, nullptr);
  EXPECT_EQ(arrow->HotX, 10);
  EXPECT_EQ(arrow->HotY, 0);
  EXPECT_FALSE(arrow->AndBit(10, 0));  // the tip is black
  EXPECT_FALSE(arrow->XorBit(10, 0));
  EXPECT_TRUE(arrow->XorBit(9, 2));  // white inside
  EXPECT_TRUE(arrow->AndBit(0, 0));  // the screen left of the tip
  const auto hand = ReadCursorFile(ReadFile(folder + "RP_JUMP_CURSOR.cur"));
  ASSERT_NE(hand, nullptr);
  EXPECT_EQ(hand->HotX, 5);
  EXPECT_FALSE(hand->AndBit(5, 0));
}

TEST(CursorsTest, TheScreensTable) {
  TScreenCursor cursor;
  ASSERT_TRUE(LoadSystemCursor(IDC_HAND, cursor));
  EXPECT_EQ(cursor.Shape, crHandPoint);
  EXPECT_EQ(cursor.Image, nullptr);
  EXPECT_FALSE(LoadSystemCursor(1, cursor));
  // This test program has no cursor resources.
  EXPECT_FALSE(LoadCursorResource(u"RP_FLIPARROW_CURSOR", cursor));

  EXPECT_EQ(FindScreenCursor(4711), nullptr);
  SetScreenCursor(4711, TScreenCursor{crIBeam, nullptr});
  ASSERT_NE(FindScreenCursor(4711), nullptr);
  EXPECT_EQ(FindScreenCursor(4711)->Shape, crIBeam);
  SetScreenCursor(4711, TScreenCursor{crCross, ReadCursorFile(SmallCursorFile())});
  EXPECT_NE(FindScreenCursor(4711)->Image, nullptr);
  // The platform's own numbers are no entries of the table.
  SetScreenCursor(crArrow, TScreenCursor{crIBeam, nullptr});
  EXPECT_EQ(FindScreenCursor(crArrow), nullptr);
}

}  // namespace
