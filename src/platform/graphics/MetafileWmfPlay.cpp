// Windows metafile records: the frame check and playing each record.
#include <vector>

#include "platform/base/CodePages.h"
#include "platform/base/LittleEndian.h"
#include "platform/graphics/MetafileFormat.h"
#include "platform/graphics/MetafilePlayer.h"
#include "platform/graphics/MetafileRecordReader.h"
#include "platform/graphics/TextDraw.h"

namespace {

[[noreturn]] void InvalidMetafile() { throw EInvalidGraphic(SInvalidMetafile); }

// A record's 16-bit parameters, counted from the first after the function.
class TWmfParams {
public:
  explicit TWmfParams(std::span<const uint8_t> record) : Reader(record) {}
  TRecordReader Reader;
  int16_t operator[](size_t i) { return Reader.I16(wmf::RecordHeaderBytes + 2 * i); }
  uint16_t U(size_t i) { return Reader.U16(wmf::RecordHeaderBytes + 2 * i); }
  uint32_t U32(size_t i) { return Reader.U32(wmf::RecordHeaderBytes + 2 * i); }
  size_t Count() const { return (Reader.Size() - wmf::RecordHeaderBytes) / 2; }
  std::span<const uint8_t> From(size_t i) {
    const size_t at = wmf::RecordHeaderBytes + 2 * i;
    return Reader.Bytes(at, at <= Reader.Size() ? Reader.Size() - at : 0);
  }
};

COLORREF ColorAt(TWmfParams& p, size_t i) { return p.U32(i) & ColorRefMask; }

TPointD PointYX(TWmfParams& p, size_t i) { return TPointD{double(p[i + 1]), double(p[i])}; }

LOGFONTW ReadLogFont(TWmfParams& p) {
  LOGFONTW lf;
  lf.lfHeight = p[wmf::FontHeightParam];
  lf.lfWidth = p[wmf::FontWidthParam];
  lf.lfEscapement = p[wmf::FontEscapementParam];
  lf.lfOrientation = p[wmf::FontOrientationParam];
  lf.lfWeight = p[wmf::FontWeightParam];
  const auto bytes = p.From(wmf::FontBytesParam);
  auto byteAt = [&](size_t i) -> uint8_t { return i < bytes.size() ? bytes[i] : 0; };
  lf.lfItalic = byteAt(wmf::FontItalicByte);
  lf.lfUnderline = byteAt(wmf::FontUnderlineByte);
  lf.lfStrikeOut = byteAt(wmf::FontStrikeOutByte);
  lf.lfCharSet = byteAt(wmf::FontCharSetByte);
  lf.lfQuality = byteAt(wmf::FontQualityByte);
  lf.lfPitchAndFamily = byteAt(wmf::FontPitchAndFamilyByte);
  AnsiString face;
  constexpr size_t kFace = wmf::FontFaceByte;
  for (size_t i = kFace; i < bytes.size() && i < kFace + LF_FACESIZE && bytes[i] != 0; ++i)
    face += static_cast<char>(bytes[i]);
  const WideString wide = AnsiToWide(face, CharsetCodePage(lf.lfCharSet));
  for (size_t i = 0; i < wide.size() && i + 1 < LF_FACESIZE; ++i) lf.lfFaceName[i] = wide[i];
  return lf;
}

// count points (x, y) from parameter first; none when they run past the record's end.
std::vector<TPointD> ReadPoints(TWmfParams& p, size_t first, size_t count) {
  std::vector<TPointD> points;
  if (first > p.Count() || count > (p.Count() - first) / 2) return points;
  points.reserve(count);
  for (size_t i = 0; i < count; ++i) points.push_back(TPointD{double(p[first + 2 * i]), double(p[first + 2 * i + 1])});
  return points;
}

// A region object (wmf::RegionScansParam and its kin): a scan holds a rectangle for each
// pair of its x values. Past the clip's limit the region is its bounds.
TMfRegion ReadRegion(TMetafilePlayer& player, TWmfParams& p) {
  TMfRegion region;
  const size_t scans = p.U(wmf::RegionScanCountParam);
  size_t at = wmf::RegionScansParam;
  for (size_t s = 0; s < scans && at + 3 <= p.Count(); ++s) {
    const size_t xs = p.U(at);
    const int16_t top = p[at + 1], bottom = p[at + 2];
    if (at + 3 + xs + 1 > p.Count() || xs % 2 != 0) break;
    for (size_t i = 0; i + 1 < xs; i += 2) region.Rects.push_back(TRect{p[at + 3 + i], top, p[at + 4 + i], bottom});
    at += 3 + xs + 1;
    if (region.Rects.size() > static_cast<size_t>(player.Limits().MaxClipRects)) {
      ++player.Skipped;
      region.Rects.clear();
      break;
    }
  }
  constexpr size_t kBounds = wmf::RegionBoundsParam;
  if (region.Rects.empty()) region.Rects.push_back(TRect{p[kBounds], p[kBounds + 1], p[kBounds + 2], p[kBounds + 3]});
  return region;
}

// A source rectangle from its point and size parameters.
TRect SourceBox(TWmfParams& p, size_t point, size_t size) {
  return Bounds(p[point + 1], p[point], p[size + 1], p[size]);
}

void PlayDibBlit(TMetafilePlayer& player, TWmfParams& p, uint16_t function, uint32_t recordWords) {
  const uint32_t rop = p.U32(wmf::DibBltRopParam);
  const size_t reserved = wmf::BlitRecordHasNoBitmap(recordWords, function) ? 1 : 0;
  TRect source;
  size_t destSize = 0;
  std::span<const uint8_t> dib;
  if (function == wmf::DIBBITBLT) {
    // the source is as large as the destination
    destSize = wmf::DibBitBltSizeParam + reserved;
    source = SourceBox(p, wmf::DibBitBltSourceParam, destSize);
  } else if (function == wmf::DIBSTRETCHBLT) {
    source = SourceBox(p, wmf::DibStretchBltSourceParam, wmf::DibStretchBltSourceSizeParam);
    destSize = wmf::DibStretchBltDestSizeParam + reserved;
  } else if (function == wmf::STRETCHDIB) {
    source = SourceBox(p, wmf::StretchDibSourceParam, wmf::StretchDibSourceSizeParam);
    destSize = wmf::StretchDibDestSizeParam;
  } else {
    // SETDIBTODEV: drawn at its source size
    source = SourceBox(p, wmf::SetDibToDevSourceParam, wmf::SetDibToDevSizeParam);
    destSize = wmf::SetDibToDevSizeParam;
  }
  const TPointD size = PointYX(p, destSize), dest = PointYX(p, destSize + 2);
  // The bitmap fills the record from its fixed words on.
  if (const size_t at = wmf::DibOffset(function, recordWords); at != 0) dib = p.From((at - wmf::RecordHeaderBytes) / 2);
  // SETDIBTODEV has no operation: its rows are copied.
  player.Blit(dib, {}, dest, size, source, function == wmf::SETDIBTODEV ? SRCCOPY : rop);
}

// Whether a record of the function fills a slot of the object table.
bool MakesObject(uint16_t function) {
  switch (function) {
    case wmf::CREATEPENINDIRECT:
    case wmf::CREATEBRUSHINDIRECT:
    case wmf::CREATEFONTINDIRECT:
    case wmf::DIBCREATEPATTERNBRUSH:
    case wmf::CREATEPATTERNBRUSH:
    case wmf::CREATEPALETTE:
    case wmf::CREATEREGION:
      return true;
    default:
      return false;
  }
}

}  // namespace

