// The rich view control's document side.
#include "richtext/layout/view/RichPane.h"

#include "platform/base/CodePages.h"
#include "platform/graphics/TextDraw.h"
#include "richtext/model/RPStyle.h"

namespace {

constexpr int32_t MaxScrollUnits = 32000;
constexpr int32_t NearEdgePx = 20;

// The auto-scroll step of one axis for a pointer at p of an area extent pixels long.
int32_t AutoScrollStep(int32_t p, int32_t extent) {
  if (p < 0) return -p > NearEdgePx ? -10 : -1;
  if (p >= extent) return p - extent + 1 > NearEdgePx ? 10 : 1;
  return 0;
}

std::unique_ptr<TRichPaneRPData> CreateRichPaneData(TCustomRichPane& control) {
  return std::make_unique<TRichPaneRPData>(control);
}

TRPRTFReadPropertiesFactory RTFReadPropertiesFactory = nullptr;

}  // namespace

void SetRTFReadPropertiesFactory(TRPRTFReadPropertiesFactory factory) { RTFReadPropertiesFactory = factory; }

TPersistent* TCustomRichPane::GetRTFReadProperties() {
  if (!FRTFReadProperties && RTFReadPropertiesFactory) FRTFReadProperties = RTFReadPropertiesFactory();
  return FRTFReadProperties.get();
}

void TCustomRichPane::SetRTFReadProperties(const TPersistent* value) {
  if (!value) {
    FRTFReadProperties.reset();
    return;
  }
  if (TPersistent* own = GetRTFReadProperties()) own->Assign(*value);
}

TCustomRichPane::TCustomRichPane(TComponent* owner) : TCustomRichPane(owner, &CreateRichPaneData) {}

TCustomRichPane::TCustomRichPane(TComponent* owner, TDataFactory createData)
    : TRPScroller(owner), FBackground(std::make_unique<TRPBackground>(false)) {
  BorderStyle = bsSingle;
  SetBounds(100, 40);
  FData = createData(*this);
}

void TCustomRichPane::DeselectForInplaceEditor() { FData->Deselect(nullptr, false); }

TCustomRichPane::~TCustomRichPane() {
  // The live-spelling thread reads the document: it ends before the document goes.
  StopLiveSpelling();
  StopAnimationTimer();
  Destroying();
  DestroyInplaceEditor();
  if (FStyle) FStyle->RemoveFreeNotification(this);
  FData->Clear();
}

void TCustomRichPane::SetStyle(TRPStyle* style) { SetWatchedReference(*this, FStyle, style); }

void TCustomRichPane::Notification(TComponent* component, TOperation operation) {
  TRPScroller::Notification(component, operation);
  if (operation == opRemove && component == FStyle) FStyle = nullptr;
}

void TCustomRichPane::SetBackgroundStyle(TBackgroundStyle style) {
  FBackground->Style = style;
  FullRedraw = FBackground->ScrollRequiresFullRedraw();
  Repaint();
}

void TCustomRichPane::SetBiDiMode(TRPBiDiMode value) {
  if (value == BiDiMode()) return;
  TRPScroller::SetBiDiMode(value);
  Format();
}

void TCustomRichPane::SetDoInPaletteMode(TRPPaletteAction value) {
  TRPScroller::SetDoInPaletteMode(value);
  FData->UpdateItemsPalette();
  FBackground->UpdatePaletted(value, FData->GetRPLogPalette());
}

void TCustomRichPane::Loaded() {
  TRPScroller::Loaded();
  SetBackgroundStyle(BackgroundStyle());
  Format();
}

TColor TCustomRichPane::EffectiveColor() const {
  if (Color != clNone) return Color;
  return FStyle ? FStyle->Color : clWindow;
}

WideString TCustomRichPane::SavePictureFile(const WideString& path, const WideString& imagesPrefix,
                                            const TGraphic& graphic, int32_t& imgSaveNo, bool overwrite,
                                            TColor backColor) {
  return FData->DefaultSavePictureFile(path, imagesPrefix, graphic, imgSaveNo, overwrite, backColor);
}

