// File handles and the file and folder calls of the kernel layer, over POSIX.
//
// Every call comes in a wide form (UTF-16 names, suffix W or a WideString overload) and
// an 8-bit form (names in the ANSI code page, suffix A or an AnsiString overload). Names
// are UTF-8 on disk (FileSystemNames.h); "/" is the only delimiter and ":" an ordinary
// character. Each call sets the last error (LastError.h) as Windows does: a missing
// file ERROR_FILE_NOT_FOUND, a missing folder ERROR_PATH_NOT_FOUND, an existing target
// ERROR_ALREADY_EXISTS or ERROR_FILE_EXISTS.
//
// The read-only attribute is the owner's write bit, and it is honoured even where POSIX
// would let the caller write anyway (root): opening a read-only file for writing and
// deleting it fail with ERROR_ACCESS_DENIED, as on Windows.
//
// Share modes are accepted and ignored: POSIX has no mandatory locks, and advisory ones
// would only bind our own opens.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

using THandle = int;
constexpr THandle INVALID_HANDLE_VALUE = -1;

// FileOpen modes: the access in the low two bits, the sharing in bits 4 to 7.
constexpr uint32_t fmOpenRead = 0x0000;
constexpr uint32_t fmOpenWrite = 0x0001;
constexpr uint32_t fmOpenReadWrite = 0x0002;
constexpr uint32_t fmShareCompat = 0x0000;
constexpr uint32_t fmShareExclusive = 0x0010;
constexpr uint32_t fmShareDenyWrite = 0x0020;
constexpr uint32_t fmShareDenyRead = 0x0030;
constexpr uint32_t fmShareDenyNone = 0x0040;

// Opens an existing file; INVALID_HANDLE_VALUE on failure (an access of 3 or a sharing
// above fmShareDenyNone is ERROR_INVALID_PARAMETER; a folder is ERROR_ACCESS_DENIED).
THandle FileOpen(const WideString& name, uint32_t mode);
THandle FileOpen(const AnsiString& name, uint32_t mode);
// Creates a file for reading and writing, emptying an existing one.
THandle FileCreate(const WideString& name);
THandle FileCreate(const AnsiString& name);
// Both return the bytes transferred (short only at the end of the file) or -1.
int32_t FileRead(THandle handle, void* buffer, uint32_t count);
int32_t FileWrite(THandle handle, const void* buffer, uint32_t count);
// Origin 0 from the start, 1 from the current position, 2 from the end; returns the new
// position or -1 (ERROR_NEGATIVE_SEEK before the start).
int64_t FileSeek(THandle handle, int64_t offset, int origin);
void FileClose(THandle handle);
// Sets the file's size (cutting or extending with zeros); the position stays.
bool FileTruncate(THandle handle, int64_t size);
// Cuts the file at the current position.
bool SetEndOfFile(THandle handle);
// Writes the file's data through to the disk.
bool FlushFileBuffers(THandle handle);

// CreateFile access, sharing (ignored) and creation dispositions.
constexpr uint32_t GENERIC_READ = 0x80000000;
constexpr uint32_t GENERIC_WRITE = 0x40000000;
constexpr uint32_t FILE_SHARE_READ = 0x00000001;
constexpr uint32_t FILE_SHARE_WRITE = 0x00000002;
constexpr uint32_t FILE_SHARE_DELETE = 0x00000004;
constexpr uint32_t CREATE_NEW = 1;     // fails with ERROR_FILE_EXISTS on an existing file
constexpr uint32_t CREATE_ALWAYS = 2;  // empties an existing file (last error 183)
constexpr uint32_t OPEN_EXISTING = 3;
constexpr uint32_t OPEN_ALWAYS = 4;        // creates a missing file (else last error 183)
constexpr uint32_t TRUNCATE_EXISTING = 5;  // needs GENERIC_WRITE

