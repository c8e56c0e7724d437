// Copying from a rich view on screen to the system clipboard: the selected text in the
// formats the options ask for, a picture selected alone, the formats other libraries
// write, OnCopy; PNG pictures to the clipboard and back.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QMimeData>

#include "RPScreenTestData.h"
#include "imaging/png/PngCodec.h"
#include "platform/base/ClipboardFormats.h"
#include "platform/base/Streams.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/Clipbrd.h"
#include "richtext/interchange/RPExportClipboard.h"
#include "richtext/layout/RPClipboard.h"
#include "richtext/model/RPClipboardFormats.h"

namespace {

QString ClipboardText() { return QGuiApplication::clipboard()->text(); }

std::unique_ptr<TPNGObject> LoadPng(const char* name) {
  auto png = std::make_unique<TPNGObject>();
  TFileStream stream(AnsiString(QF_TEST_DATA_DIR "/fuzz/png_image/") + name, fmOpenRead);
  png->LoadFromStream(stream);
  return png;
}

// A graphic drawn on a 24-bit bitmap.
std::unique_ptr<TBitmap> AsBitmap(const TGraphic& graphic) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->Assign(&graphic);
  bitmap->SetPixelFormat(pf24bit);
  return bitmap;
}

TEST(RPCopyTest, TheSelectionGoesToTheClipboardAsText) {
  TScreenView view;
  view.Data().AddAnsiText("first line", PlainStyle, TRPTag(), 0);
  view.Data().AddAnsiText("second line", PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Show();
  view.Pane.Window().SetFocus();
  SetClipboardText(u"before");
  // Nothing selected: nothing copied.
  QTest::keyClick(&view.Area(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), QString("before"));

  int32_t copies = 0;
  view.Pane.OnCopy = [&](TObject*) { ++copies; };
  view.Pane.SetSelectionBounds(0, 7, 1, 7);
  QTest::keyClick(&view.Area(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), QString("line\r\nsecond"));
  EXPECT_EQ(copies, 1);
  view.Pane.SetSelectionBounds(1, 8, 1, 12);
  QTest::keyClick(&view.Area(), Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(ClipboardText(), QString("line"));
  // With Alt it is no copy.
  view.Pane.SetSelectionBounds(0, 1, 0, 6);
  QTest::keyClick(&view.Area(), Qt::Key_C, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_EQ(ClipboardText(), QString("line"));
  EXPECT_EQ(copies, 2);
}

// Text the ANSI code page (1251) cannot hold (CJK, Greek, accented Latin) reaches the
// clipboard whole: copied text goes as UTF-16 text with the default options, with
// Unicode text asked for, and with Unicode text alone.
TEST(RPCopyTest, CopiedTextKeepsWhatTheAnsiCodePageCannotHold) {
  TScreenView view;
  view.Style.TextStyles()[PlainStyle]->Unicode = true;
  const WideString text = u"\u041a\u043d\u0438\u0433\u0430 \u65e5\u672c \u03b1\u03b2 \u00e9\u00fc\u0142";
  view.Data().AddTextW(text, PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Show();
  view.Pane.SelectAll();
  ASSERT_TRUE(view.Pane.CopySelection());
  EXPECT_EQ(ClipboardText(), QString::fromUtf16(text.c_str()));
  view.Pane.Options |= rpoAutoCopyUnicodeText;
  ASSERT_TRUE(view.Pane.CopySelection());
  EXPECT_EQ(ClipboardText(), QString::fromUtf16(text.c_str()));
  view.Pane.Options &= ~rpoAutoCopyText;
  SetClipboardText(u"before");
  ASSERT_TRUE(view.Pane.CopySelection());
  EXPECT_EQ(ClipboardText(), QString::fromUtf16(text.c_str()));
  view.Pane.Options &= ~(rpoAutoCopyText | rpoAutoCopyUnicodeText | rpoAutoCopyRPF | rpoAutoCopyImage | rpoAutoCopyRTF);
  EXPECT_FALSE(view.Pane.CopySelection());
}

// A selection of just one picture puts the picture on the clipboard beside the text.
TEST(RPCopyTest, APictureSelectedAloneGoesAsAPicture) {
  TScreenView view;
  view.Data().AddAnsiText("before", PlainStyle, TRPTag(), 0);
  std::unique_ptr<TPNGObject> png = LoadPng("rgb8_paeth.png");
  const std::unique_ptr<TBitmap> expectedBitmap = AsBitmap(*png);
  const TBitmap& expected = *expectedBitmap;
  view.Data().AddPicture("picture", std::move(png), -1, rpvaBaseline);
  view.Pane.Format();
  view.Show();
  view.Pane.SetSelectionBounds(1, 0, 1, 1);
  ASSERT_NE(view.Pane.GetSelectedImage(), nullptr);
  ASSERT_TRUE(view.Pane.CopySelection());
  const QImage image = QGuiApplication::clipboard()->image();
  ASSERT_EQ(image.width(), expected.Width());
  ASSERT_EQ(image.height(), expected.Height());
  for (int32_t y = 0; y < image.height(); ++y)
    for (int32_t x = 0; x < image.width(); ++x) {
      const TColor c = expected.PixelColor(x, y);
      ASSERT_EQ(image.pixel(x, y) & 0xFFFFFF, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)) & 0xFFFFFF);
    }
  // Text and a picture: no picture.
  view.Pane.SetSelectionBounds(0, 1, 1, 1);
  EXPECT_EQ(view.Pane.GetSelectedImage(), nullptr);
}

// The formats of other libraries come through the writer slots, in their places among the
// text; OnCopy adds its own while the clipboard is open.
TEST(RPCopyTest, OtherFormatsComeThroughTheWritersAndOnCopy) {
  TScreenView view;
  view.Data().AddAnsiText("text", PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Show();
  view.Pane.SelectAll();
  const uint32_t own = RegisterClipboardFormatA("Quirefold Test Format");
  view.Pane.OnCopy = [own](TObject*) { Clipboard().SetBuffer(own, "own bytes"); };
  TRPCopyFormatWriters& writers = RPCopyFormatWriters();
  writers.RTF = [](TCustomRPFormattedData&, TColor, const TRPBackground*, IRPClipboard& sink) {
    sink.SetData(RPClipboardFormats().RTF, "{\\rtf1 text}");
    return true;
  };
  ASSERT_TRUE(view.Pane.CopySelection());
  writers.RTF = nullptr;
  const QMimeData& data = *QGuiApplication::clipboard()->mimeData();
  EXPECT_EQ(data.text(), QString("text"));
  EXPECT_EQ(data.data("text/rtf"), QByteArray("{\\rtf1 text}"));
  EXPECT_TRUE(Clipboard().HasFormat(own));
  EXPECT_EQ(Clipboard().GetBuffer(own), "own bytes");
}

// With the interchange library's writers, the selection reaches the system clipboard as
// RTF and as HTML too.
TEST(RPCopyTest, RtfAndHtmlReachTheSystemClipboard) {
  TScreenView view;
  view.Data().AddAnsiText("plain words", PlainStyle, TRPTag(), 0);
  view.Pane.Format();
  view.Show();
  view.Pane.SetSelectionBounds(0, 7, 0, 12);
  RegisterExportCopyFormats();
  const bool copied = view.Pane.CopySelection();
  RPCopyFormatWriters().RTF = nullptr;
  RPCopyFormatWriters().HTML = nullptr;
  ASSERT_TRUE(copied);
  const QMimeData& data = *QGuiApplication::clipboard()->mimeData();
  EXPECT_EQ(data.text(), QString("words"));
  const QByteArray rtf = data.data("text/rtf");
  EXPECT_TRUE(rtf.startsWith("{\\rtf1")) << rtf.toStdString();
  EXPECT_TRUE(rtf.endsWith(" words}")) << rtf.toStdString();
  const QByteArray html = data.data("text/html");
  EXPECT_TRUE(html.contains(">words</font></p>")) << html.toStdString();
  EXPECT_FALSE(html.contains("plain"));
}

// The clipboard takes a PNG image as a bitmap and gives it back to a PNG image.
TEST(RPCopyTest, PngPicturesToTheClipboardAndBack) {
  for (const char* name : {"rgb8_paeth.png", "palette4_trns.png", "gray16_3x2.png"}) {
    SCOPED_TRACE(name);
    std::unique_ptr<TPNGObject> png = LoadPng(name);
    const std::unique_ptr<TBitmap> drawn = AsBitmap(*png);
    Clipboard().Assign(*png);
    EXPECT_TRUE(Clipboard().HasFormat(CF_BITMAP));
    TPNGObject back;
    ASSERT_TRUE(Clipboard().GetGraphic(back));
    ASSERT_EQ(back.Width(), png->Width());
    ASSERT_EQ(back.Height(), png->Height());
    const std::unique_ptr<TBitmap> again = AsBitmap(back);
    for (int32_t y = 0; y < drawn->Height(); ++y)
      for (int32_t x = 0; x < drawn->Width(); ++x) ASSERT_EQ(again->PixelColor(x, y), drawn->PixelColor(x, y));
  }
  // Only bitmaps are pictures here.
  TPNGObject png;
  const TBitmap empty;
  EXPECT_THROW(png.LoadFromClipboardFormat(CF_TEXT, empty, HPALETTE{}), EInvalidGraphic);
}

}  // namespace
