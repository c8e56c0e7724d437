// The editable document in the window of the rich view on screen (Qt's offscreen
// platform): the window's caret stands at the caret stop over the document's pixels.
#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <memory>

#include "RPEditTestData.h"
#include "platform/gui/Forms.h"
#include "richtext/screen/RPWindow.h"

namespace {

struct TEditScreen {
  TEditScreen() {
    RegisterTextItemClasses();
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

}  // namespace
