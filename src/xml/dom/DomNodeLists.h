// Collections of DOM nodes: a read-only view of a list kept elsewhere (a node's
// children, the implementation's documents), live lists of the elements below a node
// that match a name, the attribute map of an element, and a sorted map that owns named
// nodes (the parameter-entity repository's).
#pragma once

#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Types.h"
#include "xml/utils/WideStringUtils.h"

class TCustomOwnedNode;
class TDomCustomNode;
class TDomNode;

class TDomNodeList : public TObject {
public:
  // A view of `list` (not owned), whose items are DOM nodes.
  explicit TDomNodeList(const std::vector<TCustomOwnedNode*>* list) : FList(list) {}

  virtual int32_t GetLength() const;
  // The node's position, -1 when absent.
  virtual int32_t IndexOf(const TDomNode* node) const;
  // nil for an index outside 0..length-1.
  virtual TDomNode* GetItem(int32_t index) const;

protected:
  TDomNodeList() = default;

private:
  const std::vector<TCustomOwnedNode*>* FList = nullptr;
};

// The children of a node, read along the node's child links: positions are counted,
// so GetItem and IndexOf are linear in the position.
class TDomChildNodeList final : public TDomNodeList {
public:
  explicit TDomChildNodeList(const TCustomOwnedNode* parent) : FParent(parent) {}

  int32_t GetLength() const override;
  int32_t IndexOf(const TDomNode* node) const override;
  TDomNode* GetItem(int32_t index) const override;

private:
  const TCustomOwnedNode* FParent;
};

// A view of a list of owned nodes.
template <typename TNode>
class TDomOwnedNodeList final : public TDomNodeList {
public:
  explicit TDomOwnedNodeList(const std::vector<std::unique_ptr<TNode>>* list) : FOwned(list) {}
  int32_t GetLength() const override { return static_cast<int32_t>(FOwned->size()); }
  int32_t IndexOf(const TDomNode* node) const override {
    for (size_t i = 0; i < FOwned->size(); ++i)
      if (static_cast<const TDomNode*>((*FOwned)[i].get()) == node) return static_cast<int32_t>(i);
    return -1;
  }
  TDomNode* GetItem(int32_t index) const override {
    return index < 0 || index >= GetLength() ? nullptr : (*FOwned)[size_t(index)].get();
  }

private:
  const std::vector<std::unique_ptr<TNode>>* FOwned;
};

// The elements below a start node (not the start node itself) in document order whose
// node name equals the query, or any for "*". Recomputed on every access.
class TDomElementsNodeList : public TDomNodeList {
public:
  TDomElementsNodeList(WideStringView queryName, TDomNode* startNode) : FQueryName(queryName), FStartNode(startNode) {}

  int32_t GetLength() const override;
  int32_t IndexOf(const TDomNode* node) const override;
  TDomNode* GetItem(int32_t index) const override;
  const WideString& QueryName() const { return FQueryName; }

protected:
  virtual bool Matches(const TDomNode* node) const;

private:
  WideString FQueryName;
  TDomNode* FStartNode;
};

// As TDomElementsNodeList, matching namespace URI and local name ("*" for any).
class TDomElementsNodeListNS final : public TDomElementsNodeList {
public:
  TDomElementsNodeListNS(WideStringView namespaceUri, TDomNode* startNode, WideStringView localName)
      : TDomElementsNodeList(u"", startNode), FQueryNamespaceUri(namespaceUri), FQueryLocalName(localName) {}

  const WideString& QueryNamespaceUri() const { return FQueryNamespaceUri; }
  const WideString& QueryLocalName() const { return FQueryLocalName; }

protected:
  bool Matches(const TDomNode* node) const override;

private:
  WideString FQueryNamespaceUri, FQueryLocalName;
};

// The attribute map of an element: nodes in insertion order, with the DOM's checks. A
// namespace-aware map (its owner node's flag, or the default flag without owner) is
// used by namespace URI and local name, any other by name; the wrong form raises
// ENamespace_Err "Namespace error.".
//
// Lookups are by a scan while the map is small; a map that grows beyond a handful of
// items keeps a hash index from name (or namespace URI and local name) to item as
// well, so that an element of a hundred thousand attributes is built in linear time.
// The map reads an item's key when it enters the index: a namespace-aware item's
// prefix may change later, its URI and local name do not, nor a plain item's name.
class TDomNamedNodeMap final : public TDomNodeList {
public:
  // The items are kept in `list` (not owned) when given, else in the map itself.
  TDomNamedNodeMap(TDomNode* ownerNode, bool defaultNamespaceAware, uint16_t allowedNodeTypes,
                   std::vector<TCustomOwnedNode*>* list = nullptr);
  ~TDomNamedNodeMap() override;

