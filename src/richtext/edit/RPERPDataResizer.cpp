// The editable document data and its item resizer: when one is made, painting its
// handles, and the mouse dragging them.
#include <memory>

#include "richtext/edit/RPERPData.h"
#include "richtext/model/RPParaInfo.h"
#include "richtext/model/RPStyle.h"

void TRPEditRPData::UpdateResizer() {
  if ((GetState() & rpstApplyingStyles) != 0) return;
  if (Resizer && Resizer->Dragging) RemoveXorDrawHandler(Resizer.get());
  Resizer.reset();
  const auto* root = dynamic_cast<const TCustomRPFormattedData*>(GetAbsoluteRootData());
  const bool rootAllows = root && (root->GetDocumentFlags() & rpdfResizeReadOnly) != 0;
  if ((IsReadOnly() && !rootAllows) || (GetEditorOptions() & rpoNoImageResize) != 0) return;
  int32_t startNo = -1, startOffs = 0, endNo = -1, endOffs = 0;
  GetSelectionRange(startNo, startOffs, endNo, endOffs);
  if (startNo < 0 || startNo != endNo || startNo >= GetItemCount() || IsTextItem(startNo) || startOffs != 0 ||
      endOffs != 1)
    return;
  TCustomRPItemInfo& item = *GetItem(startNo);
  if (!item.GetBoolValue(rpibqResizable)) return;
  const TRPStyle* style = GetStyleSheet();
  if (style && item.ParaNo >= 0 && item.ParaNo < style->ParaStyles().Count() &&
      style->ParaStyles()[item.ParaNo]->Options.Contains(rppaoReadOnly))
    return;
  const int32_t drawNo = GetItemFirstDrawItem(startNo);
  if (drawNo < 0) return;
  Resizer = std::make_unique<TRPItemResizer>(*DrawItems[drawNo], drawNo, &item);
  Resizer->HandlesOutside = item.GetBoolValue(rpibqLive);
}

void TRPEditRPData::CheckResizer() {
  if (Resizer && Resizer->DrawItemNo >= 0 && Resizer->DrawItemNo < DrawItems.Count() &&
      DrawItems[Resizer->DrawItemNo] == Resizer->DrawItem)
    return;
  UpdateResizer();
}

void TRPEditRPData::DrawResizeHandles(TCanvas& canvas, int32_t hOffs, int32_t vOffs, int32_t, int32_t) {
  if (Resizer) Resizer->DrawHandles(canvas, hOffs, vOffs);
}

bool TRPEditRPData::CancelResizing() {
  if (!Resizer || !Resizer->Dragging) return false;
  RemoveXorDrawHandler(Resizer.get());
  Resizer->Cancel();
  if (IRPEditorControl* editor = Editor()) editor->SetPointerCursor(crDefault);
  return true;
}

void TRPEditRPData::MouseMove(TShiftState shift, int32_t x, int32_t y) {
  if (Resizer && Resizer->Dragging) {
    EraseXorDrawing();
    Resizer->DragTo(shift, x, y, GetVOffs(), GetHOffs());
    XorDraw();
    return;
  }
  int32_t handle = 0;
  if (Resizer && Resizer->HandleAt(x, y, GetVOffs(), GetHOffs(), handle)) {
    if (IRPEditorControl* editor = Editor()) editor->SetPointerCursor(TRPItemResizer::GetCursor(handle));
    return;
  }
  TRichPaneRPData::MouseMove(shift, x, y);
}

void TRPEditRPData::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (button == mbLeft && Resizer && Resizer->StartDrag(x, y, GetVOffs(), GetHOffs())) {
    TRPItemResizer* resizer = Resizer.get();
    SetXorDrawHandler(resizer, [this, resizer](TCanvas& canvas, int32_t, int32_t) {
      resizer->XorDrawFrame(canvas, GetHOffs(), GetVOffs());
    });
    XorDraw();
    if (IRPEditorControl* editor = Editor()) editor->SetPointerCursor(crCross);
    return;
  }
  PressDrawItemNo = button == mbLeft ? GetDrawItemAtPos(x + GetHOffs(), y + GetVOffs()) : -1;
  if (button == mbLeft && (shift & ssShift) != 0) CollapseSelectionToCaret();
  TRichPaneRPData::MouseDown(button, shift, x, y);
}

void TRPEditRPData::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  if (Resizer && (Resizer->Dragging || Resizer->Cancelled)) {
    const bool dragged = Resizer->Dragging;
    RemoveXorDrawHandler(Resizer.get());
    Resizer->EndDrag();
    if (dragged) {
      if (IRPEditorControl* editor = Editor()) editor->SetPointerCursor(crDefault);
      ResizeItemUndoable(Resizer->ItemNo, Resizer->Width, Resizer->Height);
    }
    return;
  }
  TRichPaneRPData::MouseUp(button, shift, x, y);
  const int32_t drawNo = GetDrawItemAtPos(x + GetHOffs(), y + GetVOffs());
  if (button != mbLeft || drawNo < 0 || drawNo != PressDrawItemNo || drawNo >= DrawItems.Count()) return;
  const int32_t itemNo = DrawItems[drawNo]->ItemNo;
  if (IsTextItem(itemNo) || !GetItem(itemNo)->GetBoolValue(rpibqResizable) || SelectionExists(false)) return;
  SetSelectionBounds(itemNo, 0, itemNo, 1);
  AfterSelectionChange(false);
  InvalidateControl();
}
