#include "richtext/table/RPTablePrint.h"

#include <algorithm>
#include <cassert>

#include "richtext/model/RPException.h"

namespace {
constexpr char errRPInternalPrinting[] = "Internal printing error";

// The line of content that begins at draw item first: its top, its bottom and the draw
// item after it.
struct TContentLine {
  int32_t Top, Bottom, End;
};

TContentLine LineAt(const TRPDrawLines& items, int32_t first) {
  TContentLine line{items[first]->Top, items[first]->Top + items[first]->Height, first + 1};
  for (; line.End < items.Count() && !items[line.End]->StartsLine(); ++line.End) {
    line.Top = std::min(line.Top, items[line.End]->Top);
    line.Bottom = std::max(line.Bottom, items[line.End]->Top + items[line.End]->Height);
  }
  return line;
}

// Where a piece of content that begins with draw item first, content Y top at its top,
// ends when it may take room pixels: the lines that end within it are shown, the next
// piece goes on with the first line that does not. With sliceTallLine (room is a whole
// page's) a first line taller than room fits no page: the piece shows its top room pixels
// and the next piece goes on with the rest of it, so that every piece moves on.
TRPTablePrintPart::TCellCut CutContent(const TCustomRPFormattedData& content, int32_t first, int32_t top, int32_t room,
                                       bool sliceTallLine) {
  const TRPDrawLines& items = content.DrawItems;
  for (int32_t i = first; i < items.Count();) {
    const TContentLine line = LineAt(items, i);
    if (line.Bottom > top + room) {
      if (i == first && sliceTallLine) return {0, 0, line.End - 1, i, top + room};
      // Never back above the piece's top (a slice of the line already shown).
      return {0, 0, i - 1, i, std::max(line.Top, top)};
    }
    i = line.End;
  }
  return {0, 0, items.Count() - 1, items.Count(), content.DocumentHeight};
}
}  // namespace

const TRPTablePrintPart::TCellCut* TRPTablePrintPart::FindCut(int32_t row, int32_t col) const {
  for (const TCellCut& cut : CutCells)
    if (cut.Row == row && cut.Col == col) return &cut;
  return nullptr;
}

TCellPtblRPData::TCellPtblRPData(TCustomPrintableRPData& parent, TRPTableItemInfo& table, TRPTableCellData& cell)
    : TRectPtblRPData(parent.Control(), parent, cell), FCell(cell) {
  Color = table.GetEffectiveCellColor(cell);
  // A cell without a colour shows the table's fill (mode 1) under its pictures.
  Transparent = cell.IsColorNone();
  ParentItemBackground = 1;
}

void TCellPtblRPData::ShowPiece(int32_t first, int32_t last, int32_t top) {
  FWhole = false;
  FFirstShown = first;
  FLastShown = last;
  FShownTop = top;
}

void TCellPtblRPData::GetPageDrawItems(int32_t pageNo, int32_t& firstDrawNo, int32_t& firstPart,
                                       int32_t& lastDrawNo) const {
  TRectPtblRPData::GetPageDrawItems(pageNo, firstDrawNo, firstPart, lastDrawNo);
  if (FWhole) return;
  firstDrawNo = FFirstShown;
  lastDrawNo = FLastShown;
}

int32_t TCellPtblRPData::GetPageTop(int32_t pageNo) const {
  return TRectPtblRPData::GetPageTop(pageNo) + (FWhole ? 0 : FShownTop);
}

TRPTablePrintInfo::TRPTablePrintInfo(TRPTableItemInfo& table, const TRPResolution& resolution,
                                     TCustomPrintableRPData* printable)
    : Table(table),
      Resolution(resolution),
      RepeatHeading(table.GetHeadingRowCountLimited() > 0 && table.IsHeadingBlockClosed()) {
  if (!printable) return;
  const TRPTableRows& rows = table.Rows();
  for (int32_t r = 0; r < rows.GetRowCount(); ++r)
    for (int32_t c = 0; c < rows.GetColCount(); ++c) {
      TRPTableCellData* cell = rows.GetCell(r, c);
      const bool empty = cell && cell->GetRowSpan() == 1 && cell->GetColSpan() == 1 && !cell->HasContent(true);
      CellPrintDataList.push_back(cell && !empty ? std::make_unique<TCellPtblRPData>(*printable, table, *cell)
                                                 : nullptr);
    }
}

TCellPtblRPData* TRPTablePrintInfo::CellPrintData(int32_t row, int32_t col) const {
  const size_t index =
      static_cast<size_t>(row) * static_cast<size_t>(Table.Rows().GetColCount()) + static_cast<size_t>(col);
  return index < CellPrintDataList.size() ? CellPrintDataList[index].get() : nullptr;
}

