// The controls of control items on screen: a GUI control (a button, an edit, any control
// of the GUI layer) behind the document's IRPItemControl. The control stands in the rich
// view's window (the window host's ControlParent), moves with the document when it
// scrolls, and draws an image of itself for pages and other canvases.
//
// RegisterRPControlClasses makes controls known to documents read from the native
// format: the control item class, the button and edit component classes by their stream
// names, and the factory that wraps a control read from a stream. The library's start-up
// calls it (RPScreenStartup.h).
#pragma once

#include <memory>

#include "platform/gui/Controls.h"
#include "richtext/layout/view/RPScroller.h"
#include "richtext/model/RPControlItems.h"

class TCustomRichPane;

class TRPWidgetControl : public IRPItemControl {
public:
  // Owns control.
  explicit TRPWidgetControl(std::unique_ptr<TControl> control);
  // Leaves its window first.
  ~TRPWidgetControl() override;
  TRPWidgetControl(const TRPWidgetControl&) = delete;
  TRPWidgetControl& operator=(const TRPWidgetControl&) = delete;

  TControl& GuiControl() const { return *FControl; }

  TComponent& Component() override { return *FControl; }
  int32_t Left() const override { return FPlace.Left; }
  void SetLeft(int32_t value) override;
  int32_t Top() const override { return FPlace.Top; }
  void SetTop(int32_t value) override;
  int32_t Width() const override { return FControl->Width(); }
  void SetWidth(int32_t value) override { FControl->SetWidth(value); }
  int32_t Height() const override { return FControl->Height(); }
  void SetSize(int32_t width, int32_t height) override;
  int32_t Tag() const override { return FPlace.Tag; }
  void SetTag(int32_t value) override { FPlace.Tag = value; }
  bool Visible() const override { return FControl->Visible(); }
  void SetVisible(bool value) override { FControl->SetVisible(value); }
  IRPControlParent* Parent() const override { return FParent; }
  // Into the rich view's window (a parent of this screen) or out of any window.
  void SetParent(IRPControlParent* parent) override;
  bool IsWindowControl() const override;
  bool CanTakeFocus() const override;
  void SetFocus() override;
  // A button: a push-button frame with its caption centred; an edit: its colour, a
  // sunken border and its text; any other control as its widget shows it.
  void Draw(TCanvas& canvas, int32_t x, int32_t y) override;

private:
  // The control takes the place recorded (after the view moved it).
  void ApplyPlace();
  std::unique_ptr<TControl> FControl;
  IRPControlParent* FParent = nullptr;
  TCustomRichPane* FPane = nullptr;
  TRPEmbeddedWindow FPlace;
};

// An item control for a GUI control; nullptr for a component that is no control.
std::unique_ptr<IRPItemControl> MakeRPWidgetControl(std::unique_ptr<TComponent> component);

// The control item class, the button ("TButton") and edit ("TCustomEdit") classes and
// the factory of item controls (see above); more than once does no harm.
void RegisterRPControlClasses();
