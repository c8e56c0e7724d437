// The table item: a full-line item of a document that owns a grid of cells
// (RPTableRows.h), the table's published properties, its screen layout, and the
// operations that layout (RPTableLayout.cpp), painting (RPTablePaint.cpp) and page
// breaking (RPTablePrint.h) need.
//
// Lengths of the properties are screen pixels. While a printing layout, a printing paint
// or a minimum-width query runs, the table holds the resolution record of that output and
// converts every property length with it (sx, sy).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "richtext/layout/RPLayoutItems.h"
#include "richtext/layout/print/RPPrintItems.h"
#include "richtext/layout/view/RPScroller.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPItemStreaming.h"
#include "richtext/table/RPTableBackground.h"
#include "richtext/table/RPTableBorders.h"
#include "richtext/table/RPTableGridNotes.h"
#include "richtext/table/RPTableHooks.h"
#include "richtext/table/RPTableRows.h"
#include "richtext/table/RPTableTypes.h"

class TRPTablePrintInfo;
class TRPTableStreamSaveInfo;
class TCustomRPFormattedData;

// A cell's editor in place was asked to go while it cannot.
class ERPTableInplaceError : public ERichPaneError {
public:
  explicit ERPTableInplaceError(const AnsiString& message);
};

// Whether tables without a preferred width let RTF readers fit them to their content
// ("\trautofit1"), beside the tables that ask so themselves (rptoRTFAllowAutofit).
extern bool RPTableRTFAllowAutofit;

class TRPTableItemInfo : public TRPFullLineItemInfo,
                         public IRPLayoutItem,
                         public IRPPrintableItem,
                         public IRPJumpAreasItem,
                         public IRPInnerSelectionItem,
                         public IRPFocusItem,
                         public IRPMouseItem,
                         public IRPInplaceEditorOwner {
public:
  // rowCount x colCount new cells; the fresh-table state bit is set.
  TRPTableItemInfo(int32_t rowCount, int32_t colCount, TCustomRPData* rpData);
  // One row of one cell (the item-type registry's constructor).
  explicit TRPTableItemInfo(TCustomRPData* rpData);
  ~TRPTableItemInfo() override;
  TRPItemClass ItemClass() const override;

  // --- Grid ----------------------------------------------------------------------------
  TRPTableRows& Rows() { return *FRows; }
  const TRPTableRows& Rows() const { return *FRows; }
  // nullptr where a merged cell covers the position.
  TRPTableCellData* GetCell(int32_t row, int32_t col) const { return FRows->GetCell(row, col); }
  // Merges through the grid (best width combined) and flags the table changed. A cell
  // edited in place is edited again afterwards in the cell that covers it.
  bool MergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan, bool allowCoveredLines);
  void GetCellPosition(const TRPTableCellData* cell, int32_t& row, int32_t& col) const;

  // --- Rows and columns (RPTableEditing.cpp) ---------------------------------------------
  // count rows (columns) inserted at index (0 .. RowCount / ColCount); with copyIndex
  // (-1: none, else 0 .. count - 1 before the insertion) the new cells take that row's
  // (column's) attributes and spans. Raises ERichPaneError "Invalid row or column index"
  // for an index or copy index out of range; nothing changes then. The table is laid out
  // again. In-place editing ends first; with select the new rows (columns) become the
  // selection.
  void InsertRows(int32_t index, int32_t count, int32_t copyIndex, bool select = false);
  void InsertCols(int32_t index, int32_t count, int32_t copyIndex, bool select = false);
  // count rows (columns) from index deleted; cells spanning them shrink (with divideSize
  // their preferred size shrinks with them), cells starting inside them and reaching
  // out are cut. Nothing on an empty grid; raises "Invalid row or column index" for an
  // index outside the grid, a count below 1 or, at index 0, above the grid (a count past
  // the end at a later index is cut). A cell edited in place stops being edited, the cell
  // selection goes; with rptoEditing the editing then goes on in the cell that covers the
  // edited position after the deletion (clamped to the last row and column).
  void DeleteRows(int32_t index, int32_t count, bool divideSize);
  void DeleteCols(int32_t index, int32_t count, bool divideSize);
  // Deletes every row that holds no cell of its own, from the last up, one at a time.
  void DeleteEmptyRows();
  // The notes of the editor that records undo for the table; nullptr when none does.
  IRPTableGridNotes* GetGridNotes() const;

  // --- The editor around the table (RPTableUndoable.cpp) --------------------------------
  // Each answers as a document without an editor does when the table lies in none.
  // Whether the table lies in an editor's document, and whether that editor lets it
  // change now.
  bool IsInEditor() const { return FindEditHost() != nullptr; }
  bool CanEditorChange() const;
  // Whether the editor records undo; the table's item index when it does, else -1.
  bool IsUndoRecorded() const;
  int32_t GetUndoItemNo() const { return IsUndoRecorded() ? GetItemNo() : -1; }
  // One undo group for the steps of an operation (the group mode of the editor's undo
  // list) and its end.
  void BeginUpdateGroup() const;
  void EndUpdateGroup() const;
  // The editor is modified and tells its listeners.
  void NotifyChange() const;
  // The minimal width of the table's paragraph before a change (0 outside an editor),
  // and the layout after it.
  int32_t PrepareChange(int32_t itemNo) const;
  void CompleteChange(int32_t itemNo, int32_t saved) const;
  // Live spelling goes on from the table.
  void RestartSpelling();
  // The hidden editor for commands on the cells; nullptr outside an editor.
  std::unique_ptr<IRPTableTemporalEditor> CreateTemporalEditor();
  // Asked before a cell is edited (automatic: the table itself starts it); clearing
  // allowEdit refuses it.
  using TRPCellEditingEvent =
      std::function<void(TRPTableItemInfo& sender, int32_t row, int32_t col, bool automatic, bool& allowEdit)>;
  TRPCellEditingEvent OnCellEditing;
  // Told when the editing of a cell ends (clearing: the document is being cleared).
  using TRPCellEndEditEvent = std::function<void(TRPTableItemInfo& sender, int32_t row, int32_t col, bool clearing)>;
  TRPCellEndEditEvent OnCellEndEdit;
  // What OnCellEditing answers (true without a handler).
  bool CanEditCell(int32_t row, int32_t col, bool automatic);
  // An editor command (IRPTableTemporalEditor) run on every cell, or on the selected
  // ones, that OnCellEditing lets change; nothing without rptoEditing. In an editor the
  // steps of all cells form one undo step (in the caller's group when it has one open);
  // with selectedOnly the document is laid out again and notified afterwards.
  void ApplyToCells(int32_t command, int32_t parameter, bool selectedOnly);
  // Whether the selected cells may be emptied: false without rptoEditing; true with no
  // selected cell or outside an editor; else false when a selected cell holds an item
  // protected against deletion.
  bool CanClearSelectedCells() const;
  // Empties the selected cells that OnCellEditing lets change (each keeps its attributes
  // and spans), as one undo step in an editor.
  void ClearSelectedCells();
  // The item's property-change hooks: while an undo step writes a property back by
  // name, the table's setters store plainly; afterwards the table is flagged changed.
  void BeforePropertyChange() override;
  void AfterPropertyChange() override;

  // --- Published properties (defaults as a new table has them) ---------------------------
  TRPTableOptions Options = rptoDefaultOptions;
  TRPTablePrintOptions PrintOptions = rptoDefaultPrintOptions;
  AnsiString TextRowSeparator = "\r\n";
  AnsiString TextColSeparator = "\r\n";
  TRPTableBooleanRect VisibleBorders;

  // Each ordinal property: its getter, its setter (by name inside a document, a plain
  // store otherwise, RPTableProps.cpp) and its field with the default.
