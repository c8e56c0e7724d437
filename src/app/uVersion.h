// The version of a file from its version information, as the main window's caption
// shows it.
#pragma once

#include "platform/base/Types.h"

// Empties both outputs; when the file has version information with a readable fixed
// part, sets shortVersion to "major.minor" and longVersion to "major.minor.release" (the
// release in at least two digits: 0.3.05) and returns true. The build number is not
// shown. False, with both outputs empty, for a file without version information.
bool GetFileVersion(const WideString& fileName, WideString& shortVersion, WideString& longVersion);

// "Quirefold Batch v." followed by the long version of the file, or by "?" when it has
// none: the main window's caption for the program's own file.
WideString VersionCaption(const WideString& fileName);
