// The folder beside the program where settings, scheme and language files are looked for.
#pragma once

#include "platform/base/Types.h"

// The program's folder with a trailing "/": the folder of the program's own file unless
// SetProgramDir names another (tests, and copies that keep their files elsewhere).
const WideString& ProgramDir();
// Makes `dir` (a trailing "/" is added) the program's folder; empty restores the folder
// of the program's file.
void SetProgramDir(const WideString& dir);
