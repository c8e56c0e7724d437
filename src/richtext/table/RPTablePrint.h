// The printing draw item of a table: a layout of the table at the output's resolution
// and the parts it is cut into, each a run of whole rows that goes on one page.
//
// Rows tied by cells spanning them (a row group) stay on one page; a part that begins
// with a group taller than the page keeps it and overflows, and so does a part that
// begins with a row taller than the page, unless the table's print options have
// rptoSplitRowGroups: then the group is cut between its rows, and such a row is cut
// inside, between the lines of its cells (the next part goes on with the same row). Each
// cell a cut crosses is shown in pieces, one per part, each from the top of the piece:
// the lines of its content that end within the piece, the next piece going on with the
// first line that does not (the part keeps where, TCellCut); the rows below a cut, or the
// row a cut goes inside, take the height the rest of the content then needs. A line
// taller than a whole page is the one thing cut across pages: each piece shows the next
// page-high slice of it. With repeated headings every part starts at a body row and is
// painted below the heading rows, whose space counts in the part's height.
#pragma once

#include <cstdint>
#include <vector>

#include "richtext/layout/RPMultiDrawItemInfo.h"
#include "richtext/layout/print/RPRectPrintableData.h"
#include "richtext/model/RPScaling.h"
#include "richtext/table/RPTableItem.h"

class TRPTablePrintPart : public TRPMultiDrawItemPart {
public:
  TRPTablePrintPart(int32_t height, int32_t startRow, int32_t rowCount) : StartRow(startRow), RowCount(rowCount) {
    Height = height;
  }
  int32_t StartRow;
  int32_t RowCount;
  // A cell that the part's bottom cuts: the last draw item of its content that this part
  // shows, the first that the next part shows, and the content Y the next part puts at
  // the top of the cell's piece (the top of that item's line, or, for a line taller than
  // a page that goes on, where this part's slice of it ends: then LastDrawItem is the
  // line's end and NextDrawItem its start). When all of the content stands in this part
  // or before, NextDrawItem is the content's draw item count and NextTop its height.
  struct TCellCut {
    int32_t Row = 0, Col = 0;  // the cell's place in the grid
    int32_t LastDrawItem = -1;
    int32_t NextDrawItem = 0;
    int32_t NextTop = 0;
  };
  std::vector<TCellCut> CutCells;
  // When the part's bottom cuts inside its last row (the next part goes on with that
  // row): the height of the row's piece that this part shows; -1 when it shows the row
  // as the layout (and the cuts before) made it.
  int32_t LastRowPiece = -1;
  // The cut of the cell at (row, col); nullptr when the part's bottom does not cut it.
  const TCellCut* FindCut(int32_t row, int32_t col) const;
  int32_t GetImageTop() const override { return StartRow; }
};

// The printable copy of one cell's document, painted into the cell's rectangle on a
// page. It takes the style sheet of the cell's own document, the colour behind the cell
// (the cell's, else the table's, else what lies under the table) and, for a cell without
// a colour of its own on a table without one, what the page holds under its pictures.
class TCellPtblRPData : public TRectPtblRPData {
public:
  TCellPtblRPData(TCustomPrintableRPData& parent, TRPTableItemInfo& table, TRPTableCellData& cell);

  TRPTableCellData& Cell() const { return FCell; }
  const IRPStyleSheet* GetRPStyle() const override { return FCell.GetRPStyle(); }
  TRPStyle* GetStyleSheet() const override { return FCell.GetStyleSheet(); }
  // The cell's own options, so that the page shows the lines the rows were measured
  // with: a table that shrinks to its width wraps (or breaks) its cells' words inside
  // them.
  TRPOptions GetOptions() const override { return FCell.GetOptions(); }

  // What the next painting shows: all of the content from its top (ShowAll), or the piece
  // of a cell cut across pages: draw items first .. last, the content Y top at the
  // rectangle's top (an empty piece for last < first).
  void ShowAll() { FWhole = true; }
  void ShowPiece(int32_t first, int32_t last, int32_t top);
  void GetPageDrawItems(int32_t pageNo, int32_t& firstDrawNo, int32_t& firstPart, int32_t& lastDrawNo) const override;
  int32_t GetPageTop(int32_t pageNo) const override;

private:
  TRPTableCellData& FCell;
  bool FWhole = true;
  int32_t FFirstShown = 0, FLastShown = -1, FShownTop = 0;
};

class TRPTablePrintInfo : public TRPMultiDrawItemInfo {
public:
  // Without a printable document (printable nullptr) the cells paint their own documents.
  TRPTablePrintInfo(TRPTableItemInfo& table, const TRPResolution& resolution,
                    TCustomPrintableRPData* printable = nullptr);

  TRPTableItemInfo& Table;
  const TRPResolution Resolution;
  // Fixed at creation: headings exist and no cell spans out of them.
  const bool RepeatHeading;
  TRPTableItemFormattingInfo FormattingInfo{true};
  // One entry per grid position, row-major: the printable copy of the cell there;
  // nullptr where a merged cell covers the position, for an empty cell of one row and
  // one column, and for every position without a printable document.
  std::vector<std::unique_ptr<TCellPtblRPData>> CellPrintDataList;
  // Set for the painting of a part.
  bool Preview = false, Correction = false;

