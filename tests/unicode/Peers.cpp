#include "Peers.h"

#include <sys/wait.h>
#include <unistd.h>
#include <cstdio>
#include <fstream>

bool RunPeer(const std::string& command, const std::string& input, std::string& output) {
  char inputName[] = "/tmp/qf-unicode-peer-XXXXXX";
  const int fd = mkstemp(inputName);
  if (fd < 0) return false;
  close(fd);
  std::ofstream(inputName, std::ios::binary).write(input.data(), static_cast<std::streamsize>(input.size()));
  output.clear();
  FILE* pipe = popen((command + " < " + inputName + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) {
    unlink(inputName);
    return false;
  }
  char chunk[4096];
  for (size_t n; (n = fread(chunk, 1, sizeof chunk, pipe)) > 0;) output.append(chunk, n);
  const int status = pclose(pipe);
  unlink(inputName);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool Iconv(const std::string& from, const std::string& to, const std::string& input, std::string& output) {
  return RunPeer("iconv -f " + from + " -t " + to, input, output);
}

std::string Utf16LeBytes(WideStringView text) {
  std::string bytes;
  for (WideChar c : text) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

WideString FromUtf16LeBytes(const std::string& bytes) {
  WideString text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text +=
        static_cast<WideChar>(static_cast<unsigned char>(bytes[i]) | (static_cast<unsigned char>(bytes[i + 1]) << 8));
  return text;
}
