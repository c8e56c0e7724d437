#include "platform/base/Collections.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/base/Exception.h"

namespace {

class TTab : public TCollectionItem {
public:
  explicit TTab(TCollection* collection) : TCollectionItem(collection) {}
  int32_t Position = 0;

  void Assign(const TPersistent& source) override {
    if (const auto* tab = dynamic_cast<const TTab*>(&source))
      Position = tab->Position;
    else
      TCollectionItem::Assign(source);
  }
  void SetPosition(int32_t position) {
    Position = position;
    Changed(false);
  }
};

// Records what it hears.
class TTabs : public TCollection {
public:
  TTabs() : TCollection(CollectionItemClassOf<TTab>()) {}
  TTab* Tab(int32_t index) const { return static_cast<TTab*>(Items(index)); }
  std::vector<std::string> Log;

protected:
  void Update(TCollectionItem* item) override {
    Log.push_back(item ? "update " + std::to_string(static_cast<TTab*>(item)->Position) : "update all");
  }
  void Notify(TCollectionItem*, TCollectionNotification action) override {
    Log.push_back(action == cnAdded ? "added" : action == cnExtracting ? "extracting" : "deleting");
  }
};

std::vector<int32_t> Positions(const TTabs& tabs) {
  std::vector<int32_t> positions;
  for (int32_t i = 0; i < tabs.Count(); ++i) positions.push_back(tabs.Tab(i)->Position);
  return positions;
}

}  // namespace

TEST(Collections, ItemsJoinMoveAndLeave) {
  TTabs tabs;
  for (int32_t p : {10, 20, 30}) static_cast<TTab*>(tabs.Add())->Position = p;
  static_cast<TTab*>(tabs.Insert(1))->Position = 15;
  EXPECT_EQ(Positions(tabs), (std::vector<int32_t>{10, 15, 20, 30}));
  EXPECT_EQ(tabs.Tab(1)->ID(), 3);
  EXPECT_EQ(tabs.FindItemID(2), tabs.Tab(3));
  EXPECT_EQ(tabs.Tab(3)->GetOwner(), &tabs);

  tabs.Tab(3)->SetIndex(0);
  EXPECT_EQ(Positions(tabs), (std::vector<int32_t>{30, 10, 15, 20}));
  tabs.Log.clear();
  tabs.Tab(1)->SetPosition(11);
  tabs.Delete(0);
  EXPECT_EQ(tabs.Log, (std::vector<std::string>{"update 11", "deleting", "extracting", "update all"}));
  EXPECT_EQ(Positions(tabs), (std::vector<int32_t>{11, 15, 20}));

  TTabs other;
  tabs.Tab(0)->SetCollection(&other);
  EXPECT_EQ(tabs.Count(), 2);
  EXPECT_EQ(other.Count(), 1);
  EXPECT_EQ(other.Tab(0)->Index(), 0);
  EXPECT_THROW(tabs.Items(2), EListError);
  EXPECT_THROW(tabs.Tab(0)->SetIndex(5), EListError);
}

TEST(Collections, AssignCopiesItemByItemInOneUpdate) {
  TTabs source;
  for (int32_t p : {1, 2}) static_cast<TTab*>(source.Add())->Position = p;
  TTabs target;
  target.Add();
  target.Log.clear();
  target.Assign(source);
  EXPECT_EQ(Positions(target), (std::vector<int32_t>{1, 2}));
  EXPECT_EQ(target.Log, (std::vector<std::string>{"extracting", "added", "added", "update all"}));
  // An item outside any collection belongs to its creator.
  auto loose = std::make_unique<TTab>(nullptr);
  EXPECT_EQ(loose->Index(), -1);
  EXPECT_EQ(loose->GetOwner(), nullptr);
}
