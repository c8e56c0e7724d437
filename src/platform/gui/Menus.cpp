#include "platform/gui/Menus.h"

#include <algorithm>

#include "platform/base/CodePages.h"
#include "platform/base/UnicodeCase.h"

namespace {

// The names of the keys that are not letters or digits.
struct TKeyName {
  uint16_t Key;
  const char16_t* Name;
};
constexpr TKeyName KeyNames[] = {
    {VK_BACK, u"BkSp"},  {VK_TAB, u"Tab"},     {VK_RETURN, u"Enter"}, {VK_ESCAPE, u"Esc"}, {VK_SPACE, u"Space"},
    {VK_PRIOR, u"PgUp"}, {VK_NEXT, u"PgDn"},   {VK_END, u"End"},      {VK_HOME, u"Home"},  {VK_LEFT, u"Left"},
    {VK_UP, u"Up"},      {VK_RIGHT, u"Right"}, {VK_DOWN, u"Down"},    {VK_INSERT, u"Ins"}, {VK_DELETE, u"Del"},
};

WideString KeyName(uint16_t key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return WideString(1, static_cast<WideChar>(key));
  if (key >= VK_NUMPAD0 && key < VK_NUMPAD0 + 10)
    return u"Num " + WideString(1, static_cast<WideChar>(u'0' + key - VK_NUMPAD0));
  if (key >= VK_F1 && key <= VK_F24) {
    const int number = key - VK_F1 + 1;
    WideString name = u"F";
    if (number >= 10) name += static_cast<WideChar>(u'0' + number / 10);
    return name + static_cast<WideChar>(u'0' + number % 10);
  }
  for (const TKeyName& entry : KeyNames)
    if (entry.Key == key) return entry.Name;
  return {};
}

WideString Folded(const WideString& text) {
  WideString folded = text;
  for (WideChar& c : folded) c = SimpleCaseFold(c);
  return folded;
}

}  // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
  if (key > 0xFF) return scNone;
  TShortCut result = key;
  if (shift & ssShift) result |= scShift;
  if (shift & ssCtrl) result |= scCtrl;
  if (shift & ssAlt) result |= scAlt;
  return result;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift) {
  key = shortCut & 0xFF;
  shift = 0;
  if (shortCut & scShift) shift |= ssShift;
  if (shortCut & scCtrl) shift |= ssCtrl;
  if (shortCut & scAlt) shift |= ssAlt;
}

WideString ShortCutToText(TShortCut shortCut) {
  const WideString name = KeyName(shortCut & 0xFF);
  if (name.empty()) return {};
  WideString text;
  if (shortCut & scShift) text += u"Shift+";
  if (shortCut & scCtrl) text += u"Ctrl+";
  if (shortCut & scAlt) text += u"Alt+";
  return text + name;
}

WideString StripHotkey(const WideString& caption) {
  WideString result;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&') {
      if (i + 1 < caption.size() && caption[i + 1] == u'&') result += caption[++i];
      continue;
    }
    result += caption[i];
  }
  return result;
}

bool SameCaption(const WideString& a, const WideString& b) { return Folded(StripHotkey(a)) == Folded(StripHotkey(b)); }

// Menu items.
TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
  FActionLink.reset();
  // Sub-items are owned elsewhere: they are left without a parent.
  for (TMenuItem* item : FItems) item->FParent = nullptr;
  const bool hadItems = !FItems.empty();
  FItems.clear();
  if (FParent)
    FParent->Remove(this);
  else if (hadItems && FMenu)
    FMenu->RebuildHandle();
}

TMenuItem* TMenuItem::Items(int32_t index) const {
  if (index < 0 || index >= Count()) throw EMenuError(SMenuIndexError);
  return FItems[static_cast<size_t>(index)];
}

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int32_t index, TMenuItem* item) {
  if (item->FParent) throw EMenuError(SMenuReinserted);
  if (index < 0 || index > Count()) throw EMenuError(SMenuIndexError);
  FItems.insert(FItems.begin() + index, item);
  item->FParent = this;
  Changed(true);
}

