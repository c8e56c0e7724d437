#include "xml/dom/DomNodeLists.h"

#include <algorithm>

#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/ListAlgorithms.h"
#include "xml/dom/DomElement.h"

namespace {

constexpr char SItemNotFound[] = "Item not found";

}  // namespace

// ---- TDomNodeList ----

int32_t TDomNodeList::GetLength() const { return FList ? static_cast<int32_t>(FList->size()) : 0; }

int32_t TDomNodeList::IndexOf(const TDomNode* node) const {
  if (!FList) return -1;
  const auto it = std::find(FList->begin(), FList->end(), static_cast<const TCustomOwnedNode*>(node));
  return it == FList->end() ? -1 : static_cast<int32_t>(it - FList->begin());
}

TDomNode* TDomNodeList::GetItem(int32_t index) const {
  if (index < 0 || index >= GetLength()) return nullptr;
  return static_cast<TDomNode*>((*FList)[size_t(index)]);
}

// ---- TDomChildNodeList ----

int32_t TDomChildNodeList::GetLength() const { return FParent->GetChildCount(); }

int32_t TDomChildNodeList::IndexOf(const TDomNode* node) const { return FParent->IndexOfChild(node); }

TDomNode* TDomChildNodeList::GetItem(int32_t index) const {
  if (index < 0 || index >= GetLength()) return nullptr;
  return static_cast<TDomNode*>(FParent->GetChild(index));
}

// ---- element lists ----

bool TDomElementsNodeList::Matches(const TDomNode* node) const {
  return node->GetNodeType() == ntElement && (FQueryName == u"*" || node->GetNodeName() == FQueryName);
}

bool TDomElementsNodeListNS::Matches(const TDomNode* node) const {
  return node->GetNodeType() == ntElement &&
         (FQueryNamespaceUri == u"*" || node->GetNamespaceUri() == FQueryNamespaceUri) &&
         (FQueryLocalName == u"*" || node->GetLocalName() == FQueryLocalName);
}

// Each operation walks the start node's subtree in document order.
int32_t TDomElementsNodeList::GetLength() const {
  int32_t count = 0;
  if (!FStartNode) return 0;
  for (const TCustomOwnedNode* n = NextInSubtree(FStartNode, FStartNode); n; n = NextInSubtree(FStartNode, n))
    if (Matches(static_cast<const TDomNode*>(n))) ++count;
  return count;
}

TDomNode* TDomElementsNodeList::GetItem(int32_t index) const {
  if (!FStartNode || index < 0) return nullptr;
  for (TCustomOwnedNode* n = NextInSubtree(FStartNode, FStartNode); n; n = NextInSubtree(FStartNode, n))
    if (Matches(static_cast<const TDomNode*>(n)) && index-- == 0) return static_cast<TDomNode*>(n);
  return nullptr;
}

int32_t TDomElementsNodeList::IndexOf(const TDomNode* node) const {
  if (!FStartNode || !node || node->GetNodeType() != ntElement) return -1;
  int32_t index = 0;
  for (const TCustomOwnedNode* n = NextInSubtree(FStartNode, FStartNode); n; n = NextInSubtree(FStartNode, n)) {
    if (!Matches(static_cast<const TDomNode*>(n))) continue;
    if (n == node) return index;
    ++index;
  }
  return -1;
}

// ---- TDomNamedNodeMap ----

namespace {

// Below this many items a scan beats hashing and the map keeps no index.
constexpr size_t IndexedMapItems = 16;

}  // namespace

TDomNamedNodeMap::TDomNamedNodeMap(TDomNode* ownerNode, bool defaultNamespaceAware, uint16_t allowedNodeTypes,
                                   std::vector<TCustomOwnedNode*>* list)
    : FAllowedNodeTypes(allowedNodeTypes),
      FDefaultNamespaceAware(defaultNamespaceAware),
      FOwnerNode(ownerNode),
      FItems(list ? list : &FOwnItems) {}

TDomNamedNodeMap::~TDomNamedNodeMap() = default;

bool TDomNamedNodeMap::IsNamespaceAware() const {
  return FOwnerNode ? FOwnerNode->IsNamespaceAware() : FDefaultNamespaceAware;
}

int32_t TDomNamedNodeMap::IndexOf(const TDomNode* node) const {
  // From the back: items are most often removed from the end.
  const auto it = std::find(FItems->rbegin(), FItems->rend(), static_cast<const TCustomOwnedNode*>(node));
  return static_cast<int32_t>(FItems->rend() - it) - 1;
}

TDomNode* TDomNamedNodeMap::GetItem(int32_t index) const {
  if (index < 0 || index >= GetLength()) return nullptr;
  return static_cast<TDomNode*>((*FItems)[size_t(index)]);
}

