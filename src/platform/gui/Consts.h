// The class library's own resource strings of the message dialog: captions and button
// texts ("&" marks a button's accelerator). The program registers the table so that a
// language file can translate them.
#pragma once

#include <array>

#include "platform/base/ResString.h"

inline constexpr TResStringRec SMsgDlgWarning{"SMsgDlgWarning", "Warning"};
inline constexpr TResStringRec SMsgDlgError{"SMsgDlgError", "Error"};
inline constexpr TResStringRec SMsgDlgInformation{"SMsgDlgInformation", "Information"};
inline constexpr TResStringRec SMsgDlgConfirm{"SMsgDlgConfirm", "Confirm"};
inline constexpr TResStringRec SMsgDlgYes{"SMsgDlgYes", "&Yes"};
inline constexpr TResStringRec SMsgDlgNo{"SMsgDlgNo", "&No"};
inline constexpr TResStringRec SMsgDlgOK{"SMsgDlgOK", "OK"};
inline constexpr TResStringRec SMsgDlgCancel{"SMsgDlgCancel", "Cancel"};
inline constexpr TResStringRec SMsgDlgHelp{"SMsgDlgHelp", "&Help"};
inline constexpr TResStringRec SMsgDlgHelpNone{"SMsgDlgHelpNone", "No help available"};
inline constexpr TResStringRec SMsgDlgHelpHelp{"SMsgDlgHelpHelp", "Help"};
inline constexpr TResStringRec SMsgDlgAbort{"SMsgDlgAbort", "&Abort"};
inline constexpr TResStringRec SMsgDlgRetry{"SMsgDlgRetry", "&Retry"};
inline constexpr TResStringRec SMsgDlgIgnore{"SMsgDlgIgnore", "&Ignore"};
inline constexpr TResStringRec SMsgDlgAll{"SMsgDlgAll", "&All"};
inline constexpr TResStringRec SMsgDlgNoToAll{"SMsgDlgNoToAll", "N&o to All"};
inline constexpr TResStringRec SMsgDlgYesToAll{"SMsgDlgYesToAll", "Yes to &All"};

inline constexpr std::array<PResStringRec, 17> DialogResStrings{
    &SMsgDlgWarning, &SMsgDlgError,  &SMsgDlgInformation, &SMsgDlgConfirm,  &SMsgDlgYes,      &SMsgDlgNo,
    &SMsgDlgOK,      &SMsgDlgCancel, &SMsgDlgHelp,        &SMsgDlgHelpNone, &SMsgDlgHelpHelp, &SMsgDlgAbort,
    &SMsgDlgRetry,   &SMsgDlgIgnore, &SMsgDlgAll,         &SMsgDlgNoToAll,  &SMsgDlgYesToAll};
