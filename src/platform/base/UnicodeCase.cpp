#include "platform/base/UnicodeCase.h"

#include <cstddef>
#include <iterator>

namespace {

#include "platform/base/UnicodeCaseTables.inc"

// The generated tables must keep the two-stage shape the lookups below assume.
static_assert(std::size(UpperDeltaIndex) == 256 && UpperDeltaBlockCount <= 256);
static_assert(std::size(LowerDeltaIndex) == 256 && LowerDeltaBlockCount <= 256);
static_assert(std::size(FoldDeltaIndex) == 256 && FoldDeltaBlockCount <= 256);
static_assert(std::size(CharTypeIndex) == 256 && CharTypeBlockCount <= 256);
static_assert(std::size(UpperDeltaBlocks[0]) == 256 && std::size(CharTypeBlocks[0]) == 256);

template <size_t BlockCount>
uint16_t Lookup(const uint8_t (&index)[256], const uint16_t (&blocks)[BlockCount][256], WideChar c) {
  return blocks[index[c >> 8]][c & 0xFF];
}

WideChar ApplyDelta(WideChar c, uint16_t delta) { return static_cast<WideChar>((c + delta) & 0xFFFF); }

}  // namespace

WideChar SimpleUpperCase(WideChar c) noexcept { return ApplyDelta(c, Lookup(UpperDeltaIndex, UpperDeltaBlocks, c)); }
WideChar SimpleLowerCase(WideChar c) noexcept { return ApplyDelta(c, Lookup(LowerDeltaIndex, LowerDeltaBlocks, c)); }
WideChar SimpleCaseFold(WideChar c) noexcept { return ApplyDelta(c, Lookup(FoldDeltaIndex, FoldDeltaBlocks, c)); }

uint32_t CharUpperBuffW(WideChar* buffer, uint32_t length) noexcept {
  for (uint32_t i = 0; i < length; ++i) buffer[i] = SimpleUpperCase(buffer[i]);
  return length;
}

uint32_t CharLowerBuffW(WideChar* buffer, uint32_t length) noexcept {
  for (uint32_t i = 0; i < length; ++i) buffer[i] = SimpleLowerCase(buffer[i]);
  return length;
}

uint16_t CharTypeC1(WideChar c) noexcept { return Lookup(CharTypeIndex, CharTypeBlocks, c); }
