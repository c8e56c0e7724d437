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
}  // namespace

int32_t TRPTableItemInfo::GetMinWidth(const TRPResolution* resolution, TCanvas* canvas, TCustomRPData*) const {
  TResolutionScope scope(*this, resolution);
  const int32_t colCount = FRows->GetColCount();
  if (FRows->IsEmpty()) return ScaleX(2 * (FBorderWidth + FBorderHSpacing));
  TWidthPass pass(*this, colCount);
  const bool ignoreContent = (Options & rptoIgnoreContentWidth) != 0 || !canvas;
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
  const bool screen = &info == FFormatting.get();
  if (FRows->IsEmpty()) {
    info.Clear();
    info.Width = ScaleX(2 * (FBorderWidth + FBorderHSpacing));
    info.Height = ScaleY(2 * (FBorderWidth + FBorderVSpacing));
    return;
  }
  const int32_t C = FRows->GetColCount();
  const int32_t R = FRows->GetRowCount();
  const int32_t overhead =
      ScaleX((C - 1) * FCellHSpacing + 2 * (FBorderWidth + FBorderHSpacing) + 2 * C * FCellBorderWidth);
  bool autofit = false;
  int32_t target = 0;
  if (FBestWidth >= 1)
    target = ScaleX(FBestWidth);
  else if (FBestWidth < 0)
    target = static_cast<int32_t>(int64_t(availWidth) * -FBestWidth / 100);
  else if (EveryColumnFixed(*FRows))
    autofit = true;
  else
    target = std::max(GetMinWidth(FResolution, &canvas, nullptr), availWidth);
  if (target != 0 && target == info.Width && !force) return;

  info.Width = target;
  TWidthPass pass(*this, C);
  pass.Autofit = autofit;
  const int32_t cellArea = autofit ? 0 : info.Width - overhead;
  const int32_t contentArea = autofit ? 0 : cellArea - ScaleX(2 * C * FCellPadding);
  info.Clear();
  const bool ignoreContentWidth = (Options & rptoIgnoreContentWidth) != 0;
  for (int32_t c = 0; c < C; ++c) {
    pass.Width(c) = ignoreContentWidth ? 0 : FRows->GetMinColWidth(c, FResolution, canvas);
    pass.MinSum += pass.Width(c);
  }
  if (!ignoreContentWidth)
    ForEachCell(*FRows, [&](int32_t, int32_t c, TRPTableCellData& cell) {
      if (cell.GetColSpan() > 1)
        pass.DistributeSpan(c, cell.GetColSpan(), cell.GetMinWidth(FResolution, canvas), 0, true, 2);
    });

  if (autofit || pass.MinSum < contentArea) {
    int32_t fixedCount = 0;
    const int32_t P = pass.P;
    // Percent columns take their share of the free width, pooling what they had.
    if (!autofit) {
      pass.Free = contentArea - pass.MinSum;
      std::vector<int32_t> percentTarget(static_cast<size_t>(C), 0);
      int32_t pooled = 0;
      int32_t total = 0;
      for (int32_t c = 0; c < C; ++c) {
        const int32_t t = std::max(FRows->GetPercentColWidth(c, cellArea) - P, 0);
        percentTarget[static_cast<size_t>(c)] = t;
        if (pass.Width(c) < t) {
          pass.Free += pass.Width(c);
          pooled += pass.Width(c);
          total += t;
        }
      }
      if (total != 0) {
        total = std::max(total, pass.Free);
        for (int32_t c = 0; c < C; ++c) {
          const int32_t t = percentTarget[static_cast<size_t>(c)];
          if (t == 0) continue;
          if (pass.Width(c) >= t) {
            pass.Kind(c) = ckPercent;
            continue;
          }
          const int32_t old = pass.Width(c);
          int32_t f = ShareOf(t, pass.Free, total, false);
          if (f > 0) pass.Kind(c) = ckPercent;
          f = std::min(f, old + pass.Free - pooled);
          pass.Width(c) = std::max(old, f);
          pass.Free -= pass.Width(c);
          pooled -= old;
          total -= t;
          if (pass.Free == 0 && pooled == 0) break;
        }
      }
      // Percent cells spanning columns.
      std::vector<bool> spanned(static_cast<size_t>(C), false);
      ForEachCell(*FRows, [&](int32_t, int32_t c, TRPTableCellData& cell) {
        if (pass.Free <= 0 || cell.GetColSpan() <= 1 || cell.BestWidth >= 0) return;
        pass.DistributeSpan(c, cell.GetColSpan(), MulDiv(-cell.BestWidth, cellArea, 100) - P, 0, false, 2);
        for (int32_t k = c; k < c + cell.GetColSpan(); ++k) spanned[static_cast<size_t>(k)] = true;
      });
      for (int32_t c = 0; c < C; ++c)
        if (spanned[static_cast<size_t>(c)] && pass.Kind(c) == ckFree) pass.Kind(c) = ckPercent;
    }
    // Fixed columns.
    if (autofit) {
      for (int32_t c = 0; c < C; ++c) {
        const int32_t f = ScaleX(FRows->GetPixelColWidth(c));
        if (pass.Kind(c) != ckFree || f <= 0) continue;
        pass.Kind(c) = ckFixed;
        ++fixedCount;
        pass.Width(c) = std::max(pass.Width(c), f);
      }
    } else if (pass.Free > 0) {
      std::vector<int32_t> pooledTarget(static_cast<size_t>(C), 0);
      int32_t total = 0;
      for (int32_t c = 0; c < C; ++c) {
        const int32_t f = ScaleX(FRows->GetPixelColWidth(c));
        if (pass.Kind(c) != ckFree || f <= 0) continue;
        pass.Kind(c) = ckFixed;
        ++fixedCount;
        if (pass.Width(c) < f) {
          pass.Free += pass.Width(c);
          pooledTarget[static_cast<size_t>(c)] = f;
          total += f;
        }
      }
      int32_t avail = std::min(pass.Free, total);
      for (int32_t c = 0; c < C && total > 0; ++c) {
        const int32_t f = pooledTarget[static_cast<size_t>(c)];
        if (f == 0) continue;
        const int32_t d = std::max(std::min(ShareOf(f, avail, total, false), pass.Free), pass.Width(c));
        pass.Free -= d;
        pass.Width(c) = d;
        total -= f;
        avail -= d;
      }
    }
    // Pixel cells spanning columns.
    if (autofit || pass.Free > 0) {
      std::vector<bool> spanned(static_cast<size_t>(C), false);
      ForEachCell(*FRows, [&](int32_t, int32_t c, TRPTableCellData& cell) {
        if (cell.GetColSpan() <= 1 || cell.BestWidth <= 0) return;
        pass.DistributeSpan(c, cell.GetColSpan(), ScaleX(cell.BestWidth), 0, false, 1);
        for (int32_t k = c; k < c + cell.GetColSpan(); ++k) spanned[static_cast<size_t>(k)] = true;
      });
      for (int32_t c = 0; c < C; ++c)
        if (spanned[static_cast<size_t>(c)] && pass.Kind(c) == ckFree) {
          pass.Kind(c) = ckFixed;
          ++fixedCount;
        }
    }
    if (autofit) {
      info.Width = overhead + ScaleX(2 * C * FCellPadding);
      for (int32_t c = 0; c < C; ++c) info.Width += pass.Width(c);
    } else if (pass.Free > 0) {
      // What is still free goes to the free columns, else by weight.
      int32_t freeColumns = static_cast<int32_t>(std::count(pass.Kinds.begin(), pass.Kinds.end(), ckFree));
      if (freeColumns > 0) {
        for (int32_t c = 0; c < C && pass.Free >= 1; ++c) {
          if (pass.Kind(c) != ckFree) continue;
          const int32_t share = pass.Free / freeColumns--;
          pass.Width(c) += share;
          pass.Free -= share;
        }
      } else {
        std::vector<int32_t> weights(static_cast<size_t>(C), 0);
        int32_t total = 0;
        for (int32_t c = 0; c < C; ++c) {
          int32_t w = 0;
          if (fixedCount == 0 && FRows->HasPercentWidth(c))
            w = std::max(FRows->GetPercentColWidth(c, cellArea) - P, 1);
          else if (fixedCount != 0 && pass.Kind(c) != ckPercent)
            w = std::max(FRows->GetPixelColWidth(c), 1);
          weights[static_cast<size_t>(c)] = w;
          total += w;
        }
        for (int32_t c = 0; c < C && pass.Free >= 1; ++c) {
          const int32_t w = weights[static_cast<size_t>(c)];
          if (w == 0) continue;
          const int32_t share = std::min(ShareOf(w, pass.Free, total, false), pass.Free);
          pass.Width(c) += share;
          pass.Free -= share;
          total -= w;
        }
      }
    }
  } else {
    info.Width += pass.MinSum - contentArea;
  }

  // Column starts and cell widths.
  const int32_t hBudget = ScaleX(C * (2 * (FCellPadding + FCellBorderWidth) + FCellHSpacing));
  int32_t budget = hBudget;
  int32_t x = ScaleX(FBorderWidth + FBorderHSpacing + FCellBorderWidth);
  for (int32_t c = 0; c < C; ++c) {
    info.ColWidths.Add(pass.Width(c));
    info.ColStarts.Add(x);
    const int32_t g = budget / (C - c);
    budget -= g;
    x += g + pass.Width(c);
  }
  // Each cell is formatted for the layout's width; in a printing layout it stands for its
  // printable copy (its document then lies in the output's pixels).
  ForEachCell(*FRows, [&](int32_t, int32_t c, TRPTableCellData& cell) {
    cell.Left = info.ColStarts[c];
    cell.Width = SpanWidth(info, c, cell.GetColSpan());
    cell.FormatSubDocument(force);
  });

  // Row heights.
  const bool ignoreContentHeight = (Options & rptoIgnoreContentHeight) != 0;
  info.Height = ScaleY(2 * (FCellPadding * R + FBorderWidth + FBorderVSpacing) + FCellVSpacing * (R - 1) +
                       2 * R * FCellBorderWidth);
  std::vector<int32_t> heights(static_cast<size_t>(R), 0);
  for (int32_t r = 0; r < R; ++r) {
    const TRPTableRow& row = *FRows->GetRow(r);
    int32_t h = 0;
    if (screen) {
      h = row.GetMaxCellHeight(ignoreContentHeight);
    } else {
      h = ScaleY(row.GetMaxBestHeight());
      if (h == 0 || !ignoreContentHeight)
        for (int32_t c = 0; c < C; ++c)
          if (const TRPTableCellData* cell = row.GetItem(c);
              cell && cell->GetRowSpan() == 1 && !(ignoreContentHeight && cell->BestHeight != 0))
            h = std::max(h, cell->DocumentHeight);
      if (h == 0) h = 10;
    }
    heights[static_cast<size_t>(r)] = h;
    info.Height += h;
  }
  // Rows under merged cells taller than their rows.
  const int32_t rowGap = ScaleY(FCellVSpacing + 2 * FCellPadding + 2 * FCellBorderWidth);
  ForEachCell(*FRows, [&](int32_t r, int32_t, TRPTableCellData& cell) {
    const int32_t span = cell.GetRowSpan();
    if (span <= 1) return;
    const int32_t e = screen ? cell.GetContentHeight(ignoreContentHeight) + 2 * FCellPadding
                             : std::max(ScaleY(cell.BestHeight),
                                        ignoreContentHeight && cell.BestHeight != 0 ? 0 : cell.DocumentHeight) +
                                   ScaleY(2 * FCellPadding);
    int32_t f = ScaleY(-FCellVSpacing - 2 * FCellBorderWidth);
    for (int32_t k = r; k < r + span; ++k) f += heights[static_cast<size_t>(k)] + rowGap;
    if (f >= e) return;
    int32_t extra = e - f;
    info.Height += extra;
    std::vector<int32_t> takers;
    for (int32_t k = r + 1; k < r + span; ++k)
      if (!FRows->GetRow(k)->HasCellEndingWithin(k, r, span)) takers.push_back(k);
    if (takers.empty())
      for (int32_t k = r; k < r + span; ++k) takers.push_back(k);
    int32_t sum = 0;
    for (int32_t k : takers) sum += heights[static_cast<size_t>(k)];
    for (size_t i = 0; i < takers.size(); ++i) {
      int32_t& h = heights[static_cast<size_t>(takers[i])];
      const int32_t share = ShareOf(h, extra, sum, i + 1 == takers.size());
      sum -= h;
      h += share;
      extra -= share;
    }
  });
  // Row starts and cell heights.
  const int32_t vBudget = ScaleY(R * (2 * (FCellPadding + FCellBorderWidth) + FCellVSpacing));
  int32_t budgetV = vBudget;
  int32_t y = ScaleY(FBorderWidth + FBorderVSpacing + FCellBorderWidth);
  for (int32_t r = 0; r < R; ++r) {
    info.RowHeights.Add(heights[static_cast<size_t>(r)]);
    info.RowStarts.Add(y);
    const int32_t g = budgetV / (R - r);
    budgetV -= g;
    y += heights[static_cast<size_t>(r)] + g;
  }
  ForEachCell(*FRows, [&](int32_t r, int32_t, TRPTableCellData& cell) {
    cell.Top = info.RowStarts[r];
    cell.Height = SpanHeight(info, r, cell.GetRowSpan());
  });
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

void TRPTableItemInfo::FormatForWidth(int32_t availWidth, TCanvas& canvas, TCustomRPFormattedData& data, bool flag1,
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
  CalculateLayout(availWidth, *FFormatting, flag1, canvas);
}
