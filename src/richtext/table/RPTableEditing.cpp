// The table's own operations on rows and columns, and what ties the table to the
// document that holds it: its position there, the outermost item holding it, whether
// the document's selection covers it, its cells' hyperlinks and their selections.
#include <algorithm>
#include <memory>

#include "platform/base/ScopeExit.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/table/RPTableItem.h"

// --- Rows and columns -------------------------------------------------------------------

TRPTableItemInfo::TSpellingBracket::TSpellingBracket(TRPTableItemInfo& table)
    : FTable(table), FData(table.FRows->MainRPData) {
  if (!FData) return;
  FData->PauseLiveSpelling();
  FData->LiveSpellingItemFreed(table);
}

TRPTableItemInfo::TSpellingBracket::~TSpellingBracket() {
  if (!FData) return;
  if (const int32_t itemNo = FTable.GetItemNo(); itemNo >= 0) FData->LiveSpellingResetFrom(*FData, itemNo, 0);
  FData->ResumeLiveSpelling();
}

// Whether it raises or not, the operation leaves the editor's update group; the layout
// and the editor's notice follow only a finished operation.
template <typename F>
void TRPTableItemInfo::GridOperation(F operation) {
  const int32_t itemNo = GetItemNo();
  const int32_t saved = PrepareChange(itemNo);
  BeginUpdateGroup();
  {
    const TScopeExit leaveGroup([this] { EndUpdateGroup(); });
    const TSpellingBracket spelling(*this);
    operation();
  }
  Changed();
  CompleteChange(itemNo, saved);
  NotifyChange();
}

void TRPTableItemInfo::InsertRows(int32_t index, int32_t count, int32_t copyIndex, bool select) {
  DestroyInplaceEditor();
  GridOperation([&] { FRows->InsertRows(index, count, copyIndex, false); });
  if (select) SelectRows(index, count);
}

void TRPTableItemInfo::InsertCols(int32_t index, int32_t count, int32_t copyIndex, bool select) {
  DestroyInplaceEditor();
  GridOperation([&] { FRows->InsertCols(index, count, copyIndex, false); });
  if (select) SelectCols(index, count);
}

void TRPTableItemInfo::DeleteAlong(bool rows, int32_t index, int32_t count, bool divideSize) {
  if (FRows->IsEmpty()) return;
  // The cell edited in place, as it will be numbered once the block is gone.
  const bool edited = FInplaceEditor != nullptr && FEditedRow >= 0;
  int32_t row = FEditedRow, col = FEditedCol;
  int32_t& along = rows ? row : col;
  if (edited && along >= index + count) along -= count;
  DestroyInplaceEditor();
  if ((FStates & rptsCellSelected) != 0 || FSelAnchorRow >= 0) RemoveCellSelection();
  GridOperation([&] {
    if (rows)
      FRows->DeleteRows(index, count, divideSize);
    else
      FRows->DeleteCols(index, count, divideSize);
  });
  if (!edited || FRows->IsEmpty() || (Options & rptoEditing) == 0) return;
  row = std::min(row, FRows->GetRowCount() - 1);
  col = std::min(col, FRows->GetColCount() - 1);
  int32_t mainRow = 0, mainCol = 0;
  if (FRows->GetMainCell(row, col, mainRow, mainCol))
    CreateInplaceEditor(-1, mainRow, mainCol, true, false, false, true);
}

void TRPTableItemInfo::DeleteRows(int32_t index, int32_t count, bool divideSize) {
  DeleteAlong(true, index, count, divideSize);
}

void TRPTableItemInfo::DeleteCols(int32_t index, int32_t count, bool divideSize) {
  DeleteAlong(false, index, count, divideSize);
}

bool TRPTableItemInfo::MergeCells(int32_t topRow, int32_t leftCol, int32_t colSpan, int32_t rowSpan,
                                  bool allowCoveredLines) {
  bool merged = false;
  // The edited cell's content goes back to it first; editing goes on in the cell that
  // covers it afterwards.
  SaveAndDestroyInplaceEditor();
  GridOperation([&] { merged = FRows->MergeCells(topRow, leftCol, colSpan, rowSpan, allowCoveredLines, true); });
  ReopenInplaceEditor();
  return merged;
}

