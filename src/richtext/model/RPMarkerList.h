// The list markers of a nesting of documents, in document order. The root document
// keeps the list; the list-marker unit (RPMarker.h) provides it (numbering markers is its
// business) through SetMarkerListFactory, which RegisterMarkerItemClasses does.
#pragma once

#include <cstdint>
#include <memory>

#include "richtext/model/RPLists.h"

class IRPStyleSheet;
class TCustomRPData;
class TCustomRPItemInfo;

class IRPMarkerList {
public:
  virtual ~IRPMarkerList() = default;
  virtual int32_t Count() const = 0;
  // Takes in the marker at itemNo of data, after the nearest marker before it in
  // document order, and renumbers the markers of its list from there. Nothing when the
  // marker is in the list already.
  virtual void AddMarker(TCustomRPData& data, int32_t itemNo) = 0;
  // Lets a marker of data go; the later markers of its list are renumbered unless the
  // document is being cleared.
  virtual void RemoveMarker(TCustomRPData& data, TCustomRPItemInfo& marker, bool clearing) = 0;
  // Renumbers the markers of the marker's list from the marker on (after its restart
  // settings changed). Nothing for a marker that is not in the list.
  virtual void UpdateCountersFrom(TCustomRPData& data, TCustomRPItemInfo& marker) = 0;
  // The index of the last marker after index whose list style is one of listNos; -1
  // when there is none.
  virtual int32_t FindLastOfLists(int32_t index, const TRPIntegerList& listNos) const = 0;
};

// Makes the marker list of a root document; nullptr (the default) while no list-marker
// unit is present, and then documents keep no marker list.
using TRPMarkerListFactory = std::unique_ptr<IRPMarkerList> (*)();
void SetMarkerListFactory(TRPMarkerListFactory factory);
TRPMarkerListFactory GetMarkerListFactory();

// A list marker with a list level: where its line and the paragraph's continuation
// lines start (screen pixels), as formatting asks.
class IRPListMarkerLevel {
public:
  virtual ~IRPListMarkerLevel() = default;
  // The level's LeftIndent, FirstIndent and MarkerIndent from the style sheet's list
  // styles; false when the marker has no level there.
  virtual bool GetLevelIndents(const IRPStyleSheet* rpStyle, int32_t& leftIndent, int32_t& firstIndent,
                               int32_t& markerIndent) const = 0;
};
