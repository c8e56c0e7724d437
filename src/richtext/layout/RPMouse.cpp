// The mouse over a formatted document: selecting, hyperlinks and their hover, the
// cursor, item hints, a press that drags the selection out, capture by an item, and the
// keyboard focus among items.
#include <algorithm>
#include <cstdlib>

#include "platform/base/CodePages.h"
#include "platform/base/ScopeExit.h"
#include "richtext/layout/RPDocumentView.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/model/RPStyle.h"

namespace {

// How far (pixels, either way) the mouse moves with the left button held before a press
// inside the selection drags it out.
constexpr int32_t DragStartDistance = 4;

}  // namespace

TCustomRPFormattedData& TCustomRPFormattedData::Root() {
  auto* root = dynamic_cast<TCustomRPFormattedData*>(GetRootData());
  return root ? *root : *this;
}

const TCustomRPFormattedData& TCustomRPFormattedData::Root() const {
  return const_cast<TCustomRPFormattedData*>(this)->Root();
}

IRPDocumentView* TCustomRPFormattedData::View() const {
  return const_cast<TCustomRPFormattedData&>(Root()).GetDocumentView();
}

void TCustomRPFormattedData::SetViewCursor(TCursor cursor) const {
  if (IRPDocumentView* view = View()) view->SetCursor(cursor);
}

TCursor TCustomRPFormattedData::GetNormalCursor() const {
  const TCustomRPFormattedData& root = Root();
  return &root == this ? crDefault : root.GetNormalCursor();
}

void TCustomRPFormattedData::ClampToDocument(int32_t& x, int32_t& y) const {
  x = std::max(x, 0);
  y = std::clamp(y, 0, std::max(DocumentHeight - 1, 0));
}

TRPJumpInfo* TCustomRPFormattedData::FindJumpAt(int32_t x, int32_t y) const {
  for (const auto& area : Jumps)
    if (x >= area->Left && x < area->Left + area->Width && y >= area->Top && y < area->Top + area->Height)
      return area.get();
  return nullptr;
}

// --- Events, passed to the root ------------------------------------------------------------

void TCustomRPFormattedData::DoRPMouseDown(TMouseButton button, TShiftState shift, int32_t itemNo, int32_t x,
                                           int32_t y) {
  if (TCustomRPFormattedData& root = Root(); &root != this) root.DoRPMouseDown(button, shift, itemNo, x, y);
}

void TCustomRPFormattedData::DoRPMouseUp(TMouseButton button, TShiftState shift, int32_t itemNo, int32_t x, int32_t y) {
  if (TCustomRPFormattedData& root = Root(); &root != this) root.DoRPMouseUp(button, shift, itemNo, x, y);
}

void TCustomRPFormattedData::DoRPDblClick(const WideString& word, int32_t styleNo) {
  if (TCustomRPFormattedData& root = Root(); &root != this) root.DoRPDblClick(word, styleNo);
}

void TCustomRPFormattedData::DoRPRightClick(const WideString& word, int32_t styleNo, int32_t screenX, int32_t screenY) {
  if (TCustomRPFormattedData& root = Root(); &root != this) root.DoRPRightClick(word, styleNo, screenX, screenY);
}

void TCustomRPFormattedData::ExecuteItemJump(int32_t jumpId) {
  if (TCustomRPFormattedData& root = Root(); &root != this) root.ExecuteItemJump(jumpId);
}

bool TCustomRPFormattedData::IsRPDblClickAssigned() const {
  const TCustomRPFormattedData& root = Root();
  return &root != this && root.IsRPDblClickAssigned();
}

void TCustomRPFormattedData::DoItemHint(TCustomRPFormattedData& rpData, int32_t itemNo, WideString& hint) {
  if (TCustomRPFormattedData& root = Root(); &root != this) root.DoItemHint(rpData, itemNo, hint);
}

// --- Hints -----------------------------------------------------------------------------------

