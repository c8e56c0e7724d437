// A screenshot of the editor on a real (virtual) X display: text typed through key
// events in Latin, Cyrillic and Greek (the fonts of the test machine have no CJK
// glyphs), a table, a selection made with Shift and the arrows and the caret at its end;
// saved as rich-edit.png beside the test and checked for what it shows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QTest>

#include "platform/gui/Forms.h"
#include "richtext/edit/RichPaneEdit.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"
#include "unicode/controls/ScreenGrab.h"

namespace {

void Key(QWidget& widget, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(&widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(&widget, &release);
}

void Type(QWidget& widget, const QString& text) {
  for (const QChar ch : text) Key(widget, Qt::Key_unknown, Qt::NoModifier, QString(ch));
}

TEST(Screenshot, Editor) {
  if (QGuiApplication::platformName() != "xcb")
    GTEST_FAIL() << "screenshots need an X display: run the Screenshots test entry, which starts one";
  // The caret stays on for the grab.
  QApplication::setCursorFlashTime(0);
  TRPStyle style(nullptr);
  style.TextStyles()[0]->FontName = "Arial";
  style.TextStyles()[0]->Charset = ANSI_CHARSET;
  style.TextStyles()[1]->Size = 14;
  const int32_t unicode = style.TextStyles().Count();
  TFontInfo& unicodeStyle = *style.TextStyles().Add();
  unicodeStyle.FontName = "Arial";
  unicodeStyle.Unicode = true;
  style.DefUnicodeStyle = unicode;
  TForm form(nullptr);
  form.SetBounds(0, 0, 480, 270);
  TRichPaneEdit editor(nullptr);
  editor.SetStyle(&style);
  editor.Window().SetParent(&form);
  editor.Window().SetBounds(10, 10, 460, 250);
  TRPEditRPData& data = editor.EditData();
  data.Clear();
  data.AddAnsiText("The editor", 1, TRPTag(), 1);
  auto table = std::make_unique<TRPTableItemInfo>(2, 3, &data);
  TRPTableItemInfo& t = *table;
  t.SetBorderWidth(1);
  t.SetCellBorderWidth(1);
  t.SetBorderStyle(rptbColor);
  t.SetCellBorderStyle(rptbColor);
  t.SetCellPadding(3);
  const char* cells[2][3] = {{"Key", "Does", "Undo"}, {"Ctrl+Z", "undoes", "Ctrl+Y"}};
  for (int32_t r = 0; r < 2; ++r)
    for (int32_t c = 0; c < 3; ++c) {
      TRPTableCellData& cell = *t.GetCell(r, c);
      cell.Clear();
      cell.AddAnsiText(cells[r][c], 0, TRPTag(), 0);
      if (r == 0) cell.SetCellColor(RGB(225, 235, 250));
    }
  data.AddItem("", std::move(table));
  data.AddAnsiText("", 0, TRPTag(), 0);
  editor.Format();
  form.Show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form.Widget()));
  form.Widget()->activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(form.Widget()));
  editor.Window().SetFocus();
  QApplication::processEvents();
  QWidget& widget = *editor.Window().Widget();
  Key(widget, Qt::Key_End, Qt::ControlModifier);
  Type(widget, "Typed through key events: Latin, ");
  Type(widget, QString::fromUtf16(u"кириллица, ελληνικά and a selection with the caret after it."));
  for (int i = 0; i < 34; ++i) Key(widget, Qt::Key_Left);
  for (int i = 0; i < 9; ++i) Key(widget, Qt::Key_Right, Qt::ShiftModifier);
  QApplication::processEvents();
  ASSERT_TRUE(editor.Window().CaretShown());

  const QImage image = GrabScreenshot(*form.Widget(), "rich-edit");
  ASSERT_FALSE(image.isNull());
  const QPoint origin = editor.Window().Widget()->mapTo(form.Widget(), QPoint(0, 0));
  int selected = 0, header = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      selected += (image.pixel(x, y) & 0xFFFFFF) == qRgb(0, 0, 128) - 0xFF000000u;
      header += (image.pixel(x, y) & 0xFFFFFF) == qRgb(225, 235, 250) - 0xFF000000u;
    }
  EXPECT_GT(selected, 200);
  EXPECT_GT(header, 500);
  // The caret: a dark bar on the white background at the selection's end.
  const TRect caret = editor.Window().CaretRect();
  const QPoint bar = origin + QPoint(caret.Left, (caret.Top + caret.Bottom) / 2);
  // (the window's frame may shift the grab by a pixel or two)
  int black = 0;
  for (int dx = -3; dx <= 3; ++dx) black += (image.pixel(bar.x() + dx, bar.y()) & 0xFFFFFF) == 0;
  EXPECT_GE(black, 1);
}

}  // namespace
