#include "app/uLanguages.h"

#include "app/fSelectLanguage.h"
#include "app/uGlobals.h"
#include "l10n/Localizer.h"
#include "unicode/UniSysUtils.h"

uint16_t LanguageIdToLangID(int32_t languageId) {
  return languageId > 0 && languageId <= 0xFFFF ? static_cast<uint16_t>(languageId) : 0;
}

int32_t RegisterLanguageFiles() {
  const int32_t count =
      LangManager().ScanForLangFiles(WideExcludeTrailingBackslash(ProgramDir()), LanguageFileMask, false);
  if (Settings.LanguageId > 0) LangManager().SetLanguageID(LanguageIdToLangID(Settings.LanguageId));
  return count;
}

bool ChooseLanguage(TfrmSelectLanguage& dialog) {
  uint16_t langID = LanguageIdToLangID(Settings.LanguageId);
  if (!dialog.Execute(langID)) return false;
  Settings.LanguageId = langID;
  LangManager().SetLanguageID(langID);
  return true;
}
