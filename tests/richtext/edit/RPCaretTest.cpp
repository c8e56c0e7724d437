// The caret: the stops of a line against the font's own extents (fontTools), whole
// characters, right-to-left lines, list markers, the moves and their edge answers, the
// window's caret and what follows the caret.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "RPEditTestData.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/RPLayoutPeer.h"
#include "richtext/model/RPException.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

namespace {

class RPCaretTest : public TEditFixture {
protected:
  // (offset, x) of every stop of the caret's line.
  std::vector<std::pair<int32_t, int32_t>> Stops() {
    std::vector<std::pair<int32_t, int32_t>> out;
    for (int32_t i = 0; i < Data().CaretPositions.Count(); ++i)
      out.emplace_back(Data().CaretPositions[i].Offset, Data().CaretPositions[i].X);
    return out;
  }
  std::vector<int32_t> StopOffsets() {
    std::vector<int32_t> out;
    for (const auto& stop : Stops()) out.push_back(stop.first);
    return out;
  }
  // The caret's item position.
  std::pair<int32_t, int32_t> Caret() { return {Data().GetCaretItemNo(), Data().GetCaretOffset()}; }
};

// Each stop of an 8-bit line stands at the left edge plus the extent of the characters
// before it, as the font's own tables give them.
TEST_F(RPCaretTest, TheStopsOfALineStandWhereTheFontsExtentsPutThem) {
  const std::string text = "Wave, jolly";
  AddA(text);
  Format();
  std::vector<std::u16string> prefixes;
  for (size_t i = 0; i <= text.size(); ++i) prefixes.emplace_back(text.begin(), text.begin() + i);
  const TPeerText peer = PeerText(u"Arial", 10, prefixes);
  ASSERT_EQ(peer.Extents.size(), text.size() + 1) << "the fontTools peer (python3-fonttools) did not answer";
  const auto stops = Stops();
  ASSERT_EQ(stops.size(), text.size() + 1);
  const int32_t left = Data().DrawItems[0]->Left;
  for (size_t i = 0; i < stops.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(stops[i].first, static_cast<int32_t>(i) + 1);
    EXPECT_EQ(stops[i].second, left + peer.Extents[i]);
  }
  // The caret's bar stands at the end stop (CaretShift 1 less one pixel), in client
  // coordinates.
  Data().MoveCaretEnd(false);
  TPoint point{};
  Data().GetCaretClientPoint(point);
  EXPECT_EQ(point.X, left + peer.Extents.back());
  EXPECT_EQ(point.Y, Data().DrawItems[0]->Top - 1);
}

// Surrogate pairs and a base character with its combining marks are single characters:
// the caret never stops inside them, going right or left, and a caret put inside one
// goes to its end. The pair is a private-use character that no installed face maps, so
// the line is measured with the style's face alone, as the peer measures it.
TEST_F(RPCaretTest, SurrogatePairsAndCombiningSequencesAreNeverSplit) {
  const std::u16string text = u"a\U000F0000e\u0301\u0303b";  // a, a pair, e with two marks, b
  AddW(text);
  Format();
  const std::vector<int32_t> boundaries = {1, 2, 4, 7, 8};
  EXPECT_EQ(StopOffsets(), boundaries);
  const TPeerText peer = PeerText(u"Arial", 10, {u"", u"a", u"a\U000F0000", u"a\U000F0000e\u0301\u0303", text});
  ASSERT_EQ(peer.Extents.size(), 5u);
  const auto stops = Stops();
  for (size_t i = 0; i < stops.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(stops[i].second, Data().DrawItems[0]->Left + peer.Extents[i]);
  }
  Data().MoveCaretHome(false);
  for (size_t i = 1; i < boundaries.size(); ++i) {
    EXPECT_FALSE(Data().MoveCaretRight(false, false));
    EXPECT_EQ(Data().GetCaretOffset(), boundaries[i]);
  }
  EXPECT_TRUE(Data().MoveCaretRight(false, false));  // at the end
  for (size_t i = boundaries.size() - 1; i-- > 0;) {
    EXPECT_FALSE(Data().MoveCaretLeft(false, false));
    EXPECT_EQ(Data().GetCaretOffset(), boundaries[i]);
  }
  EXPECT_TRUE(Data().MoveCaretLeft(false, false));  // at the start
  for (const auto& [inside, end] : {std::pair{3, 4}, std::pair{5, 7}, std::pair{6, 7}}) {
    SCOPED_TRACE(inside);
    Data().SetCaretAtItemPos(0, inside);
    Data().UpdateCaret(false, false, true);
    EXPECT_EQ(Data().GetCaretOffset(), end);
  }
}

// A right-to-left line: its stops take their x from character placement, and stepping
// through them moves one character at a time from right to left, across draw items.
TEST_F(RPCaretTest, RightToLeftLinesStepInVisualOrder) {
  Style.ParaStyles()[1]->BiDiMode = rpbdRightToLeft;
  Style.ParaStyles()[1]->Alignment = rpaRight;
  AddW(u"\u05D0\u05D1\u05D2", UnicodeStyle, 1);
  AddW(u"\u05D3\u05D4", BoldStyle, -1);
  Format();
  ASSERT_EQ(Data().DrawItems.Count(), 2);
  const TPeerText peer = PeerText(u"Arial", 10, {u"\u05D0", u"\u05D1", u"\u05D2"});
  const auto stops = Stops();
  ASSERT_EQ(stops.size(), 6u);  // 3 + 1 boundaries in the first, 2 more in the second
  const TRPDrawLineInfo& first = *Data().DrawItems[0];
  // The first item stands right of the second; its start is its right edge.
  EXPECT_GT(first.Left, Data().DrawItems[1]->Left);
  EXPECT_EQ(stops[0].second, first.Left + first.Width);
  for (size_t i = 1; i < 4; ++i) EXPECT_EQ(stops[i - 1].second - stops[i].second, peer.Extents[i - 1]) << "stop " << i;
  EXPECT_EQ(stops[3].second, first.Left);
  // Each step right goes one stop further left on the screen.
  Data().MoveCaretHome(false);
  int32_t x = Data().CaretPos().X;
  for (int32_t step = 1; step < 6; ++step) {
    SCOPED_TRACE(step);
    Data().MoveCaretRight(false, false);
    EXPECT_LT(Data().CaretPos().X, x);
    x = Data().CaretPos().X;
  }
  EXPECT_EQ(x, Data().DrawItems[1]->Left);
}

// Walking a whole document right from its start and back left from its end visits the
// same positions in opposite orders, each once, in document order (left-to-right text),
// never on a list marker and never inside a character; going down line by line and back
// up passes the same lines. Lines of pictures, tabs, breaks, markers and a table, and
// text that wraps, included.
TEST_F(RPCaretTest, WalkingRightAndBackLeftVisitsTheSamePositions) {
  TRPListInfo& list = *Style.ListStyles().Add();
  list.Levels().Add();
  const auto picture = [this](bool continues) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(12, 8);
    auto item = std::make_unique<TRPGraphicItemInfo>(&Data(), std::move(bitmap), rpvaBaseline);
    item->SetContinuesLine(continues);
    Data().AddItem("picture", std::move(item));
  };
  const std::function<void()> documents[] = {
      [&] {
        AddA("Plain words that wrap onto a second line in this narrow view of the text");
        AddW(u"a\U0001F600b e\u0301\u0303x \u041F\u0440\u0438", UnicodeStyle, -1);
        picture(true);
        AddA("after");
      },
      [&] {
        Data().AddItem({}, TRPMarkerItemInfo::CreateEx(&Data(), 0, 0, 1, false));
        AddA("first item", -1);
        Data().AddItem({}, TRPMarkerItemInfo::CreateEx(&Data(), 0, 0, 1, false));
        AddW(u"second \U0001F601", SerifStyle, -1);
        Data().AddItem({}, std::make_unique<TRPBreakItemInfo>(&Data()));
        AddA("last");
      },
      [&] {
        picture(false);
        auto tab = std::make_unique<TRPTabItemInfo>(&Data());
        tab->SetContinuesLine(true);
        Data().AddItem({}, std::move(tab));
        AddA("tabbed", -1);
        AddA("broken line", -1);
        Data().GetItem(Data().GetItemCount() - 1)->SetLineBreakBefore(true);
        auto table = std::make_unique<TRPTableItemInfo>(1, 2, &Data());
        table->GetCell(0, 0)->AddRawText("cell", 0, 0);
        table->GetCell(0, 1)->AddRawText("cell", 0, 0);
        Data().AddItem({}, std::move(table));
        AddA("");
        AddA("end");
      },
  };
  for (size_t d = 0; d < std::size(documents); ++d) {
    SCOPED_TRACE("document " + std::to_string(d));
    Data().Clear();
    documents[d]();
    Format();
    Data().MoveCaretHome(true);
    std::vector<std::pair<int32_t, int32_t>> forward{Caret()};
    for (int32_t steps = 0; steps < 1000 && !Data().MoveCaretRight(false, false); ++steps) forward.push_back(Caret());
    std::vector<std::pair<int32_t, int32_t>> backward{Caret()};
    for (int32_t steps = 0; steps < 1000 && !Data().MoveCaretLeft(false, false); ++steps) backward.push_back(Caret());
    std::reverse(backward.begin(), backward.end());
    EXPECT_EQ(forward, backward);
    EXPECT_EQ(forward.back(),
              (std::pair{Data().GetItemCount() - 1, Data().GetItemEndOffset(Data().GetItemCount() - 1)}));
    for (size_t k = 0; k < forward.size(); ++k) {
      const auto [itemNo, offset] = forward[k];
      SCOPED_TRACE(std::to_string(itemNo) + ":" + std::to_string(offset));
      EXPECT_NE(Data().GetItem(itemNo)->StyleNo, rpkindListMarker);
      if (k > 0) {
        EXPECT_LT(forward[k - 1], forward[k]);
      }
      if (Data().IsTextItem(itemNo) && offset > 1 && offset <= Data().GetItemLength(itemNo)) {
        EXPECT_EQ(Data().GetNextCharPos(itemNo, Data().GetPrevCharPos(itemNo, offset)), offset);
      }
    }
    // Down from the first line and up from the last pass the same lines.
    const auto lineTop = [this] { return Data().GetLineTop(Data().CaretPos().DrawItemNo); };
    Data().MoveCaretHome(true);
    std::vector<int32_t> down{lineTop()};
    for (int32_t steps = 0; steps < 100 && !Data().MoveCaretDown(false, false); ++steps) down.push_back(lineTop());
    std::vector<int32_t> up{lineTop()};
    for (int32_t steps = 0; steps < 100 && !Data().MoveCaretUp(false, false); ++steps) up.push_back(lineTop());
    std::reverse(up.begin(), up.end());
    EXPECT_EQ(down, up);
    EXPECT_GE(down.size(), 4u);
    EXPECT_TRUE(std::is_sorted(down.begin(), down.end()));
    EXPECT_EQ(std::adjacent_find(down.begin(), down.end()), down.end());
  }
}

