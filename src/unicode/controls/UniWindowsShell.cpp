#include "unicode/controls/UniWindowsShell.h"

#include <algorithm>

#include "platform/gui/Dialogs.h"

bool WideSetWindowText(TControl* window, const WideChar* text) {
  if (!window) return false;
  window->SetText(text ? WideString(text) : WideString());
  return true;
}

PItemIdList WideSHBrowseForFolder(const TBrowseInfoW& info) {
  WideString directory = info.Selection;
  if (!SelectDirectory(info.Title, info.Root, directory)) return nullptr;
  return std::make_unique<TItemIdList>(TItemIdList{directory});
}

bool WideSHGetPathFromIDList(const TItemIdList* list, WideChar* buffer, uint32_t bufferChars) {
  if (bufferChars == 0) return false;
  buffer[0] = 0;
  if (!list || list->Path.size() >= bufferChars) return false;
  std::copy(list->Path.begin(), list->Path.end(), buffer);
  buffer[list->Path.size()] = 0;
  return true;
}
