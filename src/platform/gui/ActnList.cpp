#include "platform/gui/ActnList.h"

#include <algorithm>

#include "platform/gui/StdCtrls.h"

TBasicAction::~TBasicAction() {
  // Each client drops its link, which removes it from FClients.
  while (!FClients.empty()) FClients.back()->Client().SetAction(nullptr);
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TCustomActionList* list) {
  if (list == FActionList) return;
  if (FActionList) {
    auto& actions = FActionList->FActions;
    actions.erase(std::remove(actions.begin(), actions.end(), this), actions.end());
  }
  FActionList = list;
  if (FActionList) FActionList->FActions.push_back(this);
}

bool TContainedAction::Execute() {
  bool handled = false;
  if (FActionList && FActionList->OnExecute) FActionList->OnExecute(this, handled);
  return handled || TBasicAction::Execute();
}

bool TContainedAction::Update() {
  bool handled = false;
  if (FActionList && FActionList->OnUpdate) FActionList->OnUpdate(this, handled);
  return handled || TBasicAction::Update();
}

TCustomActionList::~TCustomActionList() {
  while (!FActions.empty()) FActions.back()->SetActionList(nullptr);
}

// The links hear the new value before the action stores it, so that each can still see
// whether its client shows the old one.
template <typename T>
void TCustomAction::Change(T& field, const T& value,
                           void (TActionLink::*tell)(std::conditional_t<std::is_same_v<T, bool>, bool, const T&>)) {
  if (value == field) return;
  for (TActionLink* link : std::vector<TActionLink*>(FClients)) (link->*tell)(value);
  field = value;
}

void TCustomAction::SetCaption(const WideString& value) { Change(FCaption, value, &TActionLink::SetCaption); }
void TCustomAction::SetHint(const WideString& value) { Change(FHint, value, &TActionLink::SetHint); }
void TCustomAction::SetEnabled(bool value) { Change(FEnabled, value, &TActionLink::SetEnabled); }
void TCustomAction::SetVisible(bool value) { Change(FVisible, value, &TActionLink::SetVisible); }
void TCustomAction::SetChecked(bool value) { Change(FChecked, value, &TActionLink::SetChecked); }

const TClassProps& TCustomAction::Props() {
  static const TClassProps props(
      "TCustomAction", nullptr,
      {
          Published::WideText<TCustomAction>("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption),
          Published::Boolean<TCustomAction>("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked, false),
          Published::Boolean<TCustomAction>("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled, true),
          Published::WideText<TCustomAction>("Hint", &TCustomAction::Hint, &TCustomAction::SetHint),
          Published::Boolean<TCustomAction>("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible, true),
          Published::Event("OnExecute"),
          Published::Event("OnUpdate"),
      });
  return props;
}

TActionLink::TActionLink(TControl& client, TBasicAction& action) : FClient(client), FAction(action) {
  FAction.FClients.push_back(this);
}

TActionLink::~TActionLink() {
  auto& clients = FAction.FClients;
  clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
}

bool TActionLink::IsCaptionLinked() const {
  const auto* action = dynamic_cast<const TCustomAction*>(&FAction);
  return action && FClient.Caption() == action->Caption();
}

bool TActionLink::IsHintLinked() const {
  const auto* action = dynamic_cast<const TCustomAction*>(&FAction);
  return action && FClient.Hint() == action->Hint();
}

void TActionLink::SetCaption(const WideString& value) {
  if (IsCaptionLinked()) FClient.SetCaption(value);
}

void TActionLink::SetHint(const WideString& value) {
  if (IsHintLinked()) FClient.SetHint(value);
}

void TActionLink::SetEnabled(bool value) { FClient.SetEnabled(value); }
void TActionLink::SetVisible(bool value) { FClient.SetVisible(value); }

void TActionLink::SetChecked(bool value) {
  if (auto* checkable = dynamic_cast<TCheckableButton*>(&FClient)) checkable->SetChecked(value);
}
