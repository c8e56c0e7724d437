#include "richtext/interchange/RPRTFSymbols.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

namespace {

TEST(RPRTFSymbols, HoldsEveryWordOnceExceptTheDoubledPnuld) {
  const auto rows = RPRTFSymbols();
  ASSERT_EQ(rows.size(), 361u);
  std::multiset<std::string> words;
  for (const auto& row : rows) words.insert(row.Keyword);
  for (const auto& word : words) EXPECT_EQ(words.count(word), word == "pnuld" ? 2u : 1u) << word;
}

TEST(RPRTFSymbols, IsSortedOrdinallyAfterTheFirstLookupAndFindsEveryRow) {
  ASSERT_NE(FindRPRTFSymbol("par"), nullptr);
  const auto rows = RPRTFSymbols();
  EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end(),
                             [](const auto& a, const auto& b) { return std::strcmp(a.Keyword, b.Keyword) < 0; }));
  for (const auto& row : rows) {
    const TRPRTFsymbol* found = FindRPRTFSymbol(row.Keyword);
    ASSERT_NE(found, nullptr) << row.Keyword;
    EXPECT_STREQ(found->Keyword, row.Keyword);
    EXPECT_EQ(found->Index, row.Index) << row.Keyword;
  }
}

TEST(RPRTFSymbols, NearNamesFindDifferentRowsAndCaseMatters) {
  const TRPRTFsymbol* par = FindRPRTFSymbol("par");
  const TRPRTFsymbol* pard = FindRPRTFSymbol("pard");
  const TRPRTFsymbol* pict = FindRPRTFSymbol("pict");
  const TRPRTFsymbol* pich = FindRPRTFSymbol("pich");
  ASSERT_TRUE(par && pard && pict && pich);
  EXPECT_EQ(std::set<const TRPRTFsymbol*>({par, pard, pict, pich}).size(), 4u);
  EXPECT_EQ(par->Action, rtf_kwd_Char);
  EXPECT_EQ(par->Index, 10);
  EXPECT_EQ(pard->Index, ripParaDefaults);
  EXPECT_EQ(pict->Index, rdsPict);
  EXPECT_EQ(pich->Index, ripPicHeight);
  EXPECT_EQ(FindRPRTFSymbol("Par"), nullptr);
  EXPECT_EQ(FindRPRTFSymbol("PAR"), nullptr);
  EXPECT_EQ(FindRPRTFSymbol(""), nullptr);
  EXPECT_EQ(FindRPRTFSymbol("parx"), nullptr);
}

TEST(RPRTFSymbols, RowsCarryTheirDefaultsForceFlagsAndGroups) {
  const struct {
    const char* Keyword;
    TRPRTFAction Action;
    int32_t Index;
    int32_t Default;
    bool Forced;
    TRPRTFPropertyGroup Group;
  } cases[] = {
      {"fs", rtf_kwd_Prop, ripFontSize, 24, false, rtf_grp_Char},
      {"b", rtf_kwd_Prop, ripBold, 1, false, rtf_grp_Char},
      {"qc", rtf_kwd_Prop, ripAlignment, 2, true, rtf_grp_Para},
      {"tlth", rtf_kwd_Prop, ripTabLeader, 4, true, rtf_grp_Para},
      {"tlul", rtf_kwd_Prop, ripTabLeader, 4, true, rtf_grp_Para},
      {"brdrengrave", rtf_kwd_Prop, ripBorderStyle, 24, true, rtf_grp_Para},
      {"brdremboss", rtf_kwd_Prop, ripBorderStyle, 24, true, rtf_grp_Para},
      {"pnlvlblt", rtf_kwd_Prop, ripPNLevel, 11, true, rtf_grp_Other},
      {"ls", rtf_kwd_Prop, ripLONumber, 1, false, rtf_grp_Para},
      {"headery", rtf_kwd_Prop, ripHeaderY, 720, false, rtf_grp_Other},
      {"paperh", rtf_kwd_Prop, ripPaperHeight, 15480, false, rtf_grp_Other},
      {"clcbpatraw", rtf_kwd_Prop, ripCellColor, 0, false, rtf_grp_Other},
      {"richpanetbw", rtf_kwd_Prop, ripRowBestWidthPx, 0, false, rtf_grp_Other},
      {"emdash", rtf_kwd_WideChar, 151, 0x2014, false, rtf_grp_Other},
      {"-", rtf_kwd_WideChar, 173, 0x00AD, false, rtf_grp_Other},
      {"~", rtf_kwd_Char, 160, 0, false, rtf_grp_Other},
      {"\\", rtf_kwd_Char, 92, 0, false, rtf_grp_Other},
      {"\n", rtf_kwd_Char, 10, 0, false, rtf_grp_Other},
      {"line", rtf_kwd_Char, 13, 0, false, rtf_grp_Other},
      {"bin", rtf_kwd_Spec, ripfBin, 0, false, rtf_grp_Other},
      {"'", rtf_kwd_Spec, ripfHex, 0, false, rtf_grp_Other},
      {"*", rtf_kwd_Spec, ripfSkipDest, 0, false, rtf_grp_Other},
      {"listtext", rtf_kwd_Dest, rdsSkip, 0, false, rtf_grp_Other},
      {"result", rtf_kwd_Dest, rdsObjResult, 0, false, rtf_grp_Other},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Keyword);
    const TRPRTFsymbol* row = FindRPRTFSymbol(c.Keyword);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->Action, c.Action);
    EXPECT_EQ(row->Index, c.Index);
    EXPECT_EQ(row->DefValue, c.Default);
    EXPECT_EQ(row->ForceDefValue, c.Forced);
    EXPECT_EQ(row->Group, c.Group);
  }
}

TEST(RPRTFSymbols, PropertyNumbersWithoutWordsStayUnused) {
  for (const auto& row : RPRTFSymbols()) {
    if (row.Action != rtf_kwd_Prop) continue;
    for (int32_t unused : {55, 56, 57, 108, 110, 164}) EXPECT_NE(row.Index, unused) << row.Keyword;
    EXPECT_GE(row.Index, 0);
    EXPECT_LE(row.Index, 167);
  }
}

}  // namespace
