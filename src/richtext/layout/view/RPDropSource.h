// The selection of a rich view control offered to a drag: TRPDropSource renders the
// formats of the selection on request, TRPEnumFormatEtc lists them. The drag of the
// window host carries what the source renders; the control's document (the root
// TRichPaneRPData) owns the source while the drag lasts, so that a drop can tell that it
// came from its own control.
//
// Formats, in the order they are listed: the native format ("RichPane Format", its
// 4-byte length in front), "Rich Text Format", 8-bit text and UTF-16 text (plain text
// with lines of 80 characters), then CF_BITMAP when the selection is exactly one bitmap
// picture.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/base/Types.h"
#include "richtext/layout/RPClipboard.h"

class TGraphic;
class TCustomRPFormattedData;

// The storage a format is handed over in: global memory, a GDI object (a bitmap), an
// enhanced metafile.
inline constexpr uint32_t TYMED_HGLOBAL = 1, TYMED_GDI = 16, TYMED_ENHMF = 64;

// A format the source offers and the storage it comes in.
struct TRPFormatEtc {
  uint32_t Format = 0;
  uint32_t Tymed = TYMED_HGLOBAL;
  bool operator==(const TRPFormatEtc&) const = default;
};

// A position in the list of formats a selection offers (with its picture, or none).
class TRPEnumFormatEtc {
public:
  // graphic is the selected picture (not owned), nullptr for none.
  TRPEnumFormatEtc(const TGraphic* graphic, uint32_t index) : FGraphic(graphic), FIndex(index) {}
  // Up to count formats from the current position, which moves past them; fewer than
  // asked at the end of the list.
  std::vector<TRPFormatEtc> Next(uint32_t count);
  // Moves past count formats; false when fewer were left.
  bool Skip(uint32_t count);
  void Reset() { FIndex = 0; }
  TRPEnumFormatEtc Clone() const { return *this; }
  // The format at a position; nothing past the last.
  std::optional<TRPFormatEtc> FormatAt(uint32_t index) const;

private:
  const TGraphic* FGraphic;
  uint32_t FIndex;
};

// What a sink received, kept to be handed on later.
class TRPRenderedFormat : public IRPClipboard {
public:
  void SetText(const AnsiString& text) override { FText = text; }
  void SetUnicodeText(const WideString& text) override { FUnicodeText = text; }
  void SetGraphic(const TGraphic& graphic) override;
  void SetData(uint32_t format, const AnsiString& bytes) override;
  // Puts what was received into sink.
  void HandOn(IRPClipboard& sink) const;

private:
  std::optional<AnsiString> FText;
  std::optional<WideString> FUnicodeText;
  std::unique_ptr<TGraphic> FGraphic;
  std::vector<std::pair<uint32_t, AnsiString>> FData;
};

class TRPDropSource {
public:
  // The document whose selection is offered (the control's root document; not owned).
  explicit TRPDropSource(TCustomRPFormattedData& data) : FData(data) {}

  // The formats of the selection, from the first.
  TRPEnumFormatEtc EnumFormatEtc() const;
  // Whether format is one the selection offers (or the one prepared).
  bool QueryGetData(uint32_t format) const;
  // Renders format now and keeps it for the next GetData of that format, so that the
  // selection may change meanwhile; false when it cannot be rendered.
  bool PrepareData(uint32_t format);
  // Renders format into sink: a prepared format is handed out once and forgotten, later
  // requests render anew. False when the format is not offered or was not written.
  bool GetData(uint32_t format, IRPClipboard& sink);
  // Every offered format into sink, in order (what a drag carries).
  void GetAllData(IRPClipboard& sink);
  // Set by the control that took the drop when it was the control the drag left (it
  // moved the selection itself, so the drag's end deletes nothing).
  bool DroppedOnSource = false;

private:
  bool Render(uint32_t format, IRPClipboard& sink);
  TCustomRPFormattedData& FData;
  uint32_t FPreparedFormat = 0;
  std::unique_ptr<TRPRenderedFormat> FPrepared;
};
