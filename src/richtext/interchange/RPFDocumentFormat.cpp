#include "richtext/interchange/RPFDocumentFormat.h"

#include "platform/base/Exception.h"
#include "platform/base/LittleEndian.h"
#include "platform/base/ScopeExit.h"
#include "richtext/interchange/RPFDocumentReader.h"
#include "richtext/interchange/RPFDocumentWriter.h"
#include "richtext/layout/RPClipboard.h"
#include "richtext/layout/RPFormattedData.h"
#include "richtext/model/RPData.h"

namespace {

constexpr char SInvalidPropertyValue[] = "Invalid property value";

class TRPFDocumentFormat : public IRPFDocumentFormat {
public:
  bool Save(TCustomRPData& data, TStream& stream, TRPFSaveMode mode, TRPLayoutInfo* layout,
            const TRPBackground* background, TColor color) override {
    try {
      WriteRPFDocument(data, stream, mode, layout, background, color);
      return true;
    } catch (const std::exception&) {
      return false;
    }
  }

  bool Read(TCustomRPData& data, TStream& stream, int32_t& index, const TRPFReadRequest& request,
            TColor& color) override {
    return ReadRPFDocument(data, stream, index, request, color);
  }

  void WriteDataProperty(TCustomRPData& data, TStream& stream) override {
    const int64_t start = stream.Position();
    uint8_t length[4] = {};
    stream.WriteBuffer(length, 4);
    // A cell's data goes without a background record.
    const uint32_t options = data.GetRPFOptions();
    data.SetRPFOptions(options & ~rpfoSaveBack);
    const TScopeExit restore([&data, options] { data.SetRPFOptions(options); });
    WriteRPFDocument(data, stream, rpfsmDocument, nullptr, nullptr, clNone);
    const int64_t end = stream.Position();
    StoreLE32(length, static_cast<uint32_t>(end - start - 4));
    stream.SetPosition(start);
    stream.WriteBuffer(length, 4);
    stream.SetPosition(end);
  }

  void ReadDataProperty(TCustomRPData& data, TStream& stream) override {
    uint8_t length[4];
    stream.ReadBuffer(length, 4);
    const uint32_t count = LoadLE32(length);
    // The length comes from the stream: checked against what is left before anything is
    // allocated for it.
    if (count > stream.Size() - stream.Position()) throw EReadError(SReadError);
    TMemoryStream bytes;
    bytes.SetSize(count);
    if (count > 0) stream.ReadBuffer(bytes.Memory(), static_cast<int32_t>(count));
    bytes.SetPosition(0);
    const bool wasReading = (data.GetState() & rpstReadingCellData) != 0;
    data.SetStateFlag(rpstReadingCellData, true);
    const TScopeExit restore([&data, wasReading] { data.SetStateFlag(rpstReadingCellData, wasReading); });
    TRPFReadRequest request;
    request.Load = true;
    request.ClearFirst = true;
    int32_t index = 0;
    TColor color = clNone;
    if (!ReadRPFDocument(data, bytes, index, request, color)) throw EReadError(SInvalidPropertyValue);
  }
};

}  // namespace

void RegisterRPFDocumentFormat() {
  static TRPFDocumentFormat format;
  SetRPFDocumentFormat(&format);
  // Copying a selection puts the native format on the clipboard.
  RPCopyFormatWriters().NativeFormat = [](TCustomRPFormattedData& data, TColor color, const TRPBackground* background,
                                          IRPClipboard& sink) { return data.CopyRPF(sink, color, background); };
}
