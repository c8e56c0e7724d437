// The rich view control's input as its window host hands it on: selecting with the
// mouse, hyperlinks and their hover, double and right clicks, dragging a selection out,
// hints, the keyboard, the focus, the auto-scroll timer and XOR figures.
#include <gtest/gtest.h>

#include <algorithm>

#include "../../model/RPTestCanvas.h"
#include "RPViewTestData.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/RPLayoutItems.h"
#include "richtext/model/RPTextItems.h"

namespace {

// Text style 4 of a new style sheet is a hyperlink style.
constexpr int32_t LinkStyle = 4;

// A view 300 x 200 (client area) over: "first line of text" / "second line" / "link one"
// " and " "link two".
struct TInputView : TTestRichPane {
  TInputView() {
    Pane.SetHost(&Host);
    Pane.SetBounds(302, 202);
    TRichPaneRPData& data = Pane.RPData();
    data.AddAnsiText("first line of text", 0, TRPTag(), 0);
    data.AddAnsiText("second line", 0, TRPTag(), 0);
    data.AddAnsiText("link one", LinkStyle, TRPTag(), 0);
    data.AddAnsiText(" and ", 0, TRPTag(), -1);
    data.AddAnsiText("link two", LinkStyle, TRPTag(), -1);
    Pane.Format();
  }
  TRichPaneRPData& Data() { return Pane.RPData(); }
  // A client point inside draw item drawNo, dx pixels right of its left edge.
  TPoint At(int32_t drawNo, int32_t dx = 2) {
    const TRPDrawLineInfo& d = *Data().DrawItems[drawNo];
    return TPoint{d.Left + dx - Data().GetHOffs(), d.Top + d.Height / 2 - Data().GetVOffs()};
  }
  void Click(TPoint p, TShiftState shift = 0) {
    Pane.MouseDown(mbLeft, shift | ssLeft, p.X, p.Y);
    Pane.MouseUp(mbLeft, shift, p.X, p.Y);
  }
  // The normalized selection as item positions: start item, start offset, end item, end
  // offset.
  std::tuple<int32_t, int32_t, int32_t, int32_t> Selection() {
    int32_t startNo = 0, startOffs = 0, endNo = 0, endOffs = 0;
    Data().GetSelectionRange(startNo, startOffs, endNo, endOffs);
    return {startNo, startOffs, endNo, endOffs};
  }
  TRecordingHost Host;
};

TEST(RichPaneInputTest, DraggingAcrossLinesSelectsAndTheTimerRunsMeanwhile) {
  TInputView view;
  int32_t selected = 0;
  view.Pane.OnSelect = [&](TObject*) { ++selected; };
  const TPoint from = view.At(0, 0);
  const TRPDrawLineInfo& second = *view.Data().DrawItems[1];
  const TPoint to{second.Left + second.Width + 20, view.At(1).Y};
  view.Pane.MouseDown(mbLeft, ssLeft, from.X, from.Y);
  EXPECT_EQ(view.Host.FocusRequests, 1);
  ASSERT_EQ(view.Host.TimersSet.size(), 1u);
  EXPECT_EQ(view.Host.TimersSet[0], std::make_pair(RPScrollTimerId, 100u));
  view.Pane.MouseMove(ssLeft, to.X, to.Y);
  EXPECT_TRUE(view.Data().IsMouseSelecting());
  view.Pane.MouseUp(mbLeft, 0, to.X, to.Y);
  EXPECT_EQ(view.Host.TimersKilled, std::vector<uint32_t>{RPScrollTimerId});
  EXPECT_FALSE(view.Data().IsMouseSelecting());
  EXPECT_EQ(view.Selection(), std::make_tuple(0, 1, 1, 12));
  EXPECT_GE(selected, 1);
}

// The auto-scroll timer scrolls by the steps the pointer's place sets and extends the
// selection to the pointer.
TEST(RichPaneInputTest, TheAutoScrollTimerScrollsAndExtendsTheSelection) {
  TInputView view;
  for (int32_t i = 0; i < 40; ++i) view.Data().AddAnsiText("more", 0, TRPTag(), 0);
  view.Pane.Format();
  const TPoint from = view.At(0, 0);
  view.Pane.MouseDown(mbLeft, ssLeft, from.X, from.Y);
  view.Host.MousePos = TPoint{50, 230};  // 31 pixels below the client area
  view.Host.Shift = ssLeft;
  view.Pane.MouseMove(ssLeft, 50, 230);
  EXPECT_EQ(view.Pane.AutoScrollStepY(), 10);
  view.Pane.TimerTick(RPScrollTimerId);
  EXPECT_EQ(view.Pane.VScrollPos(), 10);
  const auto [startNo, startOffs, endNo, endOffs] = view.Selection();
  EXPECT_EQ(startNo, 0);
  EXPECT_GT(endNo, 5);
  view.Pane.TimerTick(RPScrollTimerId + 1);  // another timer: nothing
  EXPECT_EQ(view.Pane.VScrollPos(), 10);
}

TEST(RichPaneInputTest, AClickOnAJumpFiresOnJumpWithItsNumber) {
  TInputView view;
  view.Data().FirstJumpNo = 10;
  std::vector<int32_t> jumps;
  view.Pane.OnJump = [&](TCustomRichPane*, int32_t id) { jumps.push_back(id); };
  view.Click(view.At(4));
  view.Click(view.At(2));
  EXPECT_EQ(jumps, (std::vector<int32_t>{11, 10}));
  // Pressed on one, released on the other: nothing.
  jumps.clear();
  const TPoint one = view.At(2), two = view.At(4);
  view.Pane.MouseDown(mbLeft, ssLeft, one.X, one.Y);
  view.Pane.MouseUp(mbLeft, 0, two.X, two.Y);
  EXPECT_TRUE(jumps.empty());
  // A press that selects text and ends on a link follows nothing either.
  const TPoint text = view.At(0);
  view.Pane.MouseDown(mbLeft, ssLeft, text.X, text.Y);
  view.Pane.MouseMove(ssLeft, two.X, two.Y);
  view.Pane.MouseUp(mbLeft, 0, two.X, two.Y);
  EXPECT_TRUE(jumps.empty());
}

// One hyperlink wrapped over two lines is one jump; leaving it reports -1; the cursor
// follows: the hyperlink's, the line-selection cursor left of the margin, the normal one.
TEST(RichPaneInputTest, HoverReportsEachHyperlinkOnceAndSetsTheCursor) {
  TTestRichPane view;
  TRecordingHost host;
  view.Pane.SetHost(&host);
  view.Pane.SetBounds(92, 202);
  view.Pane.RPData().AddAnsiText("a hyperlink long enough to wrap", LinkStyle, TRPTag(), 0);
  view.Pane.RPData().AddAnsiText("plain", 0, TRPTag(), 0);
  view.Pane.Format();
  TRichPaneRPData& data = view.Pane.RPData();
  ASSERT_GE(data.DrawItems.Count(), 3);
  ASSERT_EQ(data.DrawItems[1]->ItemNo, 0);
  std::vector<int32_t> hovered;
  view.Pane.OnRPMouseMove = [&](TCustomRichPane*, int32_t id) { hovered.push_back(id); };
  data.FirstJumpNo = 3;
  const auto center = [&](int32_t drawNo) {
    const TRPDrawLineInfo& d = *data.DrawItems[drawNo];
    return TPoint{d.Left + d.Width / 2, d.Top + d.Height / 2};
  };
  view.Pane.MouseMove(0, center(0).X, center(0).Y);
  EXPECT_EQ(host.Cursor, crJump);
  view.Pane.MouseMove(0, center(1).X, center(1).Y);
  const int32_t last = data.DrawItems.Count() - 1;
  view.Pane.MouseMove(0, center(last).X, center(last).Y);
  EXPECT_EQ(host.Cursor, crDefault);
  EXPECT_EQ(hovered, (std::vector<int32_t>{3, -1}));
  view.Pane.MouseMove(0, 2, center(last).Y);  // left of the 5-pixel margin
  EXPECT_EQ(host.Cursor, crLineSelect);
  view.Pane.Cursor = crIBeam;
  view.Pane.MouseMove(0, center(last).X, center(last).Y);
  EXPECT_EQ(host.Cursor, crIBeam);
}

// A double click selects the word and the release that ends it keeps it; the third
// press is an ordinary one and starts again there.
TEST(RichPaneInputTest, ADoubleClickSelectsTheWord) {
  TInputView view;
  std::vector<std::pair<WideString, int32_t>> clicked;
  view.Pane.OnRPDblClick = [&](TCustomRichPane*, const WideString& word, int32_t style) {
    clicked.emplace_back(word, style);
  };
  const TPoint p = view.At(1, 10);  // inside "second"
  view.Host.MousePos = p;
  view.Click(p);
  view.Pane.DblClick();
  view.Pane.MouseDown(mbLeft, ssLeft | ssDouble, p.X, p.Y);
  view.Pane.MouseMove(ssLeft, p.X + 1, p.Y);
  view.Pane.MouseUp(mbLeft, 0, p.X + 1, p.Y);
  EXPECT_EQ(view.Selection(), std::make_tuple(1, 1, 1, 7));
  ASSERT_EQ(clicked.size(), 1u);
  EXPECT_EQ(clicked[0].first, u"second");
  EXPECT_EQ(clicked[0].second, 0);
  view.Click(p);
  EXPECT_FALSE(view.Pane.SelectionExists());
  // Without the option the event comes alone.
  view.Pane.Options &= ~rpoDblClickSelectsWord;
  view.Pane.DblClick();
  EXPECT_FALSE(view.Pane.SelectionExists());
  EXPECT_EQ(clicked.size(), 2u);
}

TEST(RichPaneInputTest, ASingleClickReportsTheWordWithTheOption) {
  TInputView view;
  std::vector<WideString> clicked;
  view.Pane.OnRPDblClick = [&](TCustomRichPane*, const WideString& word, int32_t) { clicked.push_back(word); };
  view.Pane.Options |= rpoSingleClick;
  view.Click(view.At(1, 3));
  EXPECT_EQ(clicked, std::vector<WideString>{u"second"});
  // A double click that selects no word reports nothing more: the press did.
  view.Pane.Options &= ~rpoDblClickSelectsWord;
  view.Pane.DblClick();
  EXPECT_EQ(clicked.size(), 1u);
}

TEST(RichPaneInputTest, ARightClickReportsTheWordAndDeselectsOutsideTheSelection) {
  TInputView view;
  WideString word;
  TPoint screen{0, 0};
  view.Pane.OnRPRightClick = [&](TCustomRichPane*, const WideString& w, int32_t, int32_t x, int32_t y) {
    word = w;
    screen = TPoint{x, y};
  };
  view.Pane.SetSelectionBounds(0, 1, 0, 6);
  const TPoint inside = view.At(0, 3), outside = view.At(1, 10);
  view.Pane.MouseDown(mbRight, ssRight, inside.X, inside.Y);
  view.Pane.MouseUp(mbRight, 0, inside.X, inside.Y);
  EXPECT_EQ(word, u"first");
  EXPECT_EQ(screen, (TPoint{inside.X + 1000, inside.Y + 2000}));
  EXPECT_TRUE(view.Pane.SelectionExists());
  view.Pane.MouseDown(mbRight, ssRight, outside.X, outside.Y);
  view.Pane.MouseUp(mbRight, 0, outside.X, outside.Y);
  EXPECT_EQ(word, u"second");
  EXPECT_FALSE(view.Pane.SelectionExists());
}

TEST(RichPaneInputTest, MouseEventsCarryTheItemUnderTheMouse) {
  TInputView view;
  std::vector<std::tuple<TMouseButton, int32_t, bool>> events;
  view.Pane.OnRPMouseDown = [&](TCustomRichPane*, TMouseButton b, TShiftState, int32_t itemNo, int32_t, int32_t) {
    events.emplace_back(b, itemNo, true);
  };
  view.Pane.OnRPMouseUp = [&](TCustomRichPane*, TMouseButton b, TShiftState, int32_t itemNo, int32_t, int32_t) {
    events.emplace_back(b, itemNo, false);
  };
  view.Click(view.At(1));
  view.Click(TPoint{150, 190});  // below the document
  const decltype(events) expected{{mbLeft, 1, true}, {mbLeft, 1, false}, {mbLeft, -1, true}, {mbLeft, -1, false}};
  EXPECT_EQ(events, expected);
}

// A press inside the selection readies a drag: a release first collapses the selection
// there, a move drags it out.
TEST(RichPaneInputTest, APressInsideTheSelectionDragsItOut) {
  TInputView view;
  view.Pane.SetSelectionBounds(0, 1, 1, 7);
  const TPoint p = view.At(0, 10);
  view.Click(p);
  EXPECT_FALSE(view.Pane.SelectionExists());
  EXPECT_EQ(view.Host.Drags, 0);

  view.Pane.SetSelectionBounds(0, 1, 1, 7);
  view.Pane.MouseDown(mbLeft, ssLeft, p.X, p.Y);
  view.Pane.MouseMove(ssLeft, p.X + 2, p.Y);  // not yet
  EXPECT_EQ(view.Host.Drags, 0);
  view.Pane.MouseMove(ssLeft, p.X + 20, p.Y);
  EXPECT_EQ(view.Host.Drags, 1);
  EXPECT_TRUE(view.Pane.SelectionExists());
  view.Pane.MouseUp(mbLeft, 0, p.X + 20, p.Y);
  EXPECT_TRUE(view.Pane.SelectionExists());

  // With rpoDisallowDrag the press selects anew.
  view.Pane.Options |= rpoDisallowDrag;
  view.Click(p);
  EXPECT_FALSE(view.Pane.SelectionExists());
}

TEST(RichPaneInputTest, ItemHintsFollowTheMouse) {
  TInputView view;
  view.Pane.Options |= rpoShowItemHints;
  view.Data().GetItem(1)->Hint = "the second line";
  view.Pane.OnItemHint = [](TCustomRichPane*, TCustomRPFormattedData&, int32_t itemNo, WideString& hint) {
    if (itemNo == 0) hint = u"first";
  };
  const TPoint first = view.At(0), second = view.At(1);
  view.Pane.MouseMove(0, first.X, first.Y);
  view.Pane.MouseMove(0, first.X + 1, first.Y);  // the same hint: shown once
  view.Pane.MouseMove(0, second.X, second.Y);
  view.Pane.MouseMove(0, 150, 190);  // over nothing
  EXPECT_EQ(view.Host.Hints, (std::vector<WideString>{u"first", u"the second line", u""}));
  view.Pane.Options &= ~rpoShowItemHints;
  view.Pane.MouseMove(0, second.X, second.Y);
  EXPECT_EQ(view.Host.Hints.size(), 3u);
}

TEST(RichPaneInputTest, TabMovesAmongTheJumpsAndEnterFollowsTheFocusedOne) {
  TInputView view;
  std::vector<int32_t> jumps;
  view.Pane.OnJump = [&](TCustomRichPane*, int32_t id) { jumps.push_back(id); };
  EXPECT_TRUE(view.Pane.WantsTabs());
  ASSERT_TRUE(view.Pane.KeyDown(VK_TAB, 0));
  EXPECT_EQ(view.Data().FocusedItemNo, 2);
  ASSERT_TRUE(view.Pane.KeyDown(VK_TAB, 0));
  EXPECT_EQ(view.Data().FocusedItemNo, 4);
  EXPECT_TRUE(view.Pane.KeyDown(VK_RETURN, 0));
  EXPECT_EQ(jumps, std::vector<int32_t>{1});
  ASSERT_TRUE(view.Pane.KeyDown(VK_TAB, 0));  // none left: the form's next control
  EXPECT_EQ(view.Host.FocusLeft, 1);
  EXPECT_EQ(view.Data().FocusedItemNo, -1);
  EXPECT_FALSE(view.Pane.KeyDown(VK_RETURN, 0));
  ASSERT_TRUE(view.Pane.KeyDown(VK_TAB, ssShift));
  EXPECT_EQ(view.Data().FocusedItemNo, 4);
  EXPECT_FALSE(view.Pane.KeyDown(VK_TAB, ssAlt));
  // Ctrl+Tab navigates only when asked for.
  EXPECT_FALSE(view.Pane.KeyDown(VK_TAB, ssCtrl));
  view.Data().TabNavigation = rptnCtrlTab;
  EXPECT_FALSE(view.Pane.KeyDown(VK_TAB, 0));
  EXPECT_TRUE(view.Pane.KeyDown(VK_TAB, ssCtrl | ssShift));
  EXPECT_EQ(view.Data().FocusedItemNo, 2);
  view.Data().TabNavigation = rptnNone;
  EXPECT_FALSE(view.Pane.WantsTabs());
  EXPECT_FALSE(view.Pane.KeyDown(VK_TAB, 0));
}

// Arriving by Tab focuses the first focusable item, by Shift+Tab the last; a click or
// window activation focuses none.
TEST(RichPaneInputTest, TheFocusArrivingByTheKeyboardGoesToAnItem) {
  TInputView view;
  view.Pane.FocusEnter(false, false);
  EXPECT_EQ(view.Data().FocusedItemNo, -1);
  view.Pane.FocusEnter(true, false);
  EXPECT_EQ(view.Data().FocusedItemNo, 2);
  view.Pane.FocusEnter(true, true);
  EXPECT_EQ(view.Data().FocusedItemNo, 4);
  // A click on a hyperlink focuses it too.
  view.Click(view.At(2));
  EXPECT_EQ(view.Data().FocusedItemNo, 2);
}

TEST(RichPaneInputTest, KeysScrollTheView) {
  TInputView view;
  for (int32_t i = 0; i < 60; ++i) view.Data().AddAnsiText("more", 0, TRPTag(), 0);
  view.Pane.Format();
  const int32_t page = view.Pane.VScrollPage(), max = view.Pane.VScrollMax();
  ASSERT_GT(max, page);
  struct TCase {
    uint16_t Key;
    int32_t Expected;
  } cases[] = {{VK_NEXT, page},      {VK_DOWN, page + 1},        {VK_UP, page},
               {VK_END, max - page}, {VK_PRIOR, max - 2 * page}, {VK_HOME, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Key);
    EXPECT_TRUE(view.Pane.KeyDown(c.Key, 0));
    EXPECT_EQ(view.Pane.VScrollPos(), c.Expected);
  }
  view.Pane.KeyboardScroll = false;
  EXPECT_FALSE(view.Pane.KeyDown(VK_NEXT, 0));
  EXPECT_EQ(view.Pane.VScrollPos(), 0);
}

TEST(RichPaneInputTest, CopyShortcuts) {
  struct TCase {
    uint16_t Key;
    TShiftState Shift;
    bool Expected;
  } cases[] = {{'C', ssCtrl, true},          {VK_INSERT, ssCtrl, true}, {'C', ssCtrl | ssShift, true},
               {'C', ssCtrl | ssAlt, false}, {'C', 0, false},           {'X', ssCtrl, false}};
  for (const auto& c : cases) EXPECT_EQ(TCustomRichPane::IsCopyShortcut(c.Key, c.Shift), c.Expected);
}

// An XOR figure follows the mouse, goes before painting and comes back after, so a
// repaint leaves exactly one on the window.
TEST(RichPaneInputTest, AnXorFigureFollowsTheMouseAndSurvivesPainting) {
  TInputView view;
  auto window = WhitePage(300, 200);
  view.Host.Canvas = window->Canvas();
  std::vector<TPoint> drawn;
  const int owner = 0;
  view.Data().SetXorDrawHandler(&owner, [&](TCanvas& canvas, int32_t x, int32_t y) {
    drawn.push_back(TPoint{x, y});
    canvas.Pen().SetMode(pmNot);
    canvas.MoveTo(x, 0);
    canvas.LineTo(x, 200);
    canvas.Pen().SetMode(pmCopy);
  });
  EXPECT_TRUE(view.Data().IsXorDrawHandler(&owner));
  view.Pane.MouseMove(0, 150, 190);
  view.Pane.MouseMove(0, 160, 190);
  EXPECT_EQ(drawn, (std::vector<TPoint>{{150, 190}, {150, 190}, {160, 190}}));
  EXPECT_TRUE(view.Data().IsXorDrawn());
  view.Pane.Paint(*window->Canvas(), TRect{100, 0, 200, 100});
  // The line at x = 160 is inverted from top to bottom: the painted part again after the
  // painting, the rest never touched twice.
  EXPECT_EQ(window->PixelColor(160, 80), clBlack);
  EXPECT_EQ(window->PixelColor(160, 150), clBlack);
  view.Data().RemoveXorDrawHandler(&owner);
  EXPECT_FALSE(view.Data().IsXorDrawn());
  EXPECT_EQ(window->PixelColor(160, 150), clWhite);
}

// The caret of a drop: a 2-pixel dash on every second row of the draw item's height.
TEST(RichPaneInputTest, TheDropCaretIsADottedBarOnEverySecondRow) {
  TInputView view;
  auto window = WhitePage(300, 200);
  view.Host.Canvas = window->Canvas();
  const TPoint p = view.At(1, 0);
  view.Data().SetDragDropCaret(p.X, p.Y);
  const auto& caret = view.Data().GetDragDropCaret();
  ASSERT_EQ(caret.Data, &view.Data());
  EXPECT_EQ(caret.ItemNo, 1);
  EXPECT_EQ(caret.ItemOffs, 1);
  const TRPDrawLineInfo& d = *view.Data().DrawItems[1];
  EXPECT_EQ(caret.X, d.Left);
  for (int32_t y = d.Top; y < d.Top + d.Height; ++y) {
    SCOPED_TRACE(y);
    const TColor expected = y % 2 == 0 ? clBlack : clWhite;
    EXPECT_EQ(window->PixelColor(d.Left, y), expected);
    EXPECT_EQ(window->PixelColor(d.Left + 1, y), expected);
    EXPECT_EQ(window->PixelColor(d.Left + 2, y), clWhite);
  }
  view.Data().EraseDragDropCaret();
  EXPECT_EQ(view.Data().GetDragDropCaret().Data, nullptr);
  for (int32_t y = d.Top; y < d.Top + d.Height; ++y) EXPECT_EQ(window->PixelColor(d.Left, y), clWhite);
}

TEST(RichPaneInputTest, ScrollingARectangleIntoView) {
  TInputView view;
  for (int32_t i = 0; i < 60; ++i) view.Data().AddAnsiText("more", 0, TRPTag(), 0);
  view.Pane.Format();
  view.Pane.UpdateScrollBars(1000, view.Pane.VScrollMax(), true);
  struct TCase {
    int32_t Top, Height, Expected;
  } cases[] = {
      {50, 10, 0},     // in view
      {300, 10, 111},  // below: its bottom at the view's bottom, one step more
      {0, 400, 0},     // taller than the view, starting at its top: stays
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Top);
    view.Pane.VScrollTo(0, false);
    view.Data().ScrollRectIntoView(10, c.Top, 5, c.Height);
    EXPECT_EQ(view.Pane.VScrollPos(), c.Expected);
  }
  view.Pane.VScrollTo(200, false);
  view.Data().ScrollRectIntoView(10, 20, 5, 10);  // above: its top at the view's top
  EXPECT_EQ(view.Pane.VScrollPos(), 20);
  view.Data().ScrollRectIntoView(500, 20, 5, 10);  // right of the view: a quarter in
  EXPECT_EQ(view.Pane.HScrollPos(), 500 - 300 / 4);
}

