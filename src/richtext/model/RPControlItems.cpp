#include "richtext/model/RPControlItems.h"

#include <algorithm>
#include <utility>

#include "platform/base/CodePages.h"
#include "platform/base/Filer.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

namespace {

TRPItemControlFactory& ItemControlFactory() {
  static TRPItemControlFactory factory;
  return factory;
}

// The name a component's stream gives its class (what the stream reader looks up).
AnsiString StreamClassName(const TComponent& component) {
  return component.ClassProps() ? component.ClassProps()->ClassName() : component.ClassName();
}

}  // namespace

void SetRPItemControlFactory(TRPItemControlFactory factory) { ItemControlFactory() = std::move(factory); }

std::unique_ptr<IRPItemControl> MakeRPItemControl(std::unique_ptr<TComponent> component) {
  if (!component || !ItemControlFactory()) return nullptr;
  return ItemControlFactory()(std::move(component));
}

void DrawControl(IRPItemControl& control, TCanvas& canvas, int32_t x, int32_t y) { control.Draw(canvas, x, y); }

std::unique_ptr<TBitmap> CreateControlImage(IRPItemControl& control) {
  auto image = std::make_unique<TBitmap>();
  image->SetPixelFormat(pf24bit);
  image->SetSize(control.Width(), control.Height());
  DrawControl(control, *image->Canvas(), 0, 0);
  return image;
}

const TRPItemClassInfo TRPControlItemInfo::ClassInfo{"TRPControlItemInfo", &CreateRPItem<TRPControlItemInfo>};

void RegisterControlItemClass() { SetBuiltInItemClass(rpkindControl, &TRPControlItemInfo::ClassInfo); }

TRPControlItemInfo::TRPControlItemInfo(TCustomRPData* rpData) : TRPRectItemInfo(rpData) { StyleNo = rpkindControl; }

TRPControlItemInfo::TRPControlItemInfo(TCustomRPData* rpData, std::unique_ptr<IRPItemControl> control, TRPVAlign vAlign)
    : TRPControlItemInfo(rpData) {
  Control = std::move(control);
  VAlign = vAlign;
}

TRPControlItemInfo::~TRPControlItemInfo() = default;

int32_t TRPControlItemInfo::GetImageWidth(const IRPStyleSheet*) const { return Control ? Control->Width() : 0; }

int32_t TRPControlItemInfo::GetImageHeight(const IRPStyleSheet*) const { return Control ? Control->Height() : 0; }

int32_t TRPControlItemInfo::GetWidth() const { return GetImageWidth(nullptr) + 2 * Spacing; }

int32_t TRPControlItemInfo::GetHeight() const { return GetImageHeight(nullptr) + 2 * Spacing; }

int32_t TRPControlItemInfo::GetMinWidth(const TRPResolution* resolution, TCanvas*, TCustomRPData*) const {
  const int32_t width = PercentWidth != 0 ? 20 : GetWidth();
  return resolution ? ScreenToDeviceX(width, *resolution) : width;
}

bool TRPControlItemInfo::GetBoolValue(TRPItemBoolQuery query) const {
  switch (query) {
    case rpibqHasContent:
      return Control != nullptr;
    case rpibqSelectAsObject:
    case rpibqControl:
    case rpibqLive:
      return true;
    case rpibqResizable:
      return ResizableFlag && PercentWidth == 0;
    default:
      return TRPRectItemInfo::GetBoolValue(query);
  }
}

bool TRPControlItemInfo::GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const {
  switch (query) {
    case rpibqxFocusable:
      return Control && Control->CanTakeFocus();
    case rpibqxHoverRepaint:
      return false;
    case rpibqxSizeForWidth:
      return HasPercentWidth();
    default:
      return TRPRectItemInfo::GetBoolValueEx(query, rpStyle);
  }
}

void TRPControlItemInfo::AdjustControlPlacement(int32_t left, int32_t top, bool show) {
  if (!Control) return;
  Control->SetLeft(left + Spacing);
  Control->SetTag(top + Spacing);
  if (show) Control->SetTop(Control->Tag());
  Control->SetVisible(Visible);
}

void TRPControlItemInfo::UpdateSizeForWidth(int32_t availWidth, bool noResize, const TRPResolution* resolution,
                                            int32_t& drawWidth, int32_t& drawHeight, int32_t& descent,
                                            int32_t& horzOffset) const {
  horzOffset = 0;
  const auto scaleY = [&](int32_t v) { return resolution ? ScreenToDeviceY(v, *resolution) : v; };
  if (!HasPercentWidth()) {
    descent = scaleY(GetDescent());
    return;
  }
  drawWidth = availWidth * PercentWidth / 100;
  // The control's width is in screen pixels, the available width in the layout's.
  if (!noResize && Control)
    Control->SetWidth((resolution ? DeviceToScreenX(drawWidth, *resolution) : drawWidth) - 2 * Spacing);
  drawHeight = scaleY(GetImageHeight(nullptr) + 2 * Spacing);
  descent = scaleY(Spacing);
}

