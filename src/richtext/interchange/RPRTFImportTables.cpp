// Tables: the reader's table events collect rows of cells; a table that ends becomes a
// table item with its grid, merged cells, colours, borders, widths and spacing.
//
// Building the grid. When a row ends, its edges (its left edge, then each \cellx) join
// the table's column boundaries: an edge within 1 twip of a boundary that is already
// there takes that one, any other becomes a new boundary (up to Limits.MaxTableColumns
// + 1 boundaries; past it an edge takes the nearest boundary). When the table ends, the
// sorted boundaries are its columns, and each cell claims an area of the grid (row by
// row, cell by cell, tracked in an occupancy grid of area numbers): its own columns; a
// cell merged into its left neighbour widens the neighbour's area to its own right edge;
// a cell merged into the cell above lengthens the area above by its row. A cell whose
// columns are all taken gives its items to the cell that took them; each run of
// positions in a row that no cell claimed gets one empty cell, so the grid stays whole.
// Only the areas become cells: rows whose boundaries shift make a grid of many positions,
// but as many cells as they bring and a few more.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "platform/base/Exception.h"
#include "platform/base/Numbers.h"
#include "richtext/interchange/RPRTFImport.h"
#include "richtext/model/RPTextItems.h"

namespace {

// Thrown when the tables outgrow the parse's budget: the reader ends the parse, and the
// import reports rtf_ec_BadTable.
class ERPRTFImportOverBudget : public Exception {
public:
  ERPRTFImportOverBudget() : Exception("The document's tables exceed what its size allows") {}
};

constexpr TRPCellVAlign CellVAlign(uint8_t rtf) { return rtf == 1 ? rpcBottom : rtf == 2 ? rpcMiddle : rpcTop; }

// The colour of the first of two sides that has a line, clNone when neither has.
TColor SideColor(const TRPRTFParaBorder& border, uint8_t first, uint8_t second) {
  for (uint8_t side : {first, second}) {
    const TRPRTFBorderSide* s = border.GetSide(side);
    if (s && s->BorderType != 0 && s->Color != clNone) return s->Color;
  }
  return clNone;
}

bool SideHasLine(const TRPRTFParaBorder& border, uint8_t side) {
  const TRPRTFBorderSide* s = border.GetSide(side);
  return s && s->BorderType != 0;
}

// One claimed area of the grid.
struct TArea {
  int32_t Row = 0, Col = 0, Rows = 1, Cols = 1;
  // The read cell whose attributes and document the area takes (-1 row: an empty cell).
  int32_t ReadRow = -1, ReadCell = -1;
};

// The grid being claimed: an area number per position, -1 where none claimed yet.
class TGridClaims {
public:
  TGridClaims(int32_t rows, int32_t cols) : FCols(cols), FOwner(static_cast<size_t>(rows) * cols, -1) {}
  int32_t At(int32_t row, int32_t col) const { return FOwner[Index(row, col)]; }
  bool Free(int32_t row, int32_t col) const { return At(row, col) < 0; }
  bool FreeRange(int32_t row, int32_t col0, int32_t col1) const {
    for (int32_t c = col0; c < col1; ++c)
      if (!Free(row, c)) return false;
    return true;
  }
  void Claim(int32_t row, int32_t col0, int32_t col1, int32_t area) {
    for (int32_t c = col0; c < col1; ++c) FOwner[Index(row, c)] = area;
  }

private:
  size_t Index(int32_t row, int32_t col) const { return static_cast<size_t>(row) * FCols + col; }
  int32_t FCols;
  std::vector<int32_t> FOwner;
};

void ForgetMarkersIn(IRPMarkerList& markers, TCustomRPData& document);

void ForgetMarkersInRow(IRPMarkerList& markers, TRPTableRow& row) {
  for (int32_t k = 0; k < row.Count(); ++k)
    if (TRPTableCellData* cell = row.GetItem(k)) ForgetMarkersIn(markers, *cell);
}

// The markers of document and of the tables in it leave the list (as when it is cleared:
// the counters of the markers that stay are not recomputed).
void ForgetMarkersIn(IRPMarkerList& markers, TCustomRPData& document) {
  for (int32_t i = 0; i < document.GetItemCount(); ++i) {
    TCustomRPItemInfo& item = *document.GetItem(i);
    if (item.StyleNo == rpkindListMarker) {
      markers.RemoveMarker(document, item, true);
    } else if (auto* table = dynamic_cast<TRPTableItemInfo*>(&item)) {
      for (int32_t r = 0; r < table->Rows().GetRowCount(); ++r) ForgetMarkersInRow(markers, *table->Rows().GetRow(r));
    }
  }
}

}  // namespace

