// The reader's line cursor: text lines and their ends, binary blocks and Unicode lines,
// and the CR LF that a block or a Unicode line needs after a text line.
#include "richtext/interchange/RPFLineCursor.h"

#include <gtest/gtest.h>

namespace {

TEST(RPFLineCursor, TextLinesEndAtCrLfOrNulAndCrLfIsOneEnd) {
  TRPFLineCursor cursor(AnsiString("a\r\nb\nc\rd\0e\r\r\nf", 15));
  std::vector<AnsiString> lines;
  AnsiString line;
  while (!cursor.AtEnd() && cursor.ReadTextLine(line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<AnsiString>{"a", "b", "c", "d", "e", "", "f"}));
  EXPECT_FALSE(cursor.ReadTextLine(line));
}

TEST(RPFLineCursor, ABlockIsItsLengthAndThatManyBytesAfterACrLf) {
  TRPFLineCursor cursor(
      AnsiString("head\r\n\x03\x00\x00\x00"
                 "abcnext\r\n",
                 19));
  AnsiString line;
  ASSERT_TRUE(cursor.ReadTextLine(line));
  ASSERT_TRUE(cursor.ReadBlock(line));
  EXPECT_EQ(line, "abc");
  ASSERT_TRUE(cursor.ReadTextLine(line));  // a text line right after a block
  EXPECT_EQ(line, "next");
  EXPECT_TRUE(cursor.AtEnd());
}

TEST(RPFLineCursor, ABlockOrUnicodeLineAfterATextLineWithoutCrLfIsRefused) {
  for (const AnsiString& end : {AnsiString("\n"), AnsiString("\r"), AnsiString("\0", 1)}) {
    TRPFLineCursor cursor("head" + end + AnsiString("\x01\x00\x00\x00x", 5));
    AnsiString line;
    ASSERT_TRUE(cursor.ReadTextLine(line));
    EXPECT_FALSE(cursor.ReadBlock(line));
  }
  TRPFLineCursor cursor(AnsiString("head\nA\0", 7));
  AnsiString line;
  ASSERT_TRUE(cursor.ReadTextLine(line));
  EXPECT_FALSE(cursor.ReadUnicodeLine(line));
}

TEST(RPFLineCursor, ABlockLongerThanWhatIsLeftIsRefused) {
  TRPFLineCursor cursor(
      AnsiString("\x05\x00\x00\x00"
                 "abcd",
                 8));
  AnsiString block;
  EXPECT_FALSE(cursor.ReadBlock(block));
  TRPFLineCursor huge(AnsiString("\xFF\xFF\xFF\xFF", 4));
  EXPECT_FALSE(huge.ReadBlock(block));
  TRPFLineCursor short3(AnsiString("\x01\x00\x00", 3));
  EXPECT_FALSE(short3.ReadBlock(block));
}

TEST(RPFLineCursor, UnicodeLinesEndAtTheParagraphSeparatorOrNul) {
  TRPFLineCursor cursor(
      AnsiString("h\r\nA\x00\x29\x20"
                 "B\x00\x00\x00"
                 "C\x00",
                 13));
  AnsiString line;
  ASSERT_TRUE(cursor.ReadTextLine(line));
  ASSERT_TRUE(cursor.ReadUnicodeLine(line));
  EXPECT_EQ(line, AnsiString("A\0", 2));
  ASSERT_TRUE(cursor.ReadUnicodeLine(line));
  EXPECT_EQ(line, AnsiString("B\0", 2));
  ASSERT_TRUE(cursor.ReadUnicodeLine(line));  // the end of the buffer ends the last one
  EXPECT_EQ(line, AnsiString("C\0", 2));
  EXPECT_TRUE(cursor.AtEnd());
  EXPECT_FALSE(cursor.ReadUnicodeLine(line));
}

}  // namespace
