// A fresh folder under the system's temporary folder, removed with everything in it when
// the test ends, and the files of given bytes that tests put in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

// The number of entries in a folder.
inline size_t EntryCount(const std::string& folder) {
  return static_cast<size_t>(
      std::distance(std::filesystem::directory_iterator(folder), std::filesystem::directory_iterator()));
}

class TempFolder {
public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qf-base-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) ADD_FAILURE() << "cannot make a temporary folder";
    FPath = pattern;
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(FPath, ignored);
  }

  // The folder's path in bytes, and a path inside it.
  const std::string& Path() const { return FPath; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

private:
  std::string FPath;
};

// The process's working folder is folder until the end of the scope: what a test writes
// there by accident shows, and the folders of other tests stay clean.
class TWorkingFolderScope {
public:
  explicit TWorkingFolderScope(const std::string& folder) : FPrevious(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  TWorkingFolderScope(const TWorkingFolderScope&) = delete;
  TWorkingFolderScope& operator=(const TWorkingFolderScope&) = delete;
  ~TWorkingFolderScope() {
    std::error_code ignored;
    std::filesystem::current_path(FPrevious, ignored);
  }

private:
  std::filesystem::path FPrevious;
};

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}
