#include "xml/dom/DomTraversal.h"

#include "xml/dom/DomNode.h"

namespace {

// Acceptance: a type outside whatToShow is skipped; else the filter decides.
TDomFilterResult Acceptance(TDomNode* node, uint16_t whatToShow, TDomNodeFilter* filter) {
  if (!InNodeTypes(whatToShow, node->GetNodeType())) return frSkip;
  return filter ? filter->AcceptNode(node) : frAccept;
}

bool IsClosedEntityReference(const TDomNode* node, bool expandEntityReferences) {
  return node->GetNodeType() == ntEntityReference && !expandEntityReferences;
}

}  // namespace

// ---- TDomTreeWalker ----

TDomTreeWalker::TDomTreeWalker(TDomNode* root, uint16_t whatToShow, bool expandEntityReferences, TDomNodeFilter* filter)
    : FCurrentNode(root),
      FExpandEntityReferences(expandEntityReferences),
      FFilter(filter),
      FRoot(root),
      FWhatToShow(whatToShow) {
  if (!root) throw ENot_Supported_Err(SNot_Supported_Err);
}

void TDomTreeWalker::SetCurrentNode(TDomNode* node) {
  if (!node) throw ENot_Supported_Err(SNot_Supported_Err);
  FCurrentNode = node;
}

void TDomTreeWalker::SetRoot(TDomNode* node) {
  if (!node) throw ENot_Supported_Err(SNot_Supported_Err);
  FRoot = node;
}

TDomFilterResult TDomTreeWalker::Accept(TDomNode* node) const { return Acceptance(node, FWhatToShow, FFilter); }

TDomNode* TDomTreeWalker::Move(TDomNode* found) {
  if (found) FCurrentNode = found;
  return found;
}

TDomNode* TDomTreeWalker::ParentNode() { return Move(FindParentNode(FCurrentNode)); }
TDomNode* TDomTreeWalker::FirstChild() { return Move(FindFirstChild(FCurrentNode)); }
TDomNode* TDomTreeWalker::LastChild() { return Move(FindLastChild(FCurrentNode)); }
TDomNode* TDomTreeWalker::PreviousSibling() { return Move(FindPreviousSibling(FCurrentNode)); }
TDomNode* TDomTreeWalker::NextSibling() { return Move(FindNextSibling(FCurrentNode)); }
TDomNode* TDomTreeWalker::NextNode() { return Move(FindNextNode(FCurrentNode)); }
TDomNode* TDomTreeWalker::PreviousNode() { return Move(FindPreviousNode(FCurrentNode)); }

// The first (or last) shown node among the children, looking through skipped children
// into theirs; climbing back out of a skipped child follows the parent links, so no
// recursion is needed.
TDomNode* TDomTreeWalker::FindChild(TDomNode* node, bool first) const {
  if (!node || IsClosedEntityReference(node, FExpandEntityReferences)) return nullptr;
  const auto start = [first](TDomNode* n) { return first ? n->GetFirstChild() : n->GetLastChild(); };
  const auto step = [first](TDomNode* n) { return first ? n->GetNextSibling() : n->GetPreviousSibling(); };
  TDomNode* child = start(node);
  while (child) {
    const TDomFilterResult answer = Accept(child);
    if (answer == frAccept) return child;
    if (answer == frSkip && !IsClosedEntityReference(child, FExpandEntityReferences) && start(child)) {
      child = start(child);
      continue;
    }
    // Passed over: its sibling, or the sibling of the nearest skipped ancestor below node.
    for (;;) {
      if (TDomNode* next = step(child)) {
        child = next;
        break;
      }
      child = child->GetParentNode();
      if (!child || child == node) return nullptr;
    }
  }
  return nullptr;
}

TDomNode* TDomTreeWalker::FindFirstChild(TDomNode* node) const { return FindChild(node, true); }
TDomNode* TDomTreeWalker::FindLastChild(TDomNode* node) const { return FindChild(node, false); }

TDomNode* TDomTreeWalker::FindSibling(TDomNode* node, bool next) const {
  const auto step = [next](TDomNode* n) { return next ? n->GetNextSibling() : n->GetPreviousSibling(); };
  while (node && node != FRoot) {
    if (TDomNode* sibling = step(node)) {
      const TDomFilterResult answer = Accept(sibling);
      if (answer == frAccept) return sibling;
      if (answer == frSkip) {
        if (TDomNode* inside = FindChild(sibling, next)) return inside;
      }
      node = sibling;
      continue;
    }
    TDomNode* parent = node->GetParentNode();
    if (!parent || parent == FRoot || Accept(parent) == frAccept) return nullptr;
    node = parent;
  }
  return nullptr;
}

TDomNode* TDomTreeWalker::FindNextSibling(TDomNode* node) const { return FindSibling(node, true); }
TDomNode* TDomTreeWalker::FindPreviousSibling(TDomNode* node) const { return FindSibling(node, false); }

