// The metafile recorder: records of either format, with the state brought up to each call.
#include "platform/graphics/MetafileRecorder.h"

#include <cmath>
#include <cstring>

#include "platform/base/CodePages.h"
#include "platform/base/LittleEndian.h"
#include "platform/graphics/MetafileFormat.h"
#include "platform/graphics/MetafileWrite.h"
#include "platform/graphics/TextDraw.h"

namespace {

// The bitmaps written are Dib24's: a 40-byte information header, then the rows.
constexpr uint32_t kDibHeaderBytes = dib::InfoHeaderBytes;

bool SameObject(const TMfObject& a, const TMfObject& b) {
  if (a.index() != b.index()) return false;
  if (const auto* pa = std::get_if<TMfPen>(&a)) {
    const auto& pb = std::get<TMfPen>(b);
    return pa->Style == pb.Style && pa->Width == pb.Width && pa->Color == pb.Color;
  }
  if (const auto* ba = std::get_if<TMfBrush>(&a)) {
    const auto& bb = std::get<TMfBrush>(b);
    return ba->Style == bb.Style && ba->Color == bb.Color && ba->Hatch == bb.Hatch && ba->Pattern == bb.Pattern;
  }
  if (const auto* fa = std::get_if<TMfFont>(&a))
    return std::memcmp(&fa->LogFont, &std::get<TMfFont>(b).LogFont, sizeof(LOGFONTW)) == 0;
  return true;
}

TPoint Rounded(TPointD p) {
  auto held = [](double v) {
    return static_cast<int32_t>(std::lround(std::isnan(v) ? 0.0 : std::clamp(v, -1e9, 1e9)));
  };
  return TPoint{held(p.X), held(p.Y)};
}

}  // namespace

TMetafileRecorder::TMetafileRecorder(bool enhanced, TSize size) : FEnhanced(enhanced), FSize(size) {
  FSlots.assign(enhanced ? 1 : 0, true);  // an enhanced metafile's slot 0 is its own
  if (enhanced) return;
  // The window is the picture in units.
  Begin(wmf::SETMAPMODE);
  Int(MM_ANISOTROPIC);
  End();
  Begin(wmf::SETWINDOWORG);
  Int(0);
  Int(0);
  End();
  Begin(wmf::SETWINDOWEXT);
  Int(size.cy);
  Int(size.cx);
  End();
}

TMfState TMetafileRecorder::StateOf(const TDeviceContext& dc) {
  TMfState state;
  const TPenObject& pen = dc.SelectedPen();
  const TBrushObject& brush = dc.SelectedBrush();
  state.Pen = TMfPen{pen.Style, pen.Width <= 1 ? 0.0 : double(pen.Width), pen.Color};
  state.Brush = TMfBrush{brush.Style, brush.Color, 0, nullptr};
  state.Font = TMfFont{dc.SelectedFont().LogFont()};
  state.TextColor = dc.State.TextColor;
  state.BkColor = dc.State.BkColor;
  state.BkMode = dc.State.BkMode;
  state.TextAlign = dc.State.TextAlign;
  state.Rop2 = dc.State.Rop2;
  state.Clip = dc.State.Clip;
  return state;
}

// ---- records ----

void TMetafileRecorder::Begin(uint32_t type) {
  FRecordStart = FOut.size();
  AppendLE32(FOut, FEnhanced ? type : 0);
  if (FEnhanced)
    AppendLE32(FOut, 0);
  else
    AppendLE16(FOut, static_cast<uint16_t>(type));
}

void TMetafileRecorder::Int(int32_t value) {
  if (FEnhanced)
    AppendLE32(FOut, static_cast<uint32_t>(value));
  else
    AppendLE16(FOut, static_cast<uint16_t>(value));
}

void TMetafileRecorder::Bytes(std::span<const uint8_t> bytes) { FOut.insert(FOut.end(), bytes.begin(), bytes.end()); }

