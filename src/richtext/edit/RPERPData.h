// The editable document data: the document of the editor control. It is the control's
// document (RPControlData.h) plus a text caret, the undo and redo lists with the
// recording state, and the current text and paragraph styles.
//
// The caret. It stands on a draw item; its position is an index into the caret stops of
// its visual line (TRPCharPos: every place the caret can stop on the line, with its x).
// BuildCaretLine makes the stops of the caret's line and picks the caret's; UpdateCaret
// shows the window's caret there and lets the current styles, the focused item and the
// highlighted hyperlink follow it. The moves (left, right, by word, up, down, pages,
// home, end, paragraphs) change the stop or the draw item and end with UpdateCaret.
// Between operations the caret index names a stop of the list whenever the caret draw
// item is not -1, and the caret draw item is that stop's draw item after UpdateCaret.
//
// Undo. Every change goes through the recorded steps of this class (the "...Undoable"
// operations and JoinItems): each first appends its record (RPUndoRecords.h) to the
// active list (GetActiveUndoList: the undo list while recording, the redo list while
// undoing, none when undo is off) and then changes the item list. An item taken out with
// a record is not freed: the record keeps it until it is put back or the record goes.
// Steps do not lay the document out again; their callers do, or Perform when a group is
// undone. FullReformat outputs tell the caller that the document's minimal width may
// have changed, so that laying out the touched paragraphs alone may not be enough.
//
// Item indexes are 0-based; character positions inside an item are 1-based, counted in
// characters (UTF-16 units for a Unicode item, bytes otherwise).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/Collections.h"
#include "richtext/edit/RPEditorControl.h"
#include "richtext/edit/RPItemResizer.h"
#include "richtext/edit/RPUndo.h"
#include "richtext/edit/RPUndoItemRecords.h"
#include "richtext/edit/RPUndoRecords.h"
#include "richtext/layout/view/RPControlData.h"
#include "richtext/layout/view/RichPane.h"

// Bits of the document's state word that the editable data sets and tests.
inline constexpr uint32_t rpstJumpHighlighted = 0x00000004;  // a hyperlink is highlighted at the caret
inline constexpr uint32_t rpstNoCaretUpdate = 0x00000008;    // no formatting, no caret updates
inline constexpr uint32_t rpstCaretHidden = 0x00000040;      // the caret is not shown
inline constexpr uint32_t rpstDestroying = 0x00000080;       // being destroyed (asked up the parents)
inline constexpr uint32_t rpstNoStyleEvents = 0x00000200;    // current styles set again silently
inline constexpr uint32_t rpstFinishingItemOp = 0x00008000;  // FinishCurrentItemOperation runs
inline constexpr uint32_t rpstFreshFormat = 0x00080000;      // cleared: the next pass places the caret anew
inline constexpr uint32_t rpstApplyingStyles = 0x00800000;   // styles are being applied
inline constexpr uint32_t rpstKeepCaretTag = 0x01000000;     // the next change keeps the caret tag
inline constexpr uint32_t rpstBackspaceAsking = 0x10000000;  // a Backspace asks whether it may change
static_assert(rpstDestroying == rpstClearing, "the model marks a document going away with the same bit");

// Bits of the document flag word (RPFormattedData.h) that the editable data tests.
inline constexpr TRPDocumentFlags rpdfSaveJumps = 0x0080;       // savers build hyperlinks around writing
inline constexpr TRPDocumentFlags rpdfOwnDragCaret = 0x0100;    // this document keeps its drop caret
inline constexpr TRPDocumentFlags rpdfResizeReadOnly = 0x0200;  // resizing in a read-only control

// Enter in an empty list item starts another list item (off, the default: the item
// leaves the list and Enter then starts a plain paragraph).
extern bool RPKeepEmptyListItemsOnEnter;

// The system caret's sizes (the editor may change them): width, the height added above
// and below, the greatest height.
extern int32_t RPCaretWidth;
extern int32_t RPCaretExtraHeight;
extern int32_t RPMaxCaretHeight;

// The message of an out-of-range caret index (ERichPaneError).
inline constexpr char errRPInvalidCaretPosition[] =
    "Invalid caret position. Please contact the developer, if you can reproduce this problem";
// The message of a substring inserted into something that is no text item (Exception).
inline constexpr char errRPUndoError[] = "Undo error";
// Adding a checkpoint where one is, or deleting one where none is (ERichPaneError).
inline constexpr char errRPCheckpoint[] = "Checkpoint error";

