// A dump of a document (items, their places, styles, tags, checkpoints, texts and the
// cells of tables) that two documents are compared by, and the rules every document read
// from a stream keeps. No test framework: the fuzz targets use them too.
#pragma once

#include <sstream>
#include <string>

#include "richtext/model/RPCheckpoint.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPStyleSheetQueries.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

inline std::string HexBytes(AnsiStringView bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (char c : bytes) {
    out += digits[static_cast<uint8_t>(c) >> 4];
    out += digits[static_cast<uint8_t>(c) & 15];
  }
  return out;
}

// One line per item: index, place (para N / cont / line), style, tag, options, the text
// in hexadecimal, checkpoint; a table's cells follow, indented.
inline void DumpDocument(TCustomRPData& data, const std::string& indent, std::ostringstream& out) {
  for (int32_t i = 0; i < data.GetItemCount(); ++i) {
    const TCustomRPItemInfo& item = *data.GetItem(i);
    out << indent << i << " style " << item.StyleNo << " para " << item.ParaNo << " options "
        << static_cast<int>(item.ItemOptions) << " tag " << (data.TagsArePChars() ? item.Tag.Text() : "")
        << item.Tag.Number();
    if (!item.Hint.empty()) out << " hint \"" << item.Hint << "\"";
    if (item.Checkpoint)
      out << " checkpoint \"" << item.Checkpoint->Name << "\" " << item.Checkpoint->RaiseEvent
          << item.Checkpoint->Persistent << " " << item.Checkpoint->Tag.Number();
    out << " text " << HexBytes(data.GetItemTextRaw(i)) << "\n";
    if (const auto* table = dynamic_cast<const TRPTableItemInfo*>(&item)) {
      const TRPTableRows& rows = table->Rows();
      out << indent << "  table " << rows.GetRowCount() << "x" << rows.GetColCount() << " color " << table->GetColor()
          << " headings " << table->GetHeadingRowCount() << "\n";
      for (int32_t r = 0; r < rows.GetRowCount(); ++r) {
        out << indent << "  row " << r << " valign " << rows.GetRow(r)->VAlign << " break "
            << rows.GetRow(r)->PageBreakBefore << "\n";
        for (int32_t c = 0; c < rows.GetColCount(); ++c)
          if (TRPTableCellData* cell = table->GetCell(r, c)) {
            out << indent << "  cell " << r << "," << c << " span " << cell->GetColSpan() << "x" << cell->GetRowSpan()
                << " color " << cell->GetCellColor() << " width " << cell->BestWidth << " picture "
                << (cell->GetBackgroundImage() ? 1 : 0) << "\n";
            DumpDocument(*cell, indent + "    ", out);
          }
      }
    }
  }
  if (const TRPCPInfo* trailing = data.GetPendingCheckpoint())
    out << indent << "trailing checkpoint \"" << trailing->Name << "\"\n";
}

inline std::string Dump(TCustomRPData& data) {
  std::ostringstream out;
  DumpDocument(data, "", out);
  return out.str();
}

// Why data breaks a rule of documents, empty when it keeps them all: the first item
// starts a paragraph; whole-line items start paragraphs and nothing continues one; an
// item that continues a line shares its paragraph; numbers stand in the style sheet;
// stored text has the form its style keeps; the checkpoint chain holds the checkpoints
// of the items in order, and the count counts them and the trailing one; cells alike.
inline std::string DocumentFault(TCustomRPData& data) {
  const IRPStyleSheet* sheet = data.GetRPStyle();
  int32_t checkpoints = 0;
  const TRPCPInfo* chained = data.GetFirstCheckpoint();
  for (int32_t i = 0; i < data.GetItemCount(); ++i) {
    const TCustomRPItemInfo& item = *data.GetItem(i);
    const std::string at = "item " + std::to_string(i) + ": ";
    const bool continues = item.GetContinuesLine() || item.GetLineBreakBefore();
    if (i == 0 && continues) return at + "the first item continues a line";
    if (item.GetBoolValue(rpibqWholeLine) && continues) return at + "a whole-line item continues a line";
    if (i > 0 && continues && data.GetItem(i - 1)->GetBoolValue(rpibqWholeLine))
      return at + "continues a whole-line item";
    if (i > 0 && continues && item.ParaNo != data.GetItem(i - 1)->ParaNo) return at + "another paragraph number";
    if (sheet && (item.ParaNo < 0 || item.ParaNo >= sheet->GetParaStyleCount())) return at + "paragraph out of range";
    if (item.StyleNo >= 0) {
      if (sheet && item.StyleNo != rpDefaultTextStyle && item.StyleNo >= sheet->GetTextStyleCount())
        return at + "text style out of range";
      const bool unicode = sheet && sheet->IsTextStyleUnicode(data.GetItemStyle(i));
      if (item.IsUnicode() != unicode) return at + "stored form differs from its style's";
      if (item.IsUnicode() && data.GetItemTextRaw(i).size() % 2 != 0) return at + "odd UTF-16";
    }
    if (item.Checkpoint) {
      ++checkpoints;
      if (chained != item.Checkpoint.get()) return at + "checkpoint out of the chain's order";
      if (item.Checkpoint->ItemInfo != &item) return at + "checkpoint names another item";
      chained = chained->Next;
    }
    if (const auto* table = dynamic_cast<const TRPTableItemInfo*>(&item))
      for (int32_t r = 0; r < table->Rows().GetRowCount(); ++r)
        for (int32_t c = 0; c < table->Rows().GetColCount(); ++c)
          if (TRPTableCellData* cell = table->GetCell(r, c)) {
            const std::string fault = DocumentFault(*cell);
            if (!fault.empty()) return at + "cell " + std::to_string(r) + "," + std::to_string(c) + ": " + fault;
          }
  }
  if (chained) return "a checkpoint chained after the last item's";
  if (data.GetPendingCheckpoint()) ++checkpoints;
  if (checkpoints != data.GetCheckpointCount()) return "checkpoint count " + std::to_string(data.GetCheckpointCount());
  return {};
}
