// The drive and volume queries that decide how archives are spanned, and the names of
// the volumes of a spanned set on a local disk.
//
// A path's "drive" is the mounted file system holding it (DiskQueries.h).
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

// Whether the file system holding the path is on a removable device; false for a path
// that is not full.
bool IsRemovableDrive(const AnsiString& path);
// The bytes free for writing on the file system holding the full path, at most
// 2147483647; -1 for a relative or bare name or when the query fails.
int32_t FreeSpace(const AnsiString& path);

// The name of volume `number` (1 to 99) of the set whose archive is `archiveName`: its
// last extension (of the file name part only; none is appended to) replaced by ".z01",
// ".z02", ..., ".z99". Empty for numbers outside 1 to 99.
AnsiString SpanVolumeName(const AnsiString& archiveName, int32_t number);
// The existing file whose name equals `fileName` without regard to case (the name itself
// first); empty when there is none.
AnsiString FindFileIgnoringCase(const AnsiString& fileName);
