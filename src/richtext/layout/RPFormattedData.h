// A document formatted for one width: the item list turned into draw items
// (RPDrawLines.h), each line placed, aligned and spaced, and the document's height.
//
// Geometry is in the drawing units of the formatting canvas; style values (indents,
// spacing, margins, item sizes) are screen pixels converted with the resolution record.
// The concrete document (the control's, a page's, a table cell's) answers the virtual
// queries: margins, widths, canvas, resolutions, document flags.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/UserInput.h"
#include "platform/graphics/Canvas.h"
#include "richtext/layout/RPClipboard.h"
#include "richtext/layout/RPDocumentView.h"
#include "richtext/layout/RPDrawLines.h"
#include "richtext/layout/RPFontInfoCache.h"
#include "richtext/layout/RPSelectingInfo.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFontInfo.h"
#include "richtext/model/RPParaInfo.h"
#include "richtext/model/RPScaling.h"

class TRPStyle;
class TRPBackground;
class TBitmap;
class TGraphic;

// A page break that pagination found: before offset Offset of item ItemNo, or, with Row
// >= 0, before that row (split point) of the item.
struct TRPSoftPageBreakInfo {
  int32_t ItemNo = 0;
  int32_t Offset = 0;
  int32_t Row = -1;
};
using TRPSoftPageBreakList = std::vector<TRPSoftPageBreakInfo>;

// The band of a line that rpssLines selection fills (document coordinates).
struct TRPLineBand {
  int32_t Top = 0;
  int32_t Bottom = 0;
};

// The control's options beyond those the document model reads (RPData.h): what the
// mouse handling and copying of a formatted document read.
inline constexpr TRPOptions rpoAllowSelection = 0x40;
inline constexpr TRPOptions rpoAutoCopyText = 0x100;
inline constexpr TRPOptions rpoAutoCopyRPF = 0x200;
inline constexpr TRPOptions rpoAutoCopyImage = 0x400;
inline constexpr TRPOptions rpoAutoCopyRTF = 0x800;
inline constexpr TRPOptions rpoFormatInvalidate = 0x1000;
inline constexpr TRPOptions rpoDblClickSelectsWord = 0x2000;
inline constexpr TRPOptions rpoRClickDeselects = 0x4000;
inline constexpr TRPOptions rpoFastFormatting = 0x8000;
inline constexpr TRPOptions rpoDisallowDrag = 0x10000;
inline constexpr TRPOptions rpoAutoCopyUnicodeText = 0x20000;
// A single press on a word reports it as a double click does (OnRPDblClick).
inline constexpr TRPOptions rpoSingleClick = 0x40000;

// Document flags: the set the document holding the layout answers.
using TRPDocumentFlags = uint16_t;
inline constexpr TRPDocumentFlags rpdfUseJumps = 0x0001;            // collect hyperlink areas
inline constexpr TRPDocumentFlags rpdfTrimSpaces = 0x0002;          // drop the space at a soft line break
inline constexpr TRPDocumentFlags rpdfPrinting = 0x0004;            // controls are not moved into place
inline constexpr TRPDocumentFlags rpdfUseExternalLeading = 0x0008;  // external leading above each baseline
inline constexpr TRPDocumentFlags rpdfFitByExtents = 0x0040;        // one extent call finds the fit
inline constexpr TRPDocumentFlags rpdfUseCollectionPPI = 0x0400;    // styles applied with the sheet's ppi
// The scrolling control's set, the printable control's and the report control's.
inline constexpr TRPDocumentFlags rpdfRichPaneDefaults = 0x0D03;
inline constexpr TRPDocumentFlags rpdfPrintableDefaults = (rpdfRichPaneDefaults & ~0x0C01) | 0x0064;
inline constexpr TRPDocumentFlags rpdfReportDefaults = (rpdfPrintableDefaults & ~0x0004) | 0x0400;
static_assert(rpdfPrintableDefaults == 0x0166 && rpdfReportDefaults == 0x0562);

// One hyperlink area, in document coordinates of its draw item.
struct TRPJumpInfo {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  int32_t JumpNo = 0;               // shared by the draw items of one item
  TCustomRPData* RPData = nullptr;  // the document owning DrawItemNo
  int32_t DrawItemNo = 0;
  int16_t Cursor = 0;
  // The draw item of the document holding the list whose item made the area (DrawItemNo
  // for its own areas, a table's for its cells'); reformatting in place goes by it.
  int32_t HolderDrawNo = 0;
};

class TCustomRPFormattedData : public TCustomRPData {
public:
  TCustomRPFormattedData();
  ~TCustomRPFormattedData() override;

  int32_t DocumentWidth = -1;  // formatted area without the margins; -1 before a pass
  int32_t TextWidth = -1;      // where wrapping paragraphs break; -1 before a pass
  int32_t DocumentHeight = 0;  // margins included
  int32_t MinDocWidth = 0;     // the minimal width of the whole document, measured by the last pass
  int32_t LastFormattedItemNo = -1;
  TRPDrawLines DrawItems;
  std::vector<std::unique_ptr<TRPJumpInfo>> Jumps;

