#include "archive/ArDfOutW.h"

#include <algorithm>
#include <cstring>
#include <span>

#include "archive/ArDfFault.h"
#include "archive/ArDfTbls.h"
#include "archive/ArExcept.h"

namespace {
constexpr size_t SliceBytes = 32768;
constexpr size_t DeflateWritePoint = 65536;
constexpr size_t Deflate64WritePoint = 98304;
static_assert(DeflateWritePoint - SliceBytes == 32768, "deflate keeps its whole 32 KB window");
static_assert(Deflate64WritePoint - SliceBytes == 65536, "deflate64 keeps its whole 64 KB window");
}  // namespace

TArDfOutputWindow::TArDfOutputWindow(TStream* destination, bool testOnly, uint32_t partSize, int64_t maxSize,
                                     bool useAdler32, bool deflate64)
    : FDestination(destination),
      FTestOnly(testOnly || !destination),
      FAdler32(useAdler32),
      FMaxSize(maxSize),
      FWritePoint(deflate64 ? Deflate64WritePoint : DeflateWritePoint),
      FChecksum(useAdler32 ? 1 : 0xFFFFFFFF) {
  FStorage.resize(FWritePoint + (deflate64 ? Df64MaxMatch : DfMaxMatch));
  Buffer = FStorage.data();
  FPartSize = static_cast<uint32_t>(std::min<size_t>(partSize, FWritePoint));
  UpdateStop();
}

void TArDfOutputWindow::UpdateStop() {
  size_t stop = FWritePoint;
  if (FPartSize && FWritten < FPartSize) stop = std::min<size_t>(stop, FPartSize - static_cast<uint32_t>(FWritten));
  // One byte past the announced size is where the output becomes too long.
  if (FMaxSize >= 0) stop = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(stop), FMaxSize - FWritten + 1));
  Stop = stop;
}

void TArDfOutputWindow::WriteOut(size_t count) {
  std::span<const uint8_t> bytes(Buffer, count);
  if (FAdler32)
    UpdateAdler32(FChecksum, bytes);
  else
    UpdateCrc32Long(FChecksum, bytes);
  if (!FTestOnly) FDestination->WriteBuffer(Buffer, static_cast<int32_t>(count));
  FWritten += static_cast<int64_t>(count);
  std::memmove(Buffer, Buffer + count, Pos - count);
  Pos -= count;
}

void TArDfOutputWindow::Service() {
  if (FPartSize && Produced() >= FPartSize) throw EArPartSizedInflate("part size reached");
  if (FMaxSize >= 0 && Produced() > FMaxSize) InflateFault(TArInflateFault::OutputTooLong);
  // A deflate64 match may reach a whole slice past the write point.
  while (Pos >= FWritePoint) WriteOut(SliceBytes);
  UpdateStop();
}

void TArDfOutputWindow::AddBlock(const uint8_t* bytes, size_t count) {
  while (count > 0) {
    if (Pos >= Stop) Service();
    size_t n = std::min(count, Stop - Pos);
    std::memcpy(Buffer + Pos, bytes, n);
    Pos += n;
    bytes += n;
    count -= n;
  }
  if (Pos >= Stop) Service();
}

uint32_t TArDfOutputWindow::Finish() {
  if (FMaxSize >= 0 && Produced() > FMaxSize) Pos = static_cast<size_t>(FMaxSize - FWritten);
  WriteOut(Pos);
  return FAdler32 ? FChecksum : ~FChecksum;
}
