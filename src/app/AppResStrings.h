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

inline constexpr std::array<PResStringRec, 10> AppResStrings{
    &SBtnStart,      &SBtnBreak,      &SLblDestinationDir, &SMsgOverrideAsk,   &SMsgWolfExists,
    &SMsgBegConvert, &SMsgEndConvert, &SMsgStopConvert,    &SMsgConfirmRemove, &SMsgConfirmCreateDir};
