// The document of a rich view control. TRPControlData adds keyboard focus among the
// document's hyperlinks and flicker-free painting to a formatted document;
// TRichPaneRPData answers every question of formatting and painting from its control
// (RichPane.h) and raises the control's events.
#pragma once

#include <cstdint>
#include <memory>

#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/view/RPAnimate.h"
#include "richtext/layout/view/RPDropSource.h"
#include "richtext/layout/view/RPPopup.h"

class TCustomRichPane;

enum TRPTabNavigationType : uint8_t { rptnNone, rptnTab, rptnCtrlTab };

// The document flag of the control's own document (sub-documents ask their root).
inline constexpr TRPDocumentFlags rpdfRootDocument = 0x0100;

// The message painted in place of a document whose painting raised.
inline constexpr const char* RPPaintErrorPrefix = "Error:";

class TRPControlData : public TCustomRPFormattedData {
public:
  // The focused item (-1: none) and the document that holds it (nullptr: none).
  int32_t FocusedItemNo = -1;
  TCustomRPFormattedData* FocusedItemData = nullptr;
  TRPTabNavigationType TabNavigation = rptnTab;
  // The item whose document an editor in place over the view edits (a table whose cell
  // is edited); nullptr: none.
  TCustomRPItemInfo* InplaceEditedItem = nullptr;
  // One-shot: the next formatting pass of an editor's document is skipped.
  bool SkipNextFormat = false;

  void ClearFormatting() override;
  // Forgets the focused item (deselecting drops the keyboard focus); the item holding it
  // inside its documents (a table) lets it go too.
  void UnfocusItem() override;
  // Records the focused item of this document or a document inside it.
  void SetFocusedItem(int32_t itemNo, TCustomRPFormattedData* focusedData, int32_t focusedItemNo) override;
  // Moves the keyboard focus to the next (backward: previous) item that takes it, in this
  // document or its sub-documents (table cells), erasing the old focus rectangle on
  // canvas and drawing the new one when a canvas is given, and bringing the item into
  // view. False when no such item is left: nothing has the focus then, and it belongs to
  // the next control of the form, which the window host decides.
  bool DoTabNavigation(bool backward, TCanvas* canvas);
  // Follows the focused item: a hyperlink raises the jump event, another item runs its
  // own action. Nothing without a focused item.
  void ExecuteFocusedItem();
  // A release on an item that takes the focus, with nothing selected, makes it the
  // focused item when the control navigates by tab.
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  // The focus rectangle (XOR: a second call erases it) around every draw item of the
  // focused item, when that item is a hyperlink.
  void DrawFocusRectangle(TCanvas& canvas);
  bool IsFocusRectangleShown() const { return FFocusRectShown; }
  // Paints the part clip of the view onto canvas through an off-screen bitmap: the
  // background, then the document. The focus rectangle and the XOR figure are taken off
  // first and put back after. A painting error is not passed on: the painted part is
  // shown, then "Error:" and the message in red on white at the top-left corner.
  void PaintBuffered(TCanvas& canvas, const TRect& clip);

private:
  // The background and the document through the buffer, with the error text.
  void PaintBufferedContent(TCanvas& canvas, const TRect& clip);
  bool FFocusRectShown = false;
};

class TRichPaneRPData : public TRPControlData {
public:
  explicit TRichPaneRPData(TCustomRichPane& control);
  ~TRichPaneRPData() override;

  TCustomRichPane& Control() const { return FControl; }
  // The control's editor in place is freed by the item that made it.
  void ReleaseInplaceEditor() override;
  // Added to the document's jump numbers when a hyperlink is followed.
  int32_t FirstJumpNo = 0;

  const IRPStyleSheet* GetRPStyle() const override;
  TRPStyle* GetStyleSheet() const override;
  TRPDocumentFlags GetDocumentFlags() const override;
  void SetDocumentFlags(TRPDocumentFlags flags);
  TRPOptions GetOptions() const override;
  void SetOptions(TRPOptions options) override;
  uint32_t GetRPFOptions() const override;
  void SetRPFOptions(uint32_t options) override;
  uint32_t GetRTFOptions() const override;
  void SetRTFOptions(uint32_t options) override;
  uint32_t GetRPFWarnings() const override;
  void SetRPFWarnings(uint32_t warnings) override;
  TRPFReaderStyleMode GetRPFTextStylesReadMode() const override;
  TRPFReaderStyleMode GetRPFParaStylesReadMode() const override;
  // The control's DoInPaletteMode; no palette (true-colour devices only).
  TRPPaletteAction GetDoInPaletteMode() const override;
  HPALETTE GetRPPalette() const override { return {}; }
  const TLogPalette* GetRPLogPalette() const override { return nullptr; }
  AnsiString GetDelimiters() const override;
  TRPBiDiMode GetBiDiMode() const override;

