// Files of the application's tests: a program folder with a name in several scripts,
// and texts in UTF-16LE with a byte-order mark.
#pragma once

#include <filesystem>
#include <string>

#include "platform/base/TempFolder.h"
#include "platform/base/Types.h"

// A temporary folder that the application takes as its program folder while it lives.
class TProgramFolder {
public:
  TProgramFolder();
  ~TProgramFolder();
  // The folder's path in bytes (UTF-8) and as the program names it, with a trailing "/".
  const std::string& Path() const { return FPath; }
  const WideString& Dir() const { return FDir; }
  std::string operator/(const std::string& name) const { return FPath + "/" + name; }

private:
  TempFolder FTemp;
  std::string FPath;
  WideString FDir;
};

// The text as UTF-16LE after FF FE; and back (empty unless the bytes start with FF FE).
std::string Utf16LEWithBom(const WideString& text);
WideString FromUtf16LEWithBom(const std::string& bytes);
