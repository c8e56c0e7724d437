// What tables ask of subsystems built after them: the editor that records undoable
// property changes, and the sound of a refused operation. Those subsystems install the
// hooks at start-up; without them a table is a plain document object (no undo, silence).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "platform/base/Types.h"
#include "platform/base/UserInput.h"
#include "platform/graphics/Colors.h"

class IRPTableGridNotes;
class TCustomRPData;
class TCustomRPFormattedData;
class TGraphic;
class TPersistent;
class TRPScroller;
class TRPTableCellData;
class TRPTableItemInfo;

// A hidden editor into which a cell's content moves so that an editor command runs on
// it with the editor's undo (the editor's side makes it).
class IRPTableTemporalEditor {
public:
  virtual ~IRPTableTemporalEditor() = default;
  // The cell's items move into the editor, all of them selected; command runs on them
  // (0 a paragraph style, 1 a text style, 2 a paragraph style conversion, 3 a text style
  // conversion, 4 a paragraph style template, 5 a text style template, each with
  // parameter); the items move back into the cell. Whether the command recorded steps
  // (they are kept for undoing, with the cell's row and column, when undo is recorded).
  virtual bool ApplyToCell(TRPTableCellData& cell, int32_t row, int32_t col, int32_t command, int32_t parameter) = 0;
};

// The editor that edits one cell in place, over the control that shows the table: what
// the table asks of it. The editing subsystem makes it (TRPTableHooks::CreateInplaceEditor);
// the table owns it while a cell is edited.
class IRPTableInplaceEditor {
public:
  virtual ~IRPTableInplaceEditor() = default;
  // The editor as a control: what the host control registers as its editor in place.
  virtual TRPScroller& Control() = 0;
  // Its document: the cell's items live there while the editor edits the cell.
  virtual TCustomRPFormattedData& Data() = 0;
  // Binds the editor to the cell (row, col) of table: padding becomes its four margins.
  virtual void AttachToCell(int32_t row, int32_t col, int32_t padding, TRPTableItemInfo& table) = 0;
  // The padding changed while editing: the four margins take it.
  virtual void SetPadding(int32_t padding) = 0;
  // Its place in the host control's client area.
  virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) = 0;
  virtual int32_t GetLeft() const = 0;
  virtual int32_t GetTop() const = 0;
  virtual int32_t GetWidth() const = 0;
  virtual int32_t GetHeight() const = 0;
  // The height was cut to the largest an editor takes: the editor scrolls vertically.
  virtual void SetVScrollAllowed(bool value) = 0;
  // The content is taller than the editor shows.
  virtual void SetContentClipped(bool value) = 0;
  // The colour it edits on; transparent: the cell has no colour, what lies under the
  // cell shows through.
  virtual void SetEditColor(TColor color, bool transparent) = 0;
  // Shown as a selected cell of a cell selection.
  virtual void SetCellSelected(bool value) = 0;
  // Whether the content's height changed since the last call.
  virtual bool TestAndClearResized() = 0;
  // The editor goes with its table: no repainting, no focus moves.
  virtual void SetQuietDestroy() = 0;
  // Inside an operation that must finish before the editor may go.
  virtual bool IsBusy() const = 0;
  // Lays its document out again on its own canvas.
  virtual void Reformat() = 0;
  virtual void Invalidate() = 0;
  // Shown, focused when asked.
  virtual void ShowEditor(bool takeFocus) = 0;
  // The caret at the start or the end of the document.
  virtual void MoveCaretToStart() = 0;
  virtual void MoveCaretToEnd() = 0;
  // The document's hyperlinks numbered from firstJumpNo; their count.
  virtual int32_t RebuildJumps(int32_t firstJumpNo) = 0;
  // The editor's undo and redo groups go to the host's lists as one step each; with
  // destroying the editor keeps no lists.
  virtual void HandOverUndo(bool destroying) = 0;
  // A press that opened the editor goes on to it (its client coordinates); it holds the
  // mouse until the release: the moves and the release the host receives meanwhile go
  // on to it too (true: taken). Not while the editor itself hands an event to the host.
  virtual void PassMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) = 0;
  virtual bool PassMouseMove(TShiftState shift, int32_t x, int32_t y) = 0;
  virtual bool PassMouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) = 0;
};

