// Copying the selection of a formatted document: plain text, the selected picture and,
// through the writers of the interchange library, the native format, RTF and HTML.
#include "platform/base/LittleEndian.h"
#include "platform/base/Streams.h"
#include "richtext/layout/RPDocumentView.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPException.h"
#include "richtext/model/RPPictureItems.h"

namespace {

// The width of a line of the plain text that copying writes.
constexpr int32_t CopyLineWidth = 80;

AnsiString StreamBytes(TMemoryStream& stream) {
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

}  // namespace

TRPCopyFormatWriters& RPCopyFormatWriters() {
  static TRPCopyFormatWriters writers;
  return writers;
}

bool TCustomRPFormattedData::CopyText(IRPClipboard& sink) {
  TMemoryStream stream;
  if (!SaveTextToStream(WideString(), stream, CopyLineWidth, true, false, false, false)) return false;
  sink.SetText(StreamBytes(stream));
  return true;
}

bool TCustomRPFormattedData::CopyTextW(IRPClipboard& sink) {
  TMemoryStream stream;
  if (!SaveTextToStream(WideString(), stream, CopyLineWidth, true, true, false, false)) return false;
  const AnsiString bytes = StreamBytes(stream);
  WideString text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = static_cast<WideChar>(static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  sink.SetUnicodeText(text);
  return true;
}

TGraphic* TCustomRPFormattedData::GetSelectedImage() {
  if (!SelectionExists(false)) return nullptr;
  int32_t startItemNo = -1, startOffs = 0, endItemNo = -1, endOffs = 0;
  GetSelectionRange(startItemNo, startOffs, endItemNo, endOffs);
  if (startItemNo < 0 || startItemNo != endItemNo || IsTextItem(startItemNo) || startOffs != 0 || endOffs != 1)
    return nullptr;
  const auto* picture = dynamic_cast<const TRPGraphicItemInfo*>(GetItem(startItemNo));
  return picture ? const_cast<TGraphic*>(picture->GetGraphic()) : nullptr;
}

bool TCustomRPFormattedData::CopyRPF(IRPClipboard& sink, TColor color, const TRPBackground* background) {
  TMemoryStream stream;
  uint8_t length[4] = {};
  stream.WriteBuffer(length, 4);
  if (!SaveRPFToStream(stream, rpfsmClipboard, nullptr, background, color)) return false;
  StoreLE32(length, static_cast<uint32_t>(stream.Size() - 4));
  stream.SetPosition(0);
  stream.WriteBuffer(length, 4);
  AnsiString block;
  try {
    block = StreamBytes(stream);
  } catch (const std::bad_alloc&) {
    throw ERichPaneError(errRPNoMemory);
  }
  sink.SetData(RPClipboardFormats().RichPane, block);
  return true;
}

bool TCustomRPFormattedData::CopyImage(IRPClipboard& sink) {
  const TGraphic* graphic = GetSelectedImage();
  if (!graphic || graphic->Empty()) return false;
  sink.SetGraphic(*graphic);
  return true;
}

void TCustomRPFormattedData::PutSelectionFormats(IRPClipboard& sink, TColor color, const TRPBackground* background,
                                                 bool forDrag) {
  const TRPOptions options = GetOptions();
  const TRPCopyFormatWriters& writers = RPCopyFormatWriters();
  const auto wants = [&](TRPOptions option) { return forDrag || (options & option) != 0; };
  if (wants(rpoAutoCopyRPF) && writers.NativeFormat) writers.NativeFormat(*this, color, background, sink);
  if (forDrag && writers.RTF) writers.RTF(*this, color, background, sink);
  if (forDrag && writers.HTML) writers.HTML(*this, color, background, sink);
  // Copied text always goes as UTF-16 text, with rpoAutoCopyText alone too: 8-bit text in
  // the ANSI code page would lose every character that the code page cannot hold. As on
  // the (NT) platform, the 8-bit text is then left out: the platform makes it from the
  // other. A drag carries both.
  const bool unicodeText = wants(rpoAutoCopyUnicodeText) || wants(rpoAutoCopyText);
  if (forDrag && wants(rpoAutoCopyText)) CopyText(sink);
  if (!forDrag && (options & rpoAutoCopyImage) != 0) {
    try {
      CopyImage(sink);
    } catch (const std::exception&) {
      // A picture that cannot go on the clipboard leaves the other formats there.
    }
  }
  if (unicodeText) CopyTextW(sink);
  if (forDrag) {
    try {
      CopyImage(sink);
    } catch (const std::exception&) {
      // The drag goes on without the picture.
    }
  }
  // HTML goes with RTF: both carry the formatting.
  if (!forDrag && (options & rpoAutoCopyRTF) != 0 && writers.RTF) writers.RTF(*this, color, background, sink);
  if (!forDrag && (options & rpoAutoCopyRTF) != 0 && writers.HTML) writers.HTML(*this, color, background, sink);
}

bool TCustomRPFormattedData::Copy(TColor color, const TRPBackground* background) {
  constexpr TRPOptions copyOptions =
      rpoAutoCopyText | rpoAutoCopyUnicodeText | rpoAutoCopyRPF | rpoAutoCopyImage | rpoAutoCopyRTF;
  if ((GetOptions() & copyOptions) == 0 || !SelectionExists(false)) return false;
  IRPDocumentView* view = View();
  IRPClipboard* clipboard = view ? view->Clipboard() : nullptr;
  if (!clipboard) return false;
  clipboard->Open();
  try {
    PutSelectionFormats(*clipboard, color, background, false);
    DoCopy();
  } catch (...) {
    clipboard->Close();
    throw;
  }
  clipboard->Close();
  return true;
}
