// Runs an action when a scope ends, also when an exception passes: restores state that a
// scope changed for its own work (a flag, a saved value, an origin).
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
