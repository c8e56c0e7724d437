// Upkeep of the LZSS search trees: their initial state and the splaying that lifts a
// deeply inserted node to the top of its tree.
#include "wolf/uLZSS32.h"
#include "wolf/uLZSS32Links.h"

void TLZSSCompressor::InitTree() {
  TWorkArea& work = *FWork;
  const TLZSSLinks c{work.Links.data(), work.Ring.data()};
  for (int32_t i = 0; i <= LZSSRingBytes; ++i) work.Parent[static_cast<size_t>(i)] = NIL;
  for (int32_t i = LZSSRingBytes + 1; i <= LZSSRingBytes + RootCount; ++i) c.Right(i) = NIL;
}

// Moves x to the top of its tree by zig, zig-zig and zig-zag rotations. Links to NIL
// subtrees update the NIL parent slot, which nothing reads.
void TLZSSCompressor::SplayNode(int32_t x) {
  TWorkArea& work = *FWork;
  const TLZSSLinks c{work.Links.data(), work.Ring.data()};
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
