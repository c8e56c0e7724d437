// Where a test keeps the files it makes and leaves for a later look (peer caches, pictures
// a peer drew, pages it wrote): beside the test program, in the build folder, from whatever
// folder the program was started.
#pragma once

#include <filesystem>
#include <string>

inline std::filesystem::path BesideTestProgram(const std::string& name) {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}
