// What the editable document data (RPERPData.h) asks of the editor control that holds
// it, and what it tells that control. The editor control implements it; a rich view
// control without it that holds editable data (a test's) is an editor that is never
// read-only, has the default editor options and hears nothing.
#pragma once

#include <cstdint>

#include "platform/base/UserInput.h"

// The editor's behaviour switches.
using TRPEditorOptions = uint16_t;
inline constexpr TRPEditorOptions rpoClearTagOnStyleApp = 0x0001;
inline constexpr TRPEditorOptions rpoCtrlJumps = 0x0002;
inline constexpr TRPEditorOptions rpoDoNotWantReturns = 0x0004;
inline constexpr TRPEditorOptions rpoDoNotWantShiftReturns = 0x0008;
inline constexpr TRPEditorOptions rpoWantTabs = 0x0010;
inline constexpr TRPEditorOptions rpoAutoSwitchLang = 0x0020;
inline constexpr TRPEditorOptions rpoHideReadOnlyCaret = 0x0040;
inline constexpr TRPEditorOptions rpoNoImageResize = 0x0080;
inline constexpr TRPEditorOptions rpoNoCaretHighlightJumps = 0x0100;
inline constexpr TRPEditorOptions rpoEditorDefaults = rpoCtrlJumps | rpoWantTabs;

class IRPEditorControl {
public:
  virtual ~IRPEditorControl() = default;
  virtual bool GetReadOnly() const = 0;
  virtual TRPEditorOptions GetEditorOptions() const = 0;
  // The caret moved.
  virtual void DoCaretMove() = 0;
  // The document is modified (or, after clearing, not).
  virtual void SetModified(bool value) = 0;
  // The current text or paragraph style is set: the control stores it in the document
  // data (CurTextStyleNo, CurParaStyleNo) and tells its listeners.
  virtual void SetCurTextStyleNo(int32_t styleNo) = 0;
  virtual void SetCurParaStyleNo(int32_t paraNo) = 0;
  // Whether the document may change now (asked before a key changes it), and the change
  // handling after an edit; an editor that keeps no such state may leave both.
  virtual bool CanChange() { return true; }
  virtual void Change() {}

  // --- Changes, style conversions and the pointer -------------------------------------------
  // The control's text style conversion handler: the new number of a text style (the
  // applied-to-text flag, the caller's user data and the paragraph style of the item);
  // false and nothing set without a handler.
  virtual bool ConvertTextStyle(int32_t /*styleNo*/, bool /*appliedToText*/, int32_t& /*newStyleNo*/,
                                int32_t /*userData*/, int32_t /*paraNo*/) {
    return false;
  }
  // The paragraph style conversion handler, the same way.
  virtual bool ConvertParaStyle(int32_t /*paraNo*/, int32_t /*userData*/, int32_t& /*newParaNo*/) { return false; }
  // Before the current styles are renumbered after unused styles were deleted.
  virtual void BeforeStylesRenumbered() {}
  // The pointer's shape over the control.
  virtual void SetPointerCursor(TCursor /*cursor*/) {}
};
