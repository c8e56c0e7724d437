#include "archive/ArDfHufD.h"

#include <algorithm>
#include <array>
#include <cassert>

#include "archive/ArDfFault.h"
#include "archive/ArDfTbls.h"

TArDfDecodeHuffmanTree::TArDfDecodeHuffmanTree(int alphabetSize, int maxCodeLength, std::span<const uint8_t> extraBits,
                                               int extraBase)
    : FAlphabetSize(alphabetSize), FMaxCodeLength(maxCodeLength), FExtraBits(extraBits), FExtraBase(extraBase) {}

void TArDfDecodeHuffmanTree::Build(std::span<const uint8_t> codeLengths) {
  assert(static_cast<int>(codeLengths.size()) <= FAlphabetSize);
  std::array<uint32_t, DfMaxCodeBits + 1> counts{};
  for (uint8_t length : codeLengths) {
    assert(length <= FMaxCodeLength);
    ++counts[length];
  }
  counts[0] = 0;
  int32_t left = 1;
  FLongestLength = 0;
  std::array<uint32_t, DfMaxCodeBits + 2> nextCode{};
  for (size_t length = 1; length <= static_cast<size_t>(FMaxCodeLength); ++length) {
    left = 2 * left - static_cast<int32_t>(counts[length]);
    if (left < 0) InflateFault(TArInflateFault::OversubscribedCode);
    if (counts[length]) FLongestLength = static_cast<int>(length);
    nextCode[length + 1] = (nextCode[length] + counts[length]) << 1;
  }
  size_t tableSize = size_t{1} << FLongestLength;
  FTable.assign(tableSize, 0);
  FMask = tableSize - 1;
  for (size_t symbol = 0; symbol < codeLengths.size(); ++symbol) {
    uint32_t length = codeLengths[symbol];
    if (!length) continue;
    uint32_t code = nextCode[length]++;
    uint32_t reversed = 0;
    for (uint32_t i = 0; i < length; ++i) reversed |= ((code >> i) & 1) << (length - 1 - i);
    uint32_t extra = 0;
    int index = static_cast<int>(symbol) - FExtraBase;
    if (index >= 0 && index < static_cast<int>(FExtraBits.size())) extra = FExtraBits[static_cast<size_t>(index)];
    uint32_t entry = static_cast<uint32_t>(symbol) | length << 16 | extra << 24;
    for (size_t i = reversed; i < tableSize; i += size_t{1} << length) FTable[i] = entry;
  }
}

const TArDfDecodeHuffmanTree& TArDfDecodeHuffmanTree::FixedLiteralTree() {
  static const TArDfDecodeHuffmanTree tree = [] {
    TArDfDecodeHuffmanTree t(288, DfMaxCodeBits, DfLengthExtra, DfFirstLengthSymbol);
    std::array<uint8_t, 288> lengths{};
    std::fill(lengths.begin(), lengths.begin() + 144, 8);
    std::fill(lengths.begin() + 144, lengths.begin() + 256, 9);
    std::fill(lengths.begin() + 256, lengths.begin() + 280, 7);
    std::fill(lengths.begin() + 280, lengths.end(), 8);
    t.Build(lengths);
    return t;
  }();
  return tree;
}

const TArDfDecodeHuffmanTree& TArDfDecodeHuffmanTree::FixedDistanceTree() {
  static const TArDfDecodeHuffmanTree tree = [] {
    TArDfDecodeHuffmanTree t(32, DfMaxCodeBits, DfDistanceExtra, 0);
    std::array<uint8_t, 32> lengths;
    lengths.fill(5);
    t.Build(lengths);
    return t;
  }();
  return tree;
}
