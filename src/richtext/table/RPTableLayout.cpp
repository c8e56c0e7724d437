// Table layout: column widths, row heights, starts and cell rectangles for one available
// width, and the table's minimum width.
//
// State of a column pass (TWidthPass):
//   Widths   the content width of each column (padding excluded), growing only;
//   Kinds    0 free, 1 fixed (pixel best width), 2 percent; a column's kind decides in
//            which preference pass a spanning cell may widen it;
//   MinSum   the sum of the column minimums (the minimum pass widens it);
//   Free     the content width not yet given to any column (preference passes);
//   Autofit  every column is fixed and the table has no width of its own: the table is
//            as wide as its columns, and Free plays no part.
// A spanning cell that needs more than its columns give spreads the deficit: by
// equalizing (the narrow columns raised toward an equal share, repeated to depth 30) in
// the minimum pass, proportionally to the columns' widths otherwise. Gap budgets are
// spread with integer division over the columns (rows) left, so rounding never
// accumulates.
//
// A layout (TLayoutPass, a column pass with the rows' heights) runs in phases: target
// width, column minimums, then, when they fit, percent columns and spans, fixed columns
// and spans, and the free width shared out (when they do not: the table grows, or with
// rptoShrinkToWidth the minimums are scaled down to the width); column starts (cells formatted for their
// widths), row heights, rows under tall merged cells, row starts.
#include <algorithm>
#include <utility>
#include <vector>

#include "platform/base/Numbers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableItem.h"
#include "richtext/table/RPTablePrint.h"
#include "richtext/table/RPTableShares.h"

namespace {
constexpr int32_t MaxEqualizingDepth = 30;

enum TColumnKind : uint8_t { ckFree, ckFixed, ckPercent };

struct TWidthPass {
  const TRPTableItemInfo& Table;
  const TRPTableRows& Rows;
  std::vector<int32_t> Widths;
  std::vector<TColumnKind> Kinds;
  int32_t MinSum = 0;
  int32_t Free = 0;
  bool Autofit = false;
  int32_t P;  // both paddings of a column
  int32_t G;  // a column's share of spacing, paddings and borders

  TWidthPass(const TRPTableItemInfo& table, int32_t colCount)
      : Table(table),
        Rows(table.Rows()),
        Widths(static_cast<size_t>(colCount), 0),
        Kinds(static_cast<size_t>(colCount), ckFree),
        P(table.ScaleX(2 * table.GetCellPadding())),
        G(table.ScaleX(table.GetCellHSpacing() + 2 * table.GetCellPadding() + 2 * table.GetCellBorderWidth())) {}

  int32_t& Width(int32_t c) { return Widths[static_cast<size_t>(c)]; }
  TColumnKind& Kind(int32_t c) { return Kinds[static_cast<size_t>(c)]; }

