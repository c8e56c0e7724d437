// The printing draw item of a table: a layout of the table at the output's resolution
// and the parts it is cut into, each a run of whole rows that goes on one page.
//
// Rows tied by cells spanning them (a row group) stay on one page; a part that begins
// with a group taller than the page keeps it and overflows. With repeated headings
// every part starts at a body row and is painted below the heading rows, whose space
// counts in the part's height.
#pragma once

#include <cstdint>
#include <vector>

#include "richtext/model/RPScaling.h"
#include "richtext/table/RPTableItem.h"

struct TRPTablePrintPart {
  int32_t Height = 0;  // what the part takes on its page
  int32_t StartRow = 0;
  int32_t RowCount = 0;
};

class TRPTablePrintInfo : public TObject {
public:
  TRPTablePrintInfo(TRPTableItemInfo& table, const TRPResolution& resolution);

  TRPTableItemInfo& Table;
  const TRPResolution Resolution;
  // Fixed at creation: headings exist and no cell spans out of them.
  const bool RepeatHeading;
  TRPTableItemFormattingInfo FormattingInfo{true};
  // The table's size in the printing layout.
  int32_t Width = 0;
  int32_t Height = 0;
  std::vector<TRPTablePrintPart> Parts;

  // Lays the table out at the output's resolution for width device pixels; the draw
  // item takes the table's size.
  void LayOut(int32_t width, TCanvas& canvas);

  // The split protocol of page breaking (rooms in device pixels).
  // Whether the table may be split; then its first part covers every body row.
  bool StartParts();
  // Whether the first body row group fits in room, less the space below the last row.
  bool CanStartOnPage(int32_t room) const;
  // Cuts the last part where room ends; false when it fits or cannot be cut. Raises
  // ERichPaneError "Internal printing error" when no cut lies inside the part.
  bool SplitLastPart(int32_t room);

  // Paints part partIndex (every row without headings for a negative index) with the
  // table's top-left corner at (x, y).
  void Print(TCanvas& canvas, int32_t x, int32_t y, int32_t partIndex, const TRect& clipRect);

private:
  // The first body row: after the repeated headings, else 0.
  int32_t BodyStart() const;
  bool AllRowsAreHeadings() const;
  int32_t RowBottom(int32_t row) const { return FormattingInfo.RowStarts[row] + FormattingInfo.RowHeights[row]; }
};