TEST_F(RPCaretTest, ALineThatStartsWithAListMarkerHasNoStopOnIt) {
  TRPListInfo& list = *Style.ListStyles().Add();
  list.Levels().Add();
  Data().AddItem({}, TRPMarkerItemInfo::CreateEx(&Data(), 0, 0, 1, false));
  Data().AddRawText("item", 0, -1);
  Format();
  ASSERT_EQ(Data().DrawItems.Count(), 2);
  for (int32_t i = 0; i < Data().CaretPositions.Count(); ++i) EXPECT_EQ(Data().CaretPositions[i].DrawItemNo, 1);
  Data().MoveCaretEnd(false);
  Data().MoveCaretHome(false);
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{1, 1}));
  // Left from there is at the document's start.
  EXPECT_TRUE(Data().MoveCaretLeft(false, false));
  // A caret put on the marker goes after it.
  Data().SetCaretAtItemPos(0, 0);
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{1, 1}));
  int32_t itemNo = 0, offset = 0;
  Data().SkipMarkerPosition(itemNo, offset, false);
  EXPECT_EQ(itemNo, 1);
  EXPECT_EQ(offset, 1);
}

TEST_F(RPCaretTest, AnEmptyTextItemAloneOnItsLineHasOneStop) {
  AddA("");
  AddA("next");
  Format();
  Data().SetCaretAtItemPos(0, 1);
  EXPECT_EQ(StopOffsets(), std::vector<int32_t>{1});
  EXPECT_TRUE(Data().IsCaretAtLineStart());
  EXPECT_TRUE(Data().IsCaretAtLineEnd());
}