#define QF_TABLE_INT_PROPERTY(Type, Name, Default) \
  Type Get##Name() const { return F##Name; }       \
  void Set##Name(Type value);                      \
                                                   \
private:                                           \
  Type F##Name = Default;                          \
                                                   \
public:
  QF_TABLE_INT_PROPERTY(TRPHTMLLength, BestWidth, 0)
  QF_TABLE_INT_PROPERTY(TColor, Color, clWindow)
  QF_TABLE_INT_PROPERTY(int32_t, HeadingRowCount, 0)
  QF_TABLE_INT_PROPERTY(int32_t, BorderWidth, 0)
  QF_TABLE_INT_PROPERTY(TColor, BorderColor, clWindowText)
  QF_TABLE_INT_PROPERTY(TColor, BorderLightColor, clBtnHighlight)
  QF_TABLE_INT_PROPERTY(TRPTableBorderStyle, BorderStyle, rptbRaised)
  QF_TABLE_INT_PROPERTY(int32_t, BorderVSpacing, 2)
  QF_TABLE_INT_PROPERTY(int32_t, BorderHSpacing, 2)
  QF_TABLE_INT_PROPERTY(int32_t, CellBorderWidth, 0)
  QF_TABLE_INT_PROPERTY(TColor, CellBorderColor, clWindowText)
  QF_TABLE_INT_PROPERTY(TColor, CellBorderLightColor, clBtnHighlight)
  QF_TABLE_INT_PROPERTY(int32_t, CellPadding, 1)
  QF_TABLE_INT_PROPERTY(TRPTableBorderStyle, CellBorderStyle, rptbLowered)
  QF_TABLE_INT_PROPERTY(int32_t, VRuleWidth, 0)
  QF_TABLE_INT_PROPERTY(TColor, VRuleColor, clWindowText)
  QF_TABLE_INT_PROPERTY(int32_t, HRuleWidth, 0)
  QF_TABLE_INT_PROPERTY(TColor, HRuleColor, clWindowText)
  QF_TABLE_INT_PROPERTY(int32_t, CellVSpacing, 2)
  QF_TABLE_INT_PROPERTY(int32_t, CellHSpacing, 2)
  QF_TABLE_INT_PROPERTY(bool, VOutermostRule, false)
  QF_TABLE_INT_PROPERTY(bool, HOutermostRule, false)
