// HTML's named character references as numeric ones: an XML parser that does not read
// the XHTML DTD knows no name but the five XML predefines.
#pragma once

#include "platform/base/StringTypes.h"

// html with every "&name;" of an HTML 4 entity but amp, lt, gt, quot and apos written as
// "&#N;"; anything else as it is.
AnsiString HtmlNamedToNumericReferences(AnsiStringView html);
