#include "platform/base/DiskQueries.h"

#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <sys/sysmacros.h>

#include <cerrno>
#include <fstream>
#include <string>

#include "platform/base/FileSystemNames.h"
#include "platform/base/LastError.h"

namespace {

// The path itself when it exists, else its nearest existing parent folder ("/" at
// worst for a full path, "." for a relative one); false when the name cannot be on disk.
bool ExistingPart(const char* path, std::string& existing) {
  if (!NameBytes(path, existing)) return false;
  struct stat st {};
  while (!existing.empty() && stat(existing.c_str(), &st) != 0) {
    size_t slash = existing.find_last_of('/');
    if (slash == std::string::npos) {
      existing = ".";
    } else {
      existing.erase(slash == 0 ? 1 : slash);
    }
    if (existing == "/" || existing == ".") break;
  }
  if (existing.empty()) existing = ".";
  return true;
}

// Whether /sys/dev/block says the device (or, for a partition, its disk) is removable.
bool IsRemovableBlockDevice(dev_t device) {
  std::string base = "/sys/dev/block/" + std::to_string(major(device)) + ":" + std::to_string(minor(device));
  for (const char* file : {"/removable", "/../removable"}) {
    std::ifstream flag(base + file);
    char c = 0;
    if (flag >> c) return c == '1';
  }
  return false;
}

}  // namespace

uint32_t GetDriveTypeA(const char* path) {
  std::string existing;
  if (!ExistingPart(path, existing)) return DRIVE_UNKNOWN;
  struct stat st {};
  struct statfs fs {};
  if (stat(existing.c_str(), &st) != 0 || statfs(existing.c_str(), &fs) != 0) return DRIVE_NO_ROOT_DIR;
  switch (static_cast<uint64_t>(fs.f_type)) {
    case 0x01021994:  // tmpfs
    case 0x858458F6:  // ramfs
      return DRIVE_RAMDISK;
    case 0x9660:      // ISO 9660
    case 0x15013346:  // UDF
      return DRIVE_CDROM;
    case 0x6969:      // NFS
    case 0xFF534D42:  // CIFS
    case 0xFE534D42:  // SMB2
    case 0x517B:      // SMB
    case 0x01021997:  // 9p
    case 0x65735546:  // FUSE
      return DRIVE_REMOTE;
    default:
      return IsRemovableBlockDevice(st.st_dev) ? DRIVE_REMOVABLE : DRIVE_FIXED;
  }
}

bool GetDiskFreeSpaceExA(const char* path, uint64_t* freeBytesAvailable, uint64_t* totalBytes,
                         uint64_t* totalFreeBytes) {
  std::string existing;
  if (!ExistingPart(path, existing)) return false;
  struct statvfs vfs {};
  if (statvfs(existing.c_str(), &vfs) != 0) {
    SetLastErrorForPath(errno, existing);
    return false;
  }
  uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
  if (freeBytesAvailable) *freeBytesAvailable = static_cast<uint64_t>(vfs.f_bavail) * unit;
  if (totalBytes) *totalBytes = static_cast<uint64_t>(vfs.f_blocks) * unit;
  if (totalFreeBytes) *totalFreeBytes = static_cast<uint64_t>(vfs.f_bfree) * unit;
  return true;
}
