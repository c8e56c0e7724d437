// Item records of the native format read as the document reader takes them (the header's
// fields, the item's header extra, its lines, binary blocks), for every item class: text,
// break, tab, picture, hot picture, bullet, hotspot and list marker. Any bytes must be read or refused,
// never crash. Each item read writes back to a record that reads back and writes the same
// again; a refused hotspot header leaves the item as it was.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../richtext/model/RPFTestReader.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPFStreaming.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPPictureItems.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

namespace {

// A document with the standard styles whose host has an image list of two images, tagged
// 5, and no pictures to give.
class TFuzzData : public TCustomRPData {
public:
  TFuzzData() {
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(4, 2);
    List.AddMasked(strip, clFuchsia);
    List.SetTag(5);
    TBitmap invalid;
    invalid.SetPixelFormat(pf24bit);
    invalid.SetSize(1, 1);
    Sheet.SetInvalidPicture(&invalid);
  }
  const IRPStyleSheet* GetRPStyle() const override { return &Sheet; }
  TCustomImageList* RPFImageListNeeded(int32_t tag) override { return tag == 5 ? &List : nullptr; }

  TRPStyle Sheet{nullptr};
  TCustomImageList List{nullptr, 2, 2};
};

std::string Written(const TRPFReadItem& read, IRPFStreaming& streaming) {
  TMemoryStream stream;
  read.Item->SaveRPF(stream, streaming, 0, read.Item->ParaNo, read.Text, nullptr, false);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

void CheckWritesBack(const TRPFReadItem& read, TFuzzData& data, TRPFStreaming& streaming) {
  const std::string first = Written(read, streaming);
  std::vector<TRPFReadItem> again;
  TRPFTestReader reader(data, streaming);
  if (!reader.ReadAll(first, again) || again.size() != 1) std::abort();
  if (Written(again[0], streaming) != first) std::abort();
}

// A refused hotspot header leaves the item as it was.
void CheckRefusedHeader(const std::string& line, TRPFStreaming& streaming) {
  TRPHotspotItemInfo hotspot(nullptr);
  hotspot.ImageIndex = 1;
  hotspot.HotImageIndex = 1;
  AnsiStringView rest = line;
  if (!hotspot.ReadRPFHeaderExtra(rest, streaming) &&
      (hotspot.ImageList || hotspot.ImageIndex != 1 || hotspot.HotImageIndex != 1))
    std::abort();
}

}  // namespace

// The first byte picks the RPF options (and string tags); the rest is a stream of item
// records.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const uint8_t pick = data[0];
  TFuzzData document;
  document.SetRPFOptions(((pick & 0x01) ? rpfoSavePicturesBody : 0u) | ((pick & 0x02) ? rpfoSaveBinary : 0u) |
                         ((pick & 0x04) ? rpfoUseStyleNames : 0u) | ((pick & 0x08) ? rpfoIgnoreUnknownPicFmt : 0u) |
                         ((pick & 0x10) ? rpfoConvLargeImageIdxToZero : 0u));
  document.SetOptions((pick & 0x20) ? rpoTagsArePChars : 0);
  TRPFStreaming streaming(document);
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
  CheckRefusedHeader(bytes.substr(0, bytes.find_first_of("\r\n")), streaming);
  std::vector<TRPFReadItem> items;
  TRPFTestReader reader(document, streaming);
  reader.ReadAll(bytes, items);
  for (const TRPFReadItem& read : items) CheckWritesBack(read, document, streaming);
  return 0;
}
