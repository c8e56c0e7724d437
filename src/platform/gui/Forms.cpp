#include "platform/gui/Forms.h"

#include <algorithm>

#include "platform/gui/Menus.h"

TApplication* Application = nullptr;

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  if (Application) Application->FForms.push_back(this);
}

TCustomForm::~TCustomForm() {
  DestroyHandle();
  if (!Application) return;
  auto& forms = Application->FForms;
  forms.erase(std::remove(forms.begin(), forms.end(), this), forms.end());
  if (Application->MainForm() == this) Application->SetMainForm(nullptr);
}

void TCustomForm::SetModalResult(TModalResult value) {
  FModalResult = value;
  if (!FModal && value != mrNone) Hide();
}

namespace {

template <typename F>
void ForEachControl(TWinControl& parent, const F& f) {
  for (int32_t i = 0; i < parent.ControlCount(); ++i) {
    TControl* control = parent.Controls(i);
    f(*control);
    if (auto* inner = dynamic_cast<TWinControl*>(control)) ForEachControl(*inner, f);
  }
}

}  // namespace

void TCustomForm::UpdateActions() {
  InitiateAction();
  ForEachControl(*this, [](TControl& control) { control.InitiateAction(); });
}

namespace {

// The first button of the form that the test picks, or nullptr.
TButton* FindButton(const TCustomForm& form, bool (TButton::*test)() const) {
  TButton* found = nullptr;
  ForEachControl(const_cast<TCustomForm&>(form), [&](TControl& control) {
    auto* button = dynamic_cast<TButton*>(&control);
    if (!found && button && (button->*test)()) found = button;
  });
  return found;
}

}  // namespace

TButton* TCustomForm::DefaultButton() const { return FindButton(*this, &TButton::Default); }
TButton* TCustomForm::CancelButton() const { return FindButton(*this, &TButton::Cancel); }

int32_t TCustomForm::ClientTop() const { return FMenu ? FMenu->BarHeight() : 0; }

bool TCustomForm::IsShortCut(uint16_t key, TShiftState shift) {
  if (key == 0) return false;
  if (FMenu && FMenu->IsShortCut(key, shift)) return true;
  TControl* focused = nullptr;
  ForEachControl(*this, [&focused](TControl& control) {
    auto* windowed = dynamic_cast<TWinControl*>(&control);
    if (!focused && windowed && windowed->Focused()) focused = windowed;
  });
  for (TControl* c = focused ? focused : FActiveControl; c; c = c->Parent())
    if (c->PopupMenu() && c->PopupMenu()->IsShortCut(key, shift)) return true;
  return false;
}

bool TCustomForm::HandleKey(uint16_t key, TShiftState shift) {
  if (IsShortCut(key, shift)) return true;
  if (FKeyPreview && OnKeyDown) {
    OnKeyDown(this, key, shift);
    if (key == 0) return true;
  }
  TButton* button = key == VK_RETURN ? DefaultButton() : key == VK_ESCAPE ? CancelButton() : nullptr;
  if (button && button->Visible() && button->Enabled()) {
    button->Click();
    return true;
  }
  if (key == VK_ESCAPE && FModal) {
    SetModalResult(mrCancel);
    return true;
  }
  return false;
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == FActiveControl) FActiveControl = nullptr;
  if (operation == opRemove && component == FMenu) SetMenu(nullptr);
}

const TClassProps& TCustomForm::Props() {
  static const TClassProps props(
      "TCustomForm", &TWinControl::Props(),
      {TextProp("Caption"),
       Published::Boolean<TCustomForm>("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview, false),
       Published::Event("OnKeyDown")});
  return props;
}

void TApplication::SetHint(const WideString& value) {
  if (value == FHint) return;
  FHint = value;
  if (OnHint) OnHint(this);
}

void TApplication::Guard(const std::function<void()>& f) noexcept {
  try {
    f();
  } catch (const std::exception& e) {
    HandleException(e);
  }
}

void Guarded(const std::function<void()>& f) {
  if (Application)
    Application->Guard(f);
  else
    f();
}

void TApplication::HandleException(const std::exception& e) noexcept {
  try {
    if (OnException)
      OnException(e);
    else if (ShowException)
      ShowException(e);
  } catch (...) {
    // A failing display must not take the event loop down with it.
  }
}

void TApplication::UpdateActions() {
  for (TCustomForm* form : std::vector<TCustomForm*>(FForms))
    if (form->Visible()) form->UpdateActions();
}
