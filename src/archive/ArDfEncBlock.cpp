#include "archive/ArDfEncBlock.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

#include "archive/ArDfPkMg.h"
#include "archive/ArDfTbls.h"
#include "archive/ArDfXlat.h"

namespace {

// Canonical codes (RFC 1951, 3.2.2) for given lengths, bit-reversed for writing least
// significant bit first.
template <size_t N>
struct TEncodeCode {
  std::array<uint8_t, N> Lengths{};
  std::array<uint16_t, N> Codes{};

  explicit TEncodeCode(std::span<const uint8_t> lengths) {
    std::copy(lengths.begin(), lengths.end(), Lengths.begin());
    std::array<uint16_t, DfMaxCodeBits + 2> counts{}, next{};
    for (uint8_t length : Lengths) ++counts[length];
    counts[0] = 0;
    uint32_t code = 0;
    for (size_t bits = 1; bits <= DfMaxCodeBits; ++bits) {
      code = (code + counts[bits - 1]) << 1;
      next[bits] = static_cast<uint16_t>(code);
    }
    for (size_t symbol = 0; symbol < N; ++symbol) {
      uint32_t length = Lengths[symbol];
      if (length == 0) continue;
      uint32_t value = next[length]++, reversed = 0;
      for (uint32_t i = 0; i < length; ++i) reversed |= ((value >> i) & 1) << (length - 1 - i);
      Codes[symbol] = static_cast<uint16_t>(reversed);
    }
  }
};

using TLiteralCode = TEncodeCode<288>;
using TDistanceCode = TEncodeCode<32>;

constexpr std::array<uint8_t, 288> FixedLiteralLengths = [] {
  std::array<uint8_t, 288> lengths{};
  for (size_t i = 0; i < 288; ++i) lengths[i] = i < 144 ? 8 : i < 256 ? 9 : i < 280 ? 7 : 8;
  return lengths;
}();
constexpr std::array<uint8_t, 32> FixedDistanceLengths = [] {
  std::array<uint8_t, 32> lengths{};
  lengths.fill(5);
  return lengths;
}();

const TLiteralCode& FixedLiterals() {
  static const TLiteralCode code(FixedLiteralLengths);
  return code;
}
const TDistanceCode& FixedDistances() {
  static const TDistanceCode code(FixedDistanceLengths);
  return code;
}

// Extra bits of a length symbol index (0..28): deflate's symbol 285 has none.
uint32_t LengthExtraBits(uint32_t index, bool deflate64) {
  return index == 28 && !deflate64 ? 0 : DfLengthExtra[index];
}

uint32_t LengthIndex(uint32_t length, bool deflate64) {
  return deflate64 ? TArDfTranslator::LengthSymbolIndex64(length) : TArDfTranslator::LengthSymbolIndex(length);
}

// Bits the block's tokens and end-of-block take with the given lengths.
uint64_t DataBits(const TArDfLZStream& block, std::span<const uint8_t> literalLengths,
                  std::span<const uint8_t> distanceLengths) {
  uint64_t bits = 0;
  const auto& literals = block.LiteralFrequencies();
  for (size_t symbol = 0; symbol < literals.size(); ++symbol) {
    uint64_t perSymbol = literalLengths[symbol];
    if (symbol > DfEndOfBlock)
      perSymbol += LengthExtraBits(static_cast<uint32_t>(symbol - DfFirstLengthSymbol), block.Deflate64());
    bits += literals[symbol] * perSymbol;
  }
  const auto& distances = block.DistanceFrequencies();
  for (size_t code = 0; code < distances.size(); ++code)
    bits += distances[code] * (uint64_t{distanceLengths[code]} + DfDistanceExtra[code]);
  return bits;
}

void WriteTokens(TArDfOutBitStream& out, const TArDfLZStream& block, const TLiteralCode& literals,
                 const TDistanceCode& distances) {
  bool deflate64 = block.Deflate64();
  for (const TArDfToken& token : block.Tokens()) {
    if (token.Length == 0) {
      out.WriteBits(literals.Codes[token.Value], literals.Lengths[token.Value]);
      continue;
    }
    uint32_t index = LengthIndex(token.Length, deflate64);
    uint32_t symbol = DfFirstLengthSymbol + index;
    out.WriteBits(literals.Codes[symbol], literals.Lengths[symbol]);
    uint32_t extra = LengthExtraBits(index, deflate64);
    if (extra > 0) out.WriteBits(token.Length - DfLengthBase[index], extra);
    uint32_t distance = uint32_t{token.Value} + 1;
    uint32_t code = TArDfTranslator::DistanceCode(distance);
    out.WriteBits(distances.Codes[code], distances.Lengths[code]);
    if (DfDistanceExtra[code] > 0) out.WriteBits(distance - DfDistanceBase[code], DfDistanceExtra[code]);
  }
  out.WriteBits(literals.Codes[DfEndOfBlock], literals.Lengths[DfEndOfBlock]);
}

// A code-length symbol (0..18) with the value of its extra bits.
struct TCodeLengthSymbol {
  uint8_t Symbol;
  uint8_t Extra;
};
constexpr std::array<uint8_t, DfCodeLengthCodes> CodeLengthExtraBits{0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                                                     0, 0, 0, 0, 0, 0, 2, 3, 7};

// Run-length codes the lengths: a repeated non-zero length once and then as 16 (3-6
// repeats), zero runs as 17 (3-10) or 18 (11-138), shorter runs as plain lengths.
std::vector<TCodeLengthSymbol> RunLengthCode(std::span<const uint8_t> lengths) {
  std::vector<TCodeLengthSymbol> symbols;
  for (size_t i = 0; i < lengths.size();) {
    uint8_t value = lengths[i];
    size_t run = 1;
    while (i + run < lengths.size() && lengths[i + run] == value) ++run;
    i += run;
    if (value != 0) {
      symbols.push_back({value, 0});
      --run;
      for (; run >= 3; run -= std::min<size_t>(run, 6))
        symbols.push_back({16, static_cast<uint8_t>(std::min<size_t>(run, 6) - 3)});
    } else {
      for (; run >= 11; run -= std::min<size_t>(run, 138))
        symbols.push_back({18, static_cast<uint8_t>(std::min<size_t>(run, 138) - 11)});
      if (run >= 3) {
        symbols.push_back({17, static_cast<uint8_t>(run - 3)});
        run = 0;
      }
    }
    for (; run > 0; --run) symbols.push_back({value, 0});
  }
  return symbols;
}

// Everything a dynamic block's header holds, and the sizes to compare.
struct TDynamicHeader {
  std::array<uint8_t, 288> LiteralLengths{};
  std::array<uint8_t, 32> DistanceLengths{};
  uint32_t LiteralCount = 257;
  uint32_t DistanceCount = 1;
  std::vector<TCodeLengthSymbol> Symbols;
  std::array<uint8_t, DfCodeLengthCodes> CodeLengthLengths{};
  uint32_t CodeLengthCount = 4;
  uint64_t HeaderBits = 0;

