// Date and time parsing of UniSysUtils.
#include "platform/base/DateTimeText.h"
#include "platform/base/Locale.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/VariantDateParser.h"

namespace {

constexpr char SInvalidDateTime[] = "'%s' is not a valid date and time";
constexpr char SInvalidDate[] = "'%s' is not a valid date";
constexpr char SInvalidTime[] = "'%s' is not a valid time";

// The locale's date parser first; then the class library's 8-bit parser of the same kind.
TDateTime ParseOrRaise(const WideString& text, TVariantDateKind kind, const char* invalidFormat) {
  double value = 0;
  AnsiString error;
  if (ParseVariantDate(text, kind, LocaleDateOrder(GetThreadLocale()), value, error)) return value;
  const AnsiString ansi = DefaultWideToAnsi(text);
  const bool parsed = kind == vdkDateTime   ? TryStrToDateTime(ansi, value)
                      : kind == vdkDateOnly ? TryStrToDate(ansi, value)
                                            : TryStrToTime(ansi, value);
  if (parsed) return value;
  throw EConvertError(Format(invalidFormat, {ansi}) + "\r\n" + error);
}

}  // namespace

TDateTime WideStrToDateTime(const WideString& text) { return ParseOrRaise(text, vdkDateTime, SInvalidDateTime); }

TDateTime WideStrToDate(const WideString& text) { return ParseOrRaise(text, vdkDateOnly, SInvalidDate); }

TDateTime WideStrToTime(const WideString& text) { return ParseOrRaise(text, vdkTimeOnly, SInvalidTime); }
