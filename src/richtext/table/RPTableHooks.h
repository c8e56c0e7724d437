// What tables ask of subsystems built after them: the editor that records undoable
// property changes, and the sound of a refused operation. Those subsystems install the
// hooks at start-up; without them a table is a plain document object (no undo, silence).
#pragma once

#include <cstdint>
#include <functional>

#include "platform/base/Types.h"

class IRPTableGridNotes;
class TCustomRPData;
class TPersistent;

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
};

struct TRPTableHooks {
  // The editor host of a document whose root is an editor's data; nullptr otherwise.
  std::function<IRPTableEditHost*(TCustomRPData& rootData)> FindEditHost;
  // Sounds the platform's beep.
  std::function<void()> Beep;
};

// The process-wide hooks (empty until a later subsystem installs them).
TRPTableHooks& RPTableHooks();
