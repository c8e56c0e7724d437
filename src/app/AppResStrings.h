// The translatable messages of the main window, and their table for the resource-string
// registry.
#pragma once

#include <array>

#include "platform/base/ResString.h"

inline constexpr TResStringRec SBtnStart{"SBtnStart", "Start"};
inline constexpr TResStringRec SBtnBreak{"SBtnBreak", "Break"};
inline constexpr TResStringRec SLblDestinationDir{"SLblDestinationDir", "Destination directory"};
inline constexpr TResStringRec SMsgOverrideAsk{"SMsgOverrideAsk", "Wol file \"%s\" already exist. Override?"};
inline constexpr TResStringRec SMsgWolfExists{"SMsgWolfExists", "Wol file \"%s\" already exist. Skipped."};
inline constexpr TResStringRec SMsgBegConvert{"SMsgBegConvert", "Start converting \"%s\"..."};
inline constexpr TResStringRec SMsgEndConvert{"SMsgEndConvert", "File \"%s\" converted."};
inline constexpr TResStringRec SMsgStopConvert{"SMsgStopConvert", "Conversion stopped."};
inline constexpr TResStringRec SMsgConfirmRemove{"SMsgConfirmRemove", "Remove selected %d files from list?"};
inline constexpr TResStringRec SMsgConfirmCreateDir{"SMsgConfirmCreateDir",
                                                    "Destination directory doesn't exists.\r\nCreate?"};

// A book that failed for a reason that names no file of its own (an archive that cannot
// be opened: "File not found"), with the book's name and that reason.
inline constexpr TResStringRec SMsgFileFailed{"SMsgFileFailed", "File \"%s\" not converted: %s"};
// A folder where no ".wol" file can be created, with the system's reason.
inline constexpr TResStringRec SMsgDirNotWritable{"SMsgDirNotWritable", "Can't write to directory \"%s\". %s"};
// Where the books of "This directory:" go: the folder in full, also when typed relative.
inline constexpr TResStringRec SMsgSaveToDir{"SMsgSaveToDir", "Saving WOL files to \"%s\"."};
// A language whose file cannot be loaded, by the language's name, with the reason.
inline constexpr TResStringRec SMsgLanguageFailed{"SMsgLanguageFailed", "Language \"%s\" can't be loaded: %s"};
// A book whose ".wol" file would be the book itself (a book named ".wol" converted into
// its own folder): it is not converted, whatever the override choice.
inline constexpr TResStringRec SMsgWolfIsBook{"SMsgWolfIsBook", "Wol file \"%s\" would be the book itself. Skipped."};

inline constexpr std::array<PResStringRec, 15> AppResStrings{
    &SBtnStart,      &SBtnBreak,          &SLblDestinationDir, &SMsgOverrideAsk,    &SMsgWolfExists,
    &SMsgBegConvert, &SMsgEndConvert,     &SMsgStopConvert,    &SMsgConfirmRemove,  &SMsgConfirmCreateDir,
    &SMsgFileFailed, &SMsgDirNotWritable, &SMsgSaveToDir,      &SMsgLanguageFailed, &SMsgWolfIsBook};
