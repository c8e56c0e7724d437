#include "LangTestFiles.h"

#include <fstream>

#include "platform/base/CodePages.h"
#include "platform/base/FileSystemNames.h"

WideString WriteLangFile(const std::filesystem::path& path, const WideString& text, TLangFileEncoding encoding) {
  std::string bytes;
  switch (encoding) {
    case TLangFileEncoding::Utf16LE:
      bytes = "\xFF\xFE";
      for (WideChar c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
      }
      break;
    case TLangFileEncoding::Utf8:
      bytes = "\xEF\xBB\xBF" + WideToAnsi(text, 65001);
      break;
    case TLangFileEncoding::Ansi1251:
      bytes = WideToAnsi(text, 1251);
      break;
  }
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return FileSystemNameToWide(path.string());
}
