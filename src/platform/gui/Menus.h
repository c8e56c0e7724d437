// Menus: items with a caption, a hint, a shortcut, checked and enabled states and
// sub-items, shown in a menu bar across the top of a form (TMainMenu) or in a menu that
// pops up (TPopupMenu).
//
// Items are components: a window owns them, so that its window definition and its
// language controller reach their captions and hints. A menu's tree of items holds them
// without owning them; an item that goes leaves its menu. The Qt side (a QMenuBar or a
// QMenu, one QAction per item) is made when the menu is first shown and follows every
// later change of an item: a text, checked, enabled or visible state in place, a change
// of the tree by building the Qt menu again.
//
// The text a menu shows for an item is its caption ("&" marks the accelerator, "&&" is
// one "&"), then a tab and the name of its shortcut ("Ctrl+O") when the item has a
// shortcut, has no sub-items and is no top-level item of a main menu. A shortcut runs
// its item when the item's form sees the key (before the focused control): the form of a
// main menu, or the form of a control whose popup menu it is, while that control or one
// inside it has the focus. The long part of the hint of the item under the mouse is the
// application's hint while a menu is open (the popup list, below).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"

class QAction;
class QMenu;
class QWidget;
class TMenu;

// The shortcut of a key with modifiers, and back.
TShortCut ShortCut(uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// The name a menu shows for a shortcut: the modifiers "Shift+", "Ctrl+", "Alt+" in that
// order, then the key ("O", "5", "F5", "Del", "Num 5"); empty for scNone or a key without
// a name.
WideString ShortCutToText(TShortCut shortCut);
// The caption without its accelerator marks: each "&" goes, "&&" stays as one "&".
WideString StripHotkey(const WideString& caption);
// Whether two captions are alike but for their accelerator marks and letter case: an
// action's caption still reaches a menu item whose accelerator moved.
bool SameCaption(const WideString& a, const WideString& b);

class TMenuItem : public TComponent {
public:
  explicit TMenuItem(TComponent* owner);
  ~TMenuItem() override;

  WideString Caption() const { return FCaption; }
  virtual void SetCaption(const WideString& value);
  WideString Hint() const { return FHint; }
  void SetHint(const WideString& value) { FHint = value; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value);
  bool Checked() const { return FChecked; }
  // Checking a radio item unchecks the other radio items of its group among its siblings.
  void SetChecked(bool value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool value);
  int32_t GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int32_t value) { FGroupIndex = value; }
  // The default item of a menu is shown in bold.
  bool Default() const { return FDefault; }
  void SetDefault(bool value);
  // A caption of "-" makes the item a separator line.
  bool IsLine() const { return FCaption == u"-"; }

  // The sub-items, in menu order.
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  // Raises EMenuError "Menu index out of range" outside 0..Count-1.
  TMenuItem* Items(int32_t index) const;
  // Appends or inserts a sub-item; an item that has a parent already raises EMenuError
  // "Menu inserted twice".
  void Add(TMenuItem* item);
  void Insert(int32_t index, TMenuItem* item);
  // Takes the sub-item out of this item (it is not freed).
  void Remove(TMenuItem* item);
  int32_t IndexOf(const TMenuItem* item) const;
  TMenuItem* Parent() const { return FParent; }
  // The menu whose tree holds this item, or nullptr.
  TMenu* GetParentMenu() const;

  TBasicAction* Action() const;
  void SetAction(TBasicAction* action);
  TActionLink* ActionLink() const { return FActionLink.get(); }
  virtual std::unique_ptr<TActionLink> CreateActionLink(TBasicAction& action);
  // Takes the action's caption, hint, shortcut, checked, enabled and visible state. With
  // checkDefaults only values still at their defaults change.
  virtual void ActionChange(TBasicAction& sender, bool checkDefaults);

  TNotifyEvent OnClick;
  // An enabled item runs OnClick, or its action when it has no handler of its own.
  virtual void Click();

  // What the menu shows for the item (see the head of this file).
  WideString MenuText() const;

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  void Notification(TComponent* component, TOperation operation) override;

private:
  friend class TMenu;
  // Tells the menu: a state of this item changed, or (rebuild) the tree or what an item
  // is made of in Qt.
  void Changed(bool rebuild);
  // Stores a state that differs and tells the menu.
  template <typename T>
  void Change(T& field, T value) {
    if (value == field) return;
    field = value;
    Changed(false);
  }
  static TPropInfo ShortCutProp();

  WideString FCaption;
  WideString FHint;
  TShortCut FShortCut = scNone;
  bool FChecked = false;
  bool FEnabled = true;
  bool FVisible = true;
  bool FRadioItem = false;
  bool FDefault = false;
  int32_t FGroupIndex = 0;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  // Set on a menu's root item only.
  TMenu* FMenu = nullptr;
  std::unique_ptr<TActionLink> FActionLink;
  // The item in its parent's Qt menu while the menu has one.
  QAction* FQtAction = nullptr;
};

