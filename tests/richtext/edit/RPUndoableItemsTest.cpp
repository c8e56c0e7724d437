// The recorded steps of the editable document data: what each records, what undoing it
// gives back, items kept alive by records, and the steps that record nothing.
#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "RPEditTestData.h"
#include "richtext/model/RPException.h"
#include "richtext/table/RPTableItem.h"

namespace {

class RPUndoableItemsTest : public TEditFixture {
protected:
  RPUndoableItemsTest() {
    Pane.OnItemAction = [this](TCustomRichPane*, TRPItemAction action, TCustomRPItemInfo* item, AnsiString&,
                               TCustomRPData*) {
      if (action == rpiaDestroying) Destroyed.insert(item);
    };
  }
  ~RPUndoableItemsTest() override { Pane.OnItemAction = nullptr; }
  // Opens a group as the editor does before an edit.
  void Begin(TRPUndoKind kind = rpukInsert) { ASSERT_TRUE(Data().BeginUndoGroup(kind, false)); }
  const TRPUndoInfos& LastGroup() { return *Data().UndoList->LastGroup(); }
  std::vector<int32_t> Kinds() {
    std::vector<int32_t> kinds;
    for (int32_t i = 0; i < LastGroup().Count(); ++i) kinds.push_back(LastGroup().Info(i)->Kind);
    return kinds;
  }
  void Undo() {
    Data().UndoList->Undo(Data());
    Data().UndoRecording = 1;
  }
  void Redo() { Data().RedoList->Redo(Data()); }
  // Item flags and paragraph numbers, "p" a paragraph start, "c" a continuation, "l" a
  // line break, "b" a page break, then the number.
  std::string Places() {
    std::string out;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i) {
      const TCustomRPItemInfo& item = *Data().GetItem(i);
      out += item.GetContinuesLine() ? "c" : item.GetLineBreakBefore() ? "l" : "p";
      if (item.GetPageBreakBefore()) out += "b";
      out += std::to_string(item.ParaNo) + " ";
    }
    return out;
  }
  std::set<const TCustomRPItemInfo*> Destroyed;
};

TEST_F(RPUndoableItemsTest, WithUndoOffADeletedItemIsFreedAtOnce) {
  AddA("one");
  AddA("two");
  Format();
  Data().UndoList->Limit = 0;
  EXPECT_FALSE(Data().BeginUndoGroup(rpukDelete, false));
  const TCustomRPItemInfo* item = Data().GetItem(1);
  bool full = false;
  Data().DeleteItemUndoable(1, full);
  EXPECT_EQ(Data().GetItemCount(), 1);
  EXPECT_TRUE(Destroyed.count(item));
  EXPECT_EQ(Data().UndoList->Count(), 0);
}

TEST_F(RPUndoableItemsTest, ADeletedItemLivesInItsRecordAndComesBackAsTheSameObject) {
  AddA("one");
  AddA("two");
  Format();
  Begin(rpukDelete);
  const TCustomRPItemInfo* item = Data().GetItem(1);
  bool full = false;
  Data().DeleteItemUndoable(1, full);
  Format();
  EXPECT_EQ(Data().GetItemCount(), 1);
  EXPECT_TRUE(Destroyed.empty());
  ASSERT_EQ(Kinds(), std::vector<int32_t>{rprkDeleteItem});
  Undo();
  ASSERT_EQ(Data().GetItemCount(), 2);
  EXPECT_EQ(Data().GetItem(1), item);
  EXPECT_EQ(Data().GetItemTextA(1), "two");
  // Redoing takes it out again; clearing the lists frees it then.
  Redo();
  EXPECT_EQ(Data().GetItemCount(), 1);
  Data().UndoList->Clear();
  EXPECT_TRUE(Destroyed.count(item));
}

TEST_F(RPUndoableItemsTest, DeletingItemsRecordsThemLastFirstAndUndoingRestoresTheOrder) {
  for (const char* text : {"i0", "i1", "i2", "i3", "i4", "i5", "i6"}) AddA(text);
  Format();
  std::vector<const TCustomRPItemInfo*> items;
  for (int32_t i = 3; i <= 5; ++i) items.push_back(Data().GetItem(i));
  Begin(rpukDelete);
  bool full = false;
  Data().DeleteItemsUndoable(3, 5, full);
  Format();
  ASSERT_EQ(Data().GetItemCount(), 4);
  const auto& record = dynamic_cast<const TRPUndoDeleteItemsInfo&>(*LastGroup().Info(0));
  ASSERT_EQ(record.List.size(), 3u);
  EXPECT_EQ(record.List[0].Item.get(), items[2]);
  EXPECT_EQ(record.List[1].Item.get(), items[1]);
  EXPECT_EQ(record.List[2].Item.get(), items[0]);
  EXPECT_EQ(record.List[0].Text, "i5");
  Undo();
  ASSERT_EQ(Data().GetItemCount(), 7);
  for (int32_t i = 0; i < 3; ++i) EXPECT_EQ(Data().GetItem(3 + i), items[static_cast<size_t>(i)]);
  EXPECT_EQ(Data().GetItemTextA(6), "i6");
}

