// The state of one RTF import (TRPRTFReaderProperties::ReadRTFFromStream) and the
// handlers of the reader's events that build the document: text runs and their styles
// (RPRTFImport.cpp, RPRTFImportStyles.cpp), pictures and hyperlinks
// (RPRTFImportPictures.cpp) and tables (RPRTFImportTables.cpp).
//
// Where items go: FCurrent is the document that receives them, the target (at FIndex),
// a header or footer document, or the current cell of the innermost table's row buffer.
// Only the target takes its first item through the document's insertion request.
//
// Tables are built when they end: each row that ends keeps its cells (documents that
// hold what was read) with their properties; the column boundaries of all rows, the
// spans of merged cells and the table's sums then give the table item, which enters the
// document that was current when the table started.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <set>
#include <utility>
#include <vector>

#include "richtext/interchange/RPRTFProps.h"
#include "richtext/interchange/RPRTFReader.h"
#include "richtext/interchange/RPRTFTextStyleIndex.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPParaInfo.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableItem.h"

// A cell of a row that ended: what the row definition said of it (its document is the
// cell of the same index in the row's holder).
struct TRPRTFReadCell {
  uint8_t HMerge = 0;
  uint8_t VMerge = 0;
  int32_t BestWidth = 0;  // twips; negative: fiftieths of a percent
  TColor Color = clNone;
  uint8_t VAlign = 0;
  TRPRTFParaBorder Border;
  int32_t Left = 0;        // twips: the row's left edge or the previous cell's boundary
  int32_t Right = 0;       // twips: the cell's \cellx
  int32_t BestHeight = 0;  // pixels (\richpanecbh); 0: the row's height
};

// A row that ended: the buffer's row with the documents of its cells, and their
// definitions.
struct TRPRTFReadRow {
  bool Heading = false;
  int32_t Height = 0;  // twips
  bool SizesInPixels = false;
  std::unique_ptr<TRPTableRow> Row;
  std::vector<TRPRTFReadCell> Cells;
  // The column boundary each edge took (the left edge, then each cell's right one).
  std::vector<int32_t> Edges;
};

// One table being built (the innermost is the last of the import's stack).
struct TTableInfo {
  // The column boundaries (twips), in the order the rows' edges made them.
  std::vector<int32_t> Boundaries;
  int32_t RowIndex = 0;  // rows ended so far
  // Cells of the rows ended so far, and what the table took from the parse's budget: the
  // larger of those cells and the grid they span (rows times columns).
  int64_t CellsRead = 0;
  int64_t CellsCharged = 0;
  int32_t CellIndex = 0;  // the buffer cell that receives text
  std::unique_ptr<TRPTableItemInfo> Table;
  // One row whose cells receive the text of the row being read.
  std::unique_ptr<TRPTableItemInfo> Buffer;
  // The document that was current when the table started; the table goes there. Root is
  // its absolute root, whose marker list numbers the markers of the buffer's cells.
  TCustomRPData* Owner = nullptr;
  TCustomRPData* Root = nullptr;
  std::vector<TRPRTFReadRow> Rows;
  // Sums (pixels) and counts over rows and cells.
  int64_t VSpacingSum = 0;
  int64_t HSpacingSum = 0;
  int32_t LastVSpacing = 0;  // top + bottom of the last row that gave vertical spacing
  int32_t PrevBottomSpacing = 0;
  int64_t PaddingSum = 0;
  int32_t PaddingCount = 0;
  int64_t RowBorderWidthSum = 0;  // twips
  int32_t RowBorderWidthCount = 0;
  int64_t CellBorderWidthSum = 0;  // twips
  int32_t CellBorderWidthCount = 0;
  bool HasHSpacing = false;
  bool HasVSpacing = false;
  bool WidthsGiven = false;
  bool OneBorderColor = true;
  bool SizesInPixels = false;
  // The row width (twips, negative: fiftieths of a percent; pixels with SizesInPixels)
  // and the row's left and right border colours, of the last row that gave them.
  int32_t RowWidth = 0;
  bool RowWidthInPixels = false;
  TColor RowLightColor = clNone;
  TColor RowDarkColor = clNone;
  uint8_t Alignment = 0;
  bool AlignmentGiven = false;
};

// The longest length in pixels the import makes of a length in twips (or of a picture's
// size): lengths that RTF gives as any 32-bit number stay summable.
inline constexpr int32_t RPRTFMaxPixels = 1 << 24;