void TCustomRPFormattedData::ShowItemHint(TCustomRPFormattedData* rpData, int32_t itemNo) {
  TCustomRPFormattedData& root = Root();
  if (&root != this) {
    root.ShowItemHint(rpData, itemNo);
    return;
  }
  if ((GetOptions() & rpoShowItemHints) == 0) return;
  WideString hint;
  if (rpData && itemNo >= 0 && itemNo < rpData->GetItemCount()) {
    hint = AnsiToWide(rpData->GetItem(itemNo)->Hint, rpData->GetDefaultCodePage());
    DoItemHint(*rpData, itemNo, hint);
  }
  if (hint == FLastHint) return;
  FLastHint = hint;
  if (IRPDocumentView* view = View()) view->ActivateHint(hint);
}

// --- Moving ------------------------------------------------------------------------------------

void TCustomRPFormattedData::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  const TRPStyle* style = GetStyleSheet();
  if (!style) return;
  if (FMouseSelecting && (shift & ssLeft) == 0) {
    FMouseSelecting = FSelectingLines = false;
    EndMouseSelection();
    AfterSelectionChange(false);
  }
  const int32_t docX = x + GetHOffs(), docY = y + GetVOffs();
  EraseXorDrawing();
  // The figure follows the mouse whatever the move does.
  const TScopeExit moveFigure([this, x, y] { MoveXorDrawing(x, y); });
  if (FCaptureItem) {
    if (auto* mouse = dynamic_cast<IRPMouseItem*>(FCaptureItem))
      mouse->MouseMove(*this, IndexOfItem(FCaptureItem), shift, docX, docY);
    return;
  }
  if (FDragPending && (shift & ssLeft) != 0 &&
      (std::abs(x - FPressPoint.X) > DragStartDistance || std::abs(y - FPressPoint.Y) > DragStartDistance)) {
    FDragPending = false;
    StartDrag();
    return;
  }
  if (FMouseSelecting && !FWordSelectedByDblClick) {
    const bool changed = FSelectingLines ? SelectLinesToPoint(docX, docY) : SelectToPoint(docX, docY);
    if (changed) InvalidateControl();
  }
  if (docX < GetLeftMargin() && style->LineSelectCursor != crDefault && !FMouseSelecting &&
      GetBiDiMode() != rpbdRightToLeft) {
    SetViewCursor(static_cast<TCursor>(style->LineSelectCursor));
    return;
  }
  TRPJumpInfo* jump = HasFlag(rpdfUseJumps) ? FindJumpAt(docX, docY) : nullptr;
  if (jump) {
    SetViewCursor(jump->Cursor);
    if (jump->JumpNo != GetHoverJumpNo()) {
      const int32_t old = GetHoverJumpNo();
      SetHoverJumpNo(jump->JumpNo);
      if (old >= 0) InvalidateJumpRect(old);
      HoverJumpChanged(jump->JumpNo);
      auto* owner = static_cast<TCustomRPFormattedData*>(jump->RPData);
      const int32_t itemNo = owner->DrawItems[jump->DrawItemNo]->ItemNo;
      TCustomRPItemInfo* item = owner->GetItem(itemNo);
      if (auto* mouse = dynamic_cast<IRPMouseItem*>(item))
        mouse->MouseMove(*owner, itemNo, shift, docX, docY);
      else
        ShowItemHint(owner, itemNo);
      if (item->GetBoolValueEx(rpibqxHoverRepaint, style)) InvalidateJumpRect(jump->JumpNo);
    }
    return;
  }
  MouseLeave();
  const int32_t drawNo = GetDrawItemAtPos(docX, docY);
  bool handled = false;
  if (drawNo >= 0) {
    const int32_t itemNo = DrawItems[drawNo]->ItemNo;
    if (auto* mouse = dynamic_cast<IRPMouseItem*>(GetItem(itemNo)))
      handled = mouse->MouseMove(*this, itemNo, shift, docX, docY);
    else
      ShowItemHint(this, itemNo);
  } else {
    ShowItemHint(nullptr, -1);
  }
  if (!handled) {
    const bool overSelection = (shift & ssShift) == 0 && (GetOptions() & rpoDisallowDrag) == 0 && drawNo >= 0 &&
                               IsPointOnSelection(docX, docY, true);
    SetViewCursor(overSelection ? crArrow : GetNormalCursor());
  }
}

