#include "xml/dom/DomNode.h"

#include <algorithm>

#include "platform/base/Format.h"
#include "xml/dom/DomDocument.h"
#include "xml/dom/DomElement.h"
#include "xml/utils/XmlRulesUtils.h"

namespace {

constexpr char SEHierarchyRequest[] = "EHierarchy request error.";
constexpr char SENoModificationAllowed[] = "No modification allowed.";
constexpr char SENodeNotSpecified[] = "Node not specified.";
constexpr char SENodeNotFound[] = "Node not found.";
constexpr char SEWrongDocument[] = "Wrong document.";

// The element finders walk a chain (`step`) from a first node and return the first
// element that `matches`.
template <typename Step, typename Matches>
TDomElement* FindElement(TDomNode* first, Step step, Matches matches) {
  for (TDomNode* node = first; node; node = step(node))
    if (node->GetNodeType() == ntElement && matches(node)) return static_cast<TDomElement*>(node);
  return nullptr;
}

bool AnyElement(const TDomNode*) { return true; }

TDomNode* NextSiblingOf(TDomNode* n) { return n->GetNextSibling(); }
TDomNode* PreviousSiblingOf(TDomNode* n) { return n->GetPreviousSibling(); }
TDomNode* ParentOf(TDomNode* n) { return n->GetParentNode(); }

auto NamedAs(WideStringView name) {
  return [name](const TDomNode* n) { return n->GetNodeName() == name; };
}
auto NamedAsNS(WideStringView namespaceUri, WideStringView localName) {
  return [=](const TDomNode* n) { return n->GetNamespaceUri() == namespaceUri && n->GetLocalName() == localName; };
}

// The class names the child-type message gives.
AnsiString DomClassName(const TDomNode* node) {
  switch (node->GetNodeType()) {
    case ntElement:
      return "TDomElement";
    case ntAttribute:
      return "TDomAttr";
    case ntText:
      return "TDomText";
    case ntCDATASection:
      return "TDomCDATASection";
    case ntEntityReference:
      return "TDomEntityReference";
    case ntProcessingInstruction:
      return "TDomProcessingInstruction";
    case ntComment:
      return "TDomComment";
    case ntDocument:
      if (dynamic_cast<const TDomDocumentNS*>(node)) return "TDomDocumentNS";
      if (dynamic_cast<const TDomDocument*>(node)) return "TDomDocument";
      return "TDomCustomDocument";
    case ntDocumentFragment:
      return "TDomDocumentFragment";
    case ntDocumentTypeDecl:
      return "TDomDocumentTypeDecl";
    case ntXPathNamespace:
      return "TDomXPathNamespace";
    case ntUnknown:
      break;
  }
  return "TDomNode";
}

}  // namespace

void TDomCustomNode::RaiseError(TOwnedTreeError error) const {
  switch (error) {
    case TOwnedTreeError::HierarchyRequest:
      throw EHierarchy_Request_Err(SEHierarchyRequest);
    case TOwnedTreeError::NoModificationAllowed:
      throw ENo_Modification_Allowed_Err(SENoModificationAllowed);
    case TOwnedTreeError::NotAssigned:
      throw ENot_Supported_Err(SENodeNotSpecified);
    case TOwnedTreeError::NotFound:
      throw ENot_Found_Err(SENodeNotFound);
    case TOwnedTreeError::WrongOwner:
      throw EWrong_Document_Err(SEWrongDocument);
  }
  throw EDomException(SENodeNotFound);  // unreachable: every kind is handled above
}

TDomNode::TDomNode(TDomCustomDocument* ownerDocument) : FOwnerDocument(ownerDocument) {
  FAllowedChildTypes = NodeTypes({ntElement, ntText, ntCDATASection, ntEntityReference, ntProcessingInstruction,
                                  ntComment, ntDocumentFragment, ntDocumentTypeDecl});
}

TDomNode::~TDomNode() { NotifyUserDataHandlers(udoDeleted, nullptr, nullptr); }