  // --- What the concrete document answers ------------------------------------------
  // The style sheet that formatting applies (nullptr: nothing is formatted).
  virtual TRPStyle* GetStyleSheet() const { return nullptr; }
  virtual TRPDocumentFlags GetDocumentFlags() const { return rpdfRichPaneDefaults; }
  // Margins and text widths in screen pixels; 0 in this class.
  virtual int32_t GetLeftMargin() const { return 0; }
  virtual int32_t GetRightMargin() const { return 0; }
  virtual int32_t GetTopMargin() const { return 0; }
  virtual int32_t GetBottomMargin() const { return 0; }
  virtual int32_t GetMinTextWidth() const { return 0; }
  virtual int32_t GetMaxTextWidth() const { return 0; }
  // The area's size in the canvas's units.
  virtual int32_t GetWidth() const { return 0; }
  virtual int32_t GetHeight() const { return 0; }
  virtual int32_t GetHOffs() const { return 0; }
  virtual int32_t GetVOffs() const { return 0; }
  // How far the document stands below the top of a taller area that aligns it; 0 here.
  virtual int32_t GetDocumentVAlignOffset() const { return 0; }
  virtual TCanvas* GetCanvas() { return nullptr; }
  // Screen and device pixels per inch: the screen's and the canvas's in this class.
  virtual TRPResolution GetResolutions(TCanvas& canvas) const;
  // Characters allowed on a line; 0: no limit.
  virtual int32_t GetMaxLength() const { return 0; }
  virtual void UpdateScrollRanges(int32_t, int32_t) {}
  virtual void AdjustVSmallStep() {}
  virtual void ScrollTo(int32_t) {}
  virtual void HScrollTo(int32_t) {}
  // Pixels per vertical scroll unit; 1 in this class.
  virtual int32_t GetVSmallStep() const { return 1; }
  // Brings a rectangle of the document into view; nothing in this class.
  virtual void ShowRectangle(int32_t, int32_t, int32_t, int32_t) {}
  // A document laid out into pages: its items get their printing draw items, which may
  // be split over pages (print/RPPrintItems.h).
  virtual bool IsPrintable() const { return false; }
  // The list style and level that the document's first paragraph continues when the
  // document begins in the middle of a list paragraph (a fragment of a longer document);
  // false (none) in this class.
  virtual bool GetContinuedListMarker(int32_t& listNo, int32_t& level) const;
  // The draw item formatting makes for item itemNo, before it places it: a plain one in
  // this class; a document laid out into pages answers an item's printing draw item.
  virtual std::unique_ptr<TRPDrawLineInfo> CreateDrawItem(int32_t itemNo);
  // The document's colour and background (painting).
  virtual TColor GetColor() const { return clNone; }
  virtual TRPBackground* GetBackground() const { return nullptr; }
  // Called when a pass's layout begins, before its font cache opens; nothing here.
  virtual void BeforeFormat() {}
  // Called at the end of every pass with the formatted item range.
  virtual void AfterFormat(int32_t, int32_t) {}
  // Called after the controls of control items were moved into place; nothing here.
  virtual void ControlsPlaced() {}
  // The document's offset in the area that shows it (a cell's inside its table's
  // document); (0, 0) in this class.
  virtual TPoint GetOrigin() const { return TPoint{0, 0}; }

  // --- Formatting -------------------------------------------------------------------
  // Formats the document for the current width (see the source for the steps). Does
  // nothing without a style sheet, above depth 1, or while a pass runs. Callers use the
  // named passes below.
  //
  // The item flags go unchanged to every item that lays itself out for the width it is
  // offered (IRPLayoutItem::FormatForWidth). ItemFlag1 (force): the item lays itself
  // out again even when that width did not change; a table hands it on to its cells'
  // documents (FormatSubDocument), so it reaches every table nested inside. ItemFlag2:
  // an item edited in place reformats its editor.
  virtual void Format(bool onlyResized, bool forceFormat, bool noScroll, int32_t depth, TCanvas* canvas, bool onlyTail,
                      bool itemFlag1, bool itemFlag2);
  // The whole document laid out anew on canvas (nullptr: GetCanvas()).
  void FormatDocument(TCanvas* canvas = nullptr) { Format(false, true, false, 0, canvas, false, false, false); }
  // The whole document laid out anew without the pass moving the view: the caller puts
  // the selection and the scroll position back.
  void ReformatKeepingView(TCanvas* canvas = nullptr) { Format(false, true, true, 0, canvas, false, false, false); }
  // After a change of size: laid out only when a width changed; the view stays on the
  // same line and the selection on the same items.
  void FormatAfterResize(TCanvas* canvas = nullptr) { Format(true, false, false, 0, canvas, false, false, false); }
  // A cell's document (or any sub-document) laid out whole for the width its holder gave
  // it, on its own canvas; force is ItemFlag1 for the items inside.
  void FormatSubDocument(bool force) { Format(false, true, false, 0, GetCanvas(), false, force, false); }
  // Frees the draw items and jump areas; DocumentHeight = top + bottom margin.
  virtual void ClearFormatting();
  void Clear() override;

