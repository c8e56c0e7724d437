#include "convert/uUniWin1251.h"

#include "xml/codecs/SingleByteCodecs.h"

namespace {

// One codec for the program's whole life, set to skip (the conversion runs on one
// thread).
TWindows1251Codec& SharedCodec() {
  struct TSkippingCodec {
    TSkippingCodec() { Codec.SetFailureMode(cfSkip); }
    TWindows1251Codec Codec;
  };
  static TSkippingCodec shared;
  return shared.Codec;
}

}  // namespace

AnsiString WideToWin1251(WideStringView text) { return SharedCodec().EncodeFromWideString(text); }

WideString Win1251ToWide(AnsiStringView text) {
  return SharedCodec().DecodeToWideString(reinterpret_cast<const uint8_t*>(text.data()),
                                          static_cast<int32_t>(text.size()));
}
