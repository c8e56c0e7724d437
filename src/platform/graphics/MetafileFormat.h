// Byte layouts of the two metafile formats: the Windows metafile (16-bit records, with
// an optional placeable header before it) and the enhanced metafile (32-bit records).
//
// A Windows metafile record is a 32-bit size in 16-bit words, a 16-bit function, then
// 16-bit parameters, which come in reverse order of the drawing call's arguments (y before
// x, bottom before top). An enhanced metafile record is a 32-bit type and a 32-bit size
// in bytes (a multiple of 4), then its fields.
#pragma once

#include <cstdint>
#include <span>

#include "platform/base/LittleEndian.h"
#include "platform/graphics/GdiDefs.h"

namespace wmf {

// Placeable header: key, handle, bounding box, units per inch, reserved, checksum.
inline constexpr uint32_t PlaceableKey = 0x9AC6CDD7;
inline constexpr uint32_t PlaceableBytes = 22;
inline constexpr uint32_t PlaceableBoxOffset = 6;        // 4 x int16: left, top, right, bottom
inline constexpr uint32_t PlaceableInchOffset = 14;      // uint16
inline constexpr uint32_t PlaceableChecksumOffset = 20;  // XOR of the 10 words before it
static_assert(PlaceableBytes == 4 + 2 + 4 * 2 + 2 + 4 + 2, "placeable header fields");

// Metafile header: type, header words, version, size in words, objects, largest record
// in words, members (unused).
inline constexpr uint32_t HeaderBytes = 18;
inline constexpr uint32_t HeaderWords = 9;
inline constexpr uint32_t HeaderWordsOffset = 2;
inline constexpr uint32_t HeaderVersionOffset = 4;
inline constexpr uint32_t HeaderSizeWordsOffset = 6;
inline constexpr uint32_t HeaderObjectsOffset = 10;
inline constexpr uint32_t HeaderMaxRecordOffset = 12;
static_assert(HeaderBytes == 2 + 2 + 2 + 4 + 2 + 4 + 2 && HeaderBytes == HeaderWords * 2, "metafile header fields");
inline constexpr uint16_t HeaderTypeMemory = 1;
inline constexpr uint16_t HeaderTypeDisk = 2;
inline constexpr uint16_t Version100 = 0x0100;
inline constexpr uint16_t Version300 = 0x0300;

// Whether the bytes start with a metafile header: a type in memory or on disk, nine
// header words, either version.
inline bool StartsWithHeader(std::span<const uint8_t> bytes) {
  if (bytes.size() < HeaderBytes) return false;
  const uint16_t type = LoadLE16(bytes.data()), version = LoadLE16(bytes.data() + HeaderVersionOffset);
  return (type == HeaderTypeMemory || type == HeaderTypeDisk) &&
         LoadLE16(bytes.data() + HeaderWordsOffset) == HeaderWords && (version == Version100 || version == Version300);
}

inline constexpr uint32_t RecordHeaderBytes = 6;  // size in words, function

// Record functions.
enum : uint16_t {
  EOF_ = 0x0000,
  SAVEDC = 0x001E,
  REALIZEPALETTE = 0x0035,
  SETPALENTRIES = 0x0037,
  CREATEPALETTE = 0x00F7,
  SETBKMODE = 0x0102,
  SETMAPMODE = 0x0103,
  SETROP2 = 0x0104,
  SETRELABS = 0x0105,
  SETPOLYFILLMODE = 0x0106,
  SETSTRETCHBLTMODE = 0x0107,
  SETTEXTCHAREXTRA = 0x0108,
  RESTOREDC = 0x0127,
  INVERTREGION = 0x012A,
  PAINTREGION = 0x012B,
  SELECTCLIPREGION = 0x012C,
  SELECTOBJECT = 0x012D,
  SETTEXTALIGN = 0x012E,
  RESIZEPALETTE = 0x0139,
  DIBCREATEPATTERNBRUSH = 0x0142,
  SETLAYOUT = 0x0149,
  DELETEOBJECT = 0x01F0,
  CREATEPATTERNBRUSH = 0x01F9,
  SETBKCOLOR = 0x0201,
  SETTEXTCOLOR = 0x0209,
  SETTEXTJUSTIFICATION = 0x020A,
  SETWINDOWORG = 0x020B,
  SETWINDOWEXT = 0x020C,
  SETVIEWPORTORG = 0x020D,
  SETVIEWPORTEXT = 0x020E,
  OFFSETWINDOWORG = 0x020F,
  OFFSETVIEWPORTORG = 0x0211,
  LINETO = 0x0213,
  MOVETO = 0x0214,
  OFFSETCLIPRGN = 0x0220,
  FILLREGION = 0x0228,
  SETMAPPERFLAGS = 0x0231,
  SELECTPALETTE = 0x0234,
  CREATEPENINDIRECT = 0x02FA,
  CREATEFONTINDIRECT = 0x02FB,
  CREATEBRUSHINDIRECT = 0x02FC,
  POLYGON = 0x0324,
  POLYLINE = 0x0325,
  SCALEWINDOWEXT = 0x0410,
  SCALEVIEWPORTEXT = 0x0412,
  EXCLUDECLIPRECT = 0x0415,
  INTERSECTCLIPRECT = 0x0416,
  ELLIPSE = 0x0418,
  FLOODFILL = 0x0419,
  RECTANGLE = 0x041B,
  SETPIXEL = 0x041F,
  FRAMEREGION = 0x0429,
  ANIMATEPALETTE = 0x0436,
  TEXTOUT = 0x0521,
  POLYPOLYGON = 0x0538,
  EXTFLOODFILL = 0x0548,
  ROUNDRECT = 0x061C,
  PATBLT = 0x061D,
  ESCAPE = 0x0626,
  CREATEREGION = 0x06FF,
  ARC = 0x0817,
  PIE = 0x081A,
  CHORD = 0x0830,
  BITBLT = 0x0922,
  DIBBITBLT = 0x0940,
  EXTTEXTOUT = 0x0A32,
  STRETCHBLT = 0x0B23,
  DIBSTRETCHBLT = 0x0B41,
  SETDIBTODEV = 0x0D33,
  STRETCHDIB = 0x0F43,
};

// The fixed words of a blit record without a bitmap have one reserved word more than
// the same record with one; a record of exactly (function >> 8) + 3 words has none.
constexpr bool BlitRecordHasNoBitmap(uint32_t recordWords, uint16_t function) {
  return recordWords == (uint32_t{function} >> 8) + 3;
}

// Where the device-independent bitmap of a record starts (from the record's start; it
// fills the record from there), or 0 for a record that holds none. After the function:
// DIBBITBLT: operation (two words), source y, x, height, width, destination y, x.
// DIBSTRETCHBLT: operation, source height, width, y, x, destination height, width, y, x.
// STRETCHDIB: operation, colour usage, then the eight coordinates as DIBSTRETCHBLT.
// SETDIBTODEV: colour usage, scan count, first scan, source y, x, height, width,
// destination y, x. DIBCREATEPATTERNBRUSH: style, colour usage.
inline constexpr uint32_t DibBitBltBitmapOffset = RecordHeaderBytes + 4 + 6 * 2;
inline constexpr uint32_t DibStretchBltBitmapOffset = RecordHeaderBytes + 4 + 8 * 2;
inline constexpr uint32_t StretchDibBitmapOffset = RecordHeaderBytes + 4 + 2 + 8 * 2;
inline constexpr uint32_t SetDibToDevBitmapOffset = RecordHeaderBytes + 3 * 2 + 6 * 2;
inline constexpr uint32_t DibPatternBrushBitmapOffset = RecordHeaderBytes + 2 * 2;
constexpr uint32_t DibOffset(uint16_t function, uint32_t recordWords) {
  switch (function) {
    case DIBBITBLT:
      return BlitRecordHasNoBitmap(recordWords, function) ? 0 : DibBitBltBitmapOffset;
    case DIBSTRETCHBLT:
      return BlitRecordHasNoBitmap(recordWords, function) ? 0 : DibStretchBltBitmapOffset;
    case STRETCHDIB:
      return StretchDibBitmapOffset;
    case SETDIBTODEV:
      return SetDibToDevBitmapOffset;
    case DIBCREATEPATTERNBRUSH:
      return DibPatternBrushBitmapOffset;
    default:
      return 0;
  }
}

// Parameters of the records below (indexes after the function). A point is y, then x;
// a box is its far corner (bottom, right), then its near one (top, left).
//
// Records of one value: SETBKMODE, SETMAPMODE, SETROP2, SETPOLYFILLMODE,
// SETTEXTCHAREXTRA, SETTEXTALIGN, RESTOREDC, SELECTOBJECT, DELETEOBJECT and
// SELECTCLIPREGION (an object index); SETBKCOLOR and SETTEXTCOLOR (a COLORREF, two words).
inline constexpr uint32_t ValueParam = 0;
// Records of a point: SETWINDOWORG, SETWINDOWEXT, SETVIEWPORTORG, SETVIEWPORTEXT,
// OFFSETWINDOWORG, OFFSETVIEWPORTORG, MOVETO, LINETO.
inline constexpr uint32_t PointParam = 0;
// SCALEWINDOWEXT, SCALEVIEWPORTEXT: y denominator, y numerator, x denominator, x numerator.
inline constexpr uint32_t ScaleYDenomParam = 0;
inline constexpr uint32_t ScaleYNumParam = 1;
inline constexpr uint32_t ScaleXDenomParam = 2;
inline constexpr uint32_t ScaleXNumParam = 3;
// Records of a box: RECTANGLE, ELLIPSE, INTERSECTCLIPRECT, EXCLUDECLIPRECT.
inline constexpr uint32_t BoxEndParam = 0;
inline constexpr uint32_t BoxParam = 2;
// ROUNDRECT: the corner's height and width, then the box.
inline constexpr uint32_t RoundRectCornerParam = 0;
inline constexpr uint32_t RoundRectBoxParam = 2;
// ARC, PIE, CHORD: the end point, the start point, then the box.
inline constexpr uint32_t ArcEndParam = 0;
inline constexpr uint32_t ArcStartParam = 2;
inline constexpr uint32_t ArcBoxParam = 4;
// SETPIXEL: the colour (two words), the point.
inline constexpr uint32_t PixelColorParam = 0;
inline constexpr uint32_t PixelPointParam = 2;
// POLYGON, POLYLINE: point count, the points (x, y each). POLYPOLYGON: polygon count,
// each polygon's point count, the points.
inline constexpr uint32_t PolyCountParam = 0;
inline constexpr uint32_t PolyPointsParam = 1;
inline constexpr uint32_t PolygonsParam = 0;
inline constexpr uint32_t PolyPolyCountsParam = 1;
// TEXTOUT: length, the string (padded to words), the point.
inline constexpr uint32_t TextLengthParam = 0;
inline constexpr uint32_t TextStringParam = 1;
// EXTTEXTOUT: the point, length, options, the rectangle (left, top, right, bottom; only
// with ETO_OPAQUE or ETO_CLIPPED), the string (padded to words), the dx of each byte
// (optional).
inline constexpr uint32_t ExtTextPointParam = 0;
inline constexpr uint32_t ExtTextLengthParam = 2;
inline constexpr uint32_t ExtTextOptionsParam = 3;
inline constexpr uint32_t ExtTextRectParam = 4;
inline constexpr uint32_t ExtTextRectWords = 4;
// CREATEPENINDIRECT: style, width (x; the y is unused), colour (two words).
inline constexpr uint32_t PenStyleParam = 0;
inline constexpr uint32_t PenWidthParam = 1;
inline constexpr uint32_t PenColorParam = 3;
inline constexpr uint32_t PenWords = 5;
// CREATEBRUSHINDIRECT: style, colour (two words), hatch.
inline constexpr uint32_t BrushStyleParam = 0;
inline constexpr uint32_t BrushColorParam = 1;
inline constexpr uint32_t BrushHatchParam = 3;
inline constexpr uint32_t BrushWords = 4;
// CREATEFONTINDIRECT: height, width, escapement, orientation, weight, then bytes: italic,
// underline, strike-out, charset, output and clip precision, quality, pitch and family,
// the face name (up to 32 bytes, ended by a zero).
inline constexpr uint32_t FontHeightParam = 0;
inline constexpr uint32_t FontWidthParam = 1;
inline constexpr uint32_t FontEscapementParam = 2;
inline constexpr uint32_t FontOrientationParam = 3;
inline constexpr uint32_t FontWeightParam = 4;
inline constexpr uint32_t FontBytesParam = 5;
inline constexpr uint32_t FontItalicByte = 0;  // from the bytes' start
inline constexpr uint32_t FontUnderlineByte = 1;
inline constexpr uint32_t FontStrikeOutByte = 2;
inline constexpr uint32_t FontCharSetByte = 3;
inline constexpr uint32_t FontQualityByte = 6;
inline constexpr uint32_t FontPitchAndFamilyByte = 7;
inline constexpr uint32_t FontFaceByte = 8;
// PATBLT: operation (two words), height, width, the point.
inline constexpr uint32_t PatBltRopParam = 0;
inline constexpr uint32_t PatBltSizeParam = 2;
inline constexpr uint32_t PatBltPointParam = 4;
// The blits of a bitmap (DibOffset's layouts): the operation (two words, none in
// SETDIBTODEV), then points and sizes, each y then x, height then width; the destination
// point follows the destination size, and the bitmap the destination point. A record
// without a bitmap has a reserved word before its destination size.
inline constexpr uint32_t DibBltRopParam = 0;
inline constexpr uint32_t DibBitBltSourceParam = 2;
inline constexpr uint32_t DibBitBltSizeParam = 4;
inline constexpr uint32_t DibStretchBltSourceSizeParam = 2;
inline constexpr uint32_t DibStretchBltSourceParam = 4;
inline constexpr uint32_t DibStretchBltDestSizeParam = 6;
inline constexpr uint32_t StretchDibSourceSizeParam = 3;
inline constexpr uint32_t StretchDibSourceParam = 5;
inline constexpr uint32_t StretchDibDestSizeParam = 7;
inline constexpr uint32_t SetDibToDevSourceParam = 3;
inline constexpr uint32_t SetDibToDevSizeParam = 5;
static_assert(DibBitBltBitmapOffset == RecordHeaderBytes + 2 * (DibBitBltSizeParam + 4) &&
                  DibStretchBltBitmapOffset == RecordHeaderBytes + 2 * (DibStretchBltDestSizeParam + 4) &&
                  StretchDibBitmapOffset == RecordHeaderBytes + 2 * (StretchDibDestSizeParam + 4) &&
                  SetDibToDevBitmapOffset == RecordHeaderBytes + 2 * (SetDibToDevSizeParam + 4),
              "bitmap blit parameters");
// DIBCREATEPATTERNBRUSH: style, colour usage, the bitmap.
inline constexpr uint32_t DibPatternBrushBitmapParam = 2;
static_assert(DibPatternBrushBitmapOffset == RecordHeaderBytes + 2 * DibPatternBrushBitmapParam,
              "pattern brush fields");

// CREATEREGION: next in chain, object type, object count (two words), region bytes, scan
// count, largest scan, bounds (left, top, right, bottom), then the scans: x count, top,
// bottom, the x count's left and right values in pairs, the x count again (parameter
// indexes after the function).
inline constexpr uint32_t RegionScanCountParam = 5;
inline constexpr uint32_t RegionBoundsParam = 7;
inline constexpr uint32_t RegionScansParam = 11;

// The parameters a record of a function must hold before its variable part (points,
// strings, a bitmap, scans), which the player checks against counts as it reads; 0 for
// the functions of no parameters and those the player does not read.
constexpr uint32_t FixedParams(uint16_t function) {
  switch (function) {
    case SETBKMODE:
    case SETMAPMODE:
    case SETROP2:
    case SETPOLYFILLMODE:
    case SETTEXTCHAREXTRA:
    case SETTEXTALIGN:
    case RESTOREDC:
    case SELECTOBJECT:
    case DELETEOBJECT:
    case SELECTCLIPREGION:
      return ValueParam + 1;
    case SETBKCOLOR:
    case SETTEXTCOLOR:
      return ValueParam + 2;
    case SETWINDOWORG:
    case SETWINDOWEXT:
    case SETVIEWPORTORG:
    case SETVIEWPORTEXT:
    case OFFSETWINDOWORG:
    case OFFSETVIEWPORTORG:
    case MOVETO:
    case LINETO:
      return PointParam + 2;
    case SCALEWINDOWEXT:
    case SCALEVIEWPORTEXT:
      return ScaleXNumParam + 1;
    case RECTANGLE:
    case ELLIPSE:
    case INTERSECTCLIPRECT:
    case EXCLUDECLIPRECT:
      return BoxParam + 2;
    case ROUNDRECT:
      return RoundRectBoxParam + 4;
    case ARC:
    case PIE:
    case CHORD:
      return ArcBoxParam + 4;
    case SETPIXEL:
      return PixelPointParam + 2;
    case POLYGON:
    case POLYLINE:
      return PolyPointsParam;
    case POLYPOLYGON:
      return PolyPolyCountsParam;
    case TEXTOUT:
      return TextStringParam;
    case EXTTEXTOUT:
      return ExtTextRectParam;
    case CREATEPENINDIRECT:
      return PenWords;
    case CREATEBRUSHINDIRECT:
      return BrushWords;
    case CREATEFONTINDIRECT:
      return FontBytesParam;
    case DIBCREATEPATTERNBRUSH:
      return DibPatternBrushBitmapParam;
    case CREATEREGION:
      return RegionScansParam;
    case PATBLT:
      return PatBltPointParam + 2;
    case DIBBITBLT:
      return DibBitBltSizeParam + 4;
    case DIBSTRETCHBLT:
      return DibStretchBltDestSizeParam + 4;
    case STRETCHDIB:
      return StretchDibDestSizeParam + 4;
    case SETDIBTODEV:
      return SetDibToDevSizeParam + 4;
    default:
      return 0;
  }
}
static_assert(PenWords == PenColorParam + 2 && BrushWords == BrushHatchParam + 1 &&
                  RegionScansParam == RegionBoundsParam + 4 && FontBytesParam == FontWeightParam + 1,
              "fixed parameters");

}  // namespace wmf

