// Texts from files and form data reach the UTF-7 and UTF-8 decoders, the format
// canonicaliser and the date parser: any bytes must decode, format or parse, or raise
// the runtime's own exception, never crash. A decoded UTF-7 text must survive a round
// trip through the encoder. The text is a format for argument lists of every kind of
// argument (none, short, long, extreme values), whole and into small buffers, and a date
// in every short-date order.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <span>

#include "platform/base/Exception.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/VariantDateParser.h"

namespace {

const int32_t PointerTarget = 0;
const AnsiString AnsiArgument = "ansi \xE9";
const WideString WideArgument = u"wide \xD83D\xDE00 \x4E2D";

const TVarRec ShortArguments[] = {1, 2.5, u"text", int64_t{-7}, 'c'};
const TVarRec EveryKindArguments[] = {
    true,    'x',          u'\x4E2D',    1e300,        &PointerTarget,
    "pchar", u"pwidechar", AnsiArgument, WideArgument, std::numeric_limits<int64_t>::min()};
const TVarRec ExtremeArguments[] = {std::numeric_limits<int32_t>::min(),
                                    -0.0,
                                    std::numeric_limits<double>::infinity(),
                                    std::numeric_limits<double>::quiet_NaN(),
                                    nullptr,
                                    static_cast<const char*>(nullptr),
                                    static_cast<const char16_t*>(nullptr),
                                    AnsiStringView{},
                                    WideStringView{},
                                    5e-324,
                                    false,
                                    std::numeric_limits<uint64_t>::max()};
const std::span<const TVarRec> ArgumentLists[] = {{}, ShortArguments, EveryKindArguments, ExtremeArguments};

void FormatWithArguments(const WideString& format, std::span<const TVarRec> arguments) {
  try {
    WideFormat(format, arguments);
    WideChar buffer[3];
    if (WideFormatBuf(buffer, 3, format, arguments) > 3) std::abort();
  } catch (const EFormatSpecError&) {
  } catch (const EConvertError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const AnsiStringView bytes(reinterpret_cast<const char*>(data), size);
  try {
    const WideString text = Utf7ToWide(bytes);
    if (Utf7ToWide(WideToUtf7(text)) != text) std::abort();
  } catch (const EUniGeneralError&) {
  }

  const WideString wide = Utf8ToWide(bytes);
  if (Utf8ToWide(WideToUtf8(wide)) != wide) std::abort();

  for (const std::span<const TVarRec> arguments : ArgumentLists) FormatWithArguments(wide, arguments);

  double value = 0;
  AnsiString error;
  for (TDateOrder order : {doMonthDayYear, doDayMonthYear, doYearMonthDay})
    for (TVariantDateKind kind : {vdkDateTime, vdkDateOnly, vdkTimeOnly})
      ParseVariantDate(wide, kind, order, value, error);
  return 0;
}
