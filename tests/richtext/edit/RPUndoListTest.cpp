// The undo and redo lists: groups, limits, group mode, typing runs and the messages of
// misuse.
#include <gtest/gtest.h>

#include "RPEditTestData.h"
#include "richtext/edit/RPUndo.h"
#include "richtext/edit/RPUndoRecords.h"
#include "richtext/model/RPException.h"

namespace {

std::unique_ptr<TRPUndoInfo> Record(TRPUndoRecordKind kind = rprkReformatRange) {
  auto info = std::make_unique<TRPUndoItemNoInfo>();
  info->Kind = kind;
  return info;
}

template <typename F>
void ExpectError(F&& action, const char* message) {
  try {
    action();
    ADD_FAILURE() << "no error, expected \"" << message << "\"";
  } catch (const ERichPaneError& error) {
    EXPECT_STREQ(error.what(), message);
  }
}

class RPUndoListTest : public TEditFixture {
protected:
  TRPUndoList& List() { return *Data().UndoList; }
};

TEST_F(RPUndoListTest, AGroupTakesItsKindCaptionAndCaret) {
  EXPECT_EQ(List().CurrentUndoKind(), rpukNone);
  EXPECT_EQ(List().Limit, -1);
  ASSERT_TRUE(List().BeginGroup(rpukInsert, "paste", 4, 2));
  List().AddInfo(Record());
  EXPECT_EQ(List().CurrentUndoKind(), rpukInsert);
  const TRPUndoInfos& group = *List().LastGroup();
  EXPECT_EQ(group.Caption, "paste");
  EXPECT_EQ(group.CaretOffs, 4);
  EXPECT_EQ(group.CaretItemNo, 2);
  EXPECT_EQ(group.Info(0)->Owner, &List());
  EXPECT_EQ(group.Info(0)->GetRPData(), &Data());
}

TEST_F(RPUndoListTest, AnEmptyLastGroupIsReplacedAndGivesItsCaretAndCaption) {
  ASSERT_TRUE(List().BeginGroup(rpukDelete, "first", 7, 1));
  ASSERT_TRUE(List().BeginGroup(rpukInsert, "second", 3, 0));
  ASSERT_EQ(List().Count(), 1);
  const TRPUndoInfos& group = *List().LastGroup();
  EXPECT_EQ(group.UndoKind, rpukInsert);
  EXPECT_EQ(group.Caption, "first");
  EXPECT_EQ(group.CaretOffs, 7);
  EXPECT_EQ(group.CaretItemNo, 1);
}

TEST_F(RPUndoListTest, ALimitOfOneKeepsOnlyTheLastGroupAndZeroRecordsNothing) {
  List().Limit = 1;
  ASSERT_TRUE(List().BeginGroup(rpukDelete, {}, 0, 0));
  List().AddInfo(Record());
  ASSERT_TRUE(List().BeginGroup(rpukInsert, {}, 0, 0));
  List().AddInfo(Record());
  ASSERT_EQ(List().Count(), 1);
  EXPECT_EQ(List().CurrentUndoKind(), rpukInsert);

  List().Clear();
  List().Limit = 0;
  EXPECT_FALSE(List().BeginGroup(rpukInsert, {}, 0, 0));
  EXPECT_EQ(List().Count(), 0);
  // The document data turns recording off and has no active list.
  EXPECT_FALSE(Data().BeginUndoGroup(rpukInsert, false));
  EXPECT_EQ(Data().UndoRecording, 0);
  EXPECT_EQ(Data().GetActiveUndoList(), nullptr);
  List().AddTyping(0, 1, false);
  EXPECT_EQ(List().Count(), 0);
}

TEST_F(RPUndoListTest, GroupModeJoinsEditsButATypingGroupAlwaysEndsAGroup) {
  List().SetGroupMode(true);
  ASSERT_TRUE(List().BeginGroup(rpukDelete, {}, 0, 0));
  List().AddInfo(Record());
  ASSERT_TRUE(List().BeginGroup(rpukInsert, {}, 0, 0));
  List().AddInfo(Record());
  ASSERT_EQ(List().Count(), 1);
  EXPECT_EQ(List().LastGroup()->Count(), 2);
  // Modes nest.
  List().SetGroupMode(true);
  List().SetGroupMode(false);
  ASSERT_TRUE(List().BeginGroup(rpukInsert, {}, 0, 0));
  EXPECT_EQ(List().Count(), 1);
  List().SetGroupMode(false);

  List().Clear();
  List().AddTyping(0, 1, false);
  List().SetGroupMode(true);
  ASSERT_TRUE(List().BeginGroup(rpukDelete, {}, 0, 0));
  EXPECT_EQ(List().Count(), 2);
  List().SetGroupMode(false);
}

TEST_F(RPUndoListTest, RemoveEmptyLastGroupOnlyOutsideGroupMode) {
  ASSERT_TRUE(List().BeginGroup(rpukDelete, {}, 0, 0));
  List().SetGroupMode(true);
  List().RemoveEmptyLastGroup();
  EXPECT_EQ(List().Count(), 1);
  List().SetGroupMode(false);
  List().RemoveEmptyLastGroup();
  EXPECT_EQ(List().Count(), 0);
}

TEST_F(RPUndoListTest, MisuseRaisesTheMessagesAndLeavesTheListAsItWas) {
  ExpectError([&] { List().AddInfo(Record()); }, "Can't modify empty undo list");
  List().AddTyping(0, 1, false);
  ExpectError([&] { List().AddInfo(Record()); }, "Incorrect adding into undo list");
  EXPECT_EQ(List().LastGroup()->Count(), 1);
  ExpectError([&] { Data().RedoList->Undo(Data()); }, "Undo buffer is empty");
  ExpectError([&] { Data().RedoList->Redo(Data()); }, "Undo buffer is empty");
}

// Three characters typed one after another make one group; each undo takes back one
// character, each redo restores one.
TEST_F(RPUndoListTest, TypingIsOneGroupUndoneAndRedoneCharacterByCharacter) {
  for (const bool unicode : {false, true}) {
    SCOPED_TRACE(unicode ? "Unicode" : "8-bit");
    Data().Clear();
    List().Clear();
    if (unicode)
      AddW(u"ab");
    else
      AddA("ab");
    Format();
    // "xyz" typed after "a".
    const std::u16string typed = u"xyz";
    for (int32_t i = 0; i < 3; ++i) {
      AnsiString raw = Data().GetItemTextRaw(0);
      const AnsiString ch = unicode ? WideToRawUnicode(typed.substr(static_cast<size_t>(i), 1))
                                    : AnsiString(1, static_cast<char>(typed[static_cast<size_t>(i)]));
      raw.insert(static_cast<size_t>(1 + i) * (unicode ? 2 : 1), ch);
      List().AddTyping(0, 2 + i, unicode);
      Data().SetItemTextRaw(0, raw);
    }
    Format();
    ASSERT_EQ(TextOf(0), u"axyzb");
    ASSERT_EQ(List().Count(), 1);
    EXPECT_EQ(List().CurrentUndoKind(), rpukTyping);
    const auto& typing = dynamic_cast<const TRPUndoTypingInfo&>(*List().LastGroup()->Info(0));
    EXPECT_EQ(typing.Index, 2);
    EXPECT_EQ(typing.Length, 3);
    EXPECT_EQ(List().LastGroup()->CaretOffs, 4);

    const std::u16string afterUndo[] = {u"axyb", u"axb", u"ab"};
    for (int32_t i = 0; i < 3; ++i) {
      List().Undo(Data());
      EXPECT_EQ(TextOf(0), afterUndo[i]);
      EXPECT_EQ(Data().GetCaretOffset(), 4 - i);
      EXPECT_EQ(List().Count(), i < 2 ? 1 : 0);
    }
    ASSERT_EQ(Data().RedoList->Count(), 1);
    const std::u16string afterRedo[] = {u"axb", u"axyb", u"axyzb"};
    for (int32_t i = 0; i < 3; ++i) {
      Data().RedoList->Redo(Data());
      EXPECT_EQ(TextOf(0), afterRedo[i]);
      EXPECT_EQ(Data().GetCaretOffset(), 3 + i);
    }
    EXPECT_EQ(Data().RedoList->Count(), 0);
    ASSERT_EQ(List().Count(), 1);
    const auto& again = dynamic_cast<const TRPUndoTypingInfo&>(*List().LastGroup()->Info(0));
    EXPECT_EQ(again.Index, 2);
    EXPECT_EQ(again.Length, 3);
  }
}

TEST_F(RPUndoListTest, TypingElsewhereStartsANewGroup) {
  AddA("abcdef");
  Format();
  List().AddTyping(0, 2, false);
  List().AddTyping(0, 3, false);
  List().AddTyping(0, 6, false);  // not right after the run
  EXPECT_EQ(List().Count(), 2);
  AddA("second");
  List().AddTyping(1, 7, false);  // another item
  EXPECT_EQ(List().Count(), 3);
}

TEST_F(RPUndoListTest, UndoingUnicodeTypingInTextOfAnOddLengthRaises) {
  AddW(u"ab");
  Format();
  List().AddTyping(0, 2, true);
  Data().SetItemTextRaw(0, Data().GetItemTextRaw(0) + "x");
  ExpectError([&] { List().Undo(Data()); }, "Can't perform Unicode operation");
}

TEST_F(RPUndoListTest, AddGroupOwnsTheRecordsOfAGroupMadeElsewhere) {
  auto group = std::make_unique<TRPUndoInfos>();
  group->UndoKind = rpukModifyItem;
  group->Add(Record());
  group->Add(Record());
  List().AddGroup(std::move(group));
  ASSERT_EQ(List().Count(), 1);
  EXPECT_EQ(List().LastGroup()->Info(1)->Owner, &List());
}

}  // namespace
