// The document: adding items and text in paragraphs, checkpoints, reading items back,
// deleting, joining text items, appending documents and plain-text output.
#include <gtest/gtest.h>

#include "RPTestItems.h"
#include "platform/base/Streams.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPUnicode.h"

namespace {

class RPDataTest : public ::testing::Test {
protected:
  TFakeItemClasses Classes;
  TFakeStyleSheet Sheet;
  TTestRPData Data;

  RPDataTest() {
    // Style 0: 8-bit Cyrillic (1251); style 1: Unicode; style 2: 8-bit Western (1252).
    Sheet.TextStyles = {{false, 204, false}, {true, 204, false}, {false, 0, false}};
    Sheet.ParaDefStyles = {-1, 1};
    Data.Sheet = &Sheet;
  }

  std::unique_ptr<TCustomRPItemInfo> Make(int32_t styleNo, int32_t paraNo) {
    std::unique_ptr<TCustomRPItemInfo> item = CreateItemByStyleNo(styleNo, &Data);
    item->ParaNo = paraNo;
    return item;
  }

  // One letter per item: "p" paragraph start, "l" line break, "c" continues the line.
  std::string Shape() const {
    std::string shape;
    for (int32_t i = 0; i < Data.GetItemCount(); ++i)
      shape += Data.GetItem(i)->GetContinuesLine() ? 'c' : Data.GetItem(i)->GetLineBreakBefore() ? 'l' : 'p';
    return shape;
  }

  std::vector<AnsiString> Names() {
    std::vector<AnsiString> names;
    for (TRPCPInfo* cp = Data.GetFirstCheckpoint(); cp; cp = cp->Next) names.push_back(cp->Name);
    return names;
  }

