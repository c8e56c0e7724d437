// The list markers of a nesting of documents, in document order. The root document
// keeps the list; the list-marker unit provides it (numbering markers is its business)
// through SetMarkerListFactory.
#pragma once

#include <cstdint>
#include <memory>

class TCustomRPData;
class TCustomRPItemInfo;

class IRPMarkerList {
public:
  virtual ~IRPMarkerList() = default;
  virtual int32_t Count() const = 0;
  // Takes in the marker at itemNo of data, after the nearest marker before it in
  // document order, and renumbers the markers from there.
  virtual void AddMarker(TCustomRPData& data, int32_t itemNo) = 0;
  // Lets a marker go; the later markers are renumbered unless the document is being
  // cleared.
  virtual void RemoveMarker(TCustomRPItemInfo& marker, bool clearing) = 0;
};

// Makes the marker list of a root document; nullptr (the default) while no list-marker
// unit is present, and then documents keep no marker list.
using TRPMarkerListFactory = std::unique_ptr<IRPMarkerList> (*)();
void SetMarkerListFactory(TRPMarkerListFactory factory);
TRPMarkerListFactory GetMarkerListFactory();