// One caret stop of a line.
class TRPCharPos : public TCollectionItem {
public:
  explicit TRPCharPos(TCollection* collection) : TCollectionItem(collection) {}
  int32_t X = 0;            // document x of the stop
  int32_t DrawItemNo = -1;  // the draw item it belongs to
  // The caret offset in that draw item: 1 .. Length + 1 for text, 0 or 1 otherwise.
  int32_t Offset = -1;
  // Where the caret's bar stands: at X + CaretShift - 1.
  int32_t CaretShift = 0;
  // From another stop: X, DrawItemNo and Offset (not CaretShift); from anything else,
  // nothing.
  void Assign(const TPersistent& source) override;
};

class TRPCharPosCollection : public TCollection {
public:
  TRPCharPosCollection() : TCollection(CollectionItemClassOf<TRPCharPos>()) {}
  TRPCharPos& operator[](int32_t index) const { return *static_cast<TRPCharPos*>(Items(index)); }
  TRPCharPos& AddPos() { return *static_cast<TRPCharPos*>(Add()); }
};

class TRPTableEditHost;

class TRPEditRPData : public TRichPaneRPData {
public:
  explicit TRPEditRPData(TCustomRichPane& control);
  ~TRPEditRPData() override;
  // The factory the editor control hands its base (RichPane.h).
  static std::unique_ptr<TRichPaneRPData> Create(TCustomRichPane& control);

  // --- The record --------------------------------------------------------------------
  // The last current text style that had no rpprDoNotAutoSwitch.
  int32_t PrevTextStyleNo = 0;
  // A copy of the caret item's tag (text items typed in the current style receive it).
  TRPTag RememberedCaretTag;
  // Set whenever an item went in at the caret through the insertion hook.
  bool InsertedThroughEditing = false;
  // The height of the window's caret shown now; 0: none.
  int32_t CaretHeight = 0;
  TRPCharPosCollection CaretPositions;
  int32_t CurTextStyleNo = 0;
  int32_t CurParaStyleNo = 0;
  std::unique_ptr<TRPUndoList> UndoList;
  std::unique_ptr<TRPRedoList> RedoList;
  // 0: nothing records; 1: the undo list records; 2: the redo list records.
  uint8_t UndoRecording = 0;
  int32_t CaretDrawItemNo = -1;
  // Index into CaretPositions; 100000 while BuildCaretLine looks for it.
  int32_t CaretIndex = -1;

  // --- Answers from the control ------------------------------------------------------------
  // The editor control (nullptr: the control is no editor; see RPEditorControl.h).
  IRPEditorControl* Editor() const;
  bool IsReadOnly() const;
  TRPEditorOptions GetEditorOptions() const;
  // The control's caret-move notification.
  void DoCaretMove();
  // The current styles, through the editor control's setters.
  void SetCurTextStyle(int32_t styleNo);
  void SetCurParaStyle(int32_t paraNo);
  // Whether this document or one of its parents is being destroyed.
  bool IsDestroying() const;
  // What the tables lying in this document ask of the editor (RPTableEditHost.h).
  TRPTableEditHost& TableEditHost();

  // --- Lifecycle and formatting overrides -----------------------------------------------
  // The caret and the remembered caret tag are forgotten.
  void ClearFormatting() override;
  // Items, both lists and the current styles emptied; the control is unmodified; the
  // next pass places the caret from scratch (rpstFreshFormat).
  void Clear() override;
  // The layout pass (RPFormattedData.h) with the caret kept: nothing while
  // rpstNoCaretUpdate is set; an empty document first receives its empty item; a pass
  // that keeps the view (onlyResized or noScroll) keeps the caret at its item position,
  // any other puts it at the document's start and drops the selection. Then UpdateCaret
  // without scrolling, taking the current styles from the caret after a Clear.
  void Format(bool onlyResized, bool forceFormat, bool noScroll, int32_t depth, TCanvas* canvas, bool onlyTail,
              bool itemFlag1, bool itemFlag2) override;
  // Live spelling goes on from offset of item itemNo; with resetItem the item first
  // forgets that it was checked and its word marks from offset - 1 on, so that the
  // spelling thread checks it again (LiveSpellingResetFrom, RPData.h). Nothing for an
  // index outside the document.
  void ResetSpellCheckFrom(int32_t itemNo, int32_t offset, bool resetItem);
  // A document without items (with a style sheet) receives one empty text item in the
  // current text and paragraph styles, is laid out and gets its caret at the start.
  void EnsureNotEmpty();
  // Hyperlink mode: the hyperlink areas collected (nothing in a read-only control unless
  // forced, nothing while an item has the mouse) and the flag rpdfUseJumps set; the
  // number of areas.
  // A cell's editor has its host build them instead (hyperlink mode is one for both).
  virtual int32_t BuildJumps(bool force);
  // Leaves hyperlink mode (nothing when read-only, while an item has the mouse, or out of
  // it): areas freed, the flag cleared, the caret updated keeping the styles.
  virtual void ClearJumps();
  // The caret-move notification follows an inner selection that changes or goes while
  // an item is edited in place.
  void SetInnerSelectionItem(TCustomRPItemInfo* item) override;
  void ReleaseSubItems(TCustomRPItemInfo* exceptItem) override;
  // The drop caret of a drag over the document: this document's when it keeps its own
  // (rpdfOwnDragCaret), else the root's; nullptr when no drag made one.
  TRPDragDropCaretInfo* GetDragDropCaretInfo();
  // A drag over the document takes the drop caret (made on first use) and lets it go;
  // the last release frees it.
  void AddRefDragCaret();
  void ReleaseDragCaret();
  // Dragging the selection out (RPEditDragDrop.cpp): copied, or moved unless read-only;
  // a move dropped elsewhere deletes the selection as an edit (not when the drop went
  // into this editor, which moved it itself).
  int32_t GetDragEffects() const override;
  void DeleteDraggedSelection() override;

