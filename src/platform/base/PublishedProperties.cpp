#include "platform/base/PublishedProperties.h"

#include "platform/base/TextUtils.h"

bool TClassProps::InheritsFrom(const TClassProps& ancestor) const {
  for (const TClassProps* c = this; c; c = c->FParent)
    if (c == &ancestor) return true;
  return false;
}

std::vector<const TPropInfo*> PublishedPropList(const TPersistent& instance) {
  std::vector<const TClassProps*> chain;
  for (const TClassProps* c = instance.ClassProps(); c; c = c->Parent()) chain.push_back(c);
  std::vector<const TPropInfo*> result;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it)
    for (const TPropInfo& info : (*it)->Own()) result.push_back(&info);
  return result;
}

const TPropInfo* FindPublishedProp(const TPersistent& instance, AnsiStringView name) {
  for (const TPropInfo* info : PublishedPropList(instance))
    if (SameText(info->Name, name)) return info;
  return nullptr;
}
