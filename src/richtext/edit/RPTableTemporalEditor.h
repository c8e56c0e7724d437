// A hidden editor used as a workbench for a table's cells: a cell's content moves into
// it, an editor command or a play of recorded groups runs on it with the editor's undo,
// and the content moves back. It takes the options, editor options and style sheet of
// the editor whose document holds the table, and records undo when that editor does.
#pragma once

#include <cstdint>
#include <memory>

#include "richtext/edit/RPERPData.h"
#include "richtext/edit/RPEditorControl.h"
#include "richtext/layout/view/RichPane.h"
#include "richtext/table/RPTableHooks.h"

class TCustomRichPaneEdit;
class TRPTableCellData;
class TRPUndoMultiCellsModify;

// The document data of the hidden editor.
class TRPTableTemporalEditorData : public TRPEditRPData {
public:
  using TRPEditRPData::TRPEditRPData;
  static std::unique_ptr<TRichPaneRPData> Create(TCustomRichPane& control);
};

// Plays the first count groups of list on data, all of them (redo: as data's redo list
// plays them), through data's own lists, which must be empty; the groups the play recorded
// go to collect (dropped when it is nullptr). How many went.
int32_t PlayRecordedGroups(TRPEditRPData& data, TRPUndoList& list, int32_t count, bool redo, TRPUndoList* collect);

class TRPTableTemporalEditor : public TCustomRichPane, public IRPEditorControl, public IRPTableTemporalEditor {
public:
  // An editor for the host's document; with record the steps each command records go
  // to it (ApplyToCell).
  TRPTableTemporalEditor(TRPEditRPData& host, TRPUndoMultiCellsModify* record);
  ~TRPTableTemporalEditor() override;
  TRPEditRPData& Data() const { return static_cast<TRPEditRPData&>(RPData()); }

  // Commands 0 to 5 (IRPTableTemporalEditor); the template commands (4, 5) take the host
  // editor's style templates as its own commands do. The groups the command recorded go to
  // the record with the cell's row and column and their count. True when steps were
  // recorded, or when the editor records none (the cell may have changed).
  bool ApplyToCell(TRPTableCellData& cell, int32_t row, int32_t col, int32_t command, int32_t parameter) override;
  // Plays the first count groups of list on the cell's content, all of them (redo: as
  // the redo list plays), then the groups the play recorded go to collect (dropped when
  // it is nullptr); how many went.
  int32_t PlayOnCell(TRPTableCellData& cell, TRPUndoList& list, int32_t count, bool redo, TRPUndoList* collect);

  // --- IRPEditorControl ---------------------------------------------------------------
  bool GetReadOnly() const override { return false; }
  TRPEditorOptions GetEditorOptions() const override { return FEditorOptions; }
  void DoCaretMove() override {}
  void SetModified(bool) override {}
  void SetCurTextStyleNo(int32_t styleNo) override { Data().CurTextStyleNo = styleNo; }
  void SetCurParaStyleNo(int32_t paraNo) override { Data().CurParaStyleNo = paraNo; }
  // The text style of the command running: the command's style (1), the host's
  // conversion (3), or the style under the host's template (5; protected text keeps its
  // style).
  bool ConvertTextStyle(int32_t styleNo, bool appliedToText, int32_t& newStyleNo, int32_t userData,
                        int32_t paraNo) override;
  // The host's paragraph conversion while command 2 runs, the style under the host's
  // template while command 4 does.
  bool ConvertParaStyle(int32_t paraNo, int32_t userData, int32_t& newParaNo) override;

private:
  // The host's editor control; nullptr when the host's document has none.
  TCustomRichPaneEdit* HostEditor() const;
  // The cell's items move in, laid out, all selected / back into the cell.
  void TakeCell(TRPTableCellData& cell);
  void GiveBack(TRPTableCellData& cell);

  TRPEditRPData& FHost;
  TRPUndoMultiCellsModify* FRecord;
  TRPEditorOptions FEditorOptions = rpoEditorDefaults;
  int32_t FCommand = -1;
};
