// Tree links of the LZSS compressor, shared by its search (uLZSS32Search.cpp) and its
// tree maintenance (uLZSS32Tree.cpp). Internal to the compressor.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

// Eight ring bytes as a big-endian number: comparing two such numbers orders the byte
// strings as a byte-by-byte comparison does, and the leading zero bits of their XOR
// count the equal leading bytes.
inline uint64_t LZSSLoadBigEndian64(const uint8_t* p) {
  uint64_t word;
  std::memcpy(&word, p, 8);
  if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
  return word;
}

inline constexpr uint64_t LZSSNodeMask = 0xFFFF;  // a link's node bits

// A tree link: one side of one node, read and written as the child's position while
// keeping the child's bytes 1..6 beside it.
class TLZSSLink {
public:
  TLZSSLink(uint64_t& slot, const uint8_t* ring) : FSlot(slot), FRing(ring) {}
  operator int32_t() const { return static_cast<int32_t>(FSlot & LZSSNodeMask); }
  TLZSSLink& operator=(int32_t node) {
    // Bytes 1..6 of node's string; for NIL they are never compared.
    FSlot = (LZSSLoadBigEndian64(FRing + node + 1) & ~LZSSNodeMask) | static_cast<uint64_t>(node);
    return *this;
  }
  // The same child keeps its bytes: the slot is copied as it is.
  TLZSSLink& operator=(const TLZSSLink& other) {
    FSlot = other.FSlot;
    return *this;
  }

private:
  uint64_t& FSlot;
  const uint8_t* FRing;
};

// The two links of every node, as accessors over the work area: side 0 is the left
// link, side 1 the right one.
struct TLZSSLinks {
  uint64_t* Slots;
  const uint8_t* Ring;
  TLZSSLink Child(int32_t p, size_t side) const { return TLZSSLink(Slots[2 * static_cast<size_t>(p) + side], Ring); }
};
