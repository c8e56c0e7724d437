// The drop source of a rich view's drag: the formats it lists and renders, a format
// rendered ahead handed out once, and the control's document owning the source while
// the drag lasts.
#include <gtest/gtest.h>

#include "platform/base/ClipboardFormats.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/view/RPDropSource.h"
#include "richtext/layout/view/RPViewTestData.h"
#include "richtext/model/RPClipboardFormats.h"

namespace {

struct TDragView : TTestRichPane {
  TDragView() {
    Pane.SetHost(&Host);
    Pane.SetBounds(302, 202);
    Pane.RPData().AddAnsiText("dragged words", 0, TRPTag(), 0);
    Pane.Format();
    Pane.SetSelectionBounds(0, 1, 0, 8);
  }
  TRecordingHost Host;
};

std::vector<uint32_t> FormatsOf(TRPEnumFormatEtc formats) {
  std::vector<uint32_t> result;
  for (const TRPFormatEtc& f : formats.Next(10)) result.push_back(f.Format);
  return result;
}

TEST(RPDropSourceTest, TheFormatsInTheirOrder) {
  const TRPClipboardFormats& named = RPClipboardFormats();
  const std::vector<uint32_t> text{named.RichPane, named.RTF, CF_TEXT, CF_UNICODETEXT};
  TBitmap bitmap;
  bitmap.SetSize(2, 2);
  EXPECT_EQ(FormatsOf(TRPEnumFormatEtc(nullptr, 0)), text);
  std::vector<uint32_t> withPicture = text;
  withPicture.push_back(CF_BITMAP);
  EXPECT_EQ(FormatsOf(TRPEnumFormatEtc(&bitmap, 0)), withPicture);

  // Next, Skip, Reset and Clone move through the list.
  TRPEnumFormatEtc formats(&bitmap, 0);
  EXPECT_EQ(formats.Next(2).size(), 2u);
  EXPECT_TRUE(formats.Skip(1));
  TRPEnumFormatEtc clone = formats.Clone();
  const std::vector<TRPFormatEtc> rest = formats.Next(5);
  ASSERT_EQ(rest.size(), 2u);
  EXPECT_EQ(rest[0], (TRPFormatEtc{CF_UNICODETEXT, TYMED_HGLOBAL}));
  EXPECT_EQ(rest[1], (TRPFormatEtc{CF_BITMAP, TYMED_GDI}));
  EXPECT_FALSE(formats.Skip(1));
  EXPECT_EQ(clone.Next(1)[0].Format, CF_UNICODETEXT);
  formats.Reset();
  EXPECT_EQ(formats.Next(1)[0].Format, named.RichPane);
}

TEST(RPDropSourceTest, APreparedFormatIsHandedOutOnce) {
  TDragView view;
  TRPDropSource source(view.Pane.RPData());
  EXPECT_TRUE(source.QueryGetData(CF_UNICODETEXT));
  EXPECT_FALSE(source.QueryGetData(CF_BITMAP));
  ASSERT_TRUE(source.PrepareData(CF_UNICODETEXT));
  // The selection changes after the format was rendered: the prepared text is the old one.
  view.Pane.SetSelectionBounds(0, 9, 0, 14);
  TRecordingClipboard first, second;
  ASSERT_TRUE(source.GetData(CF_UNICODETEXT, first));
  EXPECT_EQ(first.UnicodeText, u"dragged");
  ASSERT_TRUE(source.GetData(CF_UNICODETEXT, second));
  EXPECT_EQ(second.UnicodeText, u"words");
  TRecordingClipboard text;
  ASSERT_TRUE(source.GetData(CF_TEXT, text));
  EXPECT_EQ(text.Text, "words");
  // A format the selection does not offer is refused.
  EXPECT_FALSE(source.PrepareData(CF_BITMAP));
  EXPECT_FALSE(source.GetData(CF_HDROP, text));
}

TEST(RPDropSourceTest, TheControlsDocumentOwnsTheSourceWhileTheDragLasts) {
  TDragView view;
  TRichPaneRPData& data = view.Pane.RPData();
  EXPECT_EQ(data.DropSource(), nullptr);
  ASSERT_TRUE(data.InitDragging());
  TRPDropSource* source = data.DropSource();
  ASSERT_NE(source, nullptr);
  EXPECT_TRUE(data.InitDragging());
  EXPECT_EQ(data.DropSource(), source);
  data.DoneDragging();
  EXPECT_EQ(data.DropSource(), nullptr);
  view.Pane.Options |= rpoDisallowDrag;
  EXPECT_FALSE(data.InitDragging());
  EXPECT_EQ(data.DropSource(), nullptr);

  // A drag out carries the source's formats (the text ones here: no writer of the other
  // formats is installed in this library's tests) and ends with the source gone.
  view.Pane.Options &= ~rpoDisallowDrag;
  data.StartDrag();
  EXPECT_EQ(view.Host.Drags, 1);
  EXPECT_EQ(view.Host.DragData.Formats, (std::vector<std::string>{"text", "unicode"}));
  EXPECT_EQ(view.Host.DragData.UnicodeText, u"dragged");
  EXPECT_EQ(data.DropSource(), nullptr);
}

}  // namespace
