// Similarity scores used when styles read from another format are matched to the
// closest style of a style sheet: the higher, the closer.
#pragma once

#include <cstdint>

#include "platform/graphics/Colors.h"

// round((1 - |A - B| / |A|) * Weight), or with A = 0 round((1 - |B|) * Weight); halves
// round to even.
int32_t RateIntSimilarity(int32_t a, int32_t b, int32_t weight);

// clNone against a colour: 0; clNone against clNone: ExtraWeight + 3 * Weight. Otherwise
// each channel's difference costs difference * Weight / 255, and ExtraWeight is added
// when both colours are bright (a channel above 64) or both are dark.
int32_t RateColorSimilarity(TColor a, TColor b, int32_t weight, int32_t extraWeight);
