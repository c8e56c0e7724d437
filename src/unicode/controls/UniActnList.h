// UTF-16 actions: the program's buttons take their captions and hints from actions, and
// the language controller translates the actions.
//
// The links between actions and their clients come in the kinds of the class library
// (a control, a windowed control, a button control, a menu item). The GUI layer keeps
// every caption and hint in UTF-16 already, so each UTF-16 link is its base under the
// name that a UTF-16 client asks for; a UTF-16 control takes the UTF-16 link of the kind
// the class library chose for it (UniActionLinkFor).
#pragma once

#include <memory>

#include "platform/gui/ActnList.h"
#include "platform/gui/Menus.h"

class TUniAction : public TAction {
public:
  using TAction::TAction;
  // From another action: its caption and hint; from a control: its text and hint.
  // Anything else raises as TPersistent does.
  void Assign(const TPersistent& source) override;
};

class TUniActionList : public TActionList {
public:
  using TActionList::TActionList;
};

// The hint action with a UTF-16 hint; Assign also copies what the base action copies.
class TUniHintAction : public THintAction {
public:
  using THintAction::THintAction;
  void Assign(const TPersistent& source) override;
};

class TUniControlActionLink : public TControlActionLink {
public:
  using TControlActionLink::TControlActionLink;
};

class TUniWinControlActionLink : public TWinControlActionLink {
public:
  using TWinControlActionLink::TWinControlActionLink;
};

class TUniButtonActionLink : public TButtonActionLink {
public:
  using TButtonActionLink::TButtonActionLink;
};

class TUniMenuActionLink : public TMenuActionLink {
public:
  using TMenuActionLink::TMenuActionLink;
};

// The UTF-16 link of the kind of `choice` (the class library's link for client), tested
// from the most particular kind: button, windowed control, control.
std::unique_ptr<TActionLink> UniActionLinkFor(const TActionLink& choice, TControl& client, TBasicAction& action);
