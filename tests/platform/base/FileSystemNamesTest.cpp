#include <gtest/gtest.h>

#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"

TEST(FileSystemNames, BytesRoundTripThroughUtf16) {
  const struct {
    std::string Bytes;
    WideString Wide;
  } cases[] = {
      {"plain.fb2", u"plain.fb2"},
      {"\xD0\x9A\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0", u"\x041A\x043D\x0438\x0433\x0430"},
      {"\xF0\x9F\x93\x96", u"\xD83D\xDCD6"},
      {"a\xFF"
       "b",
       u"a\xDCFF"
       u"b"},
      {"\xC3", u"\xDCC3"},                      // truncated sequence
      {"\xC3\xC3\xA9", u"\xDCC3\x00E9"},        // a bad byte before a good sequence
      {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},  // an encoded surrogate is three bytes
      {"\xC0\xAF", u"\xDCC0\xDCAF"},            // overlong
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Bytes);
    EXPECT_EQ(FileSystemNameToWide(c.Bytes), c.Wide);
    std::string back;
    ASSERT_TRUE(WideToFileSystemName(c.Wide, back));
    EXPECT_EQ(back, c.Bytes);
  }
}

TEST(FileSystemNames, NamesNoDiskCanHoldAreRefused) {
  for (const WideString& name : {WideString(u"a\xD800"), WideString(u"\xDC7F"), WideString(u"a\0b", 3)}) {
    std::string bytes;
    SetLastError(ERROR_SUCCESS);
    EXPECT_FALSE(WideToFileSystemName(name, bytes));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  }
}

TEST(FileSystemNames, AnsiNamesAreConvertedFromTheAnsiCodePage) {
  std::string bytes;
  ASSERT_TRUE(AnsiToFileSystemName("\xDF.txt", bytes));  // "Я" in 1251
  EXPECT_EQ(bytes, "\xD0\xAF.txt");
  EXPECT_FALSE(NameBytes(static_cast<const char*>(nullptr), bytes));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

TEST(FileSystemNames, EveryShortByteStringSurvivesTheRoundTrip) {
  const auto roundTrips = [](const std::string& bytes) {
    std::string back;
    return WideToFileSystemName(FileSystemNameToWide(bytes), back) && back == bytes;
  };
  for (int first = 1; first < 256; ++first) {
    for (int second = 0; second < 256; ++second) {
      std::string bytes{static_cast<char>(first)};
      if (second != 0) bytes += static_cast<char>(second);
      ASSERT_TRUE(roundTrips(bytes)) << first << " " << second;
    }
  }
  // Longer runs of bytes from a fixed pseudo-random sequence, zero bytes left out.
  uint32_t state = 12345;
  for (int run = 0; run < 20000; ++run) {
    std::string bytes;
    for (int i = 0; i < 1 + run % 9; ++i) {
      state = state * 1103515245u + 12345u;
      bytes += static_cast<char>(1 + (state >> 16) % 255);
    }
    ASSERT_TRUE(roundTrips(bytes)) << testing::PrintToString(bytes);
  }
}
