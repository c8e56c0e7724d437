#include "richtext/model/RPClipboardFormats.h"

#include <algorithm>

#include "platform/base/ClipboardFormats.h"
#include "platform/base/LittleEndian.h"

namespace {

// The length field of a native-format block.
constexpr size_t NativeLengthBytes = 4;
// A file descriptor: flags, class id, size, point, attributes, three file times, two
// size halves, then the name.
constexpr size_t DescriptorCountBytes = 4;
constexpr size_t DescriptorNameOffset = 4 + 16 + 8 + 8 + 4 + 3 * 8 + 4 + 4;
constexpr size_t DescriptorNameBytes = 260;
static_assert(DescriptorNameOffset + DescriptorNameBytes == 332, "the 8-bit file descriptor");

}  // namespace

std::string_view RPNativeBlockDocument(std::string_view block) {
  if (block.size() < NativeLengthBytes) return {};
  const uint32_t stored = LoadLE32(reinterpret_cast<const uint8_t*>(block.data()));
  const size_t available = block.size() - NativeLengthBytes;
  return block.substr(NativeLengthBytes, std::min<size_t>(stored, available));
}

std::string_view RPFileGroupDescriptorName(std::string_view block) {
  const size_t start = DescriptorCountBytes + DescriptorNameOffset;
  if (block.size() < DescriptorCountBytes || LoadLE32(reinterpret_cast<const uint8_t*>(block.data())) == 0 ||
      block.size() <= start)
    return {};
  std::string_view name = block.substr(start, DescriptorNameBytes);
  return name.substr(0, std::min(name.find('\0'), name.size()));
}

const TRPClipboardFormats& RPClipboardFormats() {
  static const TRPClipboardFormats formats{RegisterClipboardFormatA(RPFormatRichPane),
                                           RegisterClipboardFormatA(RPFormatRTF), RegisterClipboardFormatA(RPFormatURL),
                                           RegisterClipboardFormatA(RPFormatHTML),
                                           RegisterClipboardFormatA(RPFormatFileGroupDescriptor)};
  return formats;
}
