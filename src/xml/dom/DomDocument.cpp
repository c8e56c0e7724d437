#include "xml/dom/DomDocument.h"

#include <algorithm>

#include "platform/base/Exception.h"
#include "xml/dom/DomImplementation.h"
#include "xml/dom/DomTextRoutines.h"
#include "xml/parser/XmlAttrValueTokenizer.h"
#include "xml/utils/UriUtils.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

bool IsXmlWhiteSpace(WideStringView text) { return TextIsS(text); }

}  // namespace

void ResolveAttributeLiteral(WideStringView literal, TXmlErrorKind& errorType, WideString& value) {
  errorType = 0;
  // Most values hold no reference and no white space but blanks: they stay as written.
  if (literal.find_first_of(u"&<\t\n\r") == WideStringView::npos && TextIsChars(literal)) {
    value.assign(literal);
    return;
  }
  value.clear();
  TXmlAttrValueTokenizer tokenizer(literal);
  WideString resolved;
  const auto stop = [&](TXmlErrorKind kind) {
    errorType = kind;
    value.clear();
  };
  for (tokenizer.NextToken(); tokenizer.TokenType() != avEnd; tokenizer.NextToken()) {
    if (const TXmlErrorKind kind = tokenizer.ErrorKind()) {
      if (ErrorSeverityOf(kind) == esFatal) return stop(kind);
      if (ErrorSeverityOf(errorType) != esError) errorType = kind;
    }
    const WideString token = tokenizer.TokenValue();
    switch (tokenizer.TokenType()) {
      case avCharRef: {
        WideString text;
        try {
          text = CharRefToText(u"&#" + token + u";");
        } catch (const EConvertError&) {
          return stop(XmlErrors::InvalidCharRef);
        }
        resolved += text;
        break;
      }
      case avEntityRef:
        if (token == u"lt")
          resolved += u'<';
        else if (token == u"gt")
          resolved += u'>';
        else if (token == u"amp")
          resolved += u'&';
        else if (token == u"apos")
          resolved += u'\'';
        else if (token == u"quot")
          resolved += u'"';
        else
          return stop(XmlErrors::UndeclaredEntityValidity);
        break;
      default:
        resolved += IsXmlWhiteSpace(token) ? WideString(u" ") : token;
        break;
    }
  }
  value = resolved;
}

// ---- TDomCustomDocument ----

TDomCustomDocument::TDomCustomDocument(TDomImplementation* implementation)
    : TDomNode(nullptr), FDomImplementation(implementation) {
  SetAllowedChildTypes(
      NodeTypes({ntElement, ntProcessingInstruction, ntComment, ntDocumentFragment, ntDocumentTypeDecl}));
}

TDomCustomDocument::~TDomCustomDocument() {
  FDestroying = true;
  FreeTraversals();
  // The nodes go while the document is still whole; they fire no events now.
  FreeOwnedObjects();
}

void TDomCustomDocument::FreeTraversals() {
  FNodeIterators.clear();
  FTreeWalkers.clear();
}

void TDomCustomDocument::Clear() {
  FreeTraversals();
  TDomNode::Clear();
}

WideString TDomCustomDocument::GetBaseUri() const {
  TUriWideStrAnalyzer uri;
  return uri.ParseReference(DocumentUri) ? DocumentUri : WideString();
}

WideString TDomCustomDocument::GetXPathStringValue() const {
  const TDomElement* element = GetDocumentElement();
  return element ? element->GetTextContent() : WideString();
}

TDomElement* TDomCustomDocument::GetDocumentElement() const {
  for (TDomNode* child = GetFirstChild(); child; child = child->GetNextSibling())
    if (child->GetNodeType() == ntElement) return static_cast<TDomElement*>(child);
  return nullptr;
}

