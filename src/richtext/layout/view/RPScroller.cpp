// Scroll positions and commands of a rich view.
#include "richtext/layout/view/RPScroller.h"

#include <algorithm>
#include <optional>

#include "platform/base/Numbers.h"
#include "richtext/model/RPItemInfo.h"

namespace {

int32_t ClampPosition(int32_t pos, int32_t max, int32_t page) { return std::max(0, std::min(pos, max - page)); }

constexpr int32_t EmbeddedLimit = 10000;

// Where a scroll command moves a position; none for a thumb drag while not tracking.
std::optional<int32_t> CommandTarget(TRPScrollCode code, int32_t pos, int32_t line, int32_t page, int32_t max,
                                     int32_t thumb, bool tracking) {
  switch (code) {
    case rpscLineBack:
      return pos - line;
    case rpscLineForward:
      return pos + line;
    case rpscPageBack:
      return pos - page;
    case rpscPageForward:
      return pos + page;
    case rpscThumbTrack:
      return tracking ? std::optional<int32_t>(thumb) : std::nullopt;
    case rpscThumbPosition:
      return thumb;
    case rpscStart:
      return 0;
    case rpscEnd:
      return max;
  }
  return std::nullopt;
}

}  // namespace

TRPScroller::TRPScroller(TComponent* owner) : TComponent(owner) {}

void TRPScroller::SetBounds(int32_t width, int32_t height) {
  // A single border takes one pixel on every side of the client area.
  const int32_t border = BorderStyle == bsSingle ? 2 : 0;
  FWidth = width;
  FHeight = height;
  FClientWidth = std::max(width - border, 0);
  FClientHeight = std::max(height - border, 0);
}

void TRPScroller::SetVScrollVisible(bool value) {
  FVScrollVisible = value;
  UpdateScrollBars(FDocWidth, FDocHeightUnits, (ComponentState() & csLoading) != 0);
}

void TRPScroller::SetHScrollVisible(bool value) {
  FHScrollVisible = value;
  UpdateScrollBars(FDocWidth, FDocHeightUnits, true);
}

void TRPScroller::UpdateScrollBars(int32_t width, int32_t heightUnits, bool updateHorizontal) {
  if (FUpdatingBars) return;
  FUpdatingBars = true;
  FDocWidth = width;
  FDocHeightUnits = heightUnits;
  if (updateHorizontal) {
    FHMax = width;
    FHPage = FClientWidth;
    FHPos = ClampPosition(FHPos, width, FClientWidth);
    if (FHost) FHost->SetScrollBar(rpsbHorizontal, FHMax, FHPage, FHPos, FHScrollVisible);
  }
  FVMax = heightUnits;
  FVPage = FClientHeight / FVSmallStep;
  FVPos = ClampPosition(FVPos, heightUnits, FVPage);
  if (FHost) FHost->SetScrollBar(rpsbVertical, FVMax, FVPage, FVPos, FVScrollVisible);
  FUpdatingBars = false;
  if (OnResize) OnResize(this);
}

void TRPScroller::VScrollTo(int32_t pos, bool redraw) {
  const int32_t old = FVPos;
  FVPos = ClampPosition(pos, FVMax, FVPage);
  if (FVPos == old) return;
  const int32_t dy = (old - FVPos) * FVSmallStep;
  if (FHost && FVScrollVisible) FHost->SetScrollBar(rpsbVertical, FVMax, FVPage, FVPos, true);
  if (redraw && FHost) {
    if (FullRedraw)
      FHost->Invalidate();
    else
      FHost->ScrollContent(0, dy);
  }
  MoveEmbeddedWindows(0, dy);
  DoVScrolled();
}

void TRPScroller::HScrollTo(int32_t pos) {
  const int32_t old = FHPos;
  FHPos = ClampPosition(pos, FHMax, FHPage);
  if (FHPos == old) return;
  const int32_t dx = old - FHPos;
  if (FHost) {
    if (FHScrollVisible) FHost->SetScrollBar(rpsbHorizontal, FHMax, FHPage, FHPos, true);
    if (FullRedraw)
      FHost->Invalidate();
    else
      FHost->ScrollContent(dx, 0);
  }
  MoveEmbeddedWindows(dx, 0);
  DoHScrolled();
}

void TRPScroller::MoveEmbeddedWindows(int32_t dx, int32_t dy) {
  for (TRPEmbeddedWindow* window : EmbeddedWindows) {
    window->Tag += dy;
    window->Top = std::clamp(window->Tag, -EmbeddedLimit, EmbeddedLimit);
    window->Left += dx;
    if (window->OnMoved) window->OnMoved(*window);
  }
}

