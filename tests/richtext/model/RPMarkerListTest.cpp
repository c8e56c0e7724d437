// The marker list: document order, renumbering as markers come and go, parents, and the
// record block.
#include <gtest/gtest.h>

#include "RPMarkerTestData.h"
#include "platform/base/Exception.h"
#include "platform/base/LittleEndian.h"

namespace {

using RPMarkerListTest = RPMarkerFixture;

AnsiString Bytes(TMemoryStream& stream) {
  return AnsiString(static_cast<const char*>(stream.Memory()), static_cast<size_t>(stream.Size()));
}

TEST_F(RPMarkerListTest, MarkersInsertedAnywhereKeepDocumentOrder) {
  AddList({rplstDecimal});
  AddMarker(0, 0, "one");
  AddMarker(0, 0, "three");
  // A paragraph inserted between them.
  Data.InsertItem(2, "two", CreateItemByStyleNo(0, &Data));
  Data.InsertItem(2, {}, TRPMarkerItemInfo::CreateEx(&Data, 0, 0, 1, false));
  ASSERT_EQ(List().Count(), 3);
  const auto markers = Markers(Data);
  for (int32_t i = 0; i < 3; ++i) {
    EXPECT_EQ(List()[i], markers[static_cast<size_t>(i)]);
    EXPECT_EQ(markers[static_cast<size_t>(i)]->GetIndexInList(&List()), i);
  }
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "2.", "3."}));
  EXPECT_EQ(Data.FindPrevMarker(Data.IndexOfItem(markers[2])), markers[1]);
  EXPECT_EQ(Data.FindPrevMarker(0), nullptr);
}

TEST_F(RPMarkerListTest, RemovingAMarkerRenumbersItsOwnList) {
  AddList({rplstDecimal});
  AddList({rplstLowerAlpha});
  AddMarker(0, 0);
  AddMarker(1, 0);
  AddMarker(0, 0);
  AddMarker(1, 0);
  AddMarker(0, 0);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "a.", "2.", "b.", "3."}));
  // The first marker of list 0 goes; the marker that takes its place belongs to list 1,
  // yet list 0 is the one renumbered.
  Data.DeleteItems(0, 2);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"a.", "1.", "b.", "2."}));
  EXPECT_EQ(List().Count(), 4);
  Data.DeleteItems(0, Data.GetItemCount());
  EXPECT_EQ(Data.GetMarkers(false), nullptr);  // freed when empty
}

TEST_F(RPMarkerListTest, TheUndoListTakesAndGivesBackMarkers) {
  AddList({rplstDecimal});
  AddMarker(0, 0);
  TRPMarkerItemInfo& second = AddMarker(0, 0);
  AddMarker(0, 0);
  second.MovingToUndoList(Data.IndexOfItem(&second), &Data);
  EXPECT_EQ(List().Count(), 2);
  EXPECT_EQ(second.GetIndexInList(&List()), -1);
  EXPECT_EQ(Markers(Data)[2]->DisplayString, "2.");
  second.MovingFromUndoList(Data.IndexOfItem(&second), &Data);
  EXPECT_EQ(List().Count(), 3);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "2.", "3."}));
}

TEST_F(RPMarkerListTest, ParentsAreFoundInEarlierLists) {
  TRPMarkerList earlier;
  TRPMarkerItemInfo top(&Data, 0, 0, 1, false), otherList(&Data, 1, 0, 1, false);
  earlier.InsertMarkerAfter(top, nullptr);
  earlier.InsertMarkerAfter(otherList, &top);
  TRPMarkerList list;
  list.SetPrevMarkerList(&earlier);
  TRPMarkerItemInfo deep(&Data, 0, 2, 1, false), middle(&Data, 0, 1, 1, false);
  list.InsertMarkerAfter(deep, nullptr);
  EXPECT_EQ(list.InsertMarkerAfter(middle, nullptr), 0);  // after nothing: at the front
  int32_t parentIndex = 7;
  const TRPMarkerList* parentList = nullptr;
  // deep (index 1) has middle before it in its own list.
  ASSERT_TRUE(list.FindParentMarker(1, nullptr, parentIndex, parentList));
  EXPECT_EQ(parentList, &list);
  EXPECT_EQ(parentIndex, 0);
  // middle (index 0) finds its parent in the earlier list, skipping the other list.
  ASSERT_TRUE(list.FindParentMarker(0, nullptr, parentIndex, parentList));
  EXPECT_EQ(parentList, &earlier);
  EXPECT_EQ(parentIndex, 0);
  ASSERT_FALSE(earlier.FindParentMarker(0, nullptr, parentIndex, parentList));
  EXPECT_EQ(parentIndex, -1);
  EXPECT_EQ(parentList, nullptr);
}

