// Data in several formats, gathered for the clipboard or a drag.
#include "platform/gui/Clipbrd.h"

#include "platform/base/CodePages.h"
#include "platform/graphics/Bitmap.h"

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
