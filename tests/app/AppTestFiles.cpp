#include "AppTestFiles.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <map>

#include "app/uGlobals.h"
#include "l10n/LangController.h"
#include "platform/base/CodePages.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"
#include "unicode/UniWideStrings.h"

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

std::string RussianMainWindowFile(const TLanguageController& controller) {
  // By the English text as the language source lists it (escaped).
  const std::map<WideString, WideString> texts{
      {u" FictionBook2 files to convert ",
       u" \u041a\u043d\u0438\u0433\u0438 FictionBook2 \u0434\u043b\u044f "
       u"\u043f\u0440\u0435\u043e\u0431\u0440\u0430\u0437\u043e\u0432\u0430\u043d\u0438\u044f "},
      {u" Save WOL files to ",
       u" \u041a\u0443\u0434\u0430 \u0441\u043e\u0445\u0440\u0430\u043d\u044f\u0442\u044c "
       u"\u0444\u0430\u0439\u043b\u044b WOL "},
      {u"Source directory",
       u"\u0412 \u043f\u0430\u043f\u043a\u0443 \u0438\u0441\u0445\u043e\u0434\u043d\u043e\u0433\u043e "
       u"\u0444\u0430\u0439\u043b\u0430"},
      {u"This directory:", u"\u0412 \u044d\u0442\u0443 \u043f\u0430\u043f\u043a\u0443:"},
      {u" Conversion settings ",
       u" \u041f\u0430\u0440\u0430\u043c\u0435\u0442\u0440\u044b "
       u"\u043f\u0440\u0435\u043e\u0431\u0440\u0430\u0437\u043e\u0432\u0430\u043d\u0438\u044f "},
      {u"Scheme name:",
       u"\u0421\u0445\u0435\u043c\u0430 \u043e\u0444\u043e\u0440\u043c\u043b\u0435\u043d\u0438\u044f:"},
      {u"Override existing files:",
       u"\u041f\u0435\u0440\u0435\u0437\u0430\u043f\u0438\u0441\u044c "
       u"\u0441\u0443\u0449\u0435\u0441\u0442\u0432\u0443\u044e\u0449\u0438\u0445 "
       u"\u0444\u0430\u0439\u043b\u043e\u0432:"},
      {u"Ask\\nOverride\\nDon't convert\\n",
       u"\u0421\u043f\u0440\u0430\u0448\u0438\u0432\u0430\u0442\u044c\\n\u041f\u0435\u0440\u0435\u0437\u0430\u043f"
       u"\u0438\u0441\u044b\u0432\u0430\u0442\u044c\\n\u041d\u0435 "
       u"\u043f\u0440\u0435\u043e\u0431\u0440\u0430\u0437\u043e\u0432\u044b\u0432\u0430\u0442\u044c\\n"},
      {u"Log", u"\u0416\u0443\u0440\u043d\u0430\u043b"},
      {u"Add File(s)", u"\u0414\u043e\u0431\u0430\u0432\u0438\u0442\u044c \u0444\u0430\u0439\u043b(\u044b)"},
      {u"Remove", u"\u0423\u0434\u0430\u043b\u0438\u0442\u044c \u0438\u0437 \u0441\u043f\u0438\u0441\u043a\u0430"},
      {u"Language", u"\u042f\u0437\u044b\u043a \u0438\u043d\u0442\u0435\u0440\u0444\u0435\u0439\u0441\u0430"},
      {u"Browse", u"\u041e\u0431\u0437\u043e\u0440 \u043f\u0430\u043f\u043e\u043a..."},
      // A translation made before ".fbz" was offered.
      {u"FictionBook Files (*.fb2;*.fbz;*.zip)|*.fb2;*.fbz;*.zip",
       u"\u041a\u043d\u0438\u0433\u0438 FictionBook (*.fb2;*.zip)|*.fb2;*.zip"},
      {u"Select FB2 file(s) to add",
       u"\u0412\u044b\u0431\u0435\u0440\u0438\u0442\u0435 "
       u"\u0434\u043e\u0431\u0430\u0432\u043b\u044f\u0435\u043c\u044b\u0435 \u043a\u043d\u0438\u0433\u0438 FB2"},
      {u"&Open", u"&\u041e\u0442\u043a\u0440\u044b\u0442\u044c"},
      {u"Cancel", u"\u041e\u0442\u043c\u0435\u043d\u0430"},
      {u"Open as &read-only",
       u"\u041e\u0442\u043a\u0440\u044b\u0442\u044c \u0442\u043e\u043b\u044c\u043a\u043e \u0434\u043b\u044f "
       u"&\u0447\u0442\u0435\u043d\u0438\u044f"},
      {u"File&type", u"&\u0422\u0438\u043f \u0444\u0430\u0439\u043b\u043e\u0432"},
      {u"File&name", u"&\u0418\u043c\u044f \u0444\u0430\u0439\u043b\u0430"},
      {u"Look &in", u"&\u041f\u0430\u043f\u043a\u0430"},
      {u"&Help", u"&\u0421\u043f\u0440\u0430\u0432\u043a\u0430"},
  };
  const std::pair<const char16_t*, const char16_t*> constants[] = {
      {u"SBtnStart", u"\u041f\u0440\u0435\u043e\u0431\u0440\u0430\u0437\u043e\u0432\u0430\u0442\u044c"},
      {u"SBtnBreak", u"\u041f\u0440\u0435\u0440\u0432\u0430\u0442\u044c"},
      {u"SMsgBegConvert",
       u"\u041d\u0430\u0447\u0430\u0442\u043e "
       u"\u043f\u0440\u0435\u043e\u0431\u0440\u0430\u0437\u043e\u0432\u0430\u043d\u0438\u0435 \"%s\"..."},
      {u"SMsgEndConvert",
       u"\u0424\u0430\u0439\u043b \"%s\" \u043f\u0440\u0435\u043e\u0431\u0440\u0430\u0437\u043e\u0432\u0430\u043d."},
      {u"SMsgLoading", u"\u0417\u0430\u0433\u0440\u0443\u0437\u043a\u0430 \u043a\u043d\u0438\u0433\u0438..."},
      {u"SMsgConverting",
       u"\u041f\u0440\u0435\u043e\u0431\u0440\u0430\u0437\u043e\u0432\u0430\u043d\u0438\u0435 "
       u"\u0442\u0435\u043a\u0441\u0442\u0430..."},
      {u"SMsgFormatting",
       u"\u0420\u0430\u0437\u0431\u0438\u0432\u043a\u0430 \u043d\u0430 "
       u"\u0441\u0442\u0440\u0430\u043d\u0438\u0446\u044b..."},
      {u"SMsgSaveWolf",
       u"\u0421\u043e\u0445\u0440\u0430\u043d\u0435\u043d\u0438\u0435 \u0444\u0430\u0439\u043b\u0430 WOL..."},
  };
  TUniStringList source;
  controller.GetLangSource(source);
  WideString file = u"LANGID=" + WideFormat(u"%d", {int32_t{RussianLangID}}) + u"\r\n";
  file += source.Strings(0) + u"\r\n";
  for (int32_t i = 1; i < source.Count(); ++i) {
    // "component.path=00000001,default"
    const WideString& line = source.Strings(i);
    const size_t equals = line.find(u'=');
    const size_t comma = line.find(u',', equals);
    const auto found = texts.find(line.substr(comma + 1));
    if (found == texts.end()) {
      ADD_FAILURE() << "no Russian text for " << WideToUtf8(line);
      continue;
    }
    file += line.substr(equals + 1, comma - equals - 1) + u"=" + found->second + u"\r\n";
  }
  file += u"[$Constants]\r\n";
  for (const auto& [name, text] : constants) file += WideString(name) + u"=" + text + u"\r\n";
  return Utf16LEWithBom(file);
}

