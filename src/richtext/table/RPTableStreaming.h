// A table in a stream: the range of a table being written, and the two components through
// which the component stream carries a table (TRPTableSW, published T) and each of its
// cells (TD, published C).
//
// The stream of a table (the body of its native-format record, RPTableStreaming.cpp):
// the table's published properties as "T.<name>" (its background picture as the binary
// "T.BackgroundImg"), then three properties the wrapper defines:
//   "C"                  the cells: the number of rows written, and when it is above 0
//                        the number of columns, a list start, for each written row from
//                        left to right each cell that stands there: its column span and
//                        row span (clipped to the range), then the cell as a component
//                        (its published properties as "C.<name>", its content as the
//                        binary "C.Data", its picture as "C.BackgroundImg", and a list
//                        end), and a list end;
//   "RowVAlign"          the written rows' vertical alignments, when one is not 0;
//   "RowPageBreakBefore" their page-break flags, when one is set.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/base/Components.h"
#include "platform/base/Filer.h"
#include "richtext/table/RPTableItem.h"

class TRPTableCellData;

// The part of a table that is being written.
class TRPTableStreamSaveInfo : public TObject {
public:
  // The whole table.
  explicit TRPTableStreamSaveInfo(const TRPTableItemInfo& table)
      : RowCount(table.Rows().GetRowCount()), ColCount(table.Rows().GetColCount()) {}

  int32_t StartRow = 0;
  int32_t StartCol = 0;
  int32_t RowCount = 0;
  int32_t ColCount = 0;
  // The heading rows (the first min(HeadingRowCount, RowCount)) go before the range (a
  // printed part of the table).
  bool SaveHeadingRows = false;
  // The range is the selected cells.
  bool SelectionOnly = false;
};

// A cell as a component.
class TD : public TComponent {
public:
  explicit TD(TComponent* owner) : TComponent(owner) {}
  TRPTableCellData* GetCell() const { return FCell; }
  void SetCell(TRPTableCellData* cell) { FCell = cell; }

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  TRPTableCellData* FCell = nullptr;
};

// A table as a component, with the part of it that is written (or the whole table when it
// is read).
class TRPTableSW : public TComponent {
public:
  TRPTableSW(TRPTableItemInfo& table, const TRPTableStreamSaveInfo& saveInfo);

  TRPTableItemInfo* GetTable() const { return &FTable; }
  void DefineProperties(TFiler& filer) override;

  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

private:
  void WriteCells(TWriter& writer);
  void ReadCells(TReader& reader);
  // The rows written: the heading rows (when asked), then the range's.
  std::vector<int32_t> WrittenRows() const;
  bool AnyRowVAlign() const;
  bool AnyRowPageBreak() const;

  TRPTableItemInfo& FTable;
  const TRPTableStreamSaveInfo& FSaveInfo;
  TD* FCellWrapper;
};

inline constexpr char errRPWrongEndOfCellsList[] = "Wrong end of cells list";

// The table as the body of its native-format record: written with the table's range, or
// read into the table (which is rebuilt from it).
void WriteRPFTableBody(TRPTableItemInfo& table, const TRPTableStreamSaveInfo& saveInfo, TStream& stream);
void ReadRPFTableBody(TRPTableItemInfo& table, TStream& stream);