TEST_F(RPCaretTest, UpOnTheFirstLineScrollsToTheTopOrWithShiftGoesToTheLineStart) {
  for (int32_t i = 0; i < 40; ++i) AddA("line " + std::to_string(i));
  Format();
  Data().SetCaretAtItemPos(0, 3);
  Pane.VScrollTo(20, false);
  ASSERT_GT(Pane.VScrollPos(), 0);
  EXPECT_TRUE(Data().MoveCaretUp(false, false));
  EXPECT_EQ(Pane.VScrollPos(), 0);
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{0, 3}));
  EXPECT_TRUE(Data().MoveCaretUp(true, false));
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{0, 1}));
  // On a later line it goes up a line, keeping its x.
  Data().SetCaretAtItemPos(2, 3);
  EXPECT_FALSE(Data().MoveCaretUp(false, false));
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{1, 3}));
  EXPECT_FALSE(Data().MoveCaretDown(false, false));
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{2, 3}));
}

TEST_F(RPCaretTest, DownOnTheLastLineAndPageDownAtTheEnd) {
  for (int32_t i = 0; i < 40; ++i) AddA("line " + std::to_string(i));
  Format();
  const int32_t last = Data().GetItemCount() - 1;
  Data().SetCaretAtItemPos(last, 2);
  EXPECT_TRUE(Data().MoveCaretDown(true, false));
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{last, 8}));
  // Near the end a page down ends at the last position of the last draw item.
  Data().SetCaretAtItemPos(last - 1, 2);
  Pane.VScrollTo(Pane.VScrollMax(), false);
  Data().MoveCaretPageDown();
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{last, Data().GetItemEndOffset(last)}));
  // From the start a page down moves several lines and scrolls that line to the top.
  Pane.VScrollTo(0, false);
  Data().SetCaretAtItemPos(0, 1);
  Data().MoveCaretPageDown();
  const int32_t reached = Data().GetCaretItemNo();
  EXPECT_GT(reached, 5);
  EXPECT_LT(reached, last);
  EXPECT_EQ(Data().GetVOffs(),
            Data().DrawItems[Data().CaretPos().DrawItemNo]->Top / Pane.VSmallStep() * Pane.VSmallStep());
  // At the top, a page up goes to the document's start.
  Pane.VScrollTo(0, false);
  Data().MoveCaretPageUp();
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{0, 1}));
}

