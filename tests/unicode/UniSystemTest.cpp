#include "unicode/UniSystem.h"

#include <gtest/gtest.h>

#include "Peers.h"
#include "platform/base/CodePages.h"
#include "platform/base/LastError.h"
#include "platform/base/Locale.h"
#include "platform/base/System.h"
#include "unicode/UniSysUtils.h"

namespace {

// Every test starts and ends with the runtime's switches off and no hook installed.
class UniSystemTest : public ::testing::Test {
protected:
  void SetUp() override { UninstallUnicodeRuntimePatches(); }
  void TearDown() override {
    UninstallUnicodeRuntimePatches();
    ResStringLoadHook = nullptr;
  }
};

const WideString kSamples[] = {
    u"",
    u"plain ASCII text",
    u"\u041f\u0440\u0438\u0432\u0435\u0442, \u043c\u0438\u0440!",  // Cyrillic
    u"\u65e5\u672c\u8a9e \u4e2d\u6587",                            // CJK
    u"emoji \U0001F600 and \U00010348 beyond the BMP",             // surrogate pairs
    u"\u00e9\u20ac\u2122 mixed with + and - and ~\\ and \"quotes\"",
    u"line\r\nbreaks\tand tabs",
};

// ---- UTF-8 -------------------------------------------------------------------------------

TEST_F(UniSystemTest, Utf8AgreesWithIconvBothWays) {
  for (const WideString& sample : kSamples) {
    SCOPED_TRACE(WideToUtf8(sample));
    std::string expectedUtf8;
    ASSERT_TRUE(Iconv("UTF-16LE", "UTF-8", Utf16LeBytes(sample), expectedUtf8));
    EXPECT_EQ(WideToUtf8(sample), expectedUtf8);
    EXPECT_EQ(Utf8ToWide(expectedUtf8), sample);
  }
}

TEST_F(UniSystemTest, Utf8FourByteSequenceIsOneSurrogatePair) {
  EXPECT_EQ(Utf8ToWide("\xF0\x9F\x98\x80"), u"\xD83D\xDE00");
  EXPECT_EQ(WideToUtf8(u"\xD83D\xDE00"), "\xF0\x9F\x98\x80");
}

TEST_F(UniSystemTest, Utf8LoneSurrogateIsEncodedAsReplacementCharacter) {
  EXPECT_EQ(WideToUtf8(u"a\xD800z"), "a\xEF\xBF\xBDz");
  EXPECT_EQ(WideToUtf8(u"\xDC00"), "\xEF\xBF\xBD");
}

TEST_F(UniSystemTest, Utf8MalformedPartsBecomeReplacementCharactersAsPythonDecodes) {
  // Each maximal ill-formed part is one U+FFFD; what follows it decodes normally.
  const std::string cases[] = {
      "ok\x80ok",                        // a lone continuation byte
      "\xC3",                            // a truncated two-byte sequence at the end
      "\xE2\x82x",                       // a truncated three-byte sequence before "x"
      "\xC0\xAF",                        // an overlong "/"
      "\xED\xA0\x80\xED\xB0\x80",        // surrogates encoded as three-byte sequences
      "\xF4\x90\x80\x80",                // beyond U+10FFFF
      "\xFF\xFE",                        // bytes that never occur
      "a\xF0\x9F\x98z\xF0\x9F\x98\x80",  // a truncated four-byte sequence, then a whole one
  };
  for (const std::string& bytes : cases) {
    SCOPED_TRACE(bytes);
    std::string expected;
    ASSERT_TRUE(
        RunPeer("/usr/bin/python3 -c \"import sys; sys.stdout.buffer.write("
                "sys.stdin.buffer.read().decode('utf-8', 'replace').encode('utf-16-le'))\"",
                bytes, expected));
    EXPECT_EQ(Utf8ToWide(bytes), FromUtf16LeBytes(expected));
  }
}

// ---- UTF-7 -------------------------------------------------------------------------------

TEST_F(UniSystemTest, Utf7DecodingAgreesWithIconv) {
  const std::string cases[] = {
      "A+ImIDkQ.",     "Hi Mom -+Jjo--!",
      "+ZeVnLIqe-",    "+-",
      "a+AH4-b",       "+2D3eAA-",
      "+AGEAYgBj",     "direct: ' ( ) , - . / : ? ! # $ % & * ; < = > @ [ ] ^ _ ` { | }",
      "tab\tCR\rLF\n", "",
  };
  for (const std::string& utf7 : cases) {
    SCOPED_TRACE(utf7);
    std::string expected;
    ASSERT_TRUE(Iconv("UTF-7", "UTF-16LE", utf7, expected));
    EXPECT_EQ(Utf7ToWide(utf7), FromUtf16LeBytes(expected));
  }
}

TEST_F(UniSystemTest, Utf7EncodingFollowsItsRules) {
  const struct {
    WideString Text;
    std::string Utf7;
  } cases[] = {
      {u"A+B", "A+-B"},           {u"caf\u00e9", "caf+AOk"},  // a run at the end: no closing "-"
      {u"\u00e9-", "+AOk--"},                                 // "-" after a run needs the terminator
      {u"\u00e9a", "+AOk-a"},                                 // so does a base64 digit
      {u"\u00e9.", "+AOk."},                                  // other direct characters do not
      {u"\u00e9+", "+AOk-+-"},                                // "+" reads as a base64 digit
      {u"a!b{c}", "a!b{c}"},                                  // Set O is written directly
      {u"~\\", "+AH4AXA"},                                    // "~" and "\" are not
      {u"\U0001F600", "+2D3eAA"}, {u"", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Utf7);
    EXPECT_EQ(WideToUtf7(c.Text), c.Utf7);
  }
}

TEST_F(UniSystemTest, Utf7RoundTripsThroughIconv) {
  for (const WideString& sample : kSamples) {
    const std::string utf7 = WideToUtf7(sample);
    SCOPED_TRACE(utf7);
    std::string decoded;
    ASSERT_TRUE(Iconv("UTF-7", "UTF-16LE", utf7, decoded));
    EXPECT_EQ(FromUtf16LeBytes(decoded), sample);
    EXPECT_EQ(Utf7ToWide(utf7), sample);
  }
}

TEST_F(UniSystemTest, Utf7InvalidInputRaises) {
  const std::string cases[] = {
      "caf\xC3\xA9",  // a byte above 127 outside a run
      "+AOk\xC3",     // ... which also ends a run
      "+!",           // "+" followed by neither a base64 digit nor "-"
      "a+",           // a run that ends at once
      "+A-",          // six bits: no character
      "+AOl-",        // non-zero bits left over
  };
  for (const std::string& utf7 : cases) {
    SCOPED_TRACE(utf7);
    try {
      Utf7ToWide(utf7);
      ADD_FAILURE() << "no exception";
    } catch (const EUniGeneralError& e) {
      EXPECT_STREQ(e.what(), "Invalid UTF7");
    }
  }
}

// ---- Code pages --------------------------------------------------------------------------

TEST_F(UniSystemTest, CodePagesAgreeWithIconv) {
  std::string upperHalf;
  for (int b = 0x80; b <= 0xFF; ++b)
    if (b != 0x98) upperHalf += static_cast<char>(b);  // 0x98 is undefined in 1251
  for (const auto& [codePage, name] : {std::pair{1251u, "CP1251"}, std::pair{866u, "CP866"}}) {
    SCOPED_TRACE(name);
    std::string expected;
    ASSERT_TRUE(Iconv(name, "UTF-16LE", upperHalf, expected));
    const WideString wide = AnsiToWideWithCodePage(upperHalf, codePage);
    EXPECT_EQ(wide, FromUtf16LeBytes(expected));
    EXPECT_EQ(WideToAnsiWithCodePage(wide, codePage), upperHalf);
  }
}

TEST_F(UniSystemTest, CodePagesSelectUtf7AndUtf8) {
  EXPECT_EQ(AnsiToWideWithCodePage("A+-B", CP_UTF7), u"A+B");
  EXPECT_EQ(WideToAnsiWithCodePage(u"A+B", CP_UTF7), "A+-B");
  EXPECT_EQ(AnsiToWideWithCodePage("\xD0\x96", CP_UTF8), u"\u0416");
  EXPECT_EQ(WideToAnsiWithCodePage(u"\u0416", CP_UTF8), "\xD0\x96");
}

TEST_F(UniSystemTest, UnmappableCharactersBecomeQuestionMarksAndAreReported) {
  AnsiString ansi;
  EXPECT_FALSE(TryWideToAnsiWithCodePage(u"\u0416\u20ac\u4e2d", 1251, ansi));
  EXPECT_EQ(ansi, "\xC6\x88?");
  EXPECT_TRUE(TryWideToAnsiWithCodePage(u"\u0416\u20ac", 1251, ansi));
  EXPECT_FALSE(TryWideToAnsiWithCodePage(u"\xD800", CP_UTF8, ansi));
  EXPECT_TRUE(TryWideToAnsiWithCodePage(u"\U0001F600", CP_UTF7, ansi));
}

TEST_F(UniSystemTest, DefaultConversionFollowsUserCodePageOnceSwitchedOn) {
  ASSERT_EQ(UserCodePage, CP_THREAD_ACP);
  UserCodePage = CP_UTF8;
  EXPECT_EQ(DefaultAnsiToWide("\xC6"), u"\u0416");  // the ANSI code page 1251 before the switch
  InstallUnicodeRuntimePatches(urpResStrings);
  EXPECT_EQ(DefaultAnsiToWide("\xD0\x96"), u"\u0416");
  EXPECT_EQ(DefaultWideToAnsi(u"\u0416"), "\xD0\x96");
  UninstallUnicodeRuntimePatches();
  UserCodePage = CP_THREAD_ACP;
}

TEST_F(UniSystemTest, UserCodePageSwitchSetsAnsiCodePageAndIsUndone) {
  InstallUnicodeRuntimePatches(urpUserCodePage);
  EXPECT_EQ(UserCodePage, CP_ACP);
  EXPECT_TRUE(UnicodeRuntimePatchInstalled(urpUserCodePage));
  EXPECT_FALSE(UnicodeRuntimePatchInstalled(urpResStrings));
  UninstallUnicodeRuntimePatches();
  EXPECT_EQ(UserCodePage, CP_THREAD_ACP);
  EXPECT_FALSE(UnicodeRuntimePatchInstalled(urpUserCodePage));
}

// ---- Resource strings --------------------------------------------------------------------

constexpr TResStringRec SUtf8Text{"SUtf8Text", "\xEF\xBB\xBF\xE4\xB8\xAD\xD0\x96"};
constexpr TResStringRec SOnlySignature{"SOnlySignature", "\xEF\xBB\xBF"};
constexpr TResStringRec SAnsiText{"SAnsiText", "\xCF\xF0\xE8\xE2\xE5\xF2"};

TEST_F(UniSystemTest, ResStringsDecodeUtf8AfterSignatureElseAnsi) {
  EXPECT_EQ(LoadWideResString(&SUtf8Text), u"\u4e2d\u0416");
  // Exactly the three signature bytes are 8-bit text (1251: "п»ї").
  EXPECT_EQ(LoadWideResString(&SOnlySignature), u"\u043f\u00bb\u0457");
  EXPECT_EQ(LoadWideResString(&SAnsiText), u"\u041f\u0440\u0438\u0432\u0435\u0442");
  EXPECT_EQ(LoadWideResString(static_cast<PResStringRec>(nullptr)), u"");
}

bool TranslateOnlyAnsiText(PResStringRec record, WideString& text) {
  if (record != &SAnsiText) return false;
  text = u"translated";
  return true;
}

TEST_F(UniSystemTest, ResStringHookIsAskedFirst) {
  ResStringLoadHook = TranslateOnlyAnsiText;
  EXPECT_EQ(LoadWideResString(&SAnsiText), u"translated");
  EXPECT_EQ(LoadWideResString(&SUtf8Text), u"\u4e2d\u0416");  // the hook declined
}

TEST_F(UniSystemTest, ResStringsByIdentifierComeFromTheStringTable) {
  ResStringLoadHook = TranslateOnlyAnsiText;  // records only: the table is read
  EXPECT_EQ(LoadWideResString(17u), u"Seventeen");
  EXPECT_EQ(LoadWideResString(18u), u"\u041a\u043d\u0438\u0433\u0430 \u4e2d\u6587 \U0001F4D6");
  EXPECT_EQ(LoadWideResString(19u), u"");    // a missing entry
  EXPECT_EQ(LoadWideResString(5000u), u"");  // a missing block
}

TEST_F(UniSystemTest, AnsiResStringRoundTripsToItsUtf16Original) {
  EXPECT_EQ(LoadAnsiResString(&SUtf8Text), SUtf8Text.Text);  // switched off: unchanged
  InstallUnicodeRuntimePatches(urpResStrings);
  const AnsiString ansi = LoadAnsiResString(&SUtf8Text);
  EXPECT_EQ(ansi, "?\xC6");
  EXPECT_EQ(DefaultAnsiToWide(ansi), u"\u4e2d\u0416");  // right away: the original
  EXPECT_EQ(DefaultAnsiToWide(ansi), u"?\u0416");       // later: a plain conversion
}

// ---- Command line ------------------------------------------------------------------------

TEST_F(UniSystemTest, CommandLineTokenizer) {
  const struct {
    WideString Line;
    std::vector<WideString> Tokens;
  } cases[] = {
      {u"prog a b", {u"prog", u"a", u"b"}},
      {u"  prog\t\"with blanks\"  x", {u"prog", u"with blanks", u"x"}},
      {u"prog \"\" after", {u"prog", u"after"}},  // an empty pair is skipped
      {u"prog a\"b c\"d", {u"prog", u"ab cd"}},   // quotes group inside a token
      {u"prog \"unclosed rest", {u"prog", u"unclosed rest"}},
      {u"prog \u0416\u4e2d", {u"prog", u"\u0416\u4e2d"}},
      {u"", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.Line));
    std::vector<WideString> tokens;
    const WideChar* cursor = c.Line.c_str();
    for (WideString token; (cursor = NextWideParam(cursor, token)), !token.empty();) tokens.push_back(token);
    EXPECT_EQ(tokens, c.Tokens);
  }
}

