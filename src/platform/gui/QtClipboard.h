// Gathered formats (Clipbrd.h) as Qt's MIME data, for the clipboard and for drags.
#pragma once

#include <QImage>
#include <QMimeData>

#include "platform/gui/Clipbrd.h"

class TBitmap;

// A new MIME data object; the caller owns it.
QMimeData* ToMimeData(const TDataObject& data);

// MIME data read as the formats of the platform (Clipbrd.h): text/rtf and text/html are
// "Rich Text Format" and "HTML Format", a named Windows format its name, image/bmp
// CF_DIB, local file URLs CF_HDROP and another URL a link ("UniformResourceLocator").
// The data is not owned and must outlive the reader.
class TMimeDataObject : public IDataObject {
public:
  explicit TMimeDataObject(const QMimeData& data) : FData(data) {}
  std::vector<uint32_t> Formats() const override;
  std::optional<AnsiString> GetData(uint32_t format) const override;
  bool GetBitmap(TBitmap& bitmap) const override;
  std::vector<WideString> GetFileList() const override;

private:
  // Whether the data holds text of its own (not only the text of its URLs).
  bool HasPlainText() const;
  // The first URL that is no local file, empty when none.
  QString LinkURL() const;
  const QMimeData& FData;
};
// A bitmap as a Qt image, and a Qt image into a 24-bit bitmap.
QImage ToQImage(const TBitmap& bitmap);
void FromQImage(const QImage& source, TBitmap& bitmap);
