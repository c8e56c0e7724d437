// What the RTF reader accepts from untrusted input, and what an import builds of it.
// Each reader holds its own copy (`TRPRTFReader::Limits`), defaulted from here, and so
// does each import's options object (`TRPRTFReaderProperties::Limits`, handed to the
// reader it runs); tests set smaller values on the object they exercise. Every default
// is far beyond what a word processor writes, so no real document is refused.
//
// Going past a limit never raises: the saved group states, `\bin` and data sizes end the parse
// with a result code (TRPRTFReader.h); the table counts stop growing and later entries
// are dropped, so the rest of the document still reads.
//
// Besides the limits of one thing, a parse has a budget for the whole document
// (RPRTFBudget.h): the table cells and grid positions an import builds, and the pixels
// of the pictures it decodes, each an allowance plus a share per input byte, never
// above a ceiling. A table past it ends the parse with rtf_ec_BadTable, and the import
// takes back what it added; a picture past it is left out (the import shows the style
// sheet's invalid picture in its place) and the parse goes on.
#pragma once

#include <cstdint>

struct TRPRTFLimits {
  // Every "{" keeps a copy of the formatting state until its "}". Word processors nest a
  // few dozen groups, but mail programs leave one open per HTML tag of a letter, thousands
  // deep, so depth alone is no measure: the bytes the saved copies take are bounded
  // instead, by this many per byte of input and never more than MaxGroupStateBytes. A
  // group past the bound ends the parse with the no-state result (2).
  int64_t GroupStateBytesPerInputByte = 4096;
  int64_t MaxGroupStateBytes = int64_t{64} << 20;
  // A `\binN` announces N raw bytes. Larger (or negative) counts, and counts beyond the
  // end of the stream, end the parse with the invalid-data result (10) before a byte is
  // taken.
  int64_t MaxBinBytes = int64_t{256} << 20;
  // Decoded picture data (hex or binary) of one `\pict`; the largest photographs that
  // documents embed are a few tens of megabytes. More ends the parse with 10.
  int64_t MaxPictureBytes = int64_t{256} << 20;
  // Decoded data of one embedded object (`\objdata`); more ends the parse with 10.
  int64_t MaxObjectBytes = int64_t{256} << 20;
  // Entries of the font table; documents name a few hundred fonts at most. Fonts past it
  // are not added (their `\fN` finds the default font).
  int32_t MaxFonts = 8192;
  // Entries of the colour table; a colour index past it leaves the colour unchanged.
  int32_t MaxColors = 16384;
  // Entries of the style sheet; entries past it are skipped.
  int32_t MaxStyles = 8192;
  // Cells of one row definition (word processors stop at a few dozen columns); `\cellx`
  // past it moves the last cell's boundary instead of adding a cell.
  int32_t MaxCellsPerRow = 2000;
  // Tab stops of one paragraph; `\tx` past it is ignored.
  int32_t MaxTabsPerParagraph = 1000;
  // Lists of the list table and entries of the list-override table; levels of one list
  // stop at 9 by the format, this limit counts lists and overrides.
  int32_t MaxLists = 4096;
  int32_t MaxListLevels = 9;
  // Nesting of tables (\itapN); word processors nest a few levels. Deeper levels count
  // as this one, so a huge N cannot open millions of tables.
  int32_t MaxTableNesting = 64;
  // Text of one field instruction (a HYPERLINK target, a picture path); longer text is cut.
  int32_t MaxFieldInstructionBytes = 1 << 20;

  // --- What an import builds of it (RPRTFProps.h) -----------------------------------
  // The columns of one imported table: the union of the \cellx boundaries of all its
  // rows, which rows of shifted boundaries multiply. A boundary past it joins the nearest
  // column it has, so the cell spans the columns there are.
  int32_t MaxTableColumns = 1000;
  // The cells (rows times columns) of one imported table; each holds a document. A table
  // that reaches it ends with the row that reached it, and the rows that follow start a
  // new table, so a long run of rows cannot make one grid of millions of cells.
  int32_t MaxTableCells = 250000;
  // A cell merged over more rows or columns than this stays that large; the positions
  // past it hold cells of their own.
  int32_t MaxTableSpan = 1000;

  // --- The budget of one parse (RPRTFBudget.h) ---------------------------------------
  // Table cells and grid positions: every cell read, and the grid that the rows'
  // boundaries span (rows times columns), which merged and shifted rows make larger than
  // the cells. A real cell takes tens of bytes of RTF (its \cellx and \cell at least),
  // so one per InputBytesPerTableCell bytes is far more than documents use, and the
  // allowance covers small pastes.
  int64_t TableCellAllowance = 4096;
  int32_t InputBytesPerTableCell = 1;
  int64_t MaxImportTableCells = int64_t{4} << 20;
  // Decoded picture pixels, of every raster the parse decodes (bitmaps inside metafiles
  // too). Compressed pictures hold a few pixels per byte of RTF, flat diagrams a few
  // hundred; the allowance is a 16-megapixel picture.
  int64_t PicturePixelAllowance = int64_t{16} << 20;
  int32_t PicturePixelsPerInputByte = 64;
  int64_t MaxImportPicturePixels = int64_t{256} << 20;
  // A picture whose data cannot fill more than one part in PictureFillDivisor of the
  // raster its header declares (a PNG whose compressed data could not inflate to it, run-
  // length data that codes fewer pixels) is refused: it is no picture but an allocation.
  int32_t PictureFillDivisor = 8;
  // Text styles the import adds for formattings the style sheet has not
  // (rprsAddIfNeeded). A formatting of its own takes a few control words and its text,
  // tens of bytes at least, and documents use a few hundred: one style per
  // InputBytesPerAddedTextStyle bytes is far more than a document of any length needs,
  // so only a document written to exhaust it gets there. Past it, a run takes the style
  // that rprsUseClosest would choose.
  int64_t AddedTextStyleAllowance = 1024;
  int32_t InputBytesPerAddedTextStyle = 32;
  int64_t MaxAddedTextStyles = 32768;
};
