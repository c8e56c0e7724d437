// LZSS compressor of Wolf page images.
//
// Output: groups of one flag byte and up to 8 items; bit k of the flag (least
// significant first) set means item k is one literal byte, clear means a match of two
// bytes b0 = P & 0xFF, b1 = ((P >> 8) << 4) | (L - 3): L (3..18) bytes starting at
// absolute ring position P (not a distance) of a 4096-byte ring whose first write
// position is 4078. The last group is always emitted, flag byte included, even when it
// holds no item. A decoder restores the input whatever the ring held before, because
// no match refers to a ring byte that the input has not written.
//
// The bytes are fixed by the ring's start position, the tie-breaks of the match search
// (the longest match; among equal lengths the one met first, higher in the tree) and the
// tree rules (one binary tree per first byte, splayed after deep searches), so every
// step follows the device format's reference encoder exactly.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

inline constexpr int32_t LZSSRingBytes = 4096;                              // N
inline constexpr int32_t LZSSMaxMatchBytes = 18;                            // F
inline constexpr int32_t LZSSMinMatchBytes = 3;                             // shorter matches are literals
inline constexpr int32_t LZSSStartPos = LZSSRingBytes - LZSSMaxMatchBytes;  // ring position of the first byte
inline constexpr int32_t LZSSBlockBytes = 0x40000;                          // input and output block size
inline constexpr int32_t LZSSGroupBytes = 1 + 8 * 2;                        // flag byte and 8 items at most

// Fills buffer with up to availBytes input bytes and returns the number delivered; 0 at
// the end of the input, and again on every later call.
using TLZSSReadBlock = std::function<int32_t(uint8_t* buffer, int32_t availBytes)>;
// Receives countBytes (possibly 0) output bytes.
using TLZSSWriteBlock = std::function<void(const uint8_t* buffer, int32_t countBytes)>;

// Owns the ring, the search trees and the two block buffers (about 600 KB, allocated
// once by the constructor) and reuses them for every compression; one compression runs
// at a time per object.
class TLZSSCompressor {
public:
  TLZSSCompressor();
  ~TLZSSCompressor();
  TLZSSCompressor(const TLZSSCompressor&) = delete;
  TLZSSCompressor& operator=(const TLZSSCompressor&) = delete;

  // Compresses everything readBlock delivers and hands the output to writeBlock in
  // blocks of LZSSBlockBytes and one final, possibly empty, partial block. An empty
  // input produces no bytes at all. Exceptions of the callbacks propagate.
  void LZSSCompress(const TLZSSReadBlock& readBlock, const TLZSSWriteBlock& writeBlock);

private:
  static constexpr int32_t NIL = LZSSRingBytes;
  static constexpr int32_t RootCount = 256;
  static constexpr int32_t SplayProbes = 30;

  // Ring positions N..N+16 mirror 0..16, so an 18-byte comparison never wraps. Nodes:
  // positions 0..N-1 are strings, N is NIL (its parent slot is a write-only sink),
  // N+1..N+256 are the roots of the trees of each first byte, which hang a tree on their
  // right link only. Links[2 * p] is p's left link and Links[2 * p + 1] its right one,
  // so a search step picks the side by index instead of by branch. A link holds the
  // child's position in its low 16 bits and, above them, the child's string bytes 1..6
  // (big-endian), which stay fixed while the child is in a tree (a ring byte is rewritten
  // only after every string covering it has left the trees): most search steps then
  // decide with the one load that also gives the next node. A link moved to another slot
  // keeps its bytes; links to NIL carry none, as they are never compared.
  struct TWorkArea {
    std::array<uint8_t, LZSSRingBytes + LZSSMaxMatchBytes - 1> Ring;
    std::array<uint64_t, 2 * (LZSSRingBytes + 1 + RootCount)> Links;
    std::array<uint16_t, LZSSRingBytes + 1> Parent;
  };

  // The F look-ahead bytes from r as a big-endian number of 144 bits, shifted along with
  // r: reading them back from the ring would wait for the byte just stored there.
  struct TLookAhead {
    uint64_t Bytes0To7 = 0;
    uint64_t Bytes8To15 = 0;
    uint64_t Bytes16To17 = 0;  // in the low 16 bits
    void Push(uint8_t c) {
      Bytes0To7 = Bytes0To7 << 8 | Bytes8To15 >> 56;
      Bytes8To15 = Bytes8To15 << 8 | Bytes16To17 >> 8;
      Bytes16To17 = (Bytes16To17 << 8 | c) & 0xFFFF;
    }
  };

  int32_t GetByte();  // the next input byte, or -1 at the end
  void PutByte(uint8_t value);
  void InitTree();
  void InsertNode(int32_t r, const TLookAhead& lookAhead);
  void ReplaceNode(size_t p, size_t r, uint64_t linkToR);
  void DeleteNode(int32_t p);
  void SplayNode(int32_t x);
  void LZSSEncode();

  std::unique_ptr<TWorkArea> FWork;
  std::unique_ptr<uint8_t[]> FInput;
  std::unique_ptr<uint8_t[]> FOutput;
  const TLZSSReadBlock* FReadBlock = nullptr;
  const TLZSSWriteBlock* FWriteBlock = nullptr;
  int32_t FInputIndex = 0;
  int32_t FInputCount = 0;
  int32_t FOutputCount = 0;
  bool FInputEnded = false;
  int32_t FMatchPosition = 0;
  int32_t FMatchLength = 0;
};