  // Spreads the required content width d of the cell spanning columns first ..
  // first + span - 1 over them.
  void DistributeSpan(int32_t first, int32_t span, int32_t d, int32_t depth, bool minimumPass, int32_t maxLevel);
};

void TWidthPass::DistributeSpan(int32_t first, int32_t span, int32_t d, int32_t depth, bool minimumPass,
                                int32_t maxLevel) {
  if (d == 0) return;
  const bool equalizing = minimumPass && depth <= MaxEqualizingDepth;
  const int32_t last = first + span - 1;
  std::vector<bool> eligible(static_cast<size_t>(span), true);
  if (!minimumPass) {
    bool any = false;
    for (int32_t level = 0; level <= maxLevel && !any; ++level)
      for (int32_t c = first; c <= last; ++c) {
        eligible[static_cast<size_t>(c - first)] = Kind(c) <= level;
        any = any || Kind(c) <= level;
      }
  }
  int32_t h = Table.ScaleX(-Table.GetCellHSpacing() - 2 * Table.GetCellBorderWidth());
  int32_t denominator = 0;
  int32_t n = 0;
  for (int32_t c = first; c <= last; ++c) {
    h += G + Width(c);
    if (!eligible[static_cast<size_t>(c - first)]) continue;
    const int32_t w = Width(c) + P;
    denominator += !equalizing && w == 0 ? 1 : w;
    ++n;
  }
  if (h >= d + P || n == 0) return;
  const bool tracksFree = !minimumPass && !Autofit;
  int32_t deficit = d + P - h;
  if (tracksFree) deficit = std::min(deficit, Free);
  if (deficit <= 0) return;
  if (!equalizing) {
    if (tracksFree) Free -= deficit;
    int32_t target = denominator + deficit;
    int32_t lastEligible = last;
    while (!eligible[static_cast<size_t>(lastEligible - first)]) --lastEligible;
    for (int32_t c = first; c <= last; ++c) {
      if (!eligible[static_cast<size_t>(c - first)]) continue;
      const int32_t old = Width(c) + P;
      const int32_t t = ShareOf(std::max(old, 1), target, denominator, c == lastEligible);
      Width(c) = t - P;
      target -= t;
      denominator -= old;
      if (minimumPass) MinSum += t - old;
    }
    return;
  }
  int32_t m = denominator + deficit;
  for (int32_t c = first; c <= last && n > 0 && m > 0; ++c) {
    if (!eligible[static_cast<size_t>(c - first)]) continue;
    if (Width(c) + P >= Round(double(m) / n)) {
      eligible[static_cast<size_t>(c - first)] = false;
      --n;
      m -= Width(c) + P;
    }
  }
  for (int32_t c = first; c <= last && n > 0 && m > 0; ++c) {
    if (!eligible[static_cast<size_t>(c - first)]) continue;
    const auto a = static_cast<int32_t>(Round(double(m) / n));
    if (Width(c) + P < a) {
      const int32_t grow = a - P - Width(c);
      Width(c) = a - P;
      MinSum += grow;
      --n;
      m -= a;
    }
  }
  DistributeSpan(first, span, d, depth + 1, minimumPass, maxLevel);
}

// Every column has a cell of its own and, from the left, no column is covered by a
// percent cell and each ends at least one pixel cell.
bool EveryColumnFixed(const TRPTableRows& rows) {
  const int32_t colCount = rows.GetColCount();
  for (int32_t c = 0; c < colCount; ++c) {
    bool ownCell = false;
    bool pixelEnds = false;
    for (int32_t r = 0; r < rows.GetRowCount(); ++r) {
      int32_t mr = 0, mc = 0;
      const TRPTableCellData* cell = rows.GetMainCell(r, c, mr, mc);
      if (!cell) continue;
      if (cell->BestWidth < 0) return false;
      ownCell = ownCell || mc == c;
      pixelEnds = pixelEnds || (cell->BestWidth > 0 && mc + cell->GetColSpan() - 1 == c);
    }
    if (!ownCell || !pixelEnds) return false;
  }
  return true;
}

// Paddings, the sizes of the spanned columns (rows) and the span's share of the budget.
int32_t SpanExtent(const TRPIntegerList& sizes, int32_t first, int32_t span, int32_t padding, int32_t budget) {
  int32_t extent = padding + MulDiv(budget, span - 1, sizes.Count());
  for (int32_t k = first; k < first + span; ++k) extent += sizes[k];
  return extent;
}

// Calls proc(row, col, cell) for every cell object in row-major order.
template <typename Proc>
void ForEachCell(const TRPTableRows& rows, Proc proc) {
  for (int32_t r = 0; r < rows.GetRowCount(); ++r)
    for (int32_t c = 0; c < rows.GetRow(r)->Count(); ++c)
      if (TRPTableCellData* cell = rows.GetCell(r, c)) proc(r, c, *cell);
}
// The steps of one layout for an available width (CalculateLayout), in the order they
// run. The column state is the TWidthPass this derives from; the pass adds the areas the
// columns share, the count of fixed columns and the content height of each row.
struct TLayoutPass : TWidthPass {
  TRPTableItemFormattingInfo& Info;
  TCanvas& Canvas;
  const bool Force;
  const bool Screen;  // the table's own layout: cells get their geometry; else a printing copy's
  // The printing draw item whose layout this is, when it has printable cell copies.
  const TRPTablePrintInfo* const Printing;
  const int32_t ColCount;
  const int32_t RowCount;
  // Borders, border spacing, cell borders and the spacing between columns, across the table.
  const int32_t Overhead;
  int32_t CellArea = 0;     // the table's width less the overhead (0 in autofit mode)
  int32_t ContentArea = 0;  // the cell area less the cells' paddings (0 in autofit mode)
  int32_t FixedCount = 0;   // columns of kind fixed
  std::vector<int32_t> Heights;