  // --- The caret ------------------------------------------------------------------------
  // Rebuilds the stops of the caret draw item's line and picks the caret's: hint is the
  // wanted caret offset in the caret draw item minus 2 (-1: its start for text). A line
  // that starts with a list marker has no stop on it: a caret on the marker moves to the
  // start of what follows. Text is measured whole character by whole character (a
  // surrogate pair or a base character with its nonspacing marks is one), or through
  // character placement when its direction is set.
  void BuildCaretLine(int32_t hint);
  // Shows the window's caret at the caret stop (when the window has the focus and no drop
  // caret is shown; a read-only editor with rpoHideReadOnlyCaret shows none) and lets the
  // paragraph and text styles (unless keepCurrentStyles), the focused item and the
  // highlighted hyperlink follow the caret item; scrolls the caret into view when asked;
  // tells the control. Raises ERichPaneError "Invalid caret position..." for a caret
  // index outside the stops, after putting the caret at the document's start.
  void UpdateCaret(bool scrollToCaret, bool checkResizerFirst, bool keepCurrentStyles);
  // The caret's item (or the item edited in place, or holding an inner selection); -1
  // without a caret. An empty document first receives its empty item.
  int32_t GetCaretItemNo();
  // The caret's offset in its item; 1 while an item is edited in place, -1 without a
  // caret.
  int32_t GetCaretOffset() const;
  // The index of an item of this document, -1 when absent.
  int32_t FindItemIndex(const TCustomRPItemInfo* item) const;
  // Where the caret's bar stands, in client coordinates.
  void GetCaretClientPoint(TPoint& point) const;
  // Puts the caret at an item position (draw item, line rebuilt); nothing moves for an
  // invalid one.
  void SetCaretAtItemPos(int32_t itemNo, int32_t offset);
  // The same as a caret move: then UpdateCaret, so that text typed next takes the style
  // of the text the caret stands in, and the caret is scrolled into view.
  void MoveCaretTo(int32_t itemNo, int32_t offset);
  // The caret stop now.
  const TRPCharPos& CaretPos() const { return CaretPositions[CaretIndex]; }

  // Moves. Selecting: Shift is held (an item never takes the caret inside then); byWord:
  // Ctrl is held. The answers say that the caret could not go on (at the start, at the
  // end, on the first line, on the last line).
  void MoveCaretHome(bool toDocumentStart);
  void MoveCaretEnd(bool toDocumentEnd);
  void MoveCaretParaUp();
  void MoveCaretParaDown();
  bool MoveCaretLeft(bool selecting, bool byWord);
  bool MoveCaretRight(bool selecting, bool byWord);
  bool MoveCaretUp(bool selecting, bool byWord);
  bool MoveCaretDown(bool selecting, bool byWord);
  void MoveCaretPageUp();
  void MoveCaretPageDown();
  bool IsCaretAtLineStart() const { return CaretIndex == 0; }
  bool IsCaretAtLineEnd() const { return CaretIndex == CaretPositions.Count() - 1; }
  bool IsCaretOnLastLine() const;
  // A caret on a list marker goes to the end of the draw item before it, or (forward, or
  // at the document's start) to the start of the one after it; the line is rebuilt.
  void SkipListMarker(bool forward);
  // The same for an item position: to the end of the item before, or (at the start, when
  // forced, or for offset 1) to the start of the item after.
  void SkipMarkerPosition(int32_t& itemNo, int32_t& offset, bool forceForward) const;

