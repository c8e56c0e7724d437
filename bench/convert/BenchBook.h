// The benchmarks' book: mkbook.py's 100,000 Russian and English words (seed 1).
#pragma once

#include <string>

// The FB2 text of the book made with the extra options (such as "--make-cover"); empty
// when it cannot be made.
std::string MakeBenchBook(const std::string& options);
