// The control's document: focus among hyperlinks, buffered painting, and the answers
// taken from the control.
#include "richtext/layout/view/RPControlData.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/DeviceContext.h"
#include "platform/graphics/TextDraw.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPStyle.h"

namespace {

constexpr int32_t MaxScrollUnits = 32000;
constexpr int32_t DefaultMaxSmallStep = 10;

}  // namespace

// --- TRPControlData ------------------------------------------------------------------

void TRPControlData::ClearFormatting() {
  UnfocusItem();
  TCustomRPFormattedData::ClearFormatting();
}

void TRPControlData::UnfocusItem() {
  if (FocusedItemData && FocusedItemData != this) {
    const int32_t holder = FindHolderItem(FocusedItemData);
    if (holder >= 0)
      if (auto* focusItem = dynamic_cast<IRPFocusItem*>(GetItem(holder))) focusItem->ClearFocus();
  }
  FocusedItemNo = -1;
  FocusedItemData = nullptr;
  // The rectangle on the window goes with the next painting of the view.
  FFocusRectShown = false;
}

void TRPControlData::SetFocusedItem(int32_t, TCustomRPFormattedData* focusedData, int32_t focusedItemNo) {
  FocusedItemData = focusedData;
  FocusedItemNo = focusedData ? focusedItemNo : -1;
}

bool TRPControlData::DoTabNavigation(bool backward, TCanvas* canvas) {
  if (!GetStyleSheet()) return false;
  const bool forward = !backward;
  TCustomRPFormattedData* data = FocusedItemData;
  int32_t itemNo = FocusedItemNo;
  int32_t from = forward ? -1 : GetItemCount();
  if (data == this) {
    from = itemNo;
  } else if (data) {
    const int32_t holder = FindHolderItem(data);
    if (holder >= 0)
      from = holder;
    else
      data = nullptr;
  }
  const int32_t oldHolder = data && data != this ? from : -1;
  if (canvas && FFocusRectShown) DrawFocusRectangle(*canvas);
  const bool found = FindNextFocus(from, forward, data, itemNo);
  // An item whose documents held the focus and no longer do forgets it.
  if (oldHolder >= 0 && (!found || data == this || FindHolderItem(data) != oldHolder))
    if (auto* focusItem = dynamic_cast<IRPFocusItem*>(GetItem(oldHolder))) focusItem->ClearFocus();
  if (!found) {
    FocusedItemData = nullptr;
    FocusedItemNo = -1;
    return false;
  }
  data->SetFocusedItem(itemNo, data, itemNo);
  // The item in the view, in this document's coordinates.
  const TRPDrawLineInfo& d = *data->DrawItems[data->GetItemFirstDrawItem(itemNo)];
  const TPoint origin = data->GetOrigin(), own = GetOrigin();
  ScrollRectIntoView(d.Left + origin.X - own.X, d.Top + origin.Y - own.Y, d.Width, d.Height);
  if (canvas) DrawFocusRectangle(*canvas);
  return true;
}

void TRPControlData::ExecuteFocusedItem() {
  TCustomRPFormattedData* data = FocusedItemData;
  if (!data || FocusedItemNo < 0 || FocusedItemNo >= data->GetItemCount()) return;
  data->GetItem(FocusedItemNo)->ExecuteJump(data);
}

void TRPControlData::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
  const TRPStyle* style = GetStyleSheet();
  if (style && TabNavigation != rptnNone && !GetMouseCaptureItem() && (button == mbLeft || button == mbRight)) {
    const int32_t drawNo = GetDrawItemAtPos(x + GetHOffs(), y + GetVOffs());
    const int32_t itemNo = drawNo >= 0 ? DrawItems[drawNo]->ItemNo : -1;
    if (itemNo >= 0 && !SelectionExists(false) && GetItem(itemNo)->GetBoolValueEx(rpibqxFocusable, style) &&
        !(FocusedItemData == this && FocusedItemNo == itemNo)) {
      IRPDocumentView* view = GetDocumentView();
      TCanvas* canvas = view ? view->WindowCanvas() : nullptr;
      if (canvas && FFocusRectShown) DrawFocusRectangle(*canvas);
      UnfocusItem();
      SetFocusedItem(itemNo, this, itemNo);
      if (canvas) DrawFocusRectangle(*canvas);
    }
  }
  TCustomRPFormattedData::MouseUp(button, shift, x, y);
}

