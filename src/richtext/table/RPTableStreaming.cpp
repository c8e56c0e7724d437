// The table in the native format: its record (SaveRPF, ReadRPFLine), its body as a
// component stream through TRPTableSW and TD, the cells' and the table's defined
// properties, and the output of selected cells.
#include "richtext/table/RPTableStreaming.h"

#include <algorithm>
#include <vector>

#include "platform/base/Exception.h"
#include "platform/base/LittleEndian.h"
#include "platform/base/ScopeExit.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPGraphicHelpers.h"
#include "richtext/model/RPItemStreaming.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableLimits.h"
#include "richtext/table/RPTablePrint.h"

namespace {

constexpr char SInvalidPropertyValue[] = "Invalid property value";

[[noreturn]] void WrongEndOfCellsList() { throw EReadError(errRPWrongEndOfCellsList); }

// Bytes left after the stream's position.
int64_t Remaining(TStream& stream) { return stream.Size() - stream.Position(); }

// A picture as a defined binary property: its class name (4-byte length and the name),
// then the picture as a length-prefixed block.
void WritePictureProperty(TStream& stream, const TGraphic& graphic) {
  const AnsiString className = graphic.ClassName();
  uint8_t length[4];
  StoreLE32(length, static_cast<uint32_t>(className.size()));
  stream.WriteBuffer(length, 4);
  stream.WriteBuffer(className.data(), static_cast<int32_t>(className.size()));
  RPFSavePictureBinary(stream, graphic);
}

// The reverse: a graphic of the class named, of a class the engine knows.
std::unique_ptr<TGraphic> ReadPictureProperty(TStream& stream) {
  uint8_t length[4];
  stream.ReadBuffer(length, 4);
  const uint32_t nameBytes = LoadLE32(length);
  if (nameBytes > Remaining(stream)) throw EReadError(SReadError);
  AnsiString className(nameBytes, '\0');
  if (nameBytes > 0) stream.ReadBuffer(className.data(), static_cast<int32_t>(nameBytes));
  TGraphicClass graphicClass = FindGraphicClass(className);
  if (!graphicClass) throw EReadError(SInvalidPropertyValue);
  std::unique_ptr<TGraphic> graphic = RPCreateGraphic(graphicClass);
  RPFLoadPictureBinary(stream, *graphic);
  return graphic;
}

}  // namespace

// --- TD and TRPTableSW -----------------------------------------------------------------

const TClassProps& TD::Props() {
  static const TClassProps props("TD", nullptr, {Published::Object<TD>("C", &TD::GetCell)});
  return props;
}

TRPTableSW::TRPTableSW(TRPTableItemInfo& table, const TRPTableStreamSaveInfo& saveInfo)
    : TComponent(nullptr), FTable(table), FSaveInfo(saveInfo), FCellWrapper(CreateOwned<TD>(*this)) {}

const TClassProps& TRPTableSW::Props() {
  static const TClassProps props("TRPTableSW", nullptr, {Published::Object<TRPTableSW>("T", &TRPTableSW::GetTable)});
  return props;
}

std::vector<int32_t> TRPTableSW::WrittenRows() const {
  std::vector<int32_t> rows;
  const int32_t rowCount = FTable.Rows().GetRowCount();
  if (FSaveInfo.SaveHeadingRows) {
    const int32_t headings = std::min(FTable.GetHeadingRowCount(), rowCount);
    for (int32_t r = 0; r < headings && r < FSaveInfo.StartRow; ++r) rows.push_back(r);
  }
  for (int32_t r = FSaveInfo.StartRow; r < FSaveInfo.StartRow + FSaveInfo.RowCount && r < rowCount; ++r)
    rows.push_back(r);
  return rows;
}

bool TRPTableSW::AnyRowVAlign() const {
  for (int32_t r : WrittenRows())
    if (FTable.Rows().GetRow(r)->VAlign != 0) return true;
  return false;
}

bool TRPTableSW::AnyRowPageBreak() const {
  for (int32_t r : WrittenRows())
    if (FTable.Rows().GetRow(r)->PageBreakBefore) return true;
  return false;
}

