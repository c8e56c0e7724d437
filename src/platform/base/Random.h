// The class library's pseudo-random numbers: one process-wide generator with a seed
// that a program or a test sets, so that identifiers drawn at random (list styles, style
// templates) come out the same on every run with the same seed. The seed starts at 0.
#pragma once

#include <cstdint>

// The generator's state; setting it restarts the sequence.
uint32_t GetRandSeed();
void SetRandSeed(uint32_t seed);
// The next number in 0 .. range - 1 (0 for a range below 1). Each call moves the seed
// one linear-congruential step (seed * 0x08088405 + 1, modulo 2^32) and scales the new
// seed to the range: (seed * range) >> 32.
int32_t Random(int32_t range);