const TCustomRPFormattedData& TRPTablePrintInfo::CellContent(int32_t row, int32_t col) const {
  if (const TCellPtblRPData* copy = CellPrintData(row, col)) return *copy;
  return *Table.GetCell(row, col);
}

int32_t TRPTablePrintInfo::RowHeightInPart(int32_t partIndex, int32_t row) const {
  if (partIndex >= 0) {
    const TRPTablePrintPart& part = Part(partIndex);
    if (part.LastRowPiece >= 0 && row == part.StartRow + part.RowCount - 1) return part.LastRowPiece;
  }
  return FormattingInfo.RowHeights[row];
}

bool TRPTablePrintInfo::GetCellPiece(int32_t partIndex, int32_t row, int32_t col, TCellPiece& piece) const {
  if (partIndex < 0) return false;
  const TRPTablePrintPart& part = Part(partIndex);
  const int32_t lastRow = row + Table.GetCell(row, col)->GetRowSpan() - 1;
  const int32_t partEnd = part.StartRow + part.RowCount - 1;
  if (lastRow < part.StartRow || row > partEnd) return false;
  // A cut crosses the cell at the part's top (the part before cut it) or at its bottom.
  const TRPTablePrintPart::TCellCut* before = partIndex > 0 ? Part(partIndex - 1).FindCut(row, col) : nullptr;
  const TRPTablePrintPart::TCellCut* cut = part.FindCut(row, col);
  if (!before && !cut) return false;
  const TCustomRPFormattedData& content = CellContent(row, col);
  piece.FirstRow = std::max(row, part.StartRow);
  piece.LastRow = std::min(lastRow, partEnd);
  piece.RowsHeight = FormattingInfo.RowStarts[piece.LastRow] + RowHeightInPart(partIndex, piece.LastRow) -
                     FormattingInfo.RowStarts[piece.FirstRow];
  piece.FirstDrawItem = before ? before->NextDrawItem : 0;
  piece.ContentTop = before ? before->NextTop : 0;
  piece.LastDrawItem = cut ? cut->LastDrawItem : content.DrawItems.Count() - 1;
  piece.ContentBottom = cut ? cut->NextTop : content.DocumentHeight;
  return true;
}

void TRPTablePrintInfo::LayOut(int32_t width, TCanvas& canvas) {
  TRPTableItemInfo::TResolutionScope scope(Table, &Resolution);
  // The layout formats the printable copies and measures the rows by them.
  const TRPTableItemInfo::TPrintScope printing(Table, *this);
  Table.CalculateLayout(width, FormattingInfo, true, canvas);
  TRPDrawLineInfo::SetSize(FormattingInfo.Width, FormattingInfo.Height);
  FLaidOutRowHeights = FormattingInfo.RowHeights;
  FLaidOutRowStarts = FormattingInfo.RowStarts;
  FLaidOutHeight = FormattingInfo.Height;
}

int32_t TRPTablePrintInfo::BodyStart() const { return RepeatHeading ? Table.GetHeadingRowCountLimited() : 0; }

bool TRPTablePrintInfo::AllRowsAreHeadings() const {
  return RepeatHeading && Table.GetHeadingRowCount() >= Table.Rows().GetRowCount();
}

bool TRPTablePrintInfo::StartParts() {
  if ((Table.PrintOptions & rptoRowsSplit) == 0 && !Table.HasPageBreakBefore(-1, -1)) return false;
  if (AllRowsAreHeadings()) return false;
  // Pages laid out anew: the rows lose what earlier cuts added.
  FormattingInfo.RowHeights = FLaidOutRowHeights;
  FormattingInfo.RowStarts = FLaidOutRowStarts;
  FormattingInfo.Height = FLaidOutHeight;
  const int32_t rowCount = Table.Rows().GetRowCount();
  const int32_t start = std::min(BodyStart(), rowCount);
  PartsList.AddPart(std::make_unique<TRPTablePrintPart>(FormattingInfo.Height, start, rowCount - start));
  return true;
}

bool TRPTablePrintInfo::CanStartOnPage(int32_t room) {
  if (AllRowsAreHeadings()) return false;
  const int32_t last = Table.Rows().GetRowCount() - 1;
  const int32_t groupEnd = Table.GetRowGroupEnd(BodyStart());
  return RowBottom(groupEnd) < room + RowBottom(last) - FormattingInfo.Height;
}

