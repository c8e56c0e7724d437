// The kinds that the RTF reader's events and properties carry.
#pragma once

#include <cstdint>

// Where a reported run stands: it continues the paragraph, starts a new line inside it
// (after \line) or starts a new paragraph (after \par, and at the start).
enum TRPRTFPosition : uint8_t { rtf_ts_ContinuePara = 0, rtf_ts_NewLine = 1, rtf_ts_NewPara = 2 };

enum TRPRTFTableEventKind : uint8_t {
  rpf_tbl_TableStart = 0,
  rpf_tbl_TableEnd = 1,
  rpf_tbl_RowEnd = 2,
  rpf_tbl_CellEnd = 3,
};

enum TRPRTFHeaderFooterType : uint8_t { rtf_hf_MainText = 0, rtf_hf_Header = 1, rtf_hf_Footer = 2 };

// How \highlight is read: ignored, as the sixteen fixed colours, or as a colour-table index.
enum TRPRTFHighlightConvert : uint8_t { rtf_hl_Ignore = 0, rtf_hl_FixedColors = 1, rtf_hl_ColorTable = 2 };

enum TRPRTFProgressStage : uint8_t { rpprtfprStarting = 0, rpprtfprRunning = 1, rpprtfprEnding = 2 };

// What the border words of a group apply to: the paragraph, the row or its current cell.
enum TRPRTFBorderTarget : uint8_t { rtf_bt_Para = 0, rtf_bt_Row = 1, rtf_bt_Cell = 2 };

// How the scanner reads the next characters of a group.
enum TRPRTFParseMode : uint8_t { rtf_rds_Normal = 0, rtf_rds_Binary = 1, rtf_rds_Hex = 2 };

// The result of TRPRTFReader::ParseStream; the first step that fails stops the parse.
enum TRPRTFErrorCode : int32_t {
  rtf_ec_OK = 0,
  rtf_ec_StackUnderflow = 1,   // "}" without an open group
  rtf_ec_StackOverflow = 2,    // no new group state (also: nesting deeper than the limit)
  rtf_ec_UnmatchedBrace = 3,   // the data ends inside an open group
  rtf_ec_InvalidHex = 4,       // no hex digit after \'
  rtf_ec_BadTable = 5,         // a table row the reader does not handle
  rtf_ec_Assertion = 6,        // invalid parse mode
  rtf_ec_EndOfFile = 7,        // the data ends right after a backslash
  rtf_ec_Exception = 9,        // an exception escaped the parse
  rtf_ec_InvalidPicture = 10,  // invalid picture, object or \bin data, or \pict in a picture
  rtf_ec_Aborted = 11,         // an event handler raised
};
