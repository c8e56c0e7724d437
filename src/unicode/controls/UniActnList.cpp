#include "unicode/controls/UniActnList.h"

#include "platform/gui/Controls.h"

void TUniAction::Assign(const TPersistent& source) {
  if (const auto* action = dynamic_cast<const TCustomAction*>(&source)) {
    SetCaption(action->Caption());
    SetHint(action->Hint());
  } else if (const auto* control = dynamic_cast<const TControl*>(&source)) {
    SetCaption(control->Caption());
    SetHint(control->Hint());
  } else {
    TAction::Assign(source);
  }
}

void TUniHintAction::Assign(const TPersistent& source) {
  const auto* action = dynamic_cast<const TCustomAction*>(&source);
  if (!action) return THintAction::Assign(source);
  SetCaption(action->Caption());
  SetHint(action->Hint());
  SetEnabled(action->Enabled());
  SetVisible(action->Visible());
  SetChecked(action->Checked());
}

std::unique_ptr<TActionLink> UniActionLinkFor(const TActionLink& choice, TControl& client, TBasicAction& action) {
  if (dynamic_cast<const TButtonActionLink*>(&choice)) return std::make_unique<TUniButtonActionLink>(client, action);
  if (dynamic_cast<const TWinControlActionLink*>(&choice))
    return std::make_unique<TUniWinControlActionLink>(client, action);
  return std::make_unique<TUniControlActionLink>(client, action);
}