bool TRPTablePrintInfo::SplitLastPart(int32_t room) {
  TRPTablePrintPart& part = Part(PartCount() - 1);
  const int32_t s = part.StartRow;
  const int32_t n = part.RowCount;
  const bool splitRows = (Table.PrintOptions & rptoSplitRowGroups) != 0;
  if (n == 1 && !splitRows) return false;
  if (room >= part.Height && !Table.HasPageBreakBefore(s + 1, s + n - 1)) return false;
  if (AllRowsAreHeadings()) return false;
  const int32_t rowCount = Table.Rows().GetRowCount();
  const int32_t last = rowCount - 1;
  const TRPIntegerList& starts = FormattingInfo.RowStarts;
  // The space above the first body row and below the last row.
  const int32_t overhead = FormattingInfo.Height + starts[BodyStart()] - RowBottom(last);
  // A first row taller than the room is cut between its cells' lines; when it only was
  // taller than its lines, it shrank to them and the part is cut (or fits) as any other.
  if (splitRows && room > overhead && RowBottom(s) - starts[s] > room - overhead)
    return CutInsideFirstRow(room, overhead) || SplitLastPart(room);
  if (n == 1) return false;
  int32_t d = s + 1;
  while (d < s + n && RowBottom(d) < room + starts[s] - overhead &&
         !(Table.Rows().GetRow(d)->PageBreakBefore && Table.NoRowSpanBelow(d)))
    ++d;
  if (d >= s + n) throw ERichPaneError(errRPInternalPrinting);
  int32_t e = Table.GetRowGroupStart(d);
  if (e <= s && (Table.PrintOptions & rptoSplitRowGroups) != 0)
    e = d;  // the part's first row group is taller than the room: it is cut between its rows
  else if (e <= s + 1)
    e = Table.GetRowGroupEnd(s) + 1;
  if (e - s > n) throw ERichPaneError(errRPInternalPrinting);
  if (e - s == n) return false;
  CutCellsAbove(e);
  part.RowCount = e - s;
  part.Height = overhead + RowBottom(e - 1) - starts[s];
  PartsList.AddPart(std::make_unique<TRPTablePrintPart>(overhead + RowBottom(last) - starts[e], e, rowCount - e));
  return true;
}

template <typename TVisit>
void TRPTablePrintInfo::ForEachCellCovering(int32_t row, TVisit visit) const {
  const TRPTableRows& rows = Table.Rows();
  for (int32_t c = 0; c < rows.GetColCount();) {
    int32_t mainRow = 0, mainCol = 0;
    const TRPTableCellData* cell = rows.GetMainCell(row, c, mainRow, mainCol);
    assert(cell);  // every position of the grid is covered
    c = mainCol + cell->GetColSpan();
    visit(mainRow, mainCol, *cell);
  }
}

TRPTablePrintPart::TCellCut TRPTablePrintInfo::ContentStart(int32_t partIndex, int32_t row, int32_t col) const {
  if (const TRPTablePrintPart::TCellCut* before = partIndex > 0 ? Part(partIndex - 1).FindCut(row, col) : nullptr)
    return *before;
  return {row, col, -1, 0, 0};
}

void TRPTablePrintInfo::CutCellsAbove(int32_t cut) {
  const int32_t partIndex = PartCount() - 1;
  TRPTablePrintPart& part = Part(partIndex);
  ForEachCellCovering(cut, [&](int32_t row, int32_t col, const TRPTableCellData& cell) {
    if (row >= cut) return;
    // The content goes on from where the part before cut it, at the top of this piece.
    const TRPTablePrintPart::TCellCut from = ContentStart(partIndex, row, col);
    const int32_t room = RowBottom(cut - 1) - FormattingInfo.RowStarts[std::max(row, part.StartRow)];
    TRPTablePrintPart::TCellCut here = CutContent(CellContent(row, col), from.NextDrawItem, from.NextTop, room, false);
    here.Row = row;
    here.Col = col;
    part.CutCells.push_back(here);
    MakeRoomForRest(here, row + cell.GetRowSpan() - 1, cut);
  });
}

