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

COLORREF ColorAt(TWmfParams& p, size_t i) { return p.U32(i) & 0xFFFFFF; }

TPointD PointYX(TWmfParams& p, size_t i) { return TPointD{double(p[i + 1]), double(p[i])}; }

LOGFONTW ReadLogFont(TWmfParams& p) {
  LOGFONTW lf;
  lf.lfHeight = p[0];
  lf.lfWidth = p[1];
  lf.lfEscapement = p[2];
  lf.lfOrientation = p[3];
  lf.lfWeight = p[4];
  const auto bytes = p.From(5);
  auto byteAt = [&](size_t i) -> uint8_t { return i < bytes.size() ? bytes[i] : 0; };
  lf.lfItalic = byteAt(0);
  lf.lfUnderline = byteAt(1);
  lf.lfStrikeOut = byteAt(2);
  lf.lfCharSet = byteAt(3);
  lf.lfQuality = byteAt(6);
  lf.lfPitchAndFamily = byteAt(7);
  AnsiString face;
  for (size_t i = 8; i < bytes.size() && i < 8 + LF_FACESIZE && bytes[i] != 0; ++i) face += static_cast<char>(bytes[i]);
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

void PlayDibBlit(TMetafilePlayer& player, TWmfParams& p, uint16_t function, uint32_t recordWords) {
  const uint32_t rop = p.U32(0);
  const bool noBitmap = wmf::BlitRecordHasNoBitmap(recordWords, function);
  TRect source;
  TPointD dest, size;
  std::span<const uint8_t> dib;
  if (function == wmf::DIBBITBLT) {
    // rop, ySrc, xSrc, [reserved], height, width, yDest, xDest, DIB
    const size_t k = noBitmap ? 5 : 4;
    size = TPointD{double(p[k + 1]), double(p[k])};
    source = Bounds(p[3], p[2], p[k + 1], p[k]);
    dest = PointYX(p, k + 2);
  } else if (function == wmf::DIBSTRETCHBLT) {
    // rop, srcHeight, srcWidth, ySrc, xSrc, [reserved], destHeight, destWidth, yDest, xDest, DIB
    const size_t k = noBitmap ? 7 : 6;
    source = Bounds(p[5], p[4], p[3], p[2]);
    size = TPointD{double(p[k + 1]), double(p[k])};
    dest = PointYX(p, k + 2);
  } else if (function == wmf::STRETCHDIB) {
    // rop, usage, srcHeight, srcWidth, ySrc, xSrc, destHeight, destWidth, yDest, xDest, DIB
    source = Bounds(p[6], p[5], p[4], p[3]);
    size = TPointD{double(p[8]), double(p[7])};
    dest = PointYX(p, 9);
  } else {
    // SETDIBTODEV: usage, scan count, start scan, ySrc, xSrc, height, width, yDest, xDest, DIB
    source = Bounds(p[4], p[3], p[6], p[5]);
    size = TPointD{double(p[6]), double(p[5])};
    dest = PointYX(p, 7);
  }
  // The bitmap fills the record from its fixed words on.
  if (const size_t at = wmf::DibOffset(function, recordWords); at != 0) dib = p.From((at - wmf::RecordHeaderBytes) / 2);
  if (p.Reader.Short) return;  // counted by the caller
  // SETDIBTODEV has no operation: its rows are copied.
  player.Blit(dib, {}, dest, size, source, function == wmf::SETDIBTODEV ? SRCCOPY : rop);
}

}  // namespace

