// The peer caches are entered by many test processes at once (ctest -j): a file of a cache
// that one process reads is never met half-written by another that enters the cache.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/base/TempFolder.h"
#include "richtext/interchange/PeerCacheFiles.h"
#include "richtext/interchange/RPRTFPeers.h"

namespace {

// A PNG file is complete when it ends with its IEND chunk; a JPEG file when it ends with
// the end-of-image marker.
bool IsCompletePng(const std::vector<uint8_t>& bytes) {
  static const uint8_t iend[] = {0, 0, 0, 0, 'I', 'E', 'N', 'D', 0xAE, 0x42, 0x60, 0x82};
  return bytes.size() > sizeof iend && bytes[1] == 'P' &&
         std::equal(std::begin(iend), std::end(iend), bytes.end() - sizeof iend);
}

bool IsCompleteJpeg(const std::vector<uint8_t>& bytes) {
  return bytes.size() > 4 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[bytes.size() - 2] == 0xFF &&
         bytes.back() == 0xD9;
}

std::vector<std::pair<std::string, std::string>> PageSource(const std::string& png, const std::string&) {
  return {{"page.html", "<img src=\"data:image/png;base64," + png + "\">"}};
}

// One process of the race: enters the cache again and again, reading its files in
// between while the other processes enter it. Exits 0 when every read was complete.
[[noreturn]] void EnterAndRead() {
  int incomplete = 0;
  for (int round = 0; round < 3; ++round) {
    const TRtfPeerFiles files = MakeRtfPeerFiles("peer-cache-race", &PageSource, {});
    if (!files.Error.empty()) ::_exit(2);
    for (int read = 0; read < 300; ++read) {
      if (!IsCompletePng(ReadBytesOf(files.Source("picture.png").string()))) ++incomplete;
      if (!IsCompleteJpeg(ReadBytesOf(files.Source("photo.jpg").string()))) ++incomplete;
      if (ReadPeerFile(files.Source("page.html")).find("base64,") == std::string::npos) ++incomplete;
    }
  }
  ::_exit(incomplete == 0 ? 0 : 1);
}

TEST(RPPeerCache, ProcessesEnteringTogetherReadOnlyCompleteFiles) {
  std::filesystem::remove_all(BesideTestProgram("peer-cache-race"));
  constexpr int kProcesses = 8;
  std::vector<pid_t> children;
  for (int i = 0; i < kProcesses; ++i) {
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) EnterAndRead();
    children.push_back(pid);
  }
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_NE(WEXITSTATUS(status), 2) << "the cache could not be made (a peer is missing: scripts/setup.sh)";
    EXPECT_EQ(WEXITSTATUS(status), 0) << "a process read a file of the cache that another was writing";
  }
}

// A cache is made beside the test program whatever the working folder: nothing lands in
// the folder the program was started from.
TEST(RPPeerCache, ACacheLivesBesideTheTestProgram) {
  TempFolder started;
  const TWorkingFolderScope scope(started.Path());
  const TRtfPeerFiles files = MakeRtfPeerFiles("peer-cache-race", &PageSource, {});
  ASSERT_EQ(files.Error, "");
  EXPECT_EQ(files.Dir.parent_path(), std::filesystem::read_symlink("/proc/self/exe").parent_path());
  EXPECT_EQ(EntryCount(started.Path()), 0u);
}

}  // namespace
