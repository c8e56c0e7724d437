// TRPRTFReader: reads an RTF stream and reports what it finds through events (text runs
// with their paragraph position, pictures, objects, table structure, numbering updates,
// headers and footers, progress). It builds no document; an importer subscribes to the
// events and reads the current formatting (`RTFState`) and the document tables while it
// handles them.
//
// The scanner is table-driven: every control word is looked up in the control-word table
// (RPRTFSymbols.h), whose row says whether the word emits a character, opens a
// destination, sets a property (RPRTFProperties.h) or is special. A stack of group states
// keeps the formatting of the open groups; the stack is a list, never recursion.
//
// ParseStream never raises: every failure ends the parse with a TRPRTFErrorCode, an
// exception raised by an event handler gives rtf_ec_Aborted, any other exception
// rtf_ec_Exception. The tables keep their contents after a parse until the next parse or
// the reader's destruction.
//
// Untrusted input is bounded by `Limits` (RPRTFLimits.h). Field pictures
// (INCLUDEPICTURE, IMPORT) are read from local files only when `AllowFieldPictureFiles`
// is set, and only from inside `BasePath`; otherwise the field shows its result.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "platform/base/Components.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"
#include "platform/graphics/Graphic.h"
#include "richtext/interchange/RPRTFBudget.h"
#include "richtext/interchange/RPRTFLimits.h"
#include "richtext/interchange/RPRTFProperties.h"
#include "richtext/interchange/RPRTFReaderState.h"
#include "richtext/interchange/RPRTFSymbols.h"
#include "richtext/interchange/RPRTFTypes.h"

class TRPRTFReader;

// A run of 8-bit text (in the reader's current code page) or of UTF-16 text.
using TRPRTFNewTextEvent = std::function<void(TRPRTFReader* sender, const AnsiString& text, TRPRTFPosition position)>;
using TRPRTFNewUnicodeTextEvent =
    std::function<void(TRPRTFReader* sender, const WideString& text, TRPRTFPosition position)>;
// A picture: rtfPicture is nullptr for a field's picture (fileName then names it);
// graphic is nullptr when the data gives none (metafiles, unknown kinds). The handler may
// take the graphic over (moving it out); what it leaves is freed. inserted starts false.
using TRPRTFNewPictureEvent =
    std::function<void(TRPRTFReader* sender, TRPRTFPicture* rtfPicture, std::unique_ptr<TGraphic>& graphic,
                       TRPRTFPosition position, const AnsiString& fileName, bool& inserted)>;
using TRPRTFNewObjectEvent =
    std::function<void(TRPRTFReader* sender, TRPRTFObject* rtfObject, TRPRTFPosition position, bool& inserted)>;
using TRPRTFTableEvent = std::function<void(TRPRTFReader* sender, TRPRTFTableEventKind whatHappens)>;
using TRPRTFHeaderFooterEvent =
    std::function<void(TRPRTFReader* sender, TRPRTFHeaderFooterType hfType, bool starting, bool& supported)>;
// Supplies the picture of an INCLUDEPICTURE or IMPORT field; invalid marks a graphic
// that stands for a picture that could not be had.
using TRPRTFImportPictureEvent = std::function<void(TRPRTFReader* sender, const AnsiString& location,
                                                    std::unique_ptr<TGraphic>& graphic, bool& invalid)>;
// Lets the owner replace any control word by text; doDefault false drops the word.
using TRPRTFTranslateKeywordEvent = std::function<void(TRPRTFReader* sender, const AnsiString& keyword, int32_t param,
                                                       bool fParam, AnsiString& text, bool& doDefault)>;
using TRPRTFProgressEvent = std::function<void(TRPRTFReader* sender, TRPRTFProgressStage stage, uint8_t percentDone)>;

class TRPRTFReader : public TComponent {
public:
  explicit TRPRTFReader(TComponent* owner = nullptr);
  ~TRPRTFReader() override;