TDomNode* TDomTreeWalker::FindParentNode(TDomNode* node) const {
  while (node && node != FRoot) {
    node = node->GetParentNode();
    if (node && Accept(node) == frAccept) return node;
  }
  return nullptr;
}

TDomNode* TDomTreeWalker::FindNextNode(TDomNode* node) const {
  if (!node) return nullptr;
  if (TDomNode* child = FindFirstChild(node)) return child;
  if (node == FRoot) return nullptr;
  for (TDomNode* at = node; at;) {
    if (TDomNode* sibling = FindNextSibling(at)) return sibling;
    at = FindParentNode(at);
  }
  return nullptr;
}

TDomNode* TDomTreeWalker::FindPreviousNode(TDomNode* node) const {
  if (!node || node == FRoot) return nullptr;
  if (TDomNode* sibling = FindPreviousSibling(node)) {
    TDomNode* last = FindLastChild(sibling);
    return last ? last : sibling;
  }
  return FindParentNode(node);
}

// ---- TDomNodeIterator ----

TDomNodeIterator::TDomNodeIterator(TDomNode* root, uint16_t whatToShow, bool expandEntityReferences,
                                   TDomNodeFilter* filter)
    : FRoot(root),
      FReferenceNode(root),
      FWhatToShow(whatToShow),
      FExpandEntityReferences(expandEntityReferences),
      FFilter(filter) {
  if (!root) throw ENot_Supported_Err(SNot_Supported_Err);
}

TDomFilterResult TDomNodeIterator::Accept(TDomNode* node) const { return Acceptance(node, FWhatToShow, FFilter); }

void TDomNodeIterator::Invalidate() {
  FRoot = nullptr;
  FReferenceNode = nullptr;
  FInvalid = true;
}

void TDomNodeIterator::Detach() {
  FReferenceNode = nullptr;
  FInvalid = true;
}

TDomNode* TDomNodeIterator::FindNextNode(TDomNode* node) const {
  if (!node) return nullptr;
  if (node->HasChildren() && !IsClosedEntityReference(node, FExpandEntityReferences)) return node->GetFirstChild();
  for (; node; node = node->GetParentNode())
    if (TDomNode* sibling = node->GetNextSibling()) return sibling;
  return nullptr;
}

TDomNode* TDomNodeIterator::FindPreviousNode(TDomNode* node) const {
  if (!node) return nullptr;
  TDomNode* previous = node->GetPreviousSibling();
  if (!previous) return node->GetParentNode();
  while (previous->HasChildren()) previous = previous->GetLastChild();
  return previous;
}

TDomNode* TDomNodeIterator::Move(bool forward) {
  if (FInvalid) throw EInvalid_State_Err(SInvalid_State_Err);
  const uint8_t ahead = forward ? 1 : 0;
  TDomNode* candidate;
  if (FPosition != ahead) {
    FPosition = ahead;
    candidate = FReferenceNode;
  } else {
    candidate = forward ? FindNextNode(FReferenceNode) : FindPreviousNode(FReferenceNode);
  }
  while (candidate && Accept(candidate) != frAccept)
    candidate = forward ? FindNextNode(candidate) : FindPreviousNode(candidate);
  const auto inRoot = [this](const TDomNode* n) { return n == FRoot || n->HasAncestor(FRoot); };
  if (candidate && !inRoot(candidate) && FReferenceNode && inRoot(FReferenceNode)) return nullptr;
  if (candidate) FReferenceNode = candidate;
  return candidate;
}

TDomNode* TDomNodeIterator::NextNode() { return Move(true); }
TDomNode* TDomNodeIterator::PreviousNode() { return Move(false); }

// Positions are those of node->CompareTreePosition(other). Only a reference node inside
// (or equal to) the node concerned moves; a root inside a cleared node ends the iterator.
void TDomNodeIterator::HandleNodeEvent(TDomNode* node, TDomNodeEvent kind) {
  if (FInvalid || !node || !FRoot || !FReferenceNode) return;
  const uint8_t reference = node->CompareTreePosition(FReferenceNode);
  if (kind == neClearing) {
    if (!(reference & TreePositionAncestor)) return;
    if (node->CompareTreePosition(FRoot) & TreePositionAncestor) {
      Invalidate();
      return;
    }
    FReferenceNode = node;
    FPosition = 1;
    return;
  }
  if (!(node->CompareTreePosition(FRoot) & TreePositionFollowing)) return;
  if (!(reference & (TreePositionAncestor | TreePositionSameNode))) return;
  if (TDomNode* sibling = node->GetNextSibling()) {
    FReferenceNode = sibling;
    return;
  }
  TDomNode* previous = FindPreviousNode(node);
  if (!previous) {
    Invalidate();
    return;
  }
  // Standing before the removed node, the iterator now stands after the node before it;
  // standing after it, it stays after that node (so nothing is met twice).
  FReferenceNode = previous;
  FPosition = 1;
}
