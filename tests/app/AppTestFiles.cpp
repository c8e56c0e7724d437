#include "AppTestFiles.h"

#include "app/uGlobals.h"
#include "platform/base/CodePages.h"
#include "unicode/UniSystem.h"

TProgramFolder::TProgramFolder() {
  // Cyrillic, CJK and a character beyond the BMP: no ANSI code page holds them all.
  FPath = FTemp /
          "\xD0\x9F\xD1\x80\xD0\xBE\xD0\xB3\xD1\x80\xD0\xB0\xD0\xBC\xD0\xBC\xD0\xB0 \xE4\xB8\xAD\xE6\x96\x87 "
          "\xF0\x9F\x93\x9A";
  std::filesystem::create_directory(FPath);
  FDir = AnsiToWideWithCodePage(FPath, CP_UTF8) + u"/";
  SetProgramDir(FDir);
}

TProgramFolder::~TProgramFolder() { SetProgramDir(u""); }

std::string Utf16LEWithBom(const WideString& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

WideString FromUtf16LEWithBom(const std::string& bytes) {
  WideString text;
  if (!bytes.starts_with("\xFF\xFE")) return text;
  for (size_t i = 2; i + 1 < bytes.size(); i += 2)
    text.push_back(static_cast<char16_t>(static_cast<uint8_t>(bytes[i]) | static_cast<uint8_t>(bytes[i + 1]) << 8));
  return text;
}