  int32_t GetLength() const override { return static_cast<int32_t>(FItems->size()); }
  int32_t IndexOf(const TDomNode* node) const override;
  TDomNode* GetItem(int32_t index) const override;

  TDomNode* GetNamedItem(WideStringView name) const;
  TDomNode* GetNamedItemNS(WideStringView namespaceUri, WideStringView localName) const;
  // Remove without freeing; ENo_Modification_Allowed_Err on a read-only map,
  // ENot_Found_Err "Node not found error." when absent.
  TDomNode* RemoveNamedItem(WideStringView name);
  TDomNode* RemoveNamedItemNS(WideStringView namespaceUri, WideStringView localName);
  TDomNode* RemoveItem(TDomNode* node);
  // Adds a node, replacing one of the same name (returned, not freed); nil when the node
  // is there already. Checks: namespace form, read-only, document
  // ("Wrong document error."), type ("Hierarchy request error."), a parent ("Inuse
  // node error."), another map ("Inuse attribute error.").
  TDomNode* SetNamedItem(TDomNode* node);
  TDomNode* SetNamedItemNS(TDomNode* node);
  // Without checks; an attribute gets or loses this map as its owner map. Removing the
  // last item is constant time.
  void InternalAdd(TDomNode* node);
  void InternalRemove(TDomNode* node);

  TDomNode* OwnerNode() const { return FOwnerNode; }
  bool IsNamespaceAware() const;
  // An item's name changed (an attribute's prefix): the index is made again.
  void ItemRenamed() {
    FIndex.reset();
    FDuplicateKeys = false;
  }

private:
  using TIndex = std::unordered_map<WideString, TDomNode*>;
  void CheckNamespaceForm(bool byNamespace) const;
  void CheckNotReadOnly() const;
  TDomNode* SetItem(TDomNode* node, bool byNamespace);
  TDomNode* RemoveFound(TDomNode* node);
  // The index key of a node as this map is used; the index, made when the map is large.
  WideString KeyOf(const TDomNode* node) const;
  static WideString NamespaceKey(WideStringView namespaceUri, WideStringView localName);
  const TIndex* Index() const;
  TDomNode* FindByScan(WideStringView name) const;
  TDomNode* FindByScanNS(WideStringView namespaceUri, WideStringView localName) const;

  uint16_t FAllowedNodeTypes;
  bool FDefaultNamespaceAware;
  TDomNode* FOwnerNode;
  std::vector<TCustomOwnedNode*> FOwnItems;
  std::vector<TCustomOwnedNode*>* FItems;
  mutable std::unique_ptr<TIndex> FIndex;
  mutable bool FDuplicateKeys = false;  // unchecked additions gave two items one key
};

// A map that owns named nodes, sorted by node name without duplicates.
class TDomOwnerNamedNodeMap : public TPersistent {
public:
  // Every item must pass `isItemClass`.
  explicit TDomOwnerNamedNodeMap(bool (*isItemClass)(const TDomCustomNode&));
  ~TDomOwnerNamedNodeMap() override;

  int32_t GetLength() const { return static_cast<int32_t>(FItems.size()); }
  // EStringListError "List index out of bounds (%d)" for a bad index.
  TDomCustomNode* GetItem(int32_t index) const;
  // Raises EHierarchy_Request_Err "Hierarchy request error." for a node of another
  // class, EStringListError "String list does not allow duplicates" for a name held
  // already (the node is then freed). Returns the node's index.
  int32_t Add(std::unique_ptr<TDomCustomNode> node);
  void Clear();
  // Frees the item; EStringListError "List index out of bounds (%d)" for a bad index.
  void Delete(int32_t index);
  // Hands the node back unfreed; EStringListError "Item not found" when absent.
  std::unique_ptr<TDomCustomNode> Extract(TDomCustomNode* node);
  TDomCustomNode* GetNamedItem(WideStringView name) const;
  bool HasNamedItem(WideStringView name) const { return IndexOfNamedItem(name) >= 0; }
  int32_t IndexOfItem(const TDomCustomNode* node) const;
  int32_t IndexOfNamedItem(WideStringView name) const;
  // Free the item when found; return its former index, -1 when absent.
  int32_t RemoveItem(TDomCustomNode* node);
  int32_t RemoveNamedItem(WideStringView name);

private:
  bool FindName(WideStringView name, int32_t& index) const;

  bool (*FIsItemClass)(const TDomCustomNode&);
  std::vector<std::unique_ptr<TDomCustomNode>> FItems;  // in ascending order of node name
};
