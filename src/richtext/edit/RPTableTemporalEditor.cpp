#include "richtext/edit/RPTableTemporalEditor.h"

#include <algorithm>

#include "platform/base/ScopeExit.h"
#include "richtext/edit/RPTableUndoRecords.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/model/RPStyle.h"
#include "richtext/table/RPTableCell.h"

namespace {

// The first group of list handed out.
std::unique_ptr<TRPUndoInfos> TakeFirstGroup(TRPUndoList& list) {
  return std::unique_ptr<TRPUndoInfos>(static_cast<TRPUndoInfos*>(list.Detach(0).release()));
}

// Every group of from appended to to (or freed), oldest first; how many.
int32_t MoveGroups(TRPUndoList& from, TRPUndoList* to) {
  const int32_t count = from.Count();
  while (from.Count() > 0) {
    std::unique_ptr<TRPUndoInfos> group = TakeFirstGroup(from);
    if (to) to->AddGroup(std::move(group));
  }
  return count;
}

}  // namespace

std::unique_ptr<TRichPaneRPData> TRPTableTemporalEditorData::Create(TCustomRichPane& control) {
  return std::make_unique<TRPTableTemporalEditorData>(control);
}

TRPTableTemporalEditor::TRPTableTemporalEditor(TRPEditRPData& host, TRPUndoMultiCellsModify* record)
    : TCustomRichPane(nullptr, &TRPTableTemporalEditorData::Create), FHost(host), FRecord(record) {
  Visible = false;
  TCustomRichPane& control = host.Control();
  Options = control.Options;
  FEditorOptions = host.GetEditorOptions();
  SetStyle(control.Style());
  ClientResized(std::max(control.ClientWidth(), 100), 100);
  const int32_t limit = host.UndoList->Limit != 0 ? -1 : 0;
  Data().UndoList->Limit = limit;
  Data().RedoList->Limit = limit;
}

TRPTableTemporalEditor::~TRPTableTemporalEditor() {
  Data().Clear();
  // A record that no cell's steps went to leaves its group.
  if (!FRecord || FRecord->RowList.Count() > 0 || !FRecord->Owner) return;
  if (TRPUndoInfos* group = FRecord->Owner->LastGroup())
    if (const int32_t index = group->IndexOf(FRecord); index >= 0) group->Delete(index);
}

TCustomRichPaneEdit* TRPTableTemporalEditor::HostEditor() const {
  return dynamic_cast<TCustomRichPaneEdit*>(&FHost.Control());
}

bool TRPTableTemporalEditor::ConvertTextStyle(int32_t styleNo, bool appliedToText, int32_t& newStyleNo,
                                              int32_t userData, int32_t paraNo) {
  if (FCommand == 1) {
    newStyleNo = userData;
    return true;
  }
  if (FCommand == 5) {
    TCustomRichPaneEdit* editor = HostEditor();
    const TRPStyle* style = Style();
    if (!editor || !style) return false;
    const bool isProtected = styleNo >= 0 && styleNo < style->TextStyles().Count() &&
                             style->TextStyles()[styleNo]->Protection.Contains(rpprStyleProtect);
    newStyleNo = isProtected ? styleNo : editor->TextStyleFromTemplate(styleNo, userData, paraNo);
    return true;
  }
  IRPEditorControl* host = FHost.Editor();
  return FCommand == 3 && host && host->ConvertTextStyle(styleNo, appliedToText, newStyleNo, userData, paraNo);
}

bool TRPTableTemporalEditor::ConvertParaStyle(int32_t paraNo, int32_t userData, int32_t& newParaNo) {
  if (FCommand == 4) {
    TCustomRichPaneEdit* editor = HostEditor();
    if (!editor || !Style()) return false;
    newParaNo = editor->ParaStyleFromTemplate(paraNo, userData);
    return true;
  }
  IRPEditorControl* host = FHost.Editor();
  return FCommand == 2 && host && host->ConvertParaStyle(paraNo, userData, newParaNo);
}

void TRPTableTemporalEditor::TakeCell(TRPTableCellData& cell) {
  TRPEditRPData& data = Data();
  data.Clear();
  data.AppendItemsFrom(&cell);
  Format();
}

void TRPTableTemporalEditor::GiveBack(TRPTableCellData& cell) {
  TRPEditRPData& data = Data();
  data.Deselect(false);
  cell.Clear();
  cell.AppendItemsFrom(&data);
  data.Clear();
}

bool TRPTableTemporalEditor::ApplyToCell(TRPTableCellData& cell, int32_t row, int32_t col, int32_t command,
                                         int32_t parameter) {
  if (command < 0 || command > 5) return false;
  // Without the host's editor (and its style sheet) there is no template to take.
  if (command >= 4 && (!HostEditor() || !Style())) return false;
  TakeCell(cell);
  TRPEditRPData& data = Data();
  {
    const TScopeExit giveBack([&] { FCommand = -1; });
    FCommand = command;
    data.SelectAll();
    switch (command) {
      case 0:
      case 2:
      case 4:
        data.BeginUndoGroup(rpukParaStyle, true);
        data.ApplyParaStyleConversion(parameter, command == 0 ? 0 : 4);
        break;
      case 5:
        data.ApplyTextStyleConversion(parameter, 1, false);
        break;
      default:
        data.ApplyTextStyleConversion(parameter, command, false);
    }
  }
  data.UndoList->RemoveEmptyLastGroup();
  const int32_t groups = data.UndoList->Count();
  if (groups > 0 && FRecord && FRecord->List) {
    FRecord->RowList.Add(row);
    FRecord->ColList.Add(col);
    FRecord->CountList.Add(groups);
    MoveGroups(*data.UndoList, FRecord->List.get());
  }
  GiveBack(cell);
  return groups > 0 || data.UndoList->Limit == 0;
}

int32_t PlayRecordedGroups(TRPEditRPData& data, TRPUndoList& list, int32_t count, bool redo, TRPUndoList* collect) {
  TRPUndoList& played = redo ? static_cast<TRPUndoList&>(*data.RedoList) : *data.UndoList;
  TRPUndoList& made = redo ? *data.UndoList : static_cast<TRPUndoList&>(*data.RedoList);
  for (int32_t k = 0; k < count && list.Count() > 0; ++k) played.AddGroup(TakeFirstGroup(list));
  while (played.Count() > 0) {
    if (redo)
      played.Redo(data);
    else
      played.Undo(data);
  }
  return MoveGroups(made, collect);
}

int32_t TRPTableTemporalEditor::PlayOnCell(TRPTableCellData& cell, TRPUndoList& list, int32_t count, bool redo,
                                           TRPUndoList* collect) {
  TakeCell(cell);
  const int32_t result = PlayRecordedGroups(Data(), list, count, redo, collect);
  GiveBack(cell);
  return result;
}
