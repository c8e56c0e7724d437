// What a document does with the palette copies of its pictures and backgrounds.
#pragma once

#include <cstdint>

enum TRPPaletteAction : uint8_t { rppaDoNothing, rppaAssignPalette, rppaCreateCopies, rppaCreateCopiesEx };
