#include "richtext/table/RPTableHooks.h"

TRPTableHooks& RPTableHooks() {
  static TRPTableHooks hooks;
  return hooks;
}