  explicit TDynamicHeader(const TArDfLZStream& block) {
    const auto& literals = block.LiteralFrequencies();
    PackageMergeLengths(literals, DfMaxCodeBits, std::span<uint8_t>(LiteralLengths.data(), literals.size()));
    size_t distanceSymbols = block.Deflate64() ? 32 : DfMaxDistanceCodes;
    PackageMergeLengths(std::span<const uint32_t>(block.DistanceFrequencies().data(), distanceSymbols), DfMaxCodeBits,
                        std::span<uint8_t>(DistanceLengths.data(), distanceSymbols));
    for (uint32_t i = DfFirstLengthSymbol; i < literals.size(); ++i)
      if (LiteralLengths[i] != 0) LiteralCount = i + 1;
    for (uint32_t i = 0; i < distanceSymbols; ++i)
      if (DistanceLengths[i] != 0) DistanceCount = i + 1;

    std::array<uint8_t, 288 + 32> all{};
    std::copy_n(LiteralLengths.begin(), LiteralCount, all.begin());
    std::copy_n(DistanceLengths.begin(), DistanceCount, all.begin() + LiteralCount);
    Symbols = RunLengthCode(std::span<const uint8_t>(all.data(), LiteralCount + DistanceCount));
    std::array<uint32_t, DfCodeLengthCodes> frequencies{};
    for (const TCodeLengthSymbol& s : Symbols) ++frequencies[s.Symbol];
    PackageMergeLengths(frequencies, DfMaxCodeLengthBits, CodeLengthLengths);
    for (uint32_t i = 0; i < DfCodeLengthCodes; ++i)
      if (CodeLengthLengths[DfCodeLengthOrder[i]] != 0) CodeLengthCount = std::max(CodeLengthCount, i + 1);
    HeaderBits = 14 + 3 * uint64_t{CodeLengthCount};
    for (const TCodeLengthSymbol& s : Symbols)
      HeaderBits += uint64_t{CodeLengthLengths[s.Symbol]} + CodeLengthExtraBits[s.Symbol];
  }

