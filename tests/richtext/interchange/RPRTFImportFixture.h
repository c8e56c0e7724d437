// Imports into a report control's document (the kind the program lays out on pages), with
// a header and a footer document that share its style sheet, and the document's content
// written as one line per item, so that tests compare it with what the source holds.
//
// Item lines: "KIND s=STYLE p=PARA FLAGS 'TEXT'" where FLAGS is N (starts a paragraph),
// C (continues the line) or L (new line inside the paragraph), with "+page" for a page
// break before; KIND is text, tab, pict WxH, hotpict WxH, table RxC or marker. A
// table's cells follow it, indented, as "cell R,C span RSxCS" with their items.
#pragma once

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "platform/base/Streams.h"
#include "platform/base/Utf8.h"
#include "richtext/interchange/RPRTFProps.h"
#include "richtext/layout/print/RPReportHelper.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableItem.h"

inline std::string WideToUtf8Text(const WideString& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t value = text[i];
    if (value >= 0xD800 && value < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000)
      value = 0x10000 + ((value - 0xD800) << 10) + (text[++i] - 0xDC00);
    AppendUtf8(out, value);
  }
  return out;
}

inline WideString Utf8ToWideText(std::string_view text) {
  WideString out;
  for (size_t at = 0; at < text.size();) {
    uint32_t value = 0;
    size_t used = 0;
    if (!DecodeUtf8Sequence(text, at, value, used)) {
      value = static_cast<uint8_t>(text[at]);
      used = 1;
    }
    AppendUtf16(out, value);
    at += used;
  }
  return out;
}

// A 24-bit device-independent bitmap of width x height as RTF picture data (the bitmap
// file's bytes without the 14-byte file header).
inline std::string DibHex(int32_t width, int32_t height) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(width, height);
  TMemoryStream stream;
  bitmap.SaveToStream(stream);
  const auto* bytes = static_cast<const uint8_t*>(stream.Memory());
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (int64_t i = 14; i < stream.Size(); ++i) {
    hex += digits[bytes[i] >> 4];
    hex += digits[bytes[i] & 15];
  }
  return hex;
}

// A document that answers a style sheet it does not own.
class TStyledData : public TCustomRPData {
public:
  explicit TStyledData(const TRPStyle& style) : FStyle(style) {}
  const IRPStyleSheet* GetRPStyle() const override { return &FStyle; }

private:
  const TRPStyle& FStyle;
};

struct TImportFixture {
  TImportFixture() {
    Helper.RichPane().SetStyle(&Style);
    Helper.RichPane().LeftMargin = Helper.RichPane().RightMargin = 0;
    Helper.RichPane().TopMargin = Helper.RichPane().BottomMargin = 0;
  }

  TRPStyle Style{nullptr};
  TRPReportHelper Helper{nullptr};
  TStyledData Header{Style};
  TStyledData Footer{Style};
  TRPRTFReaderProperties Props;

  TReportRPData& Data() { return Helper.ReportData(); }

  // Imports rtf at position (the end by default); position receives the first item's
  // index.
  TRPRTFErrorCode Import(const std::string& rtf, int32_t* position = nullptr, TCustomRPData* into = nullptr) {
    TCustomRPData& target = into ? *into : static_cast<TCustomRPData&>(Data());
    TMemoryStream stream;
    stream.WriteBuffer(rtf.data(), static_cast<int32_t>(rtf.size()));
    stream.SetPosition(0);
    int32_t at = position ? *position : target.GetItemCount();
    const TRPRTFErrorCode code = Props.ReadRTFFromStream(stream, target, at);
    if (position) *position = at;
    return code;
  }

  static std::string ItemText(const TCustomRPData& data, int32_t i) { return WideToUtf8Text(data.GetItemTextW(i)); }

  static std::string Flags(const TCustomRPItemInfo& item) {
    std::string flags = item.GetContinuesLine() ? "C" : item.GetLineBreakBefore() ? "L" : "N";
    if (item.GetPageBreakBefore()) flags += "+page";
    return flags;
  }

  // One line per item, cells of tables indented below their table.
  static std::string Dump(const TCustomRPData& data, const std::string& indent = "") {
    std::ostringstream out;
    for (int32_t i = 0; i < data.GetItemCount(); ++i) {
      const TCustomRPItemInfo& item = *data.GetItem(i);
      out << indent;
      if (const auto* table = dynamic_cast<const TRPTableItemInfo*>(&item)) {
        const TRPTableRows& rows = table->Rows();
        out << "table " << rows.GetRowCount() << "x" << rows.GetColCount() << " p=" << item.ParaNo << " " << Flags(item)
            << "\n";
        for (int32_t r = 0; r < rows.GetRowCount(); ++r)
          for (int32_t c = 0; c < rows.GetColCount(); ++c)
            if (const TRPTableCellData* cell = rows.GetCell(r, c)) {
              out << indent << "  cell " << r << "," << c << " span " << cell->GetRowSpan() << "x" << cell->GetColSpan()
                  << "\n";
              out << Dump(*cell, indent + "    ");
            }
        continue;
      }
      if (const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&item)) {
        out << (item.StyleNo == rpkindHotPicture ? "hotpict " : "pict ") << picture->GetImageWidth(nullptr) << "x"
            << picture->GetImageHeight(nullptr);
      } else if (item.StyleNo == rpkindTab) {
        out << "tab s=" << item.GetAssociatedTextStyleNo();
      } else if (item.StyleNo == rpkindListMarker) {
        out << "marker";
      } else if (item.StyleNo >= 0) {
        out << "text s=" << item.StyleNo;
      } else {
        out << "kind" << item.StyleNo;
      }
      out << " p=" << item.ParaNo << " " << Flags(item);
      if (item.StyleNo >= 0) out << " '" << ItemText(data, i) << "'";
      out << "\n";
    }
    return out.str();
  }

  // The document's paragraphs as text (items joined, "\n" between paragraphs and lines,
  // a tab item as "\t").
  static std::string PlainText(const TCustomRPData& data) {
    std::string text;
    for (int32_t i = 0; i < data.GetItemCount(); ++i) {
      const TCustomRPItemInfo& item = *data.GetItem(i);
      if (i > 0 && !item.GetContinuesLine()) text += "\n";
      if (item.StyleNo >= 0) text += ItemText(data, i);
      if (item.StyleNo == rpkindTab) text += "\t";
    }
    return text;
  }
};
