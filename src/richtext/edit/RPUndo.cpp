// The undo and redo lists: groups, records, typing runs, playing the last group.
#include "richtext/edit/RPUndo.h"

#include "platform/base/ScopeExit.h"
#include "richtext/edit/RPERPData.h"
#include "richtext/edit/RPUndoRecords.h"
#include "richtext/model/RPException.h"

TRPEditRPData* TRPUndoInfo::GetRPData() const { return Owner ? Owner->RPData : nullptr; }

// --- Groups --------------------------------------------------------------------------------

bool TRPUndoInfos::IsPureTyping() const { return Count() == 1 && Info(0)->Kind == rprkTyping; }

bool TRPUndoInfos::IsUsedUp() const {
  if (Count() == 0) return true;
  const TRPUndoInfo* first = Info(0);
  if (const auto* typing = dynamic_cast<const TRPUndoTypingInfo*>(first)) return typing->Length == 0;
  if (const auto* redoTyping = dynamic_cast<const TRPRedoTypingInfo*>(first)) return redoTyping->S.empty();
  if (const auto* composite = dynamic_cast<const TRPCompositeUndo*>(first))
    return !composite->List || composite->List->Count() == 0;
  // Any other group is played whole.
  return true;
}

// --- The list ------------------------------------------------------------------------------

bool TRPUndoList::BeginGroup(TRPUndoKind kind, const AnsiString& caption, int32_t caretOffs, int32_t caretItemNo) {
  if (Limit == 0) return false;
  if (GroupModeCount > 0 && Count() > 0 && !LastGroup()->IsPureTyping()) return true;
  if (Limit > 0 && Count() >= Limit) Delete(0);
  auto group = std::make_unique<TRPUndoInfos>();
  group->UndoKind = kind;
  group->Caption = caption;
  group->CaretItemNo = caretItemNo;
  group->CaretOffs = caretOffs;
  if (TRPUndoInfos* last = LastGroup(); last && last->Count() == 0) {
    // An empty group left by a refused edit gives its place, caret and caption.
    group->Caption = last->Caption;
    group->CaretItemNo = last->CaretItemNo;
    group->CaretOffs = last->CaretOffs;
    Delete(Count() - 1);
  }
  Add(std::move(group));
  return true;
}

void TRPUndoList::AddInfo(std::unique_ptr<TRPUndoInfo> info) {
  TRPUndoInfos* last = LastGroup();
  if (!last) throw ERichPaneError(errRPUndoEmptyList);
  if (last->IsPureTyping()) throw ERichPaneError(errRPUndoIncorrectAdding);
  info->Owner = this;
  last->Add(std::move(info));
}

void TRPUndoList::AddGroup(std::unique_ptr<TRPUndoInfos> group) {
  for (int32_t i = 0; i < group->Count(); ++i) group->Info(i)->Owner = this;
  Add(std::move(group));
}

void TRPUndoList::RemoveEmptyLastGroup() {
  if (GroupModeCount <= 0 && LastGroup() && LastGroup()->Count() == 0) Delete(Count() - 1);
}

TRPUndoKind TRPUndoList::CurrentUndoKind() const { return Count() > 0 ? LastGroup()->UndoKind : rpukNone; }

void TRPUndoList::AddTyping(int32_t itemNo, int32_t index, bool unicode) {
  if (TRPUndoInfos* last = LastGroup(); last && last->Count() == 0) Delete(Count() - 1);
  if (TRPUndoInfos* last = LastGroup(); last && last->Count() > 0)
    if (auto* typing = dynamic_cast<TRPUndoTypingInfo*>(last->Info(0));
        typing && typing->ItemNo == itemNo && typing->Index + typing->Length == index) {
      ++typing->Length;
      ++last->CaretOffs;
      return;
    }
  if (!BeginGroup(rpukTyping, {}, index, itemNo)) return;
  auto typing = std::make_unique<TRPUndoTypingInfo>();
  typing->ItemNo = itemNo;
  typing->Index = index;
  typing->Length = 1;
  typing->Unicode = unicode;
  AddInfo(std::move(typing));
}

void TRPUndoList::AddUntyping(const AnsiString& text, int32_t itemNo, int32_t position) {
  if (TRPUndoInfos* last = LastGroup(); last && last->Count() == 0) Delete(Count() - 1);
  if (TRPUndoInfos* last = LastGroup(); last && last->Count() > 0)
    if (auto* redo = dynamic_cast<TRPRedoTypingInfo*>(last->Info(0)); redo && redo->ItemNo == itemNo) {
      const int32_t held = static_cast<int32_t>(text.size() > 1 ? redo->S.size() / 2 : redo->S.size());
      if (redo->Position - held == position) {
        redo->S += text;
        --last->CaretOffs;
        return;
      }
    }
  if (!BeginGroup(rpukTyping, {}, position, itemNo)) return;
  auto redo = std::make_unique<TRPRedoTypingInfo>();
  redo->ItemNo = itemNo;
  redo->Position = position;
  redo->S = text;
  redo->Unicode = text.size() > 1;
  AddInfo(std::move(redo));
}

void TRPUndoList::Undo(TRPEditRPData& rpData) { Play(rpData, true); }

void TRPUndoList::Redo(TRPEditRPData& rpData) { Play(rpData, false); }

void TRPUndoList::Play(TRPEditRPData& rpData, bool undoing) {
  TRPUndoInfos* group = LastGroup();
  if (!group) throw ERichPaneError(errRPUndoBufferEmpty);
  // The opposite steps go to the other list for as long as the group plays.
  const uint8_t savedRecording = rpData.UndoRecording;
  const TScopeExit restore([&] { rpData.UndoRecording = savedRecording; });
  if (undoing)
    rpData.BeginRedoGroup(group->UndoKind, group->Caption);
  else
    rpData.BeginUndoGroupWithCaption(group->UndoKind, group->Caption, false);
  group->Perform(rpData, ReformatLock <= 0);
  // The group is still this list's last: the opposite steps went to the other list.
  const int32_t index = IndexOf(group);
  if (index < 0) return;
  if (group->IsUsedUp()) {
    Delete(index);
    return;
  }
  // A typing group with characters left: its caret follows the character next in turn.
  if (dynamic_cast<const TRPUndoTypingInfo*>(group->Info(0)))
    --group->CaretOffs;
  else if (dynamic_cast<const TRPRedoTypingInfo*>(group->Info(0)))
    ++group->CaretOffs;
}
