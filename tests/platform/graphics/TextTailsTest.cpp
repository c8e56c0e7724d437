// The tails of a text measured from one shaping of it: every tail's advances are those of
// the tail shaped alone, in every script, face and size; and a tail costs its front, not
// its length.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/Surrogates.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/TextShaping.h"
#include "platform/graphics/TextTails.h"

namespace {

std::u16string RepeatedTailText(const std::u16string& piece, size_t units) {
  std::u16string text;
  while (text.size() < units) text += piece;
  return text;
}

struct TTailCase {
  const char* Name;
  std::u16string Text;
  // A tail joins the whole text's shaping soon after its start: its front costs far less
  // than its length.
  bool JoinsSoon;
};

const std::vector<TTailCase>& TailCases() {
  static const std::vector<TTailCase> cases = {
      {"Chinese and Japanese", RepeatedTailText(u"日本語の本と中文の書物を読む、春眠不覺曉。", 120), true},
      {"Arabic", RepeatedTailText(u"مرحبا بالعالم، الكتاب الجديد. ", 120), true},
      {"Arabic with joiners", RepeatedTailText(u"ل\u200Dا ب\u200Cت، ", 120), true},
      {"Hebrew with points", RepeatedTailText(u"שָׁלוֹם עוֹלָם ", 120), true},
      // One pointed word at the end makes the whole unpointed run before it shaped, in
      // the whole text and in every tail.
      {"Hebrew, one pointed word at the end", RepeatedTailText(u"שלום עולם ", 120) + u"שָׁלוֹם", true},
      {"Devanagari", RepeatedTailText(u"नमस्ते दुनिया किताब ", 120), true},
      {"Thai", RepeatedTailText(u"สวัสดีชาวโลกภาษาไทย", 120), true},
      {"Khmer", RepeatedTailText(u"សួស្តីពិភពលោក ", 120), true},
      {"scripts in turn", RepeatedTailText(u"word مرحبا नमस्ते สวัสดี שָׁלוֹם 42, 中文 ", 160), true},
      {"pairs of surrogates", RepeatedTailText(u"𠀀𠀁 a😀b 𝒜𝒝 ", 120), true},
      {"Latin", RepeatedTailText(u"lorem ipsum dolor sit amet, ", 120), true},
      {"neutrals opening Arabic", RepeatedTailText(u"1234 5678, 90. ", 90) + u"مرحبا بالعالم", false},
      {"neutrals in a fallback face", u"中" + RepeatedTailText(u"。、「」", 90) + u"文", false},
      // The whole text's digits follow the Arabic letter into its face and script; a
      // tail's are the selected face's: the two never meet.
      {"neutrals after one Arabic letter", u"م" + RepeatedTailText(u"1234 5678, ", 90), false},
  };
  return cases;
}

struct TTailFont {
  const char* Name;
  int32_t Pixels;
  int32_t CharExtra;
  bool Bold;
};

const TTailFont TailFonts[] = {
    {"Arial", 13, 0, false},
    {"Times New Roman", 16, 0, false},
    {"DejaVu Sans", 15, 1, true},
};

class TTailCanvas {
public:
  explicit TTailCanvas(const TTailFont& font) {
    Bitmap.SetPixelFormat(pf24bit);
    Bitmap.SetSize(8, 8);
    TCanvas& canvas = *Bitmap.Canvas();
    canvas.Font().SetName(font.Name);
    canvas.Font().SetHeight(-font.Pixels);
    if (font.Bold) canvas.Font().SetStyle(TFontStyles{fsBold});
    Dc = canvas.Handle();
    SetTextCharacterExtra(Dc, font.CharExtra);
  }
  TBitmap Bitmap;
  HDC Dc = nullptr;
};

TEST(TextTails, EveryTailAdvancesAsItShapesAlone) {
  for (const TTailFont& font : TailFonts) {
    TTailCanvas canvas(font);
    for (const TTailCase& c : TailCases()) {
      SCOPED_TRACE(std::string(font.Name) + " " + std::to_string(font.Pixels) + " px: " + c.Name);
      const WideStringView text(c.Text);
      const TTextTails tails(canvas.Dc, text);
      ASSERT_TRUE(tails.MeasuresWith(canvas.Dc));
      for (size_t from = 0; from < text.size(); ++from) {
        const std::vector<int32_t> expected = ShapeText(canvas.Dc, text.substr(from)).Advances;
        std::vector<int32_t> advances(expected.size(), -1);
        tails.TailAdvances(from, advances.size(), advances.data());
        if (advances == expected) continue;
        ADD_FAILURE() << "the tail from unit " << from << " advances otherwise";
        break;
      }
    }
  }
}

TEST(TextTails, ATailsFrontCostsItsFrontNotItsLength) {
  TTailCanvas canvas(TailFonts[0]);
  constexpr size_t Front = 40;
  for (const TTailCase& c : TailCases()) {
    if (!c.JoinsSoon) continue;
    SCOPED_TRACE(c.Name);
    const std::u16string text = RepeatedTailText(c.Text, 3000);
    const TTextTails tails(canvas.Dc, text);
    for (size_t from = 1; from + 1000 < text.size(); from += 97) {
      // Lines never start between the two units of a pair: such a tail is shaped whole.
      if (IsLowSurrogate(text[from])) continue;
      std::vector<int32_t> advances(Front);
      const uint64_t before = TextUnitsMeasured();
      tails.TailAdvances(from, Front, advances.data());
      EXPECT_LE(TextUnitsMeasured() - before, 8 * Front) << "the tail from unit " << from;
    }
  }
}

TEST(TextTails, ACanvasWithAnotherFontOrExtraMeasuresOtherwise) {
  TTailCanvas canvas(TailFonts[0]);
  const std::u16string text = u"日本語";
  const TTextTails tails(canvas.Dc, text);
  SetTextCharacterExtra(canvas.Dc, 2);
  EXPECT_FALSE(tails.MeasuresWith(canvas.Dc));
  SetTextCharacterExtra(canvas.Dc, 0);
  EXPECT_TRUE(tails.MeasuresWith(canvas.Dc));
  canvas.Bitmap.Canvas()->Font().SetHeight(-20);
  EXPECT_FALSE(tails.MeasuresWith(canvas.Bitmap.Canvas()->Handle()));
}

}  // namespace
