// The benchmarks' book: mkbook.py's 100,000 Russian and English words (seed 1), made by the
// system Python, which has the Debian packages mkbook.py needs for a cover (python3-pil).
#pragma once

#include <string>

// The FB2 text of the book made with the extra options (such as "--make-cover"); empty
// when it cannot be made.
std::string MakeBenchBook(const std::string& options);

// The same book with every Latin and Cyrillic letter of its text replaced by a CJK
// ideograph (spaces, punctuation, markup and pictures kept): as many characters, each
// drawn by a fallback face.
std::string ToCjkBook(const std::string& fb2);