void TRPControlData::DrawFocusRectangle(TCanvas& canvas) {
  TCustomRPFormattedData* data = FocusedItemData;
  if (!data || FocusedItemNo < 0 || FocusedItemNo >= data->GetItemCount()) return;
  if (!data->GetItem(FocusedItemNo)->GetBoolValueEx(rpibqxJumpCursor, GetStyleSheet())) return;
  canvas.Pen().SetColor(clBlack);
  canvas.Brush().SetStyle(bsSolid);
  canvas.Brush().SetColor(clWhite);
  // Control coordinates: the holder's place in this document, less the scroll position
  // (GetVOffs already holds this document's own origin).
  const int32_t dx = data->GetOrigin().X - GetOrigin().X - GetHOffs();
  const int32_t dy = data->GetOrigin().Y - GetOrigin().Y - GetVOffs();
  for (int32_t i = data->GetItemFirstDrawItem(FocusedItemNo); i >= 0 && i < data->DrawItems.Count(); ++i) {
    const TRPDrawLineInfo& d = *data->DrawItems[i];
    if (d.ItemNo != FocusedItemNo) break;
    canvas.DrawFocusRect(TRect{d.Left - 1 + dx, d.Top - 1 + dy, d.Left + d.Width + 1 + dx, d.Top + d.Height + 1 + dy});
  }
  FFocusRectShown = !FFocusRectShown;
}

void TRPControlData::PaintBuffered(TCanvas& canvas, const TRect& clip) {
  // The figures drawn by inverting go first and come back after, so that the parts of
  // them outside the clip stay right.
  const bool focusShown = FFocusRectShown, xorShown = IsXorDrawn();
  if (focusShown) DrawFocusRectangle(canvas);
  if (xorShown) EraseXorDrawing();
  PaintBufferedContent(canvas, clip);
  if (xorShown) XorDraw();
  if (focusShown) DrawFocusRectangle(canvas);
}

