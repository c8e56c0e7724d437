// Enhanced metafile records: the frame check and playing each record.
#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/LittleEndian.h"
#include "platform/graphics/MetafileFormat.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileRecordReader.h"
#include "platform/graphics/MetafileTarget.h"
#include "platform/graphics/TextDraw.h"

namespace {

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic(SInvalidMetafile); }

TPointD PointL(TRecordReader& r, size_t at) { return TPointD{double(r.I32(at)), double(r.I32(at + 4))}; }
TPointD PointS(TRecordReader& r, size_t at) { return TPointD{double(r.I16(at)), double(r.I16(at + 2))}; }

// The points of a poly record: bounds (16 bytes), count, then 32-bit or 16-bit points.
std::vector<TPointD> ReadPoints(TRecordReader& r, size_t at, uint64_t count, bool small) {
  std::vector<TPointD> points;
  const uint64_t bytes = count * (small ? 4 : 8);
  if (r.Bytes(at, bytes).empty() && count > 0) return points;
  points.reserve(static_cast<size_t>(count));
  for (size_t i = 0; i < count; ++i) points.push_back(small ? PointS(r, at + 4 * i) : PointL(r, at + 8 * i));
  return points;
}

LOGFONTW ReadLogFontW(TRecordReader& r, size_t at) {
  LOGFONTW lf;
  lf.lfHeight = r.I32(at + emf::LogFontHeightOffset);
  lf.lfWidth = r.I32(at + emf::LogFontWidthOffset);
  lf.lfEscapement = r.I32(at + emf::LogFontEscapementOffset);
  lf.lfOrientation = r.I32(at + emf::LogFontOrientationOffset);
  lf.lfWeight = r.I32(at + emf::LogFontWeightOffset);
  lf.lfItalic = r.U8(at + emf::LogFontItalicOffset);
  lf.lfUnderline = r.U8(at + emf::LogFontUnderlineOffset);
  lf.lfStrikeOut = r.U8(at + emf::LogFontStrikeOutOffset);
  lf.lfCharSet = r.U8(at + emf::LogFontCharSetOffset);
  lf.lfQuality = r.U8(at + emf::LogFontQualityOffset);
  lf.lfPitchAndFamily = r.U8(at + emf::LogFontPitchAndFamilyOffset);
  for (size_t i = 0; i + 1 < LF_FACESIZE; ++i) {
    const uint16_t c = r.U16(at + emf::LogFontFaceOffset + 2 * i);
    if (c == 0) break;
    lf.lfFaceName[i] = static_cast<WideChar>(c);
  }
  return lf;
}

// A bitmap inside a record: its info header and bits at offsets from the record's start.
struct TRecordBitmap {
  std::span<const uint8_t> Info, Bits;
};
TRecordBitmap BitmapAt(TRecordReader& r, size_t fields) {
  const uint32_t offBmi = r.U32(fields), cbBmi = r.U32(fields + 4), offBits = r.U32(fields + 8),
                 cbBits = r.U32(fields + 12);
  return TRecordBitmap{r.Bytes(offBmi, cbBmi), r.Bytes(offBits, cbBits)};
}

// The source rectangle of STRETCHDIBITS and SETDIBITSTODEVICE: x, y, width, height.
TRect DibSource(TRecordReader& r) {
  const size_t at = emf::DibSourceOffset;
  return RecordBounds(r.I32(at), r.I32(at + 4), r.I32(at + 8), r.I32(at + 12));
}

// The optional mask of a masked blit record: x, y, usage, then the bitmap's fields.
struct TRecordMask {
  std::unique_ptr<TBitmap> Bitmap;  // null when the record has none
  TPoint Origin;
  bool Damaged = false;  // a header that is no bitmap
};
TRecordMask MaskAt(TMetafilePlayer& player, TRecordReader& r, size_t fields) {
  TRecordMask mask;
  mask.Origin = TPoint{r.I32(fields), r.I32(fields + 4)};
  const TRecordBitmap m = BitmapAt(r, fields + 12);
  if (m.Info.empty()) return mask;
  mask.Bitmap = player.LoadBitmap(m.Info, m.Bits);
  mask.Damaged = !mask.Bitmap;
  return mask;
}