  TLayoutPass(const TRPTableItemInfo& table, TRPTableItemFormattingInfo& info, bool force, TCanvas& canvas)
      : TWidthPass(table, table.Rows().GetColCount()),
        Info(info),
        Canvas(canvas),
        Force(force),
        Screen(&info == &table.FormattingInfo()),
        Printing(table.GetPrintInfo() && &table.GetPrintInfo()->FormattingInfo == &info ? table.GetPrintInfo()
                                                                                        : nullptr),
        ColCount(table.Rows().GetColCount()),
        RowCount(table.Rows().GetRowCount()),
        Overhead(table.ScaleX((ColCount - 1) * table.GetCellHSpacing() +
                              2 * (table.GetBorderWidth() + table.GetBorderHSpacing()) +
                              2 * ColCount * table.GetCellBorderWidth())),
        Heights(static_cast<size_t>(RowCount), 0) {}

  // The table's target width and whether it is autofit; false when the previous layout
  // stands (same target, not forced).
  bool ChooseWidth(int32_t availWidth);
  // Each column's minimum, and the minimums of cells spanning columns (minimum pass).
  void MeasureColumnMinimums();
  // When the minimums fit: percent columns take their share of the free width, pooling
  // what they had; then percent cells spanning columns.
  void GivePercentColumns();
  void GivePercentSpans();
  // Fixed columns take their pixel widths (in autofit mode whole, otherwise shared out of
  // the free width); then pixel cells spanning columns.
  void GiveFixedColumns();
  void GivePixelSpans();
  // Autofit: the table is as wide as its columns. Otherwise what is still free goes to the
  // free columns, else by weight.
  void FitTableToColumns();
  void ShareFreeWidth();
  // The minimums do not fit: the table grows past its target by what they lack, or, when
  // it shrinks to its width, the columns share the content area in proportion to them.
  void PlaceMinimums();
  // Column starts and cell widths; each cell is formatted for its width.
  void PlaceColumns();
  // Row heights, then rows under merged cells taller than their rows.
  void MeasureRows();
  void GrowRowsUnderTallCells();
  // Row starts and cell heights.
  void PlaceRows();
  // The height a printing layout gives the cell at (r, c): its printable copy's document,
  // else its own.
  int32_t PrintedContentHeight(int32_t r, int32_t c, const TRPTableCellData& cell) const {
    const TCellPtblRPData* copy = Printing ? Printing->CellPrintData(r, c) : nullptr;
    return copy ? copy->DocumentHeight : cell.DocumentHeight;
  }
};

bool TLayoutPass::ChooseWidth(int32_t availWidth) {
  const TRPHTMLLength bestWidth = Table.GetBestWidth();
  int32_t target = 0;
  if (bestWidth >= 1)
    target = Table.ScaleX(bestWidth);
  else if (bestWidth < 0)
    target = static_cast<int32_t>(int64_t(availWidth) * -bestWidth / 100);
  else if (EveryColumnFixed(Rows))
    Autofit = true;
  else
    target = std::max(Table.GetMinWidth(Table.GetResolution(), &Canvas, nullptr), availWidth);
  if (target != 0 && target == Info.Width && !Force) return false;
  Info.Width = target;
  CellArea = Autofit ? 0 : Info.Width - Overhead;
  ContentArea = Autofit ? 0 : CellArea - Table.ScaleX(2 * ColCount * Table.GetCellPadding());
  return true;
}

void TLayoutPass::MeasureColumnMinimums() {
  Info.Clear();
  const bool ignoreContentWidth = (Table.Options & rptoIgnoreContentWidth) != 0;
  for (int32_t c = 0; c < ColCount; ++c) {
    Width(c) = ignoreContentWidth ? 0 : Rows.GetMinColWidth(c, Table.GetResolution(), Canvas);
    MinSum += Width(c);
  }
  if (!ignoreContentWidth)
    ForEachCell(Rows, [&](int32_t, int32_t c, TRPTableCellData& cell) {
      if (cell.GetColSpan() > 1)
        DistributeSpan(c, cell.GetColSpan(), cell.GetMinWidth(Table.GetResolution(), Canvas), 0, true, 2);
    });
}

void TLayoutPass::GivePercentColumns() {
  Free = ContentArea - MinSum;
  std::vector<int32_t> percentTarget(static_cast<size_t>(ColCount), 0);
  int32_t pooled = 0;
  int32_t total = 0;
  for (int32_t c = 0; c < ColCount; ++c) {
    const int32_t target = std::max(Rows.GetPercentColWidth(c, CellArea) - P, 0);
    percentTarget[static_cast<size_t>(c)] = target;
    if (Width(c) < target) {
      Free += Width(c);
      pooled += Width(c);
      total += target;
    }
  }
  if (total == 0) return;
  total = std::max(total, Free);
  for (int32_t c = 0; c < ColCount; ++c) {
    const int32_t target = percentTarget[static_cast<size_t>(c)];
    if (target == 0) continue;
    if (Width(c) >= target) {
      Kind(c) = ckPercent;
      continue;
    }
    const int32_t old = Width(c);
    int32_t share = ShareOf(target, Free, total, false);
    if (share > 0) Kind(c) = ckPercent;
    share = std::min(share, old + Free - pooled);
    Width(c) = std::max(old, share);
    Free -= Width(c);
    pooled -= old;
    total -= target;
    if (Free == 0 && pooled == 0) break;
  }
}

void TLayoutPass::GivePercentSpans() {
  std::vector<bool> spanned(static_cast<size_t>(ColCount), false);
  ForEachCell(Rows, [&](int32_t, int32_t c, TRPTableCellData& cell) {
    if (Free <= 0 || cell.GetColSpan() <= 1 || cell.BestWidth >= 0) return;
    DistributeSpan(c, cell.GetColSpan(), MulDiv(-cell.BestWidth, CellArea, 100) - P, 0, false, 2);
    for (int32_t k = c; k < c + cell.GetColSpan(); ++k) spanned[static_cast<size_t>(k)] = true;
  });
  for (int32_t c = 0; c < ColCount; ++c)
    if (spanned[static_cast<size_t>(c)] && Kind(c) == ckFree) Kind(c) = ckPercent;
}

void TLayoutPass::GiveFixedColumns() {
  if (Autofit) {
    for (int32_t c = 0; c < ColCount; ++c) {
      const int32_t fixed = Table.ScaleX(Rows.GetPixelColWidth(c));
      if (Kind(c) != ckFree || fixed <= 0) continue;
      Kind(c) = ckFixed;
      ++FixedCount;
      Width(c) = std::max(Width(c), fixed);
    }
    return;
  }
  if (Free <= 0) return;
  std::vector<int32_t> pooledTarget(static_cast<size_t>(ColCount), 0);
  int32_t total = 0;
  for (int32_t c = 0; c < ColCount; ++c) {
    const int32_t fixed = Table.ScaleX(Rows.GetPixelColWidth(c));
    if (Kind(c) != ckFree || fixed <= 0) continue;
    Kind(c) = ckFixed;
    ++FixedCount;
    if (Width(c) < fixed) {
      Free += Width(c);
      pooledTarget[static_cast<size_t>(c)] = fixed;
      total += fixed;
    }
  }
  int32_t avail = std::min(Free, total);
  for (int32_t c = 0; c < ColCount && total > 0; ++c) {
    const int32_t fixed = pooledTarget[static_cast<size_t>(c)];
    if (fixed == 0) continue;
    const int32_t share = std::max(std::min(ShareOf(fixed, avail, total, false), Free), Width(c));
    Free -= share;
    Width(c) = share;
    total -= fixed;
    avail -= share;
  }
}

void TLayoutPass::GivePixelSpans() {
  std::vector<bool> spanned(static_cast<size_t>(ColCount), false);
  ForEachCell(Rows, [&](int32_t, int32_t c, TRPTableCellData& cell) {
    if (cell.GetColSpan() <= 1 || cell.BestWidth <= 0) return;
    DistributeSpan(c, cell.GetColSpan(), Table.ScaleX(cell.BestWidth), 0, false, 1);
    for (int32_t k = c; k < c + cell.GetColSpan(); ++k) spanned[static_cast<size_t>(k)] = true;
  });
  for (int32_t c = 0; c < ColCount; ++c)
    if (spanned[static_cast<size_t>(c)] && Kind(c) == ckFree) {
      Kind(c) = ckFixed;
      ++FixedCount;
    }
}

void TLayoutPass::FitTableToColumns() {
  Info.Width = Overhead + Table.ScaleX(2 * ColCount * Table.GetCellPadding());
  for (int32_t c = 0; c < ColCount; ++c) Info.Width += Width(c);
}

void TLayoutPass::ShareFreeWidth() {
  int32_t freeColumns = static_cast<int32_t>(std::count(Kinds.begin(), Kinds.end(), ckFree));
  if (freeColumns > 0) {
    for (int32_t c = 0; c < ColCount && Free >= 1; ++c) {
      if (Kind(c) != ckFree) continue;
      const int32_t share = Free / freeColumns--;
      Width(c) += share;
      Free -= share;
    }
    return;
  }
  std::vector<int32_t> weights(static_cast<size_t>(ColCount), 0);
  int32_t total = 0;
  for (int32_t c = 0; c < ColCount; ++c) {
    int32_t weight = 0;
    if (FixedCount == 0 && Rows.HasPercentWidth(c))
      weight = std::max(Rows.GetPercentColWidth(c, CellArea) - P, 1);
    else if (FixedCount != 0 && Kind(c) != ckPercent)
      weight = std::max(Rows.GetPixelColWidth(c), 1);
    weights[static_cast<size_t>(c)] = weight;
    total += weight;
  }
  for (int32_t c = 0; c < ColCount && Free >= 1; ++c) {
    const int32_t weight = weights[static_cast<size_t>(c)];
    if (weight == 0) continue;
    const int32_t share = std::min(ShareOf(weight, Free, total, false), Free);
    Width(c) += share;
    Free -= share;
    total -= weight;
  }
}

void TLayoutPass::PlaceMinimums() {
  if ((Table.Options & rptoShrinkToWidth) == 0 || ContentArea < 0) {
    Info.Width += MinSum - ContentArea;
    return;
  }
  // What is left is shared among the columns left, so the shares add up to the area.
  int32_t area = ContentArea;
  int32_t total = MinSum;
  for (int32_t c = 0; c < ColCount && total > 0; ++c) {
    const int32_t minimum = Width(c);
    Width(c) = MulDiv(minimum, area, total);
    area -= Width(c);
    total -= minimum;
  }
}

void TLayoutPass::PlaceColumns() {
  int32_t budget =
      Table.ScaleX(ColCount * (2 * (Table.GetCellPadding() + Table.GetCellBorderWidth()) + Table.GetCellHSpacing()));
  int32_t x = Table.ScaleX(Table.GetBorderWidth() + Table.GetBorderHSpacing() + Table.GetCellBorderWidth());
  for (int32_t c = 0; c < ColCount; ++c) {
    Info.ColWidths.Add(Width(c));
    Info.ColStarts.Add(x);
    const int32_t gap = budget / (ColCount - c);
    budget -= gap;
    x += gap + Width(c);
  }
  // Each cell is formatted for the layout's width; in a printing layout it stands for its
  // printable copy where it has none (its document then lies in the output's pixels), and
  // the copy is formatted for the same width: the page shows what the rows measure.
  ForEachCell(Rows, [&](int32_t r, int32_t c, TRPTableCellData& cell) {
    cell.Left = Info.ColStarts[c];
    cell.Width = Table.SpanWidth(Info, c, cell.GetColSpan());
    cell.FormatSubDocument(Force);
    if (TCellPtblRPData* copy = Printing ? Printing->CellPrintData(r, c) : nullptr) {
      copy->Width = cell.GetWidth();
      copy->LayOut();
    }
  });
}

void TLayoutPass::MeasureRows() {
  const bool ignoreContentHeight = (Table.Options & rptoIgnoreContentHeight) != 0;
  Info.Height =
      Table.ScaleY(2 * (Table.GetCellPadding() * RowCount + Table.GetBorderWidth() + Table.GetBorderVSpacing()) +
                   Table.GetCellVSpacing() * (RowCount - 1) + 2 * RowCount * Table.GetCellBorderWidth());
  for (int32_t r = 0; r < RowCount; ++r) {
    const TRPTableRow& row = *Rows.GetRow(r);
    int32_t height = 0;
    if (Screen) {
      height = row.GetMaxCellHeight(ignoreContentHeight);
    } else {
      height = Table.ScaleY(row.GetMaxBestHeight());
      if (height == 0 || !ignoreContentHeight)
        for (int32_t c = 0; c < ColCount; ++c)
          if (const TRPTableCellData* cell = row.GetItem(c);
              cell && cell->GetRowSpan() == 1 && !(ignoreContentHeight && cell->BestHeight != 0))
            height = std::max(height, PrintedContentHeight(r, c, *cell));
      if (height == 0) height = 10;
    }
    Heights[static_cast<size_t>(r)] = height;
    Info.Height += height;
  }
}

void TLayoutPass::GrowRowsUnderTallCells() {
  const bool ignoreContentHeight = (Table.Options & rptoIgnoreContentHeight) != 0;
  const int32_t padding = Table.GetCellPadding();
  const int32_t rowGap = Table.ScaleY(Table.GetCellVSpacing() + 2 * padding + 2 * Table.GetCellBorderWidth());
  ForEachCell(Rows, [&](int32_t r, int32_t c, TRPTableCellData& cell) {
    const int32_t span = cell.GetRowSpan();
    if (span <= 1) return;
    const int32_t needed =
        Screen ? cell.GetContentHeight(ignoreContentHeight) + 2 * padding
               : std::max(Table.ScaleY(cell.BestHeight),
                          ignoreContentHeight && cell.BestHeight != 0 ? 0 : PrintedContentHeight(r, c, cell)) +
                     Table.ScaleY(2 * padding);
    int32_t current = Table.ScaleY(-Table.GetCellVSpacing() - 2 * Table.GetCellBorderWidth());
    for (int32_t k = r; k < r + span; ++k) current += Heights[static_cast<size_t>(k)] + rowGap;
    if (current >= needed) return;
    int32_t extra = needed - current;
    Info.Height += extra;
    std::vector<int32_t> takers;
    for (int32_t k = r + 1; k < r + span; ++k)
      if (!Rows.GetRow(k)->HasCellEndingWithin(k, r, span)) takers.push_back(k);
    if (takers.empty())
      for (int32_t k = r; k < r + span; ++k) takers.push_back(k);
    int32_t sum = 0;
    for (int32_t k : takers) sum += Heights[static_cast<size_t>(k)];
    for (size_t i = 0; i < takers.size(); ++i) {
      int32_t& height = Heights[static_cast<size_t>(takers[i])];
      const int32_t share = ShareOf(height, extra, sum, i + 1 == takers.size());
      sum -= height;
      height += share;
      extra -= share;
    }
  });
}

void TLayoutPass::PlaceRows() {
  int32_t budget =
      Table.ScaleY(RowCount * (2 * (Table.GetCellPadding() + Table.GetCellBorderWidth()) + Table.GetCellVSpacing()));
  int32_t y = Table.ScaleY(Table.GetBorderWidth() + Table.GetBorderVSpacing() + Table.GetCellBorderWidth());
  for (int32_t r = 0; r < RowCount; ++r) {
    Info.RowHeights.Add(Heights[static_cast<size_t>(r)]);
    Info.RowStarts.Add(y);
    const int32_t gap = budget / (RowCount - r);
    budget -= gap;
    y += Heights[static_cast<size_t>(r)] + gap;
  }
  ForEachCell(Rows, [&](int32_t r, int32_t, TRPTableCellData& cell) {
    cell.Top = Info.RowStarts[r];
    cell.Height = Table.SpanHeight(Info, r, cell.GetRowSpan());
  });
}
}  // namespace

