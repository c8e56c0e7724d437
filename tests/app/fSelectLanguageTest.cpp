// The language files beside the program, the language dialog, and switching the
// program's windows and messages to another language and back.
#include "app/fSelectLanguage.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <functional>
#include <utility>

#include "AppTestFiles.h"
#include "app/AppResStrings.h"
#include "app/uGlobals.h"
#include "app/uLanguages.h"
#include "l10n/Localizer.h"
#include "platform/gui/Consts.h"
#include "unicode/UniSystem.h"
#include "unicode/UniWideStrings.h"

namespace {

// The dialog's texts as a language file names them; identifiers are fixed by the order in
// which the dialog is built, and language files depend on them.
const WideString DialogLangSource =
    u"[SelectLanguage]\r\n"
    u"Caption=00000001,Select Language\r\n"
    u"lblLanguage.Caption=00000002,Language:\r\n"
    u"btnOK.Caption=00000003,OK\r\n"
    u"btnCancel.Caption=00000004,Cancel\r\n";

const WideString RussianFile =
    u"LANGID=1049\r\n"
    u"[SelectLanguage]\r\n"
    u"1=\u0412\u044b\u0431\u043e\u0440 \u044f\u0437\u044b\u043a\u0430\r\n"
    u"2=\u042f\u0437\u044b\u043a:\r\n"
    u"4=\u041e\u0442\u043c\u0435\u043d\u0430\r\n"
    u"[$Constants]\r\n"
    u"SBtnStart=\u0421\u0442\u0430\u0440\u0442\r\n"
    u"SMsgDlgCancel=\u041e\u0442\u043c\u0435\u043d\u0430\r\n";

const WideString GermanFile =
    u"LANGID=1031\r\n"
    u"[SelectLanguage]\r\n"
    u"2=Sprache:\r\n"
    u"[$Constants]\r\n"
    u"SBtnStart=Starten\r\n";

class Languages : public testing::Test {
protected:
  Languages() {
    WriteBytes(Folder / "QuirefoldB_ru.lng", Utf16LEWithBom(RussianFile));
    WriteBytes(Folder / "quirefoldb_DE.LNG", Utf16LEWithBom(GermanFile));  // masks ignore case
    // Neither another name nor a subfolder counts.
    WriteBytes(Folder / "Other_fr.lng", Utf16LEWithBom(u"LANGID=1036\r\n"));
    std::filesystem::create_directory(Folder / "more");
    WriteBytes(Folder / "more/QuirefoldB_uk.lng", Utf16LEWithBom(u"LANGID=1058\r\n"));
    Settings = DefaultSettings();
  }
  ~Languages() override {
    LangManager().SetLanguageID(TLanguageManager::DefaultLangID);
    Settings = TSettings{};
  }

  // Runs `answer` on the dialog once it shows modally.
  static void Answer(TfrmSelectLanguage& dialog, const std::function<void()>& answer) {
    QTimer::singleShot(0, [&dialog, answer] {
      EXPECT_TRUE(dialog.Modal());
      answer();
    });
  }
  static void Pick(TfrmSelectLanguage& dialog, uint16_t langID) {
    Answer(dialog, [&dialog, langID] {
      dialog.cmbLanguage->SetItemIndex(LangManager().IndexOfLanguageID(langID));
      dialog.btnOK->Click();
    });
  }

  static WideString Text(const TResStringRec& record) { return LoadWideResString(&record); }

