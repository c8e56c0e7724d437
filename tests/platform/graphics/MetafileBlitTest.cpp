// The enhanced metafile's masked, parallelogram and transparent blits and its gradient
// fills, played from hand-made records and checked at chosen pixels; damaged records are
// skipped, and converted to a Windows metafile each goes over as its pixels.
#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

#include "MetafileBuilder.h"
#include "MetafileInspect.h"
#include "MetafilePlay.h"
#include "platform/graphics/Metafile.h"

namespace {

constexpr COLORREF kBlue = 0xFF0000;
constexpr COLORREF kGreen = 0x00FF00;
constexpr COLORREF kYellow = 0x00FFFF;
constexpr COLORREF kBlack = 0x000000;

// A red square under everything, so what a blit leaves alone shows.
TEmfBuilder OnRed() {
  TEmfBuilder emf;
  emf.Handles = 2;
  emf.Rec(39, {1, 0, kRed, 0});   // CREATEBRUSHINDIRECT: slot 1, solid, red
  emf.Rec(37, {1});               // SELECTOBJECT 1
  emf.Rec(37, {0x80000000 | 8});  // stock NULL_PEN
  emf.Rec(43, {0, 0, 96, 96});    // RECTANGLE
  return emf;
}

// An 8 x 8 blue source; its mask has the left four columns set.
TDib BlueSquare() { return Dib24(8, std::vector<uint32_t>(64, kBlue)); }
TDib LeftHalfMask() {
  std::vector<int> bits;
  for (int i = 0; i < 64; ++i) bits.push_back(i % 8 < 4);
  return Dib1(8, bits);
}
// 2 x 2 quadrants: blue, green / yellow, black.
TDib Quadrants() { return Dib24(2, {kBlue, kGreen, kYellow, kBlack}); }

TEmfBuilder WorldScale(TEmfBuilder emf, float scale) {
  const uint32_t s = TEmfBuilder::Float(scale);
  return emf.Rec(35, {s, 0, 0, s, 0, 0});  // SETWORLDTRANSFORM
}

struct TCase {
  const char* Name;
  std::function<TEmfBuilder()> Make;
  std::vector<TPixelCheck> Checks;
};

void ExpectCases(const std::vector<TCase>& cases) {
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto metafile = Loaded(c.Make().Bytes());
    const auto bitmap = Played(*metafile);
    for (const TPixelCheck& check : c.Checks)
      EXPECT_EQ(static_cast<COLORREF>(bitmap->PixelColor(check.X, check.Y)), check.Color)
          << "at " << check.X << "," << check.Y;
    EXPECT_EQ(metafile->SkippedRecords(), 0);
  }
}

}  // namespace

// Where the mask is white (bit 1) the foreground operation (low 24 bits) applies, where it
// is black the background one (the high byte); without a mask the record is the
// foreground blit.
TEST(MetafileBlitTest, MaskBltChoosesTheOperationByTheMaskBit) {
  const TDib source = BlueSquare(), mask = LeftHalfMask();
  // The same mask with its colour table the other way round: white pixels are the set
  // bits, whatever their index.
  std::vector<int> inverted;
  for (int i = 0; i < 64; ++i) inverted.push_back(i % 8 >= 4);
  const TDib whiteFirst = Dib1(8, inverted, true);
  auto masked = [&](uint32_t rop4, int32_t maskX, const TDib* m) {
    return [=] { return OnRed().MaskBlt({10, 10, 8, 8}, rop4, 0, 0, source, maskX, 0, m); };
  };
  ExpectCases({
      {"mask 1 copies, 0 keeps", masked(0xAACC0020, 0, &mask), {{11, 12, kBlue}, {16, 12, kRed}, {20, 12, kRed}}},
      {"mask 0 copies, 1 keeps", masked(0xCCAA0029, 0, &mask), {{11, 12, kRed}, {16, 12, kBlue}}},
      {"background blackness", masked(0x00CC0020, 0, &mask), {{11, 12, kBlue}, {16, 12, kBlack}}},
      {"inverted source in front", masked(0xAA330008, 0, &mask), {{11, 12, kYellow}, {16, 12, kRed}}},
      {"white first in the mask's colours", masked(0xAACC0020, 0, &whiteFirst), {{11, 12, kBlue}, {16, 12, kRed}}},
      {"mask origin", masked(0xAACC0020, 2, &mask), {{11, 12, kBlue}, {12, 12, kRed}, {16, 12, kRed}}},
      {"no mask", masked(0xAACC0020, 0, nullptr), {{11, 12, kBlue}, {16, 12, kBlue}, {18, 12, kRed}}},
  });
}

