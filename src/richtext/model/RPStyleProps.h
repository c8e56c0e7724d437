// Published-property entries of the style classes built from a field of the style: an
// ordinal (integer, enumeration, Boolean), a set (stored as its member bits) or a byte
// string. The entries of a part a style owns (a border, its offsets) are listed on the
// style under dotted names ("Border.Width"), as the component stream names the
// properties of an owned object.
#pragma once

#include <type_traits>
#include <utility>

#include "platform/base/PublishedProperties.h"

// An ordinal field reached through access (the object to the field).
template <typename T, typename Access>
TPropInfo RPStyleOrdProp(AnsiString name, Access access, int64_t def) {
  using V = std::remove_reference_t<decltype(access(std::declval<T&>()))>;
  TPropInfo info{std::move(name), std::is_same_v<V, bool> ? tkBoolean : tkInteger, {}, {}, def, {}};
  info.Get = [access](const TPersistent& o) -> TPropValue {
    return static_cast<int64_t>(access(const_cast<T&>(static_cast<const T&>(o))));
  };
  info.Set = [access](TPersistent& o, const TPropValue& v) {
    access(static_cast<T&>(o)) = static_cast<V>(std::get<int64_t>(v));
  };
  return info;
}

// A set field: its member bits shifted down by shift (the stored base of a set whose
// members start high), default empty.
template <typename T, typename Access>
TPropInfo RPStyleSetProp(AnsiString name, Access access, int shift = 0) {
  using S = std::remove_reference_t<decltype(access(std::declval<T&>()))>;
  TPropInfo info{std::move(name), tkInteger, {}, {}, int64_t{0}, {}};
  info.Get = [access, shift](const TPersistent& o) -> TPropValue {
    return static_cast<int64_t>(access(const_cast<T&>(static_cast<const T&>(o))).Ordinals() >> shift);
  };
  info.Set = [access, shift](TPersistent& o, const TPropValue& v) {
    access(static_cast<T&>(o)) = S::FromOrdinals(static_cast<uint64_t>(std::get<int64_t>(v)) << shift);
  };
  return info;
}

// A byte-string field (stored unless empty).
template <typename T, typename Access>
TPropInfo RPStyleTextProp(AnsiString name, Access access) {
  TPropInfo info{std::move(name), tkLString, {}, {}, {}, {}};
  info.Get = [access](const TPersistent& o) -> TPropValue { return access(const_cast<T&>(static_cast<const T&>(o))); };
  info.Set = [access](TPersistent& o, const TPropValue& v) { access(static_cast<T&>(o)) = std::get<AnsiString>(v); };
  return info;
}