TDomNodeList* TDomNode::GetChildNodes() const {
  if (!FChildNodes) FChildNodes = std::make_unique<TDomChildNodeList>(this);
  return FChildNodes.get();
}

TDomNode* TDomNode::RequireDomNode(TCustomOwnedNode* node) {
  if (node && !dynamic_cast<TDomNode*>(node)) throw EHierarchy_Request_Err(SHierarchy_Request_Err);
  return static_cast<TDomNode*>(node);
}

void TDomNode::CheckNotReadOnlyNode() const {
  if (GetReadOnly()) throw ENo_Modification_Allowed_Err(SNo_Modification_Allowed_Err);
}

void TDomNode::SetNodeValue(WideStringView) { CheckNotReadOnlyNode(); }

void TDomNodeWithValue::SetNodeValue(WideStringView value) {
  CheckNotReadOnlyNode();
  FNodeValue.assign(value);
}

void TDomNode::SetPrefix(WideStringView) { CheckNotReadOnlyNode(); }

// Text of the subtree in document order, comments and processing instructions left out;
// an explicit walk, so deep trees need no recursion.
WideString TDomNode::GetTextContent() const {
  const TDomNodeType type = GetNodeType();
  if (type != ntElement && type != ntEntityReference && type != ntDocumentFragment) return {};
  WideString text;
  for (const TCustomOwnedNode* n = NextInSubtree(this, this); n; n = NextInSubtree(this, n)) {
    const TDomNodeType t = static_cast<const TDomNode*>(n)->GetNodeType();
    if (t == ntText || t == ntCDATASection) text += static_cast<const TDomNode*>(n)->GetNodeValue();
  }
  return text;
}

WideString TDomNode::GetBaseUri() const { return {}; }

WideString TDomNode::ParentBaseUri() const { return InheritedBaseUri(GetParentNode()); }
WideString TDomNode::ParentLanguage() const { return InheritedLanguage(GetParentNode()); }

int32_t TDomNode::GetDocumentOrderIndex() const {
  // The node before this one in document order, then its index plus one; climbing
  // instead of recursing.
  int32_t steps = 0;
  const TDomNode* node = this;
  for (;;) {
    if (node->GetNodeType() == ntDocument) return steps;
    if (node->GetNodeType() == ntDocumentFragment) return -1;
    const TDomNode* before = node->GetPreviousSibling();
    if (before) {
      while (before->HasChildren()) before = before->GetLastChild();
    } else {
      before = node->GetParentNode();
    }
    if (!before) return -1;
    ++steps;
    node = before;
  }
}

int32_t TDomNode::GetDepth() const {
  int32_t depth = 0;
  for (const TDomNode* node = this; node; node = node->GetParentNode(), ++depth) {
    if (node->GetNodeType() == ntDocument) return depth;
    if (node->GetNodeType() == ntDocumentFragment) return -1;
  }
  return -1;
}

bool TDomNode::IsSupported(WideStringView feature, WideStringView version) const {
  const auto lower = [](WideChar c) { return c >= u'A' && c <= u'Z' ? WideChar(c + 32) : c; };
  const bool xml =
      feature.size() == 3 && lower(feature[0]) == u'x' && lower(feature[1]) == u'm' && lower(feature[2]) == u'l';
  return xml && (version.empty() || version == u"1.0" || version == u"2.0");
}

bool TDomNode::HasAttributes() const {
  if (GetNodeType() == ntElement) return static_cast<const TDomElement*>(this)->AttributeCount() > 0;
  const TDomNamedNodeMap* map = GetAttributes();
  return map && map->GetLength() > 0;
}

TDomElement* TDomNode::GetFirstChildElement() const { return FindElement(GetFirstChild(), NextSiblingOf, AnyElement); }
TDomElement* TDomNode::GetLastChildElement() const {
  return FindElement(GetLastChild(), PreviousSiblingOf, AnyElement);
}
TDomElement* TDomNode::GetNextSiblingElement() const {
  return FindElement(GetNextSibling(), NextSiblingOf, AnyElement);
}
TDomElement* TDomNode::GetPreviousSiblingElement() const {
  return FindElement(GetPreviousSibling(), PreviousSiblingOf, AnyElement);
}
TDomElement* TDomNode::GetParentElement() const { return FindElement(GetParentNode(), ParentOf, AnyElement); }

