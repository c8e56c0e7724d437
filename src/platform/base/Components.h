// Components: objects with an owner that frees them, a name unique among the owner's
// components, and notifications when components come and go.
//
// A component created with an owner is inserted into the owner's list and freed by the
// owner's destruction (CreateOwned makes one without a naked new). Destroying a
// component, whoever does it, first tells every component that asked for a free
// notification (Notification with opRemove), then frees the components it owns, then
// leaves its owner, whose Notification (and through it every component the owner owns)
// hears opRemove. A component's Notification forwards to the components it owns.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Types.h"

enum TOperation { opInsert, opRemove };

// ComponentState bits.
constexpr uint32_t csLoading = 0x0001;
constexpr uint32_t csReading = 0x0002;
constexpr uint32_t csWriting = 0x0004;
constexpr uint32_t csDestroying = 0x0008;
constexpr uint32_t csDesigning = 0x0010;
constexpr uint32_t csAncestor = 0x0020;
constexpr uint32_t csUpdating = 0x0040;
constexpr uint32_t csFixups = 0x0080;
constexpr uint32_t csFreeNotification = 0x0100;

class TComponent : public TPersistent {
public:
  explicit TComponent(TComponent* owner);
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  TPersistent* GetOwner() const override;
  const AnsiString& Name() const { return FName; }
  // Raises EComponentError "'%s' is not a valid component name" for a name that is not
  // an identifier (empty is allowed) and "A component named %s already exists" when
  // another component of the owner has it (compared without regard to ASCII case).
  virtual void SetName(const AnsiString& name);
  int32_t Tag() const { return FTag; }
  void SetTag(int32_t tag) { FTag = tag; }
  uint32_t ComponentState() const { return FComponentState; }
  // For component streaming and designers: csLoading while properties are read, ...
  void SetComponentState(uint32_t state) { FComponentState = state; }

  int32_t ComponentCount() const { return static_cast<int32_t>(FComponents.size()); }
  // Raises EListError "List index out of bounds (%d)" outside 0..ComponentCount-1.
  TComponent* Components(int32_t index) const;
  // The position in the owner's list, -1 without owner.
  int32_t ComponentIndex() const;
  // The owned component of that name (ASCII case ignored), or nullptr.
  TComponent* FindComponent(const AnsiString& name) const;

  // Takes component over from its current owner (if any); raises as SetName on a name
  // clash, leaving everything as it was.
  void InsertComponent(TComponent* component);
  // Gives up ownership: the caller (or a new owner) must free it from now on.
  void RemoveComponent(TComponent* component);
  // Asks to hear Notification(component, opRemove) when component is destroyed (and
  // the other way round). Components of the same owner hear it through the owner anyway.
  void FreeNotification(TComponent* component);
  void RemoveFreeNotification(TComponent* component);
  // Frees every owned component, the last first.
  void DestroyComponents();

  // Called by whoever finished reading the component's properties (component
  // streaming); the base ends the loading state.
  virtual void Loaded();

protected:
  virtual void Notification(TComponent* component, TOperation operation);
  virtual void ValidateRename(TComponent* component, const AnsiString& curName, const AnsiString& newName);
  // Marks the component as going; the destructor calls it first.
  void Destroying() { FComponentState |= csDestroying; }

private:
  void Insert(TComponent* component);
  void Remove(TComponent* component);
  void RemoveNotification(TComponent* component);

  TComponent* FOwner = nullptr;
  AnsiString FName;
  int32_t FTag = 0;
  uint32_t FComponentState = 0;
  // Owned: freed by DestroyComponents.
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

// Points `reference` at `component` (or none), watching the new one for its destruction
// (watcher's Notification) instead of the old one.
template <typename T>
void SetWatchedReference(TComponent& watcher, T*& reference, T* component) {
  if (reference) reference->RemoveFreeNotification(&watcher);
  reference = component;
  if (reference) reference->FreeNotification(&watcher);
}

// Creates a component that owner owns and frees; returns it.
template <typename T, typename... Args>
T* CreateOwned(TComponent& owner, Args&&... args) {
  // The constructor inserts the component into owner, which from then on frees it.
  return std::make_unique<T>(&owner, std::forward<Args>(args)...).release();
}
