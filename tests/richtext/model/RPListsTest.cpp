// Owning lists, integer and colour lists, and the similarity scores.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "platform/base/Exception.h"
#include "richtext/model/RPLists.h"
#include "richtext/model/RPStyleSimilarity.h"

namespace {

// Appends its id to a shared log when freed.
class TTracked : public TObject {
public:
  TTracked(std::vector<int>& log, int id) : FLog(log), FId(id) {}
  ~TTracked() override { FLog.push_back(FId); }

private:
  std::vector<int>& FLog;
  int FId;
};

TEST(RPListTest, DeleteAndClearFreeDetachHandsOver) {
  std::vector<int> freed;
  {
    TRPList list;
    for (int id = 0; id < 4; ++id) list.Add(std::make_unique<TTracked>(freed, id));
    std::unique_ptr<TObject> detached = list.Detach(1);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_TRUE(freed.empty());
    list.Delete(1);  // id 2
    EXPECT_EQ(freed, (std::vector<int>{2}));
    list.Add(std::make_unique<TTracked>(freed, 4));
    list.Clear();  // in index order
    EXPECT_EQ(freed, (std::vector<int>{2, 0, 3, 4}));
    EXPECT_EQ(list.Count(), 0);
    list.Add(std::make_unique<TTracked>(freed, 5));
  }  // the detached 1 goes first (declared last), then the list frees 5
  EXPECT_EQ(freed, (std::vector<int>{2, 0, 3, 4, 1, 5}));
}

TEST(RPListTest, DetachOutsideTheListRaises) {
  TRPList list;
  EXPECT_THROW(list.Detach(0), EListError);
}

TEST(RPIntegerListTest, Operations) {
  TRPIntegerList list = TRPIntegerList::CreateFilled(3, 7);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list[2], 7);
  EXPECT_EQ(list.Add(9), 3);
  list.Insert(0, 5);
  EXPECT_EQ(list.AddUnique(7), 1);  // the first occurrence
  EXPECT_EQ(list.AddUnique(11), 5);
  list.SetItem(2, -1);
  TRPIntegerList copy(list);
  EXPECT_EQ(copy.Count(), 6);
  copy.Fill(4, 2);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy[1], 4);
  EXPECT_EQ(list.Count(), 6);
  try {
    list.GetItem(6);
    FAIL();
  } catch (const EListError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (6)");
  }
}

TEST(RPIntegerListTest, SortOrdersValuesFarApart) {
  // A comparison by difference would overflow here and misplace MaxInt.
  TRPIntegerList list;
  for (int32_t value : {INT_MAX, -5, 0, INT_MIN, 3}) list.Add(value);
  list.Sort();
  const std::vector<int32_t> expected{INT_MIN, -5, 0, 3, INT_MAX};
  for (size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(list[static_cast<int32_t>(i)], expected[i]);
}

TEST(RPColorListTest, AddUniqueColorSkipsNone) {
  TRPColorList colors;
  EXPECT_EQ(colors.AddUniqueColor(clNone), -1);
  EXPECT_EQ(colors.AddUniqueColor(clRed), 0);
  EXPECT_EQ(colors.AddUniqueColor(clBlue), 1);
  EXPECT_EQ(colors.AddUniqueColor(clRed), 0);
  EXPECT_EQ(colors.Count(), 2);
}

TEST(RPStyleSimilarityTest, IntSimilarity) {
  struct Case {
    int32_t a, b, weight, expected;
  };
  const Case cases[] = {
      {0, 0, 10, 10},                   // A = 0: 1 - |B|
      {0, 1, 10, 0},                    //
      {10, 10, 7, 7},                   // equal
      {10, 5, 10, 5},                   // half
      {10, 15, 10, 5},                  //
      {4, 5, 10, 8},                    // 7.5 rounds to even
      {4, 3, 2, 2},                     // 1.5 rounds to even: 2
      {8, 7, 4, 4},                     // 3.5 -> 4
      {-10, -5, 10, 5},                 // |A| in the denominator
      {10, 40, 10, -20}, {2, 1, 5, 2},  // 2.5 rounds to even: 2
      {2, 1, 1, 0},                     // 0.5 -> 0
  };
  for (const Case& c : cases)
    EXPECT_EQ(RateIntSimilarity(c.a, c.b, c.weight), c.expected) << c.a << " " << c.b << " " << c.weight;
}

TEST(RPStyleSimilarityTest, ColorSimilarity) {
  EXPECT_EQ(RateColorSimilarity(clRed, clRed, 10, 4), 4);        // itself: ExtraWeight
  EXPECT_EQ(RateColorSimilarity(clBlack, clWhite, 10, 4), -30);  // bright against dark
  EXPECT_EQ(RateColorSimilarity(clNone, clNone, 10, 4), 34);
  EXPECT_EQ(RateColorSimilarity(clNone, clRed, 10, 4), 0);
  EXPECT_EQ(RateColorSimilarity(clRed, clNone, 10, 4), 0);
  // Channel differences 0x40 and 0x10, each * 100 / 255 truncated: 25 and 6; both dark.
  EXPECT_EQ(RateColorSimilarity(0x000040, 0x001000, 100, 1), -25 - 6 + 1);
  // 65 is bright, 64 not.
  EXPECT_EQ(RateColorSimilarity(0x000041, 0x000040, 255, 7), -1);
  EXPECT_EQ(RateColorSimilarity(0x000041, 0x000041, 255, 7), 7);
}

}  // namespace
