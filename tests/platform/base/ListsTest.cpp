#include "platform/base/Lists.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/base/Exception.h"

namespace {

// Counts its own destructions.
class TCounted : public TObject {
public:
  explicit TCounted(int& destroyed) : FDestroyed(destroyed) {}
  ~TCounted() override { ++FDestroyed; }

private:
  int& FDestroyed;
};

void* Slot(intptr_t value) { return reinterpret_cast<void*>(value); }

std::vector<intptr_t> Values(const TList& list) {
  std::vector<intptr_t> values;
  for (int32_t i = 0; i < list.Count(); ++i) values.push_back(reinterpret_cast<intptr_t>(list.Items(i)));
  return values;
}

}  // namespace

TEST(Lists, ListEditsItsSlots) {
  TList list;
  for (intptr_t v : {5, 3, 9, 1}) list.Add(Slot(v));
  list.Insert(4, Slot(7));
  list.Insert(0, nullptr);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{0, 5, 3, 9, 1, 7}));
  list.Pack();
  list.Exchange(0, 4);
  list.Move(4, 1);
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{7, 5, 3, 9, 1}));
  EXPECT_EQ(list.Remove(Slot(9)), 3);
  EXPECT_EQ(list.Remove(Slot(42)), -1);
  EXPECT_EQ(list.Extract(Slot(5)), Slot(5));
  EXPECT_EQ(list.IndexOf(Slot(1)), 2);
  EXPECT_EQ(list.First(), Slot(7));
  EXPECT_EQ(list.Last(), Slot(1));
  list.Sort([](void* a, void* b) {
    return static_cast<int32_t>(reinterpret_cast<intptr_t>(a) - reinterpret_cast<intptr_t>(b));
  });
  EXPECT_EQ(Values(list), (std::vector<intptr_t>{1, 3, 7}));
  EXPECT_GE(list.Capacity(), 4);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.Capacity(), 0);
}

TEST(Lists, ListRaisesOnBadIndexes) {
  TList list;
  list.Add(Slot(1));
  const struct {
    void (*Action)(TList&);
    const char* Message;
  } cases[] = {
      {[](TList& l) { l.Get(1); }, "List index out of bounds (1)"},
      {[](TList& l) { l.Get(-1); }, "List index out of bounds (-1)"},
      {[](TList& l) { l.Insert(2, nullptr); }, "List index out of bounds (2)"},
      {[](TList& l) { l.Delete(1); }, "List index out of bounds (1)"},
      {[](TList& l) { l.Move(0, 3); }, "List index out of bounds (3)"},
      {[](TList& l) { l.SetCapacity(0); }, "List capacity out of bounds (0)"},
      {[](TList& l) { l.SetCount(-2); }, "List count out of bounds (-2)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Message);
    try {
      c.Action(list);
      ADD_FAILURE() << "no exception";
    } catch (const EListError& e) {
      EXPECT_STREQ(e.what(), c.Message);
    }
  }
  TList empty;
  EXPECT_THROW(empty.First(), EListError);
}

TEST(Lists, ObjectListFreesWhatItOwns) {
  int destroyed = 0;
  {
    TObjectList list;
    for (int i = 0; i < 4; ++i) list.Add(std::make_unique<TCounted>(destroyed));
    list.Delete(0);
    EXPECT_EQ(destroyed, 1);
    std::unique_ptr<TObject> kept(list.Extract(list.Items(0)));
    EXPECT_EQ(destroyed, 1);
    list.SetItems(0, new TCounted(destroyed));  // the replaced object is freed
    EXPECT_EQ(destroyed, 2);
    EXPECT_EQ(list.Count(), 2);
  }
  EXPECT_EQ(destroyed, 5);
  TCounted outside(destroyed);
  {
    TObjectList list(false);
    list.Add(&outside);
  }
  EXPECT_EQ(destroyed, 5);
}
