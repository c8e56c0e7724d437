#include "archive/ArDfBase.h"

#include <algorithm>

#include "archive/ArUtils.h"

void TArDeflateHelper::Assign(const TArDeflateHelper& other) {
  FAmpleLength = other.FAmpleLength;
  FChainLength = other.FChainLength;
  CheckValue = other.CheckValue;
  FMaxLazy = other.FMaxLazy;
  ProgressStep = other.ProgressStep;
  FOptions = other.FOptions;
  PartSize = other.PartSize;
  Passphrase = other.Passphrase;
  LogFile = other.LogFile;
  StreamSize = other.StreamSize;
  WindowSize = other.WindowSize;
  FZipOption = other.FZipOption;
  MaxNormalSize = other.MaxNormalSize;
}

TArDeflateHelper TArDeflateHelper::WorkingCopy(const TArDeflateHelper* options, TStream& source) {
  TArDeflateHelper helper;
  if (options) helper.Assign(*options);
  if (!helper.ProgressStep)
    helper.StreamSize = 0;
  else if (helper.StreamSize == -1)
    helper.StreamSize = source.Size();
  return helper;
}

void TArDeflateHelper::SetTuning(int32_t& field, int32_t value) {
  if (value == field) return;
  if (value != -1 && value < 4) value = 4;
  field = value;
  FZipOption = '?';
}

void TArDeflateHelper::SetOptions(uint32_t value) {
  if (value == FOptions) return;
  FOptions = value;
  FZipOption = '?';
}

void UpdateAdler32(uint32_t& value, std::span<const uint8_t> bytes) {
  constexpr uint32_t Base = 65521;
  // 4096 bytes keep both sums below 2^32 before they are reduced.
  constexpr size_t Block = 4096;
  uint32_t s1 = value & 0xFFFF, s2 = value >> 16;
  while (!bytes.empty()) {
    size_t n = std::min(bytes.size(), Block);
    for (uint8_t b : bytes.first(n)) {
      s1 += b;
      s2 += s1;
    }
    s1 %= Base;
    s2 %= Base;
    bytes = bytes.subspan(n);
  }
  value = s2 << 16 | s1;
}

void UpdateCrc32Long(uint32_t& crcRegister, std::span<const uint8_t> bytes) {
  crcRegister = UpdateCrc32(crcRegister, bytes);
}

TArNodeManager::TArNodeManager(uint32_t nodeSize) {
  FNodeSize = std::max<uint32_t>(4, (nodeSize + 3) & ~3u);
  FNodesPerPage = 8188 / FNodeSize;
  if (FNodesPerPage < 2) {
    FNodesPerPage = 1;
    FPageSize = static_cast<int32_t>(FNodeSize + 4);
  } else {
    FPageSize = 8192;
  }
}

void* TArNodeManager::AllocNode() {
  if (FFreeList.empty()) {
    // The page's first 4 bytes are its link in the page list.
    std::vector<uint8_t>& page = FPages.emplace_back(static_cast<size_t>(FPageSize));
    for (uint32_t i = FNodesPerPage; i-- > 0;) FFreeList.push_back(page.data() + 4 + i * FNodeSize);
  }
  void* node = FFreeList.back();
  FFreeList.pop_back();
  return node;
}
