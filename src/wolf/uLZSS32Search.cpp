// The LZSS encoding loop and its match search, the compressor's hot loop.
#include <algorithm>
#include <bit>

#include "wolf/uLZSS32.h"
#include "wolf/uLZSS32Links.h"

inline int32_t TLZSSCompressor::GetByte() {
  if (FInputIndex >= FInputCount) {
    if (FInputEnded) return -1;
    FInputCount = (*FReadBlock)(FInput.get(), LZSSBlockBytes);
    FInputIndex = 0;
    if (FInputCount <= 0) {
      FInputCount = 0;
      FInputEnded = true;
      return -1;
    }
  }
  return FInput[static_cast<size_t>(FInputIndex++)];
}

inline void TLZSSCompressor::PutByte(uint8_t value) {
  FOutput[static_cast<size_t>(FOutputCount++)] = value;
  if (FOutputCount == LZSSBlockBytes) {
    (*FWriteBlock)(FOutput.get(), FOutputCount);
    FOutputCount = 0;
  }
}

// State of the encoder: the ring holds the last N - F coded bytes before position r and
// the F look-ahead bytes from r on; s = r + F (mod N) is the oldest string, removed from
// the trees before its slot is refilled. FMatchPosition/FMatchLength describe the
// longest earlier string matching the look-ahead, found when r was inserted.
void TLZSSCompressor::LZSSEncode() {
  TWorkArea& work = *FWork;
  InitTree();

  std::array<uint8_t, LZSSGroupBytes> group{};
  size_t groupBytes = 1;
  uint8_t mask = 1;
  const auto emitGroup = [&] {
    for (size_t i = 0; i < groupBytes; ++i) PutByte(group[i]);
    group[0] = 0;
    groupBytes = 1;
    mask = 1;
  };

  int32_t s = 0;
  int32_t r = LZSSStartPos;
  int32_t len = 0;
  for (int32_t c; len < LZSSMaxMatchBytes && (c = GetByte()) >= 0; ++len)
    work.Ring[static_cast<size_t>(r + len)] = static_cast<uint8_t>(c);
  TLookAhead lookAhead;
  for (int32_t k = 0; k < LZSSMaxMatchBytes; ++k) lookAhead.Push(work.Ring[static_cast<size_t>(r + k)]);

  if (len > 0) {
    InsertNode(r, lookAhead);
    do {
      if (FMatchLength > len) FMatchLength = len;
      if (FMatchLength < LZSSMinMatchBytes) {
        FMatchLength = 1;
        group[0] |= mask;
        group[groupBytes++] = work.Ring[static_cast<size_t>(r)];
      } else {
        group[groupBytes++] = static_cast<uint8_t>(FMatchPosition & 0xFF);
        group[groupBytes++] = static_cast<uint8_t>(((FMatchPosition >> 8) << 4) | (FMatchLength - LZSSMinMatchBytes));
      }
      mask = static_cast<uint8_t>(mask << 1);
      if (mask == 0) emitGroup();

      const int32_t last = FMatchLength;
      int32_t i = 0;
      for (int32_t c; i < last && (c = GetByte()) >= 0; ++i) {
        DeleteNode(s);
        work.Ring[static_cast<size_t>(s)] = static_cast<uint8_t>(c);
        if (s < LZSSMaxMatchBytes - 1) work.Ring[static_cast<size_t>(s + LZSSRingBytes)] = static_cast<uint8_t>(c);
        lookAhead.Push(static_cast<uint8_t>(c));
        s = (s + 1) & (LZSSRingBytes - 1);
        r = (r + 1) & (LZSSRingBytes - 1);
        InsertNode(r, lookAhead);
      }
      for (; i < last; ++i) {
        DeleteNode(s);
        lookAhead.Push(work.Ring[static_cast<size_t>(s)]);  // a stale byte past the input's end
        s = (s + 1) & (LZSSRingBytes - 1);
        r = (r + 1) & (LZSSRingBytes - 1);
        if (--len > 0) InsertNode(r, lookAhead);
      }
    } while (len > 0);
    // The last group goes out even when empty: a multiple of 8 items ends in 0x00.
    emitGroup();
  }
  (*FWriteBlock)(FOutput.get(), FOutputCount);
  FOutputCount = 0;
}

// A string's bytes 10..17 are read as one 8-byte word; for the last ring position the
// word ends on the mirror's last byte, inside the ring.
static_assert((LZSSRingBytes - 1) + 10 + 8 == LZSSRingBytes + LZSSMaxMatchBytes - 1);

