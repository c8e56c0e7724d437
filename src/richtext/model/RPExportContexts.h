// What the document's RTF and HTML writers give every item they write (the items' SaveRTF,
// FillRTFTables and SaveToHTML, RPItemInfo.h): the document, the export's options and the
// tables the writer keeps.
#pragma once

#include <cstdint>

#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Colors.h"
#include "richtext/model/RPLists.h"
#include "richtext/model/RPPictureHtml.h"
#include "richtext/model/RPStyleSheetQueries.h"

class TCustomRPData;

// What an RTF export offers the items that hold documents of their own (table cells).
class IRPRTFDocumentWriter {
public:
  virtual ~IRPRTFDocumentWriter() = default;
  // The body of document at nestingLevel (1 for the cells of a table of the main
  // document), with the tables of the whole export.
  virtual void SaveSubDocument(TStream& stream, TCustomRPData& document, int32_t nestingLevel) = 0;
  // The item just written has closed its paragraph itself, so the next paragraph of the
  // document being written starts without a paragraph mark.
  virtual void ParagraphClosed() = 0;
};

// What an HTML export offers the items that hold documents of their own (table cells).
class IRPHTMLDocumentWriter {
public:
  virtual ~IRPHTMLDocumentWriter() = default;
  // The body of document in the export's flavour with options (its head and end left
  // out), standing on backColor.
  virtual void SaveSubDocumentBody(TStream& stream, TCustomRPData& document, uint32_t options, TColor backColor) = 0;
  // The host's place for the background picture of document (a cell) over backColor:
  // true leaves it to the default saving; false with location (empty: left out).
  virtual bool BackgroundImageHook(TCustomRPData& document, TColor backColor, AnsiString& location) = 0;
};

// RTF export options (TRPRTFOptions).
inline constexpr uint32_t rprtfSaveStyleSheet = 0x01;
inline constexpr uint32_t rprtfDuplicateUnicode = 0x02;
inline constexpr uint32_t rprtfSaveEMFAsWMF = 0x04;
inline constexpr uint32_t rprtfSaveJpegAsJpeg = 0x08;
inline constexpr uint32_t rprtfSaveBitmapDefault = 0x10;
inline constexpr uint32_t rprtfSaveEMFDefault = 0x20;

// The RTF writer's font table, as items look fonts up in it.
class IRPRTFFontTable {
public:
  virtual ~IRPRTFFontTable() = default;
  // The index of the entry with this name (ignoring case) and charset; -1 when none.
  virtual int32_t Find(const AnsiString& name, uint8_t charset) const = 0;
};

struct TRPRTFSaveContext {
  explicit TRPRTFSaveContext(const TRPColorList& colors) : Colors(colors) {}

  TCustomRPData* RPData = nullptr;  // the document being written
  AnsiString Path;                  // the folder of the file being written
  uint32_t Options = 0;             // rprtf...
  double TwipsPerPixel = 15;
  // The colour table, filled by the items' FillRTFTables before the text is written.
  const TRPColorList& Colors;
  int32_t NestingLevel = 0;  // tables around the item
  // Per list style: the base list-override number and the running counter of the
  // overrides its restarting markers take (none when the writer keeps no lists).
  TRPIntegerList* ListOverrideBases = nullptr;
  TRPIntegerList* ListOverrideCounters = nullptr;
  // The font table (none: fonts are written without their number).
  const IRPRTFFontTable* FontTable = nullptr;
  // Writes the documents that items hold (none: such items write no content).
  IRPRTFDocumentWriter* Writer = nullptr;
};

struct TRPHTMLSaveContext {
  TRPHTMLSaveContext(IRPHtmlImageContext& images, TRPHTMLBulletInfoList& savedBullets)
      : Images(images), SavedBullets(savedBullets) {}

  TCustomRPData* RPData = nullptr;         // the document being written
  const IRPStyleSheet* RPStyle = nullptr;  // its style sheet
  IRPHtmlImageContext& Images;             // where pictures go
  TRPHTMLBulletInfoList& SavedBullets;     // bullet images saved so far
  AnsiString Path;                         // the folder of the file being written
  uint32_t Options = 0;                    // HTML export options (rphtml...)
  bool UseCss = false;                     // the CSS flavour
  TColor Background = clNone;              // what the item stands on
  // Writes the documents that items hold (none: such items write no content).
  IRPHTMLDocumentWriter* Writer = nullptr;
};
