// The record block of list markers that a document fragment keeps of the markers before
// it: any bytes must read into a list or be refused (the list then empty), never crash.
// A list read writes back to the same records, and its markers, whatever their list
// numbers, levels and counters, are numbered, given their texts and measured safely.
#include <cstdint>
#include <cstdlib>

#include "platform/base/Exception.h"
#include "platform/graphics/Bitmap.h"
#include "richtext/model/RPData.h"
#include "richtext/model/RPFStreamHelpers.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPStyle.h"

namespace {

class TFuzzData : public TCustomRPData {
public:
  TFuzzData() {
    TRPListInfo& numbers = *Sheet.ListStyles().Add();
    const TRPListType types[] = {rplstDecimal, rplstLowerAlpha, rplstUpperRoman};
    for (TRPListType type : types) numbers.Levels().Add()->ListType = type;
    numbers.Levels()[2]->FormatString = "%0:s.%1:s.%2:s";
    numbers.Levels()[2]->Options.Include(rploLegalStyleNumbering);
    TRPListInfo& bullets = *Sheet.ListStyles().Add();
    bullets.Levels().Add()->ListType = rplstImageListCounter;
    bullets.Levels().Add()->ListType = rplstUnicodeBullet;
    Sheet.ListStyles().Add();  // a list style without levels
  }
  const IRPStyleSheet* GetRPStyle() const override { return &Sheet; }
  TRPStyle Sheet{nullptr};
};

}  // namespace

// The first byte says whether the block starts with its byte size and whether it comes
// as a stream, as a byte string or as hexadecimal digits; the rest is the block (or its
// digits).
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static TFuzzData document;
  const bool withSize = (data[0] & 1) != 0;
  const bool asString = (data[0] & 2) != 0 && !withSize;
  const bool asHex = (data[0] & 4) != 0 && !withSize;
  AnsiString digits;
  AnsiStringView block(reinterpret_cast<const char*>(data + 1), size - 1);
  TRPMarkerList list;
  try {
    if (asHex) {
      // The digits stand for the block that the comparison below reads.
      if (!list.LoadMarkersFromHexString(block, &document)) {
        if (list.Count() != 0) std::abort();
        return 0;
      }
      digits = RPFHexToStr(block);
      block = digits;
    } else if (asString) {
      list.LoadMarkersFromBinaryString(block, &document);
    } else {
      TMemoryStream stream;
      stream.WriteBuffer(block.data(), static_cast<int32_t>(block.size()));
      stream.SetPosition(0);
      list.ReadMarkersBinary(stream, &document, withSize);
    }
  } catch (const EReadError&) {
    if (list.Count() != 0) std::abort();  // a refused block leaves nothing behind
    return 0;
  }
  // The records written again are the records read (after the zero and the count), but
  // for the restart flag, which any byte other than 0 sets and which is written as 1.
  TMemoryStream written;
  list.WriteMarkersBinary(written, list.Count(), false);
  const size_t recordsAt = (withSize ? 4 : 0) + 8;
  const auto records = static_cast<size_t>(written.Size()) - 8;
  AnsiString expected(block.substr(recordsAt, records));
  for (size_t reset = 8; reset < expected.size(); reset += 17) expected[reset] = expected[reset] != 0 ? 1 : 0;
  if (AnsiStringView(static_cast<const char*>(written.Memory()) + 8, records) != expected) std::abort();
  // Numbered, given texts and measured, whatever they hold.
  TBitmap canvas;
  canvas.SetPixelFormat(pf24bit);
  canvas.SetSize(8, 8);
  for (int32_t i = 0; i < list.Count() && i < 8; ++i) {
    list.RecalcCounters(i, &document.Sheet);
    int32_t width = 0, height = 0, descent = 0, offset = 0;
    list[i]->UpdateSizeForWidth(*canvas.Canvas(), document, nullptr, width, height, descent, offset);
    list[i]->Paint(0, 0, *canvas.Canvas(), &document.Sheet);
  }
  return 0;
}
