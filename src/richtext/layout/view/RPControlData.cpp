// The control's document: focus among hyperlinks, buffered painting, and the answers
// taken from the control.
#include "richtext/layout/view/RPControlData.h"

#include <algorithm>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/TextDraw.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPStyle.h"

namespace {

constexpr int32_t MaxScrollUnits = 32000;
constexpr int32_t DefaultMaxSmallStep = 10;

}  // namespace

// --- TRPControlData ------------------------------------------------------------------

void TRPControlData::ClearFormatting() {
  FocusedItemNo = -1;
  FocusedItemData = nullptr;
  TCustomRPFormattedData::ClearFormatting();
}

bool TRPControlData::DoTabNavigation(bool backward, TCanvas* canvas) {
  const TRPStyle* style = GetStyleSheet();
  if (!style) return false;
  const int32_t count = GetItemCount();
  int32_t i = FocusedItemData == this ? FocusedItemNo : backward ? count : -1;
  for (i += backward ? -1 : 1; i >= 0 && i < count; i += backward ? -1 : 1) {
    if (!GetItem(i)->GetBoolValueEx(rpibqxFocusable, style) || GetItemFirstDrawItem(i) < 0) continue;
    if (canvas) DrawFocusRectangle(*canvas);
    FocusedItemNo = i;
    FocusedItemData = this;
    if (canvas) DrawFocusRectangle(*canvas);
    const TRPDrawLineInfo& d = *DrawItems[GetItemFirstDrawItem(i)];
    ShowRectangle(d.Left, d.Top, d.Width, d.Height);
    return true;
  }
  return false;
}

void TRPControlData::DrawFocusRectangle(TCanvas& canvas) {
  if (FocusedItemData != this || FocusedItemNo < 0 || FocusedItemNo >= GetItemCount()) return;
  if (!GetItem(FocusedItemNo)->GetBoolValueEx(rpibqxJumpCursor, GetStyleSheet())) return;
  canvas.Pen().SetColor(clBlack);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clWhite);
  for (int32_t i = GetItemFirstDrawItem(FocusedItemNo); i >= 0 && i < DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *DrawItems[i];
    if (d.ItemNo != FocusedItemNo) break;
    // Control coordinates: GetVOffs already holds the vertical alignment offset.
    const int32_t left = d.Left - 1 - GetHOffs(), top = d.Top - 1 - GetVOffs();
    canvas.DrawFocusRect(TRect{left, top, left + d.Width + 2, top + d.Height + 2});
  }
}

void TRPControlData::PaintBuffered(TCanvas& canvas, const TRect& clip) {
  TBitmap buffer;
  buffer.SetPixelFormat(pf24bit);
  buffer.SetSize(clip.Right - clip.Left, clip.Bottom - clip.Top);
  TCanvas& bufferCanvas = *buffer.Canvas();
  AnsiString error;
  bool failed = false;
  try {
    // The background is drawn in view coordinates, the document from the buffer's origin.
    SetWindowOrgEx(bufferCanvas.Handle(), clip.Left, clip.Top, nullptr);
    DrawBackground(bufferCanvas, clip);
    SetWindowOrgEx(bufferCanvas.Handle(), 0, 0, nullptr);
    DrawRect(bufferCanvas, clip);
  } catch (const std::exception& e) {
    failed = true;
    error = e.what();
  }
  canvas.CopyRect(clip, &bufferCanvas, TRect{0, 0, buffer.Width(), buffer.Height()});
  if (!failed) return;
  canvas.Font().SetName("Arial");
  canvas.Font().SetSize(10);
  canvas.Font().SetColor(0x0000FF);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clWhite);
  canvas.TextOut(0, 0, AnsiString(RPPaintErrorPrefix) + error);
}

// --- TRichPaneRPData -----------------------------------------------------------------

TRichPaneRPData::TRichPaneRPData(TCustomRichPane& control) : FControl(control) {}

const IRPStyleSheet* TRichPaneRPData::GetRPStyle() const { return FControl.Style(); }
TRPStyle* TRichPaneRPData::GetStyleSheet() const { return FControl.Style(); }
TRPDocumentFlags TRichPaneRPData::GetDocumentFlags() const { return FControl.DocumentFlags; }
void TRichPaneRPData::SetDocumentFlags(TRPDocumentFlags flags) { FControl.DocumentFlags = flags; }
TRPOptions TRichPaneRPData::GetOptions() const { return FControl.Options; }
void TRichPaneRPData::SetOptions(TRPOptions options) { FControl.Options = options; }
AnsiString TRichPaneRPData::GetDelimiters() const { return FControl.Delimiters; }
TRPBiDiMode TRichPaneRPData::GetBiDiMode() const { return FControl.BiDiMode(); }