// A record of STRETCHBLT's layout whose operation field holds something else (a blend
// function, a transparent colour), copied from its source with the options.
void PlayStretchLayout(TMetafilePlayer& player, TRecordReader& r, const TBlitOptions& options) {
  const TPointD dest = PointL(r, emf::BltDestOffset), size = PointL(r, emf::BltDestOffset + 8);
  const TRecordBitmap b = BitmapAt(r, emf::BltBitmapOffset);
  const TRect source = RecordBounds(r.I32(emf::BltSourceOffset), r.I32(emf::BltSourceOffset + 4),
                                    r.I32(emf::BltSourceSizeOffset), r.I32(emf::BltSourceSizeOffset + 4));
  if (r.Short) return ++player.Skipped, void();
  player.Blit(b.Info, b.Bits, dest, size, source, SRCCOPY, options);
}

// The quaternary operation's foreground operation is its low 24 bits; the background
// operation's index is the high byte.
void PlayMaskBlt(TMetafilePlayer& player, TRecordReader& r) {
  const TPointD dest = PointL(r, emf::BltDestOffset), size = PointL(r, emf::BltDestOffset + 8);
  const uint32_t rop4 = r.U32(emf::BltRopOffset);
  const TRect source = RecordBounds(r.I32(emf::BltSourceOffset), r.I32(emf::BltSourceOffset + 4),
                                    r.I32(emf::BltDestOffset + 8), r.I32(emf::BltDestOffset + 12));
  const TRecordBitmap b = BitmapAt(r, emf::BltBitmapOffset);
  const TRecordMask mask = MaskAt(player, r, emf::MaskBltMaskOffset);
  if (r.Short) return ++player.Skipped, void();
  if (mask.Damaged) return player.SkipForBitmap();
  TBlitOptions options;
  options.Mask = mask.Bitmap.get();
  options.MaskOrigin = mask.Origin;
  options.BackRop = (rop4 >> 8) & RopIndexMask;
  player.Blit(b.Info, b.Bits, dest, size, source, rop4 & Rop3Mask, options);
}

void PlayPlgBlt(TMetafilePlayer& player, TRecordReader& r) {
  const std::array<TPointD, 3> corners{PointL(r, emf::PlgBltPointsOffset), PointL(r, emf::PlgBltPointsOffset + 8),
                                       PointL(r, emf::PlgBltPointsOffset + 16)};
  const TRect source = RecordBounds(r.I32(emf::PlgBltSourceOffset), r.I32(emf::PlgBltSourceOffset + 4),
                                    r.I32(emf::PlgBltSourceOffset + 8), r.I32(emf::PlgBltSourceOffset + 12));
  const TRecordBitmap b = BitmapAt(r, emf::PlgBltBitmapOffset);
  const TRecordMask mask = MaskAt(player, r, emf::PlgBltMaskOffset);
  if (r.Short) return ++player.Skipped, void();
  if (mask.Damaged) return player.SkipForBitmap();
  player.PlgBlt(b.Info, b.Bits, corners, source, mask.Bitmap.get(), mask.Origin);
}

// Vertices and parts are counted against the record's bytes and the player's limit
// before anything is read; a part naming a vertex that is not there spoils the record.
void PlayGradientFill(TMetafilePlayer& player, TRecordReader& r) {
  const uint32_t vertexCount = r.U32(emf::GradientCountsOffset), partCount = r.U32(emf::GradientCountsOffset + 4),
                 mode = r.U32(emf::GradientCountsOffset + 8);
  const uint64_t perPart = mode == emf::GRADIENT_FILL_TRIANGLE ? 3 : 2;
  const uint64_t vertexBytes = uint64_t{vertexCount} * emf::GradientVertexBytes;
  const int64_t limit = player.Limits().MaxGradientParts;
  if (mode > emf::GRADIENT_FILL_TRIANGLE || vertexCount > limit || partCount > limit) return ++player.Skipped, void();
  r.Bytes(emf::GradientFillBytes, vertexBytes + uint64_t{partCount} * perPart * 4);
  if (r.Short) return ++player.Skipped, void();
  std::vector<TGradientVertex> vertices;
  vertices.reserve(vertexCount);
  for (size_t i = 0; i < vertexCount; ++i) {
    const size_t at = emf::GradientFillBytes + emf::GradientVertexBytes * i;
    // 16-bit channels, of which the high byte counts
    const size_t color = at + emf::GradientVertexColorOffset;
    vertices.push_back(TGradientVertex{PointL(r, at), double(r.U16(color) >> 8), double(r.U16(color + 2) >> 8),
                                       double(r.U16(color + 4) >> 8)});
  }
  std::vector<uint32_t> indexes;
  indexes.reserve(static_cast<size_t>(partCount * perPart));
  for (size_t i = 0; i < partCount * perPart; ++i) {
    indexes.push_back(r.U32(emf::GradientFillBytes + static_cast<size_t>(vertexBytes) + 4 * i));
    if (indexes.back() >= vertexCount) return ++player.Skipped, void();
  }
  player.GradientFill(vertices, indexes, mode);
}

