#include "xml/dom/TreeUtils.h"

#include <algorithm>
#include <cassert>

#include "platform/base/Format.h"

// ---- TCustomOwnedObject ----

TCustomOwnedObject::~TCustomOwnedObject() {
  assert(FOwner == nullptr && "an owned object is freed through its owner");
  FreeOwnedObjects();
}

void TCustomOwnedObject::AddOwned(std::unique_ptr<TCustomOwnedObject> object) {
  assert(object && object->FOwner == nullptr);
  DoBeforeAddOwnedObject(object.get());
  TCustomOwnedObject* raw = object.get();
  FOwned.push_back(std::move(object));
  raw->FOwner = this;
  raw->FOwnedPosition = std::prev(FOwned.end());
}

std::unique_ptr<TCustomOwnedObject> TCustomOwnedObject::RemoveOwnedObject(TCustomOwnedObject* object) {
  assert(object && object->FOwner == this);
  std::unique_ptr<TCustomOwnedObject> held = std::move(*object->FOwnedPosition);
  FOwned.erase(object->FOwnedPosition);
  object->FOwner = nullptr;
  return held;
}

TCustomOwnedObject* TCustomOwnedObject::GetOwnedObject(int32_t index) const {
  if (index < 0 || index >= OwnedObjectCount()) throw EListError(Format(SListIndexError, {index}));
  return std::next(FOwned.begin(), index)->get();
}

bool TCustomOwnedObject::TakeOwnership(TCustomOwnedObject* object) {
  if (!object || object == this || object->FOwner == this) return true;
  if (!object->FOwner) return false;
  AddOwned(object->FOwner->RemoveOwnedObject(object));
  return true;
}

void TCustomOwnedObject::Free() {
  if (FOwner) FOwner->RemoveOwnedObject(this).reset();
}

void TCustomOwnedObject::FreeOwnedObjects() {
  // Each object leaves the list before it is freed, so objects that its destructor frees
  // in turn (and takes out of this list) are never met again.
  while (!FOwned.empty()) {
    std::unique_ptr<TCustomOwnedObject> last = std::move(FOwned.back());
    FOwned.pop_back();
    last->FOwner = nullptr;
    last.reset();
  }
}

// ---- TCustomOwnedNode ----

TCustomOwnedNode::~TCustomOwnedNode() {
  if (FParent) FParent->UnlinkChild(this);
  FreeChildren();
}

void TCustomOwnedNode::FreeChildren() {
  FreeOwnedObjects();
  // Bottom-up over the subtree without recursion: `node` descends along last children to
  // a node without children; that node is unlinked and freed, and the walk continues at
  // its parent. A child without owner belongs to its holder: it is unlinked, not freed,
  // and its own children stay with it.
  TCustomOwnedNode* node = this;
  for (;;) {
    TCustomOwnedNode* last = node->GetLastChild();
    if (!last) {
      if (node == this) return;
      node = node->FParent;
      continue;
    }
    if (last->Owner() && !last->FChildren.empty()) {
      node = last;
      continue;
    }
    node->UnlinkChild(last);
    last->Free();
  }
}

void TCustomOwnedNode::RaiseError(TOwnedTreeError error) const {
  switch (error) {
    case TOwnedTreeError::HierarchyRequest:
      throw EHierarchyRequestError(SHierarchyRequestError);
    case TOwnedTreeError::NoModificationAllowed:
      throw ENoModificationAllowedError(SNoModificationAllowedError);
    case TOwnedTreeError::NotAssigned:
      throw ENotAssignedError(SNotAssignedError);
    case TOwnedTreeError::NotFound:
      throw ENotFoundError(SNotFoundError);
    case TOwnedTreeError::WrongOwner:
      throw EWrongOwnerError(SWrongOwnerError);
  }
  throw EListError(SNotFoundError);  // unreachable: every kind is handled above
}

void TCustomOwnedNode::CheckAssigned(const TCustomOwnedNode* node) const {
  if (!node) RaiseError(TOwnedTreeError::NotAssigned);
}

void TCustomOwnedNode::CheckOwner(const TCustomOwnedNode* newChild) const {
  if (newChild->Owner() != Owner() && newChild->Owner() != this) RaiseError(TOwnedTreeError::WrongOwner);
}

void TCustomOwnedNode::CheckHierarchy(const TCustomOwnedNode* newChild) const {
  // A node without children is nobody's ancestor: building a deep tree leaf by leaf
  // need not climb to the root for every new node.
  if (newChild == this || (newChild->HasChildren() && HasAncestor(newChild)))
    RaiseError(TOwnedTreeError::HierarchyRequest);
}

void TCustomOwnedNode::CheckNotReadOnly() const {
  if (GetReadOnly()) RaiseError(TOwnedTreeError::NoModificationAllowed);
}

void TCustomOwnedNode::CheckParentNotReadOnly(const TCustomOwnedNode* newChild) const {
  if (newChild->FParent && newChild->FParent->GetReadOnly()) RaiseError(TOwnedTreeError::NoModificationAllowed);
}

void TCustomOwnedNode::CheckIsChild(const TCustomOwnedNode* node) const {
  if (!node || node->FParent != this) RaiseError(TOwnedTreeError::NotFound);
}

