// A Huffman code of the inflate engine, as one decoding table.
//
// The table has 2^LongestLength entries indexed by the next LongestLength input bits
// (first bit lowest). An entry holds the symbol (bits 0-15), its code length (bits
// 16-23) and its count of extra bits (bits 24-31); the table starts zeroed, so bits that
// match no code of an incomplete code read as length 0, which decoders reject.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

class TArDfDecodeHuffmanTree {
public:
  // maxCodeLength: 7 for the code-length code, 15 otherwise. extraBits gives the extra
  // bits of the symbols from extraBase on (none when empty).
  TArDfDecodeHuffmanTree(int alphabetSize, int maxCodeLength, std::span<const uint8_t> extraBits = {},
                         int extraBase = 0);

  // Builds the canonical code of RFC 1951 from one length per symbol (0 = unused).
  // Raises the oversubscribed-code fault when the lengths describe more codes than
  // their bits allow.
  void Build(std::span<const uint8_t> codeLengths);

  uint32_t Lookup(uint64_t bits) const { return FTable[bits & FMask]; }
  static uint32_t Symbol(uint32_t entry) { return entry & 0xFFFF; }
  static uint32_t CodeLength(uint32_t entry) { return (entry >> 16) & 0xFF; }
  static uint32_t ExtraBits(uint32_t entry) { return entry >> 24; }
  int LongestLength() const { return FLongestLength; }
  int AlphabetSize() const { return FAlphabetSize; }

  // The fixed codes of block type 1, built once: literal/length (288 symbols) and
  // distance (32 symbols).
  static const TArDfDecodeHuffmanTree& FixedLiteralTree();
  static const TArDfDecodeHuffmanTree& FixedDistanceTree();

private:
  int FAlphabetSize;
  int FMaxCodeLength;
  std::span<const uint8_t> FExtraBits;
  int FExtraBase;
  int FLongestLength = 0;
  uint64_t FMask = 0;
  std::vector<uint32_t> FTable;
};
