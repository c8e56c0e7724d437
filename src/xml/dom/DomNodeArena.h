// Memory for DOM nodes. A document carves the nodes made for it (NewDomNode) out of
// pages of its own: allocating is a bump of a pointer and freeing a count down, so a
// book of a million small nodes pays neither the general heap's cost per block nor its
// time, neither when it is built nor when it is freed.
//
// Every block starts with one word naming its page, or none for a node made outside an
// arena (plain `new`), which lives on the general heap; freeing reads that word. A page
// goes back to the heap when its last block is freed and its arena has moved on to a
// new page or is gone, so a node that outlives its document (moved into another one)
// keeps only its own page alive. A page whose blocks are all freed while it is still
// the arena's current page is filled again from its start.
//
// Single thread: an arena and its pages belong to the thread that uses the document.
#pragma once

#include <cstddef>

class TDomNodeArena {
public:
  TDomNodeArena() = default;
  // Gives up the current page: it goes when its last block goes.
  ~TDomNodeArena();
  TDomNodeArena(const TDomNodeArena&) = delete;
  TDomNodeArena& operator=(const TDomNodeArena&) = delete;

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