bool TCustomRPFormattedData::IsPointOnSelection(int32_t x, int32_t y, bool strict) {
  int32_t hitNo = -1, hitOffs = 0;
  FindDrawItemAtPos(x, y, hitNo, hitOffs, strict);
  if (hitNo >= 0 && IsDrawPosInSelection(hitNo, hitOffs, false)) return true;
  const int32_t drawNo = GetDrawItemAtPos(x, y);
  return drawNo >= 0 && !IsTextItem(DrawItems[drawNo]->ItemNo) && IsDrawPosInSelection(drawNo, 0, true) &&
         IsDrawPosInSelection(drawNo, 1, true);
}

void TCustomRPFormattedData::MouseLeave() {
  const int32_t old = GetHoverJumpNo();
  if (old < 0) return;
  ClearHover();
  InvalidateJumpRect(old);
}

// --- Pressing ----------------------------------------------------------------------------------

void TCustomRPFormattedData::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  const TRPStyle* style = GetStyleSheet();
  if (!style) return;
  const int32_t docX = x + GetHOffs(), docY = y + GetVOffs();
  if (FCaptureItem) {
    if (auto* mouse = dynamic_cast<IRPMouseItem*>(FCaptureItem))
      mouse->MouseDown(*this, IndexOfItem(FCaptureItem), button, shift, docX, docY);
    return;
  }
  const bool doubleClick = (shift & ssDouble) != 0;
  const int32_t drawNo = GetDrawItemAtPos(docX, docY);
  const int32_t itemNo = drawNo >= 0 ? DrawItems[drawNo]->ItemNo : -1;
  if (!doubleClick) {
    ReleaseSubItems(itemNo >= 0 ? GetItem(itemNo) : nullptr);
    if (IRPDocumentView* view = View()) view->SetFocus();
    FWordSelectedByDblClick = false;
  }
  bool handled = false;
  if (itemNo >= 0)
    if (auto* mouse = dynamic_cast<IRPMouseItem*>(GetItem(itemNo)))
      handled = mouse->MouseDown(*this, itemNo, button, shift, docX, docY);
  if (button == mbLeft) {
    const TRPJumpInfo* jump = FindJumpAt(docX, docY);
    FPressedJumpNo = jump ? jump->JumpNo : -1;
  }
  FDragPending = false;
  if (!handled && button == mbLeft && (GetOptions() & rpoAllowSelection) != 0 &&
      !(doubleClick && FWordSelectedByDblClick)) {
    if ((shift & ssShift) == 0 && docX >= GetLeftMargin() && SelectionExists(false) &&
        IsPointOnSelection(docX, docY, false) && InitDragging()) {
      // Dragged out once the mouse moves; a release first collapses the selection there.
      FDragPending = true;
      FPressPoint = TPoint{x, y};
    } else {
      const bool lines = docX < GetLeftMargin() && style->LineSelectCursor != crDefault &&
                         GetBiDiMode() != rpbdRightToLeft && (shift & ssShift) == 0;
      BeginMouseSelection(docX, docY, (shift & ssShift) != 0, lines);
      FMouseSelecting = true;
      FSelectingLines = lines;
      InvalidateControl();
    }
  }
  if (button == mbLeft && (GetOptions() & rpoSingleClick) != 0 && IsRPDblClickAssigned()) {
    WideString word;
    int32_t styleNo = 0, wordItemNo = -1, offs = 0;
    TCustomRPFormattedData* rpData = nullptr;
    if (GetWordAt(docX, docY, word, styleNo, wordItemNo, offs, rpData)) DoRPDblClick(word, styleNo);
  }
  DoRPMouseDown(button, shift, itemNo, docX, docY);
}

