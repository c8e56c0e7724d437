#include "imaging/uResample.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <stdexcept>
#include <string>

#include "platform/base/TempFolder.h"
#include "platform/graphics/BitmapTestImages.h"
#include "platform/graphics/PilPeer.h"
#include "unicode/WideException.h"

namespace {

constexpr double kPi = std::numbers::pi;

const TFilterEntry& Filter(const std::string& name) {
  for (const auto& entry : ResampleFilters)
    if (name == entry.Name) return entry;
  throw std::invalid_argument(name);
}

// Resamples a noise image and compares with the reference script of the formulas.
void ExpectLikeReference(const std::string& filter, int32_t sw, int32_t sh, int32_t dw, int32_t dh) {
  SCOPED_TRACE(testing::Message() << filter << " " << sw << "x" << sh << " -> " << dw << "x" << dh);
  TempFolder folder;
  const auto source = NoiseBitmap(pf24bit, sw, sh, static_cast<uint32_t>(sw * 31 + dh));
  WriteRawImage(folder / "in.raw", TRawImage{sw, sh, RgbBytes(*source)});
  const TFilterEntry& entry = Filter(filter);
  char support[32];
  std::snprintf(support, sizeof support, "%.9g", static_cast<double>(entry.Width));
  ASSERT_TRUE(RunPeerScript("imaging/resample_reference.py", {folder / "in.raw", filter, support, std::to_string(dw),
                                                              std::to_string(dh), folder / "out.raw"}));
  const TRawImage expected = ReadRawImage(folder / "out.raw");
  TBitmap target;
  target.SetSize(dw, dh);
  ResampleBitmap(*source, target, entry.Filter, entry.Width);
  EXPECT_EQ(target.PixelFormat(), pf24bit);
  EXPECT_EQ(RgbBytes(target), expected.Bytes);
}

}  // namespace

TEST(Resample, TheFilterTableHoldsSevenKernelsInOrder) {
  const char* names[] = {"Box", "Triangle", "Hermite", "Bell", "B-Spline", "Lanczos3", "Mitchell"};
  const float widths[] = {0.5f, 1.0f, 1.0f, 1.5f, 2.0f, 3.0f, 2.0f};
  for (size_t i = 0; i < ResampleFilters.size(); ++i) {
    EXPECT_STREQ(ResampleFilters[i].Name, names[i]);
    EXPECT_EQ(ResampleFilters[i].Width, widths[i]);
  }
}

TEST(Resample, KernelsHaveTheirValuesAtKnownPoints) {
  const struct {
    TFilterProc Filter;
    float X;
    float Value;
  } cases[] = {
      {BoxFilter, 0.5f, 1.0f},
      {BoxFilter, -0.5f, 0.0f},
      {BoxFilter, 0.0f, 1.0f},
      {TriangleFilter, -0.25f, 0.75f},
      {TriangleFilter, 1.0f, 0.0f},
      {HermiteFilter, 0.5f, 0.5f},
      {HermiteFilter, 0.0f, 1.0f},
      {HermiteFilter, 1.0f, 0.0f},
      {BellFilter, 0.0f, 0.75f},
      {BellFilter, 1.0f, 0.125f},
      {BellFilter, 1.5f, 0.0f},
      {SplineFilter, 0.0f, static_cast<float>(2.0 / 3.0)},
      {SplineFilter, -1.0f, static_cast<float>(1.0 / 6.0)},
      {SplineFilter, 2.0f, 0.0f},
      {Lanczos3Filter, 0.0f, 1.0f},
      {Lanczos3Filter, 3.0f, 0.0f},
      {Lanczos3Filter, 0.5f,
       static_cast<float>(std::sin(kPi * 0.5) / (kPi * 0.5) * (std::sin(kPi * (0.5 / 3.0)) / (kPi * (0.5 / 3.0))))},
      {MitchellFilter, 0.0f, static_cast<float>(16.0 / 3.0 / 6.0)},
      {MitchellFilter, 1.0f, static_cast<float>((7.0 - 12.0 + 16.0 / 3.0) / 6.0)},
      {MitchellFilter, 2.0f, 0.0f},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.X);
    EXPECT_EQ(c.Filter(c.X), c.Value);
  }
}

TEST(Resample, EveryFilterMatchesTheReferenceEnlargingAndShrinking) {
  for (const auto& entry : ResampleFilters) {
    ExpectLikeReference(entry.Name, 5, 4, 9, 7);
    ExpectLikeReference(entry.Name, 13, 11, 4, 3);
  }
}