bool TRPTablePrintInfo::CutInsideFirstRow(int32_t room, int32_t overhead) {
  const int32_t partIndex = PartCount() - 1;
  TRPTablePrintPart& part = Part(partIndex);
  const int32_t r = part.StartRow;
  const int32_t contentRoom = room - overhead;
  // Each covering cell's lines that fit: how tall the row's piece is (shown), how much the
  // row's own cells (those ending in it) still hold (rest), and what goes on.
  std::vector<TRPTablePrintPart::TCellCut> cuts;
  std::vector<int32_t> lastRows;
  int32_t shown = 0, rest = 0;
  bool rowGoesOn = false, spanGoesOn = false;
  ForEachCellCovering(r, [&](int32_t row, int32_t col, const TRPTableCellData& cell) {
    const TRPTablePrintPart::TCellCut from = ContentStart(partIndex, row, col);
    const TCustomRPFormattedData& content = CellContent(row, col);
    TRPTablePrintPart::TCellCut here = CutContent(content, from.NextDrawItem, from.NextTop, contentRoom, true);
    here.Row = row;
    here.Col = col;
    shown = std::max(shown, std::min(contentRoom, here.NextTop - from.NextTop));
    const bool goesOn = here.NextDrawItem < content.DrawItems.Count();
    const int32_t lastRow = row + cell.GetRowSpan() - 1;
    if (lastRow > r) {
      spanGoesOn = spanGoesOn || goesOn;
    } else if (goesOn) {
      rowGoesOn = true;
      rest = std::max(rest, content.DocumentHeight - here.NextTop);
    }
    cuts.push_back(here);
    lastRows.push_back(lastRow);
  });
  if (!rowGoesOn && !spanGoesOn) {
    GrowRow(r, shown - FormattingInfo.RowHeights[r]);
    part.Height = overhead + RowBottom(part.StartRow + part.RowCount - 1) - FormattingInfo.RowStarts[r];
    return false;
  }
  // The row goes on in the next part with what its own cells still hold, or ends here as
  // tall as its piece when only cells spanning below it go on (in the rows below).
  const int32_t next = rowGoesOn ? r : r + 1;
  GrowRow(r, (rowGoesOn ? rest : shown) - FormattingInfo.RowHeights[r]);
  if (rowGoesOn) part.LastRowPiece = shown;
  for (size_t k = 0; k < cuts.size(); ++k) {
    if (lastRows[k] < next) continue;  // ends in this part
    part.CutCells.push_back(cuts[k]);
    MakeRoomForRest(cuts[k], lastRows[k], next);
  }
  const int32_t rowCount = Table.Rows().GetRowCount();
  part.RowCount = 1;
  part.Height = overhead + shown;
  PartsList.AddPart(std::make_unique<TRPTablePrintPart>(
      overhead + RowBottom(rowCount - 1) - FormattingInfo.RowStarts[next], next, rowCount - next));
  return true;
}

void TRPTablePrintInfo::MakeRoomForRest(const TRPTablePrintPart::TCellCut& cut, int32_t lastRow, int32_t from) {
  const int32_t missing = CellContent(cut.Row, cut.Col).DocumentHeight - cut.NextTop -
                          (RowBottom(lastRow) - FormattingInfo.RowStarts[from]);
  if (missing > 0) GrowRow(lastRow, missing);
}

void TRPTablePrintInfo::GrowRow(int32_t row, int32_t extra) {
  TRPTableItemFormattingInfo& f = FormattingInfo;
  f.RowHeights.SetItem(row, f.RowHeights[row] + extra);
  for (int32_t r = row + 1; r < f.RowStarts.Count(); ++r) f.RowStarts.SetItem(r, f.RowStarts[r] + extra);
  f.Height += extra;
}

void TRPTablePrintInfo::Print(TCanvas& canvas, int32_t x, int32_t y, int32_t partIndex, const TRect& clipRect,
                              TRPColorMode colorMode, bool preview, bool correction) {
  TRPTableItemInfo::TResolutionScope scope(Table, &Resolution);
  Preview = preview;
  Correction = correction;
  PrintedPart = partIndex;
  const TRPTableItemInfo::TPrintScope printing(Table, *this);
  if (partIndex < 0) {
    Table.PaintTable(canvas, x, y, clipRect, true, 0, Table.Rows().GetRowCount(), false, FormattingInfo, colorMode);
    return;
  }
  const TRPTablePrintPart& part = Part(partIndex);
  Table.PaintTable(canvas, x, y, clipRect, true, part.StartRow, part.RowCount, RepeatHeading, FormattingInfo,
                   colorMode);
}

std::unique_ptr<TRPDrawLineInfo> TRPTableItemInfo::CreatePrintingDrawItem(TCustomRPFormattedData& rpData,
                                                                          const TRPResolution& resolution) {
  auto info = std::make_unique<TRPTablePrintInfo>(*this, resolution, dynamic_cast<TCustomPrintableRPData*>(&rpData));
  FPendingPrintInfo = info.get();
  return info;
}

void TRPTableItemInfo::Print(TCanvas& canvas, int32_t x, int32_t y, int32_t, TCustomRPFormattedData&,
                             TRPColorMode colorMode, int32_t part, TRPDrawLineInfo& drawItem, const TRPResolution&,
                             bool preview, bool correction) {
  static_cast<TRPTablePrintInfo&>(drawItem).Print(canvas, x, y, part, canvas.ClipRect(), colorMode, preview,
                                                  correction);
}
