// The window-text and shell-folder calls of the UTF-16 wrappers, over the GUI layer: a
// window is a control, the folder browser is the GUI's folder dialog, and an item list is
// the chosen folder's path.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/gui/Controls.h"

// Sets a window's text; false for no window.
bool WideSetWindowText(TControl* window, const WideChar* text);

// What the folder browser is asked (the fields the program fills).
struct TBrowseInfoW {
  WideString Title;
  // The top of the browse; empty: the whole file system.
  WideString Root;
  // The folder preselected when the browser opens; empty: none.
  WideString Selection;
};

// A chosen folder: the item list the browser returns.
struct TItemIdList {
  WideString Path;
};
using PItemIdList = std::unique_ptr<TItemIdList>;

// Shows the folder browser; nullptr when cancelled.
PItemIdList WideSHBrowseForFolder(const TBrowseInfoW& info);
// Copies the item list's path with a terminator into a buffer of bufferChars characters;
// false (the buffer's first character 0) for no list or a path that does not fit.
bool WideSHGetPathFromIDList(const TItemIdList* list, WideChar* buffer, uint32_t bufferChars);
