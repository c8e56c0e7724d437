// Turning a file or a stream into one zip entry's data: stored (method 0) or deflated
// (method 8, the library's own deflate), encrypted with the archive's password when it
// has one. A zipper installs these as the zip archive's insertion hooks.
#pragma once

#include "archive/ArZipTyp.h"

// The entry's data from its disk file, with the file's date, time and attributes (for
// an entry made on Unix, its mode as well).
// Raises EFOpenError when the file cannot be opened.
void InsertZipItem(TArZipArchive& archive, TArZipItem& item, TStream& target);

// The entry's data from the whole of source (read from its start); an entry without a
// date takes the current one. Sets the entry's CRC-32, sizes, flags and version needed,
// and empties its extra field, which described the old data.
// An encrypted entry gets general purpose bits 0 and 3: its password check byte is the
// high byte of its DOS time, and a data descriptor follows its data. A method other than
// 0 and 8 raises EArZipException "Cannot insert file - unsupported compression method";
// data beyond 4 GiB raises EArZipStreamFull.
void InsertZipItemFromStream(TArZipArchive& archive, TArZipItem& item, TStream& source, TStream& target);
