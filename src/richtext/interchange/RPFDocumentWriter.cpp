#include "richtext/interchange/RPFDocumentWriter.h"

#include <string>
#include <utility>

#include "platform/base/Filer.h"
#include "platform/base/LittleEndian.h"
#include "platform/base/ScopeExit.h"
#include "platform/base/StringLists.h"
#include "richtext/interchange/RPFRecords.h"
#include "richtext/interchange/RPFStyleCollections.h"
#include "richtext/layout/RPBackground.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPLayoutInfo.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/model/RPUnicode.h"

namespace {

// Fields joined by blanks.
AnsiString Fields(std::initializer_list<AnsiString> fields) {
  AnsiString line;
  for (const AnsiString& field : fields) {
    if (!line.empty()) line += ' ';
    line += field;
  }
  return line;
}

AnsiString Num(int64_t n) { return std::to_string(n); }

// What of one item a write takes: all of it, the characters from .. to (1-based, before
// characters) of a text item, or nothing.
struct TItemPart {
  bool Written = false;
  bool Whole = true;
  int32_t From = 1;
  int32_t To = 1;
};

class TRPFDocumentWriter {
public:
  TRPFDocumentWriter(TCustomRPData& data, TStream& stream, TRPFSaveMode mode, TRPLayoutInfo* layout,
                     const TRPBackground* background, TColor color)
      : FDocument(data),
        FData(*data.GetRPData()),
        FStream(stream),
        FMode(mode),
        FLayout(layout),
        FBackground(background),
        FColor(color),
        FStreaming(FData),
        FOptions(data.GetRPFOptions()) {}

  void Write() {
    if (!FindRange()) return;
    WriteVersion();
    if ((FOptions & rpfoSaveBack) && FMode != rpfsmClipboard) WriteBackground();
    WriteStyleCollections();
    if ((FOptions & rpfoSaveDocProperties) && FMode != rpfsmDragDrop && IsRoot()) WriteDocProperties();
    if (FMode == rpfsmDragDrop) RecordCuts();
    if (FMode == rpfsmDragDrop) WriteMarkerState();
    if ((FOptions & rpfoSaveLayout) && IsRoot() && FLayout && FMode != rpfsmClipboard) WriteLayout();
    WriteItems();
    if (EndWritten())
      if (const TRPCPInfo* trailing = FData.GetPendingCheckpoint()) WriteCheckpoint(*trailing);
  }

private:
  bool Binary() const { return (FOptions & rpfoSaveBinary) != 0; }
  int32_t DataMode() const { return Binary() ? rpfbmBinary : rpfbmHex; }
  // A document of its own (not a cell, whose content an editor may hold meanwhile).
  bool IsRoot() const { return FDocument.GetRootData() == &FDocument; }

  // The items and offsets the write takes; false when there is nothing to write.
  bool FindRange() {
    if (FData.GetItemCount() == 0) return false;
    if (FMode == rpfsmDocument)
      FData.TCustomRPData::GetSelectionBounds(FStartNo, FEndNo, FStartOffs, FEndOffs, true);
    else
      FData.GetSelectionBounds(FStartNo, FEndNo, FStartOffs, FEndOffs, true);
    if (FStartNo < 0 || FEndNo < FStartNo || FEndNo >= FData.GetItemCount()) return false;
    // An empty selection writes nothing; a document of one empty text item is written.
    if (FMode != rpfsmDocument && FStartNo == FEndNo && FStartOffs >= FEndOffs) return false;
    FFirstWritten = -1;
    for (int32_t i = FStartNo; i <= FEndNo && FFirstWritten < 0; ++i)
      if (PartOf(i).Written) FFirstWritten = i;
    return FFirstWritten >= 0;
  }

  TItemPart PartOf(int32_t i) const {
    TItemPart part;
    if (FData.IsTextItem(i)) {
      const int32_t length = FData.GetItemLength(i);
      part.From = i == FStartNo ? FStartOffs : 1;
      part.To = i == FEndNo ? FEndOffs : length + 1;
      part.Whole = part.From <= 1 && part.To >= length + 1;
      // An item at an end of the selection with none of its characters selected is left
      // out; an empty item inside is written.
      part.Written = part.Whole || part.From < part.To;
      if (length > 0 && part.From >= part.To) part.Written = false;
      return part;
    }
    part.Written = !(i == FStartNo && FStartOffs >= 1 && FStartNo != FEndNo) && !(i == FEndNo && FEndOffs <= 0);
    return part;
  }