void TRPControlData::PaintBufferedContent(TCanvas& canvas, const TRect& clip) {
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

TRichPaneRPData::TRichPaneRPData(TCustomRichPane& control) : FControl(control) { RegisterRPAnimation(); }

TRichPaneRPData::~TRichPaneRPData() { FreeSmartPopupButton(); }

void TRichPaneRPData::ReleaseInplaceEditor() { FControl.DestroyInplaceEditor(); }

namespace {

// The document a sub-document's questions go to; nullptr for a document that is its own.
TCustomRPFormattedData* RootOf(TCustomRPFormattedData& data) {
  auto* root = dynamic_cast<TCustomRPFormattedData*>(data.GetRootData());
  return root != &data ? root : nullptr;
}

}  // namespace

bool TRichPaneRPData::InitDragging() {
  if ((GetDocumentFlags() & rpdfRootDocument) == 0) {
    TCustomRPFormattedData* root = RootOf(*this);
    return root ? root->InitDragging() : TRPControlData::InitDragging();
  }
  if ((GetOptions() & rpoDisallowDrag) != 0) return false;
  if (!FDropSource) FDropSource = std::make_unique<TRPDropSource>(*this);
  return true;
}

void TRichPaneRPData::DoneDragging() {
  if ((GetDocumentFlags() & rpdfRootDocument) == 0) {
    if (TCustomRPFormattedData* root = RootOf(*this)) root->DoneDragging();
    return;
  }
  FDropSource.reset();
}

TRPDropSource* TRichPaneRPData::DropSource() const {
  if ((GetDocumentFlags() & rpdfRootDocument) != 0) return FDropSource.get();
  const auto* root = dynamic_cast<const TRichPaneRPData*>(RootOf(const_cast<TRichPaneRPData&>(*this)));
  return root ? root->DropSource() : nullptr;
}

void TRichPaneRPData::PutDragFormats(IRPClipboard& sink, TColor color, const TRPBackground* background) {
  if (TRPDropSource* source = DropSource())
    source->GetAllData(sink);
  else
    TRPControlData::PutDragFormats(sink, color, background);
}

void TRichPaneRPData::Clear() {
  FControl.StopLiveSpelling();
  if (FControl.AnimationMode() == rpaniOnFormat) FControl.StopAnimation();
  FreeSmartPopupButton();
  TRPControlData::Clear();
}

void TRichPaneRPData::ControlsPlaced() {
  // The control's children take their tops from their tags, as the view aligns them.
  FControl.MoveEmbeddedWindows(0, 0);
  PlaceSmartPopupButton();
}

IRPControlParent* TRichPaneRPData::GetParentControl() {
  return FControl.Host() ? FControl.Host()->ControlParent() : nullptr;
}

void TRichPaneRPData::PauseLiveSpelling() { FControl.PauseLiveSpelling(); }
void TRichPaneRPData::ResumeLiveSpelling() { FControl.ResumeLiveSpelling(); }

void TRichPaneRPData::LiveSpellingResetFrom(TCustomRPData& rpData, int32_t itemNo, int32_t offset) {
  FControl.LiveSpellingResetFrom(rpData, itemNo, offset);
}

void TRichPaneRPData::AdjustSpellingOnInsert(TCustomRPData& rpData, int32_t itemNo, int32_t offset, WideChar ch) {
  FControl.AdjustSpellingOnInsert(rpData, itemNo, offset, ch);
}

void TRichPaneRPData::AdjustSpellingOnDelete(TCustomRPData& rpData, int32_t itemNo, int32_t offset, int32_t count) {
  FControl.AdjustSpellingOnDelete(rpData, itemNo, offset, count);
}

void TRichPaneRPData::LiveSpellingCellFreed(TCustomRPData& cell) {
  if (FSmartPopupData == &cell) FreeSmartPopupButton();
  FControl.LiveSpellingCellFreed(cell);
}

void TRichPaneRPData::InsertAnimator(std::unique_ptr<IRPPictureAnimator>& animator) {
  if (!FAnimators) FAnimators = std::make_unique<TRPAnimatorList>();
  FAnimators->AddAnimator(animator);
  if (animator && FAnimationAllowed && !FAnimators->Active) FControl.StartAnimationTimer();
}

void TRichPaneRPData::SetSmartPopupTarget(TCustomRPFormattedData* rpData, TCustomRPItemInfo* item) {
  if (!rpData || !item) {
    FreeSmartPopupButton();
    return;
  }
  FSmartPopupData = rpData;
  FSmartPopupItem = item;
  if (!FSmartPopupButton && FControl.Host()) {
    TRPSmartPopupProperties& properties = FControl.SmartPopupProperties();
    FSmartPopupButton = FControl.Host()->CreateSmartPopupButton(properties);
    properties.SetButton(FSmartPopupButton.get());
  }
  PlaceSmartPopupButton();
}

void TRichPaneRPData::FreeSmartPopupButton() {
  if (FControl.HasSmartPopupProperties()) FControl.SmartPopupProperties().SetButton(nullptr);
  FSmartPopupButton.reset();
  FSmartPopupData = nullptr;
  FSmartPopupItem = nullptr;
}

void TRichPaneRPData::PlaceSmartPopupButton() {
  if (!FSmartPopupButton) return;
  const int32_t itemNo = FSmartPopupData && FSmartPopupItem ? FSmartPopupData->IndexOfItem(FSmartPopupItem) : -1;
  int32_t lastNo = -1;
  if (itemNo >= 0)
    for (int32_t i = 0; i < FSmartPopupData->DrawItems.Count(); ++i)
      if (FSmartPopupData->DrawItems[i]->ItemNo == itemNo) lastNo = i;
  if (lastNo < 0) {
    FreeSmartPopupButton();
    return;
  }
  const TRPDrawLineInfo& d = *FSmartPopupData->DrawItems[lastNo];
  const TPoint origin = FSmartPopupData->GetOrigin();
  const TRPSmartPopupProperties& properties = FControl.SmartPopupProperties();
  const int32_t width = properties.ButtonWidth(), height = properties.ButtonHeight();
  const int32_t right = origin.X + d.Left + d.Width - FControl.HScrollPos();
  const int32_t bottom = origin.Y + d.Top + d.Height - FControl.VScrollPos() * FControl.VSmallStep();
  const int32_t left = std::max(std::min(right, FControl.ClientWidth() - width), 0);
  const int32_t top = std::max(std::min(bottom - height, FControl.ClientHeight() - height), 0);
  FSmartPopupButton->SetBounds(left, top, width, height);
}

const IRPStyleSheet* TRichPaneRPData::GetRPStyle() const { return FControl.Style(); }
TRPStyle* TRichPaneRPData::GetStyleSheet() const { return FControl.Style(); }
TRPDocumentFlags TRichPaneRPData::GetDocumentFlags() const { return FControl.DocumentFlags; }
void TRichPaneRPData::SetDocumentFlags(TRPDocumentFlags flags) { FControl.DocumentFlags = flags; }
TRPOptions TRichPaneRPData::GetOptions() const { return FControl.Options; }
void TRichPaneRPData::SetOptions(TRPOptions options) { FControl.Options = options; }
uint32_t TRichPaneRPData::GetRPFOptions() const { return FControl.RPFOptions; }
void TRichPaneRPData::SetRPFOptions(uint32_t options) { FControl.RPFOptions = options; }
uint32_t TRichPaneRPData::GetRTFOptions() const { return FControl.RTFOptions; }
void TRichPaneRPData::SetRTFOptions(uint32_t options) { FControl.RTFOptions = options; }
uint32_t TRichPaneRPData::GetRPFWarnings() const { return FControl.RPFWarnings; }
void TRichPaneRPData::SetRPFWarnings(uint32_t warnings) { FControl.RPFWarnings = warnings; }
TRPFReaderStyleMode TRichPaneRPData::GetRPFTextStylesReadMode() const { return FControl.RPFTextStylesReadMode; }
TRPFReaderStyleMode TRichPaneRPData::GetRPFParaStylesReadMode() const { return FControl.RPFParaStylesReadMode; }
TRPPaletteAction TRichPaneRPData::GetDoInPaletteMode() const { return FControl.DoInPaletteMode; }
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
IRPDocumentView* TRichPaneRPData::GetDocumentView() const { return FControl.Host(); }

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
  // The smart popup button goes with its item.
  if ((action == rpiaDestroying || action == rpiaMovingToUndoList) && item && item == FSmartPopupItem)
    FreeSmartPopupButton();
  if (ControlAlive() && FControl.OnItemAction) FControl.OnItemAction(&FControl, action, item, text, this);
}