void TCustomRPFormattedData::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (!GetStyleSheet()) return;
  int32_t docX = x + GetHOffs(), docY = y + GetVOffs();
  if (FCaptureItem) {
    if (auto* mouse = dynamic_cast<IRPMouseItem*>(FCaptureItem))
      mouse->MouseUp(*this, IndexOfItem(FCaptureItem), button, shift, docX, docY);
    return;
  }
  ClampToDocument(docX, docY);
  if (FDragPending) {
    // Pressed inside the selection and released without dragging it: the selection
    // collapses where the mouse is.
    FDragPending = false;
    int32_t hitNo = -1, hitOffs = 0;
    FindDrawItemAtPos(docX, docY, hitNo, hitOffs, false);
    StoreSelection(hitNo, hitOffs, hitNo, hitOffs);
    AfterSelectionChange(false);
    InvalidateControl();
  }
  if (FMouseSelecting) {
    if (!FWordSelectedByDblClick) FSelectingLines ? SelectLinesToPoint(docX, docY) : SelectToPoint(docX, docY);
    FMouseSelecting = FSelectingLines = false;
    EndMouseSelection();
    AfterSelectionChange(false);
    InvalidateControl();
  }
  if (button == mbRight && (GetOptions() & rpoRClickDeselects) != 0) {
    int32_t hitNo = -1, hitOffs = 0;
    FindDrawItemAtPos(docX, docY, hitNo, hitOffs, false);
    if (hitNo >= 0 && !IsDrawPosInSelection(hitNo, hitOffs, true)) {
      StoreSelection(hitNo, hitOffs, hitNo, hitOffs);
      AfterSelectionChange(false);
      InvalidateControl();
    }
  }
  const int32_t drawNo = GetDrawItemAtPos(docX, docY);
  const int32_t itemNo = drawNo >= 0 ? DrawItems[drawNo]->ItemNo : -1;
  if (itemNo >= 0)
    if (auto* mouse = dynamic_cast<IRPMouseItem*>(GetItem(itemNo)))
      mouse->MouseUp(*this, itemNo, button, shift, docX, docY);
  DoRPMouseUp(button, shift, itemNo, docX, docY);
  if (button == mbRight) {
    WideString word;
    int32_t styleNo = 0, wordItemNo = -1, offs = 0;
    TCustomRPFormattedData* rpData = nullptr;
    GetWordAt(docX, docY, word, styleNo, wordItemNo, offs, rpData);
    TPoint screen{x, y};
    if (IRPDocumentView* view = View()) screen = view->ClientToScreen(screen);
    DoRPRightClick(word, styleNo, screen.X, screen.Y);
  }
  if (button == mbLeft) {
    const int32_t pressed = FPressedJumpNo;
    FPressedJumpNo = -1;
    const TRPJumpInfo* jump = FindJumpAt(docX, docY);
    if (pressed >= 0 && jump && jump->JumpNo == pressed && !SelectionExists(false)) ExecuteItemJump(pressed);
  }
}

