#include "platform/gui/Controls.h"

#include <algorithm>

#include "platform/base/CodePages.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Menus.h"

WideString GetShortHint(const WideString& hint) {
  const size_t bar = hint.find(u'|');
  return bar == WideString::npos ? hint : hint.substr(0, bar);
}

WideString GetLongHint(const WideString& hint) {
  const size_t bar = hint.find(u'|');
  return bar == WideString::npos ? hint : hint.substr(bar + 1);
}

TControl::TControl(TComponent* owner) : TComponent(owner) {}

TControl::~TControl() {
  // The widget goes before the parent forgets the control, so that a parent's widget
  // never deletes a child widget behind its control's back.
  DestroyHandle();
  FActionLink.reset();
  SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent == FParent) return;
  if (FParent) {
    DestroyHandle();
    auto& siblings = FParent->FControls;
    siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
  }
  FParent = parent;
  if (FParent) {
    FParent->FControls.push_back(this);
    if (FParent->HandleAllocated()) HandleNeeded();
  }
}

void TControl::SetText(const WideString& value) {
  if (value == FText) return;
  FText = value;
  if (HandleAllocated()) ShowText();
}

WideString TControl::HintOfChain() const {
  for (const TControl* c = this; c; c = c->FParent)
    if (!c->FHint.empty()) return c->FHint;
  return {};
}

TBasicAction* TControl::Action() const { return FActionLink ? &FActionLink->Action() : nullptr; }

void TControl::SetAction(TBasicAction* action) {
  if (action == Action()) return;
  FActionLink.reset();
  if (!action) return;
  FActionLink = CreateActionLink(*action);
  ActionChange(*action, (action->ComponentState() & csLoading) != 0);
}

std::unique_ptr<TActionLink> TControl::CreateActionLink(TBasicAction& action) {
  return std::make_unique<TControlActionLink>(*this, action);
}

std::unique_ptr<TActionLink> TWinControl::CreateActionLink(TBasicAction& action) {
  return std::make_unique<TWinControlActionLink>(*this, action);
}

void TControl::ActionChange(TBasicAction& sender, bool checkDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(&sender);
  if (!action) return;
  const WideString name = AnsiToWide(Name());
  if (!checkDefaults || Caption().empty() || Caption() == name) SetCaption(action->Caption());
  if (!checkDefaults || Hint().empty()) SetHint(action->Hint());
  if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
  if (!checkDefaults || Visible()) SetVisible(action->Visible());
}

void TControl::InitiateAction() {
  if (FActionLink) FActionLink->Update();
}

void TControl::Click() {
  if (OnClick)
    OnClick(this);
  else if (FActionLink)
    FActionLink->Execute();
}

void TControl::RecreateWnd() {
  if (!HandleAllocated()) return;
  DestroyHandle();
  HandleNeeded();
}

void TControl::SetPopupMenu(TPopupMenu* menu) {
  FPopupMenu = menu;
  if (menu) menu->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
  if (operation == opRemove && FActionLink && component == &FActionLink->Action()) FActionLink.reset();
}

bool TControl::IsCaptionStored() const { return !FActionLink || !FActionLink->IsCaptionLinked(); }
bool TControl::IsHintStored() const { return !FActionLink || !FActionLink->IsHintLinked(); }

TPropInfo TControl::TextProp(const char* name) {
  TPropInfo info = Published::WideText<TControl>(name, &TControl::GetText, &TControl::SetText);
  info.Stored = [](const TPersistent& o) { return static_cast<const TControl&>(o).IsCaptionStored(); };
  return info;
}

const TClassProps& TControl::Props() {
  static const TClassProps props("TControl", nullptr, [] {
    std::vector<TPropInfo> list{
        Published::Integer<TControl>("Left", &TControl::Left, &TControl::SetLeft),
        Published::Integer<TControl>("Top", &TControl::Top, &TControl::SetTop),
        Published::Integer<TControl>("Width", &TControl::Width, &TControl::SetWidth),
        Published::Integer<TControl>("Height", &TControl::Height, &TControl::SetHeight),
        Published::Boolean<TControl>("Enabled", &TControl::Enabled, &TControl::SetEnabled, true),
        Published::WideText<TControl>("Hint", &TControl::Hint, &TControl::SetHint),
        Published::Boolean<TControl>("ShowHint", &TControl::ShowHint, &TControl::SetShowHint, true),
        Published::Boolean<TControl>("Visible", &TControl::Visible, &TControl::SetVisible, true),
        Published::Event("OnClick"),
    };
    list[5].Stored = [](const TPersistent& o) { return static_cast<const TControl&>(o).IsHintStored(); };
    return list;
  }());
  return props;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl() {
  DestroyHandle();
  // Children that outlive their parent (owned elsewhere) are left without one.
  while (!FControls.empty()) FControls.back()->SetParent(nullptr);
}

bool TWinControl::CanFocus() const {
  for (const TControl* c = this; c; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

const TClassProps& TWinControl::Props() {
  static const TClassProps props("TWinControl", &TControl::Props(), {});
  return props;
}
