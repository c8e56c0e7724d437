// The per-thread last-error value of the kernel layer, with Windows-style codes.
//
// Every kernel call of this layer sets the value the way Windows does (a missing file 2,
// a missing folder 3, an existing target 183 or 80); callers read it right after a call
// that failed. `ErrorFromErrno` is the one place where POSIX errno values become codes.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

constexpr uint32_t ERROR_SUCCESS = 0;
constexpr uint32_t ERROR_INVALID_FUNCTION = 1;
constexpr uint32_t ERROR_FILE_NOT_FOUND = 2;
constexpr uint32_t ERROR_PATH_NOT_FOUND = 3;
constexpr uint32_t ERROR_TOO_MANY_OPEN_FILES = 4;
constexpr uint32_t ERROR_ACCESS_DENIED = 5;
constexpr uint32_t ERROR_INVALID_HANDLE = 6;
constexpr uint32_t ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr uint32_t ERROR_INVALID_DRIVE = 15;
constexpr uint32_t ERROR_NOT_SAME_DEVICE = 17;
constexpr uint32_t ERROR_NO_MORE_FILES = 18;
constexpr uint32_t ERROR_WRITE_PROTECT = 19;
constexpr uint32_t ERROR_SEEK = 25;
constexpr uint32_t ERROR_WRITE_FAULT = 29;
constexpr uint32_t ERROR_READ_FAULT = 30;
constexpr uint32_t ERROR_SHARING_VIOLATION = 32;
constexpr uint32_t ERROR_LOCK_VIOLATION = 33;
constexpr uint32_t ERROR_HANDLE_EOF = 38;
constexpr uint32_t ERROR_NOT_SUPPORTED = 50;
constexpr uint32_t ERROR_FILE_EXISTS = 80;
constexpr uint32_t ERROR_CANNOT_MAKE = 82;
constexpr uint32_t ERROR_INVALID_PARAMETER = 87;
constexpr uint32_t ERROR_BROKEN_PIPE = 109;
constexpr uint32_t ERROR_BUFFER_OVERFLOW = 111;
constexpr uint32_t ERROR_DISK_FULL = 112;
constexpr uint32_t ERROR_INSUFFICIENT_BUFFER = 122;
constexpr uint32_t ERROR_INVALID_NAME = 123;
constexpr uint32_t ERROR_MOD_NOT_FOUND = 126;
constexpr uint32_t ERROR_PROC_NOT_FOUND = 127;
constexpr uint32_t ERROR_NEGATIVE_SEEK = 131;
constexpr uint32_t ERROR_DIR_NOT_EMPTY = 145;
constexpr uint32_t ERROR_BUSY = 170;
constexpr uint32_t ERROR_ALREADY_EXISTS = 183;
constexpr uint32_t ERROR_FILENAME_EXCED_RANGE = 206;
constexpr uint32_t ERROR_BAD_FILE_TYPE = 222;
constexpr uint32_t ERROR_FILE_TOO_LARGE = 223;
constexpr uint32_t ERROR_DIRECTORY = 267;
constexpr uint32_t ERROR_MR_MID_NOT_FOUND = 317;
constexpr uint32_t ERROR_RESOURCE_DATA_NOT_FOUND = 1812;
constexpr uint32_t ERROR_RESOURCE_TYPE_NOT_FOUND = 1813;
constexpr uint32_t ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr uint32_t ERROR_RESOURCE_LANG_NOT_FOUND = 1815;
constexpr uint32_t ERROR_NO_UNICODE_TRANSLATION = 1113;
constexpr uint32_t ERROR_INVALID_FLAGS = 1004;
constexpr uint32_t ERROR_CANT_RESOLVE_FILENAME = 1921;

// The calling thread's last error code.
uint32_t GetLastError() noexcept;
void SetLastError(uint32_t code) noexcept;

// The Windows code for a POSIX errno value (ERROR_ACCESS_DENIED for EACCES, ...); codes
// with no closer match become ERROR_INVALID_FUNCTION.
uint32_t ErrorFromErrno(int errnoValue) noexcept;
// Sets the last error from the current errno and returns the code set.
uint32_t SetLastErrorFromErrno() noexcept;

// The system's message text for a code, without a trailing line break; empty for a code
// that has no text (callers then say "Unspecified error").
WideString SystemErrorMessage(uint32_t code);

// FormatMessageW flags this layer takes.
constexpr uint32_t FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
constexpr uint32_t FORMAT_MESSAGE_FROM_HMODULE = 0x00000800;
constexpr uint32_t FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;
constexpr uint32_t FORMAT_MESSAGE_ARGUMENT_ARRAY = 0x00002000;

// The system's message for `messageId` followed by CR LF, as the message-from-system call
// gives it, in any language. Writes text and terminator into `buffer` (room for `size`
// units) and returns the units written without the terminator. 0 with the last error:
// ERROR_MR_MID_NOT_FOUND for a code without text (also for every module message: no
// module holds a message table), ERROR_INSUFFICIENT_BUFFER, ERROR_INVALID_PARAMETER for
// flags outside the four above or without FORMAT_MESSAGE_FROM_SYSTEM. Inserts are never
// filled in, so `source` and `arguments` are not read.
uint32_t FormatMessageW(uint32_t flags, const void* source, uint32_t messageId, uint32_t languageId, WideChar* buffer,
                        uint32_t size, const void* arguments);
