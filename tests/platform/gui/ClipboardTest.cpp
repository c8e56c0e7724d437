// The system clipboard: formats put together between Open and Close, 8-bit text in the
// ANSI code page, pictures as images, registered formats as their MIME types.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/base/ClipboardFormats.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/Clipbrd.h"

namespace {

const QMimeData& Data() { return *QGuiApplication::clipboard()->mimeData(); }

TEST(ClipboardTest, FormatsPutWhileOpenGoTogetherAtClose) {
  SetClipboardText(u"old");
  TClipboard& clipboard = Clipboard();
  clipboard.Open();
  clipboard.Clear();
  clipboard.SetTextBuf("abc");
  const uint32_t format = RegisterClipboardFormatA("Quirefold Clipboard Test");
  clipboard.SetBuffer(format, AnsiString("a\0b", 3));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("old"));  // not yet
  clipboard.Open();                                                 // nested
  clipboard.Close();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString("old"));
  clipboard.Close();
  EXPECT_EQ(clipboard.AsText(), u"abc");
  EXPECT_TRUE(clipboard.HasFormat(CF_TEXT));
  EXPECT_TRUE(clipboard.HasFormat(format));
  EXPECT_EQ(clipboard.GetBuffer(format), AnsiString("a\0b", 3));
  EXPECT_FALSE(clipboard.HasFormat(CF_BITMAP));
  // Emptied while open and closed without formats: empty.
  clipboard.Open();
  clipboard.Clear();
  clipboard.Close();
  EXPECT_FALSE(clipboard.HasFormat(CF_TEXT));
  EXPECT_FALSE(clipboard.HasFormat(format));
}

// 8-bit text is read in the ANSI code page; Unicode text wins over it.
TEST(ClipboardTest, TextFormats) {
  TClipboard& clipboard = Clipboard();
  clipboard.SetTextBuf("\xCA\xED\xE8\xE3\xE0");  // "Книга" in code page 1251
  EXPECT_EQ(clipboard.AsText(), u"\u041a\u043d\u0438\u0433\u0430");
  clipboard.Open();
  clipboard.SetTextBuf("ansi");
  clipboard.SetUnicodeText(u"\u65e5\u672c");
  clipboard.Close();
  EXPECT_EQ(clipboard.AsText(), u"\u65e5\u672c");
}

TEST(ClipboardTest, RegisteredFormatsHaveTheirMimeTypes) {
  struct TCase {
    const char* Name;
    const char* Mime;
  } cases[] = {
      {"Rich Text Format", "text/rtf"},
      {"HTML Format", "text/html"},
      {"UniformResourceLocator", "application/x-qt-windows-mime;value=\"UniformResourceLocator\""},
      {"RichPane Format", "application/x-qt-windows-mime;value=\"RichPane Format\""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Clipboard().SetBuffer(RegisterClipboardFormatA(c.Name), "bytes");
    EXPECT_EQ(Data().data(c.Mime), QByteArray("bytes"));
  }
  // A number no name has is no format of the clipboard.
  EXPECT_FALSE(Clipboard().HasFormat(0xBFFF));
}

TEST(ClipboardTest, APictureGoesAsAnImageAndComesBackAsABitmap) {
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(3, 2);
  bitmap.SetPixelColor(0, 0, clRed);
  bitmap.SetPixelColor(2, 1, clBlue);
  Clipboard().Assign(bitmap);
  const QImage image = QGuiApplication::clipboard()->image();
  ASSERT_EQ(image.size(), QSize(3, 2));
  EXPECT_EQ(image.pixel(0, 0) & 0xFFFFFF, 0xFF0000u);
  EXPECT_EQ(image.pixel(2, 1) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(image.pixel(1, 0) & 0xFFFFFF, 0xFFFFFFu);
  TBitmap back;
  ASSERT_TRUE(Clipboard().GetGraphic(back));
  EXPECT_EQ(back.Width(), 3);
  EXPECT_EQ(back.PixelColor(0, 0), clRed);
  EXPECT_EQ(back.PixelColor(2, 1), clBlue);
  SetClipboardText(u"no picture");
  EXPECT_FALSE(Clipboard().GetGraphic(back));
}

}  // namespace
