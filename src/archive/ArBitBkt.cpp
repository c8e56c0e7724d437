#include "archive/ArBitBkt.h"

#include <algorithm>

#include "archive/ArExcept.h"

namespace {

constexpr int32_t ExtraKeptBytes = 1024;

int32_t RingBytes(int32_t requested) {
  bool allowed = requested == 4096 || requested == 8192 || requested == 32768;
  return (allowed ? requested : 32768) + ExtraKeptBytes;
}

}  // namespace

TArBitBucketStream::TArBitBucketStream(int32_t bufferBytes) : FRing(static_cast<size_t>(RingBytes(bufferBytes))) {}

int64_t TArBitBucketStream::KeptFrom() const {
  return std::max<int64_t>(0, FSize - static_cast<int64_t>(FRing.size()));
}

int32_t TArBitBucketStream::Read(void* buffer, int32_t count) {
  if (count > static_cast<int32_t>(FRing.size())) throw EArBBSReadTooManyBytes(count);
  int32_t done = static_cast<int32_t>(std::clamp<int64_t>(FSize - FPosition, 0, count));
  auto* out = static_cast<uint8_t*>(buffer);
  for (int32_t i = 0; i < done; ++i)
    out[i] = FRing[static_cast<size_t>((FPosition + i) % static_cast<int64_t>(FRing.size()))];
  FPosition += done;
  return done;
}

int32_t TArBitBucketStream::Write(const void* buffer, int32_t count) {
  if (count > static_cast<int32_t>(FRing.size())) throw EArBBSWriteTooManyBytes(count);
  if (count <= 0) return 0;
  const auto* in = static_cast<const uint8_t*>(buffer);
  for (int32_t i = 0; i < count; ++i)
    FRing[static_cast<size_t>((FPosition + i) % static_cast<int64_t>(FRing.size()))] = in[i];
  FPosition += count;
  FSize = std::max(FSize, FPosition);
  return count;
}

int64_t TArBitBucketStream::Seek(int64_t offset, TSeekOrigin origin) {
  int64_t target;
  switch (origin) {
    case soBeginning:
      target = offset;
      break;
    case soCurrent:
      target = FPosition + offset;
      break;
    case soEnd:
      target = FSize + offset;
      break;
    default:
      throw EArBBSInvalidOrigin();
  }
  if (target < KeptFrom() || target > FSize) throw EArBBSSeekOutsideBuffer();
  FPosition = target;
  return FPosition;
}