TEST_F(UniSystemTest, ParamStrTakesTokensOfTheCommandLine) {
  EXPECT_EQ(WideString(WideCommandLine()), WideString(GetCommandLineW()));
  SetWideCommandLine(u"/opt/prog plain \"with blanks\" \u0416 bad\xDCFF");
  EXPECT_EQ(WideParamStr(1), u"plain");
  EXPECT_EQ(WideParamStr(2), u"with blanks");
  EXPECT_EQ(WideParamStr(3), u"\u0416");
  EXPECT_EQ(WideParamStr(4), u"bad\xDCFF");
  EXPECT_EQ(WideParamStr(5), u"");
  EXPECT_EQ(WideParamStr(-1), u"");
  EXPECT_EQ(WideParamStr(0), WideGetModuleFileName(0));
  SetWideCommandLine(u"");
  EXPECT_EQ(WideString(WideCommandLine()), WideString(GetCommandLineW()));
}

// ---- Small routines ----------------------------------------------------------------------

TEST_F(UniSystemTest, CodePagesOfLocalesAndTheKeyboard) {
  EXPECT_EQ(CodePageFromLocale(0x0419), 1251u);     // Russian
  EXPECT_EQ(CodePageFromLocale(0x0409), 1252u);     // English (United States)
  EXPECT_EQ(CodePageFromLocale(0x7777), GetACP());  // no such locale: the system's
  EXPECT_EQ(KeyboardCodePage(), CodePageFromLocale(GetUserDefaultLangID()));
}

