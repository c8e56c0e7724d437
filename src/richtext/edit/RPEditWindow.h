// The window of an editor: a rich view's window (RPWindow.h) that also takes drops and
// input methods and hands them to its editor (RichPaneEdit.h). It makes the editor's
// drop target when it is made. The editor is not owned and outlives the window.
#pragma once

#include "richtext/screen/RPWindow.h"

class TCustomRichPaneEdit;

class TRPEditWindow : public TRPWindow {
public:
  TRPEditWindow(TComponent* owner, TCustomRichPaneEdit& editor);

  int32_t DragEnter(const IDataObject& data, TShiftState shift, int32_t x, int32_t y, int32_t allowedEffects) override;
  int32_t DragOver(TShiftState shift, int32_t x, int32_t y, int32_t allowedEffects) override;
  void DragLeave() override;
  int32_t Drop(const IDataObject& data, TShiftState shift, int32_t x, int32_t y, int32_t allowedEffects) override;

  void InputMethodText(const WideString& commit, const WideString& preedit) override;
  TRect InputMethodArea() const override;
  TRect InputMethodCursor() const override;
  bool InputMethodFont(WideString& name, int32_t& heightPx) const override;
  // The editor's text style follows the keyboard's character set.
  void InputLanguageChanged(LANGID language) override;

private:
  TCustomRichPaneEdit& FEditor;
};
