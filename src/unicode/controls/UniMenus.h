// UTF-16 menus: the menu item whose caption and hint a language file translates, and the
// popup list that shows the hint of the item under the mouse as the application's hint.
//
// Captions, hints and shortcut names are UTF-16 throughout the GUI layer, so what is left
// to this layer is the item's window definition (its UTF-16 properties) and its UTF-16
// action link. SetupUnicodeControls installs the popup list.
#pragma once

#include <memory>

#include "platform/gui/Menus.h"
#include "unicode/controls/UniActnList.h"
#include "unicode/controls/UniControls.h"

class TUniMenuItem : public TWideStreamed<TMenuItem> {
public:
  using TWideStreamed::TWideStreamed;
  std::unique_ptr<TActionLink> CreateActionLink(TBasicAction& action) override {
    return std::make_unique<TUniMenuActionLink>(*this, action);
  }
};

// The long part of the UTF-16 hint of the item under the mouse becomes the application's
// hint; empty when the mouse is on no item or the menu closed.
class TUniPopupList : public TPopupList {
public:
  void MenuSelect(TMenuItem* item) override;
};

// The program's popup list (installed by SetupUnicodeControls).
TUniPopupList& UniPopupList();
