#include "convert/cInternalLinks.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "unicode/UniSystem.h"

namespace {

// The targets as "id:key:page" plus "*" when Changed, in the list's order.
std::string Dump(const TInternalLinks& links) {
  std::string text;
  for (int32_t i = 0; i < links.Targets.Count(); ++i) {
    const TDstLinkItem& t = links.Targets.Target(i);
    text += WideToUtf8(links.Targets.Id(i)) + ":" + std::to_string(t.Key) + ":" + std::to_string(t.Page) +
            (t.Changed ? "*" : "") + " ";
  }
  return text;
}

TEST(InternalLinks, IdsDifferingInCaseNameOneTarget) {
  TInternalLinks links;
  links.AddSource(u"Note1", 5);
  links.SetTarget(u"NOTE1", 40);
  links.AddSource(u"note1", 9);
  EXPECT_EQ(Dump(links), "Note1:40:0 ");
  ASSERT_EQ(links.Sources.size(), 2u);
  EXPECT_EQ(links.Sources[0].Target, links.Sources[1].Target);
  EXPECT_EQ(links.Sources[1].Key, 9);
  EXPECT_EQ(links.Sources[1].Document, nullptr);
}

TEST(InternalLinks, TargetsAreSortedById) {
  TInternalLinks links;
  for (const WideString id : {u"c", u"A", u"b"}) links.SetTarget(id, 1);
  EXPECT_EQ(Dump(links), "A:1:0 b:1:0 c:1:0 ");
}

// A link to an id no element carries keeps Key -1 and Page 0 through every pass.
TEST(InternalLinks, UnknownTargetNeverChanges) {
  TInternalLinks links;
  links.AddSource(u"nowhere", 3);
  for (int32_t item = 0; item < 5; ++item) links.Targets.SetPageForKey(item, item + 1);
  EXPECT_FALSE(links.Targets.AnyChanged());
  EXPECT_EQ(Dump(links), "nowhere:-1:0 ");
}

TEST(InternalLinks, LaterAnchorOfAnIdWins) {
  TInternalLinks links;
  links.SetTarget(u"x", 10);
  links.SetTarget(u"x", 20);
  links.Targets.SetPageForKey(10, 4);
  EXPECT_EQ(Dump(links), "x:20:0 ");  // the old key no longer reaches it
  links.Targets.SetPageForKey(20, 7);
  EXPECT_EQ(Dump(links), "x:20:7* ");
}

// An id on a section and one on its first paragraph share the item: both get its page.
TEST(InternalLinks, TargetsOfOneKeyAllGetThePage) {
  TInternalLinks links;
  links.SetTarget(u"sec", 12);
  links.SetTarget(u"par", 12);
  links.SetTarget(u"other", 13);
  links.Targets.SetPageForKey(12, 3);
  EXPECT_EQ(Dump(links), "other:13:0 par:12:3* sec:12:3* ");
}

// A pass that gives a target the page it had does not mark it; ResetChanged clears.
TEST(InternalLinks, ChangedOnlyWhenThePageMoves) {
  TInternalLinks links;
  links.SetTarget(u"a", 1);
  links.Targets.SetPageForKey(1, 2);
  EXPECT_TRUE(links.Targets.AnyChanged());
  links.Targets.ResetChanged();
  links.Targets.SetPageForKey(1, 2);
  EXPECT_FALSE(links.Targets.AnyChanged());
  links.Targets.SetPageForKey(1, 3);
  EXPECT_EQ(Dump(links), "a:1:3* ");
}

TEST(InternalLinks, HasLinksNeedsASourceAndATarget) {
  TInternalLinks links;
  EXPECT_FALSE(links.HasLinks());
  links.SetTarget(u"anchor", 1);  // anchors but no links
  EXPECT_FALSE(links.HasLinks());
  links.AddSource(u"anchor", 2);
  EXPECT_TRUE(links.HasLinks());
  links.Clear();
  EXPECT_FALSE(links.HasLinks());
  EXPECT_EQ(Dump(links), "");
}

TEST(InternalLinks, RemoveUnreferencedKeepsLinkedTargetsUnmarked) {
  TInternalLinks links;
  links.SetTarget(u"a", 1);
  links.SetTarget(u"b", 2);
  links.SetTarget(u"c", 3);
  links.SetTarget(u"d", 4);
  links.AddSource(u"B", 10);
  links.AddSource(u"d", 11);
  links.Targets.SetPageForKey(2, 5);  // b marked Changed before the sweep
  links.RemoveUnreferenced();
  EXPECT_EQ(Dump(links), "b:2:5 d:4:0 ");
  // The removed targets' keys are gone from the index too.
  links.Targets.SetPageForKey(1, 9);
  links.Targets.SetPageForKey(3, 9);
  EXPECT_FALSE(links.Targets.AnyChanged());
}

// A source in a table cell or a note table names the document that holds it.
TEST(InternalLinks, SourceKeepsItsDocument) {
  TInternalLinks links;
  auto* cell = reinterpret_cast<TCustomRPData*>(&links);  // only compared, never used
  links.AddSource(u"t", 0, cell);
  EXPECT_EQ(links.Sources[0].Document, cell);
}

// The key index stays right over many targets moved between keys and deleted.
TEST(InternalLinks, KeyIndexFollowsMovesAndDeletes) {
  TInternalLinks links;
  for (int32_t i = 0; i < 200; ++i) links.SetTarget(Utf8ToWide("t" + std::to_string(i)), i % 10);
  for (int32_t i = 0; i < 200; i += 2) links.SetTarget(Utf8ToWide("t" + std::to_string(i)), 100 + i % 7);
  for (int32_t i = 0; i < 200; i += 3) links.AddSource(Utf8ToWide("T" + std::to_string(i)), i);
  links.RemoveUnreferenced();
  for (int32_t key = 0; key < 110; ++key) links.Targets.SetPageForKey(key, key + 1);
  for (int32_t i = 0; i < links.Targets.Count(); ++i) {
    const TDstLinkItem& t = links.Targets.Target(i);
    EXPECT_EQ(t.Page, t.Key + 1);
  }
  EXPECT_EQ(links.Targets.Count(), 67);  // 0, 3, ..., 198
}

}  // namespace
