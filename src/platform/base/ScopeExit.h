// Runs an action when a scope ends, also when an exception passes: restores state that a
// scope changed for its own work (a flag, a saved value, an origin). The action runs in a
// destructor, so it must not throw: work that may (a list's EndUpdate, which fires change
// events) goes through WithinUpdate (UpdateBracket.h) instead.
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
