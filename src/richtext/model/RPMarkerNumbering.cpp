#include "richtext/model/RPMarkerNumbering.h"

#include <array>
#include <string>

#include "platform/base/SymbolFontChars.h"

namespace {

// What plain text writes for the Symbol characters it has no letter for: the card suits,
// the bullet, the dot operator and the lozenge as "*", the arrows as ASCII arrows; null
// for the rest, which keep their code.
const char* PlainStandIn(WideChar symbol) {
  static constexpr struct {
    WideChar Symbol;
    const char* Text;
  } standIns[] = {{0x2663, "*"},   {0x2666, "*"},  {0x2665, "*"},   {0x2660, "*"},  {0x2022, "*"},
                  {0x22C5, "*"},   {0x25CA, "*"},  {0x21D4, "<=>"}, {0x21D0, "<="}, {0x21D2, "=>"},
                  {0x2194, "<->"}, {0x2190, "<-"}, {0x2192, "->"}};
  for (const auto& standIn : standIns)
    if (standIn.Symbol == symbol) return standIn.Text;
  return nullptr;
}

AnsiString AlphaText(int32_t number, char first) {
  AnsiString text;
  while (number > 0) {
    text.insert(text.begin(), static_cast<char>(first + (number - 1) % 26));
    number = (number - 1) / 26;
  }
  return text;
}

struct TRomanDigit {
  int32_t Value;
  const char* Letters;
};
constexpr TRomanDigit RomanDigits[] = {{1000, "M"}, {900, "CM"}, {500, "D"}, {400, "CD"}, {100, "C"},
                                       {90, "XC"},  {50, "L"},   {40, "XL"}, {10, "X"},   {9, "IX"},
                                       {5, "V"},    {4, "IV"},   {1, "I"}};

// Wingdings characters by code: ranges of codes and the character they look like.
struct TWingdingsRange {
  uint8_t First, Last;
  WideChar Char;  // 0: the code minus Offset
  int32_t Offset;
};
constexpr TWingdingsRange WingdingsRanges[] = {
    {40, 40, 0x260E, 0},   {69, 69, 0x261C, 0},   {70, 70, 0x261E, 0},   {74, 74, 0x263A, 0},   {82, 82, 0x263C, 0},
    {92, 92, 0x0950, 0},   {107, 107, 0x0026, 0}, {108, 108, 0x25CF, 0}, {109, 109, 0x25CB, 0}, {161, 163, 0x25CB, 0},
    {166, 166, 0x25CB, 0}, {110, 110, 0x25A0, 0}, {111, 114, 0x25A1, 0}, {120, 122, 0x25A1, 0}, {127, 127, 0x25A1, 0},
    {168, 168, 0x25A1, 0}, {253, 255, 0x25A1, 0}, {115, 116, 0x2666, 0}, {119, 119, 0x2666, 0}, {117, 118, 0x25C6, 0},
    {128, 138, 0, 80},     {139, 149, 0, 91},     {158, 158, 0x00B7, 0}, {160, 160, 0x25AA, 0}, {167, 167, 0x25AA, 0},
    {164, 165, 0x25CE, 0}, {183, 194, 0x25CE, 0}, {169, 182, 0x2605, 0}, {249, 250, 0x25AB, 0},
};
// The arrow heads, in groups of codes that share one.
constexpr std::array<uint8_t, 6> WingdingsLeft{213, 215, 219, 223, 231, 239};
constexpr std::array<uint8_t, 6> WingdingsRight{214, 216, 220, 224, 232, 240};
constexpr std::array<uint8_t, 5> WingdingsUp{217, 221, 225, 233, 241};
constexpr std::array<uint8_t, 5> WingdingsDown{218, 222, 226, 234, 242};

template <size_t N>
bool InGroup(const std::array<uint8_t, N>& group, uint8_t ch) {
  for (uint8_t c : group)
    if (c == ch) return true;
  return false;
}

}  // namespace

AnsiString ToRoman(int32_t number) {
  if (number <= 0) return "?";
  if (number > RPMaxRomanNumber) return std::to_string(number);
  AnsiString text;
  for (const TRomanDigit& digit : RomanDigits)
    while (number >= digit.Value) {
      text += digit.Letters;
      number -= digit.Value;
    }
  return text;
}

AnsiString GetNumberText(int32_t number, TRPListType listType) {
  switch (listType) {
    case rplstDecimal:
    case rplstImageListCounter:
      return std::to_string(number);
    case rplstLowerAlpha:
      return AlphaText(number, 'a');
    case rplstUpperAlpha:
      return AlphaText(number, 'A');
    case rplstLowerRoman: {
      AnsiString text = ToRoman(number);
      for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
      return text;
    }
    case rplstUpperRoman:
      return ToRoman(number);
    default:
      return {};
  }
}

WideChar GetWingdingsCodePoint(uint8_t ch) {
  for (const TWingdingsRange& range : WingdingsRanges)
    if (ch >= range.First && ch <= range.Last)
      return range.Char ? range.Char : static_cast<WideChar>(ch - range.Offset);
  if (InGroup(WingdingsLeft, ch)) return 0x25C4;
  if (InGroup(WingdingsRight, ch)) return 0x25BA;
  if (InGroup(WingdingsUp, ch)) return 0x25B2;
  if (InGroup(WingdingsDown, ch)) return 0x25BC;
  return 0x2022;
}

AnsiString SymbolTextToPlain(AnsiString s) {
  AnsiString out;
  out.reserve(s.size());
  for (char c : s) {
    const char* standIn = PlainStandIn(SymbolCharToUnicode(static_cast<uint8_t>(c)));
    if (standIn)
      out += standIn;
    else
      out += c;
  }
  return out;
}
