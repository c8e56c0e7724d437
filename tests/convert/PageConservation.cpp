#include "convert/PageConservation.h"

#include <algorithm>
#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "fb2/FB2TagNames.h"
#include "platform/base/CodePages.h"
#include "richtext/layout/RPMultiDrawItemInfo.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"
#include "richtext/table/RPTablePrint.h"
#include "xml/dom/DomElement.h"

namespace {

// Characters that leave ink: not blanks, line and paragraph separators, soft hyphens or
// the zero-width and direction marks.
bool LeavesInk(char16_t c) {
  if (c <= 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xAD) return false;
  if (c == 0x1680 || (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F)) return false;
  if ((c >= 0x205F && c <= 0x2064) || c == 0x3000 || c == 0xFEFF) return false;
  return true;
}

std::string Utf8(WideStringView text) { return WideToAnsi(WideString(text), CP_UTF8); }

// "x" (U+0078)
std::string Quoted(char16_t c) {
  std::ostringstream out;
  out << "\"" << Utf8(WideString(1, c)) << "\" (U+" << std::hex << std::uppercase << static_cast<int>(c) << ")";
  return out.str();
}

using TCharCounts = std::map<char16_t, int32_t>;

void CountInk(WideStringView text, TCharCounts& counts) {
  for (char16_t c : text)
    if (LeavesInk(c)) ++counts[c];
}

// The book's text as the builder takes it: the bodies' text nodes, a link's text unless
// it is an internal link that shows only its page reference (mode 1), and each linked
// note once (a note section without its title).
class TBookText {
public:
  TBookText(const TFictionBook2& book, int32_t internalLinksMode) : FBook(book), FLinksMode(internalLinksMode) {}

  TCharCounts Count() {
    for (int32_t i = 0; i < FBook.GetBodyCount(); ++i) CountNode(*FBook.GetBody(i));
    for (size_t i = 0; i < FNotes.size(); ++i) {
      const TDomElement& note = *FNotes[i];
      if (note.GetNodeName() != TagSection) {
        CountNode(note);
        continue;
      }
      for (const TDomElement* child = note.GetFirstChildElement(); child; child = child->GetNextSiblingElement())
        if (child->GetNodeName() != TagTitle) CountNode(*child);
    }
    return FCounts;
  }

private:
  void CountNode(const TDomNode& node) {
    for (const TDomNode* child = node.GetFirstChild(); child; child = child->GetNextSibling()) {
      if (child->GetNodeType() == ntText || child->GetNodeType() == ntCDATASection) {
        CountInk(child->GetNodeValue(), FCounts);
        continue;
      }
      if (child->GetNodeType() != ntElement) continue;
      if (child->GetNodeName() == TagA) {
        if (const TDomElement* note = FBook.FindNoteElement(child)) {
          if (std::find(FNotes.begin(), FNotes.end(), note) == FNotes.end()) FNotes.push_back(note);
        } else if (FLinksMode == 1 && !FBook.GetLocalHref(child).empty()) {
          continue;
        }
      }
      CountNode(*child);
    }
  }