int32_t TRPTableItemInfo::GetMinWidth(const TRPResolution* resolution, TCanvas* canvas, TCustomRPData*) const {
  TResolutionScope scope(*this, resolution);
  const int32_t colCount = FRows->GetColCount();
  if (FRows->IsEmpty()) return ScaleX(2 * (FBorderWidth + FBorderHSpacing));
  TWidthPass pass(*this, colCount);
  // A table that shrinks to its width asks for no room for its content.
  const bool ignoreContent = (Options & (rptoIgnoreContentWidth | rptoShrinkToWidth)) != 0 || !canvas;
  for (int32_t c = 0; c < colCount; ++c) {
    int32_t w = ignoreContent ? 0 : FRows->GetMinColWidth(c, resolution, *canvas);
    if (FBestWidth == 0) w = std::max(w, ScaleX(FRows->GetPixelColWidth(c)));
    pass.Width(c) = w;
    pass.MinSum += w;
  }
  ForEachCell(*FRows, [&](int32_t, int32_t c, TRPTableCellData& cell) {
    if (cell.GetColSpan() <= 1) return;
    int32_t need = ignoreContent ? 0 : cell.GetMinWidth(resolution, *canvas);
    if (FBestWidth == 0) need = std::max(need, ScaleX(cell.BestWidth));
    if (need >= 1) pass.DistributeSpan(c, cell.GetColSpan(), need, 0, true, 2);
  });
  const int32_t overhead =
      ScaleX((colCount - 1) * FCellHSpacing + 2 * (FBorderWidth + FBorderHSpacing) + 2 * colCount * FCellBorderWidth);
  return std::max(ScaleX(2 * colCount * FCellPadding) + overhead + pass.MinSum, ScaleX(FBestWidth));
}

