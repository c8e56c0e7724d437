// The encoder follows the format's reference encoder literally; only clarity matters
// here, not speed.
#include "wolf/ReferenceLZSS.h"

#include <array>
#include <memory>

namespace {

constexpr int N = 4096;          // ring size
constexpr int F = 18;            // longest match
constexpr int Threshold = 2;     // matches of this length or shorter are literals
constexpr int NIL = N;           // no node
constexpr int SplayProbes = 30;  // searches this deep splay the new node to the top

class TReferenceEncoder {
public:
  explicit TReferenceEncoder(const std::vector<uint8_t>& input) : FInput(input) {}

  std::vector<uint8_t> Encode() {
    for (int i = 0; i <= N; ++i) Dad[i] = NIL;
    for (int i = N + 1; i <= N + 256; ++i) RSon[i] = NIL;

    std::array<uint8_t, 17> group{};
    int groupBytes = 1;
    uint8_t mask = 1;
    int s = 0;
    int r = N - F;
    int len = 0;
    for (int c; len < F && (c = GetByte()) >= 0; ++len) Ring[r + len] = static_cast<uint8_t>(c);
    if (len == 0) return FOutput;
    InsertNode(r);
    while (len > 0) {
      if (MatchLength > len) MatchLength = len;
      if (MatchLength <= Threshold) {
        MatchLength = 1;
        group[0] = static_cast<uint8_t>(group[0] | mask);
        group[groupBytes++] = Ring[r];
      } else {
        group[groupBytes++] = static_cast<uint8_t>(MatchPosition & 0xFF);
        group[groupBytes++] = static_cast<uint8_t>(((MatchPosition >> 8) << 4) | (MatchLength - (Threshold + 1)));
      }
      mask = static_cast<uint8_t>(mask << 1);
      if (mask == 0) {
        FOutput.insert(FOutput.end(), group.begin(), group.begin() + groupBytes);
        group[0] = 0;
        groupBytes = 1;
        mask = 1;
      }
      const int last = MatchLength;
      int i = 0;
      for (int c; i < last && (c = GetByte()) >= 0; ++i) {
        DeleteNode(s);
        Ring[s] = static_cast<uint8_t>(c);
        if (s < F - 1) Ring[s + N] = static_cast<uint8_t>(c);
        s = (s + 1) % N;
        r = (r + 1) % N;
        InsertNode(r);
      }
      for (; i < last; ++i) {
        DeleteNode(s);
        s = (s + 1) % N;
        r = (r + 1) % N;
        --len;
        if (len > 0) InsertNode(r);
      }
    }
    FOutput.insert(FOutput.end(), group.begin(), group.begin() + groupBytes);
    return FOutput;
  }

private:
  int GetByte() { return FNext < FInput.size() ? FInput[FNext++] : -1; }

  void InsertNode(int r) {
    int cmp = 1;
    int p = N + 1 + Ring[r];
    RSon[r] = NIL;
    LSon[r] = NIL;
    MatchLength = 0;
    int probes = 0;
    for (;;) {
      ++probes;
      if (cmp >= 0) {
        if (RSon[p] == NIL) {
          RSon[p] = r;
          Dad[r] = p;
          break;
        }
        p = RSon[p];
      } else {
        if (LSon[p] == NIL) {
          LSon[p] = r;
          Dad[r] = p;
          break;
        }
        p = LSon[p];
      }
      int i = 1;
      for (; i < F; ++i) {
        cmp = Ring[r + i] - Ring[p + i];
        if (cmp != 0) break;
      }
      if (i > MatchLength) {
        MatchPosition = p;
        MatchLength = i;
        if (i >= F) {
          Dad[r] = Dad[p];
          LSon[r] = LSon[p];
          RSon[r] = RSon[p];
          Dad[LSon[p]] = r;
          Dad[RSon[p]] = r;
          if (RSon[Dad[p]] == p)
            RSon[Dad[p]] = r;
          else
            LSon[Dad[p]] = r;
          Dad[p] = NIL;
          break;
        }
      }
    }
    if (probes >= SplayProbes) SplayNode(r);
  }

  void SplayNode(int x) {
    for (;;) {
      const int p = Dad[x];
      if (p > N) return;
      const int g = Dad[p];
      if (g > N) {
        if (LSon[p] == x) {
          LSon[p] = RSon[x];
          Dad[RSon[x]] = p;
          RSon[x] = p;
        } else {
          RSon[p] = LSon[x];
          Dad[LSon[x]] = p;
          LSon[x] = p;
        }
        RSon[g] = x;
        Dad[p] = x;
        Dad[x] = g;
        return;
      }
      const int gg = Dad[g];
      const bool gWasLeft = gg < N && LSon[gg] == g;
      if (RSon[p] == x && RSon[g] == p) {
        RSon[g] = LSon[p];
        Dad[LSon[p]] = g;
        RSon[p] = LSon[x];
        Dad[LSon[x]] = p;
        LSon[p] = g;
        Dad[g] = p;
        LSon[x] = p;
        Dad[p] = x;
      } else if (LSon[p] == x && LSon[g] == p) {
        LSon[g] = RSon[p];
        Dad[RSon[p]] = g;
        LSon[p] = RSon[x];
        Dad[RSon[x]] = p;
        RSon[p] = g;
        Dad[g] = p;
        RSon[x] = p;
        Dad[p] = x;
      } else if (RSon[p] == x) {  // p is g's left child
        LSon[g] = RSon[x];
        Dad[RSon[x]] = g;
        RSon[p] = LSon[x];
        Dad[LSon[x]] = p;
        RSon[x] = g;
        Dad[g] = x;
        LSon[x] = p;
        Dad[p] = x;
      } else {  // x is p's left child, p is g's right child
        RSon[g] = LSon[x];
        Dad[LSon[x]] = g;
        LSon[p] = RSon[x];
        Dad[RSon[x]] = p;
        LSon[x] = g;
        Dad[g] = x;
        RSon[x] = p;
        Dad[p] = x;
      }
      if (gWasLeft)
        LSon[gg] = x;
      else
        RSon[gg] = x;
      Dad[x] = gg;
    }
  }

  void DeleteNode(int p) {
    if (Dad[p] == NIL) return;
    int q;
    if (RSon[p] == NIL) {
      q = LSon[p];
    } else if (LSon[p] == NIL) {
      q = RSon[p];
    } else {
      q = LSon[p];
      if (RSon[q] != NIL) {
        do q = RSon[q];
        while (RSon[q] != NIL);
        RSon[Dad[q]] = LSon[q];
        Dad[LSon[q]] = Dad[q];
        LSon[q] = LSon[p];
        Dad[LSon[p]] = q;
      }
      RSon[q] = RSon[p];
      Dad[RSon[p]] = q;
    }
    Dad[q] = Dad[p];
    if (RSon[Dad[p]] == p)
      RSon[Dad[p]] = q;
    else
      LSon[Dad[p]] = q;
    Dad[p] = NIL;
  }

  const std::vector<uint8_t>& FInput;
  size_t FNext = 0;
  std::vector<uint8_t> FOutput;
  uint8_t Ring[N + F - 1] = {};
  int LSon[N + 1] = {};
  int RSon[N + 257] = {};
  int Dad[N + 1] = {};
  int MatchPosition = 0;
  int MatchLength = 0;
};

}  // namespace

std::vector<uint8_t> ReferenceLZSSCompress(const std::vector<uint8_t>& input) {
  auto encoder = std::make_unique<TReferenceEncoder>(input);
  return encoder->Encode();
}