  // The chain read backwards must be the chain read forwards, reversed, and every
  // checkpoint must point at an item that points back at it.
  void ExpectChainConsistent() {
    std::vector<TRPCPInfo*> forward, backward;
    for (TRPCPInfo* cp = Data.GetFirstCheckpoint(); cp; cp = cp->Next) forward.push_back(cp);
    for (TRPCPInfo* cp = Data.GetLastCheckpoint(); cp; cp = cp->Prev) backward.insert(backward.begin(), cp);
    EXPECT_EQ(forward, backward);
    for (TRPCPInfo* cp : forward) {
      ASSERT_NE(cp->ItemInfo, nullptr);
      EXPECT_EQ(cp->ItemInfo->Checkpoint.get(), cp);
    }
    EXPECT_EQ(static_cast<int32_t>(forward.size()) + (Data.GetPendingCheckpoint() ? 1 : 0), Data.GetCheckpointCount());
  }
};

TEST_F(RPDataTest, ParagraphMinusOneInAnEmptyDocumentStartsParagraphZero) {
  Data.AddRawText("a", 0, -1);
  EXPECT_EQ(Data.GetItemPara(0), 0);
  EXPECT_EQ(Data.GetItemOptions(0), 0);
  Data.AddRawText("b", 0, -1);
  Data.AddRawText("c", 0, 3);
  EXPECT_EQ(Shape(), "pcp");
  EXPECT_EQ(Data.GetItemPara(1), 0);
  EXPECT_EQ(Data.GetItemPara(2), 3);
}

TEST_F(RPDataTest, AfterAWholeLineItemParagraphMinusOneStartsAParagraph) {
  Data.AddRawText("a", 0, 2);
  Data.AddItem({}, Make(rpkindBreak, 2));
  Data.AddRawText("b", 0, -1);
  EXPECT_EQ(Shape(), "ppp");
  EXPECT_EQ(Data.GetItemPara(2), 0);
}

TEST_F(RPDataTest, ParagraphStartAfterAListMarkerFirstAddsAnEmptyText) {
  Data.AddItem({}, Make(rpkindListMarker, 1));
  Data.AddRawText("item", 0, 1);
  ASSERT_EQ(Data.GetItemCount(), 3);
  EXPECT_EQ(Data.GetItem(1)->StyleNo, 0);
  EXPECT_EQ(Data.GetItemTextRaw(1), "");
  EXPECT_EQ(Shape(), "pcp");
  EXPECT_EQ(Data.GetItemPara(1), 1);
}

TEST_F(RPDataTest, WithoutAddAsParagraphsItemsBreakLinesExceptWholeLineItems) {
  Data.SetAddParagraphs(false);
  Data.AddRawText("a", 0, 0);
  Data.AddRawText("b", 0, 0);
  Data.AddItem({}, Make(rpkindBreak, 0));
  Data.AddRawText("c", 0, -1);
  EXPECT_EQ(Shape(), "llpl");
  EXPECT_TRUE(Data.StartsNewLine(1));
  EXPECT_FALSE(Data.StartsParagraph(1));
}

TEST_F(RPDataTest, AddItemAsIsKeepsFlagsAndParagraph) {
  auto item = Make(0, -1);
  item->ItemOptions = rpioLineBreakBefore;
  Data.AddItemAsIs("x", std::move(item));
  EXPECT_EQ(Data.GetItemPara(0), -1);
  EXPECT_EQ(Data.GetItemOptions(0), rpioLineBreakBefore);
}

TEST_F(RPDataTest, HooksRunOnAdd) {
  Data.AddRawText("a", 0, 0);
  EXPECT_EQ(Data.Actions, (std::vector<TRPItemAction>{rpiaInserting, rpiaInserted}));
}

TEST_F(RPDataTest, TextInUnicodeAnd8BitStylesSideBySide) {
  Data.AddAnsiText("\xCF\xF0\xE8", 1, TRPTag(), 0);  // "При" in 1251, into a Unicode style
  Data.AddTextW(u"мир", 0, TRPTag(), -1);            // UTF-16 into an 8-bit style
  Data.AddAnsiText("abc", 0, TRPTag(), -1);
  ASSERT_EQ(Data.GetItemCount(), 3);
  EXPECT_TRUE(Data.GetItem(0)->IsUnicode());
  EXPECT_EQ(Data.GetItemTextRaw(0), WideToRawUnicode(u"При"));
  EXPECT_EQ(Data.GetItemLength(0), 3);
  EXPECT_EQ(Data.GetItemTextW(0), u"При");
  EXPECT_EQ(Data.GetItemTextA(0), "\xCF\xF0\xE8");
  EXPECT_FALSE(Data.GetItem(1)->IsUnicode());
  EXPECT_EQ(Data.GetItemTextRaw(1), "\xEC\xE8\xF0");
  EXPECT_EQ(Data.GetItemTextW(1), u"мир");
  EXPECT_EQ(Data.GetItemLength(1), 3);
  Data.SetItemTextW(0, u"Ёж");
  EXPECT_EQ(Data.GetItemTextRaw(0), WideToRawUnicode(u"Ёж"));
  Data.SetItemTextW(1, u"Ёж");
  EXPECT_EQ(Data.GetItemTextRaw(1), "\xA8\xE6");
  // A character the style's code page lacks becomes "?".
  Data.AddTextW(u"日", 2, TRPTag(), 0);
  EXPECT_EQ(Data.GetItemTextRaw(3), "?");
}

TEST_F(RPDataTest, DefaultStyleResolvesThroughTheParagraph) {
  // Paragraph 1's default text style is the Unicode style 1.
  Data.AddAnsiText("\xCF", -1, TRPTag(), 1);
  EXPECT_EQ(Data.GetItem(0)->StyleNo, rpDefaultTextStyle);
  EXPECT_EQ(Data.GetItemStyle(0), 1);
  EXPECT_TRUE(Data.GetItem(0)->IsUnicode());
  // 8-bit text with paragraph -1 resolves in the last item's paragraph.
  Data.AddAnsiText("\xCF", -1, TRPTag(), -1);
  EXPECT_TRUE(Data.GetItem(1)->IsUnicode());
  EXPECT_EQ(Data.GetItemTextW(1), u"П");
  // So does UTF-16 text: its stored form is the one the style it will be read in asks
  // for (paragraph -1 would otherwise read the fallback paragraph style's default).
  Data.AddTextW(u"р", -1, TRPTag(), -1);
  EXPECT_TRUE(Data.GetItem(2)->IsUnicode());
  EXPECT_EQ(Data.GetItemStyle(2), 1);
  EXPECT_EQ(Data.GetItemTextW(2), u"р");
  // After a whole-line item the text starts paragraph 0, whose default is style 0.
  Data.AddItem({}, Make(rpkindBreak, 1));
  Data.AddAnsiText("\xCF", -1, TRPTag(), -1);
  EXPECT_EQ(Data.GetItemPara(4), 0);
  EXPECT_FALSE(Data.GetItem(4)->IsUnicode());
  EXPECT_EQ(Data.GetItemTextW(4), u"П");
}

TEST_F(RPDataTest, WithoutAStyleSheetUnicodeTextIsStoredAs8Bit) {
  Data.Sheet = nullptr;
  Data.AddTextW(u"Да", 0, TRPTag(), 0);  // the ANSI code page, 1251
  EXPECT_FALSE(Data.GetItem(0)->IsUnicode());
  EXPECT_EQ(Data.GetItemTextRaw(0), "\xC4\xE0");
}

TEST_F(RPDataTest, TabsExpandToTheStyleSheetsSpaces) {
  Sheet.SpacesInTab = 3;
  Data.AddRawText("a\tb", 0, 0);
  Data.AddTextKeepTabs("a\tb", 0, TRPTag(), 0);
  Data.AddTextW(u"\tx", 1, TRPTag(), 0);
  EXPECT_EQ(Data.GetItemTextRaw(0), "a   b");
  EXPECT_EQ(Data.GetItemTextRaw(1), "a\tb");
  EXPECT_EQ(Data.GetItemTextRaw(2), WideToRawUnicode(u"   x"));
}

TEST_F(RPDataTest, TagsAreTakenOverAndCopiedWithTheirText) {
  Data.SetOptions(rpoTagsArePChars);
  TRPTag tag = TRPTag::FromText("t");
  Data.AddTextW(u"a", 0, tag, 0);
  EXPECT_EQ(Data.GetItemTag(0).Text(), "t");
  EXPECT_TRUE(Data.TagsArePChars());
}

TEST_F(RPDataTest, ItemTextOffsetsAndCharacterPositions) {
  Data.AddTextW(u"a\U0001F600b", 1, TRPTag(), 0);
  Data.AddItem({}, Make(rpkindBreak, 0));
  EXPECT_EQ(Data.GetItemStartOffset(0), 1);
  EXPECT_EQ(Data.GetItemEndOffset(0), 5);
  EXPECT_EQ(Data.GetItemStartOffset(1), 0);
  EXPECT_EQ(Data.GetItemEndOffset(1), 1);
  EXPECT_EQ(Data.GetItemLength(1), 1);
  EXPECT_EQ(Data.GetNextCharPos(0, 1), 2);
  EXPECT_EQ(Data.GetNextCharPos(0, 2), 4);  // over the surrogate pair
  EXPECT_EQ(Data.GetPrevCharPos(0, 4), 2);
  EXPECT_EQ(Data.GetPrevCharPos(0, 5), 4);
}

TEST_F(RPDataTest, Delimiters) {
  Data.Delimiters = " .,\xA0";
  Data.AddAnsiText("a,b", 0, TRPTag(), 0);
  Data.AddTextW(u"a\u00A0\u0100", 1, TRPTag(), 0);
  EXPECT_TRUE(Data.IsDelimiterAt(0, 2));
  EXPECT_FALSE(Data.IsDelimiterAt(0, 3));
  EXPECT_TRUE(Data.IsDelimiterAt(1, 2));
  EXPECT_FALSE(Data.IsDelimiterAt(1, 3));   // above 255: never
  EXPECT_FALSE(Data.IsDelimiterW(0x012C));  // its low byte is ","
}

TEST_F(RPDataTest, PageBreakBeforeReadsThroughAListMarker) {
  Data.AddRawText("a", 0, 0);
  Data.AddItem({}, Make(rpkindListMarker, 0));
  Data.AddRawText("b", 0, -1);
  Data.SetPageBreakBefore(1, true);
  EXPECT_TRUE(Data.GetPageBreakBefore(2));
  EXPECT_FALSE(Data.GetPageBreakBefore(0));
  for (int32_t bad : {-1, 3}) {
    try {
      Data.GetPageBreakBefore(bad);
      FAIL();
    } catch (const ERichPaneError& e) {
      EXPECT_STREQ(e.what(), "Item index is out of bounds");
    }
    EXPECT_THROW(Data.SetPageBreakBefore(bad, true), ERichPaneError);
  }
}

TEST_F(RPDataTest, CheckItemClass) {
  Data.AddRawText("a", 0, 0);
  Data.AddItem({}, Make(rpkindBreak, 0));
  EXPECT_EQ(&Data.CheckItemClass<TRPFullLineItemInfo>(1), Data.GetItem(1));
  try {
    Data.CheckItemClass<TRPRectItemInfo>(0);
    FAIL();
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "Can't get or set this kind of information for this item");
  }
}

