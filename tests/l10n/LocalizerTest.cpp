#include "l10n/Localizer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "LangTestFiles.h"
#include "l10n/LangErrors.h"
#include "l10n/LangLimits.h"
#include "l10n/uLangRes.h"
#include "platform/base/Exception.h"
#include "platform/base/FileSearch.h"
#include "platform/base/FileSystemNames.h"
#include "platform/base/TempFolder.h"
#include "unicode/UniSystem.h"

namespace {

// Records what the manager does to a window.
class TRecordingController : public ILangController {
public:
  explicit TRecordingController(WideString section) : FSection(std::move(section)) {}
  WideString ActualSectionName() const override { return FSection; }
  void LanguageChanging() override { Events += "changing;"; }
  void ApplyTranslation(const TLang_CompTranslation* section, uint32_t codePage) override {
    const WideString* caption = section ? section->Find(1) : nullptr;
    Caption = caption ? *caption : u"Default caption";
    CodePage = codePage;
    Events += "apply;";
  }
  void LanguageChanged() override { Events += "changed;"; }

  std::string Events;
  WideString Caption;
  uint32_t CodePage = 0;

private:
  WideString FSection;
};

const WideString Russian =
    u"LANGID=1049\r\n[MainWindow]\r\n1=\u0413\u043b\u0430\u0432\u043d\u043e\u0435\r\n"
    u"[$CONSTANTS]\r\nSMsgTranslated=\u041f\u0435\u0440\u0435\u0432\u0435\u0434\u0435\u043d\u043e\r\n"
    u"SMsgEmpty=\r\n";
const WideString German = u"LANGID=1031\r\n[$CONSTANTS]\r\nSMsgTranslated=\u00dcbersetzt\r\n";

class LanguageManager : public ::testing::Test {
protected:
  void SetUp() override {
    Manager.Constants().AddConstant("SMsgTranslated", u"Translated", 0);
    Manager.Constants().AddConstant("SMsgUntranslated", u"Untranslated", 0);
    Manager.Constants().AddConstant("SMsgEmpty", u"Built-in", 0);
  }

  TempFolder Folder;
  TLanguageManager Manager;
};

}  // namespace

TEST_F(LanguageManager, ScansLanguageFilesCaseInsensitively) {
  WriteLangFile(Folder / "quirefoldb_RU.LNG", Russian, TLangFileEncoding::Utf16LE);
  WriteLangFile(Folder / "QuirefoldB_de.lng", German, TLangFileEncoding::Utf8);
  WriteLangFile(Folder / "QuirefoldB_en.lng", u"LANGID=1033\r\n", TLangFileEncoding::Utf8);
  WriteLangFile(Folder / "QuirefoldB_bad.lng", u"no header\r\n", TLangFileEncoding::Utf8);
  WriteLangFile(Folder / "Other_ru.lng", Russian, TLangFileEncoding::Utf8);

  // The default language's own file counts but is not registered as a language.
  EXPECT_EQ(Manager.ScanForLangFiles(FileSystemNameToWide(Folder.Path()), u"QuirefoldB_*.lng", false), 3);
  EXPECT_EQ(Manager.GetLanguageCount(), 3);
  EXPECT_EQ(Manager.GetLanguageIDAt(0), 1033);
  EXPECT_NE(Manager.IndexOfLanguageID(1049), 0);
  EXPECT_NE(Manager.IndexOfLanguageID(1031), 0);
  EXPECT_EQ(Manager.IndexOfLanguageID(1036), 0);  // unregistered: same as the default
  EXPECT_EQ(Manager.IndexOfLanguageID(1033), 0);
}

TEST_F(LanguageManager, SwitchesLanguageAndBack) {
  ASSERT_TRUE(Manager.RegisterLangFile(WriteLangFile(Folder / "ru.lng", Russian, TLangFileEncoding::Ansi1251)));
  TRecordingController window(u"MAINWINDOW");
  Manager.AddLangController(&window);

  Manager.SetLanguageID(1049);
  EXPECT_EQ(Manager.GetLanguageID(), 1049);
  EXPECT_EQ(Manager.CodePage(), 1251u);
  EXPECT_EQ(window.Events, "changing;apply;changed;");
  EXPECT_EQ(window.Caption, u"\u0413\u043b\u0430\u0432\u043d\u043e\u0435");
  EXPECT_EQ(Manager.GetConstantValue("SMsgTranslated"),
            u"\u041f\u0435\u0440\u0435\u0432\u0435\u0434\u0435\u043d\u043e");
  EXPECT_EQ(Manager.GetConstantValue("SMsgUntranslated"), u"Untranslated");

  Manager.SetLanguageID(1033);
  EXPECT_EQ(window.Caption, u"Default caption");
  EXPECT_EQ(Manager.GetConstantValue("SMsgTranslated"), u"Translated");

  // An unregistered language selects the default, which is already current: nothing applies.
  window.Events.clear();
  Manager.SetLanguageID(1036);
  EXPECT_EQ(Manager.GetLanguageID(), 1033);
  EXPECT_EQ(window.Events, "");
  Manager.RemoveLangController(&window);
}

TEST_F(LanguageManager, TheLaterFileOfOneLanguageWins) {
  Manager.RegisterLangFile(WriteLangFile(Folder / "a.lng", German, TLangFileEncoding::Utf8));
  Manager.RegisterLangFile(WriteLangFile(Folder / "b.lng", u"LANGID=1031\r\n[$CONSTANTS]\r\nSMsgTranslated=Zweite\r\n",
                                         TLangFileEncoding::Utf16LE));
  EXPECT_EQ(Manager.GetLanguageCount(), 2);
  Manager.SetLanguageID(1031);
  EXPECT_EQ(Manager.GetConstantValue("SMsgTranslated"), u"Zweite");
}

