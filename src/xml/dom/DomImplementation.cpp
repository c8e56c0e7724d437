#include "xml/dom/DomImplementation.h"

#include "platform/base/Exception.h"
#include "xml/dom/DomExceptions.h"
#include "xml/parser/XmlInputSource.h"
#include "xml/utils/WideStringUtils.h"

namespace {

constexpr char SNoResourceResolver[] = "No resource resolver assigned to DOM implementation.";

}  // namespace

TDomImplementation::TDomImplementation(TComponent* owner)
    : TComponent(owner), FDocumentsView(std::make_unique<TDomOwnedNodeList<TDomCustomDocument>>(&FDocuments)) {}

TDomImplementation::~TDomImplementation() {
  FreeAllDocuments();
  SetResourceResolver(nullptr);
}

void TDomImplementation::FreeAllDocuments() {
  // A document freed here does not leave the list again by itself.
  while (!FDocuments.empty()) {
    std::unique_ptr<TDomCustomDocument> last = std::move(FDocuments.back());
    FDocuments.pop_back();
    last->DetachFromImplementation();
    last.reset();
  }
}

std::unique_ptr<TDomCustomDocument> TDomImplementation::RemoveDocument(TDomCustomDocument* document) {
  for (auto it = FDocuments.begin(); it != FDocuments.end(); ++it) {
    if (it->get() != document) continue;
    std::unique_ptr<TDomCustomDocument> removed = std::move(*it);
    FDocuments.erase(it);
    removed->DetachFromImplementation();
    return removed;
  }
  return nullptr;
}

void TDomImplementation::DoAttrModified(TDomNode* modifiedNode, TDomAttrChange change, TDomAttr* relatedAttr) {
  if (OnAttrModified) OnAttrModified(this, modifiedNode, change, relatedAttr);
}
void TDomImplementation::DoCharacterDataModified(TDomNode* node) {
  if (OnCharacterDataModified) OnCharacterDataModified(this, node);
}
void TDomImplementation::DoNodeClearing(TDomNode* node) {
  if (OnNodeClearing) OnNodeClearing(this, node);
}
void TDomImplementation::DoNodeInserted(TDomNode* node) {
  if (OnNodeInserted) OnNodeInserted(this, node);
}
void TDomImplementation::DoNodeRemoving(TDomNode* node) {
  if (OnNodeRemoving) OnNodeRemoving(this, node);
}

void TDomImplementation::DoRequestXPathFunctionResult(WideStringView namespaceUri, WideStringView localName,
                                                      TDomNode* contextNode, int32_t contextPosition,
                                                      int32_t contextSize,
                                                      const std::vector<TDomXPathSyntaxNode*>& arguments,
                                                      std::unique_ptr<TDomXPathCustomResult>& value) {
  if (OnRequestXPathFunctionResult)
    OnRequestXPathFunctionResult(namespaceUri, localName, contextNode, contextPosition, contextSize, arguments, value);
}

void TDomImplementation::DoRequestXPathVariable(TXPathExpression* sender, WideStringView namespaceUri,
                                                WideStringView localName,
                                                std::unique_ptr<TDomXPathCustomResult>& value) {
  if (OnRequestXPathVariable) OnRequestXPathVariable(sender, namespaceUri, localName, value);
}

void TDomImplementation::DoError(TObject* sender, const TDomError& error, bool& go) {
  go = error.GetSeverity() < esFatal;
  if (OnError && FErrorEventsDisabled == 0) OnError(sender, error, go);
}

bool TDomImplementation::HandleError(TObject* sender, const TDomError* error) {
  if (!error) throw ENot_Supported_Err(SNot_Supported_Err);
  bool go = true;
  DoError(sender, *error, go);
  return go;
}

void TDomImplementation::SetResourceResolver(TCustomResourceResolver* resolver) {
  if (resolver == FResourceResolver) return;
  SetWatchedReference(*this, FResourceResolver, resolver);
}

void TDomImplementation::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FResourceResolver) FResourceResolver = nullptr;
}

std::unique_ptr<TStream> TDomImplementation::ResolveResourceAsStream(WideStringView baseUri, WideStringView publicId,
                                                                     WideString& systemId) {
  if (!FResourceResolver) throw ENot_Found_Err(SNoResourceResolver);
  return FResourceResolver->ResolveResource(baseUri, publicId, systemId);
}

void TDomImplementation::ResolveResourceAsWideString(WideStringView baseUri, WideStringView publicId,
                                                     WideStringView systemId, TXmlErrorKind& errorType,
                                                     WideString& text) {
  text.clear();
  WideString resolvedSystemId(systemId);
  const std::unique_ptr<TStream> stream = ResolveResourceAsStream(baseUri, publicId, resolvedSystemId);
  if (!stream) {
    errorType = XmlErrors::ExternalPENotLoaded;
    return;
  }
  std::unique_ptr<TXmlInputSource> source;
  try {
    source = std::make_unique<TXmlInputSource>(stream.get(), TXmlSourceStart{}, nullptr, 4096, resolvedSystemId,
                                               publicId, true);
  } catch (const ENot_Supported_Err&) {
    errorType = XmlErrors::EncodingNotSupported;
    return;
  } catch (const EConvertError&) {
    errorType = XmlErrors::EncodingMismatch;
    return;
  }
  if (source->HasMalformedDeclaration() || source->DeclarationKind() == dkXmlDeclaration) {
    errorType = XmlErrors::TextDeclarationExpected;
    return;
  }
  if (source->XmlVersion() != u"1.0") {
    errorType = XmlErrors::UnsupportedXmlVersion;
    return;
  }
  errorType = 0;
  try {
    TUtilsCustomWideStr collected;
    for (source->Next(); !source->AtEnd(); source->Next()) collected.AddUCS4Char(source->CurrentPos().Char);
    text = collected.GetValue();
  } catch (const Exception&) {
    errorType = XmlErrors::EntityUnreadable;
    text.clear();
  }
}
