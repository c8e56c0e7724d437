#include "platform/base/BlockArena.h"

#include <cassert>
#include <cstdint>
#include <new>

#if defined(__SANITIZE_ADDRESS__)
#define QF_BLOCK_ARENA_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QF_BLOCK_ARENA_ASAN 1
#endif
#endif

#ifdef QF_BLOCK_ARENA_ASAN
#include <sanitizer/asan_interface.h>
// Blocks not handed out and blocks freed stay poisoned, so a freed node read through a
// stale pointer is caught as it would be on the general heap.
#define QF_POISON(address, bytes) ASAN_POISON_MEMORY_REGION(address, bytes)
#define QF_UNPOISON(address, bytes) ASAN_UNPOISON_MEMORY_REGION(address, bytes)
#else
#define QF_POISON(address, bytes) ((void)(address), (void)(bytes))
#define QF_UNPOISON(address, bytes) ((void)(address), (void)(bytes))
#endif

namespace {

// A page holds some hundred small objects; blocks larger than a quarter of it go to the
// heap.
constexpr std::size_t PageBytes = 64 * 1024;
constexpr std::size_t BlockAlign = 8;
constexpr std::size_t HeaderBytes = sizeof(void*);
constexpr std::size_t LargestArenaBlock = PageBytes / 4;

constexpr std::size_t RoundUp(std::size_t bytes) { return (bytes + BlockAlign - 1) & ~(BlockAlign - 1); }

}  // namespace

// The head of a page; its blocks follow. Owner is the arena whose current page it is,
// none once retired.
struct TBlockArena::TPage {
  TBlockArena* Owner;
  std::size_t LiveBlocks;
};

TBlockArena::~TBlockArena() { RetireCurrentPage(); }

void TBlockArena::RetireCurrentPage() noexcept {
  if (!FPage) return;
  TPage* page = FPage;
  FPage = nullptr;
  FNext = FEnd = nullptr;
  page->Owner = nullptr;
  if (page->LiveBlocks == 0) ::operator delete(page);
}

void TBlockArena::StartPage() {
  static_assert(sizeof(TPage) % BlockAlign == 0 && HeaderBytes % BlockAlign == 0, "blocks stay aligned");
  void* memory = ::operator new(PageBytes);
  RetireCurrentPage();
  auto* page = static_cast<TPage*>(memory);
  page->Owner = this;
  page->LiveBlocks = 0;
  FPage = page;
  FNext = static_cast<char*>(memory) + sizeof(TPage);
  FEnd = static_cast<char*>(memory) + PageBytes;
  QF_POISON(FNext, static_cast<std::size_t>(FEnd - FNext));
}

void* TBlockArena::Allocate(std::size_t bytes) {
  const std::size_t blockBytes = HeaderBytes + RoundUp(bytes);
  if (blockBytes > LargestArenaBlock) return AllocateOnHeap(bytes);
  if (!FPage || static_cast<std::size_t>(FEnd - FNext) < blockBytes) StartPage();
  char* block = FNext;
  FNext += blockBytes;
  QF_UNPOISON(block, blockBytes);
  *reinterpret_cast<TPage**>(block) = FPage;
  ++FPage->LiveBlocks;
  return block + HeaderBytes;
}

void* TBlockArena::AllocateOnHeap(std::size_t bytes) {
  char* block = static_cast<char*>(::operator new(HeaderBytes + RoundUp(bytes)));
  *reinterpret_cast<TPage**>(block) = nullptr;
  return block + HeaderBytes;
}

void TBlockArena::Release(void* object, std::size_t bytes) noexcept {
  if (!object) return;
  char* block = static_cast<char*>(object) - HeaderBytes;
  TPage* page = *reinterpret_cast<TPage**>(block);
  if (!page) return ::operator delete(block);
  assert(page->LiveBlocks > 0);
  QF_POISON(block, HeaderBytes + RoundUp(bytes));
  if (--page->LiveBlocks != 0) return;
  if (TBlockArena* owner = page->Owner) {
    // The current page is empty again: it is filled from its start.
    owner->FNext = reinterpret_cast<char*>(page) + sizeof(TPage);
    QF_POISON(owner->FNext, static_cast<std::size_t>(owner->FEnd - owner->FNext));
    return;
  }
  ::operator delete(page);
}
