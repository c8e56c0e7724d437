#include "platform/base/ClipboardFormats.h"

#include <gtest/gtest.h>

namespace {

TEST(ClipboardFormatsTest, ANameKeepsItsNumber) {
  const uint32_t first = RegisterClipboardFormatA("Test Format One");
  const uint32_t second = RegisterClipboardFormatA("Test Format Two");
  EXPECT_GE(first, FirstRegisteredClipboardFormat);
  EXPECT_NE(first, second);
  EXPECT_EQ(RegisterClipboardFormatA("test format ONE"), first);  // case is ignored
  EXPECT_EQ(GetClipboardFormatName(first), "Test Format One");    // as first registered
  EXPECT_EQ(GetClipboardFormatName(second), "Test Format Two");
}

TEST(ClipboardFormatsTest, EmptyAndUnknownNames) {
  EXPECT_EQ(RegisterClipboardFormatA(""), 0u);
  EXPECT_EQ(GetClipboardFormatName(1), "");       // a predefined number has no registered name
  EXPECT_EQ(GetClipboardFormatName(0xFFFF), "");  // nor a number nobody has
}

}  // namespace
