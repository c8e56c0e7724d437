// Language files are read from the program's folder, where anyone may drop one: any
// bytes must load or raise the library's own exception, never crash or hang.
#include <cstdint>

#include "l10n/LangTranslations.h"
#include "platform/base/Exception.h"
#include "platform/base/Streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TMemoryStream stream;
  stream.WriteBuffer(data, static_cast<int32_t>(size));
  for (bool headerOnly : {true, false}) {
    stream.SetPosition(0);
    TLang_CompTranslations translations;
    try {
      translations.LoadTranslations(stream, headerOnly);
    } catch (const Exception&) {
    }
  }
  return 0;
}
