#include "platform/graphics/GdiObject.h"

#include <unordered_map>

namespace {

struct TRegistry {
  std::unordered_map<TGdiObject*, std::shared_ptr<TGdiObject>> Objects;
  std::unordered_map<TGdiObject*, std::shared_ptr<TGdiObject>> Stock;
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

}  // namespace

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
  return handle ? handle->shared_from_this() : nullptr;
}

bool DeleteObject(HGDIOBJ handle) {
  if (handle && Registry().Stock.count(handle)) return true;
  return Registry().Objects.erase(handle) > 0;
}