TEST_F(RPCaretTest, HomeEndAndParagraphMoves) {
  AddA("one two");
  AddA("three", -1);
  AddA("four");
  AddA("five");
  Format();
  Data().SetCaretAtItemPos(1, 3);
  Data().MoveCaretHome(false);
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{0, 1}));
  Data().MoveCaretEnd(false);
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{1, 6}));
  Data().MoveCaretEnd(true);
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{3, 5}));
  Data().MoveCaretHome(true);
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{0, 1}));
  // A paragraph down ends at the next paragraph's end; up lands on the start of the
  // paragraph before.
  Data().MoveCaretParaDown();
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{2, 5}));
  Data().MoveCaretParaUp();
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{0, 1}));
}

// Word moves stop where a word begins and where one ends before a delimiter.
TEST_F(RPCaretTest, MovesByWord) {
  AddA("Hello, big world");
  Format();
  Data().MoveCaretHome(false);
  std::vector<int32_t> forward;
  while (!Data().MoveCaretRight(false, true)) forward.push_back(Data().GetCaretOffset());
  EXPECT_EQ(forward, (std::vector<int32_t>{6, 8, 11, 12, 17}));
  std::vector<int32_t> backward;
  while (!Data().MoveCaretLeft(false, true)) backward.push_back(Data().GetCaretOffset());
  EXPECT_EQ(backward, (std::vector<int32_t>{12, 11, 8, 6, 1}));
}

