// Date and time parsing of UniSysUtils.
#include "platform/base/Locale.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/VariantDateParser.h"

namespace {

constexpr char SInvalidDateTime[] = "'%s' is not a valid date and time";
constexpr char SInvalidDate[] = "'%s' is not a valid date";
constexpr char SInvalidTime[] = "'%s' is not a valid time";

TDateTime ParseOrRaise(const WideString& text, TVariantDateKind kind, const char* invalidFormat) {
  double value = 0;
  AnsiString error;
  if (ParseVariantDate(text, kind, LocaleDateOrder(GetThreadLocale()), value, error)) return value;
  throw EConvertError(Format(invalidFormat, {DefaultWideToAnsi(text)}) + "\r\n" + error);
}

}  // namespace

TDateTime WideStrToDateTime(const WideString& text) { return ParseOrRaise(text, vdkDateTime, SInvalidDateTime); }

TDateTime WideStrToDate(const WideString& text) { return ParseOrRaise(text, vdkDateOnly, SInvalidDate); }

TDateTime WideStrToTime(const WideString& text) { return ParseOrRaise(text, vdkTimeOnly, SInvalidTime); }