void TMetafileRecorder::End() {
  while ((FOut.size() - FRecordStart) % (FEnhanced ? 4 : 2) != 0) FOut.push_back(0);
  const size_t bytes = FOut.size() - FRecordStart;
  if (FEnhanced) {
    StoreLE32(FOut.data() + FRecordStart + 4, static_cast<uint32_t>(bytes));
  } else {
    StoreLE32(FOut.data() + FRecordStart, static_cast<uint32_t>(bytes / 2));
    FLargestWords = std::max(FLargestWords, static_cast<uint32_t>(bytes / 2));
  }
  ++FRecords;
}

bool TMetafileRecorder::Fits(int64_t v) noexcept { return FEnhanced || (v >= INT16_MIN && v <= INT16_MAX); }

void TMetafileRecorder::Points(std::span<const TPoint> points) {
  for (const TPoint& p : points) {
    Int(p.X);
    Int(p.Y);
  }
}

// Bounds of an enhanced record (inclusive), or nothing in a Windows metafile.
void TMetafileRecorder::Box(const TRect& r) {
  if (!FEnhanced) return;
  for (int32_t v : {r.Left, r.Top, r.Right, r.Bottom}) Int(v);
}

// ---- objects and state ----

int32_t TMetafileRecorder::NewSlot() {
  for (size_t i = 0; i < FSlots.size(); ++i)
    if (!FSlots[i]) {
      FSlots[i] = true;
      return static_cast<int32_t>(i);
    }
  FSlots.push_back(true);
  return static_cast<int32_t>(FSlots.size() - 1);
}

void TMetafileRecorder::Select(TSelected& selected, TMfObject object) {
  if (selected.Slot >= 0 && SameObject(selected.Object, object)) return;
  const int32_t slot = NewSlot();
  if (const auto* pen = std::get_if<TMfPen>(&object)) {
    // style, width (x, y), colour
    const int32_t width = static_cast<int32_t>(std::lround(std::clamp(pen->Width, 0.0, 32767.0)));
    Begin(Kind(emf::CREATEPEN, wmf::CREATEPENINDIRECT));
    if (FEnhanced) Int(slot);
    Int(pen->Style);
    Int(width);
    Int(0);
    AppendLE32(FOut, pen->Color);
    End();
  } else if (const auto* brush = std::get_if<TMfBrush>(&object); brush && brush->Pattern) {
    const TBitmap& p = *brush->Pattern;
    const std::vector<uint8_t> dib = Dib24(p, TRect{0, 0, p.Width(), p.Height()});
    if (FEnhanced) {
      // index, usage, offBmi, cbBmi, offBits, cbBits, DIB
      constexpr uint32_t kDibAt = emf::PatternBrushBitmapOffset + 4 * 4;
      Begin(emf::CREATEDIBPATTERNBRUSHPT);
      for (uint32_t v : {uint32_t(slot), 0u, kDibAt, kDibHeaderBytes, kDibAt + kDibHeaderBytes,
                         static_cast<uint32_t>(dib.size() - kDibHeaderBytes)})
        AppendLE32(FOut, v);
    } else {
      Begin(wmf::DIBCREATEPATTERNBRUSH);
      Int(BS_DIBPATTERNPT);
      Int(0);
    }
    Bytes(dib);
    End();
  } else if (brush) {
    // style, colour, hatch
    Begin(Kind(emf::CREATEBRUSHINDIRECT, wmf::CREATEBRUSHINDIRECT));
    if (FEnhanced) Int(slot);
    Int(brush->Style);
    AppendLE32(FOut, brush->Color);
    Int(brush->Hatch);
    End();
  } else if (const auto* font = std::get_if<TMfFont>(&object)) {
    const LOGFONTW& lf = font->LogFont;
    Begin(Kind(emf::EXTCREATEFONTINDIRECTW, wmf::CREATEFONTINDIRECT));
    if (FEnhanced) Int(slot);
    for (int32_t v : {lf.lfHeight, lf.lfWidth, lf.lfEscapement, lf.lfOrientation, lf.lfWeight}) Int(v);
    for (uint8_t b : {lf.lfItalic, lf.lfUnderline, lf.lfStrikeOut, lf.lfCharSet, lf.lfOutPrecision, lf.lfClipPrecision,
                      lf.lfQuality, lf.lfPitchAndFamily})
      FOut.push_back(b);
    size_t nameLength = 0;
    while (nameLength < LF_FACESIZE && lf.lfFaceName[nameLength] != 0) ++nameLength;
    if (FEnhanced) {
      for (size_t i = 0; i < LF_FACESIZE; ++i) AppendLE16(FOut, i < nameLength ? lf.lfFaceName[i] : 0);
    } else {
      AnsiString name = WideToAnsi(WideStringView(lf.lfFaceName, nameLength), CharsetCodePage(lf.lfCharSet));
      name.resize(LF_FACESIZE - 1);
      Bytes({reinterpret_cast<const uint8_t*>(name.data()), name.size()});
      FOut.push_back(0);
    }
    End();
  }
  Begin(Kind(emf::SELECTOBJECT, wmf::SELECTOBJECT));
  Int(slot);
  End();
  if (selected.Slot >= 0) {
    Begin(Kind(emf::DELETEOBJECT, wmf::DELETEOBJECT));
    Int(selected.Slot);
    End();
    FSlots[static_cast<size_t>(selected.Slot)] = false;
  }
  selected = TSelected{slot, std::move(object)};
}