  // --- Selection glue ---------------------------------------------------------------------
  // Without a selection: the caret as the selection's start / as both ends.
  void GetSelectionStartDrawPos(int32_t& drawNo, int32_t& drawOffs) override;
  void GetSelectionRangeOrCaret(int32_t& startItemNo, int32_t& startOffs, int32_t& endItemNo,
                                int32_t& endOffs) const override;
  // A bound of -1 is the caret (offset -1 without a caret).
  void GetDrawSelectionBounds(int32_t& startNo, int32_t& endNo, int32_t& startOffs, int32_t& endOffs,
                              bool normalize) const override;
  // Unless a selection exists, both of its ends become the caret.
  void CollapseSelectionToCaret();
  // The selection's end becomes the caret (whole paragraphs in rpsmParagraph mode when
  // it spans several); AfterSelectionChange(true).
  void ExtendSelectionToCaret();
  // The control hears of the new selection; an end on a list marker moves past it; the
  // caret goes to the selection's end; UpdateCaret. A selection made with the mouse
  // ends here too, so a click places the caret.
  void AfterSelectionChange(bool scrollToCaret) override;
  // Selects length characters of an item from offset on (backward: from the end).
  void SelectRange(int32_t itemNo, int32_t offset, int32_t length, bool backward);
  // The position next to the caret's item (or the document's edge): forward from an
  // item's end to the next item's start (past the last: the item count), backward from
  // an item's start to the previous item's end (before the first: -1); inside an item
  // unchanged.
  void GetAdjacentPosition(bool forward, bool toDocumentEdge, int32_t& itemNo, int32_t& offset);

  // --- Recording --------------------------------------------------------------------------
  // The list that records now, or nullptr.
  TRPUndoList* GetActiveUndoList() const;
  // Opens a group in the undo list with the caret's position (after finishing the item
  // operation in progress when asked); recording follows when the list accepted it (its
  // limit is not 0). Returns that.
  bool BeginUndoGroup(TRPUndoKind kind, bool finishPending);
  bool BeginUndoGroupWithCaption(TRPUndoKind kind, const AnsiString& caption, bool finishPending);
  // The same in the redo list.
  bool BeginRedoGroup(TRPUndoKind kind, const AnsiString& caption);
  void SetUndoGroupMode(bool entering);
  // The item edited in place (or holding the inner selection) finishes what it has
  // pending; not again while it runs.
  void FinishCurrentItemOperation();
  void AddModifyItemTerminator(int32_t itemNo, bool opening);
  void AddReformatRange(int32_t first, int32_t last, bool wholeRoot);

