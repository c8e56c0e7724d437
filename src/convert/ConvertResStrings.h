// The translatable messages of the conversion, and their table for the resource-string
// registry.
#pragma once

#include <array>

#include "platform/base/ResString.h"

// Registered for translation; no conversion raises it (unconvertible characters are
// skipped).
inline constexpr TResStringRec SErrBadWin1251Char{
    "SErrBadWin1251Char",
    "You are entered a symbol (code 0x%4.4x), which\r\ncannot be represented in Windows-1251 code page!"};

// The per-book driver's messages.
inline constexpr TResStringRec SErrFB2ReadError{"SErrFB2ReadError",
                                                "Can't read FB2 file!\r\nMake sure that file is correct."};
inline constexpr TResStringRec SErrNoFB2InZIP{"SErrNoFB2InZIP", "Can't found FB2-file in this ZIP."};
inline constexpr TResStringRec SErrUserBreak{"SErrUserBreak", "User break!"};
// A book whose body gives no page (none, or empty) fails on its own instead of ending the
// batch with the Wolf writer's error.
inline constexpr TResStringRec SErrNoPages{"SErrNoPages", "This book has nothing to put on pages."};
// Registered for translation; no operation of the driver shows it.
inline constexpr TResStringRec STxtNoBookLoaded{"STxtNoBookLoaded", "<no book loaded>"};
inline constexpr TResStringRec STxtMissingAuthor{"STxtMissingAuthor", "(no author)"};
inline constexpr TResStringRec STxtMissingTitle{"STxtMissingTitle", "(no title)"};
inline constexpr TResStringRec SMsgLoading{"SMsgLoading", "Loading..."};
inline constexpr TResStringRec SMsgConverting{"SMsgConverting", "Converting..."};
inline constexpr TResStringRec SMsgFormatting{"SMsgFormatting", "Format pages..."};
inline constexpr TResStringRec SMsgSaveWolf{"SMsgSaveWolf", "Save WOL..."};
// A ".zip" book that the archive reader refuses, by what is wrong with the file: the user
// learns that this archive is at fault, not zips as such.
inline constexpr TResStringRec SErrZipEmpty{"SErrZipEmpty", "The ZIP file is empty."};
inline constexpr TResStringRec SErrNotZip{"SErrNotZip", "This file is not a ZIP archive."};
inline constexpr TResStringRec SErrZipCutShort{"SErrZipCutShort", "The ZIP archive is damaged: it is cut short."};
inline constexpr TResStringRec SErrZipBadDirectory{"SErrZipBadDirectory",
                                                   "The ZIP archive is damaged: its list of files can't be read."};
// An entry that does not extract whole, by its name in the archive.
inline constexpr TResStringRec SErrZipBadCRC{"SErrZipBadCRC",
                                             "The ZIP archive is damaged: \"%s\" fails its checksum (CRC)."};
inline constexpr TResStringRec SErrZipBadEntry{"SErrZipBadEntry", "\"%s\" can't be extracted from the ZIP archive."};
// A Wolf file asked for in the place of the book it is made from (a book named ".wol"),
// by its name: writing it would destroy the book.
inline constexpr TResStringRec SErrWolfIsBook{"SErrWolfIsBook", "Can't write \"%s\": it is the book being converted."};

inline constexpr std::array<PResStringRec, 19> ConvertResStrings{
    &SErrBadWin1251Char,  &SErrFB2ReadError,  &SErrNoFB2InZIP,   &SErrUserBreak, &SErrNoPages,
    &STxtNoBookLoaded,    &STxtMissingAuthor, &STxtMissingTitle, &SMsgLoading,   &SMsgConverting,
    &SMsgFormatting,      &SMsgSaveWolf,      &SErrZipEmpty,     &SErrNotZip,    &SErrZipCutShort,
    &SErrZipBadDirectory, &SErrZipBadCRC,     &SErrZipBadEntry,  &SErrWolfIsBook};
