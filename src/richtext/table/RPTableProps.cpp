// The table's published properties: the registry entries, the by-name setters, and
// the by-name change that becomes an undoable step while the table lies in an editor.
#include <utility>
#include <vector>

#include "richtext/table/RPTableItem.h"
#include "richtext/table/RPTablePropInfo.h"

namespace {
// Clears a state bit for a scope and restores it afterwards when it was set.
class TStateBitScope {
public:
  TStateBitScope(TRPTableStates& states, TRPTableStates bit)
      : FStates(states), FBit(bit), FWasSet((states & bit) != 0) {
    FStates = static_cast<TRPTableStates>(FStates & ~bit);
  }
  ~TStateBitScope() {
    if (FWasSet) FStates = static_cast<TRPTableStates>(FStates | FBit);
  }
  TStateBitScope(const TStateBitScope&) = delete;
  TStateBitScope& operator=(const TStateBitScope&) = delete;

private:
  TRPTableStates& FStates;
  TRPTableStates FBit;
  bool FWasSet;
};

void WriteOrdProp(TPersistent& object, const AnsiString& name, int32_t value) {
  if (const TPropInfo* prop = FindPublishedProp(object, name); prop && prop->HasSetter())
    prop->Set(object, TPropValue(int64_t(value)));
}

void WriteStrProp(TPersistent& object, const AnsiString& name, const AnsiString& value) {
  if (const TPropInfo* prop = FindPublishedProp(object, name); prop && prop->HasSetter())
    prop->Set(object, TPropValue(value));
}

}  // namespace

void TRPTableItemInfo::SetBestWidth(TRPHTMLLength value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("BestWidth", static_cast<int32_t>(value), true, true);
  else
    FBestWidth = value;
}

void TRPTableItemInfo::SetColor(TColor value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("Color", static_cast<int32_t>(value), false, false);
  else
    FColor = value;
}

void TRPTableItemInfo::SetHeadingRowCount(int32_t value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("HeadingRowCount", static_cast<int32_t>(value), false, false);
  else
    FHeadingRowCount = value;
}

void TRPTableItemInfo::SetBorderWidth(int32_t value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("BorderWidth", static_cast<int32_t>(value), true, true);
  else
    FBorderWidth = value;
}

void TRPTableItemInfo::SetBorderColor(TColor value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("BorderColor", static_cast<int32_t>(value), false, false);
  else
    FBorderColor = value;
}

void TRPTableItemInfo::SetBorderLightColor(TColor value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("BorderLightColor", static_cast<int32_t>(value), false, false);
  else
    FBorderLightColor = value;
}

void TRPTableItemInfo::SetBorderStyle(TRPTableBorderStyle value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("BorderStyle", static_cast<int32_t>(value), false, false);
  else
    FBorderStyle = value;
}

void TRPTableItemInfo::SetBorderVSpacing(int32_t value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("BorderVSpacing", static_cast<int32_t>(value), true, false);
  else
    FBorderVSpacing = value;
}

void TRPTableItemInfo::SetBorderHSpacing(int32_t value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("BorderHSpacing", static_cast<int32_t>(value), true, true);
  else
    FBorderHSpacing = value;
}

void TRPTableItemInfo::SetCellBorderWidth(int32_t value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("CellBorderWidth", static_cast<int32_t>(value), true, true);
  else
    FCellBorderWidth = value;
}

void TRPTableItemInfo::SetCellBorderColor(TColor value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("CellBorderColor", static_cast<int32_t>(value), false, false);
  else
    FCellBorderColor = value;
}

void TRPTableItemInfo::SetCellBorderLightColor(TColor value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("CellBorderLightColor", static_cast<int32_t>(value), false, false);
  else
    FCellBorderLightColor = value;
}

void TRPTableItemInfo::SetCellPadding(int32_t value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("CellPadding", static_cast<int32_t>(value), true, true);
  else
    FCellPadding = value;
}

void TRPTableItemInfo::SetCellBorderStyle(TRPTableBorderStyle value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("CellBorderStyle", static_cast<int32_t>(value), false, false);
  else
    FCellBorderStyle = value;
}