bool TRPControlItemInfo::OwnsControl(const TComponent* control) const {
  return Control && control && &Control->Component() == control;
}

void TRPControlItemInfo::CopyPropertiesFrom(const TCustomRPItemInfo& source) {
  if (const auto* item = dynamic_cast<const TRPControlItemInfo*>(&source)) {
    PercentWidth = item->PercentWidth;
    ResizableFlag = item->ResizableFlag;
    Visible = item->Visible;
  }
  TRPRectItemInfo::CopyPropertiesFrom(source);
}

void TRPControlItemInfo::Inserting(TCustomRPData* rpData, AnsiString& text, bool safe) {
  if (Control) {
    Control->SetVisible(false);
    Control->SetParent(safe || !rpData ? nullptr : rpData->GetParentControl());
  }
  TRPRectItemInfo::Inserting(rpData, text, safe);
}

void TRPControlItemInfo::MovingToUndoList(int32_t itemNo, TCustomRPData* rpData) {
  if (Control) Control->SetParent(nullptr);
  if (rpData) rpData->NotifyControlAction(rpcaMoveToUndoList, itemNo, this);
  TRPRectItemInfo::MovingToUndoList(itemNo, rpData);
}

void TRPControlItemInfo::MovingFromUndoList(int32_t itemNo, TCustomRPData* rpData) {
  if (!rpData) return;
  rpData->NotifyControlAction(rpcaMoveFromUndoList, itemNo, this);
  if (Control) Control->SetParent(rpData->GetParentControl());
}

void TRPControlItemInfo::FocusItem() {
  if (Control && Control->IsWindowControl()) Control->SetFocus();
}

bool TRPControlItemInfo::SetIntProperty(int32_t code, int32_t value) {
  switch (code) {
    case rpipMinHeightOnPage:
      MinHeightOnPage = value;
      return true;
    case rpipResizable:
      ResizableFlag = value != 0;
      return true;
    case rpipVisible:
      Visible = value != 0;
      if (Control && Control->Parent()) Control->SetVisible(Visible);
      return true;
    default:
      return TRPRectItemInfo::SetIntProperty(code, value);
  }
}

bool TRPControlItemInfo::GetIntProperty(int32_t code, int32_t& value) const {
  switch (code) {
    case rpipMinHeightOnPage:
      value = MinHeightOnPage;
      return true;
    case rpipResizable:
      value = ResizableFlag ? 1 : 0;
      return true;
    case rpipVisible:
      value = Visible ? 1 : 0;
      return true;
    default:
      return TRPRectItemInfo::GetIntProperty(code, value);
  }
}

int32_t TRPControlItemInfo::GetRPFPropertyCount() const {
  return TRPRectItemInfo::GetRPFPropertyCount() + (MinHeightOnPage > 0 ? 1 : 0) + (ResizableFlag ? 1 : 0) +
         (Visible ? 0 : 1);
}

void TRPControlItemInfo::SaveRPFProperties(TStream& stream) const {
  TRPRectItemInfo::SaveRPFProperties(stream);
  if (MinHeightOnPage > 0) WriteRPFIntPropertyLine(stream, rpipMinHeightOnPage, MinHeightOnPage);
  if (ResizableFlag) WriteRPFIntPropertyLine(stream, rpipResizable, 1);
  if (!Visible) WriteRPFIntPropertyLine(stream, rpipVisible, 0);
}

void TRPControlItemInfo::Paint(int32_t x, int32_t y, TCanvas& canvas, uint32_t drawState,
                               const TRPStyle& rpStyle) const {
  if (!Visible) return;
  DrawItemStateFrames(canvas, x, y, GetImageWidth(nullptr), GetImageHeight(nullptr), Spacing, drawState, rpStyle);
}

bool TRPControlItemInfo::PrintToBitmap(TBitmap& bitmap, const TBitmap* image, int32_t partIndex,
                                       int32_t imageTop) const {
  if (!Visible || !image) return false;
  TCanvas& canvas = *bitmap.Canvas();
  if (MinHeightOnPage > 0) {
    canvas.Draw(0, partIndex >= 0 ? -imageTop : 0, image);
    return true;
  }
  if (bitmap.Width() < image->Width() || bitmap.Height() < image->Height())
    bitmap.SetSize(std::max(bitmap.Width(), image->Width()), std::max(bitmap.Height(), image->Height()));
  bitmap.Canvas()->Draw((bitmap.Width() - image->Width()) / 2, (bitmap.Height() - image->Height()) / 2, image);
  return true;
}

