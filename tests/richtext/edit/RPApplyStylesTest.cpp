// Applying text and paragraph styles through the editor's conversions: the splits of
// partly selected text items, tags, stored forms, the current styles; and the item
// property, checkpoint and list-numbering operations of the editable document.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "RPEditTestData.h"
#include "platform/base/Threads.h"
#include "richtext/layout/view/RPThread.h"
#include "richtext/model/RPListInfo.h"
#include "richtext/model/RPStyleUsage.h"

namespace {

struct RPApplyStylesTest : TEditFixture {
  RPApplyStylesTest() {
    // Every style becomes the user data's style.
    Pane.TextConversion = [](int32_t, int32_t userData) { return userData; };
    Pane.ParaConversion = [](int32_t, int32_t userData) { return userData; };
  }
  // The items as "text/style" (8-bit text as it is, UTF-16 as UTF-8 would show ASCII).
  std::string Items() {
    std::string out;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i) {
      if (!out.empty()) out += " ";
      if (!Data().StartsNewLine(i) || i == 0) {
      } else {
        out += "| ";
      }
      std::string text;
      for (const char16_t c : TextOf(i)) text += c < 128 ? static_cast<char>(c) : '?';
      out += text + "/" + std::to_string(Data().GetItem(i)->StyleNo);
    }
    return out;
  }
  void Select(int32_t startNo, int32_t startOffs, int32_t endNo, int32_t endOffs) {
    Data().SetSelectionBounds(startNo, startOffs, endNo, endOffs);
    Data().AfterSelectionChange(false);
  }
};

// Selections of "abcdef" (style 6) and "ghi" (style 7) on one line, styled 8.
TEST_F(RPApplyStylesTest, TextStylesSplitThePartlySelectedItems) {
  struct {
    const char* Name;
    int32_t StartNo, StartOffs, EndNo, EndOffs;
    const char* After;
    int32_t SelStartNo, SelStartOffs, SelEndNo, SelEndOffs;
  } cases[] = {
      {"inside one word", 0, 3, 0, 5, "ab/6 cd/8 ef/6 ghi/7", 1, 1, 1, 3},
      {"the head of an item", 0, 1, 0, 3, "ab/8 cdef/6 ghi/7", 0, 1, 0, 3},
      {"the tail of an item", 0, 3, 0, 7, "ab/6 cdef/8 ghi/7", 0, 3, 1, 5},
      {"a whole item", 0, 1, 0, 7, "abcdef/8 ghi/7", 0, 1, 0, 7},
      {"over two items", 0, 5, 1, 2, "abcd/6 efg/8 hi/7", 0, 5, 1, 4},
      {"both whole: joined", 0, 1, 1, 4, "abcdefghi/8", 0, 1, 0, 10},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Data().Clear();
    Data().UndoList->Clear();
    AddW(u"abcdef", UnicodeStyle);
    AddW(u"ghi", SerifStyle, -1);
    Format();
    const std::string before = Items();
    Select(c.StartNo, c.StartOffs, c.EndNo, c.EndOffs);
    Data().ApplyTextStyleConversion(BoldStyle, 3, false);
    EXPECT_EQ(Items(), c.After);
    int32_t s = 0, so = 0, e = 0, eo = 0;
    Data().GetSelectionRange(s, so, e, eo);
    EXPECT_EQ(s, c.SelStartNo);
    EXPECT_EQ(so, c.SelStartOffs);
    EXPECT_EQ(e, c.SelEndNo);
    EXPECT_EQ(eo, c.SelEndOffs);
    EXPECT_EQ(Data().UndoList->CurrentUndoKind(), rpukTextStyle);
    EXPECT_EQ(Data().UndoList->Count(), 1);
    Data().UndoList->Undo(Data());
    EXPECT_EQ(Items(), before);
    Data().RedoList->Redo(Data());
    EXPECT_EQ(Items(), c.After);
  }
}

