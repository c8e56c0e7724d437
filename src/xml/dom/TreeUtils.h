// The two bases under every DOM node: an object that may own others and be owned
// (`TCustomOwnedObject`), and an owned object that is also a node of an ordered tree
// (`TCustomOwnedNode`).
//
// Ownership and tree position are separate relations. An owner holds what it owns and
// frees it; a parent only orders its children. In the DOM the document owns every node
// created for it, whatever its place in the tree, so a node removed from the tree stays
// alive until its owner frees it.
//
// An object created with an owner lives in the owner's list (`CreateOwnedObject`,
// `AddOwnedObject`) and is freed with `Free()` or by its owner; an object without owner
// is held by a `std::unique_ptr` of its creator. A node must not own one of its
// ancestors.
//
// Freeing a node frees its children; deep trees are freed, searched and adopted with
// loops over the parent and child links, never by recursion, so a deeply nested book
// cannot exhaust the stack.
//
// Both relations are intrusive doubly linked lists: an owned object links to its
// neighbours in its owner's list, a node to its parent, first and last child and
// siblings. Adding, moving and removing are constant time anywhere in a list, and no
// node needs memory beyond its own object. Positions (GetOwnedObject, GetChild,
// IndexOfChild) are counted along the links.
#pragma once

#include <memory>

#include "platform/base/Exception.h"
#include "platform/base/Object.h"

// The refusals of the tree, all list errors.
class EHierarchyRequestError : public EListError {
public:
  using EListError::EListError;
};
class ENoModificationAllowedError : public EListError {
public:
  using EListError::EListError;
};
class ENotAssignedError : public EListError {
public:
  using EListError::EListError;
};
class ENotFoundError : public EListError {
public:
  using EListError::EListError;
};
class EWrongOwnerError : public EListError {
public:
  using EListError::EListError;
};

// Which refusal a check reports; `TCustomOwnedNode::RaiseError` turns it into an
// exception, and a subclass may raise its own family instead.
enum class TOwnedTreeError { HierarchyRequest, NoModificationAllowed, NotAssigned, NotFound, WrongOwner };

inline constexpr char SHierarchyRequestError[] = "Hierarchy Request Error";
inline constexpr char SNoModificationAllowedError[] = "No Modification Allowed Error";
inline constexpr char SNotAssignedError[] = "Parameter Node Not Assigned Error";
inline constexpr char SNotFoundError[] = "Node Not Found Error.";
inline constexpr char SWrongOwnerError[] = "Wrong Owner Error";

class TCustomOwnedObject : public TPersistent {
public:
  TCustomOwnedObject() = default;
  TCustomOwnedObject(const TCustomOwnedObject&) = delete;
  TCustomOwnedObject& operator=(const TCustomOwnedObject&) = delete;
  // Frees every owned object. The object has left its owner by now (Free() and the
  // owner's freeing take it out first).
  ~TCustomOwnedObject() override;

  TPersistent* GetOwner() const override { return FOwner; }
  TCustomOwnedObject* Owner() const { return FOwner; }

  // Takes an ownerless object into this object's owned objects (after the hook
  // DoBeforeAddOwnedObject) and returns it.
  template <typename T>
  T* AddOwnedObject(std::unique_ptr<T> object) {
    T* raw = object.get();
    AddOwned(std::unique_ptr<TCustomOwnedObject>(std::move(object)));
    return raw;
  }
  // Hands an owned object back to the caller, unfreed and without owner.
  std::unique_ptr<TCustomOwnedObject> RemoveOwnedObject(TCustomOwnedObject* object);
  int32_t OwnedObjectCount() const { return FOwnedCount; }
  // Raises EListError "List index out of bounds (%d)" for a bad index. Linear in index.
  TCustomOwnedObject* GetOwnedObject(int32_t index) const;

  // Moves an object from its current owner to this one. Nothing happens for none, for
  // this object itself, or for an object this one owns already. An ownerless object is
  // held by its creator and cannot be taken over: the result is false.
  virtual bool TakeOwnership(TCustomOwnedObject* object);
  // Frees every owned object.
  virtual void Clear() { FreeOwnedObjects(); }
  // Frees this object through its owner. An ownerless object is freed by its holder.
  void Free();

protected:
  virtual void DoBeforeAddOwnedObject(TCustomOwnedObject* /*object*/) {}
  // Frees the owned objects from the last to the first. Freeing one may free others of
  // the list (a node frees its children); each is freed once.
  void FreeOwnedObjects();

private:
  void AddOwned(std::unique_ptr<TCustomOwnedObject> object);
  // Takes an owned object out of the list; it keeps living, without owner.
  void UnlinkOwned(TCustomOwnedObject* object);

  TCustomOwnedObject* FOwner = nullptr;
  // What this object owns, in the order it was taken.
  TCustomOwnedObject* FFirstOwned = nullptr;
  TCustomOwnedObject* FLastOwned = nullptr;
  // This object's neighbours in its owner's list.
  TCustomOwnedObject* FPreviousOwned = nullptr;
  TCustomOwnedObject* FNextOwned = nullptr;
  int32_t FOwnedCount = 0;
};

class TCustomOwnedNode;