TEST_F(LanguageManager, AFailedSwitchKeepsTheCurrentLanguage) {
  const std::string file = Folder / "ru.lng";
  Manager.RegisterLangFile(WriteLangFile(file, Russian, TLangFileEncoding::Utf8));
  WriteLangFile(file, u"LANGID=1049\r\n[A]\r\n1=a\r\n1=a\r\n", TLangFileEncoding::Utf8);
  EXPECT_THROW(Manager.SetLanguageID(1049), Exception);
  EXPECT_EQ(Manager.GetLanguageID(), 1033);
  EXPECT_EQ(Manager.GetConstantValue("SMsgTranslated"), u"Translated");
}

// A FIFO matching the mask is passed over without being opened (opening it would wait
// for a writer or fail the scan).
TEST_F(LanguageManager, TheScanOpensOnlyRegularFiles) {
  WriteLangFile(Folder / "QuirefoldB_ru.lng", Russian, TLangFileEncoding::Utf8);
  ASSERT_EQ(mkfifo((Folder / "QuirefoldB_fifo.lng").c_str(), 0600), 0);
  EXPECT_EQ(Manager.ScanForLangFiles(FileSystemNameToWide(Folder.Path()), u"QuirefoldB_*.lng", false), 1);
  EXPECT_EQ(Manager.GetLanguageCount(), 2);
}

// A file that fails to load is passed over and the scan goes on: the other files still
// register, and the search is closed. Search handles are never reused, so the one before
// a new search is the scan's.
TEST_F(LanguageManager, AFileThatFailsToLoadIsPassedOver) {
  WriteLangFile(Folder / "QuirefoldB_ru.lng", Russian, TLangFileEncoding::Utf8);
  WriteLangFile(Folder / "QuirefoldB_big.lng", u"LANGID=1031\r\n" + WideString(4000, u'x'), TLangFileEncoding::Utf8);
  const int64_t saved = LangLimits().MaxFileBytes;
  LangLimits().MaxFileBytes = 2000;
  EXPECT_EQ(Manager.ScanForLangFiles(FileSystemNameToWide(Folder.Path()), u"QuirefoldB_*.lng", false), 1);
  LangLimits().MaxFileBytes = saved;
  EXPECT_EQ(Manager.GetLanguageCount(), 2);
  WIN32_FIND_DATAW found;
  const THandle next = FindFirstFileW((FileSystemNameToWide(Folder.Path()) + u"/*.lng").c_str(), &found);
  ASSERT_NE(next, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(FindClose(next - 1));
  EXPECT_TRUE(FindClose(next));
}

TEST_F(LanguageManager, AMissingFileIsNotRegistered) {
  EXPECT_FALSE(Manager.RegisterLangFile(FileSystemNameToWide(Folder / "missing.lng")));
  EXPECT_EQ(Manager.GetLanguageCount(), 1);
}

namespace {

inline constexpr TResStringRec STestTranslated{"SMsgTranslated", "Translated"};
inline constexpr TResStringRec STestEmpty{"SMsgEmpty", "Built-in"};
inline constexpr TResStringRec STestUnknownName{"SMsgNotAConstant", "Kept"};
inline constexpr TResStringRec STestUnregistered{"SMsgUntranslated", "Never registered"};
inline constexpr TResStringRec STestReplaced{"SMsgTranslated", "Replaced record"};

}  // namespace

TEST(ResStringRegistry, AnswersLoadsInTheCurrentLanguage) {
  TempFolder folder;
  InstallResStringTranslation();
  const PResStringRec records[] = {&STestReplaced, &STestTranslated, &STestEmpty, &STestUnknownName};
  RegisterResStrings(records);
  TLanguageManager& manager = LangManager();
  manager.Constants().AddConstant("SMsgTranslated", u"Translated", 0);
  manager.Constants().AddConstant("SMsgEmpty", u"Built-in", 0);

  EXPECT_EQ(LoadWideResString(&STestTranslated), u"Translated");
  ASSERT_TRUE(manager.RegisterLangFile(WriteLangFile(folder / "ru.lng", Russian, TLangFileEncoding::Utf8)));
  manager.SetLanguageID(1049);
  EXPECT_EQ(LoadWideResString(&STestTranslated), u"\u041f\u0435\u0440\u0435\u0432\u0435\u0434\u0435\u043d\u043e");
  EXPECT_EQ(LoadWideResString(&STestReplaced), u"Replaced record");  // the later record took the name
  EXPECT_EQ(LoadWideResString(&STestEmpty), u"Built-in");            // an empty translation
  EXPECT_EQ(LoadWideResString(&STestUnknownName), u"Kept");          // a name the constants lack
  EXPECT_EQ(LoadWideResString(&STestUnregistered), u"Never registered");
  manager.SetLanguageID(1033);
  EXPECT_EQ(LoadWideResString(&STestTranslated), u"Translated");
  UninstallResStringTranslation();
}

TEST(LanguageManagerDefaults, ComeFromTheEmbeddedConstants) {
  // tests/data/l10n/LANG_CONSTS.bin: version 2, auto-save 1, two constants.
  TLanguageManager manager;
  EXPECT_EQ(manager.GetConstantValue("SMsgHello"), u"Hello");
  EXPECT_EQ(manager.GetConstantValue("stxtcyrillic"), u"\u0422\u0435\u043a\u0441\u0442");
  EXPECT_TRUE(manager.Constants().AutoSaveLangSource());
  EXPECT_EQ(manager.GetLanguageNameAt(0), u"English (United States)");
}
