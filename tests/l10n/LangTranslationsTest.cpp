#include "l10n/LangTranslations.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "LangTestFiles.h"
#include "l10n/LangErrors.h"
#include "l10n/LangLimits.h"
#include "platform/base/CodePages.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/TempFolder.h"
#include "unicode/UniClasses.h"
#include "unicode/UniSysUtils.h"

namespace {

const WideString RussianFile =
    u"; Russian texts\r\n"
    u"LANGID=1049\r\n"
    u"Author = Somebody\r\n"
    u"\r\n"
    u"[]\r\n"
    u"[ MainWindow ]\r\n"
    u"1=\u0424\u0430\u0439\u043b\u044b\r\n"
    u"2 = \u041d\u0430\u0447\u0430\u0442\u044c\r\n"
    u"x=ignored\r\n"
    u"0=ignored too\r\n"
    u"no separator here\r\n"
    u"[$Constants]\r\n"
    u"SMsgLoading=\u0417\u0430\u0433\u0440\u0443\u0437\u043a\u0430\\n\\65\r\n"
    u"=empty name\r\n"
    u"[mainwindow]\r\n"
    u"3=\u0412\u044b\u0445\u043e\u0434\r\n";

}  // namespace

class LangTranslationsFile : public ::testing::TestWithParam<TLangFileEncoding> {
protected:
  TempFolder Folder;
};

TEST_P(LangTranslationsFile, ReadsHeaderSectionsAndConstantsInEachEncoding) {
  const WideString name = WriteLangFile(Folder / "ru.lng", RussianFile, GetParam());
  TLang_CompTranslations translations;
  translations.LoadFromFile(name, false);

  EXPECT_EQ(translations.HeaderLangID(), 1049);
  ASSERT_EQ(translations.SectionCount(), 1);  // "[]" opens nothing; a section met twice continues
  const TLang_CompTranslation* main = translations.FindSection("MAINWINDOW");
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(main->Count(), 3);
  EXPECT_EQ(*main->Find(1), u"\u0424\u0430\u0439\u043b\u044b");
  EXPECT_EQ(*main->Find(2), u"\u041d\u0430\u0447\u0430\u0442\u044c");
  EXPECT_EQ(*main->Find(3), u"\u0412\u044b\u0445\u043e\u0434");
  EXPECT_EQ(main->Find(4), nullptr);
  EXPECT_EQ(translations.Constants().ConstantByName("SMsgLoading").Value,
            u"\u0417\u0430\u0433\u0440\u0443\u0437\u043a\u0430\r\nA");
}

std::string EncodingName(const ::testing::TestParamInfo<TLangFileEncoding>& info) {
  switch (info.param) {
    case TLangFileEncoding::Utf16LE:
      return "Utf16LE";
    case TLangFileEncoding::Utf8:
      return "Utf8";
    case TLangFileEncoding::Ansi1251:
      return "Ansi1251";
  }
  return "";
}

INSTANTIATE_TEST_SUITE_P(Encodings, LangTranslationsFile,
                         ::testing::Values(TLangFileEncoding::Utf16LE, TLangFileEncoding::Utf8,
                                           TLangFileEncoding::Ansi1251),
                         EncodingName);

TEST(LangTranslations, HeaderOnlyStopsAtTheFirstSection) {
  TempFolder folder;
  const WideString name = WriteLangFile(folder / "ru.lng", RussianFile, TLangFileEncoding::Utf8);
  TLang_CompTranslations translations;
  translations.LoadFromFile(name, true);
  EXPECT_EQ(translations.HeaderParamLangID(), 1049);
  EXPECT_EQ(translations.SectionCount(), 0);
  EXPECT_EQ(translations.Constants().Count(), 0);
}

TEST(LangTranslations, AFileWithoutLangIdCountsAsTheDefaultLanguage) {
  TempFolder folder;
  const WideString name =
      WriteLangFile(folder / "x.lng", u"LANGID=Russian\r\n[A]\r\n1=a\r\n", TLangFileEncoding::Utf16LE);
  TLang_CompTranslations translations;
  translations.LoadFromFile(name, false);
  EXPECT_EQ(translations.HeaderLangID(), 1033);
  EXPECT_EQ(translations.HeaderParamLangID(), 0);
}

TEST(LangTranslations, AnErrorNamesItsLineCountedFromOne) {
  TempFolder folder;
  const WideString name =
      WriteLangFile(folder / "bad.lng", u"LANGID=1049\r\n[Main]\r\n1=a\r\n1=b\r\n", TLangFileEncoding::Utf16LE);
  TLang_CompTranslations translations;
  try {
    translations.LoadFromFile(name, false);
    FAIL() << "no ELangError";
  } catch (const ELangError& e) {
    EXPECT_EQ(e.Message(), "Loading translations failed.\r\nLine 4: Duplicate property value translation ID (1)");
  }
  const WideString badConstant =
      WriteLangFile(folder / "bad2.lng", u"[$CONSTANTS]\r\n9lives=x\r\n", TLangFileEncoding::Utf8);
  try {
    translations.LoadFromFile(badConstant, false);
    FAIL() << "no ELangError";
  } catch (const ELangError& e) {
    EXPECT_EQ(e.Message(), "Loading translations failed.\r\nLine 2: Invalid constant name (\"9lives\")");
  }
}

