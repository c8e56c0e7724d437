// The fixed English messages of the character codecs, and the one routine that fills
// them in.
#pragma once

#include "platform/base/Types.h"

inline constexpr char SCodecNoEquivalent[] = "Unicode code point $%x has no equivalent in %s";
inline constexpr char SCodecInvalidCodePoint[] = "$%x is not a valid %s code point";
inline constexpr char SCodecCannotConvert[] = "Cannot convert $%8.8X to %s";
inline constexpr char SCodecHighSurrogateNotFound[] = "High surrogate not found";
inline constexpr char SCodecInvalidEncoding[] = "Invalid %s encoding";
inline constexpr char SCodecLowSurrogateNotFound[] = "Low surrogate not found";
inline constexpr char SCodecSurrogateValue[] =
    "Surrogate value $%x found in %s. Values between $D800 and $DFFF are reserved for use with UTF-16";
inline constexpr char SCodecOutOfRange[] = "%s encoding out of range";

// Fills in a message the way the class library's Format does for the specifiers used
// above: %x and %X give upper-case hexadecimal digits, %s a zero-terminated 8-bit text,
// %8.8X eight digits with leading zeros. Integer arguments are unsigned.
AnsiString FormatCodecMessage(const char* format, ...);
