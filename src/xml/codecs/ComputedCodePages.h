// The tables of the single-byte code pages whose contents follow from a few rules
// (ISO 8859-5 to -9 and -15, the invariant EBCDIC set, JIS X 0201). They are computed
// at compile time from those rules, so decoding is one table read like the other pages.
#pragma once

#include "xml/codecs/CodePageTable.h"

extern const TCodePageTable CodePageISO8859_5;
extern const TCodePageTable CodePageISO8859_6;
extern const TCodePageTable CodePageISO8859_7;
extern const TCodePageTable CodePageISO8859_8;
extern const TCodePageTable CodePageISO8859_9;
extern const TCodePageTable CodePageISO8859_15;
extern const TCodePageTable CodePageEBCDIC_US;
extern const TCodePageTable CodePageJIS_X0201;
