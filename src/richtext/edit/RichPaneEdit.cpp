// The editor control: construction, read-only state, change control, current styles,
// undo and redo, focus and the answers of a standard edit control.
#include "richtext/edit/RichPaneEdit.h"

#include "richtext/edit/RPEditWindow.h"
#include "richtext/edit/RPTInplace.h"

#include "richtext/interchange/RPRTFExport.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableItem.h"

TCustomRichPaneEdit::TCustomRichPaneEdit(TComponent* owner) : TCustomRichPaneEdit(owner, &TRPEditRPData::Create) {}

TCustomRichPaneEdit::TCustomRichPaneEdit(TComponent* owner, TDataFactory createData)
    : TCustomRichPane(owner, createData) {
  // Hyperlinks work only in read-only mode or with Ctrl (rpoCtrlJumps).
  DocumentFlags &= static_cast<TRPDocumentFlags>(~rpdfUseJumps);
  RPData().TabNavigation = rptnNone;
  Cursor = crIBeam;
  LiveSpellingMode = rplspOnChange;
  // The arrows and pages move the caret instead of the view.
  KeyboardScroll = false;
  VScrollDisableNoScroll = true;
  // Insertion reads RTF (the native format comes with the library's start-up); table cells
  // are edited in place.
  InstallTableInplaceEditor();
  RichPaneRTFReadProperties(*this);
}

TCustomRichPaneEdit::~TCustomRichPaneEdit() { MarkDestroying(); }

// --- Read-only, undo limit and tab navigation --------------------------------------------------

void TCustomRichPaneEdit::SetReadOnly(bool value) {
  FReadOnly = value;
  TRPEditRPData& data = EditData();
  if (value)
    data.BuildJumps(true);
  else if ((data.GetDocumentFlags() & rpdfUseJumps) != 0) {
    // ClearJumps leaves a read-only document alone: the flag is already clear here.
    data.ClearJumps();
  }
  TRPEditRPData& inner = InnermostEditor().EditData();
  if (inner.CaretDrawItemNo >= 0) inner.UpdateCaret(false, false, true);
  inner.InvalidateControl();
  data.InvalidateControl();
}

int32_t TCustomRichPaneEdit::GetUndoLimit() const { return EditData().UndoList->Limit; }

void TCustomRichPaneEdit::SetUndoLimit(int32_t value) {
  TRPEditRPData& data = EditData();
  data.UndoList->Limit = value;
  data.RedoList->Limit = value;
  // The oldest groups go beyond a smaller limit.
  if (value >= 0)
    for (TRPUndoList* list :
         {static_cast<TRPUndoList*>(data.UndoList.get()), static_cast<TRPUndoList*>(data.RedoList.get())})
      while (list->Count() > value) list->Delete(0);
}

void TCustomRichPaneEdit::SetTabNavigation(TRPTabNavigationType value) {
  if (value != rptnNone) throw ERichPaneError(errRPNotSupportedInEditor);
  RPData().TabNavigation = value;
}

// --- The editors of the nesting ------------------------------------------------------------------

TCustomRichPaneEdit& TCustomRichPaneEdit::InnermostEditor() {
  TCustomRichPaneEdit* editor = this;
  while (auto* inner = dynamic_cast<TCustomRichPaneEdit*>(editor->GetInplaceEditor())) editor = inner;
  return *editor;
}

TCustomRichPaneEdit& TCustomRichPaneEdit::RootEditor() {
  auto* root =
      dynamic_cast<TCustomRichPaneEdit*>(&static_cast<TRPEditRPData*>(EditData().GetAbsoluteRootData())->Control());
  return root ? *root : *this;
}

// --- Change control ----------------------------------------------------------------------------------

bool TCustomRichPaneEdit::CanChangeDoc(bool force) {
  TRPEditRPData& data = EditData();
  bool can = !ReadOnly() && Style() && (force || !data.GetMouseCaptureItem());
  if (can && RootEditor().OnChanging) RootEditor().OnChanging(&RootEditor(), can);
  if (!can) {
    data.Beep();
    return false;
  }
  if (TRPWordEnumThread* thread = LiveSpellingThread(); thread && !FTyping) {
    TRPEditRPData& inner = InnermostEditor().EditData();
    const int32_t caretItem = inner.CaretDrawItemNo >= 0 ? inner.DrawItems[inner.CaretDrawItemNo]->ItemNo : -1;
    if (caretItem >= 0) RecheckModifiedWord(inner, caretItem);
  }
  if (data.GetItemCount() == 0) data.EnsureNotEmpty();
  data.ClearSoftPageBreaks();
  return true;
}

