// The shared base of the library's Deflate engines: the options and results of one
// engine call (`TArDeflateHelper`), the Adler-32 and CRC-32 updates of the check values,
// and `TArNodeManager`, a pool of fixed-size nodes carved from 8 KB pages.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Streams.h"
#include "platform/base/Types.h"

// Option bits the engines read. The deflater's method is the low three bits: stored
// only, fixed codes only, dynamic codes only, or any other value for the smallest of the
// three per block.
inline constexpr uint32_t dfc_MethodMask = 7;
inline constexpr uint32_t dfc_Stored = 1;
inline constexpr uint32_t dfc_FixedHuffman = 2;
inline constexpr uint32_t dfc_DynamicHuffman = 4;
inline constexpr uint32_t dfc_UseLazyMatch = 8;
inline constexpr uint32_t dfc_UseDeflate64 = 16;
inline constexpr uint32_t dfc_UseAdler32 = 32;
inline constexpr uint32_t dfc_TestOnly = 0x40000000;

// Called with a percentage; an engine stops quietly when it raises EArAbortProgress.
using TArProgressStep = std::function<void(int32_t percent)>;

class TArDeflateHelper : public TObject {
public:
  TArDeflateHelper() = default;
  // Copies every option and the check value; the result sizes stay.
  void Assign(const TArDeflateHelper& other);
  // What an engine works with: a copy of options (the defaults when null) whose stream
  // size is 0 without a progress step, and source's size when it asks for it with -1.
  static TArDeflateHelper WorkingCopy(const TArDeflateHelper* options, TStream& source);

  int32_t AmpleLength() const { return FAmpleLength; }
  int32_t ChainLength() const { return FChainLength; }
  int32_t MaxLazyLength() const { return FMaxLazy; }
  // A value other than -1 below 4 becomes 4; a changed value makes the zip option "?".
  void SetAmpleLength(int32_t value) { SetTuning(FAmpleLength, value); }
  void SetChainLength(int32_t value) { SetTuning(FChainLength, value); }
  void SetMaxLazyLength(int32_t value) { SetTuning(FMaxLazy, value); }
  uint32_t Options() const { return FOptions; }
  void SetOptions(uint32_t value);
  char ZipOption() const { return FZipOption; }

  uint32_t CheckValue = 0xFFFFFFFF;
  TArProgressStep ProgressStep;
  // Output bytes wanted when only the start of a stream is read; 0 for all.
  uint32_t PartSize = 0;
  AnsiString Passphrase;
  // The engine log's file; empty for none.
  AnsiString LogFile;
  int64_t CompressedSize = 0;
  int64_t NormalSize = 0;
  // The input's size, for progress; -1 asks the engine to take the source's size.
  int64_t StreamSize = 0;
  uint32_t WindowSize = 32768;
  // More output than this is corrupt data (an entry's announced size); -1 for no bound.
  int64_t MaxNormalSize = -1;

private:
  void SetTuning(int32_t& field, int32_t value);
  int32_t FAmpleLength = 8;
  int32_t FChainLength = 32;
  int32_t FMaxLazy = 16;
  uint32_t FOptions = 15;
  char FZipOption = 'n';
};

// Adler-32 of RFC 1950 (start at 1).
void UpdateAdler32(uint32_t& value, std::span<const uint8_t> bytes);
// The CRC-32 register update (start at all ones, complement at the end).
void UpdateCrc32Long(uint32_t& crcRegister, std::span<const uint8_t> bytes);

// Gives out nodes of one size from pages of 8192 bytes (one node per page when fewer
// than two fit), each page's first 4 bytes linking the pages; everything is released
// when the pool is freed.
class TArNodeManager : public TObject {
public:
  explicit TArNodeManager(uint32_t nodeSize);
  TArNodeManager(const TArNodeManager&) = delete;
  TArNodeManager& operator=(const TArNodeManager&) = delete;

  void* AllocNode();
  uint32_t NodeSize() const { return FNodeSize; }
  uint32_t NodesPerPage() const { return FNodesPerPage; }
  int32_t PageSize() const { return FPageSize; }

private:
  std::vector<std::vector<uint8_t>> FPages;
  std::vector<void*> FFreeList;
  uint32_t FNodeSize;
  uint32_t FNodesPerPage;
  int32_t FPageSize;
};
