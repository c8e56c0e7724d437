// The published properties of a class: an explicit registry, one `TClassProps` per class
// that streams or translates its state, in place of run-time type information.
//
// A class lists its own properties (name, kind, getter, setter, default, stored rule) and
// names its parent's list; `PublishedPropList` walks the parent's first, as the class
// library enumerates them. An object finds its class's list through the virtual
// `TPersistent::ClassProps`. Getters and setters take the object as `TPersistent&` and
// cast to the class that registered them, which the registration below guarantees.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <variant>
#include <vector>

#include "platform/base/Object.h"
#include "platform/base/Types.h"

enum TTypeKind : uint8_t {
  tkInteger,  // 32-bit signed ordinal
  tkBoolean,  // stored as 0 or 1
  tkLString,  // 8-bit text in the ANSI code page
  tkWString,  // UTF-16 text
  tkWChar,    // one UTF-16 character, streamed as its ordinal
  tkClass,    // an object owned by the instance (string list, collection, font)
  tkMethod,   // an event; enumerated, never streamed
};

// A property's value: ordinals (integer, boolean, character) as int64_t, 8-bit and UTF-16
// text, or the object of a class property.
using TPropValue = std::variant<int64_t, AnsiString, WideString, TPersistent*>;

struct TPropInfo {
  AnsiString Name;
  TTypeKind Kind = tkInteger;
  // Empty when the property cannot be read (or written).
  std::function<TPropValue(const TPersistent&)> Get;
  std::function<void(TPersistent&, const TPropValue&)> Set;
  // The declared default of an ordinal property; none: every value is stored.
  std::optional<int64_t> Default;
  // The stored condition; empty: always stored.
  std::function<bool(const TPersistent&)> Stored;

  bool HasGetter() const { return static_cast<bool>(Get); }
  bool HasSetter() const { return static_cast<bool>(Set); }
  bool IsStored(const TPersistent& instance) const { return !Stored || Stored(instance); }
};

class TClassProps {
public:
  TClassProps(AnsiString className, const TClassProps* parent, std::vector<TPropInfo> own)
      : FClassName(std::move(className)), FParent(parent), FOwn(std::move(own)) {}

  const AnsiString& ClassName() const { return FClassName; }
  const TClassProps* Parent() const { return FParent; }
  const std::vector<TPropInfo>& Own() const { return FOwn; }
  // True when this class is `ancestor` or inherits from it.
  bool InheritsFrom(const TClassProps& ancestor) const;

private:
  AnsiString FClassName;
  const TClassProps* FParent;
  std::vector<TPropInfo> FOwn;
};

// Every published property of the object's class, the root class's first; empty for an
// object without a list.
std::vector<const TPropInfo*> PublishedPropList(const TPersistent& instance);
// The property of that name (ASCII case ignored), or nullptr.
const TPropInfo* FindPublishedProp(const TPersistent& instance, AnsiStringView name);

// Building blocks of a class's list, for a class T and its member functions.
namespace Published {

template <typename T, typename V>
TPropInfo Make(AnsiString name, TTypeKind kind, V (T::*getter)() const, void (T::*setter)(V)) {
  TPropInfo info{std::move(name), kind, {}, {}, {}, {}};
  if (getter)
    info.Get = [getter](const TPersistent& o) -> TPropValue {
      if constexpr (std::is_same_v<V, bool> || std::is_integral_v<V>)
        return static_cast<int64_t>((static_cast<const T&>(o).*getter)());
      else
        return (static_cast<const T&>(o).*getter)();
    };
  if (setter)
    info.Set = [setter](TPersistent& o, const TPropValue& v) {
      if constexpr (std::is_same_v<V, bool> || std::is_integral_v<V>)
        (static_cast<T&>(o).*setter)(static_cast<V>(std::get<int64_t>(v)));
      else
        (static_cast<T&>(o).*setter)(std::get<std::decay_t<V>>(v));
    };
  return info;
}

template <typename T>
TPropInfo Integer(AnsiString name, int32_t (T::*getter)() const, void (T::*setter)(int32_t),
                  std::optional<int64_t> def = std::nullopt) {
  TPropInfo info = Make(std::move(name), tkInteger, getter, setter);
  info.Default = def;
  return info;
}

template <typename T>
TPropInfo Boolean(AnsiString name, bool (T::*getter)() const, void (T::*setter)(bool), bool def) {
  TPropInfo info = Make(std::move(name), tkBoolean, getter, setter);
  info.Default = def ? 1 : 0;
  return info;
}

template <typename T>
TPropInfo AnsiText(AnsiString name, AnsiString (T::*getter)() const, void (T::*setter)(const AnsiString&)) {
  TPropInfo info{std::move(name), tkLString, {}, {}, {}, {}};
  info.Get = [getter](const TPersistent& o) -> TPropValue { return (static_cast<const T&>(o).*getter)(); };
  info.Set = [setter](TPersistent& o, const TPropValue& v) { (static_cast<T&>(o).*setter)(std::get<AnsiString>(v)); };
  return info;
}

template <typename T>
TPropInfo WideText(AnsiString name, WideString (T::*getter)() const, void (T::*setter)(const WideString&)) {
  TPropInfo info{std::move(name), tkWString, {}, {}, {}, {}};
  info.Get = [getter](const TPersistent& o) -> TPropValue { return (static_cast<const T&>(o).*getter)(); };
  info.Set = [setter](TPersistent& o, const TPropValue& v) { (static_cast<T&>(o).*setter)(std::get<WideString>(v)); };
  return info;
}

// An object property: the getter hands out the owned object, which the reader fills in
// place.
template <typename T, typename O>
TPropInfo Object(AnsiString name, O* (T::*getter)() const) {
  TPropInfo info{std::move(name), tkClass, {}, {}, {}, {}};
  info.Get = [getter](const TPersistent& o) -> TPropValue {
    return static_cast<TPersistent*>((static_cast<const T&>(o).*getter)());
  };
  // Assigning the object's contents is what the class library's setters do.
  info.Set = [getter](TPersistent& o, const TPropValue& v) {
    if (TPersistent* source = std::get<TPersistent*>(v)) (static_cast<T&>(o).*getter)()->Assign(*source);
  };
  return info;
}

// An event: listed for enumeration, never read or written by the filers.
inline TPropInfo Event(AnsiString name) { return TPropInfo{std::move(name), tkMethod, {}, {}, {}, {}}; }

}  // namespace Published
