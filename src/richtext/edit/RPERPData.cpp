// The editable document data: its record, lifecycle, formatting with the caret, hyperlink
// mode, the drop caret and the recording control.
#include "richtext/edit/RPERPData.h"

#include <algorithm>

#include "platform/base/ScopeExit.h"
#include "richtext/edit/RPERPDataEditing.h"
#include "richtext/edit/RPTableEditHost.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

int32_t RPCaretWidth = 1;
int32_t RPCaretExtraHeight = 0;
int32_t RPMaxCaretHeight = 1000;

void TRPCharPos::Assign(const TPersistent& source) {
  if (const auto* pos = dynamic_cast<const TRPCharPos*>(&source)) {
    X = pos->X;
    DrawItemNo = pos->DrawItemNo;
    Offset = pos->Offset;
  }
}

TRPEditRPData::TRPEditRPData(TCustomRichPane& control) : TRichPaneRPData(control) {
  RegisterTableEditing();
  // The lists belong to the absolute root's data: a cell editor's lists are pointed at
  // its host's later.
  auto* root = dynamic_cast<TRPEditRPData*>(GetAbsoluteRootData());
  if (!root) root = this;
  UndoList = std::make_unique<TRPUndoList>(root);
  RedoList = std::make_unique<TRPRedoList>(root);
  SkipNextFormat = false;
}

TRPEditRPData::~TRPEditRPData() {
  SetStateFlag(rpstDestroying, true);
  CaretPositions.Clear();
  // The records free the items they keep while the document still answers for them.
  UndoList.reset();
  RedoList.reset();
}

TRPTableEditHost& TRPEditRPData::TableEditHost() {
  if (!FTableEditHost) FTableEditHost = std::make_unique<TRPTableEditHost>(*this);
  return *FTableEditHost;
}

std::unique_ptr<TRichPaneRPData> TRPEditRPData::Create(TCustomRichPane& control) {
  return std::make_unique<TRPEditRPData>(control);
}

// --- Answers from the control ----------------------------------------------------------------

IRPEditorControl* TRPEditRPData::Editor() const { return dynamic_cast<IRPEditorControl*>(&Control()); }

bool TRPEditRPData::IsReadOnly() const {
  const IRPEditorControl* editor = Editor();
  return editor && editor->GetReadOnly();
}

TRPEditorOptions TRPEditRPData::GetEditorOptions() const {
  const IRPEditorControl* editor = Editor();
  return editor ? editor->GetEditorOptions() : rpoEditorDefaults;
}

void TRPEditRPData::DoCaretMove() {
  if (IRPEditorControl* editor = Editor()) editor->DoCaretMove();
}

void TRPEditRPData::SetCurTextStyle(int32_t styleNo) {
  if (IRPEditorControl* editor = Editor())
    editor->SetCurTextStyleNo(styleNo);
  else
    CurTextStyleNo = styleNo;
}

void TRPEditRPData::SetCurParaStyle(int32_t paraNo) {
  if (IRPEditorControl* editor = Editor())
    editor->SetCurParaStyleNo(paraNo);
  else
    CurParaStyleNo = paraNo;
}

bool TRPEditRPData::IsDestroying() const {
  for (const TCustomRPData* data = this; data; data = data->GetParentData())
    if ((data->GetState() & rpstDestroying) != 0) return true;
  return false;
}

// --- Lifecycle -------------------------------------------------------------------------------

void TRPEditRPData::ClearFormatting() {
  CaretPositions.Clear();
  CaretDrawItemNo = -1;
  CaretIndex = -1;
  if (Resizer) RemoveXorDrawHandler(Resizer.get());
  Resizer.reset();
  RememberedCaretTag = TRPTag();
  SetStateFlag(rpstKeepCaretTag, false);
  TRichPaneRPData::ClearFormatting();
}

void TRPEditRPData::Clear() {
  TRichPaneRPData::Clear();
  if (IRPEditorControl* editor = Editor()) editor->SetModified(false);
  UndoList->Clear();
  RedoList->Clear();
  PrevTextStyleNo = 0;
  SetCurTextStyle(0);
  SetCurParaStyle(0);
  SetStateFlag(rpstFreshFormat, true);
}

