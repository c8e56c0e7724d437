// Tables for the tests: a table inserted into a formatted test document, and helpers
// that fill cells and dump a layout.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "richtext/layout/RPLayoutTestData.h"
#include "richtext/table/RPTableItem.h"

struct TTableInDocument {
  explicit TTableInDocument(int32_t rowCount, int32_t colCount) {
    auto item = std::make_unique<TRPTableItemInfo>(rowCount, colCount, &Data);
    Table = item.get();
    Data.AddItem("", std::move(item));
  }
  TTestFormattedData Data;
  TRPTableItemInfo* Table;

  TRPTableCellData& Cell(int32_t row, int32_t col) { return *Table->GetCell(row, col); }
  void SetText(int32_t row, int32_t col, const std::string& text) {
    TRPTableCellData& cell = Cell(row, col);
    cell.Clear();
    cell.AddRawText(text, 0, 0);
  }
  // The settings the book conversion gives every table.
  void UseConversionSettings() {
    Table->SetBorderStyle(rptbColor);
    Table->SetCellBorderStyle(rptbColor);
    Table->SetBorderColor(clWhite);
    Table->SetCellBorderColor(0);
    Table->SetBorderWidth(0);
    Table->SetCellBorderWidth(1);
    Table->SetCellPadding(2);
    Table->SetCellVSpacing(-1);
    Table->SetCellHSpacing(-1);
    Table->SetBestWidth(-100);
  }
};

// Printing at the screen's own resolution, and the colour the painting tests set.
inline const TRPResolution SameResolution{96, 96, 96, 96};
inline constexpr TColor Red = 0x0000FF;

// "W H | cols: width@start ... | rows: height@start ... | cells: (r,c) L,T WxH ..."
inline std::string DumpLayout(const TRPTableItemInfo& table, const TRPTableItemFormattingInfo& info) {
  std::ostringstream out;
  out << info.Width << "x" << info.Height << " | cols:";
  for (int32_t c = 0; c < info.ColWidths.Count(); ++c) out << " " << info.ColWidths[c] << "@" << info.ColStarts[c];
  out << " | rows:";
  for (int32_t r = 0; r < info.RowHeights.Count(); ++r) out << " " << info.RowHeights[r] << "@" << info.RowStarts[r];
  if (&info == &table.FormattingInfo()) {
    out << " | cells:";
    for (int32_t r = 0; r < table.Rows().GetRowCount(); ++r)
      for (int32_t c = 0; c < table.Rows().GetColCount(); ++c)
        if (const TRPTableCellData* cell = table.GetCell(r, c))
          out << " (" << r << "," << c << ")" << cell->Left << "," << cell->Top << " " << cell->Width << "x"
              << cell->Height;
  }
  return out.str();
}

// Every position is either a cell whose spans stay inside the grid, or nullptr covered
// by exactly one cell above-left of it; every cell knows its row and is held by nothing.
inline void ExpectGridInvariants(const TRPTableRows& rows) {
  const int32_t rowCount = rows.GetRowCount();
  const int32_t colCount = rows.GetColCount();
  std::vector<int> covers(static_cast<size_t>(rowCount * colCount), 0);
  for (int32_t r = 0; r < rowCount; ++r) {
    ASSERT_EQ(rows.GetRow(r)->Count(), colCount);
    ASSERT_EQ(rows.GetRow(r)->GetRows(), &rows);
    for (int32_t c = 0; c < colCount; ++c) {
      const TRPTableCellData* cell = rows.GetCell(r, c);
      if (!cell) continue;
      ASSERT_EQ(cell->GetRow(), rows.GetRow(r));
      ASSERT_EQ(cell->GetUndoHolder(), nullptr);
      ASSERT_GE(cell->GetRowSpan(), 1);
      ASSERT_GE(cell->GetColSpan(), 1);
      ASSERT_LE(r + cell->GetRowSpan(), rowCount);
      ASSERT_LE(c + cell->GetColSpan(), colCount);
      for (int32_t rr = r; rr < r + cell->GetRowSpan(); ++rr)
        for (int32_t cc = c; cc < c + cell->GetColSpan(); ++cc) {
          ++covers[static_cast<size_t>(rr * colCount + cc)];
          if (rr != r || cc != c) {
            ASSERT_EQ(rows.GetCell(rr, cc), nullptr);
          }
        }
    }
  }
  for (int32_t i = 0; i < rowCount * colCount; ++i) ASSERT_EQ(covers[static_cast<size_t>(i)], 1) << "position " << i;
}

// The grid as text, every row's alignment and page break, every position's cell with
// its spans, attributes and items (kind, paragraph style, options and stored text), so
// that two grids compare by what they hold.
inline std::string DumpGrid(const TRPTableRows& rows) {
  std::ostringstream out;
  for (int32_t r = 0; r < rows.GetRowCount(); ++r) {
    const TRPTableRow& row = *rows.GetRow(r);
    out << "row " << r << " valign " << int(row.VAlign) << (row.PageBreakBefore ? " break" : "") << "\n";
    for (int32_t c = 0; c < row.Count(); ++c) {
      const TRPTableCellData* cell = row.GetItem(c);
      if (!cell) {
        out << "  -\n";
        continue;
      }
      const TRPBooleanRect& v = cell->VisibleBorders;
      out << "  " << cell->GetRowSpan() << "x" << cell->GetColSpan() << " color " << cell->GetCellColor() << " best "
          << cell->BestWidth << "," << cell->BestHeight << " valign " << int(cell->VAlign) << " borders "
          << cell->BorderColor << "," << cell->BorderLightColor << "," << v.Left << v.Top << v.Right << v.Bottom
          << " hint '" << cell->Hint << "' file '" << cell->BackgroundImageFileName << "' back "
          << int(cell->GetBackgroundStyle()) << (cell->GetBackgroundImage() ? "+picture" : "") << " |";
      for (int32_t i = 0; i < cell->GetItemCount(); ++i)
        out << " " << cell->GetItem(i)->StyleNo << "/" << cell->GetItemPara(i) << "/" << int(cell->GetItemOptions(i))
            << "'" << cell->GetItemTextRaw(i) << "'";
      out << "\n";
    }
  }
  return out.str();
}

// A picture of one colour.
inline std::unique_ptr<TBitmap> ColorTile(TColor color, int32_t width = 4, int32_t height = 4) {
  auto tile = std::make_unique<TBitmap>();
  tile->SetPixelFormat(pf24bit);
  tile->SetSize(width, height);
  tile->Canvas()->Brush().SetColor(color);
  tile->Canvas()->FillRect(TRect{0, 0, width, height});
  return tile;
}
