// For a target whose inputs carry CRCs that sit in front of a parser (PNG chunks, a book
// inside a zip): in the fuzz build the target starts with those checks off, so mutated
// bytes reach the parser instead of failing at the CRC (platform/base/FuzzChecksums.h).
// CTest replays inputs with every check on, so an input kept as a regression must carry
// right CRCs: tests/fuzz/fix_checksums.py mends them.
#pragma once

#include "platform/base/FuzzChecksums.h"

#if defined(QF_FUZZING_BUILD)
extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SkipChecksumsForFuzzing();
  return 0;
}
#endif