TEST_F(RPCaretTest, AnItemTakesTheCaretInsideItselfWhenItWants) {
  struct TEnteringItem : TRPBreakItemInfo {
    using TRPBreakItemInfo::TRPBreakItemInfo;
    std::vector<int32_t> Directions;
    bool EnterItem(int32_t direction, int32_t) override {
      Directions.push_back(direction);
      return true;
    }
  };
  AddA("before");
  auto item = std::make_unique<TEnteringItem>(&Data());
  TEnteringItem& ref = *item;
  Data().AddItem("", std::move(item));
  AddA("after");
  Format();
  Data().SetCaretAtItemPos(1, 0);
  EXPECT_FALSE(Data().MoveCaretRight(false, false));
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{1, 0}));  // the item took it
  EXPECT_FALSE(Data().MoveCaretRight(true, false));         // selecting: it moves
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{1, 1}));
  Data().MoveCaretLeft(false, false);
  EXPECT_EQ(ref.Directions, (std::vector<int32_t>{0, 1}));
}

TEST_F(RPCaretTest, AnInvalidCaretIndexIsReportedAndTheCaretGoesToTheStart) {
  AddA("one");
  AddA("two");
  Format();
  Data().SetCaretAtItemPos(1, 2);
  Data().CaretIndex = 50;
  try {
    Data().UpdateCaret(false, false, true);
    ADD_FAILURE() << "no error";
  } catch (const ERichPaneError& error) {
    EXPECT_STREQ(error.what(),
                 "Invalid caret position. Please contact the developer, if you can reproduce this problem");
  }
  Data().UpdateCaret(false, false, true);
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{0, 1}));
}