// The source rectangle lands on the parallelogram of the three points, through the
// world transform and the clip; the mask leaves out its 0 bits.
TEST(MetafileBlitTest, PlgBltMapsTheSourceOntoTheParallelogram) {
  const TDib source = Quadrants(), mask = Dib1(2, {1, 0, 0, 1});
  auto plg = [&](std::array<int32_t, 6> points, const TDib* m) {
    return [=] { return TEmfBuilder().PlgBlt(points, {0, 0, 2, 2}, source, 0, 0, m); };
  };
  // The upright blit after a clip record (EXCLUDECLIPRECT 29, INTERSECTCLIPRECT 30).
  auto clipped = [&](uint32_t clipType, std::array<int32_t, 4> rect) {
    return [=] {
      return TEmfBuilder()
          .Rec(clipType, {rect[0], rect[1], rect[2], rect[3]})
          .PlgBlt({10, 10, 30, 10, 10, 30}, {0, 0, 2, 2}, source, 0, 0, nullptr);
    };
  };
  const std::vector<TPixelCheck> upright{{15, 15, kBlue},  {25, 15, kGreen}, {15, 25, kYellow},
                                         {25, 25, kBlack}, {35, 15, kWhite}, {15, 35, kWhite}};
  ExpectCases({
      {"upright", plg({10, 10, 30, 10, 10, 30}, nullptr), upright},
      {"turned a quarter clockwise",
       plg({30, 10, 30, 30, 10, 10}, nullptr),
       {{25, 15, kBlue}, {25, 25, kGreen}, {15, 15, kYellow}, {15, 25, kBlack}, {35, 15, kWhite}}},
      {"sheared",
       plg({10, 10, 30, 10, 30, 30}, nullptr),
       {{20, 12, kBlue}, {36, 25, kBlack}, {12, 25, kWhite}, {48, 25, kWhite}}},
      {"masked",
       plg({10, 10, 30, 10, 10, 30}, &mask),
       {{15, 15, kBlue}, {25, 15, kWhite}, {15, 25, kWhite}, {25, 25, kBlack}}},
      {"world scaled twice",
       [=] {
         return WorldScale(TEmfBuilder(), 2).PlgBlt({5, 5, 15, 5, 5, 15}, {0, 0, 2, 2}, source, 0, 0, nullptr);
       },
       upright},
      {"clipped",
       clipped(30, {10, 10, 20, 96}),
       {{15, 15, kBlue}, {15, 25, kYellow}, {25, 15, kWhite}, {25, 25, kWhite}}},
      {"clip with a hole",
       clipped(29, {12, 12, 18, 18}),
       {{11, 11, kBlue}, {15, 15, kWhite}, {19, 15, kBlue}, {25, 25, kBlack}}},
  });
}