// A parent search takes over what the search of a marker it meets found. Such answers
// follow every change: here a bullet marker's answer, which its own numbering never
// renews, leads the numbered marker after it to its parent.
TEST_F(RPMarkerListTest, NumbersFollowInsertionsDeletionsAndLevelChangesBeforeThem) {
  TRPListInfo& list = AddList({rplstDecimal, rplstDecimal, rplstBullet, rplstDecimal});
  list.Levels()[1]->FormatString = "%0:s.%1:s";
  AddMarker(0, 0, "Q");
  TRPMarkerItemInfo& bullet = AddMarker(0, 2, "B");
  TRPMarkerItemInfo& deep = AddMarker(0, 3, "C");  // its number asks for the bullet's parent
  AddMarker(0, 1, "M");
  const std::string dot = "\xB7";
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", dot, "1.", "1.1"}));
  Data.DeleteItems(Data.IndexOfItem(&deep), 2);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", dot, "1.1"}));

  // A level-0 marker inserted after the first: the last one's parent is the new one.
  Data.InsertItem(2, "P", CreateItemByStyleNo(0, &Data));
  auto inserted = TRPMarkerItemInfo::CreateEx(&Data, 0, 0, 1, false);
  TRPMarkerItemInfo& p = *inserted;
  Data.InsertItem(2, {}, std::move(inserted));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "2.", dot, "2.1"}));

  // P goes one level deeper than the bullet, then back; then it goes.
  p.Level = 3;
  Data.UpdateMarkerCountersFrom(Data.IndexOfItem(&p));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "1.", dot, "1.1"}));
  p.Level = 0;
  Data.UpdateMarkerCountersFrom(Data.IndexOfItem(&p));
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "2.", dot, "2.1"}));
  Data.DeleteItems(Data.IndexOfItem(&p), 2);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", dot, "1.1"}));
  EXPECT_EQ(bullet.GetIndexInList(&List()), 1);
}

// Markers with no parent in their own list find one in an earlier list when it changes
// later: what they found before holds no more. Only the last marker is renumbered each
// time, so its search meets the answers its siblings found before.
TEST_F(RPMarkerListTest, AnswersOfNoParentFollowTheEarlierLists) {
  TRPListInfo& list = AddList({rplstDecimal, rplstDecimal});
  list.Levels()[1]->FormatString = "%0:s.%1:s";
  TRPMarkerList earlier;
  TRPMarkerList markers;
  markers.SetPrevMarkerList(&earlier);
  std::vector<std::unique_ptr<TRPMarkerItemInfo>> items;
  for (int i = 0; i < 3; ++i) {
    items.push_back(TRPMarkerItemInfo::CreateEx(&Data, 0, 1, 1, false));
    markers.InsertMarkerAfter(*items.back(), i == 0 ? nullptr : items[items.size() - 2].get());
  }
  markers.RecalcCounters(0, &Sheet);
  EXPECT_EQ(items[2]->DisplayString, "1.3");  // no parent: the first level's start
  // A level-0 marker numbered 5 comes into the earlier list.
  auto top = TRPMarkerItemInfo::CreateEx(&Data, 0, 0, 1, false);
  top->Counter = 5;
  earlier.InsertMarkerAfter(*top, nullptr);
  markers.RecalcCounters(2, &Sheet);
  EXPECT_EQ(items[2]->DisplayString, "5.3");
  markers.RecalcCounters(0, &Sheet);
  // The earlier list read anew: its marker is numbered 8.
  TMemoryStream stream;
  earlier.WriteMarkersBinary(stream, 1, false);
  AnsiString block = Bytes(stream);
  block[8 + 13] = 8;  // the record's Counter
  earlier.LoadMarkersFromBinaryString(block, &Data);
  markers.RecalcCounters(2, &Sheet);
  EXPECT_EQ(items[2]->DisplayString, "8.3");
  // No earlier list any more.
  markers.RecalcCounters(0, &Sheet);
  markers.SetPrevMarkerList(nullptr);
  markers.RecalcCounters(2, &Sheet);
  EXPECT_EQ(items[2]->DisplayString, "1.3");
}

