#include "app/uLanguages.h"

#include "app/AppResStrings.h"
#include "app/fSelectLanguage.h"
#include "app/uGlobals.h"
#include "l10n/Localizer.h"
#include "platform/base/CodePages.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/WideException.h"

uint16_t LanguageIdToLangID(int32_t languageId) {
  return languageId > 0 && languageId <= 0xFFFF ? static_cast<uint16_t>(languageId) : 0;
}

void SwitchLanguage(uint16_t langID) {
  TLanguageManager& manager = LangManager();
  try {
    manager.SetLanguageID(langID);
  } catch (const std::exception& e) {
    const auto* wide = dynamic_cast<const WideException*>(&e);
    const WideString reason = wide ? wide->WideMessage() : AnsiToWide(e.what());
    throw WideException(LoadWideResString(&SMsgLanguageFailed),
                        {manager.GetLanguageNameAt(manager.IndexOfLanguageID(langID)), reason});
  }
}

int32_t RegisterLanguageFiles(WideString& failure) {
  failure.clear();
  const int32_t count =
      LangManager().ScanForLangFiles(WideExcludeTrailingBackslash(ProgramDir()), LanguageFileMask, false);
  if (Settings.LanguageId > 0) {
    try {
      SwitchLanguage(LanguageIdToLangID(Settings.LanguageId));
    } catch (const WideException& e) {
      failure = e.WideMessage();
    }
  }
  return count;
}

int32_t RegisterLanguageFiles() {
  WideString failure;
  return RegisterLanguageFiles(failure);
}

bool ChooseLanguage(TfrmSelectLanguage& dialog) {
  uint16_t langID = LanguageIdToLangID(Settings.LanguageId);
  if (!dialog.Execute(langID)) return false;
  SwitchLanguage(langID);
  Settings.LanguageId = langID;
  return true;
}