void TMetafileRecorder::SyncPen(const TMfPen& pen) { Select(FPen, pen); }
void TMetafileRecorder::SyncBrush(const TMfBrush& brush) { Select(FBrush, brush); }

void TMetafileRecorder::SyncValue(std::optional<int64_t>& written, int64_t value, uint32_t emfType,
                                  uint16_t wmfFunction, bool colour) {
  if (written == value) return;
  written = value;
  Begin(FEnhanced ? emfType : wmfFunction);
  if (FEnhanced || colour)
    AppendLE32(FOut, static_cast<uint32_t>(value));
  else
    Int(static_cast<int32_t>(value));
  End();
}

void TMetafileRecorder::SyncCommon(const TMfState& state) {
  SyncClip(state.Clip);
  SyncValue(FRop2, state.Rop2, emf::SETROP2, wmf::SETROP2);
  SyncValue(FBkMode, state.BkMode, emf::SETBKMODE, wmf::SETBKMODE);
  SyncValue(FBkColor, state.BkColor, emf::SETBKCOLOR, wmf::SETBKCOLOR, true);
}

void TMetafileRecorder::SyncClip(const std::optional<TRect>& clip) {
  // A clip past a Windows metafile's coordinates is held within them.
  std::optional<TRect> held = clip;
  if (held && !FEnhanced)
    for (int32_t* v : {&held->Left, &held->Top, &held->Right, &held->Bottom})
      *v = std::clamp(*v, int32_t{INT16_MIN}, int32_t{INT16_MAX});
  if (FClip && *FClip == held) return;
  FClip = held;
  ClipRecords(held);
}

// No clip, then the rectangle as the clip: an enhanced metafile selects a region of one
// rectangle (device units, which are units here), a Windows one intersects.
void TMetafileRecorder::ClipRecords(const std::optional<TRect>& clip) {
  if (FEnhanced) {
    Begin(emf::EXTSELECTCLIPRGN);
    Int(0);
    Int(RGN_COPY);
    End();
    if (!clip) return;
    // region bytes, mode, region header (size, type, count, rectangle bytes, bounds), rectangles
    Begin(emf::EXTSELECTCLIPRGN);
    for (uint32_t v :
         {rgn::HeaderBytes + rgn::RectBytes, RGN_COPY, rgn::HeaderBytes, rgn::RDH_RECTANGLES, 1u, rgn::RectBytes})
      AppendLE32(FOut, v);
    for (int round = 0; round < 2; ++round)
      for (int32_t v : {clip->Left, clip->Top, clip->Right, clip->Bottom}) Int(v);
    End();
    return;
  }
  Begin(wmf::SELECTCLIPREGION);
  Int(0);
  End();
  if (!clip) return;
  Begin(wmf::INTERSECTCLIPRECT);
  for (int32_t v : {clip->Bottom, clip->Right, clip->Top, clip->Left}) Int(v);
  End();
}