void TMenuItem::Remove(TMenuItem* item) {
  const auto found = std::find(FItems.begin(), FItems.end(), item);
  if (found == FItems.end()) return;
  FItems.erase(found);
  item->FParent = nullptr;
  item->FQtAction = nullptr;
  Changed(true);
}

int32_t TMenuItem::IndexOf(const TMenuItem* item) const {
  const auto found = std::find(FItems.begin(), FItems.end(), item);
  return found == FItems.end() ? -1 : static_cast<int32_t>(found - FItems.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->FParent) root = root->FParent;
  return root->FMenu;
}

void TMenuItem::Changed(bool rebuild) {
  if (TMenu* menu = GetParentMenu()) menu->ItemChanged(*this, rebuild);
}

void TMenuItem::SetCaption(const WideString& value) {
  if (value == FCaption) return;
  // A separator is another kind of Qt item: the menu is built again.
  const bool rebuild = IsLine() || value == u"-";
  FCaption = value;
  Changed(rebuild);
}

void TMenuItem::SetShortCut(TShortCut value) { Change(FShortCut, value); }

void TMenuItem::SetChecked(bool value) {
  if (value == FChecked) return;
  FChecked = value;
  if (value && FRadioItem && FParent)
    for (TMenuItem* sibling : FParent->FItems)
      if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex) sibling->SetChecked(false);
  Changed(false);
}

void TMenuItem::SetEnabled(bool value) { Change(FEnabled, value); }

void TMenuItem::SetVisible(bool value) { Change(FVisible, value); }

void TMenuItem::SetRadioItem(bool value) { Change(FRadioItem, value); }

void TMenuItem::SetDefault(bool value) { Change(FDefault, value); }

WideString TMenuItem::MenuText() const {
  const bool topOfMainMenu = FParent && FParent->FMenu && FParent->FMenu->IsMainMenu();
  if (FShortCut == scNone || !FItems.empty() || topOfMainMenu) return FCaption;
  const WideString name = ShortCutToText(FShortCut);
  return name.empty() ? FCaption : FCaption + u"\t" + name;
}

TBasicAction* TMenuItem::Action() const { return FActionLink ? &FActionLink->Action() : nullptr; }

void TMenuItem::SetAction(TBasicAction* action) {
  if (action == Action()) return;
  FActionLink.reset();
  if (!action) return;
  FActionLink = CreateActionLink(*action);
  action->FreeNotification(this);
  ActionChange(*action, (action->ComponentState() & csLoading) != 0);
}

std::unique_ptr<TActionLink> TMenuItem::CreateActionLink(TBasicAction& action) {
  return std::make_unique<TMenuActionLink>(*this, action);
}

void TMenuItem::ActionChange(TBasicAction& sender, bool checkDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(&sender);
  if (!action) return;
  if (!checkDefaults || FCaption.empty() || FCaption == AnsiToWide(Name())) SetCaption(action->Caption());
  if (!checkDefaults || FHint.empty()) SetHint(action->Hint());
  if (!checkDefaults || FShortCut == scNone) SetShortCut(action->ShortCut());
  if (!checkDefaults || !FChecked) SetChecked(action->Checked());
  if (!checkDefaults || FEnabled) SetEnabled(action->Enabled());
  if (!checkDefaults || FVisible) SetVisible(action->Visible());
}

void TMenuItem::Click() {
  if (!FEnabled) return;
  if (OnClick)
    OnClick(this);
  else if (FActionLink)
    FActionLink->Execute();
}

void TMenuItem::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && FActionLink && component == &FActionLink->Action()) FActionLink.reset();
}

TPropInfo TMenuItem::ShortCutProp() {
  TPropInfo info = Published::Make("ShortCut", tkInteger, &TMenuItem::ShortCut, &TMenuItem::SetShortCut);
  info.Default = scNone;
  return info;
}

