// Gives a client's handle back through one of its callbacks at scope end unless released.
// The callback's own failure is dropped there: the guard acts while another failure is
// on its way, and that one is the failure reported.
#pragma once

#include <functional>

#include "platform/cabinet/Cabinet.h"

template <typename TResult>
class TCabHandleGuard {
public:
  TCabHandleGuard(const std::function<TResult(TCabHandle)>& giveBack, TCabHandle handle)
      : FGiveBack(giveBack), FHandle(handle) {}
  ~TCabHandleGuard() {
    if (FHandle > 0) {
      try {
        FGiveBack(FHandle);
      } catch (...) {
      }
    }
  }
  TCabHandleGuard(const TCabHandleGuard&) = delete;
  TCabHandleGuard& operator=(const TCabHandleGuard&) = delete;
  void Release() { FHandle = 0; }

private:
  const std::function<TResult(TCabHandle)>& FGiveBack;
  TCabHandle FHandle;
};