// --- Events ---------------------------------------------------------------------------------

void TRPRTFImport::Table(TRPRTFTableEventKind whatHappens) {
  switch (whatHappens) {
    case rpf_tbl_TableStart:
      TableStart();
      break;
    case rpf_tbl_TableEnd:
      TableEnd();
      break;
    case rpf_tbl_RowEnd:
      RowEnd();
      break;
    case rpf_tbl_CellEnd:
      CellEnd();
      break;
  }
}

TRPTableCellData* TRPRTFImport::CurrentBufferCell() const {
  const TTableInfo* info = CurrentTable();
  if (!info) return nullptr;
  return info->Buffer->GetCell(0, info->CellIndex);
}

void TRPRTFImport::TableStart() {
  auto info = std::make_unique<TTableInfo>();
  info->Owner = FCurrent;
  info->Root = FCurrent->GetAbsoluteRootData();
  info->Table = std::make_unique<TRPTableItemInfo>(0, 0, FCurrent);
  TRPTableItemInfo& table = *info->Table;
  table.SetColor(clNone);
  table.SetBorderStyle(rptbRaisedColor);
  table.SetCellBorderStyle(rptbLoweredColor);
  table.SetBorderColor(clWindowText);
  table.SetBorderLightColor(clWindowText);
  table.SetCellBorderColor(clWindowText);
  table.SetCellBorderLightColor(clWindowText);
  if (FPageBreakData == FCurrent) {
    table.SetPageBreakBefore(true);
    FPageBreakData = nullptr;
  }
  // The alignment of the row definition that starts the table (the reader forgets it
  // once the table has started).
  if (FReader.TableAlignDefined()) {
    info->Alignment = FReader.TableAlign();
    info->AlignmentGiven = true;
  }
  info->Buffer = std::make_unique<TRPTableItemInfo>(1, 1, FCurrent);
  info->Buffer->GetCell(0, 0)->Clear();
  FCurrent = info->Buffer->GetCell(0, 0);
  FTables.push_back(std::move(info));
}

void TRPRTFImport::AddEmptyTextItem() {
  const int32_t styleNo = ChooseTextStyle(FProps.UnicodeMode == rpruOnlyUnicode, false);
  std::unique_ptr<TCustomRPItemInfo> item = CreateItemByStyleNo(styleNo, FCurrent);
  if (FStyle.TextStyles()[styleNo]->Unicode) item->ItemOptions |= rpioUnicode;
  AddItem(AnsiString(), std::move(item), rtf_ts_NewPara);
}

void TRPRTFImport::CellEnd() {
  TTableInfo* info = CurrentTable();
  if (!info) return;
  TRPTableCellData* cell = CurrentBufferCell();
  if (cell->GetItemCount() == 0 && FCurrent == cell) AddEmptyTextItem();
  ++info->CellIndex;
  TRPTableRow& row = *info->Buffer->Rows().GetRow(0);
  if (info->CellIndex >= row.Count()) row.AddCell()->Clear();
  if (FCurrent == cell) FCurrent = CurrentBufferCell();
}