void TCustomRichPaneEdit::ChangeDoc(bool clearRedo) {
  TRPEditRPData& data = EditData();
  data.UpdateResizer();
  Modified = true;
  data.ClearSoftPageBreaks();
  data.ClearJumps();
  if (clearRedo) data.RedoList->Clear();
  if (OnChange) OnChange(this);
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (data.UndoList->GroupModeCount == 0 && inner.EditData().UndoList->GroupModeCount == 0) {
    if (LiveSpellingThread()) {
      PauseLiveSpelling();
      ResumeLiveSpelling();
    } else if (LiveSpellingMode == rplspOnChange) {
      StartLiveSpelling();
    }
  }
  static_cast<TRichPaneRPData*>(data.GetAbsoluteRootData())->FreeSmartPopupButton();
}

// --- Current styles ---------------------------------------------------------------------------------

void TCustomRichPaneEdit::SetCurTextStyleNo(int32_t styleNo) {
  TCustomRichPaneEdit& inner = InnermostEditor();
  TRPEditRPData& data = inner.EditData();
  if (styleNo == data.CurTextStyleNo) return;
  data.CurTextStyleNo = styleNo;
  inner.CurTextStyleChanged();
}

void TCustomRichPaneEdit::SetCurParaStyleNo(int32_t paraNo) {
  TCustomRichPaneEdit& inner = InnermostEditor();
  TRPEditRPData& data = inner.EditData();
  if (paraNo == data.CurParaStyleNo) return;
  data.CurParaStyleNo = paraNo;
  inner.CurParaStyleChanged();
}

void TCustomRichPaneEdit::CurTextStyleChanged() {
  if (!Style() || FDestroying || (EditData().GetState() & rpstNoStyleEvents) != 0) return;
  TCustomRichPaneEdit& root = RootEditor();
  if (root.OnCurTextStyleChanged) root.OnCurTextStyleChanged(&root);
}

void TCustomRichPaneEdit::CurParaStyleChanged() {
  if (!Style() || FDestroying || (EditData().GetState() & rpstNoStyleEvents) != 0) return;
  TCustomRichPaneEdit& root = RootEditor();
  if (root.OnCurParaStyleChanged) root.OnCurParaStyleChanged(&root);
}

int32_t TCustomRichPaneEdit::GetCurTextStyleNo() { return InnermostEditor().EditData().CurTextStyleNo; }

int32_t TCustomRichPaneEdit::GetCurParaStyleNo() { return InnermostEditor().EditData().CurParaStyleNo; }

int32_t TCustomRichPaneEdit::GetActualCurTextStyleNo() {
  TRPEditRPData& data = InnermostEditor().EditData();
  return data.ResolveStyleNo(data.CurTextStyleNo, data.CurParaStyleNo);
}

int32_t TCustomRichPaneEdit::GetCaretItemNo() { return EditData().GetCaretItemNo(); }

int32_t TCustomRichPaneEdit::GetCaretItemOffset() { return EditData().GetCaretOffset(); }

TCustomRPItemInfo* TCustomRichPaneEdit::GetCurrentItem() {
  TRPEditRPData& data = InnermostEditor().EditData();
  const int32_t itemNo = data.GetCaretItemNo();
  return itemNo >= 0 && itemNo < data.GetItemCount() ? data.GetItem(itemNo) : nullptr;
}

void TCustomRichPaneEdit::DoCaretMove() {
  if (FDestroying) return;
  AttachSmartPopupToCaret();
  TCustomRichPaneEdit& root = RootEditor();
  if (root.OnCaretMove) root.OnCaretMove(&root);
}

bool TCustomRichPaneEdit::ConvertTextStyle(int32_t styleNo, bool appliedToText, int32_t& newStyleNo, int32_t userData,
                                           int32_t paraNo) {
  if (FTextConversion) return FTextConversion(styleNo, appliedToText, userData, paraNo, newStyleNo);
  TCustomRichPaneEdit& root = RootEditor();
  if (!root.OnStyleConversion) return false;
  newStyleNo = styleNo;
  root.OnStyleConversion(&root, styleNo, userData, appliedToText, newStyleNo);
  return true;
}

bool TCustomRichPaneEdit::ConvertParaStyle(int32_t paraNo, int32_t userData, int32_t& newParaNo) {
  if (FParaConversion) return FParaConversion(paraNo, userData, newParaNo);
  TCustomRichPaneEdit& root = RootEditor();
  if (!root.OnParaStyleConversion) return false;
  newParaNo = paraNo;
  root.OnParaStyleConversion(&root, paraNo, userData, false, newParaNo);
  return true;
}

