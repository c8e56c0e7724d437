// The editable document in the window of the rich view on screen (Qt's offscreen
// platform): the window's caret stands at the caret stop over the document's pixels.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <memory>

#include "RPEditTestData.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/Forms.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/screen/RPWindow.h"

namespace {

struct TEditScreen {
  TEditScreen() {
    Style.TextStyles()[0]->FontName = "Arial";
    Pane.SetStyle(&Style);
    Form.SetBounds(0, 0, 340, 260);
    Window = std::make_unique<TRPWindow>(nullptr, Pane);
    Window->SetParent(&Form);
    Window->SetBounds(10, 10, 302, 202);
  }
  ~TEditScreen() {
    Form.Hide();
    Window.reset();
  }
  QImage Grab() {
    auto& area = *qobject_cast<QAbstractScrollArea*>(Window->Widget());
    return area.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  TRPStyle Style{nullptr};
  TTestEditPane Pane;
  TForm Form{nullptr};
  std::unique_ptr<TRPWindow> Window;
};

TEST(RPEditScreenTest, TheWindowShowsTheCaretAtTheCaretStop) {
  TEditScreen screen;
  TRPEditRPData& data = screen.Pane.Edit();
  data.Clear();
  data.AddRawText("Caret", 0, 0);
  screen.Form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.Form.Widget()));
  screen.Window->SetFocus();
  QApplication::processEvents();
  ASSERT_TRUE(screen.Window->Focused());
  screen.Pane.Format();
  QApplication::processEvents();
  ASSERT_TRUE(screen.Window->CaretShown());

  const TRPDrawLineInfo& d = *data.DrawItems[0];
  TRect caret = screen.Window->CaretRect();
  EXPECT_EQ(caret.Left, d.Left - data.GetHOffs());  // the stop at the line's start
  EXPECT_EQ(caret.Right - caret.Left, 1);
  EXPECT_EQ(caret.Bottom, d.Top + d.Height - data.GetVOffs());
  EXPECT_EQ(caret.Bottom - caret.Top, d.Height + 2);
  // The caret inverts the white background under it (above the letters), and nothing
  // beside it.
  QImage image = screen.Grab();
  EXPECT_EQ(image.pixel(caret.Left, caret.Top) & 0xFFFFFF, 0u);
  EXPECT_EQ(image.pixel(caret.Left - 1, caret.Top) & 0xFFFFFF, 0xFFFFFFu);

  data.MoveCaretEnd(false);
  QApplication::processEvents();
  caret = screen.Window->CaretRect();
  EXPECT_EQ(caret.Left, data.CaretPos().X - data.GetHOffs());
  EXPECT_EQ(caret.Left, d.Left + d.Width);
  image = screen.Grab();
  EXPECT_EQ(image.pixel(caret.Left, caret.Top) & 0xFFFFFF, 0u);
  // Where the caret stood before, above the letters, the background is white again.
  EXPECT_EQ(image.pixel(d.Left - data.GetHOffs(), caret.Top) & 0xFFFFFF, 0xFFFFFFu);
}

// A selected red picture shows the resizer's handles: each a black square outline with the
// picture's pixels inverted inside it; no caret over it.
TEST(RPEditScreenTest, TheResizerDrawsItsHandlesOverTheSelectedPicture) {
  TEditScreen screen;
  TRPEditRPData& data = screen.Pane.Edit();
  data.Clear();
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(40, 30);
  bitmap->Canvas()->Brush().SetStyle(bsSolid);
  bitmap->Canvas()->Brush().SetColor(clRed);
  bitmap->Canvas()->FillRect(TRect{0, 0, 40, 30});
  data.AddItem("picture", std::make_unique<TRPGraphicItemInfo>(&data, std::move(bitmap), rpvaBaseline));
  screen.Form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(screen.Form.Widget()));
  screen.Window->SetFocus();
  QApplication::processEvents();
  screen.Pane.Format();
  data.SetSelectionBounds(0, 0, 0, 1);
  data.AfterSelectionChange(false);
  ASSERT_NE(data.Resizer, nullptr);
  data.InvalidateControl();
  QApplication::processEvents();
  EXPECT_FALSE(screen.Window->CaretShown());

  const QImage image = screen.Grab();
  const TRPDrawLineInfo& d = *data.DrawItems[0];
  ASSERT_EQ(d.Width, 42);  // the picture and its spacing of 1 on each side
  const auto pixel = [&](int32_t x, int32_t y) {
    return image.pixel(d.Left - data.GetHOffs() + x, d.Top - data.GetVOffs() + y) & 0xFFFFFF;
  };
  const uint32_t red = 0xFF0000, cyan = 0x00FFFF;  // the picture, and the picture inverted
  for (int32_t i = 0; i < 8; ++i) {
    SCOPED_TRACE("handle " + std::to_string(i));
    const TPoint p = data.Resizer->DisplayedPoint(i);
    EXPECT_EQ(pixel(p.X - 3, p.Y - 3), 0u);  // the outer square, black
    EXPECT_EQ(pixel(p.X + 2, p.Y - 3), 0u);
    EXPECT_EQ(pixel(p.X - 2, p.Y - 2), cyan);  // the inverted rings fill the square
    EXPECT_EQ(pixel(p.X - 1, p.Y - 1), cyan);
    EXPECT_EQ(pixel(p.X, p.Y), cyan);
    EXPECT_EQ(pixel(p.X + 1, p.Y + 1), cyan);
  }
  EXPECT_EQ(pixel(21, 15), red);  // the picture between the handles
}

}  // namespace
