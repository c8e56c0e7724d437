#include "platform/gui/ActnList.h"

#include <algorithm>

#include "platform/gui/StdCtrls.h"

TBasicAction::~TBasicAction() {
  // Each client drops its link, which removes it from FClients.
  while (!FClients.empty()) FClients.back()->Unlink();
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

void TCustomAction::SetShortCut(TShortCut value) {
  if (value == FShortCut) return;
  for (TActionLink* link : std::vector<TActionLink*>(FClients)) link->SetShortCut(value);
  FShortCut = value;
}

TPropInfo TCustomAction::ShortCutProp() {
  TPropInfo info = Published::Make("ShortCut", tkInteger, &TCustomAction::ShortCut, &TCustomAction::SetShortCut);
  info.Default = scNone;
  return info;
}

const TClassProps& TCustomAction::Props() {
  static const TClassProps props(
      "TCustomAction", nullptr,
      {
          Published::WideText<TCustomAction>("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption),
          Published::Boolean<TCustomAction>("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked, false),
          Published::Boolean<TCustomAction>("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled, true),
          Published::WideText<TCustomAction>("Hint", &TCustomAction::Hint, &TCustomAction::SetHint),
          ShortCutProp(),
          Published::Boolean<TCustomAction>("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible, true),
          Published::Event("OnExecute"),
          Published::Event("OnUpdate"),
      });
  return props;
}

TActionLink::TActionLink(TBasicAction& action) : FAction(action) { FAction.FClients.push_back(this); }

TActionLink::~TActionLink() {
  auto& clients = FAction.FClients;
  clients.erase(std::remove(clients.begin(), clients.end(), this), clients.end());
}

bool TActionLink::IsOnExecuteLinked() const { return static_cast<bool>(FAction.OnExecute); }

void TControlActionLink::Unlink() { FClient.SetAction(nullptr); }

bool TControlActionLink::IsCaptionLinked() const {
  const TCustomAction* action = CustomAction();
  return action && FClient.Caption() == action->Caption();
}

bool TControlActionLink::IsHintLinked() const {
  const TCustomAction* action = CustomAction();
  return action && FClient.Hint() == action->Hint();
}

void TControlActionLink::SetCaption(const WideString& value) {
  if (IsCaptionLinked()) FClient.SetCaption(value);
}

void TControlActionLink::SetHint(const WideString& value) {
  if (IsHintLinked()) FClient.SetHint(value);
}

void TControlActionLink::SetEnabled(bool value) { FClient.SetEnabled(value); }
void TControlActionLink::SetVisible(bool value) { FClient.SetVisible(value); }

void TButtonActionLink::SetChecked(bool value) {
  if (auto* checkable = dynamic_cast<TCheckableButton*>(&Client())) checkable->SetChecked(value);
}