TEST(LangTranslations, AMissingFileRaisesTheStreamError) {
  TempFolder folder;
  TLang_CompTranslations translations;
  EXPECT_THROW(translations.LoadFromFile(FileSystemNameToWide(folder / "none.lng"), false), Exception);
}

TEST(LangTranslations, An8BitFileIsReadInTheCodePageOfItsOwnLanguage) {
  // The system's code page is Western; the file names Russian and holds Windows-1251 bytes.
  ASSERT_TRUE(SetAnsiCodePage(1252));
  TempFolder folder;
  const WideString name =
      WriteLangFile(folder / "ru.lng", u"LANGID=1049\r\n[W]\r\n1=\u041f\u0440\u0438\u0432\u0435\u0442\r\n",
                    TLangFileEncoding::Ansi1251);
  TLang_CompTranslations translations;
  translations.LoadFromFile(name, false);
  SetAnsiCodePage(1251);
  EXPECT_EQ(*translations.FindSection("W")->Find(1), u"\u041f\u0440\u0438\u0432\u0435\u0442");
}

TEST(LangTranslations, ABigEndianFileIsReadByItsMark) {
  const uint8_t bytes[] = {0xFE, 0xFF, 0, '[', 0, 'W', 0, ']', 0, '\n', 0, '1', 0, '=', 0x04, 0x1F};
  TMemoryStream stream;
  stream.WriteBuffer(bytes, sizeof bytes);
  stream.SetPosition(0);
  TLang_CompTranslations translations;
  translations.LoadTranslations(stream, false);
  EXPECT_EQ(*translations.FindSection("W")->Find(1), u"\u041f");
}

TEST(LangTranslations, AFileOverTheLimitIsRefused) {
  const int64_t saved = LangLimits().MaxFileBytes;
  LangLimits().MaxFileBytes = 8;
  TMemoryStream stream;
  stream.WriteBuffer("LANGID=1049\r\n", 13);
  stream.SetPosition(0);
  TLang_CompTranslations translations;
  try {
    translations.LoadTranslations(stream, false);
    ADD_FAILURE() << "no ELangError";
  } catch (const ELangError& e) {
    EXPECT_EQ(e.Message(), "Language file is too large (13 bytes; at most 8)");
  }
  LangLimits().MaxFileBytes = saved;
}

// A load that fails half-way leaves no section, parameter or constant of the bad file
// behind; the same object then loads a good file.
TEST(LangTranslations, AFailedLoadLeavesTheObjectAsItWas) {
  TempFolder folder;
  const WideString good =
      WriteLangFile(folder / "good.lng", u"LANGID=1031\r\n[Form]\r\n1=gut\r\n", TLangFileEncoding::Utf8);
  const WideString bad =
      WriteLangFile(folder / "bad.lng", u"LANGID=1049\r\n[$CONSTANTS]\r\nSBad=x\r\n[Other]\r\n1=a\r\n1=b\r\n",
                    TLangFileEncoding::Utf8);
  TLang_CompTranslations translations;
  translations.LoadFromFile(good, false);
  EXPECT_THROW(translations.LoadFromFile(bad, false), ELangError);
  EXPECT_EQ(translations.HeaderLangID(), 1031);
  EXPECT_EQ(translations.SectionCount(), 1);
  EXPECT_EQ(translations.FindSection("Other"), nullptr);
  EXPECT_EQ(translations.Constants().Count(), 0);
  EXPECT_EQ(*translations.FindSection("Form")->Find(1), u"gut");

  ASSERT_EQ(mkfifo((folder / "fifo.lng").c_str(), 0600), 0);
  EXPECT_THROW(translations.LoadFromFile(FileSystemNameToWide(folder / "fifo.lng"), false), EWideFOpenError);
  EXPECT_EQ(translations.HeaderLangID(), 1031);

  translations.LoadFromFile(WriteLangFile(folder / "ru.lng", RussianFile, TLangFileEncoding::Utf8), false);
  EXPECT_EQ(translations.HeaderLangID(), 1049);
  EXPECT_EQ(translations.FindSection("Form"), nullptr);
}

namespace {

// A stream that cannot seek to its end, as some files under /proc: its size is -1.
class TSizelessStream : public TStringStream {
public:
  using TStringStream::TStringStream;
  int64_t Seek(int64_t offset, TSeekOrigin origin) override {
    return origin == soEnd ? -1 : TStringStream::Seek(offset, origin);
  }
};

}  // namespace

TEST(LangTranslations, AStreamThatCannotTellItsSizeIsReadToItsEnd) {
  TSizelessStream stream("LANGID=1049\r\n[W]\r\n1=x\r\n");
  ASSERT_EQ(stream.Size(), -1);
  TLang_CompTranslations translations;
  translations.LoadTranslations(stream, false);
  EXPECT_EQ(translations.HeaderLangID(), 1049);
  EXPECT_EQ(*translations.FindSection("W")->Find(1), u"x");
}