TDomDocumentTypeDecl* TDomCustomDocument::GetDoctypeDecl() const {
  for (TDomNode* child = GetFirstChild(); child; child = child->GetNextSibling())
    if (child->GetNodeType() == ntDocumentTypeDecl) return static_cast<TDomDocumentTypeDecl*>(child);
  return nullptr;
}

uint8_t TDomCustomDocument::GetAttrDeclType(WideStringView, WideStringView) const { return 0; }

// The document's rules for a new element or document type declaration at `position`
// (the index it takes; the child count for the end), `replaced` being the child it
// replaces, if any.
bool TDomCustomDocument::MayHoldElement(int32_t position, const TDomNode* replaced) const {
  const TDomElement* element = GetDocumentElement();
  if (element && element != replaced) return false;
  const TDomDocumentTypeDecl* doctype = GetDoctypeDecl();
  if (!doctype) return true;
  const int32_t doctypeIndex = IndexOfChild(doctype);
  return replaced ? position >= doctypeIndex : position > doctypeIndex;
}

bool TDomCustomDocument::MayHoldDoctype(int32_t position, const TDomNode* replaced) const {
  const TDomDocumentTypeDecl* doctype = GetDoctypeDecl();
  if (doctype && doctype != replaced) return false;
  const TDomElement* element = GetDocumentElement();
  return !element || IndexOfChild(element) >= position;
}

void TDomCustomDocument::CheckDocumentChild(const TDomNode* newChild, int32_t position,
                                            const TDomNode* replaced) const {
  if (!newChild) throw ENot_Supported_Err(SNot_Supported_Err);
  const bool allowed = newChild->GetNodeType() == ntElement            ? MayHoldElement(position, replaced)
                       : newChild->GetNodeType() == ntDocumentTypeDecl ? MayHoldDoctype(position, replaced)
                                                                       : true;
  if (!allowed) throw EHierarchy_Request_Err(SHierarchy_Request_Err);
}

TDomNode* TDomCustomDocument::AppendChild(TDomNode* newChild) {
  CheckDocumentChild(newChild, GetChildCount(), nullptr);
  return TDomNode::AppendChild(newChild);
}

TDomNode* TDomCustomDocument::InsertBefore(TDomNode* newChild, TDomNode* refChild) {
  CheckDocumentChild(newChild, refChild ? IndexOfChild(refChild) : GetChildCount(), nullptr);
  return TDomNode::InsertBefore(newChild, refChild);
}

TDomNode* TDomCustomDocument::ReplaceChild(TDomNode* newChild, TDomNode* oldChild) {
  CheckDocumentChild(newChild, oldChild ? IndexOfChild(oldChild) : GetChildCount(), oldChild);
  return TDomNode::ReplaceChild(newChild, oldChild);
}

// ---- copying ----