// ---- drawing ----

void TMetafileRecorder::Figures(const TMfState& state, std::span<const TFigure> figures, bool fill, bool stroke) {
  std::vector<std::vector<TPoint>> shapes;
  TRect bounds{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (const TFigure& f : figures) {
    if (f.Points.empty()) continue;
    auto& points = shapes.emplace_back();
    for (const TPointD& p : f.Points) {
      const TPoint q = Rounded(p);
      if (!Fits(q.X) || !Fits(q.Y)) return Refused = true, void();
      bounds = TRect{std::min(bounds.Left, q.X), std::min(bounds.Top, q.Y), std::max(bounds.Right, q.X),
                     std::max(bounds.Bottom, q.Y)};
      points.push_back(q);
    }
    if (stroke && !fill && f.Closed && points.size() > 1) points.push_back(points.front());
  }
  if (shapes.empty()) return;
  SyncCommon(state);
  if (fill) {
    SyncValue(FPolyFill, state.PolyFillMode, emf::SETPOLYFILLMODE, wmf::SETPOLYFILLMODE);
    SyncBrush(state.Brush);
    SyncPen(TMfPen{PS_NULL, 0, 0});
    if (shapes.size() == 1) {
      Begin(Kind(emf::POLYGON, wmf::POLYGON));
      Box(bounds);
      Int(static_cast<int32_t>(shapes[0].size()));
      Points(shapes[0]);
    } else {
      // polygon count, [point count], counts, points
      Begin(Kind(emf::POLYPOLYGON, wmf::POLYPOLYGON));
      Box(bounds);
      size_t total = 0;
      for (const auto& s : shapes) total += s.size();
      Int(static_cast<int32_t>(shapes.size()));
      if (FEnhanced) Int(static_cast<int32_t>(total));
      for (const auto& s : shapes) Int(static_cast<int32_t>(s.size()));
      for (const auto& s : shapes) Points(s);
    }
    End();
  }
  if (stroke) {
    SyncPen(state.Pen);
    for (const auto& s : shapes) {
      Begin(Kind(emf::POLYLINE, wmf::POLYLINE));
      Box(bounds);
      Int(static_cast<int32_t>(s.size()));
      Points(s);
      End();
    }
  }
}

void TMetafileRecorder::Shape(const TMfState& state, bool ellipse, const TRect& box) {
  if (!Fits(box)) return Refused = true, void();
  SyncCommon(state);
  SyncPen(state.Pen);
  SyncBrush(state.Brush);
  if (FEnhanced) {
    Begin(ellipse ? emf::ELLIPSE : emf::RECTANGLE);
    for (int32_t v : {box.Left, box.Top, box.Right, box.Bottom}) Int(v);
  } else {
    Begin(ellipse ? wmf::ELLIPSE : wmf::RECTANGLE);
    for (int32_t v : {box.Bottom, box.Right, box.Top, box.Left}) Int(v);
  }
  End();
}

void TMetafileRecorder::Text(const TMfState& state, TPoint at, uint32_t options, const TRect* rect, WideStringView text,
                             std::span<const int32_t> advances) {
  const LOGFONTW& lf = state.Font.LogFont;
  AnsiString bytes;
  if (!FEnhanced) {
    bool lost = false;
    bytes = WideToAnsi(text, CharsetCodePage(lf.lfCharSet), &lost);
    if (lost || bytes.size() > INT16_MAX || !Fits(at.X) || !Fits(at.Y) || (rect && !Fits(*rect)))
      return Refused = true, void();
  }
  SyncCommon(state);
  Select(FFont, TMfFont{lf});
  SyncValue(FTextColor, state.TextColor, emf::SETTEXTCOLOR, wmf::SETTEXTCOLOR, true);
  SyncValue(FTextAlign, state.TextAlign, emf::SETTEXTALIGN, wmf::SETTEXTALIGN);
  const bool hasRect = rect && (options & (ETO_OPAQUE | ETO_CLIPPED));
  const TRect r = hasRect ? *rect : TRect{};
  if (FEnhanced) {
    // bounds, graphics mode, x and y scale, reference, count, string offset, options,
    // rectangle, dx offset; the string (padded), the dx
    constexpr uint32_t kStringAt = emf::TextBytes;
    const uint32_t stringBytes = static_cast<uint32_t>((text.size() * 2 + 3) / 4 * 4);
    Begin(emf::EXTTEXTOUTW);
    for (int32_t v : {0, 0, -1, -1, 1, 0, 0, at.X, at.Y, static_cast<int32_t>(text.size()), int32_t(kStringAt)}) Int(v);
    Int(static_cast<int32_t>(options & (ETO_OPAQUE | ETO_CLIPPED | ETO_RTLREADING)));
    for (int32_t v : {r.Left, r.Top, r.Right, r.Bottom}) Int(v);
    Int(advances.size() == text.size() ? static_cast<int32_t>(kStringAt + stringBytes) : 0);
    for (WideChar c : text) AppendLE16(FOut, c);
    while ((FOut.size() - FRecordStart) % 4 != 0) FOut.push_back(0);
    if (advances.size() == text.size())
      for (int32_t a : advances) Int(a);
    End();
    return;
  }
  // y, x, length, options, [rectangle], the string (padded), [dx per byte]
  Begin(wmf::EXTTEXTOUT);
  Int(at.Y);
  Int(at.X);
  Int(static_cast<int32_t>(bytes.size()));
  Int(static_cast<int32_t>(hasRect ? options & (ETO_OPAQUE | ETO_CLIPPED) : 0));
  if (hasRect)
    for (int32_t v : {r.Left, r.Top, r.Right, r.Bottom}) Int(v);
  Bytes({reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()});
  if (bytes.size() % 2) FOut.push_back(0);
  if (bytes.size() == text.size() && advances.size() == text.size())
    for (int32_t a : advances) Int(std::clamp(a, int32_t{INT16_MIN}, int32_t{INT16_MAX}));
  End();
}

void TMetafileRecorder::Bitmap(const TMfState& state, const TBitmap& bitmap, const TRect& part, const TRect& dest,
                               uint32_t rop) {
  if (IsRectEmpty(part)) return;
  if (!Fits(dest)) return Refused = true, void();
  SyncCommon(state);
  SyncBrush(state.Brush);
  const std::vector<uint8_t> dib = Dib24(bitmap, part);
  const int32_t w = part.Width(), h = part.Height();
  if (FEnhanced) {
    // bounds, xDest, yDest, xSrc, ySrc, cxSrc, cySrc, offBmi, cbBmi, offBits, cbBits,
    // usage, rop, cxDest, cyDest, the DIB
    Begin(emf::STRETCHDIBITS);
    Box(TRect{std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom), std::max(dest.Left, dest.Right) - 1,
              std::max(dest.Top, dest.Bottom) - 1});
    for (int32_t v : {dest.Left, dest.Top, 0, 0, w, h, int32_t(emf::StretchDIBitsBytes), int32_t(kDibHeaderBytes),
                      int32_t(emf::StretchDIBitsBytes + kDibHeaderBytes), int32_t(dib.size() - kDibHeaderBytes), 0})
      Int(v);
    AppendLE32(FOut, rop);
    Int(dest.Width());
    Int(dest.Height());
  } else {
    // rop (low, high), usage, source height, width, y, x, destination height, width, y, x, DIB
    Begin(wmf::STRETCHDIB);
    Int(static_cast<int32_t>(rop & 0xFFFF));
    Int(static_cast<int32_t>(rop >> 16));
    for (int32_t v : {0, h, w, 0, 0, dest.Height(), dest.Width(), dest.Top, dest.Left}) Int(v);
  }
  Bytes(dib);
  End();
}