// File attributes.
constexpr uint32_t FILE_ATTRIBUTE_READONLY = 0x01;  // the owner's write bit is clear
constexpr uint32_t FILE_ATTRIBUTE_HIDDEN = 0x02;    // the name starts with "."
constexpr uint32_t FILE_ATTRIBUTE_SYSTEM = 0x04;    // neither file nor folder (device, pipe, socket, dangling link)
constexpr uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr uint32_t FILE_ATTRIBUTE_ARCHIVE = 0x20;  // every regular file
constexpr uint32_t FILE_ATTRIBUTE_NORMAL = 0x80;   // accepted when setting; never reported
constexpr uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;

// Opens or creates a file. Of `flagsAndAttributes` only FILE_ATTRIBUTE_READONLY counts (a
// created file is read-only); the other flags are accepted and ignored.
THandle CreateFileW(const WideChar* name, uint32_t desiredAccess, uint32_t shareMode, uint32_t creationDisposition,
                    uint32_t flagsAndAttributes);
THandle CreateFileA(const char* name, uint32_t desiredAccess, uint32_t shareMode, uint32_t creationDisposition,
                    uint32_t flagsAndAttributes);

// The attributes of a file or folder (links followed), INVALID_FILE_ATTRIBUTES on failure.
uint32_t GetFileAttributesW(const WideChar* name);
uint32_t GetFileAttributesA(const char* name);
// Only FILE_ATTRIBUTE_READONLY has an effect: it clears or sets the owner's write bit.
bool SetFileAttributesW(const WideChar* name, uint32_t attributes);
bool SetFileAttributesA(const char* name, uint32_t attributes);

// Creates one folder; its parent must exist (else ERROR_PATH_NOT_FOUND; an existing name
// is ERROR_ALREADY_EXISTS, a file in place of a parent ERROR_DIRECTORY).
bool CreateDirectoryW(const WideChar* name);
bool CreateDirectoryA(const char* name);
// Removes an empty folder (ERROR_DIR_NOT_EMPTY otherwise; a file is ERROR_DIRECTORY).
bool RemoveDirectoryW(const WideChar* name);
bool RemoveDirectoryA(const char* name);
// Renames a file or folder; never replaces an existing target (ERROR_ALREADY_EXISTS).
// A move to another file system fails with ERROR_NOT_SAME_DEVICE.
bool MoveFileW(const WideChar* existingName, const WideChar* newName);
bool MoveFileA(const char* existingName, const char* newName);
// Deletes a file (a folder or a read-only file: ERROR_ACCESS_DENIED).
bool DeleteFileW(const WideChar* name);
bool DeleteFileA(const char* name);

// The full path of a name: relative names are taken from the current folder, "." and
// ".." parts and repeated "/" are removed (lexically, as Windows does). With room for the
// path and its terminator it is copied, *filePart (when given) points at its last part
// (nullptr when the path ends with "/"), and the length without terminator is returned;
// otherwise the size needed with the terminator is returned and nothing is written.
// An empty name fails with 0 and ERROR_INVALID_NAME.
uint32_t GetFullPathNameW(const WideChar* name, uint32_t bufferChars, WideChar* buffer, WideChar** filePart);
uint32_t GetFullPathNameA(const char* name, uint32_t bufferBytes, char* buffer, char** filePart);
// The current folder, with the same buffer rules.
uint32_t GetCurrentDirectoryW(uint32_t bufferChars, WideChar* buffer);
uint32_t GetCurrentDirectoryA(uint32_t bufferBytes, char* buffer);
// The folder for temporary files ($TMPDIR or /tmp) with a trailing "/"; same rules.
uint32_t GetTempPathW(uint32_t bufferChars, WideChar* buffer);
uint32_t GetTempPathA(uint32_t bufferBytes, char* buffer);
// Forms "<path>/<first three characters of prefix><hex number>.TMP" into `tempFileName`
// (room for MAX_PATH characters). With `unique` 0 it picks a number whose name is free
// and creates the empty file; otherwise it only forms the name. Returns the number used,
// 0 on failure (a name that does not fit is ERROR_BUFFER_OVERFLOW and creates no file).
constexpr uint32_t MAX_PATH = 260;
uint32_t GetTempFileNameW(const WideChar* pathName, const WideChar* prefix, uint32_t unique, WideChar* tempFileName);
uint32_t GetTempFileNameA(const char* pathName, const char* prefix, uint32_t unique, char* tempFileName);