TEST_F(RPDataTest, DirectionsFallFromTextStyleToParagraphToDocument) {
  Sheet.TextStyles[1].BiDiMode = rpbdRightToLeft;
  Sheet.ParaBiDiModes = {rpbdUnspecified, rpbdLeftToRight};
  Data.AddRawText("a", 0, 0);              // neither style says
  Data.AddItem({}, Make(rpkindBreak, 1));  // a non-text item: its paragraph's
  Data.AddTextW(u"b", 1, TRPTag(), 0);     // the text style's
  EXPECT_EQ(Data.GetItemBiDiMode(0), rpbdUnspecified);
  EXPECT_EQ(Data.GetItemBiDiMode(1), rpbdLeftToRight);
  EXPECT_EQ(Data.GetItemBiDiMode(2), rpbdRightToLeft);
  EXPECT_EQ(Data.GetParaBiDiMode(1), rpbdLeftToRight);
  EXPECT_EQ(Data.GetParaBiDiMode(7), rpbdUnspecified);  // the fallback paragraph style
  Sheet.TextStyles[2].RtfCodeOnly = true;
  EXPECT_TRUE(Data.IsStyleHTMLWritable(0));
  EXPECT_FALSE(Data.IsStyleHTMLWritable(2));
  Data.Sheet = nullptr;
  EXPECT_TRUE(Data.IsStyleHTMLWritable(2));
  EXPECT_EQ(Data.GetItemBiDiMode(2), rpbdUnspecified);
}

TEST_F(RPDataTest, StyleCodePagesAndLocales) {
  Sheet.TextStyles.push_back({false, 1, false});  // DEFAULT_CHARSET
  EXPECT_EQ(Data.GetStyleCodePage(0), 1251u);
  EXPECT_EQ(Data.GetStyleCodePage(2), 1252u);
  EXPECT_EQ(Data.GetStyleCodePage(3), Sheet.DefCodePage);
  EXPECT_EQ(Data.GetStyleCodePage(-1), Sheet.DefCodePage);
  EXPECT_EQ(Data.GetStyleLocale(0), 1049u | 0x400u);
  EXPECT_EQ(Data.GetStyleLocale(-1), 0x400u);
  Data.Sheet = nullptr;
  EXPECT_EQ(Data.GetStyleCodePage(0), 0u);
  EXPECT_EQ(Data.GetDefaultCodePage(), 0u);
}