// Source pixels of the transparent colour are left out of the stretched copy.
TEST(MetafileBlitTest, TransparentBltLeavesTheTransparentColourOut) {
  const TDib source = Dib24(2, {kBlue, kGreen, kGreen, kBlue});
  auto blit = [&](COLORREF transparent) {
    return [=] { return OnRed().TransparentBlt({10, 10, 20, 20}, transparent, {0, 0, 2, 2}, source); };
  };
  ExpectCases({
      {"green left out", blit(kGreen), {{15, 15, kBlue}, {25, 15, kRed}, {15, 25, kRed}, {25, 25, kBlue}}},
      {"no pixel of the colour", blit(kWhite), {{15, 15, kBlue}, {25, 15, kGreen}, {35, 15, kRed}}},
  });
}

namespace {

struct TShadeCheck {
  int32_t X, Y;
  int R, G, B;  // -1 for a pixel left white
};

struct TGradientCase {
  const char* Name;
  std::function<TEmfBuilder()> Make;
  std::vector<TShadeCheck> Checks;
};

constexpr uint16_t kFull = 0xFF00;

}  // namespace

// Rectangles ramp across x or y from one vertex's colour to the other's, triangles mix
// their vertices' colours by the barycentric weights; through the world transform and
// the clip, its pieces too. Channels within 4 of the ramp's value at the pixel centre.
TEST(MetafileBlitTest, GradientFillShadesRectanglesAndTriangles) {
  const std::vector<TTriVertex> redToBlue{{10, 10, kFull, 0, 0}, {74, 30, 0, 0, kFull}};
  const std::vector<TShadeCheck> ramp{{10, 20, 253, 0, 2},  {73, 20, 2, 0, 253}, {42, 20, 125, 0, 130},
                                      {10, 10, 253, 0, 2},  {73, 29, 2, 0, 253}, {74, 20, -1, -1, -1},
                                      {20, 30, -1, -1, -1}, {9, 20, -1, -1, -1}};
  auto horizontal = [&](TEmfBuilder emf) { return emf.GradientFill(redToBlue, {0, 1}, 0); };
  const std::vector<TGradientCase> cases{
      {"horizontal", [&] { return horizontal(TEmfBuilder()); }, ramp},
      {"corners named the other way round",
       [&] {
         return TEmfBuilder().GradientFill({redToBlue[1], redToBlue[0]}, {0, 1}, 0);
       },
       ramp},
      {"vertical",
       [&] {
         return TEmfBuilder().GradientFill({{10, 10, 0, kFull, 0}, {30, 74, kFull, 0, 0}}, {0, 1}, 1);
       },
       {{20, 10, 2, 253, 0}, {20, 73, 253, 2, 0}, {29, 42, 130, 125, 0}, {20, 74, -1, -1, -1}, {30, 20, -1, -1, -1}}},
      {"triangle",
       [&] {
         return TEmfBuilder().GradientFill({{10, 10, kFull, 0, 0}, {74, 10, 0, kFull, 0}, {10, 74, 0, 0, kFull}},
                                           {0, 1, 2}, 2);
       },
       {{10, 10, 251, 2, 2}, {72, 10, 4, 249, 2}, {10, 72, 4, 2, 249}, {31, 31, 84, 86, 86}, {60, 60, -1, -1, -1}}},
      {"world scaled twice",
       [&] {
         return WorldScale(TEmfBuilder(), 2).GradientFill({{5, 5, kFull, 0, 0}, {37, 15, 0, 0, kFull}}, {0, 1}, 0);
       },
       ramp},
      {"clipped",
       [&] {
         return horizontal(TEmfBuilder().Rec(30, {10, 10, 42, 96}));
       },
       {{10, 20, 253, 0, 2}, {41, 20, 129, 0, 126}, {42, 20, -1, -1, -1}, {60, 20, -1, -1, -1}}},
      {"clip with a hole",
       [&] {
         return horizontal(TEmfBuilder().Rec(29, {30, 15, 50, 25}));
       },
       {{20, 20, 213, 0, 42}, {40, 20, -1, -1, -1}, {60, 20, 54, 0, 201}, {40, 27, 133, 0, 122}}},
  };
  for (const TGradientCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto metafile = Loaded(c.Make().Bytes());
    const auto bitmap = Played(*metafile);
    for (const TShadeCheck& check : c.Checks) {
      SCOPED_TRACE(testing::Message() << "at " << check.X << "," << check.Y);
      const auto color = static_cast<COLORREF>(bitmap->PixelColor(check.X, check.Y));
      if (check.R < 0) {
        EXPECT_EQ(color, kWhite);
        continue;
      }
      EXPECT_NEAR(GetRValue(color), check.R, 4);
      EXPECT_NEAR(GetGValue(color), check.G, 4);
      EXPECT_NEAR(GetBValue(color), check.B, 4);
    }
    EXPECT_EQ(metafile->SkippedRecords(), 0);
  }
}

