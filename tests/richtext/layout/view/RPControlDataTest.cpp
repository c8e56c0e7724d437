// The control's document: answers from the control, small-step adjustment, focus among
// hyperlinks, buffered painting and its error text.
#include <gtest/gtest.h>

#include <stdexcept>

#include "../../model/RPTestCanvas.h"
#include "RPViewTestData.h"
#include "richtext/layout/RPLayoutItems.h"

namespace {

TEST(RPControlDataTest, AnswersComeFromTheControl) {
  TTestRichPane view;
  TCustomRichPane& pane = view.Pane;
  TRichPaneRPData& data = pane.RPData();
  pane.LeftMargin = 1;
  pane.RightMargin = 2;
  pane.TopMargin = 3;
  pane.BottomMargin = 4;
  pane.MinTextWidth = 5;
  pane.MaxTextWidth = 6;
  EXPECT_EQ(data.GetLeftMargin(), 1);
  EXPECT_EQ(data.GetRightMargin(), 2);
  EXPECT_EQ(data.GetTopMargin(), 3);
  EXPECT_EQ(data.GetBottomMargin(), 4);
  EXPECT_EQ(data.GetMinTextWidth(), 5);
  EXPECT_EQ(data.GetMaxTextWidth(), 6);
  EXPECT_EQ(data.GetWidth(), 98);  // 100 less a single border
  EXPECT_EQ(data.GetHeight(), 38);
  EXPECT_EQ(data.GetDocumentFlags(), 0x0D03);
  data.SetDocumentFlags(0x0100);
  EXPECT_EQ(pane.DocumentFlags, 0x0100);
  EXPECT_EQ(data.GetStyleSheet(), &view.Style);
  EXPECT_EQ(data.GetCanvas(), &pane.Canvas());
  // The colour: the control's, else the style sheet's.
  view.Style.Color = clYellow;
  EXPECT_EQ(data.GetColor(), clYellow);
  pane.Color = clRed;
  EXPECT_EQ(data.GetColor(), clRed);
  EXPECT_EQ(data.GetDelimiters().size(), 27u);
}

// A document 10 pixels high in a 38-pixel client area: centred 14 pixels down, at the
// bottom 28; the vertical offset subtracts it.
TEST(RPControlDataTest, VerticalAlignmentOffsetsTheDocument) {
  struct TCase {
    TRPDocVAlign Align;
    int32_t DocumentHeight, Expected;
  } cases[] = {{rpdvaTop, 10, 0}, {rpdvaCenter, 10, 14}, {rpdvaBottom, 10, 28}, {rpdvaBottom, 100, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Expected);
    TTestRichPane view;
    view.Pane.DocVAlign = c.Align;
    view.Pane.RPData().DocumentHeight = c.DocumentHeight;
    EXPECT_EQ(view.Pane.RPData().GetDocumentVAlignOffset(), c.Expected);
    EXPECT_EQ(view.Pane.RPData().GetVOffs(), -c.Expected);
    EXPECT_EQ(view.Pane.RPData().GetOrigin(), (TPoint{0, c.Expected}));
  }
}

TEST(RPControlDataTest, SmallStepKeepsTheRangeWithin32000Units) {
  struct TCase {
    int32_t Height, Step;
    bool BarVisible;
    int32_t Expected;
  } cases[] = {
      {3300000, 1, true, 104},                           // 3,300,000 div 32000 = 103 leaves 32038 units
      {3200000, 1, true, 100},  {100000, 20, true, 10},  // back to 10 when that fits
      {3300000, 1, false, 1},                            // no bar: nothing to keep in range
      {3300000, 20, false, 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Height);
    TTestRichPane view;
    view.Pane.SetVScrollVisible(c.BarVisible);
    view.Pane.SetVSmallStep(c.Step);
    view.Pane.RPData().DocumentHeight = c.Height;
    view.Pane.RPData().AdjustVSmallStep();
    EXPECT_EQ(view.Pane.VSmallStep(), c.Expected);
  }
}

TEST(RPControlDataTest, TheControlRefusesSmallStepsThatAreNotPositiveOrTooFine) {
  TTestRichPane view;
  view.Pane.SetVSmallStep(0);
  EXPECT_EQ(view.Pane.VSmallStep(), 1);
  view.Pane.RPData().DocumentHeight = 64002;
  view.Pane.SetVSmallStep(2);  // 32001 units
  EXPECT_EQ(view.Pane.VSmallStep(), 1);
  view.Pane.SetVSmallStep(3);
  EXPECT_EQ(view.Pane.VSmallStep(), 3);
}

TEST(RPControlDataTest, ScrollRangesHoldTheHeightInSmallStepsRoundedUp) {
  TTestRichPane view;
  TRecordingHost host;
  view.Pane.SetHost(&host);
  view.Pane.SetVSmallStep(10);
  view.Pane.RPData().UpdateScrollRanges(120, 101);
  EXPECT_EQ(view.Pane.VScrollMax(), 11);
  EXPECT_EQ(host.VMax, 11);
  EXPECT_EQ(view.Pane.RPData().GetAreaHeightUnits(), 11);
  EXPECT_EQ(view.Pane.RPData().GetAreaWidth(), 120);
}

// The document asks the control's window host to repaint; the report control has none.
TEST(RPControlDataTest, TheWindowHostIsTheDocumentsView) {
  TTestRichPane view;
  TRichPaneRPData& data = view.Pane.RPData();
  EXPECT_EQ(data.GetDocumentView(), nullptr);
  data.InvalidateControl();  // nothing to ask
  TRecordingHost host;
  view.Pane.SetHost(&host);
  EXPECT_EQ(data.GetDocumentView(), &host);
  data.AddAnsiText("text", 0, TRPTag(), 0);
  view.Pane.Format();
  host.Invalidated = 0;
  data.SelectAll();
  EXPECT_EQ(host.Invalidated, 1);
  data.RefreshControl();
  data.UpdateControl();
  EXPECT_EQ(host.Refreshed, 1);
  EXPECT_EQ(host.Updated, 1);
  // A draw item's box in client coordinates, widened by the margin.
  const TRPDrawLineInfo& d = *data.DrawItems[0];
  data.InvalidateDrawItem(0, 2);
  ASSERT_EQ(host.InvalidatedRects.size(), 1u);
  const TRect& r = host.InvalidatedRects[0];
  EXPECT_EQ(r.Left, d.Left - 2);
  EXPECT_EQ(r.Top, d.Top - 2);
  EXPECT_EQ(r.Right, d.Left + d.Width + 2);
  EXPECT_EQ(r.Bottom, d.Top + d.Height + 2);
}

// An item that takes the keyboard focus and is a hyperlink.
class TFocusableItem : public TRPRectItemInfo {
public:
  explicit TFocusableItem(TCustomRPData* rpData) : TRPRectItemInfo(rpData) { StyleNo = rpkindHotspot; }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  int32_t GetWidth() const override { return 10; }
  int32_t GetHeight() const override { return 10; }
  bool GetBoolValueEx(TRPItemBoolQueryEx query, const IRPStyleSheet*) const override {
    return query == rpibqxFocusable || query == rpibqxJumpCursor || query == rpibqxJump;
  }
};
const TRPItemClassInfo TFocusableItem::ClassInfo{"TFocusableItem", &CreateRPItem<TFocusableItem>};

TEST(RPControlDataTest, TabNavigationVisitsFocusableItemsBothWays) {
  TTestRichPane view;
  TRichPaneRPData& data = view.Pane.RPData();
  data.AddItem("", std::make_unique<TFocusableItem>(&data));  // 0
  data.AddAnsiText("text", 0, TRPTag(), 0);                   // 1
  data.AddItem("", std::make_unique<TFocusableItem>(&data));  // 2
  view.Pane.Format();
  ASSERT_TRUE(data.DoTabNavigation(false, nullptr));
  EXPECT_EQ(data.FocusedItemNo, 0);
  ASSERT_TRUE(data.DoTabNavigation(false, nullptr));
  EXPECT_EQ(data.FocusedItemNo, 2);
  EXPECT_FALSE(data.DoTabNavigation(false, nullptr));  // the form's turn: no item keeps it
  EXPECT_EQ(data.FocusedItemNo, -1);
  ASSERT_TRUE(data.DoTabNavigation(true, nullptr));  // coming back: the last
  EXPECT_EQ(data.FocusedItemNo, 2);
  ASSERT_TRUE(data.DoTabNavigation(true, nullptr));
  EXPECT_EQ(data.FocusedItemNo, 0);
  // The focus rectangle is drawn with XOR: a second drawing erases it.
  auto page = WhitePage(98, 38);
  data.DrawFocusRectangle(*page->Canvas());
  const auto drawn = Pixels(*page);
  EXPECT_NE(drawn, Pixels(*WhitePage(98, 38)));
  data.DrawFocusRectangle(*page->Canvas());
  EXPECT_EQ(Pixels(*page), Pixels(*WhitePage(98, 38)));
  // A new layout forgets the focus.
  view.Pane.Format();
  EXPECT_EQ(data.FocusedItemNo, -1);
}

TEST(RPControlDataTest, DeselectingTakesTheFocusFromTheFocusedItem) {
  TTestRichPane view;
  TRichPaneRPData& data = view.Pane.RPData();
  data.AddAnsiText("text", 0, TRPTag(), 0);
  data.AddItem("", std::make_unique<TFocusableItem>(&data));
  view.Pane.Format();
  ASSERT_TRUE(data.DoTabNavigation(false, nullptr));
  ASSERT_EQ(data.FocusedItemNo, 1);
  data.SelectAll();
  EXPECT_EQ(data.FocusedItemNo, 1);  // selecting keeps it
  data.Deselect(data.GetItem(1), false);
  EXPECT_EQ(data.FocusedItemNo, -1);
  EXPECT_EQ(data.FocusedItemData, nullptr);
  EXPECT_FALSE(data.SelectionExists(false));
}

// A whole-line item holding two cells as a table does; its cells' parent is the
// document the item is in.
class TCellsItem : public TRPFullLineItemInfo {
public:
  explicit TCellsItem(TCustomRPData* rpData) : TRPFullLineItemInfo(rpData), Row(rpData) {
    StyleNo = -60;
    for (int32_t i = 0; i < 2; ++i) Row.Add(std::make_unique<TRPItemFormattedData>(&Row));
  }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  struct TLocation : TRPStoreSubRPData {
    int32_t Index = 0;
  };
  TTestRow Row;
  TCustomRPData* GetSubRPData(std::unique_ptr<TRPStoreSubRPData>& location, TRPSubRPDataPosition position) override {
    int32_t index = position == rpsdFirst ? 0 : static_cast<TLocation&>(*location).Index + 1;
    if (index >= Row.Count()) return nullptr;
    auto next = std::make_unique<TLocation>();
    next->Index = index;
    location = std::move(next);
    return Row.Data(index);
  }
};
const TRPItemClassInfo TCellsItem::ClassInfo{"TCellsItem", nullptr};

// The focus goes into the cells of an item after the item, and back out after them.
TEST(RPControlDataTest, TabNavigationVisitsTheItemsOfSubDocuments) {
  TTestRichPane view;
  TRichPaneRPData& data = view.Pane.RPData();
  data.AddItem("", std::make_unique<TFocusableItem>(&data));  // 0
  auto cells = std::make_unique<TCellsItem>(&data);
  TCellsItem& table = *cells;
  data.AddItem("", std::move(cells));                         // 1
  data.AddItem("", std::make_unique<TFocusableItem>(&data));  // 2
  TRPItemFormattedData& second = *table.Row.Data(1);
  second.AddAnsiText("cell", 0, TRPTag(), 0);
  second.AddItem("", std::make_unique<TFocusableItem>(&second));
  view.Pane.Format();
  for (int32_t i = 0; i < 2; ++i) table.Row.Data(i)->FormatSubDocument(false);
  const std::pair<TCustomRPFormattedData*, int32_t> expected[] = {{&data, 0}, {&second, 1}, {&data, 2}};
  for (const auto& stop : expected) {
    ASSERT_TRUE(data.DoTabNavigation(false, nullptr));
    EXPECT_EQ(data.FocusedItemData, stop.first);
    EXPECT_EQ(data.FocusedItemNo, stop.second);
  }
  EXPECT_FALSE(data.DoTabNavigation(false, nullptr));
  const std::pair<TCustomRPFormattedData*, int32_t> back[] = {{&data, 2}, {&second, 1}, {&data, 0}};
  for (const auto& stop : back) {
    ASSERT_TRUE(data.DoTabNavigation(true, nullptr));
    EXPECT_EQ(data.FocusedItemData, stop.first);
    EXPECT_EQ(data.FocusedItemNo, stop.second);
  }
}

// An item whose painting fails.
class TFailingItem : public TRPRectItemInfo, public IRPLayoutItem {
public:
  explicit TFailingItem(TCustomRPData* rpData) : TRPRectItemInfo(rpData) { StyleNo = rpkindPicture; }
  static const TRPItemClassInfo ClassInfo;
  TRPItemClass ItemClass() const override { return &ClassInfo; }
  int32_t GetWidth() const override { return 10; }
  int32_t GetHeight() const override { return 10; }
  void FormatForWidth(int32_t, TCanvas&, TCustomRPFormattedData&, bool, bool, int32_t& offset) override { offset = 0; }
  void Paint(int32_t, int32_t, TCanvas&, uint32_t, TCustomRPFormattedData&, const TRPDrawLineInfo&) override {
    throw std::runtime_error("cannot draw");
  }
};
const TRPItemClassInfo TFailingItem::ClassInfo{"TFailingItem", &CreateRPItem<TFailingItem>};

// The error does not leave the painting: the background shows, then "Error:" and the
// message in red Arial 10 on white at the top-left corner.
TEST(RPControlDataTest, APaintingErrorIsShownInTheView) {
  TTestRichPane view;
  view.Pane.Color = clYellow;
  TRichPaneRPData& data = view.Pane.RPData();
  data.AddItem("", std::make_unique<TFailingItem>(&data));
  view.Pane.Format();
  auto page = WhitePage(98, 38);
  EXPECT_NO_THROW(view.Pane.Paint(*page->Canvas(), TRect{0, 0, 98, 38}));
  auto expected = WhitePage(98, 38);
  TCanvas& c = *expected->Canvas();
  c.Brush().SetStyle(bsSolid);
  c.Brush().SetColor(clYellow);
  c.FillRect(TRect{0, 0, 98, 38});
  c.Font().SetName("Arial");
  c.Font().SetSize(10);
  c.Font().SetColor(clRed);
  c.Brush().SetColor(clWhite);
  c.TextOut(0, 0, "Error:cannot draw");
  EXPECT_EQ(Pixels(*page), Pixels(*expected));
}

TEST(RPControlDataTest, EventsReachTheControl) {
  TTestRichPane view;
  TRichPaneRPData& data = view.Pane.RPData();
  std::vector<TRPItemAction> actions;
  view.Pane.OnItemAction = [&](TCustomRichPane* sender, TRPItemAction action, TCustomRPItemInfo*, AnsiString&,
                               TCustomRPData* rpData) {
    EXPECT_EQ(sender, &view.Pane);
    EXPECT_EQ(rpData, &data);
    actions.push_back(action);
  };
  int32_t jumped = -1;
  view.Pane.OnJump = [&](TCustomRichPane*, int32_t id) { jumped = id; };
  data.AddAnsiText("a", 0, TRPTag(), 0);
  EXPECT_EQ(actions, (std::vector<TRPItemAction>{rpiaInserting, rpiaInserted}));
  data.FirstJumpNo = 100;
  data.ExecuteItemJump(3);
  EXPECT_EQ(jumped, 103);
  // OnSelect only with a window.
  int32_t selected = 0;
  view.Pane.OnSelect = [&](TObject*) { ++selected; };
  data.SelectionChanged();
  TRecordingHost host;
  view.Pane.SetHost(&host);
  data.SelectionChanged();
  EXPECT_EQ(selected, 1);
}

}  // namespace