void TRPRTFImport::RowEnd() {
  TTableInfo* info = CurrentTable();
  if (!info) return;
  const TRPRTFRowProperties* rowProps = FReader.RTFState().GetRowProps();
  static const TRPRTFRowProperties defaultRow;
  const TRPRTFRowProperties& rp = rowProps ? *rowProps : defaultRow;
  TRPTableRows& bufferRows = info->Buffer->Rows();
  const bool wasCurrent = FCurrent == CurrentBufferCell();

  // The row keeps the buffer's cells closed by \cell; what the open cell holds stays in
  // the buffer (it belongs to whatever comes next).
  TRPRTFReadRow read;
  read.Heading = rp.Heading;
  read.Height = rp.Height;
  read.SizesInPixels = rp.SizesInPixels;
  read.Row = bufferRows.TakeRow(0);
  std::unique_ptr<TRPTableCellData> open = read.Row->TakeCell(info->CellIndex);
  while (read.Row->Count() > info->CellIndex) read.Row->ExtractEntry(info->CellIndex);
  TRPTableRow* fresh = bufferRows.AddRow(1);
  if (open)
    fresh->PutCell(0, std::move(open));
  else
    fresh->GetItem(0)->Clear();

  const int32_t defined = rp.Cells.Count();
  const int32_t count = std::max(info->CellIndex, defined);
  int32_t left = rp.Left;
  for (int32_t k = 0; k < count; ++k) {
    TRPRTFReadCell cell;
    if (k < defined) {
      const TRPRTFCellProperties& cp = *rp.Cells.Items(k);
      cell.HMerge = cp.HMerge;
      cell.VMerge = cp.VMerge;
      cell.BestWidth = cp.BestWidth;
      cell.Color = cp.Color;
      cell.VAlign = cp.VAlign;
      cell.Border = cp.Border;
      cell.BestHeight = cp.BestHeight;
      cell.Right = std::max(cp.RightBoundary, left);
    } else {
      // Text of a cell the definition does not name: an inch to the right.
      cell.Right = static_cast<int32_t>(std::min<int64_t>(int64_t{left} + 1440, INT32_MAX));
    }
    cell.Left = left;
    left = cell.Right;
    if (k >= read.Row->Count()) read.Row->AddCell();
    read.Cells.push_back(std::move(cell));
  }
  if (!read.Cells.empty()) {
    read.Edges.push_back(MatchBoundary(*info, read.Cells.front().Left));
    for (const TRPRTFReadCell& cell : read.Cells) read.Edges.push_back(MatchBoundary(*info, cell.Right));
  }
  AccumulateRowSums(*info, rp);
  info->CellsRead += static_cast<int64_t>(read.Cells.size());
  info->Rows.push_back(std::move(read));
  ++info->RowIndex;
  ChargeTableCells(*info);
  info->CellIndex = 0;
  if (wasCurrent) FCurrent = CurrentBufferCell();

  // A table of the most cells there may be ends here; the next rows start another one.
  const int64_t cells = static_cast<int64_t>(info->RowIndex) * std::max<int64_t>(info->Boundaries.size() - 1, 1);
  if (cells >= std::max(FProps.Limits.MaxTableCells, 1)) {
    TableEnd();
    TableStart();
  }
}

void TRPRTFImport::ChargeTableCells(TTableInfo& info) {
  const int64_t grid = int64_t{info.RowIndex} * std::max<int64_t>(static_cast<int64_t>(info.Boundaries.size()) - 1, 1);
  const int64_t cost = std::max(grid, info.CellsRead);
  if (cost <= info.CellsCharged) return;
  if (!FReader.Budget().SpendTableCells(cost - info.CellsCharged)) {
    FOverBudget = true;
    throw ERPRTFImportOverBudget();
  }
  info.CellsCharged = cost;
}

int32_t TRPRTFImport::MatchBoundary(TTableInfo& info, int32_t edge) const {
  std::vector<int32_t>& boundaries = info.Boundaries;
  for (int32_t b : boundaries)
    if (std::abs(static_cast<int64_t>(b) - edge) <= 1) return b;
  if (boundaries.size() < static_cast<size_t>(std::max(FProps.Limits.MaxTableColumns, 1)) + 1) {
    boundaries.push_back(edge);
    return edge;
  }
  int32_t nearest = boundaries.front();
  for (int32_t b : boundaries)
    if (std::abs(static_cast<int64_t>(b) - edge) < std::abs(static_cast<int64_t>(nearest) - edge)) nearest = b;
  return nearest;
}

