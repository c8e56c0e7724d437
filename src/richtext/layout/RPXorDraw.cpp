// Figures drawn over a formatted document with an inverting pen, so that drawing one
// again erases it: the figure that follows the mouse (a table's guide line), the caret
// of a drop, and dragging the selection out.
#include <algorithm>
#include <vector>

#include "richtext/layout/RPDocumentView.h"
#include "richtext/layout/RPFormattedData.h"

namespace {

// The canvas on the window's pixels, or the document's own.
TCanvas* FigureCanvas(IRPDocumentView* view, TCustomRPFormattedData& data) {
  if (view && view->WindowCanvas()) return view->WindowCanvas();
  return data.GetCanvas();
}

}  // namespace

void TCustomRPFormattedData::SetXorDrawHandler(const void* owner, TRPXorDrawProc proc) {
  TCustomRPFormattedData& root = Root();
  if (&root != this) {
    root.SetXorDrawHandler(owner, std::move(proc));
    return;
  }
  EraseXorDrawing();
  FXorOwner = owner;
  FXorProc = std::move(proc);
}

void TCustomRPFormattedData::RemoveXorDrawHandler(const void* owner) {
  TCustomRPFormattedData& root = Root();
  if (&root != this) {
    root.RemoveXorDrawHandler(owner);
    return;
  }
  if (!owner || FXorOwner != owner) return;
  EraseXorDrawing();
  FXorOwner = nullptr;
  FXorProc = nullptr;
}

bool TCustomRPFormattedData::IsXorDrawHandler(const void* owner) const { return owner && Root().FXorOwner == owner; }

bool TCustomRPFormattedData::IsXorDrawn() const { return Root().FXorDrawn; }

void TCustomRPFormattedData::XorDraw() {
  TCustomRPFormattedData& root = Root();
  if (&root != this) {
    root.XorDraw();
    return;
  }
  if (!FXorProc) return;
  TCanvas* canvas = FigureCanvas(View(), *this);
  if (!canvas) return;
  FXorProc(*canvas, FXorPoint.X, FXorPoint.Y);
  FXorDrawn = !FXorDrawn;
}

void TCustomRPFormattedData::MoveXorDrawing(int32_t x, int32_t y) {
  TCustomRPFormattedData& root = Root();
  if (&root != this) {
    root.MoveXorDrawing(x, y);
    return;
  }
  if (!FXorProc) return;
  EraseXorDrawing();
  FXorPoint = TPoint{x, y};
  XorDraw();
}

void TCustomRPFormattedData::EraseXorDrawing() {
  TCustomRPFormattedData& root = Root();
  if (&root != this) {
    root.EraseXorDrawing();
    return;
  }
  if (FXorDrawn) XorDraw();
}

// --- The drop caret ------------------------------------------------------------------------

TCanvas* TCustomRPFormattedData::DropCaretCanvas() { return FigureCanvas(View(), *this); }

const TCustomRPFormattedData::TRPDragDropCaretInfo& TCustomRPFormattedData::GetDragDropCaret() const {
  return Root().FDragDropCaret;
}

void TCustomRPFormattedData::SetDragDropCaret(int32_t x, int32_t y) {
  TCustomRPFormattedData& root = Root();
  if (&root != this) {
    root.SetDragDropCaret(x, y);
    return;
  }
  EraseDragDropCaret();
  if (!FindDropCaret(x + GetHOffs(), y + GetVOffs(), FDragDropCaret)) return;
  if (TCanvas* canvas = FDragDropCaret.Data->DropCaretCanvas()) {
    XorDrawDragDropCaret(*canvas, false);
    FDragDropCaret.Shown = true;
  }
}