namespace {

// A copy of one node without its children, made in `document`.
TDomNode* CopyOne(TDomCustomDocument& document, const TDomNode* node) {
  switch (node->GetNodeType()) {
    case ntElement: {
      const auto* source = static_cast<const TDomElement*>(node);
      TDomElement* copy;
      if (source->IsNamespaceAware()) {
        auto* target = dynamic_cast<TDomDocumentNS*>(&document);
        if (!target) throw EInvalidCast(SInvalidCast);
        copy = NewDomNode<TDomElement>(*target, source->GetNodeName(), source->GetNamespaceUri());
      } else {
        auto* target = dynamic_cast<TDomDocument*>(&document);
        if (!target) throw EInvalidCast(SInvalidCast);
        copy = NewDomNode<TDomElement>(*target, source->GetNodeName());
      }
      const TDomNamedNodeMap* attributes = source->GetAttributes();
      for (int32_t i = 0; i < attributes->GetLength(); ++i) {
        const auto* attr = static_cast<const TDomAttr*>(attributes->GetItem(i));
        if (!attr->GetSpecified()) continue;
        auto* attrCopy = static_cast<TDomAttr*>(document.ImportNode(attr, true));
        if (attr->IsNamespaceAware())
          copy->SetAttributeNodeNS(attrCopy);
        else
          copy->SetAttributeNode(attrCopy);
      }
      return copy;
    }
    case ntAttribute: {
      const auto* source = static_cast<const TDomAttr*>(node);
      TDomAttr* copy;
      if (source->IsNamespaceAware()) {
        auto* target = dynamic_cast<TDomDocumentNS*>(&document);
        if (!target) throw EInvalidCast(SInvalidCast);
        copy = NewDomNode<TDomAttr>(*target, true, source->GetNodeName(), source->GetNamespaceUri());
      } else {
        auto* target = dynamic_cast<TDomDocument*>(&document);
        if (!target) throw EInvalidCast(SInvalidCast);
        copy = NewDomNode<TDomAttr>(*target, true, source->GetNodeName());
      }
      copy->TDomNodeWithValue::SetNodeValue(source->GetNodeValue());  // directly: no event
      return copy;
    }
    case ntText: {
      auto* copy = NewDomNode<TDomText>(document);
      copy->SetData(node->GetNodeValue());
      copy->SetFromCharRef(static_cast<const TDomText*>(node)->FromCharRef());
      return copy;
    }
    case ntCDATASection: {
      auto* copy = NewDomNode<TDomCDATASection>(document);
      copy->SetData(node->GetNodeValue());
      return copy;
    }
    case ntComment: {
      auto* copy = NewDomNode<TDomComment>(document);
      copy->SetData(node->GetNodeValue());
      return copy;
    }
    case ntEntityReference:
      return NewDomNode<TDomEntityReference>(document, node->GetNodeName());
    case ntProcessingInstruction: {
      auto* copy = NewDomNode<TDomProcessingInstruction>(document, node->GetNodeName());
      copy->SetData(node->GetNodeValue());
      return copy;
    }
    case ntDocumentFragment:
      return NewDomNode<TDomDocumentFragment>(document);
    default:
      throw ENot_Supported_Err(SNot_Supported_Err);
  }
}

}  // namespace

TDomNode* TDomCustomDocument::CopyNode(const TDomNode* node, bool deep) {
  if (!node) throw ENot_Supported_Err(SNot_Supported_Err);
  TDomNode* copy = CopyOne(*this, node);
  const TDomNodeType type = node->GetNodeType();
  if (!deep || (type != ntElement && type != ntDocumentFragment)) return copy;
  // The subtree in document order with a stack of (source, copy) pairs along the path,
  // so deep trees need no recursion. Entity references are copied without children.
  std::vector<std::pair<const TCustomOwnedNode*, TDomNode*>> path{{node, copy}};
  const auto descend = [](const TCustomOwnedNode* n) {
    return static_cast<const TDomNode*>(n)->GetNodeType() != ntEntityReference;
  };
  for (const TCustomOwnedNode* n = NextInSubtree(node, node); n; n = NextInSubtree(node, n, descend(n))) {
    while (path.back().first != n->GetParent()) path.pop_back();
    const auto* source = static_cast<const TDomNode*>(n);
    TDomNode* child = CopyOne(*this, source);
    source->NotifyUserDataHandlers(udoImported, const_cast<TDomNode*>(source), child);
    path.back().second->AppendChild(child);
    path.emplace_back(n, child);
  }
  return copy;
}

TDomNode* TDomCustomDocument::ImportNode(const TDomNode* node, bool deep) {
  TDomNode* copy = CopyNode(node, deep);
  node->NotifyUserDataHandlers(udoImported, const_cast<TDomNode*>(node), copy);
  return copy;
}

void TDomCustomDocument::ResolveAttributeValue(WideStringView literal, uint8_t, TXmlErrorKind& errorType,
                                               WideString& value) {
  ResolveAttributeLiteral(literal, errorType, value);
}

// ---- traversal objects ----