bool RerunUnprivileged() {
  if (geteuid() != 0) return false;
  const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
  const std::string name = std::string(test->test_suite_name()) + "." + test->name();
  // A copy of this program in a folder that everyone may enter: the build folder may lie
  // where "nobody" cannot reach (below /root).
  namespace fs = std::filesystem;
  TempFolder place;
  const std::string copy = place / "test_app";
  std::error_code failed;
  fs::copy_file("/proc/self/exe", copy, failed);
  fs::permissions(place.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec | fs::perms::others_read |
                            fs::perms::others_exec);
  if (failed) {
    ADD_FAILURE() << "cannot copy the test program: " << failed.message();
    return true;
  }
  // setpriv (util-linux) drops every group and takes the ids of "nobody".
  const std::string command =
      "cd / && /usr/bin/setpriv --reuid=65534 --regid=65534 --clear-groups " + copy + " --gtest_filter=" + name;
  std::string output;
  FILE* pipe = popen((command + " 2>&1 </dev/null").c_str(), "r");
  if (pipe == nullptr) {
    ADD_FAILURE() << "cannot run " << command;
    return true;
  }
  char chunk[4096];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  const int status = pclose(pipe);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
  EXPECT_NE(output.find("[       OK ] " + name), std::string::npos) << output;
  return true;
}
