#include "imaging/uResample.h"

#include <cmath>
#include <numbers>

#include "imaging/ImagingStrings.h"
#include "unicode/WideException.h"

// ---- Filter kernels: single precision in and out, computed in double -----------------

float BoxFilter(float x) { return (x > -0.5f && x <= 0.5f) ? 1.0f : 0.0f; }

float TriangleFilter(float x) {
  const double a = std::fabs(x);
  return a < 1.0 ? static_cast<float>(1.0 - a) : 0.0f;
}

float HermiteFilter(float x) {
  const double a = std::fabs(x);
  return a < 1.0 ? static_cast<float>((2.0 * a - 3.0) * a * a + 1.0) : 0.0f;
}

float BellFilter(float x) {
  const double a = std::fabs(x);
  if (a < 0.5) return static_cast<float>(0.75 - a * a);
  if (a < 1.5) return static_cast<float>(0.5 * (a - 1.5) * (a - 1.5));
  return 0.0f;
}

float SplineFilter(float x) {
  const double a = std::fabs(x);
  if (a < 1.0) return static_cast<float>(0.5 * a * a * a - a * a + 2.0 / 3.0);
  if (a < 2.0) return static_cast<float>((2.0 - a) * (2.0 - a) * (2.0 - a) / 6.0);
  return 0.0f;
}

namespace {

double Sinc(double t) {
  if (t == 0.0) return 1.0;
  const double pt = std::numbers::pi * t;
  return std::sin(pt) / pt;
}

}  // namespace

float Lanczos3Filter(float x) {
  const double a = std::fabs(x);
  return a < 3.0 ? static_cast<float>(Sinc(a) * Sinc(a / 3.0)) : 0.0f;
}

float MitchellFilter(float x) {
  const double a = std::fabs(x);
  if (a < 1.0) return static_cast<float>((7.0 * a * a * a - 12.0 * a * a + 16.0 / 3.0) / 6.0);
  if (a < 2.0) return static_cast<float>((-(7.0 / 3.0) * a * a * a + 12.0 * a * a - 20.0 * a + 32.0 / 3.0) / 6.0);
  return 0.0f;
}

const std::array<TFilterEntry, 7> ResampleFilters{{
    {"Box", &BoxFilter, 0.5f},
    {"Triangle", &TriangleFilter, 1.0f},
    {"Hermite", &HermiteFilter, 1.0f},
    {"Bell", &BellFilter, 1.5f},
    {"B-Spline", &SplineFilter, 2.0f},
    {"Lanczos3", &Lanczos3Filter, 3.0f},
    {"Mitchell", &MitchellFilter, 2.0f},
}};

// ---- Contributors --------------------------------------------------------------------

namespace {

// Mirrors j into 0..size − 1: −j before the first position, 2·size − 1 − j after the
// last; the two reflections compose to a shift by 2·size − 1, so any j lands inside.
int32_t MirrorIntoSource(int64_t j, int32_t size) {
  const int64_t period = 2 * int64_t{size} - 1;
  int64_t m = j % period;
  if (m < 0) m += period;
  return static_cast<int32_t>(m >= size ? period - m : m);
}

void AddContributor(TContributorList& list, int64_t j, float weight, int32_t sourceSize) {
  if (weight == 0.0f) return;
  list.push_back(TContributor{MirrorIntoSource(j, sourceSize), weight});
}

}  // namespace

std::vector<TContributorList> BuildContributors(int32_t targetSize, int32_t sourceSize, TFilterProc filter,
                                                float support) {
  const bool single = sourceSize == 1 || targetSize == 1;
  const float scale = single ? static_cast<float>(targetSize) / static_cast<float>(sourceSize)
                             : static_cast<float>(targetSize - 1) / static_cast<float>(sourceSize - 1);
  // Shrinking widens the filter by 1 / scale; enlarging keeps it (a division by 1 is exact).
  const bool shrinking = scale < 1.0f;
  const float radius = shrinking ? support / scale : support;
  const float widen = shrinking ? 1.0f / scale : 1.0f;
  std::vector<TContributorList> lists(static_cast<size_t>(std::max(targetSize, 0)));
  for (int32_t i = 0; i < targetSize; ++i) {
    const float center = targetSize == 1 ? static_cast<float>(sourceSize - 1) / 2.0f : static_cast<float>(i) / scale;
    TContributorList& list = lists[static_cast<size_t>(i)];
    list.reserve(static_cast<size_t>(std::trunc(2.0f * radius + 1.0f)));
    const auto left = static_cast<int64_t>(std::floor(center - radius));
    const auto right = static_cast<int64_t>(std::ceil(center + radius));
    for (int64_t j = left; j <= right; ++j)
      AddContributor(list, j, filter((center - static_cast<float>(j)) / widen) / widen, sourceSize);
  }
  return lists;
}

// ---- The two passes ------------------------------------------------------------------

namespace {

uint8_t ClampSum(float sum) {
  if (sum > 255.0f) return 255;
  if (sum < 0.0f) return 0;
  return static_cast<uint8_t>(std::nearbyint(sum));  // ties to even
}

// One output pixel: the weighted sum of the three channels of the listed pixels, each
// pixel found at pixelOf(index).
template <typename PixelOf>
void WeighPixel(const TContributorList& list, PixelOf pixelOf, uint8_t* out) {
  float blue = 0.0f, green = 0.0f, red = 0.0f;
  for (const TContributor& c : list) {
    const uint8_t* p = pixelOf(c.Pixel);
    blue += c.Weight * static_cast<float>(p[0]);
    green += c.Weight * static_cast<float>(p[1]);
    red += c.Weight * static_cast<float>(p[2]);
  }
  out[0] = ClampSum(blue);
  out[1] = ClampSum(green);
  out[2] = ClampSum(red);
}

}  // namespace

void ResampleBitmap(TBitmap& source, TBitmap& target, TFilterProc filter, float support) {
  const int32_t sw = source.Width();
  const int32_t sh = source.Height();
  if (sw < 1 || sh < 1) throw WideException(&SErrSourceImageTooSmall);
  const int32_t dw = target.Width();
  const int32_t dh = target.Height();
  source.SetPixelFormat(pf24bit);
  target.SetPixelFormat(pf24bit);
  TBitmap work;
  work.SetPixelFormat(pf24bit);
  work.SetSize(dw, sh);

  const std::vector<TContributorList> columns = BuildContributors(dw, sw, filter, support);
  for (int32_t k = 0; k < sh; ++k) {
    const uint8_t* from = source.ScanLine(k);
    uint8_t* to = work.ScanLine(k);
    for (int32_t i = 0; i < dw; ++i)
      WeighPixel(
          columns[static_cast<size_t>(i)], [from](int32_t x) { return from + 3 * x; }, to + 3 * i);
  }

  const std::vector<TContributorList> rows = BuildContributors(dh, sh, filter, support);
  std::vector<const uint8_t*> workRows(static_cast<size_t>(sh));
  for (int32_t y = 0; y < sh; ++y) workRows[static_cast<size_t>(y)] = work.ScanLine(y);
  for (int32_t i = 0; i < dh; ++i) {
    uint8_t* to = target.ScanLine(i);
    for (int32_t k = 0; k < dw; ++k)
      WeighPixel(
          rows[static_cast<size_t>(i)], [&workRows, k](int32_t y) { return workRows[static_cast<size_t>(y)] + 3 * k; },
          to + 3 * k);
  }
}