void TCustomRichPaneEdit::SetPointerCursor(TCursor cursor) {
  if (Host()) Host()->SetCursor(cursor == crDefault ? Cursor : cursor);
}

// --- Undo and redo ----------------------------------------------------------------------------------

void TCustomRichPaneEdit::BeginUndoGroup(TRPUndoKind kind) { InnermostEditor().EditData().BeginUndoGroup(kind, true); }

void TCustomRichPaneEdit::SetUndoGroupMode(bool on) { InnermostEditor().EditData().SetUndoGroupMode(on); }

void TCustomRichPaneEdit::ClearUndo() {
  for (TCustomRichPaneEdit* editor : {this, &InnermostEditor()}) {
    editor->EditData().UndoList->Clear();
    editor->EditData().RedoList->Clear();
  }
}

bool TCustomRichPaneEdit::CanUndo() {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this && inner.CanUndo()) return true;
  return EditData().UndoList->Count() > 0;
}

bool TCustomRichPaneEdit::CanRedo() {
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this && inner.CanRedo()) return true;
  return EditData().RedoList->Count() > 0;
}

void TCustomRichPaneEdit::Undo() { PlayUndo(false); }

void TCustomRichPaneEdit::Redo() { PlayUndo(true); }

void TCustomRichPaneEdit::PlayUndo(bool redo) {
  TRPEditRPData& data = EditData();
  if (ReadOnly()) {
    data.Beep();
    return;
  }
  TCustomRichPaneEdit& inner = InnermostEditor();
  if (&inner != this) {
    if (redo ? inner.EditData().RedoList->Count() > 0 : inner.EditData().UndoList->Count() > 0) {
      inner.PlayUndo(redo);
      return;
    }
    const TRPUndoList& list = redo ? static_cast<TRPUndoList&>(*data.RedoList) : *data.UndoList;
    auto* cellEditor = dynamic_cast<TRPTableInplaceEdit*>(GetInplaceEditor());
    if (cellEditor && cellEditor->Table() && list.Count() > 0 && list.LastGroup()->KeepsInplaceEditor(data)) {
      // The group changes only the cell open in the editor: it plays there and the editor
      // stays. The editor's own steps join this document's lists first, so that they play
      // in their turn after the group.
      cellEditor->Table()->HandOverInplaceUndo();
      PlayOwnUndo(redo);
      return;
    }
    if (list.Count() > 0 && Host()) {
      // The cell editor closes first; the command runs once the current event is done.
      Host()->PostCall([this, redo] {
        EditData().ReleaseSubItems(nullptr);
        PlayOwnUndo(redo);
      });
      return;
    }
  }
  PlayOwnUndo(redo);
}

void TCustomRichPaneEdit::PlayOwnUndo(bool redo) {
  TRPEditRPData& data = EditData();
  TRPUndoList& list = redo ? static_cast<TRPUndoList&>(*data.RedoList) : *data.UndoList;
  if (list.Count() == 0) {
    data.Beep();
    return;
  }
  if (LiveSpellingThread()) LiveSpellingThread()->Stop(true);
  if (redo)
    list.Redo(data);
  else
    list.Undo(data);
  ChangeDoc(false);
  // The focus goes to the editor of the cell still open, else to this one.
  if (IRPWindowHost* focus = InnermostEditor().Host(); Visible && focus) focus->SetFocus();
}

// --- What a standard edit control answers ---------------------------------------------------------

TRPDialogCode TCustomRichPaneEdit::GetDialogCode() const {
  TRPDialogCode code = rpdcWantArrows | rpdcWantChars;
  if ((EditorOptions & rpoDoNotWantReturns) == 0) code |= rpdcWantAllKeys;
  if ((EditorOptions & rpoWantTabs) != 0) code |= rpdcWantTab;
  return code;
}

bool TCustomRichPaneEdit::EditUndo() {
  const bool can = CanUndo();
  Undo();
  return can;
}

bool TCustomRichPaneEdit::EditRedo() {
  const bool can = CanRedo();
  if (can) Redo();
  return can;
}

// --- Saving -------------------------------------------------------------------------------------------

bool TCustomRichPaneEdit::SaveWithJumps(const std::function<bool()>& save) {
  TRPEditRPData& data = EditData();
  if ((data.GetDocumentFlags() & rpdfSaveJumps) == 0) return save();
  data.BuildJumps(false);
  bool saved = false;
  try {
    saved = save();
  } catch (...) {
    data.ClearJumps();
    throw;
  }
  data.ClearJumps();
  return saved;
}

bool TCustomRichPaneEdit::SaveRTFToStream(TStream& stream, bool selectionOnly) {
  return SaveWithJumps([&] { return ::SaveRTFToStream(*this, stream, selectionOnly); });
}

