#include "BenchBook.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

std::string MakeBenchBook(const std::string& options) {
  char name[] = "/tmp/qf-bench-book-XXXXXX";
  const int fd = mkstemp(name);
  if (fd < 0) return {};
  close(fd);
  const std::string command = std::string("/usr/bin/python3 ") + QF_MKBOOK + " " + name + " --words 100000 --seed 1 " +
                              options + " > /dev/null";
  std::string book;
  if (std::system(command.c_str()) == 0) {
    std::ifstream in(name, std::ios::binary);
    book.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::remove(name);
  return book;
}

std::string ToCjkBook(const std::string& fb2) {
  std::string out;
  out.reserve(fb2.size() * 2);
  const auto appendIdeograph = [&out](uint32_t letter) {
    const uint32_t c = 0x4E00 + letter * 37 % 3000;
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  };
  bool inTag = false, inEntity = false, inBinary = false;
  for (size_t i = 0; i < fb2.size(); ++i) {
    const auto byte = static_cast<unsigned char>(fb2[i]);
    if (inTag || inBinary || byte == '<') {
      if (byte == '<') {
        inTag = true;
        if (fb2.compare(i, 7, "<binary") == 0) inBinary = true;
        if (fb2.compare(i, 9, "</binary>") == 0) inBinary = false;
      }
      if (byte == '>') inTag = false;
      out += fb2[i];
      continue;
    }
    if (byte == '&') inEntity = true;
    if (inEntity) {
      if (byte == ';') inEntity = false;
      out += fb2[i];
      continue;
    }
    const bool cyrillic = (byte == 0xD0 || byte == 0xD1) && i + 1 < fb2.size();
    if ((byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z')) {
      appendIdeograph(byte);
    } else if (cyrillic) {
      appendIdeograph((byte << 8) | static_cast<unsigned char>(fb2[++i]));
    } else {
      out += fb2[i];
    }
  }
  return out;
}
