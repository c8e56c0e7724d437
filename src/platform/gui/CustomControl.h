// A window control that draws itself: it paints on a canvas and takes the mouse, the
// wheel, the keyboard, the focus, timers and its scroll bars as virtual calls. It may
// show a one-pixel border and scroll bars along its right and bottom edges; the client
// area is what lies inside them.
//
// The window's pixels: the client area is kept in a buffer of its size, which the
// window shows. Paint fills the parts that were invalidated; what anyone else draws on
// Canvas (figures drawn by inverting, a focus rectangle) stays there and shows as soon
// as the event being handled returns. ScrollWindow shifts the buffer and invalidates
// the part uncovered.
//
// Everything a control keeps (cursor, timers, scroll bars) is kept before its widget
// exists and shown once it does.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "platform/base/Locale.h"
#include "platform/base/UserInput.h"
#include "platform/graphics/Canvas.h"
#include "platform/graphics/Geometry.h"
#include "platform/gui/Clipbrd.h"
#include "platform/gui/Controls.h"

class TBitmap;

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
// What a scroll bar asks for: an arrow, a page area, the thumb dragged (scTrack, with
// its position) or dropped (scPosition), an end.
enum TScrollCode : uint8_t { scLineUp, scLineDown, scPageUp, scPageDown, scPosition, scTrack, scTop, scBottom };
// How the focus arrived: by Tab, by Shift+Tab, by a click, or otherwise (the window
// became active, the program set it).
enum TFocusArrival : uint8_t { faTab, faBacktab, faMouse, faOther };

class TCustomControl : public TWinControl {
public:
  explicit TCustomControl(TComponent* owner);
  ~TCustomControl() override;

  // The canvas on the client area's pixels (see above).
  TCanvas& Canvas() { return *FCanvas; }
  // The client area: the control's size less the border and the scroll bars shown.
  int32_t ClientWidth() const;
  int32_t ClientHeight() const;
  // A one-pixel border around the client area.
  bool BorderSingle() const { return FBorderSingle; }
  void SetBorderSingle(bool value);

  // Marks a rectangle of the client area (or all of it) for painting; Update paints what
  // is marked now, Refresh marks everything and paints it now.
  void InvalidateRect(const TRect& rect);
  void Invalidate();
  void Update();
  void Refresh();
  // Shifts the client area's pixels by (dx, dy) and marks the part uncovered.
  void ScrollWindow(int32_t dx, int32_t dy);

  // A scroll bar over the positions min .. max - page (a page of page positions) at pos;
  // shown when visible and there is something to scroll, else hidden (the client area
  // grows). With disableNoScroll a bar that has nothing to scroll stays, disabled.
  void SetScrollBar(TScrollBarKind kind, int32_t min, int32_t max, int32_t page, int32_t pos, bool visible,
                    bool disableNoScroll = false);
  bool ScrollBarShown(TScrollBarKind kind) const;