// Live spelling before the joins: the item before the styled range forgets that it was
// checked and its marks (a join can make one word of two), so that spelling checks it
// again; the items before it keep theirs.
TEST_F(RPApplyStylesTest, LiveSpellingChecksAgainFromTheItemBeforeTheStyledRange) {
  struct {
    const char* Name;
    int32_t ItemNo, StyleNo;
    const char* After;
    int32_t Reset;  // the item that forgot its marks
  } cases[] = {
      {"joined with the item after it", 2, SerifStyle, "one/6 three/7 fourfive/7", 1},
      {"joined with nothing", 2, BoldStyle, "one/6 three/7 four/8 five/7", 1},
      {"at the document's start", 0, BoldStyle, "one/8 three/7 four/6 five/7", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    Data().Clear();
    AddW(u"one", UnicodeStyle);
    AddW(u"three", SerifStyle, -1);
    AddW(u"four", UnicodeStyle, -1);
    AddW(u"five", SerifStyle, -1);
    Format();
    for (int32_t i = 0; i < Data().GetItemCount(); ++i) {
      Data().GetItem(i)->AddMisspelling(1, 2);
      Data().GetItem(i)->ItemState |= rpisSpellChecked;
    }
    Select(c.ItemNo, 1, c.ItemNo, Data().GetItemLength(c.ItemNo) + 1);
    Data().ApplyTextStyleConversion(c.StyleNo, 3, false);
    ASSERT_EQ(Items(), c.After);
    for (int32_t i = 0; i < Data().GetItemCount(); ++i) {
      SCOPED_TRACE(i);
      const TCustomRPItemInfo& item = *Data().GetItem(i);
      if (i == c.Reset) {
        EXPECT_EQ(item.WordPainters, nullptr);
        EXPECT_EQ(item.ItemState & rpisSpellChecked, 0);
      } else if (i < c.Reset) {
        EXPECT_NE(item.WordPainters, nullptr);
        EXPECT_NE(item.ItemState & rpisSpellChecked, 0);
      }
    }
  }
}

// With live spelling running, the walk goes back to the item before the styled range and
// asks its words again (the edit bracketed by a pause, as the editor brackets its edits).
TEST_F(RPApplyStylesTest, TheSpellingWalkGoesBackToTheItemBeforeTheStyledRange) {
  std::mutex lock;
  std::vector<AnsiString> asked;
  Pane.OnSpellingCheck = [&](TCustomRichPane*, const AnsiString& word, int32_t, bool& misspelled) {
    const std::lock_guard guard(lock);
    asked.push_back(word);
    misspelled = word == "wrng";
  };
  const auto takeAsked = [&] {
    const std::lock_guard guard(lock);
    return std::exchange(asked, {});
  };
  const auto waitForTheWalk = [this] {
    TRPWordEnumThread* thread = Pane.LiveSpellingThread();
    ASSERT_NE(thread, nullptr);
    SynchronizeUntil([thread] { return thread->WaitsForWork(); });
  };
  AddW(u"first", UnicodeStyle);
  AddW(u"one wrng", UnicodeStyle);
  AddW(u"two", SerifStyle, -1);
  Format();
  Pane.StartLiveSpelling();
  waitForTheWalk();
  EXPECT_EQ(takeAsked(), (std::vector<AnsiString>{"first", "one", "wrng", "two"}));
  ASSERT_NE(Data().GetItem(1)->WordPainters, nullptr);

  Pane.PauseLiveSpelling();
  Select(2, 1, 2, 4);
  Data().ApplyTextStyleConversion(BoldStyle, 3, false);
  Pane.ResumeLiveSpelling();
  waitForTheWalk();
  const std::vector<AnsiString> again = takeAsked();
  ASSERT_GE(again.size(), 2u);
  EXPECT_EQ(again[0], "one");
  EXPECT_EQ(again[1], "wrng");
  EXPECT_EQ(std::count(again.begin(), again.end(), "first"), 0);
  // The word is marked again.
  ASSERT_NE(Data().GetItem(1)->WordPainters, nullptr);
  EXPECT_EQ(Data().GetItem(1)->WordPainters->Count(), 1);
  Pane.StopLiveSpelling();
}

TEST_F(RPApplyStylesTest, ClearingTagsOnStyleApplicationTakesTheConvertedPartOnly) {
  Pane.EditorOptions |= rpoClearTagOnStyleApp;
  Data().AddTextW(u"abcdef", UnicodeStyle, TRPTag::FromNumber(5), 0);
  Format();
  Select(0, 3, 0, 5);
  Data().ApplyTextStyleConversion(BoldStyle, 3, false);
  ASSERT_EQ(Items(), "ab/6 cd/8 ef/6");
  EXPECT_EQ(Data().GetItem(0)->Tag.Number(), 5);
  EXPECT_EQ(Data().GetItem(1)->Tag, TRPTag());
  EXPECT_EQ(Data().GetItem(2)->Tag.Number(), 5);
}

TEST_F(RPApplyStylesTest, UnicodeTextTakesTheCodePageOfAn8BitStyle) {
  TFontInfo& cyrillic = *Style.TextStyles().Add();
  cyrillic.FontName = "Arial";
  cyrillic.Charset = 204;  // Cyrillic: code page 1251
  const int32_t cyrillicStyle = Style.TextStyles().Count() - 1;
  AddW(u"\u041F\u0440\u0438", UnicodeStyle);
  Format();
  Select(0, 1, 0, 4);
  Data().ApplyTextStyleConversion(cyrillicStyle, 3, false);
  ASSERT_EQ(Data().GetItem(0)->StyleNo, cyrillicStyle);
  EXPECT_FALSE(Data().GetItem(0)->IsUnicode());
  EXPECT_EQ(Data().GetItemTextRaw(0), "\xCF\xF0\xE8");
  Data().UndoList->Undo(Data());
  EXPECT_TRUE(Data().GetItem(0)->IsUnicode());
  EXPECT_EQ(TextOf(0), u"\u041F\u0440\u0438");
}

TEST_F(RPApplyStylesTest, WithoutASelectionOnlyTheCurrentStyleChanges) {
  AddW(u"abc", UnicodeStyle);
  Format();
  Data().SetCaretAtItemPos(0, 2);
  Data().ApplyTextStyleConversion(BoldStyle, 3, false);
  EXPECT_EQ(Items(), "abc/6");
  EXPECT_EQ(Data().CurTextStyleNo, BoldStyle);
  EXPECT_EQ(Data().UndoList->Count(), 0);
  // An empty caret item takes the style, as an undo step.
  Data().Clear();
  AddW(u"", UnicodeStyle);
  Format();
  Data().ApplyTextStyleConversion(SerifStyle, 3, false);
  EXPECT_EQ(Data().GetItem(0)->StyleNo, SerifStyle);
  EXPECT_EQ(Data().CurTextStyleNo, SerifStyle);
  EXPECT_EQ(Data().UndoList->CurrentUndoKind(), rpukTextStyle);
}

TEST_F(RPApplyStylesTest, AParagraphStyleTakesTheCaretParagraphWhole) {
  AddW(u"one", UnicodeStyle);
  AddW(u"two", SerifStyle, -1);
  AddW(u"three", UnicodeStyle);
  AddW(u"four", UnicodeStyle);
  Format();
  Data().SetCaretAtItemPos(1, 2);
  Data().BeginUndoGroup(rpukParaStyle, true);
  Data().ApplyParaStyleConversion(1, 0);
  EXPECT_EQ(Data().GetItemPara(0), 1);
  EXPECT_EQ(Data().GetItemPara(1), 1);
  EXPECT_EQ(Data().GetItemPara(2), 0);
  EXPECT_EQ(Data().GetItemPara(3), 0);
  // A conversion over a selection of two paragraphs.
  Data().SetSelectionBounds(1, 1, 2, 2);
  Data().BeginUndoGroup(rpukParaStyle, true);
  Data().ApplyParaStyleConversion(ProtectedPara, 4);
  EXPECT_EQ(Data().GetItemPara(0), ProtectedPara);
  EXPECT_EQ(Data().GetItemPara(2), ProtectedPara);
  EXPECT_EQ(Data().GetItemPara(3), 0);
  Data().UndoList->Undo(Data());
  Data().UndoList->Undo(Data());
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(Data().GetItemPara(i), 0) << i;
}

// After style 7 leaves the sheet, the current style 8 is style 7 and the remembered
// switchable style that was 7 becomes 0.
TEST_F(RPApplyStylesTest, CurrentStylesFollowTheRenumbering) {
  AddW(u"abc", BoldStyle);
  Format();
  Pane.SetCurTextStyleNo(BoldStyle);
  Data().PrevTextStyleNo = SerifStyle;
  TRPStyleUsage usage;
  usage.TrackTextStyles = true;
  InitStyleUsage(usage, Style);
  MarkStylesInUse(Data(), Style, usage);
  EXPECT_EQ(usage.TextStyles[BoldStyle], 1);
  // What deleting the unused style 7 leaves: kept styles count themselves and the styles
  // removed before them; a removed style has 0.
  TRPIntegerList map;
  for (int32_t i = 0; i < Style.TextStyles().Count(); ++i) map.Add(i < SerifStyle ? 1 : i == SerifStyle ? 0 : 2);
  usage.TextStyles = map;
  Data().RenumberItemStyles(usage);
  EXPECT_EQ(Data().CurTextStyleNo, BoldStyle - 1);
  EXPECT_EQ(Data().PrevTextStyleNo, 0);
  EXPECT_EQ(Data().GetItem(0)->StyleNo, BoldStyle - 1);
  EXPECT_EQ(Pane.TextStyleSets.back(), BoldStyle - 1);
  EXPECT_EQ(Data().GetState() & rpstNoStyleEvents, 0u);
}

// --- Properties, checkpoints, lists ------------------------------------------------------------

TEST_F(RPApplyStylesTest, UnchangedValuesRecordNothing) {
  AddW(u"abc");
  Format();
  Data().BeginUndoGroup(rpukModifyItem, false);
  Data().SetTagUndoable(0, TRPTag());
  EXPECT_EQ(Data().ModifyItemStrProperty(0, nullptr, "NoSuchProperty", "x", false, false,
                                         &TRPUndoModifyItemStrProperty::Create),
            nullptr);
  EXPECT_EQ(Data().ModifyItemIntProperties(0, nullptr, false, false, {}, &TRPUndoModifyItemIntProperties::Create),
            nullptr);
  Data().SetExtraIntPropertyUndoable(0, rpipSpacing, 5);  // a text item has none
  EXPECT_EQ(Data().UndoList->LastGroup()->Count(), 0);
}

// A string property of an object inside an item, by name, and back by undoing.
TEST_F(RPApplyStylesTest, StringPropertiesChangeByNameAndComeBack) {
  AddW(u"abc");
  Format();
  TFontInfo& target = *Style.TextStyles()[SerifStyle];
  const AnsiString old = target.StyleName;
  Data().BeginUndoGroup(rpukModifyItem, false);
  TRPUndoModifyItemStrProperty* record = Data().ModifyItemStrProperty(0, &target, "StyleName", "Renamed", false, false,
                                                                      &TRPUndoModifyItemStrProperty::Create);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->OldValue, old);
  EXPECT_EQ(target.StyleName, "Renamed");
  EXPECT_EQ(Data().ModifyItemStrProperty(0, &target, "StyleName", "Renamed", false, false,
                                         &TRPUndoModifyItemStrProperty::Create),
            nullptr);
  // A record class that makes no string record is refused before anything changes.
  EXPECT_THROW(Data().ModifyItemStrProperty(0, &target, "StyleName", "Other", false, false,
                                            &TRPUndoModifyItemIntProperty::Create),
               ERichPaneError);
  EXPECT_EQ(target.StyleName, "Renamed");
  Data().UndoList->Undo(Data());
  EXPECT_EQ(target.StyleName, old);
  Data().RedoList->Redo(Data());
  EXPECT_EQ(target.StyleName, "Renamed");
}

