// The handlers of the parse-signal chain. `TXmlWFTestHandler` checks that the signals
// form a well-formed document or fragment and that each signal's data is well-formed,
// reports every violation and passes only sound signals on. `TXmlDomBuilder` turns the
// signals it receives into DOM nodes below a reference node. Handlers are chained by
// their NextHandler references, which are not owned.
#pragma once

#include "platform/base/Components.h"
#include "xml/XmlLimits.h"
#include "xml/parser/XmlSignals.h"
#include "xml/utils/WideStringUtils.h"

class TDomDocument;
class TDomDocumentNS;
class TDomNode;
class TXmlCustomReader;

class TXmlCustomHandler : public TComponent {
public:
  using TComponent::TComponent;

  // With a reader, the reader's error reporting decides (and raises EParserException
  // "Signal Processing Exception" to stop); without one, a fatal type raises that.
  virtual void ReportSignalError(TXmlCustomReader* reader, TXmlErrorKind kind, WideStringView offendingText,
                                 WideStringView hint, const IXmlLocation* location);
  virtual void ProcessSignal(const TXmlSignal& signal) = 0;
};

class TXmlWFTestHandler : public TXmlCustomHandler {
public:
  enum TMode : uint8_t { Idle, InDocument, InFragment, InExternalDtd, InInternalDtd };
  enum TRootState : uint8_t { NoRootYet, InRoot, RootClosed };

  using TXmlCustomHandler::TXmlCustomHandler;

  // Raises EParserException "Internal Parser Exception" for a signal that cannot occur
  // in the current mode. An element nested deeper than the limit MaxElementDepth is
  // reported as LimitExceeded with the limit's name as hint.
  void ProcessSignal(const TXmlSignal& signal) override;
  virtual void Reset();

  TMode Mode() const { return FMode; }
  bool DoctypeSeen() const { return FDoctypeSeen; }
  TRootState RootState() const { return FRootState; }
  const TXmlLimits& Limits() const { return FLimits; }
  void SetLimits(const TXmlLimits& limits) { FLimits = limits; }
  // The handler that receives the sound signals; not owned, cleared when it is freed.
  TXmlCustomHandler* NextHandler() const { return FNextHandler; }
  void SetNextHandler(TXmlCustomHandler* handler);

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  struct TCheckResult {
    TXmlErrorKind Kind = 0;
    WideString OffendingText, Hint;
  };
  void StartOf(TMode mode);
  void CheckInDocument(const TXmlSignal& signal, TCheckResult& result);
  void CheckInFragment(const TXmlSignal& signal, TCheckResult& result);
  // The structure of elements and the doctype, shared by documents and fragments.
  bool CheckStructure(const TXmlSignal& signal, TCheckResult& result);
  void CheckEntityDeclared(const TXmlSignal& signal, TCheckResult& result) const;

  TMode FMode = Idle;
  TXmlCustomHandler* FNextHandler = nullptr;
  bool FDoctypeSeen = false;
  TRootState FRootState = NoRootYet;
  std::vector<WideString> FOpenElements;  // the open elements' qualified names, innermost last
  TXmlLimits FLimits = DefaultXmlLimits();
};

enum TDomDocTypeDeclTreatment : uint8_t { dtIgnore, dtCheckWellformedness, dtCheckValidity };

// With KeepEntityRefs false, DocTypeDeclTreatment dtCheckWellformedness and a document
// that has a DTD validation agent, a reference to a general entity declared in the
// document type declaration is replaced
// by the entity's expansion (IDtdValidationAgent::ReplaceEntityReference): internal
// entities only, external ones stay unread references, within the limits
// MaxEntityExpansionChars, MaxNodeCount and MaxElementDepth. Every node the builder
// makes counts against MaxNodeCount; past it the limit is reported (LimitExceeded, a
// fatal error, with the limit's name as hint) and the parse ends.
class TXmlDomBuilder : public TXmlCustomHandler {
public:
  using TXmlCustomHandler::TXmlCustomHandler;

  // Raises EParserException "Internal Parser Exception" for a signal outside the
  // document scope it does not handle.
  void ProcessSignal(const TXmlSignal& signal) override;
  // Appends character data to the reference node, to its last child when that is text.
  virtual void AppendText(TXmlCustomReader* reader, const IXmlLocation* location, WideStringView text,
                          bool fromCharRef);
  virtual void Reset();

  // The node below which the next nodes are appended (a document or a fragment), moved
  // down by each start tag and up by each end tag. Not owned.
  TDomNode* ReferenceNode() const { return FReferenceNode; }
  void SetReferenceNode(TDomNode* node);
  TUtilsNameValueList& PrefixMap() { return FPrefixMap; }
  const TXmlLimits& Limits() const { return FLimits; }
  void SetLimits(const TXmlLimits& limits) {
    FLimits = limits;
    FNodesAvail = limits.MaxNodeCount;
  }

  bool BuildIDList = true;
  TDomDocTypeDeclTreatment DocTypeDeclTreatment = dtCheckWellformedness;
  bool KeepCDATASections = true;
  bool KeepComments = true;
  bool KeepEntityRefs = true;

private:
  void AddAttribute(const TXmlAttributeSignal& signal);
  void AddDoctype(const TXmlDoctypeSignal& signal);
  void AddElement(const TXmlStartElementSignal& signal);
  void StartDocument(const TXmlStartDocumentSignal& signal);
  void AddEntityReference(const TXmlEntityRefSignal& signal);
  WideString NamespaceOfPrefix(WideStringView prefix) const;
  // Appends a new node, freeing it again when appending raises.
  void AppendNew(TDomNode* node);
  // Counts a node about to be made; past MaxNodeCount reports the limit and raises
  // EParserException "Signal Processing Exception".
  void TakeNode(TXmlCustomReader* reader, const IXmlLocation* location);
  // The state of one document or fragment.
  void StartOfInput();

  TDomNode* FReferenceNode = nullptr;
  // The reference node's document as one of the two kinds, set with the reference node.
  TDomDocumentNS* FDocumentNS = nullptr;
  TDomDocument* FDocumentWithDtd = nullptr;
  TUtilsNameValueList FPrefixMap;
  TXmlLimits FLimits = DefaultXmlLimits();
  int64_t FNodesAvail = FLimits.MaxNodeCount;  // counted down from each start signal
  int32_t FDepth = 0;                          // elements open below the start node
  bool FDoctypeExpands = false;                // a type declaration was read into the agent's model
};