// The link of a menu item: caption and hint (compared without accelerator marks and
// case), shortcut, checked, enabled and visible state.
class TMenuActionLink : public TActionLink {
public:
  TMenuActionLink(TMenuItem& client, TBasicAction& action) : TActionLink(action), FClient(client) {}
  TMenuItem& Client() const { return FClient; }
  void Unlink() override { FClient.SetAction(nullptr); }
  bool IsCaptionLinked() const override;
  bool IsHintLinked() const override;
  void SetCaption(const WideString& value) override;
  void SetHint(const WideString& value) override;
  void SetEnabled(bool value) override { FClient.SetEnabled(value); }
  void SetVisible(bool value) override { FClient.SetVisible(value); }
  void SetChecked(bool value) override { FClient.SetChecked(value); }
  void SetShortCut(TShortCut value) override { FClient.SetShortCut(value); }

private:
  TMenuItem& FClient;
};

class TMenu : public TComponent {
public:
  explicit TMenu(TComponent* owner);
  ~TMenu() override;

  // The root: its sub-items are the menu's items. Owned by the menu.
  TMenuItem* Items() const { return FItems.get(); }
  // The enabled, visible item with that shortcut (searched in menu order, sub-items
  // first), or nullptr; items inside a disabled or hidden item do not count.
  TMenuItem* FindItemByShortCut(TShortCut shortCut) const;
  // Clicks the item of the key's shortcut; true when there was one.
  bool IsShortCut(uint16_t key, TShiftState shift);

  bool HandleAllocated() const { return FWidget != nullptr; }
  // The Qt menu (bar) of the menu; made on first need.
  QWidget* Widget() const { return FWidget; }

protected:
  friend class TMenuItem;
  friend class TCustomForm;
  // Makes the Qt menu (bar) with a parent widget (nullptr: a top-level menu).
  virtual QWidget* CreateWidget(QWidget* parent) = 0;
  // Whether the menu's top-level items are those of a menu bar (no shortcut names).
  virtual bool IsMainMenu() const { return false; }
  void HandleNeeded(QWidget* parent);
  void DestroyHandle();
  // Builds the Qt menu's items again from the tree.
  void RebuildHandle();
  void ItemChanged(TMenuItem& item, bool rebuild);

private:
  // Every item forgets its Qt action (the actions are about to go).
  void ForgetQtActions();
  void ShowItem(TMenuItem& item);
  void AddQtItems(TMenuItem& parent, QWidget& menu);
  std::unique_ptr<TMenuItem> FItems;
  QWidget* FWidget = nullptr;
};

// The menu bar of a form (TCustomForm::SetMenu).
class TMainMenu : public TMenu {
public:
  using TMenu::TMenu;
  // Leaves its form first.
  ~TMainMenu() override;
  // The form that shows the menu, or nullptr.
  TCustomForm* Form() const { return FForm; }
  // The height of the shown bar; 0 while it has no widget.
  int32_t BarHeight() const;

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  bool IsMainMenu() const override { return true; }

private:
  friend class TCustomForm;
  TCustomForm* FForm = nullptr;
};

class TPopupMenu : public TMenu {
public:
  explicit TPopupMenu(TComponent* owner);
  ~TPopupMenu() override;

  // Runs just before the menu shows (to set its items' states).
  TNotifyEvent OnPopup;
  // The control the menu was last shown for (set by a right click on it).
  TComponent* PopupComponent() const { return FPopupComponent; }
  void SetPopupComponent(TComponent* component);
  // A right click on a control whose popup menu this is shows it.
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool value) { FAutoPopup = value; }
  // Shows the menu with its top left corner at the screen point and returns once it has
  // closed; a chosen item has been clicked by then.
  void Popup(int32_t x, int32_t y);

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void Notification(TComponent* component, TOperation operation) override;

private:
  TComponent* FPopupComponent = nullptr;
  bool FAutoPopup = true;
};

// Receives what happens in the program's open menus: which item the mouse is on. Its
// MenuSelect makes the long part of that item's hint the application's hint (empty on no
// item). One object serves the whole program; SetPopupList replaces it (the object is not
// owned; nullptr restores the class library's own).
class TPopupList {
public:
  virtual ~TPopupList() = default;
  virtual void MenuSelect(TMenuItem* item);
};
TPopupList& PopupList();
void SetPopupList(TPopupList* list);

class EMenuError : public Exception {
public:
  using Exception::Exception;
};
inline constexpr char SMenuIndexError[] = "Menu index out of range";
inline constexpr char SMenuReinserted[] = "Menu inserted twice";
