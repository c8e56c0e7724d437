// The link between the browser components and a progress display: a component that
// shows a percentage and can be reset. How it shows them is its descendants' business.
#pragma once

#include <cstdint>

#include "archive/ArArcTyp.h"

class TArMeterLink : public TArBaseComponent {
public:
  using TArBaseComponent::TArBaseComponent;
  // Shows progress, 0 to 100.
  virtual void DoProgress(int32_t progress) = 0;
  virtual void Reset() = 0;
};
