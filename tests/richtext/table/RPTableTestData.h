// Tables for the tests: a table inserted into a formatted test document, and helpers
// that fill cells and dump a layout.
#pragma once

#include <memory>
#include <sstream>
#include <string>

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
