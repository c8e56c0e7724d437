// Numbers, dates and times typed by users or stored as text in settings: any text must
// parse or be refused, never crash. What parses is written again and parses to the same
// value (a date exactly, a time or date and time to the second); the throwing, the
// defaulting and the trying forms agree; hexadecimal integers read as Val reads them.
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/base/DateTimeText.h"
#include "platform/base/Exception.h"
#include "platform/base/FloatText.h"
#include "platform/base/Numbers.h"
#include "platform/base/TextUtils.h"

namespace {

constexpr double SecondOfDay = 1.0 / 86400;

bool Near(double a, double b) { return std::fabs(a - b) <= 1.001 * SecondOfDay; }

void CheckDates(AnsiStringView text) {
  TDateTime value = 0;
  TDateTime again = 0;
  if (TryStrToDate(text, value) && (!TryStrToDate(DateToStr(value), again) || again != value)) std::abort();
  if (TryStrToTime(text, value) && (!TryStrToTime(TimeToStr(value), again) || !Near(again, value))) std::abort();
  if (TryStrToDateTime(text, value) && value >= 0 &&
      (!TryStrToDateTime(DateTimeToStr(value), again) || !Near(again, value)))
    std::abort();
}

bool Same(double a, double b) { return a == b || (std::isnan(a) && std::isnan(b)); }

void CheckFloat(AnsiStringView text, const TFormatSettings& settings) {
  double value = 0;
  const bool parsed = TryStrToFloat(text, value, settings);
  if (!Same(StrToFloatDef(text, -0.5, settings), parsed ? value : -0.5)) std::abort();
  try {
    const double thrown = StrToFloat(text, settings);
    if (!parsed || !Same(thrown, value)) std::abort();
  } catch (const EConvertError&) {
    if (parsed) std::abort();
  }
  if (parsed && std::isfinite(value) && std::fabs(value) < 1e300) {
    double again = 0;
    if (!TryStrToFloat(FloatToStr(value, settings), again, settings)) std::abort();
  }
}

void CheckInteger(AnsiStringView text) {
  int32_t value = 0;
  const bool parsed = TryStrToInt(text, value);
  if (StrToIntDef(text, -7) != (parsed ? value : -7)) std::abort();
  int32_t errorPos = 0;
  const int32_t valued = Val(text, errorPos);
  if ((errorPos == 0) != parsed || (parsed && valued != value)) std::abort();
  if (parsed && StrToIntDef("$" + IntToHex(static_cast<uint32_t>(value), 8), -7) != value) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size > 4096) return 0;
  const AnsiString text(reinterpret_cast<const char*>(data), size);
  CheckDates(text);

  TFormatSettings comma;
  comma.DecimalSeparator = ',';
  comma.ThousandSeparator = '.';
  CheckFloat(text, DefaultFormatSettings());
  CheckFloat(text, comma);

  CheckInteger(text);
  for (const char* prefix : {"$", "0x", "-$", "x"}) CheckInteger(prefix + text);
  return 0;
}