  const TFictionBook2& FBook;
  const int32_t FLinksMode;
  TCharCounts FCounts;
  std::vector<const TDomElement*> FNotes;
};

// A document of the book (the main one or a cell's) with a name for messages.
struct TNamedDocument {
  const TCustomRPData* Data;
  std::string Name;
};

// The main document and every cell of every table in it, nested tables too.
std::vector<TNamedDocument> AllDocuments(const TCustomRPData& main) {
  std::vector<TNamedDocument> documents{{&main, "the main document"}};
  for (size_t k = 0; k < documents.size(); ++k) {
    const TNamedDocument parent = documents[k];
    for (int32_t i = 0; i < parent.Data->GetItemCount(); ++i) {
      const auto* table = dynamic_cast<const TRPTableItemInfo*>(parent.Data->GetItem(i));
      if (!table) continue;
      for (int32_t r = 0; r < table->Rows().GetRowCount(); ++r)
        for (int32_t c = 0; c < table->Rows().GetColCount(); ++c)
          if (const TRPTableCellData* cell = table->GetCell(r, c))
            documents.push_back({cell, "cell (" + std::to_string(r) + "," + std::to_string(c) +
                                           ") of the table at item " + std::to_string(i) + " of " + parent.Name});
    }
  }
  return documents;
}

std::string Describe(const TRect& r) {
  std::ostringstream out;
  out << "(" << r.Left << "," << r.Top << ")-(" << r.Right << "," << r.Bottom << ")";
  return out.str();
}

bool Contains(const TRect& outer, const TRect& inner) {
  return inner.Left >= outer.Left && inner.Top >= outer.Top && inner.Right <= outer.Right &&
         inner.Bottom <= outer.Bottom;
}

TRect Intersection(const TRect& a, const TRect& b) {
  return TRect{std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
               std::min(a.Bottom, b.Bottom)};
}

// Walks the pages as page painting places their draw items (canvas coordinates of the
// page bitmap, header included), checks each against the box it must stay in, and marks
// the characters each text draw item shows.
class TPageWalk {
public:
  explicit TPageWalk(const TFB2WolConvertor& driver) : FDriver(driver) {}

  void WalkPages() {
    const TReportRPData& data = FDriver.Report.ReportData();
    const TVoDaziScheme& s = FDriver.Scheme;
    for (int32_t n = 1; n <= FDriver.PageCount; ++n) {
      FPage = n;
      const int32_t header = FDriver.HeaderHeight(n), footer = FDriver.FooterHeight(n);
      const TRect area{s.MarginLeft, header + s.MarginTop, s.PageWidth - s.MarginRight,
                       s.PageHeight - footer - s.MarginBottom};
      int32_t first = 0, part = -1, last = -1;
      data.GetPageDrawItems(n, first, part, last);
      // The page is painted header-height pixels down (PaintPageAt).
      WalkDrawItems(data, data, first, last, part, data.GetPageTop(n) - header, data.GetPageTopForPart(n) - header,
                    data.GetAreaLeft(n), area, "the main document");
    }
  }

  // Every visible character of every document of the book was shown.
  void ExpectAllShown() {
    for (const TNamedDocument& document : AllDocuments(FDriver.Report.RichPane().RPData())) {
      for (int32_t i = 0; i < document.Data->GetItemCount(); ++i) {
        if (!document.Data->IsTextItem(i)) continue;
        const WideString text = document.Data->GetItemTextW(i);
        const std::vector<bool>& shown = FShown[{document.Data, i}];
        for (size_t k = 0; k < text.size(); ++k) {
          if (!LeavesInk(text[k]) || (k < shown.size() && shown[k])) continue;
          Fault("character " + std::to_string(k) + " of item " + std::to_string(i) + " of " + document.Name + " (\"" +
                Utf8(text) + "\") is on no page");
          break;
        }
      }
    }
  }

  void Fault(const std::string& message) {
    if (++FFaults <= MaxReported) ADD_FAILURE() << message;
  }
  void ReportRest() const {
    if (FFaults > MaxReported) ADD_FAILURE() << FFaults - MaxReported << " more faults";
  }

private:
  static constexpr int32_t MaxReported = 20;

  void ExpectInside(const TRect& box, const TRect& rect, const std::string& what) {
    if (!Contains(box, rect))
      Fault("page " + std::to_string(FPage) + ": " + what + " at " + Describe(rect) + " sticks out of " +
            Describe(box));
  }

  void Mark(const TCustomRPData& source, const TRPDrawLineInfo& d) {
    std::vector<bool>& shown = FShown[{&source, d.ItemNo}];
    const auto end = static_cast<size_t>(d.Offs - 1 + d.Length);
    if (shown.size() < end) shown.resize(end, false);
    for (size_t k = static_cast<size_t>(d.Offs - 1); k < end; ++k) shown[k] = true;
  }

