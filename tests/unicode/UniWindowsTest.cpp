#include "unicode/UniWindows.h"

#include <gtest/gtest.h>
#include <fstream>

#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/Library.h"
#include "platform/base/Locale.h"
#include "platform/base/TempFolder.h"
#include "platform/base/UnicodeCase.h"
#include "unicode/PlatformFamily.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

// Runs a test body on the 8-bit platform and restores the NT family afterwards.
class EightBitPlatform : public ::testing::Test {
protected:
  WideString Name(const std::string& utf8) { return FileSystemNameToWide(FFolder / utf8); }

  TEightBitPlatformScope FEightBit;
  TempFolder FFolder;
};

// ---- AnsiResultToWideBuffer --------------------------------------------------------------

TEST(UniWindows, AnsiResultToWideBufferModes) {
  WideChar buffer[8];
  const auto fill = [&] { std::fill(std::begin(buffer), std::end(buffer), u'#'); };
  const AnsiString path = "/a/\xC6/bc";  // "/a/Ж/bc": 7 characters
  const struct {
    uint32_t Size;
    TAnsiResultMode Mode;
    uint32_t Result;
    const char16_t* Buffer;  // all 8 characters
  } cases[] = {
      {8, armClear, 7, u"/a/\u0416/bc\0"},      // fits: copied with terminator
      {7, armModuleName, 7, u"/a/\u0416/bc#"},  // exactly `size`, no terminator
      {5, armModuleName, 5, u"/a/\u0416/###"},
      {7, armFitTerminated, 8, u"/a/\u0416/b\0#"},  // n = size: cut by one, terminated
      {6, armFitTerminated, 8, u"########"},        // otherwise only the size needed
      {6, armClear, 8, u"\0#######"},
      {6, armPathPrefix, 8, u"/a/\u0416/\0##"},  // up to the last "/" that fits
      {3, armPathPrefix, 8, u"/\0######"},
      {0, armClear, 8, u"########"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Size * 100 + c.Mode);
    fill();
    EXPECT_EQ(AnsiResultToWideBuffer(c.Size, buffer, path, c.Mode), c.Result);
    EXPECT_EQ(WideString(buffer, 8), WideString(c.Buffer, 8));
  }
}

TEST(UniWindows, IsIntResource) {
  EXPECT_TRUE(IsIntResource(reinterpret_cast<const void*>(uintptr_t{17})));
  EXPECT_TRUE(IsIntResource(nullptr));
  EXPECT_FALSE(IsIntResource("RCDATA"));
}

// ---- Wide calls take any name ------------------------------------------------------------