  // The mouse cursor over the client area: the platform's shapes and the numbers
  // registered with the screen (Cursors.h); crDefault is the arrow.
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor cursor);
  // A timer calls Timer(id) every interval milliseconds until it is killed; setting an
  // id again restarts it.
  void SetTimer(uint32_t id, uint32_t interval);
  void KillTimer(uint32_t id);
  bool TimerRunning(uint32_t id) const { return FTimers.count(id) != 0; }
  // Shows text as a hint at the mouse (the control's own hint stands back meanwhile);
  // an empty text hides it.
  void ActivateHint(const WideString& text);
  WideString ActiveHint() const { return FActiveHint; }
  // Client and screen coordinates.
  TPoint ClientToScreen(const TPoint& point) const;
  TPoint ScreenToClient(const TPoint& point) const;
  // Where the mouse is, in client coordinates.
  TPoint MousePos() const;
  // Runs call once the event being handled is done.
  void PostCall(std::function<void()> call);
  // Whether Tab and Shift+Tab come to KeyDown instead of moving the focus (false in this
  // class).
  virtual bool TakesTabs() const { return false; }
  // The focus goes on to the next (backward: previous) control of the form.
  void FocusNextControl(bool backward);
  // The text caret, one per control: a bar that inverts the pixels under it, drawn over
  // the client area (never into the buffer, so painting does not disturb it) and
  // blinking at the platform's rate while shown. A new caret is hidden; hiding nests, so
  // a caret hidden n times shows after n ShowCaret calls. Kept before the widget exists.
  void CreateCaret(int32_t width, int32_t height);
  void DestroyCaret();
  void SetCaretPos(int32_t x, int32_t y);
  void ShowCaret();
  void HideCaret();
  // Whether a caret exists and is not hidden, and its rectangle (client coordinates;
  // empty without a caret).
  bool CaretShown() const { return FCaret.Exists && FCaret.HideCount == 0; }
  TRect CaretRect() const;
  // Drags data out of the window until the mouse button is released; the effects it
  // allows are a set of DROPEFFECT_ values. Answers the effect of the drop
  // (DROPEFFECT_NONE when nothing took it).
  int32_t DoDragDrop(const TDataObject& data, int32_t allowedEffects);

  // --- Drops onto the window ------------------------------------------------------------
  // Whether the window takes drags (false until set). A drag over it calls DragEnter
  // once, DragOver as it moves and DragLeave or Drop at its end, with the data, the
  // modifier keys and mouse buttons held, the client point and the set of DROPEFFECT_
  // values the drag allows; each answers the effect it would do or did (DROPEFFECT_NONE:
  // refused).
  bool AcceptDrops() const { return FAcceptDrops; }
  void SetAcceptDrops(bool value);
  virtual int32_t DragEnter(const IDataObject& /*data*/, TShiftState, int32_t /*x*/, int32_t /*y*/,
                            int32_t /*allowedEffects*/) {
    return DROPEFFECT_NONE;
  }
  virtual int32_t DragOver(TShiftState, int32_t /*x*/, int32_t /*y*/, int32_t /*allowedEffects*/) {
    return DROPEFFECT_NONE;
  }
  virtual void DragLeave() {}
  virtual int32_t Drop(const IDataObject& /*data*/, TShiftState, int32_t /*x*/, int32_t /*y*/,
                       int32_t /*allowedEffects*/) {
    return DROPEFFECT_NONE;
  }

  // --- Input methods ----------------------------------------------------------------------
  // Whether the window takes text from an input method (false until set). The method
  // composes text in its own window, at InputMethodArea with InputMethodFont, showing
  // what it composes so far (the pre-edit); the text it settles on is committed.
  bool InputMethodEnabled() const { return FInputMethodEnabled; }
  void SetInputMethodEnabled(bool value);
  // Composed text settled on (commit, maybe empty) and what is composed now (preedit).
  virtual void InputMethodText(const WideString& /*commit*/, const WideString& /*preedit*/) {}
  // Where the composition shows (client coordinates): the rectangle it may use and the
  // current position (the caret's rectangle by default).
  virtual TRect InputMethodArea() const { return TRect{0, 0, ClientWidth(), ClientHeight()}; }
  virtual TRect InputMethodCursor() const { return CaretRect(); }
  // The font composed text shows in: its face name and height in pixels; false for the
  // window's own.
  virtual bool InputMethodFont(WideString& /*name*/, int32_t& /*heightPx*/) const { return false; }
  // Tells the input method that the area, the position or the font changed.
  void InputMethodUpdate();
  // The user switched the keyboard to another input language (the platform's input
  // language, InputLanguage.h, is that one now); sent to the window with the focus.
  virtual void InputLanguageChanged(LANGID /*language*/) {}

  // What the window hands on; client coordinates. Public so that a window that shows a
  // control of another layer can be driven the same way.
  virtual void Paint(const TRect& clip);
  // The client area changed its size.
  virtual void Resize() {}
  virtual void MouseDown(TMouseButton, TShiftState, int32_t /*x*/, int32_t /*y*/) {}
  virtual void MouseMove(TShiftState, int32_t /*x*/, int32_t /*y*/) {}
  virtual void MouseUp(TMouseButton, TShiftState, int32_t /*x*/, int32_t /*y*/) {}
  // A double click, before its press (which comes with ssDouble).
  virtual void DblClick() {}
  virtual void MouseLeave() {}
  // notches > 0 turn the wheel down (towards the user); true when used.
  virtual bool MouseWheel(TShiftState, int32_t /*notches*/) { return false; }
  // True when the key was used (the form does not see it then).
  virtual bool KeyDown(uint16_t /*key*/, TShiftState) { return false; }
  // The text a key typed (UTF-16, one character or a surrogate pair, control characters
  // included) when KeyDown did not use the key: true when used.
  virtual bool KeyText(const WideString& /*text*/, TShiftState) { return false; }
  // A key went up.
  virtual void KeyUp(uint16_t /*key*/, TShiftState) {}
  virtual void DoEnter(TFocusArrival) {}
  virtual void DoExit() {}
  virtual void Timer(uint32_t /*id*/) {}
  virtual void ScrollBarCommand(TScrollBarKind, TScrollCode, int32_t /*thumbPos*/) {}
  // A right release at a client point (the menu key: -1, -1): true when the control
  // showed a menu itself; otherwise the popup menu of the control (or of a parent) shows
  // when it pops up by itself.
  virtual bool ContextPopup(const TPoint& /*point*/) { return false; }

  // The controls inside the window stand on its client area.
  QWidget* ChildrenWidget() const override;

  // The modifier keys held now and the mouse buttons the window last heard of.
  TShiftState ShiftState() const;
  // The lines the platform scrolls per wheel notch.
  static int32_t WheelScrollLines();

protected:
  QWidget* CreateWidget(QWidget* parent) override;
  void InitWidget() override;

private:
  friend class TCustomControlWidget;
  struct TScrollBarState {
    int32_t Min = 0, Max = 0, Page = 0, Pos = 0;
    bool Visible = false, DisableNoScroll = false;
  };
  // The buffer follows the client area's size (its pixels kept where both overlap).
  void ResizeBuffer(int32_t width, int32_t height);
  // Paints the marked part of rect into the buffer.
  void PaintInvalid(const TRect& rect);
  void ShowScrollBar(TScrollBarKind kind);
  // The window shows the buffer again (what was drawn on it, what was painted).
  void ShowBuffer();
  void ShowCursor();

  struct TCaretState {
    bool Exists = false;
    int32_t HideCount = 0;
    int32_t X = 0, Y = 0, Width = 0, Height = 0;
  };
  // The widget repaints where the caret was and where it is now.
  void ShowCaretChange(const TRect& before);

  TCaretState FCaret;
  std::unique_ptr<TBitmap> FBuffer;
  std::unique_ptr<TCanvas> FCanvas;
  // The part of the buffer that Paint has to fill (empty: none).
  TRect FInvalid{0, 0, 0, 0};
  bool FPainting = false;
  bool FBorderSingle = false;
  bool FAcceptDrops = false;
  bool FInputMethodEnabled = false;
  TCursor FCursor = crDefault;
  std::map<uint32_t, uint32_t> FTimers;
  WideString FActiveHint;
  TScrollBarState FBars[2];
};