TEST_F(RPDataTest, RangesAndParagraphs) {
  // p c l c p c
  Data.AddRawText("a", 0, 1);
  Data.AddRawText("b", 0, -1);
  Data.SetAddParagraphs(false);
  Data.AddRawText("c", 0, 2);
  Data.SetAddParagraphs(true);
  Data.AddRawText("d", 0, -1);
  Data.AddRawText("e", 0, 3);
  Data.AddRawText("f", 0, -1);
  EXPECT_EQ(Shape(), "pclcpc");
  EXPECT_EQ(Data.GetParaStartItem(3), 0);
  EXPECT_EQ(Data.GetLineStartItem(3), 2);
  int32_t first = 1, last = 2;
  Data.ExpandToParagraphs(first, last);
  EXPECT_EQ(first, 0);
  EXPECT_EQ(last, 3);
  first = 3, last = 3;
  Data.ExpandToLines(first, last);
  EXPECT_EQ(first, 2);
  EXPECT_EQ(last, 3);
  EXPECT_EQ(Data.ClampItemIndex(-4), 0);
  EXPECT_EQ(Data.ClampItemIndex(99), 5);
  Data.UnifyParagraphStyle(3);
  for (int32_t i = 0; i < 4; ++i) EXPECT_EQ(Data.GetItemPara(i), 1);
  Data.UnifyParagraphStyle(42);  // past the end: the last paragraph
  EXPECT_EQ(Data.GetItemPara(5), 3);
}

// --- Checkpoints ---------------------------------------------------------------------

TEST_F(RPDataTest, AddCheckpointTwiceMakesOne) {
  EXPECT_EQ(Data.AddCheckpoint("one", true, TRPTag::FromNumber(1)), 0);
  EXPECT_EQ(Data.AddCheckpoint("two", false, TRPTag()), 0);
  EXPECT_EQ(Data.GetCheckpointCount(), 1);
  Data.AddRawText("title", 0, 0);
  ASSERT_NE(Data.GetItemCheckpoint(0), nullptr);
  EXPECT_EQ(Data.GetItemCheckpoint(0)->Name, "one");
  EXPECT_TRUE(Data.GetItemCheckpoint(0)->RaiseEvent);
  EXPECT_EQ(Data.GetItemCheckpoint(0)->Tag.Number(), 1);
  EXPECT_EQ(Data.AddCheckpoint("next", false, TRPTag()), 1);
  ExpectChainConsistent();
}

TEST_F(RPDataTest, AnItemsOwnCheckpointIsReplacedByTheDocumentsCopy) {
  auto item = Make(0, 0);
  item->Checkpoint = std::make_unique<TRPCPInfo>();
  item->Checkpoint->Name = "brought";
  item->Checkpoint->Tag = TRPTag::FromNumber(2);
  TRPCPInfo* brought = item->Checkpoint.get();
  Data.AddItem("x", std::move(item));
  ASSERT_NE(Data.GetItemCheckpoint(0), nullptr);
  EXPECT_NE(Data.GetItemCheckpoint(0), brought);  // the brought one was freed (ASan sees a leak otherwise)
  EXPECT_EQ(Data.GetItemCheckpoint(0)->Name, "brought");
  EXPECT_EQ(Data.GetItemCheckpoint(0)->Tag.Number(), 2);
  // With a checkpoint pending, the pending one wins.
  Data.AddCheckpoint("pending", false, TRPTag());
  auto other = Make(0, 0);
  other->Checkpoint = std::make_unique<TRPCPInfo>();
  other->Checkpoint->Name = "lost";
  Data.AddItem("y", std::move(other));
  EXPECT_EQ(Names(), (std::vector<AnsiString>{"brought", "pending"}));
  ExpectChainConsistent();
}

TEST_F(RPDataTest, DeletingItemsUnlinksTheirCheckpoints) {
  for (const char* name : {"a", "b", "c", "d"}) {
    Data.AddCheckpoint(name, false, TRPTag());
    Data.AddRawText(name, 0, 0);
    Data.AddRawText("-", 0, -1);
  }
  EXPECT_EQ(Data.GetCheckpointCount(), 4);
  Data.DeleteItems(2, 3);  // "b" and its neighbours, "c"
  EXPECT_EQ(Names(), (std::vector<AnsiString>{"a", "d"}));
  EXPECT_EQ(Data.GetCheckpointCount(), 2);
  ExpectChainConsistent();
  Data.DeleteItems(0, 1);
  EXPECT_EQ(Names(), (std::vector<AnsiString>{"d"}));
  Data.DeleteItems(1, 100);  // to the end
  EXPECT_EQ(Data.GetItemCount(), 1);
  EXPECT_EQ(Data.GetFirstCheckpoint(), nullptr);
  EXPECT_EQ(Data.GetLastCheckpoint(), nullptr);
  Data.DeleteItems(1, 1);  // at the end: nothing
  EXPECT_EQ(Data.GetItemCount(), 1);
  ExpectChainConsistent();
}

TEST_F(RPDataTest, FindAndLinkCheckpointsInOrder) {
  for (int i = 0; i < 6; ++i) {
    if (i % 2 == 1) Data.AddCheckpoint("cp" + std::to_string(i), false, TRPTag());
    Data.AddRawText("x", 0, 0);
  }
  EXPECT_EQ(Data.FindCheckpointBefore(1), nullptr);
  EXPECT_EQ(Data.FindCheckpointBefore(2)->Name, "cp1");
  EXPECT_EQ(Data.FindCheckpointBefore(4)->Name, "cp3");
  EXPECT_EQ(Data.FindCheckpointBefore(6)->Name, "cp5");
  EXPECT_EQ(Data.FindCheckpointBefore(6)->ItemNo, 5);
  // A checkpoint made for item 2 goes between cp1 and cp3.
  TCustomRPItemInfo* item = Data.GetItem(2);
  item->Checkpoint = std::make_unique<TRPCPInfo>();
  item->Checkpoint->Name = "cp2";
  item->Checkpoint->ItemInfo = item;
  Data.LinkCheckpointInOrder(*item->Checkpoint, 2);
  EXPECT_EQ(Names(), (std::vector<AnsiString>{"cp1", "cp2", "cp3", "cp5"}));
  // One for item 0 goes first.
  item = Data.GetItem(0);
  item->Checkpoint = std::make_unique<TRPCPInfo>();
  item->Checkpoint->Name = "cp0";
  item->Checkpoint->ItemInfo = item;
  Data.LinkCheckpointInOrder(*item->Checkpoint, 0);
  EXPECT_EQ(Names(), (std::vector<AnsiString>{"cp0", "cp1", "cp2", "cp3", "cp5"}));
  EXPECT_EQ(Data.GetFirstCheckpoint()->Prev, nullptr);
  EXPECT_EQ(Data.GetLastCheckpoint()->Name, "cp5");
}

