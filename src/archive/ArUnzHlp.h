// The legacy decoders of zip entries: unshrink (method 1, dynamic LZW with partial
// clearing), unreduce (methods 2 to 5, follower sets and a 144-escaped copy) and explode
// (method 6, Shannon-Fano coded literals, lengths and distances).
#pragma once

#include <cstdint>

#include "archive/ArZipCry.h"
#include "archive/ArZipTyp.h"

// Decodes compressedBytes of input into target, stopping at the entry's uncompressed
// size; returns the CRC-32 of the output. An encrypted entry's data (after its header,
// which decoder has checked) is decrypted by decoder as it is read. Corrupt data (a code or tree the format cannot
// hold, a follower index outside its set, input ending before the announced size) raises EArReadError; a method other
// than 1 to 6 raises EArZipInvalidMethod; an abort of the item progress raises EArUserAbort.
uint32_t UnzipLegacyItem(TArZipArchive& archive, const TArZipItem& item, TStream& input, int64_t compressedBytes,
                         TStream& target, TArZDecoder* decoder = nullptr);
