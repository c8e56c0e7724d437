// Files of given bytes in a test's temporary folder (TempFolder.h), named in UTF-16.
#pragma once

#include <string>

#include "platform/base/FileSystemNames.h"
#include "platform/base/TempFolder.h"
#include "platform/base/Types.h"

// The UTF-16 name of a path given in bytes.
inline WideString WideName(const std::string& path) { return FileSystemNameToWide(path); }

// A fixture of tests/data/unicode.
inline std::string DataPath(const std::string& name) { return std::string(QF_TEST_DATA_DIR) + "/unicode/" + name; }
