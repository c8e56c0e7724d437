// The scrolling part of a rich view: scroll positions (horizontal in pixels, vertical in
// "small step" units of several pixels, so that tall documents keep a 16-bit-era range),
// the document size as last given, scroll commands of the bars and the wheel, and the
// embedded child windows that move with the content. The pixels on screen belong to the
// window host (RPWindowHost.h); without one the state is kept all the same.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/base/Components.h"
#include "platform/base/Object.h"
#include "platform/base/UserInput.h"
#include "richtext/layout/RPBackground.h"
#include "richtext/layout/view/RPWindowHost.h"
#include "richtext/model/RPParaInfo.h"
#include "richtext/model/RPThemes.h"

enum TBorderStyle : uint8_t { bsNone, bsSingle };

// A window placed inside the content (an embedded control's). Its unclamped vertical
// position lives in Tag; Top is Tag clamped to -10000 .. 10000.
struct TRPEmbeddedWindow {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Tag = 0;
  // Called after the scroller moved the window (the screen moves its widget); empty: the
  // place is only recorded.
  std::function<void(TRPEmbeddedWindow&)> OnMoved;
};

// Scroll-bar commands: arrows, page areas, the thumb, the ends.
enum TRPScrollCode : uint8_t {
  rpscLineBack,
  rpscLineForward,
  rpscPageBack,
  rpscPageForward,
  rpscThumbTrack,
  rpscThumbPosition,
  rpscStart,
  rpscEnd,
};

class TRPScroller : public TComponent {
public:
  explicit TRPScroller(TComponent* owner);

  TBorderStyle BorderStyle = bsNone;
  bool Tracking = true;     // the view follows the thumb while it is dragged
  bool FullRedraw = false;  // the background cannot be shifted: scrolling repaints everything
  // What pictures do about a palette; every device of this platform is true-colour, so
  // no palette is ever realized and the action has nothing to copy for.
  TRPPaletteAction DoInPaletteMode = rppaCreateCopies;
  bool KeyboardScroll = true;
  // The vertical bar stays, disabled, when there is nothing to scroll (an editor's).
  bool VScrollDisableNoScroll = false;
  int32_t LineStep = 1;   // units per arrow click
  int32_t WheelStep = 2;  // units per wheel notch of three lines
  TNotifyEvent OnVScrolled;
  TNotifyEvent OnHScrolled;
  TNotifyEvent OnResize;
  // Windows that move with the content; not owned.
  std::vector<TRPEmbeddedWindow*> EmbeddedWindows;

  TRPBiDiMode BiDiMode() const { return FBiDiMode; }
  // The host recreates its window for a new direction (scroll bar side).
  virtual void SetBiDiMode(TRPBiDiMode value) { FBiDiMode = value; }

  // The window that shows the control, or none (not owned).
  IRPWindowHost* Host() const { return FHost; }
  void SetHost(IRPWindowHost* host) { FHost = host; }

  // Size of the control and of its client area (pixels).
  int32_t Width() const { return FWidth; }
  int32_t Height() const { return FHeight; }
  void SetBounds(int32_t width, int32_t height);
  int32_t ClientWidth() const { return FClientWidth; }
  int32_t ClientHeight() const { return FClientHeight; }
  void SetClientWidth(int32_t value) { FClientWidth = value; }
  void SetClientHeight(int32_t value) { FClientHeight = value; }

  bool VScrollVisible() const { return FVScrollVisible; }
  bool HScrollVisible() const { return FHScrollVisible; }
  void SetVScrollVisible(bool value);
  void SetHScrollVisible(bool value);

  int32_t HScrollPos() const { return FHPos; }
  int32_t VScrollPos() const { return FVPos; }
  int32_t HScrollMax() const { return FHMax; }
  int32_t VScrollMax() const { return FVMax; }
  int32_t VScrollPage() const { return FVPage; }
  // Pixels per vertical unit; a value below 1 is ignored (it divides every position).
  int32_t VSmallStep() const { return FVSmallStep; }
  virtual void SetVSmallStep(int32_t value) {
    if (value > 0) FVSmallStep = value;
  }

