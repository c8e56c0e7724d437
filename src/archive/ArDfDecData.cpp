// The inflate hot loop: literal/length and distance symbols of one block.
//
// State: the bit reader's `Bits`/`BitCount` (refilled to at least 57 bits before each
// symbol and again before a distance, so a code of up to 15 bits and its up to 16 extra
// bits always come from the buffer), and the window's `Pos`, advancing until it reaches
// `Stop`, where the window writes a slice or enforces the part and announced sizes.
// Every match is checked against the history actually held (Pos bytes, which is never
// less than the format's window once that much is decoded), so no copy reads outside
// the buffer. A match may end up to the longest match past Stop; the buffer has room.
#include <cstring>

#include "archive/ArDfDec.h"
#include "archive/ArDfFault.h"
#include "archive/ArDfHufD.h"
#include "archive/ArDfOutW.h"
#include "archive/ArDfStrm.h"
#include "archive/ArDfTbls.h"

namespace {

using Tree = TArDfDecodeHuffmanTree;

inline uint32_t DecodeSymbol(TArDfInBitStream& in, const Tree& tree) {
  uint32_t entry = tree.Lookup(in.Bits);
  uint32_t length = Tree::CodeLength(entry);
  if (length == 0) InflateFault(TArInflateFault::IncompleteCode);
  in.Consume(length, TArInflateFault::InputEndDiscard);
  return entry;
}

inline uint32_t TakeBits(TArDfInBitStream& in, uint32_t n) {
  uint32_t value = static_cast<uint32_t>(in.Bits & ((uint64_t{1} << n) - 1));
  in.Consume(n, TArInflateFault::InputEndDiscard);
  return value;
}

inline void CopyMatch(uint8_t* out, size_t distance, size_t length) {
  const uint8_t* from = out - distance;
  if (distance >= length) {
    std::memcpy(out, from, length);
  } else {
    // Overlapping: byte by byte, so that the repeated pattern forms.
    for (size_t i = 0; i < length; ++i) out[i] = from[i];
  }
}

}  // namespace

void DecodeData(TArDfInBitStream& in, TArDfOutputWindow& out, const Tree& literals, const Tree& distances,
                bool deflate64) {
  for (;;) {
    if (out.Pos >= out.Stop) out.Service();
    in.EnsureBits();
    uint32_t entry = DecodeSymbol(in, literals);
    uint32_t symbol = Tree::Symbol(entry);
    if (symbol < DfEndOfBlock) {
      out.Buffer[out.Pos++] = static_cast<uint8_t>(symbol);
      continue;
    }
    if (symbol == DfEndOfBlock) return;
    if (symbol > 285) InflateFault(TArInflateFault::LengthSymbol);
    size_t length;
    if (symbol == 285 && !deflate64) {
      length = DfMaxMatch;
    } else {
      uint32_t index = symbol - DfFirstLengthSymbol;
      length = DfLengthBase[index] + TakeBits(in, Tree::ExtraBits(entry));
    }
    in.EnsureBits();
    uint32_t distanceEntry = DecodeSymbol(in, distances);
    uint32_t distanceSymbol = Tree::Symbol(distanceEntry);
    if (distanceSymbol >= (deflate64 ? 32u : 30u)) InflateFault(TArInflateFault::DistanceSymbol);
    size_t distance = DfDistanceBase[distanceSymbol] + TakeBits(in, Tree::ExtraBits(distanceEntry));
    if (distance > out.Pos) InflateFault(TArInflateFault::DistanceTooFar);
    CopyMatch(out.Buffer + out.Pos, distance, length);
    out.Pos += length;
  }
}
