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
  const std::string command =
      std::string("/usr/bin/python3 ") + QF_MKBOOK + " " + name + " --words 100000 --seed 1 " + options + " > /dev/null";
  std::string book;
  if (std::system(command.c_str()) == 0) {
    std::ifstream in(name, std::ios::binary);
    book.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  std::remove(name);
  return book;
}
