// Deflate data reaches the inflate engine from any zip file: any bytes must either
// inflate or raise EArInflateError, never crash, hang or read outside its buffers. The
// first input byte chooses deflate64; for plain deflate, whatever both we and zlib
// accept must inflate to the same bytes.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "archive/ArDfDec.h"
#include "archive/ArExcept.h"

namespace {

constexpr int64_t MaxOutputBytes = 16 << 20;

// zlib's raw inflate of the whole input into one buffer kept between runs; the output's
// size, or -1 when zlib refuses the input.
int64_t ZlibInflate(const uint8_t* data, size_t size, std::vector<uint8_t>& out) {
  z_stream z{};
  if (inflateInit2(&z, -15) != Z_OK) return -1;
  z.next_in = const_cast<Bytef*>(data);
  z.avail_in = static_cast<uInt>(size);
  z.next_out = out.data();
  z.avail_out = static_cast<uInt>(out.size());
  int rc = inflate(&z, Z_FINISH);
  int64_t produced = static_cast<int64_t>(z.total_out);
  inflateEnd(&z);
  return rc == Z_STREAM_END ? produced : -1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  bool deflate64 = data[0] & 1;
  ++data;
  --size;
  TMemoryStream source, target;
  if (size) source.WriteBuffer(data, static_cast<int32_t>(size));
  source.SetPosition(0);
  TArDeflateHelper helper;
  helper.SetOptions(deflate64 ? 15 | dfc_UseDeflate64 : 15);
  helper.MaxNormalSize = MaxOutputBytes;
  try {
    InflateStream(source, &target, &helper);
  } catch (const EArInflateError&) {
    return 0;
  }
  if (deflate64) return 0;
  static std::vector<uint8_t> expected(MaxOutputBytes + 1);
  int64_t expectedBytes = ZlibInflate(data, size, expected);
  if (expectedBytes >= 0 &&
      (expectedBytes != target.Size() ||
       (expectedBytes > 0 && std::memcmp(expected.data(), target.Memory(), static_cast<size_t>(expectedBytes)) != 0)))
    std::abort();
  return 0;
}
