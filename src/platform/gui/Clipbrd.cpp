// Data in several formats, gathered for the clipboard or a drag.
#include "platform/gui/Clipbrd.h"

#include <algorithm>

#include "platform/base/CodePages.h"
#include "platform/graphics/Bitmap.h"

bool IDataObject::HasFormat(uint32_t format) const {
  const std::vector<uint32_t> formats = Formats();
  return std::find(formats.begin(), formats.end(), format) != formats.end();
}

AnsiString UnicodeTextBytes(WideStringView text) {
  AnsiString bytes;
  bytes.reserve(2 * text.size());
  for (const WideChar c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

void TDataObject::Assign(const TGraphic& graphic) {
  uint16_t format = 0;
  std::unique_ptr<TBitmap> data;
  HPALETTE palette{};
  graphic.SaveToClipboardFormat(format, data, palette);
  if (format == CF_BITMAP && data) FBitmap = std::move(data);
}

std::optional<WideString> TDataObject::Text() const {
  if (FUnicodeText) return FUnicodeText;
  if (FText) return AnsiToWide(*FText);
  return std::nullopt;
}

std::vector<uint32_t> TDataObject::Formats() const {
  std::vector<uint32_t> formats;
  for (const auto& [format, bytes] : FBuffers) formats.push_back(format);
  if (FText || FUnicodeText) {
    formats.push_back(CF_TEXT);
    formats.push_back(CF_UNICODETEXT);
  }
  if (FBitmap) formats.push_back(CF_BITMAP);
  if (!FFiles.empty()) formats.push_back(CF_HDROP);
  return formats;
}

std::optional<AnsiString> TDataObject::GetData(uint32_t format) const {
  if (format == CF_TEXT) {
    if (FText) return FText;
    if (FUnicodeText) return WideToAnsi(*FUnicodeText);
    return std::nullopt;
  }
  if (format == CF_UNICODETEXT) {
    const std::optional<WideString> text = Text();
    if (!text) return std::nullopt;
    return UnicodeTextBytes(*text);
  }
  const auto found = FBuffers.find(format);
  if (found == FBuffers.end()) return std::nullopt;
  return found->second;
}

bool TDataObject::GetBitmap(TBitmap& bitmap) const {
  if (!FBitmap) return false;
  bitmap.Assign(*FBitmap);
  return true;
}

TClipboard& Clipboard() {
  static TClipboard clipboard;
  return clipboard;
}

void TClipboard::Open() { ++FOpenCount; }

void TClipboard::Close() {
  if (FOpenCount == 0) return;
  --FOpenCount;
  PutUnlessOpen();
}

void TClipboard::SetTextBuf(const AnsiString& text) {
  FPending.SetTextBuf(text);
  PutUnlessOpen();
}

void TClipboard::SetUnicodeText(const WideString& text) {
  FPending.SetUnicodeText(text);
  PutUnlessOpen();
}

void TClipboard::Assign(const TGraphic& graphic) {
  FPending.Assign(graphic);
  PutUnlessOpen();
}

void TClipboard::SetBuffer(uint32_t format, const AnsiString& bytes) {
  FPending.SetBuffer(format, bytes);
  PutUnlessOpen();
}
