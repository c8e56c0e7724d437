// A temporary folder that stands in for the program's folder while a test runs.
#pragma once

#include <sys/stat.h>

#include "platform/base/FileSystemNames.h"
#include "platform/base/TempFolder.h"
#include "unicode/Peers.h"
#include "unicode/ProgramDir.h"
#include "unicode/UniSystem.h"

class TSchemeTestFolder : public TempFolder {
public:
  TSchemeTestFolder() { SetProgramDir(FileSystemNameToWide(Path())); }
  ~TSchemeTestFolder() { SetProgramDir(u""); }

  // A file of the folder, given by name; its UTF-16 path.
  WideString Wide(const std::string& name) const { return FileSystemNameToWide(*this / name); }
  void Write(const std::string& name, const std::string& bytes) const { WriteBytes(*this / name, bytes); }
  std::string Read(const std::string& name) const { return ReadBytes(*this / name); }
  bool Exists(const std::string& name) const {
    struct stat info {};
    return stat((*this / name).c_str(), &info) == 0;
  }
};

// The bytes of an ini file in UTF-16LE with its byte-order mark, from UTF-8 text.
inline std::string Utf16File(const std::string& utf8Lines) { return "\xFF\xFE" + Utf16LeBytes(Utf8ToWide(utf8Lines)); }