TEST_F(UniSystemTest, KeyboardCharacters) {
  EXPECT_EQ(KeyboardCharToWide(0x4E2D), u'\u4e2d');  // 256 and more: unchanged
  EXPECT_EQ(KeyboardCharToWide('a'), u'a');
  EXPECT_EQ(KeyboardCharToWide(0x80), u'\u20ac');  // 1252, the English keyboard's
  EXPECT_EQ(KeyboardCharToWide(0x01), u'\u263a');  // control codes as their glyphs
  EXPECT_EQ(KeyboardCharToWide(0x0D), u'\u266a');
  EXPECT_EQ(KeyboardCharToWide(0x7F), u'\u2302');
}

TEST_F(UniSystemTest, SwapUtf16ByteOrderStopsAtZero) {
  WideChar text[] = {0x1234, 0x00FF, 0, 0xABCD};
  SwapUtf16ByteOrder(text);
  EXPECT_EQ(text[0], 0x3412);
  EXPECT_EQ(text[1], 0xFF00);
  EXPECT_EQ(text[3], 0xABCD);
}

TEST_F(UniSystemTest, RaiseLastOSErrorFollowsTheExceptionSwitch) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  try {
    RaiseLastOSError();
  } catch (const EOSError& e) {
    EXPECT_EQ(e.ErrorCode(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(e.Message(), "System Error.  Code: 2.\r\n" + DefaultWideToAnsi(SystemErrorMessage(2)));
  }
  InstallUnicodeRuntimePatches(urpExceptions);
  SetLastError(ERROR_PATH_NOT_FOUND);
  try {
    RaiseLastOSError();
  } catch (const EWideOSError& e) {
    EXPECT_EQ(e.ErrorCode(), ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(e.WideMessage(), SystemErrorMessage(ERROR_PATH_NOT_FOUND));
  }
  SetLastError(0);
  try {
    RaiseLastOSError();
  } catch (const EWideOSError& e) {
    EXPECT_EQ(e.ErrorCode(), 0u);
    EXPECT_EQ(e.WideMessage(), u"A call to an OS function failed");
  }
}

}  // namespace