// State of the search for r: link is the link just loaded, taken from side (0 left,
// 1 right) of node p (a root at first, whose tree hangs on its right). Each link holds
// its node's bytes 1..6 above the node bits, so one load both reaches the node and, in
// most steps, decides the side without touching the ring. Byte 0 is equal by
// construction (the tree is that byte's); bytes 1..17 decide: greater or equal goes
// right. The next link is read from the node's pair of links indexed by the side, so
// in most steps the chain from one link to the next is a load and a compare.
// matchLength and matchPosition hold the longest match so far, the node met first among
// equal lengths.
// The search ends at a NIL link, where r is hung, or at a full 18-byte match, where r
// replaces the older node; FMatchPosition/FMatchLength receive the result.
inline void TLZSSCompressor::InsertNode(int32_t r, const TLookAhead& lookAhead) {
  TWorkArea& work = *FWork;
  uint64_t* const slots = work.Links.data();
  uint16_t* const parent = work.Parent.data();
  const uint8_t* const ring = work.Ring.data();
  const uint64_t bytes0To7 = lookAhead.Bytes0To7;
  const uint64_t bytes8To15 = lookAhead.Bytes8To15;
  // Bytes 1..6 above all-ones low bits: compared with a link, it is greater exactly when
  // its bytes are greater, and the node bits need no masking.
  const uint64_t key1 = (bytes0To7 << 8 | bytes8To15 >> 56) | LZSSNodeMask;
  const uint64_t key7 = bytes0To7 << 56 | bytes8To15 >> 8;          // bytes 7..14
  const uint64_t key10 = bytes8To15 << 16 | lookAhead.Bytes16To17;  // bytes 10..17

  size_t p = LZSSRingBytes + 1 + (bytes0To7 >> 56);
  const size_t newNode = static_cast<size_t>(r);
  const uint64_t linkToNew = (key1 & ~LZSSNodeMask) | newNode;  // r's own bytes 1..6
  slots[2 * newNode] = NIL;                                     // links to NIL carry no bytes: they are never compared
  slots[2 * newNode + 1] = NIL;
  int32_t matchLength = 0;
  size_t matchPosition = static_cast<size_t>(FMatchPosition);
  int32_t probes = 0;
  size_t side = 1;  // the first step goes right, from the root
  uint64_t link = slots[2 * p + 1];
  for (;;) {
    ++probes;
    const size_t node = link & LZSSNodeMask;
    if (node == NIL) {
      slots[2 * p + side] = linkToNew;
      parent[newNode] = static_cast<uint16_t>(p);
      break;
    }
    p = node;
    const uint64_t* children = slots + 2 * p;
    // An empty asm makes the pair's address opaque, so the compiler cannot regroup
    // slots + 16 * p + 8 * side and put an addition between the compare and the next
    // load: that load then adds only the side to the address made during the compare.
    asm("" : "+r"(children));
    side = link < key1;
    int32_t i;
    if ((link | LZSSNodeMask) != key1) {
      i = 1 + std::countl_zero(link ^ key1) / 8;
    } else {
      const uint8_t* const candidate = ring + p;
      const uint64_t word7 = LZSSLoadBigEndian64(candidate + 7);
      const uint64_t word10 = LZSSLoadBigEndian64(candidate + 10);
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
      ReplaceNode(p, newNode, linkToNew);
      break;
    }
    link = children[side];
  }
  FMatchLength = matchLength;
  FMatchPosition = static_cast<int32_t>(matchPosition);
  if (probes >= SplayProbes) SplayNode(r);
}

// r takes p's place in the tree and p leaves it; linkToR points at r and carries its
// bytes, which are p's.
inline void TLZSSCompressor::ReplaceNode(size_t p, size_t r, uint64_t linkToR) {
  TWorkArea& work = *FWork;
  uint64_t* const slots = work.Links.data();
  uint16_t* const parent = work.Parent.data();
  const size_t up = parent[p];
  const uint64_t left = slots[2 * p];
  const uint64_t right = slots[2 * p + 1];
  parent[r] = static_cast<uint16_t>(up);
  slots[2 * r] = left;
  slots[2 * r + 1] = right;
  parent[left & LZSSNodeMask] = static_cast<uint16_t>(r);
  parent[right & LZSSNodeMask] = static_cast<uint16_t>(r);
  slots[2 * up + ((slots[2 * up + 1] & LZSSNodeMask) == p)] = linkToR;
  parent[p] = NIL;
}

// Links move between slots as they are, cached bytes included, since they keep
// pointing at the same node.
inline void TLZSSCompressor::DeleteNode(int32_t node) {
  TWorkArea& work = *FWork;
  uint64_t* const slots = work.Links.data();
  uint16_t* const parent = work.Parent.data();
  const size_t p = static_cast<size_t>(node);
  const size_t up = parent[p];
  if (up == NIL) return;
  const uint64_t left = slots[2 * p];
  const uint64_t right = slots[2 * p + 1];
  const bool rightIsNil = (right & LZSSNodeMask) == NIL;
  uint64_t replacement;  // the link to the node that takes p's place
  if (rightIsNil || (left & LZSSNodeMask) == NIL) {
    replacement = rightIsNil ? left : right;
  } else {
    replacement = left;
    size_t q = left & LZSSNodeMask;
    if ((slots[2 * q + 1] & LZSSNodeMask) != NIL) {
      do {
        replacement = slots[2 * q + 1];
        q = replacement & LZSSNodeMask;
      } while ((slots[2 * q + 1] & LZSSNodeMask) != NIL);
      const uint16_t qUp = parent[q];
      const uint64_t qLeft = slots[2 * q];
      slots[2 * size_t{qUp} + 1] = qLeft;
      parent[qLeft & LZSSNodeMask] = qUp;
      slots[2 * q] = left;
      parent[left & LZSSNodeMask] = static_cast<uint16_t>(q);
    }
    slots[2 * q + 1] = right;
    parent[right & LZSSNodeMask] = static_cast<uint16_t>(q);
  }
  parent[replacement & LZSSNodeMask] = static_cast<uint16_t>(up);
  // Either side of the parent, selected rather than branched on.
  slots[2 * up + ((slots[2 * up + 1] & LZSSNodeMask) == p)] = replacement;
  parent[p] = NIL;
}
