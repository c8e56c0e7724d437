#include "xml/codecs/InputStreams.h"

#include <algorithm>

#include "xml/XmlLimits.h"
#include "xml/codecs/Ucs4Codecs.h"
#include "xml/codecs/Utf16Codecs.h"
#include "xml/codecs/Utf8Codec.h"

TUtilsCustomInputStream::TUtilsCustomInputStream(TStream* stream, int32_t bufferSize)
    : FStream(stream), FBufferSize(std::clamp(bufferSize, 1, DefaultXmlLimits().MaxInputBufferBytes)) {
  if (stream == nullptr) throw EParserUtilsException(SParserStreamNotSpecified);
  FInitialPosition = stream->Position();
  FBuffer = std::make_unique<uint8_t[]>(static_cast<size_t>(FBufferSize));
}

TUtilsCustomInputStream::~TUtilsCustomInputStream() { TUtilsCustomInputStream::DropBuffer(); }

int64_t TUtilsCustomInputStream::GetPosition() { return FStreamOffset - FRemaining; }

int32_t TUtilsCustomInputStream::ReadAcrossRefills(uint8_t* destination, int32_t count) {
  int32_t delivered = 0;
  while (delivered < count) {
    const int32_t wanted = count - delivered;
    if (FRemaining > 0) {
      const auto taken = static_cast<int32_t>(std::min<int64_t>(FRemaining, wanted));
      std::memcpy(destination + delivered, FBuffer.get() + FBufferPos, static_cast<size_t>(taken));
      FBufferPos += taken;
      FRemaining -= taken;
      delivered += taken;
      continue;
    }
    // A request larger than the buffer goes straight to the stream.
    uint8_t* target = wanted > FBufferSize ? destination + delivered : FBuffer.get();
    const int32_t read = FStream->Read(target, wanted > FBufferSize ? wanted : FBufferSize);
    if (read <= 0) break;
    FStreamOffset += read;
    if (target == FBuffer.get()) {
      FBufferPos = 0;
      FRemaining = read;
    } else {
      delivered += read;
    }
  }
  return delivered;
}

void TUtilsCustomInputStream::SetPosition(int64_t offset) {
  FStream->SetPosition(FInitialPosition + offset);
  FStreamOffset = offset;
  FRemaining = 0;
  FBufferPos = 0;
}

void TUtilsCustomInputStream::DropBuffer() {
  if (FRemaining > 0) FStream->Seek(-FRemaining, soCurrent);
  FStreamOffset -= FRemaining;
  FRemaining = 0;
  FBufferPos = 0;
}

TByteOrderMark DetectByteOrderMark(TStream& stream) {
  uint8_t b[4] = {};
  int32_t count = 0;
  while (count < 4) {
    const int32_t read = stream.Read(b + count, 4 - count);
    if (read <= 0) break;
    count += read;
  }
  const bool twoZerosFollow = count == 4 && b[2] == 0 && b[3] == 0;
  if (count >= 4 && b[0] == 0x00 && b[1] == 0x00 && b[2] == 0xFE && b[3] == 0xFF)
    return {CodecClassOf<TUCS4BECodec>(), 4};
  if (count >= 4 && b[0] == 0x00 && b[1] == 0x00 && b[2] == 0xFF && b[3] == 0xFE)
    return {CodecClassOf<TUCS4_2143Codec>(), 4};
  if (count >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) return {CodecClassOf<TUTF8Codec>(), 3};
  if (count >= 2 && b[0] == 0xFE && b[1] == 0xFF)
    return twoZerosFollow ? TByteOrderMark{CodecClassOf<TUCS4_3412Codec>(), 4}
                          : TByteOrderMark{CodecClassOf<TUTF16BECodec>(), 2};
  if (count >= 2 && b[0] == 0xFF && b[1] == 0xFE)
    return twoZerosFollow ? TByteOrderMark{CodecClassOf<TUCS4LECodec>(), 4}
                          : TByteOrderMark{CodecClassOf<TUTF16LECodec>(), 2};
  return {nullptr, 0};
}

TUtilsCustomAutodetectInputStream::TUtilsCustomAutodetectInputStream(TStream* stream, TUnicodeCodecClass requestedClass,
                                                                     int32_t bufferSize)
    : TUtilsCustomInputStream(stream, bufferSize) {
  const TByteOrderMark mark = DetectByteOrderMark(*FStream);
  const TUnicodeCodecClass utf16BE = CodecClassOf<TUTF16BECodec>();
  const TUnicodeCodecClass utf16LE = CodecClassOf<TUTF16LECodec>();
  bool mismatch = false;
  if (requestedClass == mark.CodecClass || requestedClass == nullptr) {
    FSignatureSize = mark.SignatureSize;
    FCodecClass = mark.CodecClass;
  } else if (requestedClass == CodecClassOf<TUCS2Codec>() && mark.CodecClass == utf16BE) {
    FSignatureSize = mark.SignatureSize;
    FCodecClass = requestedClass;
  } else {
    mismatch = (requestedClass == CodecClassOf<TUCS2Codec>() && mark.CodecClass == utf16LE) ||
               (requestedClass == utf16BE && mark.CodecClass == utf16LE) ||
               (requestedClass == utf16LE && mark.CodecClass == utf16BE);
    FCodecClass = requestedClass;  // any other mark stays part of the text
  }
  Rewind();
  if (mismatch) throw EConvertError(SParserEncodingMismatch);
}

int64_t TUtilsCustomAutodetectInputStream::GetPosition() {
  return TUtilsCustomInputStream::GetPosition() - FSignatureSize;
}

void TUtilsCustomAutodetectInputStream::SetPosition(int64_t offset) {
  TUtilsCustomInputStream::SetPosition(offset + FSignatureSize);
}
