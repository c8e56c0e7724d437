// UTF-16 text to and from Windows-1251, the 8-bit text of Wolf files and zip entry
// names, through one shared codec that skips what it cannot convert.
#pragma once

#include "platform/base/Types.h"

// Characters Windows-1251 cannot represent are left out.
AnsiString WideToWin1251(WideStringView text);
// Every byte decoded as Windows-1251.
WideString Win1251ToWide(AnsiStringView text);
