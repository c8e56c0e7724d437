#include "richtext/interchange/RPExportClipboard.h"

#include "platform/base/Streams.h"
#include "richtext/interchange/RPHTMLExport.h"
#include "richtext/interchange/RPRTFExport.h"
#include "richtext/layout/RPClipboard.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPClipboardFormats.h"
#include "richtext/model/RPHtmlHelpers.h"

namespace {

AnsiString StreamBytes(TMemoryStream& stream) {
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

}  // namespace

bool CopyRTF(TCustomRPFormattedData& data, TColor color, IRPClipboard& sink) {
  TMemoryStream stream;
  if (!SaveRTFToStream(data, stream, WideString(), GetRTFTwipsFactor(), nullptr, color, 0, true)) return false;
  sink.SetData(RPClipboardFormats().RTF, StreamBytes(stream));
  return true;
}

bool CopyHTML(TCustomRPFormattedData& data, TColor color, const TRPBackground* background, IRPClipboard& sink) {
  TRPHTMLExportParams params;
  params.Options = rphtmlUtf8;
  params.Color = color;
  params.Background = background;
  params.SelectionOnly = true;
  TMemoryStream stream;
  if (!SaveHTMLToStream(data, stream, params)) return false;
  sink.SetData(RPClipboardFormats().HTML, StreamBytes(stream));
  return true;
}

void RegisterExportCopyFormats() {
  TRPCopyFormatWriters& writers = RPCopyFormatWriters();
  writers.RTF = [](TCustomRPFormattedData& data, TColor color, const TRPBackground*, IRPClipboard& sink) {
    return CopyRTF(data, color, sink);
  };
  writers.HTML = [](TCustomRPFormattedData& data, TColor color, const TRPBackground* background, IRPClipboard& sink) {
    return CopyHTML(data, color, background, sink);
  };
}