TDomNodeIterator* TDomCustomDocument::CreateNodeIterator(TDomNode* root, uint16_t whatToShow,
                                                         bool expandEntityReferences, TDomNodeFilter* filter) {
  return FNodeIterators
      .emplace_back(std::make_unique<TDomNodeIterator>(root, whatToShow, expandEntityReferences, filter))
      .get();
}

TDomTreeWalker* TDomCustomDocument::CreateTreeWalker(TDomNode* root, uint16_t whatToShow, bool expandEntityReferences,
                                                     TDomNodeFilter* filter) {
  return FTreeWalkers.emplace_back(std::make_unique<TDomTreeWalker>(root, whatToShow, expandEntityReferences, filter))
      .get();
}

void TDomCustomDocument::FreeTreeWalker(TDomTreeWalker*& walker) {
  if (!walker) return;
  const auto it = std::find_if(FTreeWalkers.begin(), FTreeWalkers.end(),
                               [&](const std::unique_ptr<TDomTreeWalker>& w) { return w.get() == walker; });
  if (it == FTreeWalkers.end()) throw EWrong_Document_Err(SWrong_Document_Err);
  FTreeWalkers.erase(it);
  walker = nullptr;
}

void TDomCustomDocument::ClearInvalidNodeIterators() {
  std::erase_if(FNodeIterators, [](const std::unique_ptr<TDomNodeIterator>& i) { return i->IsInvalid(); });
}

// ---- node events ----

template <typename Handler, typename... Args>
void TDomCustomDocument::FireEvent(const Handler& handler, void (TDomImplementation::*forward)(Args...), Args... args) {
  FModified = true;
  // The implementation hears of the event even when the document's handler raises.
  try {
    if (handler) handler(this, args...);
  } catch (...) {
    if (FDomImplementation) (FDomImplementation->*forward)(args...);
    throw;
  }
  if (FDomImplementation) (FDomImplementation->*forward)(args...);
}

void TDomCustomDocument::NotifyIterators(TDomNode* node, TDomNodeEvent kind) {
  if (FDestroying) return;
  for (const auto& iterator : FNodeIterators) iterator->HandleNodeEvent(node, kind);
}

void TDomCustomDocument::DoAttrModified(TDomNode* modifiedNode, TDomAttrChange change, TDomAttr* relatedAttr) {
  if (FDestroying) return;
  FireEvent(OnAttrModified, &TDomImplementation::DoAttrModified, modifiedNode, change, relatedAttr);
}

void TDomCustomDocument::DoCharacterDataModified(TDomNode* node) {
  if (FDestroying) return;
  FireEvent(OnCharacterDataModified, &TDomImplementation::DoCharacterDataModified, node);
}

void TDomCustomDocument::DoNodeInserted(TDomNode* node) {
  if (FDestroying) return;
  FireEvent(OnNodeInserted, &TDomImplementation::DoNodeInserted, node);
}

void TDomCustomDocument::DoNodeClearing(TDomNode* node) {
  if (FDestroying) return;
  try {
    FireEvent(OnNodeClearing, &TDomImplementation::DoNodeClearing, node);
  } catch (...) {
    NotifyIterators(node, neClearing);
    throw;
  }
  NotifyIterators(node, neClearing);
}

void TDomCustomDocument::DoNodeRemoving(TDomNode* node) {
  if (FDestroying) return;
  try {
    FireEvent(OnNodeRemoving, &TDomImplementation::DoNodeRemoving, node);
  } catch (...) {
    NotifyIterators(node, neRemoving);
    throw;
  }
  NotifyIterators(node, neRemoving);
}

// ---- TDomDocument ----

TDomDocument::TDomDocument(TDomImplementation* implementation) : TDomCustomDocument(implementation) {
  if (implementation && implementation->ValidationAgentFactory())
    FValidationAgent = implementation->ValidationAgentFactory()(*this);
}

TDomDocument::~TDomDocument() = default;

