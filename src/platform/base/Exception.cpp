#include "platform/base/Exception.h"

#include "platform/base/CodePages.h"
#include "platform/base/Format.h"
#include "platform/base/LastError.h"

void RaiseLastOSError() {
  const uint32_t code = GetLastError();
  if (code == ERROR_SUCCESS) throw EOSError(SUnkOSError, code);
  throw EOSError(Format(SOSError, {code, SystemErrorMessage(code)}), code);
}
