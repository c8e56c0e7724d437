// Language-range matching, the test behind XPath's lang().
#pragma once

#include "platform/base/Types.h"

// True when `tag` falls under `range`: both equal ignoring case, or `tag` begins with
// `range` followed by "-". Only the ASCII letters fold, so "EN-us" is under "en".
bool IsLanguageRangeMatch(WideStringView tag, WideStringView range);
