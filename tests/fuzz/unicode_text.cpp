// Texts from files and form data reach the UTF-7 and UTF-8 decoders, the format
// canonicaliser and the date parser: any bytes must decode, format or parse, or raise
// the runtime's own exception, never crash. A decoded UTF-7 text must survive a round
// trip through the encoder.
#include <cstdint>
#include <cstdlib>

#include "platform/base/Exception.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/VariantDateParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const AnsiStringView bytes(reinterpret_cast<const char*>(data), size);
  try {
    const WideString text = Utf7ToWide(bytes);
    if (Utf7ToWide(WideToUtf7(text)) != text) std::abort();
  } catch (const EUniGeneralError&) {
  }

  const WideString wide = Utf8ToWide(bytes);
  if (Utf8ToWide(WideToUtf8(wide)) != wide) std::abort();

  try {
    WideFormat(wide, {1, 2.5, u"text", int64_t{-7}, 'c'});
  } catch (const EFormatSpecError&) {
  } catch (const EConvertError&) {
  }

  double value = 0;
  AnsiString error;
  for (TVariantDateKind kind : {vdkDateTime, vdkDateOnly, vdkTimeOnly})
    ParseVariantDate(wide, kind, doDayMonthYear, value, error);
  return 0;
}