TEST_F(RPDataTest, ClearFreesItemsAndThePendingCheckpoint) {
  Data.AddCheckpoint("a", false, TRPTag());
  Data.AddRawText("a", 0, 0);
  Data.AddCheckpoint("pending", false, TRPTag());
  Data.Clear();
  EXPECT_EQ(Data.GetItemCount(), 0);
  EXPECT_EQ(Data.GetCheckpointCount(), 0);
  EXPECT_EQ(Data.GetPendingCheckpoint(), nullptr);
  EXPECT_EQ(Data.GetFirstCheckpoint(), nullptr);
  EXPECT_EQ(Data.GetState() & rpstClearing, 0u);
}

TEST_F(RPDataTest, FreeingAControlTellsTheHost) {
  Data.AddRawText("a", 0, 0);
  Data.AddItem({}, Make(rpkindControl, 0));
  Data.DeleteItems(1, 1);
  EXPECT_EQ(Data.DestroyedControls, (std::vector<int32_t>{1}));
  EXPECT_EQ(Data.Actions.back(), rpiaDestroying);
}

// --- Multi-line text -------------------------------------------------------------------

struct MultilineCase {
  const char* Text;
  int32_t ParaNo;
  const char* Shape;
  std::vector<AnsiString> Texts;
};

class RPDataMultilineTest : public RPDataTest, public ::testing::WithParamInterface<MultilineCase> {};

TEST_P(RPDataMultilineTest, SplitsIntoParagraphs) {
  const MultilineCase& c = GetParam();
  EXPECT_TRUE(Data.AddMultilineText(c.Text, 0, TRPTag(), c.ParaNo, 0));
  EXPECT_EQ(Shape(), c.Shape);
  std::vector<AnsiString> texts;
  for (int32_t i = 0; i < Data.GetItemCount(); ++i) texts.push_back(Data.GetItemTextRaw(i));
  EXPECT_EQ(texts, c.Texts);
}

INSTANTIATE_TEST_SUITE_P(Cases, RPDataMultilineTest,
                         ::testing::Values(MultilineCase{"one\r\ntwo\n\rthree", 0, "ppp", {"one", "two", "three"}},
                                           MultilineCase{"one\r\rtwo", 0, "ppp", {"one", "", "two"}},
                                           MultilineCase{"one\n", 0, "pp", {"one", ""}},
                                           MultilineCase{"one\r\ntwo\nthree", -1, "pcc", {"one", "two", "three"}},
                                           MultilineCase{"a\vb\tc", 0, "p", {"a\vb        c"}},
                                           MultilineCase{"", 0, "p", {""}}));

TEST_F(RPDataTest, MultilineTextWithTabItems) {
  Sheet.SpacesInTab = 0;
  EXPECT_TRUE(Data.AddMultilineText("a\tb\r\n\tc", 1, TRPTag(), 0, 0));
  ASSERT_EQ(Data.GetItemCount(), 6);
  const int32_t styles[] = {1, rpkindTab, 1, 1, rpkindTab, 1};
  for (int32_t i = 0; i < 6; ++i) EXPECT_EQ(Data.GetItem(i)->StyleNo, styles[i]) << i;
  EXPECT_EQ(Shape(), "pccpcc");
  EXPECT_EQ(Data.GetItem(1)->GetAssociatedTextStyleNo(), 1);
  EXPECT_EQ(Data.GetItemTextRaw(3), "");  // the empty start of the second paragraph
}

TEST_F(RPDataTest, MultilineFormFeedBreaksThePage) {
  EXPECT_TRUE(Data.AddMultilineText("a\fb", 0, TRPTag(), 0, 0));
  ASSERT_EQ(Data.GetItemCount(), 2);
  EXPECT_TRUE(Data.GetPageBreakBefore(1));
  EXPECT_FALSE(Data.GetPageBreakBefore(0));
}

TEST_F(RPDataTest, MultilineTextFailsWithoutATextItemClass) {
  SetTextItemClass(nullptr);
  EXPECT_FALSE(Data.AddMultilineText("a\nb", 0, TRPTag(), 0, 0));
  EXPECT_EQ(Data.GetItemCount(), 0);
}

// --- Joining text items ----------------------------------------------------------------