  int32_t GetLeftMargin() const override;
  int32_t GetRightMargin() const override;
  int32_t GetTopMargin() const override;
  int32_t GetBottomMargin() const override;
  int32_t GetMinTextWidth() const override;
  int32_t GetMaxTextWidth() const override;
  // The control's client area.
  int32_t GetWidth() const override;
  int32_t GetHeight() const override;
  // The document size as the control's scroll ranges hold it.
  int32_t GetAreaWidth() const;
  int32_t GetAreaHeightUnits() const;
  int32_t GetHOffs() const override;
  // Vertical position times the small step, less the vertical alignment offset.
  int32_t GetVOffs() const override;
  // Where the document stands in a client area taller than it: by the control's
  // DocVAlign, never below 0.
  int32_t GetDocumentVAlignOffset() const override;
  TPoint GetOrigin() const override { return TPoint{0, GetDocumentVAlignOffset()}; }
  int32_t GetVSmallStep() const override;
  TCanvas* GetCanvas() override;
  TColor GetColor() const override;
  TRPBackground* GetBackground() const override;
  bool IsFocused() const override;
  // The control's window host; nullptr without one (the report control).
  IRPDocumentView* GetDocumentView() const override;

  void ScrollTo(int32_t y) override;
  void HScrollTo(int32_t x) override;
  // Scrolls the least that shows the rectangle, its top-left corner first.
  void ShowRectangle(int32_t x, int32_t y, int32_t width, int32_t height) override;
  // The control's scroll ranges: the height in small steps, rounded up.
  void UpdateScrollRanges(int32_t width, int32_t height) override;
  // Keeps the vertical range within 32000 units.
  void AdjustVSmallStep() override;

  void ItemAction(TRPItemAction action, TCustomRPItemInfo* item, AnsiString& text) override;
  // The control's events (defaults without them).
  std::unique_ptr<TGraphic> RPFPictureNeeded(const AnsiString& name, const TRPTag& tag) override;
  TCustomImageList* RPFImageListNeeded(int32_t tag) override;
  std::unique_ptr<TComponent> RPFControlNeeded(const AnsiString& className, const AnsiString& name,
                                               const TRPTag& tag) override;
  // The control's DocProperties.
  TStrings* GetDocProperties() override;
  bool SaveItemToFile(const WideString& path, TCustomRPData& rpData, int32_t itemNo, TRPSaveFormat format, bool unicode,
                      AnsiString& text) override;
  AnsiString SaveComponentToFile(const WideString& path, TComponent* component, TRPSaveFormat format) override;
  // Through OnWriteHyperlink when the document flags say the control writes hyperlinks.
  void WriteHyperlink(int32_t jumpNo, TCustomRPData& rpData, int32_t itemNo, TRPSaveFormat format, AnsiString& target,
                      AnsiString& extra) override;
  bool HostSavesPicture(TRPSaveFormat format, const WideString& path, const TGraphic& graphic, TColor backColor,
                        WideString& fileName) override;
  // The control's SavePictureFile, which may be overridden.
  WideString SavePictureFile(const WideString& path, const WideString& imagesPrefix, const TGraphic& graphic,
                             int32_t& imgSaveNo, bool overwrite, TColor backColor) override;
  // The document's own picture saving, for the control's default.
  WideString DefaultSavePictureFile(const WideString& path, const WideString& imagesPrefix, const TGraphic& graphic,
                                    int32_t& imgSaveNo, bool overwrite, TColor backColor) {
    return TCustomRPData::SavePictureFile(path, imagesPrefix, graphic, imgSaveNo, overwrite, backColor);
  }
  AnsiString SaveRTFExtra(TRPRTFSaveArea area, TObject* object, int32_t row, int32_t col, bool inStyleSheet) override;
  AnsiString SaveHTMLExtra(TRPHTMLSaveArea area, bool cssVersion) override;
  AnsiString SaveParaToHTML(TCustomRPData& rpData, int32_t itemNo, bool paraStart, bool cssVersion) override;
  bool HTMLSaveImage(TCustomRPData& rpData, int32_t itemNo, const WideString& path, TColor backColor,
                     AnsiString& location) override;
  void ControlAction(TRPControlAction action, int32_t itemNo, TCustomRPItemInfo* item) override;
  // The control's OnProgress, OnImportPicture and OnReadHyperlink. A hyperlink on a
  // picture (bullet) is read as a hot picture (hotspot), with or without a handler.
  bool HasProgressHandler() override;
  void ReportProgress(TRPLongOperation operation, TRPProgressStage stage, int32_t percentDone) override;
  std::unique_ptr<TGraphic> ImportPicture(const AnsiString& location) override;
  void ReadHyperlink(const AnsiString& target, const AnsiString& extras, TRPLoadFormat format, int32_t& styleNo,
                     TRPTag& tag, AnsiString& itemName) override;
  // The control's OnURLNeeded.
  AnsiString GetURL(int32_t id) override;
  void ExecuteItemJump(int32_t jumpId) override;
  void SelectionChanged() override;
  // The control's events and settings for the mouse handling of the document.
  void HoverJumpChanged(int32_t jumpNo) override;
  void DoRPMouseDown(TMouseButton button, TShiftState shift, int32_t itemNo, int32_t x, int32_t y) override;
  void DoRPMouseUp(TMouseButton button, TShiftState shift, int32_t itemNo, int32_t x, int32_t y) override;
  void DoRPDblClick(const WideString& word, int32_t styleNo) override;
  void DoRPRightClick(const WideString& word, int32_t styleNo, int32_t screenX, int32_t screenY) override;
  bool IsRPDblClickAssigned() const override;
  void DoItemHint(TCustomRPFormattedData& rpData, int32_t itemNo, WideString& hint) override;
  TCursor GetNormalCursor() const override;
  void DoCopy() override;

