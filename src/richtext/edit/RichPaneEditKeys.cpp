// The editor control's keyboard: keys going down and up, and the text they type. Text
// arrives as UTF-16; a character the current 8-bit text style cannot hold switches the
// editor to the style sheet's default Unicode style first.
#include "platform/base/CodePages.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

bool RPUnicodeKeyboardInput = false;

namespace {

constexpr uint16_t VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_SNAPSHOT = 0x2C, VK_LWIN = 0x5B, VK_APPS = 0x5D,
                   VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_PROCESSKEY = 229;

bool Has(TShiftState shift, TShiftState keys) { return (shift & keys) != 0; }

// Keys the editor leaves to the view: modifiers, locks, function and system keys.
bool IsViewKey(uint16_t key) {
  return key == VK_SHIFT || key == VK_CONTROL || key == VK_MENU || key == VK_PAUSE || key == VK_CAPITAL ||
         key == VK_ESCAPE || key == VK_SNAPSHOT || (key >= VK_LWIN && key <= VK_APPS) ||
         (key >= VK_F1 && key <= VK_F24) || key == VK_NUMLOCK || key == VK_SCROLL || (key >= 160 && key <= 183) ||
         key == VK_PROCESSKEY || key >= 246;
}

bool IsMovementKey(uint16_t key) { return key >= VK_PRIOR && key <= VK_DOWN; }

// Keys that type a character: space, digits, letters, the numeric pad and the
// punctuation keys.
bool IsCharacterKey(uint16_t key) {
  return key == VK_SPACE || (key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z') ||
         (key >= VK_NUMPAD0 && key <= 0x6F) || (key >= 0xBA && key <= 0xC0) || (key >= 0xDB && key <= 0xDF) ||
         key == 0xE2;
}

}  // namespace

bool TCustomRichPaneEdit::KeyDown(uint16_t key, TShiftState shift) {
  TRPEditRPData& data = EditData();
  if (data.GetItemCount() == 0) data.EnsureNotEmpty();
  if (key == VK_RETURN && (EditorOptions & rpoDoNotWantReturns) != 0) return false;
  // Undo: Ctrl+Z or Alt+Backspace; redo: the same with Shift, or Ctrl+Y.
  const bool ctrlOnly = (shift & (ssCtrl | ssAlt)) == ssCtrl;
  const bool undoKey = (ctrlOnly && key == 'Z') || ((shift & (ssCtrl | ssAlt)) == ssAlt && key == VK_BACK);
  if (undoKey) {
    if (Has(shift, ssShift))
      Redo();
    else
      Undo();
    return true;
  }
  if (ctrlOnly && !Has(shift, ssShift) && key == 'Y') {
    Redo();
    return true;
  }
  if (TCustomRichPane::KeyDown(key, shift)) return true;
  if (ClipboardKeyDown(key, shift)) return true;
  if (key == VK_ESCAPE && data.CancelResizing()) return true;
  if ((key == VK_UP || key == VK_DOWN) && ctrlOnly) {
    TCustomRichPaneEdit& root = RootEditor();
    root.VScrollTo(root.VScrollPos() + (key == VK_UP ? -1 : 1), true);
    return true;
  }
  if ((key == VK_BACK || key == VK_DELETE) && data.SelectionExists(false)) {
    if (CanChangeDoc(false)) {
      data.DeleteSelection();
      data.InvalidateControl();
    }
    return true;
  }
  if (key == VK_CONTROL) {
    if ((EditorOptions & rpoCtrlJumps) != 0 && (data.GetDocumentFlags() & rpdfUseJumps) == 0) {
      data.BuildJumps(true);
      GenerateMouseMove();
    }
    return false;
  }
  if (IsViewKey(key)) return false;
  if (IsMovementKey(key)) return MovementKeyDown(key, shift);
  return EditingKeyDown(key, shift);
}

void TCustomRichPaneEdit::KeyUp(uint16_t key, TShiftState /*shift*/) {
  if (key != VK_CONTROL) return;
  TRPEditRPData& data = EditData();
  if ((data.GetDocumentFlags() & rpdfUseJumps) == 0 || ReadOnly()) return;
  data.ClearJumps();
  GenerateMouseMove();
}

bool TCustomRichPaneEdit::MovementKeyDown(uint16_t key, TShiftState shift) {
  TRPEditRPData& data = EditData();
  if (data.CaretDrawItemNo < 0) return true;
  const bool selecting = Has(shift, ssShift);
  const bool ctrl = Has(shift, ssCtrl);
  const bool hadSelection = data.SelectionExists(false);
  const int32_t caretItem = data.DrawItems[data.CaretDrawItemNo]->ItemNo;
  RecheckModifiedWord(data, caretItem);
  if (!selecting && hadSelection) data.Deselect(false);
  if (selecting && !hadSelection) data.CollapseSelectionToCaret();
  bool blocked = false;
  TRPGetOutDirection direction = rpdLeft;
  const bool rightToLeft = BiDiMode() == rpbdRightToLeft;
  switch (key) {
    case VK_PRIOR:
      data.MoveCaretPageUp();
      break;
    case VK_NEXT:
      data.MoveCaretPageDown();
      break;
    case VK_HOME:
    case VK_END: {
      // The caret could not go on when it stands where it stood.
      const int32_t drawNo = data.CaretDrawItemNo, index = data.CaretIndex;
      if (key == VK_HOME)
        data.MoveCaretHome(ctrl);
      else
        data.MoveCaretEnd(ctrl);
      blocked = data.CaretDrawItemNo == drawNo && data.CaretIndex == index;
      direction = key == VK_HOME ? rpdTop : rpdBottom;
      break;
    }
    case VK_LEFT:
    case VK_RIGHT:
      if ((key == VK_LEFT) != rightToLeft) {
        blocked = data.MoveCaretLeft(selecting, ctrl);
        direction = rpdLeft;
      } else {
        blocked = data.MoveCaretRight(selecting, ctrl);
        direction = rpdRight;
      }
      break;
    case VK_UP:
      blocked = data.MoveCaretUp(selecting, ctrl);
      direction = rpdUp;
      break;
    default:
      blocked = data.MoveCaretDown(selecting, ctrl);
      direction = rpdDown;
      break;
  }
  if (selecting) data.ExtendSelectionToCaret();
  if (hadSelection || selecting) {
    if (!selecting) data.AfterSelectionChange(true);
    data.InvalidateControl();
  }
  if (blocked && OnCaretGetOut) OnCaretGetOut(this, direction);
  return true;
}

bool TCustomRichPaneEdit::EditingKeyDown(uint16_t key, TShiftState shift) {
  TRPEditRPData& data = EditData();
  const bool ctrl = Has(shift, ssCtrl);
  if (IsCharacterKey(key) && !Has(shift, ssAlt | ssCtrl)) {
    if (!data.SelectionExists(false)) return false;
    if (!CanChangeDoc(false)) return true;  // the character is dropped
    data.DeleteSelection();
    return false;
  }
  switch (key) {
    case VK_BACK:
      data.DeleteCharBackward(ctrl, false, false);
      return true;
    case VK_DELETE:
      data.DeleteCharForward(ctrl, false);
      return true;
    case VK_TAB:
      if (!ctrl) return false;
      if (Host()) Host()->PostCall([this] { KeyPress('\t'); });
      return true;
    case VK_RETURN: {
      const bool soft = Has(shift, ssShift);
      if (soft && (EditorOptions & rpoDoNotWantShiftReturns) != 0) return false;
      if (CanChangeDoc(false)) {
        data.InsertParagraphBreak(soft, false);
        data.InvalidateControl();
      }
      return true;
    }
    default:
      return false;
  }
}

// --- Characters -------------------------------------------------------------------------------------

bool TCustomRichPaneEdit::KeyPress(char key) {
  TRPEditRPData& data = EditData();
  if (key == '\r') {
    if ((EditorOptions & rpoDoNotWantReturns) != 0) data.Beep();
    return false;
  }
  const auto code = static_cast<uint8_t>(key);
  if ((code < 32 && key != '\t') || code == 127) return false;
  FTyping = true;
  const bool can = CanChangeDoc(false);
  FTyping = false;
  if (!can) return true;
  if (data.InplaceEditedItem || GetInplaceEditor()) {
    data.Beep();
    return true;
  }
  data.DeleteSelection();
  if (key == '\t') {
    const TRPStyle* style = Style();
    if (style && style->SpacesInTab > 0)
      InsertText(AnsiString(static_cast<size_t>(style->SpacesInTab), ' '));
    else
      InsertTab();
    return true;
  }
  data.TypeAnsiChar(key);
  return true;
}

void TCustomRichPaneEdit::TypeUnicode(const WideString& text) {
  TRPEditRPData& data = EditData();
  if (data.InplaceEditedItem || GetInplaceEditor()) {
    data.Beep();
    return;
  }
  FTyping = true;
  const bool can = CanChangeDoc(false);
  FTyping = false;
  if (!can) return;
  data.DeleteSelection();
  if (text.size() == 1)
    data.TypeText(WideToRawUnicode(text), 0);
  else
    InsertTextW(text);
}

bool TCustomRichPaneEdit::KeyText(const WideString& text, TShiftState shift) {
  if (text.empty()) return false;
  // Ctrl or Alt with a key types nothing (shortcuts and menu keys), unless both are held
  // (AltGr as some platforms report it) and made the character.
  if (Has(shift, ssCtrl) != Has(shift, ssAlt)) return false;
  const WideChar first = text[0];
  if (text.size() == 1 && (first < 32 || first == 127)) return first == '\t' ? KeyPress('\t') : KeyPress(char(first));
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) return inner.KeyText(text, shift);
  TRPEditRPData& data = EditData();
  const TRPStyle* style = Style();
  if (!style) return false;
  const auto currentIsUnicode = [&] {
    const int32_t styleNo = data.CurTextStyleNo;
    return styleNo >= 0 && styleNo < style->TextStyles().Count() && style->TextStyles()[styleNo]->Unicode;
  };
  if (RPUnicodeKeyboardInput) EnsureUnicodeStyle();
  if (!currentIsUnicode() && text.size() == 1) {
    // A character of the style's code page goes the 8-bit way.
    const AnsiString ansi = RawUnicodeToAnsi(data.GetStyleCodePage(data.CurTextStyleNo), WideToRawUnicode(text));
    if (ansi.size() == 1 && (ansi[0] != '?' || first == u'?')) return KeyPress(ansi[0]);
  }
  if (!currentIsUnicode() && !EnsureUnicodeStyle()) {
    data.Beep();
    return true;
  }
  TypeUnicode(text);
  return true;
}
