// The RTF writer behind SaveRTFToStream (RPRTFExport.h): one object per export, holding
// the export's tables and options; the header, the formatting of styles and the body of
// each document it writes (the main document and the documents of table cells).
//
// State of a body (TRPRTFBodyState, one per document being written, innermost last):
// the text style whose formatting is in force (-1: none known), whether a paragraph has
// been written (the next one then starts with "\par"), whether the item just written
// closed its paragraph itself (a table: the next paragraph needs no "\par"; a table right
// after a table is kept apart by a hidden paragraph, or readers would join their rows),
// and whether the last paragraph was headed by a list marker (its "\par" then follows
// "\plain").
#pragma once

#include <cstdint>
#include <vector>

#include "richtext/interchange/RPRTFExport.h"
#include "richtext/model/RPListInfo.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPStyle.h"

// The font a list level's text marker is drawn in: its own, or a marker font's defaults.
const TFont& RTFMarkerFont(const TRPListLevel& level);

struct TRPRTFBodyState {
  int32_t CurrentTextStyle = -1;
  bool ParagraphWritten = false;
  bool ParagraphClosed = false;
  bool TableClosed = false;  // the item just written was a table, which closed its paragraph
  bool LastParaHasMarker = false;
  int32_t LastParaNo = -1;
  const TRPMarkerItemInfo* LastMarker = nullptr;  // the marker that headed the last paragraph
  bool RightToLeft = false;                       // the paragraph being written
};

class TRPRTFWriter final : public IRPRTFDocumentWriter {
public:
  TRPRTFWriter(TStream& stream, const TRPStyle& style, TRPRTFTables& tables, const WideString& path, double twips,
               uint32_t options);

  // Fills the tables (fonts, colours, overrides) for data at the top level.
  void BuildTables(TCustomRPData& data, TColor color);
  // "{\rtf1..." up to the Unicode-skip word after the list-override table.
  void WriteHeader(TCustomRPData& data);
  // The items of data (selectionOnly: of its selection) at nesting level.
  void WriteBody(TCustomRPData& data, int32_t level, bool selectionOnly, bool topLevel);

  void SaveSubDocument(TStream& stream, TCustomRPData& document, int32_t nestingLevel) override;
  void ParagraphClosed() override;

  // The character formatting of text style styleNo: "\f..." up to the closing blank.
  AnsiString TextFormatting(TCustomRPData& data, int32_t styleNo, bool inStyleSheet) const;
  // The paragraph formatting of paragraph style paraNo; marker is the list marker that
  // heads the paragraph (nullptr: none); level is the table nesting (ignored in the
  // style sheet).
  AnsiString ParaFormatting(TCustomRPData& data, int32_t paraNo, const TCustomRPItemInfo* marker, int32_t level,
                            bool inStyleSheet) const;
  int32_t ColorIndex(TColor color) const;
  int32_t Twips(int32_t pixels) const;

private:
  void Write(AnsiStringView text) const;
  void WriteFontTable() const;
  void WriteColorTable() const;
  void WriteStyleSheet(TCustomRPData& data) const;
  void WriteListTables(TCustomRPData& data);
  AnsiString ListLevelRtf(const TRPListLevel& level) const;
  AnsiString BorderFormatting(const TCustomRPParaInfo& para) const;
  // The style-sheet number of a paragraph or text style ("\s", "\cs"); -1 when the style
  // sheet is not written or the style is not standard.
  int32_t ParaStyleSheetNo(int32_t paraNo) const;
  int32_t TextStyleSheetNo(int32_t styleNo) const;
  bool IsHtmlCodeOnly(int32_t styleNo) const;

  // Body pieces.
  void StartParagraph(TCustomRPData& data, int32_t itemNo, int32_t level, bool forced, TRPRTFBodyState& state);
  void WriteBookmark(const TRPCPInfo& checkpoint);
  void SwitchTextStyle(TCustomRPData& data, int32_t styleNo, TRPRTFBodyState& state) const;
  // "\\nosupersub" when the text style in force is raised or lowered: a superscript run
  // that goes on to the end of its paragraph is lost by some readers (LibreOffice drops
  // it with the paragraph mark) unless it is ended explicitly; "\\plain" does not do it.
  void EndShiftedRun(TRPRTFBodyState& state) const;
  void WriteText(TCustomRPData& data, int32_t itemNo, int32_t from, int32_t to, TRPRTFBodyState& state) const;
  void WriteNonText(TCustomRPData& data, int32_t itemNo, int32_t level, TRPRTFBodyState& state);

  TStream& FStream;
  const TRPStyle& FStyle;
  TRPRTFTables& FTables;
  WideString FPath;
  double FTwips;
  uint32_t FOptions;
  std::vector<TRPRTFBodyState*> FStates;
};
