// Styles in settings files: the helpers through which every style class writes its keys.
//
// A style writes under one section with a key pattern P holding one "%s": a property's
// key is Format(P, [word]). Numbers (colours as their signed 32-bit values) and flags
// ("Yes" / "No") are written only when they differ from the key's default, and a key at
// its default is removed, so that saving over an older save leaves no stale value
// behind. Strings longer than a settings line holds are cut into pieces of 500
// characters under key + "_0", key + "_1", ...
#pragma once

#include <cstdint>

#include "platform/base/IniFiles.h"
#include "platform/base/Types.h"

inline constexpr int32_t RPIniLongStringPieceChars = 500;

// Format(pattern, [word]).
AnsiString RPIniKey(const AnsiString& pattern, const AnsiString& word);

void IniWriteInteger(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key, int32_t defaultValue,
                     int32_t value);
void IniWriteBool(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key, bool defaultValue, bool value);
// True exactly when the upper-cased value is "YES"; a missing key gives the default.
bool IniReadBool(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key, bool defaultValue);
// An ordinal of an enumeration 0 .. maxValue; a value outside it gives the default.
int32_t IniReadOrdinal(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key, int32_t defaultValue,
                       int32_t maxValue);

// A style set as settings keep it: the number its stored bytes make; bits past the set
// are dropped when reading.
template <typename TSet>
int32_t RPIniSetValue(TSet set) {
  return static_cast<int32_t>(static_cast<uint32_t>(set.StoredValue()));
}
template <typename TSet>
TSet RPIniSetFromValue(int32_t value) {
  return TSet::FromStoredValue(static_cast<uint32_t>(value));
}

// The pieces of value; an empty value writes none. Pieces left from a longer value
// saved before are removed.
void WriteLongString(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key, const AnsiString& value);
// The pieces joined, up to the first missing or empty one. Raises ERichPaneError
// "Invalid long string value %s" (the key) for a piece longer than 500 characters, a
// piece shorter than 500 characters followed by another, or more pieces than the limits
// allow.
AnsiString ReadLongString(TCustomIniFile& ini, const AnsiString& section, const AnsiString& key);
