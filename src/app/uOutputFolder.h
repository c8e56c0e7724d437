// Where the ".wol" files go: whether a folder takes new files, asked before a book is
// converted rather than found out when its finished file is written.
#pragma once

#include "platform/base/Types.h"

// True when a new file can be created in the folder: a temporary file is made there, as
// writing a ".wol" makes one, and removed at once. False with the system's reason
// ("Access is denied.") otherwise, a missing folder included.
bool CanWriteToFolder(const WideString& folder, WideString& reason);