void TRichPaneRPData::ControlAction(TRPControlAction action, int32_t itemNo, TCustomRPItemInfo* item) {
  if (ControlAlive() && FControl.OnControlAction) FControl.OnControlAction(&FControl, action, itemNo, item);
}

std::unique_ptr<TGraphic> TRichPaneRPData::RPFPictureNeeded(const AnsiString& name, const TRPTag& tag) {
  return FControl.OnRPFPictureNeeded ? FControl.OnRPFPictureNeeded(&FControl, name, tag) : nullptr;
}

bool TRichPaneRPData::HasProgressHandler() { return ControlAlive() && static_cast<bool>(FControl.OnProgress); }

void TRichPaneRPData::ReportProgress(TRPLongOperation operation, TRPProgressStage stage, int32_t percentDone) {
  if (HasProgressHandler()) FControl.OnProgress(&FControl, operation, stage, percentDone);
}

std::unique_ptr<TGraphic> TRichPaneRPData::ImportPicture(const AnsiString& location) {
  std::unique_ptr<TGraphic> graphic;
  if (ControlAlive() && FControl.OnImportPicture) FControl.OnImportPicture(&FControl, location, graphic);
  return graphic;
}

AnsiString TRichPaneRPData::GetURL(int32_t id) {
  AnsiString url;
  if (ControlAlive() && FControl.OnURLNeeded) FControl.OnURLNeeded(&FControl, id, url);
  return url;
}