  // --- The recorded steps ----------------------------------------------------------------
  // fullReformat: the document's minimal width may have changed (see the file's head).
  void DeleteItemUndoable(int32_t itemNo, bool& fullReformat);
  void DeleteItemsUndoable(int32_t first, int32_t last, bool& fullReformat);
  // count characters from index (-1: to the end; 0: nothing).
  void DeleteSubstringUndoable(int32_t itemNo, int32_t index, int32_t count);
  // s (stored form) before character index. Raises Exception "Undo error" for an item
  // index outside the list or a non-text item; empty s does nothing.
  void InsertSubstringUndoable(int32_t itemNo, int32_t index, const AnsiString& s);
  void ChangeTextUndoable(int32_t itemNo, const AnsiString& s);
  // Inserts item with its text at itemNo (fromUndo: it comes back out of a record); a
  // paragraph it starts takes the following continuing items along.
  void InsertItemUndoable(int32_t itemNo, AnsiString& text, bool& fullReformat, bool fromUndo,
                          std::unique_ptr<TCustomRPItemInfo> item);
  // The record of count items about to be put in at itemNo without records of their own;
  // nullptr for none or when nothing records.
  TRPUndoInsertItemsInfo* AddInsertItemsRecord(int32_t itemNo, int32_t count);
  // After such items went in: the paragraph they end takes the following continuing
  // items; their checkpoints are attached with records.
  void AfterInsertItems(int32_t itemNo, int32_t count, bool& fullReformat, TRPUndoInsertItemsInfo* record);
  // Inserts the items in list order at itemNo with one record.
  void InsertItemsUndoable(int32_t itemNo, TRPKeptItems& list, bool& fullReformat, bool fromUndo);
  // A text item's style (the caller converts the text between the stored forms).
  void ChangeStyleNoUndoable(int32_t itemNo, int32_t newStyle);
  // A non-text item's text style.
  void ChangeAssociatedStyleNoUndoable(int32_t itemNo, int32_t newStyle);
  void SetParaRangeUndoable(int32_t first, int32_t last, bool& fullReformat, int32_t paraNo);
  // Unrecorded: every item of the range gets paraNo, except one whose style protects it
  // (rppaoStyleProtect) unless it continues the paragraph after an item that has paraNo.
  void AssignParaRange(int32_t first, int32_t last, bool& fullReformat, int32_t paraNo);
  // Item itemNo + i gets list[i].
  void RestoreParasUndoable(int32_t itemNo, const TRPIntegerList& list, bool& fullReformat);
  // value: the item continues the line (a paragraph start joins the paragraph before);
  // else it starts a paragraph, numbered paraNo (-1: unchanged). The following items of
  // its paragraph follow it.
  void SetContinuesLineUndoable(int32_t itemNo, bool value, bool& fullReformat, int32_t paraNo);
  // The line-break flag; false when nothing changed.
  bool SetLineBreakUndoable(int32_t itemNo, bool value, bool& fullReformat);
  // The page-break flag (of the list marker before the item, when there is one).
  void SetPageBreakUndoable(int32_t itemNo, bool value);
  // Joins text item itemNo + 1 into itemNo (the caller has checked that they may be
  // joined).
  void JoinItems(int32_t itemNo);
  // The item's tag.
  void SetTagUndoable(int32_t itemNo, const TRPTag& tag);
  // Attaches a checkpoint (itemNo -1: the document's end checkpoint); raises
  // ERichPaneError "Checkpoint error" where one is. nullptr does nothing.
  void AddCheckpointUndoable(int32_t itemNo, std::unique_ptr<TRPCPInfo> checkpoint);
  // Removes the item's checkpoint (kept by the record while recording, else freed);
  // raises ERichPaneError "Checkpoint error" where none is.
  void DeleteCheckpointUndoable(int32_t itemNo);
  // A published ordinal property of the item (target nullptr) or of an object inside it,
  // by name: nothing and nullptr when unchanged or unknown; else, while recording, a
  // record of undoClass (a TRPUndoModifyItemIntProperty) is added, and the value is
  // written between the item's property-change hooks. The record or nullptr.
  TRPUndoModifyItemIntProperty* ModifyItemIntProperty(int32_t itemNo, TPersistent* target, const AnsiString& propName,
                                                      int32_t value, bool affectsSize, bool affectsWidth,
                                                      TRPUndoModifyItemProps::TClass undoClass);
  // The same for several properties in one record (a TRPUndoModifyItemIntProperties);
  // nullptr when none changed.
  TRPUndoModifyItemIntProperties* ModifyItemIntProperties(int32_t itemNo, TPersistent* target, bool affectsSize,
                                                          bool affectsWidth,
                                                          const std::vector<std::pair<AnsiString, int32_t>>& values,
                                                          TRPUndoModifyItemProps::TClass undoClass);

  // Whether a change of a range's minimal width from oldWidth to newWidth crosses the
  // document's minimal width.
  bool WidthCrossing(int32_t oldWidth, int32_t newWidth) const;

  // --- Applying text and paragraph styles -------------------------------------------------
  // The selection's text takes the styles the control's text conversion gives (mode: the
  // operation code handed to an item edited in place); partly selected text items are
  // split; neighbours that may be joined are joined; one undo group. Without a selection
  // only the current text style changes (an empty caret item is converted with it).
  // wholeParagraphs widens the selection to whole paragraphs.
  void ApplyTextStyleConversion(int32_t userData, int32_t mode, bool wholeParagraphs);
  // The paragraphs of the selection take paragraph style value (mode 0) or what the
  // control's paragraph conversion gives for each (value as user data); the caller opens
  // the undo group.
  void ApplyParaStyleConversion(int32_t value, int32_t mode);
  // A non-text item's text style through the control's text conversion, recorded.
  void ConvertAssociatedStyle(int32_t& styleNo, bool appliedToText, int32_t userData, int32_t paraNo,
                              int32_t itemNo) override;
  // The current styles count as used, and keep naming the same styles when the sheet is
  // renumbered.
  void MarkItemStylesInUse(TRPStyleUsage& usage) const override;
  void RenumberItemStyles(const TRPStyleUsage& usage) override;
  // The current text style resolved when the styles in use were marked; the renumbering
  // maps that number.
  mutable int32_t MarkedCurTextStyleNo = -1;
  // The whole document laid out again after its items changed (the caret and the
  // selection are dropped; the caller puts them back).
  void FormatAfterItemsChanged();
  // The control's answer for a text style (the style itself without a conversion).
  int32_t ConvertedTextStyle(int32_t styleNo, bool appliedToText, int32_t userData, int32_t paraNo);

  // --- Item properties, checkpoints, resizing and list numbering ----------------------------
  // The item resizer at the caret's picture or control (owned; nullptr when none).
  std::unique_ptr<TRPItemResizer> Resizer;

