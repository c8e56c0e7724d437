// The program's module: its file name and the folder beside it.
//
// This layer has one module, the program itself, so every module handle names it.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

using HMODULE = uintptr_t;
using HINSTANCE = HMODULE;
// The handle by which code names its own module.
inline constexpr HINSTANCE HInstance = 0x00400000;

// The program's full file name (from /proc/self/exe). Returns the length copied without
// the terminator; a buffer too small gets the first size - 1 characters and a terminator,
// returns `size` and sets ERROR_INSUFFICIENT_BUFFER; 0 when the name cannot be read.
uint32_t GetModuleFileNameW(HMODULE module, WideChar* buffer, uint32_t size);
uint32_t GetModuleFileNameA(HMODULE module, char* buffer, uint32_t size);

// The folder that holds the program, with a trailing "/"; empty when it cannot be read.
WideString ProgramDirectory();