  // Draw items first .. last of a printable document painted with canvas Y = document Y -
  // pageTop (after a continued part at the top: - pageTopForPart) and canvas X = document
  // X + areaLeft; a part index as page painting takes it (-1: whole items).
  void WalkDrawItems(const TCustomPrintableRPData& doc, const TCustomRPData& source, int32_t first, int32_t last,
                     int32_t part, int32_t pageTop, int32_t pageTopForPart, int32_t areaLeft, const TRect& box,
                     const std::string& name) {
    for (int32_t i = first; i <= last; ++i) {
      const TRPDrawLineInfo& d = *doc.DrawItems[i];
      const auto* multi = dynamic_cast<const TRPMultiDrawItemInfo*>(&d);
      if (i == last && last != first && multi && multi->PartsList.Count() > 0) part = 0;
      const std::string what = "draw item " + std::to_string(i) + " of " + name;
      if (doc.IsTextItem(d.ItemNo)) {
        ExpectInside(box, Bounds(d.Left + areaLeft, d.Top - pageTop, d.Width, d.Height),
                     what + " (\"" +
                         Utf8(doc.GetItemTextW(d.ItemNo).substr(static_cast<size_t>(d.Offs - 1),
                                                                static_cast<size_t>(d.Length))) +
                         "\")");
        Mark(source, d);
        continue;
      }
      const int32_t y = part > 0 || (part == 0 && i == first) ? -pageTop : d.Top - pageTop;
      const int32_t height = part >= 0 && multi ? multi->PartsList.Part(part)->Height : d.Height;
      if (const auto* table = dynamic_cast<const TRPTablePrintInfo*>(&d))
        WalkTable(*table, part, d.Left + areaLeft, y, box, "the table of " + what);
      else
        ExpectInside(box, Bounds(d.Left + areaLeft, y, d.Width, height), what);
      if (part != -1) {
        if (i == first) pageTop = pageTopForPart;
        part = -1;
      }
    }
  }

