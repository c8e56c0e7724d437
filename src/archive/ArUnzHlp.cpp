#include "archive/ArUnzHlp.h"

#include <algorithm>
#include <array>
#include <vector>

#include "archive/ArUtils.h"
#include "archive/ArZipDefs.h"

namespace {

[[noreturn]] void Corrupt() { throw EArReadError(); }

// Bits of the compressed data, least significant first. State: `FBits` holds `FCount`
// bits; bytes come from a 4 KB buffer refilled from the input while compressed bytes
// are left. Once they are gone, reads give zero bits and `Ended` turns true as soon as
// a read needed more bits than the data held.
class TLegacyBits {
public:
  TLegacyBits(TStream& input, int64_t bytes, TArZDecoder* decoder) : FInput(input), FLeft(bytes), FDecoder(decoder) {}

  uint32_t Read(uint32_t n) {
    uint32_t value = Peek(n);
    Skip(n);
    return value;
  }
  uint32_t Peek(uint32_t n) {
    while (FCount < n) {
      uint64_t byte = 0;
      if (NextByte(byte)) FReal += 8;
      FBits |= byte << FCount;
      FCount += 8;
    }
    return static_cast<uint32_t>(FBits & ((uint64_t{1} << n) - 1));
  }
  void Skip(uint32_t n) {
    Peek(n);
    FBits >>= n;
    FCount -= n;
    if (FReal < n) {
      FReal = 0;
      Ended = true;
    } else {
      FReal -= n;
    }
  }
  bool Exhausted() const { return Ended || (FReal == 0 && FLeft == 0 && FPos == FEnd); }

  bool Ended = false;

private:
  bool NextByte(uint64_t& byte) {
    if (FPos == FEnd) {
      if (FLeft <= 0) return false;
      int32_t want = static_cast<int32_t>(std::min<int64_t>(FLeft, static_cast<int64_t>(FBuffer.size())));
      int32_t got = FInput.Read(FBuffer.data(), want);
      if (got <= 0) throw EArReadError();
      if (FDecoder) FDecoder->Decode(FBuffer.data(), static_cast<size_t>(got));
      FLeft -= got;
      FPos = 0;
      FEnd = static_cast<size_t>(got);
    }
    byte = FBuffer[FPos++];
    return true;
  }

  TStream& FInput;
  int64_t FLeft;
  TArZDecoder* FDecoder;
  std::array<uint8_t, 4096> FBuffer;
  size_t FPos = 0, FEnd = 0;
  uint64_t FBits = 0;
  uint32_t FCount = 0;
  uint32_t FReal = 0;  // bits of FBits that came from the data
};

// The decoded bytes: written through a 32 KB buffer with the CRC and progress, and kept
// in a 16 KB ring for copies (the farthest copy of these methods is 8192 bytes back).
class TLegacyOutput {
public:
  TLegacyOutput(TArZipArchive& archive, TStream& target, int64_t size)
      : FArchive(archive), FTarget(target), FSize(size) {}

  bool Full() const { return FTotal >= FSize; }
  void Put(uint8_t b) {
    if (Full()) return;
    FRing[static_cast<size_t>(FTotal) & RingMask] = b;
    FBuffer[FFill++] = b;
    ++FTotal;
    if (FFill == FBuffer.size() || Full()) Flush();
  }
  // Copies length bytes from distance back; before the first byte they read as 0.
  void Copy(uint32_t distance, uint32_t length) {
    for (uint32_t i = 0; i < length && !Full(); ++i)
      Put(distance > FTotal ? 0 : FRing[static_cast<size_t>(FTotal - distance) & RingMask]);
  }
  uint32_t Finish() {
    Flush();
    if (FTotal != FSize) throw EArReadError();
    if (FLastPercent < 100) Report(100);
    return ~FCrc;
  }

private:
  static constexpr size_t RingMask = 16383;
  void Flush() {
    if (!FFill) return;
    FCrc = UpdateCrc32(FCrc, std::span<const uint8_t>(FBuffer.data(), FFill));
    FTarget.WriteBuffer(FBuffer.data(), static_cast<int32_t>(FFill));
    FFill = 0;
    int32_t percent = Percentage(FTotal, FSize);
    if (percent != FLastPercent) Report(percent);
  }
  void Report(int32_t percent) {
    FLastPercent = percent;
    bool abort = false;
    FArchive.ReportProgress(percent, abort);
    if (abort) throw EArUserAbort();
  }

