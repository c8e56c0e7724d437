#include "richtext/interchange/RPFDocumentReader.h"

#include <memory>
#include <optional>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/Exception.h"
#include "platform/base/ScopeExit.h"
#include "platform/base/StringLists.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/interchange/RPFLimits.h"
#include "richtext/interchange/RPFLineCursor.h"
#include "richtext/interchange/RPFRecords.h"
#include "richtext/interchange/RPFStyleCollections.h"
#include "richtext/layout/RPBackground.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPGraphicHelpers.h"
#include "richtext/model/RPLayoutInfo.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPUnicode.h"

namespace {

// --- The style sheet as the stream sees it ---------------------------------------------

// The collection of a style sheet that a -9 record of the subkind carries.
TCustomRPInfos* CollectionOf(TRPStyle& sheet, int32_t subKind) {
  switch (subKind) {
    case rpfdkTextStyles:
      return &sheet.TextStyles();
    case rpfdkParaStyles:
      return &sheet.ParaStyles();
    case rpfdkListStyles:
      return &sheet.ListStyles();
    default:
      return nullptr;
  }
}

// An empty collection of the same kind and item class as the style sheet's.
std::unique_ptr<TCustomRPInfos> CreateEmptyCollection(const TRPStyle& sheet, int32_t subKind) {
  switch (subKind) {
    case rpfdkTextStyles:
      return std::make_unique<TFontInfos>(nullptr, sheet.GetTextStyleClass());
    case rpfdkParaStyles:
      return std::make_unique<TParaInfos>(nullptr, sheet.GetParaStyleClass());
    case rpfdkListStyles:
      return std::make_unique<TRPListInfos>(nullptr, sheet.GetListStyleClass());
    default:
      return nullptr;
  }
}

// An empty style sheet whose collections hold the classes of sheet's.
std::unique_ptr<TRPStyle> CreateStyleSheetLike(const TRPStyle& sheet) {
  return std::make_unique<TRPStyle>(nullptr, sheet.GetTextStyleClass(), sheet.GetParaStyleClass(),
                                    sheet.GetListStyleClass());
}

// The document's style sheet, or a copy of it once the stream's collections change it,
// and the maps from the stream's style numbers to the sheet's.
class TRPFStyleState {
public:
  explicit TRPFStyleState(TCustomRPData& data)
      : FReal(data.GetRPStyle()), FRealStyle(const_cast<TRPStyle*>(dynamic_cast<const TRPStyle*>(FReal))) {}

  const IRPStyleSheet* Sheet() const { return FCopy ? FCopy.get() : FReal; }
  // The style sheet whose collections a read may change: a copy of the document's made
  // on first use; nullptr when the document's is no TRPStyle.
  TRPStyle* Editable() {
    if (!FRealStyle) return nullptr;
    if (!FCopy) {
      FCopy = CreateStyleSheetLike(*FRealStyle);
      CopyStyleSheet(*FRealStyle, *FCopy);
    }
    return FCopy.get();
  }
  const TRPStyle* Styles() const { return FCopy ? FCopy.get() : FRealStyle; }

  int32_t TextCount() const { return Sheet() ? Sheet()->GetTextStyleCount() : 0; }
  int32_t ParaCount() const { return Sheet() ? Sheet()->GetParaStyleCount() : 0; }
  int32_t ListCount() const {
    const TRPListInfos* lists = Sheet() ? Sheet()->GetListStyles() : nullptr;
    return lists ? lists->Count() : 0;
  }
  bool TextUnicode(int32_t styleNo) const { return Sheet() && Sheet()->IsTextStyleUnicode(styleNo); }
  uint32_t TextCodePage(int32_t styleNo) const {
    if (!Sheet()) return CP_ACP;
    const int32_t charset = Sheet()->GetTextStyleCharset(styleNo);
    return charset == DEFAULT_CHARSET ? Sheet()->GetDefCodePage() : CharsetToCodePage(charset);
  }
  bool InsertProtected(int32_t styleNo) const {
    const TRPStyle* styles = Styles();
    return styles && styleNo >= 0 && styleNo < styles->TextStyles().Count() &&
           styles->TextStyles()[styleNo]->Protection.Contains(rpprRPFInsertProtect);
  }
  int32_t ResolveTextStyle(int32_t styleNo, int32_t paraNo) const {
    return ResolveTextStyleNo(styleNo, paraNo, Sheet());
  }

  // Puts the changed collections into the document's style sheet; the previous ones are
  // kept until Forget, so that Restore can put them back.
  void Apply() {
    if (!FCopy || !FRealStyle) return;
    FBackup = CreateStyleSheetLike(*FRealStyle);
    CopyStyleSheet(*FRealStyle, *FBackup);
    CopyStyleSheet(*FCopy, *FRealStyle);
  }
  void Restore() {
    if (FBackup) CopyStyleSheet(*FBackup, *FRealStyle);
    FBackup.reset();
  }

