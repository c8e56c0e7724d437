// The identifiers that style templates and list styles draw at random come from one
// seedable generator, so that a run which seeds it draws the same identifiers again
// (and so writes the same files). Not for anything that must be unpredictable.
#pragma once

#include <cstdint>

// A number in 0 .. 0x7FFFFFFE.
int32_t RPRandomId();
// Restarts the sequence; the program starts as if seeded with 0.
void RPSeedRandomIds(uint32_t seed);
