#include "richtext/layout/view/RPDropSource.h"

#include "platform/base/ClipboardFormats.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPPictureItems.h"

namespace {

// The formats before the picture's, in their order.
constexpr uint32_t TextFormatCount = 4;

}  // namespace

std::optional<TRPFormatEtc> TRPEnumFormatEtc::FormatAt(uint32_t index) const {
  const TRPClipboardFormats& formats = RPClipboardFormats();
  switch (index) {
    case 0:
      return TRPFormatEtc{formats.RichPane, TYMED_HGLOBAL};
    case 1:
      return TRPFormatEtc{formats.RTF, TYMED_HGLOBAL};
    case 2:
      return TRPFormatEtc{CF_TEXT, TYMED_HGLOBAL};
    case 3:
      return TRPFormatEtc{CF_UNICODETEXT, TYMED_HGLOBAL};
    default:
      break;
  }
  // Bitmaps alone: this platform has no metafile pictures.
  if (index == TextFormatCount && dynamic_cast<const TBitmap*>(FGraphic)) return TRPFormatEtc{CF_BITMAP, TYMED_GDI};
  return std::nullopt;
}

std::vector<TRPFormatEtc> TRPEnumFormatEtc::Next(uint32_t count) {
  std::vector<TRPFormatEtc> result;
  while (result.size() < count) {
    const std::optional<TRPFormatEtc> format = FormatAt(FIndex);
    if (!format) break;
    result.push_back(*format);
    ++FIndex;
  }
  return result;
}

bool TRPEnumFormatEtc::Skip(uint32_t count) { return Next(count).size() == count; }

void TRPRenderedFormat::SetGraphic(const TGraphic& graphic) { FGraphic = CopyRPGraphic(graphic); }

void TRPRenderedFormat::SetData(uint32_t format, const AnsiString& bytes) { FData.emplace_back(format, bytes); }

void TRPRenderedFormat::HandOn(IRPClipboard& sink) const {
  if (FText) sink.SetText(*FText);
  if (FUnicodeText) sink.SetUnicodeText(*FUnicodeText);
  if (FGraphic) sink.SetGraphic(*FGraphic);
  for (const auto& [format, bytes] : FData) sink.SetData(format, bytes);
}

TRPEnumFormatEtc TRPDropSource::EnumFormatEtc() const { return TRPEnumFormatEtc(FData.GetSelectedImage(), 0); }

bool TRPDropSource::QueryGetData(uint32_t format) const {
  if (FPrepared && format == FPreparedFormat) return true;
  TRPEnumFormatEtc formats = EnumFormatEtc();
  for (const TRPFormatEtc& offered : formats.Next(TextFormatCount + 1))
    if (offered.Format == format) return true;
  return false;
}

bool TRPDropSource::Render(uint32_t format, IRPClipboard& sink) {
  if (!QueryGetData(format)) return false;
  const TRPClipboardFormats& formats = RPClipboardFormats();
  const TRPCopyFormatWriters& writers = RPCopyFormatWriters();
  if (format == CF_TEXT) return FData.CopyText(sink);
  if (format == CF_UNICODETEXT) return FData.CopyTextW(sink);
  if (format == CF_BITMAP) return FData.CopyImage(sink);
  const TRPBackground* background = FData.GetBackground();
  if (format == formats.RichPane)
    return writers.NativeFormat && writers.NativeFormat(FData, FData.GetColor(), background, sink);
  if (format == formats.RTF) return writers.RTF && writers.RTF(FData, FData.GetColor(), background, sink);
  return false;
}

bool TRPDropSource::PrepareData(uint32_t format) {
  auto rendered = std::make_unique<TRPRenderedFormat>();
  FPrepared.reset();
  if (!Render(format, *rendered)) return false;
  FPrepared = std::move(rendered);
  FPreparedFormat = format;
  return true;
}

bool TRPDropSource::GetData(uint32_t format, IRPClipboard& sink) {
  if (FPrepared && format == FPreparedFormat) {
    const std::unique_ptr<TRPRenderedFormat> prepared = std::move(FPrepared);
    prepared->HandOn(sink);
    return true;
  }
  return Render(format, sink);
}

void TRPDropSource::GetAllData(IRPClipboard& sink) {
  TRPEnumFormatEtc formats = EnumFormatEtc();
  for (const TRPFormatEtc& format : formats.Next(TextFormatCount + 1)) {
    try {
      GetData(format.Format, sink);
    } catch (const std::exception&) {
      // The drag goes on with the formats that could be written.
    }
  }
}
