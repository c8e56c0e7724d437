// The codes and byte layouts that the drawing calls, the bitmap readers and the two
// metafile formats share: pen, brush and hatch styles, stock objects, raster operations
// of lines (binary) and of blits (ternary), region combining modes, fill and mapping
// modes, and the layouts of a device-independent bitmap's information header and of a
// region's data header. Each is named once here and used by its name everywhere.
#pragma once

#include <cstdint>

// Pen styles (the low four bits of a style; the rest says cosmetic or geometric, and
// the ends and joins).
constexpr int32_t PS_SOLID = 0;
constexpr int32_t PS_DASH = 1;
constexpr int32_t PS_DOT = 2;
constexpr int32_t PS_DASHDOT = 3;
constexpr int32_t PS_DASHDOTDOT = 4;
constexpr int32_t PS_NULL = 5;
constexpr int32_t PS_INSIDEFRAME = 6;
constexpr int32_t PS_STYLE_MASK = 0x0000000F;
constexpr int32_t PS_GEOMETRIC = 0x00010000;  // a pen whose width is logical

// Brush styles.
constexpr int32_t BS_SOLID = 0;
constexpr int32_t BS_NULL = 1;
constexpr int32_t BS_HATCHED = 2;
constexpr int32_t BS_PATTERN = 3;
constexpr int32_t BS_DIBPATTERN = 5;
constexpr int32_t BS_DIBPATTERNPT = 6;

// Hatches of a hatched brush, lines every eight pixels.
constexpr int32_t HS_HORIZONTAL = 0;
constexpr int32_t HS_VERTICAL = 1;
constexpr int32_t HS_FDIAGONAL = 2;
constexpr int32_t HS_BDIAGONAL = 3;
constexpr int32_t HS_CROSS = 4;
constexpr int32_t HS_DIAGCROSS = 5;

// Stock objects.
constexpr int32_t WHITE_BRUSH = 0;
constexpr int32_t LTGRAY_BRUSH = 1;
constexpr int32_t GRAY_BRUSH = 2;
constexpr int32_t DKGRAY_BRUSH = 3;
constexpr int32_t BLACK_BRUSH = 4;
constexpr int32_t NULL_BRUSH = 5;
constexpr int32_t WHITE_PEN = 6;
constexpr int32_t BLACK_PEN = 7;
constexpr int32_t NULL_PEN = 8;
// The fonts run from OEM_FIXED_FONT to DEFAULT_GUI_FONT, with DEFAULT_PALETTE among them.
constexpr int32_t OEM_FIXED_FONT = 10;
constexpr int32_t DEFAULT_PALETTE = 15;
constexpr int32_t DEFAULT_GUI_FONT = 17;
constexpr int32_t DC_BRUSH = 18;
constexpr int32_t DC_PEN = 19;

// Line raster operations (SetROP2): how a pen's colour meets the destination.
constexpr int32_t R2_BLACK = 1;
constexpr int32_t R2_NOTMERGEPEN = 2;
constexpr int32_t R2_MASKNOTPEN = 3;
constexpr int32_t R2_NOTCOPYPEN = 4;
constexpr int32_t R2_MASKPENNOT = 5;
constexpr int32_t R2_NOT = 6;
constexpr int32_t R2_XORPEN = 7;
constexpr int32_t R2_NOTMASKPEN = 8;
constexpr int32_t R2_MASKPEN = 9;
constexpr int32_t R2_NOTXORPEN = 10;
constexpr int32_t R2_NOP = 11;
constexpr int32_t R2_MERGENOTPEN = 12;
constexpr int32_t R2_COPYPEN = 13;
constexpr int32_t R2_MERGEPENNOT = 14;
constexpr int32_t R2_MERGEPEN = 15;
constexpr int32_t R2_WHITE = 16;

// Blit raster operations: a ternary operation of pattern, source and destination. Bits
// 16..23 are its index, the truth table (bit i the result for pattern bit i >> 2,
// source bit (i >> 1) & 1, destination bit i & 1); the low word is how the operation is
// compiled, which nothing here reads.
constexpr uint32_t SRCCOPY = 0x00CC0020;
constexpr uint32_t SRCPAINT = 0x00EE0086;
constexpr uint32_t SRCAND = 0x008800C6;
constexpr uint32_t SRCINVERT = 0x00660046;
constexpr uint32_t NOTSRCCOPY = 0x00330008;
constexpr uint32_t PATCOPY = 0x00F00021;
constexpr uint32_t PATINVERT = 0x005A0049;
constexpr uint32_t DSTINVERT = 0x00550009;
constexpr uint32_t BLACKNESS = 0x00000042;
constexpr uint32_t WHITENESS = 0x00FF0062;
constexpr uint32_t RopIndexMask = 0x00FF0000;
// A quaternary operation (masked blits) holds the foreground's ternary operation in its
// low 24 bits.
constexpr uint32_t Rop3Mask = 0x00FFFFFF;
constexpr uint32_t RopIndex(uint32_t rop) { return (rop & RopIndexMask) >> 16; }
// Whether two operations compute the same (their indexes are equal).
constexpr bool SameRop(uint32_t a, uint32_t b) { return (a & RopIndexMask) == (b & RopIndexMask); }
// Whether the result depends on the source: the truth table differs between source bit
// 0 and 1 somewhere.
constexpr bool RopUsesSource(uint32_t rop) { return (((rop >> 2) ^ rop) & 0x00330000) != 0; }
static_assert(RopUsesSource(SRCCOPY) && !RopUsesSource(PATCOPY) && !RopUsesSource(DSTINVERT), "raster operations");