  // The maps that the stream's collections made (none: numbers stand as they are).
  std::optional<TRPIntegerList> TextMap, ParaMap, ListMap;

private:
  static void CopyStyleSheet(const TRPStyle& source, TRPStyle& target) {
    target.TextStyles().Assign(source.TextStyles());
    target.ParaStyles().Assign(source.ParaStyles());
    AssignListStyles(target.ListStyles(), source.ListStyles());
    target.DefCodePage = source.DefCodePage;
    target.DefUnicodeStyle = source.DefUnicodeStyle;
  }

  const IRPStyleSheet* FReal;
  TRPStyle* FRealStyle;
  std::unique_ptr<TRPStyle> FCopy;
  std::unique_ptr<TRPStyle> FBackup;
};

// --- What reads share --------------------------------------------------------------------

// The state one read and the reads of the table cells nested in it share.
struct TRPFReadContext {
  TRPFReadContext(TCustomRPData& data, TRPFReadContext* outer)
      : Outer(outer),
        Depth(outer ? outer->Depth + 1 : 0),
        Limits(outer ? outer->Limits : DefaultRPFLimits()),
        OwnStyles(outer ? nullptr : std::make_unique<TRPFStyleState>(data)),
        Styles(outer ? outer->Styles : *OwnStyles) {}

  TRPFReadContext* Outer;
  int32_t Depth;
  TRPFLimits Limits;
  uint32_t Warnings = 0;
  std::unique_ptr<TRPFStyleState> OwnStyles;
  TRPFStyleState& Styles;

  uint32_t& AllWarnings() { return Outer ? Outer->AllWarnings() : Warnings; }
};

// The read in progress on this thread (reads nest through table cells).
thread_local TRPFReadContext* CurrentRead = nullptr;

// --- One record's header ------------------------------------------------------------------

struct TRPFHeader {
  int32_t StyleNo = 0;
  int32_t LineCount = 0;
  int32_t ParaNo = 0;
  int32_t Options = 0;
  int32_t ReadMode = 0;
  TRPTag Tag;
  int32_t SubKind = 0;                           // document data
  int32_t BackStyle = 0;                         // background
  int32_t BackColor = 0;                         // background
  bool RaiseEvent = false;                       // checkpoint
  bool Persistent = false;                       // checkpoint
  std::unique_ptr<TCustomRPItemInfo> Prototype;  // items and text
};

// An item read and held until the whole stream has been read.
struct TStagedItem {
  AnsiString Text;
  std::unique_ptr<TCustomRPItemInfo> Item;
};

class TRPFDocumentReader {
public:
  TRPFDocumentReader(TCustomRPData& data, const TRPFReadRequest& request, TRPFReadContext& context)
      : FData(data), FRequest(request), FContext(context), FStreaming(data) {}

  // The first phase: false for a damaged stream.
  bool Parse(TStream& stream, int32_t index);
  // The layout block was shorter than its format allows.
  bool InvalidLayout() const { return FInvalidLayout; }
  // The second phase; false when the document refused the first item (nothing of the
  // stream is in it then).
  bool Commit(int32_t& index, TColor& color);
  // Items read are freed without having entered the document.
  void Discard();

private:
  TRPFStyleState& Styles() { return FContext.Styles; }
  void Warn(uint32_t warning) { FContext.AllWarnings() |= warning; }
  bool IsRoot() const { return FData.GetRootData() == &FData && !FContext.Outer; }
  uint32_t Options() const { return FData.GetRPFOptions(); }

  bool ReadRecord();
  bool ParseHeader(const AnsiString& line, TRPFHeader& header);
  bool MapStyleNumber(int32_t& n, const std::optional<TRPIntegerList>& map, int32_t count);
  bool ReadLine(TRPFBodyMode mode, bool block, bool unicode, AnsiString& line);
  bool ReadDocData(TRPFHeader& header);
  bool ReadDocDataLine(TRPFHeader& header, int32_t lineNo, const AnsiString& line);
  bool ReadCollection(int32_t subKind, TRPFHeader& header, const AnsiString& line);
  bool ReadBackground(TRPFHeader& header);
  bool ReadCheckpoint(TRPFHeader& header);
  bool ReadTextRecord(TRPFHeader& header);
  bool ReadItemRecord(TRPFHeader& header);
  // The bytes of a data line: a binary block as it is, hexadecimal text decoded; false
  // for bad hexadecimal text.
  bool DataBytes(const TRPFHeader& header, const AnsiString& line, AnsiString& bytes) const;