void TRPTableItemInfo::DeleteEmptyRows() {
  // One undo step for all the rows.
  BeginUpdateGroup();
  const TScopeExit leaveGroup([this] { EndUpdateGroup(); });
  for (int32_t r = FRows->GetRowCount() - 1; r >= 0; --r) {
    const TRPTableRow& row = *FRows->GetRow(r);
    bool ownCell = false;
    for (int32_t c = 0; c < row.Count() && !ownCell; ++c) ownCell = row.GetItem(c) != nullptr;
    if (!ownCell) DeleteRows(r, 1, false);
  }
}

IRPTableGridNotes* TRPTableItemInfo::GetGridNotes() const {
  IRPTableEditHost* host = FindEditHost();
  return host ? host->GetGridNotes(GetItemNo()) : nullptr;
}

// --- The table in its document ----------------------------------------------------------

void TRPTableItemInfo::UpdatePosition() {
  const TCustomRPFormattedData* data = GetFormattedDocument();
  const int32_t itemNo = GetItemNo();
  int32_t left = 0, top = 0;
  if (data && itemNo >= 0 && data->GetItemClientCoords(itemNo, left, top)) FPosition = TPoint{left, top};
}

int32_t TRPTableItemInfo::GetRootItemNo() const {
  int32_t itemNo = GetItemNo();
  const TCustomRPData* data = FRows->MainRPData;
  while (data && itemNo >= 0) {
    std::unique_ptr<TRPStoreSubRPData> location;
    const int32_t parentItemNo = data->GetParentInfo(location);
    if (parentItemNo < 0) break;
    itemNo = parentItemNo;
    data = data->GetAbsoluteParentData();
  }
  return itemNo;
}

bool TRPTableItemInfo::IsWhollySelected() const {
  const TCustomRPFormattedData* data = GetFormattedDocument();
  if (!data) return false;
  if (const auto* cell = dynamic_cast<const TRPTableCellData*>(data); cell && cell->Selected) return true;
  const int32_t itemNo = GetItemNo();
  int32_t startItem = -1, endItem = -1, startOffs = 0, endOffs = 0;
  data->GetSelectionBounds(startItem, endItem, startOffs, endOffs, true);
  if (itemNo < 0 || startItem < 0 || endItem < 0) return false;
  const bool fromBefore = startItem < itemNo || (startItem == itemNo && startOffs == 0);
  const bool toAfter = endItem > itemNo || (endItem == itemNo && endOffs >= 1);
  return fromBefore && toAfter;
}

// --- Cells as parts of the document -------------------------------------------------------

void TRPTableItemInfo::BuildJumps(int32_t left, int32_t top, TRPJumpList& list, int32_t& jumpNo) {
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c) {
      TRPTableCellData* cell = FRows->GetCell(r, c);
      if (!cell) continue;
      // The cell edited in place: its editor numbers its own hyperlinks from here.
      if (FInplaceEditor && r == FEditedRow && c == FEditedCol) {
        jumpNo += FInplaceEditor->RebuildJumps(jumpNo);
        continue;
      }
      const size_t from = list.size();
      cell->CollectJumps(jumpNo, &list);
      const int32_t dx = left + cell->Left + FCellPadding;
      const int32_t dy = top + cell->Top + FCellPadding + cell->GetVAlignOffset();
      for (size_t j = from; j < list.size(); ++j) {
        list[j]->Left += dx;
        list[j]->Top += dy;
      }
    }
}

void TRPTableItemInfo::AddJumpAreas(TCustomRPFormattedData& data, int32_t drawNo, int32_t& jumpNo,
                                    std::vector<std::unique_ptr<TRPJumpInfo>>& list) {
  const TRPDrawLineInfo& d = *data.DrawItems[drawNo];
  BuildJumps(d.Left, d.Top, list, jumpNo);
}

void TRPTableItemInfo::ReleaseInnerSelection() {
  if ((FStates & rptsCellSelected) != 0 || FSelAnchorRow >= 0) RemoveCellSelection();
  DestroyInplaceEditor();
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r)
    for (int32_t c = 0; c < FRows->GetColCount(); ++c)
      if (TRPTableCellData* cell = FRows->GetCell(r, c)) cell->Deselect(nullptr, false);
}
