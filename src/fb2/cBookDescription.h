// `TBookDescription`: the nine metadata strings of one book, kept apart from the node
// tree so that they outlive it.
#pragma once

#include "platform/base/Object.h"
#include "platform/base/Types.h"

class TBookDescription : public TPersistent {
public:
  TBookDescription() = default;

  // Every field empty.
  void Clear();
  // From a TBookDescription (or a descendant): the nine fields. Other sources raise the
  // assignment error "Cannot assign a %s to a %s".
  void Assign(const TPersistent& source) override;

  WideString Title;
  WideString Authors;
  WideString Translators;
  WideString Genres;
  WideString Adapter;  // the Wolf description's adapter; a loaded book leaves it empty
  WideString Publisher;
  WideString Year;
  WideString ISBN;
  WideString Annotation;
};
