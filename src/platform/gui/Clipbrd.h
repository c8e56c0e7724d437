// Data in several formats at once, as the system clipboard holds it and as a drag
// carries it, and the system clipboard.
//
// Formats: CF_TEXT (8-bit text in the ANSI code page), CF_UNICODETEXT, CF_BITMAP (a
// picture, which a graphic saves itself as and loads itself from), CF_DIB (a picture as
// the bytes of a bitmap file, as other programs offer it), CF_HDROP (a list of files)
// and the formats a program registers by name with their bytes. When both text formats
// are given, readers get the Unicode text; 8-bit text alone is converted from the ANSI
// code page. The metafile formats have numbers, so that a program can ask for them, but
// no reader here: no clipboard or drop ever offers them.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/ClipboardFormats.h"
#include "platform/base/Types.h"
#include "platform/graphics/Graphic.h"

// Data offered for reading: what the clipboard holds or what a drop carries.
class IDataObject {
public:
  virtual ~IDataObject() = default;
  // The formats offered, each once.
  virtual std::vector<uint32_t> Formats() const = 0;
  bool HasFormat(uint32_t format) const;
  // The bytes of a format: CF_TEXT in the ANSI code page, CF_UNICODETEXT as UTF-16LE
  // code units (neither with a terminating zero), CF_DIB as a bitmap file, a link
  // ("UniformResourceLocator") as 8-bit text, a registered format as its bytes; nothing
  // when the format is not offered or has no bytes (CF_BITMAP, CF_HDROP).
  virtual std::optional<AnsiString> GetData(uint32_t format) const = 0;
  // The CF_BITMAP picture as a 24-bit bitmap; false (bitmap untouched) when none.
  virtual bool GetBitmap(TBitmap& bitmap) const = 0;
  // The CF_HDROP files, full paths; empty when none.
  virtual std::vector<WideString> GetFileList() const = 0;
};

// Puts UTF-16 text on the clipboard (as plain text in every format that readers ask for).
void SetClipboardText(const WideString& text);
WideString GetClipboardText();

// Text as the bytes of CF_UNICODETEXT: UTF-16LE code units.
AnsiString UnicodeTextBytes(WideStringView text);

// Formats gathered for the clipboard or a drag (and read back, as a drop would).
class TDataObject : public IDataObject {
public:
  void SetTextBuf(const AnsiString& text) { FText = text; }
  void SetUnicodeText(const WideString& text) { FUnicodeText = text; }
  // The picture in the format it saves itself in (SaveToClipboardFormat).
  void Assign(const TGraphic& graphic);
  // The bytes of a registered format.
  void SetBuffer(uint32_t format, const AnsiString& bytes) { FBuffers[format] = bytes; }
  void SetFileList(std::vector<WideString> files) { FFiles = std::move(files); }
  bool Empty() const { return !FText && !FUnicodeText && !FBitmap && FBuffers.empty() && FFiles.empty(); }

  // The text readers get, when any.
  std::optional<WideString> Text() const;
  const TBitmap* Bitmap() const { return FBitmap.get(); }
  const std::map<uint32_t, AnsiString>& Buffers() const { return FBuffers; }
  const std::vector<WideString>& Files() const { return FFiles; }

  // Read back: either text format stands for both, as on the clipboard; CF_DIB is a
  // buffer put under that number.
  std::vector<uint32_t> Formats() const override;
  std::optional<AnsiString> GetData(uint32_t format) const override;
  bool GetBitmap(TBitmap& bitmap) const override;
  std::vector<WideString> GetFileList() const override { return FFiles; }

private:
  std::optional<AnsiString> FText;
  std::optional<WideString> FUnicodeText;
  std::shared_ptr<TBitmap> FBitmap;
  std::map<uint32_t, AnsiString> FBuffers;
  std::vector<WideString> FFiles;
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
  // What the clipboard holds now, for reading (valid until the clipboard changes).
  std::unique_ptr<IDataObject> Contents() const;

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
