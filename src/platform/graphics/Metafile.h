// `TMetafile`: a graphic class for metafiles, lists of drawing calls, in both formats:
// the Windows metafile (".wmf", 16-bit records, usually behind a placeable header that
// gives its size) and the enhanced metafile (".emf", 32-bit records, `Enhanced`).
//
// Loading checks the whole frame of the file before anything is kept: the headers, every
// record's size against what is left, the object-table size against the limits. Data
// that fails is EInvalidGraphic "Invalid metafile" and leaves the metafile as it was.
// The loaded bytes are kept and saved back as they were.
//
// Sizes: `MMWidth` and `MMHeight` in 0.01 mm; `Width` and `Height` in pixels of a
// 96 pixels-per-inch canvas; `Inch` the units per inch of a Windows metafile's placeable
// header (0 when it has none). An enhanced metafile's size is its frame; a Windows
// metafile's the placeable header's box, or without one the extent of its first
// window-extent record taken as pixels.
//
// Drawing plays the records onto the canvas (MetafilePlayer.h), stretched into the
// rectangle. Records that this player does not draw are skipped and counted
// (`SkippedRecords` of the last play), never fatal; so is a record too short for its
// fields once the frame was found sound.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <vector>

#include "platform/graphics/Bitmap.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Graphic.h"

class TMetafilePlayer;
class TMetafileRecorder;
class TRefusedPixels;
class TDeviceContext;

inline constexpr char SInvalidMetafile[] = "Invalid metafile";

// The limits of the metafile reader and player, a field of every metafile (`Limits`), so
// a test narrows one object alone. The defaults take any picture a document holds.
struct TMetafileLimits {
  // Bytes of one metafile: far above a page of vector drawing.
  int64_t MaxFileBytes = int64_t{256} << 20;
  // Records of one metafile; each costs at least a few bytes, this bounds the walk.
  int64_t MaxRecords = 8'000'000;
  // Object-table slots (the format's handles are 16 bits wide in a Windows metafile).
  int64_t MaxObjects = 65535;
  // Pixels of one bitmap inside a record (decoded before it is drawn).
  int64_t MaxBitmapPixels = int64_t{64} << 20;
  // A bitmap whose data codes fewer than one in BitmapFillDivisor of the pixels its
  // header declares (run-length rows that stop early) is no picture but an allocation:
  // it is skipped, as the RTF import refuses one.
  int32_t BitmapFillDivisor = 8;
  // Saved drawing states (SaveDC nesting) kept while playing.
  int32_t MaxSavedStates = 1024;
  // Rectangles of one clip region.
  int32_t MaxClipRects = 4096;
  // Points of one figure or path after curves are flattened.
  int64_t MaxPathPoints = 4'000'000;
  // Vertices, and rectangles or triangles, of one gradient fill: far above the meshes
  // office programs write. What the parts shade is counted as play work.
  int64_t MaxGradientParts = 100'000;

  // The work of one play (MetafileBudget.h): pixels shaded, blitted, pattern-filled or
  // decoded one by one, rows of fills with their edges and clip pieces, drawings repeated
  // for clip pieces. A picture filled ten times over at 2560 x 2560 pixels fits the
  // allowance, and a kilobyte pays for the 4 million units a full page of records takes;
  // the ceiling is a few seconds of drawing. Past it the remaining records are skipped.
  int64_t PlayWorkAllowance = int64_t{64} << 20;
  int64_t PlayWorkPerByte = 4096;
  int64_t MaxPlayWork = int64_t{1} << 30;
  // Pixels of a bitmap made of the picture at its stated size (a bitmap assigned from it,
  // a picture exported as a bitmap): a stated size larger than this is drawn smaller, in
  // proportion. The allowance is an A4 page at 180 pixels per inch; records that draw more
  // detail pay for more pixels, up to MaxBitmapPixels.
  int64_t RasterPixelAllowance = int64_t{4} << 20;
  int64_t RasterPixelsPerByte = 1024;
  // Pixels a conversion writes into the new metafile as bitmaps, for the records the
  // other format cannot hold (ConvertedMetafile): the allowance is a megapixel, a byte
  // pays for a 16 x 16 square. Past it the rest goes in as one bitmap, once.
  int64_t ConvertedPixelAllowance = int64_t{1} << 20;
  int64_t ConvertedPixelsPerByte = 256;
};

class TMetafile : public TGraphic {
public:
  static const TGraphicClassInfo ClassInfo;

  TMetafile();
  ~TMetafile() override;

  TGraphicClass ClassType() const override { return &ClassInfo; }

  bool Empty() const override { return FData.empty(); }
  int32_t Width() const override;
  int32_t Height() const override;
  // Set the size in pixels (and so in 0.01 mm at 96 pixels per inch).
  void SetWidth(int32_t value) override;
  void SetHeight(int32_t value) override;
  int32_t MMWidth() const noexcept { return FMMWidth; }
  int32_t MMHeight() const noexcept { return FMMHeight; }
  void SetMMWidth(int32_t value);
  void SetMMHeight(int32_t value);
  // Units per inch of a Windows metafile's placeable header; 0 for none.
  uint16_t Inch() const noexcept { return FInch; }
  void SetInch(uint16_t value);

  bool Enhanced() const noexcept { return FEnhanced; }
  // Turns the metafile into the other format (ConvertedMetafile).
  void SetEnhanced(bool value);