  // The document is width pixels wide and heightUnits units high: ranges, pages and
  // positions are set again (the horizontal ones with updateHorizontal); OnResize fires.
  void UpdateScrollBars(int32_t width, int32_t heightUnits, bool updateHorizontal);
  // Moves the view to a vertical unit position, clamped to 0 .. maximum - page. With
  // redraw the content is shifted on screen; the embedded windows always move. Fires
  // OnVScrolled when the position changed.
  virtual void VScrollTo(int32_t pos, bool redraw);
  // The same horizontally, in pixels, always redrawing; fires OnHScrolled.
  virtual void HScrollTo(int32_t pos);
  void SetVScrollPos(int32_t pos) { VScrollTo(pos, true); }
  // To a document y in pixels.
  void ScrollTo(int32_t y) { VScrollTo(y / FVSmallStep, true); }
  void ScrollToNoRedraw(int32_t y) { VScrollTo(y / FVSmallStep, false); }
  // Each embedded window's Tag grows by dy and its Top follows, clamped; Left moves by dx.
  void MoveEmbeddedWindows(int32_t dx, int32_t dy);

  // A command of the vertical or horizontal bar (thumb: the thumb's position).
  void VScrollCommand(TRPScrollCode code, int32_t thumb);
  void HScrollCommand(TRPScrollCode code, int32_t thumb);
  // notches > 0 turn the wheel down; wheelLines is the system's lines per notch (negative:
  // a page per notch). True when the wheel was handled (WheelStep is not 0).
  bool MouseWheel(int32_t notches, int32_t wheelLines);
  // With KeyboardScroll: PageUp, PageDown, Home, End, Up and Down are the vertical bar's
  // page, end and line commands, Left and Right the horizontal bar's line commands. True
  // when the key scrolled (or would have, at an end).
  bool ScrollKeyDown(uint16_t key, TShiftState shift);

  // The view over the control that edits part of it in place (a table cell's editor), or
  // nullptr; not owned.
  TRPScroller* GetInplaceEditor() const { return FInplaceEditor; }
  void SetInplaceEditor(TRPScroller* editor) { FInplaceEditor = editor; }
  // Whether the control or an editor in place over it (at any depth) has the focus.
  bool IsFocusedDeep() const;

  // Stores the palette action and passes it on (the control's document).
  virtual void SetDoInPaletteMode(TRPPaletteAction value) { DoInPaletteMode = value; }
  // Visual themes: with UseXPThemes and an active theme the window's border is drawn
  // themed (theme data of class "Edit"). No visual theme is ever active on this
  // platform: the theme data stays null and the border is the plain one.
  bool UseXPThemes() const { return FUseXPThemes; }
  // Opens the theme data again.
  void SetUseXPThemes(bool value);
  HTHEME ThemeHandle() const { return FTheme; }
  // Opens the theme data when UseXPThemes is on and a theme is active; the host calls it
  // once its window exists (after binding the theme service).
  virtual void CreateThemeHandle();
  // Closes the theme data (the host calls it before its window goes).
  virtual void CloseThemeHandle();

protected:
  virtual void DoVScrolled();
  virtual void DoHScrolled();

private:
  IRPWindowHost* FHost = nullptr;
  TRPScroller* FInplaceEditor = nullptr;
  bool FUseXPThemes = true;
  HTHEME FTheme = nullptr;
  TRPBiDiMode FBiDiMode = rpbdUnspecified;
  int32_t FWidth = 0, FHeight = 0, FClientWidth = 0, FClientHeight = 0;
  bool FVScrollVisible = true, FHScrollVisible = true;
  bool FUpdatingBars = false;
  int32_t FVMax = 0, FVPage = 0, FHMax = 0, FHPage = 0, FHPos = 0, FVPos = 0;
  int32_t FDocWidth = 0, FDocHeightUnits = 0;
  int32_t FVSmallStep = 1;
};
