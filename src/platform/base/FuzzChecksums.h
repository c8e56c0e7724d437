// Checksums a fuzz target may switch off. A fuzzer mutates bytes that a CRC covers, so
// nearly every mutated input fails at the check, before the format behind it is parsed:
// the parser is never fuzzed. A fuzz build (QF_FUZZ: clang's libFuzzer) compiles every
// library with QF_FUZZING_BUILD, and there a target may call SkipChecksumsForFuzzing();
// the PNG chunk CRCs and the zip entry CRCs are then taken as right. Every other build
// (release, tests, the replay of fuzz inputs) has no switch: ChecksumsSkipped() is the
// constant false and every check stays.
#pragma once

#if defined(QF_FUZZING_BUILD)

namespace FuzzChecksumsDetail {
inline bool Skipped = false;
}

inline bool ChecksumsSkipped() { return FuzzChecksumsDetail::Skipped; }
inline void SkipChecksumsForFuzzing() { FuzzChecksumsDetail::Skipped = true; }

#else

constexpr bool ChecksumsSkipped() { return false; }

#endif
