// The rename that never replaces, where renameat2 cannot refuse to replace.
#pragma once

#include <string>

// Renames `from` to `to` without replacing an existing `to`, for file systems that lack
// renameat2's RENAME_NOREPLACE: a file is linked under the new name and then unlinked
// (link refuses an existing name); a folder, which cannot be linked, is renamed after a
// check that its target is free. Sets the last error as MoveFileW.
bool MoveByLinking(const std::string& from, const std::string& to);
