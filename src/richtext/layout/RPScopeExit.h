// Restores layout state when a scope ends, also when an exception passes.
#pragma once

#include <utility>

template <typename F>
class TScopeExit {
public:
  explicit TScopeExit(F f) : FAction(std::move(f)) {}
  ~TScopeExit() { FAction(); }
  TScopeExit(const TScopeExit&) = delete;
  TScopeExit& operator=(const TScopeExit&) = delete;

private:
  F FAction;
};