TEST(RichPaneInputTest, ProtectionOfItemsAndParagraphs) {
  TInputView view;
  TRichPaneRPData& data = view.Data();
  TRPStyle& style = view.Style;
  style.TextStyles()[LinkStyle]->Protection = {rpprModifyProtect, rpprSticking};
  style.TextStyles()[0]->Protection = {rpprStickToTop};
  EXPECT_TRUE(data.IsItemProtected(2, rpprModifyProtect));
  EXPECT_FALSE(data.IsItemProtected(1, rpprModifyProtect));
  EXPECT_FALSE(data.IsItemProtected(2, 16));
  EXPECT_TRUE(data.IsInsertionBlocked(-1, true));  // item 0 sticks to the top
  EXPECT_FALSE(data.IsInsertionBlocked(2, true));  // " and " does not stick
  EXPECT_FALSE(data.IsInsertionBlocked(4, true));
  EXPECT_FALSE(data.CanInsertAt(2, 3));  // inside a modify-protected item
  EXPECT_TRUE(data.CanInsertAt(1, 3));
  EXPECT_FALSE(data.CanInsertAt(0, 1));  // before the first item
  style.ParaStyles()[0]->Options.Include(rppaoReadOnly);
  EXPECT_TRUE(data.IsParaOptionSet(0, rppaoReadOnly));
  EXPECT_FALSE(data.IsParaOptionSet(0, 8));
  EXPECT_TRUE(data.IsItemParaReadOnly(1));
  EXPECT_FALSE(data.CanInsertAt(1, 3));
}

