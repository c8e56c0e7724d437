// The folder beside the program where scheme and language files are looked for.
#pragma once

#include "platform/base/Types.h"

// The program's folder with a trailing "/"; the program's own folder until start-up (or
// a test) sets another.
WideString& ProgramDir();
