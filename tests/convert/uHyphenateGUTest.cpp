#include "convert/uHyphenateGU.h"

#include <gtest/gtest.h>

#include "unicode/UniSystem.h"

namespace {

// Classes: V vowel (аеёиоуэыюя eui oaj, either case), H sign (ъ ь), S "-", C other
// letters. After 1-based position i of an n-letter word, with P X N M the classes at
// i-1, i, i+1, i+2 and i >= 2, n - i >= 2, a break goes in by rule
//   1 X=C P=V N=C M!=S   2 X=V P=C N=C M=V   3 X=H   4 doubled unit   5 N=S
// Each row's comment gives the classes and the rule of each break ("|" in the
// expected text stands for the soft hyphen).
struct THyphenCase {
  const char* Text;
  const char* Expected;
};

const THyphenCase Cases[] = {
    {"", ""},
    {"и на тот дом", "и на тот дом"},        // three letters or fewer: never
    {"мама", "ма|ма"},                       // CVCV: i=2 rule 2; the earliest and latest place at once
    {"окно", "ок|но"},                       // VCCV: i=2 rule 1
    {"молоко", "мо|ло|ко"},                  // CVCVCV: i=2 and i=4 rule 2
    {"МОЛОКО", "МО|ЛО|КО"},                  // capitals are classed alike
    {"книга", "кни|га"},                     // CCVCV: i=3 rule 2
    {"сказка", "сказ|ка"},                   // CCVCCV: i=3 no (M=C); i=4 rule 1
    {"подъезд", "подъ|езд"},                 // CVCHVCC: i=4 rule 3 (three follow)
    {"деньги", "день|ги"},                   // CVCHCV: i=4 rule 3
    {"семья", "семья"},                      // CVCHV: the sign at i=4 has one letter after it
    {"объявление", "объ|яв|ле|ние"},         // VCHVCCVCVV: i=3 rule 3, i=5 rule 1, i=7 rule 2
    {"касса", "кас|са"},                     // CVCCV: i=3 rules 1 and 4
    {"контрразведка", "кон|тр|раз|вед|ка"},  // i=3 rule 1, i=5 rule 4 alone (P=C), i=8 and i=11 rule 1
    {"контрРазведка", "кон|трРаз|вед|ка"},   // "р" then "Р" are different units: no rule 4 at i=5
    {"какой-то", "ка|кой|-то"},              // CVCVCSCV (й is C): i=2 rule 2, i=5 rule 5
    {"что-то", "что|-то"},                   // CCVSCV: i=3 rule 5
    {"мост-ик", "мост|-ик"},                 // CVCCSVC: i=3 rule 1 refused (M=S), i=4 rule 5
    {"hello", "hel|lo"},                     // CVCCV: i=3 rule 1
    {"butter", "but|ter"},                   // CVCCVC: i=3 rule 1; i=4 nothing (P=C)
    {"computer", "com|pu|ter"},              // CVCCVCVC: i=3 rule 1, i=5 rule 2
    {"window", "win|dow"},                   // CVCCVC: i=3 rule 1
    {"journey", "jour|ney"},                 // VVVCCVC ("j" is a vowel, "y" is not): i=4 rule 1
    {"mississippi", "mis|sis|sip|pi"},       // i=3, 6, 9 rule 1
    {"hello-world", "hel|lo|-wor|ld"},       // CVCCVSCVCCC: i=3 rule 1, i=5 rule 5, i=9 rule 1
    {"don't", "don't"},                      // the apostrophe is no letter: "don" and "t"
    {"-молоко", "-мо|ло|ко"},                // a leading "-" is copied like punctuation
    {"abc123defg", "abc123defg"},            // digits end words; "defg" is CVCC: nothing
    {"Дом, 2024 год — молоко!", "Дом, 2024 год — мо|ло|ко!"},
    {"ёлочка", "ёлоч|ка"},  // VCVCCV: i=2 no (N=V), i=3 no (M=C), i=4 rule 1
};

TEST(Hyphenate, PlacesSoftHyphensByTheLetterRules) {
  for (const THyphenCase& c : Cases) {
    SCOPED_TRACE(c.Text);
    WideString got = Hyphenate(Utf8ToWide(c.Text));
    for (WideChar& ch : got)
      if (ch == SoftHyphen) ch = u'|';
    EXPECT_EQ(WideToUtf8(got), c.Expected);
  }
}

// Units that are no letters pass unchanged (a surrogate pair, a soft hyphen already
// there), and so does a one-letter word (an ideograph).
TEST(Hyphenate, CopiesEveryOtherUnit) {
  const WideString text = u"\U0001F600 12\t\u00AD;\u4E2D";
  EXPECT_EQ(Hyphenate(text), text);
}

}  // namespace
