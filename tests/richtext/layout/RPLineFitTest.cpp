// Lines broken from one shaping of each paragraph are the lines broken by measuring the
// whole rest of it on every line: the same draw items for paragraphs in many scripts,
// fonts, widths and alignments.
#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

#include "RPLayoutTestData.h"
#include "RPScriptParagraphs.h"
#include "richtext/layout/RPLineBreaker.h"

namespace {

// The test document with the document's maximum line length of its own.
class TLineFitData : public TTestFormattedData {
public:
  int32_t MaxLength = 0;
  int32_t GetMaxLength() const override { return MaxLength; }
};

struct TLineFitParagraph {
  const char* Name;
  std::u16string Text;
};

const std::vector<TLineFitParagraph>& LineFitParagraphs() {
  static const std::vector<TLineFitParagraph> paragraphs = {
      {"Chinese and Japanese", RepeatedText(CjkPhrases(), u"", 700)},
      {"Arabic, Devanagari, Thai and Hebrew", RepeatedText(MixedScriptWords(), u" ", 700)},
      {"Arabic", RepeatedText({u"مرحبا", u"بالعالم،", u"الكتاب", u"الجديد."}, u" ", 600)},
      {"Thai without spaces", RepeatedText({u"สวัสดีชาวโลก", u"ภาษาไทย"}, u"", 600)},
      {"Hebrew, one pointed word at the end", RepeatedText({u"שלום", u"עולם"}, u" ", 600) + u"שָׁלוֹם"},
      {"Latin", RepeatedText(LatinWords(), u" ", 700)},
      {"Latin with soft hyphens and zero-width spaces",
       RepeatedText({u"con\u00ADsec\u00ADte\u00ADtur", u"adi\u200Bpis\u200Bcing", u"elit"}, u" ", 600)},
      {"pairs of surrogates", RepeatedText({u"𠀀𠀁𠀂", u"a😀b", u"𝒜𝒝"}, u" ", 600)},
      {"scripts in turn, long spaces", RepeatedText({u"word", u"مرحبا", u"नमस्ते", u"中文", u"42,"}, u"   ", 600)},
  };
  return paragraphs;
}

struct TLineFitLayout {
  const char* Name;
  std::function<void(TLineFitData&)> Set;
};

const TLineFitLayout LineFitLayouts[] = {
    {"Arial 10, 300 px", [](TLineFitData&) {}},
    {"Times New Roman 12, 170 px, justified",
     [](TLineFitData& d) {
       d.Font(0).FontName = "Times New Roman";
       d.Font(0).Size = 12;
       d.MaxTextWidth = 170;
       d.Para(0).Alignment = rpaJustify;
     }},
    {"DejaVu Sans 9 bold, 451 px, right to left",
     [](TLineFitData& d) {
       d.Font(0).FontName = "DejaVu Sans";
       d.Font(0).Size = 9;
       d.Font(0).Style = TFontStyles{fsBold};
       d.MaxTextWidth = 451;
       d.Para(0).BiDiMode = rpbdRightToLeft;
     }},
    {"Arial 11, 97 px, spaces kept at breaks",
     [](TLineFitData& d) {
       d.Font(0).Size = 11;
       d.MaxTextWidth = 97;
       d.Flags &= ~rpdfTrimSpaces;
     }},
    {"Arial 10, 400 px, at most 33 characters a line", [](TLineFitData& d) { d.MaxLength = 33; }},
};

// The draw items of the paragraph as the layout breaks it, rests up to wholeRestUnits
// characters long measured whole.
std::string LinesOf(const TLineFitLayout& layout, const std::u16string& text, int32_t wholeRestUnits) {
  const TRPWholeRestUnits measuring(wholeRestUnits);
  TLineFitData data;
  data.Width = 300;
  data.MaxTextWidth = 300;
  layout.Set(data);
  // Two items in two styles: the second begins inside a line.
  const int32_t second = data.AddTextStyle();
  data.Font(second).Assign(data.Font(0));
  data.Font(second).Size += 2;
  const size_t cut = text.size() / 3;
  data.AddW(text.substr(0, cut), 0, 0);
  data.AddW(text.substr(cut), second, -1);
  data.FormatAll();
  return DumpDrawLines(data);
}

TEST(RPLineFit, LinesBreakAsWhenEveryRestIsMeasuredWhole) {
  for (const TLineFitLayout& layout : LineFitLayouts)
    for (const TLineFitParagraph& paragraph : LineFitParagraphs()) {
      SCOPED_TRACE(std::string(layout.Name) + ": " + paragraph.Name);
      const std::string whole = LinesOf(layout, paragraph.Text, INT_MAX);
      EXPECT_GT(std::count(whole.begin(), whole.end(), '\n'), 10);
      EXPECT_EQ(LinesOf(layout, paragraph.Text, 0), whole);
    }
}

}  // namespace