// --- Exports -------------------------------------------------------------------------------

void TRPControlItemInfo::SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString&, int32_t) const {
  if (!Control || !context.RPData) return;
  const AnsiString text =
      context.RPData->SaveComponentToFile(AnsiToWide(context.Path), &Control->Component(), rpsfHTML);
  if (!text.empty()) RPFWrite(stream, text);
}

void TRPControlItemInfo::SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString&, int32_t) const {
  if (!Control || !context.RPData) return;
  const AnsiString text = context.RPData->SaveComponentToFile(AnsiToWide(context.Path), &Control->Component(), rpsfRTF);
  if (!text.empty()) RPFWrite(stream, text);
}

AnsiString TRPControlItemInfo::AsPlainText(int32_t, TCustomRPData* rpData, bool& textIsUnicode) const {
  textIsUnicode = false;
  if (!Control || !rpData) return {};
  return rpData->SaveComponentToFile({}, &Control->Component(), rpsfText);
}

// --- The native format ---------------------------------------------------------------------

void TRPControlItemInfo::SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t itemNo, int32_t paraNo,
                                 const AnsiString& name, const TRPMultiDrawItemPart*, bool forceSameAsPrev) const {
  const uint32_t options = streaming.Options();
  const bool body = (options & rpfoSaveControlsBody) && Control;
  const TRPFBodyMode mode = !body ? rpfbmNone : (options & rpfoSaveBinary) ? rpfbmBinary : rpfbmHex;
  WriteRPFItemHeader(stream, *this, GetRPFPropertyCount() + (body ? 3 : 1), paraNo, forceSameAsPrev, mode, streaming);
  RPFWriteLine(stream, name);
  if (!body) {
    SaveRPFProperties(stream);
    return;
  }
  TComponent& component = Control->Component();
  RPFWriteLine(stream, StreamClassName(component));
  SaveRPFProperties(stream);
  // The host may prepare the control for writing and put it back after.
  auto* self = const_cast<TRPControlItemInfo*>(this);
  TCustomRPData* document = streaming.Document();
  if (document) document->NotifyControlAction(rpcaBeforeRPFSave, itemNo, self);
  if (mode == rpfbmBinary)
    RPFSaveControlBinary(stream, component);
  else
    RPFWriteLine(stream, RPFSaveControlToHex(component));
  if (document) document->NotifyControlAction(rpcaAfterRPFSave, itemNo, self);
}

bool TRPControlItemInfo::ReadRPFLine(const AnsiString& s, IRPFStreaming& streaming, TRPFBodyMode mode, int32_t lineNo,
                                     int32_t lineCount, AnsiString& name, TRPFLineMode& lineMode,
                                     TRPFReadState& readState) {
  lineMode = rpflmText;
  const bool last = lineNo + 1 >= lineCount;
  if (last) readState = rpfrsItemDone;
  // A control that arrives goes hidden into the document's window.
  const auto place = [&] {
    if (!Control) return;
    Control->SetVisible(false);
    Control->SetParent(streaming.ControlParent());
  };
  if (lineNo == 0) {
    name = s;
    if (mode == rpfbmNone) {
      Control = streaming.RequestControl(name, Tag);
      place();
    }
  } else if (mode == rpfbmNone) {
    ReadRPFPropertyLine(s);
  } else if (lineNo == 1) {
    FReadClassName = s;
  } else if (last) {
    Control.reset();
    // A class nobody registered is skipped with its data: the document reads on without
    // the control when the options allow it.
    if (FindComponentClass(FReadClassName)) {
      std::unique_ptr<TComponent> component;
      const bool read = mode == rpfbmBinary ? RPFLoadControlFromBinaryStr(s, component, FReadClassName, nullptr)
                                            : RPFLoadControlFromHex(s, component, FReadClassName, nullptr);
      if (!read) return false;
      Control = MakeRPItemControl(std::move(component));
      place();
    }
    if (!Control) {
      streaming.AddWarning(rpfwUnknownCtrls);
      if (!(streaming.Options() & rpfoIgnoreUnknownCtrls)) return false;
    }
  } else {
    ReadRPFPropertyLine(s);
  }
  if (mode == rpfbmBinary && lineNo + 2 == lineCount) lineMode = rpflmBinaryBlock;
  return true;
}