TEST_F(RPMarkerListTest, LastMarkerOfLists) {
  for (int32_t i = 0; i < 3; ++i) AddList({rplstDecimal});
  for (int32_t listNo : {0, 1, 2, 1, 0, 2}) AddMarker(listNo, 0);
  TRPIntegerList lists;
  lists.Add(1);
  EXPECT_EQ(Data.FindLastMarkerOfLists(0, lists), 3);
  EXPECT_EQ(Data.FindLastMarkerOfLists(3, lists), -1);
  lists.Add(2);
  EXPECT_EQ(Data.FindLastMarkerOfLists(-1, lists), 5);
  EXPECT_EQ(Data.FindLastMarkerOfLists(5, lists), -1);
}

TEST_F(RPMarkerListTest, AppendedDocumentsBringTheirMarkers) {
  AddList({rplstDecimal});
  AddMarker(0, 0);
  TListData source;
  source.Sheet = &Sheet;
  for (int i = 0; i < 2; ++i) {
    source.AddItem({}, TRPMarkerItemInfo::CreateEx(&source, 0, 0, 1, false));
    source.AddRawText("x", 0, -1);
  }
  ASSERT_NE(source.GetMarkers(false), nullptr);
  Data.AppendItemsFrom(&source);
  EXPECT_EQ(source.GetMarkers(false), nullptr);  // the source forgot them
  EXPECT_EQ(List().Count(), 3);
  EXPECT_EQ(Texts(), (std::vector<std::string>{"1.", "2.", "3."}));
  source.AddItem({}, TRPMarkerItemInfo::CreateEx(&source, 0, 0, 1, false));  // a list of its own again
  EXPECT_EQ(source.GetMarkers(false)->Count(), 1);
}

// The record block of markers (list, level, reset, start, counter), written by hand.
AnsiString RecordBlock(bool withSize) {
  AnsiString bytes;
  if (withSize) AppendLE32(bytes, 17 * 2 + 8);
  AppendLE32(bytes, 0);
  AppendLE32(bytes, 2);                          // count
  AppendLE32(bytes, 3);                          // ListNo
  AppendLE32(bytes, 1);                          // Level
  bytes += '\x01';                               // Reset
  AppendLE32(bytes, static_cast<uint32_t>(-7));  // StartFrom
  AppendLE32(bytes, 40);                         // Counter
  AppendLE32(bytes, static_cast<uint32_t>(-1));  // ListNo: none
  AppendLE32(bytes, 0x7FFFFFFF);                 // Level
  bytes += '\x00';
  AppendLE32(bytes, 1);
  AppendLE32(bytes, static_cast<uint32_t>(-2147483647 - 1));
  return bytes;
}