// The node after `node` in document order within the subtree of `root` (into node's
// children only when `descend`); nullptr after the last. Walks the links, so whole
// subtrees are visited without recursion.
TCustomOwnedNode* NextInSubtree(const TCustomOwnedNode* root, const TCustomOwnedNode* node, bool descend = true);

// Makes an object of class T owned by `owner` and returns it.
template <typename T, typename... Args>
T* CreateOwnedObject(TCustomOwnedObject& owner, Args&&... args) {
  return owner.AddOwnedObject(std::make_unique<T>(std::forward<Args>(args)...));
}

class TCustomOwnedNode : public TCustomOwnedObject {
public:
  TCustomOwnedNode() = default;
  // Leaves the parent (no hooks), then frees the children.
  ~TCustomOwnedNode() override;

  // Child editing: checks (raised through RaiseError before anything changes), then the
  // hooks around the change. Each returns the node it was given (ReplaceChild: oldChild).
  // Appending or inserting a node that has a parent moves it: it leaves the old parent
  // without removal hooks. Removed and replaced children are not freed.
  virtual TCustomOwnedNode* AppendChild(TCustomOwnedNode* newChild);
  // refChild none appends.
  virtual TCustomOwnedNode* InsertBefore(TCustomOwnedNode* newChild, TCustomOwnedNode* refChild);
  virtual TCustomOwnedNode* RemoveChild(TCustomOwnedNode* oldChild);
  virtual TCustomOwnedNode* ReplaceChild(TCustomOwnedNode* newChild, TCustomOwnedNode* oldChild);
  // Frees the owned objects and the children (refused on a read-only node).
  void Clear() override;

  // Detaches the object from its parent (RemoveChild, with its checks and hooks) and
  // takes it and every descendant into this node's owned objects. Ownerless ones stay
  // with their holder.
  virtual void AdoptObject(TCustomOwnedNode* object);

  virtual int32_t GetChildCount() const { return FChildCount; }
  virtual TCustomOwnedNode* GetFirstChild() const { return FFirstChild; }
  virtual TCustomOwnedNode* GetLastChild() const { return FLastChild; }
  virtual TCustomOwnedNode* GetNextSibling() const { return FNextSibling; }
  virtual TCustomOwnedNode* GetPreviousSibling() const { return FPreviousSibling; }
  virtual TCustomOwnedNode* GetParent() const { return FParent; }
  virtual bool GetReadOnly() const { return FReadOnly; }
  virtual void SetReadOnly(bool value) { FReadOnly = value; }
  // True when `node` is the parent, the parent's parent, and so on.
  virtual bool HasAncestor(const TCustomOwnedNode* node) const;
  virtual bool HasChildren() const { return FFirstChild != nullptr; }
  // The child's position, -1 when it is no child of this node. Linear in the position.
  virtual int32_t IndexOfChild(const TCustomOwnedNode* node) const;
  // Raises EListError "List index out of bounds (%d)" for a bad index. Linear in index.
  TCustomOwnedNode* GetChild(int32_t index) const;

  // Raises the exception of a refused operation: by default the classes above with
  // their messages.
  [[noreturn]] virtual void RaiseError(TOwnedTreeError error) const;

protected:
  // Hooks around every change of the children; empty here.
  virtual void DoBeforeAddition(TCustomOwnedNode* /*node*/) {}
  virtual void DoAfterAddition(TCustomOwnedNode* /*node*/) {}
  virtual void DoBeforeRemoval(TCustomOwnedNode* /*node*/) {}
  virtual void DoAfterRemoval(TCustomOwnedNode* /*node*/) {}
  virtual void DoBeforeClear() {}
  virtual void DoAfterClear() {}

  // Links a child before refChild (none: at the end), first taking it from its present
  // parent; no hooks.
  void LinkChild(TCustomOwnedNode* newChild, TCustomOwnedNode* refChild);
  // Takes a child out of the list and clears its parent and sibling links; no hooks.
  void UnlinkChild(TCustomOwnedNode* child);
  // Frees the owned objects, then the whole subtree from the last leaf back.
  void FreeChildren();

private:
  // AppendChild and InsertBefore without virtual dispatch, so that an override of one
  // never runs inside the other.
  TCustomOwnedNode* InsertChecked(TCustomOwnedNode* newChild, TCustomOwnedNode* refChild);
  void CheckAssigned(const TCustomOwnedNode* node) const;
  void CheckOwner(const TCustomOwnedNode* newChild) const;
  void CheckHierarchy(const TCustomOwnedNode* newChild) const;
  void CheckNotReadOnly() const;
  void CheckParentNotReadOnly(const TCustomOwnedNode* newChild) const;
  void CheckIsChild(const TCustomOwnedNode* node) const;
  void CheckAddition(const TCustomOwnedNode* newChild) const;

  TCustomOwnedNode* FParent = nullptr;
  TCustomOwnedNode* FFirstChild = nullptr;
  TCustomOwnedNode* FLastChild = nullptr;
  TCustomOwnedNode* FPreviousSibling = nullptr;
  TCustomOwnedNode* FNextSibling = nullptr;
  int32_t FChildCount = 0;
  bool FReadOnly = false;
};
