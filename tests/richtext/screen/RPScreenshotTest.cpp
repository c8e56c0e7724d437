// A screenshot of a rich view on a real (virtual) X display: a document with styles, a
// hyperlink, a table, a picture and a selected range, saved as rich-view.png beside the
// test and checked for what it shows. Skipped on other platforms.
#include <gtest/gtest.h>

#include <QGuiApplication>

#include "RPScreenTestData.h"
#include "platform/graphics/Bitmap.h"
#include "unicode/controls/ScreenGrab.h"

namespace {

// A picture of colour bands with a frame.
std::unique_ptr<TBitmap> BandsPicture() {
  auto picture = std::make_unique<TBitmap>();
  picture->SetPixelFormat(pf24bit);
  picture->SetSize(96, 60);
  const TColor bands[] = {RGB(220, 60, 40), RGB(240, 170, 30), RGB(60, 160, 80), RGB(40, 110, 200)};
  for (int32_t y = 0; y < picture->Height(); ++y)
    for (int32_t x = 0; x < picture->Width(); ++x) {
      const bool frame = x == 0 || y == 0 || x == picture->Width() - 1 || y == picture->Height() - 1;
      picture->SetPixelColor(x, y, frame ? clBlack : bands[(x + y / 2) / 26 % 4]);
    }
  return picture;
}

TEST(Screenshot, RichView) {
  if (QGuiApplication::platformName() != "xcb")
    GTEST_FAIL() << "screenshots need an X display: run the Screenshots test entry, which starts one";
  TScreenView view(460, 250);
  TRPStyle& style = view.Style;
  style.TextStyles()[HeadingStyle]->Size = 16;
  TRichPaneRPData& data = view.Data();
  data.AddAnsiText("The rich view on screen", HeadingStyle, TRPTag(), 1);
  data.AddAnsiText("A document in several styles: plain text, ", PlainStyle, TRPTag(), 0);
  data.AddAnsiText("a subheading style", 2, TRPTag(), -1);
  data.AddAnsiText(", ", PlainStyle, TRPTag(), -1);
  data.AddAnsiText("keywords in italics", 3, TRPTag(), -1);
  data.AddAnsiText(" and ", PlainStyle, TRPTag(), -1);
  data.AddAnsiText("a hyperlink", LinkStyle, TRPTag(), -1);
  data.AddAnsiText(". Part of it is selected.", PlainStyle, TRPTag(), -1);
  auto table = std::make_unique<TRPTableItemInfo>(3, 3, &data);
  TRPTableItemInfo& t = *table;
  t.SetBorderWidth(1);
  t.SetCellBorderWidth(1);
  t.SetBorderStyle(rptbColor);
  t.SetCellBorderStyle(rptbColor);
  t.SetCellPadding(3);
  const char* cells[3][3] = {{"Format", "Reads", "Writes"}, {"Native", "yes", "yes"}, {"RTF", "yes", "yes"}};
  for (int32_t r = 0; r < 3; ++r)
    for (int32_t c = 0; c < 3; ++c) {
      TRPTableCellData& cell = *t.GetCell(r, c);
      cell.Clear();
      cell.AddAnsiText(cells[r][c], r == 0 ? 2 : PlainStyle, TRPTag(), 0);
      if (r == 0) cell.SetCellColor(RGB(225, 235, 250));
    }
  data.AddItem("", std::move(table));
  data.AddAnsiText("A picture: ", PlainStyle, TRPTag(), 0);
  data.AddPicture("bands", BandsPicture(), -1, rpvaBaseline);
  view.Pane.Format();
  view.Pane.SetSelectionBounds(1, 15, 4, 9);  // "several styles: plain text, a subheading style, keywords"
  view.Show();

  const QImage image = GrabScreenshot(*view.Form.Widget(), "rich-view");
  ASSERT_FALSE(image.isNull());
  // The selection in the highlight colour, the table's header colour and the picture's
  // bands show where the layout put them.
  const QPoint origin = view.Viewport()->mapTo(view.Form.Widget(), QPoint(0, 0));
  const TRPDrawLineInfo& selected = *data.DrawItems[data.GetItemFirstDrawItem(2)];
  EXPECT_GT(
      CountColor(image, QRect(origin.x() + selected.Left, origin.y() + selected.Top, selected.Width, selected.Height),
                 qRgb(0, 0, 128)),
      selected.Width * selected.Height / 3);
  EXPECT_GT(CountColor(image, image.rect(), qRgb(225, 235, 250)), 500);
  EXPECT_GT(CountColor(image, image.rect(), qRgb(60, 160, 80)), 500);
}

}  // namespace