TEST_F(RPUndoableItemsTest, DeletingToTheEndOfAUnicodeItemTakesExactlyThoseCharacters) {
  AddW(u"abc\U0001F600de");  // a surrogate pair in the middle
  Format();
  Begin(rpukDelete);
  Data().DeleteSubstringUndoable(0, 3, -1);
  EXPECT_EQ(TextOf(0), u"ab");
  const auto& record = dynamic_cast<const TRPUndoDeleteSubstringInfo&>(*LastGroup().Info(0));
  EXPECT_EQ(record.Position, 3);
  EXPECT_EQ(RawUnicodeToWide(record.S), u"c\U0001F600de");
  Data().DeleteSubstringUndoable(0, 1, 0);  // nothing
  EXPECT_EQ(LastGroup().Count(), 1);
  Format();
  Undo();
  EXPECT_EQ(TextOf(0), u"abc\U0001F600de");
}

TEST_F(RPUndoableItemsTest, TheSameStyleOrTextRecordsNothing) {
  AddA("text");
  Format();
  Begin();
  Data().ChangeStyleNoUndoable(0, 0);
  Data().ChangeTextUndoable(0, "text");
  Data().InsertSubstringUndoable(0, 2, "");
  Data().SetTagUndoable(0, TRPTag());
  bool full = false;
  EXPECT_FALSE(Data().SetLineBreakUndoable(0, false, full));
  Data().SetPageBreakUndoable(0, false);
  EXPECT_EQ(LastGroup().Count(), 0);
}

TEST_F(RPUndoableItemsTest, ChangingToAUnicodeStyleSetsTheItemsUnicodeFlagAndUndoingClearsIt) {
  AddA("text");
  Format();
  Begin(rpukTextStyle);
  Data().ChangeTextUndoable(0, WideToRawUnicode(u"text"));
  Data().ChangeStyleNoUndoable(0, UnicodeStyle);
  EXPECT_TRUE(Data().GetItem(0)->IsUnicode());
  EXPECT_EQ(TextOf(0), u"text");
  EXPECT_EQ(Kinds(), (std::vector<int32_t>{rprkChangeText, rprkStyleNo}));
  Format();
  Undo();
  EXPECT_FALSE(Data().GetItem(0)->IsUnicode());
  EXPECT_EQ(Data().GetItemTextRaw(0), "text");
  EXPECT_EQ(Data().GetItem(0)->StyleNo, 0);
}

TEST_F(RPUndoableItemsTest, InsertingASubstringIntoANonTextItemIsAnUndoError) {
  AddA("text");
  Data().AddItem("", std::make_unique<TRPBreakItemInfo>(&Data()));
  Format();
  for (const int32_t itemNo : {1, 2, -1}) {
    SCOPED_TRACE(itemNo);
    try {
      Data().InsertSubstringUndoable(itemNo, 1, "x");
      ADD_FAILURE() << "no error";
    } catch (const Exception& error) {
      EXPECT_STREQ(error.what(), "Undo error");
    }
  }
}

TEST_F(RPUndoableItemsTest, APageBreakAfterAListMarkerGoesOnTheMarker) {
  TRPListInfo& list = *Style.ListStyles().Add();
  list.Levels().Add();
  AddA("before");
  Data().AddItem({}, TRPMarkerItemInfo::CreateEx(&Data(), 0, 0, 1, false));
  Data().AddRawText("item", 0, -1);
  Format();
  Begin();
  Data().SetPageBreakUndoable(2, true);
  EXPECT_TRUE(Data().GetItem(1)->GetPageBreakBefore());
  EXPECT_FALSE(Data().GetItem(2)->GetPageBreakBefore());
  EXPECT_EQ(dynamic_cast<const TRPUndoPageBreakInfo&>(*LastGroup().Info(0)).ItemNo, 1);
  Format();
  Undo();
  EXPECT_FALSE(Data().GetItem(1)->GetPageBreakBefore());
}