void TRPTableItemInfo::SetVRuleWidth(int32_t value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("VRuleWidth", static_cast<int32_t>(value), false, false);
  else
    FVRuleWidth = value;
}

void TRPTableItemInfo::SetVRuleColor(TColor value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("VRuleColor", static_cast<int32_t>(value), false, false);
  else
    FVRuleColor = value;
}

void TRPTableItemInfo::SetHRuleWidth(int32_t value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("HRuleWidth", static_cast<int32_t>(value), false, false);
  else
    FHRuleWidth = value;
}

void TRPTableItemInfo::SetHRuleColor(TColor value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("HRuleColor", static_cast<int32_t>(value), false, false);
  else
    FHRuleColor = value;
}

void TRPTableItemInfo::SetCellVSpacing(int32_t value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("CellVSpacing", static_cast<int32_t>(value), true, false);
  else
    FCellVSpacing = value;
}

void TRPTableItemInfo::SetCellHSpacing(int32_t value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("CellHSpacing", static_cast<int32_t>(value), true, true);
  else
    FCellHSpacing = value;
}

void TRPTableItemInfo::SetVOutermostRule(bool value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("VOutermostRule", static_cast<int32_t>(value), false, false);
  else
    FVOutermostRule = value;
}

void TRPTableItemInfo::SetHOutermostRule(bool value) {
  if ((FStates & rptsInDocument) != 0)
    SetIntPropertyByName("HOutermostRule", static_cast<int32_t>(value), false, false);
  else
    FHOutermostRule = value;
}

IRPTableEditHost* TRPTableItemInfo::FindEditHost() const {
  if ((FStates & rptsInEditor) == 0 || !FRows->MainRPData || !RPTableHooks().FindEditHost) return nullptr;
  return RPTableHooks().FindEditHost(*FRows->MainRPData);
}

void TRPTableItemInfo::SetIntPropertyByName(const AnsiString& name, int32_t value, bool affectsSize,
                                            bool affectsWidth) {
  {
    TStateBitScope notInDocument(FStates, rptsInDocument);
    if (IRPTableEditHost* host = FindEditHost()) {
      HandOverInplaceUndo();
      host->ModifyItemIntProperty(GetItemNo(), *this, name, value, affectsSize, affectsWidth, -1, -1);
    } else
      WriteOrdProp(*this, name, value);
  }
  Changed();
}

void TRPTableItemInfo::SetCellIntPropertyByName(int32_t itemNo, const AnsiString& name, int32_t value, int32_t row,
                                                int32_t col, bool affectsSize, bool affectsWidth) {
  TRPTableCellData& cell = *GetCell(row, col);
  if (IRPTableEditHost* host = FindEditHost()) {
    HandOverInplaceUndo();
    host->ModifyItemIntProperty(itemNo < 0 ? GetItemNo() : itemNo, cell, name, value, affectsSize, affectsWidth, row,
                                col);
  } else
    WriteOrdProp(cell, name, value);
  Changed();
}

void TRPTableItemInfo::SetCellStrPropertyByName(int32_t itemNo, const AnsiString& name, const AnsiString& value,
                                                int32_t row, int32_t col) {
  TRPTableCellData& cell = *GetCell(row, col);
  if (IRPTableEditHost* host = FindEditHost()) {
    HandOverInplaceUndo();
    host->ModifyItemStrProperty(itemNo < 0 ? GetItemNo() : itemNo, cell, name, value, row, col);
  } else
    WriteStrProp(cell, name, value);
  Changed();
}

void TRPTableItemInfo::SetCellBestWidth(TRPHTMLLength value, int32_t row, int32_t col) {
  SetCellIntPropertyByName(-1, "BestWidth", value, row, col, true, true);
}

void TRPTableItemInfo::SetCellBestHeight(int32_t value, int32_t row, int32_t col) {
  SetCellIntPropertyByName(-1, "BestHeight", value, row, col, true, false);
}

