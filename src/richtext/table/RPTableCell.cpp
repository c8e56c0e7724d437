#include "richtext/table/RPTableCell.h"

#include <algorithm>

#include "platform/base/Numbers.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableCells.h"
#include "richtext/table/RPTableGridNotes.h"
#include "richtext/table/RPTableItem.h"
#include "richtext/table/RPTablePropInfo.h"
#include "richtext/table/RPTableRows.h"

TRPTableCellData::TRPTableCellData(TRPTableRow* row) : TRPItemFormattedData(row) { AddRawText(AnsiString(), 0, 0); }

TRPTableCellData::~TRPTableCellData() = default;

void TRPTableCellData::SetCellColor(TColor value) { FColor = value; }

TRPTableRow* TRPTableCellData::GetRow() const { return static_cast<TRPTableRow*>(Owner()); }

void TRPTableCellData::SetRow(TRPTableRow* row) { SetOwner(row); }

TRPTableItemInfo* TRPTableCellData::GetTable() const {
  const TRPTableRow* row = FUndoHolder ? nullptr : GetRow();
  return row && row->GetRows() ? row->GetRows()->Table : nullptr;
}

void TRPTableCellData::DetachItems(TRPTableCellHolder& holder) {
  // The live-spelling walk must not stay in a cell that goes to the undo list.
  LiveSpellingCellFreed(*this);
  for (int32_t i = 0; i < GetItemCount(); ++i) GetItem(i)->MovingToUndoList(i, this);
  FUndoHolder = &holder;
  SetRow(nullptr);
}

void TRPTableCellData::AttachItems() {
  FUndoHolder = nullptr;
  for (int32_t i = 0; i < GetItemCount(); ++i) GetItem(i)->MovingFromUndoList(i, this);
}

TCustomRPFormattedData* TRPTableCellData::GetTableFormattedData() const {
  return dynamic_cast<TCustomRPFormattedData*>(GetParentData());
}

IRPMarkerList* TRPTableCellData::GetMarkers(bool create) {
  TRPTableItemInfo* table = GetTable();
  TCustomRPData* holder = table ? table->Rows().MainRPData : nullptr;
  if (!holder || holder->IndexOfItem(table) < 0) return nullptr;
  return TRPItemFormattedData::GetMarkers(create);
}

int32_t TRPTableCellData::GetPadding() const {
  const TRPTableItemInfo* table = GetTable();
  return table ? table->GetCellPadding() : 0;
}

// --- Queries ----------------------------------------------------------------------------

TRPCellVAlign TRPTableCellData::GetEffectiveVAlign() const {
  if (VAlign != rpcVDefault) return VAlign;
  const TRPCellVAlign rowAlign = GetRow() ? GetRow()->VAlign : rpcVDefault;
  return rowAlign == rpcVDefault ? rpcMiddle : rowAlign;
}

int32_t TRPTableCellData::GetVAlignOffset() const {
  const TRPCellVAlign align = GetEffectiveVAlign();
  if (align == rpcTop) return 0;
  // The editor in place carries the padding as its margins; the cell's own document
  // does not.
  const TCustomRPFormattedData* editor = GetEditorData();
  const int32_t free = editor ? Height - editor->DocumentHeight : Height - DocumentHeight - 2 * GetPadding();
  return align == rpcMiddle ? free / 2 : free;
}

bool TRPTableCellData::HasContent(bool defaultOnly) const {
  const TCustomRPData& content = GetContent();
  const int32_t count = content.GetItemCount();
  if (count != 1) return count > 1;
  if (!content.IsTextItem(0)) return true;
  if (defaultOnly)
    return content.GetItem(0)->StyleNo != 0 || content.GetItemPara(0) != 0 || !content.GetItemTextRaw(0).empty();
  return !content.GetItemTextRaw(0).empty();
}

