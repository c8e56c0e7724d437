// Resource strings, default conversions, code pages and the runtime switches.
#include "unicode/UniSystem.h"

#include <algorithm>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/LastError.h"
#include "platform/base/Locale.h"
#include "platform/base/TextUtils.h"
#include "unicode/UniRuntimeSetup.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniWindows.h"

uint32_t UserCodePage = CP_THREAD_ACP;
TResStringLoadHook ResStringLoadHook = nullptr;

namespace {

constexpr AnsiStringView kUtf8Signature = "\xEF\xBB\xBF";

uint32_t gInstalledPatches = 0;
uint32_t gSavedUserCodePage = CP_THREAD_ACP;

// The 8-bit text LoadAnsiResString last gave on this thread, with its UTF-16 original.
// The next default conversion to UTF-16 on the thread consumes it.
struct TKeptResString {
  bool Valid = false;
  AnsiString Ansi;
  WideString Wide;
};
thread_local TKeptResString tKeptResString;

uint32_t DefaultCodePage() {
  return (gInstalledPatches & (urpResStrings | urpUserCodePage)) != 0 ? UserCodePage : CP_ACP;
}

}  // namespace

WideString LoadWideResString(PResStringRec record) {
  WideString text;
  if (ResStringLoadHook != nullptr && ResStringLoadHook(record, text)) return text;
  if (record == nullptr || record->Text == nullptr) return WideString();
  const AnsiStringView builtIn = record->Text;
  if (builtIn.size() > kUtf8Signature.size() && builtIn.starts_with(kUtf8Signature))
    return Utf8ToWide(builtIn.substr(kUtf8Signature.size()));
  return DefaultAnsiToWide(builtIn);
}

WideString LoadWideResString(uint32_t identifier) {
  constexpr int32_t kBufferChars = 4097;
  WideString text(kBufferChars, u'\0');
  const int32_t length = WideLoadString(HInstance, identifier, text.data(), kBufferChars);
  text.resize(static_cast<size_t>(std::max(length, 0)));
  return text;
}

WideString AnsiToWideWithCodePage(AnsiStringView text, uint32_t codePage) {
  switch (codePage) {
    case CP_UTF7:
      return Utf7ToWide(text);
    case CP_UTF8:
      return Utf8ToWide(text);
    default:
      return AnsiToWide(text, codePage);
  }
}

AnsiString WideToAnsiWithCodePage(WideStringView text, uint32_t codePage) {
  switch (codePage) {
    case CP_UTF7:
      return WideToUtf7(text);
    case CP_UTF8:
      return WideToUtf8(text);
    default:
      return WideToAnsi(text, codePage);
  }
}

WideString DefaultAnsiToWide(AnsiStringView text) {
  if (tKeptResString.Valid) {
    TKeptResString kept = std::move(tKeptResString);
    tKeptResString = TKeptResString();
    if (kept.Ansi == text) return std::move(kept.Wide);
  }
  return AnsiToWideWithCodePage(text, DefaultCodePage());
}

AnsiString DefaultWideToAnsi(WideStringView text) { return WideToAnsiWithCodePage(text, DefaultCodePage()); }

bool TryDefaultWideToAnsi(WideStringView text, AnsiString& ansi) {
  return TryWideToAnsiWithCodePage(text, DefaultCodePage(), ansi);
}

bool TryWideToAnsiWithCodePage(WideStringView text, uint32_t codePage, AnsiString& ansi) {
  switch (codePage) {
    case CP_UTF7:
      ansi = WideToUtf7(text);
      return true;
    case CP_UTF8:
      // Only a lone surrogate lacks a mapping; it does not survive the way back.
      ansi = WideToUtf8(text);
      return Utf8ToWide(ansi) == text;
    default: {
      bool usedDefaultChar = false;
      ansi = WideToAnsi(text, codePage, &usedDefaultChar);
      return !usedDefaultChar;
    }
  }
}

AnsiString LoadAnsiResString(PResStringRec record) {
  if ((gInstalledPatches & urpResStrings) == 0) return record != nullptr && record->Text != nullptr ? record->Text : "";
  WideString wide = LoadWideResString(record);
  AnsiString ansi = DefaultWideToAnsi(wide);
  tKeptResString = TKeptResString{true, ansi, std::move(wide)};
  return ansi;
}

AnsiString WideToUtf8(WideStringView text) { return WideToAnsi(text, CP_UTF8); }

WideString Utf8ToWide(AnsiStringView text) { return AnsiToWide(text, CP_UTF8); }

uint32_t CodePageFromLocale(uint32_t locale) {
  char buffer[6];
  int32_t codePage;
  if (GetLocaleInfoA(locale, LOCALE_IDEFAULTANSICODEPAGE, buffer, sizeof buffer) > 0 && TryStrToInt(buffer, codePage) &&
      codePage >= 0)
    return static_cast<uint32_t>(codePage);
  return GetACP();
}

// Without a keyboard of its own, the runtime takes the user's language as the input
// language.
uint32_t KeyboardCodePage() { return CodePageFromLocale(GetUserDefaultLangID()); }

namespace {

// The glyphs that stand for the control codes 0x01..0x1F and 0x7F on screen.
constexpr WideChar kControlGlyphs[32] = {0x0000, 0x263A, 0x263B, 0x2665, 0x2666, 0x2663, 0x2660, 0x2022,
                                         0x25D8, 0x25CB, 0x25D9, 0x2642, 0x2640, 0x266A, 0x266B, 0x263C,
                                         0x25BA, 0x25C4, 0x2195, 0x203C, 0x00B6, 0x00A7, 0x25AC, 0x21A8,
                                         0x2191, 0x2193, 0x2192, 0x2190, 0x221F, 0x2194, 0x25B2, 0x25BC};
constexpr WideChar kDeleteGlyph = 0x2302;

}  // namespace

WideChar KeyboardCharToWide(uint32_t code) {
  if (code >= 256) return static_cast<WideChar>(code);
  if (code < 0x20) return kControlGlyphs[code];
  if (code == 0x7F) return kDeleteGlyph;
  const WideString wide = AnsiToWideWithCodePage(AnsiString(1, static_cast<char>(code)), KeyboardCodePage());
  return wide.size() == 1 ? wide[0] : WideChar{0};
}

void SwapUtf16ByteOrder(WideChar* text) {
  for (; *text != 0; ++text) *text = static_cast<WideChar>((*text << 8) | (*text >> 8));
}

// ---- Runtime switches ------------------------------------------------------------------

void InstallUnicodeRuntimePatches(uint32_t flags) {
  const uint32_t added = flags & urpAll & ~gInstalledPatches;
  if ((added & urpUserCodePage) != 0) {
    gSavedUserCodePage = UserCodePage;
    UserCodePage = CP_ACP;
  }
  if ((added & urpExceptions) != 0) RaiseLastOSErrorHook = WideRaiseLastOSError;
  gInstalledPatches |= added;
}

void UninstallUnicodeRuntimePatches() {
  if ((gInstalledPatches & urpUserCodePage) != 0) UserCodePage = gSavedUserCodePage;
  if ((gInstalledPatches & urpExceptions) != 0) RaiseLastOSErrorHook = nullptr;
  gInstalledPatches = 0;
  tKeptResString = TKeptResString();
}

bool UnicodeRuntimePatchInstalled(TUnicodeRuntimePatch patch) { return (gInstalledPatches & patch) == patch; }

void ShowException(const std::exception& e) {
  if (UnicodeRuntimePatchInstalled(urpExceptions)) {
    ShowUnicodeException(e);
    return;
  }
  WriteExceptionText(DefaultAnsiToWide(e.what()));
}