void TCustomRPFormattedData::DblClick() {
  if (!GetStyleSheet()) return;
  TPoint point{0, 0};
  if (IRPDocumentView* view = View()) point = view->GetMousePos();
  const int32_t docX = point.X + GetHOffs(), docY = point.Y + GetVOffs();
  WideString word;
  int32_t styleNo = 0, itemNo = -1, offs = 0;
  TCustomRPFormattedData* rpData = nullptr;
  GetWordAt(docX, docY, word, styleNo, itemNo, offs, rpData);
  const TRPOptions options = GetOptions();
  if ((options & rpoDblClickSelectsWord) != 0 && (options & rpoAllowSelection) != 0) {
    int32_t drawNo = -1, drawOffs = 0;
    FindDrawItemAtPos(docX, docY, drawNo, drawOffs, false);
    if (drawNo >= 0) {
      int32_t wordStart = 0, wordEnd = 1;
      GetWordBounds(drawNo, drawOffs, wordStart, wordEnd);
      StoreSelection(drawNo, wordStart, drawNo, wordEnd);
      FWordSelectedByDblClick = true;
      FMouseSelecting = FSelectingLines = false;
      EndMouseSelection();
      AfterSelectionChange(false);
      InvalidateControl();
    }
    DoRPDblClick(word, styleNo);
  } else if ((options & rpoSingleClick) == 0) {
    DoRPDblClick(word, styleNo);
  }
}

bool TCustomRPFormattedData::GetWordAt(int32_t x, int32_t y, WideString& word, int32_t& styleNo, int32_t& itemNo,
                                       int32_t& offs, TCustomRPFormattedData*& rpData) {
  word.clear();
  styleNo = 0;
  itemNo = -1;
  offs = 0;
  rpData = nullptr;
  int32_t drawNo = -1, drawOffs = 0;
  FindDrawItemAtPos(x, y, drawNo, drawOffs, true);
  if (drawNo < 0) return false;
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (TCustomRPFormattedData* sub = SubDocumentAt(drawNo, x, y)) {
    const TPoint own = GetOrigin(), inner = sub->GetOrigin();
    return sub->GetWordAt(x + own.X - inner.X, y + own.Y - inner.Y, word, styleNo, itemNo, offs, rpData);
  }
  rpData = this;
  itemNo = d.ItemNo;
  styleNo = GetItemStyle(itemNo);
  if (!IsTextItem(itemNo)) {
    word = GetItemTextW(itemNo);
    return true;
  }
  int32_t wordStart = 0, wordEnd = 0;
  GetWordBounds(drawNo, drawOffs, wordStart, wordEnd);
  offs = d.Offs + drawOffs - 1;
  const WideString text = GetItemTextW(itemNo);
  const auto from = static_cast<size_t>(std::max(d.Offs + wordStart - 2, 0));
  word = text.substr(std::min(from, text.size()), static_cast<size_t>(std::max(wordEnd - wordStart, 0)));
  return true;
}

TCustomRPFormattedData* TCustomRPFormattedData::SubDocumentAt(int32_t drawNo, int32_t x, int32_t y) {
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (IsTextItem(d.ItemNo)) return nullptr;
  return dynamic_cast<TCustomRPFormattedData*>(GetItem(d.ItemNo)->GetSubRPDataAt(x - d.Left, y - d.Top));
}

// --- Scrolling and capture ---------------------------------------------------------------------

void TCustomRPFormattedData::ScrollRectIntoView(int32_t left, int32_t top, int32_t width, int32_t height) {
  const int32_t hOffs = GetHOffs();
  if (left < hOffs || left + width > hOffs + GetWidth()) HScrollTo(left - GetWidth() / 4);
  const int32_t v = GetVOffs(), h = GetHeight(), s = std::max(GetVSmallStep(), 1);
  const int32_t bottom = top + height;
  if (bottom > v + h - 2 * s && top < v + s) return;
  if (bottom > v + h)
    ScrollTo(bottom + s - h);
  else if (top < v)
    ScrollTo(top);
}

bool TCustomRPFormattedData::SetMouseCapture(TCustomRPItemInfo* item, int32_t& left, int32_t& top) {
  const int32_t itemNo = IndexOfItem(item);
  if (itemNo < 0 || !GetItemCoords(itemNo, left, top)) return false;
  FCaptureItem = item;
  return true;
}

void TCustomRPFormattedData::ReleaseMouseCapture(TCustomRPItemInfo* item) {
  if (FCaptureItem == item) FCaptureItem = nullptr;
}
