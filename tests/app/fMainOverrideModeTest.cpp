// The override choice whatever the settings or a language file hold: the box always shows
// one of its three entries, and an existing ".wol" is never replaced unless "Override"
// is shown.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppTestFiles.h"
#include "MainWindowFixture.h"
#include "l10n/LangTestIds.h"
#include "unicode/UniSysUtils.h"

namespace {

// A German language file whose override list has the given number of entries.
std::string GermanOverrideEntries(uint32_t id, int32_t count) {
  const char16_t* entries[] = {u"Fragen", u"Ersetzen", u"Auslassen", u"Weitere"};
  WideString value;
  for (int32_t i = 0; i < count; ++i) value += (i ? u"\\n" : u"") + WideString(entries[i]);
  return Utf16LEWithBom(u"LANGID=1031\r\n[MainWindow]\r\n" + WideFormat(u"%d=", {static_cast<int32_t>(id)}) + value +
                        u"\r\n");
}

TEST_F(MainWindow, TheOverrideBoxNeverGoesBlankAndNeverOverwritesUnasked) {
  struct TCase {
    int32_t Stored;
    // Entries of the language file's override list; 0: no language file.
    int32_t Entries;
    int32_t Shown;
    const char16_t* ShownText;
    // What an existing ".wol" meets: the question (answered No), replacement or a skip.
    TOverrideMode Meets;
  };
  const TCase cases[] = {
      {1, 0, 1, u"Override", omOverride}, {-1, 0, 0, u"Ask", omAsk},
      {3, 0, 0, u"Ask", omAsk},           {2, 1, 2, u"Don't convert", omDontConvert},
      {-1, 1, 0, u"Fragen", omAsk},       {0, 2, 0, u"Fragen", omAsk},
      {1, 2, 1, u"Ersetzen", omOverride}, {2, 2, 2, u"Don't convert", omDontConvert},
      {1, 4, 1, u"Ersetzen", omOverride}, {7, 4, 0, u"Fragen", omAsk},
  };
  TfrmMain& english = Create();
  const uint32_t id = LangIdOf(english.dlcMain->Root(), english.cmbOverrideMode, "Items");
  ASSERT_NE(id, 0u);
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "stored " << c.Stored << ", entries " << c.Entries);
    Window.reset();
    std::filesystem::remove(Folder / "QuirefoldB_de.lng");
    if (c.Entries > 0) WriteBytes(Folder / "QuirefoldB_de.lng", GermanOverrideEntries(id, c.Entries));
    Settings = DefaultSettings();
    Settings.OverrideMode = c.Stored;
    Settings.LanguageId = c.Entries > 0 ? 1031 : 0;
    SaveSettings();

    TfrmMain& w = Create();
    EXPECT_EQ(LangManager().GetLanguageID(), c.Entries > 0 ? 1031 : TLanguageManager::DefaultLangID);
    ASSERT_EQ(w.cmbOverrideMode->ItemCount(), 3);
    ASSERT_EQ(w.cmbOverrideMode->ItemIndex(), c.Shown);
    EXPECT_EQ(w.cmbOverrideMode->Item(c.Shown).Text, c.ShownText);

    Add({Book("a.fb2")});
    WriteBytes(Wol("a"), "old");
    Dialogs->MessageAnswers = {mrNo};
    Start();
    EXPECT_EQ(Dialogs->Questions.size(), c.Meets == omAsk ? 1u : 0u);
    EXPECT_EQ(ReadBytes(Wol("a")), c.Meets == omOverride ? "wol of a.fb2" : "old");

    // Back in the built-in language the box still shows the mode.
    LangManager().SetLanguageID(TLanguageManager::DefaultLangID);
    EXPECT_EQ(w.cmbOverrideMode->ItemIndex(), c.Shown);
    EXPECT_EQ(w.cmbOverrideMode->Item(2).Text, u"Don't convert");
    w.Close();
    EXPECT_EQ(Settings.OverrideMode, c.Shown);
  }
}

}  // namespace