void TRPTableItemInfo::CopyCellAttributes(int32_t itemNo, int32_t row, int32_t col, const TRPTableCellData& source,
                                          bool includeSize, int32_t colDivisor, int32_t rowDivisor) {
  TRPTableCellData& cell = *GetCell(row, col);
  IRPTableEditHost* host = FindEditHost();
  if (!host) {
    cell.AssignAttributes(source, includeSize, colDivisor, rowDivisor);
    Changed();
    return;
  }
  if (itemNo < 0) itemNo = GetItemNo();
  const TRPBooleanRect& v = source.VisibleBorders;
  SetCellVisibleBorders(v.Left, v.Top, v.Right, v.Bottom, row, col);
  SetCellBackgroundImage(source.GetBackgroundImage(), row, col);
  host->ModifyItemStrProperty(itemNo, cell, "BackgroundImageFileName", source.BackgroundImageFileName, row, col);
  host->ModifyItemStrProperty(itemNo, cell, "Hint", source.Hint, row, col);
  std::vector<std::pair<AnsiString, int32_t>> values = {
      {"Color", source.GetCellColor()},
      {"BorderColor", source.BorderColor},
      {"BorderLightColor", source.BorderLightColor},
      {"VAlign", source.VAlign},
      {"BackgroundStyle", source.GetBackgroundStyle()},
  };
  if (includeSize) {
    values.emplace_back("BestWidth", source.BestWidth / colDivisor);
    values.emplace_back("BestHeight", source.BestHeight / rowDivisor);
  }
  host->ModifyItemIntProperties(itemNo, cell, includeSize, includeSize, values, row, col);
  Changed();
}