  // Back to the state before any input: the control-word table sorted (once per
  // process), the tables and the stack emptied, the state reset, no pending text, the
  // code page DefCodePage, \uc 1, depth 0, no open table; PixelsPerInch takes the
  // screen's when it is 0.
  void Reset();
  // Reads the whole stream from its position; see TRPRTFErrorCode.
  TRPRTFErrorCode ParseStream(TStream& stream);

  // --- What event handlers read -------------------------------------------------------
  TRPRTFReaderState& RTFState() { return *FState; }
  const TRPRTFReaderState& RTFState() const { return *FState; }
  TRPRTFFontList& FontTable() { return FFontTable; }
  TRPRTFColorList& ColorTable() { return FColorTable; }
  TRPRTFStyleSheet& StyleSheet() { return FStyleSheet; }
  // The lists and overrides of every \listtable and \listoverridetable of the document,
  // in order: a later table adds to them, so that the \ls numbers said before it still
  // hold.
  TRPRTFListTable97& ListTable() { return FListTable; }
  TRPRTFListOverrideTable97& ListOverrideTable() { return FListOverrideTable; }
  // The code page of 8-bit text (\ansicpg, else DefCodePage).
  uint32_t CodePage() const { return FCodePage; }
  // The table alignment of \trql, \trqr, \trqc (0 left, 1 right, 2 centre) and whether a
  // row gave one since the last table start.
  uint8_t TableAlign() const { return FTableAlign; }
  bool TableAlignDefined() const { return FTableAlignDefined; }
  // Tables open now (the events told so far).
  int32_t TableLevel() const { return FTableLevel; }
  // What the parse may still build (started from Limits and the input's size); a handler
  // that builds table cells spends them here.
  TRPRTFBudget& Budget() { return FBudget; }
  // The instruction of the innermost field being read, empty outside fields.
  AnsiString FieldInstruction() const;
  // The font name of character properties: the SYMBOL override, else the font table's
  // name, else empty.
  AnsiString FontNameOf(const TRPRTFCharProperties& charProps) const;

  // --- Properties ---------------------------------------------------------------------
  uint32_t DefCodePage = 0;
  TRPRTFHighlightConvert ConvertHighlight = rtf_hl_FixedColors;
  // A metafile that only draws one bitmap is reported as that bitmap.
  bool ExtractMetafileBitmaps = true;
  // For picture sizes; 0 takes the screen's at the next reset.
  int32_t PixelsPerInch = 0;
  // Tabs arrive as runs of their own (a TAB alone).
  bool TabAsSeparateChar = false;
  // The folder relative names of field pictures are taken from (with its trailing
  // delimiter or without).
  AnsiString BasePath;
  // Field pictures may be loaded from files inside BasePath; off, only OnImportPicture
  // gives them.
  bool AllowFieldPictureFiles = false;
  TRPRTFLimits Limits;

  // --- Events -------------------------------------------------------------------------
  TRPRTFNewTextEvent OnNewText;
  // Setting it switches \u handling on.
  TRPRTFNewUnicodeTextEvent OnNewUnicodeText;
  // Setting it switches picture reading on.
  TRPRTFNewPictureEvent OnNewPicture;
  // Setting it switches object reading on.
  TRPRTFNewObjectEvent OnNewObject;
  TNotifyEvent OnUpdateMarker;
  TRPRTFTableEvent OnTable;
  TNotifyEvent OnRequiredPageBreak;
  TRPRTFHeaderFooterEvent OnHeaderFooter;
  TRPRTFImportPictureEvent OnImportPicture;
  TRPRTFTranslateKeywordEvent OnTranslateKeyword;
  TRPRTFProgressEvent OnProgress;
  TNotifyEvent OnEndParsing;

private:
  using Code = TRPRTFErrorCode;

  // Scanner (RPRTFReader.cpp).
  bool GetChar(uint8_t& ch);
  void UnGetChar(uint8_t ch);
  Code ParseLoop();
  Code ParseKeyword();
  Code TranslateKeyword(const AnsiString& keyword, int32_t param, bool fParam, bool& handled);
  Code ParseSpecial(TRPRTFSpecial special, int32_t param, bool fParam);
  Code ParseHexDigit(uint8_t ch);
  static bool HexDigitValue(uint8_t ch, uint8_t& value);
  Code FinishParse();
  // Bytes of the stream not yet parsed; -1 when the stream cannot tell its size.
  int64_t BytesLeft() const;

