// The small value types of tables: vertical alignment of cells, option sets, border
// styles and the table's state bits.
#pragma once

#include <cstdint>

#include "platform/graphics/Colors.h"

// The table item's style number.
inline constexpr int32_t rpsnTable = -60;

enum TRPCellVAlign : uint8_t { rpcTop, rpcMiddle, rpcBottom, rpcVDefault };

// A cell's or table's best width: > 0 pixels, < 0 percent of a reference width, 0 none.
using TRPHTMLLength = int32_t;

// Table options: bit n is the option of ordinal n.
using TRPTableOptions = uint16_t;
inline constexpr TRPTableOptions rptoEditing = 1 << 0;
inline constexpr TRPTableOptions rptoRowSizing = 1 << 1;
inline constexpr TRPTableOptions rptoColSizing = 1 << 2;
inline constexpr TRPTableOptions rptoRowSelect = 1 << 3;
inline constexpr TRPTableOptions rptoColSelect = 1 << 4;
inline constexpr TRPTableOptions rptoNoCellSelect = 1 << 5;
inline constexpr TRPTableOptions rptoRTFSaveCellPixelBestWidth = 1 << 6;
inline constexpr TRPTableOptions rptoRTFAllowAutofit = 1 << 7;
inline constexpr TRPTableOptions rptoHideGridLines = 1 << 8;
inline constexpr TRPTableOptions rptoOverlappingCorners = 1 << 9;
inline constexpr TRPTableOptions rptoCellBelowBorders = 1 << 10;
inline constexpr TRPTableOptions rptoIgnoreContentWidth = 1 << 11;
inline constexpr TRPTableOptions rptoIgnoreContentHeight = 1 << 12;
// The table never grows past its target width: when the cells' minimum widths do not fit,
// the columns share the width in proportion to them, and words too long for a cell break
// inside it. For pages of fixed width, where a table sticking out would be cut off.
inline constexpr TRPTableOptions rptoShrinkToWidth = 1 << 13;
inline constexpr TRPTableOptions rptoDefaultOptions =
    rptoEditing | rptoRowSizing | rptoColSizing | rptoRowSelect | rptoColSelect;
static_assert(rptoDefaultOptions == 31);

using TRPTablePrintOptions = uint8_t;
inline constexpr TRPTablePrintOptions rptoHalftoneBorders = 1 << 0;
inline constexpr TRPTablePrintOptions rptoRowsSplit = 1 << 1;
inline constexpr TRPTablePrintOptions rptoWhiteBackground = 1 << 2;
// A row group (rows tied by cells spanning them) taller than the room on its page is cut
// between its rows, and each cell the cut crosses goes on with its next line at the top
// of its piece on the next page, rather than the group overflowing its page whole. For
// pages of fixed height, where what overflows is cut off.
inline constexpr TRPTablePrintOptions rptoSplitRowGroups = 1 << 3;
inline constexpr TRPTablePrintOptions rptoDefaultPrintOptions = rptoHalftoneBorders | rptoRowsSplit;

enum TRPTableBorderStyle : uint8_t { rptbRaised, rptbLowered, rptbColor, rptbRaisedColor, rptbLoweredColor };

// Table state bits.
using TRPTableStates = uint16_t;
inline constexpr TRPTableStates rptsInDocument = 0x0001;
inline constexpr TRPTableStates rptsInEditor = 0x0002;
inline constexpr TRPTableStates rptsLayoutInvalid = 0x0004;
inline constexpr TRPTableStates rptsPaddingChanged = 0x0008;
inline constexpr TRPTableStates rptsResizingColumn = 0x0010;  // the border dragged is a column's
inline constexpr TRPTableStates rptsKeepNeighbour = 0x0020;   // Shift held: the next column keeps its width
inline constexpr TRPTableStates rptsFresh = 0x0040;
inline constexpr TRPTableStates rptsEditorResizing = 0x0080;  // reacting to the cell editor's new size
inline constexpr TRPTableStates rptsCellSelected = 0x0100;

// The cursors registered by tables: over the left outer border (selects a row) and the
// top outer border (selects a column).
inline constexpr int16_t crRPTableSelectRow = 104;
inline constexpr int16_t crRPTableSelectCol = 105;
