#include "unicode/controls/UniForms.h"

#include "platform/graphics/FontResolver.h"
#include "unicode/UniRuntimeSetup.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/controls/UniMenus.h"

namespace {

// The runtime's exception display shows its text through the application.
void ShowTextInMessageBox(const WideString& text) {
  if (Application) Application->MessageBox(text, Application->Title(), MB_OK | MB_ICONSTOP);
}

}  // namespace

TUniApplication::TUniApplication(int& argc, char** argv) : TApplication(argc, argv) {
  ShowException = [this](const std::exception& e) { ShowWideException(e); };
  ExceptionMessageHook = &ShowTextInMessageBox;
}

TUniApplication::~TUniApplication() {
  if (ExceptionMessageHook == &ShowTextInMessageBox) ExceptionMessageHook = nullptr;
}

void TUniApplication::ShowWideException(const std::exception& e) {
  const auto* wide = dynamic_cast<const WideException*>(&e);
  WideString text = wide ? wide->WideMessage() : DefaultAnsiToWide(e.what());
  if (!text.empty() && text.back() != u'.') text += u'.';
  WideMessageBox(text, Title(), MB_OK | MB_ICONSTOP);
}

WideString SetupFontSubstitutes() {
  const TResolvedFontFace& tahoma = ResolveFontFace(u"Tahoma", false, false);
  if (tahoma.FamilyName == "Tahoma") return u"Tahoma";
  return Utf8ToWide(ResolveFontFace(u"MS Sans Serif", false, false).FamilyName);
}

void SetupUnicodeControls() {
  SetupUnicodeEnvironment();
  SetDefaultFontName(SetupFontSubstitutes().substr(0, 31));
  SetPopupList(&UniPopupList());
}
