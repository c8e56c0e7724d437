#include "app/uArchivePrompts.h"

#include "platform/base/CodePages.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

bool TArchiveMediaPrompts::ConfirmMedia(const AnsiString& text, const AnsiString& caption) {
  // Without an application there is no one to ask.
  if (!Application) return false;
  return Application->MessageBox(AnsiToWide(text), AnsiToWide(caption), MB_OKCANCEL | MB_TASKMODAL) == mrOk;
}

void InstallArchiveMediaPrompts() {
  static TArchiveMediaPrompts prompts;
  SetArMediaPrompts(&prompts);
}
