// Building small books for the builder's tests: an FB2 text around a body, a report view
// with its style sheet, and a dump of what the builder made (items with their paragraph
// and text styles, page breaks, checkpoints, tables cell by cell, and the styles).
#pragma once

#include <sstream>
#include <string>

#include "convert/cFB2RPConvertor.h"
#include "convert/cInternalLinks.h"
#include "convert/cVoDaziScheme.h"
#include "convert/uUniWin1251.h"
#include "fb2/cFictionBook2.h"
#include "platform/base/Streams.h"
#include "platform/base/Utf8.h"
#include "richtext/layout/print/RPPrintableRP.h"
#include "richtext/layout/print/RPReportHelper.h"
#include "richtext/model/RPCheckpoint.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableItem.h"

// A 4 x 6 black PNG.
inline constexpr char TinyPngBase64[] =
    "iVBORw0KGgoAAAANSUhEUgAAAAQAAAAGCAIAAABrW6giAAAADElEQVR4nGNgoCYAAABOAAHWZzc3AAAAAElFTkSuQmCC";

// A FictionBook with the given main body content, notes body content (none when empty)
// and the tiny PNG as binary "pic.png".
inline std::string MakeBook(const std::string& body, const std::string& notes = "") {
  std::string book =
      "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
      "<FictionBook xmlns=\"http://www.gribuser.ru/xml/fictionbook/2.0\" "
      "xmlns:l=\"http://www.w3.org/1999/xlink\"><description><title-info><book-title>B</book-title>"
      "</title-info></description><body>" +
      body + "</body>";
  if (!notes.empty()) book += "<body name=\"notes\">" + notes + "</body>";
  book += std::string("<binary id=\"pic.png\" content-type=\"image/png\">") + TinyPngBase64 + "</binary></FictionBook>";
  return book;
}

inline std::string Utf8(WideStringView text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t c = SurrogatePairAt(text, i);
    if (c != 0)
      ++i;
    else
      c = text[i];
    if (c == 0xAD)
      out += '~';  // soft hyphen
    else
      AppendUtf8(out, c);
  }
  return out;
}

struct TBuilderFixture {
  TBuilderFixture() { Helper.RichPane().SetStyle(&Style); }
  TFictionBook2 Book;
  TRPStyle Style{nullptr};
  TRPReportHelper Helper{nullptr};
  TVoDaziScheme Scheme;
  TInternalLinks Links;
  TFB2RPConvertor Builder;
  std::vector<int32_t> Progress;

  TReportRichPane& View() { return Helper.RichPane(); }
  TCustomRPData& Main() { return View().RPData(); }

  void Build(const std::string& fb2) {
    TStringStream stream(fb2);
    Book.LoadFromStream(stream);
    Progress.clear();
    Builder.Convert(
        Book, View(), [this](int32_t n) { Progress.push_back(n); }, Links, Scheme);
  }

  // Text items of a document joined, one line per paragraph.
  static std::string Text(TCustomRPData& data) {
    std::string out;
    for (int32_t i = 0; i < data.GetItemCount(); ++i) {
      if (i > 0 && data.StartsParagraph(i)) out += "\n";
      out += data.IsTextItem(i) ? Utf8(data.GetItemTextW(i)) : "[" + std::to_string(data.GetItem(i)->StyleNo) + "]";
    }
    return out;
  }

  static void DumpItems(TCustomRPData& data, const std::string& indent, std::ostringstream& out) {
    for (int32_t i = 0; i < data.GetItemCount(); ++i) {
      TCustomRPItemInfo& item = *data.GetItem(i);
      out << indent << i << (data.StartsParagraph(i) ? " para " + std::to_string(item.ParaNo) : " cont");
      if (data.GetPageBreakBefore(i)) out << " pagebreak";
      if (item.Checkpoint)
        out << " checkpoint \"" << Utf8(Win1251ToWide(item.Checkpoint->Name)) << "\" tag "
            << item.Checkpoint->Tag.Number();
      if (data.IsTextItem(i)) {
        out << " text " << item.StyleNo << " \"" << Utf8(data.GetItemTextW(i)) << "\"\n";
      } else if (const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(&item)) {
        out << " picture " << picture->GetImageWidth(nullptr) << "x" << picture->GetImageHeight(nullptr) << "\n";
      } else if (auto* table = dynamic_cast<TRPTableItemInfo*>(&item)) {
        const TRPTableRows& rows = table->Rows();
        out << " table " << rows.GetRowCount() << "x" << rows.GetColCount() << " width " << table->GetBestWidth()
            << "\n";
        for (int32_t r = 0; r < rows.GetRowCount(); ++r)
          for (int32_t c = 0; c < rows.GetColCount(); ++c)
            if (TRPTableCellData* cell = table->GetCell(r, c)) {
              out << indent << "  cell " << r << "," << c << " span " << cell->GetColSpan() << "x" << cell->GetRowSpan()
                  << " width " << cell->BestWidth << "\n";
              DumpItems(*cell, indent + "    ", out);
            }
      } else {
        out << " item " << item.StyleNo << "\n";
      }
    }
  }

  std::string DumpStyles() {
    std::ostringstream out;
    for (int32_t i = 0; i < Style.TextStyles().Count(); ++i) {
      const TFontInfo& f = *Style.TextStyles()[i];
      out << "text " << i << ": " << f.FontName << " " << f.Size << (f.Style.Contains(fsBold) ? " bold" : "")
          << (f.Style.Contains(fsItalic) ? " italic" : "") << (f.Style.Contains(fsUnderline) ? " underline" : "")
          << (f.Style.Contains(fsStrikeOut) ? " strike" : "") << " shift " << f.VShift << "\n";
    }
    const char* aligns[] = {"left", "right", "centre", "justify"};
    for (int32_t i = 0; i < Style.ParaStyles().Count(); ++i) {
      const TParaInfo& p = *Style.ParaStyles()[i];
      out << "para " << i << ": " << aligns[p.Alignment] << " indents " << p.LeftIndent << "/" << p.RightIndent << "/"
          << p.FirstIndent << " space " << p.SpaceBefore << "/" << p.SpaceAfter << " lines " << p.LineSpacing
          << (p.Options.Contains(rppaoKeepLinesTogether) ? " keeplines" : "")
          << (p.Options.Contains(rppaoKeepWithNext) ? " keepnext" : "")
          << (p.Options.Contains(rppaoNoWrap) ? " nowrap" : "") << "\n";
    }
    return out.str();
  }

  std::string Items() {
    std::ostringstream out;
    DumpItems(Main(), "", out);
    return out.str();
  }

  std::string Dump() {
    std::ostringstream out;
    DumpItems(Main(), "", out);
    out << DumpStyles();
    return out.str();
  }
};
