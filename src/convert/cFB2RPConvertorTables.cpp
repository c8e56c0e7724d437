// The builder's tables: FB2 tables as table items with spans, merges and alignment, and
// the notes pass that places each queued note in a note table after its section child.
#include <utility>

#include "convert/cFB2RPConvertor.h"
#include "convert/cVoDaziScheme.h"
#include "fb2/FB2TagNames.h"
#include "fb2/cFictionBook2.h"
#include "richtext/layout/print/RPPrintableRP.h"
#include "richtext/table/RPTableItem.h"
#include "xml/dom/DomElement.h"

namespace {

// The alignment override of an "align" value: 1 left, 2 right, 3 centre, compared
// without regard to case; 0 for anything else.
int32_t AlignCode(const TDomElement& element) {
  WideString value = element.GetAttributeValue(AttrAlign);
  for (WideChar& c : value)
    if (c >= u'A' && c <= u'Z') c = static_cast<WideChar>(c + 32);
  if (value == ValueLeft) return 1;
  if (value == ValueRight) return 2;
  if (value == ValueCenter) return 3;
  return 0;
}

}  // namespace

void TFB2RPConvertor::AddTable(TCustomRPData& home, std::unique_ptr<TRPTableItemInfo> table) {
  Target = &home;
  Target->AddItem("", std::move(table));
  ItemAdded();
}

void TFB2RPConvertor::HandleTable(const TDomElement& table) {
  RegisterAnchor(table);
  int32_t rows = 0, cols = 0;
  if (!Book->GetTableSize(&table, rows, cols)) return;
  // The document the table belongs to: the main document, or the cell of the note whose
  // content holds it (appended to the main document, it would stand above its note).
  TCustomRPData& home = *Target;
  auto item = std::make_unique<TRPTableItemInfo>(rows, cols, &home);
  item->ParaNo = CentrePara();
  item->SetBorderStyle(rptbColor);
  item->SetCellBorderStyle(rptbColor);
  item->SetBorderColor(clWhite);
  item->SetCellBorderColor(clBlack);
  item->SetBorderWidth(0);
  item->SetCellBorderWidth(1);
  item->SetCellPadding(2);
  item->SetCellVSpacing(-1);
  item->SetCellHSpacing(-1);
  item->SetBestWidth(-100);
  // A page image cannot scroll: columns beyond the text area would be cut off, and so
  // would rows below the page's bottom: rows tied by a cell spanning them, and a row
  // taller than a page, go on over pages.
  item->Options |= rptoShrinkToWidth;
  item->PrintOptions |= rptoSplitRowGroups;
  // A pending page break belongs to the table, not to the first text of its cells.
  const bool pageBreak = std::exchange(PendingPageBreak, false);
  try {
    const TCellFrameScope frame(*this, *item);
    int32_t r = 0;
    for (const TDomElement* row = table.FindFirstChildElement(TagTr); row; row = row->GetNextSiblingElement()) {
      if (row->GetNodeName() != TagTr) continue;
      FillTableRow(*item, *row, r++, cols);
    }
  } catch (...) {
    Target = &home;
    throw;
  }
  PendingPageBreak = pageBreak;
  AddTable(home, std::move(item));
}

void TFB2RPConvertor::FillTableRow(TRPTableItemInfo& table, const TDomElement& row, int32_t r, int32_t colCount) {
  const int32_t rowAlign = AlignCode(row);
  int32_t c = 0;
  for (const TDomElement* cell = row.GetFirstChildElement(); cell && c < colCount;
       cell = cell->GetNextSiblingElement()) {
    const WideString name = cell->GetNodeName();
    if (name != TagTh && name != TagTd) continue;
    while (c < colCount && !table.GetCell(r, c)) ++c;
    if (c >= colCount) return;
    const int32_t rowSpan = Book->GetCellSpan(cell, AttrRowSpan);
    const int32_t colSpan = Book->GetCellSpan(cell, AttrColSpan);
    const int32_t cellAlign = AlignCode(*cell);
    if (rowSpan > 1 || colSpan > 1) table.MergeCells(r, c, colSpan, rowSpan, true);
    TRPTableCellData& data = *table.GetCell(r, c);
    data.Clear();
    Target = &data;
    WithStyle(name == TagTh ? vsTableHead : vsTableText, cellAlign != 0 ? cellAlign : rowAlign,
              [&] { HandleParagraphContent(*cell); });
    c += colSpan;
  }
}

void TFB2RPConvertor::NotesPass() {
  // Links met inside a note wait for the loop that builds the note.
  if (!ExpandingNotes.empty()) return;
  while (!NoteQueue.empty()) {
    const TNoteLink queued = NoteQueue.front();
    NoteQueue.erase(NoteQueue.begin());
    BuildNoteTable(queued);
  }
}

void TFB2RPConvertor::BuildNoteTable(const TNoteLink& queued) {
  const TDomElement* note = Book->FindNoteElement(queued.Link);
  if (!note) return;
  const WideString text = queued.Link->GetTextContent();
  const int32_t cols = Scheme->CopyHRefLink && !text.empty() ? 2 : 1;
  WithStyle(vsFootnote, 0, [&] {
    const bool pageBreak = std::exchange(PendingPageBreak, false);
    auto table = std::make_unique<TRPTableItemInfo>(1, cols, &View->RPData());
    table->ParaNo = CentrePara();
    table->SetBorderStyle(rptbColor);
    table->SetCellBorderStyle(rptbColor);
    table->SetBorderColor(clBlack);
    table->SetCellBorderColor(clWhite);
    table->VisibleBorders.SetValues(true, true, false, true);
    table->SetBorderWidth(1);
    table->SetBorderVSpacing(0);
    table->SetBorderHSpacing(0);
    table->SetCellBorderWidth(0);
    table->SetCellPadding(2);
    table->SetCellVSpacing(0);
    table->SetCellHSpacing(0);
    table->Options |= rptoShrinkToWidth;
    // A note longer than a page goes on over pages, between the lines of its one row.
    table->PrintOptions |= rptoSplitRowGroups;
    TRPTableCellData& first = *table->GetCell(0, 0);
    first.BestWidth = -100;
    first.Clear();
    struct TRestore {
      TFB2RPConvertor& Owner;
      ~TRestore() {
        Owner.Target = &Owner.View->RPData();
        Owner.ExpandingNotes.clear();
      }
    } restore{*this};
    if (cols == 2) {
      first.BestWidth = -1;
      TRPTableCellData& second = *table->GetCell(0, 1);
      second.BestWidth = -99;
      second.Clear();
      Target = &first;
      WithRunStyle(TRunStyle::Sup, [&] { AddNoteNumber(text); });
    }
    table->SetBestWidth(-100);
    const TCellFrameScope frame(*this, *table);
    Target = table->GetCell(0, cols - 1);
    ExpandingNotes = queued.Expanding;
    ExpandingNotes.push_back(note);
    if (note->GetNodeName() == TagSection)
      HandleNoteSection(*note);
    else
      HandleParagraphContent(*note);
    PendingPageBreak = pageBreak;
    AddTable(View->RPData(), std::move(table));
  });
}
