// Drive kinds and free space, checked against what statfs and df report for the same
// mounts.
#include <gtest/gtest.h>

#include <sys/statfs.h>

#include <cstdio>
#include <string>

#include "platform/base/DiskQueries.h"

namespace {

// df's count of bytes available to this user on the file system holding path.
uint64_t DfAvailable(const std::string& path) {
  std::string command = "df -B1 --output=avail '" + path + "' | tail -1";
  FILE* pipe = popen(command.c_str(), "r");
  unsigned long long value = 0;
  if (pipe) {
    if (std::fscanf(pipe, "%llu", &value) != 1) value = 0;
    pclose(pipe);
  }
  return value;
}

TEST(DiskQueries, FreeSpaceAgreesWithDfAndNamesNotYetMadeUseTheirFolder) {
  uint64_t available = 0, total = 0, totalFree = 0;
  ASSERT_TRUE(GetDiskFreeSpaceExA("/tmp", &available, &total, &totalFree));
  uint64_t df = DfAvailable("/tmp");
  // Other programs write meanwhile: agree within 64 MiB.
  EXPECT_NEAR(static_cast<double>(available), static_cast<double>(df), 64.0 * 1024 * 1024);
  EXPECT_LE(available, totalFree);
  EXPECT_LE(totalFree, total);
  uint64_t below = 0;
  ASSERT_TRUE(GetDiskFreeSpaceExA("/tmp/no-such-folder/no-such-file.zip", &below, nullptr, nullptr));
  EXPECT_NEAR(static_cast<double>(below), static_cast<double>(available), 64.0 * 1024 * 1024);
}

TEST(DiskQueries, DriveKindsFollowTheFileSystemType) {
  // statfs tells which of these the machine has; each is checked where it exists.
  const std::pair<long, uint32_t> byType[] = {{0x01021994, DRIVE_RAMDISK}, {0x6969, DRIVE_REMOTE}};
  for (const char* path : {"/dev/shm", "/tmp", "/proc", "/"}) {
    SCOPED_TRACE(path);
    struct statfs fs {};
    if (statfs(path, &fs) != 0) continue;
    uint32_t expected = DRIVE_FIXED;
    for (auto [type, kind] : byType)
      if (static_cast<long>(fs.f_type) == type) expected = kind;
    uint32_t got = GetDriveTypeA(path);
    // A fixed file system may sit on a device the kernel calls removable.
    if (expected == DRIVE_FIXED)
      EXPECT_TRUE(got == DRIVE_FIXED || got == DRIVE_REMOVABLE) << got;
    else
      EXPECT_EQ(got, expected);
    EXPECT_EQ(GetDriveTypeA((std::string(path) + "/no-such-name").c_str()), got);
  }
}

}  // namespace