void TDomNamedNodeMap::CheckNamespaceForm(bool byNamespace) const {
  if (IsNamespaceAware() != byNamespace) throw ENamespace_Err(SNamespace_Err);
}

void TDomNamedNodeMap::CheckNotReadOnly() const {
  if (FOwnerNode && FOwnerNode->GetReadOnly()) throw ENo_Modification_Allowed_Err(SNo_Modification_Allowed_Err);
}

WideString TDomNamedNodeMap::NamespaceKey(WideStringView namespaceUri, WideStringView localName) {
  // A local name holds no U+0000, so the last one separates the two parts.
  WideString key(namespaceUri);
  key += u'\0';
  key += localName;
  return key;
}

WideString TDomNamedNodeMap::KeyOf(const TDomNode* node) const {
  return IsNamespaceAware() ? NamespaceKey(node->GetNamespaceUri(), node->GetLocalName()) : node->GetNodeName();
}

const TDomNamedNodeMap::TIndex* TDomNamedNodeMap::Index() const {
  if (FItems->size() < IndexedMapItems) return nullptr;
  if (!FIndex) {
    FIndex = std::make_unique<TIndex>();
    FIndex->reserve(FItems->size());
    // The first of equal keys wins, as the scan's would.
    for (TCustomOwnedNode* item : *FItems)
      if (!FIndex->emplace(KeyOf(static_cast<TDomNode*>(item)), static_cast<TDomNode*>(item)).second)
        FDuplicateKeys = true;
  }
  return FIndex.get();
}

TDomNode* TDomNamedNodeMap::FindByScan(WideStringView name) const {
  for (TCustomOwnedNode* item : *FItems)
    if (static_cast<TDomNode*>(item)->GetNodeName() == name) return static_cast<TDomNode*>(item);
  return nullptr;
}

TDomNode* TDomNamedNodeMap::FindByScanNS(WideStringView namespaceUri, WideStringView localName) const {
  for (TCustomOwnedNode* item : *FItems) {
    auto* node = static_cast<TDomNode*>(item);
    if (node->GetNamespaceUri() == namespaceUri && node->GetLocalName() == localName) return node;
  }
  return nullptr;
}

TDomNode* TDomNamedNodeMap::GetNamedItem(WideStringView name) const {
  CheckNamespaceForm(false);
  const TIndex* index = Index();
  if (!index) return FindByScan(name);
  const auto found = index->find(WideString(name));
  return found == index->end() ? nullptr : found->second;
}

TDomNode* TDomNamedNodeMap::GetNamedItemNS(WideStringView namespaceUri, WideStringView localName) const {
  CheckNamespaceForm(true);
  const TIndex* index = Index();
  if (!index) return FindByScanNS(namespaceUri, localName);
  const auto found = index->find(NamespaceKey(namespaceUri, localName));
  return found == index->end() ? nullptr : found->second;
}

TDomNode* TDomNamedNodeMap::RemoveFound(TDomNode* node) {
  if (!node) throw ENot_Found_Err(SNot_Found_Err);
  InternalRemove(node);
  return node;
}

TDomNode* TDomNamedNodeMap::RemoveNamedItem(WideStringView name) {
  CheckNamespaceForm(false);
  CheckNotReadOnly();
  return RemoveFound(GetNamedItem(name));
}

TDomNode* TDomNamedNodeMap::RemoveNamedItemNS(WideStringView namespaceUri, WideStringView localName) {
  CheckNamespaceForm(true);
  CheckNotReadOnly();
  return RemoveFound(GetNamedItemNS(namespaceUri, localName));
}

TDomNode* TDomNamedNodeMap::RemoveItem(TDomNode* node) {
  CheckNotReadOnly();
  // An attribute knows its map; other items are looked for.
  const auto* attr = dynamic_cast<const TDomAttr*>(node);
  const bool held = attr ? attr->OwnerMap() == this : IndexOf(node) >= 0;
  return RemoveFound(held ? node : nullptr);
}

TDomNode* TDomNamedNodeMap::SetNamedItem(TDomNode* node) { return SetItem(node, false); }
TDomNode* TDomNamedNodeMap::SetNamedItemNS(TDomNode* node) { return SetItem(node, true); }

TDomNode* TDomNamedNodeMap::SetItem(TDomNode* node, bool byNamespace) {
  CheckNamespaceForm(byNamespace);
  CheckNotReadOnly();
  if (!node) throw ENot_Supported_Err(SNot_Supported_Err);
  if (FOwnerNode && node->GetOwnerDocument() != FOwnerNode->GetOwnerDocument())
    throw EWrong_Document_Err(SWrong_Document_Err);
  if (!InNodeTypes(FAllowedNodeTypes, node->GetNodeType())) throw EHierarchy_Request_Err(SHierarchy_Request_Err);
  if (node->GetParentNode()) throw EInuse_Err(SInuse_Node_Err);
  if (const auto* attr = dynamic_cast<const TDomAttr*>(node); attr && attr->OwnerMap() && attr->OwnerMap() != this)
    throw EInuse_Err(SInuse_Attribute_Err);
  TDomNode* held =
      byNamespace ? GetNamedItemNS(node->GetNamespaceUri(), node->GetLocalName()) : GetNamedItem(node->GetNodeName());
  if (held == node) return nullptr;
  if (held) InternalRemove(held);
  InternalAdd(node);
  return held;
}

