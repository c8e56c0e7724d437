// Runs the real tools that the conversions are checked against: glibc's iconv and
// Debian's /usr/bin/python3.
#pragma once

#include <string>

#include "platform/base/Types.h"

// Runs a shell command with `input` on its standard input. Returns false when the
// command fails (exit status not 0); `output` gets its standard output.
bool RunPeer(const std::string& command, const std::string& input, std::string& output);

// iconv -f <from> -t <to> over bytes; false when iconv rejects them.
bool Iconv(const std::string& from, const std::string& to, const std::string& input, std::string& output);

// UTF-16LE bytes of a WideString and back.
std::string Utf16LeBytes(WideStringView text);
WideString FromUtf16LeBytes(const std::string& bytes);