  // An extra integer property of the item (GetIntProperty codes): nothing when the item
  // has none or it is unchanged; recorded, then set.
  void SetExtraIntPropertyUndoable(int32_t itemNo, int32_t prop, int32_t value);
  // Nothing when fromItem has no checkpoint; one on toItem is deleted; a copy of
  // fromItem's goes to toItem and fromItem's is deleted.
  void MoveCheckpointUndoable(int32_t fromItem, int32_t toItem);
  // A persistent checkpoint leaves the item for the next item of its paragraph, or (when
  // that has one, or preferBackward) the previous item when itemNo does not start a
  // paragraph; false when neither is free. Other checkpoints: true at once.
  bool MoveCheckpointOffItem(int32_t itemNo, bool preferBackward);
  // A published string property of the item (target nullptr) or of an object inside it,
  // by name, as ModifyItemIntProperty.
  TRPUndoModifyItemStrProperty* ModifyItemStrProperty(int32_t itemNo, TPersistent* target, const AnsiString& propName,
                                                      const AnsiString& value, bool affectsSize, bool affectsWidth,
                                                      TRPUndoModifyItemProps::TClass undoClass);
  // Around a change made to an item from outside (a table's cells): the minimal width of
  // its paragraph before, and the reformat it needs after.
  void PrepareItemChange(int32_t itemNo, int32_t& width);
  void CompleteItemChange(int32_t itemNo, int32_t oldWidth);
  // Lays out the whole document (full) or the paragraphs of the draw item holding itemNo
  // again and puts the caret back at its item position.
  void ReformatKeepCaret(bool full, bool keepSelection, bool caretScroll, int32_t itemNo, bool formatFlag);
  // After an embedded control changed its width from oldWidth to newWidth.
  void AfterControlResize(int32_t itemNo, int32_t oldWidth, int32_t newWidth);
  // The size a resize drag ended with (border spacing included), as one undo group: a
  // control item's control through ResizeControlUndoable, another item's width and height
  // properties.
  void ResizeItemUndoable(int32_t itemNo, int32_t width, int32_t height);
  // The control of control item itemNo takes width x height: nothing when it has that
  // size (or no control); recorded with its old size, then ResizeControl. A reversed step
  // passes reformat false: the group being played lays the document out afterwards.
  void ResizeControlUndoable(int32_t itemNo, int32_t width, int32_t height, bool reformat = true);
  // Sets the control's size, with ResizingControl naming it meanwhile; with reformat the
  // document is laid out again (AfterControlResize). Raises ERichPaneError "Can't get or
  // set this kind of information for this item" for an item that is no control item.
  void ResizeControl(int32_t itemNo, int32_t width, int32_t height, bool reformat);
  // The control whose bounds the editor is setting (nullptr: none), so that a resize
  // notification of that control can tell the editor's own change from the user's.
  IRPItemControl* ResizingControl = nullptr;

  // Numbered lists touched by an edit. CollectNumberedLists: the list styles with
  // numbering of the markers in first .. last (widened to paragraphs); markerIndex the
  // marker-list index of the first of them (takeFirst, less one) or the last; lastItem
  // the widened last item. False when the document keeps no markers.
  bool CollectNumberedLists(int32_t first, int32_t last, TRPIntegerList& lists, int32_t& markerIndex, int32_t& lastItem,
                            bool takeFirst);
  // Lays out again, from firstItem to the paragraph of the last marker after
  // markerIndex of those lists (listNo: one list when lists is empty), what shows their
  // numbers; the whole root when that marker is in another document.
  void RenumberLists(int32_t firstItem, int32_t markerIndex, int32_t listNo, TRPIntegerList& lists);
  void RenumberListsInRange(int32_t first, int32_t last);
  // A copy of the list marker that starts itemNo's paragraph (numbering restart, start
  // value and page break cleared, its checkpoint copied) goes in at `at`; false when the
  // paragraph has none.
  bool CopyParaMarker(int32_t itemNo, int32_t at, bool recorded, bool& fullReformat);