const TClassProps& TMenuItem::Props() {
  static const TClassProps props("TMenuItem", nullptr, [] {
    std::vector<TPropInfo> list{
        Published::WideText<TMenuItem>("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption),
        Published::Boolean<TMenuItem>("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked, false),
        Published::Boolean<TMenuItem>("Default", &TMenuItem::Default, &TMenuItem::SetDefault, false),
        Published::Boolean<TMenuItem>("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled, true),
        Published::Integer<TMenuItem>("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex, 0),
        Published::WideText<TMenuItem>("Hint", &TMenuItem::Hint, &TMenuItem::SetHint),
        Published::Boolean<TMenuItem>("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem, false),
        ShortCutProp(),
        Published::Boolean<TMenuItem>("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible, true),
        Published::Event("OnClick"),
    };
    // A caption or hint that an action supplies is not stored.
    list[0].Stored = [](const TPersistent& o) {
      const auto& item = static_cast<const TMenuItem&>(o);
      return !item.ActionLink() || !item.ActionLink()->IsCaptionLinked();
    };
    list[5].Stored = [](const TPersistent& o) {
      const auto& item = static_cast<const TMenuItem&>(o);
      return !item.ActionLink() || !item.ActionLink()->IsHintLinked();
    };
    return list;
  }());
  return props;
}

bool TMenuActionLink::IsCaptionLinked() const {
  const TCustomAction* action = CustomAction();
  return action && SameCaption(FClient.Caption(), action->Caption());
}

bool TMenuActionLink::IsHintLinked() const {
  const TCustomAction* action = CustomAction();
  return action && FClient.Hint() == action->Hint();
}

void TMenuActionLink::SetCaption(const WideString& value) {
  if (IsCaptionLinked()) FClient.SetCaption(value);
}

void TMenuActionLink::SetHint(const WideString& value) {
  if (IsHintLinked()) FClient.SetHint(value);
}

// Menus.
TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(std::make_unique<TMenuItem>(nullptr)) {
  FItems->FMenu = this;
}

TMenu::~TMenu() {
  DestroyHandle();
  FItems.reset();
}

TMenuItem* TMenu::FindItemByShortCut(TShortCut shortCut) const {
  if (shortCut == scNone) return nullptr;
  // Depth first, without recursion: a stack of the items still to look at.
  std::vector<TMenuItem*> open(FItems->FItems.rbegin(), FItems->FItems.rend());
  while (!open.empty()) {
    TMenuItem* item = open.back();
    open.pop_back();
    if (!item->Enabled() || !item->Visible()) continue;
    if (item->Count() == 0 && item->ShortCut() == shortCut) return item;
    open.insert(open.end(), item->FItems.rbegin(), item->FItems.rend());
  }
  return nullptr;
}

bool TMenu::IsShortCut(uint16_t key, TShiftState shift) {
  TMenuItem* item = FindItemByShortCut(::ShortCut(key, shift));
  if (!item) return false;
  item->Click();
  return true;
}

TMainMenu::~TMainMenu() {
  if (FForm) FForm->SetMenu(nullptr);
}

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) {}
TPopupMenu::~TPopupMenu() = default;

void TPopupMenu::SetPopupComponent(TComponent* component) {
  FPopupComponent = component;
  if (component) component->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
  TMenu::Notification(component, operation);
  if (operation == opRemove && component == FPopupComponent) FPopupComponent = nullptr;
}

namespace {
TPopupList* InstalledPopupList = nullptr;
}  // namespace

void TPopupList::MenuSelect(TMenuItem* item) {
  if (Application) Application->SetHint(item ? GetLongHint(item->Hint()) : WideString());
}

TPopupList& PopupList() {
  static TPopupList own;
  return InstalledPopupList ? *InstalledPopupList : own;
}

void SetPopupList(TPopupList* list) { InstalledPopupList = list; }
