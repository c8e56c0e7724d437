// Locale, module and message routines of UniSysUtils.
#include "platform/base/LastError.h"
#include "platform/base/Locale.h"
#include "platform/base/StringTypes.h"
#include "platform/base/TextUtils.h"
#include "platform/base/UnicodeCase.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/UniWideStrUtils.h"
#include "unicode/UniWindows.h"

WideString WideGetModuleFileName(HMODULE module) {
  // The buffer grows until the whole name fits, so no long path is cut.
  WideString name(MAX_PATH, u'\0');
  uint32_t length;
  while ((length = WideGetModuleFileNameApi(module, name.data(), static_cast<uint32_t>(name.size()))) >= name.size())
    name.resize(name.size() * 2);
  if (length == 0) RaiseLastOSError();
  name.resize(length);
  return WideStrFromBuffer(name.c_str(), -1);
}

WideString WideSysErrorMessage(uint32_t errorCode) { return WideGetMessageFromModule(u"system", 0, errorCode); }

WideString WideGetMessageFromModule(const WideString& sourceName, HMODULE module, uint32_t errorCode) {
  // The system's messages exist in UTF-16 only, so both platform families read them so.
  constexpr uint32_t kBufferChars = 256;
  uint32_t flags = FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY;
  if (module != 0) flags |= FORMAT_MESSAGE_FROM_HMODULE;
  WideChar buffer[kBufferChars];
  const uint32_t length =
      FormatMessageW(flags, reinterpret_cast<const void*>(module), errorCode, 0, buffer, kBufferChars, nullptr);
  WideString text = Trim(WideStringView(buffer, length));
  if (text.empty()) text = WideFormat(u"Unspecified error (%d) from %s.", {errorCode, sourceName});
  return text;
}

bool IsWideCharMappableToAnsi(WideChar c) {
  AnsiString ansi;
  return TryWideToAnsiWithCodePage(WideStringView(&c, 1), UserCodePage, ansi);
}

WideString WideGetLocaleStr(uint32_t locale, uint32_t item, const WideString& defaultValue) {
  if (PlatformIsUnicode()) {
    WideChar buffer[255];
    const int32_t length = GetLocaleInfoW(locale, item, buffer, 255);
    return length > 0 ? WideString(buffer, static_cast<size_t>(length) - 1) : defaultValue;
  }
  char buffer[255];
  const int32_t length = GetLocaleInfoA(locale, item, buffer, 255);
  return length > 0 ? DefaultAnsiToWide(AnsiStringView(buffer, static_cast<size_t>(length) - 1)) : defaultValue;
}

namespace {

uint16_t CharType(WideChar c) {
  uint16_t type = 0;
  if (!WideGetStringTypeEx(GetThreadLocale(), CT_CTYPE1, &c, 1, &type)) RaiseLastOSError();
  return type;
}

}  // namespace

bool IsWideCharSpace(WideChar c) { return (CharType(c) & C1_SPACE) != 0; }

bool IsWideCharPunct(WideChar c) { return (CharType(c) & C1_PUNCT) != 0; }