  void Clear() override;

  // Reads a metafile of either format from the stream's position to its end. Raises
  // EInvalidGraphic "Invalid metafile" (or the stream's exception); the metafile then
  // stays as it was.
  void LoadFromStream(TStream& stream) override;
  void LoadFromBytes(std::span<const uint8_t> bytes);
  void LoadFromFile(const WideString& fileName);
  // The bytes as loaded. A Windows metafile always goes out with a placeable header:
  // the loaded one, or one made of the size and `Inch` (1440 when 0) when it had none
  // or its size was changed.
  void SaveToStream(TStream& stream) const override;
  void SaveToFile(const WideString& fileName) const;
  std::vector<uint8_t> SavedBytes() const;
  // The records: the whole enhanced metafile, or a Windows metafile from its header on.
  std::span<const uint8_t> Records() const noexcept { return FData; }

  // The bitmaps the records hold (blits, pattern brushes): visit(dib, bitsOffset) with
  // the bitmap's information header on, and where its rows start from there (0: after
  // the header and colour table), so they can be counted before any is decoded.
  void EachRecordBitmap(const std::function<void(std::span<const uint8_t>, int64_t)>& visit) const;

  // Plays the records stretched into rect.
  void Draw(TCanvas& canvas, const TRect& rect) const override;
  // Records skipped by the last play (damaged, not drawn by this player, or past the
  // work budget), and the units of work it did (MetafileBudget.h).
  int64_t SkippedRecords() const noexcept { return FSkippedRecords; }
  int64_t PlayedWork() const noexcept { return FPlayedWork; }
  // The size a bitmap made of the picture takes: Width x Height, or, when that is more
  // pixels than the limits admit for this many bytes (RasterPixelAllowance and its kin),
  // as large as they admit with the same proportions.
  TSize RasterSize() const;

  // A metafile is copied; a bitmap made from a metafile is its picture on white, played
  // at RasterSize (Width x Height unless that is more than the data admits).
  void Assign(const TPersistent& source) override;
  void AssignTo(TPersistent& dest) const override;
  using TGraphic::Assign;

  TMetafileLimits Limits;

private:
  friend class TMetafileCanvas;
  friend std::unique_ptr<TMetafile> ConvertedMetafile(const TMetafile& source);
  friend class TRefusedPixels;  // of a conversion (Metafile.cpp)
  // A player of the records onto a rectangle of a context (null for an empty one), and
  // the records played one by one: visit(record, type) for each up to the end record,
  // while it answers true.
  std::unique_ptr<TMetafilePlayer> NewPlayer(TDeviceContext& dc, const TRect& rect) const;
  void PlayRecord(TMetafilePlayer& player, std::span<const uint8_t> record, uint32_t type) const;
  template <typename TVisit>
  void VisitRecords(TVisit&& visit) const;
  // Keeps the loaded data and its sizes (after the frame was checked).
  void Adopt(std::vector<uint8_t> records, bool enhanced, std::vector<uint8_t> placeable, int32_t mmWidth,
             int32_t mmHeight, uint16_t inch);

  std::vector<uint8_t> FData;
  std::vector<uint8_t> FPlaceable;  // the loaded placeable header, kept while sizes stay
  bool FEnhanced = true;
  int32_t FMMWidth = 0;
  int32_t FMMHeight = 0;
  uint16_t FInch = 0;
  mutable int64_t FSkippedRecords = 0;
  mutable int64_t FPlayedWork = 0;
};

// A metafile of the other format with the same picture and size (its `Enhanced` is
// !source.Enhanced()), converted record by record: the source is played into a recorder
// of the other format, so every drawing call the format holds is a drawing record of it
// (figures, text, bitmaps, pixels, with the pens, brushes, fonts, colours and clip they
// are drawn with); what it cannot hold (blends, raster operations of the pattern with
// the destination, text a Windows metafile's code page cannot write, coordinates beyond
// its 16 bits) goes in as the pixels that record draws, played onto a bitmap of the
// picture's size in pixels.
std::unique_ptr<TMetafile> ConvertedMetafile(const TMetafile& source);

// The pixels a metafile canvas draws on and the recorder its context writes into (a
// base, so they are made before the canvas).
class TMetafileSurface {
protected:
  TMetafileSurface(bool enhanced, int32_t widthPx, int32_t heightPx);
  ~TMetafileSurface();
  std::unique_ptr<TBitmap> FSurface;
  std::unique_ptr<TMetafileRecorder> FRecorder;
};

// Draws on a new metafile: a canvas of the metafile's size in pixels whose drawing calls
// are recorded as drawing records (lines, figures, rectangles, ellipses, text, bitmaps)
// and written into the metafile by Close (the destructor of an unclosed canvas drops
// them). The metafile is enhanced, or a Windows one when it held a Windows metafile
// before; its unit is the canvas's pixel, at 96 pixels per inch. Drawing the recorder
// cannot write (text a Windows metafile's code page cannot hold, bitmaps drawn with a
// transparent colour) goes in as the pixels it drew on the canvas.
class TMetafileCanvas : private TMetafileSurface, public TCanvas {
public:
  TMetafileCanvas(TMetafile& metafile, int32_t widthPx, int32_t heightPx);
  ~TMetafileCanvas() override;
  void Close();

private:
  TMetafile& FMetafile;
  bool FClosed = false;
};
