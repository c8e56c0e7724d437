#include "platform/base/PrivateProfile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/base/FileSizeLimit.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"
#include "platform/base/TempFolder.h"

namespace {

std::string Utf16Le(std::u16string_view text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

class PrivateProfileTest : public testing::Test {
protected:
  PrivateProfileTest() : FPath(FFolder / "test.ini"), FName(FileSystemNameToWide(FPath)) {}

  void WriteFile(const std::string& bytes) const { WriteBytes(FPath, bytes); }
  std::string ReadFile() const { return ReadBytes(FPath); }
  WideString Get(const WideChar* section, const WideChar* key, const WideChar* defaultValue = u"<default>") const {
    WideChar buffer[256];
    const uint32_t n = GetPrivateProfileStringW(section, key, defaultValue, buffer, 256, FName.c_str());
    return WideString(buffer, n);
  }
  // A name list as the strings between its zeros.
  std::vector<WideString> List(const WideChar* section) const {
    WideChar buffer[256];
    const uint32_t n = GetPrivateProfileStringW(section, nullptr, nullptr, buffer, 256, FName.c_str());
    std::vector<WideString> names;
    for (const WideChar* p = buffer; p < buffer + n; p += names.back().size() + 1) names.emplace_back(p);
    return names;
  }
  bool Set(const WideChar* section, const WideChar* key, const WideChar* value) const {
    return WritePrivateProfileStringW(section, key, value, FName.c_str());
  }

  TempFolder FFolder;
  std::string FPath;
  WideString FName;
};

const char kHandWritten[] =
    "; settings\r\n"
    "before=first section\r\n"
    "[Main]\r\n"
    "  Width =  640  \r\n"
    "Quoted=\" padded \"\r\n"
    "Single='x'\r\n"
    "no separator here\r\n"
    "; Hidden=1\r\n"
    "Width=second\r\n"
    "\r\n"
    "[ Other ]\r\n"
    "Key=\xC6\r\n"  // Ж in code page 1251
    "[]\r\n"
    "[main]\r\n"
    "Later=1\r\n";

TEST_F(PrivateProfileTest, ReadsValuesTrimmedWithoutRegardToCase) {
  WriteFile(kHandWritten);
  struct Case {
    const WideChar* Section;
    const WideChar* Key;
    WideString Expected;
  };
  const Case cases[] = {
      {u"MAIN", u"width", u"640"},        // blanks trimmed, the first key of a name
      {u" main ", u" WIDTH ", u"640"},    // the names asked for are trimmed too
      {u"Main", u"Quoted", u" padded "},  // one pair of quotes removed
      {u"Main", u"Single", u"x"},
      {u"Other", u"key", u"\x0416"},       // 8-bit text in the ANSI code page
      {u"Main", u"Later", u"<default>"},   // the first section of a name is read
      {u"Main", u"Hidden", u"<default>"},  // a comment is no key
      {u"Main", u"no separator here", u"<default>"},
      {u"Main", u"before", u"<default>"},  // lines before the first section belong to none
      {u"Missing", u"Width", u"<default>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_EQ(Get(c.Section, c.Key), c.Expected);
  }
  EXPECT_EQ(Get(u"Main", u"Missing", nullptr), u"");
}

TEST_F(PrivateProfileTest, MissingFileGivesTheDefault) {
  EXPECT_EQ(Get(u"Main", u"Width", u"7"), u"7");
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(List(nullptr), std::vector<WideString>{});
}

TEST_F(PrivateProfileTest, ListsSectionsAndKeys) {
  WriteFile(kHandWritten);
  // "[]" has an empty name, which a list of zero-terminated names cannot hold.
  EXPECT_EQ(List(nullptr), (std::vector<WideString>{u"Main", u"Other", u"main"}));
  EXPECT_EQ(List(u"main"), (std::vector<WideString>{u"Width", u"Quoted", u"Single", u"Width"}));
  EXPECT_EQ(List(u"none"), std::vector<WideString>{});
}

TEST_F(PrivateProfileTest, CutsWhatDoesNotFit) {
  WriteFile("[Alpha]\r\nkey=abcdef\r\n[Beta]\r\n");
  WideChar buffer[8];
  EXPECT_EQ(GetPrivateProfileStringW(u"alpha", u"key", nullptr, buffer, 4, FName.c_str()), 3u);
  EXPECT_EQ(WideString(buffer), u"abc");
  EXPECT_EQ(GetPrivateProfileStringW(nullptr, nullptr, nullptr, buffer, 8, FName.c_str()), 6u);
  EXPECT_EQ(WideString(buffer, 8), WideString(u"Alpha\0\0\0", 8));  // cut, ending with two zeros
  EXPECT_EQ(GetPrivateProfileStringW(nullptr, nullptr, nullptr, buffer, 0, FName.c_str()), 0u);
}

TEST_F(PrivateProfileTest, CreatesAUtf16FileWithMark) {
  ASSERT_TRUE(Set(u"Main", u"Name", u"\x0416\xD83D\xDE00"));
  ASSERT_TRUE(Set(u"Main", u"Width", u"640"));
  ASSERT_TRUE(Set(u"Next", u"A", u"1"));
  EXPECT_EQ(ReadFile(), Utf16Le(u"[Main]\r\nName=\x0416\xD83D\xDE00\r\nWidth=640\r\n\r\n[Next]\r\nA=1\r\n"));
  EXPECT_EQ(Get(u"main", u"name"), u"\x0416\xD83D\xDE00");
}

TEST_F(PrivateProfileTest, RewritesOnlyWhatChanges) {
  WriteFile(kHandWritten);
  ASSERT_TRUE(Set(u"MAIN", u"width", u"800"));  // the first key keeps its spelling
  ASSERT_TRUE(Set(u"Other", u"New", u"2"));     // appended after the section's last line
  ASSERT_TRUE(Set(u"Main", u"Added", u"3"));    // before the blank line that ends the section
  std::string expected = kHandWritten;
  expected.replace(expected.find("  Width =  640  "), 16, "Width=800");
  expected.replace(expected.find("\r\n\r\n[ Other ]"), 4, "\r\nAdded=3\r\n\r\n");
  expected.replace(expected.find("[]\r\n"), 0, "New=2\r\n");
  EXPECT_EQ(ReadFile(), expected);
}

TEST_F(PrivateProfileTest, KeepsTheFileEncodingAndLineBreaks) {
  struct Case {
    std::string Before;
    std::string After;
  };
  const Case cases[] = {
      {"[S]\nk=v\n", "[S]\nk=\xD6\n"},  // 8-bit stays 8-bit when the text fits the code page
      {"[S]\r\nk=v", "[S]\r\nk=\xD6"},  // no break at the end stays so
      {"\xEF\xBB\xBF[S]\r\nk=v\r\n", "\xEF\xBB\xBF[S]\r\nk=\xD0\xA6\r\n"},
      {std::string("\xFE\xFF\0[\0S\0]\0\n\0k\0=\0v\0\n", 18),
       std::string("\xFE\xFF\0[\0S\0]\0\n\0k\0=\x04\x26\0\n", 18)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    WriteFile(c.Before);
    ASSERT_TRUE(Set(u"S", u"k", u"\x0426"));  // Ц
    EXPECT_EQ(ReadFile(), c.After);
    EXPECT_EQ(Get(u"S", u"k"), u"\x0426");
  }
}

TEST_F(PrivateProfileTest, EightBitFileThatCannotHoldTheTextBecomesUtf16) {
  WriteFile("[S]\r\nold=\xC6\r\n");
  ASSERT_TRUE(Set(u"S", u"new", u"\x4E2D"));  // 中 is not in code page 1251
  EXPECT_EQ(ReadFile(), Utf16Le(u"[S]\r\nold=\x0416\r\nnew=\x4E2D\r\n"));
}

TEST_F(PrivateProfileTest, ValuesReadBackAsWritten) {
  const WideString values[] = {u" lead", u"trail\t", u"\"quoted\"", u"'q'", u"\"", u"a=b", u"; not a comment", u""};
  for (const WideString& value : values) {
    SCOPED_TRACE(testing::Message() << "value " << (&value - values));
    ASSERT_TRUE(Set(u"S", u"k", value.c_str()));
    EXPECT_EQ(Get(u"S", u"k"), value);
  }
}

TEST_F(PrivateProfileTest, RefusesTextsNoLineCanHold) {
  WriteFile("[S]\r\nk=v\r\n");
  struct Case {
    const WideChar* Section;
    const WideChar* Key;
    const WideChar* Value;
  };
  const Case cases[] = {{u"S", u"k", u"two\r\nlines"}, {u"S", u"a=b", u"v"}, {u"S]", u"k", u"v"},
                        {u"S", u"[k", u"v"},           {u"S", u";k", u"v"},  {u"S\n", u"k", u"v"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
    EXPECT_FALSE(Set(c.Section, c.Key, c.Value));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  EXPECT_EQ(ReadFile(), "[S]\r\nk=v\r\n");
}

TEST_F(PrivateProfileTest, DeletesKeysAndSections) {
  WriteFile("[A]\r\nk=1\r\nK=2\r\nm=3\r\n[B]\r\nk=4\r\n[a]\r\nx=5\r\n");
  ASSERT_TRUE(Set(u"a", u"K", nullptr));  // every line of the key in the first section
  EXPECT_EQ(ReadFile(), "[A]\r\nm=3\r\n[B]\r\nk=4\r\n[a]\r\nx=5\r\n");
  ASSERT_TRUE(Set(u"A", nullptr, nullptr));  // every section of the name
  EXPECT_EQ(ReadFile(), "[B]\r\nk=4\r\n");
  EXPECT_TRUE(Set(u"A", nullptr, nullptr));
  EXPECT_TRUE(Set(u"B", u"missing", nullptr));
  EXPECT_TRUE(Set(nullptr, nullptr, nullptr));  // the flush has nothing to do
  EXPECT_FALSE(Set(nullptr, u"k", u"v"));

  // Removing from a missing file creates nothing.
  ASSERT_EQ(unlink(FPath.c_str()), 0);
  EXPECT_TRUE(Set(u"A", nullptr, nullptr));
  EXPECT_NE(access(FPath.c_str(), F_OK), 0);
}

TEST_F(PrivateProfileTest, WriteFailuresLeaveTheFile) {
  WriteFile("[S]\r\nk=v\r\n");
  ASSERT_EQ(chmod(FPath.c_str(), 0444), 0);
  EXPECT_FALSE(Set(u"S", u"k", u"w"));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(ReadFile(), "[S]\r\nk=v\r\n");

  const WideString inMissingFolder = FileSystemNameToWide(FFolder / "none/x.ini");
  EXPECT_FALSE(WritePrivateProfileStringW(u"S", u"k", u"v", inMissingFolder.c_str()));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(PrivateProfileTest, WritesThroughALinkAndKeepsPermissions) {
  WriteFile("[S]\r\nk=v\r\n");
  ASSERT_EQ(chmod(FPath.c_str(), 0640), 0);
  const std::string link = FFolder / "link.ini";
  ASSERT_EQ(symlink(FPath.c_str(), link.c_str()), 0);
  ASSERT_TRUE(WritePrivateProfileStringW(u"S", u"k", u"w", FileSystemNameToWide(link).c_str()));
  EXPECT_EQ(ReadFile(), "[S]\r\nk=w\r\n");
  struct stat info {};
  ASSERT_EQ(lstat(link.c_str(), &info), 0);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  ASSERT_EQ(stat(FPath.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
}

TEST_F(PrivateProfileTest, EightBitFormsUseTheAnsiCodePage) {
  ASSERT_TRUE(WritePrivateProfileStringA("\xD1", "k", "\xC6", FPath.c_str()));  // С, Ж
  EXPECT_EQ(ReadFile(), Utf16Le(u"[\x0421]\r\nk=\x0416\r\n"));
  char buffer[16];
  EXPECT_EQ(GetPrivateProfileStringA("\xF1", "K", "", buffer, 16, FPath.c_str()), 1u);  // с
  EXPECT_EQ(std::string(buffer), "\xC6");
  EXPECT_EQ(GetPrivateProfileStringA(nullptr, nullptr, nullptr, buffer, 16, FPath.c_str()), 2u);
  EXPECT_EQ(std::string(buffer, 3), std::string("\xD1\0\0", 3));
}

TEST_F(PrivateProfileTest, WholeValuesAndNameListsComeBackHoweverLong) {
  const WideString longValue(5000, u'\x0416');
  std::u16string text = u"[S]\r\nlong=" + longValue + u"\r\n";
  std::vector<WideString> keys{u"long"};
  for (int i = 0; i < 4000; ++i) {
    const std::string number = std::to_string(i);
    keys.push_back(u"key" + WideString(number.begin(), number.end()));
    text += keys.back() + u"=x\r\n";
  }
  WriteFile(Utf16Le(text));
  EXPECT_EQ(GetPrivateProfileValueW(u"s", u"LONG", u"", FName.c_str()), longValue);
  EXPECT_EQ(GetPrivateProfileValueW(u"S", u"missing", u"fallback", FName.c_str()), u"fallback");
  EXPECT_EQ(GetPrivateProfileValueA("S", "long", "", FPath.c_str()), std::string(5000, '\xC6'));
  EXPECT_EQ(GetPrivateProfileNamesW(u"S", FName.c_str()), keys);
  EXPECT_EQ(GetPrivateProfileNamesA(nullptr, FPath.c_str()), std::vector<AnsiString>{"S"});
}

}  // namespace

// A FIFO or device named as the file is refused at once: a read gives the default (no
// wait for a writer, no endless read of /dev/zero), a write fails and leaves it alone.
TEST_F(PrivateProfileTest, WhatIsNoRegularFileIsRefusedAtOnce) {
  ASSERT_EQ(mkfifo(FPath.c_str(), 0600), 0);
  EXPECT_EQ(Get(u"s", u"k"), u"<default>");
  EXPECT_FALSE(Set(u"s", u"k", u"v"));
  EXPECT_EQ(GetLastError(), ERROR_BAD_FILE_TYPE);
  EXPECT_EQ(GetPrivateProfileValueW(u"s", u"k", u"none", u"/dev/zero"), u"none");
  EXPECT_FALSE(WritePrivateProfileStringW(u"s", u"k", u"v", u"/dev/zero"));
  EXPECT_EQ(GetLastError(), ERROR_BAD_FILE_TYPE);
}

// Byte 0x98 is no character of code page 1251: it reads as U+FFFD, and its line keeps
// the byte when another key is written.
TEST_F(PrivateProfileTest, AnEightBitFileKeepsTheBytesOfLinesNoWriteTouches) {
  WriteFile("[s]\r\nodd=a\x98z\r\nk=1\r\n");
  EXPECT_EQ(Get(u"s", u"odd"), u"a\uFFFDz");
  ASSERT_TRUE(Set(u"s", u"k", u"2"));
  EXPECT_EQ(ReadFile(), "[s]\r\nodd=a\x98z\r\nk=2\r\n");
  ASSERT_TRUE(Set(u"s", u"odd", u"b"));  // a line that is written takes its new text
  EXPECT_EQ(ReadFile(), "[s]\r\nodd=b\r\nk=2\r\n");
}

TEST_F(PrivateProfileTest, AWriteStoppedByTheFileSizeLimitLeavesTheFileWhole) {
  const std::string old = Utf16Le(u"[s]\r\nk=old\r\n");
  WriteFile(old);
  const std::string result = RunWithFileSizeLimit(old.size() + 4, [&] {
    const bool written = Set(u"s", u"k", u"a value much longer than the limit allows");
    return written ? std::string("written") : std::to_string(GetLastError());
  });
  EXPECT_EQ(result, std::to_string(ERROR_FILE_TOO_LARGE));
  EXPECT_EQ(ReadFile(), old);
}
