#include "platform/base/Components.h"

#include <algorithm>

#include "platform/base/Exception.h"
#include "platform/base/Format.h"
#include "platform/base/Lists.h"
#include "platform/base/TextUtils.h"

namespace {

bool IsIdentifier(const AnsiString& name) {
  auto letter = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
  if (name.empty() || !letter(name[0])) return false;
  return std::all_of(name.begin() + 1, name.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
  if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  while (!FFreeNotifies.empty()) {
    TComponent* listener = FFreeNotifies.back();
    listener->Notification(this, opRemove);
    // The base Notification has unlinked the two; an override may not have. A listener
    // that unlinked may also have freed itself, so it is touched only while still linked.
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), listener) != FFreeNotifies.end())
      RemoveFreeNotification(listener);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

TPersistent* TComponent::GetOwner() const { return FOwner; }

void TComponent::SetName(const AnsiString& name) {
  if (FName == name) return;
  if (!name.empty() && !IsIdentifier(name)) throw EComponentError(Format(SInvalidName, {name}));
  if (FOwner)
    FOwner->ValidateRename(this, FName, name);
  else
    ValidateRename(nullptr, FName, name);
  FName = name;
}

TComponent* TComponent::Components(int32_t index) const {
  CheckListIndex(index, ComponentCount());
  return FComponents[static_cast<size_t>(index)];
}

int32_t TComponent::ComponentIndex() const {
  if (!FOwner) return -1;
  const auto& siblings = FOwner->FComponents;
  return static_cast<int32_t>(std::find(siblings.begin(), siblings.end(), this) - siblings.begin());
}

TComponent* TComponent::FindComponent(const AnsiString& name) const {
  if (name.empty()) return nullptr;
  for (TComponent* component : FComponents)
    if (SameText(component->FName, name)) return component;
  return nullptr;
}

void TComponent::ValidateRename(TComponent* component, const AnsiString& curName, const AnsiString& newName) {
  if (component && !SameText(curName, newName) && FindComponent(newName))
    throw EComponentError(Format(SDuplicateName, {newName}));
}

void TComponent::InsertComponent(TComponent* component) {
  ValidateRename(component, AnsiString(), component->FName);
  if (component->FOwner) component->FOwner->RemoveComponent(component);
  Insert(component);
  Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
  Notification(component, opRemove);
  Remove(component);
}

void TComponent::Insert(TComponent* component) {
  FComponents.push_back(component);
  component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
  std::erase(FComponents, component);
  component->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  while (!FComponents.empty()) {
    TComponent* component = FComponents.back();
    // Only a component that others listen to makes the owner tell its components.
    if (component->FComponentState & csFreeNotification)
      RemoveComponent(component);
    else
      Remove(component);
    delete component;
  }
}

void TComponent::FreeNotification(TComponent* component) {
  if (!component || component == this) return;
  if (!FOwner || component->FOwner != FOwner) {
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end()) {
      FFreeNotifies.push_back(component);
      component->FreeNotification(this);
    }
  }
  FComponentState |= csFreeNotification;
}

void TComponent::RemoveFreeNotification(TComponent* component) {
  RemoveNotification(component);
  component->RemoveNotification(this);
}

void TComponent::RemoveNotification(TComponent* component) { std::erase(FFreeNotifies, component); }

void TComponent::Loaded() { FComponentState &= ~csLoading; }

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  // Children may leave the list while hearing of it, so walk from the end by index.
  for (auto i = static_cast<int32_t>(FComponents.size()) - 1; i >= 0; --i)
    if (i < static_cast<int32_t>(FComponents.size()))
      FComponents[static_cast<size_t>(i)]->Notification(component, operation);
}
