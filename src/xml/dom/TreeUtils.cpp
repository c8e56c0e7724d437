#include "xml/dom/TreeUtils.h"

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
  TCustomOwnedObject* raw = object.release();
  raw->FOwner = this;
  raw->FPreviousOwned = FLastOwned;
  raw->FNextOwned = nullptr;
  (FLastOwned ? FLastOwned->FNextOwned : FFirstOwned) = raw;
  FLastOwned = raw;
  ++FOwnedCount;
}

void TCustomOwnedObject::UnlinkOwned(TCustomOwnedObject* object) {
  assert(object && object->FOwner == this);
  (object->FPreviousOwned ? object->FPreviousOwned->FNextOwned : FFirstOwned) = object->FNextOwned;
  (object->FNextOwned ? object->FNextOwned->FPreviousOwned : FLastOwned) = object->FPreviousOwned;
  object->FPreviousOwned = nullptr;
  object->FNextOwned = nullptr;
  object->FOwner = nullptr;
  --FOwnedCount;
}

std::unique_ptr<TCustomOwnedObject> TCustomOwnedObject::RemoveOwnedObject(TCustomOwnedObject* object) {
  UnlinkOwned(object);
  return std::unique_ptr<TCustomOwnedObject>(object);
}

TCustomOwnedObject* TCustomOwnedObject::GetOwnedObject(int32_t index) const {
  if (index < 0 || index >= OwnedObjectCount()) throw EListError(Format(SListIndexError, {index}));
  TCustomOwnedObject* object = FFirstOwned;
  while (index-- > 0) object = object->FNextOwned;
  return object;
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
  while (TCustomOwnedObject* last = FLastOwned) {
    UnlinkOwned(last);
    std::unique_ptr<TCustomOwnedObject> freed(last);
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
    if (last->Owner() && last->FFirstChild) {
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
  int32_t index = 0;
  for (const TCustomOwnedNode* child = node->FPreviousSibling; child; child = child->FPreviousSibling) ++index;
  return index;
}

TCustomOwnedNode* TCustomOwnedNode::GetChild(int32_t index) const {
  if (index < 0 || index >= GetChildCount()) throw EListError(Format(SListIndexError, {index}));
  TCustomOwnedNode* child = FFirstChild;
  while (index-- > 0) child = child->FNextSibling;
  return child;
}

void TCustomOwnedNode::LinkChild(TCustomOwnedNode* newChild, TCustomOwnedNode* refChild) {
  if (newChild->FParent) newChild->FParent->UnlinkChild(newChild);
  TCustomOwnedNode* previous = refChild ? refChild->FPreviousSibling : FLastChild;
  newChild->FPreviousSibling = previous;
  newChild->FNextSibling = refChild;
  (previous ? previous->FNextSibling : FFirstChild) = newChild;
  (refChild ? refChild->FPreviousSibling : FLastChild) = newChild;
  newChild->FParent = this;
  ++FChildCount;
}

void TCustomOwnedNode::UnlinkChild(TCustomOwnedNode* child) {
  assert(child->FParent == this);
  (child->FPreviousSibling ? child->FPreviousSibling->FNextSibling : FFirstChild) = child->FNextSibling;
  (child->FNextSibling ? child->FNextSibling->FPreviousSibling : FLastChild) = child->FPreviousSibling;
  child->FParent = nullptr;
  child->FPreviousSibling = nullptr;
  child->FNextSibling = nullptr;
  --FChildCount;
}
