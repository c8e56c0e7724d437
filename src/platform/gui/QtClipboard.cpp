// The clipboard over Qt's: text, pictures as images, registered formats as MIME data.
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/base/ClipboardFormats.h"
#include "platform/base/CodePages.h"
#include "platform/base/TextUtils.h"
#include "platform/graphics/Bitmap.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/QtClipboard.h"
#include "platform/gui/QtText.h"

namespace {

// The common MIME types of the formats that have one with the same bytes.
constexpr std::pair<const char*, const char*> CommonMime[] = {
    {"Rich Text Format", "text/rtf"},
    {"HTML Format", "text/html"},
};
// The type Qt gives a named Windows format.
const QString WindowsMimePrefix = QStringLiteral("application/x-qt-windows-mime;value=\"");
// The name of the format of a link.
constexpr char LinkFormatName[] = "UniformResourceLocator";
// The type of the bitmap files of CF_DIB.
const QString BitmapFileMime = QStringLiteral("image/bmp");
// The types of metafile files: the enhanced and the Windows form, each under its
// registered name and the older "x-" one that programs still offer.
constexpr struct {
  uint16_t Format;
  const char* Mime;
  const char* OlderMime;
} MetafileMime[] = {{CF_ENHMETAFILE, "image/emf", "image/x-emf"}, {CF_METAFILEPICT, "image/wmf", "image/x-wmf"}};

// The metafile format a MIME type carries; 0 for none.
uint32_t MetafileFormatOf(const QString& mime) {
  for (const auto& m : MetafileMime)
    if (mime == QLatin1String(m.Mime) || mime == QLatin1String(m.OlderMime)) return m.Format;
  return 0;
}

// The MIME type that carries a format's bytes: image/bmp for CF_DIB, the common type of
// a registered format that has one, else the type of a named Windows format; none for a
// number no name was registered under.
QString FormatMime(uint32_t format) {
  if (format == CF_DIB) return BitmapFileMime;
  for (const auto& m : MetafileMime)
    if (format == m.Format) return QString::fromLatin1(m.Mime);
  const AnsiString name = GetClipboardFormatName(format);
  if (name.empty()) return QString();
  for (const auto& [formatName, mime] : CommonMime)
    if (SameText(name, formatName)) return QString::fromLatin1(mime);
  return WindowsMimePrefix + QString::fromLatin1(name.c_str()) + QLatin1Char('"');
}

// The registered format a MIME type carries; 0 for a type of none.
uint32_t MimeFormat(const QString& mime) {
  if (const uint32_t metafile = MetafileFormatOf(mime)) return metafile;
  for (const auto& [formatName, type] : CommonMime)
    if (mime == QLatin1String(type)) return RegisterClipboardFormatA(formatName);
  if (mime.startsWith(WindowsMimePrefix) && mime.endsWith(QLatin1Char('"'))) {
    const QString name = mime.mid(WindowsMimePrefix.size(), mime.size() - WindowsMimePrefix.size() - 1);
    return RegisterClipboardFormatA(name.toLatin1().toStdString());
  }
  return 0;
}

AnsiString BytesOf(const QByteArray& bytes) { return AnsiString(bytes.constData(), static_cast<size_t>(bytes.size())); }

}  // namespace

std::vector<uint32_t> TMimeDataObject::Formats() const {
  std::vector<uint32_t> formats;
  const auto add = [&](uint32_t format) {
    if (format != 0 && std::find(formats.begin(), formats.end(), format) == formats.end()) formats.push_back(format);
  };
  for (const QString& mime : FData.formats()) add(MimeFormat(mime));
  if (!LinkURL().isEmpty()) add(RegisterClipboardFormatA(LinkFormatName));
  if (HasPlainText()) {
    add(CF_TEXT);
    add(CF_UNICODETEXT);
  }
  if (FData.hasImage()) add(CF_BITMAP);
  if (FData.hasFormat(BitmapFileMime)) add(CF_DIB);
  if (!GetFileList().empty()) add(CF_HDROP);
  return formats;
}

std::optional<AnsiString> TMimeDataObject::GetData(uint32_t format) const {
  if (format == CF_TEXT || format == CF_UNICODETEXT) {
    if (!HasPlainText()) return std::nullopt;
    const WideString text = FromQString(FData.text());
    return format == CF_TEXT ? WideToAnsi(text) : UnicodeTextBytes(text);
  }
  const QString mime = FormatMime(format);
  if (!mime.isEmpty() && FData.hasFormat(mime)) return BytesOf(FData.data(mime));
  for (const auto& m : MetafileMime)
    if (format == m.Format && FData.hasFormat(QLatin1String(m.OlderMime)))
      return BytesOf(FData.data(QLatin1String(m.OlderMime)));
  if (format != 0 && format == RegisterClipboardFormatA(LinkFormatName)) {
    const QString url = LinkURL();
    if (!url.isEmpty()) return WideToAnsi(FromQString(url));
  }
  return std::nullopt;
}

bool TMimeDataObject::GetBitmap(TBitmap& bitmap) const {
  if (!FData.hasImage()) return false;
  const QImage image = qvariant_cast<QImage>(FData.imageData());
  if (image.isNull()) return false;
  FromQImage(image, bitmap);
  return true;
}

std::vector<WideString> TMimeDataObject::GetFileList() const {
  std::vector<WideString> files;
  for (const QUrl& url : FData.urls())
    if (url.isLocalFile()) files.push_back(FromQString(url.toLocalFile()));
  return files;
}

bool TMimeDataObject::HasPlainText() const {
  // Qt offers the text of URLs as text too; only real text counts.
  for (const QString& mime : FData.formats())
    if (mime == QLatin1String("text/plain") || mime.startsWith(QLatin1String("text/plain;"))) return true;
  return false;
}

QString TMimeDataObject::LinkURL() const {
  for (const QUrl& url : FData.urls())
    if (!url.isLocalFile() && url.isValid()) return url.toString();
  return QString();
}

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
  if (!data.Files().empty()) {
    QList<QUrl> urls;
    for (const WideString& file : data.Files()) urls.push_back(QUrl::fromLocalFile(ToQString(file)));
    mime->setUrls(urls);
  }
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

std::unique_ptr<IDataObject> TClipboard::Contents() const {
  const QMimeData* data = QGuiApplication::clipboard()->mimeData();
  if (!data) return std::make_unique<TDataObject>();
  return std::make_unique<TMimeDataObject>(*data);
}

bool TClipboard::HasFormat(uint32_t format) const { return Contents()->HasFormat(format); }

WideString TClipboard::AsText() const { return GetClipboardText(); }

bool TClipboard::GetGraphic(TGraphic& graphic) const {
  const QImage image = QGuiApplication::clipboard()->image();
  if (image.isNull()) return false;
  TBitmap bitmap;
  FromQImage(image, bitmap);
  graphic.LoadFromClipboardFormat(CF_BITMAP, bitmap, HPALETTE{});
  return true;
}

AnsiString TClipboard::GetBuffer(uint32_t format) const { return Contents()->GetData(format).value_or(AnsiString()); }