TEST(RichPaneInputTest, FocusDeepIncludesAnEditorInPlace) {
  TInputView view;
  TRPScroller editor(nullptr);
  TRecordingHost editorHost;
  editor.SetHost(&editorHost);
  EXPECT_FALSE(view.Pane.IsFocusedDeep());
  view.Pane.SetInplaceEditor(&editor);
  editorHost.HasFocus = true;
  EXPECT_TRUE(view.Pane.IsFocusedDeep());
  view.Host.HasFocus = true;
  editorHost.HasFocus = false;
  EXPECT_TRUE(view.Pane.IsFocusedDeep());
}

// An item that makes editors shown in place: it records what the control asks of it.
struct TEditorOwnerItem : TRPBreakItemInfo, IRPInplaceEditorOwner {
  explicit TEditorOwnerItem(TCustomRPData* rpData) : TRPBreakItemInfo(rpData) {}
  void FreeInplaceEditor(TRPScroller& editor) override {
    Freed.push_back(&editor);
    if (Control) Control->ClearInplaceEditorOwner(&editor);
  }
  void InplaceEditorCleared(TRPScroller& editor) override { Cleared.push_back(&editor); }
  TRPScroller* Control = nullptr;
  std::vector<TRPScroller*> Freed, Cleared;
};

TEST(RichPaneInputTest, TheEditorInPlaceIsFreedByItsOwnerItemWhenTheSelectionMoves) {
  TInputView view;
  TRPScroller first(nullptr), second(nullptr);
  TEditorOwnerItem owner(&view.Data());
  owner.Control = &view.Pane;
  view.Pane.SetInplaceEditorOwner(&first, &owner);
  EXPECT_EQ(view.Pane.GetInplaceEditor(), &first);
  EXPECT_EQ(view.Pane.GetInplaceEditorOwnerItem(), &owner);
  // A new editor: the one before is freed by its owner first.
  view.Pane.SetInplaceEditorOwner(&second, &owner);
  EXPECT_EQ(owner.Freed, std::vector<TRPScroller*>{&first});
  EXPECT_EQ(owner.Cleared, std::vector<TRPScroller*>{&first});
  // Clearing applies only to the registered editor.
  view.Pane.ClearInplaceEditorOwner(&first);
  EXPECT_EQ(view.Pane.GetInplaceEditor(), &second);
  // Setting the document's selection releases the editor in place.
  view.Data().SetSelectionBounds(0, 1, 0, 3);
  EXPECT_EQ(owner.Freed, (std::vector<TRPScroller*>{&first, &second}));
  EXPECT_EQ(view.Pane.GetInplaceEditor(), nullptr);
  EXPECT_EQ(view.Pane.GetInplaceEditorOwnerItem(), nullptr);
}