bool TCustomRPFormattedData::FindDropCaret(int32_t x, int32_t y, TRPDragDropCaretInfo& caret) {
  int32_t drawNo = -1, drawOffs = 0;
  FindDrawItemAtPos(x, y, drawNo, drawOffs, false);
  if (drawNo < 0) return false;
  // The deepest document that holds the point; the content of a cell open in an editor
  // is that editor's document, scrolled as the editor is.
  if (TCustomRPFormattedData* sub = SubDocumentAt(drawNo, x, y)) {
    TPoint scrolled{0, 0};
    if (auto* standIn = dynamic_cast<TCustomRPFormattedData*>(sub->GetRPData()); standIn && standIn != sub) {
      sub = standIn;
      scrolled = TPoint{sub->GetHOffs(), sub->GetVOffs()};
    }
    const TPoint own = GetOrigin(), inner = sub->GetOrigin();
    if (sub->FindDropCaret(x + own.X - inner.X + scrolled.X, y + own.Y - inner.Y + scrolled.Y, caret)) return true;
  }
  caret.Data = this;
  DrawItemToItemPos(drawNo, drawOffs, caret.ItemNo, caret.ItemOffs);
  const TRPDrawLineInfo& d = *DrawItems[drawNo];
  if (IsTextItem(d.ItemNo)) {
    const std::vector<int32_t> xs = GetCaretXs(drawNo);
    caret.X = d.Left + d.JustifyExtra + xs[static_cast<size_t>(std::clamp(drawOffs - 1, 0, d.Length))];
  } else {
    caret.X = drawOffs == 0 ? d.Left : d.Left + d.Width;
  }
  caret.Y = d.Top;
  caret.Height = d.Height;
  return true;
}

void TCustomRPFormattedData::EraseDragDropCaret() {
  TCustomRPFormattedData& root = Root();
  if (&root != this) {
    root.EraseDragDropCaret();
    return;
  }
  if (FDragDropCaret.Shown && FDragDropCaret.Data)
    if (TCanvas* canvas = FDragDropCaret.Data->DropCaretCanvas()) XorDrawDragDropCaret(*canvas, false);
  FDragDropCaret = TRPDragDropCaretInfo();
}

void TCustomRPFormattedData::XorDrawDragDropCaret(TCanvas& canvas, bool fromSubDocument) {
  const TRPDragDropCaretInfo& caret = Root().FDragDropCaret;
  if (!caret.Data) return;
  if (caret.Data == this)
    DrawDropCaretBar(canvas, caret);
  else if (!fromSubDocument)
    caret.Data->DrawDropCaretBar(canvas, caret);
}

void TCustomRPFormattedData::DrawDropCaretBar(TCanvas& canvas, const TRPDragDropCaretInfo& caret) {
  // Client coordinates of the caret: the holder's place in its root document (the
  // document of the window it shows in), less the root's scroll position.
  const TCustomRPFormattedData& root = Root();
  const int32_t dx = GetOrigin().X - root.GetOrigin().X - root.GetHOffs();
  const int32_t dy = GetOrigin().Y - root.GetOrigin().Y - root.GetVOffs();
  canvas.Pen().SetMode(pmNot);
  canvas.Pen().SetStyle(psDot);
  canvas.Pen().SetWidth(1);
  canvas.Brush().SetStyle(bsClear);
  for (int32_t row = caret.Y; row < caret.Y + caret.Height; ++row) {
    if (((row + dy) & 1) != 0) continue;
    canvas.MoveTo(caret.X + dx, row + dy);
    canvas.LineTo(caret.X + dx + 2, row + dy);
  }
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetMode(pmCopy);
}

// --- Dragging the selection out ---------------------------------------------------------------------

void TCustomRPFormattedData::StartDrag() {
  IRPDocumentView* view = View();
  if (!view || !SelectionExists(false) || !InitDragging()) return;
  const TColor color = GetColor();
  const TRPBackground* background = GetBackground();
  const int32_t effect =
      view->DoDragDrop([&](IRPClipboard& sink) { PutDragFormats(sink, color, background); }, GetDragEffects());
  if (effect == DROPEFFECT_MOVE) DeleteDraggedSelection();
  DoneDragging();
}