uint8_t TDomDocument::GetAttrDeclType(WideStringView elementName, WideStringView attrName) const {
  return FValidationAgent ? FValidationAgent->GetAttrDeclType(elementName, attrName) : 0;
}

TDomElement* TDomDocument::GetElementById(WideStringView id) const {
  return FValidationAgent ? FValidationAgent->GetElementById(id) : nullptr;
}

TDomNode* TDomDocument::CopyNode(const TDomNode* node, bool deep) {
  TDomNode* copy = TDomCustomDocument::CopyNode(node, deep);
  if (copy->GetNodeType() == ntEntityReference && FValidationAgent)
    FValidationAgent->FillEntityReference(*static_cast<TDomEntityReference*>(copy));
  return copy;
}

void TDomDocument::ResolveAttributeValue(WideStringView literal, uint8_t declType, TXmlErrorKind& errorType,
                                         WideString& value) {
  if (!FValidationAgent) return TDomCustomDocument::ResolveAttributeValue(literal, declType, errorType, value);
  value.clear();
  FValidationAgent->ResolveAttributeValue(literal, declType, errorType, value);
}

void TDomDocument::Clear() {
  FElementLists.clear();
  TDomCustomDocument::Clear();
}

bool TDomDocument::IsWhitespaceInElementContent(const TDomText& text) const {
  if (text.FromCharRef()) return false;
  const WideString data = text.GetData();
  if (!data.empty() && !TextIsS(data)) return false;
  const TDomNode* ancestor = text.GetParentNode();
  while (ancestor && ancestor->GetNodeType() == ntEntityReference) ancestor = ancestor->GetParentNode();
  if (!ancestor || ancestor->GetNodeType() != ntElement || !FValidationAgent) return false;
  return FValidationAgent->HasElementContent(ancestor->GetNodeName());
}

bool TDomDocument::RestoreDefaultAttributes(TDomNode* node) {
  bool plain = true;
  for (TCustomOwnedNode* n = node; n; n = NextInSubtree(node, n)) {
    auto* element = dynamic_cast<TDomElement*>(n);
    if (!element) continue;
    if (element->IsNamespaceAware()) plain = false;
    TDomNamedNodeMap* attributes = element->GetAttributes();
    for (int32_t i = attributes->GetLength() - 1; i >= 0; --i) {
      auto* attr = static_cast<TDomAttr*>(attributes->GetItem(i));
      if (!attr->GetSpecified()) {
        element->RemoveAttributeNode(attr);
        attr->Free();
      }
    }
    if (FValidationAgent) FValidationAgent->AddDefaultAttributes(*element);
  }
  return plain;
}

bool TDomDocument::RestoreAllDefaultAttributes() {
  TDomElement* element = GetDocumentElement();
  return element ? RestoreDefaultAttributes(element) : true;
}

TDomElementsNodeList* TDomDocument::GetElementsByTagName(WideStringView name) {
  for (const auto& list : FElementLists)
    if (list->QueryName() == name) return list.get();
  return FElementLists.emplace_back(std::make_unique<TDomElementsNodeList>(name, this)).get();
}

// ---- TDomDocumentNS ----

TDomDocumentNS::~TDomDocumentNS() = default;

TDomElement* TDomDocumentNS::GetElementById(WideStringView id) const {
  const int32_t index = FIdList.IndexOf(id);
  return index < 0 ? nullptr : static_cast<TDomElement*>(FIdList.GetObject(index));
}

TDomElementsNodeListNS* TDomDocumentNS::GetElementsByTagNameNS(WideStringView namespaceUri, WideStringView localName) {
  for (const auto& list : FElementListsNS)
    if (list->QueryNamespaceUri() == namespaceUri && list->QueryLocalName() == localName) return list.get();
  return FElementListsNS.emplace_back(std::make_unique<TDomElementsNodeListNS>(namespaceUri, this, localName)).get();
}

void TDomDocumentNS::Clear() {
  FElementListsNS.clear();
  TDomCustomDocument::Clear();
}
