#include "richtext/table/RPTablePrint.h"

#include <algorithm>

#include "richtext/model/RPException.h"

namespace {
constexpr char errRPInternalPrinting[] = "Internal printing error";
}  // namespace

TCellPtblRPData::TCellPtblRPData(TCustomPrintableRPData& parent, TRPTableItemInfo& table, TRPTableCellData& cell)
    : TRectPtblRPData(parent.Control(), parent, cell), FCell(cell) {
  Color = table.GetEffectiveCellColor(cell);
  // A cell without a colour shows the table's fill (mode 1) under its pictures.
  Transparent = cell.IsColorNone();
  ParentItemBackground = 1;
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

void TRPTablePrintInfo::LayOut(int32_t width, TCanvas& canvas) {
  TRPTableItemInfo::TResolutionScope scope(Table, &Resolution);
  // The layout formats the printable copies and measures the rows by them.
  const TRPTableItemInfo::TPrintScope printing(Table, *this);
  Table.CalculateLayout(width, FormattingInfo, true, canvas);
  TRPDrawLineInfo::SetSize(FormattingInfo.Width, FormattingInfo.Height);
}

int32_t TRPTablePrintInfo::BodyStart() const { return RepeatHeading ? Table.GetHeadingRowCountLimited() : 0; }

bool TRPTablePrintInfo::AllRowsAreHeadings() const {
  return RepeatHeading && Table.GetHeadingRowCount() >= Table.Rows().GetRowCount();
}

bool TRPTablePrintInfo::StartParts() {
  if ((Table.PrintOptions & rptoRowsSplit) == 0 && !Table.HasPageBreakBefore(-1, -1)) return false;
  if (AllRowsAreHeadings()) return false;
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
  if (e <= s + 1) e = Table.GetRowGroupEnd(s) + 1;
  if (e - s > n) throw ERichPaneError(errRPInternalPrinting);
  if (e - s == n) return false;
  part.RowCount = e - s;
  part.Height = overhead + RowBottom(e - 1) - starts[s];
  PartsList.AddPart(std::make_unique<TRPTablePrintPart>(overhead + RowBottom(last) - starts[e], e, rowCount - e));
  return true;
}

void TRPTablePrintInfo::Print(TCanvas& canvas, int32_t x, int32_t y, int32_t partIndex, const TRect& clipRect,
                              TRPColorMode colorMode, bool preview, bool correction) {
  TRPTableItemInfo::TResolutionScope scope(Table, &Resolution);
  Preview = preview;
  Correction = correction;
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
