// Hostile enhanced metafiles: small files whose drawing costs far more than their bytes
// when nothing bounds it. Each takes a count (how many times its costly part repeats)
// and a picture size in pixels at 96 per inch; the growth tests play them at n and
// 10 n, the benchmarks at the sizes that made them slow.
#pragma once

#include <cmath>
#include <cstdint>
#include <vector>

#include "MetafileBuilder.h"

namespace hostile {

// 0.01 mm of a length in pixels at 96 per inch, for the frame.
inline int32_t FrameOf(int32_t px) { return static_cast<int32_t>(int64_t{px} * 2540 / 96); }

// A 1 x 1 bitmap of one colour (0x00BBGGRR), 24 bits per pixel.
inline TDib OnePixel(uint32_t color) { return Dib24(1, {color}); }

// One GRADIENTFILL record of `parts` horizontal ramps (8 bytes each), every one over
// the whole picture: two vertices, from red at the top left to blue at the bottom right.
inline std::vector<uint8_t> GradientRamps(int32_t parts, int32_t sidePx) {
  TEmfBuilder emf;
  std::vector<uint32_t> indexes;
  for (int32_t i = 0; i < parts; ++i) indexes.insert(indexes.end(), {0, 1});
  emf.GradientFill({{0, 0, 0xFF00, 0, 0}, {sidePx, sidePx, 0, 0, 0xFF00}}, indexes, 0);
  return emf.Bytes(FrameOf(sidePx), FrameOf(sidePx));
}

// `records` GRADIENTFILL records of one triangle each, over the whole picture.
inline std::vector<uint8_t> GradientTriangles(int32_t records, int32_t sidePx) {
  TEmfBuilder emf;
  for (int32_t i = 0; i < records; ++i)
    emf.GradientFill(
        {{-sidePx, 0, 0xFF00, 0, 0}, {3 * sidePx, 0, 0, 0xFF00, 0}, {sidePx / 2, 3 * sidePx, 0, 0, 0xFF00}}, {0, 1, 2},
        2);
  return emf.Bytes(FrameOf(sidePx), FrameOf(sidePx));
}

// A clip region of `strips` vertical strips, one pixel wide each and spread over the
// picture, then a polygon of `points` points (a star as wide as the picture) filled with
// red and outlined with a black pen `penPx` wide (none for 0).
inline std::vector<uint8_t> ClipStripsUnderPolygon(int32_t strips, int32_t points, int32_t sidePx, int32_t penPx = 1) {
  TEmfBuilder emf;
  emf.Handles = 3;
  emf.Rec(39, {1, 0, 0x0000FF, 0});                  // CREATEBRUSHINDIRECT: slot 1, solid, red
  emf.Rec(37, {1});                                  // SELECTOBJECT
  emf.Rec(38, {2, penPx > 0 ? 0 : 5, penPx, 0, 0});  // CREATEPEN: slot 2, solid or null, width, black
  emf.Rec(37, {2});
  if (strips > 0) {
    // EXTSELECTCLIPRGN: data bytes, RGN_COPY; region header (size, type, count,
    // rectangle bytes, bounds), then the rectangles (device units: pixels here)
    std::vector<int64_t> fields{32 + 16 * int64_t{strips}, 5, 32, 1,      strips,
                                16 * int64_t{strips},      0, 0,  sidePx, sidePx};
    for (int32_t i = 0; i < strips; ++i) {
      const int32_t left = int32_t(int64_t{i} * sidePx / strips);
      fields.insert(fields.end(), {left, 0, left + 1, sidePx});
    }
    emf.Rec(75, fields);
  }
  // POLYGON: bounds, count, points round the centre at two radii by turns
  std::vector<int64_t> fields{0, 0, sidePx, sidePx, points};
  for (int32_t i = 0; i < points; ++i) {
    const double turn = 6.283185307179586 * i / points, radius = sidePx * (i % 2 ? 0.2 : 0.5);
    fields.insert(fields.end(),
                  {int64_t(sidePx / 2 + radius * std::cos(turn)), int64_t(sidePx / 2 + radius * std::sin(turn))});
  }
  emf.Rec(3, fields);
  return emf.Bytes(FrameOf(sidePx), FrameOf(sidePx));
}

// `records` rectangles over the whole picture with the default brush and pen: what a
// metafile of that many records costs anyway, beside the shapes above.
inline std::vector<uint8_t> WholeRectangles(int32_t records, int32_t sidePx) {
  TEmfBuilder emf;
  for (int32_t i = 0; i < records; ++i) emf.Rec(43, {0, 0, sidePx, sidePx});  // RECTANGLE
  return emf.Bytes(FrameOf(sidePx), FrameOf(sidePx));
}

// `records` ALPHABLEND records of one pixel stretched over the whole picture, half
// transparent: what a Windows metafile cannot hold, so a conversion takes its pixels.
inline std::vector<uint8_t> BlendsOverPicture(int32_t records, int32_t sidePx) {
  TEmfBuilder emf;
  const TDib pixel = OnePixel(0x0000FF);  // red
  for (int32_t i = 0; i < records; ++i) {
    // bounds, destination x, y, width, height, blend function (constant alpha 128),
    // source x, y, transform, background, usage, bitmap, source width, height
    std::vector<int64_t> fields = TEmfBuilder::Bounds({0, 0, sidePx, sidePx});
    fields.reserve(32);
    fields.insert(fields.end(), {0, 0, sidePx, sidePx, 128 << 16, 0, 0});
    const std::vector<uint8_t> tail = TEmfBuilder::SourceFields(fields, 108, pixel);
    fields.insert(fields.end(), {1, 1});
    emf.Rec(114, fields, tail);
  }
  return emf.Bytes(FrameOf(sidePx), FrameOf(sidePx));
}

// `records` STRETCHDIBITS records of a run-length bitmap that claims side x side pixels
// at 8 bits and codes one run of two pixels, drawn over the whole picture.
inline std::vector<uint8_t> ClaimedRunLengthBitmaps(int32_t records, int32_t claimedSidePx, int32_t sidePx) {
  TEmfBuilder emf;
  TDib dib;
  // size, width, height, planes 1 and 8 bits, RLE8, image bytes, resolution, two colours
  for (uint32_t v : {40u, uint32_t(claimedSidePx), uint32_t(claimedSidePx), 0x00080001u, 1u, 6u, 0u, 0u, 2u, 0u,
                     0x000000u, 0xFFFFFFu})
    PutDword(dib.Info, v);
  dib.Bits = {2, 1, 0, 1, 0, 0, 0, 0};  // two pixels of colour 1, end of bitmap, padding
  for (int32_t i = 0; i < records; ++i) {
    // bounds, destination x, y, source x, y, width, height, bitmap, usage, operation,
    // destination width, height
    std::vector<int64_t> fields = TEmfBuilder::Bounds({0, 0, sidePx, sidePx});
    fields.reserve(32);
    fields.insert(fields.end(), {0, 0, 0, 0, claimedSidePx, claimedSidePx});
    std::vector<uint8_t> tail;
    TEmfBuilder::PlaceDibs(fields, tail, 80, {&dib});
    fields.insert(fields.end(), {0, 0x00CC0020, sidePx, sidePx});
    emf.Rec(81, fields, tail);
  }
  return emf.Bytes(FrameOf(sidePx), FrameOf(sidePx));
}

// A header and an end record alone (108 bytes), whose frame says width x height pixels.
inline std::vector<uint8_t> StatedSizeOnly(int32_t widthPx, int32_t heightPx) {
  return TEmfBuilder().Bytes(FrameOf(widthPx), FrameOf(heightPx));
}

}  // namespace hostile
