#include "richtext/table/RPTableItem.h"

#include <algorithm>

#include "platform/base/Cursors.h"
#include "richtext/model/RPScaling.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTablePropInfo.h"

namespace {
const TRPItemClassInfo TableItemClass{"TRPTableItemInfo", &CreateRPItem<TRPTableItemInfo>};

// Registers the table's style number with the item-type registry at start-up.
const bool TableClassRegistered = [] {
  RegisterItemClass(rpsnTable, &TableItemClass);
  return true;
}();
}  // namespace

TRPTableItemInfo::TRPTableItemInfo(int32_t rowCount, int32_t colCount, TCustomRPData* rpData)
    : TRPFullLineItemInfo(rpData) {
  Init(rowCount, colCount, rpData);
}

TRPTableItemInfo::TRPTableItemInfo(TCustomRPData* rpData) : TRPFullLineItemInfo(rpData) { Init(1, 1, rpData); }

TRPTableItemInfo::~TRPTableItemInfo() {
  // The editor in place goes quietly, its content back in its cell; the guide line of a
  // drag in progress goes with the table.
  DestroyInplaceEditor(true);
  if (FResizeIndex > 0 && FRows && FRows->MainRPData)
    if (auto* data = dynamic_cast<TCustomRPFormattedData*>(FRows->MainRPData->GetAbsoluteRootData());
        data && data->IsXorDrawHandler(this))
      data->RemoveXorDrawHandler(this);
}

TRPItemClass TRPTableItemInfo::ItemClass() const {
  (void)TableClassRegistered;
  return &TableItemClass;
}

namespace {
// The program's cursors for selecting a column and a row, registered under the numbers
// tables show them by; a program without the resources keeps the arrow there.
void RegisterTableCursors() {
  TScreenCursor cursor;
  if (LoadCursorResource(u"RP_SELECTCOL_CURSOR", cursor)) SetScreenCursor(crRPTableSelectCol, cursor);
  if (LoadCursorResource(u"RP_SELECTROW_CURSOR", cursor)) SetScreenCursor(crRPTableSelectRow, cursor);
}
}  // namespace

void TRPTableItemInfo::Init(int32_t rowCount, int32_t colCount, TCustomRPData* rpData) {
  static const bool cursorsRegistered = (RegisterTableCursors(), true);
  (void)cursorsRegistered;
  FFormatting = std::make_unique<TRPTableItemFormattingInfo>(false);
  StyleNo = rpsnTable;
  FRows = std::make_unique<TRPTableRows>(rowCount, colCount, rpData, this);
  FStates = rptsFresh;
}

void TRPTableItemInfo::GetCellPosition(const TRPTableCellData* cell, int32_t& row, int32_t& col) const {
  // While the rows are being made (their cells are filled as they are made), no cell has a
  // position yet.
  for (row = 0; FRows && row < FRows->GetRowCount(); ++row) {
    col = FRows->GetRow(row)->IndexOf(cell);
    if (col >= 0) return;
  }
  row = -1;
  col = -1;
}

int32_t TRPTableItemInfo::GetItemNo() const {
  const TCustomRPData* data = FRows->MainRPData;
  if (!data) return -1;
  if (FItemNo < 0 || FItemNo >= data->GetItemCount() || data->GetItem(FItemNo) != this)
    FItemNo = data->IndexOfItem(this);
  return FItemNo;
}

// --- Item-base answers ------------------------------------------------------------------

bool TRPTableItemInfo::GetBoolValue(TRPItemBoolQuery query) const {
  switch (static_cast<int32_t>(query)) {
    case 4:
    case 5:
    case 6:
    case 10:
    case 12:
      return true;
    default:
      return TRPFullLineItemInfo::GetBoolValue(query);
  }
}

bool TRPTableItemInfo::GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet* rpStyle) const {
  // The table prints itself, never as a bitmap.
  return query == rpibqxPrintAsBitmap ? false : TRPFullLineItemInfo::GetBoolValueEx(query, rpStyle);
}

void TRPTableItemInfo::Inserting(TCustomRPData* rpData, AnsiString& text, bool safe) {
  FRows->MainRPData = rpData;
  FStates = static_cast<TRPTableStates>(rpData ? FStates | rptsInDocument : FStates & ~rptsInDocument);
  const bool inEditor = rpData && RPTableHooks().FindEditHost && RPTableHooks().FindEditHost(*rpData);
  FStates = static_cast<TRPTableStates>(inEditor ? FStates | rptsInEditor : FStates & ~rptsInEditor);
  for (int32_t r = 0; r < FRows->GetRowCount(); ++r) {
    TRPTableRow* row = FRows->GetRow(r);
    for (int32_t c = 0; c < row->Count(); ++c)
      if (TRPTableCellData* cell = row->GetItem(c)) {
        if (cell->GetItemCount() == 0) cell->AddRawText(AnsiString(), 0, 0);
        cell->SetRow(row);
      }
  }
  TRPFullLineItemInfo::Inserting(rpData, text, safe);
}

