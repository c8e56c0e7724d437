// The process's UTF-16 command line and its tokenizer.
#include "platform/base/System.h"
#include "unicode/UniSysUtils.h"
#include "unicode/UniSystem.h"

namespace {

// A command line set in place of the process's own; empty: none.
WideString& CommandLineOverride() {
  static WideString commandLine;
  return commandLine;
}

}  // namespace

void SetWideCommandLine(WideString commandLine) { CommandLineOverride() = std::move(commandLine); }

const WideChar* WideCommandLine() {
  return CommandLineOverride().empty() ? GetCommandLineW() : CommandLineOverride().c_str();
}

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
  const WideChar* cursor = WideCommandLine();
  WideString token;
  for (int32_t i = 0; i <= index; ++i) {
    cursor = NextWideParam(cursor, token);
    if (token.empty()) break;
  }
  return token;
}
