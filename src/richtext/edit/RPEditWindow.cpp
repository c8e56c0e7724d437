#include "richtext/edit/RPEditWindow.h"

#include "richtext/edit/RichPaneEdit.h"
#include "richtext/model/RPUnicode.h"

namespace {

// The font character sets that have an 8-bit code page of their own.
constexpr uint8_t CodePageCharsets[] = {0, 128, 129, 130, 134, 136, 161, 162, 163, 177, 178, 186, 204, 222, 238};

// The character set of a code page; 1 (the default character set) for none.
uint8_t CharsetOfCodePage(uint32_t codePage) {
  for (const uint8_t charset : CodePageCharsets)
    if (CharsetToCodePage(charset) == codePage) return charset;
  return 1;
}

}  // namespace

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

void TRPEditWindow::InputLanguageChanged(LANGID /*language*/) {
  FEditor.InputLanguageChanged(CharsetOfCodePage(GetKeyboardCodePage()));
}