void TRPTableSW::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineProperty(
      "C", [this](TReader& reader) { ReadCells(reader); }, [this](TWriter& writer) { WriteCells(writer); }, true);
  filer.DefineProperty(
      "RowVAlign",
      [this](TReader& reader) {
        reader.ReadListBegin();
        for (int32_t r = FSaveInfo.StartRow; !reader.EndOfList(); ++r) {
          const int64_t value = reader.ReadInteger();
          if (r < FTable.Rows().GetRowCount() && value >= rpcTop && value <= rpcVDefault)
            FTable.Rows().GetRow(r)->VAlign = static_cast<TRPCellVAlign>(value);
        }
        reader.ReadListEnd();
      },
      [this](TWriter& writer) {
        writer.WriteListBegin();
        for (int32_t r : WrittenRows()) writer.WriteInteger(FTable.Rows().GetRow(r)->VAlign);
        writer.WriteListEnd();
      },
      AnyRowVAlign());
  filer.DefineProperty(
      "RowPageBreakBefore",
      [this](TReader& reader) {
        reader.ReadListBegin();
        for (int32_t r = FSaveInfo.StartRow; !reader.EndOfList(); ++r) {
          const bool value = reader.ReadBoolean();
          if (r < FTable.Rows().GetRowCount()) FTable.Rows().GetRow(r)->PageBreakBefore = value;
        }
        reader.ReadListEnd();
      },
      [this](TWriter& writer) {
        writer.WriteListBegin();
        for (int32_t r : WrittenRows()) writer.WriteBoolean(FTable.Rows().GetRow(r)->PageBreakBefore);
        writer.WriteListEnd();
      },
      AnyRowPageBreak());
}

void TRPTableSW::WriteCells(TWriter& writer) {
  const TRPTableRows& rows = FTable.Rows();
  const std::vector<int32_t> written = WrittenRows();
  writer.WriteInteger(static_cast<int64_t>(written.size()));
  if (written.empty()) return;
  const int32_t firstCol = FSaveInfo.StartCol;
  const int32_t lastCol = std::min(FSaveInfo.StartCol + FSaveInfo.ColCount, rows.GetColCount()) - 1;
  writer.WriteInteger(lastCol - firstCol + 1);
  writer.WriteListBegin();
  const int32_t rangeEnd = FSaveInfo.StartRow + FSaveInfo.RowCount;  // past the range's last row
  // Cells covering range positions from outside the range, written once each.
  std::vector<const TRPTableCellData*> outsiders;
  for (int32_t r : written) {
    const bool headingRow = r < FSaveInfo.StartRow;
    const int32_t blockEnd = headingRow ? std::min(FTable.GetHeadingRowCount(), FSaveInfo.StartRow) : rangeEnd;
    for (int32_t c = firstCol; c <= lastCol; ++c) {
      TRPTableCellData* cell = rows.GetCell(r, c);
      int32_t mainRow = r, mainCol = c;
      if (!cell && !headingRow && (r == FSaveInfo.StartRow || c == firstCol)) {
        // A merged cell that starts outside the range stands at the range's edge.
        TRPTableCellData* main = rows.GetMainCell(r, c, mainRow, mainCol);
        if (main && (mainRow < FSaveInfo.StartRow || mainCol < firstCol) &&
            std::find(outsiders.begin(), outsiders.end(), main) == outsiders.end()) {
          outsiders.push_back(main);
          cell = main;
        }
      }
      if (!cell) continue;
      const int32_t colSpan = std::min(mainCol + cell->GetColSpan(), lastCol + 1) - c;
      const int32_t rowSpan = std::min(mainRow + cell->GetRowSpan(), blockEnd) - r;
      writer.WriteInteger(std::max(colSpan, 1));
      writer.WriteInteger(std::max(rowSpan, 1));
      FCellWrapper->SetCell(cell);
      writer.WriteProperties(*FCellWrapper);
      writer.WriteListEnd();
    }
  }
  FCellWrapper->SetCell(nullptr);
  writer.WriteListEnd();
}

void TRPTableSW::ReadCells(TReader& reader) {
  TRPTableRows& rows = FTable.Rows();
  const int64_t rowCount = reader.ReadInteger();
  if (rowCount < 0) WrongEndOfCellsList();
  if (rowCount == 0) {
    rows.Reset(0, 0);
    return;
  }
  const int64_t colCount = reader.ReadInteger();
  if (colCount < 1) WrongEndOfCellsList();
  // The grid is built whole before its cells are read: its size comes from the stream.
  if (rowCount * colCount > DefaultRPTableLimits().MaxCellPositions) throw EReadError(SInvalidPropertyValue);
  if (FSaveInfo.StartRow == 0)
    rows.Reset(static_cast<int32_t>(rowCount), static_cast<int32_t>(colCount));
  else if (rows.GetColCount() < colCount || FSaveInfo.StartRow + rowCount > rows.GetRowCount())
    WrongEndOfCellsList();
  reader.ReadListBegin();
  const int32_t firstRow = FSaveInfo.StartRow;
  for (int32_t r = firstRow; r < firstRow + rowCount; ++r)
    for (int32_t c = 0; c < colCount; ++c) {
      TRPTableCellData* cell = rows.GetCell(r, c);
      if (!cell) continue;
      if (reader.EndOfList()) WrongEndOfCellsList();
      const int64_t colSpan = reader.ReadInteger();
      const int64_t rowSpan = reader.ReadInteger();
      if (colSpan < 1 || rowSpan < 1 || colSpan > colCount - c || rowSpan > firstRow + rowCount - r)
        throw EReadError(SInvalidPropertyValue);
      if (colSpan > 1 || rowSpan > 1) {
        rows.MergeCells(r, c, static_cast<int32_t>(colSpan), static_cast<int32_t>(rowSpan), true, false);
        // A merge the grid refuses (it would cut another merged cell) is a damaged list.
        if (cell->GetColSpan() != colSpan || cell->GetRowSpan() != rowSpan) throw EReadError(SInvalidPropertyValue);
      }
      FCellWrapper->SetCell(cell);
      reader.ReadProperties(*FCellWrapper);
    }
  FCellWrapper->SetCell(nullptr);
  if (!reader.EndOfList()) WrongEndOfCellsList();
  reader.ReadListEnd();
}