// Clearing the document stops the auto-scroll timer a press started.
TEST(RichPaneInputTest, ClearingStopsTheAutoScrollTimer) {
  TInputView view;
  const TPoint p = view.At(0);
  view.Pane.MouseDown(mbLeft, ssLeft, p.X, p.Y);
  ASSERT_EQ(view.Host.TimersSet.size(), 1u);
  view.Pane.Clear();
  EXPECT_EQ(view.Host.TimersKilled, std::vector<uint32_t>{RPScrollTimerId});
}

// No visual theme is active on this platform: the view opens no theme data and draws
// its plain border; the palette action reaches the document, which realizes no palette.
TEST(RichPaneInputTest, NoThemeAndATrueColourPalette) {
  TInputView view;
  RPThemesStartup();
  EXPECT_TRUE(view.Pane.UseXPThemes());
  view.Pane.CreateThemeHandle();
  EXPECT_EQ(view.Pane.ThemeHandle(), nullptr);
  const int32_t invalidated = view.Host.Invalidated;
  view.Pane.SetUseXPThemes(false);
  EXPECT_FALSE(view.Pane.UseXPThemes());
  EXPECT_EQ(view.Pane.ThemeHandle(), nullptr);
  EXPECT_GT(view.Host.Invalidated, invalidated);
  view.Pane.CloseThemeHandle();
  RPThemesShutdown();
  view.Pane.SetDoInPaletteMode(rppaAssignPalette);
  EXPECT_EQ(view.Data().GetDoInPaletteMode(), rppaAssignPalette);
  EXPECT_EQ(view.Data().GetRPLogPalette(), nullptr);
}

}  // namespace