  // --- Painting (RPPaint.cpp) ---------------------------------------------------------
  // Paints the part of the document shown by rect onto a canvas whose origin is rect's
  // top-left corner; document point (GetHOffs() + rect.Left, GetVOffs() + rect.Top) lands
  // there.
  void DrawRect(TCanvas& canvas, const TRect& rect);
  // The document's background into rect, scrolled styles moving with the text.
  virtual void DrawBackground(TCanvas& canvas, const TRect& rect);
  // Called at the end of DrawRect; the editor's data draws resize handles.
  virtual void DrawResizeHandles(TCanvas&, int32_t, int32_t, int32_t, int32_t) {}
  // Whether the view that shows the document has the keyboard focus.
  virtual bool IsFocused() const { return false; }
  // The background under an item that draws transparently: the paragraph's colour, else
  // the document's; with a background picture (and a draw item for the item) useBitmap
  // is set and bitmap (made when nullptr) holds the document's background at rect (in
  // document coordinates; with useItemRect the item's own box).
  virtual void GetItemBackground(int32_t itemNo, const TRect& rect, bool useItemRect, TColor& color,
                                 std::unique_ptr<TBitmap>& bitmap, bool& useBitmap);
  // The window rectangle of a draw item, widened by margin on every side, is marked for
  // repainting (after BeforeInvalidateDrawItem).
  void InvalidateDrawItem(int32_t drawNo, int32_t margin);
  virtual void BeforeInvalidateDrawItem(int32_t) {}
  // The window that shows the document; nullptr when none.
  virtual IRPDocumentView* GetDocumentView() const { return nullptr; }
  // Marks the whole window, repaints it now, paints what is marked now; nothing without
  // a window.
  void InvalidateControl();
  void RefreshControl();
  void UpdateControl();
  // Hooks of the window's painting around DrawBackground and DrawRect; nothing here.
  virtual void BeforePaintContent(TCanvas&, const TRect&) {}
  virtual void AfterPaintBackground(TCanvas&, const TRect&) {}
  virtual void AfterPaintContent(TCanvas&, const TRect&) {}
  // The soft page breaks that pagination reports for showing with rpoShowPageBreaks;
  // nullptr when none.
  void SetSoftPageBreaks(std::unique_ptr<TRPSoftPageBreakList> breaks) { FSoftPageBreaks = std::move(breaks); }
  void ClearSoftPageBreaks() { FSoftPageBreaks.reset(); }
  const TRPSoftPageBreakList* GetSoftPageBreaks() const { return FSoftPageBreaks.get(); }
  // The jump number under the mouse (-1: none); hyperlink text with it is painted hovered.
  void SetHoverJumpNo(int32_t jumpNo) { FHoverJumpNo = jumpNo; }
  int32_t GetHoverJumpNo() const { return FHoverJumpNo; }

  // --- Minimal widths (device pixels when the resolutions differ) ---------------------
  int32_t CalculateMinDocWidth(const TRPResolution* resolution, TCanvas& canvas);
  int32_t CalculateMinItemsWidthDef(int32_t first, int32_t last, const TRPResolution* resolution, TCanvas& canvas);
  int32_t CalculateMinRangeWidth(int32_t first, int32_t last, TCanvas& canvas);
  int32_t CalculateParaMinWidthDef(int32_t itemNo, TCanvas& canvas);
  // The same on the document's canvas; 0 without one.
  int32_t GetParaMinWidth(int32_t itemNo);

  // --- Reformatting in place ----------------------------------------------------------
  // The draw items first .. last widened to the paragraph before the one holding first
  // and the paragraph after the one holding last.
  void GetReformatRange(int32_t startDrawNo, int32_t endDrawNo, int32_t& firstDrawNo, int32_t& lastDrawNo) const;
  // Lays out again the paragraphs of draw items firstDrawNo .. lastDrawNo; itemDelta items
  // were inserted (positive) or deleted (negative) inside them since the last pass; flag
  // is the pass's ItemFlag1 (Format).
  void ReformatParagraphs(int32_t firstDrawNo, int32_t lastDrawNo, bool flag, int32_t itemDelta);
  // Lays out items firstItemNo .. lastItemNo (whole paragraphs, present numbering) in
  // place of draw items firstDrawNo .. lastDrawNo, moving the later draw items by the
  // change of height and their item numbers by itemDelta.
  void ReformatDrawItems(int32_t firstDrawNo, int32_t lastDrawNo, int32_t firstItemNo, int32_t lastItemNo,
                         int32_t itemDelta, bool flag);

