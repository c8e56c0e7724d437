// Line-breaking classes, the pair table, the backward search, and a cross-check
// against the Unicode Character Database's LineBreakTest.txt.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "richtext/model/RPLineBreak.h"

namespace {

constexpr const char* ClassNames[] = {"OP", "CL", "QU", "GL", "NS", "EX", "SY", "IS", "PR", "PO",
                                      "NU", "AL", "ID", "IN", "HY", "BA", "BB", "B2", "ZW", "CM"};

// Where the search finds the last character that stays on the line, as an index; -1
// for none.
int32_t BreakIndex(WideStringView text, int32_t index, bool skipTrailingSpace) {
  const WideString copy(text);
  const WideChar* found = FindLineBreakBefore(copy.data(), index, skipTrailingSpace);
  return found ? static_cast<int32_t>(found - copy.data()) : -1;
}

// A break opportunity right after text[j].
bool BreaksAfter(const WideString& text, size_t j) {
  return FindLineBreakBefore(text.data(), static_cast<int32_t>(j + 1), false) == text.data() + j;
}

TEST(RPLineBreakClassTest, ClassesAtTheirRangeBoundaries) {
  const std::pair<WideChar, TRPLineBreakClass> cases[] = {
      {0x0000, lbCM}, {0x0008, lbCM}, {0x0009, lbBA}, {0x000A, lbAL}, {0x000B, lbCM}, {0x000C, lbAL}, {0x000D, lbAL},
      {0x000E, lbCM}, {0x001F, lbCM}, {0x0020, lbAL}, {0x0021, lbEX}, {0x0022, lbQU}, {0x0024, lbPR}, {0x0025, lbPO},
      {0x0028, lbOP}, {0x0029, lbCL}, {0x002C, lbIS}, {0x002D, lbHY}, {0x002E, lbIS}, {0x002F, lbSY}, {0x0030, lbNU},
      {0x0039, lbNU}, {0x003A, lbIS}, {0x003B, lbIS}, {0x003F, lbEX}, {0x0041, lbAL}, {0x005C, lbPR}, {0x007C, lbBA},
      {0x007E, lbAL}, {0x007F, lbCM}, {0x009F, lbCM}, {0x00A0, lbGL}, {0x00A2, lbPO}, {0x00A3, lbPR}, {0x00A5, lbPR},
      {0x00A6, lbAL}, {0x00AB, lbQU}, {0x00AD, lbBA}, {0x00B0, lbPO}, {0x00B4, lbBB}, {0x00BB, lbQU}, {0x0300, lbCM},
      {0x034F, lbCM}, {0x0350, lbAL}, {0x0401, lbAL}, {0x0410, lbAL}, {0x044F, lbAL}, {0x0483, lbCM}, {0x0487, lbAL},
      {0x0589, lbIS}, {0x058A, lbBA}, {0x1100, lbID}, {0x1159, lbID}, {0x115A, lbAL}, {0x2000, lbBA}, {0x2006, lbBA},
      {0x2007, lbGL}, {0x200B, lbZW}, {0x200C, lbCM}, {0x200F, lbCM}, {0x2010, lbBA}, {0x2011, lbGL}, {0x2013, lbBA},
      {0x2014, lbB2}, {0x2015, lbAL}, {0x2018, lbQU}, {0x201A, lbOP}, {0x201C, lbQU}, {0x201E, lbOP}, {0x2024, lbIN},
      {0x2026, lbIN}, {0x2027, lbBA}, {0x2030, lbPO}, {0x2037, lbPO}, {0x203C, lbNS}, {0x2060, lbGL}, {0x20AC, lbPR},
      {0x2116, lbPR}, {0x3000, lbID}, {0x3001, lbCL}, {0x3002, lbCL}, {0x4E00, lbID}, {0x9FA5, lbID}, {0x9FA6, lbAL},
      {0xAC00, lbID}, {0xD7A3, lbID}, {0xD7A4, lbAL}, {0xD800, lbAL}, {0xDFFF, lbAL}, {0xE000, lbAL}, {0xFE30, lbID},
      {0xFEFF, lbGL}, {0xFF01, lbEX}, {0xFFE6, lbPR}, {0xFFF9, lbCM}, {0xFFFB, lbCM}, {0xFFFC, lbAL}, {0xFFFF, lbAL}};
  for (auto [ch, expected] : cases) EXPECT_EQ(GetLineBreakClass(ch), expected) << std::hex << static_cast<int>(ch);
}

TEST(RPLineBreakClassTest, PairTableAtTheRulesThatMatter) {
  for (int32_t after = 0; after < RPLineBreakClassCount; ++after) {
    const auto cls = static_cast<TRPLineBreakClass>(after);
    // An opening bracket never ends a line (except before a mark, across spaces).
    EXPECT_EQ(GetLineBreakPair(lbOP, cls), cls == lbCM ? lbpAcrossSpaces : lbpProhibited) << after;
    // After a zero-width space anything may start a line, but another one or a mark.
    EXPECT_EQ(GetLineBreakPair(lbZW, cls), cls == lbZW ? lbpProhibited : cls == lbCM ? lbpAcrossSpaces : lbpAllowed);
  }
  struct Pair {
    TRPLineBreakClass Before, After;
    TRPLineBreakPair Expected;
  };
  const Pair pairs[] = {{lbID, lbID, lbpAllowed},      {lbAL, lbHY, lbpAcrossSpaces}, {lbNU, lbHY, lbpAcrossSpaces},
                        {lbHY, lbAL, lbpAllowed},      {lbHY, lbNU, lbpAllowed},      {lbAL, lbCM, lbpAcrossSpaces},
                        {lbB2, lbB2, lbpProhibited},   {lbAL, lbB2, lbpAllowed},      {lbBA, lbAL, lbpAllowed},
                        {lbAL, lbGL, lbpAcrossSpaces}, {lbGL, lbAL, lbpAcrossSpaces}, {lbAL, lbCL, lbpProhibited},
                        {lbAL, lbEX, lbpProhibited}};
  for (const Pair& p : pairs) EXPECT_EQ(GetLineBreakPair(p.Before, p.After), p.Expected) << p.Before << " " << p.After;
}

struct SearchCase {
  WideStringView Text;
  int32_t Index;  // the first character that does not fit
  bool SkipTrailingSpace;
  int32_t Expected;  // the last character that stays, -1 for none
  const char* What;
};

TEST(RPLineBreakSearchTest, Cases) {
  const SearchCase cases[] = {
      {u"Привет мир", 8, false, 6, "two words: the first word and the space stay"},
      {u"quick  brown", 9, false, 6, "all the spaces stay on the line"},
      {u"Привет", 4, false, -1, "one word: no opportunity"},
      {u"(скобка", 1, false, -1, "an opening bracket never ends a line"},
      {u"a (b", 3, false, 1, "before an opening bracket across a space"},
      {u"日本語", 2, false, 1, "between ideographs without a space"},
      {u"well-known", 6, false, 4, "after a hyphen before a letter"},
      {u"pre-", 3, false, -1, "no break before a hyphen without a space"},
      {u"ab -", 3, false, 2, "before a hyphen across a space"},
      {u"12-34", 3, false, 2, "after a hyphen before a digit"},
      {u"12-34", 2, false, -1, "digit before hyphen"},
      {u"пере\u00ADнос", 6, false, 4, "after a soft hyphen"},
      {u"пере\u00ADнос", 4, false, -1, "not before a soft hyphen"},
      {u"10\u00A0км", 4, false, -1, "no break at a non-breaking space"},
      {u"и 10\u00A0км", 5, false, 1, "before a number glued to its unit"},
      {u"a\u0301b", 1, false, -1, "not before a combining mark"},
      {u"a \u0301", 2, false, 1, "before a combining mark across a space"},
      {u"a\u2014\u2014b", 2, false, 0, "never between two em dashes, before them"},
      {u"a\u2014\u2014b", 3, false, 2, "after the em dashes"},
      {u"ab\u200Bcd", 4, false, 2, "after a zero-width space"},
      {u"сказал «да»", 8, false, 6, "before an opening quote across a space"},
      {u"конец.) Далее", 9, false, 7, "after closing punctuation and a space"},
      {u"слово слово", 5, true, -1, "a space at the overflow point fits; one word before it"},
      {u"слово слово", 5, false, 4, "a space at the overflow point does not fit"},
      {u" слово", 0, true, -1, "a leading space that fits leaves nothing"},
      {u"a b", 0, false, -1, "nothing before the first character"},
      {u"Hello, world!", 10, false, 6, "Latin with punctuation"},
      {u"Да! Нет?", 7, false, 3, "after an exclamation mark and a space"},
      {u"$100", 2, false, -1, "prefix before a number"},
      {u"100%", 3, false, -1, "number before a postfix"},
  };
  for (const SearchCase& c : cases) EXPECT_EQ(BreakIndex(c.Text, c.Index, c.SkipTrailingSpace), c.Expected) << c.What;
}

// --- The Unicode Character Database's test cases ------------------------------------

std::vector<std::string> ModernClasses() {
  std::vector<std::string> classes(0x10000, "XX");
  std::ifstream in("/usr/share/unicode/LineBreak.txt");
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    const size_t semi = line.find(';');
    const std::string range = line.substr(0, semi);
    const std::string cls = line.substr(semi + 1, line.find_first_of(" #", semi) - semi - 1);
    const size_t dots = range.find("..");
    const unsigned long first = std::stoul(range.substr(0, dots), nullptr, 16);
    const unsigned long last = dots == std::string::npos ? first : std::stoul(range.substr(dots + 2), nullptr, 16);
    for (unsigned long cp = first; cp <= last && cp < 0x10000; ++cp) classes[cp] = cls;
  }
  return classes;
}