  // The resizer: made for exactly one selected resizable non-text item of an editable
  // paragraph (rpstApplyingStyles keeps the old one); kept while its draw item stays.
  void UpdateResizer();
  void CheckResizer();
  void DrawResizeHandles(TCanvas& canvas, int32_t hOffs, int32_t vOffs, int32_t, int32_t) override;
  // While the resizer drags, the frame goes off: true when a drag was cancelled.
  bool CancelResizing();
  // The draw item the last left press was on (-1: none).
  int32_t PressDrawItemNo = -1;
  // Over the resizer's handles the pointer shows the handle's cursor; a press on one
  // starts a drag whose dotted frame follows the pointer, and the release resizes the
  // item (ResizeItemUndoable). A Shift+press without a selection extends from the caret.
  // Elsewhere the document's own handling; then a click (press
  // and release on one draw item) on a resizable item selects it when nothing is.
  void MouseMove(TShiftState shift, int32_t x, int32_t y) override;
  void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) override;

  // --- Insertion at the caret and typing (RPERPDataInsert.cpp) ---------------------------
  using TRichPaneRPData::InsertItem;
  // The caret tag: a copy of the caret item's tag when that item has the current text
  // style (else none); forgotten by ForgetCaretTag.
  void RememberCaretTag();
  void ForgetCaretTag();
  // The control's answer whether the document may change now, and its change handling.
  bool CanChange();
  void NotifyChange();
  // Puts item in at the caret, with its records (see RPERPDataInsert.cpp): index receives
  // its position, itemsAdded the change of the item count. False: refused (item freed).
  // True with item nullptr: the item was dropped (a list marker where none may go).
  bool InsertItemAtCaretCore(std::unique_ptr<TCustomRPItemInfo>& item, AnsiString& text, int32_t& lastAffected,
                             bool& fullReformat, int32_t& itemsAdded, int32_t& index);
  // The same, then the caret's paragraphs laid out again and the caret at the start of the
  // new item (caretAtItemStart) or after it. False (and a beep) when refused or while an
  // item is edited in place.
  bool InsertItemAtCaret(std::unique_ptr<TCustomRPItemInfo> item, AnsiString& text, bool caretAtItemStart);
  bool InsertTextAsItem(AnsiString& text, int32_t styleNo, bool caretAtItemStart);
  // Text items: of a style (the Unicode option from the resolved style); copying source's
  // style and properties with its options cleared; like source (its properties, Unicode
  // option, continues-line flag and a copy of its tag, without checkpoint).
  std::unique_ptr<TCustomRPItemInfo> CreateTextItem(int32_t paraNo, bool lineBreak, bool continuesLine,
                                                    int32_t styleNo);
  std::unique_ptr<TCustomRPItemInfo> CreateTextItemFrom(const TCustomRPItemInfo& source, bool lineBreak,
                                                        bool continuesLine);
  std::unique_ptr<TCustomRPItemInfo> CreateTextItemLike(const TCustomRPItemInfo& source);
  // Recorded insertions of new text items at itemNo.
  void InsertNewTextItem(int32_t itemNo, AnsiString text, int32_t paraNo, bool lineBreak, bool continuesLine,
                         int32_t styleNo, bool& fullReformat);
  void InsertTextItemFrom(int32_t itemNo, AnsiString text, const TCustomRPItemInfo& source, bool lineBreak,
                          bool continuesLine, bool& fullReformat);
  void InsertEmptyTextItem(int32_t itemNo, const TRPTag& tag, bool lineBreak, bool continuesLine, int32_t styleNo,
                           int32_t paraNo, bool& fullReformat);
  // The insertion hook: without atCaret the model's insertion at itemNo; with it the
  // insertion at the caret (InsertedThroughEditing set, a beep on failure).
  bool InsertItem(int32_t& itemNo, AnsiString& text, int32_t& lastAffected, bool& fullReformat, bool atCaret,
                  std::unique_ptr<TCustomRPItemInfo>& item);
  // Plain text at the caret, cut into paragraphs, lines and tabs; the caret after it or at
  // its start. UTF-16 text is raw (two bytes a unit); an odd length raises ERichPaneError
  // "Can't perform Unicode operation".
  void InsertAnsiText(const AnsiString& text, bool caretAtStart);
  void InsertUnicodeText(const AnsiString& rawText, bool caretAtStart);
  // The rest of a stream (or a file) as 8-bit text (#0 becomes "?", OEM text converted);
  // false when it could not be inserted (or the file opened).
  bool InsertTextFromStream(TStream& stream, bool fromOEM, bool caretAtStart);
  bool InsertTextFromFile(const WideString& fileName, bool fromOEM, bool caretAtStart);
  // After an edit: the whole document formatted when checkDocWidth and its minimal width
  // changed, else draw items firstDraw .. lastDraw laid out again with itemDelta items
  // added (negative: removed). True when the whole document was formatted.
  bool ReformatAfterEdit(bool checkDocWidth, int32_t firstDraw, int32_t lastDraw, int32_t itemDelta);
  // Typing: text in the current text style's stored form (keyCode: the key that typed it).
  void TypeText(const AnsiString& text, uint16_t keyCode);
  void TypeAnsiChar(char key);

  // --- Deletion, Backspace, Delete and Enter (RPERPDataDelete.cpp) ------------------------
  bool CanDeleteSelection();
  bool DeleteSelection();
  // Backspace (byWord: Ctrl; wholeChar: the whole character before the caret).
  void DeleteCharBackward(bool byWord, bool wholeChar, bool fromNextLine);
  // Deletes item itemNo whole as Backspace does; false when refused.
  bool DeleteWholeItem(int32_t itemNo);
  // Delete.
  void DeleteCharForward(bool byWord, bool fromPrevious);
  // Enter (softBreak: Shift+Enter, a line break inside the paragraph).
  bool InsertParagraphBreak(bool softBreak, bool nested);
  // The caret to an item position (off a list marker), shown.
  void PlaceCaretAfterEdit(int32_t itemNo, int32_t offset, bool restartSpelling);
  // Whether the paragraph of item itemNo holds a persistent checkpoint.
  bool HasPersistentCheckpointInPara(int32_t itemNo) const;

  // --- Native and RTF documents at the caret (RPERPDataInterchange.cpp) -----------------
  // The stream's items go in at the caret as one undo group: the first through the
  // insertion at the caret, the rest after it with one record; the boundaries are joined
  // (MergeInsertedBoundaries), the document laid out again and the caret put after the
  // last. False (with a beep) when the stream is damaged or the first item is refused;
  // nothing changed then. An RTF stream at its end inserts nothing and succeeds; without
  // the control's RTF import options RTF fails.
  bool InsertRPFFromStream(TStream& stream);
  bool InsertRTFFromStream(TStream& stream);
  // The items first .. last just inserted are joined with their neighbours: the last with
  // the following one (or the following one starts a paragraph after a whole-line item),
  // the inserted ones among themselves (their sub-documents normalized), the first with
  // the one before (or an empty first item that continues a line goes). caretOffset, the
  // offset at the end of last, grows with the items joined into the last one; every join
  // or deletion lowers added and last.
  void MergeInsertedBoundaries(int32_t& first, int32_t& last, int32_t& caretOffset, int32_t& added);
  // While an insertion at the caret reads a stream, its first item goes in at the caret
  // (InsertItemAtCaretCore: a list marker amid a line or at a non-text item is dropped,
  // and the next item read goes in at the caret in its place).
  TRPFFirstItemFate InsertFirstRPFItem(int32_t& index, AnsiString text,
                                       std::unique_ptr<TCustomRPItemInfo> item) override;

