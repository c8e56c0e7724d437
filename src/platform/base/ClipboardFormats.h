// Named clipboard formats. A program registers the name of each format it puts on the
// clipboard or takes from it and gets a number for it, the same number for the same name
// (compared without regard to ASCII case) for the life of the process. Numbers start at
// 0xC000, above the platform's predefined formats. The GUI layer maps each registered
// name to its own clipboard and drag-and-drop formats; this registry only hands out the
// numbers, so that code below the GUI layer can name formats without it.
#pragma once

#include <cstdint>

#include "platform/base/Types.h"

// The platform's own formats: 8-bit text in the ANSI code page, a bitmap, a metafile
// picture, a device-independent bitmap, UTF-16 text, an enhanced metafile, a file list.
inline constexpr uint16_t CF_TEXT = 1;
inline constexpr uint16_t CF_BITMAP = 2;
inline constexpr uint16_t CF_METAFILEPICT = 3;
inline constexpr uint16_t CF_DIB = 8;
inline constexpr uint16_t CF_UNICODETEXT = 13;
inline constexpr uint16_t CF_ENHMETAFILE = 14;
inline constexpr uint16_t CF_HDROP = 15;

// The first number a registered name gets.
inline constexpr uint32_t FirstRegisteredClipboardFormat = 0xC000;

// The name's number; 0 for an empty name, which cannot be registered.
uint32_t RegisterClipboardFormatA(AnsiStringView name);
// The name a number was registered under; empty for a number no name has.
AnsiString GetClipboardFormatName(uint32_t format);