// Joining an item to the line before clears its line break and page break first, each
// recorded, then records the new-line step and the paragraph numbers; undoing restores
// every flag.
TEST_F(RPUndoableItemsTest, JoiningALineOrAParagraphToTheLineBeforeRecordsInOrder) {
  struct TCase {
    const char* name;
    bool lineBreak, pageBreak;
    std::vector<int32_t> kinds;
  };
  const TCase cases[] = {
      {"line break", true, false, {rprkLineBreak, rprkNewLine, rprkParaStyle}},
      {"page break", false, true, {rprkPageBreak, rprkNewLine, rprkParaStyle}},
      {"paragraph", false, false, {rprkNewLine, rprkParaStyle}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    Data().Clear();
    AddA("first", 0);
    AddA("second", 1);
    AddA("tail", -1);
    if (c.lineBreak) {
      Data().GetItem(1)->SetLineBreakBefore(true);
      Data().GetItem(1)->ParaNo = 0;
      Data().GetItem(2)->ParaNo = 0;
    }
    if (c.pageBreak) Data().GetItem(1)->SetPageBreakBefore(true);
    Format();
    const std::string before = Places();
    Begin();
    bool full = false;
    Data().SetContinuesLineUndoable(1, true, full, -1);
    EXPECT_EQ(Kinds(), c.kinds);
    EXPECT_EQ(Places(), "p0 c0 c0 ");
    Format();
    Undo();
    EXPECT_EQ(Places(), before);
    Redo();
    EXPECT_EQ(Places(), "p0 c0 c0 ");
  }
}

TEST_F(RPUndoableItemsTest, SplittingALineStartsAParagraphThatTakesItsLine) {
  AddA("first", 0);
  AddA("second", -1);
  AddA("third", -1);
  Format();
  Begin();
  bool full = false;
  Data().SetContinuesLineUndoable(1, false, full, 1);
  EXPECT_EQ(Places(), "p0 p1 c1 ");
  // A full-line item and an item that starts its line already do nothing.
  Data().SetContinuesLineUndoable(1, false, full, 0);
  EXPECT_EQ(Places(), "p0 p1 c1 ");
  Format();
  Undo();
  EXPECT_EQ(Places(), "p0 c0 c0 ");
}

TEST_F(RPUndoableItemsTest, AParagraphStyleAppliedOverProtectedStylesKeepsThem) {
  AddA("a", 0);
  AddA("b", ProtectedPara);
  AddA("c", -1);  // continues the protected paragraph
  AddA("d", 0);
  Format();
  Begin(rpukParaStyle);
  bool full = false;
  Data().SetParaRangeUndoable(0, 3, full, 1);
  EXPECT_EQ(Places(), "p1 p2 c2 p1 ");
  Format();
  Undo();
  EXPECT_EQ(Places(), "p0 p2 c2 p0 ");
}

TEST_F(RPUndoableItemsTest, RestoringParagraphsOfOneStyleKeepsOneNumber) {
  AddA("a", 1);
  AddA("b", -1);
  Format();
  Begin(rpukParaStyle);
  TRPIntegerList answers;
  answers.Add(0);
  answers.Add(0);
  bool full = false;
  Data().RestoreParasUndoable(0, answers, full);
  const auto& record = dynamic_cast<const TRPUndoParaInfo&>(*LastGroup().Info(0));
  EXPECT_EQ(record.ParaNo, 1);
  EXPECT_EQ(record.Count, 2);
  Format();
  Undo();
  EXPECT_EQ(Places(), "p1 c1 ");
}

// Paragraph numbers restored, undone and redone: paragraphs of several styles come back
// each with its own (the record keeps every old number, not one for all); a record of one
// number for a whole range gives it back to every item, to items whose paragraph style
// the step made a protected one too.
TEST_F(RPUndoableItemsTest, RestoredParagraphNumbersAreUndoneAndRedone) {
  struct TCase {
    const char* name;
    std::vector<int32_t> paras;  // -1: the item continues the line
    std::vector<int32_t> answers;
    const char *restored, *undone;
  };
  const TCase cases[] = {
      {"several styles", {0, 1, 0}, {1, 0, 1}, "p1 p0 p1 ", "p0 p1 p0 "},
      {"one number over a protected style", {0, -1}, {ProtectedPara, ProtectedPara}, "p2 c2 ", "p0 c0 "},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    Data().Clear();
    for (const int32_t paraNo : c.paras) AddA("text", paraNo);
    Format();
    Begin(rpukParaStyle);
    TRPIntegerList answers;
    for (const int32_t paraNo : c.answers) answers.Add(paraNo);
    bool full = false;
    Data().RestoreParasUndoable(0, answers, full);
    EXPECT_EQ(Places(), c.restored);
    Format();
    Undo();
    EXPECT_EQ(Places(), c.undone);
    Redo();
    EXPECT_EQ(Places(), c.restored);
  }
}

// A paragraph joined to the one before takes its style whole: the items after a line
// break inside it, and a protected style, go along; splitting it again and undoing give
// each item its number back.
TEST_F(RPUndoableItemsTest, AJoinedParagraphTakesTheStyleOfTheOneBeforeWhole) {
  struct TCase {
    const char* name;
    int32_t paraNo;
  };
  for (const TCase& c : {TCase{"plain", 1}, TCase{"protected", ProtectedPara}}) {
    SCOPED_TRACE(c.name);
    Data().Clear();
    AddA("first", 0);
    AddA("second", c.paraNo);
    AddA("after a line break", c.paraNo);
    Data().GetItem(2)->SetLineBreakBefore(true);
    AddA("tail", -1);
    Format();
    const std::string before = Places();
    Begin();
    bool full = false;
    Data().SetContinuesLineUndoable(1, true, full, -1);
    EXPECT_EQ(Places(), "p0 c0 l0 c0 ");
    Format();
    Undo();
    EXPECT_EQ(Places(), before);
    Redo();
    EXPECT_EQ(Places(), "p0 c0 l0 c0 ");
    Begin();
    Data().SetContinuesLineUndoable(1, false, full, 1);
    EXPECT_EQ(Places(), "p0 p1 l1 c1 ");
    Format();
    Undo();
    EXPECT_EQ(Places(), "p0 c0 l0 c0 ");
  }
}

// A group whose later record took items away before an item that an earlier record
// changed: undoing lays out again the range that covers that item in the numbering
// before the play, and gives the layout of a whole pass.
TEST_F(RPUndoableItemsTest, UndoingLaysOutAgainAnItemBehindItemsTakenAway) {
  for (int32_t p = 0; p < 6; ++p) AddA("paragraph " + std::to_string(p));
  Format();
  Begin();
  Data().InsertSubstringUndoable(5, 1, "a longer text that wraps onto more lines than one in the narrow view ");
  TRPKeptItems items;
  for (int32_t k = 0; k < 3; ++k) {
    auto item = CreateItemByStyleNo(0, &Data());
    items.push_back(TRPKeptItem{"inserted " + std::to_string(k), std::move(item)});
  }
  bool full = false;
  Data().InsertItemsUndoable(1, items, full, false);
  Format();
  Undo();
  const auto layout = [this] {
    std::string out;
    for (int32_t i = 0; i < Data().DrawItems.Count(); ++i) {
      const TRPDrawLineInfo& d = *Data().DrawItems[i];
      out += std::to_string(d.ItemNo) + "/" + std::to_string(d.Offs) + "+" + std::to_string(d.Length) + "@" +
             std::to_string(d.Left) + "," + std::to_string(d.Top) + "\n";
    }
    return out + "height " + std::to_string(Data().DocumentHeight);
  };
  ASSERT_EQ(Data().GetItemTextA(5), "paragraph 5");
  const std::string partial = layout();
  Format();
  EXPECT_EQ(partial, layout());
}

TEST_F(RPUndoableItemsTest, AnInsertedParagraphStartTakesTheContinuingItemsAlong) {
  AddA("first", 0);
  AddA("second", -1);
  AddA("third", -1);
  Format();
  Begin();
  auto item = CreateItemByStyleNo(0, &Data());
  item->ParaNo = 1;
  AnsiString text = "new";
  bool full = false;
  Data().InsertItemUndoable(1, text, full, false, std::move(item));
  // "second" no longer starts its line; it and "third" continue the new paragraph.
  EXPECT_EQ(Places(), "p0 p1 c1 c1 ");
  EXPECT_EQ(Kinds(), (std::vector<int32_t>{rprkInsertItem, rprkParaStyle}));
  Format();
  Undo();
  EXPECT_EQ(Places(), "p0 c0 c0 ");
  EXPECT_EQ(Data().GetItemTextA(1), "second");
}

TEST_F(RPUndoableItemsTest, JoiningTextItemsAndUndoingTheJoin) {
  AddA("Hello", 0);
  AddA(" world", -1);
  Data().GetItem(1)->Tag = TRPTag::FromNumber(5);
  Format();
  Begin();
  Data().JoinItems(0);
  ASSERT_EQ(Data().GetItemCount(), 1);
  EXPECT_EQ(Data().GetItemTextA(0), "Hello world");
  Format();
  Undo();
  ASSERT_EQ(Data().GetItemCount(), 2);
  EXPECT_EQ(Data().GetItemTextA(0), "Hello");
  EXPECT_EQ(Data().GetItemTextA(1), " world");
  EXPECT_EQ(Data().GetItem(1)->Tag.Number(), 5);
}

TEST_F(RPUndoableItemsTest, AnEmptyItemJoinedToTextTakesItsStyleAndTag) {
  AddA("", 0);
  AddW(u"text", UnicodeStyle, -1);
  Data().GetItem(1)->Tag = TRPTag::FromNumber(9);
  Format();
  Begin();
  // Stored forms differ: the text item takes the empty one's place.
  Data().JoinItems(0);
  ASSERT_EQ(Data().GetItemCount(), 1);
  EXPECT_EQ(TextOf(0), u"text");
  EXPECT_EQ(Places(), "p0 ");
  Format();
  Undo();
  EXPECT_EQ(Places(), "p0 c0 ");

  // Stored forms alike: the empty item takes the text, the style and the tag.
  Data().Clear();
  AddW(u"", SerifStyle, 0);
  AddW(u"text", UnicodeStyle, -1);
  Data().GetItem(1)->Tag = TRPTag::FromNumber(9);
  Format();
  Begin();
  Data().JoinItems(0);
  ASSERT_EQ(Data().GetItemCount(), 1);
  EXPECT_EQ(Data().GetItem(0)->StyleNo, UnicodeStyle);
  EXPECT_EQ(Data().GetItem(0)->Tag.Number(), 9);
  Format();
  Undo();
  EXPECT_EQ(Data().GetItem(0)->StyleNo, SerifStyle);
  EXPECT_EQ(Data().GetItem(0)->Tag.Number(), 0);
  EXPECT_EQ(TextOf(1), u"text");
}

TEST_F(RPUndoableItemsTest, ADeletedCheckpointLivesInItsRecordAndComesBack) {
  AddA("one");
  Data().AddCheckpoint("mark", true, TRPTag());
  AddA("two");
  Format();
  const TRPCPInfo* checkpoint = Data().GetItemCheckpoint(1);
  ASSERT_NE(checkpoint, nullptr);
  Begin(rpukDelete);
  Data().DeleteCheckpointUndoable(1);
  EXPECT_EQ(Data().GetItemCheckpoint(1), nullptr);
  EXPECT_EQ(Data().GetCheckpointCount(), 0);
  EXPECT_EQ(dynamic_cast<const TRPUndoDeleteCPInfo&>(*LastGroup().Info(0)).Checkpoint.get(), checkpoint);
  try {
    Data().DeleteCheckpointUndoable(1);
    ADD_FAILURE() << "no error";
  } catch (const ERichPaneError& error) {
    EXPECT_STREQ(error.what(), "Checkpoint error");
  }
  Format();
  Undo();
  EXPECT_EQ(Data().GetItemCheckpoint(1), checkpoint);
  EXPECT_EQ(Data().GetFirstCheckpoint(), checkpoint);
  EXPECT_EQ(Data().GetCheckpointCount(), 1);
}

TEST_F(RPUndoableItemsTest, DeletingAnItemWithACheckpointRecordsBothAndUndoingLinksItAgain) {
  AddA("one");
  Data().AddCheckpoint("a", false, TRPTag());
  AddA("two");
  Data().AddCheckpoint("b", false, TRPTag());
  AddA("three");
  Format();
  Begin(rpukDelete);
  bool full = false;
  Data().DeleteItemUndoable(1, full);
  EXPECT_EQ(Kinds(), (std::vector<int32_t>{rprkCheckpoint, rprkDeleteItem}));
  EXPECT_EQ(Data().GetCheckpointCount(), 1);
  Format();
  Undo();
  ASSERT_NE(Data().GetItemCheckpoint(1), nullptr);
  EXPECT_EQ(Data().GetFirstCheckpoint()->Name, "a");
  EXPECT_EQ(Data().GetFirstCheckpoint()->Next->Name, "b");
  EXPECT_EQ(Data().GetCheckpointCount(), 2);
}

TEST_F(RPUndoableItemsTest, AddingACheckpointWhereOneIsIsAnError) {
  AddA("one");
  Data().AddCheckpoint("end", false, TRPTag());  // pending at the end
  Format();
  auto checkpoint = std::make_unique<TRPCPInfo>();
  try {
    Data().AddCheckpointUndoable(-1, std::move(checkpoint));
    ADD_FAILURE() << "no error";
  } catch (const ERichPaneError& error) {
    EXPECT_STREQ(error.what(), "Checkpoint error");
  }
  Begin();
  Data().DeleteCheckpointUndoable(-1);
  EXPECT_EQ(Data().GetPendingCheckpoint(), nullptr);
  Format();
  Undo();
  ASSERT_NE(Data().GetPendingCheckpoint(), nullptr);
  EXPECT_EQ(Data().GetPendingCheckpoint()->Name, "end");
}

TEST_F(RPUndoableItemsTest, APublishedPropertyChangedByNameIsUndoneAndRedone) {
  auto table = std::make_unique<TRPTableItemInfo>(2, 2, &Data());
  TRPTableItemInfo& ref = *table;
  AddA("before");
  Data().AddItem("", std::move(table));
  Format();
  ref.SetBorderWidth(1);
  Begin(rpukModifyItem);
  Data().AddModifyItemTerminator(1, true);
  TRPUndoModifyItemIntProperty* record =
      Data().ModifyItemIntProperty(1, nullptr, "BorderWidth", 4, true, true, &TRPUndoModifyItemIntProperty::Create);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->OldValue, 1);
  EXPECT_EQ(ref.GetBorderWidth(), 4);
  EXPECT_EQ(
      Data().ModifyItemIntProperty(1, nullptr, "BorderWidth", 4, true, true, &TRPUndoModifyItemIntProperty::Create),
      nullptr);
  EXPECT_EQ(
      Data().ModifyItemIntProperty(1, nullptr, "NoSuchProperty", 4, true, true, &TRPUndoModifyItemIntProperty::Create),
      nullptr);
  const std::vector<std::pair<AnsiString, int32_t>> values = {{"CellPadding", 7}, {"BorderWidth", 4}};
  TRPUndoModifyItemIntProperties* several =
      Data().ModifyItemIntProperties(1, nullptr, true, true, values, &TRPUndoModifyItemIntProperties::Create);
  ASSERT_NE(several, nullptr);
  ASSERT_EQ(several->PropList.size(), 1u);  // BorderWidth is already 4
  EXPECT_EQ(several->PropList[0].first, "CellPadding");
  const int32_t oldPadding = several->PropList[0].second;
  Data().AddModifyItemTerminator(1, false);
  EXPECT_EQ(Kinds(), (std::vector<int32_t>{rprkModifyItem, rprkModifyItem, rprkModifyItem, rprkModifyItem}));
  Format();
  Undo();
  EXPECT_EQ(ref.GetBorderWidth(), 1);
  EXPECT_EQ(ref.GetCellPadding(), oldPadding);
  // The redo group holds the opposite records, bracketed again opening first: the
  // closing terminator, played first, records an opening one.
  ASSERT_EQ(Data().RedoList->Count(), 1);
  const TRPUndoInfos& redo = *Data().RedoList->LastGroup();
  ASSERT_EQ(redo.Count(), 4);
  EXPECT_TRUE(dynamic_cast<const TRPUndoModifyItemTerminator&>(*redo.Info(0)).Opening);
  EXPECT_FALSE(dynamic_cast<const TRPUndoModifyItemTerminator&>(*redo.Info(3)).Opening);
  Redo();
  EXPECT_EQ(ref.GetBorderWidth(), 4);
  EXPECT_EQ(ref.GetCellPadding(), 7);
}

TEST_F(RPUndoableItemsTest, AReformatRangeIsRecordedAgainWhenUndone) {
  AddA("one");
  Format();
  Begin();
  Data().AddReformatRange(0, 0, true);
  Undo();
  ASSERT_EQ(Data().RedoList->Count(), 1);
  const auto& record = dynamic_cast<const TRPUndoReformateRange&>(*Data().RedoList->LastGroup()->Info(0));
  EXPECT_TRUE(record.FullReformat);
  EXPECT_TRUE(record.RequiresRootFormat());
}

}  // namespace