TEST_F(RPCaretTest, TheWindowsCaretIsShownAtTheStopWhenTheViewHasTheFocus) {
  AddA("caret");
  Format();
  ASSERT_TRUE(Host.CaretShown());
  const TRPDrawLineInfo& d = *Data().DrawItems[0];
  EXPECT_EQ(Host.CaretWidth, 1);
  EXPECT_EQ(Host.CaretHeight, d.Height + 2);
  EXPECT_EQ(Host.CaretX, Data().CaretPos().X);  // X + shift 1 - 1, less half the width
  EXPECT_EQ(Host.CaretY, d.Top - 2 - Data().GetVOffs());
  EXPECT_EQ(Data().CaretHeight, d.Height + 2);
  Data().MoveCaretRight(false, false);
  EXPECT_EQ(Host.CaretX, Data().CaretPos().X);
  EXPECT_GT(Pane.CaretMoves, 0);

  // Without the focus, read-only with the option, hidden by the state: no caret.
  Host.HasFocus = false;
  Data().UpdateCaret(false, false, true);
  Host.HasFocus = true;
  Data().UpdateCaret(false, false, true);
  EXPECT_TRUE(Host.CaretShown());
  Pane.ReadOnly = true;
  Pane.EditorOptions = rpoHideReadOnlyCaret;
  Data().UpdateCaret(false, false, true);
  EXPECT_FALSE(Host.CaretExists);
  Pane.ReadOnly = false;
  Data().UpdateCaret(false, false, true);
  EXPECT_TRUE(Host.CaretShown());
  Data().SetStateFlag(rpstCaretHidden, true);
  Data().UpdateCaret(false, false, true);
  EXPECT_FALSE(Host.CaretShown());
  Data().SetStateFlag(rpstCaretHidden, false);
  // A drag over the document shows its own caret.
  Data().AddRefDragCaret();
  Data().UpdateCaret(false, false, true);
  EXPECT_FALSE(Host.CaretExists);
  Data().AddRefDragCaret();
  Data().ReleaseDragCaret();
  EXPECT_NE(Data().GetDragDropCaretInfo(), nullptr);
  Data().ReleaseDragCaret();
  EXPECT_EQ(Data().GetDragDropCaretInfo(), nullptr);
}

TEST_F(RPCaretTest, TheCurrentStylesFollowTheCaret) {
  AddA("plain", 0);
  AddW(u"serif", SerifStyle, 1);
  Style.TextStyles()[BoldStyle]->Protection.Include(rpprDoNotAutoSwitch);
  AddW(u"bold", BoldStyle, -1);
  Format();
  Data().SetCaretAtItemPos(1, 2);
  Data().UpdateCaret(false, false, false);
  EXPECT_EQ(Data().CurTextStyleNo, SerifStyle);
  EXPECT_EQ(Data().CurParaStyleNo, 1);
  // A style without automatic switching leaves the last switchable one current.
  Data().SetCaretAtItemPos(2, 2);
  Data().UpdateCaret(false, false, false);
  EXPECT_EQ(Data().CurTextStyleNo, SerifStyle);
  // Keeping the styles keeps them.
  Data().SetCaretAtItemPos(0, 2);
  Data().UpdateCaret(false, false, true);
  EXPECT_EQ(Data().CurTextStyleNo, SerifStyle);
  Data().UpdateCaret(false, false, false);
  EXPECT_EQ(Data().CurTextStyleNo, 0);
  EXPECT_EQ(Pane.TextStyleSets.back(), 0);
}

TEST_F(RPCaretTest, AHyperlinkAtTheCaretIsHighlighted) {
  Style.TextStyles()[UnicodeStyle]->Jump = true;
  AddA("text ");
  AddW(u"link", UnicodeStyle, -1);
  Format();
  Data().SetCaretAtItemPos(1, 2);
  Data().UpdateCaret(false, false, true);
  EXPECT_NE(Data().GetState() & rpstJumpHighlighted, 0u);
  EXPECT_EQ(Data().GetHoverJumpNo(), Data().GetItem(1)->JumpID);
  Data().SetCaretAtItemPos(0, 2);
  Data().UpdateCaret(false, false, true);
  EXPECT_EQ(Data().GetState() & rpstJumpHighlighted, 0u);
  EXPECT_EQ(Data().GetHoverJumpNo(), -1);
  // Not with the editor's option.
  Pane.EditorOptions |= rpoNoCaretHighlightJumps;
  Data().SetCaretAtItemPos(1, 2);
  Data().UpdateCaret(false, false, true);
  EXPECT_EQ(Data().GetState() & rpstJumpHighlighted, 0u);
}

TEST_F(RPCaretTest, FormattingAnEmptyEditorMakesOneItemAndACaretAtItsStart) {
  Data().CurTextStyleNo = UnicodeStyle;
  Data().CurParaStyleNo = 1;
  Format();
  ASSERT_EQ(Data().GetItemCount(), 1);
  EXPECT_EQ(Data().GetItem(0)->StyleNo, UnicodeStyle);
  EXPECT_EQ(Data().GetItem(0)->ParaNo, 1);
  EXPECT_TRUE(Data().GetItem(0)->IsUnicode());
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{0, 1}));
}

