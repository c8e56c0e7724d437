#include "l10n/LangConstants.h"

#include <gtest/gtest.h>

#include "l10n/LangErrors.h"

namespace {

TLang_Constants MakeConstants(uint16_t langId = 1033) {
  return TLang_Constants([langId] { return langId; });
}

void ExpectLangError(const std::function<void()>& action, const std::string& message) {
  try {
    action();
    FAIL() << "no ELangError";
  } catch (const ELangError& e) {
    EXPECT_EQ(e.Message(), message);
  }
}

}  // namespace

TEST(LangConstants, KeepsNamesSortedCaseInsensitively) {
  TLang_Constants constants = MakeConstants();
  constants.AddConstant("SMsgLoading", u"Loading...", 0);
  constants.AddConstant("sErrUserBreak", u"User break!", 0);
  constants.AddConstant("SBtnStart", u"Start", 0);
  ASSERT_EQ(constants.Count(), 3);
  EXPECT_EQ(constants.Items(0).Name, "SBtnStart");
  EXPECT_EQ(constants.Items(1).Name, "sErrUserBreak");
  EXPECT_EQ(constants.ConstantByName("SERRUSERBREAK").Value, u"User break!");
}

TEST(LangConstants, RefusesBadAndDuplicateNames) {
  TLang_Constants constants = MakeConstants();
  constants.AddConstant("SName_1", u"x", 0);
  ExpectLangError([&] { constants.AddConstant("1Name", u"", 0); }, "Invalid constant name (\"1Name\")");
  ExpectLangError([&] { constants.AddConstant("S Name", u"", 0); }, "Invalid constant name (\"S Name\")");
  ExpectLangError([&] { constants.AddConstant("sname_1", u"", 0); }, "Duplicate constant name (\"sname_1\")");
  ExpectLangError([&] { constants.ConstantByName("SMissing"); }, "Constant \"SMissing\" not found");
}

TEST(LangConstants, TranslatesAndReturnsToDefaults) {
  TLang_Constants constants = MakeConstants();
  constants.AddConstant("SA", u"Alpha", 0);
  constants.AddConstant("SB", u"Beta", 0);
  TLang_Constants translated = MakeConstants();
  translated.AddConstant("sa", u"\u0410\u043b\u044c\u0444\u0430", 0);
  constants.TranslateFrom(&translated);
  EXPECT_EQ(constants.ConstantByName("SA").Value, u"\u0410\u043b\u044c\u0444\u0430");
  EXPECT_EQ(constants.ConstantByName("SB").Value, u"Beta");
  // A second language that lacks SA shows SA's default, not the first language's text.
  TLang_Constants second = MakeConstants();
  second.AddConstant("SB", u"Beta (de)", 0);
  constants.TranslateFrom(&second);
  EXPECT_EQ(constants.ConstantByName("SA").Value, u"Alpha");
  EXPECT_EQ(constants.ConstantByName("SB").Value, u"Beta (de)");
  constants.TranslateFrom(&translated);
  constants.TranslateFrom(nullptr);
  EXPECT_EQ(constants.ConstantByName("SA").Value, u"Alpha");
  EXPECT_EQ(constants.ConstantByName("SB").Value, u"Beta");
}

TEST(LangConstants, StreamRoundTripInTheCurrentVersion) {
  TLang_Constants constants = MakeConstants();
  constants.AddConstant("SA", u"\u0410 and A", 0);
  constants.AddConstant("SEmpty", u"", 0);
  TMemoryStream stream;
  constants.SaveToStream(stream);
  // version 2, auto-save 1, count 2, "SA" then "SEmpty"
  const uint8_t* bytes = static_cast<const uint8_t*>(stream.Memory());
  EXPECT_EQ(bytes[0], 2);
  EXPECT_EQ(bytes[1], 1);
  EXPECT_EQ(bytes[2], 2);
  stream.SetPosition(0);
  TLang_Constants loaded = MakeConstants();
  loaded.LoadFromStream(stream);
  ASSERT_EQ(loaded.Count(), 2);
  EXPECT_EQ(loaded.ConstantByName("SA").DefaultValue, u"\u0410 and A");
  EXPECT_EQ(loaded.ConstantByName("SEmpty").Value, u"");
  EXPECT_EQ(stream.Position(), stream.Size());
}

TEST(LangConstants, ReadsOldVersionsInTheCodePageOfTheLanguage) {
  // version 1: u32 count 1; name "SA"; value 0xCF 0xF0 ("Пр" in code page 1251)
  const uint8_t version1[] = {1, 1, 0, 0, 0, 2, 0, 'S', 'A', 2, 0, 0xCF, 0xF0};
  TMemoryStream stream;
  stream.WriteBuffer(version1, sizeof version1);
  stream.SetPosition(0);
  TLang_Constants russian = MakeConstants(1049);
  russian.LoadFromStream(stream);
  EXPECT_TRUE(russian.AutoSaveLangSource());
  EXPECT_EQ(russian.ConstantByName("SA").Value, u"\u041f\u0440");

  const uint8_t version0[] = {0, 0, 0, 0, 0};
  TMemoryStream empty;
  empty.WriteBuffer(version0, sizeof version0);
  empty.SetPosition(0);
  russian.LoadFromStream(empty);
  EXPECT_FALSE(russian.AutoSaveLangSource());
  EXPECT_EQ(russian.Count(), 0);
}

TEST(LangConstants, RefusesANewerStreamAndTruncatedOnes) {
  const uint8_t newer[] = {3, 1, 0, 0, 0, 0};
  TMemoryStream stream;
  stream.WriteBuffer(newer, sizeof newer);
  stream.SetPosition(0);
  TLang_Constants constants = MakeConstants();
  ExpectLangError([&] { constants.LoadFromStream(stream); }, "Stream version (3) is greater than the current one (2)");

  const uint8_t truncated[] = {2, 1, 5, 0, 0, 0, 2, 0, 'S'};
  TMemoryStream shortStream;
  shortStream.WriteBuffer(truncated, sizeof truncated);
  shortStream.SetPosition(0);
  EXPECT_THROW(constants.LoadFromStream(shortStream), EReadError);
}

TEST(LangConstants, AFailedLoadKeepsTheListAndAGoodOneReplacesIt) {
  TLang_Constants constants = MakeConstants();
  constants.AddConstant("SKept", u"kept", 0);
  // version 2, auto-save 0, count 2, "SA" = "x", then the second constant cut short
  const uint8_t truncated[] = {2, 0, 2, 0, 0, 0, 2, 0, 'S', 'A', 1, 0, 'x', 0, 2, 0, 'S'};
  TMemoryStream cut;
  cut.WriteBuffer(truncated, sizeof truncated);
  cut.SetPosition(0);
  EXPECT_THROW(constants.LoadFromStream(cut), EReadError);
  ASSERT_EQ(constants.Count(), 1);
  EXPECT_EQ(constants.Items(0).Name, "SKept");
  EXPECT_TRUE(constants.AutoSaveLangSource());

  const uint8_t good[] = {2, 0, 1, 0, 0, 0, 2, 0, 'S', 'A', 1, 0, 'x', 0};
  TMemoryStream whole;
  whole.WriteBuffer(good, sizeof good);
  whole.SetPosition(0);
  constants.LoadFromStream(whole);
  ASSERT_EQ(constants.Count(), 1);
  EXPECT_EQ(constants.ConstantByName("SA").Value, u"x");
  EXPECT_FALSE(constants.AutoSaveLangSource());
}
