#include "richtext/edit/RPEditWindow.h"

#include "richtext/edit/RichPaneEdit.h"

TRPEditWindow::TRPEditWindow(TComponent* owner, TCustomRichPaneEdit& editor)
    : TRPWindow(owner, editor), FEditor(editor) {
  FEditor.CreateDropTarget();
  SetAcceptDrops(true);
  SetInputMethodEnabled(true);
}

int32_t TRPEditWindow::DragEnter(const IDataObject& data, TShiftState shift, int32_t x, int32_t y,
                                 int32_t allowedEffects) {
  TRPDropTarget* target = FEditor.DropTarget();
  return target ? target->DragEnter(data, shift, TPoint{x, y}, allowedEffects) : DROPEFFECT_NONE;
}

int32_t TRPEditWindow::DragOver(TShiftState shift, int32_t x, int32_t y, int32_t allowedEffects) {
  TRPDropTarget* target = FEditor.DropTarget();
  return target ? target->DragOver(shift, TPoint{x, y}, allowedEffects) : DROPEFFECT_NONE;
}

void TRPEditWindow::DragLeave() {
  if (TRPDropTarget* target = FEditor.DropTarget()) target->DragLeave();
}

int32_t TRPEditWindow::Drop(const IDataObject& data, TShiftState shift, int32_t x, int32_t y, int32_t allowedEffects) {
  TRPDropTarget* target = FEditor.DropTarget();
  return target ? target->Drop(data, shift, TPoint{x, y}, allowedEffects) : DROPEFFECT_NONE;
}

void TRPEditWindow::InputMethodText(const WideString& commit, const WideString& preedit) {
  FEditor.InputMethodResult(commit, preedit);
}

TRect TRPEditWindow::InputMethodArea() const { return FEditor.GetCompositionArea(); }

TRect TRPEditWindow::InputMethodCursor() const { return FEditor.GetCompositionCursor(CaretRect()); }

bool TRPEditWindow::InputMethodFont(WideString& name, int32_t& heightPx) const {
  return FEditor.GetCompositionFont(name, heightPx);
}