const TClassProps& TRPTableItemInfo::Props() {
  using T = TRPTableItemInfo;
  static const TClassProps props(
      "TRPTableItemInfo", nullptr,
      {
          RPTableOrdProp<T, TRPTableOptions>(
              "Options", [](const T& t) { return t.Options; }, [](T& t, TRPTableOptions v) { t.Options = v; },
              rptoDefaultOptions),
          RPTableOrdProp<T, TRPTablePrintOptions>(
              "PrintOptions", [](const T& t) { return t.PrintOptions; },
              [](T& t, TRPTablePrintOptions v) { t.PrintOptions = v; }, rptoDefaultPrintOptions),
          RPTableOrdProp<T, TRPHTMLLength>(
              "BestWidth", [](const T& t) { return t.GetBestWidth(); },
              [](T& t, TRPHTMLLength v) { t.SetBestWidth(v); }, 0),
          RPTableOrdProp<T, TColor>(
              "Color", [](const T& t) { return t.GetColor(); }, [](T& t, TColor v) { t.SetColor(v); }, clWindow),
          RPTableOrdProp<T, TRPItemBackgroundStyle>(
              "BackgroundStyle", [](const T& t) { return t.GetBackgroundStyle(); },
              [](T& t, TRPItemBackgroundStyle v) { t.SetBackgroundStyle(v); }, rpbsColor),
          RPTableOrdProp<T, int32_t>(
              "HeadingRowCount", [](const T& t) { return t.GetHeadingRowCount(); },
              [](T& t, int32_t v) { t.SetHeadingRowCount(v); }, 0),
          RPTableStrProp<T>(
              "TextRowSeparator", [](const T& t) { return t.TextRowSeparator; },
              [](T& t, AnsiString v) { t.TextRowSeparator = std::move(v); }),
          RPTableStrProp<T>(
              "TextColSeparator", [](const T& t) { return t.TextColSeparator; },
              [](T& t, AnsiString v) { t.TextColSeparator = std::move(v); }),
          RPTableOrdProp<T, int32_t>(
              "BorderWidth", [](const T& t) { return t.GetBorderWidth(); },
              [](T& t, int32_t v) { t.SetBorderWidth(v); }, 0),
          RPTableOrdProp<T, TColor>(
              "BorderColor", [](const T& t) { return t.GetBorderColor(); }, [](T& t, TColor v) { t.SetBorderColor(v); },
              clWindowText),
          RPTableOrdProp<T, TColor>(
              "BorderLightColor", [](const T& t) { return t.GetBorderLightColor(); },
              [](T& t, TColor v) { t.SetBorderLightColor(v); }, clBtnHighlight),
          RPTableOrdProp<T, TRPTableBorderStyle>(
              "BorderStyle", [](const T& t) { return t.GetBorderStyle(); },
              [](T& t, TRPTableBorderStyle v) { t.SetBorderStyle(v); }, rptbRaised),
          RPTableOrdProp<T, int32_t>(
              "BorderVSpacing", [](const T& t) { return t.GetBorderVSpacing(); },
              [](T& t, int32_t v) { t.SetBorderVSpacing(v); }, 2),
          RPTableOrdProp<T, int32_t>(
              "BorderHSpacing", [](const T& t) { return t.GetBorderHSpacing(); },
              [](T& t, int32_t v) { t.SetBorderHSpacing(v); }, 2),
          VisibleBordersProp<T>(),
          RPTableOrdProp<T, int32_t>(
              "CellBorderWidth", [](const T& t) { return t.GetCellBorderWidth(); },
              [](T& t, int32_t v) { t.SetCellBorderWidth(v); }, 0),
          RPTableOrdProp<T, TColor>(
              "CellBorderColor", [](const T& t) { return t.GetCellBorderColor(); },
              [](T& t, TColor v) { t.SetCellBorderColor(v); }, clWindowText),
          RPTableOrdProp<T, TColor>(
              "CellBorderLightColor", [](const T& t) { return t.GetCellBorderLightColor(); },
              [](T& t, TColor v) { t.SetCellBorderLightColor(v); }, clBtnHighlight),
          RPTableOrdProp<T, int32_t>(
              "CellPadding", [](const T& t) { return t.GetCellPadding(); },
              [](T& t, int32_t v) { t.SetCellPadding(v); }, 1),
          RPTableOrdProp<T, TRPTableBorderStyle>(
              "CellBorderStyle", [](const T& t) { return t.GetCellBorderStyle(); },
              [](T& t, TRPTableBorderStyle v) { t.SetCellBorderStyle(v); }, rptbLowered),
          RPTableOrdProp<T, int32_t>(
              "VRuleWidth", [](const T& t) { return t.GetVRuleWidth(); }, [](T& t, int32_t v) { t.SetVRuleWidth(v); },
              0),
          RPTableOrdProp<T, TColor>(
              "VRuleColor", [](const T& t) { return t.GetVRuleColor(); }, [](T& t, TColor v) { t.SetVRuleColor(v); },
              clWindowText),
          RPTableOrdProp<T, int32_t>(
              "HRuleWidth", [](const T& t) { return t.GetHRuleWidth(); }, [](T& t, int32_t v) { t.SetHRuleWidth(v); },
              0),
          RPTableOrdProp<T, TColor>(
              "HRuleColor", [](const T& t) { return t.GetHRuleColor(); }, [](T& t, TColor v) { t.SetHRuleColor(v); },
              clWindowText),
          RPTableOrdProp<T, int32_t>(
              "CellVSpacing", [](const T& t) { return t.GetCellVSpacing(); },
              [](T& t, int32_t v) { t.SetCellVSpacing(v); }, 2),
          RPTableOrdProp<T, int32_t>(
              "CellHSpacing", [](const T& t) { return t.GetCellHSpacing(); },
              [](T& t, int32_t v) { t.SetCellHSpacing(v); }, 2),
          RPTableOrdProp<T, bool>(
              "VOutermostRule", [](const T& t) { return t.GetVOutermostRule(); },
              [](T& t, bool v) { t.SetVOutermostRule(v); }, false),
          RPTableOrdProp<T, bool>(
              "HOutermostRule", [](const T& t) { return t.GetHOutermostRule(); },
              [](T& t, bool v) { t.SetHOutermostRule(v); }, false),
          Published::Event("OnCellEditing"),
          Published::Event("OnCellEndEdit"),
          Published::Event("OnDrawBorder"),
      });
  return props;
}