void PlayWindowsRecord(TMetafilePlayer& player, std::span<const uint8_t> record, uint16_t function) {
  TWmfParams p(record);
  // A record too short for its fixed parameters is skipped whole, before any of them is
  // taken as 0; the variable parts are checked against their counts as they are read.
  if (p.Count() < wmf::FixedParams(function)) {
    // An object keeps its slot, so that the later objects keep their numbers; selecting
    // it changes nothing.
    if (MakesObject(function)) player.CreateObject(TMfPalette{});
    return ++player.Skipped, void();
  }
  TMfState& s = player.State;
  const uint32_t recordWords = static_cast<uint32_t>(record.size() / 2);
  switch (function) {
    case wmf::SETBKCOLOR:
      s.BkColor = ColorAt(p, wmf::ValueParam);
      break;
    case wmf::SETBKMODE:
      s.BkMode = p[wmf::ValueParam];
      break;
    case wmf::SETMAPMODE:
      player.SetMapMode(p[wmf::ValueParam]);
      break;
    case wmf::SETROP2:
      s.Rop2 = p[wmf::ValueParam];
      break;
    case wmf::SETPOLYFILLMODE:
      s.PolyFillMode = p[wmf::ValueParam];
      break;
    case wmf::SETTEXTCHAREXTRA:
      s.CharExtra = p[wmf::ValueParam];
      break;
    case wmf::SETTEXTCOLOR:
      s.TextColor = ColorAt(p, wmf::ValueParam);
      break;
    case wmf::SETTEXTALIGN:
      s.TextAlign = p.U(wmf::ValueParam);
      break;
    case wmf::SETWINDOWORG:
      s.WindowOrg = PointYX(p, wmf::PointParam);
      break;
    case wmf::SETWINDOWEXT:
      s.WindowExt = PointYX(p, wmf::PointParam);
      player.FixIsotropic();
      break;
    case wmf::SETVIEWPORTORG:
      s.ViewportOrg = PointYX(p, wmf::PointParam);
      break;
    case wmf::SETVIEWPORTEXT:
      s.ViewportExt = PointYX(p, wmf::PointParam);
      player.FixIsotropic();
      break;
    case wmf::OFFSETWINDOWORG:
    case wmf::OFFSETVIEWPORTORG: {
      TPointD& origin = function == wmf::OFFSETWINDOWORG ? s.WindowOrg : s.ViewportOrg;
      const TPointD by = PointYX(p, wmf::PointParam);
      origin.X += by.X;
      origin.Y += by.Y;
      break;
    }
    case wmf::SCALEWINDOWEXT:
    case wmf::SCALEVIEWPORTEXT: {
      TPointD& ext = function == wmf::SCALEWINDOWEXT ? s.WindowExt : s.ViewportExt;
      const int16_t xd = p[wmf::ScaleXDenomParam], yd = p[wmf::ScaleYDenomParam];
      if (xd == 0 || yd == 0) return ++player.Skipped, void();
      ext.X = ext.X * p[wmf::ScaleXNumParam] / xd;
      ext.Y = ext.Y * p[wmf::ScaleYNumParam] / yd;
      player.FixIsotropic();
      break;
    }
    case wmf::MOVETO:
      player.MoveTo(PointYX(p, wmf::PointParam));
      break;
    case wmf::LINETO:
      player.LineTo(PointYX(p, wmf::PointParam));
      break;
    case wmf::RECTANGLE:
      player.Rectangle(PointYX(p, wmf::BoxParam), PointYX(p, wmf::BoxEndParam));
      break;
    case wmf::ELLIPSE:
      player.Ellipse(PointYX(p, wmf::BoxParam), PointYX(p, wmf::BoxEndParam));
      break;
    case wmf::ROUNDRECT:
      player.RoundRect(PointYX(p, wmf::RoundRectBoxParam + 2), PointYX(p, wmf::RoundRectBoxParam),
                       p[wmf::RoundRectCornerParam + 1], p[wmf::RoundRectCornerParam]);
      break;
    case wmf::ARC:
    case wmf::PIE:
    case wmf::CHORD: {
      const auto kind = function == wmf::ARC   ? TMetafilePlayer::akArc
                        : function == wmf::PIE ? TMetafilePlayer::akPie
                                               : TMetafilePlayer::akChord;
      player.Arc(PointYX(p, wmf::ArcBoxParam + 2), PointYX(p, wmf::ArcBoxParam), PointYX(p, wmf::ArcStartParam),
                 PointYX(p, wmf::ArcEndParam), kind);
      break;
    }
    case wmf::POLYGON:
    case wmf::POLYLINE: {
      const size_t count = p.U(wmf::PolyCountParam);
      const auto points = ReadPoints(p, wmf::PolyPointsParam, count);
      if (points.size() != count) return ++player.Skipped, void();
      const uint32_t pointCount = static_cast<uint32_t>(points.size());
      if (function == wmf::POLYLINE)
        player.Polyline(points, false, false);
      else
        player.PolyPolygon(points, std::span(&pointCount, 1), true);
      break;
    }
    case wmf::POLYPOLYGON: {
      const size_t polygons = p.U(wmf::PolygonsParam);
      if (polygons > p.Count() - wmf::PolyPolyCountsParam) return ++player.Skipped, void();
      std::vector<uint32_t> counts;
      size_t total = 0;
      for (size_t i = 0; i < polygons; ++i) total += counts.emplace_back(p.U(wmf::PolyPolyCountsParam + i));
      const auto points = ReadPoints(p, wmf::PolyPolyCountsParam + polygons, total);
      if (points.size() != total) return ++player.Skipped, void();
      player.PolyPolygon(points, counts, true);
      break;
    }
    case wmf::SETPIXEL:
      player.SetPixel(PointYX(p, wmf::PixelPointParam), ColorAt(p, wmf::PixelColorParam));
      break;
    case wmf::TEXTOUT: {
      const size_t length = p.U(wmf::TextLengthParam);
      const auto bytes = p.Reader.Bytes(wmf::RecordHeaderBytes + 2 * wmf::TextStringParam, length);
      const size_t after = wmf::TextStringParam + (length + 1) / 2;
      const TPointD at = PointYX(p, after);
      if (p.Reader.Short) return ++player.Skipped, void();
      const AnsiString text(bytes.begin(), bytes.end());
      player.TextOut(at, 0, nullptr, AnsiToWide(text, CharsetCodePage(s.Font.LogFont.lfCharSet)), {}, false);
      break;
    }
    case wmf::EXTTEXTOUT: {
      const TPointD at = PointYX(p, wmf::ExtTextPointParam);
      const size_t length = p.U(wmf::ExtTextLengthParam);
      const uint32_t options = p.U(wmf::ExtTextOptionsParam);
      size_t k = wmf::ExtTextRectParam;
      TPointD rect[2];
      const bool hasRect = (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
      if (hasRect) {
        rect[0] = TPointD{double(p[k]), double(p[k + 1])};
        rect[1] = TPointD{double(p[k + 2]), double(p[k + 3])};
        k += wmf::ExtTextRectWords;
      }
      const auto bytes = p.Reader.Bytes(wmf::RecordHeaderBytes + 2 * k, length);
      if (p.Reader.Short) return ++player.Skipped, void();
      const size_t dxAt = k + (length + 1) / 2;
      std::vector<int32_t> dx;
      if (p.Count() >= dxAt + length)
        for (size_t i = 0; i < length; ++i) dx.push_back(p[dxAt + i]);
      const WideString text =
          AnsiToWide(AnsiString(bytes.begin(), bytes.end()), CharsetCodePage(s.Font.LogFont.lfCharSet));
      // Each byte has its dx; a double-byte character advances by both.
      std::vector<int32_t> perChar;
      if (dx.size() == length && text.size() == length) perChar = dx;
      player.TextOut(at, options, hasRect ? rect : nullptr, text, perChar, false);
      break;
    }
    case wmf::SAVEDC:
      player.SaveState();
      break;
    case wmf::RESTOREDC:
      player.RestoreState(p[wmf::ValueParam]);
      break;
    case wmf::SELECTOBJECT:
      player.SelectObject(p.U(wmf::ValueParam));
      break;
    case wmf::DELETEOBJECT:
      player.DeleteObject(p.U(wmf::ValueParam));
      break;
    case wmf::CREATEPENINDIRECT:
      player.CreateObject(TMfPen{p[wmf::PenStyleParam], double(p[wmf::PenWidthParam]), ColorAt(p, wmf::PenColorParam)});
      break;
    case wmf::CREATEBRUSHINDIRECT:
      player.CreateObject(
          TMfBrush{p[wmf::BrushStyleParam], ColorAt(p, wmf::BrushColorParam), p[wmf::BrushHatchParam], nullptr});
      break;
    case wmf::CREATEFONTINDIRECT:
      player.CreateObject(TMfFont{ReadLogFont(p)});
      break;
    case wmf::DIBCREATEPATTERNBRUSH: {
      std::shared_ptr<const TBitmap> pattern = player.LoadBitmap(p.From(wmf::DibPatternBrushBitmapParam), {});
      player.CreateObject(TMfBrush{pattern ? BS_DIBPATTERNPT : BS_SOLID, 0x808080, 0, pattern});
      if (!pattern) player.SkipForBitmap();
      break;
    }
    case wmf::CREATEREGION:
      player.CreateObject(ReadRegion(player, p));
      break;
    case wmf::CREATEPALETTE:
    case wmf::CREATEPATTERNBRUSH:
      // Kept in the table so that object numbers stay right.
      player.CreateObject(function == wmf::CREATEPALETTE ? TMfObject{TMfPalette{}}
                                                         : TMfObject{TMfBrush{BS_SOLID, 0x808080, 0, nullptr}});
      if (function == wmf::CREATEPATTERNBRUSH) ++player.Skipped;
      break;
    case wmf::INTERSECTCLIPRECT:
      player.IntersectClip(PointYX(p, wmf::BoxParam), PointYX(p, wmf::BoxEndParam));
      break;
    case wmf::EXCLUDECLIPRECT:
      player.ExcludeClip(PointYX(p, wmf::BoxParam), PointYX(p, wmf::BoxEndParam));
      break;
    case wmf::SELECTCLIPREGION:
      if (p.U(wmf::ValueParam) == 0)
        player.SelectClipDevice(nullptr);
      else
        player.SelectObject(p.U(wmf::ValueParam));
      break;
    case wmf::PATBLT:
      player.Blit({}, {}, PointYX(p, wmf::PatBltPointParam), PointYX(p, wmf::PatBltSizeParam), TRect{},
                  p.U32(wmf::PatBltRopParam));
      break;
    case wmf::DIBBITBLT:
    case wmf::DIBSTRETCHBLT:
    case wmf::STRETCHDIB:
    case wmf::SETDIBTODEV:
      PlayDibBlit(player, p, function, recordWords);
      break;
    case wmf::SETSTRETCHBLTMODE:
    case wmf::SETRELABS:
    case wmf::SETMAPPERFLAGS:
    case wmf::SELECTPALETTE:
    case wmf::REALIZEPALETTE:
    case wmf::SETPALENTRIES:
    case wmf::RESIZEPALETTE:
    case wmf::ANIMATEPALETTE:
    case wmf::SETLAYOUT:
    case wmf::ESCAPE:
    case wmf::SETTEXTJUSTIFICATION:
      break;  // no visible effect on this player
    default:
      ++player.Skipped;
      return;
  }
  // The records that read past their fixed fields count their own damage and return
  // before drawing; a read that still ran short is counted here, never trusted.
  if (p.Reader.Short) ++player.Skipped;
}

int64_t CheckWindowsMetafile(std::span<const uint8_t> records, const TMetafileLimits& limits) {
  if (records.size() < wmf::HeaderBytes) InvalidMetafile();
  if (!wmf::StartsWithHeader(records)) InvalidMetafile();
  const int64_t objects = LoadLE16(records.data() + wmf::HeaderObjectsOffset);
  if (objects > limits.MaxObjects) InvalidMetafile();
  size_t at = wmf::HeaderBytes;
  int64_t count = 0;
  while (records.size() - at >= wmf::RecordHeaderBytes) {
    const uint64_t bytes = uint64_t{LoadLE32(records.data() + at)} * 2;
    const uint16_t function = LoadLE16(records.data() + at + 4);
    if (bytes < wmf::RecordHeaderBytes || bytes > records.size() - at || ++count > limits.MaxRecords) InvalidMetafile();
    at += static_cast<size_t>(bytes);
    if (function == wmf::EOF_) return objects;
  }
  // Without an end record the records must fill the data (a word of padding at most).
  if (records.size() - at > 2) InvalidMetafile();
  return objects;
}