  // --- Dragging the selection -------------------------------------------------------
  // The control's own document owns the drop source while a drag of its selection
  // lasts: InitDragging makes it on first use (none with rpoDisallowDrag) and answers
  // whether one is there, DoneDragging forgets it. A sub-document asks its root.
  bool InitDragging() override;
  void DoneDragging() override;
  // The source of the drag under way from this control; nullptr when none.
  TRPDropSource* DropSource() const;
  // A drag carries the formats the drop source renders.
  void PutDragFormats(IRPClipboard& sink, TColor color, const TRPBackground* background) override;

  // Ends live spelling, stops the animation timer when the control animates on
  // formatting, frees the smart popup button, then clears the document.
  void Clear() override;
  // The children of the control take their places (Top from Tag), then the smart popup
  // button.
  void ControlsPlaced() override;

  // --- Controls, live spelling (the control's) ---------------------------------------
  // The window of the control's host.
  IRPControlParent* GetParentControl() override;
  void PauseLiveSpelling() override;
  void ResumeLiveSpelling() override;
  void LiveSpellingResetFrom(TCustomRPData& rpData, int32_t itemNo, int32_t offset) override;
  void AdjustSpellingOnInsert(TCustomRPData& rpData, int32_t itemNo, int32_t offset, WideChar ch) override;
  void AdjustSpellingOnDelete(TCustomRPData& rpData, int32_t itemNo, int32_t offset, int32_t count) override;
  void LiveSpellingCellFreed(TCustomRPData& cell) override;

  // --- Animation ----------------------------------------------------------------------
  // Whether pictures of the nesting get animators (the control's animation runs).
  bool AnimationAllowed() const { return FAnimationAllowed; }
  void SetAnimationAllowed(bool value) { FAnimationAllowed = value; }
  // The animators of the nesting; nullptr before the first.
  TRPAnimatorList* Animators() const { return FAnimators.get(); }
  // Takes a new animator into the list (made on first use; a full list frees it and
  // clears animator) and starts the control's animation timer when animation runs.
  void InsertAnimator(std::unique_ptr<IRPPictureAnimator>& animator);

  // --- Smart popup --------------------------------------------------------------------
  // The button shows for item of rpData (a document of the nesting), made by the
  // control's host when there is none, and is placed.
  void SetSmartPopupTarget(TCustomRPFormattedData* rpData, TCustomRPItemInfo* item);
  TCustomRPFormattedData* SmartPopupData() const { return FSmartPopupData; }
  TCustomRPItemInfo* SmartPopupItem() const { return FSmartPopupItem; }
  IRPSmartPopupButton* SmartPopupButton() const { return FSmartPopupButton.get(); }
  // The button moves to the right and bottom end of its item's last draw item, kept
  // inside the client area; it is freed when the item is drawn no longer.
  void PlaceSmartPopupButton();
  void FreeSmartPopupButton();

private:
  // Events are not raised while the control is being destroyed.
  bool ControlAlive() const;
  // Whether the control's export events answer for this document: not when it stands in
  // for a part of another document (a table cell's editor in place), whose root's
  // control's events answer then, as they do for the part itself.
  bool HearsExportEvents();
  TCustomRichPane& FControl;
  bool FAnimationAllowed = false;
  std::unique_ptr<TRPAnimatorList> FAnimators;
  TCustomRPFormattedData* FSmartPopupData = nullptr;
  TCustomRPItemInfo* FSmartPopupItem = nullptr;
  std::unique_ptr<IRPSmartPopupButton> FSmartPopupButton;
  // The jump last reported as hovered (-1: none).
  int32_t FReportedHoverJumpNo = -1;
  std::unique_ptr<TRPDropSource> FDropSource;
};
