// The visible sides of a table's or a cell's border as a published object, so that the
// table's streaming stores it (only when some side is hidden).
#pragma once

#include "platform/base/PublishedProperties.h"
#include "richtext/model/RPParaInfo.h"

class TRPTableBooleanRect : public TRPBooleanRect {
public:
  TRPTableBooleanRect() : TRPBooleanRect(true) {}

  // Copies the four sides of another visible-sides object.
  void Assign(const TPersistent& source) override;
  static const TClassProps& Props();
  const TClassProps* ClassProps() const override { return &Props(); }
};

// The published entry of an owner's visible sides: an object property stored only when
// some side is hidden.
template <typename T>
TPropInfo VisibleBordersProp() {
  TPropInfo info{"VisibleBorders", tkClass, {}, {}, {}, {}};
  info.Get = [](const TPersistent& o) -> TPropValue {
    return const_cast<TRPTableBooleanRect*>(&static_cast<const T&>(o).VisibleBorders);
  };
  info.Set = [](TPersistent& o, const TPropValue& v) {
    if (TPersistent* source = std::get<TPersistent*>(v)) static_cast<T&>(o).VisibleBorders.Assign(*source);
  };
  info.Stored = [](const TPersistent& o) { return !static_cast<const T&>(o).VisibleBorders.IsAllEqual(true); };
  return info;
}
