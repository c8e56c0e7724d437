// The deflate engine's output side of ArDfStrm: the bit writer and the block's tokens.
#include <algorithm>
#include <cstring>

#include "archive/ArDfStrm.h"
#include "archive/ArDfXlat.h"
#include "archive/ArExcept.h"

void TArDfOutBitStream::EmptyBuffer() {
  if (FUsed == 0) return;
  if (FDestination.Write(FBuffer.data(), static_cast<int32_t>(FUsed)) != static_cast<int32_t>(FUsed))
    throw EArInternalDeflateError("could not write to the output stream [TArDfInBitStream.obsEmptyBuffer]");
  FUsed = 0;
}

void TArDfOutBitStream::DrainWholeBytes() {
  while (FBitCount >= 8) {
    if (FUsed == FBuffer.size()) EmptyBuffer();
    FBuffer[FUsed++] = static_cast<uint8_t>(FBits);
    FBits >>= 8;
    FBitCount -= 8;
  }
}

void TArDfOutBitStream::WriteBytes(const uint8_t* bytes, size_t count) {
  DrainWholeBytes();
  while (count > 0) {
    if (FUsed == FBuffer.size()) EmptyBuffer();
    size_t n = std::min(count, FBuffer.size() - FUsed);
    std::memcpy(FBuffer.data() + FUsed, bytes, n);
    FUsed += n;
    bytes += n;
    count -= n;
  }
}

void TArDfOutBitStream::Flush() {
  AlignToByte();
  DrainWholeBytes();
  EmptyBuffer();
}

void TArDfLZStream::Clear(int64_t start) {
  FTokens.clear();
  FTokens.reserve(MaxTokens);
  FLiteralFrequencies.fill(0);
  FDistanceFrequencies.fill(0);
  FLiteralFrequencies[DfEndOfBlock] = 1;
  FMatches = 0;
  FCoveredBytes = 0;
  FStartOffset = start;
  FCodedZero = false;
}

void TArDfLZStream::AddMatch(uint32_t length, uint32_t distance) {
  FTokens.push_back({length, static_cast<uint16_t>(distance - 1)});
  uint32_t symbol =
      FDeflate64 ? TArDfTranslator::LengthSymbolIndex64(length) : TArDfTranslator::LengthSymbolIndex(length);
  ++FLiteralFrequencies[DfFirstLengthSymbol + symbol];
  ++FDistanceFrequencies[TArDfTranslator::DistanceCode(distance)];
  ++FMatches;
  FCoveredBytes += length;
}

bool TArDfLZStream::IsFull() const {
  size_t count = FTokens.size();
  if (count >= MaxTokens || FMatches >= MaxTokens) return true;
  if (count == 0 || count % 8192 != 0) return false;
  uint64_t literals = count - FMatches;
  if (FMatches >= literals) return false;
  uint64_t bits = uint64_t{FMatches} * 13 + literals * 8;
  for (size_t code = 4; code < 32; ++code) bits += uint64_t{FDistanceFrequencies[code]} * DfDistanceExtra[code];
  return bits / 8 < FCoveredBytes / 2;
}