  // InsertRPFItem: places an item read (paragraph, checkpoint, text form, list number)
  // and holds it (an item left out is freed); false for a style number out of range.
  bool StageItem(AnsiString text, std::unique_ptr<TCustomRPItemInfo> item);
  // A list number of the stream through the list-style map: out of range, 0 (-1 without
  // list styles) and warning 0x04.
  int32_t MapListNo(int32_t listNo);
  // The style numbers an item keeps beside its header (a tab's text style, a marker's
  // list) through the maps.
  bool MapItemReferences(TCustomRPItemInfo& item);
  void LoadPrevMarkers(const AnsiString& bytes);
  const TCustomRPItemInfo* PreviousItem() const;
  void ApplyEndRules();

  TCustomRPData& FData;
  const TRPFReadRequest& FRequest;
  TRPFReadContext& FContext;
  TRPFStreaming FStreaming;
  std::unique_ptr<TRPFLineCursor> FCursor;
  int32_t FIndex = 0;
  int32_t FVersion = 0, FSubVersion = 0;
  std::unique_ptr<TRPCPInfo> FPendingCP;
  std::vector<TStagedItem> FItems;
  // Document records held for the second phase.
  std::optional<TRPLayoutInfo> FLayout;
  std::optional<std::vector<AnsiString>> FDocProperties;
  std::optional<AnsiString> FMarkers;
  bool FBackSeen = false;
  int32_t FBackStyle = 0;
  TColor FBackColor = clNone;
  std::unique_ptr<TGraphic> FBackPicture;
  bool FInvalidLayout = false;
};

bool TRPFDocumentReader::Parse(TStream& stream, int32_t index) {
  FIndex = index;
  const int64_t size = stream.Size() - stream.Position();
  AnsiString buffer(static_cast<size_t>(std::max<int64_t>(size, 0)), '\0');
  if (!buffer.empty()) stream.ReadBuffer(buffer.data(), static_cast<int32_t>(buffer.size()));
  FCursor = std::make_unique<TRPFLineCursor>(std::move(buffer));
  while (!FCursor->AtEnd())
    if (!ReadRecord()) return false;
  ApplyEndRules();
  return true;
}

bool TRPFDocumentReader::ReadRecord() {
  AnsiString line;
  if (!FCursor->ReadTextLine(line)) return false;
  TRPFHeader header;
  if (!ParseHeader(line, header)) return false;
  switch (header.StyleNo) {
    case rpfrkVersion:
      return true;
    case rpfrkDocData:
      return ReadDocData(header);
    case rpfrkBackground:
      return ReadBackground(header);
    case rpfrkCheckpoint:
      return ReadCheckpoint(header);
    default:
      return header.StyleNo >= 0 ? ReadTextRecord(header) : ReadItemRecord(header);
  }
}

// --- Header (ParseRPFHeader) -------------------------------------------------------------

bool TRPFDocumentReader::MapStyleNumber(int32_t& n, const std::optional<TRPIntegerList>& map, int32_t count) {
  if (map) n = n < map->Count() ? (*map)[n] : -1;
  if (n >= 0 && (n < count || !Styles().Sheet())) return true;
  Warn(rpfwConvUnknownStyles);
  if (!(Options() & rpfoConvUnknownStylesToZero)) return false;
  n = 0;
  return true;
}

bool TRPFDocumentReader::ParseHeader(const AnsiString& line, TRPFHeader& header) {
  AnsiStringView cursor = line;
  const IRPStyleSheet* sheet = Styles().Sheet();
  const bool styleByName = !cursor.empty() && cursor[0] == '"';
  TRPFHeaderRec rec;
  if (!RPFReadStyleNumberRec(cursor, sheet, rec)) return false;
  header.StyleNo = rec.StyleNo;
  if (header.StyleNo == rpfrkVersion) {
    return RPFReadInteger(cursor, FVersion) && RPFReadInteger(cursor, FSubVersion);
  }
  // Every line of a record takes at least one byte, but the last may end the buffer.
  if (!RPFReadInteger(cursor, header.LineCount) || header.LineCount < 0 ||
      static_cast<size_t>(header.LineCount) > FCursor->Remaining() + 1)
    return false;
  const bool paraByName = !cursor.empty() && cursor[0] == '"';
  if (!RPFReadStyleNumber(cursor, sheet, header.ParaNo)) return false;
  if (FVersion >= 1 && FSubVersion >= 2 && !RPFReadInteger(cursor, header.Options)) return false;
  if (!RPFReadInteger(cursor, header.ReadMode) || header.ReadMode < rpfbmHex || header.ReadMode > rpfbmHexText)
    return false;
  const bool quotedTags = FVersion >= 2 || FSubVersion >= 3;
  if (!RPFReadStringField(cursor, FData.TagsArePChars(), quotedTags, header.Tag)) return false;
  switch (header.StyleNo) {
    case rpfrkDocData:
      return RPFReadInteger(cursor, header.SubKind);
    case rpfrkBackground:
      return RPFReadInteger(cursor, header.BackStyle) && RPFReadInteger(cursor, header.BackColor);
    case rpfrkCheckpoint: {
      int32_t flag = 0;
      if (RPFReadInteger(cursor, flag)) header.RaiseEvent = flag != 0;
      flag = 0;
      if (RPFReadInteger(cursor, flag)) header.Persistent = flag != 0;
      return true;
    }
    default:
      break;
  }
  // An item: its kind, the paragraph and text style it lands in, the rest of its header.
  header.Prototype = CreateItemByStyleNo(header.StyleNo, &FData);
  if (!header.Prototype) return false;
  TCustomRPItemInfo& item = *header.Prototype;
  item.BeforeLoading(rplfRPF);
  if (header.StyleNo >= 0 && header.StyleNo != rpDefaultTextStyle && !styleByName &&
      !MapStyleNumber(header.StyleNo, Styles().TextMap, Styles().TextCount()))
    return false;
  if (header.ParaNo != -1 && !paraByName && !MapStyleNumber(header.ParaNo, Styles().ParaMap, Styles().ParaCount()))
    return false;
  item.StyleNo = header.StyleNo;
  item.ParaNo = header.ParaNo;
  item.ItemOptions = static_cast<TRPItemOptions>(header.Options & rpioStoredMask);
  item.Tag = header.Tag;
  return item.ReadRPFHeaderExtra(cursor, FStreaming);
}

// --- Lines -------------------------------------------------------------------------------

bool TRPFDocumentReader::ReadLine(TRPFBodyMode mode, bool block, bool unicode, AnsiString& line) {
  if (block) return FCursor->ReadBlock(line);
  if (unicode && mode == rpfbmHex) return FCursor->ReadUnicodeLine(line);
  return FCursor->ReadTextLine(line);
}

bool TRPFDocumentReader::DataBytes(const TRPFHeader& header, const AnsiString& line, AnsiString& bytes) const {
  if (header.ReadMode == rpfbmBinary) {
    bytes = line;
    return true;
  }
  TMemoryStream decoded;
  if (!RPFHexToStream(line, decoded)) return false;
  bytes.assign(static_cast<const char*>(decoded.Memory()), static_cast<size_t>(decoded.Size()));
  return true;
}

// --- Document records ----------------------------------------------------------------------

bool TRPFDocumentReader::ReadDocData(TRPFHeader& header) {
  for (int32_t lineNo = 0; lineNo < header.LineCount; ++lineNo) {
    AnsiString line;
    const bool block =
        header.ReadMode == rpfbmBinary && lineNo == RPFDocDataLine && header.SubKind != rpfdkDocProperties;
    if (!ReadLine(rpfbmNone, block, false, line)) return false;
    if (!ReadDocDataLine(header, lineNo, line)) return false;
  }
  return true;
}

bool TRPFDocumentReader::ReadDocDataLine(TRPFHeader& header, int32_t lineNo, const AnsiString& line) {
  // Document records of a nested read (a table cell) and of a document that is no root
  // belong to the document that holds them: passed over.
  if (!IsRoot()) return true;
  const int32_t subKind = header.SubKind;
  if (subKind == rpfdkDocProperties) {
    if (FRequest.Load && (Options() & rpfoLoadDocProperties)) {
      if (!FDocProperties) FDocProperties.emplace();
      FDocProperties->push_back(RPFDecodeLineBreaks(line));
    }
    return true;
  }
  if (lineNo != RPFDocDataLine) return true;
  switch (subKind) {
    case rpfdkTextStyles:
    case rpfdkParaStyles:
    case rpfdkListStyles:
      return ReadCollection(subKind, header, line);
    case rpfdkLayout: {
      if (!FRequest.Load || !(Options() & rpfoLoadLayout) || !FRequest.Layout) return true;
      TRPLayoutInfo layout;
      try {
        if (header.ReadMode == rpfbmBinary)
          layout.LoadFromBinaryString(line);
        else if (!layout.LoadFromHexText(line))
          return false;
      } catch (const ERichPaneError&) {
        FInvalidLayout = true;
        return false;
      }
      layout.FirstMarkerListNo = MapListNo(layout.FirstMarkerListNo);
      FLayout = layout;
      return true;
    }
    case rpfdkMarkers: {
      if (!FRequest.Load || !(Options() & rpfoLoadLayout) || !FData.GetPrevMarkerList()) return true;
      AnsiString bytes;
      if (!DataBytes(header, line, bytes)) return false;
      // Checked now, so that a damaged block fails the read before anything changes.
      TRPMarkerList check;
      try {
        check.LoadMarkersFromBinaryString(bytes, &FData);
      } catch (const Exception&) {
        return false;
      }
      FMarkers = std::move(bytes);
      return true;
    }
    default:
      return true;
  }
}

bool TRPFDocumentReader::ReadCollection(int32_t subKind, TRPFHeader& header, const AnsiString& line) {
  const TRPFReaderStyleMode mode =
      subKind == rpfdkTextStyles ? FData.GetRPFTextStylesReadMode() : FData.GetRPFParaStylesReadMode();
  AnsiString bytes;
  if (!DataBytes(header, line, bytes)) return false;
  if (mode == rpf_sIgnore || bytes.empty()) return true;
  if (static_cast<uint8_t>(bytes[0]) != RPFCollectionMarker) return false;
  TRPStyle* editable = Styles().Editable();
  if (!editable) return true;  // a style sheet of another kind keeps its styles
  std::optional<TRPIntegerList>& map = subKind == rpfdkTextStyles   ? Styles().TextMap
                                       : subKind == rpfdkParaStyles ? Styles().ParaMap
                                                                    : Styles().ListMap;
  // A second collection of a kind, once the first made a map, is not applied.
  if (map && !FRequest.Load) return true;
  std::unique_ptr<TCustomRPInfos> read = CreateEmptyCollection(*editable, subKind);
  if (!read) return true;
  // List levels find their image lists by tag through the document.
  const TRPFImageListContext imageLists(FData);
  if (auto* lists = dynamic_cast<TRPListInfos*>(read.get())) lists->ImageLists = &imageLists;
  try {
    ReadStyleCollection(bytes, *read, [this] { Warn(rpfwUnknownStyleProperties); });
  } catch (const Exception&) {
    return false;
  }
  if (read->Count() > FContext.Limits.MaxStylesPerCollection) return false;
  TCustomRPInfos& target = *CollectionOf(*editable, subKind);
  if (FRequest.Load) {
    if (subKind == rpfdkListStyles)
      AssignListStyles(static_cast<TRPListInfos&>(target), static_cast<TRPListInfos&>(*read));
    else
      target.Assign(*read);
    return true;
  }
  map.emplace();
  target.MergeStyles(*read, mode == rpf_sInsertMap ? rpmmClosest : rpmmMerge, *map,
                     subKind == rpfdkParaStyles && Styles().TextMap ? &*Styles().TextMap : nullptr);
  return true;
}

bool TRPFDocumentReader::ReadBackground(TRPFHeader& header) {
  const bool apply = IsRoot() && (Options() & rpfoLoadBack);
  if (apply) {
    FBackSeen = true;
    FBackStyle = header.BackStyle;
    FBackColor = header.BackColor;
  }
  AnsiString className;
  for (int32_t lineNo = 0; lineNo < header.LineCount; ++lineNo) {
    AnsiString line;
    const bool block = header.ReadMode == rpfbmBinary && lineNo == 1;
    if (!ReadLine(rpfbmNone, block, false, line)) return false;
    if (lineNo == 0) className = line;
    if (lineNo != 1 || !apply) continue;
    // The picture goes to a graphic of the class the stream names when it is known (a
    // scratch bitmap otherwise): without a background to take it, it is only checked.
    TGraphicClass graphicClass = FindGraphicClass(className);
    std::unique_ptr<TGraphic> picture =
        graphicClass ? RPCreateGraphic(graphicClass) : std::unique_ptr<TGraphic>(std::make_unique<TBitmap>());
    try {
      if (header.ReadMode == rpfbmBinary)
        RPFLoadPictureFromBinaryStr(line, *picture);
      else if (!RPFLoadPictureFromHex(line, *picture))
        return false;
    } catch (const Exception&) {
      return false;
    }
    FBackPicture = std::move(picture);
  }
  return true;
}

bool TRPFDocumentReader::ReadCheckpoint(TRPFHeader& header) {
  for (int32_t lineNo = 0; lineNo < header.LineCount; ++lineNo) {
    AnsiString line;
    if (!FCursor->ReadTextLine(line)) return false;
    FPendingCP = std::make_unique<TRPCPInfo>();
    FPendingCP->Name = RPFDecodeLineBreaks(line);
    FPendingCP->Tag = header.Tag;
    FPendingCP->RaiseEvent = header.RaiseEvent;
    FPendingCP->Persistent = header.Persistent;
  }
  return true;
}

// --- Items ---------------------------------------------------------------------------------

bool TRPFDocumentReader::ReadTextRecord(TRPFHeader& header) {
  const auto mode = static_cast<TRPFBodyMode>(header.ReadMode);
  const bool unicode = header.Prototype->IsUnicode();
  for (int32_t lineNo = 0; lineNo < header.LineCount; ++lineNo) {
    AnsiString line;
    if (!ReadLine(mode, mode == rpfbmBinary, unicode, line)) return false;
    std::unique_ptr<TCustomRPItemInfo> item = CreateItemCopy(*header.Prototype, &FData, false);
    item->BeforeLoading(rplfRPF);
    AnsiString text;
    TRPFLineMode lineMode = rpflmText;
    TRPFReadState state = rpfrsReading;
    if (!item->ReadRPFLine(line, FStreaming, mode, 0, 1, text, lineMode, state)) return false;
    if (!StageItem(std::move(text), std::move(item))) return false;
  }
  return true;
}

bool TRPFDocumentReader::ReadItemRecord(TRPFHeader& header) {
  const auto mode = static_cast<TRPFBodyMode>(header.ReadMode);
  std::unique_ptr<TCustomRPItemInfo> item = std::move(header.Prototype);
  AnsiString name;
  if (!item->GetBoolValue(rpibqRPFBody)) {
    // The item reads no lines of its own: they are passed over (a block announced by the
    // binary mode before the last one).
    for (int32_t lineNo = 0; lineNo < header.LineCount; ++lineNo) {
      AnsiString line;
      const bool block = mode == rpfbmBinary && lineNo + 1 == header.LineCount;
      if (!ReadLine(rpfbmNone, block, false, line)) return false;
    }
    return StageItem(std::move(name), std::move(item));
  }
  TRPFLineMode lineMode = rpflmText;
  TRPFReadState state = rpfrsReading;
  for (int32_t lineNo = 0; lineNo < header.LineCount; ++lineNo) {
    AnsiString line;
    if (!ReadLine(rpfbmNone, lineMode == rpflmBinaryBlock, false, line)) return false;
    // The items of a table's cells are read through this call: the nesting it may reach
    // is checked where a cell's data begins (ReadRPFDataProperty).
    if (!item->ReadRPFLine(line, FStreaming, mode, lineNo, header.LineCount, name, lineMode, state)) return false;
  }
  return StageItem(std::move(name), std::move(item));
}

const TCustomRPItemInfo* TRPFDocumentReader::PreviousItem() const {
  if (!FItems.empty()) return FItems.back().Item.get();
  if (FRequest.NewParagraph || FRequest.ClearFirst || FIndex == 0) return nullptr;
  return FData.GetItem(FIndex - 1);
}

bool TRPFDocumentReader::StageItem(AnsiString text, std::unique_ptr<TCustomRPItemInfo> item) {
  // Text of a style protected against insertion is left out of an insertion.
  if (FRequest.Insert && item->StyleNo >= 0 &&
      Styles().InsertProtected(Styles().ResolveTextStyle(item->StyleNo, std::max(item->ParaNo, 0))))
    return true;
  // Placing: -1 joins the previous item's paragraph when there is one that does not take
  // a whole line; a whole-line item, and an item with nothing to continue, start one.
  const TCustomRPItemInfo* previous = PreviousItem();
  const bool wholeLine = item->GetBoolValue(rpibqWholeLine);
  const bool canContinue = previous && !previous->GetBoolValue(rpibqWholeLine) && !wholeLine;
  if (item->ParaNo == -1 && canContinue) {
    item->SetContinuesLine(true);
    item->ParaNo = previous->ParaNo;
  } else {
    if (item->ParaNo == -1) item->ParaNo = 0;
    if (!canContinue && (item->GetContinuesLine() || item->GetLineBreakBefore())) {
      item->SetContinuesLine(false);
      item->SetLineBreakBefore(false);
    } else if (canContinue && !item->StartsParagraph()) {
      // A line of the previous item's paragraph (continued or broken) takes its number.
      item->ParaNo = previous->ParaNo;
    }
  }
  if (FPendingCP) {
    item->Checkpoint = std::move(FPendingCP);
    item->Checkpoint->ItemInfo = item.get();
  }
  if (item->StyleNo >= 0) {
    // The text takes the form its style keeps.
    const int32_t style = Styles().ResolveTextStyle(item->StyleNo, item->ParaNo);
    const bool styleUnicode = Styles().TextUnicode(style);
    if (item->IsUnicode() && !styleUnicode) {
      text = RawUnicodeToAnsi(Styles().TextCodePage(style), text);
      item->ItemOptions &= ~rpioUnicode;
      Warn(rpfwConvFromUnicode);
    } else if (!item->IsUnicode() && styleUnicode) {
      text = AnsiToRawUnicode(Styles().TextCodePage(style), text);
      item->ItemOptions |= rpioUnicode;
      Warn(rpfwConvToUnicode);
    }
  } else if (!MapItemReferences(*item)) {
    return false;
  }
  FItems.push_back(TStagedItem{std::move(text), std::move(item)});
  return true;
}

int32_t TRPFDocumentReader::MapListNo(int32_t listNo) {
  if (listNo < 0) return listNo;
  const std::optional<TRPIntegerList>& map = Styles().ListMap;
  if (map) listNo = listNo < map->Count() ? (*map)[listNo] : -1;
  const int32_t count = Styles().ListCount();
  if (listNo >= 0 && listNo < count) return listNo;
  Warn(rpfwConvUnknownStyles);
  return count > 0 ? 0 : -1;
}

bool TRPFDocumentReader::MapItemReferences(TCustomRPItemInfo& item) {
  // An associated text style (a tab's) is a text style number of the stream too.
  int32_t styleNo = item.GetAssociatedTextStyleNo();
  if (styleNo >= 0 && styleNo != rpDefaultTextStyle) {
    if (!MapStyleNumber(styleNo, Styles().TextMap, Styles().TextCount())) return false;
    item.SetAssociatedTextStyleNo(styleNo);
  }
  if (auto* marker = dynamic_cast<TRPMarkerItemInfo*>(&item)) marker->ListNo = MapListNo(marker->ListNo);
  return true;
}

void TRPFDocumentReader::ApplyEndRules() {
  if (!FItems.empty() && FItems.back().Item->StyleNo == rpkindListMarker) {
    // A list marker that ends its paragraph gets an empty text item after it.
    const bool atEnd = FRequest.ClearFirst || FIndex >= FData.GetItemCount();
    if (atEnd || FData.StartsParagraph(FIndex)) {
      const TCustomRPItemInfo& marker = *FItems.back().Item;
      TRPItemClass textClass = GetTextItemClass();
      if (!textClass) throw ERichPaneError(errRPNoTextItemClass);
      std::unique_ptr<TCustomRPItemInfo> text = textClass->Create(&FData);
      text->StyleNo = 0;
      text->ParaNo = marker.ParaNo;
      text->SetContinuesLine(true);
      if (Styles().TextUnicode(0)) text->ItemOptions |= rpioUnicode;
      text->BeforeLoading(rplfRPF);
      FItems.push_back(TStagedItem{AnsiString(), std::move(text)});
    }
  }
  if (FPendingCP) {
    // A checkpoint after the last item becomes the document's trailing checkpoint when
    // the read ends at the document's end and it has none yet.
    const bool atEnd = FRequest.ClearFirst || FIndex >= FData.GetItemCount();
    if (!atEnd || (!FRequest.ClearFirst && FData.GetPendingCheckpoint())) FPendingCP.reset();
  }
}

void ConformTexts(TCustomRPData& data, const TRPFStyleState& styles);

// The sub-documents of item (a table's cells) with their texts in their styles' forms:
// the styles of the read (the stream's), which the document's style sheet takes only
// when the whole read is done, while the cells of nested tables are conformed before.
void ConformSubDocumentTexts(TCustomRPItemInfo& item, const TRPFStyleState& styles) {
  std::unique_ptr<TRPStoreSubRPData> location;
  for (TCustomRPData* sub = item.GetSubRPData(location, rpsdFirst); sub; sub = item.GetSubRPData(location, rpsdNext))
    ConformTexts(*sub, styles);
}

// The text of data's item i (and of its sub-documents) in the form of its style among
// the read's styles.
void ConformItemText(TCustomRPData& data, int32_t i, const TRPFStyleState& styles) {
  TCustomRPItemInfo& item = *data.GetItem(i);
  ConformSubDocumentTexts(item, styles);
  if (item.StyleNo < 0) return;
  const int32_t style = styles.ResolveTextStyle(item.StyleNo, item.ParaNo);
  const bool unicode = styles.TextUnicode(style);
  if (item.IsUnicode() == unicode) return;
  const uint32_t codePage = styles.TextCodePage(style);
  const AnsiString& text = data.GetItemTextRaw(i);
  data.SetItemTextRaw(i, unicode ? AnsiToRawUnicode(codePage, text) : RawUnicodeToAnsi(codePage, text));
  item.ItemOptions = unicode ? (item.ItemOptions | rpioUnicode) : (item.ItemOptions & ~rpioUnicode);
}

void ConformTexts(TCustomRPData& data, const TRPFStyleState& styles) {
  for (int32_t i = 0; i < data.GetItemCount(); ++i) ConformItemText(data, i, styles);
}

void TRPFDocumentReader::LoadPrevMarkers(const AnsiString& bytes) {
  TRPMarkerList* markers = FData.GetPrevMarkerList();
  if (!markers) return;
  markers->LoadMarkersFromBinaryString(bytes, &FData);
  for (int32_t i = 0; i < markers->Count(); ++i) markers->Items(i)->ListNo = MapListNo(markers->Items(i)->ListNo);
}

void TRPFDocumentReader::Discard() {
  FItems.clear();
  FPendingCP.reset();
}

bool TRPFDocumentReader::Commit(int32_t& index, TColor& color) {
  if (FRequest.ClearFirst) {
    FData.Clear();
    index = 0;
  }
  const bool readingCellData = (FData.GetState() & rpstReadingCellData) != 0;
  // The markers before the document come first, so that its markers find their parents
  // among them as they are numbered.
  if (IsRoot() && FMarkers) LoadPrevMarkers(*FMarkers);
  // At the document's end (not inserting) the trailing checkpoint goes to the first item.
  if (!FRequest.Insert && index == FData.GetItemCount() && !FItems.empty() && !FItems.front().Item->Checkpoint)
    if (std::unique_ptr<TRPCPInfo> trailing = FData.TakePendingCheckpoint()) {
      trailing->ItemInfo = FItems.front().Item.get();
      FItems.front().Item->Checkpoint = std::move(trailing);
    }
  // The items go to the document one by one and are known there by index alone: the
  // document may drop or free the first one it is given. first is the index of the first
  // item placed (-1 until one is); the items placed are first .. index - 1.
  int32_t first = -1;
  for (TStagedItem& staged : FItems) {
    if (first < 0) {
      const TRPFFirstItemFate fate = FData.InsertFirstRPFItem(index, std::move(staged.Text), std::move(staged.Item));
      if (fate == rpffRefused) {
        FItems.clear();
        return false;
      }
      if (fate == rpffInserted) first = index - 1;
      continue;
    }
    FData.InsertItem(index, std::move(staged.Text), std::move(staged.Item));
    FData.LinkItemCheckpoint(index);
    ++index;
  }
  FItems.clear();
  if (first < 0) first = index;  // none placed: an empty range
  if (FPendingCP) FData.SetPendingCheckpoint(std::move(FPendingCP));
  // The item after the inserted ones continues what now stands before it.
  if (index > first && index < FData.GetItemCount() && !FData.GetItem(index)->StartsParagraph()) {
    const TCustomRPItemInfo& before = *FData.GetItem(index - 1);
    TCustomRPItemInfo& after = *FData.GetItem(index);
    if (before.GetBoolValue(rpibqWholeLine)) {
      after.SetContinuesLine(false);
      after.SetLineBreakBefore(false);
    } else
      FData.UnifyParagraphStyle(index);
  }
  if (IsRoot()) {
    if (FLayout && FRequest.Layout) *FRequest.Layout = *FLayout;
    if (FRequest.Load && (Options() & rpfoLoadDocProperties))
      if (TStrings* properties = FData.GetDocProperties()) {
        properties->Clear();
        if (FDocProperties)
          for (const AnsiString& line : *FDocProperties) properties->Add(line);
      }
    if (FBackSeen) {
      color = FBackColor;
      if (FRequest.Background) {
        FRequest.Background->Style = static_cast<TBackgroundStyle>(FBackStyle);
        if (FBackPicture)
          FRequest.Background->SetImage(std::move(FBackPicture), FData.GetDoInPaletteMode(), FData.GetRPLogPalette());
      }
    }
  }
  // Texts took the form of the styles there were when they were read: the items read
  // before a style collection that the stream gives later, and the texts that items made
  // themselves (the empty text of a new cell), take the form of the stream's styles.
  for (int32_t i = first; i < index; ++i) ConformItemText(FData, i, Styles());
  if (!readingCellData)
    for (int32_t i = first; i < index; ++i) FData.GetItem(i)->AfterLoading(rplfRPF);
  return true;
}

}  // namespace

bool ReadRPFDocument(TCustomRPData& data, TStream& stream, int32_t& index, const TRPFReadRequest& request,
                     TColor& color) {
  TRPFReadContext context(data, CurrentRead);
  if (context.Depth > context.Limits.MaxTableNesting) return false;
  TRPFReadContext* const outer = CurrentRead;
  CurrentRead = &context;
  const TScopeExit restoreCurrent([outer] { CurrentRead = outer; });
  if (!outer) data.SetRPFWarnings(0);
  index = std::clamp(index, 0, data.GetItemCount());
  TRPFDocumentReader reader(data, request, context);
  bool parsed = false;
  try {
    parsed = reader.Parse(stream, index);
  } catch (const Exception&) {
    parsed = false;
  }
  const auto finish = [&](bool ok) {
    if (!outer) data.SetRPFWarnings(context.Warnings);
    return ok;
  };
  if (!parsed) {
    reader.Discard();
    if (reader.InvalidLayout()) {
      finish(false);
      throw ERichPaneError(errRPInvalidRPFFormat);
    }
    return finish(false);
  }
  if (!outer) context.Styles.Apply();
  if (!reader.Commit(index, color)) {
    if (!outer) context.Styles.Restore();
    return finish(false);
  }
  return finish(true);
}