  // The selection starts after its paragraph's first position.
  bool FirstParagraphCut() const {
    if (FMode == rpfsmDocument) return false;
    const TItemPart part = PartOf(FFirstWritten);
    return !FData.StartsParagraph(FFirstWritten) || part.From > 1;
  }

  // The selection ends before its paragraph's last position.
  bool LastParagraphCut() const {
    int32_t last = FEndNo;
    while (last > FFirstWritten && !PartOf(last).Written) --last;
    if (FData.IsTextItem(last) && PartOf(last).To < FData.GetItemLength(last) + 1) return true;
    return last + 1 < FData.GetItemCount() && !FData.StartsParagraph(last + 1);
  }

  bool EndWritten() const {
    if (FEndNo != FData.GetItemCount() - 1) return false;
    return FEndOffs >= FData.GetItemEndOffset(FEndNo);
  }

  void Line(const AnsiString& s) { RPFWriteLine(FStream, s); }

  // The data of a document record: a hexadecimal line, or a block with its length.
  void DataLine(const AnsiString& bytes) {
    if (!Binary()) {
      Line(RPFStrToHex(bytes));
      return;
    }
    uint8_t length[4];
    StoreLE32(length, static_cast<uint32_t>(bytes.size()));
    FStream.WriteBuffer(length, 4);
    if (!bytes.empty()) FStream.WriteBuffer(bytes.data(), static_cast<int32_t>(bytes.size()));
  }

  void WriteVersion() { Line(Fields({Num(rpfrkVersion), Num(RPFVersion), Num(RPFSubVersion)})); }

  void WriteBackground() {
    const TGraphic* picture = FBackground ? FBackground->GetImage() : nullptr;
    const int32_t style = FBackground ? FBackground->Style : bsNoBitmap;
    if (!picture || picture->Empty() || style == bsNoBitmap) {
      Line(Fields({Num(rpfrkBackground), "0", "-1", "0", "0", "0", Num(style), Num(FColor)}));
      return;
    }
    Line(Fields({Num(rpfrkBackground), "2", "0", "0", Num(DataMode()), "0", Num(style), Num(FColor)}));
    Line(picture->ClassName());
    if (Binary())
      RPFSavePictureBinary(FStream, *picture);
    else
      Line(RPFSavePictureToHex(*picture));
  }

  void WriteStyleCollections() {
    if (!IsRoot() || !(FData.GetRPFStylesSaving() || FMode == rpfsmClipboard)) return;
    const auto* sheet = dynamic_cast<const TRPStyle*>(FData.GetRPStyle());
    if (!sheet) return;
    if (FOptions & rpfoSaveTextStyles) WriteCollection(rpfdkTextStyles, *sheet, sheet->TextStyles());
    if (FOptions & rpfoSaveParaStyles) {
      WriteCollection(rpfdkParaStyles, *sheet, sheet->ParaStyles());
      // While written, the list levels know the document, to store their image lists by
      // tag.
      TRPListInfos& lists = const_cast<TRPListInfos&>(sheet->ListStyles());
      const TRPFImageListContext imageLists(FData);
      const IRPImageListContext* saved = std::exchange(lists.ImageLists, &imageLists);
      const TScopeExit restore([&lists, saved] { lists.ImageLists = saved; });
      WriteCollection(rpfdkListStyles, *sheet, lists);
    }
  }

  void WriteCollection(int32_t subkind, const TRPStyle& sheet, const TCollection& collection) {
    Line(Fields({Num(rpfrkDocData), "2", "0", "0", Num(DataMode()), "0", Num(subkind)}));
    Line(sheet.Name());
    DataLine(WriteStyleCollection(collection));
  }

