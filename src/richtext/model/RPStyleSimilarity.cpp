#include "richtext/model/RPStyleSimilarity.h"

#include <cmath>
#include <cstdlib>

#include "platform/base/Numbers.h"
#include "platform/graphics/PenBrush.h"

int32_t RateIntSimilarity(int32_t a, int32_t b, int32_t weight) {
  const double da = a, db = b;
  const double closeness = a != 0 ? 1.0 - std::fabs(da - db) / std::fabs(da) : 1.0 - std::fabs(db);
  return static_cast<int32_t>(Round(closeness * weight));
}

int32_t RateColorSimilarity(TColor a, TColor b, int32_t weight, int32_t extraWeight) {
  if (a == clNone || b == clNone) return a == b ? extraWeight + 3 * weight : 0;
  const COLORREF rgbA = ColorToRGB(a), rgbB = ColorToRGB(b);
  const int32_t channelsA[3] = {GetRValue(rgbA), GetGValue(rgbA), GetBValue(rgbA)};
  const int32_t channelsB[3] = {GetRValue(rgbB), GetGValue(rgbB), GetBValue(rgbB)};
  int32_t score = 0;
  bool brightA = false, brightB = false;
  for (int i = 0; i < 3; ++i) {
    score -= std::abs(channelsA[i] - channelsB[i]) * weight / 255;
    brightA = brightA || channelsA[i] > 64;
    brightB = brightB || channelsB[i] > 64;
  }
  if (brightA == brightB) score += extraWeight;
  return score;
}
