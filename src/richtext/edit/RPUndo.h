// Undo and redo of the editor: records, groups of records and the two lists.
//
// Every change the editor makes is one or more elementary steps of the editable document
// data (RPERPData.h). Each step first appends a record to the list that is recording
// now, holding what the reverse step needs. Records are gathered into groups, one per
// user action; the undo list and the redo list hold groups, oldest first.
//
// Undoing a group plays its records backwards. A record reverses its step by calling the
// same step of the document data that made it, which records the opposite step into
// whichever list is active then: the redo list while undoing, the undo list while
// redoing. So the lists feed each other and no record knows about redo. After a group
// is played the range it touched is laid out again once, as narrowly as the records
// allow (TRPUndoInfos::Perform).
//
// Typing is the exception: one group holds one typing record that grows with each
// character typed, and each Undo or Redo takes back or restores one character.
//
// The concrete record classes are in RPUndoRecords.h.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Types.h"
#include "richtext/model/RPLists.h"

class TRPEditRPData;
class TRPUndoList;
class TCustomRPItemInfo;

// What a group undoes, as the editor opens it (the group's undo kind); the editor's
// caller may open groups of other kinds.
using TRPUndoKind = uint8_t;
inline constexpr TRPUndoKind rpukNone = 0;          // an empty list answers this
inline constexpr TRPUndoKind rpukDelete = 1;        // deleting the selection
inline constexpr TRPUndoKind rpukInsert = 2;        // text, native or RTF insertion, paste, drop
inline constexpr TRPUndoKind rpukParaStyle = 3;     // paragraph styles and style conversions
inline constexpr TRPUndoKind rpukNewParagraph = 4;  // Enter; typed text recorded as a substring
inline constexpr TRPUndoKind rpukTyping = 7;        // a run of typing
inline constexpr TRPUndoKind rpukTextStyle = 9;     // text styles
inline constexpr TRPUndoKind rpukModifyItem = 13;   // properties of an item or a table

// What a record holds (its record kind).
using TRPUndoRecordKind = uint8_t;
inline constexpr TRPUndoRecordKind rprkReformatRange = 0;
inline constexpr TRPUndoRecordKind rprkDeleteItem = 1;
inline constexpr TRPUndoRecordKind rprkDeleteItems = 2;
inline constexpr TRPUndoRecordKind rprkDeleteSubString = 3;
inline constexpr TRPUndoRecordKind rprkInsertItem = 4;
inline constexpr TRPUndoRecordKind rprkInsertItems = 5;
inline constexpr TRPUndoRecordKind rprkInsertSubString = 6;
inline constexpr TRPUndoRecordKind rprkNewLine = 7;
inline constexpr TRPUndoRecordKind rprkLineBreak = 8;
inline constexpr TRPUndoRecordKind rprkParaStyle = 9;
inline constexpr TRPUndoRecordKind rprkPageBreak = 10;
inline constexpr TRPUndoRecordKind rprkTyping = 11;
inline constexpr TRPUndoRecordKind rprkTag = 12;
inline constexpr TRPUndoRecordKind rprkStyleNo = 13;
inline constexpr TRPUndoRecordKind rprkCheckpoint = 14;
inline constexpr TRPUndoRecordKind rprkModifyItem = 15;
inline constexpr TRPUndoRecordKind rprkChangeText = 16;

// The messages of misusing the lists (ERichPaneError).
inline constexpr char errRPUndoEmptyList[] = "Can't modify empty undo list";
inline constexpr char errRPUndoIncorrectAdding[] = "Incorrect adding into undo list";
inline constexpr char errRPUndoBufferEmpty[] = "Undo buffer is empty";

// An item taken out of a document with its stored text, as records keep it and as a
// list of items to insert is given.
struct TRPKeptItem {
  AnsiString Text;
  std::unique_ptr<TCustomRPItemInfo> Item;
};
using TRPKeptItems = std::vector<TRPKeptItem>;

// The base of every record. The questions are asked by Perform, in this order for each
// record played; the answers of this class are the defaults.
class TRPUndoInfo : public TObject {
public:
  TRPUndoRecordKind Kind = rprkReformatRange;
  // The list that holds the record's group; set when the record is added.
  TRPUndoList* Owner = nullptr;

  // The document of the owner list (nullptr before the record is added).
  TRPEditRPData* GetRPData() const;

  // Before the step: whether the item is already as wide as the document (false).
  virtual bool NeedsFullFormatBefore(TRPEditRPData&) { return false; }
  // After the step: whether the item's paragraph width changed across the document's
  // width (false).
  virtual bool NeedsFullFormatAfter(TRPEditRPData&) { return false; }
  // Whether the step changes the layout at all (true).
  virtual bool RequiresFormat() const { return true; }
  // Whether the root document must be laid out whole afterwards (false).
  virtual bool RequiresRootFormat() const { return false; }
  // Whether the document must be laid out whole before the step (false).
  virtual bool RequiresFullFormat() const { return false; }
  // Whether the reverse step plays in an editor open inside the document, which stays
  // open for it (false: the document's inner editing ends before the group plays).
  virtual bool KeepsInplaceEditor(TRPEditRPData&) const { return false; }
  // Performs the reverse step (nothing).
  virtual void Undo(TRPEditRPData&) {}
  // The item range the step touches; left unchanged by a record that touches none.
  virtual void GetAffectedItems(int32_t& /*first*/, int32_t& /*last*/, TRPEditRPData&) const {}
  // How many items the reverse step adds (negative: removes).
  virtual int32_t GetItemCountDelta() const { return 0; }
};

