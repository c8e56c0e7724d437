// A document with a style sheet and list markers, for the marker and marker-list tests.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "richtext/model/RPData.h"
#include "richtext/model/RPMarker.h"
#include "richtext/model/RPStyle.h"
#include "richtext/model/RPTextItems.h"

class TListData : public TCustomRPData {
public:
  const IRPStyleSheet* GetRPStyle() const override { return Sheet; }
  const TRPStyle* Sheet = nullptr;
};

class RPMarkerFixture : public testing::Test {
protected:
  RPMarkerFixture() { Data.Sheet = &Sheet; }
  ~RPMarkerFixture() override { Data.Clear(); }

  // A list style of the given level types, each level's format "%<level>:s." for the
  // numbered ones.
  TRPListInfo& AddList(std::initializer_list<TRPListType> types) {
    TRPListInfo& list = *Sheet.ListStyles().Add();
    for (TRPListType type : types) {
      TRPListLevel& level = *list.Levels().Add();
      level.ListType = type;
      if (level.HasTextNumbering()) level.FormatString = "%" + std::to_string(list.Levels().Count() - 1) + ":s.";
    }
    return list;
  }
  // A paragraph of a marker and its text.
  TRPMarkerItemInfo& AddMarker(int32_t listNo, int32_t level, const AnsiString& text = "item", bool reset = false,
                               int32_t startFrom = 1) {
    auto marker = TRPMarkerItemInfo::CreateEx(&Data, listNo, level, startFrom, reset);
    TRPMarkerItemInfo& ref = *marker;
    Data.AddItem({}, std::move(marker));
    Data.AddRawText(text, 0, -1);
    return ref;
  }
  std::vector<TRPMarkerItemInfo*> Markers(TCustomRPData& data) {
    std::vector<TRPMarkerItemInfo*> out;
    for (int32_t i = 0; i < data.GetItemCount(); ++i)
      if (auto* marker = dynamic_cast<TRPMarkerItemInfo*>(data.GetItem(i))) out.push_back(marker);
    return out;
  }
  std::vector<int32_t> Counters() {
    std::vector<int32_t> out;
    for (const TRPMarkerItemInfo* marker : Markers(Data)) out.push_back(marker->Counter);
    return out;
  }
  std::vector<std::string> Texts() {
    std::vector<std::string> out;
    for (const TRPMarkerItemInfo* marker : Markers(Data)) out.push_back(marker->DisplayString);
    return out;
  }
  TRPMarkerList& List() { return *dynamic_cast<TRPMarkerList*>(Data.GetMarkers(false)); }

  TRPStyle Sheet{nullptr};
  TListData Data;
};
