// Image animation: strip animators, the animator list and its timer steps, and the
// control's animation modes, driven by calling the control's timer directly.
#include "richtext/layout/view/RPAnimate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "../../model/RPTestCanvas.h"
#include "RPViewTestData.h"

namespace {

// The colour of cell n of a strip.
TColor CellColour(int32_t n) { return static_cast<TColor>(RGB(static_cast<uint8_t>(40 * (n + 1)), 0, 0)); }

// A columns x rows strip of cells of cellSize pixels, each filled with its colour.
std::unique_ptr<TBitmap> Strip(int32_t columns, int32_t rows, int32_t cellSize) {
  auto strip = std::make_unique<TBitmap>();
  strip->SetPixelFormat(pf24bit);
  strip->SetSize(columns * cellSize, rows * cellSize);
  TCanvas& canvas = *strip->Canvas();
  canvas.Brush().SetStyle(bsSolid);
  for (int32_t r = 0; r < rows; ++r)
    for (int32_t c = 0; c < columns; ++c) {
      canvas.Brush().SetColor(CellColour(r * columns + c));
      canvas.FillRect(TRect{c * cellSize, r * cellSize, (c + 1) * cellSize, (r + 1) * cellSize});
    }
  return strip;
}

// A picture showing one cell of a strip, with a frame delay.
std::unique_ptr<TRPGraphicItemInfo> StripPicture(TCustomRPData* data, int32_t columns, int32_t rows, int32_t delay,
                                                 int32_t cellSize = 32) {
  auto picture = std::make_unique<TRPGraphicItemInfo>(data, Strip(columns, rows, cellSize), rpvaBaseline);
  picture->ImageWidth = picture->ImageHeight = cellSize;
  picture->Interval = delay;
  return picture;
}

// A strip animator that counts its suspensions.
class TCountingAnimator : public TRPBitmapAnimator {
public:
  using TRPBitmapAnimator::TRPBitmapAnimator;
  void Suspend() override { ++Suspended; }
  int32_t Suspended = 0;
};

TEST(RPAnimateTest, AStripIsCutIntoFramesLeftToRightThenDown) {
  auto picture = StripPicture(nullptr, 3, 2, 15);
  TRPBitmapAnimator animator(nullptr, *picture);
  EXPECT_EQ(animator.GetFrameCount(), 6);
  animator.Reset();
  EXPECT_EQ(animator.Frame, 0);
  EXPECT_EQ(animator.Interval, 150);  // the delay is in hundredths of a second
  animator.Frame = 4;
  auto page = WhitePage(34, 34);
  animator.Draw(*page->Canvas(), 1, 1);
  EXPECT_EQ(page->PixelColor(1, 1), CellColour(4));  // column 1, row 1
  EXPECT_EQ(page->PixelColor(32, 32), CellColour(4));
  EXPECT_EQ(page->PixelColor(0, 0), clWhite);
  EXPECT_EQ(page->PixelColor(33, 33), clWhite);
  animator.ChangeFrame();
  EXPECT_EQ(animator.Frame, 5);
  animator.Interval = 3;
  animator.ChangeFrame();
  EXPECT_EQ(animator.Frame, 0);
  EXPECT_EQ(animator.Interval, 150);

  picture->ImageWidth = picture->ImageHeight = 0;  // the image's own size: one cell
  EXPECT_EQ(animator.GetFrameCount(), 1);
}

TEST(RPAnimateTest, TheListHoldsThreeHundredAndFreesTheNext) {
  std::vector<std::unique_ptr<TRPGraphicItemInfo>> pictures;
  TRPAnimatorList list;
  for (int32_t i = 0; i < TRPAnimatorList::MaxAnimators + 1; ++i) {
    pictures.push_back(StripPicture(nullptr, 2, 1, 10 + i, 2));
    TRPGraphicItemInfo& picture = *pictures.back();
    picture.Animator = std::make_unique<TRPBitmapAnimator>(nullptr, picture);
    list.AddAnimator(picture.Animator);
  }
  EXPECT_EQ(list.Count(), 300);
  EXPECT_EQ(pictures.back()->Animator, nullptr);
  EXPECT_NE(pictures.front()->Animator, nullptr);
  EXPECT_EQ(list.MinInterval, 100);
  // An animator that goes leaves the list; the last to go leaves it inactive.
  list.Active = true;
  pictures.front()->Animator.reset();
  EXPECT_EQ(list.Count(), 299);
  EXPECT_TRUE(list.Active);
  list.FreeAnimators();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.Active);
  EXPECT_EQ(pictures[1]->Animator, nullptr);
}