TDomElement* TDomNode::FindFirstChildElement(WideStringView name) const {
  return FindElement(GetFirstChild(), NextSiblingOf, NamedAs(name));
}
TDomElement* TDomNode::FindFirstChildElementNS(WideStringView uri, WideStringView local) const {
  return FindElement(GetFirstChild(), NextSiblingOf, NamedAsNS(uri, local));
}
TDomElement* TDomNode::FindLastChildElement(WideStringView name) const {
  return FindElement(GetLastChild(), PreviousSiblingOf, NamedAs(name));
}
TDomElement* TDomNode::FindLastChildElementNS(WideStringView uri, WideStringView local) const {
  return FindElement(GetLastChild(), PreviousSiblingOf, NamedAsNS(uri, local));
}
TDomElement* TDomNode::FindNextSiblingElement(WideStringView name) const {
  return FindElement(GetNextSibling(), NextSiblingOf, NamedAs(name));
}
TDomElement* TDomNode::FindNextSiblingElementNS(WideStringView uri, WideStringView local) const {
  return FindElement(GetNextSibling(), NextSiblingOf, NamedAsNS(uri, local));
}
TDomElement* TDomNode::FindPreviousSiblingElement(WideStringView name) const {
  return FindElement(GetPreviousSibling(), PreviousSiblingOf, NamedAs(name));
}
TDomElement* TDomNode::FindPreviousSiblingElementNS(WideStringView uri, WideStringView local) const {
  return FindElement(GetPreviousSibling(), PreviousSiblingOf, NamedAsNS(uri, local));
}
TDomElement* TDomNode::FindParentElement(WideStringView name) const {
  return FindElement(GetParentNode(), ParentOf, NamedAs(name));
}
TDomElement* TDomNode::FindParentElementNS(WideStringView uri, WideStringView local) const {
  return FindElement(GetParentNode(), ParentOf, NamedAsNS(uri, local));
}

void TDomNode::CheckChildType(const TDomNode* child) const {
  if (!child || InNodeTypes(FAllowedChildTypes, child->GetNodeType())) return;
  throw EHierarchy_Request_Err(Format(SChildTypeNotAllowed, {DomClassName(child), DomClassName(this)}));
}

TDomNode* TDomNode::AppendFragment(TDomNode* fragment) {
  // The owned-tree checks of assignment and owner first, then the children one by one.
  if (fragment->Owner() != Owner() && fragment->Owner() != this) RaiseError(TOwnedTreeError::WrongOwner);
  while (TDomNode* child = fragment->GetFirstChild()) TDomCustomNode::AppendChild(child);
  return fragment;
}

TDomNode* TDomNode::AppendChild(TDomNode* newChild) {
  CheckChildType(newChild);
  if (newChild && newChild->GetNodeType() == ntDocumentFragment) return AppendFragment(newChild);
  return AsDomNode(TDomCustomNode::AppendChild(newChild));
}

TDomNode* TDomNode::InsertBefore(TDomNode* newChild, TDomNode* refChild) {
  CheckChildType(newChild);
  if (!newChild || newChild->GetNodeType() != ntDocumentFragment)
    return AsDomNode(TDomCustomNode::InsertBefore(newChild, refChild));
  if (newChild->Owner() != Owner() && newChild->Owner() != this) RaiseError(TOwnedTreeError::WrongOwner);
  if (newChild == refChild) RaiseError(TOwnedTreeError::HierarchyRequest);
  while (TDomNode* child = newChild->GetFirstChild()) InsertBefore(child, refChild);
  return newChild;
}

