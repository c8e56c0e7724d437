// Number routines of the XPath engine that the DOM exports.
#pragma once

#include "platform/base/Types.h"

bool IsNegativeZero(double value);
bool IsPositiveZero(double value);
// XPath round(): floor(x + 0.5); NaN, the infinities and both zeros unchanged; a negative
// number rounding to zero gives -0.
double XPathRound(double value);
// XPath number() of a string: optional white space, an optional "-", digits with at most
// one ".", optional white space. Anything else, a trailing "." or no digit at all is NaN.
double XPathStringToNumber(WideStringView text);
