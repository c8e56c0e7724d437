// The process's UTF-16 command line and its tokenizer.
#include "platform/base/FileSystemNames.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

WideString& CommandLine() {
  static WideString commandLine;
  return commandLine;
}

bool NeedsQuotes(WideStringView argument) {
  for (WideChar c : argument)
    if (c <= u' ') return true;
  return false;
}

}  // namespace

void SetWideCommandLine(WideString commandLine) { CommandLine() = std::move(commandLine); }

void SetWideCommandLineFromArgs(int argc, const char* const* argv) {
  WideString line;
  for (int i = 0; i < argc; ++i) {
    // Arguments are bytes like file names: UTF-8, other bytes kept as U+DC80..U+DCFF.
    const WideString argument = FileSystemNameToWide(argv[i]);
    if (i > 0) line += u' ';
    if (NeedsQuotes(argument))
      line += u'"' + argument + u'"';
    else
      line += argument;
  }
  SetWideCommandLine(std::move(line));
}

const WideString& WideCommandLine() { return CommandLine(); }

const WideChar* NextWideParam(const WideChar* cursor, WideString& token) {
  token.clear();
  for (;;) {
    while (*cursor != 0 && *cursor <= u' ') ++cursor;
    if (cursor[0] != u'"' || cursor[1] != u'"') break;
    cursor += 2;
  }
  bool quoted = false;
  for (; *cursor != 0 && (quoted || *cursor > u' '); ++cursor) {
    if (*cursor == u'"')
      quoted = !quoted;
    else
      token += *cursor;
  }
  return cursor;
}

WideString WideParamStr(int32_t index) {
  if (index == 0) return WideGetModuleFileName(0);
  const WideChar* cursor = CommandLine().c_str();
  WideString token;
  for (int32_t i = 0; i <= index; ++i) {
    cursor = NextWideParam(cursor, token);
    if (token.empty()) break;
  }
  return token;
}