void TMetafileRecorder::Pixels(const TBitmap& bitmap, const TRect& part, const TRect& dest) {
  TMfState state;
  state.Clip.reset();
  state.Brush = FBrush.Slot >= 0 ? std::get<TMfBrush>(FBrush.Object) : state.Brush;
  Bitmap(state, bitmap, part, dest, SRCCOPY);
}

void TMetafileRecorder::Pixel(const TMfState& state, TPoint at, COLORREF color) {
  if (!Fits(at.X) || !Fits(at.Y)) return Refused = true, void();
  SyncClip(state.Clip);
  if (FEnhanced) {
    Begin(emf::SETPIXELV);
    Int(at.X);
    Int(at.Y);
    AppendLE32(FOut, color);
  } else {
    Begin(wmf::SETPIXEL);
    AppendLE32(FOut, color);
    Int(at.Y);
    Int(at.X);
  }
  End();
}

// ---- the whole ----

std::vector<uint8_t> TMetafileRecorder::Finish(int32_t mmWidth, int32_t mmHeight) {
  std::vector<uint8_t> out;
  if (!FEnhanced) {
    Begin(wmf::EOF_);
    End();
    AppendLE16(out, 1);  // in memory
    AppendLE16(out, wmf::HeaderWords);
    AppendLE16(out, 0x0300);
    AppendLE32(out, static_cast<uint32_t>((wmf::HeaderBytes + FOut.size()) / 2));
    AppendLE16(out, static_cast<uint16_t>(FSlots.size()));
    AppendLE32(out, FLargestWords);
    AppendLE16(out, 0);
    out.insert(out.end(), FOut.begin(), FOut.end());
    return out;
  }
  // EOF: palette entries, their offset, the record's size again.
  for (uint32_t v : {uint32_t{emf::EOF_}, 20u, 0u, 16u, 20u}) AppendLE32(FOut, v);
  ++FRecords;
  // A reference device whose pixel is one unit: a metre's width of pixels over a metre.
  auto device = [](int32_t units, int32_t mm) {
    return static_cast<uint32_t>(std::max<int64_t>(1, std::llround(units * 100000.0 / std::max(mm, 1))));
  };
  const uint32_t total = emf::HeaderMinBytes + static_cast<uint32_t>(FOut.size());
  for (uint32_t v : {uint32_t{emf::HEADER}, emf::HeaderMinBytes}) AppendLE32(out, v);
  for (int32_t v : {0, 0, std::max(0, FSize.cx - 1), std::max(0, FSize.cy - 1), 0, 0, mmWidth, mmHeight})
    AppendLE32(out, static_cast<uint32_t>(v));  // bounds, frame
  AppendLE32(out, emf::Signature);
  AppendLE32(out, 0x10000);  // version
  AppendLE32(out, total);
  AppendLE32(out, FRecords + 1);
  AppendLE16(out, static_cast<uint16_t>(std::max<size_t>(FSlots.size(), 1)));
  AppendLE16(out, 0);
  for (uint32_t v : {0u, 0u, 0u}) AppendLE32(out, v);  // description length, offset; palette entries
  for (uint32_t v : {device(FSize.cx, mmWidth), device(FSize.cy, mmHeight), 1000u, 1000u}) AppendLE32(out, v);
  out.insert(out.end(), FOut.begin(), FOut.end());
  return out;
}
