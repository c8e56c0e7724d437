#include "richtext/screen/RPControlWidgets.h"

#include <algorithm>

#include "platform/base/Filer.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/TextDraw.h"
#include "platform/gui/StdCtrls.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/screen/RPWindow.h"

namespace {

// The font controls draw their text in when they are drawn without a window.
void UseControlFont(TCanvas& canvas, TColor color) {
  canvas.Font().SetName("MS Sans Serif");
  canvas.Font().SetSize(8);
  canvas.Font().SetColor(color);
}

// A line of pen width 1 from (x1, y1) to (x2, y2), its last point left out.
void Line(TCanvas& canvas, TColor color, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetColor(color);
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

// One ring of a 3-D edge inside r: topLeft on the top and left lines, bottomRight on
// the others; r shrinks by a pixel on every side.
void EdgeRing(TCanvas& canvas, TRect& r, TColor topLeft, TColor bottomRight) {
  if (r.Right - r.Left < 2 || r.Bottom - r.Top < 2) return;
  Line(canvas, topLeft, r.Left, r.Top, r.Right - 1, r.Top);
  Line(canvas, topLeft, r.Left, r.Top, r.Left, r.Bottom - 1);
  Line(canvas, bottomRight, r.Left, r.Bottom - 1, r.Right, r.Bottom - 1);
  Line(canvas, bottomRight, r.Right - 1, r.Top, r.Right - 1, r.Bottom - 1);
  r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
}

void FillBox(TCanvas& canvas, const TRect& r, TColor color) {
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(color);
  canvas.FillRect(r);
}

void DrawLine(TCanvas& canvas, const WideString& text, TRect r, uint32_t format) {
  canvas.Brush().SetStyle(bsClear);
  DrawTextW(canvas.Handle(), text.data(), static_cast<int32_t>(text.size()), &r, format | DT_SINGLELINE);
}

// A raised push button: white and black outside, light and shadow inside, the face, the
// caption centred.
void DrawPushButton(TCanvas& canvas, const TButton& button, const TRect& bounds) {
  TRect r = bounds;
  FillBox(canvas, r, clBtnFace);
  EdgeRing(canvas, r, clBtnHighlight, clBlack);
  EdgeRing(canvas, r, clBtnFace, clBtnShadow);
  UseControlFont(canvas, button.Enabled() ? clBtnText : clGrayText);
  DrawLine(canvas, button.Caption(), bounds, DT_VCENTER | DT_CENTER);
}

// An edit: its colour, a sunken 3-D border, a pixel inside it, its text on one line.
void DrawEdit(TCanvas& canvas, const TCustomEdit& edit, const TRect& bounds) {
  TRect r = bounds;
  FillBox(canvas, r, clWindow);
  EdgeRing(canvas, r, clBtnShadow, clBtnHighlight);
  EdgeRing(canvas, r, clBlack, clBtnFace);
  r = TRect{r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1};
  WideString text = edit.Text();
  if (edit.PasswordChar() != 0) text.assign(text.size(), edit.PasswordChar());
  UseControlFont(canvas, edit.Enabled() ? clWindowText : clGrayText);
  DrawLine(canvas, text, r, DT_VCENTER | DT_LEFT | DT_NOPREFIX);
}

}  // namespace

TRPWidgetControl::TRPWidgetControl(std::unique_ptr<TControl> control) : FControl(std::move(control)) {
  FPlace.Left = FControl->Left();
  FPlace.Top = FPlace.Tag = FControl->Top();
  FPlace.OnMoved = [this](TRPEmbeddedWindow&) { ApplyPlace(); };
}

TRPWidgetControl::~TRPWidgetControl() { SetParent(nullptr); }

void TRPWidgetControl::ApplyPlace() {
  FControl->SetBounds(FPlace.Left, FPlace.Top, FControl->Width(), FControl->Height());
}

void TRPWidgetControl::SetLeft(int32_t value) {
  FPlace.Left = value;
  ApplyPlace();
}

void TRPWidgetControl::SetTop(int32_t value) {
  FPlace.Top = value;
  ApplyPlace();
}

void TRPWidgetControl::SetSize(int32_t width, int32_t height) {
  FControl->SetBounds(FControl->Left(), FControl->Top(), width, height);
}

void TRPWidgetControl::SetParent(IRPControlParent* parent) {
  auto* window = dynamic_cast<TRPWindow*>(parent);
  if (FPane) {
    auto& windows = FPane->EmbeddedWindows;
    windows.erase(std::remove(windows.begin(), windows.end(), &FPlace), windows.end());
  }
  FPane = window ? &window->Pane() : nullptr;
  FParent = window ? parent : nullptr;
  FControl->SetParent(window);
  if (FPane) FPane->EmbeddedWindows.push_back(&FPlace);
}

bool TRPWidgetControl::IsWindowControl() const { return dynamic_cast<const TWinControl*>(FControl.get()) != nullptr; }

bool TRPWidgetControl::CanTakeFocus() const {
  const auto* windowed = dynamic_cast<const TWinControl*>(FControl.get());
  return windowed && windowed->CanFocus();
}

void TRPWidgetControl::SetFocus() {
  if (auto* windowed = dynamic_cast<TWinControl*>(FControl.get())) windowed->SetFocus();
}

void TRPWidgetControl::Draw(TCanvas& canvas, int32_t x, int32_t y) {
  const TRect bounds{x, y, x + FControl->Width(), y + FControl->Height()};
  if (const auto* button = dynamic_cast<const TButton*>(FControl.get()))
    DrawPushButton(canvas, *button, bounds);
  else if (const auto* edit = dynamic_cast<const TCustomEdit*>(FControl.get()))
    DrawEdit(canvas, *edit, bounds);
  else
    FControl->PaintTo(canvas, x, y);
}

std::unique_ptr<IRPItemControl> MakeRPWidgetControl(std::unique_ptr<TComponent> component) {
  auto* control = dynamic_cast<TControl*>(component.get());
  if (!control) return nullptr;
  component.release();
  return std::make_unique<TRPWidgetControl>(std::unique_ptr<TControl>(control));
}

void RegisterRPControlClasses() {
  RegisterControlItemClass();
  RegisterComponentClass("TButton", [] { return std::make_unique<TButton>(nullptr); });
  RegisterComponentClass("TCustomEdit", [] { return std::make_unique<TEdit>(nullptr); });
  SetRPItemControlFactory(&MakeRPWidgetControl);
}