// The checks every addition shares, in their order.
void TCustomOwnedNode::CheckAddition(const TCustomOwnedNode* newChild) const {
  CheckAssigned(newChild);
  CheckOwner(newChild);
  CheckHierarchy(newChild);
  CheckNotReadOnly();
  CheckParentNotReadOnly(newChild);
}

TCustomOwnedNode* TCustomOwnedNode::AppendChild(TCustomOwnedNode* newChild) { return InsertChecked(newChild, nullptr); }

TCustomOwnedNode* TCustomOwnedNode::InsertBefore(TCustomOwnedNode* newChild, TCustomOwnedNode* refChild) {
  return InsertChecked(newChild, refChild);
}

TCustomOwnedNode* TCustomOwnedNode::InsertChecked(TCustomOwnedNode* newChild, TCustomOwnedNode* refChild) {
  CheckAddition(newChild);
  if (refChild) {
    if (newChild == refChild) RaiseError(TOwnedTreeError::HierarchyRequest);
    CheckIsChild(refChild);
  }
  DoBeforeAddition(newChild);
  LinkChild(newChild, refChild);
  DoAfterAddition(newChild);
  return newChild;
}

TCustomOwnedNode* TCustomOwnedNode::RemoveChild(TCustomOwnedNode* oldChild) {
  CheckAssigned(oldChild);
  CheckNotReadOnly();
  CheckIsChild(oldChild);
  DoBeforeRemoval(oldChild);
  UnlinkChild(oldChild);
  DoAfterRemoval(oldChild);
  return oldChild;
}

TCustomOwnedNode* TCustomOwnedNode::ReplaceChild(TCustomOwnedNode* newChild, TCustomOwnedNode* oldChild) {
  CheckAssigned(newChild);
  CheckAssigned(oldChild);
  CheckOwner(newChild);
  CheckHierarchy(newChild);
  CheckNotReadOnly();
  CheckParentNotReadOnly(newChild);
  CheckIsChild(oldChild);
  if (newChild == oldChild) return oldChild;
  if (newChild->FParent) {
    DoBeforeRemoval(newChild);
    newChild->FParent->UnlinkChild(newChild);
    DoAfterRemoval(newChild);
  }
  TCustomOwnedNode* reference = oldChild->FNextSibling;
  DoBeforeRemoval(oldChild);
  UnlinkChild(oldChild);
  DoAfterRemoval(oldChild);
  DoBeforeAddition(newChild);
  LinkChild(newChild, reference);
  DoAfterAddition(newChild);
  return oldChild;
}

void TCustomOwnedNode::Clear() {
  CheckNotReadOnly();
  DoBeforeClear();
  FreeChildren();
  DoAfterClear();
}

void TCustomOwnedNode::AdoptObject(TCustomOwnedNode* object) {
  if (!object) return;
  if (object->FParent) object->FParent->RemoveChild(object);
  for (TCustomOwnedNode* node = object; node; node = NextInSubtree(object, node)) TakeOwnership(node);
}

TCustomOwnedNode* NextInSubtree(const TCustomOwnedNode* root, const TCustomOwnedNode* node, bool descend) {
  if (descend && node->HasChildren()) return node->GetFirstChild();
  while (node != root && !node->GetNextSibling()) node = node->GetParent();
  return node == root ? nullptr : node->GetNextSibling();
}

bool TCustomOwnedNode::HasAncestor(const TCustomOwnedNode* node) const {
  for (const TCustomOwnedNode* parent = FParent; parent; parent = parent->FParent)
    if (parent == node) return true;
  return false;
}

int32_t TCustomOwnedNode::IndexOfChild(const TCustomOwnedNode* node) const {
  if (!node || node->FParent != this) return -1;
  // From the back: the common callers remove and free the last children first.
  const auto it = std::find(FChildren.rbegin(), FChildren.rend(), node);
  return static_cast<int32_t>(FChildren.rend() - it) - 1;
}

TCustomOwnedNode* TCustomOwnedNode::GetChild(int32_t index) const {
  if (index < 0 || index >= GetChildCount()) throw EListError(Format(SListIndexError, {index}));
  return FChildren[size_t(index)];
}

void TCustomOwnedNode::LinkChild(TCustomOwnedNode* newChild, TCustomOwnedNode* refChild) {
  if (newChild->FParent) newChild->FParent->UnlinkChild(newChild);
  if (refChild) {
    FChildren.insert(FChildren.begin() + IndexOfChild(refChild), newChild);
    newChild->FNextSibling = refChild;
    newChild->FPreviousSibling = refChild->FPreviousSibling;
    if (refChild->FPreviousSibling) refChild->FPreviousSibling->FNextSibling = newChild;
    refChild->FPreviousSibling = newChild;
  } else {
    if (!FChildren.empty()) {
      FChildren.back()->FNextSibling = newChild;
      newChild->FPreviousSibling = FChildren.back();
    }
    FChildren.push_back(newChild);
  }
  newChild->FParent = this;
}

void TCustomOwnedNode::UnlinkChild(TCustomOwnedNode* child) {
  const int32_t index = IndexOfChild(child);
  assert(index >= 0);
  FChildren.erase(FChildren.begin() + index);
  child->FParent = nullptr;
  if (child->FPreviousSibling) child->FPreviousSibling->FNextSibling = child->FNextSibling;
  if (child->FNextSibling) child->FNextSibling->FPreviousSibling = child->FPreviousSibling;
  child->FPreviousSibling = nullptr;
  child->FNextSibling = nullptr;
}