  // Part partIndex of a printed table (every row for -1) with its top-left corner at
  // (x, y): the table's rectangle, each painted cell's rectangle (or the piece of it that
  // the part shows) and the content of the cell's printable copy inside it.
  void WalkTable(const TRPTablePrintInfo& info, int32_t partIndex, int32_t x, int32_t y, const TRect& box,
                 const std::string& name) {
    const TRPTableItemInfo& table = info.Table;
    const TRPTableItemInfo::TResolutionScope scope(table, &info.Resolution);
    const TRPTableItemFormattingInfo& f = info.FormattingInfo;
    const int32_t lastRow = table.Rows().GetRowCount() - 1;
    if (lastRow < 0 || f.RowHeights.Count() != lastRow + 1) return;
    int32_t firstRow = 0, endRow = lastRow, headingCount = 0;
    if (partIndex >= 0) {
      const TRPTablePrintPart& part = info.Part(partIndex);
      firstRow = part.StartRow;
      endRow = std::min(part.StartRow + part.RowCount - 1, lastRow);
      if (info.RepeatHeading) headingCount = std::min(table.GetHeadingRowCount(), firstRow);
    }
    // The part's rows follow the heading rows, or the table's top space.
    const int32_t shift = (headingCount > 0 ? f.RowStarts[headingCount] : f.RowStarts[0]) - f.RowStarts[firstRow];
    const int32_t bottomSpace = f.Height - f.RowStarts[lastRow] - f.RowHeights[lastRow];
    ExpectInside(box,
                 TRect{x, y, x + f.Width,
                       y + f.RowStarts[endRow] + info.RowHeightInPart(partIndex, endRow) + shift + bottomSpace},
                 name);
    // The cells painted: those of the heading rows, those reaching into the part's first
    // row from above (the part before cut them), those of the part's rows.
    std::vector<std::pair<int32_t, int32_t>> cells;
    const TRPTableRows& grid = table.Rows();
    const auto addRow = [&](int32_t r) {
      for (int32_t c = 0; c < grid.GetColCount(); ++c)
        if (grid.GetCell(r, c)) cells.emplace_back(r, c);
    };
    for (int32_t r = 0; r < headingCount; ++r) addRow(r);
    for (int32_t c = 0; c < grid.GetColCount(); ++c) {
      int32_t mr = 0, mc = 0;
      if (grid.GetMainCell(firstRow, c, mr, mc) && mr < firstRow && mc == c) cells.emplace_back(mr, mc);
    }
    for (int32_t r = firstRow; r <= endRow; ++r) addRow(r);
    const int32_t padX = table.ScaleX(table.GetCellPadding()), padY = table.ScaleY(table.GetCellPadding());
    for (const auto& [r, c] : cells) {
      const TRPTableCellData& cell = *grid.GetCell(r, c);
      const std::string cellName = "cell (" + std::to_string(r) + "," + std::to_string(c) + ") of " + name;
      // A cell the part cuts shows its piece: its rows in the part, its lines from the top.
      TRPTablePrintInfo::TCellPiece piece;
      const bool cut = info.GetCellPiece(partIndex, r, c, piece);
      const int32_t top = y + f.RowStarts[cut ? piece.FirstRow : r] + (r < headingCount ? 0 : shift);
      const int32_t height = cut ? piece.RowsHeight + 2 * padY : table.SpanHeight(f, r, cell.GetRowSpan());
      const TRect cellRect = Bounds(x + f.ColStarts[c], top, table.SpanWidth(f, c, cell.GetColSpan()), height);
      ExpectInside(box, cellRect, cellName);
      const TCellPtblRPData* copy = info.CellPrintData(r, c);
      if (!copy || copy->DrawItems.Count() == 0) continue;
      int32_t first = 0, last = copy->DrawItems.Count() - 1, contentTop = cellRect.Top + padY;
      if (cut) {
        first = piece.FirstDrawItem;
        last = piece.LastDrawItem;
        contentTop -= piece.ContentTop;
      } else {
        const int32_t free = cellRect.Height() - 2 * padY - copy->DocumentHeight;
        const TRPCellVAlign align = cell.GetEffectiveVAlign();
        contentTop += align == rpcMiddle ? free / 2 : align == rpcBottom ? free : 0;
      }
      WalkDrawItems(*copy, copy->Source(), first, last, -1, -contentTop, -contentTop, cellRect.Left + padX,
                    Intersection(box, cellRect), "the content of " + cellName);
    }
  }

  const TFB2WolConvertor& FDriver;
  int32_t FPage = 0;
  int32_t FFaults = 0;
  std::map<std::pair<const TCustomRPData*, int32_t>, std::vector<bool>> FShown;
};

}  // namespace

void ExpectEveryCharacterOnSomePage(const TFB2WolConvertor& driver) {
  ASSERT_GE(driver.PageCount, 1) << "the book has no pages";
  TPageWalk walk(driver);

  // The book's text is in the document.
  TCharCounts inDocument;
  for (const TNamedDocument& document : AllDocuments(driver.Report.RichPane().RPData()))
    for (int32_t i = 0; i < document.Data->GetItemCount(); ++i)
      if (document.Data->IsTextItem(i)) CountInk(document.Data->GetItemTextW(i), inDocument);
  for (const auto& [c, count] : TBookText(driver.Book, driver.Scheme.InternalLinksMode).Count())
    if (inDocument[c] < count)
      walk.Fault("the book has " + std::to_string(count) + " of " + Quoted(c) + ", the document " +
                 std::to_string(inDocument[c]));

  // The document's text is on the pages, and the pages keep what they show.
  walk.WalkPages();
  walk.ExpectAllShown();
  walk.ReportRest();
}
