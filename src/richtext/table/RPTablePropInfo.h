// Published-property entries of the table classes built from a getter and a setter
// on the object, for ordinal fields of any integral or enumerated type.
#pragma once

#include <functional>

#include "platform/base/PublishedProperties.h"

template <typename T, typename V>
TPropInfo RPTableOrdProp(AnsiString name, V (*getter)(const T&), void (*setter)(T&, V), int64_t def) {
  TPropInfo info{std::move(name), std::is_same_v<V, bool> ? tkBoolean : tkInteger, {}, {}, def, {}};
  info.Get = [getter](const TPersistent& o) -> TPropValue {
    return static_cast<int64_t>(getter(static_cast<const T&>(o)));
  };
  info.Set = [setter](TPersistent& o, const TPropValue& v) {
    setter(static_cast<T&>(o), static_cast<V>(std::get<int64_t>(v)));
  };
  return info;
}

template <typename T>
TPropInfo RPTableStrProp(AnsiString name, AnsiString (*getter)(const T&), void (*setter)(T&, AnsiString)) {
  TPropInfo info{std::move(name), tkLString, {}, {}, {}, {}};
  info.Get = [getter](const TPersistent& o) -> TPropValue { return getter(static_cast<const T&>(o)); };
  info.Set = [setter](TPersistent& o, const TPropValue& v) { setter(static_cast<T&>(o), std::get<AnsiString>(v)); };
  return info;
}