  TCellPtblRPData* CellPrintData(int32_t row, int32_t col) const;
  // The content of the cell at (row, col) as this layout formatted it: its printable
  // copy, else the cell's own document.
  const TCustomRPFormattedData& CellContent(int32_t row, int32_t col) const;

  // The piece of a cell that a part shows when the part's top or bottom cuts the cell
  // (rptoSplitRowGroups): the cell's rows in the part, and the draw items of its content
  // that the piece shows, which lie from content Y ContentTop (put at the piece's top) to
  // ContentBottom.
  struct TCellPiece {
    int32_t FirstRow = 0, LastRow = 0;
    // From the top of row FirstRow to the bottom of row LastRow as the part shows them.
    int32_t RowsHeight = 0;
    int32_t FirstDrawItem = 0, LastDrawItem = -1;
    int32_t ContentTop = 0, ContentBottom = 0;
  };
  // The piece of the cell at (row, col) that part partIndex shows; false when the part
  // holds the cell whole or holds no row of it, and for a negative index (every row).
  bool GetCellPiece(int32_t partIndex, int32_t row, int32_t col, TCellPiece& piece) const;
  // The part being printed, for its cells' pieces (Print sets it; -1: every row).
  int32_t PrintedPart = -1;
  // The height of row row as part partIndex shows it: the row's piece when the part's
  // bottom cuts inside the row, else the row's height (for a negative index too).
  int32_t RowHeightInPart(int32_t partIndex, int32_t row) const;

  TRPTablePrintPart& Part(int32_t index) const { return static_cast<TRPTablePrintPart&>(*PartsList.Part(index)); }
  int32_t PartCount() const { return PartsList.Count(); }
  // The size comes only from the printing layout (LayOut).
  void SetSize(int32_t, int32_t) override {}

  // Lays the table out at the output's resolution for width device pixels, each printable
  // copy for its cell's width, the rows as tall as the copies need; the draw item takes the
  // table's size.
  void LayOut(int32_t width, TCanvas& canvas);

  // The split protocol of page breaking (rooms in device pixels).
  // Whether the table may be split; then its first part covers every body row (and the
  // rows are as the layout made them, before any cut made them taller).
  bool StartParts() override;
  // Whether the first body row group fits in room, less the space below the last row.
  bool CanStartOnPage(int32_t room) override;
  // Cuts the last part where room ends; false when it fits or cannot be cut. Raises
  // ERichPaneError "Internal printing error" when no cut lies inside the part. With
  // rptoSplitRowGroups a part that begins with a row taller than room is cut inside that
  // row; as every part but a table's first begins a page, and the first begins with a row
  // that fits its room unless it begins the page, room is then a whole page's.
  bool SplitLastPart(int32_t room) override;

  // Paints part partIndex (every row without headings for a negative index) with the
  // table's top-left corner at (x, y).
  void Print(TCanvas& canvas, int32_t x, int32_t y, int32_t partIndex, const TRect& clipRect, TRPColorMode colorMode,
             bool preview = false, bool correction = false);

private:
  // The first body row: after the repeated headings, else 0.
  int32_t BodyStart() const;
  bool AllRowsAreHeadings() const;
  int32_t RowBottom(int32_t row) const { return FormattingInfo.RowStarts[row] + FormattingInfo.RowHeights[row]; }
  // Calls visit(row, col, cell) for each cell covering row `row`, once, from the left.
  template <typename TVisit>
  void ForEachCellCovering(int32_t row, TVisit visit) const;
  // Where the content of the cell at (row, col) goes on in part partIndex: NextDrawItem
  // and NextTop of the cut the part before made in it, else its start.
  TRPTablePrintPart::TCellCut ContentStart(int32_t partIndex, int32_t row, int32_t col) const;
  // Records, in the last part, the cut of each cell that crosses the border above row cut
  // (the part ends before it), and makes the cell's last row taller when the rest of its
  // content does not fit the rows below the cut.
  void CutCellsAbove(int32_t cut);
  // The last part begins with a row whose content (contentRoom = room less the part's
  // overhead) does not fit: each cell covering the row shows the lines that fit, and the
  // next part goes on with the row (or, when only cells spanning below it go on, with the
  // row below). False, with the row shrunk to the content it holds, when nothing goes on
  // (the row was taller than its lines).
  bool CutInsideFirstRow(int32_t room, int32_t overhead);
  // The rest of a cut cell's content, after cut.NextTop, fits the rows from row from to
  // its last row lastRow: that row grows when it does not.
  void MakeRoomForRest(const TRPTablePrintPart::TCellCut& cut, int32_t lastRow, int32_t from);
  // Row row grows by extra device pixels; the rows below and the table's bottom move down.
  void GrowRow(int32_t row, int32_t extra);
  // The rows as the layout made them.
  TRPIntegerList FLaidOutRowHeights, FLaidOutRowStarts;
  int32_t FLaidOutHeight = 0;
};
