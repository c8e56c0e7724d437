// A rich view on a form, shown on Qt's offscreen platform, for the tests that drive its
// window with QtTest.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractScrollArea>
#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <memory>
#include <string>

#include "platform/gui/Forms.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"
#include "richtext/screen/RichPane.h"
#include "richtext/table/RPTableCell.h"
#include "richtext/table/RPTableItem.h"

// Text styles of a new style sheet: 0 plain, 1 heading, 2 subheading, 3 keywords, 4 and 5
// hyperlinks.
inline constexpr int32_t PlainStyle = 0, HeadingStyle = 1, LinkStyle = 4;

struct TScreenView {
  // A form with the view (client area width x height, a single border around it) and a
  // button after it in the tab order.
  explicit TScreenView(int32_t width = 300, int32_t height = 200) {
    Style.TextStyles()[0]->FontName = "Arial";
    Pane.SetStyle(&Style);
    Form.SetBounds(0, 0, width + 20, height + 60);
    Pane.Window().SetParent(&Form);
    Pane.Window().SetBounds(10, 10, width + 2, height + 2);
    Next = CreateOwned<TButton>(Form);
    Next->SetCaption(u"Next");
    Next->SetParent(&Form);
    Next->SetBounds(10, height + 20, 80, 24);
  }
  ~TScreenView() { Form.Hide(); }

  TRichPaneRPData& Data() { return Pane.RPData(); }
  void Show() {
    Form.Show();
    if (!QTest::qWaitForWindowExposed(Form.Widget())) ADD_FAILURE() << "the form never showed";
    QApplication::processEvents();
  }
  QAbstractScrollArea& Area() { return *qobject_cast<QAbstractScrollArea*>(Pane.Window().Widget()); }
  QWidget* Viewport() { return Area().viewport(); }
  QImage Grab() { return Viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  // A client point inside draw item drawNo of a document (the view's own by default), dx
  // pixels right of its left edge, halfway down.
  QPoint At(int32_t drawNo, int32_t dx = 2, TCustomRPFormattedData* data = nullptr) {
    TCustomRPFormattedData& d = data ? *data : static_cast<TCustomRPFormattedData&>(Data());
    const TRPDrawLineInfo& item = *d.DrawItems[drawNo];
    const TPoint origin = d.GetOrigin(), own = Data().GetOrigin();
    return QPoint(item.Left + origin.X - own.X + dx - Data().GetHOffs(),
                  item.Top + origin.Y - own.Y + item.Height / 2 - Data().GetVOffs());
  }
  std::tuple<int32_t, int32_t, int32_t, int32_t> Selection() {
    int32_t startNo = 0, startOffs = 0, endNo = 0, endOffs = 0;
    Data().GetSelectionRange(startNo, startOffs, endNo, endOffs);
    return {startNo, startOffs, endNo, endOffs};
  }
  // Lines of plain text, one paragraph each.
  void AddLines(int32_t count, const std::string& prefix = "line") {
    for (int32_t i = 0; i < count; ++i)
      Data().AddAnsiText(prefix + " " + std::to_string(i + 1), PlainStyle, TRPTag(), 0);
  }

  TForm Form{nullptr};
  TRPStyle Style{nullptr};
  TRichPane Pane{nullptr};
  TButton* Next = nullptr;
};

// Pixels of an image in a rectangle that have a colour.
inline int32_t CountColor(const QImage& image, const QRect& area, QRgb color) {
  int32_t count = 0;
  for (int32_t y = std::max(area.top(), 0); y <= std::min(area.bottom(), image.height() - 1); ++y)
    for (int32_t x = std::max(area.left(), 0); x <= std::min(area.right(), image.width() - 1); ++x)
      if ((image.pixel(x, y) & 0xFFFFFF) == (color & 0xFFFFFF)) ++count;
  return count;
}