TEST_F(RPDataTest, NormalizeJoinsContinuingItemsOfOneStyle) {
  Data.AddRawText("ab", 0, 0);
  Data.AddRawText("cd", 0, -1);
  Data.AddRawText("ef", 2, -1);  // another style
  Data.AddRawText("gh", 2, -1);
  Data.AddRawText("ij", 2, 0);  // a new paragraph
  Data.NormalizeItems(-5, 99);
  ASSERT_EQ(Data.GetItemCount(), 3);
  EXPECT_EQ(Data.GetItemTextRaw(0), "abcd");
  EXPECT_EQ(Data.GetItemTextRaw(1), "efgh");
  EXPECT_EQ(Data.GetItemTextRaw(2), "ij");
}

TEST_F(RPDataTest, CanMergeItemsRules) {
  Data.AddRawText("ab", 0, 0);
  Data.AddRawText("cd", 0, -1);
  EXPECT_TRUE(Data.CanMergeItems(0, false));
  Data.GetItem(1)->Hint = "h";
  EXPECT_FALSE(Data.CanMergeItems(0, false));
  Data.GetItem(1)->Hint.clear();
  Data.GetItem(1)->Tag = TRPTag::FromNumber(3);
  EXPECT_FALSE(Data.CanMergeItems(0, false));
  Data.GetItem(1)->Tag = TRPTag();
  Sheet.TextStyles[0].MergeProtected = true;
  EXPECT_FALSE(Data.CanMergeItems(0, false));
  Sheet.TextStyles[0].MergeProtected = false;
  Data.AddRawText("ef", 0, 0);  // starts a paragraph
  EXPECT_FALSE(Data.CanMergeItems(1, false));
  EXPECT_TRUE(Data.CanMergeItems(1, true));
  EXPECT_FALSE(Data.CanMergeItems(2, true));  // no next item
  Data.AddItem({}, Make(rpkindBreak, 0));
  EXPECT_FALSE(Data.CanMergeItems(2, true));  // not text
}

TEST_F(RPDataTest, JoiningAnEmptyItemKeepsTheTextItsOwnForm) {
  // An empty 8-bit item followed by a Unicode one: the text keeps its style and form,
  // and the paragraph start and checkpoint of the empty item.
  Data.AddCheckpoint("title", false, TRPTag());
  Data.AddRawText("", 0, 2);
  Data.AddTextW(u"Глава", 1, TRPTag(), -1);
  ASSERT_TRUE(Data.CanMergeItems(0, false));
  Data.MergeItems(0);
  ASSERT_EQ(Data.GetItemCount(), 1);
  EXPECT_EQ(Data.GetItem(0)->StyleNo, 1);
  EXPECT_TRUE(Data.GetItem(0)->IsUnicode());
  EXPECT_TRUE(Data.StartsParagraph(0));
  EXPECT_EQ(Data.GetItemPara(0), 2);
  EXPECT_EQ(Data.GetItemTextW(0), u"Глава");
  ASSERT_NE(Data.GetItemCheckpoint(0), nullptr);
  EXPECT_EQ(Data.GetItemCheckpoint(0)->Name, "title");
  ExpectChainConsistent();
}

TEST_F(RPDataTest, TwoCheckpointsAreNeverJoined) {
  Data.AddCheckpoint("a", false, TRPTag());
  Data.AddRawText("", 0, 0);
  Data.AddCheckpoint("b", false, TRPTag());
  Data.AddRawText("x", 0, -1);
  EXPECT_FALSE(Data.CanMergeItems(0, true));
}

// --- Appending and styles in use ---------------------------------------------------------

TEST_F(RPDataTest, AppendItemsFromMovesItemsAndCheckpoints) {
  TTestRPData source;
  source.Sheet = &Sheet;
  source.AddCheckpoint("s1", false, TRPTag());
  source.AddRawText("x", 0, 5);
  source.AddRawText("y", 0, -1);
  source.AddCheckpoint("s-pending", false, TRPTag());
  Data.AddCheckpoint("d1", false, TRPTag());
  Data.AddRawText("a", 0, 1);
  Data.AppendItemsFrom(&source);
  EXPECT_EQ(source.GetItemCount(), 0);
  EXPECT_EQ(source.GetCheckpointCount(), 0);
  EXPECT_EQ(source.GetFirstCheckpoint(), nullptr);
  ASSERT_EQ(Data.GetItemCount(), 3);
  EXPECT_EQ(Shape(), "ppc");
  EXPECT_EQ(Data.GetItemPara(1), 5);
  EXPECT_EQ(Data.GetItemPara(2), 5);
  EXPECT_EQ(Names(), (std::vector<AnsiString>{"d1", "s1"}));
  ASSERT_NE(Data.GetPendingCheckpoint(), nullptr);
  EXPECT_EQ(Data.GetPendingCheckpoint()->Name, "s-pending");
  ExpectChainConsistent();
  Data.AppendItemsFrom(nullptr);
  EXPECT_EQ(Data.GetItemCount(), 3);
}

TEST_F(RPDataTest, AppendItemsFromRefusesAnotherTagKind) {
  TTestRPData source;
  source.SetOptions(rpoTagsArePChars);
  try {
    Data.AppendItemsFrom(&source);
    FAIL();
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "Can't assign RichPane to RichPane - tags types mismatch");
  }
}