// After Clear the first pass takes the current styles from the caret item; later passes
// keep them.
TEST_F(RPCaretTest, AfterClearTheFirstPassTakesTheStylesFromTheCaretItem) {
  AddW(u"serif", SerifStyle, 1);
  Format();
  EXPECT_EQ(Data().CurTextStyleNo, SerifStyle);
  EXPECT_EQ(Data().CurParaStyleNo, 1);
  Data().SetCurTextStyle(0);
  Data().SetCurParaStyle(0);
  Format();
  EXPECT_EQ(Data().CurTextStyleNo, 0);
  EXPECT_EQ(Data().CurParaStyleNo, 0);
  EXPECT_FALSE(Pane.Modified);  // the fixture's Clear
}

TEST_F(RPCaretTest, APassThatKeepsTheViewKeepsTheCaret) {
  AddA("first");
  AddA("second");
  Format();
  Data().SetCaretAtItemPos(1, 4);
  Pane.Reformat();
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{1, 4}));
  Pane.ClientResized(200, 200);
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{1, 4}));
  Format();
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{0, 1}));
}

TEST_F(RPCaretTest, TheSelectionAndTheCaret) {
  AddA("select this");
  AddA("next");
  Format();
  // Without a selection the caret stands for both ends.
  Data().SetCaretAtItemPos(0, 4);
  int32_t startItem = 0, startOffs = 0, endItem = 0, endOffs = 0;
  Data().GetSelectionRangeOrCaret(startItem, startOffs, endItem, endOffs);
  EXPECT_EQ(std::vector<int32_t>({startItem, startOffs, endItem, endOffs}), std::vector<int32_t>({0, 4, 0, 4}));
  int32_t drawNo = 0, drawOffs = 0;
  Data().GetSelectionStartDrawPos(drawNo, drawOffs);
  EXPECT_EQ(drawOffs, 4);
  // A range selected backwards ends, and puts the caret, at its start.
  Data().SelectRange(0, 2, 5, true);
  EXPECT_EQ(Caret(), (std::pair<int32_t, int32_t>{0, 2}));
  Data().GetSelectionRangeOrCaret(startItem, startOffs, endItem, endOffs);
  EXPECT_EQ(std::vector<int32_t>({startItem, startOffs, endItem, endOffs}), std::vector<int32_t>({0, 2, 0, 7}));
  // Extending to a moved caret.
  Data().SetCaretAtItemPos(1, 3);
  Data().ExtendSelectionToCaret();
  Data().GetSelectionRangeOrCaret(startItem, startOffs, endItem, endOffs);
  EXPECT_EQ(std::vector<int32_t>({startItem, startOffs, endItem, endOffs}), std::vector<int32_t>({0, 7, 1, 3}));
  // The position next to the caret's item.
  Data().Deselect(false);
  Data().SetCaretAtItemPos(0, 12);
  int32_t itemNo = 0, offset = 0;
  Data().GetAdjacentPosition(true, false, itemNo, offset);
  EXPECT_EQ(std::pair(itemNo, offset), std::pair(1, 1));
  Data().GetAdjacentPosition(false, false, itemNo, offset);
  EXPECT_EQ(std::pair(itemNo, offset), std::pair(0, 12));  // inside its item: unchanged
  Data().SetCaretAtItemPos(0, 1);
  Data().GetAdjacentPosition(false, false, itemNo, offset);
  EXPECT_EQ(itemNo, -1);
  Data().GetAdjacentPosition(false, true, itemNo, offset);
  EXPECT_EQ(std::pair(itemNo, offset), std::pair(1, 6));
}

}  // namespace
