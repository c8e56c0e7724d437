// The language dialog: a list of the languages the program can show, the built-in one
// first and then one per registered language file, in the order of the language
// manager's indexes.
#pragma once

#include <cstdint>

#include "l10n/LangController.h"
#include "unicode/controls/UniForms.h"

class TfrmSelectLanguage : public TUniForm {
public:
  // Builds the dialog and fills its list from the languages registered so far; the list
  // is not rebuilt later, and keeps the system's names whatever language is shown.
  explicit TfrmSelectLanguage(TComponent* owner);

  // Shows the dialog modally with the entry of langID selected (the built-in language
  // when langID is not registered). On OK sets langID to the selected entry's LANGID
  // and returns true; on Cancel or Close returns false and leaves langID alone.
  bool Execute(uint16_t& langID);

  TUniLabel* lblLanguage;
  TUniComboBox* cmbLanguage;
  TUniButton* btnOK;
  TUniButton* btnCancel;
  TLanguageController* dlcSelectLanguage;

private:
  void FormCreate();
};
