// Windows file attributes from POSIX file status, shared by the attribute and search calls.
#pragma once

#include <sys/stat.h>
#include <cstdint>
#include <string_view>

// The status of `path` (relative to the folder `folderHandle`, AT_FDCWD for the current
// one) with links followed; a dangling link gives the link's own status. False with
// errno set when neither exists.
bool StatusForAttributes(int folderHandle, const char* path, struct stat& info);

// The attributes of a file with status `info` whose last name part is `name`.
uint32_t AttributesFromStatus(const struct stat& info, std::string_view name);
