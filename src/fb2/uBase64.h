// Base64 text of a book's "binary" elements decoded into bytes.
#pragma once

#include "platform/base/Streams.h"
#include "platform/base/Types.h"

// Decodes `text` (the standard alphabet of RFC 4648, "+" and "/" as the last two digits)
// and writes the bytes to `stream` at its position, in one write. True when the whole
// text decoded.
//
// White space (tab, line feed, carriage return, blank) anywhere is skipped: books put a
// line break before the data and wrap lines at any length. The other characters form
// groups of four. A group with "=" as its third character gives one byte (its fourth
// character is not used), with "=" as its fourth two bytes, else three. Decoding fails
// (false) on an empty text, on any character outside the alphabet and "=", on "=" as the
// first or second character of a group, and on two or three characters left over after
// the last group; one character left over is ignored. The bytes of the groups before a
// failure are still written. Exceptions of the stream's write pass through.
bool Base64Decode(WideStringView text, TStream& stream);