void TRPScroller::DoVScrolled() {
  if (OnVScrolled) OnVScrolled(this);
}

void TRPScroller::DoHScrolled() {
  if (OnHScrolled) OnHScrolled(this);
}

void TRPScroller::VScrollCommand(TRPScrollCode code, int32_t thumb) {
  if (const auto pos = CommandTarget(code, FVPos, LineStep, FClientHeight / FVSmallStep, FVMax, thumb, Tracking))
    VScrollTo(*pos, true);
}

void TRPScroller::HScrollCommand(TRPScrollCode code, int32_t thumb) {
  if (const auto pos = CommandTarget(code, FHPos, FVSmallStep * LineStep, FClientWidth, FHMax, thumb, Tracking))
    HScrollTo(*pos);
}

bool TRPScroller::MouseWheel(int32_t notches, int32_t wheelLines) {
  if (WheelStep == 0) return false;
  const int32_t perNotch =
      wheelLines < 0 ? FClientHeight / FVSmallStep : static_cast<int32_t>(Round(WheelStep * wheelLines / 3.0));
  VScrollTo(FVPos + notches * perNotch, true);
  return true;
}

bool TRPScroller::ScrollKeyDown(uint16_t key, TShiftState) {
  struct TScrollKey {
    uint16_t Key;
    bool Vertical;
    TRPScrollCode Code;
  };
  static constexpr TScrollKey Keys[] = {
      {VK_PRIOR, true, rpscPageBack}, {VK_NEXT, true, rpscPageForward},   {VK_HOME, true, rpscStart},
      {VK_END, true, rpscEnd},        {VK_UP, true, rpscLineBack},        {VK_DOWN, true, rpscLineForward},
      {VK_LEFT, false, rpscLineBack}, {VK_RIGHT, false, rpscLineForward},
  };
  if (!KeyboardScroll) return false;
  for (const TScrollKey& k : Keys) {
    if (k.Key != key) continue;
    if (k.Vertical)
      VScrollCommand(k.Code, 0);
    else
      HScrollCommand(k.Code, 0);
    return true;
  }
  return false;
}

void TRPScroller::SetInplaceEditorOwner(TRPScroller* editor, TCustomRPItemInfo* ownerItem) {
  if (FInplaceEditor && FInplaceEditor != editor) DestroyInplaceEditor();
  if (FInplaceEditor && FInplaceEditor != editor) ClearInplaceEditorOwner(FInplaceEditor);
  FInplaceEditor = editor;
  FInplaceOwnerItem = ownerItem;
}

void TRPScroller::ClearInplaceEditorOwner(TRPScroller* editor) {
  if (!editor || editor != FInplaceEditor) return;
  if ((editor->ComponentState() & csDestroying) == 0) editor->DeselectForInplaceEditor();
  TCustomRPItemInfo* ownerItem = FInplaceOwnerItem;
  FInplaceEditor = nullptr;
  FInplaceOwnerItem = nullptr;
  if (auto* owner = dynamic_cast<IRPInplaceEditorOwner*>(ownerItem)) owner->InplaceEditorCleared(*editor);
}

void TRPScroller::DestroyInplaceEditor() {
  TRPScroller* editor = FInplaceEditor;
  if (!editor) return;
  // An editor registered without an owner item belongs to whoever registered it: it is
  // only forgotten.
  if (auto* owner = dynamic_cast<IRPInplaceEditorOwner*>(FInplaceOwnerItem))
    owner->FreeInplaceEditor(*editor);
  else
    FInplaceEditor = nullptr;
}

bool TRPScroller::IsFocusedDeep() const {
  if (FHost && FHost->Focused()) return true;
  return FInplaceEditor && FInplaceEditor->IsFocusedDeep();
}

void TRPScroller::SetUseXPThemes(bool value) {
  FUseXPThemes = value;
  CloseThemeHandle();
  CreateThemeHandle();
  if (FHost) FHost->Invalidate();
}

void TRPScroller::CreateThemeHandle() {
  if (FTheme || !FUseXPThemes || !RPThemesActive() || !RPThemes().OpenThemeData) return;
  FTheme = RPThemes().OpenThemeData(FHost, u"Edit");
}

void TRPScroller::CloseThemeHandle() {
  if (!FTheme) return;
  if (RPThemes().CloseThemeData) RPThemes().CloseThemeData(FTheme);
  FTheme = nullptr;
}
