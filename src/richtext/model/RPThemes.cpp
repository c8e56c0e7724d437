#include "richtext/model/RPThemes.h"

namespace {

struct TThemeUnit {
  int32_t StartCount = 0;
  TRPThemeBinding Binding;
};

TThemeUnit& Unit() {
  static TThemeUnit unit;
  return unit;
}

}  // namespace

void RPThemesStartup() {
  TThemeUnit& unit = Unit();
  if (unit.StartCount++ > 0) return;
  unit.Binding = TRPThemeBinding{&IsThemeActive,
                                 &IsAppThemed,
                                 &OpenThemeData,
                                 &CloseThemeData,
                                 &DrawThemeParentBackground,
                                 &DrawThemeText,
                                 &DrawThemeEdge,
                                 &DrawThemeBackground,
                                 &IsThemeBackgroundPartiallyTransparent};
}

void RPThemesShutdown() {
  TThemeUnit& unit = Unit();
  if (unit.StartCount == 0 || --unit.StartCount > 0) return;
  unit.Binding = TRPThemeBinding{};
}

const TRPThemeBinding& RPThemes() { return Unit().Binding; }

bool RPThemesActive() {
  const TRPThemeBinding& binding = RPThemes();
  return binding.IsThemeActive && binding.IsThemeActive();
}
