#include "AppTestLayout.h"

#include <gtest/gtest.h>

#include "platform/gui/StdCtrls.h"
#include "unicode/UniSystem.h"

namespace {

std::string Describe(const TControl& control) {
  return control.Name() + " \"" + WideToUtf8(control.Caption()) + "\" at " + std::to_string(control.Left()) + "," +
         std::to_string(control.Top()) + " " + std::to_string(control.Width()) + "x" + std::to_string(control.Height());
}

bool Overlap(const TControl& a, const TControl& b) {
  return a.Left() < b.Left() + b.Width() && b.Left() < a.Left() + a.Width() && a.Top() < b.Top() + b.Height() &&
         b.Top() < a.Top() + a.Height();
}

}  // namespace

void ExpectControlsFit(const TWinControl& window) {
  for (int32_t i = 0; i < window.ControlCount(); ++i) {
    const TControl& control = *window.Controls(i);
    if (!control.HandleAllocated() || !control.Visible()) continue;
    SCOPED_TRACE(Describe(control));
    const bool scrolls = dynamic_cast<const TCustomListBox*>(&control) || dynamic_cast<const TCustomEdit*>(&control);
    if (!scrolls) {
      EXPECT_GE(control.Width(), control.FitSize().Width);
      EXPECT_GE(control.Height(), control.FitSize().Height);
    }
    EXPECT_GE(control.Left(), 0);
    EXPECT_GE(control.Top(), 0);
    EXPECT_LE(control.Left() + control.Width(), window.Width());
    EXPECT_LE(control.Top() + control.Height(), window.Height());
    for (int32_t j = i + 1; j < window.ControlCount(); ++j) {
      const TControl& sibling = *window.Controls(j);
      EXPECT_FALSE(sibling.Visible() && Overlap(control, sibling)) << "overlaps " << Describe(sibling);
    }
    if (const auto* inner = dynamic_cast<const TWinControl*>(&control)) ExpectControlsFit(*inner);
  }
}