void TRichPaneRPData::ReadHyperlink(const AnsiString& target, const AnsiString& extras, TRPLoadFormat format,
                                    int32_t& styleNo, TRPTag& tag, AnsiString& itemName) {
  if (styleNo == rpkindPicture)
    styleNo = rpkindHotPicture;
  else if (styleNo == rpkindBullet)
    styleNo = rpkindHotspot;
  if (ControlAlive() && FControl.OnReadHyperlink)
    FControl.OnReadHyperlink(&FControl, target, extras, format, styleNo, tag, itemName);
}

TCustomImageList* TRichPaneRPData::RPFImageListNeeded(int32_t tag) {
  return FControl.OnRPFImageListNeeded ? FControl.OnRPFImageListNeeded(&FControl, tag) : nullptr;
}

std::unique_ptr<TComponent> TRichPaneRPData::RPFControlNeeded(const AnsiString& className, const AnsiString& name,
                                                              const TRPTag& tag) {
  return FControl.OnRPFControlNeeded ? FControl.OnRPFControlNeeded(&FControl, className, name, tag) : nullptr;
}

TStrings* TRichPaneRPData::GetDocProperties() { return &FControl.DocProperties; }

bool TRichPaneRPData::HearsExportEvents() { return GetAbsoluteRootData() == this; }

bool TRichPaneRPData::SaveItemToFile(const WideString& path, TCustomRPData& rpData, int32_t itemNo,
                                     TRPSaveFormat format, bool unicode, AnsiString& text) {
  if (!HearsExportEvents()) return TCustomRPData::SaveItemToFile(path, rpData, itemNo, format, unicode, text);
  if (!FControl.OnSaveItemToFile) return false;
  bool doDefault = true;
  FControl.OnSaveItemToFile(&FControl, path, rpData, itemNo, format, unicode, text, doDefault);
  return !doDefault;
}

AnsiString TRichPaneRPData::SaveComponentToFile(const WideString& path, TComponent* component, TRPSaveFormat format) {
  if (!HearsExportEvents()) return TCustomRPData::SaveComponentToFile(path, component, format);
  AnsiString text;
  if (FControl.OnSaveComponentToFile) FControl.OnSaveComponentToFile(&FControl, path, component, format, text);
  return text;
}

void TRichPaneRPData::WriteHyperlink(int32_t jumpNo, TCustomRPData& rpData, int32_t itemNo, TRPSaveFormat format,
                                     AnsiString& target, AnsiString& extra) {
  if (!HearsExportEvents()) return TCustomRPData::WriteHyperlink(jumpNo, rpData, itemNo, format, target, extra);
  target.clear();
  extra.clear();
  if (HasFlag(rpdfRootDocument) && FControl.OnWriteHyperlink)
    FControl.OnWriteHyperlink(&FControl, jumpNo, rpData, itemNo, format, target, extra);
}

bool TRichPaneRPData::HostSavesPicture(TRPSaveFormat format, const WideString& path, const TGraphic& graphic,
                                       TColor backColor, WideString& fileName) {
  if (!HearsExportEvents()) return TCustomRPData::HostSavesPicture(format, path, graphic, backColor, fileName);
  if (!FControl.OnSaveImage2) return false;
  bool doDefault = true;
  FControl.OnSaveImage2(&FControl, graphic, format, path, backColor, fileName, doDefault);
  return !doDefault;
}

WideString TRichPaneRPData::SavePictureFile(const WideString& path, const WideString& imagesPrefix,
                                            const TGraphic& graphic, int32_t& imgSaveNo, bool overwrite,
                                            TColor backColor) {
  return FControl.SavePictureFile(path, imagesPrefix, graphic, imgSaveNo, overwrite, backColor);
}

AnsiString TRichPaneRPData::SaveRTFExtra(TRPRTFSaveArea area, TObject* object, int32_t row, int32_t col,
                                         bool inStyleSheet) {
  if (!HearsExportEvents()) return TCustomRPData::SaveRTFExtra(area, object, row, col, inStyleSheet);
  AnsiString code;
  if (FControl.OnSaveRTFExtra) FControl.OnSaveRTFExtra(&FControl, area, object, row, col, inStyleSheet, code);
  return code;
}