namespace {

// The builder's bytes with one field of its first record replaced (at its byte offset
// from the record's start).
std::vector<uint8_t> Patched(TEmfBuilder emf, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i) emf.Records[at + i] = static_cast<uint8_t>(value >> (8 * i));
  return emf.Bytes();
}

}  // namespace

// A record whose counts or offsets do not fit it, whose bitmap is none, or whose gradient
// names a vertex it lacks is skipped and counted, and draws nothing.
TEST(MetafileBlitTest, DamagedRecordsAreSkipped) {
  const TDib source = BlueSquare(), mask = LeftHalfMask();
  const TEmfBuilder maskBlt = TEmfBuilder().MaskBlt({10, 10, 8, 8}, 0xAACC0020, 0, 0, source, 0, 0, &mask);
  const TEmfBuilder plgBlt = TEmfBuilder().PlgBlt({10, 10, 30, 10, 10, 30}, {0, 0, 8, 8}, source, 0, 0, nullptr);
  const TEmfBuilder gradient = TEmfBuilder().GradientFill({{10, 10, kFull, 0, 0}, {74, 30, 0, 0, kFull}}, {0, 1}, 0);
  const size_t maskInfo = 128 + source.Info.size() + source.Bits.size();
  const struct {
    const char* Name;
    std::vector<uint8_t> Bytes;
    int64_t MaxGradientParts = 100'000;
  } cases[] = {
      {"masked blit cut short", TEmfBuilder().Rec(78, {0, 0, 0, 0, 10, 10, 8, 8, 0xAACC0020, 0, 0}).Bytes()},
      {"mask past the record", Patched(maskBlt, 112, 0x10000)},
      {"mask that is no bitmap", Patched(maskBlt, maskInfo + 4, 0)},
      {"parallelogram source past the record", Patched(plgBlt, 96, 0x10000)},
      {"transparent blit cut short", TEmfBuilder().Rec(116, {0, 0, 0, 0, 10, 10, 20, 20, 0}).Bytes()},
      {"more vertices than the record holds", Patched(gradient, 24, 1000)},
      {"a vertex count near 2^32", Patched(gradient, 24, 0xFFFFFFFF)},
      {"a part count near 2^32", Patched(gradient, 28, 0xFFFFFFF0)},
      {"a vertex index out of range", Patched(gradient, 36 + 2 * 16 + 4, 2)},
      {"an unknown mode", Patched(gradient, 32, 3)},
      {"more parts than the limit", gradient.Bytes(), 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    const auto metafile = Loaded(c.Bytes);
    metafile->Limits.MaxGradientParts = c.MaxGradientParts;
    const auto bitmap = Played(*metafile);
    EXPECT_EQ(metafile->SkippedRecords(), 1);
    ExpectPixels(*bitmap, {{12, 12, kWhite}, {20, 20, kWhite}});
  }
}

namespace {

// One enhanced metafile of each record no Windows-metafile record can hold: a mask, a
// parallelogram, a transparent colour, a gradient.
std::vector<std::vector<uint8_t>> FilesBeyondWindowsMetafiles() {
  const TDib mask = LeftHalfMask();
  return {
      OnRed()
          .MaskBlt({10, 10, 40, 40}, 0xAACC0020, 0, 0, Dib24(40, std::vector<uint32_t>(1600, kBlue)), 0, 0, &mask)
          .Bytes(),
      TEmfBuilder().PlgBlt({10, 70, 70, 70, 10, 10}, {0, 0, 2, 2}, Quadrants(), 0, 0, nullptr).Bytes(),  // flipped
      OnRed().TransparentBlt({10, 10, 40, 40}, kGreen, {0, 0, 2, 2}, Dib24(2, {kBlue, kGreen, kGreen, kBlue})).Bytes(),
      TEmfBuilder()
          .GradientFill({{10, 10, kFull, 0, 0}, {80, 10, 0, kFull, 0}, {10, 80, 0, 0, kFull}}, {0, 1, 2}, 2)
          .Bytes(),
  };
}

}  // namespace

// Converted, each such record goes over as the pixels it draws.
TEST(MetafileBlitTest, ConversionPaintsWhatAWindowsMetafileCannotHold) {
  for (const auto& bytes : FilesBeyondWindowsMetafiles()) {
    const auto original = Loaded(bytes);
    SCOPED_TRACE(RecordKinds(*original).rbegin()->first);
    const auto converted = Loaded(ConvertedMetafile(*original)->SavedBytes());
    EXPECT_FALSE(converted->Enhanced());
    EXPECT_GE(BitmapRecords(*converted), 1);
    ExpectSamePicture(*original, *converted);
    EXPECT_EQ(converted->SkippedRecords(), 0);
  }
}

// Drawn onto a recording canvas of either format, such a metafile keeps its picture: what
// the recorder cannot hold goes in as the pixels it drew.
TEST(MetafileBlitTest, DrawingOntoAMetafileCanvasKeepsWhatItCannotRecord) {
  for (const auto& bytes : FilesBeyondWindowsMetafiles()) {
    const auto original = Loaded(bytes);
    SCOPED_TRACE(RecordKinds(*original).rbegin()->first);
    for (const bool enhanced : {true, false}) {
      SCOPED_TRACE(enhanced ? "onto an enhanced canvas" : "onto a windows canvas");
      TMetafile drawn;
      if (!enhanced) drawn.LoadFromBytes(TWmfBuilder().Bytes());
      {
        TMetafileCanvas canvas(drawn, original->Width(), original->Height());
        canvas.Draw(0, 0, original.get());
        canvas.Close();
      }
      const auto reloaded = Loaded(drawn.SavedBytes());
      EXPECT_EQ(reloaded->Enhanced(), enhanced);
      ExpectSamePicture(*original, *reloaded);
    }
  }
}

// The bitmaps these records hold, the masks too, are there to be counted before any is
// decoded.
TEST(MetafileBlitTest, RecordBitmapsIncludeSourcesAndMasks) {
  const TDib source = BlueSquare(), mask = Dib1(16, std::vector<int>(16 * 2, 1));
  const auto metafile = Loaded(TEmfBuilder()
                                   .MaskBlt({10, 10, 8, 8}, 0xAACC0020, 0, 0, source, 0, 0, &mask)
                                   .PlgBlt({10, 10, 30, 10, 10, 30}, {0, 0, 2, 2}, Quadrants(), 0, 0, &mask)
                                   .TransparentBlt({10, 10, 20, 20}, kGreen, {0, 0, 2, 2}, Quadrants())
                                   .MaskBlt({10, 10, 8, 8}, 0xAACC0020, 0, 0, source, 0, 0, nullptr)
                                   .Bytes());
  std::vector<uint32_t> widths;
  metafile->EachRecordBitmap(
      [&](std::span<const uint8_t> dib, int64_t) { widths.push_back(LoadLE32(dib.data() + 4)); });
  EXPECT_EQ(widths, (std::vector<uint32_t>{8, 16, 2, 16, 2, 8}));
}