  // --- Draw-item queries --------------------------------------------------------------
  // The visual line around a draw item.
  void GetLineDrawItems(int32_t drawNo, int32_t& first, int32_t& last) const;
  // The smallest Top of the line around a draw item.
  int32_t GetLineTop(int32_t drawNo) const;
  // 0 for an empty document or y at or above the first top; mode 3: the last draw item
  // when y lies below the last top; mode 2: 1; else the first draw item with Top >= y,
  // mode 1 stepping back to the start of the line before.
  int32_t FindDrawItemByY(int32_t y, int32_t mode) const;
  int32_t GetItemFirstDrawItem(int32_t itemNo) const;
  // Item position of a draw-item position; item -1 for an invalid draw item.
  void DrawItemToItemPos(int32_t drawNo, int32_t drawOffs, int32_t& itemNo, int32_t& offs) const;
  void ItemToDrawItemPos(int32_t itemNo, int32_t offs, int32_t& drawNo, int32_t& drawOffs) const;
  // --- Selection and hit testing (RPSelection.cpp) -------------------------------------
  // Caret offsets in a draw item: 1 .. Length + 1 for text, 0 or 1 for other items.
  int32_t GetDrawItemStartOffset(int32_t drawNo) const { return IsTextItem(DrawItems[drawNo]->ItemNo) ? 1 : 0; }
  int32_t GetDrawItemEndOffset(int32_t drawNo) const;
  // The selection as draw-item positions (start where selecting began; with normalize
  // the earlier first); -1 draw items for none.
  virtual void GetDrawSelectionBounds(int32_t& startNo, int32_t& endNo, int32_t& startOffs, int32_t& endOffs,
                                      bool normalize) const;
  void GetSelectionBounds(int32_t& startItemNo, int32_t& endItemNo, int32_t& startOffs, int32_t& endOffs,
                          bool normalize) const override;
  // Normalized item positions in the order start item, start offset, end item, end
  // offset; the editor's data answers the caret when nothing is selected.
  void GetSelectionRange(int32_t& startItemNo, int32_t& startOffs, int32_t& endItemNo, int32_t& endOffs) const;
  virtual void GetSelectionRangeOrCaret(int32_t& startItemNo, int32_t& startOffs, int32_t& endItemNo,
                                        int32_t& endOffs) const;
  // Selects from one item position to another (both items >= 0; else nothing is
  // selected), offsets clamped into their draw items. A sub-document first becomes its
  // parents' inner selection. SelectionChanged is told.
  void SetSelectionBounds(int32_t startItemNo, int32_t startOffs, int32_t endItemNo, int32_t endOffs);
  // A non-empty selection, asked of the document standing in for this one when there is
  // one. countInnerSelection: an item holding an inner selection counts. clearEmpty: an
  // empty selection is cancelled (the inner-selection item drops its selection first).
  bool SelectionExists(bool clearEmpty, bool countInnerSelection = false);
  // The stored start, after cancelling an empty selection.
  virtual void GetSelectionStartDrawPos(int32_t& drawNo, int32_t& drawOffs);
  // Cancels the selection and the keyboard focus of an item (UnfocusItem); every item
  // but exceptItem drops its inner selection. Does nothing while a deselection runs.
  virtual void Deselect(TCustomRPItemInfo* exceptItem, bool notify);
  // The item holding the keyboard focus loses it; nothing in this class, which keeps no
  // focused item (the control's document does).
  virtual void UnfocusItem() {}
  void Deselect(bool notify) { Deselect(nullptr, notify); }
  // Selects the whole document; what items hold inside (selected cells, a cell's editor
  // in place, whose content goes back into its cell) gives way first, as for any
  // selection set here.
  void SelectAll();
  bool IsDrawPosInSelection(int32_t drawNo, int32_t offs, bool includeEdges) const;
  // For a sub-document also true when the item holding it lies wholly in the parent's
  // selection.
  bool IsPosInSelection(int32_t itemNo, int32_t offs, bool includeEdges) const;
  // The item that holds an inner selection (a table with selected cells); nullptr for none.
  virtual void SetInnerSelectionItem(TCustomRPItemInfo* item) { FInnerSelectionItem = item; }
  TCustomRPItemInfo* GetInnerSelectionItem() const { return FInnerSelectionItem; }
  // Every item but exceptItem drops its inner selection.
  virtual void ReleaseSubItems(TCustomRPItemInfo* exceptItem);
  // A document inside this one (a table's cell, held by ownerItem) becomes the active
  // child that holds the caret or the inner selection: ownerItem becomes this document's
  // inner selection item. A table cell passes this on to its own table.
  virtual void AttachChildEditor(TCustomRPFormattedData* editor, TCustomRPItemInfo* ownerItem);
  // The active child leaves; nothing in this class.
  virtual void DetachChildEditor(TCustomRPFormattedData*) {}
  // The editor shown in place over the document's control (a table cell's) goes, its
  // content back in its cell; nothing in this class (no control).
  virtual void ReleaseInplaceEditor() {}
  // Selection shapes.
  void ExpandSelectionToParagraphs(bool onlyIfSeveral);
  void ExpandSelectionToLines(bool startOnly);
  bool SelectionSpansParagraphs() const;
  bool SelectionIsForward() const;
  // Position queries on draw items.
  bool IsParaStartDrawItem(int32_t drawNo) const;     // draw item 0, or an item's first that starts a paragraph
  bool IsItemStartDrawItem(int32_t drawNo) const;     // the first draw item of its item
  bool IsLineStartItem(int32_t drawNo) const;         // the first draw item of an item that starts a line
  bool IsParaEndDrawItem(int32_t drawNo) const;       // the last draw item, or the next starts a paragraph
  bool IsLineWrappedAfter(int32_t drawNo) const;      // the next draw item begins a line only by wrapping
  bool IsLineStartAfterMarker(int32_t drawNo) const;  // starts a line, or follows another item's list marker
  // Characters of the draw item's text item follow it without being shown right after
  // it (the rest of the text, or a space dropped at a wrap).
  bool EndsItemTextBeforeEnd(int32_t drawNo) const;
  int32_t GetDrawItemStyle(int32_t drawNo) const { return GetItemStyle(DrawItems[drawNo]->ItemNo); }
  // The paragraph's draw items around a draw item.
  void GetParaDrawItems(int32_t drawNo, int32_t& first, int32_t& last) const;
  // The document position of an item's first draw item; false when it has none. The
  // client form subtracts the scroll offsets.
  bool GetItemCoords(int32_t itemNo, int32_t& left, int32_t& top) const;
  bool GetItemClientCoords(int32_t itemNo, int32_t& left, int32_t& top) const;
  // The items of the first draw item in view and of the last above the view's bottom.
  int32_t GetFirstItemVisible() const;
  int32_t GetLastItemVisible() const;
  // Called when the selection changed.
  virtual void SelectionChanged() {}
  // A selection made with the mouse is done (a release, a double click, a right click
  // that moved it): here only SelectionChanged; the editor moves its caret to the
  // selection's end.
  virtual void AfterSelectionChange(bool /*scrollToCaret*/) { SelectionChanged(); }
  // The draw item and caret offset under a document point (-1, -1 for an empty
  // document). Strict: only a draw item whose box holds the point. In paragraphs with a
  // direction the draw items are visited in visual order, right to left in right-to-left
  // ones.
  void FindDrawItemAtPos(int32_t x, int32_t y, int32_t& drawNo, int32_t& drawOffs, bool strict);
  // The draw item whose box holds the point, else -1.
  int32_t GetDrawItemAtPos(int32_t x, int32_t y) const;