TDomNode* TDomNode::ReplaceChild(TDomNode* newChild, TDomNode* oldChild) {
  CheckChildType(newChild);
  if (!newChild || newChild->GetNodeType() != ntDocumentFragment) {
    TDomCustomNode::ReplaceChild(newChild, oldChild);
    return oldChild;
  }
  if (!oldChild) RaiseError(TOwnedTreeError::NotAssigned);
  if (newChild->Owner() != Owner() && newChild->Owner() != this) RaiseError(TOwnedTreeError::WrongOwner);
  if (oldChild->GetParent() != this) RaiseError(TOwnedTreeError::NotFound);
  TDomNode* last = newChild->GetLastChild();
  if (!last) return RemoveChild(oldChild);
  ReplaceChild(last, oldChild);
  while (TDomNode* child = newChild->GetFirstChild()) InsertBefore(child, last);
  return oldChild;
}

TDomNode* TDomNode::RemoveChild(TDomNode* oldChild) { return AsDomNode(TDomCustomNode::RemoveChild(oldChild)); }

TCustomOwnedNode* TDomNode::AppendChild(TCustomOwnedNode* newChild) { return AppendChild(RequireDomNode(newChild)); }
TCustomOwnedNode* TDomNode::InsertBefore(TCustomOwnedNode* newChild, TCustomOwnedNode* refChild) {
  return InsertBefore(RequireDomNode(newChild), RequireDomNode(refChild));
}
TCustomOwnedNode* TDomNode::ReplaceChild(TCustomOwnedNode* newChild, TCustomOwnedNode* oldChild) {
  return ReplaceChild(RequireDomNode(newChild), RequireDomNode(oldChild));
}
TCustomOwnedNode* TDomNode::RemoveChild(TCustomOwnedNode* oldChild) { return RemoveChild(RequireDomNode(oldChild)); }

TDomNode* TDomNode::CloneNode(bool deep) const {
  TDomCustomDocument* document = GetOwnerDocument();
  if (!document) throw ENot_Supported_Err(SNot_Supported_Err);
  TDomNode* copy = document->CopyNode(this, deep);
  NotifyUserDataHandlers(udoCloned, const_cast<TDomNode*>(this), copy);
  return copy;
}

WideString TDomNode::LookupNamespaceUri(WideStringView prefix) const {
  if (prefix == u"xml") return XmlNamespaceUri;
  if (prefix == u"xmlns") return XmlnsNamespaceUri;
  return {};
}

void TDomNode::Normalize() {
  // Every element of the subtree, each before its children, without recursion.
  for (TCustomOwnedNode* n = this; n; n = NextInSubtree(this, n))
    if (static_cast<TDomNode*>(n)->GetNodeType() == ntElement) static_cast<TDomElement*>(n)->MergeAdjacentTexts();
}

uint8_t TDomNode::CompareTreePosition(const TDomNode* other) const {
  if (!other) throw ENot_Supported_Err(SNot_Supported_Err);
  if (other == this) return TreePositionSameNode | TreePositionEquivalent;
  // Each node's chain from its root down to itself.
  const auto chainOf = [](const TDomNode* node) {
    std::vector<const TDomNode*> chain;
    for (; node; node = node->PositionParent()) chain.push_back(node);
    std::reverse(chain.begin(), chain.end());
    return chain;
  };
  const std::vector<const TDomNode*> mine = chainOf(this), theirs = chainOf(other);
  if (mine.front() != theirs.front()) return TreePositionDisconnected;
  size_t common = 0;  // index of the deepest common ancestor in both chains
  while (common + 1 < mine.size() && common + 1 < theirs.size() && mine[common + 1] == theirs[common + 1]) ++common;
  if (theirs[common] == other) return TreePositionDescendant | TreePositionFollowing;
  if (mine[common] == this) return TreePositionAncestor | TreePositionPreceding;
  const TDomNode* a = mine[common + 1];
  const TDomNode* b = theirs[common + 1];
  for (const TDomNodeType special : {ntXPathNamespace, ntAttribute}) {
    if (a->GetNodeType() == special)
      return b->GetNodeType() == special ? TreePositionEquivalent : TreePositionPreceding;
    if (b->GetNodeType() == special) return TreePositionFollowing;
  }
  for (const TDomNode* child = mine[common]->GetFirstChild(); child; child = child->GetNextSibling()) {
    if (child == a) return TreePositionPreceding;
    if (child == b) return TreePositionFollowing;
  }
  return 0;
}

