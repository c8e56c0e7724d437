// UTF-16 forms and application, and the start-up of the GUI's Unicode environment.
#pragma once

#include <exception>

#include "platform/gui/Forms.h"
#include "unicode/controls/UniControls.h"

class TUniForm : public TUniControl<TForm> {
public:
  using TUniControl::TUniControl;
};

// The application with a UTF-16 title and hint whose exception display is the Unicode
// one: the message (a WideException's UTF-16 text), ending in a ".", in a box with the
// stop icon captioned with the title.
class TUniApplication : public TApplication {
public:
  TUniApplication(int& argc, char** argv);
  ~TUniApplication() override;

  void ShowWideException(const std::exception& e);
  int32_t WideMessageBox(const WideString& text, const WideString& caption, uint32_t flags) {
    return MessageBox(text, caption, flags);
  }
};

// The face of the default dialog font: "Tahoma" when installed, else the face that the
// classic dialog font resolves to. Nothing system-wide is read or written.
WideString SetupFontSubstitutes();

// The GUI half of the start-up: the runtime patches (SetupUnicodeEnvironment), the
// default font of new windows and the popup list of the menus. Call once, after the
// application exists.
void SetupUnicodeControls();