TEST(UniWindows, WideCallsTakeNamesOutsideTheUserCodePage) {
  TempFolder folder;
  const WideString dir = FileSystemNameToWide(folder / "\xE4\xB8\xAD\xE6\x96\x87");  // CJK
  ASSERT_TRUE(WideCreateDirectory(dir.c_str()));
  const WideString file = dir + u"/\U0001F600.txt";
  const THandle handle = WideCreateFile(file.c_str(), GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  FileClose(handle);
  EXPECT_NE(WideGetFileAttributes(file.c_str()), INVALID_FILE_ATTRIBUTES);
  WIN32_FIND_DATAW data;
  const THandle search = WideFindFirstFile((dir + u"/*").c_str(), &data);
  ASSERT_NE(search, INVALID_HANDLE_VALUE);
  FindClose(search);
  EXPECT_TRUE(WideMoveFile(file.c_str(), (dir + u"/\u4e2d").c_str()));
  EXPECT_TRUE(WideDeleteFileApi((dir + u"/\u4e2d").c_str()));
}

TEST(UniWindows, UpperCaseByCharacter) {
  EXPECT_EQ(WideCharUpper(u'\u0436'), u'\u0416');
  EXPECT_EQ(WideCharUpper(u'\u00df'), u'\u00df');  // no single upper-case unit
  WideChar text[] = u"abc\u00e9\u4e2d";
  EXPECT_EQ(WideString(WideCharUpper(text)), u"ABC\u00c9\u4e2d");
  WideChar buffer[] = {u'x', u'y', u'z'};
  EXPECT_EQ(WideCharUpperBuff(buffer, 2), 2u);
  EXPECT_EQ(WideString(buffer, 3), u"XYz");
}

// ---- String tables (tests/data/unicode/runtime-strings.txt) ------------------------------

TEST(UniWindows, StringTableReaderAgreesWithTheWideLoad) {
  for (uint32_t id : {16u, 17u, 18u, 19u, 1000u}) {
    SCOPED_TRACE(id);
    WideChar wide[64] = {};
    WideChar fromTable[64] = {};
    const int32_t wideLength = LoadStringW(HInstance, id, wide, 64);
    EXPECT_EQ(LoadStringFromTable(HInstance, id, fromTable, 64), wideLength);
    EXPECT_EQ(WideString(fromTable), WideString(wide));
  }
  WideChar buffer[64];
  EXPECT_EQ(LoadStringFromTable(HInstance, 17, buffer, 64), 9);  // entry 1 of block 2
  EXPECT_EQ(WideString(buffer), u"Seventeen");
  EXPECT_EQ(LoadStringFromTable(HInstance, 18, buffer, 64), 11);
  EXPECT_EQ(WideString(buffer), u"\u041a\u043d\u0438\u0433\u0430 \u4e2d\u6587 \U0001F4D6");
}

TEST(UniWindows, StringTableReaderLimitsAndIdentifiers) {
  WideChar buffer[8] = {u'#', u'#', u'#', u'#', u'#', u'#', u'#', u'#'};
  EXPECT_EQ(LoadStringFromTable(HInstance, 17, nullptr, 0), 9);  // the length alone
  EXPECT_EQ(LoadStringFromTable(HInstance, 17, buffer, 0), 9);
  EXPECT_EQ(buffer[0], u'#');
  EXPECT_EQ(LoadStringFromTable(HInstance, 17, buffer, 4), 3);  // cut and terminated
  EXPECT_EQ(WideString(buffer), u"Sev");
  EXPECT_EQ(LoadStringFromTable(HInstance, 0xFFFFFFEF, buffer, 8), 7);  // -17 stands for 17
  EXPECT_EQ(WideString(buffer), u"Sevente");
  EXPECT_EQ(LoadStringFromTable(HInstance, 0xFFFFF, buffer, 8), 0);  // beyond every block
}

// ---- Version information (VERSION 2.5.0.7 in tests/unicode/CMakeLists.txt) -------------

// The high file-version word of the program, read through the wrappers; 0 when any step fails.
uint32_t ProgramFileVersionMS() {
  const WideString program = WideGetModuleFileName(HInstance);
  std::vector<uint8_t> block(WideGetFileVersionInfoSize(program.c_str(), nullptr));
  void* fixed = nullptr;
  uint32_t length = 0;
  if (block.empty() || !WideGetFileVersionInfo(program.c_str(), 0, static_cast<uint32_t>(block.size()), block.data()) ||
      !WideVerQueryValue(block.data(), u"\\", &fixed, &length) || length != sizeof(VS_FIXEDFILEINFO))
    return 0;
  return static_cast<const VS_FIXEDFILEINFO*>(fixed)->dwFileVersionMS;
}

TEST(UniWindows, VersionOfTheProgram) { EXPECT_EQ(ProgramFileVersionMS(), (2u << 16) | 5u); }

TEST(UniWindows, LoadsLibraries) {
  const HMODULE math = WideLoadLibrary(u"libm.so.6");
  ASSERT_NE(math, 0u);
  EXPECT_NE(GetProcAddress(math, "floor"), nullptr);
  FreeLibrary(math);
  EXPECT_EQ(WideLoadLibrary(u"libno-such-library.so"), 0u);
  EXPECT_EQ(GetLastError(), ERROR_MOD_NOT_FOUND);
}

TEST(UniWindows, NoVersionForOtherFiles) {
  TempFolder folder;
  std::ofstream(folder / "plain.txt") << "x";
  EXPECT_EQ(WideGetFileVersionInfoSize(FileSystemNameToWide(folder / "plain.txt").c_str(), nullptr), 0u);
  EXPECT_EQ(WideGetFileVersionInfoSize(u"/no/such/file", nullptr), 0u);
}

// ---- The 8-bit platform --------------------------------------------------------------

TEST_F(EightBitPlatform, VersionAndLibrariesThroughThe8BitCalls) {
  EXPECT_EQ(ProgramFileVersionMS(), (2u << 16) | 5u);
  const HMODULE math = WideLoadLibrary(u"libm.so.6");
  EXPECT_NE(math, 0u);
  FreeLibrary(math);
  EXPECT_EQ(WideLoadLibrary(u"lib\u4E2D.so"), 0u);  // no such name in the user code page
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
}

TEST_F(EightBitPlatform, FileCallsConvertNamesInTheUserCodePage) {
  const WideString dir = Name("\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0");  // "Папка" converts to 1251
  ASSERT_TRUE(WideCreateDirectory(dir.c_str()));
  const WideString file = dir + u"/\u0444\u0430\u0439\u043b.fb2";
  const THandle handle = WideCreateFile(file.c_str(), GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_NORMAL);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  FileClose(handle);
  // The file on disk has the UTF-8 name: the 8-bit call wrote the same file.
  std::string bytes;
  ASSERT_TRUE(WideToFileSystemName(file, bytes));
  EXPECT_TRUE(std::ifstream(bytes).good());

  EXPECT_TRUE(WideFileExists(file));
  EXPECT_TRUE(WideSetFileAttributes(file.c_str(), FILE_ATTRIBUTE_READONLY));
  EXPECT_EQ(WideGetFileAttributes(file.c_str()) & FILE_ATTRIBUTE_READONLY, FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(WideSetFileAttributes(file.c_str(), FILE_ATTRIBUTE_NORMAL));
  EXPECT_TRUE(WideMoveFile(file.c_str(), (dir + u"/\u0436").c_str()));
  EXPECT_TRUE(WideDeleteFileApi((dir + u"/\u0436").c_str()));
  EXPECT_FALSE(WideFileExists(dir + u"/\u0436"));
}

TEST_F(EightBitPlatform, NamesOutsideTheUserCodePageFailInsteadOfNamingAnotherFile) {
  // "中" would become "?": a name that exists here and would be hit by mistake.
  std::ofstream(FFolder / "a?") << "x";
  const WideString name = Name("a\xE4\xB8\xAD");
  EXPECT_EQ(WideGetFileAttributes(name.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  EXPECT_FALSE(WideDeleteFileApi(name.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_NAME);
  EXPECT_EQ(WideCreateFile(name.c_str(), GENERIC_WRITE, 0, CREATE_ALWAYS, 0), INVALID_HANDLE_VALUE);
  EXPECT_FALSE(WideCreateDirectory(name.c_str()));
  EXPECT_FALSE(WideMoveFile(Name("a?").c_str(), name.c_str()));
  EXPECT_TRUE(std::ifstream(FFolder / "a?").good());
}

TEST_F(EightBitPlatform, SearchesConvertTheFoundRecord) {
  std::ofstream(FFolder / "\xD0\x96.fb2") << "12345";
  // A name the code page lacks comes back with "?", as the 8-bit search reports it.
  std::ofstream(FFolder / "\xE4\xB8\xAD.fb2") << "x";
  TWideSearchRec rec;
  std::vector<WideString> found;
  for (int32_t r = WideFindFirst(Name("*.fb2"), faAnyFile, rec); r == 0; r = WideFindNext(rec)) {
    found.push_back(rec.Name);
    EXPECT_EQ(rec.Size, rec.Name == u"?.fb2" ? 1 : 5);
  }
  WideFindClose(rec);
  EXPECT_EQ(found, (std::vector<WideString>{u"\u0416.fb2", u"?.fb2"}));
}

TEST_F(EightBitPlatform, FullPathAndFilePart) {
  WideChar buffer[300];
  WideChar* filePart = nullptr;
  const WideString name = u"/\u0430\u0431/./\u0432\u0433.fb2";
  const uint32_t length = WideGetFullPathName(name.c_str(), 300, buffer, &filePart);
  EXPECT_EQ(WideString(buffer, length), u"/\u0430\u0431/\u0432\u0433.fb2");
  ASSERT_NE(filePart, nullptr);
  EXPECT_EQ(WideString(filePart), u"\u0432\u0433.fb2");
  // Too small: the size needed, the buffer cleared, no file part.
  buffer[0] = u'#';
  EXPECT_EQ(WideGetFullPathName(name.c_str(), 4, buffer, &filePart), length + 1);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(filePart, nullptr);
  const WideString deep = u"/" + WideString(600, u'\u0436');  // beyond the 520-byte buffer
  EXPECT_EQ(WideExpandFileName(deep), deep);
}

TEST_F(EightBitPlatform, ModuleFileNameAgreesWithTheWideCall) {
  const WideString eightBit = WideGetModuleFileName(HInstance);
  UseUnicodePlatform();
  EXPECT_EQ(eightBit, WideGetModuleFileName(HInstance));
  UseEightBitPlatform();
  WideChar buffer[4];
  EXPECT_EQ(WideGetModuleFileNameApi(HInstance, buffer, 4), 4u);  // cut, not terminated
  EXPECT_EQ(WideString(buffer, 4), eightBit.substr(0, 4));
}

TEST_F(EightBitPlatform, UpperCaseOnlyForCharactersOfTheUserCodePage) {
  EXPECT_EQ(WideCharUpper(u'\u0436'), u'\u0416');  // in 1251
  EXPECT_EQ(WideCharUpper(u'a'), u'A');
  EXPECT_EQ(WideCharUpper(u'\u00e9'), u'\u00e9');  // not in 1251: unchanged
  EXPECT_EQ(WideCharUpper(u'\u03b1'), u'\u03b1');  // Greek alpha: not in 1251
  WideChar text[] = u"\u0436\u00e9x";
  EXPECT_EQ(WideCharUpperBuff(text, 3), 3u);
  EXPECT_EQ(WideString(text), u"\u0416\u00e9X");
}

TEST_F(EightBitPlatform, StringTypesAgreeWithTheWideQuery) {
  const WideString text = u"a \u0416,1\t";
  std::vector<uint16_t> eightBit(text.size()), wide(text.size());
  ASSERT_TRUE(WideGetStringTypeEx(LOCALE_USER_DEFAULT, CT_CTYPE1, text.c_str(), static_cast<int32_t>(text.size()),
                                  eightBit.data()));
  ASSERT_TRUE(
      GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, text.c_str(), static_cast<int32_t>(text.size()), wide.data()));
  EXPECT_EQ(eightBit, wide);
  EXPECT_TRUE(IsWideCharSpace(u'\t'));
  EXPECT_TRUE(IsWideCharPunct(u','));
  EXPECT_FALSE(IsWideCharPunct(u'\u0416'));
}

TEST_F(EightBitPlatform, StringsComeFromTheTableReader) {
  WideChar buffer[16];
  EXPECT_EQ(WideLoadString(HInstance, 16, buffer, 16), 7);
  EXPECT_EQ(WideString(buffer), u"Sixteen");
}

TEST_F(EightBitPlatform, LocaleStrings) {
  EXPECT_EQ(WideGetLocaleStr(0x0419, LOCALE_SENGLANGUAGE, u"none"), u"Russian");
  EXPECT_EQ(WideGetLocaleStr(0x0419, 0x7777, u"none"), u"none");
  UseUnicodePlatform();
  EXPECT_EQ(WideGetLocaleStr(0x0419, LOCALE_SNATIVELANGNAME, u"none"), u"\u0440\u0443\u0441\u0441\u043a\u0438\u0439");
  EXPECT_EQ(WideGetLocaleStr(0x0419, 0x7777, u"none"), u"none");
}

}  // namespace