#undef QF_TABLE_INT_PROPERTY

  TRPItemBackgroundStyle GetBackgroundStyle() const { return FBackground.GetStyle(); }
  // By name while the table is in a document.
  void SetBackgroundStyle(TRPItemBackgroundStyle style);
  TGraphic* GetBackgroundImage() const { return FBackground.GetImage(); }
  // A copy of graphic (nullptr: none); nothing when it is the picture already; in an
  // editor the old picture goes to an undo step.
  void SetBackgroundImage(const TGraphic* graphic);
  // The picture handed out (nullptr without one) / taken over, as undo steps do.
  std::unique_ptr<TGraphic> TakeBackgroundImage() { return FBackground.TakeImage(); }
  void PutBackgroundImage(std::unique_ptr<TGraphic> graphic) { FBackground.PutImage(std::move(graphic)); }
  TRPBackground* GetTableBackground() const { return FBackground.Get(); }
  AnsiString BackgroundImageFileName;

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

  // Writes an ordinal property by name: through the editor host as one undoable step
  // while the table lies in an editor's document, else a plain store. Either way the
  // table is flagged as changed.
  void SetIntPropertyByName(const AnsiString& name, int32_t value, bool affectsSize, bool affectsWidth);
  void SetCellIntPropertyByName(int32_t itemNo, const AnsiString& name, int32_t value, int32_t row, int32_t col,
                                bool affectsSize, bool affectsWidth);
  void SetCellStrPropertyByName(int32_t itemNo, const AnsiString& name, const AnsiString& value, int32_t row,
                                int32_t col);
  void SetCellBestWidth(TRPHTMLLength value, int32_t row, int32_t col);
  void SetCellBestHeight(int32_t value, int32_t row, int32_t col);
  // The same for the table at itemNo of its document (-1: looked up).
  void SetCellBestWidthEx(int32_t itemNo, TRPHTMLLength value, int32_t row, int32_t col);
  void SetCellBestHeightEx(int32_t itemNo, int32_t value, int32_t row, int32_t col);
  void SetCellBackgroundImageFileNameEx(int32_t itemNo, const AnsiString& value, int32_t row, int32_t col);
  void SetCellHintEx(int32_t itemNo, const AnsiString& value, int32_t row, int32_t col);
  // Nothing when the cell's sides are those already; in an editor the old ones are
  // recorded first (one undo step). The table is flagged changed.
  void SetCellVisibleBorders(bool left, bool top, bool right, bool bottom, int32_t row, int32_t col);
  void SetCellVisibleBordersEx(int32_t itemNo, bool left, bool top, bool right, bool bottom, int32_t row, int32_t col);
  // A copy of graphic becomes the cell's picture (nullptr: none); nothing when it is the
  // picture already; in an editor the old picture goes to an undo step.
  void SetCellBackgroundImage(const TGraphic* graphic, int32_t row, int32_t col);
  // The cell at (row, col) takes source's attributes (with includeSize its preferred
  // sizes divided by the divisors); in an editor each changed property is a step.
  void CopyCellAttributes(int32_t itemNo, int32_t row, int32_t col, const TRPTableCellData& source, bool includeSize,
                          int32_t colDivisor, int32_t rowDivisor);

  // --- Cells as sub-documents and navigation (RPTableCells.cpp) ------------------------
  // The covering cell of the neighbour of (row, col) in direction (0 left, 1 up, 2 right,
  // 3 down, 6 next, 7 previous in reading order); false when there is none (after a beep
  // unless silent). Appending a row at the end is the editor's, so none is appended here.
  bool GetNeighbourCell(int32_t row, int32_t col, int32_t direction, int32_t& newRow, int32_t& newCol,
                        bool silent) const;
  // The row's start in the screen layout; the table's height past the last row.
  int32_t GetRowTop(int32_t row) const;
  // First, last, next and previous cell in reading order; the selection positions (no
  // cell selection is kept here) find none.
  TCustomRPData* GetSubRPData(std::unique_ptr<TRPStoreSubRPData>& location, TRPSubRPDataPosition position) override;
  void MarkStylesInUse(TRPStyleUsage& usage) const override;
  void RenumberStyles(const TRPStyleUsage& usage) override;
  // The first time the table is inserted, the items of every cell are told they were.
  void Inserted(TCustomRPData* rpData, int32_t itemNo) override;

  // Every cell's hyperlinks, in reading order, numbered from jumpNo on (jumpNo moves past
  // them), placed for the table's top-left corner at (left, top) of its document.
  void BuildJumps(int32_t left, int32_t top, TRPJumpList& list, int32_t& jumpNo) override;
  void AddJumpAreas(TCustomRPFormattedData& data, int32_t drawNo, int32_t& jumpNo,
                    std::vector<std::unique_ptr<TRPJumpInfo>>& list) override;
  // The cell selection and the editor in place go; every cell drops its selection (the
  // document drops the table's inner selection).
  void ReleaseInnerSelection() override;

  // --- Output (RPTableOutput.cpp) ------------------------------------------------------------
  // The cells' text row by row (UTF-16): TextColSeparator between the positions of a row,
  // TextRowSeparator after each row, the separators converted with the style sheet's
  // DefCodePage.
  AnsiString AsPlainText(int32_t lineWidth, TCustomRPData* rpData, bool& textIsUnicode) const override;
  // The table's colour, the colours of its and its cells' border styles, the rules' when
  // they are drawn, every cell's colours and what the cells' items add.
  void FillRTFTables(TRPColorList& colors, TRPIntegerList& listOverrideCounts, TCustomRPData* rpData) const override;
  // The rows as RTF table rows (RPTableExportRtf.cpp) at the context's nesting level, each
  // cell's document through the context's writer; a table never formatted is laid out
  // for 600 pixels first. The writer is told afterwards that the paragraph is closed.
  void SaveRTF(TStream& stream, TRPRTFSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // A "table" element in the context's flavour (RPTableExportHtml.cpp), each cell's
  // document through the context's writer as body only.
  void SaveToHTML(TStream& stream, TRPHTMLSaveContext& context, const AnsiString& text, int32_t itemNo) const override;
  // Whether an item of a cell holds the control.
  bool OwnsControl(const TComponent* control) const override;

  // --- The native format (RPTableStreaming.cpp) ---------------------------------------------
  // The record: the header, the name, the property lines, the line "1", and the table
  // as a component stream (a block in the binary form, else one hexadecimal line); a
  // printed part of the table writes its rows with the heading rows before them.
  void SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t itemNo, int32_t paraNo, const AnsiString& name,
               const TRPMultiDrawItemPart* part, bool forceSameAsPrev) const override;
  // The selected cells (their bounding range; the cells of the range that are not
  // selected go without their content); false when no cell is selected.
  bool SaveRPFInnerSelection(TStream& stream, IRPFStreaming& streaming, int32_t paraNo, const AnsiString& name,
                             bool forceSameAsPrev) const override;
  // Line 0 the name, the last line the table (rebuilt from it), the line before it asks
  // for a block in the binary form; the others are property lines. False for a record
  // of fewer than three lines or a body that is no hexadecimal text; a damaged body
  // raises what the component stream raises.
  bool ReadRPFLine(const AnsiString& s, IRPFStreaming& streaming, TRPFBodyMode readType, int32_t lineNo,
                   int32_t lineCount, AnsiString& name, TRPFLineMode& readMode, TRPFReadState& readState) override;
  // The background picture's file name is the string property "filename".
  int32_t GetRPFPropertyCount() const override;
  void SaveRPFProperties(TStream& stream) const override;
  bool SetStrProperty(int32_t code, const AnsiString& value) override;
  bool GetStrProperty(int32_t code, AnsiString& value) const override;
  // The background picture as the binary property "BackgroundImg".
  void DefineProperties(TFiler& filer) override;
  // The items of every cell are told too.
  void BeforeLoading(TRPLoadFormat format) override;
  void AfterLoading(TRPLoadFormat format) override;
  // Above 0 while the table is being written (mouse handling then does nothing).
  int32_t GetBusy() const { return FBusy; }

  // The document of the cell whose rectangle holds a point of the table (relative to its
  // top-left corner, screen layout); nullptr between cells.
  TCustomRPData* GetSubRPDataAt(int32_t x, int32_t y) override;

  // --- Keyboard focus among the cells' items (RPTableView.cpp) --------------------------
  // Whether a cell holds an item that takes the focus.
  bool HasFocusableItems() const override;
  // From the item focused now (data, itemNo; inside the focused cell) to the next
  // (previous) focusable item of that cell, then of the cells after (before) it in reading
  // order; the first (last) cell's first (last) when no cell has the focus. False, with
  // no focused cell, when none is left.
  bool MoveFocus(bool forward, TCustomRPFormattedData*& data, int32_t& itemNo) override;
  // The focused cell's items lose the focus; no cell has it.
  void ClearFocus() override;
  // The cell at (row, col) holds the focus, item itemNo of document data inside it: the
  // document holding the table hears of it (SetFocusedItem).
  void SetFocusedCell(int32_t row, int32_t col, TCustomRPFormattedData* data, int32_t itemNo);
  int32_t GetFocusedRow() const { return FFocusedRow; }
  int32_t GetFocusedCol() const { return FFocusedCol; }

  // --- Cell selection (RPTableSelection.cpp) ------------------------------------------------
  // A mouse selection starts at the cell (row, col): false when the document allows no
  // selection or Options has rptoNoCellSelect. The anchor is the cell, no cell is
  // selected yet, the document keeps the table as its selected item.
  bool SelectCell(int32_t row, int32_t col);
  // The block from the anchor (anchorRow, anchorCol) over colExtent more columns and
  // rowExtent more rows (negative: leftwards, upwards) becomes the selection; only for a
  // table in a formatted document that allows selection. In-place editing ends.
  void Select(int32_t anchorRow, int32_t anchorCol, int32_t colExtent, int32_t rowExtent);
  // count rows from row (all columns); count columns from col (all rows).
  void SelectRows(int32_t row, int32_t count);
  void SelectCols(int32_t col, int32_t count);
  // The selected block: the rectangle of the cells covering the anchor and the anchor
  // plus the extent, each with its spans. Without a selection, with includeEdited, the
  // cell edited in place with its spans; false when there is neither.
  bool GetSelectionBounds(int32_t& topRow, int32_t& leftCol, int32_t& rowCount, int32_t& colCount, bool includeEdited);
  bool HasCellSelection() const { return (FStates & rptsCellSelected) != 0; }
  // Whether the cell at (row, col) lies in the selected block (its area overlaps it).
  bool IsCellSelected(int32_t row, int32_t col);
  // Every selected cell carries the selected flag; every other one (but the anchor)
  // drops its own selection and the flag; the document is repainted.
  void UpdateSelectedFlags();
  // No cell selection: in-place editing ends, the anchor and the flags are cleared.
  void RemoveCellSelection();
  int32_t GetSelAnchorRow() const { return FSelAnchorRow; }
  int32_t GetSelAnchorCol() const { return FSelAnchorCol; }
  // Paints a selection mark over the cell edited in place and over selected cells, in
  // the view's selection colour (focused or not).
  TColor GetCellSelectionColor() const;

  // --- The mouse (RPTableMouse.cpp) --------------------------------------------------------
  // Points are in the coordinates of the document that holds the table.
  bool MouseMove(TCustomRPFormattedData& data, int32_t itemNo, TShiftState shift, int32_t x, int32_t y) override;
  bool MouseDown(TCustomRPFormattedData& data, int32_t itemNo, TMouseButton button, TShiftState shift, int32_t x,
                 int32_t y) override;
  bool MouseUp(TCustomRPFormattedData& data, int32_t itemNo, TMouseButton button, TShiftState shift, int32_t x,
               int32_t y) override;
  // Where a point of the table (relative to its top-left corner, screen layout) lies:
  // the covering cell (one pixel inside its rectangle), an inner column or row border
  // (index of the column or row after it), the left or top outer border.
  struct THitTest {
    int32_t Row = -1, Col = -1;  // the covering cell; -1 between cells
    int32_t ColBorder = -1;      // an inner border before this column
    int32_t RowBorder = -1;      // an inner border before this row
    bool LeftEdge = false, TopEdge = false;
  };
  THitTest HitTest(int32_t x, int32_t y);
  // Whether the table lies in an editor's document that is not read-only.
  bool IsEditable() const;
  // Whether a column or row border is being dragged.
  bool IsResizing() const { return FResizeIndex > 0; }
  // The cursor the table shows at a point of itself (as MouseMove chooses it).
  TCursor GetCursorAt(int32_t x, int32_t y);

  // --- Cells as active documents, the editor in place (RPTableInplace.cpp) -----------------
  // The cell holding the caret or the inner selection (-1, -1: none).
  int32_t GetChosenRow() const { return FChosenRow; }
  int32_t GetChosenCol() const { return FChosenCol; }
  // The cell at the location (row, col) becomes the chosen cell (nothing when it is): the
  // document selects the table item alone and registers the cell as its active child;
  // in an editor the cell is activated. The cell keeps its own selection.
  void ChooseSubRPData(const TRPStoreSubRPData& location);
  void ChooseCell(int32_t row, int32_t col);
  // The cell becomes the document's active child; in an editor (with force or
  // rptoEditing) the editor in place opens on it, the outer table of a nested one
  // activating its own cell first (raising ERichPaneError "Internal error" when it cannot
  // find it).
  void ActivateCell(int32_t row, int32_t col, bool force);
  // Entering the table by keyboard (how: 0 first cell, caret at the start; 1 last cell,
  // caret at the end; 2 / 3 the cell under x in the first / last row, caret at the start /
  // end). False when no column lies under x; nothing (true) for an empty grid or without
  // rptoEditing.
  bool EnterTable(int32_t how, int32_t x);
  // Whether the chosen cell's document has a selection that is not empty.
  bool ChosenCellHasSelection();
  // The cell and item holding a control; the cell becomes the focused cell. False when
  // no cell holds it; data and itemNo are set only for an item that takes the focus.
  bool FindControl(const TComponent* control, TCustomRPFormattedData*& data, int32_t& itemNo);
  // The chosen cell's document drops its selection and is forgotten.
  void DropChosenCell();
  // The document's active child (the chosen cell) is detached, then forgotten.
  void DetachChosenEditor();
  // No cell is chosen any longer (its document was detached).
  void ForgetChosenCell();
  // The editor in place gets these bounds (height cut to 10000, the cut remembered);
  // after a padding change its document is laid out again first; a document taller than
  // height flags the editor's content as clipped.
  void PlaceEditor(int32_t left, int32_t top, int32_t width, int32_t height);
  // Starts editing the cell (row, col) in place (itemNo: the table's index, -1 to look it
  // up): only in an editor's document and when OnCellEditing (asked unless automatic)
  // allows it. The previous editor goes first. False when no editor was opened.
  bool CreateInplaceEditor(int32_t itemNo, int32_t row, int32_t col, bool automatic, bool caretToEnd, bool caretToStart,
                           bool takeFocus);
  // Ends editing in place: the content goes back to the cell; unless quiet (clearing, or
  // the host going) the cell is laid out, its caret and selection restored and the host
  // repainted. OnCellEndEdit follows.
  void DestroyInplaceEditor(bool clearing = false);
  // For a structural change: the editor goes, its cell and caret kept to reopen it by
  // ReopenInplaceEditor. Raises ERPTableInplaceError while the editor is busy.
  void SaveAndDestroyInplaceEditor();
  void ReopenInplaceEditor();
  // The steps typed so far in the cell editor move into the document's undo and redo
  // lists as one cell step each, so that a change of the table made now comes after them.
  void HandOverInplaceUndo();
  IRPTableInplaceEditor* GetInplaceEditor() const { return FInplaceEditor.get(); }
  int32_t GetEditedRow() const { return FEditedRow; }
  int32_t GetEditedCol() const { return FEditedCol; }
  // The table stands at (left, top) of its control's client area: the editor in place
  // follows its cell, every cell's document hears that its origin moved.
  void AdjustControlPlacement(int32_t left, int32_t top, bool show) override;
  bool OwnsInplaceEditor(const TComponent* editor) const override;
  void FreeInplaceEditor(TRPScroller& editor) override;
  void InplaceEditorCleared(TRPScroller& editor) override;
  // What lies under the cell (row, col) edited in place, painted into rect of canvas
  // whose origin is the cell's content corner: the table's picture shifted by the cell's
  // place and vertical-alignment offset, or the table's colour (nothing for clNone).
  void DrawBackgroundUnderCell(TCanvas& canvas, const TRect& rect, int32_t row, int32_t col);

  // --- State ---------------------------------------------------------------------------
  TRPTableStates GetStates() const { return FStates; }
  void Changed() { FStates |= rptsLayoutInvalid; }
  bool IsChanged() const { return (FStates & rptsLayoutInvalid) != 0; }
  // The table's index in its document, cached; -1 outside a document.
  int32_t GetItemNo() const;
  // The index of the outermost item that holds the table (the table's own in a document
  // that is no sub-document); -1 outside a document.
  int32_t GetRootItemNo() const;
  // Whether the table lies wholly in its document's selection: the document is a cell
  // of a cell selection, or its selection runs from before the table (or its start) to
  // after it (or its end).
  bool IsWhollySelected() const;
  // The table's position in the client area of its document (its top-left corner),
  // as the last UpdatePosition found it; cells answer their scroll offsets from it.
  TPoint GetPosition() const { return FPosition; }
  // Refreshes the position from the table's draw item in a formatted document.
  void UpdatePosition();

  // --- Colours behind cells ---------------------------------------------------------------
  // The cell's colour, else the table's, else (formatted document) the table paragraph's
  // background, else the document's colour.
  TColor GetEffectiveCellColor(const TRPTableCellData& cell) const;
  bool IsCellColorNone(const TRPTableCellData& cell) const;
  TColor GetTableColor(bool useDocumentColor) const;

  // --- Row groups and headings --------------------------------------------------------------
  // Whether no cell covering a position of row reaches below it.
  bool NoRowSpanBelow(int32_t row) const;
  int32_t GetRowGroupStart(int32_t row) const;
  int32_t GetRowGroupEnd(int32_t row) const;
  // Whether a row of firstRow .. lastRow has PageBreakBefore; a negative firstRow means
  // HeadingRowCount + 1, a negative lastRow the last row.
  bool HasPageBreakBefore(int32_t firstRow, int32_t lastRow) const;
  // The heading rows (min(HeadingRowCount, RowCount), at least 1) end where no cell spans
  // out of them.
  bool IsHeadingBlockClosed() const;
  int32_t GetHeadingRowCountLimited() const;

  // --- Layout (RPTableLayout.cpp) -----------------------------------------------------------
  TRPTableItemFormattingInfo& FormattingInfo() { return *FFormatting; }
  const TRPTableItemFormattingInfo& FormattingInfo() const { return *FFormatting; }
  // Lays the table out for an available width into info; on the screen (info is the
  // table's own) the cells get their geometry and are formatted.
  void CalculateLayout(int32_t availWidth, TRPTableItemFormattingInfo& info, bool force, TCanvas& canvas);
  // A cell's width (height) in a layout, paddings included: its columns' (rows') content
  // and its share of the gap budgets between them.
  int32_t SpanWidth(const TRPTableItemFormattingInfo& info, int32_t col, int32_t span) const;
  int32_t SpanHeight(const TRPTableItemFormattingInfo& info, int32_t row, int32_t span) const;
  int32_t GetMinWidth(const TRPResolution* resolution, TCanvas* canvas, TCustomRPData* rpData) const override;
  int32_t GetWidth() const override { return FFormatting->Width; }
  int32_t GetHeight() const override { return FFormatting->Height; }
  bool GetBoolValue(TRPItemBoolQuery query) const override;
  bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const override;
  // The document's formatting lays the table out for the width it offers and paints it.
  void FormatForWidth(int32_t availWidth, TCanvas& canvas, TCustomRPFormattedData& data, bool flag1, bool flag2,
                      int32_t& horzOffset) override;
  void Paint(int32_t x, int32_t y, TCanvas& canvas, uint32_t drawState, TCustomRPFormattedData& data,
             const TRPDrawLineInfo& drawItem) override;
  // In a document laid out for pages the table's draw item is its printing copy
  // (RPTablePrint.h), laid out by the next FormatForWidth and painted part by part.
  std::unique_ptr<TRPDrawLineInfo> CreatePrintingDrawItem(TCustomRPFormattedData& data,
                                                          const TRPResolution& resolution) override;
  // The table never prints through a bitmap.
  bool PrintToBitmap(TBitmap&, bool, TRPColorMode, int32_t, TRPDrawLineInfo&, TCustomRPFormattedData&) override {
    return false;
  }
  void Print(TCanvas& canvas, int32_t x, int32_t y, int32_t right, TCustomRPFormattedData& data, TRPColorMode colorMode,
             int32_t part, TRPDrawLineInfo& drawItem, const TRPResolution& resolution, bool preview,
             bool correction) override;
  void Inserting(TCustomRPData* rpData, AnsiString& text, bool safe) override;

  // The resolution record in force (nullptr: lengths are screen pixels).
  const TRPResolution* GetResolution() const { return FResolution; }
  // The printing draw item being laid out or printed (TPrintScope); nullptr otherwise.
  const TRPTablePrintInfo* GetPrintInfo() const { return FPrintInfo; }
  int32_t ScaleX(int32_t v) const;
  int32_t ScaleY(int32_t v) const;

  // The document holding the table when it is formatted; nullptr otherwise.
  TCustomRPFormattedData* GetFormattedDocument() const;

  // --- Painting (RPTablePaint.cpp) ------------------------------------------------------------
  // The dotted lines shown where borders are hidden: from top while y < bottom (left
  // while x < right), each step of 8 pixels three one-pixel dashes at 0, 2 and 4 in the
  // canvas pen; the last step is drawn whole.
  static void DrawDottedVLine(TCanvas& canvas, int32_t x, int32_t top, int32_t bottom);
  static void DrawDottedHLine(TCanvas& canvas, int32_t left, int32_t right, int32_t y);
  // What lies behind the table on a page, painted into rect (device pixels): the table's
  // colour or picture aligned to area (the table's rectangle); unless mode is 1, also the
  // colour or picture of the cell being painted, aligned to that cell inside area. Mode 0
  // paints nothing. Colours go through colorMode; with rptoWhiteBackground no picture is
  // shown and the colours are white.
  void DrawBackground(TCanvas& canvas, const TRect& rect, int32_t mode, TRPColorMode colorMode,
                      const TRect& area) override;
  // Paints rows startRow .. startRow + rowCount - 1 (all with a negative count) of the
  // layout info at (x, y); printing uses cell copies when info has them.
  void PaintTable(TCanvas& canvas, int32_t x, int32_t y, const TRect& clipRect, bool printing, int32_t startRow,
                  int32_t rowCount, bool repeatHeading, const TRPTableItemFormattingInfo& info, TRPColorMode colorMode);
  // One border rectangle (the table's with row = col = -1, or a cell's); OnDrawBorder is
  // asked first.
  void DrawBorder(TCanvas& canvas, const TRect& rect, int32_t width, TColor lightColor, TColor color,
                  TColor backgroundColor, TRPTableBorderStyle style, bool printing,
                  const TRPBooleanRect& visibleBorders, int32_t row, int32_t col, const TRect& clipRect);
  // Called before a border is drawn with its rectangle, width (screen pixels), colours,
  // style, whether printing, visible sides, row and column; clearing doDefault leaves the
  // border to the handler.
  using TRPTableDrawBorderEvent =
      std::function<void(TRPTableItemInfo& sender, TCanvas& canvas, const TRect& rect, int32_t width, TColor lightColor,
                         TColor color, TColor backgroundColor, TRPTableBorderStyle style, bool printing,
                         const TRPBooleanRect& visibleBorders, int32_t row, int32_t col, bool& doDefault)>;
  TRPTableDrawBorderEvent OnDrawBorder;

  // Installs a resolution record for a scope (printing layouts and paints).
  class TResolutionScope {
  public:
    TResolutionScope(const TRPTableItemInfo& table, const TRPResolution* resolution)
        : FTable(table), FSaved(table.FResolution) {
      FTable.FResolution = resolution;
    }
    ~TResolutionScope() { FTable.FResolution = FSaved; }
    TResolutionScope(const TResolutionScope&) = delete;
    TResolutionScope& operator=(const TResolutionScope&) = delete;

  private:
    const TRPTableItemInfo& FTable;
    const TRPResolution* FSaved;
  };

  // While a printing draw item of the table is laid out or a part of it printed: the
  // draw item, whose printable cell copies hold the cells' content on the page.
  class TPrintScope {
  public:
    TPrintScope(TRPTableItemInfo& table, const TRPTablePrintInfo& info)
        : FTable(table), FSaved(std::exchange(table.FPrintInfo, &info)) {}
    ~TPrintScope() { FTable.FPrintInfo = FSaved; }
    TPrintScope(const TPrintScope&) = delete;
    TPrintScope& operator=(const TPrintScope&) = delete;

  private:
    TRPTableItemInfo& FTable;
    const TRPTablePrintInfo* FSaved;
  };

