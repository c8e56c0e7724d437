// Actions: one command (caption, hint, enabled state, handler) shared by the controls
// linked to it, and the lists that hold them.
//
// A change of an action's caption or hint reaches each linked control through its link,
// but only while the control still shows the action's old value: a control whose caption
// was set directly keeps it. Actions are updated (OnUpdate) in the application's idle
// pass and on an explicit TApplication::UpdateActions.
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

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  // Tells every link, then stores the value (when it differs).
  template <typename T>
  void Change(T& field, const T& value,
              void (TActionLink::*tell)(std::conditional_t<std::is_same_v<T, bool>, bool, const T&>));

  WideString FCaption;
  WideString FHint;
  bool FEnabled = true;
  bool FVisible = true;
  bool FChecked = false;
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

// Ties one control to one action. The action's changes arrive here; the control side
// decides what it takes (TControl::ActionChange).
class TActionLink {
public:
  TActionLink(TControl& client, TBasicAction& action);
  virtual ~TActionLink();
  TActionLink(const TActionLink&) = delete;
  TActionLink& operator=(const TActionLink&) = delete;

  TBasicAction& Action() const { return FAction; }
  TControl& Client() const { return FClient; }

  // A caption (hint) is linked while the client shows the action's current one.
  virtual bool IsCaptionLinked() const;
  virtual bool IsHintLinked() const;
  bool IsOnExecuteLinked() const;
  // Called by the action before it takes the new value.
  virtual void SetCaption(const WideString& value);
  virtual void SetHint(const WideString& value);
  void SetEnabled(bool value);
  void SetVisible(bool value);
  void SetChecked(bool value);
  bool Execute() { return FAction.Execute(); }
  bool Update() { return FAction.Update(); }

private:
  TControl& FClient;
  TBasicAction& FAction;
};