TObject* TDomNode::GetUserData(WideStringView key) const {
  if (!FUserData) return nullptr;
  for (const TUserDataEntry& entry : *FUserData)
    if (entry.Key == key) return entry.Data;
  return nullptr;
}

TObject* TDomNode::SetUserData(WideStringView key, TObject* data, TDomUserDataHandler handler) {
  if (!FUserData) {
    if (!data) return nullptr;
    FUserData = std::make_unique<std::vector<TUserDataEntry>>();
  }
  std::vector<TUserDataEntry>& entries = *FUserData;
  auto it = std::find_if(entries.begin(), entries.end(), [&](const TUserDataEntry& e) { return e.Key == key; });
  if (!data) {
    if (it == entries.end()) return nullptr;
    TObject* previous = it->Data;
    entries.erase(it);
    return previous;
  }
  if (it == entries.end()) {
    entries.push_back({WideString(key), data, std::move(handler)});
    return nullptr;
  }
  TObject* previous = it->Data;
  it->Data = data;
  it->Handler = std::move(handler);
  return previous;
}

void TDomNode::NotifyUserDataHandlers(TDomUserDataOperation operation, TDomNode* source, TDomNode* destination) const {
  if (!FUserData) return;
  for (const TUserDataEntry& entry : *FUserData)
    if (entry.Handler) entry.Handler(operation, entry.Key, entry.Data, source, destination);
}

// A document announces changes of its own children too.
void TDomNode::DoAfterAddition(TCustomOwnedNode* node) {
  if (TDomCustomDocument* document = GetOwnerDocument()) document->DoNodeInserted(AsDomNode(node));
}

void TDomNode::DoBeforeRemoval(TCustomOwnedNode* node) {
  if (TDomCustomDocument* document = GetOwnerDocument()) document->DoNodeRemoving(AsDomNode(node));
}

void TDomNode::DoBeforeClear() {
  if (FOwnerDocument) FOwnerDocument->DoNodeClearing(this);
}

// ---- character data ----

TDomCharacterData::TDomCharacterData(TDomCustomDocument* ownerDocument) : TDomNodeWithValue(ownerDocument) {
  SetAllowedChildTypes(0);
}

void TDomCharacterData::SetNodeValue(WideStringView value) {
  TDomNodeWithValue::SetNodeValue(value);
  DoCharacterDataModified();
}

void TDomCharacterData::SetData(WideStringView value) { SetNodeValue(value); }

void TDomCharacterData::DoCharacterDataModified() {
  if (TDomCustomDocument* document = GetDocument()) document->DoCharacterDataModified(this);
}

void TDomCharacterData::CheckRange(int32_t offset, int32_t count) const {
  if (offset < 0 || offset > GetLength() || count < 0) throw EIndex_Size_Err(SIndex_Size_Err);
}

WideString TDomCharacterData::SubstringData(int32_t offset, int32_t count) const {
  CheckRange(offset, count);
  return FNodeValue.substr(size_t(offset), size_t(count));
}

void TDomCharacterData::AppendData(WideStringView text) {
  // In place: a text built of many pieces costs what the pieces cost, not the square.
  CheckNotReadOnlyNode();
  FNodeValue.append(text);
  DoCharacterDataModified();
}

void TDomCharacterData::ReplaceData(int32_t offset, int32_t count, WideStringView text) {
  CheckNotReadOnlyNode();
  CheckRange(offset, count);
  count = std::min(count, GetLength() - offset);
  WideString data = FNodeValue.substr(0, size_t(offset));
  data += text;
  data += FNodeValue.substr(size_t(offset + count));
  SetData(data);
}

bool TDomText::IsWhitespaceInElementContent() const {
  const auto* document = dynamic_cast<const TDomDocument*>(GetDocument());
  return document && document->IsWhitespaceInElementContent(*this);
}

