#include "platform/base/Format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/Exception.h"

namespace {

struct TCase {
  const char* Format;
  std::vector<TVarRec> Args;
  const char* Expected;
};

}  // namespace

TEST(Format, FormatsEachTypeWithWidthsPrecisionsAndIndexes) {
  const AnsiString text = "abc";
  const std::vector<TCase> cases = {
      {"plain text", {}, "plain text"},
      {"100%%", {}, "100%"},
      {"%d|%5d|%-5d|%.3d|%5.3d", {42, 42, 42, -7, 7}, "42|   42|42   |-007|  007"},
      {"%d %d", {INT32_MIN, int64_t{-9000000000}}, "-2147483648 -9000000000"},
      {"%u %u", {-1, int64_t{5}}, "4294967295 5"},
      {"%x %X %.4x %x", {255, -1, 10, int64_t{-1}}, "FF FFFFFFFF 000A FFFFFFFFFFFFFFFF"},
      {"%s|%5s|%-5s|%.2s", {text, "xy", u"wz", text}, "abc|   xy|wz   |ab"},
      {"%s%s", {'c', u'w'}, "cw"},
      {"%1:s %0:s %s", {"a", "b", "c"}, "b a b"},
      {"%*d|%-*d|%.*f", {4, 7, 3, 8, 1, 2.25}, "   7|8  |2.3"},
      {"%*:s", {1, "x"}, "x"},
      {"%e", {1.0}, "1.00000000000000E+000"},
      {"%.3e|%e", {-12345.678, 0.0}, "-1.23E+004|0.00000000000000E+000"},
      {"%f|%.0f|%.3f|%f", {1.005, 2.5, -0.0004, 1e17}, "1.00|3|0.000|100000000000000000.00"},
      {"%g|%g|%g|%.3g", {0.1, 1e20, 123.456, 123456.0}, "0.1|1E020|123.456|1.23E005"},
      {"%n|%.1n", {1234567.891, -1000.0}, "1,234,567.89|-1,000.0"},
      {"%m|%m", {1234.5, -2.0}, "$1,234.50|($2.00)"},
      {"%p", {reinterpret_cast<const void*>(0xBEEF)}, "0000BEEF"},
      {"%D", {5}, "5"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Format);
    EXPECT_EQ(Format(c.Format, std::span<const TVarRec>(c.Args)), c.Expected);
  }
}

TEST(Format, WideFormatTakesBothWidthsOfText) {
  const AnsiString cyrillic = "\xC0\xE1";  // "Аб" in the ANSI code page 1251
  EXPECT_EQ(Format(u"%s-%s-%d", {u"\u0416", cyrillic, 3}), u"\u0416-\u0410\u0431-3");
  EXPECT_EQ(Format("%s", {u"\u0416"}), "\xC6");
}

TEST(Format, RaisesOnBadSpecifiersAndArguments) {
  const std::vector<TCase> cases = {
      {"%d", {1.5}, "Format '%d' invalid or incompatible with argument"},
      {"%f", {1}, "Format '%f' invalid or incompatible with argument"},
      {"%s", {true}, "Format '%s' invalid or incompatible with argument"},
      {"%q", {1}, "Format '%q' invalid or incompatible with argument"},
      {"50%", {}, "Format '50%' invalid or incompatible with argument"},
      {"%*d", {"x", 1}, "Format '%*d' invalid or incompatible with argument"},
      {"%d %d", {1}, "No argument for format '%d %d'"},
      {"%2:d", {1, 2}, "No argument for format '%2:d'"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Format);
    try {
      Format(c.Format, std::span<const TVarRec>(c.Args));
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), c.Expected);
    }
  }
}
