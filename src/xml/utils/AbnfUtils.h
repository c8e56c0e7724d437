// The core character classes of the ABNF notation (RFC 2234) that the URI checks use.
#pragma once

#include "platform/base/Types.h"

// ALPHA: "A"-"Z", "a"-"z".
constexpr bool IsAbnfAlpha(WideChar c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }
// DIGIT: "0"-"9".
constexpr bool IsAbnfDigit(WideChar c) { return c >= u'0' && c <= u'9'; }
