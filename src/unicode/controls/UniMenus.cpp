#include "unicode/controls/UniMenus.h"

void TUniPopupList::MenuSelect(TMenuItem* item) {
  if (Application) Application->SetHint(item ? WideLongHint(item->Hint()) : WideString());
}

TUniPopupList& UniPopupList() {
  static TUniPopupList list;
  return list;
}
