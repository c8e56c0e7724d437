// Data in several formats at once, as the system clipboard holds it and as a drag
// carries it, and the system clipboard.
//
// Formats: CF_TEXT (8-bit text in the ANSI code page), CF_UNICODETEXT, CF_BITMAP (a
// picture, which a graphic saves itself as and loads itself from) and the formats a
// program registers by name with their bytes. When both text formats are given, readers
// get the Unicode text; 8-bit text alone is converted from the ANSI code page.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>

#include "platform/base/Types.h"
#include "platform/graphics/Graphic.h"

inline constexpr uint16_t CF_TEXT = 1;
inline constexpr uint16_t CF_UNICODETEXT = 13;

// Puts UTF-16 text on the clipboard (as plain text in every format that readers ask for).
void SetClipboardText(const WideString& text);
WideString GetClipboardText();

// Formats gathered for the clipboard or a drag.
class TDataObject {
public:
  void SetTextBuf(const AnsiString& text) { FText = text; }
  void SetUnicodeText(const WideString& text) { FUnicodeText = text; }
  // The picture in the format it saves itself in (SaveToClipboardFormat).
  void Assign(const TGraphic& graphic);
  // The bytes of a registered format.
  void SetBuffer(uint32_t format, const AnsiString& bytes) { FBuffers[format] = bytes; }
  bool Empty() const { return !FText && !FUnicodeText && !FBitmap && FBuffers.empty(); }

  // The text readers get, when any.
  std::optional<WideString> Text() const;
  const TBitmap* Bitmap() const { return FBitmap.get(); }
  const std::map<uint32_t, AnsiString>& Buffers() const { return FBuffers; }

private:
  std::optional<AnsiString> FText;
  std::optional<WideString> FUnicodeText;
  std::shared_ptr<TBitmap> FBitmap;
  std::map<uint32_t, AnsiString> FBuffers;
};

// The system clipboard. Between Open and Close the formats put go onto the clipboard
// together, replacing what it held, when the outermost Close is reached; a put outside
// Open and Close is a clipboard of its own.
class TClipboard {
public:
  void Open();
  void Close();
  // Empties the clipboard, or (while open) the formats put so far.
  void Clear();
  void SetTextBuf(const AnsiString& text);
  void SetUnicodeText(const WideString& text);
  void Assign(const TGraphic& graphic);
  void SetBuffer(uint32_t format, const AnsiString& bytes);

  bool HasFormat(uint32_t format) const;
  // The text on the clipboard (either text format).
  WideString AsText() const;
  // The picture on the clipboard loaded into graphic (LoadFromClipboardFormat with
  // CF_BITMAP); false when the clipboard holds none.
  bool GetGraphic(TGraphic& graphic) const;
  // The bytes of a registered format; empty when the clipboard has none.
  AnsiString GetBuffer(uint32_t format) const;

private:
  // Puts the pending formats unless the clipboard is open (an emptied clipboard stays
  // empty).
  void PutUnlessOpen();
  int32_t FOpenCount = 0;
  bool FEmptied = false;
  TDataObject FPending;
};

// The application's clipboard.
TClipboard& Clipboard();