// The change notification: the control is modified and hears of it; the remembered
// caret tag goes unless the document keeps it.
TEST_F(RPApplyStylesTest, ChangesTellTheControl) {
  AddW(u"abc");
  Format();
  Pane.Modified = false;
  Data().RememberedCaretTag = TRPTag::FromNumber(3);
  Data().SetStateFlag(rpstKeepCaretTag, true);
  Data().NotifyChange();
  EXPECT_TRUE(Pane.Modified);
  EXPECT_EQ(Pane.Changes, 1);
  EXPECT_EQ(Data().RememberedCaretTag.Number(), 3);
  Data().NotifyChange();
  EXPECT_EQ(Data().RememberedCaretTag, TRPTag());
  // A change made to an item from outside lays its paragraph out again and keeps the
  // caret where it was.
  Data().SetCaretAtItemPos(0, 3);
  int32_t width = 0;
  Data().PrepareItemChange(0, width);
  Data().SetItemTextRaw(0, WideToRawUnicode(u"abcdefgh"));
  Data().CompleteItemChange(0, width);
  EXPECT_EQ(Data().GetCaretItemNo(), 0);
  EXPECT_EQ(Data().GetCaretOffset(), 3);
  EXPECT_EQ(Data().DrawItems[0]->Length, 8);
}

