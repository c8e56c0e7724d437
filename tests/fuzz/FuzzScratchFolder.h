// A fresh folder for the files one input needs, removed with everything in it when the
// input is done. It lies in memory (/dev/shm) unless TMPDIR names another place: the
// program syncs every file it writes (schemes, settings, books), which on a disk costs
// more than all the rest of an input's work. A folder that cannot be made stops the run:
// a target that silently skipped its file paths would report coverage it never had.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

class TFuzzScratchFolder {
public:
  TFuzzScratchFolder() {
    std::string pattern = (Base() / "qf-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    FPath = pattern;
  }
  TFuzzScratchFolder(const TFuzzScratchFolder&) = delete;
  TFuzzScratchFolder& operator=(const TFuzzScratchFolder&) = delete;
  ~TFuzzScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }

  const std::string& Path() const { return FPath; }

  // Writes the bytes to the relative path (making its folders) and returns its full path.
  std::string Write(const std::string& name, std::string_view bytes) const {
    const std::filesystem::path path = std::filesystem::path(FPath) / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path.string();
  }

private:
  static std::filesystem::path Base() {
    std::error_code error;
    if (std::getenv("TMPDIR") == nullptr && std::filesystem::is_directory("/dev/shm", error)) return "/dev/shm";
    return std::filesystem::temp_directory_path();
  }

  std::string FPath;
};
