// A table cell: a document of its own, formatted for its cell width, with the cell's
// fill and border colours, visible border sides, vertical alignment, preferred size,
// spans, background picture, hint, and its rectangle inside the table.
//
// A cell belongs to one row of its table's grid (RPTableRows.h); it reaches its table and
// the document holding the table through that row, and answers the document questions
// (style sheet, canvas, widths, colour) from them.
#pragma once

#include <cstdint>
#include <memory>

#include "richtext/layout/RPFormattedData.h"
#include "richtext/layout/view/RPItemFormattedData.h"
#include "richtext/table/RPTableBackground.h"
#include "richtext/table/RPTableBorders.h"
#include "richtext/table/RPTableTypes.h"

class TRPTableRow;
class TRPTableItemInfo;
class TRPTableCellHolder;

class TRPTableCellData : public TRPItemFormattedData {
public:
  // A cell of row (may be nullptr while it is being moved): spans 1, no colours, default
  // vertical alignment, all borders visible, one empty text item (style 0, paragraph 0).
  explicit TRPTableCellData(TRPTableRow* row);
  ~TRPTableCellData() override;

  // --- Published state ---------------------------------------------------------------
  TColor GetCellColor() const { return FColor; }
  void SetCellColor(TColor value);
  TRPCellVAlign VAlign = rpcVDefault;
  TRPHTMLLength BestWidth = 0;
  int32_t BestHeight = 0;
  TColor BorderColor = clNone;       // clNone: the table's CellBorderColor
  TColor BorderLightColor = clNone;  // clNone: the table's CellBorderLightColor
  TRPTableBooleanRect VisibleBorders;
  AnsiString BackgroundImageFileName;
  AnsiString Hint;

  // Spans, changed only by the grid.
  int32_t GetRowSpan() const { return FRowSpan; }
  int32_t GetColSpan() const { return FColSpan; }
  void SetSpans(int32_t rowSpan, int32_t colSpan) {
    FRowSpan = rowSpan;
    FColSpan = colSpan;
  }
  void SetRowSpan(int32_t value) { FRowSpan = value; }
  void SetColSpan(int32_t value) { FColSpan = value; }

  // The cell rectangle inside the table, padding included, set by the last layout (in
  // the output's pixels after a printing layout).
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;

  // The background picture and style; the background exists only while not empty.
  TGraphic* GetBackgroundImage() const { return FBackground.GetImage(); }
  void SetBackgroundImage(const TGraphic* graphic) { FBackground.SetImage(graphic); }
  // The picture handed out (nullptr without one) / taken over, as undo steps do.
  std::unique_ptr<TGraphic> TakeBackgroundImage() { return FBackground.TakeImage(); }
  void PutBackgroundImage(std::unique_ptr<TGraphic> graphic) { FBackground.PutImage(std::move(graphic)); }
  TRPItemBackgroundStyle GetBackgroundStyle() const { return FBackground.GetStyle(); }
  void SetBackgroundStyle(TRPItemBackgroundStyle style) { FBackground.SetStyle(style); }
  TRPBackground* GetCellBackground() const { return FBackground.Get(); }

  // --- Links ---------------------------------------------------------------------------
  TRPTableRow* GetRow() const;
  void SetRow(TRPTableRow* row);
  // Row -> grid -> table; nullptr when a link is missing or the cell is held.
  TRPTableItemInfo* GetTable() const;
  // The undo record that holds the cell while it is out of its grid; nullptr otherwise.
  TRPTableCellHolder* GetUndoHolder() const { return FUndoHolder; }
  // Hands the cell to holder: every item is told that it moves to an undo list, the
  // cell forgets its row. AttachItems takes it back (its row is set by the grid).
  void DetachItems(TRPTableCellHolder& holder);
  void AttachItems();
  // The selected flag of the cell selection: the cell's document counts as wholly
  // selected (its items show the selection colour behind them).
  bool Selected = false;

  // --- Queries -------------------------------------------------------------------------
  bool IsColorNone() const { return FColor == clNone; }
  // Own alignment unless rpcVDefault; else the row's, and rpcMiddle when that is default.
  TRPCellVAlign GetEffectiveVAlign() const;
  // Where the content starts below the cell's top padding: half the free height
  // (truncated toward zero) for middle, all of it for bottom, 0 for top.
  int32_t GetVAlignOffset() const;
  // Of the content (GetContent): with defaultOnly, only a single empty text item of style
  // 0, paragraph 0 is empty; without, a single text item is content when its text is not
  // empty.
  bool HasContent(bool defaultOnly) const;
  // BestHeight when asked and non-zero; else the larger of BestHeight and the formatted
  // document height.
  int32_t GetContentHeight(bool useBestHeight) const;
  // The minimal content width: 0 without items; the indents of a single empty text
  // item's paragraph (scaled by the record when given); else the document's minimal
  // width, 10 when that is 0.
  int32_t GetMinWidth(const TRPResolution* scale, TCanvas& canvas);
  // Copies colours, borders, alignment, background, file name and hint; with
  // includeSize also BestWidth div colDivisor and BestHeight div rowDivisor.
  void AssignAttributes(const TRPTableCellData& source, bool includeSize, int32_t colDivisor, int32_t rowDivisor);
  void CopyGeometry(const TRPTableCellData& source);
  // True without a style sheet, or when no text item's style protects it from deletion
  // and no other item is unremovable.
  bool HasNoDeleteProtection() const;

