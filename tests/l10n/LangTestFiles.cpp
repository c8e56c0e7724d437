#include "LangTestFiles.h"

#include <fstream>
#include <random>

#include "platform/base/CodePages.h"

WideString WriteLangFile(const std::filesystem::path& path, const WideString& text,
                         TLangFileEncoding encoding) {
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
  return ToWide(path);
}

WideString ToWide(const std::filesystem::path& path) {
  const std::u8string utf8 = path.u8string();
  return AnsiToWide(std::string(utf8.begin(), utf8.end()), 65001);
}

TTempFolder::TTempFolder() {
  std::random_device random;
  FPath = std::filesystem::temp_directory_path() / ("qf-l10n-" + std::to_string(random()));
  std::filesystem::create_directories(FPath);
}

TTempFolder::~TTempFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(FPath, ignored);
}
