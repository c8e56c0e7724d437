// The LZSS match search: one binary search tree of ring positions per first byte,
// ordered by the 18 bytes that start at each position, splayed after deep searches.
// This is the compressor's hot loop.
#include <algorithm>
#include <bit>
#include <cstring>

#include "wolf/uLZSS32.h"

namespace {

// Eight ring bytes as a big-endian number: comparing two such numbers orders the byte
// strings as a byte-by-byte comparison does, and the leading zero bits of their XOR
// count the equal leading bytes.
inline uint64_t LoadBigEndian64(const uint8_t* p) {
  uint64_t word;
  std::memcpy(&word, p, 8);
  if constexpr (std::endian::native == std::endian::little) word = __builtin_bswap64(word);
  return word;
}

constexpr uint64_t NodeMask = 0xFFFF;

// A tree link: one side of one node, read and written as the child's position while
// keeping the child's bytes 1..6 beside it.
class TLink {
public:
  TLink(uint64_t& slot, const uint8_t* ring) : FSlot(slot), FRing(ring) {}
  operator int32_t() const { return static_cast<int32_t>(FSlot & NodeMask); }
  TLink& operator=(int32_t node) {
    // Bytes 1..6 of node's string; for NIL they are never compared.
    FSlot = (LoadBigEndian64(FRing + node + 1) & ~NodeMask) | static_cast<uint64_t>(node);
    return *this;
  }
  // The same child keeps its bytes: the slot is copied as it is.
  TLink& operator=(const TLink& other) {
    FSlot = other.FSlot;
    return *this;
  }

private:
  uint64_t& FSlot;
  const uint8_t* FRing;
};

// The two links of every node, as accessors over the work area.
struct TLinks {
  uint64_t* Slots;
  const uint8_t* Ring;
  TLink Left(int32_t p) const { return TLink(Slots[2 * p], Ring); }
  TLink Right(int32_t p) const { return TLink(Slots[2 * p + 1], Ring); }
};

}  // namespace

void TLZSSCompressor::InitTree() {
  TWorkArea& work = *FWork;
  const TLinks c{work.Links.data(), work.Ring.data()};
  for (int32_t i = 0; i <= LZSSRingBytes; ++i) work.Parent[static_cast<size_t>(i)] = NIL;
  for (int32_t i = LZSSRingBytes + 1; i <= LZSSRingBytes + RootCount; ++i) c.Right(i) = NIL;
}

// Finds the longest earlier string matching the 18 bytes at r (FMatchPosition,
// FMatchLength) and inserts r. Byte 0 is equal by construction (the tree is that byte's);
// bytes 1..17 decide the side: greater or equal goes right. Among equal lengths the node
// met first wins; a full 18-byte match replaces the older node by r.
void TLZSSCompressor::InsertNode(int32_t r) {
  TWorkArea& work = *FWork;
  uint64_t* const slots = work.Links.data();
  uint16_t* const parent = work.Parent.data();
  const uint8_t* const ring = work.Ring.data();
  const TLinks c{slots, ring};
  const uint8_t* const key = ring + r;
  // Bytes 1..6 above all-ones low bits: compared with a link, it is greater exactly when
  // its bytes are greater, and the node bits need no masking.
  const uint64_t key1 = LoadBigEndian64(key + 1) | NodeMask;
  const uint64_t key7 = LoadBigEndian64(key + 7);    // bytes 7..14
  const uint64_t key10 = LoadBigEndian64(key + 10);  // bytes 10..17

  size_t p = LZSSRingBytes + 1 + key[0];
  c.Left(r) = NIL;
  c.Right(r) = NIL;
  int32_t matchLength = 0;
  size_t matchPosition = static_cast<size_t>(FMatchPosition);
  int32_t probes = 0;
  size_t slot = 2 * p + 1;  // the first step goes right, from the root
  for (;;) {
    ++probes;
    const uint64_t link = slots[slot];
    const size_t node = link & NodeMask;
    if (node == NIL) {
      TLink(slots[slot], ring) = r;
      parent[r] = static_cast<uint16_t>(p);
      break;
    }
    p = node;
    size_t side = key1 > link;
    int32_t i;
    if ((link | NodeMask) != key1) {
      i = 1 + std::countl_zero(link ^ key1) / 8;
    } else {
      const uint8_t* const candidate = ring + p;
      const uint64_t word7 = LoadBigEndian64(candidate + 7);
      const uint64_t word10 = LoadBigEndian64(candidate + 10);
      if (word7 != key7) {
        i = 7 + std::countl_zero(word7 ^ key7) / 8;
        side = key7 > word7;
      } else if (word10 != key10) {
        i = 10 + std::countl_zero(word10 ^ key10) / 8;
        side = key10 > word10;
      } else {
        i = LZSSMaxMatchBytes;
      }
    }
    // Selected, not branched on: a longer match turns up at unforeseeable steps.
    const size_t longer = 0 - static_cast<size_t>(i > matchLength);  // all ones or zero
    matchPosition ^= (matchPosition ^ p) & longer;
    matchLength = std::max(matchLength, i);
    if (matchLength == LZSSMaxMatchBytes) {
      ReplaceNode(static_cast<int32_t>(p), r);
      break;
    }
    slot = 2 * p + side;
  }
  FMatchLength = matchLength;
  FMatchPosition = static_cast<int32_t>(matchPosition);
  if (probes >= SplayProbes) SplayNode(r);
}

