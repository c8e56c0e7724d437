// The DTD readers on any bytes. The first byte chooses the road: an external subset or
// an internal subset read into a model by the DTD-to-model parser, or a whole document
// parsed on the validating path and validated. External entities and subsets resolve
// to the input's text after its first "\0" (or nothing), so parameter-entity inclusion
// and conditional sections are reached too. Every road must end in a model, a document
// or "Parser error.", never in a crash, a hang, a leak or another exception. Limits are
// narrow so that entity nests end quickly.
#include <cstdint>
#include <cstdlib>

#include "platform/base/Streams.h"
#include "xml/dom/DomExceptions.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dtd/DtdToDtdModelParser.h"
#include "xml/dtd/DtdValidationAgent.h"
#include "xml/parser/XmlHandlers.h"

namespace {

// Every system identifier names the same text.
class TFixedResolver final : public TCustomResourceResolver {
public:
  TFixedResolver(AnsiString text) : TCustomResourceResolver(nullptr), FText(std::move(text)) {}
  std::unique_ptr<TStream> ResolveResource(WideStringView, WideStringView, WideString&) override {
    if (FText.empty()) return nullptr;
    return std::make_unique<TStringStream>(FText);
  }

private:
  AnsiString FText;
};

void ReadDtd(TDomImplementation& implementation, const AnsiString& text, bool external) {
  TDtdModel model;
  TDtdToDtdModelParser parser(nullptr);
  parser.SetDOMImpl(&implementation);
  parser.SetTargetModel(&model);
  try {
    if (external)
      parser.ParseExtSubsetString(text, u"", true, nullptr, u"file:///fuzz/ext.dtd");
    else
      parser.ParseIntSubsetString(text, TXmlSourceStart{}, true, sdNo, nullptr, u"file:///fuzz/doc.xml");
    const uint8_t status = model.PreparationStatus();
    if (external && status != DtdPreparation::Complete) std::abort();
    if (!external && status != 5 && status != 2 && status != 3) std::abort();
  } catch (const EParserException&) {
  } catch (const EAccessViolation&) {  // the empty text
    if (!text.empty()) std::abort();
  }
}

void ReadDocument(TDomImplementation& implementation, const AnsiString& text, bool validating) {
  InstallDtdValidation(implementation);
  TXmlToDomParser parser(nullptr);
  parser.SetDOMImpl(&implementation);
  parser.DomBuilder().DocTypeDeclTreatment = validating ? dtCheckValidity : dtCheckWellformedness;
  parser.SetKeepEntityRefs(false);
  TStringStream stream(text);
  try {
    TDomDocument* document = parser.ParseStream(&stream, u"file:///fuzz/doc.xml", nullptr, true);
    static_cast<TDtdValidationAgent*>(document->ValidationAgent())->ValidateDocument(etExpand);
  } catch (const EParserException&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  TXmlLimits limits;
  limits.MaxEntityExpansionChars = 20000;
  limits.MaxContentModelSteps = 20000;
  limits.MaxContentModelDepth = 50;
  const TXmlLimitsOverride narrow(limits);
  const std::string_view input(reinterpret_cast<const char*>(data) + 1, size - 1);
  const size_t split = input.find('\0');
  const AnsiString text(input.substr(0, split));
  const AnsiString external(split == std::string_view::npos ? std::string_view() : input.substr(split + 1));
  TFixedResolver resolver(external);
  TDomImplementation implementation(nullptr);
  implementation.SetResourceResolver(&resolver);
  switch (data[0] % 4) {
    case 0:
      ReadDtd(implementation, text, true);
      break;
    case 1:
      ReadDtd(implementation, text, false);
      break;
    case 2:
      ReadDocument(implementation, text, true);
      break;
    default:
      ReadDocument(implementation, text, false);
      break;
  }
  return 0;
}
