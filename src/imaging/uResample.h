// Filtered resampling: a bitmap scaled into the size of a target bitmap with a separable
// filter, first across into a work bitmap of the source's height, then down into the
// target. Each target column (then row) has a list of weighted source pixels, computed
// once; all weights, positions and sums are single precision.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/graphics/Bitmap.h"

using TFilterProc = float (*)(float x);

float BoxFilter(float x);
float TriangleFilter(float x);
float HermiteFilter(float x);
float BellFilter(float x);
float SplineFilter(float x);
float Lanczos3Filter(float x);
float MitchellFilter(float x);

struct TFilterEntry {
  const char* Name;
  TFilterProc Filter;
  float Width;  // support radius
};

// "Box", "Triangle", "Hermite", "Bell", "B-Spline", "Lanczos3", "Mitchell".
extern const std::array<TFilterEntry, 7> ResampleFilters;

struct TContributor {
  int32_t Pixel;  // source index, mirrored into the source
  float Weight;
};
using TContributorList = std::vector<TContributor>;

// The contributor lists of the target positions 0..targetSize − 1 for a source of
// sourceSize (≥ 1) positions. The scale is (target − 1) / (source − 1), or target /
// source when either is 1; a one-position target sits on the source's middle. Source
// positions beyond an edge are mirrored back in, repeatedly for a radius wider than the
// source.
std::vector<TContributorList> BuildContributors(int32_t targetSize, int32_t sourceSize, TFilterProc filter,
                                                float support);

// Scales the whole source into the target's current width and height. Source, target
// and the work bitmap become 24 bits per pixel. A source without pixels raises
// WideException with SErrSourceImageTooSmall ("Source bitmap too small").
void ResampleBitmap(TBitmap& source, TBitmap& target, TFilterProc filter, float support);