// Where today's rules and the 20-class pair table disagree: the class of the last
// character before the position that is no space, the class after it, whether spaces
// lie between ("*" for any class).
struct KnownDifference {
  const char* Before;
  const char* After;
  bool AcrossSpaces;
  const char* Why;
};
const KnownDifference KnownDifferences[] = {
    {"CM", "*", false, "a mark takes its base's class today; here it has a row of its own"},
    {"CM", "*", true, "a mark takes its base's class today; here it has a row of its own"},
    {"OP", "CM", true, "a mark after a space is AL today, and OP SP* never breaks"},
    {"ZW", "CM", false, "today a zero-width space allows a break before anything"},
    {"AL", "OP", false, "today no break between a letter or digit and an opening bracket"},
    {"NU", "OP", false, "today no break between a letter or digit and an opening bracket"},
    {"AL", "PR", false, "today letters stay with prefixes and postfixes"},
    {"AL", "PO", false, "today letters stay with prefixes and postfixes"},
    {"PO", "AL", false, "today letters stay with prefixes and postfixes"},
    {"NU", "PR", false, "today numbers stay with a following prefix"},
    {"PO", "NU", false, "today a postfix stays with a following number"},
    {"PR", "OP", false, "today a prefix breaks before a bracket unless a number follows"},
    {"HY", "NU", false, "today a hyphen before a number is a minus sign"},
    {"IS", "AL", false, "today a separator stays with a following letter"},
    {"IS", "NU", false, "today a separator breaks before a digit unless a number precedes it"},
    {"SY", "NU", false, "today a slash breaks before a digit unless a number precedes it"},
    {"CL", "PO", false, "today closing punctuation breaks before a postfix unless a number precedes it"},
    {"BA", "GL", false, "today glue allows a break after BA and HY"},
    {"HY", "GL", false, "today glue allows a break after BA and HY"},
    {"B2", "IN", false, "today nothing breaks before an inseparable"},
    {"BA", "IN", false, "today nothing breaks before an inseparable"},
    {"CL", "IN", false, "today nothing breaks before an inseparable"},
    {"EX", "IN", false, "today nothing breaks before an inseparable"},
    {"HY", "IN", false, "today nothing breaks before an inseparable"},
    {"IS", "IN", false, "today nothing breaks before an inseparable"},
    {"NS", "IN", false, "today nothing breaks before an inseparable"},
    {"PO", "IN", false, "today nothing breaks before an inseparable"},
    {"PR", "IN", false, "today nothing breaks before an inseparable"},
    {"SY", "IN", false, "today nothing breaks before an inseparable"},
};