// The editor's side of a by-name property change of a table or a cell: one undoable
// step in the editor's undo list, written between the item's change hooks.
class IRPTableEditHost {
public:
  virtual ~IRPTableEditHost() = default;
  // Writes value into the ordinal property name of object (the table item at itemNo, or
  // one of its cells at row, col: -1, -1 for the table), recording the old value.
  virtual void ModifyItemIntProperty(int32_t itemNo, TPersistent& object, const AnsiString& name, int32_t value,
                                     bool affectsSize, bool affectsWidth, int32_t row, int32_t col) = 0;
  virtual void ModifyItemStrProperty(int32_t itemNo, TPersistent& object, const AnsiString& name,
                                     const AnsiString& value, int32_t row, int32_t col) = 0;
  // Several ordinal properties (name, value) written as one step; by default one step
  // each.
  virtual void ModifyItemIntProperties(int32_t itemNo, TPersistent& object, bool affectsSize, bool affectsWidth,
                                       const std::vector<std::pair<AnsiString, int32_t>>& values, int32_t row,
                                       int32_t col) {
    for (const auto& [name, value] : values)
      ModifyItemIntProperty(itemNo, object, name, value, affectsSize, affectsWidth, row, col);
  }
  // The notes of the grid's structural steps for the table item at itemNo
  // (RPTableGridNotes.h); nullptr while the editor records no undo.
  virtual IRPTableGridNotes* GetGridNotes(int32_t) { return nullptr; }

  // --- Around a change the table makes (the defaults: an editor that records nothing) ---
  // Whether the editor lets the document change now.
  virtual bool CanChange() { return true; }
  // Whether the editor records undo (its undo limit is not 0).
  virtual bool IsUndoRecorded() const { return false; }
  // Opens one undo group for the steps that follow (joined in group mode) / leaves group
  // mode.
  virtual void BeginUpdateGroup() {}
  virtual void EndUpdateGroup() {}
  // The editor is modified and tells its listeners.
  virtual void NotifyChange() {}
  // The minimal width of the item's paragraph before a change; after it, the document
  // is laid out again as far as the width change asks.
  virtual int32_t PrepareChange(int32_t) { return 0; }
  virtual void CompleteChange(int32_t, int32_t) {}
  // Records, in a group of its own, the visible borders (left, top, right, bottom) of
  // the table (row -1) or of a cell before they change.
  virtual void NoteVisibleBorders(int32_t, int32_t, int32_t, bool, bool, bool, bool) {}
  // Records, in a group of its own, the background picture of the table (row -1) or of a
  // cell before it changes: the record takes the picture (old is nullptr afterwards);
  // without a record old is left to the caller.
  virtual void NoteBackgroundImage(int32_t, int32_t, int32_t, std::unique_ptr<TGraphic>&) {}
  // A hidden editor for commands on the table's cells; nullptr when the editor makes
  // none.
  virtual std::unique_ptr<IRPTableTemporalEditor> CreateTemporalEditor(TRPTableItemInfo&) { return nullptr; }
};

struct TRPTableHooks {
  // The editor host of a table lying in the document data: the editor's own when the
  // data is an editor's; nullptr otherwise (a table in a cell of another table, in a
  // plain view).
  std::function<IRPTableEditHost*(TCustomRPData& data)> FindEditHost;
  // Whether the editor whose document is data is read-only now (a table in it is then
  // not editable); none: never.
  std::function<bool(TCustomRPData& data)> IsEditorReadOnly;
  // Sounds the platform's beep.
  std::function<void()> Beep;
  // Makes the editor for a cell of table, over the control that shows hostData (an
  // editor's document); nullptr where none can be made (no editor control).
  std::function<std::unique_ptr<IRPTableInplaceEditor>(TRPTableItemInfo& table, TCustomRPFormattedData& hostData)>
      CreateInplaceEditor;
};

// The process-wide hooks (empty until a later subsystem installs them).
TRPTableHooks& RPTableHooks();
