#include "xml/codecs/CodecMessages.h"

#include <cstdarg>
#include <cstdio>

AnsiString FormatCodecMessage(const char* format, ...) {
  // The class library prints hexadecimal in upper case whatever the specifier's case.
  AnsiString printfFormat(format);
  bool inSpec = false;
  for (char& c : printfFormat) {
    if (c == '%') {
      inSpec = !inSpec;
    } else if (inSpec && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
      if (c == 'x') c = 'X';
      inSpec = false;
    }
  }
  va_list args;
  va_start(args, format);
  va_list sizing;
  va_copy(sizing, args);
  const int length = std::vsnprintf(nullptr, 0, printfFormat.c_str(), sizing);
  va_end(sizing);
  AnsiString result(static_cast<size_t>(length > 0 ? length : 0), '\0');
  std::vsnprintf(result.data(), result.size() + 1, printfFormat.c_str(), args);
  va_end(args);
  return result;
}
