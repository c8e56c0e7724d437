// Colours as text, as the class library writes them into settings: the name of a
// standard or system colour ("clRed", "clWindowText", "clNone"), else "$" and eight
// upper-case hexadecimal digits of the value.
#pragma once

#include "platform/base/Types.h"
#include "platform/graphics/Colors.h"

AnsiString ColorToString(TColor color);
// A colour name (ASCII case ignored) or an integer as StrToInt reads it ("$0000FF",
// "255", "-16777208"); raises EConvertError "'%s' is not a valid integer value" for
// anything else.
TColor StringToColor(AnsiStringView text);
