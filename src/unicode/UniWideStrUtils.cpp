#include "unicode/UniWideStrUtils.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr uint32_t kHeaderBytes = sizeof(uint32_t);

unsigned char* HeaderOf(const WideChar* str) {
  return reinterpret_cast<unsigned char*>(const_cast<WideChar*>(str)) - kHeaderBytes;
}

}  // namespace

void TWideStrDeleter::operator()(WideChar* str) const noexcept {
  if (str != nullptr) std::free(HeaderOf(str));
}

TWideStrPtr WideStrAlloc(uint32_t chars) {
  const uint64_t bytes = uint64_t{chars} * sizeof(WideChar) + kHeaderBytes;
  if (bytes > UINT32_MAX) throw std::bad_alloc();
  auto* block = static_cast<unsigned char*>(std::calloc(1, bytes));
  if (block == nullptr) throw std::bad_alloc();
  const auto size = static_cast<uint32_t>(bytes);
  std::memcpy(block, &size, kHeaderBytes);
  return TWideStrPtr(reinterpret_cast<WideChar*>(block + kHeaderBytes));
}

uint32_t WideStrBufSize(const WideChar* str) {
  uint32_t size;
  std::memcpy(&size, HeaderOf(str), kHeaderBytes);
  return size;
}

WideChar* WideStrMove(WideChar* dest, const WideChar* source, uint32_t count) {
  std::memmove(dest, source, size_t{count} * sizeof(WideChar));
  return dest;
}

TWideStrPtr WideStrNew(const WideChar* str) {
  if (str == nullptr) return TWideStrPtr();
  const uint32_t len = WideStrLen(str);
  TWideStrPtr copy = WideStrAlloc(len + 1);
  WideStrMove(copy.get(), str, len + 1);
  return copy;
}

uint32_t WideStrLen(const WideChar* str) { return static_cast<uint32_t>(WideStrEnd(str) - str); }

const WideChar* WideStrEnd(const WideChar* str) {
  while (*str != 0) ++str;
  return str;
}

WideChar* WideStrEnd(WideChar* str) { return const_cast<WideChar*>(WideStrEnd(static_cast<const WideChar*>(str))); }

WideChar* WideStrCopy(WideChar* dest, const WideChar* source) {
  return WideStrMove(dest, source, WideStrLen(source) + 1);
}

WideChar* WideStrLCopy(WideChar* dest, const WideChar* source, uint32_t maxLen) {
  uint32_t n = 0;
  while (n < maxLen && source[n] != 0) {
    dest[n] = source[n];
    ++n;
  }
  dest[n] = 0;
  return dest;
}

WideChar* WideStrPCopy(WideChar* dest, WideStringView source) {
  WideStrMove(dest, source.data(), static_cast<uint32_t>(source.size()));
  dest[source.size()] = 0;
  return dest;
}

const WideChar* WideStrScan(const WideChar* str, WideChar ch) {
  for (;; ++str) {
    if (*str == ch) return str;
    if (*str == 0) return nullptr;
  }
}

WideChar* WideStrScan(WideChar* str, WideChar ch) {
  return const_cast<WideChar*>(WideStrScan(static_cast<const WideChar*>(str), ch));
}

const WideChar* WideLastCharPtr(const WideChar* str) {
  const WideChar* end = WideStrEnd(str);
  return end == str ? nullptr : end - 1;
}

WideString WideStrFromBuffer(const WideChar* buffer, int32_t count) {
  if (count < 0) return WideString(buffer, WideStrLen(buffer));
  return WideString(buffer, static_cast<size_t>(count));
}