AnsiString TRichPaneRPData::SaveHTMLExtra(TRPHTMLSaveArea area, bool cssVersion) {
  if (!HearsExportEvents()) return TCustomRPData::SaveHTMLExtra(area, cssVersion);
  AnsiString code;
  if (FControl.OnSaveHTMLExtra) FControl.OnSaveHTMLExtra(&FControl, area, cssVersion, code);
  return code;
}

AnsiString TRichPaneRPData::SaveParaToHTML(TCustomRPData& rpData, int32_t itemNo, bool paraStart, bool cssVersion) {
  if (!HearsExportEvents()) return TCustomRPData::SaveParaToHTML(rpData, itemNo, paraStart, cssVersion);
  AnsiString code;
  if (FControl.OnSaveParaToHTML) FControl.OnSaveParaToHTML(&FControl, rpData, itemNo, paraStart, cssVersion, code);
  return code;
}

bool TRichPaneRPData::HTMLSaveImage(TCustomRPData& rpData, int32_t itemNo, const WideString& path, TColor backColor,
                                    AnsiString& location) {
  if (!HearsExportEvents()) return TCustomRPData::HTMLSaveImage(rpData, itemNo, path, backColor, location);
  bool doDefault = true;
  if (FControl.OnHTMLSaveImage)
    FControl.OnHTMLSaveImage(&FControl, rpData, itemNo, path, backColor, location, doDefault);
  return doDefault;
}

void TRichPaneRPData::ExecuteItemJump(int32_t jumpId) {
  if (FControl.OnJump) FControl.OnJump(&FControl, FirstJumpNo + jumpId);
}

void TRichPaneRPData::SelectionChanged() {
  if (FControl.Host() && ControlAlive() && FControl.OnSelect) FControl.OnSelect(&FControl);
}

void TRichPaneRPData::HoverJumpChanged(int32_t jumpNo) {
  if (jumpNo == FReportedHoverJumpNo) return;
  FReportedHoverJumpNo = jumpNo;
  if (ControlAlive() && FControl.OnRPMouseMove)
    FControl.OnRPMouseMove(&FControl, jumpNo < 0 ? -1 : FirstJumpNo + jumpNo);
}

void TRichPaneRPData::DoRPMouseDown(TMouseButton button, TShiftState shift, int32_t itemNo, int32_t x, int32_t y) {
  if (ControlAlive() && FControl.OnRPMouseDown) FControl.OnRPMouseDown(&FControl, button, shift, itemNo, x, y);
}

void TRichPaneRPData::DoRPMouseUp(TMouseButton button, TShiftState shift, int32_t itemNo, int32_t x, int32_t y) {
  if (ControlAlive() && FControl.OnRPMouseUp) FControl.OnRPMouseUp(&FControl, button, shift, itemNo, x, y);
}

void TRichPaneRPData::DoRPDblClick(const WideString& word, int32_t styleNo) {
  if (ControlAlive() && FControl.OnRPDblClick) FControl.OnRPDblClick(&FControl, word, styleNo);
}

void TRichPaneRPData::DoRPRightClick(const WideString& word, int32_t styleNo, int32_t screenX, int32_t screenY) {
  if (ControlAlive() && FControl.OnRPRightClick) FControl.OnRPRightClick(&FControl, word, styleNo, screenX, screenY);
}

bool TRichPaneRPData::IsRPDblClickAssigned() const { return static_cast<bool>(FControl.OnRPDblClick); }

void TRichPaneRPData::DoItemHint(TCustomRPFormattedData& rpData, int32_t itemNo, WideString& hint) {
  if (ControlAlive() && FControl.OnItemHint) FControl.OnItemHint(&FControl, rpData, itemNo, hint);
}

TCursor TRichPaneRPData::GetNormalCursor() const { return FControl.Cursor; }

void TRichPaneRPData::DoCopy() {
  if (ControlAlive() && FControl.OnCopy) FControl.OnCopy(&FControl);
}
