// The table's part of the document's plain text and of the RTF writer's colour table, and
// the controls its cells hold.
#include "richtext/model/RPUnicode.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

namespace {

// The colours a border of the style is drawn in.
void AddBorderColors(TRPColorList& colors, TRPTableBorderStyle style, TColor color, TColor lightColor) {
  switch (style) {
    case rptbRaised:
    case rptbLowered:
      colors.AddUniqueColor(clBtnHighlight);
      colors.AddUniqueColor(clBtnShadow);
      colors.AddUniqueColor(clBtnFace);
      break;
    case rptbColor:
      colors.AddUniqueColor(color);
      break;
    case rptbRaisedColor:
    case rptbLoweredColor:
      colors.AddUniqueColor(color);
      colors.AddUniqueColor(lightColor);
      break;
  }
}

}  // namespace

AnsiString TRPTableItemInfo::AsPlainText(int32_t lineWidth, TCustomRPData* rpData, bool& textIsUnicode) const {
  // UTF-16 throughout, so that no cell's text is lost; the document converts it.
  textIsUnicode = true;
  const IRPStyleSheet* sheet = rpData ? rpData->GetRPStyle() : nullptr;
  const uint32_t codePage = sheet ? sheet->GetDefCodePage() : 0;
  const AnsiString colSeparator = AnsiToRawUnicode(codePage, TextColSeparator);
  const AnsiString rowSeparator = AnsiToRawUnicode(codePage, TextRowSeparator);
  AnsiString text;
  for (int32_t row = 0; row < Rows().GetRowCount(); ++row) {
    for (int32_t col = 0; col < Rows().GetColCount(); ++col) {
      if (col > 0) text += colSeparator;
      if (TRPTableCellData* cell = GetCell(row, col)) {
        TMemoryStream cellText;
        cell->GetRPData()->SaveTextToStream({}, cellText, lineWidth, false, true, false, false);
        text.append(static_cast<const char*>(cellText.Memory()), static_cast<size_t>(cellText.Size()));
      }
    }
    text += rowSeparator;
  }
  return text;
}

void TRPTableItemInfo::FillRTFTables(TRPColorList& colors, TRPIntegerList& listOverrideCounts, TCustomRPData*) const {
  colors.AddUniqueColor(GetColor());
  AddBorderColors(colors, GetBorderStyle(), GetBorderColor(), GetBorderLightColor());
  AddBorderColors(colors, GetCellBorderStyle(), GetCellBorderColor(), GetCellBorderLightColor());
  if (GetVRuleWidth() > 0) colors.AddUniqueColor(GetVRuleColor());
  if (GetHRuleWidth() > 0) colors.AddUniqueColor(GetHRuleColor());
  for (int32_t row = 0; row < Rows().GetRowCount(); ++row)
    for (int32_t col = 0; col < Rows().GetColCount(); ++col) {
      TRPTableCellData* cell = GetCell(row, col);
      if (!cell) continue;
      colors.AddUniqueColor(cell->GetCellColor());
      colors.AddUniqueColor(cell->BorderColor);
      colors.AddUniqueColor(cell->BorderLightColor);
      TCustomRPData& content = *cell->GetRPData();
      for (int32_t i = 0; i < content.GetItemCount(); ++i)
        content.GetItem(i)->FillRTFTables(colors, listOverrideCounts, &content);
    }
}

bool TRPTableItemInfo::OwnsControl(const TComponent* control) const {
  for (int32_t row = 0; row < Rows().GetRowCount(); ++row)
    for (int32_t col = 0; col < Rows().GetColCount(); ++col)
      if (const TRPTableCellData* cell = GetCell(row, col))
        for (int32_t i = 0; i < cell->GetItemCount(); ++i)
          if (cell->GetItem(i)->OwnsControl(control)) return true;
  return false;
}
