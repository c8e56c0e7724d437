// libpng as the peer of the PNG tests: it writes the test images (every colour type,
// bit depth, filter and interlacing) and decodes any file for comparison.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TPeerImageShape {
  uint32_t Width = 1;
  uint32_t Height = 1;
  int ColorType = 0;
  int BitDepth = 8;
  bool Interlaced = false;
  // libpng's filter flags (PNG_FILTER_NONE ... PNG_ALL_FILTERS); 0 leaves libpng's choice.
  int Filters = 0;
  std::vector<std::array<uint8_t, 3>> Palette;
  std::vector<uint8_t> PaletteAlpha;           // tRNS of palette images
  std::optional<std::array<uint16_t, 3>> Key;  // tRNS of gray (first value) and RGB images
  // Unfiltered rows as stored: RowBytes × Height bytes, 16-bit samples big-endian.
  std::vector<uint8_t> Rows;
};

// The bytes of one row of the shape's image.
size_t PeerRowBytes(const TPeerImageShape& shape);
// Fills the rows with pseudo-random samples from seed.
void FillRandomRows(TPeerImageShape& shape, uint32_t seed);
// A palette of 2^depth distinct colours.
std::vector<std::array<uint8_t, 3>> RampPalette(int bitDepth);

std::vector<uint8_t> LibpngWrite(const TPeerImageShape& shape);

// An image as libpng decodes it with every expansion: 8-bit red, green, blue, alpha per
// pixel (palettes looked up, gray spread, tRNS made alpha, 16-bit samples cut to their
// high byte). Error: libpng's message, empty on success.
struct TPeerRgba {
  uint32_t Width = 0;
  uint32_t Height = 0;
  std::vector<uint8_t> Pixels;
  std::string Error;
};
TPeerRgba LibpngReadRgba(const std::vector<uint8_t>& file);

// The rows as stored (interlacing undone, no other change) and the header's fields.
struct TPeerRaw {
  uint32_t Width = 0, Height = 0;
  int ColorType = 0, BitDepth = 0, Interlace = 0;
  size_t RowBytes = 0;
  std::vector<uint8_t> Rows;
  std::string Error;
};
TPeerRaw LibpngReadRaw(const std::vector<uint8_t>& file);
