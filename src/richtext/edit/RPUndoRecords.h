// The record classes of the undo and redo lists (RPUndo.h). Each holds what reverses one
// elementary step of the editable document data (RPERPData.h) and reverses it by calling
// that data's step again, which records the opposite step.
//
// "item" is the index of an item in the record's document. Records that remember a
// paragraph's width share one rule after their step (the width rule): the minimal width
// of the item's paragraph is stored just before the step, and the answer after it is
// whether the new minimal width differs and either the old one reached the document's
// formatted width or the new one exceeds it.
//
// Records that hold items, a checkpoint or a string tag own them: they free them when
// they are freed (their group dropped at the limit, a list cleared) and give them up when
// their step is undone.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/base/Object.h"
#include "richtext/edit/RPUndo.h"
#include "richtext/model/RPCheckpoint.h"
#include "richtext/model/RPLists.h"
#include "richtext/model/RPTag.h"

class TPersistent;

class TRPUndoItemNoInfo : public TRPUndoInfo {
public:
  int32_t ItemNo = 0;
  // The last item the step touched; -1: the item alone.
  int32_t LastAffectedItemNo = -1;
  // item .. (last affected, or item); nothing for an item below 0.
  void GetAffectedItems(int32_t& first, int32_t& last, TRPEditRPData& rpData) const override;
};

// A range to lay out again (item or draw item numbers, as the recording step gave them),
// or with FullReformat the whole root document. Undoing records the same range again.
class TRPUndoReformateRange : public TRPUndoItemNoInfo {
public:
  TRPUndoReformateRange() { Kind = rprkReformatRange; }
  bool FullReformat = false;
  bool RequiresRootFormat() const override { return FullReformat; }
  void Undo(TRPEditRPData& rpData) override;
};

// A control item's control resized: its size before the step (Width x Height) is set
// back. The width rule after undoing.
class TRPUndoResizeInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoResizeInfo() { Kind = rprkModifyItem; }
  int32_t OldWidth = 0;
  int32_t Width = 0;
  int32_t Height = 0;
  void Undo(TRPEditRPData& rpData) override;
  bool NeedsFullFormatAfter(TRPEditRPData& rpData) override;
};

class TRPUndoStringInfo : public TRPUndoItemNoInfo {
public:
  AnsiString S;  // stored item text: 8-bit, or UTF-16 bytes for a Unicode item
};

class TRPUndoChangeTextInfo : public TRPUndoStringInfo {
public:
  TRPUndoChangeTextInfo() { Kind = rprkChangeText; }
  int32_t OldWidth = 0;
  // Sets the item's text back to S.
  void Undo(TRPEditRPData& rpData) override;
  bool NeedsFullFormatAfter(TRPEditRPData& rpData) override;
};

class TRPUndoSubStringInfo : public TRPUndoStringInfo {
public:
  int32_t Position = 0;  // 1-based character position
};

// Holds one item taken out of its document, and its text.
class TRPUndoItemInfo : public TRPUndoStringInfo {
public:
  ~TRPUndoItemInfo() override;
  std::unique_ptr<TCustomRPItemInfo> Item;
};

class TRPUndoDeleteItemInfo : public TRPUndoItemInfo {
public:
  TRPUndoDeleteItemInfo() { Kind = rprkDeleteItem; }
  bool FullReformat = false;
  // Inserts the kept item with its text at item and gives it up.
  void Undo(TRPEditRPData& rpData) override;
  int32_t GetItemCountDelta() const override { return 1; }
  bool NeedsFullFormatAfter(TRPEditRPData& rpData) override;
};

// Holds items taken out of their document, with their texts.
class TRPUndoStringItemListInfo : public TRPUndoInfo {
public:
  ~TRPUndoStringItemListInfo() override;
  TRPKeptItems List;
};

class TRPUndoItemRangeInfo : public TRPUndoStringItemListInfo {
public:
  int32_t StartItemNo = 0;
  int32_t LastAffectedItemNo = -1;
  // first .. (last affected, or first + the number of kept items).
  void GetAffectedItems(int32_t& first, int32_t& last, TRPEditRPData& rpData) const override;
};

// Items deleted from StartItemNo on; the list holds them last item first.
class TRPUndoDeleteItemsInfo : public TRPUndoItemRangeInfo {
public:
  TRPUndoDeleteItemsInfo() { Kind = rprkDeleteItems; }
  int32_t EndItemNo = 0;
  bool FullReformat = false;
  // Inserts every kept item back from StartItemNo on, in document order; the document
  // owns them again.
  void Undo(TRPEditRPData& rpData) override;
  int32_t GetItemCountDelta() const override { return static_cast<int32_t>(List.size()); }
  bool NeedsFullFormatAfter(TRPEditRPData& rpData) override;
};

class TRPUndoListInfo : public TRPUndoInfo {
public:
  TRPIntegerList List;
};

