#include "richtext/table/RPTableBorders.h"

void TRPTableBooleanRect::Assign(const TPersistent& source) {
  if (const auto* rect = dynamic_cast<const TRPTableBooleanRect*>(&source)) {
    SetValues(rect->Left, rect->Top, rect->Right, rect->Bottom);
    return;
  }
  TRPBooleanRect::Assign(source);
}

const TClassProps& TRPTableBooleanRect::Props() {
  using T = TRPTableBooleanRect;
  auto side = [](const char* name, bool TRPBooleanRect::*member) {
    TPropInfo info{name, tkBoolean, {}, {}, 1, {}};
    info.Get = [member](const TPersistent& o) -> TPropValue { return int64_t(static_cast<const T&>(o).*member); };
    info.Set = [member](TPersistent& o, const TPropValue& v) {
      static_cast<T&>(o).*member = std::get<int64_t>(v) != 0;
    };
    return info;
  };
  static const TClassProps props("TRPTableBooleanRect", nullptr,
                                 {side("Left", &TRPBooleanRect::Left), side("Top", &TRPBooleanRect::Top),
                                  side("Right", &TRPBooleanRect::Right), side("Bottom", &TRPBooleanRect::Bottom)});
  return props;
}
