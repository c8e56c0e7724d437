// TRPRTFReaderProperties: the RTF import options of a rich view control (its
// RTFReadProperties) and the builder that turns what the RTF reader (RPRTFReader.h)
// reports into items of a document: it chooses the text and paragraph styles the
// imported formatting uses (or adds them), inserts text, tabs, pictures and hyperlinks,
// fills a header and a footer document, and rebuilds numbered paragraphs as list
// markers and RTF tables as table items.
//
// One import (ReadRTFFromStream) runs a reader of its own over the stream. Its items
// enter the target document at an index: the first through the document's insertion
// request (TCustomRPData::InsertFirstImportedItem), every further one right after the
// one before; items of a table cell, a header or a footer are appended to that document.
// Lengths arrive in twips and become screen pixels (GetScreenPixelsPerInch / 1440).
//
// Preconditions: the target document has a style sheet (TRPStyle), which the header
// and footer documents share; the item classes of text, tabs, pictures, tables and list
// markers are registered (the rich-text model's start-up does it, RPModelStartup.h;
// tables register theirs with the table library).
//
// A failed import changes nothing: when the reader ends with another result than
// rtf_ec_OK, or the document refuses the first item, every item the import added (to
// the target, a header or a footer) is taken out again and the styles it added to the
// style sheet are removed. Only a first item that the document's request joined to its
// own text stays joined (an editor's undo takes that back).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/Object.h"
#include "platform/base/PublishedProperties.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Graphic.h"
#include "richtext/interchange/RPRTFLimits.h"
#include "richtext/interchange/RPRTFProperties.h"
#include "richtext/interchange/RPRTFTypes.h"
#include "richtext/model/RPData.h"

class TRPRTFReader;
class TRPRTFImport;
class TCustomRichPane;

// Which text becomes Unicode text: UTF-16 runs only, none, or every run.
enum TRPReaderUnicode : uint8_t { rpruMixed, rpruNoUnicode, rpruOnlyUnicode };
// How a style is chosen: always the one given, the closest existing one, or an equal
// one that is added when there is none.
enum TRPReaderStyleMode : uint8_t { rprsUseSpecified, rprsUseClosest, rprsAddIfNeeded };
// How \highlight is read (TRPRTFHighlightConvert of the reader).
enum TRPRTFHighlight : uint8_t { rtfhlIgnore, rtfhlFixedColors, rtfhlColorTable };

inline constexpr char errRPNegativeValue[] = "Value must not be negative";

class TRPRTFReaderProperties : public TPersistent {
public:
  TRPRTFReaderProperties();
  ~TRPRTFReaderProperties() override;

  // --- Published options (defaults as stored) ----------------------------------------
  TRPReaderUnicode UnicodeMode = rpruNoUnicode;
  TRPReaderStyleMode TextStyleMode = rprsUseClosest;
  TRPReaderStyleMode ParaStyleMode = rprsUseClosest;
  bool IgnorePictures = false;
  // Table events are not handled: the text of cells flows as paragraphs.
  bool IgnoreTables = false;
  // Text outside hyperlinks may take hypertext styles (rprsUseClosest).
  bool UseHypertextStyles = false;
  // The styles of rprsUseSpecified. Setting a negative value raises ERichPaneError
  // "Value must not be negative" and keeps the old one.
  int32_t GetTextStyleNo() const { return FTextStyleNo; }
  void SetTextStyleNo(int32_t value);
  int32_t GetParaStyleNo() const { return FParaStyleNo; }
  void SetParaStyleNo(int32_t value);
  bool SkipHiddenText = true;
  bool AutoHideTableGridLines = false;
  // \line starts a new paragraph instead of a new line inside one.
  bool LineBreaksAsParagraphs = false;
  bool ExtractMetafileBitmaps = true;
  TRPRTFHighlight ConvertHighlight = rtfhlColorTable;
  // Pictures of INCLUDEPICTURE fields keep their file names.
  bool StoreImagesFileNames = false;
  // Relative hyperlink targets are prefixed by BasePath.
  bool BasePathLinks = true;

  // --- Options of the owner ----------------------------------------------------------
  // The folder relative names of pictures and hyperlinks are taken from.
  AnsiString BasePath;
  // Pictures of INCLUDEPICTURE fields may be read from files inside BasePath (the
  // reader's AllowFieldPictureFiles); off, only the document's picture request gives
  // them.
  bool AllowFieldPictureFiles = false;
  // Tables without any width take the width of their column boundaries.
  bool TableWidthFromBoundaries = false;
  // What the reader and the import accept of untrusted input.
  TRPRTFLimits Limits;
  // Whether a style may be chosen (textStyle: a text style, else a paragraph style);
  // every style may without it.
  std::function<bool(int32_t styleNo, bool textStyle)> OnAllowUseStyle;
  // Asked before a picture becomes an item, with the document it goes to: the handler
  // may supply the item, or take the graphic over and add nothing.
  std::function<void(TCustomRPData& rpData, std::unique_ptr<TGraphic>& graphic, TRPRTFPosition position,
                     const TRPRTFPicture* picture, bool hypertext, std::unique_ptr<TCustomRPItemInfo>& item)>
      OnCustomImageItem;

  // From another TRPRTFReaderProperties: every option above the owner's; anything else
  // as the platform assigns.
  void Assign(const TPersistent& source) override;
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }

  // The documents that receive the next import's header and footer (nullptr: that part
  // is skipped); the distances of the last import in millimetres.
  void SetHeaderFooters(TCustomRPData* header, TCustomRPData* footer);
  int32_t HeaderY() const { return FHeaderY; }
  int32_t FooterY() const { return FFooterY; }

  // Reads the RTF of stream (from its position) into data at item index position (0 ..
  // item count; clamped). position comes back as the index of the first item inserted,
  // -1 when none was. Returns the reader's result (TRPRTFErrorCode), rtf_ec_Aborted when
  // the document refused the first item (Aborted() then tells so), rtf_ec_BadTable when
  // the tables outgrew the parse's budget (RPRTFBudget.h), rtf_ec_Exception when data
  // has no style sheet. A failed import takes back everything it added. Never raises.
  TRPRTFErrorCode ReadRTFFromStream(TStream& stream, TCustomRPData& data, int32_t& position);
  TRPRTFErrorCode ErrorCode() const { return FErrorCode; }
  bool Aborted() const { return FAborted; }
  // The text styles the last import compared its runs with to find an equal one
  // (rprsAddIfNeeded): the work of matching, which tests bound.
  int64_t TextStylesCompared() const { return FTextStylesCompared; }

protected:
  // Lets a descendant put text in place of a control word (the reader's
  // OnTranslateKeyword); nothing here.
  virtual void TranslateKeyword(TRPRTFReader& reader, const AnsiString& keyword, int32_t param, bool fParam,
                                AnsiString& text, bool& doDefault);

private:
  friend class TRPRTFImport;
  void SetUpReader(TRPRTFReader& reader, TRPRTFImport& import, TCustomRPData& data);

  int32_t FTextStyleNo = 0;
  int32_t FParaStyleNo = 0;
  TCustomRPData* FHeader = nullptr;
  TCustomRPData* FFooter = nullptr;
  int32_t FHeaderY = 0;
  int64_t FTextStylesCompared = 0;
  int32_t FFooterY = 0;
  TRPRTFErrorCode FErrorCode = rtf_ec_OK;
  bool FAborted = false;
};

// The RTF import options of a rich view control: its RTFReadProperties, made on first
// use (this unit registers their class with the control).
TRPRTFReaderProperties& RichPaneRTFReadProperties(TCustomRichPane& pane);