void TRPTableItemInfo::CalculateLayout(int32_t availWidth, TRPTableItemFormattingInfo& info, bool force,
                                       TCanvas& canvas) {
  if (FRows->IsEmpty()) {
    info.Clear();
    info.Width = ScaleX(2 * (FBorderWidth + FBorderHSpacing));
    info.Height = ScaleY(2 * (FBorderWidth + FBorderVSpacing));
    return;
  }
  TLayoutPass pass(*this, info, force, canvas);
  if (!pass.ChooseWidth(availWidth)) return;
  pass.MeasureColumnMinimums();
  if (pass.Autofit || pass.MinSum < pass.ContentArea) {
    if (!pass.Autofit) {
      pass.GivePercentColumns();
      pass.GivePercentSpans();
    }
    pass.GiveFixedColumns();
    if (pass.Autofit || pass.Free > 0) pass.GivePixelSpans();
    if (pass.Autofit)
      pass.FitTableToColumns();
    else if (pass.Free > 0)
      pass.ShareFreeWidth();
  } else {
    pass.PlaceMinimums();
  }
  pass.PlaceColumns();
  pass.MeasureRows();
  pass.GrowRowsUnderTallCells();
  pass.PlaceRows();
}

int32_t TRPTableItemInfo::SpanWidth(const TRPTableItemFormattingInfo& info, int32_t col, int32_t span) const {
  const int32_t colCount = info.ColWidths.Count();
  return SpanExtent(info.ColWidths, col, span, ScaleX(2 * FCellPadding),
                    ScaleX(colCount * (2 * (FCellPadding + FCellBorderWidth) + FCellHSpacing)));
}

int32_t TRPTableItemInfo::SpanHeight(const TRPTableItemFormattingInfo& info, int32_t row, int32_t span) const {
  const int32_t rowCount = info.RowHeights.Count();
  return SpanExtent(info.RowHeights, row, span, ScaleY(2 * FCellPadding),
                    ScaleY(rowCount * (2 * (FCellPadding + FCellBorderWidth) + FCellVSpacing)));
}

void TRPTableItemInfo::FormatForWidth(int32_t availWidth, TCanvas& canvas, TCustomRPFormattedData& data, bool force,
                                      bool, int32_t& horzOffset) {
  horzOffset = 0;
  if (data.IsPrintable()) {
    if (TRPTablePrintInfo* info = std::exchange(FPendingPrintInfo, nullptr)) info->LayOut(availWidth, canvas);
    return;
  }
  if ((FStates & rptsLayoutInvalid) != 0) {
    FStates = static_cast<TRPTableStates>(FStates & ~rptsLayoutInvalid);
    FFormatting->Width = 0;
  }
  CalculateLayout(availWidth, *FFormatting, force, canvas);
}
