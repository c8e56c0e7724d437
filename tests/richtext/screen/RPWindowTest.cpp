// A rich view on screen, driven with QtTest on Qt's offscreen platform: scrolling by the
// bar, the wheel and the keys; selecting by dragging and by double click; hyperlinks,
// their cursor and the jump event; the keyboard focus through hyperlinks and table
// cells; hints; the popup menu; resizing.
#include <gtest/gtest.h>

#include <QTimer>
#include <QToolTip>
#include <QWheelEvent>

#include "RPScreenTestData.h"
#include "platform/gui/Menus.h"

namespace {

// The viewport's pixels compared row by row with another grab of it.
bool RowsEqual(const QImage& a, int32_t rowA, const QImage& b, int32_t rowB) {
  for (int32_t x = 0; x < a.width(); ++x)
    if (a.pixel(x, rowA) != b.pixel(x, rowB)) return false;
  return true;
}

TEST(RPWindowTest, TheWindowShowsTheDocumentWithItsBorderAndBars) {
  TScreenView view;
  view.AddLines(40);
  view.Pane.Format();
  view.Show();
  EXPECT_EQ(view.Pane.Host(), &view.Pane.Window());
  // The vertical bar takes its width from the client area, which the control knows.
  EXPECT_TRUE(view.Pane.Window().ScrollBarShown(sbVertical));
  EXPECT_FALSE(view.Pane.Window().ScrollBarShown(sbHorizontal));
  EXPECT_EQ(view.Pane.ClientWidth(), view.Viewport()->width());
  EXPECT_EQ(view.Pane.ClientHeight(), 200);
  EXPECT_LT(view.Pane.ClientWidth(), 300);
  EXPECT_EQ(view.Area().verticalScrollBar()->maximum(), view.Pane.VScrollMax() - view.Pane.VScrollPage());
  // Text is drawn in the window's colour.
  const QImage image = view.Grab();
  EXPECT_EQ(image.pixel(1, 1) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_GT(CountColor(image, QRect(0, 0, 60, 20), qRgb(0, 0, 0)), 10);
}

TEST(RPWindowTest, ScrollingByTheBarTheWheelAndTheKeys) {
  TScreenView view;
  view.AddLines(60);
  view.Pane.Format();
  view.Show();
  const QImage top = view.Grab();
  QScrollBar& bar = *view.Area().verticalScrollBar();
  const int32_t step = view.Pane.VSmallStep();

  bar.triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(view.Pane.VScrollPos(), 1);
  EXPECT_EQ(bar.value(), 1);
  bar.triggerAction(QAbstractSlider::SliderPageStepAdd);
  const int32_t page = view.Pane.VScrollPage();
  EXPECT_EQ(view.Pane.VScrollPos(), 1 + page);
  bar.triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_EQ(view.Pane.VScrollPos(), 0);
  // Dragging the thumb: the view follows while Tracking.
  bar.setSliderDown(true);
  bar.setSliderPosition(7);
  EXPECT_EQ(view.Pane.VScrollPos(), 7);
  bar.setSliderDown(false);

  // Shifted pixels: what was row y + 7 steps down is row y now.
  QApplication::processEvents();
  const QImage scrolled = view.Grab();
  for (int32_t y = 0; y < 100; y += 9) EXPECT_TRUE(RowsEqual(scrolled, y, top, y + 7 * step)) << y;

  // The wheel: two notches down of 3 lines each, at 2 units per 3 lines.
  QWheelEvent wheel(QPointF(50, 50), view.Viewport()->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -240),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view.Viewport(), &wheel);
  EXPECT_EQ(view.Pane.VScrollPos(), 7 + 2 * 2 * QApplication::wheelScrollLines() / 3);

  // Keys.
  view.Pane.Window().SetFocus();
  QTest::keyClick(&view.Area(), Qt::Key_Home);
  EXPECT_EQ(view.Pane.VScrollPos(), 0);
  QTest::keyClick(&view.Area(), Qt::Key_PageDown);
  EXPECT_EQ(view.Pane.VScrollPos(), page);
  QTest::keyClick(&view.Area(), Qt::Key_Down);
  EXPECT_EQ(view.Pane.VScrollPos(), page + 1);
  QTest::keyClick(&view.Area(), Qt::Key_End);
  EXPECT_EQ(view.Pane.VScrollPos(), view.Pane.VScrollMax() - page);
  EXPECT_EQ(bar.value(), bar.maximum());
}

TEST(RPWindowTest, DraggingAcrossLinesSelectsThemAndPaintsTheSelection) {
  TScreenView view;
  view.AddLines(5);
  view.Pane.Format();
  view.Show();
  int32_t selected = 0;
  view.Pane.OnSelect = [&](TObject*) { ++selected; };
  const QPoint from = view.At(0, 0), to = view.At(2, 60);
  QTest::mousePress(view.Viewport(), Qt::LeftButton, {}, from);
  EXPECT_TRUE(view.Pane.Window().TimerRunning(RPScrollTimerId));
  QTest::mouseMove(view.Viewport(), view.At(1, 10));
  QTest::mouseMove(view.Viewport(), to);
  QTest::mouseRelease(view.Viewport(), Qt::LeftButton, {}, to);
  EXPECT_FALSE(view.Pane.Window().TimerRunning(RPScrollTimerId));
  EXPECT_EQ(view.Selection(), std::make_tuple(0, 1, 2, 7));  // "line 1" .. "line 3" whole
  EXPECT_GE(selected, 1);
  // The selection shows in the highlight colour (navy) on the three lines, not the
  // fourth.
  QApplication::processEvents();
  const QImage image = view.Grab();
  const QRgb highlight = qRgb(0, 0, 128);
  for (int32_t line = 0; line < 4; ++line) {
    const TRPDrawLineInfo& d = *view.Data().DrawItems[line];
    const int32_t count = CountColor(image, QRect(d.Left, d.Top, d.Width, d.Height), highlight);
    if (line < 3)
      EXPECT_GT(count, d.Width * d.Height / 3) << line;
    else
      EXPECT_EQ(count, 0);
  }
}

// A double click selects the word; the third click of a triple click is an ordinary press
// and starts a new selection where it is.
TEST(RPWindowTest, DoubleAndTripleClicks) {
  TScreenView view;
  view.Data().AddAnsiText("alpha beta gamma", PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Show();
  WideString clicked;
  view.Pane.OnRPDblClick = [&](TCustomRichPane*, const WideString& word, int32_t) { clicked = word; };
  const TRPDrawLineInfo& d = *view.Data().DrawItems[0];
  // Inside "beta": the x of its third character.
  const QPoint inBeta = view.At(0, view.Data().GetCaretXs(0)[8]);
  QTest::mouseDClick(view.Viewport(), Qt::LeftButton, {}, inBeta);
  EXPECT_EQ(view.Selection(), std::make_tuple(0, 7, 0, 11));
  EXPECT_EQ(clicked, u"beta");
  QApplication::processEvents();
  const QImage image = view.Grab();
  EXPECT_GT(CountColor(image, QRect(d.Left, d.Top, d.Width, d.Height), qRgb(0, 0, 128)), 20);

  QTest::mouseClick(view.Viewport(), Qt::LeftButton, {}, inBeta);
  EXPECT_FALSE(view.Pane.SelectionExists());
}

// With the style sheet's paragraph mode a drag selects whole paragraphs; a press left of
// the margin selects whole lines.
TEST(RPWindowTest, SelectingParagraphsAndLines) {
  TScreenView view(120, 200);
  view.Data().AddAnsiText("a paragraph long enough to wrap over lines", PlainStyle, TRPTag(), 0);
  view.Data().AddAnsiText("next", PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Show();
  ASSERT_GT(view.Data().DrawItems.Count(), 3);
  view.Style.SelectionMode = rpsmParagraph;
  const QPoint p = view.At(1, 3);
  QTest::mousePress(view.Viewport(), Qt::LeftButton, {}, p);
  QTest::mouseMove(view.Viewport(), QPoint(p.x() + 4, p.y()));
  QTest::mouseRelease(view.Viewport(), Qt::LeftButton, {}, QPoint(p.x() + 4, p.y()));
  const int32_t length = view.Data().GetItemLength(0);
  EXPECT_EQ(view.Selection(), std::make_tuple(0, 1, 0, length + 1));

  view.Style.SelectionMode = rpsmChar;
  const QPoint margin(2, view.At(1).y());
  QTest::mouseMove(view.Viewport(), margin);
  EXPECT_EQ(view.Viewport()->cursor().shape(), Qt::BitmapCursor);
  QTest::mouseClick(view.Viewport(), Qt::LeftButton, {}, margin);
  const TRPDrawLineInfo& second = *view.Data().DrawItems[1];
  EXPECT_EQ(view.Selection(), std::make_tuple(0, second.Offs, 0, second.Offs + second.Length));
}

TEST(RPWindowTest, AClickOnAJumpFiresOnJumpWithItsNumber) {
  TScreenView view;
  view.Data().AddAnsiText("plain ", PlainStyle, TRPTag(), 0);
  view.Data().AddAnsiText("first link", LinkStyle, TRPTag(), -1);
  view.Data().AddAnsiText(" and ", PlainStyle, TRPTag(), -1);
  view.Data().AddAnsiText("second link", LinkStyle, TRPTag(), -1);
  view.Pane.Format();
  view.Show();
  view.Data().FirstJumpNo = 100;
  std::vector<int32_t> jumps, hovered;
  view.Pane.OnJump = [&](TCustomRichPane*, int32_t id) { jumps.push_back(id); };
  view.Pane.OnRPMouseMove = [&](TCustomRichPane*, int32_t id) { hovered.push_back(id); };
  QTest::mouseMove(view.Viewport(), view.At(3, 5));
  EXPECT_EQ(view.Viewport()->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(view.Viewport(), Qt::LeftButton, {}, view.At(3, 5));
  QTest::mouseMove(view.Viewport(), view.At(0, 5));
  EXPECT_NE(view.Viewport()->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseMove(view.Viewport(), view.At(1, 5));
  QTest::mouseClick(view.Viewport(), Qt::LeftButton, {}, view.At(1, 5));
  EXPECT_EQ(jumps, (std::vector<int32_t>{101, 100}));
  EXPECT_EQ(hovered, (std::vector<int32_t>{101, -1, 100}));
}

// Tab goes through the two hyperlinks, then the hyperlinks of the table's cells, then on
// to the next control; Shift+Tab comes back to the last cell's; Enter follows the
// focused one.
TEST(RPWindowTest, TabThroughJumpsAndTableCells) {
  TScreenView view;
  TRichPaneRPData& data = view.Data();
  data.AddAnsiText("one", LinkStyle, TRPTag(), 0);
  data.AddAnsiText(" ", PlainStyle, TRPTag(), -1);
  data.AddAnsiText("two", LinkStyle, TRPTag(), -1);
  auto table = std::make_unique<TRPTableItemInfo>(1, 2, &data);
  TRPTableItemInfo& t = *table;
  data.AddItem("", std::move(table));
  for (int32_t c = 0; c < 2; ++c) {
    TRPTableCellData& cell = *t.GetCell(0, c);
    cell.Clear();
    cell.AddAnsiText(c == 0 ? "cell link" : "other", LinkStyle, TRPTag(), 0);
  }
  view.Pane.Format();
  view.Show();
  std::vector<int32_t> jumps;
  view.Pane.OnJump = [&](TCustomRichPane*, int32_t id) { jumps.push_back(id); };
  view.Next->SetFocus();
  QTest::keyClick(view.Next->Widget(), Qt::Key_Backtab);
  ASSERT_TRUE(view.Pane.Window().Focused());
  // Arrived backwards: the last cell's hyperlink.
  EXPECT_EQ(data.FocusedItemData, t.GetCell(0, 1));
  EXPECT_EQ(t.GetFocusedCol(), 1);

  view.Pane.Window().SetFocus();
  view.Data().UnfocusItem();
  struct TStop {
    TCustomRPFormattedData* Data;
    int32_t ItemNo, Row, Col;
  } stops[] = {{&data, 0, -1, -1}, {&data, 2, -1, -1}, {t.GetCell(0, 0), 0, 0, 0}, {t.GetCell(0, 1), 0, 0, 1}};
  for (const TStop& stop : stops) {
    QTest::keyClick(&view.Area(), Qt::Key_Tab);
    EXPECT_EQ(data.FocusedItemData, stop.Data);
    EXPECT_EQ(data.FocusedItemNo, stop.ItemNo);
    EXPECT_EQ(t.GetFocusedRow(), stop.Row);
    EXPECT_EQ(t.GetFocusedCol(), stop.Col);
  }
  // The focus rectangle around the focused cell's hyperlink, in black dots.
  QApplication::processEvents();
  const QImage image = view.Grab();
  const TRPDrawLineInfo& link = *t.GetCell(0, 1)->DrawItems[0];
  const QPoint at = view.At(0, 0, t.GetCell(0, 1));
  const QRect frame(at.x() - 1, at.y() - link.Height / 2 - 1, link.Width + 2, 1);
  EXPECT_GT(CountColor(image, frame, qRgb(0, 0, 0)), link.Width / 4);
  QTest::keyClick(&view.Area(), Qt::Key_Return);
  EXPECT_EQ(jumps, std::vector<int32_t>{3});

  QTest::keyClick(&view.Area(), Qt::Key_Tab);
  EXPECT_TRUE(view.Next->Focused());
  EXPECT_EQ(data.FocusedItemData, nullptr);
  EXPECT_EQ(t.GetFocusedRow(), -1);
}

TEST(RPWindowTest, ResizingLaysTheDocumentOutAgain) {
  TScreenView view;
  view.Data().AddAnsiText("several words that will wrap when the window gets narrow", PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Show();
  const int32_t wide = view.Data().DrawItems.Count();
  const int32_t wideHeight = view.Data().DocumentHeight;
  view.Pane.Window().SetBounds(10, 10, 102, 202);
  QApplication::processEvents();
  EXPECT_EQ(view.Pane.ClientWidth(), 100);
  EXPECT_GT(view.Data().DrawItems.Count(), wide);
  EXPECT_GT(view.Data().DocumentHeight, wideHeight);
  // The grab shows text on the lines the layout made.
  const QImage image = view.Grab();
  EXPECT_EQ(image.width(), 100);
  const TRPDrawLineInfo& last = *view.Data().DrawItems[view.Data().DrawItems.Count() - 1];
  EXPECT_GT(CountColor(image, QRect(last.Left, last.Top, last.Width, last.Height), qRgb(0, 0, 0)), 5);
}

TEST(RPWindowTest, ItemHintsShowAsTooltips) {
  TScreenView view;
  view.Pane.Options |= rpoShowItemHints;
  view.Data().AddAnsiText("with a hint", PlainStyle, TRPTag(), 0);
  view.Data().GetItem(0)->Hint = "the hint";
  view.Data().AddAnsiText("without", PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Show();
  QTest::mouseMove(view.Viewport(), view.At(0, 5));
  EXPECT_EQ(view.Pane.Window().ActiveHint(), u"the hint");
  EXPECT_EQ(QToolTip::text(), QString("the hint"));
  QTest::mouseMove(view.Viewport(), view.At(1, 5));
  EXPECT_EQ(view.Pane.Window().ActiveHint(), u"");
  EXPECT_TRUE(QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 2000));
}

TEST(RPWindowTest, ARightClickReportsTheWordAndShowsThePopupMenu) {
  TScreenView view;
  view.Data().AddAnsiText("right here", PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Show();
  TPopupMenu menu(nullptr);
  view.Pane.SetPopupMenu(&menu);
  int32_t popped = 0;
  menu.OnPopup = [&](TObject*) { ++popped; };
  WideString word;
  view.Pane.OnRPRightClick = [&](TCustomRichPane*, const WideString& w, int32_t, int32_t, int32_t) { word = w; };
  QTimer::singleShot(0, [] {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  });
  QTest::mouseClick(view.Viewport(), Qt::RightButton, {}, view.At(0, 3));
  EXPECT_EQ(word, u"right");
  EXPECT_EQ(popped, 1);
  EXPECT_EQ(menu.PopupComponent(), &view.Pane.Window());
}

}  // namespace

namespace {

// Inside a table the word under the mouse and the drop caret come from the cell.
TEST(RPWindowTest, WordsAndTheDropCaretInsideTableCells) {
  TScreenView view;
  TRichPaneRPData& data = view.Data();
  data.AddAnsiText("above", PlainStyle, TRPTag(), 0);
  auto table = std::make_unique<TRPTableItemInfo>(1, 2, &data);
  TRPTableItemInfo& t = *table;
  data.AddItem("", std::move(table));
  TRPTableCellData& cell = *t.GetCell(0, 1);
  cell.Clear();
  cell.AddAnsiText("inner words", PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Show();
  WideString clicked;
  view.Pane.OnRPDblClick = [&](TCustomRichPane*, const WideString& word, int32_t) { clicked = word; };
  const QPoint inWords = view.At(0, cell.GetCaretXs(0)[8], &cell);
  QTest::mouseDClick(view.Viewport(), Qt::LeftButton, {}, inWords);
  EXPECT_EQ(clicked, u"words");

  data.SetDragDropCaret(inWords.x(), inWords.y());
  const auto& caret = data.GetDragDropCaret();
  EXPECT_EQ(caret.Data, &cell);
  EXPECT_EQ(caret.ItemNo, 0);
  EXPECT_EQ(caret.ItemOffs, 9);
  data.EraseDragDropCaret();
}

}  // namespace
