// Laying out and paginating a table of 2,000 rows and 6 columns with the book
// conversion's table settings, each cell a short line of 10-point Arial, in a 600-pixel
// wide document; pages are 800 pixels high.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTablePrint.h"

namespace {

constexpr int32_t PageWidthPx = 600;
constexpr int32_t PageHeightPx = 800;
constexpr int32_t RowCount = 2000;
constexpr int32_t ColCount = 6;

class TTableDocument : public TCustomRPFormattedData {
public:
  TTableDocument() : Style(nullptr) {
    Page.SetPixelFormat(pf24bit);
    Page.SetSize(8, 8);
    auto item = std::make_unique<TRPTableItemInfo>(RowCount, ColCount, this);
    Table = item.get();
    AddItem("", std::move(item));
    Table->SetBorderStyle(rptbColor);
    Table->SetCellBorderStyle(rptbColor);
    Table->SetCellBorderWidth(1);
    Table->SetCellPadding(2);
    Table->SetCellVSpacing(-1);
    Table->SetCellHSpacing(-1);
    Table->SetBestWidth(-100);
    for (int32_t r = 0; r < RowCount; ++r)
      for (int32_t c = 0; c < ColCount; ++c) {
        TRPTableCellData& cell = *Table->GetCell(r, c);
        cell.Clear();
        cell.AddRawText("Row " + std::to_string(r) + ", cell " + std::to_string(c), 0, 0);
      }
  }
  TRPStyle Style;
  TBitmap Page;
  TRPTableItemInfo* Table;
  const IRPStyleSheet* GetRPStyle() const override { return &Style; }
  TRPStyle* GetStyleSheet() const override { return const_cast<TRPStyle*>(&Style); }
  TRPDocumentFlags GetDocumentFlags() const override { return rpdfReportDefaults; }
  int32_t GetWidth() const override { return PageWidthPx; }
  TCanvas* GetCanvas() override { return Page.Canvas(); }
};

// The document's formatting, which lays the table out and formats its 12,000 cells.
void LayOutTable(benchmark::State& state) {
  TTableDocument data;
  for (auto _ : state) {
    data.Table->Changed();
    data.FormatDocument();
    benchmark::DoNotOptimize(data.DocumentHeight);
  }
  state.counters["height px"] = data.Table->GetHeight();
}
BENCHMARK(LayOutTable)->Unit(benchmark::kMillisecond);

// The printing layout of the formatted table and its cut into pages by row groups.
void PaginateTable(benchmark::State& state) {
  TTableDocument data;
  data.FormatDocument();
  const TRPResolution resolution{96, 96, 96, 96};
  size_t pages = 0;
  for (auto _ : state) {
    TRPTablePrintInfo info(*data.Table, resolution);
    info.LayOut(PageWidthPx, *data.Page.Canvas());
    if (info.StartParts())
      while (info.SplitLastPart(PageHeightPx)) {
      }
    pages = static_cast<size_t>(info.PartCount());
    benchmark::DoNotOptimize(pages);
  }
  state.counters["pages"] = static_cast<double>(pages);
}
BENCHMARK(PaginateTable)->Unit(benchmark::kMillisecond);

}  // namespace
