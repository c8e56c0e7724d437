// Moving one row of PNG samples into the raster and back.
//
// A row covers `count` pixels of image row y at the columns x0, x0 + dx, ... (dx 1 for
// whole rows, the column step of an Adam7 pass otherwise). The raster layouts are those
// of TChunkIHDR: palette indices and gray levels as raster indices (2-bit samples as
// 4-bit nibbles: palette indices keep their value, gray levels v become v × 5 so that the
// 16 grays of the raster give v × 255 / 3), colours as blue, green, red through the gamma
// curve, 16-bit samples split into the raster (high bytes) and the low-byte plane, alpha
// into the alpha plane (16-bit alpha keeps its high byte).
#pragma once

#include <array>
#include <cstdint>

class TChunkIHDR;

using TGammaTable = std::array<uint8_t, 256>;

// Stores a row of the header's colour type and bit depth.
void StorePngRow(TChunkIHDR& header, const TGammaTable& gamma, const uint8_t* row, int32_t y, int32_t x0, int32_t dx,
                 int32_t count);
// Builds a row at the header's stored bit depth (2-bit images as 4 bits); colours go
// through the inverse gamma curve, 16-bit alpha is its byte repeated.
void LoadPngRow(const TChunkIHDR& header, const TGammaTable& inverse, uint8_t* row, int32_t y, int32_t x0, int32_t dx,
                int32_t count);
