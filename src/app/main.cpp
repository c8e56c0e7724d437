// The program `quirefold-batch`. Until the main window exists it only says who it is.
#include <cstdio>

int main() {
  std::printf("Quirefold Batch %s\n", QF_VERSION);
  return 0;
}
