// The LZSS match search: one binary search tree of ring positions per first byte,
// ordered by the 18 bytes that start at each position, splayed after deep searches.
// This is the compressor's hot loop.
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

inline uint16_t& Left(uint16_t* children, int32_t p) { return children[2 * p]; }
inline uint16_t& Right(uint16_t* children, int32_t p) { return children[2 * p + 1]; }

}  // namespace

void TLZSSCompressor::InitTree() {
  TWorkArea& work = *FWork;
  uint16_t* const children = work.Children.data();
  for (int32_t i = 0; i <= LZSSRingBytes; ++i) work.Parent[static_cast<size_t>(i)] = NIL;
  for (int32_t i = LZSSRingBytes + 1; i <= LZSSRingBytes + RootCount; ++i) Right(children, i) = NIL;
}

// Finds the longest earlier string matching the 18 bytes at r (FMatchPosition,
// FMatchLength) and inserts r. Byte 0 is equal by construction (the tree is that byte's);
// bytes 1..17 decide the side: greater or equal goes right. Among equal lengths the node
// met first wins; a full 18-byte match replaces the older node by r.
void TLZSSCompressor::InsertNode(int32_t r) {
  TWorkArea& work = *FWork;
  uint16_t* const children = work.Children.data();
  uint16_t* const parent = work.Parent.data();
  const uint8_t* const ring = work.Ring.data();
  const uint8_t* const key = ring + r;
  const uint64_t key1 = LoadBigEndian64(key + 1);
  const uint64_t key9 = LoadBigEndian64(key + 9);
  const uint8_t key17 = key[17];
  const uint16_t node = static_cast<uint16_t>(r);

  int32_t p = LZSSRingBytes + 1 + key[0];
  int32_t side = 1;  // the first step goes right, from the root
  Left(children, r) = Right(children, r) = NIL;
  int32_t matchLength = 0;
  int32_t probes = 0;
  for (;;) {
    ++probes;
    uint16_t& link = children[2 * p + side];
    if (link == NIL) {
      link = node;
      parent[r] = static_cast<uint16_t>(p);
      break;
    }
    p = link;
    const uint8_t* const candidate = ring + p;
    int32_t i;
    const uint64_t word1 = LoadBigEndian64(candidate + 1);
    if (word1 != key1) {
      i = 1 + std::countl_zero(word1 ^ key1) / 8;
      side = key1 > word1;
    } else {
      const uint64_t word9 = LoadBigEndian64(candidate + 9);
      if (word9 != key9) {
        i = 9 + std::countl_zero(word9 ^ key9) / 8;
        side = key9 > word9;
      } else if (candidate[17] != key17) {
        i = 17;
        side = key17 > candidate[17];
      } else {
        i = LZSSMaxMatchBytes;
      }
    }
    if (i > matchLength) {
      FMatchPosition = p;
      matchLength = i;
      if (i == LZSSMaxMatchBytes) {
        // r takes p's place in the tree; p leaves it.
        parent[r] = parent[p];
        Left(children, r) = Left(children, p);
        Right(children, r) = Right(children, p);
        parent[Left(children, p)] = node;
        parent[Right(children, p)] = node;
        if (Right(children, parent[p]) == p)
          Right(children, parent[p]) = node;
        else
          Left(children, parent[p]) = node;
        parent[p] = NIL;
        break;
      }
    }
  }
  FMatchLength = matchLength;
  if (probes >= SplayProbes) SplayNode(r);
}

void TLZSSCompressor::DeleteNode(int32_t p) {
  TWorkArea& work = *FWork;
  uint16_t* const c = work.Children.data();
  uint16_t* const parent = work.Parent.data();
  if (parent[p] == NIL) return;
  int32_t q;
  if (Right(c, p) == NIL) {
    q = Left(c, p);
  } else if (Left(c, p) == NIL) {
    q = Right(c, p);
  } else {
    q = Left(c, p);
    if (Right(c, q) != NIL) {
      do q = Right(c, q);
      while (Right(c, q) != NIL);
      Right(c, parent[q]) = Left(c, q);
      parent[Left(c, q)] = parent[q];
      Left(c, q) = Left(c, p);
      parent[Left(c, p)] = static_cast<uint16_t>(q);
    }
    Right(c, q) = Right(c, p);
    parent[Right(c, p)] = static_cast<uint16_t>(q);
  }
  parent[q] = parent[p];
  if (Right(c, parent[p]) == p)
    Right(c, parent[p]) = static_cast<uint16_t>(q);
  else
    Left(c, parent[p]) = static_cast<uint16_t>(q);
  parent[p] = NIL;
}

// Moves x to the top of its tree by zig, zig-zig and zig-zag rotations. Links to NIL
// subtrees update the NIL parent slot, which nothing reads.
void TLZSSCompressor::SplayNode(int32_t x) {
  TWorkArea& work = *FWork;
  uint16_t* const c = work.Children.data();
  uint16_t* const parent = work.Parent.data();
  const uint16_t nx = static_cast<uint16_t>(x);
  for (;;) {
    const int32_t p = parent[x];
    if (p > LZSSRingBytes) return;  // x hangs on a root
    const uint16_t np = static_cast<uint16_t>(p);
    const int32_t g = parent[p];
    if (g > LZSSRingBytes) {
      if (Left(c, p) == x) {
        Left(c, p) = Right(c, x);
        Right(c, x) = np;
        parent[Left(c, p)] = np;
      } else {
        Right(c, p) = Left(c, x);
        Left(c, x) = np;
        parent[Right(c, p)] = np;
      }
      Right(c, g) = nx;
      parent[p] = nx;
      parent[x] = static_cast<uint16_t>(g);
      return;
    }
    const uint16_t ng = static_cast<uint16_t>(g);
    const int32_t gg = parent[g];
    const bool gWasLeftOfGg = gg < LZSSRingBytes && Left(c, gg) == g;
    const bool xIsLeft = Left(c, p) == x;
    const bool pIsLeft = Left(c, g) == p;
    if (!xIsLeft && !pIsLeft) {
      Right(c, g) = Left(c, p);
      parent[Left(c, p)] = ng;
      Right(c, p) = Left(c, x);
      parent[Left(c, x)] = np;
      Left(c, p) = ng;
      parent[g] = np;
      Left(c, x) = np;
      parent[p] = nx;
    } else if (xIsLeft && pIsLeft) {
      Left(c, g) = Right(c, p);
      parent[Right(c, p)] = ng;
      Left(c, p) = Right(c, x);
      parent[Right(c, x)] = np;
      Right(c, p) = ng;
      parent[g] = np;
      Right(c, x) = np;
      parent[p] = nx;
    } else if (!xIsLeft && pIsLeft) {
      Left(c, g) = Right(c, x);
      parent[Right(c, x)] = ng;
      Right(c, p) = Left(c, x);
      parent[Left(c, x)] = np;
      Right(c, x) = ng;
      parent[g] = nx;
      Left(c, x) = np;
      parent[p] = nx;
    } else {
      Right(c, g) = Left(c, x);
      parent[Left(c, x)] = ng;
      Left(c, p) = Right(c, x);
      parent[Right(c, x)] = np;
      Left(c, x) = ng;
      parent[g] = nx;
      Right(c, x) = np;
      parent[p] = nx;
    }
    if (gWasLeftOfGg)
      Left(c, gg) = nx;
    else
      Right(c, gg) = nx;
    parent[x] = static_cast<uint16_t>(gg);
  }
}