void TRPRTFImport::AccumulateRowSums(TTableInfo& info, const TRPRTFRowProperties& rp) {
  for (uint8_t side = 0; side < 4; ++side)
    if (rp.PaddingInTwips[side]) {
      info.PaddingSum += TwipsToPixels(rp.Padding[side]);
      ++info.PaddingCount;
    }
  // Vertical spacing between rows: the bottom spacing of the row above and the top
  // spacing of the row below.
  const int32_t top = rp.SpacingInTwips[rtf_side_Top] ? TwipsToPixels(rp.Spacing[rtf_side_Top]) : 0;
  const int32_t bottom = rp.SpacingInTwips[rtf_side_Bottom] ? TwipsToPixels(rp.Spacing[rtf_side_Bottom]) : 0;
  if (rp.SpacingInTwips[rtf_side_Top] || rp.SpacingInTwips[rtf_side_Bottom]) {
    info.HasVSpacing = true;
    info.LastVSpacing = top + bottom;
  }
  if (info.RowIndex > 0) info.VSpacingSum += info.PrevBottomSpacing + top;
  info.PrevBottomSpacing = bottom;
  if (rp.SpacingInTwips[rtf_side_Left] || rp.SpacingInTwips[rtf_side_Right]) {
    info.HasHSpacing = true;
    info.HSpacingSum += TwipsToPixels(rp.SpacingInTwips[rtf_side_Left] ? rp.Spacing[rtf_side_Left] : 0) +
                        TwipsToPixels(rp.SpacingInTwips[rtf_side_Right] ? rp.Spacing[rtf_side_Right] : 0);
  }
  for (uint8_t side = 0; side < 4; ++side)
    if (SideHasLine(rp.Border, side)) {
      info.RowBorderWidthSum += rp.Border.GetSide(side)->Width;
      ++info.RowBorderWidthCount;
    }
  const TColor light = SideColor(rp.Border, rtf_side_Left, rtf_side_Top);
  const TColor dark = SideColor(rp.Border, rtf_side_Right, rtf_side_Bottom);
  if (light != clNone) info.RowLightColor = light;
  if (dark != clNone) info.RowDarkColor = dark;
  for (int32_t k = 0; k < rp.Cells.Count(); ++k) {
    const TRPRTFCellProperties& cp = *rp.Cells.Items(k);
    for (uint8_t side = 0; side < 4; ++side)
      if (SideHasLine(cp.Border, side)) {
        info.CellBorderWidthSum += cp.Border.GetSide(side)->Width;
        ++info.CellBorderWidthCount;
      }
    if (cp.BestWidth != 0) info.WidthsGiven = true;
  }
  if (rp.SizesInPixels) info.SizesInPixels = true;
  if (rp.BestWidth != 0) {
    info.RowWidth = rp.BestWidth;
    info.RowWidthInPixels = rp.SizesInPixels;
  }
  if (FReader.TableAlignDefined()) {
    info.Alignment = FReader.TableAlign();
    info.AlignmentGiven = true;
  }
}

void TRPRTFImport::TableEnd() {
  if (FTables.empty()) return;
  std::unique_ptr<TTableInfo> info = std::move(FTables.back());
  FTables.pop_back();
  const bool wasCurrent = FCurrent == info->Buffer->GetCell(0, info->CellIndex);
  TCustomRPData* restore = wasCurrent ? info->Owner : FCurrent;
  FCurrent = info->Owner;
  if (std::unique_ptr<TRPTableItemInfo> table = BuildTable(*info)) {
    const int32_t paraNo = ChooseTableParaStyle(info->Alignment, info->AlignmentGiven);
    AddItem(AnsiString(), std::move(table), rtf_ts_NewPara, paraNo);
  }
  MoveTrailingItems(*info);
  ForgetTableMarkers(*info);
  FCurrent = restore;
}

void TRPRTFImport::ForgetTableMarkers(TTableInfo& info) {
  IRPMarkerList* markers = info.Root ? info.Root->GetMarkers(false) : nullptr;
  if (!markers) return;
  TRPTableRows& buffer = info.Buffer->Rows();
  for (int32_t r = 0; r < buffer.GetRowCount(); ++r) ForgetMarkersInRow(*markers, *buffer.GetRow(r));
  for (TRPRTFReadRow& read : info.Rows)
    if (read.Row) ForgetMarkersInRow(*markers, *read.Row);
}