// The paragraph numbers items StartItemNo .. had before a step.
class TRPUndoParaListInfo : public TRPUndoListInfo {
public:
  TRPUndoParaListInfo() { Kind = rprkParaStyle; }
  bool FullReformat = false;
  int32_t StartItemNo = 0;
  // Item StartItemNo + i gets the number at list position i.
  void Undo(TRPEditRPData& rpData) override;
  // first .. first + the list's count.
  void GetAffectedItems(int32_t& first, int32_t& last, TRPEditRPData& rpData) const override;
  bool NeedsFullFormatAfter(TRPEditRPData&) override { return FullReformat; }
};

// The one paragraph number items item .. item + Count - 1 had before a step.
class TRPUndoParaInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoParaInfo() { Kind = rprkParaStyle; }
  bool FullReformat = false;
  int32_t ParaNo = 0;
  int32_t Count = 0;
  void Undo(TRPEditRPData& rpData) override;
  // item .. item + Count.
  void GetAffectedItems(int32_t& first, int32_t& last, TRPEditRPData& rpData) const override;
  bool NeedsFullFormatAfter(TRPEditRPData&) override { return FullReformat; }
};

class TRPUndoStyleNoInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoStyleNoInfo() { Kind = rprkStyleNo; }
  int32_t OldWidth = 0;
  int32_t OldStyleNo = 0;
  // Sets the item's style number back.
  void Undo(TRPEditRPData& rpData) override;
  bool NeedsFullFormatAfter(TRPEditRPData& rpData) override;
};

class TRPUndoAssociatedTextStyleNoInfo : public TRPUndoStyleNoInfo {
public:
  // Sets the non-text item's text style back.
  void Undo(TRPEditRPData& rpData) override;
};

class TRPUndoNewLineInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoNewLineInfo() { Kind = rprkNewLine; }
  bool FullReformat = false;
  bool WasContinuesLine = false;
  int32_t OldParaNo = 0;
  // Restores whether the item started a paragraph, and its paragraph number.
  void Undo(TRPEditRPData& rpData) override;
  bool NeedsFullFormatAfter(TRPEditRPData&) override { return FullReformat; }
};

class TRPUndoBRInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoBRInfo() { Kind = rprkLineBreak; }
  bool OldLineBreak = false;
  void Undo(TRPEditRPData& rpData) override;
};

class TRPUndoPageBreakInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoPageBreakInfo() { Kind = rprkPageBreak; }
  bool OldPageBreak = false;
  void Undo(TRPEditRPData& rpData) override;
};

// Characters deleted from the item at Position; undoing inserts them again.
class TRPUndoDeleteSubstringInfo : public TRPUndoSubStringInfo {
public:
  TRPUndoDeleteSubstringInfo() { Kind = rprkDeleteSubString; }
  int32_t OldWidth = 0;
  void Undo(TRPEditRPData& rpData) override;
  bool NeedsFullFormatAfter(TRPEditRPData& rpData) override;
};

// Length characters inserted into the item at Index; undoing deletes them.
class TRPUndoInsertSubstringInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoInsertSubstringInfo() { Kind = rprkInsertSubString; }
  int32_t OldWidth = 0;
  int32_t Index = 0;
  int32_t Length = 0;
  void Undo(TRPEditRPData& rpData) override;
  bool NeedsFullFormatAfter(TRPEditRPData& rpData) override;
};

// A run of typing: Length characters typed into the item from character Index on. Each
// undoing takes the last of them back into the redo list (TRPUndoList::AddUntyping).
class TRPUndoTypingInfo : public TRPUndoInsertSubstringInfo {
public:
  TRPUndoTypingInfo() { Kind = rprkTyping; }
  bool Unicode = false;
  // Raises ERichPaneError "Can't perform Unicode operation" for Unicode text of an odd
  // byte length.
  void Undo(TRPEditRPData& rpData) override;
};

// Characters taken back from typing, the last taken first in S (bytes of the item's
// stored form); they stood before Position. Each redoing types the last of them again.
class TRPRedoTypingInfo : public TRPUndoSubStringInfo {
public:
  TRPRedoTypingInfo() { Kind = rprkTyping; }
  int32_t OldWidth = 0;
  bool Unicode = false;
  // The characters S holds.
  int32_t CharCount() const { return static_cast<int32_t>(Unicode ? S.size() / 2 : S.size()); }
  // Raises ERichPaneError "Can't perform Unicode operation" for odd byte lengths.
  void Undo(TRPEditRPData& rpData) override;
  bool NeedsFullFormatAfter(TRPEditRPData& rpData) override;
};

// Count items inserted at item; undoing deletes them.
class TRPUndoInsertItemsInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoInsertItemsInfo() { Kind = rprkInsertItems; }
  bool FullReformat = false;
  int32_t Count = 0;
  void Undo(TRPEditRPData& rpData) override;
  int32_t GetItemCountDelta() const override { return -Count; }
  bool NeedsFullFormatBefore(TRPEditRPData& rpData) override;
  bool NeedsFullFormatAfter(TRPEditRPData&) override { return FullReformat; }
};

