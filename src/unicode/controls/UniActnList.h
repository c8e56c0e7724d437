// UTF-16 actions: the program's buttons take their captions and hints from actions, and
// the language controller translates the actions.
#pragma once

#include "platform/gui/ActnList.h"

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