  void WriteDocProperties() {
    const TStrings* properties = FData.GetDocProperties();
    const int32_t count = properties ? properties->Count() : 0;
    Line(Fields({Num(rpfrkDocData), Num(count), "0", "0", "0", "0", Num(rpfdkDocProperties)}));
    for (int32_t i = 0; i < count; ++i) Line(RPFEncodeLineBreaks(properties->Strings(i)));
  }

  void RecordCuts() {
    if (!FLayout) return;
    FLayout->FirstParaCut = FirstParagraphCut();
    FLayout->LastParaCut = LastParagraphCut();
    FLayout->FirstMarkerListNo = -1;
    FLayout->FirstMarkerLevel = 0;
    if (!FLayout->FirstParaCut) return;
    const int32_t paraStart = FData.GetParaStartItem(FFirstWritten);
    if (const auto* marker = dynamic_cast<const TRPMarkerItemInfo*>(FData.GetItem(paraStart));
        marker && paraStart < FFirstWritten) {
      FLayout->FirstMarkerListNo = marker->ListNo;
      FLayout->FirstMarkerLevel = marker->Level;
    }
  }

  // The document's markers up to the last one before the selection, so that the numbering
  // of the dropped paragraphs goes on.
  void WriteMarkerState() {
    const auto* markers = dynamic_cast<const TRPMarkerList*>(FData.GetMarkers(false));
    if (!markers) return;
    int32_t count = 0;
    for (int32_t i = 0; i < markers->Count(); ++i) {
      const int32_t itemNo = FData.IndexOfItem(markers->Items(i));
      if (itemNo < 0 || itemNo >= FFirstWritten) break;
      count = i + 1;
    }
    if (count == 0) return;
    Line(Fields({Num(rpfrkDocData), "2", "0", "0", Num(DataMode()), "0", Num(rpfdkMarkers)}));
    Line({});
    if (Binary())
      markers->WriteMarkersBinary(FStream, count, true);
    else
      markers->WriteMarkersHexLine(FStream, count);
  }

  void WriteLayout() {
    Line(Fields({Num(rpfrkDocData), "2", "0", "0", Num(DataMode()), "0", Num(rpfdkLayout)}));
    Line({});
    if (Binary())
      FLayout->SaveToStream(FStream, true);
    else
      Line(FLayout->SaveToHexLine());
  }

  void WriteCheckpoint(const TRPCPInfo& cp) {
    Line(Fields({Num(rpfrkCheckpoint), "1", "0", "0", "0", FStreaming.TagText(cp.Tag), Num(cp.RaiseEvent ? 1 : 0),
                 Num(cp.Persistent ? 1 : 0)}));
    // A line break in a name would end its line early: written as bytes 1 and 2.
    Line(RPFEncodeLineBreaks(cp.Name));
  }

  void WriteItems() {
    const bool firstCut = FirstParagraphCut();
    if (FMode == rpfsmClipboard && firstCut) {
      // The pasted paragraph keeps its list: the marker that heads it goes first.
      const int32_t paraStart = FData.GetParaStartItem(FFirstWritten);
      if (paraStart < FFirstWritten && FData.GetItem(paraStart)->StyleNo == rpkindListMarker)
        FData.GetItem(paraStart)->SaveRPF(FStream, FStreaming, paraStart, FData.GetItemPara(paraStart),
                                          FData.GetItemTextRaw(paraStart), nullptr, false);
    }
    for (int32_t i = FFirstWritten; i <= FEndNo;) {
      const TItemPart part = PartOf(i);
      if (!part.Written) {
        ++i;
        continue;
      }
      const bool force = i == FFirstWritten && firstCut;
      TCustomRPItemInfo& item = *FData.GetItem(i);
      if (item.Checkpoint && part.From <= 1) WriteCheckpoint(*item.Checkpoint);
      if (!FData.IsTextItem(i)) {
        if (!WriteInnerSelection(i, force))
          item.SaveRPF(FStream, FStreaming, i, item.ParaNo, FData.GetItemTextRaw(i), nullptr, force);
        ++i;
        continue;
      }
      if (!part.Whole || force) {
        const AnsiString text = CopyItemText(FData.GetItemTextRaw(i), part.From, part.To - part.From, item.ItemOptions);
        WriteTextRecord(i, 1, {text}, force);
        ++i;
        continue;
      }
      int32_t last = i;
      while (last < FEndNo && CanFold(i, last + 1)) ++last;
      std::vector<AnsiString> lines;
      for (int32_t j = i; j <= last; ++j) lines.push_back(FData.GetItemTextRaw(j));
      WriteTextRecord(i, last - i + 1, lines, false);
      i = last + 1;
    }
  }

