// The DOM implementation: a component that owns the documents made for it, passes
// their node events to its handlers, decides whether a parse goes on after an error,
// and resolves external resources through an optional resolver.
#pragma once

#include <memory>
#include <vector>

#include "platform/base/Components.h"
#include "platform/base/Streams.h"
#include "xml/dom/DomDocument.h"
#include "xml/parser/DomError.h"

// Finds the stream of an external resource; it may replace the system identifier.
class TCustomResourceResolver : public TComponent {
public:
  using TComponent::TComponent;
  // nullptr when the resource cannot be found.
  virtual std::unique_ptr<TStream> ResolveResource(WideStringView baseUri, WideStringView publicId,
                                                   WideString& systemId) = 0;
};

using TDomErrorEvent = std::function<void(TObject* sender, const TDomError& error, bool& go)>;

// The XPath host hooks: a handler answers a variable or a function beyond the core
// library by putting a new result into `value` (the engine takes it over).
class TXPathExpression;
class TDomXPathCustomResult;
class TDomXPathSyntaxNode;
using TDomRequestXPathVariableEvent =
    std::function<void(TXPathExpression* sender, WideStringView namespaceUri, WideStringView localName,
                       std::unique_ptr<TDomXPathCustomResult>& value)>;
using TDomRequestXPathFunctionResultEvent =
    std::function<void(WideStringView namespaceUri, WideStringView localName, TDomNode* contextNode,
                       int32_t contextPosition, int32_t contextSize, const std::vector<TDomXPathSyntaxNode*>& arguments,
                       std::unique_ptr<TDomXPathCustomResult>& value)>;

// Makes the DTD validation agent of a new document (the DTD code installs one).
using TDtdValidationAgentFactory = std::function<std::unique_ptr<IDtdValidationAgent>(TDomDocument& document)>;

class TDomImplementation : public TComponent {
public:
  explicit TDomImplementation(TComponent* owner);
  // Frees every document.
  ~TDomImplementation() override;

  // The documents in creation order.
  TDomNodeList* GetDocuments() const { return FDocumentsView.get(); }
  // Frees the documents from the last to the first.
  void FreeAllDocuments();
  // Takes a new document (made for this implementation) into the list, which frees it.
  template <typename TDocument>
  TDocument* AddDocument(std::unique_ptr<TDocument> document) {
    TDocument* raw = document.get();
    FDocuments.push_back(std::move(document));
    return raw;
  }
  // Hands a document back to the caller and out of the list.
  std::unique_ptr<TDomCustomDocument> RemoveDocument(TDomCustomDocument* document);

  virtual void DoAttrModified(TDomNode* modifiedNode, TDomAttrChange change, TDomAttr* relatedAttr);
  virtual void DoCharacterDataModified(TDomNode* node);
  virtual void DoNodeClearing(TDomNode* node);
  virtual void DoNodeInserted(TDomNode* node);
  virtual void DoNodeRemoving(TDomNode* node);
  // Pass the XPath engine's requests to the handlers unchanged; `value` stays empty
  // without a handler.
  virtual void DoRequestXPathFunctionResult(WideStringView namespaceUri, WideStringView localName,
                                            TDomNode* contextNode, int32_t contextPosition, int32_t contextSize,
                                            const std::vector<TDomXPathSyntaxNode*>& arguments,
                                            std::unique_ptr<TDomXPathCustomResult>& value);
  virtual void DoRequestXPathVariable(TXPathExpression* sender, WideStringView namespaceUri, WideStringView localName,
                                      std::unique_ptr<TDomXPathCustomResult>& value);
  // go starts true below fatal severity; OnError (unless suppressed) may change it.
  virtual void DoError(TObject* sender, const TDomError& error, bool& go);
  // Whether parsing goes on after the error; ENot_Supported_Err "Not supported error."
  // without one.
  bool HandleError(TObject* sender, const TDomError* error);
  void DisableErrorEvents() { ++FErrorEventsDisabled; }
  void EnableErrorEvents() { --FErrorEventsDisabled; }

  // Every TDomDocument made for the implementation from now on gets its agent from the
  // factory; without one, documents know no declarations.
  const TDtdValidationAgentFactory& ValidationAgentFactory() const { return FValidationAgentFactory; }
  void SetValidationAgentFactory(TDtdValidationAgentFactory factory) { FValidationAgentFactory = std::move(factory); }

  TCustomResourceResolver* ResourceResolver() const { return FResourceResolver; }
  void SetResourceResolver(TCustomResourceResolver* resolver);
  // Raises ENot_Found_Err "No resource resolver assigned to DOM implementation." without
  // a resolver; nullptr when it finds nothing.
  std::unique_ptr<TStream> ResolveResourceAsStream(WideStringView baseUri, WideStringView publicId,
                                                   WideString& systemId);
  // The text of an external entity, read through an input source: error type 148 (not
  // found), 147 (encoding not supported), 45 (encoding contradicts the mark), 69
  // (malformed or XML-only declaration), 151 (version other than "1.0"), 150 (unreadable)
  // or 0 with the text.
  void ResolveResourceAsWideString(WideStringView baseUri, WideStringView publicId, WideStringView systemId,
                                   TXmlErrorKind& errorType, WideString& text);

  TDomAttrModifiedEvent OnAttrModified;
  TDomNotifyNodeEvent OnCharacterDataModified, OnNodeClearing, OnNodeInserted, OnNodeRemoving;
  TDomErrorEvent OnError;
  TDomRequestXPathFunctionResultEvent OnRequestXPathFunctionResult;
  TDomRequestXPathVariableEvent OnRequestXPathVariable;

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  int16_t FErrorEventsDisabled = 0;
  TCustomResourceResolver* FResourceResolver = nullptr;
  TDtdValidationAgentFactory FValidationAgentFactory;
  std::vector<std::unique_ptr<TDomCustomDocument>> FDocuments;
  std::unique_ptr<TDomNodeList> FDocumentsView;
};

// Makes a document of the implementation, which owns and frees it.
template <typename TDocument>
TDocument* NewDomDocument(TDomImplementation& implementation) {
  return implementation.AddDocument(std::make_unique<TDocument>(&implementation));
}
