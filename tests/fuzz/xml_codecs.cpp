// Book bytes reach the codecs and the character reader straight from the file. The
// first byte picks a codec and a failure mode, the rest is the text: it must decode
// (whole, in pieces, and character by character) or raise the library's own exceptions,
// never crash or hang; a label made of the text must resolve or answer none.
#include <cstdint>
#include <memory>

#include "platform/base/Exception.h"
#include "platform/base/Streams.h"
#include "xml/codecs/UCS4Reader.h"
#include "xml/codecs/cUnicodeCodecs.h"

namespace {

const TUnicodeCodecClass CodecClasses[] = {
    CodecClassOf<TUTF8Codec>(),        CodecClassOf<TUTF16BECodec>(),   CodecClassOf<TUTF16LECodec>(),
    CodecClassOf<TUCS2Codec>(),        CodecClassOf<TUCS4BECodec>(),    CodecClassOf<TUCS4LECodec>(),
    CodecClassOf<TUCS4_2143Codec>(),   CodecClassOf<TUCS4_3412Codec>(), CodecClassOf<TUSASCIICodec>(),
    CodecClassOf<TISO8859_1Codec>(),   CodecClassOf<TISO8859_7Codec>(), CodecClassOf<TWindows1251Codec>(),
    CodecClassOf<TWindows1252Codec>(), CodecClassOf<TIBM1026Codec>(),   CodecClassOf<TEBCDIC_USCodec>(),
    CodecClassOf<TJIS_X0201Codec>(),
};
constexpr size_t CodecCount = sizeof(CodecClasses) / sizeof(CodecClasses[0]);

void DecodeInPieces(TCustomUnicodeCodec& codec, const uint8_t* data, int32_t size) {
  WideChar out[7];
  int32_t offset = 0;
  while (offset < size) {
    int32_t produced = 0;
    int32_t consumed = 0;
    codec.DecodeBuffer(data + offset, size - offset, produced, consumed, sizeof(out), out);
    if (consumed == 0) break;
    offset += consumed;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0 || size > (1 << 20)) return 0;
  const TUnicodeCodecClass codecClass = CodecClasses[data[0] % CodecCount];
  const auto mode = static_cast<TCodecFailureMode>((data[0] / CodecCount) % 5);
  const uint8_t* text = data + 1;
  const auto textSize = static_cast<int32_t>(size - 1);

  std::unique_ptr<TCustomUnicodeCodec> codec = codecClass->Create();
  codec->SetFailureMode(mode);
  try {
    const WideString decoded = codec->DecodeToWideString(text, textSize);
    codec->EncodeFromWideString(decoded);
  } catch (const Exception&) {
  }
  try {
    DecodeInPieces(*codec, text, textSize);
  } catch (const Exception&) {
  }

  TMemoryStream stream;
  stream.WriteBuffer(text, textSize);
  for (const TUnicodeCodecClass requested : {TUnicodeCodecClass(nullptr), codecClass}) {
    stream.SetPosition(0);
    try {
      TUtilsUCS4Reader reader(&stream, requested, 16, 0, 0, 0, 0, 1);
      for (reader.Next(); !reader.AtEnd(); reader.Next()) {
      }
    } catch (const Exception&) {
    }
  }

  if (textSize <= 64) ResolveCodecClass(AnsiString(reinterpret_cast<const char*>(text), static_cast<size_t>(textSize)));
  return 0;
}
