// The peer caches in the build folder are shared by every test process of a run (ctest
// starts each test in a process of its own, many at once). A cache is made under an
// exclusive lock, written once and then only read; every file of it is written under a
// temporary name and renamed into place, so a process reading it outside the lock meets
// the old complete file or the new complete one, never one being written.
#pragma once

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "platform/base/BesideTestProgram.h"

// Holds the cache's lock file (beside the cache folder) exclusively while it lives.
class TPeerCacheLock {
public:
  explicit TPeerCacheLock(const std::filesystem::path& cacheDir)
      : Fd(::open((cacheDir.string() + ".lock").c_str(), O_CREAT | O_RDWR | O_CLOEXEC, 0644)) {
    if (Fd >= 0) ::flock(Fd, LOCK_EX);
  }
  ~TPeerCacheLock() {
    if (Fd >= 0) ::close(Fd);
  }
  TPeerCacheLock(const TPeerCacheLock&) = delete;
  TPeerCacheLock& operator=(const TPeerCacheLock&) = delete;

private:
  int Fd;
};

// A name beside path that no other process uses.
inline std::filesystem::path PeerScratchName(const std::filesystem::path& path) {
  return path.string() + ".tmp" + std::to_string(::getpid());
}

inline std::string ReadPeerFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// Moves made over target, unless target already holds the same bytes: then made is
// removed and target is left as it is.
inline void MovePeerFileIntoPlace(const std::filesystem::path& made, const std::filesystem::path& target) {
  if (std::filesystem::exists(target) && ReadPeerFile(made) == ReadPeerFile(target))
    std::filesystem::remove(made);
  else
    std::filesystem::rename(made, target);
}

// Writes bytes to path through a scratch name; nothing is written when path holds them.
inline void WritePeerFile(const std::filesystem::path& path, std::string_view bytes) {
  if (std::filesystem::exists(path) && ReadPeerFile(path) == bytes) return;
  const std::filesystem::path scratch = PeerScratchName(path);
  {
    std::ofstream out(scratch, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  std::filesystem::rename(scratch, path);
}
