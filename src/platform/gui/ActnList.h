// Actions: one command (caption, hint, enabled state, handler) shared by the controls
// linked to it, and the lists that hold them.
//
// A change of an action's caption or hint reaches each linked client (a control or a menu
// item) through its link, but only while the client still shows the action's old value:
// a client whose caption was set directly keeps it. Each kind of client has its kind of
// link (a control asks for its own with CreateActionLink). Actions are updated
// (OnUpdate) in the application's idle pass and on an explicit TApplication::UpdateActions.
#pragma once

#include <functional>
#include <memory>
#include <type_traits>
#include <vector>

#include "platform/base/Components.h"
#include "platform/base/PublishedProperties.h"
#include "platform/base/Types.h"

class TControl;
class TActionLink;
class TCustomActionList;

// A key with its modifiers, as menus and actions name their shortcuts: the virtual key in
// the low byte, and the modifier bits below; 0 for none.
using TShortCut = uint16_t;
inline constexpr TShortCut scNone = 0, scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;

class TBasicAction : public TComponent {
public:
  explicit TBasicAction(TComponent* owner) : TComponent(owner) {}
  ~TBasicAction() override;

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;
  // Runs OnExecute (the list's OnExecute first, which may handle it); false when no
  // handler ran.
  virtual bool Execute();
  // Runs OnUpdate (the list's first); false when no handler ran.
  virtual bool Update();

  // The links of the controls driven by this action.
  const std::vector<TActionLink*>& Clients() const { return FClients; }

protected:
  friend class TActionLink;
  std::vector<TActionLink*> FClients;
};

class TContainedAction : public TBasicAction {
public:
  explicit TContainedAction(TComponent* owner) : TBasicAction(owner) {}
  ~TContainedAction() override;
  TCustomActionList* ActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* list);
  bool Execute() override;
  bool Update() override;

private:
  TCustomActionList* FActionList = nullptr;
};

class TCustomAction : public TContainedAction {
public:
  explicit TCustomAction(TComponent* owner) : TContainedAction(owner) {}

  WideString Caption() const { return FCaption; }
  virtual void SetCaption(const WideString& value);
  WideString Hint() const { return FHint; }
  virtual void SetHint(const WideString& value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut value);

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  static TPropInfo ShortCutProp();
  // Tells every link, then stores the value (when it differs).
  template <typename T>
  void Change(T& field, const T& value,
              void (TActionLink::*tell)(std::conditional_t<std::is_same_v<T, bool>, bool, const T&>));

  WideString FCaption;
  WideString FHint;
  bool FEnabled = true;
  bool FVisible = true;
  bool FChecked = false;
  TShortCut FShortCut = scNone;
};

class TAction : public TCustomAction {
public:
  using TCustomAction::TCustomAction;
};

// The hint action the application executes to show a new hint in status bars.
class THintAction : public TCustomAction {
public:
  using TCustomAction::TCustomAction;
};

class TCustomActionList : public TComponent {
public:
  explicit TCustomActionList(TComponent* owner) : TComponent(owner) {}
  ~TCustomActionList() override;

  int32_t ActionCount() const { return static_cast<int32_t>(FActions.size()); }
  TContainedAction* Actions(int32_t index) const { return FActions.at(static_cast<size_t>(index)); }
  // Handlers for every action of the list; setting handled skips the action's own.
  std::function<void(TBasicAction* action, bool& handled)> OnExecute;
  std::function<void(TBasicAction* action, bool& handled)> OnUpdate;

private:
  friend class TContainedAction;
  std::vector<TContainedAction*> FActions;
};

class TActionList : public TCustomActionList {
public:
  using TCustomActionList::TCustomActionList;
};

// Ties one client to one action. The action's changes arrive here, before the action
// takes them; each kind of link passes what its kind of client shows.
class TActionLink {
public:
  explicit TActionLink(TBasicAction& action);
  virtual ~TActionLink();
  TActionLink(const TActionLink&) = delete;
  TActionLink& operator=(const TActionLink&) = delete;

  TBasicAction& Action() const { return FAction; }
  // The client drops its link (and so this object): the action is going.
  virtual void Unlink() = 0;

  // A caption (hint) is linked while the client shows the action's current one.
  virtual bool IsCaptionLinked() const { return false; }
  virtual bool IsHintLinked() const { return false; }
  bool IsOnExecuteLinked() const;
  virtual void SetCaption(const WideString& /*value*/) {}
  virtual void SetHint(const WideString& /*value*/) {}
  virtual void SetEnabled(bool /*value*/) {}
  virtual void SetVisible(bool /*value*/) {}
  virtual void SetChecked(bool /*value*/) {}
  virtual void SetShortCut(TShortCut /*value*/) {}
  bool Execute() { return FAction.Execute(); }
  bool Update() { return FAction.Update(); }

protected:
  // The action as one with a caption, or nullptr.
  const TCustomAction* CustomAction() const { return dynamic_cast<const TCustomAction*>(&FAction); }

private:
  TBasicAction& FAction;
};

// The link of a control: its caption, hint, enabled and visible state.
class TControlActionLink : public TActionLink {
public:
  TControlActionLink(TControl& client, TBasicAction& action) : TActionLink(action), FClient(client) {}
  TControl& Client() const { return FClient; }
  void Unlink() override;
  bool IsCaptionLinked() const override;
  bool IsHintLinked() const override;
  void SetCaption(const WideString& value) override;
  void SetHint(const WideString& value) override;
  void SetEnabled(bool value) override;
  void SetVisible(bool value) override;

private:
  TControl& FClient;
};

// The link of a windowed control (edit, list, combo box, group box, form).
class TWinControlActionLink : public TControlActionLink {
public:
  using TControlActionLink::TControlActionLink;
};

// The link of a button control; a check box or radio button also takes the checked state.
class TButtonActionLink : public TWinControlActionLink {
public:
  using TWinControlActionLink::TWinControlActionLink;
  void SetChecked(bool value) override;
};