  // --- Selecting with the mouse (RPMouseSelection.cpp) ----------------------------------
  // A word: a caret offset strictly inside a text draw item with no delimiter on either
  // side. Its bounds are caret offsets in the draw item.
  bool IsInWord(int32_t drawNo, int32_t offs) const;
  void GetWordBounds(int32_t drawNo, int32_t offs, int32_t& wordStart, int32_t& wordEnd) const;
  // From a caret offset of a text draw item back over the delimiters before it (forward)
  // or on over those after it: the edge of the word passed last; offs itself for other
  // items.
  int32_t WordEdgeBehind(int32_t drawNo, int32_t offs, bool forward) const;
  // A press at a document point: the selection starts there (extend: only its end moves).
  // lines: whole lines are selected (SelectLinesToPoint follows); else the style sheet's
  // SelectionMode decides, words and paragraphs keeping a selecting record.
  void BeginMouseSelection(int32_t x, int32_t y, bool extend, bool lines);
  // The release: the selecting record goes.
  void EndMouseSelection() { FSelecting.reset(); }
  const TRPSelectingInfo* GetSelectingInfo() const { return FSelecting.get(); }
  // The selection's end follows the mouse: characters, words or paragraphs, and whole
  // lines. True when the selection changed.
  bool SelectToPoint(int32_t x, int32_t y);
  bool SelectLinesToPoint(int32_t x, int32_t y);

  // --- Hyperlink areas (RPJumps.cpp) ------------------------------------------------
  // Rebuilds the areas of the whole document into list (nullptr: the document's own,
  // cleared first): each draw item of a hyperlink item gets one, numbered firstJumpNo +
  // the count of hyperlink items before it; other items with areas of their own add
  // them. firstJumpNo grows by the numbers used.
  void CollectJumps(int32_t& firstJumpNo, std::vector<std::unique_ptr<TRPJumpInfo>>* list);
  // Frees every area and clears the hover.
  void ClearJumps();
  void ClearHover();
  // Called when the jump under the mouse changes (-1: none); nothing here.
  virtual void HoverJumpChanged(int32_t) {}
  // Marks the areas of a jump, widened by 5 pixels, for repainting (the whole window when
  // the style sheet asks for full redraws).
  void InvalidateJumpRect(int32_t jumpNo);