// The red, green and blue bytes of a colour as records hold it (0x00BBGGRR); the high
// byte is a flag this layer does not use.
constexpr uint32_t ColorRefMask = 0x00FFFFFF;

// Region combining modes (clip regions).
constexpr uint32_t RGN_AND = 1;
constexpr uint32_t RGN_OR = 2;
constexpr uint32_t RGN_XOR = 3;
constexpr uint32_t RGN_DIFF = 4;
constexpr uint32_t RGN_COPY = 5;

// Polygon fill modes.
constexpr int32_t ALTERNATE = 1;
constexpr int32_t WINDING = 2;

// Arc directions.
constexpr int32_t AD_COUNTERCLOCKWISE = 1;
constexpr int32_t AD_CLOCKWISE = 2;

// World transform changes (ModifyWorldTransform).
constexpr uint32_t MWT_IDENTITY = 1;
constexpr uint32_t MWT_LEFTMULTIPLY = 2;
constexpr uint32_t MWT_RIGHTMULTIPLY = 3;
constexpr uint32_t MWT_SET = 4;  // what SetWorldTransform does

// Mapping modes.
constexpr int32_t MM_TEXT = 1;
constexpr int32_t MM_LOMETRIC = 2;
constexpr int32_t MM_HIMETRIC = 3;
constexpr int32_t MM_LOENGLISH = 4;
constexpr int32_t MM_HIENGLISH = 5;
constexpr int32_t MM_TWIPS = 6;
constexpr int32_t MM_ISOTROPIC = 7;
constexpr int32_t MM_ANISOTROPIC = 8;

// A device-independent bitmap's information header. The core header (12 bytes): size,
// 16-bit width and height, planes, bits per pixel. The others (40 bytes and the longer
// ones that extend it): size, 32-bit width and height (negative height: rows top-down),
// planes, bits per pixel, compression, image bytes, resolution x and y, colours used,
// colours important; the 52- and 56-byte forms add the red, green, blue (and alpha)
// masks, the 108- and 124-byte ones more.
namespace dib {
inline constexpr uint32_t CoreHeaderBytes = 12;
inline constexpr uint32_t CoreWidthOffset = 4;   // uint16
inline constexpr uint32_t CoreHeightOffset = 6;  // int16
inline constexpr uint32_t CoreBitCountOffset = 10;
static_assert(CoreHeaderBytes == 4 + 2 + 2 + 2 + 2, "core header fields");
inline constexpr uint32_t InfoHeaderBytes = 40;
inline constexpr uint32_t WidthOffset = 4;   // int32
inline constexpr uint32_t HeightOffset = 8;  // int32
inline constexpr uint32_t BitCountOffset = 14;
inline constexpr uint32_t CompressionOffset = 16;
inline constexpr uint32_t SizeImageOffset = 20;
inline constexpr uint32_t ColorsUsedOffset = 32;
static_assert(InfoHeaderBytes == 4 + 4 + 4 + 2 + 2 + 4 + 4 + 4 + 4 + 4 + 4 && ColorsUsedOffset == InfoHeaderBytes - 8 &&
                  CompressionOffset == BitCountOffset + 2 && SizeImageOffset == CompressionOffset + 4,
              "information header fields");
inline constexpr uint32_t V2HeaderBytes = 52;   // with the three colour masks
inline constexpr uint32_t V3HeaderBytes = 56;   // with the alpha mask too
inline constexpr uint32_t Os2HeaderBytes = 64;  // OS/2 2.x
inline constexpr uint32_t V4HeaderBytes = 108;
inline constexpr uint32_t V5HeaderBytes = 124;
static_assert(V2HeaderBytes == InfoHeaderBytes + 3 * 4 && V3HeaderBytes == V2HeaderBytes + 4, "mask fields");
// Compressions.
inline constexpr uint32_t BI_RGB = 0;
inline constexpr uint32_t BI_RLE8 = 1;
inline constexpr uint32_t BI_RLE4 = 2;
inline constexpr uint32_t BI_BITFIELDS = 3;
inline constexpr uint32_t BI_ALPHABITFIELDS = 6;
}  // namespace dib

// A region's data: the header (its size, its type, the rectangle count, the bytes of the
// rectangles, the bounds), then the rectangles (left, top, right, bottom, 32-bit each).
namespace rgn {
inline constexpr uint32_t HeaderBytes = 32;
inline constexpr uint32_t CountOffset = 8;
inline constexpr uint32_t BoundsOffset = 16;
inline constexpr uint32_t RectBytes = 16;
inline constexpr uint32_t RDH_RECTANGLES = 1;
static_assert(HeaderBytes == 4 + 4 + 4 + 4 + RectBytes && BoundsOffset == 4 * 4, "region header fields");
}  // namespace rgn
