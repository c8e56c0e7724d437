// The settings file beside the program: its keys in order, its encoding, the values a
// hand-edited file may hold, and loads that fail.
#include "app/uGlobals.h"

#include <gtest/gtest.h>

#include "AppTestFiles.h"
#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "unicode/UniSystem.h"

namespace {

class SettingsFile : public testing::Test {
protected:
  SettingsFile() { Settings = TSettings{}; }
  ~SettingsFile() override { Settings = TSettings{}; }

  std::string IniPath() const { return Folder / "test_app.ini"; }

  TProgramFolder Folder;
};

// The settings of the example file, with folder names in three scripts.
TSettings Stored() {
  TSettings s;
  s.FormXPos = 377;
  s.FormYPos = 195;
  s.FormXLen = 433;
  s.FormYLen = 500;
  s.LastSourceDir = u"/home/\u0411\u043e\u0440\u0438\u0441/\u4e66";
  s.UseSourceDir = false;
  s.DestinationDir = u"/media/\U0001F4D6 \u0427\u0438\u0442\u0430\u043b\u043a\u0430";
  s.SchemeName = u"\u0428\u0440\u0438\u0444\u0442 12";
  s.OverrideMode = 2;
  s.LanguageId = 1049;
  return s;
}

// The lines of Stored() from FormYPos to DestinationDir, as the file holds them.
const WideString StoredMiddleLines =
    u"FormYPos=195\r\n"
    u"FormXLen=433\r\n"
    u"FormYLen=500\r\n"
    u"LastSourceDir=/home/\u0411\u043e\u0440\u0438\u0441/\u4e66\r\n"
    u"UseSourceDir=0\r\n"
    u"DestinationDir=/media/\U0001F4D6 \u0427\u0438\u0442\u0430\u043b\u043a\u0430\r\n";

TEST_F(SettingsFile, LivesBesideTheProgramUnderTheProgramsName) {
  EXPECT_EQ(ProgramDir(), Folder.Dir());
  EXPECT_EQ(SettingsFileName(), Folder.Dir() + u"test_app.ini");
}

TEST_F(SettingsFile, AFirstRunGivesTheDefaults) {
  LoadSettings();
  EXPECT_EQ(Settings.FormXPos, -1);
  EXPECT_EQ(Settings.FormYPos, -1);
  EXPECT_EQ(Settings.FormXLen, -1);
  EXPECT_EQ(Settings.FormYLen, -1);
  EXPECT_EQ(Settings.LastSourceDir, u"");
  EXPECT_TRUE(Settings.UseSourceDir);
  EXPECT_EQ(Settings.DestinationDir, Folder.Dir());  // with its trailing "/"
  EXPECT_EQ(Settings.SchemeName, u"(unnamed)");
  EXPECT_EQ(Settings.OverrideMode, 0);
  EXPECT_EQ(Settings.LanguageId, 0);
  EXPECT_FALSE(std::filesystem::exists(IniPath()));  // loading writes nothing
}

TEST_F(SettingsFile, IsWrittenInUtf16WithItsKeysInOrderAndReadsBack) {
  Settings = Stored();
  SaveSettings();
  const std::string bytes = ReadBytes(IniPath());
  ASSERT_TRUE(bytes.starts_with("\xFF\xFE"));
  EXPECT_EQ(FromUtf16LEWithBom(bytes),
            u"[QuirefoldBatch]\r\n"
            u"FormXPos=377\r\n" +
                StoredMiddleLines +
                u"SchemeName=\u0428\u0440\u0438\u0444\u0442 12\r\n"
                u"OverrideMode=2\r\n"
                u"LanguageId=1049\r\n");

  Settings = TSettings{};
  LoadSettings();
  EXPECT_EQ(Settings, Stored());
}

TEST_F(SettingsFile, SavingAgainRewritesEachKeyInPlaceAndKeepsWhatElseTheFileHolds) {
  WriteBytes(IniPath(), Utf16LEWithBom(u"; kept\r\n[Other]\r\nA=1\r\n[QuirefoldBatch]\r\nLanguageId=1031\r\n"
                                       u"FormXPos=5\r\n"));
  Settings = Stored();
  Settings.SchemeName = u"Default";
  SaveSettings();
  EXPECT_EQ(FromUtf16LEWithBom(ReadBytes(IniPath())),
            u"; kept\r\n[Other]\r\nA=1\r\n[QuirefoldBatch]\r\n"
            u"LanguageId=1049\r\n"
            u"FormXPos=377\r\n" +
                StoredMiddleLines +
                u"SchemeName=Default\r\n"
                u"OverrideMode=2\r\n");
}

// Values a user may have typed into the file, one key each.
struct TStoredValue {
  const char16_t* Line;
  TSettings Expected;
};

TSettings With(auto TSettings::*field, auto value) {
  TSettings s;
  s.*field = value;
  return s;
}

TEST_F(SettingsFile, HandWrittenValuesReadAsNumbersOrTheirDefaults) {
  const TStoredValue cases[] = {
      {u"FormXPos=0", With(&TSettings::FormXPos, 0)},  // the left screen edge is a place
      {u"FormXLen=0", With(&TSettings::FormXLen, 0)},  // read as stored; the window ignores it
      {u"FormYPos=-20", With(&TSettings::FormYPos, -20)},
      {u"FormYLen=0x1F4", With(&TSettings::FormYLen, 500)},
      {u"UseSourceDir=0x0", With(&TSettings::UseSourceDir, false)},
      {u"UseSourceDir=yes", With(&TSettings::UseSourceDir, true)},
      {u"UseSourceDir=7", With(&TSettings::UseSourceDir, true)},
      {u"OverrideMode=0X2", With(&TSettings::OverrideMode, 2)},
      {u"OverrideMode=ask", With(&TSettings::OverrideMode, 0)},
      {u"LanguageId=", With(&TSettings::LanguageId, 0)},
      {u"LanguageId = 1049 ", With(&TSettings::LanguageId, 1049)},
      {u"SchemeName=", With(&TSettings::SchemeName, WideString())},  // present but empty
      {u"schemename=Big", With(&TSettings::SchemeName, WideString(u"Big"))},
  };
  for (const TStoredValue& c : cases) {
    SCOPED_TRACE(testing::Message() << std::string(c.Line, c.Line + std::char_traits<char16_t>::length(c.Line)));
    WriteBytes(IniPath(), Utf16LEWithBom(WideString(u"[quirefoldbatch]\r\n") + c.Line + u"\r\n"));
    LoadSettings();
    TSettings expected = c.Expected;
    expected.DestinationDir = Folder.Dir();
    EXPECT_EQ(Settings, expected);
  }
}

TEST_F(SettingsFile, AnOld8BitFileIsReadInTheAnsiCodePage) {
  // "Книги" in Windows-1251.
  WriteBytes(IniPath(), "[QuirefoldBatch]\r\nDestinationDir=/\xCA\xED\xE8\xE3\xE8\r\nOverrideMode=1\r\n");
  LoadSettings();
  EXPECT_EQ(Settings.DestinationDir, u"/\u041a\u043d\u0438\u0433\u0438");
  EXPECT_EQ(Settings.OverrideMode, 1);
}

TEST_F(SettingsFile, AFailedLoadGivesTheDefaultsAndALaterGoodLoadItsValues) {
  Settings = Stored();
  SaveSettings();
  LoadSettings();
  ASSERT_EQ(Settings, Stored());

  // A folder where the file should be cannot be read: every key takes its default,
  // nothing of the earlier load is left.
  std::filesystem::remove(IniPath());
  std::filesystem::create_directory(IniPath());
  LoadSettings();
  EXPECT_EQ(Settings, DefaultSettings());

  std::filesystem::remove(IniPath());
  WriteBytes(IniPath(), Utf16LEWithBom(u"[QuirefoldBatch]\r\nSchemeName=Large\r\nLanguageId=1031\r\n"));
  LoadSettings();
  TSettings expected = DefaultSettings();
  expected.SchemeName = u"Large";
  expected.LanguageId = 1031;
  EXPECT_EQ(Settings, expected);
}

TEST_F(SettingsFile, AFailedSaveSaysWhichFileAndALaterSaveWritesIt) {
  // The message is 8-bit text: a folder of plain letters keeps it exact.
  TempFolder plain;
  SetProgramDir(AnsiToWideWithCodePage(plain.Path(), CP_UTF8));
  const std::string iniPath = plain / "test_app.ini";
  std::filesystem::create_directory(iniPath);
  Settings = Stored();
  try {
    SaveSettings();
    ADD_FAILURE() << "saving into a folder succeeded";
  } catch (const EIniFileException& e) {
    EXPECT_STREQ(e.what(), ("Unable to write to " + iniPath).c_str());
  }

  std::filesystem::remove(iniPath);
  SaveSettings();
  Settings = TSettings{};
  LoadSettings();
  EXPECT_EQ(Settings, Stored());
}

TEST(ProgramFolder, IsTheFolderOfTheProgramsFileUnlessOverridden) {
  const WideString own = ProgramDir();
  ASSERT_FALSE(own.empty());
  EXPECT_EQ(own.back(), u'/');
  SetProgramDir(u"/tmp/elsewhere");
  EXPECT_EQ(ProgramDir(), u"/tmp/elsewhere/");
  SetProgramDir(u"");
  EXPECT_EQ(ProgramDir(), own);
}

}  // namespace
