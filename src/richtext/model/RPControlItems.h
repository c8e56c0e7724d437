// Control items: a window control of the platform (a button, an edit) standing in the
// flow of a document. The item owns the control, sizes it (optionally to a percentage of
// the available width), places it where formatting put the item, draws selection frames
// around it, prints an image of it, and writes it to the native format through the
// component streaming of the class library.
//
// The document knows the control only through IRPItemControl, which the view on screen
// implements over its GUI controls (richtext/screen/RPControlWidgets.h); documents,
// layout and pages need no display. Controls read from a stream are made by the
// component classes registered by name and become item controls through the factory
// set with SetRPItemControlFactory (the screen sets it; without it a stream's control
// counts as unknown).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/Components.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "richtext/model/RPExportContexts.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPItemStreaming.h"

class TRPStyle;

// The window that controls of a document's items stand in (the view's window on
// screen). Only the controls that the same screen made know what it is.
class IRPControlParent {
public:
  virtual ~IRPControlParent() = default;
};

// A control held by a control item, as the document sees it. Positions are client
// coordinates of the parent window.
class IRPItemControl {
public:
  virtual ~IRPItemControl() = default;
  // The component behind the control: what is streamed and handed to the host.
  virtual TComponent& Component() = 0;
  virtual int32_t Left() const = 0;
  virtual void SetLeft(int32_t value) = 0;
  virtual int32_t Top() const = 0;
  virtual void SetTop(int32_t value) = 0;
  virtual int32_t Width() const = 0;
  virtual void SetWidth(int32_t value) = 0;
  virtual int32_t Height() const = 0;
  // Width and height at once (one change of the control's bounds; its place stays).
  virtual void SetSize(int32_t width, int32_t height) = 0;
  // The vertical position travels here while a document places the control; the view
  // sets Top from it (clamped).
  virtual int32_t Tag() const = 0;
  virtual void SetTag(int32_t value) = 0;
  virtual bool Visible() const = 0;
  virtual void SetVisible(bool value) = 0;
  virtual IRPControlParent* Parent() const = 0;
  virtual void SetParent(IRPControlParent* parent) = 0;
  // A window control (one that can hold the keyboard focus at all).
  virtual bool IsWindowControl() const = 0;
  // A window control that is a tab stop and can take the focus now.
  virtual bool CanTakeFocus() const = 0;
  virtual void SetFocus() = 0;
  // Draws the control as it looks, with its top-left corner at (x, y) of canvas, without
  // its window (DrawControl).
  virtual void Draw(TCanvas& canvas, int32_t x, int32_t y) = 0;
};

// The item control for a component read from a stream; nullptr for a component the
// factory cannot show. No factory: every such component is unknown.
using TRPItemControlFactory = std::function<std::unique_ptr<IRPItemControl>(std::unique_ptr<TComponent>)>;
void SetRPItemControlFactory(TRPItemControlFactory factory);
std::unique_ptr<IRPItemControl> MakeRPItemControl(std::unique_ptr<TComponent> component);

// The control drawn at (x, y) of canvas as it looks.
void DrawControl(IRPItemControl& control, TCanvas& canvas, int32_t x, int32_t y);
// A 24-bit bitmap of the control's size with the control drawn at (0, 0); the caller
// owns it.
std::unique_ptr<TBitmap> CreateControlImage(IRPItemControl& control);

// The control item's class registers itself for rpkindControl; documents that read
// control items from streams need it registered first.
void RegisterControlItemClass();