  // Item next joins the text record that item first begins.
  bool CanFold(int32_t first, int32_t next) const {
    if (!FData.IsTextItem(next) || !PartOf(next).Whole || !PartOf(next).Written) return false;
    const TCustomRPItemInfo& a = *FData.GetItem(first);
    const TCustomRPItemInfo& b = *FData.GetItem(next);
    if (a.Checkpoint || b.Checkpoint) return false;
    if ((a.ItemOptions & rpioContinuesLine) || (b.ItemOptions & rpioContinuesLine)) return false;
    return a.StyleNo == b.StyleNo && a.ParaNo == b.ParaNo &&
           (a.ItemOptions & rpioStoredMask) == (b.ItemOptions & rpioStoredMask) && a.Tag == b.Tag && a.Hint == b.Hint &&
           RPFTextRecordMode(FData.GetItemTextRaw(first), a.IsUnicode(), FOptions) ==
               RPFTextRecordMode(FData.GetItemTextRaw(next), b.IsUnicode(), FOptions);
  }

  // One text record: the header of item first and one line per text.
  void WriteTextRecord(int32_t first, int32_t count, const std::vector<AnsiString>& lines, bool force) {
    const TCustomRPItemInfo& item = *FData.GetItem(first);
    const bool unicode = item.IsUnicode();
    TRPFBodyMode mode = rpfbmHex;
    for (const AnsiString& line : lines)
      if (RPFTextRecordMode(line, unicode, FOptions) == rpfbmHexText) mode = rpfbmHexText;
    AnsiString hint;
    item.GetRPFHeaderExtra(&FData, hint);
    const int32_t options = SetContinuesLineInOptions(item.ItemOptions, force) & rpioStoredMask;
    Line(FStreaming.TextStyleNoText(item.StyleNo) + " " + Num(count) + " " + FStreaming.ParaNoText(item.ParaNo, force) +
         " " + Num(options) + " " + Num(mode) + " " + FStreaming.TagText(item.Tag) +
         (hint.empty() ? AnsiString() : " " + hint));
    for (const AnsiString& line : lines) RPFWriteTextRecordLine(FStream, line, unicode, mode);
  }

  // A selection held inside item i (selected table cells) is written by the item.
  bool WriteInnerSelection(int32_t i, bool force) {
    if (FMode == rpfsmDocument || !RPFWriteInnerSelections) return false;
    const auto* formatted = dynamic_cast<const TCustomRPFormattedData*>(&FData);
    if (!formatted || formatted->GetInnerSelectionItem() != FData.GetItem(i)) return false;
    return FData.GetItem(i)->SaveRPFInnerSelection(FStream, FStreaming, FData.GetItemPara(i), FData.GetItemTextRaw(i),
                                                   force);
  }

  // The document written, and the one that holds its items now (its GetRPData).
  TCustomRPData& FDocument;
  TCustomRPData& FData;
  TStream& FStream;
  TRPFSaveMode FMode;
  TRPLayoutInfo* FLayout;
  const TRPBackground* FBackground;
  TColor FColor;
  TRPFStreaming FStreaming;
  uint32_t FOptions;
  int32_t FStartNo = -1, FEndNo = -1, FStartOffs = 0, FEndOffs = 0;
  int32_t FFirstWritten = -1;
};

}  // namespace

bool RPFWriteInnerSelections = true;

void WriteRPFDocument(TCustomRPData& data, TStream& stream, TRPFSaveMode mode, TRPLayoutInfo* layout,
                      const TRPBackground* background, TColor color) {
  TRPFDocumentWriter(data, stream, mode, layout, background, color).Write();
}