class TRPRTFImport {
public:
  TRPRTFImport(TRPRTFReaderProperties& props, TCustomRPData& data, TRPStyle& style, TRPRTFReader& reader,
               int32_t index);
  ~TRPRTFImport();

  // --- The reader's events -----------------------------------------------------------
  void NewText(const AnsiString& text, TRPRTFPosition position);
  void NewUnicodeText(const WideString& text, TRPRTFPosition position);
  void NewPicture(TRPRTFPicture* rtfPicture, std::unique_ptr<TGraphic>& graphic, TRPRTFPosition position,
                  const AnsiString& fileName, bool& inserted);
  void ImportPicture(const AnsiString& location, std::unique_ptr<TGraphic>& graphic, bool& invalid);
  void RequiredPageBreak();
  void HeaderFooter(TRPRTFHeaderFooterType kind, bool starting, bool& supported);
  void Table(TRPRTFTableEventKind whatHappens);
  void Progress(TRPRTFProgressStage stage, uint8_t percentDone);
  // The paragraph's numbering may have changed (RPRTFImportLists.cpp): the marker of the
  // paragraph gets its list style.
  void UpdateMarker();

  // After the parse: the tables still open are dropped, and on failure everything the
  // import added is taken out again. Returns the index of the first item inserted into
  // the target (-1: none).
  int32_t Finish(bool failed);
  bool Aborted() const { return FAborted; }
  // The tables built more cells than the parse's budget holds (RPRTFBudget.h).
  bool OverBudget() const { return FOverBudget; }
  int64_t TextStylesCompared() const { return FTextStyleIndex.Compared(); }

  // --- Styles (RPRTFImportStyles.cpp) ------------------------------------------------
  // The text style of a run: Unicode for UTF-16 text, hypertext inside a hyperlink.
  int32_t ChooseTextStyle(bool unicode, bool jump);
  // Appends a style of exactly what w asks.
  int32_t AddTextStyle(const TRPRTFWantedText& w);
  // The code page of the current run's 8-bit text: its font's character set, except the
  // default set (the document's code page, \ansicpg or \mac, \pc, \pca) and symbol
  // fonts (their bytes are glyphs of no code page).
  uint32_t RunCodePage() const;
  int32_t ChooseParaStyle();
  // The paragraph style of a table: ParaStyleNo, style 0, or style 0 without indents and
  // with the table's alignment.
  int32_t ChooseTableParaStyle(uint8_t alignment, bool alignmentGiven);
  // The RTF paragraph border in screen pixels, and the indents it needs.
  void ConvertBorder(const TRPRTFParaBorder& rtf, TRPBorder& border) const;

  // Screen pixels of a length in twips (or a sum of them), within ±RPRTFMaxPixels.
  int32_t TwipsToPixels(int64_t twips) const;
  TRPRTFReader& Reader() { return FReader; }
  TRPStyle& Style() { return FStyle; }
  TRPRTFReaderProperties& Props() { return FProps; }

private:
  // --- Items (RPRTFImport.cpp) ---------------------------------------------------------
  // Adds item at position into the current document: its paragraph flags and paragraph
  // style, a pending page break, the insertion request for the target's first item.
  // paraNo, when given, is the paragraph style of an item that starts a paragraph.
  void AddItem(AnsiString text, std::unique_ptr<TCustomRPItemInfo> item, TRPRTFPosition position, int32_t paraNo = -1);
  // An empty text item in the current formatting that starts a paragraph.
  void AddEmptyTextItem();
  // Puts an item whose flags and paragraph are set into document rpData (the target at
  // FIndex, any other one at its end).
  void PutItem(TCustomRPData& rpData, AnsiString text, std::unique_ptr<TCustomRPItemInfo> item);
  // The paragraph style of the item before the next one of the current document; -1
  // when there is none.
  int32_t PreviousParaNo() const;
  // Whether the next item of the current document must start a paragraph (an empty
  // document, or a last item that takes a whole line).
  bool MustStartParagraph() const;
  void AddTextRun(AnsiString text, bool textIsUnicode, TRPRTFPosition position);
  // The hyperlink of the innermost field: its target and hint; false outside one.
  bool CurrentHyperlink(AnsiString& target, AnsiString& hint) const;
  // Takes back what the import added (a failed import).
  void Rollback();