  TArZipArchive& FArchive;
  TStream& FTarget;
  int64_t FSize;
  int64_t FTotal = 0;
  uint32_t FCrc = 0xFFFFFFFF;
  int32_t FLastPercent = -1;
  std::array<uint8_t, RingMask + 1> FRing{};
  std::array<uint8_t, 32768> FBuffer;
  size_t FFill = 0;
};

// --- Unshrink ----------------------------------------------------------------------

// State: prefix[code] (-1 for a free code; codes below 257 are never free), suffix[code],
// the code size (9 to 13 bits), the previous code and the last byte written first.
void Unshrink(TLegacyBits& in, TLegacyOutput& out) {
  constexpr int32_t TableSize = 8193, MaxCodes = 8192, FirstFree = 257, Free = -1;
  std::vector<int32_t> prefix(TableSize, Free);
  std::vector<uint8_t> suffix(TableSize, 0);
  std::vector<uint8_t> stack;
  for (int32_t c = 0; c < 256; ++c) {
    prefix[static_cast<size_t>(c)] = 0;
    suffix[static_cast<size_t>(c)] = static_cast<uint8_t>(c);
  }
  uint32_t codeSize = 9;
  int32_t previous = static_cast<int32_t>(in.Read(codeSize));
  if (in.Ended) return;
  if (previous > 255) Corrupt();
  uint8_t lastByte = static_cast<uint8_t>(previous);
  out.Put(lastByte);
  int32_t nextFree = FirstFree;
  auto isFree = [&](int32_t c) { return c >= FirstFree && prefix[static_cast<size_t>(c)] == Free; };
  while (!out.Full()) {
    int32_t code = static_cast<int32_t>(in.Read(codeSize));
    while (code == 256 && !in.Ended) {
      uint32_t control = in.Read(codeSize);
      if (control == 1) {
        if (++codeSize > 13) Corrupt();
      } else if (control == 2) {
        // Partial clear: codes that no other code uses as prefix become free. All codes
        // are looked at, also those in use above the next free one.
        std::vector<bool> leaf(TableSize, false);
        for (int32_t c = FirstFree; c < MaxCodes; ++c) leaf[static_cast<size_t>(c)] = !isFree(c);
        for (int32_t c = FirstFree; c < MaxCodes; ++c)
          if (!isFree(c) && prefix[static_cast<size_t>(c)] >= FirstFree)
            leaf[static_cast<size_t>(prefix[static_cast<size_t>(c)])] = false;
        for (int32_t c = FirstFree; c < MaxCodes; ++c)
          if (leaf[static_cast<size_t>(c)]) prefix[static_cast<size_t>(c)] = Free;
        nextFree = FirstFree;
        while (nextFree < MaxCodes && !isFree(nextFree)) ++nextFree;
      } else {
        Corrupt();
      }
      code = static_cast<int32_t>(in.Read(codeSize));
    }
    if (in.Ended) break;
    stack.clear();
    int32_t walk = code;
    if (isFree(walk)) {
      stack.push_back(lastByte);
      walk = previous;
    }
    while (walk >= FirstFree) {
      if (stack.size() >= MaxCodes) Corrupt();  // a chain that loops
      if (isFree(walk)) {
        stack.push_back(lastByte);
        walk = previous;
        continue;
      }
      stack.push_back(suffix[static_cast<size_t>(walk)]);
      walk = prefix[static_cast<size_t>(walk)];
    }
    if (walk == 256) Corrupt();
    lastByte = suffix[static_cast<size_t>(walk)];
    out.Put(lastByte);
    for (auto it = stack.rbegin(); it != stack.rend(); ++it) out.Put(*it);
    if (nextFree < MaxCodes) {
      prefix[static_cast<size_t>(nextFree)] = previous;
      suffix[static_cast<size_t>(nextFree)] = lastByte;
      while (nextFree < MaxCodes && !isFree(nextFree)) ++nextFree;
    }
    previous = code;
  }
}

// --- Unreduce ----------------------------------------------------------------------

// State: the follower set of each byte value, the last symbol, and the escape state
// (0 plain, 1 after 144, 2 reading a length extension, 3 reading the distance).
void Unreduce(TLegacyBits& in, TLegacyOutput& out, uint32_t factor) {
  std::array<std::vector<uint8_t>, 256> followers;
  for (int32_t value = 255; value >= 0; --value) {
    uint32_t n = in.Read(6);
    auto& set = followers[static_cast<size_t>(value)];
    for (uint32_t i = 0; i < n; ++i) set.push_back(static_cast<uint8_t>(in.Read(8)));
  }
  const uint32_t mask = 0xFFu >> factor;  // 127, 63, 31, 15
  uint32_t last = 0, state = 0, length = 0, v = 0;
  while (!in.Exhausted() && !out.Full()) {
    const auto& set = followers[last];
    uint32_t symbol;
    if (set.empty() || in.Read(1) == 1) {
      symbol = in.Read(8);
    } else {
      uint32_t bits = 1;
      while ((1u << bits) < set.size()) ++bits;
      uint32_t index = in.Read(bits);
      if (index >= set.size()) Corrupt();
      symbol = set[index];
    }
    if (in.Ended) break;
    last = symbol;
    switch (state) {
      case 0:
        if (symbol == 144)
          state = 1;
        else
          out.Put(static_cast<uint8_t>(symbol));
        break;
      case 1:
        if (symbol == 0) {
          out.Put(144);
          state = 0;
        } else {
          v = symbol;
          length = v & mask;
          state = length == mask ? 2 : 3;
        }
        break;
      case 2:
        length += symbol;
        state = 3;
        break;
      default:
        out.Copy((v >> (8 - factor)) * 256 + symbol + 1, length + 3);
        state = 0;
    }
  }
}

// --- Explode -----------------------------------------------------------------------

// A Shannon-Fano code as a table indexed by the next 16 bits (first bit lowest): symbol
// and length, 0 length for bits that match no code.
class TShannonFano {
public:
  void Read(TLegacyBits& in, size_t symbols) {
    std::vector<std::pair<uint8_t, uint16_t>> entries;  // (bit length, symbol)
    uint32_t bytes = in.Read(8) + 1;
    for (uint32_t i = 0; i < bytes; ++i) {
      uint32_t b = in.Read(8);
      for (uint32_t r = 0; r <= (b >> 4); ++r) {
        if (entries.size() >= symbols) Corrupt();
        entries.emplace_back(static_cast<uint8_t>((b & 15) + 1), static_cast<uint16_t>(entries.size()));
      }
    }
    if (entries.size() != symbols || in.Ended) Corrupt();
    std::sort(entries.begin(), entries.end());
    FTable.assign(size_t{1} << 16, 0);
    uint32_t code = 0, increment = 0, lastLength = 0;
    for (size_t i = entries.size(); i-- > 0;) {
      code += increment;
      if (entries[i].first != lastLength) {
        lastLength = entries[i].first;
        increment = 1u << (16 - lastLength);
      }
      if (code > 0xFFFF) Corrupt();
      // The code is the top lastLength bits of 16, read most significant first.
      uint32_t reversed = 0;
      for (uint32_t bit = 0; bit < lastLength; ++bit) reversed |= ((code >> (15 - bit)) & 1) << bit;
      for (uint32_t index = reversed; index < FTable.size(); index += 1u << lastLength) {
        if (FTable[index]) Corrupt();  // two codes overlap
        FTable[index] = static_cast<uint32_t>(entries[i].second) | lastLength << 16;
      }
    }
  }
  uint32_t Decode(TLegacyBits& in) const {
    uint32_t entry = FTable[in.Peek(16)];
    if (!entry) Corrupt();
    in.Skip(entry >> 16);
    return entry & 0xFFFF;
  }

private:
  std::vector<uint32_t> FTable;
};

void Explode(TLegacyBits& in, TLegacyOutput& out, bool dictionary8K, bool threeTrees) {
  TShannonFano literals, lengths, distances;
  if (threeTrees) literals.Read(in, 256);
  lengths.Read(in, 64);
  distances.Read(in, 64);
  const uint32_t lowBits = dictionary8K ? 7 : 6;
  const uint32_t minimumMatch = threeTrees ? 3 : 2;
  while (!in.Exhausted() && !out.Full()) {
    if (in.Read(1)) {
      uint32_t literal = threeTrees ? literals.Decode(in) : in.Read(8);
      if (in.Ended) break;
      out.Put(static_cast<uint8_t>(literal));
    } else {
      uint32_t low = in.Read(lowBits);
      uint32_t distance = ((distances.Decode(in) << lowBits) | low) + 1;
      uint32_t length = lengths.Decode(in);
      if (length == 63) length += in.Read(8);
      if (in.Ended) break;
      out.Copy(distance, length + minimumMatch);
    }
  }
}

}  // namespace

uint32_t UnzipLegacyItem(TArZipArchive& archive, const TArZipItem& item, TStream& input, int64_t compressedBytes,
                         TStream& target, TArZDecoder* decoder) {
  TLegacyBits in(input, compressedBytes, decoder);
  TLegacyOutput out(archive, target, item.UncompressedSize());
  uint8_t method = item.CompressionMethod();
  if (method == ZipMethodShrunk)
    Unshrink(in, out);
  else if (method >= ZipMethodReduced1 && method <= ZipMethodReduced4)
    Unreduce(in, out, method - ZipMethodReduced1 + 1u);  // the compression factor
  else if (method == ZipMethodImploded)
    Explode(in, out, item.ImplodeDictionary() == 8, item.ImplodeShannonFanoTrees() == 3);
  else
    throw EArZipInvalidMethod();
  return out.Finish();
}