void TRPRTFImport::MoveTrailingItems(TTableInfo& info) {
  TRPTableRow& row = *info.Buffer->Rows().GetRow(0);
  for (int32_t k = 0; k < row.Count(); ++k) {
    TRPTableCellData* cell = row.GetItem(k);
    if (!cell) continue;
    // Detached from the end, each in constant time, then put in their order.
    std::vector<std::pair<AnsiString, std::unique_ptr<TCustomRPItemInfo>>> items;
    for (int32_t i = cell->GetItemCount() - 1; i >= 0; --i) {
      AnsiString text;
      std::unique_ptr<TCustomRPItemInfo> item = cell->DetachItem(i, text);
      if (!item) break;
      items.emplace_back(std::move(text), std::move(item));
    }
    bool first = true;
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
      auto& [text, item] = *it;
      // The first item of each cell starts a paragraph of its own.
      if (first) {
        item->SetContinuesLine(false);
        item->SetLineBreakBefore(false);
        first = false;
      } else if (MustStartParagraph()) {
        item->SetContinuesLine(false);
        item->SetLineBreakBefore(false);
      }
      PutItem(*FCurrent, std::move(text), std::move(item));
    }
  }
}

// --- The table item -------------------------------------------------------------------------

std::unique_ptr<TRPTableItemInfo> TRPRTFImport::BuildTable(TTableInfo& info) {
  std::vector<TRPRTFReadRow>& rows = info.Rows;
  if (rows.empty()) return nullptr;

  // Columns: the boundaries in order.
  std::vector<int32_t> boundaries = info.Boundaries;
  std::sort(boundaries.begin(), boundaries.end());
  // Cells without width (every edge at the row's left edge) share one column of their own.
  if (boundaries.size() == 1)
    boundaries.push_back(static_cast<int32_t>(std::min<int64_t>(int64_t{boundaries.front()} + 1440, INT32_MAX)));
  const int32_t colCount = static_cast<int32_t>(boundaries.size()) - 1;
  const int32_t rowCount = static_cast<int32_t>(rows.size());
  if (colCount < 1) return nullptr;
  auto columnOf = [&](int32_t boundary) {
    return static_cast<int32_t>(std::lower_bound(boundaries.begin(), boundaries.end(), boundary) - boundaries.begin());
  };

  // Areas.
  const int32_t maxSpan = std::max(FProps.Limits.MaxTableSpan, 1);
  TGridClaims claims(rowCount, colCount);
  std::vector<TArea> areas;
  // Documents whose items join another cell's: (from read row, cell) -> area.
  std::vector<std::pair<std::pair<int32_t, int32_t>, int32_t>> joins;
  for (int32_t r = 0; r < rowCount; ++r) {
    int32_t leftArea = -1;
    const std::vector<TRPRTFReadCell>& cells = rows[r].Cells;
    for (int32_t k = 0; k < static_cast<int32_t>(cells.size()); ++k) {
      const TRPRTFReadCell& cell = cells[k];
      const std::vector<int32_t>& edges = rows[static_cast<size_t>(r)].Edges;
      const int32_t c0 = std::min(columnOf(edges[static_cast<size_t>(k)]), colCount - 1);
      int32_t c1 = std::max(columnOf(edges[static_cast<size_t>(k) + 1]), c0 + 1);
      // The first cell of a horizontal merge reaches to the nearer of the next boundary
      // and the next cell's boundary; the cells merged into it widen it.
      if (cell.HMerge == 1 && k + 1 < static_cast<int32_t>(cells.size()))
        c1 = std::max(std::min(c0 + 1, columnOf(edges[static_cast<size_t>(k) + 2])), c0 + 1);
      c1 = std::min(c1, colCount);

      if (cell.HMerge == 2 && leftArea >= 0) {
        TArea& a = areas[static_cast<size_t>(leftArea)];
        int32_t right = a.Col + a.Cols;
        while (right < c1 && right - a.Col < maxSpan) {
          bool free = true;
          for (int32_t rr = a.Row; rr < a.Row + a.Rows; ++rr) free = free && claims.Free(rr, right);
          if (!free) break;
          for (int32_t rr = a.Row; rr < a.Row + a.Rows; ++rr) claims.Claim(rr, right, right + 1, leftArea);
          ++right;
        }
        a.Cols = right - a.Col;
        joins.push_back({{r, k}, leftArea});
        continue;
      }
      if (cell.VMerge == 2 && r > 0) {
        const int32_t above = claims.At(r - 1, c0);
        if (above >= 0) {
          TArea& a = areas[static_cast<size_t>(above)];
          if (a.Row + a.Rows == r && a.Rows < maxSpan && claims.FreeRange(r, a.Col, a.Col + a.Cols)) {
            claims.Claim(r, a.Col, a.Col + a.Cols, above);
            ++a.Rows;
            joins.push_back({{r, k}, above});
            leftArea = above;
            continue;
          }
        }
      }
      int32_t p = c0;
      while (p < c1 && !claims.Free(r, p)) ++p;
      if (p == c1) {
        // Every column of the cell is taken: its items join the cell that took them.
        joins.push_back({{r, k}, claims.At(r, c0)});
        continue;
      }
      int32_t q = p;
      while (q < c1 && claims.Free(r, q) && q - p < maxSpan) ++q;
      TArea area;
      area.Row = r;
      area.Col = p;
      area.Cols = q - p;
      area.ReadRow = r;
      area.ReadCell = k;
      leftArea = static_cast<int32_t>(areas.size());
      claims.Claim(r, p, q, leftArea);
      areas.push_back(area);
    }
  }
  for (int32_t r = 0; r < rowCount; ++r)
    for (int32_t c = 0; c < colCount;) {
      if (!claims.Free(r, c)) {
        ++c;
        continue;
      }
      TArea area;
      area.Row = r;
      area.Col = c;
      while (c + area.Cols < colCount && claims.Free(r, c + area.Cols) && area.Cols < maxSpan) ++area.Cols;
      claims.Claim(r, c, c + area.Cols, static_cast<int32_t>(areas.size()));
      areas.push_back(area);
      c += area.Cols;
    }

  // The grid: the area's read cell (a new one for an empty area) at its top-left position,
  // nothing under its span.
  std::unique_ptr<TRPTableItemInfo> table = std::move(info.Table);
  TRPTableRows& grid = table->Rows();
  grid.ResetPositions(rowCount, colCount);
  for (const TArea& a : areas) {
    TRPTableRow& row = *grid.GetRow(a.Row);
    std::unique_ptr<TRPTableCellData> cell =
        a.ReadRow >= 0 ? rows[static_cast<size_t>(a.ReadRow)].Row->TakeCell(a.ReadCell) : nullptr;
    if (!cell) cell = std::make_unique<TRPTableCellData>(&row);
    cell->SetSpans(a.Rows, a.Cols);
    row.PutCell(a.Col, std::move(cell));
  }
  for (const auto& [from, areaIndex] : joins) {
    if (areaIndex < 0) continue;
    const TArea& a = areas[static_cast<size_t>(areaIndex)];
    std::unique_ptr<TRPTableCellData> source = rows[static_cast<size_t>(from.first)].Row->TakeCell(from.second);
    TRPTableCellData& target = *grid.GetCell(a.Row, a.Col);
    const bool empty =
        !source || source->GetItemCount() == 0 ||
        (source->GetItemCount() == 1 && source->GetItemStyle(0) >= 0 && source->GetItemTextRaw(0).empty());
    if (!empty) target.AppendItemsFrom(source.get());
  }

  // Cell attributes.
  int32_t headingRows = 0;
  for (const TArea& a : areas) {
    TRPTableCellData& cell = *grid.GetCell(a.Row, a.Col);
    if (cell.GetItemCount() == 0) cell.AddRawText(AnsiString(), 0, 0);
    if (a.ReadRow < 0) continue;
    const TRPRTFReadRow& readRow = rows[static_cast<size_t>(a.ReadRow)];
    const TRPRTFReadCell& rc = readRow.Cells[static_cast<size_t>(a.ReadCell)];
    cell.SetCellColor(rc.Color);
    cell.BestHeight = rc.BestHeight > 0 ? rc.BestHeight : TwipsToPixels(readRow.Height);
    cell.VisibleBorders.SetValues(SideHasLine(rc.Border, rtf_side_Left), SideHasLine(rc.Border, rtf_side_Top),
                                  SideHasLine(rc.Border, rtf_side_Right), SideHasLine(rc.Border, rtf_side_Bottom));
    cell.BorderColor = SideColor(rc.Border, rtf_side_Left, rtf_side_Top);
    cell.BorderLightColor = SideColor(rc.Border, rtf_side_Right, rtf_side_Bottom);
    if (cell.BorderColor != clNone && cell.BorderLightColor != clNone && cell.BorderColor != cell.BorderLightColor)
      info.OneBorderColor = false;
    if (readRow.SizesInPixels)
      cell.BestWidth = rc.BestWidth;
    else if (rc.BestWidth < 0)
      cell.BestWidth = rc.BestWidth / 50;
    else if (rc.BestWidth > 0)
      cell.BestWidth = TwipsToPixels(rc.BestWidth);
    else if (!info.WidthsGiven)
      cell.BestWidth = TwipsToPixels(int64_t{boundaries[static_cast<size_t>(a.Col + a.Cols)]} -
                                     boundaries[static_cast<size_t>(a.Col)]);
    cell.VAlign = CellVAlign(rc.VAlign);
  }
  for (int32_t r = 0; r < rowCount; ++r)
    if (rows[static_cast<size_t>(r)].Heading) headingRows = r + 1;
  table->SetHeadingRowCount(headingRows);
  ApplyTableProperties(info, *table);
  return table;
}

