// The rich view control: defaults, the style sheet's lifetime, formatting and clearing.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "../../model/RPTestCanvas.h"
#include "RPViewTestData.h"
#include "platform/base/Streams.h"

namespace {

TEST(RichPaneTest, ConstructorDefaults) {
  TCustomRichPane pane(nullptr);
  EXPECT_EQ(pane.Color, clNone);
  EXPECT_EQ(pane.LeftMargin + pane.RightMargin + pane.TopMargin + pane.BottomMargin, 20);
  EXPECT_EQ(pane.Width(), 100);
  EXPECT_EQ(pane.Height(), 40);
  EXPECT_EQ(pane.BorderStyle, bsSingle);
  EXPECT_EQ(pane.DocumentFlags, 0x0D03);
  EXPECT_EQ(pane.Options, rpoAllowSelection | rpoScrollToEnd | rpoShowPageBreaks | rpoAutoCopyText | rpoAutoCopyRPF |
                              rpoAutoCopyImage | rpoAutoCopyRTF | rpoFormatInvalidate | rpoDblClickSelectsWord |
                              rpoRClickDeselects | rpoFastFormatting);
  EXPECT_EQ(pane.Delimiters, AnsiString(" .;,:(){}\"/\\<>!?[]\x91\x92\x93\x94-+*=\xA0"));
  EXPECT_EQ(pane.Delimiters.size(), 27u);
  EXPECT_EQ(pane.Style(), nullptr);
  EXPECT_EQ(pane.BackgroundStyle(), bsNoBitmap);
  EXPECT_EQ(pane.WheelStep, 2);
  EXPECT_TRUE(pane.Tracking);
}

TEST(RichPaneTest, AFreedStyleSheetLeavesTheControlWithoutOne) {
  TCustomRichPane pane(nullptr);
  {
    TRPStyle style(nullptr);
    pane.SetStyle(&style);
    EXPECT_EQ(pane.Style(), &style);
  }
  EXPECT_EQ(pane.Style(), nullptr);
  pane.AddTextNL("one\ntwo", 0, 0, 0);
  pane.Format();  // nothing without a style sheet
  EXPECT_EQ(pane.RPData().DrawItems.Count(), 0);
}

TEST(RichPaneTest, FormatLaysOutTheDocumentAndClearEmptiesIt) {
  TTestRichPane view;
  TRecordingHost host;
  view.Pane.SetHost(&host);
  view.Pane.AddNamedCheckpoint("c", false, TRPTag());
  view.Pane.AddTextNL("one\ntwo", 0, 0, 0);
  ASSERT_EQ(view.Pane.GetItemCount(), 2);
  EXPECT_TRUE(view.Pane.IsFromNewLine(1));
  view.Pane.Format();
  EXPECT_EQ(view.Pane.RPData().DrawItems.Count(), 2);
  // Top margin 5, two lines, bottom margin 5.
  EXPECT_EQ(view.Pane.GetDocumentHeight(), 5 + 2 * view.Pane.RPData().DrawItems[0]->Height + 5);
  EXPECT_EQ(view.Pane.RPData().DrawItems[0]->Left, 5);
  EXPECT_GT(host.Invalidated, 0);
  view.Pane.SelectAll();
  EXPECT_TRUE(view.Pane.SelectionExists());
  view.Pane.Clear();
  EXPECT_EQ(view.Pane.GetItemCount(), 0);
  EXPECT_EQ(view.Pane.RPData().DrawItems.Count(), 0);
  EXPECT_EQ(view.Pane.RPData().GetCheckpointCount(), 0);
}

// A background picture that moves with the text cannot be shifted on screen: scrolling
// then repaints everything.
TEST(RichPaneTest, BackgroundStyleDecidesHowScrollingRepaints) {
  TTestRichPane view;
  view.Pane.Background().SetImageCopy(*WhiteTile(), rppaDoNothing, nullptr);
  view.Pane.SetBackgroundStyle(bsTiled);
  EXPECT_TRUE(view.Pane.FullRedraw);
  view.Pane.SetBackgroundStyle(bsTiledAndScrolled);
  EXPECT_FALSE(view.Pane.FullRedraw);
}

}  // namespace

