#include "archive/ArVMStrm.h"

#include <algorithm>
#include <cstring>

#include "archive/ArExcept.h"
#include "archive/ArUtils.h"
#include "platform/base/FileSystem.h"

TArVirtualMemoryStream::TArVirtualMemoryStream() {
  auto page = std::make_unique<TPage>();
  page->Offset = 0;
  page->Stamp = 0;
  page->Dirty = false;
  page->Data.fill(0);
  FCached = page.get();
  FPages.push_back(std::move(page));
  SetMemoryLimit(102400);
}

TArVirtualMemoryStream::~TArVirtualMemoryStream() {
  if (FSwapFile) {
    FSwapFile.reset();
    DeleteFileA(FSwapFileName.c_str());
  }
}

void TArVirtualMemoryStream::SetMemoryLimit(int32_t bytes) {
  FPageLimit = std::clamp((std::max(bytes, 0) + PageBytes - 1) / PageBytes, 1, MaxPages);
  while (static_cast<int32_t>(FPages.size()) > FPageLimit) {
    size_t oldest = OldestPage();
    if (FPages[oldest]->Dirty) WriteOut(*FPages[oldest]);
    if (FCached == FPages[oldest].get()) FCached = nullptr;
    FPages.erase(FPages.begin() + static_cast<std::ptrdiff_t>(oldest));
  }
  FMemoryLimit = FPageLimit * PageBytes;
}

void TArVirtualMemoryStream::Stamp(TPage& page) {
  if (FCounter == 2147483647) {
    for (auto& p : FPages) p->Stamp = 0;
    FCounter = 0;
  }
  page.Stamp = ++FCounter;
}

size_t TArVirtualMemoryStream::OldestPage() const {
  size_t oldest = 0;
  for (size_t i = 1; i < FPages.size(); ++i)
    if (FPages[i]->Stamp < FPages[oldest]->Stamp) oldest = i;
  return oldest;
}

void TArVirtualMemoryStream::OpenSwapFile() {
  FSwapFileName = TempFileName(SwapFileDirectory, true);
  try {
    if (FSwapFileName.empty()) throw EArVMSErrorOpenSwap(FSwapFileName);
    FSwapFile = std::make_unique<TFileStream>(FSwapFileName, fmOpenReadWrite);
  } catch (const EArVMSErrorOpenSwap&) {
    throw;
  } catch (const std::exception&) {
    DeleteFileA(FSwapFileName.c_str());
    throw EArVMSErrorOpenSwap(FSwapFileName);
  }
}

void TArVirtualMemoryStream::WriteOut(TPage& page) {
  if (!FSwapFile) OpenSwapFile();
  if (FSwapFile->Seek(page.Offset, soBeginning) != page.Offset) throw EArVMSSeekFail(FSwapFileName);
  if (FSwapFile->Write(page.Data.data(), PageBytes) != PageBytes) throw EArVMSWriteFail(PageBytes, FSwapFileName);
  FSwapFileSize = std::max(FSwapFileSize, page.Offset + PageBytes);
  page.Dirty = false;
}

void TArVirtualMemoryStream::LoadPage(TPage& page) {
  if (page.Offset >= FSwapFileSize) {
    page.Data.fill(0);
    return;
  }
  if (FSwapFile->Seek(page.Offset, soBeginning) != page.Offset) throw EArVMSSeekFail(FSwapFileName);
  if (FSwapFile->Read(page.Data.data(), PageBytes) != PageBytes) throw EArVMSReadFail(PageBytes, FSwapFileName);
}

