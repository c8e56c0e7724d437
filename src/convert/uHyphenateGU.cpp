// A word's characters get one class each: V vowel, H hard or soft sign, S hyphen, C any
// other letter. After the character at 1-based position i of a word of n characters a
// soft hyphen goes in when i >= 2, n - i >= 2 and, with P, X, N, M the classes at
// i - 1, i, i + 1, i + 2, one of these holds:
//   1. X = C, P = V, N = C, M != S    (between two consonants after a vowel)
//   2. X = V, P = C, N = C, M = V     (between consonant-vowel pairs)
//   3. X = H                          (after a sign)
//   4. X is C or V and the next unit equals this one (doubled letters)
//   5. N = S                          (before a hyphen)
#include "convert/uHyphenateGU.h"

#include <vector>

#include "platform/base/UnicodeCase.h"

namespace {

enum class TLetterClass : uint8_t { V, H, S, C };

constexpr WideStringView Vowels = u"аеёиоуэыюяeuioajАЕЁИОУЭЫЮЯEUIOAJ";
constexpr WideStringView Signs = u"ъьЪЬ'";

TLetterClass ClassOf(WideChar c) {
  if (Vowels.find(c) != WideStringView::npos) return TLetterClass::V;
  if (Signs.find(c) != WideStringView::npos) return TLetterClass::H;
  if (c == u'-') return TLetterClass::S;
  return TLetterClass::C;
}

bool IsLetter(WideChar c) { return (CharTypeC1(c) & C1_ALPHA) != 0; }

// Whether a soft hyphen follows the word's character at 0-based index x.
bool BreaksAfter(WideStringView word, const std::vector<TLetterClass>& classes, size_t x) {
  using enum TLetterClass;
  const size_t n = word.size();
  if (x < 1 || n - (x + 1) < 2) return false;
  const TLetterClass P = classes[x - 1], X = classes[x], N = classes[x + 1], M = classes[x + 2];
  return (X == C && P == V && N == C && M != S) || (X == V && P == C && N == C && M == V) || X == H ||
         ((X == C || X == V) && word[x + 1] == word[x]) || N == S;
}

}  // namespace

WideString Hyphenate(WideStringView text) {
  WideString result;
  result.reserve(text.size() + text.size() / 4);
  std::vector<TLetterClass> classes;
  size_t pos = 0;
  while (pos < text.size()) {
    if (!IsLetter(text[pos])) {
      result += text[pos++];
      continue;
    }
    size_t end = pos + 1;
    while (end < text.size() && (IsLetter(text[end]) || text[end] == u'-')) ++end;
    const WideStringView word = text.substr(pos, end - pos);
    classes.clear();
    for (WideChar c : word) classes.push_back(ClassOf(c));
    for (size_t i = 0; i < word.size(); ++i) {
      result += word[i];
      if (BreaksAfter(word, classes, i)) result += SoftHyphen;
    }
    pos = end;
  }
  return result;
}
