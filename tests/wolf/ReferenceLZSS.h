// A plain encoder of the Wolf LZSS format for differential tests: the ring, the trees
// and the splaying written out step by step with int links and byte-by-byte
// comparisons, sharing no code with the compressor of src/wolf, so that every
// optimisation there can be checked against it byte for byte.
#pragma once

#include <cstdint>
#include <vector>

// The LZSS coding of input (groups of a flag byte and up to 8 literals or matches,
// ring start 4078, longest match with the first-met node winning ties, splaying after
// 30 probes), as one byte string; empty input gives empty output.
std::vector<uint8_t> ReferenceLZSSCompress(const std::vector<uint8_t>& input);