private:
  // The insertion at the caret that InsertFirstRPFItem serves: where the first item went
  // (-1: none yet) and whether the layout must be whole.
  bool FInsertingAtCaret = false;
  int32_t FFirstInserted = -1;
  bool FInsertFullReformat = false;
  // The items after the first one, as they were when it went in.
  struct TFollowingItem {
    const TCustomRPItemInfo* Item;
    int32_t ParaNo;
    bool ContinuesLine, LineBreak;
  };
  std::vector<TFollowingItem> FFollowing;
  // The plain and the bidirectional stop builders for one draw item of the line first ..
  // last; the caret's stop is picked on the way.
  void AddPlainStops(int32_t drawNo, int32_t firstOfLine, int32_t hint);
  bool AddBiDiStops(int32_t drawNo, int32_t firstOfLine, int32_t hint);
  // The text of a draw item as drawn, measured with its style applied.
  AnsiString PrepareDrawText(int32_t drawNo);
  // Places the caret by the hit test at a document point.
  void PlaceCaretAtPoint(int32_t x, int32_t y, int32_t& drawNo, int32_t& drawOffs);
  // Moves the caret to a position of its item found on or off the current line.
  void MoveCaretToItemOffset(int32_t itemNo, int32_t offset);
  // The caret at the start of draw item 0 (a list marker skipped); -1 without draw items.
  void ResetCaretToStart();
  // One empty text item in the current styles; no layout.
  void AddEmptyItem();
  // Stores the selection as draw-item positions, clamped.
  void StoreDrawSelection(int32_t startNo, int32_t startOffs, int32_t endNo, int32_t endOffs);
  // The item was put into the list: its hooks and the document's palette state.
  void PutItem(int32_t itemNo, AnsiString& text, std::unique_ptr<TCustomRPItemInfo> item, bool fromUndo);
  // A kept item goes into an undo record: the item's and the control's hooks.
  void MoveItemToUndoList(int32_t itemNo);
  // The last item of the paragraph (or line part) that item itemNo belongs to.
  int32_t LastItemOfParagraph(int32_t itemNo) const;
  // The minimal width of items first .. last; 0 without a canvas.
  int32_t RangeMinWidth(int32_t first, int32_t last);

  std::unique_ptr<TRPTableEditHost> FTableEditHost;
  std::unique_ptr<TRPDragDropCaretInfo> FDragCaret;
  int32_t FDragCaretRefs = 0;
};