TDomText* TDomText::SplitText(int32_t offset) {
  CheckNotReadOnlyNode();
  if (offset < 0 || offset > GetLength()) throw EIndex_Size_Err(SIndex_Size_Err);
  TDomCustomDocument* document = GetDocument();
  if (!document) throw ENot_Supported_Err(SNot_Supported_Err);
  TDomText* tail = NewDomNode<TDomText>(*document);
  tail->SetData(FNodeValue.substr(size_t(offset)));
  tail->SetFromCharRef(FFromCharRef);
  DeleteData(offset, GetLength() - offset);
  if (TDomNode* parent = GetParentNode()) parent->InsertBefore(tail, GetNextSibling());
  return tail;
}

// ---- the other simple nodes ----

TDomProcessingInstruction::TDomProcessingInstruction(TDomCustomDocument* ownerDocument, WideStringView target)
    : TDomNodeWithValue(ownerDocument), FTarget(target) {
  if (!TextIsPITarget(target)) throw EInvalid_Character_Err(SInvalid_Character_Err);
  SetAllowedChildTypes(0);
}

void TDomProcessingInstruction::SetNodeValue(WideStringView value) {
  TDomNodeWithValue::SetNodeValue(value);
  if (TDomCustomDocument* document = GetDocument()) document->DoCharacterDataModified(this);
}

TDomDocumentTypeDecl::TDomDocumentTypeDecl(TDomCustomDocument* ownerDocument, WideStringView internalSubset,
                                           WideStringView systemId, WideStringView publicId, WideStringView name)
    : TDomNode(ownerDocument), FInternalSubset(internalSubset), FName(name), FPublicId(publicId), FSystemId(systemId) {
  SetAllowedChildTypes(0);
}

TDomEntityReference::TDomEntityReference(TDomCustomDocument* ownerDocument, WideStringView name)
    : TDomNode(ownerDocument), FName(name) {
  if (!TextIsName(name)) throw EInvalid_Character_Err(SInvalid_Character_Err);
  SetAllowedChildTypes(NodeTypes(
      {ntElement, ntText, ntCDATASection, ntEntityReference, ntProcessingInstruction, ntComment, ntDocumentFragment}));
  SetReadOnly(true);
}

TDomDocumentFragment::TDomDocumentFragment(TDomCustomDocument* ownerDocument) : TDomNode(ownerDocument) {
  SetAllowedChildTypes(NodeTypes(
      {ntElement, ntText, ntCDATASection, ntEntityReference, ntProcessingInstruction, ntComment, ntDocumentFragment}));
}

TDomXPathNamespace::TDomXPathNamespace(WideStringView prefix, WideStringView namespaceUri, TDomElement* ownerElement)
    : TDomNode(nullptr), FNamespaceUri(namespaceUri), FOwnerElement(ownerElement), FPrefix(prefix) {
  if (!prefix.empty() && !TextIsPrefix(prefix)) throw EInvalid_Character_Err(SInvalid_Character_Err);
  if ((prefix == u"xmlns" && namespaceUri != XmlnsNamespaceUri) || (!prefix.empty() && namespaceUri.empty()) ||
      (prefix == u"xml" && namespaceUri != XmlNamespaceUri))
    throw ENamespace_Err(SNamespace_Err);
  SetAllowedChildTypes(0);
  SetReadOnly(true);
}

TDomCustomDocument* TDomXPathNamespace::GetOwnerDocument() const {
  return FOwnerElement ? FOwnerElement->GetOwnerDocument() : nullptr;
}

WideString TDomXPathNamespace::GetLanguage() const {
  return FOwnerElement ? FOwnerElement->GetLanguage() : WideString();
}

WideString TDomXPathNamespace::LookupNamespaceUri(WideStringView prefix) const {
  return FOwnerElement ? FOwnerElement->LookupNamespaceUri(prefix) : WideString();
}

TDomNode* TDomXPathNamespace::PositionParent() const { return FOwnerElement; }

void MakeChildrenReadOnly(TDomNode* node) {
  for (TCustomOwnedNode* n = NextInSubtree(node, node); n; n = NextInSubtree(node, n)) n->SetReadOnly(true);
}
