#include "unicode/UniFormatStrUtils.h"

#include <gtest/gtest.h>

#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

WideString Canonical(const WideString& format, std::initializer_list<TVarRec> args = {}) {
  return GetCanonicalFormatStr(format, std::span<const TVarRec>(args.begin(), args.size()));
}

TEST(UniFormatStrUtils, SpecifiersGetExplicitIndexes) {
  const struct {
    WideString Format;
    WideString Canonical;
  } cases[] = {
      {u"%s %s", u"%0:s %1:s"},
      {u"%1:s %s", u"%1:s %2:s"},
      {u"%5:s %0:s %s", u"%5:s %0:s %6:s"},  // the next implicit index follows the largest
      {u"%5.2d", u"%0:5.2d"},
      {u"%-8x|%p", u"%0:-8x|%1:p"},
      {u"%*d %s", u"%0:*d %2:s"},  // "*" takes an argument of its own
      {u"%.*s %s", u"%0:.*s %2:s"},
      {u"100%%", u"100%%"},
      {u"50% off", u"50% off"},
      {u"ends with %", u"ends with %"},
      {u"no specifiers", u"no specifiers"},
      {u"\u0416%S\u4e2d", u"\u0416%0:S\u4e2d"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.Format));
    EXPECT_EQ(Canonical(c.Format), c.Canonical);
  }
}

TEST(UniFormatStrUtils, FloatSpecifiersAreFormattedAtOnce) {
  EXPECT_EQ(Canonical(u"%.2f", {1.5}), u"1.50");
  EXPECT_EQ(Canonical(u"%s=%.2e%%", {u"x", 12345.0}), u"%0:s=1.2E+004%%");
  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  const std::initializer_list<TVarRec> args = {2.25};
  EXPECT_EQ(GetCanonicalFormatStr(u"%.1f", std::span<const TVarRec>(args.begin(), args.size()), &comma), u"2,3");
}

TEST(UniFormatStrUtils, MalformedSpecifiersRaiseWithTheRestOfTheFormat) {
  const struct {
    WideString Format;
    const char* Message;
  } cases[] = {
      {u"a %q b", "Invalid Format Specifier: %0:q b"},
      {u"%1234567d", "Invalid Format Specifier: %1234567d"},
      {u"%5", "Invalid Format Specifier: %0:5"},
      {u"%.1234567f", "Invalid Format Specifier: %0:.1234567f"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    try {
      Canonical(c.Format, {1});
      ADD_FAILURE() << "no exception";
    } catch (const EFormatSpecError& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
  }
}

TEST(UniFormatStrUtils, FormatTypeByLastLetter) {
  EXPECT_EQ(GetFormatType(u"%0:d"), ftInteger);
  EXPECT_EQ(GetFormatType(u"%0:X"), ftInteger);
  EXPECT_EQ(GetFormatType(u"%0:n"), ftFloat);
  EXPECT_EQ(GetFormatType(u"%0:p"), ftPointer);
  EXPECT_EQ(GetFormatType(u"%0:s"), ftString);
  try {
    GetFormatType(u"%0:q");
    ADD_FAILURE() << "no exception";
  } catch (const EUniInternalError& e) {
    EXPECT_STREQ(e.what(), "Internal Error: Unexpected format type (%0:q)");
  }
}

TEST(UniFormatStrUtils, ParserCountsExplicitAndImplicitIndexes) {
  const WideString format = u"%3:s%d";
  TFormatStrParser parser(format.c_str());
  EXPECT_TRUE(parser.ParseFormatSpecifier());
  parser.ParsedString().Clear();
  EXPECT_TRUE(parser.ParseFormatSpecifier());
  EXPECT_EQ(parser.ParsedString().Value(), u"%4:d");
  EXPECT_EQ(parser.ExplicitCount, 1);
  EXPECT_EQ(parser.ImplicitCount, 1);
  EXPECT_EQ(parser.LastIndex, 4);
}

TEST(UniFormatStrUtils, BufferedStringValueEndsAtZero) {
  TBufferedWideString text;
  text.AddString(u"ab");
  const WideChar more[] = {u'c', u'd', 0, u'e'};
  text.AddBuffer(more, 4);
  EXPECT_EQ(text.Value(), u"abcd");
  text.AddChar(0);
  text.AddChar(u'z');
  EXPECT_EQ(text.Value(), u"abcd");
  text.Clear();
  EXPECT_EQ(text.Value(), u"");
}

}  // namespace
