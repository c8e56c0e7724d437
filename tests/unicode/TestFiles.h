// Files of given bytes in a test's temporary folder, named in UTF-16.
#pragma once

#include <fstream>
#include <iterator>
#include <string>

#include "platform/base/FileSystemNames.h"
#include "platform/base/TempFolder.h"
#include "platform/base/Types.h"

inline void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The UTF-16 name of a path given in bytes.
inline WideString WideName(const std::string& path) { return FileSystemNameToWide(path); }

// A fixture of tests/data/unicode.
inline std::string DataPath(const std::string& name) { return std::string(QF_TEST_DATA_DIR) + "/unicode/" + name; }