TArVirtualMemoryStream::TPage& TArVirtualMemoryStream::PageFor(int64_t offset) {
  offset -= offset % PageBytes;
  if (FCached && FCached->Offset == offset) {
    Stamp(*FCached);
    return *FCached;
  }
  auto at = std::lower_bound(FPages.begin(), FPages.end(), offset,
                             [](const std::unique_ptr<TPage>& p, int64_t o) { return p->Offset < o; });
  if (at != FPages.end() && (*at)->Offset == offset) {
    FCached = at->get();
    Stamp(*FCached);
    return *FCached;
  }
  std::unique_ptr<TPage> page;
  if (static_cast<int32_t>(FPages.size()) < FPageLimit) {
    page = std::make_unique<TPage>();
  } else {
    size_t oldest = OldestPage();
    if (FPages[oldest]->Dirty) WriteOut(*FPages[oldest]);
    page = std::move(FPages[oldest]);
    FPages.erase(FPages.begin() + static_cast<std::ptrdiff_t>(oldest));
    if (FCached == page.get()) FCached = nullptr;
  }
  page->Offset = offset;
  page->Dirty = false;
  LoadPage(*page);  // a failure releases the page with the exception
  Stamp(*page);
  at = std::lower_bound(FPages.begin(), FPages.end(), offset,
                        [](const std::unique_ptr<TPage>& p, int64_t o) { return p->Offset < o; });
  FCached = page.get();
  FPages.insert(at, std::move(page));
  return *FCached;
}

int32_t TArVirtualMemoryStream::Read(void* buffer, int32_t count) {
  if (FPosition < 0) return 0;
  int64_t available = std::max<int64_t>(FSize - FPosition, 0);
  int32_t total = static_cast<int32_t>(std::min<int64_t>(std::max(count, 0), available));
  auto* out = static_cast<uint8_t*>(buffer);
  for (int32_t done = 0; done < total;) {
    TPage& page = PageFor(FPosition);
    int32_t within = static_cast<int32_t>(FPosition - page.Offset);
    int32_t n = std::min(total - done, PageBytes - within);
    std::memcpy(out + done, page.Data.data() + within, static_cast<size_t>(n));
    done += n;
    FPosition += n;
  }
  return total;
}

int32_t TArVirtualMemoryStream::Write(const void* buffer, int32_t count) {
  if (count <= 0 || FPosition < 0) return 0;
  const auto* in = static_cast<const uint8_t*>(buffer);
  for (int32_t done = 0; done < count;) {
    TPage& page = PageFor(FPosition);
    int32_t within = static_cast<int32_t>(FPosition - page.Offset);
    int32_t n = std::min(count - done, PageBytes - within);
    std::memcpy(page.Data.data() + within, in + done, static_cast<size_t>(n));
    page.Dirty = true;
    done += n;
    FPosition += n;
  }
  FSize = std::max(FSize, FPosition);
  return count;
}

int64_t TArVirtualMemoryStream::Seek(int64_t offset, TSeekOrigin origin) {
  switch (origin) {
    case soBeginning:
      FPosition = offset;
      break;
    case soCurrent:
      FPosition += offset;
      break;
    case soEnd:
      FPosition = FSize + offset;
      break;
    default:
      throw EArVMSInvalidOrigin(static_cast<int32_t>(origin));
  }
  return FPosition;
}

void TArVirtualMemoryStream::SetSize(int64_t newSize) {
  newSize = std::max<int64_t>(newSize, 0);
  if (newSize < FSize) {
    // The last page kept is brought into memory so that its tail can be cleared below.
    if (newSize % PageBytes != 0) PageFor(newSize);
    std::erase_if(FPages, [&](const std::unique_ptr<TPage>& p) {
      if (p->Offset < newSize) return false;
      if (FCached == p.get()) FCached = nullptr;
      return true;
    });
    // The bytes of the last page past the new size read as zeros if the stream grows again.
    for (auto& p : FPages)
      if (p->Offset + PageBytes > newSize) {
        std::fill(p->Data.begin() + (newSize - p->Offset), p->Data.end(), 0);
        p->Dirty = true;
      }
    int64_t swapBytes = (newSize + PageBytes - 1) / PageBytes * PageBytes;
    if (swapBytes < FSwapFileSize) FSwapFileSize = swapBytes;
    FPosition = std::min(FPosition, newSize);
  }
  FSize = newSize;
}
