// The program `quirefold-batch`: sets up the translations (the document's graphic and
// item classes come with the rich-text model's start-up, RPModelStartup.h), creates the
// application (with the message boxes that spanned archives ask through), the main window
// (which loads the settings and registers the language files) and then the language
// dialog, and runs until the main window closes. A failure before the windows run is
// shown in a message box, and the program ends with status 1.
#include <exception>
#include <memory>

#include "app/ProgramResStrings.h"
#include "app/fMain.h"
#include "app/fSelectLanguage.h"
#include "app/uArchivePrompts.h"
#include "app/uFB2WolBookConvertor.h"
#include "app/uMainDialogs.h"
#include "l10n/uLangRes.h"
#include "unicode/controls/UniForms.h"

int main(int argc, char** argv) {
  InstallResStringTranslation();
  for (const auto& table : ProgramResStringTables) RegisterResStrings(table);
  TUniApplication application(argc, argv);
  SetupUnicodeControls();
  InstallArchiveMediaPrompts();
  application.SetTitle(u"Quirefold Batch");
  try {
    auto* frmMain = CreateOwned<TfrmMain>(application, std::make_unique<TFB2WolBookConvertor>(),
                                          std::make_unique<TSystemDialogs>());
    application.SetMainForm(frmMain);
    frmMain->SetLanguageDialog(CreateOwned<TfrmSelectLanguage>(application));
  } catch (const std::exception& e) {
    application.ShowWideException(e);
    return 1;
  }
  application.Run();
  return 0;
}