void PlayPoly(TMetafilePlayer& player, TRecordReader& r, uint32_t type) {
  const bool small = type >= emf::POLYBEZIER16;
  const uint32_t base = small ? type - emf::POLYBEZIER16 + emf::POLYBEZIER : type;
  if (base == emf::POLYPOLYLINE || base == emf::POLYPOLYGON) {
    const uint32_t polygons = r.U32(emf::PolyPolygonsOffset), total = r.U32(emf::PolyPolyTotalOffset);
    if (r.Bytes(emf::PolyPolyCountsOffset, uint64_t{polygons} * 4).empty() && polygons > 0)
      return ++player.Skipped, void();
    std::vector<uint32_t> counts;
    uint64_t sum = 0;
    for (uint32_t i = 0; i < polygons; ++i)
      sum += counts.emplace_back(r.U32(emf::PolyPolyCountsOffset + 4 * size_t{i}));
    if (sum != total) return ++player.Skipped, void();
    const auto points = ReadPoints(r, emf::PolyPolyCountsOffset + 4 * size_t{polygons}, total, small);
    if (points.size() != total) return ++player.Skipped, void();
    player.PolyPolygon(points, counts, base == emf::POLYPOLYGON);
    return;
  }
  const uint32_t count = r.U32(emf::PolyCountOffset);
  const auto points = ReadPoints(r, emf::PolyPointsOffset, count, small);
  if (points.size() != count) return ++player.Skipped, void();
  switch (base) {
    case emf::POLYGON:
      player.PolyPolygon(points, std::span(&count, 1), true);
      break;
    case emf::POLYLINE:
      player.Polyline(points, false, false);
      break;
    case emf::POLYLINETO:
      player.Polyline(points, true, true);
      break;
    case emf::POLYBEZIER:
      player.PolyBezier(points, false);
      break;
    case emf::POLYBEZIERTO:
      player.PolyBezier(points, true);
      break;
    default:
      ++player.Skipped;
      break;
  }
}

void PlayText(TMetafilePlayer& player, TRecordReader& r, bool wide) {
  const TPointD reference = PointL(r, emf::TextOffset);
  const uint32_t count = r.U32(emf::TextCountOffset), offString = r.U32(emf::TextStringOffset),
                 options = r.U32(emf::TextOptionsOffset);
  const TPointD rect[2] = {PointL(r, emf::TextRectOffset), PointL(r, emf::TextRectOffset + 8)};
  const uint32_t offDx = r.U32(emf::TextDxOffset);
  const auto bytes = r.Bytes(offString, uint64_t{count} * (wide ? 2 : 1));
  if (r.Short) return ++player.Skipped, void();
  WideString text;
  if (wide) {
    for (uint32_t i = 0; i < count; ++i) text += static_cast<WideChar>(LoadLE16(bytes.data() + 2 * size_t{i}));
  } else {
    text = AnsiToWide(AnsiString(bytes.begin(), bytes.end()), CharsetCodePage(player.State.Font.LogFont.lfCharSet));
  }
  constexpr uint32_t kEtoPdy = 0x2000;
  const bool pdy = (options & kEtoPdy) != 0;
  std::vector<int32_t> dx;
  if (offDx != 0) {
    const uint64_t entries = uint64_t{count} * (pdy ? 2 : 1);
    const auto dxBytes = r.Bytes(offDx, entries * 4);
    if (!dxBytes.empty())
      for (size_t i = 0; i < entries; ++i) dx.push_back(static_cast<int32_t>(LoadLE32(dxBytes.data() + 4 * i)));
    r.Short = false;  // a missing dx array only loses the spacing
  }
  const bool hasRect = (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0 && rect[1].X > rect[0].X && rect[1].Y > rect[0].Y;
  if (!wide && text.size() != count) dx.clear();
  player.TextOut(reference, options, hasRect ? rect : nullptr, text, dx, pdy);
}

}  // namespace

