#include "platform/base/BlockArena.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <vector>

namespace {

struct TSmall : TArenaAllocated {
  explicit TSmall(int value) : Value(value) { ++Alive; }
  ~TSmall() { --Alive; }
  int64_t Value;
  static inline int Alive = 0;
};

struct TRefusing : TArenaAllocated {
  TRefusing() { throw std::runtime_error("refused"); }
  int64_t Value = 0;
};

TEST(BlockArenaTest, BlocksAreAlignedDistinctAndFreedByDelete) {
  TBlockArena arena;
  std::vector<std::unique_ptr<TSmall>> objects;
  for (int i = 0; i < 5000; ++i) objects.push_back(NewInArena<TSmall>(arena, i));  // several pages
  for (int i = 0; i < 5000; ++i) {
    EXPECT_EQ(reinterpret_cast<uintptr_t>(objects[size_t(i)].get()) % 8, 0u);
    EXPECT_EQ(objects[size_t(i)]->Value, i);
  }
  objects.clear();
  EXPECT_EQ(TSmall::Alive, 0);
  // Plain new takes the general heap; delete frees both kinds alike.
  auto onHeap = std::make_unique<TSmall>(7);
  EXPECT_EQ(onHeap->Value, 7);
}

TEST(BlockArenaTest, AnEmptiedCurrentPageIsFilledAgainFromItsStart) {
  TBlockArena arena;
  std::unique_ptr<TSmall> first = NewInArena<TSmall>(arena, 1);
  TSmall* address = first.get();
  std::unique_ptr<TSmall> second = NewInArena<TSmall>(arena, 2);
  first.reset();
  second.reset();
  EXPECT_EQ(NewInArena<TSmall>(arena, 3).get(), address);
}

TEST(BlockArenaTest, BlocksOutliveTheirArena) {
  std::unique_ptr<TSmall> survivor;
  {
    TBlockArena arena;
    survivor = NewInArena<TSmall>(arena, 42);
    for (int i = 0; i < 100; ++i) NewInArena<TSmall>(arena, i);  // made and freed at once
  }
  EXPECT_EQ(survivor->Value, 42);
  survivor.reset();  // the retired page goes with its last block (the leak check agrees)
  EXPECT_EQ(TSmall::Alive, 0);
}

TEST(BlockArenaTest, AConstructorThatRaisesLeavesNoBlockBehind) {
  TBlockArena arena;
  TSmall* start = NewInArena<TSmall>(arena, 1).get();  // freed at once: the page is empty
  EXPECT_THROW(NewInArena<TRefusing>(arena), std::runtime_error);
  // Had the refused block stayed counted, the page would not start over.
  EXPECT_EQ(NewInArena<TSmall>(arena, 2).get(), start);
}

}  // namespace
