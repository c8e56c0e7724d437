// Any bytes given to the parser must end in a DOM document or in "Parser error." (after
// the implementation heard the error), never in a crash, a hang, a leak or another
// exception; and a document that was accepted must hold its top element. Every other
// input is read as the book model reads it, with a DTD validation agent that expands
// the entities of an internal subset (within narrow limits, so that nests end quickly).
#include <cstdint>
#include <cstdlib>

#include "platform/base/Streams.h"
#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dtd/DtdValidationAgent.h"
#include "xml/parser/XmlToDomParser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TDomImplementation implementation(nullptr);
  TXmlToDomParser parser(nullptr);
  if ((size / 2) % 2 == 1) {
    InstallDtdValidation(implementation);
    TXmlLimits limits = parser.Limits();
    limits.MaxEntityExpansionChars = 100000;
    limits.MaxNodeCount = 100000;
    parser.SetLimits(limits);
  }
  parser.SetDOMImpl(&implementation);
  // The book model's settings: comments dropped, CDATA and predefined entities as text.
  parser.SetKeepComments(size % 2 == 0);
  parser.SetKeepCDATASections(false);
  parser.SetKeepEntityRefs(false);
  TStringStream stream(AnsiString(reinterpret_cast<const char*>(data), size));
  try {
    TDomDocument* document = parser.ParseStream(&stream, u"FB2", nullptr, true);
    if (!document->GetDocumentElement()) std::abort();
  } catch (const EParserException&) {
  }
  return 0;
}
