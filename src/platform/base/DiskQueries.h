// Drive kinds and free space of the kernel layer, over Linux mounts.
//
// There are no drive letters: the "drive" of a path is the mounted file system that
// holds it (the path itself, or its nearest existing parent folder for a name not yet
// created). Its kind comes from statfs's file-system type and, for a block device, the
// removable flag the kernel reports in /sys/dev/block.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

constexpr uint32_t DRIVE_UNKNOWN = 0;
constexpr uint32_t DRIVE_NO_ROOT_DIR = 1;  // no part of the path exists
constexpr uint32_t DRIVE_REMOVABLE = 2;    // a block device the kernel marks removable
constexpr uint32_t DRIVE_FIXED = 3;
constexpr uint32_t DRIVE_REMOTE = 4;   // network file systems (NFS, SMB, 9p, FUSE)
constexpr uint32_t DRIVE_CDROM = 5;    // ISO 9660 and UDF
constexpr uint32_t DRIVE_RAMDISK = 6;  // tmpfs and ramfs

// The kind of the file system holding the path (8-bit names in the ANSI code page).
uint32_t GetDriveTypeA(const char* path);
// The bytes free for this user, in all, and free for anyone on the file system holding
// the path; false with the last error set when it cannot be queried. Pointers may be
// nullptr.
bool GetDiskFreeSpaceExA(const char* path, uint64_t* freeBytesAvailable, uint64_t* totalBytes,
                         uint64_t* totalFreeBytes);