TEST(RPAnimateTest, TimerStepsCountDownAndChangeFramesWhenDue) {
  auto slow = StripPicture(nullptr, 4, 1, 15, 2), fast = StripPicture(nullptr, 4, 1, 10, 2);
  slow->Animator = std::make_unique<TCountingAnimator>(nullptr, *slow);
  fast->Animator = std::make_unique<TCountingAnimator>(nullptr, *fast);
  TRPAnimatorList list;
  list.AddAnimator(slow->Animator);
  list.AddAnimator(fast->Animator);
  auto& a = static_cast<TCountingAnimator&>(*slow->Animator);
  auto& b = static_cast<TCountingAnimator&>(*fast->Animator);
  EXPECT_EQ(list.MinInterval, 100);
  list.TimerStep();  // 100 ms: b changes
  EXPECT_EQ(std::make_pair(a.Frame, b.Frame), std::make_pair(0, 1));
  EXPECT_EQ(std::make_pair(a.Interval, b.Interval), std::make_pair(50, 100));
  EXPECT_EQ(list.MinInterval, 50);
  list.TimerStep();  // 150 ms: a changes
  EXPECT_EQ(std::make_pair(a.Frame, b.Frame), std::make_pair(1, 1));
  EXPECT_EQ(list.MinInterval, 50);
  list.TimerStep();  // 200 ms: b again
  EXPECT_EQ(std::make_pair(a.Frame, b.Frame), std::make_pair(1, 2));
  // Pictures outside any document are in no view: they change frames undrawn.
  EXPECT_EQ(a.Suspended + b.Suspended, 3);
  list.SuspendAnimators();
  EXPECT_EQ(a.Suspended, 2);
}

struct TAnimatedView : TTestRichPane {
  TAnimatedView() {
    Pane.SetHost(&Host);
    Window->SetPixelFormat(pf24bit);
    Window->SetSize(200, 200);
    Host.Canvas = Window->Canvas();
  }
  ~TAnimatedView() { Pane.SetHost(nullptr); }
  // Lines of text, the strip picture, more lines.
  TRPGraphicItemInfo& Fill(int32_t linesBefore, int32_t linesAfter) {
    for (int32_t i = 0; i < linesBefore; ++i) Pane.RPData().AddAnsiText("before", 0, TRPTag(), 0);
    auto picture = StripPicture(&Pane.RPData(), 3, 2, 15);
    TRPGraphicItemInfo& item = *picture;
    Pane.AddItem("strip", std::move(picture));
    for (int32_t i = 0; i < linesAfter; ++i) Pane.RPData().AddAnsiText("after", 0, TRPTag(), 0);
    return item;
  }
  // The window's pixel where the picture's frame stands.
  TColor ShownAt(const TRPGraphicItemInfo& item) {
    const int32_t itemNo = Pane.RPData().IndexOfItem(&item);
    const TRPDrawLineInfo& d = *Pane.RPData().DrawItems[Pane.RPData().GetItemFirstDrawItem(itemNo)];
    return Window->PixelColor(d.Left + 2, d.Top + 2 - Pane.VScrollPos() * Pane.VSmallStep());
  }
  TRecordingHost Host;
  std::unique_ptr<TBitmap> Window = std::make_unique<TBitmap>();
};

TEST(RPAnimateTest, TheControlsTimerPlaysTheFramesOfAPictureInView) {
  TAnimatedView view;
  TRPGraphicItemInfo& picture = view.Fill(1, 1);
  view.Pane.Format();
  EXPECT_EQ(picture.Animator, nullptr);  // manual start: nothing plays yet
  view.Pane.StartAnimation();
  ASSERT_NE(picture.Animator, nullptr);
  EXPECT_TRUE(picture.GetBoolValue(rpibqLive));
  ASSERT_FALSE(view.Host.TimersSet.empty());
  EXPECT_EQ(view.Host.TimersSet.back(), std::make_pair(RPAnimationTimerId, 150u));
  const auto& animator = static_cast<const TRPAnimator&>(*picture.Animator);
  EXPECT_TRUE(animator.IsInView());
  for (int32_t step = 1; step <= 7; ++step) {
    view.Host.InvalidatedRects.clear();
    view.Pane.TimerTick(RPAnimationTimerId);
    EXPECT_EQ(animator.Frame, step % 6);
    EXPECT_EQ(view.ShownAt(picture), CellColour(step % 6));
    EXPECT_EQ(view.Host.InvalidatedRects.size(), 1u);
  }
  // The interval stays: the timer is set once.
  EXPECT_EQ(view.Host.TimersSet.size(), 1u);
  view.Pane.StopAnimation();
  EXPECT_EQ(picture.Animator, nullptr);
  EXPECT_EQ(view.Host.TimersKilled.back(), RPAnimationTimerId);
}

