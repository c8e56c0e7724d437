// A picture, bullet or hotspot item read from native-format lines: the header's extra
// numbers, then the item's lines (name, graphic class, property lines, and the picture's
// data as hex digits or bytes). Any lines must read or be refused, never crash; a refused
// header leaves the item as it was, and an accepted one writes back to what reads the same.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "../richtext/model/RPPictureTestData.h"
#include "platform/graphics/Bitmap.h"
#include "platform/graphics/ImageList.h"
#include "platform/graphics/JpegImage.h"
#include "richtext/model/RPBulletItems.h"
#include "richtext/model/RPPictureItems.h"

namespace {

// A reader with a list of two images, tagged 5.
struct TFuzzReader {
  explicit TFuzzReader(uint32_t options) {
    TBitmap strip;
    strip.SetPixelFormat(pf24bit);
    strip.SetSize(4, 2);
    List.AddMasked(strip, clFuchsia);
    List.SetTag(5);
    Streaming.ImageLists[5] = &List;
    Streaming.RPFOptions = options;
  }
  TCustomImageList List{nullptr, 2, 2};
  TFakeRPFStreaming Streaming;
};

std::vector<AnsiString> SplitLines(const uint8_t* data, size_t size) {
  std::vector<AnsiString> lines(1);
  for (size_t i = 0; i < size; ++i) {
    if (data[i] == '\n')
      lines.emplace_back();
    else
      lines.back() += static_cast<char>(data[i]);
  }
  return lines;
}

// The header's extra numbers: a refused read leaves the hotspot as it was; an accepted
// one writes back to numbers that read the same.
void ReadHeaderExtra(const AnsiString& line, TFakeRPFStreaming& streaming) {
  TRPHotspotItemInfo hotspot(nullptr);
  hotspot.ImageIndex = 1;
  hotspot.HotImageIndex = 1;
  AnsiStringView rest = line;
  if (!hotspot.ReadRPFHeaderExtraIn(rest, &streaming)) {
    if (hotspot.ImageList || hotspot.ImageIndex != 1 || hotspot.HotImageIndex != 1) std::abort();
    return;
  }
  AnsiString extra;
  hotspot.GetRPFHeaderExtra(nullptr, extra);
  TRPHotspotItemInfo back(nullptr);
  AnsiStringView again = extra;
  if (!back.ReadRPFHeaderExtraIn(again, &streaming) || back.ImageList != hotspot.ImageList ||
      back.ImageIndex != hotspot.ImageIndex || back.HotImageIndex != hotspot.HotImageIndex)
    std::abort();
  TRPGraphicItemInfo picture(nullptr);
  rest = line;
  picture.ReadRPFHeaderExtra(rest);
}

// The item's lines until the item is done or a line is refused.
void ReadItemLines(const std::vector<AnsiString>& lines, TFakeRPFStreaming& streaming, TRPFBodyMode mode) {
  const auto count = static_cast<int32_t>(lines.size() - 1);
  TRPGraphicItemInfo picture(nullptr);
  TRPBulletItemInfo bullet(nullptr);
  AnsiString name;
  TRPFReadState pictureState = rpfrsReading, bulletState = rpfrsReading;
  for (int32_t lineNo = 0; lineNo < count; ++lineNo) {
    const AnsiString& line = lines[static_cast<size_t>(lineNo) + 1];
    TRPFLineMode lineMode = rpflmText;
    if (pictureState != rpfrsItemDone &&
        !picture.ReadRPFLine(line, streaming, mode, lineNo, count, name, lineMode, pictureState))
      pictureState = rpfrsItemDone;
    if (bulletState != rpfrsItemDone) bullet.ReadRPFLine(line, lineNo, count, name, bulletState);
  }
}

}  // namespace

// The first byte picks the body mode and the reading options; the rest are the lines,
// the first of them the header's extra numbers.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const bool registered = [] {
    RegisterGraphicClass(&TBitmap::ClassInfo);
    RegisterJpegGraphicClass();
    return true;
  }();
  (void)registered;
  static constexpr TRPFBodyMode Modes[] = {rpfbmHex, rpfbmNone, rpfbmBinary};
  const TRPFBodyMode mode = Modes[data[0] % 3];
  const uint32_t options =
      ((data[0] & 0x10) ? rpfoConvLargeImageIdxToZero : 0u) | ((data[0] & 0x20) ? rpfoIgnoreUnknownPicFmt : 0u);
  TFuzzReader reader(options);
  TFakeRPFStreaming& streaming = reader.Streaming;
  const std::vector<AnsiString> lines = SplitLines(data + 1, size - 1);
  ReadHeaderExtra(lines[0], streaming);
  ReadItemLines(lines, streaming, mode);
  return 0;
}
