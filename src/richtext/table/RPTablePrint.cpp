#include "richtext/table/RPTablePrint.h"

#include <algorithm>
#include <cassert>

#include "richtext/model/RPException.h"

namespace {
constexpr char errRPInternalPrinting[] = "Internal printing error";

// The first line of content, from draw item first on, that reaches below limit (content
// Y): its first draw item and its top. The draw item count and the content's height when
// every line ends within limit.
void FindLineBelow(const TCustomRPFormattedData& content, int32_t first, int32_t limit, int32_t& next,
                   int32_t& nextTop) {
  const TRPDrawLines& items = content.DrawItems;
  for (int32_t i = first; i < items.Count();) {
    int32_t top = items[i]->Top, bottom = items[i]->Top + items[i]->Height;
    int32_t end = i + 1;
    for (; end < items.Count() && !items[end]->StartsLine(); ++end) {
      top = std::min(top, items[end]->Top);
      bottom = std::max(bottom, items[end]->Top + items[end]->Height);
    }
    if (bottom > limit) {
      next = i;
      nextTop = top;
      return;
    }
    i = end;
  }
  next = items.Count();
  nextTop = content.DocumentHeight;
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

bool TRPTablePrintInfo::GetCellPiece(int32_t partIndex, int32_t row, int32_t col, TCellPiece& piece) const {
  if (partIndex < 0) return false;
  const TRPTablePrintPart& part = Part(partIndex);
  const int32_t lastRow = row + Table.GetCell(row, col)->GetRowSpan() - 1;
  const int32_t partEnd = part.StartRow + part.RowCount - 1;
  if (lastRow < part.StartRow || row > partEnd) return false;
  const bool cutAbove = row < part.StartRow;
  const bool cutBelow = lastRow > partEnd;
  if (!cutAbove && !cutBelow) return false;
  const TCustomRPFormattedData& content = CellContent(row, col);
  piece = TCellPiece{std::max(row, part.StartRow), std::min(lastRow, partEnd), 0, content.DrawItems.Count() - 1, 0,
                     content.DocumentHeight};
  if (const TRPTablePrintPart::TCellCut* before = cutAbove ? Part(partIndex - 1).FindCut(row, col) : nullptr) {
    piece.FirstDrawItem = before->NextDrawItem;
    piece.ContentTop = before->NextTop;
  }
  if (const TRPTablePrintPart::TCellCut* cut = cutBelow ? part.FindCut(row, col) : nullptr) {
    piece.LastDrawItem = cut->NextDrawItem - 1;
    piece.ContentBottom = cut->NextTop;
  }
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
  if (n == 1) return false;
  if (room >= part.Height && !Table.HasPageBreakBefore(s + 1, s + n - 1)) return false;
  if (AllRowsAreHeadings()) return false;
  const int32_t rowCount = Table.Rows().GetRowCount();
  const int32_t last = rowCount - 1;
  const TRPIntegerList& starts = FormattingInfo.RowStarts;
  // The space above the first body row and below the last row.
  const int32_t overhead = FormattingInfo.Height + starts[BodyStart()] - RowBottom(last);
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

void TRPTablePrintInfo::CutCellsAbove(int32_t cut) {
  const int32_t partIndex = PartCount() - 1;
  TRPTablePrintPart& part = Part(partIndex);
  const TRPTableRows& rows = Table.Rows();
  for (int32_t c = 0; c < rows.GetColCount();) {
    int32_t row = 0, col = 0;
    const TRPTableCellData* cell = rows.GetMainCell(cut, c, row, col);
    assert(cell);  // every position of the grid is covered
    c = col + cell->GetColSpan();
    if (row >= cut) continue;
    // The content goes on from where the part before cut it, at the top of this piece.
    int32_t first = 0, top = 0;
    if (const TRPTablePrintPart::TCellCut* before =
            row < part.StartRow && partIndex > 0 ? Part(partIndex - 1).FindCut(row, col) : nullptr) {
      first = before->NextDrawItem;
      top = before->NextTop;
    }
    const TCustomRPFormattedData& content = CellContent(row, col);
    const int32_t room = RowBottom(cut - 1) - FormattingInfo.RowStarts[std::max(row, part.StartRow)];
    int32_t next = 0, nextTop = 0;
    FindLineBelow(content, first, top + room, next, nextTop);
    part.CutCells.push_back({row, col, next, nextTop});
    // The rest of the content from the top of the rows below the cut.
    const int32_t lastRow = row + cell->GetRowSpan() - 1;
    const int32_t missing = content.DocumentHeight - nextTop - (RowBottom(lastRow) - FormattingInfo.RowStarts[cut]);
    if (missing > 0) GrowRow(lastRow, missing);
  }
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