int32_t TRPTableCellData::GetContentHeight(bool useBestHeight) const {
  if (useBestHeight && BestHeight != 0) return BestHeight;
  const TCustomRPFormattedData* editor = GetEditorData();
  return std::max(BestHeight, editor ? editor->DocumentHeight - 2 * GetPadding() : DocumentHeight);
}

int32_t TRPTableCellData::GetMinWidth(const TRPResolution* scale, TCanvas& canvas) {
  // While the editor in place edits the cell, its document holds the content.
  TCustomRPFormattedData* editor = GetEditorData();
  TCustomRPFormattedData& content = editor ? *editor : *this;
  const int32_t count = content.GetItemCount();
  if (count == 0) return 0;
  if (count == 1 && content.IsTextItem(0) && content.GetItemTextRaw(0).empty()) {
    const TRPStyle* style = GetStyleSheet();
    if (!style) return 0;
    const TParaInfo& para = *style->ParaStyles()[content.GetItemPara(0)];
    const int32_t indents = para.LeftIndent + para.RightIndent + para.FirstIndent;
    return scale ? MulDiv(indents, scale->DevicePpiX, scale->ScreenPpiX) : indents;
  }
  const int32_t width = content.CalculateMinDocWidth(scale, canvas);
  return width == 0 ? 10 : width;
}

void TRPTableCellData::AssignAttributes(const TRPTableCellData& source, bool includeSize, int32_t colDivisor,
                                        int32_t rowDivisor) {
  FColor = source.FColor;
  BorderColor = source.BorderColor;
  BorderLightColor = source.BorderLightColor;
  VisibleBorders = source.VisibleBorders;
  VAlign = source.VAlign;
  SetBackgroundImage(source.GetBackgroundImage());
  SetBackgroundStyle(source.GetBackgroundStyle());
  BackgroundImageFileName = source.BackgroundImageFileName;
  Hint = source.Hint;
  if (includeSize) {
    BestWidth = source.BestWidth / colDivisor;
    BestHeight = source.BestHeight / rowDivisor;
  }
}

void TRPTableCellData::CopyGeometry(const TRPTableCellData& source) {
  Left = source.Left;
  Top = source.Top;
  Width = source.Width;
  Height = source.Height;
}

bool TRPTableCellData::HasNoDeleteProtection() const {
  const TRPStyle* style = GetStyleSheet();
  if (!style) return true;
  for (int32_t i = 0; i < GetItemCount(); ++i) {
    if (IsTextItem(i)) {
      if (style->TextStyles()[GetItemStyle(i)]->Protection.Contains(rpprDeleteProtect)) return false;
    } else if (const auto* item = dynamic_cast<const TRPNonTextItemInfo*>(GetItem(i)); item && item->Unremovable) {
      return false;
    }
  }
  return true;
}

// --- Document answers -------------------------------------------------------------------

TRPOptions TRPTableCellData::GetOptions() const {
  const TCustomRPData* parent = FUndoHolder ? FUndoHolder->RPData : GetParentData();
  if (!parent) return 0;
  // A cell of a table that shrinks to its width wraps at that width, inside words too.
  const TRPTableItemInfo* table = GetTable();
  const TRPOptions ownWidth = table && (table->Options & rptoShrinkToWidth) != 0 ? rpoClientTextWidth : 0;
  return (parent->GetOptions() & ~rpoClientTextWidth) | ownWidth;
}

void TRPTableCellData::ItemAction(TRPItemAction action, TCustomRPItemInfo* item, AnsiString& text) {
  if (TCustomRPData* target = FUndoHolder ? FUndoHolder->RPData : GetParentData())
    target->ItemAction(action, item, text);
}

int32_t TRPTableCellData::GetHOffs() const {
  const TRPTableItemInfo* table = GetTable();
  if (!table) return 0;
  return -(table->GetPosition().X + table->GetCellPadding() + Left);
}

int32_t TRPTableCellData::GetVOffs() const {
  const TRPTableItemInfo* table = GetTable();
  if (!table) return 0;
  return -(GetVAlignOffset() + table->GetPosition().Y + table->GetCellPadding() + Top);
}

