// Turns a document type declaration, or a DTD given on its own, into a TDtdModel: the
// chain DTD reader -> well-formedness test handler -> model builder, all owned here,
// reads the internal subset and, when validity is to be checked, the external subset.
// The model's preparation status says how far the preparation got.
#pragma once

#include <vector>

#include "xml/dtd/DtdModelBuilder.h"
#include "xml/parser/XmlToDomParser.h"

class TDomDocumentTypeDecl;
class TXmlStandardDtdReader;

inline constexpr char SDoctypeDeclNotSpecified[] = "Document type declaration not specified.";
inline constexpr char STargetDtdModelNotSpecified[] = "Target DTD model not specified.";

class TDtdToDtdModelParser : public TXmlCustomParser {
public:
  explicit TDtdToDtdModelParser(TComponent* owner);

  void SetDOMImpl(TDomImplementation* impl) override;
  TDtdModel* TargetModel() const { return FTargetModel; }
  void SetTargetModel(TDtdModel* model) { FTargetModel = model; }
  // The reader forgets what it read; the target model is reset.
  void ResetTarget();

  // An external subset into the target model. Argument faults raise EAccessViolation
  // ("Stream not specified.", "Empty string.", "Source code not specified."); an
  // encoding that cannot be read is reported as 147 or 45; these and a failed reading
  // raise EParserException "Parser error.".
  void ParseExtSubsetStream(TStream* stream, WideStringView publicId, bool declFlag, TUnicodeCodecClass codecClass,
                            WideStringView systemId);
  void ParseExtSubsetString(const AnsiString& text, WideStringView publicId, bool declFlag,
                            TUnicodeCodecClass codecClass, WideStringView systemId);
  void ParseExtSubsetWideString(WideStringView text, WideStringView publicId, bool declFlag, WideStringView systemId);
  void ParseExtSubsetSourceCode(const std::vector<WideString>* source, WideStringView publicId,
                                WideStringView systemId);
  // An internal subset whose first character stands after `start` in its document.
  void ParseIntSubsetStream(TStream* stream, const TXmlSourceStart& start, bool resolveExternalEntities,
                            TDomStandalone standalone, TUnicodeCodecClass codecClass, WideStringView baseUri);
  void ParseIntSubsetString(const AnsiString& text, const TXmlSourceStart& start, bool resolveExternalEntities,
                            TDomStandalone standalone, TUnicodeCodecClass codecClass, WideStringView baseUri);
  void ParseIntSubsetWideString(WideStringView text, const TXmlSourceStart& start, bool resolveExternalEntities,
                                TDomStandalone standalone, WideStringView baseUri);
  void ParseIntSubsetSourceCode(const std::vector<WideString>* source, const TXmlSourceStart& start,
                                bool resolveExternalEntities, TDomStandalone standalone, WideStringView baseUri);
  // The declaration's subsets into the target model. Argument faults raise
  // EAccessViolation or EWrong_DOM_Implementation_Err; every other failure ends as
  // preparation status 4 without an exception. The external subset is read only with
  // checkValidity, through the DOM implementation's resource resolver.
  void ParseDoctypeDecl(const TDomDocumentTypeDecl* doctypeDecl, bool checkValidity);

  const TXmlLimits& Limits() const { return FLimits; }
  void SetLimits(const TXmlLimits& limits);

private:
  void BuildPipeline();
  // A failed reading raises "Parser error."; validity errors only with checkValidity.
  void CheckReading(bool succeeded) const;

  TDtdModel* FTargetModel = nullptr;
  TXmlDtdModelBuilder* FModelBuilder = nullptr;  // owned as components
  TXmlStandardDtdReader* FReader = nullptr;
  TXmlWFTestHandler* FWFTestHandler = nullptr;
  TXmlLimits FLimits = DefaultXmlLimits();
  bool FCheckValidity = true;
};
