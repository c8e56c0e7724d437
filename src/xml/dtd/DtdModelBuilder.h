// The last handler of the DTD-to-model chain: enters every declaration signal into the
// target model and records in the model's preparation status how far the preparation
// got (1 reading, 2 or 3 an external parameter entity was passed over, 5 internal
// subset complete, 6 complete; see DtdPreparation).
#pragma once

#include "xml/dtd/DtdModel.h"
#include "xml/parser/XmlHandlers.h"
#include "xml/parser/XmlInputSource.h"

class TXmlDtdModelBuilder : public TXmlCustomHandler {
public:
  using TXmlCustomHandler::TXmlCustomHandler;

  // Nothing happens without a target model. Repeated declarations are reported (3
  // attribute, 4 entity, 8 element type, 13 notation) and the first one kept; an entity
  // whose replacement text refers back to itself is reported as 86. Once an external
  // parameter entity was passed over in a document that is not standalone, later
  // declarations of every kind are skipped. Raises EParserException "Internal Parser
  // Exception" for a signal out of place.
  void ProcessSignal(const TXmlSignal& signal) override;
  // The content particles of mixed or children content; EParserException
  // "Parser error." for a malformed one or one nested beyond MaxContentModelDepth.
  void BuildMixedModel(TDtdElementDecl& declaration, WideStringView contentSpec);
  void BuildChildrenModel(TDtdElementDecl& declaration, WideStringView contentSpec);
  void SetTargetModel(TDtdModel* model) { FTargetModel = model; }
  void Reset();

  const TXmlLimits& Limits() const { return FLimits; }
  void SetLimits(const TXmlLimits& limits) { FLimits = limits; }

private:
  enum TSubsetMode : uint8_t { smNone = 0, smExternal = 3, smInternal = 4 };
  TDtdDeclOrigin OriginOf(bool inPERef) const {
    return FSubsetMode == smExternal || inPERef ? doExternalSubset : doInternalSubset;
  }
  void AddElement(const TXmlElementTypeDeclarationSignal& signal);
  void AddEntity(const TXmlEntityDeclarationSignal& signal);

  TDtdModel* FTargetModel = nullptr;
  TSubsetMode FSubsetMode = smNone;
  TDomStandalone FStandalone = sdUnspecified;
  bool FIgnoreDeclarations = false;
  TXmlLimits FLimits = DefaultXmlLimits();
};