void PlayEnhancedRecord(TMetafilePlayer& player, std::span<const uint8_t> record, uint32_t type) {
  // A record too short for its fixed fields is skipped whole, before any of them is
  // taken as 0; the variable parts are checked against their counts as they are read.
  if (record.size() < emf::FixedBytes(type)) return ++player.Skipped, void();
  TRecordReader r(record);
  TMfState& s = player.State;
  switch (type) {
    case emf::POLYBEZIER:
    case emf::POLYGON:
    case emf::POLYLINE:
    case emf::POLYBEZIERTO:
    case emf::POLYLINETO:
    case emf::POLYPOLYLINE:
    case emf::POLYPOLYGON:
    case emf::POLYBEZIER16:
    case emf::POLYGON16:
    case emf::POLYLINE16:
    case emf::POLYBEZIERTO16:
    case emf::POLYLINETO16:
    case emf::POLYPOLYLINE16:
    case emf::POLYPOLYGON16:
      PlayPoly(player, r, type);
      return;
    case emf::SETWINDOWEXTEX:
      s.WindowExt = PointL(r, emf::PointOffset);
      player.FixIsotropic();
      break;
    case emf::SETWINDOWORGEX:
      s.WindowOrg = PointL(r, emf::PointOffset);
      break;
    case emf::SETVIEWPORTEXTEX:
      s.ViewportExt = PointL(r, emf::PointOffset);
      player.FixIsotropic();
      break;
    case emf::SETVIEWPORTORGEX:
      s.ViewportOrg = PointL(r, emf::PointOffset);
      break;
    case emf::SCALEVIEWPORTEXTEX:
    case emf::SCALEWINDOWEXTEX: {
      TPointD& ext = type == emf::SCALEWINDOWEXTEX ? s.WindowExt : s.ViewportExt;
      const int32_t xd = r.I32(emf::ScaleXDenomOffset), yd = r.I32(emf::ScaleYDenomOffset);
      if (xd == 0 || yd == 0) return ++player.Skipped, void();
      ext.X = ext.X * r.I32(emf::ScaleXNumOffset) / xd;
      ext.Y = ext.Y * r.I32(emf::ScaleYNumOffset) / yd;
      player.FixIsotropic();
      break;
    }
    case emf::SETPIXELV:
      player.SetPixel(PointL(r, emf::PointOffset), r.U32(emf::PixelColorOffset) & ColorRefMask);
      break;
    case emf::SETMAPMODE:
      player.SetMapMode(r.I32(emf::ValueOffset));
      break;
    case emf::SETBKMODE:
      s.BkMode = r.I32(emf::ValueOffset);
      break;
    case emf::SETPOLYFILLMODE:
      s.PolyFillMode = r.I32(emf::ValueOffset);
      break;
    case emf::SETROP2:
      s.Rop2 = r.I32(emf::ValueOffset);
      break;
    case emf::SETTEXTALIGN:
      s.TextAlign = r.U32(emf::ValueOffset);
      break;
    case emf::SETTEXTCOLOR:
      s.TextColor = r.U32(emf::ValueOffset) & ColorRefMask;
      break;
    case emf::SETBKCOLOR:
      s.BkColor = r.U32(emf::ValueOffset) & ColorRefMask;
      break;
    case emf::MOVETOEX:
      player.MoveTo(PointL(r, emf::PointOffset));
      break;
    case emf::LINETO:
      player.LineTo(PointL(r, emf::PointOffset));
      break;
    case emf::EXCLUDECLIPRECT:
      player.ExcludeClip(PointL(r, emf::BoxOffset), PointL(r, emf::BoxEndOffset));
      break;
    case emf::INTERSECTCLIPRECT:
      player.IntersectClip(PointL(r, emf::BoxOffset), PointL(r, emf::BoxEndOffset));
      break;
    case emf::SAVEDC:
      player.SaveState();
      break;
    case emf::RESTOREDC:
      player.RestoreState(r.I32(emf::ValueOffset));
      break;
    case emf::SETWORLDTRANSFORM:
    case emf::MODIFYWORLDTRANSFORM: {
      constexpr size_t kX = emf::XFormOffset;
      const TXForm x{r.F32(kX), r.F32(kX + 4), r.F32(kX + 8), r.F32(kX + 12), r.F32(kX + 16), r.F32(kX + 20)};
      const uint32_t mode = type == emf::SETWORLDTRANSFORM ? MWT_SET : r.U32(emf::XFormModeOffset);
      if (mode == MWT_IDENTITY)
        s.World = TXForm{};
      else if (mode == MWT_LEFTMULTIPLY)
        s.World = x.Then(s.World);
      else if (mode == MWT_RIGHTMULTIPLY)
        s.World = s.World.Then(x);
      else if (mode == MWT_SET)
        s.World = x;
      else
        ++player.Skipped;
      break;
    }
    case emf::SELECTOBJECT: {
      const uint32_t index = r.U32(emf::ObjectIndexOffset);
      if (index & emf::StockObjectBit)
        player.SelectStockObject(index & ~emf::StockObjectBit);
      else
        player.SelectObject(index);
      break;
    }
    case emf::CREATEPEN:
      player.CreateObjectAt(r.U32(emf::ObjectIndexOffset),
                            TMfPen{r.I32(emf::PenStyleOffset), double(r.I32(emf::PenWidthOffset)),
                                   r.U32(emf::PenColorOffset) & ColorRefMask});
      break;
    case emf::EXTCREATEPEN: {
      const int32_t style = r.I32(emf::ExtPenStyleOffset);
      const double width = (style & PS_GEOMETRIC) ? double(r.I32(emf::ExtPenWidthOffset)) : 0.0;
      const int32_t brushStyle = r.I32(emf::ExtPenBrushStyleOffset);
      player.CreateObjectAt(r.U32(emf::ObjectIndexOffset),
                            TMfPen{brushStyle == BS_NULL ? PS_NULL : (style & PS_STYLE_MASK), width,
                                   r.U32(emf::ExtPenColorOffset) & ColorRefMask});
      break;
    }
    case emf::CREATEBRUSHINDIRECT:
      player.CreateObjectAt(r.U32(emf::ObjectIndexOffset),
                            TMfBrush{r.I32(emf::BrushStyleOffset), r.U32(emf::BrushColorOffset) & ColorRefMask,
                                     r.I32(emf::BrushHatchOffset), nullptr});
      break;
    case emf::CREATEDIBPATTERNBRUSHPT:
    case emf::CREATEMONOBRUSH: {
      const TRecordBitmap b = BitmapAt(r, emf::PatternBrushBitmapOffset);
      std::shared_ptr<const TBitmap> pattern = player.LoadBitmap(b.Info, b.Bits);
      if (!pattern) player.SkipForBitmap();
      player.CreateObjectAt(r.U32(emf::ObjectIndexOffset),
                            TMfBrush{pattern ? BS_DIBPATTERNPT : BS_SOLID, 0x808080, 0, pattern});
      return;  // a bitmap outside the record was counted as a damaged one
    }
    case emf::EXTCREATEFONTINDIRECTW:
      player.CreateObjectAt(r.U32(emf::ObjectIndexOffset), TMfFont{ReadLogFontW(r, emf::FontOffset)});
      break;
    case emf::CREATEPALETTE:
      player.CreateObjectAt(r.U32(emf::ObjectIndexOffset), TMfPalette{});
      break;
    case emf::DELETEOBJECT:
      player.DeleteObject(r.U32(emf::ObjectIndexOffset));
      break;
    case emf::ELLIPSE:
      player.Ellipse(PointL(r, emf::BoxOffset), PointL(r, emf::BoxEndOffset));
      break;
    case emf::RECTANGLE:
      player.Rectangle(PointL(r, emf::BoxOffset), PointL(r, emf::BoxEndOffset));
      break;
    case emf::ROUNDRECT:
      player.RoundRect(PointL(r, emf::BoxOffset), PointL(r, emf::BoxEndOffset), r.I32(emf::RoundRectCornerOffset),
                       r.I32(emf::RoundRectCornerOffset + 4));
      break;
    case emf::ARC:
    case emf::CHORD:
    case emf::PIE:
    case emf::ARCTO: {
      const auto kind = type == emf::ARC     ? TMetafilePlayer::akArc
                        : type == emf::CHORD ? TMetafilePlayer::akChord
                        : type == emf::PIE   ? TMetafilePlayer::akPie
                                             : TMetafilePlayer::akArcTo;
      player.Arc(PointL(r, emf::BoxOffset), PointL(r, emf::BoxEndOffset), PointL(r, emf::ArcStartOffset),
                 PointL(r, emf::ArcEndOffset), kind);
      break;
    }
    case emf::SETARCDIRECTION:
      s.ArcClockwise = r.I32(emf::ValueOffset) == AD_CLOCKWISE;
      break;
    case emf::BEGINPATH:
      player.BeginPath();
      break;
    case emf::ENDPATH:
      player.EndPath();
      break;
    case emf::CLOSEFIGURE:
      player.CloseFigure();
      break;
    case emf::FILLPATH:
      player.FillPath(true, false);
      break;
    case emf::STROKEANDFILLPATH:
      player.FillPath(true, true);
      break;
    case emf::STROKEPATH:
      player.FillPath(false, true);
      break;
    case emf::ABORTPATH:
      player.AbortPath();
      break;
    case emf::SELECTCLIPPATH:
      player.ClipToPath();
      break;
    case emf::EXTSELECTCLIPRGN: {
      const uint32_t regionBytes = r.U32(emf::ClipRegionBytesOffset), mode = r.U32(emf::ClipRegionModeOffset);
      if (regionBytes == 0) {
        if (mode == RGN_COPY) player.SelectClipDevice(nullptr);
        break;
      }
      constexpr size_t kRegion = emf::ClipRegionDataOffset;
      constexpr size_t kRects = kRegion + rgn::HeaderBytes;
      const uint32_t count = r.U32(kRegion + rgn::CountOffset);
      const uint64_t rectBytes = uint64_t{count} * rgn::RectBytes;
      if (r.Short || r.Bytes(kRects, rectBytes).size() != rectBytes) return ++player.Skipped, void();
      // A region of more rectangles than a clip holds clips to its bounds.
      const bool bounded = count > static_cast<uint32_t>(player.Limits().MaxClipRects);
      std::vector<TRect> rects;
      for (uint32_t i = 0; i < (bounded ? 1 : count); ++i) {
        const size_t at = bounded ? kRegion + rgn::BoundsOffset : kRects + rgn::RectBytes * size_t{i};
        const TPointD a = player.DeviceToTarget(PointL(r, at)), b = player.DeviceToTarget(PointL(r, at + 8));
        rects.push_back(PixelBox(a.X, a.Y, b.X, b.Y));
      }
      if (bounded) ++player.Skipped;
      player.SelectClipRegion(rects, mode);
      break;
    }
    case emf::EXTTEXTOUTW:
    case emf::EXTTEXTOUTA:
      PlayText(player, r, type == emf::EXTTEXTOUTW);
      return;
    case emf::BITBLT:
    case emf::STRETCHBLT: {
      const TPointD dest = PointL(r, emf::BltDestOffset), size = PointL(r, emf::BltDestOffset + 8);
      const uint32_t rop = r.U32(emf::BltRopOffset);
      const int32_t xSrc = r.I32(emf::BltSourceOffset), ySrc = r.I32(emf::BltSourceOffset + 4);
      const TRecordBitmap b = BitmapAt(r, emf::BltBitmapOffset);
      // A plain blit's source is as large as its destination.
      const size_t sourceSize = type == emf::STRETCHBLT ? emf::BltSourceSizeOffset : emf::BltDestOffset + 8;
      const TRect source = RecordBounds(xSrc, ySrc, r.I32(sourceSize), r.I32(sourceSize + 4));
      if (r.Short) return ++player.Skipped, void();
      player.Blit(b.Info, b.Bits, dest, size, source, rop);
      break;
    }
    case emf::STRETCHDIBITS: {
      const TPointD dest = PointL(r, emf::DibDestOffset);
      const TRect source = DibSource(r);
      const TRecordBitmap b = BitmapAt(r, emf::DibBitmapOffset);
      const uint32_t rop = r.U32(emf::StretchDIBitsRopOffset);
      const TPointD size = PointL(r, emf::StretchDIBitsDestSizeOffset);
      if (r.Short) return ++player.Skipped, void();
      player.Blit(b.Info, b.Bits, dest, size, source, rop);
      break;
    }
    case emf::SETDIBITSTODEVICE: {
      const TPointD dest = PointL(r, emf::DibDestOffset);
      const TRect source = DibSource(r);
      const TRecordBitmap b = BitmapAt(r, emf::DibBitmapOffset);
      if (r.Short) return ++player.Skipped, void();
      player.Blit(b.Info, b.Bits, dest, TPointD{double(source.Width()), double(source.Height())}, source, SRCCOPY);
      break;
    }
    // These count their own damage, a short read too.
    case emf::ALPHABLEND: {
      // the blend function: operation, flags, constant alpha, alpha format
      TBlitOptions options;
      options.SourceAlpha = (r.U32(emf::BltRopOffset) >> emf::BlendConstantAlphaShift) & 0xFF;
      PlayStretchLayout(player, r, options);
      return;
    }
    case emf::TRANSPARENTBLT: {
      TBlitOptions options;
      options.Transparent = r.U32(emf::BltRopOffset) & ColorRefMask;
      PlayStretchLayout(player, r, options);
      return;
    }
    case emf::MASKBLT:
      PlayMaskBlt(player, r);
      return;
    case emf::PLGBLT:
      PlayPlgBlt(player, r);
      return;
    case emf::GRADIENTFILL:
      PlayGradientFill(player, r);
      return;
    case emf::HEADER:
    case emf::SETBRUSHORGEX:
    case emf::SETMAPPERFLAGS:
    case emf::SETSTRETCHBLTMODE:
    case emf::SETMETARGN:
    case emf::SELECTPALETTE:
    case emf::REALIZEPALETTE:
    case emf::SETMITERLIMIT:
    case emf::FLATTENPATH:
    case emf::GDICOMMENT:
    case emf::SETICMMODE:
    case emf::SETLAYOUT:
      break;  // no visible effect on this player
    default:
      ++player.Skipped;
      return;
  }
  // The records that read past their fixed fields count their own damage and return
  // before drawing; a read that still ran short is counted here, never trusted.
  if (r.Short) ++player.Skipped;
}

int64_t CheckEnhancedMetafile(std::span<const uint8_t> records, const TMetafileLimits& limits) {
  if (records.size() < emf::HeaderMinBytes || LoadLE32(records.data()) != emf::HEADER ||
      LoadLE32(records.data() + emf::SignatureOffset) != emf::Signature)
    InvalidMetafile();
  const uint32_t headerBytes = LoadLE32(records.data() + 4);
  if (headerBytes < emf::HeaderMinBytes || headerBytes > records.size()) InvalidMetafile();
  const int64_t handles = LoadLE16(records.data() + emf::HandlesOffset);
  if (handles > limits.MaxObjects) InvalidMetafile();
  size_t at = 0;
  int64_t count = 0;
  while (records.size() - at >= emf::RecordHeaderBytes) {
    const uint32_t type = LoadLE32(records.data() + at);
    const uint32_t bytes = LoadLE32(records.data() + at + 4);
    if (bytes < emf::RecordHeaderBytes || bytes % 4 != 0 || bytes > records.size() - at || ++count > limits.MaxRecords)
      InvalidMetafile();
    at += bytes;
    if (type == emf::EOF_) return handles;
  }
  if (records.size() != at) InvalidMetafile();
  return handles;
}
