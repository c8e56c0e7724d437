#include "platform/graphics/GdiObject.h"

#include <unordered_map>
#include <unordered_set>

namespace {

// Every object alive, so that a stale handle is recognised instead of dereferenced.
std::unordered_set<const TGdiObject*>& Alive() {
  static std::unordered_set<const TGdiObject*> alive;
  return alive;
}

struct TRegistry {
  std::unordered_map<TGdiObject*, std::shared_ptr<TGdiObject>> Objects;
  std::unordered_map<TGdiObject*, std::shared_ptr<TGdiObject>> Stock;
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

}  // namespace

TGdiObject::TGdiObject() { Alive().insert(this); }

TGdiObject::~TGdiObject() { Alive().erase(this); }

bool IsGdiObject(HGDIOBJ handle) { return handle && Alive().count(handle) > 0; }

HGDIOBJ RegisterGdiObject(std::shared_ptr<TGdiObject> object) {
  TGdiObject* handle = object.get();
  Registry().Objects.emplace(handle, std::move(object));
  return handle;
}

HGDIOBJ RegisterStockObject(std::shared_ptr<TGdiObject> object) {
  TGdiObject* handle = object.get();
  Registry().Stock.emplace(handle, std::move(object));
  return handle;
}

std::shared_ptr<TGdiObject> SharedGdiObject(HGDIOBJ handle) {
  return IsGdiObject(handle) ? handle->shared_from_this() : nullptr;
}

bool DeleteObject(HGDIOBJ handle) {
  if (handle && Registry().Stock.count(handle)) return true;
  return Registry().Objects.erase(handle) > 0;
}
