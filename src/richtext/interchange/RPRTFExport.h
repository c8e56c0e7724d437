// RTF export: a document, or the selection of a formatted one, as an RTF 1 stream.
//
// The top-level call builds the export's tables (fonts, colours, list overrides), writes
// the header (font, colour, style-sheet, list and list-override tables), the body and the
// closing brace; a table writes each cell's document through the same writer one nesting
// level deeper, with the tables of the whole export (IRPRTFDocumentWriter,
// RPExportContexts.h). Lengths are the document's pixels times the twips factor, rounded.
//
// Text that reaches the file from names (fonts, styles, bookmarks, hyperlink targets) is
// escaped for the place it stands in, so no name can end a group or a table entry early.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Colors.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPExportContexts.h"

class TCustomRichPane;
class TCustomRPFormattedData;
class TRPStyle;
class IRPClipboard;
class TRPBackground;

// One font of an export's font table.
struct TRPRTFFontTableItem {
  AnsiString FontName;
  uint8_t Charset = 1;  // DEFAULT_CHARSET
};

// The font table of one export: each font name and charset once, in the order first met
// (the text styles' fonts, then the list levels' marker fonts).
class TRPRTFFontTable : public IRPRTFFontTable {
public:
  // The first entry with the same name (compared ignoring case) and charset; -1 when none.
  int32_t Find(const AnsiString& fontName, uint8_t charset) const override;
  // Find, else a new entry at the end; the entry's index.
  int32_t Add(const AnsiString& fontName, uint8_t charset);
  int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
  const TRPRTFFontTableItem& Item(int32_t index) const { return FItems.at(static_cast<size_t>(index)); }
  void Clear() { FItems.clear(); }

private:
  std::vector<TRPRTFFontTableItem> FItems;
};

// The tables one export builds at its top level and hands down to the documents of table
// cells.
struct TRPRTFTables {
  TRPRTFTables() = default;
  TRPRTFTables(const TRPRTFTables&) = delete;
  TRPRTFTables& operator=(const TRPRTFTables&) = delete;
  TRPRTFFontTable FontTable;
  TRPIntegerList StyleFonts;            // per text style, its font's index in FontTable
  TRPIntegerList ListOverrideCounts;    // per list style, from 1 (restarting markers add)
  TRPIntegerList ListOverrideNumbers;   // per list style, its first "\ls" number
  TRPIntegerList ListOverrideCounters;  // per list style, the last "\ls" number taken
  TRPColorList Colors;
  int32_t BookmarkCount = 0;  // bookmarks written so far, named or not
};

// 1440 divided by the screen's pixels per inch (the engine's override when it is set).
double GetRTFTwipsFactor();

// The colour table and the list-override counts of a document. With initialize both are
// emptied first and then take the 17 fixed colours, the colours of the style sheet's text
// and paragraph styles (and of its list levels' marker fonts), and one count of 1 per
// list style; in every case each non-text item of the document adds what it needs
// (FillRTFTables). A document without a style sheet adds no style colours.
void MakeRTFTables(TCustomRPData& data, TRPColorList& colors, TRPIntegerList& listOverrideCounts, bool initialize);

// The document (selectionOnly: its selection) as RTF into stream. At level 0 tables must
// be nullptr: they are built and freed here, and the header and the closing brace are
// written; color is the colour of the view the document stands in (it joins the colour
// table). At levels above 0 (the documents of table cells) tables are the caller's and
// only the body is written. path names the file being written (pictures and hosts may
// use it). False when the document has no style sheet or an exception ended the writing;
// what was written stays in the stream.
bool SaveRTFToStream(TCustomRPData& data, TStream& stream, const WideString& path, double twipsFactor,
                     TRPRTFTables* tables, TColor color, int32_t level, bool selectionOnly);

// The control's document (selectionOnly: its selection) at level 0 with the control's
// effective colour and the twips factor of the screen.
bool SaveRTFToStream(TCustomRichPane& pane, TStream& stream, bool selectionOnly);
