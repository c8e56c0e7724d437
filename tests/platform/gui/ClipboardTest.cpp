// The system clipboard: formats put together between Open and Close, 8-bit text in the
// ANSI code page, pictures as images, registered formats as their MIME types.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QUrl>

#include "platform/base/ClipboardFormats.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/QtClipboard.h"

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

namespace {

bool Has(const std::vector<uint32_t>& formats, uint32_t format) {
  return std::find(formats.begin(), formats.end(), format) != formats.end();
}

}  // namespace

// MIME data from elsewhere read as the platform's formats.
TEST(ClipboardTest, MimeDataReadAsFormats) {
  QMimeData mime;
  mime.setData(QStringLiteral("text/rtf"), QByteArray("{\\rtf1 x}"));
  mime.setData(QStringLiteral("application/x-qt-windows-mime;value=\"RichPane Format\""),
               QByteArray("\x03\0\0\0abc", 7));
  mime.setData(QStringLiteral("image/bmp"), QByteArray("BM..."));
  mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.txt")), QUrl(QStringLiteral("http://example.org/p?q=1")),
                QUrl::fromLocalFile(QStringLiteral("/tmp/\u041a.rtf"))});
  mime.setText(QStringLiteral("\u041a\u00e9"));
  const TMimeDataObject data(mime);
  const std::vector<uint32_t> formats = data.Formats();
  const uint32_t rtf = RegisterClipboardFormatA("Rich Text Format");
  const uint32_t native = RegisterClipboardFormatA("RichPane Format");
  const uint32_t link = RegisterClipboardFormatA("UniformResourceLocator");
  for (const uint32_t format :
       {rtf, native, link, uint32_t{CF_TEXT}, uint32_t{CF_UNICODETEXT}, uint32_t{CF_DIB}, uint32_t{CF_HDROP}})
    EXPECT_TRUE(Has(formats, format)) << format;
  EXPECT_FALSE(Has(formats, CF_BITMAP));
  EXPECT_FALSE(data.HasFormat(CF_ENHMETAFILE));
  EXPECT_FALSE(data.HasFormat(CF_METAFILEPICT));
  EXPECT_EQ(data.GetData(rtf), AnsiString("{\\rtf1 x}"));
  EXPECT_EQ(data.GetData(native), AnsiString("\x03\0\0\0abc", 7));
  EXPECT_EQ(data.GetData(CF_DIB), AnsiString("BM..."));
  EXPECT_EQ(data.GetData(link), AnsiString("http://example.org/p?q=1"));
  // 8-bit text in the ANSI code page (1251 has no e acute: the platform's default
  // character stands for it); UTF-16 text as little-endian code units.
  EXPECT_EQ(data.GetData(CF_TEXT), AnsiString("\xCA?"));
  EXPECT_EQ(data.GetData(CF_UNICODETEXT), AnsiString("\x1A\x04\xE9\x00", 4));
  EXPECT_EQ(data.GetFileList(), (std::vector<WideString>{u"/tmp/a b.txt", u"/tmp/\u041a.rtf"}));
  EXPECT_FALSE(data.GetData(CF_BITMAP));
  TBitmap bitmap;
  EXPECT_FALSE(data.GetBitmap(bitmap));
}

// Gathered data keeps its files and reads back as a drop would.
// Metafiles travel as image/emf and image/wmf, or under the older "x-" types.
TEST(ClipboardTest, MetafilesAsTheirImageTypes) {
  const struct {
    const char* Mime;
    uint16_t Format;
  } cases[] = {{"image/emf", CF_ENHMETAFILE},
               {"image/x-emf", CF_ENHMETAFILE},
               {"image/wmf", CF_METAFILEPICT},
               {"image/x-wmf", CF_METAFILEPICT}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Mime);
    QMimeData mime;
    mime.setData(QString::fromLatin1(c.Mime), QByteArray("metafile bytes"));
    const TMimeDataObject data(mime);
    EXPECT_TRUE(Has(data.Formats(), c.Format));
    EXPECT_EQ(data.GetData(c.Format), AnsiString("metafile bytes"));
  }
}

TEST(ClipboardTest, GatheredDataReadsBackThroughMime) {
  TDataObject gathered;
  gathered.SetUnicodeText(u"\u65e5");
  gathered.SetFileList({u"/tmp/x.txt"});
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(2, 1);
  bitmap.SetPixelColor(1, 0, clLime);
  gathered.Assign(bitmap);
  EXPECT_TRUE(gathered.HasFormat(CF_TEXT));
  EXPECT_EQ(gathered.GetData(CF_UNICODETEXT), AnsiString("\xE5\x65", 2));
  const std::unique_ptr<QMimeData> mime(ToMimeData(gathered));
  const TMimeDataObject data(*mime);
  EXPECT_EQ(data.GetFileList(), std::vector<WideString>{u"/tmp/x.txt"});
  EXPECT_EQ(data.GetData(CF_UNICODETEXT), AnsiString("\xE5\x65", 2));
  TBitmap read;
  ASSERT_TRUE(data.GetBitmap(read));
  EXPECT_EQ(read.Width(), 2);
  EXPECT_EQ(read.PixelColor(1, 0), clLime);
}
