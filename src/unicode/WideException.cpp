#include "unicode/WideException.h"

#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

WideException::WideException(WideString message)
    : Exception(DefaultWideToAnsi(message)), FWideMessage(std::move(message)) {}

WideException::WideException(const WideString& format, std::span<const TVarRec> args)
    : WideException(WideFormat(format, args)) {}

WideException::WideException(PResStringRec message) : WideException(LoadWideResString(message)) {}

void WideException::SetWideMessage(WideString message) {
  SetMessage(DefaultWideToAnsi(message));
  FWideMessage = std::move(message);
}
