// A growable stream kept in 4 KB pages, at most a set number of them in memory; the
// least recently used dirty page goes to a swap file when another is needed. Archives
// of any size are built in one without holding them whole.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/Streams.h"

class TArVirtualMemoryStream : public TStream {
public:
  static constexpr int32_t PageBytes = 4096;
  static constexpr int32_t MaxPages = 256;

  // One zeroed page at offset 0; a memory limit of 102400 bytes (25 pages).
  TArVirtualMemoryStream();
  // Closes and deletes the swap file.
  ~TArVirtualMemoryStream() override;
  TArVirtualMemoryStream(const TArVirtualMemoryStream&) = delete;
  TArVirtualMemoryStream& operator=(const TArVirtualMemoryStream&) = delete;

  // Reads up to the size.
  int32_t Read(void* buffer, int32_t count) override;
  // Writing past the size leaves zeros between.
  int32_t Write(const void* buffer, int32_t count) override;
  // Never clamps; an origin other than the three raises EArVMSInvalidOrigin.
  int64_t Seek(int64_t offset, TSeekOrigin origin) override;
  int64_t Size() override { return FSize; }
  // Shrinking releases the pages past the new size and cuts the swap file.
  void SetSize(int64_t newSize) override;

  // Pages the bytes need (rounded up, at most 256); pages beyond go out, least recently
  // used first.
  void SetMemoryLimit(int32_t bytes);
  int32_t MemoryLimit() const { return FMemoryLimit; }
  // Where the swap file goes (the system's temporary folder when empty or missing).
  AnsiString SwapFileDirectory;
  // Empty until a page is first written out.
  const AnsiString& SwapFileName() const { return FSwapFileName; }
  int32_t PagesInMemory() const { return static_cast<int32_t>(FPages.size()); }

private:
  struct TPage {
    int64_t Offset;
    int32_t Stamp;
    bool Dirty;
    std::array<uint8_t, PageBytes> Data;
  };
  TPage& PageFor(int64_t offset);
  void Stamp(TPage& page);
  // Index of the least recently used page.
  size_t OldestPage() const;
  void WriteOut(TPage& page);
  void LoadPage(TPage& page);
  void OpenSwapFile();

  std::vector<std::unique_ptr<TPage>> FPages;  // sorted by offset
  TPage* FCached = nullptr;
  int32_t FCounter = 0;
  int32_t FMemoryLimit = 0;
  int32_t FPageLimit = 0;
  int64_t FPosition = 0;
  int64_t FSize = 0;
  AnsiString FSwapFileName;
  int64_t FSwapFileSize = 0;
  std::unique_ptr<TFileStream> FSwapFile;
};
