// The clipboard over Qt's: text, pictures as images, registered formats as MIME data.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <cstring>
#include <utility>

#include "platform/base/ClipboardFormats.h"
#include "platform/base/TextUtils.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/QtClipboard.h"
#include "platform/gui/QtText.h"

namespace {

// The MIME type that carries a registered format's bytes: the common types of the
// formats that have one with the same bytes, else the type Qt gives a named Windows
// format; none for a number no name was registered under.
QString FormatMime(uint32_t format) {
  static constexpr std::pair<const char*, const char*> Common[] = {
      {"Rich Text Format", "text/rtf"},
      {"HTML Format", "text/html"},
  };
  const AnsiString name = GetClipboardFormatName(format);
  if (name.empty()) return QString();
  for (const auto& [formatName, mime] : Common)
    if (SameText(name, formatName)) return QString::fromLatin1(mime);
  return QStringLiteral("application/x-qt-windows-mime;value=\"%1\"").arg(QString::fromLatin1(name.c_str()));
}

}  // namespace

QImage ToQImage(const TBitmap& bitmap) {
  TBitmap rgb;
  rgb.Assign(bitmap);
  rgb.SetPixelFormat(pf24bit);
  QImage image(rgb.Width(), rgb.Height(), QImage::Format_BGR888);
  for (int32_t y = 0; y < rgb.Height(); ++y)
    std::memcpy(image.scanLine(y), rgb.ScanLine(y), static_cast<size_t>(3 * rgb.Width()));
  return image;
}

void FromQImage(const QImage& source, TBitmap& bitmap) {
  const QImage image = source.convertToFormat(QImage::Format_BGR888);
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(image.width(), image.height());
  for (int32_t y = 0; y < bitmap.Height(); ++y)
    std::memcpy(bitmap.ScanLine(y), image.constScanLine(y), static_cast<size_t>(3 * bitmap.Width()));
}

void SetClipboardText(const WideString& text) { QGuiApplication::clipboard()->setText(ToQString(text)); }
WideString GetClipboardText() { return FromQString(QGuiApplication::clipboard()->text()); }

QMimeData* ToMimeData(const TDataObject& data) {
  auto mime = std::make_unique<QMimeData>();
  if (const std::optional<WideString> text = data.Text()) mime->setText(ToQString(*text));
  if (data.Bitmap()) mime->setImageData(ToQImage(*data.Bitmap()));
  for (const auto& [format, bytes] : data.Buffers())
    if (const QString type = FormatMime(format); !type.isEmpty())
      mime->setData(type, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return mime.release();
}

void TClipboard::Clear() {
  FPending = TDataObject();
  FEmptied = true;
  PutUnlessOpen();
}

void TClipboard::PutUnlessOpen() {
  if (FOpenCount != 0) return;
  if (!FPending.Empty())
    QGuiApplication::clipboard()->setMimeData(ToMimeData(FPending));
  else if (FEmptied)
    QGuiApplication::clipboard()->clear();
  FPending = TDataObject();
  FEmptied = false;
}

bool TClipboard::HasFormat(uint32_t format) const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return false;
  if (format == CF_TEXT || format == CF_UNICODETEXT) return data->hasText();
  if (format == CF_BITMAP) return data->hasImage();
  const QString type = FormatMime(format);
  return !type.isEmpty() && data->hasFormat(type);
}

WideString TClipboard::AsText() const { return GetClipboardText(); }

bool TClipboard::GetGraphic(TGraphic& graphic) const {
  const QImage image = QGuiApplication::clipboard()->image();
  if (image.isNull()) return false;
  TBitmap bitmap;
  FromQImage(image, bitmap);
  graphic.LoadFromClipboardFormat(CF_BITMAP, bitmap, HPALETTE{});
  return true;
}

AnsiString TClipboard::GetBuffer(uint32_t format) const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  const QString type = FormatMime(format);
  if (!data || type.isEmpty() || !data->hasFormat(type)) return {};
  const QByteArray bytes = data->data(type);
  return AnsiString(bytes.constData(), static_cast<size_t>(bytes.size()));
}
