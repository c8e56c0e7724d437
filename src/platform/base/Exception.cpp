#include "platform/base/Exception.h"

#include "platform/base/Format.h"
#include "platform/base/LastError.h"

TRaiseLastOSErrorHook RaiseLastOSErrorHook = nullptr;

void RaiseLastOSError() {
  if (RaiseLastOSErrorHook) RaiseLastOSErrorHook();
  const uint32_t code = GetLastError();
  if (code == ERROR_SUCCESS) throw EOSError(SUnkOSError, code);
  throw EOSError(Format(SOSError, {code, SystemErrorMessage(code)}), code);
}
