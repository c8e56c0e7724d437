#include "platform/base/Sound.h"

#include <utility>

namespace {

TMessageBeepHandler& Handler() {
  static TMessageBeepHandler handler;
  return handler;
}

}  // namespace

bool MessageBeep(uint32_t type) {
  if (Handler()) Handler()(type);
  return true;
}

TMessageBeepHandler SetMessageBeepHandler(TMessageBeepHandler handler) {
  return std::exchange(Handler(), std::move(handler));
}
