#include "xml/XmlAllocationMeter.h"

#include <malloc.h>

#include <atomic>
#include <cstdlib>
#include <new>

// The program's operator new and delete: the general heap, counted. The other forms
// of the standard library (arrays, nothrow, sized) come down to these two.
namespace {

std::atomic<int64_t> LiveBytes{0};
std::atomic<bool> Metering{false};
int64_t StartLiveBytes = 0;
int64_t PeakBytes = 0;
int64_t AllocatedTotal = 0;
int64_t AllocationCount = 0;
int64_t FailLimit = -1;

// Outside a meter's window allocation is the plain heap's: a block freed in a window is
// counted off whenever it was made, which keeps the bytes alive right within it.
void* Allocate(std::size_t size) {
  if (size == 0) size = 1;
  if (!Metering.load(std::memory_order_relaxed)) return std::malloc(size);
  if (FailLimit >= 0 && LiveBytes.load(std::memory_order_relaxed) + int64_t(size) - StartLiveBytes > FailLimit)
    return nullptr;
  void* block = std::malloc(size);
  if (!block) return nullptr;
  const auto bytes = static_cast<int64_t>(malloc_usable_size(block));
  const int64_t live = LiveBytes.fetch_add(bytes, std::memory_order_relaxed) + bytes;
  AllocatedTotal += bytes;
  ++AllocationCount;
  if (live - StartLiveBytes > PeakBytes) PeakBytes = live - StartLiveBytes;
  return block;
}

void Release(void* block) {
  if (!block) return;
  if (Metering.load(std::memory_order_relaxed))
    LiveBytes.fetch_sub(static_cast<int64_t>(malloc_usable_size(block)), std::memory_order_relaxed);
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* block = Allocate(size)) return block;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* block) noexcept { Release(block); }
void operator delete[](void* block) noexcept { Release(block); }
void operator delete(void* block, std::size_t) noexcept { Release(block); }
void operator delete[](void* block, std::size_t) noexcept { Release(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { Release(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { Release(block); }

TAllocationMeter::TAllocationMeter() {
  StartLiveBytes = LiveBytes.load();
  PeakBytes = AllocatedTotal = AllocationCount = 0;
  FailLimit = -1;
  Metering = true;
}

TAllocationMeter::~TAllocationMeter() {
  Metering = false;
  FailLimit = -1;
}

int64_t TAllocationMeter::AllocatedBytes() const { return AllocatedTotal; }
int64_t TAllocationMeter::Allocations() const { return AllocationCount; }
int64_t TAllocationMeter::PeakLiveBytes() const { return PeakBytes; }
void TAllocationMeter::FailAbove(int64_t bytes) { FailLimit = bytes; }