class TRPControlItemInfo : public TRPRectItemInfo {
public:
  // StyleNo rpkindControl, Visible, Spacing 1, no control.
  explicit TRPControlItemInfo(TCustomRPData* rpData);
  // The item that holds control (owned from now on), aligned vertically by vAlign.
  TRPControlItemInfo(TCustomRPData* rpData, std::unique_ptr<IRPItemControl> control, TRPVAlign vAlign);
  ~TRPControlItemInfo() override;
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }

  // The editor may resize the control with the mouse.
  bool ResizableFlag = false;
  bool Visible = true;
  std::unique_ptr<IRPItemControl> Control;
  // 1 .. 100: the control's width follows this percentage of the available width; any
  // other value: the control keeps its own width.
  int32_t PercentWidth = 0;

  bool HasPercentWidth() const { return PercentWidth >= 1 && PercentWidth <= 100; }
  // The control's size (0 without a control), and with Spacing on both sides.
  int32_t GetImageWidth(const IRPStyleSheet* rpStyle) const override;
  int32_t GetImageHeight(const IRPStyleSheet* rpStyle) const override;
  int32_t GetWidth() const override;
  int32_t GetHeight() const override;
  // 20 with a percent width, else the width with Spacing; scaled to the device when a
  // resolution is given.
  int32_t GetMinWidth(const TRPResolution* resolution, TCanvas* canvas, TCustomRPData* rpData) const override;
  // Content with a control; selected as an object; a control query; resizable when
  // ResizableFlag and no percent width; live. Focusable: a window control that takes the
  // focus; not repainted on hover; sized for the width with a percent width.
  bool GetBoolValue(TRPItemBoolQuery query) const override;
  bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const override;

  // The control's Left := left + Spacing and its Tag := top + Spacing (with show its Top
  // too); it shows when the item is Visible.
  void AdjustControlPlacement(int32_t left, int32_t top, bool show) override;
  // The size for availWidth (the layout's units): with a percent width the draw item gets
  // the width availWidth * PercentWidth div 100 and the height of the control with
  // Spacing, scaled to the device, and the descent is Spacing scaled; unless noResize the
  // control becomes that width (in screen pixels) less 2 * Spacing. Without a percent
  // width the draw item's size is left alone (drawWidth and drawHeight unchanged) and the
  // descent is GetDescent. The second output (horzOffset) is 0.
  void UpdateSizeForWidth(int32_t availWidth, bool noResize, const TRPResolution* resolution, int32_t& drawWidth,
                          int32_t& drawHeight, int32_t& descent, int32_t& horzOffset) const;

  bool OwnsControl(const TComponent* control) const override;
  // From a control item: PercentWidth, ResizableFlag and Visible (not the control).
  void CopyPropertiesFrom(const TCustomRPItemInfo& source) override;
  // The control goes hidden into the document's parent control (none when safe or
  // without a document), then the base behaviour.
  void Inserting(TCustomRPData* rpData, AnsiString& text, bool safe) override;
  void MovingToUndoList(int32_t itemNo, TCustomRPData* rpData) override;
  void MovingFromUndoList(int32_t itemNo, TCustomRPData* rpData) override;
  // A window control takes the keyboard focus.
  void FocusItem() override;

  // 8 MinHeightOnPage, 10 ResizableFlag, 14 Visible (showing or hiding a control that
  // has a parent); others to the parent class.
  bool SetIntProperty(int32_t code, int32_t value) override;
  bool GetIntProperty(int32_t code, int32_t& value) const override;
  // After the inherited lines: "minheightonpage" when positive, "resizable" 1 when set,
  // "visible" 0 when hidden.
  int32_t GetRPFPropertyCount() const override;
  void SaveRPFProperties(TStream& stream) const override;

  // Screen drawing with the item's box at (x, y): nothing when hidden; the current-item
  // frame and the selection frame (the control draws itself).
  void Paint(int32_t x, int32_t y, TCanvas& canvas, uint32_t drawState, const TRPStyle& rpStyle) const;
  // Printing: image (the host's, or CreateControlImage of the control; owned by the
  // caller) into the page painter's bitmap; partIndex is the part of a split item being
  // printed (-1: all of it) and imageTop that part's first row. With MinHeightOnPage the
  // image is drawn at (0, -imageTop); otherwise the bitmap grows to hold it and it is
  // centred. False when hidden or without an image.
  bool PrintToBitmap(TBitmap& bitmap, const TBitmap* image, int32_t partIndex, int32_t imageTop) const;
  // Whether printing may split the item over pages (through its bitmap).
  bool PrintsInParts() const { return MinHeightOnPage != 0; }

  // With rpfoSaveControlsBody: the name, the control's class name, the property lines
  // and the control as one hex line or (rpfoSaveBinary) a binary block, with the control
  // actions rpcaBeforeRPFSave and rpcaAfterRPFSave around it; otherwise the name and the
  // property lines.
  void SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t itemNo, int32_t paraNo, const AnsiString& name,
               const TRPMultiDrawItemPart* part, bool forceSameAsPrev) const override;
  // Without a body the control comes from the host (by name and tag); with a body from
  // the class the second line names and the stream in the last line. A stream that does
  // not read gives no control and false; a control class nobody registered is skipped
  // with the warning rpfwUnknownCtrls, and refuses the item unless
  // rpfoIgnoreUnknownCtrls.
  bool ReadRPFLine(const AnsiString& s, IRPFStreaming& streaming, TRPFBodyMode readType, int32_t lineNo,
                   int32_t lineCount, AnsiString& name, TRPFLineMode& readMode, TRPFReadState& readState) override;
  // What the document's host writes for the control (SaveComponentToFile), as it is.
  void SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  void SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  AnsiString AsPlainText(int32_t lineWidth, TCustomRPData* rpData, bool& textIsUnicode) const override;

private:
  // The class name read from a stream's second line (empty: none read yet).
  AnsiString FReadClassName;
};
