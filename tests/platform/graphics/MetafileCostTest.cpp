// What metafiles cost, counted (work units of a play, bytes allocated, bytes made), never
// timed: the hostile shapes of MetafileHostile.h grow their cost with their bytes, a few
// kilobytes cost no more than tens of megabytes, a play past its budget skips the rest
// and counts it, a stated size is drawn as large as the data admits, and a conversion
// takes the pixels of what the other format cannot hold once they are past its budget.
#include <gtest/gtest.h>

#include <functional>

#include "MetafileHostile.h"
#include "MetafileInspect.h"
#include "MetafilePlay.h"
#include "platform/base/WorkGrowth.h"
#include "platform/graphics/Metafile.h"
#include "xml/XmlAllocationMeter.h"

namespace {

// Limits of a play that a hostile file of a few kilobytes reaches on a 200-pixel target:
// a quarter of a million units and 64 a byte.
TMetafileLimits CostTestLimits() {
  TMetafileLimits limits;
  limits.PlayWorkAllowance = 256 << 10;
  limits.PlayWorkPerByte = 64;
  return limits;
}

// The units of work of playing the bytes onto a side x side bitmap.
int64_t CostTestPlayWork(const std::vector<uint8_t>& bytes, int32_t sidePx, const TMetafileLimits& limits) {
  TMetafile metafile;
  metafile.Limits = limits;
  metafile.LoadFromBytes(bytes);
  Played(metafile, sidePx, sidePx);
  return metafile.PlayedWork();
}

// The bytes a drawing allocates (freed or not).
int64_t CostTestAllocated(const std::function<void()>& draw) {
  TAllocationMeter meter;
  draw();
  return meter.AllocatedBytes();
}

}  // namespace