void TRPRTFImport::ApplyTableProperties(TTableInfo& info, TRPTableItemInfo& table) {
  TRPTableRows& grid = table.Rows();
  const int32_t rowCount = grid.GetRowCount();
  if (info.PaddingCount > 0) {
    const int32_t padding = static_cast<int32_t>(Round(static_cast<double>(info.PaddingSum) / info.PaddingCount));
    table.SetCellPadding(padding);
    if (!info.SizesInPixels)
      for (int32_t r = 0; r < rowCount; ++r)
        for (int32_t c = 0; c < grid.GetColCount(); ++c)
          if (TRPTableCellData* cell = grid.GetCell(r, c); cell && cell->BestWidth > 2 * padding)
            cell->BestWidth -= 2 * padding;
  }
  if (info.HasVSpacing) {
    table.SetCellVSpacing(static_cast<int32_t>(info.VSpacingSum / std::max(rowCount - 1, 1)));
    table.SetBorderVSpacing(info.LastVSpacing);
  } else {
    table.SetCellVSpacing(-1);
    table.SetBorderVSpacing(-1);
  }
  const int32_t hSpacing = info.HasHSpacing ? static_cast<int32_t>(info.HSpacingSum / std::max(rowCount, 1)) : -1;
  table.SetCellHSpacing(hSpacing);
  table.SetBorderHSpacing(hSpacing);

  // Border widths: the averages, at least 1 pixel for an average above 4 twips.
  auto averageWidth = [this](int64_t sum, int32_t count) {
    if (count == 0) return 0;
    const double twips = static_cast<double>(sum) / count;
    const int32_t pixels = static_cast<int32_t>(Round(twips * FPixelsPerTwip));
    return twips > 4 ? std::max(pixels, 1) : pixels;
  };
  const int32_t cellBorderWidth = averageWidth(info.CellBorderWidthSum, info.CellBorderWidthCount);
  int32_t borderWidth = averageWidth(info.RowBorderWidthSum, info.RowBorderWidthCount);
  if (!info.HasHSpacing && !info.HasVSpacing && borderWidth == cellBorderWidth) borderWidth = 0;
  table.SetCellBorderWidth(cellBorderWidth);
  table.SetBorderWidth(borderWidth);

  if (info.RowWidth != 0) {
    if (info.RowWidthInPixels)
      table.SetBestWidth(info.RowWidth);
    else if (info.RowWidth < 0)
      table.SetBestWidth(info.RowWidth / 50);
    else
      table.SetBestWidth(std::max(TwipsToPixels(info.RowWidth) - 2 * borderWidth, 1));
  } else if (FProps.TableWidthFromBoundaries && info.Boundaries.size() >= 2) {
    const auto [first, last] = std::minmax_element(info.Boundaries.begin(), info.Boundaries.end());
    table.SetBestWidth(TwipsToPixels(int64_t{*last} - *first));
  }

  if (info.RowLightColor != clNone) table.SetBorderLightColor(info.RowLightColor);
  if (info.RowDarkColor != clNone) table.SetBorderColor(info.RowDarkColor);
  if (info.OneBorderColor) table.SetCellBorderStyle(rptbColor);
  if (table.GetBorderColor() == table.GetBorderLightColor()) table.SetBorderStyle(rptbColor);
  if (FProps.AutoHideTableGridLines) table.Options |= rptoHideGridLines;
}