// One group: the records of one action in recording order (owned), with the caret
// position the group's playing ends at.
class TRPUndoInfos : public TRPList {
public:
  AnsiString Caption;
  TRPUndoKind UndoKind = rpukNone;
  int32_t CaretItemNo = 0;
  int32_t CaretOffs = 0;

  TRPUndoInfo* Info(int32_t index) const { return static_cast<TRPUndoInfo*>(Items(index)); }
  // Whether every record of a group with records plays in the editor open inside the
  // document (KeepsInplaceEditor).
  bool KeepsInplaceEditor(TRPEditRPData& rpData) const;
  // Plays the group on the document: selection cancelled (unless the group keeps the
  // editor open inside the document), records undone from the last
  // to the first, the touched range laid out again (when reformat), the caret put at the
  // group's caret position, the control repainted. Nothing for a group without records.
  void Perform(TRPEditRPData& rpData, bool reformat);
  // Whether a played group is used up: no record, or a typing record with no character
  // left, or a nested list with no group left. A group that is not used up stays (a
  // typing group with characters left).
  bool IsUsedUp() const;
  // Whether the group holds exactly one record, a typing record.
  bool IsPureTyping() const;
};

// The undo list (TRPRedoList: the redo list). Owned by the editable document data; its
// document is the root data that the records change.
class TRPUndoList : public TRPList {
public:
  explicit TRPUndoList(TRPEditRPData* rpData) : RPData(rpData) {}
  // The records go while the list is still one: they ask it for its document.
  ~TRPUndoList() override { Clear(); }

  // While above 0 a played group is not laid out again (nothing raises it).
  int32_t ReformatLock = 0;
  TRPEditRPData* RPData;
  // -1: unlimited; 0: undo is off (nothing is recorded); n > 0: at most n groups kept.
  int32_t Limit = -1;
  // While above 0 no new group starts: every record joins the last group.
  int32_t GroupModeCount = 0;

  TRPUndoInfos* Group(int32_t index) const { return static_cast<TRPUndoInfos*>(Items(index)); }
  // The last group, nullptr for an empty list.
  TRPUndoInfos* LastGroup() const { return Count() > 0 ? Group(Count() - 1) : nullptr; }

  // Opens a group for the records that follow. False only with a limit of 0. In group
  // mode the last group goes on unless it is a pure typing group. At the limit the oldest
  // group goes; an empty last group is replaced, the new group taking over its caret
  // position and caption (the given caption is dropped then).
  bool BeginGroup(TRPUndoKind kind, const AnsiString& caption, int32_t caretOffs, int32_t caretItemNo);
  // Appends a record to the last group and becomes its owner. Raises ERichPaneError
  // "Can't modify empty undo list" without a group and "Incorrect adding into undo list"
  // when the last group is a pure typing group; the list is unchanged then (the record
  // is freed).
  void AddInfo(std::unique_ptr<TRPUndoInfo> info);
  // Appends a group built elsewhere and becomes the owner of its records.
  void AddGroup(std::unique_ptr<TRPUndoInfos> group);
  // One typed character at character index `index` of item itemNo (the item's stored
  // text is UTF-16 when unicode): it joins the last group's typing record when it follows
  // its characters, else a new typing group begins.
  void AddTyping(int32_t itemNo, int32_t index, bool unicode);
  // One character taken back by undoing typing (its stored bytes), that stood before
  // character position `position`: it joins the last group's redo-typing record when it
  // comes right before its characters, else a new typing group begins.
  void AddUntyping(const AnsiString& text, int32_t itemNo, int32_t position);
  // Deletes the last group when it has no record and group mode is off.
  void RemoveEmptyLastGroup();
  // Enters (on) or leaves group mode; the modes nest.
  void SetGroupMode(bool on) { GroupModeCount += on ? 1 : -1; }
  // The undo kind of the last group, rpukNone for an empty list.
  TRPUndoKind CurrentUndoKind() const;
  // Plays the last group: Undo opens a redo group of the same kind and caption through
  // the document data, Redo an undo group; the group is used up or kept (typing). Both
  // raise ERichPaneError "Undo buffer is empty" for an empty list.
  void Undo(TRPEditRPData& rpData);
  void Redo(TRPEditRPData& rpData);

private:
  void Play(TRPEditRPData& rpData, bool undoing);
};

class TRPRedoList : public TRPUndoList {
public:
  using TRPUndoList::TRPUndoList;
};