// Each shape at n and at 10 n: the work may grow at most 14 times, and at 10 n (a few
// kilobytes) it stays under a cap that a cost per shape repeated without bound would pass
// many times over.
TEST(MetafileCost, TenTimesTheInputCostsAtMostFourteenTimesTheWork) {
  const TMetafileLimits narrow = CostTestLimits();
  const struct {
    const char* Name;
    int32_t Count;
    std::function<int64_t(int)> Cost;
    int64_t CapAtTenN;
  } cases[] = {
      {"gradient ramps, each over the picture: units shaded", 100,
       [&](int32_t n) { return CostTestPlayWork(hostile::GradientRamps(n, 200), 200, narrow); }, 1 << 20},
      {"gradient triangles, each over the picture: units shaded", 8,
       [&](int32_t n) { return CostTestPlayWork(hostile::GradientTriangles(n, 200), 200, narrow); }, 1 << 20},
      {"a polygon of n points under a clip of n strips: units of the fill", 20,
       [](int32_t n) {
         // No outline: what is counted is the fill, which once ran for every strip.
         return CostTestPlayWork(hostile::ClipStripsUnderPolygon(n, n, 400, 0), 400, TMetafileLimits());
       },
       1 << 20},
      {"run-length bitmaps claiming 8000 x 8000 pixels: bytes allocated", 2,
       [](int32_t n) {
         const auto metafile = Loaded(hostile::ClaimedRunLengthBitmaps(n, 8000, 200));
         return CostTestAllocated([&] { Played(*metafile, 200, 200); });
       },
       4 << 20},
      {"blends over a square metre converted to a Windows metafile: bytes allocated", 1,
       [](int32_t n) {
         const auto metafile = Loaded(hostile::BlendsOverPicture(n, 3780));
         return CostTestAllocated([&] { ConvertedMetafile(*metafile); });
       },
       48 << 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_LE(ExpectWorkGrowsAtMostFourteenFold(c.Cost, c.Count), c.CapAtTenN);
  }
}

// With the limits every metafile has, pictures of a few kilobytes (and one of 108 bytes
// that states a size of 15000 x 15000 pixels) cost no more than tens of megabytes to
// make into a bitmap, to convert or to play.
TEST(MetafileCost, AFewKilobytesNeverCostMoreThanTensOfMegabytes) {
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
    std::function<void(const TMetafile&)> Use;
  } cases[] = {
      {"a stated size of 15000 x 15000 made into a bitmap", hostile::StatedSizeOnly(15000, 15000),
       [](const TMetafile& m) {
         TBitmap bitmap;
         bitmap.Assign(&m);
       }},
      {"blends over a square metre converted", hostile::BlendsOverPicture(10, 3780),
       [](const TMetafile& m) { ConvertedMetafile(m); }},
      {"run-length bitmaps claiming 8000 x 8000 pixels played", hostile::ClaimedRunLengthBitmaps(4, 8000, 400),
       [](const TMetafile& m) { Played(m, 400, 400); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto metafile = Loaded(c.Bytes);
    EXPECT_LE(c.Bytes.size(), 4096u);
    TAllocationMeter meter;
    c.Use(*metafile);
    EXPECT_LE(meter.PeakLiveBytes(), int64_t{48} << 20);
  }
}

// A play that runs out of work skips the records after the one that ran out and counts
// them with it; what they would draw stays undrawn.
TEST(MetafileCost, PastTheBudgetTheRestIsSkippedAndCounted) {
  TEmfBuilder emf;
  emf.Handles = 2;
  emf.Rec(39, {1, 0, kRed, 0});  // CREATEBRUSHINDIRECT: slot 1, solid, red
  emf.GradientFill({{0, 0, 0xFF00, 0, 0}, {96, 96, 0, 0, 0xFF00}}, {0, 1, 0, 1, 0, 1}, 0);  // 3 ramps
  emf.Rec(37, {1});                                                                         // SELECTOBJECT
  emf.Rec(43, {0, 0, 96, 96});                                                              // RECTANGLE
  TMetafile metafile;
  metafile.LoadFromBytes(emf.Bytes());
  // Enough for the first ramp (96 rows of 96 pixels and a unit a row) and no more.
  metafile.Limits.PlayWorkAllowance = 96 * 97 + 50;
  metafile.Limits.PlayWorkPerByte = 0;
  const auto bitmap = Played(metafile);
  EXPECT_EQ(metafile.SkippedRecords(), 3);  // the gradient, the selection, the rectangle
  EXPECT_LE(metafile.PlayedWork(), metafile.Limits.PlayWorkAllowance);
  const COLORREF shaded = static_cast<COLORREF>(bitmap->PixelColor(48, 48));
  EXPECT_NE(shaded, kWhite);
  EXPECT_NE(shaded, kRed);
  // The same with room for everything draws the rectangle over the ramps.
  metafile.Limits = TMetafileLimits();
  ExpectPixels(*Played(metafile), {{48, 48, kRed}});
  EXPECT_EQ(metafile.SkippedRecords(), 0);
}

// An outline pays for the pixels its pen covers before they are drawn: a line with a
// pen 60 pixels wide across the picture does not fit a budget of 1000 units.
TEST(MetafileCost, AWidePenPaysForItsPixels) {
  TEmfBuilder emf;
  emf.Handles = 2;
  emf.Rec(38, {1, 0, 60, 0, 0});                 // CREATEPEN: slot 1, solid, 60 units wide, black
  emf.Rec(37, {1});                              // SELECTOBJECT
  emf.Rec(4, {0, 0, 96, 96, 2, 0, 48, 96, 48});  // POLYLINE: bounds, 2 points across the middle
  TMetafile metafile;
  metafile.LoadFromBytes(emf.Bytes());
  metafile.Limits.PlayWorkAllowance = 1000;
  metafile.Limits.PlayWorkPerByte = 0;
  ExpectPixels(*Played(metafile), {{48, 48, kWhite}, {10, 30, kWhite}});
  EXPECT_EQ(metafile.SkippedRecords(), 1);
  EXPECT_LE(metafile.PlayedWork(), metafile.Limits.PlayWorkAllowance);
  // With room for it the line is drawn.
  metafile.Limits = TMetafileLimits();
  ExpectPixels(*Played(metafile), {{48, 48, 0}, {10, 30, 0}});
  EXPECT_EQ(metafile.SkippedRecords(), 0);
}

// A bitmap made of a metafile is its stated size when the data admits it, and otherwise
// the largest size of the same proportions that it admits, with the picture stretched
// onto it.
TEST(MetafileCost, AStatedSizeIsDrawnAsLargeAsTheDataAdmits) {
  // A red rectangle over the left half and the top two thirds of a 3000 x 4500 picture.
  TEmfBuilder emf;
  emf.Handles = 2;
  emf.Rec(39, {1, 0, kRed, 0});  // CREATEBRUSHINDIRECT: slot 1, solid, red
  emf.Rec(37, {1});
  emf.Rec(37, {0x80000000 | 8});    // stock NULL_PEN
  emf.Rec(43, {0, 0, 1500, 3000});  // RECTANGLE
  TMetafile metafile;
  metafile.LoadFromBytes(emf.Bytes(hostile::FrameOf(3000), hostile::FrameOf(4500)));
  ASSERT_EQ(metafile.Width(), 3000);
  ASSERT_EQ(metafile.Height(), 4500);
  metafile.Limits.RasterPixelsPerByte = 0;
  const struct {
    int64_t Allowance;
    int32_t Width, Height;
  } cases[] = {{int64_t{3000} * 4500, 3000, 4500}, {10000, 81, 122}};  // shrunk by a factor of 0.027
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Allowance);
    metafile.Limits.RasterPixelAllowance = c.Allowance;
    const TSize size = metafile.RasterSize();
    EXPECT_EQ(size.cx, c.Width);
    EXPECT_EQ(size.cy, c.Height);
  }
  TBitmap bitmap;
  bitmap.Assign(&metafile);
  ASSERT_EQ(bitmap.Width(), 81);
  ASSERT_EQ(bitmap.Height(), 122);
  ExpectPixels(bitmap, {{10, 10, kRed}, {39, 79, kRed}, {42, 10, kWhite}, {10, 83, kWhite}});
  // A side that would shrink below a pixel stays one, and the other takes what is left.
  TMetafile thin;
  thin.LoadFromBytes(hostile::StatedSizeOnly(64, 4'000'000));
  thin.Limits.RasterPixelAllowance = 10000;
  thin.Limits.RasterPixelsPerByte = 0;
  EXPECT_EQ(thin.RasterSize().cx, 1);
  EXPECT_EQ(thin.RasterSize().cy, 10000);
}

// Converting to a Windows metafile, each blend goes in as the pixels of the box it
// touched while they fit the conversion's pixels; the rest go in together, as one bitmap.
TEST(MetafileCost, AConversionPastItsPixelsTakesTheRestAsOneBitmap) {
  const auto metafile = Loaded(hostile::BlendsOverPicture(6, 100));
  metafile->Limits.ConvertedPixelsPerByte = 0;
  const struct {
    int64_t Allowance;
    int Bitmaps;
  } cases[] = {{100 * 100 * 6, 6}, {100 * 100 * 2, 3}, {100, 2}};  // at 100 pixels: 10 x 10
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Allowance);
    metafile->Limits.ConvertedPixelAllowance = c.Allowance;
    const auto converted = Loaded(ConvertedMetafile(*metafile)->SavedBytes());
    EXPECT_EQ(BitmapRecords(*converted), c.Bitmaps);
    ExpectSamePicture(*metafile, *converted);
  }
}
