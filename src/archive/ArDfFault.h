// The one way the inflate engine rejects its input: raise EArInternalInflateError with
// the fault's fixed message.
#pragma once

#include "archive/ArExcept.h"

[[noreturn]] void InflateFault(TArInflateFault fault);
