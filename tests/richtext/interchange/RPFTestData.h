// Documents for the tests of the native format: a rich view control with its own style
// sheet, writing and reading it, and a dump of a document (items, their places, styles,
// tags, checkpoints, texts and the cells of tables) that two documents are compared by.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/base/Streams.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/model/RPCheckpoint.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

struct TRPFPane {
  explicit TRPFPane(uint32_t options = 0) {
    Pane.SetStyle(&Style);
    Pane.RPFOptions = options;
  }
  TRPStyle Style{nullptr};
  TCustomRichPane Pane{nullptr};

  TCustomRPData& Data() { return Pane.RPData(); }

  // The whole document in the native format.
  AnsiString Save(TRPFSaveMode mode = rpfsmDocument) {
    TStringStream stream;
    EXPECT_TRUE(Data().SaveRPFToStream(stream, mode, nullptr, nullptr, clNone));
    return stream.DataString();
  }
  bool Load(const AnsiString& bytes) {
    TStringStream stream(bytes);
    TColor color = clNone;
    return Data().LoadRPFFromStream(stream, nullptr, color, nullptr);
  }
  bool Insert(const AnsiString& bytes, int32_t index, bool load = false) {
    TStringStream stream(bytes);
    TColor color = clNone;
    return Data().InsertRPFFromStream(stream, index, load, nullptr, color, nullptr);
  }
};

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