TEST_F(RPApplyStylesTest, CheckpointsMoveAndComeBack) {
  AddW(u"one");
  AddW(u"two", UnicodeStyle, -1);
  AddW(u"three");
  Data().GetItem(0)->Checkpoint = std::make_unique<TRPCPInfo>();
  Data().GetItem(0)->Checkpoint->Name = "kept";
  Data().GetItem(0)->Checkpoint->Persistent = true;
  Data().LinkItemCheckpoint(0);
  Format();
  Data().BeginUndoGroup(rpukModifyItem, false);
  EXPECT_TRUE(Data().MoveCheckpointOffItem(0, false));
  ASSERT_NE(Data().GetItemCheckpoint(1), nullptr);
  EXPECT_EQ(Data().GetItemCheckpoint(1)->Name, "kept");
  EXPECT_EQ(Data().GetItemCheckpoint(0), nullptr);
  // Back: item 1 does not start its paragraph and item 0 is free.
  EXPECT_TRUE(Data().MoveCheckpointOffItem(1, true));
  EXPECT_NE(Data().GetItemCheckpoint(0), nullptr);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(Data().GetItemCheckpoint(0)->Name, "kept");
  EXPECT_EQ(Data().GetItemCheckpoint(1), nullptr);
  EXPECT_EQ(Data().GetCheckpointCount(), 1);
  // Alone in its paragraph it cannot move; a checkpoint that is not persistent never has
  // to.
  Data().GetItem(2)->Checkpoint = std::make_unique<TRPCPInfo>();
  Data().GetItem(2)->Checkpoint->Persistent = true;
  Data().LinkItemCheckpoint(2);
  EXPECT_FALSE(Data().MoveCheckpointOffItem(2, false));
  Data().GetItemCheckpoint(2)->Persistent = false;
  EXPECT_TRUE(Data().MoveCheckpointOffItem(2, false));
  EXPECT_NE(Data().GetItemCheckpoint(2), nullptr);
}