void PlayWindowsRecord(TMetafilePlayer& player, std::span<const uint8_t> record, uint16_t function) {
  TWmfParams p(record);
  TMfState& s = player.State;
  const uint32_t recordWords = static_cast<uint32_t>(record.size() / 2);
  switch (function) {
    case wmf::SETBKCOLOR:
      s.BkColor = ColorAt(p, 0);
      break;
    case wmf::SETBKMODE:
      s.BkMode = p[0];
      break;
    case wmf::SETMAPMODE:
      player.SetMapMode(p[0]);
      break;
    case wmf::SETROP2:
      s.Rop2 = p[0];
      break;
    case wmf::SETPOLYFILLMODE:
      s.PolyFillMode = p[0];
      break;
    case wmf::SETTEXTCHAREXTRA:
      s.CharExtra = p[0];
      break;
    case wmf::SETTEXTCOLOR:
      s.TextColor = ColorAt(p, 0);
      break;
    case wmf::SETTEXTALIGN:
      s.TextAlign = p.U(0);
      break;
    case wmf::SETWINDOWORG:
      s.WindowOrg = PointYX(p, 0);
      break;
    case wmf::SETWINDOWEXT:
      s.WindowExt = PointYX(p, 0);
      player.FixIsotropic();
      break;
    case wmf::SETVIEWPORTORG:
      s.ViewportOrg = PointYX(p, 0);
      break;
    case wmf::SETVIEWPORTEXT:
      s.ViewportExt = PointYX(p, 0);
      player.FixIsotropic();
      break;
    case wmf::OFFSETWINDOWORG:
      s.WindowOrg.X += p[1];
      s.WindowOrg.Y += p[0];
      break;
    case wmf::OFFSETVIEWPORTORG:
      s.ViewportOrg.X += p[1];
      s.ViewportOrg.Y += p[0];
      break;
    case wmf::SCALEWINDOWEXT:
    case wmf::SCALEVIEWPORTEXT: {
      // yDenom, yNum, xDenom, xNum
      TPointD& ext = function == wmf::SCALEWINDOWEXT ? s.WindowExt : s.ViewportExt;
      if (p[0] == 0 || p[2] == 0) return ++player.Skipped, void();
      ext.X = ext.X * p[3] / p[2];
      ext.Y = ext.Y * p[1] / p[0];
      player.FixIsotropic();
      break;
    }
    case wmf::MOVETO:
      player.MoveTo(PointYX(p, 0));
      break;
    case wmf::LINETO:
      player.LineTo(PointYX(p, 0));
      break;
    case wmf::RECTANGLE:
      player.Rectangle(PointYX(p, 2), PointYX(p, 0));
      break;
    case wmf::ELLIPSE:
      player.Ellipse(PointYX(p, 2), PointYX(p, 0));
      break;
    case wmf::ROUNDRECT:
      player.RoundRect(PointYX(p, 4), PointYX(p, 2), p[1], p[0]);
      break;
    case wmf::ARC:
    case wmf::PIE:
    case wmf::CHORD: {
      // yEnd, xEnd, yStart, xStart, bottom, right, top, left
      const auto kind = function == wmf::ARC   ? TMetafilePlayer::akArc
                        : function == wmf::PIE ? TMetafilePlayer::akPie
                                               : TMetafilePlayer::akChord;
      player.Arc(PointYX(p, 6), PointYX(p, 4), PointYX(p, 2), PointYX(p, 0), kind);
      break;
    }
    case wmf::POLYGON:
    case wmf::POLYLINE: {
      const auto points = ReadPoints(p, 1, p.U(0));
      if (points.size() != p.U(0)) return ++player.Skipped, void();
      const uint32_t count = static_cast<uint32_t>(points.size());
      if (function == wmf::POLYLINE)
        player.Polyline(points, false, false);
      else
        player.PolyPolygon(points, std::span(&count, 1), true);
      break;
    }
    case wmf::POLYPOLYGON: {
      const size_t polygons = p.U(0);
      if (polygons > p.Count()) return ++player.Skipped, void();
      std::vector<uint32_t> counts;
      size_t total = 0;
      for (size_t i = 0; i < polygons; ++i) total += counts.emplace_back(p.U(1 + i));
      const auto points = ReadPoints(p, 1 + polygons, total);
      if (points.size() != total) return ++player.Skipped, void();
      player.PolyPolygon(points, counts, true);
      break;
    }
    case wmf::SETPIXEL:
      player.SetPixel(PointYX(p, 2), ColorAt(p, 0));
      break;
    case wmf::TEXTOUT: {
      // length, string (padded to words), yStart, xStart
      const size_t length = p.U(0);
      const auto bytes = p.Reader.Bytes(wmf::RecordHeaderBytes + 2, length);
      const size_t after = 1 + (length + 1) / 2;
      const TPointD at = PointYX(p, after);
      if (p.Reader.Short) return ++player.Skipped, void();
      const AnsiString text(bytes.begin(), bytes.end());
      player.TextOut(at, 0, nullptr, AnsiToWide(text, CharsetCodePage(s.Font.LogFont.lfCharSet)), {}, false);
      break;
    }
    case wmf::EXTTEXTOUT: {
      // y, x, length, options, [rectangle], string (padded), [dx]
      const TPointD at = PointYX(p, 0);
      const size_t length = p.U(2);
      const uint32_t options = p.U(3);
      size_t k = 4;
      TPointD rect[2];
      const bool hasRect = (options & (ETO_OPAQUE | ETO_CLIPPED)) != 0;
      if (hasRect) {
        rect[0] = TPointD{double(p[4]), double(p[5])};
        rect[1] = TPointD{double(p[6]), double(p[7])};
        k = 8;
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
      player.RestoreState(p[0]);
      break;
    case wmf::SELECTOBJECT:
      player.SelectObject(p.U(0));
      break;
    case wmf::DELETEOBJECT:
      player.DeleteObject(p.U(0));
      break;
    case wmf::CREATEPENINDIRECT:
      player.CreateObject(TMfPen{p[0], double(p[1]), ColorAt(p, 3)});
      break;
    case wmf::CREATEBRUSHINDIRECT:
      player.CreateObject(TMfBrush{p[0], ColorAt(p, 1), p[3], nullptr});
      break;
    case wmf::CREATEFONTINDIRECT:
      player.CreateObject(TMfFont{ReadLogFont(p)});
      break;
    case wmf::DIBCREATEPATTERNBRUSH: {
      // style, colour usage, DIB
      std::shared_ptr<const TBitmap> pattern = player.LoadBitmap(p.From(2), {});
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
      player.IntersectClip(PointYX(p, 2), PointYX(p, 0));
      break;
    case wmf::EXCLUDECLIPRECT:
      player.ExcludeClip(PointYX(p, 2), PointYX(p, 0));
      break;
    case wmf::SELECTCLIPREGION:
      if (p.U(0) == 0)
        player.SelectClipDevice(nullptr);
      else
        player.SelectObject(p.U(0));
      break;
    case wmf::PATBLT:
      // rop, height, width, y, x
      player.Blit({}, {}, PointYX(p, 4), TPointD{double(p[3]), double(p[2])}, TRect{}, p.U32(0));
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