  // Characters and text (RPRTFReaderText.cpp).
  Code ParseChar(uint8_t ch);
  Code ParseCharNormal(uint8_t ch);
  Code ParseWideChar(int32_t ansiCode, WideChar wide);
  Code ParseUnicode(int32_t value);
  Code AddTextChar(uint8_t ch);
  Code AddUnicodeChar(WideChar ch);
  Code FlushOutput(uint8_t breakChar);
  Code ReportText(TRPRTFPosition position);
  Code AppendPictureHex(uint8_t first);
  Code AppendPictureByte(uint8_t byte);
  Code FlushPictureHex();
  // The numbering whose text \pntxta and \pntxtb collect; the level of the list being read.
  TRPRTFMarkerProperties* MarkerOfText() const;
  TRPRTFListLevel97* CurrentListLevel() const;
  Code AppendObjectByte(uint8_t ch);
  Code AppendLevelText(uint8_t ch);
  Code AppendFieldInstruction(uint8_t ch);
  WideString CodePageToWide(AnsiStringView text) const;
  AnsiString WideToCodePage(WideStringView text) const;

  // Groups and destinations (RPRTFReaderGroups.cpp).
  Code PushState();
  Code PopState();
  Code ChangeDest(TRPRTFDestination destination);
  Code EndGroupAction(TRPRTFDestination leaving);
  Code StartHeaderFooter(TRPRTFHeaderFooterType kind);

  // Properties (RPRTFReaderProps.cpp).
  Code ApplyProperty(const TRPRTFsymbol& symbol, int32_t value);
  // inText: the words that report text (\page, \cell, \row, \v's start) act.
  Code ApplyNormalProperty(TRPRTFProperty property, int32_t value, bool inText);
  Code ApplyTableProperty(TRPRTFProperty property, int32_t value);
  Code ApplyPictureProperty(TRPRTFProperty property, int32_t value);
  void ApplyMarkerProperty(TRPRTFMarkerProperties& marker, TRPRTFProperty property, int32_t value);
  void ApplyListLevelProperty(TRPRTFProperty property, int32_t value);
  void ApplyStyleSheetProperty(TRPRTFProperty property, int32_t value);
  void ApplyBorderProperty(TRPRTFProperty property, int32_t value);
  Code ApplyHidden(bool hidden, bool inText);
  int32_t ResolveDefFontIndex();
  TColor ColorOf(int32_t index, TColor fallback) const { return FColorTable.ColorOr(index, fallback); }

  // Tables and numbering (RPRTFReaderTables.cpp).
  Code UpdateTableLevel(int32_t wanted, bool allowClose);
  Code FireTable(TRPRTFTableEventKind kind);
  Code UpdateMarker();
  Code CellEnd();
  Code RowEnd();

  // Pictures, objects, fields (RPRTFReaderPictures.cpp, RPRTFReaderFields.cpp).
  Code StartPicture();
  Code EndPicture();
  Code ReportPicture(TRPRTFPicture* picture, std::unique_ptr<TGraphic> graphic, const AnsiString& fileName,
                     bool& inserted);
  Code ReportRejectedFieldPicture();
  Code ReportOwedPicture();
  // True for a picture of the shape's text box that repeats the shape's picture property
  // byte for byte.
  bool RepeatsShapePicture(TRPRTFPicture& picture) const;
  // An alternative (\nonshppict, \shprslt) starts: read unless the picture before it was
  // inserted.
  Code StartAlternative();
  // Admits a raster about to be decoded: refused (EInvalidGraphic, FPictureRefused set)
  // when its data cannot fill more than a small part of it or its pixels do not fit in
  // the budget.
  void AdmitRaster(int64_t declaredPx, int64_t fillablePx);
  // The picture being reported goes without its graphic: what it took of the budget
  // comes back.
  void DropPictureGraphic(std::unique_ptr<TGraphic>& graphic);
  Code EndObjectData();
  Code ProcessFieldInstruction();
  Code ProcessFieldPicture(const AnsiString& instruction, size_t keywordChars);
  Code ProcessSymbolField(const AnsiString& instruction);
  std::unique_ptr<TGraphic> LoadFieldPictureFile(const AnsiString& location) const;