// r takes p's place in the tree; p leaves it.
void TLZSSCompressor::ReplaceNode(int32_t p, int32_t r) {
  TWorkArea& work = *FWork;
  const TLinks c{work.Links.data(), work.Ring.data()};
  uint16_t* const parent = work.Parent.data();
  parent[r] = parent[p];
  c.Left(r) = c.Left(p);
  c.Right(r) = c.Right(p);
  parent[c.Left(p)] = static_cast<uint16_t>(r);
  parent[c.Right(p)] = static_cast<uint16_t>(r);
  if (c.Right(parent[p]) == p)
    c.Right(parent[p]) = r;
  else
    c.Left(parent[p]) = r;
  parent[p] = NIL;
}

// Links move between slots as they are, cached bytes included, since they keep
// pointing at the same node.
void TLZSSCompressor::DeleteNode(int32_t node) {
  TWorkArea& work = *FWork;
  uint64_t* const slots = work.Links.data();
  uint16_t* const parent = work.Parent.data();
  const size_t p = static_cast<size_t>(node);
  const size_t up = parent[p];
  if (up == NIL) return;
  const uint64_t left = slots[2 * p];
  const uint64_t right = slots[2 * p + 1];
  uint64_t replacement;  // the link to the node that takes p's place
  if ((right & NodeMask) == NIL) {
    replacement = left;
  } else if ((left & NodeMask) == NIL) {
    replacement = right;
  } else {
    replacement = left;
    size_t q = left & NodeMask;
    if ((slots[2 * q + 1] & NodeMask) != NIL) {
      do {
        replacement = slots[2 * q + 1];
        q = replacement & NodeMask;
      } while ((slots[2 * q + 1] & NodeMask) != NIL);
      const uint16_t qUp = parent[q];
      const uint64_t qLeft = slots[2 * q];
      slots[2 * size_t{qUp} + 1] = qLeft;
      parent[qLeft & NodeMask] = qUp;
      slots[2 * q] = left;
      parent[left & NodeMask] = static_cast<uint16_t>(q);
    }
    slots[2 * q + 1] = right;
    parent[right & NodeMask] = static_cast<uint16_t>(q);
  }
  parent[replacement & NodeMask] = static_cast<uint16_t>(up);
  uint64_t* const upRight = &slots[2 * up + 1];
  if ((*upRight & NodeMask) == p)
    *upRight = replacement;
  else
    slots[2 * up] = replacement;
  parent[p] = NIL;
}

// Moves x to the top of its tree by zig, zig-zig and zig-zag rotations. Links to NIL
// subtrees update the NIL parent slot, which nothing reads.
void TLZSSCompressor::SplayNode(int32_t x) {
  TWorkArea& work = *FWork;
  const TLinks c{work.Links.data(), work.Ring.data()};
  uint16_t* const parent = work.Parent.data();
  const auto up = [](int32_t node) { return static_cast<uint16_t>(node); };
  for (;;) {
    const int32_t p = parent[x];
    if (p > LZSSRingBytes) return;  // x hangs on a root
    const int32_t g = parent[p];
    if (g > LZSSRingBytes) {
      if (c.Left(p) == x) {
        c.Left(p) = c.Right(x);
        c.Right(x) = p;
        parent[c.Left(p)] = up(p);
      } else {
        c.Right(p) = c.Left(x);
        c.Left(x) = p;
        parent[c.Right(p)] = up(p);
      }
      c.Right(g) = x;
      parent[p] = up(x);
      parent[x] = up(g);
      return;
    }
    const int32_t gg = parent[g];
    const bool gWasLeftOfGg = gg < LZSSRingBytes && c.Left(gg) == g;
    const bool xIsLeft = c.Left(p) == x;
    const bool pIsLeft = c.Left(g) == p;
    if (!xIsLeft && !pIsLeft) {
      c.Right(g) = c.Left(p);
      parent[c.Left(p)] = up(g);
      c.Right(p) = c.Left(x);
      parent[c.Left(x)] = up(p);
      c.Left(p) = g;
      parent[g] = up(p);
      c.Left(x) = p;
      parent[p] = up(x);
    } else if (xIsLeft && pIsLeft) {
      c.Left(g) = c.Right(p);
      parent[c.Right(p)] = up(g);
      c.Left(p) = c.Right(x);
      parent[c.Right(x)] = up(p);
      c.Right(p) = g;
      parent[g] = up(p);
      c.Right(x) = p;
      parent[p] = up(x);
    } else if (!xIsLeft && pIsLeft) {
      c.Left(g) = c.Right(x);
      parent[c.Right(x)] = up(g);
      c.Right(p) = c.Left(x);
      parent[c.Left(x)] = up(p);
      c.Right(x) = g;
      parent[g] = up(x);
      c.Left(x) = p;
      parent[p] = up(x);
    } else {
      c.Right(g) = c.Left(x);
      parent[c.Left(x)] = up(g);
      c.Left(p) = c.Right(x);
      parent[c.Right(x)] = up(p);
      c.Left(x) = g;
      parent[g] = up(x);
      c.Right(x) = p;
      parent[p] = up(x);
    }
    if (gWasLeftOfGg)
      c.Left(gg) = x;
    else
      c.Right(gg) = x;
    parent[x] = up(gg);
  }
}