void TRPEditRPData::AddEmptyItem() {
  const TRPStyle* style = GetStyleSheet();
  auto item = CreateItemByStyleNo(CurTextStyleNo, this);
  if (!item) return;
  item->ParaNo = CurParaStyleNo;
  if (style && style->IsTextStyleUnicode(ResolveStyleNo(CurTextStyleNo, CurParaStyleNo)))
    item->ItemOptions |= rpioUnicode;
  AddItemAsIs({}, std::move(item));
}

void TRPEditRPData::ResetSpellCheckFrom(int32_t itemNo, int32_t offset, bool resetItem) {
  if (itemNo < 0 || itemNo >= GetItemCount()) return;
  if (resetItem) {
    const TEditSpellingPause pause(*this);
    GetItem(itemNo)->ResetSpellCheck(offset - 1);
  }
  LiveSpellingResetFrom(*this, itemNo, offset);
}

void TRPEditRPData::EnsureNotEmpty() {
  if (GetItemCount() > 0 || !GetStyleSheet()) return;
  AddEmptyItem();
  FormatDocument();
  ResetCaretToStart();
}

void TRPEditRPData::ResetCaretToStart() {
  CaretDrawItemNo = DrawItems.Count() > 0 ? 0 : -1;
  if (CaretDrawItemNo < 0) {
    CaretPositions.Clear();
    CaretIndex = -1;
    return;
  }
  BuildCaretLine(GetDrawItemStartOffset(0) - 2);
  if (CaretIndex >= 0 && CaretIndex < CaretPositions.Count()) CaretIndex = 0;
}

void TRPEditRPData::Format(bool onlyResized, bool forceFormat, bool noScroll, int32_t depth, TCanvas* canvas,
                           bool onlyTail, bool itemFlag1, bool itemFlag2) {
  if ((GetState() & rpstNoCaretUpdate) != 0) return;
  if (depth > 0) {
    // The pass asking itself again for a new size: the caret waits for the outer pass.
    TRichPaneRPData::Format(onlyResized, forceFormat, noScroll, depth, canvas, onlyTail, itemFlag1, itemFlag2);
    return;
  }
  if (GetItemCount() == 0 && GetStyleSheet()) AddEmptyItem();
  if (SkipNextFormat) {
    SkipNextFormat = false;
    return;
  }
  const bool caretHandling = !onlyTail && GetStyleSheet();
  int32_t keptItemNo = -1, keptOffs = 0;
  if (caretHandling && (onlyResized || noScroll) && CaretDrawItemNo >= 0 && CaretIndex >= 0 &&
      CaretIndex < CaretPositions.Count()) {
    const TRPCharPos& pos = CaretPositions[CaretIndex];
    if (pos.DrawItemNo >= 0 && pos.DrawItemNo < DrawItems.Count())
      DrawItemToItemPos(pos.DrawItemNo, pos.Offset, keptItemNo, keptOffs);
  }
  TRichPaneRPData::Format(onlyResized, forceFormat, noScroll, depth, canvas, onlyTail, itemFlag1, itemFlag2);
  if (caretHandling) {
    if (keptItemNo >= 0 && keptItemNo < GetItemCount()) {
      SetCaretAtItemPos(keptItemNo, keptOffs);
    } else {
      StoreDrawSelection(-1, 0, -1, 0);
      ResetCaretToStart();
      if (CaretDrawItemNo >= 0) SkipListMarker(true);
    }
    UpdateResizer();
    UpdateCaret(false, false, (GetState() & rpstFreshFormat) == 0);
  }
  if (!onlyTail) SetStateFlag(rpstFreshFormat, false);
}

// --- Hyperlink mode --------------------------------------------------------------------------

int32_t TRPEditRPData::BuildJumps(bool force) {
  if ((!force && IsReadOnly()) || GetMouseCaptureItem()) return static_cast<int32_t>(Jumps.size());
  TCustomRPFormattedData::ClearJumps();
  SetDocumentFlags(GetDocumentFlags() | rpdfUseJumps);
  int32_t jumpNo = 0;
  CollectJumps(jumpNo, nullptr);
  SetStateFlag(rpstJumpHighlighted, false);
  InvalidateControl();
  return static_cast<int32_t>(Jumps.size());
}

void TRPEditRPData::ClearJumps() {
  if (IsReadOnly() || GetMouseCaptureItem() || (GetDocumentFlags() & rpdfUseJumps) == 0) return;
  TCustomRPFormattedData::ClearJumps();
  SetDocumentFlags(GetDocumentFlags() & ~rpdfUseJumps);
  SetStateFlag(rpstJumpHighlighted, false);
  UpdateCaret(false, false, true);
  InvalidateControl();
}

