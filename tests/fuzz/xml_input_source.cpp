// A book's first bytes decide the input source's codec: the byte-order mark, the XML
// declaration and its encoding label. Any bytes must give a source (reading every
// character to the end, or raising the reader's own exceptions) or one of the two
// creation errors, never crash or hang.
#include <cstdint>

#include "platform/base/Exception.h"
#include "platform/base/Streams.h"
#include "xml/dom/DomExceptions.h"
#include "xml/parser/XmlInputSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  for (const bool declFlag : {false, true}) {
    TStringStream stream(AnsiString(reinterpret_cast<const char*>(data), size));
    try {
      TXmlInputSource source(&stream, TXmlSourceStart{}, nullptr, 64, u"FB2", u"", declFlag);
      for (source.Next(); !source.AtEnd(); source.Next()) {
      }
    } catch (const ENot_Supported_Err&) {
    } catch (const EConvertError&) {
    } catch (const Exception&) {
      // The codecs' own exceptions for undecodable text.
    }
  }
  return 0;
}