TEST(RPAnimateTest, APictureScrolledOutOfViewChangesFramesUndrawn) {
  TAnimatedView view;
  TRPGraphicItemInfo& picture = view.Fill(1, 60);
  view.Pane.Format();
  view.Pane.StartAnimation();
  const auto& animator = static_cast<const TRPAnimator&>(*picture.Animator);
  view.Pane.TimerTick(RPAnimationTimerId);
  ASSERT_EQ(animator.Frame, 1);
  view.Pane.ScrollTo(400);
  EXPECT_FALSE(animator.IsInView());
  view.Host.InvalidatedRects.clear();
  const std::vector<TColor> before = Pixels(*view.Window);
  view.Pane.TimerTick(RPAnimationTimerId);
  view.Pane.TimerTick(RPAnimationTimerId);
  EXPECT_EQ(animator.Frame, 3);
  EXPECT_TRUE(view.Host.InvalidatedRects.empty());
  EXPECT_EQ(Pixels(*view.Window), before);
  // Back in view, the next frame shows.
  view.Pane.ScrollTo(0);
  EXPECT_TRUE(animator.IsInView());
  view.Pane.TimerTick(RPAnimationTimerId);
  EXPECT_EQ(view.ShownAt(picture), CellColour(4));
}

TEST(RPAnimateTest, AnimationModes) {
  {
    TAnimatedView view;
    view.Pane.SetAnimationMode(rpaniOnFormat);
    TRPGraphicItemInfo& picture = view.Fill(0, 0);
    EXPECT_EQ(picture.Animator, nullptr);
    view.Pane.Format();
    EXPECT_NE(picture.Animator, nullptr);
    // Clearing stops the timer of a control that animates on formatting.
    view.Host.TimersKilled.clear();
    view.Pane.Clear();
    EXPECT_NE(std::find(view.Host.TimersKilled.begin(), view.Host.TimersKilled.end(), RPAnimationTimerId),
              view.Host.TimersKilled.end());
  }
  {
    TAnimatedView view;
    TRPGraphicItemInfo& picture = view.Fill(0, 0);
    view.Pane.Format();
    view.Pane.StartAnimation();
    ASSERT_NE(picture.Animator, nullptr);
    // Pictures added while animation runs play at once.
    TRPGraphicItemInfo& second = view.Fill(0, 0);
    EXPECT_NE(second.Animator, nullptr);
    EXPECT_EQ(view.Pane.RPData().Animators()->Count(), 2);
    view.Pane.SetAnimationMode(rpaniDisabled);
    EXPECT_EQ(picture.Animator, nullptr);
    EXPECT_EQ(second.Animator, nullptr);
    view.Pane.StartAnimation();
    EXPECT_EQ(picture.Animator, nullptr);
  }
}

TEST(RPAnimateTest, OnlyStripsOfSeveralFramesWithADelayAnimate) {
  TAnimatedView view;
  auto single = StripPicture(&view.Pane.RPData(), 1, 1, 15);
  auto noDelay = StripPicture(&view.Pane.RPData(), 3, 1, 0);
  TRPGraphicItemInfo& a = *single;
  TRPGraphicItemInfo& b = *noDelay;
  view.Pane.AddItem("one", std::move(single));
  view.Pane.AddItem("still", std::move(noDelay));
  view.Pane.Format();
  view.Pane.StartAnimation();
  EXPECT_EQ(a.Animator, nullptr);
  EXPECT_EQ(b.Animator, nullptr);
  // Without animators the timer is not started, and a tick stops it.
  EXPECT_TRUE(view.Host.TimersSet.empty());
  view.Pane.TimerTick(RPAnimationTimerId);
  EXPECT_EQ(view.Host.TimersKilled.back(), RPAnimationTimerId);
}

}  // namespace
