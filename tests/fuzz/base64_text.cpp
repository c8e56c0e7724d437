// The Base64 text of a book's binaries: any UTF-16 text (the input's bytes taken in
// pairs) must decode or fail, never crash or write more than three bytes per four
// characters. What decodes is encoded again and must decode to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fb2/uBase64.h"
#include "platform/base/Streams.h"

namespace {

std::u16string Encode(const uint8_t* bytes, size_t size) {
  static const char Alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::u16string text;
  for (size_t at = 0; at < size; at += 3) {
    const uint32_t n = (uint32_t{bytes[at]} << 16) | (at + 1 < size ? uint32_t{bytes[at + 1]} << 8 : 0) |
                       (at + 2 < size ? bytes[at + 2] : 0);
    text += char16_t(Alphabet[(n >> 18) & 63]);
    text += char16_t(Alphabet[(n >> 12) & 63]);
    text += at + 1 < size ? char16_t(Alphabet[(n >> 6) & 63]) : u'=';
    text += at + 2 < size ? char16_t(Alphabet[n & 63]) : u'=';
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::u16string text(size / 2, u'\0');
  if (!text.empty()) std::memcpy(text.data(), data, text.size() * 2);
  TMemoryStream decoded;
  const bool ok = Base64Decode(text, decoded);
  if (decoded.Size() > static_cast<int64_t>(text.size() / 4 * 3)) std::abort();
  if (!ok) return 0;
  const auto* bytes = static_cast<const uint8_t*>(decoded.Memory());
  TMemoryStream again;
  if (!Base64Decode(Encode(bytes, static_cast<size_t>(decoded.Size())), again) || again.Size() != decoded.Size() ||
      std::memcmp(again.Memory(), bytes, static_cast<size_t>(decoded.Size())) != 0)
    std::abort();
  return 0;
}