  // --- Published properties --------------------------------------------------------------
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }
  // The cell's content as the binary property "Data" (the native format, written when
  // the cell has content and rpstNoDataProperty is clear) and its picture as
  // "BackgroundImg" (RPTableStreaming.cpp).
  void DefineProperties(TFiler& filer) override;

  // --- Document answers ------------------------------------------------------------------
  // The document's options without rpoClientTextWidth, which only a cell of a table that
  // shrinks to its width has.
  TRPOptions GetOptions() const override;
  // The table document's origin, plus the table's place in it, the cell's and its
  // padding and vertical-alignment offset.
  TPoint GetOrigin() const override;
  int32_t GetWidth() const override;
  int32_t GetHeight() const override;
  TColor GetColor() const override;
  TRPBackground* GetBackground() const override { return FBackground.Get(); }
  // None while the table is not in a document; else the nesting's list.
  IRPMarkerList* GetMarkers(bool create) override;
  // Item notifications go to the document holding the table, or to the holder's
  // document while the cell is held.
  void ItemAction(TRPItemAction action, TCustomRPItemInfo* item, AnsiString& text) override;
  // The cell's content in the client area of the table's document: minus the table's
  // position there (UpdatePosition), the cell's place in the table and its padding (and
  // vertical-alignment offset).
  int32_t GetHOffs() const override;
  int32_t GetVOffs() const override;
  // The table's index in its document and the cell's row and column; -1 and none for a
  // cell outside a table.
  int32_t GetParentInfo(std::unique_ptr<TRPStoreSubRPData>& location) const override;
  // What lies under an item of the cell, from the top: the item's paragraph colour, the
  // selection colour of a wholly selected cell or table, the cell's colour or picture,
  // the table's colour or picture, and what lies under the table in its document. rect
  // is in the cell's box (its top-left corner at 0, 0); with useItemRect it becomes the
  // item's box.
  void GetItemBackground(int32_t itemNo, const TRect& rect, bool useItemRect, TColor& color,
                         std::unique_ptr<TBitmap>& bitmap, bool& useBitmap) override;
  // The focus in the cell: recorded as every document's is, and the table learns which
  // cell holds it.
  void SetFocusedItem(int32_t itemNo, TCustomRPFormattedData* focusedData, int32_t focusedItemNo) override;

  // --- The cell as the active child of its table's document (RPTableInplace.cpp) ---------
  // The document of the table's editor in place while it edits this cell; nullptr
  // otherwise.
  TCustomRPFormattedData* GetEditorData() const;
  // The editor's document while it edits this cell, else the cell: the document that
  // holds the cell's items now, which whatever reads or writes the content goes through
  // (an edited cell's own item list is empty).
  TCustomRPData* GetRPData() override;
  const TCustomRPData& GetContent() const;
  // editor (a document inside this one, held by ownerItem: a nested table's cell)
  // becomes this cell's active child; this cell becomes its table's chosen cell. A
  // different child attached before is detached.
  void AttachChildEditor(TCustomRPFormattedData* editor, TCustomRPItemInfo* ownerItem) override;
  // The attached child leaves: its selection goes, it is forgotten and its owner item
  // hears of it. Guarded against re-entry.
  void DetachChildEditor(TCustomRPFormattedData* editor) override;
  TCustomRPFormattedData* ChildEditor() const { return FChildEditor; }
  TCustomRPItemInfo* ChildOwnerItem() const { return FChildOwnerItem; }
  // Drops the selection; then the table's document detaches this cell as its active
  // child (unless the cell is held or this is re-entered).
  void Deselect(TCustomRPItemInfo* exceptItem, bool notify) override;
  using TRPItemFormattedData::Deselect;
  // Passed to the table's document for the table's draw item; the table refreshes its
  // position.
  void BeforeInvalidateDrawItem(int32_t drawNo) override;

private:
  // The document holding the table as a formatted document, or nullptr.
  TCustomRPFormattedData* GetTableFormattedData() const;
  int32_t GetPadding() const;

  TColor FColor = clNone;
  TRPTableCellHolder* FUndoHolder = nullptr;
  TCustomRPFormattedData* FChildEditor = nullptr;
  TCustomRPItemInfo* FChildOwnerItem = nullptr;
  bool FDetachingChild = false;
  bool FDeselectingCell = false;
  int32_t FRowSpan = 1;
  int32_t FColSpan = 1;
  TRPBackgroundHolder FBackground;
};
