// Replays fuzz inputs without libFuzzer: every file named on the command line, or found
// in a folder named there, goes through the target once. A crash or sanitizer report
// fails the run; so every seed and every past crasher is replayed by CTest. A path that
// does not exist or a folder without inputs fails the run too, so a misnamed or emptied
// seed folder cannot pass by replaying nothing.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

void Replay(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

// The number of inputs replayed from the path; -1 when it names nothing readable.
int ReplayPath(const std::filesystem::path& path) {
  std::error_code error;
  if (std::filesystem::is_regular_file(path, error)) {
    Replay(path);
    return 1;
  }
  if (!std::filesystem::is_directory(path, error)) return -1;
  int count = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(path)) {
    if (!entry.is_regular_file()) continue;
    Replay(entry.path());
    ++count;
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <input file or folder>...\n", argv[0]);
    return 2;
  }
  int total = 0;
  for (int i = 1; i < argc; ++i) {
    const int count = ReplayPath(argv[i]);
    if (count < 0) {
      std::fprintf(stderr, "%s: no such file or folder\n", argv[i]);
      return 1;
    }
    if (count == 0) {
      std::fprintf(stderr, "%s: no inputs in the folder\n", argv[i]);
      return 1;
    }
    total += count;
  }
  std::printf("replayed %d inputs\n", total);
  return 0;
}
