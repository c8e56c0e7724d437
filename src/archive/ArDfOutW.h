// The inflate engine's output window.
//
// State: `Buffer[0, Pos)` holds decoded bytes not yet written; they are also the match
// history. When Pos reaches `WritePoint` (65536 for deflate, 98304 for deflate64) the
// first 32768 bytes go to the checksum and the destination and the rest moves to the
// front (again, while Pos is still at or past the write point), so 32 KB (deflate) or
// 64 KB (deflate64) of history always stay. The buffer
// holds WritePoint plus the longest match, since a match starts below WritePoint.
// `Stop` is the position at which the decoder must call `Service`: the write point, or
// earlier where the part size or the announced size would be passed.
#pragma once

#include <cstdint>
#include <vector>

#include "archive/ArDfBase.h"
#include "platform/base/Streams.h"

class TArDfOutputWindow {
public:
  // destination may be null in test mode, where bytes are only counted. partSize 0 and
  // maxSize -1 set no bound.
  TArDfOutputWindow(TStream* destination, bool testOnly, uint32_t partSize, int64_t maxSize, bool useAdler32,
                    bool deflate64);

  // Called when Pos >= Stop: raises EArPartSizedInflate once partSize bytes are
  // decoded, the output-too-long fault past maxSize, else writes a slice.
  void Service();
  // Appends bytes of a stored block.
  void AddBlock(const uint8_t* bytes, size_t count);
  // Writes everything buffered (never past maxSize) and returns the final checksum.
  uint32_t Finish();
  // Bytes decoded so far.
  int64_t Produced() const { return FWritten + static_cast<int64_t>(Pos); }

  uint8_t* Buffer;
  size_t Pos = 0;
  size_t Stop = 0;

private:
  void WriteOut(size_t count);
  void UpdateStop();

  std::vector<uint8_t> FStorage;
  TStream* FDestination;
  bool FTestOnly;
  bool FAdler32;
  uint32_t FPartSize;
  int64_t FMaxSize;
  size_t FWritePoint;
  int64_t FWritten = 0;
  uint32_t FChecksum;
};
