// A stream that takes any amount of writing and keeps only the last bytes, in a ring of
// 4096, 8192 or 32768 bytes plus 1024: the target of a test, which decodes an entry
// without keeping it. The inflate engine recognises it and decodes without writing.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/base/Streams.h"

class TArBitBucketStream : public TStream {
public:
  // bufferBytes of 4096, 8192 or 32768 (any other size gives 32768); 1024 more are kept.
  explicit TArBitBucketStream(int32_t bufferBytes);

  // Reads back from the kept bytes, up to the size; more than the ring holds at once
  // raises EArBBSReadTooManyBytes.
  int32_t Read(void* buffer, int32_t count) override;
  // Writes at the position; more than the ring holds at once raises
  // EArBBSWriteTooManyBytes.
  int32_t Write(const void* buffer, int32_t count) override;
  // Only within the kept bytes (EArBBSSeekOutsideBuffer); an origin other than the three
  // raises EArBBSInvalidOrigin.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  // All bytes ever written.
  int64_t Size() override { return FSize; }

private:
  int64_t KeptFrom() const;
  std::vector<uint8_t> FRing;
  int64_t FSize = 0;
  int64_t FPosition = 0;
};
