// Memory for many small objects of one owner (the nodes of a DOM document): blocks are
// carved out of pages of the arena's own, so allocating is a bump of a pointer and
// freeing a count down, and a million small objects pay neither the general heap's
// cost per block nor its time, neither when they are made nor when they are freed.
//
// Every block starts with one word naming its page, or none for a block of the general
// heap (AllocateOnHeap); Release reads that word. A page goes back to the heap when its
// last block is freed and its arena has moved on to a new page or is gone, so an object
// that outlives its owner (moved to another one) keeps only its own page alive. A page
// whose blocks are all freed while it is still the arena's current page is filled again
// from its start. Freed blocks stay poisoned under AddressSanitizer, so a stale pointer
// is caught as on the general heap.
//
// Single thread: an arena and its pages belong to the thread that uses its owner.
#pragma once

#include <cstddef>
#include <memory>
#include <new>
#include <utility>

class TBlockArena {
public:
  TBlockArena() = default;
  // Gives up the current page: it goes when its last block goes.
  ~TBlockArena();
  TBlockArena(const TBlockArena&) = delete;
  TBlockArena& operator=(const TBlockArena&) = delete;

  // A block for an object of `bytes` (aligned for 8 bytes); std::bad_alloc when the
  // heap has no page left.
  void* Allocate(std::size_t bytes);
  // A block of the general heap, freed by Release like the others.
  static void* AllocateOnHeap(std::size_t bytes);
  // Frees a block of either kind, made for an object of `bytes`; nothing for none.
  static void Release(void* block, std::size_t bytes) noexcept;

private:
  struct TPage;
  void StartPage();
  void RetireCurrentPage() noexcept;

  TPage* FPage = nullptr;
  char* FNext = nullptr;
  char* FEnd = nullptr;
};

// The allocation functions of a class whose objects may live in an arena: plain `new`
// takes a block of the general heap, NewInArena one of an arena, and `delete` frees
// either. A class gets them by deriving from this one.
class TArenaAllocated {
public:
  static void* operator new(std::size_t bytes) { return TBlockArena::AllocateOnHeap(bytes); }
  static void* operator new(std::size_t, void* place) noexcept { return place; }
  static void operator delete(void* block, std::size_t bytes) noexcept { TBlockArena::Release(block, bytes); }
  static void operator delete(void*, void*) noexcept {}
};

// An object of class T (a descendant of TArenaAllocated) made in `arena`; its block is
// freed again when the constructor raises.
template <typename T, typename... Args>
std::unique_ptr<T> NewInArena(TBlockArena& arena, Args&&... args) {
  static_assert(std::is_base_of_v<TArenaAllocated, T>, "T is freed by the arena's release");
  static_assert(alignof(T) <= 8, "the arena aligns blocks for 8 bytes");
  void* block = arena.Allocate(sizeof(T));
  try {
    return std::unique_ptr<T>(new (block) T(std::forward<Args>(args)...));
  } catch (...) {
    TBlockArena::Release(block, sizeof(T));
    throw;
  }
}
