// The fixed English messages of the character codecs (filled in with Format).
#pragma once

inline constexpr char SCodecNoEquivalent[] = "Unicode code point $%x has no equivalent in %s";
inline constexpr char SCodecInvalidCodePoint[] = "$%x is not a valid %s code point";
inline constexpr char SCodecCannotConvert[] = "Cannot convert $%8.8X to %s";
inline constexpr char SCodecHighSurrogateNotFound[] = "High surrogate not found";
inline constexpr char SCodecInvalidEncoding[] = "Invalid %s encoding";
inline constexpr char SCodecLowSurrogateNotFound[] = "Low surrogate not found";
inline constexpr char SCodecSurrogateValue[] =
    "Surrogate value $%x found in %s. Values between $D800 and $DFFF are reserved for use with UTF-16";
inline constexpr char SCodecOutOfRange[] = "%s encoding out of range";