private:
  friend class TResolutionScope;
  friend class TPrintScope;
  // Where the background picture of the table (cell nullptr) or of a cell goes in an HTML
  // export, as an HTML path; empty when it is left out.
  AnsiString HtmlBackgroundLocation(TRPHTMLSaveContext& context, const TRPTableCellData* cell, TColor backColor) const;

  // While the grid changes the live-spelling walk of the document stands still and
  // leaves the table's cells (they may go); afterwards it goes on from the table.
  class TSpellingBracket {
  public:
    explicit TSpellingBracket(TRPTableItemInfo& table);
    ~TSpellingBracket();
    TSpellingBracket(const TSpellingBracket&) = delete;
    TSpellingBracket& operator=(const TSpellingBracket&) = delete;

  private:
    TRPTableItemInfo& FTable;
    TCustomRPData* FData;
  };
  bool HasSelectedCells() const;
  // Runs a grid operation in the editor's update group, then lays the table out again
  // and tells the editor.
  template <typename F>
  void GridOperation(F operation);
  // DeleteRows (rows) or DeleteCols, with the cell edited in place following the deletion.
  void DeleteAlong(bool rows, int32_t index, int32_t count, bool divideSize);
  void WriteRPFRecord(TStream& stream, IRPFStreaming& streaming, int32_t paraNo, const AnsiString& name,
                      const TRPTableStreamSaveInfo& saveInfo, bool forceSameAsPrev);
  void ForEachCellItem(const std::function<void(TCustomRPItemInfo&)>& proc);
  void Init(int32_t rowCount, int32_t colCount, TCustomRPData* rpData);
  int32_t LastRowReachedFrom(int32_t row) const;
  // The editor host while the table lies in an editor's document; nullptr otherwise.
  IRPTableEditHost* FindEditHost() const;
  enum TBorderSide : uint8_t { bsdLeft, bsdTop, bsdRight, bsdBottom };
  bool NeighbourBorderCovers(int32_t row, int32_t col, TBorderSide side) const;
  void DrawRowPageBreak(TCanvas& canvas, int32_t y) const;
  void FillArea(TCanvas& canvas, const TRect& area, TColor color, const TRPBackground* picture) const;
  // On a page: color (unless clNone) and picture printed into rect, the picture aligned
  // to area at the resolution in force; a picture that shows through on no colour shows
  // what the canvas holds beneath.
  void PrintArea(TCanvas& canvas, const TRect& rect, const TRect& area, TColor color,
                 const TRPBackground* picture) const;
  // The table's and a cell's colour and picture on a page (rect cut out of area).
  void PrintTableFill(TCanvas& canvas, const TRect& rect, const TRect& area) const;
  void PrintCellFill(TCanvas& canvas, const TRect& rect, const TRect& area, const TRPTableCellData& cell) const;
  void DrawHatch(TCanvas& canvas, const TRect& rect, TColor color) const;
  void PaintCell(TCanvas& canvas, TRPTableCellData& cell, int32_t row, int32_t col, int32_t x, int32_t y,
                 const TRect& clipRect, bool printing, const TRPTableItemFormattingInfo& info);

  std::unique_ptr<TRPTableRows> FRows;
  std::unique_ptr<TRPTableItemFormattingInfo> FFormatting;
  TRPBackgroundHolder FBackground;
  TRPTableStates FStates = 0;
  // The nesting of the property-change hooks, and whether the table was in its document
  // when the outermost began.
  int32_t FPropertyChanges = 0;
  bool FWasInDocument = false;
  int32_t FBusy = 0;
  mutable int32_t FItemNo = -1;
  mutable const TRPResolution* FResolution = nullptr;
  // The printing copy made for the draw item being formatted, until it is laid out.
  TRPTablePrintInfo* FPendingPrintInfo = nullptr;
  // The printing draw item whose part is being printed (TPrintScope).
  const TRPTablePrintInfo* FPrintInfo = nullptr;
  // The colour mode of the painting in progress.
  TRPColorMode FColorMode = rpcmColor;
  TPoint FPosition{0, 0};
  // The cell that holds the keyboard focus (-1, -1: none).
  int32_t FFocusedRow = -1;
  int32_t FFocusedCol = -1;
  // While a cell is painted on a page: the cell and its rectangle relative to the
  // table's top-left corner (for DrawBackground).
  const TRPTableCellData* FPaintedCell = nullptr;
  TRect FPaintedCellBounds{};
  // The top-left corner of the table being painted.
  TPoint FPaintOrigin{0, 0};
  // The item draw state of the screen painting in progress.
  uint32_t FPaintState = 0;

  // The cell selection: anchor and extent (columns, rows) from it.
  int32_t FSelAnchorRow = -1, FSelAnchorCol = -1, FSelColExtent = 0, FSelRowExtent = 0;
  bool FMouseSelecting = false;
  // The mouse: the table's place when a mouse action began, the last cell hit, the
  // border being dragged (index + 1 of the column or row after it, 0: none), where the
  // drag began, the offset of the press from the border's middle and where the guide is.
  TPoint FMousePosition{0, 0};
  int32_t FLastHitRow = -1, FLastHitCol = -1;
  int32_t FResizeIndex = 0;
  int32_t FResizeStart = 0;
  int32_t FResizeOffset = 0;
  int32_t FResizeGuide = 0;
  // The chosen cell and the cell most recently opened for editing or clicked.
  int32_t FChosenRow = -1, FChosenCol = -1;
  int32_t FRecentRow = -1, FRecentCol = -1;
  // The editor in place and its cell; the editing state kept over a structural change.
  std::unique_ptr<IRPTableInplaceEditor> FInplaceEditor;
  int32_t FEditedRow = -1, FEditedCol = -1;
  bool FDestroyingEditor = false;
  struct TSavedEditing {
    bool Active = false;
    int32_t Row = -1, Col = -1;
    int32_t StartItemNo = -1, StartOffs = 0, EndItemNo = -1, EndOffs = 0;
  } FSavedEditing;
  // Mouse helpers (RPTableMouse.cpp).
  void ApplyResize(int32_t position);
  void SetColumnWidth(int32_t col, int32_t width, bool percent, int32_t overhead);
  void SetRowHeight(int32_t row, int32_t height);
  void DrawResizeGuide(TCanvas& canvas, int32_t x, int32_t y);
  // The bounds of the cell (row, col) in the host control's client area.
  TRect CellClientRect(int32_t row, int32_t col) const;
};