int32_t TRPTableItemInfo::ScaleX(int32_t v) const { return FResolution ? ScreenToDeviceX(v, *FResolution) : v; }

int32_t TRPTableItemInfo::ScaleY(int32_t v) const { return FResolution ? ScreenToDeviceY(v, *FResolution) : v; }

TCustomRPFormattedData* TRPTableItemInfo::GetFormattedDocument() const {
  return dynamic_cast<TCustomRPFormattedData*>(FRows->MainRPData);
}

// --- Colours ------------------------------------------------------------------------------

TColor TRPTableItemInfo::GetTableColor(bool useDocumentColor) const {
  if (FColor != clNone) return FColor;
  const TCustomRPFormattedData* data = GetFormattedDocument();
  const int32_t itemNo = GetItemNo();
  if (!data || itemNo < 0 || !data->GetStyleSheet()) return clNone;
  const TColor paraColor = data->GetParaStyle(itemNo).Background.Color;
  return paraColor == clNone && useDocumentColor ? data->GetColor() : paraColor;
}

TColor TRPTableItemInfo::GetEffectiveCellColor(const TRPTableCellData& cell) const {
  return cell.GetCellColor() != clNone ? cell.GetCellColor() : GetTableColor(true);
}

bool TRPTableItemInfo::IsCellColorNone(const TRPTableCellData& cell) const {
  return cell.GetCellColor() == clNone && GetTableColor(false) == clNone;
}

// --- Row groups and headings ----------------------------------------------------------------

// Row groups are found from the cells' own rows and spans, one pass over the rows
// involved, so that a cell spanning many rows costs no walk up the grid per position.

// The last row of the cells standing in row r (r itself without any); -1 for none.
int32_t TRPTableItemInfo::LastRowReachedFrom(int32_t r) const {
  int32_t reach = -1;
  const TRPTableRow& cells = *FRows->GetRow(r);
  for (int32_t c = 0; c < cells.Count(); ++c)
    if (const TRPTableCellData* cell = cells.GetItem(c)) reach = std::max(reach, r + cell->GetRowSpan() - 1);
  return reach;
}

bool TRPTableItemInfo::NoRowSpanBelow(int32_t row) const {
  for (int32_t r = 0; r <= row; ++r)
    if (LastRowReachedFrom(r) > row) return false;
  return true;
}

// The cells covering the rows met so far (those starting at or above the group's end and
// reaching into it) widen the group until it no longer grows.
int32_t TRPTableItemInfo::GetRowGroupEnd(int32_t row) const {
  int32_t end = row;
  for (int32_t r = 0; r <= end; ++r)
    if (const int32_t reach = LastRowReachedFrom(r); reach >= row) end = std::max(end, reach);
  return end;
}

int32_t TRPTableItemInfo::GetRowGroupStart(int32_t row) const {
  int32_t start = row;
  for (int32_t r = row; r >= 0; --r)
    if (LastRowReachedFrom(r) >= start) start = r;
  return start;
}

int32_t TRPTableItemInfo::GetHeadingRowCountLimited() const { return std::min(FHeadingRowCount, FRows->GetRowCount()); }

bool TRPTableItemInfo::HasPageBreakBefore(int32_t firstRow, int32_t lastRow) const {
  if (firstRow < 0) firstRow = FHeadingRowCount + 1;
  if (lastRow < 0) lastRow = FRows->GetRowCount() - 1;
  for (int32_t r = std::max(firstRow, 0); r <= lastRow && r < FRows->GetRowCount(); ++r)
    if (FRows->GetRow(r)->PageBreakBefore) return true;
  return false;
}

bool TRPTableItemInfo::IsHeadingBlockClosed() const {
  const int32_t h = GetHeadingRowCountLimited();
  return h > 0 && NoRowSpanBelow(h - 1);
}

// --- Background -----------------------------------------------------------------------------

void TRPTableItemInfo::SetBackgroundStyle(TRPItemBackgroundStyle style) {
  if (style == GetBackgroundStyle()) return;
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("BackgroundStyle", style, false, false);
  else
    FBackground.SetStyle(style);
}