int32_t TRichPaneRPData::GetLeftMargin() const { return FControl.LeftMargin; }
int32_t TRichPaneRPData::GetRightMargin() const { return FControl.RightMargin; }
int32_t TRichPaneRPData::GetTopMargin() const { return FControl.TopMargin; }
int32_t TRichPaneRPData::GetBottomMargin() const { return FControl.BottomMargin; }
int32_t TRichPaneRPData::GetMinTextWidth() const { return FControl.MinTextWidth; }
int32_t TRichPaneRPData::GetMaxTextWidth() const { return FControl.MaxTextWidth; }
int32_t TRichPaneRPData::GetWidth() const { return FControl.ClientWidth(); }
int32_t TRichPaneRPData::GetHeight() const { return FControl.ClientHeight(); }
int32_t TRichPaneRPData::GetAreaWidth() const { return FControl.HScrollMax(); }
int32_t TRichPaneRPData::GetAreaHeightUnits() const { return FControl.VScrollMax(); }
int32_t TRichPaneRPData::GetHOffs() const { return FControl.HScrollPos(); }
int32_t TRichPaneRPData::GetVSmallStep() const { return FControl.VSmallStep(); }

int32_t TRichPaneRPData::GetVOffs() const {
  return FControl.VScrollPos() * FControl.VSmallStep() - GetDocumentVAlignOffset();
}

int32_t TRichPaneRPData::GetDocumentVAlignOffset() const {
  int32_t offset = 0;
  if (FControl.DocVAlign == rpdvaCenter) offset = (GetHeight() - DocumentHeight) / 2;
  if (FControl.DocVAlign == rpdvaBottom) offset = GetHeight() - DocumentHeight;
  return std::max(offset, 0);
}

TCanvas* TRichPaneRPData::GetCanvas() { return &FControl.Canvas(); }
TColor TRichPaneRPData::GetColor() const { return FControl.EffectiveColor(); }
TRPBackground* TRichPaneRPData::GetBackground() const { return &FControl.Background(); }
bool TRichPaneRPData::IsFocused() const { return FControl.Host() && FControl.Host()->Focused(); }

void TRichPaneRPData::ScrollTo(int32_t y) { FControl.ScrollTo(y); }
void TRichPaneRPData::HScrollTo(int32_t x) { FControl.HScrollTo(x); }

void TRichPaneRPData::ShowRectangle(int32_t x, int32_t y, int32_t width, int32_t height) {
  const int32_t top = GetVOffs(), left = GetHOffs();
  if (y + height > top + GetHeight()) ScrollTo(y + height - GetHeight());
  if (y < GetVOffs()) ScrollTo(y);
  if (x + width > left + GetWidth()) HScrollTo(x + width - GetWidth());
  if (x < GetHOffs()) HScrollTo(x);
}

void TRichPaneRPData::UpdateScrollRanges(int32_t width, int32_t height) {
  const int32_t step = FControl.VSmallStep();
  FControl.UpdateScrollBars(width, (height + step - 1) / step, true);
}

void TRichPaneRPData::AdjustVSmallStep() {
  const int32_t step = FControl.VSmallStep();
  const int32_t height = DocumentHeight;
  if (FControl.VScrollVisible() && height / step > MaxScrollUnits) {
    int32_t newStep = height / MaxScrollUnits;
    if (height / newStep > MaxScrollUnits) ++newStep;
    FControl.SetVSmallStep(newStep);
  } else if (step > DefaultMaxSmallStep && height / DefaultMaxSmallStep <= MaxScrollUnits) {
    FControl.SetVSmallStep(DefaultMaxSmallStep);
  }
}

bool TRichPaneRPData::ControlAlive() const { return (FControl.ComponentState() & csDestroying) == 0; }

void TRichPaneRPData::ItemAction(TRPItemAction action, TCustomRPItemInfo* item, AnsiString& text) {
  if (ControlAlive() && FControl.OnItemAction) FControl.OnItemAction(&FControl, action, item, text, this);
}

void TRichPaneRPData::ControlAction(TRPControlAction action, int32_t itemNo, TCustomRPItemInfo* item) {
  if (ControlAlive() && FControl.OnControlAction) FControl.OnControlAction(&FControl, action, itemNo, item);
}

void TRichPaneRPData::ExecuteItemJump(int32_t jumpId) {
  if (FControl.OnJump) FControl.OnJump(&FControl, FirstJumpNo + jumpId);
}

void TRichPaneRPData::SelectionChanged() {
  if (FControl.Host() && ControlAlive() && FControl.OnSelect) FControl.OnSelect(&FControl);
}
