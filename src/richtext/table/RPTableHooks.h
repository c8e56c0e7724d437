// What tables ask of subsystems built after them: the editor that records undoable
// property changes, and the sound of a refused operation. Those subsystems install the
// hooks at start-up; without them a table is a plain document object (no undo, silence).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/base/Types.h"
#include "platform/base/UserInput.h"
#include "platform/graphics/Colors.h"

class IRPTableGridNotes;
class TCustomRPData;
class TCustomRPFormattedData;
class TPersistent;
class TRPScroller;
class TRPTableItemInfo;

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
  // A press that opened the editor goes on to it (its client coordinates); it captures
  // the mouse.
  virtual void PassMouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) = 0;
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
  // The notes of the grid's structural steps for the table item at itemNo
  // (RPTableGridNotes.h); nullptr while the editor records no undo.
  virtual IRPTableGridNotes* GetGridNotes(int32_t) { return nullptr; }
  // The steps between these two calls are undone as one (nothing without undo).
  virtual void BeginUpdateGroup() {}
  virtual void EndUpdateGroup() {}
};

struct TRPTableHooks {
  // The editor host of a document whose root is an editor's data; nullptr otherwise.
  std::function<IRPTableEditHost*(TCustomRPData& rootData)> FindEditHost;
  // Whether the editor whose root document is rootData may change it now (it is not
  // read-only); an editor without the hook always may.
  std::function<bool(TCustomRPData& rootData)> CanEditorChange;
  // Sounds the platform's beep.
  std::function<void()> Beep;
  // Makes the editor for a cell of table, over the control that shows hostData (an
  // editor's document); nullptr where none can be made (no editor control).
  std::function<std::unique_ptr<IRPTableInplaceEditor>(TRPTableItemInfo& table, TCustomRPFormattedData& hostData)>
      CreateInplaceEditor;
};

// The process-wide hooks (empty until a later subsystem installs them).
TRPTableHooks& RPTableHooks();
