// The item resizer: where its handles are, which cursor each shows, and the frame a drag
// gives (minimum size, symmetric, proportional with the rounding to even); and the
// editable document's resizer over a selected picture or control, resized by dragging a
// handle, and the recorded resizing of a control item.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "RPEditTestData.h"
#include "platform/gui/StdCtrls.h"
#include "richtext/edit/RPItemResizer.h"
#include "richtext/layout/RPDrawLines.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/screen/RPControlWidgets.h"

namespace {

// A picture of the given image size and spacing, drawn at (left, top).
struct TResizerCase {
  TResizerCase(int32_t imageWidth, int32_t imageHeight, int32_t spacing, int32_t left = 30, int32_t top = 20)
      : Picture(nullptr),
        Draw(left, top, imageWidth + 2 * spacing, imageHeight + 2 * spacing, 0, true),
        Resizer(Draw, 0, &Picture) {
    Picture.Spacing = spacing;
  }
  // Presses the handle's displayed point and drags it by (dx, dy).
  void Drag(int32_t handle, int32_t dx, int32_t dy, TShiftState shift) {
    const TPoint point = Resizer.DisplayedPoint(handle);
    const int32_t x = Draw.Left + point.X, y = Draw.Top + point.Y;
    ASSERT_TRUE(Resizer.StartDrag(x, y, 0, 0));
    ASSERT_EQ(Resizer.Handle, handle);
    Resizer.DragTo(shift, x + dx, y + dy, 0, 0);
  }
  TRect Frame() const { return {Resizer.FrameLeft, Resizer.FrameTop, Resizer.FrameRight, Resizer.FrameBottom}; }
  TRPGraphicItemInfo Picture;
  TRPDrawLineInfo Draw;
  TRPItemResizer Resizer;
};

TEST(RPItemResizerTest, HandlesStandInsideLargeItemsAndOutsideSmallOnes) {
  struct {
    int32_t Width, Height;
    bool Outside;
    int32_t D;  // the offset the handles show with
  } cases[] = {{40, 40, false, 3}, {10, 50, false, -3}, {50, 11, false, -3}, {12, 12, false, 3}, {40, 40, true, -3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Width << "x" << c.Height << " outside " << c.Outside);
    TResizerCase r(c.Width, c.Height, 0);
    r.Resizer.HandlesOutside = c.Outside;
    const TPoint expected[8] = {
        {c.D, c.D},         {c.Width - c.D, c.D},          {c.Width - c.D, c.Height - c.D}, {c.D, c.Height - c.D},
        {c.Width / 2, c.D}, {c.Width - c.D, c.Height / 2}, {c.Width / 2, c.Height - c.D},   {c.D, c.Height / 2}};
    for (int32_t i = 0; i < 8; ++i) {
      EXPECT_EQ(r.Resizer.DisplayedPoint(i).X, expected[i].X) << i;
      EXPECT_EQ(r.Resizer.DisplayedPoint(i).Y, expected[i].Y) << i;
    }
  }
}

TEST(RPItemResizerTest, HandlesAreHitWithinThreePixelsAndShowTheirCursors) {
  TResizerCase r(40, 40, 0);
  const TCursor cursors[8] = {crSizeNWSE, crSizeNESW, crSizeNWSE, crSizeNESW, crSizeNS, crSizeWE, crSizeNS, crSizeWE};
  for (int32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(TRPItemResizer::GetCursor(i), cursors[i]);
    const TPoint p = r.Resizer.DisplayedPoint(i);
    int32_t found = -1;
    // Scrolled by (5, 7): the client point is the document point less the offsets.
    EXPECT_TRUE(r.Resizer.HandleAt(r.Draw.Left + p.X + 3 - 5, r.Draw.Top + p.Y - 3 - 7, 7, 5, found));
    EXPECT_EQ(found, i);
    EXPECT_FALSE(r.Resizer.HandleAt(r.Draw.Left + p.X + 4 - 5, r.Draw.Top + p.Y - 7, 7, 5, found)) << i;
  }
  int32_t found = -1;
  EXPECT_FALSE(r.Resizer.StartDrag(r.Draw.Left + 20, r.Draw.Top + 20, 0, 0));
  EXPECT_FALSE(r.Resizer.HandleAt(r.Draw.Left + 20, r.Draw.Top + 20, 0, 0, found));
  EXPECT_FALSE(r.Resizer.Dragging);
}

// The frames of drags: handle, movement, keys; the frame relative to the draw item.
TEST(RPItemResizerTest, DragsGiveTheirFrames) {
  struct {
    const char* Name;
    int32_t W, H, Spacing, Handle, Dx, Dy;
    TShiftState Shift;
    bool CornersProportional;
    TRect Frame;
  } cases[] = {
      {"right-middle past the left edge keeps 2 pixels", 40, 40, 0, 5, -100, 0, 0, true, {0, 0, 2, 40}},
      {"top-middle past the bottom keeps 2 pixels", 40, 40, 0, 4, 0, 100, 0, true, {0, 38, 40, 40}},
      {"bottom-right of 100x50 to 200x60 keeps proportions", 100, 50, 0, 2, 100, 10, 0, true, {0, 0, 200, 100}},
      {"bottom-right without the corner setting", 100, 50, 0, 2, 100, 10, 0, false, {0, 0, 200, 60}},
      {"right-middle with Shift: 112.5 rounds to 112", 200, 100, 1, 5, 23, 0, ssShift, true, {0, 0, 225, 112}},
      {"right-middle with Shift: 137.5 rounds to 138", 200, 100, 1, 5, 73, 0, ssShift, true, {0, 0, 275, 138}},
      {"bottom-middle with Shift widens the width", 200, 100, 1, 6, 0, 48, ssShift, true, {0, 0, 300, 150}},
      {"top-left corner moves left and top", 200, 100, 0, 0, -200, -10, 0, true, {-200, -100, 200, 100}},
      {"left-middle with Ctrl mirrors the right side", 40, 40, 0, 7, 10, 0, ssCtrl, true, {10, 0, 30, 40}},
      {"bottom-right with Ctrl and Shift grows both ways",
       100,
       50,
       0,
       2,
       20,
       0,
       ssCtrl | ssShift,
       true,
       {-20, -10, 120, 60}},
      {"right-middle without proportions", 200, 100, 1, 5, 23, 0, 0, true, {0, 0, 225, 102}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    RPResizeCornersProportionally = c.CornersProportional;
    TResizerCase r(c.W, c.H, c.Spacing);
    r.Drag(c.Handle, c.Dx, c.Dy, c.Shift);
    const TRect frame = r.Frame();
    EXPECT_EQ(frame.Left, c.Frame.Left);
    EXPECT_EQ(frame.Top, c.Frame.Top);
    EXPECT_EQ(frame.Right, c.Frame.Right);
    EXPECT_EQ(frame.Bottom, c.Frame.Bottom);
    r.Resizer.EndDrag();
    EXPECT_FALSE(r.Resizer.Dragging);
    EXPECT_EQ(r.Resizer.Width, c.Frame.Right - c.Frame.Left);
    EXPECT_EQ(r.Resizer.Height, c.Frame.Bottom - c.Frame.Top);
  }
  RPResizeCornersProportionally = true;
}

TEST(RPItemResizerTest, ACancelledDragKeepsTheSize) {
  TResizerCase r(40, 30, 0);
  r.Drag(5, 25, 0, 0);
  r.Resizer.Cancel();
  EXPECT_FALSE(r.Resizer.Dragging);
  EXPECT_TRUE(r.Resizer.Cancelled);
  r.Resizer.EndDrag();
  EXPECT_EQ(r.Resizer.Width, 40);
  EXPECT_EQ(r.Resizer.Height, 30);
}

// The editable document keeps a resizer over one selected picture.
struct RPDataResizerTest : TEditFixture {
  void AddPicture(int32_t width, int32_t height) {
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    auto item = std::make_unique<TRPGraphicItemInfo>(&Data(), std::move(bitmap), rpvaBaseline);
    item->SetContinuesLine(true);
    Data().AddItem("picture", std::move(item));
  }
  // A resizable button of width x height continuing the line; its widget control.
  TRPWidgetControl& AddButton(int32_t width, int32_t height) {
    auto button = std::make_unique<TButton>(nullptr);
    button->SetBounds(0, 0, width, height);
    auto control = std::make_unique<TRPWidgetControl>(std::move(button));
    TRPWidgetControl& widget = *control;
    auto item = std::make_unique<TRPControlItemInfo>(&Data(), std::move(control), rpvaBaseline);
    item->ResizableFlag = true;
    item->SetContinuesLine(true);
    Data().AddItem("button", std::move(item));
    return widget;
  }
  std::string Layout() {
    std::ostringstream out;
    for (int32_t i = 0; i < Data().DrawItems.Count(); ++i) {
      const TRPDrawLineInfo& d = *Data().DrawItems[i];
      out << d.ItemNo << "@" << d.Left << "," << d.Top << " " << d.Width << "x" << d.Height << "\n";
    }
    return out.str() + "height " + std::to_string(Data().DocumentHeight);
  }
  // The layout left by the last edit is that of a whole new pass.
  void ExpectLayoutOfAWholePass() {
    const std::string partial = Layout();
    Format();
    EXPECT_EQ(partial, Layout());
  }
};

TEST_F(RPDataResizerTest, SelectingOnePictureShowsTheResizerAndTextRemovesIt) {
  AddA("ab");
  AddPicture(40, 20);
  AddA("cd", -1);
  Format();
  EXPECT_EQ(Data().Resizer, nullptr);
  Data().SetSelectionBounds(1, 0, 1, 1);
  Data().AfterSelectionChange(false);
  ASSERT_NE(Data().Resizer, nullptr);
  EXPECT_EQ(Data().Resizer->ItemNo, 1);
  EXPECT_EQ(Data().Resizer->Width, 42);
  EXPECT_EQ(Data().CaretHeight, 0);  // no caret over the resizer
  Data().SetSelectionBounds(0, 1, 1, 1);
  Data().AfterSelectionChange(false);
  EXPECT_EQ(Data().Resizer, nullptr);
  // Not in a read-only editor, nor with rpoNoImageResize.
  Data().SetSelectionBounds(1, 0, 1, 1);
  Pane.EditorOptions |= rpoNoImageResize;
  Data().AfterSelectionChange(false);
  EXPECT_EQ(Data().Resizer, nullptr);
  Pane.EditorOptions = rpoEditorDefaults;
  Pane.ReadOnly = true;
  Data().AfterSelectionChange(false);
  EXPECT_EQ(Data().Resizer, nullptr);
}

TEST_F(RPDataResizerTest, DraggingAHandleResizesThePictureAsOneUndoStep) {
  AddA("ab");
  AddPicture(40, 20);
  Format();
  Data().SetSelectionBounds(1, 0, 1, 1);
  Data().AfterSelectionChange(false);
  ASSERT_NE(Data().Resizer, nullptr);
  const TRPDrawLineInfo& d = *Data().DrawItems[Data().Resizer->DrawItemNo];
  const TPoint handle = Data().Resizer->DisplayedPoint(5);
  const int32_t x = d.Left + handle.X - Data().GetHOffs(), y = d.Top + handle.Y - Data().GetVOffs();
  Data().MouseDown(mbLeft, ssLeft, x, y);
  ASSERT_TRUE(Data().Resizer->Dragging);
  Data().MouseMove(ssLeft, x + 20, y);
  Data().MouseUp(mbLeft, 0, x + 20, y);
  auto& picture = static_cast<TRPGraphicItemInfo&>(*Data().GetItem(1));
  EXPECT_EQ(picture.ImageWidth, 60);
  EXPECT_EQ(picture.ImageHeight, 20);
  EXPECT_EQ(Data().UndoList->CurrentUndoKind(), rpukModifyItem);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(picture.ImageWidth, 0);
  EXPECT_EQ(picture.ImageHeight, 0);
}

// A control item's drag resizes its control (the handles frame the control with its
// spacing): one undo step that undo and redo play back, the line laid out as a whole pass
// would.
TEST_F(RPDataResizerTest, DraggingAHandleResizesAControlAsOneUndoStep) {
  AddA("ab");
  TRPWidgetControl& button = AddButton(80, 24);
  AddA("cd", -1);
  Format();
  Data().SetSelectionBounds(1, 0, 1, 1);
  Data().AfterSelectionChange(false);
  ASSERT_NE(Data().Resizer, nullptr);
  EXPECT_EQ(Data().Resizer->Width, 82);
  EXPECT_EQ(Data().Resizer->Height, 26);
  const TRPDrawLineInfo& d = *Data().DrawItems[Data().Resizer->DrawItemNo];
  const TPoint handle = Data().Resizer->DisplayedPoint(2);
  const int32_t x = d.Left + handle.X - Data().GetHOffs(), y = d.Top + handle.Y - Data().GetVOffs();
  Data().MouseDown(mbLeft, ssLeft, x, y);
  ASSERT_TRUE(Data().Resizer->Dragging);
  RPResizeCornersProportionally = false;
  Data().MouseMove(ssLeft, x + 30, y + 6);
  Data().MouseUp(mbLeft, 0, x + 30, y + 6);
  RPResizeCornersProportionally = true;
  EXPECT_EQ(button.GuiControl().Width(), 110);
  EXPECT_EQ(button.GuiControl().Height(), 30);
  EXPECT_EQ(Data().DrawItems[Data().GetItemFirstDrawItem(1)]->Width, 112);
  ExpectLayoutOfAWholePass();
  ASSERT_EQ(Data().UndoList->Count(), 1);
  EXPECT_EQ(Data().UndoList->CurrentUndoKind(), rpukModifyItem);
  ASSERT_EQ(Data().UndoList->LastGroup()->Count(), 1);
  EXPECT_NE(dynamic_cast<TRPUndoResizeInfo*>(Data().UndoList->LastGroup()->Info(0)), nullptr);

  Data().UndoList->Undo(Data());
  EXPECT_EQ(button.GuiControl().Width(), 80);
  EXPECT_EQ(button.GuiControl().Height(), 24);
  EXPECT_EQ(Data().DrawItems[Data().GetItemFirstDrawItem(1)]->Width, 82);
  ExpectLayoutOfAWholePass();
  Data().RedoList->Redo(Data());
  EXPECT_EQ(button.GuiControl().Width(), 110);
  EXPECT_EQ(button.GuiControl().Height(), 30);
  ExpectLayoutOfAWholePass();
  EXPECT_EQ(Data().RedoList->Count(), 0);
  EXPECT_EQ(Data().UndoList->Count(), 1);
}

// The recorded resizing of a control: its edge cases.
TEST_F(RPDataResizerTest, ResizingAControl) {
  struct TWatchedControl : TRPWidgetControl {
    TWatchedControl(std::unique_ptr<TControl> control, TRPEditRPData& data)
        : TRPWidgetControl(std::move(control)), Data(data) {}
    void SetSize(int32_t width, int32_t height) override {
      SeenResizing = Data.ResizingControl;
      ++Calls;
      TRPWidgetControl::SetSize(width, height);
    }
    TRPEditRPData& Data;
    IRPItemControl* SeenResizing = nullptr;
    int32_t Calls = 0;
  };
  AddA("ab");
  auto button = std::make_unique<TButton>(nullptr);
  button->SetBounds(0, 0, 60, 20);
  auto watched = std::make_unique<TWatchedControl>(std::move(button), Data());
  TWatchedControl& control = *watched;
  auto item = std::make_unique<TRPControlItemInfo>(&Data(), std::move(watched), rpvaBaseline);
  item->SetContinuesLine(true);
  Data().AddItem("button", std::move(item));
  Format();

  // The same size: nothing set, nothing recorded.
  Data().BeginUndoGroup(rpukModifyItem, false);
  Data().ResizeControlUndoable(1, 60, 20);
  EXPECT_EQ(control.Calls, 0);
  Data().UndoList->RemoveEmptyLastGroup();
  EXPECT_EQ(Data().UndoList->Count(), 0);
  // The editor names the control while it sets its bounds, and no more afterwards.
  Data().BeginUndoGroup(rpukModifyItem, false);
  Data().ResizeControlUndoable(1, 70, 25);
  EXPECT_EQ(control.SeenResizing, &control);
  EXPECT_EQ(Data().ResizingControl, nullptr);
  EXPECT_EQ(control.Width(), 70);
  EXPECT_EQ(control.Height(), 25);
  ExpectLayoutOfAWholePass();
  // Sizes below 1 after the spacing is taken off become 1.
  Data().ResizeItemUndoable(1, 0, -4);
  EXPECT_EQ(control.Width(), 1);
  EXPECT_EQ(control.Height(), 1);
  ExpectLayoutOfAWholePass();
  EXPECT_EQ(Data().UndoList->Count(), 2);
  // Undone group by group.
  Data().UndoList->Undo(Data());
  EXPECT_EQ(control.Width(), 70);
  EXPECT_EQ(control.Height(), 25);
  Data().UndoList->Undo(Data());
  EXPECT_EQ(control.Width(), 60);
  EXPECT_EQ(control.Height(), 20);
  ExpectLayoutOfAWholePass();
  // Only control items have a control to resize.
  try {
    Data().ResizeControl(0, 10, 10, true);
    ADD_FAILURE() << "a text item was resized";
  } catch (const ERichPaneError& error) {
    EXPECT_STREQ(error.what(), errRPInvalidItemClass);
  }
  EXPECT_THROW(Data().ResizeControlUndoable(0, 10, 10), ERichPaneError);
}

TEST_F(RPDataResizerTest, AClickOnAPictureSelectsIt) {
  AddA("ab");
  AddPicture(40, 20);
  Format();
  const TRPDrawLineInfo& d = *Data().DrawItems[1];
  Data().MouseDown(mbLeft, ssLeft, d.Left + 20, d.Top + 10);
  Data().MouseUp(mbLeft, 0, d.Left + 20, d.Top + 10);
  int32_t s = 0, so = 0, e = 0, eo = 0;
  Data().GetSelectionRange(s, so, e, eo);
  EXPECT_EQ(s, 1);
  EXPECT_EQ(so, 0);
  EXPECT_EQ(e, 1);
  EXPECT_EQ(eo, 1);
  ASSERT_NE(Data().Resizer, nullptr);
  EXPECT_EQ(Data().Resizer->ItemNo, 1);
  // A press on the text and a release on the picture select nothing of it.
  Data().SetSelectionBounds(0, 1, 0, 1);
  Data().AfterSelectionChange(false);
  const TRPDrawLineInfo& text = *Data().DrawItems[0];
  Data().MouseDown(mbLeft, ssLeft, text.Left + 1, text.Top + 2);
  Data().MouseUp(mbLeft, 0, d.Left + 20, d.Top + 10);
  EXPECT_EQ(Data().Resizer, nullptr);
}

TEST_F(RPDataResizerTest, EscapeDuringADragChangesNothing) {
  AddPicture(40, 20);
  Format();
  Data().SetSelectionBounds(0, 0, 0, 1);
  Data().AfterSelectionChange(false);
  ASSERT_NE(Data().Resizer, nullptr);
  const TRPDrawLineInfo& d = *Data().DrawItems[0];
  const TPoint handle = Data().Resizer->DisplayedPoint(2);
  Data().MouseDown(mbLeft, ssLeft, d.Left + handle.X, d.Top + handle.Y);
  Data().MouseMove(ssLeft, d.Left + handle.X + 30, d.Top + handle.Y + 30);
  EXPECT_TRUE(Data().CancelResizing());
  EXPECT_FALSE(Data().CancelResizing());
  Data().MouseUp(mbLeft, 0, d.Left + handle.X + 30, d.Top + handle.Y + 30);
  EXPECT_EQ(static_cast<TRPGraphicItemInfo&>(*Data().GetItem(0)).ImageWidth, 0);
  EXPECT_EQ(Data().UndoList->CurrentUndoKind(), rpukNone);
}

}  // namespace