  // --- Numbering (RPRTFImportLists.cpp) ----------------------------------------------------
  // The marker that a numbered paragraph starting now begins with; nullptr for a
  // paragraph without numbering. A list-table marker has its list style; an old-style
  // one gets it at the next marker update, when the numbering is complete.
  std::unique_ptr<TRPMarkerItemInfo> CreateMarker();
  // The list style of old-style numbering (\pn): the one this import chose for the
  // level, else an existing equal one, else a new one of one level.
  int32_t OldStyleListStyle(const TRPRTFMarkerProperties& numbering);
  // The list styles of the RTF lists, found or added: at the first list-table paragraph,
  // and again for lists read after it (a later list table replaces the lists before it).
  void MapListTable();
  // The list style the RTF list would be (its levels), without adding it.
  void BuildListStyle(const TRPRTFList97& list, TRPListInfo& style) const;
  // For the first paragraph of each level of a list style added by this import: the
  // level takes the paragraph's indents, and the text's size when it gave none.
  void AdjustListLevel();

  // --- Tables (RPRTFImportTables.cpp) ----------------------------------------------------
  void TableStart();
  void CellEnd();
  void RowEnd();
  void TableEnd();
  TTableInfo* CurrentTable() const { return FTables.empty() ? nullptr : FTables.back().get(); }
  // The buffer cell of the innermost table that receives text.
  TRPTableCellData* CurrentBufferCell() const;
  void AccumulateRowSums(TTableInfo& info, const TRPRTFRowProperties& row);
  // Takes what the table's cells and grid grew by from the parse's budget; raises when
  // they do not fit, which ends the parse.
  void ChargeTableCells(TTableInfo& info);
  // The boundary an edge of a row takes: one within 1 twip, else a new one while there
  // may be more, else the nearest.
  int32_t MatchBoundary(TTableInfo& info, int32_t edge) const;
  // The table item of info with its grid, cells and properties; nullptr for a table
  // without cells.
  std::unique_ptr<TRPTableItemInfo> BuildTable(TTableInfo& info);
  void ApplyTableProperties(TTableInfo& info, TRPTableItemInfo& table);
  // Adds the items that arrived after the last row (in the buffer's first cell) to the
  // document after the table.
  void MoveTrailingItems(TTableInfo& info);
  // Takes the markers still in the cells of info (its buffer and the rows not built into
  // a table) out of the marker list that numbers them, before those cells are freed.
  void ForgetTableMarkers(TTableInfo& info);

  TRPRTFReaderProperties& FProps;
  TCustomRPData& FData;
  TRPStyle& FStyle;
  TRPRTFReader& FReader;
  TCustomRPData* FCurrent;
  double FPixelsPerTwip;

  // The target: where the next item goes, whether it is the first, what was added.
  int32_t FIndex;
  bool FFirstTime = true;
  int32_t FFirstInserted = -1;
  bool FAborted = false;
  bool FOverBudget = false;
  // A \page waits for the next item of this document.
  TCustomRPData* FPageBreakData = nullptr;

  // Headers and footers.
  TRPRTFHeaderFooterType FCurrentHF = rtf_hf_MainText;
  int32_t FHeaderCountBefore = 0;
  int32_t FFooterCountBefore = 0;

  // The counts of the style collections before the import.
  int32_t FTextStyleCountBefore;
  int32_t FParaStyleCountBefore;
  // The text styles by what a run matches (rprsAddIfNeeded).
  TRPRTFTextStyleIndex FTextStyleIndex;

  std::vector<std::unique_ptr<TTableInfo>> FTables;

  // Numbering: the marker whose list style waits for the next marker update (and the
  // document that holds it), whether it came from the list table; the list styles old
  // numbering chose per level (1 .. 11); the list style of each RTF list; the list-style
  // count before the import (those at or above it were added by it); the overrides
  // (and levels) whose first marker restarted its numbering.
  TRPMarkerItemInfo* FPendingMarker = nullptr;
  TCustomRPData* FPendingMarkerData = nullptr;
  bool FMarkerFromListTable = false;
  std::array<int32_t, 11> FLevelMap;
  std::vector<int32_t> FListStyleMap;
  // Which list styles of the document's own one of the RTF lists took (sized at the
  // first mapping).
  bool FListTableMapped = false;
  std::vector<bool> FListStylesTaken;
  int32_t FListStyleCountBefore;
  std::set<std::pair<int32_t, int32_t>> FStartedOverrides;
};