TEST_F(RPDataTest, StylesInUseMarkAndRenumberParagraphs) {
  Data.AddRawText("a", 0, 1);
  Data.AddRawText("b", 0, 3);
  TRPStyleUsage usage;
  usage.ParaStyles.Fill(0, 4);
  Data.MarkItemStylesInUse(usage);
  EXPECT_EQ(usage.ParaStyles[1], 1);
  EXPECT_EQ(usage.ParaStyles[3], 1);
  EXPECT_EQ(usage.ParaStyles[2], 0);
  // Cumulative counts after removing styles 0 and 2: style 3 becomes 1.
  usage.ParaStyles = TRPIntegerList();
  for (int32_t count : {1, 1, 2, 2}) usage.ParaStyles.Add(count);
  Data.RenumberItemStyles(usage);
  EXPECT_EQ(Data.GetItemPara(0), 1);
  EXPECT_EQ(Data.GetItemPara(1), 2);
}

// --- Comparing positions ---------------------------------------------------------------

// A cell of a table: its place in the grid orders it.
class TCellLocation : public TRPStoreSubRPData {
public:
  explicit TCellLocation(int32_t cell) : Cell(cell) {}
  int32_t Cell;
  int32_t Compare(const TRPStoreSubRPData& other) const override {
    return Cell - static_cast<const TCellLocation&>(other).Cell;
  }
};

// A document inside item ItemNo of Parent, at Cell.
class TCellData : public TTestRPData {
public:
  TCellData(TCustomRPData* parent, int32_t itemNo, int32_t cell) : Parent(parent), ItemNo(itemNo), Cell(cell) {}
  TCustomRPData* Parent;
  int32_t ItemNo, Cell;
  TCustomRPData* GetAbsoluteParentData() const override { return Parent; }
  int32_t GetParentInfo(std::unique_ptr<TRPStoreSubRPData>& location) const override {
    location = std::make_unique<TCellLocation>(Cell);
    return ItemNo;
  }
};

TEST_F(RPDataTest, ComparePositionsThroughTheDocumentsThatHoldThem) {
  for (int i = 0; i < 4; ++i) Data.AddRawText("x", 0, 0);
  TCellData cell0(&Data, 2, 0), cell1(&Data, 2, 1);  // two cells of the table at item 2
  TCellData nested(&cell1, 0, 3);                    // a cell of a table inside cell 1
  EXPECT_LT(Data.ComparePositions(1, &Data, 3), 0);
  EXPECT_EQ(Data.ComparePositions(3, &Data, 3), 0);
  EXPECT_GT(cell1.ComparePositions(0, &cell0, 5), 0);  // by the cells' locations
  EXPECT_LT(cell0.ComparePositions(5, &cell1, 0), 0);
  EXPECT_LT(cell0.ComparePositions(0, &Data, 3), 0);  // in the table, against after it
  EXPECT_GT(cell0.ComparePositions(0, &Data, 2), 0);  // inside the table's own item: after
  EXPECT_LT(Data.ComparePositions(2, &cell0, 0), 0);
  EXPECT_GT(nested.ComparePositions(0, &cell0, 0), 0);
  EXPECT_LT(nested.ComparePositions(0, &Data, 3), 0);
  TTestRPData stranger;
  try {
    Data.ComparePositions(0, &stranger, 0);
    FAIL();
  } catch (const ERichPaneError& e) {
    EXPECT_STREQ(e.what(), "Error when comparing positions in the document");
  }
}

// --- Sub-documents -----------------------------------------------------------------------

// Cell number k of a table.
class TCellIndex : public TRPStoreSubRPData {
public:
  explicit TCellIndex(size_t index) : Index(index) {}
  size_t Index;
};

// A whole-line item that owns cell documents, as a table does.
class TFakeTableItem : public TFakeBreakItem {
public:
  using TFakeBreakItem::TFakeBreakItem;
  std::vector<std::unique_ptr<TTestRPData>> Cells;

  TCustomRPData* GetSubRPData(std::unique_ptr<TRPStoreSubRPData>& location, TRPSubRPDataPosition position) override {
    size_t index = 0;
    if (position == rpsdNext && location)
      index = static_cast<TCellIndex&>(*location).Index + 1;
    else if (position != rpsdFirst)
      return nullptr;
    if (index >= Cells.size()) return nullptr;
    location = std::make_unique<TCellIndex>(index);
    return Cells[index].get();
  }
};

class RPDataSubDocumentTest : public RPDataTest {
protected:
  TFakeTableItem* Table = nullptr;

  RPDataSubDocumentTest() {
    Data.AddRawText("before", 0, 0);
    auto table = std::make_unique<TFakeTableItem>(&Data);
    table->StyleNo = -60;
    for (const char* words : {"a b", "c d"}) {
      auto cell = std::make_unique<TTestRPData>();
      cell->Sheet = &Sheet;
      cell->AddRawText(words, 0, 0);
      cell->AddRawText("!", 0, -1);
      table->Cells.push_back(std::move(cell));
    }
    Table = table.get();
    Data.AddItem({}, std::move(table));
    Data.AddRawText("after", 0, 0);
  }
};

TEST_F(RPDataSubDocumentTest, EnumItemsWalksIntoCellsDepthFirst) {
  std::vector<AnsiString> seen;
  EXPECT_TRUE(Data.EnumItems([&](TCustomRPData& data, int32_t i, bool&) { seen.push_back(data.GetItemTextRaw(i)); }));
  EXPECT_EQ(seen, (std::vector<AnsiString>{"before", "", "a b", "!", "c d", "!", "after"}));
  seen.clear();
  EXPECT_FALSE(Data.EnumItems([&](TCustomRPData& data, int32_t i, bool& goOn) {
    seen.push_back(data.GetItemTextRaw(i));
    goOn = data.GetItemTextRaw(i) != "c d";
  }));
  EXPECT_EQ(seen.back(), "c d");
}