void WriteRPFTableBody(TRPTableItemInfo& table, const TRPTableStreamSaveInfo& saveInfo, TStream& stream) {
  TRPTableSW wrapper(table, saveInfo);
  TWriter(stream).WriteRootComponent(wrapper);
}

void ReadRPFTableBody(TRPTableItemInfo& table, TStream& stream) {
  const TRPTableStreamSaveInfo saveInfo(table);
  TRPTableSW wrapper(table, saveInfo);
  TReader(stream).ReadRootComponent(wrapper);
}

// --- The table's record ------------------------------------------------------------------

int32_t TRPTableItemInfo::GetRPFPropertyCount() const {
  return TRPFullLineItemInfo::GetRPFPropertyCount() + (BackgroundImageFileName.empty() ? 0 : 1);
}

void TRPTableItemInfo::SaveRPFProperties(TStream& stream) const {
  TRPFullLineItemInfo::SaveRPFProperties(stream);
  if (!BackgroundImageFileName.empty()) WriteRPFStrPropertyLine(stream, rpspFileName, BackgroundImageFileName);
}

bool TRPTableItemInfo::SetStrProperty(int32_t code, const AnsiString& value) {
  if (code != rpspFileName) return TRPFullLineItemInfo::SetStrProperty(code, value);
  BackgroundImageFileName = value;
  return true;
}

bool TRPTableItemInfo::GetStrProperty(int32_t code, AnsiString& value) const {
  if (code != rpspFileName) return TRPFullLineItemInfo::GetStrProperty(code, value);
  value = BackgroundImageFileName;
  return true;
}

void TRPTableItemInfo::WriteRPFRecord(TStream& stream, IRPFStreaming& streaming, int32_t paraNo, const AnsiString& name,
                                      const TRPTableStreamSaveInfo& saveInfo, bool forceSameAsPrev) {
  const bool binary = (streaming.Options() & rpfoSaveBinary) != 0;
  WriteRPFItemHeader(stream, *this, GetRPFPropertyCount() + 3, paraNo, forceSameAsPrev, binary ? rpfbmBinary : rpfbmHex,
                     streaming);
  RPFWriteLine(stream, name);
  SaveRPFProperties(stream);
  RPFWriteLine(stream, "1");
  ++FBusy;
  const TScopeExit notBusy([this] { --FBusy; });
  TMemoryStream body;
  WriteRPFTableBody(*this, saveInfo, body);
  if (binary) {
    uint8_t length[4];
    StoreLE32(length, static_cast<uint32_t>(body.Size()));
    stream.WriteBuffer(length, 4);
    body.SaveToStream(stream);
  } else {
    RPFWriteLine(stream, RPFStreamToHex(body));
  }
}

void TRPTableItemInfo::SaveRPF(TStream& stream, IRPFStreaming& streaming, int32_t, int32_t paraNo,
                               const AnsiString& name, const TRPMultiDrawItemPart* part, bool forceSameAsPrev) const {
  TRPTableStreamSaveInfo saveInfo(*this);
  if (const auto* printed = dynamic_cast<const TRPTablePrintPart*>(part)) {
    // A printed part: its rows, with the heading rows before them.
    saveInfo.StartRow = printed->StartRow;
    saveInfo.RowCount = printed->RowCount;
    saveInfo.SaveHeadingRows = true;
  }
  // Writing changes nothing of the table but its busy counter.
  const_cast<TRPTableItemInfo*>(this)->WriteRPFRecord(stream, streaming, paraNo, name, saveInfo, forceSameAsPrev);
}