int32_t TRPTableCellData::GetParentInfo(std::unique_ptr<TRPStoreSubRPData>& location) const {
  location.reset();
  const TRPTableItemInfo* table = GetTable();
  if (!table) return -1;
  int32_t row = -1, col = -1;
  table->GetCellPosition(this, row, col);
  if (row < 0) return -1;
  location = std::make_unique<TRPTableStoreSubRPData>(row, col);
  return table->GetItemNo();
}

TPoint TRPTableCellData::GetOrigin() const {
  const TRPTableItemInfo* table = GetTable();
  const TCustomRPFormattedData* data = GetTableFormattedData();
  if (!table || !data) return TPoint{0, 0};
  const TPoint origin = data->GetOrigin();
  const int32_t padding = table->GetCellPadding();
  int32_t left = 0, top = 0;
  const int32_t itemNo = table->GetItemNo();
  if (itemNo < 0 || !data->GetItemCoords(itemNo, left, top)) left = top = 0;
  return TPoint{origin.X + left + Left + padding, origin.Y + top + Top + padding + GetVAlignOffset()};
}

// In the output's pixels while the table is laid out for it.
int32_t TRPTableCellData::GetWidth() const {
  const TRPTableItemInfo* table = GetTable();
  return table ? Width - 2 * table->ScaleX(table->GetCellPadding()) : Width;
}

int32_t TRPTableCellData::GetHeight() const {
  const TRPTableItemInfo* table = GetTable();
  return table ? Height - 2 * table->ScaleY(table->GetCellPadding()) : Height;
}

TColor TRPTableCellData::GetColor() const {
  const TRPTableItemInfo* table = GetTable();
  return table ? table->GetEffectiveCellColor(*this) : FColor;
}

// --- Published properties ---------------------------------------------------------------

const TClassProps& TRPTableCellData::Props() {
  using T = TRPTableCellData;
  static const TClassProps props(
      "TRPTableCellData", nullptr,
      {
          RPTableOrdProp<T, TColor>(
              "Color", [](const T& c) { return c.GetCellColor(); }, [](T& c, TColor v) { c.SetCellColor(v); }, clNone),
          RPTableOrdProp<T, TRPCellVAlign>(
              "VAlign", [](const T& c) { return c.VAlign; }, [](T& c, TRPCellVAlign v) { c.VAlign = v; }, rpcVDefault),
          RPTableOrdProp<T, int32_t>(
              "BestWidth", [](const T& c) { return c.BestWidth; }, [](T& c, int32_t v) { c.BestWidth = v; }, 0),
          RPTableOrdProp<T, int32_t>(
              "BestHeight", [](const T& c) { return c.BestHeight; }, [](T& c, int32_t v) { c.BestHeight = v; }, 0),
          VisibleBordersProp<T>(),
          RPTableOrdProp<T, TColor>(
              "BorderColor", [](const T& c) { return c.BorderColor; }, [](T& c, TColor v) { c.BorderColor = v; },
              clNone),
          RPTableOrdProp<T, TColor>(
              "BorderLightColor", [](const T& c) { return c.BorderLightColor; },
              [](T& c, TColor v) { c.BorderLightColor = v; }, clNone),
          RPTableOrdProp<T, TRPItemBackgroundStyle>(
              "BackgroundStyle", [](const T& c) { return c.GetBackgroundStyle(); },
              [](T& c, TRPItemBackgroundStyle v) { c.SetBackgroundStyle(v); }, rpbsColor),
          RPTableStrProp<T>(
              "BackgroundImageFileName", [](const T& c) { return c.BackgroundImageFileName; },
              [](T& c, AnsiString v) { c.BackgroundImageFileName = std::move(v); }),
          RPTableStrProp<T>(
              "Hint", [](const T& c) { return c.Hint; }, [](T& c, AnsiString v) { c.Hint = std::move(v); }),
      });
  return props;
}
