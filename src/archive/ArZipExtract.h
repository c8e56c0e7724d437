// Turning one zip entry into bytes: its local header is read, its data decrypted when
// it is encrypted, copied (method 0), inflated (8 deflate, 9 deflate64) or decoded by
// the legacy decoders (1 shrink, 2-5 reduce, 6 implode), and checked
// against the announced size and the CRC-32. The unzipper installs these as the zip
// archive's extraction hooks.
#pragma once

#include "archive/ArZipTyp.h"

// Decodes the entry into stream from its position. Raises EArBadStream for a null
// stream, EArZipVersion when the entry needs a version above 2.1, EArZipInvalid for a
// damaged local header or an entry beyond Limits (its LimitFault says which),
// EArZipInvalidMethod for a method other than 0 to 6, 8 and 9, EArZipInvalidPassword or
// EArUserAbort from the password requests, EArInflateError for corrupt deflate data,
// EArReadError when the data ends before the announced size, EArUserAbort when the
// progress handler aborts. A CRC mismatch goes to the archive's item-failure event
// (ptExtract, ecArchiver, 23) when one is set, else raises EArZipBadCRC; the stream then
// holds the whole decoded data.
void ExtractZipItemToStream(TArZipArchive& archive, TArZipItem& item, TStream* stream);

// Extracts the entry into a file below the archive's base directory (PrepareExtractPath
// decides the path). The file is written under a temporary name and moved into place
// only when complete, so a failure leaves an existing file as it was; its date and time
// and read-only attribute come from the entry. A directory entry creates the directory.
void ExtractZipItemToFile(TArZipArchive& archive, TArZipItem& item, const AnsiString& fileName);

// Decodes the entry into a TArBitBucketStream, which keeps none of it, after checking
// that its local header agrees with the directory (EArZipInvalidLFH otherwise).
void TestZipItem(TArZipArchive& archive, TArZipItem& item);