  // --- The mouse (RPMouse.cpp) ---------------------------------------------------------
  // The control hands its mouse events to its document. Points are client coordinates of
  // the window; the handlers turn them into document coordinates (plus the scroll
  // offsets). Nothing happens without a style sheet. The editor's document and items
  // with mouse handling of their own (IRPMouseItem) take part through the virtuals.
  //
  // A move extends a selection that a left press began (by characters, words or
  // paragraphs as the style sheet's SelectionMode says, or whole lines after a press left
  // of the left margin), sets the cursor (a line-selection cursor left of the margin, a
  // hyperlink's cursor over it, the arrow over a selection that can be dragged), follows
  // the hyperlink under the mouse (hover) and updates the item hint.
  virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);
  // A press focuses the window (unless it is the second of a double click), remembers a
  // left press on a hyperlink, and with rpoAllowSelection starts a selection (shift:
  // moves only its end), or, inside a selection, readies a drag of it.
  virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  // A release ends the mouse selection (OnSelect); a left release on the hyperlink that
  // was pressed, with nothing selected, follows it (OnJump); a right release reports the
  // word under the mouse (OnRPRightClick) and, with rpoRClickDeselects, collapses a
  // selection it lies outside of.
  virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
  // A double click at the mouse's position: with rpoDblClickSelectsWord and
  // rpoAllowSelection it selects the word (or the non-text item) there; OnRPDblClick.
  virtual void DblClick();
  // The mouse left the window: the hovered hyperlink is left.
  void MouseLeave();
  // Whether a selection that a left press began is being extended.
  bool IsMouseSelecting() const { return FMouseSelecting; }
  // The word under a document point: the characters around the point up to the
  // document's delimiters for text, an item's own text for other items; false over no
  // item. itemNo and offs (1-based, text only) give the position in rpData, the document
  // (this one, or an item's sub-document) that holds it.
  bool GetWordAt(int32_t x, int32_t y, WideString& word, int32_t& styleNo, int32_t& itemNo, int32_t& offs,
                 TCustomRPFormattedData*& rpData);
  // The x of each caret position of a text draw item (offsets 1 .. Length + 1), from its
  // Left plus its justification extra; zeros without a canvas.
  std::vector<int32_t> GetCaretXs(int32_t drawNo);
  // The hyperlink area under a document point (of this document's list), or nullptr.
  TRPJumpInfo* FindJumpAt(int32_t x, int32_t y) const;
  // With rpoShowItemHints: the hint of item itemNo of rpData (none: -1) becomes the
  // hint at the mouse, after OnItemHint; a changed text shows it, an empty one hides it.
  void ShowItemHint(TCustomRPFormattedData* rpData, int32_t itemNo);
  // Scrolls the least that brings a rectangle (document coordinates) into view, its left
  // a quarter of the view in; a rectangle about as tall as the view stays as it is.
  virtual void ScrollRectIntoView(int32_t left, int32_t top, int32_t width, int32_t height);
  // An item (a table) takes the document's mouse events until it releases them; left and
  // top receive its draw item's position. False when the item has no draw item here.
  bool SetMouseCapture(TCustomRPItemInfo* item, int32_t& left, int32_t& top);
  void ReleaseMouseCapture(TCustomRPItemInfo* item);
  TCustomRPItemInfo* GetMouseCaptureItem() const { return FCaptureItem; }

  // What the handlers report. Sub-documents pass it to their root; the control's
  // document raises the control's events (OnRPMouseDown, OnRPMouseUp, OnRPDblClick,
  // OnRPRightClick, OnItemHint). Points are document coordinates, screenX and screenY
  // the screen's.
  virtual void DoRPMouseDown(TMouseButton button, TShiftState shift, int32_t itemNo, int32_t x, int32_t y);
  virtual void DoRPMouseUp(TMouseButton button, TShiftState shift, int32_t itemNo, int32_t x, int32_t y);
  virtual void DoRPDblClick(const WideString& word, int32_t styleNo);
  virtual void DoRPRightClick(const WideString& word, int32_t styleNo, int32_t screenX, int32_t screenY);
  virtual bool IsRPDblClickAssigned() const;
  virtual void DoItemHint(TCustomRPFormattedData& rpData, int32_t itemNo, WideString& hint);
  // The cursor the window shows where nothing else asks for one (the control's Cursor).
  virtual TCursor GetNormalCursor() const;
  // A hyperlink of a sub-document is followed through the root.
  void ExecuteItemJump(int32_t jumpId) override;

  // --- Keyboard focus among items (RPFocus.cpp) -------------------------------------------
  // The next (backward: previous) item after fromItemNo (-1 or the item count start
  // outside) that takes the keyboard focus (hyperlinks, controls) or whose documents hold
  // items that do (tables); -1 when none.
  int32_t FindNextFocusableItem(int32_t fromItemNo, bool forward) const;
  // The focus moves on from (data, itemNo), the item focused now (data nullptr: none in
  // this document), searching this document from item fromItemNo on and into the
  // documents of its items; data and itemNo receive the next item. False when none is
  // left.
  bool FindNextFocus(int32_t fromItemNo, bool forward, TCustomRPFormattedData*& data, int32_t& itemNo);
  // The same inside the documents of one item: its own focus bookkeeping when it keeps
  // one (IRPFocusItem), else its documents in order.
  static bool MoveFocusInItem(TCustomRPItemInfo& item, bool forward, TCustomRPFormattedData*& data, int32_t& itemNo);
  // Whether the documents of an item hold an item that takes the focus.
  static bool HasFocusableSubItems(TCustomRPItemInfo& item);
  // The item of this document that holds document inner (at any depth below); -1 when
  // inner is not inside this document.
  int32_t FindHolderItem(const TCustomRPData* inner) const;
  // The item of rpData that holds the focus now (rpData itself or a document inside it)
  // records that; the control's document keeps the focused item. Tables' cells also tell
  // their table which cell holds it.
  virtual void SetFocusedItem(int32_t itemNo, TCustomRPFormattedData* focusedData, int32_t focusedItemNo);

  // --- XOR figures and the drag caret (RPXorDraw.cpp) --------------------------------------
  // An XOR figure follows the mouse (a table's guide line while a border is dragged): the
  // handler draws it at a point (client coordinates); drawing twice erases it. One handler
  // at a time, kept by the root document and known by its owner.
  using TRPXorDrawProc = std::function<void(TCanvas& canvas, int32_t x, int32_t y)>;
  void SetXorDrawHandler(const void* owner, TRPXorDrawProc proc);
  void RemoveXorDrawHandler(const void* owner);
  bool IsXorDrawHandler(const void* owner) const;
  // Calls the handler on the window's canvas at the stored point and toggles the drawn
  // flag.
  virtual void XorDraw();
  // Erases the figure, stores the point and draws it there.
  void MoveXorDrawing(int32_t x, int32_t y);
  void EraseXorDrawing();
  bool IsXorDrawn() const;
  // The caret that shows where a drop would go, at the caret position under a client
  // point (searched in sub-documents too): erased and drawn again; erased.
  void SetDragDropCaret(int32_t x, int32_t y);
  void EraseDragDropCaret();
  // Draws the caret (XOR: a second call erases it): a dash 2 pixels wide on every second
  // row of its height, dotted. A document that does not hold the caret passes the call on
  // to the one that does, once.
  void XorDrawDragDropCaret(TCanvas& canvas, bool fromSubDocument);
  // Where the drop caret is (kept by the root document); Data nullptr when none.
  struct TRPDragDropCaretInfo {
    TCustomRPFormattedData* Data = nullptr;
    int32_t ItemNo = -1;
    int32_t ItemOffs = 0;
    int32_t X = 0, Y = 0, Height = 0;  // document coordinates of Data
    bool Shown = false;
  };
  const TRPDragDropCaretInfo& GetDragDropCaret() const;
  // Drags the selection out of the window (the formats of a copy); a drop elsewhere that
  // moved it deletes it (DeleteDraggedSelection); nothing dropped collapses the selection
  // at the mouse.
  void StartDrag();
  // Whether a drag of the selection may start (rpoDisallowDrag not set).
  virtual bool InitDragging() { return (GetOptions() & rpoDisallowDrag) == 0; }
  // The drop effects a drag of the selection allows: copying, from a view.
  virtual int32_t GetDragEffects() const { return DROPEFFECT_COPY; }
  // The formats a drag of the selection carries (those of a copy, by default).
  virtual void PutDragFormats(IRPClipboard& sink, TColor color, const TRPBackground* background) {
    PutSelectionFormats(sink, color, background, true);
  }
  virtual void DoneDragging() {}
  // A move out of this document was dropped: nothing in a view, the editor deletes.
  virtual void DeleteDraggedSelection() {}

  // --- Copying (RPCopy.cpp) ----------------------------------------------------------------
  // With a selection and one of the auto-copy options (the control's Options): the
  // clipboard of the window is opened and emptied, and the formats go in this order: the
  // native format, 8-bit text (not when Unicode text is asked for too), the picture of a
  // selection of exactly one picture item, Unicode text, RTF and HTML (both with
  // rpoAutoCopyRTF); then OnCopy. color and
  // background are those of the view. False when nothing was copied.
  bool Copy(TColor color, const TRPBackground* background);
  // The parts, into a sink: the selection as 8-bit or UTF-16 plain text (lines of 80
  // characters); the selected picture. False when there was nothing to put.
  bool CopyText(IRPClipboard& sink);
  bool CopyTextW(IRPClipboard& sink);
  bool CopyImage(IRPClipboard& sink);
  // The selection in the native format's clipboard form, its 4-byte length in front, as
  // the registered format "RichPane Format" (color and background go with it as the
  // options say). False when it could not be written (no format installed, a writer's
  // failure). Raises ERichPaneError "No memory" when the block cannot be had.
  bool CopyRPF(IRPClipboard& sink, TColor color, const TRPBackground* background);
  // The formats a copy puts, into sink (the data of a drag takes them too).
  void PutSelectionFormats(IRPClipboard& sink, TColor color, const TRPBackground* background, bool forDrag);
  // The graphic of the one non-text item the selection covers, or nullptr.
  TGraphic* GetSelectedImage();
  // Called with the clipboard still open after a copy put its formats (OnCopy).
  virtual void DoCopy() {}

  // --- Protection (RPProtection.cpp) -------------------------------------------------------
  // Option 0 .. 7 of the paragraph style's Options (false above 7).
  bool IsParaOptionSet(int32_t paraNo, int32_t option) const;
  // Protection option 0 .. 15 of item itemNo: its text style's Protection, or that of a
  // non-text item's associated text style (none: false); option 3 (delete) also for a
  // non-text item that cannot be removed.
  bool IsItemProtected(int32_t itemNo, int32_t option) const;
  bool IsItemParaReadOnly(int32_t itemNo) const;
  // Insertion after item afterItemNo (-1: before the first) is blocked by sticking items;
  // unless silent the document hears of it (InsertionBlocked).
  bool IsInsertionBlocked(int32_t afterItemNo, bool silent);
  virtual void InsertionBlocked() {}
  // Whether text can go in at (itemNo, offs): never in a read-only paragraph, inside a text
  // item unless it is modify-protected, at an item's edge unless insertion is blocked.
  bool CanInsertAt(int32_t itemNo, int32_t offs);

  // Moves each control item's control to its draw item (not when printing).
  void PlaceControls();

  // The font cache of the pass running on this document (nullptr outside a pass); the
  // sub-documents laid out inside it share it.
  const TRPFontInfoCache* GetActiveFontCache() const { return FActiveFontCache; }

  // The resolution record of the last pass and of painting.
  const TRPResolution& Resolution() const { return FResolution; }

  const TParaInfo& GetParaStyle(int32_t itemNo) const;
  // The direction of the paragraph holding an item: its style's, else the document's.
  TRPBiDiMode GetEffectiveParaBiDiMode(int32_t itemNo) const;
  // Character index (0-based) of a text item's stored text as a code unit.
  WideChar ItemCharAt(int32_t itemNo, int32_t index) const;

