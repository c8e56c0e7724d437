// Upkeep of the LZSS search trees: their initial state and the splaying that lifts a
// deeply inserted node to the top of its tree.
#include "wolf/uLZSS32.h"
#include "wolf/uLZSS32Links.h"

void TLZSSCompressor::InitTree() {
  TWorkArea& work = *FWork;
  const TLZSSLinks c{work.Links.data(), work.Ring.data()};
  for (int32_t i = 0; i <= LZSSRingBytes; ++i) work.Parent[static_cast<size_t>(i)] = NIL;
  for (int32_t i = LZSSRingBytes + 1; i <= LZSSRingBytes + RootCount; ++i) c.Child(i, 1) = NIL;
}

// Moves x to the top of its tree by zig, zig-zig and zig-zag rotations, each written once
// for x on side a of its parent and b the other side. Links to NIL subtrees update the
// NIL parent slot, which nothing reads.
void TLZSSCompressor::SplayNode(int32_t x) {
  TWorkArea& work = *FWork;
  const TLZSSLinks c{work.Links.data(), work.Ring.data()};
  uint16_t* const parent = work.Parent.data();
  const auto up = [](int32_t node) { return static_cast<uint16_t>(node); };
  const auto sideOf = [&c](int32_t node, int32_t child) { return static_cast<size_t>(c.Child(node, 0) != child); };
  for (;;) {
    const int32_t p = parent[x];
    if (p > LZSSRingBytes) return;  // x hangs on a root
    const int32_t g = parent[p];
    const size_t a = sideOf(p, x);
    const size_t b = 1 - a;
    if (g > LZSSRingBytes) {
      c.Child(p, a) = c.Child(x, b);
      c.Child(x, b) = p;
      parent[c.Child(p, a)] = up(p);
      c.Child(g, 1) = x;
      parent[p] = up(x);
      parent[x] = up(g);
      return;
    }
    const int32_t gg = parent[g];
    const size_t gSide = gg < LZSSRingBytes ? sideOf(gg, g) : 1;  // a root hangs its tree on the right
    if (sideOf(g, p) == a) {                                      // zig-zig
      c.Child(g, a) = c.Child(p, b);
      parent[c.Child(p, b)] = up(g);
      c.Child(p, a) = c.Child(x, b);
      parent[c.Child(x, b)] = up(p);
      c.Child(p, b) = g;
      parent[g] = up(p);
      c.Child(x, b) = p;
      parent[p] = up(x);
    } else {  // zig-zag
      c.Child(g, b) = c.Child(x, a);
      parent[c.Child(x, a)] = up(g);
      c.Child(p, a) = c.Child(x, b);
      parent[c.Child(x, b)] = up(p);
      c.Child(x, a) = g;
      parent[g] = up(x);
      c.Child(x, b) = p;
      parent[p] = up(x);
    }
    c.Child(gg, gSide) = x;
    parent[x] = up(gg);
  }
}
