// Copying a path into a caller's buffer by the rules of the Windows path calls.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>

#include "platform/base/FileSystem.h"
#include "platform/base/LastError.h"

// With room for the text and its terminator: copies both, points *filePart (when given)
// after the last "/" (nullptr when the text ends with "/") and returns the length.
// Otherwise returns the size needed, terminator included, and writes nothing.
template <typename TChar>
uint32_t DeliverPath(const std::basic_string<TChar>& text, uint32_t bufferAvail, TChar* buffer,
                     TChar** filePart = nullptr) {
  const auto length = static_cast<uint32_t>(text.size());
  if (buffer == nullptr || length >= bufferAvail) return length + 1;
  std::copy(text.begin(), text.end(), buffer);
  buffer[length] = 0;
  if (filePart != nullptr) {
    const size_t slash = text.rfind(TChar('/'));
    *filePart = slash + 1 == text.size() ? nullptr : buffer + slash + 1;
  }
  return length;
}

// Copies a name into a buffer of MAX_PATH characters; false with ERROR_BUFFER_OVERFLOW
// when it does not fit.
template <typename TChar>
bool DeliverName(const std::basic_string<TChar>& name, TChar* buffer) {
  if (name.size() >= MAX_PATH) {
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return false;
  }
  std::copy(name.begin(), name.end(), buffer);
  buffer[name.size()] = 0;
  return true;
}
