// The item classes the rich-text model's start-up registered, kept while a test puts
// stand-ins (or none) in their places, and put back at its end: the tests after it see
// what every program sees.
#pragma once

#include <array>

#include "richtext/model/RPItemInfo.h"
#include "richtext/model/RPMarkerList.h"

class TSavedItemClasses {
public:
  TSavedItemClasses() {
    for (size_t i = 0; i < Kinds.size(); ++i) FBuiltIn[i] = GetBuiltInItemClass(Kinds[i]);
  }
  ~TSavedItemClasses() {
    SetTextItemClass(FText);
    for (size_t i = 0; i < Kinds.size(); ++i) SetBuiltInItemClass(Kinds[i], FBuiltIn[i]);
    SetMarkerListFactory(FMarkerLists);
  }
  TSavedItemClasses(const TSavedItemClasses&) = delete;
  TSavedItemClasses& operator=(const TSavedItemClasses&) = delete;

private:
  static constexpr std::array<int32_t, 8> Kinds = {rpkindBreak,  rpkindPicture,    rpkindHotspot,    rpkindControl,
                                                   rpkindBullet, rpkindHotPicture, rpkindListMarker, rpkindTab};
  TRPItemClass FText = GetTextItemClass();
  std::array<TRPItemClass, Kinds.size()> FBuiltIn{};
  TRPMarkerListFactory FMarkerLists = GetMarkerListFactory();
};
