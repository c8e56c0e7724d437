// The program's folder and the settings that survive between runs, kept in an ini file
// beside the program.
//
// The settings file is the program's file name with the extension ".ini", in the
// program's folder; it holds one section, "QuirefoldBatch", with one key per field of
// `TSettings`, written in the order of the fields. A file created here is UTF-16LE with
// a byte-order mark, so folder names in any script survive.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"
#include "unicode/ProgramDir.h"

inline constexpr char16_t SettingsSection[] = u"QuirefoldBatch";

// The settings of one run; each field is the key of the same name.
struct TSettings {
  // Main window's left and top edge and its size in screen pixels; -1 when never saved.
  int32_t FormXPos = -1;
  int32_t FormYPos = -1;
  int32_t FormXLen = -1;
  int32_t FormYLen = -1;
  // The folder from which files were last added: where the open-file dialog starts.
  WideString LastSourceDir;
  // True: each ".wol" goes beside its source; false: into DestinationDir.
  bool UseSourceDir = true;
  // Defaults to the program's folder (see DefaultSettings).
  WideString DestinationDir;
  // The chosen scheme: a ".gws" file name without its extension.
  WideString SchemeName = u"(unnamed)";
  // An existing output file: 0 ask, 1 override, 2 don't convert.
  int32_t OverrideMode = 0;
  // LANGID of the chosen user-interface language; 0 when none was chosen.
  int32_t LanguageId = 0;

  bool operator==(const TSettings&) const = default;
};

// The settings of this run: filled by LoadSettings (until then the field defaults, with
// an empty DestinationDir), changed by the windows, written by SaveSettings.
extern TSettings Settings;

// The settings of a first run: the field defaults and DestinationDir = ProgramDir().
TSettings DefaultSettings();

// ProgramDir() + the program's file name with the extension ".ini".
WideString SettingsFileName();

// Reads every key of the settings file into Settings. A missing file, section or key,
// an unreadable file or a value that is no number for a number key gives the key's
// default; nothing is reported.
void LoadSettings();
// Writes every key of Settings into the settings file, in the order of the fields;
// raises EIniFileException "Unable to write to %s" (the file name) when the file cannot
// be written.
void SaveSettings();