// One item inserted at item; undoing deletes it.
class TRPUndoInsertItemInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoInsertItemInfo() { Kind = rprkInsertItem; }
  bool FullReformat = false;
  void Undo(TRPEditRPData& rpData) override;
  int32_t GetItemCountDelta() const override { return -1; }
  bool NeedsFullFormatBefore(TRPEditRPData& rpData) override;
  bool NeedsFullFormatAfter(TRPEditRPData&) override { return FullReformat; }
};

class TRPUndoTagInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoTagInfo() { Kind = rprkTag; }
  TRPTag OldTag;
  bool TagsArePChars = false;
  void Undo(TRPEditRPData& rpData) override;
  bool RequiresFormat() const override { return false; }
};

// A checkpoint added to the item (item -1: the document's end checkpoint); undoing
// removes it.
class TRPUndoAddCPInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoAddCPInfo() { Kind = rprkCheckpoint; }
  void Undo(TRPEditRPData& rpData) override;
};

// A checkpoint removed from the item, kept; undoing gives the same object back.
class TRPUndoDeleteCPInfo : public TRPUndoItemNoInfo {
public:
  TRPUndoDeleteCPInfo() { Kind = rprkCheckpoint; }
  std::unique_ptr<TRPCPInfo> Checkpoint;
  bool TagsArePChars = false;
  void Undo(TRPEditRPData& rpData) override;
};

// A change of properties of an item or of an object inside it (SubObject: a table's
// cell). The width answers count only when the change affects both the width and the
// size.
class TRPUndoModifyItemProps : public TRPUndoItemNoInfo {
public:
  // A record class: makes a new record of the class.
  using TClass = std::unique_ptr<TRPUndoModifyItemProps> (*)();
  static std::unique_ptr<TRPUndoModifyItemProps> Create() { return std::make_unique<TRPUndoModifyItemProps>(); }

  TRPUndoModifyItemProps() { Kind = rprkModifyItem; }
  int32_t OldWidth = 0;
  bool AffectsWidth = false;
  bool AffectsSize = false;
  TPersistent* SubObject = nullptr;  // nullptr: the item itself

  bool RequiresFormat() const override { return AffectsSize; }
  // Stores the paragraph's minimal width; whether it reaches the document's width.
  bool NeedsFullFormatBefore(TRPEditRPData& rpData) override;
  // Whether the new minimal width differs from the stored one and exceeds the document's
  // width.
  bool NeedsFullFormatAfter(TRPEditRPData& rpData) override;
  // The class of the record that reverses this one (its own), and what that record
  // takes over from this one after it was made (nothing here).
  virtual TClass GetOppositeClass() const { return &Create; }
  virtual void InitOpposite(TRPUndoModifyItemProps&) {}
};

// Brackets the records of one item's modification: opening before them, closing after.
// Undoing records the terminator with the other mark.
class TRPUndoModifyItemTerminator : public TRPUndoModifyItemProps {
public:
  static std::unique_ptr<TRPUndoModifyItemProps> Create() { return std::make_unique<TRPUndoModifyItemTerminator>(); }
  TRPUndoModifyItemTerminator() {
    AffectsWidth = true;
    AffectsSize = true;
  }
  bool Opening = false;
  void Undo(TRPEditRPData& rpData) override;
  TClass GetOppositeClass() const override { return &Create; }
};

// A published ordinal property changed by name; undoing writes the old value back
// through the document data, which records a record of GetOppositeClass.
class TRPUndoModifyItemIntProperty : public TRPUndoModifyItemProps {
public:
  static std::unique_ptr<TRPUndoModifyItemProps> Create() { return std::make_unique<TRPUndoModifyItemIntProperty>(); }
  AnsiString PropName;
  int32_t OldValue = 0;
  void Undo(TRPEditRPData& rpData) override;
  TClass GetOppositeClass() const override { return &Create; }
};

// Several published ordinal properties changed at once: (name, old value) pairs.
class TRPUndoModifyItemIntProperties : public TRPUndoModifyItemProps {
public:
  static std::unique_ptr<TRPUndoModifyItemProps> Create() { return std::make_unique<TRPUndoModifyItemIntProperties>(); }
  std::vector<std::pair<AnsiString, int32_t>> PropList;
  void Undo(TRPEditRPData& rpData) override;
  TClass GetOppositeClass() const override { return &Create; }
};

// A whole undo list nested as one record (an in-place editor's edits of a table cell,
// moved into the host's list); undoing plays the nested list's last group on the same
// document.
class TRPCompositeUndo : public TRPUndoInfo {
public:
  TRPCompositeUndo() { Kind = rprkModifyItem; }
  int32_t ItemNo = 0;
  uint8_t Flag = 0;  // the table's cell records keep their own mark here
  std::unique_ptr<TRPUndoList> List;
  bool RequiresFormat() const override { return false; }
  void GetAffectedItems(int32_t& first, int32_t& last, TRPEditRPData& rpData) const override;
  void Undo(TRPEditRPData& rpData) override;
};