// Numbered paragraphs: copying the marker of the second paragraph into a new one after
// it renumbers the list's later paragraphs; undoing renumbers them back.
TEST_F(RPApplyStylesTest, InsertedNumberedParagraphsRenumberTheList) {
  TRPListInfo& list = *Style.ListStyles().Add();
  TRPListLevel& level = *list.Levels().Add();
  level.ListType = rplstDecimal;
  level.FormatString = "%0:s.";
  for (const char16_t* text : {u"first", u"second", u"third"}) {
    Data().AddItem({}, TRPMarkerItemInfo::CreateEx(&Data(), 0, 0, 1, false));
    AddW(text, UnicodeStyle, -1);
  }
  Format();
  const auto labels = [&] {
    std::string out;
    for (int32_t i = 0; i < Data().GetItemCount(); ++i)
      if (auto* marker = dynamic_cast<TRPMarkerItemInfo*>(Data().GetItem(i))) out += marker->DisplayString + " ";
    return out;
  };
  ASSERT_EQ(labels(), "1. 2. 3. ");
  Data().BeginUndoGroup(rpukNewParagraph, false);
  bool full = false;
  EXPECT_TRUE(Data().CopyParaMarker(3, 4, true, full));
  AnsiString text;
  auto item = CreateItemByStyleNo(UnicodeStyle, &Data());
  item->ItemOptions |= rpioUnicode;
  item->SetContinuesLine(true);
  text = WideToRawUnicode(u"new");
  Data().InsertItemUndoable(5, text, full, false, std::move(item));
  Data().RenumberListsInRange(4, 5);
  EXPECT_EQ(labels(), "1. 2. 3. 4. ");
  EXPECT_FALSE(dynamic_cast<TRPMarkerItemInfo&>(*Data().GetItem(4)).Reset);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(labels(), "1. 2. 3. ");
  // A paragraph without a marker copies none.
  EXPECT_FALSE(Data().CopyParaMarker(Data().GetItemCount() - 1, 0, false, full) &&
               Data().GetItem(0)->StyleNo != rpkindListMarker);
}

}  // namespace
