// Expected outputs kept as files under tests/data/richtext/pages. A test compares with
// its file; only scripts/regenerate-page-goldens.sh (which sets QF_REGENERATE_GOLDEN)
// writes them, and every file it writes must be checked by hand before it is committed.
#pragma once

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

inline std::string GoldenPath(const std::string& name) { return QF_TEST_DATA_DIR "/richtext/pages/" + name; }

inline bool RegeneratingGoldens() { return std::getenv("QF_REGENERATE_GOLDEN") != nullptr; }

inline std::string ReadGolden(const std::string& name) {
  std::ifstream in(GoldenPath(name), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline void WriteGolden(const std::string& name, const std::string& content) {
  std::ofstream(GoldenPath(name), std::ios::binary) << content;
}