// --- Inner selections ------------------------------------------------------------------------

void TRPEditRPData::SetInnerSelectionItem(TCustomRPItemInfo* item) {
  const bool changed = item != GetInnerSelectionItem();
  TRichPaneRPData::SetInnerSelectionItem(item);
  if (changed) DoCaretMove();
}

void TRPEditRPData::ReleaseSubItems(TCustomRPItemInfo* exceptItem) {
  TRichPaneRPData::ReleaseSubItems(exceptItem);
  if (InplaceEditedItem && !IsDestroying()) DoCaretMove();
}

// --- The drop caret --------------------------------------------------------------------------

TCustomRPFormattedData::TRPDragDropCaretInfo* TRPEditRPData::GetDragDropCaretInfo() {
  if ((GetDocumentFlags() & rpdfOwnDragCaret) != 0) return FDragCaret.get();
  auto* root = dynamic_cast<TRPEditRPData*>(GetAbsoluteRootData());
  return root && root != this ? root->GetDragDropCaretInfo() : nullptr;
}

void TRPEditRPData::AddRefDragCaret() {
  if (!FDragCaret) FDragCaret = std::make_unique<TRPDragDropCaretInfo>();
  ++FDragCaretRefs;
}

void TRPEditRPData::ReleaseDragCaret() {
  if (FDragCaretRefs <= 0) return;
  if (--FDragCaretRefs == 0) FDragCaret.reset();
}

// --- Recording -------------------------------------------------------------------------------

TRPUndoList* TRPEditRPData::GetActiveUndoList() const {
  switch (UndoRecording) {
    case 1:
      return UndoList->Limit == 0 ? nullptr : UndoList.get();
    case 2:
      return RedoList.get();
    default:
      return nullptr;
  }
}

bool TRPEditRPData::BeginUndoGroup(TRPUndoKind kind, bool finishPending) {
  return BeginUndoGroupWithCaption(kind, {}, finishPending);
}

bool TRPEditRPData::BeginUndoGroupWithCaption(TRPUndoKind kind, const AnsiString& caption, bool finishPending) {
  if (finishPending) FinishCurrentItemOperation();
  const int32_t itemNo = CaretDrawItemNo >= 0 ? GetCaretItemNo() : -1;
  const bool accepted = UndoList->BeginGroup(kind, caption, GetCaretOffset(), itemNo);
  UndoRecording = accepted ? 1 : 0;
  return accepted;
}

bool TRPEditRPData::BeginRedoGroup(TRPUndoKind kind, const AnsiString& caption) {
  const int32_t itemNo = CaretDrawItemNo >= 0 ? GetCaretItemNo() : -1;
  const bool accepted = RedoList->BeginGroup(kind, caption, GetCaretOffset(), itemNo);
  UndoRecording = accepted ? 2 : 0;
  return accepted;
}

void TRPEditRPData::SetUndoGroupMode(bool entering) { UndoList->SetGroupMode(entering); }

void TRPEditRPData::FinishCurrentItemOperation() {
  if ((GetState() & rpstFinishingItemOp) != 0) return;
  TCustomRPItemInfo* item = InplaceEditedItem ? InplaceEditedItem : GetInnerSelectionItem();
  if (!item) return;
  SetStateFlag(rpstFinishingItemOp, true);
  const TScopeExit done([this] { SetStateFlag(rpstFinishingItemOp, false); });
  item->FinishPendingOperation();
}

void TRPEditRPData::AddModifyItemTerminator(int32_t itemNo, bool opening) {
  TRPUndoList* list = GetActiveUndoList();
  if (!list) return;
  auto record = std::make_unique<TRPUndoModifyItemTerminator>();
  record->ItemNo = itemNo;
  record->Opening = opening;
  list->AddInfo(std::move(record));
}

void TRPEditRPData::AddReformatRange(int32_t first, int32_t last, bool wholeRoot) {
  TRPUndoList* list = GetActiveUndoList();
  if (!list) return;
  auto record = std::make_unique<TRPUndoReformateRange>();
  record->ItemNo = first;
  record->LastAffectedItemNo = last;
  record->FullReformat = wholeRoot;
  list->AddInfo(std::move(record));
}
