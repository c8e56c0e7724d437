// Traversal of the nodes below a root, showing the node types of a whatToShow set and
// consulting an optional filter: a tree walker (moves freely, remembers a current node)
// and a node iterator (moves forwards and backwards in document order, kept usable by
// its document when nodes are removed). Both are created and owned by a document.
#pragma once

#include <cstdint>

#include "platform/base/Object.h"

class TDomNode;

// A filter's answer.
enum TDomFilterResult : uint8_t { frAccept = 0, frReject = 1, frSkip = 2 };

class TDomNodeFilter : public TObject {
public:
  // Reject passes over the node (and, for a tree walker, its subtree); skip passes over
  // the node only.
  virtual TDomFilterResult AcceptNode(TDomNode* node) = 0;
};

// A set over node types, one bit per type; all types shown.
inline constexpr uint16_t ShowAll = 0xFFFF;

class TDomTreeWalker : public TObject {
public:
  // Raises ENot_Supported_Err "Not supported error." without a root.
  TDomTreeWalker(TDomNode* root, uint16_t whatToShow, bool expandEntityReferences, TDomNodeFilter* filter);

  // Each moves the current node and returns it, or returns nil and leaves it.
  TDomNode* ParentNode();
  TDomNode* FirstChild();
  TDomNode* LastChild();
  TDomNode* PreviousSibling();
  TDomNode* NextSibling();
  TDomNode* NextNode();
  TDomNode* PreviousNode();

  TDomNode* CurrentNode() const { return FCurrentNode; }
  TDomNode* Root() const { return FRoot; }
  // Raise "Not supported error." for none.
  void SetCurrentNode(TDomNode* node);
  void SetRoot(TDomNode* node);
  void SetExpandEntityReferences(bool value) { FExpandEntityReferences = value; }
  void SetFilter(TDomNodeFilter* filter) { FFilter = filter; }
  void SetWhatToShow(uint16_t value) { FWhatToShow = value; }

  TDomNode* FindFirstChild(TDomNode* node) const;
  TDomNode* FindLastChild(TDomNode* node) const;
  TDomNode* FindNextNode(TDomNode* node) const;
  TDomNode* FindNextSibling(TDomNode* node) const;
  TDomNode* FindParentNode(TDomNode* node) const;
  TDomNode* FindPreviousNode(TDomNode* node) const;
  TDomNode* FindPreviousSibling(TDomNode* node) const;

private:
  TDomFilterResult Accept(TDomNode* node) const;
  TDomNode* FindChild(TDomNode* node, bool first) const;
  TDomNode* FindSibling(TDomNode* node, bool next) const;
  TDomNode* Move(TDomNode* found);

  TDomNode* FCurrentNode;
  bool FExpandEntityReferences;
  TDomNodeFilter* FFilter;
  TDomNode* FRoot;
  uint16_t FWhatToShow;
};

// What a document tells its node iterators: a node's children are being cleared (0) or
// a node is being removed (1).
enum TDomNodeEvent : uint8_t { neClearing = 0, neRemoving = 1 };

class TDomNodeIterator : public TObject {
public:
  // Raises ENot_Supported_Err "Not supported error." without a root.
  TDomNodeIterator(TDomNode* root, uint16_t whatToShow, bool expandEntityReferences, TDomNodeFilter* filter);

  // Raise EInvalid_State_Err "Invalid state error." once the iterator is invalid.
  TDomNode* NextNode();
  TDomNode* PreviousNode();
  // Makes the iterator invalid; its document frees it later.
  void Detach();
  // Keeps the reference node usable when a node is cleared or removed.
  void HandleNodeEvent(TDomNode* node, TDomNodeEvent kind);

  TDomNode* FindNextNode(TDomNode* node) const;
  TDomNode* FindPreviousNode(TDomNode* node) const;

  TDomNode* Root() const { return FRoot; }
  TDomNode* ReferenceNode() const { return FReferenceNode; }
  bool IsInvalid() const { return FInvalid; }

private:
  TDomFilterResult Accept(TDomNode* node) const;
  TDomNode* Move(bool forward);
  void Invalidate();

  TDomNode* FRoot;
  TDomNode* FReferenceNode;
  uint8_t FPosition = 0;  // 0: before the reference node, 1: after it
  uint16_t FWhatToShow;
  bool FExpandEntityReferences;
  TDomNodeFilter* FFilter;
  bool FInvalid = false;
};