TEST_F(RPMarkerListTest, RecordBlockHasTheLayoutWrittenByHand) {
  TRPMarkerList list;
  TRPMarkerItemInfo a(&Data, 3, 1, -7, true), b(&Data, -1, 0x7FFFFFFF, 1, false);
  a.Counter = 40;
  b.Counter = -2147483647 - 1;
  list.InsertMarkerAfter(a, nullptr);
  list.InsertMarkerAfter(b, &a);
  for (bool withSize : {true, false}) {
    SCOPED_TRACE(withSize);
    TMemoryStream stream;
    list.WriteMarkersBinary(stream, 2, withSize);
    EXPECT_EQ(Bytes(stream), RecordBlock(withSize));
  }
  TMemoryStream first;
  list.WriteMarkersBinary(first, 1, false);
  EXPECT_EQ(first.Size(), 8 + 17);
  TMemoryStream clamped;
  list.WriteMarkersBinary(clamped, 99, false);
  EXPECT_EQ(clamped.Size(), 8 + 2 * 17);
}

TEST_F(RPMarkerListTest, RecordsReadBackIntoEqualLists) {
  AddList({rplstDecimal, rplstUpperRoman});
  AddMarker(0, 0);
  AddMarker(0, 1, "restart", true, 12);
  AddMarker(0, 1);
  AddMarker(0, 0);
  for (bool withSize : {true, false}) {
    SCOPED_TRACE(withSize);
    TMemoryStream stream;
    List().WriteMarkersBinary(stream, List().Count(), withSize);
    stream.SetPosition(0);
    TRPMarkerList read;
    read.ReadMarkersBinary(stream, &Data, withSize);
    EXPECT_EQ(stream.Position(), stream.Size());
    ASSERT_EQ(read.Count(), List().Count());
    for (int32_t i = 0; i < read.Count(); ++i) {
      EXPECT_EQ(read[i]->ListNo, List()[i]->ListNo);
      EXPECT_EQ(read[i]->Level, List()[i]->Level);
      EXPECT_EQ(read[i]->Reset, List()[i]->Reset);
      EXPECT_EQ(read[i]->StartFrom, List()[i]->StartFrom);
      EXPECT_EQ(read[i]->Counter, List()[i]->Counter);
      EXPECT_EQ(read[i]->GetIndexInList(&read), i);
    }
    // And written again, the same bytes.
    TMemoryStream again;
    read.WriteMarkersBinary(again, read.Count(), withSize);
    EXPECT_EQ(Bytes(again), Bytes(stream));
  }
  TRPMarkerList fromString;
  fromString.LoadMarkersFromBinaryString(RecordBlock(false), &Data);
  ASSERT_EQ(fromString.Count(), 2);
  EXPECT_EQ(fromString[1]->Level, 0x7FFFFFFF);
  EXPECT_EQ(fromString[1]->Counter, -2147483647 - 1);
}

TEST_F(RPMarkerListTest, AShortBlockFailsAndLeavesTheListEmpty) {
  const AnsiString block = RecordBlock(true);
  for (size_t cut : {size_t{0}, size_t{3}, size_t{11}, size_t{12}, size_t{20}, block.size() - 1}) {
    SCOPED_TRACE(cut);
    TRPMarkerList list;
    list.LoadMarkersFromBinaryString(RecordBlock(false), &Data);  // something to lose
    TMemoryStream stream;
    stream.WriteBuffer(block.data(), static_cast<int32_t>(cut));
    stream.SetPosition(0);
    EXPECT_THROW(list.ReadMarkersBinary(stream, &Data, true), EReadError);
    EXPECT_EQ(list.Count(), 0);
  }
}

TEST_F(RPMarkerListTest, ReadMarkersAreNumberedSafely) {
  // Read records may hold any level or list number; the markers then have no level.
  AddList({rplstDecimal});
  TRPMarkerList list;
  list.LoadMarkersFromBinaryString(RecordBlock(false), &Data);
  list.RecalcCounters(0, &Sheet);
  EXPECT_EQ(list[0]->DisplayString, "");  // list 3: past the list styles
  list.RecalcCounters(1, &Sheet);         // no list: nothing
  EXPECT_EQ(list[1]->Counter, -2147483647 - 1);
}

}  // namespace
