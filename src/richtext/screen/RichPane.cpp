// The rich view on screen.
#include "richtext/screen/RichPane.h"

TRichPane::TRichPane(TComponent* owner)
    : TCustomRichPane(owner), FWindow(std::make_unique<TRPWindow>(nullptr, *this)) {}

TRichPane::~TRichPane() {
  // The controls of the document's items and the smart popup button stand in the window:
  // they go first (without events: the control is being destroyed).
  StopLiveSpelling();
  Destroying();
  Clear();
  FWindow.reset();
}