namespace emf {

// The header record: type, size, bounds (device units), frame (0.01 mm), signature,
// version, bytes, records, handles, reserved, description length and offset, palette
// entries, reference device size in pixels, and in millimetres.
inline constexpr uint32_t HeaderMinBytes = 88;
inline constexpr uint32_t BoundsOffset = 8;
inline constexpr uint32_t FrameOffset = 24;
inline constexpr uint32_t SignatureOffset = 40;
inline constexpr uint32_t BytesOffset = 48;
inline constexpr uint32_t RecordsOffset = 52;
inline constexpr uint32_t HandlesOffset = 56;
inline constexpr uint32_t DeviceOffset = 72;
inline constexpr uint32_t MillimetersOffset = 80;
inline constexpr uint32_t Signature = 0x464D4520;  // " EMF"
static_assert(SignatureOffset == FrameOffset + 16 && MillimetersOffset + 8 == HeaderMinBytes, "header fields");

inline constexpr uint32_t RecordHeaderBytes = 8;  // type, size

// Record types.
enum : uint32_t {
  HEADER = 1,
  POLYBEZIER = 2,
  POLYGON = 3,
  POLYLINE = 4,
  POLYBEZIERTO = 5,
  POLYLINETO = 6,
  POLYPOLYLINE = 7,
  POLYPOLYGON = 8,
  SETWINDOWEXTEX = 9,
  SETWINDOWORGEX = 10,
  SETVIEWPORTEXTEX = 11,
  SETVIEWPORTORGEX = 12,
  SETBRUSHORGEX = 13,
  EOF_ = 14,
  SETPIXELV = 15,
  SETMAPPERFLAGS = 16,
  SETMAPMODE = 17,
  SETBKMODE = 18,
  SETPOLYFILLMODE = 19,
  SETROP2 = 20,
  SETSTRETCHBLTMODE = 21,
  SETTEXTALIGN = 22,
  SETTEXTCOLOR = 24,
  SETBKCOLOR = 25,
  OFFSETCLIPRGN = 26,
  MOVETOEX = 27,
  SETMETARGN = 28,
  EXCLUDECLIPRECT = 29,
  INTERSECTCLIPRECT = 30,
  SCALEVIEWPORTEXTEX = 31,
  SCALEWINDOWEXTEX = 32,
  SAVEDC = 33,
  RESTOREDC = 34,
  SETWORLDTRANSFORM = 35,
  MODIFYWORLDTRANSFORM = 36,
  SELECTOBJECT = 37,
  CREATEPEN = 38,
  CREATEBRUSHINDIRECT = 39,
  DELETEOBJECT = 40,
  ANGLEARC = 41,
  ELLIPSE = 42,
  RECTANGLE = 43,
  ROUNDRECT = 44,
  ARC = 45,
  CHORD = 46,
  PIE = 47,
  SELECTPALETTE = 48,
  CREATEPALETTE = 49,
  REALIZEPALETTE = 52,
  LINETO = 54,
  ARCTO = 55,
  SETARCDIRECTION = 57,
  SETMITERLIMIT = 58,
  BEGINPATH = 59,
  ENDPATH = 60,
  CLOSEFIGURE = 61,
  FILLPATH = 62,
  STROKEANDFILLPATH = 63,
  STROKEPATH = 64,
  FLATTENPATH = 65,
  WIDENPATH = 66,
  SELECTCLIPPATH = 67,
  ABORTPATH = 68,
  GDICOMMENT = 70,
  EXTSELECTCLIPRGN = 75,
  BITBLT = 76,
  STRETCHBLT = 77,
  MASKBLT = 78,
  PLGBLT = 79,
  SETDIBITSTODEVICE = 80,
  STRETCHDIBITS = 81,
  EXTCREATEFONTINDIRECTW = 82,
  EXTTEXTOUTA = 83,
  EXTTEXTOUTW = 84,
  POLYBEZIER16 = 85,
  POLYGON16 = 86,
  POLYLINE16 = 87,
  POLYBEZIERTO16 = 88,
  POLYLINETO16 = 89,
  POLYPOLYLINE16 = 90,
  POLYPOLYGON16 = 91,
  CREATEMONOBRUSH = 93,
  CREATEDIBPATTERNBRUSHPT = 94,
  EXTCREATEPEN = 95,
  SETICMMODE = 98,
  ALPHABLEND = 114,
  SETLAYOUT = 115,
  TRANSPARENTBLT = 116,
  GRADIENTFILL = 118,
};

// Object indexes with this bit are stock objects (the low bits: WHITE_BRUSH ... ).
inline constexpr uint32_t StockObjectBit = 0x80000000u;

// Fields of the records below, from the record's start (after type and size).
//
// Records of one 32-bit value: SETMAPMODE, SETBKMODE, SETPOLYFILLMODE, SETROP2,
// SETTEXTALIGN, SETTEXTCOLOR, SETBKCOLOR (a COLORREF), RESTOREDC, SETARCDIRECTION,
// SELECTOBJECT and DELETEOBJECT (an object index).
inline constexpr uint32_t ValueOffset = 8;
inline constexpr uint32_t ValueRecordBytes = 12;
static_assert(ValueRecordBytes == ValueOffset + 4, "one-value record fields");

// Records of one point (x, y): SETWINDOWEXTEX, SETWINDOWORGEX, SETVIEWPORTEXTEX,
// SETVIEWPORTORGEX, MOVETOEX, LINETO; SETPIXELV then a colour.
inline constexpr uint32_t PointOffset = 8;
inline constexpr uint32_t PointRecordBytes = 16;
inline constexpr uint32_t PixelColorOffset = 16;
inline constexpr uint32_t SetPixelVBytes = 20;
static_assert(PointRecordBytes == PointOffset + 8 && SetPixelVBytes == PixelColorOffset + 4 &&
                  PixelColorOffset == PointRecordBytes,
              "point record fields");

// SCALEVIEWPORTEXTEX, SCALEWINDOWEXTEX: x numerator, x denominator, y numerator, y
// denominator.
inline constexpr uint32_t ScaleXNumOffset = 8;
inline constexpr uint32_t ScaleXDenomOffset = 12;
inline constexpr uint32_t ScaleYNumOffset = 16;
inline constexpr uint32_t ScaleYDenomOffset = 20;
inline constexpr uint32_t ScaleExtBytes = 24;
static_assert(ScaleExtBytes == ScaleYDenomOffset + 4 && ScaleYNumOffset == ScaleXDenomOffset + 4, "scale fields");

// Records of a box (left, top, right, bottom: its two corners): ELLIPSE, RECTANGLE,
// EXCLUDECLIPRECT, INTERSECTCLIPRECT; ROUNDRECT then the corner's width and height; ARC,
// CHORD, PIE and ARCTO then the start and end points.
inline constexpr uint32_t BoxOffset = 8;
inline constexpr uint32_t BoxEndOffset = 16;  // right, bottom
inline constexpr uint32_t BoxRecordBytes = 24;
inline constexpr uint32_t RoundRectCornerOffset = 24;
inline constexpr uint32_t RoundRectBytes = 32;
inline constexpr uint32_t ArcStartOffset = 24;
inline constexpr uint32_t ArcEndOffset = 32;
inline constexpr uint32_t ArcBytes = 40;
static_assert(BoxEndOffset == BoxOffset + 8 && BoxRecordBytes == BoxEndOffset + 8 &&
                  RoundRectCornerOffset == BoxRecordBytes && RoundRectBytes == RoundRectCornerOffset + 8 &&
                  ArcStartOffset == BoxRecordBytes && ArcEndOffset == ArcStartOffset + 8 &&
                  ArcBytes == ArcEndOffset + 8,
              "box record fields");

// SETWORLDTRANSFORM, MODIFYWORLDTRANSFORM: the transform (six floats: m11, m12, m21,
// m22, dx, dy); MODIFYWORLDTRANSFORM then the mode (MWT_...).
inline constexpr uint32_t XFormOffset = 8;
inline constexpr uint32_t XFormModeOffset = 32;
inline constexpr uint32_t SetWorldTransformBytes = 32;
inline constexpr uint32_t ModifyWorldTransformBytes = 36;
static_assert(XFormModeOffset == XFormOffset + 6 * 4 && SetWorldTransformBytes == XFormModeOffset &&
                  ModifyWorldTransformBytes == XFormModeOffset + 4,
              "world transform fields");

// Object records start with the index of the object table's slot.
inline constexpr uint32_t ObjectIndexOffset = 8;
// CREATEPEN: index, style, width (x; the y is unused), colour.
inline constexpr uint32_t PenStyleOffset = 12;
inline constexpr uint32_t PenWidthOffset = 16;
inline constexpr uint32_t PenColorOffset = 24;
inline constexpr uint32_t CreatePenBytes = 28;
static_assert(PenStyleOffset == ObjectIndexOffset + 4 && PenColorOffset == PenWidthOffset + 8 &&
                  CreatePenBytes == PenColorOffset + 4,
              "pen fields");
// EXTCREATEPEN: index, the pattern bitmap (four fields), style, width, brush style,
// colour, hatch, style entry count, the style entries.
inline constexpr uint32_t ExtPenStyleOffset = 28;
inline constexpr uint32_t ExtPenWidthOffset = 32;
inline constexpr uint32_t ExtPenBrushStyleOffset = 36;
inline constexpr uint32_t ExtPenColorOffset = 40;
inline constexpr uint32_t ExtCreatePenBytes = 52;  // the style entries follow
static_assert(ExtPenStyleOffset == ObjectIndexOffset + 4 + 4 * 4 && ExtPenColorOffset == ExtPenStyleOffset + 3 * 4 &&
                  ExtCreatePenBytes == ExtPenColorOffset + 3 * 4,
              "extended pen fields");
// CREATEBRUSHINDIRECT: index, style, colour, hatch.
inline constexpr uint32_t BrushStyleOffset = 12;
inline constexpr uint32_t BrushColorOffset = 16;
inline constexpr uint32_t BrushHatchOffset = 20;
inline constexpr uint32_t CreateBrushIndirectBytes = 24;
static_assert(BrushStyleOffset == ObjectIndexOffset + 4 && BrushHatchOffset == BrushColorOffset + 4 &&
                  CreateBrushIndirectBytes == BrushHatchOffset + 4,
              "brush fields");
// EXTCREATEFONTINDIRECTW: index, then the font: height, width, escapement, orientation,
// weight (32-bit each), italic, underline, strike-out, charset, output and clip
// precision, quality, pitch and family (a byte each), the face name (32 UTF-16 units);
// a longer record adds what this player does not read.
inline constexpr uint32_t FontOffset = 12;
// The font's fields, from its start.
inline constexpr uint32_t LogFontHeightOffset = 0;
inline constexpr uint32_t LogFontWidthOffset = 4;
inline constexpr uint32_t LogFontEscapementOffset = 8;
inline constexpr uint32_t LogFontOrientationOffset = 12;
inline constexpr uint32_t LogFontWeightOffset = 16;
inline constexpr uint32_t LogFontItalicOffset = 20;
inline constexpr uint32_t LogFontUnderlineOffset = 21;
inline constexpr uint32_t LogFontStrikeOutOffset = 22;
inline constexpr uint32_t LogFontCharSetOffset = 23;
inline constexpr uint32_t LogFontQualityOffset = 26;
inline constexpr uint32_t LogFontPitchAndFamilyOffset = 27;
inline constexpr uint32_t LogFontFaceOffset = 28;
inline constexpr uint32_t LogFontBytes = 92;
static_assert(LogFontItalicOffset == LogFontWeightOffset + 4 && LogFontCharSetOffset == LogFontItalicOffset + 3 &&
                  LogFontQualityOffset == LogFontCharSetOffset + 3 && LogFontFaceOffset == LogFontQualityOffset + 2 &&
                  LogFontBytes == LogFontFaceOffset + 32 * 2,
              "font fields");

// The poly records: bounds, point count, the points (32-bit x, y; the 16-bit records'
// 16-bit). POLYPOLYLINE and POLYPOLYGON: bounds, polygon count, point count, each
// polygon's point count, the points.
inline constexpr uint32_t PolyCountOffset = 24;
inline constexpr uint32_t PolyPointsOffset = 28;
inline constexpr uint32_t PolyPolygonsOffset = 24;
inline constexpr uint32_t PolyPolyTotalOffset = 28;
inline constexpr uint32_t PolyPolyCountsOffset = 32;
static_assert(PolyCountOffset == 8 + 16 && PolyPointsOffset == PolyCountOffset + 4 &&
                  PolyPolyCountsOffset == PolyPolyTotalOffset + 4 && PolyPolygonsOffset == PolyCountOffset,
              "poly record fields");

// CREATEDIBPATTERNBRUSHPT and CREATEMONOBRUSH: index, colour usage, the bitmap (offset
// and size of its information header, offset and size of its rows).
inline constexpr uint32_t PatternBrushBitmapOffset = 16;

// EXTSELECTCLIPRGN: the bytes of the region data, the combining mode, the region data
// (GdiDefs.h's rgn layout; its rectangles in device units). No data with RGN_COPY
// removes the clip.
inline constexpr uint32_t ClipRegionBytesOffset = 8;
inline constexpr uint32_t ClipRegionModeOffset = 12;
inline constexpr uint32_t ClipRegionDataOffset = 16;

// EXTTEXTOUTA, EXTTEXTOUTW: bounds, graphics mode, x and y scale, then the text: the
// reference point, character count, string offset, options, rectangle, dx offset.
inline constexpr uint32_t TextOffset = 36;
inline constexpr uint32_t TextCountOffset = 44;
inline constexpr uint32_t TextStringOffset = 48;
inline constexpr uint32_t TextOptionsOffset = 52;
inline constexpr uint32_t TextRectOffset = 56;
inline constexpr uint32_t TextDxOffset = 72;
inline constexpr uint32_t TextBytes = 76;  // the string and the dx follow
static_assert(TextOffset == 8 + 16 + 3 * 4 && TextBytes == TextOffset + 8 + 4 * 4 + 16, "text record fields");
static_assert(TextCountOffset == TextOffset + 8 && TextOptionsOffset == TextStringOffset + 4 &&
                  TextStringOffset == TextCountOffset + 4 && TextRectOffset == TextOptionsOffset + 4 &&
                  TextDxOffset == TextRectOffset + 16 && TextBytes == TextDxOffset + 4,
              "text fields");

// Fixed fields of the blit records, from the record's start.
inline constexpr uint32_t BitBltBytes = 100;      // up to and with cbBitsSrc
inline constexpr uint32_t StretchBltBytes = 108;  // BITBLT and the source size
inline constexpr uint32_t StretchDIBitsBytes = 80;
inline constexpr uint32_t SetDIBitsToDeviceBytes = 76;
// STRETCHDIBITS and SETDIBITSTODEVICE: bounds, destination x, y, source x, y, width,
// height, the bitmap; then STRETCHDIBITS: colour usage, operation, destination width,
// height; SETDIBITSTODEVICE: colour usage, first scan, scan count.
inline constexpr uint32_t DibDestOffset = 24;
inline constexpr uint32_t DibSourceOffset = 32;
inline constexpr uint32_t DibBitmapOffset = 48;
inline constexpr uint32_t StretchDIBitsRopOffset = 68;
inline constexpr uint32_t StretchDIBitsDestSizeOffset = 72;
static_assert(DibBitmapOffset == DibSourceOffset + 4 * 4 && StretchDIBitsRopOffset == DibBitmapOffset + 4 * 4 + 4 &&
                  StretchDIBitsBytes == StretchDIBitsDestSizeOffset + 8 &&
                  SetDIBitsToDeviceBytes == DibBitmapOffset + 4 * 4 + 3 * 4,
              "bitmap record fields");
inline constexpr uint32_t AlphaBlendBytes = 108;
// ALPHABLEND's blend function, in the operation's place: operation, flags, constant
// alpha, alpha format (a byte each, from the low one).
inline constexpr uint32_t BlendConstantAlphaShift = 16;
inline constexpr uint32_t TransparentBltBytes = 108;  // as STRETCHBLT, the colour in the operation's place
static_assert(BitBltBytes == 8 + 16 + 4 * 4 + 4 + 2 * 4 + 6 * 4 + 4 + 4 + 4 * 4, "bit-block transfer fields");
static_assert(StretchDIBitsBytes == 8 + 16 + 14 * 4, "stretched DIB fields");

// Where the fields of a blit record start (from the record's start). Each bitmap is
// four fields: offset and size of its information header, offset and size of its rows.
// BITBLT, STRETCHBLT, MASKBLT, ALPHABLEND, TRANSPARENTBLT: bounds, destination x, y,
// width, height, operation, source x, y, source transform (6 floats), background
// colour, usage, source bitmap.
inline constexpr uint32_t BltDestOffset = 24;
inline constexpr uint32_t BltRopOffset = 40;
inline constexpr uint32_t BltSourceOffset = 44;
inline constexpr uint32_t BltBitmapOffset = 84;
inline constexpr uint32_t BltSourceSizeOffset = 100;  // STRETCHBLT, ALPHABLEND, TRANSPARENTBLT
static_assert(BltBitmapOffset == BltSourceOffset + 2 * 4 + 6 * 4 + 4 + 4 && BltSourceSizeOffset == BitBltBytes,
              "blit fields");
// MASKBLT then: mask x, y, mask usage, mask bitmap.
inline constexpr uint32_t MaskBltMaskOffset = 100;
inline constexpr uint32_t MaskBltMaskBitmapOffset = 112;
inline constexpr uint32_t MaskBltBytes = 128;
static_assert(MaskBltBytes == MaskBltMaskBitmapOffset + 4 * 4 && MaskBltMaskBitmapOffset == MaskBltMaskOffset + 3 * 4 &&
                  MaskBltMaskOffset == BitBltBytes,
              "masked blit fields");
// PLGBLT: bounds, three destination points (upper-left, upper-right, lower-left), source
// x, y, width, height, source transform, background colour, usage, source bitmap, mask
// x, y, mask usage, mask bitmap.
inline constexpr uint32_t PlgBltPointsOffset = 8 + 16;
inline constexpr uint32_t PlgBltSourceOffset = 48;
inline constexpr uint32_t PlgBltBitmapOffset = 96;
inline constexpr uint32_t PlgBltMaskOffset = 112;
inline constexpr uint32_t PlgBltMaskBitmapOffset = 124;
inline constexpr uint32_t PlgBltBytes = 140;
static_assert(PlgBltSourceOffset == PlgBltPointsOffset + 3 * 8 &&
                  PlgBltBitmapOffset == PlgBltSourceOffset + 4 * 4 + 6 * 4 + 4 + 4 &&
                  PlgBltMaskOffset == PlgBltBitmapOffset + 4 * 4 &&
                  PlgBltMaskBitmapOffset == PlgBltMaskOffset + 3 * 4 && PlgBltBytes == PlgBltMaskBitmapOffset + 4 * 4,
              "parallelogram blit fields");

// GRADIENTFILL: bounds, vertex count, part count, mode, the vertices (x, y, then red,
// green, blue and alpha of 16 bits each), then the parts: rectangles (upper-left and
// lower-right vertex indexes) or triangles (three vertex indexes).
inline constexpr uint32_t GradientCountsOffset = 24;
inline constexpr uint32_t GradientFillBytes = 36;  // the vertices start here
inline constexpr uint32_t GradientVertexBytes = 16;
inline constexpr uint32_t GradientVertexColorOffset = 8;  // red, green, blue, alpha from the vertex's start
inline constexpr uint32_t GRADIENT_FILL_RECT_H = 0;
inline constexpr uint32_t GRADIENT_FILL_RECT_V = 1;
inline constexpr uint32_t GRADIENT_FILL_TRIANGLE = 2;
static_assert(GradientFillBytes == GradientCountsOffset + 3 * 4 && GradientVertexBytes == 2 * 4 + 4 * 2,
              "gradient fill fields");

// The bytes a record of a type must hold (type and size included) before its variable
// part (points, a string, bitmaps, region data, vertices), which the player checks
// against counts as it reads; 0 for the types of no fields and those the player does
// not read.
constexpr uint32_t FixedBytes(uint32_t type) {
  switch (type) {
    case SETMAPMODE:
    case SETBKMODE:
    case SETPOLYFILLMODE:
    case SETROP2:
    case SETTEXTALIGN:
    case SETTEXTCOLOR:
    case SETBKCOLOR:
    case RESTOREDC:
    case SETARCDIRECTION:
    case SELECTOBJECT:
    case DELETEOBJECT:
    case CREATEPALETTE:  // of which only the index is read
      return ValueRecordBytes;
    case SETWINDOWEXTEX:
    case SETWINDOWORGEX:
    case SETVIEWPORTEXTEX:
    case SETVIEWPORTORGEX:
    case MOVETOEX:
    case LINETO:
      return PointRecordBytes;
    case SETPIXELV:
      return SetPixelVBytes;
    case SCALEVIEWPORTEXTEX:
    case SCALEWINDOWEXTEX:
      return ScaleExtBytes;
    case ELLIPSE:
    case RECTANGLE:
    case EXCLUDECLIPRECT:
    case INTERSECTCLIPRECT:
      return BoxRecordBytes;
    case ROUNDRECT:
      return RoundRectBytes;
    case ARC:
    case CHORD:
    case PIE:
    case ARCTO:
      return ArcBytes;
    case SETWORLDTRANSFORM:
      return SetWorldTransformBytes;
    case MODIFYWORLDTRANSFORM:
      return ModifyWorldTransformBytes;
    case CREATEPEN:
      return CreatePenBytes;
    case EXTCREATEPEN:
      return ExtCreatePenBytes;
    case CREATEBRUSHINDIRECT:
      return CreateBrushIndirectBytes;
    case CREATEDIBPATTERNBRUSHPT:
    case CREATEMONOBRUSH:
      return PatternBrushBitmapOffset + 4 * 4;
    case EXTCREATEFONTINDIRECTW:
      return FontOffset + LogFontBytes;
    case POLYBEZIER:
    case POLYGON:
    case POLYLINE:
    case POLYBEZIERTO:
    case POLYLINETO:
    case POLYBEZIER16:
    case POLYGON16:
    case POLYLINE16:
    case POLYBEZIERTO16:
    case POLYLINETO16:
      return PolyPointsOffset;
    case POLYPOLYLINE:
    case POLYPOLYGON:
    case POLYPOLYLINE16:
    case POLYPOLYGON16:
      return PolyPolyCountsOffset;
    case EXTSELECTCLIPRGN:
      return ClipRegionDataOffset;
    case EXTTEXTOUTA:
    case EXTTEXTOUTW:
      return TextBytes;
    case BITBLT:
      return BitBltBytes;
    case STRETCHBLT:
      return StretchBltBytes;
    case MASKBLT:
      return MaskBltBytes;
    case PLGBLT:
      return PlgBltBytes;
    case STRETCHDIBITS:
      return StretchDIBitsBytes;
    case SETDIBITSTODEVICE:
      return SetDIBitsToDeviceBytes;
    case ALPHABLEND:
      return AlphaBlendBytes;
    case TRANSPARENTBLT:
      return TransparentBltBytes;
    case GRADIENTFILL:
      return GradientFillBytes;
    default:
      return 0;
  }
}

}  // namespace emf