namespace {

// Without a style sheet the control paints the "Style is not defined" text on its
// colour; with one, the document and then OnPaint.
TEST(RichPaneTest, PaintingWithAndWithoutAStyleSheet) {
  TCustomRichPane bare(nullptr);
  bare.SetName("Viewer");
  bare.Color = clYellow;
  auto page = WhitePage(98, 38);
  bare.Paint(*page->Canvas(), TRect{0, 0, 98, 38});
  const auto pixels = Pixels(*page);
  // Ink of the text: anything but the colour.
  EXPECT_GT(std::count_if(pixels.begin(), pixels.end(), [](TColor c) { return c != clYellow; }), 20);
  EXPECT_NE(std::count(pixels.begin(), pixels.end(), clYellow), 0);

  TTestRichPane view;
  view.Pane.AddTextNL("text", 0, 0, 0);
  view.Pane.Format();
  int32_t painted = 0;
  TCustomRichPane other(nullptr);
  other.OnPaint = [&](TCustomRichPane* sender, TCanvas&, bool prepaint) {
    EXPECT_EQ(sender, &view.Pane);
    EXPECT_FALSE(prepaint);
    ++painted;
  };
  view.Pane.AssignEvents(other);
  view.Pane.Paint(*page->Canvas(), TRect{0, 0, 98, 38});
  EXPECT_EQ(painted, 1);
}

// A narrower client area wraps the text again.
TEST(RichPaneTest, ResizingLaysTheDocumentOutForTheNewWidth) {
  TTestRichPane view;
  view.Pane.AddTextNL("several words that wrap", 0, 0, 0);
  view.Pane.Format();
  const int32_t wide = view.Pane.RPData().DrawItems.Count();
  view.Pane.Resized(50, 40);
  EXPECT_GT(view.Pane.RPData().DrawItems.Count(), wide);
  EXPECT_EQ(view.Pane.ClientWidth(), 48);
}

TEST(RichPaneTest, PlainTextOfTheDocument) {
  TTestRichPane view;
  view.Pane.AddTextNL("one\ntwo", 0, 0, 0);
  TMemoryStream stream;
  ASSERT_TRUE(view.Pane.SaveTextToStream(stream, 80));
  EXPECT_EQ(std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size())), "one\r\ntwo");
}

}  // namespace

namespace {

TEST(RichPaneTest, AutoScrollStepsFollowThePointersDistanceFromTheArea) {
  struct TCase {
    int32_t Y, Expected;
  } cases[] = {{-25, -10}, {-21, -10}, {-20, -1}, {-5, -1}, {0, 0}, {37, 0}, {38, 1}, {57, 1}, {58, 10}};
  TTestRichPane view;  // client area 98 x 38
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Y);
    view.Pane.RecordAutoScroll(10, c.Y);
    EXPECT_EQ(view.Pane.AutoScrollStepY(), c.Expected);
    EXPECT_EQ(view.Pane.AutoScrollStepX(), 0);
  }
  view.Pane.UpdateScrollBars(500, 1000, true);
  view.Pane.RecordAutoScroll(130, 60);
  view.Pane.AutoScrollTick();
  view.Pane.AutoScrollTick();
  EXPECT_EQ(view.Pane.VScrollPos(), 20);
  EXPECT_EQ(view.Pane.HScrollPos(), 20);
}

}  // namespace

namespace {

// A new direction and the end of streaming both lay the document out.
TEST(RichPaneTest, DirectionChangesAndLoadingFormat) {
  TTestRichPane view;
  view.Pane.AddTextNL("text", 0, 0, 0);
  view.Pane.SetComponentState(csLoading);
  view.Pane.Loaded();
  EXPECT_EQ(view.Pane.RPData().DrawItems.Count(), 1);
  EXPECT_EQ(view.Pane.ComponentState() & csLoading, 0u);
  view.Pane.ClearFormatting();
  view.Pane.SetBiDiMode(rpbdRightToLeft);
  EXPECT_EQ(view.Pane.RPData().GetBiDiMode(), rpbdRightToLeft);
  EXPECT_EQ(view.Pane.RPData().DrawItems.Count(), 1);
}

}  // namespace