void TCustomRichPane::AssignEvents(const TCustomRichPane& source) {
  OnPaint = source.OnPaint;
  OnJump = source.OnJump;
  OnSelect = source.OnSelect;
  OnItemAction = source.OnItemAction;
  OnControlAction = source.OnControlAction;
  OnRPFPictureNeeded = source.OnRPFPictureNeeded;
  OnRPFImageListNeeded = source.OnRPFImageListNeeded;
  OnRPFControlNeeded = source.OnRPFControlNeeded;
  OnSaveItemToFile = source.OnSaveItemToFile;
  OnSaveComponentToFile = source.OnSaveComponentToFile;
  OnWriteHyperlink = source.OnWriteHyperlink;
  OnSaveImage2 = source.OnSaveImage2;
  OnSaveRTFExtra = source.OnSaveRTFExtra;
  OnSaveHTMLExtra = source.OnSaveHTMLExtra;
  OnSaveParaToHTML = source.OnSaveParaToHTML;
  OnHTMLSaveImage = source.OnHTMLSaveImage;
  OnRPMouseMove = source.OnRPMouseMove;
  OnRPMouseDown = source.OnRPMouseDown;
  OnRPMouseUp = source.OnRPMouseUp;
  OnRPDblClick = source.OnRPDblClick;
  OnRPRightClick = source.OnRPRightClick;
  OnItemHint = source.OnItemHint;
  OnCopy = source.OnCopy;
  OnImportPicture = source.OnImportPicture;
  OnReadHyperlink = source.OnReadHyperlink;
  OnProgress = source.OnProgress;
  OnURLNeeded = source.OnURLNeeded;
  OnSpellingCheck = source.OnSpellingCheck;
  OnSpellingCheckW = source.OnSpellingCheckW;
  OnSmartPopupClick = source.OnSmartPopupClick;
  OnVScrolled = source.OnVScrolled;
  OnHScrolled = source.OnHScrolled;
  OnResize = source.OnResize;
}

void TCustomRichPane::Repaint() {
  if (Visible && Host()) Host()->Invalidate();
}

void TCustomRichPane::ClearFormatting() {
  StopScrollTimer();
  FData->ClearFormatting();
}

void TCustomRichPane::Clear() {
  ClearFormatting();
  FData->Clear();
}

void TCustomRichPane::Format() {
  if ((ComponentState() & csDesigning) != 0 || VSmallStep() == 0 || !FStyle) return;
  FData->FormatDocument(&FCanvas);
  Repaint();
  if (FAnimationMode == rpaniOnFormat) StartAnimation();
}

void TCustomRichPane::Reformat() {
  if ((ComponentState() & csDesigning) != 0 || VSmallStep() == 0 || !FStyle) return;
  const int32_t vPos = VScrollPos(), hPos = HScrollPos();
  int32_t startNo = 0, endNo = 0, startOffs = 0, endOffs = 0;
  FData->GetSelectionBounds(startNo, endNo, startOffs, endOffs, false);
  FData->ReformatKeepingView(&FCanvas);
  if (startNo >= 0 && endNo >= 0 && startNo < GetItemCount() && endNo < GetItemCount())
    FData->SetSelectionBounds(startNo, startOffs, endNo, endOffs);
  VScrollTo(vPos, false);
  HScrollTo(hPos);
  Repaint();
}

void TCustomRichPane::Resized(int32_t width, int32_t height) {
  SetBounds(width, height);
  ResizePass();
}

void TCustomRichPane::ClientResized(int32_t clientWidth, int32_t clientHeight) {
  SetClientWidth(clientWidth);
  SetClientHeight(clientHeight);
  ResizePass();
}

void TCustomRichPane::ResizePass() {
  if ((ComponentState() & csDesigning) != 0 || VSmallStep() == 0 || !FStyle) return;
  FData->FormatAfterResize(&FCanvas);
}

void TCustomRichPane::RecordAutoScroll(int32_t x, int32_t y) {
  FAutoScrollX = AutoScrollStep(x, ClientWidth());
  FAutoScrollY = AutoScrollStep(y, ClientHeight());
}

void TCustomRichPane::AutoScrollTick() {
  if (FAutoScrollY != 0) VScrollTo(VScrollPos() + FAutoScrollY, true);
  if (FAutoScrollX != 0) HScrollTo(HScrollPos() + FAutoScrollX);
}

void TCustomRichPane::SetVSmallStep(int32_t value) {
  if (value <= 0) return;
  if (VScrollVisible() && FData->DocumentHeight / value > MaxScrollUnits) return;
  TRPScroller::SetVSmallStep(value);
}

void TCustomRichPane::Paint(TCanvas& canvas, const TRect& clip) {
  if (!FStyle) {
    canvas.Brush().SetStyle(bsSolid);
    canvas.Brush().SetColor(EffectiveColor());
    canvas.FillRect(TRect{0, 0, ClientWidth(), ClientHeight()});
    canvas.Font().SetName("MS Sans Serif");
    canvas.Font().SetSize(8);
    AnsiString message = RPNoStyleText;
    message.replace(message.find("%s"), 2, Name());
    const WideString text = AnsiToWide(message);
    TRect r{0, 0, ClientWidth(), ClientHeight()};
    canvas.Brush().SetStyle(bsClear);
    DrawTextW(canvas.Handle(), text.data(), static_cast<int32_t>(text.size()), &r, DT_WORDBREAK);
    return;
  }
  FData->PaintBuffered(canvas, clip);
  if (OnPaint) OnPaint(this, canvas, false);
}