  TProgramFolder Folder;
};

TEST_F(Languages, TheFilesBesideTheProgramAreListedAfterTheBuiltInLanguage) {
  EXPECT_EQ(RegisterLanguageFiles(), 2);
  TfrmSelectLanguage dialog(nullptr);
  ASSERT_EQ(dialog.cmbLanguage->Items()->GetCount(), 3);
  EXPECT_EQ(dialog.cmbLanguage->Items()->GetString(0), u"English (United States)");
  // In the order the folder lists the files.
  const std::pair<uint16_t, const char16_t*> registered[] = {{1049, u"Russian (Russia)"}, {1031, u"German (Germany)"}};
  for (const auto& [langID, name] : registered) {
    const int32_t index = LangManager().IndexOfLanguageID(langID);
    ASSERT_GE(index, 1);
    EXPECT_EQ(dialog.cmbLanguage->Items()->GetString(index), name);
  }
  EXPECT_EQ(LangManager().IndexOfLanguageID(1036), 0);
  EXPECT_EQ(LangManager().IndexOfLanguageID(1058), 0);
  EXPECT_EQ(LangManager().GetLanguageID(), TLanguageManager::DefaultLangID);  // none stored
}

TEST_F(Languages, TheDialogsTextsCarryFixedIdentifiers) {
  TfrmSelectLanguage dialog(nullptr);
  TUniStringList lines;
  dialog.dlcSelectLanguage->GetLangSource(lines);
  EXPECT_EQ(lines.GetText(), DialogLangSource);
  EXPECT_EQ(dialog.Caption(), u"Select Language");
  EXPECT_EQ(dialog.ClientWidth(), 297);
  EXPECT_EQ(dialog.ClientHeight(), 105);
  EXPECT_EQ(dialog.cmbLanguage->Style(), csDropDownList);
}

TEST_F(Languages, TheStoredLanguageIsShownAtStartUp) {
  Settings.LanguageId = 1049;
  RegisterLanguageFiles();
  EXPECT_EQ(LangManager().GetLanguageID(), 1049);
  EXPECT_EQ(Text(SBtnStart), u"\u0421\u0442\u0430\u0440\u0442");
  EXPECT_EQ(Text(SMsgDlgCancel), u"\u041e\u0442\u043c\u0435\u043d\u0430");
  // A dialog made afterwards starts in that language; what the file leaves out stays.
  TfrmSelectLanguage dialog(nullptr);
  EXPECT_EQ(dialog.Caption(), u"\u0412\u044b\u0431\u043e\u0440 \u044f\u0437\u044b\u043a\u0430");
  EXPECT_EQ(dialog.lblLanguage->Caption(), u"\u042f\u0437\u044b\u043a:");
  EXPECT_EQ(dialog.btnOK->Caption(), u"OK");
}

TEST_F(Languages, AStoredLanguageWithoutAFileShowsTheBuiltInOneAndIsKept) {
  // 66585 is 1049 plus 65536: no LANGID, so it must not pass for Russian.
  for (int32_t stored : {1036, 66585, -1049}) {
    SCOPED_TRACE(stored);
    Settings.LanguageId = stored;
    RegisterLanguageFiles();
    EXPECT_EQ(LangManager().GetLanguageID(), TLanguageManager::DefaultLangID);
    EXPECT_EQ(Text(SBtnStart), u"Start");
    EXPECT_EQ(Settings.LanguageId, stored);
  }
}

TEST_F(Languages, ChoosingALanguageTranslatesOpenWindowsAndMessagesAndTheDefaultRestoresThem) {
  RegisterLanguageFiles();
  TfrmSelectLanguage dialog(nullptr);
  int changes = 0;
  dialog.dlcSelectLanguage->OnLanguageChanged = [&](TObject*) { ++changes; };

  Pick(dialog, 1049);
  ASSERT_TRUE(ChooseLanguage(dialog));
  EXPECT_EQ(Settings.LanguageId, 1049);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(dialog.Caption(), u"\u0412\u044b\u0431\u043e\u0440 \u044f\u0437\u044b\u043a\u0430");
  EXPECT_EQ(dialog.lblLanguage->Caption(), u"\u042f\u0437\u044b\u043a:");
  EXPECT_EQ(dialog.btnCancel->Caption(), u"\u041e\u0442\u043c\u0435\u043d\u0430");
  EXPECT_EQ(Text(SBtnStart), u"\u0421\u0442\u0430\u0440\u0442");
  EXPECT_EQ(Text(SBtnBreak), u"Break");  // not in the file
  // The list keeps the system's names.
  EXPECT_EQ(dialog.cmbLanguage->Items()->GetString(0), u"English (United States)");

  // From one translation to another: what the second leaves out is built-in again.
  Pick(dialog, 1031);
  ASSERT_TRUE(ChooseLanguage(dialog));
  EXPECT_EQ(Settings.LanguageId, 1031);
  EXPECT_EQ(dialog.Caption(), u"Select Language");
  EXPECT_EQ(dialog.lblLanguage->Caption(), u"Sprache:");
  EXPECT_EQ(dialog.btnCancel->Caption(), u"Cancel");
  EXPECT_EQ(Text(SBtnStart), u"Starten");
  EXPECT_EQ(Text(SMsgDlgCancel), u"Cancel");

  Pick(dialog, 1033);
  ASSERT_TRUE(ChooseLanguage(dialog));
  EXPECT_EQ(Settings.LanguageId, 1033);  // the built-in language is stored by its LANGID
  EXPECT_EQ(changes, 3);
  EXPECT_EQ(dialog.Caption(), u"Select Language");
  EXPECT_EQ(dialog.lblLanguage->Caption(), u"Language:");
  EXPECT_EQ(Text(SBtnStart), u"Start");
}

TEST_F(Languages, TheDialogPreselectsTheStoredLanguageAndCancelChangesNothing) {
  Settings.LanguageId = 1031;
  RegisterLanguageFiles();
  TfrmSelectLanguage dialog(nullptr);
  int changes = 0;
  dialog.dlcSelectLanguage->OnLanguageChanged = [&](TObject*) { ++changes; };

  // Confirmed as it was shown: the same LANGID, and no second translation.
  Answer(dialog, [&] {
    EXPECT_EQ(dialog.cmbLanguage->ItemIndex(), LangManager().IndexOfLanguageID(1031));
    dialog.HandleKey(VK_RETURN, 0);
  });
  EXPECT_TRUE(ChooseLanguage(dialog));
  EXPECT_EQ(Settings.LanguageId, 1031);
  EXPECT_EQ(changes, 0);

  const std::function<void()> cancels[] = {[&] { dialog.btnCancel->Click(); }, [&] { dialog.HandleKey(VK_ESCAPE, 0); },
                                           [&] { dialog.Close(); }};
  for (const auto& cancel : cancels) {
    Answer(dialog, [&] {
      dialog.cmbLanguage->SetItemIndex(LangManager().IndexOfLanguageID(1049));
      cancel();
    });
    EXPECT_FALSE(ChooseLanguage(dialog));
    EXPECT_EQ(Settings.LanguageId, 1031);
    EXPECT_EQ(LangManager().GetLanguageID(), 1031);
  }
  EXPECT_EQ(changes, 0);
}

TEST_F(Languages, ExecuteHandsBackTheChosenLangIdOnlyOnOk) {
  RegisterLanguageFiles();
  TfrmSelectLanguage dialog(nullptr);
  uint16_t langID = 4242;  // not registered: the built-in entry is preselected
  Answer(dialog, [&] {
    EXPECT_EQ(dialog.cmbLanguage->ItemIndex(), 0);
    dialog.btnOK->Click();
  });
  EXPECT_TRUE(dialog.Execute(langID));
  EXPECT_EQ(langID, TLanguageManager::DefaultLangID);

  Answer(dialog, [&] { dialog.btnCancel->Click(); });
  langID = 1049;
  EXPECT_FALSE(dialog.Execute(langID));
  EXPECT_EQ(langID, 1049);
}

}  // namespace
