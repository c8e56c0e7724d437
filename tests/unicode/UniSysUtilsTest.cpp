#include "unicode/UniSysUtils.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>
#include <fstream>

#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/TempFolder.h"
#include "platform/base/TextUtils.h"
#include "unicode/PlatformFamily.h"
#include "unicode/UniSystem.h"

namespace {

// ---- Exceptions ----------------------------------------------------------------------

TEST(UniSysUtils, FileStreamErrorsAreWideExceptions) {
  try {
    throw EWideFOpenError(u"Cannot open");
  } catch (const WideException& e) {
    EXPECT_NE(dynamic_cast<const EWideFileStreamError*>(&e), nullptr);
    EXPECT_EQ(e.WideMessage(), u"Cannot open");
  }
}

TEST(UniSysUtils, CheckWin32ResultPassesNonZeroAndRaisesOnZero) {
  EXPECT_EQ(CheckWin32Result(7), 7);
  SetLastError(ERROR_ACCESS_DENIED);
  EXPECT_THROW(CheckWin32Result(0), EOSError);
  const int value = 1;
  EXPECT_EQ(CheckWin32Result(static_cast<const void*>(&value)), &value);
  EXPECT_THROW(CheckWin32Result(static_cast<const void*>(nullptr)), EOSError);
}

TEST(UniSysUtils, WideRaiseLastOSErrorCarriesCodeAndSystemText) {
  SetLastError(ERROR_FILE_NOT_FOUND);
  try {
    WideRaiseLastOSError();
  } catch (const EWideOSError& e) {
    EXPECT_EQ(e.ErrorCode(), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(e.WideMessage(), WideSysErrorMessage(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(e.WideMessage().empty());
  }
}

// ---- Formatting ------------------------------------------------------------------------

TEST(UniSysUtils, WideFormatFormatsUtf16) {
  EXPECT_EQ(WideFormat(u"%s: %d%% of %.2f", {u"\u0416\u4e2d", 50, 3.14159}), u"\u0416\u4e2d: 50% of 3.14");
  // The implicit index after explicit ones follows the largest index used.
  EXPECT_EQ(WideFormat(u"%1:s %0:s %s", {u"a", u"b", u"c"}), u"b a c");
  EXPECT_EQ(WideFormat(u"[%5s][%-5s][%.2s]", {u"ab", u"ab", u"abc"}), u"[   ab][ab   ][ab]");
  EXPECT_EQ(WideFormat(u"%x %u", {255, -1}), u"FF 4294967295");
}

TEST(UniSysUtils, WideFormatReturnsLongTextsWhole) {
  const WideString word(5000, u'\u0416');
  const WideString text = WideFormat(u"<%s>", {word});
  EXPECT_EQ(text.size(), 5002u);
  EXPECT_EQ(text, u"<" + word + u">");
  const WideString longFormat(4000, u'x');
  EXPECT_EQ(WideFormat(longFormat + u"%d", {1}), longFormat + u"1");
}

TEST(UniSysUtils, WideFormatErrors) {
  EXPECT_THROW(WideFormat(u"%q", {1}), EFormatSpecError);
  try {
    WideFormat(u"%s %s", {u"one"});
    ADD_FAILURE() << "no exception";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "No argument for format '%0:s %1:s'");
  }
  EXPECT_THROW(WideFormat(u"%d", {u"text"}), EConvertError);
}

TEST(UniSysUtils, WideFormatBufCutsAtCapacity) {
  WideChar buffer[4] = {u'#', u'#', u'#', u'#'};
  const std::initializer_list<TVarRec> args = {12345};
  const std::span<const TVarRec> span(args.begin(), args.size());
  EXPECT_EQ(WideFormatBuf(buffer, 3, u"%d", span), 3u);
  EXPECT_EQ(WideString(buffer, 4), u"123#");
  EXPECT_EQ(WideFormatBuf(buffer, 4, u"%d", span), 4u);
}

// ---- Platform flags --------------------------------------------------------------------

TEST(UniSysUtils, PlatformFlagsFollowTheVersion) {
  EXPECT_TRUE(PlatformIsUnicode());
  EXPECT_TRUE(PlatformIsXP());
  EXPECT_TRUE(PlatformIs2003());
  EXPECT_TRUE(PlatformIsVista());
  SetPlatformVersion(2, 5, 1);
  EXPECT_TRUE(PlatformIsXP());
  EXPECT_FALSE(PlatformIs2003());
  EXPECT_FALSE(PlatformIsVista());
  UseEightBitPlatform();
  EXPECT_FALSE(PlatformIsUnicode());
  EXPECT_FALSE(PlatformIsXP());
  UseUnicodePlatform();
}

// ---- File names --------------------------------------------------------------------

TEST(UniSysUtils, FileNameParts) {
  const struct {
    WideString Name, Path, FileName, Dir, Ext;
  } cases[] = {
      {u"/a.b/c", u"/a.b/", u"c", u"/a.b", u""},  // a dot in a folder is no extension
      {u"/x/y", u"/x/", u"y", u"/x", u""},
      {u"/", u"/", u"", u"/", u""},
      {u"/x", u"/", u"x", u"/", u""},
      {u"c.fb2", u"", u"c.fb2", u"", u".fb2"},
      {u"/books/a:b.tar.gz", u"/books/", u"a:b.tar.gz", u"/books", u".gz"},  // ":" is ordinary
      {u"//x", u"//", u"x", u"//", u""},
      {u"/d/.hidden", u"/d/", u".hidden", u"/d", u".hidden"},
      {u"", u"", u"", u"", u""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.Name));
    EXPECT_EQ(WideExtractFilePath(c.Name), c.Path);
    EXPECT_EQ(WideExtractFileName(c.Name), c.FileName);
    EXPECT_EQ(WideExtractFileDir(c.Name), c.Dir);
    EXPECT_EQ(WideExtractFileExt(c.Name), c.Ext);
  }
}

TEST(UniSysUtils, ChangeFileExt) {
  EXPECT_EQ(WideChangeFileExt(u"/a.b/c", u".wol"), u"/a.b/c.wol");
  EXPECT_EQ(WideChangeFileExt(u"c.fb2", u".wol"), u"c.wol");
  EXPECT_EQ(WideChangeFileExt(u"/d/book.fb2.zip", u""), u"/d/book.fb2");
  EXPECT_EQ(WideChangeFileExt(u"/d/a:b", u".wol"), u"/d/a:b.wol");
}

TEST(UniSysUtils, TrailingDelimiters) {
  EXPECT_EQ(WideIncludeTrailingBackslash(u""), u"/");
  EXPECT_EQ(WideIncludeTrailingBackslash(u"/tmp"), u"/tmp/");
  EXPECT_EQ(WideIncludeTrailingBackslash(u"/tmp/"), u"/tmp/");
  EXPECT_EQ(WideExcludeTrailingBackslash(u"/tmp//"), u"/tmp/");
  EXPECT_EQ(WideExcludeTrailingBackslash(u"/tmp"), u"/tmp");
}

TEST(UniSysUtils, DelimitersCountFromOne) {
  EXPECT_EQ(WideLastDelimiter(u"/.", u"/a/b.c"), 5);
  EXPECT_EQ(WideLastDelimiter(u"/", u"abc"), 0);
  EXPECT_EQ(WideLastDelimiter(WideString(u"\0/", 2), WideString(u"a\0b", 3)), 0);  // a zero never counts
  EXPECT_TRUE(WideIsPathDelimiter(u"/a", 1));
  EXPECT_FALSE(WideIsPathDelimiter(u"/a", 2));
  EXPECT_FALSE(WideIsPathDelimiter(u"/a", 0));
  EXPECT_FALSE(WideIsPathDelimiter(u"/a", 3));
  EXPECT_TRUE(WideIsDelimiter(u";,", u"a,b", 2));
  EXPECT_EQ(WideLastChar(u""), 0);
  EXPECT_EQ(WideLastChar(u"ab"), u'b');
}

TEST(UniSysUtils, ExpandFileNameResolvesAgainstTheCurrentFolder) {
  const WideString cwd = FileSystemNameToWide(std::filesystem::current_path().string());
  EXPECT_EQ(WideExpandFileName(u"a/./b/../c.fb2"), cwd + u"/a/c.fb2");
  EXPECT_EQ(WideExpandFileName(u"/x//y/"), u"/x/y/");
  const WideString deep = u"/" + WideString(300, u'd') + u"/" + WideString(200, u'\u0416');
  EXPECT_EQ(WideExpandFileName(deep), deep);  // longer than MAX_PATH, not cut
}

// ---- Strings ---------------------------------------------------------------------------

TEST(UniSysUtils, CaseInsensitiveTextRoutines) {
  EXPECT_EQ(WideCharUpperCase(u"abc \u0436\u00e9"), u"ABC \u0416\u00c9");
  EXPECT_EQ(WideTextPos(u"\u0416\u0418", u"ab\u0436\u0438c"), 3);
  EXPECT_EQ(WideTextPos(u"x", u"abc"), 0);
  EXPECT_EQ(WideTextPos(u"", u"abc"), 0);
  EXPECT_TRUE(WideSameText(u"Fb2 \u0416", u"fB2 \u0436"));
  EXPECT_FALSE(WideSameText(u"ab", u"abc"));
  EXPECT_TRUE(WideSameStr(u"ab", u"ab"));
  EXPECT_FALSE(WideSameStr(u"ab", u"aB"));
}

TEST(UniSysUtils, StringReplace) {
  const struct {
    WideString Text, Old, New;
    uint32_t Flags;
    bool WholeWord;
    WideString Result;
  } cases[] = {
      {u"a-b-c", u"-", u"+", 0, false, u"a+b-c"},
      {u"a-b-c", u"-", u"+", wrfReplaceAll, false, u"a+b+c"},
      {u"Abc abc", u"ABC", u"x", wrfReplaceAll | wrfIgnoreCase, false, u"x x"},
      {u"Abc abc", u"ABC", u"x", wrfReplaceAll, false, u"Abc abc"},
      {u"cat concat cat.", u"cat", u"dog", wrfReplaceAll, true, u"dog concat dog."},
      {u"concat cat", u"cat", u"dog", 0, true, u"concat dog"},  // skips the inner match
      {u"\u043a\u043e\u0442 \u041a\u041e\u0422", u"\u043a\u043e\u0442", u"cat", wrfReplaceAll | wrfIgnoreCase, true,
       u"cat cat"},
      {u"abc", u"", u"x", wrfReplaceAll, false, u"abc"},
      {u"aaa", u"a", u"aa", wrfReplaceAll, false, u"aaaaaa"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(WideToUtf8(c.Text + u" / " + c.Old));
    EXPECT_EQ(WideStringReplace(c.Text, c.Old, c.New, c.Flags, c.WholeWord), c.Result);
  }
}

TEST(UniSysUtils, Tokens) {
  const WideString text = u"a;bc";
  const WideChar* cursor = text.c_str();
  EXPECT_EQ(NextWideToken(cursor, u';'), u"a");
  EXPECT_EQ(*cursor, u'b');
  EXPECT_EQ(NextWideToken(cursor, u';'), u"bc");
  EXPECT_EQ(*cursor, 0);
  EXPECT_EQ(SplitWideTokens(u"a;b;;c", u';'), (std::vector<WideString>{u"a", u"b"}));
  EXPECT_EQ(SplitWideTokens(u"x;y;", u';'), (std::vector<WideString>{u"x", u"y"}));
  EXPECT_TRUE(SplitWideTokens(u"", u';').empty());
}

// ---- Files and folders -----------------------------------------------------------------

class UniSysUtilsFiles : public ::testing::Test {
protected:
  WideString Name(const std::string& utf8) { return FileSystemNameToWide(FFolder / utf8); }
  WideString Folder() { return FileSystemNameToWide(FFolder.Path()); }
  static void Touch(const WideString& name, const std::string& content = "") {
    std::string bytes;
    ASSERT_TRUE(WideToFileSystemName(name, bytes));
    std::ofstream(bytes, std::ios::binary) << content;
  }

  TempFolder FFolder;
};

TEST_F(UniSysUtilsFiles, ExistenceOfFilesAndFolders) {
  const WideString file = Name("\xD0\x96\xE4\xB8\xAD.fb2");
  Touch(file);
  EXPECT_TRUE(WideFileExists(file));
  EXPECT_FALSE(WideDirectoryExists(file));
  EXPECT_TRUE(WideDirectoryExists(Folder()));
  EXPECT_FALSE(WideFileExists(Folder()));
  EXPECT_FALSE(WideFileExists(Name("missing")));
  EXPECT_FALSE(WideDirectoryExists(Name("missing/deeper")));
  EXPECT_EQ(WideFileGetAttr(Name("missing")), -1);
  EXPECT_EQ(WideFileGetAttr(file) & faArchive, faArchive);
  // "*" and "?" are characters of names, not a mask.
  Touch(Name("a1"));
  EXPECT_FALSE(WideFileExists(Name("a?")));
  EXPECT_FALSE(WideFileExists(Name("*")));
}

TEST_F(UniSysUtilsFiles, NamesWithBytesThatAreNotUtf8) {
  const std::string rawName = FFolder / "bad\xFF\xFEname";
  std::ofstream(rawName) << "x";
  const WideString name = FileSystemNameToWide(rawName);
  EXPECT_TRUE(WideFileExists(name));
  EXPECT_TRUE(WideRenameFile(name, name + u"2"));
  EXPECT_TRUE(WideDeleteFile(name + u"2"));
  EXPECT_FALSE(WideFileExists(name + u"2"));
}

TEST_F(UniSysUtilsFiles, CreateOpenRenameDelete) {
  const WideString file = Name("book.wol");
  const THandle created = WideFileCreate(file);
  ASSERT_NE(created, INVALID_HANDLE_VALUE);
  ASSERT_EQ(write(created, "data", 4), 4);
  close(created);
  const THandle opened = WideFileOpen(file, fmOpenRead | fmShareDenyWrite);
  ASSERT_NE(opened, INVALID_HANDLE_VALUE);
  char buffer[8] = {};
  EXPECT_EQ(read(opened, buffer, sizeof buffer), 4);
  close(opened);

  EXPECT_EQ(WideFileOpen(Name("missing"), fmOpenRead), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(WideFileOpen(file, 3), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(WideFileCreate(Name("no/such/folder/x")), INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);

  Touch(Name("other"));
  EXPECT_FALSE(WideRenameFile(file, Name("other")));  // never replaces
  EXPECT_TRUE(WideRenameFile(file, Name("renamed.wol")));
  EXPECT_FALSE(WideDeleteFile(file));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(WideDeleteFile(Name("renamed.wol")));
}

TEST_F(UniSysUtilsFiles, ForceDirectories) {
  const WideString deep = Name("a/\xD0\x96/c/");
  EXPECT_TRUE(WideForceDirectories(deep));
  EXPECT_TRUE(WideDirectoryExists(Name("a/\xD0\x96/c")));
  EXPECT_TRUE(WideForceDirectories(deep));  // already there
  EXPECT_TRUE(WideForceDirectories(Name("x//")));
  EXPECT_TRUE(WideDirectoryExists(Name("x")));
  EXPECT_TRUE(WideForceDirectories(u"/"));
  Touch(Name("file"));
  EXPECT_FALSE(WideForceDirectories(Name("file/sub")));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  EXPECT_FALSE(WideForceDirectories(Name("file")));
  EXPECT_EQ(GetLastError(), ERROR_DIRECTORY);
  try {
    WideForceDirectories(u"");
    ADD_FAILURE() << "no exception";
  } catch (const EUniGeneralError& e) {
    EXPECT_STREQ(e.what(), "Unable to create directory");
  }
}

TEST_F(UniSysUtilsFiles, FindSkipsExcludedAttributes) {
  Touch(Name("b.fb2"), "12345");
  Touch(Name("A.FB2"));
  Touch(Name(".hidden.fb2"));
  Touch(Name("c.txt"));
  ASSERT_TRUE(WideForceDirectories(Name("dir.fb2")));

  std::vector<WideString> found;
  TWideSearchRec rec;
  for (int32_t r = WideFindFirst(Folder() + u"/*.fb2", 0, rec); r == 0; r = WideFindNext(rec)) {
    found.push_back(rec.Name);
    if (rec.Name == u"b.fb2") {
      EXPECT_EQ(rec.Size, 5);
      EXPECT_EQ(rec.Attr & faDirectory, 0);
      EXPECT_NE(rec.Time, 0);
      EXPECT_NE(rec.Time, -1);
    }
  }
  WideFindClose(rec);
  EXPECT_EQ(rec.FindHandle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(found, (std::vector<WideString>{u"A.FB2", u"b.fb2"}));

  found.clear();
  for (int32_t r = WideFindFirst(Folder() + u"/*.fb2", faDirectory | faHidden, rec); r == 0; r = WideFindNext(rec))
    found.push_back(rec.Name);
  WideFindClose(rec);
  EXPECT_EQ(found, (std::vector<WideString>{u".hidden.fb2", u"A.FB2", u"b.fb2", u"dir.fb2"}));
}

TEST_F(UniSysUtilsFiles, FindReportsErrorCodes) {
  TWideSearchRec rec;
  EXPECT_EQ(WideFindFirst(Folder() + u"/*.none", faAnyFile, rec), static_cast<int32_t>(ERROR_FILE_NOT_FOUND));
  EXPECT_EQ(WideFindFirst(Folder() + u"/missing/*", faAnyFile, rec), static_cast<int32_t>(ERROR_PATH_NOT_FOUND));
  EXPECT_EQ(rec.FindHandle, INVALID_HANDLE_VALUE);
  ASSERT_TRUE(WideForceDirectories(Name("only")));
  // The only match is a folder and folders are excluded: the search ends closed.
  EXPECT_EQ(WideFindFirst(Folder() + u"/only", 0, rec), static_cast<int32_t>(ERROR_NO_MORE_FILES));
  EXPECT_EQ(rec.FindHandle, INVALID_HANDLE_VALUE);
}

// ---- Modules and messages ----------------------------------------------------------------

TEST(UniSysUtils, ModuleFileNameIsTheProgram) {
  const WideString name = WideGetModuleFileName(HInstance);
  EXPECT_EQ(WideExtractFileName(name), u"test_unicode");
  EXPECT_TRUE(WideFileExists(name));
}

TEST(UniSysUtils, MessagesForCodes) {
  EXPECT_EQ(WideSysErrorMessage(ERROR_FILE_NOT_FOUND), Trim(SystemErrorMessage(ERROR_FILE_NOT_FOUND)));
  EXPECT_EQ(WideGetMessageFromModule(u"wolf", 0, 0xDEAD0), u"Unspecified error (912080) from wolf.");
  EXPECT_EQ(WideGetMessageFromModule(u"wolf", HInstance, 0xDEAD0), u"Unspecified error (912080) from wolf.");
}

// ---- Dates and times -------------------------------------------------------------------

TEST(UniSysUtils, DatesAndTimesInTheLocalesOrder) {
  EXPECT_EQ(WideStrToDate(u"03/12/2020"), 43902);  // the user's locale: month-day-year
  EXPECT_EQ(WideStrToDate(u"2020-03-12"), 43902);
  EXPECT_DOUBLE_EQ(WideStrToTime(u"18:00"), 0.75);
  EXPECT_DOUBLE_EQ(WideStrToDateTime(u"2020-03-12 6:00 PM"), 43902.75);
}

TEST(UniSysUtils, TheClassLibrarysParserReadsWhatTheLocalesRefuses) {
  EXPECT_DOUBLE_EQ(WideStrToTime(u"PM 8:06"), (20 * 60 + 6) / 1440.0);
  EXPECT_DOUBLE_EQ(WideStrToTime(u"3 PM"), 0.625);
  EXPECT_DOUBLE_EQ(WideStrToDateTime(u"3/12/2020 PM 6:00"), 43902.75);
}

TEST(UniSysUtils, DatesAndTimesReadBackWhatTheLocaleWrites) {
  for (TDateTime value : {43902.75, 36526.0, 45351.5 + 3723.0 / 86400, 0.25, -1.25}) {
    SCOPED_TRACE(DateTimeToStr(value));
    EXPECT_DOUBLE_EQ(WideStrToDateTime(DefaultAnsiToWide(DateTimeToStr(value))), value);
  }
  EXPECT_EQ(WideStrToDate(DefaultAnsiToWide(DateToStr(43902.75))), 43902);
  EXPECT_DOUBLE_EQ(WideStrToTime(DefaultAnsiToWide(TimeToStr(43902.75))), 0.75);
}

TEST(UniSysUtils, InvalidDatesAndTimesRaiseWithTheReason) {
  const struct {
    TDateTime (*Parse)(const WideString&);
    WideString Text;
    const char* Message;
  } cases[] = {
      {WideStrToDate, u"02/31/2020", "'02/31/2020' is not a valid date\r\nDay out of range"},
      {WideStrToTime, u"25:00", "'25:00' is not a valid time\r\nHour out of range"},
      {WideStrToDateTime, u"\u0416", "'\xC6' is not a valid date and time\r\nThe text holds no date or time"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    try {
      c.Parse(c.Text);
      ADD_FAILURE() << "no exception";
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
  }
}

TEST(UniSysUtils, MappableToAnsi) {
  EXPECT_TRUE(IsWideCharMappableToAnsi(u'\u0416'));
  EXPECT_TRUE(IsWideCharMappableToAnsi(u'A'));
  EXPECT_FALSE(IsWideCharMappableToAnsi(u'\u4e2d'));
}

}  // namespace