bool TRPTableItemInfo::SaveRPFInnerSelection(TStream& stream, IRPFStreaming& streaming, int32_t paraNo,
                                             const AnsiString& name, bool forceSameAsPrev) const {
  // The selected cells' bounds, merged cells included.
  int32_t top = INT32_MAX, left = INT32_MAX, bottom = -1, right = -1;
  for (int32_t r = 0; r < Rows().GetRowCount(); ++r)
    for (int32_t c = 0; c < Rows().GetColCount(); ++c)
      if (const TRPTableCellData* cell = GetCell(r, c); cell && cell->Selected) {
        top = std::min(top, r);
        left = std::min(left, c);
        bottom = std::max(bottom, r + cell->GetRowSpan() - 1);
        right = std::max(right, c + cell->GetColSpan() - 1);
      }
  if (bottom < 0) return false;
  TRPTableStreamSaveInfo saveInfo(*this);
  saveInfo.StartRow = top;
  saveInfo.StartCol = left;
  saveInfo.RowCount = bottom - top + 1;
  saveInfo.ColCount = right - left + 1;
  saveInfo.SelectionOnly = true;
  // The cells of the range that are not selected go without their content.
  std::vector<TRPTableCellData*> marked;
  const TScopeExit unmark([&marked] {
    for (TRPTableCellData* cell : marked) cell->SetStateFlag(rpstNoDataProperty, false);
  });
  for (int32_t r = top; r <= bottom; ++r)
    for (int32_t c = left; c <= right; ++c)
      if (TRPTableCellData* cell = GetCell(r, c); cell && !cell->Selected) {
        cell->SetStateFlag(rpstNoDataProperty, true);
        marked.push_back(cell);
      }
  const_cast<TRPTableItemInfo*>(this)->WriteRPFRecord(stream, streaming, paraNo, name, saveInfo, forceSameAsPrev);
  return true;
}

bool TRPTableItemInfo::ReadRPFLine(const AnsiString& s, IRPFStreaming&, TRPFBodyMode readType, int32_t lineNo,
                                   int32_t lineCount, AnsiString& name, TRPFLineMode& readMode,
                                   TRPFReadState& readState) {
  readMode = rpflmText;
  // A table's record holds at least its name, the "1" line and its body.
  if (lineCount < 3) return false;
  if (lineNo == 0) {
    name = s;
  } else if (lineNo + 1 == lineCount) {
    TMemoryStream body;
    if (readType == rpfbmBinary) {
      body.WriteBuffer(s.data(), static_cast<int32_t>(s.size()));
      body.SetPosition(0);
    } else if (!RPFHexToStream(s, body)) {
      return false;
    }
    ReadRPFTableBody(*this, body);
    Changed();
    readState = rpfrsItemDone;
  } else if (lineNo + 2 == lineCount) {
    if (readType == rpfbmBinary) readMode = rpflmBinaryBlock;
  } else {
    ReadRPFPropertyLine(s);
  }
  return true;
}

void TRPTableItemInfo::DefineProperties(TFiler& filer) {
  TRPFullLineItemInfo::DefineProperties(filer);
  const TGraphic* picture = GetBackgroundImage();
  filer.DefineBinaryProperty(
      "BackgroundImg", [this](TStream& stream) { SetBackgroundImage(ReadPictureProperty(stream).get()); },
      [picture](TStream& stream) { WritePictureProperty(stream, *picture); }, picture && !picture->Empty());
}

void TRPTableItemInfo::BeforeLoading(TRPLoadFormat format) {
  TRPFullLineItemInfo::BeforeLoading(format);
  ForEachCellItem([format](TCustomRPItemInfo& item) { item.BeforeLoading(format); });
}

void TRPTableItemInfo::AfterLoading(TRPLoadFormat format) {
  TRPFullLineItemInfo::AfterLoading(format);
  ForEachCellItem([format](TCustomRPItemInfo& item) { item.AfterLoading(format); });
}

void TRPTableItemInfo::ForEachCellItem(const std::function<void(TCustomRPItemInfo&)>& proc) {
  for (int32_t r = 0; r < Rows().GetRowCount(); ++r)
    for (int32_t c = 0; c < Rows().GetColCount(); ++c)
      if (TRPTableCellData* cell = GetCell(r, c))
        for (int32_t i = 0; i < cell->GetItemCount(); ++i) proc(*cell->GetItem(i));
}

// --- The cell's defined properties -----------------------------------------------------------

void TRPTableCellData::DefineProperties(TFiler& filer) {
  TRPItemFormattedData::DefineProperties(filer);
  filer.DefineBinaryProperty(
      "Data", [this](TStream& stream) { ReadRPFDataProperty(stream); },
      [this](TStream& stream) { WriteRPFDataProperty(stream); },
      HasContent(true) && (GetState() & rpstNoDataProperty) == 0);
  const TGraphic* picture = GetBackgroundImage();
  filer.DefineBinaryProperty(
      "BackgroundImg", [this](TStream& stream) { SetBackgroundImage(ReadPictureProperty(stream).get()); },
      [picture](TStream& stream) { WritePictureProperty(stream, *picture); }, picture && !picture->Empty());
}