void TDomNamedNodeMap::InternalAdd(TDomNode* node) {
  FItems->push_back(node);
  if (FIndex && !FIndex->emplace(KeyOf(node), node).second) FDuplicateKeys = true;
  if (auto* attr = dynamic_cast<TDomAttr*>(node)) attr->SetOwnerMap(this);
}

void TDomNamedNodeMap::InternalRemove(TDomNode* node) {
  const auto it = std::find(FItems->rbegin(), FItems->rend(), static_cast<TCustomOwnedNode*>(node));
  if (it != FItems->rend()) FItems->erase(std::next(it).base());
  if (FIndex) {
    const WideString key = KeyOf(node);
    const auto found = FIndex->find(key);
    if (found != FIndex->end() && found->second == node) {
      FIndex->erase(found);
      // An item of the same key added unchecked (InternalAdd) takes over.
      if (FDuplicateKeys)
        for (TCustomOwnedNode* item : *FItems)
          if (KeyOf(static_cast<TDomNode*>(item)) == key) {
            FIndex->emplace(key, static_cast<TDomNode*>(item));
            break;
          }
    }
  }
  if (auto* attr = dynamic_cast<TDomAttr*>(node)) attr->SetOwnerMap(nullptr);
}

// ---- TDomOwnerNamedNodeMap ----

TDomOwnerNamedNodeMap::TDomOwnerNamedNodeMap(bool (*isItemClass)(const TDomCustomNode&)) : FIsItemClass(isItemClass) {}

TDomOwnerNamedNodeMap::~TDomOwnerNamedNodeMap() = default;

bool TDomOwnerNamedNodeMap::FindName(WideStringView name, int32_t& index) const {
  return SortedFind(
      GetLength(), false, [&](int32_t i) { return CompareWideStrOrdinal(FItems[size_t(i)]->GetNodeName(), name); },
      index);
}

TDomCustomNode* TDomOwnerNamedNodeMap::GetItem(int32_t index) const {
  if (index < 0 || index >= GetLength()) throw EStringListError(Format(SListIndexError, {index}));
  return FItems[size_t(index)].get();
}

int32_t TDomOwnerNamedNodeMap::Add(std::unique_ptr<TDomCustomNode> node) {
  if (!node || !FIsItemClass(*node)) throw EHierarchy_Request_Err(SHierarchy_Request_Err);
  int32_t index = 0;
  if (FindName(node->GetNodeName(), index)) throw EStringListError(SDuplicateString);
  FItems.insert(FItems.begin() + index, std::move(node));
  return index;
}

void TDomOwnerNamedNodeMap::Clear() { FItems.clear(); }

void TDomOwnerNamedNodeMap::Delete(int32_t index) {
  GetItem(index);  // the index check
  FItems.erase(FItems.begin() + index);
}

std::unique_ptr<TDomCustomNode> TDomOwnerNamedNodeMap::Extract(TDomCustomNode* node) {
  const int32_t index = IndexOfItem(node);
  if (index < 0) throw EStringListError(SItemNotFound);
  std::unique_ptr<TDomCustomNode> item = std::move(FItems[size_t(index)]);
  FItems.erase(FItems.begin() + index);
  return item;
}

TDomCustomNode* TDomOwnerNamedNodeMap::GetNamedItem(WideStringView name) const {
  const int32_t index = IndexOfNamedItem(name);
  return index < 0 ? nullptr : FItems[size_t(index)].get();
}

int32_t TDomOwnerNamedNodeMap::IndexOfNamedItem(WideStringView name) const {
  int32_t index = 0;
  return FindName(name, index) ? index : -1;
}

int32_t TDomOwnerNamedNodeMap::IndexOfItem(const TDomCustomNode* node) const {
  for (size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].get() == node) return static_cast<int32_t>(i);
  return -1;
}

int32_t TDomOwnerNamedNodeMap::RemoveItem(TDomCustomNode* node) {
  const int32_t index = IndexOfItem(node);
  if (index >= 0) Delete(index);
  return index;
}

int32_t TDomOwnerNamedNodeMap::RemoveNamedItem(WideStringView name) {
  const int32_t index = IndexOfNamedItem(name);
  if (index >= 0) Delete(index);
  return index;
}
