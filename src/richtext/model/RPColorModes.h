// Colours on pages: how the colour modes of a print job transform text, background and
// line colours, and the grey of a colour.
#pragma once

#include <cstdint>

#include "platform/graphics/Colors.h"

enum TRPColorMode : uint8_t { rpcmColor, rpcmPrinterColor, rpcmGrayScale, rpcmBlackAndWhite, rpcmBlackOnWhite };

// round(0.30 R + 0.59 G + 0.11 B) of the colour resolved to RGB.
int32_t ColorLuminance(TColor color);
// The grey of the colour's luminance; clNone stays.
TColor ColorToGray(TColor color);
// The system colours a printer has no notion of, as plain colours: scroll bar and
// button face 0xC0C0C0, window and button highlight white, window text black, button
// shadow 0x808080; any other value unchanged.
TColor ResolveSystemColorForPrinting(TColor color);
// clNone stays; colour as it is; printer colour resolved; grey scale resolved and grey;
// the black-and-white modes keep white and make every other colour black.
TColor ApplyColorModeToTextColor(TColor color, TRPColorMode mode);
// As for text, but the black-and-white modes make every colour white.
TColor ApplyColorModeToBackColor(TColor color, TRPColorMode mode);
