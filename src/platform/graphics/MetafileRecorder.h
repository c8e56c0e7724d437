// Writing drawing calls as metafile records, in either format.
//
// The recorder takes the calls of a device context (a metafile canvas) or of a metafile
// player (a conversion), in one coordinate space, its units: the recording context's
// device pixels. Before each drawing record it brings the metafile's state up to the
// call's: it creates and selects a pen, brush or font when the call's differ from the
// selected ones (deleting the replaced one), and writes the colours, modes and clip that
// changed. So the records carry no mapping: a Windows metafile sets its window to the
// picture's size in units once, an enhanced one has a reference device whose pixel is
// one unit.
//
// A call the format cannot hold (a Windows metafile's coordinates beyond 16 bits, text
// its font's code page cannot write) writes nothing and sets `Refused`; the caller then
// records the call's pixels as a bitmap (`Pixels`).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "platform/graphics/MetafilePlayer.h"

class TMetafileRecorder {
public:
  // size: the picture in units.
  TMetafileRecorder(bool enhanced, TSize size);

  // The drawing state of a context as the recorder takes it (device pixels).
  static TMfState StateOf(const TDeviceContext& dc);

  bool Enhanced() const noexcept { return FEnhanced; }
  bool Refused = false;

  // Figures filled with the brush (no outline) or outlined with the pen (no fill).
  void Figures(const TMfState& state, std::span<const TFigure> figures, bool fill, bool stroke);
  // A rectangle or ellipse with the pen and brush, as the drawing call of that name.
  void Shape(const TMfState& state, bool ellipse, const TRect& box);
  // Text at a reference point with the state's font (height in units), alignment and
  // colours; advances: one per character, in units.
  void Text(const TMfState& state, TPoint at, uint32_t options, const TRect* rect, WideStringView text,
            std::span<const int32_t> advances);
  // A part of a bitmap stretched over a rectangle with a raster operation.
  void Bitmap(const TMfState& state, const TBitmap& bitmap, const TRect& part, const TRect& dest, uint32_t rop);
  // A part of a bitmap as it is, over a rectangle, whatever the clip.
  void Pixels(const TBitmap& bitmap, const TRect& part, const TRect& dest);
  void Pixel(const TMfState& state, TPoint at, COLORREF color);

  // The metafile: an enhanced one whole (its frame the size given in 0.01 mm), or a
  // Windows one from its header on.
  std::vector<uint8_t> Finish(int32_t mmWidth, int32_t mmHeight);

private:
  struct TSelected {
    int32_t Slot = -1;
    TMfObject Object;
  };

  // The record type of this recorder's format, of the two that do one job.
  uint32_t Kind(uint32_t enhanced, uint32_t windows) const noexcept { return FEnhanced ? enhanced : windows; }
  void Begin(uint32_t type);
  void Int(int32_t value);
  void Bytes(std::span<const uint8_t> bytes);
  void End();
  bool Fits(int64_t v) noexcept;
  bool Fits(const TRect& r) noexcept { return Fits(r.Left) && Fits(r.Top) && Fits(r.Right) && Fits(r.Bottom); }
  void Points(std::span<const TPoint> points);
  void Box(const TRect& r);

  int32_t NewSlot();
  void Select(TSelected& selected, TMfObject object);
  void SyncPen(const TMfPen& pen);
  void SyncBrush(const TMfBrush& brush);
  void SyncValue(std::optional<int64_t>& written, int64_t value, uint32_t emfType, uint16_t wmfFunction,
                 bool colour = false);
  void SyncCommon(const TMfState& state);
  void SyncClip(const std::optional<TRect>& clip);
  void ClipRecords(const std::optional<TRect>& clip);

  bool FEnhanced;
  TSize FSize;
  std::vector<uint8_t> FOut;
  size_t FRecordStart = 0;
  uint32_t FRecords = 0;
  uint32_t FLargestWords = 0;
  std::vector<bool> FSlots;
  TSelected FPen, FBrush, FFont;
  std::optional<int64_t> FTextColor, FBkColor, FBkMode, FTextAlign, FRop2, FPolyFill;
  std::optional<std::optional<TRect>> FClip;
};

// Keeps a context's calls out of its recorder while it lives, for drawing that was
// recorded already.
class TRecorderPause {
public:
  explicit TRecorderPause(TDeviceContext& dc) : FDc(dc), FRecorder(dc.Recorder) { dc.Recorder = nullptr; }
  ~TRecorderPause() { FDc.Recorder = FRecorder; }
  TRecorderPause(const TRecorderPause&) = delete;
  TRecorderPause& operator=(const TRecorderPause&) = delete;

private:
  TDeviceContext& FDc;
  TMetafileRecorder* FRecorder;
};
