// Controls: components placed on a parent window, with a UTF-16 caption and hint that
// exist before (and without) any Qt widget.
//
// A control gets its widget ("handle") only when its form is shown, so forms can be built,
// translated and streamed with no display. Destroying a widget (RecreateWnd, a hidden
// form freed) saves the state the control keeps (text, items) first, so the next widget
// shows it again. Hints hold a short and a long part split at "|": tooltips show the
// short part of the first non-empty hint up the parent chain, the application's hint is
// the long part.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/Components.h"
#include "platform/base/PublishedProperties.h"
#include "platform/base/Types.h"

class QWidget;
class TCanvas;
class TWinControl;
class TPopupMenu;
class TBasicAction;
class TActionLink;

// A size in pixels.
struct TTextSize {
  int32_t Width = 0;
  int32_t Height = 0;
};

// The smallest size a control may take; 0: no limit.
struct TSizeConstraints {
  int32_t MinWidth = 0;
  int32_t MinHeight = 0;
};

// The part of a hint before the first "|" (the whole hint when it has none).
WideString GetShortHint(const WideString& hint);
// The part after the first "|" (the whole hint when it has none).
WideString GetLongHint(const WideString& hint);
// The user's double-click time in milliseconds: the longest pause between the two
// presses of a double click.
uint32_t GetDoubleClickTime();

class TControl : public TComponent {
public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* parent);

  int32_t Left() const { return FLeft; }
  int32_t Top() const { return FTop; }
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  void SetLeft(int32_t v) { SetBounds(v, FTop, FWidth, FHeight); }
  void SetTop(int32_t v) { SetBounds(FLeft, v, FWidth, FHeight); }
  void SetWidth(int32_t v) { SetBounds(FLeft, FTop, v, FHeight); }
  void SetHeight(int32_t v) { SetBounds(FLeft, FTop, FWidth, v); }
  // A width or height below the constraints is raised to them.
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
  const TSizeConstraints& Constraints() const { return FConstraints; }
  // A control smaller than the new limits grows to them at once; the window system
  // keeps the user from shrinking the control's window below them.
  void SetConstraints(const TSizeConstraints& value);
  // The size at which the control shows its whole caption on one line in its font (a
  // combo box: its widest item, a group box: its title), as its widget measures it;
  // {0, 0} while the control has no widget.
  virtual TTextSize FitSize() const;

  bool Visible() const { return FVisible; }
  void SetVisible(bool visible);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool enabled);

  // Caption and Text are one UTF-16 value, as in the class library.
  WideString Caption() const { return GetText(); }
  void SetCaption(const WideString& value) { SetText(value); }
  WideString Text() const { return GetText(); }
  virtual WideString GetText() const { return FText; }
  virtual void SetText(const WideString& value);
  WideString Hint() const { return FHint; }
  void SetHint(const WideString& value) { FHint = value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool value) { FShowHint = value; }
  // The first non-empty hint of this control or its parents.
  WideString HintOfChain() const;

  TBasicAction* Action() const;
  void SetAction(TBasicAction* action);
  TActionLink* ActionLink() const { return FActionLink.get(); }
  // The link of this kind of control to an action (a control, a windowed control, a
  // button); SetAction makes it.
  virtual std::unique_ptr<TActionLink> CreateActionLink(TBasicAction& action);
  // Takes the action's caption, hint, enabled and visible state. With checkDefaults only
  // values still at their defaults change (empty caption or the control's name, empty
  // hint, enabled, visible).
  virtual void ActionChange(TBasicAction& sender, bool checkDefaults);
  // Runs the action's update (the idle pass).
  void InitiateAction();

  TNotifyEvent OnClick;
  // Runs the action when one is linked and the click handler is the action's, else OnClick.
  virtual void Click();
  // The menu a right click on the control shows (when the menu pops up by itself), and
  // whose shortcuts work while the control or one inside it has the focus.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* menu);

  QWidget* Widget() const { return FWidget; }
  bool HandleAllocated() const { return FWidget != nullptr; }
  // Creates the widget (and the parent's first) when missing.
  void HandleNeeded();
  // Saves the control's state and destroys its widget (and those of its children).
  virtual void DestroyHandle();
  // Destroys and re-creates the widget when it exists.
  void RecreateWnd();
  // Draws the control as its widget shows it (made first when missing), its top-left
  // corner at (x, y) of canvas.
  void PaintTo(TCanvas& canvas, int32_t x, int32_t y);

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  void Notification(TComponent* component, TOperation operation) override;
  // Makes the Qt widget of this kind of control, a child of parent.
  virtual QWidget* CreateWidget(QWidget* parent) = 0;
  // Copies the control's state into its new widget.
  virtual void InitWidget();
  // Called before the widget goes, to keep what only the widget holds.
  virtual void SaveWidgetState() {}
  // Shows a changed text in the widget.
  virtual void ShowText();
  // A caption or hint is stored in a window definition only when no action supplies it.
  bool IsCaptionStored() const;
  bool IsHintStored() const;
  // The published caption or text (as the kind of control names it), stored by the rule
  // above.
  static TPropInfo TextProp(const char* name);

private:
  friend class TWinControl;
  TWinControl* FParent = nullptr;
  int32_t FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TSizeConstraints FConstraints;
  bool FVisible = true;
  bool FEnabled = true;
  bool FShowHint = true;
  WideString FText;
  WideString FHint;
  std::unique_ptr<TActionLink> FActionLink;
  TPopupMenu* FPopupMenu = nullptr;
  QWidget* FWidget = nullptr;
};

// A control that holds other controls.
class TWinControl : public TControl {
public:
  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  int32_t ControlCount() const { return static_cast<int32_t>(FControls.size()); }
  TControl* Controls(int32_t index) const { return FControls.at(static_cast<size_t>(index)); }
  void DestroyHandle() override;
  std::unique_ptr<TActionLink> CreateActionLink(TBasicAction& action) override;
  // Gives the widget the keyboard focus (when it exists).
  void SetFocus();
  bool Focused() const;
  bool CanFocus() const;
  // Where the client area starts in the widget: 0, or below a form's menu bar.
  virtual int32_t ClientTop() const { return 0; }
  // The widget that the widgets of the controls inside it are children of: its own, or
  // the part of it that shows the client area.
  virtual QWidget* ChildrenWidget() const { return Widget(); }

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

protected:
  void InitWidget() override;

private:
  friend class TControl;
  std::vector<TControl*> FControls;
};