int KnownDifferenceAt(const std::string& before, const std::string& after, bool acrossSpaces) {
  for (size_t i = 0; i < std::size(KnownDifferences); ++i) {
    const KnownDifference& d = KnownDifferences[i];
    if (d.Before == before && (std::string(d.After) == "*" || d.After == after) && d.AcrossSpaces == acrossSpaces)
      return static_cast<int>(i);
  }
  return -1;
}

// Every test line made only of characters that both class the same way (and spaces) is
// checked at every position inside it, except where this search's own contract differs
// from the test's: a break before a space (the spaces stay on the line here) and after
// leading spaces (a line is never spaces alone).
TEST(RPLineBreakUnicodeTest, AgreesWithLineBreakTestWhereTheRulesAgree) {
  const std::vector<std::string> modern = ModernClasses();
  ASSERT_EQ(modern[0x41], "AL") << "LineBreak.txt of unicode-data is missing";
  std::ifstream in("/usr/share/unicode/auxiliary/LineBreakTest.txt");
  ASSERT_TRUE(in) << "LineBreakTest.txt of unicode-data is missing";
  std::vector<int> used(std::size(KnownDifferences), 0);
  int checked = 0;
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream tokens(line.substr(0, line.find('#')));
    std::string token;
    WideString text;
    std::vector<bool> breaks;  // breaks[k]: a break before character k
    bool usable = true;
    while (usable && tokens >> token) {
      if (token == "\xC3\x97" || token == "\xC3\xB7") {
        breaks.push_back(token == "\xC3\xB7");
        continue;
      }
      const unsigned long cp = std::stoul(token, nullptr, 16);
      usable = cp <= 0xFFFF && (modern[cp] == ClassNames[GetLineBreakClass(static_cast<WideChar>(cp))] ||
                                (cp == 0x20 && modern[cp] == "SP"));
      text += static_cast<WideChar>(cp);
    }
    if (!usable) continue;
    for (size_t j = 0; j + 1 < text.size(); ++j) {
      if (text[j + 1] == u' ' || text.find_first_not_of(u' ') > j) continue;
      size_t before = j;
      while (text[before] == u' ') --before;
      const int known = KnownDifferenceAt(ClassNames[GetLineBreakClass(text[before])],
                                          ClassNames[GetLineBreakClass(text[j + 1])], before != j);
      if (known >= 0 && BreaksAfter(text, j) != breaks[j + 1]) {
        ++used[static_cast<size_t>(known)];
        continue;
      }
      ++checked;
      EXPECT_EQ(BreaksAfter(text, j), breaks[j + 1]) << "after character " << j << " of " << line;
    }
  }
  EXPECT_GT(checked, 2800);
  for (size_t i = 0; i < used.size(); ++i)
    EXPECT_GT(used[i], 0) << "no longer a difference: " << KnownDifferences[i].Before << " "
                          << KnownDifferences[i].After;
}

}  // namespace
