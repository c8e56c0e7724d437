#include "unicode/UniRuntimeSetup.h"

#include <cstdio>

#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

TExceptionMessageHook ExceptionMessageHook = nullptr;

void SetupUnicodeEnvironment() { InstallUnicodeRuntimePatches(urpAll); }

WideString ExceptionDisplayText(const std::exception& e) {
  const auto* wide = dynamic_cast<const WideException*>(&e);
  WideString text = wide != nullptr ? wide->WideMessage() : DefaultAnsiToWide(e.what());
  if (!text.empty() && text.back() > u'.') text += u'.';
  return text;
}

void ShowUnicodeException(const std::exception& e) noexcept {
  try {
    const WideString text = ExceptionDisplayText(e);
    if (ExceptionMessageHook != nullptr)
      ExceptionMessageHook(text);
    else
      WriteExceptionText(text);
  } catch (...) {
    // The display is the last resort of error handling; it must not raise in turn.
    std::fputs("Exception\n", stderr);
  }
}

void WriteExceptionText(const WideString& text) noexcept {
  try {
    const AnsiString line = WideToUtf8(text) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
  } catch (...) {
    std::fputs("Exception\n", stderr);
  }
}