  void Write(TArDfOutBitStream& out) const {
    out.WriteBits(LiteralCount - 257, 5);
    out.WriteBits(DistanceCount - 1, 5);
    out.WriteBits(CodeLengthCount - 4, 4);
    for (uint32_t i = 0; i < CodeLengthCount; ++i) out.WriteBits(CodeLengthLengths[DfCodeLengthOrder[i]], 3);
    TEncodeCode<DfCodeLengthCodes> code(CodeLengthLengths);
    for (const TCodeLengthSymbol& s : Symbols) {
      out.WriteBits(code.Codes[s.Symbol], code.Lengths[s.Symbol]);
      if (CodeLengthExtraBits[s.Symbol] > 0) out.WriteBits(s.Extra, CodeLengthExtraBits[s.Symbol]);
    }
  }
};

}  // namespace

void TArDfBlockWriter::WriteStored(const TArDfLZStream& block, bool final) {
  int64_t resume = FSource.Position();
  FSource.SetPosition(FSourceStart + block.StartOffset());
  std::vector<uint8_t> piece;
  uint32_t left = block.CoveredBytes();
  // A stored block holds at most 65535 bytes: more make several blocks.
  do {
    uint32_t n = std::min<uint32_t>(left, 65535);
    left -= n;
    piece.resize(n);
    FSource.ReadBuffer(piece.data(), static_cast<int32_t>(n));
    FOut.WriteBits(final && left == 0 ? 1 : 0, 3);
    FOut.AlignToByte();
    FOut.WriteBits(n, 16);
    FOut.WriteBits(~n & 0xFFFF, 16);
    FOut.WriteBytes(piece.data(), n);
  } while (left > 0);
  FSource.SetPosition(resume);
}

void TArDfBlockWriter::WriteBlock(const TArDfLZStream& block, bool final) {
  uint32_t finalBit = final ? 1 : 0;
  if (FMethod == dfc_FixedHuffman) {
    FOut.WriteBits(2 | finalBit, 3);
    WriteTokens(FOut, block, FixedLiterals(), FixedDistances());
    return;
  }
  TDynamicHeader header(block);
  if (FMethod != dfc_DynamicHuffman) {
    uint64_t dynamicBits = header.HeaderBits + DataBits(block, header.LiteralLengths, header.DistanceLengths);
    uint64_t fixedBits = DataBits(block, FixedLiteralLengths, FixedDistanceLengths);
    uint64_t storedBits = (uint64_t{block.CoveredBytes()} + 4) * 8;
    bool fixedWins = fixedBits < dynamicBits;
    if (storedBits < (fixedWins ? fixedBits : dynamicBits)) {
      WriteStored(block, final);
      return;
    }
    if (fixedWins) {
      FOut.WriteBits(2 | finalBit, 3);
      WriteTokens(FOut, block, FixedLiterals(), FixedDistances());
      return;
    }
  }
  FOut.WriteBits(4 | finalBit, 3);
  header.Write(FOut);
  WriteTokens(FOut, block, TLiteralCode(header.LiteralLengths), TDistanceCode(header.DistanceLengths));
}