bool TCustomRichPaneEdit::SaveHTMLToStream(TStream& stream, const TRPHTMLExportParams& params) {
  return SaveWithJumps([&] { return ::SaveHTMLToStream(EditData(), stream, params); });
}

bool TCustomRichPaneEdit::SaveHTMLCSSToStream(TStream& stream, const TRPHTMLExportParams& params) {
  return SaveWithJumps([&] { return ::SaveHTMLCSSToStream(EditData(), stream, params); });
}

// --- Focus and events ---------------------------------------------------------------------------------

void TCustomRichPaneEdit::FocusEnter(bool byKeyboard, bool backward) {
  TCustomRichPane::FocusEnter(byKeyboard, backward);
  TRPEditRPData& data = EditData();
  if (data.GetItemCount() == 0) data.EnsureNotEmpty();
  data.SetStateFlag(rpstCaretHidden, false);
  if (data.CaretDrawItemNo >= 0) data.UpdateCaret(false, false, true);
  data.InvalidateControl();
}

void TCustomRichPaneEdit::FocusExit() {
  TCustomRichPane::FocusExit();
  if (FDestroying) return;
  TRPEditRPData& data = EditData();
  data.ClearJumps();
  // A cell editor's document takes its editable parent out of hyperlink mode too.
  if (!FReadOnly)
    if (auto* parent = dynamic_cast<TRPEditRPData*>(data.GetParentData())) parent->ClearJumps();
  GenerateMouseMove();
  if (Host()) {
    Host()->HideCaret();
    Host()->DestroyCaret();
  }
  data.CaretHeight = 0;
}

void TCustomRichPaneEdit::PostWhileAlive(std::function<void()> call) {
  IRPWindowHost* host = Host();
  if (!host) {
    call();
    return;
  }
  host->PostCall([alive = std::weak_ptr<bool>(FAlive), call = std::move(call)] {
    if (alive.lock()) call();
  });
}

void TCustomRichPaneEdit::AssignEvents(const TCustomRichPane& source) {
  TCustomRichPane::AssignEvents(source);
  const auto* editor = dynamic_cast<const TCustomRichPaneEdit*>(&source);
  if (!editor) return;
  OnStyleConversion = editor->OnStyleConversion;
  OnParaStyleConversion = editor->OnParaStyleConversion;
  OnPaste = editor->OnPaste;
  OnCurParaStyleChanged = editor->OnCurParaStyleChanged;
  OnCurTextStyleChanged = editor->OnCurTextStyleChanged;
  OnCaretMove = editor->OnCaretMove;
  OnDropFiles = editor->OnDropFiles;
  OnOleDragEnter = editor->OnOleDragEnter;
  OnOleDragLeave = editor->OnOleDragLeave;
  OnOleDragOver = editor->OnOleDragOver;
  OnOleDrop = editor->OnOleDrop;
}

void TCustomRichPaneEdit::DoVScrolled() {
  TCustomRichPane::DoVScrolled();
  AfterScroll();
}

void TCustomRichPaneEdit::DoHScrolled() {
  TCustomRichPane::DoHScrolled();
  AfterScroll();
}

void TCustomRichPaneEdit::AfterScroll() {
  TRPEditRPData& data = EditData();
  if (data.CaretDrawItemNo >= 0) data.UpdateCaret(false, false, true);
  GenerateMouseMove();
  AttachSmartPopupToCaret();
}

void TCustomRichPaneEdit::AttachSmartPopupToCaret() {
  auto* root = dynamic_cast<TRichPaneRPData*>(EditData().GetAbsoluteRootData());
  if (!root || !root->SmartPopupButton()) return;
  TRPEditRPData& inner = InnermostEditor().EditData();
  const int32_t itemNo = inner.GetCaretItemNo();
  if (itemNo < 0 || itemNo >= inner.GetItemCount()) return;
  TCustomRPItemInfo* item = inner.GetItem(itemNo);
  if (root->SmartPopupData() != &inner || root->SmartPopupItem() != item) root->SetSmartPopupTarget(&inner, item);
}

// --- The editor with its window ----------------------------------------------------------------------

TRichPaneEdit::TRichPaneEdit(TComponent* owner) : TRichPaneEdit(owner, &TRPEditRPData::Create) {}

TRichPaneEdit::TRichPaneEdit(TComponent* owner, TDataFactory createData)
    : TCustomRichPaneEdit(owner, createData), FWindow(std::make_unique<TRPEditWindow>(nullptr, *this)) {}

TRichPaneEdit::~TRichPaneEdit() {
  MarkDestroying();
  StopLiveSpelling();
  Destroying();
  Clear();
  FWindow.reset();
}
