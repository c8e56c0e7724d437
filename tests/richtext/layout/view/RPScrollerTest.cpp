// Scroll positions, commands and embedded windows of the scrolling part of a rich view.
#include <gtest/gtest.h>

#include "RPViewTestData.h"
#include "richtext/layout/view/RPScroller.h"

namespace {

// A 100 x 100 client area over a document 50 units high, one pixel per unit.
struct TScrollerFixture {
  TScrollerFixture() {
    Scroller.SetBounds(100, 100);
    Scroller.UpdateScrollBars(300, 50, true);
  }
  TRPScroller Scroller{nullptr};
};

TEST(RPScrollerTest, WheelMovesStepTimesLinesOverThreeRoundedToEven) {
  struct TCase {
    int32_t Lines, Notches, Expected;
  } cases[] = {
      {3, 1, 2},  // 2 x 3 / 3
      {1, 1, 1},  // round(0.667)
      {3, 2, 4},
      {-1, 1, 20},  // a page per notch: 20 of 40 clamps to maximum - page
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Lines);
    TRPScroller scroller(nullptr);
    scroller.SetBounds(100, 20);
    scroller.UpdateScrollBars(100, 40, true);
    EXPECT_TRUE(scroller.MouseWheel(c.Notches, c.Lines));
    EXPECT_EQ(scroller.VScrollPos(), c.Expected);
  }
  TRPScroller still(nullptr);
  still.WheelStep = 0;
  EXPECT_FALSE(still.MouseWheel(1, 3));
}

TEST(RPScrollerTest, PositionsAreClampedToMaximumLessPageAndNeverBelowZero) {
  TRPScroller scroller(nullptr);
  scroller.SetBounds(100, 20);
  scroller.SetVScrollVisible(false);
  scroller.UpdateScrollBars(100, 50, true);
  scroller.VScrollTo(1000, true);
  EXPECT_EQ(scroller.VScrollPos(), 30);
  scroller.VScrollTo(-5, true);
  EXPECT_EQ(scroller.VScrollPos(), 0);
  // A document shorter than the page cannot scroll at all.
  scroller.UpdateScrollBars(100, 5, true);
  scroller.VScrollTo(3, true);
  EXPECT_EQ(scroller.VScrollPos(), 0);
}

TEST(RPScrollerTest, EmbeddedWindowsKeepTheirTrueTopInTagAndAreClamped) {
  TScrollerFixture f;
  TRPEmbeddedWindow window{5, 10000, 10000, {}};
  f.Scroller.EmbeddedWindows.push_back(&window);
  f.Scroller.MoveEmbeddedWindows(3, 2000);
  EXPECT_EQ(window.Tag, 12000);
  EXPECT_EQ(window.Top, 10000);
  EXPECT_EQ(window.Left, 8);
  f.Scroller.MoveEmbeddedWindows(0, -12500);
  EXPECT_EQ(window.Top, -500);
}

// Scrolling with a host shifts the pixels by units x small step, moves the embedded
// windows the same way and fires OnVScrolled once per change.
TEST(RPScrollerTest, ScrollingShiftsTheContentAndTellsTheHandler) {
  TScrollerFixture f;
  TRecordingHost host;
  f.Scroller.SetHost(&host);
  f.Scroller.SetVSmallStep(4);
  f.Scroller.UpdateScrollBars(300, 80, true);
  TRPEmbeddedWindow window;
  f.Scroller.EmbeddedWindows.push_back(&window);
  int32_t fired = 0;
  f.Scroller.OnVScrolled = [&](TObject*) { ++fired; };
  f.Scroller.VScrollCommand(rpscLineForward, 0);
  f.Scroller.VScrollCommand(rpscPageForward, 0);  // 100 div 4
  EXPECT_EQ(f.Scroller.VScrollPos(), 26);
  EXPECT_EQ(host.ScrolledY, -26 * 4);
  EXPECT_EQ(window.Tag, -26 * 4);
  EXPECT_EQ(host.VPos, 26);
  f.Scroller.VScrollCommand(rpscEnd, 0);
  f.Scroller.VScrollCommand(rpscEnd, 0);  // no change, no event
  EXPECT_EQ(fired, 3);
  // The page of the bar is the client height in units.
  EXPECT_EQ(host.VPage, 25);
  // A thumb being dragged moves the view only while tracking.
  f.Scroller.Tracking = false;
  f.Scroller.VScrollCommand(rpscThumbTrack, 3);
  EXPECT_EQ(f.Scroller.VScrollPos(), 55);
  f.Scroller.VScrollCommand(rpscThumbPosition, 3);
  EXPECT_EQ(f.Scroller.VScrollPos(), 3);
}

TEST(RPScrollerTest, ASmallStepBelowOneIsIgnored) {
  TScrollerFixture f;
  f.Scroller.SetVSmallStep(0);
  f.Scroller.SetVSmallStep(-3);
  EXPECT_EQ(f.Scroller.VSmallStep(), 1);
  f.Scroller.UpdateScrollBars(300, 500, true);
  f.Scroller.ScrollTo(10);
  EXPECT_EQ(f.Scroller.VScrollPos(), 10);
}

TEST(RPScrollerTest, HorizontalCommandsMoveInPixels) {
  TScrollerFixture f;
  f.Scroller.HScrollCommand(rpscLineForward, 0);
  EXPECT_EQ(f.Scroller.HScrollPos(), 1);
  f.Scroller.HScrollCommand(rpscPageForward, 0);
  EXPECT_EQ(f.Scroller.HScrollPos(), 101);
  f.Scroller.HScrollCommand(rpscEnd, 0);
  EXPECT_EQ(f.Scroller.HScrollPos(), 200);  // width less the client width
}

}  // namespace
