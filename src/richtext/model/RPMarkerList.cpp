#include "richtext/model/RPMarkerList.h"

namespace {

TRPMarkerListFactory& MarkerListFactory() {
  static TRPMarkerListFactory factory = nullptr;
  return factory;
}

}  // namespace

void SetMarkerListFactory(TRPMarkerListFactory factory) { MarkerListFactory() = factory; }

TRPMarkerListFactory GetMarkerListFactory() { return MarkerListFactory(); }
