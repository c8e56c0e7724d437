// The library's own Deflate (RFC 1951) and deflate64 encoder.
#pragma once

#include <cstdint>

#include "archive/ArDfBase.h"
#include "platform/base/Streams.h"

// Deflates source from its position to its end into destination and returns the
// checksum of the source bytes (CRC-32, or Adler-32 with dfc_UseAdler32). The options
// (default ones when null) choose the method, lazy matching, deflate64 and the search
// limits; with a passphrase the output is encrypted (traditional zip encryption, its
// 12-byte header first). With options, their NormalSize and CompressedSize receive the
// bytes read and written. Stored blocks read their bytes again from source, which must
// therefore be seekable. A progress step that raises EArAbortProgress stops the run: the
// output is then incomplete and the result 0. A failure to write raises EArDeflateError.
uint32_t DeflateStream(TStream& source, TStream& destination, TArDeflateHelper* options);
