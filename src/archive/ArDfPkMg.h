// Length-limited Huffman code lengths by package-merge.
#pragma once

#include <cstdint>
#include <span>

// Fills lengths (one per frequency) with code lengths of at most maxBits that minimise
// the weighted length; unused symbols (frequency 0) get 0. With no used symbol the first
// symbol gets length 1; with one used symbol, that symbol gets length 1 (a one-code
// tree, which inflaters accept).
void PackageMergeLengths(std::span<const uint32_t> frequencies, int maxBits, std::span<uint8_t> lengths);
