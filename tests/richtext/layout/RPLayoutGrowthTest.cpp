// Layout whose work grows with its input no faster than the input: each case formats a
// paragraph of n and of 10 n characters, and the text measured for it (counted in
// UTF-16 units, never timed) may grow at most 14 times.
#include <gtest/gtest.h>

#include <functional>

#include "RPLayoutTestData.h"
#include "RPScriptParagraphs.h"
#include "platform/graphics/TextShaping.h"

namespace {

// The units measured in formatting one paragraph of text into lines of 400 pixels (as
// the report control does, by MaxTextWidth: text without spaces makes the document as
// wide as the whole paragraph).
uint64_t UnitsMeasuredForParagraph(const std::u16string& text) {
  TTestFormattedData data;
  data.Width = 400;
  data.MaxTextWidth = 400;
  data.AddW(text, 0, 0);
  const uint64_t before = TextUnitsMeasured();
  data.FormatAll();
  EXPECT_GT(data.DrawItems.Count(), 1);
  return TextUnitsMeasured() - before;
}

TEST(RPLayoutGrowth, TenTimesTheTextCostsAtMostFourteenTimesTheMeasuring) {
  const struct {
    const char* Name;
    std::function<std::u16string(size_t)> Paragraph;
  } cases[] = {
      {"Chinese and Japanese, no spaces", [](size_t n) { return RepeatedText(CjkPhrases(), u"", n); }},
      {"Arabic, Devanagari, Thai and Hebrew", [](size_t n) { return RepeatedText(MixedScriptWords(), u" ", n); }},
      {"Latin", [](size_t n) { return RepeatedText(LatinWords(), u" ", n); }},
  };
  constexpr size_t Units = 400;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const uint64_t atN = UnitsMeasuredForParagraph(c.Paragraph(Units));
    const uint64_t atTenN = UnitsMeasuredForParagraph(c.Paragraph(10 * Units));
    ASSERT_GT(atN, 0u);
    EXPECT_LE(atTenN, 14 * atN) << atN << " at n, " << atTenN << " at 10 n";
  }
}

}  // namespace