TEST_F(RPDataSubDocumentTest, IndexOfItemDeepFindsTheHolder) {
  EXPECT_EQ(Data.IndexOfItemDeep(0, Table->Cells[1]->GetItem(1)), 1);
  EXPECT_EQ(Data.IndexOfItemDeep(0, Data.GetItem(2)), 2);
  EXPECT_EQ(Data.IndexOfItemDeep(2, Table), -1);
  TFakeTextItem stranger(nullptr);
  EXPECT_EQ(Data.IndexOfItemDeep(0, &stranger), -1);
}

TEST_F(RPDataSubDocumentTest, NormalizeJoinsInsideCells) {
  Data.NormalizeItems(0, Data.GetItemCount() - 1);
  for (const auto& cell : Table->Cells) ASSERT_EQ(cell->GetItemCount(), 1);
  EXPECT_EQ(Table->Cells[0]->GetItemTextRaw(0), "a b!");
  EXPECT_EQ(Table->Cells[1]->GetItemTextRaw(0), "c d!");
  EXPECT_EQ(Data.GetItemCount(), 3);
}

// --- List markers ------------------------------------------------------------------------

// Records what the document tells its marker list.
class TRecordingMarkerList : public IRPMarkerList {
public:
  static inline std::vector<std::string> Log;
  static inline int Alive = 0;
  std::vector<TCustomRPItemInfo*> Markers;

  TRecordingMarkerList() { ++Alive; }
  ~TRecordingMarkerList() override { --Alive; }
  static std::unique_ptr<IRPMarkerList> Create() { return std::make_unique<TRecordingMarkerList>(); }

  int32_t Count() const override { return static_cast<int32_t>(Markers.size()); }
  void AddMarker(TCustomRPData& data, int32_t itemNo) override {
    Markers.push_back(data.GetItem(itemNo));
    Log.push_back("add " + std::to_string(itemNo));
  }
  void RemoveMarker(TCustomRPData&, TCustomRPItemInfo& marker, bool clearing) override {
    std::erase(Markers, &marker);
    Log.push_back(clearing ? "remove clearing" : "remove");
  }
  void UpdateCountersFrom(TCustomRPData& data, TCustomRPItemInfo& marker) override {
    Log.push_back("update " + std::to_string(data.IndexOfItem(&marker)));
  }
  int32_t FindLastOfLists(int32_t index, const TRPIntegerList&) const override { return index; }
};

TEST_F(RPDataTest, MarkersGoThroughTheMarkerList) {
  SetMarkerListFactory(nullptr);  // no marker list factory: no list kept (the fixture puts it back)
  Data.AddItem({}, Make(rpkindListMarker, 0));
  EXPECT_EQ(Data.GetMarkers(true), nullptr);
  Data.Clear();
  SetMarkerListFactory(&TRecordingMarkerList::Create);
  TRecordingMarkerList::Log.clear();
  EXPECT_EQ(Data.GetMarkers(false), nullptr);
  Data.AddItem({}, Make(rpkindListMarker, 0));
  Data.AddRawText("one", 0, -1);
  Data.AddItem({}, Make(rpkindListMarker, 0));
  Data.AddRawText("two", 0, -1);
  ASSERT_NE(Data.GetMarkers(false), nullptr);
  EXPECT_EQ(Data.GetMarkers(false)->Count(), 2);
  Data.DeleteItems(0, 2);
  Data.InsertItem(0, {}, Make(rpkindListMarker, 0));
  Data.UpdateMarkerCountersFrom(0);
  EXPECT_EQ(Data.FindLastMarkerOfLists(7, TRPIntegerList()), 7);
  Data.Clear();
  EXPECT_EQ(TRecordingMarkerList::Log, (std::vector<std::string>{"add 0", "add 2", "remove", "add 0", "update 0",
                                                                 "remove clearing", "remove clearing"}));
  EXPECT_EQ(Data.FindLastMarkerOfLists(0, TRPIntegerList()), -1);  // no list
  EXPECT_EQ(Data.GetMarkers(false), nullptr);                      // freed when it became empty
  EXPECT_EQ(TRecordingMarkerList::Alive, 0);
}

// --- Plain text ------------------------------------------------------------------------

AnsiString Saved(TCustomRPData& data, bool unicode, bool bom, bool pageBreaks) {
  TMemoryStream stream;
  EXPECT_TRUE(data.SaveTextToStream({}, stream, 3, false, unicode, bom, pageBreaks));
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

TEST_F(RPDataTest, SaveTextToStream) {
  Data.AddAnsiText("\xC0", 0, TRPTag(), 0);
  Data.AddTextW(u"Б", 1, TRPTag(), -1);
  Data.AddItem({}, Make(rpkindBreak, 0));
  Data.AddRawText("c", 0, 0);
  Data.SetPageBreakBefore(3, true);
  EXPECT_EQ(Saved(Data, false, false, true), "\xC0\xC1\r\n---\fc");
  EXPECT_EQ(Saved(Data, false, false, false), "\xC0\xC1\r\n---\r\nc");
  EXPECT_EQ(Saved(Data, true, true, false), WideToRawUnicode(u"\uFEFFАБ\r\n---\r\nc"));
}

}  // namespace