  // Event calls that turn a handler's exception into rtf_ec_Aborted.
  template <class F>
  Code CallHandler(F&& call) {
    try {
      call();
      return rtf_ec_OK;
    } catch (...) {
      return rtf_ec_Aborted;
    }
  }

  // Input.
  TStream* FStream = nullptr;
  int64_t FStreamStart = 0;
  int64_t FStreamSize = 0;  // -1 when the stream cannot tell
  int64_t FBytesRead = 0;
  std::vector<uint8_t> FBuffer;
  size_t FBufferFill = 0;
  size_t FBufferPos = 0;
  bool FStreamEnded = false;
  uint8_t FPushedBack = 0;
  bool FHasPushedBack = false;
  bool FProgress = false;

  // Pending output.
  AnsiString FText;
  WideString FTextW;
  TRPRTFPosition FPosition = rtf_ts_NewPara;
  // The main text's pending position while a header or footer is read.
  TRPRTFPosition FPositionBeforeHF = rtf_ts_NewPara;
  bool FForceFlush = false;

  uint32_t FCodePage = 0;
  int32_t FSkipLeft = 0;  // fallback characters still to drop
  int32_t FDepth = 0;
  // The bytes the saved group states take, and how many this input may have them take.
  int64_t FGroupStateBytes = 0;
  int64_t FGroupStateBudget = 0;
  int32_t FTableLevel = 0;
  std::unique_ptr<TRPRTFPicture> FPicture;
  int64_t FDibHeaderOffset = -1;  // where the picture's bitmap file header goes
  std::unique_ptr<TRPRTFObject> FObject;
  std::unique_ptr<TRPRTFMarkerProperties> FPNMarker;  // of an old-style \pn group
  int32_t FPNSecLevel = 1;
  bool FShpPictInserted = false;
  // A picture with an alternative that gave nothing; it is reported without a graphic
  // before anything else is, unless its alternative follows first.
  std::unique_ptr<TRPRTFPicture> FOwedPicture;
  // The name of the shape property being read (\sn).
  AnsiString FShapePropName;
  // The destination the picture being read was met in.
  TRPRTFDestination FPictureFrom = rdsNorm;
  // The picture property of the shape being read, its kind and bytes (none: empty), so
  // that a text box showing that picture again does not give it twice.
  TRPRTFPictureKind FShapePictureKind = rtf_pict_EMF;
  std::vector<uint8_t> FShapePictureBytes;
  bool FObjectInserted = false;
  uint8_t FHexNibble = 0;    // picture and object hex: the first digit of a pair
  bool FHexHalf = false;     // a nibble is waiting
  uint8_t FEscapeValue = 0;  // the digits of \' read so far
  int32_t FEscapeDigits = 0;
  int64_t FBinBytesLeft = 0;  // of \bin
  bool FSkipDestIfUnknown = false;
  uint8_t FTableAlign = 0;
  bool FTableAlignDefined = false;
  // The first failure of a step that cannot return one (a handler inside a flush).
  Code FPendingCode = rtf_ec_OK;
  TRPRTFBudget FBudget;
  // Pixels of the picture being reported that AdmitRaster took from the budget already,
  // and whether it refused one of its rasters.
  int64_t FPictureAdmittedPx = 0;
  bool FPictureRefused = false;
  // The hex decoding buffer of pictures, written to the data when full.
  std::vector<uint8_t> FPictureHex;

  TRPRTFFontList FFontTable;
  TRPRTFStyleSheet FStyleSheet;
  TRPRTFColorList FColorTable;
  TRPRTFListTable97 FListTable;
  TRPRTFListOverrideTable97 FListOverrideTable;
  std::vector<std::unique_ptr<TRPRTFReaderState>> FStack;
  std::unique_ptr<TRPRTFReaderState> FState;
};