protected:
  // Converted lengths with the record of the pass.
  int32_t ScaleX(int32_t v) const { return ScreenToDeviceX(v, FResolution); }
  int32_t ScaleY(int32_t v) const { return ScreenToDeviceY(v, FResolution); }
  bool HasFlag(TRPDocumentFlags flag) const { return (GetDocumentFlags() & flag) != 0; }
  // Stores a selection of draw-item positions, clamped; false when it did not change.
  bool StoreSelection(int32_t startNo, int32_t startOffs, int32_t endNo, int32_t endOffs);

private:
  // The line breaking of a pass (RPLineBreaker.h) works on the document's draw items,
  // jump areas and resolution record.
  friend class TRPLineBreaker;

  // The layout of the whole or the tail: one line breaker over the items (RPFormattedData.cpp).
  void RunPass(TCanvas& canvas, bool onlyTail, bool itemFlag1, bool itemFlag2);
  void SetWidths(TCanvas& canvas, bool& widthChanged);
  // Indents (screen pixels) of a line of the paragraph holding itemNo.
  void GetParaIndents(int32_t itemNo, bool firstLine, int32_t& left, int32_t& right) const;
  // Runs a pass's body with a font cache: the root document's when its pass runs on the
  // same canvas with the same style sheet, else one of its own, shared while it lives.
  void WithFontCache(TCanvas& canvas, const std::function<void(TRPFontInfoCache&)>& body);
  // The jump areas moved to their draw items' final boxes: the owning document's origin
  // (less this document's), less its vertical alignment offset, plus the draw item's
  // position.
  void UpdateJumpsCoords();

  // Minimal widths (RPMinWidths.cpp): items first .. last of one paragraph.
  int32_t ParaMinWidth(int32_t first, int32_t last, const TRPResolution* resolution, TCanvas& canvas);
  int32_t ItemMinWidth(int32_t itemNo, bool wholeText, const TRPResolution* resolution, TCanvas& canvas);

  // Painting helpers (RPPaint.cpp).
  void PaintParaBackgrounds(TCanvas& canvas, int32_t first, int32_t last, int32_t xs, int32_t ys);
  // band: the line's band in rpssLines mode, else nullptr.
  void PaintTextDrawItem(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys, int32_t& appliedStyle,
                         TRPTextDrawStates states, const TRPLineBand* band);
  void PaintNonTextDrawItem(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys, const TRPLineBand* band);
  // rpssLines: the band from left to right filled with the selection colour.
  void FillLineBand(TCanvas& canvas, const TRPLineBand& band, int32_t left, int32_t right, int32_t ys);
  TRPLineBand GetLineBand(int32_t lineStart) const;
  bool IsDrawItemHovered(int32_t drawNo) const;
  // Marks (RPPaintMarks.cpp).
  void PaintSoftPageBreaks(TCanvas& canvas, int32_t first, int32_t last, int32_t xs, int32_t ys);
  void PaintParagraphMark(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys);
  void PaintWordMarks(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys);
  // The right edge of the text area for paragraph backgrounds and full-width items.
  int32_t AreaRight(int32_t rightIndent) const;

  void NormalizeSelection();
  // The caret offset nearest to x inside a text draw item.
  int32_t TextOffsetAtX(int32_t drawNo, int32_t x);

  // The text of a draw item shown partly selected: plain, then its selected characters.
  void PaintSelectedPart(TCanvas& canvas, int32_t drawNo, int32_t xs, int32_t ys, int32_t from, int32_t to,
                         TRPTextDrawStates states, const TRPLineBand* band);

  int32_t FSelStartNo = -1, FSelEndNo = -1, FSelStartOffs = 0, FSelEndOffs = 0;
  TCustomRPItemInfo* FInnerSelectionItem = nullptr;
  bool FDeselecting = false;
  std::unique_ptr<TRPSoftPageBreakList> FSoftPageBreaks;
  TRPFontInfoCache* FActiveFontCache = nullptr;
  int32_t FHoverJumpNo = -1;
  // Only while the mouse selects by words or paragraphs.
  std::unique_ptr<TRPSelectingInfo> FSelecting;
  TRPResolution FResolution;
  bool FUpdatingScrollRanges = false;
  bool FFormatting = false;
  int32_t FNextJumpNo = 0;

  // The mouse (RPMouse.cpp): the jump under the last left press (-1: none), whether a
  // press selects (whole lines), whether a double click selected a word, the item that
  // holds the capture, a press inside the selection that a move drags out, and the hint
  // shown last.
  int32_t FPressedJumpNo = -1;
  bool FMouseSelecting = false;
  bool FSelectingLines = false;
  bool FWordSelectedByDblClick = false;
  TCustomRPItemInfo* FCaptureItem = nullptr;
  bool FDragPending = false;
  TPoint FPressPoint{0, 0};
  WideString FLastHint;
  // Whether a document point lies on the non-empty selection, so that a press there drags
  // it: a caret position strictly inside it, or anywhere on a non-text item the selection
  // holds whole (a picture has only edges). strict: the point must lie on a draw item.
  bool IsPointOnSelection(int32_t x, int32_t y, bool strict);
  // XOR drawing (RPXorDraw.cpp), kept by the root document.
  const void* FXorOwner = nullptr;
  TRPXorDrawProc FXorProc;
  TPoint FXorPoint{0, 0};
  bool FXorDrawn = false;
  TRPDragDropCaretInfo FDragDropCaret;
  // The document of the item of draw item drawNo at a document point (a table's cell),
  // or nullptr.
  TCustomRPFormattedData* SubDocumentAt(int32_t drawNo, int32_t x, int32_t y);
  // The drop caret at a document point of this document or of a document inside it.
  bool FindDropCaret(int32_t x, int32_t y, TRPDragDropCaretInfo& caret);
  // The canvas a drop caret this document holds shows on: its own window's (an editor
  // over a cell has a window of its own, which would cover a caret drawn under it).
  TCanvas* DropCaretCanvas();
  // Draws the drop caret this document holds, kept by the root that found it (an editor
  // over a cell keeps none of its own).
  void DrawDropCaretBar(TCanvas& canvas, const TRPDragDropCaretInfo& caret);
  // The root formatted document (this one at the top).
  TCustomRPFormattedData& Root();
  const TCustomRPFormattedData& Root() const;
  // The window of the root document, or nullptr.
  IRPDocumentView* View() const;
  void SetViewCursor(TCursor cursor) const;
  // The point moved into the document area (unless the document allows outside points).
  void ClampToDocument(int32_t& x, int32_t& y) const;
};