TEST(Resample, ThinSourcesAndTargetsMatchTheReference) {
  ExpectLikeReference("Lanczos3", 1, 5, 4, 3);   // one column: scale = target width
  ExpectLikeReference("Lanczos3", 6, 1, 3, 2);   // a work bitmap one row high
  ExpectLikeReference("Lanczos3", 4, 5, 7, 1);   // a target one row high
  ExpectLikeReference("Lanczos3", 7, 6, 1, 1);   // one pixel: no division by zero
  ExpectLikeReference("Mitchell", 2, 40, 2, 3);  // heavy shrinking of a thin image
}

TEST(Resample, AHalfwayPixelRoundsToEven) {
  // Triangle, 2 columns to 3: the middle target column sits halfway (weights 0.5, 0.5),
  // and 0.5 × 0 + 0.5 × 255 = 127.5 rounds to 128.
  TBitmap source;
  source.SetPixelFormat(pf24bit);
  source.SetSize(2, 1);
  source.SetPixelColor(0, 0, clBlack);
  source.SetPixelColor(1, 0, static_cast<TColor>(RGB(255, 1, 3)));
  TBitmap target;
  target.SetSize(3, 1);
  ResampleBitmap(source, target, TriangleFilter, 1.0f);
  EXPECT_EQ(RgbBytes(target), (std::vector<uint8_t>{0, 0, 0, 128, 0, 2, 255, 1, 3}));  // 0.5 rounds to 0, 1.5 to 2
}

TEST(Resample, ContributorArraysHoldTwiceTheRadiusPlusOne) {
  // 1000 columns to 100: scale 99/999, radius about 30.27, 61 entries.
  const auto lists = BuildContributors(100, 1000, Lanczos3Filter, 3.0f);
  ASSERT_EQ(lists.size(), 100u);
  for (const auto& list : lists) {
    EXPECT_EQ(list.capacity(), 61u);
    EXPECT_LE(list.size(), 61u);
    for (const auto& c : list) {
      EXPECT_GE(c.Pixel, 0);
      EXPECT_LT(c.Pixel, 1000);
    }
  }
}

TEST(Resample, PositionsBeforeTheLeftEdgeAreMirrored) {
  // Enlarging 5 to 9 with B-Spline: target 0 sits on source 0 and takes j = -1 as 1.
  const auto lists = BuildContributors(9, 5, SplineFilter, 2.0f);
  ASSERT_EQ(lists[0].size(), 3u);
  EXPECT_EQ(lists[0][0].Pixel, 1);
  EXPECT_EQ(lists[0][0].Weight, static_cast<float>(1.0 / 6.0));
  EXPECT_EQ(lists[0][1].Pixel, 0);
  EXPECT_EQ(lists[0][2].Pixel, 1);
}

TEST(Resample, MirroringStaysInsideForAnyRadius) {
  const struct { int32_t Target, Source; } cases[] = {{1, 1}, {1, 2}, {2, 1}, {1, 1000}, {2, 3}, {3, 200}, {100, 2}};
  for (const auto& c : cases)
    for (const auto& entry : ResampleFilters) {
      SCOPED_TRACE(testing::Message() << entry.Name << " " << c.Source << " -> " << c.Target);
      for (const auto& list : BuildContributors(c.Target, c.Source, entry.Filter, entry.Width))
        for (const auto& contributor : list) {
          EXPECT_GE(contributor.Pixel, 0);
          EXPECT_LT(contributor.Pixel, c.Source);
          EXPECT_TRUE(std::isfinite(contributor.Weight));
        }
    }
}

TEST(Resample, AnEmptySourceRaisesTheResourceText) {
  for (auto [width, height] : {std::pair{0, 4}, std::pair{4, 0}}) {
    TBitmap source;
    source.SetSize(width, height);
    TBitmap target;
    target.SetSize(3, 3);
    try {
      ResampleBitmap(source, target, Lanczos3Filter, 3.0f);
      FAIL() << "no exception";
    } catch (const WideException& e) {
      EXPECT_EQ(e.WideMessage(), u"Source bitmap too small");
    }
  }
}

TEST(Resample, AnEmptyTargetStaysEmpty) {
  const auto source = NoiseBitmap(pf8bit, 4, 4, 1);
  TBitmap target;
  target.SetSize(0, 5);
  ResampleBitmap(*source, target, BoxFilter, 0.5f);
  EXPECT_EQ(source->PixelFormat(), pf24bit);  // the source is turned to 24 bits
  EXPECT_EQ(target.Height(), 5);
  EXPECT_TRUE(target.Empty());
}
