#include "platform/base/Exception.h"

#include <cstring>

void RaiseOSError(uint32_t errorCode) {
  char text[256];
  // The GNU strerror_r returns the text, which may or may not live in our buffer.
  const char* systemText = strerror_r(static_cast<int>(errorCode), text, sizeof text);
  throw EOSError("System Error.  Code: " + std::to_string(errorCode) + ".\r\n" + systemText, errorCode);
}
