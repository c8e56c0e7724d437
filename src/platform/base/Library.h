// Loading shared libraries at run time, for the parts that bind a library only when they
// first need it (a missing library is then that part's error, not the program's).
//
// Names are file names as the dynamic loader takes them ("libmspack.so.0"); a failure
// returns 0 (or nullptr) with the last error ERROR_MOD_NOT_FOUND or ERROR_PROC_NOT_FOUND.
#pragma once

#include "platform/base/Module.h"
#include "platform/base/Types.h"

HMODULE LoadLibraryW(const WideChar* fileName);
HMODULE LoadLibraryA(const char* fileName);  // 8-bit name in the ANSI code page
bool FreeLibrary(HMODULE module);
// The address of an exported symbol, or nullptr.
void* GetProcAddress(HMODULE module, const char* procName);
